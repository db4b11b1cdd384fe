// Mouse input of the node area: the button messages, press, release and double click,
// moves (row-height tracking, rubber band, hot node), cursors, context menus, cancel mode
// and the focus messages.
#include <algorithm>
#include <cstdlib>

#include "LazyTrees.BaseTree.h"
#include "plat/Forms.h"
#include "plat/Menus.h"

namespace vtree {

using plat::TMessage;
using plat::TPoint;
using plat::TRect;
using plat::TShiftState;

namespace {

TShiftState ShiftOfMessage(const TMessage& M)
{
    TShiftState s = 0;
    if (M.WParam & plat::MK_SHIFT) s |= plat::ssShift;
    if (M.WParam & plat::MK_CONTROL) s |= plat::ssCtrl;
    if (plat::GetKeyState(static_cast<int>(plat::VK_MENU)) < 0) s |= plat::ssAlt;
    return s;
}

} // namespace

// The pressed look of a check state (the next one in the enumeration of each kind).
static TCheckState PressedForm(TCheckState S)
{
    switch (S) {
    case csUncheckedNormal: return csUncheckedPressed;
    case csCheckedNormal: return csCheckedPressed;
    case csMixedNormal: return csMixedPressed;
    default: return S;
    }
}

static TCheckState UnpressedForm(TCheckState S)
{
    switch (S) {
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedPressed: return csCheckedNormal;
    case csMixedPressed: return csMixedNormal;
    default: return S;
    }
}

THitInfo TBaseLazyTree::HitAt(TMessage& Message)
{
    THitInfo hit;
    const TPoint p = plat::PointFromLParam(Message.LParam);
    GetHitTestInfoAt(p.X, p.Y, true, hit);
    return hit;
}

void TBaseLazyTree::StopInputTimers()
{
    // Drag expansion, editing, drag scrolling, auto-scroll and search.
    for (std::uintptr_t id : {1u, 2u, 4u, 7u}) KillTreeTimer(id);
}

bool TBaseLazyTree::InputMessage(TMessage& Message)
{
    using namespace plat;
    // Messages sent while the tree is still being built (its options do not exist yet) take
    // the control's own way.
    if (!FOptions) return false;
    if (KeyboardMessage(Message)) return true;
    const TLTSelectionOptions so = FOptions->SelectionOptions();
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
        DoStateChange(TreeBit(tsLeftButtonDown));
        TCustomControl::WndProc(Message);
        THitInfo hit = HitAt(Message);
        ProcessMouseDown(Message, hit);
        return true;
    }
    case WM_LBUTTONUP: {
        DoStateChange(0, StateSet({tsNodeHeightTrackPending, tsNodeHeightTracking, tsLeftButtonDown}));
        THitInfo hit = HitAt(Message);
        ProcessMouseUp(Message, hit);
        TCustomControl::WndProc(Message);
        return true;
    }
    case WM_LBUTTONDBLCLK: {
        DoStateChange(StateSet({tsLeftButtonDown, tsLeftDblClick}));
        TCustomControl::WndProc(Message);
        THitInfo hit = HitAt(Message);
        ProcessMouseDblClick(Message, hit);
        DoStateChange(0, TreeBit(tsLeftDblClick));
        return true;
    }
    case WM_MBUTTONDOWN: {
        DoStateChange(TreeBit(tsMiddleButtonDown));
        TCustomControl::WndProc(Message);
        if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) {
            // A press while panning goes on after a click only ends it.
            StopPanning();
            return true;
        }
        if (In(FOptions->MiscOptions(), toWheelPanning) &&
            (FRangeX > ClientWidth() || static_cast<std::int64_t>(FRangeY) > ClientHeight())) {
            FLastClickPos = PointFromLParam(Message.LParam);
            StartPanning(FLastClickPos);
            return true;
        }
        if (In(so, toMiddleClickSelect)) {
            THitInfo hit = HitAt(Message);
            ProcessMouseDown(Message, hit);
        }
        return true;
    }
    case WM_MBUTTONUP: {
        DoStateChange(0, TreeBit(tsMiddleButtonDown));
        if (HasState(tsWheelPanning)) {
            // Not moved beyond the drag threshold: panning goes on until the next click.
            if (HasState(tsWheelScrolling)) DoStateChange(0, TreeBit(tsWheelPanning));
            else StopPanning();
            return true;
        }
        TCustomControl::WndProc(Message);
        if (In(so, toMiddleClickSelect)) {
            THitInfo hit = HitAt(Message);
            ProcessMouseUp(Message, hit);
        }
        return true;
    }
    case WM_MBUTTONDBLCLK: {
        DoStateChange(StateSet({tsMiddleButtonDown, tsMiddleDblClick}));
        TCustomControl::WndProc(Message);
        if (In(so, toMiddleClickSelect)) {
            THitInfo hit = HitAt(Message);
            ProcessMouseDblClick(Message, hit);
        }
        DoStateChange(0, TreeBit(tsMiddleDblClick));
        return true;
    }
    case WM_RBUTTONDOWN: {
        DoStateChange(TreeBit(tsRightButtonDown));
        FPopupShownForClick = false;
        TCustomControl::WndProc(Message);
        if (In(so, toRightClickSelect)) {
            THitInfo hit = HitAt(Message);
            ProcessMouseDown(Message, hit);
        }
        return true;
    }
    case WM_RBUTTONUP: {
        DoStateChange(0, TreeBit(tsRightButtonDown));
        if ((HasState(tsDrawSelecting) || HasState(tsDrawSelPending)) && PopupMenu()) {
            DoStateChange(0, StateSet({tsDrawSelecting, tsDrawSelPending}));
            InvalidateTree();
        }
        THitInfo hit = HitAt(Message);
        if (In(so, toRightClickSelect)) ProcessMouseUp(Message, hit);
        if (!PopupMenu()) ShowNodePopupMenu(hit.HitNode, hit.HitColumn, PointFromLParam(Message.LParam));
        // The inherited handling (the control's own menu) only when no node menu was shown.
        if (!FPopupShownForClick) TCustomControl::WndProc(Message);
        DoStateChange(0, TreeBit(tsPopupMenuShown));
        return true;
    }
    case WM_RBUTTONDBLCLK: {
        DoStateChange(StateSet({tsRightButtonDown, tsRightDblClick}));
        TCustomControl::WndProc(Message);
        if (In(so, toRightClickSelect)) {
            THitInfo hit = HitAt(Message);
            ProcessMouseDblClick(Message, hit);
        }
        DoStateChange(0, TreeBit(tsRightDblClick));
        return true;
    }
    case WM_CONTEXTMENU:
        StopPanning();
        DoStateChange(0, StateSet({tsClearPending, tsEditPending, tsOLEDragPending, tsVCLDragPending}));
        if (!FPopupShownForClick) TCustomControl::WndProc(Message);
        FPopupShownForClick = false;
        return true;
    case WM_SETCURSOR: {
        if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) {
            plat::SetCursor(FPanningCursor);
            Message.Result = 1;
            return true;
        }
        TCursor c = Cursor();
        THitInfo hit;
        const TPoint p = ScreenToClient(GetCursorPos());
        GetHitTestInfoAt(p.X, p.Y, true, hit);
        if (In(FOptions->MiscOptions(), toNodeHeightResize) && hit.Has(hiOnItem) &&
            (hit.Has(hiUpperSplitter) || hit.Has(hiLowerSplitter))) {
            PLazyNode n = hit.Has(hiUpperSplitter) ? GetPreviousVisible(hit.HitNode, true) : hit.HitNode;
            if (CanSplitterResizeNode(p, n, hit.HitColumn)) c = 62;
            else if (In(FOptions->PaintOptions(), toHotTrack) && FCurrentHotNode && FHotCursor != crDefault) c = FHotCursor;
        } else if (In(FOptions->PaintOptions(), toHotTrack) && FCurrentHotNode && FHotCursor != crDefault) {
            c = FHotCursor;
        }
        DoGetCursor(c);
        plat::SetCursor(c);
        Message.Result = 1;
        return true;
    }
    case CM_MOUSEENTER:
        if (Message.LParam == 0) TCustomControl::WndProc(Message);
        else TCustomControl::WndProc(Message);
        return true;
    case CM_MOUSELEAVE:
        if (Message.LParam != 0) return false;
        DoStateChange(0, TreeBit(tsHint));
        if (!HasState(tsWheelPanning) && !HasState(tsWheelScrolling)) {
            KillTreeTimer(4);
            DoStateChange(0, StateSet({tsScrolling, tsScrollPending}));
        }
        if (FCurrentHotNode) {
            DoHotChange(FCurrentHotNode, nullptr);
            if (In(FOptions->PaintOptions(), toHotTrack) || In(FOptions->MiscOptions(), toCheckSupport))
                InvalidateNode(FCurrentHotNode);
            FCurrentHotNode = nullptr;
        }
        TCustomControl::WndProc(Message);
        return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
        ScrollBarMessage(Message, Message.Msg == WM_VSCROLL);
        return true;
    case CM_MOUSEWHEEL: {
        StopPanning();
        KillTreeTimer(4);
        const int delta = static_cast<std::int16_t>(HiWord(Message.WParam));
        // The low word holds the wheel message's key flags.
        const int keys = LoWord(Message.WParam);
        TShiftState shift = 0;
        if (keys & MK_SHIFT) shift |= ssShift;
        if (keys & MK_CONTROL) shift |= ssCtrl;
        if (GetKeyState(static_cast<int>(VK_MENU)) < 0) shift |= ssAlt;
        if (!TCustomControl::DoMouseWheel(shift, delta, PointFromLParam(Message.LParam))) MouseWheel(shift, delta);
        Message.Result = 1;
        return true;
    }
    case CM_SHOWINGCHANGED:
        TCustomControl::WndProc(Message);
        // The bars are kept only while the tree is on screen: one coming on screen sets them
        // for what it holds, before its first paint.
        if (Showing() && !HasState(tsSizing)) SettleScrollBars();
        return true;
    case WM_SIZE:
        TCustomControl::WndProc(Message);
        // A bar shown or hidden by the running update resizes the client again: that nested
        // size change is left to the update, which runs again for the new client size.
        if (HasState(tsSizing) || ClientHeight() < 1) return true;
        SettleScrollBars();
        return true;
    case WM_CANCELMODE:
        StopPanning();
        StopInputTimers();
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        DoStateChange(0, StateSet({tsClearPending, tsDrawSelPending, tsDrawSelecting, tsEditPending,
                                   tsIncrementalSearching, tsIncrementalSearchPending, tsOLEDragPending,
                                   tsVCLDragPending, tsWheelPanning, tsWheelScrolling}));
        TCustomControl::WndProc(Message);
        return true;
    case WM_SETFOCUS:
        TCustomControl::WndProc(Message);
        if (!(FSelectionCount == 0 && In(FOptions->PaintOptions(), toGhostedIfUnfocused))) InvalidateTree();
        return true;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        StopPanning();
        StopInputTimers();
        FSearchBuffer.clear();
        FLastSearchNode = nullptr;
        DoStateChange(0, StateSet({tsEditPending, tsNodeHeightTrackPending, tsNodeHeightTracking,
                                   tsIncrementalSearching, tsIncrementalSearchPending, tsLeftButtonDown,
                                   tsMiddleButtonDown, tsRightButtonDown, tsOLEDragPending, tsVCLDragPending,
                                   tsScrollPending, tsScrolling, tsWheelPanning, tsWheelScrolling}));
        if (FSelectionCount == 0 && In(FOptions->PaintOptions(), toGhostedIfUnfocused)) InvalidateNode(FFocusedNode);
        else InvalidateTree();
        return true;
    case CM_ENTER:
        TCustomControl::WndProc(Message);
        EnsureNodeSelected();
        return true;
    case WM_TIMER:
        if (Message.WParam == 2) {
            KillTreeTimer(2);
            if (HasState(tsEditPending)) StartEditing();
            return true;
        }
        if (Message.WParam == 4) {
            if (HasState(tsScrollPending)) {
                plat::SetTimer(Handle(), 4, AutoScrollInterval());
                DoStateChange(TreeBit(tsScrolling), TreeBit(tsScrollPending));
            }
            TimerScroll();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TBaseLazyTree::CanSplitterResizeNode(TPoint P, PLazyNode Node, TColumnIndex Column)
{
    // A height track needs a fixed header column; the tree without columns has none.
    bool allowed = In(FOptions->MiscOptions(), toNodeHeightResize) && Node && Node != FRoot && Column >= 0 &&
                   FHeader->Columns().IsValidColumn(Column) && In(FHeader->Columns()[Column]->Options(), coFixed);
    if (OnCanSplitterResizeNode) OnCanSplitterResizeNode(this, P, Node, Column, allowed);
    return allowed;
}

void TBaseLazyTree::ProcessMouseDown(TMessage& Message, THitInfo& HitInfo)
{
    using namespace plat;
    if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) {
        StopPanning();
        return;
    }
    KillTreeTimer(2);
    DoStateChange(0, TreeBit(tsEditPending));
    if (HasState(tsEditing) && !DoEdited()) return;
    if (!Focused() && CanFocus()) {
        SetFocus();
        THitInfo again = HitAt(Message);
        HitInfo = again;
    }
    const TLTSelectionOptions so = FOptions->SelectionOptions();
    const TLTMiscOptions mo = FOptions->MiscOptions();
    TColumnIndex newColumn = FFocusedColumn;
    bool columnChange = false;
    if (HitInfo.Has(hiOnItemLabel) || In(so, toFullRowSelect) || In(mo, toGridExtensions)) {
        columnChange = HitInfo.HitColumn != FFocusedColumn;
        newColumn = In(so, toExtendedFocus) ? HitInfo.HitColumn : FHeader->MainColumn;
        if (newColumn == FFocusedColumn) columnChange = false;
    }
    TShiftState shift = ShiftOfMessage(Message);
    const bool altPressed = (shift & ssAlt) != 0;
    shift &= ~ssAlt;
    const bool shiftEmpty = (shift & (ssShift | ssCtrl)) == 0;
    const bool cellHit = !altPressed && !In(so, toSimpleDrawSelection) &&
                         (HitInfo.Has(hiOnItemLabel) || HitInfo.Has(hiOnNormalIcon));
    const bool fullRowHit = !altPressed && !cellHit && HitInfo.HitNode && !HitInfo.Has(hiNowhere) &&
                            !HitInfo.Has(hiOnItemButton) && !HitInfo.Has(hiOnItemCheckbox) &&
                            (In(so, toFullRowSelect) || (In(mo, toGridExtensions) && HitInfo.HitColumn >= 0));
    const bool isHit = cellHit || fullRowHit;
    const bool nodeSelected = isHit && HitInfo.HitNode->Has(vsSelected);
    const bool multiSelect = In(so, toMultiSelect);
    bool fullRowDrag;
    if (multiSelect && !In(so, toDisableDrawSelection))
        fullRowDrag = In(mo, toFullRowDrag) && fullRowHit && !HitInfo.Has(hiNowhere) &&
                      (nodeSelected || HitInfo.Has(hiOnItemLabel) || HitInfo.Has(hiOnNormalIcon));
    else
        fullRowDrag = In(mo, toFullRowDrag);
    bool shouldDrag = (FDragMode == dmAutomatic) && (!fullRowHit || fullRowDrag);
    if (HitInfo.HitNode && !shouldDrag && FDragMode == dmManual)
        shouldDrag = DoDragAllowed(HitInfo.HitNode, newColumn) && (fullRowDrag || cellHit);

    const bool leftButton = Message.Msg == WM_LBUTTONDOWN;
    if (leftButton && HitInfo.Has(hiOnItem) && (HitInfo.Has(hiUpperSplitter) || HitInfo.Has(hiLowerSplitter))) {
        PLazyNode track = HitInfo.Has(hiUpperSplitter) ? GetPreviousVisible(HitInfo.HitNode, true) : HitInfo.HitNode;
        if (CanSplitterResizeNode(PointFromLParam(Message.LParam), track, HitInfo.HitColumn)) {
            FHeightTrackNode = track;
            FHeightTrackColumn = HitInfo.HitColumn;
            const TRect r = GetDisplayRect(track, HitInfo.HitColumn, false);
            FHeightTrackPoint = {r.Left, r.Top};
            DoStateChange(TreeBit(tsNodeHeightTrackPending));
            return;
        }
    }
    if (HitInfo.Has(hiOnItemButton) && HitInfo.HitNode && HitInfo.HitNode->Has(vsHasChildren)) {
        ToggleNode(HitInfo.HitNode);
        return;
    }
    if (HitInfo.Has(hiOnItemCheckbox)) {
        PLazyNode n = HitInfo.HitNode;
        if (HasState(tsKeyCheckPending) || HasState(tsMouseCheckPending) || n->Has(vsDisabled)) return;
        TCheckState newState = NextCheckStateFor(TCheckType(n->CheckType), UnpressedForm(TCheckState(n->CheckState)));
        if (leftButton && DoChecking(n, newState)) {
            DoStateChange(TreeBit(tsMouseCheckPending));
            FCheckNode = n;
            FPendingCheckState = newState;
            n->CheckState = PressedForm(TCheckState(n->CheckState));
            InvalidateNode(n);
        }
        return;
    }
    MouseSelection(HitInfo, shift, shiftEmpty, altPressed, cellHit, fullRowHit, isHit, nodeSelected, multiSelect,
                   fullRowDrag, shouldDrag, newColumn, columnChange, Message.Msg == WM_RBUTTONDOWN);
    // A drag waits for the pointer to pass the threshold.
    if (shouldDrag && isHit && (HasState(tsLeftButtonDown) || HasState(tsMiddleButtonDown) || HasState(tsRightButtonDown)))
        BeginDrag(false);
}

