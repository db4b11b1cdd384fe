// The drag image in a layered top-level window (see LazyTrees.DragImage.h).
#include "LazyTrees.DragImage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Utils.h"
#include "plat/DragDrop.h"
#include "plat/Forms.h"
#include "plat/ScreenCapture.h"

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

// The desktop: the image's own window shows the composed picture, so whatever it leaves
// uncovered shows again by itself; giving back the whole background hides the window.
class TLTDragImageDesktop : public TLTDragImageScreen {
public:
    explicit TLTDragImageDesktop(std::unique_ptr<TLTDragImageWindow>& Window) : FWindow(Window) {}
    void Capture(const TRect& R, plat::TBitmap& Into, TPoint At) override
    {
        // The screen below the image's own window, never the image itself.
        plat::TBitmap shot;
        plat::CaptureScreen(R, shot, FWindow ? FWindow->Handle() : 0);
        shot.SetPixelFormat(plat::pf32bit);
        CopyPixels(shot, {0, 0, R.Width(), R.Height()}, Into, At);
    }
    void Restore(const plat::TBitmap& Back, const TRect& Part, TPoint) override
    {
        if (FWindow && Part.Left <= 0 && Part.Top <= 0 && Part.Right >= Back.Width() && Part.Bottom >= Back.Height())
            plat::ShowWindow(FWindow->Handle(), plat::SW_HIDE);
    }
    void Present(const plat::TBitmap& Picture, TPoint Position) override
    {
        if (!FWindow) FWindow = std::make_unique<TLTDragImageWindow>();
        FWindow->SetBounds(Position.X, Position.Y, Picture.Width(), Picture.Height());
        plat::UpdateLayeredWindow(FWindow->Handle(), &Picture, 255);
        plat::ShowWindow(FWindow->Handle(), plat::SW_SHOWNOACTIVATE);
    }
    // Copies From's Part to Into at At, leaving out what falls outside either bitmap.
    static void CopyPixels(const plat::TBitmap& From, TRect Part, plat::TBitmap& Into, TPoint At)
    {
        // Clipped to both bitmaps, then copied row by row.
        int l = std::max({Part.Left, 0, Part.Left - At.X}), t = std::max({Part.Top, 0, Part.Top - At.Y});
        int r = std::min({Part.Right, From.Width(), Part.Left + Into.Width() - At.X});
        int b = std::min({Part.Bottom, From.Height(), Part.Top + Into.Height() - At.Y});
        if (r <= l || b <= t) return;
        for (int y = t; y < b; ++y)
            std::memcpy(static_cast<std::uint8_t*>(Into.ScanLine(At.Y + y - Part.Top)) + 4 * (At.X + l - Part.Left),
                        static_cast<const std::uint8_t*>(From.ScanLine(y)) + 4 * l, std::size_t(4) * (r - l));
    }

private:
    std::unique_ptr<TLTDragImageWindow>& FWindow;
};

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
    if (Visible()) DrawAtImagePosition();
}

void TLTDragImage::SetPostBlendBias(TLTBias Value)
{
    if (Value == FPostBlendBias) return;
    FPostBlendBias = Value;
    if (Visible()) DrawAtImagePosition();
}

void TLTDragImage::SetFade(bool Value)
{
    if (Value == FFade) return;
    FFade = Value;
    if (Visible()) DrawAtImagePosition();
}

void TLTDragImage::PrepareDrag(const plat::TBitmap* DragImage, TPoint ImagePosition, TPoint HotSpot,
                               const plat::IDataObject* DataObject)
{
    EndDrag();
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
    FBackImage = std::make_unique<plat::TBitmap>(w, h);
    FBackImage->SetPixelFormat(plat::pf32bit);
    FAlphaImage = std::make_unique<plat::TBitmap>(w, h);
    FAlphaImage->SetPixelFormat(plat::pf32bit);
    FImagePosition = ImagePosition;
    FStates |= DisBit(disHidden) | DisBit(disInDrag) | DisBit(disPrepared);
    if (DataObject && plat::SetSystemDragImage(DataObject, *SystemPicture(),
                                               {HotSpot.X - ImagePosition.X, HotSpot.Y - ImagePosition.Y}))
        FStates |= DisBit(disSystemSupport);
}

