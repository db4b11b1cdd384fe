// The picture or gradient under the cells, probed on a rendered grid: a picture at a fixed
// place, tiles that move with the cells, a control-wide gradient, the area outside the
// cells, and the settings' copy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

const TColor kPicture = plat::RGB(0, 160, 0);

class GridBackgroundTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 440, 260);
        grid = new TExtStringGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 420, 240);
        grid->SetColCount(4);
        grid->SetRowCount(20);
        grid->SetDefaultColWidth(70);
        grid->SetDefaultRowHeight(24);
        grid->SetScrollBars(plat::ssVertical);
        grid->SetSelection({1, 1, 1, 1});
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TBitmap> Render(const std::string& name) {
        form->Show();
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        if (const char* dir = std::getenv("TEST_PICTURES"))
            pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + name + ".png"));
        return pt::Grab(grid);
    }
    TColor At(const plat::TBitmap& bmp, int x, int y) const {
        const plat::TRect a = grid->ClientAreaInWindow();
        return plat::ColorToRGB(pt::PixelOf(bmp, x + a.Left, y + a.Top));
    }
    static std::unique_ptr<plat::TBitmap> Solid(int w, int h, TColor c) {
        auto b = std::make_unique<plat::TBitmap>(w, h);
        b->Canvas()->Brush()->SetColor(c);
        b->Canvas()->FillRect({0, 0, w, h});
        return b;
    }
    // Horizontal stripes, one colour per pixel row: the row of a pixel tells the tile phase.
    static std::unique_ptr<plat::TBitmap> Stripes(int h) {
        auto b = std::make_unique<plat::TBitmap>(9, h);
        for (int y = 0; y < h; ++y) {
            b->Canvas()->Brush()->SetColor(plat::RGB(10 * y, 255 - 10 * y, 100));
            b->Canvas()->FillRect({0, y, 9, y + 1});
        }
        return b;
    }
    std::unique_ptr<plat::TForm> form;
    TExtStringGrid* grid = nullptr;
};

// A picture at a fixed place shows in the normal cells it covers, except in a cell with a
// colour of its own and in a shown selection; bcNormal leaves fixed cells alone, bcAll not.
TEST_F(GridBackgroundTest, FixedPictureCoversTheCellsItsCellsSettingNames) {
    auto pic = Solid(400, 200, kPicture);
    grid->BackGround()->SetBitmap(pic.get());
    grid->BackGround()->SetDisplay(bdFixed);
    grid->SetColors(2, 2, plat::RGB(255, 0, 0));
    struct Case {
        const char* name;
        TBackGroundCells cells;
        int col, row;
        bool picture;
    };
    const Case cases[] = {
        {"normal cell", bcNormal, 2, 3, true},
        {"own colour", bcNormal, 2, 2, false},
        {"selected cell", bcNormal, 1, 1, false},
        {"fixed cell, bcNormal", bcNormal, 0, 3, false},
        {"fixed cell, bcAll", bcAll, 0, 3, true},
        {"normal cell, bcFixed", bcFixed, 2, 3, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->BackGround()->SetCells(k.cells);
        auto bmp = Render(std::string("background_fixed_") + k.name);
        const plat::TRect r = grid->CellRect(k.col, k.row);
        EXPECT_EQ(At(*bmp, r.Left + 10, r.Top + 10) == kPicture, k.picture);
    }
}

// Tiles belong to the cells: scrolling one row moves a cell's tile pixels with it.
TEST_F(GridBackgroundTest, TilesMoveWithTheCells) {
    auto stripes = Stripes(13);
    grid->BackGround()->SetBitmap(stripes.get());
    grid->BackGround()->SetDisplay(bdTile);
    auto column = [&](const plat::TBitmap& bmp, int row) {
        const plat::TRect r = grid->CellRect(2, row);
        std::vector<TColor> v;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y) v.push_back(At(bmp, r.Left + 20, y));
        return v;
    };
    auto before = Render("background_tiles_before");
    const std::vector<TColor> cell5 = column(*before, 5);
    ASSERT_NE(cell5.front(), cell5.back()) << "the stripes vary inside the cell";
    EXPECT_NE(column(*before, 4), cell5) << "neighbouring rows take other phases (24 is no multiple of 13)";
    grid->SetTopRow(2);
    auto after = Render("background_tiles_after");
    EXPECT_EQ(column(*after, 5), cell5);
}

