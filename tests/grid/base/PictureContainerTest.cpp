// Pictures of cell markup: GIF frames, loading by name, address and resource, the container
// and the cache. Fixtures: tests/data/pictures (how they were made: the header of
// tests/platform/gfx/PictureDecodeTest.cpp); three.gif's frame delays are those that
// `gifsicle --info three.gif` reports (0.10 s, 0.20 s, 0.35 s).
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "PictureContainer.h"
#include "TestSupport.h"
#include "plat/Files.h"
#include "plat/Resources.h"

using namespace grid;
using plat::TColor;

namespace {

std::string Fixture(const char* name) {
    std::string bytes;
    const std::string path = std::string(TEST_SOURCE_DIR) + "/../../data/pictures/" + name;
    EXPECT_TRUE(plat::ReadFileBytes(plat::Utf8ToString(path), bytes)) << path;
    return bytes;
}

// The colour at (x, y) of the picture drawn at its own size on a white bitmap.
TColor DrawnPixel(const THTMLPicture& pic, int x, int y) {
    plat::TBitmap target(40, 40);
    pic.Draw(target.Canvas(), plat::Rect(0, 0, 40, 40));
    return target.Canvas()->Pixels(x, y);
}

TEST(HTMLPicture, GifFramesFollowTheFrameNumber) {
    THTMLPicture pic;
    pic.LoadFromBytes(Fixture("three.gif"));
    EXPECT_TRUE(pic.IsGIF());
    EXPECT_EQ(pic.FrameCount(), 3);
    EXPECT_EQ(pic.GetFrameTime(1), 10);
    EXPECT_EQ(pic.GetFrameTime(2), 20);
    EXPECT_EQ(pic.GetFrameTime(3), 35);
    EXPECT_EQ(pic.GetFrameTime(4), -1);
    EXPECT_EQ(pic.GetFrameTime(0), -1);
    EXPECT_EQ(pic.GetMaxWidth(), 12);
    EXPECT_EQ(pic.GetMaxHeight(), 8);

    int changes = 0;
    pic.OnFrameChange = [&](plat::TObject*) { ++changes; };
    const TColor colours[] = {plat::RGB(255, 0, 0), plat::RGB(0, 255, 0), plat::RGB(0, 0, 255)};
    for (int frame = 1; frame <= 3; ++frame) {
        SCOPED_TRACE(frame);
        pic.SetFrame(frame);
        EXPECT_EQ(DrawnPixel(pic, 6, 4), colours[frame - 1]);
        EXPECT_EQ(pic.Width(), 12);
    }
    EXPECT_EQ(changes, 3);
    pic.FrameNext();
    EXPECT_EQ(pic.Frame(), 1);
    pic.FramePrev();
    EXPECT_EQ(pic.Frame(), 3);
    pic.FramePrev();
    EXPECT_EQ(pic.Frame(), 2);
}

TEST(HTMLPicture, StepMovesOnWhenTheFrameDelayIsReached) {
    THTMLPicture pic;
    pic.LoadFromBytes(Fixture("three.gif"));
    // Delays 10, 20, 35: changes when 10 x earlier steps reaches 10, then 30, then 65.
    std::vector<int> changedAt;
    for (int call = 0; call < 8; ++call)
        if (pic.Step()) changedAt.push_back(call);
    EXPECT_EQ(changedAt, (std::vector<int>{1, 3, 7}));
    EXPECT_EQ(pic.Frame(), 1);

    THTMLPicture still;
    still.LoadFromBytes(Fixture("photo.jpg"));
    EXPECT_FALSE(still.Step());
}

// A GIF cut inside an image descriptor: the cut frame is not counted, nothing reads past the
// bytes (an exact-size copy under the sanitizer build), and the frames before it still show.
TEST(HTMLPicture, TruncatedGifFrameIsAbsent) {
    const std::string gif = Fixture("three.gif");
    std::size_t third = std::string::npos;
    for (std::size_t i = 0, seen = 0; i + 8 < gif.size(); ++i)
        if (static_cast<unsigned char>(gif[i]) == 0x21 && static_cast<unsigned char>(gif[i + 1]) == 0xF9 && ++seen == 3)
            third = i + 8;
    ASSERT_NE(third, std::string::npos);
    ASSERT_EQ(static_cast<unsigned char>(gif[third]), 0x2C);
    THTMLPicture pic;
    try {
        pic.LoadFromBytes(gif.substr(0, third + 5));
    } catch (const EInvalidGraphic&) {
    }
    EXPECT_EQ(pic.FrameCount(), 2);
    EXPECT_EQ(pic.GetFrameTime(3), -1);
    pic.SetFrame(2);
    EXPECT_EQ(DrawnPixel(pic, 6, 4), plat::RGB(0, 255, 0));
    pic.SetFrame(3);  // no such frame: frame 1 is what remains
    EXPECT_NO_FATAL_FAILURE(DrawnPixel(pic, 6, 4));
}

TEST(HTMLPicture, OtherKindsReportTheirSizeAndNoFrames) {
    struct Case {
        const char* file;
        int w, h;
    };
    for (const Case& c : {Case{"photo.jpg", 20, 10}, Case{"photo.bmp", 20, 10}, Case{"icon.ico", 16, 16}}) {
        SCOPED_TRACE(c.file);
        THTMLPicture pic;
        int changed = 0;
        pic.OnChange = [&](plat::TObject*) { ++changed; };
        pic.LoadFromBytes(Fixture(c.file));
        EXPECT_EQ(changed, 1);
        EXPECT_FALSE(pic.Empty());
        EXPECT_FALSE(pic.IsGIF());
        EXPECT_EQ(pic.FrameCount(), -1);
        EXPECT_EQ(pic.GetFrameTime(1), -1);
        EXPECT_EQ(pic.Width(), c.w);
        EXPECT_EQ(pic.Height(), c.h);
        EXPECT_EQ(pic.GetMaxWidth(), c.w);
        EXPECT_EQ(pic.GetMaxHeight(), c.h);
    }
}

TEST(HTMLPicture, StretchDrawsIntoTheWholeRectangle) {
    THTMLPicture pic;
    pic.LoadFromBytes(Fixture("three.gif"));
    pic.Stretch = true;
    EXPECT_EQ(DrawnPixel(pic, 38, 38), plat::RGB(255, 0, 0));
    pic.Stretch = false;
    EXPECT_EQ(DrawnPixel(pic, 38, 38), plat::clWhite);
}

TEST(HTMLPicture, UndecodableBytesLeaveItEmpty) {
    THTMLPicture pic;
    EXPECT_TRUE(testsupport::ThrowsWith<EInvalidGraphic>([&] { pic.LoadFromBytes("no picture"); },
                                                         u"Could not load image. Invalid format"));
    EXPECT_TRUE(pic.Empty());
    EXPECT_EQ(pic.Width(), 0);
    EXPECT_TRUE(testsupport::ThrowsWith<EInvalidGraphic>([&] { pic.LoadFromBytes(""); }, u"Empty image stream created"));
    pic.LoadFromStream(nullptr);  // no effect
    EXPECT_TRUE(pic.Empty());

    testsupport::TempDir dir;
    ASSERT_TRUE(plat::WriteFileAtomic(dir / u"bad.gif", "GIF89a garbage"));
    pic.LoadFromFile(dir / u"bad.gif");  // quiet
    EXPECT_TRUE(pic.Empty());
    pic.LoadFromFile(dir / u"missing.gif");
    EXPECT_TRUE(pic.Empty());
}

TEST(HTMLPicture, StreamingAndAssignKeepTheBytes) {
    THTMLPicture pic;
    pic.LoadFromBytes(Fixture("three.gif"));
    pic.SetFrame(2);
    plat::TMemoryStream stream;
    pic.WriteData(&stream);
    stream.SetPosition(0);
    THTMLPicture back;
    back.ReadData(&stream);
    EXPECT_EQ(back.Data(), pic.Data());
    EXPECT_EQ(back.FrameCount(), 3);
    EXPECT_EQ(back.Frame(), 1);

    THTMLPicture copy;
    copy.Assign(&pic);
    EXPECT_EQ(copy.Data(), pic.Data());
    EXPECT_FALSE(copy.Empty());
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(copy.Data().empty());

    // A count larger than the stream is refused, not allocated.
    plat::TMemoryStream lying;
    const std::uint32_t n = 0x7FFFFFFF;
    lying.WriteBuffer(&n, 4);
    lying.SetPosition(0);
    EXPECT_TRUE(testsupport::ThrowsWith<plat::EReadError>([&] { back.ReadData(&lying); }, u"Stream read error"));
}

TEST(HTMLPicture, AddressesLoadOnlyFromResourcesAndFiles) {
    const std::string gif = Fixture("three.gif");
    plat::RegisterResource(plat::RT_RCDATA, u"PictureTestLogo", gif.data(), gif.size());
    testsupport::TempDir dir;
    ASSERT_TRUE(plat::WriteFileAtomic(dir / u"p.jpg", Fixture("photo.jpg")));
    struct Case {
        plat::String url;
        bool loaded;
    };
    const Case cases[] = {
        {u"RES://PictureTestLogo", true},
        {u"res://picturetestlogo", true},
        {u"Res://NoSuchResource", false},
        {u"file://" + (dir / u"p.jpg"), true},
        {u"FILE://" + (dir / u"missing.jpg"), false},
        {u"http://127.0.0.1/x.gif", false},
        {u"https://example/logo.png", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(plat::StringToUtf8(c.url));
        THTMLPicture pic;
        pic.LoadFromURL(c.url);
        EXPECT_EQ(!pic.Empty(), c.loaded);
        EXPECT_EQ(pic.ID, c.url);
        EXPECT_FALSE(pic.Busy());
    }
    THTMLPicture net;
    net.LoadFromURL(u"http://127.0.0.1/x.gif");
    EXPECT_EQ(net.URL, u"http://127.0.0.1/x.gif");
}

TEST(PictureContainer, NamesCompareInAnyCaseCacheIDsExactly) {
    TPictureContainer container(nullptr);
    TPictureItem* logo = container.Items()->Add();
    logo->Name = u"Logo";
    logo->Picture()->LoadFromBytes(Fixture("photo.jpg"));
    container.Items()->Add()->Name = u"Other";
    EXPECT_EQ(container.FindPicture(u"LOGO"), logo->Picture());
    EXPECT_EQ(container.FindPicture(u"logo"), logo->Picture());
    EXPECT_EQ(container.FindPicture(u"Log"), nullptr);

    THTMLPictureCache cache;
    THTMLPicture* a = cache.AddPicture();
    a->ID = u"http://host/A.gif";
    EXPECT_EQ(cache.FindPicture(u"http://host/A.gif"), a);
    EXPECT_EQ(cache.FindPicture(u"http://host/a.gif"), nullptr);
    a->LoadFromBytes(Fixture("three.gif"));
    EXPECT_FALSE(cache.Animate());  // first tick only schedules
    EXPECT_TRUE(cache.Animate());
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);

    TPictureItem copy(nullptr);
    copy.Assign(logo);
    EXPECT_EQ(copy.Name, u"Logo");
    EXPECT_EQ(copy.Picture()->Data(), logo->Picture()->Data());
    EXPECT_NE(copy.Picture(), logo->Picture());
}

// Random damage to every fixture: loading answers or raises EInvalidGraphic, and frame
// counting, frame times and every frame choice stay inside the bytes.
TEST(HTMLPicture, DamagedPicturesNeverCrash) {
    std::mt19937 rng(121);
    for (const char* file : {"three.gif", "transp.gif", "photo.jpg", "icon.ico"}) {
        const std::string original = Fixture(file);
        for (int round = 0; round < 200; ++round) {
            std::string bytes = original;
            for (int e = 0; e < 1 + static_cast<int>(rng() % 4) && !bytes.empty(); ++e) {
                const std::size_t at = rng() % bytes.size();
                switch (rng() % 3) {
                case 0: bytes[at] = static_cast<char>(rng()); break;
                case 1: bytes.resize(at); break;
                default: bytes.insert(at, std::string(1 + rng() % 8, static_cast<char>(0x21))); break;
                }
            }
            bytes.shrink_to_fit();
            THTMLPicture pic;
            try {
                pic.LoadFromBytes(bytes);
            } catch (const EInvalidGraphic&) {
                EXPECT_TRUE(pic.Empty());
            }
            const int frames = pic.FrameCount();
            for (int f = 0; f <= frames + 1; ++f) {
                pic.GetFrameTime(f);
                pic.SetFrame(f);
            }
            pic.Step();
        }
    }
}

} // namespace
