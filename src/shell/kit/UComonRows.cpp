// The row-editing helpers of UComon.h: they work on the grid and show the paste messages,
// so they are built with the window kit rather than the data side of the shell.
#include "ExtCGrid.h"
#include "UComon.h"
#include "UFormKit.h"
#include "plat/Classes.h"
#include "plat/Dialogs.h"

using namespace plat;

namespace {

// Last covered real column: every data column, hidden ones included.
int Last_Covered(const grid::TExtStringGrid* g)
{
    return g->ColCount() + g->NumHiddenColumns() - 1;
}

// One repaint for a whole row operation, also when a message box or an exception cuts it.
class TUpdate_Lock {
public:
    explicit TUpdate_Lock(grid::TExtStringGrid* g) : g_(g) { g_->BeginUpdate(); }
    ~TUpdate_Lock() { g_->EndUpdate(); }
    TUpdate_Lock(const TUpdate_Lock&) = delete;
    TUpdate_Lock& operator=(const TUpdate_Lock&) = delete;

private:
    grid::TExtStringGrid* g_;
};

TStringList& Row_Clipboard()
{
    if (!Row_Copy) Row_Copy = new TStringList();
    return *Row_Copy;
}

bool Blank(const String& s)
{
    for (char16_t c : s)
        if (c > u' ') return false;
    return true;
}

void Error_Box(int text) { MessageDlg(Lang(text), mtError, {mbOK}); }

bool Ask(int text) { return MessageDlg(Lang(text), mtConfirmation, mbYesNo) == mrYes; }

// The checks both paste routines make before writing: 1102, 1101, then the used row.
bool Paste_Allowed(const grid::TExtStringGrid* g, bool copied, bool used)
{
    if (!copied) {
        Error_Box(1102);
        return false;
    }
    if (Last_Covered(g) != Row_Clipboard().Count()) {
        Error_Box(1101);
        return false;
    }
    if (used && !Ask(1100)) return false;
    return true;
}

// Moves one covered cell of a check-box grid: check state or text, and the read-only flag.
void Move_Check_Cell(grid::TExtStringGrid* g, int c, int from, int to)
{
    bool state = false;
    if (g->GetCheckBoxState(c, from, state))
        g->SetCheckBoxState(c, to, state);
    else
        g->SetCells(c, to, g->Cells(c, from));
    g->GetCellProperties(c, to)->ReadOnly = g->GetCellProperties(c, from)->ReadOnly;
}

// Empties one row of a check-box grid and sets every cell's read-only flag.
void Empty_Check_Row(grid::TExtStringGrid* g, int row, bool check_first, bool read_only)
{
    const int last = Last_Covered(g);
    for (int c = 1; c <= last; ++c) {
        bool state = false;
        if (g->GetCheckBoxState(c, row, state))
            g->SetCheckBoxState(c, row, check_first && c == 1);
        else
            g->SetCells(c, row, String());
        g->GetCellProperties(c, row)->ReadOnly = read_only;
    }
}

} // namespace

bool Grid_Row_Used(grid::TExtColumnGrid* g, int row)
{
    const int last = Last_Covered(g);
    grid::TGridColumnCollection* cols = g->Columns();
    for (int c = 1; c <= last; ++c) {
        if (c < cols->Count() && cols->GetItem(c)->Editor() == grid::edDataCheckBox) continue;
        if (!Blank(g->Cells(c, row))) return true;
    }
    return false;
}

void Grid_Delete_Row(int row, grid::TExtColumnGrid* g)
{
    const int n = g->RowCount();
    if (row < 1 || row >= n) return;
    const int last = Last_Covered(g);
    TUpdate_Lock lock(g);
    for (int r = row; r <= n - 2; ++r)
        for (int c = 1; c <= last; ++c) g->SetCells(c, r, g->Cells(c, r + 1));
    for (int c = 1; c <= last; ++c) g->SetCells(c, n - 1, String());
}

void Grid_Insert_Row(int row, grid::TExtColumnGrid* g, bool put_y)
{
    const int n = g->RowCount();
    if (row < 1 || row >= n) return;
    // The last row leaves the table: its content is lost, so a used one needs the user's word.
    if (Grid_Row_Used(g, n - 1) && !Ask(1106)) return;
    const int last = Last_Covered(g);
    TUpdate_Lock lock(g);
    for (int r = n - 2; r >= row; --r)
        for (int c = 1; c <= last; ++c) g->SetCells(c, r + 1, g->Cells(c, r));
    for (int c = 1; c <= last; ++c) g->SetCells(c, row, String());
    if (put_y && last >= 1) g->SetCells(1, row, u"Y");
}

