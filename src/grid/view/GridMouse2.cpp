// Mouse presses on the grid's cell controls and the selection they make: node glyphs (the
// header's expand-all glyph and a node row's own), radio groups, ratings, cell buttons and
// expand buttons held from press to release, Ctrl presses of disjunct row and column
// selection, and the markup controls CHECK, RADIO and BUTTON inside a cell's text.
#include <algorithm>
#include <cmath>

#include "ExtGrid.h"
#include "EsgHTMLE.h"
#include "ExtUtil.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

bool IsIn(const plat::TRect& R, TPoint P) {
    return R.Right > R.Left && R.Bottom > R.Top && P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

} // namespace

// ---- press on cell controls ----------------------------------------------------------------

bool TExtStringGrid::PressOnCellControls(int ACol, int ARow, TPoint P, plat::TShiftState Shift) {
    const int real = RealColIndex(ACol);
    const plat::TRect cell = CellRect(ACol, ARow);

    // The header's node glyph expands or contracts every node.
    if (ARow < FixedRows() && ACol == 0) {
        TCellGraphic* g = GetCellGraphic(real, ARow);
        if (g && g->CellType == ctNode && FMouseActions->NodeAllExpandContract && HasNodes() &&
            IsNodeButtonHit(ARow, P.X - cell.Left)) {
            if (g->CellBoolean)
                ExpandAll();
            else
                ContractAll();
            g->CellBoolean = !g->CellBoolean;
            Invalidate();
            return true;
        }
    }
    if (ARow < FixedRows()) return PressOnCellButton(ACol, ARow, P);

    // A node row's glyph expands or contracts its node.
    if (ACol == 0 && IsNode(ARow) && IsNodeButtonHit(ARow, P.X - cell.Left)) {
        if (OnMouseDown) OnMouseDown(this, plat::mbLeft, Shift, P.X, P.Y);
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        const int realRow = RealRowIndex(ARow);
        const bool contracted = GetNodeState(ARow);
        bool allow = true;
        if (contracted) {
            if (OnBeforeExpandNode) OnBeforeExpandNode(this, ARow, realRow, allow);
            if (allow) {
                ExpandNode(realRow);
                if (OnExpandNode) OnExpandNode(this, ARow, realRow);
            }
        } else {
            if (OnBeforeContractNode) OnBeforeContractNode(this, ARow, realRow, allow);
            if (allow) {
                ContractNode(realRow);
                if (OnContractNode) OnContractNode(this, ARow, realRow);
            }
        }
        if (FMouseActions->MoveRowOnNodeClick) FocusCell(ACol, ARow);
        Invalidate();
        return true;
    }

    // A radio group takes the item under the press.
    if (IsRadio(real, ARow) && (IsEditable(ACol, ARow) || FControlLook->RadioAlwaysActive)) {
        HideEditor();
        ClickRadio(real, ARow, P.X - cell.Left, P.Y - cell.Top);
        if (CanFocus() && !Focused()) SetFocus();
        return true;
    }

    // Column 0 of a grid with node rows is no selection target of its own.
    if (ACol == 0 && HasNodes() && !FMouseActions->RowSelect && !Options().Contains(plat::goRowSizing)) {
        if (OnMouseDown) OnMouseDown(this, plat::mbLeft, Shift, P.X, P.Y);
        if (OnClickCell) OnClickCell(this, ARow, ACol);
        return true;
    }

    // A rating proposes half a unit per full 9 pixels from its left border.
    if (HasRating(real, ARow) && IsEditable(ACol, ARow)) {
        HideEditor();
        double rate = std::trunc((P.X - cell.Left) / 9.0) / 2;
        bool allow = true;
        if (OnRatingChange) OnRatingChange(this, real, ARow, rate, allow);
        if (allow) {
            SetFloats(real, ARow, rate);
            RepaintCell(ACol, ARow);
        }
        return true;
    }
    return PressOnCellButton(ACol, ARow, P);
}

bool TExtStringGrid::PressOnCellButton(int ACol, int ARow, TPoint P) {
    const int real = RealColIndex(ACol);
    const bool button = HasButton(real, ARow);
    const bool expand = !button && HasExpand(real, ARow);
    if (!button && !expand) return false;
    HideEditor();
    bool fixedDeclared = false;
    IsFixedCell(real, ARow, fixedDeclared);
    if (!fixedDeclared && ACol >= FixedCols() && ARow >= FixedRows() && (Col() != ACol || Row() != ARow))
        FocusCell(ACol, ARow);
    const plat::TRect hit = expand ? GetExpandRect(ACol, ARow) : GetGraphicRect(ACol, ARow);
    if (!IsIn(hit, P)) return false;
    if (button) PushButton(ACol, ARow, true);
    FPushedCellButton = {ACol, ARow};
    if (HandleAllocated()) plat::SetCapture(Handle());
    if (OnClickCell) OnClickCell(this, ARow, ACol);
    return true;
}

bool TExtStringGrid::ReleaseCellButton(TPoint P) {
    if (FPushedCellButton.X < 0) return false;
    const TPoint held = FPushedCellButton;
    FPushedCellButton = {-1, -1};
    plat::ReleaseCapture();
    if (held.X >= ColCount() || held.Y >= RowCount()) return false;
    const int real = RealColIndex(held.X);
    const bool expand = HasExpand(real, held.Y);
    if (!expand) PushButton(held.X, held.Y, false);
    int ACol = -1, ARow = -1;
    MouseToCell(P.X, P.Y, ACol, ARow);
    // Only a release on the held button clicks it.
    const plat::TRect hit = expand ? GetExpandRect(held.X, held.Y) : GetGraphicRect(held.X, held.Y);
    if (!IsIn(hit, P)) return false;
    if (expand) {
        const bool now = ToggleExpand(real, held.Y);
        ExpandClick(real, held.Y, now);
    } else {
        ButtonClick(real, held.Y);
    }
    return true;
}

