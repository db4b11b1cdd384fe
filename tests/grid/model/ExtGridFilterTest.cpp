// Filtering of the string grid: conditions, filter levels in the hidden-row store, narrowing
// and the filter drop-down's choices.
#include <gtest/gtest.h>

#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "TestSupport.h"

using namespace grid;
using grid::testing::GridFixture;
using plat::String;
using Texts = std::vector<String>;

namespace {

// One fixed row; column 0 holds the row labels, column 1 the texts tested, column 2 is
// hidden and holds a copy of the label, so rows keep all their cells when they move.
class FilterTest : public GridFixture<> {
protected:
    void Load(const Texts& texts) {
        const int n = static_cast<int>(texts.size());
        grid->SetColCount(3);
        grid->SetRowCount(n + 1);
        grid->SetFixedRows(1);
        for (int r = 1; r <= n; ++r) {
            grid->SetCells(0, r, u"r" + plat::IntToStr(r));
            grid->SetCells(1, r, texts[static_cast<std::size_t>(r - 1)]);
            grid->SetCells(2, r, u"r" + plat::IntToStr(r));
            grid->SetRowHeights(r, 20 + r);
        }
        grid->HideColumn(2);
    }
    Texts Labels() {
        Texts t;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) t.push_back(grid->Cells(0, r));
        return t;
    }
    // Invariants, and every shown row still holds its own cells and height.
    void Check() {
        EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) {
            const String label = grid->Cells(0, r);
            EXPECT_EQ(grid->Cells(2, r), label) << "row " << r;
            EXPECT_EQ(u"r" + plat::IntToStr(grid->RealRowIndex(r)), label) << "real index of row " << r;
            EXPECT_EQ(grid->RowHeights(r), 20 + grid->RealRowIndex(r)) << "height of row " << r;
        }
    }
    TFilterData* AddCondition(const String& condition, TFilterOperation op) {
        TFilterData* f = grid->Filter()->Add();
        f->Column = 1;
        f->Condition = condition;
        f->Operation = op;
        return f;
    }
};

TEST_F(FilterTest, OnAndOffRestoresRowsWithTheirHeights) {
    Load({u"A1", u"B1", u"A2"});
    AddCondition(u"A*", foNONE);
    grid->SetFilterActive(true);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r3"}));
    EXPECT_EQ(grid->FilterLevel(), 1);
    EXPECT_EQ(grid->NumHiddenRows(), 1);
    Check();
    grid->SetFilterActive(false);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3"}));
    EXPECT_EQ(grid->RowHeights(2), 22);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    Check();
}

// Many rows hidden and shown at once: the modified and enabled flags of the rows that stay
// shown stay with them while filtered and after, also where the flag lists end before the
// last row.
TEST_F(FilterTest, RowFlagsFollowTheirRowsThroughALargeFilter) {
    Texts texts;
    for (int i = 1; i <= 60; ++i) texts.push_back(i % 4 == 0 ? u"keep" : u"drop");
    Load(texts);
    const auto modified = [](int r) { return r % 3 == 0 && r <= 45; };
    const auto disabled = [](int r) { return r % 5 == 0 && r <= 50; };
    for (int r = 1; r <= 60; ++r) {
        if (modified(r)) grid->SetRowModified(r, true);
        if (disabled(r)) grid->SetRowEnabled(r, false);
    }
    AddCondition(u"keep", foNONE);
    grid->SetFilterActive(true);
    ASSERT_EQ(grid->RowCount(), 16);
    Check();
    for (int d = 1; d < grid->RowCount(); ++d) {
        const int r = grid->RealRowIndex(d);
        EXPECT_EQ(grid->RowModified(d), modified(r)) << "filtered row " << r;
        EXPECT_EQ(grid->RowEnabled(d), !disabled(r)) << "filtered row " << r;
    }
    grid->SetFilterActive(false);
    ASSERT_EQ(grid->RowCount(), 61);
    Check();
    for (int r = 1; r <= 60; ++r) {
        EXPECT_EQ(grid->RowModified(r), modified(r)) << "row " << r;
        EXPECT_EQ(grid->RowEnabled(r), !disabled(r)) << "row " << r;
    }
}

