#include "UDALI_Access.h"

TFDALI_Access* FDALI_Access = nullptr;

TFDALI_Access::TFDALI_Access(plat::TComponent* owner) : TDialogForm(owner, u"DALI Access", {4500, 4500}, 956, 437)
{
    FDALI_Access = this;
    Set_Lang();
}

TFDALI_Access::~TFDALI_Access()
{
    if (FDALI_Access == this) FDALI_Access = nullptr;
}
