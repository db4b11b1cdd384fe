// The paint mix of a 110 x 28 button face: fill, frame lines, caption, focus rectangle.
#include <benchmark/benchmark.h>

#include "GfxInit.h"
#include "plat/Graphics.h"

using namespace plat;

static void BM_ButtonFace(benchmark::State& state) {
    gfx::EnsureGuiApplication();
    TBitmap face;
    face.SetSize(110, 28);
    TCanvas* c = face.Canvas();
    c->Font()->SetName(u"Verdana");
    c->Font()->SetSize(8);
    for (auto _ : state) {
        c->Brush()->SetColor(0xEDF7F8);
        c->FillRect(Rect(0, 0, 110, 28));
        c->Pen()->SetColor(0x808080);
        c->MoveTo(0, 27);
        c->LineTo(0, 0);
        c->LineTo(109, 0);
        c->LineTo(109, 27);
        c->LineTo(0, 27);
        c->Brush()->SetStyle(bsClear);
        TRect r = Rect(4, 7, 106, 21);
        DrawText(c, u"Configuration", r, DT_WORDBREAK | DT_CENTER);
        c->Brush()->SetColor(0x808080);
        c->FrameRect(Rect(2, 2, 108, 26));
        c->DrawFocusRect(Rect(4, 4, 106, 24));
        benchmark::DoNotOptimize(c->Pixels(5, 5));
    }
}
BENCHMARK(BM_ButtonFace);

// The plain mix: background, caption, frame.
static void BM_FillTextFrame(benchmark::State& state) {
    gfx::EnsureGuiApplication();
    TBitmap face;
    face.SetSize(110, 28);
    TCanvas* c = face.Canvas();
    c->Font()->SetName(u"Verdana");
    c->Font()->SetSize(8);
    for (auto _ : state) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(0xEDF7F8);
        c->FillRect(Rect(0, 0, 110, 28));
        c->Brush()->SetStyle(bsClear);
        c->TextOut(20, 8, u"Configuration");
        c->Brush()->SetColor(0x808080);
        c->FrameRect(Rect(0, 0, 110, 28));
        benchmark::DoNotOptimize(c->Pixels(5, 5));
    }
}
BENCHMARK(BM_FillTextFrame);

static void BM_TextOut(benchmark::State& state) {
    gfx::EnsureGuiApplication();
    TBitmap face;
    face.SetSize(110, 28);
    TCanvas* c = face.Canvas();
    c->Font()->SetName(u"Verdana");
    c->Font()->SetSize(8);
    c->Brush()->SetStyle(bsClear);
    for (auto _ : state) c->TextOut(4, 7, u"Configuration");
}
BENCHMARK(BM_TextOut);

static void BM_TransparentDraw(benchmark::State& state) {
    gfx::EnsureGuiApplication();
    TBitmap face, glyph;
    face.SetSize(110, 28);
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clNavy);
    glyph.Canvas()->FillRect(Rect(4, 4, 12, 12));
    glyph.SetTransparent(true);
    for (auto _ : state) face.Canvas()->Draw(8, 6, &glyph);
}
BENCHMARK(BM_TransparentDraw);

static void BM_TextWidth(benchmark::State& state) {
    gfx::EnsureGuiApplication();
    TBitmap face;
    face.SetSize(8, 8);
    TCanvas* c = face.Canvas();
    c->Font()->SetName(u"Verdana");
    c->Font()->SetSize(8);
    for (auto _ : state) benchmark::DoNotOptimize(c->TextWidth(u"Configuration"));
}
BENCHMARK(BM_TextWidth);

BENCHMARK_MAIN();
