#pragma once
// TExtStringGrid: the table control of every rule editor. Creation sets its start values
// and builds its owned settings; every question about a cell (colour, border, alignment,
// format, editor kind, fixed state, editability, check values, filter list) goes through a
// virtual hook that applies the grid's rule and then fires the matching event, so a form or
// a derived grid (the column grid) can change the answer.
//
// Index spaces: cell access takes a real column (hidden columns included) and a display row
// (rows the grid holds now; hidden rows live in the hidden-row store). Real columns
// 0 .. kMaxHideCol - 1 can be hidden. BeginUpdate/EndUpdate nest; an invisible grid counts
// them without touching its redrawing.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "BaseGrid.h"
#include "CellGraphic.h"
#include "CellNode.h"
#include "ExtDraw.h"
#include "ExtGridSettings.h"
#include "GridDragSettings.h"

namespace plat {
struct THintInfo;
}
#include "ExtGridFilter.h"
#include "ExtGridSortSettings.h"
#include "ExtObjWindows.h"
#include "GridHiddenRows.h"
#include "plat/Exception.h"
#include "plat/SysUtils.h"

namespace plat { class THintWindow; class TCustomPanel; class TCustomRichEdit; }

namespace plat {
class TCustomForm;
class TCustomImageList;
class TStream;
}

namespace plat {
class TBalloonWindow;
}

namespace grid {

class TExtStringGridCheck;
class TScrollControl;  // the slim scroll indicator of ssMetro (src/grid/view)
class THeaderDragButton;  // the floating header caption of a row or column move (src/grid/view)
class TNoActiveForm;      // a picture of cells following the pointer (src/grid/view)

// The options of a search, a set of up to 16 flags.
enum TFindParam {
    fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart, fnFindInCurrentRow,
    fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward, fnIncludeHiddenColumns,
    fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells, fnIncludeHiddenRows
};
class TFindParameters {
public:
    constexpr TFindParameters() = default;
    constexpr TFindParameters(std::initializer_list<TFindParam> p) {
        for (auto x : p) bits_ = static_cast<std::uint16_t>(bits_ | (1u << x));
    }
    constexpr bool Contains(TFindParam p) const { return (bits_ & (1u << p)) != 0; }
    constexpr TFindParameters& Include(TFindParam p) { bits_ = static_cast<std::uint16_t>(bits_ | (1u << p)); return *this; }
    constexpr TFindParameters& Exclude(TFindParam p) { bits_ = static_cast<std::uint16_t>(bits_ & ~(1u << p)); return *this; }
    constexpr std::uint16_t Bits() const { return bits_; }
    friend constexpr bool operator==(const TFindParameters&, const TFindParameters&) = default;

private:
    std::uint16_t bits_ = 0;
};

// An integer list whose items the grid's whole-list operations reach directly.
class TGridIntList : public TIntList {
public:
    TGridIntList() : TIntList(0, 0) {}
    std::vector<int>& Items() { return items_; }
    const std::vector<int>& Items() const { return items_; }
};

class TCellBorders {
public:
    constexpr TCellBorders() = default;
    constexpr TCellBorders(std::initializer_list<TCellBorder> b) {
        for (auto x : b) bits_ |= 1u << x;
    }
    constexpr bool Contains(TCellBorder b) const { return (bits_ & (1u << b)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TCellBorders& Include(TCellBorder b) { bits_ |= 1u << b; return *this; }
    friend constexpr bool operator==(const TCellBorders&, const TCellBorders&) = default;

private:
    unsigned bits_ = 0;
};

// The one selection listener a grid keeps.
class ITExtStringGridSelect {
public:
    virtual void SelectionChanged(plat::TObject* Sender) = 0;

protected:
    ~ITExtStringGridSelect() = default;
};

// Told about every rectangle of changed cells.
class TGridChangeNotifier {
public:
    virtual ~TGridChangeNotifier() = default;
    virtual void CellsChanged(plat::TObject* Sender, const plat::TRect& R) { (void)Sender; (void)R; }
};

// Errors of the cell access API; the message is the text the user sees.
class EExtGridError : public plat::Exception {
    using plat::Exception::Exception;
};

// Page size and range of a cell scroll bar.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};

enum TGridExportState { esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail, esExportNextRow };
enum TGridImportState { isImportStart, isImportNewRow, isImportDone, isImportSelRow };

using TClickCellEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol)>;
using TCanEditCellEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TButtonClickEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow)>;
using TComboDropEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol)>;
using TGridHintEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, String& HintStr)>;
using TGetCellColorEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TGridDrawState AState,
                                              plat::TBrush* ABrush, plat::TFont* AFont)>;
using TGetCellBorderEvent =
    std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TPen* APen, TCellBorders& Borders)>;
using TGetAlignmentEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TAlignment& HAlign,
                                              TVAlignment& VAlign)>;
using TGetFormatEvent =
    std::function<void(plat::TObject* Sender, int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)>;
using TGetEditorTypeEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TIsFixedCellEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, bool& IsFixed)>;
using TIsPasswordCellEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, bool& IsPassword)>;
using TGetWordWrapEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, bool& WordWrap)>;
using THasComboBoxEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, bool& HasComboBox)>;
using THasSpinEditEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, bool& HasSpinEdit)>;
using TGetCheckEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value)>;
using TGetColumnFilterEvent = std::function<void(plat::TObject* Sender, int Column, plat::TStrings* Filter)>;
using TGetCellCursorEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, int X, int Y, plat::TCursor& ACursor)>;
using TComboChangeEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, int AItemIndex, const String& ASelection)>;
using TKeyPressEvent = std::function<void(plat::TObject* Sender, char16_t& Key)>;
using TCellsChangedEvent = std::function<void(plat::TObject* Sender, const plat::TRect& R)>;
using TCheckBoxClickEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, bool State)>;
using TSearchFooterActionEvent =
    std::function<void(plat::TObject* Sender, const String& Value, int ACol, int ARow, int SearchAction)>;
using TExpandClickEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, bool Expanded)>;
using TRowDisjunctSelectEvent = std::function<void(plat::TObject* Sender, int ARow, bool Value, bool& Allow)>;
using TRowDisjunctSelectedEvent = std::function<void(plat::TObject* Sender, int ARow)>;
using TCustomCompareEvent =
    std::function<void(plat::TObject* Sender, const String& str1, const String& str2, int& Res)>;
using TRawCompareEvent = std::function<void(plat::TObject* Sender, int ACol, int Row1, int Row2, int& Res)>;
using TClickSortEvent = std::function<void(plat::TObject* Sender, int ACol)>;
using TCustomFilterEvent = std::function<void(plat::TObject* Sender, int ARow, bool& AcceptRow)>;
using TFilterProgressEvent = std::function<void(plat::TObject* Sender, short Progress)>;
using TFilterSelectEvent = std::function<void(plat::TObject* Sender, int Column, int ItemIndex,
                                              const String& FriendlyName, String& FilterCondition)>;
using TGetFloatFormatEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat)>;

// Locale texts used by parsing and formatting, read from the process-wide format settings
// at each call.
char16_t GetTimeSeparator();
char16_t GetDateSeparator();
char16_t GetThousandSeparator();
char16_t GetDecimalSeparator();
String GetShortDateFormat();
String GetShortTimeFormat();
String GetLongTimeFormat();

// What the grid's unit registers once per process, before its first grid exists: the
// clipboard format "TExtStringGrid Cells" and the window messages "GridEditDone" (column in
// wParam, row in lParam) and "DTPShiftFocus".
struct TGridRegistrations {
    plat::UINT CellsClipboardFormat = 0;
    plat::UINT GridEditDone = 0;
    plat::UINT DTPShiftFocus = 0;
};
const TGridRegistrations& GridRegistrations();

class TExtStringGrid;
// The search footer panel and filter lists (GridSearchPanel.h, GridFilterList.h).
class TSearchPanel;
class TFilterDropDown;
class TDropList;
class TDropCheckList;
class TExtInplaceEdit;
class TGridCombo;
class TGridSpin;
class TGridDatePicker;
class TGridDateTimePicker;
class TEditLink;
class TGridTransEdit;
class TControlEdit;
class TControlCombo;
class TGridTransCombo;
// Whether AComponent is the link (a link is a component; its class is complete in GridEditLink.h).
bool IsEditLinkOf(const TEditLink* Link, const plat::TComponent* AComponent);
// Check-box, button, edit-with-button, unit and rich-text editors (GridEditors2.cpp).
class TGridCheckBox;
class TGridButton;
class TGridEditBtn;
class TGridUnitEditBtn;
class TExtRichEdit;

using TCellValidateEvent =
    std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value, bool& Valid)>;
using TEditCellDoneEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow)>;
using TEditChangeEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, const String& Value)>;
using TGetEditorPropEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TObject* AEditLink)>;
using TComboObjectChangeEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, int AItemIndex,
                                                   const String& ASelection, plat::TObject* AObject)>;
using TAutoAdvanceEvent =
    std::function<void(plat::TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)>;
using TCellChangingEvent =
    std::function<void(plat::TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TRowColChangingEvent = std::function<void(plat::TObject* Sender, int Old, int New, bool& Allow)>;

// Mouse input (GridMouse.cpp).
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
using TCanClickCellEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, bool& Allow)>;
using TCanSortEvent = std::function<void(plat::TObject* Sender, int ACol, bool& Allow)>;
using TAnchorClickEvent =
    std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& Anchor, bool& AutoHandle)>;

// What GetVisualProperties decides for a cell besides its brush and font.
struct TCellVisual {
    TColor ColorTo = plat::clNone;
    TColor MirrorColor = plat::clNone;
    TColor MirrorColorTo = plat::clNone;
    plat::TAlignment HA = plat::taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WordWrap = false;
    TCellGradientDirection GD = GradientVertical;
};

// Who asks GetVisualProperties: the print engine (Print: print fonts and the print colour
// hook), the cell-frame painting (Select: the selection colours apply) and the cell painting
// (Remap: ACol is a display column, mapped to its real column).
struct TVisualRequest {
    bool Print = false;
    bool Select = true;
    bool Remap = false;
};

using TGridGradientEvent =
    std::function<void(plat::TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                       TColor& ColorMirror, TColor& ColorMirrorTo, TCellGradientDirection& GD)>;
using TGridBorderPropEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, plat::TPen* LeftPen,
                                                plat::TPen* TopPen, plat::TPen* RightPen, plat::TPen* BottomPen)>;
using TCustomCellDrawEvent =
    std::function<void(plat::TObject* Sender, plat::TCanvas* Canvas, int ACol, int ARow, plat::TGridDrawState AState,
                       plat::TRect ARect, bool Printing)>;

// The selection colour over a cell colour: with the mixer on, each RGB component is
// Factor percent of the selection and the rest of the cell colour (halves to even).
TColor SelectionMixColor(bool Mixer, int Factor, TColor Selection, TColor Cell);
// A footer template with every "<#n>" replaced by ColumnText(n); a tag whose n is not a
// number is dropped.
String FillFooterTemplate(StringView Template, const std::function<String(int)>& ColumnText);
// The percentage of an XP progress cell: |Value - From| of the range From..To, rounded
// (halves to even); an empty range gives 0.
int XPProgressPercent(int Value, int From, int To);
// A bitmap drawn transparently (its bottom-left colour left out), the bitmap itself unchanged.
void DrawTransparentBitmap(plat::TCanvas* Canvas, const plat::TBitmap* Bitmap, int X, int Y);

// The thumb of a vertical scroll bar with a track of Track pixels, positions 0 .. Range and a
// page of Page: its offset from the track's top and its length (0 without a range).
struct TCellScrollThumb {
    int Offset = 0, Length = 0;
};
TCellScrollThumb CellScrollThumb(int Track, int Page, int Range, int Position);

class TExtStringGrid : public TBaseGrid {
public:
    explicit TExtStringGrid(plat::TComponent* AOwner);
    ~TExtStringGrid() override;
    String ClassName() const override { return u"TExtStringGrid"; }

    // Copies settings, layout and cells from another string grid; other sources are ignored.
    void Assign(const plat::TPersistent* Source) override;
    // Copies the cells through the cell text format.
    virtual void AssignCells(const plat::TPersistent* Source);
    void Invalidate() override;

    virtual int GetVersionNr() const;
    virtual String GetVersionString() const;

    // ---- update locking ----
    // Nested; counted also while invisible. Redrawing is switched off and on only while the
    // grid is visible; showing the grid applies the state of the count.
    void BeginUpdate();
    void StartUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void ResetUpdate() { FUpdateCount = 0; }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }
    int UpdateCount() const { return FUpdateCount; }
    void SetVisible(bool Value) override;

    // ---- listeners ----
    void RegisterSelListener(ITExtStringGridSelect* Listener) { FSelListener = Listener; }
    void UnRegisterSelListener(ITExtStringGridSelect*) { FSelListener = nullptr; }
    ITExtStringGridSelect* SelListener() const { return FSelListener; }
    void RegisterNotifier(TGridChangeNotifier* Item);
    void UnRegisterNotifier(TGridChangeNotifier* Item);
    int NotifierCount() const { return static_cast<int>(FNotifierList.size()); }

    // Shared scratch font: the next call overwrites it.
    plat::TFont* GetCellFont(int ACol, int ARow);

    // ==== dimensions (ExtGridIndex.cpp) ====
    // The framework's counts with the grid's rules: RowCount counts display rows and
    // ColCount shown columns. With FixedRowAlways (FixedColAlways) a count above the fixed
    // rows (columns) last asked for brings them back; the highest counts are remembered.
    void SetRowCount(int Value);
    void SetColCount(int Value);
    // Outside loading, the value asked for is remembered as the kept fixed rows (columns).
    void SetFixedRows(int Value);
    void SetFixedCols(int Value);
    int MaxRowCount() const { return FMaxRowCount; }
    int MaxColCount() const { return FMaxColCount; }
    int FixedRowsMin() const { return FFixedRowsMin; }
    int FixedColsMin() const { return FFixedColsMin; }

    // ==== index spaces: hidden columns and rows, current row (ExtGridIndex.cpp) ====
    // Only real columns below kMaxHideCol can be hidden; hiding any other index is ignored.
    // Both column mappings are exact for every index inside the grid; an index beyond the
    // grid maps by the hidden columns below kMaxHideCol (itself from kMaxHideCol on).
    static constexpr int kMaxHideCol = 512;
    void HideColumn(int ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll();
    bool IsHiddenColumn(int ColIndex) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int TotalColCount() const override { return ColCount() + FNumHidden; }
    int AllColCount() const { return ColCount() + FNumHidden; }
    // Display -> real column; constant time.
    int RealColIndex(int ACol) const;
    // Real -> display column; a hidden column maps to the display column of the next shown one.
    int DisplColIndex(int ACol) override { return DisplCol(ACol); }
    int DisplCol(int ACol) const;
    // The framework's write of a stored (real) cell repaints and refreshes only the cell
    // written: a hidden column has no shown cell.
    int ShownColOfStored(int ACol) override { return IsHiddenColumn(ACol) ? -1 : DisplCol(ACol); }
    int DisplToRealCol(int ACol) const { return RealColIndex(ACol); }
    int RealCol() const { return RealColIndex(Col()); }
    int GetRealCol() const { return RealCol(); }
    // Width of a real column: the width it had when hidden, else its display width.
    int AllColWidths(int ACol) const;
    void SetAllColWidths(int ACol, int Value);

    // Rows: real indexes count hidden rows, display indexes do not. Hiding moves the row's
    // cells (texts and object references, all real columns) and height into the store.
    void HideRow(int RowIndex) { HideRows(RowIndex, RowIndex); }
    void HideRows(int FromRow, int ToRow);
    void HideRowsEx(int FromRow, int ToRow);
    void UnHideRow(int RowIndex);
    // Each hidden row of the range comes back at its own real position.
    void UnHideRows(int FromRow, int ToRow);
    void UnHideRowsAll();
    bool IsHiddenRow(int RowIndex) const { return FGridItems.IsHidden(RowIndex); }
    int NumHiddenRows() const { return FGridItems.Count(); }
    int TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    int AllRowCount() const { return RowCount() + NumHiddenRows(); }
    // Both row mappings are logarithmic in the number of hidden rows.
    int RealRowIndex(int ARow) const { return FGridItems.RealRow(ARow); }
    int DisplRowIndex(int ARow) const { return FGridItems.DisplRow(ARow); }
    int DisplToRealRow(int ARow) const { return RealRowIndex(ARow); }
    int RealRow() const { return RealRowIndex(Row()); }
    int GetRealRow() const { return RealRow(); }
    THiddenRows& GridItems() { return FGridItems; }
    const THiddenRows& GridItems() const { return FGridItems; }

    // Current cell. Row: a current column outside the grid first moves to FixedCols;
    // OnRowChanged(old, new) fires exactly when the row differs from the one last reported.
    int GetRowEx() const { return Row(); }
    void SetRowEx(int Value);
    void SetRow(int Value) { SetRowEx(Value); }
    void SetCol(int Value);
    // Accepted only for FixedRows <= Value <= RowCount - 1.
    void SetTopRow(int Value);
    std::function<void(plat::TObject* Sender, int OldRow, int NewRow)> OnRowChanged;

    // The selection parked on the cell just outside the grid, and brought back.
    void HideSelection();
    void UnHideSelection();
    bool SelHidden() const { return FSelHidden; }
    // Display indexes: brings the cell into view, centred where it has to scroll.
    void ScrollInView(int ColIndex, int RowIndex);
    // Smallest rectangle (framework indexes) holding every non-empty shown cell; all 0 when none.
    virtual plat::TRect UsedCells();

    // The cells export and persistence write (display indexes).
    int SaveStartCol() const;
    int SaveStartRow() const;
    int SaveEndCol() const;
    int SaveEndRow() const;
    int SaveColCount() const;
    int SaveRowCount() const;
    bool SaveFixedCols = false, SaveFixedRows = false;
    // ==== end of index spaces ====

    // ==== structural operations (ExtGridRowOps.cpp) ====
    // Row containers move in the cell store (texts and objects together, never copied);
    // heights, the per-row flag lists and the hidden-row store stay in step. A stored
    // hidden row's Idx moves by the real rows inserted or removed before it; moving and
    // swapping shown rows leaves hidden rows at their real positions.
    // Display row RowIndex (RowCount appends); the new rows are empty and default high.
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void AddRow() { InsertRows(RowCount(), 1, true); }
    // Display rows; the cell properties of the removed rows are freed.
    virtual void RemoveRows(int RowIndex, int RCount);
    // As RemoveRows, but the cell objects of the removed rows are not freed (they were
    // moved elsewhere).
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    virtual void RemoveRowRange(int ARow, int ACount) { RemoveRows(ARow, ACount); }
    // Removes, walking down from FixedRows to the footers, every row whose text in the
    // display column ACol was seen above; DoCase compares with regard to case.
    void RemoveDuplicates(int ACol, bool DoCase);
    // Real column ColIndex; the new columns are shown, empty and default wide.
    virtual void InsertCols(int ColIndex, int CCount);
    // Real columns; the count is cut at the last real column.
    virtual void RemoveCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(AllColCount(), 1); }
    // Display rows.
    void MoveRow(int FromIndex, int ToIndex);
    // Rows FromIndex .. FromIndex + Count - 1 end at ToIndex, or at ToIndex - Count when
    // ToIndex lies beyond the block's end (so they end before the row that was there).
    void MoveRows(int FromIndex, int ToIndex, int Count);
    void SwapRows(int Index, int Index2);
    // Real columns: cells, width and hidden state are exchanged.
    void SwapColumns(int Index, int Index2);
    // Fires OnCellsChanged, then every registered notifier in registration order.
    virtual void CellsChanged(const plat::TRect& R);

