#pragma once
// MQTT access editor of the family's other models (MQTT_Set_Access.xml); its texts are set
// when it is created only.
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFMQTT_Set_Access : public TDialogForm {
public:
    explicit TFMQTT_Set_Access(plat::TComponent* owner);
    ~TFMQTT_Set_Access() override;
    plat::String ClassName() const override { return u"TFMQTT_Set_Access"; }
};

extern TFMQTT_Set_Access* FMQTT_Set_Access;
