#pragma once
// Editor of the CANopen SDO server rules (SDO_Server_CANopen.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2500); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFSet_SDO_Server_Access : public TEditorStubForm {
public:
    explicit TFSet_SDO_Server_Access(plat::TComponent* owner);
    ~TFSet_SDO_Server_Access() override;
    plat::String ClassName() const override { return u"TFSet_SDO_Server_Access"; }
};

extern TFSet_SDO_Server_Access* FSet_SDO_Server_Access;