protected:
    // Hook points for a grid that keeps a description per real column (the column grid):
    // ColumnsInserting and ColumnsRemoving run before the column count changes, so the
    // descriptions can be inserted or removed at their real place before any count
    // synchronisation; ColumnsSwapped runs after two real columns were exchanged. A move
    // arrives through the ColumnMoved override in display indexes: their real indexes are
    // RealColIndex of both taken before calling this grid's ColumnMoved, which remaps them.
    virtual void ColumnsInserting(int ColIndex, int CCount) { (void)ColIndex; (void)CCount; }
    virtual void ColumnsRemoving(int ColIndex, int CCount) { (void)ColIndex; (void)CCount; }
    virtual void ColumnsSwapped(int Index, int Index2) { (void)Index; (void)Index2; }
    // The framework's column move (widths moved already): cells, hidden state and the
    // hidden rows' cells follow in real indexes.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

public:
    // ==== end of structural operations ====

    // ==== sorting (ExtGridSort.cpp) ====
    // Columns are real columns, rows display rows. Every sort is stable (equal rows keep
    // their order in both directions): each row's key is computed once, a permutation is
    // sorted, and the rows then move by SortSwapRows, so no cell text is copied and the
    // cross-reference, heights and row flags follow. An automatic style is decided once per
    // sort from every cell of the column: check boxes when every cell holds one, numbers,
    // dates or times when every non-empty text is one, else text. A comparison handler that
    // answers inconsistently gives some order, never a fault.
    void Sort(int ACol, TSortDirection Direction);
    // Only with more than one row.
    void SortByColumn(int ACol);
    // Normal rows (FixedRows .. RowCount - FixedFooters - 1) by SortSettings.Column; nothing
    // for a column outside the grid.
    virtual void QSort();
    // The same by SortIndexes; EExtGridError "No indexes specified for indexed sort" when empty.
    virtual void QSortIndexed();
    // Display rows Left .. Right only.
    void QuickSort(int ACol, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    // The rows of every expanded node of the deepest node level, on SortSettings.Column or
    // by SortIndexes.
    void QSortGroup();
    void QSortGroupIndexed();
    // Restores the order of the last InitSortXRef. Rows inserted since end after every
    // existing one; nothing happens when there is no sort to undo.
    void QUnSort();
    void InitSortXRef();
    // Compares on ACol, then on the columns to its right while equal; swaps the rows and
    // returns true when they are out of order for SortSettings.Direction.
    bool SortLine(int ACol, int ARow1, int ARow2);
    virtual void SortSwapRows(int Index, int Index2);
    // -1, 0 or +1 in ascending order (IgnoreBlanks places an empty cell by BlankPos, with the
    // signs reversed for sdDescending). Outside a sort an automatic style is decided from the
    // two cells.
    int CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    virtual void ClickSort(int ACol);
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    bool IsIgnoredColumn(int ACol) const { return FIgnoreColumns->HasValue(ACol); }
    // The display row that held the current row when the last sort began, where it went.
    int SortRow() const { return FSortRow; }
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    void SetSortSettings(const TSortSettings& Value) { FSortSettings->Assign(&Value); }
    const std::vector<int>& SortRowXRef() const { return FSortRowXRef->Items(); }
    // Comparisons and row swaps of the sorts; a sort on a text or number column orders the
    // rows by a 64-bit key without comparing them and counts only the comparisons of rows
    // whose keys are equal.
    int Compares = 0, Swaps = 0;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TClickSortEvent OnClickSort;
    // ==== end of sorting ====

    // ==== filtering (ExtGridFilter.cpp) ====
    // Rows a filter hides go into the hidden-row store tagged with their level (1 for the
    // first level in force); HideRow's rows carry level 0 and are never shown or dropped by
    // removing a filter level. Store items record real indexes, so the row mappings stay
    // exact with stacked levels and beside rows hidden otherwise. Rows are display rows,
    // columns real columns.
    TFilter* Filter() const { return FFilter.get(); }
    void SetFilter(const TFilter& Value) { FFilter->Assign(&Value); }
    // Every condition of Filter in order, then OnCustomFilter. An exception while testing a
    // condition counts as no match.
    virtual bool RowMatchesFilter(int ARow);
    // Hides the row when it does not match.
    void FilterRow(int ARow);
    // Tests every normal row (node and summary rows stay with FilterNormalCellsOnly) and
    // hides the failing ones as one new level.
    void ApplyFilter();
    bool FilterActive() const { return FFilterActive; }
    // On applies Filter as a new level; off shows the rows of the top level again.
    void SetFilterActive(bool Value);
    // Shows the top level's rows; false when no level was in force or none is left.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Incremental narrowing: a condition one character longer than the last adds a level, one
    // character shorter removes the top level, anything else starts over. AColumn -1 looks
    // for the text anywhere in the row (a to z without regard to case), a column for "*text*".
    // An empty condition removes every filter level; rows hidden otherwise stay hidden.
    void NarrowDown(const String& ACondition, int AColumn = -1);
    // The filter drop-down's choice of entry ItemIndex of FilterList for FilterColumn.
    virtual void FilterSelect(int ItemIndex);
    // The filter drop-down's check list changed: Checked holds the checked entries' indexes.
    virtual void FilterCheck(const std::vector<int>& Checked);
    // Display rows, ascending: hidden as one new level.
    void HideRowList(const std::vector<int>& RowList);
    // Shows the rows of the top level.
    void UnHideRowList();
    int FilterLevel() const { return FFilterLevel; }
    // The column whose filter drop-down is open; -1 when none.
    int FilterColumn() const { return FFilterCol; }
    void SetFilterColumn(int Value) { FFilterCol = Value; }
    int FilterDropDownRow() const { return FFilterRow; }
    // Only a fixed row is accepted.
    void SetFilterDropDownRow(int Value);
    bool FilterDropDownCheck = false;
    TCustomFilterEvent OnCustomFilter;
    TFilterProgressEvent OnFilterProgress;
    TFilterSelectEvent OnFilterSelect, OnFilterCheck;
    plat::TNotifyEvent OnFilterDone;
    // ==== end of filtering ====

    // ==== search and replace (ExtGridFind.cpp) ====
    // A search walks column by column (row by row with fnDirectionLeftRight) from the cell
    // after StartCell, (-1, -1) for the first cell (the last with fnBackward), and ends at
    // the first match or the end of the range (no wrap-around). The result is a display
    // column (a real one with fnIncludeHiddenColumns) and a display row (a real one with
    // fnIncludeHiddenRows); (-1, -1) when nothing matches. Without fnMatchCase both sides
    // are upper-cased with the locale's rules. The search text "" (two double quotes)
    // matches the empty cells.
    TPoint Find(TPoint StartCell, const String& s, TFindParameters FindParams);
    // The same on the cells' decoded wide texts.
    TPoint FindWide(TPoint StartCell, const String& s, TFindParameters FindParams);
    TPoint FindFirst(const String& s, TFindParameters FindParams);
    // From SearchCell with the last search text and flags; after the last match (-1, -1),
    // and the next call starts over at the first cell.
    TPoint FindNext();
    // Every occurrence of OrigStr in each matching cell becomes NewStr, with regard to case
    // exactly when fnMatchCase is given; the number of cells changed. Each changed cell is
    // reported by CellsChanged.
    int Replace(const String& OrigStr, const String& NewStr, TFindParameters FindParams);
    // First normal row whose plain text in the sorted column begins with s (upper case); -1
    // when none or with fewer than two rows.
    int Search(const String& s);
    TPoint SearchCell() const { return FSearchCell; }
    TFindParameters FindParams() const { return FFindParams; }
    bool FindBusy() const { return FFindBusy; }
    int FindCol = 0, FindRow = 0;
    // The flags the search footer's edit, find-next and find-previous actions search with.
    enum TSearchFooterFind { sfEditChange, sfFindNext, sfFindPrevious };
    TFindParameters SearchFooterFindParams(TSearchFooterFind Action, bool HighlightDown, bool MatchCaseChecked);
    // Colour of the search footer's edit after a search: red when nothing was found.
    static TColor SearchEditColor(bool Found) { return Found ? plat::clWindow : TColor(0x000000FF); }

    // ---- change notifications ----
    // CellsChanged, after OnCellsChanged and the notifiers, recalculates the footer.
    void CellsChangedFooter() { CalcFooter(-1); }
    void UpdateFooterColumn(int ACol) { CalcFooter(ACol); }
    void Click() override;
    // Remembers the cell and its stored and wide texts for editing (ACol display column).
    virtual void StoreOldCell(int ACol, int ARow);
    int OldCol() const { return FOldCol; }
    int OldRow() const { return FOldRow; }
    const String& OldCellText() const { return FOldCellText; }
    const String& OldWideCellText() const { return FOldWideCellText; }
    // The grid follows no framework visual style.
    bool UseVCLStyles() const { return false; }
    // ==== end of search and replace ====

    // ==== grouping (ExtGridGroup.cpp) ====
    // Group sorts by the column (AutoSortForGrouping), puts a node row before each run of
    // equal stored texts holding the value in column 1 (2 when grouping by column 1), a
    // summary row after each run with Grouping.Summary, and removes the column; UnGroup
    // puts the column back with its width, header, footer text and every row's value. A grid
    // grouped on column 0 (no fixed columns) ungroups too.
    virtual void Group(int ColIndex);
    virtual void UnGroup();
    int GroupColumn() const { return FGroupColumn; }
    // -1 ungroups, a value above 0 groups by it, 0 does nothing.
    void SetGroupColumn(int Value);
    // Group figures of display column ColIndex, written into each expanded node row (into
    // its summary row with Grouping.Summary); collapsed groups are left alone.
    void GroupSum(int ColIndex) { GroupCalc(ColIndex, 1); }
    void GroupAvg(int ColIndex) { GroupCalc(ColIndex, 2); }
    void GroupMin(int ColIndex) { GroupCalc(ColIndex, 3); }
    void GroupMax(int ColIndex) { GroupCalc(ColIndex, 4); }
    void GroupCount(int ColIndex) { GroupCalc(ColIndex, 5); }
    void GroupCustomCalc(int ColIndex) { GroupCalc(ColIndex, 6); }
    void GroupDistinct(int ColIndex) { GroupCalc(ColIndex, 7); }
    void GroupStdDev(int ColIndex) { GroupCalc(ColIndex, 8); }
    // Method 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 OnGroupCalc, 7 distinct
    // texts, 8 standard deviation.
    void GroupCalc(int ACol, int Method);
    std::function<void(plat::TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnGroupCalc;
    bool IsGrouping() const { return FIsGrouping; }
    // ---- sub-groups (ExtGridSubGroup.cpp) ----
    // SubGroup puts a node row (its record's CellVar holding ColIndex) before each run of
    // equal values of display column ColIndex inside every group (inside the whole table when
    // nothing is grouped), writes the value into column ColIndex + 1 of that row and empties
    // ColIndex in the run's rows; the column stays. The group's own fields (GroupColumn and
    // what UnGroup puts back) are left as they are, so UnGroup still restores the grouped
    // column. SubUnGroup writes each sub-group's value back into its rows and removes the
    // sub-group rows, giving back the table SubGroup started from.
    virtual void SubGroup(int ColIndex);
    virtual void SubUnGroup(int ColIndex);
    // ==== end of grouping ====

    // ==== clearing, trimming, merging and numbering (ExtGridClear.cpp) ====
    // Rectangles are in real columns (mapped from display columns with SaveHiddenCells) and
    // display rows. Clearing frees the cells' properties unless ClearTextOnly.
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void ClearSelection();
    // Every real column of every display row.
    void Clear();
    // Clear, and the texts of the hidden rows too (they stay hidden).
    void ClearAll();
    void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    // Cell ColIndex1 := trimmed ColIndex1 + Separator + ColIndex2 in every normal row, then
    // column ColIndex2 goes.
    void MergeCols(int ColIndex1, int ColIndex2, const String& Separator);
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    // First shown cell, row by row, whose text equals SubStr exactly; ACol is its real column.
    bool IsCell(const String& SubStr, int& ACol, int& ARow);
    // The text is held in the escaped wide form ("|\" first).
    bool IsWideCell(int ACol, int ARow);
    bool ClearTextOnly = false;
    int AutoNumberStart = 0;
    int AutoNumberOffset = 0;
    TSortDirection AutoNumberDirection = sdAscending;
    // ==== end of clearing ====

    // ==== node rows (ExtGridNodes.cpp) ====
    // A node row carries a ctNode record in column 0: CellIndex its span in real rows (the
    // node row included; 0 reaches up to the next node row), CellBoolean contracted,
    // CellErrFrom its sub-node count; a span 0 becomes the span it has once rows or nodes are
    // added, removed or moved. Levels live in NodeLevel of the rows' column-0 cell
    // properties. Every row of a contracted node's span is hidden. Spans follow inserted
    // and removed rows: rows inserted strictly inside a span join it (at the level of the
    // innermost node holding them), removed rows leave it, and every span ends inside the
    // grid. A contracted node row that is removed or moved gives its hidden rows back, so no
    // row stays hidden without a node holding it.
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(const TCellNode& Value) { FCellNode->Assign(&Value); }
    // ARow real; the node starts expanded with sub-node count 0.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // True when contracted.
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    int GetSubNodeCount(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    void UpdateSubNodeCount(int ARow, int Delta);
    // ARow real. Expanding shows the hidden rows of the span that no other contracted node
    // holds; contracting hides the span and opens the contracted nodes wholly inside it.
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    void ContractAll();
    // Display row of the node whose span holds ARow; a node row without one is its own
    // answer; -1 without nodes or outside every span.
    int GetParentRow(int ARow);
    // 0 node row; 1 last row of a branch; 2 the next row is at this row's level or deeper.
    int GetNodeSpanType(int ARow);
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // The parent and every ancestor gain one row of span and one sub-node and are expanded;
    // RemoveChildRow takes exactly that back, so the two are inverse.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    void AddSummary(int ARow);
    bool HasNodes() override { return FNumNodes > 0; }
    int NumNodes() const { return FNumNodes; }
    int GetRowIndent(int ARow) override;
    bool IsNodeButtonHit(int ARow, int X);
    // The node record of a real row (shown or hidden), null when the row is no node.
    TCellGraphic* NodeRecordReal(int ARealRow);
    // Real rows of every node, ascending.
    std::vector<int> NodeRealRows();
    // Level of a real row (shown or hidden); 0 without properties.
    int RealRowLevel(int ARealRow);
    // Last real row of a node's span.
    int NodeGroupEnd(int ARealRow);
    // ==== end of node rows ====

    // ==== statistics (ExtGridStats.cpp) ====
    // Columns are display columns. Rows FromRow .. ToRow, -1 in either meaning all normal
    // rows; a ToRow beyond the last display row makes both real rows (hidden rows count).
    // A row takes part unless it is a node or summary row of a grid with nodes (a hidden one
    // takes part) or its cell is covered by a merge. A cell that holds no number (a
    // conversion error) adds nothing to the sum, is skipped by minimum and maximum and counts
    // as 0 for average and deviation, which divide by the rows taking part.
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    // Population standard deviation.
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    // Different display texts, compared without regard to case.
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    // Display columns of one display row; cells covered by a merge are skipped. RowMin and
    // RowMax raise EExtGridError when the first cell holds no number.
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    std::function<void(plat::TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)> OnColumnCalc;
    // ==== end of statistics ====

    // ==== automatic sizing (ExtGridSize.cpp) ====
    // Display columns and rows. Widths and heights are limited to MinColWidth .. MaxColWidth
    // and MinRowHeight .. MaxRowHeight (0 = no limit; equal limits leave the size as it is).
    void AutoSizeCol(int ACol, int Padding = 0);
    void AutoSizeColumns(bool DoFixedCols, int Padding = 0);
    void AutoSizeRow(int ARow, int Padding = 0);
    void AutoSizeRows(bool DoFixedRows, int Padding = 0);
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    void AutoFitColumns(bool DoFixedCells);
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // The one measuring hook of sizing: the pixel size of the cell's content without its
    // graphic and offsets, as painted. The cell painter answers first (markup, rich and
    // rotated text); otherwise the plain text in the cell's font, its widest line by its
    // line count. ACol display column.
    virtual TPoint MeasureCellContent(int ACol, int ARow, int WrapWidth = 0);
    // The width a column sizes to may be changed here (the column grid applies its limits);
    // fires OnUpdateColumnSize. ACol display column.
    virtual void UpdateAutoColumnSize(int ACol, int& AWidth);
    // Sizing never makes a column narrower or a row lower.
    bool SizeGrowOnly = false;
    // ==== end of automatic sizing ====

    // ==== selected cells (ExtGridSelect.cpp) ====
    // Display columns and rows. A disjunctly selected cell is stored as
    // row * 65536 + (column & 65535).
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // Cells of the selection joined by tabs, rows by CR LF.
    String SelectedText();
    bool IsSelected(int ACol, int ARow);
    bool SelectedCells(int ACol, int ARow);
    void SetSelectedCells(int ACol, int ARow, bool Value);
    TPoint SelectedCell(int Index);
    int SelectedCellsCount();
    int SelectedColCount();
    int SelectedRowCount();
    // -1 beyond the selected rows.
    int SelectedRow(int Index);
    void ClearSelectedCells();
    void ClearModifiedRows();
    TIntList* SelectedCellList() const { return FSelectedCells.get(); }
    bool ExcelClipboardFormat = false;
    // ==== end of selected cells ====

    // ---- column sizes ----
    void SaveColSizes();
    void LoadColSizes();
    // ---- column positions and settings files ----
    // The column-order list as "Pos0", "Pos1", ... in the store ColumnSize names (nothing
    // without its Key and Section). A load that does not find a complete order of every
    // column changes nothing; a complete one moves the columns so that position i shows the
    // column stored at i, hidden columns staying hidden.
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    // The visual properties as "name=value" lines in the system code page. A save that cannot
    // create the file raises "Cannot Create <file>", a load that cannot open it "Cannot open
    // file <file>"; neither changes the grid then. A load applies the lines in their fixed
    // order and stops at the first bad number or colour with a conversion error.
    void SaveVisualProps(const String& FileName);
    void LoadVisualProps(const String& FileName);
    // PrintSettings in Section of the INI file Key, rewritten whole by both.
    void SavePrintSettings(const String& Key, const String& Section);
    void LoadPrintSettings(const String& Key, const String& Section);
    int TotalXOffset() const { return XYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    int TotalYOffset() const { return XYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }
    int MaxLinesInRow(int ARow);
    virtual void ExportNotification(TGridExportState AState, int ARow) { (void)AState; (void)ARow; }
    virtual void ImportNotification(TGridImportState AState, int ARow) { (void)AState; (void)ARow; }

    // ==== cell texts as saved and loaded (ExtGridCellText.cpp) ====
    // SaveCell gives the text a file or stream gets: the formatted text with SaveVirtCells,
    // else the stored one; an empty check-box cell gives the check texts by its state; markup
    // becomes plain text unless SaveWithHTML; then OnSaveCell. LoadCell fires OnLoadCell and
    // stores the text. Both take real columns.
    virtual void SaveCell(int ACol, int ARow, String& Value);
    virtual void LoadCell(int ACol, int ARow, const String& Value);
    // The display text; a number goes through OnGetFloatFormat when that is assigned.
    virtual String GetFormattedCell(int ACol, int ARow);
    // Cell text stream: counts, one absolute "cw" line per column, then one line per non-empty
    // cell of the save range relative to it, with control characters encoded; UTF-16LE code
    // units with CR LF, no byte-order mark. Loading stops in front of the first line that is
    // neither a "cw" nor a cell line (the stream is left there); a number that is not decimal
    // raises plat::EConvertError, and so do counts larger than the bytes left could fill.
    void SaveToStream(plat::TStream& Stream);
    void LoadFromStream(plat::TStream& Stream);
    // 0 for an empty cell; else the numeric part of the text. EExtGridError "Error at
    // position: <p> in Cell [<c>, <r>]." when that part is not a number.
    double CellToReal(int ACol, int ARow);
    // The longest line (in characters) of the saved texts of real column ACol over all rows;
    // only first lines count unless MultilineCells.
    int MaxColumnTextLength(int ACol);
    void ChangeScale(int M, int D) override;
    std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value)> OnSaveCell, OnLoadCell;
    TGetFloatFormatEvent OnGetFloatFormat;
    std::function<void(plat::TObject* Sender, short Progress)> OnFileProgress;

    // ==== files (src/grid/io) ====
    // Native cell file: counts, one "cw" line per saved column, "col,row,text" per non-empty
    // cell with absolute indexes and control characters encoded; UTF-16LE with byte-order mark
    // when Unicode, else ANSI. Hidden columns are saved (in real order) only with
    // SaveHiddenCells.
    void SaveToFile(const String& FileName, bool Unicode = true);
    // Raises plat::EFileError for a missing or unreadable file (the grid unchanged) and
    // EExtGridError "File contains no data or corrupt file <name>" for a count line that
    // leaves the grid empty or asks for more than the file could fill. Cells outside the grid
    // are skipped; a call while a load runs does nothing.
    void LoadFromFile(const String& FileName);

    // Delimited text. Delimiter 0 means "," on export and detection on import (reset to 0
    // after it). Line breaks inside quoted fields are part of the field (kept as CR LF); a
    // quote that never closes leaves the rest of the file to be split at line ends.
    // SaveToCSV: UTF-8 with byte-order mark when Unicode, else ANSI. AppendToCSV raises
    // plat::EFileError for a missing file before anything is written.
    void SaveToCSV(const String& FileName, bool Unicode = true);
    void AppendToCSV(const String& FileName, bool Unicode = true);
    // MaxRows > 0 reads at most that many records. An empty file changes nothing; an empty
    // stream raises EExtGridError "File is empty".
    void LoadFromCSV(const String& FileName, int MaxRows = 0);
    void InsertFromCSV(const String& FileName, int MaxRows = 0);
    void LoadFromCSVStream(plat::TStream& AStream, int MaxRows = 0);
    // Fixed width: Positions are the widths of the saved columns on export (missing ones are
    // the longest line + 1) and 1-based start positions on import (sorted in place; n
    // positions give n - 1 fields). MaxRows -1 reads all lines.
    void SaveToFixed(const String& FileName, TIntList* Positions);
    void LoadFromFixed(const String& FileName, TIntList* Positions, bool DoTrim = true, int MaxRows = -1);
    // Aligned listing; UTF-16LE with byte-order mark when Unicode, else ANSI.
    void SaveToASCII(const String& FileName, bool Unicode = true);
    void AppendToASCII(const String& FileName, bool Unicode = true);
    char16_t Delimiter = 0;
    bool AlwaysQuotes = false, JavaCSV = false, OemConvert = false;

    // The column layout as one text: "N#widths#order#visibility" (N = all columns; widths by
    // display index, DefaultColWidth beyond ColCount; the column order or 0..N-1; "1" or
    // "0" per real column). StringToColumnStates checks the whole text first and changes
    // nothing unless it is complete and consistent.
    String ColumnStatesToString();
    void StringToColumnStates(const String& Value);
    // ==== end of files ====
    // ==== binary cell stream (src/grid/io/GridBinStream.cpp) ====
    // Records of the rectangle's cells with their properties and graphics; columns are real
    // columns. The loader checks every count against the bytes left before it allocates
    // ("Invalid stream format"), validates the header before a full-grid Clear, skips cells
    // that fall outside the grid and starts each record from empty texts, so a field left out
    // never keeps the target cell's old value. A record without "TPF0" raises
    // plat::EReadError "Invalid stream format"; a short record "Stream read error"; a field
    // its record does not have "Property <name> does not exist"; a value of the wrong kind
    // "Invalid property value".
    void SaveRectToBinStream(const plat::TRect& Rect, plat::TStream& Stream);
    void LoadAtPointFromBinStream(const plat::TPoint& Point, plat::TStream& Stream);
    void SaveToBinStream(plat::TStream& Stream);
    void LoadFromBinStream(plat::TStream& Stream);
    void SaveToBinFile(const String& FileName);
    void LoadFromBinFile(const String& FileName);
    // The 32-bit identity a stream carries as ID: the window handle's low bits, or, without
    // a window, bits of the grid's address.
    std::int32_t GridStreamID() const;
    // ==== end of binary cell stream ====
    // ==== XML (src/grid/io/GridXML.cpp) ====
    // Records of fields, one per saved row, in the encoding XMLEncoding names (UTF-8,
    // UTF-16, ISO-8859-1, Windows-1252 or US-ASCII; others get ASCII), with numeric references
    // for characters that encoding lacks, CR kept as "&#13;" and characters XML 1.0 forbids left
    // out. EExtGridError "Cannot Create file <name>" when the file cannot be written.
    void SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                   const plat::TStrings* FieldDescr, bool ExportEmptyCells = false);
    // Walks the document's elements into cells (texts as the document gives them, whitespace-
    // only text nodes not counted). plat::Exception "XML file not found" or "XMLDOM Parsing
    // error 1 on line <n>" (n counted from 1), with the grid unchanged.
    void LoadFromXML(const String& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    // ==== end of XML ====
    // ==== clipboard copy (src/grid/io/GridClipboard.cpp) ====
    // Text form: cells joined by tabs; rows end with CR LF when more than one row is copied.
    // A cell holding line breaks is quoted with one LF per break (CR LF, CR and LF alike), so
    // that pasting gives the text back. Columns of the selection are display columns; the
    // texts are the save hook's texts of their real columns. Copies raise
    // plat::EClipboardException "Cannot open clipboard" while another holder has it open.
    enum TClipOperation { coCut, coCopy };
    String GetSelectionAsText();
    void SetSelectionAsText(const String& Value);
    void CopySelectionToClipboard();
    void CopyToClipBoard();
    virtual bool AllowFmtClipboard() { return Navigation()->AllowFmtClipboard; }
    plat::TPoint ClipTopLeft;
    TClipOperation ClipLastOp = coCopy;
    // ==== end of clipboard copy ====
    // ==== clipboard cut and paste (src/grid/io/GridClipboard.cpp, GridPaste.cpp) ====
    // Cuts copy, then clear the editable cells (all with AllowClipboardAlways) in one undo
    // sequence. Pastes take the grid's own cell format (AllowFmtClipboard), else rich text into
    // one cell (AllowRTFClipboard), else tab-separated text; every value goes through
    // PasteCellText, never through an inplace editor. PasteSelectionFromClipboard then fills
    // the rest of a larger selection with AllowSmartClipboard. "Rich Text Format" carries
    // UTF-8 bytes ended by a zero byte.
    void CutToClipboard();
    void CutSelectionToClipboard();
    void PasteFromClipboard();
    void PasteSelectionFromClipboard();
    // Result: the number of pasted cells (fields); ARows and ACols as the paste reports them.
    int PasteClipboardAt(int ACol, int ARow, int& ARows, int& ACols);
    int PasteTextAt(int ACol, int ARow, const String& Text, int& ARows, int& ACols);
    // ACol a display column (src/grid/model/ExtGridPasteHooks.cpp).
    virtual void PasteCellText(int ACol, int ARow, const String& Value);
    // ClipSource is (-1, -1) when the own-format cells came from another grid.
    virtual void PasteDone(const plat::TPoint& ClipSource, const plat::TRect& Target, TClipOperation LastOp);
    virtual void BeginPaste() {}
    virtual void EndPaste() {}
    // Columns: the most tab-separated fields of a line; rows: the non-empty lines less one.
    void GetTextTableSize(const String& Text, int& ACols, int& ARows);
    std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value, bool& Allow)>
        OnClipboardBeforePasteCell, OnClipboardBeforePasteWideCell;
    std::function<void(plat::TObject* Sender, int ACol, int ARow, const String& Value)> OnClipboardAfterPasteCell,
        OnClipboardAfterPasteWideCell;

private:
    bool FPasteAll = false;               // PasteFromClipboard runs
    int FPastedRows = 0, FPastedCols = 0;  // extent of the values the last paste stored

public:
    // ==== end of clipboard cut and paste ====
    // ==== HTML (src/grid/io/GridHTML.cpp) ====
    // A table of the cells from (FixedCols, FixedRows) (0 where the fixed cells are saved)
    // with a CSS class per distinct look; cell bitmaps become Dir + "images/img<n>.jpg"
    // (EExtGridError "Cannot create <Dir>images" when that folder cannot be made). Widths of
    // HTMLSettings()->ColWidths count from the first exported column. Files: UTF-16LE with
    // byte-order mark when Unicode, else 7-bit ASCII with numeric references for the other
    // characters; Show or AutoPreview opens the file through the shell. With XHTML the text
    // is well-formed XML. The clipboard form writes no picture files.
    String SaveToHTMLString(const String& Dir);
    void SaveToHTML(const String& FileName, bool Show = false, bool Unicode = true);
    void AppendToHTML(const String& FileName, bool Show = false, bool Unicode = true);
    void CopyToClipBoardAsHTML();
    // ==== end of HTML ====

    // ---- sizing hooks ----
    // The new width of a column sized by the user; OnUpdateColumnSize may change it (as for
    // automatic sizing, UpdateAutoColumnSize). ACol display column.
    virtual void UpdateColumnSize(int ACol, int& AWidth);
    std::function<void(plat::TObject* Sender, int ACol, int& AWidth)> OnUpdateColumnSize;

    // ---- event hooks ----
    virtual String GetFloatFormat(int ACol);
    virtual void CanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void ButtonClick(int ACol, int ARow);
    virtual void ComboCloseUp(int ARow, int ACol);
    virtual void ComboDropDown(int ARow, int ACol);
    virtual void GetCellCursor(int ACol, int ARow, int X, int Y);
    virtual void GridHint(int ACol, int ARow, String& Hint, String& WideHint);
    virtual void GetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                              plat::TFont* AFont);
    virtual void GetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                                   plat::TFont* AFont);
    virtual void GetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders);
    virtual void GetCellAlignment(int ACol, int ARow, plat::TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetCellFormat(int ACol, TSortStyle& AStyle, String& Prefix, String& Suffix);
    virtual void GetEditorTypeEvent(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual bool HasNoEditor(int ACol, int ARow);
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void CheckCanEdit(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void GetCellWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual bool HasComboBox(int ACol, int ARow);
    virtual bool HasSpinEdit(int ACol, int ARow);
    virtual String GetCheckTrue(int ACol, int ARow);
    virtual String GetCheckFalse(int ACol, int ARow);
    // Fills FilterList with the values the column's filter drop-down offers; true when any.
    virtual bool GetColumnFilter(int ACol);
    virtual void ColumnHeadersChanged() {}
    virtual bool IsDesigning() const { return HasState(plat::csDesigning); }

    bool IsFixed(int ACol, int ARow) override;
    void GetCellBackground(int ACol, int ARow, TCellGradientDirection& GradientDirection, bool& WordWrap,
                           TVAlignment& VAlignment, plat::TAlignment& Alignment, TColor& MirrorColorTo,
                           TColor& MirrorColor, TColor& ColorTo, plat::TBrush* ABrush, plat::TFont* AFont) override;
    void GetVisualProperties(int ACol, int ARow, plat::TGridDrawState& AState, plat::TBrush* ABrush,
                             plat::TFont* AFont, TColor& ColorTo, TColor& MirrorColor, TColor& MirrorColorTo,
                             TCellGradientDirection& GradientDirection) override;

    void DrawGridCell(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect,
                      plat::TGridDrawState AState) override;

    // ==== view: painting and looks (src/grid/view) ====
    // The full form of the cell's visual properties: brush, font and the rest in Out; may
    // change AState. The base interface above (the cell-frame painting, display columns)
    // asks with Select and Remap and the grid's word wrap.
    virtual void GetVisualProperties(int ACol, int ARow, plat::TGridDrawState& AState, TVisualRequest Req,
                                     plat::TBrush* ABrush, plat::TFont* AFont, TCellVisual& Out);
    // The font alone: FixedFont or Font, the cell's own font settings, then the colour hook
    // with the real column RCol.
    void GetFontProperties(int ACol, int RCol, int ARow, plat::TGridDrawState& AState, plat::TFont* AFont,
                           plat::TBrush* ABrush, bool Remap);
    void GetCellHVAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA);
    void DrawCellBorders(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect R);
    // Dotted XOR lines while a column or row is dragged to a new size.
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    int ZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(int Value);
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value);
    plat::TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(plat::TAlignment Value);
    bool NoDefaultDraw() const { return FNoDefaultDraw; }
    void SetNoDefaultDraw(bool Value);
    THoverFixedCells HoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value);
    TShowModified* ShowModified() const { return FShowModified.get(); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(const TGridProgressAppearance* Value) { FProgressAppearance->Assign(Value); }
    void SetShowModified(const TShowModified* Value) { FShowModified->Assign(Value); }
    // Writing stores the colour's RGB value and repaints.
    void SetZODGradientFrom(TColor Value);
    void SetZODGradientTo(TColor Value);
    void SetZODGradientMirrorFrom(TColor Value);
    void SetZODGradientMirrorTo(TColor Value);
    // Hover and pressed sets of the fixed cells; TControlLook's setters copy into them.
    TColor ZODGradientHoverFrom = plat::clNone, ZODGradientHoverTo = plat::clNone;
    TColor ZODGradientHoverMirrorFrom = plat::clNone, ZODGradientHoverMirrorTo = plat::clNone;
    TColor ZODGradientHoverBorder = plat::clNone;
    TColor ZODGradientDownFrom = plat::clNone, ZODGradientDownTo = plat::clNone;
    TColor ZODGradientDownMirrorFrom = plat::clNone, ZODGradientDownMirrorTo = plat::clNone;
    TColor ZODGradientDownBorder = plat::clNone;
    // Mouse state the fixed cells paint from, kept by the mouse handling: the hovered fixed
    // cell (-1 when none; a change repaints both cells), a button held on a fixed cell, a
    // button held in the grid.
    int HoverFixedX() const { return FHoverFixedX; }
    int HoverFixedY() const { return FHoverFixedY; }
    void SetHoverFixedCell(int X, int Y);
    bool MouseDownMove() const { return FMouseDownMove; }
    void SetMouseDownMove(bool Value);
    bool MouseHeld() const { return FMouseDown; }
    void SetMouseHeld(bool Value) { FMouseDown = Value; }
    // Looks, colour styles, XP schemes and colour tones (GridLooks.cpp).
    TGridLook Look() const { return FLook; }
    void SetLook(TGridLook Value);
    virtual void SetStyle(TExtGridStyle AStyle);
    void SetComponentStyle(TExtStyle AStyle);
    TExtStyle Style() const { return FStyle; }
    void SetTheme(TXPColorScheme Scheme);
    void SetColorTones(const TColorTones& ATones);
    const TColorTones& Tones() const { return FTones; }
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    // The colours of highlighted markup text: one setting shared by every grid.
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    TColor HighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor Value);
    // Layout (GridLayout.cpp). StretchColumn: ACol -1 is the last column; an index outside
    // -1 .. ColCount - 1 raises "Stretch column index out of range".
    void StretchColumn(int ACol);
    void StretchRightColumn() { StretchColumn(-1); }
    bool IsOnSizingEdge(int X, int Y);
    void ScreenToCell(TPoint pt, int& ACol, int& ARow);
    // "Col : n" or "Row : n" for a thumb position (0 .. 127), through OnScrollHint.
    String ScrollHintText(bool Horizontal, int ThumbPos);
    // The text of the scroll hint shown last.
    const String& ScrollHint() const { return FScrollHint; }
    TScrollHintType ScrollHints = shNone;
    TScrollBarAlways ScrollBarAlways = saNone;
    std::function<void(plat::TObject* Sender, int ARow, String& HintStr)> OnScrollHint;
    // The markup hint window as the application's hint window class (a process-wide switch).
    bool UseHTMLHints() const;
    void SetUseHTMLHints(bool Value);
    std::function<void(plat::TObject* Sender, int ACol, bool& Allow)> OnColumnSize;
    std::function<void(plat::TObject* Sender, int ARow, bool& Allow)> OnRowSize;
    // Floating footer (GridFooter.cpp). CalcFooter: one column or, with -1, all.
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    plat::TCustomPanel* FooterPanel() const { return FFooterPanel; }
    virtual void CalcFooter(int ACol);
    void UpdateFooter();
    TCalcFooterEvent OnFooterCalc;
    std::function<void(plat::TObject* Sender, int AColumn, plat::TCanvas* Canvas, plat::TRect ARect)> OnFooterPaint;
    plat::TNotifyEvent OnCreatedFloatingFooter;
    // Cell text (GridText.cpp): the sort indicator of header cells, the content size of a
    // cell for automatic sizing (ACol a real column; VS: height of the text wrapped in the
    // cell's width; SB: 17 pixels kept for a scroll bar).
    bool ShowsSortIndicator(int ACol, int ARow);
    void DrawSortIndicator(plat::TCanvas* Canvas, int ACol, int Y, int X);
    TPoint GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    bool EnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool Value);
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLShowInText = false;  // links inside longer texts are shown as links too
    // With URLShow: a right press on a link cell makes it current and opens its editor (a left
    // press follows the link).
    bool URLEdit = false;
    bool URLFull() const { return FURLFull; }
    void SetURLFull(bool Value);
    bool URLUnderlineOnHover = false;
    // Rich-text cells (GridRichText.cpp). CellToRich loads the cell (ACol a real column) into
    // a rich edit, an empty cell clears it; PaintRTFCell renders the cell into ARect inset by
    // XYOffset. The hidden rich edit is the grid's own, created on first use.
    void CellToRich(int ACol, int ARow, plat::TCustomRichEdit* RichEdit);
    void PaintRTFCell(int ACol, int ARow, plat::TRect ARect, plat::TCanvas* Canvas);
    plat::TCustomRichEdit* HiddenRichEdit();
    bool SelectionRTFKeep = false;
    bool WordWrapEx = true;
    // Selection rectangle and its resizer grip (GridCellPieces.cpp); the setters repaint only
    // on a change.
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    TColor SelectionRectangleColor() const { return FSelectionRectangleColor; }
    void SetSelectionRectangleColor(TColor Value);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value);
    // Cell graphics (GridGraphics.cpp). ACol a real column; TextToo: the text is drawn too.
    TCellGraphic* GetCellGraphicPlacement(int ACol, int ARow, TCellVAlign& VA, TCellHAlign& HA, bool& TextToo,
                                          int& H, int& W);
    void DrawCheckGlyph(plat::TCanvas* Canvas, plat::TRect R, bool Checked, plat::TCheckBoxState State, bool UseState,
                        TControlStyle Style, bool Grayed, bool Enabled);
    // Count radio items; item i is on when Index is i, or with Index -1 when its text is CellText.
    void DrawRadioGlyph(plat::TCanvas* Canvas, plat::TRect R, bool Upwards, double Scale, TControlStyle Style,
                        bool Selected, const plat::TStrings* Items, bool Disabled, bool Horizontal, int Index,
                        int Count, const String& CellText);
    // The grid has rows switched off by SetRowEnabled.
    bool UseEnabledRows() const { return FEnabledRowsUsed; }
    bool IsWinXP() const { return true; }
    TGridGradientEvent OnGetCellGradient;
    TGridBorderPropEvent OnGetCellBorderProp;
    TCustomCellDrawEvent OnCustomCellBkgDraw, OnCustomCellDraw;
    plat::TNotifyEvent OnPainted;

