#pragma once
// Editor of the NMEA 2000 receive frames (NMEA_Rec_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3500), the design caption where a text is blank.
#include "UFormKit.h"

class TFReceiveNMEA : public TDialogForm {
public:
    explicit TFReceiveNMEA(plat::TComponent* owner);
    ~TFReceiveNMEA() override;
    plat::String ClassName() const override { return u"TFReceiveNMEA"; }
};

extern TFReceiveNMEA* FReceiveNMEA;
