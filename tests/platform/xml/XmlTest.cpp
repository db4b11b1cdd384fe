#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "../rtl/TestUtil.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

namespace plat {
namespace {

using test::TempDir;
using test::ThrowsWith;
using test::U8;

bool HaveXmllint() { return std::system("command -v xmllint >/dev/null 2>&1") == 0; }

// The shape of the settings files: root, a comment after it, children with text and rows of
// attributes.
TEST(XmlDocument, BuildSaveReload)
{
    TempDir dir;
    const String file = dir / u"ParGen.xml";
    TXMLDocument xml;
    xml.SetActive(true);
    xml.Clear();
    IXMLNode root = xml.AddChild(u"Par_Gen");
    xml.AddComment(u"SW_VERSION = 1.114");
    root.AddChild(u"Working_Mode").SetText(u"1");
    root.AddChild(u"Empty");
    IXMLNode row = root.AddChild(u"row");
    row.SetAttributes(u"Topic", u"a/b");
    row.SetAttributes(u"Enable", u"Y");
    row.SetAttributes(u"Topic", u"c/d");  // overwrite keeps the position
    xml.SaveToFile(file);

    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes.rfind("<Par_Gen>", 0), 0u) << "no declaration, root first:\n" << bytes;
    EXPECT_NE(bytes.find("</Par_Gen>\n<!--SW_VERSION = 1.114-->"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("<row Topic=\"c/d\" Enable=\"Y\""), std::string::npos) << bytes;

    TXMLDocument back;
    back.LoadFromFile(file);
    EXPECT_TRUE(back.Active());
    IXMLNode r = back.DocumentElement();
    EXPECT_EQ(r.NodeName(), u"Par_Gen");
    EXPECT_EQ(back.ChildNodes().Count(), 1) << "the comment of a loaded file is not kept";
    ASSERT_EQ(r.ChildNodes().Count(), 3);
    EXPECT_EQ(r.ChildNodes()[u"Working_Mode"].Text(), u"1");
    EXPECT_EQ(r.ChildNodes()[0].NodeValue().AsInteger(), 1);
    EXPECT_EQ(r.ChildNodes()[1].Text(), u"");
    EXPECT_TRUE(r.ChildNodes()[1].NodeValue().IsNull());
    IXMLNode rr = r.ChildNodes()[2];
    ASSERT_EQ(rr.AttributeCount(), 2);
    EXPECT_EQ(rr.AttributeName(0), u"Topic");
    EXPECT_EQ(rr.AttributeName(1), u"Enable");
    EXPECT_EQ(String(rr.Attributes(u"Topic")), u"c/d");
}

TEST(XmlDocument, RequiredAndGuardedReads)
{
    TXMLDocument xml;
    xml.LoadFromXML(u"<MQTT_Set_Topic><MQTT_Publish><row Topic=\"t\" Dimension=\"x\"/></MQTT_Publish>"
                    u"</MQTT_Set_Topic>");
    IXMLNode row = xml.DocumentElement().ChildNodes().FindNode(u"MQTT_Publish").ChildNodes()[0];
    // Required: a missing attribute read as text is the conversion error.
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { String s = row.Attributes(u"Slave_ID"); },
                                          u"Could not convert variant of type (Null) into type (String)"));
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { row.Attributes(u"Slave_ID").AsInteger(); },
                                          u"Could not convert variant of type (Null) into type (String)"));
    // A present but non-numeric value read as a number: the integer conversion error.
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { row.Attributes(u"Dimension").AsInteger(); },
                                          u"'x' is not a valid integer value"));
    // Guarded: the caller's default.
    EXPECT_EQ(row.Attributes(u"Template").AsStringDef(u"N"), u"N");
    EXPECT_EQ(row.Attributes(u"Topic").AsStringDef(u"N"), u"t");
    EXPECT_EQ(row.Attributes(u"Dimension").AsIntegerDef(4), 4);
    EXPECT_FALSE(row.HasAttribute(u"Template"));
    // Missing elements: FindNode gives a null node, the indexed-by-name form raises.
    IXMLNode root = xml.DocumentElement();
    EXPECT_TRUE(root.ChildNodes().FindNode(u"MQTT_Options").IsNull());
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { root.ChildNodes()[u"MQTT_Options"]; },
                                         u"Node \"MQTT_Options\" not found"));
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { root.ChildNodes().FindNode(u"MQTT_Options").Text(); }, u"Invalid node"));
    EXPECT_TRUE(root.ChildValues(u"MQTT_Options").IsNull());
    EXPECT_TRUE(ThrowsWith<EListError>([&] { root.ChildNodes()[5]; }, u"List index out of bounds (5)"));
    // Text of an element that holds elements is an error, not "".
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { root.Text(); },
                                         u"Element \"MQTT_Set_Topic\" does not contain a single text node"));
}

