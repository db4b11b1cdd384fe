// The general-parameters window: creating it with the controls of all 33 panels (goal: 25 ms
// or less) beside the window with only model 518's panels filled, its texts per control beside the part of the configured model's rows (goal: 1 ms
// or less for all), and one re-layout pass laid out as each model of the family (goal: 50 us
// or less, none more than twice the pass of model 518). Offscreen, window shown.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "UComon.h"
#include "ULanguage.h"
#include "UParGen.h"
#include "UParGenFields.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"

namespace {

void Setup()
{
    static bool done = false;
    if (done) return;
    done = true;
    Load_Default_Language();
    Init_Product_Identity();
}

// Controls a row gives texts to: caption, hint or list.
int Texted_Controls(const std::vector<TParGen_Field>& rows)
{
    int n = 0;
    for (const TParGen_Field& f : rows) n += f.Control == TParGen_Control::Address ? 4 : 1 + (f.Caption && f.Control != TParGen_Control::Check && f.Control != TParGen_Control::Label ? 1 : 0);
    return n;
}

void Create(benchmark::State& state, TParGen_Panels panels)
{
    Setup();
    for (auto _ : state) {
        auto w = std::make_unique<TFParGen>(nullptr, panels);
        benchmark::DoNotOptimize(w.get());
        // The window lives as long as the program; its destruction is not part of the goal.
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}

void BM_ParGen_Create(benchmark::State& state)
{
    Create(state, TParGen_Panels::All);
}
BENCHMARK(BM_ParGen_Create)->Unit(benchmark::kMillisecond);

// The peer: the same window with only model 518's ten panels filled, the other 23 empty.
void BM_ParGen_Create_Only_518_Panels(benchmark::State& state)
{
    Create(state, TParGen_Panels::Build_Model);
}
BENCHMARK(BM_ParGen_Create_Only_518_Panels)->Unit(benchmark::kMillisecond);

void BM_ParGen_Set_Lang(benchmark::State& state)
{
    Setup();
    TFParGen w(nullptr);
    for (auto _ : state) w.Set_Lang();
    const int controls = Texted_Controls(ParGen_Fields()) + Texted_Controls(ParGen_Other_Fields());
    state.counters["controls"] = controls;
    state.counters["per_control"] =
        benchmark::Counter(static_cast<double>(controls), benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParGen_Set_Lang)->Unit(benchmark::kMicrosecond);

// The same assignments over the configured model's rows only: the part of the window that
// carried texts before the other panels had controls.
void BM_ParGen_Texts_Of_518_Rows(benchmark::State& state)
{
    Setup();
    TFParGen w(nullptr);
    for (auto _ : state) {
        for (const TParGen_Field& f : ParGen_Fields()) {
            switch (f.Control) {
            case TParGen_Control::Label:
                if (f.Caption) w.Label_Of(f)->SetCaption(Lang(f.Caption));
                break;
            case TParGen_Control::Check:
                if (f.Caption) w.Field_Of(f)->SetCaption(Lang(f.Caption));
                if (f.Hint) w.Field_Of(f)->SetHint(Lang(f.Hint));
                break;
            case TParGen_Control::Address:
                if (f.Hint)
                    for (size_t i = 0; i < 4; ++i) w.Byte_Of(f, i)->SetHint(Lang(f.Hint + static_cast<int>(i)));
                break;
            default:
                if (f.Caption) w.Label_Of(f)->SetCaption(Lang(f.Caption));
                if (f.Hint) w.Field_Of(f)->SetHint(Lang(f.Hint));
                if (f.Lang_Items_First) {
                    auto* c = static_cast<plat::TComboBox*>(w.Field_Of(f));
                    c->Items()->Clear();
                    for (int i = f.Lang_Items_First; i <= f.Lang_Items_Last; ++i) c->Items()->Add(Lang(i));
                    c->SetItemIndex(0);
                }
                break;
            }
        }
    }
    const int controls = Texted_Controls(ParGen_Fields());
    state.counters["controls"] = controls;
    state.counters["per_control"] =
        benchmark::Counter(static_cast<double>(controls), benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
}
BENCHMARK(BM_ParGen_Texts_Of_518_Rows)->Unit(benchmark::kMicrosecond);

void BM_ParGen_Relayout(benchmark::State& state)
{
    Setup();
    const auto model = static_cast<TParGen_Model>(state.range(0));
    TFParGen w(nullptr);
    w.Show();
    w.Lay_Out_As(model);
    for (auto _ : state) w.Move_GroupBoxs();
    w.Hide();
}
BENCHMARK(BM_ParGen_Relayout)->DenseRange(0, static_cast<int>(TParGen_Model::M318_C069))->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
