// Cell graphics of TExtStringGrid: record lookup and life cycle, check boxes (cell, data,
// tri-state and row check boxes), radio buttons and radio groups.
#include <algorithm>

#include "ExtGrid.h"
#include "plat/ImgList.h"

namespace grid {

namespace {

const TCellTypes kCheckBoxes{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};
const TCellTypes kDataCheckBoxes{ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox};

TCellVAlign VAlignOf(TVAlignment v) {
    switch (v) {
    case vtaCenter: return vaCenter;
    case vtaBottom: return vaBottom;
    default: return vaTop;
    }
}

} // namespace

// ---- lookup -------------------------------------------------------------------------------

TCellGraphic* TExtStringGrid::GetCellGraphic(int ACol, int ARow) {
    TCellGraphic* g = nullptr;
    if (ACol >= 0 && ARow >= 0) g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (ACol != 0 || !FMouseActions->HotmailRowSelect()) return g;
    TCellGraphic& r = *FCellGraphic;
    r.CellType = ctRowCheckBox;
    if (ARow == 0) {
        const int selected = RowSelectCount();
        const int normal = RowCount() - FixedRows();
        r.CellAngle = selected > 0 && selected < normal ? 1 : 0;
        r.CellBoolean = selected >= normal;
    } else {
        r.CellAngle = 0;
        r.CellBoolean = GetRowSelect(RealRowIndex(ARow));
    }
    r.CellTransparent = FControlLook->ControlStyle == csFlat;
    return &r;
}

TCellType TExtStringGrid::GetCellType(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) return ctRowCheckBox;
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    return g ? g->CellType : ctEmpty;
}

TIntList* TExtStringGrid::GetCellImages(int ACol, int ARow) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType == ctImages ? dynamic_cast<TIntList*>(g->CellBitmap) : nullptr;
}

TCellGraphic* TExtStringGrid::CreateCellGraphic(int ACol, int ARow) {
    plat::TObject* old = GetGraphicObjectEx(ACol, ARow);
    auto* g = new TCellGraphic;
    SetGraphicObjectEx(ACol, ARow, g);
    delete old;
    if (NumHiddenColumns() > 0) RepaintCell(DisplColIndex(ACol), ARow);
    return g;
}

bool TExtStringGrid::RemoveCellGraphic(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return false;
    TCellProperties* p = Map().Props(ACol, ARow);
    if (!p || !p->GraphicObject) return false;
    plat::TObject* old = p->GraphicObject;
    p->GraphicObject = nullptr;
    if (auto* g = dynamic_cast<TCellGraphic*>(old); !g || (g->CellType != ctVirtCheckBox && g->CellType != ctRowCheckBox))
        delete old;
    if (!Destroying()) RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

bool TExtStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType Kind) {
    return GetCellType(ACol, ARow) == Kind && RemoveCellGraphic(ACol, ARow);
}

bool TExtStringGrid::HasCellType(int ACol, int ARow, TCellTypes Kinds) {
    if (ACol < 0 || ARow < 0) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && Kinds.Contains(g->CellType);
}

bool TExtStringGrid::HasCheckBox(int ACol, int ARow) { return HasCellType(ACol, ARow, kCheckBoxes); }
bool TExtStringGrid::HasDataCheckBox(int ACol, int ARow) { return HasCellType(ACol, ARow, kDataCheckBoxes); }

bool TExtStringGrid::IsControlCell(int ACol, int ARow) {
    static constexpr TCellTypes kinds{ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox,
                                      ctRowCheckBox, ctRadioButton, ctTriStateCheckBox};
    return kinds.Contains(GetCellType(ACol, ARow));
}

bool TExtStringGrid::IsDataControlCell(int ACol, int ARow) {
    static constexpr TCellTypes kinds{ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox};
    return kinds.Contains(GetCellType(ACol, ARow));
}

bool TExtStringGrid::HasRadioButton(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRadioButton}); }

