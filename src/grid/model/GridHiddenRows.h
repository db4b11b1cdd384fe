#pragma once
// The hidden-row store of a string grid: one TGridItem per row taken out of the grid, kept
// sorted by Idx (the row's real index, strictly ascending). Both row mappings are binary
// searches over the items, logarithmic in the number of hidden rows:
//   display(r) = r - (items with Idx < r)
//   real(d)    = d + i, i the first item with Idx - i > d (Idx - i is the number of shown
//                rows before item i, which never decreases along the store)
// A plain class: the grid moves rows in and out, tests reach it without a window.
#include <vector>

#include "plat/Grids.h"
#include "plat/String.h"

namespace plat { class TObject; }

namespace grid {

using plat::String;
using plat::StringView;

// A hidden row: its real index, height and cells. The cells are the row's container as the
// grid's cell store held it (texts and object references of all real columns); hiding and
// showing move the container, never a text. The objects (the cells' properties) stay owned
// by the grid.
class TGridItem {
public:
    int Idx = 0;     // real row index
    int Height = 0;  // row height in pixels when hidden
    int Level = 0;   // filter level that hid the row; 0 for the hiding calls
    // The row's flags when it was hidden; it comes back with them.
    bool Modified = false;
    bool Disabled = false;
    plat::TGridCellStore::TRow Cells;

    StringView Text(int ACol) const { return Cells.CellView(ACol); }
    plat::TObject* Object(int ACol) const { return Cells.Object(ACol); }
    void SetText(int ACol, StringView Value);
    void SetObject(int ACol, plat::TObject* Value);
    // f(col, text, object) for every stored cell, in ascending column order.
    template <class F>
    void ForEach(F&& f) const { Cells.ForEach(f); }
    // Empties the texts and keeps the object references.
    void ClearTexts();
    // Rebuilds the cells with column Map(col); a cell whose Map is negative is dropped and
    // its object handed to Drop.
    template <class M, class D>
    void RemapColumns(M&& Map, D&& Drop);

private:
    // Runs f on the cells put into row 0 of a scratch store, then takes them back.
    template <class F>
    void Edit(F&& f);
    static plat::TGridCellStore& Scratch();
};

template <class F>
void TGridItem::Edit(F&& f) {
    plat::TGridCellStore& s = Scratch();
    s.PutRow(0, std::move(Cells));
    f(s);
    Cells = s.TakeRow(0);
}

template <class M, class D>
void TGridItem::RemapColumns(M&& Map, D&& Drop) {
    struct Moved {
        int Col;
        String Text;
        plat::TObject* Object;
    };
    std::vector<Moved> kept;
    Cells.ForEach([&](int c, StringView text, plat::TObject* obj) {
        const int to = Map(c);
        if (to < 0) {
            if (obj) Drop(obj);
            return;
        }
        kept.push_back(Moved{to, String(text), obj});
    });
    Edit([&](plat::TGridCellStore& s) {
        s.ClearRow(0);
        for (const Moved& m : kept) {
            if (!m.Text.empty()) s.SetCell(m.Col, 0, m.Text);
            if (m.Object) s.SetObject(m.Col, 0, m.Object);
        }
    });
}

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
    // Merges items of rows not hidden yet, sorted by Idx; linear in both counts, without a
    // buffer beyond the store's own growth.
    void InsertSorted(std::vector<TGridItem>&& Items);
    // Removes and returns the item at position i.
    TGridItem Take(int i);
    // Removes and returns the items of one filter level, in ascending Idx; the others keep
    // their order. Linear in the store, and without moving any item when every one is of
    // the level.
    std::vector<TGridItem> TakeLevel(int Level);
    // Removes and returns the items at positions [First, Last).
    std::vector<TGridItem> TakeRange(int First, int Last);
    // Adds Delta to the Idx of every item with Idx >= FromRow.
    void Shift(int FromRow, int Delta);
    // Real rows [FromRow, FromRow + Count) went away: items above them move down by Count;
    // items inside the range must have been taken out before.
    void RowsRemoved(int FromRow, int Count);
    void Clear() { items_.clear(); }

    // Empty when Idx values are strictly ascending and non-negative; else a description of
    // the first fault.
    String Check() const;

private:
    std::vector<TGridItem> items_;
};

} // namespace grid
