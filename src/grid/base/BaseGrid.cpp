#include "BaseGrid.h"

#include <algorithm>
#include <memory>

#include "ExtDraw.h"
#include "plat/Exception.h"
#include "plat/Messages.h"

namespace grid {

using plat::TCanvas;
using plat::TGridDrawState;
using plat::TRect;

namespace {

[[noreturn]] void GridIndexError() { throw plat::EListError(u"Grid index out of range"); }

} // namespace

TBaseGrid::TBaseGrid(plat::TComponent* AOwner) : TObjStringGrid(AOwner) {
    // The grid draws its own lines and backgrounds.
    TObjStringGrid::SetGridLineWidth(0);
    TObjStringGrid::SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid() {
    destroying_ = true;
    ClearAllCellProperties();
    // Whatever lives beyond the counts (hidden columns, rows of a shrunk store) goes too.
    for (int r = 0; r < Store().RowExtent(); ++r) {
        std::vector<int> cols;
        Store().ForEachInRow(r, [&](int c, StringView, plat::TObject* o) {
            if (o) cols.push_back(c);
        });
        for (int c : cols) FreeProps(c, r);
    }
}

TCellMap TBaseGrid::Map() const {
    return TCellMap(const_cast<TBaseGrid*>(this)->Store(), TotalColCount(), RowCount());
}

// ---- cells ------------------------------------------------------------------------------

String TBaseGrid::GetCellEx(int ACol, int ARow) {
    const TPoint b = BaseCell(ACol, ARow);
    String value = GetGridCell(b.X, b.Y);
    if (b.Y < FNormalRowCount) {
        DoGetDisplText(b.X, b.Y, value);
        if (OnGetDisplWideText) {
            String wide = DecodeEscapedUnicode(value);
            DoGetDisplWideText(b.X, b.Y, wide);
            value = EncodeEscapedUnicode(wide);
        }
    }
    return value;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const String& Value) {
    if (HasCellProperties(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        SetGridCell(b.X, b.Y, Value);
        UpdateCellScrollBar(b.X, b.Y);
        if (Parent()) RepaintCell(ACol, ARow);
    } else {
        SetGridCell(ACol, ARow, Value);
    }
    if (FHideLastRow && RowCount() == ARow + 1) CellsUpdated();
}

plat::TObject* TBaseGrid::GetObjectEx(int ACol, int ARow) const {
    const TCellProperties* p = Map().Props(ACol, ARow);
    return p ? reinterpret_cast<plat::TObject*>(p->CellObject) : nullptr;
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, plat::TObject* Value) {
    // A blank text first, so the cell exists while its properties are made.
    const bool wasEmpty = GetCellEx(ACol, ARow).empty();
    if (wasEmpty) SetCellEx(ACol, ARow, u" ");
    GetCellProperties(ACol, ARow)->CellObject = reinterpret_cast<std::uintptr_t>(Value);
    if (wasEmpty) SetCellEx(ACol, ARow, String());
}

plat::TObject* TBaseGrid::GetGraphicObjectEx(int ACol, int ARow) const {
    const TCellProperties* p = Map().Props(ACol, ARow);
    return p ? p->GraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value) {
    if (destroying_) return;
    const bool wasEmpty = GetCellEx(ACol, ARow).empty();
    if (wasEmpty) SetCellEx(ACol, ARow, u" ");
    GetCellProperties(ACol, ARow)->GraphicObject = Value;
    if (wasEmpty) SetCellEx(ACol, ARow, String());
}

// ---- properties ---------------------------------------------------------------------------

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) GridIndexError();
    if (auto* existing = static_cast<TCellProperties*>(GetGridObject(ACol, ARow))) return existing;
    auto props = std::make_unique<TCellProperties>(this, ACol, ARow);
    plat::TFont font;
    plat::TBrush brush;
    TCellGradientDirection gd = GradientVertical;
    bool wordWrap = FWordWrap;
    TVAlignment va = vtaTop;
    plat::TAlignment al = plat::taLeftJustify;
    TColor mirrorTo = plat::clNone, mirror = plat::clNone, colorTo = plat::clNone;
    GetCellBackground(ACol, ARow, gd, wordWrap, va, al, mirrorTo, mirror, colorTo, &brush, &font);
    TCellProperties* p = props.get();
    p->CalcType = acNONE;
    p->Alignment = al;
    // Plain fields: the repainting setters would repaint a cell not stored yet.
    p->FontName = font.Name();
    p->FontSize = font.Size();
    p->FontStyle = font.Style();
    p->FontColor = font.Color();
    p->GradientDirection = gd;
    SetGridObject(ACol, ARow, props.release());
    // The repainting setters run once the cell holds its properties.
    p->SetVAlignment(va);
    p->SetWordWrap(wordWrap);
    p->SetBrushColor(brush.Color());
    p->SetBrushColorTo(colorTo);
    FHasCellProps = true;
    return p;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value) {
    if (ACol < 0 || ARow < 0) GridIndexError();
    auto* old = static_cast<TCellProperties*>(GetGridObject(ACol, ARow));
    if (old == Value) return;
    SetGridObject(ACol, ARow, Value);
    delete old;
    if (Value) FHasCellProps = true;
}

void TBaseGrid::FreeProps(int ACol, int ARow) {
    auto* p = static_cast<TCellProperties*>(GetGridObject(ACol, ARow));
    if (!p) return;
    SetGridObject(ACol, ARow, nullptr);
    delete p;
}

void TBaseGrid::ClearCellPropertiesRange(int FromCol, int FromRow, int ToCol, int ToRow) {
    if (!FHasCellProps) return;
    for (int r = std::max(FromRow, 0); r <= ToRow && r < Store().RowExtent(); ++r) {
        std::vector<int> cols;
        Store().ForEachInRow(r, [&](int c, StringView, plat::TObject* o) {
            if (o && c >= FromCol && c <= ToCol) cols.push_back(c);
        });
        for (int c : cols) FreeProps(c, r);
    }
}

void TBaseGrid::ClearAllCellProperties() { ClearCellPropertiesRange(0, 0, TotalColCount() - 1, RowCount() - 1); }

void TBaseGrid::FreeCellObject(int ACol, int ARow) { FreeProps(ACol, ARow); }

void TBaseGrid::ClearColumnCellObjects(int ACol) {
    for (int r = 0; r < RowCount(); ++r) {
        SetGridObject(ACol, r, nullptr);
        SetCellEx(ACol, r, String());
    }
}

void TBaseGrid::ClearRowCellObjects(int ARow) {
    for (int c = 0; c < TotalColCount(); ++c) {
        SetGridObject(c, ARow, nullptr);
        SetCellEx(c, ARow, String());
    }
}

void TBaseGrid::ClearCellObjects(int ACol, int ARow) {
    SetCellEx(ACol, ARow, String());
    SetGridObject(ACol, ARow, nullptr);
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
    // Rows that go take their properties objects with them.
    if (RowCount() < OldRowCount)
        for (int r = RowCount(); r < OldRowCount && r < Store().RowExtent(); ++r) {
            std::vector<int> cols;
            Store().ForEachInRow(r, [&](int c, StringView, plat::TObject* o) {
                if (o) cols.push_back(c);
            });
            for (int c : cols) FreeProps(c, r);
        }
    TObjStringGrid::SizeChanged(OldColCount, OldRowCount);
}

void TBaseGrid::DeleteColumn(int ACol) {
    if (ACol < 0 || ACol >= ColCount() || ColCount() <= 1) return;
    for (int r = 0; r < Store().RowExtent(); ++r) FreeProps(ACol, r);
    TObjStringGrid::DeleteColumn(ACol);
}

// ---- merging ------------------------------------------------------------------------------

void TBaseGrid::MergeCells(int ACol, int ARow, int SpanX, int SpanY) {
    ++FMergeCount;
    Map().MergeCells(ACol, ARow, SpanX, SpanY, [this](int c, int r) { return GetCellProperties(c, r); },
                     [this](int c, int r) { RepaintCell(c, r); });
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
    Map().SplitCells(ACol, ARow, [this](int c, int r) { return GetCellProperties(c, r); },
                     [this](int c, int r) { RepaintCell(c, r); });
    --FMergeCount;
}

void TBaseGrid::MoveToBaseCell() {
    if (!HasCellProperties(Col(), Row())) return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col()) SetCol(b.X);
    if (b.Y != Row()) SetRow(b.Y);
}

