#pragma once
// Window of Step 4, the Modbus master read and write rules (ModbusM_SetAccess.xml).
// A dialog form: the program\'s dialog frame at its client size and the frame texts, the
// design caption where a text is blank.
#include "UFormKit.h"

class TFSetAccess : public TDialogForm {
public:
    explicit TFSetAccess(plat::TComponent* owner);
    ~TFSetAccess() override;
    plat::String ClassName() const override { return u"TFSetAccess"; }
};

extern TFSetAccess* FSetAccess;
