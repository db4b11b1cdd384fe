#pragma once
// The grid's flat combo box: the framework combo with a flat look, a coloured or system
// drop-down button, coloured borders, focus colours, mouse-hover tracking and an optional
// caption label beside it. The box fills its window, so the button and frame geometry
// below counts from the window's own corner (frame included).
//
// - Own painting happens only when something asks for it (flat, a button, border or
//   focus-border colour); otherwise the framework combo paints alone.
// - Colours use clNone (0x1FFFFFFF) for "not set".
// - ButtonWidth accepts 14 to 32 only; other values are ignored.
#include <memory>

#include "plat/Graphics.h"
#include "plat/StdCtrls.h"

namespace grid {

using plat::String;
using plat::TColor;

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

class TEsgCustomCombo : public plat::TCustomComboBox {
public:
    explicit TEsgCustomCombo(plat::TComponent* AOwner);
    ~TEsgCustomCombo() override;
    String ClassName() const override { return u"TEsgCustomCombo"; }

    bool AutoFocus() const { return autoFocus_; }
    void SetAutoFocus(bool Value) { autoFocus_ = Value; }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool Etched() const { return etched_; }
    void SetEtched(bool Value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int Value);
    bool FocusBorder() const { return focusBorder_; }
    void SetFocusBorder(bool Value) { focusBorder_ = Value; }
    int DropWidth() const { return dropWidth_; }
    void SetDropWidth(int Value);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value) { isWinXP_ = Value; }
    bool IsVista() const { return isVista_; }
    void SetIsVista(bool Value) { isVista_ = Value; Invalidate(); }
    TColor FlatLineColor() const { return flatLineColor_; }
    void SetFlatLineColor(TColor Value);
    bool FlatParentColor() const { return flatParentColor_; }
    void SetFlatParentColor(bool Value);
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor Value) { focusColor_ = Value; }
    TColor FocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(TColor Value) { focusBorderColor_ = Value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value);
    bool DisabledBorder() const { return disabledBorder_; }
    void SetDisabledBorder(bool Value) { disabledBorder_ = Value; }
    bool FocusLabel() const { return focusLabel_; }
    void SetFocusLabel(bool Value) { focusLabel_ = Value; }

    // Colours of a custom-drawn button; ButtonColor set switches the custom button on. The
    // hot arrow colour is kept for callers but the arrow never uses it.
    TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(TColor Value) { buttonColor_ = Value; Invalidate(); }
    TColor ButtonColorHot() const { return buttonColorHot_; }
    void SetButtonColorHot(TColor Value) { buttonColorHot_ = Value; Invalidate(); }
    TColor ButtonColorDown() const { return buttonColorDown_; }
    void SetButtonColorDown(TColor Value) { buttonColorDown_ = Value; Invalidate(); }
    TColor ButtonTextColor() const { return buttonTextColor_; }
    void SetButtonTextColor(TColor Value) { buttonTextColor_ = Value; Invalidate(); }
    TColor ButtonTextColorHot() const { return buttonTextColorHot_; }
    void SetButtonTextColorHot(TColor Value) { buttonTextColorHot_ = Value; }
    TColor ButtonTextColorDown() const { return buttonTextColorDown_; }
    void SetButtonTextColorDown(TColor Value) { buttonTextColorDown_ = Value; Invalidate(); }
    TColor ButtonBorderColor() const { return buttonBorderColor_; }
    void SetButtonBorderColor(TColor Value) { buttonBorderColor_ = Value; Invalidate(); }

    // While loading the colour is also remembered as the one Loaded applies.
    void SetColor(TColor Value);
    void SetEnabled(bool Value) override;
    void SetVisible(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The caption label, created by the first LabelCaption; null before.
    plat::TLabel* ComboLabel() const { return label_; }
    String LabelCaption() const;
    void SetLabelCaption(const String& Value);
    plat::TFont* LabelFont() const { return labelFont_.get(); }
    void SetLabelFont(const plat::TFont* Value);
    int LabelMargin() const { return labelMargin_; }
    void SetLabelMargin(int Value);
    TLabelPosition LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(TLabelPosition Value);
    bool LabelTransparent() const { return labelTransparent_; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return labelAlwaysEnabled_; }
    void SetLabelAlwaysEnabled(bool Value);

    // Records the current colour as the one focus loss restores.
    void Init();
    // Selects the first item equal to Value; no match leaves the selection alone.
    void SelectItem(const String& Value);

    // Hover and focus tracking as the control sees them.
    bool MouseInControl() const { return mouseInControl_; }
    bool ButtonHover() const { return buttonHover_; }
    bool HasFocus() const { return hasFocus_; }

    // Fired when the list closes.
    plat::TNotifyEvent OnDropUp;

    void WndProc(plat::TMessage& Message) override;

protected:
    void Loaded() override;
    void DropDown() override;
    void CloseUp() override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void UpdateLabel();

private:
    bool ThemesActive() const;
    bool ButtonColorSet() const { return buttonColor_ != plat::clNone; }
    bool PaintsItself() const;
    bool Hot() const;
    bool MouseButtonHeld() const;
    void DrawButton(plat::TCanvas* Canvas);
    void DrawBorders();
    void DrawFrame(plat::TCanvas* Canvas);
    void DrawFlatButtonFace(plat::TCanvas* Canvas);
    void FocusEntered();
    void FocusLeft();
    void MouseEntered();
    void MouseLeft();
    void SetLabelBold(bool Bold);
    void LabelFontChanged();

    bool autoFocus_ = false;
    bool flat_ = false;
    bool etched_ = false;
    TColor oldColor_ = plat::clNone;
    TColor loadedColor_ = plat::clWindow;
    bool oldParentColor_ = false;
    int buttonWidth_ = 0;
    bool focusBorder_ = false;
    bool mouseInControl_ = false;
    int dropWidth_ = 0;
    bool isWinXP_ = false;
    bool isThemed_ = false;
    bool buttonHover_ = false;
    bool labelAlwaysEnabled_ = false;
    bool labelTransparent_ = false;
    int labelMargin_ = 4;
    std::unique_ptr<plat::TFont> labelFont_;
    TLabelPosition labelPosition_ = lpLeftTop;
    plat::TLabel* label_ = nullptr;
    TColor flatLineColor_ = plat::clNone;
    bool flatParentColor_ = true;
    TColor focusColor_ = plat::clNone;
    TColor focusBorderColor_ = plat::clNone;
    TColor borderColor_ = plat::clNone;
    bool disabledBorder_ = true;
    TColor normalColor_ = plat::clNone;
    bool hasFocus_ = false;
    bool focusLabel_ = false;
    TColor buttonColorDown_ = plat::clNone;
    TColor buttonBorderColor_ = plat::clNone;
    TColor buttonTextColor_ = plat::clNone;
    TColor buttonTextColorHot_ = plat::clNone;
    TColor buttonColor_ = plat::clNone;
    TColor buttonColorHot_ = plat::clNone;
    TColor buttonTextColorDown_ = plat::clNone;
    bool isVista_ = false;
};

class TEsgComboBox : public TEsgCustomCombo {
public:
    using TEsgCustomCombo::TEsgCustomCombo;
    String ClassName() const override { return u"TEsgComboBox"; }
};

} // namespace grid
