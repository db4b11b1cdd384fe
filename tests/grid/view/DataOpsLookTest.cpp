// The look of a grouped grid with summary rows and of a filtered grid: rendered to PNG only
// when TEST_PICTURES names a folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "ExtGrid.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class DataOpsLookTest : public grid::testing::GridFixture<> {
protected:
    void Load() {
        grid->SetBounds(0, 0, 420, 400);
        grid->SetColCount(4);
        grid->SetRowCount(10);
        const char16_t* heads[] = {u"#", u"Kind", u"Item", u"Qty"};
        const char16_t* kinds[] = {u"Fruit", u"Tool", u"Fruit", u"Drink", u"Tool", u"Fruit", u"Drink", u"Tool", u"Fruit"};
        const char16_t* items[] = {u"apple", u"hammer", u"pear", u"tea", u"saw", u"plum", u"juice", u"drill", u"fig"};
        for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, heads[c]);
        for (int r = 1; r < 10; ++r) {
            grid->SetCells(0, r, plat::IntToStr(r));
            grid->SetCells(1, r, kinds[r - 1]);
            grid->SetCells(2, r, items[r - 1]);
            grid->SetCells(3, r, plat::IntToStr(r * 3));
        }
    }
    void Save(const char* dir, const char* name) {
        form->Show();
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + name));
    }
};

TEST_F(DataOpsLookTest, GroupedWithSummaryRows) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to render";
    Load();
    grid->Grouping()->Summary = true;
    grid->Grouping()->HeaderColor = 0xF0D0B0;
    grid->Grouping()->SummaryColor = 0xC0F0F0;
    grid->Group(1);
    grid->GroupSum(2);
    EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
    Save(dir, "grid_grouped_summary.png");
}

TEST_F(DataOpsLookTest, Filtered) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to render";
    Load();
    TFilterData* f = grid->Filter()->Add();
    f->Column = 1;
    f->Condition = u"Fruit";
    grid->SetFilterActive(true);
    grid->Sort(2, sdAscending);
    EXPECT_EQ(grid::testing::Utf8(grid::testing::CheckGridInvariants(*grid)), "");
    Save(dir, "grid_filtered.png");
}

} // namespace
