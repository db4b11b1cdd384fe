// Start-up of the whole program: folders, settings, last configuration, the layout of the
// main window, the creation and language-change orders, and closing.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "MainTestKit.h"
#include "UConfiguration.h"
#include "ULanguage.h"
#include "UNew_Project.h"
#include "UParGen.h"
#include "USettings.h"
#include "UTopicTemplate.h"
#include "plat/SysUtils.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Timers.h"

using namespace mainwin_test;
using plat::String;

namespace {

// Writes the settings file as the program would have left it, then forgets the values.
void Remember(const plat::String& program_dir, const plat::String& project, bool internet, bool update)
{
    Init_Program_Dirs(program_dir);
    Project_Name = project;
    Enable_Internet = internet;
    Enable_Update = update;
    String error;
    ASSERT_TRUE(Save_Setting(&error)) << Utf8(error);
    Reset_Globals();
}

using StartupTest = ProgramTest;

TEST_F(StartupTest, FirstStartInAnEmptyFolder)
{
    TZEVorezudaReruDure& m = Start();
    for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(std::filesystem::is_directory(Path(folder))) << folder;

    EXPECT_EQ(m.L_Name_Conf->Caption(), u"None Configuration Opened ");
    EXPECT_EQ(m.L_Name_Conf_L2->Caption(), u"Use Step1 to open or create new configuration");
    EXPECT_TRUE(Project_Dir.empty());
    EXPECT_EQ(File_ParGen, u"/ParGen.xml");

    EXPECT_EQ(m.ClientWidth(), 694);
    EXPECT_EQ(m.ClientHeight(), 440);
    EXPECT_EQ(m.Btn_CreateBin->Top(), 288);
    EXPECT_EQ(m.Shape1->Top(), 339);
    EXPECT_EQ(m.Shape1->Height(), 1);
    EXPECT_EQ(m.Color(), 15595512);
    EXPECT_EQ(m.Caption(), u"Varnok - Configurator QR40518 - Modbus Master / MQTT ");
    EXPECT_EQ(m.L_SW_Code->Caption(), u"QR40518");
    EXPECT_EQ(m.L_SW_Desc->Caption(), u"Ruvere Zadude / ZOVE - Dudererud");

    // Exactly the six step buttons and the three icon buttons are shown.
    const std::set<controls::TFadeButton*> expected = {m.Btn_New, m.Btn_Open, m.Btn_Prm_Gen,
                                                       m.Btn_MQTT_Set_Topic, m.Btn_Modbus_Set_Access,
                                                       m.Btn_CreateBin, m.Btn_Info, m.Btn_Opz, m.Btn_Close};
    std::set<controls::TFadeButton*> shown;
    int buttons = 0;
    for (int i = 0; i < m.ControlCount(); ++i)
        if (auto* b = dynamic_cast<controls::TFadeButton*>(m.Controls(i))) {
            ++buttons;
            if (b->Visible()) shown.insert(b);
        }
    EXPECT_EQ(buttons, 30);
    EXPECT_EQ(shown, expected);
    EXPECT_FALSE(m.LL_Update->Visible());
}

TEST_F(StartupTest, LayoutOfTheShownControls)
{
    TZEVorezudaReruDure& m = Start();
    struct Case {
        const char* name;
        plat::TControl* control;
        int left, top, width, height;  // -1: not fixed
    };
    const Case cases[] = {
        {"L_SW_Code", m.L_SW_Code, 16, 8, -1, -1},
        {"L_SW_Desc", m.L_SW_Desc, 16, 42, -1, -1},
        {"L_Begin", m.L_Begin, 16, 84, -1, -1},
        {"Shape2", m.Shape2, 80, 70, 348, 36},
        {"L_Name_Conf", m.L_Name_Conf, 87, 75, -1, -1},
        {"L_Name_Conf_L2", m.L_Name_Conf_L2, 87, 88, -1, -1},
        {"Btn_Info", m.Btn_Info, 516, 8, 50, 50},
        {"Btn_Opz", m.Btn_Opz, 574, 8, 50, 50},
        {"Btn_Close", m.Btn_Close, 632, 8, 50, 50},
        {"Btn_New", m.Btn_New, 80, 112, 170, 36},
        {"Btn_Open", m.Btn_Open, 258, 112, 170, 36},
        {"Btn_Prm_Gen", m.Btn_Prm_Gen, 80, 156, 170, 36},
        {"Btn_MQTT_Set_Topic", m.Btn_MQTT_Set_Topic, 80, 200, 170, 36},
        {"Btn_Modbus_Set_Access", m.Btn_Modbus_Set_Access, 80, 244, 170, 36},
        {"Btn_CreateBin", m.Btn_CreateBin, 80, 288, 170, 36},
        {"Btn_ScanDecode", m.Btn_ScanDecode, -1, -1, 166, 36},
        {"L_Varnok", m.L_Varnok, 565, 304, -1, -1},
        {"Shape1", m.Shape1, 10, 339, 674, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.left >= 0) {
            EXPECT_EQ(c.control->Left(), c.left);
        }
        if (c.top >= 0) {
            EXPECT_EQ(c.control->Top(), c.top);
        }
        if (c.width >= 0) {
            EXPECT_EQ(c.control->Width(), c.width);
        }
        if (c.height >= 0) {
            EXPECT_EQ(c.control->Height(), c.height);
        }
    }
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(m.L_Step[n - 1]->Left(), 16) << n;
        EXPECT_EQ(m.L_Step[n - 1]->Top(), 128 + 44 * (n - 1)) << n;
        EXPECT_EQ(m.L_Step[n - 1]->Visible(), n <= 5) << n;
        EXPECT_EQ(m.L_Step[n - 1]->Caption(), u"Step " + plat::IntToStr(n)) << n;
    }
    EXPECT_EQ(m.L_Begin->Caption(), u"Begin");
    EXPECT_EQ(m.Btn_New->Caption(), u"New Configuration");
    EXPECT_EQ(m.Btn_New->Hint(), u"Create a new configuration for the device");
    EXPECT_EQ(m.Btn_CreateBin->Caption(), u"Update Device UDP");
    EXPECT_EQ(m.Btn_Close->Hint(), u"Close Configurator");
    EXPECT_EQ(m.Btn_MQTT_Set_Access->Caption(), u"MQTT Set Access");
}

