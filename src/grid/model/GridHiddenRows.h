#pragma once
// The hidden-row store of a string grid: one TGridItem per row taken out of the grid, kept
// sorted by Idx (the row's real index, strictly ascending). Both row mappings are binary
// searches over the items, logarithmic in the number of hidden rows:
//   display(r) = r - (items with Idx < r)
//   real(d)    = d + i, i the first item with Idx - i > d (Idx - i is the number of shown
//                rows before item i, which never decreases along the store)
// A plain class: the grid moves rows in and out, tests reach it without a window.
#include <vector>

#include "plat/String.h"

namespace plat { class TObject; }

namespace grid {

using plat::String;
using plat::StringView;

// One stored cell of a hidden row: its real column, text and object reference (the cell's
// properties, which travel with the row and stay owned by the grid).
struct TGridItemCell {
    int Col = 0;
    String Text;
    plat::TObject* Object = nullptr;
};

class TGridItem {
public:
    int Idx = 0;     // real row index
    int Height = 0;  // row height in pixels when hidden
    int Level = 0;   // filter level that hid the row; 0 for the hiding calls
    // Every stored cell of the row, all real columns, in ascending column order.
    std::vector<TGridItemCell> Cells;

    StringView Text(int ACol) const;
    plat::TObject* Object(int ACol) const;
    // Empties the texts and keeps the object references.
    void ClearTexts();
};

class THiddenRows {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    TGridItem& Item(int i) { return items_[static_cast<std::size_t>(i)]; }
    const TGridItem& Item(int i) const { return items_[static_cast<std::size_t>(i)]; }
    std::vector<TGridItem>& Items() { return items_; }
    const std::vector<TGridItem>& Items() const { return items_; }

    // Number of items whose Idx is below ARow (also the insert position for ARow).
    int CountBelow(int ARow) const;
    // Position of the item with Idx = ARow, -1 when the row is shown.
    int Find(int ARow) const;
    bool IsHidden(int ARow) const { return Find(ARow) >= 0; }
    int DisplRow(int ARealRow) const { return ARealRow - CountBelow(ARealRow); }
    // -1 for a negative display row.
    int RealRow(int ADisplRow) const;

    // Inserts the item at its sorted place; an item with the same Idx is replaced.
    void Insert(TGridItem&& Item);
    // Merges items of rows not hidden yet, sorted by Idx; linear in both counts.
    void InsertSorted(std::vector<TGridItem>&& Items);
    // Removes and returns the item at position i.
    TGridItem Take(int i);
    // Removes and returns the items at positions [First, Last).
    std::vector<TGridItem> TakeRange(int First, int Last);
    // Adds Delta to the Idx of every item with Idx >= FromRow.
    void Shift(int FromRow, int Delta);
    // Real rows [FromRow, FromRow + Count) went away: items above them move down by Count;
    // items inside the range must have been taken out before.
    void RowsRemoved(int FromRow, int Count);
    void Clear() { items_.clear(); }

    // Empty when Idx values are strictly ascending and non-negative and every item's cells
    // are in ascending column order; else a description of the first fault.
    String Check() const;

private:
    std::vector<TGridItem> items_;
};

} // namespace grid
