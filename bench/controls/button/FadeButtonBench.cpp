// Painting cost of the program's usual button: 110 × 28, Encarta, cream face, one-image
// glyph, centred caption.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "FadeButton.h"
#include "FadeButtonGlyphs.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

using namespace controls;
using namespace plat;

namespace {

std::unique_ptr<TBitmap> OneImageGlyph()
{
    auto strip = std::make_unique<TBitmap>();
    LoadFadeGlyph(*strip, "LBOK");
    strip->SetWidth(18);  // keep the normal image only
    return strip;
}

TFont ProgramFont()
{
    TFont f;
    f.SetName(u"Verdana");
    f.SetSize(8);
    return f;
}

TFadePaintInput EncartaInput(const TFont& font, const TBitmap& glyph)
{
    TFadePaintInput in;
    in.Width = 110;
    in.Height = 28;
    in.Caption = u"Cancel";
    in.Font = &font;
    in.Style = TFadeButtonStyle::bsEncarta;
    in.Color = 0xEDF7F8;
    in.LightColor = 0x808080;
    in.ShadowColor = 0x808080;
    in.HotTrackColor = 0x00FFFF;
    in.ColorWhenDown = 0x0080FF;
    in.Glyph = &glyph;
    in.NumGlyphs = 1;
    return in;
}

// The face alone, on a bitmap.
void BM_PaintFadeButtonEncarta(benchmark::State& state)
{
    const auto glyph = OneImageGlyph();
    const TFont font = ProgramFont();
    const TFadePaintInput in = EncartaInput(font, *glyph);
    TBitmap target(110, 28);
    for (auto _ : state) {
        PaintFadeButton(*target.Canvas(), in);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintFadeButtonEncarta);

struct ExposedButton : TFadeButton {
    using TFadeButton::TFadeButton;
    using TFadeButton::Paint;
};

// The control's whole paint: off-screen bitmap, font copy, face, copy to the window surface.
void BM_FadeButtonPaint(benchmark::State& state)
{
    TForm form(nullptr);
    auto* b = new ExposedButton(&form);
    b->SetParent(&form);
    b->SetBounds(10, 10, 110, 28);
    b->SetStyle(TFadeButtonStyle::bsEncarta);
    b->SetColor(0xEDF7F8);
    b->SetLightColor(0x808080);
    b->SetShadowColor(0x808080);
    b->SetHotTrackColor(0x00FFFF);
    b->SetColorWhenDown(0x0080FF);
    const TFont font = ProgramFont();
    b->SetFont(&font);
    const auto glyph = OneImageGlyph();
    b->SetGlyph(glyph.get());
    b->SetCaption(u"Cancel");
    for (auto _ : state)
        b->Paint();
}
BENCHMARK(BM_FadeButtonPaint);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
