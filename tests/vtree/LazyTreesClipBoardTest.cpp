#include <thread>

#include <gtest/gtest.h>

#include "LazyTrees.ClipBoard.h"
#include "plat/Controls.h"
#include "plat/Exception.h"

using namespace vtree;
using plat::String;

namespace {

// A small tree hierarchy standing in for the real tree classes.
const TLazyTreeClassInfo BaseTree{u"TBaseLazyTree", nullptr};
const TLazyTreeClassInfo StringTree{u"TCustomLazyStringTree", &BaseTree};
const TLazyTreeClassInfo MyStringTree{u"TLazyStringTree", &StringTree};
const TLazyTreeClassInfo DrawTree{u"TLazyDrawTree", &BaseTree};

// The registrations a running program makes, in an order unlike their priorities.
class ClipboardRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        TClipboardFormatList::Clear();
        RegisterPredefinedClipboardFormat(1, &StringTree, 100);
        treeData = RegisterNamedClipboardFormat(u"Lazy Tree Data", &BaseTree, 50);
        RegisterNamedClipboardFormat(u"CSV", &StringTree, 90);
        html = RegisterNamedClipboardFormat(u"HTML Format", &StringTree, 80);
        RegisterPredefinedClipboardFormat(13, &StringTree, 95);
        RegisterNamedClipboardFormat(u"Rich Text Format", &StringTree, 85);
        RegisterNamedClipboardFormat(u"Rich Text Format Without Objects", &StringTree, 84);
    }
    void TearDown() override { TClipboardFormatList::Clear(); }

    std::uint16_t treeData = 0;
    std::uint16_t html = 0;
};

std::vector<std::uint32_t> Priorities()
{
    std::vector<std::uint32_t> out;
    for (const auto& e : TClipboardFormatList::Entries())
        out.push_back(e.Priority);
    return out;
}

} // namespace

TEST_F(ClipboardRegistry, RegisteredNamesGetStableIdsFromTheRegisteredRange)
{
    EXPECT_GE(treeData, 0xC000);
    EXPECT_GE(html, 0xC000);
    EXPECT_NE(treeData, html);
    // The platform hands out the same id for the same name, so a second tree class
    // registering a name shares its id.
    EXPECT_EQ(RegisterNamedClipboardFormat(u"HTML Format", &BaseTree, 200), html);
    EXPECT_EQ(plat::RegisterClipboardFormat(u"HTML Format"), html);
}

TEST_F(ClipboardRegistry, KeepsEntriesInPriorityOrderWithTheirDescriptors)
{
    EXPECT_EQ(Priorities(), (std::vector<std::uint32_t>{50, 80, 84, 85, 90, 95, 100}));
    const auto entries = TClipboardFormatList::Entries();
    const String names[] = {u"Lazy Tree Data", u"HTML Format", u"Rich Text Format Without Objects",
                            u"Rich Text Format", u"CSV", u"Unicode text", u"Plain text"};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Description, names[i]);
        EXPECT_EQ(entries[i].FormatEtc.ptd, nullptr);
        EXPECT_EQ(entries[i].FormatEtc.dwAspect, 1u);
        EXPECT_EQ(entries[i].FormatEtc.lindex, -1);
        EXPECT_EQ(entries[i].FormatEtc.tymed, 1u);
    }
    EXPECT_EQ(entries[5].FormatEtc.cfFormat, 13);
    EXPECT_EQ(entries[6].FormatEtc.cfFormat, 1);
    // Unsigned ranking: the largest priority goes last, not first.
    RegisterNamedClipboardFormat(u"Last", &BaseTree, 0xFFFFFFFFu);
    RegisterNamedClipboardFormat(u"First", &BaseTree, 0);
    EXPECT_EQ(TClipboardFormatList::Entries().front().Description, u"First");
    EXPECT_EQ(TClipboardFormatList::Entries().back().Description, u"Last");
}

TEST_F(ClipboardRegistry, EqualPrioritiesBothStay)
{
    RegisterNamedClipboardFormat(u"Twin A", &BaseTree, 60);
    RegisterNamedClipboardFormat(u"Twin B", &BaseTree, 60);
    const auto entries = TClipboardFormatList::Entries();
    ASSERT_EQ(entries.size(), 9u);
    String pair = entries[1].Description + u"|" + entries[2].Description;
    EXPECT_TRUE(pair == u"Twin A|Twin B" || pair == u"Twin B|Twin A");
}

