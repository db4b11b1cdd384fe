// The HTML export: the table as Python's html.parser reads it back, classes, spans, widths,
// links, XHTML that xmllint accepts, file encodings, JPEG picture files that djpeg decodes,
// the shell's "open" and the clipboard block sliced at its own offsets.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ExtGrid.h"
#include "GridFileFixture.h"
#include "plat/Clipbrd.h"
#include "plat/Files.h"
#include "plat/ImgList.h"
#include "plat/Process.h"
#include "TestSupport.h"

using namespace grid;
using grid::testing::U8;
using plat::String;

namespace {

std::string Shell(const std::string& cmd, int& rc) {
    std::string out;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    rc = pclose(p);
    return out;
}

class GridHTMLTest : public grid::testing::GridFileTest {
protected:
    TExtStringGrid* MakeGrid(int cols, int rows) {
        TExtStringGrid* g = NewGrid();
        g->SetColCount(cols);
        g->SetRowCount(rows);
        return g;
    }
    // The oracle's reading of an exported file.
    std::string Oracle(const char* mode, const String& file) {
        int rc = 0;
        const std::string out =
            Shell("python3 " + std::string(TEST_SOURCE_DIR) + "/html_oracle.py " + mode + " '" + U8(file) + "'", rc);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }
};

// Header row and body rows start at column 0 when the fixed cells are saved; hidden columns
// keep their real column's cells; equal looks share a class; spans; blanks.
TEST_F(GridHTMLTest, TableAsAParserReadsIt) {
    TExtStringGrid* g = MakeGrid(5, 4);
    g->SaveFixedCells = true;
    g->SetCells(0, 0, u"h0");
    g->SetCells(1, 0, u"hidden");
    g->SetCells(2, 0, u"");
    g->SetCells(3, 0, u"h3");
    g->SetCells(0, 1, u"a");
    g->SetCells(1, 1, u"secret");
    g->SetCells(2, 1, u"   ");
    g->SetCells(3, 1, u"x<y & \"z\"");
    g->SetCells(4, 1, u"two\r\nlines");
    g->SetCells(3, 2, u"m");
    g->MergeCells(3, 2, 2, 2);
    g->HideColumn(1);
    g->HTMLSettings()->ConvertSpecialChars = true;
    const String f = File("t.html");
    g->SaveToHTML(f, false, false);
    const std::string got = Oracle("table", f);
    // Column 1 (display) is real column 2; a truly empty header cell and blank body cells
    // give a non-breaking blank; the fixed column shares the header's look.
    const std::string want =
        "h0|1|1|c0\t\xC2\xA0|1|1|c0\th3|1|1|c0\t\xC2\xA0|1|1|c0\n"
        "a|1|1|c0\t\xC2\xA0|1|1|c1\tx<y & \"z\"|1|1|c1\ttwo\\nlines|1|1|c2\n"
        "\xC2\xA0|1|1|c0\t\xC2\xA0|1|1|c1\tm|2|2|c1\n"
        "\xC2\xA0|1|1|c0\t\xC2\xA0|1|1|c1\n"
        "classes ok\n";
    EXPECT_EQ(got, want);
    const std::string bytes = Read(f);
    EXPECT_EQ(bytes.find("WIDTH="), bytes.rfind("WIDTH="));  // the table's only
    EXPECT_EQ(bytes.find("width="), std::string::npos);
    EXPECT_NE(bytes.find("COLSPAN=\"2\" ROWSPAN=\"2\""), std::string::npos);
    EXPECT_NE(bytes.find("<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"0\"  WIDTH=\"100%\">"), std::string::npos)
        << bytes;
    EXPECT_EQ(bytes.find("secret"), std::string::npos);
}

// Widths come from ColWidths counted from the first exported column, in the header row and,
// without one, in the body rows.
TEST_F(GridHTMLTest, ColumnWidths) {
    struct Case {
        const char* name;
        bool saveFixed;
        std::vector<std::string> present, absent;
    };
    const std::vector<Case> cases = {
        {"header row", true, {"WIDTH=10>h0", "WIDTH=20>h1"}, {"width="}},
        {"body rows from the first exported column", false, {"width=10>b", "width=20>c"}, {"WIDTH=10>", "width=30"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TExtStringGrid* g = MakeGrid(3, 2);
        g->SaveFixedCells = k.saveFixed;
        g->SetFixedRows(k.saveFixed ? 1 : 0);
        g->SetCells(0, 0, u"h0");
        g->SetCells(1, 0, u"h1");
        g->SetCells(1, 1, u"b");
        g->SetCells(2, 1, u"c");
        g->HTMLSettings()->ColWidths = {10, 20, 30};
        const String html = g->SaveToHTMLString(dir + u"/");
        const std::string s = U8(html);
        for (const std::string& p : k.present) EXPECT_NE(s.find(p), std::string::npos) << p << "\n" << s;
        for (const std::string& a : k.absent) EXPECT_EQ(s.find(a), std::string::npos) << a << "\n" << s;
    }
}

// Links: the shown part and a quoted, escaped href.
TEST_F(GridHTMLTest, Links) {
    TExtStringGrid* g = MakeGrid(2, 2);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    g->SetURLShow(true);
    g->SetCells(0, 0, u"http://host/a?b=1&c=\"2\"");
    g->SetCells(1, 0, u"mailto:me@host");
    const std::string s = U8(g->SaveToHTMLString(dir + u"/"));
    EXPECT_NE(s.find("<A href=\"http://host/a?b=1&amp;c=&quot;2&quot;\">host/a?b=1&c=\"2\"</A>"), std::string::npos) << s;
    EXPECT_NE(s.find("<A href=\"mailto:me@host\">me@host</A>"), std::string::npos) << s;
}

// XHTML is well-formed: xmllint reads it; it starts with the declaration, ends with </html>.
TEST_F(GridHTMLTest, XhtmlIsWellFormed) {
    TExtStringGrid* g = MakeGrid(3, 3);
    g->SaveFixedCells = true;
    g->SetCells(1, 1, u"a & b < c");
    g->SetCells(2, 1, u"line\r\nbreak");
    g->SetCells(1, 2, u"caf\u00e9 \u4e2d");
    g->SetCells(2, 2, u"http://x/?a=1&b=2");
    g->SetURLShow(true);
    g->HTMLSettings()->XHTML = true;
    g->HTMLSettings()->ConvertSpecialChars = true;
    g->HTMLSettings()->NonBreakingText = true;
    for (bool unicode : {false, true}) {
        SCOPED_TRACE(unicode);
        const String f = File(unicode ? "u.html" : "a.html");
        g->SaveToHTML(f, false, unicode);
        String text;
        ASSERT_TRUE(plat::ReadTextFile(f, text));
        EXPECT_EQ(text.rfind(u"<?xml version=\"1.0\" encoding=", 0), 0u);
        EXPECT_EQ(text.substr(text.size() - 9), u"</html>\r\n");
        int rc = 0;
        const std::string out = Shell("xmllint --noout '" + U8(f) + "'", rc);
        EXPECT_EQ(rc, 0) << out;
    }
    EXPECT_EQ(Read(File("u.html")).substr(0, 2), "\xFF\xFE");
}

// A non-Unicode file keeps other characters as numeric references.
TEST_F(GridHTMLTest, AsciiFileKeepsCharacters) {
    TExtStringGrid* g = MakeGrid(2, 2);
    g->SetCells(1, 1, u"caf\u00e9 \U0001F600");
    const String f = File("a.html");
    g->SaveToHTML(f, false, false);
    const std::string bytes = Read(f);
    EXPECT_NE(bytes.find("caf&#233; &#128512;"), std::string::npos);
    for (unsigned char ch : bytes) ASSERT_LT(ch, 0x80);
    const std::string got = Oracle("table", f);
    EXPECT_NE(got.find("caf\xC3\xA9 \xF0\x9F\x98\x80|"), std::string::npos) << got;
}

// A bitmap cell becomes images/img1.jpg beside the file, decoded by djpeg to its size; Show
// asks the shell to open the file.
TEST_F(GridHTMLTest, PicturesAndShow) {
    TExtStringGrid* g = MakeGrid(3, 2);
    g->SetCells(1, 1, u"pic");
    plat::TBitmap* bmp = g->CreateBitmap(1, 1, false, haLeft, vaTop);
    bmp->SetSize(17, 9);
    bmp->Canvas()->Brush()->SetColor(0x0000FF);
    bmp->Canvas()->FillRect(plat::TRect{0, 0, 17, 9});
    std::vector<String> opened;
    const auto previous = plat::SetShellOpenHandler([&](const String& t) {
        opened.push_back(t);
        return true;
    });
    const String f = File("p.html");
    g->SaveToHTML(f, true, false);
    plat::SetShellOpenHandler(previous);
    EXPECT_EQ(opened, std::vector<String>{f});
    const std::string got = Oracle("table", f);
    EXPECT_NE(got.find("pic[img file://" + U8(dir) + "/images/img1.jpg]|"), std::string::npos) << got;
    int rc = 0;
    const std::string info = Shell("djpeg -pnm '" + U8(dir) + "/images/img1.jpg' | head -c 20", rc);
    EXPECT_NE(info.find("17 9"), std::string::npos) << info;

    // A folder that cannot be made stops the export.
    ASSERT_TRUE(plat::ForceDirectories(dir + u"/blocked"));
    ASSERT_TRUE(plat::WriteFileAtomic(dir + u"/blocked/images", "a file"));
    EXPECT_TRUE(testsupport::ThrowsWith<EExtGridError>([&] { g->SaveToHTMLString(dir + u"/blocked/"); },
                                                       u"Cannot create " + dir + u"/blocked/images"));

    // The clipboard form writes no picture file.
    plat::DeleteFile(dir + u"/images/img1.jpg");
    g->CopyToClipBoardAsHTML();
    EXPECT_FALSE(plat::FileExists(dir + u"/images/img1.jpg"));
    EXPECT_FALSE(plat::FileExists(u"images/img1.jpg"));
}

// Images of the grid's image list become picture files in the order the cells are written:
// an image-list cell puts the picture before its text, a data-image cell shows only the
// picture its text names, a multi-image cell one picture per index in range; indexes outside
// the list give no picture. The hidden column's neighbours keep their real column's images.
TEST_F(GridHTMLTest, ImageListPictures) {
    TExtStringGrid* g = MakeGrid(5, 2);
    plat::TCustomImageList images(nullptr);
    images.SetSize(12, 7);
    plat::TBitmap red{12, 7}, blue{12, 7};
    red.Canvas()->Brush()->SetColor(0x0000FF);
    red.Canvas()->FillRect(plat::TRect{0, 0, 12, 7});
    blue.Canvas()->Brush()->SetColor(0xFF0000);
    blue.Canvas()->FillRect(plat::TRect{0, 0, 12, 7});
    ASSERT_EQ(images.Add(&red, nullptr), 0);
    ASSERT_EQ(images.Add(&blue, nullptr), 1);

    g->GridImages = &images;
    g->SetCells(1, 0, u"hidden");
    g->AddImageIdx(1, 0, 0, haLeft, vaTop);
    g->SetCells(2, 0, u"far");
    g->AddImageIdx(2, 0, 9, haLeft, vaTop);
    g->AddDataImage(3, 0, 7, haLeft, vaTop);
    g->SetCells(4, 0, u"multi");
    g->AddMultiImage(4, 0, 0, haLeft, vaTop);
    for (int idx : {1, 7, 0}) g->GetCellImages(4, 0)->Add(idx);
    g->SetCells(2, 1, u"list");
    g->AddImageIdx(2, 1, 1, haLeft, vaTop);
    g->AddDataImage(3, 1, 0, haLeft, vaTop);
    g->HideColumn(1);
    const String f = File("i.html");
    g->SaveToHTML(f, false, false);
    g->GridImages = nullptr;
    const std::string img = "[img file://" + U8(dir) + "/images/img";
    const std::string want = "\xC2\xA0|1|1|c0\tfar|1|1|c0\t|1|1|c0\t" + img + "1.jpg]" + img + "2.jpg]multi|1|1|c0\n"
                             "\xC2\xA0|1|1|c0\t" + img + "3.jpg]list|1|1|c1\t" + img + "4.jpg]|1|1|c1\t\xC2\xA0|1|1|c2\n"
                             "classes ok\n";
    EXPECT_EQ(Oracle("table", f), want);
    EXPECT_FALSE(plat::FileExists(dir + u"/images/img5.jpg"));
    // Each file is the image at the list's size, in its colour (blue for index 1).
    struct Pic {
        int n;
        bool blue;
    };
    for (Pic p : {Pic{1, true}, Pic{2, false}, Pic{3, true}, Pic{4, false}}) {
        SCOPED_TRACE(p.n);
        int rc = 0;
        const std::string jpg = U8(dir) + "/images/img" + std::to_string(p.n) + ".jpg";
        const std::string out = Shell("djpeg -pnm -outfile '" + jpg + ".ppm' '" + jpg + "'", rc);
        ASSERT_EQ(rc, 0) << out;
        const std::string ppm = Read(plat::Utf8ToString(jpg + ".ppm"));
        ASSERT_EQ(ppm.rfind("P6\n12 7\n255\n", 0), 0u) << ppm.substr(0, 20);
        const auto* px = reinterpret_cast<const unsigned char*>(ppm.data() + 12 + 3 * (3 * 12 + 6));
        EXPECT_GT(p.blue ? px[2] : px[0], 200) << int(px[0]) << "," << int(px[1]) << "," << int(px[2]);
        EXPECT_LT(p.blue ? px[0] : px[2], 60);
    }
}

// The clipboard block: its offsets slice out the document and the fragment.
TEST_F(GridHTMLTest, ClipboardBlock) {
    TExtStringGrid* g = MakeGrid(2, 2);
    g->SetCells(1, 1, u"caf\u00e9");
    g->CopyToClipBoardAsHTML();
    const std::string block = plat::Clipboard().GetAsHandle(plat::RegisterClipboardFormat(u"HTML Format"));
    const String f = File("clip.bin");
    ASSERT_TRUE(plat::WriteFileAtomic(f, block));
    const std::string got = Oracle("clip", f);
    const std::size_t sep = got.find("\n----\n");
    ASSERT_NE(sep, std::string::npos) << got;
    const std::string doc = got.substr(0, sep), frag = got.substr(sep + 6);
    EXPECT_EQ(doc.rfind("<!DOCTYPE HTML", 0), 0u) << doc;
    EXPECT_EQ(doc.substr(doc.size() - 7), "</html>");
    EXPECT_EQ(frag.rfind("<style>", 0), 0u) << frag;
    EXPECT_NE(frag.find("caf\xC3\xA9"), std::string::npos);
    EXPECT_EQ(frag.substr(frag.size() - 11), "</TABLE>\r\n\n");
    EXPECT_EQ(plat::Clipboard().AsText(), plat::Utf8ToString(block));
}

TEST_F(GridHTMLTest, SettingsAssign) {
    TExtStringGrid* g = MakeGrid(2, 2);
    THTMLSettings* s = g->HTMLSettings();
    EXPECT_EQ(s->BorderSize, 1);
    EXPECT_EQ(s->Width, 100);
    EXPECT_TRUE(s->ExportImages);
    EXPECT_TRUE(s->SaveColor);
    THTMLSettings other;
    other.Summary = u"sum";
    other.XHTML = true;
    other.ExportImages = false;
    other.ColWidths = {5};
    s->Assign(&other);
    EXPECT_EQ(s->Summary, u"sum");
    EXPECT_TRUE(s->XHTML);
    EXPECT_TRUE(s->ExportImages);
    EXPECT_TRUE(s->ColWidths.empty());
}

} // namespace
