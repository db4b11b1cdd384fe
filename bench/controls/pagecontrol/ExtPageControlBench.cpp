// Cost of the page control's own paint pass (strip, frame and tabs) for the network editor's
// look and for a strip of many tabs, and of the strip layout after a caption change.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "ExtPageControl.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

using namespace controls;
using namespace plat;

namespace {

struct ExposedControl : TExtPageControl {
    using TExtPageControl::TExtPageControl;
    using TExtPageControl::Paint;
};

ExposedControl* MakeControl(TForm& form, int pages, TTabPosition position, TTabStyle style)
{
    auto* pc = new ExposedControl(&form);
    pc->SetParent(&form);
    pc->SetBounds(0, 0, 600, 400);
    pc->SetTabPosition(position);
    pc->SetTabStyle(style);
    pc->SetMultiLine(true);
    pc->SetDefaultTabColor(0xEDF7F8);
    pc->SetTabBackGroundColor(0xEDF7F8);
    pc->SetActiveColor(0xF0CAA6);
    for (int i = 0; i < pages; ++i) {
        auto* s = new TExtTabSheet(&form);
        s->SetCaption(u"Page " + IntToStr(i) + u"     ");
        s->SetShowClose(i % 3 == 0);
        s->SetExtPageControl(pc);
    }
    pc->SetActivePage(pc->GetPage(pages / 2));
    return pc;
}

// state.range(0): page count; range(1): tab position.
void BM_PaintPass(benchmark::State& state)
{
    TForm form(nullptr);
    auto* pc = MakeControl(form, static_cast<int>(state.range(0)), static_cast<TTabPosition>(state.range(1)), tsDotNet);
    for (auto _ : state) pc->Paint();
}
BENCHMARK(BM_PaintPass)->Args({2, tpLeft})->Args({2, tpTop})->Args({40, tpTop})->Args({40, tpLeft});

void BM_PaintPassClassicGradient(benchmark::State& state)
{
    TForm form(nullptr);
    auto* pc = MakeControl(form, 10, tpTop, tsClassic);
    pc->SetActiveColorTo(0xFFFFFF);
    for (int i = 0; i < pc->PageCount(); ++i) pc->GetPage(i)->SetTabColorTo(0xC0C0C0);
    pc->ActivePage()->SetColorTo(0xFFFFFF);
    for (auto _ : state) pc->Paint();
}
BENCHMARK(BM_PaintPassClassicGradient);

// A caption change measures every tab again on the next geometry query.
void BM_RelayoutAfterCaptionChange(benchmark::State& state)
{
    TForm form(nullptr);
    auto* pc = MakeControl(form, static_cast<int>(state.range(0)), tpTop, tsDotNet);
    TExtTabSheet* s = pc->GetPage(0);
    int n = 0;
    for (auto _ : state) {
        s->SetCaption((n++ % 2) ? u"Short  " : u"A longer caption  ");
        benchmark::DoNotOptimize(pc->TabRect(pc->TabCount() - 1));
    }
}
BENCHMARK(BM_RelayoutAfterCaptionChange)->Arg(2)->Arg(40);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
