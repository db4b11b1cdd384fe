#pragma once
// The tree's editor protocol. A tree never knows its editor: per edit it gets a link
// (OnCreateEditor, or the string tree's TStringEditLink) and talks to it in this order:
// PrepareEdit, GetBounds/SetBounds, BeginEdit, then EndEdit or CancelEdit once. A link that
// ended or cancelled refuses every further call.
#include <memory>

#include "LazyTrees.Nodes.h"
#include "plat/Types.h"

namespace plat {
struct TMessage;
}

namespace vtree {

class TBaseLazyTree;
using TColumnIndex = int;

class ILTEditLink {
public:
    virtual ~ILTEditLink() = default;
    // Shows the editor and starts; false refuses.
    virtual bool BeginEdit() = 0;
    // Stops and discards; false refuses.
    virtual bool CancelEdit() = 0;
    // Stops and accepts; false refuses (the edit goes on).
    virtual bool EndEdit() = 0;
    // Sets up for the cell; false refuses.
    virtual bool PrepareEdit(TBaseLazyTree* Tree, PLazyNode Node, TColumnIndex Column) = 0;
    // The editor's rectangle in tree client coordinates.
    virtual plat::TRect GetBounds() = 0;
    virtual void ProcessMessage(plat::TMessage& Message) = 0;
    virtual void SetBounds(plat::TRect R) = 0;
};

// Counted: the tree holds the running edit's link, the string editor holds its own link
// while it lives.
using PLTEditLink = std::shared_ptr<ILTEditLink>;

} // namespace vtree
