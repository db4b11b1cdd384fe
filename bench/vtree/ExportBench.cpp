// The string tree's content export of 100,000 nodes x 3 columns: HTML, RTF and delimited
// text, with Python's csv.writer writing the same cells as the peer of the delimited text.
#include <benchmark/benchmark.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

using namespace vtree;

namespace {

constexpr int kNodes = 100000;

// 1,000 top-level nodes with 99 children each; texts "<column>:<index>".
std::unique_ptr<TLazyStringTree> NewTree()
{
    PrepareSharedResources();
    auto t = std::make_unique<TLazyStringTree>(nullptr);
    for (int i = 0; i < 3; ++i) t->Header().Columns().Add()->SetText(u"Column " + plat::IntToStr(i));
    t->Header().SetMainColumn(0);
    t->OnInitNode = [](TBaseLazyTree*, PLazyNode Parent, PLazyNode, TLazyNodeInitStates& States) {
        if (!Parent) States |= InitBit(ivsHasChildren);
    };
    t->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& Count) { Count = 99; };
    t->OnGetText = [](TCustomLazyStringTree*, PLazyNode Node, TColumnIndex Column, TVSTTextType, plat::String& Text) {
        Text = plat::IntToStr(Column) + u":" + plat::IntToStr(Node->Index);
    };
    t->SetRootNodeCount(kNodes / 100);
    t->FullExpand();
    return t;
}

std::unique_ptr<TLazyStringTree> g_tree;

TLazyStringTree& Tree()
{
    if (!g_tree) g_tree = NewTree();
    return *g_tree;
}

void BM_ContentToHTML(benchmark::State& state)
{
    std::size_t size = 0;
    for (auto _ : state) size = Tree().ContentToHTML(tstAll).size();
    state.counters["units"] = double(size);
}
BENCHMARK(BM_ContentToHTML)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ContentToRTF(benchmark::State& state)
{
    std::size_t size = 0;
    for (auto _ : state) size = Tree().ContentToRTF(tstAll).size();
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_ContentToRTF)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ContentToText(benchmark::State& state)
{
    std::size_t size = 0;
    for (auto _ : state) size = Tree().ContentToText(tstAll, u',').size();
    state.counters["units"] = double(size);
}
BENCHMARK(BM_ContentToText)->Unit(benchmark::kMillisecond)->Iterations(5);

// The peer: Python's csv.writer writing the same 100,000 x 3 cells into memory, timed
// inside Python (interpreter start-up left out).
void BM_Peer_PythonCsvWriter(benchmark::State& state)
{
    const char* script =
        "import csv, io, time\n"
        "rows = [('0:%d' % (i % 100), '1:%d' % (i % 100), '2:%d' % (i % 100)) for i in range(100000)]\n"
        "t = time.perf_counter()\n"
        "out = io.StringIO()\n"
        "csv.writer(out).writerows(rows)\n"
        "print(time.perf_counter() - t)\n";
    for (auto _ : state) {
        FILE* p = popen(("python3 -c \"" + std::string(script) + "\"").c_str(), "r");
        char line[64] = {};
        const bool got = p && std::fgets(line, sizeof line, p);
        if (p) pclose(p);
        if (!got) {
            state.SkipWithError("python3 not available");
            return;
        }
        state.SetIterationTime(std::stod(line));
    }
}
BENCHMARK(BM_Peer_PythonCsvWriter)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

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
    g_tree.reset();  // before the application goes
    return 0;
}
