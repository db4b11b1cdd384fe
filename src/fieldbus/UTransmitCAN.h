#pragma once
// Editor of the CAN send frames (CAN_Send_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2200), the design caption where a text is blank.
#include "UFormKit.h"

class TFTransmitCAN : public TDialogForm {
public:
    explicit TFTransmitCAN(plat::TComponent* owner);
    ~TFTransmitCAN() override;
    plat::String ClassName() const override { return u"TFTransmitCAN"; }
};

extern TFTransmitCAN* FTransmitCAN;
