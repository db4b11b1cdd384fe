// The options window inside the running program: language pages, the confirmed language
// change, the dependent check boxes, OK and Cancel, the check on demand, and the main
// window's update timer; the about box.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "MainTestKit.h"
#include "TestSupport.h"
#include "UAbout.h"
#include "ULanguage.h"
#include "UParGen.h"
#include "USettings.h"
#include "USoftOptions.h"
#include "UVersionCheck.h"
#include "plat/Classes.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/ExtCtrls.h"
#include "plat/Graphics.h"
#include "plat/StdCtrls.h"
#include "plat/Timers.h"

using namespace mainwin_test;
using plat::String;

namespace {

// A 48 x 48 flag of one colour inside a white edge (the edge is the transparent colour, as
// the bottom-left pixel), written as the picture file the window loads.
void Write_Flag(const std::string& path, plat::TColor color)
{
    plat::TBitmap bmp(48, 48);
    bmp.Canvas()->Brush()->SetColor(color);
    bmp.Canvas()->FillRect(plat::TRect{4, 8, 44, 40});
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    bmp.SaveToFile(plat::Utf8ToString(path));
}

class OptionsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // No test reaches the network: every version request lands here.
        Set_Version_Request([this](const String& url, String& answer) {
            requests.push_back(url);
            answer = service_answer;
            return service_up;
        });
    }
    void TearDown() override
    {
        Set_Version_Request(nullptr);
        ProgramTest::TearDown();
    }
    void Language_File(const std::string& name, const std::string& text = "")
    {
        shelltest::WriteBytes(Path("LANGUAGE/" + name), text);
    }
    // Shows the options window from the main window and runs `script` inside it; the
    // script leaves the modal result.
    void With_Options(TZEVorezudaReruDure& m, std::function<void(TFSoftOptions&)> script)
    {
        responder().ScriptModal<TFSoftOptions>([script](TFSoftOptions& f) {
            pt::ProcessEvents();
            script(f);
        });
        m.Btn_Click(m.Btn_Opz);
    }
    static std::vector<String> Shown_Languages(const TFSoftOptions& f)
    {
        std::vector<String> out;
        for (int k = 0; k < TFSoftOptions::Slots_Per_Page; ++k)
            if (f.L_L[k]->Visible()) out.push_back(f.L_L[k]->Caption());
        return out;
    }

    std::vector<String> requests;
    String service_answer;
    bool service_up = false;
};

struct PagingCase {
    int files;
    int clicks_next;  // Next clicks after the first page
    int page;
    std::vector<String> shown;
    bool prev, next;
    const char16_t* counter;
};

TEST_F(OptionsTest, LanguagesArePagedSixAtATime)
{
    const PagingCase cases[] = {
        {0, 0, 1, {u""}, false, false, u"Page 1 / 1"},
        {1, 0, 1, {u"L01"}, false, false, u"Page 1 / 1"},
        {6, 0, 1, {u"L01", u"L02", u"L03", u"L04", u"L05", u"L06"}, false, false, u"Page 1 / 1"},
        {7, 0, 1, {u"L01", u"L02", u"L03", u"L04", u"L05", u"L06"}, false, true, u"Page 1 / 2"},
        {7, 1, 2, {u"L07"}, true, false, u"Page 2 / 2"},
        {7, 3, 2, {u"L07"}, true, false, u"Page 2 / 2"},  // Next beyond the last page stays
        {13, 2, 3, {u"L13"}, true, false, u"Page 3 / 3"},
        {12, 1, 2, {u"L07", u"L08", u"L09", u"L10", u"L11", u"L12"}, true, false, u"Page 2 / 2"},
    };
    TZEVorezudaReruDure& m = Start();
    for (const PagingCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.files << " files, " << c.clicks_next << " x Next");
        std::filesystem::remove_all(Path("LANGUAGE"));
        std::filesystem::create_directories(Path("LANGUAGE"));
        for (int i = 1; i <= c.files; ++i) Language_File((i < 10 ? "L0" : "L") + std::to_string(i) + ".lng");
        With_Options(m, [&](TFSoftOptions& f) {
            for (int i = 0; i < c.clicks_next; ++i) f.Btn_NextClick(f.Btn_Next);
            EXPECT_EQ(f.Show_Page, c.page);
            EXPECT_EQ(Shown_Languages(f), c.shown);
            EXPECT_EQ(f.Btn_Prev->Visible(), c.prev);
            EXPECT_EQ(f.Btn_Next->Visible(), c.next);
            EXPECT_EQ(f.L_Page_Lang->Caption(), c.counter);
            if (c.page > 1) {  // and back again
                f.Btn_NextClick(f.Btn_Prev);
                EXPECT_EQ(f.Show_Page, c.page - 1);
            }
            f.SetModalResult(plat::mrCancel);
        });
    }
}

