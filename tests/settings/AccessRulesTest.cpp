// The access editors' rules without their windows: validation with the exact messages, the
// topic links, and reading and writing of the rule files.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "ULanguage.h"
#include "UMQTT_Set_Access_Rules.h"
#include "UModbus_TCP_Master_Rules.h"
#include "URuleFiles.h"
#include "USetAccessRules.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using plat::String;

namespace {

std::string N(const String& s)
{
    return plat::StringToUtf8(s);
}

class AccessRulesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
};

// A row of `cols` cells from column 1 on (column 0 stays empty).
std::vector<String> Row(int cols, std::initializer_list<std::pair<int, const char16_t*>> cells)
{
    std::vector<String> r(static_cast<std::size_t>(cols));
    for (const auto& [c, t] : cells) r[static_cast<std::size_t>(c)] = t;
    return r;
}

// ---------------------------------------------------------------- Modbus master (serial)

// A read rule that passes in both modes: Holding Register 100, 10 points at position 0.
std::vector<String> Read_Rule()
{
    return Row(setaccess::Read_Cols, {{1, u"Y"}, {2, u"1"}, {3, u"Holding Register"}, {4, u"100"}, {5, u"10"},
                                      {6, u"1000"}, {7, u"0"}, {8, u"0"}, {9, u"0"}, {10, u"N"}, {11, u"N"},
                                      {12, u"1 - a"}, {13, u"m"}});
}

std::vector<String> Write_Rule()
{
    return Row(setaccess::Write_Cols, {{1, u"Y"}, {2, u"1"}, {3, u"Holding Register"}, {4, u"100"}, {5, u"10"},
                                       {6, u"1000"}, {7, u"N"}, {8, u"N"}, {9, u"0"}, {10, u"0"}, {11, u"0"},
                                       {12, u"N"}, {13, u"N"}, {14, u"m"}});
}

struct TModbus_Case {
    const char* name;
    int mode;
    bool write_shown;
    std::vector<std::pair<int, const char16_t*>> read;   // changes to read row 1
    std::vector<std::pair<int, const char16_t*>> write;  // changes to write row 1
    const char16_t* expected;                            // empty: passes
};

