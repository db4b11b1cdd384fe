#pragma once
// The sort state a string grid owns (published as SortSettings): the column and direction
// of the last single-column sort, how empty cells and case are treated, and the header looks
// of the sorted column. Setters that change what is painted repaint the owning grid.
#include <memory>

#include "ExtObj.h"
#include "plat/Classes.h"
#include "plat/Graphics.h"

namespace grid {

class TExtStringGrid;

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };

class TSortSettings : public plat::TPersistent {
public:
    // AOwner may be null (a free-standing copy); then nothing is repainted and the fixed-row
    // check of SetRow accepts any row.
    explicit TSortSettings(TExtStringGrid* AOwner);
    ~TSortSettings() override;
    String ClassName() const override { return u"TSortSettings"; }
    // Copies every property but IgnoreCase and SortOnVirtualCells; other sources are ignored.
    void Assign(const plat::TPersistent* Source) override;

    // Column -1, the grid's sort-index list cleared, the last fixed row repainted.
    void Remove();
    // "i;" + the sort-index list's string form with IndexShow, else "d" or "u" + Column.
    String SaveToString() const;
    // Empty: nothing. Otherwise Show becomes True; a text shorter than two characters raises
    // EExtGridError "Invalid sort settings specifier". A text holding "i;" sets IndexShow and
    // loads what follows its first two characters into the sort-index list (when not empty),
    // then sorts by it; any other text clears IndexShow, sets Direction (ascending when it
    // holds "u") and, when the rest after its first character is a whole number, sets Column
    // and sorts.
    void LoadFromString(const String& Value);
    void ToggleDirection() { Direction = Direction == sdAscending ? sdDescending : sdAscending; }

    // A change repaints the grid.
    bool Show() const { return FShow; }
    void SetShow(bool Value);
    // The fixed row whose header click sorts. On a grid with fixed rows it must lie below
    // FixedRows, on one without it must be 0; anything else raises EExtGridError "Sort row
    // should be smaller than number of fixed rows" and keeps the old value.
    int Row() const { return FRow; }
    void SetRow(int Value);

    // Header colours of the sorted column (kColorNotSet: none); a changed value repaints the
    // last fixed row.
    static constexpr TColor kColorNotSet = 0x1FFFFFFF;
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);

    // Owned pictures; the setters copy.
    plat::TBitmap* UpGlyph() const { return FUpGlyph.get(); }
    void SetUpGlyph(const plat::TBitmap& Value);
    plat::TBitmap* DownGlyph() const { return FDownGlyph.get(); }
    void SetDownGlyph(const plat::TBitmap& Value);
    plat::TBitmap* IndexUpGlyph() const { return FIndexUpGlyph.get(); }
    void SetIndexUpGlyph(const plat::TBitmap& Value);
    plat::TBitmap* IndexDownGlyph() const { return FIndexDownGlyph.get(); }
    void SetIndexDownGlyph(const plat::TBitmap& Value);

    int Column = -1;
    bool IndexShow = false;
    TColor IndexColor = 0x0000FFFF;
    TIndexSortKey IndexSortKey = ikShift;
    bool Full = true;
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending;
    TSortDirection InitSortDirection = sdAscending;
    bool NormalCellsOnly = false;
    bool FixedCols = false;
    bool UndoSort = false;
    bool AutoColumnMerge = false;
    bool AutoSortForGrouping = true;
    bool SortOnVirtualCells = true;
    bool IgnoreCase = false;

private:
    void RepaintHeader();
    TExtStringGrid* FOwner;
    bool FShow = false;
    int FRow = 0;
    TColor FHeaderColor = kColorNotSet, FHeaderColorTo = kColorNotSet;
    TColor FHeaderMirrorColor = kColorNotSet, FHeaderMirrorColorTo = kColorNotSet;
    std::unique_ptr<plat::TBitmap> FUpGlyph, FDownGlyph, FIndexUpGlyph, FIndexDownGlyph;
};

} // namespace grid
