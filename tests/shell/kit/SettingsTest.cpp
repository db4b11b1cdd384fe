// The settings file Tralvex.xml: defaults, guarded reads, the written layout (checked from
// outside with xmllint) and write failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "ShellTestSupport.h"
#include "UComon.h"
#include "UConfiguration.h"
#include "USettings.h"

using plat::String;
using shelltest::ReadBytes;
using shelltest::TempDir;
using shelltest::WriteBytes;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }

struct Values {
    std::string project, ip, language;
    bool internet, update, jump, autosize;
};

Values Current()
{
    return {U8(Project_Name), U8(Last_IP_Address), U8(Language_Name), Enable_Internet, Enable_Update,
            Enable_Jump_Field_Tables, Double_Click_Auto_Size};
}

void ExpectValues(const Values& v, const std::string& what)
{
    const Values c = Current();
    EXPECT_EQ(c.project, v.project) << what;
    EXPECT_EQ(c.ip, v.ip) << what;
    EXPECT_EQ(c.language, v.language) << what;
    EXPECT_EQ(c.internet, v.internet) << what;
    EXPECT_EQ(c.update, v.update) << what;
    EXPECT_EQ(c.jump, v.jump) << what;
    EXPECT_EQ(c.autosize, v.autosize) << what;
}

const Values kDefaults = {"", "192.168.2.205", "English", false, false, false, false};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Init_Program_Dirs(root.upath()); }
    void Scramble()
    {
        Project_Name = u"stale";
        Project_Dir = u"/stale";
        Last_IP_Address = u"1.1.1.1";
        Language_Name = u"Klingon";
        Enable_Internet = Enable_Update = Enable_Jump_Field_Tables = Double_Click_Auto_Size = true;
    }
    std::string File() const { return root / "Tralvex.xml"; }

    TempDir root;
};

TEST_F(SettingsTest, MissingOrMalformedFileGivesDefaults)
{
    const struct {
        const char* what;
        const char* content;  // nullptr: no file
    } cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"truncated", "<Conf_Settings><lastproj><projectname>A</projectname>"},
        {"garbage", "\x01\x02\xff\xfe not xml"},
        {"two roots", "<a/><b/>"},
        {"text only", "hello"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(File());
        if (c.content)
            WriteBytes(File(), c.content);
        Scramble();
        Read_Setting();
        ExpectValues(kDefaults, c.what);
        EXPECT_TRUE(Project_Dir.empty()) << c.what;
    }
}

