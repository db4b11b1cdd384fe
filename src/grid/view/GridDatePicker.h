#pragma once
// The grid's date editors: edDateEdit, edDateEditUpDown and edTimeEdit (TGridDatePicker) and
// edDateTimeEdit (TGridDateTimePicker).
#include "EsgDateTimePicker.h"
#include "ExtDateTimePicker.h"
#include "ExtGrid.h"

namespace grid {

class TGridDatePicker : public TEsgDateTimePicker {
public:
    explicit TGridDatePicker(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridDatePicker"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }

protected:
    // Tab, Enter, Escape, Page Up, Page Down and End end the edit; the other keys edit the
    // fields.
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    // Typed characters reach the grid's OnKeyPress too.
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void Change() override;
    void DropDown() override;
    void CloseUp() override;
    void WndProc(plat::TMessage& Message) override;
    // After a typed digit has been taken: a digit that completed a changed field moves on to
    // the next field, except in the format's last field.
    void ShiftFocus();

private:
    TExtStringGrid* FGrid;
    // The value's parts before the last digit was typed.
    int Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0, Ftms = 0;
    bool FOldDropped = false;
};

// edDateTimeEdit: the date with its time picker. Escape brings back the date the cell had
// and keeps the time shown; Enter and Tab close the editor and move on; it stays open while
// the focus moves between its date and its time.
class TGridDateTimePicker : public TExtDateTimePicker {
public:
    explicit TGridDateTimePicker(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridDateTimePicker"; }
    // The editor holds the focus (the date or the time part).
    bool HasFocusWithin() const;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void TimePickerKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void TimePickerExit() override;
    void Change() override;

private:
    // A changed date or time of the open editor reaches the grid's OnDateTimeChange.
    void AnnounceChange();
    // Handles the keys that end the edit; true when the key was used.
    bool EndKey(std::uint16_t Key, plat::TShiftState Shift);
    void ExitIfFocusLeft();
    TExtStringGrid* FGrid;
};

} // namespace grid
