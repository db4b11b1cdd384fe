#include "USetAccess.h"

TFSetAccess* FSetAccess = nullptr;

TFSetAccess::TFSetAccess(plat::TComponent* owner)
    : TDialogForm(owner, u"Set Modbus Access", {1300, 1301, 1302, 1303, 1308, 1309}, 956, 337)
{
    FSetAccess = this;
    Set_Lang();
}

TFSetAccess::~TFSetAccess()
{
    if (FSetAccess == this) FSetAccess = nullptr;
}
