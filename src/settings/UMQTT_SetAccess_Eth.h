#pragma once
// MQTT access window of the Ethernet models; it has no texts or behaviour of its own.
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFMQTT_SetAccess_Eth : public TEditorStubForm {
public:
    explicit TFMQTT_SetAccess_Eth(plat::TComponent* owner);
    ~TFMQTT_SetAccess_Eth() override;
    plat::String ClassName() const override { return u"TFMQTT_SetAccess_Eth"; }
};

extern TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth;
