// Layout of the string grid: the stretched column, the sizing veto, scroll hints and the
// painting pause of an update.
#include <gtest/gtest.h>

#include <memory>

#include "../GridFixture.h"
#include "ExtGrid.h"
#include "TestSupport.h"
#include "plat/Exception.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// Opens the framework's sizing-state question to the tests.
class SizingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    using TExtStringGrid::CalcSizingState;
};

class GridLayoutTest : public grid::testing::GridFixture<SizingGrid> {};

TEST_F(GridLayoutTest, StretchedLastColumnFillsTheClientWidth) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetColWidths(0, 40);
    grid->SetColWidths(1, 100);
    grid->SetClientWidth(400);
    ASSERT_EQ(grid->ClientWidth(), 400);
    grid->ColumnSize()->SetStretch(true);
    grid->ColumnSize()->StretchColumn = -1;
    grid->StretchColumn(-1);
    EXPECT_EQ(grid->ColWidths(2), 259);
    // A width change of another column stretches again.
    grid->SetColWidths(0, 60);
    EXPECT_EQ(grid->ColWidths(2), 239);
    // The other columns wider than the client: the stretch column takes DefaultColWidth.
    grid->SetColWidths(1, 500);
    EXPECT_EQ(grid->ColWidths(2), grid->DefaultColWidth());
}

TEST_F(GridLayoutTest, SettingStretchStretchesAtOnce) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetColWidths(0, 40);
    grid->SetColWidths(1, 100);
    grid->SetColWidths(2, 30);
    grid->SetClientWidth(400);
    grid->ColumnSize()->StretchColumn = -1;
    grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(grid->ColWidths(2), 259);
    // Switching it off keeps the widths and stops the stretching.
    grid->ColumnSize()->SetStretch(false);
    EXPECT_EQ(grid->ColWidths(2), 259);
    grid->SetColWidths(0, 60);
    EXPECT_EQ(grid->ColWidths(2), 259);
    // A stretch column beyond the columns stretches the last one.
    grid->SetColWidths(2, 30);
    grid->ColumnSize()->StretchColumn = 9;
    grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(grid->ColWidths(2), 239);
    // A chosen middle column.
    grid->ColumnSize()->SetStretch(false);
    grid->SetColWidths(2, 30);
    grid->ColumnSize()->StretchColumn = 1;
    grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(grid->ColWidths(1), 400 - 60 - 30 - 1);
}

TEST_F(GridLayoutTest, SettingStretchWithoutAParentWaits) {
    TExtStringGrid loose(nullptr);
    loose.SetColCount(2);
    loose.SetColWidths(0, 40);
    loose.SetColWidths(1, 30);
    loose.ColumnSize()->SetStretch(true);
    EXPECT_EQ(loose.ColWidths(1), 30);
    // Assign copies the setting; the target keeps its own owner.
    TColumnSize copy;
    copy.Assign(loose.ColumnSize());
    EXPECT_TRUE(copy.Stretch());
}

TEST_F(GridLayoutTest, StretchColumnOutOfRange) {
    grid->SetColCount(3);
    grid->ColumnSize()->SetStretch(true);
    for (int bad : {3, 7, -2, -100}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>([&] { grid->StretchColumn(bad); },
                                                             u"Stretch column index out of range"));
    }
}

TEST_F(GridLayoutTest, ColumnSizeEventVetoesSizingAHeaderEdge) {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetFixedRows(1);
    plat::TGridOptions o = grid->Options();
    o.Include(plat::goColSizing);
    grid->SetOptions(o);
    form->Show();
    pt::ProcessEvents();
    const plat::TRect head = grid->CellRect(1, 0);
    auto state = [&] {
        plat::TGridState s = plat::gsNormal;
        int index = -1, pos = 0, ofs = 0;
        grid->CalcSizingState(head.Right - 1, head.Top + 5, s, index, pos, ofs);
        return s;
    };
    ASSERT_EQ(state(), plat::gsColSizing) << "the header edge sizes the column";
    int asked = -1;
    grid->OnColumnSize = [&](plat::TObject*, int ACol, bool& Allow) {
        asked = ACol;
        Allow = false;
    };
    EXPECT_EQ(state(), plat::gsNormal) << "refused";
    EXPECT_EQ(asked, 1);
    grid->OnColumnSize = [](plat::TObject*, int, bool& Allow) { Allow = true; };
    EXPECT_EQ(state(), plat::gsColSizing);
}

TEST_F(GridLayoutTest, HorizontalThumbTrackShowsTheColumnInAHint) {
    grid->SetBounds(0, 0, 300, 200);
    grid->SetFixedCols(1);
    grid->SetColCount(10);
    form->Show();
    pt::ProcessEvents();
    // 127 scrollable columns beyond the visible ones: thumb position p is column p + 1.
    grid->SetColCount(128 + grid->VisibleColCount());
    pt::ProcessEvents();
    ASSERT_EQ(grid->ColCount() - grid->VisibleColCount() - grid->FixedCols(), 127);
    grid->ScrollHints = shBoth;
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBTRACK, 11), 0);
    EXPECT_EQ(grid->ScrollHint(), u"Col : 12");
    grid->OnScrollHint = [](plat::TObject*, int ARow, String& Hint) { Hint = u"column " + plat::IntToStr(ARow); };
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBTRACK, 11), 0);
    EXPECT_EQ(grid->ScrollHint(), u"column 12");
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_ENDSCROLL, 0), 0);
    grid->ScrollHints = shVertical;
    grid->OnScrollHint = nullptr;
    grid->Perform(plat::WM_HSCROLL, plat::MakeWParam(plat::SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(grid->ScrollHint(), u"column 12") << "no horizontal hint with vertical hints only";
}

TEST_F(GridLayoutTest, NoPaintingWhileAnUpdateIsInProgress) {
    Fill(4, 4);
    int painted = 0;
    grid->OnPainted = [&](plat::TObject*) { ++painted; };
    form->Show();
    pt::ProcessEvents();
    painted = 0;
    grid->StartUpdate();
    grid->Repaint();
    pt::ProcessEvents();
    EXPECT_EQ(painted, 0);
    grid->ResetUpdate();
    grid->Repaint();
    pt::ProcessEvents();
    EXPECT_GT(painted, 0);
}

// Automatic column sizing measures markup as it is drawn: the tags take no room.
TEST_F(GridLayoutTest, AutoSizeMeasuresMarkupWithoutItsTags) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetCells(1, 1, u"<FONT COLOR=\"clred\">alarm</FONT> <I></I>now");
    grid->SetCells(2, 1, u"alarm now");
    grid->AutoSizeCol(1);
    grid->AutoSizeCol(2);
    EXPECT_EQ(grid->ColWidths(1), grid->ColWidths(2));
}

} // namespace
