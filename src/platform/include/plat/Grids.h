#pragma once
// The framework's grid base: a sparse cell store, the grid's geometry model and the grid
// controls built on them.
//
// The store and the geometry are plain classes (no window): the controls use them and tests
// reach them directly. Cell coordinates are (column, row), 0-based; negative coordinates
// are never stored. Columns at and beyond the column count are stored like any other, so
// lowering and raising the column count keeps every text.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "plat/Controls.h"
#include "plat/StdCtrls.h"
#include "plat/MaskEdit.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace plat {

class TObject;
class TStrings;
class TStringList;

// ---------------------------------------------------------------------------------------
// Sparse cell store: per cell a text and an object reference. Empty cells (empty text, no
// object) are never stored, and a row without cells costs one pointer. A row is one block:
// a row whose columns are about contiguous is indexed directly (16 bytes per column up to
// its highest), a row with a few far-apart columns keeps its cells sorted by column. Texts
// of up to six UTF-16 units sit in their cell, longer ones in a text area at the end of the
// row's block, so a filled row is a single allocation. Objects are not owned.
class TGridCellStore {
    struct RowBlock;

public:
    // A row's cells outside any store (see TakeRow): owns its texts, moves without copying
    // one.
    class TRow {
    public:
        TRow() = default;
        TRow(TRow&& o) noexcept : block_(o.block_) { o.block_ = nullptr; }
        TRow& operator=(TRow&& o) noexcept;
        TRow(const TRow&) = delete;
        TRow& operator=(const TRow&) = delete;
        ~TRow();
        bool Empty() const { return block_ == nullptr; }
        StringView CellView(int col) const;
        TObject* Object(int col) const;
        // Calls f(col, text, object) for each cell in column order.
        template <class F>
        void ForEach(F&& f) const { TGridCellStore::ForEachIn(block_, f); }

    private:
        friend class TGridCellStore;
        explicit TRow(RowBlock* b) : block_(b) {}
        RowBlock* block_ = nullptr;
    };

    TGridCellStore() = default;
    TGridCellStore(const TGridCellStore&) = delete;
    TGridCellStore& operator=(const TGridCellStore&) = delete;
    TGridCellStore(TGridCellStore&& o) noexcept;
    TGridCellStore& operator=(TGridCellStore&& o) noexcept;
    ~TGridCellStore();

    // The empty view for a cell never written or outside the store. The view is valid until
    // the next change of the store.
    StringView CellView(int col, int row) const {
        if (static_cast<std::size_t>(row) >= rows_.size()) return {};
        const RowBlock* b = rows_[static_cast<std::size_t>(row)];
        if (!b) return {};
        if (!b->sparse)
            return static_cast<std::uint32_t>(col) < b->cap ? b->Slots()[col].View(b->Text()) : StringView();
        return SparseView(b, col);
    }
    String Cell(int col, int row) const { return String(CellView(col, row)); }
    // Writes to negative coordinates are ignored.
    void SetCell(int col, int row, StringView text) {
        // A short text into a directly indexed row that already has room for the column.
        if (static_cast<std::size_t>(row) < rows_.size() && text.size() - 1 < kInline) {
            if (RowBlock* b = rows_[static_cast<std::size_t>(row)];
                b && !b->sparse && static_cast<std::uint32_t>(col) < b->cap) {
                Slot& s = b->Slots()[col];
                if (s.len > kInline) DropText(b, s);
                else if (s.len == 0 && !(b->objs && b->objs[col])) ++b->live;
                __builtin_memmove(s.chars, text.data(), text.size() * sizeof(char16_t));
                s.len = static_cast<std::uint32_t>(text.size());
                return;
            }
        }
        SetCellSlow(col, row, text);
    }
    TObject* Object(int col, int row) const;
    void SetObject(int col, int row, TObject* obj);
    bool HasCell(int col, int row) const;
    // The grid's column count, hidden columns included: in a grid of up to 64 columns a row
    // takes one block of exactly that many columns when its first cell is written; wider or
    // without it (0) a new row is as wide as the row started before it and grows
    // geometrically. Cells beyond it are stored as any other.
    void SetColCountHint(int cols) { colHint_ = cols > 0 ? static_cast<std::uint32_t>(cols) : 0; }

