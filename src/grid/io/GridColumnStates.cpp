// The column layout of TExtStringGrid as one text value.
#include <algorithm>
#include <vector>

#include "ExtGrid.h"
#include "ExtGridSettings.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

// The most columns a layout text may describe: columns 512 and above can never be hidden.
constexpr int kMaxLayoutCols = 512;

std::vector<StringView> Split(StringView s, char16_t sep) {
    std::vector<StringView> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = s.find(sep, from);
        parts.push_back(s.substr(from, at == StringView::npos ? StringView::npos : at - from));
        if (at == StringView::npos) return parts;
        from = at + 1;
    }
}

bool ReadInts(StringView s, std::vector<int>& out) {
    out.clear();
    if (s.empty()) return true;
    for (StringView p : Split(s, u',')) {
        int v = 0;
        if (!plat::TryStrToInt(plat::Trim(String(p)), v)) return false;
        out.push_back(v);
    }
    return true;
}

String Join(const std::vector<int>& v) {
    String out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i) out += u',';
        out += plat::IntToStr(v[i]);
    }
    return out;
}

} // namespace

String TExtStringGrid::ColumnStatesToString() {
    const int n = AllColCount();
    std::vector<int> widths, order, visible;
    for (int i = 0; i < n; ++i) widths.push_back(i < ColCount() ? ColWidths(i) : DefaultColWidth());
    for (int i = 0; i < ColumnOrder()->Count(); ++i) order.push_back(ColumnOrder()->GetInteger(i));
    if (order.empty())
        for (int i = 0; i < n; ++i) order.push_back(i);
    for (int i = 0; i < n; ++i) visible.push_back(IsHiddenColumn(i) ? 0 : 1);
    return plat::IntToStr(n) + u"#" + Join(widths) + u"#" + Join(order) + u"#" + Join(visible);
}

void TExtStringGrid::StringToColumnStates(const String& Value) {
    // Everything is read and checked before the grid changes.
    const std::vector<StringView> seg = Split(Value, u'#');
    if (seg.size() != 4) return;
    int n = 0;
    if (!plat::TryStrToInt(String(seg[0]), n) || n < FixedCols() + 1 || n > kMaxLayoutCols) return;
    std::vector<int> widths, list, flags;
    if (!ReadInts(seg[1], widths) || !ReadInts(seg[2], list) || !ReadInts(seg[3], flags)) return;
    if (static_cast<int>(widths.size()) < n || static_cast<int>(flags.size()) < n) return;
    for (int w : widths)
        if (w < 0) return;
    for (int f : flags)
        if (f != 0 && f != 1) return;
    // The order: the first n entries, -1 skipped, each real column at most once.
    std::vector<int> order;
    for (int i = 0; i < std::min<int>(n, static_cast<int>(list.size())); ++i)
        if (list[static_cast<std::size_t>(i)] != -1) order.push_back(list[static_cast<std::size_t>(i)]);
    std::vector<bool> seen(static_cast<std::size_t>(n), false);
    for (int p : order) {
        if (p < 0 || p >= n || seen[static_cast<std::size_t>(p)]) return;
        seen[static_cast<std::size_t>(p)] = true;
    }
    int shown = 0;
    for (int i = 0; i < n; ++i) shown += flags[static_cast<std::size_t>(i)];
    if (shown <= FixedCols()) return;

    ColumnOrder()->Clear();
    UnHideColumnsAll();
    SetColCount(n);
    if (!order.empty()) {
        // Position i is to show the column whose index is order[i]: move each in turn.
        std::vector<int> at(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) at[static_cast<std::size_t>(i)] = i;  // column now at position i
        for (int i = 0; i < static_cast<int>(order.size()); ++i) {
            const int want = order[static_cast<std::size_t>(i)];
            const auto j = static_cast<int>(std::find(at.begin(), at.end(), want) - at.begin());
            if (j != i) {
                MoveColumn(j, i);
                const int moved = at[static_cast<std::size_t>(j)];
                at.erase(at.begin() + j);
                at.insert(at.begin() + i, moved);
            }
        }
        ColumnOrder()->Clear();
        for (int p : order) ColumnOrder()->Add(p);
    }
    for (int i = n - 1; i >= 0; --i)
        if (flags[static_cast<std::size_t>(i)] == 0) HideColumn(i);
    TColumnSize* size = ColumnSize();
    const bool stretch = size->Stretch();
    size->SetStretch(false);
    if (stretch) {
        const int sc = size->StretchColumn < 0 || size->StretchColumn >= ColCount() ? ColCount() - 1 : size->StretchColumn;
        SetDefaultColWidth(ColWidths(sc));
    }
    for (int i = 0; i < ColCount(); ++i) SetColWidths(i, widths[static_cast<std::size_t>(i)]);
    size->SetStretch(stretch);
}

} // namespace grid
