// The tree's accessibility as tools see it: the tree-view item request sent to the tree's
// window, and the accessible objects of registered providers read through the window
// system's accessibility (the test kit's AccessibleOf), with the focus announcements.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "InputFixture.h"
#include "LTAccessibilityFactory.h"
#include "plat/Accessibility.h"

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


// ---- providers and the accessible objects ------------------------------------------------

// The focused node of a tree, as an outline item.
class FocusedItemObject : public plat::TAccessibleObject {
public:
    FocusedItemObject(TBaseLazyTree* Tree, int Maker) : Tree(Tree), Maker(Maker) {}
    plat::TAccessibleRole Role() const override { return plat::arOutlineItem; }
    String Name() const override
    {
        auto* strings = dynamic_cast<TCustomLazyStringTree*>(Tree);
        return strings && Tree->FocusedNode() ? strings->GetText(Tree->FocusedNode(), NoColumn) : String();
    }
    std::uint32_t State() const override
    {
        PLazyNode n = Tree->FocusedNode();
        std::uint32_t s = plat::asFocusable | plat::asSelectable;
        if (!n) return s;
        if (Tree->Focused()) s |= plat::asFocused;
        if (n->Has(vsSelected)) s |= plat::asSelected;
        if (Tree->GetHasChildren(n)) s |= n->Has(vsExpanded) ? plat::asExpanded : plat::asCollapsed;
        return s;
    }
    plat::TRect Location() const override { return {}; }
    TBaseLazyTree* Tree;
    int Maker;
};

// The tree as an outline whose focus is the tree's item object.
class TreeObject : public plat::TAccessibleObject {
public:
    TreeObject(TBaseLazyTree* Tree, int Maker) : Tree(Tree), Maker(Maker) {}
    plat::TAccessibleRole Role() const override { return plat::arOutline; }
    String Name() const override { return Tree->AccessibleName(); }
    std::uint32_t State() const override { return plat::asFocusable; }
    plat::TRect Location() const override
    {
        const plat::TPoint p = Tree->ClientToScreen(plat::TPoint{0, 0});
        return {p.X, p.Y, p.X + Tree->ClientWidth(), p.Y + Tree->ClientHeight()};
    }
    int ChildCount() const override { return Tree->FocusedNode() ? 1 : 0; }
    plat::IAccessible Child(int) const override { return Tree->AccessibleItem(); }
    plat::IAccessible Focus() const override { return Tree->AccessibleItem(); }
    TBaseLazyTree* Tree;
    int Maker;
};

// Makes the tree object while the tree has none, else an item object; or nothing at all.
class TestProvider : public ILTAccessibleProvider {
public:
    explicit TestProvider(int Id, bool Answers = true) : Id(Id), Answers(Answers) {}
    plat::IAccessible CreateAccessible(TBaseLazyTree* Tree) override
    {
        ++Asked;
        if (!Answers) return nullptr;
        if (!Tree->Accessible()) return std::make_shared<TreeObject>(Tree, Id);
        return std::make_shared<FocusedItemObject>(Tree, Id);
    }
    int Id;
    bool Answers;
    int Asked = 0;
};

// Registers providers for one test and unregisters them after it.
struct Registration {
    explicit Registration(std::vector<PLTAccessibleProvider> Providers) : Providers(std::move(Providers))
    {
        for (auto& p : this->Providers) TLTAccessibilityFactory::GetAccessibilityFactory().RegisterAccessibleProvider(p);
    }
    ~Registration()
    {
        for (auto& p : Providers) TLTAccessibilityFactory::GetAccessibilityFactory().UnRegisterAccessibleProvider(p);
    }
    std::vector<PLTAccessibleProvider> Providers;
};

