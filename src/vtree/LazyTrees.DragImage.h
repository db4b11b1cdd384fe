#pragma once
// TLTDragImage: the translucent picture that follows the pointer while something of a tree is
// dragged (a header column, nodes).
// - PrepareDrag copies the picture and gives it a per-pixel alpha channel: pixels of the
//   colour key are fully transparent, the others fade from the opaque centre towards the
//   edges (alpha = 255 * e^(-8 * distance), the distance measured in units of the larger side).
// - The image keeps the screen content under it (the back image) and shows that content with
//   the picture blended on it, so the result is right on a display without a compositor. It is
//   shown in a top-level window of its own that takes no input and never the activation.
// - A small move scrolls the saved background and only restores and captures the strips the
//   move uncovers and reveals; a move by the image's size or more (or a forced repaint) gives
//   back the whole background and captures it anew at the new place.
// - The image counts as visible when it is in a drag, prepared and not hidden.
// - DragTo follows the pointer along the permitted axis (FRestriction) only.
#include <cstdint>
#include <memory>

#include "plat/Controls.h"
#include "plat/Graphics.h"

namespace plat {
class IDataObject;
}

namespace vtree {

class TBaseLazyTree;

enum TLTDragMoveRestriction { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };
enum TLTDragImageState : unsigned { disHidden, disInDrag, disPrepared, disSystemSupport };
using TLTDragImageStates = unsigned;
constexpr TLTDragImageStates DisBit(TLTDragImageState S) { return 1u << S; }
using TLTTransparency = std::uint8_t;
using TLTBias = std::int8_t;
// No colour key.
constexpr plat::TColor NoColorKey = 0x1FFFFFFF;

class TLTDragImageWindow;

// Where the image meets the screen: capturing what the screen shows, giving saved parts back
// and presenting the composed picture. The image's own window serves the desktop; tests put
// a screen of their own in its place.
class TLTDragImageScreen {
public:
    virtual ~TLTDragImageScreen() = default;
    // Copies the screen's R (screen coordinates) into Into with R's corner at At.
    virtual void Capture(const plat::TRect& R, plat::TBitmap& Into, plat::TPoint At) = 0;
    // Gives Part (image coordinates) of the background Back, saved for the image at Position,
    // back to the screen.
    virtual void Restore(const plat::TBitmap& Back, const plat::TRect& Part, plat::TPoint Position) = 0;
    // Shows Picture with its corner at Position.
    virtual void Present(const plat::TBitmap& Picture, plat::TPoint Position) = 0;
};

class TLTDragImage {
public:
    explicit TLTDragImage(TBaseLazyTree* AOwner);
    ~TLTDragImage();
    TLTDragImage(const TLTDragImage&) = delete;
    TLTDragImage& operator=(const TLTDragImage&) = delete;

    // ImagePosition and HotSpot in screen coordinates. With a DataObject the picture, with its
    // alpha and transparency, is handed to the system's drag of that data: where the system's
    // drag runs it, the system shows it (disSystemSupport) and this object shows nothing;
    // otherwise this object shows it.
    void PrepareDrag(const plat::TBitmap* DragImage, plat::TPoint ImagePosition, plat::TPoint HotSpot,
                     const plat::IDataObject* DataObject = nullptr);
    // Moves the image with the pointer; false when nothing moved.
    bool DragTo(plat::TPoint P, bool ForceRepaint = false);
    void ShowDragImage();
    void HideDragImage();
    void EndDrag();
    // The image's screen rectangle while visible, else empty.
    plat::TRect GetDragImageRect() const;
    // Whether DragTo(P) would move the visible image.
    bool WillMove(plat::TPoint P) const;
    bool Visible() const;

    TLTDragImageStates States() const { return FStates; }
    plat::TPoint ImagePosition() const { return FImagePosition; }
    plat::TPoint LastPosition() const { return FLastPosition; }
    TLTTransparency Transparency() const { return FTransparency; }
    void SetTransparency(TLTTransparency Value);
    TLTBias PreBlendBias() const { return FPreBlendBias; }
    void SetPreBlendBias(TLTBias Value) { FPreBlendBias = Value; }
    TLTBias PostBlendBias() const { return FPostBlendBias; }
    void SetPostBlendBias(TLTBias Value);
    bool Fade() const { return FFade; }
    void SetFade(bool Value);
    TLTDragMoveRestriction MoveRestriction() const { return FRestriction; }
    void SetMoveRestriction(TLTDragMoveRestriction Value) { FRestriction = Value; }
    plat::TColor ColorKey() const { return FColorKey; }
    void SetColorKey(plat::TColor Value) { FColorKey = Value; }
    // The prepared picture with its alpha channel (B, G, R, A per pixel, straight colours);
    // null outside a drag.
    const plat::TBitmap* Picture() const { return FDragImage.get(); }
    // The layered window that shows the picture; null while nothing was shown yet.
    plat::TWinControl* Window() const;
    // The screen content under the image while visible (null outside a drag).
    const plat::TBitmap* BackImage() const { return FBackImage.get(); }
    // Repaints Rect (Tree's client coordinates) of the saved background from Tree, clipped to
    // the image; with UpdateNow the image is drawn again at once.
    void RecaptureBackground(TBaseLazyTree* Tree, plat::TRect Rect, bool UpdateNow, bool IncludeFrame);
    // A screen of the caller's (null: the image's own window on the desktop).
    void SetScreen(std::unique_ptr<TLTDragImageScreen> Screen);

private:
    // The background with the picture blended on it, shown at the image position.
    void DrawAtImagePosition();
    // The picture as the system's drag shows it: straight colours with the alpha of the blend.
    std::unique_ptr<plat::TBitmap> SystemPicture() const;
    void Capture(const plat::TRect& R, plat::TBitmap& Into, plat::TPoint At);
    void Restore(const plat::TRect& Part);
    TBaseLazyTree* FOwner;
    std::unique_ptr<plat::TBitmap> FDragImage;
    std::unique_ptr<plat::TBitmap> FBackImage;
    std::unique_ptr<plat::TBitmap> FAlphaImage;
    std::unique_ptr<TLTDragImageScreen> FScreen;
    std::unique_ptr<TLTDragImageWindow> FWindow;
    plat::TPoint FImagePosition{};
    plat::TPoint FLastPosition{};
    TLTTransparency FTransparency = 128;
    TLTBias FPreBlendBias = 0;
    TLTBias FPostBlendBias = 0;
    bool FFade = false;
    TLTDragMoveRestriction FRestriction = dmrNone;
    plat::TColor FColorKey = NoColorKey;
    TLTDragImageStates FStates = 0;
};

} // namespace vtree
