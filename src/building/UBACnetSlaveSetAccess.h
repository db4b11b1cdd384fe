#pragma once
// Editor of the BACnet slave objects (BACnet_Slave_SetAccess.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4300); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFBACnetSlaveSetAccess : public TEditorStubForm {
public:
    explicit TFBACnetSlaveSetAccess(plat::TComponent* owner);
    ~TFBACnetSlaveSetAccess() override;
    plat::String ClassName() const override { return u"TFBACnetSlaveSetAccess"; }
};

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;
