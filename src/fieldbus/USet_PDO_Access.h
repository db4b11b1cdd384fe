#pragma once
// Editor of the CANopen PDO rules (PDO_CANopen.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2300), the design caption where a text is blank.
#include "UFormKit.h"

class TFSet_PDO_Access : public TDialogForm {
public:
    explicit TFSet_PDO_Access(plat::TComponent* owner);
    ~TFSet_PDO_Access() override;
    plat::String ClassName() const override { return u"TFSet_PDO_Access"; }
};

extern TFSet_PDO_Access* FSet_PDO_Access;
