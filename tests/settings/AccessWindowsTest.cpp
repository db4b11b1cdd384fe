// The access editors as windows: layout by working mode, loading and saving through a show,
// topic links, and the questions that guard unread, cut-off or unwritable files.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UMQTT_SetAccess_Eth.h"
#include "UMQTT_Set_Access.h"
#include "UModbus_TCP_Master_Set_Access.h"
#include "USetAccess.h"
#include "UTopicTemplate.h"
#include "plat/StdCtrls.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using plat::String;
namespace fs = std::filesystem;

namespace {

std::string N(const String& s)
{
    return plat::StringToUtf8(s);
}

class AccessWindowTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        plat::testing::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        Point_At(dir_.native());
    }
    void TearDown() override
    {
        Point_At("");
        plat::testing::UiTest::TearDown();
    }
    // The active configuration's files lie in `dir`.
    static void Point_At(const std::string& dir)
    {
        const String d = plat::Utf8ToString(dir);
        Project_Dir = d;
        File_ParGen = d + u"/ParGen.xml";
        File_MQTT_Set_Topic = d + u"/MQTT_Set_Topic.xml";
        File_ModbusM_SetAccess = d + u"/ModbusM_SetAccess.xml";
        File_ModbusTCPM_SetAccess = d + u"/ModbusTCPM_SetAccess.xml";
        File_MQTT_Set_Access = d + u"/MQTT_Set_Access.xml";
    }
    void Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Mode(int mode) const
    {
        Write("ParGen.xml", "<Par_Gen><Working_Mode>" + std::to_string(mode) + "</Working_Mode></Par_Gen>");
    }
    void Topics(std::initializer_list<const char*> pub, std::initializer_list<const char*> sub = {}) const
    {
        std::string xml = "<MQTT_Set_Topic><MQTT_Publish>";
        for (const char* t : pub) xml += std::string("<row Topic=\"") + t + "\"/>";
        xml += "</MQTT_Publish><MQTT_Subscribe>";
        for (const char* t : sub) xml += std::string("<row Topic=\"") + t + "\"/>";
        Write("MQTT_Set_Topic.xml", xml + "</MQTT_Subscribe></MQTT_Set_Topic>");
    }
    // Shows the window modally and runs `script` in it.
    template <class T>
    void Show(T& w, std::function<void(T&)> script)
    {
        responder().ScriptModal<T>(std::move(script));
        w.ShowModal();
    }

    testsupport::TempDir dir_;
};

const char* kRead_Row =
    "<row Enable=\"Y\" Slave_ID=\"1\" Type=\"Holding Register\" Address=\"100\" NPoint=\"10\" PollTime=\"1000\" "
    "MaxError=\"0\" Position=\"7\" Bit=\"3\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"1\" Mnemonic=\"m\" />";
const char* kWrite_Row =
    "<row Enable=\"Y\" Slave_ID=\"0\" Type=\"Coil Status\" Address=\"1\" NPoint=\"1\" PollTime=\"0\" OnChange=\"Y\" "
    "OnCMD=\"N\" MaxError=\"0\" Position=\"0\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Mnemonic=\"w\" />";

std::string Modbus_File(const std::string& read, const std::string& write)
{
    return "<EtherNetIP_to_Modbus>\n  <Modbus_Read>" + read + "</Modbus_Read>\n  <Modbus_Write>" + write +
           "</Modbus_Write>\n</EtherNetIP_to_Modbus>\n<!--SW_VERSION = 1.114-->\n";
}

using AccessWindowsTest = AccessWindowTest;

