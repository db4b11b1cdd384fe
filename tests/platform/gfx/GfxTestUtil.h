#pragma once
// Helpers for pixel tests on tiny bitmaps.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "GfxInit.h"
#include "TestSupport.h"
#include "plat/Graphics.h"

namespace gfxtest {

using namespace plat;

inline std::unique_ptr<TBitmap> MakeBitmap(int w, int h, TColor fill = clWhite) {
    auto b = std::make_unique<TBitmap>();
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(fill);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

inline void FillRandom(TBitmap& b, unsigned seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.Canvas()->SetPixels(x, y, static_cast<TColor>(rng() & 0xFFFFFF));
}

inline std::vector<TColor> Snapshot(TBitmap& b) {
    std::vector<TColor> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) out.push_back(b.Canvas()->Pixels(x, y));
    return out;
}

// One character per pixel: '#' where the pixel equals `ink`, '.' where it equals `paper`,
// '?' otherwise.
inline std::string Mask(TBitmap& b, TColor ink, TColor paper = clWhite) {
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas()->Pixels(x, y);
            s += c == ink ? '#' : c == paper ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) {
        s += r;
        s += '\n';
    }
    return s;
}

// Smallest rectangle holding every pixel that differs from `paper`; empty when none.
inline TRect InkBox(TBitmap& b, TColor paper) {
    TRect r{b.Width(), b.Height(), 0, 0};
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas()->Pixels(x, y) != paper) {
                r.Left = std::min(r.Left, x);
                r.Top = std::min(r.Top, y);
                r.Right = std::max(r.Right, x + 1);
                r.Bottom = std::max(r.Bottom, y + 1);
            }
    if (r.Right <= r.Left) return {};
    return r;
}

inline int CountInk(TBitmap& b, TColor paper) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.Canvas()->Pixels(x, y) != paper;
    return n;
}

inline std::string OutPath(const std::string& name) { return std::string(TEST_BINARY_DIR) + "/" + name; }

// Writes the render and a copy enlarged four times into TEST_PICTURES, for reviewers to
// look at; nothing is written while TEST_PICTURES is unset.
inline void SavePng(TBitmap& b, const std::string& name) {
    const std::string dir = testsupport::Picture_Dir();
    if (dir.empty()) return;
    const std::string p = dir + name;
    b.SaveToFile(String(p.begin(), p.end()));
    TBitmap big;
    big.SetSize(b.Width() * 4, b.Height() * 4);
    big.Canvas()->StretchDraw(Rect(0, 0, big.Width(), big.Height()), &b);
    const std::string z = dir + "x4_" + name;
    big.SaveToFile(String(z.begin(), z.end()));
}

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::gfx::EnsureGuiApplication();
        RestoreSysColors();
    }
};

} // namespace gfxtest
