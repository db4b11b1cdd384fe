// Painting of one string grid cell after the grid base has filled its frame: fixed-cell looks
// (hovered, pressed, active-cell headers, sorted column), modified-row marker, text, borders,
// the looks' edge lines, tree lines, the paint events and the focus rectangle; the grid's
// Paint, the sizing lines and the border colour after the non-client paint.
#include <algorithm>

#include "ExtDraw.h"
#include "ExtGrid.h"
#include "GridCellPaint.h"
#include "GridKeys2.h"
#include "plat/Messages.h"

namespace grid {

using plat::TCanvas;
using plat::TGridDrawState;
using plat::TRect;

namespace {

TColor HalfTone(TColor c) {
    const TColor rgb = plat::ColorToRGB(c);
    return plat::RGB(plat::GetRValue(rgb) / 2, plat::GetGValue(rgb) / 2, plat::GetBValue(rgb) / 2);
}

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
    c->MoveTo(x1, y1);
    c->LineTo(x2, y2);
}

bool GradientLook(TGridLook look) {
    return look == glZOD || look == glXP || look == glVista || look == glWin7 || look == glOffice2007;
}

} // namespace

void TExtStringGrid::DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
    TCellPaint P{ACanvas, ACol, ARow, DisplToRealCol(ACol), ARect, AState, {}};
    const TGridLook look = Look();
    // 1-2. The filter glyph's cell; the cell scroll bar.
    P.FilterGlyph = ARow == FilterDropDownRow() && GetColumnFilter(P.RCol);
    PaintCellScrollBar(P);

    // 3-5. Visual properties; a selected cell without focus and without a selection colour.
    P.V.WordWrap = WordWrap();
    GetVisualProperties(ACol, ARow, P.State, TVisualRequest{.Print = false, .Select = false, .Remap = true},
                        ACanvas->Brush(), ACanvas->Font(), P.V);
    if (P.State.Contains(plat::gdSelected) && !P.State.Contains(plat::gdFocused) && SelectionColor() == plat::clNone)
        ACanvas->Brush()->SetColor(plat::clHighlight);
    // 4. The graphic and its place; a node row's glyph in real column 0 takes its level's room.
    P.G = GetCellGraphicPlacement(P.RCol, ARow, P.GVA, P.GHA, P.TextToo, P.GH, P.GW);
    if (P.RCol == 0 && IsNode(ARow)) P.GW = GetNodeLevel(ARow) * 12 + 4;

    // 6-7. Zoom, the colours restored at the end, what counts as fixed.
    ACanvas->Font()->SetSize(ACanvas->Font()->Size() + FZoomFactor);
    P.SavedBrush = ACanvas->Brush()->Color();
    P.SavedFont = ACanvas->Font()->Color();
    const bool inHoverRow = HoverRow && ARow == HoverRowIdx() && HoverRowCells.Contains(hcFixed);
    P.Fixed = (IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows()) && !inHoverRow;

    // 9-14. Backgrounds, markers and the always-visible buttons.
    if (P.Fixed && GradientLook(look)) PaintFixedBackground(P);
    PaintRowIndicator(P);
    PaintCellDecorations(P);
    if (OnCustomCellBkgDraw) OnCustomCellBkgDraw(this, ACanvas, P.RCol, ARow, P.State, P.Rect, false);
    PaintAlwaysVisibleButtons(P);

    // 16. The text.
    if ((!OnDrawCell && !OnCustomCellDraw) || !FNoDefaultDraw) DrawCellText(P);

    // 17. Colours back, borders.
    ACanvas->Brush()->SetColor(P.SavedBrush);
    ACanvas->Font()->SetColor(P.SavedFont);
    DrawCellBorders(ACanvas, P.RCol, ARow, {P.Rect.Left - 1, P.Rect.Top - 1, P.Rect.Right + 1, P.Rect.Bottom + 1});

    // 18. The indicator's width returns to the rectangle (its 2-pixel gap stays).
    P.Rect.Left -= P.IndicatorWidth;

    // 19-23. Edges of the looks, tree lines.
    PaintFixedEdges(P);
    PaintTreeLines(P);

    // 24. The cell graphic, one pixel lower in a fixed cell.
    if (P.G) {
        TRect gr = P.Rect;
        if (P.Fixed) ++gr.Top;
        DrawCellGraphic(P, gr);
    }

    // 25-27. Events and the focus rectangle.
    if (OnDrawCell) {
        const int g = GridLineWidth();
        OnDrawCell(this, P.RCol, ARow, {P.Rect.Left + 1, P.Rect.Top + 1, P.Rect.Right - g, P.Rect.Bottom - g}, P.State);
    }
    if (OnCustomCellDraw) OnCustomCellDraw(this, ACanvas, P.RCol, ARow, P.State, P.Rect, false);
    PaintFocusRect(P);
}

