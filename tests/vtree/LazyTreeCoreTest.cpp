// Node record, life cycle, states and heights, iteration of the tree core.
#include <random>

#include "TreeFixture.h"
#include "plat/Clock.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Testing.h"

using namespace vtree;
using namespace vtree::testing;

namespace {

// ---- node record and tree object ----------------------------------------------------

TEST_F(TreeTest, NewTreeHasItsHiddenRootAndDefaults)
{
    PLazyNode root = Tree->RootNode();
    EXPECT_EQ(ByValue(root->NextSibling), root);
    EXPECT_EQ(ByValue(root->PrevSibling), root);
    EXPECT_EQ(ByValue(root->TotalCount), 1u);
    EXPECT_EQ(ByValue(root->TotalHeight), 18u);
    EXPECT_TRUE(root->Has(vsExpanded) && root->Has(vsHasChildren) && root->Has(vsVisible) && root->Has(vsInitialized));
    EXPECT_TRUE(Tree->IsEmpty());
    EXPECT_EQ(Tree->NodeDataSize(), -1);
    Ok();
}

TEST_F(TreeTest, DataSizeDefaultsToAPointerOnceTheFirstNodeIsMade)
{
    int asked = 0;
    Tree->OnGetNodeDataSize = [&](TBaseLazyTree*, int& S) {
        ++asked;
        EXPECT_EQ(S, int(sizeof(void*)));
    };
    PLazyNode n = Tree->AddChild(nullptr);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Tree->NodeDataSize(), int(sizeof(void*)));
    // The pointer slot takes a whole native pointer without touching the next block.
    PLazyNode m = Tree->AddChild(nullptr);
    int value = 7;
    Tree->SetNodeData(n, &value);
    void* back;
    std::memcpy(&back, Tree->GetNodeData(n), sizeof back);
    EXPECT_EQ(back, &value);
    EXPECT_EQ(ByValue(m->Index), 1u);
    EXPECT_EQ(ByValue(m->Parent), Tree->RootNode());
    Ok();
}

TEST_F(TreeTest, GetNodeDataMarksForFreeAndIgnoresRootAndNil)
{
    Tree->SetNodeDataSize(8);
    Tree->SetRootNodeCount(2);
    EXPECT_EQ(Tree->GetNodeData(nullptr), nullptr);
    EXPECT_EQ(Tree->GetNodeData(Tree->RootNode()), nullptr);
    PLazyNode a = Tree->GetFirstNoInit();
    Tree->GetNodeData(a);
    EXPECT_TRUE(a->Has(vsOnFreeNodeCallRequired));
    Tree->Clear();
    EXPECT_EQ(Log.FreeNode, 1);  // only the touched node, none was initialised
    EXPECT_TRUE(Tree->IsEmpty());
    Ok();
}

TEST_F(TreeTest, SetNodeDataNeedsRoomForAPointer)
{
    struct Case {
        int Size;
        bool Fails;
    };
    for (Case c : {Case{int(sizeof(void*)) - 1, true}, Case{int(sizeof(void*)), false}, Case{0, true}}) {
        SCOPED_TRACE(c.Size);
        TBaseLazyTree t(nullptr);
        t.SetNodeDataSize(c.Size);
        PLazyNode n = t.AddChild(nullptr);
        int v = 0;
        if (c.Fails)
            EXPECT_TRUE(ThrowsWith<EAssertionFailed>(
                [&] { t.SetNodeData(n, &v); },
                u"TBaseLazyTree: Cannot set initial user data because there is not enough user data space allocated."));
        else
            EXPECT_NO_THROW(t.SetNodeData(n, &v));
    }
}

TEST_F(TreeTest, NodeDataSizeChangeRecreatesEmptyTopLevelNodes)
{
    Tree->SetNodeDataSize(8);
    Tree->SetRootNodeCount(5);
    Tree->SetChildCount(Tree->GetFirstNoInit(), 3);
    Tree->SetNodeDataSize(16);
    EXPECT_EQ(Tree->RootNodeCount(), 5u);
    for (PLazyNode n = Tree->GetFirstNoInit(); n; n = n->NextSibling) {
        EXPECT_EQ(ByValue(n->ChildCount), 0u);
        EXPECT_FALSE(n->Has(vsInitialized));
    }
    Ok();
}

TEST_F(TreeTest, NodeDataSizeChangeOnAReadOnlyTreeStillRecreatesTheBlocks)
{
    Tree->SetNodeDataSize(8);
    Tree->SetRootNodeCount(3);
    Tree->TreeOptions().SetMiscOptions(WithMisc(Tree->TreeOptions().MiscOptions(), toReadOnly));
    Tree->SetNodeDataSize(64);
    // Every block has the new size: the whole user area can be written.
    for (PLazyNode n = Tree->GetFirstNoInit(); n; n = n->NextSibling) std::memset(Tree->GetNodeData(n), 0xAB, 64);
    EXPECT_TRUE(In(Tree->TreeOptions().MiscOptions(), toReadOnly));
    EXPECT_EQ(Tree->RootNodeCount(), 3u);
    Ok();
}

TEST_F(TreeTest, InternalAreasAreFourByteAligned)
{
    TBaseLazyTree t(nullptr);
    const auto a = t.ReserveInternalNodeArea(3);
    const auto b = t.ReserveInternalNodeArea(4);
    EXPECT_EQ(b - a, 4u);
    EXPECT_EQ(a, NodeRecordSize);
    t.AddChild(nullptr);
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { t.ReserveInternalNodeArea(4); },
                                             u"Internal data allocation must be done before any node is created."));
}

