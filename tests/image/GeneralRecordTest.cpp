// bank1.bin: the general-parameter record, its key rules, defaults and checksum.
#include <cstring>

#include "ImageTestKit.h"
#include "TestSupport.h"

using namespace image_test;

namespace {

// An expected record written by hand at the documented offsets.
struct TExpected {
    Bytes b = Bytes(2048, 0);
    void U8(std::size_t pos, std::uint32_t v) { b[pos] = static_cast<std::uint8_t>(v); }
    void U16(std::size_t pos, std::uint32_t v) { U8(pos, v); U8(pos + 1, v >> 8); }
    void U32(std::size_t pos, std::uint32_t v) { U16(pos, v); U16(pos + 2, v >> 16); }
    void Ip(std::size_t pos, int a, int b2, int c, int d) { U8(pos, a); U8(pos + 1, b2); U8(pos + 2, c); U8(pos + 3, d); }
    void Text(std::size_t pos, const std::string& text) { std::memcpy(b.data() + pos, text.data(), text.size()); }
    void Stamp() {
        std::uint32_t sum = 0;
        for (std::size_t i = 0; i < 0x7FC; ++i)
            sum += b[i];
        U32(0x7FC, sum);
    }
};

// The fields every build sets whatever the files say.
TExpected Fixed_Part() {
    TExpected e;
    e.U32(0x000, 250000);
    e.U32(0x004, 250000);
    e.U32(0x00C, 9600);
    e.U16(0x034, 10000);
    e.U16(0x036, 10001);
    e.U16(0x038, 10001);
    e.U32(0x0C4, 0x80000);
    for (int i = 0; i < 8; ++i)
        e.U8(0x1B4 + i, 8);
    e.U32(0x590, 0x88000);
    return e;
}

Bytes Build(const TConfig& config) {
    image::Build_Bin_Config(config.Dir());
    return Bank1();
}

} // namespace

TEST(GeneralRecord, MissingParGenKeepsTheRecordDefaults) {
    TConfig config;
    TExpected e = Fixed_Part();
    e.Ip(0x028, 192, 168, 2, 205);
    e.Ip(0x02C, 255, 255, 255, 0);
    e.Ip(0x030, 255, 255, 255, 255);
    e.Stamp();
    EXPECT_EQ(Build(config), e.b);
}

TEST(GeneralRecord, EmptyParGenTakesTheAbsentValues) {
    TConfig config;
    config.Write("ParGen.xml", "<Par_Gen/>\n<!--SW_VERSION = 1.114-->\n");
    TExpected e = Fixed_Part();
    e.U32(0x020, 1000);
    e.U32(0x024, 100);
    e.Ip(0x028, 192, 168, 0, 10);
    e.Ip(0x02C, 255, 255, 255, 0);
    e.Ip(0x030, 255, 255, 255, 255);
    e.U32(0x190, 115200);
    e.U32(0x19C, 115200);
    e.Text(0x214, std::string("PIN=\r\nAPN=\r\nAUTHTYPE=0\r\nUSERNAME=\r\nPASSWORD=\r\n"));
    // Access point mode (WiFi_Type absent): the access-point keys take their absent values.
    e.U32(0x4EC, 192u + 168u * 256u + 200u * 16777216u);
    e.U32(0x4F0, 255u + 255u * 256u + 255u * 65536u);
    e.U32(0x4F4, 86400);
    e.U8(0x4F8, 10);
    e.U8(0x4FA, 1);
    e.Ip(0x4FC, 192, 168, 0, 100);
    e.Ip(0x500, 255, 255, 255, 0);
    e.Ip(0x504, 255, 255, 255, 255);
    e.Stamp();
    EXPECT_EQ(Build(config), e.b);
}

TEST(GeneralRecord, ChecksumOfAllOnesIsStoredLittleEndian) {
    std::vector<std::uint8_t> record(2048, 0xFF);
    EXPECT_EQ(image::General_Parameters_Sum(record.data()), 2044u * 255u);
    image::Init_General_Parameters();
    std::vector<std::uint8_t> out(2048 + 16, 0xAA);
    EXPECT_EQ(image::Checksum_General_Parameters(16, out.data()), 16u + 2048u);
    Bytes written(out.begin() + 16, out.end());
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 0x7FC; ++i)
        sum += written[i];
    EXPECT_EQ(U32(written, 0x7FC), sum);
    // 2044 x 255 = 0x0007F404.
    Bytes ones(2048, 0xFF);
    std::uint32_t all = image::General_Parameters_Sum(ones.data());
    EXPECT_EQ(Bytes({static_cast<std::uint8_t>(all), static_cast<std::uint8_t>(all >> 8),
                     static_cast<std::uint8_t>(all >> 16), static_cast<std::uint8_t>(all >> 24)}),
              Bytes({0x04, 0xF4, 0x07, 0x00}));
}

