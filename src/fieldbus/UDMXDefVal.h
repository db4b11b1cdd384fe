#pragma once
// Editor of the DMX default channel values (DMX_Default_Values.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3700), the design caption where a text is blank.
#include "UFormKit.h"

class TFDMXDefVal : public TDialogForm {
public:
    explicit TFDMXDefVal(plat::TComponent* owner);
    ~TFDMXDefVal() override;
    plat::String ClassName() const override { return u"TFDMXDefVal"; }
};

extern TFDMXDefVal* FDMXDefVal;