TEST_F(OptionsTest, ReadOnlyAndNonPlainLanguageFilesAreLeftOutSortedIgnoringCase)
{
    Language_File("italiano.lng");
    Language_File("Deutsch.lng");
    Language_File("English.lng");
    Language_File("notes.txt");
    Language_File(".Hidden.lng");
    std::filesystem::create_directories(Path("LANGUAGE/Folder.lng"));
    Language_File("Locked.lng");
    std::filesystem::permissions(Path("LANGUAGE/Locked.lng"), std::filesystem::perms::owner_read |
                                                                   std::filesystem::perms::group_read |
                                                                   std::filesystem::perms::others_read);
    // Read-only is the file's own attribute (no write bit), whoever runs the program.
    const std::vector<String> expected = {u".Hidden", u"Deutsch", u"English", u"italiano"};
    TZEVorezudaReruDure& m = Start();
    With_Options(m, [&](TFSoftOptions& f) {
        EXPECT_EQ(Shown_Languages(f), expected);
        f.SetModalResult(plat::mrCancel);
    });
}

TEST_F(OptionsTest, FlagsComeFromTheLanguageThenTheDefaultFlag)
{
    Language_File("Deutsch.lng");
    Language_File("English.lng");
    Write_Flag(Path("LANGUAGE/Deutsch.bmp"), 0x0000FF);
    shelltest::WriteBytes(Path("LANGUAGE/English.bmp"), "not a picture");
    TZEVorezudaReruDure& m = Start();

    // Without a default flag a language without a usable picture shows none.
    With_Options(m, [&](TFSoftOptions& f) {
        EXPECT_TRUE(f.I_L[0]->Visible());
        EXPECT_EQ(f.I_L[0]->Picture()->Width(), 48);
        EXPECT_EQ(pt::PixelOf(*f.I_L[0]->Picture()->Bitmap(), 10, 10), plat::TColor(0x0000FF));
        EXPECT_FALSE(f.I_L[1]->Visible());
        EXPECT_TRUE(f.L_L[1]->Visible());
        f.SetModalResult(plat::mrCancel);
    });

    Write_Flag(Path("LANGUAGE/DefaultFlag.bmp"), 0x00FF00);
    With_Options(m, [&](TFSoftOptions& f) {
        ASSERT_TRUE(f.I_L[1]->Visible());
        EXPECT_EQ(pt::PixelOf(*f.I_L[1]->Picture()->Bitmap(), 10, 10), plat::TColor(0x00FF00));
        f.SetModalResult(plat::mrCancel);
    });
}

