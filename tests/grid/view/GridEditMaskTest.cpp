// A column's edit mask in the grid's text editor, through the real event path, also with a
// hidden column before the masked one (the mask follows the real column).
#include <gtest/gtest.h>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "GridEditors.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridEditMaskTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        saved = plat::FormatSettings;
        plat::FormatSettings.TimeSeparator = u':';
        grid->SetBounds(4, 4, 500, 300);
        grid->SetColCount(5);
        grid->SetRowCount(4);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < 5; ++c) grid->Columns()->Items(c)->SetWidth(70);
        grid->Columns()->Items(3)->EditMask = u"!90:00;0;_";
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        plat::FormatSettings = saved;
        GridFixture::TearDown();
    }
    void ClickCell(int real, int row) {
        const plat::TRect r = grid->CellRect(grid->DisplColIndex(real), row);
        pt::Click(grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        pt::ProcessEvents();
    }
    plat::TFormatSettings saved;
};

TEST_P(GridEditMaskTest, TypedDigitsFillTheMaskAndTheCellTakesItsText) {
    ClickCell(3, 1);
    pt::Type(u"1a234");  // the letter is refused
    ASSERT_TRUE(grid->NormalEdit()->Visible());
    EXPECT_EQ(grid->NormalEdit()->EditText(), u"12:34");
    pt::Key(plat::VK_RETURN);
    pt::ProcessEvents();
    EXPECT_EQ(grid->Cells(3, 1), u"1234");  // no literals saved

    // Reopened, the stored digits show through the mask again; a short hour shows its blank.
    grid->SetCells(3, 2, u"705");
    ClickCell(3, 2);
    pt::Key(plat::VK_F2);
    ASSERT_TRUE(grid->NormalEdit()->Visible());
    EXPECT_EQ(grid->NormalEdit()->EditText(), u"_7:05");
    pt::Key(plat::VK_ESCAPE);
    EXPECT_EQ(grid->Cells(3, 2), u"705");

    // A column without a mask edits plain text.
    ClickCell(4, 1);
    pt::Type(u"1a2");
    EXPECT_FALSE(grid->NormalEdit()->IsMasked());
    EXPECT_EQ(grid->NormalEdit()->EditText(), u"1a2");
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridEditMaskTest, ::testing::Bool());

} // namespace
