#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "plat/Grids.h"

namespace plat {

namespace {

// First size of a dense row when the column count is not known; it doubles from there.
constexpr std::uint32_t kMinCap = 8;
constexpr std::size_t kMaxRows = static_cast<std::size_t>(std::numeric_limits<int>::max());

// Columns of a grid up to which every row is indexed directly, however few cells it holds
// (1 KiB of cells per row at most).
constexpr std::uint32_t kAlwaysDense = 64;

// Widest span of columns a row of `cells` cells keeps directly indexed: the columns of a
// narrow grid always, and beyond them twice the cells plus a margin, so a dense row never
// spends more than about half its slots on empty cells while one far-away cell (a million
// columns out) makes the row sparse instead of huge.
std::uint64_t DenseLimit(std::uint64_t cells, std::uint32_t hint) {
    return std::max<std::uint64_t>(std::min(hint, kAlwaysDense), 2 * cells + 16);
}

} // namespace

// ---- blocks -----------------------------------------------------------------------------------

TGridCellStore::RowBlock* TGridCellStore::NewBlock(std::uint32_t cap, bool sparse, std::uint32_t tcap) {
    const std::size_t bytes = sizeof(RowBlock) + std::size_t{cap} * (sizeof(Slot) + (sparse ? sizeof(std::int32_t) : 0)) +
                              std::size_t{tcap} * sizeof(char16_t);
    auto* b = static_cast<RowBlock*>(::operator new(bytes));
    b->cap = cap;
    b->used = 0;
    b->live = 0;
    b->sparse = sparse ? 1 : 0;
    b->tcap = tcap;
    b->tused = 0;
    b->objs = nullptr;
    if (!sparse) std::memset(static_cast<void*>(b->Slots()), 0, cap * sizeof(Slot));
    return b;
}

void TGridCellStore::FreeBlock(RowBlock* b) {
    if (!b) return;
    delete[] b->objs;
    ::operator delete(b);
}

int TGridCellStore::IndexOf(const RowBlock* b, int col) {
    if (!b || col < 0) return -1;
    if (!b->sparse) return static_cast<std::uint32_t>(col) < b->cap ? col : -1;
    const std::int32_t* cols = b->Cols();
    const std::int32_t* it = std::lower_bound(cols, cols + b->used, col);
    return (it != cols + b->used && *it == col) ? static_cast<int>(it - cols) : -1;
}

StringView TGridCellStore::SparseView(const RowBlock* b, int col) {
    const int i = IndexOf(b, col);
    return i < 0 ? StringView() : b->Slots()[i].View(b->Text());
}

void TGridCellStore::DropText(RowBlock* b, Slot& s) {
    if (s.len > kInline && s.Off() + s.len == b->tused) b->tused = s.Off();
    s.len = 0;
}

std::uint32_t TGridCellStore::TextRoom(RowBlock*& b, std::uint32_t n) {
    if (b->tcap - b->tused < n) {
        // Full: a new block with the live texts packed and half as much again of room.
        const std::uint32_t slots = b->sparse ? b->used : b->cap;
        std::uint64_t live = 0;
        for (std::uint32_t i = 0; i < slots; ++i)
            if (b->Slots()[i].len > kInline) live += b->Slots()[i].len;
        const std::uint64_t need = live + n;
        const std::uint64_t tcap = std::min<std::uint64_t>(need + need / 2 + 8, 0xFFFFFFFFu);
        if (need > tcap) throw std::bad_alloc();
        RowBlock* nb = NewBlock(b->cap, b->sparse != 0, static_cast<std::uint32_t>(tcap));
        std::memcpy(static_cast<void*>(nb->Slots()), b->Slots(), slots * sizeof(Slot));
        if (b->sparse) std::memcpy(nb->Cols(), b->Cols(), b->used * sizeof(std::int32_t));
        nb->used = b->used;
        nb->live = b->live;
        nb->objs = b->objs;
        const char16_t* from = b->Text();
        char16_t* to = nb->Text();
        for (std::uint32_t i = 0; i < slots; ++i) {
            Slot& t = nb->Slots()[i];
            if (t.len <= kInline) continue;
            std::memcpy(to + nb->tused, from + t.Off(), t.len * sizeof(char16_t));
            t.SetOff(nb->tused);
            nb->tused += t.len;
        }
        ::operator delete(b);
        b = nb;
    }
    const std::uint32_t off = b->tused;
    b->tused += n;
    return off;
}

std::vector<TGridCellStore::Item> TGridCellStore::Unpack(const RowBlock* b) {
    std::vector<Item> items;
    items.reserve(b->live + 1);
    const Slot* s = b->Slots();
    const std::uint32_t n = b->sparse ? b->used : b->cap;
    for (std::uint32_t i = 0; i < n; ++i) {
        TObject* o = b->objs ? b->objs[i] : nullptr;
        if (s[i].len || o) items.push_back({b->sparse ? b->Cols()[i] : static_cast<std::int64_t>(i), s[i], o});
    }
    return items;
}

TGridCellStore::RowBlock* TGridCellStore::Pack(const std::vector<Item>& items, RowBlock* from, bool growing) const {
    const std::uint64_t span = items.empty() ? 0 : static_cast<std::uint64_t>(items.back().col) + 1;
    const bool anyObj = std::any_of(items.begin(), items.end(), [](const Item& i) { return i.obj != nullptr; });
    std::uint32_t live = 0;
    std::uint64_t text = 0;
    for (const Item& i : items) {
        live += (i.slot.len || i.obj) ? 1 : 0;
        if (i.slot.len > kInline) text += i.slot.len;
    }
    if (text > 0xFFFFFFFFu) throw std::bad_alloc();
    const bool dense = span <= DenseLimit(items.size(), colHint_);
    std::uint64_t cap;
    if (dense) {
        const std::uint32_t narrow = colHint_ <= kAlwaysDense ? colHint_ : 0;
        cap = std::max<std::uint64_t>(span, narrow);
        if (growing && cap > narrow) cap = std::max<std::uint64_t>(cap, kMinCap);
    } else {
        cap = growing ? std::max<std::size_t>(4, items.size() * 2) : items.size();
    }
    RowBlock* nb = NewBlock(static_cast<std::uint32_t>(cap), !dense, static_cast<std::uint32_t>(text));
    if (anyObj) nb->objs = new TObject*[nb->cap]();
    const char16_t* src = from->Text();
    char16_t* dst = nb->Text();
    for (std::size_t k = 0; k < items.size(); ++k) {
        const std::size_t at = dense ? static_cast<std::size_t>(items[k].col) : k;
        Slot& t = nb->Slots()[at];
        t = items[k].slot;
        if (t.len > kInline) {
            std::memcpy(dst + nb->tused, src + t.Off(), t.len * sizeof(char16_t));
            t.SetOff(nb->tused);
            nb->tused += t.len;
        }
        if (!dense) nb->Cols()[k] = static_cast<std::int32_t>(items[k].col);
        if (anyObj) nb->objs[at] = items[k].obj;
    }
    if (!dense) nb->used = static_cast<std::uint32_t>(items.size());
    nb->live = live;
    FreeBlock(from);
    return nb;
}

// Lays the row out anew with an empty cell at col added, when the row changes between dense
// and sparse or a sparse row is full; the slot index of col.
std::uint32_t TGridCellStore::Relayout(RowBlock*& b, int col) {
    std::vector<Item> items = Unpack(b);
    auto it = std::lower_bound(items.begin(), items.end(), static_cast<std::int64_t>(col),
                               [](const Item& a, std::int64_t c) { return a.col < c; });
    items.insert(it, Item{col, Slot{}, nullptr});
    b = Pack(items, b, true);
    return static_cast<std::uint32_t>(IndexOf(b, col));
}

// Rows of a table are alike: a new row's block is sized for the text the row started before
// it held and, in a grid of unknown or many columns, for that row's width, so that filling a
// row takes one allocation.
void TGridCellStore::LearnFromLastRow() {
    if (lastNewRow_ >= rows_.size() || !rows_[lastNewRow_]) return;
    const RowBlock* last = rows_[lastNewRow_];
    textHint_ = last->tused;
    if (last->sparse) return;
    std::uint32_t span = last->cap;
    while (span > 0 && last->Slots()[span - 1].len == 0 && !(last->objs && last->objs[span - 1])) --span;
    spanHint_ = span;
}

std::uint32_t TGridCellStore::Touch(int col, int row) {
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1, nullptr);
    RowBlock*& b = rows_[static_cast<std::size_t>(row)];
    const std::uint64_t need = static_cast<std::uint64_t>(col) + 1;
    if (!b) {
        LearnFromLastRow();
        lastNewRow_ = static_cast<std::size_t>(row);
        const std::uint32_t width =
            colHint_ && colHint_ <= kAlwaysDense ? colHint_ : std::min(spanHint_, colHint_ ? colHint_ : spanHint_);
        if (need <= std::max<std::uint64_t>(width, DenseLimit(1, colHint_))) {
            const std::uint64_t cap = width >= need ? width : std::max<std::uint64_t>(need, kMinCap);
            b = NewBlock(static_cast<std::uint32_t>(cap), false, textHint_);
            return static_cast<std::uint32_t>(col);
        }
        b = NewBlock(4, true, textHint_);
        b->Cols()[0] = col;
        b->Slots()[0] = Slot{};
        b->used = 1;
        return 0;
    }
    if (!b->sparse) {
        if (need <= b->cap) return static_cast<std::uint32_t>(col);
        if (need > DenseLimit(b->live + 1, colHint_)) return Relayout(b, col);
        // Grow geometrically, or straight to the grid's width when the cell lies inside it.
        const std::uint64_t limit = DenseLimit(b->live + 1, colHint_);
        const std::uint64_t cap = colHint_ >= need && colHint_ <= limit ? colHint_ : std::max<std::uint64_t>(need, 2ull * b->cap);
        RowBlock* nb = NewBlock(static_cast<std::uint32_t>(std::min(cap, limit)), false, b->tcap);
        std::memcpy(static_cast<void*>(nb->Slots()), b->Slots(), b->cap * sizeof(Slot));
        std::memcpy(nb->Text(), b->Text(), b->tused * sizeof(char16_t));
        nb->tused = b->tused;
        if (b->objs) {
            nb->objs = new TObject*[nb->cap]();
            std::copy(b->objs, b->objs + b->cap, nb->objs);
        }
        nb->live = b->live;
        FreeBlock(b);
        b = nb;
        return static_cast<std::uint32_t>(col);
    }
    std::int32_t* cols = b->Cols();
    std::int32_t* it = std::lower_bound(cols, cols + b->used, col);
    if (it != cols + b->used && *it == col) return static_cast<std::uint32_t>(it - cols);
    if (b->used == b->cap || need <= DenseLimit(b->live + 1, colHint_)) return Relayout(b, col);
    const auto at = static_cast<std::uint32_t>(it - cols);
    const std::uint32_t tail = b->used - at;
    Slot* s = b->Slots();
    std::memmove(static_cast<void*>(s + at + 1), s + at, tail * sizeof(Slot));
    std::memmove(cols + at + 1, cols + at, tail * sizeof(std::int32_t));
    if (b->objs) std::memmove(b->objs + at + 1, b->objs + at, tail * sizeof(TObject*));
    s[at] = Slot{};
    cols[at] = col;
    if (b->objs) b->objs[at] = nullptr;
    ++b->used;
    return at;
}

