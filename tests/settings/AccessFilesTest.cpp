// The access editors' rule files: the written layout, required and guarded attributes,
// damaged files reported without keeping stale rows, and a failed save leaving the old file.
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
namespace fs = std::filesystem;

namespace {

std::string N(const String& s)
{
    return plat::StringToUtf8(s);
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Spit(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class AccessFilesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
    testsupport::TempDir dir_;
    std::string Path(const char* name) const { return dir_ / name; }
};

const TTable_Layout kModbus[] = {setaccess::Read_Layout, setaccess::Write_Layout};

TEST_F(AccessFilesTest, ModbusMasterFileHoldsEveryAttributeInOrder)
{
    TCellRows read = Empty_Rows(setaccess::Rows, setaccess::Read_Cols);
    TCellRows write = Empty_Rows(setaccess::Rows, setaccess::Write_Cols);
    read[0] = {u"", u"Y", u"1", u"Holding Register", u"100", u"10", u"1000", u"0", u"0", u"0", u"N", u"N",
               u"2 - b", u" pump <1> & \"x\" "};
    write[0] = {u"", u"N", u"3", u"", u"", u"", u"", u"Y", u"N", u"", u"", u"", u"N", u"Y", u""};
    const TCellRows* tables[] = {&read, &write};
    const int counts[] = {1, 1};
    const String file = plat::Utf8ToString(Path("ModbusM_SetAccess.xml"));
    Write_Rule_File(file, u"EtherNetIP_to_Modbus", kModbus, tables, counts,
                    [](int table, int row, const std::vector<String>&) { return plat::IntToStr(table * 10 + row + 1); });
    EXPECT_EQ(Slurp(Path("ModbusM_SetAccess.xml")),
              "<EtherNetIP_to_Modbus>\n"
              "  <Modbus_Read>\n"
              "    <row Enable=\"Y\" Slave_ID=\"1\" Type=\"Holding Register\" Address=\"100\" NPoint=\"10\" "
              "PollTime=\"1000\" MaxError=\"0\" Position=\"0\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"1\" "
              "Mnemonic=\" pump &lt;1> &amp; &quot;x&quot; \" />\n"
              "  </Modbus_Read>\n"
              "  <Modbus_Write>\n"
              "    <row Enable=\"N\" Slave_ID=\"3\" Type=\"\" Address=\"\" NPoint=\"\" PollTime=\"\" OnChange=\"Y\" "
              "OnCMD=\"N\" MaxError=\"\" Position=\"\" Bit=\"\" Swap=\"N\" SwapWord=\"Y\" Mnemonic=\"\" />\n"
              "  </Modbus_Write>\n"
              "</EtherNetIP_to_Modbus>\n"
              "<!--SW_VERSION = 1.114-->\n");

    // Read back: the same cells, the link column raw.
    TCellRows read2 = Empty_Rows(setaccess::Rows, setaccess::Read_Cols);
    TCellRows write2 = Empty_Rows(setaccess::Rows, setaccess::Write_Cols);
    TCellRows* back[] = {&read2, &write2};
    const TRead_Result r = Read_Rule_File(file, kModbus, back);
    EXPECT_EQ(N(r.Problem), "");
    EXPECT_FALSE(r.Unread);
    read[0][12] = u"1";
    EXPECT_EQ(read2[0], read[0]);
    EXPECT_EQ(write2[0], write[0]);
    EXPECT_EQ(read2[1], std::vector<String>(setaccess::Read_Cols));
}

TEST_F(AccessFilesTest, GuardedAttributesTakeTheirDefaults)
{
    Spit(Path("m.xml"),
         "<EtherNetIP_to_Modbus><Modbus_Read>"
         "<row Slave_ID='1' Type='Coil Status' Address='1' NPoint='1' PollTime='1' MaxError='0' Position='0' Bit='0' "
         "Mnemonic=''/></Modbus_Read><Modbus_Write>"
         "<row Slave_ID='2' Type='Coil Status' Address='1' NPoint='1' PollTime='1' OnChange='Y' MaxError='0' "
         "Position='0' Bit='0' Mnemonic=''/></Modbus_Write></EtherNetIP_to_Modbus>");
    TCellRows read = Empty_Rows(2, setaccess::Read_Cols), write = Empty_Rows(2, setaccess::Write_Cols);
    TCellRows* tables[] = {&read, &write};
    EXPECT_EQ(N(Read_Rule_File(plat::Utf8ToString(Path("m.xml")), kModbus, tables).Problem), "");
    EXPECT_EQ(read[0][1], u"Y");
    EXPECT_EQ(read[0][10], u"N");
    EXPECT_EQ(read[0][11], u"N");
    EXPECT_EQ(read[0][12], u"");
    EXPECT_EQ(write[0][1], u"Y");
    EXPECT_EQ(write[0][8], u"N");
    EXPECT_EQ(write[0][13], u"N");

    // The MQTT access file guards every attribute; a missing Enable reads "N".
    Spit(Path("a.xml"), "<MQTT_Set_Access><MQTT_Publish><row Index_Topic='0'/></MQTT_Publish>"
                        "<MQTT_Subscribe/></MQTT_Set_Access>");
    const TTable_Layout mqtt[] = {mqttaccess::Pub_Layout, mqttaccess::Sub_Layout};
    TCellRows pub = Empty_Rows(2, mqttaccess::Cols), sub = Empty_Rows(2, mqttaccess::Cols);
    TCellRows* both[] = {&pub, &sub};
    EXPECT_EQ(N(Read_Rule_File(plat::Utf8ToString(Path("a.xml")), mqtt, both).Problem), "");
    EXPECT_EQ(pub[0], (std::vector<String>{u"", u"N", u"0", u"", u"", u"", u"", u""}));
}

TEST_F(AccessFilesTest, DamagedFileIsReportedAndKeepsOnlyWhatWasRead)
{
    const std::string good_row = "<row Enable='Y' Slave_ID='1' Type='Coil Status' Address='1' NPoint='1' PollTime='1' "
                                 "MaxError='0' Position='0' Bit='0' Mnemonic='r'/>";
    const std::string no_npoint = "<row Enable='Y' Slave_ID='2' Type='Coil Status' Address='1' PollTime='1' "
                                  "MaxError='0' Position='0' Bit='0' Mnemonic='r'/>";
    std::string many;
    for (int i = 0; i < 3; ++i) many += good_row;
    const struct {
        const char* name;
        std::string xml;
        int rows_read;       // read rows holding the file's rows afterwards
        const char* reason;  // the second line of the problem; empty when there is none
        int max_rows = setaccess::Rows;
    } cases[] = {
        {"parse error", "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row, 0, "*"},
        {"no root", "", 0, "*"},
        {"row lacks a required attribute",
         "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row + no_npoint + good_row + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>",
         1, "Row 2 of Modbus_Read lacks the attribute NPoint"},
        {"missing write table", "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row + "</Modbus_Read></EtherNetIP_to_Modbus>",
         1, "Missing the table element Modbus_Write"},
        {"more rows than the table", "<EtherNetIP_to_Modbus><Modbus_Read>" + many + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>", 2, "More rows than the table holds in Modbus_Read", 2},
        {"whole file", "<EtherNetIP_to_Modbus><Modbus_Read>" + many + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>", 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Spit(Path("m.xml"), c.xml);
        TCellRows read = Empty_Rows(c.max_rows, setaccess::Read_Cols), write = Empty_Rows(2, setaccess::Write_Cols);
        TCellRows* tables[] = {&read, &write};
        const String file = plat::Utf8ToString(Path("m.xml"));
        const TRead_Result r = Read_Rule_File(file, kModbus, tables);
        int filled = 0;
        for (const auto& row : read) filled += row[13] == u"r";
        EXPECT_EQ(filled, c.rows_read);
        EXPECT_EQ(r.Unread, std::string(c.reason) != "");
        if (std::string(c.reason) == "*") {
            EXPECT_EQ(N(r.Problem).rfind("Cannot read the whole file " + Path("m.xml") + "\n", 0), 0u) << N(r.Problem);
        } else if (*c.reason) {
            EXPECT_EQ(N(r.Problem), "Cannot read the whole file " + Path("m.xml") + "\n" + c.reason);
        } else {
            EXPECT_EQ(N(r.Problem), "");
        }
    }
}

TEST_F(AccessFilesTest, MissingFileReadsNothingAndReportsNothing)
{
    TCellRows read = Empty_Rows(1, setaccess::Read_Cols), write = Empty_Rows(1, setaccess::Write_Cols);
    read[0][1] = u"Y";
    TCellRows* tables[] = {&read, &write};
    const TRead_Result r = Read_Rule_File(plat::Utf8ToString(Path("none.xml")), kModbus, tables);
    EXPECT_EQ(N(r.Problem), "");
    EXPECT_FALSE(r.Unread);
    EXPECT_EQ(read[0][1], u"Y");
}

TEST_F(AccessFilesTest, UnwritableFileRaisesAndLeavesTheOldFile)
{
    TCellRows read = Empty_Rows(1, setaccess::Read_Cols), write = Empty_Rows(1, setaccess::Write_Cols);
    const TCellRows* tables[] = {&read, &write};
    const int counts[] = {0, 0};
    auto link = [](int, int, const std::vector<String>&) { return String(); };
    // A configuration folder that is gone.
    const String lost = plat::Utf8ToString(Path("gone/ModbusM_SetAccess.xml"));
    EXPECT_THROW(Write_Rule_File(lost, u"EtherNetIP_to_Modbus", kModbus, tables, counts, link), plat::EXMLDocError);
    if (geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop root";
    fs::create_directory(Path("ro"));
    Spit(Path("ro/ModbusM_SetAccess.xml"), "old");
    fs::permissions(Path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(Write_Rule_File(plat::Utf8ToString(Path("ro/ModbusM_SetAccess.xml")), u"EtherNetIP_to_Modbus",
                                 kModbus, tables, counts, link),
                 plat::EXMLDocError);
    fs::permissions(Path("ro"), fs::perms::owner_all);
    EXPECT_EQ(Slurp(Path("ro/ModbusM_SetAccess.xml")), "old");
}

TEST_F(AccessFilesTest, TopicsAndWorkingModeFromTheOtherFiles)
{
    String problem;
    const String topic_file = plat::Utf8ToString(Path("MQTT_Set_Topic.xml"));
    EXPECT_TRUE(Read_Topics(topic_file, u"MQTT_Publish", problem).empty());
    EXPECT_EQ(N(problem), "");
    Spit(Path("MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish><row Topic='a'/><row Topic='b'/><row/><row Topic='c'/>"
                                     "</MQTT_Publish><MQTT_Subscribe><row Topic='s'/></MQTT_Subscribe></MQTT_Set_Topic>");
    EXPECT_EQ(Read_Topics(topic_file, u"MQTT_Publish", problem), (std::vector<String>{u"a", u"b"}));
    EXPECT_EQ(N(problem), "Cannot read the whole file " + Path("MQTT_Set_Topic.xml") +
                              "\nRow 3 of MQTT_Publish lacks the attribute Topic");
    EXPECT_EQ(Read_Topics(topic_file, u"MQTT_Subscribe", problem), (std::vector<String>{u"s"}));
    EXPECT_EQ(N(problem), "");

    const String pargen = plat::Utf8ToString(Path("ParGen.xml"));
    const struct {
        const char* xml;
        int mode;
        bool problem;
    } modes[] = {
        {nullptr, 0, false},
        {"<Par_Gen><Working_Mode>1</Working_Mode></Par_Gen>", 1, false},
        {"<Par_Gen><Working_Mode>2</Working_Mode></Par_Gen>", 2, false},
        {"<Par_Gen><Working_Mode>x</Working_Mode></Par_Gen>", 0, false},
        {"<Par_Gen></Par_Gen>", 0, false},
        {"<Par_Gen><Working_Mode>1</Working_Mode>", 0, true},
    };
    for (const auto& m : modes) {
        fs::remove(Path("ParGen.xml"));
        if (m.xml) Spit(Path("ParGen.xml"), m.xml);
        EXPECT_EQ(Read_Working_Mode(pargen, problem), m.mode) << (m.xml ? m.xml : "no file");
        EXPECT_EQ(problem.empty(), !m.problem) << N(problem);
    }
}

TEST_F(AccessFilesTest, SavedTableEndsAtTheFirstEmptyKey)
{
    TCellRows rows = Empty_Rows(5, setaccess::Read_Cols);
    for (auto& r : rows) r[1] = u"Y";
    rows[0][2] = u"1";
    rows[1][2] = u"2";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 2);
    // Only check-box cells below: nothing is lost.
    rows[3][10] = u"Y";
    EXPECT_EQ(First_Used_Row(rows, 2, setaccess::Read_Check_Cols), 0);
    rows[4][13] = u"note";
    EXPECT_EQ(First_Used_Row(rows, 2, setaccess::Read_Check_Cols), 5);
    rows[2][2] = u" ";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 2);
    for (auto& r : rows) r[2] = u"9";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 5);
}

} // namespace
