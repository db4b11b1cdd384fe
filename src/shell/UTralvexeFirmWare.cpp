#include "USNMP_MIB.h"
#include "UTralvexeFirmWare.h"

#include <utility>

#include "UAbout.h"
#include "UBACnetAccess.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_EDE_File.h"
#include "UBACnet_Eng_Unit.h"
#include "UBoot.h"
#include "UComon.h"
#include "UConfiguration.h"
#include "UDALI_Access.h"
#include "UDMXDefVal.h"
#include "UDNet.h"
#include "UDefOffset.h"
#include "UDescriptionFiles.h"
#include "UImportEDEFile.h"
#include "UInsertKeyWireless.h"
#include "UKNXAccess.h"
#include "ULanguage.h"
#include "UMQTT_Set_Access.h"
#include "UMQTT_Set_Topic.h"
#include "UMeter_Bus.h"
#include "UModbusStartAdd_SD.h"
#include "UModbus_TCP_Master_Set_Access.h"
#include "UNewIDNode.h"
#include "UNew_Project.h"
#include "UOpenConf.h"
#include "UParGen.h"
#include "UProfinetFileName.h"
#include "UReceiveCAN.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "USNMPManagerAccess.h"
#include "USNMP_Trap_Access.h"
#include "USaveBincc.h"
#include "UScanDecode.h"
#include "UScanModbusStart.h"
#include "USetAccess.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "USettings.h"
#include "USoftOptions.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "UVersionCheck.h"
#include "plat/Classes.h"
#include "plat/Clock.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Timers.h"
#include "plat/Xml.h"

using namespace plat;

TZEVorezudaReruDure* ZEVorezudaReruDure = nullptr;

const char16_t* const Home_Page_URL = u"https://www.varnok.com/HOME/default.asp?frompg=QR40518";

