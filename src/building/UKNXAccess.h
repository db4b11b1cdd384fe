#pragma once
// Editor of the KNX rules (KNX_SetAccess.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3800); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFKNXAccess : public TEditorStubForm {
public:
    explicit TFKNXAccess(plat::TComponent* owner);
    ~TFKNXAccess() override;
    plat::String ClassName() const override { return u"TFKNXAccess"; }
};

extern TFKNXAccess* FKNXAccess;
