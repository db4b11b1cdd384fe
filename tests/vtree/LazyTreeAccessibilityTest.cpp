// The tree-view item request as a tool sends it to the tree's window.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "InputFixture.h"

namespace vtree::testing {
namespace {

class ItemRequestTest : public InputTest {
protected:
    plat::LRESULT Ask(TVITEMW& Item) { return tree->Perform(TVM_GETITEMW, 0, reinterpret_cast<plat::LPARAM>(&Item)); }
};

TEST_F(ItemRequestTest, WithoutAHandleNothingIsAnsweredOrFilled)
{
    const auto r = Roots({u"alpha"});
    for (plat::UINT mask : {plat::UINT(TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN), plat::UINT(TVIF_HANDLE | TVIF_STATE)}) {
        SCOPED_TRACE(mask);
        TVITEMW item;
        std::memset(&item, 0x5A, sizeof item);
        item.mask = mask;
        item.hItem = (mask & TVIF_HANDLE) ? nullptr : r[0];
        TVITEMW before = item;
        EXPECT_EQ(Ask(item), 0);
        EXPECT_EQ(std::memcmp(&item, &before, sizeof item), 0);
    }
}

TEST_F(ItemRequestTest, TextIsTruncatedInsideTheBufferAndAnEmptyBufferGetsNothing)
{
    const auto r = Roots({u"gamma"});
    struct Case {
        int Max;
        const char16_t* Expected;  // what the buffer holds afterwards
    };
    const Case cases[] = {{16, u"gamma"}, {6, u"gamma"}, {4, u"gam"}, {1, u""}, {0, u"######"}, {-3, u"######"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Max);
        std::array<char16_t, 24> buffer;
        buffer.fill(u'#');
        TVITEMW item;
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = r[0];
        item.pszText = buffer.data() + 4;
        item.cchTextMax = c.Max;
        EXPECT_EQ(Ask(item), 1);
        EXPECT_EQ(String(buffer.data() + 4, std::char_traits<char16_t>::length(c.Expected)), c.Expected);
        if (c.Max > 0) EXPECT_EQ(buffer[4 + std::char_traits<char16_t>::length(c.Expected)], u'\0');
        for (int i = 0; i < 4; ++i) EXPECT_EQ(buffer[i], u'#') << "nothing before the buffer";
        const int used = c.Max > 0 ? std::min<int>(c.Max, 6) : 0;
        for (int i = 4 + used; i < 24; ++i) EXPECT_EQ(buffer[i], u'#') << "nothing past the used part";
    }
}

TEST_F(ItemRequestTest, StateImagesAndChildren)
{
    Select({toMultiSelect});
    const auto r = Roots({u"a", u"b"});
    Add(r[0], u"c1");
    Add(r[0], u"c2");
    tree->OnGetImageIndex = [](TBaseLazyTree*, PLazyNode, TLTImageKind K, TColumnIndex, bool&, int& I) {
        I = K == ikNormal ? 3 : K == ikSelected ? 4 : K == ikState ? 1 : 2;
    };
    tree->SetExpanded(r[0], true);
    tree->SetFocusedNode(r[0]);
    tree->SetSelected(r[0], true);
    tree->SetDropTarget(r[1], dmOnNode);
    r[1]->Include(vsCutOrCopy);
    struct Case {
        PLazyNode Node;
        plat::UINT State;
        int Children;
    };
    const plat::UINT images = (2u << 12) | (3u << 8);
    const Case cases[] = {{r[0], TVIS_FOCUSED | TVIS_SELECTED | TVIS_EXPANDED | images, 2},
                          {r[1], TVIS_CUT | TVIS_DROPHILITED | images, 0}};
    for (const Case& c : cases) {
        TVITEMW item;
        item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
        item.hItem = c.Node;
        EXPECT_EQ(Ask(item), 1);
        EXPECT_EQ(item.stateMask, 0xFF2Fu);
        EXPECT_EQ(item.state, c.State);
        EXPECT_EQ(item.iImage, 3);
        EXPECT_EQ(item.iSelectedImage, 4);
        EXPECT_EQ(item.cChildren, c.Children);
    }
    tree->SetDropTarget(nullptr, dmNowhere);
    r[1]->Exclude(vsCutOrCopy);
}

} // namespace
} // namespace vtree::testing
