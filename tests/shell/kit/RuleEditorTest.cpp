// The rule-editor frame through the real event path: button places and texts, the row
// buttons on the page in view with their copy flags, header hints, column-0 click, double
// click and Enter; and the file guards (unwritable file, working mode reading).
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "ExtCGrid.h"
#include "TestSupport.h"
#include "UComon.h"
#include "ULanguage.h"
#include "URuleEditor.h"
#include "URuleRows.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "plat/Xml.h"

#include <sys/resource.h>
#include <unistd.h>

using plat::String;
namespace pt = plat::testing;
namespace fs = std::filesystem;

namespace {

class TTest_Editor : public TRuleEditorForm {
public:
    TTest_Editor()
        : TRuleEditorForm(nullptr, u"Test Editor", {700, 701, 702, 703, 708, 709},
                          {704, 705, 706, -1, 710, 711, 712, 713}, 800, 337)
    {
        TRule_Table a;
        a.Columns = {{714, u"N", grid::edNormal, 40, -1},
                     {715, u"Topic", grid::edNormal, 300, 719},
                     {716, u"Retained", grid::edDataCheckBox, 60, 720},
                     {717, u"QoS", grid::edComboList, 80, 721},
                     {718, u"Mnemonic", grid::edNormal, 100, 722}};
        a.Page_Text = 733;
        a.Delete_Question = 723;
        A = &Add_Table(u"TS_A", u"ACG_A", a, 5);
        TRule_Table b = a;
        b.Page_Text = 734;
        b.Insert_Y = true;
        b.Select_Row_From_Number = true;
        B = &Add_Table(u"TS_B", u"ACG_B", b, 5);
        A->Grid->HideColumn(2);
        Set_Lang();
    }
    void Table_DblClick(TRule_Table& t, int row, int col) override { clicks.push_back({&t == A ? 0 : 1, row, col}); }

    using TRuleEditorForm::Confirm_Overwrite_Unread;
    using TRuleEditorForm::Confirm_Rows_Below_Empty_Key;
    using TRuleEditorForm::File_Read;
    using TRuleEditorForm::Read_Working_Mode;
    using TRuleEditorForm::Save_Table_File;
    using TRuleEditorForm::TFile_Read;

