// The grid's button and check box: Down and group rules, margins, the glyph and caption
// places of the four layouts, the grey glyph, the looks, and the classic check box driven
// through the real mouse and key path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "ExtObjButtons.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::TRect;

namespace {

TEST(ButtonContent, PlacesOfTheFourLayouts) {
    // Content 40 x 30, glyph 16 x 12, caption 10 x 8.
    struct Case {
        TButtonLayout layout;
        int margin, spacing;
        bool rtl;
        int gx, gy, tx, ty;
    };
    const Case cases[] = {
        // margin = (40 - (16 + 4 + 10) + 1) div 2 = 5
        {blGlyphLeft, -1, 4, false, 5, 9, 25, 11},
        {blGlyphRight, -1, 4, false, 19, 9, 5, 11},
        // vertical: margin = (30 - (12 + 4 + 8) + 1) div 2 = 3
        {blGlyphTop, -1, 4, false, 12, 3, 15, 19},
        {blGlyphBottom, -1, 4, false, 12, 15, 15, 3},
        // even: margin = spacing = (40 - 26) div 3 = 4
        {blGlyphLeft, -1, -1, false, 4, 9, 24, 11},
        // margin 2, even spacing = ((40 - 18) - 10) div 2 = 6
        {blGlyphLeft, 2, -1, false, 2, 9, 24, 11},
        {blGlyphLeft, 2, 3, false, 2, 9, 21, 11},
        // right-to-left swaps left and right
        {blGlyphLeft, -1, 4, true, 19, 9, 5, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << " margin " << c.margin << " spacing " << c.spacing);
        TButtonContentInput in;
        in.Width = 40;
        in.Height = 30;
        in.GlyphWidth = 16;
        in.GlyphHeight = 12;
        in.TextWidth = 10;
        in.TextHeight = 8;
        in.Layout = c.layout;
        in.Margin = c.margin;
        in.Spacing = c.spacing;
        in.RightToLeft = c.rtl;
        const auto p = CalcButtonContent(in);
        EXPECT_EQ(p.Glyph.X, c.gx);
        EXPECT_EQ(p.Glyph.Y, c.gy);
        EXPECT_EQ(p.Text.X, c.tx);
        EXPECT_EQ(p.Text.Y, c.ty);
    }
    // No caption: the glyph at the corner; no glyph: no spacing.
    TButtonContentInput only{.Width = 40, .Height = 30, .GlyphWidth = 16, .GlyphHeight = 12};
    EXPECT_EQ(CalcButtonContent(only).Glyph.X, 0);
    EXPECT_EQ(CalcButtonContent(only).Glyph.Y, 0);
    TButtonContentInput text{.Width = 40, .Height = 30, .TextWidth = 10, .TextHeight = 8};
    EXPECT_EQ(CalcButtonContent(text).Text.X, 15);  // (40 - 10 + 1) div 2
}

TEST(GreyGlyph, FormulaPerPixel) {
    struct Case {
        plat::TColor in;
        int v;
    };
    // v = round((R + G + B) / 3) div 2 + 96
    const Case cases[] = {{0x000000, 96}, {0xFFFFFF, 223}, {plat::RGB(255, 0, 0), 138}, {plat::RGB(1, 1, 0), 96},
                          {plat::RGB(2, 2, 1), 97}, {plat::RGB(2, 1, 1), 96}, {plat::RGB(10, 20, 31), 106}};
    plat::TBitmap src(static_cast<int>(std::size(cases)), 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) src.Canvas()->SetPixels(static_cast<int>(i), 0, cases[i].in);
    plat::TBitmap grey;
    MakeGreyGlyph(src, grey);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(GreyGlyphValue(cases[i].in), cases[i].v);
        EXPECT_EQ(grey.Canvas()->Pixels(static_cast<int>(i), 0), plat::RGB(cases[i].v, cases[i].v, cases[i].v));
    }
}

class ButtonTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    TExtGridButton* NewButton(int left) {
        auto* b = new TExtGridButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(left, 10, 60, 22);
        return b;
    }
    std::unique_ptr<plat::TForm> form;
};

