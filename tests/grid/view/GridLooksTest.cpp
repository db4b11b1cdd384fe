// Looks, colour styles, XP schemes, colour tones and the control look of the string grid.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridLooksTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        grid = std::make_unique<TExtStringGrid>(nullptr);
    }
    std::unique_ptr<TExtStringGrid> grid;
};

TEST_F(GridLooksTest, XPOnAStandardGrid) {
    grid->SetLook(glStandard);
    EXPECT_EQ(grid->SelectionColor(), plat::clHighlight);
    EXPECT_EQ(grid->FixedColor(), plat::clBtnFace);
    grid->SetBorderColor(plat::clRed);
    grid->SetLook(glXP);
    EXPECT_EQ(grid->SelectionColor(), 0xEACAB6u);
    EXPECT_EQ(grid->ActiveCellColor(), 0xEACAB6u);
    EXPECT_EQ(grid->SelectionTextColor(), plat::clBlack);
    EXPECT_EQ(grid->ZODGradientFrom, plat::clWhite);
    EXPECT_EQ(grid->ZODGradientTo, plat::ColorToRGB(plat::clBtnFace));
    EXPECT_EQ(grid->ZODGradientHoverFrom, 0xCFD0D1u);
    EXPECT_EQ(grid->ZODGradientHoverTo, 0xBEC6C8u);
    EXPECT_EQ(grid->ZODGradientHoverMirrorFrom, 0xBEC6C8u);
    EXPECT_EQ(grid->ZODGradientDownFrom, 0x868788u);
    EXPECT_EQ(grid->ZODGradientDownMirrorTo, 0x627376u);
    EXPECT_EQ(grid->BorderColor(), 0xB99D7Fu);
    EXPECT_EQ(grid->GridLineColor(), 0xC0C0C0u);
    EXPECT_EQ(grid->GridFixedLineColor(), 0x808080u);
    EXPECT_EQ(grid->SearchFooter()->Color(), plat::clWhite);
}

TEST_F(GridLooksTest, TheSameLookTwiceChangesNothing) {
    grid->SetLook(glZOD);
    grid->SetSelectionColor(plat::clLime);
    grid->ZODGradientFrom = plat::clAqua;
    grid->SetLook(glZOD);
    EXPECT_EQ(grid->SelectionColor(), plat::clLime);
    EXPECT_EQ(grid->ZODGradientFrom, plat::clAqua);
    grid->SetLook(glXP);
    EXPECT_EQ(grid->SelectionColor(), 0xEACAB6u) << "a different look applies its colours";
}

TEST_F(GridLooksTest, LoadingKeepsTheColours) {
    grid->SetLook(glXP);
    grid->SetSelectionColor(plat::clLime);
    grid->SetActiveCellColor(plat::clAqua);
    grid->SetFixedColor(plat::clYellow);
    grid->BeginLoading();
    grid->SetLook(glStandard);
    EXPECT_EQ(grid->SelectionColor(), plat::clLime);
    EXPECT_EQ(grid->ActiveCellColor(), plat::clAqua);
    EXPECT_EQ(grid->FixedColor(), plat::clYellow);
    EXPECT_EQ(grid->ZODGradientFrom, plat::clNone) << "the gradients are cleared";
    EXPECT_EQ(grid->BorderColor(), 0xB99D7Fu);
    EXPECT_EQ(grid->ScrollType(), ssNormal);
}

struct StyleCase {
    TExtGridStyle style;
    TGridLook look;
    TColor active, activeTo, fixedFrom, fixedTo, mirrorFrom, selection, gridLine, fixedLine;
    TGridSelectionStyle selStyle;
};

