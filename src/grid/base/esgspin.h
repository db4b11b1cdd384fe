#pragma once
// Spin editors: an edit with a pair of spin buttons stepping an integer, a floating value, a
// date or a time; the button pair; and the auto-repeating speed button of each half.
#include <functional>

#include "plat/Controls.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

#include <memory>

namespace plat {
class TBitmap;
class TTimer;
}

namespace grid {

using plat::String;
using plat::TColor;
using plat::TDateTime;

// Colour properties start out "not set".
constexpr TColor clNotSet = static_cast<TColor>(0x1FFFFFFF);

// Refused input beeps; tests count the beeps through the handler.
void SetBeepHandler(std::function<void()> Handler);
void SystemBeep();

enum TTimeBtnStateFlag : unsigned { tbFocusRect = 1, tbAllowTimer = 2 };
using TTimeBtnState = unsigned;
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TSpinDirection { spVertical, spHorizontal };
enum TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };

class TEsgSpinButton;

// What the edit's push button and the spin halves share: the glyph (a strip of NumGlyphs
// equal images), the XP and flat looks, the pointer-over and held states. Clicks come from
// the buttons' own release handling (csClickEvents is off), so a held button is never
// clicked twice.
class TExtSpeedButtonBase : public plat::TGraphicControl {
public:
    explicit TExtSpeedButtonBase(plat::TComponent* AOwner);
    ~TExtSpeedButtonBase() override;

    // Null when the button has no glyph; setting a null or empty bitmap removes it.
    const plat::TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const plat::TBitmap* Value);
    int NumGlyphs() const { return numGlyphs_; }
    // At least 1.
    void SetNumGlyphs(int Value);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value) { isWinXP_ = Value; Invalidate(); }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value) { flat_ = Value; Invalidate(); }
    // The pointer is over the button.
    bool Hot() const { return hot_; }
    bool Down() const { return down_; }

    void WndProc(plat::TMessage& Message) override;

protected:
    std::unique_ptr<plat::TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool isWinXP_ = false;
    bool flat_ = false;
    bool hot_ = false;
    bool down_ = false;
};

class TExtTimerSpeedButton : public TExtSpeedButtonBase {
public:
    explicit TExtTimerSpeedButton(plat::TComponent* AOwner);
    ~TExtTimerSpeedButton() override;
    String ClassName() const override { return u"TExtTimerSpeedButton"; }

    TTimeBtnState TimeBtnState() const { return timeBtnState_; }
    void SetTimeBtnState(TTimeBtnState Value);
    TButtonDirection ButtonDirection() const { return direction_; }
    void SetButtonDirection(TButtonDirection Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value) { transparent_ = Value; Invalidate(); }
    bool HasMouse() const { return Hot(); }
    plat::TTimer* RepeatTimer() const { return repeatTimer_; }

    void Click() override;

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    void TimerExpired();
    void RepaintParent();
    const TEsgSpinButton* OwnerButton() const;

    plat::TTimer* repeatTimer_ = nullptr;  // owned through the component tree
    TTimeBtnState timeBtnState_ = 0;
    TButtonDirection direction_ = bdUp;
    bool transparent_ = false;
};

