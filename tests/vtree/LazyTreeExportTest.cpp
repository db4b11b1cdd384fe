// The string tree's content export: the growable buffers, HTML against the golden file and
// read back by Python's html.parser and by tidy, the clipboard HTML block sliced at its own
// offsets, RTF code units and unrtf's reading, delimited text and the CSV file read back by
// Python's csv module, the clipboard renderings, the export events, export modes and
// cancellation, and the font-change redirection.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Classes.h"
#include "LazyTrees.Export.h"
#include "LazyTrees.SharedResources.h"
#include "TestSupport.h"
#include "TreeInvariants.h"
#include "plat/Clipbrd.h"
#include "plat/Files.h"
#include "plat/Graphics.h"
#include "plat/LocaleInfo.h"
#include "plat/SysUtils.h"

namespace vtree {
namespace {

using namespace plat;

// ---- helpers ----

struct TRun {
    int Code = -1;
    std::string Out;
};

TRun RunTool(const std::string& Command)
{
    TRun r;
    FILE* p = popen((Command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.Out.append(buf, n);
    const int rc = pclose(p);
    r.Code = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return r;
}

std::string Script() { return "python3 " + std::string(TEST_SOURCE_DIR) + "/check_export.py "; }

void WriteBytes(const std::string& Path, std::string_view Bytes)
{
    std::ofstream f(Path, std::ios::binary);
    f.write(Bytes.data(), std::streamsize(Bytes.size()));
}

// Python's json.dumps of a list of texts (ASCII output, \uXXXX for the rest).
std::string Json(const std::vector<String>& Items)
{
    std::string r = "[";
    for (std::size_t i = 0; i < Items.size(); ++i) {
        if (i) r += ", ";
        r += '"';
        for (char16_t c : Items[i]) {
            char esc[8];
            if (c == u'"') r += "\\\"";
            else if (c == u'\\') r += "\\\\";
            else if (c == u'\n') r += "\\n";
            else if (c == u'\r') r += "\\r";
            else if (c == u'\t') r += "\\t";
            else if (c < 0x20 || c >= 0x7F) {
                std::snprintf(esc, sizeof esc, "\\u%04x", unsigned(c));
                r += esc;
            } else r += char(c);
        }
        r += '"';
    }
    return r + "]";
}

std::string JsonRows(const std::vector<std::vector<String>>& Rows)
{
    std::string r = "[";
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (i) r += ", ";
        r += Json(Rows[i]);
    }
    return r + "]";
}

std::size_t Count(const String& S, StringView Sub)
{
    std::size_t n = 0;
    for (std::size_t p = S.find(Sub); p != String::npos; p = S.find(Sub, p + 1)) ++n;
    return n;
}

// ---- the fixture: two columns, nodes at levels 0 to 3 ----

class Export : public ::testing::Test {
protected:
    void SetUp() override
    {
        PrepareSharedResources();
        RestoreSysColors();
        SetUserMeasurementSystem(msMetric);
        Tree = std::make_unique<TLazyStringTree>(nullptr);
        Tree->SetColor(clWhite);
        Tree->Font()->SetName(u"DejaVu Sans");
        Tree->Font()->SetSize(9);
        Tree->Font()->SetColor(clBlack);
        Tree->Header().Font().SetName(u"DejaVu Sans");
        Tree->Header().Font().SetSize(9);
        Tree->Header().Font().SetColor(clBlack);
        Tree->OnGetText = [this](TCustomLazyStringTree*, PLazyNode Node, TColumnIndex Column, TVSTTextType Type,
                                 String& Text) {
            if (Type != ttNormal) return;
            auto it = Texts.find(Node);
            if (it != Texts.end() && Column >= -1 && Column < int(it->second.size()))
                Text = it->second[Column < 0 ? 0 : Column];
        };
    }
    void AddColumns(const std::vector<String>& Captions)
    {
        for (const String& c : Captions) {
            auto* col = Tree->Header().Columns().Add();
            col->SetText(c);
            col->SetWidth(c == u"Name" ? 150 : 90);
        }
        Tree->Header().SetMainColumn(0);
        Tree->Header().SetOptions(Tree->Header().Options() | HdrBit(hoVisible));
    }
    PLazyNode Add(PLazyNode Parent, std::vector<String> Cells)
    {
        PLazyNode n = Tree->AddChild(Parent);
        Texts[n] = std::move(Cells);
        return n;
    }
    // Root (0) > Child (1) > Grand (2) > Deep (3); Second (0).
    void BuildLevels()
    {
        AddColumns({u"Name", u"Value"});
        PLazyNode root = Add(nullptr, {u"Root", u"1"});
        PLazyNode child = Add(root, {u"Child", u"a<b&c"});
        PLazyNode grand = Add(child, {u"Grand", u"\"quoted\" > x"});
        Add(grand, {u"Deep", u"\u00e9\u00fc\u20ac"});
        Add(nullptr, {u"Second", u""});
    }
    std::unique_ptr<TLazyStringTree> Tree;
    std::map<PLazyNode, std::vector<String>> Texts;
};

// ---- buffers ----

TEST(BufferedText, GrowsInWholeStepsAndKeepsTheText)
{
    TBufferedString b;
    EXPECT_EQ(b.Capacity(), 0u);
    b.Add(StringView());
    EXPECT_EQ(b.Capacity(), 0u);  // an empty text allocates nothing
    b.Add(u"abc");
    EXPECT_EQ(b.Capacity(), 4096u);
    // A text as long as the free space grows the block by its length rounded up to 4096,
    // and at least by the capacity so far.
    b.Add(String(4093, u'x'));
    EXPECT_EQ(b.Capacity(), 8192u);
    EXPECT_EQ(b.Length(), 4096u);
    b.Add(String(9000, u'y'));
    EXPECT_EQ(b.Capacity(), 8192u + 12288u);
    b.Add(String(7500, u'z'));
    EXPECT_EQ(b.Capacity(), 2 * 20480u);
    EXPECT_EQ(b.AsString(), u"abc" + String(4093, u'x') + String(9000, u'y') + String(7500, u'z'));
    b.Destroy();
    EXPECT_EQ(b.AsString(), u"");
    EXPECT_EQ(b.Capacity(), 0u);

    struct Case {
        std::size_t Before;    // units written before the line break
        std::size_t Capacity;  // capacity afterwards
    };
    // Text: 4 or fewer free units grow the block; bytes: 2 or fewer.
    for (Case c : {Case{0, 4096}, Case{4091, 4096}, Case{4092, 8192}}) {
        TBufferedString t;
        t.Add(String(c.Before, u'a'));
        t.AddNewLine();
        EXPECT_EQ(t.Capacity(), c.Capacity) << c.Before;
        EXPECT_EQ(t.AsString(), String(c.Before, u'a') + u"\r\n");
    }
    for (Case c : {Case{0, 4096}, Case{4093, 4096}, Case{4094, 8192}}) {
        TBufferedRawByteString r;
        r.Add(std::string(c.Before, 'a'));
        r.AddNewLine();
        EXPECT_EQ(r.Capacity(), c.Capacity) << c.Before;
        EXPECT_EQ(r.AsString(), std::string(c.Before, 'a') + "\r\n");
    }
    // Texts past 2 MiB go into storage advised as huge pages; every unit arrives.
    for (std::size_t units : {std::size_t(1) << 20, (std::size_t(5) << 20) + 3}) {
        String text(units, u'\0');
        for (std::size_t i = 0; i < units; ++i) text[i] = char16_t(i * 2654435761u >> 16);
        TBufferedString big;
        big.Add(text);
        EXPECT_TRUE(big.AsString() == text) << units;
    }
}

TEST(ExportFormat, TwipsRoundHalvesToEvenAndColoursAreRgb)
{
    struct Case {
        long long Pixels;
        int Ppi;
        long long Twips;
    };
    // 1440 / 96 = 15 exactly; at 192 dpi 7.5 rounds to 8 and 22.5 to 22; 1 px at 100 dpi is 14.4.
    for (Case c : {Case{100, 96, 1500}, Case{1, 192, 8}, Case{3, 192, 22}, Case{1, 100, 14}, Case{7, 100, 101},
                   Case{0, 96, 0}})
        EXPECT_EQ(PixelsToTwips(c.Pixels, c.Ppi), c.Twips) << c.Pixels << "@" << c.Ppi;
    EXPECT_EQ(HtmlColor(TColor(0x00336699)), u"#996633");
    EXPECT_EQ(HtmlEscape(u"a<b&c>\"d\""), u"a&lt;b&amp;c&gt;&quot;d&quot;");
}

// ---- HTML ----

TEST_F(Export, HtmlEqualsTheGoldenFileAndReadsBack)
{
    BuildLevels();
    const String html = Tree->ContentToHTML(tstAll, u"Caption \"one\"");
    const std::string bytes = StringToUtf8(html);
    const std::string golden = std::string(TEST_SOURCE_DIR) + "/data/export.html";
    if (std::getenv("UPDATE_GOLDEN")) WriteBytes(golden, bytes);
    std::string expected;
    ASSERT_TRUE(ReadFileBytes(Utf8ToString(golden), expected));
    EXPECT_EQ(bytes, expected);

    // The node at level 2 (deepest level 3): two indent cells and a colspan of 2.
    const std::size_t grand = html.find(u">Grand</td>");
    ASSERT_NE(grand, String::npos);
    const std::size_t row = html.rfind(u"<tr", grand);
    const String line = html.substr(row, grand - row);
    EXPECT_EQ(Count(line, u"&nbsp;"), 2u) << StringToUtf8(line);
    EXPECT_NE(line.find(u"colspan=\"2\""), String::npos);
    // The header's main column spans every level.
    EXPECT_NE(html.find(u"colspan=\"4\""), String::npos);

    testsupport::TempDir dir;
    WriteBytes(dir / "export.html", bytes);
    const TRun cells = RunTool(Script() + "html " + dir / "export.html");
    ASSERT_EQ(cells.Code, 0) << cells.Out;
    const String nb = u"\u00a0";
    EXPECT_EQ(cells.Out, Json({u"Name", u"Value", u"Root", u"1", nb, u"Child", u"a<b&c", nb, nb, u"Grand",
                               u"\"quoted\" > x", nb, nb, nb, u"Deep", u"\u00e9\u00fc\u20ac", u"Second", u""}) +
                             "\n");

    // tidy reads the document the clipboard carries without errors.
    const std::vector<std::uint8_t> block = Tree->ContentToClipboard(HtmlFormat, tstAll);
    const std::string doc(block.begin() + 97, block.end() - 1);
    WriteBytes(dir / "doc.html", doc);
    // tidy's exit code 2 and its "Error:" lines mark errors; its warnings (presentational
    // attributes, the missing title) are not errors.
    const TRun tidy = RunTool("tidy -q -errors " + dir / "doc.html");
    EXPECT_NE(tidy.Code, 2) << tidy.Out;
    EXPECT_EQ(tidy.Out.find("Error"), std::string::npos) << tidy.Out;
    ASSERT_EQ(RunTool("tidy -v").Code, 0);
}

TEST_F(Export, MarkupInTextsCaptionsAndFontNamesIsEscaped)
{
    AddColumns({u"<b>Head</b>", u"V"});
    Add(nullptr, {u"<script>alert(1)</script>", u"x\" onclick=\"y"});
    Tree->Font()->SetName(u"Evil'</style><script>");
    const String html = Tree->ContentToHTML(tstAll, u"\"><script>");
    EXPECT_EQ(html.find(u"<script>"), String::npos) << StringToUtf8(html);
    EXPECT_EQ(html.find(u"</style><"), html.find(u"</style><table"));
    EXPECT_NE(html.find(u"&lt;script&gt;alert(1)&lt;/script&gt;"), String::npos);
    EXPECT_NE(html.find(u"x&quot; onclick=&quot;y"), String::npos);
    EXPECT_NE(html.find(u"caption=\"&quot;&gt;&lt;script&gt;\""), String::npos);
    EXPECT_NE(html.find(u">&lt;b&gt;Head&lt;/b&gt;</th>"), String::npos);
}

TEST_F(Export, TreeWithoutColumnsExportsOneCellPerNodeWithTheTreeAlignment)
{
    PLazyNode a = Add(nullptr, {u"A"});
    Add(a, {u"B"});
    Tree->SetAlignment(taRightJustify);
    Tree->SetBiDiMode(bdRightToLeft);
    const String html = Tree->ContentToHTML(tstAll);
    EXPECT_EQ(html.find(u"<th"), String::npos);
    EXPECT_EQ(Count(html, u"<tr class=\"default\">"), 2u);
    // Right-aligned text mirrored for right-to-left reading.
    EXPECT_EQ(Count(html, u"align=left dir=\"rtl\""), 2u) << StringToUtf8(html);
    EXPECT_NE(html.find(u"colspan=\"2\">A</td>"), String::npos);
}

TEST_F(Export, ClipboardHtmlBlockSlicesToTheFragment)
{
    BuildLevels();
    const std::vector<std::uint8_t> block = Tree->ContentToClipboard(HtmlFormat, tstAll);
    const std::string fragment = StringToUtf8(Tree->ContentToHTML(tstAll));
    const std::string bytes(block.begin(), block.end());
    const std::size_t L = fragment.size();
    EXPECT_EQ(bytes.size(), L + 301 + 1);
    char header[160];
    std::snprintf(header, sizeof header,
                  "Version:1.0\r\nStartHTML:00000097\r\nEndHTML:%08zu\r\nStartFragment:00000269\r\nEndFragment:%08zu\r\n",
                  L + 301, L + 269);
    EXPECT_EQ(bytes.substr(0, 97), header);
    EXPECT_EQ(bytes.substr(269, L), fragment);

    testsupport::TempDir dir;
    WriteBytes(dir / "block.bin", bytes);
    const TRun r = RunTool(Script() + "cfhtml " + dir / "block.bin");
    ASSERT_EQ(r.Code, 0) << r.Out;
    const std::string list = Json({Utf8ToString(fragment)});
    EXPECT_EQ(r.Out, list.substr(1, list.size() - 2) + "\n");
}

// ---- RTF ----

TEST_F(Export, RtfWritesEveryCodeUnitSignedAndUnrtfReadsTheCells)
{
    AddColumns({u"Name", u"Value"});
    Add(nullptr, {u"A", u"\u8000"});
    PLazyNode n = Add(nullptr, {u"Line1\r\nLine2", u"Zed"});
    Add(n, {u"Kid", u"K"});
    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_NE(rtf.find(" \\u65\\'3f\\cell"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\u-32768\\'3f"), std::string::npos);
    // LF becomes a paragraph inside the cell, CR is dropped.
    EXPECT_NE(rtf.find("\\u49\\'3f{\\par}\\u76\\'3f"), std::string::npos);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0 DejaVu Sans;}}"
                        "{\\colortbl;\\red0\\green0\\blue0;}\\paperw16840\\paperh11907"
                        "\\margl720\\margr720\\margt720\\margb720\\uc1\\trowd\\trgaph70\\cellx2250\\cellx3600",
                        0),
              0u)
        << rtf;
    EXPECT_NE(rtf.find("\\pard\\intbl\\tab  \\u75\\'3f"), std::string::npos);  // the child's indent
    EXPECT_EQ(rtf.substr(rtf.size() - 10), "\\pard\\par}");

