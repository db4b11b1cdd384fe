// The cell checker: Correct and MarkError applied by their flags, range checks, and the links
// the grid forgets when the checker or the undo store is freed.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "esgcheck.h"

using namespace grid;
using grid::testing::GridFixture;

namespace {

// Corrects to upper case; marks texts that hold a digit.
class UpperChecker : public TExtStringGridCheck {
public:
    using TExtStringGridCheck::TExtStringGridCheck;
    String Correct(int ACol, int ARow, const String& Value) override {
        seen.push_back({ACol, ARow});
        String s = Value;
        for (auto& ch : s)
            if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - 32);
        return s;
    }
    String MarkError(int, int, const String& Value) override {
        for (char16_t ch : Value)
            if (ch >= u'0' && ch <= u'9') return u"<e>" + Value + u"</e>";
        return Value;
    }
    void StartCheck() override { ++starts; }
    void StopCheck() override { ++stops; }
    std::vector<plat::TPoint> seen;
    int starts = 0, stops = 0;
};

class CheckTest : public GridFixture<> {};

TEST_F(CheckTest, CheckCellAppliesOnlyTheEnabledOperations) {
    struct Case {
        const char* what;
        bool useCorrect, useMarkError;
        String text;
        bool result;
        String after;
    };
    const Case cases[] = {
        {"nothing enabled: marks go, passes", false, false, u"ab<e>c</e>", true, u"abc"},
        {"nothing enabled: a wrong text stays", false, false, u"ab1", true, u"ab1"},
        {"correct changes the text", true, false, u"abc", false, u"ABC"},
        {"correct finds nothing", true, false, u"ABC", true, u"ABC"},
        {"correct after stripping the marks", true, false, u"<e>AB</e>", true, u"AB"},
        {"mark error marks a digit", false, true, u"a1", false, u"<e>a1</e>"},
        {"a marked cell is marked again", false, true, u"<e>a1</e>", false, u"<e>a1</e>"},
        {"mark error finds nothing", false, true, u"ab", true, u"ab"},
        {"both: corrected then marked", true, true, u"a1", false, u"<e>A1</e>"},
    };
    UpperChecker checker(nullptr);
    grid->SetCellChecker(&checker);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        checker.UseCorrect = c.useCorrect;
        checker.UseMarkError = c.useMarkError;
        grid->SetCells(2, 3, c.text);
        EXPECT_EQ(grid->CheckCell(2, 3), c.result);
        EXPECT_EQ(grid::testing::Utf8(grid->Cells(2, 3)), grid::testing::Utf8(c.after));
        EXPECT_GRID_OK(*grid);
    }
    grid->SetCellChecker(nullptr);
}

TEST_F(CheckTest, WithoutCheckerEveryCheckPassesAndNothingChanges) {
    grid->SetCells(1, 1, u"<e>x</e>");
    EXPECT_TRUE(grid->CheckCell(1, 1));
    EXPECT_TRUE(grid->CheckCells(0, 0, 4, 9));
    EXPECT_TRUE(grid->CheckGrid(true));
    EXPECT_EQ(grid->Cells(1, 1), u"<e>x</e>");
}

TEST_F(CheckTest, CheckCellsChecksEveryCellRowByRowInOneBracket) {
    Fill(4, 5);
    grid->SetCells(1, 1, u"a");
    grid->SetCells(2, 2, u"b");
    UpperChecker checker(nullptr);
    checker.UseCorrect = true;
    grid->SetCellChecker(&checker);
    EXPECT_FALSE(grid->CheckCells(1, 1, 2, 2));
    EXPECT_GRID_OK(*grid);
    // The cell after the failing one was corrected too.
    EXPECT_EQ(grid->Cells(1, 1), u"A");
    EXPECT_EQ(grid->Cells(2, 2), u"B");
    const std::vector<plat::TPoint> order{{1, 1}, {2, 1}, {1, 2}, {2, 2}};
    EXPECT_EQ(checker.seen, order);
    EXPECT_EQ(checker.starts, 1);
    EXPECT_EQ(checker.stops, 1);
    // Nothing left to correct.
    EXPECT_TRUE(grid->CheckCells(1, 1, 2, 2));
    grid->SetCellChecker(nullptr);
}

