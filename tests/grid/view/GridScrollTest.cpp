// Scroll bars of the string grid: the flat and encarta bars, the metro indicators,
// proportional thumbs, thumb scrolling, integral height and the stretched resize.
#include <gtest/gtest.h>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "GridScrollControl.h"
#include "TestSupport.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridScrollTest : public grid::testing::GridFixture<> {
protected:
    // A grid of 1 fixed and 30 scrollable rows 20 pixels apart, 3 columns that fit.
    void Rows31() {
        grid->SetColCount(3);
        grid->SetRowCount(31);
        grid->SetDefaultColWidth(64);
        grid->SetDefaultRowHeight(20);
        grid->SetGridLineWidth(1);
    }
    std::intptr_t Prop(plat::UINT Index) {
        std::intptr_t v = -1;
        EXPECT_TRUE(plat::FlatSB_GetScrollProp(grid->Handle(), Index, &v));
        return v;
    }
};

TEST_F(GridScrollTest, ScrollTypeSetsTheWindowBarsOrTheSlimIndicators) {
    struct Case {
        const char* name;
        TScrollType type;
        bool flat;
        int style;
        bool metro;
        plat::TScrollStyle bars;
    };
    const Case cases[] = {
        {"flat", ssFlat, true, plat::FSB_FLAT_MODE, false, plat::ssBoth},
        {"encarta", ssEncarta, true, plat::FSB_ENCARTA_MODE, false, plat::ssBoth},
        {"metro", ssMetro, false, 0, true, plat::ssNone},
        {"normal after metro", ssNormal, false, 0, false, plat::ssBoth},
        {"flat after normal", ssFlat, true, plat::FSB_FLAT_MODE, false, plat::ssBoth},
        {"normal", ssNormal, false, 0, false, plat::ssBoth},
    };
    Rows31();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetScrollType(c.type);
        EXPECT_EQ(grid->FlatScrollBarsActive(), c.flat);
        if (c.flat) {
            EXPECT_EQ(Prop(plat::WSB_PROP_VSTYLE), c.style);
            EXPECT_EQ(Prop(plat::WSB_PROP_HSTYLE), c.style);
        } else {
            std::intptr_t v = 0;
            EXPECT_FALSE(plat::FlatSB_GetScrollProp(grid->Handle(), plat::WSB_PROP_VSTYLE, &v));
        }
        EXPECT_EQ(grid->VScrollControl() != nullptr, c.metro);
        EXPECT_EQ(grid->HScrollControl() != nullptr, c.metro);
        EXPECT_EQ(grid->ScrollBars, c.bars);
        // Rows are hidden below: the window's vertical bar shows unless the indicators do.
        EXPECT_EQ(bool(grid->WindowStyle() & plat::WS_VSCROLL), !c.metro);
    }
}

TEST_F(GridScrollTest, FlatBarsTakeColourAndWidth) {
    Rows31();
    form->Show();
    // Without flat bars colour and width are stored, the window bars keep their look.
    grid->SetScrollWidth(12);
    grid->SetScrollColor(plat::clRed);
    EXPECT_EQ(grid->ClientWidth(), 400 - 4 - 17);
    grid->SetScrollType(ssFlat);
    EXPECT_EQ(Prop(plat::WSB_PROP_CXVSCROLL), 12);
    EXPECT_EQ(Prop(plat::WSB_PROP_CYHSCROLL), 12);
    EXPECT_EQ(Prop(plat::WSB_PROP_VBKGCOLOR), plat::clRed);
    EXPECT_EQ(grid->ClientWidth(), 400 - 4 - 12);
    pt::ProcessEvents();
    auto shot = pt::Grab(grid);
    // The track below the thumb, above the lower arrow, in the bar's colour.
    EXPECT_EQ(pt::PixelOf(*shot, 400 - 2 - 6, 250 - 2 - 12 - 6), plat::ColorToRGB(plat::clRed));
    grid->SetScrollWidth(20);
    EXPECT_EQ(grid->ClientWidth(), 400 - 4 - 20);
    // Back to the regular bars of the system's width.
    grid->SetScrollType(ssNormal);
    EXPECT_EQ(grid->ClientWidth(), 400 - 4 - 17);
}

