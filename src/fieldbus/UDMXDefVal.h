#pragma once
// Editor of the DMX default channel values (DMX_Default_Values.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3700); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFDMXDefVal : public TEditorStubForm {
public:
    explicit TFDMXDefVal(plat::TComponent* owner);
    ~TFDMXDefVal() override;
    plat::String ClassName() const override { return u"TFDMXDefVal"; }
};

extern TFDMXDefVal* FDMXDefVal;
