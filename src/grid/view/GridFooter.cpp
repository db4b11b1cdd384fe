// The floating footer: its settings, the footer calculations and the panel's painting.
#include "GridFooter.h"

#include <algorithm>

#include "EsgHTMLE.h"
#include "GridCellPaint.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TRect;

String FillFooterTemplate(StringView Template, const std::function<String(int)>& ColumnText) {
    String out;
    std::size_t i = 0;
    while (i < Template.size()) {
        const std::size_t open = Template.find(u"<#", i);
        if (open == StringView::npos) break;
        const std::size_t close = Template.find(u'>', open + 2);
        if (close == StringView::npos) break;
        out.append(Template.substr(i, open - i));
        const String number(Template.substr(open + 2, close - open - 2));
        int n = 0;
        if (plat::TryStrToInt(number, n)) out += ColumnText(n);
        i = close + 1;
    }
    out.append(Template.substr(std::min(i, Template.size())));
    return out;
}

// ---- settings --------------------------------------------------------------------------------

void TFloatingFooter::Assign(const plat::TPersistent* Source) {
    if (auto* s = dynamic_cast<const TFloatingFooter*>(Source)) {
        CalculateHiddenRows = s->CalculateHiddenRows;
        FColor = s->FColor;
        FColumn = s->FColumn;
        FCustomTemplate = s->FCustomTemplate;
        FFooterStyle = s->FFooterStyle;
        SetVisible(s->FVisible);
        SetShowHint(s->FShowHint);
    }
}

void TFloatingFooter::SetVisible(bool Value) {
    FVisible = Value;
    TExtStringGrid& g = *FGrid;
    if (Value) g.EnsureFooterPanel();
    if (plat::TCustomPanel* p = g.FFooterPanel) {
        p->SetHeight(Value ? std::max(0, FHeight - 1) : 0);
        p->SetVisible(Value);
    }
    const bool lastRow = Value && FFooterStyle == fsFixedLastRow;
    g.FixedFooters = lastRow ? 1 : 0;
    g.SetHideLastRow(lastRow);
    g.Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
    FFooterStyle = Value;
    const bool lastRow = FVisible && Value == fsFixedLastRow;
    FGrid->SetHideLastRow(lastRow);
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetColor(TColor Value) {
    FColor = Value;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int Value) {
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const String& Value) {
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value) {
    FShowHint = Value;
    if (FGrid->FFooterPanel) FGrid->FFooterPanel->SetShowHint(Value);
}

void TFloatingFooter::SetHeight(int Value) {
    FHeight = Value;
    if (FGrid->FFooterPanel && Value > 0 && FVisible) FGrid->FFooterPanel->SetHeight(Value - 1);
}

TColumnCalcType TFloatingFooter::GetColumnCalc(int ACol) const {
    const TCellProperties* p = FGrid->Map().Props(ACol, FGrid->RowCount() - 1);
    return p ? p->CalcType : acNONE;
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value) {
    FGrid->GetCellProperties(ACol, FGrid->RowCount() - 1)->CalcType = Value;
    FGrid->CalcFooter(ACol);
}

void TFloatingFooter::Invalidate() {
    if (FGrid->FFooterPanel) FGrid->FFooterPanel->Invalidate();
}

// ---- grid side -------------------------------------------------------------------------------

void TExtStringGrid::EnsureFooterPanel() {
    if (FFooterPanel) return;
    auto* p = new TFooterPanel(this);
    FFooterPanel = p;
    p->SetParent(this);
    p->SetAlign(plat::alBottom);
    p->SetHeight(0);
    if (OnCreatedFloatingFooter) OnCreatedFloatingFooter(this);
}

void TExtStringGrid::UpdateFooter() { FFloatingFooter->Invalidate(); }

void TExtStringGrid::CalcFooter(int ACol) {
    const TFloatingFooter& ff = *FFloatingFooter;
    if (!ff.Visible() || ff.FooterStyle() != fsFixedLastRow || !ff.EnableCalculation) return;
    const int last = RowCount() - 1;
    const int from = ACol < 0 ? 0 : ACol, to = ACol < 0 ? AllColCount() - 1 : ACol;
    const int h = ff.CalculateHiddenRows ? NumHiddenRows() : 0;
    const int r1 = FixedRows(), r2 = RowCount() - 2 + h;
    for (int c = from; c <= to; ++c) {
        const TCellProperties* p = Map().Props(c, last);
        if (!p) continue;
        switch (p->CalcType) {
        case acSUM: SetFloats(c, last, ColumnSum(c, r1, r2)); break;
        case acAVG: SetFloats(c, last, ColumnAvg(c, r1, r2)); break;
        case acMIN: SetFloats(c, last, ColumnMin(c, r1, r2)); break;
        case acMAX: SetFloats(c, last, ColumnMax(c, r1, r2)); break;
        case acDISTINCT: SetFloats(c, last, ColumnDistinct(c, r1, r2)); break;
        case acSTDDEV: SetFloats(c, last, ColumnStdDev(c, r1, r2)); break;
        case acCOUNT: SetInts(c, last, RowCount() - FixedRows() - 1 + h); break;
        case acCUSTOM: {
            String v;
            if (OnFooterCalc) OnFooterCalc(this, c, RowCount() - 1 + h, v);
            else if (ff.OnCalcFooter) ff.OnCalcFooter(this, c, RowCount() - 1 + h, v);
            SetCells(c, last, v);
            break;
        }
        default: break;
        }
    }
    UpdateFooter();
}

// ---- panel -----------------------------------------------------------------------------------

TFooterPanel::TFooterPanel(TExtStringGrid* AGrid) : plat::TCustomPanel(AGrid), FGrid(AGrid) {
    SetBevelOuter(plat::bvNone);
    SetBorderWidth(0);
}

int TFooterPanel::ColumnAreaWidth() const {
    int w = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) w += FGrid->ColWidths(c);
    for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) w += FGrid->ColWidths(c);
    return w;
}

