#include "UInsertKeyWireless.h"

TFInsertKeyWireless* FInsertKeyWireless = nullptr;

TFInsertKeyWireless::TFInsertKeyWireless(plat::TComponent* owner) : TDialogForm(owner, u"Insert Key Wireless", {3000, 3000}, 377, 162)
{
    FInsertKeyWireless = this;
    Set_Lang();
}

TFInsertKeyWireless::~TFInsertKeyWireless()
{
    if (FInsertKeyWireless == this) FInsertKeyWireless = nullptr;
}
