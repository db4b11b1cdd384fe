#pragma once
// Editor of the BACnet master access rules (BACnet_Master_Access.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4700); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFBACnetAccess : public TEditorStubForm {
public:
    explicit TFBACnetAccess(plat::TComponent* owner);
    ~TFBACnetAccess() override;
    plat::String ClassName() const override { return u"TFBACnetAccess"; }
};

extern TFBACnetAccess* FBACnetAccess;
