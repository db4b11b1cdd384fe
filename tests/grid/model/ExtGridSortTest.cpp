// Sorting of the string grid: the sort settings, cell comparison by style, every sort entry
// point and undoing a sort.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"
#include "TestSupport.h"

using namespace grid;
using grid::testing::GridFixture;
using testsupport::ThrowsWith;
using plat::String;
using Texts = std::vector<String>;

namespace {

class SortSettingsTest : public GridFixture<> {};

TEST_F(SortSettingsTest, DefaultsAreThoseAGridStartsWith) {
    const TSortSettings& s = *grid->SortSettings();
    EXPECT_EQ(s.Column, -1);
    EXPECT_FALSE(s.Show());
    EXPECT_FALSE(s.IndexShow);
    EXPECT_EQ(s.IndexColor, 0x0000FFFF);
    EXPECT_EQ(s.IndexSortKey, ikShift);
    EXPECT_TRUE(s.Full);
    EXPECT_FALSE(s.SingleColumn);
    EXPECT_FALSE(s.IgnoreBlanks);
    EXPECT_EQ(s.BlankPos, blFirst);
    EXPECT_TRUE(s.AutoFormat);
    EXPECT_EQ(s.Direction, sdAscending);
    EXPECT_EQ(s.InitSortDirection, sdAscending);
    EXPECT_TRUE(s.UpGlyph()->Empty());
    EXPECT_TRUE(s.IndexDownGlyph()->Empty());
    EXPECT_FALSE(s.NormalCellsOnly);
    EXPECT_FALSE(s.FixedCols);
    EXPECT_EQ(s.Row(), 0);
    EXPECT_FALSE(s.UndoSort);
    EXPECT_FALSE(s.AutoColumnMerge);
    EXPECT_TRUE(s.AutoSortForGrouping);
    EXPECT_TRUE(s.SortOnVirtualCells);
    EXPECT_FALSE(s.IgnoreCase);
    EXPECT_EQ(s.HeaderColor(), TSortSettings::kColorNotSet);
    EXPECT_EQ(s.HeaderMirrorColorTo(), 0x1FFFFFFF);
}

TEST_F(SortSettingsTest, AssignCopiesAllButIgnoreCaseAndSortOnVirtualCells) {
    TSortSettings src(nullptr);
    src.Column = 3;
    src.SetShow(true);
    src.IndexShow = true;
    src.IndexColor = 0x123456;
    src.IndexSortKey = ikCtrl;
    src.Full = false;
    src.SingleColumn = true;
    src.IgnoreBlanks = true;
    src.BlankPos = blLast;
    src.AutoFormat = false;
    src.Direction = sdDescending;
    src.InitSortDirection = sdDescending;
    src.NormalCellsOnly = true;
    src.FixedCols = true;
    src.SetRow(2);
    src.UndoSort = true;
    src.AutoColumnMerge = true;
    src.AutoSortForGrouping = false;
    src.SortOnVirtualCells = false;
    src.IgnoreCase = true;
    src.SetHeaderColor(1);
    src.SetHeaderColorTo(2);
    src.SetHeaderMirrorColor(3);
    src.SetHeaderMirrorColorTo(4);
    src.SetUpGlyph(plat::TBitmap(4, 5));
    src.SetIndexDownGlyph(plat::TBitmap(6, 7));

    TSortSettings& d = *grid->SortSettings();
    d.Assign(&src);
    EXPECT_EQ(d.Column, 3);
    EXPECT_TRUE(d.Show());
    EXPECT_TRUE(d.IndexShow);
    EXPECT_EQ(d.IndexColor, 0x123456);
    EXPECT_EQ(d.IndexSortKey, ikCtrl);
    EXPECT_FALSE(d.Full);
    EXPECT_TRUE(d.SingleColumn);
    EXPECT_TRUE(d.IgnoreBlanks);
    EXPECT_EQ(d.BlankPos, blLast);
    EXPECT_FALSE(d.AutoFormat);
    EXPECT_EQ(d.Direction, sdDescending);
    EXPECT_EQ(d.InitSortDirection, sdDescending);
    EXPECT_TRUE(d.NormalCellsOnly);
    EXPECT_TRUE(d.FixedCols);
    EXPECT_EQ(d.Row(), 2);
    EXPECT_TRUE(d.UndoSort);
    EXPECT_TRUE(d.AutoColumnMerge);
    EXPECT_FALSE(d.AutoSortForGrouping);
    EXPECT_EQ(d.HeaderColor(), 1);
    EXPECT_EQ(d.HeaderColorTo(), 2);
    EXPECT_EQ(d.HeaderMirrorColor(), 3);
    EXPECT_EQ(d.HeaderMirrorColorTo(), 4);
    EXPECT_EQ(d.UpGlyph()->Width(), 4);
    EXPECT_EQ(d.IndexDownGlyph()->Height(), 7);
    EXPECT_TRUE(d.DownGlyph()->Empty());
    // Not copied.
    EXPECT_TRUE(d.SortOnVirtualCells);
    EXPECT_FALSE(d.IgnoreCase);

    // A source of another class changes nothing.
    TGrouping other;
    d.Assign(&other);
    EXPECT_EQ(d.Column, 3);
}

TEST_F(SortSettingsTest, RowMustBeAFixedRow) {
    static constexpr char16_t kMsg[] = u"Sort row should be smaller than number of fixed rows";
    struct Case { int fixedRows; int row; bool ok; };
    const Case cases[] = {
        {1, 0, true}, {1, 1, false}, {1, 2, false}, {2, 1, true}, {2, 2, false}, {0, 0, true}, {0, 1, false},
        {1, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "FixedRows " << c.fixedRows << ", Row " << c.row);
        grid->SetRowCount(5);
        grid->SetFixedRows(c.fixedRows);
        grid->SortSettings()->SetRow(0);
        if (c.ok) {
            grid->SortSettings()->SetRow(c.row);
            EXPECT_EQ(grid->SortSettings()->Row(), c.row);
        } else {
            EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->SortSettings()->SetRow(c.row); }, kMsg));
            EXPECT_EQ(grid->SortSettings()->Row(), 0);
        }
    }
}

