#include "UMQTT_Set_Access.h"

TFMQTT_Set_Access* FMQTT_Set_Access = nullptr;

TFMQTT_Set_Access::TFMQTT_Set_Access(plat::TComponent* owner)
    : TDialogForm(owner, u"MQTT Set Access", {1400, 1401, 1402, 1403, 1408, 1409}, 760, 337)
{
    FMQTT_Set_Access = this;
    Set_Lang();
}

TFMQTT_Set_Access::~TFMQTT_Set_Access()
{
    if (FMQTT_Set_Access == this) FMQTT_Set_Access = nullptr;
}
