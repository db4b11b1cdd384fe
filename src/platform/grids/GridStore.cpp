#include <algorithm>
#include <cstring>
#include <limits>

#include "plat/Grids.h"

namespace plat {

TGridCellStore::Entry::Entry(Entry&& o) noexcept : col(o.col), len(o.len), obj(o.obj) {
    std::memcpy(inl, o.inl, sizeof(inl));
    o.len = 0;
    o.heap = nullptr;
}

TGridCellStore::Entry& TGridCellStore::Entry::operator=(Entry&& o) noexcept {
    if (this != &o) {
        Release();
        col = o.col;
        len = o.len;
        obj = o.obj;
        std::memcpy(inl, o.inl, sizeof(inl));
        o.len = 0;
        o.heap = nullptr;
    }
    return *this;
}

void TGridCellStore::Entry::Release() {
    if (len > kInline) delete[] heap;
    len = 0;
    heap = nullptr;
}

void TGridCellStore::Entry::Assign(StringView text) {
    if (text.size() > 0xFFFFFFFFu) text = text.substr(0, 0xFFFFFFFFu);
    const auto n = static_cast<std::uint32_t>(text.size());
    if (n <= kInline) {
        // The text may be a view into this very entry; copy before releasing.
        char16_t tmp[kInline] = {};
        std::copy(text.begin(), text.end(), tmp);
        Release();
        std::memcpy(inl, tmp, sizeof(inl));
        len = n;
        return;
    }
    auto* block = new char16_t[n];
    std::copy(text.begin(), text.end(), block);
    Release();
    heap = block;
    len = n;
}

const TGridCellStore::Entry* TGridCellStore::Find(int col, int row) const {
    if (col < 0 || row < 0 || row >= RowExtent()) return nullptr;
    const Row& r = rows_[static_cast<std::size_t>(row)];
    auto it = std::lower_bound(r.begin(), r.end(), col, [](const Entry& e, int c) { return e.col < c; });
    return (it != r.end() && it->col == col) ? &*it : nullptr;
}

TGridCellStore::Entry& TGridCellStore::Touch(int col, int row) {
    if (row >= RowExtent()) rows_.resize(static_cast<std::size_t>(row) + 1);
    Row& r = rows_[static_cast<std::size_t>(row)];
    auto it = std::lower_bound(r.begin(), r.end(), col, [](const Entry& e, int c) { return e.col < c; });
    if (it != r.end() && it->col == col) return *it;
    if (r.size() == r.capacity()) {
        // Rows of a table hold a few dozen cells at most: grow in small steps rather than
        // doubling, so a row's unused tail stays small.
        const std::size_t at = static_cast<std::size_t>(it - r.begin());
        r.reserve(r.size() < 32 ? r.size() + 4 : r.size() + r.size() / 2);
        it = r.begin() + static_cast<std::ptrdiff_t>(at);
    }
    return *r.emplace(it, col);
}

void TGridCellStore::DropIfEmpty(int col, int row) {
    Row& r = rows_[static_cast<std::size_t>(row)];
    auto it = std::lower_bound(r.begin(), r.end(), col, [](const Entry& e, int c) { return e.col < c; });
    if (it != r.end() && it->col == col && it->Empty()) r.erase(it);
    if (r.empty()) {
        Row().swap(r);
        // Trailing empty rows are given back so the extent follows the data.
        while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
    }
}

StringView TGridCellStore::CellView(int col, int row) const {
    const Entry* e = Find(col, row);
    return e ? e->View() : StringView();
}

void TGridCellStore::SetCell(int col, int row, StringView text) {
    if (col < 0 || row < 0) return;
    if (text.empty()) {
        if (const Entry* e = Find(col, row)) {
            const_cast<Entry*>(e)->Release();
            DropIfEmpty(col, row);
        }
        return;
    }
    if (text.size() <= kInline) {
        // The view may point into an inline entry of this store, which Touch can move.
        char16_t tmp[kInline];
        std::copy(text.begin(), text.end(), tmp);
        Touch(col, row).Assign(StringView(tmp, text.size()));
        return;
    }
    Touch(col, row).Assign(text);
}

TObject* TGridCellStore::Object(int col, int row) const {
    const Entry* e = Find(col, row);
    return e ? e->obj : nullptr;
}

void TGridCellStore::SetObject(int col, int row, TObject* obj) {
    if (col < 0 || row < 0) return;
    if (!obj) {
        if (const Entry* e = Find(col, row)) {
            const_cast<Entry*>(e)->obj = nullptr;
            DropIfEmpty(col, row);
        }
        return;
    }
    Touch(col, row).obj = obj;
}

bool TGridCellStore::HasCell(int col, int row) const { return Find(col, row) != nullptr; }

void TGridCellStore::Clear() { std::vector<Row>().swap(rows_); }

void TGridCellStore::TruncateRows(int rowCount) {
    if (rowCount < 0) rowCount = 0;
    if (rowCount < RowExtent()) rows_.resize(static_cast<std::size_t>(rowCount));
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::DeleteRow(int row) {
    if (row < 0 || row >= RowExtent()) return;
    rows_.erase(rows_.begin() + row);
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::DeleteColumn(int col) {
    if (col < 0) return;
    for (Row& r : rows_) {
        auto it = std::lower_bound(r.begin(), r.end(), col, [](const Entry& e, int c) { return e.col < c; });
        if (it != r.end() && it->col == col) it = r.erase(it);
        for (; it != r.end(); ++it) --it->col;
    }
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::MoveRow(int from, int to) {
    if (from < 0 || to < 0 || from == to) return;
    const int need = std::max(from, to) + 1;
    if (need > RowExtent()) rows_.resize(static_cast<std::size_t>(need));
    if (from < to)
        std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
    else
        std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::InsertRows(int row, int count) {
    if (row < 0 || count < 1 || row >= RowExtent()) return;
    // Rows pushed past the last addressable index are dropped.
    const int room = std::numeric_limits<int>::max() - RowExtent();
    if (count > room) {
        rows_.resize(static_cast<std::size_t>(std::max(row, RowExtent() - (count - room))));
        if (row >= RowExtent()) return;
    }
    const std::size_t old = rows_.size();
    rows_.resize(old + static_cast<std::size_t>(count));
    std::rotate(rows_.begin() + row, rows_.begin() + static_cast<std::ptrdiff_t>(old), rows_.end());
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::RemoveRows(int row, int count) {
    if (row < 0 || count < 1 || row >= RowExtent()) return;
    const int end = count > RowExtent() - row ? RowExtent() : row + count;
    rows_.erase(rows_.begin() + row, rows_.begin() + end);
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::MoveRows(int from, int to, int count) {
    if (from < 0 || to < 0 || count < 1 || from == to) return;
    const long long need = static_cast<long long>(std::max(from, to)) + count;
    if (need > std::numeric_limits<int>::max()) return;
    if (std::min(from, to) >= RowExtent()) return;
    if (need > RowExtent()) rows_.resize(static_cast<std::size_t>(need));
    const auto at = [&](long long i) { return rows_.begin() + static_cast<std::ptrdiff_t>(i); };
    if (from < to)
        std::rotate(at(from), at(from + static_cast<long long>(count)), at(to + static_cast<long long>(count)));
    else
        std::rotate(at(to), at(from), at(from + static_cast<long long>(count)));
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::SwapRows(int row1, int row2) {
    if (row1 < 0 || row2 < 0 || row1 == row2) return;
    if (std::min(row1, row2) >= RowExtent()) return;
    const int need = std::max(row1, row2) + 1;
    if (need > RowExtent()) rows_.resize(static_cast<std::size_t>(need));
    rows_[static_cast<std::size_t>(row1)].swap(rows_[static_cast<std::size_t>(row2)]);
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::MoveColumn(int from, int to) {
    if (from < 0 || to < 0 || from == to) return;
    const int lo = std::min(from, to), hi = std::max(from, to);
    for (Row& r : rows_) {
        bool touched = false;
        for (Entry& e : r) {
            if (e.col < lo || e.col > hi) continue;
            touched = true;
            if (e.col == from) e.col = to;
            else if (from < to) --e.col;
            else ++e.col;
        }
        if (touched)
            std::stable_sort(r.begin(), r.end(), [](const Entry& a, const Entry& b) { return a.col < b.col; });
    }
}

void TGridCellStore::ClearColumn(int col) {
    if (col < 0) return;
    for (Row& r : rows_) {
        auto it = std::lower_bound(r.begin(), r.end(), col, [](const Entry& e, int c) { return e.col < c; });
        if (it != r.end() && it->col == col) r.erase(it);
    }
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

void TGridCellStore::ClearRow(int row) {
    if (row < 0 || row >= RowExtent()) return;
    Row().swap(rows_[static_cast<std::size_t>(row)]);
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
}

std::size_t TGridCellStore::CellCount() const {
    std::size_t n = 0;
    for (const Row& r : rows_) n += r.size();
    return n;
}

std::size_t TGridCellStore::MemoryUsage() const {
    std::size_t bytes = sizeof(*this) + rows_.capacity() * sizeof(Row);
    for (const Row& r : rows_) {
        bytes += r.capacity() * sizeof(Entry);
        for (const Entry& e : r)
            if (e.len > kInline) bytes += e.len * sizeof(char16_t);
    }
    return bytes;
}

} // namespace plat
