// A demo in a real window, on request only: set GRID_DEMO_CAPTURE to a shell command with one
// "%s" for a step name (it captures the screen, e.g. with xwd and convert) and run with the
// xcb platform on a display. It shows a form with a grid, hovers a button whose hint is
// markup with UseHTMLHints, shows the focus frame on a cell and moves the form; a second demo
// shows the grid in every look and style and scrolls it by keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <atomic>
#include <fstream>

#include "ExtCGrid.h"
#include "ExtGrid.h"
#include "GridHint.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

// Lets the window system show the windows, then runs the capture command for the step.
void Capture(const std::string& Step) {
    for (int i = 0; i < 20; ++i) {
        pt::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    std::string cmd = std::getenv("GRID_DEMO_CAPTURE");
    const auto at = cmd.find("%s");
    if (at != std::string::npos) cmd.replace(at, 2, Step);
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

TEST(GridDemo, HintFocusFrameAndFormMove) {
    if (!std::getenv("GRID_DEMO_CAPTURE")) GTEST_SKIP() << "set GRID_DEMO_CAPTURE to run the demo";
    auto form = std::make_unique<plat::TForm>(nullptr);
    form->SetCaption(u"Grid demo");
    form->SetBounds(40, 40, 520, 340);
    auto* grid = new TExtStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(8, 8, 500, 250);
    grid->SetColCount(6);
    grid->SetRowCount(20);
    grid->SetDefaultColWidth(64);
    grid->SetDefaultRowHeight(20);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 6; ++c)
            grid->SetCells(c, r, r == 0 ? u"Col " + plat::IntToStr(c) : plat::IntToStr(r * 10 + c));
    grid->SetScrollType(ssFlat);
    auto* button = new plat::TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(8, 270, 120, 26);
    button->SetCaption(u"Hover me");
    button->SetHint(u"<B>Bold</B> text and <FONT color=\"clRed\">red</FONT>");
    button->SetShowHint(true);
    grid->SetUseHTMLHints(true);
    form->Show();
    Capture("1-form");

    pt::Move(button, 20, 10);
    plat::Application->ActivateHint(button->ClientToScreen({20, 10}));
    Capture("2-markup-hint");
    plat::Application->CancelHint();

    grid->SetCol(2);
    grid->SetRow(3);
    grid->ShowFocusHelper(grid->CellRect(2, 3));
    Capture("3-focus-frame");
    form->SetBounds(form->Left() + 160, form->Top() + 90, form->Width(), form->Height());
    Capture("4-form-moved");
    grid->HideFocusHelper();
    grid->SetUseHTMLHints(false);
}

TEST(GridDemo, LooksStylesAndScrolling) {
    if (!std::getenv("GRID_DEMO_CAPTURE")) GTEST_SKIP() << "set GRID_DEMO_CAPTURE to run the demo";
    auto form = std::make_unique<plat::TForm>(nullptr);
    form->SetCaption(u"Grid looks");
    form->SetBounds(40, 40, 520, 300);
    auto* grid = new TExtStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(8, 8, 500, 250);
    grid->SetColCount(6);
    grid->SetRowCount(60);
    for (int r = 0; r < 60; ++r)
        for (int c = 0; c < 6; ++c)
            grid->SetCells(c, r, r == 0 ? u"Col " + plat::IntToStr(c) : plat::IntToStr(r * 10 + c));
    grid->AddCheckBox(2, 2, true, false);
    grid->AddProgress(3, 2, plat::clBlue, plat::clWhite);
    grid->SetCells(3, 2, u"60");
    grid->SetCells(4, 2, u"<B>bold</B> <FONT color=\"clRed\">red</FONT>");
    form->Show();
    const char* looks[] = {"standard", "soft", "classic", "zod", "xp", "listview", "vista", "win7", "office2007", "custom"};
    for (int l = glStandard; l <= glCustom; ++l) {
        grid->SetLook(static_cast<TGridLook>(l));
        Capture(std::string("look-") + std::to_string(l) + "-" + looks[l]);
    }
    for (int st = gsOffice2003Blue; st <= gsOffice2010Black; ++st) {
        grid->SetStyle(static_cast<TExtGridStyle>(st));
        Capture("style-" + std::to_string(st));
    }
    grid->SetFocus();
    grid->SetRow(grid->TopRow() + grid->VisibleRowCount() - 1);
    Capture("scroll-0-last-visible-row");
    for (int i = 1; i <= 3; ++i) {
        pt::Key(plat::VK_DOWN);
        Capture("scroll-" + std::to_string(i) + "-down");
    }
    pt::Key(plat::VK_NEXT);
    Capture("scroll-4-page-down");
}

// Driven from outside, on request only: set GRID_DEMO_SCRIPT to a shell command and run with
// the xcb platform on a display. The test writes the screen points of the cells it offers to
// the file GRID_DEMO_POINTS names (shell assignments), runs the command while the event loop
// turns, and prints the cells of both grids afterwards. The first grid is laid out like a read
// table (no goEditing: text, drop-down list and date columns, movable columns, cells dragged
// out); the second takes drops.
TEST(GridDemo, DrivenFromOutside) {
    const char* script = std::getenv("GRID_DEMO_SCRIPT");
    const char* points = std::getenv("GRID_DEMO_POINTS");
    if (!script || !points) GTEST_SKIP() << "set GRID_DEMO_SCRIPT and GRID_DEMO_POINTS to run the demo";
    auto form = std::make_unique<plat::TForm>(nullptr);
    form->SetCaption(u"Grid input demo");
    form->SetBounds(0, 0, 640, 560);
    auto* g = new TExtColumnGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(8, 8, 620, 250);
    g->SetColCount(6);
    g->SetRowCount(6);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    const char16_t* headers[] = {u"N", u"Name", u"Type", u"Address", u"Date", u"Unit"};
    const TEditorType editors[] = {edNormal, edNormal, edComboList, edNormal, edDateEdit, edNormal};
    for (int c = 0; c < 6; ++c) {
        g->Columns()->Items(c)->SetHeader(headers[c]);
        g->Columns()->Items(c)->SetEditor(editors[c]);
        g->Columns()->Items(c)->SetWidth(c == 5 ? 60 : 100);
    }
    // Cells of a read-only column are dragged (an editable cell edits instead).
    g->Columns()->Items(5)->ReadOnly = true;
    for (const char16_t* t : {u"Coil", u"Discrete", u"Holding", u"Input"}) g->Columns()->Items(2)->ComboItems()->Add(t);
    for (int r = 1; r < 6; ++r) {
        g->SetCells(0, r, plat::IntToStr(r));
        g->SetCells(1, r, u"n" + plat::IntToStr(r));
        g->SetCells(2, r, u"Coil");
        g->SetCells(3, r, plat::IntToStr(100 + r));
        g->SetCells(5, r, u"u" + plat::IntToStr(r));
    }
    g->SetOptions(plat::TGridOptions(g->Options()).Include(plat::goColMoving).Include(plat::goTabs));
    g->Navigation()->AdvanceOnEnter = true;
    g->DragDropSettings()->OleDropSource = true;
    auto* target = new TExtStringGrid(form.get());
    target->SetParent(form.get());
    target->SetBounds(8, 290, 620, 250);
    target->SetColCount(5);
    target->SetRowCount(6);
    target->SetOptions(plat::TGridOptions(target->Options()).Include(plat::goEditing));
    target->DragDropSettings()->SetOleDropTarget(true);
    form->Show();
    for (int i = 0; i < 40; ++i) {
        pt::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    {
        std::ofstream out(points);
        auto put = [&](const char* name, plat::TControl* c, plat::TRect r) {
            const plat::TPoint p = c->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
            out << name << "_X=" << p.X << "\n" << name << "_Y=" << p.Y << "\n";
        };
        for (int c = 0; c < 6; ++c)
            for (int r = 0; r < 6; ++r) {
                const std::string n = "C" + std::to_string(c) + "R" + std::to_string(r);
                put(n.c_str(), g, g->CellRect(c, r));
                if (c < 5) put(("T" + n).c_str(), target, target->CellRect(c, r));
            }
    }
    std::atomic<bool> done{false};
    int rc = -1;
    std::thread driver([&] {
        rc = std::system(script);
        done = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(180);
    while (!done && std::chrono::steady_clock::now() < until) {
        pt::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    driver.join();
    EXPECT_EQ(rc, 0);
    for (auto* grid : {static_cast<TExtStringGrid*>(g), target}) {
        std::string line;
        for (int r = 0; r < grid->RowCount(); ++r) {
            line.clear();
            for (int c = 0; c < grid->ColCount(); ++c) line += plat::StringToUtf8(grid->Cells(c, r)) + " | ";
            std::printf("%s\n", line.c_str());
        }
        std::printf("--\n");
    }
}

} // namespace
