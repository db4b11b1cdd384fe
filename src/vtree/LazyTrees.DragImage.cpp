// The drag image in a layered top-level window (see LazyTrees.DragImage.h).
#include "LazyTrees.DragImage.h"

#include <algorithm>
#include <cmath>

#include "LazyTrees.BaseTree.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

// A top-level window that shows a picture with per-pixel alpha, takes no input and never the
// activation.
class TLTDragImageWindow : public plat::TCustomControl {
public:
    TLTDragImageWindow() : plat::TCustomControl(nullptr)
    {
        SetVisible(false);
        SetBounds(0, 0, 0, 0);
        SetWindowStyle(plat::WS_POPUP | plat::WS_DISABLED);
        SetWindowExStyle(plat::WS_EX_TOPMOST | plat::WS_EX_TOOLWINDOW | plat::WS_EX_LAYERED | plat::WS_EX_TRANSPARENT);
    }
    String ClassName() const override { return u"TLTDragImageWindow"; }
};

namespace {

std::uint8_t Biased(int Channel, int Bias) { return static_cast<std::uint8_t>(std::clamp(Channel + Bias, 0, 255)); }

} // namespace

TLTDragImage::TLTDragImage(TBaseLazyTree* AOwner) : FOwner(AOwner) {}

TLTDragImage::~TLTDragImage() { EndDrag(); }

plat::TWinControl* TLTDragImage::Window() const { return FWindow.get(); }

bool TLTDragImage::Visible() const
{
    return (FStates & (DisBit(disInDrag) | DisBit(disPrepared))) == (DisBit(disInDrag) | DisBit(disPrepared)) &&
           (FStates & (DisBit(disHidden) | DisBit(disSystemSupport))) == 0;
}

void TLTDragImage::SetTransparency(TLTTransparency Value)
{
    if (Value == FTransparency) return;
    FTransparency = Value;
    if (Visible()) UpdateWindowPicture();
}

void TLTDragImage::SetPostBlendBias(TLTBias Value)
{
    if (Value == FPostBlendBias) return;
    FPostBlendBias = Value;
    if (Visible()) UpdateWindowPicture();
}

void TLTDragImage::SetFade(bool Value)
{
    if (Value == FFade) return;
    FFade = Value;
    if (Visible()) UpdateWindowPicture();
}

void TLTDragImage::PrepareDrag(const plat::TBitmap* DragImage, TPoint ImagePosition, TPoint HotSpot, const void*)
{
    EndDrag();
    // No shell helper draws the picture for us.
    FStates &= ~DisBit(disSystemSupport);
    if (!DragImage || DragImage->Width() <= 0 || DragImage->Height() <= 0) return;
    const int w = DragImage->Width(), h = DragImage->Height();
    FLastPosition = HotSpot;
    FDragImage = std::make_unique<plat::TBitmap>(w, h);
    FDragImage->SetPixelFormat(plat::pf32bit);
    const bool keyed = FColorKey != NoColorKey;
    const std::uint8_t keyR = static_cast<std::uint8_t>(FColorKey & 0xFF);
    const std::uint8_t keyG = static_cast<std::uint8_t>((FColorKey >> 8) & 0xFF);
    const std::uint8_t keyB = static_cast<std::uint8_t>((FColorKey >> 16) & 0xFF);
    const double m = std::max(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* src = static_cast<const std::uint8_t*>(DragImage->ScanLine(y));
        auto* dst = static_cast<std::uint8_t*>(FDragImage->ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* s = src + 4 * x;
            std::uint8_t* d = dst + 4 * x;
            for (int c = 0; c < 3; ++c) d[c] = FPreBlendBias != 0 ? Biased(s[c], FPreBlendBias) : s[c];
            if (keyed && s[0] == keyB && s[1] == keyG && s[2] == keyR) {
                d[3] = 0;
                continue;
            }
            const double dx = (x - w / 2) / m, dy = (y - h / 2) / m;
            d[3] = static_cast<std::uint8_t>(std::lround(255.0 * std::exp(-8.0 * std::sqrt(dx * dx + dy * dy))));
        }
    }
    FImagePosition = ImagePosition;
    FStates |= DisBit(disHidden) | DisBit(disInDrag) | DisBit(disPrepared);
}