    TRule_Table* A = nullptr;
    TRule_Table* B = nullptr;
    struct Click_Record {
        int table, row, col;
        bool operator==(const Click_Record&) const = default;
    };
    std::vector<Click_Record> clicks;
};

// A single-table editor (no pages), with tinted and centred columns and its own row height.
class TSingle_Editor : public TRuleEditorForm {
public:
    TSingle_Editor() : TRuleEditorForm(nullptr, u"Single", {}, {}, 600, 300)
    {
        TRule_Table t;
        t.Columns = {{-1, u"N", grid::edNormal, 40},
                     {-1, u"Enable", grid::edDataCheckBox, 50, -1, 0xB0D8FF, true},
                     {-1, u"Byte1", grid::edComboList, 48, -1, 0xF4D6FC},
                     {-1, u"Byte2", grid::edComboList, 48, -1, 0xF4D6FC}};
        t.Row_Height = 22;
        T = &Add_Table(nullptr, u"ACG_Single", t, 4);
        Set_Lang();
    }
    using TRuleEditorForm::Fill_Position_Items;
    using TRuleEditorForm::File_Read;
    using TRuleEditorForm::Put_Table_Cells;
    using TRuleEditorForm::Report_Load;
    using TRuleEditorForm::Set_Column_Items;
    using TRuleEditorForm::Table_Cells;
    using TRuleEditorForm::TFile_Read;
    TRule_Table* T = nullptr;
};

class RuleEditorTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        if (!Row_Copy) Row_Copy = new plat::TStringList();
        saved_jump = Enable_Jump_Field_Tables;
        saved_auto = Double_Click_Auto_Size;
        form = std::make_unique<TTest_Editor>();
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        Enable_Jump_Field_Tables = saved_jump;
        Double_Click_Auto_Size = saved_auto;
        pt::UiTest::TearDown();
    }
    void Click_Cell(grid::TExtColumnGrid* g, int col, int row)
    {
        const plat::TRect r = g->CellRect(col, row);
        pt::Click(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    void Show_Page(TRule_Table* t)
    {
        const plat::TRect r = form->PageControl1->TabRect(t->Page->PageIndex());
        pt::Click(form->PageControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    std::unique_ptr<TTest_Editor> form;
    bool saved_jump = false, saved_auto = false;
};

TEST_F(RuleEditorTest, FramePlacesTheSixButtonsAndSetsTheTexts)
{
    struct Case {
        controls::TFadeButton* button;
        int left;
        const char16_t* caption;
        const char16_t* hint;
    };
    const Case cases[] = {
        {form->Btn_OK, 16, u"OK", u"Confirm and save the MQTT Set Topics List"},
        {form->Btn_Cancel, 134, u"Cancel", u"Exit without save the MQTT Set Topics List"},
        {form->Btn_DelRow, 252, u"Delete Row", u"Delete the Selected Row in the table"},
        {form->Btn_InsRow, 370, u"Insert Row", u"Insert a Row in the Table"},
        {form->Btn_CopyRow, 488, u"Copy Row", u"Copy all Fields of the Selected Row"},
        {form->Btn_PasteRow, 606, u"Paste Row", u"Paste the Copied Fields in the Selected Row"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.caption));
        EXPECT_EQ(c.button->Left(), c.left);
        EXPECT_EQ(c.button->Width(), 110);
        EXPECT_EQ(c.button->Height(), 28);
        EXPECT_EQ(c.button->Parent(), form->P_Button);
        EXPECT_EQ(c.button->Caption(), c.caption);
        EXPECT_EQ(c.button->Hint(), c.hint);
    }
    EXPECT_EQ(form->A->Page->Caption(), u"MQTT Publish");
    EXPECT_EQ(form->B->Page->Caption(), u"MQTT Subscribe");
    EXPECT_EQ(form->A->Grid->Cells(1, 0), u"Topic");
    EXPECT_EQ(form->A->Grid->Cells(0, 3), u"3");
    EXPECT_EQ(form->ClientWidth(), 800);
    EXPECT_EQ(form->ClientHeight(), 337);
}

TEST_F(RuleEditorTest, HeaderHintsFollowRealColumns)
{
    // Table A hides real column 2: shown column 2 is real column 3 (QoS).
    struct Case {
        TRule_Table* TTest_Editor::*table;
        int shown_col, row;
        const char16_t* hint;
    };
    const Case cases[] = {
        {&TTest_Editor::A, 1, 0, u"Insert the MQTT Topic"},
        {&TTest_Editor::A, 2, 0, u"Select the QoS value"},
        {&TTest_Editor::B, 2, 0, u"Enable/Disabel the Retained value"},
        {&TTest_Editor::A, 0, 0, u"grid's own"},
        {&TTest_Editor::A, 1, 1, u"grid's own"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown_col * 10 + c.row);
        String hint = u"grid's own", wide;
        (form.get()->*c.table)->Grid->GridHint(c.shown_col, c.row, hint, wide);
        EXPECT_EQ(hint, c.hint);
    }
}

TEST_F(RuleEditorTest, RowButtonsActOnThePageInViewWithItsCopyFlag)
{
    grid::TExtColumnGrid* a = form->A->Grid;
    grid::TExtColumnGrid* b = form->B->Grid;
    for (int r = 1; r <= 3; ++r) {
        a->SetCells(1, r, u"pub" + plat::IntToStr(r));
        a->SetCells(2, r, u"N");
        b->SetCells(1, r, u"sub" + plat::IntToStr(r));
    }
    // Delete on page A asks with the row number; No keeps the row, Yes deletes it.
    Click_Cell(a, 1, 2);
    responder().AnswerMessageBox(plat::mrNo);
    pt::Click(form->Btn_DelRow, 5, 5);
    EXPECT_EQ(a->Cells(1, 2), u"pub2");
    responder().AnswerMessageBox(plat::mrYes);
    pt::Click(form->Btn_DelRow, 5, 5);
    EXPECT_EQ(responder().MessageTexts().back(), u"Are you sure to delete the Row number 2");
    EXPECT_EQ(a->Cells(1, 2), u"pub3");
    EXPECT_EQ(a->Cells(2, 2), u"N") << "hidden column moved";

    // Copy on A, paste on B: refused with 1102; B's table is untouched.
    pt::Click(form->Btn_CopyRow, 5, 5);
    EXPECT_TRUE(form->A->Do_Copy);
    Show_Page(form->B);
    ASSERT_EQ(form->PageControl1->ActivePage(), form->B->Page);
    Click_Cell(b, 1, 3);
    responder().AnswerMessageBox(plat::mrOk);
    pt::Click(form->Btn_PasteRow, 5, 5);
    EXPECT_EQ(responder().MessageTexts().back(), u"Error!!! Copy a valid row before Paste it");
    EXPECT_EQ(b->Cells(1, 3), u"sub3");

    // Insert on B puts "Y" into column 1 of the new row; A is untouched.
    Click_Cell(b, 1, 1);
    pt::Click(form->Btn_InsRow, 5, 5);
    EXPECT_EQ(b->Cells(1, 1), u"Y");
    EXPECT_EQ(b->Cells(1, 2), u"sub1");
    EXPECT_EQ(a->Cells(1, 1), u"pub1");

    // Copy and paste within B: the copy flags swap, the paste lands without a question.
    pt::Click(form->Btn_CopyRow, 5, 5);
    EXPECT_TRUE(form->B->Do_Copy);
    EXPECT_FALSE(form->A->Do_Copy);
    Click_Cell(b, 1, 5);
    pt::Click(form->Btn_PasteRow, 5, 5);
    EXPECT_EQ(b->Cells(1, 5), u"Y");
}

TEST_F(RuleEditorTest, NumberColumnClickSelectsTheRowWhereTheTableAsks)
{
    Show_Page(form->B);
    Click_Cell(form->B->Grid, 0, 3);
    EXPECT_TRUE(form->B->Grid->GetRowSelect(3));
    EXPECT_FALSE(form->B->Grid->GetRowSelect(2));
    Show_Page(form->A);
    Click_Cell(form->A->Grid, 0, 3);
    EXPECT_FALSE(form->A->Grid->GetRowSelect(3));
}

TEST_F(RuleEditorTest, DoubleClickSizesHeaderColumnsOnlyThenCallsTheWindow)
{
    grid::TExtColumnGrid* a = form->A->Grid;
    a->SetCells(1, 1, u"a rather long topic text that is wider than the column itself, surely");
    Double_Click_Auto_Size = true;
    const int width = a->ColWidths(1);
    const plat::TRect data = a->CellRect(1, 1);
    pt::DoubleClick(a, data.Left + 5, data.Top + 3);
    EXPECT_EQ(a->ColWidths(1), width) << "a data cell never resizes";
    const plat::TRect head = a->CellRect(1, 0);
    pt::DoubleClick(a, head.Left + 5, head.Top + 3);
    EXPECT_GT(a->ColWidths(1), width);
    ASSERT_GE(form->clicks.size(), 2u);
    EXPECT_EQ(form->clicks.front(), (TTest_Editor::Click_Record{0, 1, 1}));
    EXPECT_EQ(form->clicks.back(), (TTest_Editor::Click_Record{0, 0, 1}));
}

TEST_F(RuleEditorTest, EnterKeyMovesToTheNextShownCell)
{
    grid::TExtColumnGrid* a = form->A->Grid;
    Enable_Jump_Field_Tables = true;
    Click_Cell(a, 3, 2);  // the last shown column (real column 4)
    a->SetFocus();
    pt::Key(plat::VK_RETURN);
    EXPECT_EQ(a->Col(), 1);
    EXPECT_EQ(a->Row(), 3);
    EXPECT_FALSE(a->EditorMode());
}

TEST_F(RuleEditorTest, UnwritableFileKeepsTheOldOneAndReports)
{
    testsupport::TempDir dir;
    const std::string path = dir / "table.xml";
    { std::ofstream(path) << "<old/>\n"; }
    plat::TXMLDocument doc;
    doc.AddChild(u"new").SetAttributes(u"Topic", String(200, u'x'));
    responder().AnswerMessageBox(plat::mrOk);
    bool saved = true;
    if (::geteuid() != 0) {
        // A read-only folder: the new file cannot be made beside the old one.
        fs::permissions(dir.native(), fs::perms::owner_read | fs::perms::owner_exec);
        saved = TTest_Editor::Save_Table_File(doc, plat::Utf8ToString(path));
        fs::permissions(dir.native(), fs::perms::owner_all);
    } else {
        // Folder permissions do not bind the superuser: a file size limit cuts the write.
        rlimit old_limit{};
        ::getrlimit(RLIMIT_FSIZE, &old_limit);
        auto* old_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_limit;
        small.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &small);
        saved = TTest_Editor::Save_Table_File(doc, plat::Utf8ToString(path));
        ::setrlimit(RLIMIT_FSIZE, &old_limit);
        std::signal(SIGXFSZ, old_handler);
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(responder().MessageBoxes().size(), 1u);
    EXPECT_EQ(responder().MessageBoxes()[0].Request.Kind, plat::mtError);
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "<old/>\n");
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.native())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file left behind";
}

