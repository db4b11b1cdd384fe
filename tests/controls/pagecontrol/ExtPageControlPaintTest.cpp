// Painting of TExtPageControl: the gradient and transparent-copy routines on bare bitmaps,
// pixel probes of the strip, the page frame, the corners and the close box on offscreen
// renders, and a render of every tab position and style written to PNG for inspection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtPageControl.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/Testing.h"

using namespace controls;
using namespace plat;
namespace pt = plat::testing;

namespace {

constexpr TColor Green = 0x00FF00;
constexpr TColor SkyBlue = 0xF0CAA6;

TColor At(TBitmap& b, int x, int y) { return ColorToRGB(b.Canvas()->Pixels(x, y)); }

TEST(ExtPageControlDrawing, GradientBands)
{
    struct Probe {
        int y;
        TColor colour;
    };
    struct Case {
        const char* what;
        TColor from, to;
        int steps;
        TRect r;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"no steps: one band of the start colour one pixel past the rectangle", clRed, clBlue, 0, Rect(0, 0, 8, 10),
         {{0, clRed}, {9, clRed}, {10, clRed}, {11, Green}}},
        {"16 steps over 32 pixels: two-pixel bands, the last from y = 30", clBlack, clWhite, 16, Rect(0, 0, 8, 32),
         {{0, RGB(0, 0, 0)}, {1, RGB(0, 0, 0)}, {2, RGB(16, 16, 16)}, {3, RGB(16, 16, 16)}, {29, RGB(223, 223, 223)},
          {30, RGB(239, 239, 239)}, {32, RGB(239, 239, 239)}, {33, Green}}},
        {"system colours are resolved", clBtnFace, clBtnFace, 4, Rect(0, 0, 8, 8), {{4, ColorToRGB(clBtnFace)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TBitmap b(10, 40);
        b.Canvas()->Brush()->SetColor(Green);
        b.Canvas()->FillRect(Rect(0, 0, 10, 40));
        TExtPageControl::DrawTabGradient(b.Canvas(), c.from, c.to, c.steps, c.r, false);
        for (const Probe& p : c.probes) EXPECT_EQ(At(b, 3, p.y), p.colour) << "y " << p.y;
    }
    // Horizontal runs left to right.
    TBitmap h(40, 4);
    TExtPageControl::DrawTabGradient(h.Canvas(), clBlack, clWhite, 16, Rect(0, 0, 32, 4), true);
    EXPECT_EQ(At(h, 0, 1), clBlack);
    EXPECT_EQ(At(h, 31, 1), RGB(239, 239, 239));
}

TEST(ExtPageControlDrawing, TransparentCopiesLeaveTheKeyColourOut)
{
    constexpr TColor Key = 0xFF00FF;
    TBitmap src(4, 3);
    TCanvas* s = src.Canvas();
    s->Brush()->SetColor(Key);
    s->FillRect(Rect(0, 0, 4, 3));
    s->SetPixels(1, 0, clRed);
    s->SetPixels(2, 1, 0xFE00FF);  // one step off the key: drawn
    s->SetPixels(3, 2, clBlack);

    TBitmap dest(10, 10);
    dest.Canvas()->Brush()->SetColor(clBlue);
    dest.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TExtPageControl::DrawTransparentBitmap(dest.Canvas(), &src, 5, 5, 4, 3, 0, 0, Key);
    EXPECT_EQ(At(dest, 5, 5), clBlue);
    EXPECT_EQ(At(dest, 6, 5), clRed);
    EXPECT_EQ(At(dest, 7, 6), 0xFE00FF);
    EXPECT_EQ(At(dest, 8, 7), clBlack);
    EXPECT_EQ(At(dest, 8, 6), clBlue);
    EXPECT_EQ(At(dest, 9, 9), clBlue);
    EXPECT_EQ(At(src, 1, 0), clRed) << "the source is left as it was";

    // Stretched: every source pixel becomes a 2 x 2 block.
    TBitmap big(10, 10);
    big.Canvas()->Brush()->SetColor(clBlue);
    big.Canvas()->FillRect(Rect(0, 0, 10, 10));
    TExtPageControl::StretchTransparentBitmap(big.Canvas(), &src, 0, 0, 8, 6, 0, 0, 4, 3, Key);
    EXPECT_EQ(At(big, 2, 0), clRed);
    EXPECT_EQ(At(big, 3, 1), clRed);
    EXPECT_EQ(At(big, 0, 0), clBlue);
    EXPECT_EQ(At(big, 7, 5), clBlack);
}

TEST(ExtPageControlDrawing, StretchedBitmapKeepsItsEnds)
{
    // 4 x 6 picture: top half red, bottom half black, left-bottom pixel is the key.
    TBitmap pic(4, 6);
    TCanvas* p = pic.Canvas();
    p->Brush()->SetColor(clRed);
    p->FillRect(Rect(0, 0, 4, 3));
    p->Brush()->SetColor(clBlack);
    p->FillRect(Rect(0, 3, 4, 6));
    p->SetPixels(0, 5, clLime);
    TBitmap dest(8, 20);
    dest.Canvas()->Brush()->SetColor(clBlue);
    dest.Canvas()->FillRect(Rect(0, 0, 8, 20));
    TExtPageControl::StretchBitmapVertically(&pic, dest.Canvas(), 1, 1, 16);
    EXPECT_EQ(At(dest, 2, 1), clRed);
    // Rows 2 (red) and 3 (black) stretched over the 10 middle rows.
    EXPECT_EQ(At(dest, 2, 5), clRed);
    EXPECT_EQ(At(dest, 2, 12), clBlack);
    EXPECT_EQ(At(dest, 2, 16), clBlack) << "bottom half at the far end";
    EXPECT_EQ(At(dest, 1, 16), clBlue) << "the key pixel is left out";
    EXPECT_EQ(At(dest, 2, 17), clBlue);
}

// ---- renders ---------------------------------------------------------------------------

class ExtPageControlPaintTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(340, 240);
        form->SetColor(0xE0E0E0);
        pc = new TExtPageControl(form.get());
        pc->SetParent(form.get());
        pc->SetBounds(10, 10, W, H);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }

    std::vector<TExtTabSheet*> AddPages(std::initializer_list<const char16_t*> captions)
    {
        std::vector<TExtTabSheet*> out;
        for (const char16_t* c : captions) {
            auto* s = new TExtTabSheet(form.get());
            s->SetCaption(c);
            s->SetExtPageControl(pc);
            out.push_back(s);
        }
        return out;
    }

    std::unique_ptr<TBitmap> Render()
    {
        pc->Invalidate();
        pt::ProcessEvents();
        return pt::Grab(pc);
    }

    static constexpr int W = 320;
    static constexpr int H = 220;
    std::unique_ptr<TForm> form;
    TExtPageControl* pc = nullptr;
};

TEST_F(ExtPageControlPaintTest, LeftStripWithoutVisibleTabsIsTwoPixelsWide)
{
    pc->SetTabPosition(tpLeft);
    pc->SetTabBackGroundColor(clYellow);
    pc->SetTabSheetBorderColor(clRed);
    auto p = AddPages({u"Hidden  "});
    p[0]->SetTabVisible(false);
    auto g = Render();
    EXPECT_EQ(pt::PixelOf(*g, 0, 50), clYellow);
    EXPECT_EQ(pt::PixelOf(*g, 1, 50), clYellow);
    EXPECT_EQ(pt::PixelOf(*g, 2, 50), clRed);
}

TEST_F(ExtPageControlPaintTest, PageFrameTopTabs)
{
    pc->SetTabSheetBorderColor(clRed);
    pc->SetTabBackGroundColor(clYellow);
    auto p = AddPages({u"First  ", u"Second  "});
    pc->SetActivePage(p[0]);
    const TColor base = ColorToRGB(pc->Color());
    int maxB = 0, maxR = 0;
    for (int i = 0; i < 2; ++i) {
        maxB = std::max(maxB, pc->TabRect(i).Bottom);
        maxR = std::max(maxR, pc->TabRect(i).Right);
    }
    struct Probe {
        const char* what;
        int x, y;
        TColor colour;
    };
    struct Case {
        const char* what;
        std::function<void()> setup;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"plain: frame, base lines, joined tab row",
         [] {},
         {{"strip", W - 10, 1, clYellow},
          {"tab side beyond the tabs", maxR + 10, maxB, clRed},
          {"joined under the tabs", 5, maxB, base},
          {"left line", 0, 100, clRed},
          {"bottom line", 100, H - 1, clRed},
          {"right line", W - 1, 100, clRed},
          {"inner base line at the bottom", 100, H - 2, base},
          {"inner base line at the right", W - 2, 100, base},
          {"square corner", 0, H - 1, clRed}}},
        {"split line keeps the frame line under the tabs",
         [this] { pc->SetTabSplitLine(true); },
         {{"under the tabs", 5, maxB, clRed}}},
        {"a coloured page paints the 3-pixel band instead of the base lines",
         [this, &p] { p[0]->SetColor(clLime); },
         {{"bottom band", 100, H - 2, clLime},
          {"bottom band inner", 100, H - 4, clLime},
          {"right band", W - 3, 100, clLime},
          {"top band", 100, maxB + 3, clLime},
          {"joined line takes the page colour", 5, maxB, clLime}}},
        {"rounded corners",
         [this] { pc->SetRoundEdges(true); },
         {{"corner cleared", 0, H - 1, base},
          {"corner step", 1, H - 3, clRed},
          {"corner step bottom", 2, H - 2, clRed},
          {"right corner cleared", W - 1, H - 1, base}}},
        {"sheet 3D: no frame drawn, the strip's own edge shows", [this] { pc->SetTabSheet3D(true); },
         {{"bottom", 100, H - 1, ColorToRGB(cl3DDkShadow)}, {"left", 0, 100, ColorToRGB(cl3DLight)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pc->SetTabSplitLine(false);
        pc->SetRoundEdges(false);
        pc->SetTabSheet3D(false);
        p[0]->SetColor(pc->Color());
        c.setup();
        auto g = Render();
        for (const Probe& pr : c.probes) EXPECT_EQ(pt::PixelOf(*g, pr.x, pr.y), pr.colour) << pr.what;
    }
}

TEST_F(ExtPageControlPaintTest, CloseBoxLooks)
{
    auto p = AddPages({u"One  ", u"Two  "});
    for (auto* s : p) s->SetShowClose(true);
    pc->SetActivePage(p[0]);
    pc->SetTabHoverColor(0xFFEEDD);
    const TRect r = pc->PageTabRect(0);
    const int x0 = r.Left, y0 = r.Top + pc->LowerActive();  // active tab, no margins
    struct Case {
        const char* what;
        std::function<void()> act;
        TColor fill, outline, cross;
    };
    const Case cases[] = {
        {"normal", [] {}, clWhite, clGray, clBlack},
        {"hot",
         [&] {
             pt::Move(pc, r.Left + 30, r.Top + 5);
             pt::ProcessEvents();
             pt::Move(pc, x0 + 8, r.Top + 8);
         },
         clWhite, clBlack, clGray},
        {"pressed", [&] { pt::Press(pc, x0 + 8, r.Top + 8); }, clSilver, clBlack, clBlack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        pt::ProcessEvents();
        c.act();
        auto g = pt::Grab(pc);
        EXPECT_EQ(pt::PixelOf(*g, x0 + 2, y0 + 6), c.outline) << "left edge";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 13, y0 + 6), c.outline) << "right edge";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 8, y0 + 2), c.outline) << "top edge";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 8, y0 + 12), c.outline) << "bottom edge";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 12, y0 + 3), c.fill) << "inside";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 5, y0 + 9), c.cross) << "cross";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 5, y0 + 5), c.cross) << "cross";
        EXPECT_EQ(pt::PixelOf(*g, x0 + 11, y0 + 10), c.fill) << "a cross line leaves its end point out";
    }
    pt::Release(pc, x0 + 40, r.Top + 8);
}