bool TExtStringGrid::IsRadioButtonChecked(int ACol, int ARow) {
    if (!HasRadioButton(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellGraphic(b.X, b.Y)->CellBoolean;
}

bool TExtStringGrid::IsRadio(int ACol, int ARow) { return HasCellType(ACol, ARow, {ctRadio}); }

plat::TStrings* TExtStringGrid::GetRadioStrings(int ACol, int ARow) {
    if (!IsRadio(ACol, ARow)) return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    return dynamic_cast<plat::TStrings*>(GetCellGraphic(b.X, b.Y)->CellBitmap);
}

// ---- check boxes --------------------------------------------------------------------------

void TExtStringGrid::CheckInsideForControl(int ACol, int ARow) const {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw plat::Exception(u"Invalid cell");
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
    CheckInsideForControl(ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, true, haBeforeText, VAlignOf(VAlignment()));
    if (Data) {
        const String t = GetCellEx(ACol, ARow);
        if (t != CheckTrue && t != CheckFalse) SetCellEx(ACol, ARow, State ? CheckTrue : CheckFalse);
    }
}

void TExtStringGrid::AddCheckBox(int ACol, int ARow, plat::TCheckBoxState State) {
    CheckInsideForControl(ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, true, haBeforeText, VAlignOf(VAlignment()));
}

void TExtStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox) {
    for (int r = FMouseActions->CheckAllCheck ? 0 : FixedRows(); r < RowCount(); ++r) {
        if (GetCellType(0, r) == ctSummary) continue;
        if (GetCellType(0, r) == ctNode)
            AddCheckBox(ACol, r, plat::cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TExtStringGrid::AddTriStateCheckBoxColumn(int ACol, plat::TCheckBoxState State) {
    for (int r = FMouseActions->CheckAllCheck ? 0 : FixedRows(); r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

void TExtStringGrid::RemoveCheckBoxColumn(int ACol) {
    for (int r = FMouseActions->CheckAllCheck ? 0 : FixedRows(); r < RowCount(); ++r)
        if (HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

void TExtStringGrid::RemoveCheckBox(int ACol, int ARow) {
    if (ACol < 0 || ARow < 0) return;
    auto* g = dynamic_cast<TCellGraphic*>(GetGraphicObjectEx(ACol, ARow));
    if (!g || !TCellTypes{ctCheckBox, ctDataCheckBox, ctTriStateCheckBox}.Contains(g->CellType)) return;
    if (g->CellAngle == 1) {
        g->CellAngle = 0;
        delete g->CellBitmap;
        g->CellBitmap = nullptr;
    }
    RemoveCellGraphic(ACol, ARow);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TCellGraphic* TExtStringGrid::CheckBoxRecord(int ACol, int ARow, bool& StoredInRow) {
    StoredInRow = false;
    if (ACol < 0 || ARow < 0) return nullptr;
    if (NumHiddenRows() == 0) return GetCellGraphic(ACol, ARow);
    if (auto* p = dynamic_cast<TCellProperties*>(GetAllGridObject(ACol, ARow))) {
        if (auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject)) {
            StoredInRow = true;
            return g;
        }
    }
    return GetCellGraphic(ACol, ARow);
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State) {
    bool stored = false;
    TCellGraphic* g = CheckBoxRecord(ACol, ARow, stored);
    if (!g) return false;
    // With hidden rows the text is read in all-rows coordinates.
    auto text = [&] { return NumHiddenRows() > 0 && stored ? GetCellsEx(ACol, ARow) : GetCellEx(ACol, ARow); };
    switch (g->CellType) {
    case ctCheckBox: State = g->CellBoolean; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: State = text() == GetCheckTrue(ACol, ARow); return true;
    case ctTriStateCheckBox: State = g->CellCheckBoxState == plat::cbChecked; return true;
    case ctRowCheckBox:
        if (ACol != 0) return false;
        State = GetRowSelect(ARow);
        return true;
    default: return false;
    }
}

bool TExtStringGrid::GetCheckBoxState(int ACol, int ARow, plat::TCheckBoxState& State) {
    bool stored = false;
    TCellGraphic* g = CheckBoxRecord(ACol, ARow, stored);
    if (!g) return false;
    if (g->CellType == ctTriStateCheckBox) {
        State = g->CellCheckBoxState;
        return true;
    }
    if (g->CellType == ctRowCheckBox && ACol == 0 && NumHiddenRows() > 0 && !stored) {
        State = BoolToCheckBoxState(FCellGraphic->CellBoolean);
        return true;
    }
    bool b = false;
    if (!GetCheckBoxState(ACol, ARow, b)) return false;
    State = BoolToCheckBoxState(b);
    return true;
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, bool State) {
    bool stored = false;
    TCellGraphic* g = CheckBoxRecord(ACol, ARow, stored);
    if (!g) return false;
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = State;
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        // The text goes to the row the record was looked up in.
        const String v = State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow);
        if (NumHiddenRows() > 0)
            SetCellsEx(ACol, ARow, v);
        else
            SetCellEx(ACol, ARow, v);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        SetRowSelect(ARow, State);
        return true;
    default: return false;
    }
}

bool TExtStringGrid::SetCheckBoxState(int ACol, int ARow, plat::TCheckBoxState State) {
    bool stored = false;
    TCellGraphic* g = CheckBoxRecord(ACol, ARow, stored);
    if (!g || g->CellType != ctTriStateCheckBox) return false;
    g->CellCheckBoxState = State;
    RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TExtStringGrid::IsChecked(int ACol, int ARow) {
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TExtStringGrid::ChangeCheckBoxState(int ACol, int ARow, bool State) {
    if (ACol < 0 || ARow < 0) return false;
    TCellGraphic* g = nullptr;
    if (NumHiddenRows() > 0) {
        bool stored = false;
        g = CheckBoxRecord(ACol, RealRowIndex(ARow), stored);
    } else {
        g = GetCellGraphic(ACol, ARow);
    }
    if (!g) return false;
    switch (g->CellType) {
    case ctCheckBox:
        if (g->CellBoolean != State) {
            g->CellBoolean = State;
            CheckBoxChange(ACol, ARow, State);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool was = GetCellEx(ACol, ARow) == GetCheckTrue(ACol, ARow);
        SetCellEx(ACol, ARow, State ? GetCheckTrue(ACol, ARow) : GetCheckFalse(ACol, ARow));
        if (was != State) CheckBoxChange(ACol, ARow, State);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0) return false;
        if (GetRowSelect(RealRowIndex(ARow)) != State) {
            SetRowSelect(RealRowIndex(ARow), State);
            CheckBoxChange(ACol, ARow, State);
        }
        return true;
    default: return false;
    }
}

void TExtStringGrid::CheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) ChangeCheckBoxState(ACol, r, true);
    if (NumHiddenColumns() > 0) InvalidateCol(DisplColIndex(ACol));
}

void TExtStringGrid::UnCheckAll(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) ChangeCheckBoxState(ACol, r, false);
    if (NumHiddenColumns() > 0) InvalidateCol(DisplColIndex(ACol));
}

bool TExtStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    static constexpr TCellTypes kinds{ctCheckBox,    ctDataCheckBox, ctVirtCheckBox,
                                      ctRowCheckBox, ctRadioButton,  ctTriStateCheckBox};
    if (!g || !kinds.Contains(g->CellType)) return false;
    if (!FMouseActions->PreciseCheckBoxCheck) return true;
    const int s = FControlLook->CheckSize;
    const plat::TRect r = CellRect(DisplColIndex(ACol), ARow);
    int top = r.Top + 2;
    if (g->CellVAlign == vaBottom)
        top = r.Bottom - s - 2;
    else if (g->CellVAlign == vaCenter)
        top = r.Top + (r.Bottom - r.Top - s) / 2;
    plat::TAlignment ha = plat::taLeftJustify;
    TVAlignment va = VAlignment();
    GetCellAlignment(ACol, ARow, ha, va);
    int left = r.Left + 2;
    if (ha == plat::taCenter) {
        left = r.Left + (r.Right - r.Left - s) / 2;
    } else if (ha == plat::taRightJustify) {
        left = r.Right - s - 2;
        const String t = GetCellEx(ACol, ARow);
        if (!t.empty()) left -= Canvas()->TextWidth(t);
    }
    return XPos >= left && XPos < left + s && YPos >= top && YPos < top + s;
}

bool TExtStringGrid::ToggleCheckBoxCell(int ACol, int ARow, bool ByUser) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || !kCheckBoxes.Contains(g->CellType)) return false;
    if (ByUser && !FControlLook->CheckAlwaysActive) {
        bool allow = true;
        CheckCanEdit(ACol, ARow, allow);
        if (!allow) return false;
    }
    // The group the toggled row belongs to: its own node, else the node whose span holds it.
    int groupRow = -1, groupEnd = -1;  // real rows of the node and of the span's last row
    bool isNodeRow = false;
    if (FGrouping->AutoCheckGroup && HasNodes()) {
        isNodeRow = IsNode(ARow);
        const int parent = isNodeRow ? ARow : GetParentRow(ARow);
        if (parent >= 0) {
            groupRow = RealRowIndex(parent);
            groupEnd = NodeGroupEnd(groupRow);
        }
    }
    bool newState = false;
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = !g->CellBoolean;
        newState = g->CellBoolean;
        break;
    case ctTriStateCheckBox:
        if (isNodeRow && groupRow >= 0) {
            // A group's own box: a grayed or unchecked group becomes checked.
            g->CellCheckBoxState = g->CellCheckBoxState == plat::cbChecked ? plat::cbUnchecked : plat::cbChecked;
            newState = g->CellCheckBoxState == plat::cbChecked;
            break;
        }
        switch (g->CellCheckBoxState) {
        case plat::cbUnchecked: g->CellCheckBoxState = plat::cbGrayed; break;
        case plat::cbGrayed: g->CellCheckBoxState = plat::cbChecked; break;
        case plat::cbChecked: g->CellCheckBoxState = plat::cbUnchecked; break;
        }
        newState = false;
        break;
    case ctRowCheckBox:
        // A row check box shows the row's selection: toggling selects or unselects the row.
        newState = !GetRowSelect(RealRowIndex(ARow));
        SetRowSelect(RealRowIndex(ARow), newState);
        break;
    default: {
        const String checkTrue = GetCheckTrue(ACol, ARow);
        if (GetCellEx(ACol, ARow) != checkTrue) {
            SetCellEx(ACol, ARow, checkTrue);
            newState = true;
        } else {
            SetCellEx(ACol, ARow, GetCheckFalse(ACol, ARow));
            newState = false;
        }
        break;
    }
    }
    RepaintCell(DisplColIndex(ACol), ARow);
    CheckBoxChange(ACol, ARow, newState);
    if (groupRow >= 0) {
        // Real rows throughout: the rows of a contracted group are hidden. Without hidden
        // rows real and display rows are the same.
        if (isNodeRow) {
            for (int r = groupRow + 1; r <= groupEnd; ++r) SetCheckBoxState(ACol, r, newState);
        } else {
            bool ref = false, allSame = true;
            for (int r = groupRow + 1; r <= groupEnd; ++r) {
                bool st = false;
                GetCheckBoxState(ACol, r, st);
                if (r == groupRow + 1) ref = st;
                else if (st != ref) allSame = false;
            }
            SetCheckBoxState(ACol, groupRow, !allSame ? plat::cbGrayed : ref ? plat::cbChecked : plat::cbUnchecked);
        }
    }
    // One undoable change, in the direction the toggle went.
    if (TExtGridUndoRedo* undo = UndoRedo()) {
        const String t = GetCheckTrue(ACol, ARow), f = GetCheckFalse(ACol, ARow);
        undo->RegisterChange(ACol, ARow, newState ? t : f, newState ? f : t);
    }
    return true;
}

void TExtStringGrid::CheckBoxChange(int ACol, int ARow, bool State) {
    if (OnCheckBoxChange) OnCheckBoxChange(this, ACol, ARow, State);
}

void TExtStringGrid::CheckBoxClick(int ACol, int ARow, bool State) {
    if (OnCheckBoxClick) OnCheckBoxClick(this, ACol, ARow, State);
}

// ---- radio buttons and groups -----------------------------------------------------------

void TExtStringGrid::AddRadioButton(int ACol, int ARow, bool State) {
    CheckInsideForControl(ACol, ARow);
    CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, VAlignOf(VAlignment()));
}

