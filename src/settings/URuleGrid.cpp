#include "URuleGrid.h"

#include "ExtCGrid.h"
#include "plat/SysUtils.h"

using namespace plat;
using namespace grid;

TCellRows Grid_Rows(TExtColumnGrid* g, int cols)
{
    const int rows = g->RowCount() - 1;
    TCellRows out = Empty_Rows(rows, cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 1; c < cols; ++c) out[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = g->Cells(c, r + 1);
    return out;
}

void Put_Rows(TExtColumnGrid* g, const TCellRows& rows)
{
    g->BeginUpdate();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int row = static_cast<int>(r) + 1;
        g->SetCells(0, row, IntToStr(row));
        for (std::size_t c = 1; c < rows[r].size(); ++c) g->SetCells(static_cast<int>(c), row, rows[r][c]);
    }
    g->EndUpdate();
}

TCellRows Cleared_Rows(int rows, int cols)
{
    TCellRows out = Empty_Rows(rows, cols);
    for (auto& r : out) r[1] = u"Y";
    return out;
}

void Set_Combo_Items(TExtColumnGrid* g, int col, std::initializer_list<const char16_t*> items)
{
    TStringList* list = g->Columns()->GetItem(col)->ComboItems();
    list->BeginUpdate();
    list->Clear();
    for (const char16_t* t : items) list->Add(t);
    list->EndUpdate();
}

void Set_Combo_Items(TExtColumnGrid* g, int col, const std::vector<String>& items)
{
    TStringList* list = g->Columns()->GetItem(col)->ComboItems();
    list->BeginUpdate();
    list->Clear();
    for (const String& t : items) list->Add(t);
    list->EndUpdate();
}

void Set_Number_Items(TExtColumnGrid* g, int col, int count)
{
    TStringList* list = g->Columns()->GetItem(col)->ComboItems();
    list->BeginUpdate();
    list->Clear();
    for (int i = 0; i < count; ++i) list->Add(IntToStr(i));
    list->EndUpdate();
}
