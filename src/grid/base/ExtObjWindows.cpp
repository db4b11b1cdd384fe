#include "ExtObjWindows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "plat/Exception.h"
#include "plat/Messages.h"

namespace grid {

using plat::TPoint;

bool TControlList::HasHandle(std::uintptr_t Handle) const {
    for (const auto& item : items_)
        if (const auto* w = dynamic_cast<const plat::TWinControl*>(item->Control))
            if (static_cast<std::uintptr_t>(w->Handle()) == Handle) return true;
    return false;
}

// ---- arrows -------------------------------------------------------------------------------

std::array<TPoint, 7> ArrowOutline(TArrowDirection Dir) {
    switch (Dir) {
    case arrUp: return {{{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}}};
    case arrDown: return {{{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}}};
    // Each arrow sits on its side of the target and points at it.
    case arrLeft: return {{{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}}};
    case arrRight: return {{{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}}};
    }
    return {};
}

TArrowWindow::TArrowWindow(plat::TComponent* AOwner) : plat::TCustomPanel(AOwner) {
    SetBevelOuter(plat::bvNone);
    SetVisible(false);
}

void TArrowWindow::Init(plat::TWinControl* AOwner, TArrowDirection ADir) {
    Dir = ADir;
    Arrow = ArrowOutline(ADir);
    SetColor(plat::clLime);
    SetVisible(false);
    SetParent(AOwner);
    SetWindowStyle(plat::WS_POPUP);
}

void TArrowWindow::Paint() {
    // The window's visible shape is its outline: only the polygon is drawn in its colour.
    Canvas()->Pen()->SetColor(Color());
    Canvas()->Brush()->SetColor(Color());
    Canvas()->Polygon(std::span<const TPoint>(Arrow.data(), Arrow.size()));
}

TGridFocusWindow::TGridFocusWindow(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
    SetColor(plat::clRed);
    SetWindowStyle(plat::WS_POPUP | plat::WS_DISABLED);
    SetWindowExStyle(plat::WS_EX_TOPMOST | plat::WS_EX_TOOLWINDOW);
}

// ---- alpha mask -----------------------------------------------------------------------------

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(plat::pf32bit); }

void TGridAlphaMask::Assign(const plat::TPersistent* Source) {
    if (const auto* m = dynamic_cast<const TGridAlphaMask*>(Source)) {
        Opacity = m->Opacity;
        SetPixelFormat(plat::pf32bit);
        SetSize(m->Width(), m->Height());
        for (int y = 0; y < m->Height(); ++y)
            std::memcpy(ScanLine(y), m->ScanLine(y), static_cast<std::size_t>(m->Width()) * 4);
        return;
    }
    plat::TBitmap::Assign(Source);
    SetPixelFormat(plat::pf32bit);
}

void TGridAlphaMask::MergeMask(const plat::TBitmap* Mask, const plat::TBitmap* Bitmap, TColor) {
    if (!Bitmap || !Mask || Bitmap->PixelFormat() != plat::pf24bit) return;
    SetPixelFormat(plat::pf32bit);
    SetSize(Bitmap->Width(), Bitmap->Height());
    const int w = std::min(Bitmap->Width(), Mask->Width()), h = std::min(Bitmap->Height(), Mask->Height());
    for (int y = 0; y < h; ++y) {
        const auto* src = static_cast<const std::uint8_t*>(Bitmap->ScanLine(y));
        const auto* msk = static_cast<const std::uint8_t*>(Mask->ScanLine(y));
        auto* dst = static_cast<std::uint8_t*>(ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int a = msk[x * 4 + 2];
            for (int ch = 0; ch < 3; ++ch)
                dst[x * 4 + ch] = static_cast<std::uint8_t>(std::lround(src[x * 4 + ch] * a / 255.0));
            dst[x * 4 + 3] = static_cast<std::uint8_t>(a);
        }
    }
}

// ---- blur ---------------------------------------------------------------------------------

std::vector<double> BlurKernel(double Radius, int& Size) {
    double w[21];
    double sum = 0;
    for (int k = -10; k <= 10; ++k) {
        w[k + 10] = std::exp(-(k / Radius) * (k / Radius) / 2);
        sum += w[k + 10];
    }
    for (double& v : w) v /= sum;
    Size = 10;
    double total = 0;
    while (total < 1.0 / 510 && Size > 1) {
        total += 2 * w[Size + 10];
        --Size;
    }
    std::vector<double> kernel(static_cast<std::size_t>(2 * Size + 1));
    double s2 = 0;
    for (int k = -Size; k <= Size; ++k) s2 += w[k + 10];
    for (int k = -Size; k <= Size; ++k) kernel[static_cast<std::size_t>(k + Size)] = w[k + 10] / s2;
    return kernel;
}

