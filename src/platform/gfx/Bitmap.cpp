// Bitmaps, pictures and regions.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include "CanvasImpl.h"
#include "GfxNative.h"
#include "plat/Exception.h"
#include "plat/Files.h"
#include "plat/PictureDecode.h"

namespace plat {

namespace {

QString QPath(const String& s) { return QString::fromStdU16String(s); }

} // namespace

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

TBitmap::TBitmap() : impl_(std::make_unique<Impl>()) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

int TBitmap::Width() const { return impl_->image.width(); }
int TBitmap::Height() const { return impl_->image.height(); }
bool TBitmap::Empty() const { return impl_->image.isNull(); }
void TBitmap::SetWidth(int w) { SetSize(w, Height()); }
void TBitmap::SetHeight(int h) { SetSize(Width(), h); }

void TBitmap::SetSize(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height()) return;
    QImage& img = impl_->image;
    if (w == 0 || h == 0) {
        img = QImage();
    } else {
        QImage next(w, h, QImage::Format_ARGB32_Premultiplied);
        next.fill(0xFFFFFFFFu);
        if (!img.isNull()) {
            const int cw = std::min(w, img.width()), ch = std::min(h, img.height());
            for (int y = 0; y < ch; ++y)
                std::memcpy(next.scanLine(y), img.constScanLine(y), static_cast<std::size_t>(cw) * 4);
        }
        img = std::move(next);
    }
    if (impl_->canvas) {
        TCanvas::Impl& c = *CanvasAccess::Of(impl_->canvas.get());
        c.image = img.isNull() ? nullptr : &img;
        c.clipDirty = true;
    }
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!impl_->canvas) {
        impl_->canvas = std::make_unique<TCanvas>();
        TCanvas::Impl& c = *CanvasAccess::Of(impl_->canvas.get());
        c.ownerBitmap = this;
        c.image = impl_->image.isNull() ? nullptr : &impl_->image;
        c.monochrome = impl_->monochrome;
        c.clipDirty = true;
    }
    return impl_->canvas.get();
}

void TBitmap::Assign(const TPersistent* Source) {
    if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
        Assign(*b);
        return;
    }
    if (!Source) {
        SetSize(0, 0);
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::Assign(const TBitmap& s) {
    if (&s == this) return;
    impl_->image = s.impl_->image.copy();
    impl_->monochrome = s.impl_->monochrome;
    impl_->format = s.impl_->format;
    transparent_ = s.transparent_;
    transparentColor_ = s.transparentColor_;
    transparentMode_ = s.transparentMode_;
    if (impl_->canvas) {
        TCanvas::Impl& c = *CanvasAccess::Of(impl_->canvas.get());
        c.image = impl_->image.isNull() ? nullptr : &impl_->image;
        c.monochrome = impl_->monochrome;
        c.clipDirty = true;
    }
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (Empty()) return clDefault;
    const auto* row = reinterpret_cast<const std::uint32_t*>(impl_->image.constScanLine(Height() - 1));
    return gfx::FromPixel(row[0]);
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    transparentMode_ = mode;
    if (mode == tmFixed && transparentColor_ == clNone) transparentColor_ = TransparentColor();
    Changed();
}

bool TBitmap::Monochrome() const { return impl_->monochrome; }

void TBitmap::SetMonochrome(bool value) {
    if (value == impl_->monochrome) return;
    impl_->monochrome = value;
    impl_->format = value ? pf1bit : pf32bit;
    if (value) {
        QImage& img = impl_->image;
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) row[x] = (row[x] & 0xFFFFFF) == 0xFFFFFF ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    if (impl_->canvas) CanvasAccess::Of(impl_->canvas.get())->monochrome = value;
    Changed();
}

namespace {

bool HasAlpha(TPixelFormat format) { return format == pf32bit || format == pfDevice || format == pfCustom; }

void MakeOpaque(QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) row[x] |= 0xFF000000u;
    }
}

} // namespace

TPixelFormat TBitmap::PixelFormat() const { return impl_->format; }

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == impl_->format) return;
    SetMonochrome(format == pf1bit);
    // Formats without an alpha channel keep the colour bytes and drop what alpha there was.
    if (!HasAlpha(format)) MakeOpaque(impl_->image);
    impl_->format = format;
    Changed();
}

void* TBitmap::ScanLine(int y) {
    if (y < 0 || y >= Height()) throw EListError(u"Scan line index out of range");
    return impl_->image.scanLine(y);
}

