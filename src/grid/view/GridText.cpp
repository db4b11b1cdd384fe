// The text layer of a string grid cell: selection colours, the formatted or masked text as
// plain text or markup, links, the sort indicator of a header; and the measuring of a cell's
// content for automatic sizing.
#include <algorithm>
#include <cmath>

#include "EsgHTMLE.h"
#include "ExtGrid.h"
#include "ExtUtil.h"
#include "GridCellPaint.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

namespace {

bool IsLinkText(const String& t) {
    return t.find(u"://") != String::npos || t.find(u"mailto:") != String::npos;
}

// A link without its scheme ("https://a.b" shows "a.b"; "mailto:x" shows "x").
String ShortLink(const String& t) {
    const auto p = t.find(u"://");
    if (p != String::npos) return t.substr(p + 3);
    const auto m = t.find(u"mailto:");
    return m != String::npos ? t.substr(m + 7) : t;
}

String FirstLine(const String& t) {
    const auto p = t.find_first_of(u"\r\n");
    return p == String::npos ? t : t.substr(0, p);
}

} // namespace

unsigned TExtStringGrid::CellTextFlags(plat::TAlignment HA, TVAlignment VA, bool WW, String& Text) const {
    unsigned f = plat::DT_EXPANDTABS | plat::DT_NOPREFIX;
    f |= HA == plat::taRightJustify ? plat::DT_RIGHT : HA == plat::taCenter ? plat::DT_CENTER : plat::DT_LEFT;
    f |= VA == vtaCenter ? plat::DT_VCENTER : VA == vtaBottom ? plat::DT_BOTTOM : plat::DT_TOP;
    if (WW || MultilineCells) {
        f |= plat::DT_WORDBREAK | plat::DT_EDITCONTROL;
        if (WW && !MultilineCells && FEnhTextSize) f |= plat::DT_END_ELLIPSIS;
    } else {
        // One line: the text up to its first line break.
        Text = FirstLine(Text);
        f |= plat::DT_SINGLELINE;
        if (FEnhTextSize) f |= plat::DT_END_ELLIPSIS;
    }
    if (!WW && Text.find_first_of(u"\r\n") != String::npos) f |= plat::DT_EDITCONTROL;
    return f;
}

bool TExtStringGrid::ShowsSortIndicator(int ACol, int ARow) {
    const TSortSettings* ss = SortSettings();
    int row = ARow;
    if (IsMergedCell(ACol, ARow)) row = BaseCell(ACol, ARow).Y + CellSpan(ACol, ARow).Y;
    if (row != ss->Row() || !ss->Show() || RowCount() <= FixedRows() + 1) return false;
    const int pos = SortIndexes()->FindIndex(ACol);
    if (ACol != ss->Column && pos < 0) return false;
    if (FixedRows() <= 0) return false;
    if (DisplColIndex(ACol) < FixedCols() && !ss->FixedCols) return false;
    return pos < 1 || ss->IndexShow;
}

void TExtStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int Y, int X) {
    const TSortSettings* ss = SortSettings();
    const plat::TPen saved(*Canvas->Pen());
    Canvas->Pen()->SetWidth(1);
    auto line = [Canvas](TColor c, int x1, int y1, int x2, int y2) {
        Canvas->Pen()->SetColor(c);
        Canvas->MoveTo(x1, y1);
        Canvas->LineTo(x2, y2);
    };
    const int pos = ss->IndexShow ? SortIndexes()->FindIndex(ACol) : -1;
    if (ss->IndexShow && pos >= 0) {
        const bool ascending = SortIndexes()->SortDirections(pos);
        const bool glyphs = !ss->IndexUpGlyph()->Empty() && !ss->IndexDownGlyph()->Empty();
        Canvas->Brush()->SetColor(ss->IndexColor);
        Canvas->Pen()->SetColor(plat::clBlack);
        if (glyphs) {
            DrawTransparentBitmap(Canvas, ascending ? ss->IndexDownGlyph() : ss->IndexUpGlyph(), X - 7, Y - 7);
        } else if (!ascending) {
            Canvas->Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
        } else {
            Canvas->Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
        }
        plat::TFont font(*Canvas->Font());
        Canvas->Font()->SetColor(plat::clBlack);
        Canvas->Font()->SetSize(6);
        Canvas->Brush()->SetStyle(plat::bsClear);
        Canvas->TextOut(X - 2, ascending ? Y - 2 : Y - 4, plat::IntToStr(pos + 1));
        Canvas->Brush()->SetStyle(plat::bsSolid);
        Canvas->Font()->Assign(font);
    } else if (ss->Direction == sdDescending) {
        if (ss->UpGlyph()->Empty() || ss->DownGlyph()->Empty()) {
            line(plat::clWhite, X + 4, Y - 4, X, Y + 4);
            line(plat::clGray, X, Y + 4, X - 4, Y - 4);
            Canvas->LineTo(X + 4, Y - 4);
        } else {
            DrawTransparentBitmap(Canvas, ss->DownGlyph(), X - 4, Y - 4);
        }
    } else {
        if (ss->UpGlyph()->Empty() || ss->DownGlyph()->Empty()) {
            line(plat::clWhite, X - 4, Y + 4, X + 4, Y + 4);
            Canvas->LineTo(X, Y - 4);
            line(plat::clGray, X, Y - 4, X - 4, Y + 4);
        } else {
            DrawTransparentBitmap(Canvas, ss->UpGlyph(), X - 4, Y - 4);
        }
    }
    Canvas->SetPen(&saved);
    Canvas->Pen()->SetColor(plat::clBlack);
}

