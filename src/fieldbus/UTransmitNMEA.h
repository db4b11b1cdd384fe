#pragma once
// Editor of the NMEA 2000 send frames (NMEA_Send_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3600); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFTransmitNMEA : public TEditorStubForm {
public:
    explicit TFTransmitNMEA(plat::TComponent* owner);
    ~TFTransmitNMEA() override;
    plat::String ClassName() const override { return u"TFTransmitNMEA"; }
};

extern TFTransmitNMEA* FTransmitNMEA;
