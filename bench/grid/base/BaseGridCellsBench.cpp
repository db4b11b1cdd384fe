// Cells read and written through the grid base (merge-aware, display hooks), the calls every
// table editor makes for each cell it loads and saves.
#include <benchmark/benchmark.h>

#include <memory>

#include "BaseGrid.h"
#include "plat/Forms.h"

namespace {

void BM_SetCellEx(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    for (auto _ : state) {
        auto form = std::make_unique<plat::TForm>(nullptr);
        auto* g = new grid::TBaseGrid(form.get());
        g->SetColCount(cols);
        g->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) g->SetCellEx(c, r, (r + c) % 2 ? u"Y" : u"Topic/Sensor/1");
    }
    state.counters["cells_per_s"] =
        benchmark::Counter(static_cast<double>(rows) * cols * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_GetCellEx(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
    auto form = std::make_unique<plat::TForm>(nullptr);
    auto* g = new grid::TBaseGrid(form.get());
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetNormalRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g->SetCellEx(c, r, (r + c) % 2 ? u"Y" : u"Topic/Sensor/1");
    g->MergeCells(2, 3, 3, 2);
    for (auto _ : state) {
        std::size_t n = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) n += g->GetCellEx(c, r).size();
        benchmark::DoNotOptimize(n);
    }
    state.counters["cells_per_s"] =
        benchmark::Counter(static_cast<double>(rows) * cols * state.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_SetCellEx)->Args({1025, 16})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetCellEx)->Args({1025, 16})->Unit(benchmark::kMillisecond);
