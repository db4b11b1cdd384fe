#pragma once
// Colour schemes of the drop-down editors: what each component style gives the drop-down form,
// its header and footer and their buttons; the selection colour styles and the painting of a
// selected item; the looks of list items (TItemAppearance) and the component styles applied to
// them. The preset tables are pure data so the drop-down and every list descendant apply the
// same values; an empty optional means "the property keeps its value".
#include <optional>

#include "ExtStyleIF.h"
#include "plat/Graphics.h"

namespace dropdown {

using grid::TExtStyle;
using plat::TColor;

enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };

using TStyleColor = std::optional<TColor>;

// Form, header and footer colours of a component style.
struct TFormStyleColors {
    TStyleColor FormColor, FormColorTo, FormBorderColor;
    TStyleColor HeaderColor, HeaderColorTo, HeaderFontColor, HeaderBorderColor;
    TStyleColor FooterColor, FooterColorTo, FooterFontColor, FooterBorderColor;
};
// Nothing set for tsCustom and for values outside the enumeration.
TFormStyleColors FormStyleColors(int Style);

// Header and footer button colours of a component style (BorderColorDisabled is never set).
struct TButtonStyleColors {
    TStyleColor Color, ColorTo, BorderColor;
    TStyleColor ColorHot, ColorHotTo, BorderColorHot;
    TStyleColor ColorDown, ColorDownTo, BorderColorDown;
    TStyleColor ColorDisabled, ColorDisabledTo;
    TStyleColor ColorChecked, ColorCheckedTo, BorderColorChecked;
};
TButtonStyleColors ButtonStyleColors(int Style);

// SelectionColor and SelectionColorTo of a selection colour style; nothing for scCustom and
// values outside the enumeration.
struct TSelectionStyleColors {
    TStyleColor Color, ColorTo;
};
TSelectionStyleColors SelectionStyleColors(int Style);

// Paints one selected item in R: scCustom fills it with SelectionColor; the named styles draw
// a rounded selection box whose outer corner pixels take Background. Sides: 0 both ends
// rounded, 1 the left only, 2 the right only, anything else neither. Other styles draw nothing.
void DrawSelectionBackground(plat::TCanvas* Canvas, plat::TRect R, int Sides, TColor Background, int Style,
                             TColor SelectionColor, TColor SelectionColorTo);

// Looks shared by the items of a list: hot and selected faces (upper gradient and the mirror
// gradient of the lower half), their borders and text colours, and the caption font.
class TItemAppearance {
public:
    TItemAppearance();
    TItemAppearance(const TItemAppearance&) = delete;
    TItemAppearance& operator=(const TItemAppearance&) = delete;

    TColor ColorHot = plat::clNone, ColorHotTo = plat::clNone;
    TColor ColorMirrorHot = plat::clNone, ColorMirrorHotTo = plat::clNone;
    TColor ColorSelected = plat::clNone, ColorSelectedTo = plat::clNone;
    TColor ColorMirrorSelected = plat::clNone, ColorMirrorSelectedTo = plat::clNone;
    TColor BorderColor = plat::clNone, BorderColorTop = plat::clNone, BorderColorBottom = plat::clNone;
    TColor EdgeColor = plat::clNone;
    TColor BorderColorHot = plat::clNone, BorderColorSelected = plat::clNone;
    TColor ColorHotText = 0, ColorSelectedText = 0;

    plat::TFont* Font() { return &font_; }
    const plat::TFont* Font() const { return &font_; }
    void SetFont(const plat::TFont* Value) { font_.Assign(Value); }

    TSelectionColorStyle ColorStyle() const { return colorStyle_; }
    // Nothing when unchanged; the named styles overwrite the twelve preset colours.
    void SetColorStyle(TSelectionColorStyle Value);
    // The twelve preset colours and the font, then the source's colour style (which presets
    // the colours again when it differs), then the text and hot and selected border colours.
    void Assign(const TItemAppearance& Source);

    plat::TNotifyEvent OnChange;

private:
    plat::TFont font_;
    TSelectionColorStyle colorStyle_ = scCustom;
};

// The hot and selected colours of a component style; nothing for a missing appearance or
// tsCustom.
void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TExtStyle Style);

} // namespace dropdown
