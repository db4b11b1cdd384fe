// The position cache and its worker thread: thresholds, lookups against a linear walk in
// three shapes, request order, and stopping a running build from the GUI thread.
#include <memory>
#include <random>
#include <thread>

#include "../platform/Watchdog.h"
#include "LazyTrees.WorkerThread.h"
#include "TreeFixture.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/Threads.h"

using namespace vtree;
using namespace vtree::testing;

namespace {

// Serves the worker's GUI-thread calls until Done holds.
template <class F>
void PumpUntil(F Done)
{
    while (!Done()) plat::CheckSynchronize(2);
}

void WaitForCache(TBaseLazyTree& T)
{
    PumpUntil([&] { return T.HasState(tsUseCache) || (!T.HasState(tsValidating) && !T.HasState(tsValidationNeeded)); });
}

TEST_F(TreeTest, TwoThousandVisibleNodesQueueNothing)
{
    plat::testwatch::Watchdog dog("cache threshold");
    int validations = 0;
    Tree->OnStateChange = [&](TBaseLazyTree*, TLazyTreeStates Enter, TLazyTreeStates) {
        if (Enter & TreeBit(tsValidating)) ++validations;
    };
    Tree->SetRootNodeCount(2000);
    for (int i = 0; i < 20; ++i) plat::CheckSynchronize(2);
    EXPECT_EQ(validations, 0);
    EXPECT_FALSE(Tree->HasState(tsUseCache));
    Tree->SetRootNodeCount(2001);
    WaitForCache(*Tree);
    EXPECT_EQ(validations, 1);
    ASSERT_TRUE(Tree->HasState(tsUseCache));
    const TCache& c = Tree->PositionCache();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].Node, Tree->GetFirstNoInit());
    EXPECT_EQ(c[1].Node, Tree->GetLastNoInit());
    EXPECT_EQ(c[1].AbsoluteTop, 2000u * 18);
    Ok();
}

// Linear truth: the display order with every row's top.
struct Rows {
    std::vector<PLazyNode> Nodes;
    std::vector<std::uint32_t> Tops;
    std::uint32_t Bottom = 0;
};

Rows Walk(TBaseLazyTree& T)
{
    Rows r;
    for (PLazyNode n = T.GetFirstVisibleNoInit(nullptr, true); n; n = T.GetNextVisibleNoInit(n, true)) {
        r.Nodes.push_back(n);
        r.Tops.push_back(r.Bottom);
        r.Bottom += T.GetNodeHeight(n);  // measures a variable-height node, as lookups do
    }
    return r;
}

void Shape(TBaseLazyTree& T, const std::string& Name)
{
    std::mt19937 rng(3);
    T.BeginUpdate();
    if (Name == "flat") {
        T.SetRootNodeCount(30000);
    } else if (Name == "cube") {
        T.SetRootNodeCount(100);
        for (PLazyNode a = T.GetFirstNoInit(); a; a = a->NextSibling) {
            T.SetChildCount(a, 100);
            for (PLazyNode b = a->FirstChild; b; b = b->NextSibling) T.SetChildCount(b, 100);
        }
    } else {  // chains of 1,000 levels
        T.SetRootNodeCount(5);
        for (PLazyNode a = T.GetFirstNoInit(); a; a = a->NextSibling) {
            PLazyNode n = a;
            for (int level = 1; level < 1000; ++level) {
                T.SetChildCount(n, 1);
                n = n->FirstChild;
            }
        }
    }
    T.EndUpdate();
    T.FullExpand();
    // Heights that differ, so a wrong walk cannot agree by accident.
    int i = 0;
    for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n), ++i)
        if (i % 7 == 0) T.SetNodeHeight(n, 5 + rng() % 40);
}

class CacheShapes : public ::testing::TestWithParam<std::string> {};