namespace {

using TButtonField = controls::TFadeButton* TZEVorezudaReruDure::*;

// One button of the main window: its caption (a text number, or a design caption that no
// language replaces), its hint and its place; the hidden buttons stay hidden.
struct TButton_Layout {
    TButtonField Field;
    int Caption;
    const char16_t* Design;
    int Hint;
    bool Shown;
    int Left, Top, Width, Height;
};

using Z = TZEVorezudaReruDure;
constexpr int Step_W = 170;
constexpr int Step_H = 36;

// In the order the click handler compares them.
const TButton_Layout Buttons[] = {
    {&Z::Btn_New, 15, nullptr, 22, true, 80, 112, Step_W, Step_H},
    {&Z::Btn_Open, 16, nullptr, 23, true, 258, 112, Step_W, Step_H},
    {&Z::Btn_Close, -1, nullptr, 14, true, 632, 8, 50, 50},
    {&Z::Btn_Info, -1, nullptr, 12, true, 516, 8, 50, 50},
    {&Z::Btn_Opz, -1, nullptr, 13, true, 574, 8, 50, 50},
    {&Z::Btn_Prm_Gen, 20, nullptr, 24, true, 80, 156, Step_W, Step_H},
    {&Z::Btn_MQTT_Set_Topic, 21, nullptr, 25, true, 80, 200, Step_W, Step_H},
    {&Z::Btn_MBus, 27, nullptr, 28, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_Modbus_Set_Access, 29, nullptr, 30, true, 80, 244, Step_W, Step_H},
    {&Z::Btn_MQTT_Set_Access, -1, u"MQTT Set Access", -1, false, 258, 200, Step_W, Step_H},
    {&Z::Btn_CAN_Rec_Frame, 31, nullptr, 32, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_CAN_Send_Frame, 33, nullptr, 34, false, 436, 156, Step_W, Step_H},
    {&Z::Btn_PDO_CANopen, 39, nullptr, 40, false, 258, 200, Step_W, Step_H},
    {&Z::Btn_SDO_Client_CANopen, 37, nullptr, 38, false, 436, 200, Step_W, Step_H},
    {&Z::Btn_SDO_Server_CANopen, 35, nullptr, 36, false, 258, 244, Step_W, Step_H},
    {&Z::Btn_CANopen_EDS, 41, nullptr, 42, false, 436, 244, Step_W, Step_H},
    {&Z::Btn_DNet_Net, 45, nullptr, 46, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_DNet_Offset, 47, nullptr, 48, false, 436, 156, Step_W, Step_H},
    {&Z::Btn_CreateBin, 17, nullptr, 26, true, 80, 288, Step_W, Step_H},
    {&Z::Btn_PROFINET_XML, 50, nullptr, 51, false, 258, 288, Step_W, Step_H},
    {&Z::Btn_PROFIBUS_GSD, 52, nullptr, 53, false, 436, 288, Step_W, Step_H},
    {&Z::Btn_DMX_Default, 56, nullptr, 57, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_KNX_Access, 58, nullptr, 59, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_SNMP_Trap, 60, nullptr, 61, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_SNMP_MIB, 62, nullptr, 63, false, 436, 156, Step_W, Step_H},
    {&Z::Btn_SNMP_Manager_Access, 64, nullptr, 65, false, 258, 200, Step_W, Step_H},
    {&Z::Btn_BACnet_SetAccess, 66, nullptr, 67, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_BACnet_EDE_File, 68, nullptr, 69, false, 436, 156, Step_W, Step_H},
    {&Z::Btn_DALI_Access, 71, nullptr, 72, false, 258, 156, Step_W, Step_H},
    {&Z::Btn_ScanDecode, -1, u"Scan && Decode", -1, false, 436, 112, 166, Step_H},
};

TFont Font_Of(int size, TColor color, bool bold)
{
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(size);
    f.SetColor(color);
    if (bold) f.SetStyle(TFontStyles{fsBold});
    return f;
}

TLabel* New_Label(TForm* form, int left, int top, const TFont& font)
{
    auto* l = new TLabel(form);
    l->SetParent(form);
    l->SetFont(&font);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

// Pictures of the three icon buttons, drawn here rather than shipped as files; the bottom-left
// pixel is the transparent background.
enum class TGlyphKind { Info, Options, Close };

std::unique_ptr<TBitmap> Icon_Glyph(TGlyphKind icon)
{
    constexpr int S = 32;
    constexpr TColor Back = 0xFF00FF;
    auto b = std::make_unique<TBitmap>(S, S);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(Back);
    c->FillRect(TRect{0, 0, S, S});
    c->Pen()->SetWidth(1);
    switch (icon) {
    case TGlyphKind::Info: {
        c->Pen()->SetColor(0x9C5A1E);
        c->Brush()->SetColor(0xC8822D);
        c->Ellipse(2, 2, S - 2, S - 2);
        c->Brush()->SetColor(clWhite);
        c->Pen()->SetColor(clWhite);
        c->Rectangle(14, 7, 18, 11);
        c->Rectangle(14, 13, 18, 25);
        c->Rectangle(12, 13, 14, 15);
        c->Rectangle(12, 23, 20, 25);
        break;
    }
    case TGlyphKind::Options: {
        c->Pen()->SetColor(0x505050);
        c->Brush()->SetColor(0x808080);
        // Teeth, then the wheel over them and the hole in the middle.
        c->Rectangle(13, 1, 19, 31);
        c->Rectangle(1, 13, 31, 19);
        c->Polygon({TPoint{5, 9}, TPoint{9, 5}, TPoint{27, 23}, TPoint{23, 27}});
        c->Polygon({TPoint{23, 5}, TPoint{27, 9}, TPoint{9, 27}, TPoint{5, 23}});
        c->Ellipse(5, 5, S - 5, S - 5);
        c->Brush()->SetColor(Back);
        c->Ellipse(11, 11, S - 11, S - 11);
        break;
    }
    case TGlyphKind::Close: {
        c->Pen()->SetColor(0x1E1EA0);
        c->Brush()->SetColor(0x3232D2);
        c->Ellipse(2, 2, S - 2, S - 2);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clWhite);
        c->Polygon({TPoint{9, 11}, TPoint{11, 9}, TPoint{23, 21}, TPoint{21, 23}});
        c->Polygon({TPoint{21, 9}, TPoint{23, 11}, TPoint{11, 23}, TPoint{9, 21}});
        break;
    }
    }
    b->SetTransparent(true);
    return b;
}

// Pictures beside the captions of the step buttons, by what the step does; drawn here like
// the icons, 16 x 16 on a transparent bottom-left pixel.
enum class TStep_Glyph { New, Open, Parameters, Table, File };

std::unique_ptr<TBitmap> Step_Glyph(TStep_Glyph glyph)
{
    constexpr int S = 16;
    constexpr TColor Back = 0xFF00FF;
    auto b = std::make_unique<TBitmap>(S, S);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(Back);
    c->FillRect(TRect{0, 0, S, S});
    c->Pen()->SetWidth(1);
    auto sheet = [c] {
        // A sheet with its top-right corner folded.
        c->Pen()->SetColor(0x707070);
        c->Brush()->SetColor(clWhite);
        c->Polygon({TPoint{2, 1}, TPoint{10, 1}, TPoint{13, 4}, TPoint{13, 14}, TPoint{2, 14}});
        c->MoveTo(10, 1);
        c->LineTo(10, 4);
        c->LineTo(14, 4);
    };
    switch (glyph) {
    case TStep_Glyph::New:
        sheet();
        c->Pen()->SetColor(0x1E8C1E);
        c->Brush()->SetColor(0x32B432);
        c->Rectangle(9, 7, 12, 16);
        c->Rectangle(6, 10, 15, 13);
        break;
    case TStep_Glyph::Open:
        c->Pen()->SetColor(0x1C7FB0);
        c->Brush()->SetColor(0x3CB4E6);
        c->Rectangle(1, 3, 7, 6);
        c->Rectangle(1, 5, 15, 14);
        c->Brush()->SetColor(0x78D2F5);
        c->Polygon({TPoint{3, 8}, TPoint{15, 8}, TPoint{13, 13}, TPoint{1, 13}});
        break;
    case TStep_Glyph::Parameters:
        // Three sliders.
        c->Pen()->SetColor(0x606060);
        for (int y : {3, 8, 13}) {
            c->MoveTo(1, y);
            c->LineTo(15, y);
        }
        c->Pen()->SetColor(0x9C5A1E);
        c->Brush()->SetColor(0xC8822D);
        c->Rectangle(9, 1, 12, 6);
        c->Rectangle(3, 6, 6, 11);
        c->Rectangle(7, 11, 10, 16);
        break;
    case TStep_Glyph::Table:
        c->Pen()->SetColor(0x707070);
        c->Brush()->SetColor(clWhite);
        c->Rectangle(1, 2, 15, 14);
        c->Brush()->SetColor(0xC8822D);
        c->Rectangle(1, 2, 15, 5);
        for (int y : {7, 10}) {
            c->MoveTo(2, y + 1);
            c->LineTo(14, y + 1);
        }
        c->MoveTo(6, 5);
        c->LineTo(6, 13);
        break;
    case TStep_Glyph::File:
        sheet();
        c->Pen()->SetColor(0x9C5A1E);
        c->Brush()->SetColor(0xC8822D);
        c->Rectangle(6, 5, 9, 10);
        c->Polygon({TPoint{4, 9}, TPoint{10, 9}, TPoint{7, 12}});
        break;
    }
    b->SetTransparent(true);
    return b;
}

const std::pair<TButtonField, TStep_Glyph> Step_Glyphs[] = {
    {&Z::Btn_New, TStep_Glyph::New},
    {&Z::Btn_Open, TStep_Glyph::Open},
    {&Z::Btn_Prm_Gen, TStep_Glyph::Parameters},
    {&Z::Btn_MQTT_Set_Topic, TStep_Glyph::Table},
    {&Z::Btn_MBus, TStep_Glyph::Table},
    {&Z::Btn_Modbus_Set_Access, TStep_Glyph::Table},
    {&Z::Btn_MQTT_Set_Access, TStep_Glyph::Table},
    {&Z::Btn_CAN_Rec_Frame, TStep_Glyph::Table},
    {&Z::Btn_CAN_Send_Frame, TStep_Glyph::Table},
    {&Z::Btn_PDO_CANopen, TStep_Glyph::Table},
    {&Z::Btn_SDO_Client_CANopen, TStep_Glyph::Table},
    {&Z::Btn_SDO_Server_CANopen, TStep_Glyph::Table},
    {&Z::Btn_CANopen_EDS, TStep_Glyph::File},
    {&Z::Btn_DNet_Net, TStep_Glyph::Table},
    {&Z::Btn_DNet_Offset, TStep_Glyph::Table},
    {&Z::Btn_CreateBin, TStep_Glyph::File},
    {&Z::Btn_PROFINET_XML, TStep_Glyph::File},
    {&Z::Btn_PROFIBUS_GSD, TStep_Glyph::File},
    {&Z::Btn_DMX_Default, TStep_Glyph::Parameters},
    {&Z::Btn_KNX_Access, TStep_Glyph::Table},
    {&Z::Btn_SNMP_Trap, TStep_Glyph::Table},
    {&Z::Btn_SNMP_MIB, TStep_Glyph::File},
    {&Z::Btn_SNMP_Manager_Access, TStep_Glyph::Table},
    {&Z::Btn_BACnet_SetAccess, TStep_Glyph::Table},
    {&Z::Btn_BACnet_EDE_File, TStep_Glyph::File},
    {&Z::Btn_DALI_Access, TStep_Glyph::Table},
    {&Z::Btn_ScanDecode, TStep_Glyph::Table},
};

template <class T>
void Set_Lang_Of(T* form)
{
    if (form) form->Set_Lang();
}

} // namespace