TEST_F(TreeTest, AssignCopiesRootCountButNoContent)
{
    Tree->SetRootNodeCount(4);
    Tree->SetChildCount(Tree->GetFirstNoInit(), 2);
    TBaseLazyTree other(nullptr);
    other.Assign(Tree.get());
    EXPECT_EQ(other.RootNodeCount(), 4u);
    EXPECT_EQ(ByValue(other.GetFirstNoInit()->ChildCount), 0u);
    EXPECT_TREE_OK(other);
    plat::TPersistent notATree;
    EXPECT_TRUE(ThrowsWith<plat::EConvertError>([&] { other.Assign(&notATree); },
                                                u"Cannot assign a TPersistent to a TBaseLazyTree"));
}

TEST_F(TreeTest, OwnerTreeOfNodeWalksToTheRoot)
{
    Tree->SetRootNodeCount(1);
    PLazyNode n = Tree->AddChild(Tree->AddChild(Tree->GetFirstNoInit()));
    EXPECT_EQ(OwnerTreeOfNode(n), Tree.get());
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([] { OwnerTreeOfNode(nullptr); }, u"Node must not be nil."));
}

// ---- life cycle ------------------------------------------------------------------------

TEST_F(TreeTest, SetChildCountOnACollapsedNodeCreatesWithoutInitialising)
{
    Tree->SetRootNodeCount(1);
    Log = {};
    PLazyNode n = Tree->GetFirstNoInit();
    Tree->SetChildCount(n, 1000);
    EXPECT_EQ(Log.InitNode, 0);
    ASSERT_EQ(Log.Structure.size(), 1u);
    EXPECT_EQ(Log.Structure[0], crChildAdded);
    EXPECT_EQ(ByValue(n->ChildCount), 1000u);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    Ok();
}

TEST_F(TreeTest, SetChildCountWithVariableHeightsInitialisesEachNewNode)
{
    Tree->TreeOptions().SetMiscOptions(WithMisc(Tree->TreeOptions().MiscOptions(), toVariableNodeHeight));
    Tree->OnMeasureItem = [](TBaseLazyTree*, plat::TCanvas*, PLazyNode N, int& H) { H = 10 + int(N->Index); };
    Tree->SetRootNodeCount(5);
    EXPECT_EQ(Log.InitNode, 5);
    EXPECT_EQ(ByValue(Tree->RootNode()->TotalHeight), 18u + 10 + 11 + 12 + 13 + 14);
    Ok();
}

TEST_F(TreeTest, ShrinkingDeletesTheLastChildren)
{
    Tree->SetRootNodeCount(5);
    for (PLazyNode n = Tree->GetFirst(); n; n = Tree->GetNext(n)) {}
    Log = {};
    Tree->SetRootNodeCount(2);
    EXPECT_EQ(Log.FreeNode, 3);
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
    Ok();
}

TEST_F(TreeTest, AddChildHonoursReadOnlyAndUserData)
{
    Tree->SetNodeDataSize(int(sizeof(void*)));
    int v = 1;
    PLazyNode n = Tree->AddChild(nullptr, &v);
    void* back;
    std::memcpy(&back, n->DataArea(), sizeof back);
    EXPECT_EQ(back, &v);
    EXPECT_TRUE(n->Has(vsOnFreeNodeCallRequired));
    Tree->TreeOptions().SetMiscOptions(WithMisc(Tree->TreeOptions().MiscOptions(), toReadOnly));
    EXPECT_EQ(Tree->AddChild(nullptr), nullptr);
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    Tree->DeleteNode(n);
    Tree->Clear();
    EXPECT_EQ(Tree->RootNodeCount(), 1u);
    Ok();
}

TEST_F(TreeTest, UpdateAroundManyAddsReportsOneAccumulatedChange)
{
    struct Case {
        int Adds;
        TChangeReason Reason;
    };
    for (Case c : {Case{100, crAccumulated}, Case{1, crChildAdded}}) {
        SCOPED_TRACE(c.Adds);
        Log = {};
        Tree->BeginUpdate();
        for (int i = 0; i < c.Adds; ++i) Tree->AddChild(nullptr);
        EXPECT_TRUE(Log.Structure.empty());
        Tree->EndUpdate();
        ASSERT_EQ(Log.Structure.size(), 1u);
        EXPECT_EQ(Log.Structure[0], c.Reason);
        EXPECT_EQ(Log.Updating, (std::vector<TLTUpdateState>{usBegin, usEnd}));
        Ok();
    }
}

TEST_F(TreeTest, InitChildrenOfZeroRemovesTheButton)
{
    Tree->SetRootNodeCount(1);
    Tree->OnInitNode = [](TBaseLazyTree*, PLazyNode, PLazyNode, TLazyNodeInitStates& S) { S |= InitBit(ivsHasChildren); };
    Tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& C) { C = 0; };
    PLazyNode n = Tree->GetFirst();
    EXPECT_TRUE(n->Has(vsHasChildren));
    Tree->ToggleNode(n);
    EXPECT_FALSE(n->Has(vsHasChildren));
    Ok();
}

