// A column grid laid out like the configurator's rule tables (one header row, a fixed
// row-number column, 512 rules, check-box, drop-down and text columns at their widths),
// created with no call beyond its layout, paints fully in its default look. Each probe runs
// once with all columns shown and once with a column hidden left of the probed cells.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../GridFixture.h"
#include "ExtCGrid.h"
#include "plat/SysUtils.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

constexpr TColor kAddressColor = 0xD0F0FF;  // the column colour of "Address" (real column 4)
constexpr TColor kSelection = 0xEACAB6;     // RGB(0xB6, 0xCA, 0xEA)

struct ColumnSpec {
    const char16_t* header;
    TEditorType editor;
    int width;
};

const ColumnSpec kColumns[] = {
    {u"N", edNormal, 40},           {u"Enable", edDataCheckBox, 50}, {u"Slave ID", edNormal, 60},
    {u"Type", edComboList, 115},    {u"Address", edNormal, 60},      {u"NPoint", edNormal, 64},
    {u"Poll Time", edNormal, 64},   {u"Max Error", edNormal, 64},    {u"Position", edComboList, 61},
    {u"Start Bit", edComboList, 64}, {u"Swap", edDataCheckBox, 40},  {u"SwapWord", edDataCheckBox, 80},
    {u"Topic", edComboList, 120},   {u"Mnemonic", edNormal, 120},
};

class ReadTableLookTest : public grid::testing::GridFixture<TExtColumnGrid>,
                          public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        grid->SetBounds(4, 4, 560, 420);
        grid->SetColCount(14);
        grid->SetRowCount(513);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        plat::TGridOptions o = grid->Options();
        o.Include(plat::goFixedHorzLine).Include(plat::goFixedVertLine).Include(plat::goHorzLine);
        o.Include(plat::goVertLine).Include(plat::goRangeSelect);
        grid->SetOptions(o);
        grid->HoverRowCells = THoverRowCells{hcNormal, hcSelected};
        grid->ActiveCellFont()->SetStyle({plat::fsBold});
        for (int c = 0; c < 14; ++c) {
            TGridColumnItem* item = grid->Columns()->Items(c);
            item->SetHeader(kColumns[c].header);
            item->SetEditor(kColumns[c].editor);
            item->SetWidth(kColumns[c].width);
        }
        grid->Columns()->Items(4)->SetColor(kAddressColor);
        for (int r = 1; r < 513; ++r) {
            grid->SetCells(0, r, plat::IntToStr(r));
            grid->SetCells(1, r, u"Y");
            grid->SetCells(2, r, plat::IntToStr(r % 247));
        }
        if (GetParam()) grid->HideColumn(2);
    }
    // Display column of a real column.
    int D(int real) { return grid->DisplColIndex(real); }
    std::unique_ptr<plat::TBitmap> Render(const char* name) {
        form->Show();
        pt::ProcessEvents();
        grid->Repaint();
        pt::ProcessEvents();
        if (const char* dir = std::getenv("TEST_PICTURES"))
            pt::SaveGrab(grid, plat::Utf8ToString(std::string(dir) + "/" + name + (GetParam() ? "_hidden.png" : ".png")));
        return pt::Grab(grid);
    }
    // A pixel of the grab (the whole window) at client coordinates.
    TColor At(const plat::TBitmap& bmp, int x, int y) const {
        const plat::TRect a = grid->ClientAreaInWindow();
        return pt::PixelOf(bmp, x + a.Left, y + a.Top);
    }
    // A pixel near the cell's top-right corner, away from left-aligned text and the lines.
    TColor Probe(const plat::TBitmap& bmp, int ACol, int ARow) {
        const plat::TRect r = grid->CellRect(ACol, ARow);
        return At(bmp, r.Right - 8, (r.Top + r.Bottom) / 2);
    }
};

TEST_P(ReadTableLookTest, PaintsInItsDefaultLook) {
    grid->SetCol(D(5));
    grid->SetRow(7);
    grid->SetSelection({D(5), 7, D(6), 9});
    auto bmp = Render("read_table");
    const plat::TRect head = grid->CellRect(D(3), 0);
    EXPECT_EQ(At(*bmp, head.Right - 8, head.Top), plat::clWhite) << "header gradient starts white";
    EXPECT_EQ(At(*bmp, head.Right - 8, head.Bottom - 3), plat::ColorToRGB(plat::clBtnFace))
        << "and ends in the button face";
    EXPECT_EQ(Probe(*bmp, D(4), 3), kAddressColor) << "a normal cell in its column colour";
    EXPECT_EQ(Probe(*bmp, D(6), 8), kSelection) << "a selected cell";
    EXPECT_EQ(Probe(*bmp, D(7), 8), plat::ColorToRGB(grid->Color())) << "a cell beside the selection";
    EXPECT_EQ(pt::PixelOf(*bmp, 1, 1), plat::RGB(0x7F, 0x9D, 0xB9)) << "the border colour";
    EXPECT_EQ(pt::PixelOf(*bmp, 1, 1), 0xB99D7Fu);
}

