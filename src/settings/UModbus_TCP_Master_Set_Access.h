#pragma once
// Modbus TCP master access editor of the family's other models (ModbusTCPM_SetAccess.xml).
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFModbus_TCP_Master_Set_Access : public TEditorStubForm {
public:
    explicit TFModbus_TCP_Master_Set_Access(plat::TComponent* owner);
    ~TFModbus_TCP_Master_Set_Access() override;
    plat::String ClassName() const override { return u"TFModbus_TCP_Master_Set_Access"; }
};

extern TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access;
