#pragma once
// Editor of the KNX rules (KNX_SetAccess.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3800), the design caption where a text is blank.
#include "UFormKit.h"

class TFKNXAccess : public TDialogForm {
public:
    explicit TFKNXAccess(plat::TComponent* owner);
    ~TFKNXAccess() override;
    plat::String ClassName() const override { return u"TFKNXAccess"; }
};

extern TFKNXAccess* FKNXAccess;
