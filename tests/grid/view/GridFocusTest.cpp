// The focus frame: a layered window round the cell, shown without activation, following
// window moves; and the border colour after the non-client paint.
#include <gtest/gtest.h>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "GridFocus.h"
#include "TestSupport.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridFocusTest : public grid::testing::GridFixture<> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetColCount(3);
        grid->SetRowCount(5);
        grid->SetDefaultColWidth(64);
        grid->SetDefaultRowHeight(20);
        form->Show();
        grid->SetCol(1);
        grid->SetRow(1);
    }
    plat::TRect FrameRect() {
        plat::TRect r;
        plat::GetWindowRect(grid->FocusWindow()->Handle(), r);
        return r;
    }
    plat::TRect Expected() {
        const plat::TRect cell = grid->CellRect(1, 1);
        const plat::TPoint p = grid->ClientToScreen(cell.TopLeft());
        return plat::Bounds(p.X - 4, p.Y - 4, cell.Width() + 9, cell.Height() + 9);
    }
};

TEST_F(GridFocusTest, FrameSurroundsTheCellAndFollowsAFormMove) {
    const plat::TRect cell = grid->CellRect(1, 1);
    ASSERT_EQ(cell.Width(), 64);
    ASSERT_EQ(cell.Height(), 20);
    plat::TCustomForm* active = plat::Screen->ActiveForm();
    grid->ShowFocusHelper(cell);
    plat::TWinControl* w = grid->FocusWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(grid->FocusHelperGrid(), grid);
    const plat::TPoint at = grid->ClientToScreen(cell.TopLeft());
    EXPECT_EQ(FrameRect(), plat::Bounds(at.X - 4, at.Y - 4, 73, 29));
    EXPECT_TRUE(plat::IsWindowVisible(w->Handle()));
    EXPECT_TRUE(w->WindowExStyle() & plat::WS_EX_LAYERED);
    // Shown without taking the activation.
    EXPECT_EQ(plat::Screen->ActiveForm(), active);

    // The window region leaves a frame 4 pixels wide left and above, 5 right and below.
    struct Probe {
        int x, y;
        bool inside;
    };
    const Probe probes[] = {{0, 0, true},   {3, 14, true},  {4, 4, false},  {67, 23, false},
                            {68, 14, true}, {72, 28, true}, {30, 3, true},  {30, 24, true},
                            {30, 23, false}};
    for (const Probe& p : probes) {
        SCOPED_TRACE(::testing::Message() << p.x << ", " << p.y);
        EXPECT_EQ(plat::PtInWindowRgn(w->Handle(), {p.x, p.y}), p.inside);
    }
    // The frame's picture: light blue, most opaque in the middle of the blurred pen.
    auto shot = pt::Grab(w);
    const auto* px = static_cast<const std::uint8_t*>(shot->ScanLine(14)) + 3 * 4;  // B, G, R, A
    EXPECT_GT(px[3], 100);
    EXPECT_GT(px[0], px[2]);
    const auto* corner = static_cast<const std::uint8_t*>(shot->ScanLine(0));
    EXPECT_LT(corner[3], px[3]);

    // Moving the form moves the frame with the cell.
    form->SetBounds(form->Left() + 50, form->Top() + 30, form->Width(), form->Height());
    EXPECT_EQ(FrameRect(), plat::Bounds(at.X + 50 - 4, at.Y + 30 - 4, 73, 29));
    // Scrolled elsewhere, it follows the current cell.
    grid->SetCol(2);
    form->SetBounds(form->Left() - 50, form->Top() - 30, form->Width(), form->Height());
    const plat::TPoint at2 = grid->ClientToScreen(grid->CellRect(2, 1).TopLeft());
    EXPECT_EQ(FrameRect(), plat::Bounds(at2.X - 4, at2.Y - 4, 73, 29));

    grid->HideFocusHelper();
    EXPECT_FALSE(plat::IsWindowVisible(w->Handle()));
    EXPECT_EQ(TExtStringGrid::FocusHelperGrid(), nullptr);
    const plat::TRect kept = FrameRect();
    form->SetBounds(form->Left() + 10, form->Top(), form->Width(), form->Height());
    EXPECT_EQ(FrameRect(), kept);
}

TEST_F(GridFocusTest, OneGridAtATimeAndNoneAfterItsDestruction) {
    auto* other = new TExtStringGrid(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 260, 300, 200);
    grid->ShowFocusHelper(grid->CellRect(1, 1));
    other->ShowFocusHelper(other->CellRect(1, 1));
    EXPECT_EQ(TExtStringGrid::FocusHelperGrid(), other);
    delete other;
    EXPECT_EQ(TExtStringGrid::FocusHelperGrid(), nullptr);
    // Window moves after the grid has gone reach no frame.
    form->SetBounds(form->Left() + 5, form->Top() + 5, form->Width(), form->Height());
    SUCCEED();
}

TEST_F(GridFocusTest, AlphaMaskOfHeightZeroLeavesTheWindowAlone) {
    plat::TCustomControl probe(nullptr);
    TGridAlphaMask empty;
    ApplyAlphaMaskToWindow(&probe, &empty);
    EXPECT_FALSE(probe.WindowExStyle() & plat::WS_EX_LAYERED);
    SetWindowTransparentStyle(&probe);
    EXPECT_TRUE(probe.WindowExStyle() & plat::WS_EX_TRANSPARENT);
}

} // namespace