TEST_F(OptionsTest, AConfirmedLanguageSwitchesTheTextsAtOnceButTheSettingOnlyOnOK)
{
    Language_File("English.lng");
    Language_File("Italiano.lng", "STR 0 = Inizio\r\nSTR 302 = Lingua\r\nSTR 304 = Lingua scelta:\r\n");
    Write_Flag(Path("LANGUAGE/DefaultFlag.bmp"), 0xC08040);
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Lang(0), u"Begin");

    // No: nothing changes.
    With_Options(m, [&](TFSoftOptions& f) {
        responder().AnswerMessageBox(plat::mrNo);
        pt::Click(f.L_L[1], 2, 2);
        EXPECT_EQ(f.Language_In_Use, u"English");
        EXPECT_EQ(Lang(0), u"Begin");
        f.SetModalResult(plat::mrCancel);
    });
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text,
              u"Do you want to change the Language from English to Italiano?");

    // Yes, then Cancel: every window follows at once, the setting stays.
    With_Options(m, [&](TFSoftOptions& f) {
        responder().AnswerMessageBox(plat::mrYes);
        pt::Click(f.I_L[1], 2, 2);  // the picture counts like the label
        EXPECT_EQ(f.Language_In_Use, u"Italiano");
        EXPECT_EQ(Language_Name, u"English");
        EXPECT_EQ(f.TS_Language->Caption(), u"Lingua");
        EXPECT_EQ(f.L_Sel_Lang->Caption(), u"Lingua scelta:Italiano");
        EXPECT_EQ(m.L_Begin->Caption(), u"Inizio");
        f.SetModalResult(plat::mrCancel);
    });
    EXPECT_EQ(Language_Name, u"English");
    EXPECT_EQ(m.L_Begin->Caption(), u"Inizio");

    // The next showing starts from the setting; choosing again and OK keeps it.
    With_Options(m, [&](TFSoftOptions& f) {
        EXPECT_EQ(f.Language_In_Use, u"English");
        responder().AnswerMessageBox(plat::mrYes);
        pt::Click(f.L_L[1], 2, 2);
        EXPECT_EQ(responder().MessageBoxes().back().Request.Text,
                  u"Do you want to change the Language from English to Italiano?");
        pt::Click(f.Btn_OK, 5, 5);
    });
    EXPECT_EQ(Language_Name, u"Italiano");
    Reset_Globals();
    Read_Setting();
    EXPECT_EQ(Language_Name, u"Italiano");
}

TEST_F(OptionsTest, ALanguageChosenInTheOptionsWindowReTextsTheGeneralParameters)
{
    // The general-parameters window re-texts the controls of every panel, those the model
    // of this build hides included, and its rebuilt lists start again at item 0.
    Language_File("English.lng");
    Language_File("Espanol.lng", "STR 1825 = Baudios\r\nSTR 408 = Ausente\r\n");
    TZEVorezudaReruDure& m = Start();
    ASSERT_NE(FParGen, nullptr);
    auto* present = FParGen->Named_As<plat::TComboBox>(u"CB_MBus_OnWire_Present");
    present->SetItemIndex(1);
    ASSERT_EQ(FParGen->Named(u"L_CAN_Baudrate")->Caption(), u"Baudrate");
    With_Options(m, [&](TFSoftOptions& f) {
        responder().AnswerMessageBox(plat::mrYes);
        pt::Click(f.L_L[1], 2, 2);
        EXPECT_EQ(f.Language_In_Use, u"Espanol");
        f.SetModalResult(plat::mrCancel);
    });
    EXPECT_EQ(FParGen->Named(u"L_CAN_Baudrate")->Caption(), u"Baudios");
    EXPECT_EQ(present->Items()->Strings(0), u"Ausente");
    EXPECT_EQ(present->Items()->Strings(1), u"Present");
    EXPECT_EQ(present->ItemIndex(), 0);
}

TEST_F(OptionsTest, ALanguageChangeOnALaterPageKeepsThatPageAndReappliesAllWindows)
{
    for (int i = 1; i <= 7; ++i) Language_File("L0" + std::to_string(i) + ".lng", "STR 305 = Pg.\r\n");
    TZEVorezudaReruDure& m = Start();
    std::vector<String> order;
    Set_Set_Lang_Observer([&](const String& name) { order.push_back(name); });
    With_Options(m, [&](TFSoftOptions& f) {
        f.Btn_NextClick(f.Btn_Next);
        responder().AnswerMessageBox(plat::mrYes);
        pt::Click(f.L_L[0], 2, 2);
        EXPECT_EQ(f.Language_In_Use, u"L07");
        EXPECT_EQ(f.L_Page_Lang->Caption(), u"Pg.2 / 2");
        EXPECT_EQ(Shown_Languages(f), std::vector<String>{u"L07"});
        f.SetModalResult(plat::mrCancel);
    });
    ASSERT_FALSE(order.empty());
    EXPECT_EQ(order.front(), u"TZEVorezudaReruDure");
    EXPECT_NE(std::find(order.begin(), order.end(), u"TFSoftOptions"), order.end());
}

