#pragma once
// Editor of the CANopen SDO server rules (SDO_Server_CANopen.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2500), the design caption where a text is blank.
#include "UFormKit.h"

class TFSet_SDO_Server_Access : public TDialogForm {
public:
    explicit TFSet_SDO_Server_Access(plat::TComponent* owner);
    ~TFSet_SDO_Server_Access() override;
    plat::String ClassName() const override { return u"TFSet_SDO_Server_Access"; }
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
