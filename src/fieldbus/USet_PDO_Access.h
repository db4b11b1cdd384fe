#pragma once
// Editor of the CANopen PDO rules (PDO_CANopen.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2300); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFSet_PDO_Access : public TEditorStubForm {
public:
    explicit TFSet_PDO_Access(plat::TComponent* owner);
    ~TFSet_PDO_Access() override;
    plat::String ClassName() const override { return u"TFSet_PDO_Access"; }
};

extern TFSet_PDO_Access* FSet_PDO_Access;
