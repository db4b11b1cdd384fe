// Cutting and pasting through the clipboard: text, rich text and the grid's own cell format,
// read-only cells, undo sequences, events, and the "smart" fill of a larger selection.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "BaseGridUndo.h"
#include "ExtGrid.h"
#include "GridFileFixture.h"
#include "plat/Clipbrd.h"
#include "plat/SysUtils.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;

namespace {

using testsupport::ThrowsWith;

// Records what a paste reports through the grid's hooks.
class RecordingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    struct Done {
        plat::TPoint source;
        plat::TRect target;
    };
    std::vector<Done> done;
    std::vector<std::string> notes;
    void PasteDone(const plat::TPoint& ClipSource, const plat::TRect& Target, TClipOperation LastOp) override {
        done.push_back({ClipSource, Target});
        TExtStringGrid::PasteDone(ClipSource, Target, LastOp);
    }
    void ImportNotification(TGridImportState AState, int ARow) override {
        static const char* const names[] = {"start", "new", "done", "sel"};
        notes.push_back(std::string(names[AState]) + std::to_string(ARow));
    }
    void BeginPaste() override { notes.push_back("begin"); }
    void EndPaste() override { notes.push_back("end"); }
};

class GridPasteTest : public grid::testing::GridFileTest {
protected:
    void SetUp() override {
        grid::testing::GridFileTest::SetUp();
        savedFormat = plat::FormatSettings;
        plat::FormatSettings = plat::TFormatSettings{};
    }
    void TearDown() override {
        plat::FormatSettings = savedFormat;
        plat::HoldClipboard(false);
        grid::testing::GridFileTest::TearDown();
    }
    RecordingGrid* MakeGrid(int cols, int rows) {
        auto* g = new RecordingGrid(form.get());
        g->SetParent(form.get());
        g->SetColCount(cols);
        g->SetRowCount(rows);
        g->SetFixedCols(0);
        g->SetFixedRows(0);
        plat::TGridOptions o = g->Options();
        g->SetOptions(o.Include(plat::goEditing));
        return g;
    }
    static std::vector<String> Column(TExtStringGrid& g, int c, int from, int to) {
        std::vector<String> v;
        for (int r = from; r <= to; ++r) v.push_back(g.Cells(c, r));
        return v;
    }
    plat::TFormatSettings savedFormat;
};

// What one grid copies another pastes back unchanged: multi-line cells, wide cells, and the
// hidden column's cells in their real column.
TEST_F(GridPasteTest, TextRoundTrip) {
    RecordingGrid* g = MakeGrid(4, 3);
    g->SetCells(0, 0, u"a");
    g->SetCells(1, 0, u"hidden");
    g->SetCells(2, 0, u"x\r\ny\r\n\r\nz");
    g->SetCells(3, 0, EncodeEscapedUnicode(u"\u4e2d"));
    g->SetCells(0, 1, u"c\"q\"");
    g->HideColumn(1);
    g->SetSelection(plat::TGridRect{0, 0, 2, 1});
    g->CopySelectionToClipboard();

    RecordingGrid* h = MakeGrid(5, 3);
    h->SetCells(2, 0, u"old hidden");
    h->HideColumn(2);
    h->SetSelection(plat::TGridRect{1, 0, 1, 0});
    h->PasteSelectionFromClipboard();
    EXPECT_EQ(h->Cells(1, 0), u"a");
    EXPECT_EQ(h->Cells(2, 0), u"old hidden");
    EXPECT_EQ(h->Cells(3, 0), u"x\r\ny\r\n\r\nz");
    EXPECT_EQ(h->Cells(4, 0), u"\u4e2d");  // the wide cell arrives as its characters
    EXPECT_EQ(h->Cells(1, 1), u"c\"q\"");
    EXPECT_EQ(h->RowCount(), 3);  // the final line end adds no row
    EXPECT_EQ(h->notes, (std::vector<std::string>{"start-1", "sel0", "sel1", "sel1"}));
    ASSERT_EQ(h->done.size(), 1u);
    EXPECT_EQ(h->done[0].target, (plat::TRect{1, 0, 3, 1}));
    Check(*h);

    // PasteFromClipboard pastes at the save range's top-left and reports new rows.
    h->notes.clear();
    h->PasteFromClipboard();
    EXPECT_EQ(h->Cells(0, 0), u"a");
    EXPECT_EQ(h->notes, (std::vector<std::string>{"start-1", "new0", "new1", "new1", "done-1"}));
}

