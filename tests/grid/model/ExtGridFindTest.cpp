// Search, replace and the cells-changed notification of the string grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"

using namespace grid;
using grid::testing::GridFixture;
using plat::String;

namespace {

//        c0   c1      c2      c3 (hidden)
//   r0   h0   h1      h2      h3
//   r1   L1   xAby    abc     ab
//   r2   L2   cab             zz
//   r3   L3   ab      AB      ab
//   r4   L4   q       secret  q      (hidden row)
class FindTest : public GridFixture<> {
protected:
    void SetUp() override {
        GridFixture<>::SetUp();
        const std::vector<std::vector<String>> rows = {{u"h0", u"h1", u"h2", u"h3"},
                                                       {u"L1", u"xAby", u"abc", u"ab"},
                                                       {u"L2", u"cab", u"", u"zz"},
                                                       {u"L3", u"ab", u"AB", u"ab"},
                                                       {u"L4", u"q", u"secret", u"q"}};
        grid->SetColCount(4);
        grid->SetRowCount(5);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c) grid->SetCells(c, r, rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        grid->HideRow(4);
        grid->HideColumn(3);
    }
};

struct FindCase {
    const char* name;
    String text;
    TFindParameters params;
    TPoint expected;
    std::function<void(TExtStringGrid&)> setup = nullptr;
};

TEST_F(FindTest, FlagTable) {
    const FindCase cases[] = {
        {"no flags: column by column, case ignored", u"ab", {}, {1, 1}},
        {"match case", u"ab", {fnMatchCase}, {1, 2}},
        {"match full", u"ab", {fnMatchFull}, {1, 3}},
        {"match full refuses longer texts", u"abc", {fnMatchFull, fnMatchCase}, {2, 1}},
        {"match start", u"ab", {fnMatchStart}, {1, 3}},
        {"match start row by row", u"ab", {fnMatchStart, fnDirectionLeftRight}, {2, 1}},
        {"row by row", u"ab", {fnDirectionLeftRight}, {1, 1}},
        {"backward", u"ab", {fnBackward}, {2, 3}},
        {"backward row by row", u"c", {fnBackward, fnDirectionLeftRight}, {1, 2}},
        {"hidden column not searched", u"zz", {}, {-1, -1}},
        {"hidden column gives a real index", u"zz", {fnIncludeHiddenColumns}, {3, 2}},
        {"hidden row not searched", u"secret", {}, {-1, -1}},
        {"hidden row gives a real index", u"secret", {fnIncludeHiddenRows}, {2, 4}},
        {"two double quotes find the empty cell", u"\"\"", {}, {2, 2}},
        {"fixed cells", u"L2", {fnIncludeFixed}, {0, 2}},
        {"fixed cells not searched", u"L2", {}, {-1, -1}},
        {"expression", u"a?c", {fnMatchRegular}, {2, 1}},
        {"preset column", u"ab", {fnFindInPresetCol}, {2, 1}, [](TExtStringGrid& g) { g.FindCol = 2; }},
        {"preset row", u"ab", {fnFindInPresetRow, fnDirectionLeftRight}, {1, 3}, [](TExtStringGrid& g) { g.FindRow = 3; }},
        {"current column", u"b", {fnFindInCurrentCol}, {2, 1}, [](TExtStringGrid& g) { g.SetCol(2); }},
        {"selected cells", u"ab", {fnSelectedCells},
         {2, 3},
         [](TExtStringGrid& g) { g.SetSelection(plat::TGridRect{2, 2, 2, 3}); }},
        {"ignored column skipped row by row", u"ab", {fnDirectionLeftRight, fnMatchStart},
         {1, 3},
         [](TExtStringGrid& g) { g.IgnoreColumns()->Add(2); }},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        grid->FindCol = grid->FindRow = 0;
        grid->IgnoreColumns()->Clear();
        grid->SetCol(1);
        if (c.setup) c.setup(*grid);
        const TPoint p = grid->FindFirst(c.text, c.params);
        EXPECT_EQ(p.X, c.expected.X);
        EXPECT_EQ(p.Y, c.expected.Y);
        EXPECT_EQ(grid->FindBusy(), c.expected.X >= 0);
    }
}

TEST_F(FindTest, FindNextWalksThenStartsOver) {
    const TFindParameters p{fnMatchCase};
    std::vector<std::pair<int, int>> seen;
    for (TPoint at = grid->FindFirst(u"ab", p); at.X >= 0; at = grid->FindNext()) seen.emplace_back(at.X, at.Y);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 2}, {1, 3}, {2, 1}}));
    EXPECT_EQ(grid->SearchCell().X, -1);
    const TPoint again = grid->FindNext();
    EXPECT_EQ(again.X, 1);
    EXPECT_EQ(again.Y, 2);
}

