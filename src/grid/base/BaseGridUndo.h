#pragma once
// Undo and redo of cell text changes. TExtGridUndoRedo records changes (real column, display
// row, new and previous text) singly or in bracketed sequences and applies them backwards
// and forwards through its grid. Level counts the applied items: 0 <= Level <= item count.
// A change registered after an undo replaces the undone items, so undo and redo never
// re-apply a change that was taken back. MaxLevel > 0 keeps at most that many items.
#include <functional>
#include <memory>

#include "plat/Classes.h"

namespace grid {

using plat::String;
class TBaseGrid;

class TUndoRedoItem : public plat::TCollectionItem {
public:
    explicit TUndoRedoItem(plat::TCollection* Collection) : plat::TCollectionItem(Collection) {}
    String ClassName() const override { return u"TUndoRedoItem"; }
    void Assign(const plat::TPersistent* Source) override;

    int Row = 0;
    int Col = 0;
    String Value;      // the new text
    String OrigValue;  // the text before the change
    bool SequenceStart = false;
    bool SequenceStop = false;
};

class TUndoRedoCollection : public plat::TCollection {
public:
    TUndoRedoCollection() : plat::TCollection(plat::TCollection::ItemClass<TUndoRedoItem>()) {}
    String ClassName() const override { return u"TUndoRedoCollection"; }
    TUndoRedoItem* Items(int Index) const { return static_cast<TUndoRedoItem*>(plat::TCollection::Items(Index)); }
    TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(plat::TCollection::Add()); }
};

using TExtGridUndoRedoEvent = std::function<void(plat::TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const String& OrigValue, const String& NewValue)>;

class TExtGridUndoRedo : public plat::TComponent {
public:
    explicit TExtGridUndoRedo(plat::TComponent* AOwner);
    ~TExtGridUndoRedo() override;
    String ClassName() const override { return u"TExtGridUndoRedo"; }

    TUndoRedoCollection* Items() const { return FItems.get(); }
    TBaseGrid* Grid() const { return FGrid; }
    // Links the grid (not owned); each side is told when the other goes.
    void SetGrid(TBaseGrid* Value);
    int Level() const { return FLevel; }
    int MaxLevel = 0;  // 0: unlimited
    TExtGridUndoRedoEvent OnUndo, OnRedo;

    virtual void RegisterChange(int ACol, int ARow, const String& NewValue, const String& OldValue);
    virtual void StartSequence();
    virtual void StopSequence();
    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }
    void Reset();

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

private:
    TUndoRedoItem* Append();
    void Apply(const TUndoRedoItem& Item, bool Backwards);
    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr;
    int FLevel = 0;
};

} // namespace grid
