#pragma once
// The input bookkeeping, checked after every scripted input step in the input tests.
// Returns an empty text when everything holds, else the first broken rule.
// - The selection array is sorted by address, without duplicates, and holds exactly the
//   nodes flagged vsSelected.
// - Focused node, range anchor, hot node and check node are null or live nodes of the tree.
// - OffsetX and OffsetY lie within their ranges and equal the scroll bars' positions.
// - After a release (AfterRelease): no button, check-pending, drag-pending or band state.
// - The node bookkeeping of TreeInvariants.h.
#include <cstdint>
#include <set>
#include <string>

#include "LazyTrees.BaseTree.h"
#include "TreeInvariants.h"

namespace vtree::testing {

inline std::string CheckInputInvariants(TBaseLazyTree& T, bool AfterRelease = false)
{
    std::set<PLazyNode> live;
    std::set<PLazyNode> flagged;
    for (PLazyNode n = T.GetFirstNoInit(); n; n = T.GetNextNoInit(n)) {
        live.insert(n);
        if (n->Has(vsSelected)) flagged.insert(n);
    }
    const TNodeArray& sel = T.SelectionArray();
    if (static_cast<int>(sel.size()) < T.SelectedCount()) return "selection count exceeds the array";
    std::set<PLazyNode> inArray;
    for (int i = 0; i < T.SelectedCount(); ++i) {
        PLazyNode n = sel[i];
        if (i > 0 && reinterpret_cast<std::uintptr_t>(sel[i - 1]) >= reinterpret_cast<std::uintptr_t>(n))
            return "selection array not sorted and unique at " + std::to_string(i);
        if (!live.count(n)) return "selection holds a node that is not in the tree";
        inArray.insert(n);
    }
    if (inArray != flagged)
        return "selection array (" + std::to_string(inArray.size()) + ") does not mirror vsSelected (" +
               std::to_string(flagged.size()) + ")";
    auto liveOrNull = [&](PLazyNode n) { return !n || live.count(n) != 0; };
    if (!liveOrNull(T.FocusedNode())) return "focused node is not a live node";
    if (!liveOrNull(T.RangeAnchor())) return "range anchor is not a live node";
    if (!liveOrNull(T.HotNode())) return "hot node is not a live node";
    if (!liveOrNull(T.CheckNode())) return "check node is not a live node";
    if (T.OffsetY() > 0 || std::int64_t(T.OffsetY()) < std::min<std::int64_t>(0, std::int64_t(T.ClientHeight()) - T.RangeY()))
        return "OffsetY " + std::to_string(T.OffsetY()) + " outside its range";
    if (T.OffsetX() > 0 || T.OffsetX() < std::min(0, T.ClientWidth() - T.RangeX()))
        return "OffsetX " + std::to_string(T.OffsetX()) + " outside its range";
    if (T.HandleAllocated() && T.UpdateCount() == 0) {
        if (plat::GetScrollPos(T.Handle(), plat::SB_VERT) != -T.OffsetY())
            return "the vertical bar's position " + std::to_string(plat::GetScrollPos(T.Handle(), plat::SB_VERT)) +
                   " is not -OffsetY " + std::to_string(-T.OffsetY());
        if (plat::GetScrollPos(T.Handle(), plat::SB_HORZ) != T.EffectiveOffsetX())
            return "the horizontal bar's position is not the effective horizontal offset";
    }
    if (AfterRelease) {
        const TLazyTreeStates left = StateSet({tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown,
                                               tsMouseCheckPending, tsOLEDragPending, tsVCLDragPending,
                                               tsDrawSelPending, tsDrawSelecting, tsClearPending,
                                               tsToggleFocusedSelection, tsNodeHeightTrackPending,
                                               tsNodeHeightTracking});
        if (T.TreeStates() & left) return "a button, pending or band state is left after the release";
    }
    return CheckTreeInvariants(T);
}

} // namespace vtree::testing

#define EXPECT_INPUT_OK(T, ...) EXPECT_EQ(::vtree::testing::CheckInputInvariants(T, ##__VA_ARGS__), "")
