// Picture decoding from memory and the program's resource table. The fixtures in
// tests/data/pictures were made with netpbm, gifsicle, cjpeg and icotool:
//   three.gif   12 x 8, frames red, green, blue with delays 10, 20, 35 (gifsicle --delay)
//   transp.gif  16 x 16, a green 10 x 10 square on white, white transparent (pamtogif)
//   photo.jpg   20 x 10, left half RGB(200, 40, 40), right half RGB(40, 40, 200) (cjpeg)
//   photo.bmp   the same picture as a BMP (ppmtobmp)
//   icon.ico    16 x 16, the green square on white (icotool -c)
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "GfxTestUtil.h"
#include "plat/Files.h"
#include "plat/PictureDecode.h"
#include "plat/Resources.h"

using namespace gfxtest;

namespace {

std::string Fixture(const char* name) {
    std::string bytes;
    const std::string path = std::string(TEST_SOURCE_DIR) + "/../../data/pictures/" + name;
    EXPECT_TRUE(ReadFileBytes(Utf8ToString(path), bytes)) << path;
    return bytes;
}

// Colours within a small distance: JPEG is lossy.
bool Near(TColor a, TColor b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class PictureDecode : public GfxTest {};

TEST_F(PictureDecode, EachKindGivesItsSizeAndPixels) {
    struct Case {
        const char* file;
        TPictureKind kind;
        int w, h;
        int x, y;
        TColor colour;
        int tolerance;
        bool transparent;
    };
    const Case cases[] = {
        {"three.gif", pkGIF, 12, 8, 5, 4, RGB(255, 0, 0), 0, false},
        {"transp.gif", pkGIF, 16, 16, 8, 8, RGB(0, 128, 0), 0, true},
        {"photo.jpg", pkJPEG, 20, 10, 3, 5, RGB(200, 40, 40), 12, false},
        {"photo.jpg", pkJPEG, 20, 10, 16, 5, RGB(40, 40, 200), 12, false},
        {"photo.bmp", pkBMP, 20, 10, 16, 5, RGB(40, 40, 200), 0, false},
        {"icon.ico", pkICO, 16, 16, 8, 8, RGB(0, 128, 0), 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        const std::string bytes = Fixture(c.file);
        EXPECT_EQ(PictureKind(bytes.data(), bytes.size()), c.kind);
        TBitmap bmp;
        ASSERT_TRUE(DecodePicture(bytes.data(), bytes.size(), bmp));
        EXPECT_EQ(bmp.Width(), c.w);
        EXPECT_EQ(bmp.Height(), c.h);
        EXPECT_PRED3(Near, bmp.Canvas()->Pixels(c.x, c.y), c.colour, c.tolerance);
        EXPECT_EQ(bmp.Transparent(), c.transparent);
    }
}

TEST_F(PictureDecode, TransparentPixelsAreLeftOutWhenDrawn) {
    const std::string bytes = Fixture("transp.gif");
    TBitmap pic;
    ASSERT_TRUE(DecodePicture(bytes.data(), bytes.size(), pic));
    EXPECT_EQ(pic.Canvas()->Pixels(0, 0), pic.TransparentColor());
    auto target = MakeBitmap(20, 20, RGB(1, 2, 3));
    target->Canvas()->Draw(2, 2, &pic);
    EXPECT_EQ(target->Canvas()->Pixels(3, 3), RGB(1, 2, 3));     // transparent corner
    EXPECT_EQ(target->Canvas()->Pixels(10, 10), RGB(0, 128, 0));  // the square
}

TEST_F(PictureDecode, NonPicturesAndHugeHeadersAreRefusedAndLeaveTheBitmap) {
    // A GIF header claiming 65535 x 65535 with one image of that size; a BMP of 100000 x
    // 100000 pixels in 58 bytes.
    std::string hugeGif("GIF89a\xff\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00\xff\xff\xff\xff\x00\x02\x02\x44\x01\x00;", 30);
    std::string hugeBmp(58, '\0');
    hugeBmp[0] = 'B';
    hugeBmp[1] = 'M';
    hugeBmp[14] = 40;
    const std::uint32_t side = 100000;
    std::memcpy(&hugeBmp[18], &side, 4);
    std::memcpy(&hugeBmp[22], &side, 4);
    hugeBmp[26] = 1;
    hugeBmp[28] = 24;
    const std::string cases[] = {"", "GIF8", "not a picture", std::string("\xff\xd8\xff\xe0", 4), hugeGif, hugeBmp,
                                 Fixture("photo.jpg").substr(0, 20)};
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        TBitmap bmp(3, 2);
        EXPECT_FALSE(DecodePicture(bytes.data(), bytes.size(), bmp));
        EXPECT_EQ(bmp.Width(), 3);
        EXPECT_EQ(bmp.Height(), 2);
    }
}

// Random damage to every fixture: flipped bytes, cuts, inserted runs. Decoding answers yes
// or no and never reads outside the bytes (the sanitizer build checks that).
TEST_F(PictureDecode, DamagedPicturesNeverCrash) {
    std::mt19937 rng(15);
    for (const char* file : {"three.gif", "transp.gif", "photo.jpg", "photo.bmp", "icon.ico"}) {
        const std::string original = Fixture(file);
        for (int round = 0; round < 300; ++round) {
            std::string bytes = original;
            const int edits = 1 + static_cast<int>(rng() % 4);
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                const std::size_t at = rng() % bytes.size();
                switch (rng() % 3) {
                case 0: bytes[at] = static_cast<char>(rng()); break;
                case 1: bytes.resize(at); break;
                default: bytes.insert(at, std::string(1 + rng() % 8, static_cast<char>(rng()))); break;
                }
            }
            // An exact-size heap copy, so that an over-read is caught.
            std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
            std::memcpy(copy.get(), bytes.data(), bytes.size());
            TBitmap bmp;
            if (DecodePicture(copy.get(), bytes.size(), bmp)) {
                EXPECT_GT(bmp.Width(), 0);
                EXPECT_LE(static_cast<std::int64_t>(bmp.Width()) * bmp.Height(), kMaxPicturePixels);
            }
        }
    }
}

TEST_F(PictureDecode, ResourcesAreFoundByTypeAndNameInAnyCase) {
    const std::string gif = Fixture("transp.gif");
    RegisterResource(RT_BITMAP, u"TestGlyph", gif.data(), gif.size());
    RegisterResource(RT_RCDATA, u"TestBlob", "abc", 3);
    std::span<const std::uint8_t> bytes;
    ASSERT_TRUE(FindResource(RT_RCDATA, u"TESTBLOB", bytes));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), "abc");
    EXPECT_FALSE(FindResource(RT_BITMAP, u"TestBlob", bytes));  // another type
    EXPECT_FALSE(FindResource(RT_RCDATA, u"TestBlo", bytes));
    TBitmap bmp;
    ASSERT_TRUE(LoadBitmapResource(u"testglyph", bmp));
    EXPECT_EQ(bmp.Width(), 16);
    EXPECT_FALSE(LoadBitmapResource(u"NoSuchGlyph", bmp));
    RegisterResource(RT_RCDATA, u"testblob", "xy", 2);  // replaces
    ASSERT_TRUE(FindResource(RT_RCDATA, u"TestBlob", bytes));
    EXPECT_EQ(bytes.size(), 2u);
}

} // namespace

