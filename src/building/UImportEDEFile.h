#pragma once
// Importer of a BACnet EDE file into the slave objects.
// For now the window as start-up and the language change need it: created once, with its
// dialog frame and client size, its texts from its block of Lang_Table (from 4800); the
// editing behaviour comes with its subsystem.
#include "UFormKit.h"

class TFImportEDEFile : public TEditorStubForm {
public:
    explicit TFImportEDEFile(plat::TComponent* owner);
    ~TFImportEDEFile() override;
    plat::String ClassName() const override { return u"TFImportEDEFile"; }
};

extern TFImportEDEFile* FImportEDEFile;