TEST(XmlDocument, FirstElementIsTheRootWhateverPrecedesIt)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"plain", "<Conf_Settings><lastproj/></Conf_Settings>"},
        {"declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Conf_Settings><lastproj/></Conf_Settings>"},
        {"comment", "<!-- written by another tool -->\n<Conf_Settings><lastproj/></Conf_Settings>"},
        {"declaration, doctype, pi and comment",
         "<?xml version=\"1.0\"?><!DOCTYPE Conf_Settings><?app x?><!--c--><Conf_Settings><lastproj/></Conf_Settings>"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF<Conf_Settings><lastproj/></Conf_Settings>"},
        {"UTF-16LE with mark", std::string("\xFF\xFE<\0C\0o\0n\0f\0_\0S\0e\0t\0t\0i\0n\0g\0s\0/\0>\0", 34)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TXMLDocument xml;
        xml.LoadFromBytes(c.bytes);
        EXPECT_EQ(xml.DocumentElement().NodeName(), u"Conf_Settings");
        EXPECT_EQ(xml.ChildNodes()[0].NodeName(), u"Conf_Settings");
        EXPECT_EQ(xml.ChildNodes().First(), xml.DocumentElement());
    }
}

TEST(XmlDocument, DeclaredSingleByteEncodings)
{
    struct Case {
        std::string bytes;
        String value;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a v=\"caf\xE8\"/>", u"caf\u00E8"},
        {"<?xml version=\"1.0\" encoding='Windows-1252'?><a v=\"\x80 caf\xE8\"/>", u"\u20AC caf\u00E8"},
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a v=\"caf\xC3\xA8\"/>", u"caf\u00E8"},
    };
    TempDir dir;
    const String file = dir / u"declared.xml";
    for (const auto& c : cases) {
        TXMLDocument xml;
        xml.LoadFromBytes(c.bytes);
        EXPECT_EQ(String(xml.DocumentElement().Attributes(u"v")), c.value) << c.bytes;
        ASSERT_TRUE(WriteFileAtomic(file, c.bytes));
        TXMLDocument fromFile;
        fromFile.LoadFromFile(file);
        EXPECT_EQ(String(fromFile.DocumentElement().Attributes(u"v")), c.value) << c.bytes;
    }
}

// Documents of many node pages, alive side by side and freed out of order, keep every value:
// their pages come from shared chunks that are handed out again as documents go.
TEST(XmlDocument, LargeDocumentsSideBySideKeepTheirValues)
{
    TempDir dir;
    auto build = [](int tag, int rows) {
        auto xml = std::make_unique<TXMLDocument>();
        IXMLNode root = xml->AddChild(u"t");
        for (int i = 0; i < rows; ++i) {
            IXMLNode row = root.AddChild(u"r");
            row.SetAttributes(u"tag", IntToStr(tag));
            row.SetAttributes(u"i", IntToStr(i));
        }
        return xml;
    };
    auto check = [](const TXMLDocument& xml, int tag, int rows) {
        const IXMLNodeList list = xml.DocumentElement().ChildNodes();
        ASSERT_EQ(list.Count(), rows);
        for (int i = 0; i < rows; i += 997) {
            EXPECT_EQ(list[i].Attributes(u"tag").AsInteger(), tag);
            EXPECT_EQ(list[i].Attributes(u"i").AsInteger(), i);
        }
    };
    constexpr int kRows = 60000;  // some 10 MiB of nodes and attributes each
    auto a = build(1, kRows);
    auto b = build(2, kRows);
    a->SaveToFile(dir / u"a.xml");
    a.reset();
    auto c = build(3, kRows / 3);
    TXMLDocument loaded;
    loaded.LoadFromFile(dir / u"a.xml");
    b.reset();
    auto d = build(4, kRows);
    check(*c, 3, kRows / 3);
    check(loaded, 1, kRows);
    check(*d, 4, kRows);
}