void TExtStringGrid::RemoveRadioButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadioButton); }

void TExtStringGrid::AddRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void TExtStringGrid::RemoveRadioButtonColumn(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r) RemoveRadioButton(ACol, r);
}

bool TExtStringGrid::SetRadioButtonState(int ACol, int ARow, bool State) {
    if (!HasRadioButton(ACol, ARow)) return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (g->CellBoolean != State) {
        g->CellBoolean = State;
        RepaintCell(DisplColIndex(ACol), ARow);
    }
    return true;
}

void TExtStringGrid::SetRadioButtonColumnIndex(int ACol, int Index) {
    for (int r = FixedRows(); r < RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

int TExtStringGrid::GetRadioButtonColumnIndex(int ACol) {
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r)) return r;
    return -1;
}

void TExtStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, plat::TStrings* sl) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->CellType = ctRadio;
    g->CellBitmap = sl;
    g->CellCreated = false;
    g->CellAngle = sl ? sl->Count() : 0;
    g->CellBoolean = DirRadio != 0;
    g->CellIndex = IdxRadio;
}

plat::TStrings* TExtStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio) {
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    auto* sl = new plat::TStringList;
    g->CellType = ctRadio;
    g->CellBitmap = sl;
    g->CellCreated = true;
    g->CellAngle = 0;
    g->CellBoolean = DirRadio != 0;
    g->CellIndex = IdxRadio;
    return sl;
}

