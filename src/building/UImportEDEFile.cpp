#include "UImportEDEFile.h"

TFImportEDEFile* FImportEDEFile = nullptr;

TFImportEDEFile::TFImportEDEFile(plat::TComponent* owner) : TDialogForm(owner, u"Import EDE File", {4800, 4800}, 700, 437)
{
    FImportEDEFile = this;
    Set_Lang();
}

TFImportEDEFile::~TFImportEDEFile()
{
    if (FImportEDEFile == this) FImportEDEFile = nullptr;
}
