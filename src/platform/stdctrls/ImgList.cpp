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
    // Overlays follow their images: the deleted one is gone, later ones move down.
    for (int& o : overlays_) {
        if (o == Index)
            o = -1;
        else if (o > Index)
            --o;
    }
    Changed();
}

void TCustomImageList::Clear()
{
    images_.clear();
    for (int& o : overlays_)
        o = -1;
    Changed();
}

bool TCustomImageList::Overlay(int ImageIndex, TOverlay Overlay)
{
    if (ImageIndex < 0 || ImageIndex >= Count() || Overlay < 0 || Overlay > 14)
        return false;
    overlays_[Overlay] = ImageIndex;
    return true;
}

int TCustomImageList::OverlayImage(unsigned Mask) const
{
    if (Mask < 1 || Mask > 15)
        return -1;
    return overlays_[Mask - 1];
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == bkColor_)
        return;
    bkColor_ = Value;
    Changed();
}

void TCustomImageList::SetImageType(TImageType Value)
{
    if (Value == imageType_)
        return;
    imageType_ = Value;
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

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, unsigned Style, bool Enabled) const
{
    DrawEx(Canvas, X, Y, Index, clDefault, blendColor_, Style, Enabled);
}

void TCustomImageList::DrawEntry(TCanvas* Canvas, int X, int Y, const Entry& E, TColor Bk, TColor Fg,
                                 unsigned Style, bool LeaveOut) const
{
    const bool mask = (Style & ILD_MASK) != 0;
    const int mix = (Style & ILD_BLEND50) ? 2 : (Style & ILD_BLEND25) ? 4 : 0;
    const TColor fg = ColorToRGB(Fg);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const bool shown = E.opaque[static_cast<size_t>(y * width_ + x)];
            TColor c;
            if (!shown) {
                if (LeaveOut)
                    continue;
                c = mask ? clWhite : Bk;
            } else if (mask) {
                c = clBlack;
            } else {
                c = PixelOf(E.image.get(), x, y);
                if (mix) {
                    // Half: (c + f) / 2; a quarter: (3c + f) / 4, per channel.
                    auto ch = [&](int a, int b) { return (a * (mix - 1) + b) / mix; };
                    c = RGB(ch(GetRValue(c), GetRValue(fg)), ch(GetGValue(c), GetGValue(fg)),
                            ch(GetBValue(c), GetBValue(fg)));
                }
            }
            Canvas->SetPixels(X + x, Y + y, c);
        }
    }
}

void TCustomImageList::DrawEx(TCanvas* Canvas, int X, int Y, int Index, TColor Bk, TColor Fg, unsigned Style,
                              bool Enabled) const
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    if (!Enabled) {
        Draw(Canvas, X, Y, Index, false);
        return;
    }
    const TColor bk = Bk == clDefault ? bkColor_ : Bk;
    // A mask is black on white whatever the background colour; only the style leaves it out.
    const bool leaveOut = (Style & ILD_TRANSPARENT) != 0 ||
                          (!(Style & ILD_MASK) && (bk == clNone || bk == clDefault));
    TColor fg = Fg == clDefault ? TColor(clHighlight) : Fg;
    unsigned style = Style;
    if (fg == clNone)
        style &= ~(ILD_BLEND25 | ILD_BLEND50);
    const bool plain = leaveOut && !(style & (ILD_MASK | ILD_BLEND25 | ILD_BLEND50));
    const Entry& e = images_[static_cast<size_t>(Index)];
    if (plain)
        Canvas->Draw(X, Y, e.image.get());
    else
        DrawEntry(Canvas, X, Y, e, bk, fg, style, leaveOut);
    const int overlay = OverlayImage((Style & ILD_OVERLAYMASK) >> 8);
    if (overlay >= 0 && overlay < Count()) {
        const Entry& o = images_[static_cast<size_t>(overlay)];
        if (plain)
            Canvas->Draw(X, Y, o.image.get());
        else
            DrawEntry(Canvas, X, Y, o, bk, fg, style, true);
    }
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
