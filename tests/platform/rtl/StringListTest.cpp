#include <gtest/gtest.h>

#include "TestUtil.h"
#include "plat/Classes.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace plat {
namespace {

using test::ThrowsWith;
using test::U8;

std::vector<String> Items(const TStrings& l) { return l.ToVector(); }

TEST(StringList, UnsortedBasics)
{
    TStringList l;
    EXPECT_EQ(l.Add(u"Beta"), 0);
    EXPECT_EQ(l.Add(u"alpha"), 1);
    l.Insert(0, u"Gamma");
    EXPECT_EQ(Items(l), (std::vector<String>{u"Gamma", u"Beta", u"alpha"}));
    EXPECT_EQ(l.IndexOf(u"ALPHA"), 2);  // case-insensitive
    EXPECT_EQ(l.IndexOf(u"delta"), -1);
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(u"ALPHA"), -1);
    l.Delete(1);
    EXPECT_EQ(l.Count(), 2);
    EXPECT_EQ(l[1], u"alpha");
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, IndexErrors)
{
    TStringList l;
    l.Add(u"a");
    struct Case {
        const char* what;
        std::function<void()> call;
        int index;
    };
    const Case cases[] = {
        {"read", [&] { l.Strings(1); }, 1},
        {"read negative", [&] { l.Strings(-1); }, -1},
        {"write", [&] { l.SetStrings(3, u"x"); }, 3},
        {"objects", [&] { l.Objects(2); }, 2},
        {"delete", [&] { l.Delete(1); }, 1},
        {"insert past the end", [&] { l.Insert(2, u"x"); }, 2},
        {"exchange", [&] { l.Exchange(0, 5); }, 5},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ThrowsWith<EListError>(c.call, u"List index out of bounds (" + IntToStr(c.index) + u")"))
            << c.what;
}

TEST(StringList, SortedCaseInsensitiveWithDuplicates)
{
    struct Case {
        TDuplicates dup;
        std::vector<String> expected;
        bool raises;
    };
    const Case cases[] = {
        {dupIgnore, {u"apple", u"Banana", u"cherry"}, false},
        {dupAccept, {u"apple", u"BANANA", u"Banana", u"cherry"}, false},
        {dupError, {u"apple", u"Banana", u"cherry"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.dup));
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(c.dup);
        l.Add(u"cherry");
        l.Add(u"Banana");
        l.Add(u"apple");
        if (c.raises)
            EXPECT_TRUE(ThrowsWith<EListError>([&] { l.Add(u"BANANA"); }, u"String list does not allow duplicates"));
        else
            l.Add(u"BANANA");
        EXPECT_EQ(Items(l), c.expected);
        int at = -1;
        EXPECT_TRUE(l.Find(u"banana", at));
        EXPECT_EQ(at, 1);
        EXPECT_FALSE(l.Find(u"blueberry", at));
        EXPECT_EQ(at, c.dup == dupAccept ? 3 : 2);
        EXPECT_EQ(l.IndexOf(u"CHERRY"), static_cast<int>(c.expected.size()) - 1);
        EXPECT_TRUE(ThrowsWith<EListError>([&] { l.Insert(0, u"z"); }, u"Operation not allowed on sorted list"));
    }
}

TEST(StringList, SortOrderIsCaseInsensitiveAndUnicodeAware)
{
    TStringList l;
    l.SetCommaText(u"b,\u00C8,A,\u00E9,a,C");
    l.Sort();
    // Ties keep their order; accented letters fold to their capitals, after Z.
    EXPECT_EQ(Items(l), (std::vector<String>{u"A", u"a", u"b", u"C", u"\u00C8", u"\u00E9"}));
    l.CustomSort([](TStringList* list, int x, int y) { return CompareStr(list->At(y), list->At(x)); });
    EXPECT_EQ(l[0], u"\u00E9");
}

TEST(StringList, ObjectsFollowTheirStrings)
{
    TObject a, b;
    TStringList l;
    l.AddObject(u"z", &a);
    l.AddObject(u"y", &b);
    l.SetSorted(true);
    EXPECT_EQ(l.Objects(0), &b);
    EXPECT_EQ(l.IndexOfObject(&a), 1);
}

TEST(StringList, TextWithLineBreaks)
{
    struct Case {
        String text;
        std::vector<String> lines;
    };
    const Case cases[] = {
        {u"a\r\nb\r\n", {u"a", u"b"}},
        {u"a\nb", {u"a", u"b"}},
        {u"a\rb\r\n\r\nc", {u"a", u"b", u"", u"c"}},
        {u"", {}},
        {u"\r\n", {u""}},
        {u"x\n\r", {u"x", u""}},  // LF then a lone CR: two breaks
    };
    for (const auto& c : cases) {
        TStringList l;
        l.SetText(c.text);
        EXPECT_EQ(Items(l), c.lines) << U8(c.text);
    }
    TStringList l;
    l.Add(u"a");
    l.Add(u"");
    EXPECT_EQ(l.Text(), u"a\r\n\r\n");
}

