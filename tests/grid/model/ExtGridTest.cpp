#include <gtest/gtest.h>

#include <functional>

#include <filesystem>
#include <unistd.h>
#include <memory>
#include <vector>

#include "ExtGrid.h"
#include "TestSupport.h"
#include "plat/Forms.h"
#include "plat/Streams.h"
#include "plat/IniFiles.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// Records the redraw switches the grid sends itself.
class RedrawGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<int> redraw;
    void WndProc(plat::TMessage& M) override {
        if (M.Msg == plat::WM_SETREDRAW) redraw.push_back(static_cast<int>(M.WParam));
        TExtStringGrid::WndProc(M);
    }
    using TExtStringGrid::Loaded;
};

class ExtGridTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 500);
        grid = new RedrawGrid(form.get());
        grid->SetParent(form.get());
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TForm> form;
    RedrawGrid* grid = nullptr;
};

TEST_F(ExtGridTest, StartValuesOfAGridCreatedInCode) {
    struct Case {
        const char* what;
        plat::String actual;
        plat::String expected;
    };
    TExtStringGrid& g = *grid;
    const Case cases[] = {
        {"RowCount", plat::IntToStr(g.RowCount()), u"10"},
        {"DefaultRowHeight", plat::IntToStr(g.DefaultRowHeight()), u"22"},
        {"Width", plat::IntToStr(g.Width()), u"400"},
        {"Height", plat::IntToStr(g.Height()), u"250"},
        {"FloatFormat", g.FloatFormat, u"%.2f"},
        {"CheckTrue", g.CheckTrue, u"Y"},
        {"CheckFalse", g.CheckFalse, u"N"},
        {"Look", plat::IntToStr(static_cast<int>(g.Look())), plat::IntToStr(static_cast<int>(glXP))},
        {"FilterDropDownClear", g.FilterDropDownClear, u"(All)"},
        {"PasswordChar", plat::String(1, g.PasswordChar), u"*"},
        {"XMLEncoding", g.XMLEncoding, u"ISO-8859-1"},
        {"ActiveCellColor()", plat::IntToStr(g.ActiveCellColor()), plat::IntToStr(plat::clGray)},
        {"SelectionColor()", plat::IntToStr(g.SelectionColor()), plat::IntToStr(0xEACAB6)},
        {"SelectionColorMixerFactor()", plat::IntToStr(g.SelectionColorMixerFactor()), u"50"},
        {"BorderColor", plat::IntToStr(g.BorderColor()), plat::IntToStr(0xB99D7F)},
        {"InvalidEntryIcon", plat::IntToStr(static_cast<int>(g.InvalidEntryIcon)), plat::IntToStr(static_cast<int>(ieWarning))},
        {"FixedFont", g.FixedFont()->Name() + (g.FixedFont()->Style().Contains(plat::fsBold) ? u" bold" : u""),
         u"Tahoma bold"},
        {"ActiveCellFont bold", g.ActiveCellFont()->Style().Contains(plat::fsBold) ? u"yes" : u"no", u"yes"},
        {"TotalXOffset", plat::IntToStr(g.TotalXOffset()), u"4"},
        {"Version", g.GetVersionString(), u"6.2.1.3"},
        {"SearchFooter caption at run time", g.SearchFooter()->FindNextCaption(), u""},
        {"Bands.TotalLength", plat::IntToStr(g.Bands()->TotalLength()), u"2"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.what;
    EXPECT_FALSE(g.LockUpdate());
}

TEST_F(ExtGridTest, NestedUpdateLocksRepaintOnlyAtTheLastEnd) {
    form->Show();
    pt::ProcessEvents();
    grid->redraw.clear();
    grid->BeginUpdate();
    grid->BeginUpdate();
    grid->EndUpdate();
    EXPECT_TRUE(grid->LockUpdate());
    EXPECT_EQ(grid->redraw, (std::vector<int>{0, 0})) << "redrawing stays off after one of two ends";
    grid->EndUpdate();
    EXPECT_FALSE(grid->LockUpdate());
    EXPECT_EQ(grid->redraw, (std::vector<int>{0, 0, 1}));
    grid->EndUpdate();  // one end too many leaves the count at 0
    EXPECT_EQ(grid->UpdateCount(), 0);

}

TEST_F(ExtGridTest, UpdateLockAcrossVisibilityChanges) {
    form->Show();
    pt::ProcessEvents();
    struct Step {
        const char* what;
        std::function<void(RedrawGrid&)> act;
        int count;
        std::vector<int> redraw;  // switches sent by this step
    };
    const Step steps[] = {
        // Hidden inside a bracket: the end still counts, and nothing is switched while hidden.
        {"begin while visible", [](RedrawGrid& g) { g.BeginUpdate(); }, 1, {0}},
        {"hide", [](RedrawGrid& g) { g.SetVisible(false); }, 1, {}},
        {"end while hidden", [](RedrawGrid& g) { g.EndUpdate(); }, 0, {}},
        {"show with count 0 redraws", [](RedrawGrid& g) { g.SetVisible(true); }, 0, {1}},
        // Begun while hidden, shown inside the bracket: off until the end.
        {"hide again", [](RedrawGrid& g) { g.SetVisible(false); }, 0, {}},
        {"begin while hidden counts", [](RedrawGrid& g) { g.BeginUpdate(); }, 1, {}},
        {"show inside the bracket", [](RedrawGrid& g) { g.SetVisible(true); }, 1, {0}},
        {"end redraws", [](RedrawGrid& g) { g.EndUpdate(); }, 0, {1}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        grid->redraw.clear();
        s.act(*grid);
        EXPECT_EQ(grid->UpdateCount(), s.count);
        EXPECT_EQ(grid->LockUpdate(), s.count != 0);
        EXPECT_EQ(grid->redraw, s.redraw);
    }
}

TEST_F(ExtGridTest, StringGridHooks) {
    grid->SetColCount(4);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    // Without OnGetEditorType no cell lacks an editor.
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 10; ++r) EXPECT_FALSE(grid->HasNoEditor(c, r)) << c << "," << r;
    grid->OnGetEditorType = [](plat::TObject*, int ACol, int, TEditorType& e) {
        if (ACol == 2) e = edNone;
    };
    EXPECT_TRUE(grid->HasNoEditor(2, 3));
    EXPECT_FALSE(grid->HasNoEditor(1, 3));

    struct FixedCase {
        int col, row;
        bool fixed;
    };
    for (const FixedCase& c : {FixedCase{0, 5, true}, {2, 0, true}, {2, 5, false}}) {
        bool f = false;
        grid->IsFixedCell(c.col, c.row, f);
        EXPECT_EQ(f, c.fixed) << c.col << "," << c.row;
    }
    int fired = 0;
    grid->OnIsFixedCell = [&](plat::TObject*, int, int, bool& f) { ++fired; f = true; };
    bool f = false;
    grid->IsFixedCell(0, 5, f);
    EXPECT_EQ(fired, 0) << "the event is asked only about cells the grid calls normal";
    f = false;
    grid->IsFixedCell(2, 5, f);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(f);

    // Check values: the grid's, then the event's.
    EXPECT_EQ(grid->GetCheckTrue(2, 2), u"Y");
    grid->OnGetCheckTrue = [](plat::TObject*, int, int, plat::String& v) { v = u"1"; };
    EXPECT_EQ(grid->GetCheckTrue(2, 2), u"1");
    EXPECT_EQ(grid->GetCheckFalse(2, 2), u"N");

    // Events name row and column in the order they declare.
    int gotRow = -1, gotCol = -1;
    grid->OnCanEditCell = [&](plat::TObject*, int ARow, int ACol, bool&) { gotRow = ARow; gotCol = ACol; };
    bool can = true;
    grid->CanEditCell(3, 7, can);
    EXPECT_EQ(gotRow, 7);
    EXPECT_EQ(gotCol, 3);
}

TEST_F(ExtGridTest, CellColourAndFontComeFromActiveCellAndCellProperties) {
    grid->SetColCount(4);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetActiveCellShow(true);
    grid->MoveColRow(2, 3, true, false);
    TCellProperties* p = grid->GetCellProperties(3, 5);
    p->SetBrushColor(plat::clAqua);
    p->FontColor = plat::clRed;
    p->FontSize = 14;
    struct Case {
        int col, row;
        TColor brush;
        bool bold;
        TColor font;
    };
    const Case cases[] = {
        {0, 3, plat::clGray, true, plat::clWindowText},  // row header of the current row: ActiveCellFont
        {2, 0, plat::clGray, true, plat::clWindowText},  // column header of the current column
        {0, 4, plat::clWhite, false, plat::clBlack},
        {3, 5, plat::clAqua, false, plat::clRed},
    };
    for (const Case& c : cases) {
        plat::TBrush brush;
        brush.SetColor(plat::clWhite);
        plat::TFont font;
        font.SetColor(plat::clBlack);
        grid->GetCellColor(c.col, c.row, plat::TGridDrawState{}, &brush, &font);
        EXPECT_EQ(brush.Color(), c.brush) << c.col << "," << c.row;
        EXPECT_EQ(font.Style().Contains(plat::fsBold), c.bold) << c.col << "," << c.row;
        EXPECT_EQ(font.Color(), c.font) << c.col << "," << c.row;
    }
    EXPECT_EQ(grid->GetCellFont(3, 5)->Size(), 14);
    EXPECT_EQ(grid->GetCellFont(3, 5)->Color(), plat::clRed);
    EXPECT_EQ(grid->GetCellFont(1, 1), grid->Font()) << "a cell without properties uses the grid's font";
}

TEST_F(ExtGridTest, CheckCanEditFollowsEditingOptionAndReadOnlyCells) {
    grid->SetColCount(4);
    grid->GetCellProperties(2, 2)->ReadOnly = true;
    struct Case {
        bool editing;
        int col, row;
        bool expected;
    };
    const Case cases[] = {
        {true, 1, 1, true}, {true, 2, 2, false}, {false, 1, 1, false}, {false, 2, 2, false},
    };
    for (const Case& c : cases) {
        plat::TGridOptions o = grid->Options();
        grid->SetOptions(c.editing ? o.Include(plat::goEditing) : o.Exclude(plat::goEditing));
        bool can = true;
        grid->CheckCanEdit(c.col, c.row, can);
        EXPECT_EQ(can, c.expected) << "editing " << c.editing << " cell " << c.col << "," << c.row;
    }
}

TEST_F(ExtGridTest, ColumnFilterListsEachValueOnceAfterTheClearEntry) {
    grid->SetColCount(3);
    grid->SetFixedRows(1);
    grid->SetRowCount(5);
    grid->FilterDropDownAuto = true;
    grid->SetCells(1, 0, u"header");
    grid->SetCells(1, 1, u"c");
    grid->SetCells(1, 2, u" a b ");
    grid->SetCells(1, 3, u"c");
    grid->SetCells(1, 4, u"");
    ASSERT_TRUE(grid->GetColumnFilter(1));
    const plat::TStringList* l = grid->FilterList();
    std::vector<plat::String> got;
    for (int i = 0; i < l->Count(); ++i) got.push_back(l->Strings(i));
    EXPECT_EQ(got, (std::vector<plat::String>{u"(All)", u"", u"a b=\"a b\"", u"c"}));

    grid->FilterDropDownAuto = false;
    EXPECT_FALSE(grid->GetColumnFilter(1)) << "no automatic list, no event";
}

TEST_F(ExtGridTest, AssignCopiesSettingsLayoutAndCells) {
    auto src = std::make_unique<TExtStringGrid>(nullptr);
    src->SetColCount(4);
    src->SetRowCount(6);
    src->SetFixedRows(1);
    src->SetColWidths(2, 91);
    src->SetCells(1, 1, u"plain");
    src->SetCells(2, 3, u"two\r\nlines #13 #");
    src->SetCells(3, 5, u"last");
    src->CheckTrue = u"changed";  // not a copied setting
    src->SetActiveCellColor(plat::clRed);
    src->Bands()->SetActive(true);
    src->Navigation()->AlwaysEdit = true;
    src->InvalidEntryTitle = u"Bad";

    grid->MultilineCells = true;  // a target with single-line cells keeps only first lines
    grid->Assign(src.get());
    EXPECT_EQ(grid->ColCount(), 4);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_EQ(grid->ColWidths(2), 91);
    EXPECT_EQ(grid->Cells(1, 1), u"plain");
    EXPECT_EQ(grid->Cells(2, 3), u"two\r\nlines #13 #");
    EXPECT_EQ(grid->Cells(3, 5), u"last");
    EXPECT_EQ(grid->ActiveCellColor(), plat::clRed);
    EXPECT_TRUE(grid->Bands()->Active());
    EXPECT_TRUE(grid->Navigation()->AlwaysEdit);
    EXPECT_EQ(grid->InvalidEntryTitle, u"Bad");
    EXPECT_EQ(grid->CheckTrue, u"Y");

    plat::TStringList notAGrid;
    grid->Assign(&notAGrid);  // ignored
    EXPECT_EQ(grid->Cells(1, 1), u"plain");
}

TEST_F(ExtGridTest, CellTextFormatLines) {
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetColWidths(0, 30);
    grid->SetColWidths(1, 40);
    grid->SetCells(1, 1, u"x\r\ny");
    plat::TMemoryStream out;
    grid->SaveToStream(out);
    auto utf16 = [](const plat::String& s) {
        std::string b;
        for (char16_t u : s) {
            b += static_cast<char>(u & 0xFF);
            b += static_cast<char>(u >> 8);
        }
        return b;
    };
    EXPECT_EQ(out.Bytes(), utf16(u"2,2\r\ncw 0,30\r\ncw 1,40\r\n1,1,x\x09\x08y\r\n"));
    // Entries outside the announced size are dropped rather than written past it; the load
    // stops in front of a line that is not one of the stream's.
    plat::TMemoryStream in;
    in.LoadFromBytes(utf16(u"2,2\r\n1,1,ok\r\n5,1,outside\r\ngarbage\r\n"));
    auto other = std::make_unique<TExtStringGrid>(nullptr);
    other->LoadFromStream(in);
    EXPECT_EQ(other->Cells(1, 1), u"ok");
    EXPECT_EQ(other->Cells(5, 1), u"");
    EXPECT_EQ(in.Position(), static_cast<std::int64_t>(utf16(u"2,2\r\n1,1,ok\r\n5,1,outside\r\n").size()));
}

TEST_F(ExtGridTest, LoadedResetsLimitsAndMovesAlwaysShowEditorToNavigation) {
    grid->BeginLoading();
    grid->MinColWidth = 30;
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goAlwaysShowEditor));
    grid->EndLoading();
    EXPECT_EQ(grid->MinColWidth, 10);
    EXPECT_EQ(grid->MinRowHeight, grid->DefaultRowHeight());
    EXPECT_TRUE(grid->Navigation()->AlwaysEdit);
    EXPECT_FALSE(grid->Options().Contains(plat::goAlwaysShowEditor));
}