TEST_F(ButtonTest, DownAndGroupRules) {
    TExtGridButton* a = NewButton(10);
    EXPECT_EQ(a->Width(), 60);
    // GroupIndex 0, tasButton: never stays down.
    a->SetDown(true);
    EXPECT_FALSE(a->Down());
    a->SetStyle(tasCheck);
    a->SetDown(true);
    EXPECT_TRUE(a->Down());
    a->SetDown(false);
    EXPECT_FALSE(a->Down());
    a->SetStyle(tasButton);

    TExtGridButton* b = NewButton(80);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    form->Show();
    pt::Click(a, 5, 5);
    EXPECT_TRUE(a->Down());
    pt::Click(b, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    pt::Click(b, 5, 5);  // the pressed one stays pressed
    EXPECT_TRUE(b->Down());
    b->SetDown(false);
    EXPECT_TRUE(b->Down());
    // With AllowAllUp (passed on to the group) it can be released.
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp());
    pt::Click(b, 5, 5);
    EXPECT_FALSE(b->Down());
}

TEST_F(ButtonTest, MarginsAndLooks) {
    TExtGridButton* b = NewButton(10);
    b->SetMargin(-2);
    EXPECT_EQ(b->Margin(), -1);
    b->SetMargin(3);
    EXPECT_EQ(b->Margin(), 3);
    b->SetMargin(-1);
    EXPECT_EQ(b->Margin(), -1);
    struct Case {
        int look;
        plat::TColor color, hotTo, checkedTo, borderHot;
        bool rounded;
    };
    const Case cases[] = {{0, 0xEDF1F1, 0xE5ECED, plat::clNone, 0xC3CECE, true},
                          {1, plat::clBtnFace, plat::clNone, plat::clNone, 0xC56A31, false},
                          {2, 0xFDEADA, 0x91D0FF, 5615103, 0x000000, false},
                          {5, plat::clBtnFace, plat::clNone, plat::clNone, plat::clNone, false},
                          {6, 0xCAFFFF, 0x7CE9FC, 0x9CDDED, 0x808080, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.look);
        b->BorderColor = 0x123456;
        b->SetFlat(false);
        b->SetLook(c.look);
        EXPECT_EQ(b->Look(), c.look);
        EXPECT_EQ(b->ButtonColor, c.color);
        EXPECT_EQ(b->ColorHotTo, c.hotTo);
        EXPECT_EQ(b->ColorCheckedTo, c.checkedTo);
        EXPECT_EQ(b->BorderHotColor, c.borderHot);
        EXPECT_EQ(b->BorderColor, plat::clNone);
        EXPECT_EQ(b->Rounded, c.rounded);
        EXPECT_TRUE(b->Flat());
    }
    b->SetLook(7);  // no such look: nothing changes
    EXPECT_EQ(b->Look(), 6);
    EXPECT_EQ(b->ButtonColor, 0xCAFFFF);
}

TEST_F(ButtonTest, GlyphGivesAGreyDisabledCopyAndAShade) {
    TExtGridButton* b = NewButton(10);
    plat::TBitmap g(4, 4);
    g.Canvas()->Brush()->SetColor(plat::clFuchsia);
    g.Canvas()->FillRect(TRect(0, 0, 4, 4));
    g.Canvas()->SetPixels(1, 1, plat::clRed);
    b->SetGlyph(&g);
    ASSERT_FALSE(b->GlyphDisabled()->Empty());
    const int v = GreyGlyphValue(plat::clRed);
    EXPECT_EQ(b->GlyphDisabled()->Canvas()->Pixels(1, 1), plat::RGB(v, v, v));
    EXPECT_EQ(b->GlyphShade()->Canvas()->Pixels(1, 1), 0x808080);
    EXPECT_EQ(b->GlyphShade()->Canvas()->Pixels(0, 0), plat::clFuchsia);
}

// The caption and the glyph land where the layout says, in the button's own pixels.
TEST_F(ButtonTest, PaintsGlyphAndCaptionAtTheirPlaces) {
    TExtGridButton* b = NewButton(10);
    b->SetBounds(10, 10, 80, 30);
    plat::TBitmap g(8, 8);
    g.Canvas()->Brush()->SetColor(plat::clRed);
    g.Canvas()->FillRect(TRect(0, 0, 8, 8));
    g.Canvas()->SetPixels(0, 7, plat::clFuchsia);  // the transparent corner
    b->SetGlyph(&g);
    b->SetCaption(u"Find");
    b->Font()->SetColor(plat::clBlue);
    form->Show();
    pt::ProcessEvents();
    for (TButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        SCOPED_TRACE(layout);
        b->SetLayout(layout);
        pt::ProcessEvents();
        auto shot = pt::Grab(b);
        // Content rect: the flat face shrinks by 1 twice.
        plat::TCanvas* measure = shot->Canvas();
        measure->Font()->Assign(*b->Font());
        TRect tr(0, 0, 76, 0);
        measure->DrawText(u"Find", tr, plat::DT_CALCRECT | plat::DT_SINGLELINE);
        TButtonContentInput in{.Width = 76, .Height = 26, .GlyphWidth = 8, .GlyphHeight = 8,
                               .TextWidth = tr.Width(), .TextHeight = tr.Height(), .Layout = layout};
        const auto p = CalcButtonContent(in);
        EXPECT_EQ(pt::PixelOf(*shot, 2 + p.Glyph.X + 3, 2 + p.Glyph.Y + 3), plat::clRed);
        int blue = 0;
        for (int y = 2 + p.Text.Y; y < 2 + p.Text.Y + tr.Height(); ++y)
            for (int x = 2 + p.Text.X; x < 2 + p.Text.X + tr.Width(); ++x) blue += pt::PixelOf(*shot, x, y) == plat::clBlue;
        EXPECT_GT(blue, 10);
        if (const char* dir = std::getenv("TEST_PICTURES"))
            shot->SaveToFile(plat::Utf8ToString(std::string(dir) + "/button" + std::to_string(layout) + ".png"));
    }
}