TEST(StringList, CommaText)
{
    struct Case {
        std::vector<String> items;
        String text;
    };
    // Both ways.
    const Case cases[] = {
        {{u"a", u"b"}, u"a,b"},
        {{u"a b", u"c"}, u"\"a b\",c"},
        {{u"say \"hi\"", u"x,y"}, u"\"say \"\"hi\"\"\",\"x,y\""},
        {{u""}, u"\"\""},
        {{u"a", u"", u"b"}, u"a,,b"},
    };
    for (const auto& c : cases) {
        TStringList l;
        for (const auto& s : c.items)
            l.Add(s);
        EXPECT_EQ(l.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Items(back), c.items) << U8(c.text);
    }
    // Reading only: blanks separate unquoted items, a trailing comma adds an empty one.
    TStringList l;
    l.SetCommaText(u" a b ,c,");
    EXPECT_EQ(Items(l), (std::vector<String>{u"a", u"b", u"c", u""}));
    l.SetDelimiter(u';');
    l.SetStrictDelimiter(true);
    l.SetDelimitedText(u"a b;c");
    EXPECT_EQ(Items(l), (std::vector<String>{u"a b", u"c"}));
}

TEST(StringList, NamesAndValues)
{
    TStringList l;
    l.Add(u"Port=502");
    l.Add(u"Host=1.2.3.4");
    l.Add(u"flag");
    EXPECT_EQ(l.Values(u"host"), u"1.2.3.4");
    EXPECT_EQ(l.Names(0), u"Port");
    EXPECT_EQ(l.Names(2), u"");
    EXPECT_EQ(l.ValueFromIndex(1), u"1.2.3.4");
    l.SetValues(u"Port", u"503");
    EXPECT_EQ(l[0], u"Port=503");
    l.SetValues(u"New", u"x=y");
    EXPECT_EQ(l.Values(u"New"), u"x=y");
    l.SetValues(u"HOST", u"");  // empty value removes the pair
    EXPECT_EQ(l.IndexOfName(u"Host"), -1);
    EXPECT_EQ(l.Count(), 3);
}

TEST(StringList, ChangeEventsRespectUpdates)
{
    TStringList l;
    int changes = 0, changing = 0;
    l.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &l);
        ++changes;
    };
    l.OnChanging = [&](TObject*) { ++changing; };
    l.Add(u"a");
    l.Add(u"b");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(changing, 2);
    l.BeginUpdate();
    l.Add(u"c");
    l.Delete(0);
    l.SetText(u"x\ny");
    EXPECT_EQ(changes, 2);
    l.EndUpdate();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(changing, 3);
}

TEST(StringList, OwnedObjectsAreFreed)
{
    static int freed = 0;
    struct Counted : TObject {
        ~Counted() override { ++freed; }
    };
    freed = 0;
    {
        TStringList l;
        l.SetOwnsObjects(true);
        l.AddObject(u"a", new Counted);
        l.AddObject(u"b", new Counted);
        l.AddObject(u"c", new Counted);
        l.Delete(0);
        EXPECT_EQ(freed, 1);
    }
    EXPECT_EQ(freed, 3);
}

TEST(StringList, AssignCopiesAndRejectsOthers)
{
    TStringList a, b;
    a.SetCommaText(u"x,y");
    b.Assign(&a);
    EXPECT_EQ(Items(b), Items(a));
    TPersistent other;
    EXPECT_TRUE(ThrowsWith<EConvertError>([&] { b.Assign(&other); }, u"Cannot assign a TPersistent to a TStringList"));
}

TEST(StringList, FileRoundTripInWindows1252)
{
    test::TempDir dir;
    const String file = dir / u"list.txt";
    TStringList l;
    l.Add(u"caf\u00E8");
    l.Add(u"\u20AC 5");
    l.SaveToFile(file);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(file, bytes));
    EXPECT_EQ(bytes, "caf\xE8\r\n\x80 5\r\n");
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_EQ(Items(back), Items(l));
    EXPECT_TRUE(ThrowsWith<EFileError>([&] { back.LoadFromFile(dir / u"missing.txt"); },
                                       u"Cannot open file \"" + (dir / u"missing.txt") + u"\""));
    EXPECT_TRUE(ThrowsWith<EFileError>([&] { l.SaveToFile(dir / u"no/such/folder.txt"); },
                                       u"Cannot create file \"" + (dir / u"no/such/folder.txt") + u"\""));
}

} // namespace
} // namespace plat
