#pragma once
// Per-cell properties and merged cells over the framework's sparse cell store.
//
// The object reference of every stored cell is reserved for its TCellProperties (or null).
// A merged area of W x H cells with base (top-left) cell (C, R) stores in the base cell
// IsBaseCell true and spans W-1, H-1, and in every other cell (c, r) IsBaseCell false and
// spans c-C, r-R. Cells without properties are unmerged. TCellMap answers the span
// queries and performs merge and split on a store; TBaseGrid uses it, tests use it
// without a window. CheckMerges is the invariant checker: areas do not overlap, stay inside
// the grid and every cell of an area points back at its base.
#include <functional>
#include <vector>

#include "ExtObj.h"
#include "plat/Graphics.h"
#include "plat/Grids.h"
#include "plat/StdCtrls.h"

namespace grid {

using plat::TColor;
using plat::TPoint;

// The grid a properties object reports its repaints to.
class TCellPropertiesOwner {
public:
    virtual void RepaintCell(int ACol, int ARow) = 0;
    virtual bool GridWordWrap() const = 0;

protected:
    ~TCellPropertiesOwner() = default;
};

class TCellProperties : public plat::TPersistent {
public:
    // Defaults: base cell, spans -1, colours none, WordWrap from the owner (true without).
    TCellProperties(TCellPropertiesOwner* AOwner, int ACol, int ARow);
    // Frees the graphic record with the properties.
    ~TCellProperties() override { delete GraphicObject; }
    String ClassName() const override { return u"TCellProperties"; }
    // Copies everything but the graphic record, gradient end colour and direction, the
    // footer calculation, the paint cycle and the owner grid.
    void Assign(const plat::TPersistent* Source) override;
    TPoint GetBaseCell(int ACol, int ARow) const;

    // Setters that repaint the cell of creation.
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TCellPropertiesOwner* OwnerGrid() const { return FOwnerGrid; }

    int OwnerCol;
    int OwnerRow;
    std::uintptr_t CellObject = 0;             // the caller's object or value; not owned
    plat::TObject* GraphicObject = nullptr;    // the cell's graphic record; owned
    plat::TBrushStyle BrushStyle = plat::bsSolid;
    int FontSize = 0;                          // 0 = not set
    TColor FontColor = plat::clNone;
    plat::TFontStyles FontStyle;               // empty = not set
    int CellSpanY = -1;
    int CellSpanX = -1;
    int BorderWidth = 0;
    TColor BorderColor = 0;
    plat::TAlignment Alignment = plat::taLeftJustify;
    int PaintID = 0;                           // paint cycle that last drew this merged area
    bool IsBaseCell = true;
    TColumnCalcType CalcType = acNONE;
    plat::TObject* CalcObject = nullptr;
    int NodeLevel = 0;
    TEditorType Editor = edNormal;
    String FontName;                           // empty = not set
    bool ReadOnly = false;
    TCellGradientDirection GradientDirection = GradientVertical;
    plat::TControl* Control = nullptr;         // placed over the cell; not owned

private:
    void Repaint();
    TCellPropertiesOwner* FOwnerGrid;
    TColor FBrushColor = plat::clNone;
    TColor FBrushColorTo = plat::clNone;
    TVAlignment FVAlignment = vtaTop;
    bool FWordWrap = true;
};

// Merge-aware view of a store whose objects are TCellProperties. Properties are consulted
// only for cells inside [0, TotalColCount) x [0, RowCount); reads never create them.
class TCellMap {
public:
    using TCreateProps = std::function<TCellProperties*(int ACol, int ARow)>;
    using TRepaint = std::function<void(int ACol, int ARow)>;

    TCellMap(plat::TGridCellStore& Store, int TotalColCount, int RowCount)
        : store_(Store), cols_(TotalColCount), rows_(RowCount) {}

    bool HasCellProperties(int ACol, int ARow) const;
    TCellProperties* Props(int ACol, int ARow) const;  // null when none

    TPoint BaseCell(int ACol, int ARow) const;
    bool GetBaseCellOf(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    TPoint CellSpan(int ACol, int ARow) const;
    TPoint CellExt(int ACol, int ARow) const;
    plat::TRect FullCell(int ACol, int ARow) const;  // cell coordinates, bounds included
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    bool ColSpanIdentical(int ACol1, int ACol2, bool& Found) const;

    // Gets (creating through create) the properties of every cell of the area and marks
    // them; then repaints each. Spans below 1 change nothing.
    void MergeCells(int ACol, int ARow, int SpanX, int SpanY, const TCreateProps& create, const TRepaint& repaint);
    // Restores every cell of the area that holds (ACol, ARow) to an unmerged cell.
    void SplitCells(int ACol, int ARow, const TCreateProps& create, const TRepaint& repaint);

    // Empty when the merge encoding is consistent, else a description of the first fault.
    String CheckMerges() const;

private:
    plat::TGridCellStore& store_;
    int cols_;
    int rows_;
};

} // namespace grid
