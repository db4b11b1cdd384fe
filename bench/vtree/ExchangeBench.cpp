// The tree's data exchange at large node counts: rendering "Lazy Tree Data" through the
// data object, pasting copies read from the clipboard, and a cut and paste between two
// trees of this process (the nodes moved directly). The peer is the toolkit's own transfer
// of item-model rows (its views' clipboard and drag data): encoding and decoding as many rows.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DataObject.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Clipbrd.h"
#include "plat/Forms.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

std::unique_ptr<TBaseLazyTree> NewTree(std::uint32_t Nodes)
{
    auto t = std::make_unique<TBaseLazyTree>(nullptr);
    t->TreeOptions().SetSelectionOptions(t->TreeOptions().SelectionOptions() | (TLTSelectionOptions(1) << toMultiSelect));
    plat::TStringList formats;
    formats.Add(u"Lazy Tree Data");
    t->SetClipboardFormats(&formats);
    t->SetRootNodeCount(Nodes);
    return t;
}

plat::TFormatEtc TreeData()
{
    plat::TFormatEtc f;
    f.Format = TreeDataFormat;
    return f;
}

// 2. "Lazy Tree Data" of every node, as the global memory block a consumer receives.
void BM_RenderTreeData(benchmark::State& state)
{
    auto t = NewTree(std::uint32_t(state.range(0)));
    t->SelectAll(false);
    auto d = std::make_shared<TLTDataObject>(t.get(), false);
    std::size_t bytes = 0;
    for (auto _ : state) {
        plat::TStgMedium m;
        if (d->GetData(TreeData(), m) != plat::S_OK) state.SkipWithError("rendering failed");
        bytes = m.Global.size();
        benchmark::DoNotOptimize(m.Global.data());
    }
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_RenderTreeData)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Peer_EncodeModelRows(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) bytes = plat::peers::EncodeModelRows(int(state.range(0))).size();
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_Peer_EncodeModelRows)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 3. Pasting a copy of every node of one tree into another, read from the clipboard's data.
void BM_PasteCopy(benchmark::State& state)
{
    auto source = NewTree(std::uint32_t(state.range(0)));
    source->SelectAll(false);
    source->CopyToClipboard();
    for (auto _ : state) {
        state.PauseTiming();
        auto target = NewTree(0);
        state.ResumeTiming();
        if (!target->PasteFromClipboard()) state.SkipWithError("paste failed");
        state.PauseTiming();
        if (target->RootNodeCount() != std::uint32_t(state.range(0))) state.SkipWithError("nodes missing");
        target.reset();
        state.ResumeTiming();
    }
    plat::Clipboard().Clear();
}
BENCHMARK(BM_PasteCopy)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Peer_DecodeModelRows(benchmark::State& state)
{
    const std::string bytes = plat::peers::EncodeModelRows(int(state.range(0)));
    for (auto _ : state)
        if (plat::peers::DecodeModelRows(bytes) != state.range(0)) state.SkipWithError("rows missing");
}
BENCHMARK(BM_Peer_DecodeModelRows)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 3. A cut pasted into another tree of the process: the nodes themselves move.
void BM_CutPasteMove(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto source = NewTree(std::uint32_t(state.range(0)));
        auto target = NewTree(0);
        source->SelectAll(false);
        source->CutToClipboard();
        state.ResumeTiming();
        if (!target->PasteFromClipboard()) state.SkipWithError("paste failed");
        state.PauseTiming();
        if (target->RootNodeCount() != std::uint32_t(state.range(0)) || source->RootNodeCount() != 0)
            state.SkipWithError("nodes not moved");
        plat::Clipboard().Clear();
        source.reset();
        target.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CutPasteMove)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
