// Texts of the general-parameters window: captions, hints and the item lists that follow
// the language. Texts are stored as the language table holds them.
#include "UParGen.h"

#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace plat;

namespace {

void Put_Caption(TControl* c, int text)
{
    c->SetCaption(Lang(text));
}

void Put_Hint(TControl* c, int text)
{
    c->SetHint(Lang(text));
}

void Labelled(TControl* label, int caption, TControl* field, int hint)
{
    Put_Caption(label, caption);
    Put_Hint(field, hint);
}

// Hints of four address bytes: consecutive texts.
void Hints(const TAddress_Row& row, int first)
{
    for (int i = 0; i < 4; ++i) Put_Hint(row.E[static_cast<size_t>(i)], first + i);
}

// Rebuilds a list from consecutive texts and selects its first item.
void Items(TComboBox* c, int first, int last)
{
    c->Items()->Clear();
    for (int i = first; i <= last; ++i) c->Items()->Add(Lang(i));
    c->SetItemIndex(0);
}

} // namespace

void TFParGen::Set_Lang()
{
    TDialogForm::Set_Lang();

    // Select Device
    Labelled(L_Select_Device_Device, 4248, CB_Select_Device_Device, 4249);

    // Ethernet Connection
    Labelled(L_EthConn_Device_Name, 4251, E_EthConn_Device_Name, 4252);
    Put_Caption(CB_EthConn_En_DHCP_Cable, 4253);
    Put_Hint(CB_EthConn_En_DHCP_Cable, 4254);
    Put_Caption(CB_EthConn_En_DHCP_WiFi, 4255);
    Put_Hint(CB_EthConn_En_DHCP_WiFi, 4256);
    Put_Caption(CB_EthConn_Enable_DNS, 4257);
    Put_Hint(CB_EthConn_Enable_DNS, 4258);
    Put_Caption(L_EthConn_Primary_DNS, 4263);
    Hints(Row_EthConn_Pri_DNS, 4259);
    Put_Caption(L_EthConn_Secondary_DNS, 4264);
    Hints(Row_EthConn_Sec_DNS, 4265);

    // Working Mode
    Labelled(L_WorkMode_WorkMode, 620, CB_WorkMode_WorkMode, 623);
    Items(CB_WorkMode_WorkMode, 637, 638);

    // Modbus Master
    Labelled(L_ModbusMaster_Serial, 625, CB_ModbusMaster_Serial, 626);
    Labelled(L_ModbusMaster_Baudrate, 627, CB_ModbusMaster_Baudrate, 628);
    Labelled(L_ModbusMaster_Parity, 629, CB_ModbusMaster_Parity, 630);
    Labelled(L_ModbusMaster_StopBits, 631, CB_ModbusMaster_StopBits, 632);
    Labelled(L_ModbusMaster_TimeOut, 633, E_ModbusMaster_TimeOut, 634);
    Labelled(L_ModbusMaster_CyclicDelay, 635, E_ModbusMaster_CyclicDelay, 636);

    // MQTT
    Labelled(L_MQTT_Server, 429, E_MQTT_Server, 430);
    Labelled(L_MQTT_Server_Port, 431, E_MQTT_Server_Port, 432);
    Labelled(L_MQTT_Client_ID, 433, E_MQTT_Client_ID, 434);
    Labelled(L_MQTT_Keep_Alive, 435, E_MQTT_Keep_Alive, 436);
    Put_Caption(CB_MQTT_Clean_Session, 437);
    Put_Hint(CB_MQTT_Clean_Session, 438);
    Put_Caption(CB_MQTT_WillFlag, 439);
    Put_Hint(CB_MQTT_WillFlag, 440);
    Labelled(L_MQTT_Will_TopicName, 441, E_MQTT_Will_TopicName, 442);
    Labelled(L_MQTT_Will_Message, 443, E_MQTT_Will_Message, 444);
    Put_Caption(CB_MQTT_Will_Retained, 445);
    Put_Hint(CB_MQTT_Will_Retained, 446);
    Labelled(L_MQTT_Will_QoS, 447, CB_MQTT_Will_QoS, 448);
    Put_Caption(CB_MQTT_PublishTopicConnection, 4226);
    Put_Hint(CB_MQTT_PublishTopicConnection, 4227);
    Labelled(L_MQTT_Connection_TopicName, 4228, E_MQTT_Connection_TopicName, 4229);
    Labelled(L_MQTT_Connection_Message, 4230, E_MQTT_Connection_Message, 4231);
    Put_Caption(CB_MQTT_Connection_Retained, 4232);
    Put_Hint(CB_MQTT_Connection_Retained, 4233);
    Labelled(L_MQTT_Username, 449, E_MQTT_Username, 450);
    Labelled(L_MQTT_Password, 451, E_MQTT_Password, 452);
    Labelled(L_MQTT_ASync_Send_Time, 453, E_MQTT_ASync_Send_Time, 454);
    Labelled(L_MQTT_TopicDALIAns, 4234, E_MQTT_TopicDALIAns, 4235);
    Put_Caption(CB_MQTT_Enable_ReProgram, 4236);
    Put_Hint(CB_MQTT_Enable_ReProgram, 4237);
    Labelled(L_MQTT_Reprogram_Topic, 4238, E_MQTT_Reprogram_Topic, 4239);
    Labelled(L_MQTT_Reproram_Value, 4240, E_MQTT_Reproram_Value, 4241);
    Put_Caption(CB_MQTT_Single_Subsribe_for_Topics, 4269);
    Put_Hint(CB_MQTT_Single_Subsribe_for_Topics, 4270);

    // Ethernet
    Put_Caption(L_Ethernet_IP, 456);
    Hints(Row_Ethernet_IP, 457);
    Put_Caption(L_Ethernet_SM, 461);
    Hints(Row_Ethernet_SM, 462);
    Put_Caption(CB_Ethernet_En_GAT, 466);
    Put_Hint(CB_Ethernet_En_GAT, 467);
    Hints(Row_Ethernet_GAT, 468);
    Put_Caption(CB_Ethernet_Reset_24h, 4243);
    Put_Hint(CB_Ethernet_Reset_24h, 4244);

    // TLS
    Put_Caption(CB_TLS_Enable, 555);
    Put_Hint(CB_TLS_Enable, 556);
    Put_Caption(CB_TLS_En_Server_Auth, 557);
    Put_Hint(CB_TLS_En_Server_Auth, 558);
    Labelled(L_TLS_Server_Cert, 559, E_TLS_Server_Cert, 560);
    Put_Caption(CB_TLS_En_Client_Auth, 561);
    Put_Hint(CB_TLS_En_Client_Auth, 562);
    Labelled(L_TLS_CA_Cert, 5246, E_TLS_CA_Cert, 5247);
    Labelled(L_TLS_Client_Cert, 563, E_TLS_Client_Cert, 564);
    Labelled(L_TLS_Client_Cert_Key, 565, E_TLS_Client_Cert_Key, 566);
    Labelled(L_TLS_Client_Cert_Key_Pass, 567, E_TLS_Client_Cert_Key_Pass, 568);

    // NTP
    Labelled(L_NTP_Server_URL, 570, E_NTP_Server_URL, 571);
    Labelled(L_NTP_Poll_Time, 572, E_NTP_Poll_Time, 573);

    // Wi-Fi
    Labelled(L_WiFi2_Type, 5101, CB_WiFi2_Type, 5102);
    Items(CB_WiFi2_Type, 5103, 5104);
    Put_Caption(L_WiFi2_IP1, 5105);
    Put_Caption(L_WiFi2_IP1_IP, 5106);
    Hints(WiFi2_Block1.IP, 5107);
    Put_Caption(L_WiFi2_IP1_SM, 5111);
    Hints(WiFi2_Block1.SM, 5112);
    Put_Caption(CB_WiFi2_IP1_En_GAT, 5116);
    Put_Hint(CB_WiFi2_IP1_En_GAT, 5117);
    Hints(WiFi2_Block1.GAT, 5118);
    Put_Caption(L_WiFi2_IP2, 5122);
    Put_Caption(L_WiFi2_IP2_IP, 5123);
    Hints(WiFi2_Block2.IP, 5124);
    Put_Caption(L_WiFi2_IP2_SM, 5128);
    Hints(WiFi2_Block2.SM, 5129);
    Put_Caption(CB_WiFi2_IP2_En_GAT, 5133);
    Put_Hint(CB_WiFi2_IP2_En_GAT, 5134);
    Hints(WiFi2_Block2.GAT, 5135);
    Labelled(L_WiFi2_SSID, 5139, E_WiFi2_SSID, 5140);
    Labelled(L_WiFi2_Password, 5141, E_WiFi2_Password, 5142);
    Labelled(L_WiFi2_Secure_Type, 5143, CB_WiFi2_Secure_Type, 5144);
    Items(CB_WiFi2_Secure_Type, 5145, 5148);
    Put_Caption(CB_WiFi2_En_DHCP, 5149);
    Put_Hint(CB_WiFi2_En_DHCP, 5150);
    Put_Caption(L_WiFi2_DHCP_First_IP, 5151);
    Hints(Row_WiFi2_DHCP_First_IP, 5152);
    Put_Caption(L_WiFi2_DHCP_SM, 5156);
    Hints(Row_WiFi2_DHCP_SM, 5157);
    Labelled(L_WiFi2_Lease_Time, 5161, E_WiFi2_Lease_Time, 5162);
    Labelled(L_WiFi2_Max_Client, 5163, CB_WiFi2_Max_Client, 5164);
    Labelled(L_WiFi2_Channel, 5165, CB_WiFi2_Channel, 5166);
    Items(CB_WiFi2_Channel, 5167, 5178);

    // GSM / GPRS / LTE
    Labelled(L_GSM_GPRS_PIN, 4151, E_GSM_GPRS_PIN, 4152);
    Labelled(L_GSM_GPRS_APN, 4153, E_GSM_GPRS_APN, 4154);
    Labelled(L_GSM_GPRS_AuthType, 4220, CB_GSM_GPRS_AuthType, 4221);
    Labelled(L_GSM_GPRS_UserName, 4222, E_GSM_GPRS_UserName, 4223);
    Labelled(L_GSM_GPRS_Password, 4224, E_GSM_GPRS_Password, 4225);
    Put_Caption(CB_GSM_GPRS_En_Second_SIM, 5232);
    Put_Hint(CB_GSM_GPRS_En_Second_SIM, 5233);
    Labelled(L_GSM_GPRS_PIN2, 5234, E_GSM_GPRS_PIN2, 5235);
    Labelled(L_GSM_GPRS_APN2, 5236, E_GSM_GPRS_APN2, 5237);
    Labelled(L_GSM_GPRS_AuthType2, 5238, CB_GSM_GPRS_AuthType2, 5239);
    Labelled(L_GSM_GPRS_UserName2, 5240, E_GSM_GPRS_UserName2, 5241);
    Labelled(L_GSM_GPRS_Password2, 5242, E_GSM_GPRS_Password2, 5243);
    Labelled(L_GSM_GPRS_Main_SIM, 5244, CB_GSM_GPRS_Main_SIM, 5245);

    for (controls::TFadeButton* b : {Btn_TLS_Server_Cert, Btn_TLS_CA_Cert, Btn_TLS_Client_Cert, Btn_TLS_Client_Cert_Key})
        b->SetCaption(u"...");
    // The panels of the family's other models take their texts here when they carry fields.
}
