// The item selector's items and panel arithmetic: item sizes per caption position, the
// placement in columns, hit tests, stepping, the caption lookup and the visible item count.
#include <gtest/gtest.h>

#include "ExtItemSelector.h"

namespace dd = dropdown;
using plat::TRect;
using plat::TSize;

namespace {

TEST(SelectorLayout, PanelSizes) {
    struct Case {
        int count, columns;
        TSize item, panel;
        TRect last;
    } cases[] = {
        {0, 1, {40, 20}, {100, 50}, {}},
        {5, 2, {40, 20}, {84, 64}, {2, 42, 42, 62}},   // 2 + 80 + 2 by 2 + 60 + 2
        {5, 0, {40, 20}, {44, 104}, {2, 82, 42, 102}}, // columns below 1 place one per row
        {3, 5, {10, 10}, {34, 14}, {22, 2, 32, 12}},   // a short row is as wide as its items
        {4, 2, {40, 20}, {84, 44}, {42, 22, 82, 42}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        TSize panel;
        const auto rects = dd::LayoutSelectorItems(c.count, c.columns, c.item, {}, panel);
        EXPECT_EQ(panel, c.panel);
        ASSERT_EQ(static_cast<int>(rects.size()), c.count);
        if (c.count > 0) EXPECT_EQ(rects.back(), c.last);
    }
}

TEST(SelectorLayout, ItemSizePerCaptionPosition) {
    struct Case {
        dd::TItemLayout layout;
        TSize image, caption, item;
    } cases[] = {
        {dd::ilCaptionRight, {16, 16}, {30, 13}, {8 + 16 + 4 + 34, 16 + 8}},
        {dd::ilCaptionLeft, {0, 0}, {30, 13}, {8 + 34, 13 + 8}},      // no gap without an image
        {dd::ilCaptionRight, {16, 16}, {0, 0}, {8 + 16, 16 + 8}},     // nor without a caption
        {dd::ilCaptionBottom, {16, 32}, {30, 13}, {34 + 8, 8 + 32 + 4 + 13}},
        {dd::ilCaptionTop, {40, 32}, {30, 13}, {40 + 8, 8 + 32 + 4 + 13}},
        {dd::ilCaptionTop, {0, 0}, {0, 0}, {8, 8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dd::SelectorItemSize(c.layout, c.image, c.caption, {}), c.item) << c.layout;
}

TEST(SelectorLayout, HitTestAndStepping) {
    TSize panel;
    const auto rects = dd::LayoutSelectorItems(5, 2, {40, 20}, {}, panel);
    EXPECT_EQ(dd::SelectorItemAtPos(rects, 2, 2), 0);
    EXPECT_EQ(dd::SelectorItemAtPos(rects, 42, 21), 1);
    EXPECT_EQ(dd::SelectorItemAtPos(rects, 41, 22), 2);
    EXPECT_EQ(dd::SelectorItemAtPos(rects, 50, 50), -1) << "beside the last row's single item";
    EXPECT_EQ(dd::SelectorItemAtPos(rects, 1, 1), -1) << "in the margin";
    struct Step {
        int current, count;
        bool forward;
        int next;
    } steps[] = {{-1, 5, true, 0}, {-1, 5, false, 0}, {4, 5, true, 4}, {0, 5, false, 0}, {2, 5, true, 3},
                 {2, 5, false, 1}, {-1, 0, true, -1}};
    for (const Step& s : steps)
        EXPECT_EQ(dd::SelectorStep(s.current, s.count, s.forward), s.next) << s.current << (s.forward ? "+" : "-");
}

TEST(SelectorLayout, VisibleItemCountNeverDividesByZero) {
    EXPECT_EQ(dd::SelectorVisibleItemCount(10, 100, false, 22, 1), 4);
    EXPECT_EQ(dd::SelectorVisibleItemCount(10, 100, true, 20, 3), 12);
    EXPECT_EQ(dd::SelectorVisibleItemCount(0, 100, false, 22, 1), 0);
    EXPECT_EQ(dd::SelectorVisibleItemCount(10, 100, false, 0, 1), 0) << "item height 0";
    EXPECT_EQ(dd::SelectorVisibleItemCount(10, 100, false, -5, 1), 0);
}

TEST(SelectorLookup, PlainTrimmedUpperCasedPrefix) {
    const std::vector<plat::String> captions = {u"xyz", u"  <b>ab</b>c ", u"Abd"};
    EXPECT_EQ(dd::SelectorLookup(captions, u"AB"), 1) << "markup and blanks left out";
    EXPECT_EQ(dd::SelectorLookup(captions, u"ABD"), 2);
    EXPECT_EQ(dd::SelectorLookup(captions, u"ab"), -1) << "the text itself is not converted";
    EXPECT_EQ(dd::SelectorLookup({}, u"A"), -1);
}

TEST(SelectorItems, ChangesOfItemsAreTold) {
    dd::TSelectorItems items(nullptr);
    int changes = 0;
    items.OnChange = [&](plat::TObject* sender) {
        EXPECT_EQ(sender, &items);
        ++changes;
    };
    dd::TSelectorItem* a = items.Add();
    items.Insert(0);
    EXPECT_EQ(changes, 0) << "adding and inserting tell nothing";
    EXPECT_EQ(a->ImageIndex(), -1);
    EXPECT_EQ(a->Color(), plat::clNone);
    EXPECT_TRUE(a->Enabled());
    a->SetCaption(u"one");
    a->SetCaption(u"one");
    a->SetImageIndex(3);
    a->SetColor(plat::clRed);
    EXPECT_EQ(changes, 3) << "one per changed value";
    a->Hint = u"tip";
    items.SetItem(0, a);
    EXPECT_EQ(plat::StringToUtf8(items.GetItem(0)->Caption()), "one");
    EXPECT_EQ(items.GetItem(0)->ImageIndex(), 3);
    EXPECT_EQ(plat::StringToUtf8(items.GetItem(0)->Hint), "tip");
    items.Delete(0);
    EXPECT_EQ(items.Count(), 1);
}

} // namespace
