#include "UModbusStartAdd_SD.h"

TFModbusStartAdd_SD* FModbusStartAdd_SD = nullptr;

TFModbusStartAdd_SD::TFModbusStartAdd_SD(plat::TComponent* owner) : TDialogForm(owner, u"Modbus Start Addresses", {3100, 3100}, 600, 337)
{
    FModbusStartAdd_SD = this;
    Set_Lang();
}

TFModbusStartAdd_SD::~TFModbusStartAdd_SD()
{
    if (FModbusStartAdd_SD == this) FModbusStartAdd_SD = nullptr;
}
