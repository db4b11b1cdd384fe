#pragma once
// Window of Step 3, the MQTT publish and subscribe topics (MQTT_Set_Topic.xml).
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFMQTT_Set_Topic : public TDialogForm {
public:
    explicit TFMQTT_Set_Topic(plat::TComponent* owner);
    ~TFMQTT_Set_Topic() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Topic"; }
};

extern TFMQTT_Set_Topic* FMQTT_Set_Topic;
