// Colour styles of the drop-down editors: the form, header, footer and button presets of
// every component style, the selection colour styles and their painted selection box, and the
// item looks with the component styles applied to them.
#include <gtest/gtest.h>

#include <memory>

#include "ExtDropDown.h"
#include "ExtDropDownStyles.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

namespace dd = dropdown;
namespace pt = plat::testing;
using grid::TExtStyle;
using plat::TColor;

namespace {

constexpr TColor none = plat::clNone;
constexpr TColor face = plat::clBtnFace;
constexpr TColor highlight = plat::clHighlight;
constexpr TColor unchanged = 0x7F7F7F7F;  // marks a colour the style leaves as it is

TColor Or(const dd::TStyleColor& c) { return c ? *c : unchanged; }

// One row per style: form colour, to, border; header colour, to, font, border; footer
// colour, to, border; button colour, to, hot, down border, checked border.
TEST(ComponentStyles, EveryStyleFormHeaderFooterAndButtons) {
    using namespace grid;
    struct Row {
        TExtStyle style;
        TColor form, formTo, formBorder, header, headerTo, font, border, footer, footerTo, footerBorder;
        TColor button, buttonTo, hot, downBorder, checkedBorder;
    } rows[] = {
        {tsOffice2003Blue, 0xFFFFFF, none, unchanged, 0xFCE1CB, 0xE0A57D, 0, 0, 0xFCE1CB, 0xE0A57D, 0x962D00,
         0xFCE1CB, 0xE0A57D, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsOffice2003Silver, 0xFFFFFF, none, unchanged, 0xECE2E1, 0xB39698, 0, 0x947C7C, 0xECE2E1, 0xB39698,
         0x947C7C, 0xECE2E1, 0xB39698, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsOffice2003Olive, 0xFFFFFF, none, none, 0xCFF0EA, 0x8CC0B1, 0, 0x588060, 0xCFF0EA, 0x8CC0B1, 0x588060,
         0xCFF0EA, 0x8CC0B1, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, none, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080,
         0x808080, 0x808080, 0xFFFFFF, 0xC9D1D5, 0xD2BDB6, 0x808080, 0x808080},
        {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, none, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF,
         0xFFD2AF, 0xFFEFE3, 0xFFDDC4, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsOffice2007Obsidian, 0xFFFFFF, none, none, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0xF2F1F0, 0xC9C2BD,
         0x5C534C, 0xF2F1F0, 0xC9C2BD, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsWindowsXP, 0xFFFFFF, none, unchanged, 0xFFFFFF, face, 0, 0x808080, 0xFFFFFF, face, 0x808080, 0xFFFFFF,
         face, 0xEFD3C6, highlight, 0xB9D8DC},
        {tsWhidbey, 0xF5F9FA, 0xF5F9FA, none, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0xEBEEEF, 0x7E9898,
         0x962D00, 0xFFFFFF, 0xDFEDF0, 0xEBFDFF, 0x42AEFE, 0x45667B},
        {tsCustom, unchanged, unchanged, unchanged, unchanged, unchanged, unchanged, unchanged, unchanged,
         unchanged, unchanged, unchanged, unchanged, unchanged, unchanged, unchanged},
        {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, none, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0xF8F7F6,
         0xE8E0DB, 0x74706F, 0xF9F8F8, 0xE4E2DF, 0xEBFDFF, 0x42AEFE, 0x45667B},
        // The footer's gradient is the header's reversed; the checked border is the down border.
        {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0, 0xFCF2DA, 0xFFFAF0, 0xFFFDF9,
         0xFCF2DA, 0xFFFDF9, 0xFFFAF0, 0xFEF9F0, 0xFEDF9A, 0xFEDF9A},
        {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8,
         0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xCEA27D, 0xCEA27D},
        {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, face, face, 0, none, face, face, none, face, face, 0xC0C0C0,
         0x808080, highlight},
        {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xFDF6EF,
         0xF0DAC7, 0xC7B29F, 0xFDF6EF, 0xF0DAC7, 0x8AE3FD, 0x308AC2, 0x4FA0CE},
        {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xFFFFFF,
         0xEDE5E0, 0xD2CDC8, 0xFFFFFF, 0xEDE5E0, 0x8AE3FD, 0x308AC2, 0x4FA0CE},
        {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0xBFBFBF,
         0x919191, 0x6D6D6D, 0xBFBFBF, 0x919191, 0x8AE3FD, 0x308AC2, 0x4FA0CE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.style));
        const dd::TFormStyleColors f = dd::FormStyleColors(r.style);
        EXPECT_EQ(Or(f.FormColor), r.form);
        EXPECT_EQ(Or(f.FormColorTo), r.formTo);
        EXPECT_EQ(Or(f.FormBorderColor), r.formBorder);
        EXPECT_EQ(Or(f.HeaderColor), r.header);
        EXPECT_EQ(Or(f.HeaderColorTo), r.headerTo);
        EXPECT_EQ(Or(f.HeaderFontColor), r.font);
        EXPECT_EQ(Or(f.HeaderBorderColor), r.border);
        EXPECT_EQ(Or(f.FooterColor), r.footer);
        EXPECT_EQ(Or(f.FooterColorTo), r.footerTo);
        EXPECT_EQ(Or(f.FooterFontColor), r.font);
        EXPECT_EQ(Or(f.FooterBorderColor), r.footerBorder);
        const dd::TButtonStyleColors b = dd::ButtonStyleColors(r.style);
        EXPECT_EQ(Or(b.Color), r.button);
        EXPECT_EQ(Or(b.ColorTo), r.buttonTo);
        EXPECT_EQ(Or(b.ColorHot), r.hot);
        EXPECT_EQ(Or(b.BorderColorDown), r.downBorder);
        EXPECT_EQ(Or(b.BorderColorChecked), r.checkedBorder);
        // Every colour a style sets is a colour value: plain RGB, a system colour or none.
        for (const dd::TStyleColor& c : {b.Color, b.ColorTo, b.BorderColor, b.ColorHot, b.ColorHotTo, b.BorderColorHot,
                                         b.ColorDown, b.ColorDownTo, b.BorderColorDown, b.ColorDisabled,
                                         b.ColorDisabledTo, b.ColorChecked, b.ColorCheckedTo, b.BorderColorChecked})
            if (c) EXPECT_TRUE(*c <= 0xFFFFFF || *c == none || (*c >> 24) == 0xFF) << std::hex << *c;
    }
    // Values outside the enumeration set nothing.
    EXPECT_FALSE(dd::FormStyleColors(16).FormColor);
    EXPECT_FALSE(dd::ButtonStyleColors(-1).Color);
}