std::unique_ptr<plat::TBitmap> TLTDragImage::SystemPicture() const
{
    // The alpha the blend of DrawAtImagePosition uses: per pixel times the master alpha when
    // fading or keyed, else the master alpha alone (keyed pixels stay clear).
    const int w = FDragImage->Width(), h = FDragImage->Height();
    auto shown = std::make_unique<plat::TBitmap>(w, h);
    shown->SetPixelFormat(plat::pf32bit);
    const bool perPixel = FFade || FColorKey != NoColorKey;
    for (int y = 0; y < h; ++y) {
        const auto* s = static_cast<const std::uint8_t*>(FDragImage->ScanLine(y));
        auto* d = static_cast<std::uint8_t*>(shown->ScanLine(y));
        for (int x = 0; x < 4 * w; x += 4) {
            std::memcpy(d + x, s + x, 3);
            d[x + 3] = perPixel ? static_cast<std::uint8_t>((s[x + 3] * FTransparency + 127) / 255) : FTransparency;
        }
    }
    return shown;
}

void TLTDragImage::SetScreen(std::unique_ptr<TLTDragImageScreen> Screen) { FScreen = std::move(Screen); }

void TLTDragImage::Capture(const TRect& R, plat::TBitmap& Into, TPoint At)
{
    if (R.IsEmpty()) return;
    if (FScreen) FScreen->Capture(R, Into, At);
    else TLTDragImageDesktop(FWindow).Capture(R, Into, At);
}

void TLTDragImage::Restore(const TRect& Part)
{
    if (Part.IsEmpty() || !FBackImage) return;
    if (FScreen) FScreen->Restore(*FBackImage, Part, FImagePosition);
    else TLTDragImageDesktop(FWindow).Restore(*FBackImage, Part, FImagePosition);
}

void TLTDragImage::DrawAtImagePosition()
{
    if (!FDragImage || !FBackImage || !FAlphaImage) return;
    const int w = FDragImage->Width(), h = FDragImage->Height();
    TLTDragImageDesktop::CopyPixels(*FBackImage, {0, 0, w, h}, *FAlphaImage, {0, 0});
    // Per-pixel alpha scaled by the master alpha when fading or keyed; the master alpha alone
    // otherwise.
    const bool perPixel = FFade || FColorKey != NoColorKey;
    AlphaBlendArea(FDragImage.get(), FAlphaImage.get(), {0, 0, w, h}, {0, 0}, perPixel ? amMaster : amConstant,
                   FTransparency, FPostBlendBias);
    // What is shown is the screen itself: fully opaque.
    for (int y = 0; y < h; ++y) {
        auto* d = static_cast<std::uint8_t*>(FAlphaImage->ScanLine(y));
        for (int x = 0; x < w; ++x) d[4 * x + 3] = 255;
    }
    if (FScreen) FScreen->Present(*FAlphaImage, FImagePosition);
    else TLTDragImageDesktop(FWindow).Present(*FAlphaImage, FImagePosition);
}

void TLTDragImage::ShowDragImage()
{
    const TLTDragImageStates need = DisBit(disHidden) | DisBit(disInDrag) | DisBit(disPrepared);
    if ((FStates & need) != need || (FStates & DisBit(disSystemSupport))) return;
    FStates &= ~DisBit(disHidden);
    if (FOwner && FOwner->HandleAllocated()) plat::UpdateWindow(FOwner->Handle());
    const int w = FDragImage->Width(), h = FDragImage->Height();
    Capture({FImagePosition.X, FImagePosition.Y, FImagePosition.X + w, FImagePosition.Y + h}, *FBackImage, {0, 0});
    DrawAtImagePosition();
}

void TLTDragImage::HideDragImage()
{
    if (!Visible()) return;
    FStates |= DisBit(disHidden);
    Restore({0, 0, FBackImage->Width(), FBackImage->Height()});
}

void TLTDragImage::EndDrag()
{
    HideDragImage();
    FStates &= ~(DisBit(disInDrag) | DisBit(disPrepared) | DisBit(disSystemSupport));
    FDragImage.reset();
    FBackImage.reset();
    FAlphaImage.reset();
    FWindow.reset();
}