TEST_F(RuleEditorTest, WorkingModeReading)
{
    testsupport::TempDir dir;
    struct Case {
        const char* what;
        const char* content;  // nullptr: no file
        int mode;
        bool reported;
    };
    const Case cases[] = {
        {"no file", nullptr, 0, false},
        {"asynchronous", "<Par_Gen><Working_Mode>1</Working_Mode></Par_Gen>", 1, false},
        {"after a comment", "<!-- x --><Par_Gen><A/><Working_Mode>2</Working_Mode></Par_Gen>", 2, false},
        {"not a number", "<Par_Gen><Working_Mode>abc</Working_Mode></Par_Gen>", 0, false},
        {"no element", "<Par_Gen><Other>1</Other></Par_Gen>", 0, false},
        {"element with elements", "<Par_Gen><Working_Mode><x/></Working_Mode></Par_Gen>", 0, false},
        {"other root", "<Gen><Working_Mode>1</Working_Mode></Gen>", 0, false},
        {"cannot be parsed", "<Par_Gen><Working_Mode>1</Par_Gen>", 0, true},
    };
    const String file = dir / u"ParGen.xml";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(plat::StringToUtf8(file));
        if (c.content) std::ofstream(plat::StringToUtf8(file)) << c.content;
        const std::size_t boxes = responder().MessageBoxes().size();
        if (c.reported) responder().AnswerMessageBox(plat::mrOk);
        plat::TXMLDocument doc;
        EXPECT_EQ(TTest_Editor::Read_Working_Mode(doc, file), c.mode);
        EXPECT_EQ(responder().MessageBoxes().size(), boxes + (c.reported ? 1 : 0));
        if (c.reported) {
            const String text = responder().MessageTexts().back();
            const String head = u"Error! The file cannot be read: " + file + u"\r\n";
            EXPECT_EQ(text.substr(0, head.size()), head);
        }
    }
}

