// Panels and section layouts of the general-parameters window: what shows, where the
// movable rows stand, what is greyed and how tall each panel is for the options chosen.
#include <functional>

#include "ParGenTestKit.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

using namespace pargen_test;
using plat::TCategoryPanel;

namespace {

// A pick as the user makes it: the selection, then the change event.
void Pick(plat::TComboBox* c, int index)
{
    c->SetItemIndex(index);
    if (c->OnChange) c->OnChange(c);
}

class ParGenLayoutTest : public ParGenTest {
protected:
    void SetUp() override
    {
        ParGenTest::SetUp();
        W().Load_Defaults();
        W().Move_GroupBoxs();
    }
};

TEST_F(ParGenLayoutTest, PanelHeightsFollowTheOptions)
{
    struct TCase {
        const char* name;
        std::function<void(TFParGen&)> set;
        TCategoryPanel* TFParGen::*panel;
        int height;
    };
    const TCase cases[] = {
        {"select device", [](TFParGen&) {}, &TFParGen::CP_Select_Device, 67},
        {"ethernet connection", [](TFParGen&) {}, &TFParGen::CP_Ethernet_Connection, 206},
        {"working mode", [](TFParGen&) {}, &TFParGen::CP_Working_Mode, 67},
        {"modbus master", [](TFParGen&) {}, &TFParGen::CP_Modbus_Master, 206},
        {"mqtt plain", [](TFParGen&) {}, &TFParGen::CP_MQTT, 317},
        {"mqtt connection topic", [](TFParGen& w) { w.CB_MQTT_PublishTopicConnection->SetChecked(true); },
         &TFParGen::CP_MQTT, 401},
        {"mqtt will", [](TFParGen& w) { w.CB_MQTT_WillFlag->SetChecked(true); }, &TFParGen::CP_MQTT, 429},
        {"mqtt will and connection topic",
         [](TFParGen& w) {
             w.CB_MQTT_WillFlag->SetChecked(true);
             w.CB_MQTT_PublishTopicConnection->SetChecked(true);
         },
         &TFParGen::CP_MQTT, 513},
        {"ethernet", [](TFParGen& w) { w.CB_EthConn_En_DHCP_Cable->SetChecked(true); }, &TFParGen::CP_Ethernet, 123},
        {"tls off", [](TFParGen& w) { w.CB_TLS_En_Client_Auth->SetChecked(true); }, &TFParGen::CP_TLS, 65},
        {"tls on", [](TFParGen& w) { w.CB_TLS_Enable->SetChecked(true); }, &TFParGen::CP_TLS, 121},
        {"tls server",
         [](TFParGen& w) {
             w.CB_TLS_Enable->SetChecked(true);
             w.CB_TLS_En_Server_Auth->SetChecked(true);
         },
         &TFParGen::CP_TLS, 144},
        {"tls client",
         [](TFParGen& w) {
             w.CB_TLS_Enable->SetChecked(true);
             w.CB_TLS_En_Client_Auth->SetChecked(true);
         },
         &TFParGen::CP_TLS, 234},
        {"tls server and client",
         [](TFParGen& w) {
             w.CB_TLS_Enable->SetChecked(true);
             w.CB_TLS_En_Server_Auth->SetChecked(true);
             w.CB_TLS_En_Client_Auth->SetChecked(true);
         },
         &TFParGen::CP_TLS, 257},
        {"ntp", [](TFParGen&) {}, &TFParGen::CP_NTP, 94},
        {"access point unsecured", [](TFParGen&) {}, &TFParGen::CP_WiFi2, 291},
        {"access point secured", [](TFParGen& w) { Pick(w.CB_WiFi2_Secure_Type, 2); }, &TFParGen::CP_WiFi2, 319},
        {"access point dhcp", [](TFParGen& w) { w.CB_WiFi2_En_DHCP->SetChecked(true); }, &TFParGen::CP_WiFi2, 375},
        {"access point secured dhcp",
         [](TFParGen& w) {
             Pick(w.CB_WiFi2_Secure_Type, 3);
             w.CB_WiFi2_En_DHCP->SetChecked(true);
         },
         &TFParGen::CP_WiFi2, 403},
        {"station",
         [](TFParGen& w) {
             w.CB_WiFi2_En_DHCP->SetChecked(true);
             Pick(w.CB_WiFi2_Secure_Type, 1);
             Pick(w.CB_WiFi2_Type, 1);
         },
         &TFParGen::CP_WiFi2, 206},
        {"one sim", [](TFParGen&) {}, &TFParGen::CP_GSM_GPRS, 205},
        {"two sims", [](TFParGen& w) { w.CB_GSM_GPRS_En_Second_SIM->SetChecked(true); }, &TFParGen::CP_GSM_GPRS,
         375},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        W().Load_Defaults();
        W().Move_GroupBoxs();
        c.set(W());
        EXPECT_EQ((W().*c.panel)->FullHeight(), c.height);
    }
    // And back: unticking shrinks the panel again.
    W().CB_GSM_GPRS_En_Second_SIM->SetChecked(false);
    EXPECT_EQ(W().CP_GSM_GPRS->FullHeight(), 205);
}

TEST_F(ParGenLayoutTest, MQTTRowsMoveUnderTheShownOptions)
{
    TFParGen& w = W();
    w.CB_MQTT_PublishTopicConnection->SetChecked(true);
    EXPECT_FALSE(w.E_MQTT_Will_TopicName->Visible());
    EXPECT_EQ(w.CB_MQTT_PublishTopicConnection->Top(), 180);
    EXPECT_EQ(w.L_MQTT_Connection_TopicName->Top(), 208);
    EXPECT_EQ(w.E_MQTT_Connection_TopicName->Top(), 205);
    EXPECT_EQ(w.L_MQTT_Connection_Message->Top(), 236);
    EXPECT_EQ(w.CB_MQTT_Connection_Retained->Top(), 264);
    EXPECT_EQ(w.L_MQTT_Username->Top(), 292);
    EXPECT_EQ(w.E_MQTT_Password->Top(), 317);
    EXPECT_EQ(w.CB_MQTT_Single_Subsribe_for_Topics->Top(), 348);

    w.CB_MQTT_WillFlag->SetChecked(true);
    EXPECT_TRUE(w.CB_MQTT_Will_QoS->Visible());
    EXPECT_EQ(w.L_MQTT_Will_QoS->Top(), 264);
    EXPECT_EQ(w.CB_MQTT_PublishTopicConnection->Top(), 292);
    EXPECT_EQ(w.CB_MQTT_Single_Subsribe_for_Topics->Top(), 460);
    // Fields of other models never show, whatever their values.
    w.CB_MQTT_Enable_ReProgram->SetChecked(true);
    for (plat::TControl* c : std::initializer_list<plat::TControl*>{(w.E_MQTT_ASync_Send_Time), w.E_MQTT_TopicDALIAns,
                              static_cast<plat::TControl*>(w.CB_MQTT_Enable_ReProgram), w.E_MQTT_Reprogram_Topic,
                              w.E_MQTT_Reproram_Value})
        EXPECT_FALSE(c->Visible()) << plat::StringToUtf8(c->Name());
}

TEST_F(ParGenLayoutTest, TLSClientRowsMoveUpWithoutServerAuthentication)
{
    TFParGen& w = W();
    w.CB_TLS_Enable->SetChecked(true);
    w.CB_TLS_En_Client_Auth->SetChecked(true);
    EXPECT_FALSE(w.E_TLS_Server_Cert->Visible());
    EXPECT_EQ(w.CB_TLS_En_Client_Auth->Top(), 68);
    EXPECT_EQ(w.L_TLS_CA_Cert->Top(), 96);
    EXPECT_EQ(w.E_TLS_CA_Cert->Top(), 93);
    EXPECT_EQ(w.Btn_TLS_CA_Cert->Top(), 93);
    EXPECT_EQ(w.L_TLS_Client_Cert_Key_Pass->Top(), 180);
    w.CB_TLS_En_Server_Auth->SetChecked(true);
    EXPECT_TRUE(w.Btn_TLS_Server_Cert->Visible());
    EXPECT_EQ(w.CB_TLS_En_Client_Auth->Top(), 91);
    EXPECT_EQ(w.L_TLS_CA_Cert->Top(), 119);
    w.CB_TLS_Enable->SetChecked(false);
    EXPECT_FALSE(w.CB_TLS_En_Server_Auth->Visible());
    EXPECT_FALSE(w.E_TLS_Client_Cert_Key_Pass->Visible());
}

TEST_F(ParGenLayoutTest, WiFiAccessPointAndStationRows)
{
    TFParGen& w = W();
    w.CB_WiFi2_En_DHCP->SetChecked(true);
    EXPECT_FALSE(w.E_WiFi2_Password->Visible());
    EXPECT_FALSE(w.L_WiFi2_IP1->Visible());
    EXPECT_EQ(w.L_WiFi2_IP1_IP->Top(), 40);
    EXPECT_EQ(w.E_WiFi2_IP1_GAT1->Top(), 94);
    EXPECT_EQ(w.CB_WiFi2_En_DHCP->Top(), 180);
    EXPECT_EQ(w.L_WiFi2_DHCP_First_IP->Top(), 208);
    EXPECT_EQ(w.E_WiFi2_DHCP_First_IP1->Top(), 205);
    EXPECT_EQ(w.L_WiFi2_DHCP_SM->Top(), 236);
    EXPECT_EQ(w.L_WiFi2_Lease_Time->Top(), 264);
    EXPECT_EQ(w.L_WiFi2_Max_Client->Top(), 292);
    EXPECT_EQ(w.L_WiFi2_Channel->Top(), 320);
    EXPECT_EQ(w.CB_WiFi2_Channel->Top(), 317);

    // Station: the password row at 152 whatever the security; the AP rows hidden.
    for (int secure : {0, 2}) {
        Pick(w.CB_WiFi2_Secure_Type, secure);
        Pick(w.CB_WiFi2_Type, 1);
        EXPECT_EQ(w.L_WiFi2_Password->Top(), 152);
        EXPECT_TRUE(w.E_WiFi2_Password->Visible());
        for (plat::TControl* c : std::initializer_list<plat::TControl*>{(w.CB_WiFi2_Secure_Type), w.CB_WiFi2_En_DHCP,
                                  w.E_WiFi2_DHCP_First_IP1, w.E_WiFi2_Lease_Time, w.CB_WiFi2_Max_Client,
                                  w.CB_WiFi2_Channel, w.E_WiFi2_IP2_IP1, w.L_WiFi2_IP1, w.L_WiFi2_IP2})
            EXPECT_FALSE(c->Visible()) << plat::StringToUtf8(c->Name());
        Pick(w.CB_WiFi2_Type, 0);
    }
}

TEST_F(ParGenLayoutTest, DHCPChoicesGreyTheAddressesTheyReplace)
{
    TFParGen& w = W();
    Pick(w.CB_Select_Device_Device, 1);
    Pick(w.CB_WiFi2_Type, 1);
    w.CB_EthConn_En_DHCP_WiFi->SetChecked(true);
    for (plat::TControl* c : std::initializer_list<plat::TControl*>{(w.E_WiFi2_IP1_IP1), w.E_WiFi2_IP1_SM4,
                              w.CB_WiFi2_IP1_En_GAT, w.E_WiFi2_IP1_GAT2})
        EXPECT_FALSE(c->Enabled()) << plat::StringToUtf8(c->Name());
    Pick(w.CB_WiFi2_Type, 0);
    EXPECT_TRUE(w.E_WiFi2_IP1_IP1->Enabled());
    EXPECT_TRUE(w.CB_WiFi2_IP1_En_GAT->Enabled());

    w.CB_EthConn_En_DHCP_Cable->SetChecked(true);
    for (plat::TControl* c : std::initializer_list<plat::TControl*>{(w.E_Ethernet_IP1), w.E_Ethernet_SM3,
                              w.CB_Ethernet_En_GAT, w.E_Ethernet_GAT4})
        EXPECT_FALSE(c->Enabled()) << plat::StringToUtf8(c->Name());
    EXPECT_TRUE(w.E_EthConn_Pri_DNS_IP1->Enabled());
    EXPECT_TRUE(w.E_EthConn_Sec_DNS_IP4->Enabled());
    w.CB_EthConn_En_DHCP_Cable->SetChecked(false);
    EXPECT_TRUE(w.E_Ethernet_GAT4->Enabled());
}

TEST_F(ParGenLayoutTest, DeviceTypeOpensAndGreysTheWiFiAndMobilePanels)
{
    struct TCase {
        int type;
        bool wifi_open, mobile_open, dhcp_wifi_enabled;
    };
    const TCase cases[] = {{0, false, false, false}, {1, true, false, true}, {2, false, true, false},
                           {1, true, false, true}};
    TFParGen& w = W();
    w.CB_EthConn_En_DHCP_WiFi->SetChecked(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.type);
        Pick(w.CB_Select_Device_Device, c.type);
        EXPECT_EQ(!w.CP_WiFi2->Collapsed(), c.wifi_open);
        EXPECT_EQ(w.CP_WiFi2->Enabled(), c.wifi_open);
        EXPECT_EQ(!w.CP_GSM_GPRS->Collapsed(), c.mobile_open);
        EXPECT_EQ(w.CP_GSM_GPRS->Enabled(), c.mobile_open);
        EXPECT_EQ(w.CB_EthConn_En_DHCP_WiFi->Enabled(), c.dhcp_wifi_enabled);
        EXPECT_TRUE(w.CB_EthConn_En_DHCP_WiFi->Checked());
    }
}