// ---- radio groups --------------------------------------------------------------------------

void TExtStringGrid::ClickRadio(int ACol, int ARow, int X, int Y) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    plat::TStrings* items = GetRadioStrings(ACol, ARow);
    if (!g || !items || items->Count() == 0) return;
    const TPoint b = BaseCell(ACol, ARow);
    bool fixedDeclared = false;
    IsFixedCell(b.X, b.Y, fixedDeclared);
    if (!fixedDeclared) {
        const int shown = DisplColIndex(b.X);
        if (shown >= FixedCols() && b.Y >= FixedRows() && (Col() != shown || Row() != b.Y)) FocusCell(shown, b.Y);
    }
    plat::TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    const TControlStyle style = FControlLook->ControlStyle;
    const int spacing = style == csClassic || style == csFlat ? FControlLook->RadioSize : 16;
    int chosen = -1;
    if (g->CellBoolean) {
        int left = 0;
        for (int i = 0; i < items->Count(); ++i) {
            const int right = left + c->TextWidth(items->Strings(i)) + spacing;
            if (X >= left && X < right) {
                chosen = i;
                break;
            }
            left = right;
        }
    } else {
        const int band = std::max(spacing, c->TextHeight(u"gh"));
        if (Y >= 0 && band > 0) chosen = Y / band;
        if (chosen >= items->Count()) chosen = -1;
    }
    if (chosen < 0) return;
    if (g->CellIndex != -1)
        g->CellIndex = chosen;
    else
        SetCellEx(ACol, ARow, items->Strings(chosen));
    SetCellEx(ACol, ARow, GetCellEx(ACol, ARow));
    SetRadioIdx(ACol, ARow, chosen);
    if (OnRadioClick) OnRadioClick(this, ACol, ARow, chosen);
}

// ---- disjunct row and column selection -----------------------------------------------------

bool TExtStringGrid::DisjunctPress(int ACol, int ARow, plat::TShiftState Shift, plat::TMessage& Message) {
    FDeselectState = false;
    const bool hotmailCheck = ACol == 0 && FMouseActions->HotmailRowSelect();
    if (FMouseActions->DisjunctRowSelect() && ARow >= FixedRows() && !hotmailCheck) {
        if (Shift & plat::ssShift) {
            const plat::TGridRect old = Selection();
            InheritedWndProc(Message);
            plat::TGridRect sel;
            sel.Left = std::min(ACol, old.Left);
            sel.Right = std::max(ACol, old.Left);
            sel.Top = std::min(ARow, old.Top);
            sel.Bottom = std::max(ARow, old.Top);
            SetSelection(sel);
            return true;
        }
        const int markRow = FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
        if ((Shift & plat::ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
            if (GetRowSelect(markRow)) FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!(Shift & plat::ssAlt)) ClearRowSelect();
        }
    }
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if (Shift & plat::ssCtrl) {
            if (GetColSelect(RealColIndex(ACol))) FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }
    return false;
}

void TExtStringGrid::DisjunctRelease(int ACol, int ARow) {
    if (FMouseActions->DisjunctRowSelect() && !(ACol == 0 && IsNode(ARow))) {
        if (!(ACol == 0 && FMouseActions->HotmailRowSelect())) SelectionToRowSelect(false);
        if (ARow >= FixedRows() && FDeselectState) {
            const int markRow = FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
            SetRowSelect(markRow, false);
            Invalidate();
        }
    }
    if (FMouseActions->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (ACol >= FixedCols() && FDeselectState) {
            SetColSelect(RealColIndex(ACol), false);
            Invalidate();
        }
    }
    FDeselectState = false;
}

// ---- markup controls -----------------------------------------------------------------------

bool TExtStringGrid::MarkupControlPress(int ACol, int ARow, const String& ID, const String& Type) {
    const int real = RealColIndex(ACol);
    bool canEdit = false;
    if (Options().Contains(plat::goEditing) || FEditDisable) canEdit = !ReadOnly(real, ARow);
    CanEditCell(real, ARow, canEdit);
    if (!canEdit) return false;
    String text = GetCellEx(real, ARow);
    String value;
    GetMarkupControlValue(text, ID, value);
    const String type = plat::AnsiUpperCase(Type);
    if (type == u"BUTTON") {
        FCtrlXY = {ACol, ARow};
        FCtrlDown = true;
        RepaintCell(ACol, ARow);
    } else if (type == u"CHECK") {
        value = plat::AnsiUpperCase(value) == u"TRUE" ? u"FALSE" : u"TRUE";
        SetMarkupControlValue(text, ID, value);
        SetCellEx(real, ARow, text);
    } else if (type == u"RADIO") {
        text = ClearMarkupRadioButtons(text);
        value = u"TRUE";
        SetMarkupControlValue(text, ID, value);
        SetCellEx(real, ARow, text);
    }
    if (OnControlClick) OnControlClick(this, ARow, ACol, ID, Type, value);
    return true;
}

void TExtStringGrid::ReleaseMarkupButton() {
    if (!FCtrlDown) return;
    FCtrlDown = false;
    if (FCtrlXY.X >= 0 && FCtrlXY.X < ColCount() && FCtrlXY.Y >= 0 && FCtrlXY.Y < RowCount())
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
}

} // namespace grid
