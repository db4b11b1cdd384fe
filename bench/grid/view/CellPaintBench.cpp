// Painting the visible window of a column grid as the grid paints itself, at 1,025 rows (the
// largest rule table) and at 100,000 rows: the cost depends on what is visible only, so
// both should take the same time.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

constexpr int kCols = 12;

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
};

Setup MakeGrid(int rows) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.form->SetBounds(0, 0, 900, 700);
    s.grid = new grid::TExtColumnGrid(s.form.get());
    s.grid->SetParent(s.form.get());
    s.grid->SetColCount(kCols);
    s.grid->SetRowCount(rows);
    s.grid->SetFixedRows(1);
    s.grid->SetFixedCols(1);
    s.grid->SetBounds(0, 0, 800, 600);
    s.grid->SetHoverFixedCells(grid::hfAll);
    s.grid->SetHoverFixedCell(2, 0);
    s.grid->ActiveCellShow = true;
    s.grid->HoverRow = true;
    for (int c = 1; c < kCols; ++c) s.grid->Columns()->Items(c)->SetHeader(u"Col " + plat::IntToStr(c));
    s.grid->Columns()->Items(3)->SetColor(plat::clYellow);
    for (int r = 1; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) s.grid->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 997));
    s.grid->MergeCells(4, rows / 2 + 2, 3, 2);
    s.grid->SetTopRow(rows / 2);
    s.grid->SetRow(rows / 2 + 3);
    s.grid->SetCol(2);
    s.grid->SetHoverRowIdx(rows / 2 + 5);
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

BENCHMARK(BM_PaintVisibleWindow)->Arg(1025)->Arg(100000)->Unit(benchmark::kMicrosecond);

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