TEST_F(AccessWindowsTest, ModbusMasterLayoutFollowsTheWorkingMode)
{
    TFSetAccess w(nullptr);
    Topics({"a", "b"});
    Write("ModbusM_SetAccess.xml", Modbus_File(kRead_Row, kWrite_Row));
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        Mode(mode);
        const bool sync = mode == 0;
        Show<TFSetAccess>(w, [&](TFSetAccess& f) {
            EXPECT_EQ(f.Working_Mode, mode);
            EXPECT_EQ(f.TS_Modbus_Write->TabVisible(), !sync);
            EXPECT_EQ(f.PageControl1->ActivePage(), f.TS_Modbus_Read);
            EXPECT_EQ(f.ACG_Modbus_Read->IsHiddenColumn(8), sync);
            EXPECT_EQ(f.ACG_Modbus_Read->IsHiddenColumn(9), sync);
            EXPECT_EQ(f.ACG_Modbus_Read->IsHiddenColumn(12), !sync);
            // The topic list comes from the current topic file in both modes.
            EXPECT_EQ(f.List_Publish_Topic, (std::vector<String>{u"1 - a", u"2 - b"}));
            EXPECT_EQ(f.ACG_Modbus_Read->Cells(12, 1), u"2 - b");
            EXPECT_EQ(f.ComboItem_Topic[0], 1);
            EXPECT_EQ(f.ACG_Modbus_Read->Cells(8, 1), u"7");
            EXPECT_EQ(f.ACG_Modbus_Read->Columns()->GetItem(8)->ComboItems()->Count(), 1500);
            EXPECT_EQ(f.ACG_Modbus_Read->Columns()->GetItem(9)->ComboItems()->Count(), 8);
            EXPECT_EQ(f.ACG_Modbus_Read->Cells(0, 512), u"512");
            EXPECT_EQ(f.ACG_Modbus_Read->Cells(1, 2), u"Y");
            EXPECT_EQ(f.ACG_Modbus_Write->Cells(14, 1), u"w");
            f.Btn_Cancel->Click();
        });
    }
}

TEST_F(AccessWindowsTest, ModbusMasterSavesHiddenCellsBackAndLinksByMode)
{
    Topics({"a", "b"});
    Write("ModbusM_SetAccess.xml", Modbus_File(kRead_Row, kWrite_Row));
    TFSetAccess w(nullptr);
    // Synchronous: the hidden write rule (Slave ID 0) is not checked and goes back unchanged,
    // as do the hidden Position and Start Bit; the link is stored as the topic's index.
    Mode(0);
    Show<TFSetAccess>(w, [](TFSetAccess& f) { f.Btn_OK->Click(); });
    EXPECT_EQ(w.ModalResult(), plat::mrOk);
    EXPECT_EQ(Read("ModbusM_SetAccess.xml"),
              "<EtherNetIP_to_Modbus>\n  <Modbus_Read>\n    " + std::string(kRead_Row) +
                  "\n  </Modbus_Read>\n  <Modbus_Write>\n    " + kWrite_Row +
                  "\n  </Modbus_Write>\n</EtherNetIP_to_Modbus>\n<!--SW_VERSION = 1.114-->\n");
    // Asynchronous: the write page is checked, and Index_Topic is written empty.
    Mode(1);
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        f.ACG_Modbus_Write->SetCells(2, 1, u"5");
        f.Btn_OK->Click();
    });
    EXPECT_EQ(N(responder().MessageTexts().at(0)), "Error row 1!! [Modbus Write] Slave ID must be between 1 and 247");
    const std::string saved = Read("ModbusM_SetAccess.xml");
    EXPECT_NE(saved.find("Index_Topic=\"\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("Slave_ID=\"5\""), std::string::npos) << saved;
}

TEST_F(AccessWindowsTest, ModbusMasterTopicLinkIsByPosition)
{
    Mode(0);
    Write("ModbusM_SetAccess.xml", Modbus_File(kRead_Row, ""));
    TFSetAccess w(nullptr);
    // The second topic renamed: the rule shows what stands at its place now.
    Topics({"a", "x"});
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        EXPECT_EQ(f.ACG_Modbus_Read->Cells(12, 1), u"2 - x");
        f.Btn_Cancel->Click();
    });
    // Cut to one topic: an empty Topic, refused at OK.
    Topics({"a"});
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        EXPECT_EQ(f.ACG_Modbus_Read->Cells(12, 1), u"");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        // A pick in the list is remembered by the row (real column 12) and stored as its index.
        f.ACG_Modbus_Read->SetCells(12, 1, u"1 - a");
        f.ComboChange(12, 1, 0);
        EXPECT_EQ(f.ComboItem_Topic[0], 0);
        f.Btn_OK->Click();
    });
    EXPECT_EQ(N(responder().MessageTexts().at(0)), "Error row 1!! [Modbus Read] Select a Topic");
    EXPECT_NE(Read("ModbusM_SetAccess.xml").find("Index_Topic=\"0\""), std::string::npos);
}

