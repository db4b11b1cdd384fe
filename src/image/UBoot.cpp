#include "UBoot.h"

#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFBoot* FBoot = nullptr;

TFBoot::TFBoot(TComponent* owner) : TLangForm(owner)
{
    FBoot = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    const TDialogFrame f = New_Dialog_Frame(this);
    P_Title = f.P_Title;
    L_SW_Code = f.L_SW_Code;
    L_SW_Desc = f.L_SW_Desc;
    P_Button = f.P_Button;
    Btn_Update = f.Btn_OK;
    Btn_Update->SetKind(controls::TFadeButtonKind::bkCustom);
    Btn_Update->SetModalResult(mrNone);
    Btn_Update->SetBounds(16, 6, 190, 28);
    Btn_Cancel = f.Btn_Cancel;
    Btn_Cancel->SetLeft(214);
    // Title, address, options and button panels.
    SetClientSize(420, 69 + 49 + 72 + 40);
    // Built-in texts until the first show or language change sets them by mode.
    SetCaption(u"Update Device");
    L_SW_Desc->SetCaption(u"Update Device");
    Btn_Update->SetCaption(u"Execute Update Firmware");
    Btn_Cancel->SetCaption(u"Cancel");
}

TFBoot::~TFBoot()
{
    if (FBoot == this) FBoot = nullptr;
}

void TFBoot::Set_Lang()
{
    Note_Set_Lang();
    if (Form_Type == 1) {
        SetCaption(Lang(1002));
        L_SW_Desc->SetCaption(Lang(1003));
    } else if (Form_Type == 0) {
        SetCaption(Lang(1000));
        L_SW_Desc->SetCaption(Lang(1001));
    }
    Btn_Cancel->SetCaption(Lang(1019));
    Btn_Cancel->SetHint(Lang(1034));
    Btn_Update->SetCaption(Lang(1020));
    Btn_Update->SetHint(Lang(1035));
}

void TFBoot::DoShow()
{
    Set_Lang();
    TLangForm::DoShow();
}