TEST_F(OptionsTest, AnEmptyLanguageFolderLeavesAnEmptyFirstSlotThatDoesNothing)
{
    std::filesystem::create_directories(Path("LANGUAGE"));
    TZEVorezudaReruDure& m = Start();
    With_Options(m, [&](TFSoftOptions& f) {
        EXPECT_TRUE(f.L_L[0]->Visible());
        EXPECT_EQ(f.L_L[0]->Caption(), u"");
        f.LangClick(f.L_L[0]);
        f.LangClick(f.I_L[0]);
        EXPECT_EQ(f.Language_In_Use, u"English");
        f.SetModalResult(plat::mrCancel);
    });
    EXPECT_TRUE(responder().MessageBoxes().empty());
}

struct TickCase {
    bool internet, update;
    bool update_enabled, check_enabled;
};

TEST_F(OptionsTest, TheUpdateOptionAndTheCheckButtonFollowTheInternetOption)
{
    const TickCase cases[] = {
        {false, false, false, false},
        {false, true, false, false},
        {true, false, true, false},
        {true, true, true, true},
    };
    TZEVorezudaReruDure& m = Start();
    for (const TickCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "internet " << c.internet << ", update " << c.update);
        // From the program values when shown ...
        Enable_Internet = c.internet;
        Enable_Update = c.update;
        With_Options(m, [&](TFSoftOptions& f) {
            EXPECT_TRUE(f.CB_En_Con->Checked() == c.internet && f.CB_Update->Checked() == c.update);
            EXPECT_EQ(f.CB_Update->Enabled(), c.update_enabled);
            EXPECT_EQ(f.Btn_Check_Update->Enabled(), c.check_enabled);
            // ... and from the ticks while shown.
            f.CB_En_Con->SetChecked(!c.internet);
            f.CB_En_Con->SetChecked(c.internet);
            EXPECT_EQ(f.CB_Update->Enabled(), c.update_enabled);
            EXPECT_EQ(f.Btn_Check_Update->Enabled(), c.check_enabled);
            EXPECT_EQ(f.CB_Update->Checked(), c.update);  // disabling keeps the tick
            f.SetModalResult(plat::mrCancel);
        });
    }
}

TEST_F(OptionsTest, OKCommitsEveryOptionAndArmsTheTimerCancelCommitsNothing)
{
    TZEVorezudaReruDure& m = Start();
    With_Options(m, [&](TFSoftOptions& f) {
        f.PC_Options->SetActivePage(f.TS_Con_Options);
        pt::ProcessEvents();
        pt::Click(f.CB_En_Con, 4, 4);
        pt::Click(f.CB_Update, 4, 4);
        f.CB_Soft_Set_Jump_Table->SetChecked(true);
        f.CB_DoubleClick_Auto_Size->SetChecked(true);
        pt::Click(f.Btn_Cancel, 5, 5);
    });
    EXPECT_FALSE(Enable_Internet || Enable_Update || Enable_Jump_Field_Tables || Double_Click_Auto_Size);
    EXPECT_FALSE(m.Timer_Update->Enabled());

    With_Options(m, [&](TFSoftOptions& f) {
        f.CB_En_Con->SetChecked(true);
        f.CB_Update->SetChecked(true);
        f.CB_Soft_Set_Jump_Table->SetChecked(true);
        f.CB_DoubleClick_Auto_Size->SetChecked(true);
        pt::Click(f.Btn_OK, 5, 5);
    });
    EXPECT_TRUE(Enable_Internet && Enable_Update && Enable_Jump_Field_Tables && Double_Click_Auto_Size);
    EXPECT_TRUE(m.Timer_Update->Enabled());
    Reset_Globals();
    Read_Setting();
    EXPECT_TRUE(Enable_Internet && Enable_Update && Enable_Jump_Field_Tables && Double_Click_Auto_Size);

    // Internet off: the update tick is kept (disabled) but the timer stops.
    With_Options(m, [&](TFSoftOptions& f) {
        f.CB_En_Con->SetChecked(false);
        pt::Click(f.Btn_OK, 5, 5);
    });
    EXPECT_FALSE(Enable_Internet);
    EXPECT_TRUE(Enable_Update);
    EXPECT_FALSE(m.Timer_Update->Enabled());
}

