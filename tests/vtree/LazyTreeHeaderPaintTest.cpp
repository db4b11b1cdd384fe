// Header painting: the button layout, the pressed offset, the owner-draw modes, drop marks,
// frames by style, and the header following the window's paint and WM_PRINT.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ColumnInvariants.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/Messages.h"

namespace vtree::testing {
namespace {

using namespace plat;

class HeaderPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareSharedResources();
        Tree = std::make_unique<TBaseLazyTree>(nullptr);
        Tree->SetBounds(0, 0, 400, 120);
        Images.SetSize(16, 16);
        TBitmap glyph(16, 16);
        glyph.Canvas()->Brush()->SetColor(clRed);
        glyph.Canvas()->FillRect({0, 0, 16, 16});
        Images.Add(&glyph, nullptr);
        H().SetImages(&Images);
        H().SetHeight(24);
        H().SetBackground(clWhite);
    }
    TLTHeader& H() { return Tree->Header(); }
    TLazyTreeColumns& C() { return H().Columns(); }
    TLazyTreeColumn* Add(int Width, const char16_t* Text)
    {
        TLazyTreeColumn* c = C().Add();
        c->SetWidth(Width);
        c->SetText(Text);
        EXPECT_COLUMNS_OK(H());
        return c;
    }
    std::unique_ptr<TBitmap> Paint(int Width = 400)
    {
        auto b = std::make_unique<TBitmap>(Width, H().Height());
        b->Canvas()->Brush()->SetColor(clBlack);
        b->Canvas()->FillRect({0, 0, Width, H().Height()});
        C().PaintHeader(b->Canvas(), TRect{0, 0, Width, H().Height()}, TPoint{0, 0}, 0);
        return b;
    }
    // The paint infos the advanced mode reports, asking for Elements on every button.
    std::vector<THeaderPaintInfo> Advanced(THeaderPaintElements Elements, std::vector<THeaderPaintElements>* Calls = nullptr)
    {
        std::vector<THeaderPaintInfo> infos;
        H().SetOptions(H().Options() | HdrBit(hoOwnerDraw));
        Tree->OnHeaderDrawQueryElements = [=](TLTHeader*, THeaderPaintInfo& Info, THeaderPaintElements& E) {
            if (Info.Column) E = Elements;
        };
        Tree->OnAdvancedHeaderDraw = [&](TLTHeader*, THeaderPaintInfo& Info, THeaderPaintElements E) {
            infos.push_back(Info);
            if (Calls) Calls->push_back(E);
        };
        Paint();
        Tree->OnHeaderDrawQueryElements = nullptr;
        Tree->OnAdvancedHeaderDraw = nullptr;
        return infos;
    }
    TImageList Images{nullptr};
    std::unique_ptr<TBaseLazyTree> Tree;
};

void Render(TBitmap& B, const char* Name)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) return;
    const std::string p = std::string(dir) + "/" + Name;
    B.SaveToFile(String(p.begin(), p.end()));
}

