// Text output and the DrawText layout.
#include <QPainter>

#include <algorithm>
#include <unordered_map>

#include "CanvasImpl.h"
#include "GfxNative.h"

namespace plat {

namespace {

QString Q(StringView s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// A painter on the bound surface, clipped to the canvas clip (rotated text only).
struct ClippedPainter {
    QPainter p;
    explicit ClippedPainter(TCanvas::Impl& d) : p(d.image) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        if (!d.clipIsImage) {
            QRegion r;
            for (const QRect& rc : d.clipRects) r += rc;
            p.setClipRegion(r);
        }
    }
};

bool TextDraws(TCanvas::Impl& d) { return d.textColor != clNone; }

// The ink of a text run as horizontal spans relative to the top-left of its text cell.
// Shaping and rasterising a run costs far more than copying its spans, and controls repaint
// the same captions over and over, so runs are kept per font and text.
struct TextMask {
    struct Span {
        int y, x0, x1;
    };
    std::vector<Span> spans;
};

struct TextCache {
    std::unordered_map<std::u16string, int> widths;
    std::unordered_map<std::u16string, TextMask> masks;
};

TextCache& Cache() {
    static TextCache cache;
    return cache;
}

constexpr std::size_t kCacheLimit = 4096;

std::u16string CacheKey(TCanvas::Impl& d, const QString& text) {
    d.CurrentFont();
    std::u16string key = d.fontKey;
    key.append(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    return key;
}

const TextMask& MaskFor(TCanvas::Impl& d, const QString& text) {
    TextCache& cache = Cache();
    std::u16string key = CacheKey(d, text);
    auto it = cache.masks.find(key);
    if (it != cache.masks.end()) return it->second;
    if (cache.masks.size() >= kCacheLimit) cache.masks.clear();
    const QFontMetrics& fm = d.Metrics();
    const int h = fm.height();
    const int pad = h;   // room for overhangs on every side
    QImage img(d.Advance(text) + 2 * pad, h + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    img.fill(0);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(d.CurrentFont());
        p.setPen(Qt::black);
        p.drawText(QPoint(pad, pad + fm.ascent()), text);
    }
    TextMask m;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(img.constScanLine(y));
        int x = 0;
        while (x < img.width()) {
            while (x < img.width() && (row[x] >> 24) < 0x80) ++x;
            const int a = x;
            while (x < img.width() && (row[x] >> 24) >= 0x80) ++x;
            if (x > a) m.spans.push_back({y - pad, a - pad, x - pad});
        }
    }
    return cache.masks.emplace(std::move(key), std::move(m)).first->second;
}

// Draws one unrotated run with its cell's top-left at surface position (sx, sy), clipped
// to the canvas clip and to `extra` (surface coordinates) when given.
void DrawRun(TCanvas::Impl& d, int sx, int sy, const QString& text, const QRect* extra) {
    if (!TextDraws(d) || text.isEmpty()) return;
    const std::uint32_t color = d.Px(ColorToRGB(d.TextColorNow()));
    for (const TextMask::Span& s : MaskFor(d, text).spans) {
        const int y = sy + s.y;
        int a = sx + s.x0, b = sx + s.x1;
        if (extra) {
            if (y < extra->top() || y > extra->bottom()) continue;
            a = std::max(a, extra->left());
            b = std::min(b, extra->right() + 1);
        }
        d.SpanRop2(y, a, b, color, R2_COPYPEN);
    }
}

void DrawRotatedRun(TCanvas::Impl& d, QPainter& p, const QString& text) {
    if (!TextDraws(d) || text.isEmpty()) return;
    p.setFont(d.CurrentFont());
    QColor c = gfx::ToQColor(d.TextColorNow());
    if (d.monochrome) c = QColor::fromRgb(gfx::Quantize(gfx::ToPixel(ColorToRGB(d.TextColorNow()))));
    p.setPen(c);
    p.drawText(QPoint(0, d.Metrics().ascent()), text);
}

void OpaqueCell(TCanvas::Impl& d, const QRect& cell) {
    if (d.bkMode != OPAQUE || d.bkColor == clNone || cell.isEmpty()) return;
    const std::uint32_t bk = d.Px(ColorToRGB(d.BkColorNow()));
    const QRect c = cell & d.clipBounds;
    for (int y = c.top(); y <= c.bottom(); ++y) d.SpanRop2(y, c.left(), c.right() + 1, bk, R2_COPYPEN);
}

} // namespace

int TCanvas::TextWidth(StringView text) { return TextExtent(text).cx; }

int TCanvas::TextHeight(StringView text) { return TextExtent(text).cy; }

int TCanvas::Impl::Advance(const QString& text) {
    if (text.isEmpty()) return 0;
    TextCache& cache = Cache();
    std::u16string key = CacheKey(*this, text);
    auto it = cache.widths.find(key);
    if (it != cache.widths.end()) return it->second;
    if (cache.widths.size() >= kCacheLimit) cache.widths.clear();
    const int w = Metrics().horizontalAdvance(text);
    cache.widths.emplace(std::move(key), w);
    return w;
}

TSize TCanvas::TextExtent(StringView text) {
    Impl& d = *impl_;
    return {d.Advance(Q(text)), d.Metrics().height()};
}

void TCanvas::GetTextMetrics(TTextMetric& tm) {
    Impl& d = *impl_;
    const QFontMetrics& fm = d.Metrics();
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.height();
    const int em = d.CurrentFont().pixelSize();
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmOverhang = 0;
}

void TCanvas::TextOut(int x, int y, StringView text) {
    Impl& d = *impl_;
    const int w = TextWidth(text);
    d.penPos = {x + w, y};
    if (!d.Ready()) return;
    Changing();
    const int sx = x + d.tx(), sy = y + d.ty();
    const int h = d.Metrics().height();
    const int orient = d.font.Orientation();
    if (orient % 3600 == 0) {
        OpaqueCell(d, QRect(sx, sy, w, h));
        DrawRun(d, sx, sy, Q(text), nullptr);
    } else {
        ClippedPainter cp(d);
        cp.p.translate(sx, sy);
        // Tenths of a degree counter-clockwise; y grows downwards, so Qt turns the other way.
        cp.p.rotate(-orient / 10.0);
        if (d.bkMode == OPAQUE && d.bkColor != clNone) cp.p.fillRect(QRect(0, 0, w, h), gfx::ToQColor(d.BkColorNow()));
        DrawRotatedRun(d, cp.p, Q(text));
    }
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, StringView text) {
    Impl& d = *impl_;
    if (!d.Ready()) return;
    Changing();
    const QRect box(r.Left + d.tx(), r.Top + d.ty(), r.Width(), r.Height());
    if (!r.IsEmpty()) OpaqueCell(d, box);
    if (!r.IsEmpty()) DrawRun(d, x + d.tx(), y + d.ty(), Q(text), &box);
    Changed();
}

// ---------------------------------------------------------------- DrawText

namespace {

struct Line {
    QString text;
    std::vector<bool> underline;   // per character of text
    int width = 0;
};

struct Layout {
    TCanvas::Impl& d;
    unsigned flags;
    int tabWidth;

