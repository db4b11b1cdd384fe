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

TDialogFrame New_Dialog_Frame(TForm* form)
{
    TDialogFrame f;
    f.P_Title = new TPanel(form);
    f.P_Title->SetParent(form);
    f.P_Title->SetAlign(alTop);
    f.P_Title->SetHeight(69);
    f.P_Title->SetBevelOuter(bvNone);
    f.P_Title->SetParentColor(false);
    f.P_Title->SetColor(clWhite);

    f.L_SW_Code = new TLabel(form);
    f.L_SW_Code->SetParent(f.P_Title);
    f.L_SW_Code->SetLeft(16);
    f.L_SW_Code->SetTop(4);
    {
        TFont font;
        font.SetName(u"Verdana");
        font.SetSize(20);
        font.SetColor(clGray);
        f.L_SW_Code->SetFont(&font);
    }
    f.L_SW_Code->SetCaption(SW_Code);

    f.L_SW_Desc = new TLabel(form);
    f.L_SW_Desc->SetParent(f.P_Title);
    f.L_SW_Desc->SetLeft(16);
    f.L_SW_Desc->SetTop(44);
    {
        TFont font;
        font.SetName(u"Verdana");
        font.SetSize(8);
        font.SetColor(clGray);
        font.SetStyle(TFontStyles{fsBold});
        f.L_SW_Desc->SetFont(&font);
    }

    f.P_Button = new TPanel(form);
    f.P_Button->SetParent(form);
    f.P_Button->SetAlign(alBottom);
    f.P_Button->SetHeight(40);
    f.P_Button->SetBevelOuter(bvNone);
    f.P_Button->SetParentColor(false);
    f.P_Button->SetColor(Program_Color);

    f.Btn_OK = New_Button(form, f.P_Button, 16, 6, 110, 28);
    f.Btn_OK->SetKind(controls::TFadeButtonKind::bkOK);
    f.Btn_Cancel = New_Button(form, f.P_Button, 134, 6, 110, 28);
    f.Btn_Cancel->SetKind(controls::TFadeButtonKind::bkCancel);
    f.Btn_Cancel->SetModalResult(mrCancel);
    return f;
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

TEditorStubForm::TEditorStubForm(TComponent* owner, const char16_t* design_caption, TFrame_Texts texts,
                                 int client_width, int client_height)
    : TLangForm(owner), designCaption_(design_caption), texts_(texts)
{
    SetBorderIcons(biSystemMenu | biMaximize);
    const TDialogFrame f = New_Dialog_Frame(this);
    P_Title = f.P_Title;
    L_SW_Code = f.L_SW_Code;
    L_SW_Desc = f.L_SW_Desc;
    P_Button = f.P_Button;
    Btn_OK = f.Btn_OK;
    Btn_Cancel = f.Btn_Cancel;
    SetClientSize(client_width, client_height);
    SetCaption(designCaption_);
    L_SW_Desc->SetCaption(designCaption_);
}

void TEditorStubForm::Apply_Text(int index, const std::function<void(const String&)>& set)
{
    if (index < 0) return;
    const String text = Lang(index);
    if (Has_Text(text)) set(text);
}

void TEditorStubForm::Set_Lang()
{
    Note_Set_Lang();
    Apply_Text(texts_.Caption, [this](const String& t) { SetCaption(t); });
    Apply_Text(texts_.Desc, [this](const String& t) { L_SW_Desc->SetCaption(t); });
    Apply_Text(texts_.OK, [this](const String& t) { Btn_OK->SetCaption(t); });
    Apply_Text(texts_.Cancel, [this](const String& t) { Btn_Cancel->SetCaption(t); });
    Apply_Text(texts_.OK_Hint, [this](const String& t) { Btn_OK->SetHint(t); });
    Apply_Text(texts_.Cancel_Hint, [this](const String& t) { Btn_Cancel->SetHint(t); });
}
