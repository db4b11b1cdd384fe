#pragma once
// The layer's date-time picker: a painted control showing a date or a time in fields laid
// out by a format string, edited from the keyboard and the mouse.
//
// - Kind dtkDate shows the date (Format, else the locale's ShortDateFormat), dtkTime the time
//   (Format, else LongTimeFormat). Format letters are the layer's FormatDateTime letters; day,
//   month, year, hour, minute ("n", or "m" right after an hour) and second are fields, names
//   of days and everything else are shown as they are.
// - Left and Right move between fields; Up and Down step the current field (wrapping within it:
//   day in its month, month, hours, minutes, seconds; years without wrap); digits type into
//   the field (two digits fill a field, four a four-digit year, and the next digit starts
//   over); Home and End take the field's smallest and largest value. Space toggles the check
//   box when ShowCheckbox.
// - MinDate and MaxDate (0 = none) bound the value wherever it comes from.
// - The drop-down button (DateMode dmComboBox, date kind) or F4 or Alt+Down fire OnDropDown and
//   open a month calendar below the picker (TCalendarPopup) on the picker's date; the same keys
//   or a press outside it close it again, Escape closes it without a change, and a day picked
//   (click, or Enter) becomes the date with the time of day kept. Keys reach the calendar while
//   it is open; every close fires OnCloseUp. dmUpDown shows two arrows that step the current
//   field.
// - Every change of the value, by the user or in code, fires OnChange (Checked too).
#include "plat/Controls.h"
#include "plat/DropDownPopup.h"
#include "plat/SysUtils.h"

namespace plat {

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateMode { dmComboBox, dmUpDown };

class TDateTimePicker : public TCustomControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);
    String ClassName() const override { return u"TDateTimePicker"; }

    TDateTime DateTime() const { return value_; }
    virtual void SetDateTime(TDateTime Value);
    TDateTime Date() const;
    void SetDate(TDateTime Value);  // keeps the time of day
    TDateTime Time() const;
    void SetTime(TDateTime Value);  // keeps the date
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind Value);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode Value);
    const String& Format() const { return format_; }
    void SetFormat(const String& Value);
    bool ShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool Value);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    TDateTime MinDate() const { return minDate_; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return maxDate_; }
    void SetMaxDate(TDateTime Value);
    // The field the keys act on (0 = the first field of the format).
    int CurrentField() const { return field_; }
    void SetCurrentField(int Value);
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // The digits typed into the current field leave no room for another one (two digits, four
    // for a four-digit year, or a first digit no second one can follow, as 4 in a day).
    bool FieldTyped() const;
    // The value as shown.
    String GetText() const override;
    // The calendar is open.
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    // The calendar drop-down (created on first use).
    TCalendarPopup* Calendar();

    TNotifyEvent OnChange, OnDropDown, OnCloseUp;

protected:
    void Paint() override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WndProc(TMessage& Message) override;
    virtual void Change();
    // Fires OnDropDown (the calendar is about to open).
    virtual void DropDown();
    // Fires OnCloseUp (the calendar has closed).
    virtual void CloseUp();
    // The width of the button area at the right.
    int ButtonWidth() const { return 18; }

private:
    enum FieldKind { fkDay, fkMonth, fkYear, fkHour, fkMinute, fkSecond };
    struct Piece {
        String format;  // format letters of the piece
        bool field;
        FieldKind kind;
        int digits;  // 2, or 4 for a four-digit year
    };
    void Parse();
    String EffectiveFormat() const;
    TDateTime Bounded(TDateTime Value) const;
    void SetValueByUser(TDateTime Value);
    void StepField(int Delta);
    void SetFieldValue(FieldKind Kind, int Value);
    int FieldValue(FieldKind Kind) const;
    const Piece* FieldPiece(int Index) const;

    TDateTime value_ = 0;
    TDateTimeKind kind_ = dtkDate;
    TDTDateMode dateMode_ = dmComboBox;
    String format_;
    bool showCheckbox_ = false;
    bool checked_ = true;
    TDateTime minDate_ = 0, maxDate_ = 0;
    std::vector<Piece> pieces_;
    std::vector<int> fields_;  // indexes into pieces_
    int field_ = 0;
    String typed_;  // digits typed into the current field
    TCalendarPopup* calendar_ = nullptr;
};

} // namespace plat
