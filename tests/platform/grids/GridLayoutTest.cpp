#include <gtest/gtest.h>

#include <vector>

#include "plat/Grids.h"

using namespace plat;

namespace {

// 10 columns of 64 px and 50 rows of 24 px, one fixed of each, 1-px grid lines, in a client
// area of 400 x 300: columns 1..5 and rows 1..11 fit whole.
TGridLayout TenByFifty() {
    TGridLayout l;
    l.Cols = TGridAxis(10, 1, 64);
    l.Rows = TGridAxis(50, 1, 24);
    l.GridLineWidth = 1;
    l.ClientWidth = 400;
    l.ClientHeight = 300;
    return l;
}

TEST(GridLayout, VisibleCountsAndScrollLimits) {
    TGridLayout l = TenByFifty();
    EXPECT_EQ(l.FixedWidth(), 65);
    EXPECT_EQ(l.FixedHeight(), 25);
    EXPECT_EQ(l.VisibleColCount(), 5);
    EXPECT_EQ(l.VisibleRowCount(), 11);
    EXPECT_EQ(l.MaxLeftCol(), 5);
    EXPECT_EQ(l.MaxTopRow(), 39);
    l.TopRow = 45;  // fewer rows left than fit
    EXPECT_EQ(l.VisibleRowCount(), 5);
    l.ClientHeight = 30;  // not even one whole row: still one visible
    l.TopRow = 1;
    EXPECT_EQ(l.VisibleRowCount(), 1);
}

TEST(GridLayout, CellRectOfVisibleAndHiddenCells) {
    struct Case { int top, left, col, row; TRect want; };
    const Case cases[] = {
        {1, 1, 0, 0, Rect(0, 0, 64, 24)},
        {1, 1, 1, 1, Rect(65, 25, 129, 49)},
        {1, 1, 6, 11, Rect(390, 275, 454, 299)},  // partly visible: not cut
        {1, 1, 7, 1, TRect{}},                      // starts beyond the client area
        {1, 1, 1, 12, TRect{}},
        {10, 1, 1, 5, TRect{}},                     // scrolled out above
        {10, 1, 0, 10, Rect(0, 25, 64, 49)},       // fixed column stays
        {10, 3, 3, 0, Rect(65, 0, 129, 24)},       // fixed row stays
        {1, 1, 10, 1, TRect{}},                     // beyond the column count
        {1, 1, -1, 1, TRect{}},
    };
    for (const auto& c : cases) {
        TGridLayout l = TenByFifty();
        l.TopRow = c.top;
        l.LeftCol = c.left;
        EXPECT_EQ(l.CellRect(c.col, c.row), c.want) << "cell " << c.col << "," << c.row << " top " << c.top;
    }
}

TEST(GridLayout, MouseToCell) {
    struct Case { int top, x, y; TGridCoord want; };
    const Case cases[] = {
        {1, 10, 10, {0, 0}},
        {1, 64, 24, {0, 0}},    // the grid line belongs to the cell before it
        {1, 65, 25, {1, 1}},
        {1, 399, 299, {6, 11}},
        {1, 400, 10, {-1, 0}},  // right of the client area
        {1, 10, 300, {0, -1}},
        {1, -1, -1, {-1, -1}},
        {39, 10, 30, {0, 39}},
        {39, 200, 299, {3, 49}},
    };
    for (const auto& c : cases) {
        TGridLayout l = TenByFifty();
        l.TopRow = c.top;
        EXPECT_EQ(l.MouseToCell(c.x, c.y), c.want) << "point " << c.x << "," << c.y;
    }
    // A grid smaller than its window: points past the last cell are outside.
    TGridLayout small = TenByFifty();
    small.Cols = TGridAxis(3, 1, 64);
    small.Rows = TGridAxis(3, 1, 24);
    EXPECT_EQ(small.MouseToCell(200, 80), (TGridCoord{-1, -1}));
    EXPECT_EQ(small.MouseToCell(194, 74), (TGridCoord{2, 2}));
}

TEST(GridLayout, BorderHitForSizing) {
    TGridLayout l = TenByFifty();
    EXPECT_EQ(l.ColBorderAt(64, 2), 0);
    EXPECT_EQ(l.ColBorderAt(62, 2), 0);
    EXPECT_EQ(l.ColBorderAt(128, 2), 1);
    EXPECT_EQ(l.ColBorderAt(100, 2), -1);
    EXPECT_EQ(l.RowBorderAt(49, 1), 1);
}

TEST(GridLayout, SizesFollowMovesAndCounts) {
    TGridAxis a(5, 1, 10);
    a.SetSize(1, 30);
    a.SetSize(3, 50);
    a.Move(1, 3);
    EXPECT_EQ(a.Size(1), 10);
    EXPECT_EQ(a.Size(2), 50);
    EXPECT_EQ(a.Size(3), 30);
    a.SetCount(8);
    EXPECT_EQ(a.Size(7), 10);
    EXPECT_EQ(a.Extent(0, 4, 1), 10 + 10 + 50 + 30 + 4);
    a.SetDefaultSize(20);
    EXPECT_EQ(a.Size(3), 20);
    a.SetFixed(9);
    EXPECT_EQ(a.Fixed(), 7);
}

// Sizes follow a permutation of a range of lines; what is no permutation within the count
// changes nothing.
TEST(GridLayout, SizesFollowAGatheredRange) {
    TGridAxis a(6, 1, 10);
    EXPECT_FALSE(a.Gather(1, std::vector<int>{1, 0})) << "every line of the default size";
    for (int i = 0; i < 6; ++i) a.SetSize(i, 20 + i);
    EXPECT_TRUE(a.Gather(2, std::vector<int>{2, 0, 3, 1}));
    const int want[] = {20, 21, 24, 22, 25, 23};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a.Size(i), want[i]) << i;
    EXPECT_FALSE(a.Gather(4, std::vector<int>{0, 1})) << "lines staying in place";
    EXPECT_FALSE(a.Gather(4, std::vector<int>{2, 1, 0})) << "a range past the count";
    EXPECT_FALSE(a.Gather(1, std::vector<int>{1, 2})) << "an index outside the range";
    EXPECT_FALSE(a.Gather(-1, std::vector<int>{1, 0}));
    for (int i = 0; i < 6; ++i) EXPECT_EQ(a.Size(i), want[i]) << i;
}

