#include "UNew_Project.h"

#include "UConfiguration.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

TFNew_Project* FNew_Project = nullptr;

TFNew_Project::TFNew_Project(TComponent* owner) : TDialogForm(owner, {100, 101, 103, 104, 109, 110})
{
    FNew_Project = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    // OK decides itself whether the dialog closes.
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject*) { Btn_OKClick(); };

    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(16, 76, 299, 13);
    E_New_Proj = new TEdit(this);
    E_New_Proj->SetParent(this);
    E_New_Proj->SetBounds(16, 93, 299, 21);
    E_New_Proj->SetShowHint(true);
    E_New_Proj->OnKeyPress = [this](TObject*, char16_t& Key) {
        if (Key == 13) {
            Key = 0;
            Btn_OKClick();
        }
    };

    SetClientSize(331, 162);
    Set_Lang();
}

TFNew_Project::~TFNew_Project()
{
    if (FNew_Project == this) FNew_Project = nullptr;
}

void TFNew_Project::Set_Lang()
{
    TDialogForm::Set_Lang();
    Label1->SetCaption(Lang(102));
    E_New_Proj->SetHint(Lang(108));
}

void TFNew_Project::DoShow()
{
    E_New_Proj->SetText(String());
    SetActiveControl(E_New_Proj);
    TDialogForm::DoShow();
}

void TFNew_Project::Btn_OKClick()
{
    const int error = Create_Configuration(E_New_Proj->Text());
    if (error != 0) {
        MessageDlg(Lang(error), mtError, {mbOK});
        return;
    }
    SetModalResult(mrOk);
}
