// Group auto check over node rows, check boxes with hidden rows and columns, and copying a
// row with its check boxes over every real column.
#include <gtest/gtest.h>

#include <vector>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"

using namespace grid;
using grid::testing::GridFixture;

namespace {

// Rows 0 .. 9; a node at row 2 spanning rows 2 .. 5 with a tri-state box in column 1, data
// check boxes "N" in column 1 of every other normal row.
class AutoCheckTest : public GridFixture<> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetColCount(3);
        grid->SetRowCount(10);
        for (int r = 1; r < 10; ++r)
            if (r != 2) grid->AddCheckBox(1, r, false, true);
        grid->AddNode(2, 4);
        grid->AddCheckBox(1, 2, plat::cbUnchecked);
        grid->Grouping()->AutoCheckGroup = true;
        EXPECT_GRID_OK(*grid);
    }
    plat::TCheckBoxState Parent() {
        plat::TCheckBoxState s = plat::cbChecked;
        EXPECT_TRUE(grid->GetCheckBoxState(1, 2, s));
        return s;
    }
    std::vector<plat::String> Children() {
        std::vector<plat::String> v;
        for (int r = 3; r <= 5; ++r) v.push_back(grid->AllCells(1, r));
        return v;
    }
};

TEST_F(AutoCheckTest, CheckingChildrenGraysThenChecksTheParent) {
    struct Step {
        int row;
        plat::TCheckBoxState parent;
    };
    const Step steps[] = {
        {3, plat::cbGrayed}, {4, plat::cbGrayed}, {5, plat::cbChecked}, {4, plat::cbGrayed},
        {3, plat::cbGrayed}, {5, plat::cbUnchecked},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.row);
        EXPECT_TRUE(grid->ToggleCheckBoxCell(1, s.row, false));
        EXPECT_EQ(Parent(), s.parent);
        EXPECT_GRID_OK(*grid);
    }
    // A row outside every group changes only itself.
    EXPECT_TRUE(grid->ToggleCheckBoxCell(1, 8, false));
    EXPECT_EQ(grid->Cells(1, 8), u"Y");
    EXPECT_EQ(Parent(), plat::cbUnchecked);
}

TEST_F(AutoCheckTest, CheckingTheNodeRowSetsAllItsRowsAlsoWhenContracted) {
    grid->ToggleCheckBoxCell(1, 3, false);
    ASSERT_EQ(Parent(), plat::cbGrayed);
    // A grayed group becomes checked and so do its rows.
    EXPECT_TRUE(grid->ToggleCheckBoxCell(1, 2, false));
    EXPECT_EQ(Parent(), plat::cbChecked);
    EXPECT_EQ(Children(), (std::vector<plat::String>{u"Y", u"Y", u"Y"}));
    EXPECT_EQ(grid->Cells(1, 6), u"N") << "the row after the span";
    grid->ContractNode(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_TRUE(grid->ToggleCheckBoxCell(1, 2, false));
    EXPECT_EQ(Parent(), plat::cbUnchecked);
    EXPECT_EQ(Children(), (std::vector<plat::String>{u"N", u"N", u"N"}));
    // The display row after the contracted node is real row 6.
    EXPECT_EQ(grid->Cells(1, 3), u"N");
    grid->ExpandNode(2);
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->Cells(1, 4), u"N");
}

TEST_F(AutoCheckTest, WithoutAutoCheckTheGroupStaysAndTheNodeBoxCycles) {
    grid->Grouping()->AutoCheckGroup = false;
    grid->ToggleCheckBoxCell(1, 3, false);
    EXPECT_EQ(Parent(), plat::cbUnchecked);
    grid->ToggleCheckBoxCell(1, 2, false);
    EXPECT_EQ(Parent(), plat::cbGrayed);
    EXPECT_EQ(Children(), (std::vector<plat::String>{u"Y", u"N", u"N"}));
}

class HiddenCheckTest : public GridFixture<TExtColumnGrid> {};