TEST_P(CacheShapes, LookupsEqualALinearWalk)
{
    auto dog = std::make_unique<plat::testwatch::Watchdog>("cache shapes");
    TBaseLazyTree t(nullptr);
    t.TreeOptions().SetAutoOptions(WithoutAuto(t.TreeOptions().AutoOptions(), toAutoSort));
    Shape(t, GetParam());
    t.RequestCacheValidation();
    WaitForCache(t);
    ASSERT_TRUE(t.HasState(tsUseCache));
    ASSERT_TREE_OK(t);
    dog = std::make_unique<plat::testwatch::Watchdog>("cache shapes, lookups");
    const Rows rows = Walk(t);
    ASSERT_EQ(rows.Nodes.size(), t.VisibleCount());
    std::mt19937 rng(5);
    for (int k = 0; k < 2000; ++k) {
        const std::uint32_t y = rng() % (rows.Bottom + 50);
        int top = -1;
        PLazyNode got = t.GetNodeAt(0, int(y), false, top);
        auto it = std::upper_bound(rows.Tops.begin(), rows.Tops.end(), y);
        const std::size_t idx = std::size_t(it - rows.Tops.begin()) - 1;
        if (y >= rows.Bottom) {
            EXPECT_EQ(got, nullptr) << y;
        } else {
            ASSERT_EQ(got, rows.Nodes[idx]) << "y " << y;
            EXPECT_EQ(std::uint32_t(top), rows.Tops[idx]);
        }
        const std::size_t pick = rng() % rows.Nodes.size();
        std::uint32_t entryTop;
        PLazyNode entry = t.PositionCacheEntryBefore(rows.Nodes[pick], entryTop);
        const std::size_t expected = pick / CacheThreshold * CacheThreshold;
        ASSERT_EQ(entry, rows.Nodes[expected]);
        EXPECT_EQ(entryTop, rows.Tops[expected]);
        EXPECT_EQ(t.GetDisplayTop(rows.Nodes[pick]), rows.Tops[pick]);
    }
    // Children shown above their parents: the cache follows that order, and so do the tops.
    // (Each part has a watchdog of its own: under the thread sanitizer each takes seconds.)
    dog = std::make_unique<plat::testwatch::Watchdog>("cache shapes, children above");
    t.TreeOptions().SetPaintOptions(t.TreeOptions().PaintOptions() | (TLTPaintOptions(1) << toChildrenAbove));
    t.MarkCacheStale();
    t.RequestCacheValidation();
    WaitForCache(t);
    ASSERT_TRUE(t.HasState(tsUseCache));
    const Rows above = Walk(t);
    for (int k = 0; k < 500; ++k) {
        const std::size_t pick = rng() % above.Nodes.size();
        ASSERT_EQ(t.GetDisplayTop(above.Nodes[pick]), above.Tops[pick]) << "row " << pick;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, CacheShapes, ::testing::Values("flat", "cube", "deep"));

TEST(CacheWorker, RequestsAreServedInOrderAndOnce)
{
    plat::testwatch::Watchdog dog("request order");
    TBaseLazyTree blocker(nullptr), a(nullptr), b(nullptr);
    std::vector<TBaseLazyTree*> served;
    auto record = [&](TBaseLazyTree* T, TLazyTreeStates Enter, TLazyTreeStates) {
        if (Enter & TreeBit(tsValidating)) served.push_back(T);
    };
    for (TBaseLazyTree* t : {&blocker, &a, &b}) {
        t->OnStateChange = record;
        t->SetRootNodeCount(3000);
    }
    for (TBaseLazyTree* t : {&blocker, &a, &b}) WaitForCache(*t);
    PumpUntil([&] { return TBaseLazyTree::Worker()->CurrentTree() == nullptr; });
    // The worker waits on the GUI thread for the blocker's first state change while the
    // others queue up.
    served.clear();
    blocker.MarkCacheStale();
    blocker.RequestCacheValidation();
    while (TBaseLazyTree::Worker()->CurrentTree() != &blocker) std::this_thread::yield();
    for (TBaseLazyTree* t : {&a, &b, &a}) {
        t->MarkCacheStale();
        TBaseLazyTree::Worker()->AddTree(t);
    }
    for (TBaseLazyTree* t : {&blocker, &a, &b}) WaitForCache(*t);
    PumpUntil([&] { return TBaseLazyTree::Worker()->CurrentTree() == nullptr; });
    EXPECT_EQ(served, (std::vector<TBaseLazyTree*>{&blocker, &a, &b}));
}

// A build that measures every node on the GUI thread, one synchronised call at a time.
class RunningBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        Tree = std::make_unique<TBaseLazyTree>(nullptr);
        Tree->TreeOptions().SetAutoOptions(WithoutAuto(Tree->TreeOptions().AutoOptions(), toAutoSort));
        Tree->SetRootNodeCount(100);
        for (PLazyNode n = Tree->GetFirstNoInit(); n; n = n->NextSibling) Tree->SetChildCount(n, 999);
        Tree->FullExpand();
        Tree->OnMeasureItem = [this](TBaseLazyTree*, plat::TCanvas*, PLazyNode N, int& H) {
            EXPECT_TRUE(plat::InMainThread());
            ++Measured;
            H = 10 + int(N->Index % 17);
        };
        // Switching variable heights on re-initialises every node: none is measured yet.
        Tree->TreeOptions().SetMiscOptions(WithMisc(Tree->TreeOptions().MiscOptions(), toVariableNodeHeight));
        Measured = 0;
        Tree->MarkCacheStale();
        Tree->RequestCacheValidation();
        // Let the build get going: a few hundred measurements.
        PumpUntil([this] { return Measured > 300; });
        ASSERT_TRUE(Tree->HasState(tsValidating));
    }
    std::unique_ptr<TBaseLazyTree> Tree;
    int Measured = 0;
};