class TEsgSpinButton : public plat::TCustomControl {
public:
    explicit TEsgSpinButton(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgSpinButton"; }

    TExtTimerSpeedButton* UpButton() const { return up_; }
    TExtTimerSpeedButton* DownButton() const { return down_; }
    TExtTimerSpeedButton* FocusedButton() const { return focused_; }
    void SetFocusBtn(TExtTimerSpeedButton* Btn);
    plat::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(plat::TWinControl* Value);
    TSpinDirection Direction() const { return direction_; }
    void SetDirection(TSpinDirection Value);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);
    // Setting none (null or empty) puts the built-in arrow back.
    const plat::TBitmap* UpGlyph() const { return up_->Glyph(); }
    void SetUpGlyph(const plat::TBitmap* Value);
    const plat::TBitmap* DownGlyph() const { return down_->Glyph(); }
    void SetDownGlyph(const plat::TBitmap* Value);
    int UpNumGlyphs() const { return up_->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { up_->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return down_->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { down_->SetNumGlyphs(Value); }

    TColor ButtonColorDown = clNotSet, ButtonBorderColor = clNotSet, ButtonTextColor = clNotSet,
           ButtonTextColorHot = clNotSet, ButtonColor = clNotSet, ButtonColorHot = clNotSet,
           ButtonTextColorDown = clNotSet;

    plat::TNotifyEvent OnUpClick;
    plat::TNotifyEvent OnDownClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(plat::TMessage& Message) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void Paint() override;
    void Loaded() override;

private:
    friend class TExtTimerSpeedButton;
    void AdjustSize(int& W, int H);
    void BtnPressed(TExtTimerSpeedButton* Btn);
    void BtnClicked(TExtTimerSpeedButton* Btn);

    TExtTimerSpeedButton* up_ = nullptr;
    TExtTimerSpeedButton* down_ = nullptr;
    TExtTimerSpeedButton* focused_ = nullptr;
    plat::TWinControl* focusControl_ = nullptr;
    TSpinDirection direction_ = spVertical;
    bool isWinXP_ = false;
};

class TEsgSpinEdit : public plat::TCustomEdit {
public:
    explicit TEsgSpinEdit(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgSpinEdit"; }

    TEsgSpinButton* Button() const { return button_; }

    int Value() const;
    void SetValue(int V);
    double FloatValue() const;
    void SetFloatValue(double V);
    TDateTime TimeValue() const;
    void SetTimeValue(TDateTime V);
    TDateTime DateValue() const;
    void SetDateValue(TDateTime V);

    TEsgSpinType SpinType() const { return spinType_; }
    void SetSpinType(TEsgSpinType V);
    int Precision() const { return precision_; }
    void SetPrecision(int V);
    TEditAlign EditAlign() const { return editAlign_; }
    void SetEditAlign(TEditAlign V);
    TSpinDirection Direction() const { return direction_; }
    void SetDirection(TSpinDirection V);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool V) { editorEnabled_ = V; }
    bool SpinFlat() const { return spinFlat_; }
    void SetSpinFlat(bool V);
    bool SpinTransparent() const { return spinTransparent_; }
    void SetSpinTransparent(bool V);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool V);
    bool UsDates() const { return usDates_; }

    // Plain settings.
    int MinValue = 0, MaxValue = 100;
    double MinFloatValue = 0, MaxFloatValue = 100;
    TDateTime MinDateValue = 0, MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0.1;
    double IncrementFloatPage = 1.0;
    bool ReturnIsTab = false;
    bool ExcelStyleDecimalSeparator = false;
    bool ShowSeconds = true;
    int IncrementSeconds = 1, IncrementMinutes = 1, IncrementHours = 1;
    bool AllowEmptyValue = false;

    virtual void StepUp(bool Page);
    virtual void StepDown(bool Page);
    virtual bool IsValidChar(char16_t Key);
    virtual void SpinUp();
    virtual void SpinDown();

    // The smallest height that shows the font.
    int MinHeight();

    void WndProc(plat::TMessage& Message) override;
    // The frame changes the button's place and the text area.
    void SetBorderStyle(plat::TBorderStyle Value) override;

protected:
    void CreateParams(plat::TCreateParams& Params) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    void Loaded() override;

private:
    void SetEditRect();
    void StepDate(int Sign);
    void StepTime(int Sign);
    void ShowTime(TDateTime V);
    void ShowDate(TDateTime V);
    int CheckValue(int V) const;
    double CheckFloat(double V) const;
    TDateTime CheckDate(TDateTime V) const;

    TEsgSpinButton* button_ = nullptr;
    TDateTime dateValue_ = 0, timeValue_ = 0;
    bool editorEnabled_ = true;
    TSpinDirection direction_ = spVertical;
    TEsgSpinType spinType_ = sptNormal;
    int precision_ = 0;
    bool isWinXP_ = false;
    bool usDates_ = false;
    TEditAlign editAlign_ = eaLeft;
    bool spinFlat_ = false, spinTransparent_ = false;
};

// Text conversions the editors use, with the process-wide format settings.
bool TryTextToDate(const String& Text, TDateTime& Value);
bool TryTextToTime(const String& Text, TDateTime& Value);
// The built-in arrows of the spin halves ("EsgSpinUp", "EsgSpinDown").
std::unique_ptr<plat::TBitmap> BuiltInSpinGlyph(bool Up);
// A month step; a day past the target month's end becomes its last day.
TDateTime IncMonthClamped(TDateTime Value, int Months);

} // namespace grid