TEST_F(SortSettingsTest, RemoveClearsColumnAndSortIndexes) {
    grid->SortSettings()->Column = 2;
    grid->SortIndexes()->AddIndex(2, true);
    grid->SortSettings()->Remove();
    EXPECT_EQ(grid->SortSettings()->Column, -1);
    EXPECT_EQ(grid->SortIndexes()->Count(), 0);
    grid->SortSettings()->ToggleDirection();
    EXPECT_EQ(grid->SortSettings()->Direction, sdDescending);
}

TEST_F(SortSettingsTest, GridAssignCopiesSortSettings) {
    grid->SortSettings()->Column = 4;
    grid->SortSettings()->BlankPos = blLast;
    auto* other = new TExtStringGrid(form.get());
    other->Assign(grid);
    EXPECT_EQ(other->SortSettings()->Column, 4);
    EXPECT_EQ(other->SortSettings()->BlankPos, blLast);
}

// A grid of one fixed row and one fixed column: column 0 holds row labels, columns 1 .. 3
// the data, column 4 is hidden. Below the data one more row is hidden, so every sort runs
// beside a hidden column and a hidden row, and the invariant checker runs after each step.
class SortTest : public GridFixture<> {
protected:
    void SetUp() override {
        GridFixture<>::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings = plat::TFormatSettings{};  // "." decimals, "," thousands, dd/mm/yyyy
    }
    void TearDown() override {
        plat::FormatSettings = saved;
        GridFixture<>::TearDown();
    }
    // Rows of texts for columns 1, 2, ...; row labels "r1", "r2", ... in column 0.
    void Load(const std::vector<Texts>& rows) {
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        const int n = static_cast<int>(rows.size());
        grid->SetColCount(5);
        grid->SetRowCount(n + 2);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int r = 0; r < n; ++r) {
            grid->SetCells(0, r + 1, u"r" + plat::IntToStr(r + 1));
            grid->SetRowHeights(r + 1, 20 + r);
            for (std::size_t c = 0; c < rows[static_cast<std::size_t>(r)].size(); ++c)
                grid->SetCells(static_cast<int>(c) + 1, r + 1, rows[static_cast<std::size_t>(r)][c]);
        }
        grid->SetCells(1, n + 1, u"hidden");
        grid->HideRow(n + 1);
        grid->HideColumn(4);
    }
    Texts Column(int c) {
        Texts t;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) t.push_back(grid->Cells(c, r));
        return t;
    }
    Texts Labels() { return Column(0); }
    void Check() {
        EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
        ASSERT_EQ(grid->NumHiddenRows(), 1);
        EXPECT_EQ(grid->GetGridCellsEx(1, grid->TotalRowCount() - 1), u"hidden") << "the hidden row keeps its place and text";
    }
    plat::TFormatSettings saved;
};

