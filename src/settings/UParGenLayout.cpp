// Panels of the general-parameters window and the section layouts of the configured model:
// which panels show, in which order, and where the rows of each panel stand for the options
// chosen. The pass reads only the state of controls and never sets a value that is saved,
// so it fires no change or click handler.
#include "UParGen.h"

#include "UComon.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace {

constexpr int Row = 28;

void Show_All(std::initializer_list<TControl*> controls, bool visible)
{
    for (TControl* c : controls) c->SetVisible(visible);
}

// A label at `top` with its field 3 above it.
void Place_Row(TControl* label, TControl* field, int top)
{
    label->SetTop(top);
    field->SetTop(top - 3);
}

} // namespace

void TFParGen::Set_Panel_Height(TCategoryPanel* panel, const TControl* last) const
{
    panel->SetHeight(last->Top() + last->Height() + CPG->HeaderHeight() + 12);
}

// The triggers are the same for every model: the combo boxes and check boxes whose state
// some section layout of the family reads. The pass runs under its guard, so the controls it
// shows, hides or enables cannot run it again from inside.
void TFParGen::Collect_Triggers()
{
    change_triggers_ = {CB_Select_Device_Device, CB_WorkMode_WorkMode, CB_WiFi2_Type, CB_WiFi2_Secure_Type};
    click_triggers_ = {CB_EthConn_En_DHCP_Cable,      CB_EthConn_En_DHCP_WiFi,
                       CB_MQTT_WillFlag,              CB_MQTT_PublishTopicConnection,
                       CB_MQTT_Enable_ReProgram,      CB_TLS_Enable,
                       CB_TLS_En_Server_Auth,         CB_TLS_En_Client_Auth,
                       CB_WiFi2_En_DHCP,              CB_GSM_GPRS_En_Second_SIM};
    if (!other_panels_)
        return;
    change_triggers_ = {CB_Select_Device_Device,
                        CB_WorkMode_WorkMode,
                        CB_WiFi2_Type,
                        CB_WiFi2_Secure_Type,
                        Named(u"CB_WiFi_Type"),
                        Named(u"CB_WiFi_Secure_Type"),
                        Named(u"CB_MBus_OnWire_Present"),
                        Named(u"CB_wMBus_Wireless_Present"),
                        Named(u"CB_BACnet_Master_Type"),
                        Named(u"CB_BACnet_Slave_Type"),
                        Named(u"CB_SNMP_Agent_SecurityLevel")};
    click_triggers_ = {CB_EthConn_En_DHCP_Cable,      CB_EthConn_En_DHCP_WiFi,
                       CB_MQTT_WillFlag,              CB_MQTT_PublishTopicConnection,
                       CB_MQTT_Enable_ReProgram,      CB_TLS_Enable,
                       CB_TLS_En_Server_Auth,         CB_TLS_En_Client_Auth,
                       CB_WiFi2_En_DHCP,              CB_GSM_GPRS_En_Second_SIM,
                       Named(u"CB_WiFi_IP_Auto"),     Named(u"CB_WiFi_En_DHCP"),
                       Named(u"CB_SNMP_Agent_Version3")};
}

void TFParGen::On_Change(TObject* Sender)
{
    for (const TObject* t : change_triggers_)
        if (Sender == t) {
            Move_GroupBoxs();
            return;
        }
}

void TFParGen::On_Click(TObject* Sender)
{
    for (const TObject* t : click_triggers_)
        if (Sender == t) {
            Move_GroupBoxs();
            return;
        }
}

void TFParGen::CP_Expand(TObject*)
{
    Move_GroupBoxs();
}

// ---- section layouts -----------------------------------------------------------------------

void TFParGen::RePosition_Object_Select_Device()
{
    Set_Panel_Height(CP_Select_Device, CB_Select_Device_Device);
}

void TFParGen::RePosition_Object_Ethernet_Connection()
{
    Set_Panel_Height(CP_Ethernet_Connection, E_EthConn_Sec_DNS_IP4);
    const int type = CB_Select_Device_Device->ItemIndex();
    CB_EthConn_En_DHCP_WiFi->SetEnabled(!(type == 0 || type == 2));
}

