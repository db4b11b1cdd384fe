// Raster-op copies, monochrome conversions, bitmaps and transparency.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "GfxTestUtil.h"
#include "plat/Exception.h"
#include "TestSupport.h"

using namespace gfxtest;

namespace {

class Raster : public GfxTest {};

std::unique_ptr<TBitmap> Bitmap2x2(TColor a, TColor b, TColor c, TColor d) {
    auto bmp = MakeBitmap(2, 2);
    bmp->Canvas()->SetPixels(0, 0, a);
    bmp->Canvas()->SetPixels(1, 0, b);
    bmp->Canvas()->SetPixels(0, 1, c);
    bmp->Canvas()->SetPixels(1, 1, d);
    return bmp;
}

TEST_F(Raster, CodesFollowTheirBooleanFunctions) {
    const TColor src[4] = {0x000000, 0xFFFFFF, 0x00FF00, 0x123456};
    const TColor dst[4] = {0xFFFFFF, 0x000000, 0x0000FF, 0x654321};
    const TColor pat = 0x00A5C3E1;
    using F = TColor (*)(TColor p, TColor s, TColor d);
    struct Case {
        const char* name;
        TCopyMode rop;
        F f;
    };
    const Case cases[] = {
        {"SRCCOPY", SRCCOPY, [](TColor, TColor s, TColor) { return s; }},
        {"SRCAND", SRCAND, [](TColor, TColor s, TColor d) { return s & d; }},
        {"SRCPAINT", SRCPAINT, [](TColor, TColor s, TColor d) { return s | d; }},
        {"SRCINVERT", SRCINVERT, [](TColor, TColor s, TColor d) { return s ^ d; }},
        {"SRCERASE", SRCERASE, [](TColor, TColor s, TColor d) { return s & ~d; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](TColor, TColor s, TColor) { return ~s; }},
        {"NOTSRCERASE", NOTSRCERASE, [](TColor, TColor s, TColor d) { return ~(s | d); }},
        {"MERGECOPY", MERGECOPY, [](TColor p, TColor s, TColor) { return p & s; }},
        {"MERGEPAINT", MERGEPAINT, [](TColor, TColor s, TColor d) { return ~s | d; }},
        {"DSTINVERT", DSTINVERT, [](TColor, TColor, TColor d) { return ~d; }},
        {"PATCOPY", PATCOPY, [](TColor p, TColor, TColor) { return p; }},
        {"PATINVERT", PATINVERT, [](TColor p, TColor, TColor d) { return p ^ d; }},
        {"PATPAINT", PATPAINT, [](TColor p, TColor s, TColor d) { return p | ~s | d; }},
        {"BLACKNESS", BLACKNESS, [](TColor, TColor, TColor) { return TColor(0); }},
        {"WHITENESS", WHITENESS, [](TColor, TColor, TColor) { return TColor(0xFFFFFF); }},
    };
    auto s = Bitmap2x2(src[0], src[1], src[2], src[3]);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = Bitmap2x2(dst[0], dst[1], dst[2], dst[3]);
        d->Canvas()->Brush()->SetColor(pat);
        EXPECT_TRUE(BitBlt(d->Canvas(), 0, 0, 2, 2, s->Canvas(), 0, 0, c.rop));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(d->Canvas()->Pixels(i % 2, i / 2), c.f(pat, src[i], dst[i]) & 0xFFFFFF) << i;
    }
    // The source stays as it was.
    EXPECT_EQ(s->Canvas()->Pixels(1, 1), 0x123456);
}

TEST_F(Raster, MonochromeConversions) {
    // Monochrome 1010 into colour: 0 bits take the text colour, 1 bits the background colour.
    TBitmap mono;
    mono.SetSize(4, 1);
    mono.SetMonochrome(true);
    for (int x = 0; x < 4; ++x) mono.Canvas()->SetPixels(x, 0, x % 2 == 0 ? clWhite : clBlack);
    auto colour = MakeBitmap(4, 1);
    colour->Canvas()->SetTextColor(clRed);
    colour->Canvas()->SetBkColor(clBlue);
    BitBlt(colour->Canvas(), 0, 0, 4, 1, mono.Canvas(), 0, 0, SRCCOPY);
    EXPECT_EQ(colour->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(colour->Canvas()->Pixels(1, 0), clRed);

    // Colour into monochrome: pixels equal to the source's background colour become 1.
    auto src = MakeBitmap(4, 1, clLime);
    src->Canvas()->SetPixels(1, 0, clFuchsia);
    src->Canvas()->SetPixels(3, 0, clFuchsia);
    src->Canvas()->SetBkColor(clFuchsia);
    TBitmap mask;
    mask.SetSize(4, 1);
    mask.SetMonochrome(true);
    BitBlt(mask.Canvas(), 0, 0, 4, 1, src->Canvas(), 0, 0, SRCCOPY);
    const TColor expected[4] = {clBlack, clWhite, clBlack, clWhite};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mask.Canvas()->Pixels(x, 0), expected[x]) << x;
    // Drawing a colour onto a monochrome bitmap picks the nearer of black and white.
    mask.Canvas()->SetPixels(0, 0, 0x00E0E0E0);
    EXPECT_EQ(mask.Canvas()->Pixels(0, 0), clWhite);
}

