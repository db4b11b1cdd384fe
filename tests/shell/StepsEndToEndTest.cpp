// Steps 3, 4 and 5 as a user takes them: the topic and the Modbus rule typed into the tables
// through the real event path from the main window, the two files checked with xmllint and
// reopened, and the image built from them compared with one built from hand-written files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "ExtCGrid.h"
#include "ImageTestKit.h"
#include "MainTestKit.h"
#include "UConfiguration.h"
#include "UMQTT_Set_Topic.h"
#include "USaveBincc.h"
#include "USetAccess.h"
#include "UBoot.h"
#include "plat/ComCtrls.h"
#include "plat/Controls.h"
#include "plat/Types.h"

using namespace mainwin_test;
using plat::String;
namespace fs = std::filesystem;

namespace {

// The standard output of a shell command, and its exit status.
std::string Shell(const std::string& command, int* status = nullptr)
{
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = rc;
    return out;
}

std::string Hex(const image_test::Bytes& b, std::size_t from, std::size_t count)
{
    std::string s;
    char h[4];
    for (std::size_t i = from; i < from + count; ++i) {
        std::snprintf(h, sizeof h, "%02x", b[i]);
        s += (s.empty() ? "" : " ") + std::string(h);
    }
    return s;
}

class StepsEndToEndTest : public ProgramTest {
protected:
    // Clicks the middle of a cell given by its real column.
    static void Click_Cell(grid::TExtColumnGrid* g, int real, int row)
    {
        const plat::TRect r = g->CellRect(g->DisplColIndex(real), row);
        pt::Click(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    // Moves the current cell right with the arrow key until it stands in the real column.
    static void Right_To(grid::TExtColumnGrid* g, int real)
    {
        for (int guard = 0; guard < 40 && g->RealColIndex(g->Col()) < real; ++guard) {
            pt::Key(plat::VK_RIGHT);
            pt::ProcessEvents();
        }
        ASSERT_EQ(g->RealColIndex(g->Col()), real);
    }
    // Types into the current cell and commits with Enter.
    static void Enter_Text(const String& text)
    {
        pt::Type(text);
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
    }
    static void Click_Button(plat::TControl* b)
    {
        pt::Click(b, 20, 10);
        pt::ProcessEvents();
    }
    void Open_Step(plat::TControl* step)
    {
        pt::Click(step, 60, 18);
        pt::ProcessEvents();
    }
    std::string Conf(const std::string& name) const { return Path("PROJECTS/Plant/" + name); }

    // xmllint's answer to an XPath on a file.
    std::string XPath(const std::string& file, const std::string& path) const
    {
        std::string out = Shell("xmllint --xpath '" + path + "' '" + file + "' 2>&1");
        while (!out.empty() && out.back() == '\n') out.pop_back();
        return out;
    }
    // Publish row `row`: the topic and QoS "0"; with `full` also "Int", Dimension 2,
    // Position 0, OnTimer ticked and Time 1000.
    static void Fill_Publish(grid::TExtColumnGrid* g, int row, const String& topic, bool full)
    {
        Click_Cell(g, 1, row);
        Enter_Text(topic);
        Right_To(g, 3);
        Enter_Text(u"0");  // the list item starting with "0"
        if (!full) return;
        Right_To(g, 4);
        Enter_Text(u"I");  // "Int"
        Right_To(g, 5);
        Enter_Text(u"2");
        Right_To(g, 6);
        Enter_Text(u"0");
        Right_To(g, 13);
        pt::Key(plat::VK_SPACE);
        pt::ProcessEvents();
        Right_To(g, 14);
        Enter_Text(u"1000");
    }
};

TEST_F(StepsEndToEndTest, TopicAndReadRuleTypedInStepsThreeAndFourBuildTheImage)
{
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    shelltest::WriteBytes(Conf("ParGen.xml"), image_test::ParGen_Xml({{"Working_Mode", "1"}}));
    m.Show();
    pt::ProcessEvents();

    // Step 3: one publish topic.
    responder().ScriptModal<TFMQTT_Set_Topic>([](TFMQTT_Set_Topic& f) {
        Fill_Publish(f.ACG_Pub, 1, u"plant/temp", true);
        Click_Button(f.Btn_OK);
    });
    Open_Step(m.Btn_MQTT_Set_Topic);
    ASSERT_TRUE(fs::exists(Conf("MQTT_Set_Topic.xml"))) << "Step 3 did not save";

    // Step 4: one read rule.
    responder().ScriptModal<TFSetAccess>([](TFSetAccess& f) {
        grid::TExtColumnGrid* g = f.ACG_Modbus_Read;
        Click_Cell(g, 2, 1);
        Enter_Text(u"1");
        const std::pair<int, const char16_t*> cells[] = {{3, u"H"},  {4, u"100"}, {5, u"10"}, {6, u"1000"},
                                                         {7, u"0"}, {8, u"0"},   {9, u"0"}};
        for (const auto& [col, text] : cells) {
            Right_To(g, col);
            Enter_Text(text);
        }
        EXPECT_EQ(g->Cells(3, 1), u"Holding Register");
        Click_Button(f.Btn_OK);
    });
    Open_Step(m.Btn_Modbus_Set_Access);
    ASSERT_TRUE(fs::exists(Conf("ModbusM_SetAccess.xml"))) << "Step 4 did not save";
    EXPECT_TRUE(responder().MessageBoxes().empty()) << Utf8(responder().MessageTexts().front());

    // Both files are well-formed, with the root, the comment after it and the attributes in order.
    const std::string topics = Conf("MQTT_Set_Topic.xml"), rules = Conf("ModbusM_SetAccess.xml");
    for (const std::string& f : {topics, rules}) {
        int status = -1;
        Shell("xmllint --noout '" + f + "' 2>&1", &status);
        EXPECT_EQ(status, 0) << f;
    }
    EXPECT_EQ(XPath(rules, "name(/*)"), "EtherNetIP_to_Modbus");
    EXPECT_EQ(XPath(rules, "string(/*/following-sibling::comment())"), "SW_VERSION = 1.114");
    EXPECT_EQ(XPath(topics, "name(/*)"), "MQTT_Set_Topic");
    EXPECT_EQ(XPath(topics, "string(/*/following-sibling::comment())"), "SW_VERSION = 1.114");
    std::string names;
    for (int i = 1; i <= 13; ++i) names += XPath(rules, "name(/*/Modbus_Read/row[1]/@*[" + std::to_string(i) + "])") + " ";
    EXPECT_EQ(names, "Enable Slave_ID Type Address NPoint PollTime MaxError Position Bit Swap SwapWord Index_Topic "
                     "Mnemonic ");
    names.clear();
    for (int i = 1; i <= 15; ++i) names += XPath(topics, "name(/*/MQTT_Publish/row[1]/@*[" + std::to_string(i) + "])") + " ";
    EXPECT_EQ(names, "Topic Retained QoS DataType Dimension Position IPAddress FormatHex InputTemplate Template "
                     "OnChange OnCMD OnTimer Time Mnemonic ");

    // Reopening shows the same cells.
    responder().ScriptModal<TFMQTT_Set_Topic>([](TFMQTT_Set_Topic& f) {
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"plant/temp");
        EXPECT_EQ(f.ACG_Pub->Cells(3, 1), u"0");
        EXPECT_EQ(f.ACG_Pub->Cells(4, 1), u"Int");
        EXPECT_EQ(f.ACG_Pub->Cells(13, 1), u"Y");
        EXPECT_EQ(f.ACG_Pub->Cells(14, 1), u"1000");
        Click_Button(f.Btn_Cancel);
    });
    Open_Step(m.Btn_MQTT_Set_Topic);
    responder().ScriptModal<TFSetAccess>([](TFSetAccess& f) {
        const char16_t* expected[] = {u"Y", u"1", u"Holding Register", u"100", u"10", u"1000", u"0", u"0", u"0"};
        for (int c = 1; c <= 9; ++c) EXPECT_EQ(f.ACG_Modbus_Read->Cells(c, 1), expected[c - 1]) << c;
        Click_Button(f.Btn_Cancel);
    });
    Open_Step(m.Btn_Modbus_Set_Access);

    // Step 5 builds the image; the update window is cancelled.
    responder().ScriptModal<TFBoot>([](TFBoot& f) { f.SetModalResult(plat::mrCancel); });
    Open_Step(m.Btn_CreateBin);
    const image_test::Bytes bank1 = image_test::Read_Bytes(Conf("bin/bank1.bin"));
    const image_test::Bytes bank2 = image_test::Read_Bytes(Conf("bin/bank2.bin"));
    ASSERT_EQ(bank1.size(), 2048u);
    ASSERT_GE(bank2.size(), 32768u);
    EXPECT_EQ(Hex(bank2, 0, 32), "00 00 00 00 e8 03 00 00 01 03 64 00 0a 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                                 "00 00 14 00");
    EXPECT_EQ(Hex(bank1, 0x48, 4), "01 00 00 00");

    // The same rows written by hand give the same image, byte for byte.
    shelltest::WriteBytes(topics, image_test::Topics_Xml({image_test::Publish_Row(
                                                               "plant/temp", {{"Retained", "N"},
                                                                              {"Template", ""},
                                                                              {"OnTimer", "Y"},
                                                                              {"Time", "1000"},
                                                                              {"Mnemonic", ""}})},
                                                           {}));
    shelltest::WriteBytes(rules, image_test::Rules_Xml({image_test::Read_Rule({{"Address", "100"},
                                                                               {"NPoint", "10"},
                                                                               {"Bit", "0"},
                                                                               {"Mnemonic", ""}})},
                                                       {}));
    image::Build_Bin_Config();
    ASSERT_TRUE(image::Save_Bin_Config().Ok);
    EXPECT_EQ(image_test::Read_Bytes(Conf("bin/bank1.bin")), bank1);
    EXPECT_EQ(image_test::Read_Bytes(Conf("bin/bank2.bin")), bank2);
}

TEST_F(StepsEndToEndTest, SynchronousReadRuleLinksToThePickedTopic)
{
    if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
    TZEVorezudaReruDure& m = Start();
    ASSERT_EQ(Create_Configuration(u"Plant"), 0);
    shelltest::WriteBytes(Conf("ParGen.xml"), image_test::ParGen_Xml({{"Working_Mode", "0"}}));
    m.Show();
    pt::ProcessEvents();

    responder().ScriptModal<TFMQTT_Set_Topic>([](TFMQTT_Set_Topic& f) {
        Fill_Publish(f.ACG_Pub, 1, u"a", false);
        Fill_Publish(f.ACG_Pub, 2, u"b", false);
        Click_Button(f.Btn_OK);
    });
    Open_Step(m.Btn_MQTT_Set_Topic);
    responder().ScriptModal<TFSetAccess>([](TFSetAccess& f) {
        grid::TExtColumnGrid* g = f.ACG_Modbus_Read;
        EXPECT_FALSE(f.TS_Modbus_Write->TabVisible());
        Click_Cell(g, 2, 1);
        Enter_Text(u"1");
        const std::pair<int, const char16_t*> cells[] = {{3, u"H"}, {4, u"100"}, {5, u"10"},
                                                         {6, u"1000"}, {7, u"0"}, {12, u"2"}};
        for (const auto& [col, text] : cells) {
            Right_To(g, col);
            Enter_Text(text);
        }
        EXPECT_EQ(g->Cells(12, 1), u"2 - b");
        Click_Button(f.Btn_OK);
    });
    Open_Step(m.Btn_Modbus_Set_Access);
    EXPECT_TRUE(responder().MessageBoxes().empty()) << Utf8(responder().MessageTexts().front());
    EXPECT_EQ(XPath(Conf("ModbusM_SetAccess.xml"), "string(/*/Modbus_Read/row[1]/@Index_Topic)"), "1");

    responder().ScriptModal<TFBoot>([](TFBoot& f) { f.SetModalResult(plat::mrCancel); });
    Open_Step(m.Btn_CreateBin);
    const image_test::Bytes bank2 = image_test::Read_Bytes(Conf("bin/bank2.bin"));
    ASSERT_GE(bank2.size(), 32u);
    EXPECT_EQ(Hex(bank2, 20, 2), "01 00");
}

} // namespace
