#include "UDNet.h"

TFDNet* FDNet = nullptr;

TFDNet::TFDNet(plat::TComponent* owner) : TDialogForm(owner, u"DeviceNet Network", {2800, 2800}, 956, 337)
{
    FDNet = this;
    Set_Lang();
}

TFDNet::~TFDNet()
{
    if (FDNet == this) FDNet = nullptr;
}
