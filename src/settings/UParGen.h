#pragma once
// Window of Step 2, the general parameters of the configuration (ParGen.xml): the
// converter's connections, host name and DNS, working mode, serial Modbus master line,
// MQTT client, Ethernet and Wi-Fi addresses, TLS files, NTP and the SIM settings.
//
// The window is created once and shown modally; every showing reloads ParGen.xml, OK
// validates (Controllo_Dati), rewrites the whole file and closes, Cancel writes nothing.
// The settings stand in collapsible panels of one scrolling group; which panels show and
// where the movable rows stand follows the options chosen (Move_GroupBoxs runs the whole
// re-layout pass on every relevant change).
//
// Units: UParGen.cpp (controls, loading and saving, certificate picker, dot moving),
// UParGenLayout.cpp (panels and section layouts), UParGenCheck.cpp (validation),
// UParGenLang.cpp (texts).
#include <array>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "UFormKit.h"
#include "plat/String.h"

namespace plat {
class TCategoryPanelGroup;
class TCategoryPanel;
class TCheckBox;
class TComboBox;
class TCustomEdit;
class TEdit;
class TLabel;
class TOpenDialog;
class TRichEdit;
class TWinControl;
} // namespace plat

// How a setting is kept in ParGen.xml (and read back into its field).
enum class TParGen_Kind {
    Text,      // the field's text unchanged
    Index,     // a list's item index in decimal, "-1" without a selection
    Item_Text, // a list's selected item text, matched back ignoring letter case
    Check,     // "1"/"0"; only "1" reads as checked
    Check_Num, // "1"/"0"; read as a whole number, checked when it is 1
};

// One element of ParGen.xml bound to its field.
struct TParGen_Binding {
    plat::String Element;
    TParGen_Kind Kind;
    plat::TControl* Field;
    const char16_t* Default; // text, item text, or the index / check state in decimal
};

struct TParGen_Field;

// Four address-byte edits with the three dots between them.
struct TAddress_Row {
    std::array<plat::TEdit*, 4> E{};
    std::array<plat::TLabel*, 3> Dot{};
    // Edits at edit_top, dots at dot_top.
    void Place(int edit_top, int dot_top) const;
    void Set_Visible(bool visible) const;
    void Set_Enabled(bool enabled) const;
};

// An address block of the Wi-Fi panel: address, mask and gateway rows.
struct TWiFi_Block {
    plat::TLabel* L_IP = nullptr;
    TAddress_Row IP;
    plat::TLabel* L_SM = nullptr;
    TAddress_Row SM;
    plat::TCheckBox* CB_GAT = nullptr;
    TAddress_Row GAT;
    // Rows at r, r + 28 and r + 56 (edits 3 above their label, gateway edits 2 above).
    void Place(int r) const;
    void Set_Visible(bool visible) const;
    // The thirteen address controls: the edits and the gateway check box.
    void Set_Enabled(bool enabled) const;
};

// The converter models of the family. Each has one panel routine and one re-layout routine;
// the window lays itself out as the model the program is built for.
enum class TParGen_Model {
    M501, M507, M512, M518, M520, M521, M522, M523, M524, M525, M526, M527, M528,
    M529, M530, M531, M532, M533, M535, M539, M541, M543, M544, M318_C061, M318_C063, M318_C069,
};
inline constexpr TParGen_Model ParGen_Build_Model = TParGen_Model::M518;

// Which panels the window gives controls: all 33, or only the build's model's ten (the other
// 23 stay empty and the window can be laid out as the build's model only; the creation
// benchmark compares the two).
enum class TParGen_Panels { All, Build_Model };

class TFParGen : public TDialogForm {
public:
    explicit TFParGen(plat::TComponent* owner, TParGen_Panels panels = TParGen_Panels::All);
    ~TFParGen() override;
    plat::String ClassName() const override { return u"TFParGen"; }

    void Set_Lang() override;

    // ---- loading and saving -------------------------------------------------------------
    // Puts the settings of `file_name` into the fields; a missing file gives the defaults of
    // a new configuration, a missing or unreadable element the default of its field.
    void Load_File(const plat::String& file_name);
    // Writes every field to `file_name` (atomically); raises plat::EXMLDocError on failure.
    void Save_File(const plat::String& file_name) const;
    // The defaults of a configuration without ParGen.xml.
    void Load_Defaults();
    const std::vector<TParGen_Binding>& Bindings() const { return bindings_; }

