#pragma once
// Date-time pickers with automatic field advance while digits are typed (TCustomDateTimePicker)
// and a combined date-and-time picker with an embedded time picker (TExtDateTimePicker).
#include <memory>

#include "EsgCombo.h"
#include "EsgDateTimePicker.h"

namespace grid {

enum TExtDateTimeKind { dkDate, dkTime, dkDateTime };

// The layer's picker with AutoTab: a typed digit that completes a field moves on to the next
// field (a Right key posted to the picker after the digit is taken). It draws the custom
// borders and the metro button only in descendants that allow them (CustomBordersOff false);
// the border colour starts black, and without Ctl3D (its start) it draws the flat outline.
class TCustomDateTimePicker : public TBorderedDateTimePicker {
public:
    explicit TCustomDateTimePicker(plat::TComponent* AOwner);
    String ClassName() const override { return u"TCustomDateTimePicker"; }

    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool Value) { FAutoTab = Value; }
    // True: this class keeps the layer's plain look whatever the border settings say.
    virtual bool CustomBordersOff() const { return true; }

protected:
    bool CustomBordersAllowed() const override { return !CustomBordersOff(); }
    void KeyPress(char16_t& Key) override;
    void WndProc(plat::TMessage& Message) override;
    // Runs when the digit typed last has been taken: moves on to the next field when the
    // digit completed a changed field.
    virtual void ShiftFocus();
    // Posts a Right key-down to the picker (the next field).
    void PostNextField();

    bool FAutoTab = false;
    // The value's parts before the last digit was typed.
    int Fh = 0, Fm = 0, Fs = 0, Fms = 0;
    int FYear = 0, FMonth = 0, FDay = 0;
};

class TExtDateTimePicker;

// The time picker a TExtDateTimePicker of kind dkDateTime carries at its right.
class TEmbeddedTimePicker : public TCustomDateTimePicker {
public:
    explicit TEmbeddedTimePicker(TExtDateTimePicker* AOwner);
    String ClassName() const override { return u"TCustomDateTimePicker"; }

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void Change() override;
    void Click() override;
    void DoExit() override;

private:
    TExtDateTimePicker* FPicker;
};

// A date, time or date-and-time picker. With dkDateTime the control shows the date and an
// embedded time picker at its right shows the time; DateTime joins both.
class TExtDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TExtDateTimePicker(plat::TComponent* AOwner);
    ~TExtDateTimePicker() override;
    String ClassName() const override { return u"TExtDateTimePicker"; }

    TExtDateTimeKind ExtKind() const { return FKind; }
    void SetExtKind(TExtDateTimeKind Value);
    // DateTime() is the date of the control with the time of the embedded picker (dkDateTime):
    // a time change in the embedded picker is copied into the control's value at once.
    // SetDateTime: the value's date and its hours, minutes and seconds (milliseconds dropped), for the
    // control and the embedded picker.
    void SetDateTime(plat::TDateTime Value) override;
    plat::TDateTime GetDate() const { return plat::TDateTimePicker::Date(); }
    // The date with the time of day shown kept.
    void SetDatePart(plat::TDateTime Value);
    plat::TDateTime GetTime() const;
    void SetTimePart(plat::TDateTime Value);
    const String& TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& Value);
    void SetAutoTab(bool Value) override;
    bool CustomBordersOff() const override { return false; }
    int GetVersionNr() const { return 0x01020000; }
    String Version() const;
    // The embedded time picker (null unless the kind is dkDateTime).
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    plat::TNotifyEvent OnTimeChange;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // ---- caption label ----
    // A label beside the picker, created by the first LabelCaption (null before) and owned by
    // the picker. It sits LabelMargin pixels off the side LabelPosition names (the caption's
    // width measured with the label's canvas), follows the picker's parent, visibility and
    // enabled state (always enabled with LabelAlwaysEnabled), takes the picker's font when
    // ParentFont and LabelFont otherwise; its clicks fire OnLabelClick and OnLabelDblClick.
    plat::TLabel* PickerLabel() const { return FLabel; }
    String LabelCaption() const;
    void SetLabelCaption(const String& Value);
    plat::TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(const plat::TFont* Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }
    plat::TNotifyEvent OnLabelClick, OnLabelDblClick;
    void SetParent(plat::TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;

protected:
    void ShiftFocus() override;
    void Paint() override;
    void Change() override;
    // A key-down in the embedded time picker: fires OnKeyDown (Sender: the control).
    virtual void TimePickerKeyDown(std::uint16_t& Key, plat::TShiftState Shift);
    // The embedded time picker lost the focus.
    virtual void TimePickerExit() {}
    // Places the embedded time picker at the right, left of the drop-down button.
    void LayoutTimePicker();

private:
    friend class TEmbeddedTimePicker;
    void TimeChanged();
    TExtDateTimeKind FKind = dkDateTime;
    String FTimeFormat;
    TEmbeddedTimePicker* FTimePicker = nullptr;
    bool FLaying = false;
    void UpdateLabel();
    plat::TLabel* FLabel = nullptr;  // owned through the component tree
    std::unique_ptr<plat::TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false, FLabelAlwaysEnabled = false, FFocusLabel = false;
};

} // namespace grid