TEST_P(ReadTableLookTest, ActiveCellHeaders) {
    grid->SetActiveCellShow(true);
    grid->SetActiveCellColor(0x40C040);
    grid->SetCol(D(3));
    grid->SetRow(5);
    grid->SetSelection({D(3), 5, D(3), 5});
    auto bmp = Render("read_table_active");
    EXPECT_EQ(Probe(*bmp, 0, 5), 0x40C040u) << "row header of the current cell";
    EXPECT_EQ(Probe(*bmp, D(3), 0), 0x40C040u) << "column header of the current cell";
    EXPECT_NE(Probe(*bmp, 0, 0), 0x40C040u) << "the corner is no header of the current cell";
    EXPECT_NE(Probe(*bmp, D(4), 0), 0x40C040u) << "another column header";
}

TEST_P(ReadTableLookTest, HoveredAndPressedHeaderSets) {
    // The configurator's layouts set the hover and pressed colours through the control look.
    grid->SetHoverFixedCells(hfAll);
    grid->ControlLook()->SetFixedGradientHoverFrom(plat::clYellow);
    grid->ControlLook()->SetFixedGradientHoverTo(plat::clYellow);
    grid->ControlLook()->SetFixedGradientDownFrom(plat::clFuchsia);
    grid->ControlLook()->SetFixedGradientDownTo(plat::clFuchsia);
    grid->SetHoverFixedCell(D(4), 0);
    auto hover = Render("read_table_hover");
    EXPECT_EQ(Probe(*hover, D(4), 0), plat::clYellow) << "hover set";
    EXPECT_EQ(At(*hover, grid->CellRect(D(4), 0).Right - 8, grid->CellRect(D(4), 0).Top), 0xC0C0C0u)
        << "hover frame in the control look's default hover border";
    EXPECT_NE(Probe(*hover, D(5), 0), plat::clYellow) << "a header not under the mouse";
    grid->SetMouseDownMove(true);
    auto down = Render("read_table_pressed");
    EXPECT_EQ(Probe(*down, D(4), 0), plat::clFuchsia) << "pressed set";
}

INSTANTIATE_TEST_SUITE_P(Columns, ReadTableLookTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "ColumnHidden" : "AllShown"; });

// The hover and pressed colours start from the control look's defaults; a control-look
// colour of no colour leaves the grid's colour; the mirrors are copied always.
class ControlLookColours : public pt::UiTest {};

TEST_F(ControlLookColours, StartValuesAndCopyRules) {
    TExtStringGrid g(nullptr);
    EXPECT_EQ(g.ZODGradientHoverFrom, 0x808080u);
    EXPECT_EQ(g.ZODGradientHoverTo, plat::clWhite);
    EXPECT_EQ(g.ZODGradientHoverBorder, 0xC0C0C0u);
    EXPECT_EQ(g.ZODGradientDownFrom, 0x808080u);
    EXPECT_EQ(g.ZODGradientDownTo, 0xC0C0C0u);
    EXPECT_EQ(g.ZODGradientDownBorder, 0x808080u);
    EXPECT_EQ(g.ZODGradientHoverMirrorFrom, plat::clNone);
    EXPECT_EQ(g.ZODGradientFrom, plat::clWhite);
    EXPECT_EQ(g.ZODGradientTo, plat::ColorToRGB(plat::clBtnFace));
    g.ControlLook()->SetFixedGradientHoverFrom(plat::clNone);
    EXPECT_EQ(g.ZODGradientHoverFrom, 0x808080u) << "no colour keeps the grid's hover start";
    EXPECT_EQ(g.ControlLook()->FixedGradientHoverFrom(), plat::clNone);
    g.ControlLook()->SetFixedGradient(fgHoverMirrorFrom, 0x123456);
    g.ControlLook()->SetFixedGradient(fgHoverMirrorFrom, plat::clNone);
    EXPECT_EQ(g.ZODGradientHoverMirrorFrom, plat::clNone) << "mirrors are copied always";
    g.ControlLook()->SetFixedGradientFrom(plat::clBtnFace);
    EXPECT_EQ(g.ZODGradientFrom, plat::ColorToRGB(plat::clBtnFace)) << "the start colour reaches the grid as RGB";
    g.ControlLook()->SetFixedGradientHoverTo(plat::clBtnFace);
    EXPECT_EQ(g.ZODGradientHoverTo, plat::clBtnFace) << "the hover colours are stored as given";
}

} // namespace
