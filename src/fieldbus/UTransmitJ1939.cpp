#include "UTransmitJ1939.h"

TFTransmitJ1939* FTransmitJ1939 = nullptr;

TFTransmitJ1939::TFTransmitJ1939(plat::TComponent* owner) : TDialogForm(owner, u"J1939 Send Frames", {2700, 2700}, 956, 337)
{
    FTransmitJ1939 = this;
    Set_Lang();
}

TFTransmitJ1939::~TFTransmitJ1939()
{
    if (FTransmitJ1939 == this) FTransmitJ1939 = nullptr;
}