TEST_F(ExtPageControlPaintTest, CaptionAndCloseBoxOnLeftTabs)
{
    pc->SetTabPosition(tpLeft);
    pc->TabMargin()->SetTopMargin(10);
    auto p = AddPages({u"Nodes     ", u"Variables     "});
    p[1]->SetShowClose(true);
    pc->SetActivePage(p[0]);
    pc->SetActiveColor(SkyBlue);
    auto g = Render();
    const TRect r = pc->PageTabRect(1);
    // Box from 13 + TopMargin to 2 + TopMargin above the bottom, outline grey.
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 2, r.Bottom - 10 - 13 + 5), clGray);
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 8, r.Bottom - 10 - 13), clGray);
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 8, r.Bottom - 10 - 3), clGray);
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 8, r.Bottom - 10 - 2), ColorToRGB(p[1]->TabColor()));
    // The active tab takes the active colour.
    const TRect a = pc->PageTabRect(0);
    EXPECT_EQ(pt::PixelOf(*g, a.Left + 2, a.Top + 3), ColorToRGB(SkyBlue));
}

TEST_F(ExtPageControlPaintTest, DisabledTabTextIsGrey)
{
    auto p = AddPages({u"Alpha  ", u"WWWWWWW  "});
    p[1]->SetTextColor(clBlue);
    pc->SetActivePage(p[0]);
    auto countOf = [&](TColor col) {
        auto g = Render();
        const TRect r = pc->PageTabRect(1);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) n += pt::PixelOf(*g, x, y) == col;
        return n;
    };
    EXPECT_GT(countOf(clBlue), 10);
    p[1]->SetTabEnable(false);
    EXPECT_EQ(countOf(clBlue), 0);
    EXPECT_GT(countOf(0x808080), 10);
}