protected:
    void Paint() override;
    void WndProc(plat::TMessage& Message) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void CalcSizingState(int X, int Y, plat::TGridState& State, int& Index, int& SizingPos,
                         int& SizingOfs) override;

public:
    // Frames the window in BorderColor after the non-client paint (Canvas over the whole
    // window); without a canvas the frame is marked for repainting.
    void PaintBorderColor(plat::TCanvas* Canvas = nullptr);

    // ---- scroll bars and size (GridScroll.cpp) ----
    // ScrollColor, ScrollWidth and ScrollBarAlways apply when written through their setters.
    void SetScrollColor(TColor Value);
    void SetScrollWidth(int Value);
    void SetScrollBarAlways(TScrollBarAlways Value);
    // Stores the bars the grid may show and passes them on to the framework grid.
    void SetScrollBars(plat::TScrollStyle Value);
    // Shows or hides the bars of the always-visible rule; Force hides bars that are not needed.
    void ApplyScrollBarAlways(bool Force);
    // Flat bars are active from ssFlat or ssEncarta until the type leaves them.
    bool FlatScrollBarsActive() const { return FFlatScrollInit; }
    // Style, colour and width of the flat bars, each shown when lines are hidden.
    void UpdateFlatScrollBars();
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // Thumbs sized by the share of the scrollable width (height) that shows, over 0 .. 127.
    void UpdateHScrollProportional();
    void UpdateVScrollProportional();
    // Scroll while the thumb is dragged.
    bool ScrollSynch = false;
    // The height is kept to whole rows.
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The slim indicators of ssMetro (null otherwise).
    TScrollControl* VScrollControl() const { return FVScrollControl; }
    TScrollControl* HScrollControl() const { return FHScrollControl; }
    // ---- end of scroll bars and size ----

    // ---- focus frame (GridFocus.cpp) ----
    // A translucent light-blue frame in a top-level layered window round the client
    // rectangle R: 4 pixels wide left and above, 5 right and below, shown without taking the
    // activation. One grid at a time shows it; it follows window moves.
    void ShowFocusHelper(plat::TRect R);
    void HideFocusHelper();
    // Places the frame round the current cell.
    void MoveFocusHelper();
    // The grid showing the frame (null when none).
    static TExtStringGrid* FocusHelperGrid();
    TGridFocusWindow* FocusWindow() const { return FFocusWindow; }
    // ---- end of focus frame ----