void TFParGen::RePosition_Object_WorkMode()
{
    Set_Panel_Height(CP_Working_Mode, CB_WorkMode_WorkMode);
}

void TFParGen::RePosition_Object_Modbus_Master()
{
    Set_Panel_Height(CP_Modbus_Master, E_ModbusMaster_CyclicDelay);
}

void TFParGen::RePosition_Object_MQTT()
{
    int y;
    const bool will = CB_MQTT_WillFlag->Checked();
    Show_All({L_MQTT_Will_TopicName, E_MQTT_Will_TopicName, L_MQTT_Will_Message, E_MQTT_Will_Message,
          CB_MQTT_Will_Retained, L_MQTT_Will_QoS, CB_MQTT_Will_QoS},
         will);
    y = will ? L_MQTT_Will_QoS->Top() + Row : L_MQTT_Will_TopicName->Top();

    CB_MQTT_PublishTopicConnection->SetTop(y);
    y += Row;
    const bool connection = CB_MQTT_PublishTopicConnection->Checked();
    Show_All({L_MQTT_Connection_TopicName, E_MQTT_Connection_TopicName, L_MQTT_Connection_Message,
          E_MQTT_Connection_Message, CB_MQTT_Connection_Retained},
         connection);
    if (connection) {
        Place_Row(L_MQTT_Connection_TopicName, E_MQTT_Connection_TopicName, y);
        Place_Row(L_MQTT_Connection_Message, E_MQTT_Connection_Message, y + Row);
        CB_MQTT_Connection_Retained->SetTop(y + 2 * Row);
        y += 3 * Row;
    }

    Place_Row(L_MQTT_Username, E_MQTT_Username, y);
    Place_Row(L_MQTT_Password, E_MQTT_Password, y + Row);
    y += 2 * Row;

    CB_MQTT_Single_Subsribe_for_Topics->SetTop(y);
    CB_MQTT_Single_Subsribe_for_Topics->SetVisible(true);
    Show_All({L_MQTT_ASync_Send_Time, E_MQTT_ASync_Send_Time, L_MQTT_TopicDALIAns, E_MQTT_TopicDALIAns,
          CB_MQTT_Enable_ReProgram, L_MQTT_Reprogram_Topic, E_MQTT_Reprogram_Topic, L_MQTT_Reproram_Value,
          E_MQTT_Reproram_Value},
         false);
    Set_Panel_Height(CP_MQTT, CB_MQTT_Single_Subsribe_for_Topics);
}

void TFParGen::RePosition_Object_Ethernet()
{
    const bool manual = !CB_EthConn_En_DHCP_Cable->Checked();
    Row_Ethernet_IP.Set_Enabled(manual);
    Row_Ethernet_SM.Set_Enabled(manual);
    CB_Ethernet_En_GAT->SetEnabled(manual);
    Row_Ethernet_GAT.Set_Enabled(manual);

    CB_Ethernet_En_DNS->SetVisible(false);
    Row_Ethernet_DNS.Set_Visible(false);

    const int top = CB_Ethernet_En_GAT->Top() + Row;
    Place_Row(L_Ethernet_TCP_Port, E_Ethernet_TCP_Port, top);
    Place_Row(L_Ethernet_UDP_Port, E_Ethernet_UDP_Port, top + Row);
    Show_All({L_Ethernet_TCP_Port, E_Ethernet_TCP_Port, L_Ethernet_UDP_Port, E_Ethernet_UDP_Port, CB_Ethernet_Reset_24h},
         false);
    Set_Panel_Height(CP_Ethernet, E_Ethernet_GAT4);
}

