#include <algorithm>
#include <cstdlib>
#include <vector>

#include "plat/Classes.h"
#include "plat/Graphics.h"
#include "plat/Grids.h"
#include "plat/Messages.h"

#include <QImage>
#include <QRegion>

#include "ui/UiNative.h"

namespace plat {

namespace {

constexpr std::uintptr_t kSelectionTimer = 1;
constexpr UINT kSelectionTimerMs = 60;
constexpr int kSizingTolerance = 2;

bool IsFixedCell(const TGridLayout& l, int c, int r) { return c < l.Cols.Fixed() || r < l.Rows.Fixed(); }

// Moves the window's pixels of Area (client coordinates) by Dy instead of repainting them, as
// the platform scrolls a window: what waits for a repaint inside Area moves along, the strip
// the move uncovers is invalidated. Only while the window shows a surface of its size and
// paints (redraw on); false otherwise, and the caller repaints the whole grid.
bool ScrollClientPixels(TCustomGrid* grid, const TRect& Area, int Dy) {
    if (Dy == 0 || Area.IsEmpty() || std::abs(Dy) >= Area.Height() || !grid->Showing()) return false;
    NativeWindow& n = ui::N(grid);
    if (n.redrawOff || n.inPaint || !n.widget || !ui::SurfaceIsWhole(n, grid))
        return false;
    TRect uncovered;
    ScrollDC(grid->Canvas(), 0, Dy, Area, Area, &uncovered);
    const TRect a = grid->ClientAreaInWindow();
    const QRegion area(a.Left + Area.Left, a.Top + Area.Top, Area.Width(), Area.Height());
    n.dirty = (n.dirty - area) + ((n.dirty & area).translated(0, Dy) & area);
    grid->InvalidateRect(&uncovered);
    return true;
}

bool RectsIntersect(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

} // namespace

// ---- TInplaceEdit ---------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TCustomGrid* AOwner) : TCustomMaskEdit(AOwner), grid_(AOwner) {
    SetVisible(false);
    SetBorderStyle(bsNone);
    OnChange = [this](TObject*) {
        if (!updating_ && grid_) grid_->SetEditText(grid_->Col(), grid_->Row(), Text());
    };
}

void TInplaceEdit::UpdateContents() {
    if (!grid_) return;
    updating_ = true;
    SetMaxLength(grid_->GetEditLimit());
    // The mask first, so that the cell's text is shown through it.
    SetEditMask(grid_->GetEditMask(grid_->Col(), grid_->Row()));
    SetText(grid_->GetEditText(grid_->Col(), grid_->Row()));
    updating_ = false;
}

void TInplaceEdit::Deselect() { SetSelLength(0); }

void TInplaceEdit::Move(const TRect& Loc) {
    SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
    SetVisible(true);
}

void TInplaceEdit::Hide() { SetVisible(false); }

void TInplaceEdit::BoundsChanged() { TCustomEdit::BoundsChanged(); }

void TInplaceEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (!grid_) {
        TCustomEdit::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case VK_ESCAPE:
        grid_->HideEditor();
        if (grid_->CanFocus()) grid_->SetFocus();
        Key = 0;
        return;
    case VK_RETURN:
        grid_->HideEditor();
        if (grid_->CanFocus()) grid_->SetFocus();
        Key = 0;
        return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        grid_->KeyDown(Key, Shift);
        Key = 0;
        return;
    case VK_TAB:
        if (grid_->Options().Contains(goTabs)) {
            grid_->KeyDown(Key, Shift);
            Key = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char16_t& Key) {
    if (Key == u'\r' || Key == 27) Key = 0;  // handled as keys, never typed
    TCustomEdit::KeyPress(Key);
}

void TInplaceEdit::WndProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomEdit::WndProc(Message);
        Message.Result |= DLGC_WANTARROWS;
        if (grid_ && grid_->Options().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        return;
    }
    TCustomEdit::WndProc(Message);
}

// ---- TCustomGrid: counts and sizes -------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    options_ = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    SetControlStyle(ControlStyle() | csCaptureMouse | csDoubleClicks | csOpaque);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_HSCROLL | WS_VSCROLL;
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

void TCustomGrid::Loaded() { TCustomControl::Loaded(); }
void TCustomGrid::ChangeScale(int M, int D) { TCustomControl::ChangeScale(M, D); }

void TCustomGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateScrollBars();
}

void TCustomGrid::Resize() {
    UpdateScrollBars();
    TCustomControl::Resize();
}

void TCustomGrid::SyncLayoutClient() {
    const TRect cr = ClientRect();
    layout_.ClientWidth = std::max(cr.Width(), 0);
    layout_.ClientHeight = std::max(cr.Height() - clientBottomInset_, 0);
}

