// The CAN frame editors: the rules without a window (checks with their exact messages, the
// defaults older files take, the files written), then both windows driven as a user would,
// with the files checked by xmllint, and what a faulty or unwritable file does.
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <sstream>

#include <gtest/gtest.h>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UCANRules.h"
#include "UComon.h"
#include "ULanguage.h"
#include "UReceiveCAN.h"
#include "UTransmitCAN.h"
#include "plat/Classes.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

using plat::String;
namespace pt = plat::testing;
namespace fs = std::filesystem;
using namespace canrules;

namespace {

std::string N(const String& s) { return plat::StringToUtf8(s); }

// Cells of one row by real column, from column 1.
using TCells = std::vector<const char16_t*>;

TRule_Rows Rows_Of(int cols, std::initializer_list<TCells> rows)
{
    TRule_Rows out = Cleared(cols);
    int r = 0;
    for (const TCells& cells : rows) {
        for (std::size_t c = 0; c < cells.size(); ++c) out[r][c + 1] = cells[c];
        ++r;
    }
    return out;
}

class CANRulesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
};

TEST_F(CANRulesTest, ReceiveChecksStopAtTheFirstFaultOfAnEnabledRule)
{
    // Enable, CobID, Type, Dim, TimeOut, Byte1..Byte8, Mnemonic
    const struct {
        const char* what;
        std::initializer_list<TCells> rows;
        const char* message;  // "" passes
    } cases[] = {
        {"2.0A above 2047", {{u"Y", u"2048", Type_A, u"1", u"0"}}, "Error row 1!! CobID must be between 0 and 2047"},
        {"2.0B takes 2048", {{u"Y", u"2048", Type_B, u"1", u"0"}}, ""},
        {"2.0A in hexadecimal", {{u"Y", u"0x7FF", Type_A, u"1", u"0"}}, ""},
        {"2.0A with leading blanks", {{u"Y", u" 2047", Type_A, u"1", u"0"}}, ""},
        {"trailing blank is no number", {{u"Y", u"2047 ", Type_A, u"1", u"0"}},
         "Error row 1!! CobID must be between 0 and 2047"},
        {"2.0B above 0x1FFFFFFF", {{u"Y", u"0x20000000", Type_B, u"1", u"0"}},
         "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {"empty type counts as 2.0B", {{u"Y", u"$1FFFFFFF", u"", u"1", u"0"}}, ""},
        {"a CobID beyond 64 bits never wraps", {{u"Y", u"18446744073709551617", Type_B, u"1", u"0"}},
         "Error row 1!! CobID must be between 0x00000000 and 0x1FFFFFFF"},
        {"dimension 0", {{u"Y", u"1", Type_A, u"0", u"0"}}, "Error row 1!! Dimension must be between 1 and 8"},
        {"dimension 9", {{u"Y", u"1", Type_A, u"9", u"0"}}, "Error row 1!! Dimension must be between 1 and 8"},
        {"time-out", {{u"Y", u"1", Type_A, u"1", u"100000001"}},
         "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
        {"empty time-out", {{u"Y", u"1", Type_A, u"1", u""}},
         "Error row 1!! TimeOut must be between 0 and 100000000 milliseconds"},
        {"byte 2 of row 3",
         {{u"Y", u"1", Type_A, u"1", u"0"},
          {u"Y", u"2", Type_A, u"1", u"0"},
          {u"Y", u"3", Type_A, u"2", u"0", u"0", u"1440"}},
         "Error row 3!! Byte2 must be between 0 and 1439 or None"},
        {"byte 8", {{u"Y", u"1", Type_A, u"8", u"0", u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"-1"}},
         "Error row 1!! Byte8 must be between 0 and 1439 or None"},
        {"bytes beyond the dimension are free", {{u"Y", u"1", Type_A, u"2", u"0", u"0", u"1", u"5000"}}, ""},
        {"None and empty pass anywhere", {{u"Y", u"1", Type_A, u"3", u"0", u"None", u"", u" None "}}, ""},
        {"a disabled rule is not checked", {{u"N", u"99999", Type_A, u"0", u"x"}}, ""},
        {"enable read trimmed and case-blind", {{u" y ", u"2048", Type_A, u"1", u"0"}},
         "Error row 1!! CobID must be between 0 and 2047"},
        {"a row after the first empty CobID is neither checked",
         {{u"Y", u"1", Type_A, u"1", u"0"}, {u"Y", u"  "}, {u"Y", u"99999", Type_A, u"0"}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Receive(Rows_Of(R_Cols, c.rows), Max_Byte)), c.message);
    }
}

TEST_F(CANRulesTest, TransmitChecksTimeOnlyOnTimer)
{
    // Enable, CobID, Type, Dim, OnChange, OnCMD, OnTimer, Time, Byte1..Byte8, Mnemonic
    const struct {
        const char* what;
        std::initializer_list<TCells> rows;
        const char* message;
    } cases[] = {
        {"no timer: any time text", {{u"Y", u"1", Type_A, u"1", u"Y", u"N", u"N", u"abc"}}, ""},
        {"timer: time above the limit", {{u"Y", u"1", Type_A, u"1", u"N", u"N", u"Y", u"100000001"}},
         "Error row 1!! Time must be between 0 and 100000000 milliseconds"},
        {"timer: time at the limit", {{u"Y", u"1", Type_A, u"1", u"N", u"N", u"Y", u"100000000"}}, ""},
        {"2.0A", {{u"Y", u"2048", Type_A, u"1"}}, "Error row 1!! CobID must be between 0 and 2047"},
        {"byte 1", {{u"Y", u"1", Type_A, u"1", u"Y", u"N", u"N", u"", u"1440"}},
         "Error row 1!! Byte1 must be between 0 and 1439 or None"},
        {"dimension", {{u"Y", u"1", Type_B, u""}}, "Error row 1!! Dimension must be between 1 and 8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Transmit(Rows_Of(T_Cols, c.rows), Max_Byte)), c.message);
    }
}

class CANFileTest : public CANRulesTest {
protected:
    String Write(const std::string& text)
    {
        const String file = dir_ / u"frames.xml";
        std::ofstream(N(file), std::ios::binary) << text;
        return file;
    }
    testsupport::TempDir dir_;
};

std::string Cells(const TRule_Rows& rows, int row, int from, int to)
{
    std::string out;
    for (int c = from; c <= to; ++c) out += (c > from ? "," : "") + N(rows[row][c]);
    return out;
}

TEST_F(CANFileTest, OlderFilesTakeTheReadersDefaults)
{
    TRule_Rows rows;
    TRule_Load load;
    Read_Receive(Write("<Receive_Frames><row COBID=\"5\"/><row Enable=\"N\" TimeOut=\"7\" Byte8=\"None\"/>"
                       "</Receive_Frames><!--SW_VERSION = 1.002-->"),
                 rows, load);
    EXPECT_TRUE(load.Whole());
    EXPECT_EQ(Cells(rows, 0, 1, 14), "Y,5,,,0,,,,,,,,,");
    EXPECT_EQ(Cells(rows, 1, 1, 14), "N,,,,7,,,,,,,,None,");
    EXPECT_EQ(Cells(rows, 2, 1, 14), "Y,,,,,,,,,,,,,") << "the rows after the file's stay reset";

    const struct {
        const char* what;
        TTransmit_Defaults defaults;
        const char* row;
        const char* cells;  // Type, OnChange, OnCMD, OnTimer, Time
    } cases[] = {
        {"no event attributes", {}, "<row COBID=\"1\"/>", "2.0A (11 bits),Y,N,N,"},
        {"timer from the file, no time", {}, "<row OnTimer=\"Y\"/>", "2.0A (11 bits),Y,N,Y,0"},
        {"everything given", {}, "<row CAN_Type=\"x\" OnChange=\"N\" OnCMD=\"Y\" OnTimer=\"N\" Time=\"9\"/>",
         "x,N,Y,N,9"},
        {"29-bit default", {1, 0, 0}, "<row/>", "2.0B (29 bits),Y,N,N,"},
        {"send type 1", {0, 1, 250}, "<row/>", "2.0A (11 bits),N,N,Y,250"},
        {"send type 2", {0, 2, 250}, "<row/>", "2.0A (11 bits),N,N,N,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TRule_Load tl;
        Read_Transmit(Write(std::string("<Transmit_Frames>") + c.row + "</Transmit_Frames>"), c.defaults, rows, tl);
        EXPECT_TRUE(tl.Whole());
        EXPECT_EQ(Cells(rows, 0, T_Type, T_Type) + "," + Cells(rows, 0, T_OnChange, T_Time), c.cells);
    }
}

TEST_F(CANFileTest, MoreRowsThanTheTableAreCountedNeverWritten)
{
    std::string xml = "<Receive_Frames>";
    for (int i = 0; i < Rows + 3; ++i) xml += "<row COBID=\"" + std::to_string(i) + "\"/>";
    TRule_Rows rows;
    TRule_Load load;
    Read_Receive(Write(xml + "</Receive_Frames>"), rows, load);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(Rows));
    EXPECT_EQ(N(rows[Rows - 1][R_CobID]), "511");
    EXPECT_EQ(load.Rows_Left_Out, 3);
}

TEST_F(CANFileTest, WritingKeepsTheLayoutAndStopsAtTheFirstEmptyCobID)
{
    plat::TXMLDocument doc;
    Fill_Receive(doc, Cleared(R_Cols));
    EXPECT_EQ(N(doc.XML()), "<Receive_Frames />\n<!--SW_VERSION = 1.002-->\n");

    TRule_Rows t = Rows_Of(T_Cols, {{u"N", u"0x10", Type_B, u"2", u"Y", u"N", u"Y", u"100", u"None", u"3"},
                                    {u"Y", u""},
                                    {u"Y", u"7"}});
    t[0][T_Mnemonic] = u"a<b";
    Fill_Transmit(doc, t);
    EXPECT_EQ(N(doc.XML()),
              "<Transmit_Frames>\n"
              "  <row Enable=\"N\" COBID=\"0x10\" CAN_Type=\"2.0B (29 bits)\" Dim=\"2\" OnChange=\"Y\" OnCMD=\"N\" "
              "OnTimer=\"Y\" Time=\"100\" Byte1=\"None\" Byte2=\"3\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" "
              "Byte7=\"\" Byte8=\"\" Mnemonic=\"a&lt;b\" />\n"
              "</Transmit_Frames>\n<!--SW_VERSION = 1.002-->\n");
}

// ---- the windows -------------------------------------------------------------------------

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

class CANWindowTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        File_CAN_Rec_Frames = dir_ / u"CAN_Rec_Frames.xml";
        File_CAN_Send_Frames = dir_ / u"CAN_Send_Frames.xml";
    }
    void TearDown() override
    {
        File_CAN_Rec_Frames = u"/CAN_Rec_Frames.xml";
        File_CAN_Send_Frames = u"/CAN_Send_Frames.xml";
        pt::UiTest::TearDown();
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
    template <class T>
    void Show(T& w, std::function<void(T&)> script)
    {
        responder().ScriptModal<T>(std::move(script));
        w.ShowModal();
    }
    std::string XPath(const std::string& name, const std::string& path) const
    {
        return Shell("xmllint --xpath '" + path + "' '" + (dir_ / name) + "' 2>&1");
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

const char* kReceive_File =
    "<Receive_Frames>\n"
    "  <row Enable=\"Y\" COBID=\"0x181\" CAN_Type=\"2.0A (11 bits)\" Dim=\"2\" TimeOut=\"500\" Byte1=\"0\" "
    "Byte2=\"1\" Byte3=\"None\" Byte4=\"None\" Byte5=\"None\" Byte6=\"None\" Byte7=\"None\" Byte8=\"None\" "
    "Mnemonic=\"speed\" />\n"
    "  <row Enable=\"N\" COBID=\"0x182\" CAN_Type=\"2.0B (29 bits)\" Dim=\"1\" TimeOut=\"0\" Byte1=\"2\" "
    "Byte2=\"\" Byte3=\"\" Byte4=\"\" Byte5=\"\" Byte6=\"\" Byte7=\"\" Byte8=\"\" Mnemonic=\"torque\" />\n"
    "</Receive_Frames>\n<!--SW_VERSION = 1.002-->\n";

TEST_F(CANWindowTest, WindowsHaveTheirLayout)
{
    TFReceiveCAN r(nullptr);
    TFTransmitCAN t(nullptr);
    EXPECT_EQ(r.ClientWidth(), 1010);
    EXPECT_EQ(t.ClientWidth(), 1100);
    EXPECT_EQ(r.Caption(), u"Receive Frames");
    EXPECT_EQ(t.Caption(), u"Send Frames");
    struct Col {
        int col;
        const char16_t* header;
        int width;
        grid::TEditorType editor;
        plat::TColor color;
        bool centred;
    };
    const Col receive[] = {
        {0, u"N", 40, grid::edNormal, plat::clWindow, false},
        {1, u"Enable", 50, grid::edDataCheckBox, 0xB0D8FF, true},
        {2, u"CobID", 90, grid::edNormal, 0xFEFAE0, false},
        {3, u"Type", 90, grid::edComboList, 0xFEFAE0, false},
        {5, u"TimeOut", 75, grid::edNormal, 0xA8FFA8, false},
        {13, u"Byte8", 48, grid::edComboList, 0xF4D6FC, false},
        {14, u"Mnemonic", 185, grid::edNormal, plat::clWindow, false},
    };
    const Col transmit[] = {
        {6, u"OnCMD", 50, grid::edDataCheckBox, 0xA8FFA8, true},
        {8, u"Time", 70, grid::edNormal, 0xA8FFA8, false},
        {9, u"Byte1", 48, grid::edComboList, 0xF4D6FC, false},
        {17, u"Mnemonic", 110, grid::edNormal, plat::clWindow, false},
    };
    const auto check = [](grid::TExtColumnGrid* g, std::span<const Col> cols) {
        EXPECT_EQ(g->RowCount(), 513);
        EXPECT_EQ(g->DefaultRowHeight(), 22);
        for (const Col& c : cols) {
            SCOPED_TRACE(N(c.header));
            grid::TGridColumnItem* item = g->Columns()->GetItem(c.col);
            EXPECT_EQ(item->Header(), c.header);
            EXPECT_EQ(item->Width(), c.width);
            EXPECT_EQ(item->Editor(), c.editor);
            EXPECT_EQ(item->Color(), c.color);
            EXPECT_EQ(item->Alignment() == plat::taCenter, c.centred);
        }
    };
    check(r.ACG_CAN_Receive, receive);
    check(t.ACG_CAN_Transmit, transmit);
    EXPECT_EQ(r.ACG_CAN_Receive->Columns()->GetItem(3)->ComboItems()->Count(), 2);
    EXPECT_EQ(r.Table(0).Hints.size(), 14u);
    EXPECT_EQ(t.Table(0).Hints.size(), 17u);
    EXPECT_EQ(r.Btn_PasteRow->Left(), 606);
    EXPECT_EQ(r.Btn_Cancel->Caption(), u"Cancel") << "the design caption while its text is blank";

    // Texts follow the language, column headers and hints included.
    Apply_Language_Line(u"STR2110 = Kennung");
    Apply_Language_Line(u"STR2130 = Die Kennung");
    Apply_Language_Line(u"STR2100 = Empfang");
    r.Set_Lang();
    EXPECT_EQ(r.Caption(), u"Empfang");
    EXPECT_EQ(r.ACG_CAN_Receive->Columns()->GetItem(2)->Header(), u"Kennung");
    EXPECT_EQ(r.Table(0).Hints[1], u"Die Kennung");
    Load_Default_Language();
}

// The receive window as a user would use it: a fixture shown, cells typed, a list item
// picked, a box ticked, rows inserted, deleted, copied and pasted; OK refused with the exact
// message, fixed, saved; shown again with the same rows.
TEST_F(CANWindowTest, ReceiveDrivenThroughTheWindow)
{
    Write("CAN_Rec_Frames.xml", kReceive_File);
    TFReceiveCAN w(nullptr);
    responder().AnswerMessageBox(plat::mrYes);  // delete row 2
    responder().AnswerMessageBox(plat::mrOk);   // the CobID fault
    Show<TFReceiveCAN>(w, [](TFReceiveCAN& f) {
        grid::TExtColumnGrid* g = f.ACG_CAN_Receive;
        EXPECT_EQ(g->Cells(2, 1), u"0x181");
        EXPECT_EQ(g->Cells(14, 2), u"torque");
        EXPECT_EQ(g->Cells(1, 3), u"Y");
        EXPECT_EQ(g->Columns()->GetItem(6)->ComboItems()->Count(), 1441);
        // Row 3: typed CobID, a Type item, dimension, time-out, a byte item, the box off.
        Type_Into(g, 2, 3, u"2048");
        // The list editor opens on its first item where the cell holds none; Enter takes it.
        Click_Cell(g, 3, 3);
        pt::Key(plat::VK_F2);
        pt::Key(plat::VK_RETURN);
        pt::ProcessEvents();
        Type_Into(g, 4, 3, u"1");
        Type_Into(g, 5, 3, u"10");
        Type_Into(g, 6, 3, u"5");
        EXPECT_EQ(g->Cells(3, 3), u"2.0A (11 bits)");
        EXPECT_EQ(g->Cells(6, 3), u"5");
        Click_Cell(g, 1, 2);
        EXPECT_EQ(g->Cells(1, 2), u"Y") << "ticked on";
        // Copy row 1, insert before row 2, paste there: rows 1 and 2 alike, the old row 2 at 3.
        Click_Cell(g, 2, 1);
        f.Btn_CopyRow->Click();
        Click_Cell(g, 2, 2);
        f.Btn_InsRow->Click();
        EXPECT_EQ(g->Cells(1, 2), u"Y");
        EXPECT_EQ(g->Cells(2, 2), u"");
        f.Btn_PasteRow->Click();
        EXPECT_EQ(g->Cells(14, 2), u"speed");
        EXPECT_EQ(g->Cells(14, 3), u"torque");
        // Delete row 2 again (asked with its number).
        f.Btn_DelRow->Click();
        EXPECT_EQ(g->Cells(14, 2), u"torque");
        EXPECT_EQ(g->Cells(2, 3), u"2048");
        // OK refused: the window stays.
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        Type_Into(g, 2, 3, u"0x7FF");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    const auto texts = responder().MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(N(texts[0]), "Are you sure to delete the Row number 2");
    EXPECT_EQ(N(texts[1]), "Error row 3!! CobID must be between 0 and 2047");

    // The file: root, comment after it, three rows in column order.
    EXPECT_EQ(Shell("xmllint --noout '" + (dir_ / "CAN_Rec_Frames.xml") + "' 2>&1"), "");
    const struct {
        const char* path;
        const char* value;
    } xpaths[] = {
        {"name(/*)", "Receive_Frames"},
        {"string(/comment())", "SW_VERSION = 1.002"},
        {"count(/comment()/preceding-sibling::Receive_Frames)", "1"},
        {"count(/Receive_Frames/row)", "3"},
        {"count(/Receive_Frames/*)", "3"},
        {"string(/Receive_Frames/row[2]/@Enable)", "Y"},
        {"string(/Receive_Frames/row[3]/@COBID)", "0x7FF"},
        {"string(/Receive_Frames/row[3]/@Byte1)", "5"},
        {"string(/Receive_Frames/row[3]/@Byte2)", ""},
        {"string(/Receive_Frames/row[1]/@Byte3)", "None"},
        {"count(/Receive_Frames/row[1]/@*)", "14"},
        {"name(/Receive_Frames/row[1]/@*[1])", "Enable"},
        {"name(/Receive_Frames/row[1]/@*[4])", "Dim"},
        {"name(/Receive_Frames/row[1]/@*[5])", "TimeOut"},
        {"name(/Receive_Frames/row[1]/@*[13])", "Byte8"},
        {"name(/Receive_Frames/row[1]/@*[14])", "Mnemonic"},
    };
    for (const auto& x : xpaths) EXPECT_EQ(XPath("CAN_Rec_Frames.xml", x.path), x.value) << x.path;

    // Shown again: the same rows.
    Show<TFReceiveCAN>(w, [](TFReceiveCAN& f) {
        grid::TExtColumnGrid* g = f.ACG_CAN_Receive;
        EXPECT_EQ(g->Cells(14, 1), u"speed");
        EXPECT_EQ(g->Cells(14, 2), u"torque");
        EXPECT_EQ(g->Cells(1, 2), u"Y");
        EXPECT_EQ(g->Cells(2, 3), u"0x7FF");
        EXPECT_EQ(g->Cells(5, 3), u"10");
        EXPECT_EQ(g->Cells(2, 4), u"");
        EXPECT_FALSE(f.Do_Copy());
        f.Btn_Cancel->Click();
    });
}

TEST_F(CANWindowTest, TransmitDrivenThroughTheWindow)
{
    Write("CAN_Send_Frames.xml", "<Transmit_Frames><row COBID=\"1\" Dim=\"1\"/></Transmit_Frames>");
    TFTransmitCAN w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);  // the Time fault
    Show<TFTransmitCAN>(w, [](TFTransmitCAN& f) {
        grid::TExtColumnGrid* g = f.ACG_CAN_Transmit;
        // An older row: OnChange "Y", OnTimer "N", Time empty, Type 2.0A.
        EXPECT_EQ(g->Cells(3, 1), u"2.0A (11 bits)");
        EXPECT_EQ(g->Cells(5, 1), u"Y");
        EXPECT_EQ(g->Cells(7, 1), u"N");
        EXPECT_EQ(g->Cells(8, 1), u"");
        Click_Cell(g, 7, 1);
        EXPECT_EQ(g->Cells(7, 1), u"Y");
        Type_Into(g, 8, 1, u"100000001");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        Type_Into(g, 8, 1, u"1000");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(N(responder().MessageTexts()[0]), "Error row 1!! Time must be between 0 and 100000000 milliseconds");
    EXPECT_EQ(Shell("xmllint --noout '" + (dir_ / "CAN_Send_Frames.xml") + "' 2>&1"), "");
    const struct {
        const char* path;
        const char* value;
    } xpaths[] = {
        {"name(/*)", "Transmit_Frames"},
        {"string(/comment())", "SW_VERSION = 1.002"},
        {"count(/Transmit_Frames/row)", "1"},
        {"count(/Transmit_Frames/row/@*)", "17"},
        {"name(/Transmit_Frames/row/@*[5])", "OnChange"},
        {"name(/Transmit_Frames/row/@*[6])", "OnCMD"},
        {"name(/Transmit_Frames/row/@*[7])", "OnTimer"},
        {"name(/Transmit_Frames/row/@*[8])", "Time"},
        {"string(/Transmit_Frames/row/@OnTimer)", "Y"},
        {"string(/Transmit_Frames/row/@Time)", "1000"},
        {"string(/Transmit_Frames/row/@OnCMD)", "N"},
    };
    for (const auto& x : xpaths) EXPECT_EQ(XPath("CAN_Send_Frames.xml", x.path), x.value) << x.path;
}

TEST_F(CANWindowTest, CopyOnOneEditorPasteInTheOtherIsRefused)
{
    TFReceiveCAN r(nullptr);
    TFTransmitCAN t(nullptr);
    Show<TFReceiveCAN>(r, [](TFReceiveCAN& f) {
        f.Btn_CopyRow->Click();
        EXPECT_TRUE(f.Do_Copy());
        f.Btn_Cancel->Click();
    });
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFTransmitCAN>(t, [](TFTransmitCAN& f) {
        f.Btn_PasteRow->Click();
        f.Btn_Cancel->Click();
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(N(responder().MessageTexts()[0]), "Error!!! Copy a valid row before Paste it");
}

TEST_F(CANWindowTest, FaultyFilesAreReportedOnceAtShow)
{
    const struct {
        const char* what;
        std::string content;
        const char* head;  // start of the box's text
        const char* row1_cobid;
    } cases[] = {
        {"cannot be parsed", "<Receive_Frames><row COBID=\"1\">", "Error! The file cannot be read: ", ""},
        {"rows beyond 512", [] {
             std::string x = "<Receive_Frames>";
             for (int i = 0; i < 514; ++i) x += "<row COBID=\"" + std::to_string(i) + "\"/>";
             return x + "</Receive_Frames>";
         }(),
         "Error! The file ", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Write("CAN_Rec_Frames.xml", c.content);
        TFReceiveCAN w(nullptr);
        responder().AnswerMessageBox(plat::mrOk);
        const std::size_t before = responder().MessageBoxes().size();
        Show<TFReceiveCAN>(w, [&](TFReceiveCAN& f) {
            EXPECT_EQ(N(f.ACG_CAN_Receive->Cells(2, 1)), c.row1_cobid);
            EXPECT_EQ(f.ACG_CAN_Receive->Cells(1, 1), u"Y");
            f.Btn_Cancel->Click();
        });
        ASSERT_EQ(responder().MessageBoxes().size(), before + 1);
        const std::string text = N(responder().MessageTexts().back());
        EXPECT_EQ(text.substr(0, std::string(c.head).size()), c.head);
        EXPECT_NE(text.find(N(File_CAN_Rec_Frames)), std::string::npos) << "names the file";
    }
    EXPECT_NE(N(responder().MessageTexts().back()).find("left out (OK saves the table without them): 2"),
              std::string::npos);
}

TEST_F(CANWindowTest, UnwritableFolderKeepsTheWindowAndTheOldFile)
{
    Write("CAN_Rec_Frames.xml", kReceive_File);
    TFReceiveCAN w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);
    Show<TFReceiveCAN>(w, [&](TFReceiveCAN& f) {
        f.ACG_CAN_Receive->SetCells(14, 1, u"changed");
        if (::geteuid() != 0) {
            // A read-only folder: the new file cannot be made beside the old one.
            fs::permissions(dir_.native(), fs::perms::owner_read | fs::perms::owner_exec);
            f.Btn_OK->Click();
            fs::permissions(dir_.native(), fs::perms::owner_all);
        } else {
            // Folder permissions do not bind the superuser: a file size limit cuts the write.
            rlimit old_limit{};
            ::getrlimit(RLIMIT_FSIZE, &old_limit);
            auto* old_handler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = old_limit;
            small.rlim_cur = 64;
            ::setrlimit(RLIMIT_FSIZE, &small);
            f.Btn_OK->Click();
            ::setrlimit(RLIMIT_FSIZE, &old_limit);
            std::signal(SIGXFSZ, old_handler);
        }
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        f.Btn_Cancel->Click();
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_NE(N(responder().MessageTexts()[0]).find(N(File_CAN_Rec_Frames)), std::string::npos);
    EXPECT_EQ(Read("CAN_Rec_Frames.xml"), kReceive_File);
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_.native())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file left behind";
}

// Pictures of both windows with a fixture, for a look by eye (TEST_PICTURES).
TEST_F(CANWindowTest, Pictures)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    Write("CAN_Rec_Frames.xml", kReceive_File);
    Write("CAN_Send_Frames.xml",
          "<Transmit_Frames><row Enable=\"Y\" COBID=\"0x201\" CAN_Type=\"2.0A (11 bits)\" Dim=\"2\" OnChange=\"Y\" "
          "OnCMD=\"N\" OnTimer=\"Y\" Time=\"100\" Byte1=\"10\" Byte2=\"11\" Byte3=\"None\" Mnemonic=\"set\"/>"
          "</Transmit_Frames>");
    TFReceiveCAN r(nullptr);
    Show<TFReceiveCAN>(r, [&](TFReceiveCAN& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "can-receive.png"));
        f.Btn_Cancel->Click();
    });
    TFTransmitCAN t(nullptr);
    Show<TFTransmitCAN>(t, [&](TFTransmitCAN& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "can-transmit.png"));
        f.Btn_Cancel->Click();
    });
}

} // namespace
