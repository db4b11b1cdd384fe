#pragma once
// Editor of the SNMP agent variables (SNMP_Trap.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3900); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFSNMP_Trap_Access : public TEditorStubForm {
public:
    explicit TFSNMP_Trap_Access(plat::TComponent* owner);
    ~TFSNMP_Trap_Access() override;
    plat::String ClassName() const override { return u"TFSNMP_Trap_Access"; }
};

extern TFSNMP_Trap_Access* FSNMP_Trap_Access;
