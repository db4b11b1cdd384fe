#include "UOpenConf.h"

#include "UConfiguration.h"
#include "plat/Classes.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFOpenConf* FOpenConf = nullptr;

TFOpenConf::TFOpenConf(TComponent* owner) : TDialogForm(owner, {200, 201, 203, 204, 206, 207})
{
    FOpenConf = this;
    SetBorderStyle(bsSizeable);
    SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    Btn_OK->SetModalResult(mrOk);

    SetClientSize(377, 351);
    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(16, 76, 345, 13);
    ListBox1 = new TListBox(this);
    ListBox1->SetParent(this);
    ListBox1->SetBounds(16, 93, 345, 351 - 40 - 8 - 93);
    ListBox1->SetAnchors(akAll);
    ListBox1->SetShowHint(true);
    ListBox1->OnClick = [this](TObject*) { ListBox1Click(); };
    Set_Lang();
}

TFOpenConf::~TFOpenConf()
{
    if (FOpenConf == this) FOpenConf = nullptr;
}

void TFOpenConf::Set_Lang()
{
    TDialogForm::Set_Lang();
    Label1->SetCaption(Lang(202));
    ListBox1->SetHint(Lang(205));
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL = ::Load_Existing_Configuration();
}

void TFOpenConf::DoShow()
{
    Load_Existing_Configuration();
    ListBox1->Items()->Clear();
    for (const String& name : SL) ListBox1->Items()->Add(name);
    const int index = Preselect_Configuration(SL);
    ListBox1->SetItemIndex(index);
    Name_Conf = index >= 0 ? SL[static_cast<size_t>(index)] : String();
    TDialogForm::DoShow();
}

void TFOpenConf::ListBox1Click()
{
    const int index = ListBox1->ItemIndex();
    if (index >= 0 && index < static_cast<int>(SL.size())) Name_Conf = SL[static_cast<size_t>(index)];
}
