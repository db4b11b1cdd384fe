#include "UTransmitNMEA.h"

TFTransmitNMEA* FTransmitNMEA = nullptr;

TFTransmitNMEA::TFTransmitNMEA(plat::TComponent* owner) : TDialogForm(owner, u"NMEA 2000 Send Frames", {3600, 3600}, 956, 337)
{
    FTransmitNMEA = this;
    Set_Lang();
}

TFTransmitNMEA::~TFTransmitNMEA()
{
    if (FTransmitNMEA == this) FTransmitNMEA = nullptr;
}