TEST_F(Raster, MaskCompositionLeavesKeyColourOut) {
    // The transparent copy composed from masks: AND the destination with the mask, AND the
    // source with the inverted mask, OR them together.
    const TColor key = clFuchsia;
    auto src = MakeBitmap(4, 4, clNavy);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if ((x + y) % 2 == 0) src->Canvas()->SetPixels(x, y, key);
    const auto srcBefore = Snapshot(*src);
    auto dst = MakeBitmap(4, 4);
    FillRandom(*dst, 11);
    const auto dstBefore = Snapshot(*dst);

    TBitmap mask, inverse;
    mask.SetSize(4, 4);
    mask.SetMonochrome(true);
    inverse.SetSize(4, 4);
    inverse.SetMonochrome(true);
    src->Canvas()->SetBkColor(key);
    BitBlt(mask.Canvas(), 0, 0, 4, 4, src->Canvas(), 0, 0, SRCCOPY);
    BitBlt(inverse.Canvas(), 0, 0, 4, 4, mask.Canvas(), 0, 0, NOTSRCCOPY);
    auto work = MakeBitmap(4, 4);
    BitBlt(work->Canvas(), 0, 0, 4, 4, dst->Canvas(), 0, 0, SRCCOPY);
    work->Canvas()->SetTextColor(clBlack);
    work->Canvas()->SetBkColor(clWhite);
    BitBlt(work->Canvas(), 0, 0, 4, 4, mask.Canvas(), 0, 0, SRCAND);
    auto part = MakeBitmap(4, 4);
    BitBlt(part->Canvas(), 0, 0, 4, 4, src->Canvas(), 0, 0, SRCCOPY);
    part->Canvas()->SetTextColor(clBlack);
    part->Canvas()->SetBkColor(clWhite);
    BitBlt(part->Canvas(), 0, 0, 4, 4, inverse.Canvas(), 0, 0, SRCAND);
    BitBlt(work->Canvas(), 0, 0, 4, 4, part->Canvas(), 0, 0, SRCPAINT);
    BitBlt(dst->Canvas(), 0, 0, 4, 4, work->Canvas(), 0, 0, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * 4 + x);
            EXPECT_EQ(dst->Canvas()->Pixels(x, y), (x + y) % 2 == 0 ? dstBefore[i] : clNavy) << x << "," << y;
        }
    EXPECT_EQ(Snapshot(*src), srcBefore);
}

TEST_F(Raster, TransparentDrawLeavesKeyOutExactly) {
    struct Case {
        const char* name;
        std::function<void(TBitmap&)> setup;
        TColor key;
    };
    const Case cases[] = {
        {"automatic: bottom-left pixel", [](TBitmap&) {}, clFuchsia},
        {"fixed colour", [](TBitmap& b) { b.SetTransparentColor(clNavy); }, clNavy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto src = MakeBitmap(4, 4, clNavy);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if ((x + y) % 2 == 1) src->Canvas()->SetPixels(x, y, clFuchsia);   // (0,3) is fuchsia
        src->SetTransparent(true);
        c.setup(*src);
        EXPECT_EQ(src->TransparentColor(), c.key);
        const auto srcBefore = Snapshot(*src);
        auto dst = MakeBitmap(6, 6);
        FillRandom(*dst, 5);
        const auto before = Snapshot(*dst);
        dst->Canvas()->Draw(1, 1, src.get());
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * 6 + x);
                const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
                const TColor s = inside ? srcBefore[static_cast<std::size_t>((y - 1) * 4 + (x - 1))] : clNone;
                EXPECT_EQ(dst->Canvas()->Pixels(x, y), inside && s != c.key ? s : before[i]) << x << "," << y;
            }
        EXPECT_EQ(Snapshot(*src), srcBefore);
    }
}