protected:
    void TopLeftChanged() override;

public:
    // ==== end of view ====

    // ==== mouse: clicks, wheel, zoom and panning (GridMouse.cpp) ====
public:
    // Every column width and row height above 0 that stays above 0 grows by x pixels, when
    // ZoomFactor + x stays within -10 .. 10; otherwise nothing changes.
    void Zoom(int x);
    // Called after each wheel step; Continue false stops the wheel events.
    virtual void AfterMouseWheel(int Delta, bool& Continue);
    bool Panning() const { return FWheelPan; }
    TIntelliPan IntelliPan = ipVertical;
    int SortTime = 0;  // milliseconds of the last click sort
    TCanClickCellEvent OnCanClickCell;
    TClickCellEvent OnRightClickCell;
    TCanSortEvent OnCanSort;
    TAnchorClickEvent OnAnchorClick;
    TCheckBoxClickEvent OnCheckBoxMouseUp;
    std::function<void(plat::TObject* Sender, int ACol)> OnEndColumnSize;

protected:
    bool DoMouseWheelDown(plat::TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(plat::TShiftState Shift, TPoint MousePos) override;
    // The grid's own handling of button, wheel and panning messages before the framework's;
    // true when the message needs nothing more.
    bool MouseMessage(plat::TMessage& Message);

private:
    bool LeftPress(plat::TMessage& Message);
    bool LeftRelease(plat::TMessage& Message);
    bool LeftDoubleClick(plat::TMessage& Message);
    bool RightPress(plat::TMessage& Message);
    bool WheelMessage(plat::TMessage& Message);
    void StartPanning(TPoint At);
    void EndPanning();
    void PanStep();
    void InvalidatePanAnchor();
    // The panning anchor picture at the press position, its top-left colour transparent.
    void PaintPanAnchor();
    void ClickSortAt(int ACol, int ARow, int X, plat::TShiftState Shift);
    bool AnchorPress(int ACol, int ARow, int X, int Y);
    void FollowAnchor(int ACol, int ARow, const String& Anchor);
    void InheritedWndProc(plat::TMessage& Message);
    bool FDoOnClick = false, FMouseKeepDown = false, FDblClk = false;
    int FPressRow = -1, FPressCol = -1;
    int Colclicked = -1, Rowclicked = -1, Clickposx = 0, Clickposy = 0;
    bool FWheelPan = false;
    TPoint FWheelPanPos;
    plat::TCursor FPrevCursor = plat::crDefault;

public:
    // ==== end of mouse ====

    // ==== mouse: cell controls, disjunct selection and markup controls (GridMouse2.cpp) ====
public:
    using TNodeChangingEvent = std::function<void(plat::TObject* Sender, int ARow, int ARowReal, bool& Allow)>;
    using TNodeChangedEvent = std::function<void(plat::TObject* Sender, int ARow, int ARowReal)>;
    using TRatingChangeEvent =
        std::function<void(plat::TObject* Sender, int ACol, int ARow, double& NewRate, bool& Allow)>;
    using TRadioClickEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, int AIdx)>;
    using TControlClickEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& CtrlID,
                                                  const String& CtrlType, const String& CtrlVal)>;
    // Chooses the item of the radio group in cell (ACol real, ARow) under (X, Y), relative to
    // the cell's top-left corner: side by side each item is its text plus the glyph spacing
    // wide, stacked each is max(spacing, text height) high.
    void ClickRadio(int ACol, int ARow, int X, int Y);
    // The cell whose button is held down, (-1, -1) when none.
    TPoint PushedCellButton() const { return FPushedCellButton; }
    bool ControlDown() const { return FCtrlDown; }
    TNodeChangingEvent OnBeforeExpandNode, OnBeforeContractNode;
    TNodeChangedEvent OnExpandNode, OnContractNode;
    TRatingChangeEvent OnRatingChange;
    TRadioClickEvent OnRadioClick, OnRadioMouseUp;
    TButtonClickEvent OnRadioButtonClick;
    TControlClickEvent OnControlClick;

private:
    // The press steps on node glyphs, radio groups, ratings and cell buttons; true when the
    // press needs nothing more.
    bool PressOnCellControls(int ACol, int ARow, TPoint P, plat::TShiftState Shift);
    bool PressOnCellButton(int ACol, int ARow, TPoint P);
    // Ends a held cell button; true when the release was on it (the button clicked).
    bool ReleaseCellButton(TPoint P);
    // Ctrl, Shift and plain presses of disjunct row and column selection; true when the
    // press was handed to the framework as a Shift range.
    bool DisjunctPress(int ACol, int ARow, plat::TShiftState Shift, plat::TMessage& Message);
    void DisjunctRelease(int ACol, int ARow);
    // A press on markup control ID of Type; false when the cell may not be edited.
    bool MarkupControlPress(int ACol, int ARow, const String& ID, const String& Type);
    void ReleaseMarkupButton();
    TPoint FPushedCellButton{-1, -1};
    TPoint FCtrlXY{-1, -1};
    bool FCtrlDown = false, FDeselectState = false;

public:
    // ==== end of mouse cell controls ====

    // ==== mouse movement: hover, selection modes, sizing and moving (GridMouseMove.cpp) ====
public:
    enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
    using TMoveEvent = std::function<void(plat::TObject* Sender, int Index, bool& Allow)>;
    using TSizingEvent = std::function<void(plat::TObject* Sender, int Index, int Size)>;
    using TAnchorEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& Anchor)>;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    // hfAll: any cell of the fixed rows or columns; hfFixedRows / hfFixedColumns only those.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    void ResetFixedCellHighlight();
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // The cell whose button is under the pointer, (-1, -1) when none.
    TPoint HoverButton() const { return FHoverButton; }
    // The target of a move drag, -1 when none.
    int MoveColInd() const { return FMoveColInd; }
    int MoveRowInd() const { return FMoveRowInd; }
    bool SizingHintShowing() const { return FScrollHintShow; }
    // A press prepared a drag that has not started yet.
    bool SelectionClick() const { return FSelectionClick; }
    bool HintShowSizing = false;
    bool CellSelectorMode() const { return FCellSelectorMode; }
    void SetCellSelectorMode(bool Value) { FCellSelectorMode = Value; }
    TMoveEvent OnColumnMove, OnRowMove, OnColumnMoving, OnRowMoving;
    TSizingEvent OnColumnSizing, OnRowSizing;
    TAnchorEvent OnAnchorEnter, OnAnchorExit;

private:
    void HoverLinks(int ACol, int ARow, int X, int Y);
    void ShowSizingHint(bool Columns, int Index, int Size);
    void HideSizingHint();
    plat::TCursor SelectModeCursor() const;
    // WM_SETCURSOR: the header-selection, cell-selector and move cursors; false leaves the
    // message to the framework.
    bool SetCursorMessage(plat::TMessage& Message);
    void MouseLeft();
    // Press bookkeeping for sizing and moving, and the header selection of the prepared mode.
    void PressHeaderSelect(int ACol, int ARow, plat::TShiftState Shift);
    void ReleaseMoveAndSize(int X, int Y);
    // After a column move: the sort column, sort indexes and current column follow.
    void ColumnMovedFollow(int FromReal, int ToReal, int FromIndex, int ToIndex);
    // A press inside the selection of a drag source prepares a drag instead of selecting;
    // the first move of more than 3 pixels starts it (OleDragFromCell).
    bool DragStartPress(int ACol, int ARow, TPoint P, plat::TShiftState Shift);
    bool FSelectionClick = false;
    TPoint FDragFrom{-1, -1};
    TMouseSelectMode FMouseSelectMode = msNormal;
    int FMouseSelectStart = -1, Movecell = -1, FMoveColInd = -1, FMoveRowInd = -1;
    int FClickposdx = 0, FClickposdy = 0, FOldKeepLeftCol = 0;
    TPoint FHoverButton{-1, -1};
    String FAnchor;
    bool FMoveAsked = false, FMoveRefused = false, FNoMouseLeave = false, FCellSelectorMode = false;
    bool FScrollHintShow = false, ColMoveFlg = false;

    // ---- fixed-line sizing, move feedback, selection resizer, hover balloon (GridMouseFeedback.cpp) ----