    testsupport::TempDir dir;
    WriteBytes(dir / "t.rtf", rtf);
    // unrtf's text output prints "?" for every \u unit, its HTML output the character
    // references: the cells are read from those.
    const TRun text = RunTool("unrtf --text " + dir / "t.rtf");
    ASSERT_EQ(text.Code, 0) << text.Out;
    const TRun r = RunTool("unrtf --html " + dir / "t.rtf");
    ASSERT_EQ(r.Code, 0) << r.Out;
    String decoded;
    for (std::size_t i = 0; i < r.Out.size(); ++i) {
        if (r.Out.compare(i, 2, "&#") == 0) {
            const std::size_t end = r.Out.find(';', i);
            decoded += char16_t(std::stoi(r.Out.substr(i + 2, end - i - 2)));
            i = end;
        } else {
            decoded += char16_t(static_cast<unsigned char>(r.Out[i]));
        }
    }
    for (const char16_t* cell : {u"Name", u"Value", u"A", u"\u8000", u"Line1", u"Line2", u"Zed", u"Kid"})
        EXPECT_NE(decoded.find(cell), String::npos) << StringToUtf8(cell) << "\n" << r.Out;

    SetUserMeasurementSystem(msUnitedStates);
    EXPECT_NE(Tree->ContentToRTF(tstAll).find("\\paperw15840\\paperh12240"), std::string::npos);
    SetUserMeasurementSystem(msMetric);
}

TEST_F(Export, RtfFontNamesEscapeGroupCharacters)
{
    Add(nullptr, {u"x"});
    Tree->Font()->SetName(u"A\\B{C}");
    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_NE(rtf.find("{\\f0 A\\\\B\\{C\\};}"), std::string::npos) << rtf;
}

// ---- delimited text and the CSV file ----

TEST_F(Export, DelimitedTextAndCsvFileReadBackToTheCells)
{
    AddColumns({u"Name", u"Value"});
    const std::vector<std::vector<String>> rows = {
        {u"plain", u"semi;colon"},
        {u"say \"hi\"", u"comma,here"},
        {u"cr\rinside", u"lf\ninside"},
        {u"\u00e9t\u00e9 \u00fcber", u"\u20ac 5"},
    };
    for (const auto& r : rows) Add(nullptr, r);

    testsupport::TempDir dir;
    for (const String sep : {String(u";"), String(u","), String(u"\t")}) {
        const String text = Tree->ContentToText(tstAll, sep);
        WriteBytes(dir / "text.csv", StringToUtf8(text));
        const TRun r = RunTool(Script() + "csv " + dir / "text.csv" + " utf-8 '" + StringToUtf8(sep) + "'");
        ASSERT_EQ(r.Code, 0) << r.Out;
        std::vector<std::vector<String>> expected = {{u"Name", u"Value"}};
        expected.insert(expected.end(), rows.begin(), rows.end());
        EXPECT_EQ(r.Out, JsonRows(expected) + "\n") << StringToUtf8(text);
    }
    // A cell without the separator or a quote is not quoted.
    EXPECT_NE(Tree->ContentToText(tstAll, u';').find(u"plain;\"semi;colon\"\r\n"), String::npos);

    ASSERT_TRUE(Tree->SaveToCSVFile(dir / u"file.csv", true));
    const TRun r = RunTool(Script() + "csv " + dir / "file.csv" + " cp1252 ,");
    ASSERT_EQ(r.Code, 0) << r.Out;
    std::vector<std::vector<String>> expected = {{u"Name", u"Value"}};
    expected.insert(expected.end(), rows.begin(), rows.end());
    EXPECT_EQ(r.Out, JsonRows(expected) + "\n");
}

TEST_F(Export, CsvFileWritesTopLevelNodesAndBlankCells)
{
    BuildLevels();
    testsupport::TempDir dir;
    ASSERT_TRUE(Tree->SaveToCSVFile(dir / u"top.csv", false));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(dir / u"top.csv", bytes));
    EXPECT_EQ(bytes, "\"Root\",\"1\"\r\n\"Second\",\" \"\r\n");

