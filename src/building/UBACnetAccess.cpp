#include "UBACnetAccess.h"

TFBACnetAccess* FBACnetAccess = nullptr;

TFBACnetAccess::TFBACnetAccess(plat::TComponent* owner) : TDialogForm(owner, u"BACnet Master Access", {4700, 4700}, 956, 337)
{
    FBACnetAccess = this;
    Set_Lang();
}

TFBACnetAccess::~TFBACnetAccess()
{
    if (FBACnetAccess == this) FBACnetAccess = nullptr;
}
