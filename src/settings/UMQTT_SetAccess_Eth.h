#pragma once
// MQTT access window of the Ethernet models; it has no texts or behaviour of its own.
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFMQTT_SetAccess_Eth : public TDialogForm {
public:
    explicit TFMQTT_SetAccess_Eth(plat::TComponent* owner);
    ~TFMQTT_SetAccess_Eth() override;
    plat::String ClassName() const override { return u"TFMQTT_SetAccess_Eth"; }
};

extern TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth;