class AccessibleObjectTest : public InputTest {
protected:
    plat::LRESULT AskObject(long Id = plat::OBJID_CLIENT)
    {
        return tree->Perform(plat::WM_GETOBJECT, 0, static_cast<plat::LPARAM>(Id));
    }
    // A fresh tree window, whose accessible object the window system has not asked for yet.
    void FreshTree()
    {
        delete tree;
        tree = new InputTree(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 240, 200);
        tree->OnGetText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, String& T) {
            auto it = texts.find(N);
            T = it == texts.end() ? String(u"n") : it->second;
        };
        plat::testing::ProcessEvents();
    }
};

TEST_F(AccessibleObjectTest, WithoutProvidersTheWindowSystemsDefaultAnswers)
{
    for (bool factoryUsed : {false, true}) {
        SCOPED_TRACE(factoryUsed);
        if (factoryUsed) {
            ASSERT_EQ(TLTAccessibilityFactory::GetAccessibilityFactory().ProviderCount(), 0);
        }
        FreshTree();
        EXPECT_EQ(AskObject(), 0);
        EXPECT_EQ(tree->Accessible(), nullptr);
        EXPECT_EQ(tree->AccessibleItem(), nullptr);
        const plat::testing::AccessibleView v = plat::testing::AccessibleOf(tree);
        EXPECT_TRUE(v.Exists);
        EXPECT_FALSE(v.ByControl);
        EXPECT_EQ(v.Role, "Client");
    }
}

TEST_F(AccessibleObjectTest, AToolReadsTheFocusedNodesNameAndStateThroughTheProvidersObject)
{
    Registration reg({std::make_shared<TestProvider>(1)});
    FreshTree();
    Select({toMultiSelect});
    tree->SetAccessibleName(u"Orders");
    const auto r = Roots({u"first", u"second"});
    Add(r[1], u"child");
    tree->SetFocus();
    Click(LabelX(r[0]), RowY(r[0]));

    plat::testing::AccessibleView v = plat::testing::AccessibleOf(tree);
    ASSERT_TRUE(v.ByControl);
    EXPECT_EQ(v.Role, "Tree");
    EXPECT_EQ(v.Name, u"Orders");
    EXPECT_EQ(v.ChildCount, 1);
    const plat::TPoint origin = tree->ClientToScreen(plat::TPoint{0, 0});
    EXPECT_EQ(v.Location.Left, origin.X);
    EXPECT_EQ(v.Location.Width(), tree->ClientWidth());
    ASSERT_TRUE(v.Focus);
    EXPECT_EQ(v.Focus->Role, "TreeItem");
    EXPECT_EQ(v.Focus->Name, u"first");
    EXPECT_EQ(v.Focus->State & (plat::asFocused | plat::asSelected | plat::asCollapsed | plat::asExpanded),
              plat::asFocused | plat::asSelected);

    // The objects are live: the tool reads the new focus after a key.
    plat::testing::Key(plat::VK_DOWN);
    tree->SetExpanded(r[1], true);
    v = plat::testing::AccessibleOf(tree);
    ASSERT_TRUE(v.Focus);
    EXPECT_EQ(v.Focus->Name, u"second");
    EXPECT_EQ(v.Focus->State & (plat::asFocused | plat::asSelected | plat::asCollapsed | plat::asExpanded),
              plat::asFocused | plat::asSelected | plat::asExpanded);
}

