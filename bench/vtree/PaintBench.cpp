// Painting the tree's visible window (800 x 600, 33 rows of 18 pixels with lines, buttons,
// check boxes, images and text) at the top, middle and end of trees of 10^3 and 10^6 nodes,
// beside the toolkit's tree view rendering its viewport over a lazy model (the peer); the
// blended selection against the plain one; display rectangles deep in a big tree.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
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
        Tree->BuildPositionCache();
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
    if (state.range(1) == 2) peer.ScrollToEnd();
    for (auto _ : state) peer.RenderViewport();
}
BENCHMARK(BM_Peer_RenderViewport)->Args({1000, 0})->Args({1000, 2})->Unit(benchmark::kMicrosecond);

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
