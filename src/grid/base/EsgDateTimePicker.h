#pragma once
// The grid's date-time picker base: the layer's picker with a coloured border drawn when the
// metro style is on, the button colours and the focus-border settings its editors read.
#include "plat/DateTimePicker.h"
#include "plat/Graphics.h"

namespace grid {

using plat::String;
using plat::TColor;

// A colour setting that is not set.
constexpr TColor kNoColor = static_cast<TColor>(0x1FFFFFFF);

class TEsgDateTimePicker : public plat::TDateTimePicker {
public:
    explicit TEsgDateTimePicker(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgDateTimePicker"; }

    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);
    int GetVersionNr() const { return 0x01000000; }
    // The version number's four bytes joined by points.
    String Version() const;

    TColor ButtonColor = kNoColor, ButtonColorHot = kNoColor, ButtonColorDown = kNoColor;
    TColor ButtonBorderColor = kNoColor, ButtonTextColor = kNoColor, ButtonTextColorHot = kNoColor,
           ButtonTextColorDown = kNoColor;
    bool DisabledBorder = false, FocusBorder = false;

protected:
    void Paint() override;

private:
    bool FMetroStyle = false;
    TColor FBorderColor = kNoColor;
    TColor FFocusBorderColor = kNoColor;
};

} // namespace grid
