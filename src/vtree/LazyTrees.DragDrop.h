#pragma once
// The tree's drag manager: the drop source of the drags a tree starts and the drop target
// registered for its window. It forwards the exchange's calls to its tree and keeps what a
// drag needs between them: the incoming data object, the source tree when it lives in this
// program, and whether the tree is the current drop target.
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "plat/DragDrop.h"

namespace vtree {

class ILTDragManager {
public:
    virtual ~ILTDragManager() = default;
    // The exchange's views of the manager.
    virtual std::shared_ptr<plat::IDropSource> DropSource() = 0;
    virtual std::shared_ptr<plat::IDropTarget> DropTarget() = 0;
    // Tells a drop-target helper that the drag left (nothing without one).
    virtual void ForceDragLeave() = 0;
    // The incoming drag's data; else the owner's OnCreateDataObject; else a new data object
    // of the owner for dragging.
    virtual std::shared_ptr<plat::IDataObject> CurrentDataObject() = 0;
    // The tree that started the incoming drag, when it lives in this program.
    virtual TBaseLazyTree* CurrentDragSource() = 0;
    virtual bool HasDropTargetHelper() = 0;
    virtual bool IsDropTargetActive() = 0;
};

class TLTDragManager : public ILTDragManager,
                       public plat::IDropSource,
                       public plat::IDropTarget,
                       public std::enable_shared_from_this<TLTDragManager> {
public:
    explicit TLTDragManager(TBaseLazyTree* AOwner);
    ~TLTDragManager() override;

    std::shared_ptr<plat::IDropSource> DropSource() override { return shared_from_this(); }
    std::shared_ptr<plat::IDropTarget> DropTarget() override { return shared_from_this(); }
    void ForceDragLeave() override;
    std::shared_ptr<plat::IDataObject> CurrentDataObject() override;
    TBaseLazyTree* CurrentDragSource() override { return FDragSource; }
    bool HasDropTargetHelper() override { return false; }
    bool IsDropTargetActive() override { return FIsDropTarget; }

    // Drop target.
    plat::HRESULT DragEnter(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint Pt,
                            plat::TDropEffect& Effect) override;
    plat::HRESULT DragOver(std::uint32_t KeyState, plat::TPoint Pt, plat::TDropEffect& Effect) override;
    plat::HRESULT DragLeave() override;
    plat::HRESULT Drop(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, plat::TPoint Pt,
                       plat::TDropEffect& Effect) override;
    // Drop source.
    plat::HRESULT QueryContinueDrag(bool EscapePressed, std::uint32_t KeyState) override;
    plat::HRESULT GiveFeedback(plat::TDropEffect Effect) override;

    TBaseLazyTree* Owner() const { return FOwner; }
    // The owner goes away: every later call finds no tree.
    void DetachOwner() { FOwner = nullptr; }

private:
    TBaseLazyTree* FOwner;
    TBaseLazyTree* FDragSource = nullptr;
    bool FIsDropTarget = false;
    std::shared_ptr<plat::IDataObject> FDataObject;
};

} // namespace vtree