TEST_F(TreeTest, HasChildrenWithoutAHandlerKeepsNoChildrenWhenExpanded)
{
    Tree->SetRootNodeCount(1);
    PLazyNode n = Tree->GetFirst();
    Tree->SetHasChildren(n, true);
    Tree->ToggleNode(n);
    EXPECT_TRUE(n->Has(vsExpanded));
    EXPECT_EQ(ByValue(n->ChildCount), 0u);
    Ok();
}

TEST_F(TreeTest, DeletingTheRootDoesNothing)
{
    Tree->SetRootNodeCount(2);
    Tree->DeleteNode(Tree->RootNode());
    EXPECT_EQ(Tree->RootNodeCount(), 2u);
    Ok();
}

TEST_F(TreeTest, DeletingDuringIterationFailsTheAssertion)
{
    Tree->SetRootNodeCount(2);
    Tree->SetChildCount(Tree->GetFirstNoInit(), 2);
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>(
        [&] {
            Tree->IterateSubtree(nullptr, [](TBaseLazyTree* T, PLazyNode N, void*, bool&) { T->DeleteChildren(N); }, nullptr);
        },
        u"Deleting nodes during tree iteration leads to invalid pointers."));
    EXPECT_FALSE(Tree->HasState(tsIterating));
    Ok();
}

TEST_F(TreeTest, ClearFreesOnlyNodesThatWereInitialisedOrTouched)
{
    Tree->SetRootNodeCount(10);
    Tree->GetFirst();                         // initialises node 0
    Tree->GetNodeData(Child(nullptr, 5));     // touches node 5
    Log = {};
    Tree->Clear();
    EXPECT_EQ(Log.FreeNode, 2);
    Ok();
}

TEST_F(TreeTest, OperationsNestAndCancel)
{
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->EndOperation(okSortNode); },
                                             u"EndOperation must not be called when no operation in progress."));
    Tree->CancelOperation();
    EXPECT_FALSE(Tree->OperationCanceled());
    // Cancelling from the handler of the outermost start has no lasting effect ...
    Tree->OnStartOperation = [](TBaseLazyTree* T, TLTOperationKind) { T->CancelOperation(); };
    Tree->StartOperation(okSortTree);
    EXPECT_FALSE(Tree->OperationCanceled());
    // ... but from a nested one it stays.
    Tree->StartOperation(okSortNode);
    EXPECT_TRUE(Tree->OperationCanceled());
    Tree->EndOperation(okSortNode);
    EXPECT_TRUE(Tree->OperationCanceled());
    Tree->EndOperation(okSortTree);
    EXPECT_FALSE(Tree->OperationCanceled());
}

TEST_F(TreeTest, TotalCountInitialisesEveryNode)
{
    LazyShape(3, 3);
    Tree->SetRootNodeCount(2);
    EXPECT_EQ(Tree->TotalCount(), 2u + 6 + 18);
    EXPECT_EQ(Log.InitNode, 26);
    Ok();
}

TEST_F(TreeTest, CompactNodeArraySqueezesMarks)
{
    TNodeArray a{reinterpret_cast<PLazyNode>(0x10), reinterpret_cast<PLazyNode>(0x21), reinterpret_cast<PLazyNode>(0x30)};
    EXPECT_EQ(TBaseLazyTree::CompactNodeArray(a, 3), 2);
    EXPECT_EQ(a[1], reinterpret_cast<PLazyNode>(0x30));
    EXPECT_EQ(TBaseLazyTree::CompactNodeArray(a, 0), -1);
}

TEST_F(TreeTest, InsertNodeModes)
{
    Tree->SetRootNodeCount(3);
    PLazyNode mid = Child(nullptr, 1);
    struct Case {
        TLTNodeAttachMode Mode;
        unsigned ExpectedIndex;
        bool UnderMid;
    };
    for (Case c : {Case{amInsertBefore, 1, false}, Case{amInsertAfter, 2, false}, Case{amAddChildFirst, 0, true},
                   Case{amAddChildLast, 0, true}}) {
        SCOPED_TRACE(int(c.Mode));
        PLazyNode n = Tree->InsertNode(mid, c.Mode);
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(ByValue(n->Index), c.ExpectedIndex);
        EXPECT_EQ(ByValue(n->Parent), c.UnderMid ? mid : Tree->RootNode());
        Ok();
        Tree->DeleteNode(n);
        Ok();
    }
    EXPECT_EQ(Tree->InsertNode(mid, amNoWhere), nullptr);
}

// ---- states, heights, expand/collapse -----------------------------------------------

TEST_F(TreeTest, HidingUnderACollapsedParentTouchesNothingAbove)
{
    Tree->SetRootNodeCount(1);
    PLazyNode p = Tree->GetFirstNoInit();
    Tree->SetChildCount(p, 3);
    const auto height = Tree->RootNode()->TotalHeight;
    Tree->SetVisible(Child(p, 1), false);
    EXPECT_EQ(ByValue(Tree->RootNode()->TotalHeight), height);
    EXPECT_EQ(Tree->VisibleCount(), 1u);
    Ok();
    Tree->ToggleNode(p);
    EXPECT_EQ(Tree->VisibleCount(), 3u);
    Ok();
}

