#include "UReceiveNMEA.h"

TFReceiveNMEA* FReceiveNMEA = nullptr;

TFReceiveNMEA::TFReceiveNMEA(plat::TComponent* owner) : TDialogForm(owner, u"NMEA 2000 Receive Frames", {3500, 3500}, 956, 337)
{
    FReceiveNMEA = this;
    Set_Lang();
}

TFReceiveNMEA::~TFReceiveNMEA()
{
    if (FReceiveNMEA == this) FReceiveNMEA = nullptr;
}