void TFParGen::RePosition_Object_TLS()
{
    const std::initializer_list<TControl*> server_row = {L_TLS_Server_Cert, E_TLS_Server_Cert, Btn_TLS_Server_Cert};
    const std::initializer_list<TControl*> client_rows = {
        L_TLS_CA_Cert,         E_TLS_CA_Cert,         Btn_TLS_CA_Cert,           L_TLS_Client_Cert,
        E_TLS_Client_Cert,     Btn_TLS_Client_Cert,   L_TLS_Client_Cert_Key,     E_TLS_Client_Cert_Key,
        Btn_TLS_Client_Cert_Key, L_TLS_Client_Cert_Key_Pass, E_TLS_Client_Cert_Key_Pass};
    if (!CB_TLS_Enable->Checked()) {
        CB_TLS_En_Server_Auth->SetVisible(false);
        CB_TLS_En_Client_Auth->SetVisible(false);
        Show_All(server_row, false);
        Show_All(client_rows, false);
        Set_Panel_Height(CP_TLS, CB_TLS_Enable);
        return;
    }
    CB_TLS_En_Server_Auth->SetVisible(true);
    int y = CB_TLS_En_Server_Auth->Top() + Row;
    const bool server = CB_TLS_En_Server_Auth->Checked();
    Show_All(server_row, server);
    if (server) y = E_TLS_Server_Cert->Top() + Row;

    CB_TLS_En_Client_Auth->SetTop(y);
    CB_TLS_En_Client_Auth->SetVisible(true);
    const TControl* last = CB_TLS_En_Client_Auth;
    y += Row;
    const bool client = CB_TLS_En_Client_Auth->Checked();
    Show_All(client_rows, client);
    if (client) {
        struct TFile_Row {
            TControl* L;
            TControl* E;
            TControl* Btn;
        };
        const TFile_Row rows[] = {{L_TLS_CA_Cert, E_TLS_CA_Cert, Btn_TLS_CA_Cert},
                                  {L_TLS_Client_Cert, E_TLS_Client_Cert, Btn_TLS_Client_Cert},
                                  {L_TLS_Client_Cert_Key, E_TLS_Client_Cert_Key, Btn_TLS_Client_Cert_Key},
                                  {L_TLS_Client_Cert_Key_Pass, E_TLS_Client_Cert_Key_Pass, nullptr}};
        for (const TFile_Row& r : rows) {
            Place_Row(r.L, r.E, y);
            if (r.Btn) r.Btn->SetTop(r.E->Top());
            y += Row;
        }
        last = E_TLS_Client_Cert_Key_Pass;
    }
    Set_Panel_Height(CP_TLS, last);
}

void TFParGen::RePosition_Object_NTP()
{
    Set_Panel_Height(CP_NTP, E_NTP_Poll_Time);
}

