#pragma once
// The grid's check-box, button, edit-with-button, unit and rich-text editors. Each is one
// control per grid, reused for every cell; it ends an edit only through the grid and writes
// values only through the grid's current cell and its validation.
#include "ESGEdit.h"
#include "ExtGrid.h"
#include "plat/ComCtrls.h"
#include "plat/StdCtrls.h"

namespace grid {

// Shared character rule of the numeric and float edit-with-button kinds: whether Key may
// replace the selection (SelStart, SelLen) of Text. Beep is set when a refusal sounds.
// Kind: 0 any text, 1 whole number with one leading '-', 2 float.
bool EditBtnAcceptChar(int Kind, const String& Text, int SelStart, int SelLen, char16_t Key, bool Ctrl, bool& Beep);

// edCheckBox: a check box over the cell whose caption is the cell's text; it writes nothing.
class TGridCheckBox : public plat::TCheckBox {
public:
    explicit TGridCheckBox(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridCheckBox"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

// edButton: a push button over the cell captioned with its text; a click (or Space) passes
// the caption through the grid's EllipsClick, and the result becomes caption and cell text.
class TGridButton : public plat::TButton {
public:
    explicit TGridButton(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridButton"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void DoExit() override;

private:
    void Close();
    void Ellipsis();
    TExtStringGrid* FGrid;
};

// edEditBtn, edNumericEditBtn, edFloatEditBtn, edMaskEditBtn: an edit with a button.
class TGridEditBtn : public TEsgEditBtn {
public:
    explicit TGridEditBtn(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridEditBtn"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }
    bool StopEditAfterClick = false;
    void EllipsisButtonClick();
    // Inserts text as a paste does: a CR LF ending it is dropped; refused when the kind's
    // character rule refuses the resulting text.
    bool PasteText(String Value);

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;
    void WndProc(plat::TMessage& Message) override;

private:
    int Kind() const;
    TExtStringGrid* FGrid;
};

// edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn: an edit with its unit and a button.
class TGridUnitEditBtn : public TEsgUnitEditBtn {
public:
    explicit TGridUnitEditBtn(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridUnitEditBtn"; }
    // Applies the window styles again (frame, alignment); the grid calls it before each use.
    void ReCreate() { RecreateWnd(); }
    void EllipsisButtonClick();
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoExit() override;

private:
    int Kind() const;
    TExtStringGrid* FGrid;
};

// edRichEdit: the inplace rich edit.
class TExtRichEdit : public plat::TRichEdit {
public:
    explicit TExtRichEdit(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TExtRichEdit"; }
    void WndProc(plat::TMessage& Message) override;

protected:
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void DoExit() override;

private:
    TExtStringGrid* FGrid;
};

} // namespace grid