void TBaseLazyTree::ProcessMouseUp(TMessage& Message, THitInfo& HitInfo)
{
    using namespace plat;
    if (MouseCapture()) SetMouseCapture(false);
    if (HasState(tsVCLDragPending)) return;
    if (HasState(tsDrawSelecting)) {
        DoStateChange(0, TreeBit(tsDrawSelecting));
        InvalidateTree();
    }
    if (HasState(tsClearPending)) {
        if (FFocusedNode && FFocusedNode->Has(vsSelected)) {
            ClearSelection();
            AddToSelection(FFocusedNode);
        } else {
            ClearSelection();
        }
    }
    if (HasState(tsToggleFocusedSelection) && HitInfo.HitNode == FFocusedNode && FFocusedNode) {
        if (FFocusedNode->Has(vsSelected)) {
            if (!(In(FOptions->SelectionOptions(), toAlwaysSelectNode) && FSelectionCount == 1))
                RemoveFromSelection(FFocusedNode);
        } else {
            AddToSelection(FFocusedNode);
        }
        InvalidateNode(FFocusedNode);
    }
    DoStateChange(0, StateSet({tsToggleFocusedSelection, tsClearPending, tsDrawSelPending, tsOLEDragPending,
                               tsVCLDragPending, tsScrolling, tsScrollPending}));
    KillTreeTimer(4);
    if (HasState(tsMouseCheckPending)) {
        DoStateChange(0, TreeBit(tsMouseCheckPending));
        PLazyNode n = FCheckNode;
        if (n) {
            n->CheckState = UnpressedForm(TCheckState(n->CheckState));
            if (HitInfo.HitNode == n && HitInfo.Has(hiOnItem)) CheckClick(n, FPendingCheckState);
            InvalidateNode(n);
        }
        FCheckNode = nullptr;
    }
    if (HitInfo.HitNode) DoNodeClick(HitInfo);
    if (HasState(tsEditPending)) {
        if (HitInfo.HitNode == FFocusedNode && HitInfo.Has(hiOnItem) && In(FOptions->MiscOptions(), toEditOnClick) &&
            HitInfo.HitColumn == FFocusedColumn && CanEdit(FFocusedNode, HitInfo.HitColumn)) {
            FEditColumn = FFocusedColumn;
            plat::SetTimer(Handle(), 2, FEditDelay);
        } else {
            DoStateChange(0, TreeBit(tsEditPending));
        }
    }
}