TEST_F(AccessWindowsTest, UnreadableFileClearsTheTablesAndAsksBeforeOverwriting)
{
    Mode(1);
    Write("ModbusM_SetAccess.xml", Modbus_File(kRead_Row, ""));
    TFSetAccess w(nullptr);
    Show<TFSetAccess>(w, [](TFSetAccess& f) { f.Btn_Cancel->Click(); });
    EXPECT_EQ(w.ACG_Modbus_Read->Cells(2, 1), u"1");

    const struct {
        const char* name;
        std::string file;
        int answer;           // to the overwrite question
        const char* message;  // start of the error box shown at the show
        bool cleared;         // read row 1 empty after the show
    } cases[] = {
        {"cannot be parsed, No", "<EtherNetIP_to_Modbus><Modbus_Read>", plat::mrNo, "Error! The file cannot be read: ", true},
        {"cannot be parsed, Yes", "<EtherNetIP_to_Modbus><Modbus_Read>", plat::mrYes, "Error! The file cannot be read: ", true},
        {"row lacks an attribute, No",
         Modbus_File(std::string(kRead_Row) + "<row Enable=\"Y\"/>", ""), plat::mrNo, "Error! The reading stopped at row 2", false},
        {"missing write table, No",
         "<EtherNetIP_to_Modbus><Modbus_Read>" + std::string(kRead_Row) + "</Modbus_Read></EtherNetIP_to_Modbus>",
         plat::mrNo, "Error! The file cannot be read: ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write("ModbusM_SetAccess.xml", c.file);
        const std::size_t before = responder().MessageBoxes().size();
        responder().AnswerMessageBox(plat::mrOk);
        responder().AnswerMessageBox(c.answer);
        Show<TFSetAccess>(w, [&](TFSetAccess& f) {
            EXPECT_EQ(f.ACG_Modbus_Read->Cells(2, 1), c.cleared ? u"" : u"1");
            f.Btn_OK->Click();
            if (c.answer == plat::mrNo) {
                EXPECT_EQ(f.ModalResult(), plat::mrNone);
                f.Btn_Cancel->Click();
            }
        });
        const auto texts = responder().MessageTexts();
        ASSERT_EQ(texts.size(), before + 2);
        EXPECT_EQ(N(texts[before]).rfind(c.message, 0), 0u) << N(texts[before]);
        EXPECT_EQ(N(texts[before + 1]), N(Lang(1109)));
        if (c.answer == plat::mrNo)
            EXPECT_EQ(Read("ModbusM_SetAccess.xml"), c.file);
        else
            EXPECT_EQ(Read("ModbusM_SetAccess.xml"), "<EtherNetIP_to_Modbus>\n  <Modbus_Read />\n  <Modbus_Write />\n"
                                                     "</EtherNetIP_to_Modbus>\n<!--SW_VERSION = 1.114-->\n");
    }
}

TEST_F(AccessWindowsTest, EmptyKeyAsksBeforeDroppingTheRowsBelow)
{
    Mode(1);
    TFSetAccess w(nullptr);
    for (int answer : {plat::mrNo, plat::mrYes}) {
        SCOPED_TRACE(answer);
        fs::remove(dir_ / "ModbusM_SetAccess.xml");
        responder().AnswerMessageBox(answer);
        Show<TFSetAccess>(w, [&](TFSetAccess& f) {
            grid::TExtColumnGrid* g = f.ACG_Modbus_Read;
            const char16_t* rule[] = {u"Y", u"1", u"Holding Register", u"1", u"1", u"1000", u"0", u"0", u"0"};
            for (int c = 1; c <= 9; ++c) g->SetCells(c, 1, rule[c - 1]), g->SetCells(c, 3, rule[c - 1]);
            g->SetCells(2, 3, u"");  // row 3 keeps a rule without a Slave ID below the empty row 2
            g->SetCells(13, 3, u"kept?");
            f.Btn_OK->Click();
            if (answer == plat::mrNo) {
                EXPECT_EQ(f.ModalResult(), plat::mrNone);
                f.Btn_Cancel->Click();
            }
        });
        EXPECT_EQ(N(responder().MessageTexts().back()), N(Lang(1110)) + "2");
        const std::string saved = Read("ModbusM_SetAccess.xml");
        if (answer == plat::mrNo)
            EXPECT_EQ(saved, "");
        else
            EXPECT_EQ(saved.find("kept?"), std::string::npos) << saved;
    }
}

TEST_F(AccessWindowsTest, UnwritableFileShowsTheErrorAndKeepsTheWindowOpen)
{
    Mode(1);
    TFSetAccess w(nullptr);
    File_ModbusM_SetAccess = plat::Utf8ToString(dir_ / "gone/ModbusM_SetAccess.xml");
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        f.Btn_Cancel->Click();
    });
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);

    // A read-only configuration folder: the old file stays as it was.
    if (geteuid() == 0) GTEST_SKIP() << "a read-only folder does not stop root";
    fs::create_directory(dir_ / "ro");
    std::ofstream(dir_ / "ro/ModbusM_SetAccess.xml", std::ios::binary) << "old";
    fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    File_ModbusM_SetAccess = plat::Utf8ToString(dir_ / "ro/ModbusM_SetAccess.xml");
    responder().AnswerMessageBox(plat::mrOk);  // the file cannot be parsed
    responder().AnswerMessageBox(plat::mrYes); // overwrite it anyway
    responder().AnswerMessageBox(plat::mrOk);  // it cannot be written
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        f.Btn_Cancel->Click();
    });
    fs::permissions(dir_ / "ro", fs::perms::owner_all);
    EXPECT_EQ(Read("ro/ModbusM_SetAccess.xml"), "old");
}