    // ---- operations ----------------------------------------------------------------------
    bool Controllo_Dati();
    // The panel routine and the re-layout pass of the model the window is laid out as (the
    // build's model unless Lay_Out_As chose another).
    void Order_TAB_Panels();
    void Move_GroupBoxs();
    // Lays a freshly created window out as `model`: hides every panel, runs that model's
    // panel routine and its re-layout pass; later passes (triggers, loading) follow it.
    // Raises plat::Exception for another model than the build's on a window whose other
    // panels are empty.
    void Lay_Out_As(TParGen_Model model);
    TParGen_Model Model() const { return model_; }
    // A control of the family's other panels by its name; raises plat::Exception when the
    // window has none of that name.
    plat::TControl* Named(const plat::String& name) const;
    template <class T> T* Named_As(const plat::String& name) const { return static_cast<T*>(Named(name)); }
    // The control of a row of the field table (UParGenFields.h): its field, label or byte.
    plat::TControl* Field_Of(const TParGen_Field& f) const;
    plat::TControl* Label_Of(const TParGen_Field& f) const;
    plat::TControl* Byte_Of(const TParGen_Field& f, size_t i) const;
    // An address row of the other panels by the prefix of its edits.
    const TAddress_Row& Named_Row(const plat::String& prefix) const;
    // How many Wi-Fi addresses the converter uses and the sides that use them.
    int Check_Device_IP_Address_WiFi(plat::String& name1, plat::String& name2);
    // True when the name holds a character other than 0-9, A-Z and a-z (unused here).
    static bool Check_Device_Name(plat::StringView name);
    // The certificate picker behind one of the four "..." buttons.
    void Btn_OnCertificate(plat::TObject* Sender);
    // Dot handling of the address-byte fields: moves to the next byte, drops the dot.
    void KeyPress(plat::TObject* Sender, char16_t& Key);
    // Change handler of every edit and combo box, click handler of every check box: run the
    // re-layout pass when the sender is one whose value a section layout reads.
    void On_Change(plat::TObject* Sender);
    void On_Click(plat::TObject* Sender);

    // ---- frame ---------------------------------------------------------------------------
    plat::TCategoryPanelGroup* CPG = nullptr;
    plat::TOpenDialog* OD_Certificate = nullptr;

    // The 33 category panels; only those of the configured model are ever shown.
    plat::TCategoryPanel *CP_Working_Mode = nullptr, *CP_MBus = nullptr, *CP_wMBus = nullptr, *CP_MQTT = nullptr,
                         *CP_Ethernet = nullptr, *CP_WiFi = nullptr, *CP_TLS = nullptr, *CP_NTP = nullptr,
                         *CP_Modbus_Master = nullptr, *CP_Modbus_TCP_Master = nullptr, *CP_Modbus_Slave = nullptr,
                         *CP_Modbus_TCP_Slave = nullptr, *CP_CAN = nullptr, *CP_CANopen = nullptr,
                         *CP_J1939 = nullptr, *CP_DeviceNet_Master = nullptr, *CP_DeviceNet_Slave = nullptr,
                         *CP_EtherNetIP = nullptr, *CP_PROFINET = nullptr, *CP_PROFIBUS = nullptr,
                         *CP_NMEA2000 = nullptr, *CP_DMX = nullptr, *CP_KNX = nullptr, *CP_SNMP_Agent = nullptr,
                         *CP_SNMP_Manager = nullptr, *CP_BACnet_Slave = nullptr, *CP_Serial = nullptr,
                         *CP_DALI = nullptr, *CP_GSM_GPRS = nullptr, *CP_BACnet_Master = nullptr,
                         *CP_Select_Device = nullptr, *CP_Ethernet_Connection = nullptr, *CP_WiFi2 = nullptr;

    // ---- Select Device ---------------------------------------------------------------------
    plat::TLabel* L_Select_Device_Device = nullptr;
    plat::TComboBox* CB_Select_Device_Device = nullptr;