TEST(XmlDocument, ValuesSurviveSaveAndLoad)
{
    TempDir dir;
    const String values[] = {
        u"line1\r\nline2",
        u"lf\nonly",
        u"lone\rcr",
        u"tab\there",
        u"\"quoted\" & 'apostrophe' <tag> >",
        u"caf\u00E8 \u20AC \u4E2D \U0001F600",
        u"  leading and trailing  ",
        u"   ",
        u"",
    };
    TXMLDocument xml;
    IXMLNode root = xml.AddChild(u"root");
    int i = 0;
    for (const String& v : values) {
        IXMLNode e = root.AddChild(u"e" + IntToStr(i++));
        e.SetAttributes(u"v", v);
        e.SetText(v);
    }
    const String file = dir / u"values.xml";
    xml.SaveToFile(file);
    TXMLDocument back;
    back.LoadFromFile(file);
    IXMLNode r = back.DocumentElement();
    ASSERT_EQ(r.ChildNodes().Count(), static_cast<int>(std::size(values)));
    for (int k = 0; k < r.ChildNodes().Count(); ++k) {
        SCOPED_TRACE(U8(values[k]));
        EXPECT_EQ(String(r.ChildNodes()[k].Attributes(u"v")), values[k]);
        EXPECT_EQ(r.ChildNodes()[k].Text(), values[k]);
    }
    if (HaveXmllint()) {
        const std::string cmd = "xmllint --noout '" + U8(file) + "' 2>/dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << "xmllint rejects the saved file";
    }
}

TEST(XmlDocument, ParseErrorsRaiseAndLeaveAnEmptyDocument)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char16_t* error;
    };
    const Case cases[] = {
        {"unclosed", "<a><b></a>", u"Start-end tags mismatch (at byte 8)"},
        {"empty file", "", u"No document element found (at byte 0)"},
        {"only a comment", "<!-- nothing -->", u"No document element found (at byte 15)"},
        {"two roots", "<a/><b/>", u"Only one top level element is allowed in an XML document"},
        {"garbage", "not xml", u"No document element found (at byte 6)"},
        {"bare & in text", "<a>\n x & y</a>", u"Unescaped \"&\" or undeclared entity (at byte 7)"},
        {"bare & in an attribute", "<a v='1&2'/>", u"Unescaped \"&\" or undeclared entity (at byte 7)"},
        {"reference without ;", "<a>&amp</a>", u"Unescaped \"&\" or undeclared entity (at byte 3)"},
        {"undeclared entity", "<a>&nbsp;</a>", u"Unescaped \"&\" or undeclared entity (at byte 3)"},
        {"character reference without digits", "<a>&#;&#x;</a>", u"Unescaped \"&\" or undeclared entity (at byte 3)"},
        {"upper-case X", "<a>&#X26;</a>", u"Unescaped \"&\" or undeclared entity (at byte 3)"},
        {"UTF-16LE", std::string("\xFF\xFE<\0a\0>\0&\0<\0/\0a\0>\0", 18),
         u"Unescaped \"&\" or undeclared entity (at byte 8)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TXMLDocument xml;
        xml.LoadFromXML(u"<old/>");
        EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { xml.LoadFromBytes(c.bytes); }, c.error));
        EXPECT_TRUE(xml.DocumentElement().IsNull());
    }
    // A file refused before parsing (missing, a folder) empties the document as well.
    TempDir dir;
    const struct {
        String file;
        String error;
    } refused[] = {
        {dir / u"none.xml", u"Cannot open file \"" + (dir / u"none.xml") + u"\""},
        {dir.path(), u"Cannot open file \"" + dir.path() + u"\": not a regular file"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(StringToUtf8(r.file));
        TXMLDocument xml;
        xml.LoadFromXML(u"<old/>");
        EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { xml.LoadFromFile(r.file); }, r.error));
        EXPECT_TRUE(xml.DocumentElement().IsNull());
    }
}

// An "&" is text only where markup is not parsed; references of every form load.
TEST(XmlDocument, AmpersandsThatAreNotErrors)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char16_t* text;
    };
    const Case cases[] = {
        {"references", "<a v='&quot;'>&amp;&lt;&gt;&apos;&#38;&#x26;</a>", u"&<>'&&"},
        {"comment", "<a><!-- a & b -->x</a>", u"x"},
        {"CDATA", "<a><![CDATA[a & b]]></a>", u"a & b"},
        {"processing instruction", "<?app a & b?><a>x</a>", u"x"},
        {"declared entity", "<!DOCTYPE a [<!ENTITY e \"&#38;#38;\">]><a>&e;</a>", nullptr},
        {"quoted > in an attribute", "<a v='>&amp;'>x</a>", u"x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TXMLDocument xml;
        ASSERT_NO_THROW(xml.LoadFromBytes(c.bytes));
        if (c.text)
            EXPECT_EQ(xml.DocumentElement().Text(), c.text);
    }
}

