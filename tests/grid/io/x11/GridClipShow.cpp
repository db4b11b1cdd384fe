// grid_clip_show text|html: puts the 2 x 2 selection "a", "b" / "c", "d" of a string grid on
// the system clipboard (as tab-separated text, or as the HTML block), prints "ready" and keeps
// serving the clipboard until its standard input closes or 30 seconds pass. Run it on a real
// display to read the clipboard with another program.
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "ExtGrid.h"
#include "plat/Forms.h"

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "text") != 0 && std::strcmp(argv[1], "html") != 0)) {
        std::fprintf(stderr, "usage: grid_clip_show text|html\n");
        return 2;
    }
    plat::Application->Initialize();
    auto form = std::make_unique<plat::TForm>(nullptr);
    auto* grid = new grid::TExtStringGrid(form.get());
    grid->SetParent(form.get());
    grid->SetColCount(2);
    grid->SetRowCount(2);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetCells(0, 0, u"a");
    grid->SetCells(1, 0, u"b");
    grid->SetCells(0, 1, u"c");
    grid->SetCells(1, 1, u"d");
    grid->SetSelection(plat::TGridRect{0, 0, 1, 1});
    if (std::strcmp(argv[1], "text") == 0) grid->CopySelectionToClipboard();
    else grid->CopyToClipBoardAsHTML();
    std::printf("ready\n");
    std::fflush(stdout);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until) {
        plat::Application->ProcessMessages();
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (::poll(&in, 1, 10) > 0) {
            char c;
            if (::read(STDIN_FILENO, &c, 1) <= 0) break;
        }
    }
    return 0;
}
