#pragma once
// Scan window of the M-Bus network: scans through the converter and decodes the telegrams.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3300), the design caption where a text is blank.
#include "UFormKit.h"

class TFScanDecode : public TDialogForm {
public:
    explicit TFScanDecode(plat::TComponent* owner);
    ~TFScanDecode() override;
    plat::String ClassName() const override { return u"TFScanDecode"; }
    // Set by the caller before every show: code of the converter family whose scan-result
    // layout is written, the M-Bus network file written or appended to, and the layout.
    int XML_Code_Dev = 0;
    plat::String FileName_MBus;
    int Form_Type = 0;
};

extern TFScanDecode* FScanDecode;
