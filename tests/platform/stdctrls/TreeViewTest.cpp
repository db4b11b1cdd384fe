// The standard tree view: node structure (adds, inserts, deletes with children, positions),
// and through the real event path selection, expansion, keys, events and the popup menu.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "plat/Forms.h"
#include "plat/Menus.h"
#include "plat/Messages.h"
#include "plat/Testing.h"
#include "plat/TreeView.h"
#include "TestSupport.h"

using namespace plat;
namespace pt = plat::testing;
using testsupport::ThrowsWith;

namespace {

// Every node's parent link, owner and the total count agree with a recount.
int CheckTree(const TTreeNodes& nodes)
{
    int count = 0;
    std::vector<const TTreeNode*> stack;
    for (int i = 0; i < nodes.RootCount(); ++i) {
        const TTreeNode* root = i == 0 ? nodes.GetFirstNode() : stack.back()->getNextSibling();
        EXPECT_EQ(root->Parent(), nullptr);
        stack.push_back(root);
    }
    for (const TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext()) {
        ++count;
        EXPECT_EQ(n->Owner(), &nodes);
        for (int i = 0; i < n->Count(); ++i) EXPECT_EQ(n->Item(i)->Parent(), n);
        EXPECT_EQ(nodes.Item(n->AbsoluteIndex()), n);
    }
    EXPECT_EQ(count, nodes.Count());
    return count;
}

// Texts depth first, children in brackets: "a[b c] d".
std::string Shape(const TTreeNode* first)
{
    std::string s;
    for (const TTreeNode* n = first; n; n = n->getNextSibling()) {
        if (!s.empty()) s += ' ';
        s += StringToUtf8(n->Text());
        if (n->HasChildren()) s += "[" + Shape(n->getFirstChild()) + "]";
    }
    return s;
}

class TreeViewTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        tree = new TTreeView(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(10, 10, 200, 200);
        tree->OnChange = [this](TObject*, TTreeNode* n) { log.push_back("change " + Name(n)); };
        tree->OnClick = [this](TObject*) { log.push_back("click"); };
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }
    static std::string Name(const TTreeNode* n) { return n ? StringToUtf8(n->Text()) : "none"; }
    // Network with two nodes of two variables each, under one root.
    void BuildNetwork()
    {
        TTreeNodes* items = tree->Items();
        root = items->AddChild(nullptr, u"M-Bus Network");
        for (int i = 1; i <= 2; ++i) {
            const std::string node = "node" + std::to_string(i);
            TTreeNode* n = items->AddChild(root, String(node.begin(), node.end()));
            for (int j = 1; j <= 2; ++j) {
                const std::string var = node + "." + std::to_string(j);
                items->AddChild(n, String(var.begin(), var.end()));
            }
        }
    }
    TPoint TextPoint(const TTreeNode* n)
    {
        const TRect r = tree->NodeRect(n, false);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    TPoint ButtonPoint(const TTreeNode* n)
    {
        const TRect r = tree->NodeRect(n, false);
        return {(n->Level() + 1) * tree->Indent() - tree->Indent() / 2, (r.Top + r.Bottom) / 2};
    }
    std::unique_ptr<TForm> form;
    TTreeView* tree = nullptr;
    TTreeNode* root = nullptr;
    std::vector<std::string> log;
};

TEST_F(TreeViewTest, AddsAndInsertsPlaceNodesWhereTheyAreAsked)
{
    TTreeNodes* items = tree->Items();
    TTreeNode* b = items->Add(nullptr, u"b");
    TTreeNode* d = items->Add(b, u"d");
    items->Insert(d, u"c");
    items->AddFirst(d, u"a");
    TTreeNode* b2 = items->AddChild(b, u"b2");
    items->AddChildFirst(b, u"b1");
    items->Insert(b2, u"b15");
    items->Add(b2, u"b3");
    items->Insert(nullptr, u"e");
    EXPECT_EQ(Shape(items->GetFirstNode()), "a b[b1 b15 b2 b3] c d e");
    EXPECT_EQ(CheckTree(*items), 9);
    EXPECT_EQ(b2->Level(), 1);
    EXPECT_EQ(b2->Index(), 2);
    EXPECT_EQ(b2->AbsoluteIndex(), 4);
    EXPECT_TRUE(ThrowsWith<EListError>([&] { b->Item(4); }, u"List index out of bounds (4)"));
    EXPECT_TRUE(ThrowsWith<EListError>([&] { items->Item(9); }, u"List index out of bounds (9)"));
}

TEST_F(TreeViewTest, DeletingTakesTheChildrenAndASelectionInsideLeavesNothingSelected)
{
    BuildNetwork();
    TTreeNode* node1 = root->Item(0);
    tree->SetSelected(node1->Item(1));
    log.clear();
    node1->Delete();
    EXPECT_EQ(Shape(tree->Items()->GetFirstNode()), "M-Bus Network[node2[node2.1 node2.2]]");
    EXPECT_EQ(CheckTree(*tree->Items()), 4);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_TRUE(log.empty());
    // Deleting another node keeps the selection.
    tree->SetSelected(root->Item(0)->Item(0));
    root->Item(0)->Item(1)->Delete();
    EXPECT_EQ(Name(tree->Selected()), "node2.1");
    tree->Items()->Clear();
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(tree->VisibleRowCount(), 0);
}

TEST_F(TreeViewTest, ClicksSelectThenReportAndButtonsToggle)
{
    BuildNetwork();
    root->Expand(false);
    pt::ProcessEvents();
    ASSERT_EQ(tree->VisibleRowCount(), 3);
    TTreeNode* node2 = root->Item(1);
    const TPoint p = TextPoint(node2);
    pt::Click(tree, p.X, p.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"change node2", "click"}));
    // The same node again: a click, no change.
    log.clear();
    pt::Click(tree, p.X, p.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));
    // Its button expands it without moving the selection.
    log.clear();
    const TPoint b = ButtonPoint(node2);
    pt::Click(tree, b.X, b.Y);
    EXPECT_TRUE(node2->Expanded());
    EXPECT_EQ(tree->VisibleRowCount(), 5);
    EXPECT_EQ(Name(tree->Selected()), "node2");
    // A click on a variable row selects it.
    log.clear();
    const TPoint v = TextPoint(node2->Item(1));
    pt::Click(tree, v.X, v.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"change node2.2", "click"}));
    // A double click on a node toggles it.
    const TPoint n1 = TextPoint(root->Item(0));
    pt::DoubleClick(tree, n1.X, n1.Y);
    EXPECT_TRUE(root->Item(0)->Expanded());
    EXPECT_EQ(tree->VisibleRowCount(), 7);
    // Below the last row nothing changes.
    log.clear();
    pt::Click(tree, 50, 195);
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));
}

