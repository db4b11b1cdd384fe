// The MIB module writer: the variables read from SNMP_Trap.xml, the module's exact bytes for
// a small table, names that cannot stand in the module, the 256-variable bound, a failed
// write, and the module as an SMIv2 checker sees it.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "USNMP_MIB.h"
#include "plat/Classes.h"
#include "plat/Dialogs.h"
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

void Write_Bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<String> Lines_Of(const std::string& bytes) { return SplitLines(AnsiToString(bytes)); }

bool Run_Command(const std::string& command, std::string& out)
{
    out.clear();
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return false;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
    return ::pclose(p) != -1;
}

class SnmpMibTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        saved_file_ = File_SNMP_Trap;
        File_SNMP_Trap = dir_ / u"SNMP_Trap.xml";
    }
    void TearDown() override
    {
        File_SNMP_Trap = saved_file_;
        pt::UiTest::TearDown();
    }
    // Lists and flags as Load_MIB_Variables leaves them.
    void Set_Variables(const std::vector<String>& read, const std::vector<String>& write,
                       std::initializer_list<int> int_read = {}, std::initializer_list<int> int_write = {})
    {
        ASSERT_TRUE(Load_MIB_Variables());  // no file: empties lists and flags
        for (const String& d : read) SNMP_MIB_Read_List->Add(d);
        for (const String& d : write) SNMP_MIB_Write_List->Add(d);
        for (int k : int_read) MIB_Int_Flags[k] = 1;
        for (int k : int_write) MIB_Int_Flags[kMIB_Max_Variables + k] = 1;
    }

    testsupport::TempDir dir_;
    String saved_file_;
};

TEST_F(SnmpMibTest, LoadTakesEnabledRowsInOrderWithTheirIntFlags)
{
    Write_Bytes(dir_ / "SNMP_Trap.xml", Read_Bytes(TEST_SOURCE_DIR "/data/SNMP_Trap_mixed.xml"));
    ASSERT_TRUE(Load_MIB_Variables());
    // Disabled rows and a row without Enable are left out and use up no index; "y" and "int"
    // count whatever their case; a row without Type is a string, without Description empty.
    EXPECT_EQ(SNMP_MIB_Read_List->ToVector(), (std::vector<String>{u"temp", u"hum", u"notype", u""}));
    EXPECT_EQ(SNMP_MIB_Write_List->ToVector(), (std::vector<String>{u"setp", u"label"}));
    const std::uint8_t read_flags[] = {1, 1, 0, 0, 0};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(MIB_Int_Flags[k], read_flags[k]) << "read " << k;
    EXPECT_EQ(MIB_Int_Flags[256], 1);
    EXPECT_EQ(MIB_Int_Flags[257], 0);
}