    EXPECT_FALSE(Tree->SaveToCSVFile(u"", true));
    EXPECT_FALSE(Tree->SaveToCSVFile(dir / u"missing/folder/x.csv", true));
    // A failed write leaves an existing file as it was.
    EXPECT_TRUE(Tree->SaveToCSVFile(dir / u"top.csv", true));
    std::string again;
    ASSERT_TRUE(ReadFileBytes(dir / u"top.csv", again));
    EXPECT_EQ(again, "\"Name\",\"Value\"\r\n" + bytes);

    // Without header columns every line is empty, one per top-level node.
    TLazyStringTree plain(nullptr);
    plain.SetRootNodeCount(1);
    plain.AddChild(plain.GetFirst());
    plain.AddChild(nullptr);
    ASSERT_TRUE(plain.SaveToCSVFile(dir / u"plain.csv", true));
    ASSERT_TRUE(ReadFileBytes(dir / u"plain.csv", bytes));
    EXPECT_EQ(bytes, "\r\n\r\n\r\n");
}

TEST_F(Export, DelimitedTextIndentsTheMainColumnByLevel)
{
    BuildLevels();
    const String text = Tree->ContentToText(tstAll, u',');
    EXPECT_EQ(text, u"Name,,,,Value\r\n"
                    u"Root,,,,1\r\n"
                    u",Child,,,a<b&c\r\n"
                    u",,Grand,,\"\"\"quoted\"\" > x\"\r\n"
                    u",,,Deep,\u00e9\u00fc\u20ac\r\n"
                    u"Second,,,,\r\n");
    EXPECT_EQ(Tree->ContentToUnicode(tstAll, u','), text);
}

