// The update window: texts and layout by mode, the address fields, the device check's
// timing through a fake echo on the fake clock, the update job and the launch of the
// update program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "TestSupport.h"
#include "UBoot.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UStart_Program.h"
#include "plat/ExtCtrls.h"
#include "plat/Grids.h"
#include "plat/IcmpClient.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

namespace pt = plat::testing;
namespace fs = std::filesystem;
using plat::String;

namespace {

std::string Narrow(const String& s)
{
    return plat::StringToUtf8(s);
}

// Answers the echo requests by a plan: each request either gets its reply after 2 ms or
// times out after the full receive time-out, both on the fake clock. `during` runs inside a
// request, standing for what the user does while the check waits.
struct FakeEcho : plat::IIcmpEcho {
    std::function<bool(int index)> answers = [](int) { return true; };
    std::function<void(int index)> during;
    // Request index at which the echo fails with an error instead of answering; -1 never.
    int raise_at = -1;
    std::vector<plat::TIcmpEchoRequest> requests;
    std::vector<std::uint32_t> sent_at;

    plat::TReplyStatus Echo(const plat::TIcmpEchoRequest& r) override
    {
        const int index = static_cast<int>(requests.size());
        requests.push_back(r);
        sent_at.push_back(pt::Now());
        if (during) during(index);
        if (index == raise_at) throw plat::EIcmpError(u"network is down");
        plat::TReplyStatus s;
        s.SequenceId = r.SequenceId;
        if (answers(index)) {
            pt::AdvanceClock(2);
            s.ReplyStatusType = plat::rsEcho;
            s.BytesReceived = static_cast<int>(8 + r.Payload.size());
        } else {
            pt::AdvanceClock(r.TimeoutMs);
            s.ReplyStatusType = plat::rsTimeOut;
        }
        return s;
    }
};

struct Launch {
    String program;
    String parameters;
    plat::TShowMode show = plat::TShowMode::Hidden;
};

class UBootTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        temp = std::make_unique<testsupport::TempDir>();
        dir = temp->native();
        Program_Dir = plat::Utf8ToString(dir);
        Master_Dir = Program_Dir + u"/MASTER";
        Project_Name = u"Plant";
        Project_Dir = Program_Dir + u"/PROJECTS/Plant";
        File_ParGen = Project_Dir + u"/ParGen.xml";
        Last_IP_Address = u"192.168.2.205";
        Update_Option = 0;
        Update_Read_Back = true;
        Set_Program_Runner({[this](const String& program, const String& parameters, plat::TShowMode show,
                                   String* error) {
                                launches.push_back({program, parameters, show});
                                if (!program_starts) {
                                    if (error) *error = u"no such program";
                                    return plat::TProcessHandle{};
                                }
                                return plat::TProcessHandle{4242};
                            },
                            [](plat::TProcessHandle) { return false; }});
        boot = new TFBoot(nullptr);
        boot->Ping->SetEcho(&echo);
    }
    void TearDown() override
    {
        delete boot;
        Set_Program_Runner({});
        temp.reset();
        pt::UiTest::TearDown();
    }

    fs::path Job() const { return fs::path(dir) / "Ethernet_Update.xml"; }

    void Type_Address(const std::vector<String>& parts)
    {
        plat::TEdit* edits[] = {boot->E_IP1, boot->E_IP2, boot->E_IP3, boot->E_IP4};
        for (int i = 0; i < 4; ++i) edits[i]->SetText(parts[static_cast<size_t>(i)]);
    }

    // Shows the window in Ethernet mode; `inside` runs while it shows, then Cancel closes it.
    void Show_Ethernet(const std::function<void(TFBoot&)>& inside)
    {
        boot->Form_Type = 1;
        responder().ScriptModal<TFBoot>([&](TFBoot& f) {
            inside(f);
            if (f.ModalResult() == plat::mrNone) pt::Click(f.Btn_Cancel, 10, 10);
        });
        boot->ShowModal();
    }

    std::unique_ptr<testsupport::TempDir> temp;
    std::string dir;
    TFBoot* boot = nullptr;
    FakeEcho echo;
    std::vector<Launch> launches;
    bool program_starts = true;
};

