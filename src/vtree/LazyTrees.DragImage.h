#pragma once
// TLTDragImage: the translucent picture that follows the pointer while something of a tree is
// dragged (a header column, nodes).
// - PrepareDrag copies the picture and gives it a per-pixel alpha channel: pixels of the
//   colour key are fully transparent, the others fade from the opaque centre towards the
//   edges (alpha = 255 * e^(-8 * distance), the distance measured in units of the larger side).
// - The picture is shown in a layered top-level window of its own, blended over whatever lies
//   below by the window system, so nothing under it is ever saved or restored; the window
//   takes no input and never takes the activation.
// - The image counts as visible when it is in a drag, prepared and not hidden.
// - DragTo follows the pointer along the permitted axis (FRestriction) only.
#include <cstdint>
#include <memory>

#include "plat/Controls.h"
#include "plat/Graphics.h"

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

class TLTDragImage {
public:
    explicit TLTDragImage(TBaseLazyTree* AOwner);
    ~TLTDragImage();
    TLTDragImage(const TLTDragImage&) = delete;
    TLTDragImage& operator=(const TLTDragImage&) = delete;

    // ImagePosition and HotSpot in screen coordinates. DataObject is accepted for callers that
    // drag data; the picture is always shown by this object itself.
    void PrepareDrag(const plat::TBitmap* DragImage, plat::TPoint ImagePosition, plat::TPoint HotSpot,
                     const void* DataObject = nullptr);
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

private:
    // The picture as the window shows it: premultiplied, with the post-blend bias.
    void UpdateWindowPicture();
    TBaseLazyTree* FOwner;
    std::unique_ptr<plat::TBitmap> FDragImage;
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
