#pragma once
// Importer of a BACnet EDE file into the slave objects.
// A dialog form: the program\'s dialog frame at its client size, the frame texts from its
// block of Lang_Table (from 4800), the design caption where a text is blank.
#include "UFormKit.h"

class TFImportEDEFile : public TDialogForm {
public:
    explicit TFImportEDEFile(plat::TComponent* owner);
    ~TFImportEDEFile() override;
    plat::String ClassName() const override { return u"TFImportEDEFile"; }
};

extern TFImportEDEFile* FImportEDEFile;
