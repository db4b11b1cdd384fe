// The native cell file and the cell text stream of the string grid: the lines as written,
// what loading makes of hand-written files and streams (damaged ones included), AssignCells,
// CellToReal and the font scaling.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "GridFileFixture.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;
namespace pt = plat::testing;

namespace {

using grid::testing::U8;
using testsupport::ThrowsWith;

std::string Utf16(const String& s) {
    std::string out;
    for (char16_t u : s) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

class GridTextFileTest : public grid::testing::GridFileTest {
protected:
    void SetUp() override {
        GridFileTest::SetUp();
        grid = MakeGrid();
    }
    TExtStringGrid* MakeGrid() { return NewGrid(); }
};

TEST_F(GridTextFileTest, SavedLinesAndEncodings) {
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetColWidths(0, 30);
    grid->SetColWidths(1, 40);
    grid->SetColWidths(2, 50);
    grid->SetCells(1, 0, u"è");
    grid->SetCells(2, 1, u"a\r\nb");
    grid->SetCells(0, 1, u"x\u4E2D");  // not in the ANSI code page: "?" there
    const String uni = File("u.txt"), ansi = File("a.txt");
    grid->SaveToFile(uni, true);
    grid->SaveToFile(ansi, false);
    const String lines = u"3,2\r\ncw 0,30\r\ncw 1,40\r\ncw 2,50\r\n1,0,è\r\n0,1,x\u4E2D\r\n2,1,a\x09\x08" u"b\r\n";
    EXPECT_EQ(Read(uni), "\xFF\xFE" + Utf16(lines));
    EXPECT_EQ(Read(ansi), plat::StringToAnsi(lines));
}

// What loading a hand-written native file gives, one case per row.
TEST_F(GridTextFileTest, LoadingHandWrittenFiles) {
    struct Case {
        const char* what;
        std::string bytes;
        bool multiline;
        int col, row;
        String expected;
    };
    const Case cases[] = {
        {"multi-line cell, MultilineCells on", "2,2\r\n1,1,a\x09\x08" "b\r\n", true, 1, 1, u"a\r\nb"},
        {"multi-line cell, MultilineCells off", "2,2\r\n1,1,a\x09\x08" "b\r\n", false, 1, 1, u"a"},
        {"tab without a line break stays", "2,2\r\n1,1,a\tb\r\n", true, 1, 1, u"a\tb"},
        {"tab with a line break becomes CR", "2,2\r\n1,1,a\tb\x09\x08" "c\r\n", true, 1, 1, u"a\rb\r\nc"},
        {"a line without a comma goes to cell 0,0", "2,2\r\nwhole line\r\n", false, 0, 0, u"whole line"},
        {"a number without a comma is text of cell 0,0", "2,2\r\n1\r\n", false, 0, 0, u"1"},
        {"a missing second comma leaves the text empty", "2,2\r\n1,1\r\n1,1x\r\n", false, 1, 1, u""},
        {"numbers with leading blanks and trailing junk", "2,2\r\n 1x,1y,t\r\n", false, 1, 1, u"t"},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" "2,2\r\n1,1,\xC3\xA8\r\n", false, 1, 1, u"è"},
        {"ANSI without mark", "2,2\r\n1,1,\xE8\r\n", false, 1, 1, u"è"},
        {"UTF-16BE with mark", std::string("\xFE\xFF\0" "2\0,\0" "2\0\r\0\n\0" "1\0,\0" "1\0,\0x", 22), false, 1, 1,
         u"x"},
        {"LF line ends", "2,2\n1,1,x\n", false, 1, 1, u"x"},
        {"CR line ends", "2,2\r0,0,y\r1,1,x\r", false, 1, 1, u"x"},
        {"a width line without a comma", "2,2\rcw 1\r1,1,x", false, 1, 1, u"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* g = MakeGrid();
        g->MultilineCells = c.multiline;
        g->LoadFromFile(Write("case.txt", c.bytes));
        EXPECT_EQ(U8(g->Cells(c.col, c.row)), U8(c.expected));
        EXPECT_EQ(g->ColCount(), 2);
        EXPECT_EQ(g->RowCount(), 2);
        Check(*g);
    }
}

// An 8-bit file's usual "c,r,text" lines are read in one pass, every other line by the
// general rule; a UTF-16 file of the same lines takes the general rule for all of them, so
// both must give the same grid, whatever mix of usual and unusual lines the file holds.
TEST_F(GridTextFileTest, EightBitLinesLoadAsTheirUtf16Form) {
    const std::vector<std::string> lines = {
        "0,0,abc",        "01,2,leading zero",  "1,02,x",         "3,1,",         "2,1,a,b,c",
        "123456789,1,z",  "1234567890,1,z",     "2,1234567890,z", "+1,0,p",       "-1,0,q",
        " 2,3,r",         "2 ,3,s",             "1,1x,w",         "x,1,v",        "3,0",
        "1,3,a\x09\x08b", "0,3,a\x08\x08" "b",  "2,2,\xE8\x80\xFF", "2,0,\x01\x08", "cw 1,40",
        "cw 2",           "",                   "3,3,t\tu",       "0,1,9,9",      "3,2,last",
    };
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string body = "4,4";
        for (const std::string& l : lines) body += end + l;
        for (const bool multiline : {true, false}) {
            for (const bool utf8 : {false, true}) {
                SCOPED_TRACE(std::string(utf8 ? "UTF-8" : "ANSI") + (multiline ? ", multi-line" : "") +
                             ", line end " + std::to_string(std::string(end).size()) + std::to_string(end[0]));
                const String text = utf8 ? plat::Utf8ToString(plat::StringToUtf8(plat::AnsiToString(body)))
                                         : plat::AnsiToString(body);
                auto* eight = MakeGrid();
                auto* wide = MakeGrid();
                eight->MultilineCells = wide->MultilineCells = multiline;
                eight->LoadFromFile(Write("eight.txt", utf8 ? "\xEF\xBB\xBF" + plat::StringToUtf8(text) : body));
                wide->LoadFromFile(Write("wide.txt", "\xFF\xFE" + Utf16(text)));
                ASSERT_EQ(eight->ColCount(), 4);
                ASSERT_EQ(eight->RowCount(), 4);
                for (int c = 0; c < 4; ++c) {
                    EXPECT_EQ(eight->ColWidths(c), wide->ColWidths(c)) << c;
                    for (int r = 0; r < 4; ++r) EXPECT_EQ(U8(eight->Cells(c, r)), U8(wide->Cells(c, r))) << c << "," << r;
                }
            }
        }
    }
    // The usual lines themselves, read in one pass.
    auto* g = MakeGrid();
    g->LoadFromFile(Write("plain.txt", "4,4\r\n0,0,abc\r\n01,2,x\r\n3,3,\xE8\r\n2,1,a,b\r\n1,3,\r\n0,2,last"));
    EXPECT_EQ(g->Cells(0, 0), u"abc");
    EXPECT_EQ(g->Cells(1, 2), u"x");
    EXPECT_EQ(g->Cells(3, 3), u"è");
    EXPECT_EQ(g->Cells(2, 1), u"a,b");
    EXPECT_EQ(g->Cells(0, 2), u"last");
}

TEST_F(GridTextFileTest, WidthLinesBeyondTheCountAndCellsOutsideAreSkipped) {
    grid->SetColCount(5);
    const int before = grid->ColWidths(4);
    grid->LoadFromFile(Write("f.txt",
                             "5,3\r\ncw 4,77\r\ncw 7,99\r\ncw -1,5\r\n-1,0,neg\r\n0,-2,neg\r\n5,0,out\r\n0,3,out\r\n"
                             "4,2,in\r\n"));
    EXPECT_EQ(grid->ColWidths(4), 77);
    EXPECT_NE(before, 77);
    EXPECT_EQ(grid->ColCount(), 5);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Cells(4, 2), u"in");
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 3; ++r)
            if (c != 4 || r != 2) {
                EXPECT_EQ(grid->Cells(c, r), u"") << c << "," << r;
            }
    Check(*grid);
}

