#include "BaseGridUndo.h"

#include "BaseGrid.h"

namespace grid {

void TUndoRedoItem::Assign(const plat::TPersistent* Source) {
    auto* s = dynamic_cast<const TUndoRedoItem*>(Source);
    if (!s) return;
    Row = s->Row;
    Col = s->Col;
    Value = s->Value;
    OrigValue = s->OrigValue;
    SequenceStart = s->SequenceStart;
    SequenceStop = s->SequenceStop;
}

TExtGridUndoRedo::TExtGridUndoRedo(plat::TComponent* AOwner)
    : plat::TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TExtGridUndoRedo::~TExtGridUndoRedo() {
    if (FGrid && FGrid->UndoRedo() == this) FGrid->SetUndoRedo(nullptr);
}

void TExtGridUndoRedo::SetGrid(TBaseGrid* Value) {
    if (FGrid == Value) return;
    if (FGrid) RemoveFreeNotification(FGrid);
    FGrid = Value;
    if (FGrid) FreeNotification(FGrid);
}

void TExtGridUndoRedo::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    plat::TComponent::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent == FGrid) FGrid = nullptr;
}

TUndoRedoItem* TExtGridUndoRedo::Append() {
    // Undone changes cannot be redone once a new change is made.
    while (FItems->Count() > FLevel) FItems->Delete(FItems->Count() - 1);
    if (MaxLevel > 0)
        while (FItems->Count() >= MaxLevel && FItems->Count() > 0) FItems->Delete(0);
    TUndoRedoItem* item = FItems->Add();
    FLevel = FItems->Count();
    return item;
}

void TExtGridUndoRedo::RegisterChange(int ACol, int ARow, const String& NewValue, const String& OldValue) {
    TUndoRedoItem* item = Append();
    item->Col = ACol;
    item->Row = ARow;
    item->Value = NewValue;
    item->OrigValue = OldValue;
}

void TExtGridUndoRedo::StartSequence() {
    TUndoRedoItem* item = Append();
    item->Col = item->Row = -1;
    item->SequenceStart = true;
}

void TExtGridUndoRedo::StopSequence() {
    TUndoRedoItem* item = Append();
    item->Col = item->Row = -1;
    item->SequenceStop = true;
}

void TExtGridUndoRedo::Apply(const TUndoRedoItem& Item, bool Backwards) {
    const String present = FGrid->GetCellEx(Item.Col, Item.Row);
    const String& next = Backwards ? Item.OrigValue : Item.Value;
    if (Backwards && OnUndo) OnUndo(this, FGrid, Item.Col, Item.Row, present, next);
    if (!Backwards && OnRedo) OnRedo(this, FGrid, Item.Col, Item.Row, present, next);
    FGrid->SetCellEx(Item.Col, Item.Row, next);
    FGrid->SetCol(FGrid->DisplColIndex(Item.Col));
    FGrid->SetRow(Item.Row);
}

void TExtGridUndoRedo::Undo() {
    if (!FGrid || FLevel == 0 || FItems->Count() < FLevel) return;
    const TUndoRedoItem* item = FItems->Items(FLevel - 1);
    if (item->SequenceStop) {
        --FLevel;
        while (FLevel > 0 && !FItems->Items(FLevel - 1)->SequenceStart) {
            Apply(*FItems->Items(FLevel - 1), true);
            --FLevel;
        }
        if (FLevel > 0) --FLevel;  // the start marker
        FGrid->Invalidate();
        return;
    }
    Apply(*item, true);
    FGrid->RepaintCell(FGrid->Col(), item->Row);
    --FLevel;
}

void TExtGridUndoRedo::Redo() {
    if (!FGrid || FLevel >= FItems->Count()) return;
    const TUndoRedoItem* item = FItems->Items(FLevel);
    ++FLevel;
    if (item->SequenceStart) {
        ++FLevel;
        while (FLevel <= FItems->Count() && !FItems->Items(FLevel - 1)->SequenceStop) {
            Apply(*FItems->Items(FLevel - 1), false);
            ++FLevel;
        }
        if (FLevel > FItems->Count()) FLevel = FItems->Count();
        FGrid->Invalidate();
        return;
    }
    Apply(*item, false);
}

void TExtGridUndoRedo::Reset() {
    FItems->Clear();
    FLevel = 0;
}

// ---- the grid's side of the link -------------------------------------------------------------

void TBaseGrid::SetUndoRedo(TExtGridUndoRedo* Value) {
    if (FUndoRedo == Value) return;
    TExtGridUndoRedo* old = FUndoRedo;
    FUndoRedo = Value;
    if (old && old->Grid() == this) old->SetGrid(nullptr);
    if (Value) Value->SetGrid(this);
}

void TBaseGrid::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    TObjStringGrid::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
}

} // namespace grid