public:
    using TSelectionResizeEvent =
        std::function<void(plat::TObject* Sender, plat::TGridRect OrigSelection, plat::TGridRect NewSelection)>;
    // The pointer is on a fixed column's right border (a fixed row's bottom border) that
    // MouseActions.SizeFixedCol (SizeFixedRow) lets the user drag; SizingFixed* while a press
    // drags it, the line at SizingFixedPos (client X or Y).
    bool SizeFixedCol() const { return FSizeFixed; }
    bool SizeFixedRow() const { return FSizeFixedR; }
    bool SizingFixedCol() const { return FSizingFixed; }
    bool SizingFixedRow() const { return FSizingFixedR; }
    int SizingFixedPos() const { return FSizingFixed ? FSizeFixedX : FSizeFixedY; }
    // The 6 x 6 grip of the selection resizer at the bottom-right corner of the selection's
    // bottom-right cell; empty without SelectionResizer and SelectionRectangle.
    plat::TRect SelectionResizerGrip();
    // A drag of the grip is in progress: the release pastes the dragged-from selection,
    // copied at the press, into the selection it ends on.
    bool MouseResize() const { return FMouseResize; }
    TSelectionResizeEvent OnSelectionResize, OnSelectionResized;
    // The move feedback while EnhRowColMove moves a column or row: the arrows at the target
    // (null until first shown), the floating header caption and the picture of the moved
    // cells (DragDropSettings.ShowCells); both null when no move runs.
    TArrowWindow* MoveArrow(TArrowDirection Dir) const;
    THeaderDragButton* MoveButton() const { return FMoveButton; }

    // The face of fixed cell (ACol display column, ARow) without its text, on another canvas
    // at R: its colour with the look's fixed-cell gradient where the look has one. The floating
    // caption of a column or row move is painted with it.
    void PaintFixedFace(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect R);

    TNoActiveForm* MoveForm() const { return FMoveForm; }
    // A borderless picture of the cells of ARect (display indexes) as they are shown, one
    // pixel wider and higher than their rectangle, owned by the grid, not yet shown.
    TNoActiveForm* SelectionToForm(plat::TGridRect ARect);
    // The cell whose balloon shows after the pointer rested on it (Balloon.Enable), (-1, -1)
    // when none.
    TPoint HoverBalloonCell() const { return FLastBalloonPos; }
    plat::TBalloonWindow* BalloonWindow() const { return FBalloonWindow; }

    // Set by a left press on a cell with MouseActions.CaretPositioning: the editor that takes
    // the focus with the pointer over it puts the caret at the character under the pointer
    // and clears it.
    bool LButFlg = false;

    // A drag of cells or a row or column move with its floating window is bracketed by one
    // start and one end: a form holding the grid can keep its own focus handling out of it.
    virtual void StartBlockFocus();
    virtual void EndBlockFocus();
    plat::TNotifyEvent OnStartBlockFocus, OnEndBlockFocus;

private:
    // Press, move and release steps; true from a press step when the press needs nothing more.
    bool PressFixedSizing(TPoint P);
    void MoveFixedSizing(int ACol, int ARow, int X, int Y);
    void ReleaseFixedSizing(int X, int Y);
    bool PressSelectionResizer(TPoint P, bool OnGrip, plat::TMessage& Message);
    void ReleaseSelectionResizer();
    // A left or right press that opens the fixed-cell editor (MouseActions.FixedRowsEdit and
    // FixedColsEdit); true when it opened.
    bool FixedEditPress(int ACol, int ARow, TPoint P, plat::TMouseButton Button, bool Double);
    void ShowMoveFeedback(bool Columns, int X, int Y);
    void PlaceMoveArrows(bool Columns);
    void AutoScrollWhileMoving(bool Columns, int X, int Y);
    // Hides the arrows, button and picture of a move; Cancel also leaves the target where the
    // press was, so that the framework moves nothing.
    void EndMoveFeedback(bool Cancel);
    void HoverBalloon(int ACol, int ARow);
    void HideHoverBalloon();
    // The hover balloon's show and hide timers; false for another timer.
    bool BalloonTimer(std::uintptr_t Id);
    // The framework's column (row) sizing that a press started: its line and starting size.
    int FUserSizing = -1, FUserSizingStart = 0;
    bool FSizeFixed = false, FSizeFixedR = false, FSizingFixed = false, FSizingFixedR = false;
    int FSizeFixedX = 0, FSizeFixedY = 0, FSizingFixedCol = -1, FSizingFixedRow = -1;
    bool FMouseResize = false;
    int MoveOfsX = 0, MoveOfsY = 0, FPressTopRow = 0;
    TArrowWindow* ArwR = nullptr;
    THeaderDragButton* FMoveButton = nullptr;
    TNoActiveForm* FMoveForm = nullptr;
    bool FMoveShown = false;
    TPoint FLastBalloonPos{-1, -1}, FBalloonHover{-1, -1};

public:
    // ==== end of mouse movement ====

    // ==== search panel and filter drop-down lists (GridSearchPanel.cpp, GridFilterList.cpp) ====
public:
    enum { saFindFirst, saFindNext, saFindPrevious };
    // The docked search footer panel, created on first use.
    TSearchPanel* SearchPanel();
    TFilterDropDown* FilterDropDown();
    bool FilterListOpen() const;
    // The filter list on screen, null when none is open.
    plat::TCustomListBox* OpenFilterList() const;
    // Shows the filter list of the column's filter button in cell (ACol shown, ARow).
    void ShowFilterList(int ACol, int ARow);
    // Hides an open filter list; no column stays marked as open.
    void CloseFilterList();
    std::function<void(plat::TObject* Sender, const String& Value, bool& DefaultSearch)> OnSearchEditChange;
    plat::TNotifyEvent OnSearchFooterClose, OnCreatedSearchFooter;

private:
    // A release on a filter button opens its list, or closes it when it was open at the
    // press; any release closes an open list. True when the release was on a filter button.
    bool FilterButtonRelease(int ACol, int ARow, int X, int Y);
    void SearchFooterEditChange();
    void SearchFooterFind(bool Backward);
    void SearchFooterHighlight();
    void SearchFooterClose();
    bool SearchHighlighting();
    void HighlightSearchText(const String& Text);
    TSearchPanel* FSearchPanel = nullptr;         // owned as a component
    TDropList* FDropList = nullptr;               // owned as a component
    TDropCheckList* FDropCheckList = nullptr;     // owned as a component
    std::shared_ptr<TFilterDropDown> FFilterDropDown;
    int FFilterOpenAtPress = -1;