// Read-only cells keep their text unless AllowClipboardAlways; a grid that cannot edit takes
// nothing; events may change or refuse a value.
TEST_F(GridPasteTest, EditabilityAndEvents) {
    RecordingGrid* g = MakeGrid(3, 2);
    g->SetReadOnly(1, 0, true);
    plat::Clipboard().SetAsText(u"p\tq\tr");
    g->SetSelection(plat::TGridRect{0, 0, 0, 0});
    std::vector<String> after;
    g->OnClipboardBeforePasteCell = [](plat::TObject*, int c, int, String& v, bool& allow) {
        if (c == 2) v = u"R";
        if (v == u"p") allow = false;
    };
    g->OnClipboardAfterPasteCell = [&](plat::TObject*, int, int, const String& v) { after.push_back(v); };
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(0, 0), u"");
    EXPECT_EQ(g->Cells(1, 0), u"");
    EXPECT_EQ(g->Cells(2, 0), u"R");
    EXPECT_EQ(after, (std::vector<String>{u"R"}));

    g->OnClipboardBeforePasteCell = nullptr;
    g->Navigation()->AllowClipboardAlways = true;
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(1, 0), u"q");

    RecordingGrid* ro = MakeGrid(2, 2);
    plat::TGridOptions o = ro->Options();
    ro->SetOptions(o.Exclude(plat::goEditing));
    ro->PasteFromClipboard();
    EXPECT_EQ(ro->Cells(0, 0), u"");
}

// Check-box cells take their state from the pasted text; undo takes a whole paste back.
TEST_F(GridPasteTest, CheckBoxesAndUndo) {
    RecordingGrid* g = MakeGrid(3, 2);
    TExtGridUndoRedo undo(form.get());
    undo.SetGrid(g);
    g->SetUndoRedo(&undo);
    g->AddCheckBox(1, 0, false, false);
    g->SetCells(0, 0, u"before");
    plat::Clipboard().SetAsText(u"after\tY\tz");
    g->SetSelection(plat::TGridRect{0, 0, 0, 0});
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(0, 0), u"after");
    EXPECT_TRUE(g->IsChecked(1, 0));
    EXPECT_EQ(g->Cells(2, 0), u"z");
    undo.Undo();
    EXPECT_EQ(g->Cells(0, 0), u"before");
    EXPECT_EQ(g->Cells(2, 0), u"");
    g->SetUndoRedo(nullptr);
}

