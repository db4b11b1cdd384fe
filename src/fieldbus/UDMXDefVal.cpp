#include "UDMXDefVal.h"

TFDMXDefVal* FDMXDefVal = nullptr;

TFDMXDefVal::TFDMXDefVal(plat::TComponent* owner) : TDialogForm(owner, u"DMX Default Values", {3700, 3700}, 956, 337)
{
    FDMXDefVal = this;
    Set_Lang();
}

TFDMXDefVal::~TFDMXDefVal()
{
    if (FDMXDefVal == this) FDMXDefVal = nullptr;
}
