// A markup cell of about 100 characters with six tags and a link: measuring and drawing it
// with DrawMarkupText, beside the peer, one plain DrawText of its visible text on the same
// canvas with the same font.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "EsgHTMLE.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"

namespace {

const char16_t kCell[] = u"Meter <B>42</B> at <I>floor 3</I>: <FONT COLOR=\"clred\">alarm</FONT> since "
                         u"<U>10:15</U>, see <A HREF=\"log\">the log</A> <E>now</E>";

struct Surface {
    plat::TBitmap bmp{400, 40};
    Surface() {
        bmp.Canvas()->Font()->SetName(u"Tahoma");
        bmp.Canvas()->Font()->SetSize(8);
    }
};

void Run(benchmark::State& state, bool measureOnly) {
    Surface s;
    grid::TMarkupDrawInput in;
    in.Canvas = s.bmp.Canvas();
    in.Text = kCell;
    in.Rect = plat::TRect(0, 0, 400, 40);
    in.XPos = 300;
    in.YPos = 5;
    in.MeasureOnly = measureOnly;
    grid::TMarkupDrawResult out;
    for (auto _ : state) {
        grid::DrawMarkupText(in, out);
        benchmark::DoNotOptimize(out.XSize);
    }
}

void BM_MarkupMeasure(benchmark::State& state) { Run(state, true); }
void BM_MarkupDraw(benchmark::State& state) { Run(state, false); }

void BM_PlainDrawTextPeer(benchmark::State& state) {
    Surface s;
    const plat::String visible = grid::MarkupToPlainText(kCell);
    for (auto _ : state) {
        plat::TRect r(0, 0, 400, 40);
        s.bmp.Canvas()->DrawText(visible, r, plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_END_ELLIPSIS);
        benchmark::DoNotOptimize(r);
    }
}

} // namespace

BENCHMARK(BM_MarkupMeasure)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarkupDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainDrawTextPeer)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
    plat::Application->Initialize();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