const void* TBitmap::ScanLine(int y) const {
    if (y < 0 || y >= Height()) throw EListError(u"Scan line index out of range");
    return impl_->image.constScanLine(y);
}

namespace {

void Adopt(TBitmap& bmp, TBitmap::Impl& impl, QImage loaded) {
    // Bitmaps are opaque: pixels the file leaves transparent keep their colour (converting
    // to premultiplied first would turn them black).
    QImage img = loaded.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) row[x] |= 0xFF000000u;
    }
    img.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    impl.image = std::move(img);
    impl.monochrome = false;
    impl.format = loaded.hasAlphaChannel() ? pf32bit : pf24bit;
    if (impl.canvas) {
        TCanvas::Impl& c = *CanvasAccess::Of(impl.canvas.get());
        c.image = impl.image.isNull() ? nullptr : &impl.image;
        c.monochrome = false;
        c.clipDirty = true;
    }
    (void)bmp;
}

} // namespace

void TBitmap::LoadFromFile(const String& path) {
    // Through the layer's reader, so that a pipe, a device or a huge file is refused before
    // the image decoder sees it.
    std::string bytes;
    String error;
    if (!ReadRegularFile(path, bytes, kPictureFileCap, &error)) throw EFileError(error);
    QImage img;
    if (!img.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())))
        throw EFileError(u"Cannot load the picture " + path);
    Adopt(*this, *impl_, std::move(img));
    Changed();
}

void TBitmap::LoadFromMemory(const void* data, std::size_t size) {
    QImage img;
    if (!img.loadFromData(static_cast<const uchar*>(data), static_cast<int>(size)))
        throw EFileError(u"Cannot load the picture from memory");
    Adopt(*this, *impl_, std::move(img));
    Changed();
}

void TBitmap::SaveToFile(const String& path) const {
    const QString target = QPath(path);
    const QFileInfo info(target);
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp") +
                         QString::number(::getpid());
    // Without an alpha channel the stored colour bytes are the picture, whatever the alpha
    // bytes hold (scan-line writers often leave them zero).
    QImage out = HasAlpha(impl_->format) ? impl_->image.convertToFormat(QImage::Format_ARGB32)
                                         : impl_->image.copy();
    if (!HasAlpha(impl_->format)) {
        MakeOpaque(out);
        out.reinterpretAsFormat(QImage::Format_RGB32);
    }
    if (impl_->image.isNull() || !out.save(temp, "PNG")) {
        QFile::remove(temp);
        throw EFileError(u"Cannot write the file " + path);
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(temp);
        throw EFileError(u"Cannot write the file " + path);
    }
}

// ---------------------------------------------------------------- TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TBitmap* TPicture::Bitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return bitmap_.get();
}

void TPicture::SetBitmap(const TBitmap* bitmap) {
    if (!bitmap) {
        bitmap_.reset();
    } else {
        Bitmap()->Assign(*bitmap);
    }
    if (OnChange) OnChange(this);
}

void TPicture::Assign(const TPersistent* Source) {
    if (!Source) {
        bitmap_.reset();
    } else if (auto* p = dynamic_cast<const TPicture*>(Source)) {
        if (p == this) return;
        if (p->bitmap_) Bitmap()->Assign(*p->bitmap_);
        else bitmap_.reset();
    } else if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
        Bitmap()->Assign(*b);
    } else {
        TPersistent::Assign(Source);
        return;
    }
    if (OnChange) OnChange(this);
}

int TPicture::Width() const { return bitmap_ ? bitmap_->Width() : 0; }
int TPicture::Height() const { return bitmap_ ? bitmap_->Height() : 0; }

