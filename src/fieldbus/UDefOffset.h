#pragma once
// Editor of the DeviceNet byte offsets (DNETM_DefOff.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2900), the design caption where a text is blank.
#include "UFormKit.h"

class TFDefOffset : public TDialogForm {
public:
    explicit TFDefOffset(plat::TComponent* owner);
    ~TFDefOffset() override;
    plat::String ClassName() const override { return u"TFDefOffset"; }
};

extern TFDefOffset* FDefOffset;