TEST_F(RuleEditorTest, GuardsAskBeforeRowsAreLost)
{
    grid::TExtColumnGrid* a = form->A->Grid;
    a->SetCells(1, 1, u"t1");
    a->SetCells(1, 3, u"t3");
    // A check box alone does not make a row used; a mnemonic does.
    a->SetCells(2, 2, u"Y");
    responder().AnswerMessageBox(plat::mrNo);
    EXPECT_FALSE(TTest_Editor::Confirm_Rows_Below_Empty_Key(*form->A, 1));
    EXPECT_EQ(responder().MessageTexts().back(),
              u"The rows after an empty row are not saved. Do you want to save without them? First empty row: 2");
    a->SetCells(1, 3, u"");
    EXPECT_TRUE(TTest_Editor::Confirm_Rows_Below_Empty_Key(*form->A, 1));

    form->File_Read = TTest_Editor::TFile_Read::Whole;
    EXPECT_TRUE(form->Confirm_Overwrite_Unread());
    form->File_Read = TTest_Editor::TFile_Read::Partial;
    responder().AnswerMessageBox(plat::mrNo);
    EXPECT_FALSE(form->Confirm_Overwrite_Unread());
}

} // namespace

namespace {

TEST_F(RuleEditorTest, SingleTableFillsTheWindowWithItsLooks)
{
    TSingle_Editor w;
    w.Show();
    pt::ProcessEvents();
    grid::TExtColumnGrid* g = w.T->Grid;
    EXPECT_EQ(g->Parent(), &w);
    EXPECT_FALSE(w.PageControl1->Visible());
    EXPECT_EQ(&w.Table_In_View(), w.T);
    EXPECT_EQ(g->Top(), w.P_Title->Height());
    EXPECT_EQ(g->Height(), w.ClientHeight() - w.P_Title->Height() - w.P_Button->Height());
    EXPECT_EQ(g->DefaultRowHeight(), 22);
    EXPECT_EQ(g->Columns()->GetItem(1)->Color(), 0xB0D8FF);
    EXPECT_EQ(g->Columns()->GetItem(1)->Alignment(), plat::taCenter);
    EXPECT_EQ(g->Columns()->GetItem(2)->Color(), 0xF4D6FC);
    EXPECT_EQ(g->Columns()->GetItem(2)->Alignment(), plat::taLeftJustify);

    // One list built once, copied into each column that lists it.
    plat::TStringList items;
    TSingle_Editor::Fill_Position_Items(items, 1440);
    ASSERT_EQ(items.Count(), 1441);
    EXPECT_EQ(items[0], u"None");
    EXPECT_EQ(items[1440], u"1439");
    TSingle_Editor::Set_Column_Items(*w.T, 2, items);
    TSingle_Editor::Set_Column_Items(*w.T, 3, items);
    EXPECT_EQ(g->Columns()->GetItem(3)->ComboItems()->Count(), 1441);

    // Rows in and out by real column; rows beyond the grid are never written.
    auto rows = Empty_Rule_Rows(6, 4);
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = {u"", u"Y", plat::IntToStr(int(r)), u"None"};
    TSingle_Editor::Put_Table_Cells(*w.T, rows);
    EXPECT_EQ(g->RowCount(), 5);
    const auto back = TSingle_Editor::Table_Cells(*w.T);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[3][2], u"3");
    EXPECT_EQ(back[0][0], u"") << "the row number is not part of the rows";
}

