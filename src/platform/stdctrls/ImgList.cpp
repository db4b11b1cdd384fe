#include "plat/ImgList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace plat {

namespace {

TColor PixelOf(const TBitmap* B, int X, int Y)
{
    const auto* row = static_cast<const std::uint8_t*>(B->ScanLine(Y));
    const std::uint8_t* p = row + 4 * X;
    return RGB(p[2], p[1], p[0]);
}

void SetPixelOf(TBitmap* B, int X, int Y, TColor C)
{
    C = ColorToRGB(C);
    auto* row = static_cast<std::uint8_t*>(B->ScanLine(Y));
    std::uint8_t* p = row + 4 * X;
    p[0] = static_cast<std::uint8_t>(GetBValue(C));
    p[1] = static_cast<std::uint8_t>(GetGValue(C));
    p[2] = static_cast<std::uint8_t>(GetRValue(C));
    p[3] = 0xFF;
}

// A colour none of the shown pixels has, so a keyed copy leaves out exactly the others.
TColor UnusedColor(const TBitmap* B, const std::vector<bool>& Opaque)
{
    TColor key = RGB(255, 0, 255);
    for (;;) {
        bool used = false;
        for (int y = 0; y < B->Height() && !used; ++y)
            for (int x = 0; x < B->Width() && !used; ++x)
                used = Opaque[static_cast<size_t>(y * B->Width() + x)] && PixelOf(B, x, y) == key;
        if (!used)
            return key;
        key = (key + 0x010101) & 0xFFFFFF;
    }
}

} // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}
TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::SetWidth(int Value) { SetSize(Value, height_); }
void TCustomImageList::SetHeight(int Value) { SetSize(width_, Value); }

void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(1, AWidth);
    AHeight = std::max(1, AHeight);
    if (AWidth == width_ && AHeight == height_)
        return;
    width_ = AWidth;
    height_ = AHeight;
    Clear();
}

void TCustomImageList::Changed()
{
    if (OnChange)
        OnChange(this);
}

int TCustomImageList::AddEntry(const TBitmap* Image, int SrcX, const std::vector<bool>& Opaque)
{
    Entry e;
    e.image = std::make_unique<TBitmap>(width_, height_);
    e.opaque.assign(static_cast<size_t>(width_ * height_), false);
    const int h = std::min(height_, Image->Height());
    const int w = std::min(width_, Image->Width() - SrcX);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t src = static_cast<size_t>(y * Image->Width() + SrcX + x);
            const size_t dst = static_cast<size_t>(y * width_ + x);
            e.opaque[dst] = Opaque[src];
            SetPixelOf(e.image.get(), x, y, PixelOf(Image, SrcX + x, y));
        }
    }
    const TColor key = UnusedColor(e.image.get(), e.opaque);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!e.opaque[static_cast<size_t>(y * width_ + x)])
                SetPixelOf(e.image.get(), x, y, key);
    e.image->SetTransparentColor(key);
    e.image->SetTransparent(true);
    images_.push_back(std::move(e));
    return Count() - 1;
}

int TCustomImageList::Add(const TBitmap* Image, const TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    std::vector<bool> opaque(static_cast<size_t>(Image->Width() * Image->Height()), true);
    if (Mask && !Mask->Empty()) {
        for (int y = 0; y < std::min(Image->Height(), Mask->Height()); ++y)
            for (int x = 0; x < std::min(Image->Width(), Mask->Width()); ++x)
                opaque[static_cast<size_t>(y * Image->Width() + x)] = PixelOf(Mask, x, y) != clWhite;
    }
    const int n = std::max(1, Image->Width() / width_);
    int first = -1;
    for (int k = 0; k < n; ++k) {
        const int i = AddEntry(Image, k * width_, opaque);
        if (first < 0)
            first = i;
    }
    Changed();
    return first;
}

int TCustomImageList::AddMasked(const TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty())
        return -1;
    const TColor key = MaskColor == clDefault ? PixelOf(Image, 0, Image->Height() - 1) : ColorToRGB(MaskColor);
    std::vector<bool> opaque(static_cast<size_t>(Image->Width() * Image->Height()));
    for (int y = 0; y < Image->Height(); ++y)
        for (int x = 0; x < Image->Width(); ++x)
            opaque[static_cast<size_t>(y * Image->Width() + x)] = PixelOf(Image, x, y) != key;
    const int n = std::max(1, Image->Width() / width_);
    int first = -1;
    for (int k = 0; k < n; ++k) {
        const int i = AddEntry(Image, k * width_, opaque);
        if (first < 0)
            first = i;
    }
    Changed();
    return first;
}

void TCustomImageList::Replace(int Index, const TBitmap* Image, const TBitmap* Mask)
{
    if (Index < 0 || Index >= Count() || !Image)
        return;
    TCustomImageList tmp(nullptr);
    tmp.SetSize(width_, height_);
    if (tmp.Add(Image, Mask) < 0)
        return;
    images_[static_cast<size_t>(Index)] = std::move(tmp.images_[0]);
    Changed();
}

void TCustomImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    images_.erase(images_.begin() + Index);
    Changed();
}

void TCustomImageList::Clear()
{
    images_.clear();
    Changed();
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) const
{
    if (Index < 0 || Index >= Count() || !Image)
        return false;
    Image->Assign(*images_[static_cast<size_t>(Index)].image);
    Image->SetTransparentColor(images_[static_cast<size_t>(Index)].image->TransparentColor());
    Image->SetTransparent(true);
    return true;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) const
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    const Entry& e = images_[static_cast<size_t>(Index)];
    if (Enabled) {
        Canvas->Draw(X, Y, e.image.get());
        return;
    }
    // Disabled: the shape in the button shadow colour, lighter pixels in the face colour.
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (!e.opaque[static_cast<size_t>(y * width_ + x)])
                continue;
            const TColor c = PixelOf(e.image.get(), x, y);
            const int luma = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
            Canvas->SetPixels(X + x, Y + y, luma < 200 ? clBtnShadow : clBtnHighlight);
        }
    }
}

} // namespace plat