namespace {

struct TKeyCase {
    const char* What;
    Attrs Keys;
    std::size_t Offset;
    int Width;
    std::uint64_t Expected;
};

class GeneralKey : public ::testing::TestWithParam<TKeyCase> {};

} // namespace

TEST_P(GeneralKey, FieldAtItsOffset) {
    const TKeyCase& c = GetParam();
    TConfig config;
    config.ParGen(c.Keys);
    Bytes bank1 = Build(config);
    EXPECT_EQ(Field(bank1, c.Offset, c.Width), c.Expected) << c.What;
    EXPECT_EQ(U32(bank1, 0x7FC), image::General_Parameters_Sum(bank1.data())) << c.What;
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneralKey, ::testing::Values(
    TKeyCase{"timeout", {{"ModbusM_TIMEOUT", "2500"}}, 0x020, 4, 2500},
    TKeyCase{"timeout not a number", {{"ModbusM_TIMEOUT", "x"}}, 0x020, 4, 1000},
    TKeyCase{"cycle empty text", {{"ModbusM_CYCLIC", ""}}, 0x024, 4, 100},
    TKeyCase{"baud index 3", {{"ModbusM_BAUDRATE", "3"}}, 0x190, 4, 9600},
    TKeyCase{"baud index 3, port 3", {{"ModbusM_BAUDRATE", "3"}}, 0x19C, 4, 9600},
    TKeyCase{"baud index 0", {{"ModbusM_BAUDRATE", "0"}}, 0x190, 4, 1200},
    TKeyCase{"baud index 9", {{"ModbusM_BAUDRATE", "9"}}, 0x190, 4, 9600},
    TKeyCase{"baud index -1", {{"ModbusM_BAUDRATE", "-1"}}, 0x190, 4, 9600},
    TKeyCase{"baud not a number", {{"ModbusM_BAUDRATE", "fast"}}, 0x19C, 4, 115200},
    TKeyCase{"unused baud entries", {{"ModbusM_BAUDRATE", "3"}}, 0x194, 8, 0},
    TKeyCase{"parity even, entries 0 and 3", {{"ModbusM_PARITY", "2"}}, 0x1A8, 6, 0x000002000002},
    TKeyCase{"two stop bits become code 2", {{"ModbusM_STOPBITS", "1"}}, 0x1AE, 6, 0x000002000002},
    TKeyCase{"one stop bit", {{"ModbusM_STOPBITS", "0"}}, 0x1AE, 6, 0},
    TKeyCase{"RS232 line", {{"ModbusM_SERIAL", "0"}}, 0x061, 1, 1},
    TKeyCase{"RS485 line", {{"ModbusM_SERIAL", "1"}}, 0x061, 1, 0},
    TKeyCase{"RS232 with a blank is not exact", {{"ModbusM_SERIAL", " 0"}}, 0x061, 1, 0},
    TKeyCase{"RS232 key missing", {}, 0x061, 1, 0},
    TKeyCase{"Ethernet address", {{"Ethernet_IP1", "10"}, {"Ethernet_IP2", "1"}, {"Ethernet_IP3", "2"}, {"Ethernet_IP4", "3"}}, 0x028, 4, 0x0302010A},
    TKeyCase{"octet keeps its low 8 bits", {{"Ethernet_IP4", "300"}}, 0x028, 4, 0x2C00A8C0},
    TKeyCase{"octet not a number", {{"Ethernet_SM4", "x"}}, 0x02C, 4, 0x00FFFFFF},
    TKeyCase{"gateway enabled", {{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT4", "254"}}, 0x030, 4, 0xFE00A8C0},
    TKeyCase{"gateway disabled", {{"Ethernet_EN_GAT", "0"}, {"Ethernet_GAT4", "254"}}, 0x030, 4, 0xFFFFFFFF},
    TKeyCase{"gateway enable compared exactly", {{"Ethernet_EN_GAT", "01"}}, 0x030, 4, 0xFFFFFFFF},
    TKeyCase{"DHCP cable and Wi-Fi", {{"Eth_Conn_DHCP_Cable", "1"}, {"Eth_Conn_DHCP_WiFi", "1"}}, 0x4E8, 2, 3},
    TKeyCase{"DHCP Wi-Fi only", {{"Eth_Conn_DHCP_Cable", "0"}, {"Eth_Conn_DHCP_WiFi", "1"}}, 0x4E8, 2, 2},
    TKeyCase{"DNS off leaves primary empty", {{"Eth_Conn_Enable_DNS", "0"}, {"Eth_Conn_Primary_DNS1", "1"}}, 0x58C, 4, 0},
    TKeyCase{"DNS off leaves secondary empty", {{"Eth_Conn_Enable_DNS", "0"}}, 0x53C, 4, 0},
    TKeyCase{"DNS on, primary absent", {{"Eth_Conn_Enable_DNS", "1"}}, 0x58C, 4, 0x08080808},
    TKeyCase{"DNS on, secondary absent", {{"Eth_Conn_Enable_DNS", "1"}}, 0x53C, 4, 0x04040808},
    TKeyCase{"DNS on, primary given", {{"Eth_Conn_Enable_DNS", "1"}, {"Eth_Conn_Primary_DNS1", "1"}, {"Eth_Conn_Primary_DNS2", "1"}, {"Eth_Conn_Primary_DNS3", "1"}, {"Eth_Conn_Primary_DNS4", "1"}}, 0x58C, 4, 0x01010101},
    TKeyCase{"station: no DHCP server", {{"WiFi_Type", "1"}, {"WiFi_EN_DHCP", "1"}}, 0x4EA, 1, 0},
    TKeyCase{"station: no clients", {{"WiFi_Type", "1"}, {"WiFi_Max_Client", "4"}}, 0x4F8, 1, 0},
    TKeyCase{"station: no channel", {{"WiFi_Type", "1"}, {"WiFi_Channel", "0"}}, 0x4FA, 2, 0},
    TKeyCase{"station: no DHCP range or lease", {{"WiFi_Type", "1"}}, 0x4EC, 8, 0},
    TKeyCase{"station mode", {{"WiFi_Type", "1"}}, 0x4F9, 1, 1},
    TKeyCase{"access point: DHCP server", {{"WiFi_EN_DHCP", "1"}}, 0x4EA, 1, 1},
    TKeyCase{"access point: WPA2", {{"WiFi_Secure_Type", "2"}}, 0x4EB, 1, 2},
    TKeyCase{"clients absent", {}, 0x4F8, 1, 10},
    TKeyCase{"clients not a number", {{"WiFi_Max_Client", "many"}}, 0x4F8, 1, 9},
    TKeyCase{"clients index", {{"WiFi_Max_Client", "3"}}, 0x4F8, 1, 3},
    TKeyCase{"auto channel", {{"WiFi_Channel", "0"}}, 0x4FA, 2, 0x0100},
    TKeyCase{"channel 6", {{"WiFi_Channel", "6"}}, 0x4FA, 2, 0x0006},
    TKeyCase{"lease", {{"WiFi_Lease_Time", "3600"}}, 0x4F4, 4, 3600},
    TKeyCase{"DHCP first address carries", {{"WiFi_DHCP_First_IP1", "300"}, {"WiFi_DHCP_First_IP2", "0"}, {"WiFi_DHCP_First_IP3", "0"}, {"WiFi_DHCP_First_IP4", "0"}}, 0x4EC, 4, 300},
    TKeyCase{"DHCP mask", {{"WiFi_DHCP_SM1", "255"}, {"WiFi_DHCP_SM2", "255"}, {"WiFi_DHCP_SM3", "0"}, {"WiFi_DHCP_SM4", "0"}}, 0x4F0, 4, 0xFFFF},
    TKeyCase{"Wi-Fi gateway off", {{"WiFi_EN_Gateway", "0"}}, 0x504, 4, 0xFFFFFFFF},
    TKeyCase{"Wi-Fi gateway on", {{"WiFi_EN_Gateway", "1"}}, 0x504, 4, 0x0100A8C0},
    TKeyCase{"second Wi-Fi address stays zero", {{"WiFi_Type", "1"}, {"WiFi_IP2_IP1", "10"}, {"WiFi_IP2_EN_Gateway", "1"}}, 0x508, 8, 0},
    TKeyCase{"device name of 40 characters ends in a zero", {{"Eth_Conn_Device_Name", std::string(40, 'n')}}, 0x533, 1, 0},
    TKeyCase{"device name keeps 31 characters", {{"Eth_Conn_Device_Name", std::string(40, 'n')}}, 0x532, 1, 'n'},
    TKeyCase{"device name takes the low byte of a character", {{"Eth_Conn_Device_Name", "\xC3\xA9"}}, 0x514, 2, 0xE9},
    TKeyCase{"SSID of 32 characters fills its field", {{"WiFi_SSID", std::string(32, 's')}}, 0x49B, 2, 's'},
    TKeyCase{"password", {{"WiFi_PWD", "pw"}}, 0x49C, 3, 0x7770},
    TKeyCase{"second SIM off: no SIM line", {{"GSM_GPRS_PIN", "1234"}}, 0x214 + 50, 1, 0}
));

TEST(GeneralRecord, MobileTextLinesAndCut) {
    struct TCase {
        const char* What;
        Attrs Keys;
        std::string Expected; // the bytes from 214 up to and including the first zero
    };
    const TCase cases[] = {
        {"first SIM only", {{"GSM_GPRS_PIN", "1234"}, {"GSM_GPRS_APN", "web"}, {"GSM_GPRS_AUTHTYPE", "pap or chap"},
                            {"GSM_GPRS_USERNAME", "u"}, {"GSM_GPRS_PASSWORD", "p"}},
         std::string("PIN=1234\r\nAPN=web\r\nAUTHTYPE=3\r\nUSERNAME=u\r\nPASSWORD=p\r\n") + '\0'},
        {"unknown auth type", {{"GSM_GPRS_AUTHTYPE", "XYZ"}},
         std::string("PIN=\r\nAPN=\r\nAUTHTYPE=0\r\nUSERNAME=\r\nPASSWORD=\r\n") + '\0'},
        {"second SIM, main SIM 2", {{"GSM_GPRS_ENABLE_SECOND_SIM", "1"}, {"GSM_GPRS_APN_2", "net"},
                                    {"GSM_GPRS_AUTHTYPE_2", "CHAP"}, {"GSM_GPRS_MAIN_SIM", "SIM 2"}},
         std::string("PIN=\r\nAPN=\r\nAUTHTYPE=0\r\nUSERNAME=\r\nPASSWORD=\r\nPIN2=\r\nAPN2=net\r\nAUTHTYPE2=2\r\n"
                     "USERNAME2=\r\nPASSWORD2=\r\nSIM=2\r\n") + '\0'},
        {"second SIM, main SIM missing", {{"GSM_GPRS_ENABLE_SECOND_SIM", "1"}},
         std::string("PIN=\r\nAPN=\r\nAUTHTYPE=0\r\nUSERNAME=\r\nPASSWORD=\r\nPIN2=\r\nAPN2=\r\nAUTHTYPE2=0\r\n"
                     "USERNAME2=\r\nPASSWORD2=\r\nSIM=1\r\n") + '\0'},
    };
    for (const TCase& c : cases) {
        TConfig config;
        config.ParGen(c.Keys);
        Bytes bank1 = Build(config);
        std::string stored(bank1.begin() + 0x214, bank1.begin() + 0x214 + static_cast<long>(c.Expected.size()));
        EXPECT_EQ(stored, c.Expected) << c.What;
    }

    // A text longer than the field is cut to 512 bytes and carries no zero byte.
    TConfig config;
    config.ParGen({{"GSM_GPRS_APN", std::string(600, 'a')}});
    Bytes bank1 = Build(config);
    EXPECT_EQ(bank1[0x214 + 511], 'a');
    EXPECT_EQ(std::string(bank1.begin() + 0x214, bank1.begin() + 0x214 + 10), "PIN=\r\nAPN=");
    EXPECT_EQ(bank1[0x414], 0); // the reserved bytes after the field stay zero
}

TEST(GeneralRecord, DeclarationOrCommentBeforeTheRootIsSkipped) {
    const char* prefixes[] = {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "<!-- written by another tool -->\n"};
    for (const char* prefix : prefixes) {
        TConfig config;
        config.Write("ParGen.xml", prefix + ParGen_Xml({{"ModbusM_TIMEOUT", "777"}, {"Working_Mode", "1"}}));
        Bytes bank1 = Build(config);
        EXPECT_EQ(U32(bank1, 0x020), 777u) << prefix;
        EXPECT_EQ(image::MQTT_Config.Mode & 0xFF, 2u) << prefix;
    }
}

// A damaged file must not quietly become an image of defaults: the converter would take
// the default address and drop off the network.
TEST(GeneralRecord, DamagedParGenStopsTheBuild) {
    TConfig config;
    config.Write("ParGen.xml", "<Par_Gen><Ethernet_IP1>10</Ethernet_IP1>");
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { image::Build_Bin_Config(config.Dir()); },
                                                         u"Start-end tags mismatch (at byte 39)"));
}

TEST(GeneralRecord, TwoBuildsGiveTheSameBytes) {
    TConfig config;
    config.ParGen({{"Eth_Conn_Device_Name", "conv"}, {"WiFi_SSID", "net"}, {"ModbusM_BAUDRATE", "4"}});
    Bytes first = Build(config);
    // A different configuration in between must leave nothing behind.
    TConfig other;
    other.ParGen({{"Eth_Conn_Device_Name", std::string(31, 'x')}, {"WiFi_PWD", std::string(64, 'p')}});
    Build(other);
    EXPECT_EQ(Build(config), first);
    EXPECT_EQ(first.size(), 2048u);
}