void TBaseLazyTree::ProcessMouseDblClick(TMessage& Message, THitInfo& HitInfo)
{
    bool startEdit = !HasState(tsEditing) && In(FOptions->MiscOptions(), toEditOnDblClick);
    KillTreeTimer(2);
    // An edit that cannot end keeps the row heights as they are.
    const bool editEnded = !HasState(tsEditing) || DoEdited();
    if (HitInfo.HitNode) DoNodeDblClick(HitInfo);
    PLazyNode node = nullptr;
    if (HitInfo.Has(hiOnItem) && HitInfo.HitColumn >= 0 && FHeader->UseColumns()) {
        if (HitInfo.Has(hiUpperSplitter)) node = GetPreviousVisible(HitInfo.HitNode, true);
        else if (HitInfo.Has(hiLowerSplitter)) node = HitInfo.HitNode;
    }
    const TLTMiscOptions mo = FOptions->MiscOptions();
    if (editEnded && node && node != FRoot && In(mo, toNodeHeightDblClickResize) &&
        DoNodeHeightDblClickResize(node, HitInfo.HitColumn, ShiftOfMessage(Message), HitInfo.HitPoint)) {
        SetNodeHeight(node, FDefaultNodeHeight);
        Update();
        startEdit = false;
    } else if (HitInfo.Has(hiOnItemCheckbox)) {
        PLazyNode n = HitInfo.HitNode;
        if (!HasState(tsKeyCheckPending) && !HasState(tsMouseCheckPending) && !n->Has(vsDisabled)) {
            TCheckState newState = NextCheckStateFor(TCheckType(n->CheckType), TCheckState(n->CheckState));
            if (Message.Msg == plat::WM_LBUTTONDBLCLK && DoChecking(n, newState)) {
                DoStateChange(TreeBit(tsMouseCheckPending));
                FCheckNode = n;
                FPendingCheckState = newState;
                n->CheckState = PressedForm(TCheckState(n->CheckState));
                InvalidateNode(n);
            }
        }
        startEdit = false;
    } else if (HitInfo.Has(hiOnItemButton)) {
        ToggleNode(HitInfo.HitNode);
        startEdit = false;
    } else if (In(mo, toToggleOnDblClick) && HitInfo.HitNode &&
               (HitInfo.Has(hiOnItemButton) || HitInfo.Has(hiOnItemLabel) || HitInfo.Has(hiOnNormalIcon) ||
                HitInfo.Has(hiOnStateIcon) || In(FOptions->SelectionOptions(), toFullRowSelect))) {
        ToggleNode(HitInfo.HitNode);
        startEdit = false;
    }
    if (startEdit && HitInfo.HitNode && HitInfo.HitNode == FFocusedNode && HitInfo.HitColumn == FFocusedColumn &&
        CanEdit(FFocusedNode, HitInfo.HitColumn)) {
        DoStateChange(TreeBit(tsEditPending));
        FEditColumn = FFocusedColumn;
        plat::SetTimer(Handle(), 2, 0);
    }
}

