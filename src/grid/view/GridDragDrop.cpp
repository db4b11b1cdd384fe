// The string grid's drag and drop: its drop source and drop target, the drag of cells and
// columns, the drops of text, cells, columns, rich text, URLs and CSV files, the arrows
// that mark the drop place, pasting tab-separated text, and scrolling while something is
// dragged near the grid's edges.
#include <algorithm>

#include "ExtGrid.h"
#include "esgdd.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Streams.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

namespace {

// The grid's drop source: remembers the last move or copy effect.
class TGridDropSource : public TESGDropSource {
public:
    explicit TGridDropSource(TExtStringGrid* AGrid) : FGrid(AGrid) {}
    void CurrentEffect(plat::TDropEffect dwEffect) override
    {
        if (dwEffect == plat::DROPEFFECT_MOVE || dwEffect == plat::DROPEFFECT_COPY) LastEffect = dwEffect;
    }
    plat::TDropEffect LastEffect = plat::DROPEFFECT_NONE;

private:
    TExtStringGrid* FGrid;
};

class TGridDropTarget : public TESGDropTarget {
public:
    explicit TGridDropTarget(TExtStringGrid* AGrid) : FGrid(AGrid) {}
    // The accepted contents follow the grid's settings at every drag.
    plat::HRESULT DragEnter(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                            plat::TDropEffect& Effect) override
    {
        const TDragDropSettings* s = FGrid->DragDropSettings();
        AcceptText = s->OleAcceptText;
        AcceptFiles = s->OleAcceptFiles;
        AcceptURLs = s->OleAcceptURLs;
        AcceptCols = s->OleColumnDragDrop || s->OleColumnReorder;
        return TESGDropTarget::DragEnter(Data, KeyState, Pt, Effect);
    }
    // A text drop that stored no cell (a grid that cannot be edited, a refused OnOleDrop)
    // answers no effect, so that a moving source keeps its cells.
    plat::HRESULT Drop(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                       plat::TDropEffect& Effect) override
    {
        FGrid->FDropStored = true;
        const plat::HRESULT hr = TESGDropTarget::Drop(Data, KeyState, Pt, Effect);
        if (!FGrid->FDropStored) Effect = plat::DROPEFFECT_NONE;
        return hr;
    }
    void DropText(TPoint pt, const String& s) override { FGrid->OleDropText(pt, s); }
    void DropStream(TPoint pt, std::unique_ptr<plat::TMemoryStream> Stream) override
    {
        if (Stream) FGrid->OleDropStream(pt, *Stream);
    }
    void DropCol(TPoint pt, int Col) override { FGrid->OleDropCol(pt, Col); }
    void DropRTF(TPoint pt, const String& s) override { FGrid->OleDropCellText(pt, s, false); }
    void DropFiles(TPoint pt, const std::vector<String>& Files) override { FGrid->OleDropFiles(pt, Files); }
    void DropURL(TPoint pt, const String& s) override { FGrid->OleDropCellText(pt, s, true); }
    void DragMouseMove(TPoint pt, bool& Allow, TDropFormats DropFormats) override
    {
        FGrid->OleDragMouseMove(pt, Allow, DropFormats);
    }
    void DragMouseLeave() override { FGrid->OleDragMouseLeave(); }

private:
    TExtStringGrid* FGrid;
};

String Upper(const String& s)
{
    String u = s;
    for (char16_t& c : u)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return u;
}

} // namespace

// ---- settings -------------------------------------------------------------------------------

void TDragDropSettings::Assign(const plat::TPersistent* Source)
{
    const auto* s = dynamic_cast<const TDragDropSettings*>(Source);
    if (!s) return plat::TPersistent::Assign(Source);
    SetOleDropTarget(s->FOleDropTarget);
    SetOleDropRTF(s->FOleDropRTF);
    OleDropSource = s->OleDropSource;
    OleAcceptText = s->OleAcceptText;
    OleAcceptFiles = s->OleAcceptFiles;
    OleAcceptURLs = s->OleAcceptURLs;
    OleEntireRows = s->OleEntireRows;
    OleRemoveRows = s->OleRemoveRows;
    OleInsertRows = s->OleInsertRows;
    OleAppendRows = s->OleAppendRows;
    OleCopyAlways = s->OleCopyAlways;
    OleColumnDragDrop = s->OleColumnDragDrop;
    OleColumnReorder = s->OleColumnReorder;
    OleColumnsOnly = s->OleColumnsOnly;
    ShowCells = s->ShowCells;
}

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (!FGrid || (FGrid->IsDesigning())) return;
    if (Value) {
        if (FGrid->FOleDropTargetAssigned) return;
        auto target = std::make_shared<TGridDropTarget>(FGrid);
        FGrid->FGridDropTarget = target;
        FGrid->FOleDropTargetAssigned = plat::RegisterDragDrop(FGrid->Handle(), target) == plat::S_OK;
    } else if (FGrid->FOleDropTargetAssigned) {
        plat::RevokeDragDrop(FGrid->Handle());
        FGrid->FOleDropTargetAssigned = false;
        FGrid->FGridDropTarget.reset();
    }
}

