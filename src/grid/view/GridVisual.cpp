// Visual properties of a string grid cell: brush, gradient colours, font, alignment and word
// wrap, decided in a fixed order (cell properties, bands, fixed look, colour hooks, the
// selection kinds, disabled rows); and the look settings that store a value and repaint.
#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TGridDrawState;

namespace {

bool InSelection(const plat::TGridRect& s, int ACol, int ARow) {
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

// Each RGB component scaled by 107 percent, clamped to 255.
TColor Lighten7(TColor c) {
    const TColor rgb = plat::ColorToRGB(c);
    auto up = [](int v) { return std::min(255, v * 107 / 100); };
    return plat::RGB(up(plat::GetRValue(rgb)), up(plat::GetGValue(rgb)), up(plat::GetBValue(rgb)));
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

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, plat::TBrush* ABrush,
                                         plat::TFont* AFont, TColor& ColorTo, TColor& MirrorColor,
                                         TColor& MirrorColorTo, TCellGradientDirection& GradientDirection) {
    // The cell-frame painting hands display columns: the colours are those of the real column
    // (with a hidden column before it, a display column would take its neighbour's colours).
    TCellVisual v;
    v.WordWrap = WordWrap();
    v.GD = GradientDirection;
    GetVisualProperties(ACol, ARow, AState, TVisualRequest{.Print = false, .Select = true, .Remap = true}, ABrush,
                        AFont, v);
    ColorTo = v.ColorTo;
    MirrorColor = v.MirrorColor;
    MirrorColorTo = v.MirrorColorTo;
    GradientDirection = v.GD;
}

// Disjunct row and column selection (steps 10 and 11): true when the cell is painted
// selected; AState then holds exactly gdSelected, otherwise it loses gdSelected.
bool TExtStringGrid::SelectedInDisjunct(int ACol, int ARow, int RealRow, TGridDrawState& AState, bool Select,
                                        bool Print, bool Fixed) {
    const bool normal = ACol >= FixedCols() && ARow >= FixedRows();
    if (!normal || Print || !Select || !ShowSelection() || Fixed) return false;
    const bool down = FMouseDown;
    if (FMouseActions->DisjunctRowSelect()) {
        const bool rowSel = GetRowSelect(RealRow);
        const bool unselected = ((down && ARow == Row()) || !rowSel) && (!down || rowSel || !AState.Contains(plat::gdSelected));
        if (unselected) {
            AState.Exclude(plat::gdSelected);
            return false;
        }
        AState = TGridDrawState{plat::gdSelected};
        return true;
    }
    if (FMouseActions->DisjunctColSelect()) {
        const bool colSel = GetColSelect(ACol);
        const bool selected = ((!down || ACol != Col()) && colSel) || (down && !colSel && AState.Contains(plat::gdSelected));
        if (!selected) {
            AState.Exclude(plat::gdSelected);
            return false;
        }
        AState = TGridDrawState{plat::gdSelected};
        return true;
    }
    return false;
}

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, TVisualRequest Req,
                                         plat::TBrush* ABrush, plat::TFont* AFont, TCellVisual& Out) {
    const int rcol = Req.Remap ? DisplToRealCol(ACol) : ACol;
    const bool persistentRows = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent;
    const int rrow = persistentRows || UseEnabledRows() ? DisplToRealRow(ARow) : ARow;
    const int fixedCols = FixedCols(), fixedRows = FixedRows();
    const bool normal = ACol >= fixedCols && ARow >= fixedRows;
    TPrintSettings* ps = PrintSettings();

    // 1-2. Font and no colours.
    if (normal)
        AFont->Assign(Req.Print && !ps->UseDisplayFont ? ps->Font : *Font());
    else
        AFont->Assign(Req.Print && !ps->UseDisplayFont ? ps->FixedFont : *FixedFont());
    ABrush->SetColor(plat::clNone);
    Out.ColorTo = Out.MirrorColor = Out.MirrorColorTo = plat::clNone;

    // 3. The cell's own colours and font.
    bool ownColor = false;
    if (const TCellProperties* p = Map().Props(rcol, ARow)) {
        const TColor bc = p->BrushColor();
        switch (GetCellType(rcol, ARow)) {
        case ctNone:
        case ctRotated:
        case ctEmpty:
            if (bc != plat::clNone) {
                ABrush->SetColor(bc);
                ownColor = true;
            }
            break;
        default:
            // Control cells (check boxes, radios, buttons) and every other kind take the colour
            // as it is; only plain cells count as having a colour of their own.
            ABrush->SetColor(bc);
            break;
        }
        if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        if (!(p->FontStyle == plat::TFontStyles{})) AFont->SetStyle(p->FontStyle);
        if (p->FontSize != 0) AFont->SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont->SetName(p->FontName);
        Out.WordWrap = p->WordWrap();
        Out.ColorTo = p->BrushColorTo();
        Out.GD = p->GradientDirection;
    }
    // 4.
    if (AState.Contains(plat::gdSelected)) Out.GD = GradientVertical;

    // 5. Grid colour, bands, fixed colour.
    if (ABrush->Color() == plat::clNone) {
        ABrush->SetColor(Color());
        TBands* bands = Bands();
        if (bands->Active() && (!Req.Print || bands->Print) && ACol >= fixedCols &&
            ACol < ColCount() + NumHiddenColumns() - FixedRightCols && ARow >= fixedRows &&
            ARow < RowCount() - FixedFooters && bands->TotalLength() > 0) {
            ABrush->SetColor((ARow - fixedRows) % bands->TotalLength() < bands->PrimaryLength()
                                 ? bands->PrimaryColor()
                                 : bands->SecondaryColor());
        }
        if (ACol < fixedCols || ARow < fixedRows || ACol >= ColCount() - FixedRightCols ||
            ARow >= RowCount() - FixedFooters)
            ABrush->SetColor(FixedColor());
    }

    // 6. Fixed look.
    const bool fixed = IsFixed(ACol, ARow) || ACol < fixedCols || ARow < fixedRows;
    if (fixed && !ownColor) {
        if (!Req.Print) {
            ABrush->SetColor(FixedColor());
            AFont->Assign(*FixedFont());
            AState.Include(plat::gdFixed);
        }
        if (Look() > glClassic) {
            ABrush->SetColor(ZODGradientFrom);
            Out.ColorTo = ZODGradientTo;
            Out.MirrorColor = ZODGradientMirrorFrom;
            Out.MirrorColorTo = ZODGradientMirrorTo;
        }
    }

    // 7-8. Colour hooks.
    if (Req.Print)
        GetCellPrintColor(rcol, ARow, AState, ABrush, AFont);
    else
        GetCellColor(rcol, ARow, AState, ABrush, AFont);
    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, rcol, c, Out.ColorTo, Out.MirrorColor, Out.MirrorColorTo, Out.GD);
        ABrush->SetColor(c);
    }

    // 9. The unselected colours.
    const TColor plainBrush = ABrush->Color(), plainFont = AFont->Color();
    auto applySelection = [&] {
        ABrush->SetColor(ABrush->Color() == Color() ? SelectionColor()
                                                     : SelectionMixColor(FSelectionColorMixer,
                                                                         SelectionColorMixerFactor(), SelectionColor(),
                                                                         ABrush->Color()));
        Out.ColorTo = SelectionColorTo();
        Out.MirrorColor = SelectionMirrorColor();
        Out.MirrorColorTo = SelectionMirrorColorTo();
        if (FSelectionTextColor != plat::clNone) AFont->SetColor(FSelectionTextColor);
        AState.Include(plat::gdSelected);
    };

    // 10-11. Disjunct row and column selection.
    if (SelectedInDisjunct(ACol, ARow, rrow, AState, Req.Select, Req.Print, fixed)) applySelection();

    // 12. Range selection.
    const bool disjunctRC = FMouseActions->DisjunctRowSelect() || FMouseActions->DisjunctColSelect();
    if ((Req.Select && !Req.Print && ShowSelection() && !fixed && InSelection(Selection(), ACol, ARow) && !disjunctRC) ||
        (AState.Contains(plat::gdSelected) && FMouseDown && ShowSelection() && !disjunctRC))
        applySelection();

    // 13. Disjunct cell selection.
    if (FMouseActions->DisjunctCellSelect() && ShowSelection() && !fixed) {
        if (SelectedCells(rcol, ARow)) {
            ABrush->SetColor(plainBrush);
            applySelection();
        } else if (ACol == Col() && ARow == Row()) {
            AState.Exclude(plat::gdSelected);
            ABrush->SetColor(plainBrush);
            AFont->SetColor(plainFont);
            Out.ColorTo = Out.MirrorColor = Out.MirrorColorTo = plat::clNone;
        }
    }

    // 14. Disabled rows and a disabled grid.
    if (UseDisabledFont && ((UseEnabledRows() && !RowEnabled(rrow)) || !Enabled()))
        AFont->SetColor(DisabledFontColor);

    // 15. A selected cell outside the current row under disjunct row selection.
    if (FMouseActions->DisjunctRowSelect() && SelectionColorTo() == plat::clNone && ARow != Row() &&
        InSelection(Selection(), ACol, ARow))
        ABrush->SetColor(Lighten7(ABrush->Color()));

    // 16.
    GetCellWordWrap(rcol, ARow, Out.WordWrap);
    GetCellHVAlignment(rcol, ARow, Out.HA, Out.VA);
}

void TExtStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState& AState, plat::TFont* AFont,
                                       plat::TBrush* ABrush, bool Remap) {
    (void)Remap;
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? *FixedFont() : *Font());
    if (const TCellProperties* p = Map().Props(RCol, ARow)) {
        if (p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
        if (!(p->FontStyle == plat::TFontStyles{})) AFont->SetStyle(p->FontStyle);
        if (p->FontSize != 0) AFont->SetSize(p->FontSize);
        if (!p->FontName.empty()) AFont->SetName(p->FontName);
    }
    GetCellColor(RCol, ARow, AState, ABrush, AFont);
}

void TExtStringGrid::GetCellHVAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA) {
    HA = FDefaultAlignment;
    VA = VAlignment();
    if (AutoNumAlign) {
        const String text = Cells(ACol, ARow);
        // Formulas (a leading "=" or the "|\x=" form) show no number of their own here.
        const bool formula = (!text.empty() && text[0] == u'=') ||
                             (text.size() > 3 && text[0] == u'|' && text[1] == u'\\' && text[3] == u'=');
        if (!formula) {
            const int kind = ClassifyNumberText(plat::Trim(text));
            if (kind == nkInteger || kind == nkReal || kind == nkExponent) HA = plat::taRightJustify;
        }
    }
    if (const TCellProperties* p = Map().Props(ACol, ARow)) HA = p->Alignment;
    GetCellAlignment(ACol, ARow, HA, VA);
}

