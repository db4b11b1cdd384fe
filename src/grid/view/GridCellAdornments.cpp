// Small pieces of a cell's painting around its text: the row indicator, the filter glyph, the
// in-cell scroll bar, the always-visible drop-down and spin buttons; the show-selection flag
// and following the office colour theme.
#include <algorithm>

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "ExtStyleIF.h"
#include "GridCellPaint.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Resources.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

// ---- scroll bar geometry ---------------------------------------------------------------------

TCellScrollThumb CellScrollThumb(int Track, int Page, int Range, int Position) {
    // Positions run from 0 to Range - Page + 1, as the platform's bars with a page do; the
    // thumb is never shorter than 8 pixels nor longer than the track.
    TCellScrollThumb t;
    if (Track <= 0 || Range <= 0) return t;
    const int span = Range + 1;
    const int page = std::clamp(Page, 1, span);
    t.Length = std::clamp(static_cast<int>(static_cast<long long>(Track) * page / span), std::min(8, Track), Track);
    const int maxPos = span - page;
    if (maxPos <= 0) return t;
    const int pos = std::clamp(Position, 0, maxPos);
    t.Offset = static_cast<int>(static_cast<long long>(Track - t.Length) * pos / maxPos);
    return t;
}

// Step 2: a cell whose scroll range exceeds its page shows a vertical bar at its right edge;
// the text moves up by the bar's position.
void TExtStringGrid::PaintCellScrollBar(TCellPaint& P) {
    const TPoint b = BaseCell(P.RCol, P.ARow);
    const TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType != ctScrollbar) return;
    const int page = g->CellAngle, range = g->CellErrFrom, pos = g->CellIndex;
    if (range <= page) return;
    TCanvas* c = P.C;
    const int w = std::min(plat::GetSystemMetrics(plat::SM_CXVSCROLL), std::max(0, P.Rect.Width()));
    if (w <= 0) return;
    const TRect bar{P.Rect.Right - w, P.Rect.Top, P.Rect.Right, P.Rect.Bottom};
    const TColor savedBrush = c->Brush()->Color();
    c->Brush()->SetColor(plat::clScrollBar);
    c->FillRect(bar);
    // Arrow boxes are square unless the cell is too low for two of them.
    const int arrow = std::min(w, bar.Height() / 2);
    plat::DrawFrameControl(c, {bar.Left, bar.Top, bar.Right, bar.Top + arrow}, plat::DFC_SCROLL, plat::DFCS_SCROLLUP);
    plat::DrawFrameControl(c, {bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom}, plat::DFC_SCROLL,
                           plat::DFCS_SCROLLDOWN);
    const int track = bar.Height() - 2 * arrow;
    const TCellScrollThumb t = CellScrollThumb(track, page, range, pos);
    if (t.Length > 0) {
        TRect thumb{bar.Left, bar.Top + arrow + t.Offset, bar.Right, bar.Top + arrow + t.Offset + t.Length};
        plat::DrawFrameControl(c, thumb, plat::DFC_BUTTON, plat::DFCS_BUTTONPUSH);
    }
    c->Brush()->SetColor(savedBrush);
    P.Rect.Right -= w;
    P.ScrollOffset = pos;
}

// ---- row indicator ---------------------------------------------------------------------------

void TExtStringGrid::SetRowIndicator(const plat::TBitmap* Value) {
    if (Value)
        FRowIndicator->Assign(*Value);
    else
        FRowIndicator = std::make_unique<plat::TBitmap>();
    RepaintCell(0, Row());
}

bool TExtStringGrid::ShowsRowIndicator(int RCol, int ARow) {
    if (RCol != 0 || ARow != Row() || FixedCols() <= 0 || FRowIndicator->Empty()) return false;
    return !(FixedRowAlways && RowCount() <= FixedRows());
}

// Step 10: the indicator bitmap, drawn transparently 2 pixels in from the left, placed
// vertically by VAlignment; the text starts after it.
void TExtStringGrid::PaintRowIndicator(TCellPaint& P) {
    if (!ShowsRowIndicator(P.RCol, P.ARow)) return;
    const plat::TBitmap* bmp = FRowIndicator.get();
    const int h = bmp->Height();
    int y = P.Rect.Top;
    if (FVAlignment == vtaCenter) y = P.Rect.Top + (P.Rect.Height() - h) / 2;
    else if (FVAlignment == vtaBottom) y = P.Rect.Bottom - h;
    DrawTransparentBitmap(P.C, bmp, P.Rect.Left + 2, y);
    P.Rect.Left += bmp->Width() + 2;
    P.IndicatorWidth = bmp->Width();
}

