#pragma once
// Editor of the BACnet master access rules (BACnet_Master_Access.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4700), the design caption where a text is blank.
#include "UFormKit.h"

class TFBACnetAccess : public TDialogForm {
public:
    explicit TFBACnetAccess(plat::TComponent* owner);
    ~TFBACnetAccess() override;
    plat::String ClassName() const override { return u"TFBACnetAccess"; }
};

extern TFBACnetAccess* FBACnetAccess;
