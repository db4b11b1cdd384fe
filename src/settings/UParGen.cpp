#include "UParGen.h"

TFParGen* FParGen = nullptr;

TFParGen::TFParGen(plat::TComponent* owner)
    : TEditorStubForm(owner, u"Set Communication", {400, 401, 402, 403, 404, 405}, 460, 700)
{
    FParGen = this;
    Set_Lang();
}

TFParGen::~TFParGen()
{
    if (FParGen == this) FParGen = nullptr;
}