TZEVorezudaReruDure::TZEVorezudaReruDure(TComponent* owner) : TLangForm(owner)
{
    ZEVorezudaReruDure = this;
    // 1. The language table starts empty; Load_Language fills it below.
    Lang_Table.clear();
    // 2.
    Lay_Out();
    // 3.
    Init_Program_Dirs(ProgramDir());
    // 4.
    Project_Name.clear();
    Update_Read_Back = true;
    // 5.
    String settings_note;
    Read_Setting(&settings_note);
    // 6.
    Timer_Update->SetEnabled(Enable_Internet && Enable_Update);
    // 7.
    Init_Product_Identity();
    SetCaption(Program_Title);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Desc->SetCaption(SW_Desc);
    // 8.
    Load_Language();
    // 9.
    Restore_Last_Configuration();
    Show_Configuration_Labels();
    // 10. The slave lists and the lists below live until the process ends.
    if (!List_Slave_MBus) List_Slave_MBus = new TList();
    if (!List_Slave_wMBus) List_Slave_wMBus = new TList();
    // 11.
    Set_Lang();
    Set_Files();
    // 12.
    if (!Row_Copy) Row_Copy = new TStringList();
    if (!SNMP_MIB_Read_List) SNMP_MIB_Read_List = new TStringList();
    if (!SNMP_MIB_Write_List) SNMP_MIB_Write_List = new TStringList();
    // A damaged settings file was kept aside; the user hears of it once, here.
    if (!settings_note.empty()) MessageDlg(settings_note, mtWarning, {mbOK});
}

