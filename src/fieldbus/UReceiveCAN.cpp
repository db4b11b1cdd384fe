#include "UReceiveCAN.h"

TFReceiveCAN* FReceiveCAN = nullptr;

TFReceiveCAN::TFReceiveCAN(plat::TComponent* owner) : TDialogForm(owner, u"CAN Receive Frames", {2100, 2100}, 956, 337)
{
    FReceiveCAN = this;
    Set_Lang();
}

TFReceiveCAN::~TFReceiveCAN()
{
    if (FReceiveCAN == this) FReceiveCAN = nullptr;
}
