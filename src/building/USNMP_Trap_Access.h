#pragma once
// Editor of the SNMP agent variables (SNMP_Trap.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3900), the design caption where a text is blank.
#include "UFormKit.h"

class TFSNMP_Trap_Access : public TDialogForm {
public:
    explicit TFSNMP_Trap_Access(plat::TComponent* owner);
    ~TFSNMP_Trap_Access() override;
    plat::String ClassName() const override { return u"TFSNMP_Trap_Access"; }
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;