TZEVorezudaReruDure::~TZEVorezudaReruDure()
{
    if (ZEVorezudaReruDure == this) ZEVorezudaReruDure = nullptr;
}

void TZEVorezudaReruDure::Lay_Out()
{
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);

    L_SW_Code = New_Label(this, 16, 8, Font_Of(24, clGray, false));
    L_SW_Desc = New_Label(this, 16, 42, Font_Of(8, clGray, true));
    L_Begin = New_Label(this, 16, 84, Font_Of(8, clGray, true));

    Shape2 = new TShape(this);
    Shape2->SetParent(this);
    Shape2->SetBounds(80, 70, 348, 36);
    Shape2->Pen()->SetColor(clSilver);
    Shape2->Brush()->SetStyle(bsClear);
    L_Name_Conf = New_Label(this, 87, 75, Font_Of(8, clBlack, false));
    L_Name_Conf_L2 = New_Label(this, 87, 88, Font_Of(8, clBlack, true));
    // A long configuration name ends in "..." inside the frame instead of crossing it.
    L_Name_Conf_L2->SetAutoSize(false);
    L_Name_Conf_L2->SetWidth(Shape2->Left() + Shape2->Width() - 6 - L_Name_Conf_L2->Left());
    L_Name_Conf_L2->SetEllipsisPosition(epEndEllipsis);

    for (int n = 1; n <= 8; ++n) {
        TLabel* l = New_Label(this, 16, 128 + 44 * (n - 1), Font_Of(8, clGray, true));
        l->SetVisible(n <= 5);
        L_Step[n - 1] = l;
    }

    L_Varnok = New_Label(this, 565, L_Step[4]->Top(), Font_Of(8, clBlue, false));
    L_Varnok->SetCaption(u"www.varnok.com");
    L_Varnok->SetCursor(crHandPoint);
    L_Varnok->OnClick = [this](TObject*) { Open_Home_Page(); };

    LL_Update = new TLinkLabel(this);
    LL_Update->SetParent(this);
    LL_Update->SetBounds(440, 320, 240, 16);
    LL_Update->SetVisible(false);
    LL_Update->OnLinkClick = [this](TObject*, const String& link, TSysLinkType) { Open_Update_Link(link); };

    for (const TButton_Layout& layout : Buttons) {
        controls::TFadeButton* b = New_Button(this, this, layout.Left, layout.Top, layout.Width, layout.Height);
        if (layout.Design) b->SetCaption(layout.Design);
        b->SetVisible(layout.Shown);
        b->OnClick = [this](TObject* sender) { Btn_Click(sender); };
        this->*layout.Field = b;
    }
    const std::pair<controls::TFadeButton*, TGlyphKind> icons[] = {
        {Btn_Info, TGlyphKind::Info}, {Btn_Opz, TGlyphKind::Options}, {Btn_Close, TGlyphKind::Close}};
    for (const auto& [button, icon] : icons) {
        const std::unique_ptr<TBitmap> glyph = Icon_Glyph(icon);
        button->SetGlyph(glyph.get());
        button->SetNumGlyphs(1);
    }
    for (const auto& [field, kind] : Step_Glyphs) {
        const std::unique_ptr<TBitmap> glyph = Step_Glyph(kind);
        (this->*field)->SetGlyph(glyph.get());
        (this->*field)->SetNumGlyphs(1);
    }

    Shape1 = new TShape(this);
    Shape1->SetParent(this);
    Shape1->SetBounds(10, Btn_CreateBin->Top() + 51, 674, 1);
    Shape1->Pen()->SetColor(clSilver);

    Timer_Update = new TTimer(this);
    Timer_Update->SetEnabled(false);
    Timer_Update->SetInterval(60000);
    Timer_Update->OnTimer = [this](TObject*) { Timer_UpdateTimer(); };

    XML1 = new TXMLDocument(this);
    SaveEDS = new TSaveDialog(this);
    SaveEDS->SetFilter(u"Electronic Data Sheet (*.eds)|*.eds");
    SaveEDS->SetDefaultExt(u"*.eds");
    SD1 = new TSaveDialog(this);
    SD1->SetFilter(u"CSV (MS-DOS) (*.csv)|*.csv");
    SaveMIB = new TSaveDialog(this);
    SaveMIB->SetFilter(u"Management Information Base (*.mib)|*.mib");
    SaveMIB->SetDefaultExt(u"*.mib");

    SetClientSize(694, Btn_CreateBin->Top() + 152);
}