TEST_F(TreeTest, FilteringWithShowFilteredChangesOnlyTheFlag)
{
    Tree->SetRootNodeCount(3);
    auto paint = Tree->TreeOptions().PaintOptions() | Set<TLTPaintOptions, TLTPaintOption>({toShowFilteredNodes});
    Tree->TreeOptions().SetPaintOptions(paint);
    const auto height = Tree->RootNode()->TotalHeight;
    Tree->SetFiltered(Child(nullptr, 0), true);
    EXPECT_EQ(ByValue(Tree->RootNode()->TotalHeight), height);
    EXPECT_EQ(Tree->VisibleCount(), 3u);
    Ok();
    // Switching the option off takes the filtered node out of the counts.
    Tree->TreeOptions().SetPaintOptions(paint & ~Set<TLTPaintOptions, TLTPaintOption>({toShowFilteredNodes}));
    EXPECT_EQ(Tree->VisibleCount(), 2u);
    Ok();
}

TEST_F(TreeTest, VetoedExpandChangesNothing)
{
    LazyShape(2, 2);
    Tree->SetRootNodeCount(1);
    Tree->OnExpanding = [](TBaseLazyTree*, PLazyNode, bool& A) { A = false; };
    PLazyNode n = Tree->GetFirst();
    Tree->ToggleNode(n);
    EXPECT_FALSE(n->Has(vsExpanded));
    EXPECT_EQ(Log.Expanded, 0);
    Ok();
}

TEST_F(TreeTest, ToggleFromItsOwnExpandingHandlerDoesNothing)
{
    LazyShape(2, 2);
    Tree->SetRootNodeCount(1);
    int calls = 0;
    Tree->OnExpanding = [&](TBaseLazyTree* T, PLazyNode N, bool&) {
        ++calls;
        T->ToggleNode(N);
    };
    Tree->ToggleNode(Tree->GetFirst());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(Tree->GetFirst()->Has(vsExpanded));
    Ok();
}

TEST_F(TreeTest, AutoFreeOnCollapseFreesChildrenAndKeepsTheButton)
{
    Tree->TreeOptions().SetAutoOptions(Tree->TreeOptions().AutoOptions() | (1u << toAutoFreeOnCollapse));
    LazyShape(10, 2);
    Tree->SetRootNodeCount(1);
    PLazyNode n = Tree->GetFirst();
    Tree->ToggleNode(n);
    for (PLazyNode c = Tree->GetFirstChild(n); c; c = Tree->GetNextSibling(c)) {}
    Log.FreeNode = 0;
    Tree->ToggleNode(n);
    EXPECT_EQ(Log.FreeNode, 10);
    EXPECT_TRUE(n->Has(vsHasChildren));
    EXPECT_EQ(ByValue(n->ChildCount), 0u);
    Ok();
}

TEST_F(TreeTest, HeightEdgeCases)
{
    Tree->SetRootNodeCount(2);
    PLazyNode a = Child(nullptr, 0);
    Tree->SetFiltered(a, true);
    const auto total = Tree->RootNode()->TotalHeight;
    Tree->SetNodeHeight(a, 40);
    EXPECT_EQ(ByValue(a->NodeHeight), 40u);
    EXPECT_EQ(ByValue(Tree->RootNode()->TotalHeight), total);
    Ok();
    // Heights beyond 16 bits are clamped before they reach the totals.
    PLazyNode b = Child(nullptr, 1);
    Tree->SetNodeHeight(b, 70000);
    EXPECT_EQ(ByValue(b->NodeHeight), 65535u);
    Ok();
    Tree->SetDefaultNodeHeight(0);
    EXPECT_EQ(Tree->DefaultNodeHeight(), 18u);
    Tree->SetDefaultNodeHeight(30);
    Ok();
}

TEST_F(TreeTest, FullExpandInitialisesEverythingAndCanBeCancelled)
{
    LazyShape(3, 3);
    Tree->SetRootNodeCount(5);
    Tree->FullExpand();
    EXPECT_EQ(Log.InitNode, 5 + 15 + 45);
    EXPECT_EQ(Tree->VisibleCount(), 65u);
    Ok();
    Tree->FullCollapse();
    EXPECT_EQ(Tree->VisibleCount(), 5u);
    Ok();
    int expansions = 0;
    Tree->OnExpanding = [&](TBaseLazyTree* T, PLazyNode, bool&) {
        if (++expansions == 2) T->CancelOperation();
    };
    Tree->FullExpand();
    EXPECT_EQ(expansions, 2);
    Ok();
}

TEST_F(TreeTest, PredicatesAndAssertions)
{
    Tree->SetRootNodeCount(1);
    PLazyNode n = Tree->GetFirstNoInit();
    EXPECT_TRUE(Tree->GetVisiblePath(n));
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->GetVisiblePath(nullptr); }, u"Invalid parameters."));
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->SetVisible(nullptr, true); }, u"Invalid parameter."));
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->SetFullyVisible(Tree->RootNode(), true); }, u"Invalid parameter"));
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->ToggleNode(nullptr); }, u"Node must not be nil."));
}

TEST_F(TreeTest, AnimationRunsOnTheLayersClock)
{
    plat::FakeClock clock;
    plat::ScopedClock scoped(clock);
    std::vector<std::pair<std::uint32_t, int>> calls;
    Tree->RunAnimation(10, 0, [&](std::uint32_t S, int Z) {
        calls.push_back({S, Z});
        return true;
    });
    EXPECT_TRUE(calls.empty());
    Tree->RunAnimation(20, 100, [&](std::uint32_t S, int Z) {
        calls.push_back({S, Z});
        return true;
    });
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front(), (std::pair<std::uint32_t, int>{0, 1}));
    EXPECT_EQ(calls.back(), (std::pair<std::uint32_t, int>{0, 0}));
    int moved = 0;
    for (auto& c : calls) moved += c.second;
    EXPECT_EQ(moved, 20);
    EXPECT_FALSE(Tree->HasState(tsInAnimation));
}