TEST_F(GridScrollTest, FlatBarsShowWhileLinesAreHidden) {
    Rows31();
    grid->SetScrollType(ssFlat);
    EXPECT_TRUE(grid->WindowStyle() & plat::WS_VSCROLL);
    grid->SetRowCount(4);
    grid->UpdateFlatScrollBars();
    EXPECT_FALSE(grid->WindowStyle() & plat::WS_VSCROLL);
    EXPECT_FALSE(grid->WindowStyle() & plat::WS_HSCROLL);
    grid->SetColCount(12);
    grid->UpdateFlatScrollBars();
    EXPECT_TRUE(grid->WindowStyle() & plat::WS_HSCROLL);
    // A bar the style leaves out stays hidden.
    grid->SetScrollBars(plat::ssVertical);
    grid->SetColCount(13);
    grid->SetRowCount(40);
    grid->UpdateFlatScrollBars();
    EXPECT_TRUE(grid->WindowStyle() & plat::WS_VSCROLL);
}

TEST_F(GridScrollTest, MetroThumbFollowsTheTopRowAndPages) {
    Rows31();
    grid->SetScrollType(ssMetro);
    form->Show();
    TScrollControl* v = grid->VScrollControl();
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(grid->ClientHeight(), 246);
    ASSERT_EQ(v->Height(), 246);
    ASSERT_EQ(grid->VisibleRowCount(), 11);
    // Track: 246 - 20 fixed = 226; thumb round(226 * 11 / 31) = 80 long.
    EXPECT_EQ(v->Thumb().Start, 20);
    EXPECT_EQ(v->Thumb().Length, 80);
    grid->SetTopRow(11);
    EXPECT_EQ(v->Thumb().Start, 20 + 75);
    grid->SetTopRow(20);
    EXPECT_EQ(v->Thumb().Start, 20 + 143);
    // A press above the thumb pages up, one below it pages down, kept inside the rows.
    pt::Click(v, 1, 30);
    EXPECT_EQ(grid->TopRow(), 9);
    pt::Click(v, 1, 30);
    EXPECT_EQ(grid->TopRow(), 1);
    pt::Click(v, 1, 200);
    EXPECT_EQ(grid->TopRow(), 12);
    // Dragging the thumb by 45 pixels moves round(45 / (246 - 20) * 31) = 6 rows.
    const int y = v->Thumb().Start + 5;
    pt::Press(v, 1, y);
    pt::Move(v, 1, y + 45, plat::ssLeft);
    pt::Release(v, 1, y + 45);
    EXPECT_EQ(grid->TopRow(), 18);
    // Every row fits: no thumb.
    grid->SetRowCount(5);
    EXPECT_EQ(v->Thumb().Length, 0);
}

TEST_F(GridScrollTest, ProportionalThumbs) {
    struct Case {
        const char* name;
        int cols, left;
        bool changed;
        int max, page, pos;
    };
    // 1 fixed column and n - 1 scrollable ones of 64 pixels, lines of 1, a grid 400 wide:
    // F = 66, S = 1 + 65 (n - 1).
    const Case cases[] = {
        {"at the start", 11, 1, true, 261, 135, 0},
        {"scrolled by three", 11, 4, true, 261, 135, 99},
        {"fits", 6, 1, false, 0, 0, 0},
        {"less than 5 pixels hidden", 6, 1, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetScrollProportional(false);
        grid->SetColCount(c.cols);
        grid->SetRowCount(3);
        grid->SetDefaultColWidth(64);
        grid->SetGridLineWidth(1);
        if (std::string(c.name) == "less than 5 pixels hidden") grid->SetColWidths(5, 64 + 70);
        plat::TScrollInfo before;
        before.fMask = plat::SIF_ALL;
        plat::GetScrollInfo(grid->Handle(), plat::SB_HORZ, before);
        grid->SetScrollProportional(true);
        grid->SetLeftCol(c.left);
        grid->UpdateHScrollProportional();
        plat::TScrollInfo si;
        si.fMask = plat::SIF_ALL;
        plat::GetScrollInfo(grid->Handle(), plat::SB_HORZ, si);
        if (c.changed) {
            EXPECT_EQ(si.nMax, c.max);
            EXPECT_EQ(static_cast<int>(si.nPage), c.page);
            EXPECT_EQ(si.nPos, c.pos);
        } else {
            EXPECT_NE(si.nMax, 261);
        }
    }
}

TEST_F(GridScrollTest, ProportionalThumbTrackScrollsToTheThumbsColumn) {
    grid->SetColCount(41);
    grid->SetRowCount(3);
    grid->SetDefaultColWidth(64);
    grid->SetScrollProportional(true);
    form->Show();
    const int n = grid->ColCount() - grid->VisibleColCount() - grid->FixedCols();
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBPOSITION, 127), 0);
    EXPECT_EQ(grid->LeftCol(), n + 1);
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBPOSITION, 0), 0);
    EXPECT_EQ(grid->LeftCol(), 1);
}

