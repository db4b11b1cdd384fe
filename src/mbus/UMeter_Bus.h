#pragma once
// Editor of the M-Bus network (nodes and variables, M_Bus.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 800); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFMeter_Bus : public TEditorStubForm {
public:
    explicit TFMeter_Bus(plat::TComponent* owner);
    ~TFMeter_Bus() override;
    plat::String ClassName() const override { return u"TFMeter_Bus"; }
};

extern TFMeter_Bus* FMeter_Bus;