// The sort cases of the sorting rules, one table: texts of column 1 (and 2), settings, and
// the row order expected.
struct SortCase {
    const char* name;
    std::vector<Texts> rows;
    std::function<void(TExtStringGrid&)> setup;
    Texts labels;
};

TEST_F(SortTest, CasesOfTheSortingRules) {
    const SortCase cases[] = {
        {"numbers 10, 9, 100", {{u"10"}, {u"9"}, {u"100"}}, [](TExtStringGrid& g) { g.SortSettings()->Column = 1; },
         {u"r2", u"r1", u"r3"}},
        {"descending numbers", {{u"10"}, {u"9"}, {u"100"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->Direction = sdDescending;
         },
         {u"r3", u"r1", u"r2"}},
        {"blanks last ascending", {{u""}, {u"b"}, {u""}, {u"a"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->IgnoreBlanks = true;
             g.SortSettings()->BlankPos = blLast;
         },
         {u"r4", u"r2", u"r1", u"r3"}},
        {"blanks last descending", {{u""}, {u"b"}, {u""}, {u"a"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->IgnoreBlanks = true;
             g.SortSettings()->BlankPos = blLast;
             g.SortSettings()->Direction = sdDescending;
         },
         {u"r2", u"r4", u"r1", u"r3"}},
        {"blanks first descending", {{u""}, {u"b"}, {u"a"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->IgnoreBlanks = true;
             g.SortSettings()->Direction = sdDescending;
         },
         {u"r1", u"r2", u"r3"}},
        {"currency prefix", {{u"$40"}, {u"$5"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String& pre, String&) {
                 st = ssNumeric;
                 pre = u"$";
             };
         },
         {u"r2", u"r1"}},
        {"financial thousands", {{u"1,200"}, {u"950"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssFinancial; };
         },
         {u"r2", u"r1"}},
        {"numeric without thousands: 1,200 does not parse and counts as 0", {{u"1,200"}, {u"950"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssNumeric; };
         },
         {u"r1", u"r2"}},
        {"two empty cells are equal, empty against 5 is 0", {{u"5"}, {u""}, {u"-1"}, {u""}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssNumeric; };
         },
         {u"r3", u"r2", u"r4", u"r1"}},
        {"unparsable text counts as 0", {{u"5"}, {u"abc"}, {u"-1"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssNumeric; };
         },
         {u"r3", u"r2", u"r1"}},
        {"Full across the hidden column", {{u"a", u"x", u"", u"2"}, {u"a", u"x", u"", u"1"}, {u"0", u"y", u"", u"0"}},
         [](TExtStringGrid& g) { g.SortSettings()->Column = 1; }, {u"r3", u"r2", u"r1"}},
        {"without Full equal rows keep their order", {{u"a", u"x", u"", u"2"}, {u"a", u"x", u"", u"1"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->Full = false;
         },
         {u"r1", u"r2"}},
        {"stable descending", {{u"b", u"1"}, {u"a", u"2"}, {u"b", u"3"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->Full = false;
             g.SortSettings()->Direction = sdDescending;
         },
         {u"r1", u"r3", u"r2"}},
        {"ignored column compares equal", {{u"a", u"2"}, {u"a", u"1"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.IgnoreColumns()->Add(2);
         },
         {u"r1", u"r2"}},
        {"case counts for alphabetic", {{u"b"}, {u"B"}, {u"a"}}, [](TExtStringGrid& g) { g.SortSettings()->Column = 1; },
         {u"r2", u"r3", u"r1"}},
        {"IgnoreCase folds a to z", {{u"b"}, {u"B"}, {u"a"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.SortSettings()->AutoFormat = false;
             g.SortSettings()->IgnoreCase = true;
         },
         {u"r3", u"r1", u"r2"}},
        {"dates", {{u"02/01/2020"}, {u"31/12/2019"}, {u"01/01/2020"}},
         [](TExtStringGrid& g) { g.SortSettings()->Column = 1; }, {u"r2", u"r3", u"r1"}},
        {"times", {{u"10:05"}, {u"9:30"}, {u"10:00"}}, [](TExtStringGrid& g) { g.SortSettings()->Column = 1; },
         {u"r2", u"r3", u"r1"}},
        {"US short dates", {{u"02/01/2020"}, {u"01/31/2020"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssShortDateUS; };
         },
         {u"r2", u"r1"}},
        {"markup removed", {{u"<b>b</b>"}, {u"a"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssHTML; };
         },
         {u"r2", u"r1"}},
        {"suffix kg", {{u"12kg"}, {u"9kg"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String& suf) {
                 st = ssNumeric;
                 suf = u"kg";
             };
         },
         {u"r2", u"r1"}},
        {"display texts", {{u"1"}, {u"2"}, {u"3"}},
         [](TExtStringGrid& g) {
             g.SortSettings()->Column = 1;
             g.OnGetDisplText = [](plat::TObject*, int c, int, String& v) {
                 if (c == 1) v = v == u"2" ? u"a" : (v == u"1" ? u"c" : u"b");
             };
         },
         {u"r2", u"r3", u"r1"}},
    };
    for (const SortCase& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.rows);
        c.setup(*grid);
        grid->QSort();
        EXPECT_EQ(Labels(), c.labels);
        Check();
    }
}

TEST_F(SortTest, RowsMoveWholeWithHeights) {
    Load({{u"b", u"2"}, {u"a", u"1"}});
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(2), (Texts{u"1", u"2"}));
    EXPECT_EQ(grid->GetCellsEx(4, 1), u"") << "hidden column cells move with their row";
    EXPECT_EQ(grid->RowHeights(1), 21);
    EXPECT_EQ(grid->RowHeights(2), 20);
    EXPECT_EQ(grid->SortSettings()->Column, 1);
    Check();
}

TEST_F(SortTest, IndexedSortWithAndWithoutFull) {
    const std::vector<Texts> rows = {{u"1", u"b"}, {u"2", u"a"}, {u"3", u"b"}, {u"2", u"b"}, {u"1", u"a"}};
    // Column 2 ascending, ties by column 1 descending.
    Load(rows);
    grid->SortIndexes()->AddIndex(2, true);
    grid->SortIndexes()->AddIndex(1, false);
    grid->QSortIndexed();
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r5", u"r3", u"r4", u"r1"}));
    Check();
    // Without Full only the first entry decides; equal rows keep their order.
    Load(rows);
    grid->SortIndexes()->AddIndex(2, true);
    grid->SortIndexes()->AddIndex(1, false);
    grid->SortSettings()->Full = false;
    grid->QSortIndexed();
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r5", u"r1", u"r3", u"r4"}));
    Check();
    grid->SortIndexes()->Clear();
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->QSortIndexed(); }, u"No indexes specified for indexed sort"));
}

TEST_F(SortTest, NormalCellsOnlyKeepsColumnZero) {
    Load({{u"c"}, {u"a"}, {u"b"}});
    grid->SortSettings()->NormalCellsOnly = true;
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3"}));
    EXPECT_EQ(Column(1), (Texts{u"a", u"b", u"c"}));
    Check();
}

TEST_F(SortTest, StringFormLoadsAndSaves) {
    Load({{u"1", u"", u"x"}, {u"3", u"", u"y"}, {u"2", u"", u"z"}});
    grid->SortSettings()->LoadFromString(u"d3");
    EXPECT_TRUE(grid->SortSettings()->Show());
    EXPECT_EQ(grid->SortSettings()->Column, 3);
    EXPECT_EQ(Column(3), (Texts{u"z", u"y", u"x"}));
    EXPECT_EQ(grid->SortSettings()->SaveToString(), u"d3");
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->SortSettings()->LoadFromString(u"u"); },
                                          u"Invalid sort settings specifier"));
    grid->SortSettings()->LoadFromString(u"i;u1;d3");
    EXPECT_TRUE(grid->SortSettings()->IndexShow);
    EXPECT_EQ(Column(1), (Texts{u"1", u"2", u"3"}));
    EXPECT_EQ(grid->SortSettings()->SaveToString(), u"i;u1;d3");
    Check();
}

