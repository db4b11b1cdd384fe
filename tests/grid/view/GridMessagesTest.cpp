// The grid timer, the dialog-code answer, the hint and the balloon text of a cell.
#include <gtest/gtest.h>

#include <functional>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "ExtUtil.h"
#include "GridHint.h"
#include "plat/Forms.h"
#include "plat/BalloonTip.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridMessagesTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Fill(3, 6);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        form->Show();
        pt::ProcessEvents();
    }
};

TEST_F(GridMessagesTest, TheGridTimerForgetsTheIncrementalSearchText) {
    const char16_t* names[] = {u"abc", u"abd", u"cat", u"abcx", u"car"};
    for (int r = 1; r < 6; ++r) grid->SetCells(1, r, names[r - 1]);
    grid->Navigation()->AutoGotoWhenSorted = true;
    grid->Navigation()->AutoGotoIncremental = true;
    struct Case {
        const char* name;
        unsigned wait;
        const char16_t* search;
        int row;
    };
    const Case cases[] = {
        {"a second keeps the prefix", 1000, u"abc", 1},
        {"two and a half seconds forget it", 2500, u"c", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SearchInc.clear();
        grid->SetRow(5);
        grid->SetFocus();
        pt::Type(u"ab");
        EXPECT_EQ(grid->Row(), 1);
        const int ticks = grid->TimerTicks();
        pt::AdvanceClock(c.wait);
        EXPECT_EQ(grid->TimerTicks() - ticks, static_cast<int>(c.wait / 500));
        pt::Type(u"c");
        EXPECT_EQ(grid->SearchInc, c.search);
        EXPECT_EQ(grid->Row(), c.row);
    }
}

TEST_F(GridMessagesTest, DialogCodeAsksForCharactersWithoutEditing) {
    struct Case {
        const char* name;
        bool editing, autoGoto, wantChars;
    };
    const Case cases[] = {
        {"no goEditing", false, false, true},
        {"goEditing with AutoGotoWhenSorted", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::TGridOptions o = grid->Options();
        if (c.editing) o.Include(plat::goEditing);
        else o.Exclude(plat::goEditing);
        grid->SetOptions(o);
        grid->Navigation()->AutoGotoWhenSorted = c.autoGoto;
        const auto code = grid->Perform(plat::WM_GETDLGCODE, 0, 0);
        EXPECT_EQ((code & plat::DLGC_WANTCHARS) != 0, c.wantChars);
        EXPECT_NE(code & plat::DLGC_WANTARROWS, 0) << "the framework's answer stays";
    }
}

TEST_F(GridMessagesTest, BalloonTextOfACell) {
    struct Case {
        const char* name;
        String cell;
        String text;
    };
    const String longText(3000, u'x');
    const Case cases[] = {
        {"plain", u"value", u"value"},
        {"tabs become blanks, leading breaks skipped", u"\r\n\na\tb", u"a b"},
        {"markup as plain text", u"x<B>y</B>", u"xy"},
        {"rich text as plain text", u"{\\rtf1 r\\b t}", u"rt"},
        {"encoded wide text", EncodeEscapedUnicode(u"\u041F\u0440"), u"\u041F\u0440"},
        {"3000 characters", longText, String(2045, u'x') + u"..."},
        {"2048 characters stay whole", String(2048, u'y'), String(2048, u'y')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(2, 2, c.cell);
        String title, text;
        int icon = 0;
        grid->CellBalloonInfo(2, 2, title, text, icon);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(title, u" ");
        EXPECT_EQ(icon, 1);
    }
    // A balloon cell supplies its own; OnCellBalloon has the last word; long titles are cut.
    grid->AddBalloon(2, 3, u"Cell title", u"Cell text", biError);
    String title, text;
    int icon = 0;
    grid->CellBalloonInfo(2, 3, title, text, icon);
    EXPECT_EQ(title, u"Cell title");
    EXPECT_EQ(text, u"Cell text");
    EXPECT_EQ(icon, static_cast<int>(biError));
    grid->OnCellBalloon = [](plat::TObject*, int, int, String& t, String&, int& i) {
        t = String(101, u't');
        i = 2;
    };
    grid->CellBalloonInfo(2, 3, title, text, icon);
    EXPECT_EQ(title, String(97, u't') + u"...");
    EXPECT_EQ(icon, 2);
}

TEST_F(GridMessagesTest, CellBalloonShowsOnlyWhenEnabled) {
    grid->SetCells(2, 2, u"hello");
    EXPECT_FALSE(grid->ShowCellBalloon(2, 2));
    grid->Balloon().Enable = true;
    grid->Balloon().TextColor = plat::clRed;
    ASSERT_TRUE(grid->ShowCellBalloon(2, 2));
    EXPECT_EQ(grid->LastBalloonCell().X, 2);
    EXPECT_EQ(grid->LastBalloonCell().Y, 2);
}

// The hint of the cell under the pointer, as the layer asks for it (CM_HINTSHOW); every case
// runs with a hidden column, and OnGridHint receives the real column.
class GridCellHintTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 400, 200);
        grid->SetColCount(5);
        grid->SetRowCount(5);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < 5; ++c) grid->Columns()->Items(c)->SetWidth(60);
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    // The hint the grid gives for a point inside the cell (real column, row).
    plat::THintInfo Ask(int real, int row, plat::TPoint inCell = {5, 5}) {
        const plat::TRect r = grid->CellRect(grid->DisplColIndex(real), row);
        plat::THintInfo hi;
        hi.HintControl = grid;
        hi.CursorPos = {r.Left + inCell.X, r.Top + inCell.Y};
        hi.HintStr = grid->Hint();
        EXPECT_EQ(grid->Perform(plat::CM_HINTSHOW, 0, reinterpret_cast<plat::LPARAM>(&hi)), 0);
        return hi;
    }
};

