#pragma once
// Dialog asking the first Modbus register of the scan result.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3200); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFScanModbusStart : public TEditorStubForm {
public:
    explicit TFScanModbusStart(plat::TComponent* owner);
    ~TFScanModbusStart() override;
    plat::String ClassName() const override { return u"TFScanModbusStart"; }
};

extern TFScanModbusStart* FScanModbusStart;
