#pragma once
// Editor of the NMEA 2000 send frames (NMEA_Send_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3600), the design caption where a text is blank.
#include "UFormKit.h"

class TFTransmitNMEA : public TDialogForm {
public:
    explicit TFTransmitNMEA(plat::TComponent* owner);
    ~TFTransmitNMEA() override;
    plat::String ClassName() const override { return u"TFTransmitNMEA"; }
};

extern TFTransmitNMEA* FTransmitNMEA;
