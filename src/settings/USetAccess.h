#pragma once
// Window of Step 4, the Modbus master read and write rules (ModbusM_SetAccess.xml).
// For now the window as start-up and the language change need it: created once, with its
// frame, client size and frame texts; its tables and editing come with its own issue.
#include "UFormKit.h"

class TFSetAccess : public TEditorStubForm {
public:
    explicit TFSetAccess(plat::TComponent* owner);
    ~TFSetAccess() override;
    plat::String ClassName() const override { return u"TFSetAccess"; }
};

extern TFSetAccess* FSetAccess;
