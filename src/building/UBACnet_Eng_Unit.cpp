#include "UBACnet_Eng_Unit.h"

#include "UBACnet_Units.h"
#include "UComon.h"
#include "ULanguage.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

TFBACnet_Eng_Unit* FBACnet_Eng_Unit = nullptr;

namespace {

TLabel* New_Label(TFBACnet_Eng_Unit* form, int left, int top, const char16_t* design, bool bold = false)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetBounds(left, top, 260, 13);
    l->SetAutoSize(true);
    l->SetCaption(design);
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    if (bold) f.SetStyle(TFontStyles{fsBold});
    l->SetFont(&f);
    return l;
}

TComboBox* New_List(TFBACnet_Eng_Unit* form, int left, int top, int width)
{
    auto* c = new TComboBox(form);
    c->SetParent(form);
    c->SetStyle(csDropDownList);
    c->SetDropDownCount(16);
    c->SetBounds(left, top, width, 21);
    return c;
}

} // namespace

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(TComponent* owner)
    : TDialogForm(owner, u"BACnet Engineering Units", {4400, 4401, 4402, 4403}, 548, 306)
{
    FBACnet_Eng_Unit = this;
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    Btn_OK->SetCaption(u"OK");  // design captions while the language leaves them blank
    Btn_Cancel->SetCaption(u"Cancel");

    Label1 = New_Label(this, 16, 80, u"Selected BACnet Engineering Unit");
    E_Selected_EU = new TEdit(this);
    E_Selected_EU->SetParent(this);
    E_Selected_EU->SetBounds(16, 97, 90, 21);
    Label5 = New_Label(this, 116, 101, u"-> unknown");
    Label2 = New_Label(this, 16, 134, u"Select a New BACnet Engineering Unit", true);
    Label3 = New_Label(this, 16, 156, u"Select the Type");
    CB_Select_Type = New_List(this, 16, 173, 180);
    Label4 = New_Label(this, 212, 156, u"Select Unit");
    CB_Select_Unit = New_List(this, 212, 173, 320);
    for (const TBACnet_Unit_Category& c : BACnet_Unit_Categories()) CB_Select_Type->Items()->Add(c.Name);
    CB_Select_Type->SetItemIndex(0);
    CB_Select_Type->OnChange = [this](TObject*) { CB_Select_TypeChange(); };
    Btn_Select_Eng_Unit = New_Button(this, this, 16, 210, 110, 28);
    Btn_Select_Eng_Unit->SetCaption(u"Select");
    Btn_Select_Eng_Unit->OnClick = [this](TObject*) { Btn_Select_Eng_UnitClick(); };

    SetClientSize(548, 306);
    Set_Lang();
}

TFBACnet_Eng_Unit::~TFBACnet_Eng_Unit()
{
    if (FBACnet_Eng_Unit == this) FBACnet_Eng_Unit = nullptr;
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    TDialogForm::Set_Lang();
    Apply_Text(4404, [this](const String& s) { Label1->SetCaption(s); });
    Apply_Text(4405, [this](const String& s) { Label2->SetCaption(s); });
    Apply_Text(4406, [this](const String& s) { Label3->SetCaption(s); });
    Apply_Text(4407, [this](const String& s) { Label4->SetCaption(s); });
    Apply_Text(4408, [this](const String& s) { Btn_Select_Eng_Unit->SetCaption(s); });
}

String TFBACnet_Eng_Unit::Desc_Unit(int unit) { return BACnet_Unit_Name(unit); }

void TFBACnet_Eng_Unit::Show_Unit(const String& text)
{
    E_Selected_EU->SetText(text);
    Label5->SetCaption(u"-> " + Desc_Unit(StrToIntDef(text, -1)));
}

void TFBACnet_Eng_Unit::DoShow()
{
    CB_Select_TypeChange();
    TDialogForm::DoShow();
}

void TFBACnet_Eng_Unit::CB_Select_TypeChange()
{
    CB_Select_Unit->Items()->Clear();
    const auto categories = BACnet_Unit_Categories();
    const int c = CB_Select_Type->ItemIndex();
    if (c < 0 || c >= static_cast<int>(categories.size())) return;
    for (short unit : categories[static_cast<std::size_t>(c)].Units) CB_Select_Unit->Items()->Add(BACnet_Unit_Name(unit));
    CB_Select_Unit->SetItemIndex(0);
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick()
{
    const auto categories = BACnet_Unit_Categories();
    const int c = CB_Select_Type->ItemIndex();
    const int u = CB_Select_Unit->ItemIndex();
    int unit = 0;
    if (c >= 0 && c < static_cast<int>(categories.size())) {
        const auto units = categories[static_cast<std::size_t>(c)].Units;
        if (u >= 0 && u < static_cast<int>(units.size())) unit = units[static_cast<std::size_t>(u)];
    }
    Show_Unit(IntToStr(unit));
}