void TFParGen::RePosition_Object_WiFi2()
{
    const int t = L_WiFi2_Type->Top();
    const std::initializer_list<TControl*> dhcp_rows = {L_WiFi2_DHCP_First_IP, L_WiFi2_DHCP_SM, L_WiFi2_Lease_Time,
                                                        E_WiFi2_Lease_Time};
    auto show_dhcp = [&](bool visible) {
        Show_All(dhcp_rows, visible);
        Row_WiFi2_DHCP_First_IP.Set_Visible(visible);
        Row_WiFi2_DHCP_SM.Set_Visible(visible);
    };

    if (CB_WiFi2_Type->ItemIndex() == 0) {
        // Access point: one address, its own network and optionally a DHCP server.
        L_WiFi2_IP1->SetVisible(false);
        WiFi2_Block1.Place(t + Row);
        WiFi2_Block1.Set_Visible(true);
        WiFi2_Block1.Set_Enabled(true);
        L_WiFi2_IP2->SetVisible(false);
        WiFi2_Block2.Set_Visible(false);

        Place_Row(L_WiFi2_SSID, E_WiFi2_SSID, t + 4 * Row);
        Place_Row(L_WiFi2_Secure_Type, CB_WiFi2_Secure_Type, t + 5 * Row);
        Show_All({L_WiFi2_SSID, E_WiFi2_SSID, L_WiFi2_Secure_Type, CB_WiFi2_Secure_Type}, true);
        int y;
        const bool secured = CB_WiFi2_Secure_Type->ItemIndex() >= 1;
        Show_All({L_WiFi2_Password, E_WiFi2_Password}, secured);
        if (secured) {
            Place_Row(L_WiFi2_Password, E_WiFi2_Password, t + 6 * Row);
            y = t + 7 * Row;
        } else {
            y = t + 6 * Row;
        }

        CB_WiFi2_En_DHCP->SetTop(y);
        CB_WiFi2_En_DHCP->SetVisible(true);
        const bool dhcp = CB_WiFi2_En_DHCP->Checked();
        show_dhcp(dhcp);
        if (dhcp) {
            L_WiFi2_DHCP_First_IP->SetTop(y + Row);
            Row_WiFi2_DHCP_First_IP.Place(y + Row - 3, y + Row);
            L_WiFi2_DHCP_SM->SetTop(y + 2 * Row);
            Row_WiFi2_DHCP_SM.Place(y + 2 * Row - 3, y + 2 * Row);
            Place_Row(L_WiFi2_Lease_Time, E_WiFi2_Lease_Time, y + 3 * Row);
            y += 4 * Row;
        } else {
            y += Row;
        }
        Place_Row(L_WiFi2_Max_Client, CB_WiFi2_Max_Client, y);
        Place_Row(L_WiFi2_Channel, CB_WiFi2_Channel, y + Row);
        Show_All({L_WiFi2_Max_Client, CB_WiFi2_Max_Client, L_WiFi2_Channel, CB_WiFi2_Channel}, true);
        Set_Panel_Height(CP_WiFi2, CB_WiFi2_Channel);
        return;
    }

    // Station: the addresses of the sides that use Wi-Fi, the network to join.
    String name1, name2;
    const int answer = Check_Device_IP_Address_WiFi(name1, name2);
    const bool manual = !CB_EthConn_En_DHCP_WiFi->Checked();
    int y = t + Row;
    L_WiFi2_IP1->SetVisible(answer == 2);
    if (answer == 2) {
        L_WiFi2_IP1->SetTop(y);
        L_WiFi2_IP1->SetCaption(Lang(5105) + u" - " + name1);
        y += Row;
    }
    WiFi2_Block1.Place(y);
    WiFi2_Block1.Set_Visible(true);
    WiFi2_Block1.Set_Enabled(manual);
    y += 3 * Row;
    L_WiFi2_IP2->SetVisible(answer == 2);
    if (answer == 2) {
        L_WiFi2_IP2->SetTop(y);
        L_WiFi2_IP2->SetCaption(Lang(5122) + u" - " + name2);
        WiFi2_Block2.Place(y + Row);
        WiFi2_Block2.Set_Visible(true);
        WiFi2_Block2.Set_Enabled(manual);
        y += 4 * Row;
    } else {
        WiFi2_Block2.Set_Visible(false);
    }
    Place_Row(L_WiFi2_SSID, E_WiFi2_SSID, y);
    Place_Row(L_WiFi2_Password, E_WiFi2_Password, y + Row);
    Show_All({L_WiFi2_SSID, E_WiFi2_SSID, L_WiFi2_Password, E_WiFi2_Password}, true);
    Show_All({L_WiFi2_Secure_Type, CB_WiFi2_Secure_Type, CB_WiFi2_En_DHCP, L_WiFi2_Max_Client, CB_WiFi2_Max_Client,
          L_WiFi2_Channel, CB_WiFi2_Channel},
         false);
    show_dhcp(false);
    Set_Panel_Height(CP_WiFi2, E_WiFi2_Password);
}

void TFParGen::RePosition_Object_GSM_GPRS()
{
    const bool second = CB_GSM_GPRS_En_Second_SIM->Checked();
    Show_All({L_GSM_GPRS_PIN2, E_GSM_GPRS_PIN2, L_GSM_GPRS_APN2, E_GSM_GPRS_APN2, L_GSM_GPRS_AuthType2,
          CB_GSM_GPRS_AuthType2, L_GSM_GPRS_UserName2, E_GSM_GPRS_UserName2, L_GSM_GPRS_Password2,
          E_GSM_GPRS_Password2, L_GSM_GPRS_Main_SIM, CB_GSM_GPRS_Main_SIM},
         second);
    Set_Panel_Height(CP_GSM_GPRS, second ? static_cast<TControl*>(CB_GSM_GPRS_Main_SIM) : CB_GSM_GPRS_En_Second_SIM);
}
