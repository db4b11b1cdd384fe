// Selection and focus beyond the store: the mouse selection sequence, ranges, the rubber
// band, select-all and inversion, the focus setters and the always-select bookkeeping.
#include <algorithm>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "plat/Forms.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;
using plat::TShiftState;

namespace {

TRect Ordered(const TRect& R)
{
    return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)};
}

} // namespace

void TBaseLazyTree::MouseSelection(const THitInfo& HitInfo, TShiftState ShiftState, bool ShiftEmpty, bool AltPressed,
                                   bool CellHit, bool FullRowHit, bool IsHit, bool NodeSelected, bool MultiSelect,
                                   bool FullRowDrag, bool ShouldDrag, TColumnIndex NewColumn, bool ColumnChange,
                                   bool RightButton)
{
    using namespace plat;
    const TLTSelectionOptions so = FOptions->SelectionOptions();
    PLazyNode hitNode = HitInfo.HitNode;
    // 1. The selection level.
    if ((FRoot->ChildCount > 0 && ShiftEmpty) || FSelectionCount == 0) {
        PLazyNode n = hitNode ? hitNode : GetLastVisibleNoInit(nullptr, true);
        if (n) FLastSelectionLevel = static_cast<int>(GetNodeLevel(n));
    }
    // 2. Clear on release unless a drag starts.
    if (MultiSelect && ShiftEmpty && !HitInfo.Has(hiOnItemCheckbox) && IsHit && ShouldDrag && NodeSelected &&
        !FSelectionLocked)
        DoStateChange(TreeBit(tsClearPending));
    // 3.
    const bool keepSelection =
        !ShouldDrag && !(RightButton && (PopupMenu() || DoGetPopupMenu(hitNode, HitInfo.HitColumn, HitInfo.HitPoint)));
    // 4. Rubber band start.
    if (!In(so, toDisableDrawSelection) && !CellHit && !FullRowDrag && MultiSelect) {
        SetMouseCapture(true);
        DoStateChange(TreeBit(tsDrawSelPending));
        FDrawSelShiftState = ShiftState;
        FNewSelRect = {HitInfo.HitPoint.X, HitInfo.HitPoint.Y, HitInfo.HitPoint.X, HitInfo.HitPoint.Y};
        FLastSelRect = {};
    }
    // 5. Direct clearing.
    if (!FSelectionLocked &&
        ((!IsHit && !FullRowDrag && MultiSelect && ShiftEmpty) ||
         (IsHit && (!NodeSelected || keepSelection) && (ShiftEmpty || !MultiSelect)))) {
        if (NodeSelected || (AltPressed && hitNode && !HitInfo.Has(hiNowhere))) {
            const int before = FSelectionCount;
            DropSelection();
            FSingletonNodeArray[0] = hitNode;
            bool added;
            MergeIntoSelection(FSingletonNodeArray, 1, true, added);
            if (before > 1) {
                InvalidateTree();
                NotifyChange(nullptr);
            }
        } else if (!(hitNode == nullptr && In(so, toAlwaysSelectNode))) {
            ClearSelectionEx(false);
        }
    }
    // 6. Edit on click.
    if (Focused() && hitNode && (HitInfo.Has(hiOnItemLabel) || (In(FOptions->MiscOptions(), toGridExtensions) &&
                                                                 HitInfo.Has(hiOnItem))) &&
        NodeSelected && !ColumnChange && ShiftEmpty)
        DoStateChange(TreeBit(tsEditPending));
    // 7. A press that may start a band changes no focus.
    if (!In(so, toDisableDrawSelection) && !CellHit && !FullRowDrag && (MultiSelect || !hitNode) && !FullRowHit) {
        if (FSelectionCount == 0) NotifyChange(nullptr);
        return;
    }
    // 8.
    FLastClickPos = HitInfo.HitPoint;
    // 9.
    if (IsHit && DoFocusChanging(FFocusedNode, hitNode, FFocusedColumn, NewColumn)) {
        const PLazyNode lastFocused = FFocusedNode;
        const TColumnIndex lastColumn = FFocusedColumn;
        if (ColumnChange) FFocusedColumn = NewColumn;
        if (hitNode != FFocusedNode) ApplyFocusedNode(hitNode, false);
        if (MultiSelect && !ShiftEmpty) {
            ApplyClickSelection(lastFocused, hitNode, ShouldDrag, ShiftState);
        } else if (ShiftEmpty) {
            FRangeAnchor = hitNode;
            if (!hitNode->Has(vsSelected)) AddToSelection(hitNode);
        }
        if (lastFocused != FFocusedNode || lastColumn != FFocusedColumn) {
            ScrollIntoView(FFocusedNode, In(so, toCenterScrollIntoView),
                           !In(FOptions->AutoOptions(), toDisableAutoscrollOnFocus) && !In(so, toFullRowSelect));
            DoFocusChanged(FFocusedNode, FFocusedColumn);
        }
    }
    // 10.
    if (FSelectionCount == 0) NotifyChange(nullptr);
}

