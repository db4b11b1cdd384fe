#include "UModbus_TCP_Master_Set_Access.h"

TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access = nullptr;

TFModbus_TCP_Master_Set_Access::TFModbus_TCP_Master_Set_Access(plat::TComponent* owner)
    : TDialogForm(owner, u"Set Modbus TCP Master Access", {1500, 1501, 1502, 1503, 1563, 1564}, 1150, 337)
{
    FModbus_TCP_Master_Set_Access = this;
    Set_Lang();
}

TFModbus_TCP_Master_Set_Access::~TFModbus_TCP_Master_Set_Access()
{
    if (FModbus_TCP_Master_Set_Access == this) FModbus_TCP_Master_Set_Access = nullptr;
}