TEST_F(SnmpMibTest, UnreadableFileIsReportedAndGivesNoVariables)
{
    Set_Variables({u"stale"}, {u"stale"}, {0});
    Write_Bytes(dir_ / "SNMP_Trap.xml", "<SNMP_Trap><SNMP_Trap_Read><row Enable=\"Y\"");
    String error;
    EXPECT_FALSE(Load_MIB_Variables(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(SNMP_MIB_Read_List->Count(), 0);
    EXPECT_EQ(SNMP_MIB_Write_List->Count(), 0);
    EXPECT_EQ(MIB_Int_Flags[0], 0);

    // Through the main window's action: one box naming the file, no module written.
    TSaveDialog dialog(nullptr);
    responder().AnswerFileDialog(dir_ / u"out.mib");
    responder().AnswerMessageBox(mrOk);
    Create_SNMP_MIB(dialog);
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_NE(responder().MessageTexts()[0].find(File_SNMP_Trap), String::npos);
    EXPECT_FALSE(FileExists(dir_ / u"out.mib"));
}

TEST_F(SnmpMibTest, TwoReadVariablesGiveTheGoldenModule)
{
    // An Int with a description, then a String without: no write variables.
    Write_Bytes(dir_ / "SNMP_Trap.xml",
                "<SNMP_Trap><SNMP_Trap_Read>"
                "<row Enable=\"Y\" Community_Name=\"public\" Type=\"Int\" Description=\"temp\"/>"
                "<row Enable=\"Y\" Community_Name=\"public\" Type=\"String\" Description=\"\"/>"
                "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>");
    Write_Bytes(dir_ / "out.mib", "old");
    TSaveDialog dialog(nullptr);
    responder().AnswerFileDialog(dir_ / u"out.mib");
    responder().AnswerMessageBox(mrYes);  // the file exists: replace it
    Create_SNMP_MIB(dialog);
    EXPECT_EQ(dialog.InitialDir(), Project_Dir);
    EXPECT_EQ(responder().MessageTexts(), std::vector<String>{Lang(1105)});
    EXPECT_EQ(Read_Bytes(dir_ / "out.mib"), Read_Bytes(TEST_SOURCE_DIR "/data/mib_two_read.mib"));
}

TEST_F(SnmpMibTest, CancelOrNoWritesNothing)
{
    Write_Bytes(dir_ / "out.mib", "old");
    TSaveDialog dialog(nullptr);
    responder().CancelFileDialog();
    Create_SNMP_MIB(dialog);
    responder().AnswerFileDialog(dir_ / u"out.mib");
    responder().AnswerMessageBox(mrNo);
    Create_SNMP_MIB(dialog);
    EXPECT_EQ(Read_Bytes(dir_ / "out.mib"), "old");
}

TEST_F(SnmpMibTest, WriteVariablesFollowTheirOwnFlagsAndIndexes)
{
    Set_Variables({}, {u"setp", u""}, {}, {0});
    String error;
    const std::vector<String> lines = SplitLines(Build_SNMP_MIB_Text(
        SNMP_MIB_Read_List->ToVector(), SNMP_MIB_Write_List->ToVector(), MIB_Int_Flags, error));
    ASSERT_TRUE(error.empty()) << StringToUtf8(error);
    const auto at = std::find(lines.begin(), lines.end(), u" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(at[1], u"setp OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-write STATUS current DESCRIPTION \"setp\" ::= { bufferoutval 1 }");
    EXPECT_EQ(at[2], u"bufferoutval2 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write STATUS current DESCRIPTION \"\" ::= { bufferoutval 2 }");
    EXPECT_EQ(at[3], u"traps OBJECT IDENTIFIER::= { application 2 }");
    EXPECT_EQ(at[4], u" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    EXPECT_EQ(at[5], u"END");  // write variables raise no notification
}

TEST_F(SnmpMibTest, NamesThatCannotStandInTheModuleStopTheWriting)
{
    struct Case {
        std::vector<String> read, write;
        const char16_t* message;
    };
    const String head = u"Error!! The MIB file is not written: the name \"";
    const String invalid = u" is not a valid name (a lower-case letter, then letters and digits, at most 64 characters)";
    const Case cases[] = {
        {{u"data"}, {}, u"data\" of the read variable 1 is a name of the module itself"},
        {{u"temp"}, {u"bufferinblk3"}, u"bufferinblk3\" of the write variable 1 is a name of the module itself"},
        {{u"temp", u"trapval1"}, {}, u"trapval1\" of the read variable 2 is a name of the module itself"},
        {{u"enterprises"}, {}, u"enterprises\" of the read variable 1 is a name of the module itself"},
        // Variable 2 has no description, so its generated name is taken.
        {{u"bufferinval2", u""}, {}, u"bufferinval2\" of the read variable 1 is also the name of the read variable 2"},
        {{u"temp"}, {u"temp"}, u"temp\" of the read variable 1 is also the name of the write variable 1"},
        {{u"te\"mp"}, {}, nullptr},
        {{u"Temp"}, {}, nullptr},
        {{u"1temp"}, {}, nullptr},
        {{u"te mp"}, {}, nullptr},
        {{u"temp-a"}, {}, nullptr},
        {{u"a" + String(64, u'b')}, {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.read.empty() ? c.write[0] : c.read.back()));
        Set_Variables(c.read, c.write);
        const std::string path = dir_ / "out.mib";
        Write_Bytes(path, "old");
        const std::size_t before = responder().MessageTexts().size();
        responder().AnswerMessageBox(mrOk);
        EXPECT_FALSE(Write_SNMP_MIB(Utf8ToString(path)));
        ASSERT_EQ(responder().MessageTexts().size(), before + 1);
        const String shown = responder().MessageTexts().back();
        if (c.message) {
            EXPECT_EQ(shown, head + c.message);
        } else {
            const String& bad = c.read.back();
            EXPECT_EQ(shown, head + bad + u"\" of the read variable " + IntToStr(static_cast<int>(c.read.size())) + invalid);
        }
        EXPECT_EQ(Read_Bytes(path), "old");
    }
    // A 64-character name is still a name.
    Set_Variables({u"a" + String(63, u'b')}, {});
    EXPECT_TRUE(Write_SNMP_MIB(dir_ / u"out.mib"));
}

TEST_F(SnmpMibTest, AtMost256VariablesPerTable)
{
    std::string xml = "<SNMP_Trap><SNMP_Trap_Read>";
    for (int i = 0; i < 300; ++i) xml += "<row Enable=\"Y\" Type=\"Int\" Description=\"\"/>";
    xml += "</SNMP_Trap_Read><SNMP_Trap_Write>";
    for (int i = 0; i < 300; ++i) xml += "<row Enable=\"Y\" Type=\"String\" Description=\"w" + std::to_string(i) + "\"/>";
    xml += "</SNMP_Trap_Write></SNMP_Trap>";
    Write_Bytes(dir_ / "SNMP_Trap.xml", xml);
    ASSERT_TRUE(Load_MIB_Variables());
    EXPECT_EQ(SNMP_MIB_Read_List->Count(), 256);
    EXPECT_EQ(SNMP_MIB_Write_List->Count(), 256);
    EXPECT_EQ(MIB_Int_Flags[255], 1);
    EXPECT_EQ(MIB_Int_Flags[256], 0);  // the first write variable is a string
    ASSERT_TRUE(Write_SNMP_MIB(dir_ / u"out.mib"));
    const std::vector<String> lines = Lines_Of(Read_Bytes(dir_ / "out.mib"));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const String& l) { return l.find(u"::= { bufferinval ") != String::npos; }), 256);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const String& l) { return l.find(u"::= { bufferoutval ") != String::npos; }), 256);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const String& l) { return l.find(u"NOTIFICATION-TYPE OBJECTS") != String::npos; }), 256);
}

