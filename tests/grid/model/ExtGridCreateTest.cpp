// Dimension setters, copying every settings object, loading, the locale texts and the unit's
// once-per-process registrations.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "plat/Controls.h"

using namespace grid;
using grid::testing::GridFixture;

namespace {

class CreateTest : public GridFixture<> {};

TEST_F(CreateTest, FixedRowsAndColumnsKeptByTheAlwaysFlags) {
    struct Case {
        const char* what;
        bool always;
        int fixedAsked;
        int smallCount;
        int fixedWhenSmall;
        int fixedAfterGrowing;
    };
    const Case cases[] = {
        {"kept: fixed rows come back", true, 3, 2, 1, 3},
        {"not kept: they stay lowered", false, 3, 2, 1, 1},
        {"a count that still holds them changes nothing", true, 2, 5, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetRowCount(10);
        grid->SetColCount(10);
        grid->FixedRowAlways = grid->FixedColAlways = c.always;
        grid->SetFixedRows(c.fixedAsked);
        grid->SetFixedCols(c.fixedAsked);
        EXPECT_EQ(grid->FixedRowsMin(), c.fixedAsked);
        EXPECT_EQ(grid->FixedColsMin(), c.fixedAsked);
        grid->SetRowCount(c.smallCount);
        grid->SetColCount(c.smallCount);
        EXPECT_EQ(grid->FixedRows(), c.fixedWhenSmall);
        EXPECT_EQ(grid->FixedCols(), c.fixedWhenSmall);
        grid->SetRowCount(8);
        grid->SetColCount(8);
        EXPECT_EQ(grid->FixedRows(), c.fixedAfterGrowing);
        EXPECT_EQ(grid->FixedCols(), c.fixedAfterGrowing);
        EXPECT_GRID_OK(*grid);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
    }
}

TEST_F(CreateTest, AGridCreatedInCodeKeepsItsStartingFixedRowWithTheAlwaysFlag) {
    grid->FixedRowAlways = true;
    grid->SetRowCount(1);
    grid->SetRowCount(5);
    EXPECT_EQ(grid->FixedRows(), 1);
}

TEST_F(CreateTest, FixedRowsAskedBeyondTheRowsAreLoweredButRemembered) {
    grid->FixedRowAlways = true;
    grid->SetFixedRows(12);
    EXPECT_EQ(grid->FixedRows(), 9);
    EXPECT_EQ(grid->FixedRowsMin(), 12);
    // While loading the value asked for is not remembered (Loaded takes the loaded count).
    grid->BeginLoading();
    grid->SetFixedRows(2);
    EXPECT_EQ(grid->FixedRowsMin(), 12);
    grid->EndLoading();
    EXPECT_EQ(grid->FixedRowsMin(), 2);
}

TEST_F(CreateTest, HighestCountsAreRemembered) {
    grid->SetRowCount(40);
    grid->SetRowCount(5);
    grid->SetColCount(12);
    grid->SetColCount(3);
    EXPECT_EQ(grid->MaxRowCount(), 40);
    EXPECT_EQ(grid->MaxColCount(), 12);
}

TEST_F(CreateTest, ColCountCountsShownColumnsOnly) {
    Fill(10, 3);
    grid->HideColumns(2, 3);
    EXPECT_EQ(grid->ColCount(), 8);
    grid->SetColCount(9);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->RealColIndex(8), 10);
    EXPECT_EQ(grid->AllColCount(), 11);
}

TEST_F(CreateTest, DisplayTextHookRunsForEveryDisplayRow) {
    Fill(3, 4);
    grid->OnGetDisplText = [](plat::TObject*, int, int, plat::String& v) { v = u"<" + v + u">"; };
    EXPECT_EQ(grid->Cells(1, 3), u"<1:3>");
    grid->InsertRows(4, 2);
    grid->SetGridCell(1, 5, u"new");
    EXPECT_EQ(grid->Cells(1, 5), u"<new>");
    grid->RemoveRows(0, 1);
    EXPECT_EQ(grid->Cells(1, 4), u"<new>");
    EXPECT_GRID_OK(*grid);
}

TEST_F(CreateTest, AssignCopiesEverySettingsObject) {
    auto src = std::make_unique<TExtStringGrid>(nullptr);
    struct Case {
        const char* what;
        std::function<void(TExtStringGrid&)> set;
        std::function<bool(TExtStringGrid&)> copied;
    };
    const Case cases[] = {
        {"MouseActions", [](TExtStringGrid& g) { g.MouseActions()->SetDisjunctRowSelect(true); },
         [](TExtStringGrid& g) { return g.MouseActions()->DisjunctRowSelect(); }},
        {"Navigation", [](TExtStringGrid& g) { g.Navigation()->AlwaysEdit = true; },
         [](TExtStringGrid& g) { return g.Navigation()->AlwaysEdit; }},
        {"Grouping", [](TExtStringGrid& g) { g.Grouping()->HeaderUnderline = true; },
         [](TExtStringGrid& g) { return g.Grouping()->HeaderUnderline; }},
        {"SearchFooter", [](TExtStringGrid& g) { g.SearchFooter()->SetShowFindPrev(!g.SearchFooter()->ShowFindPrev()); },
         [](TExtStringGrid& g) { return g.SearchFooter()->ShowFindPrev() != TSearchFooter(false).ShowFindPrev(); }},
        {"PrintSettings", [](TExtStringGrid& g) { g.PrintSettings()->Font.SetSize(31); },
         [](TExtStringGrid& g) { return g.PrintSettings()->Font.Size() == 31; }},
        {"Bands", [](TExtStringGrid& g) { g.Bands()->SetActive(true); },
         [](TExtStringGrid& g) { return g.Bands()->Active(); }},
        {"ColumnSize", [](TExtStringGrid& g) { g.ColumnSize()->StretchColumn = 3; },
         [](TExtStringGrid& g) { return g.ColumnSize()->StretchColumn == 3; }},
        {"SyncGrid", [](TExtStringGrid& g) { g.SyncGrid()->MoveRow = true; },
         [](TExtStringGrid& g) { return g.SyncGrid()->MoveRow; }},
        {"FocusHelper", [](TExtStringGrid& g) { g.FocusHelper()->Enabled = true; },
         [](TExtStringGrid& g) { return g.FocusHelper()->Enabled; }},
        {"AutoNumAlign", [](TExtStringGrid& g) { g.AutoNumAlign = true; },
         [](TExtStringGrid& g) { return g.AutoNumAlign; }},
        {"FixedRowHeight", [](TExtStringGrid& g) { g.FixedRowHeight = 33; },
         [](TExtStringGrid& g) { return g.FixedRowHeight == 33; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(c.copied(*grid)) << "the case must change a setting";
        c.set(*src);
    }
    grid->Assign(src.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.copied(*grid));
    }
}

TEST_F(CreateTest, LoadedShowsTheHeaderListsAndTakesTheColumnOrder) {
    grid->BeginLoading();
    grid->SetColCount(3);
    grid->ColumnHeaders()->Add(u"A");
    grid->ColumnHeaders()->Add(u"B");
    grid->RowHeaders()->Add(u"corner");
    grid->RowHeaders()->Add(u"first");
    grid->EndLoading();
    // Row headers are written after the column headers.
    EXPECT_EQ(grid->Cells(0, 0), u"corner");
    EXPECT_EQ(grid->Cells(1, 0), u"B");
    EXPECT_EQ(grid->Cells(0, 1), u"first");
    EXPECT_EQ(grid->ColumnOrder()->Count(), 3);
    EXPECT_EQ(grid->ColumnAtPosition(2), 2);
}

TEST(GridUnit, LocaleTextsAreReadAtEachCall) {
    const plat::TFormatSettings saved = plat::FormatSettings;
    plat::FormatSettings.TimeSeparator = u'.';
    plat::FormatSettings.DateSeparator = u'-';
    plat::FormatSettings.ThousandSeparator = u'\'';
    plat::FormatSettings.DecimalSeparator = u',';
    plat::FormatSettings.ShortDateFormat = u"yyyy-mm-dd";
    plat::FormatSettings.ShortTimeFormat = u"hh.nn";
    plat::FormatSettings.LongTimeFormat = u"hh.nn.ss";
    EXPECT_EQ(GetTimeSeparator(), u'.');
    EXPECT_EQ(GetDateSeparator(), u'-');
    EXPECT_EQ(GetThousandSeparator(), u'\'');
    EXPECT_EQ(GetDecimalSeparator(), u',');
    EXPECT_EQ(GetShortDateFormat(), u"yyyy-mm-dd");
    EXPECT_EQ(GetShortTimeFormat(), u"hh.nn");
    EXPECT_EQ(GetLongTimeFormat(), u"hh.nn.ss");
    plat::FormatSettings = saved;
    EXPECT_EQ(GetDecimalSeparator(), saved.DecimalSeparator);
}

TEST_F(CreateTest, TheUnitRegistersItsFormatAndMessagesOncePerProcess) {
    const TGridRegistrations& r = GridRegistrations();
    EXPECT_EQ(plat::GetClipboardFormatName(r.CellsClipboardFormat), u"TExtStringGrid Cells");
    EXPECT_EQ(plat::RegisterWindowMessage(u"GridEditDone"), r.GridEditDone);
    EXPECT_EQ(plat::RegisterWindowMessage(u"DTPShiftFocus"), r.DTPShiftFocus);
    EXPECT_NE(r.GridEditDone, r.DTPShiftFocus);
    EXPECT_GE(r.GridEditDone, 0xC000u);
    auto second = std::make_unique<TExtStringGrid>(nullptr);
    EXPECT_EQ(&GridRegistrations(), &r);
    EXPECT_EQ(GridRegistrations().GridEditDone, r.GridEditDone);
}

} // namespace
