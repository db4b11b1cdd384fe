#pragma once
// Editor of the J1939 receive frames (J1939_Rec_Frames.xml).
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 2600); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFReceiveJ1939 : public TEditorStubForm {
public:
    explicit TFReceiveJ1939(plat::TComponent* owner);
    ~TFReceiveJ1939() override;
    plat::String ClassName() const override { return u"TFReceiveJ1939"; }
};

extern TFReceiveJ1939* FReceiveJ1939;
