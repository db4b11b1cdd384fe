// Scrolling: the offsets with their clamping and bringing a node into view.
#include <algorithm>

#include "LazyTrees.BaseTree.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

bool TBaseLazyTree::DoSetOffsetXY(TPoint Value)
{
    const int minX = std::min(0, ClientWidth() - FRangeX);
    const int minY = static_cast<int>(std::min<std::int64_t>(0, std::int64_t(ClientHeight()) - FRangeY));
    const int x = std::clamp(Value.X, minX, 0);
    const int y = std::clamp(Value.Y, minY, 0);
    int deltaX = x - FOffsetX;
    if (FBiDiMode != bdLeftToRight) deltaX = -deltaX;
    const int deltaY = y - FOffsetY;
    if (deltaX == 0 && deltaY == 0) return false;
    FOffsetX = x;
    FOffsetY = y;
    FEffectiveOffsetX = FBiDiMode != bdLeftToRight ? FRangeX + FOffsetX - ClientWidth() : -FOffsetX;
    if (FEffectiveOffsetX < 0) FEffectiveOffsetX = 0;
    DoStateChange(0, TreeBit(tsHint));
    if (FUpdateCount == 0) InvalidateTree();
    if (HandleAllocated()) {
        const TPoint p = ScreenToClient(plat::GetCursorPos());
        if (ClientRect().Contains(p)) UpdateHotNode(p.X, p.Y);
    }
    if (OnScroll) OnScroll(this, deltaX, deltaY);
    return true;
}

bool TBaseLazyTree::ScrollIntoView(PLazyNode Node, bool Center, bool Horizontally)
{
    (void)Horizontally;
    if (!Node || Node == FRoot) return false;
    for (PLazyNode p = Node->Parent; p && p != FRoot; p = p->Parent)
        if (!p->Has(vsExpanded)) ToggleNode(p);
    const TRect r = GetDisplayRect(Node, NoColumn, true);
    const int ch = ClientHeight();
    if (r.Top < 0) {
        return DoSetOffsetXY({FOffsetX, FOffsetY - r.Top + (Center ? ch / 2 : 0)});
    }
    if (r.Bottom > ch || Center) {
        return DoSetOffsetXY({FOffsetX, FOffsetY + (Center ? ch / 2 : ch) - r.Bottom});
    }
    return false;
}

} // namespace vtree