void TExtStringGrid::PaintFixedFace(TCanvas* ACanvas, int ACol, int ARow, TRect R) {
    plat::TGridDrawState state{plat::gdFixed};
    TCellVisual v;
    v.WordWrap = WordWrap();
    GetVisualProperties(ACol, ARow, state, TVisualRequest{.Print = false, .Select = false, .Remap = true},
                        ACanvas->Brush(), ACanvas->Font(), v);
    ACanvas->Brush()->SetStyle(plat::bsSolid);
    ACanvas->FillRect(R);
    // The plain fixed cell's background of step 9: hover, the active-cell header and the sort
    // mark belong to the cell, not to the caption carried away.
    if (GradientLook(Look()) && !FFlat)
        DrawCellBackground(ACanvas, R,
                           {.Color = ACanvas->Brush()->Color(), .ColorTo = v.ColorTo, .MirrorColor = v.MirrorColor,
                            .MirrorColorTo = v.MirrorColorTo,
                            .BorderColor = Look() == glVista ? plat::clWhite : plat::clNone, .SideLinesOnly = true});
}

// Step 9: hovered or pressed, active-cell header, sorted column, or the look's gradient.
void TExtStringGrid::PaintFixedBackground(TCellPaint& P) {
    TCanvas* c = P.C;
    const int ACol = P.ACol, ARow = P.ARow;
    const bool hoverAllowed = FHoverFixedCells == hfAll || (FHoverFixedCells == hfFixedRows && ARow < FixedRows()) ||
                              (FHoverFixedCells == hfFixedColumns && ACol < FixedCols());
    const bool moving = GridState() == plat::gsColMoving;
    const bool hovered = hoverAllowed && ACol == FHoverFixedX && ARow == FHoverFixedY && !moving && !IsDesigning();
    const TCellBackground hoverSet{.Color = ZODGradientHoverFrom, .ColorTo = ZODGradientHoverTo,
                                   .MirrorColor = ZODGradientHoverMirrorFrom,
                                   .MirrorColorTo = ZODGradientHoverMirrorTo, .BorderColor = ZODGradientHoverBorder};
    const TCellBackground downSet{.Color = ZODGradientDownFrom, .ColorTo = ZODGradientDownTo,
                                  .MirrorColor = ZODGradientDownMirrorFrom, .MirrorColorTo = ZODGradientDownMirrorTo,
                                  .BorderColor = ZODGradientDownBorder};
    if (hovered) {
        TRect r = P.Rect;
        ++r.Bottom;
        const bool dropDown = ControlLook()->FixedDropDownButton;
        if (!FMouseDownMove && !moving) {
            DrawCellBackground(c, r, hoverSet);
        } else if (dropDown) {
            // The 16 pixels at the right are the drop-down button, pressed while the mouse is held.
            TRect rest = r, button = r;
            rest.Right -= 16;
            button.Left = rest.Right;
            DrawCellBackground(c, rest, downSet);
            DrawCellBackground(c, button, hoverSet);
        } else {
            DrawCellBackground(c, r, downSet);
        }
        if (dropDown) {
            c->Pen()->SetColor(FMouseDownMove ? ZODGradientDownBorder : ZODGradientHoverBorder);
            Line(c, r.Right - 16, r.Top, r.Right - 16, r.Bottom);
            DrawDownTriangle(c, r.Right - 8, r.Top + 8, plat::clBlack);
            P.Rect.Right -= 16;
        }
        return;
    }
    const bool activeHeader = ActiveCellShow() && ((FixedCols() > 0 && ARow == Row() && ACol == FixedCols() - 1) ||
                                                 (FixedRows() > 0 && ACol == Col() && ARow == FixedRows() - 1));
    if (activeHeader) {
        DrawCellBackground(c, P.Rect, {.Color = ActiveCellColor(), .ColorTo = ActiveCellColorTo()});
        return;
    }
    const TSortSettings* ss = SortSettings();
    const bool sortHeader = ss->Column != -1 && ss->HeaderColor() != plat::clNone && P.RCol == ss->Column &&
                            ARow == FixedRows() - 1 && (ACol >= FixedCols() || ss->FixedCols);
    if (sortHeader) {
        DrawCellBackground(c, P.Rect,
                           {.Color = ss->HeaderColor(), .ColorTo = ss->HeaderColorTo(),
                            .MirrorColor = ss->HeaderMirrorColor(), .MirrorColorTo = ss->HeaderMirrorColorTo(),
                            .SideLinesOnly = true});
        return;
    }
    if (!FFlat)
        DrawCellBackground(c, P.Rect,
                           {.Color = P.SavedBrush, .ColorTo = P.V.ColorTo, .MirrorColor = P.V.MirrorColor,
                            .MirrorColorTo = P.V.MirrorColorTo,
                            .BorderColor = Look() == glVista ? plat::clWhite : plat::clNone, .SideLinesOnly = true});
}