// The cell at idx of the row just became empty (no text, no object).
void TGridCellStore::AfterEmptied(int row, std::uint32_t idx) {
    RowBlock*& b = rows_[static_cast<std::size_t>(row)];
    if (--b->live == 0) {
        FreeBlock(b);
        b = nullptr;
        TrimTail();
        return;
    }
    if (b->sparse) {
        const std::uint32_t tail = b->used - idx - 1;
        std::memmove(static_cast<void*>(b->Slots() + idx), b->Slots() + idx + 1, tail * sizeof(Slot));
        std::memmove(b->Cols() + idx, b->Cols() + idx + 1, tail * sizeof(std::int32_t));
        if (b->objs) std::memmove(b->objs + idx, b->objs + idx + 1, tail * sizeof(TObject*));
        --b->used;
    }
}

// Trailing empty rows are given back so the extent follows the data.
void TGridCellStore::TrimTail() {
    while (!rows_.empty() && !rows_.back()) rows_.pop_back();
}

// ---- cells ------------------------------------------------------------------------------------

TGridCellStore::TGridCellStore(TGridCellStore&& o) noexcept : rows_(std::move(o.rows_)), colHint_(o.colHint_) {
    o.rows_.clear();
}

TGridCellStore& TGridCellStore::operator=(TGridCellStore&& o) noexcept {
    if (this != &o) {
        Clear();
        rows_.swap(o.rows_);
        colHint_ = o.colHint_;
    }
    return *this;
}

