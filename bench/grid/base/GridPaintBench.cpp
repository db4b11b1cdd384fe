// Painting the visible window of a grid base with 1,025 rows and with 1,000,000 rows: the
// cost depends on what is visible, so both should take the same time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "BaseGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TBaseGrid* grid = nullptr;
};

Setup MakeGrid(int rows) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.form->SetBounds(0, 0, 900, 700);
    s.grid = new grid::TBaseGrid(s.form.get());
    s.grid->SetParent(s.form.get());
    s.grid->SetColCount(10);
    s.grid->SetRowCount(rows);
    s.grid->SetBounds(0, 0, 800, 600);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 10; ++c) s.grid->SetGridCell(c, r, plat::IntToStr(r * 10 + c));
    s.grid->MergeCells(2, rows / 2 + 2, 3, 2);
    s.grid->SetTopRow(rows / 2);
    s.form->Show();
    return s;
}

void BM_PaintVisibleWindow(benchmark::State& state) {
    Setup s = MakeGrid(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        s.grid->Invalidate();
        s.grid->Update();
    }
    state.counters["visible_rows"] = s.grid->VisibleRowCount();
}

} // namespace

BENCHMARK(BM_PaintVisibleWindow)->Arg(1025)->Arg(1000000)->Unit(benchmark::kMicrosecond);

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
