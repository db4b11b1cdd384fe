// The CANopen SDO client and server editors: checks with their exact messages (read page
// first), both table elements always written, and both windows driven as a user would,
// their files checked by xmllint.
#include <cstdio>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "USDORules.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "plat/Classes.h"
#include "plat/ComCtrls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

using plat::String;
namespace pt = plat::testing;
using namespace sdorules;

namespace {

std::string N(const String& s) { return plat::StringToUtf8(s); }

using TCells = std::vector<const char16_t*>;

TRule_Rows Rows_Of(int rows, int cols, std::initializer_list<TCells> data)
{
    TRule_Rows out = Empty_Rule_Rows(rows, cols);
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

class SDORulesTest : public ::testing::Test {
protected:
    void SetUp() override { Load_Default_Language(); }
};

TEST_F(SDORulesTest, ClientChecks)
{
    // Device, Index, SubIndex, N Byte, Poll Time, (write: On Change,) Add Byte1..4, Mnemonic
    const TCells ok = {u"1", u"0x1000", u"0", u"1", u"100", u"0"};
    const struct {
        const char* what;
        std::initializer_list<TCells> read, write;
        const char* message;
    } cases[] = {
        {"index in hexadecimal and decimal", {ok, {u"1", u"4096", u"0", u"1", u"1", u"0"}}, {}, ""},
        {"index 0xFFF", {{u"1", u"0xFFF", u"0", u"1", u"1", u"0"}}, {},
         "Error row 1!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
        {"index 0x10000", {{u"1", u"0x10000", u"0", u"1", u"1", u"0"}}, {},
         "Error row 1!! [SDO Read] Index must be between 0x1000 and 0xFFFF"},
        {"device 0", {{u"0", u"0x1000"}}, {}, "Error row 1!! [SDO Read] Device ID must be between 1 and 127"},
        {"device 128", {{u"128", u"0x1000"}}, {}, "Error row 1!! [SDO Read] Device ID must be between 1 and 127"},
        {"subindex 256", {{u"1", u"0x1000", u"256"}}, {},
         "Error row 1!! [SDO Read] SubIndex must be between 0x00 and 0xFF"},
        {"N Byte 3", {{u"1", u"0x1000", u"0", u"3", u"1", u"0"}}, {},
         "Error row 1!! [SDO Read] N Byte must be 1 or 2 or 4"},
        {"N Byte 2, address 3 empty", {{u"1", u"0x1000", u"0", u"2", u"1", u"0", u"1"}}, {}, ""},
        {"N Byte 4, address 4 empty", {{u"1", u"0x1000", u"0", u"4", u"1", u"0", u"1", u"2"}}, {},
         "Error row 1!! [SDO Read] Address Byte4 must be between 0 and 1439"},
        {"poll time 0 on the read page", {{u"1", u"0x1000", u"0", u"1", u"0", u"0"}}, {},
         "Error row 1!! [SDO Read] Poll Time must be between 1 and 100000000"},
        {"poll time 0 on the write page", {ok}, {{u"1", u"0x1000", u"0", u"1", u"0", u"N", u"0"}}, ""},
        {"write address after On Change", {ok}, {{u"1", u"0x1000", u"0", u"2", u"0", u"Y", u"0", u"1440"}},
         "Error row 1!! [SDO Write] Address Byte2 must be between 0 and 1439"},
        {"an empty ID Device ends the table", {ok, {u"", u"x"}, {u"0"}}, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Client(Rows_Of(Client_Rows, CR_Cols, c.read), Rows_Of(Client_Rows, CW_Cols, c.write), NByte,
                                 NByte)),
                  c.message);
    }
}

TEST_F(SDORulesTest, ServerChecks)
{
    // Index, SubIndex, N Byte, Add Byte1..4, Mnemonic
    const TCells ok = {u"0x2000", u"0", u"1", u"0"};
    const struct {
        const char* what;
        std::initializer_list<TCells> read, write;
        const char* message;
    } cases[] = {
        {"index limits", {ok, {u"8192", u"0xFF", u"1", u"0"}, {u"0x5FFF", u"1", u"1", u"0"}}, {}, ""},
        {"index 0x1FFF", {{u"0x1FFF", u"0", u"1", u"0"}}, {},
         "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {"index 0x6000", {{u"0x6000", u"0", u"1", u"0"}}, {},
         "Error row 1!! [SDO in Read] Index must be between 0x2000 and 0x5FFF"},
        {"subindex 256", {{u"0x2000", u"256", u"1", u"0"}}, {},
         "Error row 1!! [SDO in Read] SubIndex must be between 0x00 and 0xFF"},
        {"N Byte 1 leaves addresses 2..4 free", {{u"0x2000", u"0", u"1", u"0", u"x", u"y", u"z"}}, {}, ""},
        {"N Byte 2, address 2 empty", {{u"0x2000", u"0", u"2", u"0"}}, {},
         "Error row 1!! [SDO in Read] Address Byte2 must be between 0 and 1439"},
        {"write fault after every read row passed", {ok, ok}, {ok, {u"0x2001", u"0", u"4", u"0", u"1", u"2", u""}},
         "Error row 2!! [SDO in Write] Address Byte4 must be between 0 and 1439"},
        {"the same index and subindex twice is accepted", {ok, ok}, {ok}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(N(Check_Server(Rows_Of(Server_Rows, S_Cols, c.read), Rows_Of(Server_Rows, S_Cols, c.write), NByte,
                                 NByte)),
                  c.message);
    }
}

TEST_F(SDORulesTest, EmptyConfigurationsWriteBothTables)
{
    plat::TXMLDocument doc;
    Fill_Client(doc, Empty_Rule_Rows(Client_Rows, CR_Cols), Empty_Rule_Rows(Client_Rows, CW_Cols));
    EXPECT_EQ(N(doc.XML()), "<SDO_Client_CANopen>\n  <SDO_Read />\n  <SDO_Write />\n</SDO_Client_CANopen>\n"
                            "<!--SW_VERSION = 1.001-->\n");
    Fill_Server(doc, Empty_Rule_Rows(Server_Rows, S_Cols), Empty_Rule_Rows(Server_Rows, S_Cols));
    EXPECT_EQ(N(doc.XML()), "<SDO_Server_CANopen>\n  <SDO_Read />\n  <SDO_Write />\n</SDO_Server_CANopen>\n"
                            "<!--SW_VERSION = 1.001-->\n");
}

class SDOWindowTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        File_SDO_Client_CANopen = dir_ / u"SDO_Client_CANopen.xml";
        File_SDO_Server_CANopen = dir_ / u"SDO_Server_CANopen.xml";
    }
    void TearDown() override
    {
        File_SDO_Client_CANopen = u"/SDO_Client_CANopen.xml";
        File_SDO_Server_CANopen = u"/SDO_Server_CANopen.xml";
        pt::UiTest::TearDown();
    }
    template <class T>
    void Show(T& w, std::function<void(T&)> script)
    {
        responder().ScriptModal<T>(std::move(script));
        w.ShowModal();
    }
    static std::string XPath(const String& file, const std::string& path)
    {
        return Shell("xmllint --xpath '" + path + "' '" + N(file) + "' 2>&1");
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

void Show_Page(TSDOEditorForm& f, plat::TTabSheet* page)
{
    const plat::TRect r = f.PageControl1->TabRect(page->PageIndex());
    pt::Click(f.PageControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    pt::ProcessEvents();
}

TEST_F(SDOWindowTest, Layouts)
{
    TFSet_SDO_Client_Access c(nullptr);
    TFSet_SDO_Server_Access s(nullptr);
    EXPECT_EQ(c.ClientWidth(), 798);
    EXPECT_EQ(s.ClientWidth(), 749);
    EXPECT_EQ(c.sga->RowCount(), 257);
    EXPECT_EQ(s.sgb->RowCount(), 501);
    EXPECT_EQ(c.sga->ColCount(), 11);
    EXPECT_EQ(c.sgb->ColCount(), 12);
    EXPECT_EQ(s.sgb->ColCount(), 9);
    EXPECT_EQ(c.sgb->Columns()->GetItem(6)->Editor(), grid::edDataCheckBox);
    EXPECT_EQ(c.sgb->Columns()->GetItem(6)->Alignment(), plat::taCenter);
    EXPECT_EQ(c.sga->Columns()->GetItem(10)->Width(), 163);
    EXPECT_EQ(s.sga->Columns()->GetItem(8)->Width(), 170);
    EXPECT_EQ(c.TS_SDO_Write->Caption(), u"SDO Write");
    EXPECT_EQ(s.TS_SDO_Read->Caption(), u"SDO in Read");
    EXPECT_EQ(c.Table(1).Hints.size(), 11u);
    EXPECT_EQ(s.Table(1).Hints.size(), 8u);
}

TEST_F(SDOWindowTest, ServerDrivenThroughTheWindow)
{
    TFSet_SDO_Server_Access w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);  // N Byte fault
    Show<TFSet_SDO_Server_Access>(w, [](TFSet_SDO_Server_Access& f) {
        grid::TExtColumnGrid* a = f.sga;
        Type_Into(a, 1, 1, u"0x2000");
        Type_Into(a, 2, 1, u"1");
        Type_Into(a, 3, 1, u"3");
        Type_Into(a, 4, 1, u"10");
        Show_Page(f, f.TS_SDO_Write);
        Type_Into(f.sgb, 1, 1, u"0x2000");
        Type_Into(f.sgb, 2, 1, u"2");
        Type_Into(f.sgb, 3, 1, u"1");
        Type_Into(f.sgb, 4, 1, u"20");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrNone);
        Show_Page(f, f.TS_SDO_Read);
        Type_Into(a, 3, 1, u"1");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    ASSERT_EQ(responder().MessageTexts().size(), 1u);
    EXPECT_EQ(N(responder().MessageTexts()[0]), "Error row 1!! [SDO in Read] N Byte must be 1 or 2 or 4");
    EXPECT_EQ(Shell("xmllint --noout '" + N(File_SDO_Server_CANopen) + "' 2>&1"), "");
    const struct {
        const char* path;
        const char* value;
    } xpaths[] = {
        {"name(/*)", "SDO_Server_CANopen"},
        {"string(/comment())", "SW_VERSION = 1.001"},
        {"name(/*/*[1])", "SDO_Read"},
        {"name(/*/*[2])", "SDO_Write"},
        {"count(/*/SDO_Read/row)", "1"},
        {"count(/*/SDO_Write/row/@*)", "8"},
        {"name(/*/SDO_Write/row/@*[3])", "NByte"},
        {"name(/*/SDO_Write/row/@*[8])", "Mnemonic"},
        {"string(/*/SDO_Read/row/@Address_B1)", "10"},
        {"string(/*/SDO_Write/row/@SubIndex)", "2"},
    };
    for (const auto& x : xpaths) EXPECT_EQ(XPath(File_SDO_Server_CANopen, x.path), x.value) << x.path;
    Show<TFSet_SDO_Server_Access>(w, [](TFSet_SDO_Server_Access& f) {
        EXPECT_EQ(f.PageControl1->ActivePage(), f.TS_SDO_Read);
        EXPECT_EQ(f.sga->Cells(1, 1), u"0x2000");
        EXPECT_EQ(f.sgb->Cells(4, 1), u"20");
        f.Btn_Cancel->Click();
    });
}

TEST_F(SDOWindowTest, ClientRowButtonsAndCopyFlagsPerPage)
{
    std::ofstream(N(File_SDO_Client_CANopen))
        << "<SDO_Client_CANopen><SDO_Read>"
           "<row Device_ID=\"1\" Index=\"0x1000\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"100\" Address_B1=\"0\" "
           "Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"a\"/>"
           "<row Device_ID=\"2\" Index=\"0x1001\" SubIndex=\"0\" NByte=\"1\" Poll_Time=\"100\" Address_B1=\"1\" "
           "Address_B2=\"\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"b\"/>"
           "</SDO_Read><SDO_Write/></SDO_Client_CANopen>";
    TFSet_SDO_Client_Access w(nullptr);
    responder().AnswerMessageBox(plat::mrOk);   // paste refused on the write page
    responder().AnswerMessageBox(plat::mrYes);  // delete row 1
    Show<TFSet_SDO_Client_Access>(w, [](TFSet_SDO_Client_Access& f) {
        Click_Cell(f.sga, 0, 2);
        EXPECT_EQ(f.sga->Selection().Top, 2);
        f.Btn_CopyRow->Click();
        EXPECT_TRUE(f.Do_Copy_SDO_Read());
        Show_Page(f, f.TS_SDO_Write);
        f.Btn_PasteRow->Click();
        Show_Page(f, f.TS_SDO_Read);
        Click_Cell(f.sga, 1, 1);
        f.Btn_DelRowClick();
        EXPECT_EQ(f.sga->Cells(10, 1), u"b");
        EXPECT_EQ(f.sga->Cells(1, 2), u"");
        f.Btn_InsRow->Click();
        EXPECT_EQ(f.sga->Cells(1, 1), u"") << "no Enable cell to set";
        EXPECT_EQ(f.sga->Cells(10, 2), u"b");
        f.Btn_PasteRow->Click();
        EXPECT_EQ(f.sga->Cells(10, 1), u"b");
        f.Btn_OK->Click();
        EXPECT_EQ(f.ModalResult(), plat::mrOk);
    });
    const auto texts = responder().MessageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(N(texts[0]), "Error!!! Copy a valid row before Paste it");
    EXPECT_EQ(N(texts[1]), "Are you sure to delete the Row number 1");
    EXPECT_EQ(XPath(File_SDO_Client_CANopen, "count(/*/SDO_Read/row)"), "2");
    EXPECT_EQ(XPath(File_SDO_Client_CANopen, "name(/*/SDO_Read/row[1]/@*[5])"), "Poll_Time");
    EXPECT_EQ(XPath(File_SDO_Client_CANopen, "count(/*/SDO_Write/row)"), "0");
}

TEST_F(SDOWindowTest, Pictures)
{
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) GTEST_SKIP() << "pictures are written on request (TEST_PICTURES)";
    std::ofstream(N(File_SDO_Server_CANopen))
        << "<SDO_Server_CANopen><SDO_Read><row Index=\"0x2000\" SubIndex=\"1\" NByte=\"2\" Address_B1=\"0\" "
           "Address_B2=\"1\" Address_B3=\"\" Address_B4=\"\" Mnemonic=\"speed\"/></SDO_Read><SDO_Write/>"
           "</SDO_Server_CANopen>";
    std::ofstream(N(File_SDO_Client_CANopen))
        << "<SDO_Client_CANopen><SDO_Read/><SDO_Write><row Device_ID=\"5\" Index=\"0x6040\" SubIndex=\"0\" NByte=\"2\" "
           "Poll_Time=\"0\" On_Change=\"Y\" Address_B1=\"0\" Address_B2=\"1\" Address_B3=\"\" Address_B4=\"\" "
           "Mnemonic=\"control\"/></SDO_Write></SDO_Client_CANopen>";
    TFSet_SDO_Server_Access s(nullptr);
    Show<TFSet_SDO_Server_Access>(s, [&](TFSet_SDO_Server_Access& f) {
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "sdo-server.png"));
        f.Btn_Cancel->Click();
    });
    TFSet_SDO_Client_Access c(nullptr);
    Show<TFSet_SDO_Client_Access>(c, [&](TFSet_SDO_Client_Access& f) {
        f.PageControl1->SetActivePage(f.TS_SDO_Write);
        pt::SaveGrab(&f, plat::Utf8ToString(dir + "sdo-client-write.png"));
        f.Btn_Cancel->Click();
    });
}

} // namespace