    // ---- Ethernet Connection ---------------------------------------------------------------
    plat::TLabel* L_EthConn_Device_Name = nullptr;
    plat::TEdit* E_EthConn_Device_Name = nullptr;
    plat::TCheckBox *CB_EthConn_En_DHCP_Cable = nullptr, *CB_EthConn_En_DHCP_WiFi = nullptr,
                    *CB_EthConn_Enable_DNS = nullptr;
    plat::TLabel *L_EthConn_Primary_DNS = nullptr, *L_EthConn_Secondary_DNS = nullptr;
    plat::TEdit *E_EthConn_Pri_DNS_IP1 = nullptr, *E_EthConn_Pri_DNS_IP2 = nullptr, *E_EthConn_Pri_DNS_IP3 = nullptr,
                *E_EthConn_Pri_DNS_IP4 = nullptr;
    plat::TEdit *E_EthConn_Sec_DNS_IP1 = nullptr, *E_EthConn_Sec_DNS_IP2 = nullptr, *E_EthConn_Sec_DNS_IP3 = nullptr,
                *E_EthConn_Sec_DNS_IP4 = nullptr;

    // ---- Working Mode ----------------------------------------------------------------------
    plat::TLabel* L_WorkMode_WorkMode = nullptr;
    plat::TComboBox* CB_WorkMode_WorkMode = nullptr;

    // ---- Modbus Master ---------------------------------------------------------------------
    plat::TLabel *L_ModbusMaster_Serial = nullptr, *L_ModbusMaster_Baudrate = nullptr,
                 *L_ModbusMaster_Parity = nullptr, *L_ModbusMaster_StopBits = nullptr,
                 *L_ModbusMaster_TimeOut = nullptr, *L_ModbusMaster_CyclicDelay = nullptr;
    plat::TComboBox *CB_ModbusMaster_Serial = nullptr, *CB_ModbusMaster_Baudrate = nullptr,
                    *CB_ModbusMaster_Parity = nullptr, *CB_ModbusMaster_StopBits = nullptr;
    plat::TEdit *E_ModbusMaster_TimeOut = nullptr, *E_ModbusMaster_CyclicDelay = nullptr;

    // ---- MQTT ------------------------------------------------------------------------------
    plat::TLabel *L_MQTT_Server = nullptr, *L_MQTT_Server_Port = nullptr, *L_MQTT_Client_ID = nullptr,
                 *L_MQTT_Keep_Alive = nullptr, *L_MQTT_Will_TopicName = nullptr, *L_MQTT_Will_Message = nullptr,
                 *L_MQTT_Will_QoS = nullptr, *L_MQTT_Connection_TopicName = nullptr,
                 *L_MQTT_Connection_Message = nullptr, *L_MQTT_Username = nullptr, *L_MQTT_Password = nullptr,
                 *L_MQTT_ASync_Send_Time = nullptr, *L_MQTT_TopicDALIAns = nullptr,
                 *L_MQTT_Reprogram_Topic = nullptr, *L_MQTT_Reproram_Value = nullptr;
    plat::TEdit *E_MQTT_Server = nullptr, *E_MQTT_Server_Port = nullptr, *E_MQTT_Client_ID = nullptr,
                *E_MQTT_Keep_Alive = nullptr, *E_MQTT_Will_TopicName = nullptr, *E_MQTT_Will_Message = nullptr,
                *E_MQTT_Connection_TopicName = nullptr, *E_MQTT_Connection_Message = nullptr,
                *E_MQTT_Username = nullptr, *E_MQTT_ASync_Send_Time = nullptr, *E_MQTT_TopicDALIAns = nullptr,
                *E_MQTT_Reprogram_Topic = nullptr, *E_MQTT_Reproram_Value = nullptr;
    plat::TRichEdit* E_MQTT_Password = nullptr;
    plat::TCheckBox *CB_MQTT_Clean_Session = nullptr, *CB_MQTT_WillFlag = nullptr, *CB_MQTT_Will_Retained = nullptr,
                    *CB_MQTT_PublishTopicConnection = nullptr, *CB_MQTT_Connection_Retained = nullptr,
                    *CB_MQTT_Single_Subsribe_for_Topics = nullptr, *CB_MQTT_Enable_ReProgram = nullptr;
    plat::TComboBox* CB_MQTT_Will_QoS = nullptr;

