#pragma once
// Window of Step 3, the MQTT publish and subscribe topics (MQTT_Set_Topic.xml).
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFMQTT_Set_Topic : public TEditorStubForm {
public:
    explicit TFMQTT_Set_Topic(plat::TComponent* owner);
    ~TFMQTT_Set_Topic() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Topic"; }
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;