TEST_F(Raster, StretchDrawNearestNeighbour) {
    auto src = Bitmap2x2(clRed, clLime, clBlue, clFuchsia);
    auto dst = MakeBitmap(4, 4);
    dst->Canvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    EXPECT_EQ(Mask(*dst, clRed, clLime), Rows({"##..", "##..", "????", "????"}));
    src->SetTransparent(true);   // bottom-left: blue
    auto dst2 = MakeBitmap(4, 4);
    dst2->Canvas()->StretchDraw(Rect(0, 0, 4, 4), src.get());
    EXPECT_EQ(dst2->Canvas()->Pixels(0, 3), clWhite);
    EXPECT_EQ(dst2->Canvas()->Pixels(3, 3), clFuchsia);
}

TEST_F(Raster, CopyWithinOneBitmapOverlapping) {
    auto b = MakeBitmap(6, 1);
    for (int x = 0; x < 6; ++x) b->Canvas()->SetPixels(x, 0, RGB(x * 10, 0, 0));
    BitBlt(b->Canvas(), 1, 0, 5, 1, b->Canvas(), 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(b->Canvas()->Pixels(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
    // Rows moved down and up over themselves, and a source partly left of the surface.
    struct Case {
        const char* name;
        int x, y, sx, sy;
        std::vector<int> expected;  // red values of column 0, rows 0..5, then of row 0, columns 0..3
    };
    const Case cases[] = {
        {"down by two", 0, 2, 0, 0, {0, 10, 0, 10, 20, 30, 0, 10, 20, 30}},
        {"up by two", 0, 0, 0, 2, {20, 30, 40, 50, 40, 50, 20, 20, 20, 20}},
        {"source columns left of the surface stay out", 1, 0, -1, 0, {0, 10, 20, 30, 40, 50, 0, 10, 0, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = MakeBitmap(4, 6);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 4; ++x) g->Canvas()->SetPixels(x, y, RGB(y * 10 + x * 10 * (y == 0 ? 1 : 0), 0, 0));
        BitBlt(g->Canvas(), c.x, c.y, 4, 4, g->Canvas(), c.sx, c.sy, SRCCOPY);
        std::vector<int> got;
        for (int y = 0; y < 6; ++y) got.push_back(GetRValue(g->Canvas()->Pixels(0, y)));
        for (int x = 0; x < 4; ++x) got.push_back(GetRValue(g->Canvas()->Pixels(x, 0)));
        EXPECT_EQ(got, c.expected);
    }
    // CopyRect follows CopyMode.
    auto src = MakeBitmap(2, 2, clBlack);
    auto dst = MakeBitmap(2, 2, clRed);
    dst->Canvas()->SetCopyMode(cmSrcPaint);
    dst->Canvas()->CopyRect(Rect(0, 0, 2, 2), src->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clRed);
}

TEST_F(Raster, ScanLineIsBgraTopDown) {
    auto b = MakeBitmap(2, 2);
    auto* row = static_cast<std::uint8_t*>(b->ScanLine(0));
    row[0] = 0x00;
    row[1] = 0x00;
    row[2] = 0xFF;
    row[3] = 0xFF;
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed);
    b->Canvas()->SetPixels(1, 1, 0x00112233);
    const auto* last = static_cast<const std::uint8_t*>(b->ScanLine(1));
    EXPECT_EQ(last[4], 0x11);   // blue
    EXPECT_EQ(last[5], 0x22);
    EXPECT_EQ(last[6], 0x33);   // red
    EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { b->ScanLine(2); }, u"Scan line index out of range"));
}

TEST_F(Raster, BitmapSizeAssignAndFiles) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    b.SetSize(3, 2);
    b.Canvas()->SetPixels(0, 0, clRed);
    b.SetSize(4, 3);   // keeps what stays inside, new pixels white
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(3, 2), clWhite);
    b.SetTransparent(true);
    b.SetTransparentColor(clRed);

    TBitmap copy;
    copy.Assign(b);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Canvas()->Pixels(0, 0), clRed);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);
    copy.Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);   // a copy, not shared

    const std::string png = OutPath("roundtrip.png");
    b.SaveToFile(String(png.begin(), png.end()));
    TBitmap loaded;
    loaded.LoadFromFile(String(png.begin(), png.end()));
    EXPECT_EQ(loaded.Width(), 4);
    EXPECT_EQ(loaded.Height(), 3);
    EXPECT_EQ(loaded.Canvas()->Pixels(0, 0), clRed);

    // A 2 x 1 24-bit BMP written by hand: bottom-up rows, B G R order.
    const unsigned char bmp[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,     // info header
        8, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0};                         // red, blue, padding
    const std::string bmpPath = OutPath("two.bmp");
    std::ofstream(bmpPath, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
    TBitmap fromBmp;
    fromBmp.LoadFromFile(String(bmpPath.begin(), bmpPath.end()));
    EXPECT_EQ(fromBmp.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(fromBmp.Canvas()->Pixels(1, 0), clBlue);
    EXPECT_EQ(fromBmp.PixelFormat(), pf24bit);
    TBitmap fromMemory;
    fromMemory.LoadFromMemory(bmp, sizeof bmp);
    EXPECT_EQ(fromMemory.Canvas()->Pixels(1, 0), clBlue);

    EXPECT_TRUE(testsupport::ThrowsWith<EFileError>([&] { fromBmp.LoadFromFile(u"/nonexistent/file.bmp"); },
                                                    u"Cannot open file \"/nonexistent/file.bmp\""));
    EXPECT_TRUE(testsupport::ThrowsWith<EFileError>([&] { b.SaveToFile(u"/nonexistent/folder/x.png"); },
                                                    u"Cannot write the file /nonexistent/folder/x.png"));
    // A failed load leaves the bitmap as it was.
    EXPECT_EQ(fromBmp.Width(), 2);
}

TEST_F(Raster, PixelFormatIsRememberedOnTheThirtyTwoBitSurface) {
    struct Case { TPixelFormat set; bool monochrome; };
    for (const Case& c : {Case{pf1bit, true}, Case{pf8bit, false}, Case{pf24bit, false}, Case{pf32bit, false}}) {
        TBitmap b;
        b.SetPixelFormat(c.set);
        b.SetSize(3, 2);
        EXPECT_EQ(b.PixelFormat(), c.set) << c.set;
        EXPECT_EQ(b.Monochrome(), c.monochrome) << c.set;
        // Four bytes a pixel whatever the format.
        auto* row = static_cast<std::uint8_t*>(b.ScanLine(1));
        row[8] = 0;
        row[9] = 0;
        row[10] = 0;
        EXPECT_EQ(b.Canvas()->Pixels(2, 1), clBlack) << c.set;
        TBitmap copy;
        copy.Assign(b);
        EXPECT_EQ(copy.PixelFormat(), c.set) << c.set;
    }
    // Leaving monochrome gives a colour format again.
    TBitmap m;
    m.SetPixelFormat(pf1bit);
    m.SetMonochrome(false);
    EXPECT_EQ(m.PixelFormat(), pf32bit);
    m.SetPixelFormat(pf24bit);
    m.SetMonochrome(true);
    EXPECT_EQ(m.PixelFormat(), pf1bit);
}

TEST_F(Raster, TwentyFourBitBitmapIgnoresItsAlphaBytes) {
    // Scan-line code fills colour bytes and leaves alpha zero; a 24-bit bitmap keeps its
    // colours when drawn, saved and loaded, where a 32-bit one has transparent pixels.
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(2, 1);
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(0));
    const std::uint8_t bgra[8] = {0x00, 0x00, 0xFF, 0x00, 0x56, 0x34, 0x12, 0x00};
    std::memcpy(row, bgra, sizeof bgra);
    auto dst = MakeBitmap(2, 1, clLime);
    dst->Canvas()->Draw(0, 0, &b);
    EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(dst->Canvas()->Pixels(1, 0), static_cast<TColor>(0x563412));

    const std::string path = OutPath("alpha24.png");
    b.SaveToFile(String(path.begin(), path.end()));
    TBitmap loaded;
    loaded.LoadFromFile(String(path.begin(), path.end()));
    EXPECT_EQ(loaded.PixelFormat(), pf24bit);
    EXPECT_EQ(loaded.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(loaded.Canvas()->Pixels(1, 0), static_cast<TColor>(0x563412));

    // Switching a 32-bit bitmap to 24 bits keeps the colour bytes and makes it opaque.
    TBitmap c;
    c.SetSize(1, 1);
    std::memcpy(c.ScanLine(0), bgra, 4);
    c.SetPixelFormat(pf24bit);
    EXPECT_EQ(static_cast<const std::uint8_t*>(c.ScanLine(0))[3], 0xFF);
    EXPECT_EQ(c.Canvas()->Pixels(0, 0), clRed);
}

TEST_F(Raster, PngTransparentPixelsKeepTheirColour) {
    // 2 x 1 RGBA: red with alpha 0, blue opaque.
    const unsigned char png[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF4, 0x22, 0x7F, 0x8A, 0x00, 0x00, 0x00,
        0x0F, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0xF8, 0xCF, 0x00, 0x02, 0xFF, 0xFF, 0x03, 0x00, 0x0A, 0xFE,
        0x02, 0xFE, 0x5F, 0x2D, 0x82, 0x35, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    TBitmap b;
    b.LoadFromMemory(png, sizeof png);
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clBlue);
    // As a transparent bitmap its bottom-left red is the key.
    b.SetTransparent(true);
    auto dst = MakeBitmap(2, 1, clLime);
    dst->Canvas()->Draw(0, 0, &b);
    EXPECT_EQ(dst->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(dst->Canvas()->Pixels(1, 0), clBlue);
}

TEST_F(Raster, DrawOpaqueUsesCopyModeAndClip) {
    auto src = MakeBitmap(3, 3, clLime);
    auto dst = MakeBitmap(5, 5, clRed);
    dst->Canvas()->IntersectClipRect(0, 0, 2, 5);
    dst->Canvas()->Draw(1, 1, src.get());
    dst->Canvas()->SelectClipRgn(nullptr);
    EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clLime);
    EXPECT_EQ(dst->Canvas()->Pixels(2, 1), clRed);
    dst->Canvas()->SetCopyMode(cmSrcInvert);
    dst->Canvas()->Draw(1, 1, src.get());
    EXPECT_EQ(dst->Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(dst->Canvas()->Pixels(3, 3), clRed ^ clLime);
}

} // namespace

namespace {

// A column of 8 pixels, each row its own colour, scrolled inside a band of rows 2..6.
class ScrollDCTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        bmp = MakeBitmap(1, 8);
        for (int y = 0; y < 8; ++y) bmp->Canvas()->SetPixels(0, y, Shade(y));
    }
    static TColor Shade(int Row) { return RGB(10 * Row, 0, 0); }
    std::string Rows() {
        std::string s;
        for (int y = 0; y < 8; ++y) {
            const TColor c = bmp->Canvas()->Pixels(0, y);
            s += static_cast<char>('0' + GetRValue(c) / 10);
        }
        return s;
    }
    std::unique_ptr<TBitmap> bmp;
};