void TZEVorezudaReruDure::Show_Configuration_Labels()
{
    if (!Project_Name.empty()) {
        L_Name_Conf->SetCaption(Lang(11));
        L_Name_Conf_L2->SetCaption(Project_Name);
    } else {
        L_Name_Conf->SetCaption(Lang(9));
        L_Name_Conf_L2->SetCaption(Lang(10));
    }
}

void TZEVorezudaReruDure::Set_Lang()
{
    Note_Set_Lang();
    L_Begin->SetCaption(Lang(0));
    for (int n = 1; n <= 8; ++n) L_Step[n - 1]->SetCaption(Lang(n));
    for (const TButton_Layout& layout : Buttons) {
        controls::TFadeButton* b = this->*layout.Field;
        if (layout.Caption >= 0) b->SetCaption(Lang(layout.Caption));
        if (layout.Hint >= 0) b->SetHint(Lang(layout.Hint));
    }
    Show_Configuration_Labels();
}

void TZEVorezudaReruDure::Set_Files()
{
    ::Set_Files();
}

void TZEVorezudaReruDure::Create_New_Project()
{
    if (FNew_Project->ShowModal() != mrOk) return;
    L_Name_Conf->SetCaption(Lang(11));
    L_Name_Conf_L2->SetCaption(Project_Name);
}

void TZEVorezudaReruDure::Open_Project()
{
    if (FOpenConf->ShowModal() != mrOk) return;
    Open_Configuration(FOpenConf->Name_Conf);
    Show_Configuration_Labels();
}

