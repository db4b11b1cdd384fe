#include "LazyTrees.Utils.h"

#include <algorithm>
#include <vector>

#include "LazyTrees.Assert.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"

namespace vtree {

TRect NormalizeRectCorners(const TRect& R)
{
    return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
            std::max(R.Top, R.Bottom)};
}

void ClipCanvasToRect(plat::TCanvas* Canvas, const TRect& R, const plat::TRegion* VisibleRegion)
{
    // Clip regions live in device units; the canvas's window origin shifts logical ones.
    const TPoint org = Canvas->WindowOrg();
    plat::TRegion clip(TRect{R.Left - org.X, R.Top - org.Y, R.Right - org.X, R.Bottom - org.Y});
    if (VisibleRegion)
        clip.Combine(clip, *VisibleRegion, plat::RGN_AND);
    Canvas->SelectClipRgn(&clip);
}

void CalculateTextRect(plat::TCanvas* Canvas, plat::StringView Text, TRect& R, unsigned DrawFormat)
{
    R.Right = R.Left + 1;
    R.Bottom = R.Top + 1;
    Canvas->DrawText(Text, R, DrawFormat | plat::DT_CALCRECT);
}

String ShortenTextWithEllipsis(plat::TCanvas* Canvas, const String& S, int Width, int EllipsisWidth)
{
    static const String Ellipsis = u"...";
    if (S.empty() || Width <= 0)
        return {};
    if (EllipsisWidth == 0)
        EllipsisWidth = Canvas->TextWidth(Ellipsis);

    // Widths grow with the character count, so bisection finds the longest fitting prefix.
    int low = 0;
    int high = static_cast<int>(S.size());
    while (high > low) {
        const int n = (low + high + 1) / 2;
        const int extent = EllipsisWidth + Canvas->TextWidth(plat::StringView(S).substr(0, n));
        if (extent <= Width)
            low = n;
        else
            high = n - 1;
    }
    if (low == static_cast<int>(S.size()))
        return S;
    if (EllipsisWidth < Width)
        return S.substr(0, low) + Ellipsis;
    return {};
}

namespace {

bool IsBlankOrControl(char16_t c) { return c <= u' '; }

int TextWidthFor(plat::TCanvas* Canvas, const String& Text, unsigned DrawFormat)
{
    TRect r{0, 0, 0, 0};
    CalculateTextRect(Canvas, Text, r, DrawFormat);
    return r.Right - r.Left;
}

} // namespace

String WrapTextIntoLines(plat::TCanvas* Canvas, const String& S, const TRect& Bounds, unsigned DrawFormat,
                         bool RightToLeft)
{
    String result;
    std::size_t first = 0;
    std::size_t last = S.size();
    while (first < last && IsBlankOrControl(S[first]))
        ++first;
    while (last > first && IsBlankOrControl(S[last - 1]))
        --last;
    if (first == last)
        return result;
    const String text = S.substr(first, last - first);
    const int maxWidth = Bounds.Right - Bounds.Left;

    // Every blank separates two words, so runs of blanks keep their empty words.
    std::vector<String> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u' ') {
            words.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    // Right to left is the mirror image: words come from the end, and an over-long word
    // gives up its last characters first.
    if (RightToLeft)
        std::reverse(words.begin(), words.end());

    std::size_t next = 0;
    while (next < words.size()) {
        String line;
        int wordsInLine = 0;
        while (next < words.size()) {
            String& word = words[next];
            String test;
            if (RightToLeft)
                test = word + (wordsInLine > 0 ? u" " : u"") + line;
            else
                test = line + (wordsInLine > 0 ? u" " : u"") + word;
            if (TextWidthFor(Canvas, test, DrawFormat) > maxWidth) {
                if (wordsInLine == 0) {
                    // The word alone is too wide: the line takes as much of it as fits, at
                    // least one character, so wrapping always makes progress.
                    std::size_t take = 1;
                    if (word.size() >= 2) {
                        for (std::size_t n = word.size() - 1; n >= 1; --n) {
                            const String part = RightToLeft ? word.substr(word.size() - n) : word.substr(0, n);
                            if (TextWidthFor(Canvas, part, DrawFormat) <= maxWidth) {
                                take = n;
                                break;
                            }
                        }
                    } else {
                        take = word.size();
                    }
                    if (RightToLeft) {
                        line = word.substr(word.size() - take);
                        word.erase(word.size() - take);
                    } else {
                        line = word.substr(0, take);
                        word.erase(0, take);
                    }
                    if (word.empty())
                        ++next;
                }
                break;
            }
            line = std::move(test);
            ++wordsInLine;
            ++next;
        }
        result += line;
        result += u'\n';
    }
    if (!result.empty() && result.back() == u'\n')
        result.pop_back();
    return result;
}

bool CpuSupportsMmx() { return true; }

std::uint8_t* ScanlineAddress(std::uint8_t* Bits, int Width, int Height, int Row)
{
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(Width) * 4;
    if (Height > 0)
        return Bits + stride * (Height - Row - 1);
    return Bits + stride * Row;
}