TGridCellStore::~TGridCellStore() { Clear(); }

void TGridCellStore::SetCellSlow(int col, int row, StringView text) {
    if (col < 0 || row < 0) return;
    if (text.size() > 0xFFFFFFFFu) text = text.substr(0, 0xFFFFFFFFu);
    const auto n = static_cast<std::uint32_t>(text.size());
    if (n == 0) {
        if (static_cast<std::size_t>(row) >= rows_.size()) return;
        RowBlock* b = rows_[static_cast<std::size_t>(row)];
        const int i = IndexOf(b, col);
        if (i < 0 || b->Slots()[i].len == 0) return;
        DropText(b, b->Slots()[i]);
        if (!(b->objs && b->objs[i])) AfterEmptied(row, static_cast<std::uint32_t>(i));
        return;
    }
    // The text may be a view into this store. An inline text is copied before the row can
    // move; a long one only moves when its own row's block does, and is then copied first.
    char16_t inl[kInline] = {};
    String keep;
    if (n <= kInline) {
        std::memcpy(inl, text.data(), n * sizeof(char16_t));
    } else if (static_cast<std::size_t>(row) < rows_.size() && rows_[static_cast<std::size_t>(row)]) {
        const auto* b = reinterpret_cast<const char16_t*>(rows_[static_cast<std::size_t>(row)]);
        const char16_t* end = rows_[static_cast<std::size_t>(row)]->Text() + rows_[static_cast<std::size_t>(row)]->tcap;
        if (std::less_equal<const char16_t*>()(b, text.data()) && std::less<const char16_t*>()(text.data(), end)) {
            keep.assign(text);
            text = keep;
        }
    }
    const std::uint32_t i = Touch(col, row);
    RowBlock*& b = rows_[static_cast<std::size_t>(row)];
    {
        Slot& s = b->Slots()[i];
        if (s.len == 0 && !(b->objs && b->objs[i])) ++b->live;
        if (n <= kInline) {
            DropText(b, s);
            std::memcpy(s.chars, inl, sizeof inl);
            s.len = n;
            return;
        }
        if (s.len > kInline && s.len >= n) {
            // The new text fits where the old one was.
            if (s.Off() + s.len == b->tused) b->tused = s.Off() + n;
            std::memcpy(b->Text() + s.Off(), text.data(), n * sizeof(char16_t));
            s.len = n;
            return;
        }
        DropText(b, s);
    }
    std::uint32_t off;
    try {
        off = TextRoom(b, n);
    } catch (...) {
        // The cell is left empty rather than half written.
        if (!(b->objs && b->objs[i])) AfterEmptied(row, i);
        throw;
    }
    Slot& s = b->Slots()[i];
    std::memcpy(b->Text() + off, text.data(), n * sizeof(char16_t));
    s.SetOff(off);
    s.len = n;
}