void TBaseLazyTree::ApplyClickSelection(PLazyNode LastFocused, PLazyNode Node, bool DragPending, TShiftState Shift)
{
    using namespace plat;
    (void)LastFocused;
    const bool ctrl = (Shift & ssCtrl) != 0;
    const bool shift = (Shift & ssShift) != 0;
    if (ctrl && shift) {
        SelectRange(FRangeAnchor, Node, true);
        InvalidateTree();
    } else if (ctrl) {
        if (!In(FOptions->SelectionOptions(), toSiblingSelectConstraint)) FRangeAnchor = Node;
        if (DragPending) DoStateChange(TreeBit(tsToggleFocusedSelection));
        else if (Node->Has(vsSelected)) RemoveFromSelection(Node);
        else AddToSelection(Node);
        InvalidateTree();
    } else if (shift) {
        if (!FRangeAnchor) FRangeAnchor = GetFirstChild(nullptr);
        SelectRange(FRangeAnchor, Node, false);
        InvalidateTree();
    } else {
        if (!Node->Has(vsSelected)) {
            AddToSelection(Node);
            InvalidateNode(Node);
        }
        FRangeAnchor = Node;
    }
}

void TBaseLazyTree::SelectRange(PLazyNode StartNode, PLazyNode EndNode, bool AddOnly)
{
    if (!EndNode) throw EAssertionFailed(u"EndNode must not be nil!");
    if (FSelectionLocked) return;
    if (!StartNode || !GetFullyVisible(StartNode)) {
        PLazyNode prev = StartNode ? GetPreviousVisible(StartNode, true) : nullptr;
        StartNode = prev ? prev : GetFirstVisible(nullptr, true);
    }
    if (!StartNode) return;
    PLazyNode first = StartNode, last = EndNode;
    if (CompareNodeOrder(first, last) > 0) std::swap(first, last);
    const PLazyNode anchor = FRangeAnchor;
    if (!AddOnly) ClearSelectionEx(false);
    TNodeArray collected;
    for (PLazyNode n = first; n; n = GetNextVisible(n, true)) {
        collected.push_back(n);
        if (n == last) break;
    }
    AddNodesToSelection(collected, static_cast<int>(collected.size()), false);
    if (anchor && anchor->Has(vsSelected)) FRangeAnchor = anchor;
}

void TBaseLazyTree::ExtendRangeSelection(PLazyNode LastFocused, PLazyNode NewFocused)
{
    if (FSelectionLocked || !NewFocused) return;
    if (!LastFocused) LastFocused = GetFirstChild(nullptr);
    else if (!GetFullyVisible(LastFocused)) {
        PLazyNode prev = GetPreviousVisible(LastFocused, true);
        if (prev) LastFocused = prev;
    }
    if (!LastFocused) return;
    const int order = CompareNodeOrder(LastFocused, NewFocused);
    if (order == 0) return;
    PLazyNode first = order < 0 ? LastFocused : NewFocused;
    PLazyNode last = order < 0 ? NewFocused : LastFocused;
    PLazyNode anchor = FRangeAnchor ? FRangeAnchor : first;
    ResetTempNodes();
    auto toggle = [this](PLazyNode N) {
        if (N->Has(vsSelected)) RemoveFromSelectionDeferred(N);
        else PushTempNode(N);
    };
    if (CompareNodeOrder(first, anchor) < 0) toggle(first);
    for (PLazyNode n = GetNextVisible(first, true); n && n != last; n = GetNextVisible(n, true)) toggle(n);
    if (CompareNodeOrder(last, anchor) > 0) toggle(last);
    FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
    FSelection.resize(FSelectionCount);
    if (FRangeAnchor && !FRangeAnchor->Has(vsSelected)) PushTempNode(FRangeAnchor);
    TNodeArray nodes(FTempNodeCache.begin(), FTempNodeCache.begin() + FTempNodeCount);
    ResetTempNodes();
    if (!nodes.empty()) AddNodesToSelection(nodes, static_cast<int>(nodes.size()), false);
    else if (HasState(tsChangePending)) NotifyChange(FLastChangedNode);
    InvalidateTree();
}

