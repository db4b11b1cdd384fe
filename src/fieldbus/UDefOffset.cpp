#include "UDefOffset.h"

TFDefOffset* FDefOffset = nullptr;

TFDefOffset::TFDefOffset(plat::TComponent* owner) : TDialogForm(owner, u"DeviceNet Offsets", {2900, 2900}, 956, 337)
{
    FDefOffset = this;
    Set_Lang();
}

TFDefOffset::~TFDefOffset()
{
    if (FDefOffset == this) FDefOffset = nullptr;
}