TEST_F(OptionsTest, TheTimerChecksAfterAMinuteThenEveryTwoHours)
{
    service_up = true;
    service_answer = u"VER. 1.115";
    TZEVorezudaReruDure& m = Start();
    auto ok_with_both_on = [&] {
        With_Options(m, [](TFSoftOptions& f) {
            f.CB_En_Con->SetChecked(true);
            f.CB_Update->SetChecked(true);
            pt::Click(f.Btn_OK, 5, 5);
        });
    };
    ok_with_both_on();
    pt::AdvanceClock(59999);
    EXPECT_TRUE(requests.empty());
    // OK again while the count runs does not restart it.
    ok_with_both_on();
    pt::AdvanceClock(1);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], Version_Request_URL());
    EXPECT_TRUE(m.LL_Update->Visible());
    EXPECT_EQ(m.LL_Update->PlainText(), u"New Version Available. Click Here for more Details");
    EXPECT_EQ(m.Timer_Update->Interval(), 7200000u);

    service_answer = u"VER. 0.000";
    pt::AdvanceClock(7199999);
    EXPECT_EQ(requests.size(), 1u);
    pt::AdvanceClock(1);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_FALSE(m.LL_Update->Visible());

    // Switched off and on again: the count starts afresh with the two-hour interval.
    With_Options(m, [](TFSoftOptions& f) {
        f.CB_Update->SetChecked(false);
        pt::Click(f.Btn_OK, 5, 5);
    });
    pt::AdvanceClock(7200000);
    EXPECT_EQ(requests.size(), 2u);
    ok_with_both_on();
    pt::AdvanceClock(7199999);
    EXPECT_EQ(requests.size(), 2u);
    pt::AdvanceClock(1);
    EXPECT_EQ(requests.size(), 3u);
}

TEST_F(OptionsTest, TheUpdateLinkOpensTheDownloadPage)
{
    service_up = true;
    service_answer = u"ver. 1.200";
    TZEVorezudaReruDure& m = Start();
    m.Show();
    m.Timer_Update->SetEnabled(true);
    pt::AdvanceClock(60000);
    ASSERT_TRUE(m.LL_Update->Visible());
    pt::ProcessEvents();
    pt::Click(m.LL_Update, 4, 4);
    ASSERT_EQ(responder().ShellOpens().size(), 1u);
    EXPECT_EQ(responder().ShellOpens()[0].Target, Download_Page_URL);
}

struct OnDemandCase {
    bool up;
    const char16_t* answer;
    const char16_t* shown;
    bool link;
};

TEST_F(OptionsTest, CheckOnDemandShowsTheResult)
{
    const OnDemandCase cases[] = {
        {true, u"VER. 1.115", u"New Version Available. Click Here for more Details", true},
        {true, u"VER. 1.114", u"No Update Available", false},
        {true, u"  ver. 0.000  ", u"No Update Available", false},
        {true, u"<html><body>Not Found</body></html>", u"No Update Available", false},
        {false, u"VER. 1.115", u"No Update Available", false},  // the body of a failed request counts for nothing
    };
    TZEVorezudaReruDure& m = Start();
    Enable_Internet = true;
    Enable_Update = true;
    for (const OnDemandCase& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.answer));
        service_up = c.up;
        service_answer = c.answer;
        const size_t opens = responder().ShellOpens().size();
        With_Options(m, [&](TFSoftOptions& f) {
            EXPECT_FALSE(f.LL_Check_Update->Visible());
            f.PC_Options->SetActivePage(f.TS_Con_Options);
            pt::ProcessEvents();
            pt::Click(f.Btn_Check_Update, 5, 5);
            EXPECT_TRUE(f.LL_Check_Update->Visible());
            EXPECT_EQ(f.LL_Check_Update->PlainText(), c.shown);
            pt::ProcessEvents();
            pt::Click(f.LL_Check_Update, 4, 4);
            f.SetModalResult(plat::mrCancel);
        });
        ASSERT_EQ(responder().ShellOpens().size(), opens + (c.link ? 1 : 0));
        if (c.link) {
            EXPECT_EQ(responder().ShellOpens().back().Target, Download_Page_URL);
        }
    }
    EXPECT_EQ(requests.size(), std::size(cases));
}

