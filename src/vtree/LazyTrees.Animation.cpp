// The expand/collapse animation of TBaseLazyTree: one or two horizontal bands of the window
// are scrolled step by step on the window's canvas while RunAnimation paces the steps on the
// layer's clock. Only the first step paints the strip its scroll uncovers; later steps only
// scroll, so the animation costs one blit per band and step.
#include <algorithm>
#include <cmath>

#include "LazyTrees.BaseTree.h"
#include "plat/Graphics.h"

namespace vtree {

namespace {

struct TAnimationBand {
    plat::TRect Rect;   // scrolled and clipping rectangle
    int Direction = 0;  // -1 up, +1 down, 0 not scrolled
    int Distance = 0;   // pixels over the whole animation
};

// Scrolls the band's pixels by Dy inside the band itself (the band is the scroll and the clip
// rectangle).
void ScrollBand(plat::TCanvas* Canvas, const plat::TRect& Band, int Dy)
{
    if (Dy == 0 || Band.Width() <= 0 || Band.Height() <= 0) return;
    plat::ScrollDC(Canvas, 0, Dy, Band, Band);
}

// The strip a scroll by Moved pixels uncovered: one pixel higher than the move, at the bottom
// of a band scrolled up and at the top of a band scrolled down.
void PaintUncoveredStrip(plat::TCanvas* Canvas, const TAnimationBand& Band, int Moved)
{
    if (Band.Direction == 0) return;
    const int height = Moved + 1;
    const plat::TRect& r = Band.Rect;
    const plat::TRect strip = Band.Direction < 0 ? plat::TRect{r.Left, r.Bottom - height, r.Right, r.Bottom}
                                                 : plat::TRect{r.Left, r.Top, r.Right, r.Top + height};
    const int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    Canvas->FillRect(strip);
    Canvas->RestoreDC(saved);
}

} // namespace

void TBaseLazyTree::AnimateToggle(PLazyNode Node, std::int64_t Distance, bool Expanding)
{
    if (!HandleAllocated() || Distance <= 0 || FAnimationDuration == 0 || HasState(tsInAnimation)) return;
    if (!GetFullyVisible(Node) || GetEffectivelyFiltered(Node)) return;
    const int D = static_cast<int>(std::min<std::int64_t>(Distance, 1 << 30));
    const int C = ClientHeight();
    const int W = ClientWidth();
    const int top = static_cast<int>(GetDisplayTop(Node)) + FOffsetY;
    const int h = Node->NodeHeight;
    const int range = static_cast<int>(FRangeY);
    if (Expanding && (top < 0 || top >= C)) return;
    const bool advanced = In(FOptions->AnimationOptions(), toAdvancedAnimatedToggle);
    TAnimationBand band1, band2;
    bool invalidateAll = false;
    if (GetChildrenAbove()) {
        // The children lie above the node: the band above it moves the opposite way.
        if (Expanding) band1 = {{0, 0, W, top}, -1, std::min(top, D)};
        else band1 = {{0, 0, W, top}, +1, std::min(top + 1, D)};
    } else if (!Expanding) {
        if (advanced && FOffsetY != 0 && range > C && range - D + FOffsetY < C) {
            band1 = {{0, 0, W, std::min(C, top + h)}, +1, std::min(-FOffsetY, C - FOffsetY - range + D)};
            invalidateAll = true;
        } else {
            band1 = {{0, top + h, W, C}, -1, std::min(C - (top + h) + 1, D)};
        }
    } else {
        const bool fits = h + D <= C && top + h + D <= C;
        if (fits || !In(FOptions->AutoOptions(), toAutoScrollOnExpand) || !advanced || top < 1) {
            band1 = {{0, top + h, W, C}, +1, std::min(C - (top + h), D)};
        } else {
            band1 = {{0, 0, W, top + h + 1}, -1, std::min(D + (top + h + 1) - C, top + 1)};
            band2 = {{0, top + h + 1, W, C}, +1, C - (top + h + 1)};
        }
    }
    for (TAnimationBand* b : {&band1, &band2})
        if (b->Distance <= 0 || b->Rect.Height() <= 0) b->Direction = 0;
    if (band1.Direction == 0 && band2.Direction == 0) return;
    if (band1.Rect.Top >= C) return;
    if (band2.Direction != 0 && band2.Distance > band1.Distance) std::swap(band1, band2);
    const double ratio = band1.Direction != 0 && band2.Direction != 0 ? double(band2.Distance) / band1.Distance : 0.0;
    double carry = 0;
    const int steps = band1.Direction != 0 ? band1.Distance : band2.Distance;

    Update();
    plat::TCanvas* canvas = Canvas();
    const int saved = canvas->SaveDC();
    struct Restore {
        plat::TCanvas* Canvas;
        int Saved;
        ~Restore() { Canvas->RestoreDC(Saved); }
    } restore{canvas, saved};
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(plat::bsSolid);
    RunAnimation(static_cast<std::uint32_t>(steps), FAnimationDuration, [&](std::uint32_t Step, int StepSize) {
        if (StepSize <= 0) return true;
        int moved1 = 0, moved2 = 0;
        if (band1.Direction != 0) {
            moved1 = StepSize;
            ScrollBand(canvas, band1.Rect, band1.Direction * moved1);
        }
        if (band2.Direction != 0) {
            if (band1.Direction == 0) {
                moved2 = StepSize;
            } else if (ratio > 0) {
                // Nearest integer, halves to even (the default rounding mode).
                moved2 = static_cast<int>(std::nearbyint((StepSize + carry) * ratio));
                carry = StepSize * ratio + carry - moved2;
            }
            ScrollBand(canvas, band2.Rect, band2.Direction * moved2);
        }
        if (Step == 0) {
            PaintUncoveredStrip(canvas, band1, moved1);
            PaintUncoveredStrip(canvas, band2, moved2);
        }
        return true;
    });
    if (invalidateAll) InvalidateTree();
}

} // namespace vtree
