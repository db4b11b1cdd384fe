#pragma once
// Editor of the J1939 receive frames (J1939_Rec_Frames.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2600), the design caption where a text is blank.
#include "UFormKit.h"

class TFReceiveJ1939 : public TDialogForm {
public:
    explicit TFReceiveJ1939(plat::TComponent* owner);
    ~TFReceiveJ1939() override;
    plat::String ClassName() const override { return u"TFReceiveJ1939"; }
};

extern TFReceiveJ1939* FReceiveJ1939;
