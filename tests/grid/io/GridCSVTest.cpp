// Delimited text, fixed-width text and the listing of the string grid: fields as written,
// the delimiter detection, what loading makes of hand-written and damaged files, hidden
// columns, and Python's csv module reading our files and writing files we read.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "GridFileFixture.h"
#include "ExtGrid.h"
#include "plat/Files.h"
#include "plat/Forms.h"
#include "plat/Streams.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace grid;
using plat::String;
namespace pt = plat::testing;

namespace {

using testsupport::ThrowsWith;
using grid::testing::U8;

class GridCSVTest : public grid::testing::GridFileTest {
protected:
    void SetUp() override {
        GridFileTest::SetUp();
        grid = MakeGrid();
    }
    // A grid without fixed rows and columns.
    TExtStringGrid* MakeGrid(int cols = 1, int rows = 1) {
        auto* g = NewGrid();
        g->SetFixedRows(0);
        g->SetFixedCols(0);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    // The cells of a grid, row by row.
    static std::vector<std::vector<String>> Cells(TExtStringGrid& g) {
        std::vector<std::vector<String>> out(static_cast<std::size_t>(g.RowCount()));
        for (int r = 0; r < g.RowCount(); ++r)
            for (int c = 0; c < g.ColCount(); ++c) out[static_cast<std::size_t>(r)].push_back(g.Cells(c, r));
        return out;
    }
};

// One cell exported with the settings of the case.
TEST_F(GridCSVTest, ExportedFields) {
    struct Case {
        const char* what;
        String text;
        char16_t delimiter;
        bool always, java, quoteEmpty;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", u"abc", 0, false, false, true, "abc"},
        {"a quote and no comma", u"a\"b", 0, false, false, true, "\"a\"\"b\""},
        {"a comma", u"a,b", 0, false, false, true, "\"a,b\""},
        {"a comma and a quote", u"a\"b,c", 0, false, false, true, "\"a\"\"b,c\""},
        {"empty cell", u"", 0, false, false, true, "\"\""},
        {"empty cell, QuoteEmptyCells off", u"", 0, false, false, false, ""},
        {"two lines", u"x\r\ny", 0, false, false, true, "\"x\x0By\""},
        {"two lines and a quote", u"x\"\r\ny", 0, false, false, true, "\"x\"\"\ny\""},
        {"AlwaysQuotes", u"abc", 0, true, false, true, "\"abc\""},
        {"AlwaysQuotes, two lines", u"x\r\ny", 0, true, false, true, "\"x\ny\""},
        {"JavaCSV, empty", u"", 0, false, true, true, "^"},
        {"JavaCSV, two lines", u"x\r\ny", 0, false, true, true, "x~y"},
        {"semicolon delimiter keeps commas bare", u"a,b", u';', false, false, true, "a,b"},
        {"semicolon delimiter in the text", u"a;b", u';', false, false, true, "\"a;b\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid->SetCells(0, 0, c.text);
        grid->Delimiter = c.delimiter;
        grid->AlwaysQuotes = c.always;
        grid->JavaCSV = c.java;
        grid->QuoteEmptyCells = c.quoteEmpty;
        const String f = File("one.csv");
        grid->SaveToCSV(f, false);
        EXPECT_EQ(Read(f), c.expected + "\r\n");
    }
}

TEST_F(GridCSVTest, ExportLayoutEncodingsAndAppend) {
    auto* g = MakeGrid(2, 2);
    g->SetCells(0, 0, u"è");
    g->SetCells(1, 0, u"b");
    g->SetCells(0, 1, u"c");
    g->SetCells(1, 1, u"d");
    const String f = File("t.csv");
    g->SaveToCSV(f, true);
    EXPECT_EQ(Read(f), "\xEF\xBB\xBF\xC3\xA8,b\r\nc,d\r\n");
    g->SaveToCSV(f, false);
    EXPECT_EQ(Read(f), "\xE8,b\r\nc,d\r\n");
    g->AppendToCSV(f, false);
    EXPECT_EQ(Read(f), "\xE8,b\r\nc,d\r\n\xE8,b\r\nc,d\r\n");
    const String missing = File("missing.csv");
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { g->AppendToCSV(missing, true); },
                                             u"Cannot open file \"" + missing + u"\"."));
    EXPECT_FALSE(plat::FileExists(missing));
}

// The delimiter each pair of first lines leads to, seen in how the first line is split.
TEST_F(GridCSVTest, DelimiterDetection) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<String> firstRow;
    };
    const Case cases[] = {
        {"semicolons", "a;b;c\r\n1;2;3\r\n", {u"a", u"b", u"c"}},
        {"doubled commas count in the second pass", "a,,b\r\nc,,d\r\n", {u"a", u"", u"b"}},
        {"tab", "a\tb\r\nc\td\r\n", {u"a", u"b"}},
        {"comma wins a tie over a later candidate", "a,b;c\r\nd,e;f\r\n", {u"a", u"b;c"}},
        {"unequal counts: the largest count", "a,b,c\r\nd;e\r\n", {u"a", u"b", u"c"}},
        {"no candidate: whole lines", "abc\r\nxyz\r\n", {u"abc"}},
        {"one line", "a|b|c\r\n", {u"a", u"b", u"c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* g = MakeGrid();
        g->LoadFromCSV(Write("d.csv", c.file));
        EXPECT_EQ(g->Delimiter, 0);
        ASSERT_EQ(g->ColCount(), static_cast<int>(c.firstRow.size()));
        for (int i = 0; i < g->ColCount(); ++i) EXPECT_EQ(U8(g->Cells(i, 0)), U8(c.firstRow[static_cast<std::size_t>(i)]));
        Check(*g);
    }
}

TEST_F(GridCSVTest, ImportedFiles) {
    struct Case {
        const char* what;
        std::string file;
        bool java = false, firstRow = true;
        int maxRows = 0;
        std::vector<std::vector<String>> cells;
    };
    const Case cases[] = {
        {"quoted fields with doubled quotes", "\"a\"\"b\",\"c,d\"\r\n", false, true, 0, {{u"a\"b", u"c,d"}}},
        {"vertical tab is a line break", "\"x\x0By\",z\r\n", false, true, 0, {{u"x\r\ny", u"z"}}},
        {"a line break inside quotes stays in the field (CR LF)",
         "\"x\r\ny\",1\r\n\"p\nq\",2\r\n", false, true, 0, {{u"x\r\ny", u"1"}, {u"p\r\nq", u"2"}}},
        {"JavaCSV forms", "^,x~y\r\n", true, true, 0, {{u"", u"x\r\ny"}}},
        {"LoadFirstRow off skips the first line", "h1,h2\r\na,b\r\n", false, false, 0, {{u"a", u"b"}}},
        {"MaxRows", "a,b\r\nc,d\r\ne,f\r\n", false, true, 2, {{u"a", u"b"}, {u"c", u"d"}}},
        {"unterminated quote: empty cell, text to the delimiter dropped", "\"abc,def\r\nx,y\r\n", false, true, 0,
         {{u"", u"def"}, {u"x", u"y"}}},
        {"leading blanks dropped, trailing kept", " a , \"b\"\r\n", false, true, 0, {{u"a ", u"b"}}},
        {"text after a closing quote is the last field", "a,\"b,c\"zz\r\n", false, true, 0,
         {{u"a", u"b,c", u"zz"}}},
        {"ragged rows widen the grid", "a\r\nb,c,d\r\n", false, true, 0, {{u"a", u"", u""}, {u"b", u"c", u"d"}}},
        {"LF line ends", "a,b\nc,d\n", false, true, 0, {{u"a", u"b"}, {u"c", u"d"}}},
        {"UTF-16 with mark", std::string("\xFF\xFE" "a\0,\0\xE8\0\r\0\n\0", 12), false, true, 0, {{u"a", u"è"}}},
        {"UTF-8 without mark", "\xC3\xA8,b\r\n", false, true, 0, {{u"è", u"b"}}},
        {"ANSI", "\xE8,b\r\n", false, true, 0, {{u"è", u"b"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* g = MakeGrid();
        g->JavaCSV = c.java;
        g->LoadFirstRow = c.firstRow;
        g->LoadFromCSV(Write("i.csv", c.file), c.maxRows);
        const auto got = Cells(*g);
        ASSERT_EQ(got.size(), c.cells.size());
        for (std::size_t r = 0; r < got.size(); ++r) {
            ASSERT_EQ(got[r].size(), c.cells[r].size()) << r;
            for (std::size_t i = 0; i < got[r].size(); ++i) EXPECT_EQ(U8(got[r][i]), U8(c.cells[r][i])) << r << "," << i;
        }
        Check(*g);
    }
}

TEST_F(GridCSVTest, RoundTripsInsertStreamsAndErrors) {
    auto* g = MakeGrid(3, 3);
    const String texts[3][3] = {{u"a\"b", u"c,d", u""}, {u"x\r\ny", u"q\"\r\nz", u"plain"}, {u"", u"", u"end"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) g->SetCells(c, r, texts[r][c]);
    for (bool always : {false, true}) {
        SCOPED_TRACE(always);
        g->AlwaysQuotes = always;
        const String f = File("rt.csv");
        g->SaveToCSV(f, true);
        auto* h = MakeGrid();
        h->LoadFromCSV(f);
        EXPECT_EQ(Cells(*h), Cells(*g));
        h->InsertFromCSV(f);
        ASSERT_EQ(h->RowCount(), 6);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(h->Cells(c, 4), g->Cells(c, 1));
        Check(*h);
    }
    plat::TMemoryStream m;
    m.LoadFromBytes("1,2\r\n");
    g->LoadFromCSVStream(m);
    EXPECT_EQ(g->Cells(1, 0), u"2");
    plat::TMemoryStream empty;
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { g->LoadFromCSVStream(empty); }, u"File is empty"));
    // An empty file changes nothing.
    g->LoadFromCSV(Write("empty.csv", ""));
    EXPECT_EQ(g->Cells(1, 0), u"2");
    const String missing = File("none.csv");
    EXPECT_TRUE(ThrowsWith<plat::EFileError>([&] { g->LoadFromCSV(missing); },
                                             u"Cannot open file \"" + missing + u"\"."));
}

TEST_F(GridCSVTest, HiddenColumnCellsTravelWithTheirRealColumn) {
    auto* g = MakeGrid(4, 1);
    for (int c = 0; c < 4; ++c) g->SetCells(c, 0, u"r" + plat::IntToStr(c));
    g->HideColumn(1);
    const String f = File("h.csv");
    g->SaveToCSV(f, false);
    EXPECT_EQ(Read(f), "r0,r2,r3\r\n");
    g->SaveHiddenCells = true;
    g->SaveToCSV(f, false);
    EXPECT_EQ(Read(f), "r0,r1,r2,r3\r\n");
    // Loading with SaveHiddenCells puts every field at its real column.
    for (int c = 0; c < 4; ++c) g->SetCells(c, 0, u"");
    g->LoadFromCSV(f);
    g->UnHideColumn(1);
    for (int c = 0; c < 4; ++c) EXPECT_EQ(g->Cells(c, 0), u"r" + plat::IntToStr(c));
    Check(*g);
}

TEST_F(GridCSVTest, ExportProgressCountsFromTheFirstSavedRow) {
    auto* g = MakeGrid(1, 4);
    g->SetFixedRows(1);
    g->SaveFixedCells = false;
    std::vector<int> progress;
    g->OnFileProgress = [&](plat::TObject*, short p) { progress.push_back(p); };
    g->SaveToCSV(File("p.csv"), false);
    EXPECT_EQ(progress, (std::vector<int>{0, 50, 100}));
}

// Python's csv module: it reads our files to the cell texts, and its files load into
// exactly its texts.
std::vector<std::vector<String>> RunOracle(const std::string& args, int& rc) {
    const std::string cmd = "python3 " + std::string(TEST_SOURCE_DIR) + "/csv_oracle.py " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    std::vector<std::vector<String>> rows;
    if (!p) {
        rc = -1;
        return rows;
    }
    std::string out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = pclose(p);
    rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::size_t at = 0;
    while (at < out.size()) {
        const std::size_t end = out.find('\n', at);
        const std::string line = out.substr(at, end - at);
        at = end == std::string::npos ? out.size() : end + 1;
        std::vector<String> row;
        std::size_t f = 0;
        while (f <= line.size()) {
            const std::size_t sp = std::min(line.find(' ', f), line.size());
            const std::string hex = line.substr(f, sp - f);
            std::string bytes;
            if (hex != "-")
                for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
            row.push_back(plat::Utf8ToString(bytes));
            f = sp + 1;
        }
        rows.push_back(row);
    }
    return rows;
}

TEST_F(GridCSVTest, PythonCsvReadsOurFilesAndWritesFilesWeRead) {
    auto* g = MakeGrid(4, 2);
    const String texts[2][4] = {{u"plain", u"say \"hi\"", u"a,b", u""}, {u"x\r\ny", u"q\"\r\nz", u"é ü", u"t "}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c) g->SetCells(c, r, texts[r][c]);
    // Where the export quotes a text itself, a line break is 0x0B; inside a text quoted for
    // its quote it is LF.
    const String expected[2][4] = {{u"plain", u"say \"hi\"", u"a,b", u""},
                                   {u"x\x0By", u"q\"\nz", u"é ü", u"t "}};
    for (bool unicode : {true, false}) {
        SCOPED_TRACE(unicode);
        const String f = File("ours.csv");
        g->SaveToCSV(f, unicode);
        int rc = 0;
        const auto rows = RunOracle("read '" + U8(f) + "' " + (unicode ? "utf-8-sig" : "cp1252"), rc);
        if (rc == 127) GTEST_SKIP() << "python3 is not installed";
        ASSERT_EQ(rc, 0);
        ASSERT_EQ(rows.size(), 2u);
        for (int r = 0; r < 2; ++r) {
            ASSERT_EQ(rows[r].size(), 4u);
            for (int c = 0; c < 4; ++c) EXPECT_EQ(U8(rows[r][c]), U8(expected[r][c])) << r << "," << c;
        }
    }
    const String theirs = File("theirs.csv");
    int rc = 0;
    const auto table = RunOracle("write '" + U8(theirs) + "'", rc);
    ASSERT_EQ(rc, 0);
    auto* h = MakeGrid();
    h->LoadFromCSV(theirs);
    const auto got = Cells(*h);
    ASSERT_EQ(got.size(), table.size());
    for (std::size_t r = 0; r < got.size(); ++r) {
        ASSERT_EQ(got[r].size(), table[r].size());
        for (std::size_t c = 0; c < got[r].size(); ++c) EXPECT_EQ(U8(got[r][c]), U8(table[r][c])) << r << "," << c;
    }
}

TEST_F(GridCSVTest, FixedWidth) {
    auto* g = MakeGrid(3, 2);
    g->SetCells(0, 0, u"abcdef");
    g->SetCells(1, 0, u"x");
    g->SetCells(2, 0, u"long text");
    g->SetCells(0, 1, u"ab");
    g->SetCells(2, 1, u"t\r\nsecond line");
    TIntList widths(0, 0);
    widths.Add(4);
    widths.Add(3);
    const String f = File("f.txt");
    g->SaveToFixed(f, &widths);
    // The third width is the longest first line + 1; a multi-line text gives its first line
    // (a line break would split the record).
    EXPECT_EQ(Read(f), "abcdx  long text \r\nab     t         \r\n");

    TIntList positions(0, 0);
    for (int p : {9, 1, 5}) positions.Add(p);
    auto* h = MakeGrid();
    h->LoadFromFixed(f, &positions, true, -1);
    EXPECT_EQ(positions.StrValue(), u"1,5,9");
    EXPECT_EQ(h->ColCount(), 2);
    ASSERT_EQ(h->RowCount(), 2);
    EXPECT_EQ(h->Cells(0, 0), u"abcd");
    EXPECT_EQ(h->Cells(1, 0), u"x  l");
    EXPECT_EQ(h->Cells(1, 1), u"t");  // "   t", trimmed
    h->LoadFromFixed(f, &positions, false, -1);
    EXPECT_EQ(h->Cells(0, 1), u"ab  ");
    auto* one = MakeGrid();
    one->LoadFromFixed(f, &positions, true, 0);
    EXPECT_EQ(one->RowCount(), 1);
    // Positions beyond the line's end give empty fields.
    TIntList far(0, 0);
    for (int p : {1, 200, 300}) far.Add(p);
    one->LoadFromFixed(f, &far, false, -1);
    EXPECT_EQ(U8(one->Cells(1, 0)), "");
    EXPECT_EQ(U8(one->Cells(0, 0)), "abcdx  long text ");

    const String missing = File("nope.txt");
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { h->LoadFromFixed(missing, &positions, true, -1); },
                                          u"File " + missing + u" not found"));
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { g->SaveToFixed(dir + u"/no/such.txt", &widths); },
                                          u"Cannot Create file " + dir + u"/no/such.txt"));
    // A hidden column's text travels with its real column.
    g->HideColumn(1);
    TIntList none(0, 0);
    g->SaveToFixed(f, &none);
    EXPECT_EQ(Read(f), "abcdef long text \r\nab     t         \r\n");
    Check(*h);
}

