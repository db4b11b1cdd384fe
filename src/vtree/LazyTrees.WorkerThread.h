#pragma once
// The one thread that builds the position caches of all trees of the process.
// - Trees queue themselves (AddTree, once per tree while waiting) and are served in request
//   order; the work signal is counted, one per queued tree.
// - The worker changes a tree's cache states only through the tree's message 0x8020, sent
//   to its window (a call through the GUI thread's queue when the window has gone), or hands
//   the closing change to the GUI thread waiting for it in RemoveTree, so every state change
//   happens on the GUI thread while the worker waits.
// - RemoveTree waits until the worker has left the tree, running the GUI-thread calls the
//   worker waits for meanwhile, so neither side can block the other. The worker checks the
//   stop state before every node and wakes the waiting GUI thread when it leaves, so a stop
//   costs one thread wake-up, not a polling period.
// - Node initialisation and measuring requested by a build run on the GUI thread.
// Synchronisation uses the standard library only, so race detectors see all of it.
#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vtree {

class TBaseLazyTree;

class TWorkerThread {
public:
    TWorkerThread();
    ~TWorkerThread();
    TWorkerThread(const TWorkerThread&) = delete;
    TWorkerThread& operator=(const TWorkerThread&) = delete;

    void AddTree(TBaseLazyTree* Tree);
    void RemoveTree(TBaseLazyTree* Tree);
    TBaseLazyTree* CurrentTree() const { return FCurrentTree.load(std::memory_order_acquire); }
    // True on the GUI thread while it runs a measurement the worker waits for, for Tree.
    static bool MeasuringFor(const TBaseLazyTree* Tree);
    // Runs Call on the GUI thread and waits; the worker's only way to touch GUI state.
    void RunOnGuiThread(TBaseLazyTree* Tree, const std::function<void()>& Call, bool Measuring);
    // Builds served so far (for tests of the request order).
    unsigned long Served() const { return FServed.load(); }
    std::thread::id ThreadId() const { return FThread.get_id(); }

private:
    void Execute();
    // Enters and leaves cache states of Tree on the GUI thread and waits for it.
    void SendTreeStateChange(TBaseLazyTree* Tree, std::uint64_t Enter, std::uint64_t Leave);
    // The closing state change of a build, on the GUI thread.
    static void FinishBuild(TBaseLazyTree* Tree, std::uint64_t Enter);
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FWork;
    // Signalled when the worker leaves a tree and before it hands a call to the GUI thread,
    // so a GUI thread waiting in RemoveTree wakes at once for either.
    std::condition_variable FLeft;
    // Calls the worker handed to the GUI thread, and those of them that started there.
    unsigned long FGuiCallsAnnounced = 0;
    unsigned long FGuiCallsRun = 0;
    // State messages the worker sent, those it saw answered, and the count at the last one a
    // waiting RemoveTree ran itself.
    unsigned long FStateMessagesSent = 0;
    unsigned long FStateMessagesDone = 0;
    unsigned long FStateMessagesPeeked = 0;
    // The tree a GUI thread waits for in RemoveTree. The worker leaving it hands its closing
    // state change to that waiting GUI thread instead of a round trip through the call queue.
    TBaseLazyTree* FWaitedFor = nullptr;
    TBaseLazyTree* FHandedOver = nullptr;
    std::uint64_t FHandedOverEnter = 0;
    std::deque<TBaseLazyTree*> FWaiterList;
    std::atomic<TBaseLazyTree*> FCurrentTree{nullptr};
    std::atomic<unsigned long> FServed{0};
    bool FTerminated = false;
    unsigned FSignals = 0;
};

// Every tree's constructor acquires the worker (creating it for the first tree); the
// destructor releases it, and the last release ends the thread.
void AcquireWorkerThread();
void ReleaseWorkerThread(TBaseLazyTree* Tree);
TWorkerThread* WorkerThread();

} // namespace vtree