TEST_F(HiddenCheckTest, SetCheckBoxStateWithTwoHiddenRowsWritesTheRowItLookedUp) {
    grid->SetColCount(3);
    for (int r = 1; r < 10; ++r) grid->AddCheckBox(1, r, false, true);
    grid->HideRows(2, 3);
    EXPECT_GRID_OK(*grid);
    // Real row 6 is display row 4; display row 6 is real row 8.
    EXPECT_TRUE(grid->SetCheckBoxState(1, 6, true));
    EXPECT_EQ(grid->AllCells(1, 6), u"Y");
    EXPECT_EQ(grid->Cells(1, 4), u"Y");
    EXPECT_EQ(grid->AllCells(1, 8), u"N");
    // A hidden row is written in its store item.
    EXPECT_TRUE(grid->SetCheckBoxState(1, 3, true));
    EXPECT_EQ(grid->AllCells(1, 3), u"Y");
    bool state = false;
    EXPECT_TRUE(grid->GetCheckBoxState(1, 3, state));
    EXPECT_TRUE(state);
    grid->UnHideRowsAll();
    EXPECT_GRID_OK(*grid);
    EXPECT_EQ(grid->Cells(1, 3), u"Y");
    EXPECT_EQ(grid->Cells(1, 6), u"Y");
    EXPECT_EQ(grid->Cells(1, 8), u"N");
}

TEST_F(HiddenCheckTest, CheckBoxClickReportsTheRealColumn) {
    grid->SetColCount(5);
    grid->Columns()->Items(3)->SetEditor(edDataCheckBox);
    grid->HideColumn(1);
    std::vector<int> cols;
    grid->OnCheckBoxClick = [&](plat::TObject*, int ACol, int, bool) { cols.push_back(ACol); };
    grid->OnCheckBoxChange = [&](plat::TObject*, int ACol, int, bool) { cols.push_back(100 + ACol); };
    // Display column 2 shows real column 3.
    const int real = grid->RealColIndex(2);
    ASSERT_EQ(real, 3);
    EXPECT_TRUE(grid->ToggleCheckBoxCell(real, 1, true));
    grid->CheckBoxClick(real, 1, true);
    EXPECT_EQ(cols, (std::vector<int>{103, 3}));
    EXPECT_EQ(grid->Cells(3, 1), u"Y");
}

TEST_F(HiddenCheckTest, CopyingARowWithCheckBoxesCoversEveryRealColumn) {
    // Columns: 1 data check column (virtual box), 2 text, 3 hidden text, 4 cell check box.
    grid->SetColCount(5);
    grid->Columns()->Items(1)->SetEditor(edDataCheckBox);
    for (int r = 1; r < 10; ++r) grid->AddCheckBox(4, r, false, false);
    grid->SetCells(1, 2, u"Y");
    grid->SetCells(2, 2, u"text");
    grid->SetCells(3, 2, u"hidden text");
    grid->SetCheckBoxState(4, 2, true);
    grid->HideColumn(3);
    EXPECT_GRID_OK(*grid);
    // Copy row 2 over every covered real column, check boxes by state.
    const int covered = grid->ColCount() + grid->NumHiddenColumns();
    std::vector<plat::String> copy;
    std::vector<bool> isCheck;
    for (int c = 1; c < covered; ++c) {
        bool state = false;
        const bool box = grid->GetCheckBoxState(c, 2, state);
        isCheck.push_back(box);
        copy.push_back(box ? (state ? u"Y" : u"N") : grid->Cells(c, 2));
    }
    EXPECT_EQ(copy, (std::vector<plat::String>{u"Y", u"text", u"hidden text", u"Y"}));
    EXPECT_EQ(isCheck, (std::vector<bool>{true, false, false, true}));
    // Paste into row 7.
    for (int c = 1; c < covered; ++c) {
        const auto k = static_cast<std::size_t>(c - 1);
        if (isCheck[k])
            EXPECT_TRUE(grid->SetCheckBoxState(c, 7, copy[k] == u"Y"));
        else
            grid->SetCells(c, 7, copy[k]);
    }
    EXPECT_GRID_OK(*grid);
    EXPECT_TRUE(grid->IsChecked(1, 7));
    EXPECT_EQ(grid->Cells(2, 7), u"text");
    EXPECT_EQ(grid->Cells(3, 7), u"hidden text");
    EXPECT_TRUE(grid->IsChecked(4, 7));
    EXPECT_FALSE(grid->HasCellProperties(1, 7)) << "the virtual box needs no record";
}

} // namespace