TEST_F(TreeViewTest, KeysMoveExpandAndCollapse)
{
    BuildNetwork();
    tree->SetFocus();
    struct Step {
        std::uint16_t key;
        const char* selected;
        int rows;
    };
    const Step steps[] = {
        {VK_DOWN, "M-Bus Network", 1},  // nothing selected: the first row
        {VK_RIGHT, "M-Bus Network", 3}, // expands
        {VK_RIGHT, "node1", 3},         // steps into the first child
        {VK_DOWN, "node2", 3},
        {VK_ADD, "node2", 5},
        {VK_END, "node2.2", 5},
        {VK_LEFT, "node2", 5},          // a leaf steps to its parent
        {VK_LEFT, "node2", 3},          // an expanded node collapses
        {VK_HOME, "M-Bus Network", 3},
        {VK_SUBTRACT, "M-Bus Network", 1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.selected);
        pt::Key(s.key);
        EXPECT_EQ(Name(tree->Selected()), s.selected);
        EXPECT_EQ(tree->VisibleRowCount(), s.rows);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "click"), 0);
}

TEST_F(TreeViewTest, CollapsingOverTheSelectionMovesItUpAndChangingCanRefuse)
{
    BuildNetwork();
    tree->FullExpand();
    tree->SetSelected(root->Item(1)->Item(0));
    log.clear();
    root->Collapse(false);
    EXPECT_EQ(log, (std::vector<std::string>{"change M-Bus Network"}));
    EXPECT_EQ(tree->Selected(), root);

    tree->OnChanging = [](TObject*, TTreeNode* n, bool& allow) { allow = n->Level() < 2; };
    log.clear();
    tree->SetSelected(root->Item(0)->Item(0));
    EXPECT_EQ(tree->Selected(), root);
    EXPECT_TRUE(log.empty());
    tree->SetSelected(root->Item(0));
    EXPECT_EQ(log, (std::vector<std::string>{"change node1"}));
}

TEST_F(TreeViewTest, TheSelectionIsScrolledIntoView)
{
    TTreeNodes* items = tree->Items();
    items->BeginUpdate();
    TTreeNode* last = nullptr;
    for (int i = 0; i < 100; ++i) last = items->Add(nullptr, u"row");
    TTreeNode* hidden = items->AddChild(last, u"child");
    items->EndUpdate();
    pt::ProcessEvents();
    EXPECT_EQ(tree->TopItem(), items->GetFirstNode());
    tree->SetSelected(hidden);  // expands its parent and scrolls
    EXPECT_TRUE(last->Expanded());
    const TRect r = tree->NodeRect(hidden, true);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Bottom, tree->ClientHeight());
    EXPECT_NE(tree->TopItem(), items->GetFirstNode());
    // The wheel scrolls away from the selection, a key brings it back.
    pt::Wheel(tree, 120 * 10, 50, 50);
    EXPECT_GE(tree->NodeRect(hidden, true).Top, tree->ClientHeight());
    tree->SetFocus();
    pt::Key(VK_UP);
    EXPECT_EQ(tree->Selected(), last);
    EXPECT_GE(tree->NodeRect(last, true).Top, 0);
}

TEST_F(TreeViewTest, RightClickOpensThePopupMenu)
{
    BuildNetwork();
    TPopupMenu* menu = new TPopupMenu(form.get());
    TMenuItem* item = new TMenuItem(menu);
    item->SetCaption(u"Delete Items");
    menu->Items()->Add(item);
    int chosen = 0;
    item->OnClick = [&](TObject*) { ++chosen; };
    tree->SetPopupMenu(menu);
    responder().AnswerPopup(0);
    const TPoint p = TextPoint(root);
    pt::Click(tree, p.X, p.Y, mbRight);
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_EQ(chosen, 1);
}

TEST_F(TreeViewTest, Picture)
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir) GTEST_SKIP() << "pictures are rendered on request (TEST_PICTURES)";
    BuildNetwork();
    tree->SetRowSelect(true);
    tree->SetHideSelection(false);
    tree->FullExpand();
    tree->SetSelected(root->Item(0)->Item(1));
    pt::ProcessEvents();
    pt::SaveGrab(tree, String(dir, dir + std::strlen(dir)) + u"/tree_view.png");
}

} // namespace
