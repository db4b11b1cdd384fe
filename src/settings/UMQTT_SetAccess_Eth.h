#pragma once
// MQTT access window of the Ethernet models; it has no texts or behaviour of its own: the
// dialog frame with a publish and a subscribe table of 1024 rows each, nothing loaded,
// checked, saved or translated.
#include "UFormKit.h"

namespace plat {
class TPageControl;
class TTabSheet;
} // namespace plat

namespace grid {
class TExtColumnGrid;
}

class TFMQTT_SetAccess_Eth : public TDialogForm {
public:
    explicit TFMQTT_SetAccess_Eth(plat::TComponent* owner);
    ~TFMQTT_SetAccess_Eth() override;
    plat::String ClassName() const override { return u"TFMQTT_SetAccess_Eth"; }

    plat::TPageControl* PageControl1 = nullptr;
    plat::TTabSheet* TS_MQTT_Publish = nullptr;
    plat::TTabSheet* TS_MQTT_Subscribe = nullptr;
    grid::TExtColumnGrid* ACG_Pub = nullptr;
    grid::TExtColumnGrid* ACG_Sub = nullptr;
};

extern TFMQTT_SetAccess_Eth* FMQTT_SetAccess_Eth;