TEST_F(FindTest, AutoGotoMakesTheCellCurrent) {
    grid->FindFirst(u"AB", {fnMatchCase, fnAutoGoto});
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 2);
}

TEST_F(FindTest, ReplaceHonoursMatchCase) {
    struct Case {
        const char* name;
        TFindParameters params;
        String result;
    };
    const Case cases[] = {{"without match case", {}, u"bbb"}, {"with match case", {fnMatchCase}, u"AbA"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(1, 1, u"AaA");
        grid->SetCells(1, 2, u"xyz");
        grid->SetCells(1, 3, u"");
        grid->SetCells(2, 1, u"");
        grid->SetCells(2, 3, u"");
        EXPECT_EQ(grid->Replace(u"a", u"b", c.params), 1);
        EXPECT_EQ(grid->Cells(1, 1), c.result);
        EXPECT_EQ(grid->Cells(1, 2), u"xyz");
        EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
    }
}

TEST_F(FindTest, ReplaceReachesHiddenRowsWhenAsked) {
    EXPECT_EQ(grid->Replace(u"secret", u"open", {fnIncludeHiddenRows}), 1);
    EXPECT_EQ(grid->GetGridCellsEx(2, 4), u"open");
    EXPECT_TRUE(grid->IsHiddenRow(4));
}

TEST_F(FindTest, SearchLooksUpTheSortedColumn) {
    EXPECT_EQ(grid->Search(u"CA"), 2) << "without the sort glyph: column FixedCols";
    grid->SortSettings()->SetShow(true);
    grid->SortSettings()->Column = 2;
    EXPECT_EQ(grid->Search(u"AB"), 1);
    EXPECT_EQ(grid->Search(u"ZZ"), -1);
    grid->SortSettings()->Column = -1;
    EXPECT_EQ(grid->Search(u"AB"), -1);
}

TEST_F(FindTest, SearchFooterFlags) {
    grid->SearchFooter()->SearchFixedCells = true;
    grid->SearchFooter()->SearchHiddenRows = true;
    grid->SearchFooter()->SearchDirection = sdLeftRight;
    grid->SearchFooter()->SearchColumn = 2;
    const TFindParameters edit = grid->SearchFooterFindParams(TExtStringGrid::sfEditChange, true, true);
    EXPECT_EQ(edit, (TFindParameters{fnAutoGoto, fnIgnoreHTMLTags, fnMatchCase, fnFindInPresetCol, fnDirectionLeftRight,
                                     fnIncludeFixed, fnIncludeHiddenRows}));
    EXPECT_EQ(grid->FindCol, 2);
    const TFindParameters next = grid->SearchFooterFindParams(TExtStringGrid::sfFindNext, false, false);
    EXPECT_EQ(next, (TFindParameters{fnAutoGoto, fnFindInPresetCol, fnDirectionLeftRight}));
    const TFindParameters prev = grid->SearchFooterFindParams(TExtStringGrid::sfFindPrevious, false, false);
    EXPECT_EQ(prev, (TFindParameters{fnAutoGoto, fnFindInPresetCol, fnBackward}));
    EXPECT_EQ(TExtStringGrid::SearchEditColor(false), 0x000000FF);
}

// ---- cells-changed notification --------------------------------------------------------------

class RecordingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void CalcFooter(int ACol) override { Log->push_back("footer " + std::to_string(ACol)); }
    std::vector<std::string>* Log = nullptr;
};