void BlurLine(std::uint8_t* Pixels, int Count, int Stride, const std::vector<double>& Kernel, int Size) {
    if (Count <= 0) return;
    const int n = Count - 1;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(Count) * 3);
    for (int j = 0; j <= n; ++j)
        for (int ch = 0; ch < 3; ++ch) {
            double s = 0;
            for (int k = -Size; k <= Size; ++k) {
                const int at = std::clamp(j - k, 0, n);
                s += Kernel[static_cast<std::size_t>(k + Size)] * Pixels[at * Stride + ch];
            }
            // The weights sum to one only up to rounding: a full 255 must stay 255.
            s += 1e-9;
            out[static_cast<std::size_t>(j) * 3 + ch] = s <= 0 ? 0 : s >= 255 ? 255 : static_cast<std::uint8_t>(s);
        }
    for (int j = 0; j <= n; ++j)
        for (int ch = 0; ch < 3; ++ch) Pixels[j * Stride + ch] = out[static_cast<std::size_t>(j) * 3 + ch];
}

namespace {

void BlurPixels(plat::TBitmap* Bitmap, double Radius) {
    int size = 0;
    const std::vector<double> kernel = BlurKernel(Radius, size);
    const int w = Bitmap->Width(), h = Bitmap->Height();
    for (int i = 0; i < h; ++i) {
        auto* row = static_cast<std::uint8_t*>(Bitmap->ScanLine(i));
        if (i > 20 && i < h - 20 && h > 15) std::memcpy(row, Bitmap->ScanLine(15), static_cast<std::size_t>(w) * 4);
        else BlurLine(row, w, 4, kernel, size);
    }
    std::vector<std::uint8_t> col(static_cast<std::size_t>(h) * 4);
    for (int j = 0; j < w; ++j) {
        if (j > 20 && j < w - 20 && w > 15) {
            for (int i = 0; i < h; ++i)
                std::memcpy(static_cast<std::uint8_t*>(Bitmap->ScanLine(i)) + j * 4,
                            static_cast<std::uint8_t*>(Bitmap->ScanLine(i)) + 15 * 4, 4);
            continue;
        }
        for (int i = 0; i < h; ++i)
            std::memcpy(&col[static_cast<std::size_t>(i) * 4], static_cast<std::uint8_t*>(Bitmap->ScanLine(i)) + j * 4, 4);
        BlurLine(col.data(), h, 4, kernel, size);
        for (int i = 0; i < h; ++i)
            std::memcpy(static_cast<std::uint8_t*>(Bitmap->ScanLine(i)) + j * 4, &col[static_cast<std::size_t>(i) * 4], 4);
    }
}

} // namespace

void BlurBitmap(plat::TBitmap* Bitmap, double Radius) {
    if (Bitmap->PixelFormat() != plat::pf24bit) throw plat::Exception(u"Blur only works for 24-bit bitmaps");
    BlurPixels(Bitmap, Radius);
}

void MakeAlphaMaskBitmap(plat::TBitmap* Bitmap, int Width, int Height, double BlurRadius, int CornerSize,
                         int PenWidth) {
    Bitmap->SetPixelFormat(plat::pf24bit);
    Bitmap->SetSize(Width, Height);
    plat::TCanvas* c = Bitmap->Canvas();
    c->Brush()->SetColor(plat::clBlack);
    c->FillRect({0, 0, Width, Height});
    const int m = PenWidth / 2;
    if (PenWidth < 1) {
        c->Pen()->SetColor(plat::clWhite);
        c->Pen()->SetWidth(1);
        c->Brush()->SetColor(plat::clWhite);
    } else {
        c->Pen()->SetColor(plat::clWhite);
        c->Pen()->SetWidth(PenWidth);
        c->Brush()->SetColor(plat::clBlack);
    }
    c->RoundRect(m + 2, m + 2, Width - m - 2, Height - m - 2, CornerSize, CornerSize);
    c->Pen()->SetWidth(1);
    // The bitmap was made 24-bit above.
    if (BlurRadius > 0) BlurPixels(Bitmap, BlurRadius);
}

// ---- file picture -------------------------------------------------------------------------

void TFilePicture::SetFilename(const String& Value) {
    filename_ = Value;
    plat::TPicture pic;
    pic.LoadFromFile(Value);
    width_ = pic.Width();
    height_ = pic.Height();
}

void TFilePicture::DrawPicture(plat::TCanvas* Canvas, const plat::TRect& R) const {
    if (filename_.empty()) return;
    plat::TPicture pic;
    pic.LoadFromFile(filename_);
    Canvas->StretchDraw(R, pic.Graphic());
}

void TFilePicture::Assign(const plat::TPersistent* Source) {
    if (const auto* f = dynamic_cast<const TFilePicture*>(Source)) {
        filename_ = f->filename_;
        width_ = f->width_;
        height_ = f->height_;
        return;
    }
    plat::TPersistent::Assign(Source);
}

} // namespace grid
