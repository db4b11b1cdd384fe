// Section layouts of the panels that only the family's other models show. Like those of the
// configured model they read only the state of controls and the design tops of anchors and
// write only visibility, tops, enabled states and the panel's full height (the height rule:
// top + height of the last shown control + the group's header height + 12); none of them
// changes a value the window saves, so none fires a change or click handler.
#include "UParGen.h"

#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

namespace {

constexpr int Row = 28;

void Show_All(const TFParGen& w, std::initializer_list<const char16_t*> names, bool visible)
{
    for (const char16_t* n : names) w.Named(n)->SetVisible(visible);
}

// A label at `top` with its field 3 above it.
void Place_Row(TControl* label, TControl* field, int top)
{
    label->SetTop(top);
    field->SetTop(top - 3);
}

} // namespace

// ---- panels with fixed rows ------------------------------------------------------------------

void TFParGen::RePosition_Object_CAN() { Set_Panel_Height(CP_CAN, Named(u"CB_CAN_Baudrate")); }
void TFParGen::RePosition_Object_CANopen() { Set_Panel_Height(CP_CANopen, Named(u"E_CANopen_SDO_Timeout")); }
void TFParGen::RePosition_Object_J1939() { Set_Panel_Height(CP_J1939, Named(u"E_J1939_ID_Device")); }
void TFParGen::RePosition_Object_DeviceNet_Master()
{
    Set_Panel_Height(CP_DeviceNet_Master, Named(u"CB_DeviceNet_Master_Baudrate"));
}
void TFParGen::RePosition_Object_DeviceNet_Slave()
{
    Set_Panel_Height(CP_DeviceNet_Slave, Named(u"E_DeviceNet_Slave_NumByteOut"));
}
void TFParGen::RePosition_Object_PROFIBUS() { Set_Panel_Height(CP_PROFIBUS, Named(u"E_PROFIBUS_NByte_Out")); }
void TFParGen::RePosition_Object_NMEA2000() { Set_Panel_Height(CP_NMEA2000, Named(u"CB_NMEA2000_Peer_To_Peer")); }
void TFParGen::RePosition_Object_DMX() { Set_Panel_Height(CP_DMX, Named(u"E_DMX_ChannelNum")); }
void TFParGen::RePosition_Object_KNX() { Set_Panel_Height(CP_KNX, Named(u"E_KNX_IDDevice")); }
void TFParGen::RePosition_Object_Serial() { Set_Panel_Height(CP_Serial, Named(u"CB_Serial_DataBits")); }
void TFParGen::RePosition_Object_DALI() { Set_Panel_Height(CP_DALI, Named(u"CB_DALI_En_DALI2")); }

// ---- panels whose rows follow a choice -------------------------------------------------------

void TFParGen::RePosition_Object_MBus()
{
    const bool present = Named_As<TComboBox>(u"CB_MBus_OnWire_Present")->ItemIndex() != 0;
    Show_All(*this,
             {u"L_MBus_Baud", u"CB_MBus_Baud", u"L_MBus_Parity", u"CB_MBus_Parity", u"L_MBus_Cyclic_Delay",
              u"E_MBus_Cyclic_Delay", u"L_MBus_NodeState", u"E_MBus_NodeState", u"CB_MBus_Request_on_MQTT"},
             present);
    // Without the wired bus the panel ends at the presence list; the extension time-out row,
    // which stays shown, lies below its edge.
    Set_Panel_Height(CP_MBus, Named(present ? u"E_MBus_Ext_TimeOut" : u"CB_MBus_OnWire_Present"));
}

void TFParGen::RePosition_Object_wMBus()
{
    const bool present = Named_As<TComboBox>(u"CB_wMBus_Wireless_Present")->ItemIndex() != 0;
    Show_All(*this, {u"L_wMBus_Mode", u"CB_wMBus_Mode", u"L_wMBus_Radio_Channel", u"CB_wMBus_Radio_Channel"}, present);
    Set_Panel_Height(CP_wMBus, Named(present ? u"CB_wMBus_Radio_Channel" : u"CB_wMBus_Wireless_Present"));
}

