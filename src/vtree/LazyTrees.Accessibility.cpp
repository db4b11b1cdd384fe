// The tree's accessibility: the accessible objects the registered providers make (handed
// out through WM_GETOBJECT), the focus announcements, and the tree-view item request, through
// which tools that speak the common tree view's protocol read an item's text, images, state
// and child count.
#include <algorithm>

#include "LTAccessibilityFactory.h"
#include "LazyTrees.BaseTree.h"
#include "plat/Messages.h"

namespace vtree {

void TBaseLazyTree::NotifyAccessibleFocusChanged()
{
    if (!FAccessibleItem) return;
    for (std::uint32_t event : {plat::EVENT_OBJECT_LOCATIONCHANGE, plat::EVENT_OBJECT_NAMECHANGE,
                                plat::EVENT_OBJECT_VALUECHANGE, plat::EVENT_OBJECT_STATECHANGE,
                                plat::EVENT_OBJECT_SELECTION, plat::EVENT_OBJECT_FOCUS})
        plat::NotifyWinEvent(event, this, plat::OBJID_CLIENT, plat::CHILDID_SELF);
}

bool TBaseLazyTree::AccessibilityMessage(plat::TMessage& Message)
{
    if (Message.Msg == plat::WM_GETOBJECT) {
        if (TLTAccessibilityFactory::Available()) {
            TLTAccessibilityFactory& factory = TLTAccessibilityFactory::GetAccessibilityFactory();
            if (!FAccessible) FAccessible = factory.CreateIAccessible(this);
            // With the tree-level object there, the item object comes from the later providers.
            if (!FAccessibleItem) FAccessibleItem = factory.CreateIAccessible(this);
        }
        if (static_cast<long>(Message.LParam) != plat::OBJID_CLIENT) return false;
        Message.Result = FAccessible ? plat::LresultFromObject(FAccessible) : 0;
        return true;
    }
    if (Message.Msg != TVM_GETITEMW) return false;
    Message.Result = 0;
    auto* item = reinterpret_cast<TVITEMW*>(Message.LParam);
    if (!item || !(item->mask & TVIF_HANDLE) || !item->hItem) return true;
    auto node = static_cast<PLazyNode>(item->hItem);
    Message.Result = 1;
    auto imageIndex = [&](TLTImageKind Kind) {
        bool ghosted = false;
        int index = -1;
        DoGetImageIndex(node, Kind, NoColumn, ghosted, index);
        return index;
    };
    if (item->mask & TVIF_CHILDREN) item->cChildren = static_cast<int>(node->ChildCount);
    if (item->mask & TVIF_IMAGE) item->iImage = imageIndex(ikNormal);
    if (item->mask & TVIF_SELECTEDIMAGE)
        item->iSelectedImage = imageIndex(ikSelected);
    if (item->mask & TVIF_STATE) {
        item->stateMask = 0xFF2F;
        plat::UINT state = node == FFocusedNode ? TVIS_FOCUSED : 0;
        if (node->Has(vsSelected)) state |= TVIS_SELECTED;
        if (node->Has(vsCutOrCopy)) state |= TVIS_CUT;
        if (node == FDropTargetNode) state |= TVIS_DROPHILITED;
        if (node->Has(vsExpanded)) state |= TVIS_EXPANDED;
        // One-based state image in bits 12..15 and overlay in bits 8..11 (0: none).
        const int stateImage = imageIndex(ikState) + 1;
        const int overlay = imageIndex(ikOverlay) + 1;
        state |= (plat::UINT(std::clamp(stateImage, 0, 15)) << 12) | (plat::UINT(std::clamp(overlay, 0, 15)) << 8);
        item->state = state;
    }
    // A buffer of no characters gets nothing, not even the terminator (it would land in
    // front of the caller's buffer).
    if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        String text;
        if (auto* strings = dynamic_cast<TCustomLazyStringTree*>(this)) text = strings->GetText(node, NoColumn);
        const std::size_t n = std::min<std::size_t>(text.size(), std::size_t(item->cchTextMax) - 1);
        std::copy_n(text.data(), n, item->pszText);
        item->pszText[n] = u'\0';
    }
    return true;
}

} // namespace vtree
