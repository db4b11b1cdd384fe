// Configurations on disk: folders beside the program, New and Open, the table-file paths,
// and names that must never reach outside PROJECTS.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ShellTestSupport.h"
#include "UComon.h"
#include "UConfiguration.h"

using plat::String;
using shelltest::TempDir;
using shelltest::Tree;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }
namespace fs = std::filesystem;

class ConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = root / "prog";
        fs::create_directories(program);
        Init_Program_Dirs(plat::Utf8ToString(program + "/"));
        Project_Name.clear();
        Project_Dir.clear();
        Set_Files();
    }
    std::string Projects() const { return program + "/PROJECTS"; }

    TempDir root;  // the program folder lives one level down, so escapes stay observable
    std::string program;
};

TEST_F(ConfigurationTest, ProgramFoldersAreCreated)
{
    EXPECT_EQ(U8(Program_Dir), program);  // no trailing separator
    EXPECT_EQ(U8(Master_Dir), program + "/MASTER");
    EXPECT_EQ(U8(Projects_Dir), program + "/PROJECTS");
    EXPECT_EQ(U8(Language_Dir), program + "/LANGUAGE");
    for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(fs::is_directory(program + "/" + d)) << d;
    // A second start keeps what is there.
    shelltest::WriteBytes(program + "/PROJECTS/a/ParGen.xml", "<x/>");
    Init_Program_Dirs(plat::Utf8ToString(program));
    EXPECT_TRUE(fs::exists(program + "/PROJECTS/a/ParGen.xml"));
}

TEST_F(ConfigurationTest, TableFilePaths)
{
    const struct {
        const String* value;
        const char* file;
    } files[] = {
        {&File_ParGen, "ParGen.xml"},
        {&File_MQTT_Set_Topic, "MQTT_Set_Topic.xml"},
        {&File_M_Bus, "M_Bus.xml"},
        {&File_ModbusM_SetAccess, "ModbusM_SetAccess.xml"},
        {&File_ModbusTCPM_SetAccess, "ModbusTCPM_SetAccess.xml"},
        {&File_MQTT_Set_Access, "MQTT_Set_Access.xml"},
        {&File_CAN_Rec_Frames, "CAN_Rec_Frames.xml"},
        {&File_CAN_Send_Frames, "CAN_Send_Frames.xml"},
        {&File_SDO_Server_CANopen, "SDO_Server_CANopen.xml"},
        {&File_SDO_Client_CANopen, "SDO_Client_CANopen.xml"},
        {&File_PDO_CANopen, "PDO_CANopen.xml"},
        {&File_DNETM_Net, "DNETM_Net.xml"},
        {&File_DNETM_DefOff, "DNETM_DefOff.xml"},
        {&File_J1939_Rec_Frames, "J1939_Rec_Frames.xml"},
        {&File_J1939_Send_Frames, "J1939_Send_Frames.xml"},
        {&File_NMEA_Rec_Frames, "NMEA_Rec_Frames.xml"},
        {&File_NMEA_Send_Frames, "NMEA_Send_Frames.xml"},
        {&File_DMX_Default_Values, "DMX_Default_Values.xml"},
        {&File_KNX_SetAccess, "KNX_SetAccess.xml"},
        {&File_SNMP_Trap, "SNMP_Trap.xml"},
        {&File_SNMP_Manager, "SNMP_Manager.xml"},
        {&File_BACnet_Slave_SetAccess, "BACnet_Slave_SetAccess.xml"},
        {&File_DALI_Access, "DALI_Access.xml"},
        {&File_DALI2_Access, "DALI2_Access.xml"},
        {&File_BACnet_Master_Access, "BACnet_Master_Access.xml"},
    };
    for (const auto& f : files)
        EXPECT_EQ(U8(*f.value), std::string("/") + f.file) << "no configuration";
    ASSERT_EQ(Create_Configuration(u"Plant 1"), 0);
    for (const auto& f : files)
        EXPECT_EQ(U8(*f.value), program + "/PROJECTS/Plant 1/" + f.file);
}

TEST_F(ConfigurationTest, NewCreatesTheFolderAndBin)
{
    EXPECT_EQ(Create_Configuration(u"Plant 1"), 0);
    EXPECT_TRUE(fs::is_directory(Projects() + "/Plant 1/bin"));
    EXPECT_EQ(U8(Project_Name), "Plant 1");
    EXPECT_EQ(U8(Project_Dir), Projects() + "/Plant 1");
    EXPECT_EQ(U8(Active_Configuration_Name()), "Plant 1");
    EXPECT_EQ(Tree(Projects() + "/Plant 1"), std::set<std::string>{"bin/"});  // no table file yet

    EXPECT_EQ(Create_Configuration(u"Citt\u00E0 #2"), 0);
    EXPECT_TRUE(fs::is_directory(Projects() + "/Citt\xC3\xA0 #2/bin"));
}

TEST_F(ConfigurationTest, NewRefusesNamesThatExist)
{
    ASSERT_EQ(Create_Configuration(u"Plant 1"), 0);
    const struct {
        const char16_t* name;
        int code;
    } cases[] = {
        {u"Plant 1", 106},
        {u"PLANT 1", 106},  // one folder where letter case does not count
        {u"plant 1", 106},
        {u"", 107},
    };
    for (const auto& c : cases) {
        const std::set<std::string> before = Tree(root.native());
        EXPECT_EQ(Create_Configuration(c.name), c.code) << U8(c.name);
        EXPECT_EQ(Tree(root.native()), before) << U8(c.name);
        EXPECT_EQ(U8(Project_Name), "Plant 1") << U8(c.name);
    }
}

