// Check states, selection store, sorting, moving and copying.
#include <algorithm>
#include <cstring>
#include <string>
#include <random>

#include "TreeFixture.h"

using namespace vtree;
using namespace vtree::testing;

namespace {

class CheckTest : public TreeTest {
protected:
    // A three-state parent with three check-box children, tracking on (the default).
    void SetUp() override
    {
        TreeTest::SetUp();
        Tree->OnInitNode = [](TBaseLazyTree* T, PLazyNode, PLazyNode N, TLazyNodeInitStates&) {
            N->CheckType = T->GetNodeLevel(N) == 0 ? ctTriStateCheckBox : ctCheckBox;
        };
        Tree->OnChecking = [this](TBaseLazyTree*, PLazyNode N, TCheckState&, bool& A) {
            Checking.push_back(N);
            if (N == Veto) A = false;
        };
        Tree->SetRootNodeCount(1);
        Parent = Tree->GetFirst();
        Tree->SetChildCount(Parent, 3);
        for (PLazyNode c = Tree->GetFirstChild(Parent); c; c = Tree->GetNextSibling(c)) {}
    }
    PLazyNode Parent = nullptr;
    PLazyNode Veto = nullptr;
    std::vector<PLazyNode> Checking;
};

TEST_F(CheckTest, CheckingTheParentChecksAllChildren)
{
    Tree->SetCheckState(Parent, csCheckedNormal);
    for (unsigned i = 0; i < 3; ++i) EXPECT_EQ(Child(Parent, i)->CheckState, csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csCheckedNormal);
    EXPECT_EQ(Log.Checked, 4);
    EXPECT_EQ(Checking.size(), 4u);
    EXPECT_FALSE(Tree->HasState(tsCheckPropagation));
    Ok();
}

TEST_F(CheckTest, AVetoWhileUncheckingLeavesTheParentMixed)
{
    Tree->SetCheckState(Parent, csCheckedNormal);
    Veto = Child(Parent, 1);
    Tree->SetCheckState(Parent, csUncheckedNormal);
    EXPECT_EQ(Child(Parent, 1)->CheckState, csCheckedNormal);
    EXPECT_EQ(Child(Parent, 0)->CheckState, csUncheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal);
}

TEST_F(CheckTest, ChildrenDriveTheParent)
{
    struct Case {
        std::vector<TCheckState> Children;
        TCheckState Parent;
    };
    const Case cases[] = {
        {{csCheckedNormal, csUncheckedNormal, csUncheckedNormal}, csMixedNormal},
        {{csCheckedNormal, csCheckedNormal, csCheckedNormal}, csCheckedNormal},
        {{csUncheckedNormal, csUncheckedNormal, csUncheckedNormal}, csUncheckedNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Parent));
        for (unsigned i = 0; i < 3; ++i) Tree->SetCheckState(Child(Parent, i), c.Children[i]);
        EXPECT_EQ(Parent->CheckState, c.Parent);
    }
    // A mixed child keeps the parent mixed.
    Tree->SetCheckType(Child(Parent, 2), ctTriStateCheckBox);
    Child(Parent, 2)->CheckState = csMixedNormal;
    Tree->SetCheckState(Child(Parent, 0), csCheckedNormal);
    Tree->SetCheckState(Child(Parent, 1), csCheckedNormal);
    EXPECT_EQ(Parent->CheckState, csMixedNormal);
}

TEST_F(CheckTest, RadioButtonsUncheckSiblingsSilently)
{
    for (unsigned i = 0; i < 3; ++i) Tree->SetCheckType(Child(Parent, i), ctRadioButton);
    Tree->SetCheckState(Child(Parent, 0), csCheckedNormal);
    Checking.clear();
    Tree->SetCheckState(Child(Parent, 2), csCheckedNormal);
    EXPECT_EQ(Child(Parent, 0)->CheckState, csUncheckedNormal);
    EXPECT_EQ(Child(Parent, 2)->CheckState, csCheckedNormal);
    EXPECT_EQ(Checking, (std::vector<PLazyNode>{Child(Parent, 2)}));
}

