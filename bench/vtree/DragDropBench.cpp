// Dragging over trees: one drop-target step (DropTargetOver: hit test, drop mode, mark
// repaint and the repaint itself) on a shown tree of 10^6 nodes, beside the toolkit's tree view
// repainting its viewport over a lazy model of as many items (the peer); and moving a drag
// image of 200 x 350 by a small step (saved background scrolled, strips exchanged) beside the
// full exchange of a large move.
// LAZYTREE_DRAG_LOOK=1 shows two trees to drag nodes between on a real display instead.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

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

// LAZYTREE_DRAG_LOOK=1: two trees of numbered nodes (each with two children) side by side;
// nodes dragged from one to the other are copied (moved within a tree, or with Shift), with
// the drag image and the drop mark on the way.
int ShowLook()
{
    PrepareSharedResources();
    plat::TForm form(nullptr);
    form.SetCaption(u"Drag");
    form.SetBounds(20, 20, 640, 420);
    auto make = [&](int Left, const char* Name) {
        auto* t = new TLazyStringTree(&form);
        t->SetParent(&form);
        t->SetBounds(Left, 10, 300, 360);
        t->SetNodeDataSize(sizeof(int));
        t->SetDragMode(dmAutomatic);
        t->SetDragImageKind(diComplete);
        auto& o = t->TreeOptions();
        o.SetSelectionOptions(o.SelectionOptions() | (1u << toMultiSelect));
        o.SetPaintOptions(o.PaintOptions() | (TLTPaintOptions(1) << toShowDropmark));
        o.SetAutoOptions(o.AutoOptions() | (TLTAutoOptions(1) << toAutoDropExpand) |
                         (TLTAutoOptions(1) << toAutoScroll));
        plat::TStringList formats;
        formats.Add(u"Lazy Tree Data");
        t->SetClipboardFormats(&formats);
        t->OnSaveNode = [](TBaseLazyTree* T, PLazyNode N, plat::TStream& S) { S.WriteBuffer(T->GetNodeData(N), sizeof(int)); };
        t->OnLoadNode = [](TBaseLazyTree* T, PLazyNode N, plat::TStream& S) { S.ReadBuffer(T->GetNodeData(N), sizeof(int)); };
        std::string prefix = Name;
        t->OnGetText = [prefix](TCustomLazyStringTree* T, PLazyNode N, TColumnIndex, TVSTTextType, plat::String& S) {
            const std::string text = prefix + " " + std::to_string(*reinterpret_cast<int*>(T->GetNodeData(N)));
            S = plat::String(text.begin(), text.end());
        };
        t->OnDragOver = [](TBaseLazyTree*, plat::TObject*, plat::TShiftState, plat::TDragState, plat::TPoint,
                           TDropMode, plat::TDropEffect&, bool& Accept) { Accept = true; };
        t->OnDragDrop = [](TBaseLazyTree* T, plat::TObject*, const std::shared_ptr<plat::IDataObject>& D,
                           const std::vector<std::uint16_t>&, plat::TShiftState, plat::TPoint, plat::TDropEffect& E,
                           TDropMode M) {
            T->ProcessDrop(D, T->DropTarget(), E,
                           M == dmAbove ? amInsertBefore : M == dmBelow ? amInsertAfter : amAddChildLast);
        };
        int id = 0;
        for (int i = 0; i < 12; ++i) {
            PLazyNode n = t->AddChild(nullptr);
            *reinterpret_cast<int*>(t->GetNodeData(n)) = ++id;
            for (int c = 0; c < 2; ++c) *reinterpret_cast<int*>(t->GetNodeData(t->AddChild(n))) = 100 * (i + 1) + c;
        }
        return t;
    };
    make(10, "Left");
    make(320, "Right");
    plat::Application->SetMainForm(&form);
    form.Show();
    plat::Application->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("LAZYTREE_DRAG_LOOK")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    if (std::getenv("LAZYTREE_DRAG_LOOK")) return ShowLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