TEST_F(GridLooksTest, StyleTable) {
    const StyleCase cases[] = {
        {gsOffice2003Blue, glXP, 0x94E6FB, 0x1595EE, 0xFCE1CB, 0xE0A57D, plat::clNone, 0x94E6FB, 0xC0C0C0, 0x808080,
         ssDefault},
        {gsOffice2003Olive, glXP, 0x94E6FB, 0x1595EE, 0xCFF0EA, 0x8CC0B1, plat::clNone, 0x94E6FB, 0xC0C0C0, 0x808080,
         ssDefault},
        {gsOffice2003Classic, glXP, 0xD8D5D4, 0xD8D5D4, 0xFFFFFF, 0xCCD4D8, plat::clNone, plat::clHighlight, 0xC0C0C0,
         0x808080, ssDefault},
        {gsOffice2007Luna, glOffice2007, 0x9DD8F9, 0x5EC1F1, 0xFBF9F6, 0xE8DBD2, plat::clNone, 0x5EC1F1, 0xF1EDEB,
         0xD1BBA4, ssOffice2007},
        {gsWindowsVista, glVista, 0xFDF8F1, 0xFCEFD5, 0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xEACAB6, 0xECECF0, 0xD4D2D1,
         ssVista},
        {gsWindows7, glWin7, 0xFCEBDC, 0xFCDBC1, 0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xEACAB6, 0xECECF0, 0xD4D2D1, ssWin7},
        {gsOffice2010Black, glOffice2007, 0x5BD5FF, 0x71EFFF, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0xFFDBB7, 0xC0C0C0,
         0x444444, ssDefault},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        grid = std::make_unique<TExtStringGrid>(nullptr);
        grid->SetStyle(c.style);
        EXPECT_EQ(grid->Look(), c.look);
        EXPECT_EQ(grid->ActiveCellColor(), c.active);
        EXPECT_EQ(grid->ActiveCellColorTo(), c.activeTo);
        EXPECT_EQ(grid->ZODGradientFrom, c.fixedFrom);
        EXPECT_EQ(grid->ZODGradientTo, c.fixedTo);
        EXPECT_EQ(grid->ZODGradientMirrorFrom, c.mirrorFrom);
        EXPECT_EQ(grid->SelectionColor(), c.selection);
        EXPECT_EQ(grid->GridLineColor(), c.gridLine);
        EXPECT_EQ(grid->GridFixedLineColor(), c.fixedLine);
        EXPECT_EQ(grid->SelectionStyle(), c.selStyle);
        EXPECT_EQ(grid->SearchFooter()->Color(), grid->ZODGradientFrom);
        EXPECT_EQ(grid->SearchFooter()->ColorTo(), grid->ZODGradientMirrorTo);
    }
    // Windows 7: the control look's hover set reaches the grid; the sort header colours.
    grid = std::make_unique<TExtStringGrid>(nullptr);
    grid->SetStyle(gsWindows7);
    EXPECT_EQ(grid->ZODGradientHoverFrom, 0xFEFBF8u);
    EXPECT_EQ(grid->ZODGradientHoverBorder, 0xEEE8E3u) << "the grid's own hover border stays";
    EXPECT_EQ(grid->ZODGradientDownBorder, 0xD5BCAAu);
    EXPECT_EQ(grid->SortSettings()->HeaderColor(), 0xFCF9F2u);
    EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), plat::clNone);
    // Terminal: the standard look and nothing more.
    grid = std::make_unique<TExtStringGrid>(nullptr);
    grid->SetComponentStyle(tsTerminal);
    EXPECT_EQ(grid->Look(), glStandard);
    EXPECT_EQ(grid->Style(), tsTerminal);
    EXPECT_EQ(grid->SelectionColor(), plat::clHighlight);
}

TEST_F(GridLooksTest, XPSchemes) {
    grid->SetTheme(xpGreen);
    EXPECT_EQ(grid->ZODGradientFrom, 0xCFF0EAu);
    EXPECT_EQ(grid->ZODGradientTo, 0x8CC0B1u);
    EXPECT_EQ(grid->ActiveCellColor(), 0x94E6FBu);
    EXPECT_EQ(grid->ControlLook()->FixedGradientTo(), 0x8CC0B1u);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), 0x8CC0B1u);
    grid->SetTheme(vistaAero);
    EXPECT_EQ(grid->ZODGradientMirrorFrom, 0xFAF8F7u);
    EXPECT_EQ(grid->SearchFooter()->Color(), 0xECE2E1u);
    grid->SetTheme(xpNone);
    EXPECT_EQ(grid->ActiveCellColorTo(), 0xFFD9B3u);
    EXPECT_EQ(grid->ZODGradientMirrorFrom, plat::clNone);
    EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), plat::clNone);
}