void TBaseLazyTree::MouseMove(TShiftState Shift, int X, int Y)
{
    using namespace plat;
    if (HasState(tsNodeHeightTrackPending)) {
        StopPanning();
        StopInputTimers();
        FSearchBuffer.clear();
        DoStateChange(TreeBit(tsNodeHeightTracking),
                      StateSet({tsNodeHeightTrackPending, tsEditPending, tsIncrementalSearching,
                                tsIncrementalSearchPending, tsOLEDragPending, tsVCLDragPending, tsScrollPending,
                                tsScrolling, tsWheelPanning, tsWheelScrolling}));
    }
    if (!HasState(tsDrawSelPending)) {
        if (HasState(tsNodeHeightTracking)) {
            TPoint track = FHeightTrackPoint;
            if (DoNodeHeightTracking(FHeightTrackNode, FHeightTrackColumn, Shift, track, {X, Y})) {
                FHeightTrackPoint = track;
                SetNodeHeight(FHeightTrackNode, static_cast<std::uint32_t>(std::max(Y, track.Y + 1) - track.Y));
                Update();
            }
            return;
        }
        if (!HasState(tsDrawSelecting)) {
            if (HasState(tsWheelPanning) && HasState(tsWheelScrolling) &&
                (std::abs(X - FLastClickPos.X) >= GetSystemMetrics(SM_CXDRAG) ||
                 std::abs(Y - FLastClickPos.Y) >= GetSystemMetrics(SM_CYDRAG)))
                DoStateChange(0, TreeBit(tsWheelScrolling));
            if (HasState(tsOLEDragPending) && (std::abs(X - FLastClickPos.X) >= FDragThreshold ||
                                               std::abs(Y - FLastClickPos.Y) >= FDragThreshold)) {
                RunOleDrag(FLastClickPos);
                return;
            }
            if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) UpdatePanningCursor(X, Y);
            if (MayAutoScroll()) CheckAutoScroll(X, Y);
            UpdateHotNode(X, Y);
            TCustomControl::MouseMove(Shift, X, Y);
            return;
        }
        if (MayAutoScroll()) CheckAutoScroll(X, Y);
        if (!HasState(tsScrolling) && UpdateRubberBand(X, Y)) {
            if (ApplyRubberBand()) InvalidateTree();
            else InvalidateTree();
            Update();
        }
        return;
    }
    // A pending band becomes a band once it is larger than the drag threshold.
    if (UpdateRubberBand(X, Y)) InvalidateTree();
    const TRect r = FNewSelRect;
    if (std::abs(r.Right - r.Left) > GetSystemMetrics(SM_CXDRAG) ||
        std::abs(r.Bottom - r.Top) > GetSystemMetrics(SM_CYDRAG)) {
        if (HasState(tsClearPending)) {
            DoStateChange(0, TreeBit(tsClearPending));
            ClearSelection();
        }
        DoStateChange(TreeBit(tsDrawSelecting), TreeBit(tsDrawSelPending));
        FFocusedColumn = FHeader->MainColumn;
        ApplyRubberBand();
        InvalidateTree();
    }
}