TEST_F(CheckTest, TypeChangeDropsMixedAndReadOnlyVetoes)
{
    Tree->SetCheckState(Child(Parent, 0), csCheckedNormal);
    ASSERT_EQ(Parent->CheckState, csMixedNormal);
    Tree->SetCheckType(Parent, ctCheckBox);
    EXPECT_EQ(Parent->CheckState, csUncheckedNormal);
    Tree->TreeOptions().SetMiscOptions(WithMisc(Tree->TreeOptions().MiscOptions(), toReadOnly));
    Tree->ClearChecked();
    EXPECT_EQ(Child(Parent, 0)->CheckState, csCheckedNormal);
}

TEST_F(CheckTest, CheckedCountIgnoresPressedAndDisabled)
{
    Child(Parent, 0)->CheckState = csCheckedNormal;
    Child(Parent, 1)->CheckState = csCheckedPressed;
    Child(Parent, 2)->CheckState = csCheckedDisabled;
    EXPECT_EQ(Tree->CheckedCount(), 1u);
}

TEST_F(CheckTest, TopLevelNodesDoNotPropagateToTheRoot)
{
    Tree->SetCheckState(Parent, csCheckedNormal);
    EXPECT_EQ(Tree->RootNode()->CheckState, csUncheckedNormal);
}

TEST(CheckImages, IndexTable)
{
    TBaseLazyTree t(nullptr);
    struct Case {
        TCheckType Type;
        TCheckState State;
        bool Enabled;
        int Index;
    };
    const Case cases[] = {
        {ctCheckBox, csUncheckedNormal, false, 12}, {ctCheckBox, csUncheckedNormal, true, 9},
        {ctCheckBox, csUncheckedPressed, true, 11}, {ctCheckBox, csCheckedNormal, true, 13},
        {ctCheckBox, csCheckedPressed, false, 16},  {ctCheckBox, csMixedNormal, true, 17},
        {ctCheckBox, csMixedPressed, true, 19},     {ctCheckBox, csCheckedDisabled, true, 16},
        {ctTriStateCheckBox, csMixedDisabled, true, 20}, {ctRadioButton, csUncheckedNormal, true, 1},
        {ctRadioButton, csCheckedNormal, false, 8}, {ctRadioButton, csCheckedPressed, true, 7},
        {ctRadioButton, csMixedNormal, true, 17},   {ctButton, csUncheckedNormal, true, 21},
        {ctButton, csCheckedPressed, true, 23},     {ctButton, csCheckedNormal, false, 24},
        {ctNone, csCheckedNormal, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type) + "/" + std::to_string(c.State));
        EXPECT_EQ(t.CheckImageIndex(nullptr, c.Type, c.State, c.Enabled), c.Index);
    }
    EXPECT_EQ(t.NextCheckStateFor(ctCheckBox, csMixedNormal), csCheckedNormal);
    EXPECT_EQ(t.NextCheckStateFor(ctRadioButton, csUncheckedNormal), csCheckedNormal);
    EXPECT_EQ(t.NextCheckStateFor(ctButton, csCheckedNormal), csUncheckedNormal);
    EXPECT_EQ(t.NextCheckStateFor(ctNone, csCheckedNormal), csMixedNormal);
}

// ---- selection store ----------------------------------------------------------------------