TEST_F(GridLooksTest, ColorTones) {
    TColorTones t;
    t.Background = {0xFFFFFF, 0xDDDDDD, 0x202020};
    t.Foreground = {0xC8A064, 0x000000, 0xF0F0F0};
    t.Selected = {0x00D7FF, 0x000000, 0x101010};
    grid->SetColorTones(t);
    EXPECT_EQ(grid->Look(), glClassic);
    EXPECT_TRUE(grid->Flat());
    EXPECT_EQ(grid->ScrollType(), ssMetro);
    EXPECT_EQ(grid->FixedColor(), 0xC8A064u);
    EXPECT_EQ(grid->FixedFont()->Color(), 0xF0F0F0u);
    EXPECT_EQ(grid->Color(), 0xFFFFFFu);
    EXPECT_EQ(grid->Font()->Color(), 0x202020u);
    EXPECT_EQ(grid->SelectionColor(), 0x00D7FFu);
    EXPECT_EQ(grid->SelectionTextColor(), 0x101010u);
    EXPECT_EQ(grid->GridLineColor(), 0xE6E6E6u);
    EXPECT_EQ(grid->GridFixedLineColor(), plat::RGB(0x64 * 8 / 10, 0xA0 * 8 / 10, 0xC8 * 8 / 10));
    EXPECT_EQ(grid->BorderStyle(), plat::bsNone);
    EXPECT_EQ(grid->ControlLook()->ControlStyle, csGlyph);
    EXPECT_EQ(grid->ControlLook()->CheckedGlyph()->Width(), 16);
    EXPECT_EQ(grid->ControlLook()->RadioOffGlyph()->Height(), 16);
    EXPECT_TRUE(grid->ControlLook()->FlatButton);
    EXPECT_EQ(grid->CellNode()->NodeType(), cnFlat);
}

TEST_F(GridLooksTest, ControlLookAssignCopiesColoursNotTheGrid) {
    TExtStringGrid other(nullptr);
    other.ControlLook()->SetFixedGradientFrom(plat::clWhite);
    other.ControlLook()->SetFixedGradientTo(plat::clBtnFace);
    other.ControlLook()->CheckSize = 20;
    other.ControlLook()->ControlStyle = csWinXP;
    grid->ZODGradientFrom = plat::clAqua;
    grid->ControlLook()->Assign(other.ControlLook());
    EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), plat::clWhite);
    EXPECT_EQ(grid->ControlLook()->FixedGradientTo(), plat::clBtnFace);
    EXPECT_EQ(grid->ControlLook()->CheckSize, 20);
    EXPECT_EQ(grid->ControlLook()->ControlStyle, csWinXP);
    EXPECT_EQ(grid->ZODGradientFrom, plat::clAqua) << "the grid's colours are not touched";
}

TEST_F(GridLooksTest, HighlightColourIsSharedByAllGrids) {
    TExtStringGrid other(nullptr);
    grid->SetHighlightColor(0x123456);
    EXPECT_EQ(MarkupHighlightColor(), 0x123456u);
    other.SetHighlightTextColor(0x654321);
    EXPECT_EQ(MarkupHighlightTextColor(), 0x654321u);
    EXPECT_EQ(MarkupHighlightColor(), plat::clHighlight) << "the other grid's own pair is handed over";
    SetMarkupHighlightColors(plat::clHighlight, plat::clHighlightText);
}

TEST_F(GridLooksTest, ProgressAppearanceAndShowModifiedSettings) {
    TGridProgressAppearance* pa = grid->ProgressAppearance();
    EXPECT_EQ(pa->Get().Level0Color, 0x00FF00u);
    EXPECT_EQ(pa->Get().UnCompleteColor, plat::clNone);
    EXPECT_EQ(pa->Get().UnCompleteFontColor, plat::clWindowText);
    EXPECT_EQ(pa->Get().Steps, 11);
    EXPECT_EQ(pa->Get().Style, psXP);
    int changes = 0;
    TGridProgressAppearance other;
    other.OnChange = [&](plat::TObject*) { ++changes; };
    other.SetValue(&TGridProgressAppearance::Values::Level1Perc, 70);
    EXPECT_EQ(changes, 0) << "an unchanged value fires nothing";
    other.SetValue(&TGridProgressAppearance::Values::Level1Perc, 60);
    other.SetValue(&TGridProgressAppearance::Values::ShowBorder, true);
    EXPECT_EQ(changes, 2);
    TGridProgressAppearance source;
    source.SetValue(&TGridProgressAppearance::Values::Steps, 5);
    source.SetValue(&TGridProgressAppearance::Values::Level3Color, TColor(0x123456));
    other.Assign(&source);
    EXPECT_EQ(changes, 3) << "Assign fires once";
    EXPECT_EQ(other.Get().Steps, 5);
    EXPECT_EQ(other.Get().Level1Perc, 70) << "every property copied";

    TShowModified sm;
    EXPECT_EQ(sm.Color(), 0x00FFFFu);
    EXPECT_FALSE(sm.Enabled());
    int colourChanges = 0;
    sm.OnChange = [&](plat::TObject*) { ++colourChanges; };
    sm.SetColor(plat::clRed);
    EXPECT_EQ(colourChanges, 1);
    sm.SetEnabled(true);
    grid->SetShowModified(&sm);
    EXPECT_TRUE(grid->ShowModified()->Enabled());
    EXPECT_EQ(grid->ShowModified()->Color(), plat::clRed);
}