    // ---- Ethernet --------------------------------------------------------------------------
    plat::TLabel *L_Ethernet_IP = nullptr, *L_Ethernet_SM = nullptr, *L_Ethernet_TCP_Port = nullptr,
                 *L_Ethernet_UDP_Port = nullptr;
    plat::TEdit *E_Ethernet_IP1 = nullptr, *E_Ethernet_IP2 = nullptr, *E_Ethernet_IP3 = nullptr,
                *E_Ethernet_IP4 = nullptr;
    plat::TEdit *E_Ethernet_SM1 = nullptr, *E_Ethernet_SM2 = nullptr, *E_Ethernet_SM3 = nullptr,
                *E_Ethernet_SM4 = nullptr;
    plat::TEdit *E_Ethernet_GAT1 = nullptr, *E_Ethernet_GAT2 = nullptr, *E_Ethernet_GAT3 = nullptr,
                *E_Ethernet_GAT4 = nullptr;
    plat::TEdit *E_Ethernet_DNS1 = nullptr, *E_Ethernet_DNS2 = nullptr, *E_Ethernet_DNS3 = nullptr,
                *E_Ethernet_DNS4 = nullptr;
    plat::TEdit *E_Ethernet_TCP_Port = nullptr, *E_Ethernet_UDP_Port = nullptr;
    plat::TCheckBox *CB_Ethernet_En_GAT = nullptr, *CB_Ethernet_En_DNS = nullptr, *CB_Ethernet_Reset_24h = nullptr;

    // ---- TLS -------------------------------------------------------------------------------
    plat::TCheckBox *CB_TLS_Enable = nullptr, *CB_TLS_En_Server_Auth = nullptr, *CB_TLS_En_Client_Auth = nullptr;
    plat::TLabel *L_TLS_Server_Cert = nullptr, *L_TLS_CA_Cert = nullptr, *L_TLS_Client_Cert = nullptr,
                 *L_TLS_Client_Cert_Key = nullptr, *L_TLS_Client_Cert_Key_Pass = nullptr;
    plat::TRichEdit *E_TLS_Server_Cert = nullptr, *E_TLS_CA_Cert = nullptr, *E_TLS_Client_Cert = nullptr,
                    *E_TLS_Client_Cert_Key = nullptr;
    plat::TEdit* E_TLS_Client_Cert_Key_Pass = nullptr;
    controls::TFadeButton *Btn_TLS_Server_Cert = nullptr, *Btn_TLS_CA_Cert = nullptr, *Btn_TLS_Client_Cert = nullptr,
                          *Btn_TLS_Client_Cert_Key = nullptr;

    // ---- NTP -------------------------------------------------------------------------------
    plat::TLabel *L_NTP_Server_URL = nullptr, *L_NTP_Poll_Time = nullptr;
    plat::TEdit *E_NTP_Server_URL = nullptr, *E_NTP_Poll_Time = nullptr;

    // ---- Wi-Fi -----------------------------------------------------------------------------
    plat::TLabel *L_WiFi2_Type = nullptr, *L_WiFi2_IP1 = nullptr, *L_WiFi2_IP1_IP = nullptr,
                 *L_WiFi2_IP1_SM = nullptr, *L_WiFi2_IP2 = nullptr, *L_WiFi2_IP2_IP = nullptr,
                 *L_WiFi2_IP2_SM = nullptr, *L_WiFi2_SSID = nullptr, *L_WiFi2_Password = nullptr,
                 *L_WiFi2_Secure_Type = nullptr, *L_WiFi2_DHCP_First_IP = nullptr, *L_WiFi2_DHCP_SM = nullptr,
                 *L_WiFi2_Lease_Time = nullptr, *L_WiFi2_Max_Client = nullptr, *L_WiFi2_Channel = nullptr;
    plat::TComboBox *CB_WiFi2_Type = nullptr, *CB_WiFi2_Secure_Type = nullptr, *CB_WiFi2_Max_Client = nullptr,
                    *CB_WiFi2_Channel = nullptr;
    plat::TCheckBox *CB_WiFi2_IP1_En_GAT = nullptr, *CB_WiFi2_IP2_En_GAT = nullptr, *CB_WiFi2_En_DHCP = nullptr;
    plat::TEdit *E_WiFi2_IP1_IP1 = nullptr, *E_WiFi2_IP1_IP2 = nullptr, *E_WiFi2_IP1_IP3 = nullptr,
                *E_WiFi2_IP1_IP4 = nullptr;
    plat::TEdit *E_WiFi2_IP1_SM1 = nullptr, *E_WiFi2_IP1_SM2 = nullptr, *E_WiFi2_IP1_SM3 = nullptr,
                *E_WiFi2_IP1_SM4 = nullptr;
    plat::TEdit *E_WiFi2_IP1_GAT1 = nullptr, *E_WiFi2_IP1_GAT2 = nullptr, *E_WiFi2_IP1_GAT3 = nullptr,
                *E_WiFi2_IP1_GAT4 = nullptr;
    plat::TEdit *E_WiFi2_IP2_IP1 = nullptr, *E_WiFi2_IP2_IP2 = nullptr, *E_WiFi2_IP2_IP3 = nullptr,
                *E_WiFi2_IP2_IP4 = nullptr;
    plat::TEdit *E_WiFi2_IP2_SM1 = nullptr, *E_WiFi2_IP2_SM2 = nullptr, *E_WiFi2_IP2_SM3 = nullptr,
                *E_WiFi2_IP2_SM4 = nullptr;
    plat::TEdit *E_WiFi2_IP2_GAT1 = nullptr, *E_WiFi2_IP2_GAT2 = nullptr, *E_WiFi2_IP2_GAT3 = nullptr,
                *E_WiFi2_IP2_GAT4 = nullptr;
    plat::TEdit *E_WiFi2_SSID = nullptr, *E_WiFi2_Password = nullptr, *E_WiFi2_Lease_Time = nullptr;
    plat::TEdit *E_WiFi2_DHCP_First_IP1 = nullptr, *E_WiFi2_DHCP_First_IP2 = nullptr,
                *E_WiFi2_DHCP_First_IP3 = nullptr, *E_WiFi2_DHCP_First_IP4 = nullptr;
    plat::TEdit *E_WiFi2_DHCP_SM1 = nullptr, *E_WiFi2_DHCP_SM2 = nullptr, *E_WiFi2_DHCP_SM3 = nullptr,
                *E_WiFi2_DHCP_SM4 = nullptr;