void TBaseLazyTree::UpdateHotNode(int X, int Y)
{
    THitInfo hit;
    GetHitTestInfoAt(X, Y, true, hit);
    PLazyNode newHot = nullptr;
    if (hit.HitNode && (hit.Has(hiOnItemLabel) || hit.Has(hiOnItemCheckbox) ||
                        (In(FOptions->SelectionOptions(), toFullRowSelect) && !hit.Has(hiNowhere))))
        newHot = hit.HitNode;
    const TColumnIndex newColumn = newHot ? hit.HitColumn : NoColumn;
    const bool repaint = In(FOptions->PaintOptions(), toHotTrack) || In(FOptions->MiscOptions(), toCheckSupport);
    PLazyNode oldHot = FCurrentHotNode;
    if (newHot != FCurrentHotNode || newColumn != FCurrentHotColumn) {
        DoHotChange(FCurrentHotNode, newHot);
        if (repaint && FCurrentHotNode) InvalidateNode(FCurrentHotNode);
        FCurrentHotNode = newHot;
        FCurrentHotColumn = newColumn;
    }
    const bool buttonHit = hit.Has(hiOnItemButtonExact);
    if (FCurrentHotNode) {
        if (buttonHit != FHotNodeButtonHit || repaint) {
            FHotNodeButtonHit = buttonHit;
            InvalidateNode(FCurrentHotNode);
        }
    } else {
        FHotNodeButtonHit = false;
    }
    if (oldHot && oldHot != FCurrentHotNode) InvalidateNode(oldHot);
}

