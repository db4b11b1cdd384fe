#pragma once
// The grid's small windows and bitmaps: the four drop-position arrows, the focus-glow
// window with its 32-bit alpha bitmap, the mask and blur routines that feed it, and a
// picture referenced by file name.
#include <array>
#include <vector>

#include "ExtObj.h"
#include "plat/ExtCtrls.h"
#include "plat/Graphics.h"

namespace grid {

// Seven points of an arrow's outline, in window coordinates.
std::array<plat::TPoint, 7> ArrowOutline(TArrowDirection Dir);

class TArrowWindow : public plat::TCustomPanel {
public:
    explicit TArrowWindow(plat::TComponent* AOwner);
    String ClassName() const override { return u"TArrowWindow"; }
    // Direction, lime colour, parent = owner, hidden.
    void Init(plat::TWinControl* AOwner, TArrowDirection ADir);
    TArrowDirection Dir = arrUp;
    std::array<plat::TPoint, 7> Arrow{};

protected:
    void Paint() override;
};

class TGridFocusWindow : public plat::TCustomControl {
public:
    explicit TGridFocusWindow(plat::TComponent* AOwner);
    String ClassName() const override { return u"TGridFocusWindow"; }
};

// A bitmap whose pixel format is always 32-bit, with an overall opacity.
class TGridAlphaMask : public plat::TBitmap {
public:
    TGridAlphaMask();
    String ClassName() const override { return u"TGridAlphaMask"; }
    void Assign(const plat::TPersistent* Source) override;
    // Alpha from the red byte of mask, colours of bitmap premultiplied by it; only for a
    // 24-bit bitmap. Color is not used.
    void MergeMask(const plat::TBitmap* Mask, const plat::TBitmap* Bitmap, TColor Color);
    std::uint8_t Opacity = 255;
};

// Gaussian weights for k = -size .. size (index k + size), normalised; size is at most 10
// and shrinks while the outer weights add up to less than half of one step of 255.
std::vector<double> BlurKernel(double Radius, int& Size);
// Blurs one line of pixels (stride in bytes, blue, green, red at each pixel).
void BlurLine(std::uint8_t* Pixels, int Count, int Stride, const std::vector<double>& Kernel, int Size);
// Separable Gaussian blur of a 24-bit bitmap; other formats raise "Blur only works for
// 24-bit bitmaps". Rows and columns more than 20 pixels from the edges copy the 15th,
// which the rounded mask's shape allows.
void BlurBitmap(plat::TBitmap* Bitmap, double Radius);
void MakeAlphaMaskBitmap(plat::TBitmap* Bitmap, int Width, int Height, double BlurRadius, int CornerSize, int PenWidth);

// A picture stored by file name; Width and Height are measured when the name is set.
class TFilePicture : public plat::TPersistent {
public:
    String ClassName() const override { return u"TFilePicture"; }
    const String& Filename() const { return filename_; }
    // Loads the file to measure it; a missing or unreadable file raises the loader's error.
    void SetFilename(const String& Value);
    int Width() const { return width_; }
    int Height() const { return height_; }
    void DrawPicture(plat::TCanvas* Canvas, const plat::TRect& R) const;
    void Assign(const plat::TPersistent* Source) override;

private:
    String filename_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace grid
