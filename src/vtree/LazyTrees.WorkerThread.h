#pragma once
// The one thread that builds the position caches of all trees of the process.
// - Trees queue themselves (AddTree, once per tree while waiting) and are served in request
//   order; the work signal is counted, one per queued tree.
// - The worker changes a tree's cache states only through a call the GUI thread runs while
//   the worker waits, so every state change happens on the GUI thread.
// - RemoveTree waits until the worker has left the tree, running the GUI-thread calls the
//   worker waits for meanwhile, so neither side can block the other.
// - Node initialisation and measuring requested by a build run on the GUI thread.
// Synchronisation uses the standard library only, so race detectors see all of it.
#include <atomic>
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
    std::thread FThread;
    std::mutex FLock;
    std::condition_variable FWork;
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
