#pragma once
// Editor of the CAN receive frames (CAN_Rec_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2100); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFReceiveCAN : public TEditorStubForm {
public:
    explicit TFReceiveCAN(plat::TComponent* owner);
    ~TFReceiveCAN() override;
    plat::String ClassName() const override { return u"TFReceiveCAN"; }
};

extern TFReceiveCAN* FReceiveCAN;
