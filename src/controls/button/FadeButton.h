#pragma once
// TFadeButton: the owner-drawn push button of every window. It paints its whole face itself
// (PaintFadeButton) in one of six styles, with a glyph strip of up to four images (normal,
// disabled, pressed, hot) and a caption; hot-tracks the mouse with a blend step 0..8 that
// can fade out in eight 30 ms steps on a window timer (no thread); clicks on release of a
// left press (wherever the release happens), on Enter/Space going up and on its accelerator;
// acts as its form's default (Enter) or cancel (Escape) button; hands its ModalResult to
// its form and pops up its popup menu below itself after OnClick.
//
// "Repaint at once" setters call Paint directly; the others invalidate.
#include <cstdint>
#include <memory>

#include "FadeButtons.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"  // Glyph and HotTrackFont are used through their full types

namespace controls {

class TFadeButton : public plat::TCustomControl {
public:
    explicit TFadeButton(plat::TComponent* AOwner);
    ~TFadeButton() override;
    String ClassName() const override { return u"TFadeButton"; }

    TFadeAlignment Alignment() const { return alignment_; }
    void SetAlignment(TFadeAlignment Value);
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor Value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value);
    // plat::clNone keeps the normal face while pressed.
    TColor ColorWhenDown() const { return colorWhenDown_; }
    void SetColorWhenDown(TColor Value) { colorWhenDown_ = Value; }
    // plat::clNone disables hot tracking of the face colour.
    TColor HotTrackColor() const { return hotTrackColor_; }
    void SetHotTrackColor(TColor Value) { hotTrackColor_ = Value; }
    plat::TFont* HotTrackFont() const { return htFont_.get(); }
    void SetHotTrackFont(const plat::TFont* Value);
    bool UseHotTrackFont() const { return useHTFont_; }
    void SetUseHotTrackFont(bool Value) { useHTFont_ = Value; }
    TFadeButtonStyle Style() const { return style_; }
    void SetStyle(TFadeButtonStyle Value);
    // Always reads lcsCustom: a preset is applied, not kept.
    TFadeColorStyle ColorStyle() const { return dummyStyle_; }
    void SetColorStyle(TFadeColorStyle Value);
    TFadeButtonKind Kind() const { return kind_; }
    void SetKind(TFadeButtonKind Value);
    TFadeButtonLayout Layout() const { return layout_; }
    void SetLayout(TFadeButtonLayout Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    plat::TBitmap* Glyph() const { return glyph_.get(); }
    // Copies the bitmap; NumGlyphs := width div height. Null or empty clears the glyph.
    void SetGlyph(const plat::TBitmap* Value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int Value);
    plat::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(plat::TModalResult Value);
    bool Default() const { return default_; }
    void SetDefault(bool Value) { default_ = Value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    bool SlowDecease() const { return slowDecease_; }
    void SetSlowDecease(bool Value);
    void SetEnabled(bool Value) override;

    // State, for tests and for painting.
    bool IsDown() const { return bDown_; }
    bool CursorOnButton() const { return bCursorOnButton_; }
    int HotTrackStep() const { return hotTrackStep_; }
    bool FadeRunning() const { return fadeRunning_; }

    // OnClick and OnMouseEnter are the control's own (inherited) events.
    plat::TNotifyEvent OnMouseExit;

    void Click() override;
    void WndProc(plat::TMessage& Message) override;

    // Milliseconds between two fade steps.
    static constexpr unsigned FadeInterval = 30;

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    void FireClick();
    void FadeStep();
    void StartFade();
    void StopFade();
    bool HotNow() const;
    bool ParentShowing() const;
    bool FocusedControlIsButton() const;

    TFadeAlignment alignment_ = TFadeAlignment::taCenter;
    TColor shadowColor_ = 0x808080;
    TColor colorWhenDown_ = plat::clNone;
    bool flat_ = false;
    bool wordWrap_ = false;
    std::unique_ptr<plat::TBitmap> glyph_;
    TColor hotTrackColor_ = plat::clNone;
    std::unique_ptr<plat::TFont> htFont_;
    TFadeButtonKind kind_ = TFadeButtonKind::bkCustom;
    TFadeButtonLayout layout_ = TFadeButtonLayout::blGlyphLeft;
    TColor lightColor_ = plat::clWhite;
    plat::TModalResult modalResult_ = 0;
    int numGlyphs_ = 0;
    bool useHTFont_ = false;
    TFadeColorStyle dummyStyle_ = TFadeColorStyle::lcsCustom;
    TFadeButtonStyle style_ = TFadeButtonStyle::bsNormal;
    bool default_ = false;
    bool cancel_ = false;
    bool slowDecease_ = false;
    bool bDown_ = false;
    int keyDown_ = 0;  // Enter or Space pressed on this button and not yet released
    bool bCursorOnButton_ = false;
    int hotTrackStep_ = 0;
    bool fadeRunning_ = false;
};

} // namespace controls
