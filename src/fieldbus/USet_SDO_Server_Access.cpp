#include "USet_SDO_Server_Access.h"

TFSet_SDO_Server_Access* FSet_SDO_Server_Access = nullptr;

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(plat::TComponent* owner) : TDialogForm(owner, u"CANopen SDO Server", {2500, 2500}, 956, 337)
{
    FSet_SDO_Server_Access = this;
    Set_Lang();
}

TFSet_SDO_Server_Access::~TFSet_SDO_Server_Access()
{
    if (FSet_SDO_Server_Access == this) FSet_SDO_Server_Access = nullptr;
}