TEST_F(TreeTest, SelectionStaysSortedAndDeferredRemovalsPack)
{
    Tree->TreeOptions().SetSelectionOptions(1u << toMultiSelect);
    Tree->SetRootNodeCount(50);
    for (unsigned i = 49; i < 50; i -= 3) Tree->SetSelected(Child(nullptr, i), true);
    Ok();
    TNodeArray some;
    for (unsigned i = 0; i < 50; i += 2) some.push_back(Child(nullptr, i));
    some.push_back(some.front());  // a duplicate is taken once
    Tree->AddNodesToSelection(some, int(some.size()), false);
    Ok();
    Tree->BeginUpdate();
    Tree->RemoveFromSelectionDeferred(Child(nullptr, 4));
    Tree->DeleteNode(Child(nullptr, 10));
    Tree->EndUpdate();
    Ok();
    int index;
    EXPECT_FALSE(Tree->LocateInSelection(Child(nullptr, 4), index));
    EXPECT_EQ(Tree->GetFirstSelected(), Child(nullptr, 0));
    EXPECT_EQ(Tree->GetNextSelected(Child(nullptr, 0)), Child(nullptr, 1));
    const TNodeArray sorted = Tree->GetSortedSelection(false);
    for (std::size_t i = 1; i < sorted.size(); ++i) EXPECT_LT(Tree->CompareNodeOrder(sorted[i - 1], sorted[i]), 0);
    Tree->DeleteSelectedNodes();
    EXPECT_EQ(Tree->SelectedCount(), 0);
    Ok();
}

// Long batches are sorted by address digits: shuffled, with duplicates and an existing
// selection to merge into, they still give the sorted, unique store (Ok checks it).
TEST_F(TreeTest, LongSelectionBatchesMergeSortedAndUnique)
{
    Tree->TreeOptions().SetSelectionOptions(1u << toMultiSelect);
    Tree->SetRootNodeCount(9000);
    TNodeArray all;
    for (PLazyNode n = Tree->GetFirstNoInit(); n; n = Tree->GetNextNoInit(n)) all.push_back(n);
    for (unsigned i = 0; i < 9000; i += 7) Tree->SetSelected(all[i], true);
    TNodeArray batch(all.begin() + 100, all.begin() + 8100);
    batch.insert(batch.end(), all.begin() + 200, all.begin() + 300);  // named twice
    std::mt19937 rng(7);
    std::shuffle(batch.begin(), batch.end(), rng);
    Tree->AddNodesToSelection(batch, int(batch.size()), false);
    Ok();
    int expected = 0;
    for (unsigned i = 0; i < 9000; ++i) expected += (i >= 100 && i < 8100) || i % 7 == 0;
    EXPECT_EQ(Tree->SelectedCount(), expected);
    const TNodeArray& store = Tree->SelectionArray();
    EXPECT_TRUE(std::is_sorted(store.begin(), store.end(), [](PLazyNode a, PLazyNode b) {
        return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
    }));
    Tree->InvertSelection(false);
    Ok();
    EXPECT_EQ(Tree->SelectedCount(), 9000 - expected);
}

TEST_F(TreeTest, FocusIsDroppedWithItsNode)
{
    Tree->SetRootNodeCount(3);
    Tree->SetFocusedNode(Child(nullptr, 1));
    Tree->DeleteNode(Child(nullptr, 1));
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
    Ok();
}

TEST_F(TreeTest, ResolvedSortedSelectionSkipsNestedNodes)
{
    Tree->TreeOptions().SetSelectionOptions(1u << toMultiSelect);
    Tree->SetRootNodeCount(2);
    PLazyNode a = Child(nullptr, 0);
    Tree->SetChildCount(a, 2);
    Tree->SetSelected(a, true);
    Tree->SetSelected(Child(a, 1), true);
    Tree->SetSelected(Child(nullptr, 1), true);
    EXPECT_EQ(Tree->GetSortedSelection(true), (TNodeArray{a, Child(nullptr, 1)}));
    EXPECT_EQ(Tree->GetSortedSelection(false), (TNodeArray{a, Child(a, 1), Child(nullptr, 1)}));
    Tree->DeleteSelectedNodes();
    EXPECT_EQ(Tree->RootNodeCount(), 0u);
    Ok();
}

// ---- sorting ------------------------------------------------------------------------------

