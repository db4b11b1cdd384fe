#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "BaseGrid.h"
#include "ExtUtil.h"
#include "plat/SysUtils.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace grid;
using plat::TGridCoord;
using plat::TRect;
namespace pt = plat::testing;

namespace {

// Counts the content painter's calls per cell and the rectangle it got.
class CountingGrid : public TBaseGrid {
public:
    using TBaseGrid::TBaseGrid;
    std::map<std::pair<int, int>, int> painted;
    std::map<std::pair<int, int>, TRect> rects;
    void DrawGridCell(plat::TCanvas* c, int ACol, int ARow, TRect R, plat::TGridDrawState S) override {
        ++painted[{ACol, ARow}];
        rects[{ACol, ARow}] = R;
        TBaseGrid::DrawGridCell(c, ACol, ARow, R, S);
    }
};

class BaseGridTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 600, 500);
        grid = new CountingGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBorderStyle(plat::bsNone);
        grid->SetColCount(8);
        grid->SetRowCount(30);
        grid->SetBounds(0, 0, 420, 320);
        form->Show();
        pt::ProcessEvents();
        if (grid->CanFocus()) grid->SetFocus();
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    void PaintAll() {
        grid->painted.clear();
        grid->Repaint();
        pt::ProcessEvents();
    }
    std::unique_ptr<plat::TForm> form;
    CountingGrid* grid = nullptr;
};

TEST_F(BaseGridTest, CellsOfAMergedAreaReadAndWriteTheBase) {
    grid->SetCells(2, 3, u"base");
    grid->MergeCells(2, 3, 3, 2);
    EXPECT_EQ(grid->Map().CheckMerges(), u"");
    for (int c = 2; c <= 4; ++c)
        for (int r = 3; r <= 4; ++r) EXPECT_EQ(grid->Cells(c, r), u"base") << c << "," << r;
    grid->SetCells(4, 4, u"written");
    EXPECT_EQ(grid->GetGridCell(2, 3), u"written");
    EXPECT_EQ(grid->GetGridCell(4, 4), u"");
    EXPECT_EQ(grid->Cells(3, 3), u"written");
    grid->SplitCells(3, 4);
    EXPECT_EQ(grid->Cells(2, 3), u"written");
    EXPECT_EQ(grid->Cells(4, 4), u"");
    EXPECT_EQ(grid->MergeCount(), 0);
    EXPECT_EQ(grid->Map().CheckMerges(), u"");
}

TEST_F(BaseGridTest, ColumnsBeyondTheCountKeepTheirTexts) {
    // Hidden columns live past ColCount: written and read like any other cell.
    grid->SetCellEx(12, 4, u"hidden");
    grid->SetCellEx(3, 0, u"header");
    EXPECT_EQ(grid->GetCellEx(12, 4), u"hidden");
    EXPECT_EQ(grid->GetCellEx(3, 0), u"header");
    grid->SetColCount(13);
    EXPECT_EQ(grid->GetCellEx(12, 4), u"hidden");
    grid->SetColCount(8);
    EXPECT_EQ(grid->GetCellEx(12, 4), u"hidden");
}

TEST_F(BaseGridTest, DisplayHooksRunOnlyForNormalRows) {
    grid->SetCells(1, 1, u"abc");
    grid->SetCells(1, 20, u"abc");
    grid->SetNormalRowCount(10);
    grid->OnGetDisplText = [](plat::TObject*, int, int, plat::String& v) { v += u"!"; };
    EXPECT_EQ(grid->Cells(1, 1), u"abc!");
    EXPECT_EQ(grid->Cells(1, 20), u"abc") << "rows at and beyond the normal row count skip the hooks";
    EXPECT_EQ(grid->GetGridCell(1, 1), u"abc");

    grid->OnGetDisplText = nullptr;
    plat::String seen;
    grid->OnGetDisplWideText = [&](plat::TObject*, int, int, plat::String& v) {
        seen = v;
        v = u"\u4e2d";
    };
    EXPECT_EQ(grid->Cells(1, 1), EncodeEscapedUnicode(u"\u4e2d"));
    EXPECT_EQ(seen, u"abc") << "a text without the escape prefix reaches the handler unchanged";
}

TEST_F(BaseGridTest, ObjectsLiveInThePropertiesAndKeepAnEmptyText) {
    auto obj = std::make_unique<plat::TObject>();
    grid->SetObjects(3, 3, obj.get());
    EXPECT_EQ(grid->Objects(3, 3), obj.get());
    EXPECT_EQ(grid->Cells(3, 3), u"");
    EXPECT_EQ(grid->GetGridObject(3, 3), grid->GetCellProperties(3, 3));
    EXPECT_EQ(grid->Objects(4, 3), nullptr);
}