namespace {

// The program's named bitmaps: each at its size, its bottom-left pixel the transparent
// colour, and the states of one control told apart.
TEST_F(PictureDecode, NamedBitmapsOfTheGridAreThere) {
    struct Case {
        const char16_t* name;
        int size;
    };
    const Case cases[] = {
        {u"ESGCHK01", 20}, {u"ESGCHK02", 20}, {u"ESGCHK03", 20}, {u"ESGCHK04", 20}, {u"ESGCHK05", 16},
        {u"ESGCHK06", 16}, {u"ESGCHK07", 16}, {u"ESGCHK08", 16}, {u"ESGRAD01", 16}, {u"ESGRAD02", 16},
        {u"ESGRAD03", 16}, {u"ESGRAD04", 16}, {u"ESGRAD05", 16}, {u"ESGRAD06", 16}, {u"ESGRAD07", 16},
        {u"ESGRAD08", 16}, {u"ESGFILT", 16}, {u"ESGLEAFOPEN", 16}, {u"ESGLEAFCLOSE", 16}, {u"XPNODEO", 9},
        {u"XPNODEC", 9}, {u"metrocheckon", 16}, {u"metrocheckoff", 16}, {u"metroradioon", 16},
        {u"metroradiooff", 16},
    };
    std::vector<std::vector<TColor>> seen;
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.name));
        TBitmap bmp;
        ASSERT_TRUE(LoadBitmapResource(c.name, bmp));
        EXPECT_EQ(bmp.Width(), c.size);
        EXPECT_EQ(bmp.Height(), c.size);
        EXPECT_EQ(bmp.Canvas()->Pixels(0, c.size - 1), clFuchsia);
        const auto pixels = Snapshot(bmp);
        for (const auto& other : seen) EXPECT_NE(pixels, other);
        seen.push_back(pixels);
    }
    if (const char* dir = std::getenv("TEST_PICTURES")) {
        TBitmap sheet(26 * static_cast<int>(std::size(cases)), 24);
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            TBitmap bmp;
            LoadBitmapResource(cases[i].name, bmp);
            bmp.SetTransparent(true);
            sheet.Canvas()->Draw(static_cast<int>(i) * 26 + 2, 2, &bmp);
        }
        sheet.SaveToFile(Utf8ToString(std::string(dir) + "/named-bitmaps.png"));
    }
}

} // namespace
