#pragma once
// Dialog asking the first Modbus register of the scan result.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3200), the design caption where a text is blank.
#include "UFormKit.h"

class TFScanModbusStart : public TDialogForm {
public:
    explicit TFScanModbusStart(plat::TComponent* owner);
    ~TFScanModbusStart() override;
    plat::String ClassName() const override { return u"TFScanModbusStart"; }
};

extern TFScanModbusStart* FScanModbusStart;