int TFooterPanel::ColumnAt(int X) const {
    int x = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c) {
        x += FGrid->ColWidths(c);
        if (X < x) return c;
    }
    for (int c = FGrid->LeftCol(); c < FGrid->ColCount(); ++c) {
        x += FGrid->ColWidths(c);
        if (X < x) return c;
    }
    return -1;
}

void TFooterPanel::Paint() {
    TCanvas* c = Canvas();
    const TFloatingFooter& ff = *FGrid->FloatingFooter();
    int w = 0;
    switch (ff.FooterStyle()) {
    case fsFixedLastRow: w = PaintFixedLastRow(c); break;
    case fsColumnPreview: w = PaintPreview(c, false); break;
    case fsCustomPreview: w = PaintPreview(c, true); break;
    case fsCustomPaint:
        w = ColumnAreaWidth();
        if (FGrid->OnFooterPaint) FGrid->OnFooterPaint(this, ff.Column(), c, {0, 0, w, Height()});
        break;
    }
    if (ff.BorderColor() != plat::clNone) {
        c->Pen()->SetColor(ff.BorderColor());
        c->MoveTo(0, 0);
        c->LineTo(w, 0);
    }
}

int TFooterPanel::PaintFixedLastRow(TCanvas* c) {
    const TFloatingFooter& ff = *FGrid->FloatingFooter();
    const int w = ColumnAreaWidth(), h = Height();
    const TGridLook look = FGrid->Look();
    const auto& opt = FGrid->Options();
    const bool fhl = opt.Contains(plat::goFixedHorzLine), fvl = opt.Contains(plat::goFixedVertLine);
    const bool raised = (look == glSoft || look == glZOD || look == glXP || look == glVista) && !FGrid->Flat();
    c->Brush()->SetColor(ff.Color());
    c->FillRect({0, 0, w, h});
    c->Brush()->SetColor(FGrid->Color());
    c->FillRect({w, 0, ClientWidth(), h});
    const int row = FGrid->RowCount() - 1;
    std::vector<int> cols;
    for (int col = 0; col < FGrid->FixedCols(); ++col) cols.push_back(col);
    for (int col = FGrid->LeftCol(); col < FGrid->ColCount(); ++col) cols.push_back(col);
    int x = 0;
    for (int col : cols) {
        const int cw = FGrid->ColWidths(col);
        const bool fixedCol = col < FGrid->FixedCols();
        if (fvl && raised) {
            c->Pen()->SetColor(plat::clWhite);
            c->MoveTo(x, h);
            c->LineTo(x, 0);
        }
        if (fhl) {
            c->Pen()->SetColor(FGrid->GridLineColor());
            c->MoveTo(x, 0);
            c->LineTo(x + cw - 1, 0);
        }
        if (fvl && (fixedCol || look != glVista)) {
            c->Pen()->SetColor(fixedCol ? FGrid->GridLineColor() : plat::clGray);
            c->MoveTo(x + cw - 1, 0);
            c->LineTo(x + cw - 1, h);
        }
        TRect r{x + (fhl && raised ? 1 : 0), fhl ? 1 : 0, x + cw - 1, h};
        if (FGrid->IsBaseCell(col, row)) {
            if (!fixedCol) {
                const int real = FGrid->DisplToRealCol(col);
                if (FGrid->OnGetCellColor) {
                    plat::TBrush brush;
                    plat::TFont font;
                    brush.SetColor(plat::clNone);
                    FGrid->OnGetCellColor(FGrid, row, real, plat::TGridDrawState{plat::gdFixed}, &brush, &font);
                    if (brush.Color() != plat::clNone) {
                        c->Brush()->SetColor(brush.Color());
                        c->FillRect(r);
                    }
                }
                if (const TCellProperties* p = FGrid->Map().Props(real, row); p && p->BrushColor() != plat::clNone) {
                    c->Brush()->SetColor(p->BrushColor());
                    c->FillRect(r);
                }
            }
            if (!fixedCol && FGrid->OnFooterPaint)
                FGrid->OnFooterPaint(this, col, c, r);
            else
                FGrid->DrawGridCell(c, col, row, r, plat::TGridDrawState{plat::gdFixed});
        }
        x += cw;
    }
    return w;
}

