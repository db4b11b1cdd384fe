#include <algorithm>

#include "plat/Grids.h"

namespace plat {

// ----- TGridAxis ---------------------------------------------------------------------

int TGridAxis::Size(int i) const {
    if (i < 0 || sizes_.empty() || i >= static_cast<int>(sizes_.size())) return default_;
    return sizes_[static_cast<std::size_t>(i)];
}

void TGridAxis::SetCount(int count) {
    count_ = std::max(count, 0);
    if (!sizes_.empty()) sizes_.resize(static_cast<std::size_t>(count_), default_);
    if (fixed_ >= count_) fixed_ = std::max(count_ - 1, 0);
}

void TGridAxis::SetFixed(int fixed) { fixed_ = std::clamp(fixed, 0, std::max(count_ - 1, 0)); }

void TGridAxis::SetDefaultSize(int size) {
    default_ = std::max(size, 0);
    std::vector<int>().swap(sizes_);
}

void TGridAxis::SetSize(int i, int size) {
    if (i < 0 || i >= count_) return;
    size = std::max(size, 0);
    if (sizes_.empty()) {
        if (size == default_) return;
        sizes_.assign(static_cast<std::size_t>(count_), default_);
    }
    sizes_[static_cast<std::size_t>(i)] = size;
}

void TGridAxis::Move(int from, int to) {
    if (sizes_.empty() || from == to || from < 0 || to < 0 || from >= count_ || to >= count_) return;
    if (from < to)
        std::rotate(sizes_.begin() + from, sizes_.begin() + from + 1, sizes_.begin() + to + 1);
    else
        std::rotate(sizes_.begin() + to, sizes_.begin() + from, sizes_.begin() + from + 1);
}

bool TGridAxis::Gather(int left, std::span<const int> from) {
    const std::size_t n = from.size();
    if (sizes_.empty() || left < 0 || n > static_cast<std::size_t>(count_ - std::min(left, count_))) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (from[i] < 0 || static_cast<std::size_t>(from[i]) >= n) return false;
    const auto l = static_cast<std::size_t>(left);
    const std::vector<int> old(sizes_.begin() + static_cast<std::ptrdiff_t>(l),
                               sizes_.begin() + static_cast<std::ptrdiff_t>(l + n));
    bool changed = false;
    for (std::size_t i = 0; i < n; ++i) {
        const int v = old[static_cast<std::size_t>(from[i])];
        changed = changed || v != old[i];
        sizes_[l + i] = v;
    }
    return changed;
}

long long TGridAxis::Extent(int from, int to, int lineWidth) const {
    from = std::max(from, 0);
    if (to <= from) return 0;
    if (sizes_.empty()) return static_cast<long long>(to - from) * (default_ + lineWidth);
    long long total = 0;
    for (int i = from; i < to; ++i) total += Size(i) + lineWidth;
    return total;
}

// ----- TGridLayout -------------------------------------------------------------------

namespace {

// Start of line `index` on an axis whose scrollable part begins at `first`, or -1 when it
// is hidden behind the fixed part or starts at or beyond `limit`.
long long LineStart(const TGridAxis& axis, int lw, int first, int index, long long limit) {
    if (index < 0 || index >= axis.Count()) return -1;
    if (index < axis.Fixed()) return axis.Extent(0, index, lw);
    if (index < first) return -1;
    long long pos = axis.Extent(0, axis.Fixed(), lw);
    for (int i = first; i < index; ++i) {
        pos += axis.Size(i) + lw;
        if (pos >= limit) return -1;
    }
    return pos < limit ? pos : -1;
}

int VisibleCount(const TGridAxis& axis, int lw, int first, int clientSize) {
    long long pos = axis.Extent(0, axis.Fixed(), lw);
    int n = 0;
    for (int i = first; i < axis.Count(); ++i) {
        if (pos + axis.Size(i) > clientSize) break;
        pos += axis.Size(i) + lw;
        ++n;
    }
    if (n == 0 && first < axis.Count()) n = 1;
    return n;
}

int MaxFirst(const TGridAxis& axis, int lw, int clientSize) {
    const long long room = clientSize - axis.Extent(0, axis.Fixed(), lw);
    int first = axis.Count() - 1;
    long long used = first >= axis.Fixed() ? axis.Size(first) : 0;
    while (first - 1 >= axis.Fixed()) {
        const long long next = used + lw + axis.Size(first - 1);
        if (next > room) break;
        used = next;
        --first;
    }
    return std::max(first, axis.Fixed());
}

int CoordAt(const TGridAxis& axis, int lw, int first, long long p, int clientSize) {
    if (p < 0 || p >= clientSize) return -1;
    long long pos = 0;
    for (int i = 0; i < axis.Fixed(); ++i) {
        pos += axis.Size(i) + lw;
        if (p < pos) return i;
    }
    for (int i = first; i < axis.Count(); ++i) {
        pos += axis.Size(i) + lw;
        if (p < pos) return i;
        if (pos >= clientSize) break;
    }
    return -1;
}

int BorderAt(const TGridAxis& axis, int lw, int first, long long p, int clientSize, int tol) {
    long long pos = 0;
    auto hit = [&](int i) {
        const long long border = pos + axis.Size(i);
        return p >= border - tol && p < border + lw + tol;
    };
    for (int i = 0; i < axis.Fixed(); ++i) {
        if (hit(i)) return i;
        pos += axis.Size(i) + lw;
    }
    for (int i = first; i < axis.Count() && pos < clientSize; ++i) {
        if (hit(i)) return i;
        pos += axis.Size(i) + lw;
    }
    return -1;
}

int FirstToShow(const TGridAxis& axis, int lw, int first, int index, int clientSize) {
    if (index < axis.Fixed() || index >= axis.Count()) return first;
    if (index < first) return index;
    const long long room = clientSize - axis.Extent(0, axis.Fixed(), lw);
    // Already whole in view?
    long long end = 0;
    for (int i = first; i <= index; ++i) {
        end += axis.Size(i) + (i < index ? lw : 0);
        if (end > room) break;
    }
    if (end <= room) return first;
    int f = index;
    long long used = axis.Size(index);
    while (f - 1 >= first) {
        const long long next = used + lw + axis.Size(f - 1);
        if (next > room) break;
        used = next;
        --f;
    }
    return std::max(f, axis.Fixed());
}

} // namespace

int TGridLayout::FixedWidth() const { return static_cast<int>(Cols.Extent(0, Cols.Fixed(), GridLineWidth)); }
int TGridLayout::FixedHeight() const { return static_cast<int>(Rows.Extent(0, Rows.Fixed(), GridLineWidth)); }
int TGridLayout::VisibleColCount() const { return VisibleCount(Cols, GridLineWidth, LeftCol, ClientWidth); }
int TGridLayout::VisibleRowCount() const { return VisibleCount(Rows, GridLineWidth, TopRow, ClientHeight); }
int TGridLayout::MaxLeftCol() const { return MaxFirst(Cols, GridLineWidth, ClientWidth); }
int TGridLayout::MaxTopRow() const { return MaxFirst(Rows, GridLineWidth, ClientHeight); }

TRect TGridLayout::CellRect(int col, int row) const {
    const long long x = LineStart(Cols, GridLineWidth, LeftCol, col, ClientWidth);
    const long long y = LineStart(Rows, GridLineWidth, TopRow, row, ClientHeight);
    if (x < 0 || y < 0) return {};
    return Bounds(static_cast<int>(x), static_cast<int>(y), Cols.Size(col), Rows.Size(row));
}

TGridCoord TGridLayout::MouseToCell(int x, int y) const {
    return {CoordAt(Cols, GridLineWidth, LeftCol, x, ClientWidth),
            CoordAt(Rows, GridLineWidth, TopRow, y, ClientHeight)};
}

int TGridLayout::ColBorderAt(int x, int tolerance) const {
    return BorderAt(Cols, GridLineWidth, LeftCol, x, ClientWidth, tolerance);
}

int TGridLayout::RowBorderAt(int y, int tolerance) const {
    return BorderAt(Rows, GridLineWidth, TopRow, y, ClientHeight, tolerance);
}

int TGridLayout::LeftColToShow(int col) const { return FirstToShow(Cols, GridLineWidth, LeftCol, col, ClientWidth); }
int TGridLayout::TopRowToShow(int row) const { return FirstToShow(Rows, GridLineWidth, TopRow, row, ClientHeight); }

// ----- navigation --------------------------------------------------------------------

TGridMove NavigateKey(const TGridLayout& layout, TGridCoord cur, std::uint16_t key, bool shift,
                      bool ctrl, const TGridOptions& options) {
    const int fc = layout.Cols.Fixed(), fr = layout.Rows.Fixed();
    const int lastCol = layout.Cols.Count() - 1, lastRow = layout.Rows.Count() - 1;
    const bool rowSelect = options.Contains(goRowSelect);
    TGridMove m{cur, layout.TopRow, layout.LeftCol, true};
    const int page = std::max(layout.VisibleRowCount(), 1);
    switch (key) {
    case 0x25:  // Left
        if (rowSelect) m.LeftCol = std::max(layout.LeftCol - 1, fc);
        else if (cur.X > fc) --m.Cell.X;
        break;
    case 0x27:  // Right
        if (rowSelect) m.LeftCol = std::min(layout.LeftCol + 1, layout.MaxLeftCol());
        else if (cur.X < lastCol) ++m.Cell.X;
        break;
    case 0x26:  // Up
        if (cur.Y > fr) --m.Cell.Y;
        break;
    case 0x28:  // Down
        if (cur.Y < lastRow) ++m.Cell.Y;
        break;
    case 0x21:  // PageUp
        m.Cell.Y = std::max(cur.Y - page, fr);
        m.TopRow = std::max(layout.TopRow - page, fr);
        break;
    case 0x22:  // PageDown
        m.Cell.Y = std::min(cur.Y + page, lastRow);
        m.TopRow = std::min(layout.TopRow + page, layout.MaxTopRow());
        break;
    case 0x24:  // Home
        if (ctrl || rowSelect) m.Cell.Y = fr;
        if (!rowSelect) m.Cell.X = fc;
        break;
    case 0x23:  // End
        if (ctrl || rowSelect) m.Cell.Y = lastRow;
        if (!rowSelect) m.Cell.X = lastCol;
        break;
    case 0x09:  // Tab
        if (!options.Contains(goTabs) || rowSelect) { m.Handled = false; break; }
        if (!shift) {
            if (cur.X < lastCol) ++m.Cell.X;
            else if (cur.Y < lastRow) { m.Cell.X = fc; ++m.Cell.Y; }
        } else {
            if (cur.X > fc) --m.Cell.X;
            else if (cur.Y > fr) { m.Cell.X = lastCol; --m.Cell.Y; }
        }
        break;
    default:
        m.Handled = false;
        break;
    }
    if (!m.Handled) return m;
    TGridLayout after = layout;
    after.TopRow = m.TopRow;
    after.LeftCol = m.LeftCol;
    m.TopRow = after.TopRowToShow(m.Cell.Y);
    if (!rowSelect) m.LeftCol = after.LeftColToShow(m.Cell.X);
    return m;
}

} // namespace plat