// ---- filter glyph ----------------------------------------------------------------------------

// Step 5 of the text layer: the filter button's glyph in the 16 pixels at the cell's right,
// over the fixed colour.
void TExtStringGrid::PaintFilterGlyph(TCellPaint& P, TRect R) {
    static const plat::TBitmap* glyph = [] {
        auto* b = new plat::TBitmap;
        plat::LoadBitmapResource(u"ESGFILT", *b);
        return b;
    }();
    TCanvas* c = P.C;
    const TColor saved = c->Brush()->Color();
    c->Brush()->SetColor(FixedColor());
    c->FillRect({R.Right - 16, R.Top, R.Right, R.Bottom});
    c->Brush()->SetColor(saved);
    DrawTransparentBitmap(c, glyph, R.Right - 16, R.Top);
}

// ---- always-visible buttons ------------------------------------------------------------------

// Step 14: the drop-down and spin buttons of a normal cell's editor, drawn as if the editor
// were open; a cell that cannot be edited shows them disabled.
void TExtStringGrid::PaintAlwaysVisibleButtons(TCellPaint& P) {
    const TControlLook* cl = FControlLook.get();
    if (P.Fixed || !(cl->DropDownAlwaysVisible || cl->SpinButtonsAlwaysVisible)) return;
    const bool combo = HasComboBox(P.RCol, P.ARow);
    const bool spin = HasSpinEdit(P.RCol, P.ARow);
    if (!combo && !spin) return;
    int kind = cl->FlatButton ? 2 : IsWinXP() ? 0 : 1;
    if (FFlat && FTones.Background.BrushColor != plat::clNone) kind = 3;
    bool canEdit = true;
    CheckCanEdit(P.RCol, P.ARow, canEdit);
    const int state = canEdit ? 0 : 3;
    TCanvas* c = P.C;
    const TColor savedBrush = c->Brush()->Color();
    TRect& r = P.Rect;
    if (combo) {
        DrawComboButton(c, this, {r.Left - 2, r.Top - 1, r.Right + 1, r.Bottom}, FTones, state, kind);
        r.Right -= 16;
    }
    if (spin) {
        DrawSpinButtons(c, this, r, FTones, state, kind);
        r.Right -= 16;
    }
    c->Brush()->SetColor(savedBrush);
}

// ---- show selection and the office theme -----------------------------------------------------

void TExtStringGrid::SetShowSelection(bool Value) {
    if (FShowSelection == Value) return;
    FShowSelection = Value;
    SetShowSel(Value);
    Invalidate();
}

void TExtStringGrid::SetAutoThemeAdapt(bool Value) {
    if (FAutoThemeAdapt == Value) return;
    FAutoThemeAdapt = Value;
    FSearchFooter->SetAutoThemeAdapt(Value);
    if (Value) {
        FollowOfficeTheme();
        Invalidate();
    }
    if (IsDesigning() || !HandleAllocated() || HasState(plat::csLoading)) return;
    TThemeNotifier* n = GetThemeNotifier(plat::Application);
    if (Value)
        n->RegisterWindow(Handle());
    else
        n->UnRegisterWindow(Handle());
}

void TExtStringGrid::FollowOfficeTheme() {
    if (IsDesigning()) return;
    ApplyOfficeTheme(OfficeThemeFromRegistry());
}

void TExtStringGrid::ApplyOfficeTheme(TOfficeTheme Theme) {
    if (IsDesigning() || Theme == FOfficeTheme || Theme == otUnknown) return;
    static constexpr TExtStyle styles[] = {
        tsOffice2003Blue,     tsOffice2003Silver,   tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
        tsOffice2007Silver,   tsOffice2007Obsidian, tsOffice2010Blue,  tsOffice2010Silver,  tsOffice2010Black,
    };
    SetComponentStyle(styles[Theme]);
    FOfficeTheme = Theme;
}

// The theme messages and the window's end (WM_DESTROY) for a grid that follows the theme.
void TExtStringGrid::ThemeMessage(const plat::TMessage& Message) {
    if (!FAutoThemeAdapt) return;
    switch (Message.Msg) {
    case plat::WM_THEMECHANGED:
    case WM_OFFICETHEMECHANGED: FollowOfficeTheme(); break;
    case plat::WM_DESTROY:
        if (!IsDesigning()) GetThemeNotifier(plat::Application)->UnRegisterWindow(Handle());
        break;
    default: break;
    }
}

} // namespace grid
