#include "StdModels.h"

#include <algorithm>
#include <numeric>

namespace plat::stdmodel {

String ToCRLF(StringView text)
{
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

String ToLF(StringView text)
{
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            out += u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<String> SplitLines(StringView text)
{
    std::vector<String> lines;
    const String lf = ToLF(text);
    size_t start = 0;
    while (start < lf.size()) {
        const size_t end = lf.find(u'\n', start);
        if (end == String::npos) {
            lines.emplace_back(lf.substr(start));
            break;
        }
        lines.emplace_back(lf.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

StackResult StackPanels(const std::vector<PanelSlot>& slots, int headerHeight, int moved)
{
    StackResult r;
    r.top.assign(slots.size(), -1);
    r.height.assign(slots.size(), 0);
    std::vector<size_t> order(slots.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (slots[a].requestedTop != slots[b].requestedTop)
            return slots[a].requestedTop < slots[b].requestedTop;
        return static_cast<int>(a) == moved && static_cast<int>(b) != moved;
    });
    int y = 0;
    for (size_t i : order) {
        const PanelSlot& s = slots[i];
        if (!s.visible)
            continue;
        const int h = s.collapsed ? headerHeight : std::max(s.fullHeight, headerHeight);
        r.top[i] = y;
        r.height[i] = h;
        y += h;
    }
    r.contentHeight = y;
    return r;
}

int MaxScroll(int content, int view)
{
    return std::max(0, content - view);
}

int ScrollIntoView(int pos, int top, int height, int view, int content)
{
    int p = pos;
    if (top + height > p + view)
        p = top + height - view;
    if (top < p)
        p = top;
    return std::clamp(p, 0, MaxScroll(content, view));
}

TabStripLayout LayoutTabs(const std::vector<int>& textWidths, int firstLeft, int padding)
{
    TabStripLayout l;
    l.left.assign(textWidths.size(), 0);
    l.width.assign(textWidths.size(), 0);
    int x = firstLeft;
    for (size_t i = 0; i < textWidths.size(); ++i) {
        if (textWidths[i] < 0)
            continue;
        l.left[i] = x;
        l.width[i] = textWidths[i] + 2 * padding;
        x += l.width[i];
    }
    return l;
}

int TabAt(const TabStripLayout& layout, int x)
{
    for (size_t i = 0; i < layout.left.size(); ++i)
        if (layout.width[i] > 0 && x >= layout.left[i] && x < layout.left[i] + layout.width[i])
            return static_cast<int>(i);
    return -1;
}

} // namespace plat::stdmodel