TEST(ComponentStyles, OfficeButtonSetIsShared) {
    const dd::TButtonStyleColors b = dd::ButtonStyleColors(grid::tsOffice2007Luna);
    EXPECT_EQ(*b.BorderColor, none);
    EXPECT_EQ(*b.ColorHotTo, 0xACECFFu);
    EXPECT_EQ(*b.BorderColorHot, 0x99CEDBu);
    EXPECT_EQ(*b.ColorDown, 0xAAD9FFu);
    EXPECT_EQ(*b.ColorDownTo, 0x6EBBFFu);
    EXPECT_EQ(*b.ColorDisabled, 0xF2F2F2u);
    EXPECT_EQ(*b.ColorDisabledTo, 0xB6B6B6u);
    EXPECT_EQ(*b.ColorChecked, 0x76AFF1u);
    EXPECT_EQ(*b.ColorCheckedTo, 0x4190F3u);
    const dd::TButtonStyleColors o = dd::ButtonStyleColors(grid::tsOffice2010Black);
    EXPECT_EQ(*o.ColorHotTo, none);
    EXPECT_EQ(*o.ColorDownTo, none);
    EXPECT_EQ(*o.ColorCheckedTo, none);
    EXPECT_EQ(*o.BorderColor, 0xD7D7D6u);
}

TEST(SelectionStyles, Colours) {
    struct Case {
        int style;
        TColor color, colorTo;
    } cases[] = {
        {dd::scOffice2007, 0xD7FFFD, 0x58D4FC},
        {dd::scWindowsVista, 0xFDF8F1, 0xFCEFD5},
        {dd::scWindows7, 0xFCEBDC, 0xFCDBC1},
        {dd::scCustom, unchanged, unchanged},
        {7, unchanged, unchanged},
    };
    for (const Case& c : cases) {
        const dd::TSelectionStyleColors s = dd::SelectionStyleColors(c.style);
        EXPECT_EQ(Or(s.Color), c.color) << c.style;
        EXPECT_EQ(Or(s.ColorTo), c.colorTo) << c.style;
    }
}

