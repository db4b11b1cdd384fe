// The CANopen PDO editor: checks with their exact messages, the file with both table
// elements, a row lacking an attribute loaded whole with that cell empty, and the window
// driven as a user would, its files checked by xmllint.
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UPDORules.h"
#include "USet_PDO_Access.h"
#include "plat/Classes.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

using plat::String;
namespace pt = plat::testing;
using namespace pdorules;

namespace {

std::string N(const String& s) { return plat::StringToUtf8(s); }

using TCells = std::vector<const char16_t*>;

TRule_Rows Rows_Of(int cols, std::initializer_list<TCells> rows)
{
    TRule_Rows out = Empty_Rule_Rows(Rows, cols);
    int r = 0;
    for (const TCells& cells : rows) {
        for (std::size_t c = 0; c < cells.size(); ++c) out[r][c + 1] = cells[c];
        ++r;
    }
    return out;
}

std::string Shell(const std::string& command)
{
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    ::pclose(p);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

class PDORulesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
    testsupport::TempDir dir_;
};

TEST_F(PDORulesTest, ChecksReceiveFirstWithTheirMessages)
{
    // COB-ID, Dimension, Add B1..B8, TimeOut / Send Time, Mnemonic / On Change, Mnemonic
    const TCells ok_r = {u"0x181", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"0"};
    const TCells ok_t = {u"0x201", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"0", u"N"};
    const struct {
        const char* what;
        std::initializer_list<TCells> receive, transmit;
        const char* message;
    } cases[] = {
        {"hexadecimal COB-ID passes", {{u"0x7FF", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"0"}}, {ok_t}, ""},
        {"COB-ID 2048", {{u"2048", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"0"}}, {},
         "Error row 1!! [Receive PDO] COB-ID must be between 0x000 and 0x7FF"},
        {"dimension 9", {{u"1", u"9"}}, {}, "Error row 1!! [Receive PDO] Dimension must be between 1 and 8"},
        {"address 3 empty within the dimension", {{u"1", u"3", u"0", u"1", u"", u"", u"", u"", u"", u"", u"0"}}, {},
         "Error row 1!! [Receive PDO] Address Byte3 must be between 0 and 1439"},
        {"address 4 empty beyond the dimension", {{u"1", u"3", u"0", u"1", u"2", u"", u"", u"", u"", u"", u"0"}},
         {}, ""},
        {"address None is no number", {{u"1", u"1", u"None", u"", u"", u"", u"", u"", u"", u"", u"0"}}, {},
         "Error row 1!! [Receive PDO] Address Byte1 must be between 0 and 1439"},
        {"time-out 65536", {{u"1", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"65536"}}, {},
         "Error row 1!! [Receive PDO] TimeOut must be between 0 and 65535"},
        {"send time at the limit", {ok_r}, {{u"1", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"100000000"}}, ""},
        {"send time above", {ok_r}, {{u"1", u"1", u"0", u"", u"", u"", u"", u"", u"", u"", u"100000001"}},
         "Error row 1!! [Transmit PDO] Send Time must be between 0 and 100000000"},
        {"transmit reported only after every receive row passed",
         {ok_r, {u"5", u"0"}}, {{u"4096"}}, "Error row 2!! [Receive PDO] Dimension must be between 1 and 8"},
        {"transmit row 2", {ok_r}, {ok_t, {u"1", u"2", u"1440"}},
         "Error row 2!! [Transmit PDO] Address Byte1 must be between 0 and 1439"},
        {"a row after the first empty COB-ID is not checked", {ok_r, {u" "}, {u"99999"}}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_PDO(Rows_Of(R_Cols, c.receive), Rows_Of(T_Cols, c.transmit), NByte, NByte)), c.message);
    }
}