TEST_F(RunningBuild, CollapsingStopsTheBuild)
{
    plat::testwatch::Watchdog dog("collapse during a build");
    Tree->ToggleNode(Tree->GetFirstNoInit());
    EXPECT_FALSE(Tree->HasState(tsUseCache));
    ASSERT_TREE_OK(*Tree);
}

TEST_F(RunningBuild, DestroyingTheTreeWaitsForTheWorker)
{
    plat::testwatch::Watchdog dog("destroy during a build");
    Tree.reset();
    SUCCEED();
}

TEST_F(RunningBuild, TheGuiStaysUsableBetweenSteps)
{
    plat::testwatch::Watchdog dog("GUI during a build");
    std::mt19937 rng(9);
    for (int step = 0; step < 8; ++step) {
        plat::CheckSynchronize(2);
        const Rows rows = Walk(*Tree);
        const std::uint32_t y = rng() % rows.Bottom;
        int top;
        PLazyNode got = Tree->GetNodeAt(0, int(y), false, top);
        const auto it = std::upper_bound(rows.Tops.begin(), rows.Tops.end(), y);
        EXPECT_EQ(got, rows.Nodes[std::size_t(it - rows.Tops.begin()) - 1]);
        if (step % 3 == 0) Tree->AddChild(Tree->GetFirstNoInit());
        if (step % 5 == 0) Tree->ToggleNode(rows.Nodes[rng() % rows.Nodes.size()]);
        Tree->RequestCacheValidation();
        ASSERT_TREE_OK(*Tree);
    }
    WaitForCache(*Tree);
    EXPECT_TREE_OK(*Tree);
}

// A build that fails on the worker leaves the tree without a cache and shows the error on the
// GUI thread, as any unhandled error is shown; it is never dropped.
TEST_F(TreeTest, AFailedBuildIsReportedOnTheGuiThread)
{
    plat::testwatch::Watchdog dog("failed build");
    ASSERT_NE(plat::Application, nullptr);
    std::vector<std::string> shown;
    auto previous = plat::Application->OnException;
    plat::Application->OnException = [&](plat::TObject*, const std::exception& E) {
        EXPECT_TRUE(plat::InMainThread());
        shown.push_back(E.what());
    };
    Tree->OnStateChange = [](TBaseLazyTree*, TLazyTreeStates Enter, TLazyTreeStates) {
        if (Enter & TreeBit(tsValidating)) throw plat::Exception(u"no room for the cache");
    };
    Tree->SetRootNodeCount(3000);
    PumpUntil([&] { return !shown.empty(); });
    for (int i = 0; i < 10; ++i) plat::CheckSynchronize(2);
    plat::Application->OnException = previous;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "no room for the cache");
    EXPECT_FALSE(Tree->HasState(tsUseCache));
    Tree->OnStateChange = nullptr;
    EXPECT_TREE_OK(*Tree);
}

// Counts the cache-state messages (0x8020) the tree's window gets, and where they run.
class MessageCountingTree : public TBaseLazyTree {
public:
    using TBaseLazyTree::TBaseLazyTree;
    int StateMessages = 0;
    bool AllOnGuiThread = true;
    void WndProc(plat::TMessage& Message) override
    {
        if (Message.Msg == WM_CHANGESTATE) {
            ++StateMessages;
            AllOnGuiThread = AllOnGuiThread && plat::InMainThread();
        }
        TBaseLazyTree::WndProc(Message);
    }
};

