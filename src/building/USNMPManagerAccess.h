#pragma once
// Editor of the SNMP manager requests (SNMP_Manager.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4000); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFSNMPManagerAccess : public TEditorStubForm {
public:
    explicit TFSNMPManagerAccess(plat::TComponent* owner);
    ~TFSNMPManagerAccess() override;
    plat::String ClassName() const override { return u"TFSNMPManagerAccess"; }
};

extern TFSNMPManagerAccess* FSNMPManagerAccess;