TEST_F(PDORulesTest, FileAlwaysHoldsBothTables)
{
    plat::TXMLDocument doc;
    Fill_PDO(doc, Empty_Rule_Rows(Rows, R_Cols), Empty_Rule_Rows(Rows, T_Cols));
    EXPECT_EQ(N(doc.XML()),
              "<PDO_CANopen>\n  <Receive_PDO />\n  <Transmit_PDO />\n</PDO_CANopen>\n<!--SW_VERSION = 1.001-->\n");
    TRule_Rows t = Rows_Of(T_Cols, {{u"0x201", u"1", u"7", u"", u"", u"", u"", u"", u"", u"x", u"10", u"Y", u"m"}});
    Fill_PDO(doc, Empty_Rule_Rows(Rows, R_Cols), t);
    EXPECT_EQ(N(doc.XML()),
              "<PDO_CANopen>\n  <Receive_PDO />\n  <Transmit_PDO>\n"
              "    <row COB-ID=\"0x201\" Dimension=\"1\" Address_B1=\"7\" Address_B2=\"\" Address_B3=\"\" "
              "Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"x\" Send_Time=\"10\" "
              "On_Change=\"Y\" Mnemonic=\"m\" />\n"
              "  </Transmit_PDO>\n</PDO_CANopen>\n<!--SW_VERSION = 1.001-->\n");
}

// A hand-edited file: a row lacking an attribute no longer cuts the later rows off.
TEST_F(PDORulesTest, ReadingLoadsEveryRowAndRecordsWhatItLacked)
{
    const String file = dir_ / u"PDO_CANopen.xml";
    std::ofstream(N(file)) << "<PDO_CANopen><Receive_PDO>"
                              "<row COB-ID=\"1\" Dimension=\"1\" Address_B1=\"0\" Address_B2=\"\" Address_B3=\"\" "
                              "Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" "
                              "TimeOut=\"0\" Mnemonic=\"a\"/>"
                              "<row COB-ID=\"2\" Dimension=\"1\" Mnemonic=\"b\"/>"
                              "<row COB-ID=\"3\" Mnemonic=\"c\"/>"
                              "</Receive_PDO></PDO_CANopen>";
    TRule_Rows r, t;
    TRule_Load load;
    Read_PDO(file, r, t, load);
    EXPECT_EQ(N(r[2][C_CobID]), "3");
    EXPECT_EQ(N(r[2][R_Mnemonic]), "c");
    EXPECT_EQ(N(r[1][R_TimeOut]), "");
    EXPECT_EQ(load.Missing_Row, 2);
    EXPECT_EQ(N(load.Missing_Attribute), "Address_B1");
    EXPECT_EQ(N(load.Missing_Table), "Transmit_PDO");
    EXPECT_EQ(t[0][C_CobID], u"");
}

class PDOWindowTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        File_PDO_CANopen = dir_ / u"PDO_CANopen.xml";
    }
    void TearDown() override
    {
        File_PDO_CANopen = u"/PDO_CANopen.xml";
        pt::UiTest::TearDown();
    }
    void Show(TFSet_PDO_Access& w, std::function<void(TFSet_PDO_Access&)> script)
    {
        responder().ScriptModal<TFSet_PDO_Access>(std::move(script));
        w.ShowModal();
    }
    std::string XPath(const std::string& path) const
    {
        return Shell("xmllint --xpath '" + path + "' '" + N(File_PDO_CANopen) + "' 2>&1");
    }
    testsupport::TempDir dir_;
};