void TCustomGrid::SetClientBottomInset(int Value) {
    Value = std::max(Value, 0);
    if (Value == clientBottomInset_) return;
    clientBottomInset_ = Value;
    UpdateScrollBars();
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SizeChanged(int, int) {}

void TCustomGrid::SetColCount(int Value) {
    Value = std::max(Value, 1);
    const int oldCols = ColCount(), oldRows = RowCount();
    if (Value == oldCols) return;
    layout_.Cols.SetCount(Value);
    current_.X = std::clamp(current_.X, FixedCols(), std::max(ColCount() - 1, FixedCols()));
    anchor_.X = std::clamp(anchor_.X, FixedCols(), std::max(ColCount() - 1, FixedCols()));
    SizeChanged(oldCols, oldRows);
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
    UpdateEditor();
}

void TCustomGrid::SetRowCount(int Value) {
    Value = std::max(Value, 1);
    const int oldCols = ColCount(), oldRows = RowCount();
    if (Value == oldRows) return;
    layout_.Rows.SetCount(Value);
    current_.Y = std::clamp(current_.Y, FixedRows(), std::max(RowCount() - 1, FixedRows()));
    anchor_.Y = std::clamp(anchor_.Y, FixedRows(), std::max(RowCount() - 1, FixedRows()));
    SizeChanged(oldCols, oldRows);
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
    UpdateEditor();
}

void TCustomGrid::SetFixedCols(int Value) {
    layout_.Cols.SetFixed(Value);
    current_.X = std::max(current_.X, FixedCols());
    anchor_.X = std::max(anchor_.X, FixedCols());
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int Value) {
    layout_.Rows.SetFixed(Value);
    current_.Y = std::max(current_.Y, FixedRows());
    anchor_.Y = std::max(anchor_.Y, FixedRows());
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    layout_.Cols.SetDefaultSize(Value);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    layout_.Rows.SetDefaultSize(Value);
    RowHeightsChanged();
}

void TCustomGrid::SetColWidths(int Index, int Value) {
    if (Index < 0 || Index >= ColCount() || layout_.Cols.Size(Index) == Value) return;
    layout_.Cols.SetSize(Index, Value);
    ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
    if (Index < 0 || Index >= RowCount() || layout_.Rows.Size(Index) == Value) return;
    layout_.Rows.SetSize(Index, Value);
    RowHeightsChanged();
}

void TCustomGrid::GatherRowHeights(int left, std::span<const int> from) {
    if (layout_.Rows.Gather(left, from)) RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged() {
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
    UpdateEditor();
}

void TCustomGrid::RowHeightsChanged() {
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
    UpdateEditor();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    fixedColor_ = Value;
    Invalidate();
}

void TCustomGrid::SetOptions(const TGridOptions& Value) {
    if (Value == options_) return;
    options_ = Value;
    if (!options_.Contains(goEditing)) HideEditor();
    Invalidate();
    UpdateEditor();
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == layout_.GridLineWidth) return;
    layout_.GridLineWidth = Value;
    ClampTopLeft();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
    defaultDrawing_ = Value;
    Invalidate();
}

// ---- position and selection -----------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
    TGridRect r{std::min(anchor_.X, current_.X), std::min(anchor_.Y, current_.Y), std::max(anchor_.X, current_.X),
                std::max(anchor_.Y, current_.Y)};
    if (options_.Contains(goRowSelect)) {
        r.Left = FixedCols();
        r.Right = ColCount() - 1;
    }
    return r;
}

void TCustomGrid::InvalidateCellRange(const TGridRect& R) {
    // A grid that is not on screen is painted whole when it is shown, and whoever holds an
    // update bracket repaints when it closes: neither needs a cell's area, so a bulk fill of
    // cells costs nothing here.
    if (!HandleAllocated() || updateLock_ > 0 || !Showing()) return;
    // Only the part in view matters: the fixed lines of the range, then its lines from the
    // first scrolled one to the last visible one. Never a walk over the whole range. The
    // visible counts are taken only when the range reaches past the fixed lines.
    struct Spans {
        std::pair<int, int> s[2];
        int n = 0;
    };
    auto spans = [](int lo, int hi, int fixed, int first, auto lastVisible) {
        Spans out;
        if (lo < fixed) out.s[out.n++] = {std::max(lo, 0), std::min(hi, fixed - 1)};
        if (hi >= first) {
            const int a = std::max(lo, first), b = std::min(hi, lastVisible());
            if (a <= b) out.s[out.n++] = {a, b};
        }
        return out;
    };
    const Spans rowSpans = spans(R.Top, R.Bottom, FixedRows(), layout_.TopRow,
                                 [&] { return layout_.TopRow + layout_.VisibleRowCount(); });
    if (rowSpans.n == 0) return;
    const Spans colSpans = spans(R.Left, R.Right, FixedCols(), layout_.LeftCol,
                                 [&] { return layout_.LeftCol + layout_.VisibleColCount(); });
    TRect u{};
    bool any = false;
    for (int i = 0; i < rowSpans.n; ++i)
        for (int r = rowSpans.s[i].first; r <= rowSpans.s[i].second; ++r)
            for (int j = 0; j < colSpans.n; ++j)
                for (int c = colSpans.s[j].first; c <= colSpans.s[j].second; ++c) {
                    const TRect cr = layout_.CellRect(c, r);
                    if (cr.IsEmpty()) continue;
                    const TRect withLine{cr.Left, cr.Top, cr.Right + layout_.GridLineWidth, cr.Bottom + layout_.GridLineWidth};
                    if (!any) u = withLine;
                    else u = {std::min(u.Left, withLine.Left), std::min(u.Top, withLine.Top),
                              std::max(u.Right, withLine.Right), std::max(u.Bottom, withLine.Bottom)};
                    any = true;
                }
    if (any) InvalidateRect(&u, false);
}