    void Clear();
    // Drops every row at and beyond rowCount.
    void TruncateRows(int rowCount);
    // The rows below (columns right of) the deleted one move up (left) by one.
    void DeleteRow(int row);
    void DeleteColumn(int col);
    // The cells of `from` go to `to`; the ones between shift by one towards `from`.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);

    // Block row operations. Each row's cells move as one container (texts and objects
    // together, no text copied), so the cost grows with the row count, never with the cells,
    // and the number of allocations does not grow with either. Objects are never freed
    // here: merged areas and cell properties travel with their cells. Negative indexes and
    // counts below 1 change nothing; rows past the extent are empty.
    // `count` empty rows at `row`; the rows from `row` on move down by `count`.
    void InsertRows(int row, int count);
    // Drops rows [row, row + count); the rows below move up by `count`.
    void RemoveRows(int row, int count);
    // Rows [from, from + count) end at [to, to + count); the rows they pass shift the other
    // way to close the gap (MoveRow is the block of one).
    void MoveRows(int from, int to, int count);
    void SwapRows(int row1, int row2);
    // Row left + i takes the cells row left + from[i] held, for every i: the rows of
    // [left, left + from.size()) are permuted in one pass, each row's container written once
    // (no text copied, nothing freed). `from` must hold each of 0 .. size - 1 exactly once;
    // otherwise, or for a negative left, nothing changes and the answer is false.
    bool GatherRows(int left, std::span<const int> from);
    // Takes the row's cells out, leaving the row empty (nothing shifts); PutRow puts cells
    // back at a row of this or another store, replacing what it held (texts are freed,
    // objects forgotten). Negative rows give an empty row and put nothing.
    TRow TakeRow(int row);
    void PutRow(int row, TRow&& cells);
    // Every cell of the column (row) is emptied.
    void ClearColumn(int col);
    void ClearRow(int row);

    // One past the highest row that holds a cell entry (or did).
    int RowExtent() const { return static_cast<int>(rows_.size()); }
    // Asks the processor to bring the row's slot into the cache ahead of a SwapRows; a long
    // series of swaps at scattered rows then waits for memory once per batch instead of once
    // per swap. No effect on the contents.
    void PrefetchRow(int row) const {
        if (row >= 0 && static_cast<std::size_t>(row) < rows_.size())
            __builtin_prefetch(&rows_[static_cast<std::size_t>(row)], 1);
    }
    // The same for the start of the row's cells (its first 256 bytes, where the slots and
    // the short texts of a narrow row lie) ahead of reading them: a pass reading one cell of
    // every row overlaps the rows' memory reads. No effect on the contents.
    void PrefetchRowCells(int row) const {
        if (static_cast<std::size_t>(row) >= rows_.size()) return;
        if (const char* b = reinterpret_cast<const char*>(rows_[static_cast<std::size_t>(row)]))
            for (int line = 0; line < 256; line += 64) __builtin_prefetch(b + line);
    }
    std::size_t CellCount() const;
    // Bytes held by the store, its own bookkeeping included.
    std::size_t MemoryUsage() const;

    // Calls f(col, text, object) for each stored cell of the row in column order.
    template <class F>
    void ForEachInRow(int row, F&& f) const {
        if (static_cast<std::size_t>(row) < rows_.size()) ForEachIn(rows_[static_cast<std::size_t>(row)], f);
    }

private:
    static constexpr std::uint32_t kInline = 6;
    // A cell's text: up to kInline units in place, else the offset of its units in the text
    // area of the row (first 4 bytes). len 0 is an empty text.
    struct Slot {
        alignas(8) char16_t chars[kInline];
        std::uint32_t len;
        std::uint32_t Off() const {
            std::uint32_t o;
            __builtin_memcpy(&o, chars, sizeof o);
            return o;
        }
        void SetOff(std::uint32_t o) { __builtin_memcpy(chars, &o, sizeof o); }
        StringView View(const char16_t* text) const { return {len <= kInline ? chars : text + Off(), len}; }
    };
    static_assert(sizeof(Slot) == 16);
    // One allocation: the header, cap slots, in a sparse row cap column numbers (sorted, `used`
    // of them in use), then tcap units of text of which the first tused are handed out. objs,
    // when the row holds any object, runs parallel to the slots.
    struct RowBlock {
        std::uint32_t cap;
        std::uint32_t used;   // sparse: entries in use; dense: unused
        std::uint32_t live;   // cells with a text or an object
        std::uint32_t sparse;
        std::uint32_t tcap;
        std::uint32_t tused;
        TObject** objs;
        Slot* Slots() { return reinterpret_cast<Slot*>(this + 1); }
        const Slot* Slots() const { return reinterpret_cast<const Slot*>(this + 1); }
        std::int32_t* Cols() { return reinterpret_cast<std::int32_t*>(Slots() + cap); }
        const std::int32_t* Cols() const { return reinterpret_cast<const std::int32_t*>(Slots() + cap); }
        char16_t* Text() { return reinterpret_cast<char16_t*>(sparse ? static_cast<void*>(Cols() + cap) : static_cast<void*>(Slots() + cap)); }
        const char16_t* Text() const { return const_cast<RowBlock*>(this)->Text(); }
    };
    static_assert(sizeof(RowBlock) % alignof(Slot) == 0);