TEST(ClipboardPredefined, BuiltInNamesAndUnknownIds)
{
    TClipboardFormatList::Clear();
    struct Case {
        std::uint16_t id;
        const char16_t* name;
    };
    const Case cases[] = {{1, u"Plain text"},         {2, u"Windows bitmap"},   {7, u"OEM text"},
                          {8, u"DIB image"},          {13, u"Unicode text"},    {15, u"File name(s)"},
                          {16, u"Locale descriptor"}, {17, u"DIB image V5"}};
    for (const Case& c : cases) {
        TClipboardFormatList::Clear();
        RegisterPredefinedClipboardFormat(c.id, &BaseTree, 10);
        String name;
        EXPECT_EQ(TClipboardFormatList::FindFormat(c.id, name), &BaseTree) << c.id;
        EXPECT_EQ(name, c.name);
    }
    // Id 0 is no format: nothing is added.
    TClipboardFormatList::Clear();
    RegisterPredefinedClipboardFormat(0, &BaseTree, 10);
    EXPECT_EQ(TClipboardFormatList::Count(), 0);
    // A registered id added as predefined takes its registered name.
    const std::uint16_t id = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(u"Lazy Tree Reference"));
    RegisterNamedClipboardFormat(u"Lazy Tree Reference", &BaseTree, 5);
    TClipboardFormatList::Clear();
    RegisterPredefinedClipboardFormat(id, &DrawTree, 7);
    String name;
    EXPECT_EQ(TClipboardFormatList::FindFormat(id, name), &DrawTree);
    EXPECT_EQ(name, u"Lazy Tree Reference");
    TClipboardFormatList::Clear();
}

TEST_F(ClipboardRegistry, LookupsByNameAndById)
{
    std::uint16_t id = 0;
    EXPECT_EQ(TClipboardFormatList::FindFormat(u"html format", id), &StringTree);
    EXPECT_EQ(id, html);

    std::uint16_t untouched = 1234;
    EXPECT_EQ(TClipboardFormatList::FindFormat(u"No Such Format", untouched), nullptr);
    EXPECT_EQ(untouched, 1234);

    String name = u"keep";
    EXPECT_EQ(TClipboardFormatList::FindFormat(treeData, name), &BaseTree);
    EXPECT_EQ(name, u"Lazy Tree Data");
    name = u"keep";
    EXPECT_EQ(TClipboardFormatList::FindFormat(std::uint16_t{0x7777}, name), nullptr);
    EXPECT_EQ(name, u"keep");

    TClipboardFormatListEntry entry;
    ASSERT_TRUE(TClipboardFormatList::FindFormat(u"CSV", entry));
    EXPECT_EQ(entry.Priority, 90u);
    EXPECT_FALSE(TClipboardFormatList::FindFormat(u"CSV2", entry));

    // The search runs from the end: the later-ranked entry of a name registered twice wins.
    RegisterNamedClipboardFormat(u"CSV", &DrawTree, 300);
    EXPECT_EQ(TClipboardFormatList::FindFormat(u"csv", id), &DrawTree);
}

TEST_F(ClipboardRegistry, EnumerationFollowsClassAncestryAndAllowedNames)
{
    plat::TStringList all;
    for (const char16_t* n : {u"Lazy Tree Data", u"HTML Format", u"Rich Text Format Without Objects",
                              u"Rich Text Format", u"CSV", u"Unicode text", u"Plain text"})
        all.Add(n);

    struct Case {
        const char* name;
        TLazyTreeClass cls;
        const plat::TStrings* allowed;
        std::vector<std::uint16_t> ids;
    };
    plat::TStringList none;
    plat::TStringList some;
    some.Add(u"plain TEXT");
    some.Add(u"Lazy Tree Data");
    const std::uint16_t csv = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(u"CSV"));
    const std::uint16_t rtfNo = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(u"Rich Text Format Without Objects"));
    const std::uint16_t rtf = static_cast<std::uint16_t>(plat::RegisterClipboardFormat(u"Rich Text Format"));
    const Case cases[] = {
        {"string tree, all allowed", &StringTree, &all, {treeData, html, rtfNo, rtf, csv, 13, 1}},
        {"derived string tree, no filter", &MyStringTree, nullptr, {treeData, html, rtfNo, rtf, csv, 13, 1}},
        {"other tree sees only base formats", &DrawTree, &all, {treeData}},
        {"empty allowed list offers nothing", &StringTree, &none, {}},
        {"names matched case-insensitively", &StringTree, &some, {treeData, 1}},
    };
    for (const Case& c : cases) {
        std::vector<TFormatEtc> formats(3);  // stale content must not survive
        TClipboardFormatList::EnumerateFormats(c.cls, formats, c.allowed);
        std::vector<std::uint16_t> ids;
        for (const auto& f : formats)
            ids.push_back(f.cfFormat);
        EXPECT_EQ(ids, c.ids) << c.name;
    }

    plat::TStringList names;
    TClipboardFormatList::EnumerateFormats(&DrawTree, &names);
    ASSERT_EQ(names.Count(), 1);
    EXPECT_EQ(names.Strings(0), u"Lazy Tree Data");
}