bool TZEVorezudaReruDure::Save_Setting()
{
    String error;
    if (::Save_Setting(&error)) return true;
    MessageDlg(error, mtError, {mbOK});
    return false;
}

void TZEVorezudaReruDure::Change_Language()
{
    Set_Lang();
    Set_Lang_Of(FNew_Project);
    Set_Lang_Of(FOpenConf);
    Set_Lang_Of(FSoftOptions);
    Set_Lang_Of(FBoot);
    Set_Lang_Of(FParGen);
    Set_Lang_Of(FMQTT_Set_Topic);
    Set_Lang_Of(FMeter_Bus);
    Set_Lang_Of(FNewIDNode);
    Set_Lang_Of(FSetAccess);
    Set_Lang_Of(FModbus_TCP_Master_Set_Access);
    Set_Lang_Of(FReceiveCAN);
    Set_Lang_Of(FTransmitCAN);
    Set_Lang_Of(FSet_PDO_Access);
    Set_Lang_Of(FSet_SDO_Client_Access);
    Set_Lang_Of(FSet_SDO_Server_Access);
    Set_Lang_Of(FReceiveJ1939);
    Set_Lang_Of(FTransmitJ1939);
    Set_Lang_Of(FDNet);
    Set_Lang_Of(FDefOffset);
    Set_Lang_Of(FScanDecode);
    Set_Lang_Of(FInsertKeyWireless);
    Set_Lang_Of(FScanModbusStart);
    Set_Lang_Of(FModbusStartAdd_SD);
    Set_Lang_Of(FProfinetFileName);
    Set_Lang_Of(FReceiveNMEA);
    Set_Lang_Of(FTransmitNMEA);
    Set_Lang_Of(FDMXDefVal);
    Set_Lang_Of(FKNXAccess);
    Set_Lang_Of(FSNMP_Trap_Access);
    Set_Lang_Of(FSNMPManagerAccess);
    Set_Lang_Of(FBACnetSlaveSetAccess);
    Set_Lang_Of(FBACnet_Eng_Unit);
    Set_Lang_Of(FDALI_Access);
    Set_Lang_Of(FBACnetAccess);
    Set_Lang_Of(FImportEDEFile);
}

void TZEVorezudaReruDure::Update_Device()
{
    // A read error of the build propagates: the top-level handler shows its text and no
    // image file is written.
    image::Build_Bin_Config();
    const image::TSave_Result saved = image::Save_Bin_Config();
    if (!saved.Ok) {
        // Updating the converter with an old or missing image would be worse than stopping.
        MessageDlg(u"Error! The configuration file could not be written: " + saved.File + u"\n" + saved.Reason,
                   mtError, {mbOK});
        return;
    }
    FBoot->Form_Type = 1;
    FBoot->ShowModal();
}

void TZEVorezudaReruDure::Build_EDS_File()
{
    SaveEDS->SetInitialDir(Project_Dir);
    if (SaveEDS->Execute()) Write_EDS_File(SaveEDS->FileName());
}

void TZEVorezudaReruDure::PROFINET_XML()
{
    if (FProfinetFileName->ShowModal() == mrOk) Save_GSDML_File(FProfinetFileName->Name_File_XML);
}

void TZEVorezudaReruDure::BACnet_EDE_File()
{
    SD1->SetInitialDir(Project_Dir);
    if (!SD1->Execute()) return;
    String name = SD1->FileName();
    const String tail = name.size() >= 4 ? UpperCase(name.substr(name.size() - 4)) : UpperCase(name);
    if (tail != u".CSV") name += u".csv";
    if (FileExists(name) && MessageDlg(Lang(70), mtConfirmation, mbYesNoCancel) != mrYes) return;
    Create_EDE_File(name);
}

int TZEVorezudaReruDure::Get_Type_BACnet()
{
    if (!FileExists(File_ParGen)) return 0;
    try {
        XML1->LoadFromFile(File_ParGen);
        IXMLNode root = XML1->ChildNodes().First();
        if (!root) return 0;
        IXMLNode node = root.ChildNodes().FindNode(u"BACnet_Type");
        if (!node) return 0;
        return StrToIntDef(node.Text(), 0);
    } catch (const std::exception&) {
        return 0;
    }
}

