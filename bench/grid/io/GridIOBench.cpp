// The string grid's delimited text and native cell file at 100,000 and 1,000,000 rows of 10
// cells, and AssignCells of a rule-editor-sized grid. The peer is Python's csv module on
// the same cells (csv_peer.py, run by run_csv_peer.sh). Load figures report the resident
// memory the load added beyond the grid it filled as a multiple of the file's size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "ExtGrid.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

constexpr int kCols = 10;

// The cell text at (c, r): what csv_peer.py writes too.
plat::String CellText(int c, int r) { return plat::IntToStr((static_cast<long long>(r) * kCols + c) % 1000003); }

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtStringGrid* grid = nullptr;
};

grid::TExtStringGrid* NewGrid(Setup& s) {
    if (!s.form) s.form = std::make_unique<plat::TForm>(nullptr);
    auto* g = new grid::TExtStringGrid(s.form.get());
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    return g;
}

// One filled grid per row count, kept for the whole run.
grid::TExtStringGrid& Filled(int rows) {
    static std::map<int, Setup> grids;
    Setup& s = grids[rows];
    if (!s.grid) {
        s.grid = NewGrid(s);
        s.grid->SetColCount(kCols);
        s.grid->SetRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) s.grid->SetGridCell(c, r, CellText(c, r));
    }
    return *s.grid;
}

std::string Path(const char* kind, int rows) {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/bench_grid_io_" + kind + "_" + std::to_string(rows);
}

long ResidentKiB() {
    std::ifstream f("/proc/self/status");
    std::string key;
    long v = 0;
    while (f >> key) {
        if (key == "VmRSS:") {
            f >> v;
            return v;
        }
        f.ignore(1 << 10, '\n');
    }
    return 0;
}

long PeakKiB() {
    std::ifstream f("/proc/self/status");
    std::string key;
    long v = 0;
    while (f >> key) {
        if (key == "VmHWM:") {
            f >> v;
            return v;
        }
        f.ignore(1 << 10, '\n');
    }
    return 0;
}

// Sets the peak to the current resident size.
void ResetPeak() {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (f) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

std::int64_t FileSize(const std::string& p) {
    std::ifstream f(p, std::ios::binary | std::ios::ate);
    return f ? static_cast<std::int64_t>(f.tellg()) : 0;
}

void BM_SaveToCSV(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    grid::TExtStringGrid& g = Filled(rows);
    const std::string p = Path("csv", rows);
    for (auto _ : state) g.SaveToCSV(plat::Utf8ToString(p), false);
    state.counters["cells/s"] = benchmark::Counter(static_cast<double>(rows) * kCols, benchmark::Counter::kIsIterationInvariantRate);
}

// A grid of the file's size exists before the timed loads, so each load fills cells
// instead of growing the grid; the memory counter is the peak beyond the filled grid.
template <class Load>
void LoadBench(benchmark::State& state, const char* kind, Load load) {
    const int rows = static_cast<int>(state.range(0));
    const std::string p = Path(kind, rows);
    Setup s;
    grid::TExtStringGrid* g = NewGrid(s);
    load(*g, plat::Utf8ToString(p));  // the grid at its full size
    double extra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = ResidentKiB();
        ResetPeak();
        state.ResumeTiming();
        load(*g, plat::Utf8ToString(p));
        state.PauseTiming();
        extra = static_cast<double>(PeakKiB() - before) * 1024.0;
        state.ResumeTiming();
    }
    state.counters["cells/s"] = benchmark::Counter(static_cast<double>(rows) * kCols, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak/file"] = extra / static_cast<double>(FileSize(p));
}

void BM_LoadFromCSV(benchmark::State& state) {
    Filled(static_cast<int>(state.range(0))).SaveToCSV(plat::Utf8ToString(Path("csv", static_cast<int>(state.range(0)))), false);
    LoadBench(state, "csv", [](grid::TExtStringGrid& g, const plat::String& f) { g.LoadFromCSV(f); });
}

void BM_SaveToFile(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    grid::TExtStringGrid& g = Filled(rows);
    const std::string p = Path("native", rows);
    for (auto _ : state) g.SaveToFile(plat::Utf8ToString(p), false);
    state.counters["cells/s"] = benchmark::Counter(static_cast<double>(rows) * kCols, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadFromFile(benchmark::State& state) {
    Filled(static_cast<int>(state.range(0))).SaveToFile(plat::Utf8ToString(Path("native", static_cast<int>(state.range(0)))), false);
    LoadBench(state, "native", [](grid::TExtStringGrid& g, const plat::String& f) { g.LoadFromFile(f); });
}

// A grid the size of the rule editors' tables, with a fixed row and column.
void BM_AssignCells(benchmark::State& state) {
    Setup s;
    grid::TExtStringGrid* src = NewGrid(s);
    src->SetColCount(16);
    src->SetRowCount(1025);
    src->SetFixedRows(1);
    src->SetFixedCols(1);
    for (int r = 0; r < 1025; ++r)
        for (int c = 0; c < 16; ++c) src->SetGridCell(c, r, CellText(c, r));
    grid::TExtStringGrid* dst = NewGrid(s);
    for (auto _ : state) dst->AssignCells(src);
}

} // namespace

BENCHMARK(BM_SaveToCSV)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadFromCSV)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveToFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadFromFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AssignCells)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (int rows : {100000, 1000000})
        for (const char* kind : {"csv", "native"}) std::remove(Path(kind, rows).c_str());
    return 0;
}
