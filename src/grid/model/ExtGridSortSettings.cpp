#include "ExtGridSortSettings.h"

#include "ExtGrid.h"

namespace grid {

TSortSettings::TSortSettings(TExtStringGrid* AOwner)
    : FOwner(AOwner),
      FUpGlyph(std::make_unique<plat::TBitmap>()),
      FDownGlyph(std::make_unique<plat::TBitmap>()),
      FIndexUpGlyph(std::make_unique<plat::TBitmap>()),
      FIndexDownGlyph(std::make_unique<plat::TBitmap>()) {}

TSortSettings::~TSortSettings() = default;

void TSortSettings::Assign(const plat::TPersistent* Source) {
    auto s = dynamic_cast<const TSortSettings*>(Source);
    if (!s || s == this) return;
    Column = s->Column;
    FShow = s->FShow;
    IndexShow = s->IndexShow;
    IndexColor = s->IndexColor;
    IndexSortKey = s->IndexSortKey;
    Full = s->Full;
    SingleColumn = s->SingleColumn;
    IgnoreBlanks = s->IgnoreBlanks;
    BlankPos = s->BlankPos;
    AutoFormat = s->AutoFormat;
    Direction = s->Direction;
    InitSortDirection = s->InitSortDirection;
    FUpGlyph->Assign(*s->FUpGlyph);
    FDownGlyph->Assign(*s->FDownGlyph);
    FIndexUpGlyph->Assign(*s->FIndexUpGlyph);
    FIndexDownGlyph->Assign(*s->FIndexDownGlyph);
    NormalCellsOnly = s->NormalCellsOnly;
    FixedCols = s->FixedCols;
    FRow = s->FRow;
    UndoSort = s->UndoSort;
    AutoColumnMerge = s->AutoColumnMerge;
    AutoSortForGrouping = s->AutoSortForGrouping;
    FHeaderColor = s->FHeaderColor;
    FHeaderColorTo = s->FHeaderColorTo;
    FHeaderMirrorColor = s->FHeaderMirrorColor;
    FHeaderMirrorColorTo = s->FHeaderMirrorColorTo;
}

void TSortSettings::RepaintHeader() {
    if (FOwner && FOwner->FixedRows() > 0) FOwner->InvalidateRow(FOwner->FixedRows() - 1);
}

void TSortSettings::Remove() {
    Column = -1;
    if (FOwner) FOwner->SortIndexes()->Clear();
    RepaintHeader();
}

void TSortSettings::SetShow(bool Value) {
    if (FShow == Value) return;
    FShow = Value;
    if (FOwner) FOwner->Invalidate();
}

void TSortSettings::SetRow(int Value) {
    if (FOwner) {
        const int fixed = FOwner->FixedRows();
        // A grid without fixed rows keeps row 0 (its default); one with fixed rows needs one
        // of them, so a header click can reach it.
        if (Value < 0 || (fixed > 0 ? Value >= fixed : Value > 0))
            throw EExtGridError(u"Sort row should be smaller than number of fixed rows");
    }
    FRow = Value;
}

namespace {
void SetColor(TColor& Field, TColor Value, bool& Changed) {
    Changed = Field != Value;
    Field = Value;
}
} // namespace

void TSortSettings::SetHeaderColor(TColor Value) {
    bool c;
    SetColor(FHeaderColor, Value, c);
    if (c) RepaintHeader();
}
void TSortSettings::SetHeaderColorTo(TColor Value) {
    bool c;
    SetColor(FHeaderColorTo, Value, c);
    if (c) RepaintHeader();
}
void TSortSettings::SetHeaderMirrorColor(TColor Value) {
    bool c;
    SetColor(FHeaderMirrorColor, Value, c);
    if (c) RepaintHeader();
}
void TSortSettings::SetHeaderMirrorColorTo(TColor Value) {
    bool c;
    SetColor(FHeaderMirrorColorTo, Value, c);
    if (c) RepaintHeader();
}

void TSortSettings::SetUpGlyph(const plat::TBitmap& Value) { FUpGlyph->Assign(Value); }
void TSortSettings::SetDownGlyph(const plat::TBitmap& Value) { FDownGlyph->Assign(Value); }
void TSortSettings::SetIndexUpGlyph(const plat::TBitmap& Value) { FIndexUpGlyph->Assign(Value); }
void TSortSettings::SetIndexDownGlyph(const plat::TBitmap& Value) { FIndexDownGlyph->Assign(Value); }

} // namespace grid