void TPicture::LoadFromFile(const String& path) {
    // The picture kind comes from the file's extension, as the framework chooses the graphic
    // class; the content must then decode (BMP, ICO, JPEG, GIF or PNG). Anything else raises
    // EFileError and leaves the picture as it was.
    String ext = ExtractFileExt(path);
    for (char16_t& c : ext)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    static const String known[] = {u".bmp", u".ico", u".jpg", u".jpeg", u".jpe", u".gif", u".png"};
    // A file that cannot be read is reported as such whatever its name.
    std::string bytes;
    String error;
    if (!ReadRegularFile(path, bytes, kPictureFileCap, &error)) throw EFileError(error);
    if (std::find(std::begin(known), std::end(known), ext) == std::end(known))
        throw EFileError(u"Unknown picture file extension (" + ext + u")");
    auto b = std::make_unique<TBitmap>();
    if (!DecodePicture(bytes.data(), bytes.size(), *b)) throw EFileError(u"Cannot load the picture " + path);
    bitmap_ = std::move(b);
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TRegion

struct TRegion::Impl {
    QRegion r;
};

namespace {

QRect QR(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// Spans of the pixels a mask covers, as a region.
QRegion RegionFromMask(const QImage& mask, QPoint at) {
    QRegion out;
    for (int y = 0; y < mask.height(); ++y) {
        const auto* m = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(y));
        int x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && !(m[x] >> 24)) ++x;
            const int s = x;
            while (x < mask.width() && (m[x] >> 24)) ++x;
            if (x > s) out += QRect(at.x() + s, at.y() + y, x - s, 1);
        }
    }
    return out;
}

} // namespace

TRegion::TRegion() : impl_(std::make_unique<Impl>()) {}
TRegion::TRegion(const TRect& rect) : TRegion() {
    if (!rect.IsEmpty()) impl_->r = QRegion(QR(rect));
}
TRegion::~TRegion() = default;
TRegion::TRegion(const TRegion& other) : impl_(std::make_unique<Impl>(*other.impl_)) {}
TRegion& TRegion::operator=(const TRegion& other) {
    if (this != &other) *impl_ = *other.impl_;
    return *this;
}
TRegion::TRegion(TRegion&& other) noexcept : impl_(std::make_unique<Impl>()) { std::swap(impl_, other.impl_); }
TRegion& TRegion::operator=(TRegion&& other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
}

TRegion TRegion::FromRoundRect(const TRect& rect, int w, int h) {
    TRegion out;
    if (rect.IsEmpty()) return out;
    QImage mask(rect.Width(), rect.Height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(0, 0, rect.Width(), rect.Height()), std::abs(w) / 2.0, std::abs(h) / 2.0);
    }
    out.impl_->r = RegionFromMask(mask, QPoint(rect.Left, rect.Top));
    return out;
}

TRegion TRegion::FromEllipse(const TRect& rect) {
    TRegion out;
    if (!rect.IsEmpty()) out.impl_->r = QRegion(QR(rect), QRegion::Ellipse);
    return out;
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points) {
    TRegion out;
    QPolygon poly;
    for (const TPoint& p : points) poly << QPoint(p.X, p.Y);
    if (poly.size() >= 3) out.impl_->r = QRegion(poly, Qt::OddEvenFill);
    return out;
}

int TRegion::Combine(const TRegion& a, const TRegion& b, int mode) {
    switch (mode) {
    case RGN_AND: impl_->r = a.impl_->r & b.impl_->r; break;
    case RGN_OR: impl_->r = a.impl_->r | b.impl_->r; break;
    case RGN_XOR: impl_->r = a.impl_->r ^ b.impl_->r; break;
    case RGN_DIFF: impl_->r = a.impl_->r - b.impl_->r; break;
    case RGN_COPY: impl_->r = a.impl_->r; break;
    default: return ERROR;
    }
    return Kind();
}

bool TRegion::Contains(TPoint p) const { return impl_->r.contains(QPoint(p.X, p.Y)); }
bool TRegion::IsEmpty() const { return impl_->r.isEmpty(); }

TRect TRegion::BoundsRect() const {
    const QRect b = impl_->r.boundingRect();
    if (b.isEmpty()) return {};
    return {b.left(), b.top(), b.right() + 1, b.bottom() + 1};
}

void TRegion::Offset(int dx, int dy) { impl_->r.translate(dx, dy); }

int TRegion::Kind() const {
    if (impl_->r.isEmpty()) return NULLREGION;
    return impl_->r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool operator==(const TRegion& a, const TRegion& b) { return a.impl_->r == b.impl_->r; }

namespace gfx {

const QRegion& NativeRegion(const TRegion& region) { return region.impl()->r; }

TRegion FromNativeRegion(const QRegion& region) {
    TRegion out;
    out.impl()->r = region;
    return out;
}

QImage& BitmapImage(TBitmap* bitmap) { return bitmap->impl()->image; }
const QImage& BitmapImage(const TBitmap* bitmap) { return bitmap->impl()->image; }

} // namespace gfx

} // namespace plat