// A file that is there but cannot be read is kept aside before the defaults take over, so
// that the save at close does not destroy the user's settings; an older kept file gives way.
TEST_F(SettingsTest, DamagedFileIsKeptBesideAndTheNextSaveWritesTheDefaults)
{
    const std::string kept = File() + ".damaged";
    const std::string valid =
        "<Conf_Settings><lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd></Conf_Settings>";
    struct Case {
        const char* what;
        std::string content;  // a regular file with these bytes, unless `make` says otherwise
        const char* make;     // shell command that makes the entry at $F instead
        const char* reason;   // what the note says after "could not be read: "
    };
    const Case cases[] = {
        {"not well-formed", "<Conf_Settings><lastproj>", nullptr,
         "Start-end tags mismatch (at byte 24)"},
        {"a NUL byte", std::string("<Conf_Settings>\0</Conf_Settings>", 32), nullptr, nullptr},
        {"two roots", "<a/><b/>", nullptr, "Only one top level element is allowed in an XML document"},
        {"larger than the cap", "", "truncate -s 17M \"$F\"", nullptr},
        {"a folder", "", "mkdir \"$F\"", nullptr},
        {"a named pipe", "", "mkfifo \"$F\"", nullptr},
        {"a link to a device", "", "ln -s /dev/zero \"$F\"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(File());
        std::filesystem::remove_all(kept);
        WriteBytes(kept, "an older damaged file");
        if (c.make) {
            const std::string cmd = std::string("F='") + File() + "'; " + c.make;
            ASSERT_EQ(std::system(cmd.c_str()), 0);
        } else {
            WriteBytes(File(), c.content);
        }
        const auto type = std::filesystem::symlink_status(File()).type();
        Scramble();
        String note;
        Read_Setting(&note);
        ExpectValues(kDefaults, c.what);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(File())));
        ASSERT_EQ(std::filesystem::symlink_status(kept).type(), type);
        if (!c.make) {
            EXPECT_EQ(ReadBytes(kept), c.content);  // byte for byte
        }
        const std::string start = "The settings file could not be read: ";
        const std::string end = ". It has been kept as \"" + kept + "\". The program starts with the default settings.";
        const std::string text = U8(note);
        ASSERT_GT(text.size(), start.size() + end.size()) << text;
        EXPECT_EQ(text.substr(0, start.size()), start);
        EXPECT_EQ(text.substr(text.size() - end.size()), end);
        if (c.reason) {
            EXPECT_EQ(text.substr(start.size(), text.size() - start.size() - end.size()), c.reason);
        }

        // The save at close then writes a fresh file with the defaults.
        ASSERT_TRUE(Save_Setting());
        Scramble();
        Read_Setting(&note);
        EXPECT_TRUE(note.empty());
        ExpectValues(kDefaults, c.what);
        WriteBytes(File(), valid);
    }
    // A readable file is read and left where it is, and says nothing.
    std::filesystem::remove(kept);
    String note = u"stale";
    Read_Setting(&note);
    EXPECT_TRUE(note.empty());
    EXPECT_EQ(U8(Last_IP_Address), "10.0.0.7");
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST_F(SettingsTest, EachValueIsGuardedOnItsOwn)
{
    const struct {
        const char* what;
        const char* xml;
        Values expected;
    } cases[] = {
        {"complete",
         "<Conf_Settings><lastproj><projectname>Plant 1</projectname></lastproj>"
         "<lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd><lastlang><language>Italiano</language></lastlang>"
         "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
         "<enable_jump_field_tables>1</enable_jump_field_tables><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
         "</lastinternet></Conf_Settings>",
         {"Plant 1", "10.0.0.7", "Italiano", true, true, true, true}},
        {"only enable_internet",
         "<Conf_Settings><lastinternet><enable_internet>1</enable_internet></lastinternet></Conf_Settings>",
         {"", "192.168.2.205", "English", true, false, false, false}},
        {"not exactly 1",
         "<Conf_Settings><lastinternet><enable_internet>true</enable_internet><enable_update>1 </enable_update>"
         "<enable_jump_field_tables>01</enable_jump_field_tables><Double_Click_Auto_Size/></lastinternet></Conf_Settings>",
         {"", "192.168.2.205", "English", false, false, false, false}},
        {"language missing, empty address",
         "<Conf_Settings><lastipadd><ipaddress></ipaddress></lastipadd><lastlang/></Conf_Settings>",
         {"", "", "English", false, false, false, false}},
        {"empty language element",
         "<Conf_Settings><lastlang><language/></lastlang></Conf_Settings>",
         {"", "192.168.2.205", "", false, false, false, false}},
        {"element holding elements",
         "<Conf_Settings><lastproj><projectname><x/></projectname></lastproj>"
         "<lastipadd><ipaddress>10.1.1.1</ipaddress></lastipadd></Conf_Settings>",
         {"", "10.1.1.1", "English", false, false, false, false}},
        {"options outside lastinternet",
         "<Conf_Settings><enable_internet>1</enable_internet><lastinternet/></Conf_Settings>",
         {"", "192.168.2.205", "English", false, false, false, false}},
        {"declaration and comment of another tool",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- edited --><Conf_Settings><lastproj>"
         "<projectname>Citt\xC3\xA0 &amp; Co</projectname></lastproj></Conf_Settings>",
         {"Citt\xC3\xA0 & Co", "192.168.2.205", "English", false, false, false, false}},
        {"text kept as it stands",
         "<Conf_Settings><lastipadd><ipaddress> 10.0.0.1 </ipaddress></lastipadd></Conf_Settings>",
         {"", " 10.0.0.1 ", "English", false, false, false, false}},
    };
    for (const auto& c : cases) {
        WriteBytes(File(), c.xml);
        Scramble();
        Read_Setting();
        ExpectValues(c.expected, c.what);
    }
}

// Runs xmllint with an XPath expression on the file; false when it fails.
bool XPath(const std::string& file, const std::string& expr, std::string& out)
{
    const std::string cmd = "xmllint --xpath '" + expr + "' '" + file + "' 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return false;
    out.clear();
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return ::pclose(p) == 0;
}

bool HaveXmllint() { return std::system("xmllint --version >/dev/null 2>&1") == 0; }