TEST_F(GridScrollTest, ScrollSynchScrollsWhileTheThumbIsDragged) {
    grid->SetColCount(41);
    grid->SetRowCount(300);
    grid->ScrollSynch = true;
    grid->SetScrollProportional(true);
    form->Show();
    // Row of thumb position p: MulDiv(p, RowCount - visible - FixedRows, 127) + FixedRows.
    const int n = grid->RowCount() - grid->VisibleRowCount() - grid->FixedRows();
    grid->Perform(plat::WM_VSCROLL, plat::MakeWParam(plat::SB_THUMBTRACK, 64), 0);
    EXPECT_EQ(grid->TopRow(), 64 * n / 127 + 1);
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBTRACK, 127), 0);
    EXPECT_EQ(grid->LeftCol(), grid->ColCount() - grid->VisibleColCount());
}

TEST_F(GridScrollTest, IntegralHeightKeepsWholeRows) {
    struct Case {
        const char* name;
        int cols;
        int height, expected;
    };
    // h = 17 when columns are hidden, b = 2 for the single border:
    // height + b - ((height - h - b) mod 22).
    const Case cases[] = {
        {"all columns fit", 3, 250, 246},
        {"columns hidden", 30, 250, 241},
        {"already whole", 3, 244, 246},
    };
    grid->SetDefaultRowHeight(22);
    grid->SetDefaultColWidth(64);
    grid->SetIntegralHeight(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetColCount(c.cols);
        grid->SetHeight(c.height);
        EXPECT_EQ(grid->Height(), c.expected);
    }
    grid->SetIntegralHeight(false);
    grid->SetHeight(250);
    EXPECT_EQ(grid->Height(), 250);
}

TEST_F(GridScrollTest, StretchedResizeFiresOnResizeOnce) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedCols(0);
    grid->SetColWidths(0, 40);
    grid->SetColWidths(1, 100);
    grid->ColumnSize()->StretchColumn = -1;
    grid->ColumnSize()->SetStretch(true);
    int resized = 0;
    grid->OnResize = [&](plat::TObject*) { ++resized; };
    grid->SetWidth(500);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(grid->ColWidths(2), grid->ClientWidth() - 140 - 1);
}

// The always-visible rule outlives a resize: the bar of a grid whose rows all fit stays
// shown (and disabled) when the grid grows or shrinks; without the rule it goes.
TEST_F(GridScrollTest, AlwaysVisibleBarStaysThroughAResize) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetBounds(0, 0, 300, 200);
    form->Show();
    pt::ProcessEvents();
    grid->SetScrollBarAlways(saVert);
    ASSERT_TRUE(grid->WindowStyle() & plat::WS_VSCROLL);
    for (int h : {260, 180}) {
        SCOPED_TRACE(h);
        grid->SetBounds(0, 0, 300, h);
        pt::ProcessEvents();
        EXPECT_TRUE(grid->WindowStyle() & plat::WS_VSCROLL);
    }
    grid->SetScrollBarAlways(saNone);
    grid->SetBounds(0, 0, 300, 220);
    pt::ProcessEvents();
    EXPECT_FALSE(grid->WindowStyle() & plat::WS_VSCROLL);
}

TEST_F(GridScrollTest, EnablingRepaints) {
    Rows31();
    int painted = 0;
    grid->OnPainted = [&](plat::TObject*) { ++painted; };
    form->Show();
    pt::ProcessEvents();
    painted = 0;
    grid->SetEnabled(false);
    pt::ProcessEvents();
    EXPECT_GT(painted, 0);
}

} // namespace