TEST_F(ParGenLayoutTest, OnlyTriggersRunThePassAndPanelsBelowFollowAHeightChange)
{
    TFParGen& w = W();
    Pick(w.CB_Select_Device_Device, 1);
    const int ethernet_top = w.CP_Ethernet->Top();
    w.CB_MQTT_WillFlag->SetChecked(true);
    EXPECT_EQ(w.CP_Ethernet->Top(), ethernet_top + 112);
    EXPECT_EQ(w.CP_MQTT->Top() + w.CP_MQTT->Height(), w.CP_Ethernet->Top());

    // A hand-collapsed Wi-Fi panel stays closed for a box outside the triggers ...
    w.CP_WiFi2->Collapse();
    w.CB_MQTT_Clean_Session->SetChecked(true);
    EXPECT_TRUE(w.CP_WiFi2->Collapsed());
    // ... and opens again with the next pass.
    w.CB_MQTT_WillFlag->SetChecked(false);
    EXPECT_FALSE(w.CP_WiFi2->Collapsed());

    // Expanding the MQTT panel runs the whole pass too.
    w.CP_MQTT->Collapse();
    w.CP_WiFi2->Collapse();
    w.CP_MQTT->Expand();
    EXPECT_FALSE(w.CP_WiFi2->Collapsed());
}

