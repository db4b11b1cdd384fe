#pragma once
// The grid tests' fixture: a 600 x 500 form holding one grid of type G (owned by the form),
// and Fill, which writes "c:r" into every real column and row and makes row r 20 + r high.
#include <gtest/gtest.h>

#include <memory>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

namespace grid::testing {

inline plat::String Tag(int c, int r) { return plat::IntToStr(c) + u":" + plat::IntToStr(r); }

template <class G = TExtStringGrid>
class GridFixture : public plat::testing::UiTest {
protected:
    void SetUp() override {
        plat::testing::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 500);
        grid = new G(form.get());
        grid->SetParent(form.get());
    }
    void TearDown() override {
        form.reset();
        plat::testing::UiTest::TearDown();
    }
    void Fill(int cols, int rows) {
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            grid->SetRowHeights(r, 20 + r);
            for (int c = 0; c < cols; ++c) grid->SetCells(c, r, Tag(c, r));
        }
    }
    std::unique_ptr<plat::TForm> form;
    G* grid = nullptr;
};

} // namespace grid::testing