class SortTest : public TreeTest {
protected:
    void Keys(std::vector<int> K)
    {
        Tree->SetNodeDataSize(sizeof(int));
        Tree->SetRootNodeCount(std::uint32_t(K.size()));
        unsigned i = 0;
        for (PLazyNode n = Tree->GetFirstNoInit(); n; n = n->NextSibling) std::memcpy(n->DataArea(), &K[i++], sizeof(int));
        Tree->OnCompareNodes = [this](TBaseLazyTree*, PLazyNode A, PLazyNode B, TColumnIndex, int& R) {
            ++Comparisons;
            R = Key(A) - Key(B);
        };
    }
    static int Key(PLazyNode N)
    {
        int k;
        std::memcpy(&k, N->DataArea(), sizeof k);
        return k;
    }
    std::vector<int> Order()
    {
        std::vector<int> r;
        for (PLazyNode n = Tree->GetFirstNoInit(); n; n = n->NextSibling) r.push_back(Key(n));
        return r;
    }
    int Comparisons = 0;
};

TEST_F(SortTest, SortsBothWaysAndKeepsEqualsInOrder)
{
    Keys({3, 1, 2, 1, 5});
    PLazyNode firstOne = Child(nullptr, 1);
    Tree->Sort(nullptr, NoColumn, sdAscending);
    EXPECT_EQ(Order(), (std::vector<int>{1, 1, 2, 3, 5}));
    EXPECT_EQ(Child(nullptr, 0), firstOne);
    Ok();
    Tree->Sort(nullptr, NoColumn, sdDescending);
    EXPECT_EQ(Order(), (std::vector<int>{5, 3, 2, 1, 1}));
    Ok();
}

TEST_F(SortTest, CancellingEndsQuicklyWithAConsistentChain)
{
    std::vector<int> keys;
    for (int i = 0; i < 1000; ++i) keys.push_back((i * 7919) % 1000);
    Keys(keys);
    Tree->OnCompareNodes = [this](TBaseLazyTree* T, PLazyNode A, PLazyNode B, TColumnIndex, int& R) {
        if (++Comparisons == 10) T->CancelOperation();
        R = Key(A) - Key(B);
    };
    Tree->Sort(nullptr, NoColumn, sdAscending);
    EXPECT_EQ(Comparisons, 10);
    EXPECT_FALSE(Tree->OperationCanceled());
    Ok();
}

TEST_F(SortTest, LazyChildrenAreCreatedOnlyWithDoInit)
{
    LazyShape(3, 2);
    Tree->SetRootNodeCount(1);
    PLazyNode top = Tree->GetFirst();
    Tree->Sort(top, NoColumn, sdAscending, false);
    EXPECT_EQ(ByValue(top->ChildCount), 0u);
    Tree->Sort(top, NoColumn, sdAscending, true);
    EXPECT_EQ(ByValue(top->ChildCount), 3u);
    for (PLazyNode c = top->FirstChild; c; c = c->NextSibling) EXPECT_TRUE(c->Has(vsInitialized));
    Ok();
}

TEST_F(SortTest, ComparisonsStayWithinNLogN)
{
    std::vector<int> keys;
    for (int i = 0; i < 4096; ++i) keys.push_back(int((i * 2654435761u) % 100000));
    Keys(keys);
    Tree->Sort(nullptr, NoColumn, sdAscending);
    EXPECT_LE(Comparisons, 4096 * 12);
    auto order = Order();
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    Ok();
}

TEST_F(SortTest, SortTreeWithAnInvalidColumnSortsNothing)
{
    Keys({2, 1});
    Tree->SortTree(InvalidColumn, sdAscending);
    EXPECT_EQ(Order(), (std::vector<int>{2, 1}));
    EXPECT_TRUE(Tree->HasState(tsValidationNeeded));
}

// ---- moving and copying ---------------------------------------------------------------------