TEST_F(AccessWindowsTest, ModbusTcpMasterResolvesHiddenTopicsAgainstTheCurrentFile)
{
    TFModbus_TCP_Master_Set_Access w(nullptr);
    // An earlier synchronous show of another configuration with one topic.
    Mode(0);
    Topics({"old"});
    Show<TFModbus_TCP_Master_Set_Access>(w, [](TFModbus_TCP_Master_Set_Access& f) {
        EXPECT_EQ(f.Table(0).Hints.size(), 15u);
        EXPECT_FALSE(f.ACG_Modbus_Read->IsHiddenColumn(14));
        EXPECT_TRUE(f.ACG_Modbus_Read->IsHiddenColumn(10));
        EXPECT_FALSE(f.TS_Modbus_Write->TabVisible());
        f.Btn_Cancel->Click();
    });
    // This configuration: asynchronous, two topics, a rule linked to the second.
    Mode(1);
    Topics({"p", "q"});
    const std::string file =
        "<PROFINET_Master_to_Modbus_TCP_Master>\n  <Modbus_Read>\n    <row Enable=\"Y\" IP_Address=\"192.168.1.125\" "
        "Port=\"502\" Slave_ID=\"1\" Type=\"Holding Register\" Address=\"0\" NPoint=\"1\" PollTime=\"100\" MaxError=\"0\" "
        "Position=\"0\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Index_Topic=\"1\" Mnemonic=\"\" />\n  </Modbus_Read>\n"
        "  <Modbus_Write />\n</PROFINET_Master_to_Modbus_TCP_Master>\n<!--SW_VERSION = 1.114-->\n";
    Write("ModbusTCPM_SetAccess.xml", file);
    Show<TFModbus_TCP_Master_Set_Access>(w, [](TFModbus_TCP_Master_Set_Access& f) {
        EXPECT_EQ(f.Table(0).Hints.size(), 14u);
        EXPECT_TRUE(f.ACG_Modbus_Read->IsHiddenColumn(14));
        EXPECT_EQ(f.ACG_Modbus_Read->Cells(14, 1), u"q");
        EXPECT_EQ(f.Btn_CopyRow->Caption(), u"Copy Row");
        f.Btn_OK->Click();
    });
    EXPECT_EQ(w.ModalResult(), plat::mrOk);
    EXPECT_EQ(Read("ModbusTCPM_SetAccess.xml"), file);
}