void TCustomGrid::InvalidateSelectionChange(const TGridRect& Old, const TGridRect& New) {
    if (Old == New) return;
    InvalidateCellRange(Old);
    InvalidateCellRange(New);
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    const TGridRect old = Selection();
    anchor_ = {Value.Left, Value.Top};
    current_ = {Value.Right, Value.Bottom};
    InvalidateSelectionChange(old, Selection());
    UpdateEditor();
}

void TCustomGrid::FocusCell(TGridCoord Cell, bool MoveAnchor, bool Show) {
    const TGridRect old = Selection();
    const TGridCoord oldCur = current_;
    current_ = Cell;
    if (MoveAnchor || !options_.Contains(goRangeSelect)) anchor_ = Cell;
    InvalidateSelectionChange(old, Selection());
    if (oldCur != current_) {
        InvalidateCell(oldCur.X, oldCur.Y);
        InvalidateCell(current_.X, current_.Y);
    }
    if (Show) ScrollTo(layout_.LeftColToShow(Cell.X), layout_.TopRowToShow(Cell.Y));
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
    ACol = std::clamp(ACol, FixedCols(), std::max(ColCount() - 1, FixedCols()));
    ARow = std::clamp(ARow, FixedRows(), std::max(RowCount() - 1, FixedRows()));
    const TGridCoord to{ACol, ARow};
    if (to != current_) {
        if (!SelectCell(ACol, ARow)) return;
        if (editorMode_) HideEditor();
    }
    FocusCell(to, MoveAnchor, Show);
    UpdateEditor();
}

void TCustomGrid::ExtendSelection(TGridCoord To) { MoveColRow(To.X, To.Y, false, true); }

void TCustomGrid::SetCol(int Value) { MoveColRow(Value, current_.Y, true, true); }
void TCustomGrid::SetRow(int Value) { MoveColRow(current_.X, Value, true, true); }

int TCustomGrid::VisibleColCount() const { return layout_.VisibleColCount(); }
int TCustomGrid::VisibleRowCount() const { return layout_.VisibleRowCount(); }

void TCustomGrid::SetTopRow(int Value) { ScrollTo(layout_.LeftCol, Value); }
void TCustomGrid::SetLeftCol(int Value) { ScrollTo(Value, layout_.TopRow); }

void TCustomGrid::ClampTopLeft() {
    layout_.LeftCol = std::clamp(layout_.LeftCol, FixedCols(), std::max(layout_.MaxLeftCol(), FixedCols()));
    layout_.TopRow = std::clamp(layout_.TopRow, FixedRows(), std::max(layout_.MaxTopRow(), FixedRows()));
}

void TCustomGrid::ScrollTo(int NewLeft, int NewTop) {
    NewLeft = std::clamp(NewLeft, FixedCols(), std::max(layout_.MaxLeftCol(), FixedCols()));
    NewTop = std::clamp(NewTop, FixedRows(), std::max(layout_.MaxTopRow(), FixedRows()));
    if (NewLeft == layout_.LeftCol && NewTop == layout_.TopRow) return;
    // A move of the top row alone scrolls the rows' pixels and repaints only the rows it
    // uncovers: the distance is the rows passed with their grid lines.
    int dy = 0;
    if (NewLeft == layout_.LeftCol) {
        const int lw = layout_.GridLineWidth;
        for (int r = std::min(NewTop, layout_.TopRow); r < std::max(NewTop, layout_.TopRow) && dy <= ClientHeight(); ++r)
            dy += layout_.Rows.Size(r) + lw;
        if (NewTop > layout_.TopRow) dy = -dy;
    }
    layout_.LeftCol = NewLeft;
    layout_.TopRow = NewTop;
    // A new thumb position repaints the window's frame, which asks for the whole window;
    // while the client area keeps its size the client's pixels need no more than the scroll.
    NativeWindow& n = ui::N(this);
    const QRegion waiting = n.dirty;
    const int cw = ClientWidth(), ch = ClientHeight();
    UpdateScrollBars();
    if (dy != 0 && cw == ClientWidth() && ch == ClientHeight()) n.dirty = waiting;
    int fixedBottom = 0;
    for (int r = 0; r < layout_.Rows.Fixed(); ++r) fixedBottom += layout_.Rows.Size(r) + layout_.GridLineWidth;
    // Only the cells' area moves: pixels under a docked child at the bottom are no cells.
    if (!ScrollClientPixels(this, {0, fixedBottom, ClientWidth(), layout_.ClientHeight}, dy)) Invalidate();
    TopLeftChanged();
    UpdateEditor();
}