TEST_F(SortTest, UnSortRestoresTheOrderAlsoAfterAnInsertedRow) {
    Load({{u"c"}, {u"a"}, {u"d"}, {u"b"}});
    const Texts before = Labels();
    grid->QUnSort();  // no sort yet: nothing to undo
    EXPECT_EQ(Labels(), before);
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r4", u"r1", u"r3"}));
    grid->QUnSort();
    EXPECT_EQ(Labels(), before);
    Check();

    // Descending: r3 r1 r4 r2; a row inserted among them and r4 removed.
    grid->Sort(1, sdDescending);
    grid->InsertRows(2, 1);
    grid->SetCells(0, 2, u"new");
    grid->RemoveRows(4, 1);
    grid->QUnSort();
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"new"}));
    Check();
    grid->QUnSort();  // the order is the recorded one again: nothing more to undo
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"new"}));
}

TEST_F(SortTest, MixedColumnSortsAsTextTheSameOnEveryRun) {
    const std::vector<Texts> rows = {{u"10"}, {u"abc"}, {u"9"}, {u"100"}, {u"Abc"}, {u"9"}};
    Load(rows);
    grid->Sort(1, sdAscending);
    const Texts first = Column(1);
    EXPECT_EQ(first, (Texts{u"10", u"100", u"9", u"9", u"Abc", u"abc"}));
    for (int run = 0; run < 3; ++run) {
        grid->Sort(1, sdAscending);
        EXPECT_EQ(Column(1), first);
    }
    Check();
}