TEST_F(ScrollDCTest, MovesPixelsWithinTheClipAndNamesTheUncoveredStrip) {
    struct Case {
        const char* what;
        int dy;
        TRect scroll, clip;
        const char* rows;  // row shades afterwards
        TRect update;
    };
    const Case cases[] = {
        {"down by 1 inside the band", 1, {0, 2, 1, 6}, {0, 2, 1, 6}, "01223467", {0, 2, 1, 3}},
        {"up by 2 inside the band", -2, {0, 2, 1, 6}, {0, 2, 1, 6}, "01454567", {0, 4, 1, 6}},
        {"down past the clip", 4, {0, 2, 1, 6}, {0, 2, 1, 6}, "01234567", {0, 2, 1, 6}},
        {"clip narrower than the scroll", 1, {0, 0, 1, 8}, {0, 3, 1, 5}, "01223567", {}},
        {"no move", 0, {0, 2, 1, 6}, {0, 2, 1, 6}, "01234567", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        TRect update{-1, -1, -1, -1};
        ASSERT_TRUE(ScrollDC(bmp->Canvas(), 0, c.dy, c.scroll, c.clip, &update));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(update, c.update);
    }
    EXPECT_FALSE(ScrollDC(nullptr, 0, 1, {0, 0, 1, 1}, {0, 0, 1, 1}));
}

} // namespace

