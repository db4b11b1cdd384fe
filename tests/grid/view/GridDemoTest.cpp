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

} // namespace