TEST(GridNavigation, KeysOnATenByFiftyGrid) {
    constexpr std::uint16_t kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28, kPgUp = 0x21,
                            kPgDn = 0x22, kEnd = 0x23, kHome = 0x24, kTab = 0x09;
    struct Case {
        const char* name;
        TGridCoord from;
        int top;
        std::uint16_t key;
        bool shift, ctrl;
        TGridOptions options;
        TGridCoord to;
        int wantTop, wantLeft;
        bool handled = true;
    };
    const Case cases[] = {
        {"left", {3, 5}, 1, kLeft, false, false, {}, {2, 5}, 1, 1},
        {"right", {3, 5}, 1, kRight, false, false, {}, {4, 5}, 1, 1},
        {"up", {3, 5}, 1, kUp, false, false, {}, {3, 4}, 1, 1},
        {"down", {3, 5}, 1, kDown, false, false, {}, {3, 6}, 1, 1},
        {"left at first column", {1, 5}, 1, kLeft, false, false, {}, {1, 5}, 1, 1},
        {"up at first row", {3, 1}, 1, kUp, false, false, {}, {3, 1}, 1, 1},
        {"down at last row", {3, 49}, 39, kDown, false, false, {}, {3, 49}, 39, 1},
        {"right at last column scrolls", {9, 5}, 1, kRight, false, false, {}, {9, 5}, 1, 5},
        {"down past the window scrolls", {3, 11}, 1, kDown, false, false, {}, {3, 12}, 2, 1},
        {"up above the window scrolls", {3, 10}, 10, kUp, false, false, {}, {3, 9}, 9, 1},
        {"home", {3, 5}, 1, kHome, false, false, {}, {1, 5}, 1, 1},
        {"end", {3, 5}, 1, kEnd, false, false, {}, {9, 5}, 1, 5},
        {"ctrl home", {3, 30}, 25, kHome, false, true, {}, {1, 1}, 1, 1},
        {"ctrl end", {3, 5}, 1, kEnd, false, true, {}, {9, 49}, 39, 5},
        {"page down", {3, 5}, 1, kPgDn, false, false, {}, {3, 16}, 12, 1},
        {"page down near the end", {3, 45}, 39, kPgDn, false, false, {}, {3, 49}, 39, 1},
        {"page up", {3, 20}, 15, kPgUp, false, false, {}, {3, 9}, 4, 1},
        {"page up near the top", {3, 5}, 1, kPgUp, false, false, {}, {3, 1}, 1, 1},
        {"tab wraps to next row", {9, 5}, 1, kTab, false, false, {goTabs}, {1, 6}, 1, 1},
        {"shift tab wraps back", {1, 6}, 1, kTab, true, false, {goTabs}, {9, 5}, 1, 5},
        {"tab without goTabs", {3, 5}, 1, kTab, false, false, {}, {3, 5}, 1, 1, false},
        {"row select: home goes to first row", {3, 20}, 15, kHome, false, false, {goRowSelect}, {3, 1}, 1, 1},
        {"row select: right scrolls", {3, 5}, 1, kRight, false, false, {goRowSelect}, {3, 5}, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGridLayout l = TenByFifty();
        l.TopRow = c.top;
        const TGridMove m = NavigateKey(l, c.from, c.key, c.shift, c.ctrl, c.options);
        EXPECT_EQ(m.Handled, c.handled);
        if (!c.handled) continue;
        EXPECT_EQ(m.Cell, c.to);
        EXPECT_EQ(m.TopRow, c.wantTop);
        EXPECT_EQ(m.LeftCol, c.wantLeft);
    }
}

} // namespace
