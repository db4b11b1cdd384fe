// Rule-table files of the fieldbus and building editors without a window: guarded and
// required attributes, rows beyond the table, missing tables, unreadable files, the layout
// written, and hostile bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>

#include "TestSupport.h"
#include "URuleRows.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using plat::String;

namespace {

std::string U8(const String& s) { return plat::StringToUtf8(s); }

const TRule_Attribute kAttrs[] = {
    {u"Enable", 1, u"Y"},
    {u"COBID", 2},
    {u"Mnemonic", 3, u""},
};

struct Read_Out {
    bool opened = false;
    TRule_Load load;
    TRule_Rows rows;
    int read = 0;
};

Read_Out Read(const testsupport::TempDir& dir, const std::string& content, int size = 3)
{
    const String file = dir / u"t.xml";
    std::ofstream(U8(file), std::ios::binary) << content;
    Read_Out out;
    out.rows = Empty_Rule_Rows(size, 4);
    plat::TXMLDocument doc;
    out.opened = Open_Rule_File(doc, file, out.load);
    if (out.opened) out.read = Read_Rule_Rows(doc.DocumentElement(), u"", kAttrs, out.rows, out.load);
    return out;
}

TEST(RuleRows, ReadingTakesEveryRowAndReportsWhatItLacked)
{
    testsupport::TempDir dir;
    struct Case {
        const char* what;
        const char* xml;
        int read;
        const char* cells;  // rows joined by '|', cells 1..3 by ','
        int missing_row;
        const char* missing_attr;
        int left_out;
    };
    const Case cases[] = {
        {"whole", R"(<R><row Enable="N" COBID="5" Mnemonic="a"/><row Enable="Y" COBID="6" Mnemonic="b"/></R>)", 2,
         "N,5,a|Y,6,b|,,", 0, "", 0},
        {"guarded defaults", R"(<R><row COBID="5"/></R>)", 1, "Y,5,|,,|,,", 0, "", 0},
        {"a required attribute lacking in row 2 does not stop the reading",
         R"(<R><row COBID="1"/><row Enable="N"/><row COBID="3"/></R>)", 3, "Y,1,|N,,|Y,3,", 2, "COBID", 0},
        {"only the first lack is named", R"(<R><row/><row/></R>)", 2, "Y,,|Y,,|,,", 1, "COBID", 0},
        {"rows beyond the table are counted, never written",
         R"(<R><row COBID="1"/><row COBID="2"/><row COBID="3"/><row COBID="4"/><row COBID="5"/></R>)", 3,
         "Y,1,|Y,2,|Y,3,", 0, "", 2},
        {"any element name is a row; text and comments are not", R"(<R> x <!-- c --><rule COBID="7"/></R>)", 1,
         "Y,7,|,,|,,", 0, "", 0},
        {"empty root", "<R/>", 0, ",,|,,|,,", 0, "", 0},
        {"attribute text unchanged", R"(<R><row COBID=" 0x7FF " Mnemonic="&lt;&amp;&quot;"/></R>)", 1,
         "Y, 0x7FF ,<&\"|,,|,,", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Read_Out out = Read(dir, c.xml);
        ASSERT_TRUE(out.opened);
        EXPECT_EQ(out.read, c.read);
        std::string cells;
        for (std::size_t r = 0; r < out.rows.size(); ++r) {
            if (r) cells += '|';
            for (int col = 1; col <= 3; ++col) cells += (col > 1 ? "," : "") + U8(out.rows[r][col]);
        }
        EXPECT_EQ(cells, c.cells);
        EXPECT_EQ(out.load.Missing_Row, c.missing_row);
        EXPECT_EQ(U8(out.load.Missing_Attribute), c.missing_attr);
        EXPECT_EQ(out.load.Rows_Left_Out, c.left_out);
        EXPECT_EQ(out.load.Whole(), c.missing_row == 0 && c.left_out == 0);
    }
}

TEST(RuleRows, FilesThatGiveNothing)
{
    testsupport::TempDir dir;
    {
        TRule_Load load;
        plat::TXMLDocument doc;
        EXPECT_FALSE(Open_Rule_File(doc, dir / u"none.xml", load));
        EXPECT_FALSE(load.Found);
        EXPECT_TRUE(load.Whole()) << "no file is no fault";
    }
    {
        TRule_Load load;
        plat::TXMLDocument doc;
        EXPECT_FALSE(Open_Rule_File(doc, dir.path(), load))
            << "a folder is not a file";
        EXPECT_FALSE(load.Found);
    }
    for (const char* bad : {"<R><row COBID=\"1\"></R>", "", "not xml", "<!-- only a comment -->"}) {
        SCOPED_TRACE(bad);
        const Read_Out out = Read(dir, bad);
        EXPECT_FALSE(out.opened);
        EXPECT_TRUE(out.load.Found);
        EXPECT_FALSE(out.load.Unreadable.empty());
        EXPECT_FALSE(out.load.Whole());
        for (const auto& row : out.rows)
            for (const String& cell : row) EXPECT_TRUE(cell.empty());
    }
}

TEST(RuleRows, MissingTableElementIsNamedOnce)
{
    plat::TXMLDocument doc;
    doc.LoadFromXML(u"<Root><Write><row COBID=\"1\"/></Write></Root>");
    TRule_Load load;
    const plat::IXMLNode root = doc.DocumentElement();
    EXPECT_FALSE(Rule_Table_Element(root, u"Read", load));
    EXPECT_FALSE(Rule_Table_Element(root, u"Other", load));
    const plat::IXMLNode write = Rule_Table_Element(root, u"Write", load);
    EXPECT_EQ(U8(load.Missing_Table), "Read");
    TRule_Rows rows = Empty_Rule_Rows(2, 4);
    EXPECT_EQ(Read_Rule_Rows(plat::IXMLNode(), u"row", kAttrs, rows, load), 0);
    EXPECT_EQ(Read_Rule_Rows(write, u"row", kAttrs, rows, load), 1);
    EXPECT_EQ(U8(rows[0][2]), "1");
    EXPECT_FALSE(load.Whole());
}

TEST(RuleRows, WritingKeepsRootCommentOrderAndCellsAndStopsAtTheFirstEmptyKey)
{
    TRule_Rows rows = Empty_Rule_Rows(4, 4);
    rows[0] = {u"", u"Y", u"1", u"a&b"};
    rows[1] = {u"", u"N", u" 2 ", u""};
    rows[2] = {u"", u"Y", u"  ", u"x"};
    rows[3] = {u"", u"Y", u"4", u"after the end"};
    EXPECT_EQ(Rule_Row_Count(rows, 2), 2);
    EXPECT_EQ(Rule_Row_Count(Empty_Rule_Rows(3, 4), 2), 0);
    plat::TXMLDocument doc;
    doc.LoadFromXML(u"<Old><row/></Old>");
    plat::IXMLNode root = New_Rule_Document(doc, u"Receive_Frames", u"SW_VERSION = 1.002");
    Write_Rule_Rows(root, u"row", kAttrs, rows, Rule_Row_Count(rows, 2));
    EXPECT_EQ(U8(doc.XML()),
              "<Receive_Frames>\n"
              "  <row Enable=\"Y\" COBID=\"1\" Mnemonic=\"a&amp;b\" />\n"
              "  <row Enable=\"N\" COBID=\" 2 \" Mnemonic=\"\" />\n"
              "</Receive_Frames>\n"
              "<!--SW_VERSION = 1.002-->\n");
}

// Hostile bytes: every mutation of a valid file either is refused with a reason or reads
// into the table's rows without writing past them.
TEST(RuleRows, MutatedFilesNeverReadPastTheTable)
{
    testsupport::TempDir dir;
    const std::string valid =
        R"(<R><row Enable="Y" COBID="1" Mnemonic="a"/><row Enable="N" COBID="0x20" Mnemonic="b"/>)"
        R"(<row Enable="Y" COBID="3"/><row COBID="4"/></R>)";
    std::mt19937 rng(26);
    const char alphabet[] = "<>/=\"' &;!-?xrowRE\n\0\xff";
    int refused = 0, read = 0;
    for (int i = 0; i < 400; ++i) {
        std::string bytes = valid;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = rng() % bytes.size();
            switch (rng() % 4) {
            case 0: bytes[at] = alphabet[rng() % (sizeof alphabet - 1)]; break;
            case 1: bytes.erase(at, 1 + rng() % 8); break;
            case 2: bytes.insert(at, 1, alphabet[rng() % (sizeof alphabet - 1)]); break;
            default: bytes.resize(at); break;
            }
        }
        const Read_Out out = Read(dir, bytes, 2);
        ASSERT_EQ(out.rows.size(), 2u);
        for (const auto& row : out.rows) ASSERT_EQ(row.size(), 4u);
        if (!out.opened) {
            EXPECT_FALSE(out.load.Unreadable.empty());
            ++refused;
        } else {
            EXPECT_LE(out.read, 2);
            EXPECT_GE(out.load.Missing_Row, 0);
            EXPECT_LE(out.load.Missing_Row, 2);
            ++read;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(read, 0);
}

} // namespace
