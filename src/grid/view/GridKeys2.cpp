// Keys whose effect depends on the grid's navigation settings, handled before the framework's
// navigation sees them.
#include "GridKeys2.h"

#include <algorithm>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "EsgHTMLE.h"
#include "ExtUtil.h"
#include "plat/Messages.h"

namespace grid {

bool GridCharFilter(TExtStringGrid& g, plat::TMessage& Message);

namespace {

plat::TShiftState KeyboardShift() {
    plat::TShiftState s = 0;
    if (plat::GetKeyState(plat::VK_SHIFT) < 0) s |= plat::ssShift;
    if (plat::GetKeyState(plat::VK_CONTROL) < 0) s |= plat::ssCtrl;
    if (plat::GetKeyState(plat::VK_LMENU) < 0) s |= plat::ssAlt;
    return s;
}

void FireKeyDown(TExtStringGrid& g, std::uint16_t Key, plat::TShiftState Shift) {
    if (g.OnKeyDown) {
        std::uint16_t k = Key;
        g.OnKeyDown(&g, k, Shift);
    }
}

bool FloatingFooterShown(TExtStringGrid& g) { return g.FloatingFooter() && g.FloatingFooter()->Visible(); }

// MoveScrollOnly: the page keys, Home, End, Up and Down change only the top row.
bool ScrollOnly(TExtStringGrid& g, std::uint16_t Key) {
    const int top = g.TopRow(), vis = g.VisibleRowCount(), fr = g.FixedRows(), rc = g.RowCount();
    int t = top;
    switch (Key) {
    case plat::VK_PRIOR: t = top > vis + fr ? top - vis : fr; break;
    case plat::VK_NEXT: if (top + vis < rc) t = top + vis; break;
    case plat::VK_END: t = rc - vis; break;
    case plat::VK_HOME: t = fr; break;
    case plat::VK_UP: if (top > fr) t = top - 1; break;
    case plat::VK_DOWN: if (top + vis < rc) t = top + 1; break;
    default: return false;
    }
    t = std::clamp(t, fr, std::max(fr, rc - vis));
    if (t != top) g.SetTopRow(t);
    return true;
}

// HomeEndKey heFirstLastCell and heFirstLastRow (Home and End without Ctrl).
bool HomeEnd(TExtStringGrid& g, std::uint16_t Key, plat::TShiftState Shift) {
    const THomeEndAction mode = g.Navigation()->HomeEndKey;
    if (mode == heFirstLastColumn) return false;
    if (g.FixedRowAlways && g.RowCount() == 1) return false;
    const bool home = Key == plat::VK_HOME;
    const int rc = g.RowCount();
    if (mode == heFirstLastCell) {
        g.MoveColRow(home ? g.FixedCols() : g.ColCount() - 1, home ? g.FixedRows() : rc - 1, true, true);
    } else {
        const int startRow = g.Row();
        int row = g.FixedRows();
        if (!home) row = FloatingFooterShown(g) && rc > 2 ? rc - 2 : rc - g.FixedFooters - 1;
        g.MoveColRow(g.Col(), row, true, true);
        if (!home && (g.FixedFooters > 0 || FloatingFooterShown(g))) g.SetTopRow(std::max(g.FixedRows(), rc - g.VisibleRowCount()));
        if (Shift & plat::ssShift) {
            // The rows from the one the key was pressed on to the new one, all columns.
            g.SetSelection({0, std::min(startRow, row), g.ColCount() - 1, std::max(startRow, row)});
        }
    }
    FireKeyDown(g, Key, Shift);
    return true;
}

// CursorAdvance caSnake and caLoop: the arrows wrap at the grid's edges.
bool Wrap(TExtStringGrid& g, std::uint16_t Key) {
    const TCursorAdvance mode = g.Navigation()->CursorAdvance;
    if (mode == caDefault) return false;
    const bool snake = mode == caSnake;
    const int c = g.Col(), r = g.Row(), fc = g.FixedCols(), fr = g.FixedRows();
    const int lastRow = g.RowCount() - g.FixedFooters - 1, lastCol = g.ColCount() - g.FixedRightCols - 1;
    int nc = c, nr = r;
    switch (Key) {
    case plat::VK_LEFT:
        if (c != fc) return false;
        nc = lastCol;
        if (snake && r > fr) nr = r - 1;
        break;
    case plat::VK_UP:
        if (r != fr) return false;
        nr = lastRow;
        if (snake && c > fc) nc = c - 1;
        break;
    case plat::VK_RIGHT:
        if (c != g.ColCount() - 1) return false;
        nc = fc;
        if (snake && r < lastRow) nr = r + 1;
        break;
    case plat::VK_DOWN:
        if (r != g.RowCount() - 1) return false;
        nr = fr;
        if (snake && c < lastCol) nc = c + 1;
        break;
    default:
        return false;
    }
    FireKeyDown(g, Key, 0);
    g.MoveColRow(nc, nr, true, true);
    return true;
}

// AppendOnArrowDown: Down on the last normal row first appends a row (OnCanAddRow may refuse)
// and reports it with OnAutoAddRow; the framework then moves into it.
void AppendOnDown(TExtStringGrid& g) {
    const int rc = g.RowCount();
    const bool atLast = FloatingFooterShown(g) ? g.Row() + 2 == rc : g.Row() + 1 == rc - g.FixedFooters;
    if (!atLast) return;
    bool allow = true;
    if (g.OnCanAddRow) g.OnCanAddRow(&g, allow);
    if (!allow) return;
    // Below the last normal row, so that footer rows stay last.
    const int at = FloatingFooterShown(g) ? rc - 1 : rc - g.FixedFooters;
    g.InsertRows(at, 1, true);
    if (g.OnAutoAddRow) g.OnAutoAddRow(&g, g.RowCount() - g.FixedFooters - 1);
}


bool MarkupControlCell(TExtStringGrid& g) {
    const TPoint b = g.BaseCell(g.RealColIndex(g.Col()), g.Row());
    const String text = g.GetGridCell(b.X, b.Y);
    return g.EnableHTML && DetectCellTextKind(text, true) == ctMarkup && HasMarkupControls(text);
}

// IsEditable as it answers with RangeSelectAndEdit switched on for the question only.
bool EditableInRangeMode(TExtStringGrid& g) {
    TMouseActions* m = g.MouseActions();
    const bool saved = m->RangeSelectAndEdit;
    m->RangeSelectAndEdit = true;
    const bool can = g.IsEditable(g.Col(), g.Row());
    m->RangeSelectAndEdit = saved;
    return can;
}

void IncludeEditing(TExtStringGrid& g) {
    plat::TGridOptions o = g.Options();
    if (o.Contains(plat::goEditing)) return;
    o.Include(plat::goEditing);
    g.SetOptions(o);
}

bool ParentPreviewsKeys(TExtStringGrid& g) {
    plat::TCustomForm* f = plat::GetParentForm(&g);
    return f && f->KeyPreview();
}

plat::TGridRect Normalised(plat::TGridRect r) {
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    return r;
}

// The clipboard shortcuts; true when the key was one of them.
bool ClipboardKey(TExtStringGrid& g, std::uint16_t Key, plat::TShiftState Shift) {
    const bool ctrl = (Shift & plat::ssCtrl) != 0, shift = (Shift & plat::ssShift) != 0;
    enum { None, Cut, Copy, Paste } op = None;
    if (ctrl && Key == 'X') op = Cut;
    else if (ctrl && Key == 'V') op = Paste;
    else if (ctrl && (Key == 'C' || Key == plat::VK_INSERT)) op = Copy;
    else if (shift && Key == plat::VK_INSERT) op = Paste;
    else if (shift && Key == plat::VK_DELETE) op = Cut;
    if (op == None) return false;
    bool allow = true;
    switch (op) {
    case Cut:
        if (g.OnClipboardCut) g.OnClipboardCut(&g, allow);
        if (allow) g.CutSelectionToClipboard();
        break;
    case Copy:
        if (g.OnClipboardCopy) g.OnClipboardCopy(&g, allow);
        if (allow) g.CopySelectionToClipboard();
        break;
    case Paste:
        if (g.OnClipboardPaste) g.OnClipboardPaste(&g, allow);
        if (allow) g.PasteSelectionFromClipboard();
        break;
    case None: break;
    }
    return true;
}

// Insert: a row before or after the current one (InsertPosition), with filtering switched off
// while the row goes in.
void InsertRowKey(TExtStringGrid& g) {
    if (!g.CanInsertRow(g.Row())) return;
    const int remembered = g.Row();
    const bool filter = g.FilterActive();
    g.SetFilterActive(false);
    const int rc = g.RowCount();
    const int real = remembered < rc ? g.RealRowIndex(remembered) : remembered;
    int at = real, aim = remembered;
    if (g.Navigation()->InsertPosition == pInsertAfter) {
        if (g.FixedRowAlways && rc <= g.FixedRows()) {
            at = real;
            aim = 1;
        } else {
            at = remembered + 1 < rc ? g.RealRowIndex(remembered + 1) : rc;
            aim = remembered + 1 < rc ? remembered + 1 : remembered;
            if (remembered + 1 >= rc) aim = remembered + 1;
        }
    }
    g.AutoInsertRow(at);
    if (g.OnAutoInsertRow) g.OnAutoInsertRow(&g, at);
    g.SetGridModified(true);
    g.SetFilterActive(filter);
    aim = std::clamp(aim, g.FixedRows(), std::max(g.FixedRows(), g.RowCount() - 1));
    g.SetRow(aim);
    g.CalcFooter(-1);
}

// Delete: the current row, asked through OnCanDeleteRow with filtering switched off; a refusal
// leaves the grid and its filtering as they were.
void DeleteRowKey(TExtStringGrid& g) {
    const bool filter = g.FilterActive();
    g.SetFilterActive(false);
    const int real = g.RealRowIndex(std::min(g.Row(), g.RowCount() - 1));
    bool can = true;
    if (g.OnCanDeleteRow) g.OnCanDeleteRow(&g, real, can);
    if (!can) {
        g.SetFilterActive(filter);
        return;
    }
    g.AutoDeleteRow(real);
    g.SetFilterActive(filter);
    if (FloatingFooterShown(g) && g.Row() == g.RowCount() - 1 && g.RowCount() >= 2) g.SetRow(g.RowCount() - 2);
    g.StoreOldCell(g.Col(), g.Row());
    g.SetGridModified(true);
    g.CalcFooter(-1);
}

// Ctrl+A: every normal cell; the bottom-right cell becomes current.
void SelectAllKey(TExtStringGrid& g) {
    const int firstNormal = g.FixedCols() > 0 ? g.FixedCols() : (g.HasNodes() ? 1 : 0);
    const plat::TGridRect r{firstNormal, g.FixedRows(), g.ColCount() - g.FixedRightCols - 1,
                            g.RowCount() - g.FixedFooters - 1};
    if (r.Right < r.Left || r.Bottom < r.Top) return;
    if (g.MouseActions()->DisjunctRowSelect())
        for (int row = r.Top; row <= r.Bottom; ++row) g.SetRowSelect(row, true);
    g.BeforeSetSelection(r);
    g.SetSelection(r);
    g.MoveColRow(r.Right, r.Bottom, false, true);
    g.SetSelection(r);
    g.SelectionChanged(r.Left, r.Top, r.Right, r.Bottom);
    g.FMoveSelection = g.Selection();
}

// Up, Down and the page keys keep the disjunct row and column marks in step with the
// selection: without Shift and Ctrl the marks start over, with Shift they follow the
// selection, else the current row or column is marked.
void DisjunctKeys(TExtStringGrid& g, std::uint16_t Key, plat::TShiftState Shift) {
    TMouseActions* m = g.MouseActions();
    const bool shift = (Shift & plat::ssShift) != 0, ctrl = (Shift & plat::ssCtrl) != 0;
    if (Key >= plat::VK_PRIOR && Key <= plat::VK_DOWN) {
        if (m->DisjunctRowSelect()) {
            if (!shift && !ctrl) g.ClearRowSelect();
            if (shift) g.SelectionToRowSelect(true);
            else g.SetRowSelect(m->RowSelectPersistent ? g.RealRowIndex(g.Row()) : g.Row(), true);
        }
        if (m->DisjunctColSelect()) {
            if (!shift && !ctrl) g.ClearColSelect();
            if (shift) g.SelectionToColSelect(true);
            else g.SetColSelect(g.Col(), true);
        }
    }
    if (Key == plat::VK_SPACE) {
        if (m->DisjunctRowSelect()) g.SetRowSelect(g.Row(), !g.GetRowSelect(g.Row()));
        if (m->DisjunctColSelect()) g.SetColSelect(g.Col(), !g.GetColSelect(g.Col()));
    }
}

} // namespace

bool NavigationKeyDown(TExtStringGrid& g, plat::TMessage& Message) {
    if (Message.Msg == plat::WM_CHAR) return GridCharFilter(g, Message);
    if (Message.Msg != plat::WM_KEYDOWN || g.EditMode) return false;
    const auto key = static_cast<std::uint16_t>(Message.WParam);
    const plat::TShiftState shift = KeyboardShift();
    TNavigation* nav = g.Navigation();
    TMouseActions* mouse = g.MouseActions();
    g.FMoveSelection = g.Selection();
    const int leftCol = g.LeftCol();
    const bool keepLeft = (key == plat::VK_PRIOR || key == plat::VK_NEXT || key == plat::VK_UP || key == plat::VK_DOWN) &&
                          g.Options().Contains(plat::goRowSelect) && leftCol != g.FixedCols() && nav->KeepHorizScroll;
    if (nav->MoveScrollOnly && ScrollOnly(g, key)) {
        Message.Result = 1;
        return true;
    }
    const bool enterOrF2 = key == plat::VK_RETURN || key == plat::VK_F2;
    if (enterOrF2 && mouse->EditOnDblClickOnly() && !g.Options().Contains(plat::goEditing) && EditableInRangeMode(g))
        IncludeEditing(g);
    if (enterOrF2 && mouse->RangeSelectAndEdit && !g.Options().Contains(plat::goEditing)) {
        if (!g.IsEditable(g.Col(), g.Row())) {
            FireKeyDown(g, key, shift);
            Message.WParam = 0;
            Message.Result = 1;
            return true;
        }
        IncludeEditing(g);
        g.ShowInplaceEdit();
    }
    if (enterOrF2 && MarkupControlCell(g)) {
        // The cell's first control that takes text opens its editor.
        g.EditNextMarkupControl(g.Col(), g.Row(), String());
        Message.Result = 1;
        return true;
    }
    if (enterOrF2 && g.Options().Contains(plat::goEditing) && !g.IsEditable(g.Col(), g.Row())) {
        FireKeyDown(g, key, shift);
        Message.Result = 1;
        return true;
    }
    if (key == plat::VK_RETURN && !g.Options().Contains(plat::goEditing) && !g.IsEditable(g.Col(), g.Row()) &&
        !ParentPreviewsKeys(g)) {
        // The key is seen by OnKeyDown only; the character that follows it still reaches the
        // key-press stage (advance on Enter).
        FireKeyDown(g, key, shift);
        Message.Result = 1;
        return true;
    }
    if ((key == plat::VK_HOME || key == plat::VK_END) && !(shift & plat::ssCtrl) && HomeEnd(g, key, shift)) {
        Message.Result = 0;
        return true;
    }
    if (!(shift & (plat::ssCtrl | plat::ssShift)) && Wrap(g, key)) {
        Message.Result = 0;
        return true;
    }
    // goRowSelect with columns out of view: Left and Right scroll the columns.
    if (g.Options().Contains(plat::goRowSelect) && g.VisibleColCount() < g.ColCount() &&
        (key == plat::VK_LEFT || key == plat::VK_RIGHT)) {
        const bool ctrl = (shift & plat::ssCtrl) != 0;
        if (ctrl == nav->LeftRightRowSelect) {
            const int lc = g.LeftCol();
            if (key == plat::VK_LEFT && lc > g.FixedCols()) g.SetLeftCol(lc - 1);
            if (key == plat::VK_RIGHT && lc + g.VisibleColCount() < g.ColCount()) g.SetLeftCol(lc + 1);
            if (!nav->LeftRightRowSelect) {
                FireKeyDown(g, key, shift);
                Message.Result = 0;
                return true;
            }
        }
    }
    if (key == plat::VK_DOWN && nav->AppendOnArrowDown) AppendOnDown(g);

    // The framework: OnKeyDown, then the grid's KeyDown and its navigation.
    g.InheritedKeyDown(Message);
    if (keepLeft) g.SetLeftCol(leftCol);
    if (!g.HandleAllocated()) return true;

    if (nav->AllowClipboardShortCuts && ClipboardKey(g, key, shift)) return true;
    const bool plain = !(shift & (plat::ssCtrl | plat::ssShift | plat::ssAlt));
    if (key == plat::VK_INSERT && plain && nav->AllowInsertRow) InsertRowKey(g);
    if (key == 'A' && (shift & plat::ssCtrl) && !(shift & plat::ssAlt) &&
        (g.Options().Contains(plat::goRowSelect) || g.Options().Contains(plat::goRangeSelect))) {
        SelectAllKey(g);
        return true;
    }
    DisjunctKeys(g, key, shift);
    if (key == plat::VK_DELETE && !(shift & (plat::ssAlt | plat::ssShift)) && nav->AllowDeleteRow &&
        g.RowCount() - g.FixedRows() - g.FixedFooters > 0)
        DeleteRowKey(g);
    if (enterOrF2) {
        g.StoreOldCell(g.Col(), g.Row());
        if (key == plat::VK_F2) g.HandleF2Key();
    }
    const plat::TGridRect sel = Normalised(g.Selection());
    if (!(g.Selection() == g.FMoveSelection)) {
        g.SelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
        g.FMoveSelection = g.Selection();
    }
    return true;
}

// The grid's character filter in front of the framework's character handling.
bool GridCharFilter(TExtStringGrid& g, plat::TMessage& Message) {
    if (g.EditMode) return false;
    if (MarkupControlCell(g)) {
        Message.Result = 1;
        return true;
    }
    if (g.MouseActions()->EditOnDblClickOnly()) {
        bool can = true;
        const TPoint b = g.BaseCell(g.RealColIndex(g.Col()), g.Row());
        g.CheckCanEdit(b.X, b.Y, can);
        if (can) IncludeEditing(g);
    }
    const auto ch = static_cast<char16_t>(Message.WParam);
    if (g.Navigation()->AllowClipboardShortCuts && (KeyboardShift() & plat::ssCtrl) && (ch == 3 || ch == 22 || ch == 24)) {
        Message.Result = 0;
        return true;
    }
    if (g.ExcelStyleDecimalSeparator && ch == u'.' && (Message.LParam & plat::KF_KEYPAD_LPARAM))
        Message.WParam = plat::FormatSettings.DecimalSeparator;
    return false;
}

// ---- hooks ----------------------------------------------------------------------------------

void TExtStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom) {
    if (OnSelectionChanged) OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

bool TExtStringGrid::CanInsertRow(int ARow) {
    bool can = true;
    if (OnCanInsertRow) OnCanInsertRow(this, ARow, can);
    return can;
}

void TExtStringGrid::AutoInsertRow(int ARow) {
    if (HasNodes() && ARow < RowCount() && GetParentRow(DisplRowIndex(ARow)) >= 0) {
        InsertChildRow(DisplRowIndex(ARow), DisplRowIndex(ARow));
        return;
    }
    InsertRows(ARow, 1, true);
}

void TExtStringGrid::AutoDeleteRow(int ARow) {
    if (!FixedRowAlways && RowCount() - FixedRows() - FixedFooters <= 1) {
        // The only normal row stays, emptied.
        ClearRows(ARow, 1);
    } else {
        RemoveRowRange(ARow, 1);
    }
    if (OnAutoDeleteRow) OnAutoDeleteRow(this, ARow);
}

void TExtStringGrid::KeyUp(std::uint16_t& Key, plat::TShiftState Shift) {
    const std::uint16_t key = Key;
    const bool moveKey = (key >= plat::VK_PRIOR && key <= plat::VK_DOWN) || key == plat::VK_INSERT || key == plat::VK_DELETE;
    if (moveKey && key != plat::VK_HOME) SearchInc.clear();
    TBaseGrid::KeyUp(Key, Shift);
    const bool arrow = key >= plat::VK_LEFT && key <= plat::VK_DOWN;
    const bool tab = key == plat::VK_TAB && Options().Contains(plat::goTabs);
    if (FNavigation->AlwaysEdit && (arrow || tab) && !EditMode) {
        const TPoint b = BaseCell(RealColIndex(Col()), Row());
        if (!IsControlCell(b.X, b.Y) && IsEditable(Col(), Row())) ShowInplaceEdit();
    }
    if ((arrow || key == plat::VK_TAB) && !(Selection() == FMoveSelection)) {
        const plat::TGridRect r = Normalised(Selection());
        SelectionChanged(r.Left, r.Top, r.Right, r.Bottom);
        FMoveSelection = Selection();
    }
}

} // namespace grid
