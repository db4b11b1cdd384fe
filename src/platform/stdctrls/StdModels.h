#pragma once
// Window-free state of the standard controls, kept apart so that the rules can be
// tested without painting: line-break forms of multi-line text, the stacking of
// category panels inside their scrolling group, and the single-row tab strip of the
// page control.
#include <vector>

#include "plat/String.h"
#include "plat/Types.h"

namespace plat::stdmodel {

// Text of multi-line edits is exchanged with callers with CR LF line ends; the hosted
// editor works with LF. Lone CR and lone LF both count as one line break.
String ToCRLF(StringView text);
String ToLF(StringView text);
// Lines of a text split at CR LF, LF or CR; a final line break adds no empty line.
std::vector<String> SplitLines(StringView text);

// One category panel as the group stacks it. `requestedTop` (the top it was given, or the
// one it last had) decides the stacking order; ties keep the list order.
struct PanelSlot {
    bool visible = true;
    bool collapsed = false;
    int fullHeight = 0;   // height when expanded, header included
    int requestedTop = 0;
};

struct StackResult {
    std::vector<int> top;     // per slot, content coordinates (0 = top of the content); -1 when hidden
    std::vector<int> height;  // per slot, shown height; 0 when hidden
    int contentHeight = 0;
};

// Panels stand in the order of their requested tops, one directly below the other with no
// gap; a collapsed panel takes only its header. `moved` is the slot whose top was just set:
// on a tie it goes before the others, as a control moved onto another's place does.
StackResult StackPanels(const std::vector<PanelSlot>& slots, int headerHeight, int moved = -1);

// Largest scroll position for a content of `content` pixels in a view of `view` pixels.
int MaxScroll(int content, int view);
// Scroll position that brings the band [top, top + height) into a view of `view` pixels
// starting at `pos`, moving as little as possible; a band taller than the view shows its top.
int ScrollIntoView(int pos, int top, int height, int view, int content);

// Single-row tab strip: tab k spans [left[k], left[k] + width[k]); the active tab is drawn
// raised by two pixels, which hit testing ignores.
struct TabStripLayout {
    std::vector<int> left;
    std::vector<int> width;
};
// `textWidths` holds the caption width of each tab, or -1 for a tab that is not shown.
TabStripLayout LayoutTabs(const std::vector<int>& textWidths, int firstLeft, int padding);
// Index of the tab under x, or -1.
int TabAt(const TabStripLayout& layout, int x);

} // namespace plat::stdmodel