void Grid_Copy_Row(grid::TExtColumnGrid* g, int row)
{
    TStringList& clip = Row_Clipboard();
    const int last = Last_Covered(g);
    clip.Clear();
    for (int c = 1; c <= last; ++c) clip.Add(g->Cells(c, row));
    // Flags of an earlier check-box copy must not turn these texts into check states.
    Row_Copy_Check.assign(static_cast<std::size_t>(clip.Count()), false);
}

void Grid_Paste_Row(grid::TExtColumnGrid* g, int row, bool copied)
{
    if (row < 1 || row >= g->RowCount()) return;
    if (!Paste_Allowed(g, copied, copied && Grid_Row_Used(g, row))) return;
    const TStringList& clip = Row_Clipboard();
    const int last = Last_Covered(g);
    TUpdate_Lock lock(g);
    for (int c = 1; c <= last; ++c) g->SetCells(c, row, clip.Strings(c - 1));
}

void Grid_Delete_Row_Check(int row, grid::TExtStringGrid* g, bool check_first)
{
    const int n = g->RowCount();
    if (row < 1 || row >= n) return;
    const int last = Last_Covered(g);
    TUpdate_Lock lock(g);
    for (int r = row; r <= n - 2; ++r)
        for (int c = 1; c <= last; ++c) Move_Check_Cell(g, c, r + 1, r);
    Empty_Check_Row(g, n - 1, check_first, true);
}

void Grid_Insert_Row_Check(int row, grid::TExtStringGrid* g, bool check_first)
{
    const int n = g->RowCount();
    if (row < 1 || row >= n) return;
    const int last = Last_Covered(g);
    TUpdate_Lock lock(g);
    for (int r = n - 2; r >= row; --r)
        for (int c = 1; c <= last; ++c) Move_Check_Cell(g, c, r, r + 1);
    Empty_Check_Row(g, row, check_first, false);
}

void Grid_Copy_Row_Check(grid::TExtStringGrid* g, int row)
{
    TStringList& clip = Row_Clipboard();
    const int last = Last_Covered(g);
    clip.Clear();
    Row_Copy_Check.assign(static_cast<std::size_t>(last > 0 ? last : 0), false);
    for (int c = 1; c <= last; ++c) {
        bool state = false;
        if (g->GetCheckBoxState(c, row, state)) {
            Row_Copy_Check[static_cast<std::size_t>(c - 1)] = true;
            clip.Add(state ? u"Y" : u"N");
        } else {
            clip.Add(g->Cells(c, row));
        }
    }
}

void Grid_Paste_Row_Check(grid::TExtStringGrid* g, int row, bool copied)
{
    if (row < 1 || row >= g->RowCount()) return;
    const int last = Last_Covered(g);
    bool used = false;
    for (int c = 1; c <= last && !used; ++c) {
        bool state = false;
        if (!g->GetCheckBoxState(c, row, state) && !g->Cells(c, row).empty()) used = true;
    }
    if (!Paste_Allowed(g, copied, copied && used)) return;
    const TStringList& clip = Row_Clipboard();
    TUpdate_Lock lock(g);
    for (int c = 1; c <= last; ++c) {
        const std::size_t k = static_cast<std::size_t>(c - 1);
        if (k < Row_Copy_Check.size() && Row_Copy_Check[k])
            g->SetCheckBoxState(c, row, clip.Strings(c - 1) == u"Y");
        else
            g->SetCells(c, row, clip.Strings(c - 1));
    }
}

void Grid_DblClick_Auto_Size(grid::TExtStringGrid* g, int row, int col)
{
    if (Double_Click_Auto_Size && row == 0) g->AutoSizeCol(col, 0);
}

void Grid_Enter_Next_Cell(grid::TExtStringGrid* g, char16_t& key)
{
    if (!Enable_Jump_Field_Tables || key != 13) return;
    if (g->Col() > 0 && g->Row() > 0) {
        if (g->Col() < g->ColCount() - 1) {
            g->SetCol(g->Col() + 1);
        } else {
            g->SetCol(1);
            g->SetRow(g->Row() < g->RowCount() - 1 ? g->Row() + 1 : 1);
        }
    }
    key = 0;
}
