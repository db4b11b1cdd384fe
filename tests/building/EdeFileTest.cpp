// The BACnet EDE file writer: the exact file of a small configuration, the instance counters
// and type numbers, device settings and name length from the general parameters, texts that
// would shift the columns, a reader's view of the file, missing and broken input files, and
// a failed write.
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UBACnet_EDE_File.h"
#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "plat/Clock.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

std::string Read_Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write_Bytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool Run_Command(const std::string& command, std::string& out)
{
    out.clear();
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return false;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    return ::pclose(p) == 0;
}

std::string Rows(std::initializer_list<std::pair<const char*, const char*>> read,
                 std::initializer_list<std::pair<const char*, const char*>> write = {})
{
    std::string x = "<BACnet_to_Modbus><BACnet_in_Read>";
    for (auto [type, mnemonic] : read)
        x += std::string("<row Data_Type=\"") + type + "\" Eng_Unit=\"62\" Mnemonic=\"" + mnemonic + "\"/>";
    x += "</BACnet_in_Read><BACnet_in_Write>";
    for (auto [type, mnemonic] : write)
        x += std::string("<row Data_Type=\"") + type + "\" Eng_Unit=\"62\" Mnemonic=\"" + mnemonic + "\"/>";
    return x + "</BACnet_in_Write></BACnet_to_Modbus>";
}

class EdeFileTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        saved_ = {File_ParGen, File_BACnet_Slave_SetAccess, Project_Name};
        File_ParGen = dir_ / u"ParGen.xml";
        File_BACnet_Slave_SetAccess = dir_ / u"BACnet_Slave_SetAccess.xml";
        Project_Name = u"Plant";
    }
    void TearDown() override
    {
        File_ParGen = saved_[0];
        File_BACnet_Slave_SetAccess = saved_[1];
        Project_Name = saved_[2];
        pt::UiTest::TearDown();
    }
    TEDE_Build Build()
    {
        TEDE_Build b;
        String error;
        EXPECT_TRUE(Build_EDE_File(b, error)) << StringToUtf8(error);
        return b;
    }

    testsupport::TempDir dir_;
    std::array<String, 3> saved_;
};

TEST_F(EdeFileTest, SmallConfigurationGivesTheGoldenFile)
{
    Write_Bytes(dir_ / "ParGen.xml", Read_Bytes(TEST_SOURCE_DIR "/data/ParGen_1001.xml"));
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml", Read_Bytes(TEST_SOURCE_DIR "/data/BACnet_Slave_boiler.xml"));
    FakeClock clock;
    clock.SetNow(EncodeDate(2025, 3, 7) + EncodeTime(9, 5, 3, 0));
    ScopedClock use(clock);
    ASSERT_TRUE(Create_EDE_File(dir_ / u"out.csv"));
    EXPECT_EQ(Read_Bytes(dir_ / "out.csv"), Read_Bytes(TEST_SOURCE_DIR "/data/ede_boiler.csv"));
}

TEST_F(EdeFileTest, TimestampHasTwoDigitFieldsAndADayFirstDate)
{
    EXPECT_EQ(Get_EDE_Timestamp(EncodeDate(2025, 3, 7) + EncodeTime(9, 5, 3, 0)), u"09:05:03 07/03/2025");
    EXPECT_EQ(Get_EDE_Timestamp(EncodeDate(2024, 12, 31) + EncodeTime(23, 59, 59, 0)), u"23:59:59 31/12/2024");
    EXPECT_EQ(Get_EDE_Timestamp(EncodeDate(2030, 1, 1)), u"00:00:00 01/01/2030");
}