TEST_F(BaseGridTest, PropertiesTakeTheDefaultsOfTheirCreation) {
    grid->SetColor(plat::clYellow);
    TCellProperties* p = grid->GetCellProperties(2, 2);
    EXPECT_EQ(p->BrushColor(), plat::clYellow);
    EXPECT_TRUE(p->WordWrap());
    EXPECT_EQ(p->OwnerCol, 2);
    grid->SetColor(plat::clWhite);
    EXPECT_EQ(grid->GetCellProperties(2, 2)->BrushColor(), plat::clYellow) << "later defaults do not reach it";
    EXPECT_TRUE(grid->HasCellProps());
}

TEST_F(BaseGridTest, NegativeCoordinatesAreRejected) {
    const auto before = grid->Store().CellCount();
    for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {-5, -5}}) {
        EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { grid->GetCellProperties(c, r); },
                                                              u"Grid index out of range"));
        EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { grid->SetCellProperties(c, r, nullptr); },
                                                              u"Grid index out of range"));
        EXPECT_FALSE(grid->HasCellProperties(c, r));
        EXPECT_EQ(grid->Cells(c, r), u"");
    }
    EXPECT_EQ(grid->Store().CellCount(), before);
}

TEST_F(BaseGridTest, RemovedRowsFreeTheirProperties) {
    grid->GetCellProperties(1, 25)->ReadOnly = true;
    grid->SetRowCount(20);
    grid->SetRowCount(30);
    EXPECT_FALSE(grid->HasCellProperties(1, 25));
}

TEST_F(BaseGridTest, AMergedAreaIsPaintedOnceWithItsWholeRectangle) {
    grid->MergeCells(2, 3, 3, 2);
    struct Case { const char* name; int topRow; };
    for (const Case& c : {Case{"base cell first", 1}, Case{"base scrolled out, others first", 4}}) {
        SCOPED_TRACE(c.name);
        grid->SetTopRow(c.topRow);
        PaintAll();
        EXPECT_EQ((grid->painted[{2, 3}]), 1);
        for (int col = 2; col <= 4; ++col)
            for (int row = 3; row <= 4; ++row)
                if (col != 2 || row != 3) {
                    EXPECT_EQ((grid->painted[{col, row}]), 0) << col << "," << row;
                }
        const TRect area = grid->CellRect(2, 3);
        const TRect a = grid->AbsoluteCellRect(2, 3), b = grid->AbsoluteCellRect(4, 4);
        EXPECT_EQ(area, (TRect{a.Left, a.Top, b.Right, b.Bottom}));
        const TRect inner = grid->rects[{2, 3}];
        EXPECT_EQ(inner, (TRect{area.Left + 1, area.Top + 1, area.Right - 1, area.Bottom - 1}));
    }
    // Invalidating one cell of the area repaints the area from its base, once.
    grid->SetTopRow(1);
    PaintAll();
    grid->painted.clear();
    grid->InvalidateCell(4, 4);
    grid->Update();
    pt::ProcessEvents();
    EXPECT_EQ((grid->painted[{2, 3}]), 1);
    EXPECT_EQ(grid->painted.size(), 1u);
}

TEST_F(BaseGridTest, HiddenLastRowIsPaintedPlain) {
    grid->SetRowCount(8);
    grid->SetHideLastRow(true);
    grid->SetCells(1, 7, u"hidden");
    PaintAll();
    EXPECT_EQ((grid->painted.count({1, 7})), 0u);
    EXPECT_EQ((grid->painted[{1, 6}]), 1);
}

TEST_F(BaseGridTest, ArrowKeysLeaveAMergedAreaInOneStep) {
    grid->MergeCells(2, 3, 3, 2);
    struct Case { TGridCoord from; std::uint16_t key; TGridCoord to; };
    const Case cases[] = {
        {{2, 3}, plat::VK_RIGHT, {5, 3}},
        {{2, 3}, plat::VK_DOWN, {2, 5}},
        {{5, 3}, plat::VK_LEFT, {2, 3}},
        {{3, 5}, plat::VK_UP, {2, 3}},
        {{1, 4}, plat::VK_RIGHT, {2, 3}},
    };
    for (const auto& c : cases) {
        grid->MoveColRow(c.from.X, c.from.Y, true, true);
        grid->MoveToBaseCell();
        pt::Key(c.key);
        EXPECT_EQ((TGridCoord{grid->Col(), grid->Row()}), c.to)
            << "from " << c.from.X << "," << c.from.Y << " key " << c.key;
    }
}