// ---- look settings ------------------------------------------------------------------------

void TExtStringGrid::SetFlat(bool Value) {
    if (FFlat == Value) return;
    FFlat = Value;
    // The window's 3D frame follows the flat look.
    SetCtl3D(!FFlat);
    if (!HasState(plat::csLoading)) Invalidate();
}

void TExtStringGrid::SetZoomFactor(int Value) {
    if (FZoomFactor == Value) return;
    FZoomFactor = Value;
    Invalidate();
}

void TExtStringGrid::SetHideFocusRect(bool Value) {
    if (FHideFocusRect == Value) return;
    FHideFocusRect = Value;
    Invalidate();
}

void TExtStringGrid::SetDefaultAlignment(plat::TAlignment Value) {
    if (FDefaultAlignment == Value) return;
    FDefaultAlignment = Value;
    Invalidate();
}

void TExtStringGrid::SetNoDefaultDraw(bool Value) {
    if (FNoDefaultDraw == Value) return;
    FNoDefaultDraw = Value;
    Invalidate();
}

void TExtStringGrid::SetHoverFixedCells(THoverFixedCells Value) {
    if (FHoverFixedCells == Value) return;
    FHoverFixedCells = Value;
    Invalidate();
}

void TExtStringGrid::SetSelectionTextColor(TColor Value) {
    if (FSelectionTextColor == Value) return;
    FSelectionTextColor = Value;
    Invalidate();
}

void TExtStringGrid::SetSelectionColorMixer(bool Value) {
    if (FSelectionColorMixer == Value) return;
    FSelectionColorMixer = Value;
    Invalidate();
}

void TExtStringGrid::SetZODGradientFrom(TColor Value) {
    ZODGradientFrom = Value == plat::clNone ? Value : plat::ColorToRGB(Value);
    Invalidate();
}

void TExtStringGrid::SetZODGradientTo(TColor Value) {
    ZODGradientTo = Value == plat::clNone ? Value : plat::ColorToRGB(Value);
    Invalidate();
}

void TExtStringGrid::SetZODGradientMirrorFrom(TColor Value) {
    ZODGradientMirrorFrom = Value == plat::clNone ? Value : plat::ColorToRGB(Value);
    Invalidate();
}

void TExtStringGrid::SetZODGradientMirrorTo(TColor Value) {
    ZODGradientMirrorTo = Value == plat::clNone ? Value : plat::ColorToRGB(Value);
    Invalidate();
}

void TExtStringGrid::SetHoverFixedCell(int X, int Y) {
    if (X == FHoverFixedX && Y == FHoverFixedY) return;
    if (FHoverFixedX >= 0 && FHoverFixedY >= 0) InvalidateCell(FHoverFixedX, FHoverFixedY);
    FHoverFixedX = X;
    FHoverFixedY = Y;
    if (X >= 0 && Y >= 0) InvalidateCell(X, Y);
}

void TExtStringGrid::SetMouseDownMove(bool Value) {
    if (FMouseDownMove == Value) return;
    FMouseDownMove = Value;
    if (FHoverFixedX >= 0 && FHoverFixedY >= 0) InvalidateCell(FHoverFixedX, FHoverFixedY);
}

} // namespace grid