void TCustomGrid::TopLeftChanged() {}

TRect TCustomGrid::CellRect(int ACol, int ARow) const { return layout_.CellRect(ACol, ARow); }

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    const TGridCoord c = layout_.MouseToCell(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    TGridCoord c = layout_.MouseToCell(X, Y);
    if (c.X < 0 || c.Y < 0) c = {-1, -1};
    return c;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) { InvalidateCellRange({ACol, ARow, ACol, ARow}); }
void TCustomGrid::InvalidateCol(int ACol) { InvalidateCellRange({ACol, 0, ACol, RowCount() - 1}); }
void TCustomGrid::InvalidateRow(int ARow) { InvalidateCellRange({0, ARow, ColCount() - 1, ARow}); }

// ---- moving and deleting ----------------------------------------------------------------------

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount()) return;
    HideEditor();
    layout_.Cols.Move(FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    Invalidate();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount()) return;
    HideEditor();
    layout_.Rows.Move(FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    Invalidate();
}

void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::DeleteColumn(int ACol) {
    if (ACol < 0 || ACol >= ColCount() || ColCount() <= 1) return;
    MoveColumn(ACol, ColCount() - 1);
    SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int ARow) {
    if (ARow < 0 || ARow >= RowCount() || RowCount() <= 1) return;
    MoveRow(ARow, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

// ---- scroll bars --------------------------------------------------------------------------

void TCustomGrid::SetGridScrollBars(TScrollStyle Value) {
    if (gridScrollBars_ == Value) return;
    gridScrollBars_ = Value;
    UpdateScrollBars();
}

void TCustomGrid::UpdateScrollBars() {
    if (inScrollUpdate_) return;
    inScrollUpdate_ = true;
    // Showing one bar narrows the client area, which can make the other necessary: settle
    // in two rounds.
    for (int round = 0; round < 2; ++round) {
        SyncLayoutClient();
        if (!HandleAllocated()) break;
        const bool allowV = gridScrollBars_ == ssVertical || gridScrollBars_ == ssBoth;
        const bool allowH = gridScrollBars_ == ssHorizontal || gridScrollBars_ == ssBoth;
        const bool needV = allowV && (layout_.MaxTopRow() > FixedRows() || layout_.TopRow > FixedRows());
        const bool needH = allowH && (layout_.MaxLeftCol() > FixedCols() || layout_.LeftCol > FixedCols());
        ShowScrollBar(Handle(), SB_VERT, needV);
        ShowScrollBar(Handle(), SB_HORZ, needH);
    }
    SyncLayoutClient();
    if (HandleAllocated()) {
        TScrollInfo v;
        v.fMask = SIF_ALL;
        v.nMin = 0;
        v.nMax = std::max(RowCount() - FixedRows() - 1, 0);
        v.nPage = static_cast<UINT>(std::max(layout_.VisibleRowCount(), 1));
        v.nPos = layout_.TopRow - FixedRows();
        // Setting a scrollable range shows a bar: only the bars the style includes get one.
        if (gridScrollBars_ == ssVertical || gridScrollBars_ == ssBoth) SetScrollInfo(Handle(), SB_VERT, v, true);
        TScrollInfo h;
        h.fMask = SIF_ALL;
        h.nMin = 0;
        h.nMax = std::max(ColCount() - FixedCols() - 1, 0);
        h.nPage = static_cast<UINT>(std::max(layout_.VisibleColCount(), 1));
        h.nPos = layout_.LeftCol - FixedCols();
        if (gridScrollBars_ == ssHorizontal || gridScrollBars_ == ssBoth) SetScrollInfo(Handle(), SB_HORZ, h, true);
    }
    inScrollUpdate_ = false;
}

void TCustomGrid::HandleScroll(int Bar, int Code, int Pos) {
    const bool vert = Bar == SB_VERT;
    const int first = vert ? layout_.TopRow : layout_.LeftCol;
    const int fixed = vert ? FixedRows() : FixedCols();
    const int page = std::max(vert ? layout_.VisibleRowCount() : layout_.VisibleColCount(), 1);
    const int maxFirst = vert ? layout_.MaxTopRow() : layout_.MaxLeftCol();
    int to = first;
    switch (Code) {
    case SB_LINEUP: to = first - 1; break;
    case SB_LINEDOWN: to = first + 1; break;
    case SB_PAGEUP: to = first - page; break;
    case SB_PAGEDOWN: to = first + page; break;
    case SB_TOP: to = fixed; break;
    case SB_BOTTOM: to = maxFirst; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        if (Code == SB_THUMBTRACK && !options_.Contains(goThumbTracking)) return;
        // The message carries 16 bits of position; longer ranges need the bar's own.
        TScrollInfo si;
        si.fMask = SIF_TRACKPOS | SIF_RANGE;
        if (!GetScrollInfo(Handle(), Bar, si)) return;
        to = fixed + (si.nMax <= 0xFFFF ? Pos : si.nTrackPos);
        break;
    }
    default: return;
    }
    if (vert) ScrollTo(layout_.LeftCol, to);
    else ScrollTo(to, layout_.TopRow);
}

// ---- painting -----------------------------------------------------------------------------

void TCustomGrid::DrawFixedFrame(const TRect& ARect) {
    TRect r = ARect;
    Canvas()->Pen()->SetColor(clBtnHighlight);
    Canvas()->MoveTo(r.Left, r.Bottom - 1);
    Canvas()->LineTo(r.Left, r.Top);
    Canvas()->LineTo(r.Right - 1, r.Top);
    Canvas()->Pen()->SetColor(clBtnShadow);
    Canvas()->MoveTo(r.Right - 1, r.Top);
    Canvas()->LineTo(r.Right - 1, r.Bottom - 1);
    Canvas()->LineTo(r.Left - 1, r.Bottom - 1);
}

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    const TRect clip = canvas->ClipRect();
    const int lw = layout_.GridLineWidth;
    const int cw = layout_.ClientWidth, ch = layout_.ClientHeight;
    const TGridRect sel = Selection();
    const bool focused = Focused();

    // Visible lines of each axis: the fixed ones, then from TopRow/LeftCol to the edge.
    struct Line { int index, pos, size; };
    auto lines = [&](const TGridAxis& axis, int first, int limit) {
        std::vector<Line> out;
        int pos = 0;
        for (int i = 0; i < axis.Fixed() && pos < limit; ++i) {
            out.push_back({i, pos, axis.Size(i)});
            pos += axis.Size(i) + lw;
        }
        for (int i = first; i < axis.Count() && pos < limit; ++i) {
            out.push_back({i, pos, axis.Size(i)});
            pos += axis.Size(i) + lw;
        }
        return std::pair<std::vector<Line>, int>(std::move(out), pos);
    };
    const auto [cols, gridRight] = lines(layout_.Cols, layout_.LeftCol, cw);
    const auto [rows, gridBottom] = lines(layout_.Rows, layout_.TopRow, ch);

    for (const Line& r : rows) {
        if (r.pos >= clip.Bottom || r.pos + r.size + lw <= clip.Top) continue;
        for (const Line& c : cols) {
            if (c.pos >= clip.Right || c.pos + c.size + lw <= clip.Left) continue;
            const TRect cell = Bounds(c.pos, r.pos, c.size, r.size);
            TGridDrawState state;
            const bool fixed = IsFixedCell(layout_, c.index, r.index);
            if (fixed) state.Include(gdFixed);
            const bool isCurrent = c.index == current_.X && r.index == current_.Y;
            if (isCurrent && focused) state.Include(gdFocused);
            if (!fixed && c.index >= sel.Left && c.index <= sel.Right && r.index >= sel.Top && r.index <= sel.Bottom) {
                if (!isCurrent || !focused || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect))
                    state.Include(gdSelected);
            }
            if (RectsIntersect(cell, clip)) {
                if (defaultDrawing_) {
                    canvas->Brush()->SetColor(fixed ? fixedColor_ : (state.Contains(gdSelected) ? clHighlight : Color()));
                    canvas->Font()->Assign(Font());
                    if (state.Contains(gdSelected)) canvas->Font()->SetColor(clHighlightText);
                    canvas->FillRect(cell);
                }
                DrawCell(c.index, r.index, cell, state);
                if (defaultDrawing_ && fixed && Ctl3D()) DrawFixedFrame(cell);
                if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect) && !editorMode_)
                    canvas->DrawFocusRect(cell);
            }
            if (lw > 0) {
                const bool fixedLine = fixed;
                const bool vert = options_.Contains(fixedLine ? goFixedVertLine : goVertLine);
                const bool horz = options_.Contains(fixedLine ? goFixedHorzLine : goHorzLine);
                canvas->Brush()->SetColor(fixedLine ? clBlack : clSilver);
                if (vert) canvas->FillRect({cell.Right, cell.Top, cell.Right + lw, cell.Bottom + lw});
                if (horz) canvas->FillRect({cell.Left, cell.Bottom, cell.Right + lw, cell.Bottom + lw});
                if (!vert || !horz) {
                    canvas->Brush()->SetColor(Color());
                    if (!vert) canvas->FillRect({cell.Right, cell.Top, cell.Right + lw, cell.Bottom});
                    if (!horz) canvas->FillRect({cell.Left, cell.Bottom, cell.Right, cell.Bottom + lw});
                }
            }
        }
    }
    // The area past the last column and row.
    canvas->Brush()->SetColor(Color());
    if (gridRight < cw) canvas->FillRect({gridRight, 0, cw, ch});
    if (gridBottom < ch) canvas->FillRect({0, gridBottom, std::min(gridRight, cw), ch});
    // A sizing line crossing the repainted part was painted over: put it back there.
    if (sizingLine_ >= 0 && (state_ == gsColSizing || state_ == gsRowSizing)) {
        const TPenMode oldMode = canvas->Pen()->Mode();
        canvas->Pen()->SetMode(pmNot);
        canvas->Pen()->SetWidth(1);
        if (state_ == gsColSizing) {
            canvas->MoveTo(sizingLine_, 0);
            canvas->LineTo(sizingLine_, ch);
        } else {
            canvas->MoveTo(0, sizingLine_);
            canvas->LineTo(cw, sizingLine_);
        }
        canvas->Pen()->SetMode(oldMode);
    }
}

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

