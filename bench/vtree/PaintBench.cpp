// Painting the tree's visible window (800 x 600, 33 rows of 18 pixels with lines, buttons,
// check boxes, images and text) at the top, middle and end of trees of 10^3 and 10^6 nodes,
// beside the toolkit's tree view rendering its viewport over a lazy model (the peer); the
// blended selection against the plain one; display rectangles deep in a big tree. With
// LAZYTREE_PAINT_ONLY=count,where,times it only paints (for the instruction counts).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/Threads.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

struct PaintFixture {
    std::unique_ptr<TLazyStringTree> Tree;
    std::unique_ptr<plat::TImageList> Images;
    std::unique_ptr<plat::TBitmap> Target;

    explicit PaintFixture(std::uint32_t Count)
    {
        PrepareSharedResources();
        Tree = std::make_unique<TLazyStringTree>(nullptr);
        Tree->SetWidth(800);
        Tree->SetHeight(600);
        Tree->TreeOptions().SetAutoOptions(Tree->TreeOptions().AutoOptions() & ~(1u << toAutoSort));
        Tree->TreeOptions().SetMiscOptions(Tree->TreeOptions().MiscOptions() | (1u << toCheckSupport));
        Tree->SetCheckImageKind(ckLightCheck);
        Images = std::make_unique<plat::TImageList>(nullptr);
        Images->SetSize(16, 16);
        plat::TBitmap strip(32, 16);
        strip.Canvas()->Brush()->SetColor(plat::clFuchsia);
        strip.Canvas()->FillRect({0, 0, 32, 16});
        strip.Canvas()->Brush()->SetColor(plat::clNavy);
        strip.Canvas()->Rectangle(2, 2, 14, 14);
        strip.Canvas()->Ellipse(18, 2, 30, 14);
        Images->AddMasked(&strip, plat::clFuchsia);
        Tree->SetImages(Images.get());
        Tree->OnInitNode = [](TBaseLazyTree* T, PLazyNode Parent, PLazyNode N, TLazyNodeInitStates& S) {
            if (!Parent) S |= InitBit(ivsHasChildren) | InitBit(ivsExpanded);
            T->SetCheckType(N, ctCheckBox);
        };
        Tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& C) { C = 99; };
        Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, plat::String& S) {
            if (T == ttNormal) S = u"Device " + plat::String(1, char16_t(u'A' + N->Index % 26));
        };
        Tree->OnGetImageIndex = [](TBaseLazyTree*, PLazyNode N, TLTImageKind K, TColumnIndex, bool&, int& I) {
            if (K == ikNormal || K == ikSelected) I = static_cast<int>(N->Index % 2);
        };
        // Count nodes: top-level parents of 99 children each.
        Tree->SetRootNodeCount(Count / 100);
        Tree->FullExpand();
        // The position cache, built by the worker as in a running program.
        Tree->MarkCacheStale();
        Tree->RequestCacheValidation();
        while (Tree->VisibleCount() > 2000 && !Tree->HasState(tsUseCache)) plat::CheckSynchronize(1);
        Target = std::make_unique<plat::TBitmap>(800, 600);
    }
    void PaintAt(int Top)
    {
        Tree->PaintTree(Target->Canvas(), {0, Top, 800, Top + 600}, {0, 0},
                        PaintSet({poBackground, poDrawFocusRect, poDrawSelection, poGridLines}));
    }
};

// Arg 0: node count; arg 1: 0 top, 1 middle, 2 end.
void BM_PaintWindow(benchmark::State& state)
{
    PaintFixture f(static_cast<std::uint32_t>(state.range(0)));
    const int range = static_cast<int>(f.Tree->RangeY());
    const int top = state.range(1) == 0 ? 0 : state.range(1) == 1 ? range / 2 : std::max(0, range - 600);
    for (auto _ : state) f.PaintAt(top);
}
BENCHMARK(BM_PaintWindow)
    ->Args({1000, 0})->Args({1000, 1})->Args({1000, 2})
    ->Args({1000000, 0})->Args({1000000, 1})->Args({1000000, 2})
    ->Unit(benchmark::kMicrosecond);

