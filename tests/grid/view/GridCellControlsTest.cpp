// Window controls held by cells follow their cells: placed over the cell grown by one pixel
// to the left and top, hidden while the cell is scrolled out of view or its row or column is
// hidden, back at the cell when it shows again.
#include <gtest/gtest.h>

#include <memory>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridCellControlsTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(0, 0, 400, 300);
        Fill(12, 40);
        for (int c = 0; c < 12; ++c) grid->SetColWidths(c, 60);
        for (int r = 0; r < 40; ++r) grid->SetRowHeights(r, 24);
        form->Show();
        pt::ProcessEvents();
        panel = new plat::TPanel(form.get());
        grid->SetCellControls(2, 3, panel);
        pt::ProcessEvents();
    }
    // The control's place when it stands over display cell (col, row).
    plat::TRect Over(int col, int row) {
        const plat::TRect r = grid->CellRect(col, row);
        return {r.Left - 1, r.Top - 1, r.Right, r.Bottom};
    }
    plat::TRect Place() const { return panel->BoundsRect(); }
    plat::TPanel* panel = nullptr;
};

TEST_F(GridCellControlsTest, AControlFollowsItsCellThroughScrollingAndSizing) {
    ASSERT_EQ(grid->NumCellControls(), 1);
    EXPECT_EQ(panel->Parent(), grid);
    EXPECT_EQ(Place(), Over(2, 3));

    struct Step {
        const char* name;
        int top, left;
        bool visible;
    };
    const Step steps[] = {
        {"rows scrolled past the cell", 10, 1, false},
        {"rows scrolled back", 2, 1, true},
        {"columns scrolled past the cell", 2, 5, false},
        {"columns scrolled back", 1, 1, true},
        {"cell one row down the view", 3, 1, true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        grid->SetTopRow(s.top);
        grid->SetLeftCol(s.left);
        pt::ProcessEvents();
        EXPECT_EQ(panel->Visible(), s.visible);
        if (s.visible) {
            EXPECT_EQ(Place(), Over(2, 3));
        }
    }

    // A wider column before it and a higher row above it move it; its own width sizes it.
    grid->SetTopRow(1);
    grid->SetColWidths(1, 90);
    grid->SetRowHeights(2, 40);
    grid->SetColWidths(2, 75);
    pt::ProcessEvents();
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(Place(), Over(2, 3));
    EXPECT_EQ(Place().Width(), 76);
}

TEST_F(GridCellControlsTest, AHiddenColumnOrRowHidesItsControl) {
    grid->HideColumn(2);
    pt::ProcessEvents();
    grid->CellControlsUpdate(false);
    EXPECT_FALSE(panel->Visible());
    grid->UnHideColumn(2);
    grid->CellControlsUpdate(false);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(Place(), Over(2, 3));

    // A hidden column left of it: the control stands over its cell's new display column.
    grid->HideColumn(1);
    grid->CellControlsUpdate(false);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(Place(), Over(grid->DisplColIndex(2), 3));
    grid->UnHideColumn(1);

    grid->HideRow(3);
    grid->CellControlsUpdate(false);
    EXPECT_FALSE(panel->Visible());
}

// Rebuilding the list finds the controls the cells hold; a fixed cell's control stays in
// place while the rows scroll, and hides when its row leaves the view.
TEST_F(GridCellControlsTest, TheRebuiltListFindsEveryCellsControl) {
    auto* fixed = new plat::TPanel(form.get());
    grid->SetCellControls(0, 4, fixed);
    ASSERT_EQ(grid->NumCellControls(), 2);
    grid->CellControlsUpdate(true);
    EXPECT_EQ(grid->NumCellControls(), 2);
    EXPECT_EQ(grid->ControlList()->Count(), 2);
    EXPECT_EQ(Place(), Over(2, 3));
    EXPECT_EQ(fixed->BoundsRect(), Over(0, 4));

    grid->SetLeftCol(6);
    pt::ProcessEvents();
    EXPECT_FALSE(panel->Visible());
    EXPECT_TRUE(fixed->Visible());
    EXPECT_EQ(fixed->BoundsRect(), Over(0, 4));

    grid->SetTopRow(20);
    pt::ProcessEvents();
    EXPECT_FALSE(fixed->Visible());
    grid->SetTopRow(1);
    grid->SetLeftCol(1);
    pt::ProcessEvents();
    EXPECT_TRUE(fixed->Visible());
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(Place(), Over(2, 3));
}

// Rows inserted above a control's cell take the control down with the cell; rows inserted
// below leave it.
TEST_F(GridCellControlsTest, InsertedRowsAboveTakeTheControlDown) {
    grid->InsertRows(2, 2);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(2, 5), u"2:3");
    EXPECT_EQ(Place(), Over(2, 5));
    grid->InsertRows(6, 1);
    pt::ProcessEvents();
    EXPECT_EQ(Place(), Over(2, 5));
    EXPECT_TRUE(panel->Visible());
}

// The grid's window resized: controls are placed again, and one left outside the shrunk view
// hides.
TEST_F(GridCellControlsTest, AResizedGridPlacesItsControlsAgain) {
    grid->SetCellControls(2, 3, nullptr);
    auto* far = new plat::TPanel(form.get());
    grid->SetCellControls(5, 8, far);
    ASSERT_EQ(grid->NumCellControls(), 1);
    pt::ProcessEvents();
    EXPECT_TRUE(far->Visible());
    EXPECT_EQ(far->BoundsRect(), Over(5, 8));
    grid->SetBounds(0, 0, 200, 120);
    pt::ProcessEvents();
    EXPECT_FALSE(far->Visible());
    grid->SetBounds(0, 0, 400, 300);
    pt::ProcessEvents();
    EXPECT_TRUE(far->Visible());
    EXPECT_EQ(far->BoundsRect(), Over(5, 8));
}

} // namespace
