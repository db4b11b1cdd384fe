#include "USet_SDO_Client_Access.h"

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(plat::TComponent* owner) : TDialogForm(owner, u"CANopen SDO Client", {2400, 2400}, 956, 337)
{
    FSet_SDO_Client_Access = this;
    Set_Lang();
}

TFSet_SDO_Client_Access::~TFSet_SDO_Client_Access()
{
    if (FSet_SDO_Client_Access == this) FSet_SDO_Client_Access = nullptr;
}