std::uint8_t* DibBitsOfDC(plat::TBitmap* DC, int& Width, int& Height)
{
    if (!DC || DC->Empty())
        throw EAssertionFailed(u"Alpha blending DC error: no bitmap available.");
    if (DC->PixelFormat() != plat::pf32bit)
        throw EAssertionFailed(u"Alpha blending error: bitmap must use 32 bpp.");
    Width = DC->Width();
    Height = -DC->Height();
    return static_cast<std::uint8_t*>(DC->ScanLine(0));
}

namespace {

// The blend works in 16-bit lanes: the weighted sum wraps at 65536, the bias is added with
// signed saturation and the byte is stored with unsigned saturation.
inline std::uint8_t BlendChannel(int s, int d, int alpha, int bias)
{
    const int t = static_cast<std::uint16_t>((s - d) * alpha + d * 256) >> 8;
    return static_cast<std::uint8_t>(std::clamp(t + bias, 0, 255));
}

inline int ClampBias(int Bias) { return std::clamp(Bias, -32768, 32767); }
inline int ClampAlpha(int Alpha) { return std::clamp(Alpha, 0, 255); }

} // namespace

void BlendRowConstant(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int ConstantAlpha, int Bias)
{
    const int alpha = ClampAlpha(ConstantAlpha);
    const int bias = ClampBias(Bias);
    for (int i = 0; i < Count * 4; ++i)
        Destination[i] = BlendChannel(Source[i], Destination[i], alpha, bias);
}

void BlendRowPerPixel(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int Bias)
{
    const int bias = ClampBias(Bias);
    for (int p = 0; p < Count; ++p, Source += 4, Destination += 4) {
        const int alpha = Source[3];
        for (int c = 0; c < 4; ++c)
            Destination[c] = BlendChannel(Source[c], Destination[c], alpha, bias);
    }
}

void BlendRowMaster(const std::uint8_t* Source, std::uint8_t* Destination, int Count, int ConstantAlpha, int Bias)
{
    const int master = ClampAlpha(ConstantAlpha);
    const int bias = ClampBias(Bias);
    for (int p = 0; p < Count; ++p, Source += 4, Destination += 4) {
        const int alpha = (Source[3] * master) >> 8;
        for (int c = 0; c < 4; ++c)
            Destination[c] = BlendChannel(Source[c], Destination[c], alpha, bias);
    }
}

void BlendRowMasterColor(std::uint8_t* Destination, int Count, int ConstantAlpha, plat::TColor Color)
{
    const int alpha = ClampAlpha(ConstantAlpha);
    // Pixel byte order is blue, green, red, alpha; the colour's alpha takes no part.
    const int channels[4] = {plat::GetBValue(Color), plat::GetGValue(Color), plat::GetRValue(Color), 0};
    for (int p = 0; p < Count; ++p, Destination += 4)
        for (int c = 0; c < 4; ++c)
            Destination[c] =
                static_cast<std::uint8_t>(std::min((Destination[c] * (256 - alpha) + channels[c] * alpha) >> 8, 255));
}

void EndMmxBlock() {}

namespace {

// The part of the span [first, last) that stays inside [0, size) on both sides, where the
// other side is shifted by offset.
void ClipSpan(int& first, int& last, int sourceSize, int destSize, int offset)
{
    first = std::max({first, 0, -offset});
    last = std::min({last, sourceSize, destSize - offset});
}

} // namespace

void AlphaBlendArea(plat::TBitmap* Source, plat::TBitmap* Destination, const TRect& R, TPoint Target,
                    TAlphaAreaMode Mode, int ConstantAlpha, int Bias)
{
    if (R.IsEmpty())
        return;

    int destWidth = 0;
    int destHeight = 0;
    if (Mode == amMasterColor) {
        std::uint8_t* destBits = DibBitsOfDC(Destination, destWidth, destHeight);
        const int rows = std::abs(destHeight);
        int left = R.Left, right = R.Right, top = R.Top, bottom = R.Bottom;
        ClipSpan(left, right, destWidth, destWidth, 0);
        ClipSpan(top, bottom, rows, rows, 0);
        for (int y = top; y < bottom; ++y)
            BlendRowMasterColor(ScanlineAddress(destBits, destWidth, destHeight, y) + left * 4, right - left,
                                ConstantAlpha, Bias);
        EndMmxBlock();
        return;
    }

    int sourceWidth = 0;
    int sourceHeight = 0;
    std::uint8_t* sourceBits = DibBitsOfDC(Source, sourceWidth, sourceHeight);
    std::uint8_t* destBits = DibBitsOfDC(Destination, destWidth, destHeight);
    // Whatever falls outside either bitmap is left out, so no row reads or writes beyond
    // the bits.
    const int dx = Target.X - R.Left;
    const int dy = Target.Y - R.Top;
    int left = R.Left, right = R.Right, top = R.Top, bottom = R.Bottom;
    ClipSpan(left, right, sourceWidth, destWidth, dx);
    ClipSpan(top, bottom, std::abs(sourceHeight), std::abs(destHeight), dy);
    const int count = right - left;
    if (count <= 0)
        return;
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* src = ScanlineAddress(sourceBits, sourceWidth, sourceHeight, y) + left * 4;
        std::uint8_t* dst = ScanlineAddress(destBits, destWidth, destHeight, y + dy) + (left + dx) * 4;
        switch (Mode) {
        case amConstant:
            BlendRowConstant(src, dst, count, ConstantAlpha, Bias);
            break;
        case amPerPixel:
            BlendRowPerPixel(src, dst, count, Bias);
            break;
        case amMaster:
            BlendRowMaster(src, dst, count, ConstantAlpha, Bias);
            break;
        default:
            break;
        }
    }
    EndMmxBlock();
}

