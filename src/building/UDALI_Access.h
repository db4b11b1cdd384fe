#pragma once
// Editor of the DALI devices (DALI_Access.xml, DALI2_Access.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4500); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFDALI_Access : public TEditorStubForm {
public:
    explicit TFDALI_Access(plat::TComponent* owner);
    ~TFDALI_Access() override;
    plat::String ClassName() const override { return u"TFDALI_Access"; }
};

extern TFDALI_Access* FDALI_Access;
