// Cost of handing calls to the main thread and of event hand-offs between threads.
#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

#include "plat/Threads.h"

namespace {

using namespace plat;

class CallsThread : public TThread {
public:
    CallsThread(int Count, bool Queued) : TThread(true), count_(Count), queued_(Queued) {}
    ~CallsThread() override
    {
        if (!Suspended()) WaitFor();
    }
    int Sum = 0;

protected:
    void Execute() override
    {
        for (int i = 0; i < count_; ++i) {
            if (queued_) Queue([this] { ++Sum; });
            else Synchronize([this] { ++Sum; });
        }
    }

private:
    int count_;
    bool queued_;
};

// A worker making 1000 synchronised calls while the main thread waits for it in WaitFor.
void BM_SynchronizeDuringWaitFor(benchmark::State& state)
{
    for (auto _ : state) {
        CallsThread t(1000, false);
        t.Start();
        t.WaitFor();
        benchmark::DoNotOptimize(t.Sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_SynchronizeDuringWaitFor)->Unit(benchmark::kMillisecond);

// 1000 queued calls from a worker, run by the main thread.
void BM_QueueThenWaitFor(benchmark::State& state)
{
    for (auto _ : state) {
        CallsThread t(1000, true);
        t.Start();
        t.WaitFor();
        benchmark::DoNotOptimize(t.Sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_QueueThenWaitFor)->Unit(benchmark::kMillisecond);

// Ping-pong of two auto-reset events between two threads.
void BM_AutoResetEventPingPong(benchmark::State& state)
{
    TEvent ping(false, false), pong(false, false);
    std::atomic<bool> stop{false};
    std::thread other([&] {
        while (ping.WaitFor() == wrSignaled && !stop) pong.SetEvent();
    });
    for (auto _ : state) {
        ping.SetEvent();
        pong.WaitFor();
    }
    state.SetItemsProcessed(state.iterations());
    stop = true;
    ping.SetEvent();
    other.join();
}
BENCHMARK(BM_AutoResetEventPingPong);

} // namespace
BENCHMARK_MAIN();
