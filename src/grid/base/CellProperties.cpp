#include "CellProperties.h"

#include <algorithm>

#include "plat/SysUtils.h"

namespace grid {

// ---- TCellProperties ----------------------------------------------------------------------

TCellProperties::TCellProperties(TCellPropertiesOwner* AOwner, int ACol, int ARow)
    : OwnerCol(ACol), OwnerRow(ARow), FOwnerGrid(AOwner), FWordWrap(AOwner ? AOwner->GridWordWrap() : true) {}

void TCellProperties::Repaint() {
    if (FOwnerGrid) FOwnerGrid->RepaintCell(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
    FBrushColor = Value;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor Value) {
    FBrushColorTo = Value;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
    FVAlignment = Value;
    Repaint();
}

void TCellProperties::SetWordWrap(bool Value) {
    FWordWrap = Value;
    Repaint();
}

void TCellProperties::Assign(const plat::TPersistent* Source) {
    const auto* s = dynamic_cast<const TCellProperties*>(Source);
    if (!s) {
        plat::TPersistent::Assign(Source);
        return;
    }
    IsBaseCell = s->IsBaseCell;
    CellSpanX = s->CellSpanX;
    CellSpanY = s->CellSpanY;
    OwnerRow = s->OwnerRow;
    OwnerCol = s->OwnerCol;
    CellObject = s->CellObject;
    Alignment = s->Alignment;
    BorderColor = s->BorderColor;
    BorderWidth = s->BorderWidth;
    FBrushColor = s->FBrushColor;
    BrushStyle = s->BrushStyle;
    FontColor = s->FontColor;
    FontStyle = s->FontStyle;
    FontName = s->FontName;
    FontSize = s->FontSize;
    ReadOnly = s->ReadOnly;
    Editor = s->Editor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    NodeLevel = s->NodeLevel;
    Control = s->Control;
}

TPoint TCellProperties::GetBaseCell(int ACol, int ARow) const {
    if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1) return {ACol - CellSpanX, ARow - CellSpanY};
    return {ACol, ARow};
}

// ---- TCellMap -------------------------------------------------------------------------------

bool TCellMap::HasCellProperties(int ACol, int ARow) const {
    return ACol >= 0 && ACol < cols_ && ARow >= 0 && ARow < rows_ && store_.Object(ACol, ARow) != nullptr;
}

TCellProperties* TCellMap::Props(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return nullptr;
    return static_cast<TCellProperties*>(store_.Object(ACol, ARow));
}

TPoint TCellMap::BaseCell(int ACol, int ARow) const {
    if (const TCellProperties* p = Props(ACol, ARow)) return p->GetBaseCell(ACol, ARow);
    return {ACol, ARow};
}

bool TCellMap::GetBaseCellOf(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
    const TCellProperties* p = Props(ACol, ARow);
    if (!p || p->IsBaseCell) {
        BaseCol = ACol;
        BaseRow = ARow;
        return true;
    }
    const TPoint b = p->GetBaseCell(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return false;
}

bool TCellMap::IsBaseCell(int ACol, int ARow) const {
    const TCellProperties* p = Props(ACol, ARow);
    return !p || p->IsBaseCell;
}

bool TCellMap::IsMergedCell(int ACol, int ARow) const {
    const TCellProperties* p = Props(ACol, ARow);
    return p && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TCellMap::IsMergedNonBaseCell(int ACol, int ARow) const {
    return IsMergedCell(ACol, ARow) && !Props(ACol, ARow)->IsBaseCell;
}

bool TCellMap::IsXMergedCell(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* p = Props(b.X, b.Y);
    return p && p->CellSpanX > 0;
}

bool TCellMap::IsYMergedCell(int ACol, int ARow) const {
    if (!HasCellProperties(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* p = Props(b.X, b.Y);
    return p && p->CellSpanY > 0;
}

TPoint TCellMap::CellSpan(int ACol, int ARow) const {
    const TCellProperties* p = Props(ACol, ARow);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TCellProperties* bp = Props(b.X, b.Y);
    if (!bp) return {0, 0};
    return {bp->CellSpanX, bp->CellSpanY};
}

TPoint TCellMap::CellExt(int ACol, int ARow) const {
    const TCellProperties* p = Props(ACol, ARow);
    if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    const TCellProperties* bp = Props(b.X, b.Y);
    if (!bp) return {0, 0};
    return {b.X + bp->CellSpanX - ACol, b.Y + bp->CellSpanY - ARow};
}

plat::TRect TCellMap::FullCell(int ACol, int ARow) const {
    const TPoint b = BaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

int TCellMap::MinRowSpan(int ARow) const {
    int best = rows_;
    for (int c = 0; c < cols_; ++c) {
        const int y = CellSpan(c, ARow).Y;
        if (y > 0 && y < best) best = y;
    }
    return best;
}

int TCellMap::MaxRowSpan(int ARow) const {
    int best = 0;
    for (int c = 0; c < cols_; ++c) best = std::max(best, CellSpan(c, ARow).Y);
    return best;
}

bool TCellMap::RowSpanIdentical(int ARow1, int ARow2) const {
    bool result = false;
    for (int c = 0; c < cols_; ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
            result = true;
        }
    }
    return result;
}

bool TCellMap::ColSpanIdentical(int ACol1, int ACol2, bool& Found) const {
    Found = false;
    for (int r = 0; r < rows_; ++r) {
        const int x1 = CellSpan(ACol1, r).X, x2 = CellSpan(ACol2, r).X;
        if (x1 > 0 && x2 > 0) {
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X) return false;
            Found = true;
        } else if (x1 != x2) {
            return false;
        }
    }
    return true;
}

void TCellMap::MergeCells(int ACol, int ARow, int SpanX, int SpanY, const TCreateProps& create,
                          const TRepaint& repaint) {
    if (SpanX < 1 || SpanY < 1) return;
    // An earlier area that shares a cell with the new one is split first, so no cell ends
    // up pointing at a base whose spans no longer cover it.
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r)
            if (IsMergedCell(c, r)) SplitCells(c, r, create, repaint);
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r) {
            TCellProperties* p = create(c, r);
            const bool base = c == ACol && r == ARow;
            p->IsBaseCell = base;
            p->CellSpanX = base ? SpanX - 1 : c - ACol;
            p->CellSpanY = base ? SpanY - 1 : r - ARow;
        }
    if (repaint)
        for (int c = ACol; c < ACol + SpanX; ++c)
            for (int r = ARow; r < ARow + SpanY; ++r) repaint(c, r);
}

void TCellMap::SplitCells(int ACol, int ARow, const TCreateProps& create, const TRepaint& repaint) {
    const TPoint b = create(ACol, ARow)->GetBaseCell(ACol, ARow);
    TCellProperties* bp = Props(b.X, b.Y);
    if (!bp) return;
    const int sx = std::max(bp->CellSpanX, 0), sy = std::max(bp->CellSpanY, 0);
    for (int c = b.X; c <= b.X + sx; ++c)
        for (int r = b.Y; r <= b.Y + sy; ++r) {
            if (TCellProperties* p = Props(c, r)) {
                p->IsBaseCell = true;
                p->CellSpanX = -1;
                p->CellSpanY = -1;
            }
            if (repaint) repaint(c, r);
        }
}

String TCellMap::CheckMerges() const {
    String fault;
    auto at = [](int c, int r) { return u"(" + plat::IntToStr(c) + u"," + plat::IntToStr(r) + u")"; };
    for (int r = 0; r < rows_ && fault.empty(); ++r) {
        store_.ForEachInRow(r, [&](int c, StringView, plat::TObject* obj) {
            if (!fault.empty() || !obj || c >= cols_) return;
            const auto* p = static_cast<const TCellProperties*>(obj);
            if ((p->CellSpanX == -1) != (p->CellSpanY == -1)) {
                fault = u"cell " + at(c, r) + u" has only one span";
                return;
            }
            if (p->IsBaseCell) {
                for (int x = c; x <= c + std::max(p->CellSpanX, 0) && fault.empty(); ++x)
                    for (int y = r; y <= r + std::max(p->CellSpanY, 0); ++y) {
                        if (x == c && y == r) continue;
                        const TCellProperties* q = Props(x, y);
                        if (!q || q->IsBaseCell || q->GetBaseCell(x, y) != TPoint{c, r}) {
                            fault = u"cell " + at(x, y) + u" inside the area of " + at(c, r) + u" points elsewhere";
                            break;
                        }
                    }
                return;
            }
            if (p->CellSpanX < 0 || p->CellSpanY < 0) {
                fault = u"non-base cell " + at(c, r) + u" without spans";
                return;
            }
            const TPoint b = p->GetBaseCell(c, r);
            const TCellProperties* bp = Props(b.X, b.Y);
            if (!bp || !bp->IsBaseCell || c > b.X + bp->CellSpanX || r > b.Y + bp->CellSpanY)
                fault = u"cell " + at(c, r) + u" is not covered by its base " + at(b.X, b.Y);
        });
    }
    return fault;
}

} // namespace grid