    template <class F>
    static void ForEachIn(const RowBlock* b, F& f) {
        if (!b) return;
        const Slot* s = b->Slots();
        const char16_t* text = b->Text();
        if (b->sparse) {
            const std::int32_t* cols = b->Cols();
            for (std::uint32_t i = 0; i < b->used; ++i)
                f(static_cast<int>(cols[i]), s[i].View(text), b->objs ? b->objs[i] : nullptr);
            return;
        }
        for (std::uint32_t i = 0; i < b->cap; ++i)
            if (s[i].len || (b->objs && b->objs[i])) f(static_cast<int>(i), s[i].View(text), b->objs ? b->objs[i] : nullptr);
    }
    // A stored cell of a block while its row is laid out anew.
    struct Item {
        std::int64_t col;
        Slot slot;
        TObject* obj;
    };
    static std::vector<Item> Unpack(const RowBlock* b);
    // A block for the items of `from` (sorted by column), dense or sparse whichever fits,
    // its texts compacted; `growing` leaves room to grow, else the block is sized exactly.
    // `from` is freed.
    RowBlock* Pack(const std::vector<Item>& items, RowBlock* from, bool growing) const;
    static StringView SparseView(const RowBlock* b, int col);
    void SetCellSlow(int col, int row, StringView text);
    // Index of the cell in its block, -1 when the block holds no slot for it.
    static int IndexOf(const RowBlock* b, int col);
    static void FreeBlock(RowBlock* b);
    static RowBlock* NewBlock(std::uint32_t cap, bool sparse, std::uint32_t tcap);
    // Offset of n fresh units in the row's text area, moving the block when it is full.
    static std::uint32_t TextRoom(RowBlock*& b, std::uint32_t n);
    // The slot's text is no longer needed; the tail of the text area is taken back at once.
    static void DropText(RowBlock* b, Slot& s);
    // Slot index for (col, row), creating or widening the row as needed.
    std::uint32_t Touch(int col, int row);
    std::uint32_t Relayout(RowBlock*& b, int col);
    void LearnFromLastRow();
    void AfterEmptied(int row, std::uint32_t idx);
    void TrimTail();

    std::vector<RowBlock*> rows_;
    std::uint32_t colHint_ = 0;
    // What the rows started before held (text units, columns up to the last cell): the
    // size of the next new row's block.
    std::uint32_t textHint_ = 0;
    std::uint32_t spanHint_ = 0;
    std::size_t lastNewRow_ = 0;
};

// ---------------------------------------------------------------------------------------
// Geometry.

struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Cell rectangle, bounds included (Left/Top .. Right/Bottom are all cells of it).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
    goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing,
    goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking, goFixedColClick,
    goFixedRowClick, goFixedHotTrack
};

class TGridOptions {
public:
    constexpr TGridOptions() = default;
    constexpr TGridOptions(std::initializer_list<TGridOption> opts) {
        for (TGridOption o : opts) bits_ |= Bit(o);
    }
    constexpr bool Contains(TGridOption o) const { return (bits_ & Bit(o)) != 0; }
    constexpr TGridOptions& Include(TGridOption o) { bits_ |= Bit(o); return *this; }
    constexpr TGridOptions& Exclude(TGridOption o) { bits_ &= ~Bit(o); return *this; }
    friend constexpr bool operator==(const TGridOptions&, const TGridOptions&) = default;

private:
    static constexpr std::uint32_t Bit(TGridOption o) { return 1u << static_cast<unsigned>(o); }
    std::uint32_t bits_ = 0;
};