void BM_Peer_RenderViewport(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({static_cast<int>(state.range(0)) / 100, 99});
    peer.ShowAndPaint();
    peer.ExpandAll();
    if (state.range(1) == 1) peer.ScrollToMiddle();
    if (state.range(1) == 2) peer.ScrollToEnd();
    for (auto _ : state) peer.RenderViewport();
}
BENCHMARK(BM_Peer_RenderViewport)->Args({1000, 0})->Args({1000, 1})->Args({1000, 2})->Unit(benchmark::kMicrosecond);

// The view over 10^6 rows as a flat list: the lazy model hands the view all rows at its first
// layout, with nothing to expand (expanding 10^4 parents takes the view seconds per run). A
// window shows rows of one level either way. Arg 0: 0 top, 1 middle, 2 end.
void BM_Peer_RenderViewportFlatMillion(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000});
    peer.ShowAndPaint();
    if (state.range(0) == 1) peer.ScrollToMiddle();
    if (state.range(0) == 2) peer.ScrollToEnd();
    for (auto _ : state) peer.RenderViewport();
}
BENCHMARK(BM_Peer_RenderViewportFlatMillion)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Every row selected; arg 1: blended selection.
void BM_PaintSelectedWindow(benchmark::State& state)
{
    PaintFixture f(1000);
    auto o = f.Tree->TreeOptions().SelectionOptions();
    f.Tree->TreeOptions().SetSelectionOptions(TLTSelectionOptions(o | (1u << toMultiSelect)));
    for (PLazyNode n = f.Tree->GetFirstVisible(); n; n = f.Tree->GetNextVisible(n)) f.Tree->AddToSelection(n);
    if (state.range(0)) f.Tree->TreeOptions().SetPaintOptions(f.Tree->TreeOptions().PaintOptions() | (1u << toUseBlendedSelection));
    for (auto _ : state) f.PaintAt(0);
}
BENCHMARK(BM_PaintSelectedWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Display rectangles with the position cache in a tree of N nodes as chains of 1,000 levels;
// arg 0: the node's depth (1, 10 or 1,000), arg 1: N.
void BM_GetDisplayRect(benchmark::State& state)
{
    const int depth = static_cast<int>(state.range(0));
    const auto count = static_cast<std::uint32_t>(state.range(1));
    PrepareSharedResources();
    TLazyStringTree tree(nullptr);
    tree.SetWidth(800);
    tree.SetHeight(600);
    tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() & ~(1u << toAutoSort));
    tree.BeginUpdate();
    tree.SetRootNodeCount(count / 1000);
    std::vector<PLazyNode> atDepth;
    for (PLazyNode chain = tree.GetFirstNoInit(); chain; chain = chain->NextSibling) {
        PLazyNode n = chain;
        for (int level = 1; level < 1000; ++level) {
            tree.SetChildCount(n, 1);
            n = n->FirstChild;
        }
    }
    tree.EndUpdate();
    tree.FullExpand();
    for (PLazyNode chain = tree.GetFirstNoInit(); chain; chain = chain->NextSibling) {
        PLazyNode n = chain;
        for (int level = 1; level < depth; ++level) n = n->FirstChild;
        atDepth.push_back(n);
    }
    tree.MarkCacheStale();
    tree.RequestCacheValidation();
    while (!tree.HasState(tsUseCache)) plat::CheckSynchronize(1);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tree.GetDisplayRect(atDepth[i], NoColumn, false));
        i = (i * 7 + 3) % atDepth.size();
    }
    state.counters["nodes"] = tree.TotalCount();
}
BENCHMARK(BM_GetDisplayRect)->ArgsProduct({{1, 10, 1000}, {10000, 1000000}})->Unit(benchmark::kMicrosecond);

// For the instruction counts of bench/vtree/paint_instructions.sh: paints one window Times
// times and returns.
int PaintOnly(const char* Spec)
{
    long count = 0, where = 0, times = 0;
    if (std::sscanf(Spec, "%ld,%ld,%ld", &count, &where, &times) != 3 || count <= 0 || times <= 0) return 2;
    PaintFixture f(static_cast<std::uint32_t>(count));
    const int range = static_cast<int>(f.Tree->RangeY());
    const int top = where == 0 ? 0 : where == 1 ? range / 2 : std::max(0, range - 600);
    f.PaintAt(top);  // resources and fonts warmed up outside the counted calls
    for (long i = 0; i < times; ++i) f.PaintAt(top);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    if (const char* spec = std::getenv("LAZYTREE_PAINT_ONLY")) return PaintOnly(spec);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
