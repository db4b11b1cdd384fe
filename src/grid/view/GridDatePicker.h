#pragma once
// The grid's date editor of edDateEdit, edDateEditUpDown and edTimeEdit.
#include "EsgDateTimePicker.h"
#include "ExtGrid.h"

namespace grid {

class TGridDatePicker : public TEsgDateTimePicker {
public:
    explicit TGridDatePicker(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridDatePicker"; }

protected:
    // Tab, Enter, Escape, Page Up, Page Down and End end the edit; the other keys edit the
    // fields.
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    // Typed characters reach the grid's OnKeyPress too.
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void Change() override;

private:
    TExtStringGrid* FGrid;
};

} // namespace grid
