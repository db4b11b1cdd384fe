#pragma once
// The drop-down window of a control (a calendar under a date picker, a list under a box):
// borderless, placed on the owner's form below the owner (above it when the form has no room
// below, moved left to stay on the form), drawn over every other control of the form.
//
// - While open it holds the mouse: a press outside it closes it as cancelled, and the press
//   goes no further.
// - The owner keeps the keyboard focus and hands the popup the keys it may want through
//   HandleKey; Escape closes it as cancelled.
// - OnCloseUp(Sender) fires once per close, whatever ended it; Picked tells whether a value
//   was chosen.
#include <functional>

#include "plat/Controls.h"
#include "plat/SysUtils.h"

namespace plat {

class TDropDownPopup : public TCustomControl {
public:
    explicit TDropDownPopup(TWinControl* AOwner);
    String ClassName() const override { return u"TDropDownPopup"; }

    // Shows the popup with the given size under its owner; false (nothing shown) when the
    // owner is on no form.
    bool Open(int AWidth, int AHeight);
    // Hides the popup and gives the mouse back; nothing when it is not open.
    void CloseUp(bool Picked);
    bool IsOpen() const { return Visible(); }
    TWinControl* PopupOwner() const { return owner_; }
    // Keys of the owner while the popup is open: true when the popup used the key.
    virtual bool HandleKey(std::uint16_t Key, TShiftState Shift);

    std::function<void(TObject* Sender, bool Picked)> OnCloseUp;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TWinControl* owner_;
};

// A month calendar in a drop-down: a caption with the month and year between two arrows, the
// weekday initials (Monday first) and six weeks of days. The arrows and Page Up / Page Down
// change the month, the arrow keys the day, Home and End go to the month's first and last
// day; a click on a day or Enter picks the day. Days outside MinDate .. MaxDate (0 = none)
// are grey and cannot be picked or reached by keys.
class TCalendarPopup : public TDropDownPopup {
public:
    explicit TCalendarPopup(TWinControl* AOwner);
    String ClassName() const override { return u"TCalendarPopup"; }

    static constexpr int CellWidth = 24, CellHeight = 18, CaptionHeight = 22;
    static int PopupWidth() { return 7 * CellWidth + 4; }
    static int PopupHeight() { return CaptionHeight + 7 * CellHeight + 4; }

    // The day marked (a whole date), and the month shown is the one holding it.
    TDateTime Date() const { return date_; }
    void SetDate(TDateTime Value);
    void SetDateBounds(TDateTime MinDate, TDateTime MaxDate);
    // The first day shown (a Monday on or before the first of the month).
    TDateTime FirstShownDay() const;
    // Where a day is drawn in the popup's client area (empty when it is not shown).
    TRect DayRect(TDateTime Day) const;

    bool HandleKey(std::uint16_t Key, TShiftState Shift) override;
    // The day chosen: the popup closes and then OnPick(Sender, Day) fires.
    std::function<void(TObject* Sender, TDateTime Day)> OnPick;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Allowed(TDateTime Day) const;
    void MoveTo(TDateTime Day);
    void Pick(TDateTime Day);
    TDateTime date_ = 0;
    TDateTime min_ = 0, max_ = 0;
};

} // namespace plat