// A hidden row keeps its modified and enabled flags and shows them again, whichever way it
// was hidden and shown: a filter of a few rows (moved one by one) or of many (moved in one
// pass), stacked narrowing levels, HideRow; also a hidden row whose flag lies beyond the
// end of the flag lists once the rows after it are gone.
TEST_F(FilterTest, HiddenRowsComeBackWithTheirFlags) {
    struct Case {
        const char* name;
        int rows;
        void (*hide)(TExtStringGrid&);
        void (*show)(TExtStringGrid&);
    };
    const Case cases[] = {
        {"filter of a few rows", 8, [](TExtStringGrid& g) { g.SetFilterActive(true); },
         [](TExtStringGrid& g) { g.SetFilterActive(false); }},
        {"filter of many rows", 60, [](TExtStringGrid& g) { g.SetFilterActive(true); },
         [](TExtStringGrid& g) { g.SetFilterActive(false); }},
        {"two narrowing levels, removed one by one", 60,
         [](TExtStringGrid& g) {
             g.NarrowDown(u"k", 1);
             g.NarrowDown(u"ke", 1);
         },
         [](TExtStringGrid& g) {
             g.NarrowDown(u"k", 1);
             g.NarrowDown(u"", 1);
         }},
        {"HideRow", 8,
         [](TExtStringGrid& g) {
             for (int r = 1; r <= 8; ++r)
                 if (g.Cells(1, g.DisplRowIndex(r)) != u"keep") g.HideRow(r);
         },
         [](TExtStringGrid& g) { g.UnHideRowsAll(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        Texts texts;
        // "kx" is hidden by the second narrowing level only.
        for (int i = 1; i <= c.rows; ++i) texts.push_back(i % 4 == 0 ? u"keep" : i % 4 == 2 ? u"kx" : u"drop");
        Load(texts);
        if (c.rows == 60) AddCondition(u"keep", foNONE);
        else AddCondition(u"k*", foNONE);
        const auto modified = [](int r) { return r % 3 == 0 || r == 7; };
        const auto disabled = [](int r) { return r % 5 == 0 || r == 7; };
        for (int r = 1; r <= c.rows; ++r) {
            if (modified(r)) grid->SetRowModified(r, true);
            if (disabled(r)) grid->SetRowEnabled(r, false);
        }
        c.hide(*grid);
        ASSERT_LT(grid->RowCount(), c.rows + 1);
        Check();
        // The lists end before the last hidden row once the hidden rows are out.
        ASSERT_LE(grid->ModifiedRows()->Count(), grid->RowCount());
        for (int d = 1; d < grid->RowCount(); ++d) {
            const int r = grid->RealRowIndex(d);
            EXPECT_EQ(grid->RowModified(d), modified(r)) << "shown row " << r;
            EXPECT_EQ(grid->RowEnabled(d), !disabled(r)) << "shown row " << r;
        }
        c.show(*grid);
        ASSERT_EQ(grid->RowCount(), c.rows + 1);
        Check();
        for (int r = 1; r <= c.rows; ++r) {
            EXPECT_EQ(grid->RowModified(r), modified(r)) << "row " << r;
            EXPECT_EQ(grid->RowEnabled(r), !disabled(r)) << "row " << r;
        }
        EXPECT_EQ(grid->UseEnabledRows(), true);
    }
}

TEST_F(FilterTest, OperationsCombineConditions) {
    struct Case {
        const char* name;
        std::vector<std::pair<String, TFilterOperation>> conditions;
        Texts kept;
    };
    const Case cases[] = {
        {"or", {{u"A*", foNONE}, {u"*2", foOR}}, {u"r1", u"r3", u"r4"}},
        {"and", {{u"A*", foNONE}, {u"*2", foAND}}, {u"r3"}},
        {"xor", {{u"A*", foNONE}, {u"*2", foXOR}}, {u"r1", u"r4"}},
        {"short stops at a failed condition", {{u"A*", foSHORT}, {u"B*", foOR}}, {u"r1", u"r3"}},
        {"short passes on", {{u"A*", foSHORT}, {u"*1", foAND}}, {u"r1"}},
        {"empty condition matches", {{u"", foNONE}}, {u"r1", u"r2", u"r3", u"r4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        Load({u"A1", u"B1", u"A2", u"B2"});
        for (const auto& [cond, op] : c.conditions) AddCondition(cond, op);
        grid->SetFilterActive(true);
        EXPECT_EQ(Labels(), c.kept);
        Check();
    }
}

TEST_F(FilterTest, PrefixAndSuffixAreRemovedBeforeTesting) {
    Load({u"12kg", u"kg12kg", u"$12", u"12"});
    TFilterData* f = AddCondition(u"12", foNONE);
    f->Suffix = u"kg";
    f->Prefix = u"$";
    grid->SetFilterActive(true);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r3", u"r4"}));
    Check();
    grid->SetFilterActive(false);
    f->Method = fmLiteral;
    f->Condition = u"1*";
    grid->SetFilterActive(true);
    EXPECT_EQ(grid->RowCount(), 1) << "a literal condition compares the text exactly: no row matches";
    EXPECT_EQ(grid->NumHiddenRows(), 4);
    grid->SetFilterActive(false);
    EXPECT_EQ(grid->FixedRows(), 1) << "the fixed rows come back with the rows";
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"r4"}));
    Check();
}

TEST_F(FilterTest, CustomFilterHasTheLastWord) {
    Load({u"A1", u"B1"});
    AddCondition(u"A*", foNONE);
    grid->OnCustomFilter = [](plat::TObject*, int ARow, bool& accept) { accept = !accept || ARow < 0; };
    grid->SetFilterActive(true);
    EXPECT_EQ(Labels(), (Texts{u"r2"}));
}

TEST_F(FilterTest, NarrowDownStacksLevels) {
    Load({u"abc", u"xyz", u"abd", u"b", u"ab c"});
    grid->NarrowDown(u"a");
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r3", u"r5"}));
    EXPECT_EQ(grid->FilterLevel(), 1);
    grid->NarrowDown(u"ab");
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r3", u"r5"}));
    EXPECT_EQ(grid->FilterLevel(), 2);
    grid->NarrowDown(u"abd");
    EXPECT_EQ(Labels(), (Texts{u"r3"}));
    EXPECT_EQ(grid->FilterLevel(), 3);
    Check();
    grid->NarrowDown(u"ab");
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r3", u"r5"}));
    grid->NarrowDown(u"a");
    EXPECT_EQ(grid->FilterLevel(), 1);
    Check();
    grid->NarrowDown(u"xyz");
    EXPECT_EQ(Labels(), (Texts{u"r2"}));
    EXPECT_EQ(grid->FilterLevel(), 1);
    grid->NarrowDown(u"");
    EXPECT_EQ(grid->FilterLevel(), 0);
    EXPECT_EQ(grid->NumHiddenRows(), 0);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"r4", u"r5"}));
    Check();
}

