#include "UBACnetSlaveSetAccess.h"

TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess = nullptr;

TFBACnetSlaveSetAccess::TFBACnetSlaveSetAccess(plat::TComponent* owner) : TDialogForm(owner, u"BACnet Slave Access", {4300, 4300}, 956, 337)
{
    FBACnetSlaveSetAccess = this;
    Set_Lang();
}

TFBACnetSlaveSetAccess::~TFBACnetSlaveSetAccess()
{
    if (FBACnetSlaveSetAccess == this) FBACnetSlaveSetAccess = nullptr;
}