TEST_F(SortTest, InconsistentComparisonHandlersEndCleanly) {
    std::vector<Texts> rows;
    for (int i = 0; i < 300; ++i) rows.push_back({plat::IntToStr(i % 17), plat::IntToStr(i)});
    for (TSortStyle style : {ssCustom, ssRaw}) {
        SCOPED_TRACE(style);
        Load(rows);
        std::mt19937 rng(7);
        grid->OnGetFormat = [style](plat::TObject*, int, TSortStyle& st, String&, String&) { st = style; };
        grid->OnCustomCompare = [&](plat::TObject*, const String&, const String&, int& res) {
            res = static_cast<int>(rng() % 3) - 1;
        };
        grid->OnRawCompare = [&](plat::TObject*, int, int r1, int r2, int& res) {
            EXPECT_TRUE(r1 >= 1 && r1 <= 300 && r2 >= 1 && r2 <= 300);
            res = static_cast<int>(rng() % 3) - 1;
        };
        grid->SortSettings()->Full = false;
        grid->Sort(1, sdAscending);
        Texts labels = Labels();
        std::sort(labels.begin(), labels.end());
        Texts expected;
        for (int i = 1; i <= 300; ++i) expected.push_back(u"r" + plat::IntToStr(i));
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(labels, expected) << "every row is still there once";
        Check();
    }
}

TEST_F(SortTest, CustomHandlerGetsTextsAndRawHandlerRowsBeforeAnyMove) {
    Load({{u"b"}, {u"c"}, {u"a"}});
    grid->OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssRaw; };
    grid->OnRawCompare = [this](plat::TObject*, int c, int r1, int r2, int& res) {
        EXPECT_EQ(c, 1);
        // Rows as they stood before the sort: label r<n> is at display row n.
        res = plat::CompareStr(grid->Cells(1, r1), grid->Cells(1, r2));
    };
    grid->SortSettings()->Full = false;
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), (Texts{u"a", u"b", u"c"}));
    grid->OnGetFormat = [](plat::TObject*, int, TSortStyle& st, String&, String&) { st = ssCustom; };
    grid->OnCustomCompare = [](plat::TObject*, const String& a, const String& b, int& res) {
        res = -plat::CompareStr(a, b);
    };
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), (Texts{u"c", u"b", u"a"}));
    EXPECT_GT(grid->Compares, 0);
    EXPECT_GT(grid->Swaps, 0);
}

