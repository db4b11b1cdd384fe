#pragma once
// MQTT access editor of the family's other models (MQTT_Set_Access.xml); its texts are set
// when it is created only.
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFMQTT_Set_Access : public TEditorStubForm {
public:
    explicit TFMQTT_Set_Access(plat::TComponent* owner);
    ~TFMQTT_Set_Access() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Access"; }
};

extern TFMQTT_Set_Access* FMQTT_Set_Access;