// Records, for every step of an animation, how many drawing operations it made on the
// window canvas (a scroll and a strip fill each count one).
class TRecordingTree : public TBaseLazyTree {
public:
    using TBaseLazyTree::TBaseLazyTree;
    struct Step {
        std::uint32_t Number;
        int Size;
        int Draws;
    };
    std::vector<Step> Steps;
    // Runs right after a step, with its number and size, to look at the canvas.
    std::function<void(std::uint32_t, int)> AfterStep;

    void RunAnimation(std::uint32_t Count, std::uint32_t Duration,
                      const std::function<bool(std::uint32_t, int)>& Callback) override
    {
        int draws = 0;
        Canvas()->OnChange = [&](plat::TObject*) { ++draws; };
        TBaseLazyTree::RunAnimation(Count, Duration, [&](std::uint32_t N, int Z) {
            draws = 0;
            const bool go = Callback(N, Z);
            Steps.push_back({N, Z, draws});
            if (AfterStep) AfterStep(N, Z);
            return go;
        });
        Canvas()->OnChange = nullptr;
    }
};

class ToggleAnimationTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(50, 50, 300, 220);
        tree = new TRecordingTree(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 200, 200);
        tree->SetColor(plat::clWhite);
        tree->TreeOptions().SetAnimationOptions(TLTAnimationOptions(1u << toAnimatedToggle));
        tree->SetRootNodeCount(3);
        tree->SetChildCount(tree->GetFirstNoInit(), 4);  // 4 rows of 18 pixels: 72 to move
        form->Show();
        plat::testing::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    // Everything the animation does not paint stays red.
    void PaintRed()
    {
        tree->Canvas()->Brush()->SetColor(plat::clRed);
        tree->Canvas()->FillRect(tree->ClientRect());
    }
    plat::TColor Pixel(int Y) { return tree->Canvas()->Pixels(5, Y); }

    std::unique_ptr<plat::TForm> form;
    TRecordingTree* tree = nullptr;
};

TEST_F(ToggleAnimationTest, OnlyTheFirstStepPaintsTheUncoveredStrip)
{
    struct Case {
        const char* What;
        bool Expand;
    };
    const int C = tree->ClientHeight();
    const int rowBottom = 18;  // the first node's row: 0..18
    for (const Case& c : {Case{"expand", true}, Case{"collapse", false}}) {
        SCOPED_TRACE(c.What);
        plat::testing::ProcessEvents();  // the repaint the last toggle asked for
        PaintRed();
        tree->Steps.clear();
        int firstSize = 0;
        bool stripOk = false;
        tree->AfterStep = [&](std::uint32_t N, int Z) {
            if (N != 0 || Z <= 0) return;
            firstSize = Z;
            // Expanding scrolls the band below the row down and paints its top Z + 1
            // pixels; collapsing scrolls it up and paints its bottom Z + 1 pixels.
            if (c.Expand)
                stripOk = Pixel(rowBottom) == plat::clWhite && Pixel(rowBottom + Z) == plat::clWhite &&
                          Pixel(rowBottom + Z + 1) == plat::clRed;
            else
                stripOk = Pixel(C - 1) == plat::clWhite && Pixel(C - Z - 1) == plat::clWhite &&
                          Pixel(C - Z - 2) == plat::clRed;
            stripOk = stripOk && Pixel(rowBottom - 1) == plat::clRed;  // the row itself stays
        };
        tree->ToggleNode(tree->GetFirstNoInit());
        EXPECT_EQ(tree->GetExpanded(tree->GetFirstNoInit()), c.Expand);
        ASSERT_GE(tree->Steps.size(), 3u);
        EXPECT_GT(firstSize, 0);
        EXPECT_TRUE(stripOk);
        const auto& first = tree->Steps.front();
        EXPECT_EQ(first.Number, 0u);
        EXPECT_EQ(first.Draws, 2) << "a scroll and the strip";
        int moved = first.Size;
        for (std::size_t i = 1; i + 1 < tree->Steps.size(); ++i) {
            EXPECT_EQ(tree->Steps[i].Draws, 1) << "step " << tree->Steps[i].Number << " only scrolls";
            moved += tree->Steps[i].Size;
        }
        const auto& last = tree->Steps.back();
        EXPECT_EQ(last.Size, 0);
        EXPECT_EQ(last.Draws, 0) << "the closing call draws nothing";
        EXPECT_EQ(moved, 4 * 18);
        EXPECT_FALSE(tree->HasState(tsInAnimation));
        EXPECT_TREE_OK(*tree);
    }
}

TEST_F(ToggleAnimationTest, FullExpandAndCollapseAndUpdatesNeverAnimate)
{
    tree->FullExpand();
    tree->FullCollapse();
    tree->BeginUpdate();
    tree->ToggleNode(tree->GetFirstNoInit());
    tree->EndUpdate();
    tree->SetAnimationDuration(0);
    tree->ToggleNode(tree->GetFirstNoInit());
    EXPECT_TRUE(tree->Steps.empty());
    EXPECT_TREE_OK(*tree);
}

// ---- iteration -------------------------------------------------------------------------

