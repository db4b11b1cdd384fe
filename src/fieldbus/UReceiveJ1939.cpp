#include "UReceiveJ1939.h"

TFReceiveJ1939* FReceiveJ1939 = nullptr;

TFReceiveJ1939::TFReceiveJ1939(plat::TComponent* owner) : TDialogForm(owner, u"J1939 Receive Frames", {2600, 2600}, 956, 337)
{
    FReceiveJ1939 = this;
    Set_Lang();
}

TFReceiveJ1939::~TFReceiveJ1939()
{
    if (FReceiveJ1939 == this) FReceiveJ1939 = nullptr;
}