TEST_F(TreeTest, MoveEdgeCases)
{
    Tree->SetRootNodeCount(3);
    PLazyNode a = Child(nullptr, 0), c = Child(nullptr, 2);
    Tree->SetChildCount(a, 1);
    PLazyNode grandchild = Tree->AddChild(Child(a, 0));
    // Under its own grandchild: error 2001, nothing changed.
    try {
        Tree->MoveTo(a, grandchild, amAddChildLast, false);
        ADD_FAILURE() << "no error";
    } catch (const ELazyTreeError& e) {
        EXPECT_EQ(e.HelpContext(), hcTFWrongMoveError);
        EXPECT_EQ(e.Message(), u"Target node cannot be a child node of the node to be moved.");
    }
    Ok();
    // Onto itself: nothing.
    Tree->MoveTo(a, a, amAddChildLast, false);
    EXPECT_EQ(ByValue(a->Index), 0u);
    // A null target moves to the first top-level place.
    Tree->MoveTo(c, static_cast<PLazyNode>(nullptr), amAddChildLast, false);
    EXPECT_EQ(Child(nullptr, 0), c);
    Ok();
    Tree->SetNodeParent(a, a->Parent);
    Tree->MoveTo(a, c, amAddChildLast, true);
    EXPECT_EQ(ByValue(c->ChildCount), 1u);
    EXPECT_EQ(ByValue(a->ChildCount), 0u);
    Ok();
}