void Click_Cell(grid::TExtColumnGrid* g, int real, int row)
{
    g->ScrollInView(g->DisplColIndex(real), row);
    const plat::TRect r = g->CellRect(g->DisplColIndex(real), row);
    pt::Click(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::ProcessEvents();
}

void Type_Into(grid::TExtColumnGrid* g, int real, int row, const String& text)
{
    Click_Cell(g, real, row);
    pt::Type(text);
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
}

void Show_Page(TFSet_PDO_Access& f, plat::TTabSheet* page)
{
    const plat::TRect r = f.PageControl1->TabRect(page->PageIndex());
    pt::Click(f.PageControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::ProcessEvents();
}

TEST_F(PDOWindowTest, LayoutAndTexts)
{
    TFSet_PDO_Access w(nullptr);
    EXPECT_EQ(w.ClientWidth(), 798);
    EXPECT_EQ(w.ClientHeight(), 337);
    EXPECT_EQ(w.sga->RowCount(), 31);
    EXPECT_EQ(w.sgb->ColCount(), 14);
    EXPECT_EQ(w.sga->DefaultRowHeight(), 21);
    EXPECT_EQ(w.TS_Receive_PDO->Caption(), u"Receive PDO");
    EXPECT_EQ(w.TS_Transmit_PDO->Caption(), u"Transmit PDO");
    EXPECT_EQ(w.sga->Columns()->GetItem(10)->Header(), u"Add B8");
    EXPECT_EQ(w.sgb->Columns()->GetItem(11)->Header(), u"Send Time");
    grid::TGridColumnItem* change = w.sgb->Columns()->GetItem(12);
    EXPECT_EQ(change->Editor(), grid::edDataCheckBox);
    EXPECT_EQ(change->Alignment(), plat::taCenter);
    EXPECT_EQ(change->Color(), 0xA8FFA8);
    EXPECT_EQ(w.sga->Columns()->GetItem(12)->Width(), 173);
    EXPECT_EQ(w.Table(0).Hints.size(), 12u);
    EXPECT_EQ(w.Table(1).Hints.size(), 13u);
}

TEST_F(PDOWindowTest, DrivenThroughTheWindow)
{
    TFSet_PDO_Access w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);   // paste refused on the other page
    responder().AnswerMessageBox(plat::mrYes);  // delete row 1 of the transmit page
    responder().AnswerMessageBox(plat::mrOk);   // the address fault
    Show(w, [](TFSet_PDO_Access& f) {
        EXPECT_EQ(f.PageControl1->ActivePage(), f.TS_Receive_PDO);
        grid::TExtColumnGrid* a = f.sga;
        Type_Into(a, 1, 1, u"0x181");
        Type_Into(a, 2, 1, u"2");
        Type_Into(a, 3, 1, u"0");
        Type_Into(a, 11, 1, u"100");
        // Number column click selects the row.
        Click_Cell(a, 0, 1);
        EXPECT_EQ(a->Selection().Top, 1);
        EXPECT_EQ(a->Selection().Bottom, 1);
        f.Btn_CopyRow->Click();
        EXPECT_TRUE(f.Do_Copy_Receive_PDO());
        Show_Page(f, f.TS_Transmit_PDO);
        grid::TExtColumnGrid* b = f.sgb;
        Click_Cell(b, 1, 1);
        f.Btn_PasteRow->Click();
        EXPECT_EQ(b->Cells(1, 1), u"");
        Type_Into(b, 1, 1, u"0x201");
        Type_Into(b, 1, 2, u"0x202");
        Type_Into(b, 2, 2, u"1");
        Type_Into(b, 3, 2, u"5");
        Type_Into(b, 11, 2, u"1000");
        Click_Cell(b, 12, 2);
        EXPECT_EQ(b->Cells(12, 2), u"Y");
        Click_Cell(b, 1, 1);
        f.Btn_DelRowClick();
        EXPECT_EQ(b->Cells(1, 1), u"0x202");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        Show_Page(f, f.TS_Receive_PDO);
        Type_Into(a, 4, 1, u"1");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    const auto texts = responder().MessageTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(N(texts[0]), "Error!!! Copy a valid row before Paste it");
    EXPECT_EQ(N(texts[1]), "Are you sure to delete the Row number 1");
    EXPECT_EQ(N(texts[2]), "Error row 1!! [Receive PDO] Address Byte2 must be between 0 and 1439");

    EXPECT_EQ(Shell("xmllint --noout '" + N(File_PDO_CANopen) + "' 2>&1"), "");
    const struct {
        const char* path;
        const char* value;
    } xpaths[] = {
        {"name(/*)", "PDO_CANopen"},
        {"string(/comment())", "SW_VERSION = 1.001"},
        {"name(/PDO_CANopen/*[1])", "Receive_PDO"},
        {"name(/PDO_CANopen/*[2])", "Transmit_PDO"},
        {"count(/PDO_CANopen/*)", "2"},
        {"count(/PDO_CANopen/Receive_PDO/row)", "1"},
        {"count(/PDO_CANopen/Transmit_PDO/row)", "1"},
        {"name(/PDO_CANopen/Receive_PDO/row/@*[11])", "TimeOut"},
        {"count(/PDO_CANopen/Receive_PDO/row/@*)", "12"},
        {"name(/PDO_CANopen/Transmit_PDO/row/@*[12])", "On_Change"},
        {"string(/PDO_CANopen/Transmit_PDO/row/@On_Change)", "Y"},
        {"string(/PDO_CANopen/Transmit_PDO/row/@Address_B1)", "5"},
        {"string(/PDO_CANopen/Receive_PDO/row/@Address_B2)", "1"},
    };
    for (const auto& x : xpaths) EXPECT_EQ(XPath(x.path), x.value) << x.path;

    Show(w, [](TFSet_PDO_Access& f) {
        EXPECT_EQ(f.sga->Cells(1, 1), u"0x181");
        EXPECT_EQ(f.sga->Cells(11, 1), u"100");
        EXPECT_EQ(f.sgb->Cells(1, 1), u"0x202");
        EXPECT_EQ(f.sgb->Cells(12, 1), u"Y");
        EXPECT_EQ(f.sgb->Cells(1, 2), u"");
        f.Btn_Cancel->Click();
    });
}

TEST_F(PDOWindowTest, HandEditedFileIsReportedAndLoadedWhole)
{
    std::ofstream(N(File_PDO_CANopen)) << "<PDO_CANopen><Receive_PDO><row COB-ID=\"1\"/><row COB-ID=\"2\"/>"
                                          "</Receive_PDO><Transmit_PDO/></PDO_CANopen>";
    TFSet_PDO_Access w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);
    Show(w, [](TFSet_PDO_Access& f) {
        EXPECT_EQ(f.sga->Cells(1, 2), u"2");
        f.Btn_Cancel->Click();
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(N(responder().MessageTexts()[0]),
              "Error! The file " + N(File_PDO_CANopen) +
                  " was not read as it is:\r\nrow 1 lacks the attribute \"Dimension\": every row lacking it is "
                  "loaded with that cell empty.");
}

TEST_F(PDOWindowTest, Picture)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    std::ofstream(N(File_PDO_CANopen))
        << "<PDO_CANopen><Receive_PDO><row COB-ID=\"0x181\" Dimension=\"2\" Address_B1=\"0\" Address_B2=\"1\" "
           "Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" Address_B7=\"\" Address_B8=\"\" "
           "TimeOut=\"100\" Mnemonic=\"speed\"/></Receive_PDO><Transmit_PDO><row COB-ID=\"0x201\" Dimension=\"1\" "
           "Address_B1=\"5\" Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Address_B5=\"\" Address_B6=\"\" "
           "Address_B7=\"\" Address_B8=\"\" Send_Time=\"1000\" On_Change=\"Y\" Mnemonic=\"set\"/></Transmit_PDO>"
           "</PDO_CANopen>";
    TFSet_PDO_Access w(nullptr);
    Show(w, [&](TFSet_PDO_Access& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "pdo-receive.png"));
        f.PageControl1->SetActivePage(f.TS_Transmit_PDO);
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "pdo-transmit.png"));
        f.Btn_Cancel->Click();
    });
}

} // namespace
