#include "USoftOptions.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "UComon.h"
#include "ULanguage.h"
#include "UTralvexeFirmWare.h"
#include "UVersionCheck.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/Process.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Timers.h"

using namespace plat;

TFSoftOptions* FSoftOptions = nullptr;

namespace {

// Top-left corners of the six language slots on the language page: left column 1-3, right
// column 4-6.
constexpr TPoint Slot_Picture[TFSoftOptions::Slots_Per_Page] = {{24, 40},  {26, 94},  {24, 148},
                                                                 {254, 40}, {254, 94}, {254, 148}};
constexpr TPoint Slot_Label[TFSoftOptions::Slots_Per_Page] = {{80, 56},  {80, 110},  {80, 164},
                                                               {310, 56}, {310, 110}, {310, 164}};

TTabSheet* New_Sheet(TFSoftOptions* form, TPageControl* pc)
{
    auto* s = new TTabSheet(form);
    s->SetPageControl(pc);
    return s;
}

TLabel* New_Label(TFSoftOptions* form, TWinControl* parent, int left, int top)
{
    auto* l = new TLabel(form);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

TCheckBox* New_Check(TFSoftOptions* form, TWinControl* parent, int left, int top)
{
    auto* c = new TCheckBox(form);
    c->SetParent(parent);
    c->SetBounds(left, top, 460, 17);
    c->OnClick = [form](TObject* Sender) { form->CB_En_ConClick(Sender); };
    return c;
}

// Entry names without their last four characters (the ".lng").
String Language_Of(const String& file)
{
    return file.size() > 4 ? file.substr(0, file.size() - 4) : String();
}

// Loads a flag picture; false when the file is missing or no picture.
bool Load_Flag(TImage* image, const String& path)
{
    if (!FileExists(path)) return false;
    try {
        image->Picture()->LoadFromFile(path);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TFSoftOptions::TFSoftOptions(TComponent* owner) : TDialogForm(owner, {300, 301, 312, 313, -1, -1})
{
    FSoftOptions = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);

    // OK commits the choices itself before it closes the window.
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject* Sender) { Btn_OKClick(Sender); };

    PC_Options = new TPageControl(this);
    PC_Options->SetParent(this);
    PC_Options->SetAlign(alClient);

    // Language page.
    TS_Language = New_Sheet(this, PC_Options);
    L_Sel_Lang = New_Label(this, TS_Language, 24, 12);
    {
        TFont font;
        font.SetName(u"Verdana");
        font.SetSize(8);
        font.SetStyle(TFontStyles{fsBold});
        L_Sel_Lang->SetFont(&font);
    }
    L_Page_Lang = New_Label(this, TS_Language, 220, 212);
    for (int k = 0; k < Slots_Per_Page; ++k) {
        I_L[k] = new TImage(this);
        I_L[k]->SetParent(TS_Language);
        I_L[k]->SetBounds(Slot_Picture[k].X, Slot_Picture[k].Y, 48, 48);
        I_L[k]->SetTransparent(true);
        I_L[k]->SetCursor(crHandPoint);
        I_L[k]->OnClick = [this](TObject* Sender) { LangClick(Sender); };
        L_L[k] = New_Label(this, TS_Language, Slot_Label[k].X, Slot_Label[k].Y);
        L_L[k]->SetCursor(crHandPoint);
        L_L[k]->OnClick = [this](TObject* Sender) { LangClick(Sender); };
    }
    Btn_Prev = New_Button(this, TS_Language, 12, 204, 110, 28);
    Btn_Prev->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };
    Btn_Next = New_Button(this, TS_Language, 379, 205, 110, 28);
    Btn_Next->OnClick = [this](TObject* Sender) { Btn_NextClick(Sender); };

    // Connection page: the update option depends on the internet option.
    TS_Con_Options = New_Sheet(this, PC_Options);
    CB_En_Con = New_Check(this, TS_Con_Options, 16, 20);
    CB_Update = New_Check(this, TS_Con_Options, 40, 48);
    Btn_Check_Update = New_Button(this, TS_Con_Options, 40, 84, 200, 28);
    Btn_Check_Update->OnClick = [this](TObject* Sender) { Btn_Check_UpdateClick(Sender); };
    LL_Check_Update = new TLinkLabel(this);
    LL_Check_Update->SetParent(TS_Con_Options);
    LL_Check_Update->SetLeft(40);
    LL_Check_Update->SetTop(128);
    LL_Check_Update->SetVisible(false);
    LL_Check_Update->OnLinkClick = [this](TObject* Sender, const String& Link, TSysLinkType) {
        LL_Check_UpdateLinkClick(Sender, Link);
    };

    // Editor behaviours.
    TS_Soft_Settings = New_Sheet(this, PC_Options);
    CB_Soft_Set_Jump_Table = New_Check(this, TS_Soft_Settings, 16, 20);
    CB_DoubleClick_Auto_Size = New_Check(this, TS_Soft_Settings, 16, 48);

    SetClientSize(509, 373);

    // FormCreate.
    SL_Languages = new TStringList();
    L_SW_Code->SetCaption(SW_Code);
    PC_Options->SetActivePage(TS_Con_Options);
    Set_Lang();
}

TFSoftOptions::~TFSoftOptions()
{
    delete SL_Languages;
    if (FSoftOptions == this) FSoftOptions = nullptr;
}

void TFSoftOptions::Set_Lang()
{
    TDialogForm::Set_Lang();
    TS_Language->SetCaption(Lang(302));
    TS_Con_Options->SetCaption(Lang(303));
    L_Sel_Lang->SetCaption(Lang(304) + Language_In_Use);
    L_Page_Lang->SetCaption(Lang(305) + u"1" + Lang(306) + u"1");
    Btn_Prev->SetCaption(Lang(307));
    Btn_Next->SetCaption(Lang(308));
    CB_En_Con->SetCaption(Lang(309));
    CB_Update->SetCaption(Lang(310));
    Btn_Check_Update->SetCaption(Lang(311));
    TS_Soft_Settings->SetCaption(Lang(319));
    CB_Soft_Set_Jump_Table->SetCaption(Lang(320));
    CB_DoubleClick_Auto_Size->SetCaption(Lang(321));
}

void TFSoftOptions::DoShow()
{
    Language_In_Use = Language_Name;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->SetVisible(false);
    PC_Options->SetActivePage(TS_Language);
    CB_En_Con->SetChecked(Enable_Internet);
    CB_Update->SetChecked(Enable_Update);
    CB_Soft_Set_Jump_Table->SetChecked(Enable_Jump_Field_Tables);
    CB_DoubleClick_Auto_Size->SetChecked(Double_Click_Auto_Size);
    // A tick that did not change fires no click; the dependent controls follow anyway.
    Update_CheckBox();
    TDialogForm::DoShow();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages->Clear();
    std::vector<String> names;
    // Plain files only: read-only ones, folders and devices/fifos (a fifo would block the
    // loader) are not offered.
    constexpr int taken = faHidden | faArchive | faNormal;
    for (const TSearchRec& r : FindFiles(Language_Dir, u"*.lng", faHidden | faSysFile | faDirectory)) {
        if ((r.Attr & ~taken) == 0) names.push_back(r.Name);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
    for (const String& n : names) SL_Languages->Add(n);
    Show_Page = 1;
    Update_Lang_Page(1);
}

int TFSoftOptions::Page_Count() const
{
    // An empty folder still shows one (empty) page, so the counter never reads "1 / 0".
    return std::max(1, (SL_Languages->Count() + Slots_Per_Page - 1) / Slots_Per_Page);
}

void TFSoftOptions::Show_Page_Counter(int Num_Page)
{
    L_Page_Lang->SetCaption(Lang(305) + IntToStr(Num_Page) + Lang(306) + IntToStr(Page_Count()));
}

void TFSoftOptions::Update_Lang_Page(int Num_Page)
{
    const int count = SL_Languages->Count();
    const int pages = Page_Count();
    L_Sel_Lang->SetCaption(Lang(304) + Language_In_Use);
    Show_Page_Counter(Num_Page);
    Btn_Prev->SetVisible(Num_Page != 1);
    Btn_Next->SetVisible(Num_Page != pages);

    const int first = (Num_Page - 1) * Slots_Per_Page;
    const int n = std::clamp(count - first, 0, Slots_Per_Page);
    for (int k = 0; k < Slots_Per_Page; ++k) {
        // Slot 1 always stays; the others only while a language stands behind them.
        const bool shown = k == 0 || k < n;
        I_L[k]->SetVisible(shown);
        L_L[k]->SetVisible(shown);
    }
    if (n == 0) {
        L_L[0]->SetCaption(String());
        I_L[0]->Picture()->Clear();
        I_L[0]->SetVisible(false);
    }
    for (int k = 0; k < n; ++k) {
        const String name = Language_Of(SL_Languages->At(first + k));
        L_L[k]->SetCaption(name);
        if (!Load_Flag(I_L[k], PathJoin(Language_Dir, name + u".bmp")) &&
            !Load_Flag(I_L[k], PathJoin(Language_Dir, u"DefaultFlag.bmp"))) {
            I_L[k]->Picture()->Clear();
            I_L[k]->SetVisible(false);
        }
    }
}

void TFSoftOptions::Btn_NextClick(TObject* Sender)
{
    if (Sender == Btn_Next) {
        if (Page_Count() >= Show_Page + 1) ++Show_Page;
    } else if (Sender == Btn_Prev) {
        if (Show_Page >= 2) --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

int TFSoftOptions::Slot_Of(TObject* Sender) const
{
    for (int k = 0; k < Slots_Per_Page; ++k)
        if (Sender == I_L[k] || Sender == L_L[k]) return k;
    return -1;
}

void TFSoftOptions::LangClick(TObject* Sender)
{
    const int k = Slot_Of(Sender);
    const int entry = (Show_Page - 1) * Slots_Per_Page + k;
    // The first slot stays on an empty page: nothing stands behind it.
    if (k < 0 || entry >= SL_Languages->Count()) return;
    const String name = Language_Of(SL_Languages->At(entry));

    if (MessageDlg(Lang(316) + Language_In_Use + Lang(317) + name + Lang(318), mtConfirmation, mbYesNo) != mrYes)
        return;

    Language_In_Use = name;
    const String remembered = Language_Name;
    Language_Name = name;
    Load_Language();
    Language_Name = remembered;

    if (ZEVorezudaReruDure) ZEVorezudaReruDure->Change_Language();
    // Set_Lang put the counter back to page 1; the page shown keeps its own.
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::CB_En_ConClick(TObject*)
{
    Update_CheckBox();
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->SetEnabled(CB_En_Con->Checked());
    Btn_Check_Update->SetEnabled(CB_Update->Enabled() && CB_Update->Checked());
}

bool TFSoftOptions::Check_Version()
{
    return ::Check_Version();
}

void TFSoftOptions::Btn_Check_UpdateClick(TObject*)
{
    if (Check_Version())
        LL_Check_Update->SetCaption(String(u"<a href=\"") + Download_Page_URL + u"\">" + Lang(314) + u"</a>");
    else
        LL_Check_Update->SetCaption(Lang(315));
    LL_Check_Update->SetVisible(true);
}

void TFSoftOptions::LL_Check_UpdateLinkClick(TObject*, const String& Link)
{
    ShellOpen(Link);
}

void TFSoftOptions::Btn_OKClick(TObject*)
{
    Language_Name = Language_In_Use;
    Enable_Internet = CB_En_Con->Checked();
    Enable_Update = CB_Update->Checked();
    if (ZEVorezudaReruDure) ZEVorezudaReruDure->Timer_Update->SetEnabled(Enable_Internet && Enable_Update);
    Enable_Jump_Field_Tables = CB_Soft_Set_Jump_Table->Checked();
    Double_Click_Auto_Size = CB_DoubleClick_Auto_Size->Checked();
    SetModalResult(mrOk);
}