bool TCustomGrid::SelectCell(int, int) { return true; }

// ---- editing --------------------------------------------------------------------------------

bool TCustomGrid::CanEditShow() {
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect) &&
           (editorMode_ || options_.Contains(goAlwaysShowEditor)) && !IsFixedCell(layout_, current_.X, current_.Y);
}

String TCustomGrid::GetEditText(int, int) { return String(); }
void TCustomGrid::SetEditText(int, int, const String&) {}
String TCustomGrid::GetEditMask(int, int) { return String(); }
int TCustomGrid::GetEditLimit() { return 0; }

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::SetEditorMode(bool Value) {
    if (Value) ShowEditor();
    else HideEditor();
}

void TCustomGrid::ShowEditor() {
    if (!options_.Contains(goEditing) || options_.Contains(goRowSelect)) return;
    editorMode_ = true;
    UpdateEditor();
    if (FInplaceEdit && FInplaceEdit->Visible()) {
        if (Focused() || FInplaceEdit->Focused()) {
            if (FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
        }
        InvalidateCell(current_.X, current_.Y);
    }
}

void TCustomGrid::HideEditor() {
    const bool had = editorMode_;
    editorMode_ = false;
    if (FInplaceEdit && FInplaceEdit->Visible()) {
        const bool hadFocus = FInplaceEdit->Focused();
        FInplaceEdit->Hide();
        if (hadFocus && CanFocus()) SetFocus();
    }
    if (had) InvalidateCell(current_.X, current_.Y);
}

void TCustomGrid::UpdateEditor() {
    if (!CanEditShow()) {
        if (FInplaceEdit && FInplaceEdit->Visible()) FInplaceEdit->Hide();
        return;
    }
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetParent(this);
    }
    const TRect r = CellRect(current_.X, current_.Y);
    if (r.IsEmpty()) {
        FInplaceEdit->Hide();
        return;
    }
    FInplaceEdit->UpdateContents();
    FInplaceEdit->Move(r);
}

