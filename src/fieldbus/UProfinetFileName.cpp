#include "UProfinetFileName.h"

TFProfinetFileName* FProfinetFileName = nullptr;

TFProfinetFileName::TFProfinetFileName(plat::TComponent* owner) : TDialogForm(owner, u"PROFINET File Name", {3400, 3400}, 377, 162)
{
    FProfinetFileName = this;
    Set_Lang();
}

TFProfinetFileName::~TFProfinetFileName()
{
    if (FProfinetFileName == this) FProfinetFileName = nullptr;
}