TEST_F(TreeTest, NavigationEdgeCases)
{
    EXPECT_EQ(Tree->GetFirst(), nullptr);
    EXPECT_EQ(Tree->GetNext(nullptr), nullptr);
    Tree->SetRootNodeCount(3);
    Log = {};
    int seen = 0;
    for (PLazyNode n = Tree->GetFirstNoInit(); n; n = Tree->GetNextNoInit(n)) ++seen;
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(Log.InitNode, 0);
    EXPECT_EQ(Tree->GetNext(Tree->GetLast()), nullptr);
    EXPECT_EQ(Tree->AbsoluteIndex(Tree->GetFirst()), 0u);
    Tree->SetChildCount(Tree->GetFirst(), 4);
    EXPECT_EQ(Tree->AbsoluteIndex(Child(nullptr, 1)), ByValue(Tree->GetFirst()->TotalCount));
    EXPECT_EQ(Tree->GetNodeLevel(Tree->GetFirst()), 0u);
    EXPECT_FALSE(Tree->HasAsParent(Tree->GetFirst(), Tree->GetFirst()));
    EXPECT_EQ(Tree->GetVisibleParent(Tree->GetFirst()), Tree->RootNode());
    EXPECT_TRUE(ThrowsWith<EAssertionFailed>([&] { Tree->GetNext(Tree->RootNode()); },
                                             u"Node must not be the hidden root node."));
}

TEST_F(TreeTest, FirstChildCreatesAllChildrenAndInitialisesOne)
{
    Tree->SetRootNodeCount(1);
    Tree->OnInitNode = [this](TBaseLazyTree* T, PLazyNode, PLazyNode N, TLazyNodeInitStates& S) {
        ++Log.InitNode;
        if (T->GetNodeLevel(N) == 0) S |= InitBit(ivsHasChildren);
    };
    Tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& C) { C = 3; };
    PLazyNode top = Tree->GetFirstNoInit();
    Tree->GetFirst();
    Log.InitNode = 0;
    PLazyNode first = Tree->GetFirstChild(top);
    EXPECT_EQ(ByValue(top->ChildCount), 3u);
    EXPECT_EQ(Log.InitNode, 1);
    EXPECT_TRUE(first->Has(vsInitialized));
    EXPECT_FALSE(first->NextSibling->Has(vsInitialized));
    Ok();
}

TEST_F(TreeTest, ChildrenAboveOrder)
{
    Tree->TreeOptions().SetPaintOptions(Tree->TreeOptions().PaintOptions() | (1u << toChildrenAbove));
    Tree->SetRootNodeCount(2);
    PLazyNode a = Child(nullptr, 0);
    Tree->SetChildCount(a, 2);
    PLazyNode a0 = Child(a, 0);
    Tree->SetChildCount(a0, 1);
    EXPECT_EQ(Tree->GetFirst(true), Child(a0, 0));
    EXPECT_EQ(Tree->GetNext(Child(a0, 0), true), a0);
    EXPECT_EQ(Tree->GetNext(a0, true), Child(a, 1));
    EXPECT_EQ(Tree->GetNext(Child(a, 1), true), a);
    EXPECT_GT(Tree->CompareNodeOrder(a0, a, true), 0 - 2);
    EXPECT_LT(Tree->CompareNodeOrder(a0, a, true), 0);
    Ok();
}

TEST_F(TreeTest, IterateSubtreeFiltersAndAborts)
{
    Tree->TreeOptions().SetSelectionOptions(1u << toMultiSelect);
    Tree->SetRootNodeCount(6);
    for (unsigned i : {1u, 2u, 4u, 5u}) Tree->SetSelected(Child(nullptr, i), true);
    std::vector<PLazyNode> seen;
    PLazyNode aborted = Tree->IterateSubtree(
        nullptr,
        [&](TBaseLazyTree*, PLazyNode N, void*, bool& Abort) {
            seen.push_back(N);
            Abort = seen.size() == 3;
        },
        nullptr, NodeBit(vsSelected));
    EXPECT_EQ(seen, (std::vector<PLazyNode>{Child(nullptr, 1), Child(nullptr, 2), Child(nullptr, 4)}));
    EXPECT_EQ(aborted, Child(nullptr, 4));
    Ok();
}

TEST_F(TreeTest, EnumerationsWorkInARangeFor)
{
    int n = 0;
    for (PLazyNode x : Tree->Nodes()) {
        (void)x;
        ++n;
    }
    EXPECT_EQ(n, 0);
    TLTLazyNodeEnumeration empty = Tree->Nodes();
    TLTLazyNodeEnumerator e = empty.GetEnumerator();
    EXPECT_FALSE(e.MoveNext());
    EXPECT_FALSE(e.MoveNext());
    Tree->SetRootNodeCount(1);
    PLazyNode top = Tree->GetFirstNoInit();
    Tree->SetChildCount(top, 3);
    std::vector<PLazyNode> kids;
    for (PLazyNode x : Tree->ChildNodes(top)) kids.push_back(x);
    EXPECT_EQ(kids, (std::vector<PLazyNode>{Child(top, 0), Child(top, 1), Child(top, 2)}));
    Tree->ToggleNode(top);
    Tree->SetFiltered(Child(top, 1), true);
    kids.clear();
    for (PLazyNode x : Tree->VisibleNoInitNodes()) kids.push_back(x);
    EXPECT_EQ(kids, (std::vector<PLazyNode>{top, Child(top, 0), Child(top, 2)}));
    Ok();
}

