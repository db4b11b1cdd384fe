// PaintFadeButton on a bare bitmap: background, edges and face colour of every style and
// state, probed pixel by pixel on a 40 × 20 face without caption or glyph.
#include <gtest/gtest.h>

#include <vector>

#include "FadeButtons.h"
#include "plat/Graphics.h"

using namespace controls;
using namespace plat;

namespace {

constexpr TColor Face = 0x302010;
constexpr TColor Light = 0xF0E0D0;
constexpr TColor Shadow = 0x404040;
constexpr TColor Hot = 0x00FFFF;
constexpr TColor Down = 0x0080FF;
constexpr TColor Key = FadeTransparentKey;
constexpr TColor Dark = 0x696969;  // the 3-D dark shadow of the layer's colour table
constexpr int W = 40;
constexpr int H = 20;

struct Probe {
    int x, y;
    TColor colour;
};

struct Case {
    const char* what;
    TFadeButtonStyle style;
    bool down = false;
    bool flat = false;
    bool hot = false;
    bool enabled = true;
    int step = 0;
    std::vector<Probe> probes;
};

TEST(FadeButtonPaint, EdgesAndFaceOfEveryStyle)
{
    using S = TFadeButtonStyle;
    const TColor half = BlendHotColor(Face, Hot, 4);
    const Case cases[] = {
        {"normal", S::bsNormal, false, false, false, true, 0,
         {{0, 0, Light}, {0, 10, Light}, {0, H - 1, Light}, {20, 0, Light}, {W - 1, 0, Shadow},
          {W - 1, 10, Shadow}, {W - 1, H - 1, Shadow}, {20, H - 1, Shadow}, {5, 5, Face}}},
        {"normal pressed swaps the edges", S::bsNormal, true, false, false, true, 0,
         {{0, 0, Shadow}, {20, 0, Shadow}, {W - 1, 10, Light}, {20, H - 1, Light}, {5, 5, Down}}},
        {"encarta", S::bsEncarta, false, false, false, true, 0, {{0, 0, Light}, {W - 1, 10, Shadow}, {5, 5, Face}}},
        {"flat without hover has no edges", S::bsEncarta, false, true, false, true, 0,
         {{0, 0, Face}, {W - 1, H - 1, Face}}},
        {"flat while hot", S::bsNormal, false, true, true, true, 0, {{0, 0, Light}, {W - 1, H - 1, Shadow}}},
        {"flat, hot but disabled", S::bsNormal, false, true, true, false, 0, {{0, 0, Face}}},
        {"half-way hot", S::bsEncarta, false, false, true, true, 4, {{5, 5, half}}},
        {"full hot", S::bsEncarta, false, false, true, true, 8, {{5, 5, Hot}}},
        {"pressed colour wins over hot", S::bsEncarta, true, false, true, true, 8, {{5, 5, Down}}},
        {"disabled: never hot, never pressed", S::bsEncarta, true, false, true, false, 8,
         {{5, 5, Face}, {0, 0, Light}}},
        {"classic", S::bsOld, false, false, false, true, 0,
         {{0, 0, Light}, {0, 10, Light}, {20, 0, Light}, {W - 2, 10, Shadow}, {20, H - 2, Shadow},
          {W - 1, 0, Dark}, {W - 1, 10, Dark}, {20, H - 1, Dark}, {0, H - 1, Dark}, {5, 5, Face}}},
        {"classic pressed", S::bsOld, true, false, false, true, 0,
         {{0, 10, Dark}, {20, 0, Dark}, {1, 10, Shadow}, {20, 1, Shadow}, {W - 1, 10, Light},
          {20, H - 1, Light}, {5, 5, Down}}},
        // A gradient shorter than its 32 bands stacks several bands on one row, the last one
        // winning: row 2 shows band 10 of light -> face, row 5 band 2 of face -> light.
        {"modern", S::bsModern, false, false, false, true, 0,
         {{0, 0, Key}, {20, 0, Shadow}, {20, H - 1, Shadow}, {20, 1, Face}, {20, 2, 0xB2A292}, {20, H / 4, 0x3C2C1C}}},
        // Pressed: the face is the pressed colour and the split row moves down to 6 (band 7 on row 2).
        {"modern pressed", S::bsModern, true, false, false, true, 0, {{20, 1, Shadow}, {20, 2, 0xB9CADA}}},
        {"quicken", S::bsQuicken, false, false, false, true, 0,
         {{3, 0, Key}, {4, 0, Shadow}, {W - 6, 0, Shadow}, {W - 5, 0, Key}, {20, H - 1, Shadow}, {20, 10, Face}}},
        {"shape leaves everything transparent", S::bsShape, true, false, true, true, 8,
         {{0, 0, Key}, {20, 10, Key}, {W - 1, H - 1, Key}}},
    };
    TFont font;
    for (const Case& c : cases) {
        TBitmap bitmap(W, H);
        bitmap.Canvas()->Brush()->SetColor(Key);
        bitmap.Canvas()->FillRect({0, 0, W, H});
        TFadePaintInput in;
        in.Width = W;
        in.Height = H;
        in.Font = &font;
        in.Color = Face;
        in.LightColor = Light;
        in.ShadowColor = Shadow;
        in.HotTrackColor = Hot;
        in.ColorWhenDown = Down;
        in.Style = c.style;
        in.Down = c.down;
        in.Flat = c.flat;
        in.Hot = c.hot;
        in.Enabled = c.enabled;
        in.HotTrackStep = c.step;
        PaintFadeButton(*bitmap.Canvas(), in);
        for (const Probe& p : c.probes)
            EXPECT_EQ(bitmap.Canvas()->Pixels(p.x, p.y), p.colour)
                << c.what << " at " << p.x << "," << p.y << std::hex << ": expected " << p.colour << " got "
                << bitmap.Canvas()->Pixels(p.x, p.y);
    }
}

TEST(FadeButtonPaint, UnsetHotColourLeavesTheFace)
{
    TFont font;
    TBitmap bitmap(W, H);
    TFadePaintInput in;
    in.Width = W;
    in.Height = H;
    in.Font = &font;
    in.Color = clBtnFace;
    in.HotTrackColor = clNone;
    in.Hot = true;
    in.HotTrackStep = 8;
    in.Style = TFadeButtonStyle::bsEncarta;
    PaintFadeButton(*bitmap.Canvas(), in);
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 5), ColorToRGB(clBtnFace));
}

} // namespace

