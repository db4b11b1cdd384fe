#pragma once
// Editor of the NMEA 2000 receive frames (NMEA_Rec_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3500); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFReceiveNMEA : public TEditorStubForm {
public:
    explicit TFReceiveNMEA(plat::TComponent* owner);
    ~TFReceiveNMEA() override;
    plat::String ClassName() const override { return u"TFReceiveNMEA"; }
};

extern TFReceiveNMEA* FReceiveNMEA;