TEST(Picture, LoadFromFileChoosesByExtensionAndDecodesTheContent)
{
    const unsigned char bmp[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,
        8, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0};
    auto write = [](const std::string& name, const void* data, std::size_t size) {
        const std::string path = OutPath(name);
        std::ofstream(path, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        return String(path.begin(), path.end());
    };
    const String good = write("pic.BMP", bmp, sizeof bmp);
    const String cut = write("cut.bmp", bmp, 30);
    const String text = write("pic.txt", bmp, sizeof bmp);
    TPicture p;
    int changes = 0;
    p.OnChange = [&](TObject*) { ++changes; };
    p.LoadFromFile(good);
    ASSERT_TRUE(p.HasGraphic());
    EXPECT_EQ(p.Width(), 2);
    EXPECT_EQ(p.Bitmap()->Canvas()->Pixels(1, 0), clBlue);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(testsupport::ThrowsWith<EFileError>([&] { p.LoadFromFile(text); },
                                                    u"Unknown picture file extension (.txt)"));
    EXPECT_TRUE(testsupport::ThrowsWith<EFileError>([&] { p.LoadFromFile(cut); }, u"Cannot load the picture " + cut));
    // A failed load leaves the picture as it was.
    EXPECT_EQ(p.Width(), 2);
    EXPECT_EQ(changes, 1);
}
