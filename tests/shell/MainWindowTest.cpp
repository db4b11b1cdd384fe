// The main window's click dispatch, Step 5, the M-Bus scan action, the links and the
// program launcher.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "MainTestKit.h"
#include "TestSupport.h"
#include "UBoot.h"
#include "UConfiguration.h"
#include "UScanDecode.h"
#include "USettings.h"
#include "plat/Clock.h"
#include "plat/Exception.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"
#include "plat/Timers.h"

using namespace mainwin_test;
using plat::String;
using Z = TZEVorezudaReruDure;

namespace {

using MainWindowTest = ProgramTest;

// The buttons that need a configuration, with the window each one opens modally (none for
// the actions that open no window of their own).
struct Step {
    const char* name;
    controls::TFadeButton* Z::*button;
    const char16_t* window;
};
const Step Steps[] = {
    {"Prm_Gen", &Z::Btn_Prm_Gen, u"TFParGen"},
    {"MQTT_Set_Topic", &Z::Btn_MQTT_Set_Topic, u"TFMQTT_Set_Topic"},
    {"MBus", &Z::Btn_MBus, u"TFMeter_Bus"},
    {"Modbus_Set_Access", &Z::Btn_Modbus_Set_Access, u"TFSetAccess"},
    {"MQTT_Set_Access", &Z::Btn_MQTT_Set_Access, u"TFMQTT_Set_Access"},
    {"CAN_Rec_Frame", &Z::Btn_CAN_Rec_Frame, u"TFReceiveCAN"},
    {"CAN_Send_Frame", &Z::Btn_CAN_Send_Frame, u"TFTransmitCAN"},
    {"PDO_CANopen", &Z::Btn_PDO_CANopen, u"TFSet_PDO_Access"},
    {"SDO_Client_CANopen", &Z::Btn_SDO_Client_CANopen, u"TFSet_SDO_Client_Access"},
    {"SDO_Server_CANopen", &Z::Btn_SDO_Server_CANopen, u"TFSet_SDO_Server_Access"},
    {"CANopen_EDS", &Z::Btn_CANopen_EDS, nullptr},
    {"DNet_Net", &Z::Btn_DNet_Net, u"TFDNet"},
    {"DNet_Offset", &Z::Btn_DNet_Offset, u"TFDefOffset"},
    {"CreateBin", &Z::Btn_CreateBin, u"TFBoot"},
    {"PROFINET_XML", &Z::Btn_PROFINET_XML, u"TFProfinetFileName"},
    {"PROFIBUS_GSD", &Z::Btn_PROFIBUS_GSD, nullptr},
    {"DMX_Default", &Z::Btn_DMX_Default, u"TFDMXDefVal"},
    {"KNX_Access", &Z::Btn_KNX_Access, u"TFKNXAccess"},
    {"SNMP_Trap", &Z::Btn_SNMP_Trap, u"TFSNMP_Trap_Access"},
    {"SNMP_MIB", &Z::Btn_SNMP_MIB, nullptr},
    {"SNMP_Manager_Access", &Z::Btn_SNMP_Manager_Access, u"TFSNMPManagerAccess"},
    {"BACnet_SetAccess", &Z::Btn_BACnet_SetAccess, u"TFBACnetSlaveSetAccess"},
    {"BACnet_EDE_File", &Z::Btn_BACnet_EDE_File, nullptr},
    {"DALI_Access", &Z::Btn_DALI_Access, u"TFDALI_Access"},
    {"ScanDecode", &Z::Btn_ScanDecode, u"TFScanDecode"},
};

TEST_F(MainWindowTest, ConfigurationStepsWithoutAConfigurationAreRefused)
{
    TZEVorezudaReruDure& m = Start();
    for (const Step& s : Steps) {
        SCOPED_TRACE(s.name);
        const size_t boxes = responder().MessageBoxes().size();
        responder().AnswerMessageBox(plat::mrOk);
        m.Btn_Click(m.*s.button);
        ASSERT_EQ(responder().MessageBoxes().size(), boxes + 1);
        const auto& box = responder().MessageBoxes().back().Request;
        EXPECT_EQ(box.Text, u"Error! Project not Valid");
        EXPECT_EQ(box.Kind, plat::mtError);
        EXPECT_TRUE(box.Buttons == plat::TMsgDlgButtons{plat::mbOK});
    }
    EXPECT_TRUE(responder().Modals().empty());
    EXPECT_TRUE(responder().FileDialogs().empty());
    EXPECT_FALSE(std::filesystem::exists(Path("PROJECTS/bin")));
}

TEST_F(MainWindowTest, ARealClickOnAShownStepGoesThroughTheSameCheck)
{
    TZEVorezudaReruDure& m = Start();
    m.Show();
    responder().AnswerMessageBox(plat::mrOk);
    pt::Click(m.Btn_Prm_Gen, 85, 18);
    ASSERT_EQ(responder().MessageTexts(), std::vector<String>{u"Error! Project not Valid"});
}

TEST_F(MainWindowTest, StepsOpenTheirWindowsWithAConfiguration)
{
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    for (const Step& s : Steps) {
        SCOPED_TRACE(s.name);
        const size_t modals = responder().Modals().size();
        if (s.button == &Z::Btn_CANopen_EDS || s.button == &Z::Btn_BACnet_EDE_File || s.button == &Z::Btn_SNMP_MIB)
            responder().CancelFileDialog();
        if (s.window) responder().ScriptModal([](plat::TCustomForm& f) { f.SetModalResult(plat::mrCancel); });
        m.Btn_Click(m.*s.button);
        if (s.window) {
            ASSERT_EQ(responder().Modals().size(), modals + 1);
            EXPECT_EQ(responder().Modals().back().FormClass, s.window);
        } else {
            EXPECT_EQ(responder().Modals().size(), modals);
        }
    }
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

TEST_F(MainWindowTest, InformationAndOptionsNeedNoConfiguration)
{
    TZEVorezudaReruDure& m = Start();
    responder().ScriptModal([](plat::TCustomForm& f) { f.SetModalResult(plat::mrOk); });
    m.Btn_Click(m.Btn_Info);
    ASSERT_EQ(responder().Modals().size(), 1u);
    EXPECT_EQ(responder().Modals()[0].FormClass, u"TFAbout");

    // Options closed with OK: the settings are written and the timer follows the options.
    responder().ScriptModal([](plat::TCustomForm& f) {
        Enable_Internet = true;
        Enable_Update = true;
        f.SetModalResult(plat::mrOk);
    });
    m.Btn_Click(m.Btn_Opz);
    EXPECT_TRUE(m.Timer_Update->Enabled());
    Reset_Globals();
    Read_Setting();
    EXPECT_TRUE(Enable_Internet);

    // Cancel changes nothing.
    responder().ScriptModal([](plat::TCustomForm& f) {
        Enable_Update = false;
        f.SetModalResult(plat::mrCancel);
    });
    m.Btn_Click(m.Btn_Opz);
    EXPECT_TRUE(m.Timer_Update->Enabled());
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

TEST_F(MainWindowTest, UpdateDeviceBuildsTheImageThenOpensTheUpdateWindow)
{
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    int form_type = -1;
    String caption;
    responder().ScriptModal<TFBoot>([&](TFBoot& f) {
        form_type = f.Form_Type;
        caption = f.Caption();
        f.SetModalResult(plat::mrCancel);
    });
    m.Btn_Click(m.Btn_CreateBin);
    EXPECT_EQ(form_type, 1);
    EXPECT_EQ(caption, u"Update Device by Ethernet (UDP)");
    EXPECT_EQ(std::filesystem::file_size(Path("PROJECTS/Plant/bin/bank1.bin")), 2048u);
    EXPECT_TRUE(std::filesystem::exists(Path("PROJECTS/Plant/bin/bank2.bin")));
}

TEST_F(MainWindowTest, UpdateDeviceStopsWhenTheImageCannotBeSaved)
{
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    // bin is a file: the image files cannot be written under it.
    std::filesystem::remove_all(Path("PROJECTS/Plant/bin"));
    shelltest::WriteBytes(Path("PROJECTS/Plant/bin"), "not a folder");
    responder().AnswerMessageBox(plat::mrOk);
    m.Btn_Click(m.Btn_CreateBin);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
    EXPECT_TRUE(responder().Modals().empty());
}

TEST_F(MainWindowTest, AReadErrorOfTheBuildReachesTheTopLevelHandler)
{
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    // A damaged table file stops the build.
    shelltest::WriteBytes(Path("PROJECTS/Plant/ParGen.xml"), "<ParGen><Working_Mode>1</ParGen>");
    String reason;
    try {
        m.Update_Device();
        ADD_FAILURE() << "the build went on";
    } catch (const plat::Exception& e) {
        reason = e.Message();
    }
    ASSERT_FALSE(reason.empty());

    m.Show();
    responder().AnswerMessageBox(plat::mrOk);
    pt::Click(m.Btn_CreateBin, 85, 18);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text, reason);
    EXPECT_TRUE(responder().Modals().empty());
    EXPECT_FALSE(std::filesystem::exists(Path("PROJECTS/Plant/bin/bank1.bin")));
}

TEST_F(MainWindowTest, ScanAsksBeforeReplacingAnExistingNetwork)
{
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    shelltest::WriteBytes(Utf8(File_M_Bus), "<M_Bus/>");

    responder().AnswerMessageBox(plat::mrNo);
    m.Btn_Click(m.Btn_ScanDecode);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text,
              u"M_Bus network configuration already exists for this configuration. Do you want to continue?");
    EXPECT_TRUE(responder().Modals().empty());

    responder().AnswerMessageBox(plat::mrYes);
    responder().ScriptModal<TFScanDecode>([](TFScanDecode& f) {
        EXPECT_EQ(f.XML_Code_Dev, 18);
        EXPECT_EQ(f.FileName_MBus, File_M_Bus);
        EXPECT_EQ(f.Form_Type, 0);
        f.SetModalResult(plat::mrCancel);
    });
    FScanDecode->Form_Type = 5;
    m.Btn_Click(m.Btn_ScanDecode);
    EXPECT_EQ(responder().Modals().size(), 1u);
}

TEST_F(MainWindowTest, LinksOpenThroughTheShell)
{
    TZEVorezudaReruDure& m = Start();
    m.Show();
    pt::Click(m.L_Varnok, 2, 2);
    m.LL_Update->SetCaption(u"<a href=\"https://example.invalid/new\">New Version Available</a>");
    m.LL_Update->SetVisible(true);
    pt::ProcessEvents();
    pt::Click(m.LL_Update, 4, 4);
    ASSERT_EQ(responder().ShellOpens().size(), 2u);
    EXPECT_EQ(responder().ShellOpens()[0].Target, Home_Page_URL);
    EXPECT_EQ(responder().ShellOpens()[1].Target, u"https://example.invalid/new");
}

// ---- the launcher -------------------------------------------------------------------------

struct FakeProgram {
    bool starts = true;
    int runs_for_polls = 0;  // -1: never ends
    int polls = 0;
    int kills = 0;
};

class StartProgramTest : public pt::UiTest {
protected:
    void Use(FakeProgram& p)
    {
        Set_Program_Runner({[&p](const String&, const String&, plat::TShowMode, String* error) {
                                if (!p.starts) {
                                    if (error) *error = u"no such program";
                                    return plat::TProcessHandle{};
                                }
                                return plat::TProcessHandle{4242};
                            },
                            [&p](plat::TProcessHandle) {
                                ++p.polls;
                                return p.runs_for_polls < 0 || p.polls <= p.runs_for_polls;
                            }});
    }
    void TearDown() override
    {
        Set_Program_Runner({});
        pt::UiTest::TearDown();
    }
};

TEST_F(StartProgramTest, PollsEveryTenMillisecondsUpToTheLimit)
{
    struct Case {
        const char* name;
        int runs_for_polls;
        int polls;
        std::uint32_t elapsed;
    };
    const Case cases[] = {
        {"ends at once: one poll", 0, 1, 0},
        {"ends after three polls", 3, 4, 30},
        {"never ends: gives up at the limit", -1, 15001, 150000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProgram p;
        p.runs_for_polls = c.runs_for_polls;
        Use(p);
        const std::uint32_t start = pt::Now();
        EXPECT_TRUE(Start_Program(u"/opt/Ethernet_Update.exe", u"", false));
        EXPECT_EQ(p.polls, c.polls);
        EXPECT_EQ(pt::Now() - start, c.elapsed);
    }
}

TEST_F(StartProgramTest, AStartFailureIsReturned)
{
    FakeProgram p;
    p.starts = false;
    Use(p);
    String error;
    EXPECT_FALSE(Start_Program(u"/nowhere/Ethernet_Update.exe", u"", true, &error));
    EXPECT_EQ(error, u"no such program");
    EXPECT_EQ(p.polls, 0);
}

TEST(StartProgramRealTest, RunsARealProgramToItsEnd)
{
    shelltest::TempDir dir;
    const std::string marker = dir / "ran";
    EXPECT_TRUE(Start_Program(u"/bin/sh", plat::Utf8ToString("-c \"echo > '" + marker + "'\""), true));
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_FALSE(Start_Program(plat::Utf8ToString(dir / "missing-program"), u"", true));
}

// Every step button shows a picture of its own beside the caption; a configuration name
// longer than its frame ends in "..." inside the frame. TEST_PICTURES asks for a picture.
TEST_F(MainWindowTest, StepButtonsShowGlyphsAndALongNameStaysInItsFrame)
{
    // The configuration remembered from the last run has an 89-character name.
    const String name = String(80, u'W') + u" and more";
    std::filesystem::create_directories(Path("PROJECTS/" + plat::StringToUtf8(name)));
    Init_Program_Dirs(dir.path());
    Project_Name = name;
    ASSERT_TRUE(Save_Setting());
    Reset_Globals();
    TZEVorezudaReruDure& m = Start();
    std::vector<controls::TFadeButton*> steps = {m.Btn_New, m.Btn_Open};
    for (const Step& s : Steps) steps.push_back(m.*s.button);
    ASSERT_EQ(steps.size(), 27u);
    for (controls::TFadeButton* b : steps) {
        ASSERT_NE(b->Glyph(), nullptr) << plat::StringToUtf8(b->Caption());
        EXPECT_EQ(b->Glyph()->Width(), 16);
        EXPECT_EQ(b->NumGlyphs(), 1);
    }

    m.Show();
    pt::ProcessEvents();
    const int frameRight = m.Shape2->Left() + m.Shape2->Width();
    EXPECT_EQ(m.L_Name_Conf_L2->Caption(), name);
    EXPECT_LE(m.L_Name_Conf_L2->Left() + m.L_Name_Conf_L2->Width(), frameRight - 1);
    // Nothing of the name is painted on the frame's border or beyond it.
    const std::unique_ptr<plat::TBitmap> shot = pt::Grab(&m);
    const plat::TColor background = shot->Canvas()->Pixels(frameRight + 3, m.L_Name_Conf_L2->Top() + 2);
    for (int x = frameRight; x < frameRight + 40; ++x)
        for (int y = m.L_Name_Conf_L2->Top(); y < m.L_Name_Conf_L2->Top() + m.L_Name_Conf_L2->Height(); ++y)
            ASSERT_EQ(shot->Canvas()->Pixels(x, y), background) << x << "," << y;
    if (const std::string pictures = testsupport::Picture_Dir(); !pictures.empty())
        pt::SaveGrab(&m, plat::Utf8ToString(pictures + "main-long-name.png"));
}

} // namespace