// ---- clipboard renderings ----

TEST_F(Export, ClipboardFormatsRenderTheirBytes)
{
    AddColumns({u"N", u"V"});
    Add(nullptr, {u"\u00e9", u"\u20ac"});
    FormatSettings.ListSeparator = u';';
    struct Case {
        UINT Format;
        std::string Bytes;
    };
    const std::string unicode("N\0\t\0V\0\r\0\n\0\xe9\0\t\0\xac\x20\r\0\n\0\0\0", 22);
    for (const Case& c : {Case{CF_TEXT, std::string("N\tV\r\n\xe9\t\x80\r\n", 10) + '\0'},
                          Case{CF_UNICODETEXT, unicode},
                          Case{CsvFormat, std::string("N;V\r\n\xe9;\x80\r\n", 10) + '\0'}}) {
        const std::vector<std::uint8_t> b = Tree->ContentToClipboard(c.Format, tstAll);
        EXPECT_EQ(std::string(b.begin(), b.end()), c.Bytes) << c.Format;
    }
    FormatSettings.ListSeparator = u',';
    for (UINT f : {UINT(RtfFormat), UINT(RtfNoObjectsFormat)}) {
        const std::vector<std::uint8_t> b = Tree->ContentToClipboard(f, tstAll);
        EXPECT_EQ(std::string(b.begin(), b.end()), Tree->ContentToRTF(tstAll) + '\0');
    }
    EXPECT_TRUE(Tree->ContentToClipboard(TreeDataFormat, tstAll).empty());
    EXPECT_TRUE(Tree->ContentToClipboard(15, tstAll).empty());
}