TEST_F(EdeFileTest, TypeNumbersAndInstanceCounters)
{
    const struct {
        const char16_t* text;
        int number;
    } types[] = {{u"Analog Input", 0},  {u"analog out", 1},           {u" ANALOG VALUE ", 2},  {u"Binary Input", 3},
                 {u"Binary Out", 4},    {u"Binary Value", 5},         {u"Multi State Input", 13},
                 {u"Multi State Output", 14}, {u"Multi State Value", 19}, {u"Life Safety Point", 21},
                 {u"Life Safety Zone", 22}, {u"Accumulator", 23},     {u"Access Door", 30},
                 {u"CharacterString Value", 40}, {u"DateTime Value", 44}, {u"Integer Value", 45},
                 {u"Large Analog Value", 46}, {u"Positive Integer Value", 48}, {u"Octet String", 0},
                 {u"", 0},              {u"Analog Output", 0}};
    for (const auto& t : types) EXPECT_EQ(EDE_Object_Type(t.text), t.number) << StringToUtf8(t.text);

    // Counters per type, shared by both tables; Octet String takes the Analog Input counter.
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml",
                Rows({{"Analog Input", "a"}, {"Analog Input", "b"}, {"Analog Value", "c"}, {"Octet String", "d"},
                      {"Multi State Value", "e"}, {"Multi State Value", "f"}},
                     {{"Analog Value", "g"}, {"Multi State Value", "h"}}));
    const TEDE_Build b = Build();
    const char16_t* expected[][3] = {{u"0", u"0", u"_a_0"}, {u"0", u"1", u"_b_1"}, {u"2", u"0", u"_c_0"},
                                     {u"0", u"2", u"_d_2"}, {u"19", u"0", u"_e_0"}, {u"19", u"1", u"_f_1"},
                                     {u"2", u"1", u"_g_1"}, {u"19", u"2", u"_h_2"}};
    ASSERT_EQ(b.Objects.size(), std::size(expected));
    for (std::size_t i = 0; i < b.Objects.size(); ++i) {
        EXPECT_EQ(b.Objects[i].ObjectType, expected[i][0]) << i;
        EXPECT_EQ(b.Objects[i].ObjectInstance, expected[i][1]) << i;
        EXPECT_EQ(b.Objects[i].Keyname, expected[i][2]) << i;  // no ParGen.xml: empty device
    }
    // A second build numbers from 0 again.
    EXPECT_EQ(Build().Objects[1].ObjectInstance, u"1");
}

TEST_F(EdeFileTest, DeviceInstanceAndNameLengthFromTheGeneralParameters)
{
    const String mnemonic = u"Twenty characters ok";  // 20
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml", Rows({{"Analog Input", "Twenty characters ok"}}));
    const struct {
        const char* par_gen;
        const char16_t* device;
        std::size_t name_length;
    } cases[] = {
        {"<Par_Gen><BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>1001</BACnet_DEV_IDE>"
         "<BACnet_Ser_DEV_IDE>2002</BACnet_Ser_DEV_IDE><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></Par_Gen>",
         u"1001", 20},
        {"<Par_Gen><BACnet_Type>1</BACnet_Type><BACnet_DEV_IDE>1001</BACnet_DEV_IDE>"
         "<BACnet_Ser_DEV_IDE>2002</BACnet_Ser_DEV_IDE><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></Par_Gen>",
         u"2002", 16},
        // No type: over IP; no limit key: short names, whatever an earlier build had.
        {"<Par_Gen><BACnet_Type>x</BACnet_Type><BACnet_DEV_IDE>7</BACnet_DEV_IDE></Par_Gen>", u"7", 16},
        {"<Par_Gen><BACnet_Ser_DEV_IDE>2002</BACnet_Ser_DEV_IDE></Par_Gen>", u"", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.par_gen);
        Write_Bytes(dir_ / "ParGen.xml", c.par_gen);
        const TEDE_Build b = Build();
        ASSERT_EQ(b.Objects.size(), 1u);
        EXPECT_EQ(b.Objects[0].DevObjInstance, c.device);
        EXPECT_EQ(b.Objects[0].ObjectName, mnemonic.substr(0, c.name_length));
        EXPECT_EQ(b.Objects[0].Description, b.Objects[0].ObjectName);
        EXPECT_EQ(b.Objects[0].Keyname, String(c.device) + u"_" + mnemonic + u"_0");
    }
    // 40 characters with long names: 32 kept.
    Write_Bytes(dir_ / "ParGen.xml", "<Par_Gen><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></Par_Gen>");
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml", Rows({{"Analog Input", "0123456789012345678901234567890123456789"}}));
    EXPECT_EQ(Build().Objects[0].ObjectName, u"01234567890123456789012345678901");
}

TEST_F(EdeFileTest, MissingInputsGiveHeaderOnlyOrEmptyTables)
{
    // No files at all: the seven header lines.
    ASSERT_TRUE(Create_EDE_File(dir_ / u"out.csv"));
    EXPECT_EQ(SplitLines(AnsiToString(Read_Bytes(dir_ / "out.csv"))).size(), 7u);
    // A table element missing: that table is empty; a row without attributes: empty texts.
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml",
                "<BACnet_to_Modbus><BACnet_in_Write><row/></BACnet_in_Write></BACnet_to_Modbus>");
    const TEDE_Build b = Build();
    ASSERT_EQ(b.Objects.size(), 1u);
    EXPECT_EQ(b.Objects[0].Keyname, u"__0");
    EXPECT_EQ(b.Objects[0].ObjectType, u"0");
    EXPECT_EQ(b.Objects[0].UnitCode, u"");
}

