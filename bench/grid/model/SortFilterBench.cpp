// Sorting and filtering a string grid of 100,000 and 1,000,000 rows of 10 columns, beside
// the toolkit's sort and filter proxy over its standard item model holding the sorted or
// filtered column (numbers held as numbers for the numeric sort).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/peers/SortFilterPeer.h"

namespace {

constexpr int kCols = 10;
constexpr int kTextCol = 1, kNumberCol = 2;

struct Data {
    std::vector<std::u16string> texts;
    std::vector<double> numbers;
};

const Data& DataOf(int rows) {
    static std::map<int, Data> cache;
    auto [it, fresh] = cache.try_emplace(rows);
    if (fresh) {
        std::mt19937 rng(42);
        for (int r = 0; r < rows; ++r) {
            std::u16string t;
            const int len = 5 + int(rng() % 5);
            for (int i = 0; i < len; ++i) t += char16_t(u'a' + rng() % 26);
            it->second.texts.push_back(t);
            it->second.numbers.push_back(double(rng() % 10000000) / 100.0);
        }
    }
    return it->second;
}

struct GridSetup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtStringGrid* grid = nullptr;
};

grid::TExtStringGrid& GridOf(int rows) {
    static std::map<int, GridSetup> cache;
    auto [it, fresh] = cache.try_emplace(rows);
    if (fresh) {
        const Data& d = DataOf(rows);
        GridSetup& s = it->second;
        s.form = std::make_unique<plat::TForm>(nullptr);
        s.grid = new grid::TExtStringGrid(s.form.get());
        s.grid->SetColCount(kCols);
        s.grid->SetRowCount(rows + 1);
        s.grid->SetFixedRows(1);
        s.grid->SetFixedCols(1);
        plat::TGridCellStore& store = s.grid->Store();
        store.SetColCountHint(kCols);
        for (int r = 0; r < rows; ++r) {
            store.SetCell(0, r + 1, plat::IntToStr(r));
            store.SetCell(kTextCol, r + 1, d.texts[std::size_t(r)]);
            store.SetCell(kNumberCol, r + 1, plat::FloatToStr(d.numbers[std::size_t(r)], plat::TFormatSettings{}));
            for (int c = 3; c < kCols; ++c) store.SetCell(c, r + 1, u"c" + plat::IntToStr(c));
        }
        grid::TFilterData* f = s.grid->Filter()->Add();
        f->Column = kTextCol;
        f->Condition = u"*ab*";
    }
    return *it->second.grid;
}

void SortBench(benchmark::State& state, int col) {
    grid::TExtStringGrid& g = GridOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        g.QUnSort();
        state.ResumeTiming();
        g.Sort(col, grid::sdAscending);
    }
    state.counters["rows"] = double(state.range(0));
}
void BM_QSortText(benchmark::State& state) { SortBench(state, kTextCol); }
void BM_QSortNumeric(benchmark::State& state) { SortBench(state, kNumberCol); }

void BM_QUnSort(benchmark::State& state) {
    grid::TExtStringGrid& g = GridOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        g.Sort(kTextCol, grid::sdAscending);
        state.ResumeTiming();
        g.QUnSort();
    }
}

void BM_FilterOn(benchmark::State& state) {
    grid::TExtStringGrid& g = GridOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        g.SetFilterActive(false);
        state.ResumeTiming();
        g.SetFilterActive(true);
    }
    state.counters["shown"] = double(g.RowCount());
    g.SetFilterActive(false);
}

void BM_FilterOff(benchmark::State& state) {
    grid::TExtStringGrid& g = GridOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        g.SetFilterActive(true);
        state.ResumeTiming();
        g.SetFilterActive(false);
    }
}

void BM_NarrowDownStep(benchmark::State& state) {
    grid::TExtStringGrid& g = GridOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        g.NarrowDown(u"", kTextCol);
        g.NarrowDown(u"a", kTextCol);
        state.ResumeTiming();
        g.NarrowDown(u"ab", kTextCol);
    }
    state.counters["shown"] = double(g.RowCount());
    g.NarrowDown(u"", kTextCol);
}

// The peers are built once per process and size, like the grids.
plat::peers::SortFilterPeer& TextPeerOf(int rows) {
    static std::map<int, std::unique_ptr<plat::peers::SortFilterPeer>> cache;
    auto& p = cache[rows];
    if (!p) p = std::make_unique<plat::peers::SortFilterPeer>(DataOf(rows).texts);
    return *p;
}

plat::peers::SortFilterPeer& NumberPeerOf(int rows) {
    static std::map<int, std::unique_ptr<plat::peers::SortFilterPeer>> cache;
    auto& p = cache[rows];
    if (!p) p = std::make_unique<plat::peers::SortFilterPeer>(DataOf(rows).numbers);
    return *p;
}

void BM_PeerSortText(benchmark::State& state) {
    plat::peers::SortFilterPeer& peer = TextPeerOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        peer.UnSort();
        state.ResumeTiming();
        peer.Sort(true);
    }
}

void BM_PeerSortNumeric(benchmark::State& state) {
    plat::peers::SortFilterPeer& peer = NumberPeerOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        peer.UnSort();
        state.ResumeTiming();
        peer.Sort(true);
    }
}

void BM_PeerFilterWildcard(benchmark::State& state) {
    plat::peers::SortFilterPeer& peer = TextPeerOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        peer.FilterWildcard(u"");
        state.ResumeTiming();
        benchmark::DoNotOptimize(peer.FilterWildcard(u"*ab*"));
    }
    state.counters["shown"] = double(peer.RowCount());
    peer.FilterWildcard(u"");
}

#define SIZES ->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3)
#define PEER_SIZES ->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3)
BENCHMARK(BM_QSortText) SIZES;
BENCHMARK(BM_PeerSortText) PEER_SIZES;
BENCHMARK(BM_QSortNumeric) SIZES;
BENCHMARK(BM_PeerSortNumeric) PEER_SIZES;
BENCHMARK(BM_QUnSort) SIZES;
BENCHMARK(BM_FilterOn) SIZES;
BENCHMARK(BM_FilterOff) SIZES;
BENCHMARK(BM_PeerFilterWildcard) PEER_SIZES;
BENCHMARK(BM_NarrowDownStep) SIZES;

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