TEST_F(ExtGridTest, FormResizeRunsTheFormHandlerOnceThroughTheChain) {
    auto f = std::make_unique<plat::TForm>(nullptr);
    int calls = 0;
    f->OnResize = [&](plat::TObject*) { ++calls; };
    auto* g1 = new TExtStringGrid(f.get());
    auto* g2 = new TExtStringGrid(f.get());
    g1->SetParent(f.get());
    g2->SetParent(f.get());
    g2->SizeWithForm = true;
    f->SetBounds(0, 0, 500, 400);
    const int before = calls;
    const int w2 = g2->Width();
    f->SetBounds(0, 0, 520, 400);
    EXPECT_EQ(calls - before, 1);
    EXPECT_EQ(g2->Width(), w2 + 20) << "SizeWithForm follows the form's growth";
    // The first grid goes before the second: the chain must not call into it.
    delete g1;
    f->SetBounds(0, 0, 540, 400);
    EXPECT_EQ(calls - before, 2);
    delete g2;
    f->SetBounds(0, 0, 560, 400);
    EXPECT_EQ(calls - before, 3) << "the form keeps its own handler";
}

// The form's own resize handler runs after the grids are sized; its error is the caller's.
TEST_F(ExtGridTest, AnErrorOfTheFormsResizeHandlerReachesTheCallerWithTheGridSized) {
    auto f = std::make_unique<plat::TForm>(nullptr);
    bool fail = false;
    f->OnResize = [&](plat::TObject*) {
        if (fail) throw plat::Exception(u"Resize failed");
    };
    auto* g = new TExtStringGrid(f.get());
    g->SetParent(f.get());
    g->SizeWithForm = true;
    f->SetBounds(0, 0, 500, 400);
    const int w = g->Width();
    fail = true;
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { f->SetBounds(0, 0, 520, 400); }, u"Resize failed"));
    EXPECT_EQ(g->Width(), w + 20);
}