TEST_F(AccessRulesTest, ModbusMasterValidationGivesTheFirstFaultsMessage)
{
    const TModbus_Case cases[] = {
        {"valid async", 1, true, {}, {}, u""},
        {"valid sync", 0, false, {}, {}, u""},
        {"slave 0", 1, true, {{2, u"0"}}, {}, u"Error row 1!! [Modbus Read] Slave ID must be between 1 and 247"},
        {"slave not a number", 1, true, {{2, u"x"}}, {},
         u"Error row 1!! [Modbus Read] Slave ID must be between 1 and 247"},
        {"empty type", 1, true, {{3, u""}}, {},
         u"Error row 1!! [Modbus Read] Type must be Coil Status or Input Status or Holding Register or Input Register"},
        {"address 65536", 1, true, {{4, u"65536"}}, {},
         u"Error row 1!! [Modbus Read] Address must be between 0 and 65535"},
        {"register 125 points", 1, true, {{5, u"125"}}, {}, u""},
        {"register 126 points", 1, true, {{5, u"126"}}, {},
         u"Error row 1!! [Modbus Read] NPoint must be between 1 and 125"},
        {"input status 2000 points", 1, true, {{3, u"Input Status"}, {5, u"2000"}}, {}, u""},
        {"input status 2001 points", 1, true, {{3, u"Input Status"}, {5, u"2001"}}, {},
         u"Error row 1!! [Modbus Read] NPoint must be between 1 and 2000"},
        {"poll 999 sync", 0, false, {{6, u"999"}}, {},
         u"Error row 1!! [Modbus Read] Poll Time must be between 1000 and 100000000"},
        {"poll 999 async", 1, true, {{6, u"999"}}, {}, u""},
        {"poll 100000000", 0, false, {{6, u"100000000"}}, {}, u""},
        {"poll 100000001 async", 1, true, {{6, u"100000001"}}, {},
         u"Error row 1!! [Modbus Read] Poll Time must be between 1 and 100000000"},
        {"max error -1", 1, true, {{7, u"-1"}}, {},
         u"Error row 1!! [Modbus Read] Max Error must be between 0 and 100000000"},
        {"position 1500", 1, true, {{8, u"1500"}}, {},
         u"Error row 1!! [Modbus Read] Position must be between 0 and 1499"},
        {"register 1490 x 5", 1, true, {{8, u"1490"}, {5, u"5"}}, {}, u""},
        {"register 1490 x 6", 1, true, {{8, u"1490"}, {5, u"6"}}, {},
         u"Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
        {"coil 1499 bit 7 x 1", 1, true, {{3, u"Coil Status"}, {8, u"1499"}, {9, u"7"}, {5, u"1"}}, {}, u""},
        {"coil 1499 bit 7 x 2", 1, true, {{3, u"Coil Status"}, {8, u"1499"}, {9, u"7"}, {5, u"2"}}, {},
         u"Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
        {"blank small-letter coil is a bit type", 1, true, {{3, u" coil status "}, {8, u"1499"}, {5, u"8"}}, {}, u""},
        {"bit type without start bit", 1, true, {{3, u"Coil Status"}, {9, u""}}, {},
         u"Error row 1!! [Modbus Read] Bit must be between 0 and 7"},
        {"sync ignores the hidden position", 0, false, {{8, u"abc"}, {9, u""}}, {}, u""},
        {"sync needs a topic", 0, false, {{12, u" "}}, {}, u"Error row 1!! [Modbus Read] Select a Topic"},
        {"async ignores the hidden topic", 1, true, {{12, u""}}, {}, u""},
        {"disabled with empty type", 1, true, {{1, u"N"}, {3, u""}}, {}, u""},
        {"small y is not enabled", 1, true, {{1, u"y"}, {2, u"0"}}, {}, u""},
        {"empty slave ends the table", 1, true, {{2, u" "}, {3, u""}}, {}, u""},
        {"write slave 0", 1, true, {}, {{2, u"0"}},
         u"Error row 1!! [Modbus Write] Slave ID must be between 1 and 247"},
        {"write register 123", 1, true, {}, {{5, u"123"}}, u""},
        {"write register 124", 1, true, {}, {{5, u"124"}},
         u"Error row 1!! [Modbus Write] NPoint must be between 1 and 123"},
        {"write coil 1968", 1, true, {}, {{3, u"Coil Status"}, {5, u"1968"}}, u""},
        {"write coil 1969", 1, true, {}, {{3, u"Coil Status"}, {5, u"1969"}},
         u"Error row 1!! [Modbus Write] NPoint must be between 1 and 1968"},
        {"write input status is a register", 1, true, {}, {{3, u"Input Status"}, {5, u"124"}},
         u"Error row 1!! [Modbus Write] NPoint must be between 1 and 123"},
        {"write poll 0", 1, true, {}, {{6, u"0"}}, u""},
        {"write position -1", 1, true, {}, {{10, u"-1"}},
         u"Error row 1!! [Modbus Write] Position must be between 0 and 1499"},
        {"write too many bytes", 1, true, {}, {{10, u"1499"}, {5, u"1"}},
         u"Error row 1!! [Modbus Write] Too many bytes to read starting from the Position indicate"},
        {"hidden write page is not checked", 0, false, {}, {{2, u"0"}}, u""},
        {"read fault before write fault", 1, true, {{2, u"0"}}, {{2, u"0"}},
         u"Error row 1!! [Modbus Read] Slave ID must be between 1 and 247"},
    };
    for (const TModbus_Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCellRows read = Empty_Rows(3, setaccess::Read_Cols), write = Empty_Rows(3, setaccess::Write_Cols);
        read[0] = Read_Rule();
        write[0] = Write_Rule();
        for (const auto& [col, text] : c.read) read[0][static_cast<std::size_t>(col)] = text;
        for (const auto& [col, text] : c.write) write[0][static_cast<std::size_t>(col)] = text;
        // A faulty enabled row below a row that ends the table is never reached.
        read[2] = Read_Rule();
        read[2][2] = u"0";
        EXPECT_EQ(N(setaccess::Check_Rules(read, write, c.mode, c.write_shown)), N(c.expected));
    }
}

TEST_F(AccessRulesTest, ModbusMasterFaultNamesItsRow)
{
    TCellRows read = Empty_Rows(4, setaccess::Read_Cols), write = Empty_Rows(4, setaccess::Write_Cols);
    for (int r = 0; r < 3; ++r) read[r] = Read_Rule(), write[r] = Write_Rule();
    write[2][2] = u"0";
    EXPECT_EQ(N(setaccess::Check_Rules(read, write, 1, true)),
              "Error row 3!! [Modbus Write] Slave ID must be between 1 and 247");
}

TEST_F(AccessRulesTest, PublishTopicLinksByPosition)
{
    const auto items = setaccess::Topic_Items({u"a", u"b"});
    ASSERT_EQ(items, (std::vector<String>{u"1 - a", u"2 - b"}));
    struct {
        const char16_t* text;
        int picked;
        int expected;
    } links[] = {{u"2 - b", -1, 1}, {u"2 - b", 1, 1}, {u"2 - b", 0, 1}, {u"1 - a", 7, 0}, {u"b", -1, -1}, {u"", -1, -1}};
    for (const auto& l : links)
        EXPECT_EQ(setaccess::Get_Index_From_Topic(items, l.text, l.picked), l.expected) << N(l.text) << " " << l.picked;
    // A rule stored with index 1 shows what now stands at that place, or nothing.
    EXPECT_EQ(Get_Topic_From_Index(setaccess::Topic_Items({u"a", u"x"}), 1), u"2 - x");
    EXPECT_EQ(Get_Topic_From_Index(setaccess::Topic_Items({u"a"}), 1), u"");
    EXPECT_EQ(Get_Topic_From_Index(items, -1), u"");
}

// ---------------------------------------------------------------- Modbus TCP master

TEST_F(AccessRulesTest, CheckIPAddressRefusesWhatIsNotFourBytes)
{
    const struct {
        const char16_t* text;
        bool refused;
    } cases[] = {
        {u"192.168.1.125", false}, {u"0.0.0.0", false},   {u"255.255.255.255", false}, {u"", true},
        {u"192.168.1", true},      {u"1.2.3.4.5", true},  {u"1..3.4", true},           {u"256.1.1.1", true},
        {u"1.2.3.-1", true},       {u"a.b.c.d", true},    {u"1.2.3.", true},           {u"1.2.3.4 x", true},
    };
    for (const auto& c : cases) EXPECT_EQ(tcpmaster::Check_IP_Address(c.text), c.refused) << N(c.text);
}

std::vector<String> Tcp_Read_Rule()
{
    return Row(tcpmaster::Read_Cols, {{1, u"Y"}, {2, u"192.168.1.125"}, {3, u"502"}, {4, u"1"},
                                      {5, u"Holding Register"}, {6, u"0"}, {7, u"1"}, {8, u"1000"}, {9, u"0"},
                                      {10, u"0"}, {11, u"0"}, {12, u"N"}, {13, u"N"}, {14, u"t"}, {15, u""}});
}

std::vector<String> Tcp_Write_Rule()
{
    return Row(tcpmaster::Write_Cols, {{1, u"Y"}, {2, u"192.168.1.125"}, {3, u"502"}, {4, u"1"},
                                       {5, u"Holding Register"}, {6, u"0"}, {7, u"1"}, {8, u"0"}, {9, u"N"},
                                       {10, u"N"}, {11, u"0"}, {12, u"0"}, {13, u"0"}, {14, u"N"}, {15, u"N"}});
}

TEST_F(AccessRulesTest, ModbusTcpMasterValidationGivesTheFirstFaultsMessage)
{
    const TModbus_Case cases[] = {
        {"valid async", 1, true, {}, {}, u""},
        {"valid sync", 0, false, {}, {}, u""},
        {"bad address", 1, true, {{2, u"192.168.1"}}, {},
         u"Error row 1!! [Modbus Read] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"port 65536", 1, true, {{3, u"65536"}}, {}, u"Error row 1!! [Modbus Read] Port must be between 0 and 65535"},
        {"slave 248", 1, true, {{4, u"248"}}, {}, u"Error row 1!! [Modbus Read] Slave ID must be between 1 and 247"},
        {"register 1499 x 1", 1, true, {{10, u"1499"}}, {},
         u"Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
        {"register 1498 x 1", 1, true, {{10, u"1498"}}, {}, u""},
        {"coil 1499 x 8 bit 0", 1, true, {{5, u"Coil Status"}, {10, u"1499"}, {7, u"8"}}, {}, u""},
        {"coil 1499 x 9 bit 0", 1, true, {{5, u"Coil Status"}, {10, u"1499"}, {7, u"9"}}, {},
         u"Error row 1!! [Modbus Read] Too many bytes to save starting from the Position indicate"},
        {"register 126", 1, true, {{7, u"126"}}, {}, u"Error row 1!! [Modbus Read] NPoint must be between 1 and 125"},
        {"poll 999 sync", 0, false, {{8, u"999"}}, {},
         u"Error row 1!! [Modbus Read] Poll Time must be between 1000 and 100000000"},
        {"poll 999 async", 1, true, {{8, u"999"}}, {}, u""},
        {"sync topic", 0, false, {{14, u""}}, {}, u"Error row 1!! [Modbus Read] Select a Topic"},
        {"small y is not enabled", 1, true, {{1, u"y"}, {4, u"0"}}, {}, u""},
        {"write register 124", 1, true, {}, {{7, u"124"}},
         u"Error row 1!! [Modbus Write] NPoint must be between 1 and 123"},
        {"write coil 1968", 1, true, {}, {{5, u"Coil Status"}, {7, u"1968"}}, u""},
        {"write bad address", 1, true, {}, {{2, u"1.2.3.4.5"}},
         u"Error row 1!! [Modbus Write] Slave IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {"write position 1500", 1, true, {}, {{12, u"1500"}},
         u"Error row 1!! [Modbus Write] Position must be between 0 and 1499"},
        {"hidden write page is not checked", 0, false, {}, {{4, u"0"}}, u""},
    };
    for (const TModbus_Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCellRows read = Empty_Rows(2, tcpmaster::Read_Cols), write = Empty_Rows(2, tcpmaster::Write_Cols);
        read[0] = Tcp_Read_Rule();
        write[0] = Tcp_Write_Rule();
        for (const auto& [col, text] : c.read) read[0][static_cast<std::size_t>(col)] = text;
        for (const auto& [col, text] : c.write) write[0][static_cast<std::size_t>(col)] = text;
        EXPECT_EQ(N(tcpmaster::Check_Rules(read, write, c.mode, c.write_shown)), N(c.expected));
    }
}

// ---------------------------------------------------------------- MQTT access

struct TMqtt_Case {
    const char* name;
    bool subscribe;
    int row;  // 1-based row that gets the changes; rows above it are valid rules
    std::vector<std::pair<int, const char16_t*>> cells;
    const char16_t* expected;
    bool faulty_below = false;  // a faulty rule right below the row
};

TEST_F(AccessRulesTest, MqttAccessValidationGivesTheFirstFaultsMessage)
{
    const TMqtt_Case cases[] = {
        {"float 8", false, 1, {{3, u" float "}, {4, u"8"}}, u""},
        {"Int 3", false, 1, {{3, u"Int"}, {4, u"3"}},
         u"Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"String 0", false, 1, {{3, u"String"}, {4, u"0"}}, u"Error row 1!! [MQTT Publish] Dimension must be major of 0"},
        {"no data type", false, 1, {{3, u" "}}, u"Error row 1!! [MQTT Publish] Data Type must be selected"},
        {"small y is enabled", false, 1, {{1, u"y"}, {4, u"3"}},
         u"Error row 1!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8"},
        {"blank Y is not", false, 1, {{1, u" Y"}, {4, u"3"}}, u""},
        {"subscribe row 3 Float 2", true, 3, {{3, u"Float"}, {4, u"2"}},
         u"Error row 3!! [MQTT Subscribe] Dimension must be equal to 4 or 8"},
        {"position 1439 dimension 1", false, 1, {{5, u"1439"}, {4, u"1"}}, u""},
        {"position 1439 dimension 2", false, 1, {{5, u"1439"}, {4, u"2"}},
         u"Error row 1!! [MQTT Publish] Position + Dimension must not be greater than 1440"},
        {"subscribe string past the end", true, 1, {{3, u"String"}, {5, u"1000"}, {4, u"441"}},
         u"Error row 1!! [MQTT Subscribe] Position + Dimension must not be greater than 1440"},
        {"position 1440", false, 1, {{5, u"1440"}}, u"Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"position -1", false, 1, {{5, u"-1"}}, u"Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"position abc", false, 1, {{5, u"abc"}}, u"Error row 1!! [MQTT Publish] Position must be beetween 0 and 1439"},
        {"position empty", true, 2, {{5, u""}}, u"Error row 2!! [MQTT Subscribe] Position must be beetween 0 and 1439"},
        {"unresolved topic of an enabled rule", false, 2, {{2, u""}},
         u"Error row 2!! [MQTT Publish] Select a Topic"},
        {"empty enabled row ends the table", false, 2,
         {{2, u""}, {3, u""}, {4, u""}, {5, u""}, {6, u""}, {7, u""}}, u"", true},
        {"disabled empty topic does not end the check", false, 2, {{1, u"N"}, {2, u""}},
         u"Error row 3!! [MQTT Publish] Dimension must be equal to 1 or 2 or 4 or 8", true},
    };
    for (const TMqtt_Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCellRows pub = Empty_Rows(4, mqttaccess::Cols), sub = Empty_Rows(4, mqttaccess::Cols);
        const auto valid = Row(mqttaccess::Cols, {{1, u"Y"}, {2, u"t"}, {3, u"Int"}, {4, u"2"}, {5, u"0"}, {6, u""}, {7, u""}});
        TCellRows& rows = c.subscribe ? sub : pub;
        for (int r = 0; r < c.row; ++r) rows[r] = valid;
        for (const auto& [col, text] : c.cells) rows[c.row - 1][static_cast<std::size_t>(col)] = text;
        if (c.faulty_below) {
            rows[c.row] = valid;
            rows[c.row][4] = u"3";
        }
        EXPECT_EQ(N(mqttaccess::Check_Rules(pub, sub)), N(c.expected));
    }
}

} // namespace