TEST_F(ConfigurationTest, HostileNamesCreateNothing)
{
    ASSERT_EQ(Create_Configuration(u"Active"), 0);
    fs::create_directories(root / "x");  // "../x" must not find or use it either
    const struct {
        const char16_t* name;
        int code;
    } cases[] = {
        {u"../x", 105},   {u"..", 105},       {u".", 105},          {u"a/b", 105},     {u"/abs", 105},
        {u"", 107},       {u"a\nb", 105},     {u"line\n", 105},     {u"a\\b", 105},    {u"..\\..\\x", 105},
        {u"\t", 105},     {u"bell\x07", 105}, {u".hidden", 105},    {u"../../etc", 105},
        {u"PROJECTS/../../y", 105},
    };
    for (const auto& c : cases) {
        const std::set<std::string> before = Tree(root.native());
        EXPECT_EQ(Create_Configuration(c.name), c.code) << U8(c.name);
        EXPECT_EQ(Tree(root.native()), before) << U8(c.name);
        EXPECT_EQ(U8(Project_Name), "Active") << U8(c.name);
        EXPECT_EQ(U8(Project_Dir), Projects() + "/Active") << U8(c.name);
    }
}

TEST_F(ConfigurationTest, FolderThatCannotBeCreated)
{
    // A file of that name is in the way: the folder cannot be made.
    shelltest::WriteBytes(Projects() + "/taken", "");
    EXPECT_EQ(Create_Configuration(u"taken"), 105);
    EXPECT_EQ(Create_Configuration(std::u16string(300, u'n')), 105);  // longer than a file name may be
    EXPECT_TRUE(Project_Dir.empty());
}

TEST_F(ConfigurationTest, OpenListsVisibleFoldersOnly)
{
    for (const char* d : {"b", "A", ".hidden", "c d"})
        fs::create_directories(Projects() + "/" + d);
    shelltest::WriteBytes(Projects() + "/file.xml", "");
    std::vector<String> list = Load_Existing_Configuration();
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<String>{u"A", u"b", u"c d"}));
}

TEST_F(ConfigurationTest, OpenPreselection)
{
    const std::vector<String> list = {u"alpha", u"PLANT 1", u"plant 1 b"};
    const struct {
        const char* what;
        const char16_t* active;  // nullptr: none active
        int index;
    } cases[] = {
        {"none active", nullptr, 0},
        {"other case", u"plant 1", 1},
        {"same case", u"PLANT 1", 1},
        {"not listed", u"gone", 0},
    };
    for (const auto& c : cases) {
        if (c.active) {
            Project_Name = c.active;
            Project_Dir = Projects_Dir + u"/" + Project_Name;
        } else {
            Project_Name.clear();
            Project_Dir.clear();
        }
        EXPECT_EQ(Preselect_Configuration(list), c.index) << c.what;
    }
    EXPECT_EQ(Preselect_Configuration({}), -1);
    EXPECT_EQ(Search_Open_Conf(list, u"Plant 1"), 1);
    EXPECT_EQ(Search_Open_Conf(list, u"plant"), -1);
    // Only a-z fold: "À" and "à" are different letters here.
    EXPECT_EQ(Search_Open_Conf({u"\u00E0"}, u"\u00C0"), -1);
}

TEST_F(ConfigurationTest, OpenMakesTheChosenNameActive)
{
    fs::create_directories(Projects() + "/PLANT 1");
    Project_Name = u"plant 1";
    Project_Dir = Projects_Dir + u"/plant 1";
    const std::vector<String> list = Load_Existing_Configuration();
    const int pick = Preselect_Configuration(list);
    ASSERT_EQ(pick, 0);
    EXPECT_TRUE(Open_Configuration(list[pick]));
    EXPECT_EQ(U8(Project_Name), "PLANT 1");  // the folder's own letter case
    EXPECT_EQ(U8(File_ParGen), Projects() + "/PLANT 1/ParGen.xml");

    // An empty PROJECTS folder and OK: nothing active.
    EXPECT_FALSE(Open_Configuration(u""));
    EXPECT_TRUE(Project_Name.empty());
    EXPECT_TRUE(Project_Dir.empty());
    EXPECT_EQ(U8(File_ParGen), "/ParGen.xml");

    EXPECT_FALSE(Open_Configuration(u"../.."));
    EXPECT_TRUE(Project_Dir.empty());
}

TEST_F(ConfigurationTest, RestoreAtStartUp)
{
    fs::create_directories(Projects() + "/kept");
    fs::create_directories(root / "outside");
    const struct {
        const char16_t* remembered;
        const char* active;  // "" = none
    } cases[] = {
        {u"kept", "kept"},
        {u"deleted", ""},
        {u"", ""},
        {u".", ""},  // would be PROJECTS itself
        {u"..", ""},
        {u"../../outside", ""},
        {u"kept/../kept", ""},
    };
    for (const auto& c : cases) {
        Project_Name = c.remembered;
        Project_Dir.clear();
        EXPECT_EQ(Restore_Last_Configuration(), *c.active != 0) << U8(c.remembered);
        EXPECT_EQ(U8(Project_Name), c.active) << U8(c.remembered);
        EXPECT_EQ(U8(Project_Dir), *c.active ? Projects() + "/" + c.active : "") << U8(c.remembered);
        EXPECT_EQ(U8(File_ParGen), *c.active ? Projects() + "/kept/ParGen.xml" : "/ParGen.xml");
    }
}

} // namespace
