#include "UParGen.h"

#include <initializer_list>

#include "UAddressEntry.h"
#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

TFParGen* FParGen = nullptr;

namespace {

constexpr const char16_t* Version_Stamp = u"SW_VERSION = 1.114";
// No text of the language table says this; the picker must not leave the user believing a
// certificate is in the configuration when it is not.
constexpr const char16_t* Copy_Failed_Text = u"Error! The file could not be copied into the Certificates folder";
constexpr const char16_t* Overwrite_Text =
    u"This file is already present in Certificates folder. Do you want to overwrite?";

constexpr int Label_Left = 14;
constexpr int Field_Left = 191;
constexpr int Field_Width = 238;
constexpr int Edit_Height = 21;
constexpr int Combo_Height = 22;
constexpr int Rich_Height = 23;
constexpr int Check_Height = 17;
constexpr int Check_Width = 415;
constexpr int Gateway_Check_Width = 175;
constexpr int Byte_Lefts[4] = {191, 252, 313, 374};
constexpr int Dot_Lefts[3] = {247, 308, 369};

// Builds the controls of one panel: every control is named, placed on the panel's surface
// and wired to the window's change, click and key handlers.
class TBuilder {
public:
    TBuilder(TFParGen* form, TCategoryPanel* panel) : form_(form), parent_(panel->Surface()) {}

    TLabel* Label(const char16_t* name, int top)
    {
        auto* l = new TLabel(form_);
        l->SetName(name);
        l->SetParent(parent_);
        l->SetLeft(Label_Left);
        l->SetTop(top);
        return l;
    }
    TEdit* Edit(const char16_t* name, int label_top, int width = Field_Width)
    {
        auto* e = new TEdit(form_);
        Setup_Edit(e, name, Field_Left, label_top - 3, width, Edit_Height);
        return e;
    }
    TRichEdit* Rich(const char16_t* name, int top, int width)
    {
        auto* e = new TRichEdit(form_);
        e->SetWordWrap(false);
        e->SetWantReturns(false);
        Setup_Edit(e, name, Field_Left, top, width, Rich_Height);
        return e;
    }
    TComboBox* Combo(const char16_t* name, int label_top, std::initializer_list<const char16_t*> items = {})
    {
        auto* c = new TComboBox(form_);
        c->SetName(name);
        c->SetParent(parent_);
        c->SetStyle(csDropDownList);
        c->SetBounds(Field_Left, label_top - 3, Field_Width, Combo_Height);
        for (const char16_t* item : items) c->Items()->Add(item);
        if (c->Items()->Count() > 0) c->SetItemIndex(0);
        TFParGen* form = form_;
        c->OnChange = [form](TObject* s) { form->On_Change(s); };
        return c;
    }
    TCheckBox* Check(const char16_t* name, int top, int width = Check_Width, int left = Label_Left)
    {
        auto* c = new TCheckBox(form_);
        c->SetName(name);
        c->SetParent(parent_);
        c->SetBounds(left, top, width, Check_Height);
        TFParGen* form = form_;
        c->OnClick = [form](TObject* s) { form->On_Click(s); };
        return c;
    }
    // Four byte edits named prefix + 1..4 with their dots; edits at edit_top, dots at dot_top.
    TAddress_Row Address(const String& prefix, int edit_top, int dot_top, std::array<TEdit**, 4> out)
    {
        TAddress_Row row;
        for (int i = 0; i < 4; ++i) {
            auto* e = new TEdit(form_);
            Setup_Edit(e, prefix + IntToStr(i + 1), Byte_Lefts[i], edit_top, 55, Edit_Height);
            TFParGen* form = form_;
            Attach_Address_Field(e, [form](TObject* s, char16_t& k) { form->KeyPress(s, k); });
            row.E[static_cast<size_t>(i)] = e;
            *out[static_cast<size_t>(i)] = e;
        }
        for (int i = 0; i < 3; ++i) {
            auto* d = new TLabel(form_);
            d->SetName(prefix + u"_Dot" + IntToStr(i + 1));
            d->SetParent(parent_);
            d->SetAutoSize(false);
            d->SetBounds(Dot_Lefts[i], dot_top, 4, 13);
            d->SetCaption(u".");
            row.Dot[static_cast<size_t>(i)] = d;
        }
        return row;
    }
    controls::TFadeButton* Browse(const char16_t* name, int top)
    {
        controls::TFadeButton* b = New_Button(form_, parent_, 406, top, 23, 23);
        b->SetName(name);
        b->SetCaption(u"...");
        TFParGen* form = form_;
        b->OnClick = [form](TObject* s) { form->Btn_OnCertificate(s); };
        return b;
    }

private:
    void Setup_Edit(TCustomEdit* e, const String& name, int left, int top, int width, int height)
    {
        e->SetName(name);
        e->SetParent(parent_);
        e->SetBounds(left, top, width, height);
        TFParGen* form = form_;
        e->OnChange = [form](TObject* s) { form->On_Change(s); };
    }

    TFParGen* form_;
    TWinControl* parent_;
};

// Mobile PIN fields take digits only (control keys such as Backspace pass).
void Digits_Only(TObject*, char16_t& key)
{
    if (key >= u' ' && (key < u'0' || key > u'9')) key = 0;
}

bool Read_Int(const TXMLValue& value, int& number)
{
    return !value.IsNull() && TryStrToInt(value.AsString(), number);
}

} // namespace

// ---- address rows ---------------------------------------------------------------------

void TAddress_Row::Place(int edit_top, int dot_top) const
{
    for (TEdit* e : E) e->SetTop(edit_top);
    for (TLabel* d : Dot) d->SetTop(dot_top);
}

void TAddress_Row::Set_Visible(bool visible) const
{
    for (TEdit* e : E) e->SetVisible(visible);
    for (TLabel* d : Dot) d->SetVisible(visible);
}

void TAddress_Row::Set_Enabled(bool enabled) const
{
    for (TEdit* e : E) e->SetEnabled(enabled);
}

void TWiFi_Block::Place(int r) const
{
    L_IP->SetTop(r);
    IP.Place(r - 3, r);
    L_SM->SetTop(r + 28);
    SM.Place(r + 25, r + 28);
    CB_GAT->SetTop(r + 56);
    GAT.Place(r + 54, r + 56);
}

void TWiFi_Block::Set_Visible(bool visible) const
{
    L_IP->SetVisible(visible);
    IP.Set_Visible(visible);
    L_SM->SetVisible(visible);
    SM.Set_Visible(visible);
    CB_GAT->SetVisible(visible);
    GAT.Set_Visible(visible);
}

