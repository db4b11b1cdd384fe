#include "UNewIDNode.h"

#include "UComon.h"
#include "UMeter_Bus.h"
#include "plat/Dialogs.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

TFNewIDNode* FNewIDNode = nullptr;

namespace {

std::int64_t To_Int(const String& Text)
{
    std::int64_t v = 0;
    return TryStrToInt64(Trim(Text), v) ? v : -1;
}

template <class T>
T* Place(TFNewIDNode* Owner, int Left, int Top, int Width, int Height)
{
    T* c = new T(Owner);
    c->SetParent(Owner);
    c->SetBounds(Left, Top, Width, Height);
    return c;
}

} // namespace

TFNewIDNode::TFNewIDNode(TComponent* owner) : TDialogForm(owner, u"New Node ID", {1200, 1201, 1202, 1203}, 265, 195)
{
    FNewIDNode = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    L_SW_Code->SetCaption(SW_Code);
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject*) { FadeButton2Click(); };
    Label1 = Place<TLabel>(this, 16, 78, 233, 13);
    RB_ID_Primary = Place<TRadioButton>(this, 16, 102, 130, 17);
    RB_ID_Secondary = Place<TRadioButton>(this, 16, 126, 130, 17);
    E_New_Node_ID_Pri = Place<TEdit>(this, 152, 100, 97, 21);
    E_New_Node_ID_Sec = Place<TEdit>(this, 152, 124, 97, 21);
    L_wMBus_Add = Place<TLabel>(this, 16, 118, 130, 13);
    E_wMBus_Add = Place<TEdit>(this, 152, 115, 97, 21);
    RB_ID_Primary->SetChecked(true);
    for (TEdit* e : {E_New_Node_ID_Pri, E_New_Node_ID_Sec, E_wMBus_Add}) e->SetText(u"1");
    Set_Lang();
}

TFNewIDNode::~TFNewIDNode()
{
    if (FNewIDNode == this) FNewIDNode = nullptr;
}

void TFNewIDNode::Set_Lang()
{
    TDialogForm::Set_Lang();
    Apply_Text(1204, [this](const String& t) { Label1->SetCaption(t); });
    Apply_Text(1205, [this](const String& t) { RB_ID_Primary->SetCaption(t); });
    Apply_Text(1206, [this](const String& t) { RB_ID_Secondary->SetCaption(t); });
    Apply_Text(1209, [this](const String& t) { L_wMBus_Add->SetCaption(t); });
}

void TFNewIDNode::DoShow()
{
    const bool wired = Form_Type == 1;
    for (TControl* c : std::initializer_list<TControl*>{RB_ID_Primary, RB_ID_Secondary, E_New_Node_ID_Pri,
                                                        E_New_Node_ID_Sec})
        c->SetVisible(wired);
    L_wMBus_Add->SetVisible(!wired);
    E_wMBus_Add->SetVisible(!wired);
    TDialogForm::DoShow();
}

void TFNewIDNode::FadeButton2Click()
{
    if (Form_Type == 1) {
        const bool primary = RB_ID_Primary->Checked();
        const std::int64_t id = To_Int(primary ? E_New_Node_ID_Pri->Text() : E_New_Node_ID_Sec->Text());
        if (id < 0 || id > (primary ? 255 : 99999999)) {
            MessageDlg(Lang(primary ? 1207 : 1208), mtError, {mbOK});
            return;
        }
        if (FMeter_Bus && !FMeter_Bus->Check_Node_ID2(static_cast<std::int32_t>(id), primary ? 0 : 1)) return;
    } else if (Form_Type == 2) {
        const std::int64_t address = To_Int(E_wMBus_Add->Text());
        if (address < 0 || address > 0xFFFFFFFFLL) {
            MessageDlg(Lang(1210), mtError, {mbOK});
            return;
        }
    }
    SetModalResult(mrOk);
}