// ---- geometry -----------------------------------------------------------------------------

TRect TBaseGrid::AbsoluteCellRect(int ACol, int ARow) const {
    const plat::TGridLayout& l = Layout();
    const int lw = l.GridLineWidth;
    auto start = [lw](const plat::TGridAxis& axis, int index, int first) -> long long {
        if (index < axis.Fixed()) return axis.Extent(0, index, lw);
        const long long fixed = axis.Extent(0, axis.Fixed(), lw);
        return index >= first ? fixed + axis.Extent(first, index, lw) : fixed - axis.Extent(index, first, lw);
    };
    const int x = static_cast<int>(start(l.Cols, ACol, l.LeftCol));
    const int y = static_cast<int>(start(l.Rows, ARow, l.TopRow));
    return plat::Bounds(x, y, ColWidths(ACol), RowHeights(ARow));
}

TRect TBaseGrid::CellRect(int ACol, int ARow) const {
    const TCellProperties* p = Map().Props(ACol, ARow);
    if (p && p->CellSpanX != -1) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        const TCellProperties* bp = Map().Props(b.X, b.Y);
        const int sx = bp ? std::max(bp->CellSpanX, 0) : 0, sy = bp ? std::max(bp->CellSpanY, 0) : 0;
        TRect r1 = AbsoluteCellRect(b.X, b.Y);
        if (r1.IsEmpty()) ++r1.Right;
        TRect r2 = AbsoluteCellRect(b.X + sx, b.Y + sy);
        if (r2.IsEmpty()) --r2.Left;
        return {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                std::max(r1.Bottom, r2.Bottom)};
    }
    if (p && p->Control) return AbsoluteCellRect(ACol, ARow);
    const TRect f = TObjStringGrid::CellRect(ACol, ARow);
    return {f.Left, f.Top, f.Left + ColWidths(ACol), f.Top + RowHeights(ARow)};
}