TObject* TGridCellStore::Object(int col, int row) const {
    if (static_cast<std::size_t>(row) >= rows_.size()) return nullptr;
    const RowBlock* b = rows_[static_cast<std::size_t>(row)];
    const int i = IndexOf(b, col);
    return (i >= 0 && b->objs) ? b->objs[i] : nullptr;
}

void TGridCellStore::SetObject(int col, int row, TObject* obj) {
    if (col < 0 || row < 0) return;
    if (!obj) {
        if (static_cast<std::size_t>(row) >= rows_.size()) return;
        RowBlock* b = rows_[static_cast<std::size_t>(row)];
        const int i = IndexOf(b, col);
        if (i < 0 || !b->objs || !b->objs[i]) return;
        b->objs[i] = nullptr;
        if (b->Slots()[i].len == 0) AfterEmptied(row, static_cast<std::uint32_t>(i));
        return;
    }
    const std::uint32_t i = Touch(col, row);
    RowBlock* b = rows_[static_cast<std::size_t>(row)];
    if (!b->objs) b->objs = new TObject*[b->cap]();
    if (b->Slots()[i].len == 0 && !b->objs[i]) ++b->live;
    b->objs[i] = obj;
}

bool TGridCellStore::HasCell(int col, int row) const {
    if (static_cast<std::size_t>(row) >= rows_.size()) return false;
    const RowBlock* b = rows_[static_cast<std::size_t>(row)];
    const int i = IndexOf(b, col);
    return i >= 0 && (b->Slots()[i].len != 0 || (b->objs && b->objs[i]));
}

