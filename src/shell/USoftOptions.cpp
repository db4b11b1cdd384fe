#include "USoftOptions.h"

#include "plat/StdCtrls.h"

using namespace plat;

TFSoftOptions* FSoftOptions = nullptr;

namespace {

TCheckBox* New_Check(TFSoftOptions* form, int top)
{
    auto* c = new TCheckBox(form);
    c->SetParent(form);
    c->SetBounds(16, top, 477, 17);
    return c;
}

} // namespace

TFSoftOptions::TFSoftOptions(TComponent* owner)
    : TEditorStubForm(owner, u"Software Options", {300, 301, 312, 313}, 509, 373)
{
    FSoftOptions = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    CB_En_Con = New_Check(this, 84);
    CB_Update = New_Check(this, 108);
    CB_Soft_Set_Jump_Table = New_Check(this, 144);
    CB_DoubleClick_Auto_Size = New_Check(this, 168);
    Set_Lang();
}

TFSoftOptions::~TFSoftOptions()
{
    if (FSoftOptions == this) FSoftOptions = nullptr;
}

void TFSoftOptions::Set_Lang()
{
    TEditorStubForm::Set_Lang();
    CB_En_Con->SetCaption(Lang(309));
    CB_Update->SetCaption(Lang(310));
    CB_Soft_Set_Jump_Table->SetCaption(Lang(320));
    CB_DoubleClick_Auto_Size->SetCaption(Lang(321));
}