class SelectionPaintTest : public pt::UiTest {};

// A 40 x 20 item at (0, 0) on a red background: the outer corner pixel takes the background,
// the top edge the frame colour, the upper inner line its colour, the face its first colour.
TEST_F(SelectionPaintTest, NamedStylesDrawTheSelectionBox) {
    struct Case {
        int style;
        TColor frame, upperLine, lowerLine, innerCorner;
    } cases[] = {
        {dd::scOffice2007, 0x8DD7D3, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF},
        {dd::scWindowsVista, 0xFDDE99, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB},
        {dd::scWindows7, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        plat::TBitmap b(40, 20);
        b.Canvas()->Brush()->SetColor(plat::clWhite);
        b.Canvas()->FillRect({0, 0, 40, 20});
        const dd::TSelectionStyleColors s = dd::SelectionStyleColors(c.style);
        dd::DrawSelectionBackground(b.Canvas(), {0, 0, 40, 20}, 0, plat::clRed, c.style, *s.Color, *s.ColorTo);
        EXPECT_EQ(pt::PixelOf(b, 0, 0), plat::clRed) << "outer corner";
        EXPECT_EQ(pt::PixelOf(b, 1, 0), c.innerCorner);
        EXPECT_EQ(pt::PixelOf(b, 20, 0), c.frame);
        EXPECT_EQ(pt::PixelOf(b, 20, 1), c.upperLine);
        EXPECT_EQ(pt::PixelOf(b, 20, 17), c.lowerLine);
        EXPECT_EQ(pt::PixelOf(b, 20, 2), *s.Color) << "the face starts at the selection colour";
    }
}

TEST_F(SelectionPaintTest, SidesAndCustom) {
    plat::TBitmap b(40, 20);
    b.Canvas()->Brush()->SetColor(plat::clWhite);
    b.Canvas()->FillRect({0, 0, 40, 20});
    // Sides 2 rounds only the right end: the left corner is frame, not background.
    dd::DrawSelectionBackground(b.Canvas(), {0, 0, 40, 20}, 2, plat::clRed, dd::scWindows7, 0xFCEBDC, 0xFCDBC1);
    EXPECT_EQ(pt::PixelOf(b, 0, 0), TColor{0xCEA27D});
    EXPECT_EQ(pt::PixelOf(b, 38, 0), plat::clRed);
    // scCustom fills with the selection colour.
    dd::DrawSelectionBackground(b.Canvas(), {0, 0, 40, 20}, 0, plat::clRed, dd::scCustom, plat::clBlue, none);
    EXPECT_EQ(pt::PixelOf(b, 0, 0), plat::clBlue);
    EXPECT_EQ(pt::PixelOf(b, 39, 19), plat::clBlue);
    // Other values draw nothing.
    dd::DrawSelectionBackground(b.Canvas(), {0, 0, 40, 20}, 0, plat::clRed, 9, plat::clLime, none);
    EXPECT_EQ(pt::PixelOf(b, 20, 10), plat::clBlue);
}

TEST(ItemAppearance, StartsWithTheOffice2007Presets) {
    dd::TItemAppearance a;
    EXPECT_EQ(a.ColorStyle(), dd::scOffice2007);
    EXPECT_EQ(a.ColorHot, 0xD7FFFDu);
    EXPECT_EQ(a.ColorSelectedTo, 0x04B9F4u);
    EXPECT_EQ(a.ColorMirrorSelected, 0x15C1FBu);
    EXPECT_EQ(a.EdgeColor, 0xC3D9DFu);
    EXPECT_EQ(a.BorderColorHot, none);
    EXPECT_EQ(a.ColorSelectedText, 0u);
    EXPECT_EQ(plat::StringToUtf8(a.Font()->Name()), "Tahoma");
    a.SetColorStyle(dd::scWindows7);
    EXPECT_EQ(a.ColorSelected, 0xF9D8B9u);
    EXPECT_EQ(a.ColorMirrorHot, none);
    a.ColorHot = 1;
    a.SetColorStyle(dd::scWindows7);
    EXPECT_EQ(a.ColorHot, 1u) << "an unchanged style presets nothing";
    a.SetColorStyle(dd::scCustom);
    EXPECT_EQ(a.ColorHot, 1u) << "scCustom changes no colour";
}

TEST(ItemAppearance, AssignCopiesColoursThenTheSourceStyle) {
    dd::TItemAppearance source, target;
    source.SetColorStyle(dd::scCustom);
    source.ColorHot = 0x010203;
    source.BorderColorSelected = 0x040506;
    source.ColorHotText = 0x070809;
    source.Font()->SetName(u"Arial");
    target.Assign(source);
    EXPECT_EQ(target.ColorHot, 0x010203u) << "scCustom keeps the copied colours";
    EXPECT_EQ(target.BorderColorSelected, 0x040506u);
    EXPECT_EQ(target.ColorHotText, 0x070809u);
    EXPECT_EQ(plat::StringToUtf8(target.Font()->Name()), "Arial");
    EXPECT_EQ(target.ColorStyle(), dd::scCustom);
    dd::TItemAppearance vista;
    vista.SetColorStyle(dd::scWindowsVista);
    vista.ColorHot = 0x111111;
    target.Assign(vista);
    EXPECT_EQ(target.ColorHot, 0xFDF8F1u) << "a differing style presets the copied colours again";
}

TEST(ItemAppearance, ComponentStylesTable) {
    using namespace grid;
    struct Row {
        TExtStyle style;
        TColor hot, mirrorHot, selected, selectedTo, mirrorSelectedTo, border, top, edge, selectedText;
    } rows[] = {
        {tsOffice2003Blue, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x7AE1FE, 0x42AEFE, none, none, 0},
        {tsWhidbey, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x7AE1FE, 0x42AEFE, none, none, 0},
        {tsOffice2007Silver, 0xEBFDFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xC3D9DF, 0},
        {tsOffice2003Classic, 0xD2BDB6, none, 0xB59285, 0xB59285, none, 0x808080, none, none, 0},
        {tsWindowsXP, 0xEFD3C6, none, highlight, none, none, highlight, none, none, plat::clHighlightText},
        {tsWindowsVista, 0xFFFDF9, none, 0xFEF9F0, 0xFDF0D7, none, 0xFEDF9A, 0xFDFBF6, 0xFCEDCB, 0},
        {tsWindows7, 0xFDFBFA, none, 0xFCEBDC, 0xFCDBC1, none, 0xCEA27D, 0xFDF4EB, 0xE0C5AE, 0},
        {tsTerminal, 0xC0C0C0, none, highlight, none, none, 0x808080, none, none, plat::clHighlightText},
        {tsOffice2010Black, 0xD9F9FD, 0x8AE3FD, 0x7BEEFF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, none, none, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.style));
        dd::TItemAppearance a;
        a.BorderColorHot = a.BorderColorSelected = 0x123456;
        a.ColorHotText = 0x123456;
        dd::ApplyItemAppearanceStyle(&a, r.style);
        EXPECT_EQ(a.ColorHot, r.hot);
        EXPECT_EQ(a.ColorMirrorHot, r.mirrorHot);
        EXPECT_EQ(a.ColorSelected, r.selected);
        EXPECT_EQ(a.ColorSelectedTo, r.selectedTo);
        EXPECT_EQ(a.ColorMirrorSelectedTo, r.mirrorSelectedTo);
        EXPECT_EQ(a.BorderColor, r.border);
        EXPECT_EQ(a.BorderColorTop, r.top);
        EXPECT_EQ(a.EdgeColor, r.edge);
        EXPECT_EQ(a.ColorSelectedText, r.selectedText);
        EXPECT_EQ(a.BorderColorHot, none);
        EXPECT_EQ(a.BorderColorSelected, none);
        EXPECT_EQ(a.ColorHotText, 0u);
    }
    dd::TItemAppearance a;
    a.ColorHotText = 0x123456;
    const TColor hot = a.ColorHot;
    dd::ApplyItemAppearanceStyle(&a, tsCustom);
    EXPECT_EQ(a.ColorHotText, 0x123456u) << "tsCustom changes nothing";
    EXPECT_EQ(a.ColorHot, hot);
    dd::ApplyItemAppearanceStyle(nullptr, tsWindows7);  // nothing for a missing appearance
}

class DropDownStyleTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        host = std::make_unique<plat::TForm>(nullptr);
        dd = new dd::TExtCustomDropDown(host.get());
        dd->SetParent(host.get());
    }
    void TearDown() override {
        host.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TForm> host;
    dd::TExtCustomDropDown* dd = nullptr;
};

TEST_F(DropDownStyleTest, NewDropDownHasTheLunaColours) {
    EXPECT_EQ(dd->GetComponentStyle(), grid::tsOffice2007Luna);
    EXPECT_EQ(dd->DropDownColor(), 0xF3E5DAu);
    EXPECT_EQ(dd->DropDownColorTo(), 0xF0DED0u);
    EXPECT_EQ(dd->DropDownHeader()->Color(), 0xFFEFE3u);
    EXPECT_EQ(dd->DropDownHeader()->ColorTo(), 0xFFD2AFu);
    EXPECT_EQ(dd->DropDownFooter()->ColorTo(), 0xFFD2AFu);
    EXPECT_EQ(dd->DropDownHeader()->Font()->Color(), 0x723708u);
    EXPECT_EQ(dd->ButtonAppearance()->ColorTo(), 0xFFDDC4u);
    EXPECT_EQ(dd->SelectionColorStyle(), dd::scOffice2007);
    EXPECT_EQ(dd->SelectionColor(), 0xD7FFFDu);
    EXPECT_EQ(dd->SelectionColorTo(), 0x58D4FCu);
}