// Growth of the grid and row insertion.
TEST_F(GridPasteTest, GrowthAndInsert) {
    struct Case {
        const char* name;
        const char16_t* text;
        bool colGrow, rowGrow, insert;
        int cols, rows;
        std::vector<String> col1;  // column 1, rows 0..3 (rows beyond the grid as "-")
    };
    const std::vector<Case> cases = {
        {"grows", u"a\tb\tc\r\nd\r\n", true, true, false, 4, 3, {u"r0", u"a", u"d", u"-"}},
        {"column growth off", u"a\tb\tc\r\nd\r\n", false, true, false, 3, 3, {u"r0", u"a", u"d", u"-"}},
        {"row growth off", u"a\r\nb\r\nc", true, false, false, 3, 3, {u"r0", u"a", u"b", u"-"}},
        {"insert", u"x\r\ny\r\n", true, true, true, 3, 5, {u"r0", u"x", u"y", u"r1"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        RecordingGrid* g = MakeGrid(3, 3);
        for (int r = 0; r < 3; ++r) g->SetCells(1, r, u"r" + plat::IntToStr(r));
        g->Navigation()->AllowClipboardColGrow = k.colGrow;
        g->Navigation()->AllowClipboardRowGrow = k.rowGrow;
        g->Navigation()->ClipboardPasteAction = k.insert ? paInsert : paReplace;
        plat::Clipboard().SetAsText(k.text);
        g->SetSelection(plat::TGridRect{1, 1, 1, 1});
        g->PasteSelectionFromClipboard();
        EXPECT_EQ(g->ColCount(), k.cols);
        EXPECT_EQ(g->RowCount(), k.rows);
        std::vector<String> col1;
        for (int r = 0; r < 4; ++r) col1.push_back(r < g->RowCount() ? g->Cells(1, r) : String(u"-"));
        EXPECT_EQ(col1, k.col1);
        Check(*g);
    }
}

// The smart fill of a single column selection (rows 1..5 of column 1).
TEST_F(GridPasteTest, SmartFill) {
    struct Case {
        const char* name;
        const char16_t* text;
        int bottom;
        std::vector<String> expect;  // rows 1..5
        int afterEvents;  // of the paste and of the fill; the fill rewrites the second value in its form
    };
    const std::vector<Case> cases = {
        {"one value into four cells", u"5", 4, {u"5", u"5", u"5", u"5", u"o"}, 4},
        {"integers", u"1\r\n3\r\n", 5, {u"1", u"3", u"5", u"7", u"9"}, 6},
        {"floats with the float format", u"1.5\r\n2.0\r\n", 4, {u"1.5", u"2.00", u"2.50", u"3.00", u"o"}, 5},
        {"days", u"30/12/2025\r\n31/12/2025\r\n", 4,
         {u"30/12/2025", u"31/12/2025", u"01/01/2026", u"02/01/2026", u"o"}, 5},
        {"months end at a missing 31st", u"31/07/2026\r\n31/08/2026\r\n", 5,
         {u"31/07/2026", u"31/08/2026", u"o", u"o", u"o"}, 3},
        {"years", u"15/03/2024\r\n15/03/2025\r\n", 3, {u"15/03/2024", u"15/03/2025", u"15/03/2026", u"o", u"o"}, 4},
        {"times", u"10:00\r\n10:30\r\n", 3, {u"10:00", u"10:30:00", u"11:00:00", u"o", u"o"}, 4},
        {"texts repeat", u"a\r\nb\r\n", 5, {u"a", u"b", u"a", u"b", u"a"}, 5},
        {"texts without a final line end repeat", u"a\r\nb", 5, {u"a", u"b", u"a", u"b", u"a"}, 5},
        {"n = S + 1: the paste only", u"1\r\n2\r\n3\r\n", 3, {u"1", u"2", u"3", u"o", u"o"}, 3},
        {"unreadable second value", u"1.5\r\nx.y\r\n", 4, {u"1.5", u"x.y", u"o", u"o", u"o"}, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        RecordingGrid* g = MakeGrid(3, 7);
        for (int r = 1; r <= 5; ++r) g->SetCells(1, r, u"o");
        g->Navigation()->AllowSmartClipboard = true;
        int after = 0;
        g->OnClipboardAfterPasteCell = [&](plat::TObject*, int, int, const String&) { ++after; };
        plat::Clipboard().SetAsText(k.text);
        g->SetSelection(plat::TGridRect{1, 1, 1, k.bottom});
        g->PasteSelectionFromClipboard();
        EXPECT_EQ(Column(*g, 1, 1, 5), k.expect);
        EXPECT_EQ(after, k.afterEvents);
        EXPECT_EQ(g->RowCount(), 7);
    }
}

// A single pasted row repeats along a row selection with its own period, and down a block.
TEST_F(GridPasteTest, SmartFillOfRowsAndBlocks) {
    RecordingGrid* g = MakeGrid(6, 4);
    g->Navigation()->AllowSmartClipboard = true;
    g->SetReadOnly(4, 0, true);
    plat::Clipboard().SetAsText(u"a\tb");
    g->SetSelection(plat::TGridRect{0, 0, 5, 0});
    g->PasteSelectionFromClipboard();
    std::vector<String> row;
    for (int c = 0; c < 6; ++c) row.push_back(g->Cells(c, 0));
    EXPECT_EQ(row, (std::vector<String>{u"a", u"b", u"a", u"b", u"", u"b"}));

    g->SetSelection(plat::TGridRect{1, 1, 2, 3});
    g->PasteSelectionFromClipboard();
    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(g->Cells(1, r), u"a");
        EXPECT_EQ(g->Cells(2, r), u"b");
    }
    EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 1, 2, 3}));
}

