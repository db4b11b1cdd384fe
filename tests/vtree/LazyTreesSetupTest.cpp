#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "LazyTrees.Assert.h"
#include "LazyTrees.ClipBoard.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"

using namespace vtree;
using plat::String;

namespace {

struct ListCase {
    const char* Name;
    plat::TImageList* const* List;
    int Cells;
};

const ListCase ListCases[] = {
    {"CheckLightList", &CheckLightList, 25}, {"CheckDarkList", &CheckDarkList, 25},
    {"TickLightList", &TickLightList, 25},   {"TickDarkList", &TickDarkList, 25},
    {"CheckFlatList", &CheckFlatList, 25},   {"CheckXPList", &CheckXPList, 25},
    {"UtilitiesList", &UtilitiesList, 9},    {"SystemDrawnCheckList", &SystemDrawnCheckList, 25},
    {"SystemDrawnFlatCheckList", &SystemDrawnFlatCheckList, 25},
};

// What a constructor finds right after PrepareSharedResources returns to it.
struct Seen {
    std::array<const plat::TImageList*, 9> Lists{};
    std::array<int, 9> Counts{};
    std::uint16_t TreeData = 0;
    int Registered = 0;
};

Seen Observe()
{
    Seen s;
    for (std::size_t i = 0; i < std::size(ListCases); ++i) {
        s.Lists[i] = *ListCases[i].List;
        s.Counts[i] = s.Lists[i] ? s.Lists[i]->Count() : -1;
    }
    s.TreeData = TreeDataFormat;
    s.Registered = TClipboardFormatList::Count();
    return s;
}

// Declared first so it meets a process in which nothing has been set up yet.
TEST(SharedResources, TwoConcurrentConstructorsBothFindEverythingReady)
{
    ASSERT_FALSE(SharedResourcesReady());
    std::atomic<int> arrived{0};
    Seen seen[2];
    auto construct = [&](int i) {
        ++arrived;
        while (arrived.load() < 2) {
        }
        PrepareSharedResources();
        seen[i] = Observe();
    };
    std::thread a(construct, 0), b(construct, 1);
    a.join();
    b.join();

    for (const Seen& s : seen) {
        for (std::size_t i = 0; i < std::size(ListCases); ++i) {
            SCOPED_TRACE(ListCases[i].Name);
            EXPECT_NE(s.Lists[i], nullptr);
            EXPECT_EQ(s.Counts[i], ListCases[i].Cells);
        }
        EXPECT_NE(s.TreeData, 0);
        EXPECT_EQ(s.Registered, 7);
    }
    EXPECT_EQ(seen[0].Lists, seen[1].Lists);

    // Later constructors change nothing.
    const Seen before = Observe();
    PrepareSharedResources();
    const Seen after = Observe();
    EXPECT_EQ(before.Lists, after.Lists);
    EXPECT_EQ(after.Registered, 7);
}

TEST(SharedResources, ImageListsHoldSquareCellsOfSixteen)
{
    PrepareSharedResources();
    for (const ListCase& c : ListCases) {
        SCOPED_TRACE(c.Name);
        ASSERT_NE(*c.List, nullptr);
        EXPECT_EQ((*c.List)->Width(), 16);
        EXPECT_EQ((*c.List)->Height(), 16);
        EXPECT_EQ((*c.List)->Count(), c.Cells);
    }
    EXPECT_NE(SharedImageLock, nullptr);
    EXPECT_TRUE(SystemIsVistaOrLater);
    EXPECT_FALSE(OleWasInitialized);
}

// The cell drawn on a white canvas.
std::vector<plat::TColor> Drawn(const plat::TImageList* List, int Index)
{
    plat::TBitmap canvas(List->Width(), List->Height());
    canvas.Canvas()->Brush()->SetColor(plat::clWhite);
    canvas.Canvas()->FillRect(plat::TRect{0, 0, List->Width(), List->Height()});
    List->Draw(canvas.Canvas(), 0, 0, Index);
    std::vector<plat::TColor> pixels;
    for (int y = 0; y < List->Height(); ++y)
        for (int x = 0; x < List->Width(); ++x)
            pixels.push_back(canvas.Canvas()->Pixels(x, y));
    return pixels;
}

// How many pixels drawing the cell changes on a white canvas.
int PaintedPixels(const plat::TImageList* List, int Index)
{
    int n = 0;
    for (plat::TColor c : Drawn(List, Index))
        n += c != plat::clWhite;
    return n;
}

TEST(SharedResources, CellZeroIsEmptyAndTheCheckCellsAreDrawn)
{
    PrepareSharedResources();
    for (const ListCase& c : ListCases) {
        if (c.Cells != 25)
            continue;
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PaintedPixels(*c.List, 0), 0);
        // Unchecked, checked and mixed boxes and radio buttons look different.
        EXPECT_GT(PaintedPixels(*c.List, 9), 0);
        EXPECT_NE(Drawn(*c.List, 9), Drawn(*c.List, 13));
        // How the system draws a mixed box is the platform's affair.
        if (c.List != &SystemDrawnCheckList && c.List != &SystemDrawnFlatCheckList) {
            EXPECT_NE(Drawn(*c.List, 13), Drawn(*c.List, 17));
        }
        EXPECT_NE(Drawn(*c.List, 1), Drawn(*c.List, 5));
        EXPECT_GT(PaintedPixels(*c.List, 1), 0);
        // The push-button cells of the drawn lists come from the strips.
        EXPECT_GT(PaintedPixels(*c.List, 21), 0);
    }
    // The overlay arrow of the push-button cells.
    EXPECT_GT(PaintedPixels(UtilitiesList, 4), 0);
}

