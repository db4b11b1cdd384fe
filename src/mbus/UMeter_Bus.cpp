#include "UMeter_Bus.h"

TFMeter_Bus* FMeter_Bus = nullptr;

TFMeter_Bus::TFMeter_Bus(plat::TComponent* owner) : TDialogForm(owner, u"M-Bus Network", {800, 800}, 956, 437)
{
    FMeter_Bus = this;
    Set_Lang();
}

TFMeter_Bus::~TFMeter_Bus()
{
    if (FMeter_Bus == this) FMeter_Bus = nullptr;
}
