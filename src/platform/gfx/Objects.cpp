// Colours, pens, brushes, fonts and the font map.
#include <QByteArray>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <array>
#include <cmath>
#include <mutex>

#include "CanvasImpl.h"
#include "GfxNative.h"
#include "plat/Files.h"

namespace plat {

namespace {

// The fixed system-colour table (0x00BBGGRR), so pixels are the same on every machine.
constexpr std::array<TColor, SysColorCount> kDefaultSysColors = {
    RGB(0xC8, 0xC8, 0xC8), // scroll bar
    RGB(0x00, 0x00, 0x00), // background
    RGB(0x99, 0xB4, 0xD1), // active caption
    RGB(0xBF, 0xCD, 0xDB), // inactive caption
    RGB(0xF0, 0xF0, 0xF0), // menu
    RGB(0xFF, 0xFF, 0xFF), // window
    RGB(0x64, 0x64, 0x64), // window frame
    RGB(0x00, 0x00, 0x00), // menu text
    RGB(0x00, 0x00, 0x00), // window text
    RGB(0x00, 0x00, 0x00), // caption text
    RGB(0xB4, 0xB4, 0xB4), // active border
    RGB(0xF4, 0xF7, 0xFC), // inactive border
    RGB(0xAB, 0xAB, 0xAB), // app workspace
    RGB(0x33, 0x99, 0xFF), // highlight
    RGB(0xFF, 0xFF, 0xFF), // highlight text
    RGB(0xF0, 0xF0, 0xF0), // button face
    RGB(0xA0, 0xA0, 0xA0), // button shadow
    RGB(0x6D, 0x6D, 0x6D), // grey text
    RGB(0x00, 0x00, 0x00), // button text
    RGB(0x43, 0x4E, 0x54), // inactive caption text
    RGB(0xFF, 0xFF, 0xFF), // button highlight
    RGB(0x69, 0x69, 0x69), // 3-D dark shadow
    RGB(0xE3, 0xE3, 0xE3), // 3-D light
    RGB(0x00, 0x00, 0x00), // info text
    RGB(0xFF, 0xFF, 0xE1), // info background
    RGB(0xB5, 0xB5, 0xB5), // (25, unused by the platform: alternate button face)
    RGB(0x00, 0x66, 0xCC), // hot light
    RGB(0xB9, 0xD1, 0xEA), // gradient active caption
    RGB(0xD7, 0xE4, 0xF2), // gradient inactive caption
    RGB(0x33, 0x99, 0xFF), // menu highlight
    RGB(0xF0, 0xF0, 0xF0), // menu bar
};

std::array<TColor, SysColorCount>& SysColors() {
    static std::array<TColor, SysColorCount> table = kDefaultSysColors;
    return table;
}

} // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= SysColorCount) return clBlack;
    return SysColors()[static_cast<std::size_t>(index)];
}

void SetSysColor(int index, TColor rgb) {
    if (index < 0 || index >= SysColorCount) return;
    SysColors()[static_cast<std::size_t>(index)] = rgb & 0xFFFFFF;
}

void RestoreSysColors() { SysColors() = kDefaultSysColors; }

TColor ColorToRGB(TColor color) {
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) == 0xFF000000u) return GetSysColor(color & 0xFF);
    return color;
}

int PenModeToRop2(TPenMode mode) {
    static constexpr int map[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                                  R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                  R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN,
                                  R2_XORPEN, R2_NOTXORPEN};
    const int i = static_cast<int>(mode);
    return (i >= 0 && i < 16) ? map[i] : R2_COPYPEN;
}

