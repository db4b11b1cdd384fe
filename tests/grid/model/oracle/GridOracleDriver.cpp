// Runs the cases an outside oracle generated through the grid's sort and filter, and prints
// the resulting row order. Input (UTF-8, one case per block, blocks ended by a line "."):
//   sort <style> <descending 0|1> <prefix> <suffix>   sorted by column 1, QSort
//   index <descending of column 2 0|1>                 QSortIndexed: column 1 (text)
//                                                      ascending, then column 2 (numeric)
//   filter <pattern> <case-sensitive 0|1>             FilterActive on column 1
//   group <method>                                     Group(1), then GroupCalc of the
//                                                      former column 2 by method 1..8
// then one line per row, its cells tab-separated (columns 1, 2, ...). Fields of the first line
// are tab-separated; "-" stands for an empty prefix or suffix. Output: per case one line with
// the original row numbers (from 0) in the resulting display order; for "group" the figure
// of each group in display order, written with "%.17e".
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> out;
    std::string cur;
    for (char ch : line) {
        if (ch == '\t') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    out.push_back(cur);
    return out;
}

plat::String U(const std::string& s) { return plat::Utf8ToString(s); }

std::string RunCase(const std::vector<std::string>& head, const std::vector<std::vector<std::string>>& rows) {
    auto form = std::make_unique<plat::TForm>(nullptr);
    auto* grid = new grid::TExtStringGrid(form.get());
    const int n = static_cast<int>(rows.size());
    grid->SetColCount(4);
    grid->SetRowCount(n + 1);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    for (int r = 0; r < n; ++r) {
        grid->SetCells(0, r + 1, plat::IntToStr(r));
        for (std::size_t c = 0; c < rows[static_cast<std::size_t>(r)].size() && c < 3; ++c)
            grid->SetCells(static_cast<int>(c) + 1, r + 1, U(rows[static_cast<std::size_t>(r)][c]));
    }
    const std::string& mode = head.at(0);
    if (mode == "sort") {
        const auto style = static_cast<grid::TSortStyle>(std::stoi(head.at(1)));
        const plat::String prefix = head.at(3) == "-" ? plat::String() : U(head.at(3));
        const plat::String suffix = head.at(4) == "-" ? plat::String() : U(head.at(4));
        grid->OnGetFormat = [&](plat::TObject*, int, grid::TSortStyle& st, plat::String& pre, plat::String& suf) {
            st = style;
            pre = prefix;
            suf = suffix;
        };
        grid->SortSettings()->Full = false;
        grid->Sort(1, head.at(2) == "1" ? grid::sdDescending : grid::sdAscending);
    } else if (mode == "index") {
        grid->OnGetFormat = [](plat::TObject*, int c, grid::TSortStyle& st, plat::String&, plat::String&) {
            st = c == 1 ? grid::ssAlphabetic : grid::ssNumeric;
        };
        grid->SortIndexes()->AddIndex(1, true);
        grid->SortIndexes()->AddIndex(2, head.at(1) != "1");
        grid->QSortIndexed();
    } else if (mode == "filter") {
        grid::TFilterData* f = grid->Filter()->Add();
        f->Column = 1;
        f->Condition = U(head.at(1));
        f->CaseSensitive = head.at(2) == "1";
        grid->SetFilterActive(true);
    } else if (mode == "group") {
        grid->FloatFormat = u"%.17e";
        grid->Group(1);
        grid->GroupCalc(1, std::stoi(head.at(1)));
        std::string out;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) {
            if (!grid->IsNode(r)) continue;
            if (!out.empty()) out += ' ';
            out += plat::StringToUtf8(grid->Cells(1, r));
        }
        return out;
    }
    std::string out;
    for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) {
        if (r > grid->FixedRows()) out += ' ';
        out += plat::StringToUtf8(grid->Cells(0, r));
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    plat::Application->Initialize();
    plat::FormatSettings = plat::TFormatSettings{};  // "." decimals, "," thousands, dd/mm/yyyy, ":"
    if (argc < 2) {
        std::cerr << "usage: grid_oracle_driver <cases file>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    std::string line;
    std::vector<std::string> head;
    std::vector<std::vector<std::string>> rows;
    while (std::getline(in, line)) {
        if (line == ".") {
            std::cout << RunCase(head, rows) << "\n";
            head.clear();
            rows.clear();
        } else if (head.empty()) {
            head = Split(line);
        } else {
            rows.push_back(Split(line));
        }
    }
    return 0;
}
