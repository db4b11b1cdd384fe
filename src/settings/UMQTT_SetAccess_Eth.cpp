#include "UMQTT_SetAccess_Eth.h"

TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth = nullptr;

TFMQTT_SetAccess_Eth::TFMQTT_SetAccess_Eth(plat::TComponent* owner)
    : TDialogForm(owner, u"MQTT Set Access", {}, 760, 337)
{
    FMQTT_SetAccess_Eth = this;
}

TFMQTT_SetAccess_Eth::~TFMQTT_SetAccess_Eth()
{
    if (FMQTT_SetAccess_Eth == this) FMQTT_SetAccess_Eth = nullptr;
}