// ---- sources, modes, events, cancellation ----

TEST_F(Export, CustomExportFiresTheEventsInOrder)
{
    AddColumns({u"A", u"B"});
    Tree->Header().Columns()[1]->SetPosition(0);
    PLazyNode a = Add(nullptr, {u"a", u"1"});
    Add(nullptr, {u"b", u"2"});
    std::vector<std::string> log;
    auto name = [](PLazyNode n) { return n ? std::to_string(n->Index) : std::string("-"); };
    Tree->OnBeforeTreeExport = [&](TCustomLazyStringTree*, TLTExportType t) { log.push_back("BT" + std::to_string(t)); };
    Tree->OnAfterTreeExport = [&](TCustomLazyStringTree*, TLTExportType) { log.push_back("AT"); };
    Tree->OnBeforeHeaderExport = [&](TCustomLazyStringTree*, TLTExportType) { log.push_back("BH"); };
    Tree->OnAfterHeaderExport = [&](TCustomLazyStringTree*, TLTExportType) { log.push_back("AH"); };
    Tree->OnBeforeColumnExport = [&](TCustomLazyStringTree*, TLTExportType, TColumnIndex c) { log.push_back("BC" + std::to_string(c)); };
    Tree->OnColumnExport = [&](TCustomLazyStringTree*, TLTExportType, TColumnIndex c) { log.push_back("C" + std::to_string(c)); };
    Tree->OnAfterColumnExport = [&](TCustomLazyStringTree*, TLTExportType, TColumnIndex c) { log.push_back("AC" + std::to_string(c)); };
    Tree->OnBeforeNodeExport = [&](TCustomLazyStringTree*, TLTExportType, PLazyNode n) { log.push_back("BN" + name(n)); return false; };
    Tree->OnNodeExport = [&](TCustomLazyStringTree*, TLTExportType, PLazyNode n) { log.push_back("N" + name(n)); return false; };
    Tree->OnAfterNodeExport = [&](TCustomLazyStringTree*, TLTExportType, PLazyNode n) { log.push_back("AN" + name(n)); return false; };
    std::vector<TLTOperationKind> ops;
    Tree->OnStartOperation = [&](TBaseLazyTree*, TLTOperationKind k) { ops.push_back(k); };
    Tree->OnEndOperation = [&](TBaseLazyTree*, TLTOperationKind k) { ops.push_back(k); };

    Tree->ContentToCustom(tstAll);
    EXPECT_EQ(log, (std::vector<std::string>{"BT6", "BH", "BC1", "C1", "AC1", "BC0", "C0", "AC0", "AH", "BN0",
                                             "N0", "AN0", "BN1", "N1", "AN1", "AT"}));
    EXPECT_EQ(ops, (std::vector<TLTOperationKind>{okExport, okExport}));

    // HTML: header and column events around the header row; a refused node is skipped.
    log.clear();
    Tree->OnBeforeNodeExport = [&](TCustomLazyStringTree*, TLTExportType t, PLazyNode n) {
        log.push_back("BN" + name(n) + "/" + std::to_string(t));
        return n != a;
    };
    const String html = Tree->ContentToHTML(tstAll);
    EXPECT_EQ(log, (std::vector<std::string>{"BH", "BC1", "AC1", "BC0", "AC0", "AH", "BN0/2", "BN1/2", "AN1"}));
    EXPECT_EQ(html.find(u">a</td>"), String::npos);
    EXPECT_NE(html.find(u">b</td>"), String::npos);
    log.clear();
    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_EQ(log, (std::vector<std::string>{"BH", "BC1", "AC1", "BC0", "AC0", "AH", "BN0/1", "BN1/1", "AN1"}));
    EXPECT_EQ(rtf.find("\\u97\\'3f"), std::string::npos);
    // Plain text fires no export events.
    log.clear();
    Tree->ContentToText(tstAll, u'\t');
    EXPECT_TRUE(log.empty());
}