TEST_F(FilterTest, NarrowDownOnAColumnMatchesAnywhereWithBlanksToo) {
    Load({u"ab c", u"xab cx", u"abc"});
    grid->NarrowDown(u"b c", 1);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2"}));
    grid->NarrowDown(u"b", 1);  // starts over
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3"}));
    grid->NarrowDown(u"b ", 1);  // one more character: a level on top
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2"}));
    EXPECT_EQ(grid->FilterLevel(), 2);
    Check();
}

TEST_F(FilterTest, RowsHiddenByHideRowSurviveFilterLevels) {
    Load({u"a1", u"a2", u"b1", u"a3", u"b2", u"a4"});
    grid->SetCells(1, 4, u"a3 hidden");
    grid->HideRow(4);  // r4, real row 4
    grid->NarrowDown(u"a");
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r6"}));
    Check();
    grid->NarrowDown(u"a4");
    grid->NarrowDown(u"a");  // removes the top level only
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r6"}));
    Check();
    grid->NarrowDown(u"");
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"r5", u"r6"}));
    EXPECT_TRUE(grid->IsHiddenRow(4));
    EXPECT_EQ(grid->GetGridCellsEx(1, 4), u"a3 hidden");
    Check();
    grid->UnHideRow(4);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3", u"r4", u"r5", u"r6"}));
    Check();
}

