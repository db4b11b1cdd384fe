// Window-free rules of the standard controls: line-break forms, category panel stacking
// and scrolling, the tab strip.
#include <gtest/gtest.h>

#include "StdModels.h"

using namespace plat;
using namespace plat::stdmodel;

namespace {

std::string Narrow(const String& s) { return std::string(s.begin(), s.end()); }

TEST(LineBreaks, EveryFormBecomesOneBreak)
{
    struct Case { const char16_t* in; const char16_t* crlf; const char16_t* lf; size_t lines; };
    const Case cases[] = {
        {u"", u"", u"", 0},
        {u"a", u"a", u"a", 1},
        {u"a\r\nb", u"a\r\nb", u"a\nb", 2},
        {u"a\nb", u"a\r\nb", u"a\nb", 2},
        {u"a\rb", u"a\r\nb", u"a\nb", 2},
        {u"a\r\n", u"a\r\n", u"a\n", 1},          // a final break adds no empty line
        {u"\r\n\r\n", u"\r\n\r\n", u"\n\n", 2},   // empty lines stay
        {u"a\n\rb", u"a\r\n\r\nb", u"a\n\nb", 3}, // LF CR is two breaks, not one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.in));
        EXPECT_EQ(ToCRLF(c.in), String(c.crlf));
        EXPECT_EQ(ToLF(c.in), String(c.lf));
        EXPECT_EQ(SplitLines(c.in).size(), c.lines);
        // converting twice changes nothing more
        EXPECT_EQ(ToCRLF(ToCRLF(c.in)), String(c.crlf));
    }
}

TEST(CategoryStack, PanelsFollowRequestedTopsWithoutGaps)
{
    struct Case {
        const char* name;
        std::vector<PanelSlot> slots;
        std::vector<int> tops;
        int content;
    };
    const int header = 24;
    const Case cases[] = {
        {"in list order", {{true, false, 67, 0}, {true, false, 206, 67}, {true, false, 67, 273}},
         {0, 67, 273}, 340},
        {"collapsed takes its header",
         {{true, false, 67, 0}, {true, true, 206, 67}, {true, false, 67, 273}}, {0, 67, 91}, 158},
        {"hidden takes no space",
         {{true, false, 67, 0}, {false, false, 206, 67}, {true, false, 67, 273}}, {0, -1, 67}, 134},
        {"requested tops reorder", {{true, false, 50, 100}, {true, false, 30, 0}}, {30, 0}, 80},
        {"equal tops keep list order", {{true, false, 50, 0}, {true, false, 30, 0}}, {0, 50}, 80},
        {"full height below the header shows the header", {{true, false, 10, 0}}, {0}, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StackResult r = StackPanels(c.slots, header);
        EXPECT_EQ(r.top, c.tops);
        EXPECT_EQ(r.contentHeight, c.content);
    }
}

// Stacking panels one by one the way a window does it (top of the next = top + height of the
// one before) gives the wanted order whatever order the panels were created in.
TEST(CategoryStack, SettingTopsOneByOneReordersLikeAlignedControls)
{
    // Created in the order C, A, B; wanted A, B, C.
    std::vector<PanelSlot> slots = {{true, false, 30, 0}, {true, false, 50, 30}, {true, false, 40, 80}};
    const int wanted[] = {1, 2, 0};
    int prevTop = 0, prevHeight = 0;
    for (int k = 0; k < 3; ++k) {
        const int slot = wanted[k];
        slots[static_cast<size_t>(slot)].requestedTop = k == 0 ? 0 : prevTop + prevHeight;
        StackResult r = StackPanels(slots, 24, slot);
        // the group keeps each panel's actual top as its key afterwards
        for (size_t i = 0; i < slots.size(); ++i)
            slots[i].requestedTop = r.top[i];
        prevTop = r.top[static_cast<size_t>(slot)];
        prevHeight = r.height[static_cast<size_t>(slot)];
    }
    const StackResult r = StackPanels(slots, 24);
    EXPECT_EQ(r.top, (std::vector<int>{90, 0, 50}));
}

TEST(CategoryStack, GrowingOnePanelMovesOnlyThoseBelow)
{
    std::vector<PanelSlot> slots = {{true, false, 67, 0}, {true, false, 317, 67}, {true, false, 123, 384},
                                    {true, false, 65, 507}};
    const StackResult before = StackPanels(slots, 24);
    slots[1].fullHeight = 429;
    const StackResult after = StackPanels(slots, 24);
    EXPECT_EQ(after.top[0], before.top[0]);
    EXPECT_EQ(after.top[1], before.top[1]);
    EXPECT_EQ(after.top[2] - before.top[2], 112);
    EXPECT_EQ(after.top[3] - before.top[3], 112);
}

TEST(CategoryStack, ScrollIntoViewMovesAsLittleAsPossible)
{
    struct Case { const char* name; int pos, top, height, view, content, expected; };
    const Case cases[] = {
        {"already visible", 100, 150, 50, 591, 1500, 100},
        {"below the view: bottom edge aligned", 0, 700, 100, 591, 1500, 209},
        {"above the view: top edge aligned", 500, 300, 100, 591, 1500, 300},
        {"taller than the view shows its top", 0, 700, 800, 591, 1500, 700},
        {"clamped to the scroll range", 0, 1400, 100, 591, 1500, 909},
        {"no range when the content fits", 0, 300, 100, 591, 400, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ScrollIntoView(c.pos, c.top, c.height, c.view, c.content), c.expected);
    }
}

TEST(TabStrip, HiddenTabsTakeNoPlaceAndHitTestFollowsWidths)
{
    const TabStripLayout l = LayoutTabs({40, -1, 20}, 2, 6);
    EXPECT_EQ(l.left[0], 2);
    EXPECT_EQ(l.width[0], 52);
    EXPECT_EQ(l.width[1], 0);
    EXPECT_EQ(l.left[2], 54);
    struct Probe { int x, tab; };
    for (Probe p : {Probe{1, -1}, Probe{2, 0}, Probe{53, 0}, Probe{54, 2}, Probe{85, 2}, Probe{86, -1}}) {
        SCOPED_TRACE(p.x);
        EXPECT_EQ(TabAt(l, p.x), p.tab);
    }
}

} // namespace
