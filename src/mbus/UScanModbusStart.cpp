#include "UScanModbusStart.h"

TFScanModbusStart* FScanModbusStart = nullptr;

TFScanModbusStart::TFScanModbusStart(plat::TComponent* owner) : TDialogForm(owner, u"Modbus Start Register", {3200, 3200}, 377, 200)
{
    FScanModbusStart = this;
    Set_Lang();
}

TFScanModbusStart::~TFScanModbusStart()
{
    if (FScanModbusStart == this) FScanModbusStart = nullptr;
}