TEST_F(TreeTest, TreeViewNavigationMessage)
{
    Tree->SetRootNodeCount(2);
    PLazyNode a = Child(nullptr, 0), b = Child(nullptr, 1);
    Tree->SetChildCount(a, 1);
    auto ask = [&](int Code, PLazyNode N) {
        return reinterpret_cast<PLazyNode>(Tree->Perform(TVM_GETNEXTITEM, Code, reinterpret_cast<plat::LPARAM>(N)));
    };
    EXPECT_EQ(ask(0, nullptr), a);
    EXPECT_EQ(ask(1, a), b);
    EXPECT_EQ(ask(2, b), a);
    EXPECT_EQ(ask(3, Child(a, 0)), a);
    EXPECT_EQ(ask(3, a), nullptr);
    EXPECT_EQ(ask(4, a), Child(a, 0));
    EXPECT_EQ(ask(5, nullptr), a);
    EXPECT_EQ(ask(6, a), b);
    EXPECT_EQ(ask(7, b), a);
    EXPECT_EQ(ask(10, nullptr), b);
    EXPECT_EQ(ask(1, nullptr), nullptr);
    EXPECT_EQ(ask(42, a), nullptr);
}

TEST_F(TreeTest, CacheStateMessageEntersAndLeavesItsBits)
{
    struct Case {
        plat::WPARAM Enter;
        plat::LPARAM Leave;
        TLazyTreeStates Expected;
    };
    const Case cases[] = {
        {1 | 4, 0, StateSet({tsStopValidation, tsValidating})},
        {2 | 8, 1 | 4, StateSet({tsUseCache, tsValidationNeeded})},
        {0, 2 | 8, 0},
        {4, 4, 0},  // named in both sets: cleared
    };
    const TLazyTreeStates cacheStates = StateSet({tsStopValidation, tsUseCache, tsValidating, tsValidationNeeded});
    Tree->SetTreeStates(Tree->TreeStates() & ~cacheStates);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Enter * 16 + c.Leave);
        Tree->Perform(WM_CHANGESTATE, c.Enter, c.Leave);
        EXPECT_EQ(Tree->TreeStates() & cacheStates, c.Expected);
    }
}

// ---- options --------------------------------------------------------------------------

TEST_F(TreeTest, OptionSetters)
{
    auto& o = Tree->TreeOptions();
    o.SetPaintOptions(Set<TLTPaintOptions, TLTPaintOption>({toFixedIndent}));
    EXPECT_EQ(o.PaintOptions(), (Set<TLTPaintOptions, TLTPaintOption>({toFixedIndent, toShowRoot})));
    Tree->SetAnimationDuration(0);
    EXPECT_FALSE(In(o.AnimationOptions(), toAnimatedToggle));
    Tree->SetAnimationDuration(100);
    EXPECT_TRUE(In(o.AnimationOptions(), toAnimatedToggle));
    // Assigning copies the five sets and keeps the target's export mode.
    TBaseLazyTree other(nullptr);
    other.TreeOptions().SetExportMode(emSelected);
    other.TreeOptions().Assign(&o);
    EXPECT_EQ(other.TreeOptions().PaintOptions(), o.PaintOptions());
    EXPECT_EQ(other.TreeOptions().ExportMode(), emSelected);
    // Multi-select flips clear the selection; clearing a constraint does not.
    o.SetSelectionOptions(1u << toMultiSelect);
    Tree->SetRootNodeCount(2);
    Tree->SetSelected(Child(nullptr, 0), true);
    o.SetSelectionOptions((1u << toMultiSelect) | (1u << toCenterScrollIntoView));
    EXPECT_EQ(Tree->SelectedCount(), 1);
    o.SetSelectionOptions(0);
    EXPECT_EQ(Tree->SelectedCount(), 0);
    Ok();
}

// Clearing toExtendedFocus moves the focus to the main column, whatever the other sets do.
TEST_F(TreeTest, ClearingExtendedFocusMovesTheFocusToTheMainColumn)
{
    auto& o = Tree->TreeOptions();
    Tree->Header().MainColumn = 2;
    o.SetSelectionOptions(TLTSelectionOptions(o.SelectionOptions() | (1u << toExtendedFocus)));
    EXPECT_EQ(Tree->FocusedColumn(), NoColumn);
    o.SetSelectionOptions(TLTSelectionOptions(o.SelectionOptions() & ~(1u << toExtendedFocus)));
    EXPECT_EQ(Tree->FocusedColumn(), 2);
}

// With a change delay, a shrinking child count reports its deletions and the count change as
// one accumulated structure change, fired by the timer, and frees the initialised nodes.
class DelayedChangeTest : public plat::testing::UiTest {};