public:
    // ==== end of search panel and filter lists ====


    // ==== cell access ====
    // Columns are real columns, rows display rows; the "All" forms take real rows. Typed
    // reads raise EExtGridError with the text the user sees; a failed access changes nothing.
    String GetCellsEx(int ACol, int ARow);
    void SetCellsEx(int ACol, int ARow, const String& Value);
    String GetGridCellsEx(int ACol, int ARow);
    void SetGridCellsEx(int ACol, int ARow, const String& Value);
    plat::TObject* GetAllGridObject(int ACol, int ARow);
    plat::TObject* GetObjectsEx(int ACol, int ARow);
    void SetObjectsEx(int ACol, int ARow, plat::TObject* Value);
    String AllCells(int ACol, int ARow) { return GetCellsEx(ACol, ARow); }
    void SetAllCells(int ACol, int ARow, const String& Value) { SetCellsEx(ACol, ARow, Value); }
    String GetOriginalCells(int ACol, int ARow);
    void SetOriginalCells(int ACol, int ARow, const String& Value);
    int SortedRowIndex(int ARow);
    int UnSortedRowIndex(int ARow);
    String GetUnSortedCell(int ACol, int ARow);
    void SetUnSortedCell(int ACol, int ARow, const String& Value);
    // Display text without markup.
    String GetStrippedCell(int ACol, int ARow);
    String GetCtrlVal(int ACol, int ARow, const String& ID);
    void SetCtrlVal(int ACol, int ARow, const String& ID, const String& Value);
    int LinesInCell(int ACol, int ARow);

    // An empty text and "-" read as 0.
    int Ints(int ACol, int ARow);
    void SetInts(int ACol, int ARow, int Value);
    int AllInts(int ACol, int ARow);
    void SetAllInts(int ACol, int ARow, int Value);
    double Floats(int ACol, int ARow);
    void SetFloats(int ACol, int ARow, double Value);
    double AllFloats(int ACol, int ARow);
    void SetAllFloats(int ACol, int ARow, double Value);
    // Locale short date and long time texts; reads raise EConvertError for other texts.
    plat::TDateTime Dates(int ACol, int ARow);
    void SetDates(int ACol, int ARow, plat::TDateTime Value);
    plat::TDateTime Times(int ACol, int ARow);
    void SetTimes(int ACol, int ARow, plat::TDateTime Value);
    // Filled by printing; real columns 0 .. 511.
    int PrintColWidth(int ACol) const;
    int PrintColOffset(int ACol) const;
    int MaxWidths[512] = {};
    int Indents[512] = {};

    // Per-cell properties: reads never create properties (WordWraps excepted).
    TColor Colors(int ACol, int ARow);
    void SetColors(int ACol, int ARow, TColor Value);
    TColor ColorsTo(int ACol, int ARow);
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection Gradients(int ACol, int ARow);
    void SetGradients(int ACol, int ARow, TCellGradientDirection Value);
    bool ReadOnly(int ACol, int ARow);
    void SetReadOnly(int ACol, int ARow, bool Value);
    bool WordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    TColor FontColors(int ACol, int ARow);
    void SetFontColors(int ACol, int ARow, TColor Value);
    plat::TFontStyles FontStyles(int ACol, int ARow);
    void SetFontStyles(int ACol, int ARow, plat::TFontStyles Value);
    String FontNames(int ACol, int ARow);
    void SetFontNames(int ACol, int ARow, const String& Value);
    int FontSizes(int ACol, int ARow);
    void SetFontSizes(int ACol, int ARow, int Value);
    plat::TAlignment Alignments(int ACol, int ARow);
    void SetAlignments(int ACol, int ARow, plat::TAlignment Value);
    void SetFonts(int ACol, int ARow, const plat::TFont& Value);
    // clNone resets only that colour; the cells keep every other property.
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);
    plat::TControl* GetCellControls(int ACol, int ARow);
    void SetCellControls(int ACol, int ARow, plat::TControl* AControl);
    int NumCellControls() const { return FNumCellControls; }
    // Cell controls follow their cells (GridLayout.cpp); nothing without a window. With
    // RebuildList the list is made anew from the controls the cells hold. A control whose
    // row or column is hidden, or whose normal cell is scrolled out of view, is hidden; any
    // other is placed over its cell grown by one pixel to the left and top, and shown.
    void CellControlsUpdate(bool RebuildList);

    // Header lists.
    void SetColumnHeaders(const plat::TStrings& Value);
    void ClearColumnHeaders();
    void ShowColumnHeaders();
    void SetRowHeaders(const plat::TStrings& Value);
    void ClearRowHeaders();
    void ShowRowHeaders();

    // Highlight ("hi") and mark ("e") tags over the visible text of cells.
    String HilightText(bool DoCase, const String& S, const String& Text);
    String MarkText(bool DoCase, const String& S, const String& Text);
    String UnHilightText(const String& S);
    String UnMarkText(const String& S);
    void HilightInCell(int ACol, int ARow, const String& Text, bool DoCase);
    void HilightInCol(bool DoFixed, bool DoCase, int ACol, const String& Text);
    void HilightInRow(bool DoFixed, bool DoCase, int ARow, const String& Text);
    void HilightInGrid(bool DoFixed, bool DoCase, const String& Text);
    void UnHilightInCell(int ACol, int ARow);
    void UnHilightInCol(bool DoFixed, int ACol);
    void UnHilightInRow(bool DoFixed, int ARow);
    void UnHilightInGrid(bool DoFixed);
    void MarkInCell(int ACol, int ARow, const String& Text, bool DoCase);
    void MarkInCol(bool DoFixed, bool DoCase, int ACol, const String& Text);
    void MarkInRow(bool DoFixed, bool DoCase, int ARow, const String& Text);
    void MarkInGrid(bool DoFixed, bool DoCase, const String& Text);
    void UnMarkInCell(int ACol, int ARow);
    void UnMarkInCol(bool DoFixed, int ACol);
    void UnMarkInRow(bool DoFixed, int ARow);
    void UnMarkInGrid(bool DoFixed);

    // ---- cell checking (ExtGridCheck.cpp) ----
    // The checker is not owned; the grid forgets it (and its undo store) when either is freed.
    TExtStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TExtStringGridCheck* Value);
    // A real column and a display row. The cell's text without mark tags goes through the
    // checker's Correct (UseCorrect) and MarkError (UseMarkError) and is written back; true
    // when neither changed it, and always true without a checker.
    bool CheckCell(int ACol, int ARow);
    // Real columns FromCol .. ToCol of display rows FromRow .. ToRow, row by row, inside one
    // StartCheck/StopCheck bracket; every cell is checked; true when all pass. With GotoCell
    // the current cell comes back to where it was.
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The normal rows (all rows with DoFixed) of a real column; the shown normal columns (all
    // shown columns with DoFixed) of a display row; both ranges for the grid.
    bool CheckCol(bool DoFixed, int ACol);
    bool CheckRow(bool DoFixed, int ARow);
    bool CheckGrid(bool DoFixed);

    // Fills of the normal cells (all cells with DoFixed).
    void TextFill(bool DoFixed, const String& Text);
    void FormatFill(bool DoFixed, const String& Fmt);
    void RandomFill(bool DoFixed, int Max);
    void LinearFill(bool DoFixed);

    // Cell coordinates; nothing for a negative one.
    void RepaintRect(const plat::TRect& R);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    // Exchanges texts and object references; no repaint, no events.
    void SwapCells(TPoint FromCell, TPoint ToCell);
    void MoveToCell(int ACol, int ARow);
    void GotoCell(int ACol, int ARow);
    void FocusCell(int ACol, int ARow);
    String GetCurrentCell();
    void SetCurrentCell(const String& Value);
    String GetCurrentCellText();
    void SetCurrentEditText(const String& Value);

    // Row and column selection. ARow of GetRowSelect/SetRowSelect counts hidden rows.
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    int RowSelectCount();
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void ClearRowSelect();
    void SelectionToRowSelect(bool All);
    bool GetColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    int ColSelectCount();
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void ClearColSelect();
    void SelectionToColSelect(bool All);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    bool RowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    bool RowEnabled(int ARow) const;
    // Disabling the current row moves the current row to the next enabled one.
    void SetRowEnabled(int ARow, bool Value);

    // Column order: entry p is the original column now at position p.
    void SetColumnOrder();
    // Shows every hidden column and moves the columns back into their original order.
    void ResetColumnOrder();

    int ColumnPosition(int ACol);
    int ColumnAtPosition(int P);
    int ColumnByHeader(const String& Value);

    bool IsLastRowAboveSearchFooter();
    void ScrollForSearchFooter();

    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;

    // ==== cell graphics: check boxes, radio buttons and the other decorations ====
    // Columns are real columns; rows display rows unless a name says "All" or "real".
    // The record of a cell, or the shared row check box of column 0 with HotmailRowSelect.
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    // ctEmpty for a negative index or a cell without a record.
    virtual TCellType GetCellType(int ACol, int ARow);
    TPoint GetCellGraphicSize(int ACol, int ARow);
    // Pixels the graphic takes on screen; Reserve is taken off the height a picture may use.
    virtual void CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int Reserve);
    virtual void CalcCellGraphicPrintSize(int ACol, int ARow, TPoint& Size, double ScaleFactor, int ColWidth,
                                          int RowHeight);
    TIntList* GetCellImages(int ACol, int ARow);
    plat::TCustomImageList* GetGridImageList() const { return GridImages; }
    // Frees any record of the cell and stores a fresh ctNone one.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    // False when the cell had no record; shared records are never freed.
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind);
    // Kind tests on the base cell of a merged area.
    bool HasCellType(int ACol, int ARow, TCellTypes Kinds);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool IsControlCell(int ACol, int ARow);
    bool IsDataControlCell(int ACol, int ARow);
    bool HasRadioButton(int ACol, int ARow);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    plat::TStrings* GetRadioStrings(int ACol, int ARow);

    // Check boxes. AddCheckBox raises Exception "Invalid cell" outside the grid (hidden
    // columns and rows count as inside). A data check box's state is its text: checked when
    // it equals GetCheckTrue exactly.
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, plat::TCheckBoxState State);
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, plat::TCheckBoxState State);
    void RemoveCheckBoxColumn(int ACol);
    void RemoveCheckBox(int ACol, int ARow);
    static plat::TCheckBoxState BoolToCheckBoxState(bool B) { return B ? plat::cbChecked : plat::cbUnchecked; }
    // False (State untouched) when the cell holds no check box. With hidden rows ARow is a
    // real row.
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool GetCheckBoxState(int ACol, int ARow, plat::TCheckBoxState& State);
    // No event; with hidden rows ARow is a real row.
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool SetCheckBoxState(int ACol, int ARow, plat::TCheckBoxState State);
    bool IsChecked(int ACol, int ARow);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckBoxCell(ACol, ARow, false); }
    // Sets a check box of a display row and calls CheckBoxChange when its state changed.
    bool ChangeCheckBoxState(int ACol, int ARow, bool State);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    // ByUser: a mouse or key action, which the cell's editability may refuse.
    virtual bool ToggleCheckBoxCell(int ACol, int ARow, bool ByUser);
    virtual bool SelectRadioButtonCell(int ACol, int ARow, bool ByUser);
    virtual void CheckBoxChange(int ACol, int ARow, bool State);
    virtual void CheckBoxClick(int ACol, int ARow, bool State);

    // Radio buttons (one per cell, exclusive in a column) and radio groups (items in a cell,
    // the cell text is the chosen item).
    void AddRadioButton(int ACol, int ARow, bool State);
    void RemoveRadioButton(int ACol, int ARow);
    void AddRadioButtonColumn(int ACol);
    void RemoveRadioButtonColumn(int ACol);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    int GetRadioButtonColumnIndex(int ACol);
    // The list stays the caller's.
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, plat::TStrings* sl);
    // The list is the record's; the caller fills it.
    plat::TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    void RemoveRadio(int ACol, int ARow);
    bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    void SelectNextRadioItem(int ACol, int ARow, bool ByKey);

    plat::TCustomImageList* GridImages = nullptr;  // not owned
    TCheckBoxClickEvent OnCheckBoxChange, OnCheckBoxClick;

    // ==== cell decorations ====
    // Each Add gives the cell a fresh record (freeing a previous one); each Remove removes the
    // record only when it is of its kind. Objects handed in stay the caller's; Create… makes
    // one the record owns.
    void AddBitmap(int ACol, int ARow, plat::TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    plat::TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    plat::TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }
    void AddPicture(int ACol, int ARow, plat::TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                    int Padding, TCellHAlign hal, TCellVAlign val);
    plat::TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                  TCellHAlign hal, TCellVAlign val);
    plat::TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }
    void AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode,
                        int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                    TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(int ACol, int ARow);
    void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }
    void AddIcon(int ACol, int ARow, plat::TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    plat::TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }
    // Only with GridImages set.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int& idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }
    // Shows the image whose index is the cell's number; an empty cell gets Aidx as its text.
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool HasDataImage(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctDataImage}); }
    void RemoveDataImage(int ACol, int ARow);
    // Dir 0 lays the images side by side, any other value stacks them.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }
    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const String& Fmt, int Min, int Max);
    bool HasProgress(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctProgress}); }
    void RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }
    void AddExtProgress(int ACol, int ARow, int Min, int Max);
    void RemoveExtProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }
    void AddComment(int ACol, int ARow, const String& Comment);
    void AddColorComment(int ACol, int ARow, const String& Comment, TColor Color);
    bool IsComment(int ACol, int ARow, String& Comment);
    String GetComment(int ACol, int ARow);
    // Adds a comment to a cell without a record or changes a comment; other kinds stay.
    void SetComment(int ACol, int ARow, const String& Comment);
    void RemoveComment(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctComment); }
    void RemoveAllComments();
    void AddShape(int ACol, int ARow, TCellShape Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    // 0x1FFFFFFF for a cell without a shape.
    TColor GetShapeColor(int ACol, int ARow);
    void RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRating}); }
    void RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    bool HasScrollBar(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctScrollbar}); }
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
    TScrollProp GetScrollProp(int ACol, int ARow);
    void RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }
    // Marks ErrLen characters from ErrPos (1-based) with an error underline.
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();
    void AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, plat::TBitmap* Glyph,
                      TCellHAlign hal, TCellVAlign val);
    plat::TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                                   TCellVAlign val);
    // ACol of the three is a display column.
    void SetButtonText(int ACol, int ARow, const String& Caption);
    String GetButtonText(int ACol, int ARow);
    void PushButton(int ACol, int ARow, bool Push);
    bool HasButton(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctButton, ctBitButton}); }
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }
    void RemoveAllButtons();
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    bool HasExpand(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctExpand}); }
    bool GetExpandState(int ACol, int ARow);
    bool ToggleExpand(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    void RemoveExpand(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctExpand); }
    void AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon);
    bool IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon);
    bool HasBalloon(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctBalloon}); }
    void RemoveBalloon(int ACol, int ARow);
    void AddInterfacedCell(int ACol, int ARow, plat::TObject* AObject);
    plat::TObject* GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }
    // Hit rectangles for mouse handling (window coordinates; empty when none). ACol is a
    // display column.
    plat::TRect GetExpandRect(int ACol, int ARow);
    plat::TRect GetGraphicRect(int ACol, int ARow);
    // Button, expand and check box presses, expand clicks and search footer actions.
    virtual void ExpandClick(int ACol, int ARow, bool Expanded);
    virtual void SearchFooterAction(const String& Value, int ACol, int ARow, int Action);
    void UpdateCellScrollBar(int ACol, int ARow) override;

    TExpandClickEvent OnExpandClick;
    TSearchFooterActionEvent OnSearchFooterAction;

    // ---- owned settings ----
    TNavigation* Navigation() const { return FNavigation.get(); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    TBands* Bands() const { return FBands.get(); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    plat::TFont* FixedFont() const { return FFixedFont.get(); }
    plat::TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    plat::TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    plat::TStringList* RowHeaders() const { return FRowHeaders.get(); }
    plat::TStringList* FilterList() const { return FFilterList.get(); }
    plat::TStringList* LookupItems() const { return FLookupItems.get(); }
    // Completion of typed text in the combo editor from its items and then LookupItems (the
    // edit-with-button editor from LookupItems); LookupHistory adds a new combo text to the
    // items when the edit ends.
    bool Lookup = false, LookupCaseSensitive = false, LookupHistory = false;
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    TIntList* SelectedRows() const { return FSelectedRows.get(); }
    TIntList* ModifiedRows() const { return FModifiedRows.get(); }
    TControlList* ControlList() const { return FControlList.get(); }

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);

    // ---- plain settings with their start values ----
    bool AutoFilterUpdate = true;
    bool AutoNumAlign = false;
    String CheckTrue = u"Y";
    String CheckFalse = u"N";
    TEditorType DefaultEditor = edNormal;
    TColor DisabledFontColor = plat::clSilver;
    bool EnableHTML = true, EnableWheel = true, EnhRowColMove = true;
    String FilterDropDownClear = u"(All)";
    bool FilterDropDownAuto = false;
    TFilterDropDownColumns FilterDropDownColumns = fdNormal;
    bool FilterIncremental = false;
    bool FilterNormalCellsOnly = true;
    bool FitCellsInGrid = true;
    bool FixedRowAlways = false, FixedColAlways = false;
    int FixedFooters = 0, FixedRightCols = 0;
    String FloatFormat = u"%.2f";
    TColor HintColor = plat::clInfoBk;
    bool IntelliZoom = true;
    TInvalidEntryIcon InvalidEntryIcon = ieWarning;
    String InvalidEntryTitle, InvalidEntryText;
    bool LoadFirstRow = true;
    int MinRowHeight = 0, MinColWidth = 0, MaxRowHeight = 0, MaxColWidth = 0;
    bool MultilineCells = false;
    char16_t PasswordChar = u'*';
    bool QuoteEmptyCells = true;
    bool SaveFixedCells = true, SaveVirtCells = true, SaveWithHTML = true;
    bool SaveHiddenCells = false;
    plat::TScrollStyle ScrollBars = plat::ssBoth;
    TColor ScrollColor = plat::clNone;
    int ScrollWidth = 0;
    bool ShowNullDates = true;
    bool SizeWithForm = false;
    TColor ZODGradientFrom = plat::clWhite, ZODGradientTo = 0, ZODGradientMirrorFrom = plat::clNone,
           ZODGradientMirrorTo = plat::clNone;
    bool UseDisabledFont = true, UseInternalHintClass = true;
    String XMLEncoding = u"ISO-8859-1";
    bool XYOffsetTopLeftOnly = false;
    int FixedRowHeight = 22;

    // ---- appearance settings with their repaint rules ----
    // The selection colours and ShowSelection store and repaint only on a change; the mixer
    // factor is clamped to 0 .. 100 first.
    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value);
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value);
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value);
    int SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    void SetSelectionColorMixerFactor(int Value);
    bool ShowSelection() const { return FShowSelection; }
    void SetShowSelection(bool Value);
    // Small cell pieces (GridCellAdornments.cpp). RowIndicator copies the bitmap (nullptr
    // empties it) and repaints cell (0, Row). AutoThemeAdapt follows the office colour theme
    // and registers the window for its change message; ApplyOfficeTheme takes the component
    // style of a theme other than the last one seen.
    const plat::TBitmap* RowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(const plat::TBitmap* Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    void FollowOfficeTheme();
    void ApplyOfficeTheme(TOfficeTheme Theme);
    // The picture or gradient under the cells (GridBackground.cpp). SetBackGround copies
    // every setting and repaints; PaintBackgroundOutsideCells paints it right of the last
    // column and below the last row.
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackGround(const TBackGround* Value);
    void PaintBackgroundOutsideCells();
    void DrawBackgroundBitmapRect(plat::TRect R);
    void DrawBackgroundTiledRect(plat::TRect R);
    // A user sizing of a column (row) ends (told by the mouse handling before the framework
    // applies the new width): the next ColWidthsChanged (RowHeightsChanged) scales the other
    // columns (rows) with MouseActions.AllColumnSize (AllRowSize), lets UpdateColumnSize
    // change the width and fires OnEndColumnSize (OnEndRowSize).
    void NoteUserSizing(bool Columns, int Index, int StartSize);
    std::function<void(plat::TObject* Sender, int ARow)> OnEndRowSize;
    // Column widths at InitOrigColSizes and the grid width they belong to (-1: none), for
    // ColumnSize.SynchWithGrid.
    void InitOrigColSizes();
    // A scroll code (SB_LINEUP .. SB_THUMBTRACK) for the in-cell scroll bar of the current
    // cell: lines move by 10, pages by 100, a track to Pos; false when the position stays.
    // A changed position is stored, the cell repainted and OnScrollCell fired.
    bool ScrollCurrentCell(int Code, int Pos);
    std::function<void(plat::TObject* Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin,
                       int ScrollMax)>
        OnScrollCell;
    // The active-cell settings repaint on every write.
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value);
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor Value);
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value);
    // Link colour: stored on a change, repainted only while links are shown.
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool ShowDesignHelper() const { return FShowDesignHelper; }
    void SetShowDesignHelper(bool Value);
    // Repaints unless an update is in progress.
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    // The text inset of the cells. The setter repaints; UpdateXYOffset stores without
    // repainting.
    TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(TPoint Value);
    void UpdateXYOffset(int X, int Y) { FXYOffset = {X, Y}; }

    // ---- events ----
    TClickCellEvent OnClickCell, OnDblClickCell;
    TCanEditCellEvent OnCanEditCell;
    TButtonClickEvent OnButtonClick;
    TComboDropEvent OnComboCloseUp, OnComboDropDown;
    TGetCellCursorEvent OnGetCellCursor;
    TGridHintEvent OnGridHint, OnGridWideHint;
    TGetCellColorEvent OnGetCellColor, OnGetCellPrintColor;
    TGetCellBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
    TGetAlignmentEvent OnGetAlignment;
    TGetFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TGetWordWrapEvent OnGetWordWrap;
    THasComboBoxEvent OnHasComboBox;
    THasSpinEditEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue, OnGetCheckFalse;
    TGetColumnFilterEvent OnGetColumnFilter;
    TComboChangeEvent OnComboChange;
    TCellsChangedEvent OnCellsChanged;

    // ==== inplace editing: life cycle, validation, advance and keys (GridEdit.cpp, GridKeys.cpp) ====
    // The grid's OnKeyPress is the framework's (TWinControl::OnKeyPress): it receives typed keys
    // and Enter; a handler that sets the key to 0 starts no edit.
    bool CanEditShow() override;
    plat::TInplaceEdit* CreateEditor() override;
    // The cell's text for the editor: markup reduced to plain text unless EditWithTags.
    String GetEditText(int ACol, int ARow) override;
    // ACol display column; the base cell of a merged area receives the value.
    void SetEditText(int ACol, int ARow, const String& Value) override;
    int GetEditLimit() override { return MaxEditLength; }
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    // True when accepted. Writes the value before any change notification; a refused value
    // is not stored, leaves the row unmarked and reopens the editor on the old cell.
    virtual bool ValidateCell(const String& NewValue);
    void ShowInplaceEdit();
    void HideInplaceEdit();
    void HideCellEdit() { CommitInplaceEditor(Col(), Row()); }
    void DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift);
    void CommitInplaceEditor(int ACol, int ARow);
    // One advance step; with AdvanceSkipReadOnlyCells it passes read-only cells and stops
    // after one full pass when no cell is editable.
    void AdvanceCell(int ACol, int ARow, bool OpenEditor, bool Recursed, bool Forward, bool AutoEdit, bool Force);
    // The Tab advance (goTabs): next editable cell, wrapping; false when none was found.
    bool EditorKeyNavigation(bool Backward);
    bool IsEditable(int ACol, int ARow);
    bool EditorWantsTab() const;
    virtual void SetEditCellText(int ACol, int ARow, const String& Value);
    virtual void RestoreCellCache();
    virtual void GetEditorProp(int ACol, int ARow, plat::TObject* AEditLink);
    // Fires OnEditingDone and posts "GridEditDone"; OnEditCellDone runs when it arrives.
    void SignalEditDone(int ACol, int ARow);
    TExtInplaceEdit* NormalEdit();
    TGridCombo* Combobox();
    bool EditActive() const { return FEditActive; }
    bool Editing() const { return FEditing; }
    TEditorType GetCurrentEditor() const { return EditControl; }
    // Combo item list shared by every combo cell.
    void ClearComboString();
    void AddComboString(const String& S);
    void AddComboStringObject(const String& S, plat::TObject* AObject);
    bool SetComboSelectionString(const String& S);
    void SetComboSelection(int Index) { FComboIdx = Index; }
    int GetComboCount();
    // The column grid hands its column's items to the combo editor.
    void AssignComboItems(const plat::TStrings* Items);
    // Called when an edit of the base cell (real column) starts with the chosen kind.
    virtual void EditorSettings(int ACol, int ARow, TEditorType AEditor) { (void)ACol, (void)ARow, (void)AEditor; }
    // Called by the combo editor on every user change: OnComboChange once, real column.
    void ComboChanged();
    // Called by the normal editor for Enter, Tab, Escape and the leaving arrows.
    bool EditorKey(std::uint16_t Key, plat::TShiftState Shift);
    void EditorExit();
    void EditorChanged(const String& Value);

    // Called by the combo editor once a focus change that took the focus from it has finished.
    // When the focus went to a window that is neither the grid nor the combo (Tab to the next
    // control of a dialog, a click elsewhere), the combo's value is validated and the edit ends
    // as Enter ends it; a refused value keeps the editor open on the cell, focused, with the
    // value validation settled on.
    void ComboEditorExit();

    // ---- editor notifications and small hooks (GridEditNotify.cpp) ----
    // WM_COMMAND from the editors: EN_CHANGE keeps the open text editor's text in the cell as
    // it is typed (FShowEditProcess); the combo editor's CBN_DROPDOWN
    // fires OnComboDropDown and CBN_CLOSEUP OnComboCloseUp, before which, with
    // DirectComboClose, the picked item ends the edit as Enter does. False: the framework
    // goes on with the message.
    bool EditorCommand(plat::TMessage& Message);
    // A date editor's value changed: OnDateTimeChange for the current cell (Col, Row), with
    // 0 for a cleared check box.
    void DateEditorChanged(plat::TDateTime Value);
    using TDateTimeChangeEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TDateTime ADateTime)>;
    TDateTimeChangeEvent OnDateTimeChange;
    // The stored texts and objects of hidden row ARow (real row), one per real column; null
    // when the row is not hidden.
    std::unique_ptr<plat::TStringList> GetHiddenRowStrings(int ARow) const;
    // The value a cell (real column, display row) computes to: its stored text here.
    virtual void GetCalculatedCell(int ACol, int ARow, String& Value);
    // ---- an open editor follows writes of its cell (GridEditSync.cpp) ----
    // A text written into the cell under the open editor by anyone but the edit itself is
    // shown by the editor (the text and combo editors take it, the others open again on it),
    // and it becomes the text Escape brings back; the editor cannot write the old text back.
    void GridCellWritten(int ACol, int ARow) override;
    // The text the editor shows for a stored cell text (markup as plain text unless
    // EditWithTags).
    String EditTextOf(const String& Stored) const;
    // ---- drag and drop and drag scrolling (GridDragDrop.cpp) ----
    TDragDropSettings* DragDropSettings();
    TDragScrollOptions* DragScrollOptions();
    // The coming column drop comes from item AIndex of AList and stands for the hidden real
    // column ACol: the drop deletes the item and shows that column at the drop place.
    void OleColumnDragStart(int ACol, int AIndex, plat::TCustomListBox* AList);
    // The drag of cells or of a column from the pressed cell (display column): OnOleDrag
    // decides, then the drag loop runs; a move removes the dragged rows (OleRemoveRows in
    // row selection) or clears the cells, unless OleCopyAlways. False when no drag ran.
    bool OleDragFromCell(int ACol, int ARow);
    // The drop target's hooks (pt a screen point).
    void OleDropText(plat::TPoint pt, const String& s);
    void OleDropStream(plat::TPoint pt, plat::TMemoryStream& Stream);
    void OleDropCol(plat::TPoint pt, int DropCol);
    void OleDropCellText(plat::TPoint pt, const String& s, bool URL);
    void OleDropFiles(plat::TPoint pt, const std::vector<String>& Files);
    void OleDragMouseMove(plat::TPoint pt, bool& Allow, unsigned DropFormats);
    void OleDragMouseLeave();
    void DragOver(plat::TObject* Source, int X, int Y, plat::TDragState State, bool& Accept) override;
    TOleDropEvent OnOleDrop, OnOleDrag, OnOleDropFile, OnOleDropURL;
    TOleDragOverEvent OnOleDragOver;
    TOleDroppedEvent OnOleDropped;
    TOleDropColEvent OnOleDropCol;
    TOleDragStartEvent OnOleDragStart;
    TOleDragStopEvent OnOleDragStop;
    TDragScrollEvent OnDragScroll;
    // The drop-position arrows (screen placed), the selection being dragged and the grid
    // timer's tick count, which paces horizontal scrolling during a drag.
    TArrowWindow *ArwU = nullptr, *ArwD = nullptr, *ArwL = nullptr;
    plat::TGridRect FDropSelection{};
    int FTickCount = 0;
    // ---- end of drag and drop ----
    // ---- spin editor (GridSpin.cpp) ----
    TGridSpin* SpinEdit();
    // Limits and step the next spin edit takes (the column grid passes its column's); an edit
    // without them keeps the editor's own.
    void SetEditorSpinLimits(int Min, int Max, int Step) { FSpinLimits = {true, Min, Max, Step}; }
    // The cell text when the edit began and the value the last validation settled on.
    const String& CellCache() const { return FCellCache; }
    const String& NewCellText() const { return FNewCellText; }
    // Spin-button clicks (and Home/End for OnSpinClick): real column, row, value, up.
    std::function<void(plat::TObject* Sender, int ACol, int ARow, int Value, bool Up)> OnSpinClick;
    std::function<void(plat::TObject* Sender, int ACol, int ARow, double Value, bool Up)> OnFloatSpinClick;
    std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TDateTime Value, bool Up)> OnDateSpinClick, OnTimeSpinClick;
    // ---- date editors of edDateEdit, edDateEditUpDown, edTimeEdit (GridDatePicker.cpp) ----
    TGridDatePicker* DateTimePicker();  // created on first use
    // The value a date editor opens with for a cell text: parsed as a date (a time for
    // edTimeEdit), now when empty or unparsable, kept off MinDate and MaxDate.
    plat::TDateTime DateEditorValue(const String& Text, bool TimeKind);
    // The date-and-time editor of edDateTimeEdit (created on first use) and the value it
    // opened with.
    TGridDateTimePicker* DateAndTimePicker();
    // ---- custom editor link of edCustom cells (GridEditLink.cpp) ----
    // The link of edCustom cells (not owned; forgotten when it is freed). Without one an
    // edCustom cell opens nothing.
    TEditLink* EditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* Value);
    // ---- fixed-cell editors (GridEditLink.cpp) ----
    // Opens the fixed-cell editor (an edit, or a combo filled from FixedComboValues) on the
    // fixed cell ACol, ARow (real column); nothing when an open one refuses to stop or
    // OnCanEditCell refuses.
    void FixedCellEdit(int ACol, int ARow);
    TGridTransEdit* EditTrans();    // created on first use
    TGridTransCombo* ComboTrans();  // created on first use
    plat::TStringList* FixedComboValues() { return &FFixedComboValues; }
    // Asked before a fixed-cell editor opens: the cell, the combo's items (which it may
    // refill) and the editor kind; fires OnFixedEdit.
    virtual void FixedEdit(int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values);
    std::function<void(plat::TObject* Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values)>
        OnFixedEdit;
    plat::TDateTime OriginalDateTime() const { return FOriginalDateTime; }
    // ---- editors of markup controls inside a cell (GridControlEdit.cpp) ----
    using TControlEditDoneEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& CtrlID,
                                                     const String& CtrlType, const String& CtrlVal)>;
    using TControlComboListEvent =
        std::function<void(plat::TObject* Sender, int ARow, int ACol, const String& CtrlID, const String& CtrlType,
                           const String& CtrlVal, plat::TStrings* Values, bool& Edit, int& DropCount)>;
    using TControlComboSelectEvent = std::function<void(plat::TObject* Sender, int ARow, int ACol, int ItemIndex,
                                                        const String& CtrlID, const String& CtrlValue)>;
    TControlEdit* ControlEdit();    // created on first use
    TControlCombo* ControlCombo();  // created on first use
    // Opens the editor of control CtrlID (EDIT, PASSWORD, MASK or COMBO; other types open
    // nothing) of the cell (ACol real, ARow) over CtrlRect (grid coordinates); a running
    // control edit ends first. A COMBO's items and style come from OnControlComboList.
    void ShowCellControlEditor(const String& CellText, const String& CtrlType, int ARow, int ACol, int DisplCol,
                               const plat::TRect& CtrlRect, const String& CtrlValue, const String& CtrlID);
    // Ends a control edit: the value goes into the control's VALUE in the cell, the editor
    // hides, OnControlEditDone fires (real column). Nothing without an open control edit.
    void ControlEditDone();
    void ControlComboSelect(TControlCombo* Combo);
    // Opens the editor of the cell's next control that takes text after CurrentID (ACol a
    // display column); without one the grid takes the focus. An empty ID opens the first one
    // when the cell may be edited (goEditing, ReadOnly, OnCanEditCell).
    void EditNextMarkupControl(int ACol, int ARow, const String& CurrentID);
    bool ControlEditing() const { return FCtrlEditing; }
    const String& ControlEditID() const { return FCtrlEditID; }
    TControlEditDoneEvent OnControlEditDone;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;
    // ---- check-box, button, edit-with-button, unit and rich-text editors (GridEditors2.cpp) ----
    TGridCheckBox* CheckBoxEditor();
    TGridButton* ButtonEditor();
    TGridEditBtn* BtnEdit();
    TGridUnitEditBtn* BtnUnitEdit();
    TExtRichEdit* InplaceRichEdit();
    // The rich edit's document as rich text (Unicode kept as \u escapes); empty while the grid
    // is being destroyed. RichToCell stores it in the cell (ACol a real column).
    String RichToString(plat::TCustomRichEdit* RichEditor);
    void RichToCell(int ACol, int ARow, plat::TCustomRichEdit* RichEditor);
    // S passes through OnEllipsClick (real column of Col, Row), which may change it.
    virtual void EllipsClick(String& S);
    std::function<void(plat::TObject* Sender, int ACol, int ARow, String& S)> OnEllipsClick;
    // The unit of a unit editor changed: real column, row, the new unit.
    std::function<void(plat::TObject* Sender, int ACol, int ARow, const String& NewUnit)> OnUnitChanged;
    // Whether the kind is served by one of these editors; opening and committing them.
    static bool IsEditor2Kind(TEditorType AEditor);
    void PrepareEditor2(int ACol, int ARow);
    void CommitEditor2(int RealCol, int ARow);
    // The value the open special editor holds (the current cell's text for kinds that hold none).
    String SpecialEditorValue();
    // Ends an edit whose control was hidden without a commit (the button editor's keys).
    void DropSpecialEditor();
    // ---- wide-text validation and the invalid-entry balloon tip (GridBalloon.cpp) ----
    // The twin of ValidateCell for cells holding encoded wide text: NewValue is the plain
    // text; an accepted value is stored encoded, then announced.
    virtual bool ValidateCellWide(const String& NewValue);
    TCellValidateEvent OnCellValidateWide;
    // The control of the open editor (the edit portion of an editable combo), or null.
    plat::TWinControl* OpenEditorControl();
    // Shows InvalidEntryTitle and InvalidEntryText on the open editor when either is set.
    void ShowInvalidEntryBalloon();
    // ---- grid timer, dialog code and cell balloons (GridMessages.cpp) ----
    static constexpr std::uintptr_t GridTimerID = 111;
    int TimerTicks() const { return FTickCount; }
    // One tick of the grid timer: forgets the incremental search text 1.5 to 2 s after its
    // last key (AutoGotoIncremental).
    void GridTimer();
    // The balloon of a cell (real column): its plain text (markup, rich and encoded wide text
    // as plain text, tabs as blanks, leading tabs and line breaks skipped, more than 2048
    // characters cut to 2045 and "..."), title " " and icon 1 unless a balloon cell supplies
    // them, then OnCellBalloon; a title over 100 characters is cut to 97 and "...".
    void CellBalloonInfo(int ACol, int ARow, String& Title, String& Text, int& Icon);
    std::function<void(plat::TObject* Sender, int ACol, int ARow, String& ATitle, String& AText, int& AIcon)> OnCellBalloon;
    struct TBalloonSettings {
        bool Enable = false;
        TColor BackgroundColor = plat::clNone, TextColor = plat::clNone;
        int InitialDelay = -1, ReshowDelay = -1, AutoHideDelay = -1;
        std::uint8_t Transparency = 0;
    };
    TBalloonSettings& Balloon() { return FBalloon; }
    // With Balloon.Enable: shows the cell's balloon (real column) below the cell; the last
    // balloon cell is remembered.
    bool ShowCellBalloon(int ACol, int ARow);
    TPoint LastBalloonCell() const { return FLastBalloonCell; }

    TEditorType EditControl = edNormal;
    bool EditMode = false;
    int MaxEditLength = 0, MaxComboLength = 0;
    bool EditWithTags = false, AlwaysValidate = false, ExcelStyleDecimalSeparator = false;
    String EditMask, ValidChars;
    TCellValidateEvent OnCellValidate;
    plat::TNotifyEvent OnEditingDone;
    TEditCellDoneEvent OnEditCellDone;
    TEditChangeEvent OnEditChange;
    TGetEditorPropEvent OnGetEditorProp;
    TComboObjectChangeEvent OnComboObjectChange;
    TAutoAdvanceEvent OnAutoAdvance;
    TCellChangingEvent OnCellChanging;
    TRowColChangingEvent OnRowChanging, OnColChanging;
    std::function<void(plat::TObject* Sender, int ARow)> OnAutoAddRow;
    std::function<void(plat::TObject* Sender, bool& CanAdd)> OnCanAddRow;
    // The incremental search text and the ticks since its last key.
    String SearchInc;
    int SearchTics = 0;

    // ==== keys on the grid: rows, clipboard, selection (GridKeys2.cpp) ====
    // Hooks the keys call. HandleF2Key: nothing. SelectionChanged: fires OnSelectionChanged.
    // CanInsertRow: OnCanInsertRow (default true). AutoInsertRow inserts one row at ARow
    // (real index; a child row under a node row's parent). AutoDeleteRow removes the row
    // (real index) or, when it is the only normal row and FixedRowAlways is off, clears it,
    // and fires OnAutoDeleteRow either way. AppendRow adds one row at the end.
    virtual void HandleF2Key() {}
    virtual void BeforeSetSelection(const plat::TGridRect&) {}
    virtual void SelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual bool CanInsertRow(int ARow);
    virtual void AutoInsertRow(int ARow);
    virtual void AutoDeleteRow(int ARow);
    virtual void AppendRow() { SetRowCount(RowCount() + 1); }
    // Each fires before its clipboard shortcut; Allow false stops the operation.
    std::function<void(plat::TObject* Sender, bool& Allow)> OnClipboardCut, OnClipboardCopy, OnClipboardPaste;
    std::function<void(plat::TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)> OnSelectionChanged;
    std::function<void(plat::TObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
    std::function<void(plat::TObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
    std::function<void(plat::TObject* Sender, int ARow)> OnAutoInsertRow, OnAutoDeleteRow;
    // A key inserted or deleted a row since the flag was last cleared.
    bool GridModified() const { return FGridModified; }
    void SetGridModified(bool Value) { FGridModified = Value; }
    // The grid's key steps after the framework's navigation (WM_KEYDOWN), its character filter
    // in front of KeyPress (WM_CHAR) and its key release.
    void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
    // The framework's handling of a WM_KEYDOWN (OnKeyDown, KeyDown and its navigation).
    void InheritedKeyDown(plat::TMessage& Message) { InheritedWndProc(Message); }
    plat::TGridRect FMoveSelection{};
    plat::TPoint FLastKeyCell{-1, -1};
    // Focus on the grid. Entering fires OnEnter and asks SelectCell for the current cell with
    // goEditing or RangeSelectAndEdit; leaving fires OnExit. Both do nothing while an edit
    // step blocks focus changes.
    void DoEnter() override;
    void DoExit() override;
    void GridSetFocus(plat::TMessage& Message);
    void GridKillFocus(plat::TMessage& Message);
    // An accelerator of a search footer button; true when it ran the button's search.
    bool SearchFooterDialogChar(plat::TMessage& Message);
    void DisjunctCellKeyUp(std::uint16_t Key, plat::TShiftState Shift, const plat::TGridRect& Noted);
    void RepaintMerged(TPoint Base);
    // The last text drop stored at least one cell (a drop that stored none moves nothing).
    bool FDropStored = false;

    // ==== cell hints (GridHint.cpp) ====
    // The hint of the cell under the pointer (CM_HINTSHOW): a comment at the cell's top-right
    // corner, else the anchor's hint with AnchorHint, the cell text with HintShowCells, the
    // text that does not fit with HintShowLargeText, each through GridHint (OnGridHint), in
    // HintColor; markup and escaped Unicode hints use THTMLHintWindow with
    // UseInternalHintClass. HintStr empty: no hint.
    enum THintPosition { hpCell, hpCursor };
    void GetCellHintInfo(String& HintStr, plat::THintInfo& HintInfo);
    bool HintShowCells = false, HintShowLargeText = false, HTMLHint = false, AnchorHint = false;
    THintPosition HintShowLargeTextPos = hpCursor;
    std::function<void(plat::TObject* Sender, int ARow, int ACol, String& Anchor)> OnAnchorHint;
    TPoint LastHintPos() const { return FLastHintPos; }
    TPoint FLastHintPos{-1, -1};
    String FLastAnchorHint;

protected:
    void Loaded() override;
    void CreateWnd() override;
    // Keeps the base grid's display-text hooks running for every display row.
    void SizeChanged(int OldColCount, int OldRowCount) override;
    bool Destroying() const { return FDestroying; }
    bool IsLoaded() const { return FLoaded; }
    int FFixedRowsMin = 0;
    int FFixedColsMin = 0;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    bool FEditChange = false;
    bool FEditDisable = false;

    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    // Re-applies the search footer to its panel (GridSearchPanel.cpp).
    virtual void UpdateSearchPanel();

private:
    void OwnedChanged(plat::TObject*) { Invalidate(); }

    bool CheckRange(const std::vector<int>& RealCols, int FromRow, int ToRow);
    std::vector<int> CheckedColumns(bool DoFixed) const;
    void MoveToCheckedCell(int ACol, int ARow);
    TExtStringGridCheck* FCellChecker = nullptr;

    // ---- cell access and cell graphics ----
    void CheckInsideForControl(int ACol, int ARow) const;
    TCellGraphic* CheckBoxRecord(int ACol, int ARow, bool& StoredInRow);
    void TagRange(int FromCol, int ToCol, int FromRow, int ToRow, const std::function<String(const String&)>& f);
    void ForFillCells(bool DoFixed, const std::function<void(int, int)>& f);
    int NormalLastRow() const { return RowCount() - FixedFooters - 1; }
    int SearchPanelHeight() const { return FSearchFooter->Visible() ? 32 : 0; }
    std::unique_ptr<TCellGraphic> FCellGraphic = std::make_unique<TCellGraphic>();
    std::vector<bool> FRowSelect, FColSelect;
    int FNumCellControls = 0;
    bool FEnabledRowsUsed = false;
    std::shared_ptr<void> FFormLink;     // this grid's link in the owning form's OnResize chain
    plat::TCustomForm* FForm = nullptr;

    std::unique_ptr<plat::TFont> cf;
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<plat::TStringList> FColumnHeaders, FRowHeaders;
    std::unique_ptr<plat::TStringList> Sortlist, FLookupItems, FFilterList;
    std::unique_ptr<plat::TFont> FFixedFont, FActiveCellFont;
    std::unique_ptr<TIntList> FOrigColSizes, FIgnoreColumns, FColumnOrder;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TGridIntList> FSortRowXRef, FUnSortRowXRef;
    std::unique_ptr<TIntList> FMergedColumns, FSelectedCells, FSelectedRows,
        FModifiedRows, FEnabledRows;
    std::unique_ptr<TControlList> FControlList;
    // ---- view state (src/grid/view) ----
    bool FFlat = false, FHideFocusRect = false, FNoDefaultDraw = false, FSelectionColorMixer = false;
    int FZoomFactor = 0;
    plat::TAlignment FDefaultAlignment = plat::taLeftJustify;
    THoverFixedCells FHoverFixedCells = hfNone;
    TColor FSelectionTextColor = plat::clNone;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    TExtStyle FStyle = tsWindowsXP;
    TColorTones FTones;
    TScrollType FScrollType = ssNormal;
    TColor FHighlightColor = plat::clHighlight, FHighlightTextColor = plat::clHighlightText;
    int FHoverFixedX = -1, FHoverFixedY = -1;
    bool FMouseDownMove = false, FMouseDown = false;
    // The steps of DrawGridCell (GridPaint.cpp).
    struct TCellPaint;
    void PaintFixedBackground(TCellPaint& P);
    void PaintCellDecorations(TCellPaint& P);
    void PaintFixedEdges(TCellPaint& P);
    void PaintTreeLines(TCellPaint& P);
    void PaintFocusRect(TCellPaint& P);
    void DrawCellText(TCellPaint& P);
    // Rich-text cells (GridRichText.cpp).
    plat::TCustomRichEdit* FRichEdit = nullptr;  // owned by the grid as its component
    bool RTFCellSelected(int ACol, int ARow);
    TPoint RichTextSize(int ACol, int ARow, plat::TRect R);
    // Cell pieces of the text layer (GridCellPieces.cpp).
    bool FSelectionRectangle = false, FSelectionResizer = false;
    TColor FSelectionRectangleColor = plat::clBlack;
    void PaintSelectionRectangle(TCellPaint& P);
    void PaintErrorMarker(TCellPaint& P, const String& Text, plat::TRect R, unsigned Flags);
    // Row indicator, filter glyph, cell scroll bar, always-visible buttons (GridCellAdornments.cpp).
    std::unique_ptr<plat::TBitmap> FRowIndicator = std::make_unique<plat::TBitmap>();
    bool FAutoThemeAdapt = false;
    TOfficeTheme FOfficeTheme = otUnknown;
    bool ShowsRowIndicator(int RCol, int ARow);
    void PaintRowIndicator(TCellPaint& P);
    void PaintFilterGlyph(TCellPaint& P, plat::TRect R);
    void PaintCellScrollBar(TCellPaint& P);
    void PaintAlwaysVisibleButtons(TCellPaint& P);
    void ThemeMessage(const plat::TMessage& Message);
    // Background under the cells (GridBackground.cpp).
    std::unique_ptr<TBackGround> FBackGround = std::make_unique<TBackGround>(this);
    plat::TGridRect FBackGroundCovered{-1, -1, -1, -1};  // cells under a bdFixed picture
    void PaintCellBackGround(TCellPaint& P, bool Selected);
    plat::TGridRect BackGroundCoveredCells();
    void BackGroundScrolled();
    // The column and row of the user sizing that ends, and their sizes when it began.
    int FSizedCol = -1, FSizedRow = -1, FSizedColStart = 0, FSizedRowStart = 0;
    void AfterSizesChanged();
    int FOldSize = -1;
    int FLastVScrollCode = -1;  // the vertical scroll code being handled, -1 when none
    void SynchColumnsWithGrid();
    void DrawCellGraphic(TCellPaint& P, plat::TRect R);
    plat::TRect GraphicPlace(TCellPaint& P, plat::TRect& R);
    void DrawImageGraphic(TCellPaint& P, plat::TRect Pr);
    void DrawProgressGraphic(TCellPaint& P, plat::TRect R);
    void DrawMarkGraphic(TCellPaint& P, plat::TRect R, plat::TRect Pr);
    void DrawCellButton(TCellPaint& P, plat::TRect R, plat::TRect Placed, bool Enabled);
    void DrawNodeGlyph(TCellPaint& P, plat::TRect R, bool Collapsed);
    unsigned CellTextFlags(plat::TAlignment HA, TVAlignment VA, bool WW, String& Text) const;
    bool FEnhTextSize = false, FURLShow = false, FURLFull = false;
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = plat::clNone, FSelectionMirrorColor = plat::clNone, FSelectionMirrorColorTo = plat::clNone;
    int FSelectionColorMixerFactor = 50;
    bool FShowSelection = true, FShowDesignHelper = true, FActiveCellShow = false;
    TColor FActiveCellColor = plat::clGray, FActiveCellColorTo = plat::clNone;
    TColor FURLColor = 0xFF0000;
    TVAlignment FVAlignment = vtaTop;
    TPoint FXYOffset{2, 2};
    bool FColChanging = false, FStretchAllowed = true;
    // ---- scroll bars and size (GridScroll.cpp) ----
    bool FFlatScrollInit = false, FScrollProportional = false, FIntegralHeight = false, FDisableSize = false;
    int FPaintCount = 0;  // 0 until the first paint of a grid that is not a tab stop
    TGridFocusWindow* FFocusWindow = nullptr;  // owned by the grid as its component
    TScrollControl* FVScrollControl = nullptr;  // owned by the grid as its components
    TScrollControl* FHScrollControl = nullptr;
    void InitFlatScrollBars();
    void UninitFlatScrollBars();
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    void FlatShowScrollBar(int Bar, bool Show);
    void SyncFlatScroll(int Bar);
    void ShowFlatBarsAsNeeded();
    bool RowsHiddenBelow();
    bool ColsHiddenRight();
    void ApplyScrollType();
    void ApplyScrollBars();
    void CreateScrollControls();
    void FreeScrollControls();
    void PlaceScrollControls();
    // Widths (heights) of the proportional thumb: fixed part F, scrollable part S, the part
    // D scrolled out before the left column (top row), the control's extent.
    struct TProportion {
        int F = 0, S = 0, D = 0, Control = 0;
    };
    TProportion HorzProportion() const;
    TProportion VertProportion() const;
    static bool ProportionalThumb(const TProportion& P, int CurrentPos, bool TallerMeansEnd, plat::TScrollInfo& SI);
    bool ProportionalBlocked() const;
    int ThumbColumn(int Pos);
    int ThumbRow(int Pos);
    bool BeforeScroll(plat::TMessage& Message);
    void AfterScroll(bool Horizontal);
    bool SizeMessage(plat::TMessage& Message);
    void AfterSize();
    void ViewControlMessage(const plat::TMessage& Message);
    std::unique_ptr<TFloatingFooter> FFloatingFooter = std::make_unique<TFloatingFooter>(this);
    plat::TCustomPanel* FFooterPanel = nullptr;  // owned by the grid as its component
    friend class TFloatingFooter;
    friend class TFooterPanel;
    void EnsureFooterPanel();
    String FScrollHint;
    std::unique_ptr<plat::THintWindow> FScrollHintWindow;
    void ShowScrollHint(bool Horizontal, int Code, int ThumbPos);
    // Painting, background and scroll messages; Handled ends their dispatch.
    void ViewMessage(plat::TMessage& Message, bool& Handled);
    bool SelectedInDisjunct(int ACol, int ARow, int RealRow, plat::TGridDrawState& AState, bool Select, bool Print,
                            bool Fixed);
    std::vector<TGridChangeNotifier*> FNotifierList;
    ITExtStringGridSelect* FSelListener = nullptr;
    TColor FBorderColor = 0xB99D7F;
    TGridLook FLook = glXP;
    int FUpdateCount = 0;

    // ---- index spaces (ExtGridIndex.cpp) ----
    void RebuildColMaps();
    // Moves the cells of display row ARow into Item (the row container is emptied) and
    // records the row's modified and enabled flags in it.
    void TakeRowCells(int ARow, TGridItem& Item);
    // Moves the item's cells into display row ARow (which must be empty); the flags are put
    // back by RestoreHiddenRows.
    void PutRowCells(TGridItem& Item, int ARow);
    // Display-row primitives of the structural operations (ExtGridRowOps.cpp): row
    // containers, heights and the per-row side lists move; no text is copied, no cell
    // object is freed and no hidden-row index changes.
    void InsertDisplayRows(int At, int N);
    void RemoveDisplayRows(int At, int N);
    // Puts every item back at its own real position in one pass over the rows.
    void RestoreHiddenRows(std::vector<TGridItem>& Items);
    // Sets the flags the items carry on display rows Rows (one per item).
    void RestoreRowFlags(const std::vector<TGridItem>& Items, const std::vector<int>& Rows);
    // Up to this many lines, row heights move by the framework's line moves (each a block
    // move); beyond it in one pass over the rows.
    static constexpr int kLineMoves = 16;
    bool FLayoutOnlyMove = false;
    // Column layout of all real columns (hidden state and width), rewritten as a whole.
    struct TColSlot {
        bool Hidden = false;
        int Width = 0;
    };
    std::vector<TColSlot> ColumnLayout() const;
    void ApplyColumnLayout(const std::vector<TColSlot>& Cols);
    // Renumbers the cells of every hidden row: Map(col) is the new column, -1 drops it.
    template <class F>
    void RemapHiddenRowColumns(F&& Map);
    static void FreeItemObject(plat::TObject* Obj);
    // Real rows of display rows [RowIndex, RowIndex + RCount) leave the real index space.
    void HiddenRowsAfterRemoval(int RowIndex, int RCount);
    bool FHiddenCol[kMaxHideCol + 1] = {};
    std::int16_t FAllColWidths[kMaxHideCol + 1] = {};
    // Display -> real for the shown columns below kMaxHideCol, and per real column below
    // kMaxHideCol + 1 the number of hidden columns before it.
    std::vector<int> FDisplToReal;
    std::vector<int> FHiddenBefore;
    int FNumHidden = 0;
    THiddenRows FGridItems;
    int FOldRowSel = -1;
    bool FSelHidden = false;
    plat::TGridRect FOldSelection;
    // While set, clearing drops a cell's object reference without freeing it (the object
    // moved to another cell) / reports no change.
    bool FNilObjects = false;
    bool FBlockCellChange = false;
    bool FLoaded = false;
    bool FDestroying = false;

    // Visits the rows of a column statistic that take part: (row, hidden, value or none);
    // row is a display row, or the real row of a hidden one.
    template <class F>
    void ForColumnCells(int ACol, int FromRow, int ToRow, F&& Visit);

    // ---- automatic sizing (ExtGridSize.cpp) ----
    void SizeColToContent(int ACol, bool GrowOnly);
    void SizeRowToContent(int ARow, bool GrowOnly);
    // Puts the cell's measuring font on the canvas (set only when it differs).
    void PrepareMeasureFont(int ACol, int ARow);
    std::unique_ptr<plat::TFont> FMeasureFont = std::make_unique<plat::TFont>();

    // ---- node rows (ExtGridNodes.cpp) ----
    TCellProperties* RealRowProps0(int ARealRow, bool Create);
    void SetRealRowLevel(int ARealRow, int Level);
    void ShowNodeRows(int ARealRow);
    // Shows the hidden rows of real rows From .. To, less the spans of contracted nodes.
    void ShowSpanRows(int From, int To);
    void RecountNodes();
    // Gives every node whose span reaches up to the next node row (span 0) its present span,
    // so that adding, removing or moving rows and nodes changes no other group.
    void FreezeOpenSpans();
    // Structural operations keep spans in step through these; suppressed while the child-row
    // operations keep their own books.
    void NodesRowsInserting(int RowIndex, int RCount);
    void NodesRowsInserted(int RowIndex, int RCount);
    void NodesRowsRemoving(int RowIndex, int RCount);
    void NodesRowsRemoved();
    // A contracted node among the display rows Lo .. Hi that move opens: its hidden rows stay
    // where they are and come back (NodesRowsMoved) instead of staying hidden under a node
    // that left them. Returns their real ranges.
    std::vector<std::pair<int, int>> NodesRowsMoving(int Lo, int Hi);
    void NodesRowsMoved(const std::vector<std::pair<int, int>>& Opened = {});
    std::unique_ptr<TCellNode> FCellNode = std::make_unique<TCellNode>();
    int FNumNodes = 0;
    bool FNodeBooksOff = false;
    int FInsertLevel = 0;
    std::vector<std::pair<int, int>> FRemovedNodeRows;
    bool FNodesRemovingDone = false;

    // ---- grouping (ExtGridGroup.cpp) ----
    int FGroupColumn = -1;
    String FGroupCaption, FGroupFooter;
    int FGroupWidth = 0;
    bool FIsGrouping = false;
    void ApplyGroupLook(int ARow, bool Header);

    // ---- search (ExtGridFind.cpp) ----
    TPoint FindCore(TPoint StartCell, const String& s, TFindParameters P, bool Wide);
    bool FindCellMatches(int c, int r, TFindParameters P, bool Wide);
    void GotoFound(TPoint Cell, TFindParameters P);
    TFindParameters FFindParams;
    String SearchCache, FLastFindText;
    bool FLastFindWide = false;
    TPoint FSearchCell{-1, -1};
    bool FFindBusy = false;
    int FOldCol = -1, FOldRow = -1;
    String FOldCellText, FOldWideCellText;

    // ---- filtering (ExtGridFilter.cpp) ----
    std::unique_ptr<TFilter> FFilter;
    bool FFilterActive = false;
    int FFilterLevel = 0;
    String FLastFilter;
    int FFilterFixedRows = 0;
    int FFilterCol = -1;
    int FFilterRow = 0;
    // Splits a filter list entry into the shown text and the condition ("=" separates).
    static void SplitFilterEntry(const String& Entry, String& Shown, String& Condition);
    bool FastFilterMatch(const TFilterData& f, int ARow, bool& Match);
    // The test of one condition as the filtering rules give it; an exception is no match.
    bool GeneralFilterMatch(const TFilterData& f, int ARow);

    // ---- sorting (ExtGridSort.cpp) ----
    struct TSortKey {
        int Col;
        bool Descending;
    };
    // Stable sort of display rows Left .. Right by Keys, in key order.
    void SortRows(int Left, int Right, const std::vector<TSortKey>& Keys);
    std::vector<TSortKey> ColumnSortKeys(int ACol) const;
    std::vector<TSortKey> IndexSortKeys() const;
    // Moves the rows Left + i <- Left + Perm[i] by SortSwapRows (Perm is consumed).
    void ApplyRowPermutation(int Left, std::vector<int>& Perm);
    // The same in one pass over each per-row array, when the result is exactly that of the
    // swaps; false, with nothing changed, where only the swaps give it.
    bool GatherRowPermutation(int Left, const std::vector<int>& Perm);
    void SortXRefRowsInserted(int RowIndex, int RCount);
    void SortXRefRowsRemoved(int RowIndex, int RCount);
    int FSortRow = -1;

    // ---- inplace editing (GridEdit.cpp, GridKeys.cpp) ----
    void CellChanging(int NewCol, int NewRow, bool& Allow);
    void PrepareCellEditor(int ACol, int ARow);
    bool EditMessage(plat::TMessage& Message);
    bool AdvanceTarget(int ACol, int ARow, bool Forward, int& NewCol, int& NewRow);
    void ToggleCurrentCheckBox();
    TExtInplaceEdit* FNormalEdit = nullptr;
    TGridCombo* FCombo = nullptr;
    TGridSpin* FSpin = nullptr;
    // date editors (GridDatePicker.cpp)
    void PrepareDateEditor(int ACol, int ARow);
    void CommitDateEditor(int RealCol, int ARow);
    plat::TDateTime DateTimeEditorValue(const String& Text);
    TGridDatePicker* FDatePicker = nullptr;
    TGridDateTimePicker* FDateAndTimePicker = nullptr;
    friend class TEditLink;
    TEditLink* FEditLink = nullptr;
    // markup control editors (GridControlEdit.cpp)
    bool FindMarkupControl(int ACol, int ARow, const String& ID, String& Type, String& Value, plat::TRect& Rect);
    TControlEdit* FEditControl = nullptr;
    TControlCombo* FComboControl = nullptr;
    bool FCtrlEditing = false;
    TPoint FCtrlEditXY{-1, -1};
    String FCtrlEditID, FCtrlEditType;
    friend class TGridTransEdit;
    friend class TGridTransCombo;
    TGridTransEdit* FEditTrans = nullptr;
    TGridTransCombo* FComboTrans = nullptr;
    plat::TStringList FFixedComboValues;
    int FFixedColEdit = -1, FFixedRowEdit = -1;
    TEditLink* FActiveLink = nullptr;  // the link of the open edCustom edit
    void PrepareLinkEditor(int ACol, int ARow);
    void CommitLinkEditor(int RealCol, int ARow);
    bool IsEditLinkComponent(const plat::TComponent* AComponent) const;
    plat::TDateTime FOriginalDateTime = 0;
    // The value and check state the open date editor showed when it opened: an editor left
    // with them writes the cell's own text back (an empty cell stays empty).
    plat::TDateTime FDateOpenValue = 0;
    bool FDateOpenChecked = true;
    bool DateEditorUnchanged() const;
    struct {
        bool Set = false;
        int Min = 0, Max = 100, Step = 1;
    } FSpinLimits;
    void PrepareSpinEditor(int ACol, int ARow);
    void CommitSpinEditor(int RealCol, int ARow);
    bool FSyncingEditor = false;  // the open editor is taking a written cell text
    // An edit was opened: the text editor's typing is written into the cell at once
    // (GridEditNotify.cpp).
    bool FShowEditProcess = false;
    void LiveEditChange(plat::LPARAM Source);
    void ComboListClosed();
    bool FEditing = false, FValidating = false, FSpecialEditor = false, FEditActive = false;
    bool FLastValidation = true, FEntered = false, FNoEditChange = false, FBlockKill = false, FBlockFocus = false;
    bool FDisableChange = false, FGridModified = false, FAdvancing = false;
    char16_t FStartEditChar = 0;
    String FCellCache, FEditText, FNewCellText, FOpenedEditText, FOpenedCellText;
    int FAECol = -1, FAERow = -1, FComboIdx = -1;

    // ---- drag and drop and drag scrolling (GridDragDrop.cpp) ----
    void ShowDropArrow(TArrowWindow*& Arrow, TArrowDirection Dir, plat::TPoint Screen);
    void HideDropArrows();
    void DragScrollTimer(plat::TObject*);
    void FreeDragScrollTimer();
    bool DropTarget(plat::TPoint pt, unsigned DropFormats, int& ACol, int& ARow, bool& Append);
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::shared_ptr<plat::IDropTarget> FGridDropTarget;
    bool FOleDropTargetAssigned = false;
    int FOleDragCol = -1, FOleDragIndex = -1;
    plat::TCustomListBox* FOleDragList = nullptr;
    std::unique_ptr<plat::TTimer> FDragScrollTimer;
    TDragScrollDirection FDragScrollDir = 0;
    friend class TDragDropSettings;
    // Check-box, button, edit-with-button, unit and rich-text editors (GridEditors2.cpp).
    TGridCheckBox* FCheckBoxEd = nullptr;
    TGridButton* FButtonEd = nullptr;
    TGridEditBtn* FBtnEdit = nullptr;
    TGridUnitEditBtn* FBtnUnitEdit = nullptr;
    TExtRichEdit* FInplaceRichEdit = nullptr;
    String FRichOpenedText;
    // Grid timer and cell balloons (GridMessages.cpp).
    bool GridMessage(plat::TMessage& Message);
    void StartGridTimer();
    TBalloonSettings FBalloon;
    TPoint FLastBalloonCell{-1, -1};
    plat::TBalloonWindow* FBalloonWindow = nullptr;

    // Held while LoadFromFile runs; the load keeps only a weak reference, so it sees the
    // grid's destruction while it processes pending messages.
    std::shared_ptr<bool> FFileLoad;
};

} // namespace grid