TEST_F(SortTest, CheckBoxColumnsSortUncheckedFirst) {
    Load({{u""}, {u""}, {u""}});
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    grid->AddCheckBox(1, 3, true, false);
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r1", u"r3"}));
    Check();
}

TEST_F(SortTest, MoveRowOnSortFollowsTheCurrentRow) {
    Load({{u"c"}, {u"a"}, {u"b"}});
    grid->Navigation()->MoveRowOnSort = true;
    grid->SetRow(1);  // "c"
    grid->Sort(1, sdAscending);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->SortRow(), 3);
    grid->Navigation()->MoveRowOnSort = false;
    grid->SetRow(1);
    grid->Sort(1, sdDescending);
    EXPECT_EQ(grid->Row(), 1) << "without MoveRowOnSort the current row index stays";
}

// Hands every swap to the grid's own: as a class of its own it makes the sorts move their
// rows pair by pair through the hook, the path of a grid that watches the swaps.
class SwapHookGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void SortSwapRows(int Index, int Index2) override {
        ++Calls;
        TExtStringGrid::SortSwapRows(Index, Index2);
    }
    int Calls = 0;
};

plat::TObject* Tag(int r) { return reinterpret_cast<plat::TObject*>(static_cast<std::uintptr_t>(0x1000 + 8 * r)); }

// What is kept per row, keyed by the row's own label (column 3), for the rows on show.
struct RowState {
    String Texts;
    plat::TObject* Object;
    int Height;
    bool Modified, Enabled, Selected;
    friend bool operator==(const RowState&, const RowState&) = default;
    friend void PrintTo(const RowState& s, std::ostream* o) {
        *o << grid::testing::Utf8(s.Texts) << " obj " << s.Object << " h " << s.Height << " mod " << s.Modified
           << " en " << s.Enabled << " sel " << s.Selected;
    }
};

std::map<String, RowState> RowStates(TExtStringGrid& g) {
    std::map<String, RowState> m;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r) {
        String texts;
        for (int c = 0; c < g.AllColCount(); ++c) texts += g.GetGridCellsEx(c, g.RealRowIndex(r)) + u"|";
        m[g.GetGridCellsEx(3, g.RealRowIndex(r))] = {texts, g.GetObjectsEx(1, g.RealRowIndex(r)), g.RowHeights(r), g.RowModified(r),
                                                     g.RowEnabled(r),
                                                     g.MouseActions()->DisjunctRowSelect() && g.GetRowSelect(g.RealRowIndex(r))};
    }
    return m;
}

// Everything a row move touches, position by position, hidden rows and raw lists included.
std::string Snapshot(TExtStringGrid& g) {
    std::ostringstream o;
    for (int r = 0; r < g.TotalRowCount(); ++r) {
        for (int c = 0; c < g.AllColCount(); ++c) o << grid::testing::Utf8(g.GetGridCellsEx(c, r)) << '|';
        o << " sel " << g.GetRowSelect(r) << '\n';
    }
    for (int r = 0; r < g.RowCount(); ++r)
        o << r << ": h " << g.RowHeights(r) << " obj " << g.GetObjectsEx(1, r) << " real " << g.RealRowIndex(r) << '\n';
    for (const TIntList* l : {g.ModifiedRows()})
        for (int i = 0; i < l->Count(); ++i) o << "mod " << l->GetInteger(i) << '\n';
    for (int r = 0; r < g.TotalRowCount(); ++r) o << g.RowEnabled(r);
    o << "\nxref";
    for (int v : g.SortRowXRef()) o << ' ' << v;
    o << "\nswaps " << g.Swaps << " sortrow " << g.SortRow() << " row " << g.Row() << '\n';
    return o.str();
}

struct MoveSetup {
    const char* name;
    void (*flags)(TExtStringGrid&);
};

