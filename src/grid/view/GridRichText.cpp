// Rich-text cells: a cell's text handed to a rich edit, rendered into the cell inset by
// XYOffset, and measured for automatic sizing.
#include <algorithm>

#include "ExtGrid.h"
#include "GridCellPaint.h"
#include "plat/ComCtrls.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

plat::TCustomRichEdit* TExtStringGrid::HiddenRichEdit() {
    if (!FRichEdit) {
        FRichEdit = new plat::TRichEdit(this);
        FRichEdit->SetVisible(false);
        FRichEdit->Font()->SetColor(plat::clBlack);
    }
    return FRichEdit;
}

// The text goes to the reader as it is: every UTF-16 character stays intact, whatever its
// code (a byte-wise copy would keep only each character's low byte).
void TExtStringGrid::CellToRich(int ACol, int ARow, plat::TCustomRichEdit* RichEdit) {
    const String text = Cells(ACol, ARow);
    if (text.empty()) {
        RichEdit->Clear();
        return;
    }
    RichEdit->LoadRichText(text);
}

bool TExtStringGrid::RTFCellSelected(int ACol, int ARow) {
    const int dcol = DisplColIndex(ACol);
    const plat::TGridRect s = Selection();
    const bool inSel = dcol >= std::min(s.Left, s.Right) && dcol <= std::max(s.Left, s.Right) &&
                       ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
    const bool current = dcol == Col() && ARow == Row();
    if (inSel && !(current && !Options().Contains(plat::goDrawFocusSelected))) return true;
    if (FMouseActions->DisjunctRowSelect() && GetRowSelect(ARow)) return true;
    return FMouseActions->DisjunctColSelect() && GetColSelect(ACol);
}

void TExtStringGrid::PaintRTFCell(int ACol, int ARow, TRect ARect, TCanvas* Canvas) {
    plat::TCustomRichEdit* re = HiddenRichEdit();
    CellToRich(ACol, ARow, re);
    Canvas->Brush()->SetStyle(plat::bsClear);
    if (!SelectionRTFKeep && FSelectionTextColor != plat::clNone && RTFCellSelected(ACol, ARow))
        re->SetTextColor(FSelectionTextColor, 65535);
    // Twips at the canvas's resolution, inset by XYOffset scaled from 96 pixels per inch.
    const int ppi = plat::ScreenPixelsPerInch;
    const int dx = XYOffset().X * ppi / 96, dy = XYOffset().Y * ppi / 96;
    const TRect twips{plat::PixelsToTwips(ARect.Left + dx, ppi), plat::PixelsToTwips(ARect.Top + dy, ppi),
                      plat::PixelsToTwips(ARect.Right - dx, ppi), plat::PixelsToTwips(ARect.Bottom - dy, ppi)};
    re->FormatRange(Canvas, twips);
}

// Steps 4 and 7 of measuring a rich-text cell: the size the content requests in R, without
// word wrap or, with WordWrapEx, wrapped at R's width; the height + 4.
TPoint TExtStringGrid::RichTextSize(int ACol, int ARow, TRect R) {
    plat::TCustomRichEdit* re = HiddenRichEdit();
    re->Clear();
    re->SetBounds(0, 0, 0, 0);
    re->SetWordWrap(false);
    CellToRich(ACol, ARow, re);
    const plat::TRichCharFormat f = re->Document().FirstFormat();
    Canvas()->Font()->SetName(f.FontName);
    Canvas()->Font()->SetSize(f.Size);
    plat::TFontStyles st;
    if (f.Bold) st += plat::fsBold;
    if (f.Italic) st += plat::fsItalic;
    if (f.Underline) st += plat::fsUnderline;
    if (f.StrikeOut) st += plat::fsStrikeOut;
    Canvas()->Font()->SetStyle(st);
    re->SetBounds(0, 0, std::max(0, R.Width()), std::max(0, R.Height()));
    re->SetWordWrap(WordWrapEx);
    const plat::TSize s = re->RequestSize();
    return {s.cx, s.cy + 4};
}

} // namespace grid