TEST_F(HeaderPaint, LayoutPlacesGlyphTextAndSortGlyph)
{
    Add(100, u"Name");
    Add(100, u"Size");
    H().MainColumn = 0;
    TBitmap b(10, 10);
    b.Canvas()->SetFont(&H().Font());
    const TRect client{102, 2, 198, 22};  // the second button less 2 pixels all round
    struct Case {
        const char* What;
        TColumnIndex Column;
        bool CheckBox;
        bool Glyph, Sort;
        TAlignment Alignment;
        TBiDiMode BiDi;
        int GlyphX, TextX, SortX;  // relative to client.Left; -1: not checked
    };
    const int textW = b.Canvas()->TextWidth(u"Size") + 2;
    const Case cases[] = {
        {"glyph left of the text, not the main column", 1, false, true, false, taLeftJustify, bdLeftToRight, 2, 23, -1},
        {"main column without a check box keeps the margin", 0, false, true, false, taLeftJustify, bdLeftToRight, 4, 23, -1},
        {"text then sort glyph after the spacing", 1, false, false, true, taLeftJustify, bdLeftToRight, -1, 4, 4 + textW + 3},
        {"right-aligned right-to-left caption goes left, sort glyph at the margin", 1, false, false, true,
         taRightJustify, bdRightToLeft, -1, 4 + 16 + 3, 4},
        {"right-aligned, sort glyph at the right margin", 1, false, false, true, taRightJustify, bdLeftToRight, -1,
         96 - 4 - 16 - 3 - textW, 96 - 4 - 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        TLazyTreeColumn* col = C()[c.Column];
        col->SetText(u"Size");
        col->SetAlignment(c.Alignment);
        col->SetBiDiMode(c.BiDi);
        TPoint glyph{}, sort{};
        TSize sortSize{};
        TRect text{};
        col->ComputeHeaderLayout(b.Canvas(), client, c.Glyph, c.Sort, glyph, sort, sortSize, text,
                                 DT_NOPREFIX | DT_LEFT);
        if (c.GlyphX >= 0) EXPECT_EQ(glyph.X, client.Left + c.GlyphX);
        EXPECT_EQ(text.Left, client.Left + c.TextX);
        if (c.SortX >= 0) {
            EXPECT_EQ(sort.X, client.Left + c.SortX);
            EXPECT_EQ(sortSize.cx, 16);
        }
        EXPECT_LE(text.Right, client.Right);
    }
}

TEST_F(HeaderPaint, PressedButtonMovesItsContentOnePixel)
{
    Add(100, u"Name");
    Add(100, u"Size");
    H().SetOptions(H().Options() | HdrBit(hoShowImages) | HdrBit(hoShowSortGlyphs));
    C()[1]->SetImageIndex(0);
    H().SetSortColumn(1);
    const std::vector<THeaderPaintInfo> up = Advanced(HpeBit(hpeText));
    C().SetPaintIndexes(NoColumn, 1, false);
    const std::vector<THeaderPaintInfo> down = Advanced(HpeBit(hpeText));
    ASSERT_EQ(up.size(), 2u);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_FALSE(up[1].IsDownIndex);
    EXPECT_TRUE(down[1].IsDownIndex);
    EXPECT_EQ(down[1].TextRectangle.Left, up[1].TextRectangle.Left + 1);
    EXPECT_EQ(down[1].TextRectangle.Top, up[1].TextRectangle.Top + 1);
    EXPECT_EQ(down[1].GlyphPos, (TPoint{up[1].GlyphPos.X + 1, up[1].GlyphPos.Y + 1}));
    EXPECT_EQ(down[1].SortGlyphPos, (TPoint{up[1].SortGlyphPos.X + 1, up[1].SortGlyphPos.Y + 1}));
    EXPECT_EQ(down[0].TextRectangle, up[0].TextRectangle);  // the other button stays
    // A press on the column's check box does not press the button.
    C().SetPaintIndexes(NoColumn, 1, true);
    EXPECT_FALSE(Advanced(HpeBit(hpeText))[1].IsDownIndex);
}

TEST_F(HeaderPaint, AdvancedModeDrawsOnlyTheRequestedElements)
{
    Add(100, u"Name");
    Add(100, u"Size");
    Add(100, u"Date");
    std::vector<THeaderPaintElements> calls;
    Advanced(HpeBit(hpeText), &calls);
    EXPECT_EQ(calls, (std::vector<THeaderPaintElements>(3, HpeBit(hpeText))));
    // Without hpeText the header draws the caption itself: the button shows dark text pixels.
    H().SetOptions(H().Options() & ~HdrBit(hoOwnerDraw));
    auto drawn = Paint();
    H().SetOptions(H().Options() | HdrBit(hoOwnerDraw));
    Tree->OnHeaderDrawQueryElements = [](TLTHeader*, THeaderPaintInfo& Info, THeaderPaintElements& E) {
        if (Info.Column) E = HpeBit(hpeText);
    };
    Tree->OnAdvancedHeaderDraw = [](TLTHeader*, THeaderPaintInfo&, THeaderPaintElements) {};
    auto left = Paint();
    auto dark = [](TBitmap& B) {
        int n = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 6; x < 90; ++x)
                if (B.Canvas()->Pixels(x, y) == clBlack) ++n;
        return n;
    };
    EXPECT_GT(dark(*drawn), 0);
    EXPECT_EQ(dark(*left), 0);
    // Asking for the strip's background replaces it.
    int strip = 0;
    Tree->OnHeaderDrawQueryElements = [](TLTHeader*, THeaderPaintInfo& Info, THeaderPaintElements& E) {
        if (!Info.Column) E = HpeBit(hpeBackground);
    };
    Tree->OnAdvancedHeaderDraw = [&](TLTHeader*, THeaderPaintInfo& Info, THeaderPaintElements E) {
        if (!Info.Column && E == HpeBit(hpeBackground)) ++strip;
    };
    auto b = Paint();
    EXPECT_EQ(strip, 1);
    EXPECT_EQ(b->Canvas()->Pixels(350, 10), clBlack);  // right of the last button: not filled
}