// Cut clears exactly the editable cells of the selection in one undo sequence.
TEST_F(GridPasteTest, CutSelection) {
    RecordingGrid* g = MakeGrid(3, 3);
    TExtGridUndoRedo undo(form.get());
    undo.SetGrid(g);
    g->SetUndoRedo(&undo);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r) g->SetCells(c, r, plat::IntToStr(c * 10 + r));
    g->SetReadOnly(1, 1, true);
    g->ShowModified()->SetEnabled(true);
    g->SetSelection(plat::TGridRect{0, 1, 1, 2});
    g->CutSelectionToClipboard();
    EXPECT_EQ(plat::Clipboard().AsText(), u"1\t11\r\n2\t12\r\n");
    EXPECT_EQ(g->ClipLastOp, TExtStringGrid::coCut);
    EXPECT_EQ(g->Cells(0, 1), u"");
    EXPECT_EQ(g->Cells(0, 2), u"");
    EXPECT_EQ(g->Cells(1, 1), u"11");
    EXPECT_EQ(g->Cells(1, 2), u"");
    EXPECT_EQ(g->Cells(2, 1), u"21");
    EXPECT_TRUE(g->RowModified(1));
    undo.Undo();
    EXPECT_EQ(g->Cells(0, 1), u"1");
    EXPECT_EQ(g->Cells(0, 2), u"2");
    EXPECT_EQ(g->Cells(1, 2), u"12");

    // CutToClipboard: the save range; AllowClipboardAlways clears read-only cells too.
    g->Navigation()->AllowClipboardAlways = true;
    g->CutToClipboard();
    for (int c = 0; c < 3; ++c)
        for (int r = 1; r < 3; ++r) EXPECT_EQ(g->Cells(c, r), u"") << c << "," << r;
    EXPECT_EQ(g->Cells(0, 0), u"");
    g->SetUndoRedo(nullptr);
}

// The own format carries properties between grids; PasteDone learns the source's top-left
// only when the cells came from the same grid.
TEST_F(GridPasteTest, OwnFormat) {
    RecordingGrid* g = MakeGrid(5, 5);
    g->Navigation()->AllowFmtClipboard = true;
    g->SetCells(2, 2, u"prop");
    g->GetCellProperties(2, 2)->SetBrushColor(0x00123456);
    g->SetCells(3, 3, u"d");
    g->SetSelection(plat::TGridRect{2, 2, 3, 3});
    g->CopySelectionToClipboard();

    RecordingGrid* h = MakeGrid(3, 3);
    h->Navigation()->AllowFmtClipboard = true;
    h->SetSelection(plat::TGridRect{1, 1, 1, 1});
    h->PasteSelectionFromClipboard();
    EXPECT_EQ(h->Cells(1, 1), u"prop");
    EXPECT_EQ(h->GetCellProperties(1, 1)->BrushColor(), 0x00123456);
    EXPECT_EQ(h->Cells(2, 2), u"d");
    EXPECT_EQ(h->ColCount(), 3);
    EXPECT_EQ(h->RowCount(), 3);
    ASSERT_EQ(h->done.size(), 1u);
    EXPECT_EQ(h->done[0].source, (plat::TPoint{-1, -1}));
    EXPECT_EQ(h->done[0].target, (plat::TRect{1, 1, 2, 2}));
    EXPECT_EQ(h->notes, (std::vector<std::string>{"start-1", "begin", "end"}));

    g->SetSelection(plat::TGridRect{0, 0, 0, 0});
    g->PasteSelectionFromClipboard();
    ASSERT_EQ(g->done.size(), 1u);
    EXPECT_EQ(g->done[0].source, (plat::TPoint{2, 2}));
    EXPECT_EQ(g->Cells(0, 0), u"prop");

    // A hostile block is refused before the grid grows.
    std::string bad = plat::Clipboard().GetAsHandle(plat::RegisterClipboardFormat(u"TExtStringGrid Cells"));
    bad.resize(bad.size() / 2);
    plat::Clipboard().SetAsHandle(plat::RegisterClipboardFormat(u"TExtStringGrid Cells"), bad);
    RecordingGrid* k = MakeGrid(2, 2);
    k->Navigation()->AllowFmtClipboard = true;
    EXPECT_THROW(k->PasteFromClipboard(), plat::Exception);
    EXPECT_EQ(k->ColCount(), 2);
    EXPECT_EQ(k->RowCount(), 2);
    Check(*k);
}