int TFooterPanel::PaintPreview(TCanvas* c, bool Template) {
    const TFloatingFooter& ff = *FGrid->FloatingFooter();
    const int w = ColumnAreaWidth(), h = Height();
    c->Brush()->SetColor(ff.Color());
    c->FillRect({0, 0, w, h});
    c->Pen()->SetColor(plat::clGray);
    c->MoveTo(0, h - 1);
    c->LineTo(w - 1, h - 1);
    c->LineTo(w - 1, 0);
    c->Pen()->SetColor(plat::clWhite);
    c->LineTo(0, 0);
    c->LineTo(0, h - 1);
    c->Brush()->SetColor(FGrid->Color());
    c->FillRect({w, 0, ClientWidth(), h});
    const TRect area{1, 1, w - 1, h - 1};
    const int row = FGrid->Row();
    if (Template) {
        const String text = FillFooterTemplate(ff.CustomTemplate(), [&](int n) {
            return n >= 0 && n < FGrid->AllColCount() ? FGrid->Cells(n, row) : String();
        });
        TMarkupDrawInput in;
        in.Canvas = c;
        in.Text = text;
        in.Rect = {area.Left + 2, area.Top + 2, area.Right, area.Bottom};
        in.Images = FGrid->GetGridImageList();
        in.URLColor = FGrid->URLColor();
        in.ShadowColor = 0x808080;
        c->Font()->Assign(*FGrid->Font());
        c->Brush()->SetStyle(plat::bsClear);
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
        c->Brush()->SetStyle(plat::bsSolid);
    } else if (FGrid->OnFooterPaint) {
        FGrid->OnFooterPaint(this, ff.Column(), c, area);
    } else {
        const TColor savedSel = FGrid->SelectionTextColor();
        FGrid->FSelectionTextColor = plat::clBlack;
        FGrid->DrawGridCell(c, FGrid->DisplColIndex(ff.Column()), row, area, plat::TGridDrawState{});
        FGrid->FSelectionTextColor = savedSel;
    }
    return w;
}

} // namespace grid
