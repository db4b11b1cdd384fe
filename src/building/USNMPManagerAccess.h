#pragma once
// Editor of the SNMP manager requests (SNMP_Manager.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4000), the design caption where a text is blank.
#include "UFormKit.h"

class TFSNMPManagerAccess : public TDialogForm {
public:
    explicit TFSNMPManagerAccess(plat::TComponent* owner);
    ~TFSNMPManagerAccess() override;
    plat::String ClassName() const override { return u"TFSNMPManagerAccess"; }
};

extern TFSNMPManagerAccess* FSNMPManagerAccess;