// ---- rows -------------------------------------------------------------------------------------

void TGridCellStore::Clear() {
    for (RowBlock* b : rows_) FreeBlock(b);
    std::vector<RowBlock*>().swap(rows_);
}

void TGridCellStore::TruncateRows(int rowCount) {
    if (rowCount < 0) rowCount = 0;
    if (static_cast<std::size_t>(rowCount) < rows_.size()) {
        for (std::size_t r = static_cast<std::size_t>(rowCount); r < rows_.size(); ++r) FreeBlock(rows_[r]);
        rows_.resize(static_cast<std::size_t>(rowCount));
    }
    TrimTail();
}

void TGridCellStore::DeleteRow(int row) { RemoveRows(row, 1); }

void TGridCellStore::MoveRow(int from, int to) { MoveRows(from, to, 1); }

void TGridCellStore::InsertRows(int row, int count) {
    if (row < 0 || count < 1 || row >= RowExtent()) return;
    // Rows pushed past the last addressable index are dropped.
    const std::size_t room = kMaxRows - rows_.size();
    if (static_cast<std::size_t>(count) > room) {
        TruncateRows(std::max(row, static_cast<int>(kMaxRows - static_cast<std::size_t>(count))));
        if (row >= RowExtent()) return;
    }
    rows_.insert(rows_.begin() + row, static_cast<std::size_t>(count), nullptr);
}

void TGridCellStore::RemoveRows(int row, int count) {
    if (row < 0 || count < 1 || row >= RowExtent()) return;
    const int end = count > RowExtent() - row ? RowExtent() : row + count;
    for (int r = row; r < end; ++r) FreeBlock(rows_[static_cast<std::size_t>(r)]);
    rows_.erase(rows_.begin() + row, rows_.begin() + end);
    TrimTail();
}

void TGridCellStore::MoveRows(int from, int to, int count) {
    if (from < 0 || to < 0 || count < 1 || from == to) return;
    const std::size_t need = static_cast<std::size_t>(std::max(from, to)) + static_cast<std::size_t>(count);
    if (need > kMaxRows || std::min(from, to) >= RowExtent()) return;
    if (need > rows_.size()) rows_.resize(need, nullptr);
    const auto at = [&](std::size_t i) { return rows_.begin() + static_cast<std::ptrdiff_t>(i); };
    const auto f = static_cast<std::size_t>(from), t = static_cast<std::size_t>(to), n = static_cast<std::size_t>(count);
    if (from < to)
        std::rotate(at(f), at(f + n), at(t + n));
    else
        std::rotate(at(t), at(f), at(f + n));
    TrimTail();
}