TEST_F(BaseGridTest, RenderToPng) {
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    for (int c = 1; c < 8; ++c) grid->SetCells(c, 0, u"Col " + plat::IntToStr(c));
    for (int r = 1; r < 30; ++r) grid->SetCells(0, r, plat::IntToStr(r));
    for (int r = 1; r < 30; ++r)
        for (int c = 1; c < 8; ++c) grid->SetCells(c, r, plat::IntToStr(r * 10 + c));
    grid->MergeCells(2, 3, 3, 2);
    grid->SetCells(2, 3, u"merged 3 x 2");
    grid->GetCellProperties(5, 6)->SetBrushColor(plat::clYellow);
    grid->SetSelection({1, 8, 3, 9});
    PaintAll();
    pt::SaveGrab(grid, u"base_grid.png");
    auto bmp = pt::Grab(grid);
    // Grid lines are the grid's own colour, the merged area has no line inside it.
    const TRect area = grid->CellRect(2, 3);
    EXPECT_EQ(pt::PixelOf(*bmp, area.Left + 70, area.Bottom - 1), plat::clSilver);
    EXPECT_NE(pt::PixelOf(*bmp, area.Left + 70, area.Top + 24), plat::clSilver) << "no line between merged rows";
    const TRect yellow = grid->CellRect(5, 6);
    EXPECT_EQ(pt::PixelOf(*bmp, yellow.Left + 3, yellow.Top + 3), plat::clYellow);
    // The same grid with a styled selection, scrolled so the merged area starts under the
    // fixed row.
    grid->SetSelectionStyle(ssWin7);
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goDrawFocusSelected));
    grid->SetTopRow(4);
    PaintAll();
    pt::SaveGrab(grid, u"base_grid_win7.png");
    auto scrolled = pt::Grab(grid);
    EXPECT_EQ(pt::PixelOf(*scrolled, 150, 10), plat::ColorToRGB(plat::clBtnFace)) << "fixed row stays on top";
}

TEST_F(BaseGridTest, SelectionStyleDrawsOnePieceAcrossTheSelectedColumns) {
    const TColor border = 0xCEA27D;  // ssWin7 border with focus
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goDrawFocusSelected));
    grid->SetSelectionStyle(ssWin7);
    grid->SetFocus();
    struct Case { const char* name; plat::TGridRect sel; int col; bool leftClosed, rightClosed; };
    const Case cases[] = {
        {"left end", {2, 4, 4, 4}, 2, true, false},
        {"middle", {2, 4, 4, 4}, 3, false, false},
        {"right end", {2, 4, 4, 4}, 4, false, true},
        {"single cell", {3, 4, 3, 4}, 3, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetSelection(c.sel);
        PaintAll();
        auto bmp = pt::Grab(grid);
        const TRect r = grid->CellRect(c.col, 4);
        // A closed end has a rounded corner and a border line down its side.
        EXPECT_EQ(pt::PixelOf(*bmp, r.Left, r.Top) == border, !c.leftClosed);
        EXPECT_EQ(pt::PixelOf(*bmp, r.Left, r.Top + 2) == border, c.leftClosed);
        EXPECT_EQ(pt::PixelOf(*bmp, r.Right - 2, r.Top + 2) == border, c.rightClosed);
    }
}

TEST_F(BaseGridTest, HoverRowSparesSelectedAndFixedCells) {
    grid->HoverRow = true;
    grid->HoverRowCells = {hcNormal};
    grid->SetHoverRowIdx(5);
    grid->SetSelection({3, 5, 3, 5});
    plat::TGridOptions o = grid->Options();
    grid->SetOptions(o.Include(plat::goDrawFocusSelected));
    PaintAll();
    auto bmp = pt::Grab(grid);
    auto at = [&](int c, int r) {
        const TRect cr = grid->CellRect(c, r);
        return pt::PixelOf(*bmp, cr.Left + 3, cr.Top + 3);
    };
    EXPECT_EQ(at(2, 5), plat::ColorToRGB(plat::clInfoBk)) << "hovered normal cell";
    EXPECT_EQ(at(3, 5), plat::ColorToRGB(plat::clHighlight)) << "selected cell keeps its colour";
    EXPECT_EQ(at(0, 5), plat::ColorToRGB(plat::clBtnFace)) << "fixed cell keeps its colour";
    EXPECT_EQ(at(2, 6), plat::ColorToRGB(plat::clWindow));
}

TEST_F(BaseGridTest, ZeroLineWidthGivesTheWholeCellToTheContent) {
    grid->SetGridLineWidth(0);
    grid->SetColor(plat::clAqua);
    PaintAll();
    const TRect r = grid->CellRect(2, 2);
    EXPECT_EQ((grid->rects[{2, 2}]), r);
    auto bmp = pt::Grab(grid);
    EXPECT_EQ(pt::PixelOf(*bmp, r.Left + 5, r.Bottom - 1), plat::clAqua);
    EXPECT_EQ(pt::PixelOf(*bmp, r.Right - 1, r.Top + 5), plat::clAqua);
}

} // namespace
