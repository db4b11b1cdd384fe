// Cell graphics of the string grid: their size and place in the cell, and the drawing of
// each kind (pictures, image-list images, check boxes and radio buttons in every control
// style, node glyphs, progress bars, buttons, comments, shapes and ratings).
#include <algorithm>
#include <cmath>

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "GridCellPaint.h"
#include "plat/ImgList.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

namespace {

bool IsCheckKind(TCellType t) {
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctRadioButton || t == ctTriStateCheckBox;
}

bool IsDataCheckKind(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

// A named bitmap of the resource table drawn transparently at (X, Y) (the colour of its
// bottom-left pixel is left out); false when missing.
bool DrawResourceBitmap(TCanvas* c, StringView Name, int X, int Y) {
    plat::TBitmap b;
    if (!plat::LoadBitmapResource(Name, b)) return false;
    b.SetTransparentMode(plat::tmAuto);
    b.SetTransparent(true);
    c->Draw(X, Y, &b);
    return true;
}

} // namespace

// A bitmap drawn transparently at (X, Y), the given bitmap left as it is.
void DrawTransparentBitmap(TCanvas* c, const plat::TBitmap* B, int X, int Y) {
    if (!B || B->Empty()) return;
    plat::TBitmap copy;
    copy.Assign(*B);
    copy.SetTransparent(true);
    c->Draw(X, Y, &copy);
}

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

int XPProgressPercent(int Value, int From, int To) {
    // An empty range has no percentage: it draws as 0 %.
    if (To == From) return 0;
    return RoundEven(std::abs(static_cast<double>(Value) - From) / (static_cast<double>(To) - From) * 100.0);
}

TCellGraphic* TExtStringGrid::GetCellGraphicPlacement(int ACol, int ARow, TCellVAlign& VA, TCellHAlign& HA,
                                                      bool& TextToo, int& H, int& W) {
    TextToo = true;
    H = W = 0;
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return nullptr;
    VA = g->CellVAlign;
    HA = g->CellHAlign;
    const int check = FControlLook->CheckSize;
    switch (g->CellType) {
    case ctBitmap:
        if (auto* b = dynamic_cast<plat::TBitmap*>(g->CellBitmap)) W = b->Width(), H = b->Height();
        break;
    case ctIcon:
        if (g->CellIcon) W = g->CellIcon->Width(), H = g->CellIcon->Height();
        break;
    case ctImageList:
    case ctDataImage:
        if (GridImages) W = GridImages->Width(), H = GridImages->Height();
        break;
    case ctCheckBox:
    case ctTriStateCheckBox: W = H = check; break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        W = H = check;
        TextToo = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress: TextToo = false; break;
    case ctImages:
        if (GridImages) {
            const TIntList* l = dynamic_cast<TIntList*>(g->CellBitmap);
            const int n = l ? l->Count() : 0;
            if (g->CellBoolean) W = n * GridImages->Width(), H = GridImages->Height();
            else W = GridImages->Width(), H = n * GridImages->Height();
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        TPoint s;
        const TPoint cell = CellSize(DisplColIndex(ACol), ARow);
        g->GetPictureSize(cell.X - TotalXOffset() - 1, cell.Y - TotalYOffset() - 1, !GetCellEx(ACol, ARow).empty(), s);
        W = s.X, H = s.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        W = g->CellIndex & 0xFFFF;
        H = (g->CellIndex >> 16) & 0xFFFF;
        break;
    case ctProgressPie: W = H = 20; break;
    case ctRadioButton: W = H = FControlLook->RadioSize + 4; break;
    case ctShape: W = H = RowHeights(ARow) - 2 * XYOffset().Y; break;
    case ctRating:
        W = g->CellAngle * 18;
        H = 16;
        TextToo = false;
        break;
    default: break;
    }
    return g;
}

void TExtStringGrid::DrawCheckGlyph(TCanvas* Canvas, TRect R, bool Checked, plat::TCheckBoxState State,
                                    bool UseState, TControlStyle Style, bool Grayed, bool Enabled) {
    const TControlLook& cl = *FControlLook;
    if (cl.NoDisabledCheckRadioLook || cl.CheckAlwaysActive) Enabled = true;
    if (UseState) {
        Checked = State == plat::cbChecked;
        Grayed = State == plat::cbGrayed;
    }
    // The platform draws no visual themes: the themed style takes the classic drawing.
    if (Style == csTheme) Style = csClassic;
    const int s = cl.CheckSize;
    switch (Style) {
    case csWinXP:
        DrawResourceBitmap(Canvas, Checked ? (Enabled ? u"ESGCHK05" : u"ESGCHK07") : (Enabled ? u"ESGCHK06" : u"ESGCHK08"),
                           R.Left, R.Top);
        break;
    case csZOD:
        DrawResourceBitmap(Canvas, Checked ? (Enabled ? u"ESGCHK01" : u"ESGCHK03") : (Enabled ? u"ESGCHK02" : u"ESGCHK04"),
                           R.Left, R.Top);
        break;
    case csGlyph: {
        DrawTransparentBitmap(Canvas, Checked ? cl.CheckedGlyph() : cl.UnCheckedGlyph(), R.Left, R.Top);
        break;
    }
    case csBorland: {
        const TRect b{R.Left, R.Top, R.Left + s, R.Top + s};
        Canvas->Brush()->SetColor(Enabled ? plat::clBtnFace : plat::clBtnShadow);
        Canvas->Pen()->SetColor(plat::clBtnFace);
        Canvas->Pen()->SetWidth(1);
        Canvas->Rectangle(b);
        Canvas->Pen()->SetColor(plat::clBtnHighlight);
        Canvas->MoveTo(b.Left, b.Bottom - 1);
        Canvas->LineTo(b.Left, b.Top);
        Canvas->LineTo(b.Right - 1, b.Top);
        Canvas->Pen()->SetColor(plat::clBtnShadow);
        Canvas->LineTo(b.Right - 1, b.Bottom - 1);
        Canvas->LineTo(b.Left, b.Bottom - 1);
        if (Checked) {
            Canvas->Pen()->SetColor(Enabled ? cl.Color : plat::clGray);
            Canvas->MoveTo(b.Left + 2, b.Top + s / 2);
            Canvas->LineTo(b.Left + 2, b.Bottom - 2);
            Canvas->MoveTo(b.Left + 3, b.Top - 1 + s / 2);
            Canvas->LineTo(b.Left + 3, b.Bottom - 3);
            Canvas->MoveTo(b.Left + 2, b.Bottom - 2);
            Canvas->LineTo(b.Right - 2, b.Top + 2);
            Canvas->MoveTo(b.Left + 3, b.Bottom - 2);
            Canvas->LineTo(b.Right - 1, b.Top + 2);
        }
        break;
    }
    default: {  // csClassic, csFlat
        const int l = R.Left + (R.Width() - s) / 2, t = R.Top + (R.Height() - s) / 2;
        unsigned st = plat::DFCS_BUTTONCHECK;
        if (Checked) st |= plat::DFCS_CHECKED;
        if (Grayed) st |= plat::DFCS_BUTTON3STATE | plat::DFCS_CHECKED;
        if (Style == csFlat) st |= plat::DFCS_FLAT;
        if (!Enabled) st |= plat::DFCS_INACTIVE;
        plat::DrawFrameControl(Canvas, {l, t, l + s, t + s}, plat::DFC_BUTTON, st);
        break;
    }
    }
}

// Pixels between one side-by-side radio item's text and the next item's glyph.
constexpr int Radio_Item_Gap = 8;

void TExtStringGrid::DrawRadioGlyph(TCanvas* Canvas, TRect R, bool Upwards, double Scale, TControlStyle Style,
                                    bool Selected, const plat::TStrings* Items, bool Disabled, bool Horizontal,
                                    int Index, int Count, const String& CellText) {
    const TControlLook& cl = *FControlLook;
    if (cl.NoDisabledCheckRadioLook || cl.RadioAlwaysActive) Disabled = false;
    if (Style == csTheme) Style = csClassic;
    const bool classic = Style == csClassic || Style == csFlat;
    const int s = classic ? cl.RadioSize : 16;
    const int lineH = classic ? Canvas->TextHeight(u"gh") : std::max(16, Canvas->TextHeight(u"gh"));
    const plat::TFont saved(*Canvas->Font());
    if (Selected && ShowSelection() && FSelectionTextColor != plat::clNone) Canvas->Font()->SetColor(FSelectionTextColor);
    Canvas->Brush()->SetStyle(plat::bsClear);
    int before = 0;
    for (int i = 1; i <= Count; ++i) {
        const String text = Items && i - 1 < Items->Count() ? Items->Strings(i - 1) : String();
        const bool on = Index == i - 1 || (Index == -1 && !text.empty() && text == CellText);
        int x, y;
        if (Horizontal) {
            // Items side by side keep a gap after each text, so one item's text never runs
            // into the next item's glyph.
            x = R.Left + 2 + before + (i - 1) * (s + Radio_Item_Gap);
            y = R.Top + (R.Height() - s) / 2;
        } else {
            x = R.Left + 2;
            y = Upwards ? R.Top + 2 - (i - 1) * lineH : R.Top + 2 + (i - 1) * lineH;
            if (text.empty())
                x = classic ? R.Left + (R.Width() - RoundEven(cl.RadioSize * Scale)) / 2 : R.Left + (R.Width() - 16) / 2;
        }
        int tx, ty = y - 2;
        switch (Style) {
        case csClassic:
        case csFlat: {
            const int d = RoundEven((Style == csFlat ? cl.RadioSize + 2 : cl.RadioSize) * Scale);
            unsigned st = plat::DFCS_BUTTONRADIO;
            if (on) st |= plat::DFCS_CHECKED;
            if (Style == csFlat) st |= plat::DFCS_FLAT;
            if (Disabled) st |= plat::DFCS_INACTIVE;
            plat::DrawFrameControl(Canvas, {x, y, x + d, y + d}, plat::DFC_BUTTON, st);
            // The text stands clear of the glyph: the frame-control radio fills its square.
            tx = Horizontal ? x + RoundEven((cl.RadioSize + 3) * Scale) : x + RoundEven((cl.RadioSize + 4) * Scale);
            break;
        }
        case csBorland: {
            Canvas->Brush()->SetStyle(plat::bsSolid);
            Canvas->Brush()->SetColor(plat::clBtnFace);
            Canvas->Pen()->SetColor(plat::clBtnFace);
            Canvas->Polygon({{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}});
            Canvas->Pen()->SetColor(on ? plat::clGray : plat::clWhite);
            Canvas->MoveTo(x + 2, y + 8);
            Canvas->LineTo(x + 8, y + 2);
            Canvas->LineTo(x + 14, y + 8);
            Canvas->Pen()->SetColor(on ? plat::clWhite : plat::clGray);
            Canvas->LineTo(x + 8, y + 14);
            Canvas->LineTo(x + 2, y + 8);
            if (on) {
                Canvas->Brush()->SetColor(cl.Color);
                Canvas->Pen()->SetColor(cl.Color);
                Canvas->Polygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
            }
            Canvas->Brush()->SetStyle(plat::bsClear);
            tx = Horizontal ? x + 16 : x + 18;
            break;
        }
        default: {  // csWinXP, csZOD, csGlyph
            if (Style == csGlyph) {
                DrawTransparentBitmap(Canvas, on ? cl.RadioOnGlyph() : cl.RadioOffGlyph(), x, y);
            } else {
                const bool xp = Style == csWinXP;
                const char16_t* name = on ? (Disabled ? (xp ? u"ESGRAD07" : u"ESGRAD03") : (xp ? u"ESGRAD05" : u"ESGRAD01"))
                                          : (Disabled ? (xp ? u"ESGRAD08" : u"ESGRAD04") : (xp ? u"ESGRAD06" : u"ESGRAD02"));
                DrawResourceBitmap(Canvas, name, x, y);
            }
            tx = x + 16;
            ty = y + 1;
            break;
        }
        }
        if (!text.empty()) {
            Canvas->Brush()->SetStyle(plat::bsClear);
            Canvas->TextOut(tx, ty, text);
        }
        before += Canvas->TextWidth(text);
    }
    Canvas->Brush()->SetStyle(plat::bsSolid);
    Canvas->Font()->Assign(saved);
}

// Places and draws the cell's graphic in R (steps 1-5 of the placement, then by kind).
// The rectangle a cell graphic takes inside R by its placement, the text width beside it and
// the cell's alignment; check boxes follow the cell's own vertical alignment. R comes back
// inset by XYOffset for the kinds placed inside the text rectangle.
TRect TExtStringGrid::GraphicPlace(TCellPaint& P, TRect& R) {
    const TCellGraphic* g = P.G;
    const TCellType kind = g->CellType;
    const int W = P.GW, H = P.GH;
    int T = P.TextWidth;
    if (T > 0) T += 2;
    const plat::TAlignment HA = P.V.HA;
    if (kind != ctNode && kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress) {
        const int dx = XYOffset().X - 1, dy = XYOffset().Y - 1;
        R = {R.Left + dx, R.Top + dy, R.Right - dx, R.Bottom - dy};
    }
    // Horizontal span.
    int x1 = R.Left + 1, x2;
    switch (P.GHA) {
    case haLeft: x1 = R.Left + 1; break;
    case haRight: x1 = R.Right - W - 1; break;
    case haCenter: x1 = W < R.Width() ? R.Left + (R.Width() - W) / 2 : R.Left + 1; break;
    case haFull: x1 = R.Left; break;
    case haBeforeText:
        x1 = HA == plat::taRightJustify ? R.Right - T - W
             : HA == plat::taCenter     ? R.Left + (R.Width() - T - W) / 2
                                        : R.Left + 1;
        x1 = std::max(x1, R.Left + 1);
        break;
    case haAfterText:
        x1 = HA == plat::taRightJustify ? R.Right - W - 1
             : HA == plat::taCenter     ? R.Left + T + (R.Width() - T - W) / 2
                                        : R.Left + T;
        x1 = std::max(x1, R.Left + 1);
        break;
    }
    x2 = P.GHA == haFull ? R.Right : P.GHA == haRight ? R.Right - 1 : x1 + W;
    // Vertical span; the check-box kinds follow the cell's own vertical alignment.
    TCellVAlign va = P.GVA;
    if (IsCheckKind(kind) && P.V.VA != VAlignment())
        va = P.V.VA == vtaTop ? vaTop : P.V.VA == vtaCenter ? vaCenter : vaBottom;
    int y1 = R.Top + 1, y2;
    switch (va) {
    case vaTop:
    case vaAboveText: y1 = R.Top + 1; break;
    case vaBottom: y1 = R.Bottom - H - 1; break;
    case vaCenter: y1 = H < R.Height() ? R.Top + (R.Height() - H) / 2 : R.Top + 1; break;
    case vaUnderText: y1 = R.Bottom - H; break;
    case vaFull: y1 = R.Top; break;
    }
    y2 = va == vaFull ? R.Bottom : va == vaBottom ? R.Bottom - 1 : va == vaUnderText ? R.Bottom : y1 + H;
    if (IsCheckKind(kind)) {
        const bool data = IsDataCheckKind(kind);
        if (HA == plat::taRightJustify) x1 = (data ? R.Right : R.Right - T) - W - 1;
        else if (HA == plat::taCenter)
            x1 = data || T < 1 ? R.Left + std::max(0, R.Right - W - R.Left) / 2
                               : R.Left + std::max(0, R.Right - T - R.Left) / 2 - W;
        else x1 = R.Left + 1;
        x1 = std::max(x1, R.Left + 1);
        x2 = x1 + W;
    }
    return {x1, y1, x2, y2};
}

void TExtStringGrid::DrawCellGraphic(TCellPaint& P, TRect R) {
    TCellGraphic* g = P.G;
    const TCellType kind = g->CellType;
    const TRect Pr = GraphicPlace(P, R);
    const int x1 = Pr.Left, y1 = Pr.Top;
    TCanvas* c = P.C;
    bool enabled = true;
    CheckCanEdit(P.RCol, P.ARow, enabled);
    const TControlStyle style = FControlLook->ControlStyle;

    switch (kind) {
    case ctBitmap:
    case ctIcon:
    case ctImageList:
    case ctDataImage:
    case ctImages: DrawImageGraphic(P, Pr); break;
    case ctCheckBox:
    case ctRowCheckBox: DrawCheckGlyph(c, Pr, g->CellBoolean, plat::cbUnchecked, false, style, g->CellAngle > 0, enabled); break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        DrawCheckGlyph(c, Pr, GetCellEx(P.RCol, P.ARow) == GetCheckTrue(P.RCol, P.ARow), plat::cbUnchecked, false,
                       style, false, enabled);
        break;
    case ctTriStateCheckBox: DrawCheckGlyph(c, Pr, false, g->CellCheckBoxState, true, style, g->CellAngle > 0, enabled); break;
    case ctRadioButton: {
        const int s = FControlLook->RadioSize;
        const TRect rr{x1 + XYOffset().X, y1, x1 + XYOffset().X + s, y1 + s};
        DrawRadioGlyph(c, rr, false, 1.0, style, false, nullptr, !enabled, false, g->CellBoolean ? 0 : 1, 1, String());
        break;
    }
    case ctRadio: {
        plat::TStrings* items = GetRadioStrings(P.RCol, P.ARow);
        DrawRadioGlyph(c, R, false, 1.0, style, P.State.Contains(plat::gdSelected), items, !enabled, g->CellBoolean,
                       g->CellIndex, items ? items->Count() : 0, GetCellEx(P.RCol, P.ARow));
        break;
    }
    case ctNode: DrawNodeGlyph(P, R, g->CellBoolean); break;
    case ctProgress:
    case ctXPProgress: DrawProgressGraphic(P, R); break;
    case ctComment:
    case ctProgressPie:
    case ctRangeIndicator:
    case ctShape:
    case ctRating: DrawMarkGraphic(P, R, Pr); break;
    case ctButton:
    case ctBitButton:
    case ctExpand: DrawCellButton(P, R, Pr, enabled || FControlLook->NoDisabledButtonLook); break;
    default: break;
    }
}

// Pictures: a bitmap, an icon, image-list entries.
void TExtStringGrid::DrawImageGraphic(TCellPaint& P, TRect Pr) {
    TCanvas* c = P.C;
    const TCellGraphic* g = P.G;
    int x1 = Pr.Left, y1 = Pr.Top;
    switch (g->CellType) {
    case ctBitmap:
        if (auto* b = dynamic_cast<plat::TBitmap*>(g->CellBitmap)) {
            if (g->CellTransparent) DrawTransparentBitmap(c, b, x1, y1);
            else c->Draw(x1, y1, b);
        }
        break;
    case ctIcon:
        if (g->CellIcon) c->Draw(x1, y1, g->CellIcon);
        break;
    case ctImageList:
        // An index outside the image list (negative included) draws nothing.
        if (GridImages && g->CellIndex >= 0 && g->CellIndex < GridImages->Count())
            GridImages->Draw(c, x1, y1, g->CellIndex);
        break;
    case ctDataImage: {
        const int idx = plat::StrToIntDef(GetCellEx(P.RCol, P.ARow), 0) + g->CellIndex;
        if (GridImages && idx >= 0 && idx < GridImages->Count()) GridImages->Draw(c, x1, y1, idx);
        break;
    }
    case ctImages:
        if (GridImages)
            if (const TIntList* l = dynamic_cast<TIntList*>(g->CellBitmap))
                for (int i = 0; i < l->Count(); ++i) {
                    const int idx = l->GetInteger(i);
                    if (idx >= 0 && idx < GridImages->Count()) GridImages->Draw(c, x1, y1, idx);
                    if (g->CellBoolean) x1 += GridImages->Width();
                    else y1 += GridImages->Height();
                }
        break;
    default: break;
    }
}

// Progress bars: the formatted bar and the XP bar with its levels.
void TExtStringGrid::DrawProgressGraphic(TCellPaint& P, TRect R) {
    TCanvas* c = P.C;
    const TCellGraphic* g = P.G;
    switch (g->CellType) {
    case ctProgress: {
        TRect b{R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
        const double v = plat::StrToFloatDef(GetCellEx(P.RCol, P.ARow), 0);
        // Bar and background colours; their text colours given or the RGB inverse.
        const TColor bar = g->CellColor, back = g->CellIconColor;
        const TColor barText = g->CellBoolean ? static_cast<TColor>(g->CellIndex) : bar ^ 0xFFFFFF;
        const TColor backText = g->CellBoolean ? static_cast<TColor>(g->CellAngle) : back ^ 0xFFFFFF;
        DrawProgressFormatted(c, b, bar, false, FControlLook->ProgressBorderColor, g->CellText, g->CellErrLen,
                              g->CellErrFrom, FControlLook->ProgressMarginY, FControlLook->ProgressMarginX, v,
                              backText, back, barText);
        break;
    }
    case ctXPProgress: {
        const TControlLook& cl = *FControlLook;
        TRect b{R.Left + cl.ProgressMarginX, R.Top + cl.ProgressMarginY, R.Right - cl.ProgressMarginX - 1,
                R.Bottom - cl.ProgressMarginY - 1};
        const int v = plat::StrToIntDef(GetCellEx(P.RCol, P.ARow), 0);
        const TGridProgressAppearance::Values& pa = FProgressAppearance->Get();
        TProgressLook look;
        look.Level0Color = pa.Level0Color;
        look.Level0ColorTo = pa.Level0ColorTo;
        look.Level1Color = pa.Level1Color;
        look.Level1ColorTo = pa.Level1ColorTo;
        look.Level2Color = pa.Level2Color;
        look.Level2ColorTo = pa.Level2ColorTo;
        look.Level3Color = pa.Level3Color;
        look.Level3ColorTo = pa.Level3ColorTo;
        look.Level1Perc = pa.Level1Perc;
        look.Level2Perc = pa.Level2Perc;
        look.BorderColor = pa.BorderColor;
        look.ShowBorder = pa.ShowBorder;
        look.Stacked = pa.Stacked;
        look.ShowPercentage = pa.ShowPercentage;
        look.CompletionSmooth = pa.CompletionSmooth;
        look.ShowGradient = pa.ShowGradient;
        look.Steps = pa.Steps;
        look.Font = Font();
        look.CompleteFontColor = pa.CompleteFontColor;
        look.BackgroundColor = pa.UnCompleteColor == plat::clNone ? c->Brush()->Color() : pa.UnCompleteColor;
        DrawProgressBar(c, b, XPProgressPercent(v, g->CellErrFrom, g->CellErrLen), look);
        break;
    }
    default: break;
    }
}

// Comment corner, progress pie, value bar, shape and rating stars.
void TExtStringGrid::DrawMarkGraphic(TCellPaint& P, TRect R, TRect Pr) {
    TCanvas* c = P.C;
    const TCellGraphic* g = P.G;
    const int x1 = Pr.Left, y1 = Pr.Top, x2 = Pr.Right, y2 = Pr.Bottom;
    switch (g->CellType) {
    case ctComment:
        if (FControlLook->CommentColor != plat::clNone) {
            const TColor col = g->CellAngle ? static_cast<TColor>(g->CellIndex) : FControlLook->CommentColor;
            c->Brush()->SetColor(col);
            c->Pen()->SetColor(col);
            const int X = XYOffset().X, Y = XYOffset().Y;
            c->Polygon({{R.Right + X - 8, R.Top - Y + 1}, {R.Right + X - 3, R.Top - Y + 1}, {R.Right + X - 3, R.Top - Y + 6}});
            c->Brush()->SetColor(Color());
        }
        break;
    case ctProgressPie:
        DrawProgressPie(c, {x1, y1, x1 + 20, y1 + 20}, g->CellColor, false, g->CellAngle);
        break;
    case ctRangeIndicator: {
        const TControlLook& cl = *FControlLook;
        DrawValueBar(c, {R.Left + cl.ProgressMarginX, R.Top + cl.ProgressMarginY, R.Right - cl.ProgressMarginX,
                         R.Bottom - cl.ProgressMarginY},
                     plat::StrToIntDef(GetCellEx(P.RCol, P.ARow), 0), g->CellIconColor,
                     g->CellColor, g->CellBoolean, g->CellIndex);
        break;
    }
    case ctShape:
        DrawCellShape(c, x1, y1, g->CellColor, static_cast<TColor>(g->CellIndex),
                      static_cast<TCellShape>(g->CellAngle), y2 - y1 - 1, x2 - x1 - 1);
        break;
    case ctRating: {
        const double v = std::trunc(plat::StrToFloatDef(GetCellEx(P.RCol, P.ARow), 0) * 2) / 2;
        int x = x1;
        for (int i = 1; i <= g->CellAngle; ++i, x += 18) {
            const bool empty = i > v;
            DrawCellShape(c, x, y1, empty ? g->CellColor : static_cast<TColor>(g->CellIndex),
                          empty ? g->CellColor : static_cast<TColor>(g->CellIndex), csStar, 16, 16);
            if (empty && i - 1 < v)
                DrawCellShape(c, x, y1, static_cast<TColor>(g->CellIndex), static_cast<TColor>(g->CellIndex),
                              csHalfStar, 16, 16);
        }
        break;
    }
    default: break;
    }
}

void TExtStringGrid::DrawCellButton(TCellPaint& P, TRect R, TRect Pr, bool Enabled) {
    TCanvas* c = P.C;
    TCellGraphic* g = P.G;
    const TRect cell = CellRect(P.ACol, P.ARow);
    g->CellValue = ((Pr.Top - cell.Top) << 16) | (Pr.Left - cell.Left);
    const TColor savedBrush = c->Brush()->Color();
    c->Brush()->SetColor(plat::clBtnFace);
    int style = FControlLook->FlatButton ? 2 : IsWinXP() ? 0 : 1;
    if (FFlat && FTones.Background.BrushColor != plat::clNone) style = 3;
    int state = g->CellBoolean ? 2 : 0;
    if (!Enabled && g->CellType != ctExpand) state = 3;
    if (g->CellType == ctExpand) Pr = {R.Right - 13, R.Top, R.Right, R.Top + 13};
    DrawPushButton(c, this, Pr, FTones, state, style);
    const int d = state == 2 ? 1 : 0;
    if (g->CellType == ctExpand) {
        c->Pen()->SetColor(plat::clBlack);
        c->Pen()->SetWidth(1);
        if (const bool* open = std::get_if<bool>(&g->CellVar); open && *open) {
            c->MoveTo(R.Right - 10 + d, R.Top + 8 + d);
            c->LineTo(R.Right - 7 + d, R.Top + 5 + d);
            c->LineTo(R.Right - 3 + d, R.Top + 9 + d);
        } else {
            c->MoveTo(R.Right - 10 + d, R.Top + 5 + d);
            c->LineTo(R.Right - 7 + d, R.Top + 8 + d);
            c->LineTo(R.Right - 3 + d, R.Top + 4 + d);
        }
    } else {
        TRect tr{Pr.Left + 1 + d, Pr.Top + d, Pr.Right + d, Pr.Bottom + d};
        if (g->CellType == ctBitButton)
            if (auto* glyph = dynamic_cast<plat::TBitmap*>(g->CellBitmap); glyph && !glyph->Empty()) {
                const int freeH = Pr.Height() - glyph->Height();
                const int gy = freeH < 1 ? Pr.Top + 3 : Pr.Top + freeH / 2;
                if (!g->CellText.empty() || Pr.Width() <= glyph->Width()) {
                    DrawTransparentBitmap(c, glyph, Pr.Left + 3 + d, gy + d);
                    tr.Left = Pr.Left + 3 + glyph->Width() + 4 + d;
                } else {
                    DrawTransparentBitmap(c, glyph, Pr.Left + (Pr.Width() - glyph->Width()) / 2 + d, gy + d);
                }
            }
        if (style == 3) {
            const TColor tc[] = {FTones.Background.TextColor, FTones.Hover.TextColor, FTones.Selected.TextColor,
                                 FTones.Disabled.TextColor};
            c->Font()->SetColor(tc[state]);
        }
        c->Brush()->SetStyle(plat::bsClear);
        unsigned f = plat::DT_CENTER | plat::DT_END_ELLIPSIS | plat::DT_NOPREFIX;
        f |= g->CellText.find(u'\r') != String::npos ? plat::DT_WORDBREAK : plat::DT_SINGLELINE | plat::DT_VCENTER;
        c->DrawText(g->CellText, tr, f);
        c->Brush()->SetStyle(plat::bsSolid);
    }
    c->Brush()->SetColor(savedBrush);
}

void TExtStringGrid::DrawNodeGlyph(TCellPaint& P, TRect R, bool Collapsed) {
    TCanvas* c = P.C;
    TCellNode& cn = *CellNode();
    const int row = P.ARow;
    const int indent = cn.NodeIndent();
    R.Left = GetRowIndent(row) - indent;
    if (cn.ShowTree() && row >= FixedRows()) {
        c->Pen()->SetColor(cn.TreeColor());
        c->Pen()->SetWidth(1);
        const int x = R.Left + indent / 2 + 2;
        const int mid = R.Top + R.Height() / 2;
        if (row + 1 < RowCount() && GetRowIndent(row + 1) > 0 &&
            !(!Collapsed && GetRowIndent(row + 1) < GetRowIndent(row))) {
            c->MoveTo(x, mid);
            c->LineTo(x, R.Bottom);
        }
        if (row > 0 && GetRowIndent(row - 1) >= GetRowIndent(row)) {
            c->MoveTo(x, R.Top);
            c->LineTo(x, R.Top + 6);
        }
    }
    R.Left = GetRowIndent(row) - indent / 2 - 4;
    TColor k = c->Brush()->Color();
    if (k == plat::clNone) k = FixedCols() > 0 ? FixedColor() : Color();
    if (ShowSelection() && P.State.Contains(plat::gdSelected) && !FMouseActions->DisjunctRowSelect()) k = SelectionColor();
    switch (cn.NodeType()) {
    case cnLeaf: {
        c->Brush()->SetColor(k);
        DrawResourceBitmap(c, Collapsed ? u"ESGLEAFCLOSE" : u"ESGLEAFOPEN", R.Left, R.Top + (R.Height() - 12) / 2);
        return;
    }
    case cnXP:
        DrawResourceBitmap(c, Collapsed ? u"XPNODEC" : u"XPNODEO", R.Left + 4, R.Top + (R.Height() - 10) / 2);
        return;
    case cnGlyph:
        if (!cn.ContractGlyph()->Empty() && !cn.ExpandGlyph()->Empty()) {
            const plat::TBitmap* gl = Collapsed ? cn.ContractGlyph() : cn.ExpandGlyph();
            DrawTransparentBitmap(c, gl, R.Left, R.Top + (R.Height() - gl->Height()) / 2);
            return;
        }
        break;
    default: break;
    }
    const int bx = R.Left + 4, by = R.Top + std::max(0, R.Height() - 8) / 2;
    c->Brush()->SetColor(cn.Color);
    if (cn.NodeType() == cnFlat) {
        c->Pen()->SetColor(cn.NodeColor);
        c->Rectangle(bx, by, bx + 9, by + 9);
        c->MoveTo(bx + 2, by + 4);
        c->LineTo(bx + 7, by + 4);
        if (Collapsed) {
            c->MoveTo(bx + 4, by + 2);
            c->LineTo(bx + 4, by + 7);
        }
    } else {
        c->Pen()->SetColor(cn.Color);
        c->Rectangle(bx, by, bx + 9, by + 9);
        c->Pen()->SetColor(Collapsed ? plat::clWhite : plat::clGray);
        c->MoveTo(bx, by + 8);
        c->LineTo(bx, by);
        c->LineTo(bx + 8, by);
        c->Pen()->SetColor(Collapsed ? plat::clGray : plat::clWhite);
        c->LineTo(bx + 8, by + 8);
        c->LineTo(bx, by + 8);
    }
}

} // namespace grid
