// Selection and focus rules around the store: the node toAlwaysSelectNode falls back on,
// the string tree's remembered selection, and setting focus node and column together.
#include <gtest/gtest.h>

#include <vector>

#include "InputFixture.h"

namespace vtree::testing {
namespace {

namespace kit = plat::testing;

class SelectionFocusTest : public InputTest {};

TEST_F(SelectionFocusTest, DeletingTheSelectedNodeSelectsItsNeighbour)
{
    struct Case {
        const char* Name;
        int Delete;  // index into the nodes below
        int Expected;
    };
    // r0 { c0, c1 }, r1 { d0 }, r2
    const Case cases[] = {
        {"next sibling", 2, 3},
        {"previous sibling when last", 3, 2},
        {"parent for an only child", 5, 4},
        {"previous top-level node when last", 6, 4},
    };
    Select({toAlwaysSelectNode});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        tree->Clear();
        texts.clear();
        std::vector<PLazyNode> n;
        n.push_back(Add(nullptr, u"r0"));
        n.push_back(nullptr);
        n.push_back(Add(n[0], u"c0"));
        n.push_back(Add(n[0], u"c1"));
        n.push_back(Add(nullptr, u"r1"));
        n.push_back(Add(n[4], u"d0"));
        n.push_back(Add(nullptr, u"r2"));
        tree->FullExpand();
        tree->ClearSelection();
        tree->SetSelected(n[c.Delete], true);
        tree->DeleteNode(n[c.Delete]);
        EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{n[c.Expected]});
        EXPECT_INPUT_OK(*tree);
    }
}

TEST_F(SelectionFocusTest, RestoreSelectionReselectsAddedNodesByTextIgnoringCase)
{
    Select({toMultiSelect, toRestoreSelection});
    // A new node answers its text already while it is being added.
    String fresh;
    tree->OnGetText = [&](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, String& T) {
        auto it = texts.find(N);
        T = it == texts.end() ? fresh : it->second;
    };
    auto add = [&](const char16_t* T) {
        fresh = T;
        return Add(nullptr, T);
    };
    const std::vector<PLazyNode> r{add(u"Alpha"), add(u"beta"), add(u"gamma")};
    tree->SetSelected(r[0], true);
    tree->SetSelected(r[1], true);
    EXPECT_EQ(tree->PreviouslySelected(), (std::vector<String>{u"Alpha", u"beta"}));
    tree->SetSelected(r[1], false);
    EXPECT_EQ(tree->PreviouslySelected(), (std::vector<String>{u"Alpha"}));
    tree->DeleteNode(r[0]);
    texts.erase(r[0]);  // its block may serve the next node
    EXPECT_EQ(tree->PreviouslySelected(), std::vector<String>{}) << "the deleted node left the selection";
    tree->SetSelected(r[2], true);
    PLazyNode again = add(u"GAMMA");
    PLazyNode other = add(u"delta");
    EXPECT_TRUE(again->Has(vsSelected));
    EXPECT_FALSE(other->Has(vsSelected));
    EXPECT_EQ(tree->PreviouslySelected(), std::vector<String>{u"gamma"}) << "a restored node records nothing";
    EXPECT_INPUT_OK(*tree);
}

TEST_F(SelectionFocusTest, FocusNodeAndColumnChangeTogetherOrNotAtAll)
{
    const auto r = Roots({u"a", u"b"});
    tree->Header().Columns().Add();
    tree->Header().Columns().Add();
    std::vector<std::pair<PLazyNode, TColumnIndex>> changed;
    tree->OnFocusChanged = [&](TBaseLazyTree*, PLazyNode N, TColumnIndex C) { changed.push_back({N, C}); };
    bool allow = true;
    tree->OnFocusChanging = [&](TBaseLazyTree*, PLazyNode, PLazyNode, TColumnIndex, TColumnIndex, bool& A) { A = allow; };
    tree->SetFocusedNodeAndColumn(r[1], 1);
    EXPECT_EQ(tree->FocusedNode(), r[1]);
    EXPECT_EQ(tree->FocusedColumn(), 1);
    tree->SetFocusedNodeAndColumn(r[1], 1);
    EXPECT_EQ(changed.size(), 1u) << "nothing changed, nothing fired";
    allow = false;
    tree->SetFocusedNodeAndColumn(r[0], 0);
    EXPECT_EQ(tree->FocusedNode(), r[1]);
    EXPECT_EQ(tree->FocusedColumn(), 1) << "a refused node change keeps the column too";
    EXPECT_EQ(changed.size(), 1u);
    EXPECT_INPUT_OK(*tree);
}

} // namespace
} // namespace vtree::testing
