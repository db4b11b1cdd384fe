// Scrolling a shown tree of 10^6 top-level nodes (800 x 600 client area) to its end and back
// to its top, each step followed by the repaint of the window: the End and Home keys, OffsetY
// set to the end of the range and to 0, and a wheel notch at the end (up) and at the top
// (down). Beside it the toolkit's tree view over the lazy model: scrollToBottom() and
// scrollToTop(), each followed by a render of its viewport (the peer).
// With LAZYTREE_SCROLL_ONLY=kind,where,times it only runs the steps (for the instruction
// counts of scroll_instructions.sh): kind 0 keys, 1 OffsetY, 2 wheel; where 0 top, 1 end.
// LAZYTREE_SCROLL_LOOK=1 shows a window to look at instead (see ShowLook).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/Threads.h"
#include "plat/peers/TreeViewPeer.h"

using namespace vtree;

namespace {

struct ScrollFixture {
    std::unique_ptr<plat::TForm> Form;
    TLazyStringTree* Tree = nullptr;

    ScrollFixture()
    {
        PrepareSharedResources();
        Form = std::make_unique<plat::TForm>(nullptr);
        Form->SetBounds(0, 0, 820, 620);
        Tree = new TLazyStringTree(Form.get());
        Tree->SetParent(Form.get());
        Tree->SetBorderStyle(plat::bsNone);
        Tree->SetBounds(0, 0, 800, 600);
        Tree->TreeOptions().SetAutoOptions(Tree->TreeOptions().AutoOptions() & ~(1u << toAutoSort));
        Tree->OnGetText = [](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType T, plat::String& S) {
            if (T == ttNormal) S = u"Device " + plat::String(1, char16_t(u'A' + N->Index % 26));
        };
        Tree->SetRootNodeCount(1000000);
        Form->Show();
        Tree->MarkCacheStale();
        Tree->RequestCacheValidation();
        while (!Tree->HasState(tsUseCache)) plat::CheckSynchronize(1);
        Tree->SetFocusedNode(Tree->GetFirst());
        Tree->Update();
    }
    int EndOffset() const { return Tree->ClientHeight() - static_cast<int>(Tree->RangeY()); }
    void Key(plat::WPARAM K)
    {
        Tree->Perform(plat::WM_KEYDOWN, K, 0);
        Tree->Perform(plat::WM_KEYUP, K, 0);
    }
    void Wheel(int Delta) { Tree->Perform(plat::CM_MOUSEWHEEL, plat::MakeWParam(0, Delta), plat::MakeLParam(400, 300)); }
    // Puts the tree at the other end, so that the step scrolls to `AtEnd`'s end.
    void Prepare(int Kind, bool AtEnd)
    {
        if (Kind == 2) Tree->SetOffsetY(AtEnd ? EndOffset() : 0);
        else if (Kind == 0) Key(AtEnd ? plat::VK_HOME : plat::VK_END);
        else Tree->SetOffsetY(AtEnd ? 0 : EndOffset());
        Tree->Update();
    }
    // One scroll step and the repaint it causes.
    void Step(int Kind, bool AtEnd)
    {
        if (Kind == 0) Key(AtEnd ? plat::VK_END : plat::VK_HOME);
        else if (Kind == 1) Tree->SetOffsetY(AtEnd ? EndOffset() : 0);
        else Wheel(AtEnd ? 120 : -120);
        Tree->Update();
    }
};

// Arg 0: 0 End/Home keys, 1 OffsetY, 2 wheel notch; arg 1: 0 to the top, 1 to the end.
void BM_ScrollAndRepaint(benchmark::State& state)
{
    ScrollFixture f;
    const int kind = static_cast<int>(state.range(0));
    const bool atEnd = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.Prepare(kind, atEnd);
        state.ResumeTiming();
        f.Step(kind, atEnd);
    }
}
BENCHMARK(BM_ScrollAndRepaint)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMicrosecond);

// Arg 0: 0 scrollToTop() from the end, 1 scrollToBottom() from the top; each with a render.
void BM_Peer_ScrollAndRender(benchmark::State& state)
{
    plat::peers::TreeViewPeer peer({1000000});
    peer.ShowAndPaint();
    const bool atEnd = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (atEnd) peer.ScrollToTop();
        else peer.ScrollToEnd();
        peer.RenderViewport();
        state.ResumeTiming();
        if (atEnd) peer.ScrollToEnd();
        else peer.ScrollToTop();
        peer.RenderViewport();
    }
}
BENCHMARK(BM_Peer_ScrollAndRender)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The counted steps of scroll_instructions.sh; kept out of line so that callgrind can count
// inside it alone.
[[gnu::noinline]] void CountedStep(ScrollFixture& f, int Kind, bool AtEnd) { f.Step(Kind, AtEnd); }

int ScrollOnly(const char* Spec)
{
    long kind = 0, where = 0, times = 0;
    if (std::sscanf(Spec, "%ld,%ld,%ld", &kind, &where, &times) != 3 || kind < 0 || kind > 2 || times <= 0) return 2;
    ScrollFixture f;
    for (long i = 0; i <= times; ++i) {  // the first step warms up resources and fonts
        f.Prepare(static_cast<int>(kind), where != 0);
        CountedStep(f, static_cast<int>(kind), where != 0);
    }
    return 0;
}

// LAZYTREE_SCROLL_LOOK=1: a window with 10^6 editable top-level nodes (each with three
// children, every seventh text too long for the window), to scroll, expand, edit, pan and
// hover by hand (or by a driving tool) on a real display.
int ShowLook()
{
    PrepareSharedResources();
    plat::TForm form(nullptr);
    form.SetCaption(u"Tree");
    form.SetBounds(20, 20, 600, 500);
    auto* tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetAlign(plat::alClient);
    tree->SetShowHint(true);
    tree->TreeOptions().SetMiscOptions(tree->TreeOptions().MiscOptions() | (TLTMiscOptions(1) << toEditable));
    tree->OnInitNode = [](TBaseLazyTree*, PLazyNode Parent, PLazyNode, TLazyNodeInitStates& S) {
        if (!Parent) S |= InitBit(ivsHasChildren);
    };
    tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& C) { C = 3; };
    tree->OnGetText = [](TCustomLazyStringTree* T, PLazyNode N, TColumnIndex, TVSTTextType, plat::String& S) {
        std::string t = (T->GetNodeLevel(N) == 0 ? "Node " : "Child ") + std::to_string(N->Index);
        if (N->Index % 7 == 3) t += " with a text far too long to be shown whole in this window of the tree";
        S = plat::String(t.begin(), t.end());
    };
    tree->SetRootNodeCount(1000000);
    plat::Application->SetMainForm(&form);
    form.Show();
    plat::Application->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("LAZYTREE_SCROLL_LOOK")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    if (const char* spec = std::getenv("LAZYTREE_SCROLL_ONLY")) return ScrollOnly(spec);
    if (std::getenv("LAZYTREE_SCROLL_LOOK")) return ShowLook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