void TFParGen::RePosition_Object_Modbus_Slave()
{
    const bool asynchronous = CB_WorkMode_WorkMode->ItemIndex() != 0;
    Show_All(*this, {u"L_ModbusSlave_IDDevice", u"E_ModbusSlave_IDDevice", u"CB_ModbusSlave_ReadInput"}, asynchronous);
    Set_Panel_Height(CP_Modbus_Slave, Named(asynchronous ? u"CB_ModbusSlave_ReadInput" : u"CB_ModbusSlave_StopBits"));
}

void TFParGen::Address_Enabling(const String& infix, const String& gateway)
{
    const bool manual = !CB_EthConn_En_DHCP_Cable->Checked();
    Named_Row(u"E_" + infix + u"_IP").Set_Enabled(manual);
    Named_Row(u"E_" + infix + u"_SM").Set_Enabled(manual);
    Named(gateway)->SetEnabled(manual);
    Named_Row(u"E_" + infix + u"_GAT").Set_Enabled(manual);
}

void TFParGen::RePosition_Object_Modbus_TCP_Master()
{
    Address_Enabling(u"ModbusTCPMaster", u"CB_ModbusTCPMaster_En_GAT");
    Set_Panel_Height(CP_Modbus_TCP_Master, Named(u"E_ModbusTCPMaster_CyclicDelay"));
}

void TFParGen::RePosition_Object_Modbus_TCP_Slave()
{
    Address_Enabling(u"ModbusTCPSlave", u"CB_ModbusTCPSlave_En_GAT");
    Set_Panel_Height(CP_Modbus_TCP_Slave, Named(u"E_ModbusTCPSlave_Port"));
}

void TFParGen::RePosition_Object_EtherNetIP()
{
    Address_Enabling(u"EtherNetIP", u"CB_EtherNetIP_GAT");
    Set_Panel_Height(CP_EtherNetIP, Named(u"E_EtherNetIP_NByte_Out"));
}

void TFParGen::RePosition_Object_PROFINET()
{
    Address_Enabling(u"PROFINET", u"CB_PROFINET_GAT");
    Set_Panel_Height(CP_PROFINET, Named(u"E_PROFINET_Diagnostic"));
}

void TFParGen::RePosition_Object_SNMP_Manager()
{
    Address_Enabling(u"SNMP_Manager", u"CB_SNMP_Manager_GAT");
    Set_Panel_Height(CP_SNMP_Manager, Named(u"E_SNMP_Manager_NameStation"));
}

void TFParGen::RePosition_Object_SNMP_Agent()
{
    Address_Enabling(u"SNMP_Agent", u"CB_SNMP_Agent_GAT");
    const std::initializer_list<const char16_t*> user_rows = {u"L_SNMP_Agent_User", u"E_SNMP_Agent_User",
                                                              u"L_SNMP_Agent_SecurityLevel",
                                                              u"CB_SNMP_Agent_SecurityLevel"};
    const std::initializer_list<const char16_t*> authority_rows = {u"L_SNMP_Agent_Authority", u"E_SNMP_Agent_Authority",
                                                                   u"L_SNMP_Agent_AuthorityMode",
                                                                   u"CB_SNMP_Agent_AuthorityMode"};
    const std::initializer_list<const char16_t*> privacy_rows = {u"L_SNMP_Agent_Privacy", u"E_SNMP_Agent_Privacy",
                                                                 u"L_SNMP_Agent_PrivacyMode",
                                                                 u"CB_SNMP_Agent_PrivacyMode"};
    if (!Named_As<TCheckBox>(u"CB_SNMP_Agent_Version3")->Checked()) {
        Show_All(*this, user_rows, false);
        Show_All(*this, authority_rows, false);
        Show_All(*this, privacy_rows, false);
        Set_Panel_Height(CP_SNMP_Agent, Named(u"CB_SNMP_Agent_Version3"));
        return;
    }
    Show_All(*this, user_rows, true);
    const int level = Named_As<TComboBox>(u"CB_SNMP_Agent_SecurityLevel")->ItemIndex();
    Show_All(*this, authority_rows, level >= 1 || level < 0);
    Show_All(*this, privacy_rows, level >= 2 || level < 0);
    const char16_t* last = level == 0   ? u"CB_SNMP_Agent_SecurityLevel"
                           : level == 1 ? u"CB_SNMP_Agent_AuthorityMode"
                                        : u"CB_SNMP_Agent_PrivacyMode";
    Set_Panel_Height(CP_SNMP_Agent, Named(last));
}

