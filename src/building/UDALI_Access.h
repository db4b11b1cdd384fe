#pragma once
// Editor of the DALI devices (DALI_Access.xml, DALI2_Access.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4500), the design caption where a text is blank.
#include "UFormKit.h"

class TFDALI_Access : public TDialogForm {
public:
    explicit TFDALI_Access(plat::TComponent* owner);
    ~TFDALI_Access() override;
    plat::String ClassName() const override { return u"TFDALI_Access"; }
};

extern TFDALI_Access* FDALI_Access;
