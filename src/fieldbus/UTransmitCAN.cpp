#include "UTransmitCAN.h"

TFTransmitCAN* FTransmitCAN = nullptr;

TFTransmitCAN::TFTransmitCAN(plat::TComponent* owner) : TDialogForm(owner, u"CAN Send Frames", {2200, 2200}, 956, 337)
{
    FTransmitCAN = this;
    Set_Lang();
}

TFTransmitCAN::~TFTransmitCAN()
{
    if (FTransmitCAN == this) FTransmitCAN = nullptr;
}
