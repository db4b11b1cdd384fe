#pragma once
// The button family's shared vocabulary: its enumerations, the kind and colour presets,
// and the face arithmetic (hot-colour blend, gradient bands, glyph/caption placement,
// caption shortening) as plain functions, so that they are testable without a window.
// PaintFadeButton draws a whole face on a canvas from its inputs and changes nothing else.
// Colours are 0x00BBGGRR; the arithmetic works on colours already resolved to RGB.
#include <array>
#include <functional>

#include "plat/String.h"
#include "plat/Types.h"

namespace plat {
class TCanvas;
class TBitmap;
class TFont;
}

namespace controls {

using plat::String;
using plat::StringView;
using plat::TColor;

enum class TFadeButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum class TFadeButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum class TFadeColorStyle {
    lcsCustom, lcsGold, lcsChrome, lcsBlue, lcsRed, lcsUltraFlat1, lcsUltraFlat2,
    lcsUltraFlatXP, lcsAqua, lcsDefault, lcsQuicken
};
enum class TFadeButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// Caption alignment inside the button; the order is the framework's.
enum class TFadeAlignment { taLeftJustify, taRightJustify, taCenter };

// Transparent key of the styles that leave parts of the face unpainted.
constexpr TColor FadeTransparentKey = 0xFF00FF;
// Font colour of a disabled caption.
constexpr TColor FadeDisabledTextColor = 0x808080;

// ---- presets -------------------------------------------------------------------------

struct TColorStyleValues {
    TColor Face = plat::clNone;
    TColor Font = plat::clBlack;
    TColor Light = plat::clNone;
    TColor Shadow = plat::clNone;
    TColor WhenDown = plat::clNone;
    TColor HotTrack = plat::clNone;
    bool Flat = false;
    bool Modern = false;   // asks for bsModern
    bool Quicken = false;  // asks for bsQuicken
};

// lcsCustom gives a value object whose fields are all defaults; callers never apply it.
TColorStyleValues GetColorStyleValues(TFadeColorStyle style);

struct TKindPreset {
    int ModalResult = 0;
    const char* Resource = nullptr;  // name of the two-image glyph strip
    const char16_t* Caption = u"";
};

// bkCustom has no preset (Resource null).
TKindPreset KindPreset(TFadeButtonKind kind);

// ---- face arithmetic -----------------------------------------------------------------

// Hot-track step range: 0 = normal face, FadeHotSteps = full hot colour.
constexpr int FadeHotSteps = 8;

// Per channel trunc(face × (1 − step/8) + hot × step/8); both colours plain RGB.
TColor BlendHotColor(TColor faceRgb, TColor hotRgb, int step);

// Band i of a vertical gradient from colour a at row `top` to colour b at row `bottom`.
struct TGradientBand {
    int Top = 0;
    int Bottom = 0;  // exclusive
    TColor Color = 0;
};
constexpr int GradientBandCount = 32;
std::array<TGradientBand, GradientBandCount> VerticalGradientBands(int top, int bottom, TColor aRgb, TColor bRgb);

// Which image of the strip to show: 0 normal, 1 disabled, 2 pressed, 3 hot; a state whose
// image is missing falls back to 0. `down` must already be false for a disabled button.
int FadeGlyphIndex(int numGlyphs, bool enabled, bool hot, bool down);

// Pressed content moves one pixel right and down, except in the Encarta look.
int FadeDownShift(TFadeButtonStyle style, bool down);

// Width available to the caption.
int FadeCaptionAvail(TFadeButtonStyle style, TFadeButtonLayout layout, int width, int glyphWidth);

// Without word wrap the caption loses characters from its end (no ellipsis) while it is wider
// than `avail`; a surrogate pair goes as one character.
String ShortenCaption(String caption, int avail, const std::function<int(StringView)>& textWidth);

struct TFadeContentInput {
    int Width = 0;
    int Height = 0;
    TFadeButtonStyle Style = TFadeButtonStyle::bsNormal;
    TFadeButtonLayout Layout = TFadeButtonLayout::blGlyphLeft;
    TFadeAlignment Alignment = TFadeAlignment::taCenter;
    bool WordWrap = false;
    bool Down = false;  // pressed and enabled
    int GlyphWidth = 0;
    int GlyphHeight = 0;
    int TextWidth = 0;   // measured caption block, after shortening
    int TextHeight = 0;
    bool CaptionEmpty = false;
};

struct TFadeContentPlace {
    plat::TRect Text;   // rectangle the caption is drawn in
    plat::TPoint Glyph; // top-left of the glyph image
};

TFadeContentPlace PlaceFadeContent(const TFadeContentInput& in);

// ---- painting ------------------------------------------------------------------------

struct TFadePaintInput {
    int Width = 0;
    int Height = 0;
    TFadeAlignment Alignment = TFadeAlignment::taCenter;
    String Caption;
    TFadeButtonLayout Layout = TFadeButtonLayout::blGlyphLeft;
    const plat::TFont* Font = nullptr;
    TColor ShadowColor = 0x808080;
    TColor LightColor = plat::clWhite;
    TColor HotTrackColor = plat::clNone;
    TColor ColorWhenDown = plat::clNone;
    TColor Color = plat::clBtnFace;
    TFadeButtonStyle Style = TFadeButtonStyle::bsNormal;
    bool HasPopup = false;
    bool WordWrap = false;
    bool Flat = false;
    bool Enabled = true;
    bool NoFill = false;
    bool Hot = false;
    bool Down = false;
    const plat::TBitmap* Glyph = nullptr;
    int NumGlyphs = 0;
    int HotTrackStep = 0;
};

void PaintFadeButton(plat::TCanvas& canvas, const TFadePaintInput& in);

} // namespace controls
