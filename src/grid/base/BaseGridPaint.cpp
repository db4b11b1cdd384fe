// Cell-frame painting of the grid base: background, hover and active row, selection styles,
// the grid's own lines, then the content painter on the inner rectangle.
#include <algorithm>

#include "BaseGrid.h"
#include "ExtDraw.h"

namespace grid {

using plat::TCanvas;
using plat::TGridDrawState;
using plat::TRect;

namespace {

struct SelectionLook {
    TColor fill, fillTo, innerCorner, border, lowerLine, upperLine, mirrorTo, mirror;
};

// Fill start, fill end, inner corner, border, lower and upper inner line, mirror end and
// start; the last entry is the look without focus.
constexpr SelectionLook kVista{0xFDF8F1, 0xFCEFD5, 0xFCEDCB, 0xFDDE99, 0xFDF5E7, 0xFDFBF6, plat::clNone, plat::clNone};
constexpr SelectionLook kWin7{0xFCEBDC, 0xFCDBC1, 0xE0C5AE, 0xCEA27D, 0xFDEADB, 0xFDF4EB, plat::clNone, plat::clNone};
constexpr SelectionLook kOffice2007{0xD7FFFD, 0x58D4FC, 0xC3D9DF, 0x8DD7D3, 0xCAF8FF, 0xF4FEFF, 0xB3F1FC, 0x58D4FC};
constexpr SelectionLook kNoFocus{0xF8F8F8, 0xE5E5E5, 0xEFEFEF, 0xD9D9D9, 0xF0F0F0, 0xFBFAFA, plat::clNone, plat::clNone};

} // namespace

void TBaseGrid::Paint() {
    inPaint_ = true;
    TObjStringGrid::Paint();
    inPaint_ = false;
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    DoPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DoPaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                            bool WithContent) {
    if (ARow == RowCount() - 1 && FHideLastRow) {
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetColor(Color());
        ACanvas->Rectangle(ARect);
        return;
    }
    int bc = ACol, br = ARow;
    if (!GetBaseCellOf(ACol, ARow, bc, br)) {
        // A cell inside a merged area: the area is drawn from its base, once per paint.
        TCellProperties* bp = Map().Props(bc, br);
        if (!bp) return;
        if (inPaint_) {
            if (bp->PaintID == FPaintID) return;
            bp->PaintID = FPaintID;
        }
        PaintCellFrame(ACanvas, bc, br, ARect, AState, WithContent);
        return;
    }
    if (inPaint_ && WithContent && IsMergedCell(ACol, ARow)) {
        // The base cell itself may come first: it marks the area as drawn too, so the
        // area's other cells do not draw it again in this paint.
        TCellProperties* p = Map().Props(ACol, ARow);
        if (p->PaintID == FPaintID) return;
        p->PaintID = FPaintID;
    }
    PaintCellFrame(ACanvas, ACol, ARow, ARect, AState, WithContent);
}

void TBaseGrid::PaintCellFrame(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                               bool WithContent) {
    if (IsFixed(ACol, ARow) && WithContent) AState.Exclude(plat::gdSelected).Include(plat::gdFixed);
    if (WithContent) ARect = CellRect(ACol, ARow);

    // A merged area that begins under the fixed part must not paint over it.
    const int fw = ACol < FixedCols() ? 0 : Layout().FixedWidth();
    const int fh = ARow >= FixedRows() ? Layout().FixedHeight() : 0;
    int saved = 0;
    if ((ACol >= FixedCols() && FixedCols() > 0 && ARect.Left < fw) ||
        (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < fh)) {
        saved = ACanvas->SaveDC();
        ACanvas->IntersectClipRect(fw, fh, Width(), Height());
    }

    ACanvas->Pen()->SetWidth(1);
    ACanvas->Font()->Assign(Font());
    TColor colorTo = plat::clNone, mirror = plat::clNone, mirrorTo = plat::clNone;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, ACanvas->Brush(), ACanvas->Font(), colorTo, mirror, mirrorTo, gd);
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    if (ARow == FHoverRowIdx && HoverRow &&
        !(AState.Contains(plat::gdSelected) && !HoverRowCells.Contains(hcSelected)) &&
        !(AState.Contains(plat::gdFixed) && !HoverRowCells.Contains(hcFixed))) {
        ACanvas->Brush()->SetColor(HoverRowColor);
        colorTo = HoverRowColorTo;
        mirror = mirrorTo = plat::clNone;
        gd = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && (ACol != Col() || !FShowSel) && ACol >= FixedCols()) ||
        (!WithContent && AState.Contains(plat::gdSelected))) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
        ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
    }

    if (AState.Contains(plat::gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        const plat::TGridRect sel = Selection();
        const int left = std::min(sel.Left, sel.Right), right = std::max(sel.Left, sel.Right);
        int part = 0;
        if (ACol == left && left < right) part = 1;
        else if (ACol == right && right > left) part = 2;
        else if (ACol > left && ACol < right) part = 3;
        TRect r = ARect;
        if (!Options().Contains(plat::goHorzLine)) ++r.Bottom;
        if (!Options().Contains(plat::goVertLine)) ++r.Right;
        const bool focusLook = Focused() || Options().Contains(plat::goDrawFocusSelected);
        const SelectionLook& look = !focusLook ? kNoFocus
                                    : FSelectionStyle == ssVista ? kVista
                                    : FSelectionStyle == ssWin7  ? kWin7
                                                                 : kOffice2007;
        DrawBevelFrame(ACanvas, look.fill, look.fillTo, part, r, Color(), look.innerCorner, look.border,
                       look.lowerLine, look.upperLine, look.mirrorTo, look.mirror);
    } else if (!(UsesVCLStyles() && (AState.Contains(plat::gdFixed) || AState.Contains(plat::gdSelected)))) {
        if (mirrorTo == plat::clNone)
            DrawGradientRect(ACanvas, ACanvas->Brush()->Color(), colorTo, gd == GradientHorizontal, ARect, 64);
        else
            DrawCellBackground(ACanvas, ARect,
                               {.Color = ACanvas->Brush()->Color(), .ColorTo = colorTo, .MirrorColor = mirror,
                                .MirrorColorTo = mirrorTo});
    }

    const bool fixed = AState.Contains(plat::gdFixed);
    int l = 0;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
        l = 1;
    } else if (FGridLineWidth > 0) {
        ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        l = (FGridLineWidth + 1) / 2;
    }
    if (!(BaseCell(ACol, ARow).X == 0 && HasNodes())) {
        if ((Options().Contains(plat::goHorzLine) && !fixed) || (Options().Contains(plat::goFixedHorzLine) && fixed)) {
            ACanvas->MoveTo(ARect.Left - l + 1, ARect.Bottom - l);
            ACanvas->LineTo(ARect.Right - l + 1, ARect.Bottom - l);
        }
    }
    if ((Options().Contains(plat::goVertLine) && !fixed) || (Options().Contains(plat::goFixedVertLine) && fixed)) {
        ACanvas->MoveTo(ARect.Right - l, ARect.Bottom - l);
        ACanvas->LineTo(ARect.Right - l, ARect.Top - l);
    }

    if (WithContent) {
        TRect inner = ARect;
        if (fixed) {
            inner.Right -= 1;
            inner.Bottom -= 2;
        } else {
            inner = {inner.Left + FGridLineWidth, inner.Top + FGridLineWidth, inner.Right - FGridLineWidth,
                     inner.Bottom - FGridLineWidth};
        }
        DrawGridCell(ACanvas, ACol, ARow, inner, AState);
    }
    if (saved) ACanvas->RestoreDC(saved);
    ACanvas->Brush()->SetStyle(plat::bsSolid);
    ACanvas->Pen()->SetStyle(plat::psSolid);
}

} // namespace grid