// Drawing state of a cell handed to DrawCell.
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdHotTrack, gdPressed };
class TGridDrawState {
public:
    constexpr TGridDrawState() = default;
    constexpr TGridDrawState(std::initializer_list<TGridDrawStateItem> items) {
        for (auto i : items) bits_ |= Bit(i);
    }
    constexpr bool Contains(TGridDrawStateItem i) const { return (bits_ & Bit(i)) != 0; }
    constexpr TGridDrawState& Include(TGridDrawStateItem i) { bits_ |= Bit(i); return *this; }
    constexpr TGridDrawState& Exclude(TGridDrawStateItem i) { bits_ &= ~Bit(i); return *this; }
    friend constexpr bool operator==(const TGridDrawState&, const TGridDrawState&) = default;

private:
    static constexpr std::uint8_t Bit(TGridDrawStateItem i) { return static_cast<std::uint8_t>(1u << i); }
    std::uint8_t bits_ = 0;
};

// One direction of the grid: count, fixed count and the size of each line in pixels.
// Sizes are stored only once one differs from the default, so a million rows of default
// height cost nothing.
class TGridAxis {
public:
    TGridAxis(int count, int fixed, int defaultSize)
        : count_(count), fixed_(fixed), default_(defaultSize) {}

    int Count() const { return count_; }
    int Fixed() const { return fixed_; }
    int DefaultSize() const { return default_; }
    int Size(int i) const;
    // Fetches the place of line i's size into the cache (for passes over scattered lines).
    void Prefetch(int i) const {
        if (static_cast<std::size_t>(i) < sizes_.size()) __builtin_prefetch(&sizes_[static_cast<std::size_t>(i)], 1);
    }
    // Counts below 0 become 0; the fixed count stays below the count.
    void SetCount(int count);
    void SetFixed(int fixed);
    // Resets every size to the new default.
    void SetDefaultSize(int size);
    void SetSize(int i, int size);
    // Moves the size of line `from` to `to` as the cells move.
    void Move(int from, int to);
    // Line left + i takes the size line left + from[i] had (the permutation of
    // TGridCellStore::GatherRows). A range past the count or an index outside it changes
    // nothing. True when a size changed.
    bool Gather(int left, std::span<const int> from);

    // Pixels taken by lines [from, to), each followed by a grid line of lineWidth.
    long long Extent(int from, int to, int lineWidth) const;

private:
    int count_;
    int fixed_;
    int default_;
    std::vector<int> sizes_;  // empty: every line has the default size
};

// The grid's geometry: the two axes, the grid line width, the scroll position and the
// client size. Everything here is arithmetic on those values; costs grow with the number
// of visible lines, never with the total count.
struct TGridLayout {
    TGridAxis Cols{5, 1, 64};
    TGridAxis Rows{5, 1, 24};
    int GridLineWidth = 1;
    int LeftCol = 1;
    int TopRow = 1;
    int ClientWidth = 0;
    int ClientHeight = 0;

    int FixedWidth() const;   // fixed columns with their lines
    int FixedHeight() const;  // fixed rows with their lines
    // Scrollable columns (rows) that fit whole from LeftCol (TopRow); at least 1 while any
    // scrollable line exists.
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Largest LeftCol (TopRow) that still fills the client area; at least the fixed count.
    int MaxLeftCol() const;
    int MaxTopRow() const;
    // Pixel rectangle of a cell in client coordinates, without its grid lines; empty when
    // no part of the cell is in view. A partly visible cell is not cut.
    TRect CellRect(int col, int row) const;
    // The cell under a client point, -1 for a coordinate outside every cell in view.
    TGridCoord MouseToCell(int x, int y) const;
    // Column (row) whose right (bottom) grid line is within `tolerance` pixels of x (y);
    // -1 when none. Used for sizing by dragging a border.
    int ColBorderAt(int x, int tolerance) const;
    int RowBorderAt(int y, int tolerance) const;
    // The LeftCol/TopRow that brings the cell fully into view with the least scrolling.
    int LeftColToShow(int col) const;
    int TopRowToShow(int row) const;
};

// Keyboard navigation of the current cell: where a key takes the cell and the scroll
// position, before SelectCell has its say.
struct TGridMove {
    TGridCoord Cell;
    int TopRow = 0;
    int LeftCol = 0;
    bool Handled = false;
};
// Keys are the platform's virtual-key codes (Left 0x25, Up 0x26, Right 0x27, Down 0x28,
// PageUp 0x21, PageDown 0x22, End 0x23, Home 0x24, Tab 0x09).
TGridMove NavigateKey(const TGridLayout& layout, TGridCoord current, std::uint16_t key,
                      bool shift, bool ctrl, const TGridOptions& options);

