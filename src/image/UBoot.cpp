#include "UBoot.h"

#include <exception>
#include <vector>

#include "UAddressEntry.h"
#include "UComon.h"
#include "UStart_Program.h"
#include "plat/Clock.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/Grids.h"
#include "plat/IcmpClient.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TFBoot* FBoot = nullptr;
const char16_t* const Ping_Payload = u"abcdefghijklmnopqrstuvwa";

namespace {

constexpr int Client_Width = 449;
constexpr std::uint32_t Ping_Pause_Ms = 10;

TPanel* New_Panel(TFBoot* form, int top, int height)
{
    auto* p = new TPanel(form);
    p->SetParent(form);
    p->SetBevelOuter(bvNone);
    p->SetBounds(0, top, Client_Width, height);
    p->SetVisible(false);
    return p;
}

TLabel* New_Label(TFBoot* form, TWinControl* parent, int left, int top, const String& caption)
{
    auto* l = new TLabel(form);
    l->SetParent(parent);
    l->SetLeft(left);
    l->SetTop(top);
    l->SetCaption(caption);
    return l;
}

TEdit* New_IP_Edit(TFBoot* form, TWinControl* parent, int left)
{
    auto* e = new TEdit(form);
    e->SetParent(parent);
    e->SetBounds(left, 14, 40, 21);
    e->SetText(u"0");
    e->SetShowHint(true);
    Attach_Address_Field(e, [form](TObject* Sender, char16_t& Key) { form->KeyPress(Sender, Key); });
    return e;
}

// Clears a flag when the scope ends, however it ends.
struct Flag_Scope {
    explicit Flag_Scope(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flag_Scope() { flag_ = false; }
    bool& flag_;
};

} // namespace

TFBoot::TFBoot(TComponent* owner) : TDialogForm(owner)
{
    FBoot = this;
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    Btn_Update = Btn_OK;
    Btn_Update->SetKind(controls::TFadeButtonKind::bkCustom);
    Btn_Update->SetModalResult(mrNone);
    Btn_Update->SetBounds(16, 6, 190, 28);
    Btn_Update->OnClick = [this](TObject* Sender) { Btn_UpdateClick(Sender); };
    Btn_Cancel->SetLeft(Client_Width - 16 - 110);

    // The panels between title and buttons; FormShow shows and stacks those of the mode.
    P_IP_Address = New_Panel(this, 69, 49);
    L_IP_Address = New_Label(this, P_IP_Address, 16, 18, u"Insert the IP Address of Device");
    E_IP1 = New_IP_Edit(this, P_IP_Address, 241);
    New_Label(this, P_IP_Address, 284, 20, u".");
    E_IP2 = New_IP_Edit(this, P_IP_Address, 289);
    New_Label(this, P_IP_Address, 332, 20, u".");
    E_IP3 = New_IP_Edit(this, P_IP_Address, 337);
    New_Label(this, P_IP_Address, 380, 20, u".");
    E_IP4 = New_IP_Edit(this, P_IP_Address, 385);

    P_Eth_Search = New_Panel(this, 118, 184);
    L_List_Device = New_Label(this, P_Eth_Search, 16, 10, u"List of Devices");
    Btn_Search = New_Button(this, P_Eth_Search, Client_Width - 16 - 110, 4, 110, 25);
    ACG_List_Devices = new TStringGrid(this);
    ACG_List_Devices->SetParent(P_Eth_Search);
    ACG_List_Devices->SetBounds(16, 34, Client_Width - 32, 120);
    ACG_List_Devices->SetColCount(2);
    ACG_List_Devices->SetRowCount(2);
    ACG_List_Devices->SetFixedCols(0);
    ACG_List_Devices->SetFixedRows(1);
    CB_Find_All_VNK = new TCheckBox(this);
    CB_Find_All_VNK->SetParent(P_Eth_Search);
    CB_Find_All_VNK->SetBounds(16, 160, Client_Width - 32, 17);

    P_Options = New_Panel(this, 302, 72);
    L_Update_Option = New_Label(this, P_Options, 16, 14, u"Select Update Options");
    CB_Update_Options = new TComboBox(this);
    CB_Update_Options->SetParent(P_Options);
    CB_Update_Options->SetStyle(csDropDownList);
    CB_Update_Options->SetBounds(241, 10, 184, 21);
    CB_Update_Options->SetShowHint(true);
    CB_Update_Option_Read_Back = new TCheckBox(this);
    CB_Update_Option_Read_Back->SetParent(P_Options);
    CB_Update_Option_Read_Back->SetBounds(241, 42, 184, 17);
    CB_Update_Option_Read_Back->SetChecked(true);
    CB_Update_Option_Read_Back->SetShowHint(true);

    P_Serial = New_Panel(this, 69, 51);
    L_COM_Port = New_Label(this, P_Serial, 16, 18, u"Select the COM port for the Update");
    CB_COM_Port = new TComboBox(this);
    CB_COM_Port->SetParent(P_Serial);
    CB_COM_Port->SetStyle(csDropDownList);
    CB_COM_Port->SetBounds(241, 14, 110, 21);
    Btn_COM_List = New_Button(this, P_Serial, 359, 12, 66, 25);
    Btn_COM_List->SetCaption(u"Refresh");
    Btn_COM_List->SetHint(u"Update COM Ports List");
    Btn_COM_List->OnClick = [this](TObject* Sender) { Btn_COM_ListClick(Sender); };

    Ping = new TIcmpClient(this);
    Ping->SetReceiveTimeout(Ping_Timeout_Ms);
    Ping->SetPacketSize(1024);
    Ping->OnReply = [this](TObject* Sender, const TReplyStatus& s) { PingReply(Sender, s); };
    XML1 = new TXMLDocument(this);

    SetClientSize(Client_Width, 69 + 40);
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
    L_IP_Address->SetCaption(Lang(1006));
    E_IP1->SetHint(Lang(1021));
    E_IP2->SetHint(Lang(1022));
    E_IP3->SetHint(Lang(1023));
    E_IP4->SetHint(Lang(1024));
    L_Update_Option->SetCaption(Lang(1014));
    CB_Update_Options->Items()->Clear();
    CB_Update_Options->Items()->Add(Lang(1015));
    CB_Update_Options->Items()->Add(Lang(1016));
    CB_Update_Options->Items()->Add(Lang(1017));
    CB_Update_Options->SetItemIndex(0);
    CB_Update_Options->SetHint(Lang(1032));
    CB_Update_Option_Read_Back->SetCaption(Lang(1018));
    CB_Update_Option_Read_Back->SetHint(Lang(1033));
    Btn_Cancel->SetCaption(Lang(1019));
    Btn_Cancel->SetHint(Lang(1034));
    Btn_Update->SetCaption(Lang(1020));
    Btn_Update->SetHint(Lang(1035));
    L_List_Device->SetCaption(Lang(1009));
    Btn_Search->SetCaption(Lang(1010));
    Btn_Search->SetHint(Lang(1029));
    ACG_List_Devices->SetCells(0, 0, Lang(1011));
    ACG_List_Devices->SetCells(1, 0, Lang(1012));
    ACG_List_Devices->SetHint(Lang(1030));
    CB_Find_All_VNK->SetCaption(Lang(1013));
    CB_Find_All_VNK->SetHint(Lang(1031));
}

void TFBoot::DoShow()
{
    FormShow(this);
    TDialogForm::DoShow();
}

void TFBoot::FormShow(TObject*)
{
    Set_Lang();
    L_SW_Code->SetCaption(SW_Code);
    for (TPanel* p : {P_IP_Address, P_Eth_Search, P_Options, P_Serial}) {
        p->SetVisible(false);
        p->SetAlign(alNone);
    }
    if (Form_Type == 1) {
        P_IP_Address->SetVisible(true);
        P_Options->SetVisible(true);
        // Stacked under the title in this order: the alignment keeps the current order.
        P_IP_Address->SetTop(P_Title->Height());
        P_Eth_Search->SetTop(P_IP_Address->Top() + P_IP_Address->Height());
        P_Options->SetTop(P_Eth_Search->Top() + P_Eth_Search->Height());
        SetClientSize(Client_Width,
                      P_Title->Height() + P_IP_Address->Height() + P_Options->Height() + P_Button->Height());
        for (TPanel* p : {P_IP_Address, P_Eth_Search, P_Options}) p->SetAlign(alTop);
        P_Title->SetTabOrder(0);
        P_IP_Address->SetTabOrder(1);
        P_Eth_Search->SetTabOrder(2);
        P_Options->SetTabOrder(3);
        P_Button->SetTabOrder(4);
        P_Serial->SetTabOrder(5);
        String p1, p2, p3, p4;
        if (!Last_IP_Address.empty() && Split_IP_Address(Last_IP_Address, p1, p2, p3, p4)) {
            E_IP1->SetText(p1);
            E_IP2->SetText(p2);
            E_IP3->SetText(p3);
            E_IP4->SetText(p4);
        }
        CB_Update_Options->SetItemIndex(Update_Option);
        CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
        if (E_IP1->CanFocus()) E_IP1->SetFocus();
        else SetActiveControl(E_IP1);
    } else if (Form_Type == 0) {
        P_Serial->SetVisible(true);
        P_Options->SetVisible(true);
        P_Serial->SetTop(P_Title->Height());
        P_Options->SetTop(P_Serial->Top() + P_Serial->Height());
        SetClientSize(Client_Width, P_Title->Height() + P_Serial->Height() + P_Options->Height() + P_Button->Height());
        P_Serial->SetAlign(alTop);
        P_Options->SetAlign(alTop);
        P_Title->SetTabOrder(0);
        P_Serial->SetTabOrder(1);
        P_Options->SetTabOrder(2);
        P_Button->SetTabOrder(3);
        P_IP_Address->SetTabOrder(4);
        P_Eth_Search->SetTabOrder(5);
        CB_Update_Options->SetItemIndex(Update_Option);
        CB_Update_Option_Read_Back->SetChecked(Update_Read_Back);
        update_ComPort();
        if (CB_COM_Port->CanFocus()) CB_COM_Port->SetFocus();
        else SetActiveControl(CB_COM_Port);
    }
}

void TFBoot::KeyPress(TObject* Sender, char16_t& Key)
{
    TEdit* next = nullptr;
    if (Sender == E_IP1) next = E_IP2;
    else if (Sender == E_IP2) next = E_IP3;
    else if (Sender == E_IP3) next = E_IP4;
    Address_Dot_Key(Key, next);
}

String TFBoot::IP_Address_Text() const
{
    return E_IP1->Text() + u"." + E_IP2->Text() + u"." + E_IP3->Text() + u"." + E_IP4->Text();
}

void TFBoot::PingReply(TObject*, const TReplyStatus& ReplyStatus)
{
    ping_res = ReplyStatus.BytesReceived > 0 ? 1 : 2;
}

bool TFBoot::Send_Ping()
{
    ping_res = 0;
    check_cancelled_ = false;
    const std::uint32_t start = GetTickCount();
    // Cancel and the close box set the modal result while the check runs; the check then
    // stops at once instead of writing the job for a window the user has left.
    auto cancelled = [this] {
        if (Modal() && ModalResult() != mrNone) check_cancelled_ = true;
        return check_cancelled_;
    };
    try {
        Ping->SetHost(IP_Address_Text());
        int answered = 0;
        for (;;) {
            const std::uint32_t try_start = GetTickCount();
            Ping->Ping(Ping_Payload);
            // ping_res is not cleared between tries: once any status has come, one pause
            // ends the wait and the try counts by the last status reported.
            do {
                plat::Sleep(Ping_Pause_Ms);
                Application->ProcessMessages();
                if (cancelled()) return false;
            } while (ping_res == 0 && TicksSince(try_start) <= static_cast<std::uint32_t>(Ping_Timeout_Ms));
            if (ping_res == 1) ++answered;
            if (answered >= 2) break;
            if (TicksSince(start) > Ping_Check_Ms) break;
        }
    } catch (const std::exception&) {
        return false;
    }
    return ping_res == 1;
}

void TFBoot::Btn_UpdateClick(TObject*)
{
    if (Form_Type == 1) {
        // The check processes messages: a second click must not start a check inside it.
        if (checking_) return;
        bool found = false;
        {
            Flag_Scope scope(checking_);
            found = Send_Ping();
        }
        if (check_cancelled_) return;
        if (!found) {
            if (ping_res == 2) MessageDlg(Lang(1036), mtWarning, {mbOK});
            else MessageDlg(Lang(1037), mtError, {mbOK});
            return;
        }
        Last_IP_Address = IP_Address_Text();
        Update_Option = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
        // A job that cannot be written raises: the application's handler shows why, and
        // the update program is not started with an old or missing job.
        Compile_XML_Parameter_New_Boot();
        const String program = Program_Dir + u"/Ethernet_Update.exe";
        String error;
        if (!Start_Program(program, String(), false, &error))
            MessageDlg(u"Error! The update program could not be started: " + program + (error.empty() ? u"" : u"\n") +
                           error,
                       mtError, {mbOK});
    } else if (Form_Type == 0) {
        Update_Option = CB_Update_Options->ItemIndex();
        Update_Read_Back = CB_Update_Option_Read_Back->Checked();
    }
}

void TFBoot::Btn_COM_ListClick(TObject*)
{
    update_ComPort();
}

void TFBoot::update_ComPort()
{
    CB_COM_Port->Items()->Clear();
    for (const String& n : List_COM_Ports()) CB_COM_Port->Items()->Add(u"COM" + n);
    CB_COM_Port->SetItemIndex(CB_COM_Port->Items()->Count() > 0 ? 0 : -1);
}

void TFBoot::Compile_XML_Parameter_New_Boot()
{
    Write_Job(false);
}

void TFBoot::Compile_XML_Parameter()
{
    Write_Job(true);
}

void TFBoot::Write_Job(bool older)
{
    const int option = CB_Update_Options->ItemIndex();
    const String read_back = CB_Update_Option_Read_Back->Checked() ? u"1" : u"0";

    XML1->SetActive(true);
    XML1->Clear();
    auto add = [](IXMLNode parent, StringView name, const String& text) {
        IXMLNode n = parent.AddChild(name);
        if (!text.empty()) n.SetText(text);
        return n;
    };
    IXMLNode root = XML1->AddChild(u"Ethernet_Update");
    add(root, u"Version", u"1000");
    add(root, u"Title", u"www.varnok.com - QR40518 Ethernet Update");
    add(root, u"IP_Address_Dev", IP_Address_Text());
    add(root, u"Application_Port", u"10000");
    add(root, u"Boot_Port", u"2008");
    add(root, u"Boot_Port_Sec", u"2007");
    add(root, u"Address_Protection", older ? u"0x78000" : u"0x07800");
    IXMLNode protections = root.AddChild(u"Protections");
    add(protections, u"Protection", u"0x2C9");
    if (!older) {
        add(protections, u"Protection", u"0x3A4");
        add(protections, u"Protection", u"0x15B");
    }

    struct Image {
        String file;
        const char16_t* start;
        const char16_t* bank_type;
        const char16_t* write_css;
        const char16_t* go_to_app_after;
        bool firmware;
    };
    std::vector<Image> images;
    if (option == 0 || option == 1)
        images.push_back({Master_Dir + u"/Sim40518.sim", u"0x8000", u"1", u"1", option == 1 ? u"1" : u"0", true});
    if (option == 0 || option == 2) {
        images.push_back({Project_Dir + u"/bin/bank1.bin", older ? u"0x68000" : u"0x07000", u"2", u"0", u"0", false});
        images.push_back({Project_Dir + u"/bin/bank2.bin", u"0x80000", u"2", u"0", u"1", false});
    }
    IXMLNode operations = root.AddChild(u"Operations");
    for (const Image& i : images) {
        IXMLNode op = operations.AddChild(u"Operation");
        add(op, u"Ope_Protection_Enabled", u"");
        add(op, u"Ope_GoToBoot_Before", u"0");
        add(op, u"Ope_GoToApp_Before", u"0");
        add(op, u"Ope_IP_Address", u"");
        add(op, u"Ope_Port", u"2008");
        add(op, u"Ope_Port_Sec", u"2007");
        add(op, u"Ope_Erase_Memory", u"0");
        add(op, u"Ope_FileName", i.file);
        add(op, u"Ope_Start_Address", i.start);
        add(op, u"Ope_Memory_Type", u"0");
        add(op, u"Ope_Bank_Type", i.bank_type);
        add(op, u"Ope_Read_Back", read_back);
        add(op, u"Ope_Write_CSS", i.write_css);
        const char16_t* address_css = !older ? u"0x07A00" : i.firmware ? u"0x78100" : u"0x50100";
        add(op, u"Ope_Address_CSS", address_css);
        add(op, u"Ope_Command_CSS", older ? u"0x0B" : u"0x02");
        if (!older || !i.firmware) {
            add(op, u"Ope_Write_Internal_Data", u"0");
            add(op, u"Ope_WID_Address", older ? u"0x78200" : u"0x07810");
            add(op, u"Ope_WID_Command", older ? u"0x0B" : u"0x02");
            add(op, u"Ope_WID_Data", u"0x00, 0x00, 0x00, 0x01");
        }
        add(op, u"Ope_GoToApp_After", i.go_to_app_after);
    }
    XML1->SaveToFile(Program_Dir + u"/Ethernet_Update.xml");
}

int TFBoot::Get_Type_Dev()
{
    if (!FileExists(File_ParGen)) return 0;
    XML1->LoadFromFile(File_ParGen);
    IXMLNode root = XML1->ChildNodes().First();
    if (!root) return 0;
    IXMLNode node = root.ChildNodes().FindNode(u"BACnet_Type");
    if (!node) return 0;
    int value = 0;
    return TryStrToInt(node.Text(), value) ? value : 0;
}
