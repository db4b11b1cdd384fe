// Mouse input of the string grid: left presses and releases (check-box glyphs, cell clicks,
// anchors, the header click sort), double clicks (header-border auto-size), the right press,
// the wheel with Ctrl+wheel zoom, Zoom, and middle-button panning with its timer, cursors and
// anchor picture. The grid's handlers run before the framework's own processing, which they
// call where a press or release continues into it.
#include <algorithm>
#include <chrono>

#include "ExtGrid.h"
#include "ExtUtil.h"
#include "EsgHTMLE.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Process.h"
#include "plat/Resources.h"
#include "plat/SysUtils.h"
#include "plat/Timers.h"

namespace grid {

using plat::TMessage;

namespace {

constexpr std::uintptr_t kPanTimer = 999;
constexpr int kPanTimerMs = 10;
constexpr int kPanDeadZone = 5;
constexpr int kPanAnchorSize = 32;
// Rows a wheel notch moves when the platform reports no setting of its own.
constexpr int kWheelScrollLines = 3;

// The key state of a button message: Shift and Ctrl from its flags, Alt from the keyboard.
plat::TShiftState KeysOf(plat::WPARAM w) {
    plat::TShiftState s = 0;
    if (w & plat::MK_SHIFT) s |= plat::ssShift;
    if (w & plat::MK_CONTROL) s |= plat::ssCtrl;
    if (plat::GetKeyState(plat::VK_MENU) < 0) s |= plat::ssAlt;
    return s;
}

// The shift state of a press: exactly one of Alt, Shift or Ctrl, in that order of precedence.
plat::TShiftState ShiftOfPress(plat::TShiftState keys) {
    if (keys & plat::ssAlt) return plat::ssAlt;
    if (keys & plat::ssShift) return plat::ssShift;
    if (keys & plat::ssCtrl) return plat::ssCtrl;
    return 0;
}

// Only web and mail addresses leave the program; local files and programs named by an anchor
// are never started.
bool IsOpenableAddress(const String& anchor) {
    const String u = plat::AnsiUpperCase(plat::Trim(anchor));
    for (const char16_t* scheme : {u"HTTP://", u"HTTPS://", u"MAILTO:", u"FTP://"})
        if (u.starts_with(scheme) && u.size() > std::char_traits<char16_t>::length(scheme)) return true;
    return false;
}

} // namespace

void TExtStringGrid::InheritedWndProc(TMessage& Message) { TBaseGrid::WndProc(Message); }

bool TExtStringGrid::MouseMessage(TMessage& Message) {
    switch (Message.Msg) {
    case plat::WM_LBUTTONDOWN:
        if (FWheelPan) EndPanning();
        HideHoverBalloon();
        return LeftPress(Message);
    case plat::WM_LBUTTONUP:
        return LeftRelease(Message);
    case plat::WM_LBUTTONDBLCLK:
        if (FWheelPan) EndPanning();
        return LeftDoubleClick(Message);
    case plat::WM_RBUTTONDOWN:
        if (FWheelPan) EndPanning();
        HideHoverBalloon();
        return RightPress(Message);
    case plat::WM_RBUTTONUP:
        // A right release does not end a row or column move.
        if (EnhRowColMove && (GridState() == plat::gsColMoving || GridState() == plat::gsRowMoving)) {
            Message.Result = 0;
            return true;
        }
        return false;
    case plat::WM_CANCELMODE:
        // The mouse is taken away: a move, fixed-line sizing or resizer drag ends with no change.
        if (GridState() == plat::gsColMoving || GridState() == plat::gsRowMoving) EndMoveFeedback(true);
        if (FSizingFixed) DrawColSizingLine(FSizeFixedX);
        if (FSizingFixedR) DrawRowSizingLine(FSizeFixedY);
        FSizingFixed = FSizingFixedR = FSizeFixed = FSizeFixedR = false;
        FMouseResize = false;
        HideSizingHint();
        return false;
    case plat::WM_MBUTTONDOWN:
        if (FWheelPan) {
            EndPanning();
            return false;
        }
        if (IntelliPan != ipNone && RowCount() > FixedRows()) {
            StartPanning(plat::PointFromLParam(Message.LParam));
            Message.Result = 0;
            return true;
        }
        return false;
    case plat::WM_KEYDOWN:
        if (FWheelPan) EndPanning();
        return false;
    case plat::WM_TIMER:
        if (FWheelPan && Message.WParam == kPanTimer) {
            PanStep();
            return true;
        }
        return BalloonTimer(Message.WParam);
    case plat::WM_MOUSEWHEEL:
        if (FWheelPan) return true;
        return WheelMessage(Message);
    case plat::WM_SETCURSOR:
        return SetCursorMessage(Message);
    case plat::CM_MOUSELEAVE:
        InheritedWndProc(Message);
        MouseLeft();
        return true;
    default: return false;
    }
}

// ---- left press ---------------------------------------------------------------------------

bool TExtStringGrid::LeftPress(TMessage& Message) {
    const TPoint p = plat::PointFromLParam(Message.LParam);
    const plat::TShiftState keys = KeysOf(Message.WParam);
    FFilterOpenAtPress = FilterListOpen() ? FFilterCol : -1;
    FDoOnClick = true;
    FMouseDownMove = true;
    FMouseKeepDown = true;
    const plat::TRect grip = SelectionResizerGrip();
    if (PressSelectionResizer(p, p.X >= grip.Left && p.X < grip.Right && p.Y >= grip.Top && p.Y < grip.Bottom, Message))
        return true;
    int ACol = -1, ARow = -1;
    MouseToCell(p.X, p.Y, ACol, ARow);
    if (OnCanClickCell) {
        bool allow = true;
        OnCanClickCell(this, ARow, ACol, allow);
        if (!allow) {
            FDoOnClick = FMouseDownMove = FMouseKeepDown = false;
            Message.Result = 0;
            return true;
        }
    }
    // The cell whose border a sizing press grabs: 5 pixels left and 4 above the press.
    MouseToCell(ACol == 0 ? p.X : p.X - 5, ARow == 0 ? p.Y : p.Y - 4, Colclicked, Rowclicked);
    Clickposx = p.X;
    Clickposy = p.Y;
    FPressCol = ACol;
    FPressRow = ARow;
    if (ACol < 0 || ARow < 0) {
        HideEditor();
        if (!FixedRowAlways) InheritedWndProc(Message);
        return true;
    }
    // A press on a fixed line's border that the hover marked sizes it; the release applies it.
    if (PressFixedSizing(p)) {
        Message.Result = 0;
        return true;
    }
    const bool fixedCell = ACol < FixedCols() || ARow < FixedRows();
    if (FMouseActions->CaretPositioning) LButFlg = !fixedCell;
    if (fixedCell || IsFixed(RealColIndex(ACol), ARow)) HideEditor();
    if (ACol >= ColCount() || ARow >= RowCount()) {
        InheritedWndProc(Message);
        return true;
    }
    const int real = RealColIndex(ACol);
    // An open list, spin, date or button editor belongs to the current cell: a press on another
    // cell validates and closes it there first; a refused value keeps it open and the press ends.
    if (EditMode && FSpecialEditor && !fixedCell && (ACol != Col() || ARow != Row())) {
        DoneInplaceEdit(0, 0);
        if (EditMode) {
            Message.Result = 0;
            return true;
        }
    }
    FPushedCellButton = {-1, -1};
    if (PressOnCellControls(ACol, ARow, p, ShiftOfPress(keys))) {
        Message.Result = 0;
        return true;
    }
    if (DragStartPress(ACol, ARow, p, ShiftOfPress(keys))) {
        Message.Result = 0;
        return true;
    }
    if (DisjunctPress(ACol, ARow, keys, Message)) return true;

    bool canEdit = Options().Contains(plat::goEditing) || FMouseActions->RangeSelectAndEdit;
    CheckCanEdit(real, ARow, canEdit);

    // A press on a check-box glyph toggles it and is no cell click.
    if ((canEdit || FControlLook->CheckAlwaysActive) && HasRadioButton(real, ARow) && IsInCheckBox(real, ARow, p.X, p.Y)) {
        // A radio button of a column is selected like a check box is toggled.
        HideEditor();
        if (CanFocus() && !Focused()) SetFocus();
        if (SelectRadioButtonCell(real, ARow, true)) {
            if (OnRadioButtonClick) OnRadioButtonClick(this, real, ARow);
            if (!Navigation()->AlwaysEdit && !fixedCell) FocusCell(ACol, ARow);
        }
        if (OnMouseDown) OnMouseDown(this, plat::mbLeft, plat::KeyboardStateToShiftState(), p.X, p.Y);
        if (OnClick) OnClick(this);
        Message.Result = 0;
        return true;
    }
    if ((canEdit || FControlLook->CheckAlwaysActive) && HasCheckBox(real, ARow) && IsInCheckBox(real, ARow, p.X, p.Y)) {
        HideEditor();
        if (CanFocus() && !Focused()) SetFocus();
        if (ToggleCheckBoxCell(real, ARow, true)) {
            if (FShowModified->Enabled()) {
                SetRowModified(ARow, true);
                RepaintCell(0, ARow);
            }
            bool state = false;
            GetCheckBoxState(real, ARow, state);
            if (!Navigation()->AlwaysEdit && !fixedCell) FocusCell(ACol, ARow);
            CheckBoxClick(real, ARow, state);
        }
        if (OnMouseDown) OnMouseDown(this, plat::mbLeft, plat::KeyboardStateToShiftState(), p.X, p.Y);
        if (OnClick) OnClick(this);
        Message.Result = 0;
        return true;
    }

    // Anchors in markup or URL cells act instead of the press.
    if (!fixedCell && AnchorPress(ACol, ARow, p.X, p.Y)) {
        Message.Result = 0;
        return true;
    }

    PressHeaderSelect(ACol, ARow, keys);
    InheritedWndProc(Message);
    const plat::TGridState state = GridState();
    if (state == plat::gsColSizing || state == plat::gsRowSizing) {
        // The line the framework sizes and its size now, for the end of the sizing.
        plat::TGridState st = plat::gsNormal;
        int index = -1, pos = 0, ofs = 0;
        TBaseGrid::CalcSizingState(p.X, p.Y, st, index, pos, ofs);
        FUserSizing = st == state ? index : -1;
        if (FUserSizing >= 0) FUserSizingStart = st == plat::gsColSizing ? ColWidths(index) : RowHeights(index);
    }
    if (fixedCell) FixedEditPress(ACol, ARow, p, plat::mbLeft, false);
    const plat::TRect r = CellRect(ACol, ARow);
    const bool onSizingBorder =
        ARow < FixedRows() && Options().Contains(plat::goColSizing) && (p.X - r.Left < 4 || r.Right - p.X < 4);
    if (!onSizingBorder && OnClickCell) OnClickCell(this, ARow, ACol);
    // Direct edit opens the editor on the pressed normal cell.
    if (!fixedCell && canEdit && FMouseActions->DirectEdit && p.X - r.Left > 3 && r.Right - p.X > 3 &&
        Col() == ACol && Row() == ARow && !(keys & (plat::ssShift | plat::ssCtrl)))
        ShowEditor();
    return true;
}

// ---- anchors -----------------------------------------------------------------------------

bool TExtStringGrid::AnchorPress(int ACol, int ARow, int X, int Y) {
    const int real = RealColIndex(ACol);
    const String text = GetCellEx(real, ARow);
    const bool markup = EnableHTML && DetectCellTextKind(text, true) == 1;
    if (!markup && !(URLShow() && IsHyperlink(text))) return false;
    String anchor;
    if (!markup) {
        anchor = text;
    } else {
        // The markup engine hit-tests the press on a scratch canvas laid out like the cell.
        const plat::TRect cell = CellRect(ACol, ARow);
        plat::TBitmap scratch(std::max(1, cell.Width()), std::max(1, cell.Height()));
        scratch.Canvas()->Font()->Assign(*Font());
        TMarkupDrawInput in;
        in.Canvas = scratch.Canvas();
        in.Text = text;
        int left = FXYOffset.X + 1;
        if (HasCheckBox(real, ARow)) left += FControlLook->CheckSize;
        in.Rect = plat::Rect(left, FXYOffset.Y + 1, cell.Width() - FXYOffset.X, cell.Height());
        in.XPos = X - cell.Left;
        in.YPos = Y - cell.Top;
        TMarkupDrawResult out;
        if (!DrawMarkupText(in, out) || out.AnchorVal.empty()) return false;
        if (out.AnchorVal == u"ctrl") {
            // A running control edit writes its value back before the press acts on the text.
            ControlEditDone();
            if (!MarkupControlPress(ACol, ARow, out.ControlID, out.ControlType)) return false;
            if (CanFocus() && !Focused()) SetFocus();
            // Controls that take text open their editor over the control.
            const String now = GetCellEx(real, ARow);
            String value;
            GetMarkupControlValue(now, out.ControlID, value);
            const plat::TRect& c = out.ControlRect;
            ShowCellControlEditor(now, out.ControlType, ARow, real, ACol,
                                  plat::Rect(c.Left + cell.Left, c.Top + cell.Top, c.Right + cell.Left, c.Bottom + cell.Top),
                                  value, out.ControlID);
            return true;
        }
        anchor = out.AnchorVal;
    }
    bool autoHandle = true;
    if (OnAnchorClick) OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
    if (autoHandle) FollowAnchor(ACol, ARow, anchor);
    return true;
}

void TExtStringGrid::FollowAnchor(int, int, const String& Anchor) {
    const String upper = plat::AnsiUpperCase(Anchor);
    const auto at = upper.find(u"CELL://");
    if (at != String::npos) {
        // A reference to a cell of this grid; one outside it does nothing.
        TPoint cell;
        if (!ParseCellReference(StringView(Anchor).substr(at + 7), cell)) return;
        if (cell.X < 0 || cell.Y < 0 || cell.X >= ColCount() || cell.Y >= RowCount()) return;
        if (cell.X < FixedCols() || cell.Y < FixedRows()) return;
        FocusCell(cell.X, cell.Y);
        return;
    }
    if (IsOpenableAddress(Anchor)) plat::ShellOpen(plat::Trim(Anchor));
}

// ---- left release and click sort ---------------------------------------------------------

bool TExtStringGrid::LeftRelease(TMessage& Message) {
    const TPoint p = plat::PointFromLParam(Message.LParam);
    const plat::TShiftState keys = KeysOf(Message.WParam);
    const plat::TGridState before = GridState();
    const bool movedOrSized = before == plat::gsColSizing || before == plat::gsRowSizing ||
                              before == plat::gsColMoving || before == plat::gsRowMoving || FSizingFixed ||
                              FSizingFixedR;
    const bool pressed = FMouseKeepDown;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseDownMove = false;
    FDoOnClick = false;
    int ACol = -1, ARow = -1;
    MouseToCell(p.X, p.Y, ACol, ARow);
    ReleaseFixedSizing(p.X, p.Y);
    ReleaseMarkupButton();
    const bool buttonHeld = FPushedCellButton.X >= 0;
    if (ReleaseCellButton(p) || buttonHeld) {
        InheritedWndProc(Message);
        return true;
    }
    if (pressed && ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()) DisjunctRelease(ACol, ARow);
    ReleaseMoveAndSize(p.X, p.Y);
    const bool userSizing = FUserSizing >= 0 && (before == plat::gsColSizing || before == plat::gsRowSizing);
    if (userSizing) NoteUserSizing(before == plat::gsColSizing, FUserSizing, FUserSizingStart);
    InheritedWndProc(Message);
    if (userSizing) {
        // A sizing that left the size as it was leaves no note for a later change.
        NoteUserSizing(before == plat::gsColSizing, -1, 0);
    }
    FUserSizing = -1;
    ReleaseSelectionResizer();
    if (pressed && !movedOrSized && FilterButtonRelease(ACol, ARow, p.X, p.Y)) {
        FDblClk = false;
        return true;
    }
    if (!pressed || movedOrSized || ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) {
        FDblClk = false;
        return true;
    }
    if (ACol >= FixedCols() || SortSettings()->FixedCols) {
        const int real = RealColIndex(ACol);
        if (OnCheckBoxMouseUp && HasCheckBox(real, ARow)) {
            bool state = false;
            GetCheckBoxState(real, ARow, state);
            OnCheckBoxMouseUp(this, real, ARow, state);
        }
        int index = -1;
        if (OnRadioMouseUp && IsRadio(real, ARow) && GetRadioIdx(real, ARow, index))
            OnRadioMouseUp(this, real, ARow, index);
    }
    ClickSortAt(ACol, ARow, p.X, keys);
    return true;
}

void TExtStringGrid::ClickSortAt(int ACol, int ARow, int X, plat::TShiftState Shift) {
    if (FDblClk) {
        // The release after a double-click auto-size does not sort.
        FDblClk = false;
        return;
    }
    if (ACol < FixedCols() && !SortSettings()->FixedCols) return;
    const int real = RealColIndex(ACol);
    const plat::TRect r = CellRect(ACol, ARow);
    if (ARow == 0 && Options().Contains(plat::goColSizing) && (X - r.Left < 4 || r.Right - X < 4)) return;
    if (X > r.Right - 16 && GetColumnFilter(real)) return;
    TSortSettings& s = *SortSettings();
    if (ARow != s.Row() || FPressRow != s.Row() || FixedRows() <= 0 || !s.Show() || RowCount() <= 2) return;
    if (HasCheckBox(real, ARow) && IsInCheckBox(real, ARow, X, Clickposy)) return;
    bool allow = !IsIgnoredColumn(real);
    if (OnCanSort) OnCanSort(this, real, allow);
    if (!allow) {
        RepaintCell(ACol, ARow);
        return;
    }
    HideEditor();
    if (static_cast<int>(SortRowXRef().size()) != RowCount()) InitSortXRef();
    const auto started = std::chrono::steady_clock::now();
    const TSortDirection opposite = s.InitSortDirection == sdAscending ? sdDescending : sdAscending;
    if (s.IndexShow) {
        TSortIndexList& list = *SortIndexes();
        const bool key = s.IndexSortKey == ikShift ? (Shift & plat::ssShift) != 0 : (Shift & plat::ssCtrl) != 0;
        const int at = list.FindIndex(real);
        if (key) {
            if (at >= 0)
                list.ToggleIndex(real);
            else
                list.AddIndex(real, opposite == sdAscending);
        } else if (list.Count() == 1 && at == 0) {
            list.ToggleIndex(real);
        } else {
            list.Clear();
            list.AddIndex(real, opposite == sdAscending);
        }
        if (list.Count() > 0) {
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
        }
        s.Column = list.Count() > 0 ? list.SortColumns(0) : -1;
    } else {
        bool unsort = false;
        if (s.Column == real) {
            s.ToggleDirection();
            unsort = s.UndoSort && s.Direction == s.InitSortDirection;
        } else {
            s.Column = real;
            s.Direction = s.InitSortDirection;
        }
        if (unsort) {
            QUnSort();
            s.Column = -1;
        } else if (HasNodes()) {
            QSortGroup();
        } else {
            QSort();
        }
    }
    SortTime = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count());
    Invalidate();
    ClickSort(s.Column);
}

