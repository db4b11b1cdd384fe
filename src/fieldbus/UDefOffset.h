#pragma once
// Editor of the DeviceNet byte offsets (DNETM_DefOff.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2900); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFDefOffset : public TEditorStubForm {
public:
    explicit TFDefOffset(plat::TComponent* owner);
    ~TFDefOffset() override;
    plat::String ClassName() const override { return u"TFDefOffset"; }
};

extern TFDefOffset* FDefOffset;