void TWiFi_Block::Set_Enabled(bool enabled) const
{
    IP.Set_Enabled(enabled);
    SM.Set_Enabled(enabled);
    CB_GAT->SetEnabled(enabled);
    GAT.Set_Enabled(enabled);
}

// ---- creation ----------------------------------------------------------------------------

TFParGen::TFParGen(TComponent* owner)
    : TDialogForm(owner, u"Set Communication", {400, 401, 402, 403, 404, 405}, 460, 700)
{
    FParGen = this;
    SetBorderIcons(biSystemMenu);
    SetBorderStyle(bsSizeable);
    L_SW_Code->SetCaption(SW_Code);
    L_SW_Code->SetTop(8);
    L_SW_Code->Font()->SetHeight(-32);
    L_SW_Desc->SetTop(42);
    L_SW_Desc->Font()->SetHeight(-11);
    // OK validates before anything closes the window.
    Btn_OK->SetModalResult(mrNone);
    Btn_OK->OnClick = [this](TObject* s) { Btn_OKClick(s); };
    Btn_OK->SetLeft(215);
    Btn_OK->SetAnchors(akTop | akRight);
    Btn_Cancel->SetLeft(333);
    Btn_Cancel->SetAnchors(akTop | akRight);

    Create_Controls();
    Create_Bindings();

    SetClientWidth(460);
    SetClientHeight(700);
    for (int i = 0; i < CPG->PanelCount(); ++i) CPG->Panels(i)->SetVisible(false);
    Order_TAB_Panels();
    Move_GroupBoxs();
    Set_Lang();

    OD_Certificate = new TOpenDialog(this);
    OD_Certificate->SetFilter(u"Any Files (*.*)|*.*");
    // Taken once, from the configuration open at start-up.
    OD_Certificate->SetInitialDir(Project_Dir + u"/Certificates");

    OnShow = [this](TObject* s) { FormShow(s); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnMouseWheel = [this](TObject* s, TShiftState sh, int d, TPoint p, bool& h) { FormMouseWheel(s, sh, d, p, h); };
}

TFParGen::~TFParGen()
{
    if (FParGen == this) FParGen = nullptr;
}

void TFParGen::Create_Controls()
{
    CPG = new TCategoryPanelGroup(this);
    CPG->SetName(u"CPG");
    CPG->SetParent(this);
    CPG->SetAlign(alClient);
    CPG->SetColor(Program_Color);
    CPG->SetGradientBaseColor(RGB(231, 216, 216));
    CPG->SetGradientColor(RGB(231, 216, 216));
    CPG->SetChevronHotColor(clRed);
    CPG->HeaderFont()->SetName(u"Verdana");
    CPG->HeaderFont()->SetHeight(-15);
    CPG->HeaderFont()->SetStyle(TFontStyles{fsBold});
    CPG->HeaderFont()->SetColor(clGray);

    // Header pictures: 0 while a panel is open, 1 while it is closed.
    auto* images = new TImageList(this);
    images->SetName(u"ImageList1");
    for (bool open : {true, false}) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        b.Canvas()->Brush()->SetColor(RGB(255, 128, 0));
        b.Canvas()->Pen()->SetColor(RGB(255, 128, 0));
        if (open) b.Canvas()->Polygon({TPoint{3, 5}, TPoint{12, 5}, TPoint{7, 11}});
        else b.Canvas()->Polygon({TPoint{5, 3}, TPoint{11, 8}, TPoint{5, 13}});
        images->AddMasked(&b, clWhite);
    }
    CPG->SetImages(images);

    auto panel = [this](const char16_t* name) {
        TCategoryPanel* p = CPG->CreatePanel(this);
        p->SetName(name);
        p->SetColor(Program_Color);
        p->SetExpandedImageIndex(0);
        p->SetCollapsedImageIndex(1);
        return p;
    };
    // The panels in the window's design order; the model's routine orders what it shows.
    CP_Working_Mode = panel(u"CP_Working_Mode");
    CP_MBus = panel(u"CP_MBus");
    CP_wMBus = panel(u"CP_wMBus");
    CP_MQTT = panel(u"CP_MQTT");
    CP_Ethernet = panel(u"CP_Ethernet");
    CP_WiFi = panel(u"CP_WiFi");
    CP_TLS = panel(u"CP_TLS");
    CP_NTP = panel(u"CP_NTP");
    CP_Modbus_Master = panel(u"CP_Modbus_Master");
    CP_Modbus_TCP_Master = panel(u"CP_Modbus_TCP_Master");
    CP_Modbus_Slave = panel(u"CP_Modbus_Slave");
    CP_Modbus_TCP_Slave = panel(u"CP_Modbus_TCP_Slave");
    CP_CAN = panel(u"CP_CAN");
    CP_CANopen = panel(u"CP_CANopen");
    CP_J1939 = panel(u"CP_J1939");
    CP_DeviceNet_Master = panel(u"CP_DeviceNet_Master");
    CP_DeviceNet_Slave = panel(u"CP_DeviceNet_Slave");
    CP_EtherNetIP = panel(u"CP_EtherNetIP");
    CP_PROFINET = panel(u"CP_PROFINET");
    CP_PROFIBUS = panel(u"CP_PROFIBUS");
    CP_NMEA2000 = panel(u"CP_NMEA2000");
    CP_DMX = panel(u"CP_DMX");
    CP_KNX = panel(u"CP_KNX");
    CP_SNMP_Agent = panel(u"CP_SNMP_Agent");
    CP_SNMP_Manager = panel(u"CP_SNMP_Manager");
    CP_BACnet_Slave = panel(u"CP_BACnet_Slave");
    CP_Serial = panel(u"CP_Serial");
    CP_DALI = panel(u"CP_DALI");
    CP_GSM_GPRS = panel(u"CP_GSM_GPRS");
    CP_BACnet_Master = panel(u"CP_BACnet_Master");
    CP_Select_Device = panel(u"CP_Select_Device");
    CP_Ethernet_Connection = panel(u"CP_Ethernet_Connection");
    CP_WiFi2 = panel(u"CP_WiFi2");
    CP_MQTT->OnExpand = [this](TObject* s) { CP_Expand(s); };

    {
        TBuilder b(this, CP_Select_Device);
        L_Select_Device_Device = b.Label(u"L_Select_Device_Device", 12);
        // Fixed items, the same in every language.
        CB_Select_Device_Device = b.Combo(u"CB_Select_Device_Device", 12,
                                          {u"Only Ethernet Cable ", u"Ethernet Cable + Wi-Fi",
                                           u"Ethernet Cable + Mobile Connection"});
    }
    {
        TBuilder b(this, CP_Ethernet_Connection);
        L_EthConn_Device_Name = b.Label(u"L_EthConn_Device_Name", 12);
        E_EthConn_Device_Name = b.Edit(u"E_EthConn_Device_Name", 12);
        E_EthConn_Device_Name->SetMaxLength(31);
        CB_EthConn_En_DHCP_Cable = b.Check(u"CB_EthConn_En_DHCP_Cable", 40);
        CB_EthConn_En_DHCP_WiFi = b.Check(u"CB_EthConn_En_DHCP_WiFi", 68);
        CB_EthConn_Enable_DNS = b.Check(u"CB_EthConn_Enable_DNS", 96);
        L_EthConn_Primary_DNS = b.Label(u"L_EthConn_Primary_DNS", 124);
        Row_EthConn_Pri_DNS = b.Address(u"E_EthConn_Pri_DNS_IP", 121, 124,
                                        {&E_EthConn_Pri_DNS_IP1, &E_EthConn_Pri_DNS_IP2, &E_EthConn_Pri_DNS_IP3,
                                         &E_EthConn_Pri_DNS_IP4});
        L_EthConn_Secondary_DNS = b.Label(u"L_EthConn_Secondary_DNS", 152);
        Row_EthConn_Sec_DNS = b.Address(u"E_EthConn_Sec_DNS_IP", 149, 152,
                                        {&E_EthConn_Sec_DNS_IP1, &E_EthConn_Sec_DNS_IP2, &E_EthConn_Sec_DNS_IP3,
                                         &E_EthConn_Sec_DNS_IP4});
    }
    {
        TBuilder b(this, CP_Working_Mode);
        L_WorkMode_WorkMode = b.Label(u"L_WorkMode_WorkMode", 12);
        CB_WorkMode_WorkMode = b.Combo(u"CB_WorkMode_WorkMode", 12);
    }
    {
        TBuilder b(this, CP_Modbus_Master);
        L_ModbusMaster_Serial = b.Label(u"L_ModbusMaster_Serial", 12);
        CB_ModbusMaster_Serial = b.Combo(u"CB_ModbusMaster_Serial", 12, {u"RS232", u"RS485"});
        L_ModbusMaster_Baudrate = b.Label(u"L_ModbusMaster_Baudrate", 40);
        CB_ModbusMaster_Baudrate = b.Combo(u"CB_ModbusMaster_Baudrate", 40,
                                           {u"1200", u"2400", u"4800", u"9600", u"19200", u"38400", u"57600",
                                            u"115200"});
        L_ModbusMaster_Parity = b.Label(u"L_ModbusMaster_Parity", 68);
        CB_ModbusMaster_Parity = b.Combo(u"CB_ModbusMaster_Parity", 68, {u"NONE", u"ODD", u"EVEN"});
        L_ModbusMaster_StopBits = b.Label(u"L_ModbusMaster_StopBits", 96);
        CB_ModbusMaster_StopBits = b.Combo(u"CB_ModbusMaster_StopBits", 96, {u"1 Stop Bits", u"2 Stop Bits"});
        L_ModbusMaster_TimeOut = b.Label(u"L_ModbusMaster_TimeOut", 124);
        E_ModbusMaster_TimeOut = b.Edit(u"E_ModbusMaster_TimeOut", 124);
        L_ModbusMaster_CyclicDelay = b.Label(u"L_ModbusMaster_CyclicDelay", 152);
        E_ModbusMaster_CyclicDelay = b.Edit(u"E_ModbusMaster_CyclicDelay", 152);
    }
    {
        TBuilder b(this, CP_MQTT);
        L_MQTT_Server = b.Label(u"L_MQTT_Server", 12);
        E_MQTT_Server = b.Edit(u"E_MQTT_Server", 12);
        L_MQTT_Server_Port = b.Label(u"L_MQTT_Server_Port", 40);
        E_MQTT_Server_Port = b.Edit(u"E_MQTT_Server_Port", 40);
        L_MQTT_Client_ID = b.Label(u"L_MQTT_Client_ID", 68);
        E_MQTT_Client_ID = b.Edit(u"E_MQTT_Client_ID", 68);
        L_MQTT_Keep_Alive = b.Label(u"L_MQTT_Keep_Alive", 96);
        E_MQTT_Keep_Alive = b.Edit(u"E_MQTT_Keep_Alive", 96);
        CB_MQTT_Clean_Session = b.Check(u"CB_MQTT_Clean_Session", 124);
        CB_MQTT_WillFlag = b.Check(u"CB_MQTT_WillFlag", 152);
        L_MQTT_Will_TopicName = b.Label(u"L_MQTT_Will_TopicName", 180);
        E_MQTT_Will_TopicName = b.Edit(u"E_MQTT_Will_TopicName", 180);
        L_MQTT_Will_Message = b.Label(u"L_MQTT_Will_Message", 208);
        E_MQTT_Will_Message = b.Edit(u"E_MQTT_Will_Message", 208);
        CB_MQTT_Will_Retained = b.Check(u"CB_MQTT_Will_Retained", 236);
        L_MQTT_Will_QoS = b.Label(u"L_MQTT_Will_QoS", 264);
        CB_MQTT_Will_QoS = b.Combo(u"CB_MQTT_Will_QoS", 264, {u"0", u"1", u"2"});
        CB_MQTT_PublishTopicConnection = b.Check(u"CB_MQTT_PublishTopicConnection", 292);
        L_MQTT_Connection_TopicName = b.Label(u"L_MQTT_Connection_TopicName", 320);
        E_MQTT_Connection_TopicName = b.Edit(u"E_MQTT_Connection_TopicName", 320);
        L_MQTT_Connection_Message = b.Label(u"L_MQTT_Connection_Message", 348);
        E_MQTT_Connection_Message = b.Edit(u"E_MQTT_Connection_Message", 348);
        CB_MQTT_Connection_Retained = b.Check(u"CB_MQTT_Connection_Retained", 376);
        L_MQTT_Username = b.Label(u"L_MQTT_Username", 404);
        E_MQTT_Username = b.Edit(u"E_MQTT_Username", 404);
        L_MQTT_Password = b.Label(u"L_MQTT_Password", 432);
        E_MQTT_Password = b.Rich(u"E_MQTT_Password", 429, Field_Width);
        CB_MQTT_Single_Subsribe_for_Topics = b.Check(u"CB_MQTT_Single_Subsribe_for_Topics", 460);
        // Fields of the family's other models: kept and stored, never shown here.
        L_MQTT_ASync_Send_Time = b.Label(u"L_MQTT_ASync_Send_Time", 488);
        E_MQTT_ASync_Send_Time = b.Edit(u"E_MQTT_ASync_Send_Time", 488);
        L_MQTT_TopicDALIAns = b.Label(u"L_MQTT_TopicDALIAns", 516);
        E_MQTT_TopicDALIAns = b.Edit(u"E_MQTT_TopicDALIAns", 516);
        CB_MQTT_Enable_ReProgram = b.Check(u"CB_MQTT_Enable_ReProgram", 544);
        L_MQTT_Reprogram_Topic = b.Label(u"L_MQTT_Reprogram_Topic", 572);
        E_MQTT_Reprogram_Topic = b.Edit(u"E_MQTT_Reprogram_Topic", 572);
        L_MQTT_Reproram_Value = b.Label(u"L_MQTT_Reproram_Value", 600);
        E_MQTT_Reproram_Value = b.Edit(u"E_MQTT_Reproram_Value", 600);
    }
    {
        TBuilder b(this, CP_Ethernet);
        L_Ethernet_IP = b.Label(u"L_Ethernet_IP", 12);
        Row_Ethernet_IP = b.Address(u"E_Ethernet_IP", 9, 12,
                                    {&E_Ethernet_IP1, &E_Ethernet_IP2, &E_Ethernet_IP3, &E_Ethernet_IP4});
        L_Ethernet_SM = b.Label(u"L_Ethernet_SM", 40);
        Row_Ethernet_SM = b.Address(u"E_Ethernet_SM", 37, 40,
                                    {&E_Ethernet_SM1, &E_Ethernet_SM2, &E_Ethernet_SM3, &E_Ethernet_SM4});
        CB_Ethernet_En_GAT = b.Check(u"CB_Ethernet_En_GAT", 68, Gateway_Check_Width);
        Row_Ethernet_GAT = b.Address(u"E_Ethernet_GAT", 66, 68,
                                     {&E_Ethernet_GAT1, &E_Ethernet_GAT2, &E_Ethernet_GAT3, &E_Ethernet_GAT4});
        CB_Ethernet_En_DNS = b.Check(u"CB_Ethernet_En_DNS", 96, Gateway_Check_Width);
        Row_Ethernet_DNS = b.Address(u"E_Ethernet_DNS", 94, 96,
                                     {&E_Ethernet_DNS1, &E_Ethernet_DNS2, &E_Ethernet_DNS3, &E_Ethernet_DNS4});
        L_Ethernet_TCP_Port = b.Label(u"L_Ethernet_TCP_Port", 124);
        E_Ethernet_TCP_Port = b.Edit(u"E_Ethernet_TCP_Port", 124);
        L_Ethernet_UDP_Port = b.Label(u"L_Ethernet_UDP_Port", 152);
        E_Ethernet_UDP_Port = b.Edit(u"E_Ethernet_UDP_Port", 152);
        CB_Ethernet_Reset_24h = b.Check(u"CB_Ethernet_Reset_24h", 180);
    }
    {
        TBuilder b(this, CP_TLS);
        CB_TLS_Enable = b.Check(u"CB_TLS_Enable", 12);
        CB_TLS_En_Server_Auth = b.Check(u"CB_TLS_En_Server_Auth", 40);
        L_TLS_Server_Cert = b.Label(u"L_TLS_Server_Cert", 68);
        E_TLS_Server_Cert = b.Rich(u"E_TLS_Server_Cert", 63, 211);
        Btn_TLS_Server_Cert = b.Browse(u"Btn_TLS_Server_Cert", 63);
        CB_TLS_En_Client_Auth = b.Check(u"CB_TLS_En_Client_Auth", 96);
        L_TLS_CA_Cert = b.Label(u"L_TLS_CA_Cert", 124);
        E_TLS_CA_Cert = b.Rich(u"E_TLS_CA_Cert", 121, 211);
        Btn_TLS_CA_Cert = b.Browse(u"Btn_TLS_CA_Cert", 121);
        L_TLS_Client_Cert = b.Label(u"L_TLS_Client_Cert", 152);
        E_TLS_Client_Cert = b.Rich(u"E_TLS_Client_Cert", 149, 211);
        Btn_TLS_Client_Cert = b.Browse(u"Btn_TLS_Client_Cert", 149);
        L_TLS_Client_Cert_Key = b.Label(u"L_TLS_Client_Cert_Key", 180);
        E_TLS_Client_Cert_Key = b.Rich(u"E_TLS_Client_Cert_Key", 177, 211);
        Btn_TLS_Client_Cert_Key = b.Browse(u"Btn_TLS_Client_Cert_Key", 177);
        L_TLS_Client_Cert_Key_Pass = b.Label(u"L_TLS_Client_Cert_Key_Pass", 208);
        E_TLS_Client_Cert_Key_Pass = b.Edit(u"E_TLS_Client_Cert_Key_Pass", 208);
    }
    {
        TBuilder b(this, CP_NTP);
        L_NTP_Server_URL = b.Label(u"L_NTP_Server_URL", 12);
        E_NTP_Server_URL = b.Edit(u"E_NTP_Server_URL", 12);
        L_NTP_Poll_Time = b.Label(u"L_NTP_Poll_Time", 40);
        E_NTP_Poll_Time = b.Edit(u"E_NTP_Poll_Time", 40);
    }
    {
        TBuilder b(this, CP_WiFi2);
        L_WiFi2_Type = b.Label(u"L_WiFi2_Type", 12);
        CB_WiFi2_Type = b.Combo(u"CB_WiFi2_Type", 12);
        L_WiFi2_IP1 = b.Label(u"L_WiFi2_IP1", 40);
        WiFi2_Block1.L_IP = L_WiFi2_IP1_IP = b.Label(u"L_WiFi2_IP1_IP", 68);
        WiFi2_Block1.IP = b.Address(u"E_WiFi2_IP1_IP", 65, 68,
                                    {&E_WiFi2_IP1_IP1, &E_WiFi2_IP1_IP2, &E_WiFi2_IP1_IP3, &E_WiFi2_IP1_IP4});
        WiFi2_Block1.L_SM = L_WiFi2_IP1_SM = b.Label(u"L_WiFi2_IP1_SM", 96);
        WiFi2_Block1.SM = b.Address(u"E_WiFi2_IP1_SM", 93, 96,
                                    {&E_WiFi2_IP1_SM1, &E_WiFi2_IP1_SM2, &E_WiFi2_IP1_SM3, &E_WiFi2_IP1_SM4});
        WiFi2_Block1.CB_GAT = CB_WiFi2_IP1_En_GAT = b.Check(u"CB_WiFi2_IP1_En_GAT", 124, Gateway_Check_Width);
        WiFi2_Block1.GAT = b.Address(u"E_WiFi2_IP1_GAT", 122, 124,
                                     {&E_WiFi2_IP1_GAT1, &E_WiFi2_IP1_GAT2, &E_WiFi2_IP1_GAT3, &E_WiFi2_IP1_GAT4});
        L_WiFi2_IP2 = b.Label(u"L_WiFi2_IP2", 152);
        WiFi2_Block2.L_IP = L_WiFi2_IP2_IP = b.Label(u"L_WiFi2_IP2_IP", 180);
        WiFi2_Block2.IP = b.Address(u"E_WiFi2_IP2_IP", 177, 180,
                                    {&E_WiFi2_IP2_IP1, &E_WiFi2_IP2_IP2, &E_WiFi2_IP2_IP3, &E_WiFi2_IP2_IP4});
        WiFi2_Block2.L_SM = L_WiFi2_IP2_SM = b.Label(u"L_WiFi2_IP2_SM", 208);
        WiFi2_Block2.SM = b.Address(u"E_WiFi2_IP2_SM", 205, 208,
                                    {&E_WiFi2_IP2_SM1, &E_WiFi2_IP2_SM2, &E_WiFi2_IP2_SM3, &E_WiFi2_IP2_SM4});
        WiFi2_Block2.CB_GAT = CB_WiFi2_IP2_En_GAT = b.Check(u"CB_WiFi2_IP2_En_GAT", 236, Gateway_Check_Width);
        WiFi2_Block2.GAT = b.Address(u"E_WiFi2_IP2_GAT", 234, 236,
                                     {&E_WiFi2_IP2_GAT1, &E_WiFi2_IP2_GAT2, &E_WiFi2_IP2_GAT3, &E_WiFi2_IP2_GAT4});
        L_WiFi2_SSID = b.Label(u"L_WiFi2_SSID", 264);
        E_WiFi2_SSID = b.Edit(u"E_WiFi2_SSID", 264);
        L_WiFi2_Password = b.Label(u"L_WiFi2_Password", 292);
        E_WiFi2_Password = b.Edit(u"E_WiFi2_Password", 292);
        L_WiFi2_Secure_Type = b.Label(u"L_WiFi2_Secure_Type", 320);
        CB_WiFi2_Secure_Type = b.Combo(u"CB_WiFi2_Secure_Type", 320);
        CB_WiFi2_En_DHCP = b.Check(u"CB_WiFi2_En_DHCP", 348);
        L_WiFi2_DHCP_First_IP = b.Label(u"L_WiFi2_DHCP_First_IP", 376);
        Row_WiFi2_DHCP_First_IP = b.Address(u"E_WiFi2_DHCP_First_IP", 373, 376,
                                            {&E_WiFi2_DHCP_First_IP1, &E_WiFi2_DHCP_First_IP2,
                                             &E_WiFi2_DHCP_First_IP3, &E_WiFi2_DHCP_First_IP4});
        L_WiFi2_DHCP_SM = b.Label(u"L_WiFi2_DHCP_SM", 404);
        Row_WiFi2_DHCP_SM = b.Address(u"E_WiFi2_DHCP_SM", 401, 404,
                                      {&E_WiFi2_DHCP_SM1, &E_WiFi2_DHCP_SM2, &E_WiFi2_DHCP_SM3, &E_WiFi2_DHCP_SM4});
        L_WiFi2_Lease_Time = b.Label(u"L_WiFi2_Lease_Time", 432);
        E_WiFi2_Lease_Time = b.Edit(u"E_WiFi2_Lease_Time", 432);
        L_WiFi2_Max_Client = b.Label(u"L_WiFi2_Max_Client", 460);
        CB_WiFi2_Max_Client = b.Combo(u"CB_WiFi2_Max_Client", 460,
                                      {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"});
        L_WiFi2_Channel = b.Label(u"L_WiFi2_Channel", 488);
        CB_WiFi2_Channel = b.Combo(u"CB_WiFi2_Channel", 488);
    }
    {
        TBuilder b(this, CP_GSM_GPRS);
        const std::initializer_list<const char16_t*> auth = {u"None", u"PAP", u"CHAP", u"PAP or CHAP"};
        L_GSM_GPRS_PIN = b.Label(u"L_GSM_GPRS_PIN", 12);
        E_GSM_GPRS_PIN = b.Edit(u"E_GSM_GPRS_PIN", 12);
        L_GSM_GPRS_APN = b.Label(u"L_GSM_GPRS_APN", 40);
        E_GSM_GPRS_APN = b.Edit(u"E_GSM_GPRS_APN", 40);
        L_GSM_GPRS_AuthType = b.Label(u"L_GSM_GPRS_AuthType", 68);
        CB_GSM_GPRS_AuthType = b.Combo(u"CB_GSM_GPRS_AuthType", 68, auth);
        L_GSM_GPRS_UserName = b.Label(u"L_GSM_GPRS_UserName", 96);
        E_GSM_GPRS_UserName = b.Edit(u"E_GSM_GPRS_UserName", 96);
        L_GSM_GPRS_Password = b.Label(u"L_GSM_GPRS_Password", 124);
        E_GSM_GPRS_Password = b.Edit(u"E_GSM_GPRS_Password", 124);
        CB_GSM_GPRS_En_Second_SIM = b.Check(u"CB_GSM_GPRS_En_Second_SIM", 152, 413, 16);
        L_GSM_GPRS_PIN2 = b.Label(u"L_GSM_GPRS_PIN2", 180);
        E_GSM_GPRS_PIN2 = b.Edit(u"E_GSM_GPRS_PIN2", 180);
        L_GSM_GPRS_APN2 = b.Label(u"L_GSM_GPRS_APN2", 208);
        E_GSM_GPRS_APN2 = b.Edit(u"E_GSM_GPRS_APN2", 208);
        L_GSM_GPRS_AuthType2 = b.Label(u"L_GSM_GPRS_AuthType2", 236);
        CB_GSM_GPRS_AuthType2 = b.Combo(u"CB_GSM_GPRS_AuthType2", 236, auth);
        L_GSM_GPRS_UserName2 = b.Label(u"L_GSM_GPRS_UserName2", 264);
        E_GSM_GPRS_UserName2 = b.Edit(u"E_GSM_GPRS_UserName2", 264);
        L_GSM_GPRS_Password2 = b.Label(u"L_GSM_GPRS_Password2", 292);
        E_GSM_GPRS_Password2 = b.Edit(u"E_GSM_GPRS_Password2", 292);
        L_GSM_GPRS_Main_SIM = b.Label(u"L_GSM_GPRS_Main_SIM", 320);
        CB_GSM_GPRS_Main_SIM = b.Combo(u"CB_GSM_GPRS_Main_SIM", 320, {u"SIM 1", u"SIM 2"});
        for (TEdit* e : {E_GSM_GPRS_PIN, E_GSM_GPRS_PIN2}) {
            e->SetMaxLength(8);
            e->OnKeyPress = Digits_Only;
        }
        for (TEdit* e : {E_GSM_GPRS_UserName, E_GSM_GPRS_Password, E_GSM_GPRS_UserName2, E_GSM_GPRS_Password2})
            e->SetMaxLength(32);
    }

    dot_chains_ = {
        {E_Ethernet_IP1, E_Ethernet_IP2, E_Ethernet_IP3, E_Ethernet_IP4, E_Ethernet_SM1, E_Ethernet_SM2,
         E_Ethernet_SM3, E_Ethernet_SM4, E_Ethernet_GAT1, E_Ethernet_GAT2, E_Ethernet_GAT3, E_Ethernet_GAT4},
        {E_EthConn_Pri_DNS_IP1, E_EthConn_Pri_DNS_IP2, E_EthConn_Pri_DNS_IP3, E_EthConn_Pri_DNS_IP4,
         E_EthConn_Sec_DNS_IP1, E_EthConn_Sec_DNS_IP2, E_EthConn_Sec_DNS_IP3, E_EthConn_Sec_DNS_IP4},
        {E_WiFi2_IP1_IP1, E_WiFi2_IP1_IP2, E_WiFi2_IP1_IP3, E_WiFi2_IP1_IP4, E_WiFi2_IP1_SM1, E_WiFi2_IP1_SM2,
         E_WiFi2_IP1_SM3, E_WiFi2_IP1_SM4, E_WiFi2_IP1_GAT1, E_WiFi2_IP1_GAT2, E_WiFi2_IP1_GAT3, E_WiFi2_IP1_GAT4},
        {E_WiFi2_IP2_IP1, E_WiFi2_IP2_IP2, E_WiFi2_IP2_IP3, E_WiFi2_IP2_IP4, E_WiFi2_IP2_SM1, E_WiFi2_IP2_SM2,
         E_WiFi2_IP2_SM3, E_WiFi2_IP2_SM4, E_WiFi2_IP2_GAT1, E_WiFi2_IP2_GAT2, E_WiFi2_IP2_GAT3, E_WiFi2_IP2_GAT4},
        {E_WiFi2_DHCP_First_IP1, E_WiFi2_DHCP_First_IP2, E_WiFi2_DHCP_First_IP3, E_WiFi2_DHCP_First_IP4,
         E_WiFi2_DHCP_SM1, E_WiFi2_DHCP_SM2, E_WiFi2_DHCP_SM3, E_WiFi2_DHCP_SM4},
    };
}

void TFParGen::Create_Bindings()
{
    using K = TParGen_Kind;
    auto add = [this](const char16_t* element, K kind, TControl* field, const char16_t* def) {
        bindings_.push_back({element, kind, field, def});
    };
    bindings_.reserve(119);
    auto group = [this](const char16_t* element, std::array<TEdit*, 4> fields, std::array<const char16_t*, 4> defs) {
        for (size_t i = 0; i < 4; ++i)
            bindings_.push_back({String(element) + IntToStr(static_cast<int>(i + 1)), K::Text, fields[i], defs[i]});
    };
    const std::array<const char16_t*, 4> dns = {u"8", u"8", u"8", u"8"};
    const std::array<const char16_t*, 4> mask = {u"255", u"255", u"255", u"0"};
    const std::array<const char16_t*, 4> gate = {u"192", u"168", u"0", u"1"};

    add(u"Select_Device", K::Index, CB_Select_Device_Device, u"0");
    add(u"Eth_Conn_Device_Name", K::Text, E_EthConn_Device_Name, u"");
    add(u"Eth_Conn_DHCP_Cable", K::Check, CB_EthConn_En_DHCP_Cable, u"0");
    add(u"Eth_Conn_DHCP_WiFi", K::Check, CB_EthConn_En_DHCP_WiFi, u"0");
    add(u"Eth_Conn_Enable_DNS", K::Check, CB_EthConn_Enable_DNS, u"0");
    group(u"Eth_Conn_Primary_DNS", Row_EthConn_Pri_DNS.E, dns);
    group(u"Eth_Conn_Secondary_DNS", Row_EthConn_Sec_DNS.E, dns);
    add(u"Working_Mode", K::Index, CB_WorkMode_WorkMode, u"0");
    add(u"MQTT_Server_URL", K::Text, E_MQTT_Server, u"");
    add(u"MQTT_Server_Port", K::Text, E_MQTT_Server_Port, u"1883");
    add(u"MQTT_Client_ID", K::Text, E_MQTT_Client_ID, u"");
    add(u"MQTT_Keep_Alive", K::Text, E_MQTT_Keep_Alive, u"");
    add(u"MQTT_Clean_Session", K::Check, CB_MQTT_Clean_Session, u"0");
    add(u"MQTT_WillFlag", K::Check, CB_MQTT_WillFlag, u"0");
    add(u"MQTT_Will_Topic_Name", K::Text, E_MQTT_Will_TopicName, u"");
    add(u"MQTT_Will_Message", K::Text, E_MQTT_Will_Message, u"");
    add(u"MQTT_Will_Retained", K::Check, CB_MQTT_Will_Retained, u"0");
    add(u"MQTT_Will_QoS", K::Index, CB_MQTT_Will_QoS, u"0");
    add(u"MQTT_PublishTopicConnection", K::Check, CB_MQTT_PublishTopicConnection, u"0");
    add(u"MQTT_Connection_Topic_Name", K::Text, E_MQTT_Connection_TopicName, u"");
    add(u"MQTT_Connection_Message", K::Text, E_MQTT_Connection_Message, u"");
    add(u"MQTT_Connection_Retained", K::Check, CB_MQTT_Connection_Retained, u"0");
    add(u"MQTT_Username", K::Text, E_MQTT_Username, u"");
    add(u"MQTT_Password", K::Text, E_MQTT_Password, u"");
    add(u"MQTT_Enable_Single_Subscribe", K::Check, CB_MQTT_Single_Subsribe_for_Topics, u"0");
    add(u"MQTT_ASync_Send_Time", K::Text, E_MQTT_ASync_Send_Time, u"");
    add(u"MQTT_Topic_DALI_Answer", K::Text, E_MQTT_TopicDALIAns, u"");
    add(u"MQTT_Enable_Reprogram", K::Check, CB_MQTT_Enable_ReProgram, u"0");
    add(u"MQTT_Reprogram_Topic", K::Text, E_MQTT_Reprogram_Topic, u"");
    add(u"MQTT_Reprogram_Value", K::Text, E_MQTT_Reproram_Value, u"");
    group(u"Ethernet_IP", Row_Ethernet_IP.E, {u"192", u"168", u"0", u"10"});
    group(u"Ethernet_SM", Row_Ethernet_SM.E, mask);
    group(u"Ethernet_GAT", Row_Ethernet_GAT.E, gate);
    add(u"Ethernet_EN_GAT", K::Check, CB_Ethernet_En_GAT, u"0");
    add(u"WiFi_Type", K::Index, CB_WiFi2_Type, u"0");
    group(u"WiFi_IP", WiFi2_Block1.IP.E, {u"192", u"168", u"0", u"100"});
    group(u"WiFi_SM", WiFi2_Block1.SM.E, mask);
    add(u"WiFi_EN_Gateway", K::Check_Num, CB_WiFi2_IP1_En_GAT, u"0");
    group(u"WiFi_GAT", WiFi2_Block1.GAT.E, gate);
    group(u"WiFi_IP2_IP", WiFi2_Block2.IP.E, {u"192", u"168", u"0", u"110"});
    group(u"WiFi_IP2_SM", WiFi2_Block2.SM.E, mask);
    add(u"WiFi_IP2_EN_Gateway", K::Check_Num, CB_WiFi2_IP2_En_GAT, u"0");
    group(u"WiFi_IP2_GAT", WiFi2_Block2.GAT.E, gate);
    add(u"WiFi_SSID", K::Text, E_WiFi2_SSID, u"");
    add(u"WiFi_PWD", K::Text, E_WiFi2_Password, u"");
    add(u"WiFi_Secure_Type", K::Index, CB_WiFi2_Secure_Type, u"0");
    add(u"WiFi_EN_DHCP", K::Check_Num, CB_WiFi2_En_DHCP, u"0");
    group(u"WiFi_DHCP_First_IP", Row_WiFi2_DHCP_First_IP.E, {u"192", u"168", u"0", u"200"});
    group(u"WiFi_DHCP_SM", Row_WiFi2_DHCP_SM.E, mask);
    add(u"WiFi_Lease_Time", K::Text, E_WiFi2_Lease_Time, u"86400");
    add(u"WiFi_Max_Client", K::Index, CB_WiFi2_Max_Client, u"0");
    add(u"WiFi_Channel", K::Index, CB_WiFi2_Channel, u"1");
    add(u"TLS_Enable", K::Check_Num, CB_TLS_Enable, u"0");
    add(u"TLS_En_Server_Auth", K::Check_Num, CB_TLS_En_Server_Auth, u"0");
    add(u"TLS_Server_Auth_Certificate", K::Text, E_TLS_Server_Cert, u"");
    add(u"TLS_En_Client_Auth", K::Check_Num, CB_TLS_En_Client_Auth, u"0");
    add(u"TLS_Client_CA_Certificate", K::Text, E_TLS_CA_Cert, u"");
    add(u"TLS_Client_Auth_Certificate", K::Text, E_TLS_Client_Cert, u"");
    add(u"TLS_Client_Auth_Key", K::Text, E_TLS_Client_Cert_Key, u"");
    add(u"TLS_Client_Auth_Key_Password", K::Text, E_TLS_Client_Cert_Key_Pass, u"");
    add(u"NTP_Server_URL", K::Text, E_NTP_Server_URL, u"");
    add(u"NTP_Poll_Time", K::Text, E_NTP_Poll_Time, u"");
    add(u"ModbusM_SERIAL", K::Index, CB_ModbusMaster_Serial, u"0");
    add(u"ModbusM_BAUDRATE", K::Index, CB_ModbusMaster_Baudrate, u"7");
    add(u"ModbusM_PARITY", K::Index, CB_ModbusMaster_Parity, u"0");
    add(u"ModbusM_STOPBITS", K::Index, CB_ModbusMaster_StopBits, u"0");
    add(u"ModbusM_TIMEOUT", K::Text, E_ModbusMaster_TimeOut, u"1000");
    add(u"ModbusM_CYCLIC", K::Text, E_ModbusMaster_CyclicDelay, u"100");
    add(u"GSM_GPRS_PIN", K::Text, E_GSM_GPRS_PIN, u"");
    add(u"GSM_GPRS_APN", K::Text, E_GSM_GPRS_APN, u"");
    add(u"GSM_GPRS_AUTHTYPE", K::Item_Text, CB_GSM_GPRS_AuthType, u"None");
    add(u"GSM_GPRS_USERNAME", K::Text, E_GSM_GPRS_UserName, u"");
    add(u"GSM_GPRS_PASSWORD", K::Text, E_GSM_GPRS_Password, u"");
    add(u"GSM_GPRS_ENABLE_SECOND_SIM", K::Check, CB_GSM_GPRS_En_Second_SIM, u"0");
    add(u"GSM_GPRS_PIN_2", K::Text, E_GSM_GPRS_PIN2, u"");
    add(u"GSM_GPRS_APN_2", K::Text, E_GSM_GPRS_APN2, u"");
    add(u"GSM_GPRS_AUTHTYPE_2", K::Item_Text, CB_GSM_GPRS_AuthType2, u"None");
    add(u"GSM_GPRS_USERNAME_2", K::Text, E_GSM_GPRS_UserName2, u"");
    add(u"GSM_GPRS_PASSWORD_2", K::Text, E_GSM_GPRS_Password2, u"");
    add(u"GSM_GPRS_MAIN_SIM", K::Item_Text, CB_GSM_GPRS_Main_SIM, u"SIM 1");
}

// ---- loading and saving ----------------------------------------------------------------

namespace {

// Puts one stored value (null: missing or unreadable) into its field.
void Apply_Value(const TParGen_Binding& b, const TXMLValue& value)
{
    int number = 0;
    switch (b.Kind) {
    case TParGen_Kind::Text:
        static_cast<TCustomEdit*>(b.Field)->SetText(value.IsNull() ? String(b.Default) : value.AsString());
        break;
    case TParGen_Kind::Index: {
        auto* c = static_cast<TComboBox*>(b.Field);
        if (!Read_Int(value, number)) number = StrToIntDef(b.Default, 0);
        c->SetItemIndex(number >= 0 && number < c->Items()->Count() ? number : -1);
        break;
    }
    case TParGen_Kind::Item_Text: {
        auto* c = static_cast<TComboBox*>(b.Field);
        const String wanted = value.IsNull() ? String(b.Default) : value.AsString();
        int found = -1;
        for (int i = 0; i < c->Items()->Count() && found < 0; ++i)
            if (AnsiSameText(c->Items()->Strings(i), wanted)) found = i;
        c->SetItemIndex(found < 0 ? 0 : found);
        break;
    }
    case TParGen_Kind::Check:
        static_cast<TCheckBox*>(b.Field)->SetChecked(value.IsNull() ? b.Default == String(u"1")
                                                                     : value.AsString() == u"1");
        break;
    case TParGen_Kind::Check_Num:
        if (!Read_Int(value, number)) number = StrToIntDef(b.Default, 0);
        static_cast<TCheckBox*>(b.Field)->SetChecked(number == 1);
        break;
    }
}

String Stored_Form(const TParGen_Binding& b)
{
    switch (b.Kind) {
    case TParGen_Kind::Text:
        return static_cast<TCustomEdit*>(b.Field)->Text();
    case TParGen_Kind::Index:
        return IntToStr(static_cast<TComboBox*>(b.Field)->ItemIndex());
    case TParGen_Kind::Item_Text: {
        auto* c = static_cast<TComboBox*>(b.Field);
        return c->ItemIndex() >= 0 ? c->Items()->Strings(c->ItemIndex()) : String();
    }
    case TParGen_Kind::Check:
    case TParGen_Kind::Check_Num:
        return static_cast<TCheckBox*>(b.Field)->Checked() ? u"1" : u"0";
    }
    return String();
}

// Text of an element; null when the element is missing or holds other elements.
TXMLValue Element_Value(const IXMLNode& root, const String& name)
{
    if (root.IsNull()) return TXMLValue();
    const IXMLNode node = root.ChildNodes().FindNode(name);
    if (node.IsNull()) return TXMLValue();
    try {
        return TXMLValue(node.Text());
    } catch (const EXMLDocError&) {
        return TXMLValue();
    }
}

} // namespace

void TFParGen::Load_Defaults()
{
    const bool was = relayout_;
    relayout_ = true;  // one pass after all fields are in place
    for (const TParGen_Binding& b : bindings_) Apply_Value(b, TXMLValue());
    // A new configuration starts with the asynchronous send time the converter expects.
    E_MQTT_ASync_Send_Time->SetText(u"10");
    relayout_ = was;
}

void TFParGen::Load_File(const String& file_name)
{
    if (!FileExists(file_name)) {
        Load_Defaults();
        return;
    }
    TXMLDocument doc(nullptr);
    IXMLNode root;
    try {
        doc.LoadFromFile(file_name);
        root = doc.DocumentElement();
    } catch (const EXMLDocError&) {
        // A file that is not XML shows every default, as one whose elements are all unreadable.
        root = IXMLNode();
    }
    const bool was = relayout_;
    relayout_ = true;
    for (const TParGen_Binding& b : bindings_) Apply_Value(b, Element_Value(root, b.Element));
    relayout_ = was;
}

void TFParGen::Save_File(const String& file_name) const
{
    TXMLDocument doc(nullptr);
    doc.SetActive(true);
    IXMLNode root = doc.AddChild(u"Par_Gen");
    for (const TParGen_Binding& b : bindings_) root.AddChild(b.Element).SetText(Stored_Form(b));
    doc.AddComment(Version_Stamp);
    doc.SaveToFile(file_name);
}

void TFParGen::FormShow(TObject*)
{
    Load_File(File_ParGen);
    Move_GroupBoxs();
}

void TFParGen::Btn_OKClick(TObject*)
{
    if (!Controllo_Dati()) return;
    try {
        Save_File(File_ParGen);
    } catch (const Exception& e) {
        // Nothing was replaced: the window stays open with the user's values.
        MessageDlg(e.Message(), mtError, {mbOK});
        return;
    }
    SetModalResult(mrOk);
}

// ---- certificate picker ------------------------------------------------------------------

void TFParGen::Btn_OnCertificate(TObject* Sender)
{
    TRichEdit* field = nullptr;
    if (Sender == Btn_TLS_Server_Cert) field = E_TLS_Server_Cert;
    else if (Sender == Btn_TLS_CA_Cert) field = E_TLS_CA_Cert;
    else if (Sender == Btn_TLS_Client_Cert) field = E_TLS_Client_Cert;
    else if (Sender == Btn_TLS_Client_Cert_Key) field = E_TLS_Client_Cert_Key;
    if (!field) return;

    const String folder = Project_Dir + u"/Certificates";
    if (!DirectoryExists(folder)) ForceDirectories(folder);
    if (!OD_Certificate->Execute()) return;
    const String chosen = OD_Certificate->FileName();
    if (!FileExists(chosen)) return;
    const String name = ExtractFileName(chosen);
    const String target = folder + u"/" + name;
    if (AnsiLowerCase(chosen) != AnsiLowerCase(target)) {
        if (FileExists(target) && MessageDlg(Overwrite_Text, mtConfirmation, mbYesNoCancel) != mrYes) return;
        if (!CopyFile(chosen, target, false)) {
            MessageDlg(Copy_Failed_Text, mtError, {mbOK});
            return;
        }
    }
    field->Clear();
    field->SetText(name);
}

// ---- dot in an address byte -----------------------------------------------------------------

TEdit* TFParGen::Next_Address_Field(TObject* Sender) const
{
    for (const std::vector<TEdit*>& chain : dot_chains_)
        for (size_t i = 0; i + 1 < chain.size(); ++i)
            if (chain[i] == Sender) return chain[i + 1];
    return nullptr;
}

void TFParGen::KeyPress(TObject* Sender, char16_t& Key)
{
    Address_Dot_Key(Key, Next_Address_Field(Sender));
}

// ---- frame events -----------------------------------------------------------------------------

void TFParGen::FormResize(TObject*)
{
    if (ClientWidth() != 460) SetClientWidth(460);
}

void TFParGen::FormMouseWheel(TObject*, TShiftState, int WheelDelta, TPoint MousePos, bool& Handled)
{
    const TPoint p = CPG->ScreenToClient(MousePos);
    if (p.X < 0 || p.Y < 0 || p.X >= CPG->ClientWidth() || p.Y >= CPG->ClientHeight()) return;
    Handled = true;
    constexpr int Wheel_Lines = 3;
    for (int i = 0; i < Wheel_Lines; ++i) {
        CPG->Perform(WM_VSCROLL, WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
        CPG->Perform(WM_VSCROLL, SB_ENDSCROLL);
    }
}

int TFParGen::Check_Device_IP_Address_WiFi(String& name1, String& name2)
{
    return Product_Variant(name1, name2);
}

bool TFParGen::Check_Device_Name(StringView name)
{
    for (char16_t c : name)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))) return true;
    return false;
}