TEST_F(HeaderPaint, PlainOwnerDrawLeavesTextColumnsToTheHeader)
{
    Add(100, u"Name");
    TLazyTreeColumn* drawn = Add(100, u"Size");
    drawn->SetStyle(vsOwnerDraw);
    H().SetOptions(H().Options() | HdrBit(hoOwnerDraw));
    std::vector<std::pair<TLazyTreeColumn*, TRect>> calls;
    Tree->OnHeaderDraw = [&](TLTHeader*, TCanvas* Canvas, TLazyTreeColumn* Column, const TRect& R, bool, bool,
                             TLTDropMarkMode) {
        calls.push_back({Column, R});
        Canvas->Brush()->SetColor(clLime);
        Canvas->FillRect(R);
    };
    auto b = Paint();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].first, drawn);
    EXPECT_EQ(calls[0].second, (TRect{100, 0, 200, 24}));
    EXPECT_EQ(b->Canvas()->Pixels(150, 12), clLime);
    EXPECT_NE(b->Canvas()->Pixels(50, 12), clLime);
    EXPECT_EQ(b->Canvas()->Pixels(50, 12), ColorToRGB(clBtnFace));  // the header's own frame filled the middle
    EXPECT_EQ(b->Canvas()->Pixels(300, 12), clWhite);  // the strip's background
}