    // ---- GSM / GPRS / LTE ------------------------------------------------------------------
    plat::TLabel *L_GSM_GPRS_PIN = nullptr, *L_GSM_GPRS_APN = nullptr, *L_GSM_GPRS_AuthType = nullptr,
                 *L_GSM_GPRS_UserName = nullptr, *L_GSM_GPRS_Password = nullptr, *L_GSM_GPRS_PIN2 = nullptr,
                 *L_GSM_GPRS_APN2 = nullptr, *L_GSM_GPRS_AuthType2 = nullptr, *L_GSM_GPRS_UserName2 = nullptr,
                 *L_GSM_GPRS_Password2 = nullptr, *L_GSM_GPRS_Main_SIM = nullptr;
    plat::TEdit *E_GSM_GPRS_PIN = nullptr, *E_GSM_GPRS_APN = nullptr, *E_GSM_GPRS_UserName = nullptr,
                *E_GSM_GPRS_Password = nullptr, *E_GSM_GPRS_PIN2 = nullptr, *E_GSM_GPRS_APN2 = nullptr,
                *E_GSM_GPRS_UserName2 = nullptr, *E_GSM_GPRS_Password2 = nullptr;
    plat::TComboBox *CB_GSM_GPRS_AuthType = nullptr, *CB_GSM_GPRS_AuthType2 = nullptr,
                    *CB_GSM_GPRS_Main_SIM = nullptr;
    plat::TCheckBox* CB_GSM_GPRS_En_Second_SIM = nullptr;

    // Address rows and blocks that the layouts move, show and enable together.
    TAddress_Row Row_EthConn_Pri_DNS, Row_EthConn_Sec_DNS;
    TAddress_Row Row_Ethernet_IP, Row_Ethernet_SM, Row_Ethernet_GAT, Row_Ethernet_DNS;
    TWiFi_Block WiFi2_Block1, WiFi2_Block2;
    TAddress_Row Row_WiFi2_DHCP_First_IP, Row_WiFi2_DHCP_SM;

private:
    void Create_Controls();
    // The rows of ParGen_Fields() (UParGenFields.h): their controls, then their file bindings.
    void Create_Fields();
    void Create_Bindings();
    void FormShow(plat::TObject* Sender);
    void Btn_OKClick(plat::TObject* Sender);
    void CP_Expand(plat::TObject* Sender);
    void FormResize(plat::TObject* Sender);
    void FormMouseWheel(plat::TObject* Sender, plat::TShiftState Shift, int WheelDelta, plat::TPoint MousePos,
                        bool& Handled);

    struct TPanel_Place {
        plat::TCategoryPanel* Panel;
        int Text;
    };
    // Shows the panels in this order, stacks them, numbers their captions, sets tab orders.
    void Order_Panels(std::initializer_list<TPanel_Place> order);
    // The device-type step of models 501 to 544 on the Wi-Fi and mobile panels.
    void Device_Type_Step();
    void Create_Rows(const std::vector<TParGen_Field>& rows);
    void Collect_Triggers();