TEST_F(RuleEditorTest, LoadReportSaysOnceWhatTheFileLacked)
{
    TSingle_Editor w;
    struct Case {
        const char* what;
        TRule_Load load;
        TSingle_Editor::TFile_Read read;
        const char16_t* text;  // nullptr: no box
    };
    TRule_Load whole;
    whole.Found = true;
    TRule_Load unreadable = whole;
    unreadable.Unreadable = u"bad tag";
    TRule_Load partial = whole;
    partial.Missing_Table = u"Table_Write";
    partial.Missing_Row = 3;
    partial.Missing_Attribute = u"Index";
    partial.Rows_Left_Out = 7;
    TRule_Load left_out = whole;
    left_out.Rows_Left_Out = 1;
    const Case cases[] = {
        {"whole", whole, TSingle_Editor::TFile_Read::Whole, nullptr},
        {"unreadable", unreadable, TSingle_Editor::TFile_Read::Unreadable,
         u"Error! The file cannot be read: f.xml\r\nbad tag"},
        {"partial", partial, TSingle_Editor::TFile_Read::Partial,
         u"Error! The file f.xml was not read as it is:"
         u"\r\nthe element \"Table_Write\" is missing: its table stays empty."
         u"\r\nrow 3 lacks the attribute \"Index\": every row lacking it is loaded with that cell empty."
         u"\r\nrows beyond the last row of the table, left out (OK saves the table without them): 7"},
        {"left out", left_out, TSingle_Editor::TFile_Read::Partial,
         u"Error! The file f.xml was not read as it is:"
         u"\r\nrows beyond the last row of the table, left out (OK saves the table without them): 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t boxes = responder().MessageBoxes().size();
        if (c.text) responder().AnswerMessageBox(plat::mrOk);
        w.Report_Load(u"f.xml", c.load);
        EXPECT_EQ(w.File_Read, c.read);
        ASSERT_EQ(responder().MessageBoxes().size(), boxes + (c.text ? 1 : 0));
        if (c.text) EXPECT_EQ(responder().MessageTexts().back(), c.text);
    }
}

} // namespace
