// Keys whose effect depends on the grid's navigation settings, handled before the framework's
// navigation sees them.
#include "GridKeys2.h"

#include "GridEditors.h"
#include "GridEditors2.h"
#include "GridSearchPanel.h"

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
bool HomeEnd(TExtStringGrid& g, std::uint16_t Key, plat::TShiftState Shift, bool KeepLeft, int LeftCol) {
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
        const bool disjunct = g.MouseActions()->DisjunctRowSelect();
        if (Shift & plat::ssShift) {
            // The rows from the one the key was pressed on (the anchor) to the new one (the
            // current row), all columns.
            g.SetSelection({0, startRow, g.ColCount() - 1, row});
        } else if (disjunct) {
            g.ClearRowSelect();
        }
        // The row marks start over from the selection.
        if (disjunct) g.SelectionToRowSelect(false);
        if (KeepLeft) {
            g.StartUpdate();
            g.SetLeftCol(LeftCol);
            g.ResetUpdate();
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


// Space and Enter on a cell holding a control: the control acts first, and the key goes on to
// the later steps. The cell is active when CheckCanEdit allows it, asked from goEditing or
// RangeSelectAndEdit; CheckAlwaysActive and RadioAlwaysActive make check boxes and radio
// items answer Space without it.
void ControlCellKey(TExtStringGrid& g, std::uint16_t Key) {
    if (Key != plat::VK_SPACE && Key != plat::VK_RETURN) return;
    const int real = g.RealColIndex(g.Col()), row = g.Row();
    const TPoint b = g.BaseCell(real, row);
    if (!g.IsControlCell(b.X, b.Y)) return;
    bool active = g.Options().Contains(plat::goEditing) || g.MouseActions()->RangeSelectAndEdit;
    g.CheckCanEdit(real, row, active);
    const TControlLook* look = g.ControlLook();
    if (Key == plat::VK_SPACE) {
        if (g.HasCheckBox(b.X, b.Y)) {
            if ((active || look->CheckAlwaysActive) && g.ToggleCheckBoxCell(b.X, b.Y, true)) {
                if (g.ShowModified()->Enabled()) {
                    g.SetRowModified(row, true);
                    g.RepaintCell(0, row);
                }
                bool state = false;
                g.GetCheckBoxState(b.X, g.RealRowIndex(b.Y), state);
                g.CheckBoxClick(b.X, b.Y, state);
            }
        } else if (g.IsRadio(b.X, b.Y)) {
            if (active || look->RadioAlwaysActive) {
                g.SelectNextRadioItem(b.X, b.Y, false);
                int index = -1;
                g.GetRadioIdx(b.X, b.Y, index);
                if (g.OnRadioClick) g.OnRadioClick(&g, real, row, index);
            }
        } else if (g.HasRadioButton(b.X, b.Y)) {
            if (active || look->RadioAlwaysActive) {
                g.SetRadioButtonColumnIndex(real, row);
                if (g.OnRadioButtonClick) g.OnRadioButtonClick(&g, real, row);
            }
        }
    }
    if (g.HasButton(b.X, b.Y) && active) g.ButtonClick(real, row);
    g.RepaintCell(g.Col(), row);
}

// Asked with the real column, as the editing tests ask it.
bool FixedDeclared(TExtStringGrid& g, int ACol, int ARow) {
    bool fixed = false;
    g.IsFixedCell(g.RealColIndex(ACol), ARow, fixed);
    return fixed;
}

// SkipFixedCells: an arrow whose neighbour cell is declared fixed walks over the whole run of
// such cells to the next cell that is not, inside the normal area; with none left the current
// cell stays. True when the key was taken (the framework must not move again).
bool SkipFixedKey(TExtStringGrid& g, std::uint16_t Key) {
    const int c = g.Col(), r = g.Row(), fc = g.FixedCols(), fr = g.FixedRows();
    const int lastCol = g.ColCount() - g.FixedRightCols - 1, lastRow = g.RowCount() - g.FixedFooters - 1;
    const bool rowSelect = g.Options().Contains(plat::goRowSelect);
    switch (Key) {
    case plat::VK_LEFT: {
        if (c <= fc || !FixedDeclared(g, c - 1, r)) return false;
        int n = c - 1;
        while (n >= fc && FixedDeclared(g, n, r)) --n;
        if (n >= fc) g.MoveColRow(n, r, true, true);
        return true;
    }
    case plat::VK_RIGHT: {
        if (c >= lastCol || !FixedDeclared(g, c + 1, r)) return false;
        int n = c + 1;
        while (n <= lastCol && FixedDeclared(g, n, r)) ++n;
        if (n <= lastCol) g.MoveColRow(n, r, true, true);
        return true;
    }
    case plat::VK_UP: {
        if (r <= fr || !FixedDeclared(g, c, r - 1)) return false;
        int n = r - 1;
        if (!rowSelect)
            while (n >= fr && FixedDeclared(g, c, n)) --n;
        if (n >= fr) g.MoveColRow(c, n, true, true);
        return true;
    }
    case plat::VK_DOWN: {
        if (r + 1 >= g.RowCount() || r >= lastRow || !FixedDeclared(g, c, r + 1)) return false;
        int n = r + 1;
        if (!rowSelect)
            while (n <= lastRow && FixedDeclared(g, c, n)) ++n;
        if (n <= lastRow) g.MoveColRow(c, n, true, true);
        return true;
    }
    default:
        return false;
    }
}

// The view shows the grid's last rows while the search footer covers the client's bottom.
bool SearchFooterAtBottom(TExtStringGrid& g) {
    return g.SearchFooter()->Visible() && g.TopRow() >= g.RowCount() - g.VisibleRowCount();
}

bool NavigationKey(std::uint16_t Key) {
    return Key == plat::VK_SHIFT || Key == plat::VK_MENU || (Key >= plat::VK_PRIOR && Key <= plat::VK_DOWN);
}

// Up, Down, Left and Right at the grid's last row with the search footer below it: Down
// scrolls the last row above the footer, Left and Right at the row's ends stay. True when
// the key was taken.
bool SearchFooterEdgeKey(TExtStringGrid& g, std::uint16_t Key) {
    if (g.Row() != g.RowCount() - 1) return false;
    if (Key == plat::VK_DOWN) {
        g.ScrollForSearchFooter();
        return true;
    }
    return (Key == plat::VK_RIGHT && g.Col() == g.ColCount() - 1) || (Key == plat::VK_LEFT && g.Col() == g.FixedCols());
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
    switch (Message.Msg) {
    case plat::WM_SETFOCUS: g.GridSetFocus(Message); return true;
    case plat::WM_KILLFOCUS: g.GridKillFocus(Message); return true;
    case plat::CM_DIALOGCHAR:
        if (!g.SearchFooterDialogChar(Message)) return false;
        Message.Result = 1;
        return true;
    default: break;
    }
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
    // Ctrl+F: the search footer's edit takes the focus; the key goes on.
    if (key == 'F' && (shift & plat::ssCtrl) && g.SearchFooter()->Visible()) {
        TSearchPanel* panel = g.SearchPanel();
        if (panel && panel->Edit()->CanFocus()) panel->Edit()->SetFocus();
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
    ControlCellKey(g, key);
    if ((key == plat::VK_HOME || key == plat::VK_END) && !(shift & plat::ssCtrl) && HomeEnd(g, key, shift, keepLeft, leftCol)) {
        Message.Result = 0;
        return true;
    }
    if (!(shift & (plat::ssCtrl | plat::ssShift)) && Wrap(g, key)) {
        Message.Result = 0;
        return true;
    }
    // A node row whose current cell is merged: Right expands the node, Left contracts it.
    if ((key == plat::VK_RIGHT || key == plat::VK_LEFT) && g.IsNode(g.Row()) &&
        g.IsMergedCell(g.RealColIndex(g.Col()), g.Row())) {
        const int realRow = g.RealRowIndex(g.Row());
        if (key == plat::VK_RIGHT) g.ExpandNode(realRow);
        else g.ContractNode(realRow);
    }
    // goRowSelect with columns out of view: Left and Right scroll the columns.
    if (g.Options().Contains(plat::goRowSelect) && !g.IsNode(g.Row()) && g.VisibleColCount() < g.ColCount() &&
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
    if (nav->SkipFixedCells && SkipFixedKey(g, key)) {
        FireKeyDown(g, key, shift);
        Message.WParam = 0;
    }
    const std::uint16_t goesOn = static_cast<std::uint16_t>(Message.WParam);
    if (goesOn == plat::VK_DOWN && nav->AppendOnArrowDown) AppendOnDown(g);
    // The search footer below the last rows: the keys that would move under it stay, and the
    // others run inside an update bracket so that the grid repaints once.
    const bool atFooter = goesOn != 0 && SearchFooterAtBottom(g);
    const bool lastRow = g.Row() == g.RowCount() - 1;
    if (atFooter && SearchFooterEdgeKey(g, goesOn)) {
        FireKeyDown(g, key, shift);
        Message.Result = 1;
        return true;
    }
    const bool scrollsAtLast = lastRow && (goesOn == plat::VK_NEXT || goesOn == plat::VK_END || goesOn == plat::VK_LEFT ||
                                           goesOn == plat::VK_RIGHT || goesOn == plat::VK_DOWN);
    const bool footerBracket = atFooter && (scrollsAtLast || !NavigationKey(goesOn));
    const int topBefore = g.TopRow();
    if (footerBracket) g.BeginUpdate();
    if (keepLeft) g.BeginUpdate();

    // The framework: OnKeyDown, then the grid's KeyDown and its navigation.
    if (goesOn != 0) g.InheritedKeyDown(Message);
    if (!g.HandleAllocated()) return true;
    if (footerBracket) {
        if (!NavigationKey(goesOn)) g.SetTopRow(topBefore);
        if (scrollsAtLast) {
            // The current cell stays above the footer.
            const int line = g.ClientHeight() - g.SearchPanel()->Height() + 2;
            while (g.CellRect(g.Col(), g.Row()).Bottom > line && g.TopRow() + 1 < g.RowCount()) {
                const int before = g.TopRow();
                g.SetTopRow(before + 1);
                if (g.TopRow() == before) break;
            }
        }
        g.EndUpdate();
    }
    if (keepLeft) {
        g.SetLeftCol(leftCol);
        g.EndUpdate();
    }

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
    const plat::TGridRect noted = Normalised(Selection());
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
    if (FMouseActions->DisjunctCellSelect() && !Options().Contains(plat::goEditing)) DisjunctCellKeyUp(key, Shift, noted);
}

// DisjunctCellSelect on key release. Shift: the listed cells follow the selection the key
// changed (the current cell stays out of the list). Space: Ctrl toggles the current cell in
// the list, else the list holds only it; a wider selection adds its other cells.
void TExtStringGrid::DisjunctCellKeyUp(std::uint16_t Key, plat::TShiftState Shift, const plat::TGridRect& Noted) {
    if (Shift & plat::ssShift) {
        for (int r = Noted.Top; r <= Noted.Bottom; ++r)
            for (int c = Noted.Left; c <= Noted.Right; ++c) SetSelectedCells(c, r, false);
        const plat::TGridRect now = Normalised(Selection());
        for (int r = now.Top; r <= now.Bottom; ++r)
            for (int c = now.Left; c <= now.Right; ++c)
                if (c != Col() || r != Row()) SetSelectedCells(c, r, true);
    }
    if (Key != plat::VK_SPACE) return;
    const TPoint base = BaseCell(Col(), Row());
    bool fixed = false;
    IsFixedCell(base.X, base.Y, fixed);
    bool can = !fixed;
    if (can && OnSelectCell) OnSelectCell(this, base.X, base.Y, can);
    if (can) {
        if (Shift & plat::ssCtrl) {
            SetSelectedCells(base.X, base.Y, !SelectedCells(base.X, base.Y));
        } else {
            for (int i = 0; i < SelectedCellsCount(); ++i) {
                const TPoint p = SelectedCell(i);
                if (p.X < ColCount() && p.Y < RowCount()) RepaintCell(p.X, p.Y);
            }
            // Only the list: ClearSelectedCells would also move the selection home.
            FSelectedCells->Clear();
            SetSelectedCells(base.X, base.Y, true);
        }
        const plat::TGridRect sel = Normalised(Selection());
        if (sel.Left != sel.Right || sel.Top != sel.Bottom) {
            for (int r = sel.Top; r <= sel.Bottom; ++r)
                for (int c = sel.Left; c <= sel.Right; ++c)
                    if (c != base.X || r != base.Y) SetSelectedCells(c, r, true);
        }
    }
    RepaintCell(Col(), Row());
}

// ---- focus ----------------------------------------------------------------------------------

// WM_SETFOCUS: the framework's handling first. Then a shown rich-text editor closes, and with
// AlwaysEdit the text editor of the current cell opens again when it may be edited and lies
// wholly in view, unless the focus came from that editor or a row or column is being moved.
// A merged current cell is repainted whole.
void TExtStringGrid::GridSetFocus(plat::TMessage& Message) {
    const plat::HWND from = reinterpret_cast<plat::HWND>(Message.WParam);
    TBaseGrid::WndProc(Message);
    const int real = RealColIndex(Col()), row = Row();
    const TPoint b = BaseCell(real, row);
    if (HasCheckBox(b.X, b.Y)) return;
    if (FInplaceRichEdit && FInplaceRichEdit->Visible()) FInplaceRichEdit->SetVisible(false);
    const bool moving = GridState() == plat::gsRowMoving || GridState() == plat::gsColMoving;
    auto inView = [&] {
        return Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && row >= TopRow() &&
               row < TopRow() + VisibleRowCount();
    };
    auto mayEdit = [&] {
        bool can = true;
        CheckCanEdit(real, row, can);
        return can;
    };
    if (FNavigation->AlwaysEdit && !moving && !EditMode) {
        if (FNormalEdit) {
            const bool fromEditor = FNormalEdit->HandleAllocated() && from == FNormalEdit->Handle();
            if (!fromEditor && EditControl == edNormal && mayEdit() && inView()) {
                ShowInplaceEdit();
                Message.Result = 0;
            }
        } else if (!FMouseActions->DirectEdit && !FControlLook->DropDownAlwaysVisible && HasComboBox(real, row) &&
                   mayEdit() && inView()) {
            ShowInplaceEdit();
            Message.Result = 0;
        }
    }
    if (IsMergedCell(b.X, b.Y)) RepaintMerged(b);
}

// WM_KILLFOCUS: nothing while an edit step blocks it; else the framework's handling, a merged
// current cell is repainted whole and a held markup button is let go.
void TExtStringGrid::GridKillFocus(plat::TMessage& Message) {
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (IsMergedCell(b.X, b.Y)) RepaintMerged(b);
    ReleaseMarkupButton();
}

void TExtStringGrid::RepaintMerged(TPoint Base) {
    const TPoint span = CellSpan(Base.X, Base.Y);
    const int shown = DisplColIndex(Base.X);
    for (int r = Base.Y; r <= Base.Y + span.Y && r < RowCount(); ++r)
        for (int c = shown; c <= shown + span.X && c < ColCount(); ++c) RepaintCell(c, r);
}

// Entering the grid: OnEnter, then with goEditing or RangeSelectAndEdit the current cell is
// asked through SelectCell (which remembers it as the cell an edit starts from). The cell is
// not stored again on entering: the focus coming back while an edit is refused would replace
// the text the edit restores.
void TExtStringGrid::DoEnter() {
    if (FBlockFocus) return;
    TBaseGrid::DoEnter();
    if (Options().Contains(plat::goEditing) || FMouseActions->RangeSelectAndEdit) (void)SelectCell(Col(), Row());
}

void TExtStringGrid::DoExit() {
    if (FBlockKill) return;
    TBaseGrid::DoExit();
}

// CM_DIALOGCHAR: with the search footer shown, the accelerator of the find next, find
// previous or highlight button runs that button's search. True when the character was one.
bool TExtStringGrid::SearchFooterDialogChar(plat::TMessage& Message) {
    if (!FSearchFooter->Visible() || !FSearchPanel) return false;
    struct Button {
        TExtGridButton* b;
        std::function<void()> run;
    };
    const Button buttons[] = {
        {FSearchPanel->ForwardButton(), [this] { SearchFooterFind(false); }},
        {FSearchPanel->BackwardButton(), [this] { SearchFooterFind(true); }},
        {FSearchPanel->HiliteButton(), [this] { SearchFooterHighlight(); }},
    };
    for (const Button& b : buttons) {
        if (b.b->Visible() && b.b->Enabled() && plat::IsAccel(Message.WParam, b.b->Caption())) {
            b.run();
            return true;
        }
    }
    return false;
}

} // namespace grid
