// A column grid the size of the rule editors' tables (1,025 rows, 20 columns): the colour
// and editor hooks asked for a visible window of cells, copying a whole grid through the
// cell text format, and building a column's filter list.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

constexpr int kCols = 20;

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
};

Setup MakeGrid(int rows) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.grid = new grid::TExtColumnGrid(s.form.get());
    s.grid->SetColCount(kCols);
    s.grid->SetRowCount(rows);
    s.grid->SetFixedRows(1);
    s.grid->SetFixedCols(1);
    for (int c = 1; c < kCols; ++c) {
        s.grid->Columns()->Items(c)->SetHeader(u"Col " + plat::IntToStr(c));
        s.grid->Columns()->Items(c)->SetEditor(c % 3 == 0 ? grid::edComboList : grid::edNormal);
    }
    for (int r = 1; r < rows; ++r)
        for (int c = 0; c < kCols; ++c) s.grid->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 97));
    return s;
}

// 30 visible rows x all columns, as one paint asks.
void BM_HooksForVisibleWindow(benchmark::State& state) {
    Setup s = MakeGrid(static_cast<int>(state.range(0)));
    plat::TBrush brush;
    plat::TFont font;
    const int top = static_cast<int>(state.range(0)) / 2;
    for (auto _ : state) {
        for (int r = top; r < top + 30; ++r)
            for (int c = 0; c < kCols; ++c) {
                s.grid->GetCellColor(c, r, plat::TGridDrawState{}, &brush, &font);
                grid::TEditorType e = grid::edNormal;
                s.grid->GetCellEditorType(c, r, e);
                benchmark::DoNotOptimize(e);
            }
    }
}

void BM_AssignCells(benchmark::State& state) {
    Setup src = MakeGrid(static_cast<int>(state.range(0)));
    Setup dst = MakeGrid(2);
    for (auto _ : state) dst.grid->AssignCells(src.grid);
}

void BM_ColumnFilter(benchmark::State& state) {
    Setup s = MakeGrid(static_cast<int>(state.range(0)));
    s.grid->FilterDropDownAuto = true;
    for (auto _ : state) benchmark::DoNotOptimize(s.grid->GetColumnFilter(2));
}

} // namespace

BENCHMARK(BM_HooksForVisibleWindow)->Arg(1025)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AssignCells)->Arg(1025)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ColumnFilter)->Arg(1025)->Unit(benchmark::kMicrosecond);

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
