#pragma once
// Editor of the CAN send frames (CAN_Send_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2200); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFTransmitCAN : public TEditorStubForm {
public:
    explicit TFTransmitCAN(plat::TComponent* owner);
    ~TFTransmitCAN() override;
    plat::String ClassName() const override { return u"TFTransmitCAN"; }
};

extern TFTransmitCAN* FTransmitCAN;
