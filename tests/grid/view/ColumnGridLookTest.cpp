// The look of a column grid of 513 rows with its working-mode columns hidden and two nodes
// contracted: rendered to PNG only when TEST_PICTURES names a folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtCGrid.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class LookTest : public grid::testing::GridFixture<TExtColumnGrid> {};

TEST_F(LookTest, ColumnGridWithHiddenModeColumnsAndContractedNodes) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to render";
    const char16_t* heads[] = {u"#", u"Name", u"Mode A", u"Value", u"Mode B", u"Enable"};
    grid->SetColCount(6);
    grid->SetRowCount(513);
    grid->SetBounds(0, 0, 580, 470);
    for (int c = 0; c < 6; ++c) grid->Columns()->Items(c)->SetHeader(heads[c]);
    grid->Columns()->Items(5)->SetEditor(edDataCheckBox);
    for (int r = 1; r < 513; ++r) {
        grid->SetCells(0, r, plat::IntToStr(r));
        for (int c = 1; c < 5; ++c) grid->SetCells(c, r, u"c" + plat::IntToStr(c) + u" r" + plat::IntToStr(r));
        grid->SetCells(5, r, r % 3 ? u"Y" : u"N");
    }
    grid->AddNode(3, 4);   // rows 3 .. 6
    grid->AddNode(9, 6);   // rows 9 .. 14
    grid->ContractNode(3);
    grid->ContractNode(9);
    grid->HideColumn(2);
    grid->HideColumn(4);
    EXPECT_GRID_OK(*grid);
    ASSERT_EQ(grid->AllRowCount(), 513);
    ASSERT_EQ(grid->RowCount(), 513 - 3 - 5);
    // Every display column shows its real column's texts.
    for (int d = 1; d < grid->ColCount() - 1; ++d)
        for (int r : {1, 3, 4, 9, 10, 200, 504}) {
            const int real = grid->RealColIndex(d);
            EXPECT_EQ(grid->Cells(real, r).substr(0, 2), u"c" + plat::IntToStr(real)) << d << "," << r;
        }
    form->Show();
    pt::ProcessEvents();
    grid->Repaint();
    pt::ProcessEvents();
    pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/column_grid_513.png"));
    // Further down, past both nodes.
    grid->SetTopRow(480);
    grid->Repaint();
    pt::ProcessEvents();
    pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/column_grid_513_end.png"));
}

} // namespace
