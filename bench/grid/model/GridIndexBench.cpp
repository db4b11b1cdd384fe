// Hidden rows and columns and row insertion on a grid of 1,000,000 rows x 10 columns, each
// beside a plain-container peer doing the same job: a sorted std::vector<int> of hidden rows
// searched with std::lower_bound for the row mappings, a std::vector of rows of
// std::u16string for hiding (moving rows out and back) and for inserting and removing.
// Allocation counts per call are reported as counters ("allocs").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {
std::atomic<long long> gAllocs{0};
}

// Counting replacements of the global allocation functions. GCC pairs the inlined malloc
// of one with the free of the other and warns of a mismatch that is none.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    gAllocs.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }
#pragma GCC diagnostic pop

namespace {

constexpr int kCols = 10;
constexpr int kRows = 1000000;

using PeerRows = std::vector<std::vector<std::u16string>>;

plat::TForm* Form() {
    static auto* form = new plat::TForm(nullptr);
    return form;
}

grid::TExtStringGrid* MakeGrid(int rows, int cols = kCols) {
    auto* g = new grid::TExtStringGrid(Form());
    g->SetColCount(cols);
    g->SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) g->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 100000));
    return g;
}

// One shared 1,000,000-row grid; every benchmark leaves it as it found it.
grid::TExtStringGrid* BigGrid() {
    static grid::TExtStringGrid* g = MakeGrid(kRows);
    return g;
}

PeerRows& BigPeer() {
    static PeerRows rows = [] {
        PeerRows p(kRows);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) p[static_cast<std::size_t>(r)].push_back(std::u16string(plat::IntToStr((r * 7 + c) % 100000)));
        return p;
    }();
    return rows;
}

// ---- row mappings with 100,000 hidden rows --------------------------------------------------------

void BM_RowMappings(benchmark::State& state) {
    auto* g = BigGrid();
    for (int b = 0; b < 1000; ++b) g->HideRows(b * 1000 + 5, b * 1000 + 104);  // 1,000 blocks of 100
    const int shown = g->RowCount();
    unsigned x = 12345;
    for (auto _ : state) {
        x = x * 1103515245u + 12345u;
        const int d = static_cast<int>(x % static_cast<unsigned>(shown));
        benchmark::DoNotOptimize(g->DisplRowIndex(g->RealRowIndex(d)));
    }
    state.SetItemsProcessed(state.iterations() * 2);
    g->UnHideRowsAll();
}
BENCHMARK(BM_RowMappings)->Unit(benchmark::kNanosecond);