void TGridCellStore::SwapRows(int row1, int row2) {
    if (row1 < 0 || row2 < 0 || row1 == row2 || std::min(row1, row2) >= RowExtent()) return;
    const std::size_t need = static_cast<std::size_t>(std::max(row1, row2)) + 1;
    if (need > rows_.size()) rows_.resize(need, nullptr);
    std::swap(rows_[static_cast<std::size_t>(row1)], rows_[static_cast<std::size_t>(row2)]);
    TrimTail();
}

bool TGridCellStore::GatherRows(int left, std::span<const int> from) {
    const std::size_t n = from.size();
    if (left < 0 || n > kMaxRows - static_cast<std::size_t>(left)) return false;
    // A repeated or missing index would give one block to two rows and lose another.
    std::vector<bool> seen(n);
    for (int f : from) {
        if (f < 0 || static_cast<std::size_t>(f) >= n || seen[static_cast<std::size_t>(f)]) return false;
        seen[static_cast<std::size_t>(f)] = true;
    }
    const auto l = static_cast<std::size_t>(left);
    if (l >= rows_.size()) return true;  // every row of the range is empty
    const std::size_t end = l + n;
    if (end > rows_.size()) rows_.resize(end, nullptr);
    // The old pointers are read at scattered places and written in order, so the reads of
    // the rows ahead overlap instead of each waiting for the one before.
    const std::vector<RowBlock*> old(rows_.begin() + static_cast<std::ptrdiff_t>(l),
                                     rows_.begin() + static_cast<std::ptrdiff_t>(end));
    for (std::size_t i = 0; i < n; ++i) rows_[l + i] = old[static_cast<std::size_t>(from[i])];
    TrimTail();
    return true;
}

TGridCellStore::TRow TGridCellStore::TakeRow(int row) {
    if (row < 0 || row >= RowExtent()) return TRow();
    RowBlock* b = rows_[static_cast<std::size_t>(row)];
    rows_[static_cast<std::size_t>(row)] = nullptr;
    TrimTail();
    return TRow(b);
}

void TGridCellStore::PutRow(int row, TRow&& cells) {
    if (row < 0) return;
    if (cells.Empty()) {
        ClearRow(row);
        return;
    }
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1, nullptr);
    FreeBlock(rows_[static_cast<std::size_t>(row)]);
    rows_[static_cast<std::size_t>(row)] = cells.block_;
    cells.block_ = nullptr;
}

void TGridCellStore::ClearRow(int row) {
    if (row < 0 || row >= RowExtent()) return;
    FreeBlock(rows_[static_cast<std::size_t>(row)]);
    rows_[static_cast<std::size_t>(row)] = nullptr;
    TrimTail();
}

// ---- columns ----------------------------------------------------------------------------------

namespace {

// Removes entry i of a sparse row's parallel arrays.
template <class T>
void EraseAt(T* a, std::uint32_t i, std::uint32_t used) {
    std::memmove(static_cast<void*>(a + i), a + i + 1, (used - i - 1) * sizeof(T));
}

} // namespace

void TGridCellStore::DeleteColumn(int col) {
    if (col < 0) return;
    for (RowBlock*& b : rows_) {
        if (!b) continue;
        const int i = IndexOf(b, col);
        if (i >= 0) {
            Slot& s = b->Slots()[i];
            const bool had = s.len || (b->objs && b->objs[i]);
            DropText(b, s);
            if (had) --b->live;
        }
        if (!b->sparse) {
            if (i >= 0) {
                const std::uint32_t last = b->cap - 1, at = static_cast<std::uint32_t>(i);
                EraseAt(b->Slots(), at, b->cap);
                b->Slots()[last] = Slot{};
                if (b->objs) {
                    EraseAt(b->objs, at, b->cap);
                    b->objs[last] = nullptr;
                }
            }
        } else {
            std::int32_t* cols = b->Cols();
            std::uint32_t k = static_cast<std::uint32_t>(std::lower_bound(cols, cols + b->used, col) - cols);
            if (i >= 0) {
                EraseAt(b->Slots(), k, b->used);
                EraseAt(cols, k, b->used);
                if (b->objs) EraseAt(b->objs, k, b->used);
                --b->used;
            }
            for (; k < b->used; ++k) --cols[k];
        }
        if (b->live == 0) {
            FreeBlock(b);
            b = nullptr;
        }
    }
    TrimTail();
}