TEST(LookNames, TextAndDisplayName) {
    EXPECT_EQ(LookToText(glXP), u"glXP");
    EXPECT_EQ(LookToText(glOffice2007), u"glOffice2007");
    EXPECT_EQ(LookToText(glCustom, u"glZOD"), u"glZOD");
    EXPECT_EQ(LookToDisplayName(glXP), u"Windows XP");
    EXPECT_EQ(LookToDisplayName(glWin7), u"Windows 7");
}


// A column grid in each look and each colour style, rendered to PNG only when
// TEST_PICTURES names a folder.
class LookGallery : public pt::UiTest {};

TEST_F(LookGallery, EveryLookAndStyle) {
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "set TEST_PICTURES to render";
    auto render = [&](const std::function<void(TExtStringGrid&)>& apply, const std::string& name) {
        plat::TForm form(nullptr);
        form.SetBounds(0, 0, 360, 200);
        auto* g = new TExtStringGrid(&form);
        g->SetParent(&form);
        g->SetBounds(4, 4, 340, 180);
        g->SetColCount(5);
        g->SetRowCount(8);
        plat::TGridOptions o = g->Options();
        o.Include(plat::goFixedHorzLine).Include(plat::goFixedVertLine).Include(plat::goHorzLine);
        o.Include(plat::goVertLine).Include(plat::goRangeSelect);
        g->SetOptions(o);
        for (int c = 1; c < 5; ++c) g->SetCells(c, 0, u"Head " + plat::IntToStr(c));
        for (int r = 1; r < 8; ++r) {
            g->SetCells(0, r, plat::IntToStr(r));
            for (int c = 1; c < 5; ++c) g->SetCells(c, r, plat::IntToStr(r * 10 + c));
        }
        g->SetActiveCellShow(true);
        apply(*g);
        g->SetCol(2);
        g->SetRow(3);
        g->SetSelection({2, 3, 3, 4});
        g->SetHoverFixedCells(hfAll);
        g->SetHoverFixedCell(4, 0);
        form.Show();
        pt::ProcessEvents();
        g->Repaint();
        pt::ProcessEvents();
        pt::SaveGrab(g, plat::Utf8ToString(std::string(dir) + "/" + name + ".png"));
    };
    for (int l = glStandard; l <= glCustom; ++l)
        render([l](TExtStringGrid& g) { g.SetLook(static_cast<TGridLook>(l)); },
               "look_" + plat::StringToUtf8(LookToText(static_cast<TGridLook>(l), u"glCustom")));
    for (int s = gsOffice2003Blue; s <= gsOffice2010Black; ++s)
        render([s](TExtStringGrid& g) { g.SetStyle(static_cast<TExtGridStyle>(s)); },
               "style_" + std::to_string(s));
}

} // namespace

namespace {

// Counts the whole-grid repaints the appearance setters ask for.
class CountingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void Invalidate() override {
        ++Invalidations;
        TExtStringGrid::Invalidate();
    }
    int Invalidations = 0;
};

struct SetterCase {
    const char* name;
    std::function<void(CountingGrid&)> prepare;  // may be empty
    std::function<void(CountingGrid&)> write;
    bool repaints;
    std::function<bool(const CountingGrid&)> stored;
};

class GridAppearanceSetters : public pt::UiTest {};