const MoveSetup kMoveSetups[] = {
    {"no row flags", [](TExtStringGrid&) {}},
    {"flags on early rows only", [](TExtStringGrid& g) {
         g.SetRowModified(2, true);
         g.SetRowEnabled(3, false);
     }},
    {"flags over every row", [](TExtStringGrid& g) {
         for (int r = 1; r < g.RowCount(); r += 4) g.SetRowModified(r, true);
         g.SetRowModified(g.RowCount() - 1, false);
         g.SetRowEnabled(5, false);
         g.SetRowEnabled(g.RowCount() - 1, true);
     }},
    {"disjunct row selection", [](TExtStringGrid& g) {
         g.MouseActions()->SetDisjunctRowSelect(true);
         for (int r : {2, 9, 17}) g.SetRowSelect(r, true);
     }},
};

// 24 rows: keys with repeats in column 1, numbers in 2, the row's label in 3 and a hidden
// column 4; heights and objects differ per row; two node rows and a row hidden by HideRow.
void BuildMoveGrid(TExtStringGrid& g, const MoveSetup& setup) {
    g.SetColCount(5);
    g.SetRowCount(25);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    for (int r = 1; r < 25; ++r) {
        g.SetCells(0, r, u"r" + plat::IntToStr(r));
        g.SetCells(1, r, String(1, static_cast<char16_t>(u'a' + (r * 7) % 5)));
        g.SetCells(2, r, plat::IntToStr((r * 37) % 11));
        g.SetCells(3, r, u"x" + plat::IntToStr(r));
        g.SetCells(4, r, u"h" + plat::IntToStr(r));
        g.SetRowHeights(r, 18 + r % 7);
        if (r % 3 == 0) g.SetObjects(1, r, Tag(r));
    }
    g.AddNode(4, 6);
    g.AddNode(15, 5);
    g.HideRow(11);
    g.HideColumn(4);
    g.Navigation()->MoveRowOnSort = true;
    g.SetRow(6);
    setup.flags(g);
}

struct MoveStep {
    const char* name;
    void (*op)(TExtStringGrid&);
};

const MoveStep kMoveSteps[] = {
    {"Sort on keys", [](TExtStringGrid& g) { g.Sort(1, sdAscending); }},
    {"Sort on numbers descending", [](TExtStringGrid& g) { g.Sort(2, sdDescending); }},
    {"QuickSort of a middle range", [](TExtStringGrid& g) { g.QuickSort(1, 4, 13); }},
    {"QSortGroup", [](TExtStringGrid& g) {
         g.SortSettings()->Column = 2;
         g.QSortGroup();
     }},
    {"QUnSort", [](TExtStringGrid& g) { g.QUnSort(); }},
};

// Sorting moves whole rows: texts (hidden column included), objects, heights, flags and
// selection stay with their row, whether the rows move in one pass or through a swap hook,
// and both give exactly the same grid.
TEST_F(SortTest, RowMovesInOnePassEqualThoseOfTheSwapHook) {
    for (const MoveSetup& setup : kMoveSetups) {
        SCOPED_TRACE(setup.name);
        auto plain = new TExtStringGrid(form.get());
        auto hooked = new SwapHookGrid(form.get());
        BuildMoveGrid(*plain, setup);
        BuildMoveGrid(*hooked, setup);
        ASSERT_EQ(Snapshot(*plain), Snapshot(*hooked));
        const std::map<String, RowState> before = RowStates(*plain);
        for (const MoveStep& step : kMoveSteps) {
            SCOPED_TRACE(step.name);
            const int calls = hooked->Calls;
            step.op(*plain);
            step.op(*hooked);
            EXPECT_GT(hooked->Calls, calls) << "the step moves rows";
            EXPECT_EQ(Snapshot(*plain), Snapshot(*hooked));
            EXPECT_EQ(RowStates(*plain), before);
            EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*plain)), "");
        }
        delete plain;
        delete hooked;
    }
}

TEST_F(SortTest, SortLineSwapsRowsOutOfOrder) {
    Load({{u"b"}, {u"a"}});
    EXPECT_TRUE(grid->SortLine(1, 1, 2));
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r1"}));
    EXPECT_FALSE(grid->SortLine(1, 1, 2));
    EXPECT_EQ(grid->CompareCells(1, 1, 2, sdAscending), -1);
    EXPECT_EQ(grid->CompareCells(1, 2, 1, sdAscending), 1);
}

} // namespace