TEST_F(DropDownStyleTest, CustomKeepsTheColoursAndRepeatsChangeNothing) {
    dd->SetComponentStyle(grid::tsWindows7);
    int changes = 0;
    dd->ButtonAppearance()->OnChange = [&](plat::TObject*) { ++changes; };
    dd->SetComponentStyle(grid::tsWindows7);
    EXPECT_EQ(changes, 0) << "the same style again changes no button colour";
    dd->SetComponentStyle(grid::tsCustom);
    EXPECT_EQ(dd->GetComponentStyle(), grid::tsCustom);
    EXPECT_EQ(dd->DropDownBorderColor(), 0x979797u);
    EXPECT_EQ(dd->DropDownHeader()->ColorTo(), 0xFDF3EBu);
    EXPECT_EQ(dd->ButtonAppearance()->BorderColorDown(), 0xCEA27Du);
    EXPECT_EQ(changes, 0);
    dd->SetComponentStyle(grid::tsWindowsVista);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(dd->DropDownFooter()->Color(), 0xFFFAF0u) << "the footer's gradient reversed";
    EXPECT_EQ(dd->DropDownFooter()->ColorTo(), 0xFFFDF9u);
    EXPECT_EQ(dd->ButtonAppearance()->BorderColorChecked(), 0xFEDF9Au);
}

TEST_F(DropDownStyleTest, TonesAndSelectionStyles) {
    grid::TColorTones tones;
    tones.Background.BrushColor = 0x111111;
    tones.Background.BorderColor = 0x222222;
    tones.Hover.BrushColor = 0x333333;
    tones.Selected.BrushColor = 0x444444;
    dd->SetColorTones(tones);
    EXPECT_EQ(dd->Button()->ButtonColor, 0x111111u);
    EXPECT_EQ(dd->Button()->ButtonColorHot, 0x333333u);
    EXPECT_EQ(dd->Button()->ButtonColorDown, 0x444444u);
    EXPECT_EQ(dd->Button()->ButtonBorderColor, 0x222222u);
    EXPECT_EQ(dd->BorderColor(), 0x222222u);
    dd->SetSelectionColorStyle(dd::scWindows7);
    EXPECT_EQ(dd->SelectionColor(), 0xFCEBDCu);
    dd->SetSelectionColor(0x010101);
    dd->SetSelectionColorStyle(dd::scCustom);
    EXPECT_EQ(dd->SelectionColor(), 0x010101u) << "scCustom leaves the colours";
    plat::TBitmap b(10, 10);
    dd->DrawSelectionBackground(b.Canvas(), {0, 0, 10, 10}, 0, plat::clRed);
    EXPECT_EQ(pt::PixelOf(b, 5, 5), TColor{0x010101});
}

} // namespace
