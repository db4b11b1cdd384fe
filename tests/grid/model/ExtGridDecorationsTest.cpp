// Cell decorations: neutral answers of plain cells, balloons and markers beside other kinds,
// the graphic sizes on screen and on paper by kind and alignment, and the hit rectangles.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "../GridFixture.h"
#include "../GridInvariants.h"
#include "plat/ImgList.h"

using namespace grid;
using grid::testing::GridFixture;

namespace {

// Column 2 is 100 wide and row 1 is 30 high; column 1 is hidden, so real column 2 shows as
// display column 1. The image list holds 16 x 12 images.
class DecorationsTest : public GridFixture<> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetColCount(5);
        grid->SetColWidths(2, 100);
        grid->SetRowHeights(1, 30);
        grid->HideColumn(1);
        images = std::make_unique<plat::TCustomImageList>(nullptr);
        images->SetSize(16, 12);
        grid->GridImages = images.get();
        EXPECT_GRID_OK(*grid);
    }
    void TearDown() override {
        grid->GridImages = nullptr;
        GridFixture::TearDown();
    }
    std::unique_ptr<plat::TCustomImageList> images;
    plat::TBitmap bitmap{200, 100};
    plat::TIcon icon{32, 24};
};

TEST_F(DecorationsTest, PlainCellsGiveTheNeutralAnswers) {
    EXPECT_EQ(grid->GetShapeColor(2, 1), static_cast<TColor>(0x1FFFFFFF));
    EXPECT_EQ(grid->GetScrollPosition(2, 1), -1);
    EXPECT_EQ(grid->GetScrollProp(2, 1).PageSize, -1);
    EXPECT_EQ(grid->GetScrollProp(2, 1).Range, -1);
    EXPECT_EQ(grid->GetExpandHeight(2, 1, true), grid->DefaultRowHeight());
    EXPECT_FALSE(grid->ToggleExpand(2, 1));
    int pos = 7, len = 7;
    grid->GetMarker(2, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);
    String title, text;
    TBalloonIcon ic = biError;
    EXPECT_FALSE(grid->IsBalloon(2, 1, title, text, ic));
    EXPECT_EQ(grid->GetCellGraphicSize(2, 1), TPoint(0, 0));
    EXPECT_TRUE(grid->GetExpandRect(1, 1).IsEmpty());
    EXPECT_FALSE(grid->HasCellProperties(2, 1)) << "reads create nothing";
}