void TGridCellStore::MoveColumn(int from, int to) {
    if (from < 0 || to < 0 || from == to) return;
    const int lo = std::min(from, to), hi = std::max(from, to);
    const auto moved = [&](std::int64_t c) -> std::int64_t {
        if (c == from) return to;
        if (c < lo || c > hi) return c;
        return from < to ? c - 1 : c + 1;
    };
    for (RowBlock*& b : rows_) {
        if (!b) continue;
        if (!b->sparse && static_cast<std::uint32_t>(hi) < b->cap) {
            // Inside the row: a rotation of the slots between the two columns.
            const auto l = static_cast<std::size_t>(lo), h = static_cast<std::size_t>(hi) + 1;
            Slot* s = b->Slots();
            if (from < to) {
                std::rotate(s + l, s + l + 1, s + h);
                if (b->objs) std::rotate(b->objs + l, b->objs + l + 1, b->objs + h);
            } else {
                std::rotate(s + l, s + h - 1, s + h);
                if (b->objs) std::rotate(b->objs + l, b->objs + h - 1, b->objs + h);
            }
            continue;
        }
        // Rows without a cell between the two columns stay as they are.
        if (!b->sparse && static_cast<std::uint32_t>(lo) >= b->cap) continue;
        if (b->sparse) {
            const std::int32_t* cols = b->Cols();
            if (cols[b->used - 1] < lo || cols[0] > hi) continue;
        }
        // A sparse row, or the move reaches past the row's end: renumber and lay it out anew.
        std::vector<Item> items = Unpack(b);
        for (Item& i : items) i.col = moved(i.col);
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& c) { return a.col < c.col; });
        b = Pack(items, b, false);
    }
}

void TGridCellStore::ClearColumn(int col) {
    if (col < 0) return;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        RowBlock* b = rows_[r];
        const int i = IndexOf(b, col);
        if (i < 0) continue;
        Slot& s = b->Slots()[i];
        const bool had = s.len || (b->objs && b->objs[i]);
        DropText(b, s);
        if (b->objs) b->objs[i] = nullptr;
        if (had) AfterEmptied(static_cast<int>(r), static_cast<std::uint32_t>(i));
        if (r >= rows_.size()) break;
    }
    TrimTail();
}

// ---- totals -----------------------------------------------------------------------------------

std::size_t TGridCellStore::CellCount() const {
    std::size_t n = 0;
    for (const RowBlock* b : rows_)
        if (b) n += b->live;
    return n;
}

std::size_t TGridCellStore::MemoryUsage() const {
    std::size_t bytes = sizeof(*this) + rows_.capacity() * sizeof(RowBlock*);
    for (const RowBlock* b : rows_) {
        if (!b) continue;
        bytes += sizeof(RowBlock) + b->cap * (sizeof(Slot) + (b->sparse ? sizeof(std::int32_t) : 0)) +
                 b->tcap * sizeof(char16_t);
        if (b->objs) bytes += b->cap * sizeof(TObject*);
    }
    return bytes;
}

// ---- TRow -------------------------------------------------------------------------------------

TGridCellStore::TRow& TGridCellStore::TRow::operator=(TRow&& o) noexcept {
    if (this != &o) {
        FreeBlock(block_);
        block_ = o.block_;
        o.block_ = nullptr;
    }
    return *this;
}

TGridCellStore::TRow::~TRow() { FreeBlock(block_); }

StringView TGridCellStore::TRow::CellView(int col) const {
    const int i = IndexOf(block_, col);
    return i < 0 ? StringView() : block_->Slots()[i].View(block_->Text());
}

TObject* TGridCellStore::TRow::Object(int col) const {
    const int i = IndexOf(block_, col);
    return (i >= 0 && block_->objs) ? block_->objs[i] : nullptr;
}

} // namespace plat