void BM_PeerRowMappings(benchmark::State& state) {
    std::vector<int> hidden;
    for (int b = 0; b < 1000; ++b)
        for (int r = b * 1000 + 5; r <= b * 1000 + 104; ++r) hidden.push_back(r);
    const int shown = kRows - static_cast<int>(hidden.size());
    auto displ = [&](int r) { return r - static_cast<int>(std::lower_bound(hidden.begin(), hidden.end(), r) - hidden.begin()); };
    auto real = [&](int d) {
        // Same search the grid does: first i with hidden[i] - i > d.
        std::size_t lo = 0, hi = hidden.size();
        while (lo < hi) {
            const std::size_t m = lo + (hi - lo) / 2;
            if (hidden[m] - static_cast<int>(m) > d) hi = m; else lo = m + 1;
        }
        return d + static_cast<int>(lo);
    };
    unsigned x = 12345;
    for (auto _ : state) {
        x = x * 1103515245u + 12345u;
        const int d = static_cast<int>(x % static_cast<unsigned>(shown));
        benchmark::DoNotOptimize(displ(real(d)));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_PeerRowMappings)->Unit(benchmark::kNanosecond);

// ---- column mappings with 0, 10 and 500 hidden columns ---------------------------------------------

void BM_ColMappings(benchmark::State& state) {
    static grid::TExtStringGrid* g = MakeGrid(1, 600);
    const int hide = static_cast<int>(state.range(0));
    for (int i = 0; i < hide; ++i) g->HideColumn(i * 511 / std::max(hide, 1));
    const int shown = g->ColCount();
    unsigned x = 777;
    for (auto _ : state) {
        x = x * 1103515245u + 12345u;
        const int d = static_cast<int>(x % static_cast<unsigned>(shown));
        benchmark::DoNotOptimize(g->DisplColIndex(g->RealColIndex(d)));
    }
    state.SetItemsProcessed(state.iterations() * 2);
    g->UnHideColumnsAll();
}
BENCHMARK(BM_ColMappings)->Arg(0)->Arg(10)->Arg(500)->Unit(benchmark::kNanosecond);

// ---- hiding ------------------------------------------------------------------------------------------

// Hiding and showing a 100,000-row block are timed apart, each against the peer's erase
// and insert of the same block.
void BM_HideRowsBlock(benchmark::State& state) {
    auto* g = BigGrid();
    for (auto _ : state) {
        g->HideRows(100000, 199999);
        state.PauseTiming();
        g->UnHideRows(100000, 199999);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HideRowsBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_UnHideRowsBlock(benchmark::State& state) {
    auto* g = BigGrid();
    for (auto _ : state) {
        state.PauseTiming();
        g->HideRows(100000, 199999);
        state.ResumeTiming();
        g->UnHideRows(100000, 199999);
    }
}
BENCHMARK(BM_UnHideRowsBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PeerHideRowsBlock(benchmark::State& state) {
    PeerRows& p = BigPeer();
    for (auto _ : state) {
        PeerRows out(std::make_move_iterator(p.begin() + 100000), std::make_move_iterator(p.begin() + 200000));
        p.erase(p.begin() + 100000, p.begin() + 200000);
        state.PauseTiming();
        p.insert(p.begin() + 100000, std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PeerHideRowsBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PeerUnHideRowsBlock(benchmark::State& state) {
    PeerRows& p = BigPeer();
    for (auto _ : state) {
        state.PauseTiming();
        PeerRows out(std::make_move_iterator(p.begin() + 100000), std::make_move_iterator(p.begin() + 200000));
        p.erase(p.begin() + 100000, p.begin() + 200000);
        state.ResumeTiming();
        p.insert(p.begin() + 100000, std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()));
    }
}
BENCHMARK(BM_PeerUnHideRowsBlock)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_HideOneRowNearTheTop(benchmark::State& state) {
    auto* g = BigGrid();
    for (auto _ : state) {
        g->HideRow(10);
        g->UnHideRow(10);
    }
}
BENCHMARK(BM_HideOneRowNearTheTop)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PeerHideOneRowNearTheTop(benchmark::State& state) {
    PeerRows& p = BigPeer();
    for (auto _ : state) {
        std::vector<std::u16string> row = std::move(p[10]);
        p.erase(p.begin() + 10);
        p.insert(p.begin() + 10, std::move(row));
    }
}
BENCHMARK(BM_PeerHideOneRowNearTheTop)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_UnHideRowsAllAfterScatteredRows(benchmark::State& state) {
    auto* g = BigGrid();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 1000; ++i) g->HideRow(i * 997 + 3);
        state.ResumeTiming();
        g->UnHideRowsAll();
    }
}
BENCHMARK(BM_UnHideRowsAllAfterScatteredRows)->Unit(benchmark::kMillisecond)->Iterations(2);

// ---- inserting and removing --------------------------------------------------------------------------

void BM_InsertRemoveRow(benchmark::State& state) {
    static grid::TExtStringGrid* small = MakeGrid(10000);
    auto* g = state.range(0) == kRows ? BigGrid() : small;
    long long allocs = 0;
    for (auto _ : state) {
        const long long before = gAllocs.load();
        g->InsertRows(1, 1);
        g->RemoveRows(1, 1);
        allocs += gAllocs.load() - before;
    }
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocs), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InsertRemoveRow)->Arg(10000)->Arg(kRows)->Unit(benchmark::kMillisecond);

void BM_PeerInsertEraseRow(benchmark::State& state) {
    PeerRows& p = BigPeer();
    for (auto _ : state) {
        p.insert(p.begin() + 1, std::vector<std::u16string>());
        p.erase(p.begin() + 1);
    }
}
BENCHMARK(BM_PeerInsertEraseRow)->Unit(benchmark::kMillisecond);

// ---- memory ------------------------------------------------------------------------------------------

// Bytes per cell of a text-only column grid beside a bare cell store holding the same texts.
void BM_MemoryPerCell(benchmark::State& state) {
    auto* g = new grid::TExtColumnGrid(Form());
    const int rows = 100000;
    g->SetColCount(kCols);
    g->SetRowCount(rows);
    plat::TGridCellStore bare;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) {
            const plat::String t = plat::IntToStr((r * 7 + c) % 100000);
            g->SetGridCell(c, r, t);
            bare.SetCell(c, r, t);
        }
    for (auto _ : state) benchmark::DoNotOptimize(g->Store().MemoryUsage());
    const double cells = static_cast<double>(rows) * kCols;
    state.counters["grid_bytes_per_cell"] = static_cast<double>(g->Store().MemoryUsage()) / cells;
    state.counters["store_bytes_per_cell"] = static_cast<double>(bare.MemoryUsage()) / cells;
    delete g;
}
BENCHMARK(BM_MemoryPerCell)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
