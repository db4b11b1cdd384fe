// Keys of the grid that follow its navigation settings, through the real key path, as a
// table of cases; every case runs once with a hidden column (shown and real indexes differ).
#include <gtest/gtest.h>

#include <functional>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridKeysTest : public grid::testing::GridFixture<TExtColumnGrid>, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 420, 200);
        grid->SetColCount(6);
        grid->SetRowCount(20);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        for (int c = 0; c < 6; ++c) grid->Columns()->Items(c)->SetWidth(60);
        if (GetParam()) grid->HideColumn(1);
        form->Show();
        pt::ProcessEvents();
        grid->SetFocus();
    }
};

struct KeyCase {
    const char* name;
    std::function<void(TExtColumnGrid*)> setup;
    int col, row;  // start: display column (-1 = the last), row
    std::uint16_t key;
    plat::TShiftState shift;
    int expectCol, expectRow, expectTop;  // -1: the last column / the last row; top -1: unchecked
    int addedRows;                        // rows the key appended
    int keyDowns;                         // OnKeyDown calls the key caused
};

TEST_P(GridKeysTest, NavigationSettingsDecideWhereTheKeysGo) {
    auto nav = [](std::function<void(TNavigation*)> f) { return [f](TExtColumnGrid* g) { f(g->Navigation()); }; };
    const KeyCase cases[] = {
        {"MoveScrollOnly: Down scrolls one row, the cell stays",
         nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 2, 1, plat::VK_DOWN, 0, 2, 1, 2, 0, 0},
        {"MoveScrollOnly: Page Down shows the next page, the cell stays",
         nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 2, 1, plat::VK_NEXT, 0, 2, 1, -2, 0, 0},
        {"MoveScrollOnly: Left still moves", nav([](TNavigation* n) { n->MoveScrollOnly = true; }), 3, 1,
         plat::VK_LEFT, 0, 2, 1, 1, 0, 1},
        {"heFirstLastCell: End goes to the last cell",
         nav([](TNavigation* n) { n->HomeEndKey = heFirstLastCell; }), 2, 3, plat::VK_END, 0, -1, -1, -1, 0, 1},
        {"heFirstLastCell: Home goes to the first normal cell",
         nav([](TNavigation* n) { n->HomeEndKey = heFirstLastCell; }), 3, 7, plat::VK_HOME, 0, 1, 1, -1, 0, 1},
        {"heFirstLastRow: End keeps the column", nav([](TNavigation* n) { n->HomeEndKey = heFirstLastRow; }), 3,
         2, plat::VK_END, 0, 3, -1, -1, 0, 1},
        {"heFirstLastRow: End stops at the last normal row",
         [](TExtColumnGrid* g) {
             g->Navigation()->HomeEndKey = heFirstLastRow;
             g->FixedFooters = 1;
         },
         3, 2, plat::VK_END, 0, 3, 18, -1, 0, 1},
        {"caSnake: Right in the last column goes to the next row's first",
         nav([](TNavigation* n) { n->CursorAdvance = caSnake; }), -1, 4, plat::VK_RIGHT, 0, 1, 5, -1, 0, 1},
        {"caLoop: Right in the last column stays in the row",
         nav([](TNavigation* n) { n->CursorAdvance = caLoop; }), -1, 4, plat::VK_RIGHT, 0, 1, 4, -1, 0, 1},
        {"caSnake: Left in the first column goes to the row above's last",
         nav([](TNavigation* n) { n->CursorAdvance = caSnake; }), 1, 4, plat::VK_LEFT, 0, -1, 3, -1, 0, 1},
        {"caDefault: Right in the last column stays", [](TExtColumnGrid*) {}, -1, 4, plat::VK_RIGHT, 0, -1, 4, -1, 0,
         1},
        {"AppendOnArrowDown: Down on the last row appends one and moves into it",
         nav([](TNavigation* n) { n->AppendOnArrowDown = true; }), 2, 19, plat::VK_DOWN, 0, 2, 20, -1, 1, 1},
        {"AppendOnArrowDown refused by OnCanAddRow",
         [](TExtColumnGrid* g) {
             g->Navigation()->AppendOnArrowDown = true;
             g->OnCanAddRow = [](plat::TObject*, bool& can) { can = false; };
         },
         2, 19, plat::VK_DOWN, 0, 2, 19, -1, 0, 1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh grid state per case.
        TNavigation* n = grid->Navigation();
        n->MoveScrollOnly = false;
        n->HomeEndKey = heFirstLastColumn;
        n->CursorAdvance = caDefault;
        n->AppendOnArrowDown = false;
        grid->FixedFooters = 0;
        grid->OnCanAddRow = nullptr;
        grid->SetRowCount(20);
        c.setup(grid);
        const int startCol = c.col == -1 ? grid->ColCount() - 1 : c.col;
        grid->MoveColRow(startCol, c.row, true, true);
        grid->SetTopRow(1);
        grid->SetFocus();
        int keyDowns = 0, autoAdded = -1;
        grid->OnKeyDown = [&](plat::TObject*, std::uint16_t&, plat::TShiftState) { ++keyDowns; };
        grid->OnAutoAddRow = [&](plat::TObject*, int r) { autoAdded = r; };
        pt::Key(c.key, c.shift);
        pt::ProcessEvents();
        const int expectCol = c.expectCol == -1 ? grid->ColCount() - 1 : c.expectCol;
        const int expectRow = c.expectRow == -1 ? grid->RowCount() - 1 : c.expectRow;
        EXPECT_EQ(grid->Col(), expectCol);
        EXPECT_EQ(grid->Row(), expectRow);
        if (c.expectTop == -2) {
            EXPECT_EQ(grid->TopRow(), 1 + grid->VisibleRowCount());
        } else if (c.expectTop != -1) {
            EXPECT_EQ(grid->TopRow(), c.expectTop);
        }
        EXPECT_EQ(grid->RowCount(), 20 + c.addedRows);
        EXPECT_EQ(autoAdded, c.addedRows ? grid->RowCount() - 1 : -1);
        EXPECT_EQ(keyDowns, c.keyDowns);
        grid->OnKeyDown = nullptr;
    }
}

INSTANTIATE_TEST_SUITE_P(HiddenColumn, GridKeysTest, ::testing::Bool());

} // namespace