TEST_F(GridTextFileTest, FileWithoutFixedCellsLoadsInPlace) {
    grid->SetColCount(4);
    grid->SetRowCount(4);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SaveFixedCells = false;
    grid->SetCells(0, 0, u"fixed");
    grid->SetCells(1, 1, u"first");
    grid->SetCells(3, 3, u"last");
    const String f = File("nofixed.txt");
    grid->SaveToFile(f, true);
    const std::string bytes = Read(f);
    EXPECT_EQ(bytes.substr(2, 8), Utf16(u"3,3\r"));
    EXPECT_NE(bytes.find(Utf16(u"1,1,first\r\n")), std::string::npos);
    EXPECT_EQ(bytes.find(Utf16(u"fixed")), std::string::npos);

    auto* g = MakeGrid();
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SaveFixedCells = false;
    g->LoadFromFile(f);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Cells(1, 1), u"first");
    EXPECT_EQ(g->Cells(3, 3), u"last");
    Check(*g);
}

TEST_F(GridTextFileTest, HiddenColumnCellsTravelWithTheirRealColumn) {
    grid->SetColCount(4);
    grid->SetRowCount(2);
    for (int c = 0; c < 4; ++c) grid->SetCells(c, 1, u"r" + plat::IntToStr(c));
    grid->HideColumn(1);
    ASSERT_EQ(grid->ColCount(), 3);

    const String shown = File("shown.txt");
    grid->SaveToFile(shown, false);
    auto* a = MakeGrid();
    a->LoadFromFile(shown);
    ASSERT_EQ(a->ColCount(), 3);
    EXPECT_EQ(a->Cells(0, 1), u"r0");
    EXPECT_EQ(a->Cells(1, 1), u"r2");
    EXPECT_EQ(a->Cells(2, 1), u"r3");

    grid->SaveHiddenCells = true;
    const String all = File("all.txt");
    grid->SaveToFile(all, false);
    auto* b = MakeGrid();
    b->LoadFromFile(all);
    ASSERT_EQ(b->ColCount(), 4);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(b->Cells(c, 1), u"r" + plat::IntToStr(c));
    Check(*a);
    Check(*b);
}

