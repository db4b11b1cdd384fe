#pragma once
// Picker of the BACnet engineering units.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4400), the design caption where a text is blank.
#include "UFormKit.h"

class TFBACnet_Eng_Unit : public TDialogForm {
public:
    explicit TFBACnet_Eng_Unit(plat::TComponent* owner);
    ~TFBACnet_Eng_Unit() override;
    plat::String ClassName() const override { return u"TFBACnet_Eng_Unit"; }
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
