#include "UMQTT_Set_Topic.h"

TFMQTT_Set_Topic* FMQTT_Set_Topic = nullptr;

TFMQTT_Set_Topic::TFMQTT_Set_Topic(plat::TComponent* owner)
    : TDialogForm(owner, u"Set MQTT Topics", {700, 701, 702, 703, 708, 709}, 1100, 337)
{
    FMQTT_Set_Topic = this;
    Set_Lang();
}

TFMQTT_Set_Topic::~TFMQTT_Set_Topic()
{
    if (FMQTT_Set_Topic == this) FMQTT_Set_Topic = nullptr;
}