TEST_F(Export, CheckedModeFiltersHtmlAndRtfButNotText)
{
    AddColumns({u"Name"});
    PLazyNode on = Add(nullptr, {u"On"});
    PLazyNode off = Add(nullptr, {u"Off"});
    for (PLazyNode n : {on, off}) Tree->SetCheckType(n, ctCheckBox);
    Tree->SetCheckState(on, csCheckedNormal);
    Tree->TreeOptions().SetExportMode(emChecked);
    const String html = Tree->ContentToHTML(tstAll);
    EXPECT_NE(html.find(u">On</td>"), String::npos);
    EXPECT_EQ(html.find(u">Off</td>"), String::npos);
    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_NE(rtf.find("\\u79\\'3f\\u110\\'3f"), std::string::npos);  // "On"
    EXPECT_EQ(rtf.find("\\u79\\'3f\\u102\\'3f"), std::string::npos);  // "Of"
    EXPECT_EQ(Tree->ContentToText(tstAll, u','), u"Name\r\nOn\r\nOff\r\n");

    // The export modes decide by the node alone.
    struct Case {
        TLTExportMode Mode;
        bool On, Off;
    };
    Tree->SetSelected(off, true);
    for (Case c : {Case{emAll, true, true}, Case{emChecked, true, false}, Case{emUnchecked, false, true},
                   Case{emSelected, false, true}, Case{emVisibleDueToExpansion, true, true}}) {
        Tree->TreeOptions().SetExportMode(c.Mode);
        EXPECT_EQ(IsNodeExported(*Tree, on), c.On) << c.Mode;
        EXPECT_EQ(IsNodeExported(*Tree, off), c.Off) << c.Mode;
    }
    PLazyNode kid = Add(on, {u"Kid"});
    Tree->TreeOptions().SetExportMode(emVisibleDueToExpansion);
    EXPECT_FALSE(IsNodeExported(*Tree, kid));
    Tree->SetExpanded(on, true);
    EXPECT_TRUE(IsNodeExported(*Tree, kid));
}