// The own format may come from any program: damaged blocks end in an error or a sound grid,
// and never grow the grid beyond what the block's bytes could fill.
TEST_F(GridPasteTest, MutatedOwnFormatBlocks) {
    RecordingGrid* g = MakeGrid(4, 4);
    g->Navigation()->AllowFmtClipboard = true;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) g->SetCells(c, r, plat::IntToStr(c * 10 + r) + (r == 1 ? u"\u00e9\u4e2d" : u""));
    g->GetCellProperties(1, 1)->SetBrushColor(0x00123456);
    g->MergeCells(2, 2, 2, 2);
    g->AddCheckBox(0, 3, true, false);
    g->SetSelection(plat::TGridRect{0, 0, 3, 3});
    g->CopySelectionToClipboard();
    const plat::UINT fmt = plat::RegisterClipboardFormat(u"TExtStringGrid Cells");
    const std::string valid = plat::Clipboard().GetAsHandle(fmt);
    std::mt19937 rng(20261211);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        std::string b = valid;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 4) {
            case 0: b[at] = static_cast<char>(rng()); break;
            case 1: b.erase(at, 1 + rng() % 8); break;
            case 2: b[at] = static_cast<char>(0x7F + rng() % 2); break;
            default: b.resize(at); break;
            }
        }
        plat::Clipboard().SetAsHandle(fmt, b);
        RecordingGrid* h = MakeGrid(3, 3);
        h->Navigation()->AllowFmtClipboard = true;
        h->Navigation()->ClipboardPasteAction = i % 3 == 0 ? paInsert : paReplace;
        h->SetSelection(plat::TGridRect{1, 1, 1, 1});
        try {
            h->PasteSelectionFromClipboard();
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(static_cast<long long>(h->ColCount()) * h->RowCount(), 10000);
        Check(*h);
        delete h;
    }
}

// Rich text goes beside the plain text on copy and back into one cell on paste.
TEST_F(GridPasteTest, RichText) {
    RecordingGrid* g = MakeGrid(3, 3);
    g->Navigation()->AllowRTFClipboard = true;
    const String rtf = u"{\\rtf1\\ansi {\\b caf\\'e9} \u4e2d}";
    g->SetCells(1, 1, rtf);
    g->SetCells(2, 1, u"plain");
    g->SetSelection(plat::TGridRect{1, 1, 2, 1});
    g->CopySelectionToClipboard();
    const plat::UINT fmt = plat::RegisterClipboardFormat(u"Rich Text Format");
    ASSERT_TRUE(plat::Clipboard().HasFormat(fmt));
    const std::string block = plat::Clipboard().GetAsHandle(fmt);
    EXPECT_EQ(block, plat::StringToUtf8(rtf) + std::string(1, '\0'));
    EXPECT_EQ(plat::Clipboard().AsText(), u"caf\u00e9 \u4e2d\tplain");

    RecordingGrid* h = MakeGrid(2, 2);
    h->Navigation()->AllowRTFClipboard = true;
    h->SetSelection(plat::TGridRect{0, 1, 0, 1});
    h->PasteSelectionFromClipboard();
    EXPECT_EQ(h->Cells(0, 1), rtf);
    EXPECT_EQ(h->Cells(1, 1), u"");
}

TEST_F(GridPasteTest, TextTableSize) {
    struct Case {
        const char16_t* text;
        int cols, rows;
    };
    const Case cases[] = {
        {u"a", 1, 0}, {u"a\tb\r\nc\r\n", 2, 1}, {u"a\r\nb\tc\td\r\n\r\ne", 3, 2}, {u"", 1, 0},
    };
    RecordingGrid* g = MakeGrid(2, 2);
    for (const Case& k : cases) {
        SCOPED_TRACE(plat::StringToUtf8(k.text));
        int cols = -1, rows = -1;
        g->GetTextTableSize(k.text, cols, rows);
        EXPECT_EQ(cols, k.cols);
        EXPECT_EQ(rows, k.rows);
    }
}

TEST_F(GridPasteTest, HeldClipboard) {
    RecordingGrid* g = MakeGrid(2, 2);
    g->SetCells(1, 1, u"kept");
    plat::Clipboard().SetAsText(u"x");
    plat::HoldClipboard(true);
    EXPECT_TRUE(ThrowsWith<plat::EClipboardException>([&] { g->PasteFromClipboard(); }, u"Cannot open clipboard"));
    EXPECT_TRUE(ThrowsWith<plat::EClipboardException>([&] { g->CutToClipboard(); }, u"Cannot open clipboard"));
    plat::HoldClipboard(false);
    EXPECT_EQ(g->Cells(0, 0), u"");
    EXPECT_EQ(g->Cells(1, 1), u"kept");
}

} // namespace