TEST_F(ClipboardRegistry, TreeListAcceptsOnlyFormatsItsClassRenders)
{
    TClipboardFormats stringList(nullptr, &MyStringTree);
    TClipboardFormats drawList(nullptr, &DrawTree);
    EXPECT_EQ(stringList.Count(), 0);

    struct Case {
        const char* name;
        TClipboardFormats* list;
        String format;
        bool accepted;
    };
    const Case cases[] = {
        {"base format on a draw tree", &drawList, u"Lazy Tree Data", true},
        {"string format on a draw tree", &drawList, u"HTML Format", false},
        {"unregistered name", &drawList, u"Whatever", false},
        {"string format on a string tree", &stringList, u"HTML Format", true},
        {"lower-case spelling", &stringList, u"csv", true},
        {"base format on a string tree", &stringList, u"Lazy Tree Data", true},
    };
    for (const Case& c : cases) {
        const int before = c.list->Count();
        const int index = c.list->Add(c.format);
        if (c.accepted) {
            EXPECT_GE(index, 0) << c.name;
            EXPECT_EQ(c.list->Count(), before + 1) << c.name;
        } else {
            EXPECT_EQ(index, -1) << c.name;
            EXPECT_EQ(c.list->Count(), before) << c.name;
        }
    }
    // A second Add keeps one copy and answers its index.
    const int first = stringList.IndexOf(u"HTML Format");
    EXPECT_EQ(stringList.Add(u"HTML FORMAT"), first);
    EXPECT_EQ(stringList.Count(), 3);
    // Sorted order.
    EXPECT_EQ(stringList.Strings(0), u"csv");
    EXPECT_EQ(stringList.Strings(1), u"HTML Format");
}

TEST_F(ClipboardRegistry, InsertOnTheTreeListIsRefusedOrIgnored)
{
    TClipboardFormats list(nullptr, &DrawTree);
    EXPECT_NO_THROW(list.Insert(0, u"HTML Format"));
    EXPECT_EQ(list.Count(), 0);
    try {
        list.Insert(0, u"Lazy Tree Data");
        ADD_FAILURE() << "sorted list took a positional insert";
    } catch (const plat::EListError& e) {
        EXPECT_EQ(e.Message(), u"Operation not allowed on sorted list");
    }
}

TEST_F(ClipboardRegistry, AssigningDropsNamesTheTreeCannotRender)
{
    TClipboardFormats list(nullptr, &DrawTree);
    list.Add(u"Lazy Tree Data");
    plat::TStringList source;
    source.Add(u"HTML Format");
    source.Add(u"Lazy Tree Data");
    source.Add(u"Bogus");
    list.AssignFormats(&source);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Strings(0), u"Lazy Tree Data");
    // Assigning the list to itself keeps it.
    list.AssignFormats(&list);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ClipboardRegistryThreads, ConcurrentRegistrationsAllLandInOrder)
{
    TClipboardFormatList::Clear();
    auto work = [](int offset) {
        for (int i = 0; i < 200; ++i) {
            TFormatEtc f;
            f.cfFormat = static_cast<std::uint16_t>(i);
            TClipboardFormatList::Add(u"F", &BaseTree, static_cast<std::uint32_t>(offset + i * 7 % 101), f);
            std::uint16_t id = 0;
            TClipboardFormatList::FindFormat(u"F", id);
        }
    };
    std::thread a(work, 0), b(work, 1000);
    a.join();
    b.join();
    const auto entries = TClipboardFormatList::Entries();
    ASSERT_EQ(entries.size(), 400u);
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_LE(entries[i - 1].Priority, entries[i].Priority);
    TClipboardFormatList::Clear();
}
