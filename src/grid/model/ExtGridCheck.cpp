// Cell checking through the grid's checker, and the links the grid forgets when the other
// component goes.
#include "ExtGrid.h"
#include "plat/ImgList.h"
#include "esgcheck.h"

namespace grid {

void TExtStringGrid::SetCellChecker(TExtStringGridCheck* Value) {
    if (FCellChecker == Value) return;
    if (FCellChecker) FCellChecker->RemoveFreeNotification(this);
    FCellChecker = Value;
    if (FCellChecker) FCellChecker->FreeNotification(this);
}

void TExtStringGrid::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    TBaseGrid::Notification(AComponent, Operation);
    if (Operation != plat::opRemove) return;
    if (AComponent == FCellChecker) FCellChecker = nullptr;
    // Borrowed references never outlive what they refer to.
    if (AComponent == GridImages) GridImages = nullptr;
    if (FSyncGrid && !FDestroying && AComponent == FSyncGrid->Grid()) FSyncGrid->SetGrid(nullptr);
    if (AComponent == UndoRedo()) SetUndoRedo(nullptr);
    if (IsEditLinkComponent(AComponent)) {
        FEditLink = nullptr;
        FActiveLink = nullptr;
    }
}

void TExtStringGrid::MoveToCheckedCell(int ACol, int ARow) {
    // The current cell can only be a normal cell of the grid.
    const int d = DisplCol(ACol);
    if (IsHiddenColumn(ACol) || d < FixedCols() || d >= ColCount() || ARow < FixedRows() || ARow >= RowCount())
        return;
    SetRowEx(ARow);
    SetCol(d);
}

bool TExtStringGrid::CheckCell(int ACol, int ARow) {
    if (!FCellChecker) return true;
    const String stripped = UnMarkText(GetCellEx(ACol, ARow));
    if (FCellChecker->GotoCell) MoveToCheckedCell(ACol, ARow);
    String t = stripped;
    if (FCellChecker->UseCorrect) t = FCellChecker->Correct(ACol, ARow, t);
    if (FCellChecker->UseMarkError) t = FCellChecker->MarkError(ACol, ARow, t);
    SetCellEx(ACol, ARow, t);
    return t == stripped;
}

bool TExtStringGrid::CheckRange(const std::vector<int>& RealCols, int FromRow, int ToRow) {
    if (!FCellChecker) return true;
    TExtStringGridCheck* checker = FCellChecker;
    checker->StartCheck();
    const int oldRow = Row(), oldCol = Col();
    bool ok = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c : RealCols)
            // Every cell is checked (and corrected or marked), also after a failing one.
            ok = CheckCell(c, r) && ok;
    checker->StopCheck();
    if (checker->GotoCell && (Row() != oldRow || Col() != oldCol)) {
        SetRowEx(oldRow);
        SetCol(oldCol);
    }
    return ok;
}

bool TExtStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow) {
    std::vector<int> cols;
    for (int c = FromCol; c <= ToCol; ++c) cols.push_back(c);
    return CheckRange(cols, FromRow, ToRow);
}

std::vector<int> TExtStringGrid::CheckedColumns(bool DoFixed) const {
    // Display columns, each at its real column: hidden columns are not checked.
    const int c0 = DoFixed ? 0 : FixedCols();
    const int c1 = DoFixed ? ColCount() - 1 : ColCount() - FixedRightCols - 1;
    std::vector<int> cols;
    for (int c = c0; c <= c1; ++c) cols.push_back(RealColIndex(c));
    return cols;
}

bool TExtStringGrid::CheckCol(bool DoFixed, int ACol) {
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters - 1;
    return CheckRange({ACol}, r0, r1);
}

bool TExtStringGrid::CheckRow(bool DoFixed, int ARow) { return CheckRange(CheckedColumns(DoFixed), ARow, ARow); }

bool TExtStringGrid::CheckGrid(bool DoFixed) {
    const int r0 = DoFixed ? 0 : FixedRows();
    const int r1 = DoFixed ? RowCount() - 1 : RowCount() - FixedFooters - 1;
    return CheckRange(CheckedColumns(DoFixed), r0, r1);
}

} // namespace grid
