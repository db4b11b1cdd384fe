#pragma once
// Dialog of the Modbus start addresses of the scanned slaves.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3100), the design caption where a text is blank.
#include "UFormKit.h"

class TFModbusStartAdd_SD : public TDialogForm {
public:
    explicit TFModbusStartAdd_SD(plat::TComponent* owner);
    ~TFModbusStartAdd_SD() override;
    plat::String ClassName() const override { return u"TFModbusStartAdd_SD"; }
};

extern TFModbusStartAdd_SD* FModbusStartAdd_SD;