TEST_F(DelayedChangeTest, ShrinkingReportsOneAccumulatedChangeFromTheTimer)
{
    TBaseLazyTree tree(nullptr);
    std::vector<TChangeReason> structure;
    int freed = 0;
    tree.OnStructureChange = [&](TBaseLazyTree*, PLazyNode, TChangeReason R) { structure.push_back(R); };
    tree.OnFreeNode = [&](TBaseLazyTree*, PLazyNode) { ++freed; };
    tree.OnInitNode = [](TBaseLazyTree*, PLazyNode, PLazyNode, TLazyNodeInitStates&) {};
    PLazyNode parent = tree.AddChild(nullptr);
    tree.SetChildCount(parent, 5);
    for (PLazyNode n = tree.GetFirstChild(parent); n; n = tree.GetNextSibling(n)) EXPECT_TRUE(n->Has(vsInitialized));
    structure.clear();
    tree.SetChangeDelay(50);
    tree.SetChildCount(parent, 2);
    EXPECT_EQ(freed, 3);
    EXPECT_TRUE(structure.empty());
    plat::testing::AdvanceClock(49);
    EXPECT_TRUE(structure.empty());
    plat::testing::AdvanceClock(2);
    EXPECT_EQ(structure, std::vector<TChangeReason>{crAccumulated});
    EXPECT_EQ(tree.GetChildCount(parent), 2u);
    EXPECT_TREE_OK(tree);
    // Without a delay each deletion reports at once.
    tree.SetChangeDelay(0);
    tree.SetChildCount(parent, 3);
    structure.clear();
    tree.SetChildCount(parent, 1);
    EXPECT_EQ(structure, (std::vector<TChangeReason>{crChildDeleted, crChildDeleted, crChildAdded}));
    EXPECT_TREE_OK(tree);
}

TEST(TreeClasses, OptionsClassPerTreeClass)
{
    TBaseLazyTree base(nullptr);
    TLazyStringTree str(nullptr);
    TLazyDrawTree draw(nullptr);
    EXPECT_EQ(base.TreeOptions().ClassName(), u"TCustomLazyTreeOptions");
    EXPECT_EQ(str.TreeOptions().ClassName(), u"TStringTreeOptions");
    EXPECT_EQ(draw.TreeOptions().ClassName(), u"TLazyTreeOptions");
    EXPECT_EQ(str.TreeOptions().StringOptions(), DefaultStringOptions);
    EXPECT_EQ(str.DefaultText, u"Node");
    EXPECT_TRUE(InheritsFrom(str.ClassType(), &CustomLazyStringTreeClass));
    // The string tree's width area follows the user data.
    str.SetNodeDataSize(7);
    PLazyNode n = str.AddChild(nullptr);
    str.SetCachedTextWidth(n, 77);
    EXPECT_EQ(str.CachedTextWidth(n), 77u);
    str.ReinitNode(n, false);
    EXPECT_EQ(str.CachedTextWidth(n), 0u);
}

// ---- randomised mutations ----------------------------------------------------------------

TEST_F(TreeTest, RandomOperationsKeepTheInvariants)
{
    std::mt19937 rng(20261210);
    Tree->TreeOptions().SetSelectionOptions(1u << toMultiSelect);
    Tree->TreeOptions().SetAutoOptions(WithoutAuto(Tree->TreeOptions().AutoOptions(), toAutoSort));
    Tree->OnCompareNodes = [](TBaseLazyTree*, PLazyNode A, PLazyNode B, TColumnIndex, int& R) {
        R = int(A->NodeHeight) - int(B->NodeHeight);
    };
    std::vector<PLazyNode> all;
    auto refresh = [&] {
        all.clear();
        for (PLazyNode n = Tree->GetFirstNoInit(); n; n = Tree->GetNextNoInit(n)) all.push_back(n);
    };
    auto pick = [&]() -> PLazyNode { return all.empty() ? nullptr : all[rng() % all.size()]; };
    for (int step = 0; step < 3000; ++step) {
        refresh();
        PLazyNode n = pick();
        const int op = int(rng() % 15);
        SCOPED_TRACE("step " + std::to_string(step) + " op " + std::to_string(op));
        switch (op) {
        case 0: Tree->AddChild(n); break;
        case 1: if (n) Tree->InsertNode(n, TLTNodeAttachMode(1 + rng() % 4)); break;
        case 2: if (n && all.size() > 20) Tree->DeleteNode(n); break;
        case 3: Tree->SetChildCount(n, rng() % 6); break;
        case 4: if (n) Tree->SetVisible(n, !n->Has(vsVisible)); break;
        case 5: if (n) Tree->SetFiltered(n, !n->Has(vsFiltered)); break;
        case 6: if (n) Tree->ToggleNode(n); break;
        case 7: if (n) Tree->SetNodeHeight(n, rng() % 40); break;
        case 8: {
            PLazyNode t = pick();
            if (n && t && t != n && !Tree->HasAsParent(t, n)) Tree->MoveTo(n, t, TLTNodeAttachMode(1 + rng() % 4), false);
            break;
        }
        case 9: Tree->Sort(n, NoColumn, rng() % 2 ? sdAscending : sdDescending, false); break;
        case 10: if (n) Tree->SetSelected(n, !n->Has(vsSelected)); break;
        case 11: {
            auto p = Tree->TreeOptions().PaintOptions() ^ Set<TLTPaintOptions, TLTPaintOption>({toShowFilteredNodes});
            Tree->TreeOptions().SetPaintOptions(p);
            break;
        }
        case 12: if (rng() % 10 == 0) Tree->FullExpand(n); break;
        case 13: if (rng() % 10 == 0) Tree->FullCollapse(n); break;
        case 14: {
            Tree->BeginUpdate();
            for (int i = 0; i < 5; ++i) {
                refresh();
                PLazyNode m = pick();
                if (m && all.size() > 20 && i % 2) Tree->DeleteNode(m);
                else Tree->AddChild(m);
            }
            Tree->EndUpdate();
            break;
        }
        }
        ASSERT_TREE_OK(*Tree);
        if (all.size() > 400) Tree->Clear();
    }
}

} // namespace