void TLTDragImage::RecaptureBackground(TBaseLazyTree* Tree, TRect Rect, bool UpdateNow, bool IncludeFrame)
{
    (void)IncludeFrame;
    if (!Visible() || !Tree || !Tree->HandleAllocated()) return;
    // The rectangle on the screen, within the image.
    const TPoint corner = Tree->ClientToScreen({Rect.Left, Rect.Top});
    const TRect image = GetDragImageRect();
    const TRect onScreen{std::max(corner.X, image.Left), std::max(corner.Y, image.Top),
                         std::min(corner.X + Rect.Width(), image.Right), std::min(corner.Y + Rect.Height(), image.Bottom)};
    if (onScreen.IsEmpty()) return;
    // The same part in the tree's client and then its tree coordinates.
    const TPoint client = Tree->ScreenToClient({onScreen.Left, onScreen.Top});
    TRect window{client.X, client.Y, client.X + onScreen.Width(), client.Y + onScreen.Height()};
    window.Left += Tree->EffectiveOffsetX();
    window.Right += Tree->EffectiveOffsetX();
    window.Top -= Tree->OffsetY();
    window.Bottom -= Tree->OffsetY();
    Tree->PaintTree(FBackImage->Canvas(), window, {onScreen.Left - image.Left, onScreen.Top - image.Top},
                    PaintSet({poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark,
                              poGridLines}),
                    plat::pf32bit);
    if (UpdateNow) DrawAtImagePosition();
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
        const int w = FDragImage->Width(), h = FDragImage->Height();
        if (std::abs(dx) >= w || std::abs(dy) >= h || ForceRepaint) {
            Restore({0, 0, w, h});
            if (ForceRepaint && FOwner && FOwner->HandleAllocated()) plat::UpdateWindow(FOwner->Handle());
            FImagePosition.X -= dx;
            FImagePosition.Y -= dy;
            Capture({FImagePosition.X, FImagePosition.Y, FImagePosition.X + w, FImagePosition.Y + h}, *FBackImage,
                    {0, 0});
        } else {
            // The rectangles come as (x, y, width, height) relative to the image.
            TRect clip{}, scroll{}, captureA{}, captureB{}, restoreA{}, restoreB{};
            CalculateDragImageMoveRects(w, h, dx, dy, clip, scroll, captureA, captureB, restoreA, restoreB);
            auto rect = [](const TRect& R) { return TRect{R.Left, R.Top, R.Left + R.Right, R.Top + R.Bottom}; };
            // The strips the image leaves go back to the screen at the old position.
            Restore(rect(restoreB));
            Restore(rect(restoreA));
            // The rest of the background moves with the image.
            // Row by row, in the order that reads every row before it is overwritten.
            const TRect from = rect(scroll), within = rect(clip);
            const int l = std::max({from.Left, 0, within.Left - dx}), r = std::min({from.Right, w, within.Right - dx});
            const int t = std::max({from.Top, 0, within.Top - dy}), b = std::min({from.Bottom, h, within.Bottom - dy});
            if (l < r && t < b) {
                auto moveRow = [&](int y) {
                    std::memmove(static_cast<std::uint8_t*>(FBackImage->ScanLine(y + dy)) + 4 * (l + dx),
                                 static_cast<const std::uint8_t*>(FBackImage->ScanLine(y)) + 4 * l,
                                 std::size_t(4) * (r - l));
                };
                if (dy > 0)
                    for (int y = b - 1; y >= t; --y) moveRow(y);
                else
                    for (int y = t; y < b; ++y) moveRow(y);
            }
            FImagePosition.X -= dx;
            FImagePosition.Y -= dy;
            // The strips the image now covers come from the screen at the new position.
            for (const TRect& part : {rect(captureB), rect(captureA)})
                if (!part.IsEmpty())
                    Capture({FImagePosition.X + part.Left, FImagePosition.Y + part.Top, FImagePosition.X + part.Right,
                             FImagePosition.Y + part.Bottom},
                            *FBackImage, {part.Left, part.Top});
        }
        DrawAtImagePosition();
    }
    FLastPosition = P;
    return true;
}

} // namespace vtree
