// Painting of one cell of the string grid, after the grid base has filled its frame:
// fixed-cell looks (hovered, pressed, active-cell headers, sorted column), modified-row
// marker, text, borders, the looks' edge lines and the focus rectangle.
#include "CellPaint.h"

#include <algorithm>
#include <cmath>

#include "ExtDraw.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TGridDrawState;
using plat::TRect;

namespace {

bool InSelection(const plat::TGridRect& s, int ACol, int ARow) {
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

TColor HalfTone(TColor c) {
    const TColor rgb = plat::ColorToRGB(c);
    return plat::RGB(plat::GetRValue(rgb) / 2, plat::GetGValue(rgb) / 2, plat::GetBValue(rgb) / 2);
}

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

} // namespace

TColor SelectionMixColor(bool Mixer, int Factor, TColor Selection, TColor Cell) {
    if (!Mixer || Factor >= 100) return Selection;
    if (Factor < 1 || Selection == plat::clNone) return Cell;
    if (Cell == plat::clNone) return Selection;
    const TColor s = plat::ColorToRGB(Selection), c = plat::ColorToRGB(Cell);
    const double f = Factor / 100.0;
    auto mix = [f](int a, int b) {
        // Halves go to the even neighbour, as the rounding of the colour arithmetic does.
        return std::min(255, static_cast<int>(std::nearbyint(f * a + (1 - f) * b)));
    };
    return plat::RGB(mix(plat::GetRValue(s), plat::GetRValue(c)), mix(plat::GetGValue(s), plat::GetGValue(c)),
                     mix(plat::GetBValue(s), plat::GetBValue(c)));
}

TGridPainter* InstallCellPainter(TExtStringGrid& Grid) {
    auto p = std::make_unique<TGridPainter>();
    TGridPainter* raw = p.get();
    Grid.SetCellPainter(std::move(p));
    return raw;
}

TGridPainter* GridPainter(const TExtStringGrid& Grid) { return dynamic_cast<TGridPainter*>(Grid.CellPainter()); }

void TGridPainter::GetVisualProperties(TExtStringGrid& Grid, int ACol, int ARow, TGridDrawState& AState,
                                       plat::TBrush* ABrush, plat::TFont* AFont, TColor& ColorTo,
                                       TColor& MirrorColor, TColor& MirrorColorTo,
                                       TCellGradientDirection& GradientDirection) {
    plat::TAlignment ha;
    TVAlignment va;
    bool ww = Grid.WordWrap();
    GetVisualProperties(Grid, ACol, ARow, AState, false, true, false, ABrush, ColorTo, MirrorColor, MirrorColorTo,
                        AFont, ha, va, ww, GradientDirection);
}

void TGridPainter::GetVisualProperties(TExtStringGrid& Grid, int ACol, int ARow, TGridDrawState& AState, bool Print,
                                       bool Select, bool Remap, plat::TBrush* ABrush, TColor& AColorTo,
                                       TColor& AMirrorColor, TColor& AMirrorColorTo, plat::TFont* AFont,
                                       plat::TAlignment& HA, TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {
    // The grid hides no columns yet: display and real columns coincide.
    const int rcol = ACol;
    (void)Remap;
    const int fixedCols = Grid.FixedCols(), fixedRows = Grid.FixedRows();
    const bool normal = ACol >= fixedCols && ARow >= fixedRows;

    if (normal)
        AFont->Assign(Print ? Grid.PrintSettings()->Font : *Grid.Font());
    else
        AFont->Assign(Print ? Grid.PrintSettings()->FixedFont : *Grid.FixedFont());

    ABrush->SetColor(plat::clNone);
    AColorTo = AMirrorColor = AMirrorColorTo = plat::clNone;
    bool ownColor = false;
    if (const TCellProperties* p = Grid.Map().Props(rcol, ARow)) {
        if (p->BrushColor() != plat::clNone) {
            ABrush->SetColor(p->BrushColor());
            ownColor = true;
        }
        if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        if (!(p->FontStyle == plat::TFontStyles{})) AFont->SetStyle(p->FontStyle);
        if (p->FontSize != 0) AFont->SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont->SetName(p->FontName);
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection;
    }
    if (AState.Contains(plat::gdSelected)) GD = GradientVertical;

    if (ABrush->Color() == plat::clNone) {
        ABrush->SetColor(Grid.Color());
        TBands* bands = Grid.Bands();
        if (bands->Active() && (!Print || bands->Print) && ACol >= fixedCols &&
            ACol < Grid.ColCount() + Grid.NumHiddenColumns() - Grid.FixedRightCols && ARow >= fixedRows &&
            ARow < Grid.RowCount() - Grid.FixedFooters && bands->TotalLength() > 0) {
            ABrush->SetColor((ARow - fixedRows) % bands->TotalLength() < bands->PrimaryLength()
                                 ? bands->PrimaryColor()
                                 : bands->SecondaryColor());
        }
        if (ACol < fixedCols || ARow < fixedRows || ACol >= Grid.ColCount() - Grid.FixedRightCols ||
            ARow >= Grid.RowCount() - Grid.FixedFooters)
            ABrush->SetColor(Grid.FixedColor());
    }

    const bool fixed = Grid.IsFixed(ACol, ARow);
    if (fixed && !ownColor) {
        if (!Print) {
            ABrush->SetColor(Grid.FixedColor());
            AFont->Assign(*Grid.FixedFont());
            AState.Include(plat::gdFixed);
        }
        if (Grid.Look() > glClassic) {
            ABrush->SetColor(Grid.ZODGradientFrom);
            AColorTo = Grid.ZODGradientTo;
            AMirrorColor = Grid.ZODGradientMirrorFrom;
            AMirrorColorTo = Grid.ZODGradientMirrorTo;
        }
    }

    if (Print)
        Grid.GetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
    else
        Grid.GetCellColor(rcol, ARow, AState, ABrush, AFont);

    if (Grid.ShowSelection && !fixed &&
        ((Select && !Print && InSelection(Grid.Selection(), ACol, ARow)) ||
         (AState.Contains(plat::gdSelected) && MouseDown))) {
        ABrush->SetColor(ABrush->Color() == Grid.Color() ? Grid.SelectionColor
                                                          : SelectionMixColor(SelectionColorMixer,
                                                                              Grid.SelectionColorMixerFactor,
                                                                              Grid.SelectionColor, ABrush->Color()));
        AColorTo = Grid.SelectionColorTo;
        AMirrorColor = Grid.SelectionMirrorColor;
        AMirrorColorTo = Grid.SelectionMirrorColorTo;
        if (SelectionTextColor != plat::clNone) AFont->SetColor(SelectionTextColor);
        AState.Include(plat::gdSelected);
    }

    if (Grid.UseDisabledFont && !Grid.Enabled()) AFont->SetColor(Grid.DisabledFontColor);

    Grid.GetCellWordWrap(rcol, ARow, WW);
    GetCellHVAlignment(Grid, rcol, ARow, HA, VA);
}

void TGridPainter::GetCellHVAlignment(TExtStringGrid& Grid, int ACol, int ARow, plat::TAlignment& HA,
                                      TVAlignment& VA) {
    HA = DefaultAlignment;
    VA = Grid.VAlignment;
    if (AutoNumAlign) {
        const int kind = ClassifyNumberText(plat::Trim(Grid.Cells(ACol, ARow)));
        if (kind == nkInteger || kind == nkReal || kind == nkExponent) HA = plat::taRightJustify;
    }
    if (const TCellProperties* p = Grid.Map().Props(ACol, ARow)) HA = p->Alignment;
    Grid.GetCellAlignment(ACol, ARow, HA, VA);
}

void TGridPainter::DrawCellBorders(TExtStringGrid& Grid, TCanvas* ACanvas, int ACol, int ARow, TRect R) {
    const plat::TPen saved(*ACanvas->Pen());
    TCellBorders borders;
    Grid.GetCellBorder(ACol, ARow, ACanvas->Pen(), borders);
    if (!borders.Empty()) {
        const plat::TPen pen(*ACanvas->Pen());
        const int h = (pen.Width() + 1) / 2;
        const auto& opt = Grid.Options();
        const int f = opt.Contains(plat::goVertLine) ? h : 0;
        const int e = opt.Contains(plat::goHorzLine) ? h : 0;
        const int L = R.Left + f, Rt = R.Right - f, B = R.Bottom - e, g = Grid.GridLineWidth();
        ACanvas->SetPen(&pen);
        if (borders.Contains(cbLeft)) Line(ACanvas, std::max(0, L), R.Top, std::max(0, L), B);
        if (borders.Contains(cbRight)) Line(ACanvas, Rt - 1, R.Top, Rt - 1, B);
        if (borders.Contains(cbTop)) {
            const int y = g == 0 ? R.Top + e + 1 : std::max(0, R.Top + e - g);
            Line(ACanvas, L, y, Rt, y);
        }
        if (borders.Contains(cbBottom)) Line(ACanvas, L - g - 1, B - 1, Rt, B - 1);
    }
    ACanvas->SetPen(&saved);
}

void TGridPainter::DrawGridCell(TExtStringGrid& Grid, TCanvas* ACanvas, int ACol, int ARow, TRect ARect,
                                TGridDrawState AState) {
    TRect rect = ARect;
    const int rcol = Grid.DisplToRealCol(ACol);  // ACol is a display column
    const TGridLook look = Grid.Look();
    const auto& opt = Grid.Options();

    bool ww = Grid.WordWrap();
    TColor colorTo = plat::clNone, mirror = plat::clNone, mirrorTo = plat::clNone;
    plat::TAlignment ha = plat::taLeftJustify;
    TVAlignment va = vtaTop;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(Grid, ACol, ARow, AState, false, false, true, ACanvas->Brush(), colorTo, mirror, mirrorTo,
                        ACanvas->Font(), ha, va, ww, gd);

    if (AState.Contains(plat::gdSelected) && !AState.Contains(plat::gdFocused) &&
        Grid.SelectionColor == plat::clNone)
        ACanvas->Brush()->SetColor(plat::clHighlight);

    ACanvas->Font()->SetSize(ACanvas->Font()->Size() + ZoomFactor);
    const TColor savedBrush = ACanvas->Brush()->Color();
    const TColor savedFont = ACanvas->Font()->Color();

    const bool inHoverRow = Grid.HoverRow && ARow == Grid.HoverRowIdx() && Grid.HoverRowCells.Contains(hcFixed);
    const bool fixed =
        (Grid.IsFixed(ACol, ARow) || ACol < Grid.FixedCols() || ARow < Grid.FixedRows()) && !inHoverRow;
    const bool gradientLook =
        look == glZOD || look == glXP || look == glVista || look == glWin7 || look == glOffice2007;

    if (fixed && gradientLook) {
        const bool hoverAllowed = HoverFixedCells == hfAll ||
                                  (HoverFixedCells == hfFixedRows && ARow < Grid.FixedRows()) ||
                                  (HoverFixedCells == hfFixedColumns && ACol < Grid.FixedCols());
        const bool hovered =
            hoverAllowed && ACol == HoverFixedX && ARow == HoverFixedY && !Grid.IsDesigning();
        const bool activeHeader =
            Grid.ActiveCellShow &&
            ((Grid.FixedCols() > 0 && ARow == Grid.Row() && ACol == Grid.FixedCols() - 1) ||
             (Grid.FixedRows() > 0 && ACol == Grid.Col() && ARow == Grid.FixedRows() - 1));
        const TSortSettings& sort = *Grid.SortSettings();
        const bool sortHeader = sort.Column != -1 && sort.HeaderColor() != TSortSettings::kColorNotSet &&
                                rcol == sort.Column && ARow == Grid.FixedRows() - 1 &&
                                (ACol >= Grid.FixedCols() || sort.FixedCols);
        if (hovered) {
            TRect r = rect;
            ++r.Bottom;
            if (!MouseDownMove)
                DrawCellBackground(ACanvas, r, ZODGradientHoverFrom, true, false, ZODGradientHoverBorder, true,
                                   ZODGradientHoverMirrorTo, ZODGradientHoverMirrorFrom, ZODGradientHoverTo);
            else
                DrawCellBackground(ACanvas, r, ZODGradientDownFrom, true, false, ZODGradientDownBorder, true,
                                   ZODGradientDownMirrorTo, ZODGradientDownMirrorFrom, ZODGradientDownTo);
        } else if (activeHeader) {
            DrawCellBackground(ACanvas, rect, Grid.ActiveCellColor, true, false, plat::clNone, true, plat::clNone,
                               plat::clNone, Grid.ActiveCellColorTo);
        } else if (sortHeader) {
            DrawCellBackground(ACanvas, rect, sort.HeaderColor(), true, true, plat::clNone, true,
                               sort.HeaderMirrorColorTo(), sort.HeaderMirrorColor(), sort.HeaderColorTo());
        } else if (!Flat) {
            DrawCellBackground(ACanvas, rect, savedBrush, true, true, look == glVista ? plat::clWhite : plat::clNone,
                               true, mirrorTo, mirror, colorTo);
        }
    }

    if (fixed && look == glListView && !Flat) {
        // Without visual themes the header is a plain button face with a light frame.
        ACanvas->Brush()->SetColor(plat::clBtnFace);
        ACanvas->Pen()->SetColor(plat::clWhite);
        ACanvas->Rectangle(rect);
        ACanvas->Brush()->SetColor(savedBrush);
    }

    if (ACol == 0 && ShowModified.Enabled && Grid.ModifiedRows()->HasValue(ARow)) {
        ACanvas->Brush()->SetColor(ShowModified.Color);
        ACanvas->Pen()->SetColor(ShowModified.Color);
        ACanvas->Rectangle(rect.Right - 4, rect.Top, rect.Right, rect.Bottom);
        ACanvas->Brush()->SetColor(savedBrush);
    }

    // Cell text: the display text drawn plainly in the cell's alignment.
    {
        const String text = Grid.Cells(rcol, ARow);
        if (!text.empty() && (!Grid.OnDrawCell || !NoDefaultDraw)) {
            TRect tr{rect.Left + Grid.XYOffset.X, rect.Top + Grid.XYOffset.Y - 1, rect.Right - Grid.XYOffset.X,
                     rect.Bottom - 1};
            unsigned flags = plat::DT_NOPREFIX | plat::DT_END_ELLIPSIS;
            flags |= ha == plat::taRightJustify ? plat::DT_RIGHT : ha == plat::taCenter ? plat::DT_CENTER : 0;
            if (ww && !fixed)
                flags |= plat::DT_WORDBREAK;
            else
                flags |= plat::DT_SINGLELINE |
                         (va == vtaCenter ? plat::DT_VCENTER : va == vtaBottom ? plat::DT_BOTTOM : 0);
            ACanvas->Brush()->SetStyle(plat::bsClear);
            ACanvas->DrawText(text, tr, flags);
            ACanvas->Brush()->SetStyle(plat::bsSolid);
        }
    }
    // Cell graphics and in-cell controls are drawn here by the cell graphic drawer.

    ACanvas->Brush()->SetColor(savedBrush);
    ACanvas->Font()->SetColor(savedFont);
    DrawCellBorders(Grid, ACanvas, rcol, ARow, {rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1});

    if (fixed && !Flat) {
        const bool fhl = opt.Contains(plat::goFixedHorzLine), fvl = opt.Contains(plat::goFixedVertLine);
        const TColor half = HalfTone(Grid.FixedColor());
        ACanvas->Pen()->SetWidth(1);
        if (look == glClassic) {
            TRect r{rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom + 1};
            ACanvas->Pen()->SetColor(plat::clBtnHighlight);
            Line(ACanvas, r.Left, r.Bottom - 1, r.Left, r.Top);
            ACanvas->LineTo(r.Right - 1, r.Top);
            ACanvas->Pen()->SetColor(plat::clBtnShadow);
            Line(ACanvas, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 2);
            ACanvas->LineTo(r.Left - 1, r.Bottom - 2);
            ACanvas->Pen()->SetColor(plat::clBlack);
            Line(ACanvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
            ACanvas->LineTo(r.Left - 1, r.Bottom - 1);
        } else if (look == glZOD || look == glXP) {
            const TRect r{rect.Left, rect.Top, rect.Right, rect.Bottom + 1};
            if (fhl) {
                ACanvas->Pen()->SetColor(half);
                Line(ACanvas, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
                ACanvas->Pen()->SetColor(plat::clWhite);
                Line(ACanvas, r.Right - 2, r.Top + 1, r.Left + 1, r.Top + 1);
                ACanvas->LineTo(r.Left + 1, r.Bottom - 1);
            }
        } else if (look == glSoft) {
            const TRect r{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1};
            if (fhl) {
                ACanvas->Pen()->SetColor(half);
                Line(ACanvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
                ACanvas->Pen()->SetColor(plat::clWhite);
                Line(ACanvas, r.Right, r.Top + 1, r.Left + 1, r.Top + 1);
                ACanvas->LineTo(r.Left + 1, r.Bottom - 1);
            }
            if (fvl) {
                ACanvas->Pen()->SetColor(half);
                Line(ACanvas, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 1);
                ACanvas->Pen()->SetColor(plat::clWhite);
                Line(ACanvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
            }
        }
    }

    if (Flat && look != glClassic && Grid.FixedRightCols > 0 &&
        rcol >= Grid.TotalColCount() - Grid.FixedRightCols) {
        ACanvas->Pen()->SetColor(plat::clGray);
        ACanvas->Pen()->SetWidth(1);
        if (opt.Contains(plat::goFixedHorzLine)) {
            Line(ACanvas, rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Top - 1);
            Line(ACanvas, rect.Left - 1, rect.Bottom, rect.Right + 1, rect.Bottom);
        }
        if (opt.Contains(plat::goFixedVertLine)) {
            Line(ACanvas, rect.Left - 1, rect.Top - 1, rect.Left - 1, rect.Bottom + 1);
            Line(ACanvas, rect.Right, rect.Top - 1, rect.Right, rect.Bottom + 1);
        }
    }

    if (Grid.OnDrawCell) {
        const int g = Grid.GridLineWidth();
        Grid.OnDrawCell(&Grid, rcol, ARow, {rect.Left + 1, rect.Top + 1, rect.Right - g, rect.Bottom - g}, AState);
    }

    if (!HideFocusRect && Grid.Focused() && !opt.Contains(plat::goRowSelect)) {
        const TPoint base = Grid.BaseCell(ACol, ARow);
        if (base.X == Grid.Col() && base.Y == Grid.Row() && !Grid.IsFixed(Grid.Col(), Grid.Row())) {
            const int g = Grid.GridLineWidth() - 1;
            ACanvas->DrawFocusRect({rect.Left - g, rect.Top - g, rect.Right + g - 1, rect.Bottom + g - 1});
        }
    }
}

} // namespace grid