// Step 16 of the cell painting.
void TExtStringGrid::DrawCellText(TCellPaint& P) {
    TCanvas* c = P.C;
    const int C = P.RCol, R = P.ARow;
    const bool selected = P.State.Contains(plat::gdSelected) && !P.Fixed;
    TColor linkColor = URLColor();
    if (selected && ShowSelection()) {
        if (SelectionColor() != plat::clNone) c->Brush()->SetColor(SelectionColor());
        if (FSelectionTextColor != plat::clNone && Enabled()) c->Font()->SetColor(FSelectionTextColor);
        if (FSelectionTextColor != plat::clNone) linkColor = FSelectionTextColor;
    }

    String text = GetFormattedCell(C, R);
    bool password = false;
    IsPasswordCell(C, R, password);
    if (password) text = String(text.size(), PasswordChar);

    TRect r = P.Rect;
    if (P.Fixed) {
        r.Left += GridLineWidth();
        r.Top += GridLineWidth();
    }
    // 4. A scrolled cell's text moves up, clipped to the cell; the clip ends with the text.
    struct ClipGuard {
        TCanvas* C;
        int Saved = 0;
        ~ClipGuard() {
            if (Saved) C->RestoreDC(Saved);
        }
    } clip{c};
    if (P.ScrollOffset > 0) {
        clip.Saved = c->SaveDC();
        c->IntersectClipRect(P.Rect.Left, P.Rect.Top, P.Rect.Right, P.Rect.Bottom);
        r.Top -= P.ScrollOffset;
    }
    // 7-8 and 5. The background picture or gradient; the filter glyph over it, so that a
    // picture under fixed cells never hides the button.
    PaintCellBackGround(P, selected);
    if (P.FilterGlyph) PaintFilterGlyph(P, P.Rect);
    PaintSelectionRectangle(P);
    if (!P.TextToo) return;

    // Insets and the room of the graphic.
    r.Left += XYOffset().X;
    r.Top += XYOffset().Y;
    if (!XYOffsetTopLeftOnly) r.Right -= XYOffset().X;
    int extraLeft = 0;
    if (P.G) {
        switch (P.GHA) {
        case haBeforeText: r.Left += P.GW; break;
        case haAfterText: r.Right -= P.GW; break;
        default: break;
        }
        if (P.GVA == vaAboveText) r.Top += P.GH;
        if (P.GVA == vaUnderText) r.Bottom -= P.GH;
        if (P.GHA == haLeft || (P.GHA == haBeforeText && P.V.HA == plat::taLeftJustify)) extraLeft = P.GW;
    }
    if (C == 0 && HasNodes() && !IsNode(R)) r.Left += GetRowIndent(R);

    const bool sortMark = ShowsSortIndicator(C, R);
    auto sortY = [&](const TRect& tr) {
        return P.V.VA == vtaTop ? tr.Top + 8 : P.V.VA == vtaBottom ? tr.Bottom - 8 : (tr.Top + tr.Bottom) / 2;
    };

    const int kind = DetectCellTextKind(text, EnableHTML);
    if (kind == ctRtf) {
        // The rich text is inset by XYOffset once, inside PaintRTFCell: its rectangle is the
        // text rectangle before the insets of step 10a.
        TRect rr = r;
        rr.Left -= XYOffset().X;
        rr.Top -= XYOffset().Y;
        if (!XYOffsetTopLeftOnly) rr.Right += XYOffset().X;
        c->Pen()->SetColor(c->Brush()->Color());
        if (!(selected && !P.State.Contains(plat::gdFocused) && SelectionColor() == plat::clNone)) c->FillRect(rr);
        c->Brush()->SetStyle(plat::bsClear);
        PaintRTFCell(C, R, rr, c);
        c->Brush()->SetStyle(plat::bsSolid);
        c->Font()->SetColor(plat::clBlack);
        return;
    }
    if (kind == ctMarkup) {
        if (P.FilterGlyph) r.Right -= 18;
        r.Left -= 1;
        if (sortMark) r.Right -= 10;
        TMarkupDrawInput in;
        in.Canvas = c;
        in.Text = text;
        in.Rect = r;
        in.Images = GetGridImageList();
        in.URLColor = linkColor;
        in.ShadowColor = 0x808080;
        in.Selected = selected && ShowSelection();
        in.HoverStyle = URLUnderlineOnHover;
        in.WordWrap = FEnhTextSize ? P.V.WordWrap : true;
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        P.TextWidth = out.XSize + 2;
        if (sortMark) DrawSortIndicator(c, C, sortY(r), r.Right + 2);
        return;
    }

    // Plain text.
    if (P.V.HA == plat::taCenter && SortSettings()->Show() && C == SortSettings()->Column &&
        R == SortSettings()->Row())
        r.Left += 10;
    const bool link = FURLShow && IsLinkText(text);
    if (link) {
        if (!FURLFull) text = ShortLink(text);
        plat::TFontStyles st = c->Font()->Style();
        st += plat::fsUnderline;
        c->Font()->SetStyle(st);
        c->Font()->SetColor(linkColor);
    }
    const unsigned flags = CellTextFlags(P.V.HA, P.V.VA, P.V.WordWrap, text);
    if (P.FilterGlyph) r.Right -= 16;
    if (P.G && !text.empty()) {
        TRect m = r;
        c->DrawText(text, m, flags | plat::DT_CALCRECT);
        P.TextWidth = m.Width() + 2;
    }
    c->Brush()->SetStyle(plat::bsClear);
    TRect tr = r;
    c->DrawText(text, tr, flags);
    c->Brush()->SetStyle(plat::bsSolid);
    PaintErrorMarker(P, text, r, flags);
    if (sortMark) {
        const int w = std::max(0, std::min(r.Right - r.Left - 16, c->TextWidth(FirstLine(text))));
        int x = r.Left + w + extraLeft + 10;
        if (P.V.HA == plat::taRightJustify) x = r.Right - w - 10;
        if (P.V.HA == plat::taCenter) x = r.Left + 8;
        DrawSortIndicator(c, C, sortY(r), x);
    }
    if (link) {
        plat::TFontStyles st = c->Font()->Style();
        st -= plat::fsUnderline;
        c->Font()->SetStyle(st);
    }
}