TEST_F(OptionsTest, TheAboutBoxShowsTheIdentityInEnglishAndLinksHome)
{
    Language_File("Italiano.lng", "STR 0 = Inizio\r\n");
    TZEVorezudaReruDure& m = Start();
    With_Options(m, [&](TFSoftOptions& f) {
        responder().AnswerMessageBox(plat::mrYes);
        pt::Click(f.L_L[0], 2, 2);
        f.SetModalResult(plat::mrCancel);
    });
    ASSERT_EQ(Lang(0), u"Inizio");
    responder().ScriptModal<TFAbout>([](TFAbout& a) {
        pt::ProcessEvents();
        EXPECT_EQ(a.Label1->Caption(), u"Software Tralvex ");
        EXPECT_EQ(a.Label2->Caption(), u"Ruvere Zadude / ZOVE - Dudererud");
        EXPECT_EQ(a.Label3->Caption(), u"Version :");
        EXPECT_EQ(a.Label10->Caption(), u"1.114");
        EXPECT_EQ(a.Label9->Caption(), u"QR40518");
        EXPECT_EQ(a.Label12->Caption(), u"DL40518");
        EXPECT_EQ(a.ClientWidth(), 425);
        EXPECT_EQ(a.ClientHeight(), 148);
        pt::Click(a.Label4, 2, 2);
        pt::Click(a.Image2, 40, 40);
        pt::Click(a.FadeButton1, 5, 5);
    });
    m.Btn_Click(m.Btn_Info);
    ASSERT_EQ(responder().Modals().size(), 2u);
    EXPECT_EQ(responder().Modals()[1].Result, plat::mrOk);
    ASSERT_EQ(responder().ShellOpens().size(), 2u);
    EXPECT_EQ(responder().ShellOpens()[0].Target, Home_Page_URL);
    EXPECT_EQ(responder().ShellOpens()[1].Target, Home_Page_URL);
}

// Pictures of the options and about windows, written to TEST_PICTURES when it is set.
TEST_F(OptionsTest, RenderOptionsAndAbout)
{
    const std::string out = testsupport::Picture_Dir();
    if (out.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    for (const char* n : {"Deutsch", "English", "Espanol", "Francais", "Italiano", "Nederlands", "Polski"})
        Language_File(std::string(n) + ".lng");
    Write_Flag(Path("LANGUAGE/Italiano.bmp"), 0x00A000);
    Write_Flag(Path("LANGUAGE/DefaultFlag.bmp"), 0xC08040);
    TZEVorezudaReruDure& m = Start();
    Enable_Internet = true;
    With_Options(m, [&](TFSoftOptions& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(out + "options_language.png"));
        f.Btn_NextClick(f.Btn_Next);
        pt::ProcessEvents();
        pt::SaveGrab(&f, plat::Utf8ToString(out + "options_language_2.png"));
        f.PC_Options->SetActivePage(f.TS_Con_Options);
        f.CB_Update->SetChecked(true);
        f.Btn_Check_UpdateClick(f.Btn_Check_Update);
        pt::ProcessEvents();
        pt::SaveGrab(&f, plat::Utf8ToString(out + "options_connection.png"));
        f.PC_Options->SetActivePage(f.TS_Soft_Settings);
        pt::ProcessEvents();
        pt::SaveGrab(&f, plat::Utf8ToString(out + "options_settings.png"));
        f.SetModalResult(plat::mrCancel);
    });
    responder().ScriptModal<TFAbout>([&](TFAbout& a) {
        pt::ProcessEvents();
        pt::SaveGrab(&a, plat::Utf8ToString(out + "about.png"));
        a.SetModalResult(plat::mrOk);
    });
    m.Btn_Click(m.Btn_Info);
    EXPECT_TRUE(std::filesystem::exists(out + "options_language.png"));
    EXPECT_TRUE(std::filesystem::exists(out + "about.png"));
}

} // namespace