// ---- double click ------------------------------------------------------------------------

bool TExtStringGrid::LeftDoubleClick(TMessage& Message) {
    const TPoint p = plat::PointFromLParam(Message.LParam);
    int ACol = -1, ARow = -1;
    MouseToCell(p.X, p.Y, ACol, ARow);
    FMouseKeepDown = true;
    FPressRow = ARow;
    FPressCol = ACol;
    if (ACol < 0 || ARow < 0) {
        InheritedWndProc(Message);
        return true;
    }
    if (ARow < FixedRows() && Options().Contains(plat::goColSizing) && FMouseActions->AutoSizeColOnDblClick) {
        const plat::TRect r = CellRect(ACol, ARow);
        int target = -1;
        if (p.X - r.Left <= 3)
            target = ACol - 1;
        else if (r.Right - p.X <= 3)
            target = ACol;
        if (target >= FixedCols()) {
            // Display columns, as the sizing veto of a border drag names them.
            FDblClk = true;
            bool allow = true;
            if (OnColumnSize) OnColumnSize(this, target, allow);
            if (allow) {
                AutoSizeCol(target, 0);
                if (OnEndColumnSize) OnEndColumnSize(this, target);
            }
            InheritedWndProc(Message);
            return true;
        }
    }
    InheritedWndProc(Message);
    if (OnDblClickCell && ACol < ColCount() && ARow < RowCount()) OnDblClickCell(this, ARow, ACol);
    FixedEditPress(ACol, ARow, p, plat::mbLeft, true);
    return true;
}

