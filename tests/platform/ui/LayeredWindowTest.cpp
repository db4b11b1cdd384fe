// Layered top-level windows on displays with and without a compositing manager: with one the
// picture keeps its per-pixel alpha; without one the window region (and the picture's fully
// transparent pixels) become the window mask and every painted pixel is opaque, since a
// display without a compositor shows transparent pixels black.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/Testing.h"

namespace plat {
namespace {

using namespace plat::testing;

constexpr int kW = 20, kH = 16;
const TRect kOuter = Rect(0, 0, kW, kH);
const TRect kHole = Rect(4, 4, 16, 12);

class TLayeredBox : public TCustomControl {
public:
    explicit TLayeredBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    String ClassName() const override { return u"TLayeredBox"; }
};

struct Px {
    std::uint8_t b, g, r, a;
};

Px PixelAt(const TBitmap& Bmp, int X, int Y)
{
    const auto* p = static_cast<const std::uint8_t*>(Bmp.ScanLine(Y)) + 4 * X;
    return {p[0], p[1], p[2], p[3]};
}

// A frame picture, premultiplied: blue at alpha 128 (straight colour 0xFF, 0x20, 0x00), the
// top-left pixel fully transparent when asked.
std::unique_ptr<TBitmap> FramePicture(bool TransparentCorner)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(kW, kH);
    for (int y = 0; y < kH; ++y) {
        auto* p = static_cast<std::uint8_t*>(bmp->ScanLine(y));
        for (int x = 0; x < kW; ++x, p += 4) {
            const bool clear = TransparentCorner && x == 0 && y == 0;
            p[0] = clear ? 0 : 0x80;
            p[1] = clear ? 0 : 0x10;
            p[2] = 0;
            p[3] = clear ? 0 : 0x80;
        }
    }
    return bmp;
}

class LayeredWindowTest : public UiTest {
protected:
    void TearDown() override
    {
        SetDisplayComposites(std::nullopt);
        UiTest::TearDown();
    }

    std::unique_ptr<TLayeredBox> MakeWindow(bool Composites, bool TransparentCorner, bool Region, std::uint8_t Alpha = 255)
    {
        SetDisplayComposites(Composites);
        auto w = std::make_unique<TLayeredBox>(nullptr);
        w->SetBounds(30, 30, kW, kH);
        w->SetWindowExStyle(w->WindowExStyle() | WS_EX_LAYERED);
        const auto pic = FramePicture(TransparentCorner);
        EXPECT_TRUE(UpdateLayeredWindow(w->Handle(), pic.get(), Alpha));
        if (Region) {
            EXPECT_TRUE(SetWindowRgn(w->Handle(), kOuter, kHole));
        }
        ShowWindow(w->Handle(), SW_SHOWNOACTIVATE);
        ProcessEvents();
        return w;
    }
};

TEST_F(LayeredWindowTest, WithoutCompositorTheMaskIsTheShapeAndEveryPixelIsOpaque)
{
    struct Case {
        const char* name;
        bool transparentCorner;
        bool region;
    };
    const Case cases[] = {
        {"region, picture without transparent pixels", false, true},
        {"region, transparent top-left pixel", true, true},
        {"no region, transparent top-left pixel", true, false},
        {"no region, picture without transparent pixels: all of it shows", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto w = MakeWindow(false, c.transparentCorner, c.region);
        EXPECT_FALSE(WindowTranslucent(w.get()));
        ASSERT_TRUE(HasWindowMask(w.get()));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inRegion = !c.region || PtInWindowRgn(w->Handle(), {x, y});
                const bool painted = !(c.transparentCorner && x == 0 && y == 0);
                ASSERT_EQ(InWindowMask(w.get(), x, y), inRegion && painted) << x << "," << y;
            }
        if (!c.transparentCorner && c.region) {
            EXPECT_FALSE(InWindowMask(w.get(), 5, 5));  // the hole
            EXPECT_TRUE(InWindowMask(w.get(), 0, 0));
        }
        for (const auto& shot : {GrabPainted(w.get()), Grab(w.get())}) {
            ASSERT_EQ(shot->Width(), kW);
            ASSERT_EQ(shot->Height(), kH);
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    if (!InWindowMask(w.get(), x, y)) continue;
                    const Px p = PixelAt(*shot, x, y);
                    ASSERT_EQ(p.a, 255) << x << "," << y;
                    // The straight colour at full strength, not darkened towards black.
                    ASSERT_NEAR(p.b, 0xFF, 1) << x << "," << y;
                    ASSERT_NEAR(p.g, 0x20, 1) << x << "," << y;
                    ASSERT_EQ(p.r, 0x00) << x << "," << y;
                }
        }
    }
}

TEST_F(LayeredWindowTest, WithCompositorThePictureKeepsItsAlphaAndTheRegionCuts)
{
    auto w = MakeWindow(true, true, true, 128);
    EXPECT_TRUE(WindowTranslucent(w.get()));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(InWindowMask(w.get(), x, y), PtInWindowRgn(w->Handle(), {x, y})) << x << "," << y;
    const auto shot = GrabPainted(w.get());
    EXPECT_EQ(PixelAt(*shot, 0, 0).a, 0);                // transparent in the picture
    EXPECT_NEAR(PixelAt(*shot, 1, 0).a, 64, 1);          // picture alpha 128 times 128/255
    EXPECT_NEAR(PixelAt(*shot, 1, 0).b, 64, 1);
}

TEST_F(LayeredWindowTest, RemovingTheRegionLeavesOnlyWhatTheDisplayNeeds)
{
    // With a compositor no mask remains; without one the picture's transparent pixel stays out.
    auto with = MakeWindow(true, true, true);
    EXPECT_TRUE(SetWindowRgn(with->Handle(), Rect(0, 0, 0, 0), Rect(0, 0, 0, 0)));
    EXPECT_FALSE(HasWindowMask(with.get()));
    auto without = MakeWindow(false, true, true);
    EXPECT_TRUE(SetWindowRgn(without->Handle(), Rect(0, 0, 0, 0), Rect(0, 0, 0, 0)));
    ASSERT_TRUE(HasWindowMask(without.get()));
    EXPECT_FALSE(InWindowMask(without.get(), 0, 0));
    EXPECT_TRUE(InWindowMask(without.get(), 5, 5));
}

} // namespace
} // namespace plat
