// Painting a tree with header columns: the cell loop over display positions, column colours
// below the rows, vertical grid lines and the fixed columns painted without scrolling.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Graphics.h"

namespace vtree::testing {
namespace {

using namespace plat;

// Records the cells whose content is painted; scrolls by setting the offset directly.
class CellTree : public TBaseLazyTree {
public:
    using TBaseLazyTree::TBaseLazyTree;
    void SetScrollX(int Value, int Range)
    {
        FRangeX = Range;
        FEffectiveOffsetX = Value;
    }
    void PaintClient(TCanvas* Canvas) { PaintTo(Canvas, 0, 0); }
    std::vector<std::pair<TColumnIndex, int>> Cells;  // column and cell left
    int DoGetNodeWidth(PLazyNode, TColumnIndex, TCanvas*) override { return 30; }

protected:
    void PaintNodeContent(TLTPaintInfo& PaintInfo) override
    {
        Cells.emplace_back(PaintInfo.Column, PaintInfo.CellRect.Left);
    }
};

class ColumnPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareSharedResources();
        Tree = std::make_unique<CellTree>(nullptr);
        Tree->SetColor(clWhite);
        Tree->Colors().SetColor(ciGridLineColor, clGreen);
        Tree->SetBounds(0, 0, 200, 100);
    }
    TLazyTreeColumns& C() { return Tree->Header().Columns(); }
    TLazyTreeColumn* Add(int Width, TColor Color)
    {
        TLazyTreeColumn* c = C().Add();
        c->SetWidth(Width);
        c->SetColor(Color);
        EXPECT_COLUMNS_OK(Tree->Header());
        return c;
    }
    std::unique_ptr<TBitmap> PaintWindow(TLTInternalPaintOptions Options)
    {
        auto b = std::make_unique<TBitmap>(Tree->ClientWidth(), Tree->ClientHeight());
        Tree->PaintTree(b->Canvas(), {0, 0, b->Width(), b->Height()}, {0, 0}, Options);
        return b;
    }
    std::unique_ptr<CellTree> Tree;
};

TEST_F(ColumnPaint, CellsFollowTheDisplayOrderAndSkipHiddenColumns)
{
    Add(40, clRed);
    Add(60, clBlue);
    Add(30, clYellow);
    C()[2]->SetPosition(0);  // display order 2, 0, 1
    Tree->SetRootNodeCount(2);
    PaintWindow(0);
    using Cells = std::vector<std::pair<TColumnIndex, int>>;
    EXPECT_EQ(Tree->Cells, (Cells{{2, 0}, {0, 30}, {1, 70}, {2, 0}, {0, 30}, {1, 70}}));
    Tree->Cells.clear();
    C()[0]->SetOptions(TLTColumnOptions(C()[0]->Options() & ~ColBit(coVisible)));
    PaintWindow(PaintBit(poMainOnly));  // only the main column (0) would be painted, and it is hidden
    EXPECT_TRUE(Tree->Cells.empty());
    PaintWindow(0);
    EXPECT_EQ(Tree->Cells, (Cells{{2, 0}, {1, 30}, {2, 0}, {1, 30}}));
}

TEST_F(ColumnPaint, ColumnColoursFillTheAreaBelowTheRows)
{
    Add(40, clRed);
    Add(60, clBlue);
    TLazyTreeColumn* parent = Add(30, clYellow);
    parent->SetOptions(parent->Options() | ColBit(coParentColor));
    Tree->SetRootNodeCount(1);
    auto b = PaintWindow(PaintBit(poBackground));
    const int y = b->Height() - 5;
    struct Probe {
        int x;
        TColor colour;
    };
    for (const Probe& p : {Probe{5, clRed}, Probe{39, clRed}, Probe{40, clBlue}, Probe{99, clBlue},
                           Probe{100, Tree->Colors().BackGroundColor()}, Probe{150, Tree->Colors().BackGroundColor()}}) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(b->Canvas()->Pixels(p.x, y), p.colour);
    }
}

