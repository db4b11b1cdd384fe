#pragma once
// The editors of the form controls that cell markup may hold (CONTROL elements of TYPE EDIT,
// PASSWORD, MASK and COMBO): the grid opens one over the control's place inside the cell and
// writes the value back into the control's VALUE when the editor is left.
#include "EsgCombo.h"
#include "ExtGrid.h"
#include "plat/MaskEdit.h"

namespace grid {

// The edit of EDIT, PASSWORD and MASK controls. Enter writes the value back and gives the
// focus to the grid; Tab writes it back and goes on to the cell's next editable control (with
// Navigation.AdvanceAuto to the next cell); leaving it writes the value back.
class TControlEdit : public plat::TCustomMaskEdit {
public:
    explicit TControlEdit(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TControlEdit"; }
    // The cell of the control being edited (real column, row).
    plat::TPoint Cell{-1, -1};

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void WndProc(plat::TMessage& Message) override;

private:
    TExtStringGrid* FGrid;
};

// The drop-down of COMBO controls, with the same keys as TControlEdit; picking an item fires
// the grid's OnControlComboSelect.
class TControlCombo : public TEsgComboBox {
public:
    explicit TControlCombo(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TControlCombo"; }
    // The cell of the control being edited (real column, row).
    plat::TPoint Cell{-1, -1};

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void Select() override;
    void WndProc(plat::TMessage& Message) override;

private:
    TExtStringGrid* FGrid;
};

} // namespace grid