// Steps 11 and 12: the plain list-view header and the modified-row marker.
void TExtStringGrid::PaintCellDecorations(TCellPaint& P) {
    TCanvas* c = P.C;
    if (P.Fixed && Look() == glListView && !FFlat) {
        // Without visual themes the header is a plain button face with a light frame.
        c->Brush()->SetColor(plat::clBtnFace);
        c->Pen()->SetColor(plat::clWhite);
        c->Rectangle(P.Rect);
        c->Brush()->SetColor(P.SavedBrush);
    }
    if (P.ACol == 0 && FShowModified->Enabled() && FModifiedRows->HasValue(DisplToRealRow(P.ARow))) {
        c->Brush()->SetColor(FShowModified->Color());
        c->Pen()->SetColor(FShowModified->Color());
        c->Rectangle(P.Rect.Right - 4, P.Rect.Top, P.Rect.Right, P.Rect.Bottom);
        c->Brush()->SetColor(P.SavedBrush);
    }
}

// Steps 19-22: the raised edges of classic, XP and soft headers; the lines of right fixed
// columns in a flat grid.
void TExtStringGrid::PaintFixedEdges(TCellPaint& P) {
    TCanvas* c = P.C;
    const TRect& rect = P.Rect;
    const TGridLook look = Look();
    const auto& opt = Options();
    if (P.Fixed && !FFlat) {
        const bool fhl = opt.Contains(plat::goFixedHorzLine), fvl = opt.Contains(plat::goFixedVertLine);
        const TColor half = HalfTone(FixedColor());
        c->Pen()->SetWidth(1);
        if (look == glClassic) {
            const TRect r{rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom + 1};
            c->Pen()->SetColor(plat::clBtnHighlight);
            Line(c, r.Left, r.Bottom - 1, r.Left, r.Top);
            c->LineTo(r.Right - 1, r.Top);
            c->Pen()->SetColor(plat::clBtnShadow);
            Line(c, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 2);
            c->LineTo(r.Left - 1, r.Bottom - 2);
            c->Pen()->SetColor(plat::clBlack);
            Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
            c->LineTo(r.Left - 1, r.Bottom - 1);
        } else if ((look == glZOD || look == glXP) && fhl) {
            const TRect r{rect.Left, rect.Top, rect.Right, rect.Bottom + 1};
            c->Pen()->SetColor(half);
            Line(c, r.Left, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
            c->Pen()->SetColor(plat::clWhite);
            Line(c, r.Right - 2, r.Top + 1, r.Left + 1, r.Top + 1);
            c->LineTo(r.Left + 1, r.Bottom - 1);
        } else if (look == glSoft) {
            const TRect r{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1};
            if (fhl) {
                c->Pen()->SetColor(half);
                Line(c, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
                c->Pen()->SetColor(plat::clWhite);
                Line(c, r.Right, r.Top + 1, r.Left + 1, r.Top + 1);
                c->LineTo(r.Left + 1, r.Bottom - 1);
            }
            if (fvl) {
                c->Pen()->SetColor(half);
                Line(c, r.Right - 2, r.Top, r.Right - 2, r.Bottom - 1);
                c->Pen()->SetColor(plat::clWhite);
                Line(c, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
            }
        }
    }
    if (FFlat && look != glClassic && FixedRightCols > 0 && P.RCol >= TotalColCount() - FixedRightCols) {
        c->Pen()->SetColor(plat::clGray);
        c->Pen()->SetWidth(1);
        if (opt.Contains(plat::goFixedHorzLine)) {
            Line(c, rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Top - 1);
            Line(c, rect.Left - 1, rect.Bottom, rect.Right + 1, rect.Bottom);
        }
        if (opt.Contains(plat::goFixedVertLine)) {
            Line(c, rect.Left - 1, rect.Top - 1, rect.Left - 1, rect.Bottom + 1);
            Line(c, rect.Right, rect.Top - 1, rect.Right, rect.Bottom + 1);
        }
    }
}

// Step 23: the tree lines of node rows in real column 0.
void TExtStringGrid::PaintTreeLines(TCellPaint& P) {
    if (P.RCol != 0 || P.ARow < FixedRows() || NumNodes() == 0 || !CellNode()->ShowTree()) return;
    TCanvas* c = P.C;
    const TRect& rect = P.Rect;
    const int indent = CellNode()->NodeIndent();
    const int row = P.ARow;
    c->Pen()->SetColor(CellNode()->TreeColor());
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(plat::psDot);
    const int x0 = GetRowIndent(row) - indent / 2 + 2;
    const int mid = rect.Top + (rect.Bottom - rect.Top) / 2;
    const int level = GetNodeLevel(row);
    if (level > 0) Line(c, x0, mid, CellNode()->ShowTreeFull() ? rect.Right : rect.Left + 4, mid);
    switch (GetNodeSpanType(row)) {
    case 1: Line(c, x0, rect.Top, x0, mid); break;
    case 2: Line(c, x0, rect.Top, x0, rect.Bottom + 4); break;
    default: break;
    }
    const bool last = row + 1 >= RowCount();
    const bool nextHasLevel = !last && GetNodeLevel(row + 1) > 0;
    for (int i = 1; i <= level; ++i) {
        const int x = x0 - indent * i;
        if (nextHasLevel) {
            Line(c, x, rect.Top, x, rect.Bottom + 4);
        } else {
            Line(c, x, rect.Top, x, mid);
            if (i < level) Line(c, x, mid, x0 + indent - indent * i, mid);
        }
    }
    c->Pen()->SetStyle(plat::psSolid);
}

// Step 27: the platform's focus rectangle on the focused grid's current normal cell.
void TExtStringGrid::PaintFocusRect(TCellPaint& P) {
    if (FHideFocusRect || !Focused() || Options().Contains(plat::goRowSelect)) return;
    const TPoint base = BaseCell(P.ACol, P.ARow);
    if (base.X != Col() || base.Y != Row() || IsFixed(Col(), Row())) return;
    const int g = GridLineWidth() - 1;
    const TRect& r = P.Rect;
    P.C->DrawFocusRect({r.Left - g, r.Top - g, r.Right + g - 1, r.Bottom + g - 1});
}

void TExtStringGrid::DrawCellBorders(TCanvas* ACanvas, int ACol, int ARow, TRect R) {
    const plat::TPen saved(*ACanvas->Pen());
    TCellBorders borders;
    GetCellBorder(ACol, ARow, ACanvas->Pen(), borders);
    if (!borders.Empty()) {
        const plat::TPen pen(*ACanvas->Pen());
        plat::TPen left(pen), top(pen), right(pen), bottom(pen);
        if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, ACol, &left, &top, &right, &bottom);
        const int h = (pen.Width() + 1) / 2;
        const auto& opt = Options();
        const int f = opt.Contains(plat::goVertLine) ? h : 0;
        const int e = opt.Contains(plat::goHorzLine) ? h : 0;
        const int L = R.Left + f, Rt = R.Right - f, B = R.Bottom - e, g = GridLineWidth();
        if (borders.Contains(cbLeft)) {
            ACanvas->SetPen(&left);
            Line(ACanvas, std::max(0, L), R.Top, std::max(0, L), B);
        }
        if (borders.Contains(cbRight)) {
            ACanvas->SetPen(&right);
            Line(ACanvas, Rt - 1, R.Top, Rt - 1, B);
        }
        if (borders.Contains(cbTop)) {
            ACanvas->SetPen(&top);
            const int y = g == 0 ? R.Top + e + 1 : std::max(0, R.Top + e - g);
            Line(ACanvas, L, y, Rt, y);
        }
        if (borders.Contains(cbBottom)) {
            ACanvas->SetPen(&bottom);
            Line(ACanvas, L - g - 1, B - 1, Rt, B - 1);
        }
    }
    ACanvas->SetPen(&saved);
}

void TExtStringGrid::Paint() {
    TCanvas* c = Canvas();
    c->Pen()->SetStyle(plat::psSolid);
    c->Brush()->SetStyle(plat::bsSolid);
    TBaseGrid::Paint();
    if (FWheelPan) PaintPanAnchor();
    c->Pen()->SetColor(plat::clBlack);
    if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != plat::clNone) PaintBackgroundOutsideCells();
    if (FBackGround->Display() == bdFixed) FBackGroundCovered = BackGroundCoveredCells();
    if (OnPainted) OnPainted(this);
}

void TExtStringGrid::DrawColSizingLine(int X) {
    TCanvas* c = Canvas();
    const plat::TPen saved(*c->Pen());
    c->Pen()->SetStyle(plat::psDot);
    c->Pen()->SetMode(plat::pmXor);
    c->Pen()->SetColor(plat::clBlack);
    c->Pen()->SetWidth(1);
    const TRect last = CellRect(LeftCol(), RowCount() - 1);
    Line(c, X, 0, X, std::max(Height(), last.Bottom));
    c->SetPen(&saved);
}

void TExtStringGrid::DrawRowSizingLine(int Y) {
    TCanvas* c = Canvas();
    const plat::TPen saved(*c->Pen());
    c->Pen()->SetStyle(plat::psDot);
    c->Pen()->SetMode(plat::pmXor);
    c->Pen()->SetColor(plat::clBlack);
    c->Pen()->SetWidth(1);
    const TRect last = CellRect(ColCount() - 1, TopRow());
    Line(c, 0, Y, std::max(Width(), last.Right), Y);
    c->SetPen(&saved);
}

void TExtStringGrid::WndProc(plat::TMessage& Message) {
    if (EditMessage(Message)) return;
    if (MouseMessage(Message)) return;
    ThemeMessage(Message);
    if (NavigationKeyDown(*this, Message)) return;
    bool handled = false;
    ViewMessage(Message, handled);
    if (handled) return;
    TBaseGrid::WndProc(Message);
    switch (Message.Msg) {
    case plat::WM_NCPAINT:
        // Unless an update is in progress; the message counts as handled either way.
        if (FUpdateCount == 0) PaintBorderColor(reinterpret_cast<TCanvas*>(Message.WParam));
        Message.Result = 0;
        break;
    case plat::WM_SIZE: AfterSize(); break;
    case plat::WM_HSCROLL:
    case plat::WM_VSCROLL: AfterScroll(Message.Msg == plat::WM_HSCROLL); break;
    case plat::WM_LBUTTONUP:
    case plat::CM_BASE + 41:
        if (FScrollProportional && !IsDesigning()) {
            UpdateVScrollProportional();
            UpdateHScrollProportional();
        }
        break;
    default: ViewControlMessage(Message); break;
    }
}

void TExtStringGrid::PaintBorderColor(TCanvas* Canvas) {
    const TGridLook look = Look();
    if (look == glStandard || look == glClassic || look == glCustom) return;
    if (BorderStyle() != plat::bsSingle || FBorderColor == plat::clNone || FFlat) return;
    if (!Canvas) {
        // Outside the non-client paint the frame is repainted with it.
        InvalidateFrame();
        return;
    }
    const int W = Width(), H = Height();
    auto frame = [&](TColor color, int l, int t, int r, int b, int bottomEnd) {
        Canvas->Pen()->SetColor(color);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetStyle(plat::psSolid);
        Canvas->MoveTo(l, bottomEnd);
        Canvas->LineTo(l, t);
        Canvas->LineTo(r, t);
        Canvas->LineTo(r, b);
        Canvas->LineTo(l, b);
    };
    if (FitCellsInGrid) {
        frame(FBorderColor, 1, 1, W - 2, H - 2, H);
        if (Parent()) frame(Parent()->Color(), 0, 0, W - 1, H - 1, H);
    } else {
        frame(FBorderColor, 0, 0, W - 1, H - 1, H - 1);
    }
}

} // namespace grid
