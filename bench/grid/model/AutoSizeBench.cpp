// Sizing a column of a rule-editor-sized grid (1,025 rows) to its content, beside a peer that
// measures the same texts straight from a vector with the same canvas.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

constexpr int kRows = 1025;

plat::String TextOf(int r) { return u"Rule " + plat::IntToStr(r) + plat::String(static_cast<std::size_t>(r % 23), u'x'); }

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
};

Setup MakeGrid(bool checkBoxes) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.grid = new grid::TExtColumnGrid(s.form.get());
    s.grid->SetParent(s.form.get());
    s.grid->SetColCount(6);
    s.grid->SetRowCount(kRows);
    s.grid->SetFixedRows(1);
    s.grid->SetFixedCols(1);
    for (int r = 0; r < kRows; ++r) s.grid->SetCells(2, r, TextOf(r));
    if (checkBoxes)
        for (int r = 1; r < kRows; ++r) s.grid->AddCheckBox(2, r, r % 2 == 0, false);
    return s;
}

void BM_AutoSizeCol(benchmark::State& state) {
    Setup s = MakeGrid(state.range(0) != 0);
    for (auto _ : state) {
        s.grid->SetColWidths(2, 10);
        s.grid->AutoSizeCol(2, 0);
        benchmark::DoNotOptimize(s.grid->ColWidths(2));
    }
}

// Peer: the widest of the same texts measured on the same canvas in the same font.
void BM_PeerMeasureTexts(benchmark::State& state) {
    Setup s = MakeGrid(false);
    std::vector<std::u16string> texts;
    for (int r = 0; r < kRows; ++r) texts.push_back(TextOf(r));
    plat::TCanvas* canvas = s.grid->Canvas();
    for (auto _ : state) {
        int widest = 0;
        for (const std::u16string& t : texts) {
            canvas->Font()->Assign(*s.grid->Font());
            widest = std::max(widest, canvas->TextWidth(t));
        }
        benchmark::DoNotOptimize(widest);
    }
}

} // namespace

BENCHMARK(BM_AutoSizeCol)->Arg(0)->Arg(1)->ArgName("checkboxes")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeerMeasureTexts)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