TEST_F(GridTextFileTest, BadFilesRaiseBeforeAnythingChanges) {
    grid->SetColCount(3);
    grid->SetCells(1, 1, u"kept");
    const String missing = File("missing.txt");
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { grid->LoadFromFile(missing); },
                                             u"Cannot open file \"" + missing + u"\"."));
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { grid->LoadFromFile(dir); }, u"Cannot open file \"" + dir + u"\"."));
    EXPECT_EQ(grid->Cells(1, 1), u"kept");
    for (const char* bad : {"999999999,999999999\r\n", "0,5\r\n", "-3,2\r\n"}) {
        SCOPED_TRACE(bad);
        const String f = Write("bad.txt", bad);
        EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->LoadFromFile(f); },
                                              u"File contains no data or corrupt file " + f));
    }
    EXPECT_EQ(grid->Cells(1, 1), u"kept");
    EXPECT_TRUE(ThrowsWith<plat::EFOpenError>([&] { grid->SaveToFile(dir + u"/no/such/f.txt", true); },
                                              u"Cannot create file \"" + dir + u"/no/such/f.txt\"."));
}

TEST_F(GridTextFileTest, HooksProgressAndNoReentry) {
    grid->SetColCount(2);
    grid->SetRowCount(5);
    grid->SetFixedRows(1);
    grid->SaveFixedCells = false;
    for (int r = 1; r < 5; ++r) grid->SetCells(1, r, u"v" + plat::IntToStr(r));
    std::vector<int> progress;
    grid->OnFileProgress = [&](plat::TObject*, short p) { progress.push_back(p); };
    grid->OnSaveCell = [](plat::TObject*, int, int r, String& v) {
        if (r == 2) v += u"!";
    };
    const String f = File("hooks.txt");
    grid->SaveToFile(f, true);
    EXPECT_EQ(progress, (std::vector<int>{0, 33, 67, 100}));  // from the first saved row

    auto* g = MakeGrid();
    int loads = 0;
    g->OnLoadCell = [&](plat::TObject*, int, int, String& v) {
        ++loads;
        g->LoadFromFile(f);  // a load inside a load does nothing
        v = u"<" + v + u">";
    };
    g->SetFixedRows(1);
    g->SaveFixedCells = false;
    g->LoadFromFile(f);
    EXPECT_EQ(loads, 4);
    EXPECT_EQ(g->Cells(1, 2), u"<v2!>");

    // One row: the divisor is at least 1.
    auto* one = MakeGrid();
    one->SetRowCount(1);
    one->SetFixedRows(0);
    one->SetCells(0, 0, u"x");
    progress.clear();
    one->OnFileProgress = grid->OnFileProgress;
    one->SaveToFile(File("one.txt"), true);
    EXPECT_EQ(progress, std::vector<int>{0});
}

