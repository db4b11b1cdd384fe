#include "StdCommon.h"

#include <memory>
#include <optional>
#include <unordered_map>

#include "plat/Messages.h"

namespace plat::std_detail {

TCanvas* MeasureCanvas(const TFont* Font)
{
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap)
        bitmap = std::make_unique<TBitmap>(4, 4);
    TCanvas* c = bitmap->Canvas();
    if (Font)
        c->SetFont(Font);
    return c;
}

int FontPixels(const TFont* Font)
{
    if (!Font)
        return 11;
    const int h = Font->Height();
    return h < 0 ? -h : (h > 0 ? h : 11);
}

namespace {

// One measurement: the font's face, size, style, charset, pitch and angle, the text, the
// layout flags and the wrapping width decide the extent completely.
struct MeasureKey {
    String Face;
    int Height;
    TFontStyles Style;
    TFontCharset Charset;
    TFontPitch Pitch;
    int Orientation;
    unsigned Flags;
    int WrapWidth;
    String Text;
    bool operator==(const MeasureKey&) const = default;
};

struct MeasureKeyHash {
    std::size_t operator()(const MeasureKey& k) const noexcept
    {
        std::size_t h = std::hash<String>{}(k.Text);
        const auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
        mix(std::hash<String>{}(k.Face));
        mix(static_cast<std::size_t>(k.Height));
        mix(static_cast<std::size_t>(k.Style.Bits()));
        mix(static_cast<std::size_t>(k.Flags));
        mix(static_cast<std::size_t>(k.WrapWidth));
        mix(static_cast<std::size_t>(k.Charset) | static_cast<std::size_t>(k.Pitch) << 8);
        mix(static_cast<std::size_t>(k.Orientation));
        return h;
    }
};

// Windows repeat the same captions in the same font (the dots of address rows, blank
// captions, the same field names on many panels): measured once each. Bounded: the table is
// emptied when it reaches its size.
constexpr std::size_t Measure_Cache_Size = 4096;

} // namespace

TSize MeasureText(const TFont* Font, StringView Text, unsigned Flags, int WrapWidth)
{
    static std::unordered_map<MeasureKey, TSize, MeasureKeyHash> cache;
    std::optional<MeasureKey> key;
    if (Font) {
        key = MeasureKey{Font->Name(), Font->Height(), Font->Style(), Font->Charset(), Font->Pitch(),
                         Font->Orientation(), Flags, WrapWidth, String(Text)};
        if (const auto it = cache.find(*key); it != cache.end())
            return it->second;
    }
    TCanvas* c = MeasureCanvas(Font);
    TRect r{0, 0, WrapWidth > 0 ? WrapWidth : 0x3FFFFFFF, 0};
    c->DrawText(Text, r, Flags | DT_CALCRECT);
    const TSize size{r.Width(), r.Height()};
    if (key) {
        if (cache.size() >= Measure_Cache_Size)
            cache.clear();
        cache.emplace(std::move(*key), size);
    }
    return size;
}

bool NotifyParent(TWinControl* Control, int Code)
{
    TWinControl* parent = Control->Parent();
    if (!parent)
        return false;
    SendMessage(parent->Handle(), WM_COMMAND, MakeWParam(0, Code), static_cast<LPARAM>(Control->Handle()));
    return true;
}

TColor BackgroundColor(const TControl* Control)
{
    return ColorToRGB(Control->Color());
}

void DrawClientEdge(TCanvas* Canvas, TRect& R)
{
    DrawEdge(Canvas, R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
}

bool RepaintOnChange(TCustomControl* Control, TMessage& Message, unsigned On)
{
    unsigned kind = 0;
    switch (Message.Msg) {
    case CM_TEXTCHANGED: kind = roText; break;
    case CM_FONTCHANGED: kind = roFont; break;
    case CM_COLORCHANGED: kind = roColor; break;
    case CM_ENABLEDCHANGED: kind = roEnabled; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: kind = roFocus; break;
    default: return false;
    }
    if (!(On & kind))
        return false;
    Control->TWinControl::WndProc(Message);
    Control->Invalidate();
    return true;
}

} // namespace plat::std_detail