namespace {

// The BACnet/IP rows of a BACnet panel: three address rows with their dots, the gateway check
// box, and the rows after them (30 controls for the slave, 32 with the master's polling row).
void Show_BACnet_IP(const TFParGen& w, const String& side, bool visible, bool polling)
{
    const String ip = u"BACnet_IP_" + side;
    for (const char16_t* part : {u"_IP", u"_SM", u"_GAT"}) w.Named_Row(u"E_" + ip + part).Set_Visible(visible);
    for (const String& n : {u"L_" + ip + u"_IP", u"L_" + ip + u"_SM", u"CB_" + ip + u"_GAT", u"L_" + ip + u"_Port",
                            u"E_" + ip + u"_Port", u"L_" + ip + u"_Device_Name", u"E_" + ip + u"_Device_Name",
                            u"L_" + ip + u"_Device_Identifier", u"E_" + ip + u"_Device_Identifier"})
        w.Named(n)->SetVisible(visible);
    if (polling)
        for (const String& n : {u"L_" + ip + u"_TimeOut_Polling", u"E_" + ip + u"_TimeOut_Polling"})
            w.Named(n)->SetVisible(visible);
}

// The MS/TP rows, shown and stacked from the address row's place, or hidden. Returns the top
// of the last label.
int Place_MSTP(const TFParGen& w, const String& side, bool network, bool visible)
{
    const String mstp = u"BACnet_MSTP_" + side;
    struct TPair {
        String L, F;
    };
    std::vector<TPair> rows = {{u"L_" + mstp + u"_Baudrate", u"CB_" + mstp + u"_Baudrate"},
                               {u"L_" + mstp + u"_Parity", u"CB_" + mstp + u"_Parity"},
                               {u"L_" + mstp + u"_Device_Name", u"E_" + mstp + u"_Device_Name"},
                               {u"L_" + mstp + u"_MAC_Address", u"E_" + mstp + u"_MAC_Address"},
                               {u"L_" + mstp + u"_Max_Master", u"E_" + mstp + u"_Max_Master"},
                               {u"L_" + mstp + u"_Max_Info_Frame", u"E_" + mstp + u"_Max_Info_Frame"},
                               {u"L_" + mstp + u"_Device_Instance", u"E_" + mstp + u"_Device_Instance"}};
    if (network) rows.push_back({u"L_" + mstp + u"_Network", u"E_" + mstp + u"_Network"});
    const String ip = u"BACnet_IP_" + side;
    int label_top = w.Named(u"L_" + ip + u"_IP")->Top();
    int field_top = w.Named_Row(u"E_" + ip + u"_IP").E[0]->Top();
    int last = label_top;
    for (const TPair& r : rows) {
        TControl* l = w.Named(r.L);
        TControl* f = w.Named(r.F);
        l->SetVisible(visible);
        f->SetVisible(visible);
        if (!visible) continue;
        l->SetTop(label_top);
        f->SetTop(field_top);
        last = label_top;
        label_top += Row;
        field_top += Row;
    }
    return last;
}

} // namespace

void TFParGen::RePosition_Object_BACnet_Slave()
{
    Address_Enabling(u"BACnet_IP_Slave", u"CB_BACnet_IP_Slave_GAT");
    TControl* desc = Named(u"CB_BACnet_Slave_Desc_32_Chars");
    const bool ip = Named_As<TComboBox>(u"CB_BACnet_Slave_Type")->ItemIndex() == 0;
    Show_BACnet_IP(*this, u"Slave", ip, false);
    const int last = Place_MSTP(*this, u"Slave", true, !ip);
    desc->SetTop((ip ? Named(u"L_BACnet_IP_Slave_Device_Identifier")->Top() : last) + Row);
    desc->SetVisible(true);
    Set_Panel_Height(CP_BACnet_Slave, desc);
}

