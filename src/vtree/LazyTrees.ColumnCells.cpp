// The column side of the tree's cells: which column owns a point of a row (with cells spanning
// over empty neighbours), the string tree's empty cells and spanning, and bringing a column
// into view. Coordinates are absolute (the horizontal offset added) unless said otherwise.
#include <algorithm>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

TColumnIndex TBaseLazyTree::ColumnOfCellAt(PLazyNode Node, int X, int& Left, int& Right)
{
    TLazyTreeColumns& cols = FHeader->Columns();
    TColumnIndex c = cols.GetColumnAndBounds(TPoint{X, 0}, Left, Right, false);
    if (c < 0 || !In(FOptions->AutoOptions(), toAutoSpanColumns)) return c;
    // An empty cell belongs to the nearest non-empty cell on its left, never across the edge
    // of the fixed area (the fixed cells are painted unscrolled).
    const bool fixed = In(cols[c]->Options(), coFixed);
    for (;;) {
        bool empty = true;
        DoGetCellIsEmpty(Node, c, empty);
        if (!empty) break;
        const TColumnIndex prev = cols.GetPreviousVisibleColumn(c);
        if (prev < 0 || In(cols[prev]->Options(), coFixed) != fixed) break;
        Left -= cols[prev]->Width();
        c = prev;
    }
    // ... and that cell reaches over the empty cells on its right.
    for (TColumnIndex next = cols.GetNextVisibleColumn(c); next >= 0; next = cols.GetNextVisibleColumn(next)) {
        if (In(cols[next]->Options(), coFixed) != fixed) break;
        bool empty = true;
        DoGetCellIsEmpty(Node, next, empty);
        if (!empty) break;
        Right += cols[next]->Width();
    }
    return c;
}

bool TBaseLazyTree::ScrollIntoView(TColumnIndex Column, bool Center)
{
    TLazyTreeColumns& cols = FHeader->Columns();
    if (!FHeader->UseColumns() || !cols.IsValidColumn(Column)) return false;
    const TLazyTreeColumn* c = cols[Column];
    const int left = c->Left();
    const int width = c->Width();
    const int fixed = cols.GetVisibleFixedWidth();
    const int client = ClientWidth();
    int newEffective = FEffectiveOffsetX;
    if (Center) {
        newEffective = left + FEffectiveOffsetX + width / 2 - fixed / 2 - client / 2;
    } else if (!In(c->Options(), coFixed)) {
        if (left + width > client) newEffective = left + width + FEffectiveOffsetX - client;
        else if (left < fixed) newEffective = FEffectiveOffsetX + left - fixed;
    }
    if (newEffective != FEffectiveOffsetX) {
        if (FBiDiMode == bdLeftToRight) SetOffsetX(-newEffective);
        else SetOffsetX(newEffective + client - FRangeX);
    }
    return true;
}

// ---- the string tree -----------------------------------------------------------------------------

void TCustomLazyStringTree::DoGetCellIsEmpty(PLazyNode Node, TColumnIndex Column, bool& IsEmpty)
{
    if (!GetText(Node, Column).empty()) {
        IsEmpty = false;
        return;
    }
    TBaseLazyTree::DoGetCellIsEmpty(Node, Column, IsEmpty);
}

bool TCustomLazyStringTree::CellIsEmpty(PLazyNode Node, TColumnIndex Column)
{
    bool empty = true;
    DoGetCellIsEmpty(Node, Column, empty);
    return empty;
}

void TCustomLazyStringTree::SpanCellRect(TLTPaintInfo& PaintInfo, TColumnIndex& NextNonEmpty)
{
    TLazyTreeColumns& cols = Header().Columns();
    NextNonEmpty = cols.GetNextVisibleColumn(PaintInfo.Column);
    if (!In(TreeOptions().AutoOptions(), toAutoSpanColumns) || !Header().UseColumns() ||
        PaintInfo.BidiMode != bdLeftToRight)
        return;
    // A fixed cell is painted unscrolled: it never spans into the scrolled columns.
    const bool fixed = cols.IsValidColumn(PaintInfo.Column) && In(cols[PaintInfo.Column]->Options(), coFixed);
    while (NextNonEmpty >= 0 && cols[NextNonEmpty]->BiDiMode() == bdLeftToRight &&
           In(cols[NextNonEmpty]->Options(), coFixed) == fixed && CellIsEmpty(PaintInfo.Node, NextNonEmpty)) {
        PaintInfo.CellRect.Right += cols[NextNonEmpty]->Width();
        NextNonEmpty = cols.GetNextVisibleColumn(NextNonEmpty);
    }
}

} // namespace vtree
