// Figures of the drop-down editors' item lists.
// (3) The selector's relayout: every caption measured as markup, the item size from the
//     largest and the items placed in one column, for 1,000 and 10,000 plain captions; beside
//     the same job with the captions measured as plain text. Goal: 1,000 within 15 ms, and
//     10,000 within 11 times the 1,000 figure (linear). "cold" passes measure captions never
//     measured before (a first opening); the others measure the same captions again, which
//     the layer's text-width cache answers while the captions fit into it.
// Peer of the list opening: the toolkit's list widget holding the same captions, shown as a
// pop-up and painted once, for 1,000 and 10,000 items.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "DropDownDraw.h"
#include "ExtItemSelector.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/SysUtils.h"
#include "plat/peers/ListPopupPeer.h"

using namespace dropdown;
using namespace plat;

namespace {

std::vector<String> Captions(int Count, int Pass = 0)
{
    std::vector<String> c;
    c.reserve(Count);
    const String tail = u" of list " + IntToStr(Pass);
    for (int i = 0; i < Count; ++i) c.push_back(u"Item " + IntToStr(i) + tail);
    return c;
}

// state.range(0): items; range(1): 1 = captions never measured before in every pass.
template <class Measure>
void Relayout(benchmark::State& state, Measure measure)
{
    const int count = static_cast<int>(state.range(0));
    const bool cold = state.range(1) != 0;
    static int pass = 0;
    std::vector<String> captions = Captions(count, ++pass);
    TCanvas canvas;
    const TSelectorMetrics m;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            captions = Captions(count, ++pass);
            state.ResumeTiming();
        }
        TSize largest{0, 0};
        for (const String& c : captions) {
            const TSize s = measure(canvas, c);
            largest.cx = std::max(largest.cx, s.cx);
            largest.cy = std::max(largest.cy, s.cy);
        }
        const TSize item = SelectorItemSize(ilCaptionRight, TSize{0, 0}, largest, m);
        TSize panel{};
        std::vector<TRect> rects = LayoutSelectorItems(static_cast<int>(captions.size()), 1, item, m, panel);
        benchmark::DoNotOptimize(rects.data());
        benchmark::DoNotOptimize(panel);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SelectorRelayoutMarkup(benchmark::State& state)
{
    Relayout(state, [](TCanvas& c, const String& s) { return DrawItemMarkup(&c, s, Rect(0, 0, 1000, 100), false, nullptr); });
}

void BM_SelectorRelayoutPlainPeer(benchmark::State& state)
{
    Relayout(state, [](TCanvas& c, const String& s) { return MeasureText(&c, s); });
}

void BM_ListPopupPeerOpen(benchmark::State& state)
{
    std::vector<std::string> captions;
    for (const String& c : Captions(static_cast<int>(state.range(0)))) captions.push_back(StringToUtf8(c));
    plat::peers::ListPopupPeer peer(captions, 200, 300);
    for (auto _ : state) {
        peer.Open(static_cast<int>(captions.size()) / 2);
        peer.Close();
    }
}

} // namespace

BENCHMARK(BM_SelectorRelayoutMarkup)->ArgNames({"items", "cold"})->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectorRelayoutPlainPeer)->ArgNames({"items", "cold"})->ArgsProduct({{1000, 10000}, {1, 0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListPopupPeerOpen)->ArgName("items")->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
