// The J1939 frame editors: checks with their exact messages and the running byte total, the
// defaults of older files (T_Type, a missing byte count), the files written, and the receive
// window driven as a user would.
#include <cstdio>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "UJ1939Rules.h"
#include "ULanguage.h"
#include "UReceiveJ1939.h"
#include "UTransmitJ1939.h"
#include "plat/Classes.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

using plat::String;
namespace pt = plat::testing;
using namespace j1939rules;

namespace {

std::string N(const String& s) { return plat::StringToUtf8(s); }

using TCells = std::vector<const char16_t*>;

TRule_Rows Rows_Of(std::initializer_list<TCells> data)
{
    TRule_Rows out = Empty_Rule_Rows(Rows, R_Cols);
    int r = 0;
    for (const TCells& cells : data) {
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

class J1939RulesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
    testsupport::TempDir dir_;
};

TEST_F(J1939RulesTest, ReceiveChecksAndTotal)
{
    // DP, PGN, SA, TP, Start Byte, N Byte, Cancel Data, On Request, Time(ms), Mnemonic
    const struct {
        const char* what;
        std::initializer_list<TCells> rows;
        const char* message;
    } cases[] = {
        {"transport: start + count above 1785", {{u"0", u"0xFECA", u"0", u"Y", u"1785", u"1", u"N", u"N"}},
         "Error in row 1!! Start Byte plus Number Bytes must be between 0 and 1785"},
        {"transport: 0 + 1785 passes", {{u"0", u"0xFECA", u"0", u"Y", u"0", u"1785", u"N", u"N"}},
         "Error!! Too many bytes of data, the max number is 1440"},
        {"transport: start 1786", {{u"0", u"1", u"0", u"Y", u"1786", u"0"}},
         "Error in row 1!! Start Byte must be between 0 and 1785"},
        {"single: 1 + 8", {{u"0", u"1", u"0", u"N", u"1", u"8"}},
         "Error in row 1!! The Number Bytes plus Start Byte must be minor of 9"},
        {"single: 1 + 7", {{u"0", u"1", u"0", u"N", u"1", u"7"}}, ""},
        {"single: start 0", {{u"0", u"1", u"0", u"N", u"0", u"1"}},
         "Error in row 1!! The Start Byte must be between 1 and 8"},
        {"single: count 9", {{u"0", u"1", u"0", u"N", u"1", u"9"}},
         "Error in row 1!! The Number Bytes must be between 1 and 8"},
        {"single: both empty capture nothing", {{u"0", u"1", u"0", u"N", u" ", u""}}, ""},
        {"single: one empty", {{u"0", u"1", u"0", u"N", u"1", u""}},
         "Error in row 1!! Start Byte and Number Bytes must be both compiled"},
        {"two transport rows of 1000 bytes",
         {{u"0", u"1", u"0", u"Y", u"0", u"1000"}, {u"0", u"2", u"0", u"Y", u"0", u"1000"}},
         "Error!! Too many bytes of data, the max number is 1440"},
        {"data page empty", {{u"", u"1", u"0"}}, "Error in row 1!! Data Page must be 0 or 1"},
        {"PGN 0x10000", {{u"0", u"0x10000", u"0"}}, "Error in row 1!! PGN must be between 0x0000 and 0xFFFF"},
        {"source address 256", {{u"1", u"1", u"256"}}, "Error in row 1!! Source Address must be between 0 and 255"},
        {"request time 0", {{u"0", u"1", u"0", u"N", u"", u"", u"N", u"Y", u"0"}}, ""},
        {"request time above", {{u"0", u"1", u"0", u"N", u"", u"", u"N", u"Y", u"10000001"}},
         "Error in row 1!! Time(ms) must be between 0 and 10000000"},
        {"check boxes compare exactly", {{u"0", u"1", u"0", u"y", u"0", u"1785", u"N", u"y", u"-5"}},
         "Error in row 1!! The Start Byte must be between 1 and 8"},
        {"an empty PGN ends the table", {{u"0", u"1", u"0"}, {u"0", u""}, {u"", u"5"}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Receive(Rows_Of(c.rows), Num_Byte)), c.message);
    }
}

TEST_F(J1939RulesTest, TransmitChecksAndTotal)
{
    // Priority, DP, PGN, SA, N Bytes, Request, Data Change, On Timer, Send Timer, Mnemonic
    const struct {
        const char* what;
        std::initializer_list<TCells> rows;
        const char* message;
    } cases[] = {
        {"zero bytes", {{u"6", u"0", u"0x1FFFF", u"255", u"0", u"N", u"N", u"N"}}, ""},
        {"1441 bytes", {{u"6", u"0", u"1", u"0", u"1441"}}, "Error in row 1!! Num Byte must be between 0 and 1440"},
        {"total", {{u"6", u"0", u"1", u"0", u"1000"}, {u"6", u"0", u"2", u"0", u"441"}},
         "Error!! Too many bytes of data, the max number is 1440"},
        {"timer 0", {{u"6", u"0", u"1", u"0", u"8", u"N", u"N", u"Y", u"0"}},
         "Error in row 1!! Send Timer must be between 1 and 65535 ms"},
        {"no timer, any send timer", {{u"6", u"0", u"1", u"0", u"8", u"N", u"N", u"N", u"abc"}}, ""},
        {"priority 8", {{u"8", u"0", u"1"}}, "Error in row 1!! Priority must be between 0 and 7"},
        {"PGN 0x20000", {{u"0", u"0", u"0x20000"}}, "Error in row 1!! PGN must be between 0x00000 and 0x1FFFF"},
        {"empty PGN ends the table", {{u"0", u"0", u""}, {u"9"}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Transmit(Rows_Of(c.rows), Num_Byte)), c.message);
    }
}

TEST_F(J1939RulesTest, ReadersTakeTheDefaultsOfOlderFiles)
{
    const String file = dir_ / u"j.xml";
    std::ofstream(N(file)) << "<Receive_J1939><row PGN=\"1\"/></Receive_J1939>";
    TRule_Rows rows;
    TRule_Load load;
    Read_Receive(file, rows, load);
    EXPECT_TRUE(load.Whole());
    std::string cells;
    for (int c = 1; c < R_Cols; ++c) cells += N(rows[0][c]) + ",";
    EXPECT_EQ(cells, ",1,,N,,,N,N,1000,,");

    const struct {
        const char* row;
        const char* cells;  // N Bytes, Request, Data Change, On Timer, Send Timer
    } cases[] = {
        {"<row PGN=\"1\" T_Type=\"On Timer\"/>", "8,N,N,Y,"},
        {"<row PGN=\"1\" T_Type=\"on data change\" On_Timer=\"Y\"/>", "8,N,Y,N,"},
        {"<row PGN=\"1\" T_Type=\"On Request\"/>", "8,N,N,N,"},
        {"<row PGN=\"1\" TP_NByte=\"\" On_Request=\"Y\" SendTimer=\"5\"/>", "8,Y,N,N,5"},
        {"<row PGN=\"1\" TP_NByte=\"3\" On_Timer=\"Y\"/>", "3,N,N,Y,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        std::ofstream(N(file)) << "<Transmit_J1939>" << c.row << "</Transmit_J1939>";
        TRule_Load tl;
        Read_Transmit(file, rows, tl);
        std::string got;
        for (int col = T_NByte; col <= T_SendTimer; ++col) got += (col > T_NByte ? "," : "") + N(rows[0][col]);
        EXPECT_EQ(got, c.cells);
    }
    plat::TXMLDocument doc;
    Fill_Transmit(doc, rows);
    EXPECT_EQ(N(doc.XML()),
              "<Transmit_J1939>\n  <row Priority=\"\" DP=\"\" PGN=\"1\" SA=\"\" TP_NByte=\"3\" On_Request=\"N\" "
              "On_Data_Change=\"N\" On_Timer=\"Y\" SendTimer=\"\" Mnemonic=\"\" />\n</Transmit_J1939>\n"
              "<!--SW_VERSION = 1.104-->\n");
}

class J1939WindowTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        File_J1939_Rec_Frames = dir_ / u"J1939_Rec_Frames.xml";
        File_J1939_Send_Frames = dir_ / u"J1939_Send_Frames.xml";
    }
    void TearDown() override
    {
        File_J1939_Rec_Frames = u"/J1939_Rec_Frames.xml";
        File_J1939_Send_Frames = u"/J1939_Send_Frames.xml";
        pt::UiTest::TearDown();
    }
    template <class T>
    void Show(T& w, std::function<void(T&)> script)
    {
        responder().ScriptModal<T>(std::move(script));
        w.ShowModal();
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

TEST_F(J1939WindowTest, LayoutsAndCaptions)
{
    TFReceiveJ1939 r(nullptr);
    TFTransmitJ1939 t(nullptr);
    EXPECT_EQ(r.ClientWidth(), 876);
    EXPECT_EQ(t.ClientWidth(), 800);
    EXPECT_EQ(r.Caption(), u"Set the J1939 Receive Frames Rules");
    EXPECT_EQ(t.Caption(), u"Set the J1939 Send Frames Rules");
    EXPECT_EQ(r.sga->RowCount(), 513);
    EXPECT_EQ(r.sga->ColCount(), 11);
    EXPECT_EQ(r.sga->DefaultRowHeight(), 21);
    EXPECT_EQ(r.sga->Columns()->GetItem(1)->ComboItems()->Count(), 2);
    EXPECT_EQ(r.sga->Columns()->GetItem(4)->Color(), 0xA8FFFF);
    EXPECT_EQ(t.sga->Columns()->GetItem(8)->Header(), u"On Timer");
    EXPECT_EQ(t.Table(0).Hints.size(), 10u);
}

TEST_F(J1939WindowTest, ReceiveDrivenThroughTheWindow)
{
    TFReceiveJ1939 w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);  // the single-frame fault
    Show<TFReceiveJ1939>(w, [](TFReceiveJ1939& f) {
        grid::TExtColumnGrid* g = f.sga;
        Click_Cell(g, 1, 1);
        pt::Key(plat::VK_F2);
        pt::Key(plat::VK_RETURN);  // the first item, "0"
        pt::ProcessEvents();
        Type_Into(g, 2, 1, u"0xFECA");
        Type_Into(g, 3, 1, u"0");
        Type_Into(g, 5, 1, u"1");
        Type_Into(g, 6, 1, u"8");
        Click_Cell(g, 8, 1);
        EXPECT_EQ(g->Cells(8, 1), u"Y");
        Type_Into(g, 9, 1, u"500");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        Type_Into(g, 6, 1, u"7");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(N(responder().MessageTexts()[0]), "Error in row 1!! The Number Bytes plus Start Byte must be minor of 9");
    const std::string file = N(File_J1939_Rec_Frames);
    EXPECT_EQ(Shell("xmllint --noout '" + file + "' 2>&1"), "");
    EXPECT_EQ(Shell("xmllint --xpath 'name(/*)' '" + file + "'"), "Receive_J1939");
    EXPECT_EQ(Shell("xmllint --xpath 'string(/comment())' '" + file + "'"), "SW_VERSION = 1.104");
    EXPECT_EQ(Shell("xmllint --xpath 'count(/*/row/@*)' '" + file + "'"), "10");
    EXPECT_EQ(Shell("xmllint --xpath 'name(/*/row/@*[9])' '" + file + "'"), "OnReq_Time");
    EXPECT_EQ(Shell("xmllint --xpath 'string(/*/row/@DP)' '" + file + "'"), "0");
    EXPECT_EQ(Shell("xmllint --xpath 'string(/*/row/@OnRequest)' '" + file + "'"), "Y");
    Show<TFReceiveJ1939>(w, [](TFReceiveJ1939& f) {
        EXPECT_EQ(f.sga->Cells(2, 1), u"0xFECA");
        EXPECT_EQ(f.sga->Cells(6, 1), u"7");
        f.Btn_Cancel->Click();
    });
}

TEST_F(J1939WindowTest, Pictures)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    std::ofstream(N(File_J1939_Send_Frames))
        << "<Transmit_J1939><row Priority=\"6\" DP=\"0\" PGN=\"0xFEF1\" SA=\"3\" TP_NByte=\"8\" T_Type=\"On Timer\" "
           "SendTimer=\"100\" Mnemonic=\"speed\"/></Transmit_J1939>";
    TFTransmitJ1939 t(nullptr);
    Show<TFTransmitJ1939>(t, [&](TFTransmitJ1939& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "j1939-transmit.png"));
        f.Btn_Cancel->Click();
    });
}

} // namespace