TPoint TBaseGrid::CellSize(int ACol, int ARow) const {
    const TCellProperties* p = Map().Props(ACol, ARow);
    TRect r = AbsoluteCellRect(ACol, ARow);
    if (p && p->CellSpanX != -1) {
        const TPoint b = p->GetBaseCell(ACol, ARow);
        const TPoint s = CellSpan(ACol, ARow);
        const TRect r1 = AbsoluteCellRect(b.X, b.Y), r2 = AbsoluteCellRect(b.X + s.X, b.Y + s.Y);
        r = {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
             std::max(r1.Bottom, r2.Bottom)};
    }
    return {r.Width(), r.Height()};
}

void TBaseGrid::RepaintCell(int ACol, int ARow) {
    if (!HandleAllocated()) return;
    const TRect r = CellRect(ACol, ARow);
    InvalidateRect(&r, true);
}

// ---- appearance ---------------------------------------------------------------------------

void TBaseGrid::SetDefaultDrawing(bool Value) {
    TObjStringGrid::SetDefaultDrawing(false);
    FDefaultDrawing = Value;
}

void TBaseGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = Value;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value) {
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value) {
    FGridFixedLineColor = Value;
    Invalidate();
}

#define STORE_AND_INVALIDATE(field)  \
    if (field == Value) return;      \
    field = Value;                   \
    Invalidate();

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value) { STORE_AND_INVALIDATE(FSelectionStyle) }
void TBaseGrid::SetActiveRowShow(bool Value) { STORE_AND_INVALIDATE(FActiveRowShow) }
void TBaseGrid::SetActiveRowColor(TColor Value) { STORE_AND_INVALIDATE(FActiveRowColor) }
void TBaseGrid::SetActiveRowColorTo(TColor Value) { STORE_AND_INVALIDATE(FActiveRowColorTo) }
void TBaseGrid::SetActiveRowMirrorColor(TColor Value) { STORE_AND_INVALIDATE(FActiveRowMirrorColor) }
void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value) { STORE_AND_INVALIDATE(FActiveRowMirrorColorTo) }

#undef STORE_AND_INVALIDATE

// ---- hooks --------------------------------------------------------------------------------

bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::GetRowIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }
void TBaseGrid::CellsUpdated() {}
void TBaseGrid::UpdateCellScrollBar(int, int) {}
bool TBaseGrid::HasCellBorderEvent() { return false; }
bool TBaseGrid::UsesVCLStyles() { return false; }
int TBaseGrid::DisplColIndex(int ACol) { return ACol; }
int TBaseGrid::TotalColCount() const { return ColCount(); }
void TBaseGrid::ChangeScale(int M, int D) { plat::TWinControl::ChangeScale(M, D); }

