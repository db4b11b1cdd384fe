#pragma once
// Editor of the M-Bus network (nodes and variables, M_Bus.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 800), the design caption where a text is blank.
#include "UFormKit.h"

class TFMeter_Bus : public TDialogForm {
public:
    explicit TFMeter_Bus(plat::TComponent* owner);
    ~TFMeter_Bus() override;
    plat::String ClassName() const override { return u"TFMeter_Bus"; }
};

extern TFMeter_Bus* FMeter_Bus;
