#pragma once
// A list of equally sized images. Adding a bitmap wider than Width adds one image per
// Width pixels; masked images leave out their mask colour when drawn. Drawing disabled
// gives a flat grey rendering of the image's shape.
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/Graphics.h"

namespace plat {

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

    TNotifyEvent OnChange;

private:
    struct Entry {
        std::unique_ptr<TBitmap> image;
        std::vector<bool> opaque;  // per pixel, row-major
    };
    int AddEntry(const TBitmap* Image, int SrcX, const std::vector<bool>& Opaque);
    void Changed();

    int width_ = 16;
    int height_ = 16;
    std::vector<Entry> images_;
};

class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

} // namespace plat
