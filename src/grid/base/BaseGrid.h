#pragma once
// TBaseGrid: the string grid's base. Cells are read and written through the merged areas
// (Cells writes and reads the area's base cell) and the two display-text hooks; every cell
// may carry a TCellProperties, created on first use with the grid's current defaults for
// it. The grid paints every cell frame itself (background, hover and active row, selection
// styles, its own grid lines), a merged area once per paint.
//
// Coordinates are real columns (hidden ones included) and rows. Cell-property access with a
// negative coordinate raises EListError "Grid index out of range".
#include <functional>

#include "BaseGridUndo.h"
#include "CellProperties.h"
#include "ExtObj.h"
#include "plat/Graphics.h"
#include "plat/Grids.h"

namespace grid {

enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };

class THoverRowCells {
public:
    constexpr THoverRowCells() = default;
    constexpr THoverRowCells(std::initializer_list<THoverRowCell> cells) {
        for (auto c : cells) bits_ |= 1u << c;
    }
    constexpr bool Contains(THoverRowCell c) const { return (bits_ & (1u << c)) != 0; }
    friend constexpr bool operator==(const THoverRowCells&, const THoverRowCells&) = default;

private:
    unsigned bits_ = 0;
};

using TGetDisplTextEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value)>;
using TGetDisplWideTextEvent = std::function<void(plat::TObject* Sender, int ACol, int ARow, String& Value)>;

// Adds nothing to the framework's string grid.
class TObjStringGrid : public plat::TStringGrid {
public:
    using plat::TStringGrid::TStringGrid;
    String ClassName() const override { return u"TObjStringGrid"; }
};

class TBaseGrid : public TObjStringGrid, public TCellPropertiesOwner {
public:
    explicit TBaseGrid(plat::TComponent* AOwner);
    ~TBaseGrid() override;
    String ClassName() const override { return u"TBaseGrid"; }

    // ---- cells ----
    String Cells(int ACol, int ARow) { return GetCellEx(ACol, ARow); }
    void SetCells(int ACol, int ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }
    String GetCellEx(int ACol, int ARow);
    void SetCellEx(int ACol, int ARow, const String& Value);
    String GetGridCell(int ACol, int ARow) const { return TObjStringGrid::Cells(ACol, ARow); }
    void SetGridCell(int ACol, int ARow, const String& Value) {
        TObjStringGrid::SetCells(ACol, ARow, Value);
        GridCellWritten(ACol, ARow);
    }
    // Called after every write of a stored cell text (real column, display row): an editor
    // open on that cell follows the new text.
    virtual void GridCellWritten(int ACol, int ARow) { (void)ACol, (void)ARow; }
    plat::TObject* Objects(int ACol, int ARow) const { return GetObjectEx(ACol, ARow); }
    void SetObjects(int ACol, int ARow, plat::TObject* Value) { SetObjectEx(ACol, ARow, Value); }
    plat::TObject* GetObjectEx(int ACol, int ARow) const;
    void SetObjectEx(int ACol, int ARow, plat::TObject* Value);
    plat::TObject* GetGridObject(int ACol, int ARow) const { return TObjStringGrid::Objects(ACol, ARow); }
    void SetGridObject(int ACol, int ARow, plat::TObject* Value) { TObjStringGrid::SetObjects(ACol, ARow, Value); }
    plat::TObject* GetGraphicObjectEx(int ACol, int ARow) const;
    void SetGraphicObjectEx(int ACol, int ARow, plat::TObject* Value);

    // ---- properties ----
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Frees the present properties object and takes over Value.
    void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
    bool HasCellProperties(int ACol, int ARow) const { return Map().HasCellProperties(ACol, ARow); }
    TCellMap Map() const;
    void ClearCellPropertiesRange(int FromCol, int FromRow, int ToCol, int ToRow);
    void ClearAllCellProperties();
    void FreeCellObject(int ACol, int ARow);
    void ClearColumnCellObjects(int ACol);
    void ClearRowCellObjects(int ARow);
    void ClearCellObjects(int ACol, int ARow);

    // ---- merging ----
    virtual void MergeCells(int ACol, int ARow, int SpanX, int SpanY);
    virtual void SplitCells(int ACol, int ARow);
    TPoint BaseCell(int ACol, int ARow) const { return Map().BaseCell(ACol, ARow); }
    bool IsBaseCell(int ACol, int ARow) const { return Map().IsBaseCell(ACol, ARow); }
    bool IsMergedCell(int ACol, int ARow) const { return Map().IsMergedCell(ACol, ARow); }
    bool IsMergedNonBaseCell(int ACol, int ARow) const { return Map().IsMergedNonBaseCell(ACol, ARow); }
    bool IsXMergedCell(int ACol, int ARow) const { return Map().IsXMergedCell(ACol, ARow); }
    bool IsYMergedCell(int ACol, int ARow) const { return Map().IsYMergedCell(ACol, ARow); }
    TPoint CellSpan(int ACol, int ARow) const { return Map().CellSpan(ACol, ARow); }
    TPoint CellExt(int ACol, int ARow) const { return Map().CellExt(ACol, ARow); }
    plat::TRect FullCell(int ACol, int ARow) const { return Map().FullCell(ACol, ARow); }
    int MinRowSpan(int ARow) const { return Map().MinRowSpan(ARow); }
    int MaxRowSpan(int ARow) const { return Map().MaxRowSpan(ARow); }
    bool RowSpanIdentical(int ARow1, int ARow2) const { return Map().RowSpanIdentical(ARow1, ARow2); }
    bool ColSpanIdentical(int ACol1, int ACol2, bool& Found) const { return Map().ColSpanIdentical(ACol1, ACol2, Found); }
    bool GetBaseCellOf(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
        return Map().GetBaseCellOf(ACol, ARow, BaseCol, BaseRow);
    }
    void MoveToBaseCell();
    int MergeCount() const { return FMergeCount; }