TEST(CacheWorker, StateChangesReachTheTreeAsItsWindowMessage)
{
    plat::testwatch::Watchdog dog("state messages");
    MessageCountingTree tree(nullptr);
    tree.SetRootNodeCount(3000);
    WaitForCache(tree);
    PumpUntil([&] { return TBaseLazyTree::Worker()->CurrentTree() == nullptr; });
    EXPECT_TRUE(tree.HasState(tsUseCache));
    EXPECT_EQ(tree.StateMessages, 2);  // entering the build and leaving it
    EXPECT_TRUE(tree.AllOnGuiThread);
}

// The worker waits in its send of the first state change while the GUI thread, which has not
// looked at its queues since, stops the build: the wait in RemoveTree runs the message.
TEST(CacheWorker, StoppingServesTheStateMessageTheWorkerWaitsIn)
{
    plat::testwatch::Watchdog dog("stop while the worker sends");
    MessageCountingTree tree(nullptr);
    tree.BeginUpdate();
    tree.SetRootNodeCount(3000);
    tree.EndUpdate();
    PumpUntil([&] { return TBaseLazyTree::Worker()->CurrentTree() == nullptr && !tree.HasState(tsValidating); });
    tree.StopCacheValidation();
    tree.MarkCacheStale();
    const int before = tree.StateMessages;
    tree.RequestCacheValidation();
    while (TBaseLazyTree::Worker()->CurrentTree() != &tree) std::this_thread::yield();
    tree.StopCacheValidation();
    EXPECT_EQ(TBaseLazyTree::Worker()->CurrentTree(), nullptr);
    EXPECT_GE(tree.StateMessages, before + 1);
    EXPECT_TRUE(tree.AllOnGuiThread);
    EXPECT_FALSE(tree.HasState(tsUseCache));
    EXPECT_FALSE(tree.HasState(tsValidating));
    EXPECT_TREE_OK(tree);
}

TEST(CacheWorker, TheLastTreeEndsTheThread)
{
    {
        TBaseLazyTree a(nullptr);
        EXPECT_NE(TBaseLazyTree::Worker(), nullptr);
    }
    EXPECT_EQ(TBaseLazyTree::Worker(), nullptr);
}

} // namespace

namespace {

PLazyNode NthNoInit(TBaseLazyTree& T, unsigned N)
{
    PLazyNode n = T.GetFirstNoInit();
    while (n && N--) n = T.GetNextNoInit(n);
    return n;
}

} // namespace

// A build the program runs on the GUI thread is used at once, and initialising a node (as a
// hit test does) keeps it: only a node that initialisation hides moves rows.
TEST_F(TreeTest, AGuiThreadBuildIsUsedAndSurvivesInitialisation)
{
    plat::testwatch::Watchdog dog("gui build");
    Tree->OnInitNode = [](TBaseLazyTree*, PLazyNode, PLazyNode N, TLazyNodeInitStates& S) {
        if (N->Index == 4000) S |= InitBit(ivsFiltered);
    };
    Tree->SetRootNodeCount(5000);
    ASSERT_TRUE(Tree->BuildPositionCache());
    ASSERT_TRUE(Tree->HasState(tsUseCache));
    EXPECT_FALSE(Tree->HasState(tsValidationNeeded));

    int top = 0;
    PLazyNode hit = Tree->GetNodeAt(0, 2500 * 18 + 3, false, top);
    ASSERT_EQ(hit, NthNoInit(*Tree, 2500));
    EXPECT_EQ(top, 2500 * 18);
    Tree->GetFirst();  // initialises the first node
    Tree->GetNext(hit);  // and the one after the hit
    ASSERT_TRUE(NthNoInit(*Tree, 2501)->Has(vsInitialized));
    EXPECT_TRUE(Tree->HasState(tsUseCache));
    EXPECT_EQ(Tree->GetNodeAt(0, 4100 * 18, false, top), NthNoInit(*Tree, 4100));

    // Node 4000 hides itself when initialised: every row below it moves up.
    Tree->GetNext(NthNoInit(*Tree, 3999));
    EXPECT_FALSE(Tree->HasState(tsUseCache));
    EXPECT_EQ(Tree->GetNodeAt(0, 4000 * 18 + 3, false, top), NthNoInit(*Tree, 4001));
    EXPECT_EQ(top, 4000 * 18);
    Ok();
}