TEST_F(SnmpMibTest, FailedWriteIsReportedAndKeepsTheOldFile)
{
    if (::geteuid() == 0) {
        // Root writes into read-only folders: a folder that does not exist fails for anyone.
        Set_Variables({u"temp"}, {});
        const String path = dir_ / u"missing/out.mib";
        responder().AnswerMessageBox(mrOk);
        EXPECT_FALSE(Write_SNMP_MIB(path));
        ASSERT_EQ(responder().MessageTexts().size(), 1u);
        EXPECT_EQ(responder().MessageTexts()[0].rfind(u"Error! The file cannot be written: " + path + u"\r\n", 0), 0u);
        return;
    }
    Set_Variables({u"temp"}, {});
    Write_Bytes(dir_ / "out.mib", "old");
    ASSERT_EQ(std::system(("chmod 555 '" + dir_.native() + "'").c_str()), 0);
    responder().AnswerMessageBox(mrOk);
    const bool written = Write_SNMP_MIB(dir_ / u"out.mib");
    std::system(("chmod 755 '" + dir_.native() + "'").c_str());
    EXPECT_FALSE(written);
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(responder().MessageTexts()[0].rfind(u"Error! The file cannot be written: " + (dir_ / u"out.mib") + u"\r\n", 0), 0u);
    EXPECT_EQ(Read_Bytes(dir_ / "out.mib"), "old");
}