void TDragDropSettings::SetOleDropRTF(bool Value)
{
    FOleDropRTF = Value;
    grid::SetOleDropRTF(Value);
}

void TDragScrollDelays::Assign(const plat::TPersistent* Source)
{
    const auto* s = dynamic_cast<const TDragScrollDelays*>(Source);
    if (!s) return plat::TPersistent::Assign(Source);
    InitialDelay = s->InitialDelay;
    RepeatDelay = s->RepeatDelay;
}

void TDragScrollMargins::Assign(const plat::TPersistent* Source)
{
    const auto* s = dynamic_cast<const TDragScrollMargins*>(Source);
    if (!s) return plat::TPersistent::Assign(Source);
    TopMargin = s->TopMargin;
    BottomMargin = s->BottomMargin;
    LeftMargin = s->LeftMargin;
    RightMargin = s->RightMargin;
}

void TDragScrollOptions::Assign(const plat::TPersistent* Source)
{
    const auto* s = dynamic_cast<const TDragScrollOptions*>(Source);
    if (!s) return plat::TPersistent::Assign(Source);
    Active = s->Active;
    FDelays->Assign(s->FDelays.get());
    FMargins->Assign(s->FMargins.get());
}

TDragDropSettings* TExtStringGrid::DragDropSettings()
{
    if (!FDragDropSettings) FDragDropSettings = std::make_unique<TDragDropSettings>(this);
    return FDragDropSettings.get();
}

TDragScrollOptions* TExtStringGrid::DragScrollOptions()
{
    if (!FDragScrollOptions) FDragScrollOptions = std::make_unique<TDragScrollOptions>();
    return FDragScrollOptions.get();
}

void TExtStringGrid::OleColumnDragStart(int ACol, int AIndex, plat::TCustomListBox* AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}

// ---- arrows ---------------------------------------------------------------------------------

void TExtStringGrid::ShowDropArrow(TArrowWindow*& Arrow, TArrowDirection Dir, TPoint Screen)
{
    if (!Arrow) {
        Arrow = new TArrowWindow(this);
        Arrow->Init(this, Dir);
    }
    // A pop-up window: its bounds are screen coordinates.
    const bool side = Dir == arrLeft || Dir == arrRight;
    Arrow->SetBounds(Screen.X, Screen.Y, side ? 9 : 11, side ? 11 : 10);
    Arrow->SetVisible(true);
}

void TExtStringGrid::HideDropArrows()
{
    for (TArrowWindow* a : {ArwU, ArwD, ArwL})
        if (a) a->SetVisible(false);
}

// ---- drag over ------------------------------------------------------------------------------

// The target cell of a drag at screen point pt: the cell under it, or the append place
// below the last row (first normal column of the last row) for a drag without a column.
bool TExtStringGrid::DropTarget(TPoint pt, unsigned DropFormats, int& ACol, int& ARow, bool& Append)
{
    ScreenToCell(pt, ACol, ARow);
    Append = false;
    TDragDropSettings* s = DragDropSettings();
    const TPoint cp = ScreenToClient(pt);
    if (!(DropFormats & DropFormatBit(dfCol)) && s->OleEntireRows && s->OleAppendRows && RowCount() > 0) {
        const TRect last = CellRect(LeftCol(), std::min(RowCount() - 1, TopRow() + VisibleRowCount()));
        const bool lastShown = TopRow() + VisibleRowCount() >= RowCount();
        if (lastShown && cp.Y >= last.Bottom && cp.X >= 0 && cp.X < ClientWidth() && cp.Y < ClientHeight()) {
            ACol = FixedCols();
            ARow = RowCount() - 1;
            Append = true;
        }
    }
    return ACol >= 0 && ARow >= 0;
}

