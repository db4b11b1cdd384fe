#include "USNMP_Trap_Access.h"

TFSNMP_Trap_Access* FSNMP_Trap_Access = nullptr;

TFSNMP_Trap_Access::TFSNMP_Trap_Access(plat::TComponent* owner) : TDialogForm(owner, u"SNMP Agent Access", {3900, 3900}, 956, 337)
{
    FSNMP_Trap_Access = this;
    Set_Lang();
}

TFSNMP_Trap_Access::~TFSNMP_Trap_Access()
{
    if (FSNMP_Trap_Access == this) FSNMP_Trap_Access = nullptr;
}
