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
#include <vector>

#include "plat/String.h"
#include "plat/Types.h"

namespace plat {

class TObject;

// ---------------------------------------------------------------------------------------
// Sparse cell store: per cell a text and an object reference. Empty cells (empty text,
// no object) cost nothing; a text-only cell costs one 24-byte entry, with texts of up to
// four UTF-16 units kept inline and longer ones in one block of their own. Objects are not
// owned.
class TGridCellStore {
public:
    TGridCellStore() = default;
    TGridCellStore(const TGridCellStore&) = delete;
    TGridCellStore& operator=(const TGridCellStore&) = delete;
    TGridCellStore(TGridCellStore&&) noexcept = default;
    TGridCellStore& operator=(TGridCellStore&&) noexcept = default;
    ~TGridCellStore() = default;

    // The empty view for a cell never written or outside the store. The view is valid until
    // the next change of the store.
    StringView CellView(int col, int row) const;
    String Cell(int col, int row) const { return String(CellView(col, row)); }
    // Writes to negative coordinates are ignored.
    void SetCell(int col, int row, StringView text);
    TObject* Object(int col, int row) const;
    void SetObject(int col, int row, TObject* obj);
    bool HasCell(int col, int row) const;

    void Clear();
    // Drops every row at and beyond rowCount.
    void TruncateRows(int rowCount);
    // The rows below (columns right of) the deleted one move up (left) by one.
    void DeleteRow(int row);
    void DeleteColumn(int col);
    // The cells of `from` go to `to`; the ones between shift by one towards `from`.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    // Every cell of the column (row) is emptied.
    void ClearColumn(int col);
    void ClearRow(int row);

    // One past the highest row that holds a cell entry (or did).
    int RowExtent() const { return static_cast<int>(rows_.size()); }
    std::size_t CellCount() const;
    // Bytes held by the store, its own bookkeeping included.
    std::size_t MemoryUsage() const;

    // Calls f(col, text, object) for each stored cell of the row in column order.
    template <class F>
    void ForEachInRow(int row, F&& f) const {
        if (row < 0 || row >= RowExtent()) return;
        for (const Entry& e : rows_[static_cast<std::size_t>(row)]) f(e.col, e.View(), e.obj);
    }

private:
    static constexpr std::uint32_t kInline = 4;
    struct Entry {
        std::int32_t col = 0;
        std::uint32_t len = 0;
        union {
            char16_t inl[kInline];
            char16_t* heap;
        };
        TObject* obj = nullptr;

        explicit Entry(int c) : col(c), heap(nullptr) {}
        Entry(Entry&& o) noexcept;
        Entry& operator=(Entry&& o) noexcept;
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        ~Entry() { Release(); }
        StringView View() const { return {len <= kInline ? inl : heap, len}; }
        void Assign(StringView text);
        void Release();
        bool Empty() const { return len == 0 && obj == nullptr; }
    };
    using Row = std::vector<Entry>;

    const Entry* Find(int col, int row) const;
    Entry& Touch(int col, int row);
    void DropIfEmpty(int col, int row);

    std::vector<Row> rows_;
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
    // Counts below 0 become 0; the fixed count stays below the count.
    void SetCount(int count);
    void SetFixed(int fixed);
    // Resets every size to the new default.
    void SetDefaultSize(int size);
    void SetSize(int i, int size);
    // Moves the size of line `from` to `to` as the cells move.
    void Move(int from, int to);

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

} // namespace plat