    // ---- geometry ----
    plat::TRect CellRect(int ACol, int ARow) const;
    plat::TRect AbsoluteCellRect(int ACol, int ARow) const;
    TPoint CellSize(int ACol, int ARow) const;
    void RepaintCell(int ACol, int ARow) override;

    // ---- painting ----
    void PaintCell(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect, plat::TGridDrawState AState);
    void PaintCellExt(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect, plat::TGridDrawState AState);
    int PaintID() const { return FPaintID; }

    // ---- appearance ----
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    bool GridWordWrap() const override { return FWordWrap; }
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value);
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value);

    bool HoverRow = false;
    THoverRowCells HoverRowCells{hcNormal, hcSelected};
    TColor HoverRowColor = plat::clInfoBk;
    TColor HoverRowColorTo = plat::clNone;
    int HoverRowIdx() const { return FHoverRowIdx; }
    void SetHoverRowIdx(int Value) { FHoverRowIdx = Value; }
    bool HideLastRow() const { return FHideLastRow; }
    void SetHideLastRow(bool Value) { FHideLastRow = Value; }
    int NormalRowCount() const { return FNormalRowCount; }
    void SetNormalRowCount(int Value) { FNormalRowCount = Value; }
    bool ShowSel() const { return FShowSel; }
    void SetShowSel(bool Value) { FShowSel = Value; }
    bool HasCellProps() const { return FHasCellProps; }

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

    // ---- undo link (BaseGridUndo.cpp) ----
    // The undo component records this grid's cell changes; not owned, cleared when it goes.
    TExtGridUndoRedo* UndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TExtGridUndoRedo* Value);

    // ---- hooks introduced here ----
    virtual bool IsFixed(int ACol, int ARow);
    virtual int GetRowIndent(int ARow);
    virtual bool HasNodes();
    virtual void DrawGridCell(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect, plat::TGridDrawState AState);
    virtual void CellsUpdated();
    virtual void DoGetDisplText(int ACol, int ARow, String& Value);
    virtual void DoGetDisplWideText(int ACol, int ARow, String& Value);
    virtual void GetCellBackground(int ACol, int ARow, TCellGradientDirection& GradientDirection, bool& WordWrap,
                                   TVAlignment& VAlignment, plat::TAlignment& Alignment, TColor& MirrorColorTo,
                                   TColor& MirrorColor, TColor& ColorTo, plat::TBrush* ABrush, plat::TFont* AFont);
    virtual void UpdateCellScrollBar(int ACol, int ARow);
    virtual bool HasCellBorderEvent();
    virtual bool UsesVCLStyles();
    // Colours and font of a cell for painting: fills the canvas brush and font and the three
    // gradient colours; may add to the state.
    virtual void GetVisualProperties(int ACol, int ARow, plat::TGridDrawState& AState, plat::TBrush* ABrush,
                                     plat::TFont* AFont, TColor& ColorTo, TColor& MirrorColor, TColor& MirrorColorTo,
                                     TCellGradientDirection& GradientDirection);
    virtual int DisplColIndex(int ACol);
    virtual int TotalColCount() const;

    // ---- framework overrides ----
    void DrawCell(int ACol, int ARow, const plat::TRect& ARect, plat::TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    bool DoMouseWheelDown(plat::TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(plat::TShiftState Shift, TPoint MousePos) override;
    String GetEditText(int ACol, int ARow) override { return TObjStringGrid::GetEditText(ACol, ARow); }
    void SetEditText(int ACol, int ARow, const String& Value) override { TObjStringGrid::SetEditText(ACol, ARow, Value); }
    void DeleteColumn(int ACol) override;

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void Paint() override;
    void SizeChanged(int OldColCount, int OldRowCount) override;
    void ChangeScale(int M, int D) override;

private:
    void DoPaintCell(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect, plat::TGridDrawState AState,
                     bool WithContent);
    void PaintCellFrame(plat::TCanvas* ACanvas, int ACol, int ARow, plat::TRect ARect, plat::TGridDrawState AState,
                        bool WithContent);
    void FreeProps(int ACol, int ARow);

    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = plat::clSilver;
    TColor FGridFixedLineColor = plat::clGray;
    int FPaintID = 1;
    bool FCustomSelect = true;
    bool FHideLastRow = false;
    int FNormalRowCount = 0;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = plat::clInfoBk;
    TColor FActiveRowColorTo = plat::clNone;
    TColor FActiveRowMirrorColor = plat::clNone;
    TColor FActiveRowMirrorColorTo = plat::clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    int FHoverRowIdx = -1;
    bool FShowSel = true;
    bool FHasCellProps = false;
    int FMergeCount = 0;
    TExtGridUndoRedo* FUndoRedo = nullptr;
    bool inPaint_ = false;
    bool destroying_ = false;
};

} // namespace grid
