#pragma once
// Dialog asking the AES key of a wireless M-Bus meter.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 3000); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFInsertKeyWireless : public TEditorStubForm {
public:
    explicit TFInsertKeyWireless(plat::TComponent* owner);
    ~TFInsertKeyWireless() override;
    plat::String ClassName() const override { return u"TFInsertKeyWireless"; }
};

extern TFInsertKeyWireless* FInsertKeyWireless;