// ---- keyboard -------------------------------------------------------------------------------

void TCustomGrid::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const bool shift = (Shift & ssShift) != 0, ctrl = (Shift & ssCtrl) != 0;
    if (Key == VK_F2 && options_.Contains(goEditing)) {
        ShowEditor();
        Key = 0;
        return;
    }
    if (Key == VK_ESCAPE && editorMode_) {
        HideEditor();
        Key = 0;
        return;
    }
    const TGridMove m = NavigateKey(layout_, current_, Key, shift, ctrl, options_);
    if (!m.Handled) return;
    const bool extend = shift && Key != VK_TAB && options_.Contains(goRangeSelect) && !options_.Contains(goRowSelect);
    if (m.Cell != current_) {
        const TGridCoord before = current_;
        MoveColRow(m.Cell.X, m.Cell.Y, !extend, false);
        if (current_ == before) return;  // SelectCell said no
    }
    ScrollTo(m.LeftCol, m.TopRow);
    Key = 0;
}

void TCustomGrid::KeyPress(char16_t& Key) {
    TCustomControl::KeyPress(Key);
    if (Key == 0) return;
    if (!options_.Contains(goEditing) || options_.Contains(goRowSelect)) return;
    if (Key == u'\r') {
        if (editorMode_) HideEditor();
        else ShowEditor();
        Key = 0;
        return;
    }
    if (Key >= 32 && !editorMode_) {
        ShowEditor();
        if (FInplaceEdit && FInplaceEdit->Visible()) {
            // The key that opened the editor replaces the cell's text.
            FInplaceEdit->SetText(String(1, Key));
            FInplaceEdit->SetSelStart(1);
            Key = 0;
        }
    }
}