void TExtStringGrid::RemoveRadio(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }

bool TExtStringGrid::GetRadioIdx(int ACol, int ARow, int& IdxRadio) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    IdxRadio = g->CellIndex;
    return g->CellType == ctRadio;
}

bool TExtStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g) return false;
    g->CellIndex = IdxRadio;
    if (IdxRadio == -1) SetCellEx(ACol, ARow, String());
    RepaintCell(DisplColIndex(ACol), ARow);
    return g->CellType == ctRadio;
}

bool TExtStringGrid::SelectRadioButtonCell(int ACol, int ARow, bool ByUser) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRadioButton) return false;
    if (ByUser && !FControlLook->CheckAlwaysActive) {
        bool allow = true;
        CheckCanEdit(ACol, ARow, allow);
        if (!allow) return false;
    }
    if (g->CellBoolean) return true;
    g->CellBoolean = true;
    RepaintCell(DisplColIndex(ACol), ARow);
    for (int r = 0; r < RowCount(); ++r) {
        if (r == ARow) continue;
        TCellGraphic* o = GetCellGraphic(ACol, r);
        if (o && o->CellType == ctRadioButton && o->CellBoolean) {
            o->CellBoolean = false;
            RepaintCell(DisplColIndex(ACol), r);
        }
    }
    return true;
}

void TExtStringGrid::SelectNextRadioItem(int ACol, int ARow, bool ByKey) {
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType != ctRadio) return;
    auto* items = dynamic_cast<plat::TStrings*>(g->CellBitmap);
    // A group without items has nothing to select.
    if (!items || items->Count() == 0) return;
    if (ByKey && !FControlLook->RadioAlwaysActive) {
        bool allow = true;
        CheckCanEdit(ACol, ARow, allow);
        if (!allow) return;
    }
    int next = g->CellIndex >= 0 ? g->CellIndex + 1 : items->IndexOf(GetCellEx(ACol, ARow)) + 1;
    if (next >= items->Count()) next = 0;
    if (g->CellIndex >= -1) g->CellIndex = next;
    g->CellVar = next;
    SetCellEx(ACol, ARow, items->Strings(next));
    RepaintCell(DisplColIndex(ACol), ARow);
}

} // namespace grid
