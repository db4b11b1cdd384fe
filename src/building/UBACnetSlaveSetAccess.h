#pragma once
// Editor of the BACnet slave objects (BACnet_Slave_SetAccess.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4300), the design caption where a text is blank.
#include "UFormKit.h"

class TFBACnetSlaveSetAccess : public TDialogForm {
public:
    explicit TFBACnetSlaveSetAccess(plat::TComponent* owner);
    ~TFBACnetSlaveSetAccess() override;
    plat::String ClassName() const override { return u"TFBACnetSlaveSetAccess"; }
};

extern TFBACnetSlaveSetAccess* FBACnetSlaveSetAccess;
