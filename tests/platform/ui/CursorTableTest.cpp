// The program's cursor resources (hot spots, shapes by direction), the panning anchor
// pictures, and the screen's cursor table shown by controls, SetCursor and the screen cursor.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;

std::uint32_t PixelAt(HCURSOR h, int x, int y) {
    return h->Pixels[static_cast<std::size_t>(y * h->Width + x)];
}
bool Opaque(HCURSOR h, int x, int y) { return (PixelAt(h, x, y) >> 24) == 0xFF; }
bool Black(HCURSOR h, int x, int y) { return PixelAt(h, x, y) == 0xFF000000u; }

struct CursorCase {
    int id;
    TPoint hot;
    std::vector<TPoint> ink;    // points that carry the black shape
    std::vector<TPoint> clear;  // points that stay transparent
};

// Panning cursors point where the view goes; the header cursors point at the header.
const CursorCase kCursors[] = {
    {8000, {16, 16}, {{16, 27}, {5, 16}, {27, 16}, {16, 5}}, {{0, 0}, {26, 26}}},
    {8001, {16, 16}, {{16, 27}}, {{16, 5}, {5, 16}, {27, 16}}},
    {8002, {16, 16}, {{5, 16}}, {{27, 16}, {16, 5}, {16, 27}}},
    {8003, {16, 16}, {{27, 16}}, {{5, 16}, {16, 5}, {16, 27}}},
    {8004, {16, 16}, {{16, 5}}, {{16, 27}, {5, 16}, {27, 16}}},
    {8005, {16, 16}, {{24, 8}}, {{8, 8}, {24, 24}, {8, 24}}},
    {8006, {16, 16}, {{8, 8}}, {{24, 8}, {24, 24}, {8, 24}}},
    {8007, {16, 16}, {{24, 24}}, {{8, 8}, {24, 8}, {8, 24}}},
    {8008, {16, 16}, {{8, 24}}, {{8, 8}, {24, 8}, {24, 24}}},
    {8010, {26, 16}, {{25, 16}, {10, 16}}, {{16, 4}, {16, 28}}},
    {8011, {16, 26}, {{16, 25}, {16, 10}}, {{4, 16}, {28, 16}}},
    {8012, {24, 24}, {{22, 22}, {12, 12}}, {{26, 6}, {6, 26}}},
    {8014, {16, 16}, {{16, 6}, {6, 16}, {26, 16}, {16, 26}}, {{6, 6}, {26, 26}}},
};

TEST(CursorResources, EveryGridCursorHasItsHotSpotOnTheShapeAndPointsItsWay) {
    std::set<std::vector<std::uint32_t>> distinct;
    for (const CursorCase& c : kCursors) {
        SCOPED_TRACE(c.id);
        HCURSOR h = LoadCursorResource(c.id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->Width, 32);
        EXPECT_EQ(h->Height, 32);
        EXPECT_EQ(h->HotSpot, c.hot);
        EXPECT_TRUE(Opaque(h, c.hot.X, c.hot.Y)) << "the hot spot must be on the drawn shape";
        for (TPoint p : c.ink) EXPECT_TRUE(Black(h, p.X, p.Y)) << p.X << "," << p.Y;
        for (TPoint p : c.clear) EXPECT_EQ(PixelAt(h, p.X, p.Y), 0u) << p.X << "," << p.Y;
        // The shape has a white outline so that it shows on dark cells too.
        bool halo = false;
        for (std::uint32_t px : h->Pixels) halo = halo || px == 0xFFFFFFFFu;
        EXPECT_TRUE(halo);
        distinct.insert(h->Pixels);
        // One handle per resource, whether asked by number or by name.
        EXPECT_EQ(LoadCursorResource(IntToStr(c.id)), h);
    }
    EXPECT_EQ(distinct.size(), std::size(kCursors));
}

TEST(CursorResources, MissingTruncatedOrBadCursorResourcesLoadNothing) {
    // A 4 x 4 red 24-bit BMP.
    std::vector<std::uint8_t> bmp = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0,
                                     1, 0, 24, 0, 0, 0, 0, 0, 48, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 16; ++i) bmp.insert(bmp.end(), {0, 0, 0xFF});
    const std::vector<std::uint8_t>& pictureBytes = bmp;
    struct Case {
        const char16_t* name;
        std::vector<std::uint8_t> bytes;
        bool loads;
    };
    const std::uint8_t garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const Case cases[] = {
        {u"TESTCURSOR-OK", MakeCursorResource({3, 2}, pictureBytes.data(), pictureBytes.size()), true},
        {u"TESTCURSOR-HOTOUTSIDE", MakeCursorResource({4, 0}, pictureBytes.data(), pictureBytes.size()), false},
        {u"TESTCURSOR-SHORT", {1, 0, 1}, false},
        {u"TESTCURSOR-NOPICTURE", MakeCursorResource({0, 0}, garbage, sizeof garbage), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.name));
        RegisterResource(RT_CURSOR, c.name, c.bytes.data(), c.bytes.size());
        HCURSOR h = LoadCursorResource(c.name);
        EXPECT_EQ(h != nullptr, c.loads);
        if (h) {
            EXPECT_EQ(h->HotSpot, Point(3, 2));
            EXPECT_EQ(PixelAt(h, 0, 0), 0xFFFF0000u);  // red, opaque
        }
    }
    EXPECT_EQ(LoadCursorResource(9999), nullptr);
    // A bitmap of that name is no cursor.
    EXPECT_EQ(LoadCursorResource(u"ESGCHK01"), nullptr);
}