TEST_F(Export, TextSourcesWalkTheirNodes)
{
    AddColumns({u"Name"});
    PLazyNode a = Add(nullptr, {u"a"});
    PLazyNode b = Add(a, {u"b"});
    PLazyNode c = Add(nullptr, {u"c"});
    Tree->SetSelected(b, true);
    Tree->SetCheckType(c, ctCheckBox);
    Tree->SetCheckState(c, csCheckedNormal);
    c->States |= NodeBit(vsCutOrCopy);
    struct Case {
        TVSTTextSourceType Source;
        const char16_t* Text;
    };
    // The main column is padded to the deepest level of the walk on both sides.
    for (Case k : {Case{tstAll, u"Name\r\na,\r\n,b\r\nc,\r\n"}, Case{tstSelected, u"Name\r\n,b\r\n"},
                   Case{tstVisible, u"Name\r\na\r\nc\r\n"}, Case{tstChecked, u"Name\r\nc\r\n"},
                   Case{tstCutCopySet, u"Name\r\nc\r\n"}}) {
        EXPECT_EQ(Tree->ContentToText(k.Source, u','), k.Text) << k.Source;
    }
    c->States &= ~NodeBit(vsCutOrCopy);
}

TEST_F(Export, CancellingTheOperationStopsTheWalk)
{
    AddColumns({u"Name"});
    for (int i = 0; i < 5; ++i) Add(nullptr, {u"n" + IntToStr(i)});
    int seen = 0;
    Tree->OnBeforeNodeExport = [&](TCustomLazyStringTree* T, TLTExportType, PLazyNode) {
        if (++seen == 2) T->CancelOperation();
        return true;
    };
    const String html = Tree->ContentToHTML(tstAll);
    EXPECT_NE(html.find(u">n1</td>"), String::npos);
    EXPECT_EQ(html.find(u">n2</td>"), String::npos);
    EXPECT_EQ(html.substr(html.size() - 8), u"</table>");
    EXPECT_EQ(Tree->OperationCount(), 0u);
    // The next export starts afresh.
    Tree->OnBeforeNodeExport = nullptr;
    EXPECT_NE(Tree->ContentToHTML(tstAll).find(u">n4</td>"), String::npos);
}

