// XML export and import of the string grid: the document as written, round trips of texts
// that need escaping, the import walk over records, attributes and levels, the parse error's
// line against xmllint, and damaged documents.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "ExtGrid.h"
#include "GridFileFixture.h"
#include "plat/Classes.h"
#include "plat/SysUtils.h"
#include "TestSupport.h"

using namespace grid;
using plat::String;

namespace {

using grid::testing::U8;
using testsupport::ThrowsWith;

std::string Shell(const std::string& cmd, int& rc) {
    std::string out;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    rc = pclose(p);
    return out;
}

class GridXMLTest : public grid::testing::GridFileTest {
protected:
    TExtStringGrid* MakeGrid(int cols, int rows) {
        TExtStringGrid* g = NewGrid();
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
};

TEST_F(GridXMLTest, ExportDocument) {
    TExtStringGrid* g = MakeGrid(3, 3);
    g->SetCells(0, 0, u"h0");
    g->SetCells(1, 0, u"h1");
    g->SetCells(0, 1, u"a&b<c");
    g->SetCells(2, 1, u"\"q\">");
    g->SetCells(1, 2, u"x");
    const String f = File("a.xml");
    struct Case {
        const char* name;
        bool emptyCells;
        bool quoteEmpty;
        bool names;
        std::string expected;
    };
    const std::string head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<list>\r\n";
    const std::vector<Case> cases = {
        {"empty cells left out", false, true, false,
         head + "<rec>\r\n<FIELD0>h0</FIELD0>\r\n<FIELD1>h1</FIELD1>\r\n</rec>\r\n"
                "<rec>\r\n<FIELD0>a&amp;b&lt;c</FIELD0>\r\n<FIELD2>&quot;q&quot;&gt;</FIELD2>\r\n</rec>\r\n"
                "<rec>\r\n<FIELD1>x</FIELD1>\r\n</rec>\r\n</list>\r\n"},
        {"empty cells as two quotes, names for the first two columns", true, true, true,
         head + "<rec>\r\n<id>h0</id>\r\n<name>h1</name>\r\n<FIELD2>&quot;&quot;</FIELD2>\r\n</rec>\r\n"
                "<rec>\r\n<id>a&amp;b&lt;c</id>\r\n<name>&quot;&quot;</name>\r\n<FIELD2>&quot;q&quot;&gt;</FIELD2>\r\n</rec>\r\n"
                "<rec>\r\n<id>&quot;&quot;</id>\r\n<name>x</name>\r\n<FIELD2>&quot;&quot;</FIELD2>\r\n</rec>\r\n</list>\r\n"},
        {"empty cells empty", true, false, false,
         head + "<rec>\r\n<FIELD0>h0</FIELD0>\r\n<FIELD1>h1</FIELD1>\r\n<FIELD2></FIELD2>\r\n</rec>\r\n"
                "<rec>\r\n<FIELD0>a&amp;b&lt;c</FIELD0>\r\n<FIELD1></FIELD1>\r\n<FIELD2>&quot;q&quot;&gt;</FIELD2>\r\n</rec>\r\n"
                "<rec>\r\n<FIELD0></FIELD0>\r\n<FIELD1>x</FIELD1>\r\n<FIELD2></FIELD2>\r\n</rec>\r\n</list>\r\n"},
    };
    plat::TStringList names;
    names.Add(u"id");
    names.Add(u"name");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        g->QuoteEmptyCells = k.quoteEmpty;
        g->SaveToXML(f, u"list", u"rec", k.names ? &names : nullptr, k.emptyCells);
        EXPECT_EQ(Read(f), k.expected);
    }
    EXPECT_TRUE(ThrowsWith<EExtGridError>([&] { g->SaveToXML(dir + u"/no/such/x.xml", u"l", u"r", nullptr); },
                                          u"Cannot Create file " + dir + u"/no/such/x.xml"));
}

// Texts come back as they were: entities once unescaped, line breaks, quotes, empty cells;
// a hidden column's cells keep their real column.
TEST_F(GridXMLTest, RoundTrips) {
    const std::vector<String> texts = {u"a&b<c", u"&lt;", u"say \"hi\"", u"x\r\ny", u"", u"\u00e9\u4e2d\U0001F600",
                                       u"tab\there", u"  padded  "};
    for (const char16_t* enc : {u"ISO-8859-1", u"UTF-8", u"UTF-16", u"windows-1252", u"US-ASCII"}) {
        SCOPED_TRACE(U8(enc));
        TExtStringGrid* g = MakeGrid(3, static_cast<int>(texts.size()) + 1);
        g->XMLEncoding = enc;
        g->SaveHiddenCells = true;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            g->SetCells(1, static_cast<int>(i) + 1, texts[i]);
            g->SetCells(2, static_cast<int>(i) + 1, u"h" + plat::IntToStr(static_cast<int>(i)));
            g->SetCells(0, static_cast<int>(i) + 1, u"k");
        }
        g->HideColumn(2);
        const String f = File("rt.xml");
        g->SaveToXML(f, u"list", u"rec", nullptr, true);
        TExtStringGrid* h = MakeGrid(1, 1);
        h->LoadFromXML(f);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(h->Cells(1, static_cast<int>(i) + 1), texts[i]);
            EXPECT_EQ(h->Cells(2, static_cast<int>(i) + 1), u"h" + plat::IntToStr(static_cast<int>(i)));
        }
        EXPECT_EQ(h->ColCount(), 3);
        Check(*h);
        delete g;
        delete h;
    }
}

