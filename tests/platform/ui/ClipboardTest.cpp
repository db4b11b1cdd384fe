// The clipboard object headless: text both ways, private formats by registered id, the HTML
// block with its fragment under text/html, nesting, clearing and a held clipboard.
#include "plat/Clipbrd.h"
#include "plat/Controls.h"
#include "plat/Testing.h"
#include "TestSupport.h"

namespace plat {
namespace {

std::string Mime(const char* type) { return testing::SystemClipboardData(type); }

TEST(ClipboardTest, TextInBothForms)
{
    Clipboard().SetAsText(u"a\tb\r\nè\u4E2D");
    EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard().HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard().AsText(), u"a\tb\r\nè\u4E2D");
    EXPECT_EQ(Mime("text/plain"), "a\tb\r\n\xC3\xA8\xE4\xB8\xAD");
    EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT), "a\tb\r\n\xE8?");  // ANSI bytes

    Clipboard().SetAsHandle(CF_TEXT, "caf\xE9");
    EXPECT_EQ(Clipboard().AsText(), u"café");
}

TEST(ClipboardTest, FormatsSetInOneSessionArePublishedTogether)
{
    const UINT own = RegisterClipboardFormat(u"TExtStringGrid Cells");
    const UINT html = RegisterClipboardFormat(u"HTML Format");
    const UINT rtf = RegisterClipboardFormat(u"Rich Text Format");
    EXPECT_EQ(RegisterClipboardFormat(u"TExtStringGrid Cells"), own);
    EXPECT_GE(own, 0xC000u);

    const std::string head = "Version:0.9\r\nStartFragment:0000000000\r\nEndFragment:0000000000\r\n";
    const std::string body = "<html><body>\r\n<!--StartFragment--><table></table><!--EndFragment-->";
    std::string block = head + body;
    const std::size_t start = block.find("<table>"), end = block.find("<!--EndFragment");
    block.replace(head.find("0000000000"), 10, std::string(10 - std::to_string(start).size(), '0') + std::to_string(start));
    block.replace(head.rfind("0000000000"), 10, std::string(10 - std::to_string(end).size(), '0') + std::to_string(end));
    const std::string ownBytes("\x01\x00\xFFxyz", 6);
    Clipboard().Open();
    Clipboard().SetAsText(u"plain");
    Clipboard().SetAsHandle(html, block);
    Clipboard().SetAsHandle(rtf, "{\\rtf1 x}");
    Clipboard().SetAsHandle(own, ownBytes);
    // Inside the session the new data is seen; the system clipboard still has the old.
    EXPECT_EQ(Clipboard().GetAsHandle(own), ownBytes);
    Clipboard().Close();

    EXPECT_EQ(Clipboard().GetAsHandle(own), ownBytes);
    EXPECT_EQ(Mime("application/x-configurator-textstringgrid-cells"), ownBytes);
    EXPECT_EQ(Clipboard().GetAsHandle(html), block);
    EXPECT_EQ(Mime("text/html"), "<table></table>");
    EXPECT_EQ(Mime("text/rtf"), "{\\rtf1 x}");
    EXPECT_EQ(Clipboard().AsText(), u"plain");

    // A new session replaces everything.
    Clipboard().SetAsText(u"only text");
    EXPECT_FALSE(Clipboard().HasFormat(own));
    EXPECT_FALSE(Clipboard().HasFormat(html));
    Clipboard().Clear();
    EXPECT_FALSE(Clipboard().HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard().AsText(), u"");
}

TEST(ClipboardTest, HtmlBlockWithBadOffsetsGoesWhole)
{
    const UINT html = RegisterClipboardFormat(u"HTML Format");
    const std::string block = "Version:0.9\r\nStartFragment:0000000010\r\nEndFragment:0000099999\r\n<b>x</b>";
    Clipboard().SetAsHandle(html, block);
    EXPECT_EQ(Mime("text/html"), block);
}

TEST(ClipboardTest, HeldClipboardRaisesAndChangesNothing)
{
    Clipboard().SetAsText(u"before");
    HoldClipboard(true);
    EXPECT_TRUE(testsupport::ThrowsWith<EClipboardException>([&] { Clipboard().SetAsText(u"after"); },
                                                             u"Cannot open clipboard"));
    try {
        Clipboard().Open();
        ADD_FAILURE() << "Open succeeded";
    } catch (const EClipboardException& e) {
        EXPECT_EQ(e.Message(), u"Cannot open clipboard");
    }
    HoldClipboard(false);
    EXPECT_EQ(Clipboard().AsText(), u"before");
    // Nested opens: only the outermost Close publishes.
    Clipboard().Open();
    Clipboard().Open();
    Clipboard().SetAsText(u"nested");
    Clipboard().Close();
    EXPECT_EQ(Mime("text/plain"), "before");
    Clipboard().Close();
    EXPECT_EQ(Mime("text/plain"), "nested");
}

} // namespace
} // namespace plat