TEST_F(EdeFileTest, BrokenInputFileIsReportedAndNothingWritten)
{
    for (const char* broken : {"ParGen.xml", "BACnet_Slave_SetAccess.xml"}) {
        SCOPED_TRACE(broken);
        const testsupport::TempDir dir;
        File_ParGen = dir / u"ParGen.xml";
        File_BACnet_Slave_SetAccess = dir / u"BACnet_Slave_SetAccess.xml";
        Write_Bytes(dir / broken, "<Par_Gen><BACnet_DEV_IDE>1</BACnet_DEV_IDE>");
        responder().AnswerMessageBox(mrOk);
        const std::size_t before = responder().MessageTexts().size();
        EXPECT_FALSE(Create_EDE_File(dir / u"out.csv"));
        ASSERT_EQ(responder().MessageTexts().size(), before + 1);
        EXPECT_EQ(responder().MessageTexts().back().rfind(Lang(1107) + (dir / Utf8ToString(broken)) + u"\r\n", 0), 0u);
        EXPECT_FALSE(FileExists(dir / u"out.csv"));
    }
}

TEST_F(EdeFileTest, FieldsStayInTheirColumnsForACsvReader)
{
    Write_Bytes(dir_ / "ParGen.xml", "<Par_Gen><BACnet_DEV_IDE>10;01</BACnet_DEV_IDE></Par_Gen>");
    Write_Bytes(dir_ / "BACnet_Slave_SetAccess.xml",
                "<BACnet_to_Modbus><BACnet_in_Read>"
                "<row Data_Type=\"Analog Input\" Eng_Unit=\"6;2\" Mnemonic=\"a;b\"/>"
                "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Mnemonic=\"line&#13;&#10;break\"/>"
                "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Mnemonic=\"Temp&#xE9;rature &#x20AC;\"/>"
                "</BACnet_in_Read></BACnet_to_Modbus>");
    Project_Name = u"Pl;ant";
    ASSERT_TRUE(Create_EDE_File(dir_ / u"out.csv"));
    const std::vector<String> lines = SplitLines(AnsiToString(Read_Bytes(dir_ / "out.csv")));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0], u"PROJECT_NAME; Varnok BACnet Gateway--Pl,ant;;;;;;");
    EXPECT_EQ(lines[7], u"10,01_a,b_0;10,01;a,b;0;0;a,b;6,2;");
    EXPECT_EQ(lines[8], u"10,01_line  break_1;10,01;line  break;0;1;line  break;62;");
    EXPECT_EQ(lines[9], u"10,01_Temp\u00e9rature \u20ac_2;10,01;Temp\u00e9rature \u20ac;0;2;Temp\u00e9rature \u20ac;62;");
    EXPECT_EQ(Read_Bytes(dir_ / "out.csv").find('\xe9'), Read_Bytes(dir_ / "out.csv").find("Temp") + 4);  // cp1252

    // Python's csv module: every line has eight fields, the last one empty (the header lines
    // pad with empty fields, the others end each field with ";"), the values as written.
    std::string out;
    const std::string script =
        "import csv,sys\n"
        "rows=list(csv.reader(open(sys.argv[1],encoding='cp1252',newline=''),delimiter=';'))\n"
        "print(len(rows)); [print(len(r), repr(r[-1]), r[2] if len(r)>2 else '') for r in rows]\n";
    Write_Bytes(dir_ / "read.py", script);
    ASSERT_TRUE(Run_Command("python3 '" + (dir_ / "read.py") + "' '" + (dir_ / "out.csv") + "'", out)) << out;
    EXPECT_EQ(out,
              "10\n8 '' \n8 '' \n8 '' \n8 '' \n8 '' \n8 '' mandatory\n8 '' object-name\n"
              "8 '' a,b\n8 '' line  break\n8 '' Temp\xc3\xa9rature \xe2\x82\xac\n");
}

TEST_F(EdeFileTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    // Root writes into read-only folders, so the target is a folder that does not exist.
    const String path = dir_ / u"missing/out.csv";
    responder().AnswerMessageBox(mrOk);
    EXPECT_FALSE(Create_EDE_File(path));
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(responder().MessageTexts()[0].rfind(u"Error! The file cannot be written: " + path + u"\r\n", 0), 0u);

    Write_Bytes(dir_ / "old.csv", "old");
    if (::geteuid() == 0) return;
    ASSERT_EQ(std::system(("chmod 555 '" + dir_.native() + "'").c_str()), 0);
    responder().AnswerMessageBox(mrOk);
    const bool written = Create_EDE_File(dir_ / u"old.csv");
    std::system(("chmod 755 '" + dir_.native() + "'").c_str());
    EXPECT_FALSE(written);
    EXPECT_EQ(Read_Bytes(dir_ / "old.csv"), "old");
}

} // namespace