TEST(XmlDocument, SaveFailureRaisesAndKeepsTheOldFile)
{
    TempDir dir;
    const String file = dir / u"MQTT_Set_Topic.xml";
    ASSERT_TRUE(WriteFileAtomic(file, "<old/>"));
    ASSERT_TRUE(CreateDir(dir / u"adir"));
    TXMLDocument xml;
    xml.AddChild(u"new");
    // The parent is a file.
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { xml.SaveToFile(file + u"/sub.xml"); },
                                         u"Cannot save file \"" + file + u"/sub.xml\""));
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { xml.SaveToFile(dir / u"adir"); },
                                         u"Cannot save file \"" + (dir / u"adir") + u"\""));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "<old/>");
}

TEST(XmlDocument, ClearAndSecondRoot)
{
    TXMLDocument xml;
    xml.LoadFromXML(u"<a><b>1</b></a>");
    xml.Clear();
    EXPECT_TRUE(xml.DocumentElement().IsNull());
    EXPECT_EQ(xml.ChildNodes().Count(), 0);
    xml.AddChild(u"Par_Gen");
    EXPECT_TRUE(ThrowsWith<EXMLDocError>([&] { xml.AddChild(u"Other"); },
                                         u"Only one top level element is allowed in an XML document"));
    xml.SetActive(false);
    EXPECT_FALSE(xml.Active());
    EXPECT_EQ(xml.ChildNodes().Count(), 0);
}

TEST(XmlDocument, IndexedWalkFollowsEdits)
{
    TXMLDocument xml;
    IXMLNode root = xml.AddChild(u"t");
    for (int i = 0; i < 5; ++i)
        root.AddChild(u"row").SetAttributes(u"n", IntToStr(i));
    IXMLNodeList rows = root.ChildNodes();
    EXPECT_EQ(String(rows[3].Attributes(u"n")), u"3");
    EXPECT_EQ(String(rows[2].Attributes(u"n")), u"2");  // walking back
    rows.Delete(0);
    EXPECT_EQ(rows.Count(), 4);
    EXPECT_EQ(String(rows[0].Attributes(u"n")), u"1");
    EXPECT_EQ(String(rows[3].Attributes(u"n")), u"4");
    EXPECT_EQ(rows.IndexOf(rows[2]), 2);
    root.AddChild(u"row");
    EXPECT_EQ(rows.Count(), 5);
    EXPECT_EQ(rows.Last().AttributeCount(), 0);
    EXPECT_EQ(rows[4].ParentNode(), root);
    EXPECT_EQ(rows[3].NextSibling(), rows[4]);
}

TEST(XmlDocument, OwnedLikeAComponent)
{
    TComponent form;
    auto* xml = new TXMLDocument(&form);
    xml->SetName(u"XML1");
    EXPECT_EQ(form.FindComponent(u"XML1"), xml);
    EXPECT_EQ(xml->ClassName(), u"TXMLDocument");
}

} // namespace
} // namespace plat

namespace plat {
namespace {

// Damaged files (truncated, bytes flipped) either load or raise EXMLDocError; nothing else.
TEST(XmlDocument, DamagedInputOnlyEverRaisesTheDocumentError)
{
    TXMLDocument good;
    IXMLNode root = good.AddChild(u"MQTT_Set_Topic");
    good.AddComment(u"SW_VERSION = 1.114");
    for (int i = 0; i < 4; ++i) {
        IXMLNode row = root.AddChild(u"row");
        row.SetAttributes(u"Topic", u"a\r\n\"&<\u00E8" + IntToStr(i));
        row.SetText(u"t");
    }
    const std::string base = good.SaveToBytes();
    std::uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = base;
        if (round % 3 == 0) {
            bytes.resize(next() % bytes.size());
        } else {
            for (int k = 0; k < 1 + round % 4; ++k)
                bytes[next() % bytes.size()] = static_cast<char>(next() & 0xFF);
        }
        TXMLDocument xml;
        try {
            xml.LoadFromBytes(bytes);
            // Whatever loaded can be walked and saved again.
            IXMLNode r = xml.DocumentElement();
            ASSERT_FALSE(r.IsNull());
            for (int i = 0; i < r.ChildNodes().Count(); ++i) {
                IXMLNode c = r.ChildNodes()[i];
                if (c.NodeType() == ntElement)
                    (void)c.Attributes(u"Topic").AsStringDef(u"");
            }
            (void)xml.SaveToBytes();
        } catch (const EXMLDocError&) {
        }
    }
}

} // namespace
} // namespace plat