TEST_F(TreeTest, MoveAndCopyIntoAnotherTree)
{
    TBaseLazyTree other(nullptr);
    EventLog otherLog;
    Hook(other, otherLog);
    other.SetRootNodeCount(1);
    Tree->SetRootNodeCount(2);
    PLazyNode a = Tree->GetFirst();
    Tree->SetChildCount(a, 4);
    Tree->ToggleNode(a);
    PLazyNode copy = Tree->CopyTo(a, other.GetFirstNoInit(), amInsertAfter, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(ByValue(copy->ChildCount), 4u);
    EXPECT_EQ(other.RootNodeCount(), 2u);
    EXPECT_TREE_OK(other);
    Ok();
    ASSERT_FALSE(otherLog.Structure.empty());
    EXPECT_EQ(otherLog.Structure.back(), crNodeCopied);
    // A vetoed copy is removed again.
    Tree->OnNodeCopying = [](TBaseLazyTree*, PLazyNode, PLazyNode, bool& A) { A = false; };
    EXPECT_EQ(Tree->CopyTo(a, &other, amAddChildLast, false), nullptr);
    EXPECT_EQ(other.RootNodeCount(), 2u);
    EXPECT_TREE_OK(other);
    // A move frees the source nodes here.
    Log.FreeNode = 0;
    Tree->MoveTo(a, &other, amAddChildLast, false);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    EXPECT_EQ(other.RootNodeCount(), 3u);
    EXPECT_TREE_OK(other);
    Ok();
}


// Two trees whose nodes carry a tag (node data, streamed along): a source of six top nodes,
// node 1 with three expanded children and node 4 with two collapsed ones, nodes 0, 2, 11
// and 5 selected and node 2 focused; and a second tree of three top nodes, node 101 with two
// children. Each world records the moving and moved events by tag.
struct MoveWorld {
    std::unique_ptr<TBaseLazyTree> Source = std::make_unique<TBaseLazyTree>(nullptr);
    std::unique_ptr<TBaseLazyTree> Other = std::make_unique<TBaseLazyTree>(nullptr);
    std::vector<int> Moving, Moved;
    int Veto = -1;

    static int Tag(PLazyNode N)
    {
        int t;
        std::memcpy(&t, N->DataArea(), sizeof t);
        return t;
    }
    static void SetTag(PLazyNode N, int T) { std::memcpy(N->DataArea(), &T, sizeof T); }

    MoveWorld()
    {
        for (TBaseLazyTree* t : {Source.get(), Other.get()}) {
            t->SetNodeDataSize(sizeof(int));
            t->TreeOptions().SetSelectionOptions(t->TreeOptions().SelectionOptions() | (TLTSelectionOptions(1) << toMultiSelect));
            t->OnSaveNode = [](TBaseLazyTree*, PLazyNode N, plat::TStream& S) {
                const int v = Tag(N);
                S.WriteBuffer(&v, sizeof v);
            };
            t->OnLoadNode = [](TBaseLazyTree*, PLazyNode N, plat::TStream& S) {
                int v;
                S.ReadBuffer(&v, sizeof v);
                SetTag(N, v);
            };
        }
        Source->OnNodeMoving = [this](TBaseLazyTree*, PLazyNode N, PLazyNode, bool& A) {
            Moving.push_back(Tag(N));
            A = Tag(N) != Veto;
        };
        Source->OnNodeMoved = [this](TBaseLazyTree*, PLazyNode N) { Moved.push_back(Tag(N)); };
        Source->SetRootNodeCount(6);
        int i = 0;
        for (PLazyNode n = Source->GetFirstNoInit(); n; n = n->NextSibling) SetTag(n, i++);
        Source->SetChildCount(Find(*Source, 1), 3);
        Source->SetChildCount(Find(*Source, 4), 2);
        for (int p : {1, 4}) {
            int c = p * 10;
            for (PLazyNode n = Find(*Source, p)->FirstChild; n; n = n->NextSibling) SetTag(n, c++);
        }
        Source->SetExpanded(Find(*Source, 1), true);
        for (int t : {0, 2, 11, 5}) Source->SetSelected(Find(*Source, t), true);
        Source->SetFocusedNode(Find(*Source, 2));
        Other->SetRootNodeCount(3);
        i = 100;
        for (PLazyNode n = Other->GetFirstNoInit(); n; n = n->NextSibling) SetTag(n, i++);
        Other->SetChildCount(Find(*Other, 101), 2);
        i = 110;
        for (PLazyNode n = Find(*Other, 101)->FirstChild; n; n = n->NextSibling) SetTag(n, i++);
    }

    static PLazyNode Find(TBaseLazyTree& T, int Tag)
    {
        for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n))
            if (MoveWorld::Tag(n) == Tag) return n;
        return nullptr;
    }

    // Every node in order with its level, index and states, then the focus and selection count.
    static std::string Shape(TBaseLazyTree& T)
    {
        std::string s;
        for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n))
            s += std::to_string(Tag(n)) + ":" + std::to_string(T.GetNodeLevel(n)) + ":" + std::to_string(n->Index) +
                 (n->Has(vsSelected) ? "s" : "") + (n->Has(vsExpanded) ? "e" : "") + " ";
        s += "| focus " + std::to_string(T.FocusedNode() ? Tag(T.FocusedNode()) : -1);
        return s + " | selected " + std::to_string(T.SelectedCount());
    }
};