    int Width(const QString& s) const {
        if (!(flags & DT_EXPANDTABS) || !s.contains(u'\t')) return d.Advance(s);
        int x = 0;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= s.size(); ++i) {
            if (i == s.size() || s[i] == u'\t') {
                x += d.Advance(s.mid(start, i - start));
                if (i < s.size()) x = (x / tabWidth + 1) * tabWidth;
                start = i + 1;
            }
        }
        return x;
    }
};

// Removes the prefix characters: "&&" gives "&", "&x" underlines x.
void StripPrefix(const QString& in, QString& out, std::vector<bool>& underline, bool process) {
    out.clear();
    underline.clear();
    for (qsizetype i = 0; i < in.size(); ++i) {
        QChar c = in[i];
        bool ul = false;
        if (process && c == u'&') {
            if (i + 1 >= in.size()) continue;
            ++i;
            c = in[i];
            ul = c != u'&';
        }
        out += c;
        underline.push_back(ul);
    }
}

Line MakeLine(const QString& text, const std::vector<bool>& ul, qsizetype a, qsizetype b, const Layout& lay) {
    Line l;
    l.text = text.mid(a, b - a);
    l.underline.assign(ul.begin() + a, ul.begin() + b);
    l.width = lay.Width(l.text);
    return l;
}

// Greedy word wrap of one paragraph.
void Wrap(const QString& text, const std::vector<bool>& ul, int maxWidth, const Layout& lay, std::vector<Line>& lines) {
    const bool breakWords = (lay.flags & DT_EDITCONTROL) != 0;
    qsizetype start = 0;
    const qsizetype n = text.size();
    if (n == 0) {
        lines.push_back(Line{});
        return;
    }
    while (start < n) {
        // Extend word by word while the line fits.
        qsizetype end = start;       // end of the accepted text
        qsizetype pos = start;
        while (pos < n) {
            qsizetype wordEnd = pos;
            while (wordEnd < n && text[wordEnd] == u' ') ++wordEnd;
            while (wordEnd < n && text[wordEnd] != u' ') ++wordEnd;
            if (lay.Width(text.mid(start, wordEnd - start)) <= maxWidth || end == start) {
                if (end == start && lay.Width(text.mid(start, wordEnd - start)) > maxWidth) {
                    // A word wider than the rectangle: broken only for edit controls.
                    if (breakWords) {
                        qsizetype k = start + 1;
                        while (k < wordEnd && lay.Width(text.mid(start, k + 1 - start)) <= maxWidth) ++k;
                        end = k;
                    } else {
                        end = wordEnd;
                    }
                    pos = end;
                    break;
                }
                end = wordEnd;
                pos = wordEnd;
            } else {
                break;
            }
        }
        // Trailing blanks of a broken line are not shown.
        qsizetype shown = end;
        while (shown > start && text[shown - 1] == u' ') --shown;
        lines.push_back(MakeLine(text, ul, start, shown, lay));
        start = end;
        while (start < n && text[start] == u' ') ++start;
    }
}

// Shortens a line until it and "..." fit into maxWidth.
void Ellipsize(Line& l, int maxWidth, const Layout& lay, bool always) {
    if (!always && l.width <= maxWidth) return;
    const QString dots = QStringLiteral("...");
    while (!l.text.isEmpty() && lay.Width(l.text + dots) > maxWidth) {
        l.text.chop(1);
        l.underline.pop_back();
    }
    l.text += dots;
    for (int i = 0; i < 3; ++i) l.underline.push_back(false);
    l.width = lay.Width(l.text);
}

} // namespace

