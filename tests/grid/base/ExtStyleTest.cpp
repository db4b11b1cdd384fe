#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <thread>

#include "ExtDraw.h"
#include "ATXPVS.h"
#include "ExtStyleIF.h"
#include "ExtXPVS.h"
#include "TestSupport.h"

using namespace grid;

namespace {

// Containers pass the record through untyped calls; its size and order must not move.
TEST(ExtStyleTones, RecordLayoutIsFiveTonesOfThreeColours)
{
    static_assert(sizeof(TColorTones) == 60);
    static_assert(offsetof(TColorTones, Background) == 0);
    static_assert(offsetof(TColorTones, Foreground) == 12);
    static_assert(offsetof(TColorTones, Selected) == 24);
    static_assert(offsetof(TColorTones, Hover) == 36);
    static_assert(offsetof(TColorTones, Disabled) == 48);
    static_assert(offsetof(TColorTone, BorderColor) == 4);
    static_assert(offsetof(TColorTone, TextColor) == 8);
    TColorTones t;
    EXPECT_EQ(t.Hover.TextColor, plat::clNone);
}

// Styles and themes are stored and passed by ordinal.
TEST(ExtStyleTones, OrdinalsKeepTheirOrder)
{
    struct Case { int Value, Ordinal; };
    const Case cases[] = {
        {tsOffice2003Blue, 0}, {tsOffice2003Classic, 3}, {tsOffice2007Obsidian, 5}, {tsCustom, 8},
        {tsOffice2007Silver, 9}, {tsTerminal, 12}, {tsOffice2010Black, 15},
        {ot2003Blue, 0}, {ot2003Classic, 3}, {ot2007Blue, 4}, {ot2010Black, 9}, {otUnknown, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(c.Value, c.Ordinal);
}

struct StyleSink : IExtStyle, IExtTones {
    TExtStyle Style = tsCustom;
    TColorTones Tones;
    void SetComponentStyle(TExtStyle AStyle) override { Style = AStyle; }
    void SetColorTones(const TColorTones& ATones) override { Tones = ATones; }
};

TEST(ExtStyleTones, InterfacesDeliverStyleAndTones)
{
    StyleSink sink;
    IExtStyle& s = sink;
    IExtTones& t = sink;
    s.SetComponentStyle(tsOffice2010Silver);
    TColorTones tones;
    tones.Selected = {0x112233, 0x445566, 0x778899};
    t.SetColorTones(tones);
    EXPECT_EQ(sink.Style, tsOffice2010Silver);
    EXPECT_EQ(sink.Tones.Selected.BorderColor, 0x445566);
    EXPECT_EQ(sink.Tones.Background.BrushColor, plat::clNone);
}

TEST(ExtStyleThemes, OfficeThemeFromStoredValues)
{
    struct Case { int Theme14, Theme12, XP; TOfficeTheme Want; };
    const Case cases[] = {
        {2, -1, 0, ot2010Silver},
        {7, 1, 1, ot2003Blue},        // 14.0 present: 12.0 is not consulted
        {0, 3, 0, ot2003Blue},        // a present value outside 1..3
        {1, -1, 0, ot2010Blue},
        {3, -1, 0, ot2010Black},
        {-1, 1, 0, ot2007Blue},
        {-1, 2, 0, ot2007Silver},
        {-1, 3, 3, ot2007Black},
        {-1, 9, 0, ot2003Blue},
        {-1, -1, 0, ot2003Classic},
        {-1, -1, 1, ot2003Blue},
        {-1, -1, 2, ot2003Olive},
        {-1, -1, 3, ot2003Silver},
        {-1, -1, 4, ot2003Classic},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OfficeThemeFromValues(c.Theme14, c.Theme12, c.XP), c.Want)
            << c.Theme14 << " " << c.Theme12 << " " << c.XP;
}

TEST(ExtStyleThemes, XPSchemeFromColourName)
{
    struct Case { const char16_t* Name; int Want; };
    const Case cases[] = {
        {u"NormalColor", 1}, {u"xNormalColorx", 1}, {u"HomeStead", 2}, {u"Metallic", 3},
        {u"normalcolor", 0}, {u"", 0}, {u"Royale", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(XPColorSchemeFromName(c.Name), c.Want);
}

TEST(ExtStyleThemes, ThisPlatformReportsNoTheme)
{
    EXPECT_EQ(XPColorSchemeName(), 0);
    EXPECT_EQ(OfficeVersionPresent(), 0);
    EXPECT_EQ(OfficeThemeFromRegistry(), ot2003Classic);
    EXPECT_FALSE(IsWindowsXPOrLater());
    EXPECT_EQ(GetDefaultUIFontName(), u"Tahoma");
    for (bool loaded : {ExtXPVS::ThemeLibraryLoaded(), ATXPVS::ThemeLibraryLoaded()}) EXPECT_FALSE(loaded);
    EXPECT_FALSE(ExtXPVS::IsThemeActive() || ATXPVS::IsThemeActive());
    EXPECT_FALSE(ExtXPVS::IsAppThemed() || ATXPVS::IsAppThemed());
    EXPECT_EQ(ExtXPVS::OpenThemeData(1, u"combobox"), 0u);
    EXPECT_EQ(ATXPVS::OpenThemeData(1, u"spin"), 0u);
}

TEST(ExtStyleNotifier, WithoutOfficeNoThreadAndRegistrationIsIgnored)
{
    plat::TComponent owner(nullptr);
    TThemeNotifier* n = GetThemeNotifier(&owner);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);  // one per process
    EXPECT_EQ(n->RegMonitorThread(), nullptr);
    n->RegisterWindow(42);
    n->UnRegisterWindow(42);
    owner.DestroyComponents();
    // Freed with its owner: the next request makes a fresh one.
    plat::TComponent owner2(nullptr);
    TThemeNotifier* m = GetThemeNotifier(&owner2);
    EXPECT_EQ(m->Owner(), &owner2);
    owner2.DestroyComponents();
}

TEST(ExtStyleNotifier, HandleListOperations)
{
    THandleList l;
    l.Add(5);
    l.Add(7);
    l.Add(5);
    l.Insert(0, 9);
    EXPECT_EQ(l.Snapshot(), (std::vector<plat::HWND>{9, 5, 7, 5}));
    l.DeleteValue(5);  // first equal item only
    EXPECT_EQ(l.Snapshot(), (std::vector<plat::HWND>{9, 7, 5}));
    l.SetInteger(1, 8);
    EXPECT_EQ(l.GetInteger(1), 8u);
    EXPECT_FALSE(l.AddUnique(8));
    EXPECT_TRUE(l.AddUnique(3));
    l.Delete(0);
    EXPECT_EQ(l.Snapshot(), (std::vector<plat::HWND>{8, 5, 3}));
    l.DeleteValue(99);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { l.Delete(3); }, u"List index out of bounds (3)"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { l.GetInteger(-1); }, u"List index out of bounds (-1)"));
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EListError>([&] { l.Insert(5, 1); }, u"List index out of bounds (5)"));
}

TEST(ExtStyleNotifier, MonitorRecipientsAndFilter)
{
    TRegMonitorThread t;
    EXPECT_EQ(t.EffectiveFilter(), 15u);
    t.Filter = 4;
    EXPECT_EQ(t.EffectiveFilter(), 4u);
    t.WinList().AddUnique(11);
    t.WinList().AddUnique(11);
    t.WinList().AddUnique(12);
    EXPECT_EQ(t.Recipients(), (std::vector<plat::HWND>{11, 12}));
    t.Wnd = 10;
    EXPECT_EQ(t.Recipients(), (std::vector<plat::HWND>{10, 11, 12}));
}

// One thread registers and unregisters while another keeps taking the delivery list, as the
// monitor thread does; every list it sees must be whole and free of duplicates.
TEST(ExtStyleNotifier, RegistrationWhileMonitorReads)
{
    TRegMonitorThread t;
    t.WinList().AddUnique(1);
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!done.load()) {
            auto r = t.Recipients();
            if (r.empty() || r.front() != 1) ++bad;
            for (std::size_t i = 0; i < r.size(); ++i)
                for (std::size_t j = i + 1; j < r.size(); ++j)
                    if (r[i] == r[j]) ++bad;
        }
    });
    std::thread other([&] {
        for (int i = 0; i < 20000; ++i) t.WinList().AddUnique(static_cast<plat::HWND>(100 + i % 7));
    });
    for (int i = 0; i < 20000; ++i) {
        const plat::HWND h = static_cast<plat::HWND>(100 + i % 7);
        t.WinList().AddUnique(h);
        t.WinList().DeleteValue(h);
    }
    other.join();
    done = true;
    reader.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(t.WinList().GetInteger(0), 1u);
}

}  // namespace
