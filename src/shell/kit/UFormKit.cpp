#include "UFormKit.h"

#include <utility>

#include "UComon.h"
#include "ULanguage.h"
#include "plat/ExtCtrls.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

using namespace plat;

namespace {

TSet_Lang_Observer& Observer()
{
    static TSet_Lang_Observer observer;
    return observer;
}

constexpr TColor Button_Edge = 0x808080;
constexpr TColor Button_Hot = 0x00FFFF;
constexpr TColor Button_Down = 0x0080FF;

} // namespace

String Lang(int index)
{
    if (index < 0 || index >= static_cast<int>(Lang_Table.size())) return String();
    return Lang_Table[static_cast<size_t>(index)];
}

bool Has_Text(const String& text)
{
    for (char16_t c : text)
        if (c > u' ') return true;
    return false;
}

controls::TFadeButton* New_Button(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
{
    auto* b = new controls::TFadeButton(owner);
    b->SetStyle(controls::TFadeButtonStyle::bsEncarta);
    b->SetColor(Program_Color);
    b->SetLightColor(Button_Edge);
    b->SetShadowColor(Button_Edge);
    b->SetHotTrackColor(Button_Hot);
    b->SetColorWhenDown(Button_Down);
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    b->SetFont(&f);
    b->SetShowHint(true);
    b->SetBounds(left, top, width, height);
    b->SetParent(parent);
    return b;
}

void Set_Set_Lang_Observer(TSet_Lang_Observer observer)
{
    Observer() = std::move(observer);
}

TLangForm::TLangForm(TComponent* owner) : TForm(owner)
{
    SetPosition(poScreenCenter);
    SetColor(Program_Color);
    SetShowHint(true);
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    SetFont(&f);
}

void TLangForm::Note_Set_Lang()
{
    if (Observer()) Observer()(ClassName());
}

TDialogForm::TDialogForm(TComponent* owner, TFrame_Texts texts) : TLangForm(owner), texts_(texts)
{
    Create_Frame();
}

TDialogForm::TDialogForm(TComponent* owner, const char16_t* design_caption, TFrame_Texts texts, int client_width,
                         int client_height)
    : TLangForm(owner), keepDesignWhenBlank_(true), texts_(texts)
{
    SetBorderIcons(biSystemMenu | biMaximize);
    Create_Frame();
    SetClientSize(client_width, client_height);
    SetCaption(design_caption);
    L_SW_Desc->SetCaption(design_caption);
}

void TDialogForm::Create_Frame()
{
    P_Title = new TPanel(this);
    P_Title->SetParent(this);
    P_Title->SetAlign(alTop);
    P_Title->SetHeight(69);
    P_Title->SetBevelOuter(bvNone);
    P_Title->SetParentColor(false);
    P_Title->SetColor(clWhite);

    L_SW_Code = new TLabel(this);
    L_SW_Code->SetParent(P_Title);
    L_SW_Code->SetLeft(16);
    L_SW_Code->SetTop(4);
    {
        TFont font;
        font.SetName(u"Verdana");
        font.SetSize(20);
        font.SetColor(clGray);
        L_SW_Code->SetFont(&font);
    }
    L_SW_Code->SetCaption(SW_Code);

    L_SW_Desc = new TLabel(this);
    L_SW_Desc->SetParent(P_Title);
    L_SW_Desc->SetLeft(16);
    L_SW_Desc->SetTop(44);
    {
        TFont font;
        font.SetName(u"Verdana");
        font.SetSize(8);
        font.SetColor(clGray);
        font.SetStyle(TFontStyles{fsBold});
        L_SW_Desc->SetFont(&font);
    }

    P_Button = new TPanel(this);
    P_Button->SetParent(this);
    P_Button->SetAlign(alBottom);
    P_Button->SetHeight(40);
    P_Button->SetBevelOuter(bvNone);
    P_Button->SetParentColor(false);
    P_Button->SetColor(Program_Color);

    Btn_OK = New_Button(this, P_Button, 16, 6, 110, 28);
    Btn_OK->SetKind(controls::TFadeButtonKind::bkOK);
    Btn_Cancel = New_Button(this, P_Button, 134, 6, 110, 28);
    Btn_Cancel->SetKind(controls::TFadeButtonKind::bkCancel);
    Btn_Cancel->SetModalResult(mrCancel);
}

void TDialogForm::Apply_Text(int index, const std::function<void(const String&)>& set) const
{
    if (index < 0) return;
    const String text = Lang(index);
    if (Has_Text(text) || !keepDesignWhenBlank_) set(text);
}

void TDialogForm::Set_Lang()
{
    Note_Set_Lang();
    Apply_Text(texts_.Caption, [this](const String& t) { SetCaption(t); });
    Apply_Text(texts_.Desc, [this](const String& t) { L_SW_Desc->SetCaption(t); });
    Apply_Text(texts_.OK, [this](const String& t) { Btn_OK->SetCaption(t); });
    Apply_Text(texts_.Cancel, [this](const String& t) { Btn_Cancel->SetCaption(t); });
    Apply_Text(texts_.OK_Hint, [this](const String& t) { Btn_OK->SetHint(t); });
    Apply_Text(texts_.Cancel_Hint, [this](const String& t) { Btn_Cancel->SetHint(t); });
}
