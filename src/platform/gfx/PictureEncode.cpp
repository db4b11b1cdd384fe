#include "plat/PictureEncode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace plat {
namespace {

void Put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

const std::uint8_t* Row(const TBitmap& b, int y) { return static_cast<const std::uint8_t*>(b.ScanLine(y)); }

} // namespace

std::string BitmapToBmp(const TBitmap& Bitmap) {
    if (Bitmap.Empty()) return std::string();
    const int w = Bitmap.Width(), h = Bitmap.Height();
    const bool alpha = Bitmap.PixelFormat() == pf32bit;
    const std::uint32_t stride = alpha ? 4u * w : (3u * w + 3u) & ~3u;
    const std::uint32_t header = alpha ? 124u : 40u;
    const std::uint32_t offset = 14u + header;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(h);
    std::string s;
    s.reserve(offset + imageSize);
    s += "BM";
    Put32(s, offset + imageSize);
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, header);
    Put32(s, static_cast<std::uint32_t>(w));
    Put32(s, static_cast<std::uint32_t>(h));
    Put16(s, 1);
    Put16(s, alpha ? 32 : 24);
    Put32(s, alpha ? 3u : 0u);  // BI_BITFIELDS : BI_RGB
    Put32(s, imageSize);
    Put32(s, 3780);  // 96 DPI
    Put32(s, 3780);
    Put32(s, 0);
    Put32(s, 0);
    if (alpha) {
        Put32(s, 0x00FF0000u);  // red, green, blue and alpha masks
        Put32(s, 0x0000FF00u);
        Put32(s, 0x000000FFu);
        Put32(s, 0xFF000000u);
        Put32(s, 0x73524742u);  // LCS_sRGB
        s.append(36 + 12 + 16, '\0');  // endpoints, gamma, intent, profile, reserved
    }
    for (int y = h - 1; y >= 0; --y) {
        const std::uint8_t* p = Row(Bitmap, y);
        const std::size_t start = s.size();
        for (int x = 0; x < w; ++x, p += 4) {
            s += static_cast<char>(p[0]);
            s += static_cast<char>(p[1]);
            s += static_cast<char>(p[2]);
            if (alpha) s += static_cast<char>(p[3]);
        }
        s.append(stride - (s.size() - start), '\0');
    }
    return s;
}

std::string IconToIco(const TIcon& Icon) {
    if (Icon.Empty() || Icon.Width() > 256 || Icon.Height() > 256) return std::string();
    const int w = Icon.Width(), h = Icon.Height();
    const bool alpha = Icon.PixelFormat() == pf32bit;
    const TColor tc = Icon.Transparent() ? Icon.TransparentColor() : clNone;
    const std::uint32_t maskStride = ((static_cast<std::uint32_t>(w) + 31u) / 32u) * 4u;
    const std::uint32_t dibSize = 40u + 4u * w * h + maskStride * h;
    std::string s;
    Put16(s, 0);
    Put16(s, 1);  // icon
    Put16(s, 1);  // one image
    s += static_cast<char>(w == 256 ? 0 : w);
    s += static_cast<char>(h == 256 ? 0 : h);
    s += '\0';  // no palette
    s += '\0';
    Put16(s, 1);
    Put16(s, 32);
    Put32(s, dibSize);
    Put32(s, 22);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(w));
    Put32(s, static_cast<std::uint32_t>(2 * h));
    Put16(s, 1);
    Put16(s, 32);
    for (int i = 0; i < 6; ++i) Put32(s, 0);
    std::string mask;
    mask.reserve(maskStride * h);
    for (int y = h - 1; y >= 0; --y) {
        const std::uint8_t* p = Row(Icon, y);
        std::string bits(maskStride, '\0');
        for (int x = 0; x < w; ++x, p += 4) {
            const TColor c = static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
            const std::uint8_t a = alpha ? p[3] : (tc != clNone && c == (tc & 0xFFFFFF) ? 0 : 255);
            s += static_cast<char>(p[0]);
            s += static_cast<char>(p[1]);
            s += static_cast<char>(p[2]);
            s += static_cast<char>(a);
            if (a == 0) bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
        }
        mask += bits;
    }
    s += mask;
    return s;
}

namespace {

struct JpegEncodeError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void JpegEncodeErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegEncodeError*>(cinfo->err)->jump, 1);
}
void JpegEncodeSilent(j_common_ptr) {}

// libjpeg leaves through longjmp on a fatal error, so the buffers live outside the jump's
// reach (in the caller) and only plain pointers are touched between setjmp and the end.
bool EncodeJpeg(const TBitmap& b, int quality, std::uint8_t* rgb, unsigned char*& out, unsigned long& outSize) {
    jpeg_compress_struct cinfo;
    JpegEncodeError err;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegEncodeErrorExit;
    err.mgr.output_message = JpegEncodeSilent;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = static_cast<JDIMENSION>(b.Width());
    cinfo.image_height = static_cast<JDIMENSION>(b.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const int w = b.Width();
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint8_t* p = Row(b, static_cast<int>(cinfo.next_scanline));
        for (int x = 0; x < w; ++x, p += 4) {  // BGRA to RGB
            rgb[3 * x] = p[2];
            rgb[3 * x + 1] = p[1];
            rgb[3 * x + 2] = p[0];
        }
        JSAMPROW row = rgb;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::string BitmapToJpeg(const TBitmap& Bitmap, int Quality) {
    if (Bitmap.Empty()) return std::string();
    std::vector<std::uint8_t> rgb(3 * static_cast<std::size_t>(Bitmap.Width()));
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool ok = EncodeJpeg(Bitmap, std::clamp(Quality, 1, 100), rgb.data(), out, size);
    std::string bytes;
    if (ok && out) bytes.assign(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

} // namespace plat