namespace {

TEST(FadeButtonPaint, GlyphImageFollowsTheStateAndLeavesItsKeyColourOut)
{
    // Four 10 × 10 images: normal red, disabled grey, pressed blue, hot yellow; each with the
    // key colour in its bottom-left pixel.
    constexpr TColor images[] = {0x0000FF, 0x808080, 0xFF0000, 0x00FFFF};
    constexpr TColor key = 0x123456;
    TBitmap strip(40, 10);
    for (int i = 0; i < 4; ++i) {
        strip.Canvas()->Brush()->SetColor(images[i]);
        strip.Canvas()->FillRect({i * 10, 0, i * 10 + 10, 10});
        strip.Canvas()->SetPixels(i * 10, 9, key);
    }
    struct Case {
        const char* what;
        int numGlyphs;
        bool hot, down, enabled;
        TColor expected;
    };
    const Case cases[] = {
        {"normal", 4, false, false, true, images[0]},
        {"hot", 4, true, false, true, images[3]},
        {"pressed beats hot", 4, true, true, true, images[2]},
        {"disabled", 4, true, true, false, images[1]},
        {"hot without a hot image", 3, true, false, true, images[0]},
        {"pressed without a pressed image", 2, false, true, true, images[0]},
    };
    TFont font;
    for (const Case& c : cases) {
        TBitmap bitmap(W, H);
        TFadePaintInput in;
        in.Width = W;
        in.Height = H;
        in.Font = &font;
        in.Color = Face;
        in.Style = TFadeButtonStyle::bsNormal;
        in.Alignment = TFadeAlignment::taLeftJustify;
        in.Glyph = &strip;
        in.NumGlyphs = c.numGlyphs;
        in.Hot = c.hot;
        in.Down = c.down;
        in.Enabled = c.enabled;
        PaintFadeButton(*bitmap.Canvas(), in);
        // Left layout, left alignment: the image starts at (4, 5), one pixel further when pressed.
        const int s = c.down && c.enabled ? 1 : 0;
        EXPECT_EQ(bitmap.Canvas()->Pixels(8 + s, 9 + s), c.expected) << c.what;
        EXPECT_EQ(bitmap.Canvas()->Pixels(4 + s, 14 + s), ColorToRGB(Face)) << c.what << ": key pixel drawn";
        EXPECT_EQ(bitmap.Canvas()->Pixels(5 + s, 14 + s), c.expected) << c.what;
    }
}

} // namespace

namespace {

// Runs of rows holding black ink.
int InkLines(TBitmap& bitmap)
{
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < bitmap.Height(); ++y) {
        bool ink = false;
        for (int x = 2; x < bitmap.Width() - 2 && !ink; ++x)
            ink = bitmap.Canvas()->Pixels(x, y) == 0x000000;
        lines += ink && !inLine;
        inLine = ink;
    }
    return lines;
}

TEST(FadeButtonPaint, LongCaptionIsShortenedToOneLineUnlessItMayWrap)
{
    struct Case {
        bool wordWrap;
        int minLines, maxLines;
    };
    TFont font;
    font.SetName(u"Verdana");
    font.SetSize(8);
    font.SetColor(0x000000);
    for (const Case c : {Case{false, 1, 1}, Case{true, 2, 4}}) {
        TBitmap bitmap(110, 60);
        TFadePaintInput in;
        in.Width = 110;
        in.Height = 60;
        in.Font = &font;
        in.Color = 0xFFFFFF;
        in.LightColor = 0xFFFFFF;
        in.ShadowColor = 0xFFFFFF;
        in.Style = TFadeButtonStyle::bsEncarta;
        in.Caption = u"Set the Modbus Master Rules of the converter";
        in.WordWrap = c.wordWrap;
        PaintFadeButton(*bitmap.Canvas(), in);
        const int lines = InkLines(bitmap);
        EXPECT_GE(lines, c.minLines) << "word wrap " << c.wordWrap;
        EXPECT_LE(lines, c.maxLines) << "word wrap " << c.wordWrap;
    }
}

} // namespace
