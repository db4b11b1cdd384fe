// Trees with header columns beside the toolkit's tree view with the same columns over a lazy
// model (the peer): painting the visible window (800 x 600) of a flat tree of 10^6 nodes with
// 10, 20 and 1,000 columns of 40 pixels, scrolled to the left and to the far right; one live
// width-tracking step (a column's width changes, the window is painted again); the header's
// hit tests (the column under a point and the splitter test) across the strip; fitting the
// columns to their content with smart fitting (the nodes in view) and full fitting.
// LAZYTREE_COLUMNS_PAINT_ONLY=columns,farRight,times,width it only paints (for the instruction counts).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

constexpr int ColumnWidth = 40;

struct ColumnFixture {
    std::unique_ptr<TLazyStringTree> Tree;
    std::unique_ptr<plat::TBitmap> Target;

    ColumnFixture(std::uint32_t Count, int Columns, int Width = ColumnWidth)
    {
        PrepareSharedResources();
        Tree = std::make_unique<TLazyStringTree>(nullptr);
        Tree->SetWidth(800);
        Tree->SetHeight(600);
        Tree->TreeOptions().SetAutoOptions(Tree->TreeOptions().AutoOptions() & ~(1u << toAutoSort));
        Tree->TreeOptions().SetPaintOptions(Tree->TreeOptions().PaintOptions() | (1u << toShowVertGridLines));
        Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex C, TVSTTextType T, plat::String& S) {
            if (T == ttNormal) S = C <= 0 ? plat::String(u"Node ") + plat::String(1, char16_t(u'A' + N->Index % 26))
                                          : plat::String(u"Cell");
        };
        TLTHeader& h = Tree->Header();
        for (int i = 0; i < Columns; ++i) h.Columns().Add()->SetWidth(Width);
        h.SetOptions(h.Options() | HdrBit(hoVisible));
        Tree->SetRootNodeCount(Count);
        Tree->UpdateRanges();
        Target = std::make_unique<plat::TBitmap>(800, 600);
    }
    void Scroll(bool FarRight) { Tree->SetOffsetX(FarRight ? -(Tree->RangeX() - Tree->ClientWidth()) : 0); }
    void Paint()
    {
        const int x = Tree->EffectiveOffsetX();
        Tree->PaintTree(Target->Canvas(), {x, 0, x + 800, 600}, {0, 0},
                        PaintSet({poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poGridLines}));
    }
};

// Arg 0: columns; arg 1: 0 scrolled to the left, 1 to the far right.
void BM_PaintColumns(benchmark::State& state)
{
    ColumnFixture f(1000000, static_cast<int>(state.range(0)));
    f.Scroll(state.range(1) == 1);
    f.Paint();
    for (auto _ : state) f.Paint();
    state.counters["offsetX"] = f.Tree->EffectiveOffsetX();
}
BENCHMARK(BM_PaintColumns)->ArgsProduct({{10, 20, 1000}, {0, 1}})->Unit(benchmark::kMicrosecond);

void BM_Peer_PaintColumns(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000}, static_cast<int>(state.range(0)));
    peer.SetViewSize(800, 600);
    peer.SetSectionWidths(ColumnWidth);
    peer.ShowAndPaint();
    for (auto _ : state) peer.RenderViewport();
}
BENCHMARK(BM_Peer_PaintColumns)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

// One step of a live width tracking in a 20-column tree: the width of column 3 changes (the
// range, the positions and the header follow) and the window is painted again.
void BM_ColumnResizeStep(benchmark::State& state)
{
    ColumnFixture f(1000000, 20);
    TLazyTreeColumn* c = f.Tree->Header().Columns()[3];
    int w = ColumnWidth;
    for (auto _ : state) {
        w = w == ColumnWidth ? ColumnWidth + 7 : ColumnWidth;
        c->SetWidth(w);
        f.Paint();
    }
}
BENCHMARK(BM_ColumnResizeStep)->Unit(benchmark::kMicrosecond);

void BM_Peer_ColumnResizeStep(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000}, 20);
    peer.SetViewSize(800, 600);
    peer.SetSectionWidths(ColumnWidth);
    peer.ShowAndPaint();
    int w = ColumnWidth;
    for (auto _ : state) {
        w = w == ColumnWidth ? ColumnWidth + 7 : ColumnWidth;
        peer.ResizeSection(3, w);
        peer.RenderViewport();
    }
}
BENCHMARK(BM_Peer_ColumnResizeStep)->Unit(benchmark::kMicrosecond);