int TCanvas::DrawText(StringView textIn, TRect& r, unsigned flags) {
    Impl& d = *impl_;
    const QFontMetrics& fm = d.Metrics();
    Layout lay{d, flags, std::max(1, fm.averageCharWidth()) * 8};
    const int lineHeight = fm.height() + ((flags & DT_EXTERNALLEADING) ? std::max(0, fm.leading()) : 0);

    QString text;
    std::vector<bool> ul;
    StripPrefix(Q(textIn), text, ul, !(flags & DT_NOPREFIX));

    // Lines: split at CR, LF or CR LF unless single-line; then word wrap.
    std::vector<Line> lines;
    const int maxWidth = r.Width();
    if (flags & DT_SINGLELINE) {
        QString one;
        std::vector<bool> oneUl;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' || text[i] == u'\n') continue;
            one += text[i];
            oneUl.push_back(ul[static_cast<std::size_t>(i)]);
        }
        if (!one.isEmpty()) lines.push_back(MakeLine(one, oneUl, 0, one.size(), lay));
    } else if (!text.isEmpty()) {
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
            const QString para = text.mid(start, i - start);
            const std::vector<bool> paraUl(ul.begin() + start, ul.begin() + i);
            if (flags & DT_WORDBREAK) Wrap(para, paraUl, maxWidth, lay, lines);
            else lines.push_back(MakeLine(para, paraUl, 0, para.size(), lay));
            if (i < text.size() && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }

    if ((flags & DT_END_ELLIPSIS) && !(flags & DT_CALCRECT)) {
        const bool wrap = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE);
        if (!wrap) {
            for (Line& l : lines) Ellipsize(l, maxWidth, lay, false);
        } else {
            for (Line& l : lines)
                if (l.width > maxWidth) Ellipsize(l, maxWidth, lay, false);
            // More lines than the rectangle holds: the last visible one ends in "...".
            const int fit = std::max(1, r.Height() / std::max(1, lineHeight));
            if (static_cast<int>(lines.size()) > fit) {
                lines.resize(static_cast<std::size_t>(fit));
                Ellipsize(lines.back(), maxWidth, lay, true);
            }
        }
    }
    if ((flags & DT_EDITCONTROL) && !(flags & DT_CALCRECT) && !(flags & DT_SINGLELINE)) {
        // Edit controls show no partly visible last line.
        const int fit = std::max(1, r.Height() / std::max(1, lineHeight));
        if (static_cast<int>(lines.size()) > fit) lines.resize(static_cast<std::size_t>(fit));
    }

    int widest = 0;
    for (const Line& l : lines) widest = std::max(widest, l.width);
    const int total = static_cast<int>(lines.size()) * lineHeight;

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + widest;
        r.Bottom = r.Top + total;
        return total;
    }

    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER) y = r.Top + (r.Height() - total) / 2;
        else if (flags & DT_BOTTOM) y = r.Bottom - total;
    }
    const int result = (flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)) ? y - r.Top + total : total;

    if (lines.empty() || !d.Ready()) return result;
    Changing();
    unsigned align = flags & (DT_CENTER | DT_RIGHT);
    if (flags & DT_RTLREADING) {
        if (align == DT_LEFT) align = DT_RIGHT;
        else if (align == DT_RIGHT) align = DT_LEFT;
    }
    const QRect box(r.Left + d.tx(), r.Top + d.ty(), r.Width(), r.Height());
    const bool clip = !(flags & DT_NOCLIP);
    if (clip && box.isEmpty()) {
        Changed();
        return result;
    }
    const QRect* extra = clip ? &box : nullptr;
    const bool drawGlyphs = !(flags & DT_PREFIXONLY);
    const bool drawUnderline = !(flags & DT_HIDEPREFIX) && !(flags & DT_NOPREFIX);
    const int ulOffset = std::max(1, fm.underlinePos());
    const int ulWidth = std::max(1, fm.lineWidth());
    for (const Line& l : lines) {
        int x = r.Left;
        if (align & DT_CENTER) x = r.Left + (r.Width() - l.width) / 2;
        else if (align & DT_RIGHT) x = r.Right - l.width;
        const int sx = x + d.tx(), sy = y + d.ty();
        if (drawGlyphs) {
            if (d.bkMode == OPAQUE && d.bkColor != clNone) {
                // The cell behind the text, clipped like the text.
                QRect cell(sx, sy, l.width, lineHeight);
                if (clip) cell &= box;
                OpaqueCell(d, cell);
            }
            if ((flags & DT_EXPANDTABS) && l.text.contains(u'\t')) {
                qsizetype start = 0;
                int cx = 0;
                for (qsizetype i = 0; i <= l.text.size(); ++i) {
                    if (i == l.text.size() || l.text[i] == u'\t') {
                        const QString seg = l.text.mid(start, i - start);
                        DrawRun(d, sx + cx, sy, seg, extra);
                        cx += d.Advance(seg);
                        if (i < l.text.size()) cx = (cx / lay.tabWidth + 1) * lay.tabWidth;
                        start = i + 1;
                    }
                }
            } else {
                DrawRun(d, sx, sy, l.text, extra);
            }
        }
        if (drawUnderline && TextDraws(d)) {
            for (std::size_t i = 0; i < l.underline.size(); ++i) {
                if (!l.underline[i]) continue;
                const qsizetype ci = static_cast<qsizetype>(i);
                const int ux0 = sx + lay.Width(l.text.left(ci));
                const int ux1 = sx + lay.Width(l.text.left(ci + 1));
                QRect u(ux0, sy + fm.ascent() + ulOffset, ux1 - ux0, ulWidth);
                if (extra) u &= *extra;
                u &= d.clipBounds;
                const std::uint32_t color = d.Px(ColorToRGB(d.TextColorNow()));
                for (int uy = u.top(); uy <= u.bottom(); ++uy) d.SpanRop2(uy, u.left(), u.right() + 1, color, R2_COPYPEN);
            }
        }
        y += lineHeight;
    }
    Changed();
    return result;
}

} // namespace plat
