#include "USNMPManagerAccess.h"

TFSNMPManagerAccess* FSNMPManagerAccess = nullptr;

TFSNMPManagerAccess::TFSNMPManagerAccess(plat::TComponent* owner) : TDialogForm(owner, u"SNMP Manager Access", {4000, 4000}, 956, 337)
{
    FSNMPManagerAccess = this;
    Set_Lang();
}

TFSNMPManagerAccess::~TFSNMPManagerAccess()
{
    if (FSNMPManagerAccess == this) FSNMPManagerAccess = nullptr;
}
