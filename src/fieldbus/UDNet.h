#pragma once
// Editor of the DeviceNet slaves (DNETM_Net.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2800); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFDNet : public TEditorStubForm {
public:
    explicit TFDNet(plat::TComponent* owner);
    ~TFDNet() override;
    plat::String ClassName() const override { return u"TFDNet"; }
};

extern TFDNet* FDNet;