TEST_F(HeaderPaint, DropMarkOnTheRightHalfSitsAtTheInnerRightEdge)
{
    Add(100, u"Name");
    Add(120, u"Size");
    C().SetDragIndexes(0, 1, false);
    auto infos = Advanced(HpeBit(hpeText));
    ASSERT_EQ(infos.size(), 2u);
    EXPECT_EQ(infos[0].DropMark, dmmNone);
    EXPECT_EQ(infos[1].DropMark, dmmRight);
    C().SetDragIndexes(0, 1, true);
    EXPECT_EQ(Advanced(HpeBit(hpeText))[1].DropMark, dmmLeft);
    C().SetDragIndexes(1, 1, true);
    EXPECT_EQ(Advanced(HpeBit(hpeText))[1].DropMark, dmmNone) << "the dragged column is no target";
    // The mark is utility cell 1 at the inner right edge less 16: compare with the cell drawn there.
    C().SetDragIndexes(0, 1, false);
    H().SetOptions(H().Options() & ~HdrBit(hoOwnerDraw));
    auto b = Paint();
    TBitmap cell(16, 16);
    cell.Canvas()->Brush()->SetColor(clBtnFace);
    cell.Canvas()->FillRect({0, 0, 16, 16});
    UtilitiesList->Draw(cell.Canvas(), 0, 0, 1);
    const int left = 100 + 120 - 2 - 16;
    const int top = (2 + 22 - 16) / 2;
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (cell.Canvas()->Pixels(x, y) != b->Canvas()->Pixels(left + x, top + y)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST_F(HeaderPaint, FramesFollowTheStyleAndTheRightBorderRule)
{
    Add(100, u"Name");
    Add(100, u"Size");
    struct Case {
        const char* What;
        TLTHeaderStyle Style;
        bool Pressed, Hot, AutoResizeInBevel;
        unsigned Edge, Flags;  // the frame expected on button 1
    };
    const Case cases[] = {
        {"thick buttons", hsThickButtons, false, false, false, EDGE_RAISED, 0x380B | BF_RIGHT},
        {"thick button pressed", hsThickButtons, true, false, false, EDGE_RAISED, 0x780F},
        {"flat buttons", hsFlatButtons, false, false, false, BDR_RAISEDINNER, 0x280B | BF_RIGHT},
        {"flat button pressed", hsFlatButtons, true, false, false, BDR_SUNKENOUTER, 0x280F},
        {"flat, auto-resize in a bevel: the last button has no right edge", hsFlatButtons, false, false, true,
         BDR_RAISEDINNER, 0x280B},
        {"thick, auto-resize in a bevel: still the right edge", hsThickButtons, false, false, true, EDGE_RAISED,
         0x380B | BF_RIGHT},
        {"plates", hsPlates, false, false, false, BDR_RAISEDINNER, 0x380F | BF_RIGHT},
        {"hot plate", hsPlates, false, true, false, BDR_RAISEDINNER, 0x280B | BF_RIGHT},
        {"hot plate in a bevel", hsPlates, false, true, true, BDR_RAISEDINNER, 0x280B},
        {"plate pressed", hsPlates, true, false, false, BDR_SUNKENOUTER, 0x280F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        H().SetStyle(c.Style);
        const TLTHeaderOptions base = H().Options() & ~(HdrBit(hoAutoResize) | HdrBit(hoHotTrack));
        H().SetOptions(base | (c.AutoResizeInBevel ? HdrBit(hoAutoResize) : 0) | (c.Hot ? HdrBit(hoHotTrack) : 0));
        Tree->SetBevelKind(c.AutoResizeInBevel ? bkFlat : bkNone);
        C().SetPaintIndexes(c.Hot ? 1 : NoColumn, c.Pressed ? 1 : NoColumn, false);
        auto b = Paint();
        int l, r;
        C()[1]->GetAbsoluteBounds(l, r);
        TBitmap ref(400, 24);
        ref.Canvas()->Brush()->SetColor(clBtnFace);
        TRect frame{l, 0, std::min(r, 400), 24};
        DrawEdge(ref.Canvas(), frame, c.Edge, c.Flags);
        int differing = 0;
        for (int x = l; x < std::min(r, 400); ++x)
            for (int y : {0, 1, 22, 23})
                if (ref.Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y)) ++differing;
        for (int y = 2; y < 22; ++y)
            for (int x : {l, l + 1, std::min(r, 400) - 2, std::min(r, 400) - 1})
                if (ref.Canvas()->Pixels(x, y) != b->Canvas()->Pixels(x, y)) ++differing;
        EXPECT_EQ(differing, 0);
        if (r <= 300) EXPECT_EQ(b->Canvas()->Pixels(300, 12), clWhite);  // the strip right of the buttons
    }
}

TEST_F(HeaderPaint, FixedColumnsStayWhenTheHeaderScrolls)
{
    TLazyTreeColumn* fixed = Add(80, u"Fixed");
    fixed->SetOptions(fixed->Options() | ColBit(coFixed));
    Add(300, u"Scrolled");
    auto paint = [&](int HOffset) {
        auto b = std::make_unique<TBitmap>(200, 24);
        C().PaintHeader(b->Canvas(), TRect{0, 0, 200, 24}, HOffset);
        return b;
    };
    auto still = paint(0);
    auto moved = paint(-100);
    int fixedDiffers = 0, scrolledDiffers = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x)
            if (still->Canvas()->Pixels(x, y) != moved->Canvas()->Pixels(x, y)) ++(x < 80 ? fixedDiffers : scrolledDiffers);
    EXPECT_EQ(fixedDiffers, 0);
    EXPECT_GT(scrolledDiffers, 0);
    // Scrolled by 100, the second button's left edge lies left of the fixed area, hidden under it.
    EXPECT_EQ(still->Canvas()->Pixels(80, 12), ColorToRGB(clBtnHighlight));
    EXPECT_NE(moved->Canvas()->Pixels(80, 12), ColorToRGB(clBtnHighlight));
}

TEST_F(HeaderPaint, WindowPrintIncludesTheHeader)
{
    Add(150, u"Name");
    Add(150, u"Size");
    H().SetOptions(H().Options() | HdrBit(hoVisible));
    Tree->HandleNeeded();
    TBitmap b(400, 120);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect({0, 0, 400, 120});
    Tree->Perform(WM_PRINT, reinterpret_cast<WPARAM>(b.Canvas()), 0);
    const TRect r = H().HeaderRect();
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_EQ(b.Canvas()->Pixels(r.Left + 50, r.Top + 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(b.Canvas()->Pixels(r.Left + 320, r.Top + 12), clWhite);
    Render(b, "header-print.png");
}

// Pictures to look at; written only when TEST_PICTURES names a folder.
TEST_F(HeaderPaint, Pictures)
{
    if (!std::getenv("TEST_PICTURES")) GTEST_SKIP() << "pictures only on request";
    Add(120, u"Name");
    Add(90, u"A caption far too long for its button");
    Add(100, u"Wrapped caption over lines");
    Add(90, u"Checked");
    C()[2]->SetOptions(C()[2]->Options() | ColBit(coWrapCaption));
    C()[0]->SetImageIndex(0);
    C()[3]->SetCheckBox(true);
    C()[3]->SetCheckState(csCheckedNormal);
    H().SetHeight(40);
    H().SetOptions(H().Options() | HdrBit(hoShowImages) | HdrBit(hoShowSortGlyphs) | HdrBit(hoHotTrack));
    const TLTHeaderStyle styles[] = {hsThickButtons, hsFlatButtons, hsPlates};
    TBitmap all(420, 40 * 3 * 2);
    for (int s = 0; s < 3; ++s)
        for (int variant = 0; variant < 2; ++variant) {
            H().SetStyle(styles[s]);
            H().SetSortColumn(variant == 0 ? 0 : 1);
            H().SetSortDirection(variant == 0 ? sdAscending : sdDescending);
            C().SetPaintIndexes(variant == 0 ? 1 : 0, variant == 0 ? 0 : 2, false);
            C().SetDragIndexes(variant == 1 ? 0 : NoColumn, variant == 1 ? 2 : NoColumn, false);
            C()[0]->SetLayout(static_cast<TLTHeaderColumnLayout>((2 * s + variant) % 4));
            auto b = Paint(420);
            all.Canvas()->Draw(0, (2 * s + variant) * 40, b.get());
        }
    Render(all, "header-styles.png");
}

} // namespace
} // namespace vtree::testing