TEST_F(DecorationsTest, ImagesNeedTheGridsImageList) {
    grid->GridImages = nullptr;
    grid->SetCells(2, 1, u"text");
    grid->AddImageIdx(2, 1, 3, haCenter, vaCenter);
    grid->AddDataImage(2, 2, 3, haCenter, vaCenter);
    EXPECT_EQ(grid->GetCellType(2, 1), ctEmpty);
    EXPECT_EQ(grid->GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(grid->Cells(2, 1), u"text");
    EXPECT_EQ(grid->Cells(2, 2), u"");
    grid->GridImages = images.get();
    grid->AddImageIdx(2, 1, 3, haCenter, vaCenter);
    int idx = -1;
    EXPECT_TRUE(grid->GetImageIdx(2, 1, idx));
    EXPECT_EQ(idx, 3);
    grid->SetImageIdx(2, 1, 5);
    EXPECT_TRUE(grid->GetImageIdx(2, 1, idx));
    EXPECT_EQ(idx, 5);
    // A data image shows the cell's number: a cell holding "3" keeps it, an empty one gets it.
    grid->SetCells(3, 1, u"3");
    grid->AddDataImage(3, 1, 7, haCenter, vaCenter);
    EXPECT_EQ(grid->Cells(3, 1), u"3");
    EXPECT_TRUE(grid->HasDataImage(3, 1));
    grid->AddDataImage(3, 2, 7, haCenter, vaCenter);
    EXPECT_EQ(grid->Cells(3, 2), u"7");
    grid->RemoveDataImage(3, 2);
    EXPECT_EQ(grid->Cells(3, 2), u"");
    EXPECT_EQ(grid->GetCellType(3, 2), ctEmpty);
}

TEST_F(DecorationsTest, BalloonsAndMarkersBesideOtherKinds) {
    grid->AddProgress(2, 1, plat::clRed, plat::clWhite);
    grid->AddBalloon(2, 1, u"T", u"X", biInfo);
    EXPECT_EQ(grid->GetCellType(2, 1), ctProgress) << "a progress cell takes no balloon";
    String title, text;
    TBalloonIcon ic = biNone;
    EXPECT_FALSE(grid->IsBalloon(2, 1, title, text, ic));

    grid->AddCheckBox(2, 2, true, false);
    grid->AddBalloon(2, 2, u"Title", u"Text", biWarning);
    EXPECT_EQ(grid->GetCellType(2, 2), ctCheckBox);
    EXPECT_TRUE(grid->IsChecked(2, 2));
    ASSERT_TRUE(grid->IsBalloon(2, 2, title, text, ic));
    EXPECT_EQ(title, u"Title");
    EXPECT_EQ(text, u"Text");
    EXPECT_EQ(ic, biWarning);
    EXPECT_FALSE(grid->HasBalloon(2, 2));
    grid->RemoveBalloon(2, 2);
    EXPECT_FALSE(grid->IsBalloon(2, 2, title, text, ic));
    EXPECT_EQ(grid->GetCellType(2, 2), ctCheckBox);

    grid->AddBalloon(2, 3, u"A", u"B", biError);
    EXPECT_TRUE(grid->HasBalloon(2, 3));
    grid->RemoveBalloon(2, 3);
    EXPECT_EQ(grid->GetCellType(2, 3), ctEmpty);

    grid->AddBitmap(3, 1, &bitmap, false, haLeft, vaTop);
    grid->AddMarker(3, 1, 2, 3);
    int pos = 0, len = 0;
    grid->GetMarker(3, 1, pos, len);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(len, 3);
    grid->RemoveMarker(3, 1);
    EXPECT_EQ(grid->GetBitmap(3, 1), &bitmap) << "removing the marker keeps the bitmap";
    grid->GetMarker(3, 1, pos, len);
    EXPECT_EQ(pos, 0);
    // A marker alone makes a ctEmpty record that its removal takes away.
    grid->AddMarker(3, 2, 1, 1);
    EXPECT_TRUE(grid->HasCellProperties(3, 2));
    grid->RemoveMarker(3, 2);
    EXPECT_EQ(grid->GetCellGraphic(3, 2), nullptr);
}

TEST_F(DecorationsTest, ValuesOfShapesScrollBarsAndExpandButtons) {
    grid->AddShape(2, 1, csCircle, plat::clRed, plat::clBlack, haCenter, vaCenter);
    EXPECT_EQ(grid->GetShapeColor(2, 1), plat::clRed);
    grid->SetShapeColor(2, 1, plat::clBlue);
    EXPECT_EQ(grid->GetShapeColor(2, 1), plat::clBlue);
    grid->AddScrollBar(2, 2, false);
    EXPECT_EQ(grid->GetScrollPosition(2, 2), 0);
    EXPECT_EQ(grid->GetScrollProp(2, 2).PageSize, 0);
    EXPECT_EQ(grid->GetScrollProp(2, 2).Range, 100);
    grid->SetScrollPosition(2, 2, 40);
    EXPECT_EQ(grid->GetScrollPosition(2, 2), 40);
    EXPECT_FALSE(grid->HasAutoRangeScrollBar(2, 2));
    grid->AddExpand(2, 3, 90);
    EXPECT_FALSE(grid->GetExpandState(2, 3));
    EXPECT_EQ(grid->GetExpandHeight(2, 3, true), 90);
    EXPECT_EQ(grid->GetExpandHeight(2, 3, false), grid->RowHeights(3));
    EXPECT_TRUE(grid->ToggleExpand(2, 3));
    EXPECT_TRUE(grid->GetExpandState(2, 3));
    // The comment property adds to a plain cell, changes a comment, leaves other kinds.
    grid->SetComment(3, 1, u"note");
    EXPECT_EQ(grid->GetComment(3, 1), u"note");
    grid->SetComment(3, 1, u"changed");
    EXPECT_EQ(grid->GetComment(3, 1), u"changed");
    grid->SetComment(2, 1, u"ignored");
    EXPECT_EQ(grid->GetCellType(2, 1), ctShape);
    EXPECT_EQ(grid->GetComment(2, 1), u"");
}

TEST_F(DecorationsTest, ScreenSizeByKindAndAlignment) {
    const int cellW = grid->CellSize(1, 1).X, cellH = grid->CellSize(1, 1).Y;
    ASSERT_GE(cellW, 100);
    ASSERT_GE(cellH, 30);
    struct Case {
        const char* what;
        String text;
        std::function<void(DecorationsTest&)> add;
        TPoint size;
    };
    auto bmp = [this](TCellHAlign h, TCellVAlign v) {
        return [this, h, v](DecorationsTest&) { grid->AddBitmap(2, 1, &bitmap, false, h, v); };
    };
    const Case cases[] = {
        {"bitmap haLeft with text", u"t", bmp(haLeft, vaTop), {0, 0}},
        {"bitmap before text, vaTop", u"t", bmp(haBeforeText, vaTop), {200, 0}},
        {"bitmap under text", u"t", bmp(haLeft, vaUnderText), {0, 100}},
        {"bitmap without text", u"", bmp(haLeft, vaTop), {200, 100}},
        {"bitmap haFull vaFull", u"t", bmp(haFull, vaFull), {cellW, cellH}},
        {"icon with text: its height always", u"t",
         [this](DecorationsTest&) { grid->AddIcon(2, 1, &icon, haLeft, vaTop); }, {0, 24}},
        {"icon after text", u"t", [this](DecorationsTest&) { grid->AddIcon(2, 1, &icon, haAfterText, vaTop); },
         {32, 24}},
        {"image list before text", u"t",
         [this](DecorationsTest&) { grid->AddImageIdx(2, 1, 0, haBeforeText, vaTop); }, {16, 0}},
        {"image list without text", u"",
         [this](DecorationsTest&) { grid->AddImageIdx(2, 1, 0, haCenter, vaCenter); }, {16, 12}},
        {"progress pie", u"t", [this](DecorationsTest&) { grid->AddProgressPie(2, 1, plat::clRed, 50); }, {20, 20}},
        {"check box", u"", [this](DecorationsTest&) { grid->AddCheckBox(2, 1, true, false); }, {15, 15}},
        {"radio button", u"", [this](DecorationsTest&) { grid->AddRadioButton(2, 1, true); }, {10, 10}},
        {"rating is not stretched", u"", [this](DecorationsTest&) { grid->AddRating(2, 1, 5, 0, 0); }, {90, 16}},
        {"images side by side", u"",
         [this](DecorationsTest&) {
             grid->AddMultiImage(2, 1, 0, haLeft, vaTop);
             grid->GetCellImages(2, 1)->Add(1);
             grid->GetCellImages(2, 1)->Add(2);
             grid->GetCellImages(2, 1)->Add(3);
         },
         {48, 12}},
        {"images stacked", u"",
         [this](DecorationsTest&) {
             grid->AddMultiImage(2, 1, 1, haLeft, vaTop);
             grid->GetCellImages(2, 1)->Add(1);
             grid->GetCellImages(2, 1)->Add(2);
         },
         {16, 24}},
        {"button without text", u"",
         [this](DecorationsTest&) { grid->AddButton(2, 1, 40, 18, u"Go", haLeft, vaTop); }, {40, 18}},
        {"button centred over text", u"t",
         [this](DecorationsTest&) { grid->AddButton(2, 1, 40, 18, u"Go", haCenter, vaTop); }, {0, 0}},
        {"button beside text", u"t",
         [this](DecorationsTest&) { grid->AddButton(2, 1, 40, 18, u"Go", haRight, vaTop); }, {40, 0}},
        {"button above text", u"t",
         [this](DecorationsTest&) { grid->AddButton(2, 1, 40, 18, u"Go", haRight, vaAboveText); }, {0, 18}},
        {"comment takes no room", u"t", [this](DecorationsTest&) { grid->AddComment(2, 1, u"c"); }, {0, 0}},
        {"progress takes no room", u"t",
         [this](DecorationsTest&) { grid->AddProgress(2, 1, plat::clRed, plat::clWhite); }, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(2, 1, c.text);
        c.add(*this);
        EXPECT_EQ(grid->GetCellGraphicSize(2, 1), c.size);
        EXPECT_GRID_OK(*grid);
        grid->RemoveCellGraphic(2, 1);
    }
    // A button that fills the cell without text is as wide as its caption, not the cell.
    grid->SetCells(2, 1, u"");
    grid->AddButton(2, 1, 40, 18, u"Caption", haFull, vaTop);
    const TPoint full = grid->GetCellGraphicSize(2, 1);
    EXPECT_GT(full.X, 4);
    EXPECT_LT(full.X, cellW);
    EXPECT_EQ(full.Y, 18);
}

TEST_F(DecorationsTest, PrintSizeByKind) {
    struct Case {
        const char* what;
        std::function<void(DecorationsTest&)> add;
        TPoint size;
    };
    const int shape = grid->RowHeights(1) - 2 * grid->XYOffset().Y;
    const TPoint cell = grid->CellSize(1, 1);
    const Case cases[] = {
        {"bitmap in full", [this](DecorationsTest&) { grid->AddBitmap(2, 1, &bitmap, false, haLeft, vaTop); },
         {200, 100}},
        {"icon in full", [this](DecorationsTest&) { grid->AddIcon(2, 1, &icon, haLeft, vaTop); }, {32, 24}},
        {"data image", [this](DecorationsTest&) { grid->AddDataImage(2, 1, 1, haLeft, vaTop); }, {16, 12}},
        {"check box", [this](DecorationsTest&) { grid->AddCheckBox(2, 1, true, false); }, {15, 15}},
        {"radio button", [this](DecorationsTest&) { grid->AddRadioButton(2, 1, true); }, {10, 10}},
        {"progress pie", [this](DecorationsTest&) { grid->AddProgressPie(2, 1, 0, 1); }, {20, 20}},
        {"progress fills the cell", [this](DecorationsTest&) { grid->AddProgress(2, 1, 0, 0); }, cell},
        {"button packed size", [this](DecorationsTest&) { grid->AddButton(2, 1, 40, 18, u"", haFull, vaFull); },
         {40, 18}},
        {"shape square of the row", [this](DecorationsTest&) { grid->AddShape(2, 1, csStar, 0, 0, haLeft, vaTop); },
         {shape, shape}},
        {"rating prints nothing", [this](DecorationsTest&) { grid->AddRating(2, 1, 5, 0, 0); }, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(2, 1, u"t");
        c.add(*this);
        TPoint size{-1, -1};
        grid->CalcCellGraphicPrintSize(2, 1, size, 2.0, 300, 300);
        EXPECT_EQ(size, c.size);
        grid->RemoveCellGraphic(2, 1);
    }
    // Pictures: the printed area divided by the scale factor.
    plat::TPicture picture;
    picture.Bitmap()->SetSize(200, 100);
    grid->AddPicture(2, 1, &picture, false, ShrinkWithAspectRatio, 0, haLeft, vaTop);
    TPoint size;
    grid->CalcCellGraphicPrintSize(2, 1, size, 2.0, 100, 100);
    EXPECT_EQ(size, TPoint(50, 25));
}

TEST_F(DecorationsTest, HitRectanglesOfExpandAndButtonCells) {
    grid->AddExpand(2, 1, 60);
    // Display column 1 shows real column 2.
    const plat::TRect cell = grid->CellRect(1, 1);
    EXPECT_EQ(grid->GetExpandRect(1, 1), plat::TRect(cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13));
    EXPECT_TRUE(grid->GetExpandRect(2, 1).IsEmpty());
    grid->AddButton(2, 2, 40, 18, u"Go", haLeft, vaTop);
    TCellGraphic* g = grid->GetCellGraphic(2, 2);
    g->CellValue = 3 * 65536 + 5;  // painted 3 down and 5 right of the cell's corner
    const plat::TRect c2 = grid->CellRect(1, 2);
    EXPECT_EQ(grid->GetGraphicRect(1, 2), plat::TRect(c2.Left + 5, c2.Top + 3, c2.Left + 45, c2.Top + 21));
    g->CellHAlign = haFull;
    g->CellVAlign = vaFull;
    EXPECT_EQ(grid->GetGraphicRect(1, 2), c2);
}

} // namespace

namespace {

TEST_F(DecorationsTest, AutoRangeScrollBarTakesTheRowHeightAndTheTextHeight) {
    grid->SetCells(2, 1, u"one");
    grid->AddScrollBar(2, 1, true);
    EXPECT_TRUE(grid->HasAutoRangeScrollBar(2, 1));
    const TScrollProp one = grid->GetScrollProp(2, 1);
    EXPECT_EQ(one.PageSize, 30);
    EXPECT_GT(one.Range, 0);
    grid->SetCells(2, 1, u"one\r\ntwo\r\nthree");
    grid->SetRowHeights(1, 40);
    grid->UpdateCellScrollBar(2, 1);
    const TScrollProp three = grid->GetScrollProp(2, 1);
    EXPECT_EQ(three.PageSize, 40);
    EXPECT_EQ(three.Range, 3 * one.Range);
    // A bar without the automatic range keeps what it was given.
    grid->AddScrollBar(3, 1, false);
    grid->SetScrollProp(3, 1, TScrollProp{7, 70});
    grid->UpdateCellScrollBar(3, 1);
    EXPECT_EQ(grid->GetScrollProp(3, 1).PageSize, 7);
    EXPECT_EQ(grid->GetScrollProp(3, 1).Range, 70);
}

TEST_F(DecorationsTest, SearchFooterActionPassesItsArguments) {
    struct Got {
        String value;
        int col, row, action;
    } got{u"", -1, -1, -1};
    grid->SearchFooterAction(u"none", 1, 1, 0);  // without the event nothing happens
    grid->OnSearchFooterAction = [&](plat::TObject*, const String& V, int C, int R, int A) { got = {V, C, R, A}; };
    grid->SearchFooterAction(u"find", 3, 4, 2);
    EXPECT_EQ(got.value, u"find");
    EXPECT_EQ(got.col, 3);
    EXPECT_EQ(got.row, 4);
    EXPECT_EQ(got.action, 2);
}

} // namespace
