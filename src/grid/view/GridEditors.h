#pragma once
// The grid's inplace editors: the normal text editor over the framework's TInplaceEdit and
// the combo editor shared by every combo cell.
#include "EsgCombo.h"
#include "esgspin.h"
#include "ExtGrid.h"
#include "plat/Grids.h"

namespace grid {

// The normal text editor: filters typed characters by the cell's editor kind, validates on
// Enter, Tab and the arrows that leave it, restores the cell on Escape and signals the end of
// the edit when it loses the focus.
class TExtInplaceEdit : public plat::TInplaceEdit {
public:
    explicit TExtInplaceEdit(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TExtInplaceEdit"; }
    TEditorType EditorType() const { return FEditorType; }
    void SetEditorType(TEditorType Value) { FEditorType = Value; }
    // Maximum text length; 0 or less = none.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = Value; }
    void UpdateContents() override;
    // Whether a character may enter the text at the caret, for the editor kind (ValidChars
    // for edValidChars); the case kinds change the character.
    bool AcceptChar(char16_t& Key) const;
    bool AcceptCharAt(const String& Text, int SelStart, int SelLen, char16_t& Key) const;
    // Inserts text as typed characters would enter it: refused when any character is refused
    // or the length limit would be passed.
    bool PasteText(const String& Value);

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void WndProc(plat::TMessage& Message) override;

private:
    TExtStringGrid* FGrid;
    TEditorType FEditorType = edNormal;
    int FLengthLimit = 0;
    bool FPasteKeyDown = false;
};

// The combo editor of edComboEdit (free text and list) and edComboList (list only).
// With the grid's Lookup on, typed text is completed from the items (then LookupItems) and the
// completed part stands selected so that further typing replaces it.
class TGridCombo : public TEsgComboBox {
public:
    explicit TGridCombo(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridCombo"; }
    // Completion allowed (off after Backspace and Delete, on after any other key).
    bool WorkMode = true;
    // Index of the entry that completed the text last; set when a completion took place.
    int ItemIdx = -1;
    bool ItemChange = false;
    bool Forced = false;
    // Enter typed into the combo.
    plat::TNotifyEvent OnReturnKey;
    // The look-up completion of the text up to the caret.
    void DoChange();
    // Widens the dropped list to its widest item, measured with the grid's canvas: +25 when
    // the list scrolls (more items than DropDownCount), +8 otherwise; never below the width.
    void SizeDropDownWidth();

protected:
    void Change() override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
    // Without EditSelectAll the caret goes after the text; opened by a left click
    // (CaretPositioning) it goes to the character under the pointer, nothing selected.
    void DoEnter() override;
    void DoExit() override;
    // Asks for Tab when the grid advances with it (goTabs, validation), so that Tab reaches
    // KeyDown instead of moving the focus out of the grid.
    void WndProc(plat::TMessage& Message) override;

private:
    // Leaves the cell to the left or right (CursorWalkEditor): true when the key was used.
    bool CursorWalk(bool Right);
    TExtStringGrid* FGrid;
    int FCaretAtKeyDown = -1;
    int FSelAtKeyDown = 0;
};

// The spin editor of edSpinEdit, edFloatSpinEdit, edTimeSpinEdit and edDateSpinEdit.
// Home and End jump to the limits, Escape brings back the text the cell had when the edit
// began, Enter and Tab validate and close; the spin buttons fire the grid's spin events.
class TGridSpin : public TEsgSpinEdit {
public:
    explicit TGridSpin(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridSpin"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }
    void SpinUp() override;
    void SpinDown() override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void Change() override;

private:
    void FireSpinClick(bool Up);
    TExtStringGrid* FGrid;
};

} // namespace grid