TEST_F(UBootTest, TextsFollowTheMode)
{
    struct Case {
        int form_type;
        const char16_t* caption;
        const char16_t* desc;
    };
    const Case cases[] = {
        {1, u"Update Device by Ethernet (UDP)", u"Update Device Using the Ethernet Port"},
        {0, u"Update Device by Serial", u"Update Device Using the Serial Port"},
        // Another mode leaves the texts the last one set.
        {7, u"Update Device by Serial", u"Update Device Using the Serial Port"},
    };
    EXPECT_EQ(boot->Form_Type, 0);
    EXPECT_EQ(FBoot, boot);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form_type);
        boot->Form_Type = c.form_type;
        boot->Set_Lang();
        EXPECT_EQ(boot->Caption(), c.caption);
        EXPECT_EQ(boot->L_SW_Desc->Caption(), c.desc);
        EXPECT_EQ(boot->Btn_Update->Caption(), u"Execute Update Firmware");
        EXPECT_EQ(boot->Btn_Cancel->Hint(), u"Exit without to do the Update");
        EXPECT_EQ(boot->L_IP_Address->Caption(), u"Insert the IP Address of Device");
        EXPECT_EQ(boot->E_IP3->Hint(), u"Insert third byte of IP Address");
        EXPECT_EQ(boot->CB_Update_Option_Read_Back->Caption(), u"Read Back");
        EXPECT_EQ(boot->ACG_List_Devices->Cells(1, 0), u"MAC Address");
    }
    // Set_Lang refills the options and selects the first.
    boot->CB_Update_Options->SetItemIndex(2);
    boot->Set_Lang();
    ASSERT_EQ(boot->CB_Update_Options->Items()->Count(), 3);
    EXPECT_EQ(boot->CB_Update_Options->Items()->Strings(0), u"Firmware + Configuration");
    EXPECT_EQ(boot->CB_Update_Options->Items()->Strings(1), u"Firmware");
    EXPECT_EQ(boot->CB_Update_Options->Items()->Strings(2), u"Configuration");
    EXPECT_EQ(boot->CB_Update_Options->ItemIndex(), 0);
}

TEST_F(UBootTest, LayoutByMode)
{
    struct Case {
        int form_type;
        int client_height;
        bool ip, options, serial;
        const char16_t* caption;
    };
    const Case cases[] = {
        {1, 230, true, true, false, u"Update Device by Ethernet (UDP)"},
        {0, 232, false, true, true, u"Update Device by Serial"},
        {5, -1, false, false, false, nullptr},
        {1, 230, true, true, false, u"Update Device by Ethernet (UDP)"},  // back from another mode
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form_type);
        boot->Form_Type = c.form_type;
        const String before = boot->Caption();
        const int height_before = boot->ClientHeight();
        bool ip = false, options = false, serial = false, search = true;
        int options_top = -1;
        plat::TWinControl* focused = nullptr;
        responder().ScriptModal<TFBoot>([&](TFBoot& f) {
            ip = f.P_IP_Address->Visible();
            options = f.P_Options->Visible();
            serial = f.P_Serial->Visible();
            search = f.P_Eth_Search->Visible();
            options_top = f.P_Options->Top();
            focused = f.ActiveControl();
            pt::Click(f.Btn_Cancel, 10, 10);
        });
        EXPECT_EQ(boot->ShowModal(), plat::mrCancel);
        EXPECT_EQ(ip, c.ip);
        EXPECT_EQ(options, c.options);
        EXPECT_EQ(serial, c.serial);
        EXPECT_FALSE(search);
        EXPECT_EQ(boot->ClientWidth(), 449);
        EXPECT_EQ(boot->ClientHeight(), c.client_height < 0 ? height_before : c.client_height);
        EXPECT_EQ(boot->Caption(), c.caption ? String(c.caption) : before);
        if (c.form_type == 1) {
            EXPECT_EQ(options_top, 69 + 49);
            EXPECT_EQ(focused, boot->E_IP1);
        } else if (c.form_type == 0) {
            EXPECT_EQ(options_top, 69 + 51);
            EXPECT_EQ(focused, boot->CB_COM_Port);
        }
    }
}