// SMIv2 as smilint checks it. The base modules the module imports from are not installed
// with the checker, so small stand-ins holding the imported definitions are written here.
class SnmpMibSmilintTest : public SnmpMibTest {
protected:
    void SetUp() override
    {
        SnmpMibTest::SetUp();
        std::string out;
        if (!Run_Command("smilint -V 2>&1", out) || out.find("smilint") == std::string::npos)
            GTEST_SKIP() << "smilint (smitools) not installed";
        Write_Bytes(dir_ / "SNMPv2-SMI",
                    "SNMPv2-SMI DEFINITIONS ::= BEGIN\n"
                    "MODULE-IDENTITY MACRO ::= BEGIN\n"
                    "    TYPE NOTATION ::= \"LAST-UPDATED\" value(Update ExtUTCTime)\n"
                    "    VALUE NOTATION ::= value(VALUE OBJECT IDENTIFIER)\nEND\n"
                    "OBJECT-TYPE MACRO ::= BEGIN\n"
                    "    TYPE NOTATION ::= \"SYNTAX\" Syntax\n"
                    "    VALUE NOTATION ::= value(VALUE ObjectName)\nEND\n"
                    "NOTIFICATION-TYPE MACRO ::= BEGIN\n"
                    "    TYPE NOTATION ::= ObjectsPart\n"
                    "    VALUE NOTATION ::= value(VALUE NotificationName)\nEND\n"
                    "TimeTicks ::= [APPLICATION 3] IMPLICIT INTEGER (0..2147483647)\n"
                    "END\n");
        Write_Bytes(dir_ / "SNMPv2-TC",
                    "SNMPv2-TC DEFINITIONS ::= BEGIN\n"
                    "IMPORTS TimeTicks FROM SNMPv2-SMI;\n"
                    "TEXTUAL-CONVENTION MACRO ::= BEGIN\n"
                    "    TYPE NOTATION ::= \"STATUS\" Status\n"
                    "    VALUE NOTATION ::= value(VALUE Syntax)\nEND\n"
                    "DisplayString ::= TEXTUAL-CONVENTION DISPLAY-HINT \"255a\" STATUS current\n"
                    "    DESCRIPTION \"Text.\" SYNTAX OCTET STRING (SIZE (0..255))\n"
                    "TimeStamp ::= TEXTUAL-CONVENTION STATUS current DESCRIPTION \"A time.\" SYNTAX TimeTicks\n"
                    "END\n");
        Write_Bytes(dir_ / "RFC1155-SMI",
                    "RFC1155-SMI DEFINITIONS ::= BEGIN\n"
                    "internet OBJECT IDENTIFIER ::= { iso org(3) dod(6) 1 }\n"
                    "private OBJECT IDENTIFIER ::= { internet 4 }\n"
                    "enterprises OBJECT IDENTIFIER ::= { private 1 }\n"
                    "END\n");
    }
    // What smilint -l 3 prints for the module (it exits 0 on errors too).
    std::string Lint(const std::string& mib)
    {
        const std::string d = "'" + dir_.native() + "/";
        std::string out;
        EXPECT_TRUE(Run_Command("smilint -l 3 -p " + d + "SNMPv2-SMI' -p " + d + "SNMPv2-TC' -p " + d + "RFC1155-SMI' '" + mib +
                            "' 2>&1",
                        out));
        return out;
    }
};

TEST_F(SnmpMibSmilintTest, ModulesPassTheChecker)
{
    EXPECT_EQ(Lint(TEST_SOURCE_DIR "/data/mib_two_read.mib"), "");

    std::vector<String> read, write;
    for (int i = 0; i < 256; ++i) read.push_back(i % 3 == 0 ? String() : u"in" + IntToStr(i));
    for (int i = 0; i < 256; ++i) write.push_back(i % 5 == 0 ? String() : u"out" + IntToStr(i));
    Set_Variables(read, write, {0, 1, 7, 255}, {0, 2, 255});
    ASSERT_TRUE(Write_SNMP_MIB(dir_ / u"big.mib"));
    EXPECT_EQ(Lint(dir_ / "big.mib"), "");
}

TEST_F(SnmpMibSmilintTest, NotificationsWithSyntaxClausesFailTheChecker)
{
    // The notification with SYNTAX and MAX-ACCESS clauses, and without its import.
    std::string mib = Read_Bytes(TEST_SOURCE_DIR "/data/mib_two_read.mib");
    const std::string good = "trapval1 NOTIFICATION-TYPE OBJECTS { temp } STATUS";
    const auto at = mib.find(good);
    ASSERT_NE(at, std::string::npos);
    mib.replace(at, good.size(), "trapval1 NOTIFICATION-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS");
    const std::string import = "OBJECT-TYPE,NOTIFICATION-TYPE";
    mib.replace(mib.find(import), import.size(), "OBJECT-TYPE");
    Write_Bytes(dir_ / "bad.mib", mib);
    const std::string out = Lint(dir_ / "bad.mib");
    EXPECT_NE(out.find("NOTIFICATION-TYPE' has not been imported"), std::string::npos) << out;
    EXPECT_NE(out.find("syntax error"), std::string::npos) << out;
}

} // namespace
