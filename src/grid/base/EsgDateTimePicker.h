#pragma once
// The grid's date-time picker base: the layer's picker with coloured borders, a metro-style
// drop-down button drawn by the control, hover tracking and focus-border colours.
#include "plat/DateTimePicker.h"
#include "plat/Graphics.h"

namespace grid {

using plat::String;
using plat::TColor;

// A colour setting that is not set.
constexpr TColor kNoColor = static_cast<TColor>(0x1FFFFFFF);

// The look both grid pickers draw over the layer's picker while it is allowed (MetroStyle on
// and CustomBordersAllowed):
// - the drop-down button of a calendar picker: in ButtonColor (ButtonColorHot under the
//   pointer, ButtonColorDown while pressed on it), a ButtonBorderColor line at its left and
//   the arrow in ButtonTextColor (ButtonTextColorDown while pressed); without ButtonColor the
//   classic combo button on a cleared strip;
// - when disabled or a border colour is set: the frame, in BorderColor, in FocusBorderColor
//   while the picker has the focus (FocusBorderColor alone frames only then), else the
//   parent's colour rings of a disabled picker; then around the button a face-coloured ring,
//   or a raised edge while the picker is hot or focused (flat while the calendar is open).
// Without Ctl3D (FlatOutlineWanted) a flat outline is drawn after every frame paint: in the
// parent's colour for bsNone, in BorderColor otherwise, with the inner lines of bsNone and
// bsSingle in the parent's colour.
class TBorderedDateTimePicker : public plat::TDateTimePicker {
public:
    explicit TBorderedDateTimePicker(plat::TComponent* AOwner);

    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);

    TColor ButtonColor = kNoColor, ButtonColorHot = kNoColor, ButtonColorDown = kNoColor;
    TColor ButtonBorderColor = kNoColor, ButtonTextColor = kNoColor, ButtonTextColorHot = kNoColor,
           ButtonTextColorDown = kNoColor;
    bool DisabledBorder = false, FocusBorder = false;

    // Pointer and focus state the look follows.
    bool HasFocus() const { return FHasFocus; }
    bool MouseInControl() const { return FMouseInControl; }
    bool ButtonHover() const { return FButtonHover; }

protected:
    // Whether this class draws the look at all (besides MetroStyle).
    virtual bool CustomBordersAllowed() const { return true; }
    // Whether the flat outline is drawn.
    virtual bool FlatOutlineWanted() const { return !Ctl3D(); }
    void Paint() override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void WndProc(plat::TMessage& Message) override;

private:
    bool LookAllowed() const;
    void PaintMetroButton(plat::TCanvas* Canvas);
    // Frame, button ring and flat outline on the window canvas.
    void PaintFrame();
    void PaintBorders(plat::TCanvas* Canvas);
    void PaintFlatOutline(plat::TCanvas* Canvas);
    void LookChanged();

    bool FMetroStyle = false;
    TColor FBorderColor = kNoColor;
    TColor FFocusBorderColor = kNoColor;
    bool FHasFocus = false, FMouseInControl = false, FButtonHover = false;
};

class TEsgDateTimePicker : public TBorderedDateTimePicker {
public:
    explicit TEsgDateTimePicker(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgDateTimePicker"; }

    int GetVersionNr() const { return 0x01000000; }
    // The version number's four bytes joined by points.
    String Version() const;

protected:
    // The outline only together with a border colour.
    bool FlatOutlineWanted() const override { return !Ctl3D() && BorderColor() != kNoColor; }
};

} // namespace grid