TEST_F(GridXMLTest, ImportWalk) {
    struct Case {
        const char* name;
        std::string xml;
        bool levelToRow, fieldNames;
        std::vector<std::vector<const char16_t*>> rows;  // the cells from row 0, column 0
    };
    const std::string three =
        "<list>\n  <r><a>1</a><b>2</b></r>\n  <r><a>3</a><b>4</b></r>\n  <r><a>5</a><b/></r>\n</list>";
    const std::vector<Case> cases = {
        {"records as rows", three, false, false, {{u"1", u"2"}, {u"3", u"4"}, {u"5", u""}}},
        {"field names in row 0", three, false, true, {{u"a", u"b"}, {u"1", u"2"}, {u"3", u"4"}, {u"5", u""}}},
        {"attributes first", "<l><r id=\"7\" k=\"&lt;\"><a>x</a><b>y</b></r></l>", false, false,
         {{u"7", u"<", u"x", u"y"}}},
        {"text taken as given", "<l><r><a>&amp;lt;</a><b>&quot;&quot;</b></r></l>", false, false, {{u"&lt;", u""}}},
        {"levels to rows", "<l><g><r><a>1</a><b>2</b></r><r><a>3</a><b>4</b></r></g></l>", true, false,
         {{u"", u""}, {u"1", u"2"}, {u"3", u"4"}}},  // each element of several children opens a row
        {"levels with attributes", "<l><g n=\"top\"><a>1</a><b>2</b></g></l>", true, false,
         {{u"top", u""}, {u"", u"1", u"2"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid* g = MakeGrid(3, 3);  // one fixed row: field names go above the records
        g->LoadFromXML(Write("in.xml", k.xml), k.levelToRow, k.fieldNames);
        for (std::size_t r = 0; r < k.rows.size(); ++r)
            for (std::size_t c = 0; c < k.rows[r].size(); ++c) {
                SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
                ASSERT_LT(static_cast<int>(c), g->ColCount());
                ASSERT_LT(static_cast<int>(r), g->RowCount());
                EXPECT_EQ(g->Cells(static_cast<int>(c), static_cast<int>(r)), k.rows[r][c]);
            }
        Check(*g);
        delete g;
    }
}

// Control characters and non-Latin text: xmllint takes the export as well-formed.
TEST_F(GridXMLTest, ExportIsWellFormed) {
    TExtStringGrid* g = MakeGrid(2, 2);
    g->SetCells(0, 0, u"bell\x07 nul\x01 \xFFFE esc\x1B");
    g->SetCells(1, 0, u"\u4e2d\u6587 \u0416 \U0001F600");
    g->SetCells(0, 1, String(1, u'\xD800') + u"lone");
    for (const char16_t* enc : {u"ISO-8859-1", u"UTF-8", u"windows-1252"}) {
        SCOPED_TRACE(U8(enc));
        g->XMLEncoding = enc;
        const String f = File("wf.xml");
        g->SaveToXML(f, u"list", u"rec", nullptr, true);
        int rc = 0;
        const std::string out = Shell("xmllint --noout '" + U8(f) + "'", rc);
        EXPECT_EQ(rc, 0) << out;
        TExtStringGrid* h = MakeGrid(1, 1);
        h->LoadFromXML(f);
        EXPECT_EQ(h->Cells(0, 0), u"bell nul  esc");
        EXPECT_EQ(h->Cells(1, 0), u"\u4e2d\u6587 \u0416 \U0001F600");
        EXPECT_EQ(h->Cells(0, 1), u"lone");
        delete h;
    }
}

TEST_F(GridXMLTest, Errors) {
    TExtStringGrid* g = MakeGrid(2, 2);
    g->SetCells(1, 1, u"kept");
    EXPECT_TRUE(ThrowsWith<plat::Exception>([&] { g->LoadFromXML(File("missing.xml")); }, u"XML file not found"));
    const std::vector<std::string> bad = {
        "<list>\n<r>\n<a>1</b>\n</r>\n</list>\n",
        "<?xml version=\"1.0\"?>\n<list>\n  <r><a>1</a></r>\n  <r><a x=1>2</a></r>\n</list>\n",
        "<list>\n<r>\n\n\n<a>unclosed\n",
        "<list>\n<r>\n<a>fish & chips</a>\n</r>\n</list>\n",
        "<list>\n<r>\n<a x=\"1\"\n y=\"&z\">1</a>\n</r>\n</list>\n",
    };
    for (const std::string& x : bad) {
        SCOPED_TRACE(x);
        const String f = Write("bad.xml", x);
        int rc = 0;
        const std::string out = Shell("xmllint --noout '" + U8(f) + "'", rc);
        ASSERT_NE(rc, 0);
        // "<file>:<line>: parser error : ..."
        const std::size_t at = out.find(U8(f) + ":");
        ASSERT_NE(at, std::string::npos) << out;
        const int line = std::atoi(out.c_str() + at + U8(f).size() + 1);
        EXPECT_TRUE(ThrowsWith<plat::Exception>(
            [&] { g->LoadFromXML(f); }, u"XMLDOM Parsing error 1 on line " + plat::IntToStr(line)))
            << out;
        EXPECT_EQ(g->Cells(1, 1), u"kept");
        EXPECT_EQ(g->ColCount(), 2);
    }
}

// Random damage to a valid export: each load ends with an error or a sound grid.
TEST_F(GridXMLTest, MutatedDocuments) {
    TExtStringGrid* g = MakeGrid(4, 4);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) g->SetCells(c, r, plat::IntToStr(c * 10 + r) + (r == 2 ? u"&<\u00e9" : u""));
    const String f = File("v.xml");
    g->SaveToXML(f, u"list", u"rec", nullptr, true);
    const std::string valid = Read(f);
    std::mt19937 rng(20261212);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        std::string b = valid;
        const int edits = 1 + static_cast<int>(rng() % 5);
        for (int e = 0; e < edits && !b.empty(); ++e) {
            const std::size_t at = rng() % b.size();
            switch (rng() % 4) {
            case 0: b[at] = static_cast<char>(rng()); break;
            case 1: b.erase(at, 1 + rng() % 10); break;
            case 2: b.insert(at, std::string("<x a='1'>").substr(0, 1 + rng() % 9)); break;
            default: b.resize(at); break;
            }
        }
        TExtStringGrid* h = MakeGrid(2, 2);
        try {
            h->LoadFromXML(Write("m.xml", b), i % 2 == 0, i % 3 == 0);
        } catch (const plat::Exception&) {
        }
        EXPECT_LE(static_cast<long long>(h->ColCount()) * h->RowCount(), 100000);
        Check(*h);
        delete h;
    }
}

} // namespace