TEST(CursorResources, PanningAnchorsShowTheirDirectionsWithATransparentCorner) {
    struct Case {
        const char16_t* name;
        bool vertical, horizontal;
    };
    const Case cases[] = {{u"INTLI1", true, true}, {u"INTLI2", false, true}, {u"INTLI3", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.name));
        TBitmap b;
        ASSERT_TRUE(LoadBitmapResource(c.name, b));
        EXPECT_EQ(b.Width(), 32);
        EXPECT_EQ(b.Height(), 32);
        TCanvas* cv = b.Canvas();
        EXPECT_EQ(cv->Pixels(0, 0), static_cast<TColor>(0xFF00FF));  // drawn transparently by its top-left colour
        const TColor arrow = 0x202020, face = 0xE6E6E6;
        EXPECT_EQ(cv->Pixels(16, 8), c.vertical ? arrow : face);
        EXPECT_EQ(cv->Pixels(16, 24), c.vertical ? arrow : face);
        EXPECT_EQ(cv->Pixels(8, 16), c.horizontal ? arrow : face);
        EXPECT_EQ(cv->Pixels(24, 16), c.horizontal ? arrow : face);
    }
}

class CursorTableTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(50, 50, 300, 200);
        box = new testctl::TColorBox(form.get());
        box->SetParent(form.get());
        box->SetBounds(10, 10, 100, 100);
        form->Show();
    }
    void TearDown() override {
        for (TCursor id : {8000, 8011, 8014, static_cast<int>(crDefault)}) Screen->SetCursors(id, nullptr);
        Screen->SetCursor(crDefault);
        MoveAway();
        form.reset();
        UiTest::TearDown();
    }
    std::unique_ptr<TForm> form;
    testctl::TColorBox* box = nullptr;
};

TEST_F(CursorTableTest, AControlsCursorIdShowsTheTablesImageOnceRegistered) {
    EXPECT_EQ(Screen->Cursors(8011), nullptr);
    Move(box, 20, 20);
    box->SetCursor(8011);
    EXPECT_TRUE(ShowsCursor(box, 20, 20, crArrow)) << "an id without an entry shows the arrow";
    Screen->SetCursors(8011, LoadCursorResource(8011));
    EXPECT_EQ(Screen->Cursors(8011), LoadCursorResource(8011));
    EXPECT_TRUE(ShowsCursor(box, 20, 20, 8011)) << "the pointer already over the control takes the new image";
    EXPECT_FALSE(ShowsCursor(box, 20, 20, crArrow));
    box->SetCursor(crDefault);
    EXPECT_TRUE(ShowsCursor(box, 20, 20, crArrow));
    box->SetCursor(8011);
    EXPECT_TRUE(ShowsCursor(box, 20, 20, 8011));
    // Built-in ids keep their shapes beside the table.
    box->SetCursor(crHSplit);
    EXPECT_TRUE(ShowsCursor(box, 20, 20, crHSplit));
    EXPECT_FALSE(ShowsCursor(box, 20, 20, 8011));
    box->SetCursor(8011);
    Screen->SetCursors(8011, nullptr);
    EXPECT_TRUE(ShowsCursor(box, 20, 20, crArrow));
}

TEST_F(CursorTableTest, SetCursorAndTheScreenCursorUseTheTable) {
    Screen->SetCursors(8014, LoadCursorResource(8014));
    Screen->SetCursors(8000, LoadCursorResource(8000));
    Move(box, 30, 30);
    SetCursor(8014);  // as a control answering WM_SETCURSOR does
    EXPECT_TRUE(ShowsCursor(box, 30, 30, 8014));
    Screen->SetCursor(8000);
    EXPECT_TRUE(ShowsCursor(box, 30, 30, 8000)) << "the screen cursor shows over every control";
    EXPECT_TRUE(ShowsCursor(form.get(), 250, 150, 8000));
    Screen->SetCursor(crDefault);
    EXPECT_TRUE(ShowsCursor(box, 30, 30, 8014));
}

} // namespace
} // namespace plat