TEST_F(ExtPageControlPaintTest, DotNetSeparators)
{
    pc->SetTabStyle(tsDotNet);
    pc->SetActiveColor(clRed);
    pc->SetTabBorderColor(clBlue);
    auto p = AddPages({u"One  ", u"Two  ", u"Three  ", u"Four  "});
    pc->SetActivePage(p[2]);
    auto g = Render();
    auto separated = [&](int i) {
        const TRect r = pc->PageTabRect(i);
        return pt::PixelOf(*g, r.Right - 2, (r.Top + r.Bottom) / 2) == clRed;
    };
    EXPECT_TRUE(separated(0));
    EXPECT_FALSE(separated(1)) << "the tab before the active one";
    EXPECT_TRUE(separated(3)) << "the last tab of the row";
    const TRect r = pc->PageTabRect(0);
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 5, r.Bottom), clBlue) << "page-side edge of an inactive tab";
}

TEST_F(ExtPageControlPaintTest, EveryPositionAndStyleToPng)
{
    auto p = AddPages({u"Nodes     ", u"Variables     ", u"Closed  ", u"Off  "});
    p[2]->SetShowClose(true);
    p[3]->SetTabEnable(false);
    pc->SetMultiLine(true);
    pc->TabMargin()->SetTopMargin(4);
    pc->SetDefaultTabColor(0xEDF7F8);
    pc->SetTabBackGroundColor(0xEDF7F8);
    pc->SetActiveColor(SkyBlue);
    pc->SetRoundEdges(true);
    pc->SetTabHoverColor(0xC0FFC0);
    pc->SetTabHoverBorder(clBlue);
    const char* posNames[] = {"top", "bottom", "left", "right"};
    const char* styleNames[] = {"classic", "dotnet"};
    for (int s = 0; s < 2; ++s) {
        pc->SetTabStyle(static_cast<TTabStyle>(s));
        for (int pos = 0; pos < 4; ++pos) {
            SCOPED_TRACE(std::string(posNames[pos]) + " " + styleNames[s]);
            pc->SetTabPosition(static_cast<TTabPosition>(pos));
            pc->SetActivePage(p[pos % 2 == 0 ? 1 : 2]);
            const TRect hover = pc->PageTabRect(0);
            pt::Move(pc, (hover.Left + hover.Right) / 2, (hover.Top + hover.Bottom) / 2);
            auto g = Render();
            const std::string name = std::string("pagecontrol_") + posNames[pos] + "_" + styleNames[s] + ".png";
            pt::SaveGrab(pc, String(name.begin(), name.end()));
            // Each tab lies inside the control and the page fills the display area.
            for (int i = 0; i < pc->TabCount(); ++i) {
                const TRect t = pc->TabRect(i);
                EXPECT_GE(t.Left, 0);
                EXPECT_GE(t.Top, 0);
                EXPECT_LE(t.Right, W);
                EXPECT_LE(t.Bottom, H);
            }
            EXPECT_EQ(pc->ActivePage()->BoundsRect(), pc->DisplayRect());
            pt::MoveAway();
        }
    }
}