TEST_F(FilterTest, RemoveLastFilterAndRemoveAll) {
    Load({u"a", u"b"});
    EXPECT_FALSE(grid->RemoveLastFilter()) << "no level in force";
    AddCondition(u"a", foNONE);
    grid->ApplyFilter();
    EXPECT_FALSE(grid->RemoveLastFilter()) << "it removed the only level";
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2"}));
    grid->ApplyFilter();
    grid->ApplyFilter();
    EXPECT_TRUE(grid->RemoveLastFilter());
    grid->RemoveAllFilters();
    EXPECT_EQ(grid->FilterLevel(), 0);
    EXPECT_EQ(grid->Filter()->Count(), 1) << "removing levels keeps the conditions";
    grid->RemoveAllFilters();
    EXPECT_EQ(grid->Filter()->Count(), 0) << "with no level in force the conditions go";
    Check();
}

TEST_F(FilterTest, FilterSelectTakesTheEntryAndAllRemovesTheCondition) {
    Load({u"A1", u"B1", u"A2"});
    grid->FilterDropDownAuto = true;
    String seenName;
    grid->OnFilterSelect = [&](plat::TObject*, int col, int, const String& name, String&) {
        EXPECT_EQ(col, 1);
        seenName = name;
    };
    int done = 0;
    grid->OnFilterDone = [&](plat::TObject*) { ++done; };
    grid->SetFilterColumn(1);
    ASSERT_TRUE(grid->GetColumnFilter(1));
    // Entries: "(All)", "A1", "A2", "B1".
    grid->FilterSelect(3);
    EXPECT_EQ(seenName, u"B1");
    EXPECT_EQ(Labels(), (Texts{u"r2"}));
    EXPECT_EQ(grid->FilterColumn(), -1);
    EXPECT_EQ(done, 1);
    Check();
    grid->SetFilterColumn(1);
    grid->FilterSelect(0);
    EXPECT_FALSE(grid->Filter()->HasFilter(1));
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3"}));
    grid->FilterSelect(1);  // no drop-down column recorded: nothing
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r3"}));
    Check();
}

TEST_F(FilterTest, FilterCheckKeepsRowsOfAnyCheckedEntry) {
    Load({u"A1", u"B1", u"A2", u"C"});
    grid->FilterDropDownAuto = true;
    grid->SetFilterColumn(1);
    grid->FilterCheck({1, 4});  // "A1" and "C"
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r4"}));
    EXPECT_EQ(grid->Filter()->Items(1)->Operation, foOR);
    Check();
}

TEST_F(FilterTest, FilterNormalCellsOnlyKeepsNodeRows) {
    Load({u"group", u"a", u"b", u"a"});
    grid->AddNode(1, 4);
    AddCondition(u"a", foNONE);
    grid->SetFilterActive(true);
    EXPECT_EQ(Labels(), (Texts{u"r1", u"r2", u"r4"}));
    Check();
    grid->SetFilterActive(false);
    grid->FilterNormalCellsOnly = false;
    grid->SetFilterActive(true);
    EXPECT_EQ(Labels(), (Texts{u"r2", u"r4"}));
}

TEST_F(FilterTest, ProgressReportsPercentages) {
    Load({u"a", u"b", u"c", u"d"});
    std::vector<int> seen;
    grid->OnFilterProgress = [&](plat::TObject*, short p) { seen.push_back(p); };
    AddCondition(u"a", foNONE);
    grid->ApplyFilter();
    EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100, 100}));
}

class ColumnGridFilterTest : public GridFixture<TExtColumnGrid> {};

TEST_F(ColumnGridFilterTest, FilterSelectUsesTheColumnsList) {
    Fill(3, 4);  // "c:r" texts
    grid->SetFixedRows(1);
    grid->AutoFilterDisplay = true;
    grid->Columns()->Items(1)->Filter()->Add(u"Second=1:2");
    grid->Columns()->Items(1)->Filter()->Add(u"All=(All)");
    grid->Columns()->Items(1)->FilterCaseSensitive = true;
    grid->SetFilterColumn(1);
    grid->FilterSelect(0);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), u"1:2");
    EXPECT_EQ(grid->Columns()->Items(1)->Header(), u"Second");
    EXPECT_TRUE(grid->Filter()->GetColFilter(1)->CaseSensitive);
    grid->SetFilterColumn(1);
    grid->FilterSelect(1);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_FALSE(grid->Filter()->HasFilter(1));
    EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
}

} // namespace