void TFParGen::RePosition_Object_BACnet_Master()
{
    Address_Enabling(u"BACnet_IP_Master", u"CB_BACnet_IP_Master_GAT");
    const bool ip = Named_As<TComboBox>(u"CB_BACnet_Master_Type")->ItemIndex() == 0;
    Show_BACnet_IP(*this, u"Master", ip, true);
    Place_MSTP(*this, u"Master", false, !ip);
    Set_Panel_Height(CP_BACnet_Master,
                     Named(ip ? u"E_BACnet_IP_Master_TimeOut_Polling" : u"E_BACnet_MSTP_Master_Device_Instance"));
}

// ---- the older Wi-Fi panel -------------------------------------------------------------------

void TFParGen::RePosition_Object_WiFi()
{
    int type = Named_As<TComboBox>(u"CB_WiFi_Type")->ItemIndex();
    // "WiFi Direct" leaves the panel as the type before it left it; a panel that no pass has
    // laid out yet takes the Access Point rows, so it never shows without a full height.
    if (type != 0 && type != 1) {
        if (wifi_laid_out_) return;
        type = 0;
    }
    wifi_laid_out_ = true;

    const int t = Named(u"L_WiFi_Type")->Top();
    const TAddress_Row& ip = Named_Row(u"E_WiFi_IP");
    const TAddress_Row& sm = Named_Row(u"E_WiFi_SM");
    const TAddress_Row& gat = Named_Row(u"E_WiFi_GAT");
    const TAddress_Row& dns = Named_Row(u"E_WiFi_DNS");
    const TAddress_Row& dhcp_ip = Named_Row(u"E_WiFi_DHCP_First_IP");
    const TAddress_Row& dhcp_sm = Named_Row(u"E_WiFi_DHCP_SM");
    TControl* port_l = Named(u"L_WiFi_Port");
    TControl* port = Named(u"E_WiFi_Port");

    // The address, mask, gateway and DNS rows from `r` (32 controls).
    auto address_rows = [&](int r, bool visible) {
        Show_All(*this, {u"L_WiFi_IP", u"L_WiFi_SM", u"CB_WiFi_En_Gat", u"CB_WiFi_En_DNS"}, visible);
        for (const TAddress_Row* a : {&ip, &sm, &gat, &dns}) a->Set_Visible(visible);
        if (!visible) return;
        Named(u"L_WiFi_IP")->SetTop(r);
        ip.Place(r - 3, r);
        Named(u"L_WiFi_SM")->SetTop(r + Row);
        sm.Place(r + Row - 3, r + Row);
        Named(u"CB_WiFi_En_Gat")->SetTop(r + 2 * Row);
        gat.Place(r + 2 * Row - 3, r + 2 * Row + 1);
        Named(u"CB_WiFi_En_DNS")->SetTop(r + 3 * Row);
        dns.Place(r + 3 * Row - 3, r + 3 * Row + 1);
    };
    auto dhcp_rows = [&](int y, bool visible) {
        Show_All(*this, {u"L_WiFi_DHCP_First_IP", u"L_WiFi_DHCP_SM", u"L_WiFi_Lease_Time", u"E_WiFi_Lease_Time"},
                 visible);
        dhcp_ip.Set_Visible(visible);
        dhcp_sm.Set_Visible(visible);
        if (!visible) return;
        Named(u"L_WiFi_DHCP_First_IP")->SetTop(y);
        dhcp_ip.Place(y - 3, y);
        Named(u"L_WiFi_DHCP_SM")->SetTop(y + Row);
        dhcp_sm.Place(y + Row - 3, y + Row);
        Place_Row(Named(u"L_WiFi_Lease_Time"), Named(u"E_WiFi_Lease_Time"), y + 2 * Row);
    };

    if (type == 0) {
        // Access Point: its own network, optionally secured, optionally a DHCP server.
        Named(u"CB_WiFi_IP_Auto")->SetVisible(false);
        address_rows(t + Row, true);
        Place_Row(port_l, port, t + 5 * Row);
        port_l->SetVisible(true);
        port->SetVisible(true);
        Named(u"CB_WiFi_En_WPS")->SetVisible(false);
        Place_Row(Named(u"L_WiFi_SSID"), Named(u"E_WiFi_SSID"), t + 6 * Row);
        Place_Row(Named(u"L_WiFi_Secure_Type"), Named(u"CB_WiFi_Secure_Type"), t + 7 * Row);
        Show_All(*this, {u"L_WiFi_SSID", u"E_WiFi_SSID", u"L_WiFi_Secure_Type", u"CB_WiFi_Secure_Type"}, true);
        int y;
        const bool secured = Named_As<TComboBox>(u"CB_WiFi_Secure_Type")->ItemIndex() != 0;
        Show_All(*this, {u"L_WiFi_Password", u"E_WiFi_Password"}, secured);
        if (secured) {
            Place_Row(Named(u"L_WiFi_Password"), Named(u"E_WiFi_Password"), t + 8 * Row);
            y = t + 9 * Row;
        } else {
            y = t + 8 * Row;
        }
        auto* dhcp = Named_As<TCheckBox>(u"CB_WiFi_En_DHCP");
        dhcp->SetTop(y);
        dhcp->SetVisible(true);
        const bool server = dhcp->Checked();
        dhcp_rows(y + Row, server);
        y += server ? 4 * Row : Row;
        Show_All(*this, {u"L_WiFi_Name", u"E_WiFi_Name"}, false);
        Place_Row(Named(u"L_WiFi_Max_Client"), Named(u"CB_WiFi_Max_Client"), y);
        Place_Row(Named(u"L_WiFi_Channel"), Named(u"CB_WiFi_Channel"), y + Row);
        Show_All(*this, {u"L_WiFi_Max_Client", u"CB_WiFi_Max_Client", u"L_WiFi_Channel", u"CB_WiFi_Channel"}, true);
        Set_Panel_Height(CP_WiFi, Named(u"CB_WiFi_Channel"));
        return;
    }

    // Client Mode: an address of its own or one obtained, then the network to join.
    auto* automatic = Named_As<TCheckBox>(u"CB_WiFi_IP_Auto");
    automatic->SetTop(t + Row);
    automatic->SetVisible(true);
    int y;
    if (!automatic->Checked()) {
        address_rows(t + 2 * Row, true);
        Show_All(*this, {u"L_WiFi_Name", u"E_WiFi_Name"}, false);
        y = t + 6 * Row;
    } else {
        address_rows(0, false);
        Place_Row(Named(u"L_WiFi_Name"), Named(u"E_WiFi_Name"), t + 2 * Row);
        Show_All(*this, {u"L_WiFi_Name", u"E_WiFi_Name"}, true);
        y = t + 3 * Row;
    }
    Place_Row(port_l, port, y);
    port_l->SetVisible(true);
    port->SetVisible(true);
    Named(u"CB_WiFi_En_WPS")->SetVisible(false);
    Place_Row(Named(u"L_WiFi_SSID"), Named(u"E_WiFi_SSID"), y + Row);
    Show_All(*this, {u"L_WiFi_SSID", u"E_WiFi_SSID"}, true);
    Show_All(*this, {u"L_WiFi_Secure_Type", u"CB_WiFi_Secure_Type"}, false);
    Place_Row(Named(u"L_WiFi_Password"), Named(u"E_WiFi_Password"), y + 2 * Row);
    Show_All(*this, {u"L_WiFi_Password", u"E_WiFi_Password"}, true);
    Named(u"CB_WiFi_En_DHCP")->SetVisible(false);
    dhcp_rows(0, false);
    Show_All(*this, {u"L_WiFi_Max_Client", u"CB_WiFi_Max_Client", u"L_WiFi_Channel", u"CB_WiFi_Channel"}, false);
    Set_Panel_Height(CP_WiFi, Named(u"E_WiFi_Password"));
}