void TBaseLazyTree::DoNodeClick(const THitInfo& HitInfo)
{
    if (OnNodeClick) OnNodeClick(this, HitInfo);
}

void TBaseLazyTree::DoNodeDblClick(const THitInfo& HitInfo)
{
    if (OnNodeDblClick) OnNodeDblClick(this, HitInfo);
}

bool TBaseLazyTree::DoNodeHeightTracking(PLazyNode Node, TColumnIndex Column, TShiftState Shift, TPoint& TrackPoint,
                                         TPoint P)
{
    bool allowed = true;
    if (OnNodeHeightTracking) OnNodeHeightTracking(this, Node, Column, Shift, TrackPoint, P, allowed);
    return allowed;
}

bool TBaseLazyTree::DoNodeHeightDblClickResize(PLazyNode Node, TColumnIndex Column, TShiftState Shift, TPoint P)
{
    bool allowed = true;
    if (OnNodeHeightDblClickResize) OnNodeHeightDblClickResize(this, Node, Column, Shift, P, allowed);
    return allowed;
}

void TBaseLazyTree::DoGetCursor(plat::TCursor& Cursor)
{
    if (OnGetCursor) OnGetCursor(this, Cursor);
}

void TBaseLazyTree::DoHotChange(PLazyNode Old, PLazyNode New)
{
    if (OnHotChange) OnHotChange(this, Old, New);
}