TEST_F(SettingsTest, WrittenLayoutSeenByXmllint)
{
    if (!HaveXmllint())
        GTEST_SKIP() << "xmllint not installed";
    Project_Name = u"Citt\u00E0 <1> & \"2\"";
    Last_IP_Address = u"10.0.0.7";
    Language_Name = u"Italiano";
    Enable_Internet = true;
    Enable_Update = false;
    Enable_Jump_Field_Tables = true;
    Double_Click_Auto_Size = false;
    String error;
    ASSERT_TRUE(Save_Setting(&error)) << U8(error);

    const std::string bytes = ReadBytes(File());
    EXPECT_EQ(bytes.rfind("<Conf_Settings", 0), 0u) << "nothing may precede the root:\n" << bytes;
    EXPECT_EQ(bytes.find("<?xml"), std::string::npos);

    const struct {
        const char* expr;
        const char* value;
    } checks[] = {
        {"name(/*)", "Conf_Settings"},
        {"count(/node())", "1"},
        {"count(//@*)", "0"},
        {"count(//comment())", "0"},
        {"count(/*/*)", "4"},
        {"concat(name(/*/*[1]),\",\",name(/*/*[2]),\",\",name(/*/*[3]),\",\",name(/*/*[4]))",
         "lastproj,lastipadd,lastlang,lastinternet"},
        {"concat(name(/*/*[1]/*),\",\",name(/*/*[2]/*),\",\",name(/*/*[3]/*))", "projectname,ipaddress,language"},
        {"count(/*/*[4]/*)", "4"},
        {"concat(name(/*/*[4]/*[1]),\",\",name(/*/*[4]/*[2]),\",\",name(/*/*[4]/*[3]),\",\",name(/*/*[4]/*[4]))",
         "enable_internet,enable_update,enable_jump_field_tables,Double_Click_Auto_Size"},
        {"string(/Conf_Settings/lastproj/projectname)", "Citt\xC3\xA0 <1> & \"2\""},
        {"string(/Conf_Settings/lastipadd/ipaddress)", "10.0.0.7"},
        {"string(/Conf_Settings/lastlang/language)", "Italiano"},
        {"concat(/*/lastinternet/enable_internet,/*/lastinternet/enable_update,"
         "/*/lastinternet/enable_jump_field_tables,/*/lastinternet/Double_Click_Auto_Size)",
         "1010"},
    };
    for (const auto& c : checks) {
        std::string out;
        ASSERT_TRUE(XPath(File(), c.expr, out)) << c.expr;
        EXPECT_EQ(out, c.value) << c.expr;
    }

    Project_Name.clear();
    Read_Setting();
    ExpectValues({"Citt\xC3\xA0 <1> & \"2\"", "10.0.0.7", "Italiano", true, false, true, false}, "read back");
}

TEST_F(SettingsTest, NoConfigurationWritesAnEmptyName)
{
    Project_Name.clear();
    ASSERT_TRUE(Save_Setting());
    if (HaveXmllint()) {
        std::string out;
        ASSERT_TRUE(XPath(File(), "count(/Conf_Settings/lastproj/projectname)", out));
        EXPECT_EQ(out, "1");
        ASSERT_TRUE(XPath(File(), "string-length(/Conf_Settings/lastproj/projectname)", out));
        EXPECT_EQ(out, "0");
    }
    Scramble();
    Read_Setting();
    EXPECT_EQ(U8(Project_Name), "");
}

TEST_F(SettingsTest, WriteFailureIsReported)
{
    WriteBytes(File(), "<Conf_Settings><lastipadd><ipaddress>10.9.9.9</ipaddress></lastipadd></Conf_Settings>");
    const std::string before = ReadBytes(File());
    const struct {
        const char* what;
        std::string program_dir;
    } cases[] = {
        {"folder missing", root / "gone/deeper"},
        {"settings path is a folder", root / "blocked"},
    };
    std::filesystem::create_directories(root / "blocked/Tralvex.xml/inner");
    for (const auto& c : cases) {
        Program_Dir = plat::Utf8ToString(c.program_dir);
        String error;
        EXPECT_FALSE(Save_Setting(&error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
        EXPECT_FALSE(Save_Setting()) << c.what << " (no error text wanted)";
    }
    EXPECT_EQ(ReadBytes(File()), before);
    EXPECT_FALSE(std::filesystem::exists(root / "gone"));
}

} // namespace