void TLTDragImage::UpdateWindowPicture()
{
    if (!FDragImage || !FWindow) return;
    const int w = FDragImage->Width(), h = FDragImage->Height();
    // Per-pixel alpha when fading or keyed; the whole picture at the master alpha otherwise.
    const bool perPixel = FFade || FColorKey != NoColorKey;
    plat::TBitmap shown(w, h);
    shown.SetPixelFormat(plat::pf32bit);
    for (int y = 0; y < h; ++y) {
        const auto* s = static_cast<const std::uint8_t*>(FDragImage->ScanLine(y));
        auto* d = static_cast<std::uint8_t*>(shown.ScanLine(y));
        for (int x = 0; x < w; ++x, s += 4, d += 4) {
            const int a = perPixel ? s[3] : 255;
            for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(Biased(s[c], FPostBlendBias) * a / 255);
            d[3] = static_cast<std::uint8_t>(a);
        }
    }
    plat::UpdateLayeredWindow(FWindow->Handle(), &shown, FTransparency);
}

void TLTDragImage::ShowDragImage()
{
    const TLTDragImageStates need = DisBit(disHidden) | DisBit(disInDrag) | DisBit(disPrepared);
    if ((FStates & need) != need || (FStates & DisBit(disSystemSupport))) return;
    FStates &= ~DisBit(disHidden);
    if (!FWindow) FWindow = std::make_unique<TLTDragImageWindow>();
    FWindow->SetBounds(FImagePosition.X, FImagePosition.Y, FDragImage->Width(), FDragImage->Height());
    UpdateWindowPicture();
    plat::ShowWindow(FWindow->Handle(), plat::SW_SHOWNOACTIVATE);
}

void TLTDragImage::HideDragImage()
{
    if (!Visible()) return;
    FStates |= DisBit(disHidden);
    if (FWindow) plat::ShowWindow(FWindow->Handle(), plat::SW_HIDE);
}

void TLTDragImage::EndDrag()
{
    HideDragImage();
    FStates &= ~(DisBit(disInDrag) | DisBit(disPrepared));
    FDragImage.reset();
    FWindow.reset();
}

TRect TLTDragImage::GetDragImageRect() const
{
    if (!Visible()) return TRect{};
    return TRect{FImagePosition.X, FImagePosition.Y, FImagePosition.X + FDragImage->Width(),
                 FImagePosition.Y + FDragImage->Height()};
}

bool TLTDragImage::WillMove(TPoint P) const
{
    if (!Visible()) return false;
    switch (FRestriction) {
    case dmrHorizontalOnly: return P.X != FLastPosition.X;
    case dmrVerticalOnly: return P.Y != FLastPosition.Y;
    default: return P.X != FLastPosition.X || P.Y != FLastPosition.Y;
    }
}

bool TLTDragImage::DragTo(TPoint P, bool ForceRepaint)
{
    int dx = FLastPosition.X - P.X, dy = FLastPosition.Y - P.Y;
    if (FRestriction == dmrHorizontalOnly) dy = 0;
    if (FRestriction == dmrVerticalOnly) dx = 0;
    if (dx == 0 && dy == 0 && !ForceRepaint) return false;
    if (Visible()) {
        FImagePosition.X -= dx;
        FImagePosition.Y -= dy;
        if (ForceRepaint && FOwner && FOwner->HandleAllocated()) plat::UpdateWindow(FOwner->Handle());
        FWindow->SetBounds(FImagePosition.X, FImagePosition.Y, FWindow->Width(), FWindow->Height());
    }
    FLastPosition = P;
    return true;
}

} // namespace vtree