TEST_F(StartupTest, WindowsAreCreatedInTheProgramOrder)
{
    Start();
    const std::vector<String> expected = {
        u"TZEVorezudaReruDure", u"TFParGen", u"TFNew_Project", u"TFOpenConf", u"TFAbout", u"TFSoftOptions",
        u"TFMQTT_Set_Topic", u"TFMeter_Bus", u"TFNewIDNode", u"TFBoot", u"TFSetAccess", u"TFMQTT_Set_Access",
        u"TFMQTT_SetAccess_Eth", u"TFTopicTemplate", u"TFModbus_TCP_Master_Set_Access", u"TFReceiveCAN",
        u"TFTransmitCAN", u"TFSet_PDO_Access", u"TFSet_SDO_Client_Access", u"TFSet_SDO_Server_Access",
        u"TFReceiveJ1939", u"TFTransmitJ1939", u"TFDNet", u"TFDefOffset", u"TFScanDecode", u"TFInsertKeyWireless",
        u"TFScanModbusStart", u"TFModbusStartAdd_SD", u"TFProfinetFileName", u"TFReceiveNMEA", u"TFTransmitNMEA",
        u"TFDMXDefVal", u"TFKNXAccess", u"TFSNMP_Trap_Access", u"TFSNMPManagerAccess", u"TFBACnetSlaveSetAccess",
        u"TFBACnet_Eng_Unit", u"TFDALI_Access", u"TFBACnetAccess", u"TFImportEDEFile"};
    std::vector<String> created;
    for (int i = 0; i < plat::Application->FormCount(); ++i) created.push_back(plat::Application->Forms(i)->ClassName());
    EXPECT_EQ(created, expected);
    EXPECT_EQ(plat::Application->MainForm(), ZEVorezudaReruDure);
    // The windows after the main one read SW_Code while they are created.
    EXPECT_EQ(FParGen->L_SW_Code->Caption(), u"QR40518");
    EXPECT_EQ(FParGen->Caption(), u"Set Communication");
    EXPECT_EQ(FNew_Project->Caption(), u"Create New Configuration");
}

TEST_F(StartupTest, LanguageChangeReachesTheWindowsInOrder)
{
    TZEVorezudaReruDure& m = Start();
    std::vector<String> calls;
    Set_Set_Lang_Observer([&](const String& name) { calls.push_back(name); });
    m.Change_Language();
    const std::vector<String> expected = {
        u"TZEVorezudaReruDure", u"TFNew_Project", u"TFOpenConf", u"TFSoftOptions", u"TFBoot", u"TFParGen",
        u"TFMQTT_Set_Topic", u"TFMeter_Bus", u"TFNewIDNode", u"TFSetAccess", u"TFModbus_TCP_Master_Set_Access",
        u"TFReceiveCAN", u"TFTransmitCAN", u"TFSet_PDO_Access", u"TFSet_SDO_Client_Access",
        u"TFSet_SDO_Server_Access", u"TFReceiveJ1939", u"TFTransmitJ1939", u"TFDNet", u"TFDefOffset",
        u"TFScanDecode", u"TFInsertKeyWireless", u"TFScanModbusStart", u"TFModbusStartAdd_SD",
        u"TFProfinetFileName", u"TFReceiveNMEA", u"TFTransmitNMEA", u"TFDMXDefVal", u"TFKNXAccess",
        u"TFSNMP_Trap_Access", u"TFSNMPManagerAccess", u"TFBACnetSlaveSetAccess", u"TFBACnet_Eng_Unit",
        u"TFDALI_Access", u"TFBACnetAccess", u"TFImportEDEFile"};
    EXPECT_EQ(calls, expected);
}

