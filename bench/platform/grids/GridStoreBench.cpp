// The cell store beside its peer, a std::vector<std::vector<std::u16string>> of rows doing the
// same job in the same run: filling and reading every cell of a rule table (1025 x 16) and of
// large grids (10^4 .. 10^6 rows x 10) on a warm heap, the heap each holds per cell, one row
// inserted and removed near the top, and the fill in a fresh process (a child started per
// repetition, so the heap has never held a grid before and every page is touched anew).
//
// Counters: heap_bytes_per_cell is what malloc hands out while the grid lives, chunk
// overhead included, measured the same way for both; allocs_per_call counts malloc calls.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plat/Grids.h"

namespace {

std::atomic<std::size_t> gAllocs{0};

} // namespace

// Every allocation of the process passes here (operator new included).
extern "C" void* __libc_malloc(std::size_t n) noexcept;
extern "C" void* malloc(std::size_t n) noexcept {
    gAllocs.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}

namespace {

using Peer = std::vector<std::vector<std::u16string>>;

const plat::String kMixed[] = {u"Y", u"1", u"255", u"Topic/Sensor/Temperature", u"192.168.2.205", u"N"};
// Check-box columns: "Y"/"N" only.
const plat::String kShort[] = {u"Y", u"N", u"Y", u"N", u"Y", u"N"};
const plat::String* kTexts = kMixed;

std::size_t HeapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

// The store as the grid uses it: the column count is known before the first cell.
void FillStore(plat::TGridCellStore& s, int rows, int cols, bool knownCols) {
    if (knownCols) s.SetColCountHint(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) s.SetCell(c, r, kTexts[(r + c) % 6]);
}

void FillPeer(Peer& v, int rows, int cols) {
    v.resize(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        auto& row = v[static_cast<std::size_t>(r)];
        row.resize(static_cast<std::size_t>(cols));
        for (int c = 0; c < cols; ++c) row[static_cast<std::size_t>(c)] = kTexts[(r + c) % 6];
    }
}

template <class Grid, class FillFn>
void RunFill(benchmark::State& state, FillFn fill) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    std::size_t bytes = 0;
    {
        // The heap of a program that has held such a grid before.
        auto g = std::make_unique<Grid>();
        fill(*g, rows, cols);
    }
    for (auto _ : state) {
        auto g = std::make_unique<Grid>();
        const std::size_t before = HeapInUse();
        fill(*g, rows, cols);
        benchmark::ClobberMemory();
        state.PauseTiming();
        bytes = HeapInUse() - before;
        g.reset();
        state.ResumeTiming();
    }
    const double cells = static_cast<double>(rows) * cols;
    state.counters["heap_bytes_per_cell"] = static_cast<double>(bytes) / cells;
    state.counters["ns_per_cell"] = benchmark::Counter(cells * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Fill_Peer(benchmark::State& state) { RunFill<Peer>(state, FillPeer); }
void BM_Fill_Store(benchmark::State& state) {
    RunFill<plat::TGridCellStore>(state, [](plat::TGridCellStore& s, int r, int c) { FillStore(s, r, c, true); });
}
void BM_Fill_StoreUnknownCols(benchmark::State& state) {
    RunFill<plat::TGridCellStore>(state, [](plat::TGridCellStore& s, int r, int c) { FillStore(s, r, c, false); });
}

void BM_FillShort_Peer(benchmark::State& state) {
    kTexts = kShort;
    RunFill<Peer>(state, FillPeer);
    kTexts = kMixed;
}
void BM_FillShort_Store(benchmark::State& state) {
    kTexts = kShort;
    RunFill<plat::TGridCellStore>(state, [](plat::TGridCellStore& s, int r, int c) { FillStore(s, r, c, true); });
    kTexts = kMixed;
}

void BM_Read_Peer(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    Peer v;
    FillPeer(v, rows, cols);
    for (auto _ : state) {
        std::size_t total = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) total += v[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)].size();
        benchmark::DoNotOptimize(total);
    }
    state.counters["ns_per_cell"] = benchmark::Counter(static_cast<double>(rows) * cols * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Read_Store(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    plat::TGridCellStore s;
    FillStore(s, rows, cols, true);
    for (auto _ : state) {
        std::size_t total = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) total += s.CellView(c, r).size();
        benchmark::DoNotOptimize(total);
    }
    state.counters["ns_per_cell"] = benchmark::Counter(static_cast<double>(rows) * cols * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["store_bytes_per_cell"] = static_cast<double>(s.MemoryUsage()) / (static_cast<double>(rows) * cols);
}

// One empty row inserted at row 1 and removed again; the allocations of both calls.
void BM_InsertRemoveRow_Peer(benchmark::State& state) {
    Peer v;
    FillPeer(v, static_cast<int>(state.range(0)), 10);
    std::size_t allocs = 0;
    for (auto _ : state) {
        const std::size_t before = gAllocs.load(std::memory_order_relaxed);
        v.insert(v.begin() + 1, std::vector<std::u16string>());
        v.erase(v.begin() + 1);
        allocs = gAllocs.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs_per_call"] = static_cast<double>(allocs) / 2;
}

void BM_InsertRemoveRow_Store(benchmark::State& state) {
    plat::TGridCellStore s;
    FillStore(s, static_cast<int>(state.range(0)), 10, true);
    std::size_t allocs = 0;
    for (auto _ : state) {
        const std::size_t before = gAllocs.load(std::memory_order_relaxed);
        s.InsertRows(1, 1);
        s.RemoveRows(1, 1);
        allocs = gAllocs.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs_per_call"] = static_cast<double>(allocs) / 2;
}

// ---- fresh process ---------------------------------------------------------------------------

const char* gSelf = nullptr;

// Child: fills one grid and prints the fill time in ns, the peak RSS in KiB and the heap bytes.
int FreshChild(const char* kind, int rows, int cols) {
    const std::size_t before = HeapInUse();
    const auto t0 = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    long long ns = 0;
    if (std::strcmp(kind, "peer") == 0) {
        auto* v = new Peer;
        FillPeer(*v, rows, cols);
        ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - t0).count();
        bytes = HeapInUse() - before;
    } else {
        auto* s = new plat::TGridCellStore;
        FillStore(*s, rows, cols, std::strcmp(kind, "store") == 0);
        ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - t0).count();
        bytes = HeapInUse() - before;
    }
    // The peak of this process image only (getrusage would also count the parent's before
    // the exec).
    long hwm = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %ld", &hwm) == 1) break;
        std::fclose(f);
    }
    std::printf("%lld %ld %zu\n", ns, hwm, bytes);
    return 0;  // the grid is left to the process exit, as neither side's teardown is timed
}

void RunFresh(benchmark::State& state, const char* kind) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    const std::string r = std::to_string(rows), c = std::to_string(cols);
    long rss = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        posix_spawn_file_actions_addclose(&fa, fds[0]);
        char* argv[] = {const_cast<char*>(gSelf), const_cast<char*>("--fresh-fill"), const_cast<char*>(kind),
                        const_cast<char*>(r.c_str()), const_cast<char*>(c.c_str()), nullptr};
        pid_t pid = 0;
        const int rc = posix_spawn(&pid, gSelf, &fa, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        char buf[128] = {};
        std::size_t got = 0;
        for (ssize_t n; got + 1 < sizeof buf && (n = read(fds[0], buf + got, sizeof buf - 1 - got)) > 0;)
            got += static_cast<std::size_t>(n);
        close(fds[0]);
        int status = 0;
        if (rc == 0) waitpid(pid, &status, 0);
        long long ns = 0;
        if (rc != 0 || std::sscanf(buf, "%lld %ld %zu", &ns, &rss, &bytes) != 3) {
            state.SkipWithError("child failed");
            return;
        }
        state.SetIterationTime(static_cast<double>(ns) * 1e-9);
    }
    const double cells = static_cast<double>(rows) * cols;
    state.counters["peak_rss_bytes_per_cell"] = static_cast<double>(rss) * 1024.0 / cells;
    state.counters["heap_bytes_per_cell"] = static_cast<double>(bytes) / cells;
}