TEST_P(GridCellHintTest, TheHintFollowsTheGridsSettings) {
    struct Case {
        const char* name;
        std::function<void(TExtColumnGrid*)> setup;
        int real, row;
        String text;
        enum { kCursorBelow, kCellTop, kCellTopLeft, kTopRight } place;
        bool markupWindow;
    };
    const String longText(80, u'w');
    const Case cases[] = {
        {"HintShowCells shows the cell text at the cell's top", [](TExtColumnGrid* g) { g->HintShowCells = true; },
         2, 1, u"2:1", Case::kCellTop, false},
        {"markup loses its tags", [](TExtColumnGrid* g) {
             g->HintShowCells = true;
             g->SetCells(2, 1, u"x<B>y</B>");
         },
         2, 1, u"xy", Case::kCellTop, false},
        {"with HTMLHint markup stays, in the markup window", [](TExtColumnGrid* g) {
             g->HintShowCells = true;
             g->HTMLHint = true;
             g->SetCells(2, 1, u"x<B>y</B>");
         },
         2, 1, u"x<B>y</B>", Case::kCellTop, true},
        {"a header cell keeps the control's hint", [](TExtColumnGrid* g) { g->HintShowCells = true; }, 2, 0, u"tip",
         Case::kCursorBelow, false},
        {"a comment shows at the top-right corner", [](TExtColumnGrid* g) { g->SetComment(3, 2, u"note"); }, 3, 2,
         u"note", Case::kTopRight, false},
        {"HintShowLargeText: a short text gives the control's hint",
         [](TExtColumnGrid* g) { g->HintShowLargeText = true; }, 2, 2, u"tip", Case::kCursorBelow, false},
        {"HintShowLargeText: a text wider than its cell", [&](TExtColumnGrid* g) {
             g->HintShowLargeText = true;
             g->HintShowLargeTextPos = TExtStringGrid::hpCell;
             g->SetCells(2, 2, longText);
         },
         2, 2, longText, Case::kCellTopLeft, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->HintShowCells = grid->HintShowLargeText = grid->HTMLHint = false;
        grid->HintShowLargeTextPos = TExtStringGrid::hpCursor;
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 5; ++col) grid->SetCells(col, r, plat::IntToStr(col) + u":" + plat::IntToStr(r));
        grid->SetHint(u"tip");
        grid->HintColor = plat::clYellow;
        c.setup(grid);
        const plat::TRect cell = grid->CellRect(grid->DisplColIndex(c.real), c.row);
        const plat::THintInfo hi = Ask(c.real, c.row);
        EXPECT_EQ(hi.HintStr, c.text);
        EXPECT_EQ(hi.HintColor, plat::clYellow);
        plat::TPoint at{};
        switch (c.place) {
        case Case::kCursorBelow: at = {cell.Left + 5, cell.Bottom + 6}; break;
        case Case::kCellTop: at = {cell.Left + 5, cell.Top}; break;
        case Case::kCellTopLeft: at = {cell.Left, cell.Top}; break;
        case Case::kTopRight: at = {cell.Right, cell.Top}; break;
        }
        EXPECT_EQ(hi.HintPos, grid->ClientToScreen(at));
        EXPECT_EQ(hi.CursorRect, cell) << "the hint stays while the pointer is on the cell";
        EXPECT_EQ(hi.HintData == grid, c.markupWindow);
    }
}

TEST_P(GridCellHintTest, OnGridHintGetsTheRealColumnAndHasTheLastWord) {
    grid->HintShowCells = true;
    grid->SetCells(3, 2, u"text");
    int seenCol = -1, seenRow = -1;
    grid->OnGridHint = [&](plat::TObject*, int r, int c, String& hint) {
        seenCol = c;
        seenRow = r;
        hint = u"Slave " + hint;
    };
    const plat::THintInfo hi = Ask(3, 2);
    EXPECT_EQ(hi.HintStr, u"Slave text");
    EXPECT_EQ(seenCol, 3);
    EXPECT_EQ(seenRow, 2);
    EXPECT_EQ(grid->LastHintPos(), (TPoint{3, 2}));
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridCellHintTest, ::testing::Bool());

} // namespace
