#include "USet_PDO_Access.h"

TFSet_PDO_Access* FSet_PDO_Access = nullptr;

TFSet_PDO_Access::TFSet_PDO_Access(plat::TComponent* owner) : TDialogForm(owner, u"CANopen PDO Access", {2300, 2300}, 956, 337)
{
    FSet_PDO_Access = this;
    Set_Lang();
}

TFSet_PDO_Access::~TFSet_PDO_Access()
{
    if (FSet_PDO_Access == this) FSet_PDO_Access = nullptr;
}