// The look of the network editor's page control: tabs on the left, tsDotNet, two pages.
TEST_F(ExtPageControlPaintTest, NetworkEditorLook)
{
    constexpr TColor Cream = 0xEDF7F8;
    pc->SetTabPosition(tpLeft);
    pc->SetTabStyle(tsDotNet);
    pc->SetMultiLine(true);
    pc->TabMargin()->SetTopMargin(10);
    pc->TabMargin()->SetRightMargin(20);
    pc->SetTabOverlap(0);
    pc->SetDefaultTabColor(Cream);
    pc->SetTabBackGroundColor(Cream);
    pc->SetActiveColor(SkyBlue);
    TFont f(*pc->Font());
    f.SetName(u"Verdana");
    f.SetHeight(-13);
    pc->SetFont(&f);
    pc->SetActiveFont(&f);
    auto p = AddPages({u"Nodes     ", u"Variables     "});
    for (auto* s : p) {
        s->SetColor(Cream);
        s->SetTabColor(Cream);
    }
    pc->SetActivePage(p[0]);
    auto g = Render();
    pt::SaveGrab(pc, u"pagecontrol_network_editor.png");
    const TRect a = pc->PageTabRect(0), b = pc->PageTabRect(1);
    EXPECT_EQ(pt::PixelOf(*g, a.Left + 3, a.Top + 3), SkyBlue) << "active tab";
    EXPECT_EQ(pt::PixelOf(*g, b.Left + 3, b.Top + 5), Cream) << "other tab";
    EXPECT_EQ(pt::PixelOf(*g, b.Right, (b.Top + b.Bottom) / 2), 0x808080) << "page-side edge of the other tab";
    // The page colour differs from the control's: the band along the frame is the page's.
    EXPECT_EQ(pt::PixelOf(*g, W - 3, 100), Cream);
}

