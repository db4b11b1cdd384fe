#pragma once
// Dialog of the Modbus start addresses of the scanned slaves.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3100); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFModbusStartAdd_SD : public TEditorStubForm {
public:
    explicit TFModbusStartAdd_SD(plat::TComponent* owner);
    ~TFModbusStartAdd_SD() override;
    plat::String ClassName() const override { return u"TFModbusStartAdd_SD"; }
};

extern TFModbusStartAdd_SD* FModbusStartAdd_SD;