TEST_F(CheckTest, GotoCellVisitsEachCellAndComesBack) {
    Fill(4, 5);
    struct Visiting : UpperChecker {
        using UpperChecker::UpperChecker;
        TExtStringGrid* g = nullptr;
        std::vector<plat::TPoint> current;
        String Correct(int ACol, int ARow, const String& Value) override {
            current.push_back({g->Col(), g->Row()});
            return UpperChecker::Correct(ACol, ARow, Value);
        }
    } checker(nullptr);
    checker.g = grid;
    checker.GotoCell = true;
    checker.UseCorrect = true;
    grid->SetCellChecker(&checker);
    grid->HideColumn(2);
    EXPECT_GRID_OK(*grid);
    grid->SetRow(4);
    grid->SetCol(1);
    grid->SetCells(3, 1, u"x");
    // Real column 3 shows as display column 2.
    EXPECT_FALSE(grid->CheckCells(3, 1, 3, 2));
    const std::vector<plat::TPoint> visited{{2, 1}, {2, 2}};
    EXPECT_EQ(checker.current, visited);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 1);
    grid->SetCellChecker(nullptr);
}

TEST_F(CheckTest, RangesOfColRowAndGrid) {
    Fill(5, 6);
    grid->FixedFooters = 1;
    grid->FixedRightCols = 1;
    grid->HideColumn(2);
    EXPECT_GRID_OK(*grid);
    UpperChecker checker(nullptr);
    checker.UseCorrect = true;
    grid->SetCellChecker(&checker);
    using Points = std::vector<plat::TPoint>;
    struct Case {
        const char* what;
        std::function<bool(TExtStringGrid&)> run;
        Points cells;
    };
    const Case cases[] = {
        {"CheckCol normal rows", [](TExtStringGrid& g) { return g.CheckCol(false, 3); },
         Points{{3, 1}, {3, 2}, {3, 3}, {3, 4}}},
        {"CheckCol all rows", [](TExtStringGrid& g) { return g.CheckCol(true, 3); },
         Points{{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}}},
        // Display columns 1 .. 2 (the last is a fixed right column) are real columns 1 and 3.
        {"CheckRow normal columns", [](TExtStringGrid& g) { return g.CheckRow(false, 2); }, Points{{1, 2}, {3, 2}}},
        {"CheckRow all shown columns", [](TExtStringGrid& g) { return g.CheckRow(true, 2); },
         Points{{0, 2}, {1, 2}, {3, 2}, {4, 2}}},
        {"CheckGrid normal cells", [](TExtStringGrid& g) { return g.CheckGrid(false); },
         Points{{1, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {3, 3}, {1, 4}, {3, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        checker.seen.clear();
        checker.starts = checker.stops = 0;
        // "c:r" holds no letters to correct.
        EXPECT_TRUE(c.run(*grid));
        EXPECT_EQ(checker.seen, c.cells);
        EXPECT_EQ(checker.starts, 1);
        EXPECT_EQ(checker.stops, 1);
    }
    grid->SetCellChecker(nullptr);
}

TEST_F(CheckTest, FreeingTheCheckerOrTheUndoStoreClearsTheGridsLink) {
    auto* checker = new TExtStringGridCheck(form.get());
    auto* undo = new TExtGridUndoRedo(form.get());
    grid->SetCellChecker(checker);
    grid->SetUndoRedo(undo);
    ASSERT_EQ(undo->Grid(), grid);
    delete checker;
    EXPECT_EQ(grid->CellChecker(), nullptr);
    EXPECT_TRUE(grid->CheckCell(1, 1));
    delete undo;
    EXPECT_EQ(grid->UndoRedo(), nullptr);
    // Freeing the grid first leaves the checker usable and unlinked from nothing.
    auto* checker2 = new TExtStringGridCheck(form.get());
    grid->SetCellChecker(checker2);
    auto* undo2 = new TExtGridUndoRedo(form.get());
    grid->SetUndoRedo(undo2);
    delete grid;
    grid = nullptr;
    EXPECT_EQ(undo2->Grid(), nullptr);
}

} // namespace
