// Costs of the window layer's hot paths: message dispatch, posting, realignment, painting.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "plat/Forms.h"
#include "plat/Graphics.h"

using namespace plat;

namespace {

class Counter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    long long n = 0;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_APP) {
            ++n;
            return;
        }
        TCustomControl::WndProc(m);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clBtnFace);
        Canvas()->FillRect(ClientRect());
        Canvas()->TextOut(2, 2, u"Caption");
    }
};

class Spot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->Rectangle(ClientRect());
    }
};

void BM_PerformThroughWndProc(benchmark::State& state)
{
    TForm form(nullptr);
    auto* c = new Counter(&form);
    c->SetParent(&form);
    for (auto _ : state) benchmark::DoNotOptimize(c->Perform(WM_APP, 1, 2));
}
BENCHMARK(BM_PerformThroughWndProc);

void BM_PostThenProcess1000(benchmark::State& state)
{
    TForm form(nullptr);
    auto* c = new Counter(&form);
    c->SetParent(&form);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) PostMessage(c->Handle(), WM_APP, 0, 0);
        Application->ProcessMessages();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PostThenProcess1000);

// A form of 40 top-aligned panels and a client panel, resized: every resize realigns all.
void BM_RealignFortyPanels(benchmark::State& state)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 460, 900);
    for (int i = 0; i < 40; ++i) {
        auto* p = new Counter(&form);
        p->SetBounds(0, i * 20, 100, 20);
        p->SetAlign(alTop);
        p->SetParent(&form);
    }
    auto* client = new Counter(&form);
    client->SetAlign(alClient);
    client->SetParent(&form);
    int w = 460;
    for (auto _ : state) {
        w = w == 460 ? 500 : 460;
        form.SetClientWidth(w);
    }
}
BENCHMARK(BM_RealignFortyPanels);

// Full repaint of a 700 x 440 form with 10 windowed and 30 graphic children.
void BM_RepaintForm(benchmark::State& state)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 700, 440);
    for (int i = 0; i < 10; ++i) {
        auto* c = new Counter(&form);
        c->SetBounds(10 + 60 * i, 10, 55, 23);
        c->SetParent(&form);
    }
    for (int i = 0; i < 30; ++i) {
        auto* s = new Spot(&form);
        s->SetBounds(10 + 20 * i, 100, 18, 18);
        s->SetParent(&form);
    }
    form.Show();
    for (auto _ : state) {
        form.Invalidate();
        for (int i = 0; i < form.ControlCount(); ++i) form.Controls(i)->Invalidate();
        form.Update();
        for (int i = 0; i < form.ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(form.Controls(i))) w->Update();
    }
    form.Hide();
}
BENCHMARK(BM_RepaintForm);

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