TEST_F(Export, FontChangesInPaintTextReachTheHtmlAndTheHookIsRestored)
{
    AddColumns({u"Name", u"Value"});
    PLazyNode bold = Add(nullptr, {u"Bold", u"v"});
    Add(nullptr, {u"Plain", u"w"});
    int own = 0;
    Tree->Canvas()->Font()->OnChange = [&](TObject*) { ++own; };
    Tree->OnPaintText = [&](TCustomLazyStringTree*, TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, TVSTTextType) {
        if (Node == bold && Column == 0) Canvas->Font()->SetStyle({fsBold});
    };
    const String html = Tree->ContentToHTML(tstAll);
    EXPECT_EQ(Count(html, u" style=\"{font-family: 'DejaVu Sans'; font-size: 9pt; font-style: normal; "
                          u"font-weight: bold; text-decoration: none; color: #000000;}\" height=\""),
              1u)
        << StringToUtf8(html);
    const std::string rtf = Tree->ContentToRTF(tstAll);
    EXPECT_NE(rtf.find("\\pard\\intbl\\b \\u66\\'3f\\u111\\'3f\\u108\\'3f\\u100\\'3f\\b0\\cell"), std::string::npos) << rtf;
    // The canvas's own handler is back in place and still hears changes.
    const int before = own;
    Tree->Canvas()->Font()->SetColor(clRed);
    EXPECT_EQ(own, before + 1);
    Tree->Canvas()->Font()->OnChange = nullptr;
}

} // namespace
} // namespace vtree