// ---- mouse ----------------------------------------------------------------------------------

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs) {
    State = gsNormal;
    Index = -1;
    if (options_.Contains(goColSizing) && Y < layout_.FixedHeight()) {
        const int c = layout_.ColBorderAt(X, kSizingTolerance);
        if (c >= 0) {
            State = gsColSizing;
            Index = c;
            const TRect r = layout_.CellRect(c, 0);
            SizingPos = r.Right;
            SizingOfs = X - r.Right;
            return;
        }
    }
    if (options_.Contains(goRowSizing) && X < layout_.FixedWidth()) {
        const int r = layout_.RowBorderAt(Y, kSizingTolerance);
        if (r >= 0) {
            State = gsRowSizing;
            Index = r;
            const TRect cr = layout_.CellRect(0, r);
            SizingPos = cr.Bottom;
            SizingOfs = Y - cr.Bottom;
        }
    }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (CanFocus() && !Focused() && !(FInplaceEdit && FInplaceEdit->Focused())) SetFocus();
    if (Button == mbLeft) {
        lastMouse_ = {X, Y};
        TGridState st;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, index, pos, ofs);
        if (st != gsNormal) {
            state_ = st;
            sizingIndex_ = index;
            sizingPos_ = pos;
            sizingOfs_ = ofs;
            DrawSizingLine(pos);
        } else {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= 0) {
                if (IsFixedCell(layout_, cell.X, cell.Y)) {
                    if (options_.Contains(goColMoving) && cell.Y < FixedRows() && cell.X >= FixedCols()) {
                        state_ = gsColMoving;
                        moveFrom_ = moveTo_ = cell.X;
                    } else if (options_.Contains(goRowMoving) && cell.X < FixedCols() && cell.Y >= FixedRows()) {
                        state_ = gsRowMoving;
                        moveFrom_ = moveTo_ = cell.Y;
                    }
                } else if ((Shift & ssDouble) && options_.Contains(goEditing)) {
                    if (cell == current_) ShowEditor();
                } else {
                    const bool extend = (Shift & ssShift) && options_.Contains(goRangeSelect);
                    // A press on the current cell is a selection of it as well: SelectCell
                    // decides (and may switch editing on for it) before the selecting starts.
                    const bool allowed = cell != current_ || SelectCell(cell.X, cell.Y);
                    if (allowed) MoveColRow(cell.X, cell.Y, !extend, true);
                    if (allowed && current_ == cell) {
                        state_ = gsSelecting;
                        if (HandleAllocated() && SetTimer(Handle(), kSelectionTimer, kSelectionTimerMs)) timerOn_ = true;
                    }
                }
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    lastMouse_ = {X, Y};
    switch (state_) {
    case gsSelecting: {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FixedCols() && cell.Y >= FixedRows() && cell != current_) {
            if (options_.Contains(goRangeSelect)) ExtendSelection(cell);
            else MoveColRow(cell.X, cell.Y, true, true);
        }
        break;
    }
    case gsColSizing:
    case gsRowSizing:
        DrawSizingLine((state_ == gsColSizing ? X : Y) - sizingOfs_);
        break;
    case gsColMoving: {
        const TGridCoord cell = layout_.MouseToCell(X, 0);
        if (cell.X >= FixedCols()) moveTo_ = cell.X;
        break;
    }
    case gsRowMoving: {
        const TGridCoord cell = layout_.MouseToCell(0, Y);
        if (cell.Y >= FixedRows()) moveTo_ = cell.Y;
        break;
    }
    case gsNormal: {
        TGridState st;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, st, index, pos, ofs);
        SetCursor(st == gsColSizing ? crHSplit : st == gsRowSizing ? crVSplit : crDefault);
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::DrawSizingLine(int Pos) {
    if (!HandleAllocated()) return;
    TCanvas* c = Canvas();
    const TPenMode oldMode = c->Pen()->Mode();
    c->Pen()->SetMode(pmNot);
    c->Pen()->SetWidth(1);
    auto line = [&](int p) {
        if (state_ == gsColSizing) {
            c->MoveTo(p, 0);
            c->LineTo(p, layout_.ClientHeight);
        } else {
            c->MoveTo(0, p);
            c->LineTo(layout_.ClientWidth, p);
        }
    };
    if (sizingLine_ >= 0) line(sizingLine_);  // take the old line away
    sizingLine_ = Pos;
    if (Pos >= 0) line(Pos);
    c->Pen()->SetMode(oldMode);
}

void TCustomGrid::EndMouseState(int X, int Y) {
    if (state_ == gsColSizing || state_ == gsRowSizing) DrawSizingLine(-1);
    const TGridState st = state_;
    state_ = gsNormal;
    if (timerOn_) {
        KillTimer(Handle(), kSelectionTimer);
        timerOn_ = false;
    }
    switch (st) {
    case gsColSizing: {
        // One size change at the end of the drag: ColWidthsChanged runs once.
        const int start = layout_.CellRect(sizingIndex_, 0).Left;
        if (start >= 0 || sizingIndex_ < FixedCols()) {
            const int w = std::max(X - sizingOfs_ - std::max(start, 0), 0);
            SetColWidths(sizingIndex_, w);
        }
        break;
    }
    case gsRowSizing: {
        const int start = layout_.CellRect(0, sizingIndex_).Top;
        if (start >= 0 || sizingIndex_ < FixedRows()) {
            const int h = std::max(Y - sizingOfs_ - std::max(start, 0), 0);
            SetRowHeights(sizingIndex_, h);
        }
        break;
    }
    case gsColMoving:
        if (moveFrom_ != moveTo_) MoveColumn(moveFrom_, moveTo_);
        break;
    case gsRowMoving:
        if (moveFrom_ != moveTo_) MoveRow(moveFrom_, moveTo_);
        break;
    default:
        break;
    }
    sizingIndex_ = moveFrom_ = moveTo_ = -1;
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && state_ != gsNormal) EndMouseState(X, Y);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::SelectionTimer() {
    if (state_ != gsSelecting) {
        if (timerOn_) {
            KillTimer(Handle(), kSelectionTimer);
            timerOn_ = false;
        }
        return;
    }
    // While the mouse is held outside the cells, scroll one line towards it and take the
    // selection along to the edge.
    int dc = 0, dr = 0;
    if (lastMouse_.X < layout_.FixedWidth()) dc = -1;
    else if (lastMouse_.X >= layout_.ClientWidth) dc = 1;
    if (lastMouse_.Y < layout_.FixedHeight()) dr = -1;
    else if (lastMouse_.Y >= layout_.ClientHeight) dr = 1;
    if (dc == 0 && dr == 0) return;
    TGridCoord to = current_;
    if (dc != 0) to.X = std::clamp(current_.X + dc, FixedCols(), ColCount() - 1);
    if (dr != 0) to.Y = std::clamp(current_.Y + dr, FixedRows(), RowCount() - 1);
    if (to == current_) return;
    if (options_.Contains(goRangeSelect)) ExtendSelection(to);
    else MoveColRow(to.X, to.Y, true, true);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
    if (current_.Y < RowCount() - 1) MoveColRow(current_.X, current_.Y + 1, true, true);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
    if (current_.Y > FixedRows()) MoveColRow(current_.X, current_.Y - 1, true, true);
    return true;
}

// ---- messages -------------------------------------------------------------------------------

void TCustomGrid::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (options_.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        return;
    case WM_VSCROLL:
        HandleScroll(SB_VERT, LoWord(Message.WParam), HiWord(Message.WParam));
        Message.Result = 0;
        return;
    case WM_HSCROLL:
        HandleScroll(SB_HORZ, LoWord(Message.WParam), HiWord(Message.WParam));
        Message.Result = 0;
        return;
    case WM_TIMER:
        if (Message.WParam == kSelectionTimer) {
            SelectionTimer();
            Message.Result = 0;
            return;
        }
        break;
    case WM_CANCELMODE:
        if (state_ != gsNormal) EndMouseState(lastMouse_.X, lastMouse_.Y);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        InvalidateCellRange(Selection());
        InvalidateCell(current_.X, current_.Y);
        return;
    case WM_ERASEBKGND:
        Message.Result = 1;  // every pixel is painted
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

// ---- TCustomDrawGrid -------------------------------------------------------------------------

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int ACol, int ARow) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TCustomDrawGrid::TopLeftChanged() {
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
    if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex) {
    if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

String TCustomDrawGrid::GetEditText(int ACol, int ARow) {
    String v;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const String& Value) {
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

// ---- TStringGrid ----------------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) { store_.SetColCountHint(ColCount()); }
TStringGrid::~TStringGrid() = default;

void TStringGrid::SetCells(int ACol, int ARow, StringView Value) {
    store_.SetCell(ACol, ARow, Value);
    if (UpdateLock() > 0) return;
    const int shown = ShownColOfStored(ACol);
    if (shown < 0) return;
    InvalidateCell(shown, ARow);
    if (shown == Col() && ARow == Row() && EditorMode() && FInplaceEdit && FInplaceEdit->Visible() &&
        FInplaceEdit->Text() != Value)
        FInplaceEdit->UpdateContents();
}

std::unique_ptr<TStringList> TStringGrid::Rows(int ARow) const {
    auto list = std::make_unique<TStringList>();
    for (int c = 0; c < ColCount(); ++c) list->AddObject(store_.Cell(c, ARow), store_.Object(c, ARow));
    return list;
}

void TStringGrid::SetRows(int ARow, const TStrings& Value) {
    for (int c = 0; c < ColCount(); ++c) SetCells(c, ARow, c < Value.Count() ? Value[c] : String());
}

std::unique_ptr<TStringList> TStringGrid::Cols(int ACol) const {
    auto list = std::make_unique<TStringList>();
    for (int r = 0; r < RowCount(); ++r) list->AddObject(store_.Cell(ACol, r), store_.Object(ACol, r));
    return list;
}

String TStringGrid::GetEditText(int ACol, int ARow) {
    String v = store_.Cell(ACol, ARow);
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value) {
    // The editor already shows the text: store it without refreshing the editor.
    store_.SetCell(ACol, ARow, Value);
    InvalidateCell(ACol, ARow);
    TCustomDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing()) {
        const StringView text = store_.CellView(ACol, ARow);
        if (!text.empty()) Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
    }
    TCustomDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex) {
    store_.MoveColumn(FromIndex, ToIndex);
    TCustomDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex) {
    store_.MoveRow(FromIndex, ToIndex);
    TCustomDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::DeleteColumn(int ACol) {
    const int before = ColCount();
    TCustomDrawGrid::DeleteColumn(ACol);
    if (ColCount() < before) store_.ClearColumn(before - 1);
}

void TStringGrid::SizeChanged(int OldColCount, int OldRowCount) {
    if (RowCount() < OldRowCount) store_.TruncateRows(RowCount());
    store_.SetColCountHint(ColCount());
    TCustomDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

} // namespace plat