void TZEVorezudaReruDure::Btn_Click(TObject* Sender)
{
    if (Sender == Btn_New) return Create_New_Project();
    if (Sender == Btn_Open) return Open_Project();
    if (Sender == Btn_Close) return Close();
    if (Sender == Btn_Info) {
        FAbout->ShowModal();
        return;
    }
    if (Sender == Btn_Opz) {
        if (FSoftOptions->ShowModal() == mrOk) {
            Save_Setting();
            Timer_Update->SetEnabled(Enable_Internet && Enable_Update);
        }
        return;
    }
    if (Project_Dir.empty()) {
        MessageDlg(Lang(18), mtError, {mbOK});
        return;
    }
    if (Sender == Btn_Prm_Gen) FParGen->ShowModal();
    else if (Sender == Btn_MQTT_Set_Topic) FMQTT_Set_Topic->ShowModal();
    else if (Sender == Btn_MBus) FMeter_Bus->ShowModal();
    else if (Sender == Btn_Modbus_Set_Access) FSetAccess->ShowModal();
    else if (Sender == Btn_MQTT_Set_Access) FMQTT_Set_Access->ShowModal();
    else if (Sender == Btn_CAN_Rec_Frame) FReceiveCAN->ShowModal();
    else if (Sender == Btn_CAN_Send_Frame) FTransmitCAN->ShowModal();
    else if (Sender == Btn_PDO_CANopen) FSet_PDO_Access->ShowModal();
    else if (Sender == Btn_SDO_Client_CANopen) FSet_SDO_Client_Access->ShowModal();
    else if (Sender == Btn_SDO_Server_CANopen) FSet_SDO_Server_Access->ShowModal();
    else if (Sender == Btn_CANopen_EDS) Build_EDS_File();
    else if (Sender == Btn_DNet_Net) FDNet->ShowModal();
    else if (Sender == Btn_DNet_Offset) FDefOffset->ShowModal();
    else if (Sender == Btn_CreateBin) Update_Device();
    else if (Sender == Btn_PROFINET_XML) PROFINET_XML();
    else if (Sender == Btn_PROFIBUS_GSD) Create_GSD_File();
    else if (Sender == Btn_DMX_Default) FDMXDefVal->ShowModal();
    else if (Sender == Btn_KNX_Access) FKNXAccess->ShowModal();
    else if (Sender == Btn_SNMP_Trap) FSNMP_Trap_Access->ShowModal();
    else if (Sender == Btn_SNMP_MIB) Create_SNMP_MIB(*SaveMIB);
    else if (Sender == Btn_SNMP_Manager_Access) FSNMPManagerAccess->ShowModal();
    else if (Sender == Btn_BACnet_SetAccess) FBACnetSlaveSetAccess->ShowModal();
    else if (Sender == Btn_BACnet_EDE_File) BACnet_EDE_File();
    else if (Sender == Btn_DALI_Access) FDALI_Access->ShowModal();
    else if (Sender == Btn_ScanDecode) {
        if (FileExists(File_M_Bus) && MessageDlg(Lang(49), mtWarning, mbYesNo) == mrNo) return;
        FScanDecode->XML_Code_Dev = ScanDecode_XML_Code_Dev();
        FScanDecode->FileName_MBus = File_M_Bus;
        FScanDecode->Form_Type = ScanDecode_Form_Type();
        FScanDecode->ShowModal();
    }
}

void TZEVorezudaReruDure::DoShow()
{
    Check_Configuration();
    TLangForm::DoShow();
}

void TZEVorezudaReruDure::DoClose(TCloseAction& Action)
{
    Save_Setting();
    TLangForm::DoClose(Action);
}

void TZEVorezudaReruDure::Open_Home_Page()
{
    ShellOpen(Home_Page_URL);
}

void TZEVorezudaReruDure::Open_Update_Link(const String& link)
{
    ShellOpen(link);
}

void TZEVorezudaReruDure::Timer_UpdateTimer()
{
    // Off while the (blocking) check runs, so the next check counts from its end.
    Timer_Update->SetEnabled(false);
    if (Check_Version()) {
        LL_Update->SetCaption(String(u"<a href=\"") + Download_Page_URL + u"\">" + Lang(19) + u"</a>");
        LL_Update->SetVisible(true);
    } else {
        LL_Update->SetVisible(false);
    }
    Timer_Update->SetInterval(7200000);
    Timer_Update->SetEnabled(true);
}