// ---------------------------------------------------------------------------------------
// Grid controls.

class TCustomGrid;

// The grid's text editor, placed over the current cell. Its text comes from GetEditText
// and every change goes back through SetEditText. Up, Down, Page keys, Tab, Enter and
// Escape go to the grid.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TCustomGrid* AOwner);
    String ClassName() const override { return u"TInplaceEdit"; }
    TCustomGrid* Grid() const { return grid_; }
    // Takes text and limit from the grid for its current cell.
    virtual void UpdateContents();
    virtual void Deselect();
    // Moves the editor over the rectangle (client coordinates of the grid) and shows it.
    void Move(const TRect& Loc);
    void Hide();

protected:
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void WndProc(TMessage& Message) override;
    virtual void BoundsChanged() override;

private:
    TCustomGrid* grid_;
    bool updating_ = false;
};

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

// Framework grid: geometry, current cell and selection, scrolling with window scroll bars,
// keyboard navigation, mouse selection, sizing and moving of columns and rows, the
// selection timer (id 1) and the inplace editor. Cells are painted by DrawCell, called
// only for cells inside the area being painted.
class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;
    String ClassName() const override { return u"TCustomGrid"; }

    int ColCount() const { return layout_.Cols.Count(); }
    void SetColCount(int Value);
    int RowCount() const { return layout_.Rows.Count(); }
    void SetRowCount(int Value);
    int FixedCols() const { return layout_.Cols.Fixed(); }
    void SetFixedCols(int Value);
    int FixedRows() const { return layout_.Rows.Fixed(); }
    void SetFixedRows(int Value);
    int DefaultColWidth() const { return layout_.Cols.DefaultSize(); }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return layout_.Rows.DefaultSize(); }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const { return layout_.Cols.Size(Index); }
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const { return layout_.Rows.Size(Index); }
    void PrefetchRowHeight(int Index) const { layout_.Rows.Prefetch(Index); }
    void SetRowHeights(int Index, int Value);
    // The heights of rows [left, left + from.size()) follow the rows as the cells do under
    // TGridCellStore::GatherRows; RowHeightsChanged runs once when a height moved.
    void GatherRowHeights(int left, std::span<const int> from);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor Value);

    int Col() const { return current_.X; }
    void SetCol(int Value);
    int Row() const { return current_.Y; }
    void SetRow(int Value);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);
    int TopRow() const { return layout_.TopRow; }
    void SetTopRow(int Value);
    int LeftCol() const { return layout_.LeftCol; }
    void SetLeftCol(int Value);
    int VisibleColCount() const;
    int VisibleRowCount() const;
    // Moves the current cell (asking SelectCell); MoveAnchor also collapses the selection;
    // Show scrolls the cell into view.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);

    TRect CellRect(int ACol, int ARow) const;
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    const TGridOptions& Options() const { return options_; }
    void SetOptions(const TGridOptions& Value);
    int GridLineWidth() const { return layout_.GridLineWidth; }
    void SetGridLineWidth(int Value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool Value);
    TGridState GridState() const { return state_; }
    const TGridLayout& Layout() const { return layout_; }

    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateGrid() { Invalidate(); }

    void MoveColumn(int FromIndex, int ToIndex);
    void MoveRow(int FromIndex, int ToIndex);
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // Overridable hooks.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual bool SelectCell(int ACol, int ARow);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    virtual void RowMoved(int FromIndex, int ToIndex);
    virtual bool CanEditShow();
    virtual String GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const String& Value);
    virtual String GetEditMask(int ACol, int ARow);
    virtual int GetEditLimit();
    virtual TInplaceEdit* CreateEditor();
    // The mouse state a press at (X, Y) starts: sizing (Index = line, SizingPos = border
    // position) or normal.
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);

    void WndProc(TMessage& Message) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Paint() override;
    void CreateWnd() override;
    void CreateParams(TCreateParams& Params) override;
    void Resize() override;
    void ChangeScale(int M, int D) override;
    void Loaded() override;
    // Counts changed; a string grid drops the cells of removed rows.
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    // The framework's update bracket: no cell invalidation while it is open.
    int UpdateLock() const { return updateLock_; }
    void BeginGridUpdate() { ++updateLock_; }
    void EndGridUpdate() { if (updateLock_ > 0) --updateLock_; }
    // Fixed-cell painting of the framework's own look (used when DefaultDrawing is on).
    void DrawFixedFrame(const TRect& ARect);
    // Sets range, page and position of both window bars from the layout, showing a bar
    // exactly while lines are scrolled out of view and the grid's bar style includes it.
    void UpdateScrollBars();
    // The window bars the grid may show (ssBoth at creation); ssNone keeps both hidden.
    TScrollStyle GridScrollBars() const { return gridScrollBars_; }
    void SetGridScrollBars(TScrollStyle Value);
    // Pixels at the bottom of the client area covered by a docked child (0 at creation): the
    // cells are laid out, counted as visible and scrolled above it, so the last row can
    // always be brought into view. Negative values count as 0.
    int ClientBottomInset() const { return clientBottomInset_; }
    void SetClientBottomInset(int Value);

    TInplaceEdit* FInplaceEdit = nullptr;