TEST_F(ExtGridTest, ColumnSizesRoundTripThroughIniFile) {
    const testsupport::TempDir dir;
    const plat::String ini = dir / u"sizes.ini";
    grid->SetColCount(3);
    grid->ColumnSize()->Key = ini;
    grid->ColumnSize()->Section = u"Grid";
    grid->ColumnSize()->Location = clIniFile;
    grid->SetColWidths(1, 77);
    grid->SaveColSizes();
    EXPECT_EQ(plat::TIniFile(ini).ReadInteger(u"Grid", u"Col1", -1), 77);
    grid->SetColWidths(1, 20);
    grid->LoadColSizes();
    EXPECT_EQ(grid->ColWidths(1), 77);
}

TEST(GridSettings, BandsAndMouseActions) {
    TBands b;
    int changes = 0;
    b.OnChange = [&](plat::TObject*) { ++changes; };
    b.SetPrimaryColor(plat::clRed);
    EXPECT_EQ(changes, 0) << "inactive bands do not repaint";
    EXPECT_EQ(b.PrimaryColor(), plat::clRed);
    b.SetActive(true);
    b.SetPrimaryLength(3);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(b.TotalLength(), 4);
    TBands c;
    c.Assign(&b);
    EXPECT_EQ(c.TotalLength(), 4);

    TMouseActions m;
    int inval = 0;
    m.OnInvalidate = [&](plat::TObject*) { ++inval; };
    m.SetHotmailRowSelect(false);
    EXPECT_FALSE(m.DisjunctRowSelect());
    EXPECT_EQ(inval, 1);
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck);
}

TEST_F(ExtGridTest, SyncGridNeverPointsAtItsOwnGrid) {
    auto other = std::make_unique<TExtStringGrid>(nullptr);
    grid->SyncGrid()->SetGrid(other.get());
    grid->SyncGrid()->SetGrid(grid);
    EXPECT_EQ(grid->SyncGrid()->Grid(), other.get());
}

} // namespace
