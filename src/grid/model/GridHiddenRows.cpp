#include "GridHiddenRows.h"

#include <algorithm>

#include "plat/SysUtils.h"

namespace grid {

plat::TGridCellStore& TGridItem::Scratch() {
    // Used only between PutRow and TakeRow of one edit: it never keeps a row.
    static plat::TGridCellStore store;
    return store;
}

void TGridItem::SetText(int ACol, StringView Value) {
    if (ACol < 0) return;
    Edit([&](plat::TGridCellStore& s) { s.SetCell(ACol, 0, Value); });
}

void TGridItem::SetObject(int ACol, plat::TObject* Value) {
    if (ACol < 0) return;
    Edit([&](plat::TGridCellStore& s) { s.SetObject(ACol, 0, Value); });
}

void TGridItem::ClearTexts() {
    std::vector<int> cols;
    Cells.ForEach([&](int c, StringView text, plat::TObject*) {
        if (!text.empty()) cols.push_back(c);
    });
    if (cols.empty()) return;
    Edit([&](plat::TGridCellStore& s) {
        for (int c : cols) s.SetCell(c, 0, StringView());
    });
}

int THiddenRows::CountBelow(int ARow) const {
    auto it = std::lower_bound(items_.begin(), items_.end(), ARow,
                               [](const TGridItem& i, int r) { return i.Idx < r; });
    return static_cast<int>(it - items_.begin());
}

int THiddenRows::Find(int ARow) const {
    const int i = CountBelow(ARow);
    return (i < Count() && items_[static_cast<std::size_t>(i)].Idx == ARow) ? i : -1;
}

int THiddenRows::RealRow(int ADisplRow) const {
    if (ADisplRow < 0) return -1;
    if (items_.empty()) return ADisplRow;
    // First item i whose shown-rows-before count (Idx - i) exceeds ADisplRow.
    std::size_t lo = 0, hi = items_.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (items_[mid].Idx - static_cast<int>(mid) > ADisplRow)
            hi = mid;
        else
            lo = mid + 1;
    }
    return ADisplRow + static_cast<int>(lo);
}

void THiddenRows::Insert(TGridItem&& Item) {
    const int i = CountBelow(Item.Idx);
    if (i < Count() && items_[static_cast<std::size_t>(i)].Idx == Item.Idx)
        items_[static_cast<std::size_t>(i)] = std::move(Item);
    else
        items_.insert(items_.begin() + i, std::move(Item));
}

void THiddenRows::InsertSorted(std::vector<TGridItem>&& Items) {
    if (Items.empty()) return;
    if (items_.empty()) {
        // The list becomes the store as it is: no item moves and no new block is filled.
        items_.swap(Items);
        Items.clear();
        return;
    }
    const std::size_t old = items_.size();
    // Grown to the exact size: a doubled block of a large store would be fresh memory.
    if (items_.capacity() < old + Items.size()) items_.reserve(old + Items.size());
    items_.resize(old + Items.size());
    // Merged from the back into the grown store: each item moves once and no merge buffer
    // is needed; the new items all above the old ones (the usual narrowing) are one append.
    std::size_t a = old, b = Items.size(), w = items_.size();
    while (b > 0) {
        if (a > 0 && items_[a - 1].Idx > Items[b - 1].Idx)
            items_[--w] = std::move(items_[--a]);
        else
            items_[--w] = std::move(Items[--b]);
    }
    Items.clear();
}

std::vector<TGridItem> THiddenRows::TakeRange(int First, int Last) {
    std::vector<TGridItem> out(std::make_move_iterator(items_.begin() + First),
                               std::make_move_iterator(items_.begin() + Last));
    items_.erase(items_.begin() + First, items_.begin() + Last);
    return out;
}

std::vector<TGridItem> THiddenRows::TakeLevel(int Level) {
    std::vector<TGridItem> out;
    std::size_t mine = 0;
    for (const TGridItem& item : items_) mine += item.Level == Level;
    if (mine == 0) return out;
    if (mine == items_.size()) {
        out.swap(items_);
        return out;
    }
    // The other items close up in place, in their order.
    out.reserve(mine);
    std::size_t w = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].Level == Level)
            out.push_back(std::move(items_[i]));
        else if (w++ != i)
            items_[w - 1] = std::move(items_[i]);
    }
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(w), items_.end());
    return out;
}

TGridItem THiddenRows::Take(int i) {
    TGridItem item = std::move(items_[static_cast<std::size_t>(i)]);
    items_.erase(items_.begin() + i);
    return item;
}

void THiddenRows::Shift(int FromRow, int Delta) {
    for (std::size_t i = static_cast<std::size_t>(CountBelow(FromRow)); i < items_.size(); ++i)
        items_[i].Idx += Delta;
}

void THiddenRows::RowsRemoved(int FromRow, int Count) {
    if (Count <= 0) return;
    Shift(FromRow + Count, -Count);
}

String THiddenRows::Check() const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const TGridItem& it = items_[i];
        if (it.Idx < 0) return u"hidden row item " + plat::IntToStr(static_cast<int>(i)) + u" has a negative Idx";
        if (i > 0 && items_[i - 1].Idx >= it.Idx)
            return u"hidden row items " + plat::IntToStr(static_cast<int>(i) - 1) + u" and " +
                   plat::IntToStr(static_cast<int>(i)) + u" are not in ascending Idx order";
    }
    return String();
}

} // namespace grid
