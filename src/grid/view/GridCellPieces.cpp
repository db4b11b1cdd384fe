// Small pieces of a cell's text layer: the selection rectangle with its resizer grip, and the
// error marker's underline.
#include <algorithm>

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "GridCellPaint.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

void TExtStringGrid::SetSelectionRectangle(bool Value) {
    if (FSelectionRectangle == Value) return;
    FSelectionRectangle = Value;
    Invalidate();
}

void TExtStringGrid::SetSelectionRectangleColor(TColor Value) {
    if (FSelectionRectangleColor == Value) return;
    FSelectionRectangleColor = Value;
    if (FSelectionRectangle) Invalidate();
}

void TExtStringGrid::SetSelectionResizer(bool Value) {
    if (FSelectionResizer == Value) return;
    FSelectionResizer = Value;
    if (FSelectionRectangle) Invalidate();
}

// Step 9 of the text layer: the edges of the selection that pass through this cell, 2 pixels
// wide, and the resizer grip on the selection's bottom-right cell.
void TExtStringGrid::PaintSelectionRectangle(TCellPaint& P) {
    if (!FSelectionRectangle || P.Fixed) return;
    plat::TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    int selLeft = left, selTop = top;
    if (IsMergedCell(left, top)) {
        const TPoint b = BaseCell(left, top);
        selLeft = b.X;
        selTop = b.Y;
    }
    const int c = P.ACol, r = P.ARow;
    if (c < std::min(selLeft, left) || c > right || r < std::min(selTop, top) || r > bottom) return;
    TCanvas* cv = P.C;
    const TRect& R = P.Rect;
    const int g = GridLineWidth();
    cv->Pen()->SetColor(FSelectionRectangleColor);
    cv->Pen()->SetWidth(2);
    auto line = [cv](int x1, int y1, int x2, int y2) {
        cv->MoveTo(x1, y1);
        cv->LineTo(x2, y2);
    };
    const bool atRight = c == right;
    if (c == selLeft) line(R.Left - g + 1, R.Bottom, R.Left - g + 1, R.Top - g);
    if (atRight) line(R.Right - 1, R.Bottom, R.Right - 1, R.Top - g);
    if (r == selTop) line(R.Left - g, R.Top - g + 1, atRight ? R.Right - 1 : R.Right, R.Top - g + 1);
    if (r == bottom) line(R.Left - g, R.Bottom, atRight ? R.Right - 1 : R.Right, R.Bottom);
    if (FSelectionResizer && atRight && r == bottom) {
        cv->Brush()->SetColor(FSelectionRectangleColor);
        cv->FillRect({R.Right - 4, R.Bottom - 4, R.Right, R.Bottom});
    }
    cv->Pen()->SetWidth(1);
}

// Step 10f: ErrLen characters from ErrPos (1-based) of a plain text underlined with the red
// zig-zag, on a cell whose graphic is the marker itself or a value graphic. The line runs
// under the first text line as the flags place it.
void TExtStringGrid::PaintErrorMarker(TCellPaint& P, const String& Text, TRect R, unsigned Flags) {
    const TCellGraphic* g = GetCellGraphic(P.RCol, P.ARow);
    if (!g || (g->CellType != ctEmpty && g->CellType != ctValue) || g->CellErrLen <= 0) return;
    TCanvas* c = P.C;
    const int h = c->TextHeight(u"gh");
    int top = R.Top;
    if (Flags & plat::DT_SINGLELINE) {
        if (Flags & plat::DT_VCENTER) top = R.Top + (R.Height() - h) / 2;
        else if (Flags & plat::DT_BOTTOM) top = R.Bottom - h;
    }
    const String first = Text.substr(0, std::min(Text.find_first_of(u"\r\n"), Text.size()));
    DrawErrorUnderline(this, c, first, g->CellErrLen, std::max(0, g->CellErrFrom - 1), h - 3,
                       {R.Left, top, R.Right, R.Bottom});
}

} // namespace grid
