#pragma once
// The custom editor link of edCustom cells: an application's own control used as the cell's
// editor, in place over the cell or in a borderless popup form; and the editors of fixed
// cells (header texts).
#include "ExtGrid.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"

namespace grid {

enum TEditStyle { esInplace, esPopup };

// The base of an application's editor link. The descendant creates its control in
// CreateEditor, moves values with GetEditorValue and SetEditorValue, and calls EditKeyDown from
// its control's key-down handler and EditExit from its exit handler.
class TEditLink : public plat::TComponent {
public:
    explicit TEditLink(plat::TComponent* AOwner);
    ~TEditLink() override;
    String ClassName() const override { return u"TEditLink"; }

    // The grid using the link (set when an edit starts) and the real column and row edited.
    TExtStringGrid* Grid() const { return FOwner; }
    plat::TPoint EditCell() const { return FEditCell; }

    // Keys the control keeps instead of ending the edit.
    bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false,
         WantKeyReturn = false, WantKeyEscape = false, WantReturns = false, WantTabs = false;
    TEditStyle EditStyle = esInplace;
    int PopupWidth = 100, PopupHeight = 100;
    // The popup takes the cell's width.
    bool AutoPopupWidth = false;
    // Screen position of the popup; -1 in either: the cell's top-left corner.
    int PopupLeft = -1, PopupTop = -1;
    int Tag = 0;

    // Ends the edit for the navigation keys the control does not keep: the value is validated
    // (refused: the editor stays open with the value validation settled on), written to the
    // cell, and the key acts in the grid (Enter advances, Tab moves to the next editable cell,
    // the arrows and page keys move). Escape brings back the value of the edit's start.
    virtual void EditKeyDown(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
    virtual plat::TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(plat::TWinControl* AParent) { (void)AParent; }
    virtual void DestroyEditor() {}
    // Value: the control is shown, enabled and focused; otherwise the grid takes the focus.
    // An inplace link's control gets the grid's window procedure in front of its own until
    // RestoreWinProc: with goTabs the control asks for Tab, Enter, Escape and the arrows, so
    // that they reach EditKeyDown instead of the dialog.
    virtual void SetFocus(bool Value);
    // Places the control at R, narrower and lower by the grid's line width.
    virtual void SetRect(plat::TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, plat::TFont* AFont) { (void)AColor, (void)AFont; }
    virtual String GetEditorValue() { return {}; }
    virtual void SetEditorValue(const String& S) { (void)S; }

    // The control's exit: the value goes to the cell and the editor closes (a popup link's
    // control is destroyed and its form hidden).
    void EditExit(plat::TObject* Sender);
    // The popup form lost the activation.
    void FormExit(plat::TObject* Sender);
    // The stored text of the cell edited, and writing it.
    String GetCellValue();
    void SetCellValue(const String& S);
    // The popup form for popup links, else the grid.
    plat::TWinControl* GetParent();
    // The value goes to the cell and the editor closes.
    void HideEditor();
    // An inplace link's control gets its own window procedure back and is hidden.
    void RestoreWinProc();
    plat::TForm* PopupForm() const { return FPopupForm; }

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

private:
    friend class TExtStringGrid;
    TExtStringGrid* FOwner = nullptr;
    plat::TForm* FPopupForm = nullptr;
    plat::TPoint FEditCell{};
    bool FForcedExit = false;
    // The control whose window procedure the grid's stands in front of, and the one replaced.
    void SubClass(plat::TWinControl* Control);
    bool FSubClassed = false;
    plat::TWinControl* FSubClassedControl = nullptr;
    plat::TControl::TWndMethod FOldWinProc;
};

// The edit box of a fixed cell. Its value goes through OnCellValidate when the focus leaves:
// refused, the box keeps the focus and the cell its text; accepted, OnEditingDone fires, the
// cell takes the value and the box hides. Enter is dropped.
class TGridTransEdit : public plat::TEdit {
public:
    explicit TGridTransEdit(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridTransEdit"; }
    // Real column and row of the fixed cell edited.
    int Col() const { return FCol; }
    int Row() const { return FRow; }
    bool StopEdit();

protected:
    void DoExit() override;
    void KeyPress(char16_t& Key) override;

private:
    friend class TExtStringGrid;
    TExtStringGrid* FGrid;
    int FCol = -1, FRow = -1;
};

// The drop-down (edit or list) of a fixed cell; as TGridTransEdit.
class TGridTransCombo : public plat::TComboBox {
public:
    explicit TGridTransCombo(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TGridTransCombo"; }
    int Col() const { return FCol; }
    int Row() const { return FRow; }
    bool StopEdit();

protected:
    void DoExit() override;
    void KeyPress(char16_t& Key) override;

private:
    friend class TExtStringGrid;
    TExtStringGrid* FGrid;
    int FCol = -1, FRow = -1;
};

} // namespace grid
