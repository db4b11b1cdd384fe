#pragma once
// Editor of the DeviceNet slaves (DNETM_Net.xml).
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 2800), the design caption where a text is blank.
#include "UFormKit.h"

class TFDNet : public TDialogForm {
public:
    explicit TFDNet(plat::TComponent* owner);
    ~TFDNet() override;
    plat::String ClassName() const override { return u"TFDNet"; }
};

extern TFDNet* FDNet;
