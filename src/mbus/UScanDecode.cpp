#include "UScanDecode.h"

TFScanDecode* FScanDecode = nullptr;

TFScanDecode::TFScanDecode(plat::TComponent* owner) : TDialogForm(owner, u"Scan & Decode", {3300, 3300}, 956, 537)
{
    FScanDecode = this;
    Set_Lang();
}

TFScanDecode::~TFScanDecode()
{
    if (FScanDecode == this) FScanDecode = nullptr;
}
