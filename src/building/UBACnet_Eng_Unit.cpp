#include "UBACnet_Eng_Unit.h"

TFBACnet_Eng_Unit* FBACnet_Eng_Unit = nullptr;

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(plat::TComponent* owner) : TDialogForm(owner, u"BACnet Engineering Units", {4400, 4400}, 500, 400)
{
    FBACnet_Eng_Unit = this;
    Set_Lang();
}

TFBACnet_Eng_Unit::~TFBACnet_Eng_Unit()
{
    if (FBACnet_Eng_Unit == this) FBACnet_Eng_Unit = nullptr;
}
