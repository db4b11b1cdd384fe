// Keys whose effect depends on the grid's navigation settings, handled before the framework's
// navigation sees them.
#include "GridKeys2.h"

#include <algorithm>

#include "plat/Controls.h"
#include "plat/Messages.h"

namespace grid {

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

} // namespace

bool NavigationKeyDown(TExtStringGrid& g, plat::TMessage& Message) {
    if (Message.Msg != plat::WM_KEYDOWN || g.EditMode) return false;
    const auto key = static_cast<std::uint16_t>(Message.WParam);
    const plat::TShiftState shift = KeyboardShift();
    TNavigation* nav = g.Navigation();
    if (nav->MoveScrollOnly && ScrollOnly(g, key)) {
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
    if (key == plat::VK_DOWN && nav->AppendOnArrowDown) AppendOnDown(g);
    return false;
}

} // namespace grid
