#include "UKNXAccess.h"

TFKNXAccess* FKNXAccess = nullptr;

TFKNXAccess::TFKNXAccess(plat::TComponent* owner) : TDialogForm(owner, u"KNX Access", {3800, 3800}, 956, 337)
{
    FKNXAccess = this;
    Set_Lang();
}

TFKNXAccess::~TFKNXAccess()
{
    if (FKNXAccess == this) FKNXAccess = nullptr;
}