TEST_F(GridTextFileTest, StreamLinesAndTheDataAfterThem) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SaveFixedCells = false;
    for (int c = 0; c < 3; ++c) grid->SetColWidths(c, 20 + c);
    grid->SetCells(1, 1, u"x\r\ny");
    grid->SetCells(2, 2, u"z");
    plat::TMemoryStream m;
    m.WriteBuffer("HEAD", 4);
    grid->SaveToStream(m);
    const String lines = u"2,2\r\ncw 0,20\r\ncw 1,21\r\ncw 2,22\r\n0,0,x\x09\x08y\r\n1,1,z\r\n";
    EXPECT_EQ(m.Bytes(), "HEAD" + Utf16(lines));
    const std::string trailer = Utf16(u"other data\r\n");
    m.WriteBuffer(trailer.data(), trailer.size());

    auto* g = MakeGrid();
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SaveFixedCells = false;
    g->MultilineCells = true;
    m.SetPosition(4);
    g->LoadFromStream(m);
    EXPECT_EQ(m.Position(), static_cast<std::int64_t>(4 + Utf16(lines).size()));
    EXPECT_EQ(g->ColCount(), 3);
    EXPECT_EQ(g->Cells(1, 1), u"x\r\ny");
    EXPECT_EQ(g->Cells(2, 2), u"z");
    EXPECT_EQ(g->ColWidths(2), 22);
    Check(*g);
}

TEST_F(GridTextFileTest, DamagedStreams) {
    struct Case {
        const char* what;
        String text;
        const char16_t* error;  // null: the stream loads
    };
    const Case cases[] = {
        {"hex number", u"2,2\r\n$1,1,x\r\n", u"'$1' is not a valid integer value"},
        {"blank before a number", u"2,2\r\n 1,1,x\r\n", u"' 1' is not a valid integer value"},
        {"huge counts", u"2000000000,2000000000\r\n", u"'2000000000,2000000000' is not a valid integer value"},
        {"negative count", u"-1,2\r\n", u"'-1,2' is not a valid integer value"},
        {"cell outside the counts", u"2,2\r\n5,5,x\r\n1,1,in\r\n", nullptr},
        {"negative cell", u"2,2\r\n-1,0,x\r\n1,1,in\r\n", nullptr},
        {"odd trailing byte", u"2,2\r\n1,1,in", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* g = MakeGrid();
        plat::TMemoryStream m;
        std::string bytes = Utf16(c.text);
        if (std::string(c.what) == "odd trailing byte") bytes += 'x';
        m.LoadFromBytes(bytes);
        if (c.error) {
            EXPECT_TRUE(ThrowsWith<plat::EConvertError>([&] { g->LoadFromStream(m); }, c.error));
        } else {
            g->LoadFromStream(m);
            EXPECT_EQ(g->Cells(1, 1), u"in");
            EXPECT_EQ(g->ColCount(), 2);
        }
        Check(*g);
    }
}

TEST_F(GridTextFileTest, AssignCellsCopiesEveryCell) {
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->SetFixedCols(1);
    grid->SetFixedRows(2);
    grid->MultilineCells = true;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 5; ++r) grid->SetCells(c, r, plat::IntToStr(c) + u"/" + plat::IntToStr(r) + u"\r\nz");
    auto* g = MakeGrid();
    g->MultilineCells = true;
    g->AssignCells(grid);
    EXPECT_EQ(g->ColCount(), 4);
    EXPECT_EQ(g->RowCount(), 5);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 5; ++r) EXPECT_EQ(g->Cells(c, r), grid->Cells(c, r)) << c << "," << r;
    Check(*g);
}

TEST_F(GridTextFileTest, CellToReal) {
    const plat::TFormatSettings saved = plat::FormatSettings;
    struct Case {
        const char* what;
        char16_t decimal, thousand;
        String text;
        double expected;
        String error;
    };
    const Case cases[] = {
        {"parenthesised, comma decimal", u',', u'.', u"(1.234,5)", -1234.5, u""},
        {"numeric part ends at a letter", u'.', u',', u"12abc", 12, u""},
        {"two decimal points", u'.', u',', u"1.2.3", 0, u"Error at position: 4 in Cell [1, 1]."},
        {"empty cell", u'.', u',', u"", 0, u""},
        {"exponent", u'.', u',', u"-2.5e3", -2500, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        plat::FormatSettings.DecimalSeparator = c.decimal;
        plat::FormatSettings.ThousandSeparator = c.thousand;
        grid->SetCells(1, 1, c.text);
        if (c.error.empty()) {
            EXPECT_DOUBLE_EQ(grid->CellToReal(1, 1), c.expected);
        } else {
            EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { grid->CellToReal(1, 1); }, c.error));
        }
    }
    plat::FormatSettings = saved;
}