void TBaseLazyTree::DoGetCellIsEmpty(PLazyNode Node, TColumnIndex Column, bool& IsEmpty)
{
    if (OnGetCellIsEmpty) OnGetCellIsEmpty(this, Node, Column, IsEmpty);
}

plat::TPopupMenu* TBaseLazyTree::DoGetPopupMenu(PLazyNode Node, TColumnIndex Column, TPoint P)
{
    plat::TPopupMenu* menu = nullptr;
    if (!OnGetPopupMenu) return nullptr;
    if (!Node) {
        bool askParent = true;
        OnGetPopupMenu(this, nullptr, NoColumn, P, askParent, menu);
        return menu;
    }
    // The node first, then its parents while they are asked for and none answered.
    bool askParent = true;
    for (PLazyNode n = Node; n && n != FRoot && !menu && askParent; n = n->Parent)
        OnGetPopupMenu(this, n, Column, P, askParent, menu);
    return menu;
}

void TBaseLazyTree::ShowNodePopupMenu(PLazyNode Node, TColumnIndex Column, TPoint P)
{
    plat::TPopupMenu* menu = DoGetPopupMenu(Node, Column, P);
    if (!menu) return;
    DoStateChange(TreeBit(tsPopupMenuShown));
    KillTreeTimer(2);
    FPopupShownForClick = true;
    menu->SetPopupComponent(this);
    const TPoint s = ClientToScreen(P);
    menu->Popup(s.X, s.Y);
}

bool TBaseLazyTree::DoDragAllowed(PLazyNode Node, TColumnIndex Column)
{
    bool allowed = false;
    if (OnDragAllowed) OnDragAllowed(this, Node, Column, allowed);
    return allowed;
}

} // namespace vtree