private:
    friend class TInplaceEdit;
    void SyncLayoutClient();
    void ScrollTo(int NewLeft, int NewTop);
    void ClampTopLeft();
    void HandleScroll(int Bar, int Code, int Pos);
    void ExtendSelection(TGridCoord To);
    void FocusCell(TGridCoord Cell, bool MoveAnchor, bool Show);
    void InvalidateSelectionChange(const TGridRect& Old, const TGridRect& New);
    void InvalidateCellRange(const TGridRect& R);
    void UpdateEditor();
    void SelectionTimer();
    void EndMouseState(int X, int Y);
    // The line that follows the mouse while a column or row is sized, drawn inverted so
    // drawing it again takes it away.
    void DrawSizingLine(int Pos);

    TGridLayout layout_;
    TGridOptions options_;
    TGridCoord current_{1, 1};
    TGridCoord anchor_{1, 1};
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    bool editorMode_ = false;
    int updateLock_ = 0;
    TGridState state_ = gsNormal;
    int sizingIndex_ = -1;
    int sizingPos_ = 0;
    int sizingOfs_ = 0;
    int sizingLine_ = -1;
    int moveFrom_ = -1;
    int moveTo_ = -1;
    TPoint lastMouse_{};
    bool timerOn_ = false;
    bool inScrollUpdate_ = false;
    TScrollStyle gridScrollBars_ = ssBoth;
    int clientBottomInset_ = 0;
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)>;

class TCustomDrawGrid : public TCustomGrid {
public:
    explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
    String ClassName() const override { return u"TDrawGrid"; }

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;

    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void TopLeftChanged() override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
};

// String grid: a text and an object per cell in a sparse store that accepts any column,
// also at and beyond ColCount. Lowering ColCount keeps every cell; lowering RowCount drops
// the cells of the removed rows.
class TStringGrid : public TCustomDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;
    String ClassName() const override { return u"TStringGrid"; }

    String Cells(int ACol, int ARow) const { return store_.Cell(ACol, ARow); }
    StringView CellView(int ACol, int ARow) const { return store_.CellView(ACol, ARow); }
    // Invalidates the cell (and refreshes the editor on the current cell) unless inside
    // the framework's own update.
    void SetCells(int ACol, int ARow, StringView Value);
    // The shown column of a stored column, or -1 when it is not shown. The store is indexed
    // by stored columns; a derived grid that hides columns maps them here so that a write
    // repaints and refreshes the editor of the cell it wrote, never a neighbour.
    virtual int ShownColOfStored(int ACol) { return ACol; }
    TObject* Objects(int ACol, int ARow) const { return store_.Object(ACol, ARow); }
    void SetObjects(int ACol, int ARow, TObject* Value) { store_.SetObject(ACol, ARow, Value); }
    // The row as a list covering columns 0 .. ColCount - 1, and writing one back.
    std::unique_ptr<TStringList> Rows(int ARow) const;
    void SetRows(int ARow, const TStrings& Value);
    std::unique_ptr<TStringList> Cols(int ACol) const;

    TGridCellStore& Store() { return store_; }
    const TGridCellStore& Store() const { return store_; }

    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    // The deleted column's cells do not stay behind past the new column count.
    void DeleteColumn(int ACol) override;

protected:
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    TGridCellStore store_;
};

} // namespace plat