void TExtStringGrid::OleDragMouseMove(TPoint pt, bool& Allow, unsigned DropFormats)
{
    TDragDropSettings* s = DragDropSettings();
    const bool colDrag = (DropFormats & DropFormatBit(dfCol)) != 0;
    int c = -1, r = -1;
    bool append = false;
    DropTarget(pt, DropFormats, c, r, append);
    const TPoint cp = ScreenToClient(pt);
    Allow = c >= 0 && r >= 0;
    if (Allow && !colDrag) {
        if ((r == 0 && TopRow() > FixedRows()) || (cp.Y < 8 && FixedRows() == 0 && TopRow() > 0))
            SetTopRow(TopRow() - 1);
        else if (r == TopRow() + VisibleRowCount() && r < RowCount())
            SetTopRow(TopRow() + 1);
        if (FTickCount % 2 == 0) {
            ++FTickCount;
            if (c == 0 && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
            else if (c == LeftCol() + VisibleColCount() && c < ColCount()) SetLeftCol(LeftCol() + 1);
        }
    }
    bool validCell = c >= 0 && r >= 0;
    if (!colDrag) {
        if (Allow && r < FixedRows() && !(RowCount() == 1 && FixedRowAlways)) Allow = false;
    } else {
        const TRect lastCol = CellRect(ColCount() - 1, 0);
        if (cp.X >= lastCol.Right && LeftCol() + VisibleColCount() >= ColCount() && cp.Y >= 0) {
            c = ColCount();
            r = 0;
            Allow = true;
            validCell = true;
        } else {
            Allow = Allow && r < FixedRows() && c >= FixedCols();
        }
    }
    if (DropFormats & (DropFormatBit(dfFile) | DropFormatBit(dfGridCells))) Allow = true;
    if (OnOleDragOver) OnOleDragOver(this, r, c, Allow);
    Allow = Allow && (validCell || (DropFormats & DropFormatBit(dfFile)));

    if (Allow && colDrag) {
        const TRect cr = c < ColCount() ? CellRect(c, r) : TRect{CellRect(ColCount() - 1, r).Right, CellRect(ColCount() - 1, r).Top,
                                                                    CellRect(ColCount() - 1, r).Right, CellRect(ColCount() - 1, r).Bottom};
        if (ArwL) ArwL->SetVisible(false);
        ShowDropArrow(ArwD, arrDown, ClientToScreen({cr.Left - 5, cr.Top - 8}));
        ShowDropArrow(ArwU, arrUp, ClientToScreen({cr.Left - 5, cr.Bottom}));
    } else if (Allow && validCell) {
        int row = r;
        if (row == 0 && FixedRowAlways) row = 1;
        const int col = s->OleEntireRows ? FixedCols() : c;
        TRect cr = CellRect(col, std::min(row, RowCount() - 1));
        if (append) cr = TRect{cr.Left, cr.Bottom + 1, cr.Right, cr.Bottom + 1 + cr.Height()};
        for (TArrowWindow* a : {ArwU, ArwD})
            if (a) a->SetVisible(false);
        ShowDropArrow(ArwL, arrLeft, ClientToScreen({cr.Left - 10, cr.Top}));
    } else {
        HideDropArrows();
    }
}

void TExtStringGrid::OleDragMouseLeave()
{
    HideDropArrows();
}

// ---- drops ----------------------------------------------------------------------------------

void TExtStringGrid::OleDropText(TPoint pt, const String& s)
{
    TDragDropSettings* st = DragDropSettings();
    int c = -1, r = -1;
    bool append = false;
    DropTarget(pt, 0, c, r, append);
    int cols = 0, rows = 0;
    GetTextTableSize(s, cols, rows);
    const bool rowSelect = Options().Contains(plat::goRowSelect);
    if (rowSelect) c = st->OleEntireRows ? 0 : FixedCols();
    bool allow = true;
    if (OnOleDrop) OnOleDrop(this, r, c, s, allow);
    TRect block{-1, -1, -1, -1};
    FDropStored = false;
    if (allow && c >= 0 && r >= 0) {
        const int n = rows + 1;
        if (st->OleRemoveRows && FDropSelection.Top >= r) {
            FDropSelection.Top += n;
            FDropSelection.Bottom += n;
        }
        if (MouseActions()->DisjunctRowSelect() && r <= static_cast<int>(FRowSelect.size()))
            FRowSelect.insert(FRowSelect.begin() + r, static_cast<std::size_t>(n), false);
        if (r == 0 && RowCount() == FixedRows() + 1 && FixedRowAlways) r = 1;
        if (st->OleInsertRows) {
            const int top = TopRow();
            if (append) {
                SetRowCount(RowCount() + n);
                ++r;
            } else {
                InsertRows(r, n);
            }
            SetTopRow(top > FixedRows() ? std::min(top + 1, std::max(FixedRows(), RowCount() - 1)) : top);
        }
        int pr = 0, pc = 0;
        FDropStored = PasteTextAt(c, r, s, pr, pc) > 0;
        c = std::max(c, FixedCols());
        const int right = rowSelect ? c + cols - 1 - FixedCols() : c + cols - 1;
        block = TRect{c, r, std::max(c, std::min(right, ColCount() - 1)), std::min(r + rows, RowCount() - 1)};
        SetSelection(plat::TGridRect{block.Left, block.Top, block.Right, block.Bottom});
    }
    if (ArwL) ArwL->SetVisible(false);
    if (ArwD) ArwD->SetVisible(false);
    if (OnOleDropped) OnOleDropped(this, block);
}

void TExtStringGrid::OleDropStream(TPoint pt, plat::TMemoryStream& Stream)
{
    int c = -1, r = -1;
    bool append = false;
    DropTarget(pt, 0, c, r, append);
    Stream.SetPosition(0);
    if (c >= 0 && r >= 0) LoadAtPointFromBinStream(TPoint{c, r}, Stream);
    if (ArwL) ArwL->SetVisible(false);
    if (ArwD) ArwD->SetVisible(false);
    const plat::TGridRect sel = Selection();
    if (OnOleDropped) OnOleDropped(this, TRect{sel.Left, sel.Top, sel.Right, sel.Bottom});
}

void TExtStringGrid::OleDropCol(TPoint pt, int DropCol)
{
    int c = -1, r = -1;
    ScreenToCell(pt, c, r);
    const TPoint cp = ScreenToClient(pt);
    if (ColCount() > 0 && cp.X >= CellRect(ColCount() - 1, 0).Right && LeftCol() + VisibleColCount() >= ColCount())
        c = ColCount();
    HideDropArrows();
    if (FOleDragCol != -1) {
        if (FOleDragList && FOleDragIndex >= 0 && FOleDragIndex < FOleDragList->Items()->Count())
            FOleDragList->Items()->Delete(FOleDragIndex);
        const int real = FOleDragCol;
        UnHideColumn(real);
        if (c >= 0 && c < ColCount()) {
            const int from = DisplColIndex(real);
            if (from != c) MoveColumn(from, c);
        }
        FOleDragCol = -1;
        FOleDragIndex = -1;
        FOleDragList = nullptr;
    } else if (DragDropSettings()->OleColumnReorder && c >= 0) {
        c = std::min(c, ColCount() - 1);
        const int from = DisplColIndex(DropCol);
        if (from >= 0 && from != c) MoveColumn(from, c);
    }
    if (OnOleDropCol) OnOleDropCol(this, r, c, DropCol);
}

void TExtStringGrid::OleDropCellText(TPoint pt, const String& s, bool URL)
{
    int c = -1, r = -1;
    bool append = false;
    DropTarget(pt, 0, c, r, append);
    bool allow = true;
    if (URL) {
        if (OnOleDropURL) OnOleDropURL(this, r, c, s, allow);
    } else if (OnOleDrop) {
        OnOleDrop(this, r, c, s, allow);
    }
    if (allow && c >= 0 && r >= 0 && c < ColCount() && r < RowCount()) SetCells(RealColIndex(c), r, s);
    if (ArwL) ArwL->SetVisible(false);
    if (ArwD) ArwD->SetVisible(false);
}

void TExtStringGrid::OleDropFiles(TPoint pt, const std::vector<String>& Files)
{
    struct Hide {
        TExtStringGrid* g;
        ~Hide()
        {
            if (g->ArwL) g->ArwL->SetVisible(false);
            if (g->ArwD) g->ArwD->SetVisible(false);
        }
    } hide{this};
    if (Files.size() != 1) return;
    int c = -1, r = -1;
    bool append = false;
    DropTarget(pt, DropFormatBit(dfFile), c, r, append);
    const String& name = Files.front();
    bool allow = true;
    if (OnOleDropFile) OnOleDropFile(this, r, c, name, allow);
    if (!allow) return;
    if (Upper(name).find(u".CSV") != String::npos) {
        if (OnOleDrop) OnOleDrop(this, -1, -1, name, allow);
        if (allow) LoadFromCSV(name, -1);
    }
}

// ---- the drag from the grid -------------------------------------------------------------

bool TExtStringGrid::OleDragFromCell(int ACol, int ARow)
{
    TDragDropSettings* s = DragDropSettings();
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return false;
    const int real = RealColIndex(ACol);
    if (s->OleColumnsOnly && ARow >= FixedRows()) return false;
    bool allow = true;
    if (OnOleDrag) OnOleDrag(this, ARow, real, Cells(real, ARow), allow);
    if (!allow) return false;
    auto source = std::make_shared<TGridDropSource>(this);
    if (OnOleDragStart) OnOleDragStart(this, ARow, real);
    StartBlockFocus();
    // Every way out of the drag ends the bracket once.
    struct EndBlock {
        TExtStringGrid* g;
        ~EndBlock() { g->EndBlockFocus(); }
    } endBlock{this};
    plat::TDropEffect effect = plat::DROPEFFECT_NONE;
    const plat::TDropEffect ok = plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE;
    if (ARow < FixedRows() && s->OleColumnDragDrop) {
        const plat::HRESULT hr = BeginColumnDragDrop(source, real, ok, effect);
        if (hr != plat::DRAGDROP_S_CANCEL && OnOleDragStop) OnOleDragStop(this, static_cast<int>(effect));
        HideDropArrows();
        return true;
    }
    FDropSelection = Selection();
    std::unique_ptr<plat::TMemoryStream> cells;
    const TRect rect{FDropSelection.Left, FDropSelection.Top, FDropSelection.Right, FDropSelection.Bottom};
    if (Navigation()->AllowFmtClipboard) {
        cells = std::make_unique<plat::TMemoryStream>();
        SaveRectToBinStream(rect, *cells);
    }
    const plat::HRESULT hr = BeginTextDragDrop(source, SelectedText(), Cells(real, ARow), effect, ok, cells.get());
    if (hr == plat::DRAGDROP_S_CANCEL) return true;
    if (effect == plat::DROPEFFECT_MOVE && !s->OleCopyAlways) {
        const bool rowSelect = Options().Contains(plat::goRowSelect);
        if (s->OleRemoveRows && rowSelect) {
            if (MouseActions()->DisjunctRowSelect()) {
                for (int row = RowCount() - 1; row >= FixedRows(); --row)
                    if (GetRowSelect(row)) RemoveRows(row, 1);
            } else {
                RemoveRows(FDropSelection.Top, FDropSelection.Bottom - FDropSelection.Top + 1);
            }
        } else if (MouseActions()->DisjunctRowSelect()) {
            ClearSelection();
        } else {
            for (int col = FDropSelection.Left; col <= FDropSelection.Right; ++col)
                for (int row = FDropSelection.Top; row <= FDropSelection.Bottom; ++row)
                    if (col < ColCount() && row < RowCount()) SetCells(RealColIndex(col), row, String());
        }
    }
    if (OnOleDragStop) OnOleDragStop(this, static_cast<int>(effect));
    return true;
}

// ---- drag scrolling -----------------------------------------------------------------------

void TExtStringGrid::FreeDragScrollTimer()
{
    FDragScrollTimer.reset();
}

void TExtStringGrid::DragOver(plat::TObject* Source, int X, int Y, plat::TDragState State, bool& Accept)
{
    TDragScrollOptions* o = DragScrollOptions();
    if (!o->Active || State == plat::dsDragLeave) {
        FreeDragScrollTimer();
    } else {
        TDragScrollDirection dir = 0;
        const TDragScrollMargins* m = o->Margins();
        if (Y < m->TopMargin) dir |= dsdUp;
        else if (Y > Height() - m->BottomMargin) dir |= dsdDown;
        if (X < m->LeftMargin) dir |= dsdLeft;
        else if (X > Width() - m->RightMargin) dir |= dsdRight;
        if (dir) {
            if (!FDragScrollTimer) {
                FDragScrollTimer = std::make_unique<plat::TTimer>(nullptr);
                FDragScrollTimer->OnTimer = [this](plat::TObject* t) { DragScrollTimer(t); };
                FDragScrollTimer->SetInterval(static_cast<unsigned>(o->Delays()->InitialDelay));
                FDragScrollTimer->SetEnabled(true);
            } else if (FDragScrollDir) {
                FDragScrollTimer->SetInterval(static_cast<unsigned>(o->Delays()->InitialDelay));
            }
            FDragScrollDir = dir;
        } else {
            FreeDragScrollTimer();
            FDragScrollDir = 0;
        }
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TExtStringGrid::DragScrollTimer(plat::TObject*)
{
    TDragScrollOptions* o = DragScrollOptions();
    if (!o->Active) {
        FreeDragScrollTimer();
        return;
    }
    FDragScrollTimer->SetInterval(static_cast<unsigned>(o->Delays()->RepeatDelay));
    bool canScroll = true;
    TDragScrollDirection dir = FDragScrollDir;
    if (OnDragScroll) OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
    if (!canScroll) return;
    if ((dir & dsdUp) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
    if ((dir & dsdDown) && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
    if ((dir & dsdLeft) && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
    if ((dir & dsdRight) && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
}

} // namespace grid