TEST_F(AccessibleObjectTest, TheTreeObjectComesFromTheFirstProviderAndTheItemFromTheLaterOnes)
{
    struct Case {
        const char* What;
        std::vector<std::pair<int, bool>> Providers;  // id, answers
        int TreeMaker, ItemMaker;
    };
    const Case cases[] = {
        {"one provider makes both", {{1, true}}, 1, 1},
        {"two providers", {{1, true}, {2, true}}, 1, 2},
        {"the last answering one counts", {{1, true}, {2, true}, {3, true}}, 1, 3},
        {"a silent later one is passed over", {{1, true}, {2, true}, {3, false}}, 1, 2},
        {"none of the later ones answers: the first", {{1, true}, {2, false}}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<PLTAccessibleProvider> providers;
        for (auto [id, answers] : c.Providers) providers.push_back(std::make_shared<TestProvider>(id, answers));
        Registration reg(providers);
        FreshTree();
        EXPECT_NE(AskObject(), 0);
        auto* treeObject = dynamic_cast<TreeObject*>(tree->Accessible().get());
        auto* itemObject = dynamic_cast<FocusedItemObject*>(tree->AccessibleItem().get());
        ASSERT_NE(treeObject, nullptr);
        ASSERT_NE(itemObject, nullptr);
        EXPECT_EQ(treeObject->Maker, c.TreeMaker);
        EXPECT_EQ(itemObject->Maker, c.ItemMaker);
        // Kept once made: a second request makes nothing new.
        const plat::IAccessible before = tree->Accessible(), item = tree->AccessibleItem();
        EXPECT_NE(AskObject(), 0);
        EXPECT_EQ(tree->Accessible(), before);
        EXPECT_EQ(tree->AccessibleItem(), item);
        // Other objects than the client are not the tree's to answer.
        EXPECT_EQ(AskObject(-1), 0);
    }
}

TEST_F(AccessibleObjectTest, RegisteringTwiceKeepsOneEntry)
{
    TLTAccessibilityFactory& f = TLTAccessibilityFactory::GetAccessibilityFactory();
    auto p = std::make_shared<TestProvider>(1);
    f.RegisterAccessibleProvider(p);
    f.RegisterAccessibleProvider(p);
    EXPECT_EQ(f.ProviderCount(), 1);
    f.UnRegisterAccessibleProvider(p);
    EXPECT_EQ(f.ProviderCount(), 0);
    f.UnRegisterAccessibleProvider(p);  // absent: nothing happens
    EXPECT_EQ(f.ProviderCount(), 0);
    EXPECT_EQ(f.CreateIAccessible(nullptr), nullptr);
}

TEST_F(AccessibleObjectTest, AFocusChangeAnnouncesSixEventsOnceAnItemObjectExists)
{
    const auto r = Roots({u"a", u"b"});
    tree->SetFocus();
    Click(LabelX(r[0]), RowY(r[0]));
    EXPECT_TRUE(plat::testing::AccessibilityEvents().empty()) << "no item object: nothing to announce";

    Registration reg({std::make_shared<TestProvider>(1)});
    ASSERT_NE(AskObject(), 0);
    plat::testing::ClearAccessibilityEvents();
    std::vector<std::uint32_t> order;
    tree->OnFocusChanged = [&](TBaseLazyTree*, PLazyNode, TColumnIndex) {
        order.push_back(0);  // the handler runs before the announcements
        EXPECT_TRUE(plat::testing::AccessibilityEvents().empty());
    };
    Click(LabelX(r[1]), RowY(r[1]));
    const std::uint32_t expected[] = {plat::EVENT_OBJECT_LOCATIONCHANGE, plat::EVENT_OBJECT_NAMECHANGE,
                                      plat::EVENT_OBJECT_VALUECHANGE,    plat::EVENT_OBJECT_STATECHANGE,
                                      plat::EVENT_OBJECT_SELECTION,      plat::EVENT_OBJECT_FOCUS};
    const auto& events = plat::testing::AccessibilityEvents();
    ASSERT_EQ(order.size(), 1u);
    ASSERT_EQ(events.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].Event, expected[i]);
        EXPECT_EQ(events[i].Control, tree);
        EXPECT_EQ(events[i].ObjectId, plat::OBJID_CLIENT);
        EXPECT_EQ(events[i].ChildId, plat::CHILDID_SELF);
    }
    // A click on the focused node changes no focus and announces nothing.
    plat::testing::ClearAccessibilityEvents();
    Click(LabelX(r[1]), RowY(r[1]));
    EXPECT_TRUE(plat::testing::AccessibilityEvents().empty());
}

} // namespace
} // namespace vtree::testing
