// Set and get of every cell of a rule table (1025 x 16) and of a large grid
// (1,000,000 x 10), with the store's memory per cell.
#include <benchmark/benchmark.h>

#include "plat/Grids.h"

namespace {

const plat::String kTexts[] = {u"Y", u"1", u"255", u"Topic/Sensor/Temperature", u"192.168.2.205", u"N"};

void Fill(plat::TGridCellStore& s, int rows, int cols) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) s.SetCell(c, r, kTexts[(r + c) % 6]);
}

void BM_SetCells(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    std::size_t bytes = 0;
    for (auto _ : state) {
        plat::TGridCellStore s;
        Fill(s, rows, cols);
        bytes = s.MemoryUsage();
        benchmark::DoNotOptimize(bytes);
    }
    const double cells = static_cast<double>(rows) * cols;
    state.counters["bytes_per_cell"] = static_cast<double>(bytes) / cells;
    state.counters["cells_per_s"] = benchmark::Counter(cells * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_GetCells(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    plat::TGridCellStore s;
    Fill(s, rows, cols);
    for (auto _ : state) {
        std::size_t total = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) total += s.CellView(c, r).size();
        benchmark::DoNotOptimize(total);
    }
    const double cells = static_cast<double>(rows) * cols;
    state.counters["bytes_per_cell"] = static_cast<double>(s.MemoryUsage()) / cells;
    state.counters["cells_per_s"] = benchmark::Counter(cells * state.iterations(), benchmark::Counter::kIsRate);
}

// Text-only short cells ("Y"/"N" check columns): no block of their own.
void BM_SetShortCells(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    std::size_t bytes = 0;
    for (auto _ : state) {
        plat::TGridCellStore s;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) s.SetCell(c, r, (r + c) % 2 ? u"Y" : u"N");
        bytes = s.MemoryUsage();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes_per_cell"] = static_cast<double>(bytes) / (static_cast<double>(rows) * cols);
}

} // namespace

BENCHMARK(BM_SetCells)->Args({1025, 16})->Args({1000000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetCells)->Args({1025, 16})->Args({1000000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetShortCells)->Args({1000000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