TEST(BatchMove, EndsAsMovingEachNodeInTurn)
{
    struct Case {
        bool SameTree;
        int Target;  // tag, or -1 for the root of the target tree
        TLTNodeAttachMode Mode;
        std::vector<int> Nodes;
        int Veto;
    };
    const Case cases[] = {
        {true, 3, amInsertBefore, {0, 2, 11, 5}, -1},
        {true, 3, amInsertAfter, {0, 2, 11, 5}, -1},
        {true, 4, amAddChildFirst, {0, 2, 11, 5}, -1},
        {true, 1, amAddChildLast, {0, 2, 5}, 2},
        {true, -1, amAddChildFirst, {3, 41, 12}, -1},
        {true, -1, amAddChildLast, {1, 11, 0}, -1},  // a node and its own child: the child comes out
        {true, 11, amInsertAfter, {1, 2, 12}, -1},   // the target's parent stays
        {true, 2, amInsertBefore, {2, 0}, -1},       // the target itself stays
        {false, -1, amAddChildLast, {0, 2, 11, 5}, -1},
        {false, -1, amAddChildFirst, {0, 1, 4, 5}, -1},
        {false, 101, amInsertBefore, {5, 1, 3}, 1},
        {false, 101, amInsertAfter, {0, 1, 2, 3, 4, 5}, -1},
        {false, 111, amAddChildLast, {11, 12, 41}, 12},
        {false, 110, amAddChildFirst, {2}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.SameTree ? "same tree" : "other tree") << ", target " << c.Target
                                          << ", mode " << int(c.Mode) << ", " << c.Nodes.size() << " nodes");
        MoveWorld each, batch;
        each.Veto = batch.Veto = c.Veto;
        auto run = [&](MoveWorld& w, bool Batch) {
            TBaseLazyTree& dest = c.SameTree ? *w.Source : *w.Other;
            PLazyNode target = c.Target < 0 ? dest.RootNode() : MoveWorld::Find(dest, c.Target);
            TNodeArray nodes;
            for (int t : c.Nodes) nodes.push_back(MoveWorld::Find(*w.Source, t));
            if (Batch) {
                w.Source->MoveTo(nodes, target, c.Mode);
                return;
            }
            if (!(c.Mode == amInsertBefore || c.Mode == amAddChildLast)) std::reverse(nodes.begin(), nodes.end());
            for (PLazyNode n : nodes)
                if (!c.SameTree || (n != target && !w.Source->HasAsParent(target, n)))
                    w.Source->MoveTo(n, target, c.Mode, false);
        };
        run(each, false);
        run(batch, true);
        EXPECT_EQ(MoveWorld::Shape(*batch.Source), MoveWorld::Shape(*each.Source));
        EXPECT_EQ(MoveWorld::Shape(*batch.Other), MoveWorld::Shape(*each.Other));
        EXPECT_EQ(batch.Moving, each.Moving);
        EXPECT_EQ(batch.Moved, each.Moved);
        EXPECT_TREE_OK(*batch.Source);
        EXPECT_TREE_OK(*batch.Other);
    }
}

TEST(BatchMove, ManySiblingsKeepTheirOrderAndDenseIndexes)
{
    // Every other node of a long list, moved behind the list's last node and into another tree.
    for (bool sameTree : {true, false}) {
        MoveWorld w;
        w.Source->SetRootNodeCount(20000);
        int i = 0;
        for (PLazyNode n = w.Source->GetFirstNoInit(); n; n = n->NextSibling) MoveWorld::SetTag(n, i++);
        TNodeArray nodes;
        for (PLazyNode n = w.Source->GetFirstNoInit(); n; n = n->NextSibling)
            if (MoveWorld::Tag(n) % 2 == 0) nodes.push_back(n);
        TBaseLazyTree& dest = sameTree ? *w.Source : *w.Other;
        PLazyNode target = sameTree ? w.Source->GetLastChildNoInit(nullptr) : MoveWorld::Find(dest, 100);
        w.Source->MoveTo(nodes, target, amInsertAfter);
        std::vector<int> order;
        for (PLazyNode n = dest.GetFirstNoInit(); n; n = n->NextSibling) order.push_back(MoveWorld::Tag(n));
        std::vector<int> want;
        if (sameTree) {
            for (int t = 1; t < 20000; t += 2) want.push_back(t);
            for (int t = 0; t < 20000; t += 2) want.push_back(t);
        } else {
            want.push_back(100);
            for (int t = 0; t < 20000; t += 2) want.push_back(t);
            want.push_back(101);
            want.push_back(102);
            EXPECT_EQ(w.Source->RootNodeCount(), 10000u);
        }
        EXPECT_EQ(order, want) << (sameTree ? "same tree" : "other tree");
        EXPECT_EQ(int(w.Moved.size()), 10000);
        EXPECT_TREE_OK(*w.Source);
        EXPECT_TREE_OK(*w.Other);
    }
}

} // namespace
