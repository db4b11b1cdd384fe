// Painting the string grid as it paints itself.
// (1) A full visible window of 30 x 20 cells (one header row and column among them), plain
//     and with short markup in every cell, beside the toolkit's table view over a standard
//     item model of the same visible size, font and cell sizes, rendered offscreen.
// (3) The visible window of a 12-column grid at 1,025 and 1,000,000 rows and with 1,000
//     hidden rows above it: the cost depends on what is visible only.
// (4) Scrolling that window by one row (the top row moving as Down at the last visible row
//     moves it), beside the full repaint of (1): the rows' pixels move, one row is painted.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "ExtCGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/peers/TableViewPeer.h"

namespace {

constexpr int kWinCols = 30, kWinRows = 20, kCellW = 64, kCellH = 20;

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
};

// A grid whose client area shows exactly kWinCols x kWinRows cells.
Setup MakeWindowGrid(bool Markup) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.form->SetBounds(0, 0, kWinCols * kCellW + 40, kWinRows * kCellH + 40);
    s.grid = new grid::TExtColumnGrid(s.form.get());
    s.grid->SetParent(s.form.get());
    s.grid->Font()->SetName(u"Tahoma");
    s.grid->Font()->SetSize(8);
    s.grid->SetColCount(kWinCols);
    s.grid->SetRowCount(kWinRows);
    s.grid->SetFixedRows(1);
    s.grid->SetFixedCols(1);
    s.grid->SetDefaultColWidth(kCellW - 1);  // the grid line makes the pitch kCellW
    s.grid->SetDefaultRowHeight(kCellH - 1);
    s.grid->SetBounds(0, 0, kWinCols * kCellW + 4, kWinRows * kCellH + 4);
    for (int c = 1; c < kWinCols; ++c) s.grid->Columns()->Items(c)->SetHeader(u"Col " + plat::IntToStr(c));
    for (int r = 1; r < kWinRows; ++r)
        for (int c = 0; c < kWinCols; ++c) {
            const plat::String n = plat::IntToStr((r * 7 + c) % 997);
            s.grid->SetGridCell(c, r, Markup ? u"<B>" + n + u"</B> <I>x</I>" : n);
        }
    s.form->Show();
    return s;
}

void BM_GridWindow(benchmark::State& state) {
    Setup s = MakeWindowGrid(state.range(0) != 0);
    for (auto _ : state) {
        s.grid->Invalidate();
        s.grid->Update();
    }
    state.counters["cells"] = (s.grid->VisibleColCount() + 1) * (s.grid->VisibleRowCount() + 1);
}

void BM_TableViewPeer(benchmark::State& state) {
    plat::peers::TableViewPeer peer(kWinCols, kWinRows, kCellW, kCellH, "Tahoma", 8);
    for (auto _ : state) peer.RenderViewport();
    state.counters["cells"] = peer.VisibleCells();
}

constexpr int kCols = 12;

// Rows filled only around the visible window: the paint reads nothing else.
Setup MakeTallGrid(int rows, int hidden) {
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
    s.grid->SetActiveCellShow(true);
    s.grid->HoverRow = true;
    for (int c = 1; c < kCols; ++c) s.grid->Columns()->Items(c)->SetHeader(u"Col " + plat::IntToStr(c));
    s.grid->Columns()->Items(3)->SetColor(plat::clYellow);
    const int top = rows / 2;
    for (int r = top - hidden - 2; r < top + 60 && r < rows; ++r)
        for (int c = 0; c < kCols; ++c) s.grid->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 997));
    if (hidden > 0) s.grid->HideRows(top - hidden, top - 1);
    const int shownTop = top - hidden;
    s.grid->SetTopRow(shownTop);
    s.grid->SetRow(shownTop + 3);
    s.grid->SetCol(2);
    s.grid->SetHoverRowIdx(shownTop + 5);
    s.form->Show();
    return s;
}

void BM_PaintVisibleWindow(benchmark::State& state) {
    Setup s = MakeTallGrid(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        s.grid->Invalidate();
        s.grid->Update();
    }
    state.counters["visible_rows"] = s.grid->VisibleRowCount();
}

// One row down, then one row up: each step moves the pixels and paints the uncovered row.
void BM_ScrollOneRow(benchmark::State& state) {
    Setup s = MakeWindowGrid(false);
    s.grid->SetRowCount(200);
    for (int r = kWinRows; r < 200; ++r)
        for (int c = 0; c < kWinCols; ++c) s.grid->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 997));
    s.grid->Invalidate();
    s.grid->Update();
    int step = 1;
    for (auto _ : state) {
        s.grid->SetTopRow(s.grid->TopRow() + step);
        s.grid->Update();
        step = -step;
    }
}

} // namespace

BENCHMARK(BM_ScrollOneRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridWindow)->ArgName("markup")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableViewPeer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintVisibleWindow)
    ->ArgNames({"rows", "hidden"})
    ->Args({1025, 0})
    ->Args({1000000, 0})
    ->Args({2025, 1000})
    ->Unit(benchmark::kMicrosecond);

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