// The utility cells (drop marks, sort and overlay arrows) draw only their shapes: the
// strip's background is transparent, so a header or a cell shows through around them.
TEST(SharedResources, UtilityCellsDrawOnlyTheirShapes)
{
    PrepareSharedResources();
    for (int i = 0; i < UtilitiesList->Count(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<plat::TColor> pixels = Drawn(UtilitiesList, i);
        int painted = 0;
        for (plat::TColor c : pixels) {
            EXPECT_NE(c, plat::clFuchsia);
            painted += c != plat::clWhite;
        }
        EXPECT_LT(painted, 16 * 16 / 2);
    }
}

struct FormatCase {
    const char16_t* Name;
    const std::uint16_t* Id;  // nullptr: a predefined id
    std::uint16_t Predefined;
    TLazyTreeClass Class;
    std::uint32_t Priority;
};

TEST(SharedResources, FormatsAreRegisteredWithTheirClassesAndPriorities)
{
    PrepareSharedResources();
    const FormatCase cases[] = {
        {u"Lazy Tree Data", &TreeDataFormat, 0, &BaseLazyTreeClass, 50},
        {u"HTML Format", &HtmlFormat, 0, &CustomLazyStringTreeClass, 80},
        {u"Rich Text Format Without Objects", &RtfNoObjectsFormat, 0, &CustomLazyStringTreeClass, 84},
        {u"Rich Text Format", &RtfFormat, 0, &CustomLazyStringTreeClass, 85},
        {u"CSV", &CsvFormat, 0, &CustomLazyStringTreeClass, 90},
        {nullptr, nullptr, 13, &CustomLazyStringTreeClass, 95},
        {nullptr, nullptr, 1, &CustomLazyStringTreeClass, 100},
    };
    const auto entries = TClipboardFormatList::Entries();
    ASSERT_EQ(entries.size(), std::size(cases));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const FormatCase& c = cases[i];
        const auto& e = entries[i];
        SCOPED_TRACE(i);
        const std::uint16_t id = c.Id ? *c.Id : c.Predefined;
        EXPECT_GE(id, 1);
        if (c.Name) {
            EXPECT_EQ(e.Description, String(c.Name));
        }
        EXPECT_EQ(e.TreeClass, c.Class);
        EXPECT_EQ(e.Priority, c.Priority);
        EXPECT_EQ(e.FormatEtc.cfFormat, id);
        EXPECT_EQ(e.FormatEtc.ptd, nullptr);
        EXPECT_EQ(e.FormatEtc.dwAspect, DVASPECT_CONTENT);
        EXPECT_EQ(e.FormatEtc.lindex, -1);
        EXPECT_EQ(e.FormatEtc.tymed, TYMED_HGLOBAL);
    }
    // The reference format is registered but not offered through the registry.
    EXPECT_NE(TreeReferenceFormat, 0);
    String name;
    EXPECT_EQ(TClipboardFormatList::FindFormat(TreeReferenceFormat, name), nullptr);
    // A tree that is no string tree renders only the tree data.
    std::vector<TFormatEtc> formats;
    TClipboardFormatList::EnumerateFormats(&BaseLazyTreeClass, formats);
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(formats[0].cfFormat, TreeDataFormat);
}