TEST_F(ColumnPaint, VerticalGridLineOfTheLastColumnIsSkippedAtTheClientEdge)
{
    const int cw = Tree->ClientWidth();
    Add(50, clWhite);
    Add(cw - 50, clWhite);
    auto o = Tree->TreeOptions().PaintOptions();
    Tree->TreeOptions().SetPaintOptions(o | (TLTPaintOptions(1) << toShowVertGridLines));
    Tree->SetRootNodeCount(2);
    auto b = PaintWindow(PaintBit(poGridLines));
    auto greenIn = [&](int x) {
        for (int y = 0; y < 10; ++y)
            if (b->Canvas()->Pixels(x, y) == clGreen) return true;
        return false;
    };
    EXPECT_TRUE(greenIn(49));       // between the columns
    EXPECT_FALSE(greenIn(cw - 1));  // at the client's right edge
    // A fixed last column keeps its line.
    C()[1]->SetOptions(C()[1]->Options() | ColBit(coFixed));
    C()[0]->SetOptions(C()[0]->Options() | ColBit(coFixed));
    b = PaintWindow(PaintBit(poGridLines));
    EXPECT_TRUE(greenIn(cw - 1));
}

TEST_F(ColumnPaint, FixedColumnDoesNotMoveWhenScrolledHorizontally)
{
    TLazyTreeColumn* fixed = Add(40, clRed);
    fixed->SetOptions(fixed->Options() | ColBit(coFixed));
    Add(300, clBlue);
    Tree->SetRootNodeCount(1);
    for (int offset : {0, 30}) {
        SCOPED_TRACE(offset);
        Tree->SetScrollX(offset, 340);
        TBitmap b(Tree->Width(), Tree->Height());
        Tree->PaintClient(b.Canvas());
        const TPoint origin = Tree->ClientRect().TopLeft();
        const int y = origin.Y + Tree->ClientHeight() - 5;
        EXPECT_EQ(b.Canvas()->Pixels(origin.X + 20, y), clRed);
        EXPECT_EQ(b.Canvas()->Pixels(origin.X + 39, y), clRed);
        EXPECT_EQ(b.Canvas()->Pixels(origin.X + 45, y), clBlue);
    }
}

} // namespace
} // namespace vtree::testing

namespace vtree::testing {
namespace {

TEST_F(ColumnPaint, DisplayRectanglesFollowTheColumns)
{
    Add(40, clRed);
    Add(60, clBlue);
    Add(50, clYellow);
    C()[2]->SetPosition(0);  // display order 2, 0, 1
    C()[1]->SetAlignment(taRightJustify);
    Tree->SetRootNodeCount(2);
    PLazyNode second = Tree->GetNextNoInit(Tree->GetFirstNoInit());
    struct Case {
        TColumnIndex column;
        bool textOnly;
        TRect expected;
    };
    const int h = static_cast<int>(Tree->DefaultNodeHeight());
    const Case cases[] = {
        {2, false, {0, h, 49, 2 * h}},
        {0, false, {50, h, 89, 2 * h}},
        {1, false, {90, h, 149, 2 * h}},
        // The 30-pixel content of the right-aligned column 1 sits at its right edge.
        {1, true, {119, h, 149, 2 * h}},
    };
    Tree->SetScrollX(0, 150);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(Tree->GetDisplayRect(second, c.column, c.textOnly), c.expected);
    }
    // Scrolled: a normal column moves, a fixed one stays.
    Tree->SetScrollX(20, 150);
    EXPECT_EQ(Tree->GetDisplayRect(second, 0, false).Left, 30);
    C()[2]->SetOptions(C()[2]->Options() | ColBit(coFixed));
    EXPECT_EQ(Tree->GetDisplayRect(second, 2, false).Left, 0);
}

} // namespace
} // namespace vtree::testing