TEST_F(UBootTest, ShowingOffersTheRememberedChoices)
{
    struct Case {
        const char* name;
        const char16_t* last_ip;
        int option;
        bool read_back;
        std::vector<String> fields;
    };
    const Case cases[] = {
        {"defaults of a first start", u"192.168.2.205", 0, true, {u"192", u"168", u"2", u"205"}},
        {"another address and choices", u"10.0.0.7", 2, false, {u"10", u"0", u"0", u"7"}},
        // A refused address leaves the fields as the last show left them.
        {"part above 255", u"10.0.0.300", 1, true, {u"10", u"0", u"0", u"7"}},
        {"empty", u"", 1, true, {u"10", u"0", u"0", u"7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Last_IP_Address = c.last_ip;
        Update_Option = c.option;
        Update_Read_Back = c.read_back;
        std::vector<String> fields;
        int option = -1;
        bool read_back = !c.read_back;
        Show_Ethernet([&](TFBoot& f) {
            fields = {f.E_IP1->Text(), f.E_IP2->Text(), f.E_IP3->Text(), f.E_IP4->Text()};
            option = f.CB_Update_Options->ItemIndex();
            read_back = f.CB_Update_Option_Read_Back->Checked();
        });
        EXPECT_EQ(fields, c.fields);
        EXPECT_EQ(option, c.option);
        EXPECT_EQ(read_back, c.read_back);
    }
}

TEST_F(UBootTest, DotMovesToTheNextAddressField)
{
    struct Case {
        const char* name;
        std::vector<String> before;  // the four fields before typing
        plat::TEdit* TFBoot::*start;
        bool selectAll;              // the start field's text selected first
        const char16_t* typed;
        std::vector<String> fields;
        plat::TEdit* TFBoot::*focus;
    };
    const std::vector<String> empty = {u"", u"", u"", u""};
    const std::vector<String> old = {u"10", u"0", u"0", u"1"};
    const Case cases[] = {
        {"a whole address", empty, &TFBoot::E_IP1, false, u"10.1.2.3", {u"10", u"1", u"2", u"3"}, &TFBoot::E_IP4},
        {"typed over an old address", old, &TFBoot::E_IP1, true, u"192.168.1.50",
         {u"192", u"168", u"1", u"50"}, &TFBoot::E_IP4},
        {"typed into an empty row", empty, &TFBoot::E_IP1, true, u"192.168.1.50", {u"192", u"168", u"1", u"50"},
         &TFBoot::E_IP4},
        {"dot in the last field is dropped", empty, &TFBoot::E_IP4, false, u"4.5", {u"", u"", u"", u"45"},
         &TFBoot::E_IP4},
        {"two dots skip a field", empty, &TFBoot::E_IP1, false, u"7..8", {u"7", u"", u"8", u""}, &TFBoot::E_IP3},
        {"other characters pass", empty, &TFBoot::E_IP2, false, u"a b", {u"", u"a b", u"", u""}, &TFBoot::E_IP2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<String> fields;
        plat::TWinControl* focused = nullptr;
        Show_Ethernet([&](TFBoot& f) {
            plat::TEdit* row[] = {f.E_IP1, f.E_IP2, f.E_IP3, f.E_IP4};
            for (int i = 0; i < 4; ++i) row[i]->SetText(c.before[static_cast<std::size_t>(i)]);
            (f.*c.start)->SetFocus();
            if (c.selectAll) (f.*c.start)->SelectAll();
            else (f.*c.start)->SetSelStart(static_cast<int>((f.*c.start)->Text().size()));
            pt::Type(c.typed);
            fields = {f.E_IP1->Text(), f.E_IP2->Text(), f.E_IP3->Text(), f.E_IP4->Text()};
            focused = f.ActiveControl();
        });
        EXPECT_EQ(fields, c.fields);
        EXPECT_EQ(focused, boot->*c.focus);
    }
}

// A dot that arrives without the key (a paste) is taken out of the field at once.
TEST_F(UBootTest, PastedDotsNeverStayInAnAddressField)
{
    std::vector<String> fields;
    Show_Ethernet([&](TFBoot& f) {
        f.E_IP2->SetText(u"1.2");
        f.E_IP3->SetText(u"..");
        fields = {f.E_IP2->Text(), f.E_IP3->Text()};
    });
    EXPECT_EQ(fields, (std::vector<String>{u"12", u""}));
}

TEST_F(UBootTest, DeviceCheckTiming)
{
    struct Case {
        const char* name;
        std::function<bool(int)> answers;
        // Requests sent and the check's length on the fake clock (from the first request to
        // the end of the last pause).
        int requests;
        std::uint32_t min_ms, max_ms;
        const char16_t* message;  // null: the update goes ahead
    };
    const Case cases[] = {
        // Each silent try takes the 400 ms time-out and one 10 ms pause; the check gives up
        // with the first try that ends after 5000 ms.
        {"silent device", [](int) { return false; }, 13, 5001, 5420, u"Device Not Found!"},
        // The last status decides: a device that answered once and then fell silent is not found.
        {"answers the first request only", [](int i) { return i == 0; }, 14, 5001, 5420, u"Device Not Found!"},
        {"answers every request", [](int) { return true; }, 2, 24, 24, nullptr},
        {"misses the first, answers the rest", [](int i) { return i > 0; }, 3, 434, 434, nullptr},
        // Answers need not follow each other.
        {"answers every other request", [](int i) { return i % 2 == 0; }, 3, 434, 434, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        echo = FakeEcho();
        echo.answers = c.answers;
        launches.clear();
        fs::remove(Job());
        if (c.message) responder().AnswerMessageBox(plat::mrOk);
        const size_t boxes = responder().MessageBoxes().size();
        std::uint32_t start = 0, end = 0;
        Show_Ethernet([&](TFBoot& f) {
            start = pt::Now();
            pt::Click(f.Btn_Update, 10, 10);
            end = pt::Now();
        });
        EXPECT_EQ(static_cast<int>(echo.requests.size()), c.requests);
        EXPECT_GE(end - start, c.min_ms);
        EXPECT_LE(end - start, c.max_ms);
        for (const plat::TIcmpEchoRequest& r : echo.requests) {
            EXPECT_EQ(r.Address, (plat::TIPv4Address{192, 168, 2, 205}));
            EXPECT_EQ(r.Payload, "abcdefghijklmnopqrstuvwa");
            EXPECT_EQ(r.TimeoutMs, 400u);
        }
        if (c.message) {
            ASSERT_EQ(responder().MessageBoxes().size(), boxes + 1);
            EXPECT_EQ(responder().MessageBoxes().back().Request.Text, c.message);
            EXPECT_EQ(responder().MessageBoxes().back().Request.Kind, plat::mtWarning);
            EXPECT_TRUE(launches.empty());
            EXPECT_FALSE(fs::exists(Job()));
        } else {
            EXPECT_EQ(responder().MessageBoxes().size(), boxes);
            ASSERT_EQ(launches.size(), 1u);
            EXPECT_EQ(launches[0].program, Program_Dir + u"/Ethernet_Update.exe");
            EXPECT_EQ(launches[0].parameters, u"");
            EXPECT_EQ(launches[0].show, plat::TShowMode::Normal);
            EXPECT_TRUE(fs::exists(Job()));
        }
    }
}

TEST_F(UBootTest, AddressErrorsShowCheckTheAddress)
{
    struct Case {
        const char* name;
        std::vector<String> fields;
        int raise_at;
        int requests;
    };
    const Case cases[] = {
        {"empty field", {u"192", u"168", u"", u"1"}, -1, 0},
        {"part above 255", {u"192", u"168", u"256", u"1"}, -1, 0},
        {"blank in a field", {u"192", u"168", u" 2", u"1"}, -1, 0},
        {"a name", {u"device", u"local", u"x", u"y"}, -1, 0},
        // An error after a reply with data still ends the check as failed.
        {"error after an answer", {u"192", u"168", u"2", u"9"}, 1, 2},
        {"error on the first request", {u"192", u"168", u"2", u"9"}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        echo = FakeEcho();
        echo.raise_at = c.raise_at;
        Last_IP_Address = u"192.168.2.205";
        responder().AnswerMessageBox(plat::mrOk);
        const size_t boxes = responder().MessageBoxes().size();
        Show_Ethernet([&](TFBoot& f) {
            Type_Address(c.fields);
            pt::Click(f.Btn_Update, 10, 10);
        });
        EXPECT_EQ(static_cast<int>(echo.requests.size()), c.requests);
        ASSERT_EQ(responder().MessageBoxes().size(), boxes + 1);
        EXPECT_EQ(responder().MessageBoxes().back().Request.Text, u"Error!!! Check the Ip Address");
        EXPECT_EQ(responder().MessageBoxes().back().Request.Kind, plat::mtError);
        EXPECT_EQ(Last_IP_Address, u"192.168.2.205");
        EXPECT_TRUE(launches.empty());
        EXPECT_FALSE(fs::exists(Job()));
    }
}

TEST_F(UBootTest, AFailedCheckRemembersNothing)
{
    echo.answers = [](int) { return false; };
    responder().AnswerMessageBox(plat::mrOk);
    Show_Ethernet([&](TFBoot& f) {
        Type_Address({u"10", u"0", u"0", u"9"});
        f.CB_Update_Options->SetItemIndex(2);
        f.CB_Update_Option_Read_Back->SetChecked(false);
        pt::Click(f.Btn_Update, 10, 10);
    });
    EXPECT_EQ(Last_IP_Address, u"192.168.2.205");
    EXPECT_EQ(Update_Option, 0);
    EXPECT_TRUE(Update_Read_Back);
}

TEST_F(UBootTest, CancelDuringTheCheckWritesAndStartsNothing)
{
    struct Case {
        const char* name;
        bool close_box;
    };
    for (const Case& c : {Case{"Cancel button", false}, Case{"close box", true}}) {
        SCOPED_TRACE(c.name);
        echo = FakeEcho();
        echo.answers = [](int i) { return i > 0; };
        echo.during = [&](int index) {
            if (index != 1) return;
            if (c.close_box) pt::CloseBox(boot);
            else pt::Click(boot->Btn_Cancel, 10, 10);
        };
        boot->Form_Type = 1;
        responder().ScriptModal<TFBoot>([&](TFBoot& f) {
            f.CB_Update_Options->SetItemIndex(1);
            pt::Click(f.Btn_Update, 10, 10);
        });
        EXPECT_EQ(boot->ShowModal(), plat::mrCancel);
        // The device answered the second request, yet nothing follows the cancel.
        EXPECT_EQ(echo.requests.size(), 2u);
        EXPECT_TRUE(responder().MessageBoxes().empty());
        EXPECT_TRUE(launches.empty());
        EXPECT_FALSE(fs::exists(Job()));
        EXPECT_EQ(Update_Option, 0);
        EXPECT_FALSE(boot->Checking());
    }
}

TEST_F(UBootTest, UpdateDuringTheCheckIsIgnored)
{
    echo.during = [&](int index) {
        if (index == 0) pt::Click(boot->Btn_Update, 10, 10);
    };
    Show_Ethernet([&](TFBoot& f) { pt::Click(f.Btn_Update, 10, 10); });
    // One check of two requests, one job, one launch.
    EXPECT_EQ(echo.requests.size(), 2u);
    EXPECT_EQ(launches.size(), 1u);
    EXPECT_EQ(Last_IP_Address, u"192.168.2.205");
}

TEST_F(UBootTest, UpdateAgainRepeatsCheckJobAndLaunch)
{
    Show_Ethernet([&](TFBoot& f) {
        pt::Click(f.Btn_Update, 10, 10);
        EXPECT_TRUE(f.Visible());
        Type_Address({u"010", u"001", u"002", u"003"});
        f.CB_Update_Options->SetItemIndex(1);
        f.CB_Update_Option_Read_Back->SetChecked(false);
        pt::Click(f.Btn_Update, 10, 10);
    });
    EXPECT_EQ(echo.requests.size(), 4u);
    EXPECT_EQ(echo.requests[3].Address, (plat::TIPv4Address{10, 1, 2, 3}));
    EXPECT_EQ(launches.size(), 2u);
    EXPECT_EQ(Last_IP_Address, u"010.001.002.003");
    EXPECT_EQ(Update_Option, 1);
    EXPECT_FALSE(Update_Read_Back);
}

// ---- the job file -------------------------------------------------------------------------

struct Element {
    std::string name;
    std::string text;
};

std::vector<Element> Operation_Of(const std::string& file, const std::string& start, const std::string& bank,
                                  const std::string& read_back, const std::string& write_css,
                                  const std::string& go_to_app)
{
    return {{"Ope_Protection_Enabled", ""},
            {"Ope_GoToBoot_Before", "0"},
            {"Ope_GoToApp_Before", "0"},
            {"Ope_IP_Address", ""},
            {"Ope_Port", "2008"},
            {"Ope_Port_Sec", "2007"},
            {"Ope_Erase_Memory", "0"},
            {"Ope_FileName", file},
            {"Ope_Start_Address", start},
            {"Ope_Memory_Type", "0"},
            {"Ope_Bank_Type", bank},
            {"Ope_Read_Back", read_back},
            {"Ope_Write_CSS", write_css},
            {"Ope_Address_CSS", "0x07A00"},
            {"Ope_Command_CSS", "0x02"},
            {"Ope_Write_Internal_Data", "0"},
            {"Ope_WID_Address", "0x07810"},
            {"Ope_WID_Command", "0x02"},
            {"Ope_WID_Data", "0x00, 0x00, 0x00, 0x01"},
            {"Ope_GoToApp_After", go_to_app}};
}

std::vector<Element> Children(plat::IXMLNode node)
{
    std::vector<Element> out;
    for (int i = 0; i < node.ChildNodes().Count(); ++i) {
        plat::IXMLNode c = node.ChildNodes()[i];
        out.push_back({Narrow(c.NodeName()), c.IsTextElement() || !c.HasChildNodes() ? Narrow(c.Text()) : "*"});
    }
    return out;
}

bool operator==(const Element& a, const Element& b)
{
    return a.name == b.name && a.text == b.text;
}

void PrintTo(const Element& e, std::ostream* os)
{
    *os << e.name << "=\"" << e.text << "\"";
}

std::string Shell_Output(const std::string& command)
{
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    if (pclose(p) != 0) out += "\n<exit status not 0>";
    return out;
}

TEST_F(UBootTest, JobFileByUpdateOption)
{
    const std::string program = dir;
    const std::string firmware = program + "/MASTER/Sim40518.sim";
    const std::string bank1 = program + "/PROJECTS/Plant/bin/bank1.bin";
    const std::string bank2 = program + "/PROJECTS/Plant/bin/bank2.bin";
    struct Case {
        int option;
        bool read_back;
        std::vector<std::vector<Element>> operations;
    };
    const Case cases[] = {
        {0, true,
         {Operation_Of(firmware, "0x8000", "1", "1", "1", "0"), Operation_Of(bank1, "0x07000", "2", "1", "0", "0"),
          Operation_Of(bank2, "0x80000", "2", "1", "0", "1")}},
        {1, false, {Operation_Of(firmware, "0x8000", "1", "0", "1", "1")}},
        {2, true,
         {Operation_Of(bank1, "0x07000", "2", "1", "0", "0"), Operation_Of(bank2, "0x80000", "2", "1", "0", "1")}},
        // A later job replaces the earlier one whole.
        {1, true, {Operation_Of(firmware, "0x8000", "1", "1", "1", "1")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        Show_Ethernet([&](TFBoot& f) {
            Type_Address({u"192", u"168", u"002", u"07"});
            f.CB_Update_Options->SetItemIndex(c.option);
            f.CB_Update_Option_Read_Back->SetChecked(c.read_back);
            pt::Click(f.Btn_Update, 10, 10);
        });
        ASSERT_TRUE(fs::exists(Job()));

        // Read back through the XML document.
        plat::TXMLDocument doc;
        doc.LoadFromFile(plat::Utf8ToString(Job().string()));
        ASSERT_EQ(doc.ChildNodes().Count(), 1) << "the root element alone, nothing beside it";
        plat::IXMLNode root = doc.DocumentElement();
        EXPECT_EQ(root.NodeName(), u"Ethernet_Update");
        const std::vector<Element> head = {
            {"Version", "1000"},           {"Title", "www.varnok.com - QR40518 Ethernet Update"},
            {"IP_Address_Dev", "192.168.002.07"}, {"Application_Port", "10000"},
            {"Boot_Port", "2008"},         {"Boot_Port_Sec", "2007"},
            {"Address_Protection", "0x07800"}, {"Protections", "*"},
            {"Operations", "*"}};
        EXPECT_EQ(Children(root), head);
        const std::vector<Element> protections = {
            {"Protection", "0x2C9"}, {"Protection", "0x3A4"}, {"Protection", "0x15B"}};
        EXPECT_EQ(Children(root.ChildNodes()[u"Protections"]), protections);
        plat::IXMLNode ops = root.ChildNodes()[u"Operations"];
        ASSERT_EQ(ops.ChildNodes().Count(), static_cast<int>(c.operations.size()));
        for (size_t i = 0; i < c.operations.size(); ++i) {
            EXPECT_EQ(ops.ChildNodes()[static_cast<int>(i)].NodeName(), u"Operation");
            EXPECT_EQ(Children(ops.ChildNodes()[static_cast<int>(i)]), c.operations[i]) << "operation " << i;
        }

        // And through an outside reader: well formed, no declaration, the same values.
        const std::string path = Job().string();
        EXPECT_EQ(Shell_Output("xmllint --noout '" + path + "' 2>&1"), "");
        EXPECT_EQ(Shell_Output("xmllint --xpath 'count(/Ethernet_Update/Operations/Operation)' '" + path + "'"),
                  std::to_string(c.operations.size()) + "\n");
        EXPECT_EQ(Shell_Output("xmllint --xpath 'string(//Operation[last()]/Ope_GoToApp_After)' '" + path + "'"), "1\n");
        EXPECT_EQ(Shell_Output("xmllint --xpath 'count(//Operation[Ope_GoToApp_After=\"1\"])' '" + path + "'"), "1\n");
        EXPECT_EQ(Shell_Output("xmllint --xpath 'count(//@*)' '" + path + "'"), "0\n");
        std::ifstream in(path);
        std::string first_line;
        std::getline(in, first_line);
        EXPECT_EQ(first_line.rfind("<Ethernet_Update", 0), 0u) << first_line;
    }
}

TEST_F(UBootTest, OlderJobLayout)
{
    boot->Form_Type = 1;
    boot->Set_Lang();
    boot->CB_Update_Options->SetItemIndex(0);
    boot->Compile_XML_Parameter();
    plat::TXMLDocument doc;
    doc.LoadFromFile(plat::Utf8ToString(Job().string()));
    plat::IXMLNode root = doc.DocumentElement();
    EXPECT_EQ(root.ChildNodes()[u"Address_Protection"].Text(), u"0x78000");
    EXPECT_EQ(Children(root.ChildNodes()[u"Protections"]), (std::vector<Element>{{"Protection", "0x2C9"}}));
    plat::IXMLNode ops = root.ChildNodes()[u"Operations"];
    ASSERT_EQ(ops.ChildNodes().Count(), 3);
    struct Case {
        int index;
        int elements;
        const char16_t* start;
        const char16_t* address_css;
    };
    for (const Case& c : {Case{0, 16, u"0x8000", u"0x78100"}, Case{1, 20, u"0x68000", u"0x50100"},
                          Case{2, 20, u"0x80000", u"0x50100"}}) {
        SCOPED_TRACE(c.index);
        plat::IXMLNode op = ops.ChildNodes()[c.index];
        EXPECT_EQ(op.ChildNodes().Count(), c.elements);
        EXPECT_EQ(op.ChildNodes()[u"Ope_Start_Address"].Text(), c.start);
        EXPECT_EQ(op.ChildNodes()[u"Ope_Address_CSS"].Text(), c.address_css);
        EXPECT_EQ(op.ChildNodes()[u"Ope_Command_CSS"].Text(), u"0x0B");
        if (c.index == 0) {
            EXPECT_TRUE(op.ChildNodes().FindNode(u"Ope_WID_Address").IsNull());
            EXPECT_EQ(op.ChildNodes()[c.elements - 2].NodeName(), u"Ope_Command_CSS");
        } else {
            EXPECT_EQ(op.ChildNodes()[u"Ope_WID_Address"].Text(), u"0x78200");
            EXPECT_EQ(op.ChildNodes()[u"Ope_WID_Command"].Text(), u"0x0B");
        }
    }
}

TEST_F(UBootTest, JobThatCannotBeWrittenStopsBeforeTheLaunch)
{
    // The program folder is a file: the job cannot be saved there.
    const String good_dir = Program_Dir;
    Program_Dir = good_dir + u"/not-a-folder";
    std::ofstream(Narrow(Program_Dir)) << "x";
    responder().AnswerMessageBox(plat::mrOk);
    Show_Ethernet([&](TFBoot& f) { pt::Click(f.Btn_Update, 10, 10); });
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
    EXPECT_NE(Narrow(responder().MessageBoxes()[0].Request.Text).find("Ethernet_Update.xml"), std::string::npos)
        << Narrow(responder().MessageBoxes()[0].Request.Text);
    EXPECT_TRUE(launches.empty());
    // The check passed, so the choices were already remembered.
    EXPECT_EQ(Last_IP_Address, u"192.168.2.205");
    Program_Dir = good_dir;
}

TEST_F(UBootTest, ProgramThatCannotStartIsReported)
{
    program_starts = false;
    responder().AnswerMessageBox(plat::mrOk);
    Show_Ethernet([&](TFBoot& f) { pt::Click(f.Btn_Update, 10, 10); });
    ASSERT_EQ(launches.size(), 1u);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Text,
              u"Error! The update program could not be started: " + Program_Dir + u"/Ethernet_Update.exe\nno such program");
    EXPECT_TRUE(fs::exists(Job()));
}

TEST_F(UBootTest, SerialUpdateOnlyRemembersTheChoices)
{
    boot->Form_Type = 0;
    responder().ScriptModal<TFBoot>([&](TFBoot& f) {
        f.CB_Update_Options->SetItemIndex(2);
        f.CB_Update_Option_Read_Back->SetChecked(false);
        pt::Click(f.Btn_Update, 10, 10);
        pt::Click(f.Btn_Cancel, 10, 10);
    });
    boot->ShowModal();
    EXPECT_EQ(Update_Option, 2);
    EXPECT_FALSE(Update_Read_Back);
    EXPECT_TRUE(echo.requests.empty());
    EXPECT_TRUE(launches.empty());
    EXPECT_FALSE(fs::exists(Job()));
}

TEST_F(UBootTest, TypeOfDeviceFromTheGeneralParameters)
{
    struct Case {
        const char* name;
        const char* file;  // null: no file
        int type;
    };
    const Case cases[] = {
        {"no file", nullptr, 0},
        {"a number", "<Par_Gen><BACnet_Type>3</BACnet_Type></Par_Gen>", 3},
        {"not a number", "<Par_Gen><BACnet_Type>x</BACnet_Type></Par_Gen>", 0},
        {"missing", "<Par_Gen><Other>3</Other></Par_Gen>", 0},
    };
    fs::create_directories(Narrow(Project_Dir));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(Narrow(File_ParGen));
        if (c.file) std::ofstream(Narrow(File_ParGen)) << c.file;
        EXPECT_EQ(boot->Get_Type_Dev(), c.type);
    }
}

// Both modes open at the window's client size; pictures of them are written to TEST_PICTURES
// when it is set.
TEST_F(UBootTest, RendersBothModes)
{
    struct Case {
        int form_type;
        const char* file;
        int height;
    };
    const std::string dir = testsupport::Picture_Dir();
    for (const Case& c : {Case{1, "uboot-ethernet.png", 230}, Case{0, "uboot-serial.png", 232}}) {
        boot->Form_Type = c.form_type;
        int width = 0, height = 0;
        responder().ScriptModal<TFBoot>([&](TFBoot& f) {
            if (!dir.empty()) pt::SaveGrab(&f, plat::Utf8ToString(dir + c.file));
            width = f.ClientWidth();
            height = f.ClientHeight();
            pt::Click(f.Btn_Cancel, 10, 10);
        });
        boot->ShowModal();
        EXPECT_EQ(width, 449);
        EXPECT_EQ(height, c.height);
    }
}

} // namespace