TEST(TreeErrors, RaiseCarriesMessageAndNumber)
{
    struct Case {
        const char16_t* Message;
        const char16_t* Expected;
        int Number;
    };
    const Case cases[] = {
        {SWrongMoveError, u"Target node cannot be a child node of the node to be moved.", 2001},
        {SWrongStreamFormat, u"Unable to load tree structure, the format is wrong.", 2002},
        {SWrongStreamVersion, u"Unable to load tree structure, the version is unknown.", 2003},
        {SStreamTooSmall, u"Unable to load tree structure, not enough data available.", 2004},
        {SCorruptStream1, u"Stream data corrupt. A node's anchor chunk is missing.", 2005},
        {SCorruptStream2, u"Stream data corrupt. Unexpected data after node's end position.", 2006},
        {SClipboardFailed, u"Clipboard operation failed.", 2007},
    };
    const int numbers[] = {hcTFWrongMoveError, hcTFWrongStreamFormat, hcTFWrongStreamVersion, hcTFStreamTooSmall,
                           hcTFCorruptStream1, hcTFCorruptStream2, hcTFClipboardFailed};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].Number);
        EXPECT_EQ(numbers[i], cases[i].Number);
        EXPECT_EQ(String(cases[i].Message), String(cases[i].Expected));
        try {
            RaiseTreeError(cases[i].Message, numbers[i]);
            ADD_FAILURE() << "nothing raised";
        } catch (const plat::Exception& e) {
            const auto* tree = dynamic_cast<const ELazyTreeError*>(&e);
            ASSERT_NE(tree, nullptr);
            EXPECT_EQ(e.Message(), String(cases[i].Expected));
            EXPECT_EQ(tree->HelpContext(), cases[i].Number);
        }
    }
}

TEST(StripLoading, CellsAreSquareAndARemainderIsIgnored)
{
    struct Case {
        int Width, Height, Cells;
    };
    const Case cases[] = {{40, 16, 2}, {48, 16, 3}, {30, 10, 3}, {9, 10, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Width);
        plat::TImageList list(nullptr);
        plat::TBitmap strip(c.Width, c.Height);
        strip.Canvas()->Brush()->SetColor(plat::clFuchsia);
        strip.Canvas()->FillRect(plat::TRect{0, 0, c.Width, c.Height});
        strip.Canvas()->SetPixels(c.Height + 1, 1, plat::clBlack);  // something in cell 1
        FillImageListFromStrip(&list, strip);
        EXPECT_EQ(list.Count(), c.Cells);
        EXPECT_EQ(list.Width(), c.Height);
        EXPECT_EQ(list.Height(), c.Height);
        if (c.Cells >= 2) {
            // The top-left colour is the mask: cell 0 draws nothing, cell 1 its one pixel.
            EXPECT_EQ(PaintedPixels(&list, 0), 0);
            EXPECT_EQ(PaintedPixels(&list, 1), 1);
        }
    }
}

TEST(StripLoading, MissingOrEmptyStripKeepsTheList)
{
    PrepareSharedResources();
    plat::TImageList list(nullptr);
    LoadStripIntoImageList(&list, u"LT_FLAT", true);
    ASSERT_EQ(list.Count(), 25);
    try {
        LoadStripIntoImageList(&list, u"LT_NOWHERE", true);
        ADD_FAILURE() << "nothing raised";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), String(u"Internal image \"LT_NOWHERE\" is missing or corrupt."));
    }
    EXPECT_EQ(list.Count(), 25);
    FillImageListFromStrip(&list, plat::TBitmap());
    EXPECT_EQ(list.Count(), 25);
}

TEST(StripLoading, ReloadsFromSeveralThreadsLeaveWholeLists)
{
    PrepareSharedResources();
    plat::TImageList list(nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&list] {
            for (int k = 0; k < 3; ++k)
                LoadStripIntoImageList(&list, u"LT_UTILITIES", true);
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(list.Count(), 9);
}

// Declared last: it ends the shared state the tests above use.
TEST(SharedResourcesEnd, ReleaseFreesAndANewSetUpKeepsTheFormats)
{
    PrepareSharedResources();
    const std::uint16_t treeData = TreeDataFormat, csv = CsvFormat;
    ReleaseSharedResources();
    EXPECT_FALSE(SharedResourcesReady());
    for (const ListCase& c : ListCases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(*c.List, nullptr);
    }
    EXPECT_EQ(SharedImageLock, nullptr);
    ReleaseSharedResources();  // a second release does nothing

    PrepareSharedResources();
    EXPECT_TRUE(SharedResourcesReady());
    EXPECT_EQ(TreeDataFormat, treeData);
    EXPECT_EQ(CsvFormat, csv);
    EXPECT_EQ(TClipboardFormatList::Count(), 7);
    EXPECT_EQ(CheckDarkList->Count(), 25);
}

} // namespace
