#pragma once
// Picker of the BACnet engineering units.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4400); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFBACnet_Eng_Unit : public TEditorStubForm {
public:
    explicit TFBACnet_Eng_Unit(plat::TComponent* owner);
    ~TFBACnet_Eng_Unit() override;
    plat::String ClassName() const override { return u"TFBACnet_Eng_Unit"; }
};

extern TFBACnet_Eng_Unit* FBACnet_Eng_Unit;
