// The validation worker and the position-cache side of TBaseLazyTree.
#include "LazyTrees.WorkerThread.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>
#include <vector>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Threads.h"

namespace vtree {

namespace {

std::mutex GlobalLock;
TWorkerThread* GlobalWorker = nullptr;
unsigned RefCount = 0;
// The tree whose measurement the GUI thread runs for the waiting worker.
std::atomic<const TBaseLazyTree*> MeasuringTree{nullptr};
// Set on the worker thread for its whole life.
thread_local bool OnWorkerThread = false;

// An error of a background build cannot reach a caller: the worker hands it to the GUI
// thread, whose application shows it as it shows any unhandled error, and the tree goes on
// without the cache it could not build.
void ReportOnGuiThread(std::exception_ptr Error)
{
    plat::TThread::Queue(nullptr, [Error] {
        try {
            std::rethrow_exception(Error);
        } catch (...) {
            if (plat::Application) plat::Application->HandleException(nullptr);
        }
    });
}

} // namespace

TWorkerThread* WorkerThread()
{
    std::lock_guard<std::mutex> g(GlobalLock);
    return GlobalWorker;
}

TWorkerThread* TBaseLazyTree::Worker() { return WorkerThread(); }

void AcquireWorkerThread()
{
    std::lock_guard<std::mutex> g(GlobalLock);
    if (!GlobalWorker) GlobalWorker = new TWorkerThread();
    ++RefCount;
}

void ReleaseWorkerThread(TBaseLazyTree* Tree)
{
    TWorkerThread* toFree = nullptr;
    {
        std::lock_guard<std::mutex> g(GlobalLock);
        if (!GlobalWorker) return;
        --RefCount;
        if (RefCount == 0) {
            toFree = GlobalWorker;
            GlobalWorker = nullptr;
        }
    }
    Tree->StopCacheValidation();
    delete toFree;
}

TWorkerThread::TWorkerThread()
{
    // Started only once every member it uses exists.
    FThread = std::thread([this] { Execute(); });
}

TWorkerThread::~TWorkerThread()
{
    {
        std::lock_guard<std::mutex> g(FLock);
        FTerminated = true;
    }
    FWork.notify_all();
    FThread.join();
}

bool TWorkerThread::MeasuringFor(const TBaseLazyTree* Tree)
{
    return Tree && MeasuringTree.load(std::memory_order_acquire) == Tree;
}

void TWorkerThread::AddTree(TBaseLazyTree* Tree)
{
    if (!Tree) throw EAssertionFailed(u"Tree must not be nil.");
    Tree->DoStateChange(0, TreeBit(tsStopValidation));
    {
        std::lock_guard<std::mutex> g(FLock);
        if (std::find(FWaiterList.begin(), FWaiterList.end(), Tree) != FWaiterList.end()) return;
        FWaiterList.push_back(Tree);
        ++FSignals;
    }
    FWork.notify_one();
}

void TWorkerThread::RemoveTree(TBaseLazyTree* Tree)
{
    if (!Tree) throw EAssertionFailed(u"Tree must not be nil.");
    {
        std::lock_guard<std::mutex> g(FLock);
        auto it = std::find(FWaiterList.begin(), FWaiterList.end(), Tree);
        if (it != FWaiterList.end()) {
            FWaiterList.erase(it);
            if (FSignals > 0) --FSignals;
        }
    }
    // The worker may wait for the GUI thread (a state change, a measurement): serve it. The
    // worker announces each such call and its leaving, so this wakes without polling; the
    // short timeout only covers calls handed over by other means.
    const plat::HWND window = Tree->FStateWindow.load(std::memory_order_acquire);
    std::unique_lock<std::mutex> lock(FLock);
    FWaitedFor = Tree;
    try {
        // A state message counts as served once this loop ran it; until the worker takes
        // note (FStateMessagesDone) there is nothing more to do for it.
        auto unserved = [&] { return FStateMessagesSent != FStateMessagesDone && FStateMessagesSent != FStateMessagesPeeked; };
        while (CurrentTree() == Tree) {
            FLeft.wait_for(lock, std::chrono::microseconds(500),
                           [&] { return CurrentTree() != Tree || FGuiCallsAnnounced != FGuiCallsRun || unserved(); });
            if (CurrentTree() != Tree) break;
            const bool announced = FGuiCallsAnnounced != FGuiCallsRun;
            const bool sending = unserved();
            const unsigned long sent = FStateMessagesSent;
            lock.unlock();
            // A cache-state message the worker sent to this window runs here (the look at the
            // queue runs waiting sent messages), and so does a posted one.
            bool delivered = false;
            if (window && sending) {
                const unsigned long before = Tree->FStateMessagesHandled;
                plat::TMsg msg;
                while (plat::PeekMessage(msg, window, WM_CHANGESTATE, WM_CHANGESTATE, plat::PM_REMOVE))
                    plat::DispatchMessage(msg);
                delivered = Tree->FStateMessagesHandled != before;
            }
            // A measurement the worker waits for runs through the call queue; an announced
            // call is queued a moment after the announcement: wait for it.
            plat::CheckSynchronize(announced ? 1 : 0);
            // A message announced but not yet queued is a moment away.
            if (sending && !delivered) std::this_thread::yield();
            lock.lock();
            if (delivered) FStateMessagesPeeked = sent;
        }
    } catch (...) {
        if (!lock.owns_lock()) lock.lock();
        FWaitedFor = nullptr;
        const bool handedOver = FHandedOver == Tree;
        if (handedOver) FHandedOver = nullptr;
        const TLazyTreeStates enter = FHandedOverEnter;
        lock.unlock();
        if (handedOver) FinishBuild(Tree, enter);
        throw;
    }
    FWaitedFor = nullptr;
    if (FHandedOver != Tree) return;
    FHandedOver = nullptr;
    const TLazyTreeStates enter = FHandedOverEnter;
    lock.unlock();
    FinishBuild(Tree, enter);
}

void TWorkerThread::FinishBuild(TBaseLazyTree* Tree, std::uint64_t Enter)
{
    Tree->DoStateChange(Enter, StateSet({tsStopValidation, tsValidating}));
    if (!Enter) Tree->DoStateChange(TreeBit(tsValidationNeeded));
}

void TWorkerThread::RunOnGuiThread(TBaseLazyTree* Tree, const std::function<void()>& Call, bool Measuring)
{
    const bool OnWorkerThreadCall = OnWorkerThread;
    if (OnWorkerThreadCall) {
        {
            std::lock_guard<std::mutex> g(FLock);
            ++FGuiCallsAnnounced;
        }
        FLeft.notify_all();
    }
    plat::TThread::Synchronize(nullptr, [&] {
        if (OnWorkerThreadCall) {
            std::lock_guard<std::mutex> g(FLock);
            ++FGuiCallsRun;
        }
        const TBaseLazyTree* previous = MeasuringTree.load();
        if (Measuring) MeasuringTree.store(Tree, std::memory_order_release);
        struct Restore {
            const TBaseLazyTree* P;
            ~Restore() { MeasuringTree.store(P, std::memory_order_release); }
        } restore{previous};
        Call();
    });
}

namespace {

// The cache states as the bits of the message 0x8020.
constexpr TLazyTreeState CacheStateBits[] = {tsStopValidation, tsUseCache, tsValidating, tsValidationNeeded};

std::uintptr_t StateBits(TLazyTreeStates States)
{
    std::uintptr_t bits = 0;
    for (unsigned i = 0; i < 4; ++i)
        if (States & TreeBit(CacheStateBits[i])) bits |= 1u << i;
    return bits;
}

} // namespace

void TWorkerThread::SendTreeStateChange(TBaseLazyTree* Tree, TLazyTreeStates Enter, TLazyTreeStates Leave)
{
    const plat::HWND window = Tree->FStateWindow.load(std::memory_order_acquire);
    if (window) {
        {
            std::lock_guard<std::mutex> g(FLock);
            ++FStateMessagesSent;
        }
        FLeft.notify_all();
        const plat::LRESULT served = plat::SendMessage(window, WM_CHANGESTATE, StateBits(Enter), StateBits(Leave));
        {
            std::lock_guard<std::mutex> g(FLock);
            ++FStateMessagesDone;
        }
        FLeft.notify_all();
        if (served == 2) std::rethrow_exception(std::exchange(Tree->FStateChangeError, nullptr));
        if (served) return;
    }
    // Without a window the change runs through the call queue all the same: a tree's cache
    // states never stay half changed.
    RunOnGuiThread(Tree, [Tree, Enter, Leave] { Tree->DoStateChange(Enter, Leave); }, false);
}

void TWorkerThread::Execute()
{
    plat::TThread::NameThreadForDebugging(u"LazyTrees.TWorkerThread");
    OnWorkerThread = true;
    for (;;) {
        TBaseLazyTree* tree = nullptr;
        {
            std::unique_lock<std::mutex> lock(FLock);
            FWork.wait(lock, [this] { return FTerminated || FSignals > 0; });
            if (FTerminated) return;
            --FSignals;
            if (!FWaiterList.empty()) {
                tree = FWaiterList.front();
                FWaiterList.pop_front();
                // Published under the lock, so RemoveTree either finds the tree queued or
                // sees it current.
                FCurrentTree.store(tree, std::memory_order_release);
            }
        }
        if (!tree) continue;
        TLazyTreeStates enter = 0;
        try {
            SendTreeStateChange(tree, TreeBit(tsValidating), StateSet({tsUseCache, tsValidationNeeded}));
            if (!tree->HasState(tsStopValidation) && tree->BuildPositionCache()) enter = TreeBit(tsUseCache);
        } catch (...) {
            enter = 0;
            ReportOnGuiThread(std::current_exception());
        }
        bool handedOver = false;
        {
            std::lock_guard<std::mutex> g(FLock);
            if (FWaitedFor == tree) {
                // The GUI thread waits for this tree: it finishes the build itself.
                FHandedOver = tree;
                FHandedOverEnter = enter;
                FCurrentTree.store(nullptr, std::memory_order_release);
                handedOver = true;
            }
        }
        if (!handedOver) {
            try {
                // A stopped or failed build leaves the cache stale, so it is asked for again.
                SendTreeStateChange(tree, enter ? enter : TreeBit(tsValidationNeeded),
                                    StateSet({tsStopValidation, tsValidating}));
            } catch (...) {
                ReportOnGuiThread(std::current_exception());
            }
            std::lock_guard<std::mutex> g(FLock);
            FCurrentTree.store(nullptr, std::memory_order_release);
        }
        ++FServed;
        FLeft.notify_all();
    }
}

// ---- tree side -----------------------------------------------------------------------

void TBaseLazyTree::RequestCacheValidation()
{
    StopCacheValidation();
    FStartIndex = 0;
    TWorkerThread* worker = WorkerThread();
    if (HasState(tsValidationNeeded) && FVisibleCount > CacheThreshold && worker) worker->AddTree(this);
}

void TBaseLazyTree::StopCacheValidation()
{
    if (TWorkerThread::MeasuringFor(this)) {
        // The worker waits for this very call: it stops by itself once it sees the state.
        DoStateChange(TreeBit(tsStopValidation), TreeBit(tsUseCache));
        return;
    }
    DoStateChange(TreeBit(tsStopValidation), TreeBit(tsUseCache));
    TWorkerThread* worker = WorkerThread();
    if (!worker) return;
    const bool wasValidating = HasState(tsValidating) || worker->CurrentTree() == this;
    worker->RemoveTree(this);
    if (wasValidating) MarkCacheStale();
}

// tsValidating is entered and left on the GUI thread, so there it says exactly whether the
// worker may be walking this tree.
TBaseLazyTree::WorkerPause::WorkerPause(TBaseLazyTree* Tree)
    : T(Tree), Stopped(Tree->HasState(tsValidating) && !TWorkerThread::MeasuringFor(Tree))
{
    if (Stopped) T->StopCacheValidation();
}

TBaseLazyTree::WorkerPause::~WorkerPause()
{
    if (Stopped && T->FUpdateCount == 0) T->RequestCacheValidation();
}

std::uint32_t TBaseLazyTree::NodeHeightForWorker(PLazyNode Node)
{
    // Initialising and measuring run handlers and change node fields: the GUI thread does
    // it while the worker waits.
    if (TWorkerThread* worker = WorkerThread()) {
        worker->RunOnGuiThread(this, [this, Node] {
            InitIfNeeded(Node);
            MeasureItemHeight(nullptr, Node);
        }, true);
    }
    return Node->NodeHeight;
}

bool TBaseLazyTree::BuildPositionCache()
{
    if (!plat::InMainThread()) return BuildCacheEntries();
    // Asked for on the GUI thread: the worker leaves the tree first (it may be walking it),
    // and a complete cache is used from now on, without waiting for a state message that a
    // tree without a window only gets through the call queue.
    StopCacheValidation();
    DoStateChange(0, TreeBit(tsStopValidation));
    FStartIndex = 0;
    const bool built = BuildCacheEntries();
    if (built) DoStateChange(TreeBit(tsUseCache), TreeBit(tsValidationNeeded));
    else DoStateChange(TreeBit(tsValidationNeeded));
    return built;
}

bool TBaseLazyTree::BuildCacheEntries()
{
    const bool variable = In(FOptions->MiscOptions(), toVariableNodeHeight);
    auto stopped = [this] { return HasState(tsStopValidation); };
    if (FStartIndex == 0) FPositionCache.clear();
    const std::uint32_t slots = PositionCacheSlots(FVisibleCount);
    FPositionCache.resize(slots);
    FCacheRegularEntries = 0;
    if (FStartIndex > slots) FStartIndex = slots;
    PLazyNode node;
    std::uint32_t top = 0;
    std::uint32_t index = 0;
    if (FStartIndex > 0 && FPositionCache[FStartIndex - 1].Node) {
        index = FStartIndex - 1;
        node = FPositionCache[index].Node;
        top = FPositionCache[index].AbsoluteTop;
    } else {
        node = GetFirstVisibleNoInit(nullptr, true);
    }
    std::uint32_t count = index * CacheThreshold;
    FFinePositionIndex.resize(std::size_t(index) * (CacheThreshold / FineCacheStep));
    FFinePositionIndex.reserve(std::size_t(slots) * (CacheThreshold / FineCacheStep));
    std::uint32_t walked = 0;
    PLazyNode last = nullptr;
    while (node) {
        if (stopped()) return false;
        if (count % FineCacheStep == 0) {
            if (count % CacheThreshold == 0) {
                if (index >= slots) break;
                FPositionCache[index++] = {node, top};
            }
            FFinePositionIndex.push_back({node, top});
        }
        top += variable ? GetNodeHeight(node) : node->NodeHeight;
        last = node;
        ++count;
        ++walked;
        node = NextVisibleRow(node);
    }
    if (stopped()) return false;
    FCacheRegularEntries = index;
    if (index < slots && last) {
        FPositionCache.resize(index + 1);
        FPositionCache[index] = {last, top};
    } else {
        FPositionCache.resize(index);
    }
    if (walked >= 2 && variable && WorkerThread() && !plat::InMainThread())
        WorkerThread()->RunOnGuiThread(this, [this] { UpdateScrollBars(true); }, false);
    return walked >= 2;
}

PLazyNode TBaseLazyTree::PositionCacheLookup(std::uint32_t Position, std::uint32_t& Top) const
{
    const TCacheHit hit = CacheLookupByPosition(FPositionCache, Position);
    Top = hit.Found ? hit.Entry.AbsoluteTop : 0;
    return hit.Found ? hit.Entry.Node : nullptr;
}

PLazyNode TBaseLazyTree::PositionCacheEntryBefore(PLazyNode Node, std::uint32_t& Top) const
{
    const TCacheHit hit = CacheLookupByNode(FPositionCache, FCacheRegularEntries, Node,
                                            [this](PLazyNode A, PLazyNode B) { return CompareNodeOrder(A, B, true); });
    Top = hit.Found ? hit.Entry.AbsoluteTop : 0;
    return hit.Found ? hit.Entry.Node : nullptr;
}

PLazyNode TBaseLazyTree::GetNodeAt(int X, int Y, bool Relative, int& NodeTop)
{
    (void)X;
    std::int64_t y = std::max(Y, 0);
    if (Relative) y -= FOffsetY;
    std::uint32_t top = 0;
    PLazyNode node = nullptr;
    if (HasState(tsUseCache)) {
        const TCacheHit hit = CacheLookupByPosition(FFinePositionIndex, static_cast<std::uint32_t>(y));
        if (hit.Found) {
            node = hit.Entry.Node;
            top = hit.Entry.AbsoluteTop;
        }
    }
    if (!node) {
        node = GetFirstVisibleNoInit(nullptr, true);
        top = 0;
    }
    while (node && node != FRoot) {
        const std::uint32_t h = GetNodeHeight(node);
        if (y < std::int64_t(top) + h) break;
        top += h;
        node = NextVisibleRow(node);
    }
    if (node == FRoot) node = nullptr;
    NodeTop = node ? int(top) + (Relative ? FOffsetY : 0) : 0;
    return node;
}

std::uint32_t TBaseLazyTree::GetDisplayTop(PLazyNode Node)
{
    std::uint32_t top = 0;
    PLazyNode run = nullptr;
    if (HasState(tsUseCache) && Node && Node != FRoot) {
        // Node's ancestors from the top level down, taken once, so comparing a cached node
        // with Node walks only the cached node's own path.
        thread_local std::vector<PLazyNode> path;
        path.clear();
        for (PLazyNode p = Node; p && p != FRoot; p = p->Parent) path.push_back(p);
        std::reverse(path.begin(), path.end());
        const bool above = GetChildrenAbove();
        const std::size_t depth = path.size() - 1;
        // Display order of E against Node: negative when E comes first.
        auto compare = [&](PLazyNode E, PLazyNode) {
            if (E == Node) return 0;
            std::size_t level = 0;
            for (PLazyNode p = E; p->Parent != FRoot; p = p->Parent) ++level;
            PLazyNode a = E;
            std::size_t l = level;
            while (l > depth) {
                a = a->Parent;
                --l;
            }
            if (a == path[l])  // one holds the other: E above Node when E is the ancestor
                return (level < depth) != above ? -1 : 1;
            while (a->Parent != path[l]->Parent) {
                a = a->Parent;
                --l;
            }
            return a->Index < path[l]->Index ? -1 : 1;
        };
        // The last entry not after Node: first in the cache, then among the finer entries
        // up to the next cache entry (fine entry k * 80 is cache entry k).
        auto lastNotAfter = [&](const TCache& Entries, std::size_t Lo, std::size_t Hi) {
            const std::size_t start = Lo;
            while (Lo < Hi) {
                const std::size_t mid = Lo + (Hi - Lo) / 2;
                if (Entries[mid].Node && compare(Entries[mid].Node, Node) <= 0) Lo = mid + 1;
                else Hi = mid;
            }
            return Lo > start ? Lo - 1 : SIZE_MAX;
        };
        const std::size_t k = lastNotAfter(FPositionCache, 0, std::min<std::size_t>(FCacheRegularEntries, FPositionCache.size()));
        if (k != SIZE_MAX) {
            constexpr std::size_t perEntry = CacheThreshold / FineCacheStep;
            const std::size_t from = k * perEntry;
            std::size_t f = SIZE_MAX;
            if (from < FFinePositionIndex.size() && FFinePositionIndex[from].Node == FPositionCache[k].Node)
                f = lastNotAfter(FFinePositionIndex, from, std::min(FFinePositionIndex.size(), from + perEntry));
            const TCacheEntry& e = f != SIZE_MAX ? FFinePositionIndex[f] : FPositionCache[k];
            run = e.Node;
            top = e.AbsoluteTop;
        }
    }
    if (!run) {
        run = GetFirstVisibleNoInit(nullptr, true);
        top = 0;
    }
    while (run && run != Node) {
        top += GetNodeHeight(run);
        run = NextVisibleRow(run);
    }
    return top;
}

} // namespace vtree
