// Input work of the tree at 10^3 and 10^6 nodes: hit testing at any scroll position,
// SelectAll and InvertSelection beside the toolkit tree view's selectAll() over a lazy model
// (the peer), and an incremental search that finds nothing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/SystemInput.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

class BenchTree : public TLazyStringTree {
public:
    using TLazyStringTree::TLazyStringTree;
    using TBaseLazyTree::ProcessSearchKey;
};

std::unique_ptr<BenchTree> MakeTree(std::uint32_t Count)
{
    PrepareSharedResources();
    auto t = std::make_unique<BenchTree>(nullptr);
    t->SetWidth(800);
    t->SetHeight(600);
    t->TreeOptions().SetAutoOptions(t->TreeOptions().AutoOptions() & ~(1u << toAutoSort));
    t->TreeOptions().SetSelectionOptions(t->TreeOptions().SelectionOptions() | (1u << toMultiSelect));
    t->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, plat::String& S) {
        S = u"Device " + plat::String(1, char16_t(u'A' + N->Index % 26));
    };
    t->SetRootNodeCount(Count);
    return t;
}

void BM_GetHitTestInfoAt(benchmark::State& state)
{
    auto t = MakeTree(static_cast<std::uint32_t>(state.range(0)));
    t->BuildPositionCache();
    t->SetOffsetY(-static_cast<int>(t->RangeY() / 2));
    THitInfo hit;
    int y = 0;
    for (auto _ : state) {
        t->GetHitTestInfoAt(40, y, true, hit);
        benchmark::DoNotOptimize(hit.HitNode);
        y = (y + 37) % 600;
    }
}
BENCHMARK(BM_GetHitTestInfoAt)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_SelectAll(benchmark::State& state)
{
    auto t = MakeTree(1000000);
    for (auto _ : state) {
        t->SelectAll(false);
        state.PauseTiming();
        t->ClearSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_InvertSelection(benchmark::State& state)
{
    auto t = MakeTree(1000000);
    for (auto _ : state) t->InvertSelection(false);
}
BENCHMARK(BM_InvertSelection)->Unit(benchmark::kMillisecond)->Iterations(6);

void BM_Peer_SelectAll(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000});
    peer.ShowAndPaint();
    for (auto _ : state) {
        peer.SelectAll();
        state.PauseTiming();
        peer.ClearSelection();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Peer_SelectAll)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IncrementalSearchWithoutMatch(benchmark::State& state)
{
    auto t = MakeTree(1000000);
    for (PLazyNode n = t->GetFirst(); n; n = t->GetNext(n)) {
    }
    t->SetIncrementalSearch(isInitializedOnly);
    t->SetFocusedNode(t->GetFirst());
    plat::SetBeepHandler([](plat::UINT) {});
    for (auto _ : state) {
        t->ProcessSearchKey(u'z');
        t->SetIncrementalSearch(isNone);
        t->SetIncrementalSearch(isInitializedOnly);
    }
    plat::SetBeepHandler(nullptr);
}
BENCHMARK(BM_IncrementalSearchWithoutMatch)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

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
