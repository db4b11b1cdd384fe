#pragma once
// Editor of the J1939 send frames (J1939_Send_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2700), the design caption where a text is blank.
#include "UFormKit.h"

class TFTransmitJ1939 : public TDialogForm {
public:
    explicit TFTransmitJ1939(plat::TComponent* owner);
    ~TFTransmitJ1939() override;
    plat::String ClassName() const override { return u"TFTransmitJ1939"; }
};

extern TFTransmitJ1939* FTransmitJ1939;