TEST_F(StartupTest, LanguageChangeAppliesTheNewTexts)
{
    TZEVorezudaReruDure& m = Start();
    shelltest::WriteBytes(Path("LANGUAGE/Test.lng"), "STR0 = Anfang\nSTR9 = \xC2\xB6Keine \xC2\xB6\nSTR100 = Neu\nSTR1700 = Thema\n");
    Language_Name = u"Test";
    Load_Language();
    m.Change_Language();
    EXPECT_EQ(m.L_Begin->Caption(), u"Anfang");
    EXPECT_EQ(m.L_Name_Conf->Caption(), u"Keine ");
    EXPECT_EQ(FNew_Project->Caption(), u"Neu");
    // The topic template keeps the texts it took when it was created.
    EXPECT_EQ(FTopicTemplate->Caption(), u"Set Topic");
}

TEST_F(StartupTest, RememberedConfiguration)
{
    struct Case {
        const char* name;
        bool folder_exists;
        const char16_t* conf_line1;
        const char16_t* conf_line2;
        const char16_t* saved_name;
    };
    const Case cases[] = {
        {"folder still there", true, u"Opened Configuration of the Converter : ", u"Plant 7", u"Plant 7"},
        {"folder deleted", false, u"None Configuration Opened ", u"Use Step1 to open or create new configuration", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Path("PROJECTS"));
        Remember(dir.upath(), u"Plant 7", false, false);
        if (c.folder_exists) std::filesystem::create_directories(Path("PROJECTS/Plant 7"));
        TZEVorezudaReruDure& m = Start();
        EXPECT_EQ(m.L_Name_Conf->Caption(), c.conf_line1);
        EXPECT_EQ(m.L_Name_Conf_L2->Caption(), c.conf_line2);
        EXPECT_EQ(Project_Dir.empty(), !c.folder_exists);

        m.Close();  // writes the settings file
        Free_Program_Windows();
        Reset_Globals();
        Read_Setting();
        EXPECT_EQ(Project_Name, c.saved_name);
    }
}

TEST_F(StartupTest, VersionTimerRunsOnlyWithBothInternetOptions)
{
    struct Case {
        bool internet, update, running;
    };
    for (const Case c : {Case{true, true, true}, Case{true, false, false}, Case{false, true, false}}) {
        SCOPED_TRACE(testing::Message() << c.internet << c.update);
        Remember(dir.upath(), u"", c.internet, c.update);
        TZEVorezudaReruDure& m = Start();
        EXPECT_EQ(m.Timer_Update->Enabled(), c.running);
        EXPECT_EQ(m.Timer_Update->Interval(), 60000u);
        Free_Program_Windows();
    }
}

TEST_F(StartupTest, ClosingWritesTheSettingsAndReportsAFailureOnce)
{
    TZEVorezudaReruDure& m = Start();
    Last_IP_Address = u"10.0.0.9";
    m.Close();
    Reset_Globals();
    Read_Setting();
    EXPECT_EQ(Last_IP_Address, u"10.0.0.9");

    // A folder where the settings file belongs cannot be replaced by a file.
    Free_Program_Windows();
    TZEVorezudaReruDure& again = Start();
    std::filesystem::remove(Path("Tralvex.xml"));
    std::filesystem::create_directories(Path("Tralvex.xml/inside"));
    again.Show();
    responder().AnswerMessageBox(plat::mrOk);
    pt::CloseBox(&again);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
}

// A damaged settings file is kept aside at start, the user hears of it once, and the close
// writes a fresh file with the defaults.
TEST_F(StartupTest, DamagedSettingsAreKeptAndReportedOnce)
{
    shelltest::WriteBytes(Path("Tralvex.xml"), "<Conf_Settings><lastproj>");
    responder().AnswerMessageBox(plat::mrOk);
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtWarning);
    EXPECT_EQ(shelltest::ReadBytes(Path("Tralvex.xml.damaged")), "<Conf_Settings><lastproj>");
    m.Show();
    pt::CloseBox(&m);
    EXPECT_EQ(responder().MessageBoxes().size(), 1u);
    Reset_Globals();
    String note;
    Read_Setting(&note);
    EXPECT_TRUE(note.empty());
    EXPECT_EQ(Last_IP_Address, u"192.168.2.205");
    EXPECT_EQ(shelltest::ReadBytes(Path("Tralvex.xml.damaged")), "<Conf_Settings><lastproj>");
}

TEST_F(StartupTest, TheProgramRunsUntilTheMainWindowIsClosed)
{
    TZEVorezudaReruDure& m = Start();
    Last_IP_Address = u"10.1.2.3";
    // The user's close box, waiting in the queue when the loop starts.
    m.Show();
    ASSERT_TRUE(plat::PostMessage(m.Handle(), plat::WM_CLOSE, 0, 0));
    plat::Application->Run();
    EXPECT_EQ(ZEVorezudaReruDure, nullptr) << "the application frees its windows when the loop ends";
    EXPECT_EQ(plat::Application->FormCount(), 0);
    Reset_Globals();
    Read_Setting();
    EXPECT_EQ(Last_IP_Address, u"10.1.2.3");
}

} // namespace