TEST_F(AccessWindowsTest, MqttAccessLoadsLinksAndSaves)
{
    Topics({"p0", "p1"}, {"s0"});
    Write("MQTT_Set_Access.xml",
          "<MQTT_Set_Access><MQTT_Publish>"
          "<row Enable=\"y\" Index_Topic=\"1\" DataType=\"float\" Dimension=\"8\" Position=\"0\" Template=\"$VALUE$\" Mnemonic=\"a\"/>"
          "<row Index_Topic=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"8\" Template=\"\" Mnemonic=\"\"/>"
          "</MQTT_Publish><MQTT_Subscribe>"
          "<row Enable=\"Y\" Index_Topic=\"5\" DataType=\"Int\" Dimension=\"2\" Position=\"8\" Template=\"\" Mnemonic=\"lost\"/>"
          "</MQTT_Subscribe></MQTT_Set_Access>");
    TFMQTT_Set_Access w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFMQTT_Set_Access>(w, [](TFMQTT_Set_Access& f) {
        EXPECT_EQ(f.ACG_Pub->Cells(2, 1), u"p1");
        EXPECT_EQ(f.ACG_Pub->Cells(1, 2), u"N");
        EXPECT_EQ(f.ACG_Pub->Cells(1, 3), u"Y");
        EXPECT_EQ(f.ACG_Sub->Cells(2, 1), u"");
        // The subscribe rule's topic is gone: refused instead of silently ending the table.
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        f.ACG_Sub->SetCells(2, 1, u"s0");
        f.Btn_OK->Click();
    });
    EXPECT_EQ(N(responder().MessageTexts().at(0)), "Error row 1!! [MQTT Subscribe] Select a Topic");
    EXPECT_EQ(Read("MQTT_Set_Access.xml"),
              "<MQTT_Set_Access>\n  <MQTT_Publish>\n"
              "    <row Enable=\"y\" Index_Topic=\"1\" DataType=\"float\" Dimension=\"8\" Position=\"0\" "
              "Template=\"$VALUE$\" Mnemonic=\"a\" />\n"
              "    <row Enable=\"N\" Index_Topic=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"8\" Template=\"\" "
              "Mnemonic=\"\" />\n  </MQTT_Publish>\n  <MQTT_Subscribe>\n"
              "    <row Enable=\"Y\" Index_Topic=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"8\" Template=\"\" "
              "Mnemonic=\"lost\" />\n  </MQTT_Subscribe>\n</MQTT_Set_Access>\n<!--SW_VERSION = 1.114-->\n");
}

// Clicks the middle of a cell given by its real column.
void Click_Cell(grid::TExtColumnGrid* g, int real, int row, bool twice = false)
{
    const plat::TRect r = g->CellRect(g->DisplColIndex(real), row);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    twice ? plat::testing::DoubleClick(g, x, y) : plat::testing::Click(g, x, y);
    plat::testing::ProcessEvents();
}

TEST_F(AccessWindowsTest, ModbusMasterRowButtonsActOnThePageInView)
{
    Mode(1);
    Write("ModbusM_SetAccess.xml", Modbus_File(kRead_Row, kWrite_Row));
    TFSetAccess w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);
    responder().AnswerMessageBox(plat::mrYes);
    Show<TFSetAccess>(w, [](TFSetAccess& f) {
        grid::TExtColumnGrid* r = f.ACG_Modbus_Read;
        grid::TExtColumnGrid* wr = f.ACG_Modbus_Write;
        // A click on the number column selects the row.
        Click_Cell(r, 0, 3);
        EXPECT_EQ(r->Selection().Top, 3);
        EXPECT_EQ(r->Selection().Bottom, 3);
        // Copied in the read table, refused in the write table.
        Click_Cell(r, 2, 1);
        f.Btn_CopyRow->Click();
        EXPECT_TRUE(f.Do_Copy_In_Read());
        f.PageControl1->SetActivePage(f.TS_Modbus_Write);
        Click_Cell(wr, 2, 1);
        f.Btn_PasteRow->Click();
        EXPECT_EQ(wr->Cells(2, 1), u"0");
        // Insert on the write page: an enabled empty row, the rule one row down.
        f.Btn_InsRow->Click();
        EXPECT_EQ(wr->Cells(1, 1), u"Y");
        EXPECT_EQ(wr->Cells(2, 1), u"");
        EXPECT_EQ(wr->Cells(14, 2), u"w");
        // Delete asks with the row number.
        f.Btn_DelRow->Click();
        EXPECT_EQ(wr->Cells(14, 1), u"w");
        f.Btn_Cancel->Click();
    });
    const auto texts = responder().MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(N(texts[0]), "Error!!! Copy a valid row before Paste it");
    EXPECT_EQ(N(texts[1]), "Are you sure to delete the Row number 1");
    // Header hints by real column; the Topic hint stays at its column while Topic is hidden.
    EXPECT_EQ(w.Table(0).Hints.size(), 13u);
    EXPECT_EQ(N(w.Table(0).Hints[10]), "Enable or Disable the Swap Word of Data");
    EXPECT_EQ(N(w.Table(0).Hints[11]), "Select the Topic from the List");
}