// A horizontal gradient runs over the whole control: cells get their slice, red falls from
// left to right, and the area right of the last column continues it.
TEST_F(GridBackgroundTest, GradientRunsOverTheControlAndOutsideTheCells) {
    grid->SetColCount(3);
    grid->BackGround()->SetDisplay(bdGradientHorz);
    grid->BackGround()->SetColor(plat::RGB(255, 0, 0));
    grid->BackGround()->SetColorTo(plat::RGB(0, 0, 255));
    auto bmp = Render("background_gradient");
    const plat::TRect a = grid->CellRect(1, 3), b = grid->CellRect(2, 3);
    const TColor left = At(*bmp, a.Left + 5, a.Top + 10), mid = At(*bmp, b.Left + 5, b.Top + 10);
    const int outsideX = b.Right + 30;
    const TColor outside = At(*bmp, outsideX, a.Top + 10);
    EXPECT_GT(plat::GetRValue(left), plat::GetRValue(mid));
    EXPECT_GT(plat::GetRValue(mid), plat::GetRValue(outside));
    EXPECT_GT(plat::GetBValue(outside), plat::GetBValue(mid));
    // The slice is the control-wide gradient at that x, within rounding of the bands.
    const int expectedRed = 255 - 255 * (a.Left + 5) / grid->Width();
    EXPECT_NEAR(plat::GetRValue(left), expectedRed, 6);
    // A gradient without its end colour draws nothing outside the cells.
    grid->BackGround()->SetColorTo(plat::clNone);
    auto plain = Render("background_gradient_without_end");
    EXPECT_EQ(At(*plain, outsideX, a.Top + 10), plat::ColorToRGB(grid->Color()));
}

// A fixed picture reaching past the last column shows there too.
TEST_F(GridBackgroundTest, FixedPictureOutsideTheCells) {
    grid->SetColCount(3);
    auto pic = Solid(60, 60, kPicture);
    grid->BackGround()->SetBitmap(pic.get());
    grid->BackGround()->SetDisplay(bdFixed);
    const plat::TRect last = grid->CellRect(2, 1);
    grid->BackGround()->SetLeft(last.Right - 20);
    grid->BackGround()->SetTop(last.Top);
    auto bmp = Render("background_outside");
    EXPECT_EQ(At(*bmp, last.Right + 10, last.Top + 10), kPicture);
    EXPECT_NE(At(*bmp, last.Right + 50, last.Top + 10), kPicture) << "right of the picture";
}

TEST_F(GridBackgroundTest, SetBackGroundCopiesEverySetting) {
    TBackGround src(nullptr);
    auto pic = Solid(5, 7, kPicture);
    src.SetBitmap(pic.get());
    src.SetDisplay(bdGradientVert);
    src.SetCells(bcAll);
    src.SetLeft(3);
    src.SetTop(4);
    src.SetColor(plat::clRed);
    src.SetColorTo(plat::clBlue);
    grid->SetBackGround(&src);
    const TBackGround* b = grid->BackGround();
    EXPECT_EQ(b->Display(), bdGradientVert);
    EXPECT_EQ(b->Cells(), bcAll);
    EXPECT_EQ(b->Left(), 3);
    EXPECT_EQ(b->Top(), 4);
    EXPECT_EQ(b->Color(), plat::clRed);
    EXPECT_EQ(b->ColorTo(), plat::clBlue);
    EXPECT_EQ(b->Bitmap()->Width(), 5);
    EXPECT_EQ(b->Bitmap()->Height(), 7);
    EXPECT_NE(b->Bitmap(), src.Bitmap());
}

} // namespace