// ---------------------------------------------------------------- font map

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool SameName(StringView a, StringView b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

struct FontMapEntry {
    const char16_t* name;
    const char16_t* family;
};

constexpr FontMapEntry kFontMap[] = {
    {u"Verdana", u"DejaVu Sans"},
    {u"Segoe UI", u"DejaVu Sans"},
    {u"Tahoma", u"Tahoma"},
    {u"MS Sans Serif", u"MS Sans Serif"},
    {u"Microsoft Sans Serif", u"MS Sans Serif"},
    {u"Arial", u"Liberation Sans"},
    {u"Times New Roman", u"Liberation Serif"},
    {u"Courier New", u"Liberation Mono"},
    {u"Symbol", u"Symbol"},
    {u"Comic Sans MS", u"Comic Neue"},
    {u"DejaVu Sans", u"DejaVu Sans"},
    {u"Liberation Sans", u"Liberation Sans"},
    {u"Liberation Serif", u"Liberation Serif"},
    {u"Liberation Mono", u"Liberation Mono"},
};

// Families that come from Wine's font files, with the files that carry them.
struct WineFont {
    const char* file;
    const char16_t* family;
};
constexpr WineFont kWineFonts[] = {
    {"tahoma.ttf", u"Tahoma"},
    {"tahomabd.ttf", u"Tahoma"},
    {"ms_sans_serif.ttf", u"MS Sans Serif"},
    {"symbol.ttf", u"Symbol"},
};
constexpr const char* kWineFontDirs[] = {"/usr/share/fonts/truetype/wine/", "/usr/share/wine/fonts/"};

std::vector<String>& RegisteredFamilies() {
    static std::vector<String> families;
    return families;
}

bool FamilyInstalled(const String& family) {
    gfx::EnsureFonts();
    for (const String& f : RegisteredFamilies())
        if (SameName(f, family)) return true;
    return false;
}

} // namespace

namespace gfx {

void EnsureFonts() {
    static std::once_flag once;
    if (!QGuiApplication::instance()) return; // the font database needs the application
    std::call_once(once, [] {
        auto& families = RegisteredFamilies();
        for (const WineFont& wf : kWineFonts) {
            for (const char* dir : kWineFontDirs) {
                // Through the layer's reader like every file (regular files only, bounded),
                // then handed over as bytes.
                std::string bytes;
                if (!ReadFileBytes(Utf8ToString(std::string(dir) + wf.file), bytes)) continue;
                if (QFontDatabase::addApplicationFontFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))) >= 0)
                    break;
            }
        }
        const QStringList all = QFontDatabase::families();
        for (const QString& f : all) families.push_back(f.toStdU16String());
    });
}

} // namespace gfx

String MapFontName(StringView name) {
    for (const FontMapEntry& e : kFontMap) {
        if (!SameName(name, e.name)) continue;
        const String family = e.family;
        // Stand-ins that may be missing on a machine fall back on the default family.
        if (family == u"Comic Neue" || family == u"Tahoma" || family == u"MS Sans Serif" || family == u"Symbol") {
            if (QGuiApplication::instance() && !FamilyInstalled(family)) return u"DejaVu Sans";
        }
        return family;
    }
    return u"DejaVu Sans";
}

// ---------------------------------------------------------------- graphics objects

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

TFont::TFont() : name_(u"Tahoma"), height_(-11), color_(clWindowText) {}

TFont::TFont(const TFont& other) : TGraphicsObject() { Assign(other); }

TFont& TFont::operator=(const TFont& other) {
    Assign(other);
    return *this;
}

