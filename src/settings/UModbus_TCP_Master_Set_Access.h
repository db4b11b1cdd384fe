#pragma once
// Modbus TCP master access editor of the family's other models (ModbusTCPM_SetAccess.xml).
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFModbus_TCP_Master_Set_Access : public TDialogForm {
public:
    explicit TFModbus_TCP_Master_Set_Access(plat::TComponent* owner);
    ~TFModbus_TCP_Master_Set_Access() override;
    plat::String ClassName() const override { return u"TFModbus_TCP_Master_Set_Access"; }
};

extern TFModbus_TCP_Master_Set_Access* FModbus_TCP_Master_Set_Access;
