// The access editors' rule files: the written layout, required and guarded attributes,
// damaged files reported without keeping stale rows.
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
    plat::TXMLDocument doc;
    Fill_Rule_Document(doc, u"EtherNetIP_to_Modbus", kModbus, tables, counts,
                       [](int table, int row, const std::vector<String>&) { return plat::IntToStr(table * 10 + row + 1); });
    doc.SaveToFile(file);
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
    EXPECT_TRUE(r.Whole()) << N(r.Error);
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
    EXPECT_EQ(N(Read_Rule_File(plat::Utf8ToString(Path("m.xml")), kModbus, tables).Error), "");
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
    EXPECT_EQ(N(Read_Rule_File(plat::Utf8ToString(Path("a.xml")), mqtt, both).Error), "");
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
        bool unreadable;
        int row;             // the row the reading stopped at
        const char* error;   // "*": the parser's text, whatever it is
        int max_rows = setaccess::Rows;
    } cases[] = {
        {"parse error", "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row, 0, true, 0, "*"},
        {"no root", "", 0, true, 0, "*"},
        {"row lacks a required attribute",
         "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row + no_npoint + good_row + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>",
         1, false, 2, "Modbus_Read, NPoint: Could not convert variant of type (Null) into type (String)"},
        {"missing write table", "<EtherNetIP_to_Modbus><Modbus_Read>" + good_row + "</Modbus_Read></EtherNetIP_to_Modbus>",
         1, false, 0, "Node \"Modbus_Write\" not found"},
        {"more rows than the table", "<EtherNetIP_to_Modbus><Modbus_Read>" + many + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>", 2, false, 0, "More rows than the table holds in Modbus_Read", 2},
        {"whole file", "<EtherNetIP_to_Modbus><Modbus_Read>" + many + "</Modbus_Read><Modbus_Write/>"
         "</EtherNetIP_to_Modbus>", 3, false, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Spit(Path("m.xml"), c.xml);
        TCellRows read = Empty_Rows(c.max_rows, setaccess::Read_Cols), write = Empty_Rows(2, setaccess::Write_Cols);
        TCellRows* tables[] = {&read, &write};
        const TRead_Result r = Read_Rule_File(plat::Utf8ToString(Path("m.xml")), kModbus, tables);
        int filled = 0;
        for (const auto& row : read) filled += row[13] == u"r";
        EXPECT_EQ(filled, c.rows_read);
        EXPECT_EQ(r.Unreadable, c.unreadable);
        EXPECT_EQ(r.Row, c.row);
        if (std::string(c.error) == "*")
            EXPECT_FALSE(r.Whole());
        else
            EXPECT_EQ(N(r.Error), c.error);
    }
}

TEST_F(AccessFilesTest, MissingFileReadsNothingAndReportsNothing)
{
    TCellRows read = Empty_Rows(1, setaccess::Read_Cols), write = Empty_Rows(1, setaccess::Write_Cols);
    read[0][1] = u"Y";
    TCellRows* tables[] = {&read, &write};
    const TRead_Result r = Read_Rule_File(plat::Utf8ToString(Path("none.xml")), kModbus, tables);
    EXPECT_TRUE(r.Whole());
    EXPECT_FALSE(r.Unreadable);
    EXPECT_EQ(read[0][1], u"Y");
}

TEST_F(AccessFilesTest, TopicsFromTheTopicFile)
{
    TRead_Result r;
    const String topic_file = plat::Utf8ToString(Path("MQTT_Set_Topic.xml"));
    EXPECT_TRUE(Read_Topics(topic_file, u"MQTT_Publish", r).empty());
    EXPECT_TRUE(r.Whole());
    Spit(Path("MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish><row Topic='a'/><row Topic='b'/><row/><row Topic='c'/>"
                                     "</MQTT_Publish><MQTT_Subscribe><row Topic='s'/></MQTT_Subscribe></MQTT_Set_Topic>");
    EXPECT_EQ(Read_Topics(topic_file, u"MQTT_Publish", r), (std::vector<String>{u"a", u"b"}));
    EXPECT_EQ(r.Row, 3);
    EXPECT_EQ(N(r.Error), "MQTT_Publish, Topic: Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(Read_Topics(topic_file, u"MQTT_Subscribe", r), (std::vector<String>{u"s"}));
    EXPECT_TRUE(r.Whole());
    Spit(Path("MQTT_Set_Topic.xml"), "<MQTT_Set_Topic><MQTT_Publish>");
    EXPECT_TRUE(Read_Topics(topic_file, u"MQTT_Publish", r).empty());
    EXPECT_FALSE(r.Whole());
}

TEST_F(AccessFilesTest, SavedTableEndsAtTheFirstEmptyKey)
{
    TCellRows rows = Empty_Rows(5, setaccess::Read_Cols);
    for (auto& r : rows) r[1] = u"Y";
    rows[0][2] = u"1";
    rows[1][2] = u"2";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 2);
    rows[2][2] = u" ";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 2);
    for (auto& r : rows) r[2] = u"9";
    EXPECT_EQ(Saved_Row_Count(rows, 2), 5);
}

} // namespace
