// The tree's paint pass, its row decorations and printing, checked with pixel probes on
// bitmaps: line images and segments, the line pattern's phase, vertical alignment, rows
// skipped or custom-drawn, erase actions, selection rows, the empty-list message, the pass's
// guard against nesting and exceptions, and the page layout of printing.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.Utils.h"
#include "TestSupport.h"
#include "TreeInvariants.h"
#include "ViewInvariants.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/Printers.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

namespace vtree {
namespace {

using namespace plat;
namespace fs = std::filesystem;

constexpr TColor kMagenta = RGB(255, 0, 255);

// Exposes the protected painting steps and counts the content calls.
class ProbeTree : public TBaseLazyTree {
public:
    explicit ProbeTree(TComponent* Owner) : TBaseLazyTree(Owner) {}
    using TBaseLazyTree::ComputeNodeVAlign;
    using TBaseLazyTree::DottedHorzLine;
    using TBaseLazyTree::DottedVertLine;
    using TBaseLazyTree::PaintBackgroundStatic;
    using TBaseLazyTree::PaintBackgroundTiled;
    using TBaseLazyTree::PaintLineSegment;
    void SetRangeX(int Value) { FRangeX = Value; }
    int EffectiveOffsetX() const { return FEffectiveOffsetX; }
    int ContentCalls = 0;
    std::function<void(TLTPaintInfo&)> Content;

protected:
    void PaintNodeContent(TLTPaintInfo& PaintInfo) override
    {
        ++ContentCalls;
        if (Content)
            Content(PaintInfo);
    }
    int DoGetNodeWidth(PLazyNode, TColumnIndex, TCanvas*) override { return 30; }
};

// Pixel rows of a bitmap as text: '#' for ink, '.' for paper, '?' for anything else.
std::string Picture(TBitmap& B, TColor Ink, TColor Paper, TRect R)
{
    std::string s;
    for (int y = R.Top; y < R.Bottom; ++y) {
        for (int x = R.Left; x < R.Right; ++x) {
            const TColor c = B.Canvas()->Pixels(x, y);
            s += c == Ink ? '#' : c == Paper ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

bool RowIs(TBitmap& B, int Y, int X0, int X1, TColor C)
{
    for (int x = X0; x < X1; ++x)
        if (B.Canvas()->Pixels(x, Y) != C)
            return false;
    return true;
}

bool RowHas(TBitmap& B, int Y, int X0, int X1, TColor C)
{
    for (int x = X0; x < X1; ++x)
        if (B.Canvas()->Pixels(x, Y) == C)
            return true;
    return false;
}

// Writes pictures only when a folder is named for them.
void Render(TBitmap& B, const char* Name)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir)
        return;
    const std::string p = std::string(dir) + "/" + Name;
    B.SaveToFile(String(p.begin(), p.end()));
}

class TreePaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareSharedResources();
        RestoreSysColors();
        Tree = std::make_unique<ProbeTree>(nullptr);
        Tree->SetColor(clWhite);
        Tree->Colors().SetColor(ciTreeLineColor, clBlack);
        Tree->Colors().SetColor(ciGridLineColor, clGreen);
        Tree->RebuildPaintResources(true, true);
    }
    // A: A1 (A1a), A2; B. Everything expanded.
    void ThreeLevels()
    {
        A = Tree->AddChild(nullptr);
        B = Tree->AddChild(nullptr);
        A1 = Tree->AddChild(A);
        A2 = Tree->AddChild(A);
        A1a = Tree->AddChild(A1);
        Tree->FullExpand();
    }
    void SetPaint(std::initializer_list<TLTPaintOption> Add, std::initializer_list<TLTPaintOption> Drop = {})
    {
        TLTPaintOptions o = Tree->TreeOptions().PaintOptions();
        for (auto a : Add) o |= TLTPaintOptions(1) << a;
        for (auto d : Drop) o &= ~(TLTPaintOptions(1) << d);
        Tree->TreeOptions().SetPaintOptions(o);
    }
    void SetSelection(std::initializer_list<TLTSelectionOption> Add)
    {
        TLTSelectionOptions o = Tree->TreeOptions().SelectionOptions();
        for (auto a : Add) o = TLTSelectionOptions(o | (1u << a));
        Tree->TreeOptions().SetSelectionOptions(o);
    }
    std::unique_ptr<TBitmap> Target(int W, int H, TColor Fill = kMagenta)
    {
        auto b = std::make_unique<TBitmap>(W, H);
        b->Canvas()->Brush()->SetColor(Fill);
        b->Canvas()->FillRect({0, 0, W, H});
        return b;
    }
    void PaintAll(TBitmap& T, TLTInternalPaintOptions Options)
    {
        testing::FontHookProbe font(T.Canvas());
        Tree->PaintTree(T.Canvas(), {0, 0, T.Width(), T.Height()}, {0, 0}, Options);
        // The pass leaves no state behind, and positions and counts still add up.
        EXPECT_VIEW_OK(*Tree, &font);
    }

public:
    std::unique_ptr<ProbeTree> Tree;
    PLazyNode A = nullptr, B = nullptr, A1 = nullptr, A2 = nullptr, A1a = nullptr;
};

// ---- line images

TEST_F(TreePaint, LineImageOfEachNode)
{
    ThreeLevels();
    struct Case {
        const char* what;
        bool showRoot, childrenAbove;
        PLazyNode TreePaint::*node;
        TLineImage expected;
    };
    const Case cases[] = {
        {"top first", true, false, &TreePaint::A, {ltBottomRight}},
        {"top last", true, false, &TreePaint::B, {ltTopRight}},
        {"middle child", true, false, &TreePaint::A1, {ltTopDown, ltTopDownRight}},
        {"last child", true, false, &TreePaint::A2, {ltTopDown, ltTopRight}},
        {"grandchild", true, false, &TreePaint::A1a, {ltTopDown, ltTopDown, ltTopRight}},
        {"no root: top", false, false, &TreePaint::A, {}},
        {"no root: child", false, false, &TreePaint::A1, {ltTopDownRight}},
        {"no root: grandchild", false, false, &TreePaint::A1a, {ltTopDown, ltTopRight}},
        {"above: top first", true, true, &TreePaint::A, {ltBottomRight}},
        {"above: top last", true, true, &TreePaint::B, {ltTopRight}},
        {"above: first child", true, true, &TreePaint::A1, {ltNone, ltBottomRight}},
        {"above: later child", true, true, &TreePaint::A2, {ltNone, ltTopDownRight}},
        {"above: grandchild", true, true, &TreePaint::A1a, {ltNone, ltNone, ltBottomRight}},
        {"above, no root: top", false, true, &TreePaint::A, {}},
        {"above, no root: child", false, true, &TreePaint::A1, {ltBottomRight}},
        {"above, no root: grandchild", false, true, &TreePaint::A1a, {ltNone, ltBottomRight}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetPaint({}, {toShowRoot, toChildrenAbove});
        if (c.showRoot) SetPaint({toShowRoot});
        if (c.childrenAbove) SetPaint({toChildrenAbove});
        TLineImage image;
        Tree->BuildLineImage(this->*c.node, image);
        EXPECT_EQ(image, c.expected);
    }
}

TEST_F(TreePaint, LineImageCountsSelectedAncestorsAndLeavesLinesOutWithoutTreeLines)
{
    ThreeLevels();
    SetSelection({toMultiSelect});
    Tree->SetSelected(A, true);
    Tree->SetSelected(A1, true);
    TLineImage image;
    EXPECT_EQ(Tree->BuildLineImage(A1a, image), 2);
    EXPECT_EQ(Tree->BuildLineImage(A1, image), 1);
    SetPaint({}, {toShowTreeLines});
    Tree->BuildLineImage(A1a, image);
    EXPECT_EQ(image, TLineImage(3, ltNone));
}

// ---- line segments and the pattern

TEST_F(TreePaint, LineSegmentShapes)
{
    Tree->SetIndent(10);
    Tree->SetLineStyle(lsSolid);
    // Indent 10: XM = X + 5; VAlign 4; H 10; X = 0 (reversed: horizontal end at X).
    struct Case {
        const char* what;
        TLTLineType type;
        bool reverse;
        std::vector<const char*> rows;
    };
    const Case cases[] = {
        {"none", ltNone, false, {"...........", "...........", "...........", "...........", "...........",
                                 "...........", "...........", "...........", "...........", "...........",
                                 "..........."}},
        {"bottom right", ltBottomRight, false,
         {"...........", "...........", "...........", "...........", ".....######", ".....#.....",
          ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#....."}},
        {"top down", ltTopDown, false,
         {".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#.....",
          ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#....."}},
        {"top down right", ltTopDownRight, false,
         {".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....######", ".....#.....",
          ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#....."}},
        {"right", ltRight, false,
         {"...........", "...........", "...........", "...........", ".....######", "...........",
          "...........", "...........", "...........", "...........", "..........."}},
        {"top right", ltTopRight, false,
         {".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....######", "...........",
          "...........", "...........", "...........", "...........", "..........."}},
        {"right, reversed", ltRight, true,
         {"...........", "...........", "...........", "...........", "######.....", "...........",
          "...........", "...........", "...........", "...........", "..........."}},
        {"left", ltLeft, false,
         {"#..........", "#..........", "#..........", "#..........", "#..........", "#..........",
          "#..........", "#..........", "#..........", "#..........", "#.........."}},
        {"left, reversed", ltLeft, true,
         {"..........#", "..........#", "..........#", "..........#", "..........#", "..........#",
          "..........#", "..........#", "..........#", "..........#", "..........#"}},
        {"left bottom", ltLeftBottom, false,
         {"#..........", "#..........", "#..........", "#..........", "#..........", "#..........",
          "#..........", "#..........", "#..........", "#..........", "###########"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto t = Target(11, 11, clWhite);
        TLTPaintInfo info;
        info.Canvas = t->Canvas();
        info.Canvas->Font()->SetColor(clBlack);
        Tree->PaintLineSegment(info, 0, 0, 10, 4, c.type, c.reverse);
        std::string expected;
        for (const char* r : c.rows) expected += std::string(r) + "\n";
        EXPECT_EQ(Picture(*t, clBlack, clWhite, {0, 0, 11, 11}), expected);
    }
}

TEST_F(TreePaint, DottedLinesAlternateInPhaseAcrossRowsAndSolidLinesDoNot)
{
    // Three rows of 17 pixels (odd, so every other row starts at an odd top): the vertical
    // line of the first level runs through all of them as one alternating dotted line.
    for (int i = 0; i < 3; ++i) Tree->AddChild(nullptr);
    Tree->SetDefaultNodeHeight(17);
    for (PLazyNode n = Tree->GetFirst(); n; n = Tree->GetNext(n)) Tree->SetNodeHeight(n, 17);
    SetPaint({}, {toShowButtons});
    auto t = Target(60, 51);
    PaintAll(*t, PaintBit(poGridLines));
    const int x = 9;  // Round(18 / 2) from the cell's left edge
    int runs = 0;
    for (int y = 9; y < 42; ++y) {
        const TColor c = t->Canvas()->Pixels(x, y);
        const TColor expected = (x + y) % 2 == 0 ? clBlack : clWhite;
        if (c != expected) ++runs;
    }
    EXPECT_EQ(runs, 0) << Picture(*t, clBlack, clWhite, {0, 0, 20, 51});

    Tree->SetLineStyle(lsSolid);
    auto s = Target(60, 51);
    PaintAll(*s, PaintBit(poGridLines));
    for (int y = 9; y < 42; ++y) EXPECT_EQ(s->Canvas()->Pixels(x, y), clBlack) << y;
}

TEST_F(TreePaint, CustomLineStyleTakesTheHandlersRows)
{
    Tree->OnGetLineStyle = [](TBaseLazyTree*, std::array<std::uint16_t, 8>& Bits) {
        Bits = {0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
    };
    Tree->SetLineStyle(lsCustomStyle);
    EXPECT_EQ(Tree->LineBrush().Pattern()[0], 0x0F);
    Tree->SetLineStyle(lsDotted);
    EXPECT_EQ(Tree->LineBrush().Pattern()[0], 0x55);
    EXPECT_EQ(Tree->LineBrush().Pattern()[1], 0xAA);
}

// ---- vertical alignment

TEST_F(TreePaint, VerticalAlignmentPerNodeAlignment)
{
    PLazyNode n = Tree->AddChild(nullptr);
    Tree->SetNodeHeight(n, 20);
    TImageList images(nullptr);
    images.SetSize(16, 16);
    struct Case {
        const char* what;
        TLTNodeAlignment alignment;
        int align;
        bool withImages, withButtons;
        int vAlign, buttonY;
    };
    // Buttons are 9 high: ButtonY = VAlign - 4 - 1.
    const Case cases[] = {
        {"from top", naFromTop, 7, false, true, 7, 2},
        {"from bottom", naFromBottom, 7, false, true, 13, 8},
        {"proportional with images", naProportional, 50, true, true, 10, 5},
        {"proportional with images, top", naProportional, 0, true, true, 8, 3},
        {"proportional with buttons", naProportional, 50, false, true, 10, 5},
        {"proportional with buttons, bottom", naProportional, 100, false, true, 15, 10},
        {"proportional, nothing", naProportional, 50, false, false, 10, 5},
        {"proportional, nothing, a third", naProportional, 33, false, false, 7, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree->SetNodeAlignment(c.alignment);
        Tree->SetVerticalAlignment(n, static_cast<std::uint8_t>(c.align));
        Tree->SetImages(c.withImages ? &images : nullptr);
        if (c.withButtons) SetPaint({toShowButtons}); else SetPaint({}, {toShowButtons});
        int v = -1, b = -1;
        Tree->ComputeNodeVAlign(n, v, b);
        EXPECT_EQ(v, c.vAlign);
        EXPECT_EQ(b, c.buttonY);
    }
    Tree->SetImages(nullptr);
    Tree->SetVerticalAlignment(n, 250);
    EXPECT_EQ(n->Align, 100);
}

// ---- the row loop

TEST_F(TreePaint, SelectedOnlySkipsRowsButPlacesLaterOnes)
{
    for (int i = 0; i < 3; ++i) Tree->AddChild(nullptr);
    PLazyNode third = Tree->GetLast();
    Tree->SetSelected(third, true);
    std::vector<PLazyNode> painted;
    Tree->OnBeforeItemPaint = [&](TBaseLazyTree*, TCanvas*, PLazyNode N, const TRect&, bool&) { painted.push_back(N); };
    auto t = Target(80, 60);
    PaintAll(*t, PaintBit(poSelectedOnly));
    EXPECT_EQ(painted, std::vector<PLazyNode>{third});
    // Rows 0..35 untouched, row 36..53 painted, the area below filled.
    for (int y = 0; y < 36; ++y) EXPECT_TRUE(RowIs(*t, y, 0, 80, kMagenta)) << y;
    for (int y = 36; y < 60; ++y) EXPECT_FALSE(RowHas(*t, y, 0, 80, kMagenta)) << y;
    EXPECT_EQ(t->Canvas()->Pixels(70, 40), clWhite);
}

TEST_F(TreePaint, CustomDrawnRowIsStillCopied)
{
    for (int i = 0; i < 3; ++i) Tree->AddChild(nullptr);
    PLazyNode second = Tree->GetNext(Tree->GetFirst());
    int erased = 0, after = 0;
    Tree->OnBeforeItemPaint = [&](TBaseLazyTree*, TCanvas* C, PLazyNode N, const TRect& R, bool& Custom) {
        if (N != second) return;
        C->Brush()->SetColor(clRed);
        C->FillRect(R);
        Custom = true;
    };
    Tree->OnBeforeItemErase = [&](TBaseLazyTree*, TCanvas*, PLazyNode, const TRect&, TColor&, TItemEraseAction&) { ++erased; };
    Tree->OnAfterItemPaint = [&](TBaseLazyTree*, TCanvas*, PLazyNode, const TRect&) { ++after; };
    auto t = Target(80, 54);
    PaintAll(*t, PaintBit(poGridLines));
    EXPECT_EQ(erased, 2);
    EXPECT_EQ(after, 2);
    EXPECT_EQ(Tree->ContentCalls, 2);
    for (int y = 18; y < 36; ++y) EXPECT_TRUE(RowIs(*t, y, 0, 80, clRed)) << y;
    EXPECT_EQ(t->Canvas()->Pixels(70, 5), clWhite);
}

TEST_F(TreePaint, EraseActions)
{
    for (int i = 0; i < 3; ++i) Tree->AddChild(nullptr);
    PLazyNode first = Tree->GetFirst(), second = Tree->GetNext(first);
    Tree->OnBeforeItemErase = [&](TBaseLazyTree*, TCanvas*, PLazyNode N, const TRect&, TColor& C, TItemEraseAction& A) {
        if (N == first) {
            C = clBlue;
            A = eaColor;
        } else if (N == second) {
            A = eaNone;
        }
    };
    SetPaint({}, {toShowTreeLines, toShowButtons});
    auto t = Target(80, 54);
    PaintAll(*t, 0);
    // The second row leaves the row bitmap as the first one left it.
    EXPECT_EQ(t->Canvas()->Pixels(40, 5), clBlue);
    EXPECT_EQ(t->Canvas()->Pixels(40, 25), clBlue);
    EXPECT_EQ(t->Canvas()->Pixels(40, 45), clWhite);
}

TEST_F(TreePaint, EditedCellHasNoHighlightAndNoContent)
{
    PLazyNode n = Tree->AddChild(nullptr);
    Tree->SetSelected(n, true);
    Tree->SetFocusedNode(n);
    SetPaint({}, {toShowTreeLines, toShowButtons, toHideSelection});
    Tree->Colors().SetColor(ciUnfocusedSelectionColor, clYellow);
    auto t = Target(80, 18);
    PaintAll(*t, PaintBit(poDrawSelection));
    EXPECT_EQ(Tree->ContentCalls, 1);
    EXPECT_TRUE(RowHas(*t, 9, 0, 80, clYellow));

    Tree->DoStateChange(TreeBit(tsEditing));
    auto e = Target(80, 18);
    PaintAll(*e, PaintBit(poDrawSelection));
    EXPECT_EQ(Tree->ContentCalls, 1);
    EXPECT_FALSE(RowHas(*e, 9, 0, 80, clYellow));
    Tree->DoStateChange(0, TreeBit(tsEditing));
}

TEST_F(TreePaint, GridLinesWithoutColumns)
{
    ThreeLevels();
    SetPaint({toShowHorzGridLines, toShowVertGridLines}, {toShowTreeLines, toShowButtons});
    Tree->SetLineStyle(lsSolid);
    struct Case {
        const char* what;
        TLTInternalPaintOptions options;
        TLTLineMode mode;
        int firstGreenX;  // on the grandchild's bottom line (y 89); -1: none
    };
    const Case cases[] = {
        {"no grid option: no lines", 0, lmNormal, -1},
        {"horizontal line across the row", PaintBit(poGridLines), lmNormal, 0},
        {"bands leave the indentation out", PaintBit(poGridLines), lmBands, 3 * 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree->SetLineMode(c.mode);
        auto t = Target(120, 90);
        PaintAll(*t, c.options);
        int first = -1;
        for (int x = 0; x < 120 && first < 0; ++x)
            if (t->Canvas()->Pixels(x, 71) == clGreen) first = x;
        if (c.mode == lmBands) {
            // The band lines of the indentation are grid lines too; the row's own line
            // starts after the indentation.
            EXPECT_TRUE(RowIs(*t, 71, 3 * 18, 119, clGreen));
        } else {
            EXPECT_EQ(first, c.firstGreenX);
        }
        // Without header columns no vertical grid line is drawn at the right edge.
        EXPECT_NE(t->Canvas()->Pixels(119, 60), clGreen);
    }
}

TEST_F(TreePaint, FullRowSelectionKeepsItsLastLineInTheBackground)
{
    PLazyNode n = Tree->AddChild(nullptr);
    Tree->SetSelected(n, true);
    SetSelection({toFullRowSelect});
    SetPaint({toShowHorzGridLines}, {toShowTreeLines, toShowButtons, toHideSelection});
    Tree->Colors().SetColor(ciUnfocusedSelectionColor, clYellow);
    Tree->Colors().SetColor(ciUnfocusedSelectionBorderColor, clYellow);
    auto t = Target(80, 18);
    PaintAll(*t, PaintBit(poDrawSelection) | PaintBit(poGridLines));
    EXPECT_TRUE(RowHas(*t, 9, 0, 80, clYellow));
    EXPECT_FALSE(RowHas(*t, 17, 0, 80, clYellow));
    Render(*t, "full-row-selection.png");
}

TEST_F(TreePaint, EmptyTreeShowsItsMessage)
{
    Tree->SetEmptyListMessage(u"Nothing found");
    auto t = Target(200, 40);
    PaintAll(*t, 0);
    const TColor grey = ColorToRGB(clGrayText);
    EXPECT_TRUE(RowIs(*t, 0, 0, 200, clWhite));
    EXPECT_TRUE(RowIs(*t, 1, 0, 200, clWhite));
    bool text = false;
    for (int y = 2; y < 20; ++y) text = text || RowHas(*t, y, 2, 200, grey);
    EXPECT_TRUE(text);
    for (int y = 0; y < 40; ++y) EXPECT_NE(t->Canvas()->Pixels(0, y), grey);
    Render(*t, "empty-list-message.png");
}

TEST_F(TreePaint, PassNeverNestsAndLeavesItsStateOnExceptions)
{
    Tree->AddChild(nullptr);
    int inner = 0;
    Tree->OnBeforePaint = [&](TBaseLazyTree* T, TCanvas* C) {
        T->OnBeforePaint = nullptr;
        T->OnAfterPaint = [&](TBaseLazyTree*, TCanvas*) { ++inner; };
        T->PaintTree(C, {0, 0, 10, 10}, {0, 0}, 0);  // nested: nothing
        T->OnAfterPaint = nullptr;
    };
    auto t = Target(40, 18);
    PaintAll(*t, 0);
    EXPECT_EQ(inner, 0);

    Tree->OnAfterItemPaint = [](TBaseLazyTree*, TCanvas*, PLazyNode, const TRect&) {
        throw plat::Exception(u"handler failed");
    };
    EXPECT_TRUE(testsupport::ThrowsWith<plat::Exception>(
        [&] { Tree->PaintTree(t->Canvas(), {0, 0, 40, 18}, {0, 0}, 0); }, u"handler failed"));
    EXPECT_FALSE(Tree->HasState(tsPainting));
}

TEST_F(TreePaint, EmptyBackgroundPictureIsFilledWithTheColour)
{
    Tree->AddChild(nullptr);
    SetPaint({toShowBackground});
    TBitmap empty;
    auto t = Target(40, 30);
    Tree->SetColor(clAqua);
    // Tiled and static, both with a picture of no pixels.
    TLTPaintInfo info;
    info.Canvas = t->Canvas();
    Tree->PaintBackgroundTiled(&empty, t->Canvas(), {0, 0, 40, 30}, {0, 0});
    EXPECT_TRUE(RowIs(*t, 10, 0, 40, clAqua));
    Tree->SetColor(clYellow);
    Tree->PaintBackgroundStatic(&empty, t->Canvas(), {0, 0, 40, 30}, {0, 0});
    EXPECT_TRUE(RowIs(*t, 10, 0, 40, clYellow));
}

TEST_F(TreePaint, TiledBackgroundIsAnchoredAtItsOffset)
{
    TBitmap picture(2, 2);
    picture.Canvas()->SetPixels(0, 0, clRed);
    picture.Canvas()->SetPixels(1, 0, clBlue);
    picture.Canvas()->SetPixels(0, 1, clBlue);
    picture.Canvas()->SetPixels(1, 1, clRed);
    auto t = Target(5, 3);
    Tree->SetBackgroundOffset(0, 1);
    Tree->PaintBackgroundTiled(&picture, t->Canvas(), {0, 0, 5, 3}, {0, 0});
    // Tile origin at x = 1: column 0 shows the picture's column 1.
    EXPECT_EQ(Picture(*t, clRed, clBlue, {0, 0, 5, 3}), ".#.#.\n#.#.#\n.#.#.\n");
}

TEST_F(TreePaint, StaticBackgroundIsPlacedOnceAtItsOffset)
{
    TBitmap picture(2, 2);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect({0, 0, 2, 2});
    struct Case {
        const char* what;
        bool transparent;
        TPoint offset;
        std::string expected;
    };
    const Case cases[] = {
        {"plain, offset 1", false, {0, 0}, ".##..\n.##..\n.....\n"},
        {"area moved by the offset", false, {1, 1}, "##...\n.....\n.....\n"},
        {"transparent colour left out", true, {0, 0}, ".#...\n.##..\n.....\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        picture.Canvas()->SetPixels(1, 0, c.transparent ? clLime : clRed);
        picture.SetTransparent(c.transparent);
        if (c.transparent) picture.SetTransparentColor(clLime);
        auto t = Target(5, 3);
        Tree->SetColor(clBlue);
        Tree->SetBackgroundOffset(0, 1);
        Tree->PaintBackgroundStatic(&picture, t->Canvas(), {0, 0, 5, 3}, c.offset);
        EXPECT_EQ(Picture(*t, clRed, clBlue, {0, 0, 5, 3}), c.expected);
    }
}

TEST_F(TreePaint, BackgroundPictureInThePassBehindRowsAndBelowThem)
{
    Tree->AddChild(nullptr);
    TBitmap picture(4, 30);
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect({0, 0, 4, 30});
    Tree->Background()->SetBitmap(&picture);
    SetPaint({toShowBackground, toStaticBackground}, {toShowTreeLines, toShowButtons});
    Tree->SetBackgroundOffset(0, 10);
    auto t = Target(40, 40);
    PaintAll(*t, PaintBit(poBackground));
    EXPECT_EQ(t->Canvas()->Pixels(11, 5), clRed);    // behind the row
    EXPECT_EQ(t->Canvas()->Pixels(11, 25), clRed);   // below the last row
    EXPECT_EQ(t->Canvas()->Pixels(11, 35), clWhite); // below the picture
    EXPECT_EQ(t->Canvas()->Pixels(20, 5), clWhite);
    // Without poBackground the colour is used.
    auto u = Target(40, 40);
    PaintAll(*u, 0);
    EXPECT_EQ(u->Canvas()->Pixels(11, 5), clWhite);
}

// ---- display rectangles

TEST_F(TreePaint, DisplayRectangles)
{
    ThreeLevels();
    Tree->SetWidth(300);
    // A collapsed parent hides its children: an empty rectangle.
    Tree->SetExpanded(A1, false);
    EXPECT_TRUE(Tree->GetDisplayRect(A1a, NoColumn, false).IsEmpty());
    Tree->SetExpanded(A1, true);
    const TRect row = Tree->GetDisplayRect(A1a, NoColumn, false);
    EXPECT_EQ(row.Top, 2 * 18);   // A, A1, then A1a
    EXPECT_EQ(row.Bottom, 3 * 18);
    // Text: margin 4 + two ancestor levels + the root level; the node width is 30.
    const TRect text = Tree->GetDisplayRect(A1a, NoColumn, true);
    EXPECT_EQ(text.Left, 4 + 3 * 18);
    EXPECT_EQ(text.Right, text.Left + 30);
    const TRect unclipped = Tree->GetDisplayRect(A1a, NoColumn, true, true);
    EXPECT_EQ(unclipped.Left, text.Left);
    EXPECT_EQ(unclipped.Right, text.Right - 1);
    // toFixedIndent: no ancestor levels (and no visibility walk).
    SetPaint({toFixedIndent});
    EXPECT_EQ(Tree->GetDisplayRect(A1a, NoColumn, true).Left, 4 + 18);
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>([&] { Tree->GetDisplayRect(nullptr, NoColumn, false); },
                                                          u"Node must not be nil."));
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>(
        [&] { Tree->GetDisplayRect(Tree->RootNode(), NoColumn, false); }, u"Node must not be the hidden root node."));
}

// ckCustom takes the custom list; without one no check control is drawn.
TEST_F(TreePaint, CustomCheckKindWithoutAListDrawsNoCheckControl)
{
    Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() | (TLTMiscOptions(1) << toCheckSupport));
    PLazyNode n = Tree->AddChild(nullptr);
    Tree->SetCheckType(n, ctCheckBox);
    Tree->SetCheckState(n, csCheckedNormal);
    auto paint = [&] {
        auto t = Target(60, 18, clWhite);
        PaintAll(*t, PaintBit(poBackground));
        bool ink = false;
        for (int y = 0; y < 18; ++y) ink = ink || !RowIs(*t, y, 21, 37, clWhite);  // the check image's cell
        return ink;
    };
    Tree->SetCheckImageKind(ckLightCheck);
    EXPECT_TRUE(paint());
    Tree->SetCheckImageKind(ckCustom);
    EXPECT_EQ(Tree->CheckImages(), nullptr);
    EXPECT_FALSE(paint());
    TImageList custom(nullptr);
    Tree->SetCustomCheckImages(&custom);
    EXPECT_EQ(Tree->CheckImages(), &custom);
    Tree->SetCustomCheckImages(nullptr);
    EXPECT_EQ(Tree->CheckImages(), nullptr);
}

// The shaded buttons are the named pictures LT_XPBUTTONPLUS and LT_XPBUTTONMINUS: a grey
// frame around a face darkening downwards, the sign in black, whatever the tree's colours.
// 'S' frame, '1'..'7' the face rows, 'n' the sign.
TEST_F(TreePaint, ShadedButtonsAreTheNamedPictures)
{
    auto colour = [](char c) -> TColor {
        switch (c) {
        case 'S': return RGB(160, 160, 160);
        case 'n': return RGB(0, 0, 0);
        case '1': return RGB(249, 249, 255);
        case '2': return RGB(242, 242, 250);
        case '3': return RGB(235, 235, 243);
        case '4': return RGB(228, 228, 236);
        case '5': return RGB(221, 221, 229);
        case '6': return RGB(214, 214, 222);
        case '7': return RGB(207, 207, 215);
        default: return kMagenta;
        }
    };
    const char* const plusArt[9] = {"SSSSSSSSS", "S1111111S", "S222n222S", "S333n333S", "S4nnnnn4S",
                                    "S555n555S", "S666n666S", "S7777777S", "SSSSSSSSS"};
    const char* const minusArt[9] = {"SSSSSSSSS", "S1111111S", "S2222222S", "S3333333S", "S4nnnnn4S",
                                     "S5555555S", "S6666666S", "S7777777S", "SSSSSSSSS"};
    // Mismatches of the 9 x 9 block at (X, Y) of B against Art, as "x,y " pairs.
    auto mismatches = [&](const TBitmap& B, int X, int Y, const char* const* Art) {
        std::string bad;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x)
                if (const_cast<TBitmap&>(B).Canvas()->Pixels(X + x, Y + y) != colour(Art[y][x]))
                    bad += std::to_string(x) + "," + std::to_string(y) + " ";
        return bad;
    };
    struct Case {
        const char16_t* name;
        const char* const* art;
    };
    const Case cases[] = {{u"LT_XPBUTTONPLUS", plusArt}, {u"LT_XPBUTTONMINUS", minusArt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.name));
        TBitmap loaded;
        ASSERT_TRUE(LoadBitmapResource(c.name, loaded));
        ASSERT_EQ(loaded.Width(), 9);
        ASSERT_EQ(loaded.Height(), 9);
        EXPECT_EQ(mismatches(loaded, 0, 0, c.art), "");
    }
    // Plus and minus differ only in the vertical stroke.
    TBitmap plus, minus;
    ASSERT_TRUE(LoadBitmapResource(u"lt_xpbuttonplus", plus));
    ASSERT_TRUE(LoadBitmapResource(u"LT_XPBUTTONMINUS", minus));
    std::string differ;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            if (plus.Canvas()->Pixels(x, y) != minus.Canvas()->Pixels(x, y))
                differ += std::to_string(x) + "," + std::to_string(y) + " ";
    EXPECT_EQ(differ, "4,2 4,3 4,5 4,6 ");

    // The tree takes them as its plus and minus bitmaps (the hot ones as copies), whatever its
    // line and font colours, and paints them unchanged: an expanded and a collapsed parent.
    Tree->Colors().SetColor(ciTreeLineColor, clRed);
    Tree->Font()->SetColor(clBlue);
    Tree->SetButtonFillMode(fmShaded);
    EXPECT_EQ(mismatches(Tree->PlusBitmap(), 0, 0, plusArt), "");
    EXPECT_EQ(mismatches(Tree->MinusBitmap(), 0, 0, minusArt), "");
    PLazyNode open = Tree->AddChild(nullptr);
    Tree->AddChild(open);
    Tree->SetExpanded(open, true);
    PLazyNode shut = Tree->AddChild(nullptr);
    Tree->AddChild(shut);
    Tree->SetExpanded(shut, false);
    auto t = Target(80, 3 * 18, clWhite);
    PaintAll(*t, PaintBit(poBackground));
    // Each button's top-left is the first frame pixel of its row.
    for (int row : {0, 2}) {
        SCOPED_TRACE(row);
        int bx = -1, by = -1;
        for (int y = row * 18; y < row * 18 + 18 && bx < 0; ++y)
            for (int x = 0; x < 40 && bx < 0; ++x)
                if (t->Canvas()->Pixels(x, y) == colour('S')) {
                    bx = x;
                    by = y;
                }
        ASSERT_GE(bx, 0);
        EXPECT_EQ(mismatches(*t, bx, by, row == 0 ? minusArt : plusArt), "");
    }
    Render(*t, "shaded-buttons.png");
}

// ---- window messages, invalidation and frame

TEST_F(TreePaint, ItemRectangleMessageAnswersVisibleNodes)
{
    ThreeLevels();
    Tree->SetWidth(300);
    Tree->SetVisible(B, false);
    struct Case {
        const char* what;
        PLazyNode node;
        WPARAM textOnly;
        LRESULT result;
    };
    const Case cases[] = {
        {"row", A1, 0, 1}, {"text", A1a, 1, 1}, {"hidden node", B, 0, 0}, {"no node", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRect r{-7, -7, -7, -7};
        std::memcpy(&r, &c.node, sizeof c.node);
        const TRect entry = r;
        EXPECT_EQ(Tree->Perform(TVM_GETITEMRECT, c.textOnly, reinterpret_cast<LPARAM>(&r)), c.result);
        if (c.result)
            EXPECT_EQ(r, Tree->GetDisplayRect(c.node, NoColumn, c.textOnly != 0));
        else
            EXPECT_EQ(r, entry);
    }
    EXPECT_EQ(Tree->Perform(TVM_GETITEMRECT, 0, 0), 0);
    EXPECT_VIEW_OK(*Tree);
}

TEST_F(TreePaint, InvalidatingChildrenCreatesAnnouncedOnes)
{
    int asked = 0;
    Tree->OnInitChildren = [&](TBaseLazyTree*, PLazyNode, std::uint32_t& C) {
        ++asked;
        C = 3;
    };
    PLazyNode parent = Tree->AddChild(nullptr);
    Tree->SetHasChildren(parent, true);
    Tree->InvalidateChildren(parent, false);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Tree->GetChildCount(parent), 3u);
    EXPECT_VIEW_OK(*Tree);
    // Recursive from the top: every child with announced children gets them.
    for (PLazyNode c = parent->FirstChild; c; c = c->NextSibling) Tree->SetHasChildren(c, true);
    Tree->InvalidateChildren(nullptr, true);
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(Tree->TotalCount(), 1u + 3u + 9u);  // the grandchildren announce none
    EXPECT_VIEW_OK(*Tree);
    Tree->RepaintNode(nullptr);
    Tree->RepaintNode(Tree->RootNode());
    Tree->RepaintNode(parent);
    EXPECT_VIEW_OK(*Tree);
}

TEST_F(TreePaint, PrintClientPaintsTheRowsAsTheWindowShowsThem)
{
    ThreeLevels();
    Tree->SetBounds(0, 0, 120, 100);
    Tree->SetSelected(A1, true);
    auto viaMessage = Target(Tree->ClientWidth(), Tree->ClientHeight());
    auto direct = Target(Tree->ClientWidth(), Tree->ClientHeight());
    Tree->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(viaMessage->Canvas()), 0);
    PaintAll(*direct, PaintSet({poBackground, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines}));
    for (int y = 0; y < direct->Height(); y += 3)
        for (int x = 0; x < direct->Width(); x += 3)
            ASSERT_EQ(viaMessage->Canvas()->Pixels(x, y), direct->Canvas()->Pixels(x, y)) << x << "," << y;
    EXPECT_FALSE(Tree->HasState(tsPainting));
}

TEST_F(TreePaint, BorderWidthRingTakesTheBorderColourOutsideTheClient)
{
    Tree->SetBounds(0, 0, 60, 40);
    const int clientBefore = Tree->ClientWidth();
    Tree->Colors().SetColor(ciBorderColor, clRed);
    struct Case {
        const char* what;
        TBevelKind kind;
        int border;
        int frame;  // pixels taken from each side of the client
    };
    const Case cases[] = {
        {"ring only", bkNone, 3, 3},
        {"bevel and ring", bkTile, 2, 2 + 2},  // inner and outer bevel of 1 pixel each
        {"nothing", bkNone, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Tree->SetBevelKind(c.kind);
        Tree->SetBorderWidth(c.border);
        EXPECT_EQ(Tree->ClientWidth(), clientBefore - 2 * c.frame);
        auto frame = Target(60, 40, clWhite);
        Tree->Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(frame->Canvas()), 0);
        const int ring = c.frame - c.border;  // where the ring starts
        for (int d = 0; d < 20; ++d) {
            const bool inRing = d >= ring && d < c.frame;
            EXPECT_EQ(frame->Canvas()->Pixels(d, 20) == clRed, inRing) << "column " << d;
            EXPECT_EQ(frame->Canvas()->Pixels(30, d) == clRed, inRing) << "row " << d;
        }
    }
}

TEST_F(TreePaint, ReadingOrderSetsTheEffectiveHorizontalOffset)
{
    Tree->SetBounds(0, 0, 100, 60);
    Tree->SetRangeX(250);
    Tree->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(Tree->EffectiveOffsetX(), 250 - Tree->ClientWidth());
    Tree->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(Tree->EffectiveOffsetX(), 0);
}

TEST_F(TreePaint, ScalingAndFontsResizeRowsOnlyWithAutoChangeScale)
{
    struct Case {
        bool autoScale;
        std::uint32_t height, indent;
    };
    const Case cases[] = {{true, 36, 36}, {false, 18, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.autoScale);
        Tree->SetDefaultNodeHeight(18);
        Tree->SetIndent(18);
        TLTAutoOptions a = Tree->TreeOptions().AutoOptions();
        a = c.autoScale ? TLTAutoOptions(a | (1u << toAutoChangeScale)) : TLTAutoOptions(a & ~(1u << toAutoChangeScale));
        Tree->TreeOptions().SetAutoOptions(a);
        Tree->ChangeScale(2, 1);
        EXPECT_EQ(Tree->DefaultNodeHeight(), c.height);
        EXPECT_EQ(Tree->Indent(), c.indent);
        // A font taller than the rows raises the default height to it.
        Tree->SetDefaultNodeHeight(10);
        Tree->Font()->SetSize(30);
        const std::uint32_t fitted = Tree->DefaultNodeHeight();
        if (c.autoScale) EXPECT_GT(fitted, 30u); else EXPECT_EQ(fitted, 10u);
        Tree->Font()->SetSize(8);
        EXPECT_EQ(Tree->DefaultNodeHeight(), fitted);  // never lowered
    }
}

TEST_F(TreePaint, VisibleContentWidthIsTheWidestRowInTheClient)
{
    ThreeLevels();  // node widths are 30
    Tree->SetBounds(0, 0, 200, 3 * 18);  // A, A1, A1a in the client; A2 and B below it
    const int margin = Tree->Margin();
    // toShowRoot: A1a is on level 2 (+1 for the root level), so 3 indents.
    EXPECT_EQ(Tree->VisibleContentWidth(), 3 * 18 + 30 + margin);
    SetPaint({}, {toShowRoot});
    EXPECT_EQ(Tree->VisibleContentWidth(), 2 * 18 + 30 + margin);
}

// ---- colours

TEST_F(TreePaint, ColourDefaultsAndAssign)
{
    TLTColors fresh(nullptr);
    struct Case {
        int index;
        TColor value;
    };
    const Case defaults[] = {
        {ciDisabledColor, clBtnShadow}, {ciDropMarkColor, clHighlight}, {ciDropTargetColor, clHighlight},
        {ciFocusedSelectionColor, clHighlight}, {ciGridLineColor, clBtnFace}, {ciTreeLineColor, clBtnShadow},
        {ciUnfocusedSelectionColor, clBtnFace}, {ciBorderColor, clBtnFace}, {ciHotColor, clWindowText},
        {ciFocusedSelectionBorderColor, clHighlight}, {ciUnfocusedSelectionBorderColor, clBtnFace},
        {ciDropTargetBorderColor, clHighlight}, {ciSelectionRectangleBlendColor, clHighlight},
        {ciSelectionRectangleBorderColor, clHighlight}, {ciHeaderHotColor, clBtnShadow},
        {ciSelectionTextColor, clHighlightText}, {ciUnfocusedColor, clBtnFace},
    };
    for (const Case& c : defaults) EXPECT_EQ(fresh.GetColor(c.index), c.value) << c.index;
    EXPECT_EQ(fresh.GetColor(17), clNone);
    fresh.SetColor(ciHotColor, clRed);
    Tree->Colors().Assign(&fresh);
    EXPECT_EQ(Tree->Colors().HotColor(), clRed);
    EXPECT_EQ(Tree->Colors().TreeLineColor(), clBtnShadow);
    EXPECT_EQ(Tree->Colors().BackGroundColor(), clWhite);
}

// A stand-in for a custom style: every query answers a colour of its own.
class StandInStyle : public TLTStyleQuery {
public:
    TColor HotText = clWindowText;
    TColor SelectedText = clWindowText;
    bool ReportsText = true;
    TColor SystemColor(TColor C) const override { return C == clHighlight ? RGB(1, 1, 1) : C == clBtnFace ? RGB(2, 2, 2) : RGB(3, 3, 3); }
    TColor TreeViewColor() const override { return RGB(4, 4, 4); }
    bool TextColor(TLTStyledElement E, TColor& C) const override
    {
        if (!ReportsText) return false;
        switch (E) {
        case steItemNormal: C = RGB(5, 5, 5); break;
        case steItemDisabled: C = RGB(6, 6, 6); break;
        case steItemHot: C = HotText; break;
        case steItemSelected: C = SelectedText; break;
        case steHeaderItemNormal: C = RGB(7, 7, 7); break;
        default: return false;
        }
        return true;
    }
    TColor BorderColor(TLTStyledElement) const override { return RGB(8, 8, 8); }
    TColor FillColor(TLTStyledElement) const override { return RGB(9, 9, 9); }
};

TEST(StyledColours, EachColourFromTheStyleAsTheTableSays)
{
    const TColor font = RGB(5, 5, 5), highlight = RGB(1, 1, 1), face = RGB(2, 2, 2), own = RGB(50, 60, 70);
    struct Case {
        const char* what;
        int index;
        TColor stored;
        TColor hot, selected;  // what the style reports for hot and selected text
        TLTStyleElements elements;
        TColor expected;
    };
    const Case cases[] = {
        {"disabled text", ciDisabledColor, own, clWindowText, clWindowText, AllStyleElements, RGB(6, 6, 6)},
        {"stored highlight becomes the style's", ciFocusedSelectionColor, clHighlight, 0, 0, AllStyleElements, highlight},
        {"other stored selection stays", ciFocusedSelectionColor, own, 0, 0, AllStyleElements, own},
        {"drop mark", ciDropMarkColor, clHighlight, 0, 0, AllStyleElements, highlight},
        {"rubber band blend", ciSelectionRectangleBlendColor, clHighlight, 0, 0, AllStyleElements, highlight},
        {"unfocused colour", ciUnfocusedColor, own, 0, 0, AllStyleElements, own},
        {"grid lines", ciGridLineColor, own, 0, 0, AllStyleElements, face},
        {"drop target border", ciDropTargetBorderColor, own, 0, 0, AllStyleElements, face},
        {"tree lines", ciTreeLineColor, own, 0, 0, AllStyleElements, RGB(8, 8, 8)},
        {"unfocused selection of button face", ciUnfocusedSelectionColor, clBtnFace, 0, 0, AllStyleElements, highlight},
        {"unfocused selection of another colour", ciUnfocusedSelectionColor, own, 0, 0, AllStyleElements, own},
        {"unfocused border of button face", ciUnfocusedSelectionBorderColor, clBtnFace, 0, 0, AllStyleElements, highlight},
        {"border with seBorder", ciBorderColor, own, 0, 0, AllStyleElements, face},
        {"border without seBorder", ciBorderColor, own, 0, 0, seFont | seClient, own},
        {"hot text exactly window text", ciHotColor, own, clWindowText, 0, AllStyleElements, clWindowText},
        {"hot text of another colour follows the node font", ciHotColor, own, RGB(11, 11, 11), 0, AllStyleElements, font},
        {"focused selection border", ciFocusedSelectionBorderColor, own, 0, 0, AllStyleElements, RGB(9, 9, 9)},
        {"header hot", ciHeaderHotColor, own, 0, 0, AllStyleElements, RGB(7, 7, 7)},
        {"selected text exactly window text", ciSelectionTextColor, own, 0, clWindowText, AllStyleElements, clWindowText},
        {"selected text of another colour", ciSelectionTextColor, own, 0, RGB(12, 12, 12), AllStyleElements, font},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StandInStyle style;
        style.HotText = c.hot;
        style.SelectedText = c.selected;
        EXPECT_EQ(StyledColor(c.index, c.stored, style, c.elements, font), c.expected);
    }
    StandInStyle style;
    EXPECT_EQ(StyledBackGroundColor(style, AllStyleElements, own), RGB(4, 4, 4));
    EXPECT_EQ(StyledBackGroundColor(style, seFont, own), own);
    EXPECT_EQ(StyledNodeFontColor(style, AllStyleElements, own), font);
    EXPECT_EQ(StyledNodeFontColor(style, seClient, own), own);
    EXPECT_EQ(StyledHeaderFontColor(style, AllStyleElements, own), RGB(7, 7, 7));
    style.ReportsText = false;
    EXPECT_EQ(StyledColor(ciHotColor, own, style, AllStyleElements, font), font);
    EXPECT_EQ(StyledNodeFontColor(style, AllStyleElements, own), own);
}

// The platform has no custom style: a tree given a style query still paints its stored colours.
TEST_F(TreePaint, WithoutACustomStyleTheStoredColoursAnswer)
{
    StandInStyle style;
    Tree->SetStyleQuery(&style);
    Tree->RefreshVclStyleFlag();
    EXPECT_FALSE(Tree->VclStyleEnabled());
    EXPECT_EQ(Tree->Colors().TreeLineColor(), clBlack);
    EXPECT_EQ(Tree->Colors().BackGroundColor(), clWhite);
    Tree->SetStyleQuery(nullptr);
}

// The colour messages: system colours reload the check strips in the new colours, a theme
// change leaves the classic look and recreates the window after 500 ms.
class TreeColourMessages : public plat::testing::UiTest {};

TEST_F(TreeColourMessages, SystemColoursReloadTheStripsAndThemeChangesRecreateTheWindow)
{
    PrepareSharedResources();
    class Counting : public TBaseLazyTree {
    public:
        using TBaseLazyTree::TBaseLazyTree;
        int Created = 0;

    protected:
        void CreateWnd() override
        {
            TBaseLazyTree::CreateWnd();
            ++Created;
        }
    } tree(nullptr);
    auto cellPixels = [] {
        TBitmap b(16, 16);
        b.Canvas()->Brush()->SetColor(clFuchsia);
        b.Canvas()->FillRect({0, 0, 16, 16});
        CheckLightList->Draw(b.Canvas(), 0, 0, 1);
        std::set<TColor> colours;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) colours.insert(b.Canvas()->Pixels(x, y));
        return colours;
    };
    const std::set<TColor> before = cellPixels();
    SetSysColor(5, RGB(10, 200, 30));  // the window colour
    tree.Perform(CM_SYSCOLORCHANGE, 0, 0);
    const std::set<TColor> after = cellPixels();
    RestoreSysColors();
    tree.Perform(CM_SYSCOLORCHANGE, 0, 0);
    EXPECT_NE(before, after);
    EXPECT_TRUE(after.count(RGB(10, 200, 30))) << "the unchecked box is filled with the window colour";
    EXPECT_EQ(cellPixels(), before);

    const int created = tree.Created;
    tree.Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(tree.HasState(tsUseThemes));
    plat::testing::AdvanceClock(499);
    EXPECT_EQ(tree.Created, created);
    plat::testing::AdvanceClock(2);
    EXPECT_EQ(tree.Created, created + 1);
    plat::testing::AdvanceClock(1000);
    EXPECT_EQ(tree.Created, created + 1);  // the timer ran once
}

// ---- printing

TEST(TreePrintLayout, PagesCoverTheTreeExactly)
{
    struct Case {
        const char* what;
        int w, h, pw, ph;
        double scale;
        TLTPrintLayout expected;
    };
    const Case cases[] = {
        {"exactly two pages wide, one high", 200, 100, 100, 100, 1.0, {100, 100, 2, 1}},
        {"one pixel more needs another page", 201, 101, 100, 100, 1.0, {100, 100, 3, 2}},
        {"an empty tree still prints a page", 0, 0, 100, 100, 1.0, {100, 100, 1, 1}},
        {"scale shrinks the share", 300, 300, 300, 300, 3.0, {100, 100, 3, 3}},
        {"halves round to even", 10, 10, 5, 7, 2.0, {2, 4, 5, 3}},
        {"a share rounding to 0 is 1", 3, 2, 1, 1, 10.0, {1, 1, 3, 2}},
        {"no usable scale counts as 1", 50, 50, 100, 100, 0.0, {100, 100, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TLTPrintLayout L = ComputePrintLayout(c.w, c.h, c.pw, c.ph, c.scale);
        EXPECT_EQ(L.PageWidth, c.expected.PageWidth);
        EXPECT_EQ(L.PageHeight, c.expected.PageHeight);
        EXPECT_EQ(L.Columns, c.expected.Columns);
        EXPECT_EQ(L.Rows, c.expected.Rows);
    }
}

class TreePrint : public TreePaint {
protected:
    void SetUp() override
    {
        TreePaint::SetUp();
        dir = tmp.native();
    }
    static int PdfPages(const fs::path& p)
    {
        if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) return -1;
        FILE* f = popen(("pdfinfo '" + p.string() + "' 2>/dev/null").c_str(), "r");
        if (!f) return -1;
        char line[256];
        int pages = -2;
        while (fgets(line, sizeof line, f))
            if (std::sscanf(line, "Pages: %d", &pages) == 1) break;
        pclose(f);
        return pages;
    }
    testsupport::TempDir tmp;
    fs::path dir;
};

TEST_F(TreePrint, TwoPagesWideAndOneHighPrintsTwoPages)
{
    TPrinter printer;
    printer.SetPixelsPerInch(96);   // printer text as high as the screen's: scale 1
    printer.SetPaperSize(50.8, 25.4);   // 192 x 96 pixels
    const fs::path out = dir / "tree.pdf";
    const std::string name = out.string();
    printer.SetFileName(String(name.begin(), name.end()));
    ThreeLevels();
    Tree->SetWidth(100);
    Tree->SetHeight(80);  // shorter than its rows: they give the tree's height
    // Five rows of 18 and one more of 6 make 96 pixels.
    PLazyNode extra = Tree->AddChild(nullptr);
    Tree->SetNodeHeight(extra, 6);
    // Set after the changes above, whose range updates measure the content again.
    Tree->SetRangeX(2 * 192);
    ASSERT_EQ(Tree->GetTreeRect().Height(), 96);
    Tree->SetSelected(A, true);
    Tree->SetFocusedNode(A);
    const TColor kept = Tree->Color();
    Tree->Print(&printer, false);
    EXPECT_EQ(printer.PagesPrinted(), 2);
    const int info = PdfPages(out);
    if (info != -1) {
        EXPECT_EQ(info, 2);
    }
    EXPECT_EQ(Tree->Color(), kept);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    if (const char* d = std::getenv("TEST_PICTURES"))
        fs::copy_file(out, fs::path(d) / "printed-tree.pdf", fs::copy_options::overwrite_existing);
}

// The header prints above the rows only when asked for and visible: its height adds a row of pages.
TEST_F(TreePrint, VisibleHeaderPrintsAboveTheRows)
{
    struct Case {
        const char* What;
        bool Visible, PrintHeader;
        int Pages;
    };
    const Case cases[] = {
        {"visible and asked for", true, true, 4},
        {"visible, not asked for", true, false, 2},
        {"asked for, invisible: no header space", false, true, 2},
    };
    ThreeLevels();
    Tree->SetWidth(100);
    Tree->SetHeight(80);  // shorter than its rows: they give the tree's height
    PLazyNode extra = Tree->AddChild(nullptr);
    Tree->SetNodeHeight(extra, 6);
    TLTHeader& header = Tree->Header();
    header.Columns().Add()->SetWidth(2 * 192);
    header.SetHeight(20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const TLTHeaderOptions o = header.Options() & ~HdrBit(hoVisible);
        header.SetOptions(c.Visible ? o | HdrBit(hoVisible) : o);
        Tree->SetRangeX(2 * 192);
        ASSERT_EQ(Tree->GetTreeRect().Height(), 96);
        TPrinter printer;
        printer.SetPixelsPerInch(96);
        printer.SetPaperSize(50.8, 25.4);  // 192 x 96 pixels
        const fs::path out = dir / "header.pdf";
        const std::string name = out.string();
        printer.SetFileName(String(name.begin(), name.end()));
        Tree->Print(&printer, c.PrintHeader);
        EXPECT_EQ(printer.PagesPrinted(), c.Pages);
        EXPECT_EQ(Tree->UpdateCount(), 0u);
    }
}

// A tree shorter than its window covers the whole client area: the pages print the empty
// window below the rows too.
TEST_F(TreePrint, ShortTreePrintsItsWholeWindow)
{
    struct Case {
        int Height, Expected, Pages;
    };
    ThreeLevels();  // five rows: 90 pixels
    Tree->SetWidth(150);
    Tree->SetBorderStyle(plat::bsNone);  // the client area is the whole control
    for (const Case& c : {Case{60, 90, 1}, Case{250, 250, 3}, Case{96, 96, 1}}) {
        SCOPED_TRACE(c.Height);
        Tree->SetHeight(c.Height);
        const TRect r = Tree->GetTreeRect();
        EXPECT_EQ(r.Height(), c.Expected);
        EXPECT_EQ(r.Width(), std::max(Tree->ClientWidth(), Tree->RangeX()));
        TPrinter printer;
        printer.SetPixelsPerInch(96);
        printer.SetPaperSize(50.8, 25.4);  // 192 x 96 pixels
        const fs::path out = dir / "short.pdf";
        const std::string name = out.string();
        printer.SetFileName(String(name.begin(), name.end()));
        Tree->Print(&printer, false);
        EXPECT_EQ(printer.PagesPrinted(), c.Pages);
    }
}

TEST_F(TreePrint, NilPrinterDoesNothing)
{
    ThreeLevels();
    Tree->Print(nullptr, true);
    EXPECT_EQ(Tree->UpdateCount(), 0u);
    EXPECT_EQ(Tree->Color(), clWhite);
}

long PeakKilobytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

TEST_F(TreePrint, HundredThousandRowsPrintWithMemoryOfAPage)
{
    TPrinter printer;
    printer.SetPixelsPerInch(48);
    printer.SetPaperSize(100, 2000);
    const fs::path out = dir / "long.pdf";
    const std::string name = out.string();
    printer.SetFileName(String(name.begin(), name.end()));
    Tree->SetRootNodeCount(100000);
    Tree->SetWidth(300);
    ASSERT_EQ(Tree->GetTreeRect().Height(), 1800000);
    const long before = PeakKilobytes();
    Tree->Print(&printer, false);
    const long grown = PeakKilobytes() - before;
    EXPECT_GT(printer.PagesPrinted(), 1);
    // One tree image would take 300 x 1,800,000 x 4 bytes (2 GB); pages take a few MB.
    EXPECT_LT(grown, 256 * 1024) << "peak grew by " << grown << " kB";
}

} // namespace
} // namespace vtree

namespace vtree {
namespace {

// Pictures to look at; they are written only when TEST_PICTURES names a folder.
class TreeLooks : public TreePaint {
protected:
    void SetUp() override
    {
        if (!std::getenv("TEST_PICTURES"))
            GTEST_SKIP() << "pictures are rendered on request (TEST_PICTURES)";
        TreePaint::SetUp();
        Tree->Colors().SetColor(ciTreeLineColor, clBtnShadow);
        Tree->Colors().SetColor(ciGridLineColor, clBtnFace);
        Tree->RebuildPaintResources(true, true);
        Tree->Content = [this](TLTPaintInfo& P) {
            TCanvas* c = P.Canvas;
            c->SetBkMode(TRANSPARENT);
            // Selected text follows the focus rule, as the string tree's does.
            const bool focusedLook = Tree->Focused() || In(Tree->TreeOptions().PaintOptions(), toPopupMode);
            c->Font()->SetColor(P.Node->Has(vsSelected) && HasPaint(P.PaintOptions, poDrawSelection) && focusedLook
                                    ? clHighlightText
                                    : clWindowText);
            const String text = u"Node " + plat::IntToStr(static_cast<int>(P.Node->Index));
            c->TextOut(P.ContentRect.Left + 2, P.CellRect.Top + 2, text);
        };
    }
    // Stacks the tree's picture under a caption into Sheet at row Y; returns the next Y.
    int Panel(TBitmap& Sheet, int Y, const String& Caption, int Height, TLTInternalPaintOptions Options)
    {
        Sheet.Canvas()->SetBkMode(TRANSPARENT);
        Sheet.Canvas()->Font()->SetColor(clNavy);
        Sheet.Canvas()->TextOut(4, Y + 2, Caption);
        Y += 18;
        auto t = Target(Sheet.Width() - 8, Height, clWhite);
        Tree->PaintTree(t->Canvas(), {0, 0, t->Width(), Height}, {0, 0}, Options);
        BitBlt(Sheet.Canvas(), 4, Y, t->Width(), Height, t->Canvas(), 0, 0, SRCCOPY);
        Sheet.Canvas()->Brush()->SetColor(clSilver);
        Sheet.Canvas()->FrameRect({3, Y - 1, 5 + t->Width(), Y + Height + 1});
        return Y + Height + 6;
    }
    std::unique_ptr<TBitmap> Sheet(int W, int H) { return Target(W, H, RGB(236, 236, 236)); }
    const TLTInternalPaintOptions kWindow =
        PaintSet({poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines});
};

TEST_F(TreeLooks, LinesAndButtons)
{
    ThreeLevels();
    Tree->AddChild(A2);
    Tree->SetExpanded(A2, false);
    auto sheet = Sheet(240, 1000);
    int y = 0;
    y = Panel(*sheet, y, u"dotted, rectangle buttons, root", 6 * 18, kWindow);
    Tree->SetLineStyle(lsSolid);
    Tree->SetButtonStyle(bsTriangle);
    y = Panel(*sheet, y, u"solid, triangle buttons", 6 * 18, kWindow);
    SetPaint({}, {toShowRoot});
    Tree->SetLineStyle(lsDotted);
    Tree->SetButtonStyle(bsRectangle);
    y = Panel(*sheet, y, u"no root", 6 * 18, kWindow);
    SetPaint({toShowRoot, toShowHorzGridLines});
    Tree->SetLineMode(lmBands);
    y = Panel(*sheet, y, u"bands with grid lines", 6 * 18, kWindow);
    Tree->SetLineMode(lmNormal);
    SetPaint({}, {toShowHorzGridLines});
    Tree->SetButtonFillMode(fmShaded);
    Tree->SetHotNode(A, true);
    y = Panel(*sheet, y, u"shaded buttons, A hot", 6 * 18, kWindow);
    Tree->SetSelected(A, true);
    y = Panel(*sheet, y, u"A hot and selected", 6 * 18, kWindow);
    sheet->SetHeight(y);
    Render(*sheet, "lines-and-buttons.png");
}

TEST_F(TreeLooks, CheckControls)
{
    const TCheckType types[] = {ctCheckBox, ctTriStateCheckBox, ctRadioButton, ctButton};
    const TCheckState states[] = {csUncheckedNormal, csCheckedNormal, csMixedNormal, csUncheckedPressed,
                                  csCheckedDisabled, csMixedDisabled};
    TLTMiscOptions misc = Tree->TreeOptions().MiscOptions() | (TLTMiscOptions(1) << toCheckSupport);
    Tree->TreeOptions().SetMiscOptions(misc);
    Tree->SetCheckImageKind(ckLightCheck);
    for (TCheckType t : types)
        for (TCheckState s : states) {
            PLazyNode n = Tree->AddChild(nullptr);
            Tree->SetCheckType(n, t);
            n->CheckState = s;
        }
    PLazyNode hot = Tree->GetFirst();
    Tree->SetHotNode(hot, false);
    Tree->SetDisabled(Tree->GetNext(hot), true);
    auto sheet = Sheet(240, 24 * 18 + 30);
    int y = Panel(*sheet, 0, u"box, tri-state, radio, button x 6 states", 24 * 18, kWindow);
    sheet->SetHeight(y);
    Render(*sheet, "check-controls.png");
}

TEST_F(TreeLooks, ImagesSelectionAndRubberBand)
{
    TImageList images(nullptr);
    images.SetSize(16, 16);
    TBitmap strip(16 * 18, 16);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect({0, 0, strip.Width(), 16});
    for (int i = 0; i < 18; ++i) {
        strip.Canvas()->Brush()->SetColor(i == 3 || i == 16 ? clRed : RGB(40 + 12 * i, 120, 200 - 8 * i));
        if (i == 3 || i == 16)
            strip.Canvas()->Ellipse(i * 16 + 9, 9, i * 16 + 16, 16);
        else
            strip.Canvas()->Rectangle(i * 16 + 2, 2, i * 16 + 14, 14);
    }
    images.AddMasked(&strip, clFuchsia);
    images.Overlay(3, 2);   // overlay index 2 is image 3
    Tree->SetImages(&images);
    for (int i = 0; i < 8; ++i) Tree->AddChild(nullptr);
    std::vector<PLazyNode> n;
    for (PLazyNode p = Tree->GetFirst(); p; p = Tree->GetNextSibling(p)) n.push_back(p);
    Tree->OnGetImageIndex = [&](TBaseLazyTree*, PLazyNode N, TLTImageKind K, TColumnIndex, bool& Ghosted, int& I) {
        if (K == ikOverlay) {
            if (N == n[1]) I = 2;
            if (N == n[2]) I = 16;
            return;
        }
        if (K == ikNormal || K == ikSelected) I = static_cast<int>(N->Index) + 4;
        if (N == n[3]) Ghosted = true;
    };
    n[3]->Include(vsCutOrCopy);
    Tree->DoStateChange(TreeBit(tsCutPending));
    Tree->SetDisabled(n[4], true);
    Tree->SetSelected(n[5], true);
    Tree->SetSelected(n[6], true);
    Tree->SetFocusedNode(n[6]);
    Tree->SetDropTarget(n[7], dmOnNode);
    auto sheet = Sheet(240, 1400);
    int y = Panel(*sheet, 0, u"images: overlay 3, 16, cut, disabled", 8 * 18, kWindow);
    SetPaint({toPopupMode});
    y = Panel(*sheet, y, u"selection focused (popup mode)", 8 * 18, kWindow);
    SetPaint({toUseBlendedSelection});
    y = Panel(*sheet, y, u"blended selection", 8 * 18, kWindow);
    SetPaint({toShowHorzGridLines}, {toUseBlendedSelection});
    SetSelection({toFullRowSelect});
    y = Panel(*sheet, y, u"full row with grid lines", 8 * 18, kWindow);
    sheet->SetHeight(y);
    Render(*sheet, "images-and-selection.png");
}

TEST_F(TreeLooks, EmptyBackgroundsAndRightToLeft)
{
    auto sheet = Sheet(240, 600);
    Tree->SetEmptyListMessage(u"There is nothing to show here yet, the scan has found no device.");
    int y = Panel(*sheet, 0, u"empty with message", 60, kWindow);
    TBitmap picture(24, 24);
    for (int yy = 0; yy < 24; ++yy)
        for (int xx = 0; xx < 24; ++xx)
            picture.Canvas()->SetPixels(xx, yy, ((xx / 6) + (yy / 6)) % 2 ? RGB(170, 190, 255) : RGB(255, 220, 150));
    Tree->Background()->SetBitmap(&picture);
    SetPaint({toShowBackground});
    ThreeLevels();
    y = Panel(*sheet, y, u"tiled background", 6 * 18, kWindow);
    SetPaint({toStaticBackground});
    Tree->SetBackgroundOffset(0, 40);
    y = Panel(*sheet, y, u"static background at x 40", 6 * 18, kWindow);
    SetPaint({}, {toShowBackground, toStaticBackground});
    Tree->SetBiDiMode(bdRightToLeft);
    y = Panel(*sheet, y, u"right to left", 6 * 18, kWindow);
    sheet->SetHeight(y);
    Render(*sheet, "empty-background-rtl.png");
}

} // namespace
} // namespace vtree