void TBaseLazyTree::UnselectRange(PLazyNode StartNode, PLazyNode EndNode)
{
    if (FSelectionLocked || !StartNode || !EndNode) return;
    PLazyNode first = StartNode, last = EndNode;
    if (CompareNodeOrder(first, last) > 0) std::swap(first, last);
    bool any = false;
    for (PLazyNode n = first; n; n = GetNextVisible(n, true)) {
        if (n->Has(vsSelected)) {
            RemoveFromSelectionDeferred(n);
            any = true;
        }
        if (n == last) break;
    }
    FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
    FSelection.resize(FSelectionCount);
    if (any) {
        InvalidateTree();
        NotifyChange(nullptr);
    }
}

void TBaseLazyTree::ResetRangeAnchor()
{
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = -1;
}

void TBaseLazyTree::SelectAll(bool VisibleOnly)
{
    if (!In(FOptions->SelectionOptions(), toMultiSelect) || FSelectionLocked) return;
    TNodeArray collected;
    collected.reserve(VisibleOnly ? FVisibleCount : FRoot->TotalCount - 1);
    if (VisibleOnly) {
        for (PLazyNode n = GetFirstVisible(nullptr, true); n; n = GetNextVisible(n, true))
            if (!n->Has(vsSelected)) collected.push_back(n);
    } else {
        for (PLazyNode n = GetFirst(); n; n = GetNext(n))
            if (!n->Has(vsSelected)) collected.push_back(n);
    }
    AddCollectedToSelection(std::move(collected));
    InvalidateTree();
}

void TBaseLazyTree::InvertSelection(bool VisibleOnly)
{
    if (!In(FOptions->SelectionOptions(), toMultiSelect) || FSelectionLocked) return;
    TNodeArray collected;
    collected.reserve(VisibleOnly ? FVisibleCount : FRoot->TotalCount - 1);
    bool removed = false;
    PLazyNode n = VisibleOnly ? GetFirstVisibleNoInit(nullptr, true) : GetFirstNoInit();
    while (n) {
        if (n->Has(vsSelected)) {
            RemoveFromSelectionDeferred(n);
            removed = true;
        } else {
            collected.push_back(n);
        }
        n = VisibleOnly ? GetNextVisibleNoInit(n, true) : GetNextNoInit(n);
    }
    FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
    FSelection.resize(FSelectionCount);
    if (!collected.empty()) AddCollectedToSelection(std::move(collected));
    else if (removed) NotifyChange(nullptr);
    InvalidateTree();
    if (FSelectionCount == 0) FNextNodeToSelect = nullptr;
}

bool TBaseLazyTree::DoFocusChanging(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn, TColumnIndex NewColumn)
{
    bool allowed = true;
    if (OnFocusChanging) OnFocusChanging(this, OldNode, NewNode, OldColumn, NewColumn, allowed);
    return allowed;
}

bool TBaseLazyTree::ApplyFocusedNode(PLazyNode Node, bool Ask)
{
    if (HasState(tsEditing)) {
        CancelEditNode();
        if (HasState(tsEditing)) return false;
    }
    if (Node == FRoot) Node = nullptr;
    bool changed = Node != FFocusedNode;
    if (changed && Ask) changed = DoFocusChanging(FFocusedNode, Node, FFocusedColumn, FFocusedColumn);
    if (changed) {
        PLazyNode old = FFocusedNode;
        if (In(FOptions->AutoOptions(), toAutoExpand) && old && Node && old->Parent == Node->Parent &&
            old->Has(vsExpanded))
            ToggleNode(old);
        else if (old)
            InvalidateNode(old);
        FFocusedNode = Node;
    }
    if (FFocusedNode && changed) {
        if (In(FOptions->AutoOptions(), toAutoExpand) && !FFocusedNode->Has(vsExpanded) &&
            FFocusedNode->Has(vsHasChildren))
            ToggleNode(FFocusedNode);
        InvalidateNode(FFocusedNode);
        if (FUpdateCount == 0 && !In(FOptions->AutoOptions(), toDisableAutoscrollOnFocus)) {
            const bool buttonDown = HasState(tsLeftButtonDown) || HasState(tsMiddleButtonDown) ||
                                    HasState(tsRightButtonDown);
            ScrollIntoView(FFocusedNode, In(FOptions->SelectionOptions(), toCenterScrollIntoView) && !buttonDown,
                           !In(FOptions->SelectionOptions(), toFullRowSelect));
        }
    }
    if (FSelectionCount == 0) ResetRangeAnchor();
    return changed;
}

