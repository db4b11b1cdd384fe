#include "GridHiddenRows.h"

#include <algorithm>

#include "plat/SysUtils.h"

namespace grid {

StringView TGridItem::Text(int ACol) const {
    auto it = std::lower_bound(Cells.begin(), Cells.end(), ACol,
                               [](const TGridItemCell& c, int col) { return c.Col < col; });
    return (it != Cells.end() && it->Col == ACol) ? StringView(it->Text) : StringView();
}

plat::TObject* TGridItem::Object(int ACol) const {
    auto it = std::lower_bound(Cells.begin(), Cells.end(), ACol,
                               [](const TGridItemCell& c, int col) { return c.Col < col; });
    return (it != Cells.end() && it->Col == ACol) ? it->Object : nullptr;
}

void TGridItem::ClearTexts() {
    for (auto& c : Cells) c.Text.clear();
    Cells.erase(std::remove_if(Cells.begin(), Cells.end(), [](const TGridItemCell& c) { return !c.Object; }),
                Cells.end());
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
    const std::size_t mid = items_.size();
    items_.insert(items_.end(), std::make_move_iterator(Items.begin()), std::make_move_iterator(Items.end()));
    Items.clear();
    std::inplace_merge(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(mid), items_.end(),
                       [](const TGridItem& a, const TGridItem& b) { return a.Idx < b.Idx; });
}

std::vector<TGridItem> THiddenRows::TakeRange(int First, int Last) {
    std::vector<TGridItem> out(std::make_move_iterator(items_.begin() + First),
                               std::make_move_iterator(items_.begin() + Last));
    items_.erase(items_.begin() + First, items_.begin() + Last);
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
        for (std::size_t c = 1; c < it.Cells.size(); ++c)
            if (it.Cells[c - 1].Col >= it.Cells[c].Col)
                return u"hidden row item " + plat::IntToStr(static_cast<int>(i)) + u" has its cells out of order";
    }
    return String();
}

} // namespace grid
