#pragma once
// A list of equally sized images. Adding a bitmap wider than Width adds one image per
// Width pixels; masked images leave out their mask colour when drawn. Drawing disabled
// gives a flat grey rendering of the image's shape.
// Drawing styles (DrawEx): the left-out pixels take the background colour unless the style
// is transparent or the colour is clNone; ILD_MASK draws the shape black on white;
// ILD_BLEND50/ILD_BLEND25 mix the shown pixels half or a quarter with the foreground colour
// (clDefault = the highlight colour, clNone = no mix); an overlay mask 1..15 draws the image
// registered for that overlay over the image, transparently and with the same mix.
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/Graphics.h"

namespace plat {

constexpr unsigned ILD_NORMAL = 0x0;
constexpr unsigned ILD_TRANSPARENT = 0x1;
constexpr unsigned ILD_BLEND25 = 0x2;
constexpr unsigned ILD_BLEND50 = 0x4;
constexpr unsigned ILD_FOCUS = ILD_BLEND25;
constexpr unsigned ILD_SELECTED = ILD_BLEND50;
constexpr unsigned ILD_BLEND = ILD_BLEND50;
constexpr unsigned ILD_MASK = 0x10;
constexpr unsigned ILD_OVERLAYMASK = 0xF00;
// Overlay 1..15 as a style bit field.
constexpr unsigned INDEXTOOVERLAYMASK(unsigned i) { return (i & 0xF) << 8; }

enum TImageType { itImage, itMask };
// The framework's overlay numbers 0..14 stand for overlay masks 1..15.
using TOverlay = int;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;
    String ClassName() const override { return u"TImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size clears the list, as the framework does.
    void SetWidth(int Value);
    void SetHeight(int Value);
    void SetSize(int AWidth, int AHeight);
    int Count() const { return static_cast<int>(images_.size()); }

    // Index of the first image added, -1 when nothing fit. Mask: white = left out.
    int Add(const TBitmap* Image, const TBitmap* Mask);
    // MaskColor clDefault takes the bottom-left pixel of the bitmap.
    int AddMasked(const TBitmap* Image, TColor MaskColor);
    void Replace(int Index, const TBitmap* Image, const TBitmap* Mask);
    void Delete(int Index);
    void Clear();
    // A copy of the image, its left-out pixels in the transparent colour of the copy.
    bool GetBitmap(int Index, TBitmap* Image) const;
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;
    // With a drawing style, in the list's BkColor and BlendColor.
    void Draw(TCanvas* Canvas, int X, int Y, int Index, unsigned Style, bool Enabled) const;
    // Bk and Fg: a colour, clNone, or clDefault (the list's BkColor; the highlight colour).
    void DrawEx(TCanvas* Canvas, int X, int Y, int Index, TColor Bk, TColor Fg, unsigned Style,
                bool Enabled = true) const;

    // Registers image ImageIndex as overlay Overlay (0..14, overlay mask Overlay + 1).
    bool Overlay(int ImageIndex, TOverlay Overlay);
    // The image of overlay mask 1..15; -1 when none is registered.
    int OverlayImage(unsigned Mask) const;

    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor Value);
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor Value) { blendColor_ = Value; }
    TImageType ImageType() const { return imageType_; }
    void SetImageType(TImageType Value);

    TNotifyEvent OnChange;

private:
    struct Entry {
        std::unique_ptr<TBitmap> image;
        std::vector<bool> opaque;  // per pixel, row-major
    };
    int AddEntry(const TBitmap* Image, int SrcX, const std::vector<bool>& Opaque);
    void Changed();

    void DrawEntry(TCanvas* Canvas, int X, int Y, const Entry& E, TColor Bk, TColor Fg, unsigned Style,
                   bool LeaveOut) const;

    int width_ = 16;
    int height_ = 16;
    std::vector<Entry> images_;
    int overlays_[15] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
    TImageType imageType_ = itImage;
};

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

} // namespace plat
