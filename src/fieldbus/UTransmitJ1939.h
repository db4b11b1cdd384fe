#pragma once
// Editor of the J1939 send frames (J1939_Send_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2700); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFTransmitJ1939 : public TEditorStubForm {
public:
    explicit TFTransmitJ1939(plat::TComponent* owner);
    ~TFTransmitJ1939() override;
    plat::String ClassName() const override { return u"TFTransmitJ1939"; }
};

extern TFTransmitJ1939* FTransmitJ1939;