TEST_F(GridTextFileTest, ChangeScaleScalesTheGridsOwnFonts) {
    grid->FixedFont()->SetSize(9);
    grid->ActiveCellFont()->SetSize(10);
    grid->ChangeScale(3, 2);
    EXPECT_EQ(grid->FixedFont()->Size(), 14);  // 13.5 rounded
    EXPECT_EQ(grid->ActiveCellFont()->Size(), 15);
    grid->ChangeScale(2, 2);
    EXPECT_EQ(grid->FixedFont()->Size(), 14);
}

TEST_F(GridTextFileTest, GridDestroyedWhileItsLoadProcessesMessages) {
    std::string bytes = "2,400\r\n";
    for (int r = 0; r < 400; ++r) bytes += "1," + std::to_string(r) + ",v\r\n";
    const String f = Write("long.txt", bytes);
    auto* other = new plat::TForm(nullptr);
    auto* g = new TExtStringGrid(other);
    g->SetParent(other);
    int loads = 0;
    g->OnLoadCell = [&](plat::TObject*, int, int, String&) {
        if (++loads == 1) other->Release();  // freed at the next turn of the message loop
    };
    g->LoadFromFile(f);
    EXPECT_GE(loads, 1);
    EXPECT_LT(loads, 400);  // the load ended with its grid
}

// The save hook: stored or formatted text, check boxes, markup, then the event.
TEST_F(GridTextFileTest, SaveCellHook) {
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(2, 1, false, false);
    grid->SetCells(0, 2, u"<b>bold</b> text");
    grid->SetCells(1, 2, u"2.5");
    grid->OnGetFloatFormat = [](plat::TObject*, int ACol, int, bool& IsFloat, String& Format) {
        IsFloat = ACol == 1;
        Format = u"%.3f";
    };
    struct Case {
        const char* what;
        int col, row;
        bool html, virt;
        String expected;
    };
    const Case cases[] = {
        {"checked box gives CheckTrue", 1, 1, true, true, u"Y"},
        {"unchecked box gives CheckFalse", 2, 1, true, true, u"N"},
        {"markup kept with SaveWithHTML", 0, 2, true, true, u"<b>bold</b> text"},
        {"markup stripped without it", 0, 2, false, true, u"bold text"},
        {"formatted number with SaveVirtCells", 1, 2, true, true, u"2.500"},
        {"stored number without it", 1, 2, true, false, u"2.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SaveWithHTML = c.html;
        grid->SaveVirtCells = c.virt;
        String v = u"old";
        grid->SaveCell(c.col, c.row, v);
        EXPECT_EQ(U8(v), U8(c.expected));
    }
    grid->OnSaveCell = [](plat::TObject*, int, int, String& v) { v += u"!"; };
    String v;
    grid->SaveCell(1, 1, v);
    EXPECT_EQ(v, u"Y!");
}

// Random damage to a valid file and a valid stream: every load ends (an error or a grid that
// keeps its invariants), never a crash or a runaway allocation.
TEST_F(GridTextFileTest, MutatedFilesAndStreams) {
    grid->SetColCount(4);
    grid->SetRowCount(5);
    grid->MultilineCells = true;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 5; ++r) grid->SetCells(c, r, plat::IntToStr(c * 10 + r) + (r == 2 ? u"\r\nx" : u""));
    const String f = File("valid.txt");
    grid->SaveToFile(f, true);
    const std::string file = Read(f);
    plat::TMemoryStream m;
    grid->SaveToStream(m);
    const std::string stream = m.Bytes();

    std::mt19937 rng(20261210);
    auto mutate = [&](std::string b) {
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 4) {
            case 0: b[at] = static_cast<char>(rng()); break;
            case 1: b.erase(at, 1 + rng() % 8); break;
            case 2: b.insert(at, std::string(1 + rng() % 4, "9,\r\n-\x08"[rng() % 6])); break;
            default: b.resize(at); break;
            }
        }
        return b;
    };
    for (int i = 0; i < 400; ++i) {
        SCOPED_TRACE(i);
        auto* g = MakeGrid();
        try {
            g->LoadFromFile(Write("m.txt", mutate(file)));
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(static_cast<long long>(g->ColCount()) * g->RowCount(), 5'000'000);
        Check(*g);
        plat::TMemoryStream s;
        s.LoadFromBytes(mutate(stream));
        try {
            g->LoadFromStream(s);
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(static_cast<long long>(g->ColCount()) * g->RowCount(), 5'000'000);
        EXPECT_LE(s.Position(), s.Size());
        Check(*g);
        delete g;
    }
}

} // namespace
