#pragma once
// Window of Step 2, the general parameters of the configuration (ParGen.xml).
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFParGen : public TEditorStubForm {
public:
    explicit TFParGen(plat::TComponent* owner);
    ~TFParGen() override;
    plat::String ClassName() const override { return u"TFParGen"; }
};

extern TFParGen* FParGen;