TPoint TExtStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB) {
    TCanvas* c = Canvas();
    String text = GetFormattedCell(ACol, ARow);
    const int kind = DetectCellTextKind(text, EnableHTML);
    plat::TGridDrawState state;
    plat::TBrush brush;
    plat::TFont font;
    GetFontProperties(DisplColIndex(ACol), ACol, ARow, state, &font, &brush, true);
    const bool header = ACol < FixedCols() || ARow < FixedRows();
    if (header && ActiveCellShow() && ActiveCellFont()->Style().Contains(plat::fsBold)) {
        plat::TFontStyles st = font.Style();
        st += plat::fsBold;
        font.SetStyle(st);
    }
    font.SetSize(font.Size() + FZoomFactor);
    c->Font()->Assign(font);

    TRect r = CellRect(DisplColIndex(ACol), ARow);
    r = {0, 0, r.Width(), r.Height()};
    if (XYOffsetTopLeftOnly) {
        r.Left += XYOffset().X;
        r.Top += XYOffset().Y;
    } else {
        r = {r.Left + XYOffset().X, r.Top + XYOffset().Y, r.Right - XYOffset().X, r.Bottom - XYOffset().Y};
    }
    if (SB) r.Right -= 17;

    if (kind == ctMarkup) {
        if (!VS) r.Right = 65535;
        r.Bottom = 65535;
        TMarkupDrawInput in;
        in.Canvas = c;
        in.Text = text;
        in.Rect = r;
        in.MeasureOnly = true;
        in.WordWrap = VS;
        in.Images = GetGridImageList();
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        return {out.XSize + 2, out.YSize + 2};
    }

    if (kind == ctRtf) return RichTextSize(ACol, ARow, r);

    TPoint size;
    if (VS) {
        TRect m{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
        c->DrawText(text, m,
                    plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_EXPANDTABS | plat::DT_NOPREFIX |
                        plat::DT_EDITCONTROL);
        size = {r.Right - r.Left - 4, m.Height()};
    } else {
        int widest = 0, lines = 0;
        ForEachLine(text, [&](StringView line) {
            String l(line);
            if (FURLShow && !FURLFull && IsLinkText(l)) l = ShortLink(l);
            widest = std::max(widest, c->TextWidth(l));
            ++lines;
        });
        size = {widest, c->TextHeight(u"gh") * std::max(1, lines)};
    }
    if (const TCellGraphic* g = GetCellGraphic(ACol, ARow); g && g->CellType == ctRotated) {
        const double a = g->CellAngle * M_PI / 180.0;
        const int w = size.X, h = size.Y;
        const int sw = std::abs(static_cast<int>(std::trunc(h * std::sin(a))));
        const int cw = std::abs(static_cast<int>(std::trunc(w * std::cos(a))));
        const int ch = std::abs(static_cast<int>(std::trunc(h * std::cos(a))));
        const int swh = std::abs(static_cast<int>(std::trunc(w * std::sin(a))));
        size = {std::abs(sw - cw) + 12, std::abs(ch - swh) + 12};
    }
    return size;
}

void TExtStringGrid::SetEnhTextSize(bool Value) {
    if (FEnhTextSize == Value) return;
    FEnhTextSize = Value;
    Invalidate();
}

void TExtStringGrid::SetURLShow(bool Value) {
    if (FURLShow == Value) return;
    FURLShow = Value;
    Invalidate();
}

void TExtStringGrid::SetURLFull(bool Value) {
    FURLFull = Value;
    if (FURLShow) Invalidate();
}

} // namespace grid