std::unique_ptr<TBitmap> TabPicture(int w, int h, TColor fill)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(fill);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    // The bottom-left pixel names the transparent colour; the other corners use it too.
    for (TPoint p : {TPoint{0, h - 1}, TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{w - 1, h - 1}})
        b->Canvas()->SetPixels(p.X, p.Y, clFuchsia);
    return b;
}

TEST_F(ExtPageControlPaintTest, PicturesForTabsAndTheActiveTab)
{
    auto p = AddPages({u"One  ", u"Two  ", u"Three  "});
    const auto normal = TabPicture(24, 22, clLime);
    const auto active = TabPicture(24, 22, 0x0080FF);
    pc->SetTabBackGround(normal.get());
    pc->SetTabBackGroundActive(active.get());
    pc->SetActivePage(p[1]);
    auto g = Render();
    pt::SaveGrab(pc, u"pagecontrol_pictures.png");
    const TRect a = pc->PageTabRect(1), first = pc->PageTabRect(0);
    // The active picture is drawn last, two pixels over the tab before it.
    EXPECT_EQ(pt::PixelOf(*g, a.Left - 2, a.Top + 8), 0x0080FF);
    EXPECT_EQ(pt::PixelOf(*g, first.Left + 6, first.Top + 8), clLime);
    int keyPixels = 0;
    for (int y = 0; y < pc->DisplayRect().Top; ++y)
        for (int x = 0; x < W; ++x) keyPixels += pt::PixelOf(*g, x, y) == clFuchsia;
    EXPECT_EQ(keyPixels, 0) << "the transparent colour never reaches the screen";
}

TEST_F(ExtPageControlPaintTest, TabImagesComeBeforeTheCaption)
{
    TImageList images(nullptr);
    images.SetSize(12, 12);
    TBitmap red(12, 12);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 12, 12));
    images.Add(&red, nullptr);
    pc->SetImages(&images);
    auto p = AddPages({u"One  ", u"Two  "});
    p[0]->SetImageIndex(0);
    pc->SetActivePage(p[1]);
    auto g = Render();
    const TRect r = pc->PageTabRect(0);
    // Inactive tab on top: image at (L + 4 - 2, T + 1).
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 2, r.Top + 1), clRed);
    EXPECT_EQ(pt::PixelOf(*g, r.Left + 13, r.Top + 12), clRed);
    EXPECT_NE(pt::PixelOf(*g, r.Left + 14, r.Top + 12), clRed);
    pc->SetImages(nullptr);
}

TEST_F(ExtPageControlPaintTest, Border3DLeavesTheLookToTheStrip)
{
    pc->SetTabBackGroundColor(clYellow);
    auto p = AddPages({u"One  ", u"Two  "});
    pc->SetActivePage(p[0]);
    pc->SetTabBorder3D(true);
    auto g = Render();
    pt::SaveGrab(pc, u"pagecontrol_border3d.png");
    EXPECT_NE(pt::PixelOf(*g, W - 10, 1), clYellow);
    pc->SetTabBorder3D(false);
    g = Render();
    EXPECT_EQ(pt::PixelOf(*g, W - 10, 1), clYellow);
}

TEST_F(ExtPageControlPaintTest, FocusFrameOnlyWithShowFocusAndFocus)
{
    auto p = AddPages({u"One  ", u"Two  "});
    pc->SetActivePage(p[0]);
    pc->SetActiveColor(clWhite);
    auto blacks = [&] {
        auto g = Render();
        const TRect r = pc->PageTabRect(0);
        int n = 0;
        // The frame's right side, past the caption.
        for (int y = r.Top + 3; y < r.Bottom - 3; ++y) n += pt::PixelOf(*g, r.Right - 6, y) == clBlack;
        return n;
    };
    pc->SetFocus();
    EXPECT_EQ(blacks(), 0);
    pc->SetShowFocus(true);
    EXPECT_GT(blacks(), 2);
}

} // namespace