class Recorder : public TGridChangeNotifier {
public:
    Recorder(std::string Name, std::vector<std::string>& Log) : name(std::move(Name)), log(Log) {}
    void CellsChanged(plat::TObject*, const plat::TRect& R) override {
        log.push_back(name + " " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) +
                      "," + std::to_string(R.Bottom));
    }
    std::string name;
    std::vector<std::string>& log;
};

class CellsChangedTest : public GridFixture<RecordingGrid> {};

TEST_F(CellsChangedTest, EachOperationReportsItsRectangleToEventNotifiersAndFooter) {
    struct Case {
        const char* name;
        std::function<void(RecordingGrid&)> op;
        std::string rect;
    };
    const Case cases[] = {
        {"QSort", [](RecordingGrid& g) { g.Sort(1, sdDescending); }, "0,1,2,5"},
        {"QSortIndexed",
         [](RecordingGrid& g) {
             g.SortIndexes()->AddIndex(1, false);
             g.QSortIndexed();
         },
         "0,1,2,5"},
        {"QuickSort", [](RecordingGrid& g) { g.QuickSort(1, 2, 4); }, "0,2,2,4"},
        {"QUnSort",
         [](RecordingGrid& g) {
             g.Sort(1, sdDescending);
             g.Log->clear();
             g.QUnSort();
         },
         "0,0,2,5"},
        {"filter on",
         [](RecordingGrid& g) {
             g.Filter()->Add()->Condition = u"1:3";
             g.Filter()->Items(0)->Column = 1;
             g.SetFilterActive(true);
         },
         "0,1,2,1"},
        {"filter off",
         [](RecordingGrid& g) {
             g.Filter()->Add()->Condition = u"1:3";
             g.Filter()->Items(0)->Column = 1;
             g.SetFilterActive(true);
             g.Log->clear();
             g.SetFilterActive(false);
         },
         "0,1,2,5"},
        {"Replace", [](RecordingGrid& g) { g.Replace(u"2:4", u"x", {fnMatchCase}); }, "2,4,2,4"},
        {"InsertRows", [](RecordingGrid& g) { g.InsertRows(2, 1); }, "0,2,2,3"},
        {"RemoveRows", [](RecordingGrid& g) { g.RemoveRows(2, 2); }, "0,2,2,4"},
        {"SwapColumns", [](RecordingGrid& g) { g.SwapColumns(1, 2); }, "1,0,2,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form = std::make_unique<plat::TForm>(nullptr);
        grid = new RecordingGrid(form.get());
        grid->SetParent(form.get());
        std::vector<std::string> log;
        grid->Log = &log;
        Fill(3, 6);
        grid->SetFixedRows(1);
        Recorder first("first", log), second("second", log);
        grid->OnCellsChanged = [&](plat::TObject*, const plat::TRect& R) {
            log.push_back("event " + std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
                          std::to_string(R.Right) + "," + std::to_string(R.Bottom));
        };
        grid->RegisterNotifier(&first);
        grid->RegisterNotifier(&second);
        log.clear();
        c.op(*grid);
        // The last report: event, then the notifiers in order, then the footer.
        auto at = std::find_if(log.rbegin(), log.rend(), [](const std::string& e) { return e.rfind("event", 0) == 0; });
        ASSERT_NE(at, log.rend());
        const auto from = at.base() - 1;
        ASSERT_GE(log.end() - from, 4);
        const std::vector<std::string> tail(from, from + 4);
        EXPECT_EQ(tail, (std::vector<std::string>{"event " + c.rect, "first " + c.rect, "second " + c.rect, "footer -1"}));
        grid->UnRegisterNotifier(&first);
        grid->UnRegisterNotifier(&second);
    }
}

} // namespace
