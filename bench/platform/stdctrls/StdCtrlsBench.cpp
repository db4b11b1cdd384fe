// Painting a list box costs what is visible, not what it holds (0 items gives the window
// layer's own repaint cost; 10 and 100000 items differ only by the rows on screen);
// re-stacking the general parameters' 33 category panels after a change stays well below
// a frame (goal: < 1 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace {

void BM_ListBoxRepaint(benchmark::State& state)
{
    TForm form(nullptr);
    form.SetClientSize(300, 300);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(0, 0, 200, 260);
    list->Items()->BeginUpdate();
    for (int i = 0; i < state.range(0); ++i)
        list->Items()->Add(u"Configuration " + IntToStr(i));
    list->Items()->EndUpdate();
    list->SetItemIndex(static_cast<int>(state.range(0) / 2));
    form.Show();
    for (auto _ : state) {
        list->Invalidate();
        list->Update();
    }
}
BENCHMARK(BM_ListBoxRepaint)->Arg(0)->Arg(10)->Arg(100000);

void BM_CategoryRestack(benchmark::State& state)
{
    TForm form(nullptr);
    form.SetClientSize(460, 700);
    auto* group = new TCategoryPanelGroup(&form);
    group->SetParent(&form);
    group->SetBounds(0, 69, 460, 591);
    std::vector<TCategoryPanel*> panels;
    for (int i = 0; i < 33; ++i) {
        auto* p = group->CreatePanel(&form);
        p->SetHeight(67 + i);
        p->SetVisible(i < 10);
        panels.push_back(p);
    }
    form.Show();
    int h = 317;
    for (auto _ : state) {
        h = h == 317 ? 429 : 317;  // the MQTT panel growing and shrinking
        panels[4]->SetHeight(h);
    }
}
BENCHMARK(BM_CategoryRestack);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