void TBaseGrid::DoGetDisplText(int ACol, int ARow, String& Value) {
    if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::DoGetDisplWideText(int ACol, int ARow, String& Value) {
    if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellBackground(int, int, TCellGradientDirection& GradientDirection, bool& WordWrap,
                                  TVAlignment& VAlignment, plat::TAlignment& Alignment, TColor& MirrorColorTo,
                                  TColor& MirrorColor, TColor& ColorTo, plat::TBrush* ABrush, plat::TFont* AFont) {
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    MirrorColorTo = MirrorColor = ColorTo = plat::clNone;
    Alignment = plat::taLeftJustify;
    VAlignment = vtaTop;
    GradientDirection = GradientVertical;
    WordWrap = FWordWrap;
}

void TBaseGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, plat::TBrush* ABrush,
                                    plat::TFont* AFont, TColor& ColorTo, TColor& MirrorColor, TColor& MirrorColorTo,
                                    TCellGradientDirection& GradientDirection) {
    // The string grid computes these from its looks; the base gives a plain grid's colours.
    ColorTo = MirrorColor = MirrorColorTo = plat::clNone;
    GradientDirection = GradientVertical;
    if (AState.Contains(plat::gdFixed)) {
        ABrush->SetColor(FixedColor());
        return;
    }
    if (AState.Contains(plat::gdSelected) && FShowSel) {
        ABrush->SetColor(plat::clHighlight);
        // The styled selections are light: their text keeps the grid's font colour.
        if (FSelectionStyle == ssDefault) AFont->SetColor(plat::clHighlightText);
        return;
    }
    const TCellProperties* p = Map().Props(ACol, ARow);
    ABrush->SetColor(p && p->BrushColor() != plat::clNone ? p->BrushColor() : Color());
    if (p) ColorTo = p->BrushColorTo();
    if (p && p->FontColor != plat::clNone) AFont->SetColor(p->FontColor);
}

void TBaseGrid::DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
    const String text = GetCellEx(ACol, ARow);
    if (text.empty()) return;
    ACanvas->Brush()->SetStyle(plat::bsClear);
    ACanvas->DrawText(text, ARect, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    ACanvas->Brush()->SetStyle(plat::bsSolid);
}

// ---- navigation ---------------------------------------------------------------------------

bool TBaseGrid::SelectCell(int ACol, int ARow) {
    RepaintCell(Col(), Row());
    const bool ok = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return ok;
}

void TBaseGrid::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (HasCellProperties(Col(), Row())) {
        const TPoint b = BaseCell(Col(), Row());
        const TCellProperties* p = Map().Props(b.X, b.Y);
        if (p) {
            switch (Key) {
            case plat::VK_NEXT:
                if (RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1 && FHideLastRow && RowCount() > 1)
                    SetRow(RowCount() - 2);
                break;
            case plat::VK_LEFT:
                if (b.X < Col() && FixedCols() < Col() && b.X > 0) SetCol(b.X - p->CellSpanX);
                break;
            case plat::VK_UP:
                if (b.Y < Row() && FixedRows() < Row() && b.Y > 0) SetRow(b.Y - 1);
                break;
            case plat::VK_RIGHT: {
                const int v = b.X + p->CellSpanX;
                if (v >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && v < ColCount()) SetCol(v);
                break;
            }
            case plat::VK_DOWN: {
                const int v = b.Y + p->CellSpanY;
                if (v >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1) SetRow(v);
                break;
            }
            default:
                break;
            }
        }
    }
    TObjStringGrid::KeyDown(Key, Shift);
    MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(plat::TShiftState Shift, TPoint MousePos) {
    const bool r = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow) SetTopRow(TopRow() + 1);
    MoveToBaseCell();
    return r;
}

bool TBaseGrid::DoMouseWheelUp(plat::TShiftState Shift, TPoint MousePos) {
    const bool r = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    MoveToBaseCell();
    return r;
}

void TBaseGrid::TopLeftChanged() {
    TObjStringGrid::TopLeftChanged();
    // Fixed merged areas reaching into the scrolled part are drawn again.
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r <= TopRow() + VisibleRowCount() && r < RowCount(); ++r)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c <= LeftCol() + VisibleColCount() && c < ColCount(); ++c)
            if (IsMergedCell(c, r)) RepaintCell(c, r);
}

} // namespace grid
