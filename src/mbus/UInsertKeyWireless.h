#pragma once
// Dialog asking the AES key of a wireless M-Bus meter.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 3000), the design caption where a text is blank.
#include "UFormKit.h"

class TFInsertKeyWireless : public TDialogForm {
public:
    explicit TFInsertKeyWireless(plat::TComponent* owner);
    ~TFInsertKeyWireless() override;
    plat::String ClassName() const override { return u"TFInsertKeyWireless"; }
};

extern TFInsertKeyWireless* FInsertKeyWireless;