void TBaseLazyTree::SetFocusedColumn(TColumnIndex Value)
{
    if (Value == FFocusedColumn) return;
    if (!DoFocusChanging(FFocusedNode, FFocusedNode, FFocusedColumn, Value)) return;
    CancelEditNode();
    FFocusedColumn = Value;
    if (FFocusedNode && !In(FOptions->AutoOptions(), toDisableAutoscrollOnFocus)) {
        if (ScrollIntoView(FFocusedNode, In(FOptions->SelectionOptions(), toCenterScrollIntoView), true))
            InvalidateNode(FFocusedNode);
    }
    if (FDropTargetNode) InvalidateNode(FDropTargetNode);
    InvalidateTree();
    DoFocusChanged(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTree::SetFocusedNodeAndColumn(PLazyNode Node, TColumnIndex Column)
{
    const TColumnIndex oldColumn = FFocusedColumn;
    const PLazyNode oldNode = FFocusedNode;
    FFocusedColumn = Column;
    ApplyFocusedNode(Node, true);
    if (FFocusedNode == Node) {
        CancelEditNode();
        if (oldNode != FFocusedNode || oldColumn != FFocusedColumn) DoFocusChanged(FFocusedNode, FFocusedColumn);
    } else {
        FFocusedColumn = oldColumn;
    }
}

void TBaseLazyTree::FocusSomeNode()
{
    if (FFocusedNode) return;
    PLazyNode n = GetFirstSelected();
    if (!n) n = GetFirstVisible(nullptr, true);
    if (n) SetFocusedNode(n);
}

void TBaseLazyTree::EnsureNodeSelected()
{
    if (!In(FOptions->SelectionOptions(), toAlwaysSelectNode) || IsEmpty()) return;
    if (FSelectionCount == 0 && !FSelectionLocked) {
        if (FNextNodeToSelect) SetSelected(FNextNodeToSelect, true);
        else if (Focused()) SetSelected(GetFirstVisible(nullptr, true), true);
    }
    FocusSomeNode();
    if (PLazyNode first = GetFirstSelected()) ScrollIntoView(first, false, false);
}

void TBaseLazyTree::ChooseNextNodeToSelect(PLazyNode Node)
{
    if (!Node || Node == FRoot) return;
    PLazyNode next = GetNextSiblingNoInit(Node);
    if (!next) next = GetPreviousSiblingNoInit(Node);
    if (!next && Node->Parent != FRoot) next = Node->Parent;
    if (!next) next = GetFirstChildNoInit(Node);
    FNextNodeToSelect = next;
}

bool TBaseLazyTree::CanFocus() const
{
    if (!TCustomControl::CanFocus()) return false;
    const plat::TCustomForm* form = plat::GetParentForm(this);
    return !form || (form->Enabled() && form->Visible());
}

// ---- rubber band ------------------------------------------------------------------------

bool TBaseLazyTree::UpdateRubberBand(int X, int Y)
{
    if (!HasState(tsDrawSelecting) && !HasState(tsDrawSelPending)) return false;
    if (HasState(tsDrawSelecting)) FLastSelRect = FNewSelRect;
    const TRect before = FNewSelRect;
    const int maxX = std::max(ClientWidth(), FRangeX);
    const int maxY = static_cast<int>(std::max<std::int64_t>(ClientHeight(), FRangeY));
    FNewSelRect.Right = std::clamp(X + FEffectiveOffsetX, 0, maxX);
    FNewSelRect.Bottom = std::clamp(Y - FOffsetY, 0, maxY);
    return FNewSelRect.Right != before.Right || FNewSelRect.Bottom != before.Bottom;
}

bool TBaseLazyTree::ApplyRubberBand()
{
    if (!HasState(tsDrawSelecting) || FRoot->TotalCount <= 1) return false;
    const TRect oldRect = Ordered(FLastSelRect);
    const TRect newRect = Ordered(FNewSelRect);
    ResetTempNodes();
    const TColumnIndex main = FHeader->MainColumn;
    // The band lies in absolute tree coordinates, so the main column's cell is taken at its
    // unscrolled place: a horizontally scrolled tree selects what an unscrolled one does.
    int cellLeft = 0;
    int cellRight = ClientWidth();
    TAlignment alignment = FAlignment;
    TBiDiMode bidi = FBiDiMode;
    if (FHeader->UseColumns() && FHeader->Columns().IsValidColumn(main)) {
        const TLazyTreeColumn* column = FHeader->Columns()[main];
        column->GetAbsoluteBounds(cellLeft, cellRight);
        alignment = column->Alignment();
        bidi = column->BiDiMode();
    }
    const bool changed = bidi != bdLeftToRight
                             ? RubberBandHitsRTL(main, cellLeft, cellRight, alignment, oldRect, newRect)
                             : RubberBandHitsLTR(main, cellLeft, cellRight, alignment, oldRect, newRect);
    if (!changed) {
        ResetTempNodes();
        return false;
    }
    FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
    FSelection.resize(FSelectionCount);
    TNodeArray nodes(FTempNodeCache.begin(), FTempNodeCache.begin() + FTempNodeCount);
    ResetTempNodes();
    AddNodesToSelection(nodes, static_cast<int>(nodes.size()), false);
    NotifyChange(nullptr);
    return true;
}

bool TBaseLazyTree::RubberBandHitsLTR(TColumnIndex MainColumn, int CellLeft, int CellRight, TAlignment Alignment,
                                      const TRect& OldRect, const TRect& NewRect)
{
    const bool doSwitch = (FDrawSelShiftState & plat::ssCtrl) != 0;
    const bool withCheck = In(FOptions->MiscOptions(), toCheckSupport) && FCheckImages;
    const int checkOffset = withCheck ? FCheckImages->Width() + 2 : 0;
    const int stateOffset = FStateImages ? FStateImages->Width() + 2 : 0;
    const bool simple = In(FOptions->SelectionOptions(), toSimpleDrawSelection) ||
                        In(FOptions->SelectionOptions(), toFullRowSelect);
    const bool columns = FHeader->UseColumns();
    const bool autoSpan = columns && In(FOptions->AutoOptions(), toAutoSpanColumns);
    const int totalWidth = columns ? FHeader->Columns().TotalWidth() : 0;
    const int minY = std::min(OldRect.Top, NewRect.Top);
    const int maxY = std::max(OldRect.Bottom, NewRect.Bottom);
    int top = 0;
    PLazyNode run = GetNodeAt(0, minY, false, top);
    if (!run) return false;
    const int ind = static_cast<int>(FIndent);
    int level = static_cast<int>(GetNodeLevel(run));
    int indentLeft = CellLeft + FMargin + (In(FOptions->PaintOptions(), toShowRoot) ? level + 1 : level) * ind;
    bool result = false;
    while (run) {
        int textLeft = indentLeft;
        if (withCheck && run->CheckType != ctNone) textLeft += checkOffset;
        if (FImages && HasNodeImage(run, ikNormal, MainColumn)) textLeft += FImages->Width() + 2;
        if (FStateImages && HasNodeImage(run, ikState, MainColumn)) textLeft += stateOffset;
        const int bottom = top + static_cast<int>(run->NodeHeight);
        auto contains = [&](const TRect& B) {
            if (!(B.Top < bottom && top < B.Bottom)) return false;
            if (simple) return indentLeft < B.Right && (!columns || B.Left < totalWidth);
            const int cellEnd = autoSpan ? SpannedCellEnd(run, MainColumn, CellRight, true) : CellRight;
            int tl = textLeft, tr;
            const int w = DoGetNodeWidth(run, MainColumn, nullptr);
            if (w >= cellEnd - tl) tr = cellEnd;
            else switch (Alignment) {
                case taLeftJustify: tr = tl + w; break;
                case taCenter: tl = (tl + cellEnd - w) / 2; tr = tl + w; break;
                default: tl = cellEnd - w; tr = cellEnd; break;
                }
            return B.Left <= tr && B.Right >= tl;
        };
        result |= ApplyBandHit(run, contains(OldRect), contains(NewRect), doSwitch);
        PLazyNode next = GetNextVisibleNoInit(run, true);
        if (!next || bottom > maxY) break;
        const int nextLevel = static_cast<int>(GetNodeLevel(next));
        indentLeft += (nextLevel - level) * ind;
        level = nextLevel;
        top = bottom;
        run = next;
    }
    return result;
}

int TBaseLazyTree::SpannedCellEnd(PLazyNode Node, TColumnIndex MainColumn, int Edge, bool Rightwards)
{
    // The empty cells next to the main column in its reading direction belong to its text;
    // their bounds are taken unscrolled, like the band's.
    TLazyTreeColumns& cols = FHeader->Columns();
    if (!cols.IsValidColumn(MainColumn)) return Edge;
    const TBiDiMode reading = Rightwards ? bdLeftToRight : bdRightToLeft;
    for (TColumnIndex c = Rightwards ? cols.GetNextVisibleColumn(MainColumn) : cols.GetPreviousVisibleColumn(MainColumn);
         c >= 0; c = Rightwards ? cols.GetNextVisibleColumn(c) : cols.GetPreviousVisibleColumn(c)) {
        if ((cols[c]->BiDiMode() == bdLeftToRight) != (reading == bdLeftToRight)) break;
        bool empty = true;
        DoGetCellIsEmpty(Node, c, empty);
        if (!empty) break;
        int l, r;
        cols[c]->GetAbsoluteBounds(l, r);
        Edge = Rightwards ? r : l;
    }
    return Edge;
}

bool TBaseLazyTree::ApplyBandHit(PLazyNode Node, bool InOld, bool InNew, bool DoSwitch)
{
    if (InOld == InNew) return false;
    if (DoSwitch) {
        if (Node->Has(vsSelected)) RemoveFromSelectionDeferred(Node);
        else PushTempNode(Node);
    } else if (InNew) {
        PushTempNode(Node);
    } else {
        RemoveFromSelectionDeferred(Node);
    }
    return true;
}

bool TBaseLazyTree::RubberBandHitsRTL(TColumnIndex MainColumn, int CellLeft, int CellRight, TAlignment Alignment,
                                      const TRect& OldRect, const TRect& NewRect)
{
    const bool doSwitch = (FDrawSelShiftState & plat::ssCtrl) != 0;
    const bool withCheck = In(FOptions->MiscOptions(), toCheckSupport) && FCheckImages;
    const int checkOffset = withCheck ? FCheckImages->Width() + 2 : 0;
    const int stateOffset = FStateImages ? FStateImages->Width() + 2 : 0;
    // Only the simple option chooses the simple test here, and that test is vertical only.
    const bool simple = In(FOptions->SelectionOptions(), toSimpleDrawSelection);
    // The reading order mirrors the alignment.
    if (Alignment == taLeftJustify) Alignment = taRightJustify;
    else if (Alignment == taRightJustify) Alignment = taLeftJustify;
    const int minY = std::min(OldRect.Top, NewRect.Top);
    const int maxY = std::max(OldRect.Bottom, NewRect.Bottom);
    int top = 0;
    PLazyNode run = GetNodeAt(0, minY, false, top);
    if (!run) return false;
    const int ind = static_cast<int>(FIndent);
    int level = static_cast<int>(GetNodeLevel(run));
    int indentRight = CellRight - FMargin - (In(FOptions->PaintOptions(), toShowRoot) ? level + 1 : level) * ind;
    const bool autoSpan = FHeader->UseColumns() && In(FOptions->AutoOptions(), toAutoSpanColumns);
    bool result = false;
    while (run) {
        int textRight = indentRight;
        if (withCheck && run->CheckType != ctNone) textRight -= checkOffset;
        if (FImages && HasNodeImage(run, ikNormal, MainColumn)) textRight -= FImages->Width() + 2;
        if (FStateImages && HasNodeImage(run, ikState, MainColumn)) textRight -= stateOffset;
        const int bottom = top + static_cast<int>(run->NodeHeight);
        auto contains = [&](const TRect& B) {
            if (!(B.Top < bottom && top < B.Bottom)) return false;
            if (simple) return true;
            const int cellStart = autoSpan ? SpannedCellEnd(run, MainColumn, CellLeft, false) : CellLeft;
            int tl, tr = textRight;
            const int w = DoGetNodeWidth(run, MainColumn, nullptr);
            if (w >= textRight - cellStart) tl = cellStart;
            else switch (Alignment) {
                case taLeftJustify: tl = cellStart; tr = cellStart + w; break;
                case taCenter: tl = (textRight + cellStart - w) / 2; tr = tl + w; break;
                default: tl = textRight - w; break;
                }
            return B.Left <= tr && B.Right >= tl;
        };
        result |= ApplyBandHit(run, contains(OldRect), contains(NewRect), doSwitch);
        PLazyNode next = GetNextVisibleNoInit(run, true);
        if (!next || bottom > maxY) break;
        const int nextLevel = static_cast<int>(GetNodeLevel(next));
        indentRight -= (nextLevel - level) * ind;
        level = nextLevel;
        top = bottom;
        run = next;
    }
    return result;
}

} // namespace vtree