// ---- right press -------------------------------------------------------------------------

bool TExtStringGrid::RightPress(TMessage& Message) {
    const TPoint p = plat::PointFromLParam(Message.LParam);
    const plat::TShiftState keys = KeysOf(Message.WParam);
    InheritedWndProc(Message);
    int ACol = -1, ARow = -1;
    MouseToCell(p.X, p.Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return true;
    const bool fixedCell = ACol < FixedCols() || ARow < FixedRows();
    if (fixedCell) FixedEditPress(ACol, ARow, p, plat::mbRight, false);
    const int real = RealColIndex(ACol);
    if (FMouseActions->SelectOnRightClick && !fixedCell && !IsFixed(real, ARow) &&
        !(FMouseActions->DisjunctCellSelect() && SelectedCells(real, ARow))) {
        if (!IsControlCell(real, ARow)) {
            if (OnRightClickCell) {
                FocusCell(ACol, ARow);
            } else {
                // The right press selects like a plain left click there; a derived grid's
                // reaction to a left press (a column's left-click menu) stays out of it.
                TBaseGrid::MouseDown(plat::mbLeft, 0, p.X, p.Y);
                TBaseGrid::MouseUp(plat::mbLeft, 0, p.X, p.Y);
            }
        }
        const plat::TGridRect sel = Selection();
        const bool selected = ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
        if (selected) {
            // Asked for its answer's side effects only: a selected cell stays selected.
            bool can = true;
            if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
        } else {
            const TPoint b = BaseCell(real, ARow);
            const int left = LeftCol();
            FocusCell(DisplColIndex(b.X), b.Y);
            if (Navigation()->KeepHorizScroll && LeftCol() != left) SetLeftCol(left);
        }
        if (FMouseActions->DisjunctRowSelect()) {
            const int markRow = FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow;
            if ((keys & plat::ssCtrl) || FMouseActions->DisjunctRowSelectNoCtrl) {
                SetRowSelect(markRow, !GetRowSelect(markRow));
            } else if (!(RowSelectCount() > 1 && PopupMenu() && GetRowSelect(markRow))) {
                // A popup menu acts on the marked rows when the press is on one of them;
                // otherwise the pressed row alone is marked.
                ClearRowSelect();
                SetRowSelect(markRow, true);
            }
            Invalidate();
        }
    }
    if (OnRightClickCell) OnRightClickCell(this, ARow, ACol);
    if (URLShow() && URLEdit && !fixedCell && IsHyperlink(GetCellEx(real, ARow))) {
        // The link is edited, not followed: the editor opens when the cell may be edited.
        FocusCell(ACol, ARow);
        if (Col() == ACol && Row() == ARow) {
            if (CanFocus() && !Focused()) SetFocus();
            ShowEditor();
        }
    }
    return true;
}

// ---- wheel and zoom ----------------------------------------------------------------------

void TExtStringGrid::AfterMouseWheel(int, bool&) {}

bool TExtStringGrid::WheelMessage(TMessage& Message) {
    // The parent may take the wheel first.
    if (Parent() && Parent()->Perform(plat::CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0) {
        InheritedWndProc(Message);
        return true;
    }
    const int delta = static_cast<std::int16_t>(plat::HiWord(Message.WParam));
    const plat::WPARAM mk = plat::LoWord(Message.WParam);
    const int wheelLines = kWheelScrollLines;
    if ((mk & plat::MK_CONTROL) && IntelliZoom) {
        Zoom(delta < 0 ? wheelLines : -wheelLines);
        AutoSizeCells(true, 4, 4);
        return true;
    }
    if (!EnableWheel || (FixedRowAlways && RowCount() == 1)) return true;
    int n = FMouseActions->WheelIncrement;
    if (n < 1) n = wheelLines;
    const bool towardsUser = delta < 0;
    const TWheelAction action = FMouseActions->WheelAction();
    const plat::TGridRect oldSel = Selection();
    int target = Row();
    if (action == waScroll) {
        if (towardsUser) {
            if (TopRow() < RowCount() - VisibleRowCount())
                SetTopRow(std::min(TopRow() + n, std::max(FixedRows(), RowCount() - VisibleRowCount())));
        } else {
            if (TopRow() - n < FixedRows()) n = TopRow() - FixedRows();
            if (TopRow() > FixedRows()) SetTopRow(TopRow() - n);
        }
    } else {
        target = towardsUser ? Row() + n : Row() - n;
    }
    target = std::clamp(target, FixedRows(), std::max(FixedRows(), RowCount() - FixedFooters - 1));
    if (Col() > ColCount() - 1) SetCol(ColCount() - 1);
    if (Col() < FixedCols() && FixedCols() < ColCount()) SetCol(FixedCols());
    int moved = 0;
    if (target >= 0 && target < RowCount()) {
        if (FMouseActions->DisjunctRowSelect() && action == waMoveSelection) ClearRowSelect();
        moved = target - Row();
        if (action == waMoveSelection && target != Row()) {
            SetRow(target);
            if (Row() != target) {
                // The target refused selection: go halfway.
                SetRow(Row() + static_cast<int>(std::nearbyint((target - Row()) / 2.0)));
                if (TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
            }
        }
    }
    bool cont = true;
    AfterMouseWheel(moved, cont);
    if (cont && (FMouseActions->WheelIncrement != 0 || FMouseActions->DisjunctRowSelect())) {
        Message.Result = 1;
        bool handled = false;
        const plat::TShiftState shift = FMouseActions->DisjunctRowSelect() ? plat::KeyboardStateToShiftState() : 0;
        const TPoint at = FMouseActions->DisjunctRowSelect() ? plat::PointFromLParam(Message.LParam) : TPoint{0, 0};
        if (delta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, at, handled);
        if (delta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, at, handled);
    }
    const plat::TGridRect sel = Selection();
    if (sel.Left != oldSel.Left || sel.Top != oldSel.Top || sel.Right != oldSel.Right || sel.Bottom != oldSel.Bottom)
        Invalidate();
    return true;
}

bool TExtStringGrid::DoMouseWheelDown(plat::TShiftState Shift, TPoint MousePos) {
    if (FMouseActions->WheelAction() == waScroll || !EnableWheel) {
        bool handled = false;
        if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
        return handled;
    }
    const bool direct = FMouseActions->DirectEdit;
    FMouseActions->DirectEdit = false;
    const bool editing = EditorMode();
    const bool r = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
    FMouseActions->DirectEdit = direct;
    if (editing && CanFocus()) SetFocus();
    return r;
}

bool TExtStringGrid::DoMouseWheelUp(plat::TShiftState Shift, TPoint MousePos) {
    if (FMouseActions->WheelAction() == waScroll || !EnableWheel) {
        bool handled = false;
        if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
        return handled;
    }
    if (!(Row() < RowCount() && Col() < ColCount())) return true;
    const bool direct = FMouseActions->DirectEdit;
    FMouseActions->DirectEdit = false;
    const bool editing = EditorMode();
    const bool r = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    FMouseActions->DirectEdit = direct;
    if (editing && CanFocus()) SetFocus();
    return r;
}

void TExtStringGrid::Zoom(int x) {
    if (FZoomFactor + x < -10 || FZoomFactor + x > 10) return;
    BeginUpdate();
    for (int c = 0; c < ColCount(); ++c)
        if (ColWidths(c) > 0 && ColWidths(c) + x > 0) SetColWidths(c, ColWidths(c) + x);
    for (int r = 0; r < RowCount(); ++r)
        if (RowHeights(r) > 0 && RowHeights(r) + x > 0) SetRowHeights(r, RowHeights(r) + x);
    FZoomFactor += x;
    EndUpdate();
}

// ---- panning -----------------------------------------------------------------------------

void TExtStringGrid::StartPanning(TPoint At) {
    static const bool installed = [] {
        for (int id = 8000; id <= 8008; ++id)
            if (!plat::Screen->Cursors(id)) plat::Screen->SetCursors(id, plat::LoadCursorResource(id));
        return true;
    }();
    (void)installed;
    FPrevCursor = Cursor();
    SetCursor(8000);
    plat::SetCursor(8000);
    FWheelPan = true;
    FWheelPanPos = At;
    if (HandleAllocated()) plat::SetTimer(Handle(), kPanTimer, kPanTimerMs);
    plat::SetCapture(Handle());
    SetShowHint(false);
    InvalidatePanAnchor();
}

void TExtStringGrid::EndPanning() {
    if (!FWheelPan) return;
    plat::ReleaseCapture();
    if (HandleAllocated()) plat::KillTimer(Handle(), kPanTimer);
    SetCursor(FPrevCursor);
    SetShowHint(true);
    FWheelPan = false;
    InvalidatePanAnchor();
}

void TExtStringGrid::InvalidatePanAnchor() {
    const plat::TRect r = plat::Bounds(FWheelPanPos.X, FWheelPanPos.Y, kPanAnchorSize, kPanAnchorSize);
    InvalidateRect(&r, false);
}

void TExtStringGrid::PaintPanAnchor() {
    const char16_t* name = IntelliPan == ipVertical ? u"INTLI3" : IntelliPan == ipHorizontal ? u"INTLI2" : u"INTLI1";
    plat::TBitmap picture;
    if (!plat::LoadBitmapResource(name, picture) || picture.Empty()) return;
    picture.SetTransparentColor(picture.Canvas()->Pixels(0, 0));
    picture.SetTransparent(true);
    Canvas()->Draw(FWheelPanPos.X, FWheelPanPos.Y, &picture);
}

void TExtStringGrid::PanStep() {
    const TPoint at = ScreenToClient(plat::GetCursorPos());
    int v = 0, h = 0;
    if (IntelliPan != ipHorizontal) v = at.Y < FWheelPanPos.Y - kPanDeadZone ? -1 : at.Y > FWheelPanPos.Y + kPanDeadZone ? 1 : 0;
    if (IntelliPan != ipVertical) h = at.X < FWheelPanPos.X - kPanDeadZone ? -1 : at.X > FWheelPanPos.X + kPanDeadZone ? 1 : 0;
    const int lastRow = RowCount() - FixedFooters - 1;
    const int lastCol = ColCount() - FixedRightCols - 1;
    if (Row() < FixedRows() && FixedRows() <= lastRow) SetRow(FixedRows());
    if (Row() > lastRow && lastRow >= FixedRows()) SetRow(lastRow);
    if (Col() < FixedCols() && FixedCols() <= lastCol) SetCol(FixedCols());
    if (Col() > lastCol && lastCol >= FixedCols()) SetCol(lastCol);
    const plat::TGridRect oldSel = Selection();
    if (FMouseActions->WheelAction() == waScroll) {
        if (h < 0 && LeftCol() > FixedCols()) {
            InvalidatePanAnchor();
            SetLeftCol(LeftCol() - 1);
        }
        if (h > 0 && LeftCol() < ColCount() - VisibleColCount()) {
            InvalidatePanAnchor();
            SetLeftCol(LeftCol() + 1);
        }
        if (v < 0 && TopRow() > FixedRows()) {
            InvalidatePanAnchor();
            SetTopRow(TopRow() - 1);
        }
        if (v > 0 && TopRow() < RowCount() - VisibleRowCount()) {
            InvalidatePanAnchor();
            SetTopRow(TopRow() + 1);
        }
    } else {
        if (h < 0 && Col() > FixedCols()) SetCol(Col() - 1);
        if (h > 0 && Col() < lastCol) SetCol(Col() + 1);
        if (v < 0 && Row() > FixedRows()) SetRow(Row() - 1);
        if (v > 0 && Row() < lastRow) SetRow(Row() + 1);
        InvalidatePanAnchor();
    }
    // Direction cursors: neutral 8000, down 8001, left 8002, right 8003, up 8004, up-right 8005,
    // up-left 8006, down-right 8007, down-left 8008.
    int cursor = 8000;
    if (v > 0 && h == 0) cursor = 8001;
    else if (v == 0 && h < 0) cursor = 8002;
    else if (v == 0 && h > 0) cursor = 8003;
    else if (v < 0 && h == 0) cursor = 8004;
    else if (v < 0 && h > 0) cursor = 8005;
    else if (v < 0 && h < 0) cursor = 8006;
    else if (v > 0 && h > 0) cursor = 8007;
    else if (v > 0 && h < 0) cursor = 8008;
    SetCursor(cursor);
    plat::SetCursor(cursor);
    const plat::TGridRect sel = Selection();
    if (sel.Left != oldSel.Left || sel.Top != oldSel.Top || sel.Right != oldSel.Right || sel.Bottom != oldSel.Bottom)
        Invalidate();
}

} // namespace grid
