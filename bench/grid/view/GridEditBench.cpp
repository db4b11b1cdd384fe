// Editing and keyboard figures of the string grid, driven through its key path (key-down
// messages to the focused window, painting the changed cells after each step).
// (1) Editor show and hide: F2 opens the cell's editor with its text, Escape closes it; the
//     text editor and a 20-item drop-down list, beside the toolkit's table view opening and
//     closing a persistent line-edit editor on a cell.
// (2) Down and Up on a 12-column grid of 1,025 and 1,000,000 rows.
// (3) Tab advance over 12 columns of which 2 are read-only (goTabs), within the rows in view
//     and down the grid.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "ExtCGrid.h"
#include "GridEditors.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"
#include "plat/peers/TableEditPeer.h"

namespace {

constexpr int kCols = 12;

struct Setup {
    std::unique_ptr<plat::TForm> form;
    grid::TExtColumnGrid* grid = nullptr;
};

Setup MakeGrid(int Rows, bool Tabs) {
    Setup s;
    s.form = std::make_unique<plat::TForm>(nullptr);
    s.form->SetBounds(0, 0, 900, 500);
    s.grid = new grid::TExtColumnGrid(s.form.get());
    s.grid->SetParent(s.form.get());
    s.grid->SetBounds(0, 0, 880, 480);
    s.grid->SetColCount(kCols);
    s.grid->SetRowCount(Rows);
    s.grid->SetFixedRows(1);
    s.grid->SetFixedCols(1);
    plat::TGridOptions o = s.grid->Options();
    o.Include(plat::goEditing);
    if (Tabs) o.Include(plat::goTabs);
    s.grid->SetOptions(o);
    for (int c = 1; c < kCols; ++c) s.grid->Columns()->Items(c)->SetHeader(u"Col " + plat::IntToStr(c));
    grid::TGridColumnItem* combo = s.grid->Columns()->Items(2);
    combo->SetEditor(grid::edComboList);
    for (int i = 0; i < 20; ++i) combo->ComboItems()->Add(u"Item " + plat::IntToStr(i));
    for (int r = 1; r < std::min(Rows, 200); ++r)
        for (int c = 0; c < kCols; ++c) s.grid->SetGridCell(c, r, plat::IntToStr((r * 7 + c) % 997));
    s.form->Show();
    s.grid->SetFocus();
    plat::Application->ProcessMessages();
    return s;
}

void KeyTo(plat::TWinControl* Target, std::uint16_t Key) {
    Target->Perform(plat::WM_KEYDOWN, Key, 0);
    Target->Perform(plat::WM_KEYUP, Key, 0);
}

void BM_EditorShowHide(benchmark::State& state) {
    const bool combo = state.range(0) != 0;
    Setup s = MakeGrid(100, false);
    s.grid->SetRow(5);
    s.grid->SetCol(combo ? 2 : 1);
    int opened = 0;
    for (auto _ : state) {
        KeyTo(s.grid, plat::VK_F2);
        plat::TWinControl* editor = combo ? static_cast<plat::TWinControl*>(s.grid->Combobox())
                                          : static_cast<plat::TWinControl*>(s.grid->NormalEdit());
        opened += editor->Visible();
        KeyTo(editor, plat::VK_ESCAPE);
        s.grid->Update();
    }
    if (opened != static_cast<int>(state.iterations())) state.SkipWithError("the editor did not open");
}

void BM_TableEditPeer(benchmark::State& state) {
    plat::peers::TableEditPeer peer(kCols, 100);
    for (auto _ : state) peer.OpenCloseEditor(1, 5);
}

void BM_KeyNavigation(benchmark::State& state) {
    Setup s = MakeGrid(static_cast<int>(state.range(0)), false);
    const int middle = s.grid->RowCount() / 2;
    s.grid->SetRow(middle);
    s.grid->SetCol(3);
    s.grid->Update();
    for (auto _ : state) {
        KeyTo(s.grid, plat::VK_DOWN);
        s.grid->Update();
        KeyTo(s.grid, plat::VK_UP);
        s.grid->Update();
    }
    if (s.grid->Row() != middle) state.SkipWithError("navigation went astray");
    state.counters["steps"] = benchmark::Counter(2.0 * static_cast<double>(state.iterations()));
    state.SetItemsProcessed(2 * state.iterations());
}

// Arg 1: the advance runs down the grid, so each wrap to the next row below the view scrolls
// (and repaints) the grid; arg 0: it stays within the rows in view, repainting only the two
// changed cells a step.
void BM_TabAdvance(benchmark::State& state) {
    const bool scrolling = state.range(0) != 0;
    Setup s = MakeGrid(1025, true);
    s.grid->Columns()->Items(4)->ReadOnly = true;
    s.grid->Columns()->Items(7)->ReadOnly = true;
    s.grid->SetRow(10);
    s.grid->SetCol(1);
    for (auto _ : state) {
        KeyTo(s.grid, plat::VK_TAB);
        s.grid->Update();
        if (s.grid->Row() > (scrolling ? 900 : 10 + s.grid->VisibleRowCount() / 2)) {
            state.PauseTiming();
            s.grid->SetRow(10);
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_EditorShowHide)->ArgName("combo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TableEditPeer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyNavigation)->ArgName("rows")->Arg(1025)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TabAdvance)->ArgName("scroll")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

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