TEST_F(GridAppearanceSetters, StoreAndRepaintByTheirRules) {
    const std::vector<SetterCase> cases = {
        {"SelectionColor changed", {}, [](CountingGrid& g) { g.SetSelectionColor(plat::clLime); }, true,
         [](const CountingGrid& g) { return g.SelectionColor() == plat::clLime; }},
        {"SelectionColor unchanged", {}, [](CountingGrid& g) { g.SetSelectionColor(0xEACAB6); }, false,
         [](const CountingGrid& g) { return g.SelectionColor() == 0xEACAB6u; }},
        {"SelectionColorTo changed", {}, [](CountingGrid& g) { g.SetSelectionColorTo(plat::clRed); }, true,
         [](const CountingGrid& g) { return g.SelectionColorTo() == plat::clRed; }},
        {"SelectionMirrorColor unchanged", {}, [](CountingGrid& g) { g.SetSelectionMirrorColor(plat::clNone); },
         false, [](const CountingGrid& g) { return g.SelectionMirrorColor() == plat::clNone; }},
        {"SelectionMirrorColorTo changed", {}, [](CountingGrid& g) { g.SetSelectionMirrorColorTo(0x123456); },
         true, [](const CountingGrid& g) { return g.SelectionMirrorColorTo() == 0x123456u; }},
        {"mixer factor above 100 clamped", {}, [](CountingGrid& g) { g.SetSelectionColorMixerFactor(150); }, true,
         [](const CountingGrid& g) { return g.SelectionColorMixerFactor() == 100; }},
        {"mixer factor below 0 clamped", {}, [](CountingGrid& g) { g.SetSelectionColorMixerFactor(-5); }, true,
         [](const CountingGrid& g) { return g.SelectionColorMixerFactor() == 0; }},
        {"mixer factor clamped to its value", [](CountingGrid& g) { g.SetSelectionColorMixerFactor(100); },
         [](CountingGrid& g) { g.SetSelectionColorMixerFactor(400); }, false,
         [](const CountingGrid& g) { return g.SelectionColorMixerFactor() == 100; }},
        {"ShowSelection changed", {}, [](CountingGrid& g) { g.SetShowSelection(false); }, true,
         [](const CountingGrid& g) { return !g.ShowSelection(); }},
        {"ShowSelection unchanged", {}, [](CountingGrid& g) { g.SetShowSelection(true); }, false,
         [](const CountingGrid& g) { return g.ShowSelection(); }},
        {"ActiveCellShow same value repaints", {}, [](CountingGrid& g) { g.SetActiveCellShow(false); }, true,
         [](const CountingGrid& g) { return !g.ActiveCellShow(); }},
        {"ActiveCellColor same value repaints", {}, [](CountingGrid& g) { g.SetActiveCellColor(plat::clGray); },
         true, [](const CountingGrid& g) { return g.ActiveCellColor() == plat::clGray; }},
        {"ActiveCellColorTo changed", {}, [](CountingGrid& g) { g.SetActiveCellColorTo(plat::clBlue); }, true,
         [](const CountingGrid& g) { return g.ActiveCellColorTo() == plat::clBlue; }},
        {"URLColor without URLShow stores only", {}, [](CountingGrid& g) { g.SetURLColor(plat::clRed); }, false,
         [](const CountingGrid& g) { return g.URLColor() == plat::clRed; }},
        {"URLColor with URLShow repaints", [](CountingGrid& g) { g.SetURLShow(true); },
         [](CountingGrid& g) { g.SetURLColor(plat::clRed); }, true,
         [](const CountingGrid& g) { return g.URLColor() == plat::clRed; }},
        {"URLColor unchanged with URLShow", [](CountingGrid& g) { g.SetURLShow(true); },
         [](CountingGrid& g) { g.SetURLColor(0xFF0000); }, false,
         [](const CountingGrid& g) { return g.URLColor() == 0xFF0000u; }},
        {"ShowDesignHelper changed", {}, [](CountingGrid& g) { g.SetShowDesignHelper(false); }, true,
         [](const CountingGrid& g) { return !g.ShowDesignHelper(); }},
        {"VAlignment repaints", {}, [](CountingGrid& g) { g.SetVAlignment(vtaCenter); }, true,
         [](const CountingGrid& g) { return g.VAlignment() == vtaCenter; }},
        {"VAlignment inside an update stores only", [](CountingGrid& g) { g.StartUpdate(); },
         [](CountingGrid& g) { g.SetVAlignment(vtaBottom); }, false,
         [](const CountingGrid& g) { return g.VAlignment() == vtaBottom; }},
        {"XYOffset setter repaints", {}, [](CountingGrid& g) { g.SetXYOffset({2, 5}); }, true,
         [](const CountingGrid& g) { return g.XYOffset().X == 2 && g.XYOffset().Y == 5 && g.TotalYOffset() == 10; }},
        {"UpdateXYOffset stores only", {}, [](CountingGrid& g) { g.UpdateXYOffset(4, 1); }, false,
         [](const CountingGrid& g) { return g.XYOffset().X == 4 && g.XYOffset().Y == 1; }},
    };
    for (const SetterCase& c : cases) {
        SCOPED_TRACE(c.name);
        CountingGrid g(nullptr);
        if (c.prepare) c.prepare(g);
        g.Invalidations = 0;
        c.write(g);
        EXPECT_EQ(g.Invalidations > 0, c.repaints);
        EXPECT_TRUE(c.stored(g));
    }
}

} // namespace
