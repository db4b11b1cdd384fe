// Dragging over trees: one drop-target step (DropTargetOver: hit test, drop mode, mark
// repaint and the repaint itself) on a shown tree of 10^6 nodes, beside the toolkit's tree view
// repainting its viewport over a lazy model of as many items (the peer); and moving a drag
// image of 200 x 350 by a small step (saved background scrolled, strips exchanged) beside the
// full exchange of a large move.
// Run with QT_QPA_PLATFORM=offscreen.
#include <benchmark/benchmark.h>

#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

struct ShownTree {
    std::unique_ptr<plat::TForm> Form;
    TLazyStringTree* Tree = nullptr;
    explicit ShownTree(std::uint32_t Count)
    {
        PrepareSharedResources();
        Form = std::make_unique<plat::TForm>(nullptr);
        Form->SetBounds(0, 0, 820, 620);
        Tree = new TLazyStringTree(Form.get());
        Tree->SetParent(Form.get());
        Tree->SetBounds(0, 0, 800, 600);
        auto& o = Tree->TreeOptions();
        o.SetAutoOptions(o.AutoOptions() & ~(1u << toAutoSort));
        o.SetPaintOptions(o.PaintOptions() | (TLTPaintOptions(1) << toShowDropmark));
        Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, plat::String& S) {
            S = u"Device " + plat::String(1, char16_t(u'A' + N->Index % 26));
        };
        Tree->OnDragOver = [](TBaseLazyTree*, plat::TObject*, plat::TShiftState, plat::TDragState, plat::TPoint,
                              TDropMode, plat::TDropEffect&, bool& Accept) { Accept = true; };
        Tree->SetRootNodeCount(Count);
        Form->Show();
        Tree->BuildPositionCache();
        Tree->SetOffsetY(-static_cast<int>(Tree->RangeY() / 2));
        Tree->Update();
    }
};

void BM_DropTargetOver(benchmark::State& state)
{
    ShownTree s(static_cast<std::uint32_t>(state.range(0)));
    // Alternating between two rows and their halves: the target and the mode change each step.
    const plat::TPoint points[] = {s.Tree->ClientToScreen({300, 100}), s.Tree->ClientToScreen({300, 128}),
                                   s.Tree->ClientToScreen({300, 133}), s.Tree->ClientToScreen({300, 300})};
    int i = 0;
    for (auto _ : state) {
        plat::TDropEffect effect = plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE;
        s.Tree->DropTargetOver(nullptr, 0, effect, points[i++ % 4], plat::dsDragMove);
        benchmark::DoNotOptimize(effect);
    }
}
BENCHMARK(BM_DropTargetOver)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_Peer_RenderViewport(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({static_cast<int>(state.range(0))});
    peer.SetViewSize(800, 600);
    peer.ShowAndPaint();
    peer.ScrollToMiddle();
    for (auto _ : state) peer.RenderViewport();
}
BENCHMARK(BM_Peer_RenderViewport)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void DragImageMove(benchmark::State& state, int Step)
{
    PrepareSharedResources();
    TLTDragImage image(nullptr);
    plat::TBitmap picture(200, 350);
    picture.SetPixelFormat(plat::pf32bit);
    picture.Canvas()->Brush()->SetColor(plat::clNavy);
    picture.Canvas()->FillRect({0, 0, 200, 350});
    image.PrepareDrag(&picture, {100, 100}, {200, 275});
    image.ShowDragImage();
    int x = 200, dir = Step;
    for (auto _ : state) {
        if (x > 600 || x < 200) dir = -dir;
        x += dir;
        image.DragTo({x, 275});
    }
    image.EndDrag();
}

void BM_DragImageSmallMove(benchmark::State& state) { DragImageMove(state, 3); }
void BM_DragImageLargeMove(benchmark::State& state) { DragImageMove(state, 201); }
BENCHMARK(BM_DragImageSmallMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragImageLargeMove)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