TEST_F(AccessWindowsTest, MqttAccessTemplateDoubleClickAndInsertWithoutEnable)
{
    TFTopicTemplate editor(nullptr);
    TFMQTT_Set_Access w(nullptr);
    Show<TFMQTT_Set_Access>(w, [this](TFMQTT_Set_Access& f) {
        responder().ScriptModal<TFTopicTemplate>([](TFTopicTemplate& t) {
            EXPECT_EQ(t.TopicTemplate, 1);
            EXPECT_EQ(t.RE_TopicTemplate->Text(), u"");
            t.RE_TopicTemplate->SetText(u"{\"v\":$VALUE$}");
            t.SetModalResult(plat::mrOk);
        });
        Click_Cell(f.ACG_Pub, 6, 2, true);
        EXPECT_EQ(f.ACG_Pub->Cells(6, 2), u"{\"v\":$VALUE$}");
        Click_Cell(f.ACG_Pub, 2, 1);
        f.Btn_InsRow->Click();
        EXPECT_EQ(f.ACG_Pub->Cells(1, 1), u"");
        EXPECT_EQ(f.ACG_Pub->Cells(6, 3), u"{\"v\":$VALUE$}");
        f.Btn_Cancel->Click();
    });
}

TEST_F(AccessWindowsTest, InertEthernetWindowHoldsItsTwoTables)
{
    TFMQTT_SetAccess_Eth w(nullptr);
    EXPECT_EQ(w.ACG_Pub->RowCount(), 1025);
    EXPECT_EQ(w.ACG_Sub->RowCount(), 1025);
    EXPECT_EQ(w.ACG_Pub->ColCount(), 7);
    EXPECT_EQ(w.ACG_Sub->ColCount(), 9);
    EXPECT_EQ(w.ACG_Sub->Columns()->GetItem(7)->Header(), u"Ethernet Data Form");
    EXPECT_EQ(w.ACG_Pub->Cells(0, 1024), u"1024");
}

// Pictures of each window in both working modes, for a look by eye; written to
// TEST_PICTURES when it is set.
TEST_F(AccessWindowsTest, Pictures)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    Topics({"plant/temp", "plant/press"}, {"plant/cmd"});
    Write("ModbusM_SetAccess.xml", Modbus_File(std::string(kRead_Row) + kRead_Row, kWrite_Row));
    Write("MQTT_Set_Access.xml",
          "<MQTT_Set_Access><MQTT_Publish>"
          "<row Enable=\"Y\" Index_Topic=\"1\" DataType=\"Float\" Dimension=\"4\" Position=\"0\" Template=\"$VALUE$\" Mnemonic=\"a\"/>"
          "<row Enable=\"N\" Index_Topic=\"0\" DataType=\"Int\" Dimension=\"2\" Position=\"8\" Template=\"\" Mnemonic=\"\"/>"
          "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Access>");
    Write("ModbusTCPM_SetAccess.xml",
          "<PROFINET_Master_to_Modbus_TCP_Master><Modbus_Read><row Enable=\"Y\" IP_Address=\"192.168.1.125\" Port=\"502\" "
          "Slave_ID=\"1\" Type=\"Coil Status\" Address=\"0\" NPoint=\"8\" PollTime=\"1000\" MaxError=\"0\" Position=\"3\" "
          "Bit=\"2\" Swap=\"Y\" SwapWord=\"N\" Index_Topic=\"0\" Mnemonic=\"tcp\"/></Modbus_Read><Modbus_Write/>"
          "</PROFINET_Master_to_Modbus_TCP_Master>");
    auto grab = [&](plat::TForm& f, const std::string& name) {
        plat::testing::SaveGrab(&f, plat::Utf8ToString(dir + name + ".png"));
    };
    for (int mode : {0, 1}) {
        Mode(mode);
        const std::string m = mode == 0 ? "-sync" : "-async";
        TFSetAccess a(nullptr);
        Show<TFSetAccess>(a, [&](TFSetAccess& f) {
            grab(f, "setaccess-read" + m);
            if (mode != 0) {
                f.PageControl1->SetActivePage(f.TS_Modbus_Write);
                grab(f, "setaccess-write" + m);
            }
            f.Btn_Cancel->Click();
        });
        TFModbus_TCP_Master_Set_Access t(nullptr);
        Show<TFModbus_TCP_Master_Set_Access>(t, [&](TFModbus_TCP_Master_Set_Access& f) {
            grab(f, "tcpmaster-read" + m);
            f.Btn_Cancel->Click();
        });
        TFMQTT_Set_Access q(nullptr);
        Show<TFMQTT_Set_Access>(q, [&](TFMQTT_Set_Access& f) {
            grab(f, "mqttaccess" + m);
            f.Btn_Cancel->Click();
        });
    }
    TFMQTT_SetAccess_Eth e(nullptr);
    e.Show();
    grab(e, "mqttaccess-eth");
    e.Hide();
}

} // namespace
