#include <benchmark/benchmark.h>

#include "LazyTrees.Utils.h"
#include "plat/Graphics.h"

namespace {

void Fill(plat::TBitmap& b, std::uint8_t seed)
{
    b.SetPixelFormat(plat::pf32bit);
    for (int y = 0; y < b.Height(); ++y) {
        auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
        for (int i = 0; i < b.Width() * 4; ++i)
            row[i] = static_cast<std::uint8_t>(seed + i * 7 + y);
    }
}

void BM_Blend256(benchmark::State& state)
{
    const auto mode = static_cast<vtree::TAlphaAreaMode>(state.range(0));
    plat::TBitmap source(256, 256), dest(256, 256);
    Fill(source, 3);
    Fill(dest, 91);
    for (auto _ : state) {
        vtree::AlphaBlendArea(&source, &dest, {0, 0, 256, 256}, {0, 0}, mode, 128,
                              mode == vtree::amMasterColor ? plat::RGB(10, 80, 200) : 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}

} // namespace

BENCHMARK(BM_Blend256)->DenseRange(0, 3)->ArgName("mode");
BENCHMARK_MAIN();
