#pragma once
// Editor of the CAN receive frames (CAN_Rec_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2100), the design caption where a text is blank.
#include "UFormKit.h"

class TFReceiveCAN : public TDialogForm {
public:
    explicit TFReceiveCAN(plat::TComponent* owner);
    ~TFReceiveCAN() override;
    plat::String ClassName() const override { return u"TFReceiveCAN"; }
};

extern TFReceiveCAN* FReceiveCAN;
