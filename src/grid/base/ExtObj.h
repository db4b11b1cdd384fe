#pragma once
// Enumerations shared by the grid's units, and the small helper lists the grid owns: an
// integer list with a change event, the sort-order list, the list of controls placed in
// cells and an in-memory text file read and written line by line.
#include <functional>
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace plat { class TControl; }

namespace grid {

using plat::String;
using plat::StringView;
using plat::TColor;

enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
    edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
    edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
    edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
    edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown,
    edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
    edImagePickerDropDown, edExtGridDropDown, edPositiveFloat, edNumericUnitEditBtn,
    edFloatUnitEditBtn, edMaskEditBtn
};

enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
    ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
    ssImages, ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum TExtGridButtonStyle { tasButton, tasCheck };
enum TSearchDirection { sdTopBottom, sdLeftRight };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TClipboardPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

// Sender, column, row.
using TImageChangeEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow)>;

// Integers of one cell (column, row given at creation). Add, Delete and SetInteger fire
// OnChange; Insert does not. Indexes out of range raise EListError.
class TIntList : public plat::TObject {
public:
    TIntList(int ACol, int ARow) : FCol(ACol), FRow(ARow) {}
    String ClassName() const override { return u"TIntList"; }

    int Count() const { return static_cast<int>(items_.size()); }
    int Add(int Value);
    void Insert(int Index, int Value);
    // Inserts Value at each of the ascending Indexes in one pass, as Insert at each in turn
    // would where the index is below the count at its turn; the first other index ends the
    // inserts. An empty list stays empty.
    void InsertEach(const std::vector<int>& Indexes, int Value);
    void Delete(int Index);
    void Clear() { items_.clear(); }
    int GetInteger(int Index) const;
    void SetInteger(int Index, int Value);
    void DeleteValue(int Value);
    bool HasValue(int Value) const;
    // "1,22,333"; writing splits as comma text (commas and blanks separate, double quotes
    // group) and adds each part, raising EConvertError for a part that is no integer.
    String StrValue() const;
    void SetStrValue(StringView Value);

    TImageChangeEvent OnChange;
    int FCol;
    int FRow;

protected:
    void Changed();
    void CheckIndex(int Index) const;
    std::vector<int> items_;
};

// Sort order: each item a column in the low 31 bits, bit 31 set for descending.
class TSortIndexList : public TIntList {
public:
    TSortIndexList() : TIntList(0, 0) {}
    String ClassName() const override { return u"TSortIndexList"; }

    void AddIndex(int ACol, bool Ascending);
    int FindIndex(int ACol) const;
    int SortColumns(int Index) const;
    void SetSortColumns(int Index, int ACol);
    bool SortDirections(int Index) const;  // true: ascending
    void SetSortDirections(int Index, bool Ascending);
    void ToggleIndex(int ACol);
    // "u2;d5": direction letter and the column's low 16 bits, joined by ";".
    String SaveToString() const;
    void LoadFromString(StringView Value);
};

struct TControlItem {
    int X = 0;
    int Y = 0;
    plat::TControl* Control = nullptr;  // not owned
};

// Controls placed over cells. Owns its items, not their controls.
class TControlList {
public:
    void AddControl(int X, int Y, plat::TControl* AControl);
    int ControlIndex(int X, int Y) const;  // -1 when none
    TControlItem* GetControl(int Index) const;
    void RemoveControl(int Index);
    // Whether some item's control is a windowed control with this window handle.
    bool HasHandle(std::uintptr_t Handle) const;
    int Count() const { return static_cast<int>(items_.size()); }

private:
    std::vector<std::unique_ptr<TControlItem>> items_;
};

// A text file in memory, read with a position and written with a pending line.
class TFileStringList : public plat::TStringList {
public:
    String ClassName() const override { return u"TFileStringList"; }
    void Reset();
    bool Eof() const { return fp >= Count(); }
    void ReadLn(String& Line);  // past the end raises EListError
    void Write(StringView Text) { cache += Text; }
    void WriteLn(StringView Text);

    int fp = 0;
    String cache;
};

} // namespace grid