void BM_FreshFill_Peer(benchmark::State& state) { RunFresh(state, "peer"); }
void BM_FreshFill_Store(benchmark::State& state) { RunFresh(state, "store"); }

void LargeGrids(benchmark::internal::Benchmark* b) {
    b->Args({1025, 16})->Args({10000, 10})->Args({100000, 10})->Args({1000000, 10})->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Fill_Peer)->Apply(LargeGrids);
BENCHMARK(BM_Fill_Store)->Apply(LargeGrids);
BENCHMARK(BM_Fill_StoreUnknownCols)->Apply(LargeGrids);
BENCHMARK(BM_FillShort_Peer)->Args({1000000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillShort_Store)->Args({1000000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Peer)->Apply(LargeGrids);
BENCHMARK(BM_Read_Store)->Apply(LargeGrids);
BENCHMARK(BM_InsertRemoveRow_Peer)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertRemoveRow_Store)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FreshFill_Peer)->Args({1000000, 10})->UseManualTime()->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshFill_Store)->Args({1000000, 10})->UseManualTime()->Iterations(1)->Repetitions(7)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--fresh-fill") == 0)
        return FreshChild(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    gSelf = "/proc/self/exe";
    // A warm heap keeps what it held: freed memory is not handed back to the system between
    // iterations (a fresh process is measured by the child above, with malloc's defaults).
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