TEST_F(ParGenLayoutTest, TheModelsTenPanelsStackNumberedWithoutGaps)
{
    TFParGen& w = W();
    const struct {
        TCategoryPanel* panel;
        const char16_t* caption;
    } order[] = {
        {w.CP_Select_Device, u"1. Select Device"},
        {w.CP_Ethernet_Connection, u"2. Ethernet Connection"},
        {w.CP_Working_Mode, u"3. Working Mode"},
        {w.CP_Modbus_Master, u"4. Modbus Master"},
        {w.CP_MQTT, u"5. MQTT"},
        {w.CP_Ethernet, u"6. Ethernet"},
        {w.CP_TLS, u"7. TLS (Transport Layer Security)"},
        {w.CP_NTP, u"8. NTP (Network Time Protocol)"},
        {w.CP_WiFi2, u"9. Wi-Fi"},
        {w.CP_GSM_GPRS, u"10. GSM / GPRS / LTE"},
    };
    int visible = 0;
    for (int i = 0; i < w.CPG->PanelCount(); ++i) visible += w.CPG->Panels(i)->Visible() ? 1 : 0;
    EXPECT_EQ(visible, 10);
    int top = order[0].panel->Top();
    EXPECT_EQ(top, -w.CPG->ScrollPos());
    for (size_t i = 0; i < std::size(order); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(order[i].panel->Caption(), order[i].caption);
        EXPECT_EQ(order[i].panel->TabOrder(), static_cast<int>(i));
        EXPECT_EQ(order[i].panel->Top(), top);
        top += order[i].panel->Height();
    }
}

TEST_F(ParGenLayoutTest, ACaptionTextFromTheLanguageLoadedBeforeCreation)
{
    Apply_Language_Line(u"STR428 = Broker");
    TFParGen other(nullptr);
    EXPECT_EQ(other.CP_MQTT->Caption(), u"5. Broker");
    Load_Default_Language();
}

} // namespace