void TFont::Assign(const TPersistent* Source) {
    if (auto* f = dynamic_cast<const TFont*>(Source)) {
        Assign(*f);
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::Assign(const TFont& s) {
    if (&s == this) return;
    name_ = s.name_;
    height_ = s.height_;
    style_ = s.style_;
    color_ = s.color_;
    charset_ = s.charset_;
    pitch_ = s.pitch_;
    orientation_ = s.orientation_;
    Changed();
}

bool TFont::Equals(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_ && orientation_ == o.orientation_;
}

void TFont::SetName(const String& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

int TFont::Size() const {
    // Height = -round(Size * 96 / 72), back again.
    return -static_cast<int>(std::lround(height_ * 72.0 / ScreenPixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(points * static_cast<double>(ScreenPixelsPerInch) / 72.0)));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Changed();
}

void TFont::SetOrientation(int tenths) {
    if (tenths == orientation_) return;
    orientation_ = tenths;
    Changed();
}

void TPen::Assign(const TPersistent* Source) {
    if (auto* p = dynamic_cast<const TPen*>(Source)) {
        Assign(*p);
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::Assign(const TPen& s) {
    if (&s == this) return;
    color_ = s.color_;
    width_ = s.width_;
    style_ = s.style_;
    mode_ = s.mode_;
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width) {
    if (width < 0) width = 0;
    if (width == width_) return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Changed();
}

void TBrush::Assign(const TPersistent* Source) {
    if (auto* b = dynamic_cast<const TBrush*>(Source)) {
        Assign(*b);
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::Assign(const TBrush& s) {
    if (&s == this) return;
    color_ = s.color_;
    style_ = s.style_;
    hasPattern_ = s.hasPattern_;
    pattern_ = s.pattern_;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty()) {
        ClearPattern();
        return;
    }
    std::array<std::uint8_t, 8> rows{};
    const int w = bitmap->Width(), h = bitmap->Height();
    for (int y = 0; y < 8; ++y) {
        const auto* line = static_cast<const std::uint8_t*>(bitmap->ScanLine(y % h));
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* p = line + 4 * (x % w);
            // B, G, R bytes; the same brightness rule that makes a bitmap monochrome.
            const unsigned luma = p[2] * 30u + p[1] * 59u + p[0] * 11u;
            if (luma >= 12800u) rows[static_cast<std::size_t>(y)] |= static_cast<std::uint8_t>(0x80u >> x);
        }
    }
    SetPattern(rows);
}

void TBrush::SetPattern(const std::array<std::uint8_t, 8>& rows) {
    if (hasPattern_ && rows == pattern_) return;
    hasPattern_ = true;
    pattern_ = rows;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::ClearPattern() {
    if (!hasPattern_) return;
    hasPattern_ = false;
    pattern_ = {};
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

// ---------------------------------------------------------------- Qt bridge

namespace gfx {

void EnsureGuiApplication() {
    if (!QGuiApplication::instance()) {
        static int argc = 3;
        static char arg0[] = "configurator";
        static char arg1[] = "-platform";
        static char arg2[] = "offscreen";
        static char* argv[] = {arg0, arg1, arg2, nullptr};
        static QGuiApplication* app = new QGuiApplication(argc, argv);
        (void)app;
    }
    EnsureFonts();
}

void RegisterFonts() { EnsureFonts(); }

QFont NewQFont(const TFont& font);

QFont ToQFont(const TFont& font) {
    EnsureFonts();
    // Windows create their controls with a few fonts, each converted many times: the last
    // conversion is kept and handed out again (a shared copy) while the font is the same.
    struct Last {
        bool valid = false;
        String name;
        int height = 0;
        TFontStyles style;
        TFontPitch pitch = fpDefault;
        QFont font;
    };
    // Never destroyed: a font must not outlive the application object at exit.
    static thread_local Last& last = *new Last;
    if (last.valid && last.height == font.Height() && last.style == font.Style() && last.pitch == font.Pitch() &&
        last.name == font.Name())
        return last.font;
    QFont f = NewQFont(font);
    last.valid = true;
    last.name = font.Name();
    last.height = font.Height();
    last.style = font.Style();
    last.pitch = font.Pitch();
    last.font = f;
    return f;
}

QFont NewQFont(const TFont& font) {
    QFont f(QString::fromStdU16String(MapFontName(font.Name())));
    int px = font.Height();
    if (px < 0) {
        px = -px;
    } else if (px > 0) {
        // Positive heights give the cell height (ascent + descent): scale the em size.
        QFont probe = f;
        probe.setPixelSize(100);
        const QFontMetrics fm(probe);
        const int cell = fm.ascent() + fm.descent();
        px = cell > 0 ? std::max(1, static_cast<int>(std::lround(px * 100.0 / cell))) : px;
    } else {
        px = 11;
    }
    f.setPixelSize(std::max(1, px));
    f.setBold(font.Style().Contains(fsBold));
    f.setItalic(font.Style().Contains(fsItalic));
    f.setUnderline(font.Style().Contains(fsUnderline));
    f.setStrikeOut(font.Style().Contains(fsStrikeOut));
    f.setKerning(false);
    // No shaping: ligatures would turn "fi" into one glyph ("Save the fle"), and the
    // callers measure captions character by character.
    f.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::NoSubpixelAntialias |
                                                         QFont::PreferNoShaping));
    f.setHintingPreference(QFont::PreferFullHinting);
    if (font.Pitch() == fpFixed) f.setFixedPitch(true);
    return f;
}

String ActualFontFamily(const TFont& font) {
    return QFontInfo(ToQFont(font)).family().toStdU16String();
}

int ActualPixelSize(const TFont& font) { return QFontInfo(ToQFont(font)).pixelSize(); }

QColor ToQColor(TColor color) {
    if (color == clNone) return QColor();
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) {
    if (!color.isValid()) return clNone;
    return RGB(color.red(), color.green(), color.blue());
}

} // namespace gfx

} // namespace plat