TEST_F(GridCSVTest, Listing) {
    auto* g = MakeGrid(3, 2);
    g->SetCells(0, 0, u"left");
    g->SetCells(1, 0, u"r");
    g->SetCells(2, 0, u"c");
    g->SetCells(0, 1, u"x\r\nsecond");
    g->SetCells(1, 1, u"right");
    g->SetCells(2, 1, u"ce\r\nmid");
    g->OnGetAlignment = [](plat::TObject*, int, int ACol, plat::TAlignment& H, TVAlignment&) {
        H = ACol == 1 ? plat::taRightJustify : ACol == 2 ? plat::taCenter : plat::taLeftJustify;
    };
    const String f = File("l.txt");
    g->SaveToASCII(f, false);
    // Widths: 4, 5, 2; the centred "c" (odd difference) becomes 3 characters, W + 1.
    EXPECT_EQ(Read(f), "left     r  c \r\nx    right ce \r\n");
    g->MultilineCells = true;
    g->SaveToASCII(f, false);
    // Widths 6, 5, 3; continuation lines stand under their columns.
    EXPECT_EQ(Read(f), "left       r  c  \r\nx      right  ce \r\nsecond       mid\r\n");
    g->AppendToASCII(f, true);
    const std::string both = Read(f);
    ASSERT_GE(both.size(), 2u);
    EXPECT_EQ(both.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(plat::DecodeText(both), plat::AnsiToString("left       r  c  \r\nx      right  ce \r\nsecond       mid\r\n"
                                                         "left       r  c  \r\nx      right  ce \r\nsecond       mid\r\n"));
    // A line longer than 255 characters keeps its full width.
    g->SetCells(0, 0, String(300, u'w'));
    g->MultilineCells = false;
    g->SaveToASCII(f, false);
    const std::string wide = Read(f);
    EXPECT_EQ(wide.find('\r'), 300u + 1 + 6 + 3);
}

// Random damage to valid delimited text: every load ends with a sound grid.
TEST_F(GridCSVTest, MutatedFiles) {
    const std::string valid = "\"a\"\"b\",\"c,d\",e\r\n\"x\x0By\",\"p\r\nq\",^\r\n1;2|3,\"\",\r\n";
    std::mt19937 rng(1210);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        std::string b = valid;
        const int edits = 1 + static_cast<int>(rng() % 6);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 4) {
            case 0: b[at] = static_cast<char>(rng()); break;
            case 1: b.erase(at, 1 + rng() % 8); break;
            case 2: b.insert(at, std::string(1 + rng() % 4, "\",\r\n ~^\x0B"[rng() % 8])); break;
            default: b.resize(at); break;
            }
        }
        auto* g = MakeGrid();
        g->JavaCSV = i % 2 == 1;
        try {
            g->LoadFromCSV(Write("m.csv", b), static_cast<int>(rng() % 3));
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(g->RowCount(), 20);
        Check(*g);
        delete g;
    }
}

} // namespace