    void Order_TAB_Panels_501();
    void Order_TAB_Panels_507();
    void Order_TAB_Panels_512();
    void Order_TAB_Panels_518();
    void Order_TAB_Panels_520();
    void Order_TAB_Panels_521();
    void Order_TAB_Panels_522();
    void Order_TAB_Panels_523();
    void Order_TAB_Panels_524();
    void Order_TAB_Panels_525();
    void Order_TAB_Panels_526();
    void Order_TAB_Panels_527();
    void Order_TAB_Panels_528();
    void Order_TAB_Panels_529();
    void Order_TAB_Panels_530();
    void Order_TAB_Panels_531();
    void Order_TAB_Panels_532();
    void Order_TAB_Panels_533();
    void Order_TAB_Panels_535();
    void Order_TAB_Panels_539();
    void Order_TAB_Panels_541();
    void Order_TAB_Panels_543();
    void Order_TAB_Panels_544();
    void Order_TAB_Panels_318_C061();
    void Order_TAB_Panels_318_C063();
    void Order_TAB_Panels_318_C069();
    // The models of one panel list with the field panel's layout in the middle.
    void RePosition_Objects_As_512(void (TFParGen::*field)());
    void RePosition_Objects_As_518(void (TFParGen::*field)());
    void RePosition_Objects_As_318(void (TFParGen::*field)());
    void RePosition_Objects_501();
    void RePosition_Objects_507();
    void RePosition_Objects_512();
    void RePosition_Objects_518();
    void RePosition_Objects_520();
    void RePosition_Objects_521();
    void RePosition_Objects_522();
    void RePosition_Objects_523();
    void RePosition_Objects_524();
    void RePosition_Objects_525();
    void RePosition_Objects_526();
    void RePosition_Objects_527();
    void RePosition_Objects_528();
    void RePosition_Objects_529();
    void RePosition_Objects_530();
    void RePosition_Objects_531();
    void RePosition_Objects_532();
    void RePosition_Objects_533();
    void RePosition_Objects_535();
    void RePosition_Objects_539();
    void RePosition_Objects_541();
    void RePosition_Objects_543();
    void RePosition_Objects_544();
    void RePosition_Objects_318_C061();
    void RePosition_Objects_318_C063();
    void RePosition_Objects_318_C069();

    // Section layouts of the other models' panels (UParGenSections.cpp).
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_J1939();
    void RePosition_Object_DeviceNet_Master();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_NMEA2000();
    void RePosition_Object_DMX();
    void RePosition_Object_KNX();
    void RePosition_Object_Serial();
    void RePosition_Object_DALI();
    void RePosition_Object_MBus();
    void RePosition_Object_wMBus();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_Modbus_TCP_Master();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_PROFINET();
    void RePosition_Object_SNMP_Manager();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_BACnet_Master();
    void RePosition_Object_WiFi();
    // The thirteen address controls of a panel's own address rows follow the cable DHCP choice.
    void Address_Enabling(const plat::String& infix, const plat::String& gateway);
    void RePosition_Object_Select_Device();
    void RePosition_Object_Ethernet_Connection();
    void RePosition_Object_WorkMode();
    void RePosition_Object_Modbus_Master();
    void RePosition_Object_MQTT();
    void RePosition_Object_Ethernet();
    void RePosition_Object_TLS();
    void RePosition_Object_NTP();
    void RePosition_Object_WiFi2();
    void RePosition_Object_GSM_GPRS();
    // Full height of a panel whose last shown control is `last`.
    void Set_Panel_Height(plat::TCategoryPanel* panel, const plat::TControl* last) const;

    // The next field of an address chain; null at a chain's end.
    plat::TEdit* Next_Address_Field(plat::TObject* Sender) const;

    std::vector<TParGen_Binding> bindings_;
    std::vector<std::vector<plat::TEdit*>> dot_chains_;
    bool relayout_ = false;
    bool other_panels_ = true;  // the other models' panels have their controls
    TParGen_Model model_ = ParGen_Build_Model;
    bool wifi_laid_out_ = false;  // the older Wi-Fi panel has had a full height set
    std::vector<const plat::TObject*> change_triggers_, click_triggers_;
    std::unordered_map<plat::String, plat::TControl*> named_;
    std::unordered_map<plat::String, TAddress_Row> named_rows_;
};

extern TFParGen* FParGen;