// The column under each of 800 points of the strip, and the splitter test at each.
void BM_HeaderHitTest(benchmark::State& state)
{
    ColumnFixture f(1000, static_cast<int>(state.range(0)));
    TLTHeader& h = f.Tree->Header();
    for (auto _ : state) {
        int found = 0;
        for (int x = 0; x < 800; ++x) {
            found += h.Columns().ColumnFromPosition(plat::TPoint{x, 5}, true);
            found += h.DetermineSplitterIndex(plat::TPoint{x, -5}) ? 1 : 0;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * 800);
}
BENCHMARK(BM_HeaderHitTest)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_Peer_HeaderHitTest(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000}, static_cast<int>(state.range(0)));
    peer.SetViewSize(800, 600);
    peer.SetSectionWidths(ColumnWidth);
    peer.ShowAndPaint();
    for (auto _ : state) {
        int found = 0;
        for (int x = 0; x < 800; ++x) found += peer.SectionAt(x);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * 800);
}
BENCHMARK(BM_Peer_HeaderHitTest)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Fitting one column to its content; arg 0: 1 smart (the nodes in view), 0 every node.
void BM_AutoFitColumn(benchmark::State& state)
{
    ColumnFixture f(1000000, 20);
    const TSmartAutoFitType type = state.range(0) ? smaAllColumns : smaNoColumn;
    for (auto _ : state) {
        f.Tree->Header().Columns()[2]->SetWidth(ColumnWidth);
        f.Tree->Header().AutoFitColumns(false, type, 2, 2);
    }
}
BENCHMARK(BM_AutoFitColumn)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Peer_ResizeColumnToContents(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000}, 20);
    peer.SetViewSize(800, 600);
    peer.SetSectionWidths(ColumnWidth);
    peer.ShowAndPaint();
    for (auto _ : state) {
        peer.ResizeSection(2, ColumnWidth);
        peer.ResizeColumnToContents(2);
    }
}
BENCHMARK(BM_Peer_ResizeColumnToContents)->Unit(benchmark::kMillisecond);

// For the instruction counts of bench/vtree/column_paint_instructions.sh: paints one window
// of the 10^6-node tree with the given columns of the given width Times times and returns.
int PaintOnly(const char* Spec)
{
    long columns = 0, farRight = 0, times = 0, width = 0;
    if (std::sscanf(Spec, "%ld,%ld,%ld,%ld", &columns, &farRight, &times, &width) != 4 || columns <= 0 ||
        times <= 0 || width <= 0)
        return 2;
    ColumnFixture f(1000000, static_cast<int>(columns), static_cast<int>(width));
    f.Scroll(farRight != 0);
    f.Paint();  // resources and fonts warmed up outside the counted calls
    for (long i = 0; i < times; ++i) f.Paint();
    return 0;
}

// LAZYTREE_COLUMNS_LOOK=1: a window with a tree of 10^6 nodes under 20 header columns, to
// drag and resize the columns by hand (or by a driving tool) on a real display, and to rest
// the mouse on clipped texts and on the header's buttons for their hints.
int ShowLook()
{
    PrepareSharedResources();
    plat::TForm form(nullptr);
    form.SetCaption(u"Columns");
    form.SetBounds(20, 20, 900, 600);
    auto* tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetAlign(plat::alClient);
    tree->TreeOptions().SetPaintOptions(tree->TreeOptions().PaintOptions() | (1u << toShowVertGridLines) |
                                        (1u << toShowHorzGridLines));
    // Every fifth node has a text its column cuts: resting the mouse on it shows the whole text.
    tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex C, TVSTTextType, plat::String& S) {
        std::string t = C <= 0 ? "Node " + std::to_string(N->Index) : "Cell " + std::to_string(C);
        if (N->Index % 5 == 0) t += " with a text longer than its column";
        S = plat::String(t.begin(), t.end());
    };
    tree->SetShowHint(true);
    tree->SetHintMode(hmTooltip);
    TLTHeader& h = tree->Header();
    for (int i = 0; i < 20; ++i) {
        TLazyTreeColumn* c = h.Columns().Add();
        c->SetWidth(100);
        const std::string t = "Column " + std::to_string(i);
        c->SetText(plat::String(t.begin(), t.end()));
        const std::string hint = "The hint of column " + std::to_string(i);
        c->SetHint(plat::String(hint.begin(), hint.end()));
    }
    h.Columns()[2]->SetColor(0xE0F0FF);
    h.Columns()[2]->SetOptions(h.Columns()[2]->Options() & ~ColBit(coParentColor));
    h.SetOptions(h.Options() | HdrBit(hoVisible) | HdrBit(hoHotTrack) | HdrBit(hoShowHint));
    tree->SetRootNodeCount(1000000);
    plat::Application->SetMainForm(&form);
    form.Show();
    plat::Application->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("LAZYTREE_COLUMNS_LOOK")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    if (const char* spec = std::getenv("LAZYTREE_COLUMNS_PAINT_ONLY")) return PaintOnly(spec);
    if (std::getenv("LAZYTREE_COLUMNS_LOOK")) return ShowLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
