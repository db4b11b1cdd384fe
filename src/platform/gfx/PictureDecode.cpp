// Picture decoding: JPEG through libjpeg (API 62), the other kinds through Qt's readers.
#include "plat/PictureDecode.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace plat {

namespace {

bool StartsWith(const std::uint8_t* d, std::size_t n, const char* magic, std::size_t m) {
    return n >= m && std::memcmp(d, magic, m) == 0;
}

// ---- JPEG

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void JpegSilent(j_common_ptr) {}

// Fills `pixels` with 0xAARRGGBB words. libjpeg reports fatal errors through longjmp, so
// nothing with a destructor is created between setjmp and the end of decompression: the
// pixel buffer is sized only after the header is read, through a plain pointer.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, int& w, int& h, std::vector<std::uint32_t>& pixels) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegSilent;
    std::vector<std::uint8_t> row;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    const std::int64_t area = static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height;
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || area > kMaxPicturePixels) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    w = static_cast<int>(cinfo.output_width);
    h = static_cast<int>(cinfo.output_height);
    pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xFF000000u);
    row.resize(static_cast<std::size_t>(w) * 4);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) break;
        std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * 4;
            if (cmyk) {
                // Adobe writes inverted CMYK: each channel times K.
                const unsigned k = p[3];
                const unsigned r = p[0] * k / 255, g = p[1] * k / 255, b = p[2] * k / 255;
                out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            } else {
                out[x] = 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) |
                         (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// ---- the other kinds

bool DecodeQt(const std::uint8_t* data, std::size_t size, const char* format, int& w, int& h,
              std::vector<std::uint32_t>& pixels) {
    if (size > static_cast<std::size_t>(INT32_MAX)) return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize s = reader.size();
    if (s.isValid() && static_cast<std::int64_t>(s.width()) * s.height() > kMaxPicturePixels) return false;
    QImage img;
    if (!reader.read(&img) || img.isNull()) return false;
    if (static_cast<std::int64_t>(img.width()) * img.height() > kMaxPicturePixels) return false;
    img = img.convertToFormat(QImage::Format_ARGB32);
    w = img.width();
    h = img.height();
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w), img.constScanLine(y),
                    static_cast<std::size_t>(w) * 4);
    return true;
}

// A 24-bit colour that no opaque pixel has, preferring magenta.
std::uint32_t FreeKey(const std::vector<std::uint32_t>& pixels) {
    std::vector<bool> used(1u << 24, false);
    for (std::uint32_t p : pixels)
        if ((p >> 24) >= 0x80) used[p & 0xFFFFFF] = true;
    if (!used[0xFF00FF]) return 0xFF00FF;
    for (std::uint32_t c = 0; c < (1u << 24); ++c)
        if (!used[c]) return c;
    return 0xFF00FF;  // every colour in use: cannot happen below 2^24 pixels
}

} // namespace

TPictureKind PictureKind(const void* Data, std::size_t Size) {
    const auto* d = static_cast<const std::uint8_t*>(Data);
    if (!d) return pkUnknown;
    if (StartsWith(d, Size, "GIF87a", 6) || StartsWith(d, Size, "GIF89a", 6)) return pkGIF;
    if (Size >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return pkJPEG;
    if (StartsWith(d, Size, "BM", 2) && Size >= 26) return pkBMP;
    if (Size >= 6 && d[0] == 0 && d[1] == 0 && (d[2] == 1 || d[2] == 2) && d[3] == 0 && (d[4] | d[5]) != 0)
        return pkICO;
    if (StartsWith(d, Size, "\x89PNG\r\n\x1a\n", 8)) return pkPNG;
    return pkUnknown;
}

bool DecodePicture(const void* Data, std::size_t Size, TBitmap& Bitmap) {
    const auto* d = static_cast<const std::uint8_t*>(Data);
    int w = 0, h = 0;
    std::vector<std::uint32_t> pixels;
    bool ok = false;
    switch (PictureKind(Data, Size)) {
    case pkJPEG: ok = DecodeJpeg(d, Size, w, h, pixels); break;
    case pkGIF: ok = DecodeQt(d, Size, "gif", w, h, pixels); break;
    case pkBMP: ok = DecodeQt(d, Size, "bmp", w, h, pixels); break;
    case pkICO: ok = DecodeQt(d, Size, d[2] == 2 ? "cur" : "ico", w, h, pixels); break;
    case pkPNG: ok = DecodeQt(d, Size, "png", w, h, pixels); break;
    case pkUnknown: return false;
    }
    if (!ok || w <= 0 || h <= 0) return false;
    bool transparent = false;
    for (std::uint32_t p : pixels)
        if ((p >> 24) < 0x80) {
            transparent = true;
            break;
        }
    const std::uint32_t key = transparent ? FreeKey(pixels) : 0;
    Bitmap.SetTransparent(false);
    Bitmap.SetSize(0, 0);
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        auto* out = static_cast<std::uint8_t*>(Bitmap.ScanLine(y));
        const std::uint32_t* in = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = (in[x] >> 24) < 0x80 ? key : in[x];
            out[4 * x] = static_cast<std::uint8_t>(p);
            out[4 * x + 1] = static_cast<std::uint8_t>(p >> 8);
            out[4 * x + 2] = static_cast<std::uint8_t>(p >> 16);
            out[4 * x + 3] = 0xFF;
        }
    }
    if (transparent) {
        // TColor is 0x00BBGGRR.
        Bitmap.SetTransparentColor(static_cast<TColor>(((key >> 16) & 0xFF) | (key & 0xFF00) | ((key & 0xFF) << 16)));
        Bitmap.SetTransparent(true);
    }
    return true;
}

} // namespace plat