class CheckBoxTest : public ButtonTest {};

TEST_F(CheckBoxTest, BoxPlacesForAlignments) {
    auto* cb = new TExtCheckBox(form.get());
    cb->SetParent(form.get());
    EXPECT_EQ(cb->Width(), 98);
    EXPECT_EQ(cb->Height(), 20);
    EXPECT_EQ(cb->Caption(), u"TExtCheckBox");
    cb->SetBounds(0, 0, 100, 30);
    struct Case {
        TLeftRight align;
        plat::TTextLayout vert;
        TRect box;
        int captionLeft, captionRight;
    };
    const Case cases[] = {
        {taLeftJustifyBox, plat::tlTop, TRect(0, 4, 13, 17), 15, 100},
        {taLeftJustifyBox, plat::tlCenter, TRect(0, 9, 13, 22), 15, 100},
        {taLeftJustifyBox, plat::tlBottom, TRect(0, 13, 13, 26), 15, 100},
        {taRightJustifyBox, plat::tlTop, TRect(87, 4, 100, 17), 6, 91},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.align << "/" << c.vert);
        cb->SetAlignment(c.align);
        cb->SetButtonVertAlign(c.vert);
        EXPECT_EQ(cb->BoxRect(), c.box);
        EXPECT_EQ(cb->CaptionRect().Left, c.captionLeft);
        EXPECT_EQ(cb->CaptionRect().Right, c.captionRight);
        EXPECT_EQ(cb->CaptionRect().Top, 4);
    }
}

TEST_F(CheckBoxTest, ClicksSpaceReadOnlyAndGrayed) {
    auto* cb = new TExtCheckBox(form.get());
    cb->SetParent(form.get());
    cb->SetBounds(10, 10, 100, 20);
    int clicks = 0;
    cb->OnClick = [&](plat::TObject*) { ++clicks; };
    form->Show();
    pt::ProcessEvents();
    struct Step {
        const char* what;
        bool readOnly;
        bool space;
        bool checked;
        int clicks;
    };
    const Step steps[] = {
        {"click", false, false, true, 1},
        {"click again", false, false, false, 2},
        {"space", false, true, true, 3},
        {"read-only click", true, false, true, 4},
        {"read-only space", true, true, true, 5},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        cb->ReadOnly = s.readOnly;
        if (s.space) {
            cb->SetFocus();
            pt::Key(plat::VK_SPACE);
        } else {
            pt::Click(cb, 5, 8);
        }
        pt::ProcessEvents();
        EXPECT_EQ(cb->Checked(), s.checked);
        EXPECT_EQ(clicks, s.clicks);
    }
    cb->SetState(plat::cbGrayed);
    EXPECT_FALSE(cb->Checked());
    // The classic box is drawn, never empty, for each state.
    for (plat::TCheckBoxState st : {plat::cbUnchecked, plat::cbChecked, plat::cbGrayed}) {
        cb->SetState(st);
        pt::ProcessEvents();
        auto shot = pt::Grab(cb);
        int dark = 0;
        const TRect box = cb->BoxRect();
        for (int y = box.Top; y < box.Bottom; ++y)
            for (int x = box.Left; x < box.Right; ++x) dark += pt::PixelOf(*shot, x, y) != plat::ColorToRGB(cb->Color());
        EXPECT_GT(dark, 20) << st;
        if (const char* dir = std::getenv("TEST_PICTURES"))
            shot->SaveToFile(plat::Utf8ToString(std::string(dir) + "/checkbox" + std::to_string(st) + ".png"));
    }
}

} // namespace