std::int32_t ResolveColorValue(plat::TColor Color)
{
    if (Color == plat::clNone)
        return static_cast<std::int32_t>(0xFFFFFFFFu);
    if (Color == plat::clDefault)
        return static_cast<std::int32_t>(0xFF000000u);
    return plat::ColorToRGB(Color);
}

void CalculateDragImageMoveRects(int Width, int Height, int DeltaX, int DeltaY, TRect& ClipRect, TRect& ScrollRect,
                                 TRect& CaptureA, TRect& CaptureB, TRect& RestoreA, TRect& RestoreB)
{
    const int W = Width, H = Height, dx = DeltaX, dy = DeltaY;
    ClipRect = {0, 0, W, H};
    if (dx > 0) {
        CaptureA = {0, 0, dx, H};
        if (dy == 0) {
            ScrollRect = {0, 0, W - dx, H};
            RestoreA = {W - dx, 0, dx, H};
        } else if (dy > 0) {
            ScrollRect = {0, 0, W - dx, H - dy};
            CaptureB = {dx, 0, W - dx, dy};
            RestoreA = {0, H - dy, W - dx, dy};
            RestoreB = {W - dx, 0, dx, H};
        } else {
            ScrollRect = {0, -dy, W - dx, H};
            CaptureB = {dx, H + dy, W - dx, -dy};
            RestoreA = {0, 0, W - dx, -dy};
            RestoreB = {W - dx, 0, dx, H};
        }
    } else if (dx < 0) {
        if (dy == 0) {
            ScrollRect = {-dx, 0, W, H};
            CaptureA = {W + dx, 0, -dx, H};
            RestoreA = {0, 0, -dx, H};
        } else if (dy > 0) {
            ScrollRect = {-dx, 0, W, H};
            CaptureA = {0, 0, W + dx, dy};
            CaptureB = {W + dx, 0, -dx, H};
            RestoreA = {0, 0, -dx, H};
            RestoreB = {-dx, H - dy, W + dx, dy};
        } else {
            ScrollRect = {-dx, -dy, W, H};
            CaptureA = {0, H + dy, W + dx, -dy};
            CaptureB = {W + dx, 0, -dx, H};
            RestoreA = {0, 0, -dx, H};
            RestoreB = {-dx, 0, W + dx, -dy};
        }
    } else if (dy >= 0) {
        ScrollRect = {0, 0, W, H - dy};
        CaptureB = {0, 0, W, dy};
        RestoreB = {0, H - dy, W, dy};
    } else {
        ScrollRect = {0, -dy, W, H};
        CaptureB = {0, H + dy, W, -dy};
        RestoreB = {0, 0, W, -dy};
    }
}

void StretchDrawBitmapDib(plat::TCanvas* Canvas, const TRect& R, const plat::TBitmap* Bitmap)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    Canvas->StretchDraw(R, Bitmap);
}

void DrawListImage(const plat::TCustomImageList* ImageList, int Index, plat::TCanvas* Canvas, int X, int Y,
                   unsigned Style, bool Enabled)
{
    if (!ImageList || !Canvas)
        return;
    if (Enabled)
        ImageList->Draw(Canvas, X, Y, Index, Style, true);
    else
        DrawListImageSaturated(ImageList, Canvas, X, Index, Y);
}

void DrawListImageSaturated(const plat::TCustomImageList* ImageList, plat::TCanvas* Canvas, int X, int Index, int Y)
{
    if (!ImageList || !Canvas)
        return;
    plat::TBitmap image;
    if (!ImageList->GetBitmap(Index, &image))
        return;
    const plat::TColor key = image.TransparentColor();
    const std::uint8_t keyB = static_cast<std::uint8_t>(plat::GetBValue(key));
    const std::uint8_t keyG = static_cast<std::uint8_t>(plat::GetGValue(key));
    const std::uint8_t keyR = static_cast<std::uint8_t>(plat::GetRValue(key));
    for (int y = 0; y < image.Height(); ++y) {
        auto* p = static_cast<std::uint8_t*>(image.ScanLine(y));
        for (int x = 0; x < image.Width(); ++x, p += 4) {
            if (p[0] == keyB && p[1] == keyG && p[2] == keyR)
                continue;
            int grey = (p[2] * 30 + p[1] * 59 + p[0] * 11) / 100;
            // A grey that happened to equal the transparent colour would vanish.
            if (grey == keyB && grey == keyG && grey == keyR)
                grey += grey < 255 ? 1 : -1;
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>(grey);
        }
    }
    Canvas->Draw(X, Y, &image);
}

} // namespace vtree
