// ParGen.xml as the general-parameters window reads and writes it, and as the image builder
// reads what the window wrote.
#include <cstdlib>
#include <set>

#include "ParGenTestKit.h"
#include "USaveBincc.h"
#include "plat/ComCtrls.h"
#include "plat/StdCtrls.h"

using namespace pargen_test;

namespace {

struct TDefault {
    const char* element;
    const char* value;
};

// Every element in file order with the value a missing element reads as.
const TDefault Defaults[] = {
    {"Select_Device", "0"},
    {"Eth_Conn_Device_Name", ""},
    {"Eth_Conn_DHCP_Cable", "0"},
    {"Eth_Conn_DHCP_WiFi", "0"},
    {"Eth_Conn_Enable_DNS", "0"},
    {"Eth_Conn_Primary_DNS1", "8"}, {"Eth_Conn_Primary_DNS2", "8"}, {"Eth_Conn_Primary_DNS3", "8"}, {"Eth_Conn_Primary_DNS4", "8"},
    {"Eth_Conn_Secondary_DNS1", "8"}, {"Eth_Conn_Secondary_DNS2", "8"}, {"Eth_Conn_Secondary_DNS3", "8"}, {"Eth_Conn_Secondary_DNS4", "8"},
    {"Working_Mode", "0"},
    {"MQTT_Server_URL", ""},
    {"MQTT_Server_Port", "1883"},
    {"MQTT_Client_ID", ""},
    {"MQTT_Keep_Alive", ""},
    {"MQTT_Clean_Session", "0"},
    {"MQTT_WillFlag", "0"},
    {"MQTT_Will_Topic_Name", ""},
    {"MQTT_Will_Message", ""},
    {"MQTT_Will_Retained", "0"},
    {"MQTT_Will_QoS", "0"},
    {"MQTT_PublishTopicConnection", "0"},
    {"MQTT_Connection_Topic_Name", ""},
    {"MQTT_Connection_Message", ""},
    {"MQTT_Connection_Retained", "0"},
    {"MQTT_Username", ""},
    {"MQTT_Password", ""},
    {"MQTT_Enable_Single_Subscribe", "0"},
    {"MQTT_ASync_Send_Time", ""},
    {"MQTT_Topic_DALI_Answer", ""},
    {"MQTT_Enable_Reprogram", "0"},
    {"MQTT_Reprogram_Topic", ""},
    {"MQTT_Reprogram_Value", ""},
    {"Ethernet_IP1", "192"}, {"Ethernet_IP2", "168"}, {"Ethernet_IP3", "0"}, {"Ethernet_IP4", "10"},
    {"Ethernet_SM1", "255"}, {"Ethernet_SM2", "255"}, {"Ethernet_SM3", "255"}, {"Ethernet_SM4", "0"},
    {"Ethernet_GAT1", "192"}, {"Ethernet_GAT2", "168"}, {"Ethernet_GAT3", "0"}, {"Ethernet_GAT4", "1"},
    {"Ethernet_EN_GAT", "0"},
    {"WiFi_Type", "0"},
    {"WiFi_IP1", "192"}, {"WiFi_IP2", "168"}, {"WiFi_IP3", "0"}, {"WiFi_IP4", "100"},
    {"WiFi_SM1", "255"}, {"WiFi_SM2", "255"}, {"WiFi_SM3", "255"}, {"WiFi_SM4", "0"},
    {"WiFi_EN_Gateway", "0"},
    {"WiFi_GAT1", "192"}, {"WiFi_GAT2", "168"}, {"WiFi_GAT3", "0"}, {"WiFi_GAT4", "1"},
    {"WiFi_IP2_IP1", "192"}, {"WiFi_IP2_IP2", "168"}, {"WiFi_IP2_IP3", "0"}, {"WiFi_IP2_IP4", "110"},
    {"WiFi_IP2_SM1", "255"}, {"WiFi_IP2_SM2", "255"}, {"WiFi_IP2_SM3", "255"}, {"WiFi_IP2_SM4", "0"},
    {"WiFi_IP2_EN_Gateway", "0"},
    {"WiFi_IP2_GAT1", "192"}, {"WiFi_IP2_GAT2", "168"}, {"WiFi_IP2_GAT3", "0"}, {"WiFi_IP2_GAT4", "1"},
    {"WiFi_SSID", ""},
    {"WiFi_PWD", ""},
    {"WiFi_Secure_Type", "0"},
    {"WiFi_EN_DHCP", "0"},
    {"WiFi_DHCP_First_IP1", "192"}, {"WiFi_DHCP_First_IP2", "168"}, {"WiFi_DHCP_First_IP3", "0"}, {"WiFi_DHCP_First_IP4", "200"},
    {"WiFi_DHCP_SM1", "255"}, {"WiFi_DHCP_SM2", "255"}, {"WiFi_DHCP_SM3", "255"}, {"WiFi_DHCP_SM4", "0"},
    {"WiFi_Lease_Time", "86400"},
    {"WiFi_Max_Client", "0"},
    {"WiFi_Channel", "1"},
    {"TLS_Enable", "0"},
    {"TLS_En_Server_Auth", "0"},
    {"TLS_Server_Auth_Certificate", ""},
    {"TLS_En_Client_Auth", "0"},
    {"TLS_Client_CA_Certificate", ""},
    {"TLS_Client_Auth_Certificate", ""},
    {"TLS_Client_Auth_Key", ""},
    {"TLS_Client_Auth_Key_Password", ""},
    {"NTP_Server_URL", ""},
    {"NTP_Poll_Time", ""},
    {"ModbusM_SERIAL", "0"},
    {"ModbusM_BAUDRATE", "7"},
    {"ModbusM_PARITY", "0"},
    {"ModbusM_STOPBITS", "0"},
    {"ModbusM_TIMEOUT", "1000"},
    {"ModbusM_CYCLIC", "100"},
    {"GSM_GPRS_PIN", ""},
    {"GSM_GPRS_APN", ""},
    {"GSM_GPRS_AUTHTYPE", "None"},
    {"GSM_GPRS_USERNAME", ""},
    {"GSM_GPRS_PASSWORD", ""},
    {"GSM_GPRS_ENABLE_SECOND_SIM", "0"},
    {"GSM_GPRS_PIN_2", ""},
    {"GSM_GPRS_APN_2", ""},
    {"GSM_GPRS_AUTHTYPE_2", "None"},
    {"GSM_GPRS_USERNAME_2", ""},
    {"GSM_GPRS_PASSWORD_2", ""},
    {"GSM_GPRS_MAIN_SIM", "SIM 1"},
};

using ParGenFileTest = ParGenTest;

TEST_F(ParGenFileTest, MissingElementsReadAsTheirDefaultsAndAllAreWrittenInOrder)
{
    ASSERT_EQ(std::size(Defaults), 119u);
    // Fields first moved away from every default, so a default that is not applied shows.
    Write_ParGen({});
    W().Load_File(File_ParGen);
    const std::string out = (Dir() / "out.xml").string();
    W().Save_File(U(out));
    const auto saved = Saved(out);
    ASSERT_EQ(saved.size(), std::size(Defaults));
    for (size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(saved[i].first, Defaults[i].element) << "element " << i;
        EXPECT_EQ(saved[i].second, Defaults[i].value) << Defaults[i].element;
    }
}

TEST_F(ParGenFileTest, WithoutAFileANewConfigurationGetsTheDefaultsAndSendTimeTen)
{
    // Values left from an earlier configuration must not leak into a new one.
    W().E_MQTT_Reprogram_Topic->SetText(u"old/topic");
    W().CB_MQTT_Enable_ReProgram->SetChecked(true);
    W().E_Ethernet_IP4->SetText(u"77");
    W().Load_File(File_ParGen);
    const std::string out = (Dir() / "out.xml").string();
    W().Save_File(U(out));
    auto saved = Saved_Map(out);
    for (const TDefault& d : Defaults) {
        const std::string expected = std::string(d.element) == "MQTT_ASync_Send_Time" ? "10" : d.value;
        EXPECT_EQ(saved[d.element], expected) << d.element;
    }
}

TEST_F(ParGenFileTest, StoredFormsSurviveAWriteAndARead)
{
    // A value off the default for every element: texts, list indexes, checks, item texts.
    std::vector<std::pair<std::string, std::string>> values;
    const std::set<std::string> checks = {
        "Eth_Conn_DHCP_Cable", "Eth_Conn_DHCP_WiFi", "Eth_Conn_Enable_DNS", "MQTT_Clean_Session", "MQTT_WillFlag",
        "MQTT_Will_Retained", "MQTT_PublishTopicConnection", "MQTT_Connection_Retained",
        "MQTT_Enable_Single_Subscribe", "MQTT_Enable_Reprogram", "Ethernet_EN_GAT", "WiFi_EN_Gateway",
        "WiFi_IP2_EN_Gateway", "WiFi_EN_DHCP", "TLS_Enable", "TLS_En_Server_Auth", "TLS_En_Client_Auth",
        "GSM_GPRS_ENABLE_SECOND_SIM"};
    const std::map<std::string, std::string> lists = {
        {"Select_Device", "2"},    {"Working_Mode", "1"},     {"MQTT_Will_QoS", "2"},
        {"WiFi_Type", "1"},        {"WiFi_Secure_Type", "3"}, {"WiFi_Max_Client", "9"},
        {"WiFi_Channel", "0"},     {"ModbusM_SERIAL", "1"},   {"ModbusM_BAUDRATE", "3"},
        {"ModbusM_PARITY", "2"},   {"ModbusM_STOPBITS", "1"}, {"GSM_GPRS_AUTHTYPE", "PAP or CHAP"},
        {"GSM_GPRS_AUTHTYPE_2", "CHAP"}, {"GSM_GPRS_MAIN_SIM", "SIM 2"}, {"GSM_GPRS_PIN", "12345678"},
        {"GSM_GPRS_PIN_2", "0000"}, {"MQTT_Password", "p&amp;&lt;w&gt;\"d'"}};
    for (const TDefault& d : Defaults) {
        const std::string e = d.element;
        if (checks.count(e)) values.emplace_back(e, "1");
        else if (lists.count(e)) values.emplace_back(e, lists.at(e));
        else values.emplace_back(e, " t " + e + " ");
    }
    // The index lists of the language table are filled; one unreadable index stores "-1".
    values[0].second = "7";
    Write_ParGen(values);
    W().Load_File(File_ParGen);
    const std::string out = (Dir() / "out.xml").string();
    W().Save_File(U(out));
    const auto saved = Saved(out);
    ASSERT_EQ(saved.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        std::string expected = i == 0 ? "-1" : values[i].second;
        if (values[i].first == "MQTT_Password") expected = "p&<w>\"d'";
        EXPECT_EQ(saved[i].second, expected) << values[i].first;
    }
}

TEST_F(ParGenFileTest, ReadingRulesPerKind)
{
    struct TCase {
        const char* element;
        const char* stored; // nullptr: element missing
        const char* read_back;
    };
    const TCase cases[] = {
        {"WiFi_Channel", nullptr, "1"},          // channel 1, not "Auto Search"
        {"ModbusM_BAUDRATE", nullptr, "7"},      // 115200 baud
        {"WiFi_EN_DHCP", "01", "1"},             // read as a number
        {"TLS_Enable", "1 ", "0"},               // not a number: unreadable
        {"Eth_Conn_Enable_DNS", "01", "0"},      // only "1" checks
        {"MQTT_WillFlag", "true", "0"},
        {"GSM_GPRS_AUTHTYPE", "XYZ", "None"},    // no match: first item
        {"GSM_GPRS_AUTHTYPE_2", "pap", "PAP"},   // letter case ignored
        {"GSM_GPRS_MAIN_SIM", "SIM 2", "SIM 2"},
        {"GSM_GPRS_MAIN_SIM", "", "SIM 1"},
        {"Working_Mode", "abc", "0"},            // not a number: default index
        {"Working_Mode", "2", "-1"},             // outside the list: no selection
        {"ModbusM_PARITY", "-1", "-1"},
        {"MQTT_Server_Port", "", ""},            // an empty element is an empty field
        {"Eth_Conn_Device_Name", "  conv  ", "  conv  "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " = " + (c.stored ? c.stored : "(missing)"));
        // Start from fields that differ from the expectation.
        W().Load_Defaults();
        if (c.stored) Write_ParGen({{c.element, c.stored}});
        else Write_ParGen({{"Other", "x"}});
        W().Load_File(File_ParGen);
        const std::string out = (Dir() / "out.xml").string();
        W().Save_File(U(out));
        EXPECT_EQ(Saved_Map(out)[c.element], c.read_back);
    }
}

TEST_F(ParGenFileTest, FileLayoutRootFirstThenTheVersionComment)
{
    W().Load_Defaults();
    W().Save_File(File_ParGen);
    const std::string xml = Read(File());
    EXPECT_EQ(xml.rfind("<Par_Gen>", 0), 0u) << xml.substr(0, 40);
    const size_t end = xml.find("</Par_Gen>");
    const size_t stamp = xml.find("<!--SW_VERSION = 1.114-->");
    ASSERT_NE(end, std::string::npos);
    ASSERT_NE(stamp, std::string::npos);
    EXPECT_GT(stamp, end);
    if (std::system("command -v xmllint > /dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("xmllint --noout '" + File() + "'").c_str()), 0);
    }
}

TEST_F(ParGenFileTest, UnreadableFilesShowTheDefaults)
{
    struct TCase {
        const char* name;
        const char* content;
        const char* ip4; // Ethernet_IP4 after loading
    };
    const TCase cases[] = {
        {"not XML", "<Par_Gen><Ethernet_IP4>5</Ethernet_IP4>", "10"},
        {"element holding elements", "<Par_Gen><Ethernet_IP4><a>5</a></Ethernet_IP4></Par_Gen>", "10"},
        // A comment written by another tool before the root does not hide the settings.
        {"comment before the root", "<!-- x --><Par_Gen><Ethernet_IP4>5</Ethernet_IP4></Par_Gen>", "5"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        W().E_Ethernet_IP4->SetText(u"99");
        Write(File(), c.content);
        W().Load_File(File_ParGen);
        EXPECT_EQ(W().E_Ethernet_IP4->Text(), U(c.ip4));
        EXPECT_EQ(W().E_MQTT_ASync_Send_Time->Text(), u"");
    }
}

TEST_F(ParGenFileTest, TheImageBuilderReadsWhatTheWindowWrites)
{
    W().Load_Defaults();
    W().E_EthConn_Device_Name->SetText(u"conv-7");
    W().E_Ethernet_IP1->SetText(u"10");
    W().E_Ethernet_IP2->SetText(u"1");
    W().E_Ethernet_IP3->SetText(u"2");
    W().E_Ethernet_IP4->SetText(u"3");
    W().CB_Ethernet_En_GAT->SetChecked(true);
    W().E_Ethernet_GAT4->SetText(u"254");
    W().E_ModbusMaster_TimeOut->SetText(u"2500");
    W().E_ModbusMaster_CyclicDelay->SetText(u"40");
    W().CB_ModbusMaster_Serial->SetItemIndex(1);
    W().CB_WorkMode_WorkMode->SetItemIndex(1);
    W().E_GSM_GPRS_APN->SetText(u"web.apn");
    W().CB_GSM_GPRS_AuthType->SetItemIndex(2);
    W().Save_File(File_ParGen);

    image::Build_Bin_Config(Project_Dir);
    const image::TGeneral_Parameters& g = image::General_Parameters;
    EXPECT_EQ(g.Eth_IP, (image::TIPv4{10, 1, 2, 3}));
    EXPECT_EQ(g.Eth_Mask, (image::TIPv4{255, 255, 255, 0}));
    EXPECT_EQ(g.Eth_Gateway, (image::TIPv4{192, 168, 0, 254}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.Device_Name.data())), "conv-7");
    EXPECT_EQ(g.Modbus_TimeOut, 2500u);
    EXPECT_EQ(g.Modbus_Cycle, 40u);
    EXPECT_EQ(g.Serial_RS232, 0u);
    const std::string mobile(reinterpret_cast<const char*>(g.Mobile_Config.data()));
    EXPECT_NE(mobile.find("APN=web.apn\r\n"), std::string::npos) << mobile;
    EXPECT_NE(mobile.find("AUTHTYPE=2\r\n"), std::string::npos) << mobile;
}

} // namespace
