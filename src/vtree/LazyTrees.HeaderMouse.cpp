// Mouse and keyboard interaction with the header strip: hover tracking, pressing and clicking
// buttons (check boxes, automatic sorting, the automatic column menu), dragging columns to a
// new position under a translucent drag image, dragging a column's right edge (also the edge
// of the fixed area along the nodes) and the header's bottom edge, double clicks that fit a
// column or restore the default height, the splitter cursors and the context menus.
// At most one interaction runs at a time; it starts with a left press, holds the mouse
// capture, and ends with the release, Escape or the loss of the focus.
#include <cmath>
#include <cstdlib>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.HeaderPopup.h"
#include "plat/Forms.h"

namespace vtree {

using plat::TMessage;
using plat::TPoint;
using plat::TRect;
using plat::TShiftState;

namespace {

constexpr std::uintptr_t HoverTimer = 3;
constexpr unsigned HoverInterval = 50;
// The application's cursors for the header's bottom edge and for column edges.
constexpr plat::TCursor VertSplitCursor = 62;
constexpr plat::TCursor HeaderSplitCursor = 63;

bool Designing(const TBaseLazyTree* Tree) { return (Tree->ComponentState() & plat::csDesigning) != 0; }

bool RightToLeft(const TBaseLazyTree* Tree) { return Tree->BiDiMode() == bdRightToLeft; }

TShiftState KeysToShift(plat::WPARAM Keys)
{
    TShiftState s = 0;
    if (Keys & plat::MK_SHIFT) s |= plat::ssShift;
    if (Keys & plat::MK_CONTROL) s |= plat::ssCtrl;
    if (plat::GetKeyState(static_cast<int>(plat::VK_MENU)) < 0) s |= plat::ssAlt;
    return s;
}

bool IsNonClientMouse(plat::UINT Msg) { return Msg >= plat::WM_NCMOUSEMOVE && Msg <= plat::WM_NCMBUTTONDBLCLK; }

void CancelApplicationHint()
{
    if (plat::Application) plat::Application->CancelHint();
}

} // namespace

// ---- the tree's header events ------------------------------------------------------------------

void TBaseLazyTree::DoHeaderClick(const TLTHeaderHitInfo& HitInfo)
{
    if (OnHeaderClick) OnHeaderClick(FHeader.get(), HitInfo);
}

void TBaseLazyTree::DoHeaderDblClick(const TLTHeaderHitInfo& HitInfo)
{
    if (OnHeaderDblClick) OnHeaderDblClick(FHeader.get(), HitInfo);
}

void TBaseLazyTree::DoHeaderMouseDown(plat::TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnHeaderMouseDown) OnHeaderMouseDown(FHeader.get(), Button, Shift, X, Y);
}

void TBaseLazyTree::DoHeaderMouseMove(TShiftState Shift, int X, int Y)
{
    if (OnHeaderMouseMove) OnHeaderMouseMove(FHeader.get(), Shift, X, Y);
}

void TBaseLazyTree::DoHeaderMouseUp(plat::TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnHeaderMouseUp) OnHeaderMouseUp(FHeader.get(), Button, Shift, X, Y);
}

bool TBaseLazyTree::DoHeaderDragging(TColumnIndex Column)
{
    bool allowed = true;
    if (OnHeaderDragging) OnHeaderDragging(FHeader.get(), Column, allowed);
    return allowed;
}

void TBaseLazyTree::DoHeaderDragged(TColumnIndex Column, int OldPosition)
{
    if (OnHeaderDragged) OnHeaderDragged(FHeader.get(), Column, OldPosition);
}

void TBaseLazyTree::DoHeaderDraggedOut(TColumnIndex Column, TPoint DropPosition)
{
    if (OnHeaderDraggedOut) OnHeaderDraggedOut(FHeader.get(), Column, DropPosition);
}

void TBaseLazyTree::DoGetHeaderCursor(plat::TCursor& Cursor)
{
    if (OnGetHeaderCursor) OnGetHeaderCursor(FHeader.get(), Cursor);
}

void TBaseLazyTree::UpdateColumnCheckState(TLazyTreeColumn* Column)
{
    Column->SetCheckState(NextCheckStateFor(Column->CheckType(), Column->CheckState()));
}

void TBaseLazyTree::StopNodeAreaTimers(bool AlsoEditTimer)
{
    KillTreeTimer(4);
    DoStateChange(0, TreeBit(tsScrolling) | TreeBit(tsScrollPending));
    if (!AlsoEditTimer) return;
    KillTreeTimer(2);
    DoStateChange(0, TreeBit(tsEditPending));
}

// ---- the header's dispatchers --------------------------------------------------------------------

void TLTHeader::DoAfterColumnWidthTracking(TColumnIndex Column)
{
    if (FOwner->OnAfterColumnWidthTracking) FOwner->OnAfterColumnWidthTracking(this, Column);
}

void TLTHeader::DoAfterHeightTracking()
{
    if (FOwner->OnAfterHeaderHeightTracking) FOwner->OnAfterHeaderHeightTracking(this);
}

void TLTHeader::DoBeforeColumnWidthTracking(TColumnIndex Column, TShiftState Shift)
{
    if (FOwner->OnBeforeColumnWidthTracking) FOwner->OnBeforeColumnWidthTracking(this, Column, Shift);
}

void TLTHeader::DoBeforeHeightTracking(TShiftState Shift)
{
    if (FOwner->OnBeforeHeaderHeightTracking) FOwner->OnBeforeHeaderHeightTracking(this, Shift);
}

void TLTHeader::DoCanSplitterResize(TPoint P, bool& Allowed)
{
    if (FOwner->OnCanSplitterResizeHeader) FOwner->OnCanSplitterResizeHeader(this, P, Allowed);
}

bool TLTHeader::DoColumnWidthDblClickResize(TColumnIndex Column, TPoint P, TShiftState Shift)
{
    bool allowed = true;
    if (FOwner->OnColumnWidthDblClickResize) FOwner->OnColumnWidthDblClickResize(this, Column, Shift, P, allowed);
    return allowed;
}

bool TLTHeader::DoColumnWidthTracking(TColumnIndex Column, TShiftState Shift, TPoint& TrackPoint, TPoint P)
{
    bool allowed = true;
    if (FOwner->OnColumnWidthTracking) FOwner->OnColumnWidthTracking(this, Column, Shift, TrackPoint, P, allowed);
    return allowed;
}

plat::TPopupMenu* TLTHeader::DoGetPopupMenu(TColumnIndex Column, TPoint P)
{
    plat::TPopupMenu* menu = nullptr;
    bool askParent = true;
    if (FOwner->OnGetPopupMenu) FOwner->OnGetPopupMenu(FOwner, nullptr, Column, P, askParent, menu);
    return menu;
}

bool TLTHeader::DoHeightTracking(TPoint& P, TShiftState Shift)
{
    bool allowed = true;
    if (FOwner->OnHeaderHeightTracking) FOwner->OnHeaderHeightTracking(this, P, Shift, allowed);
    return allowed;
}

bool TLTHeader::DoHeightDblClickResize(TPoint& P, TShiftState Shift)
{
    bool allowed = true;
    if (FOwner->OnHeaderHeightDblClickResize) FOwner->OnHeaderHeightDblClickResize(this, P, Shift, allowed);
    return allowed;
}

bool TLTHeader::CanSplitterResize(TPoint P)
{
    bool allowed = In(FOptions, hoHeightResize);
    DoCanSplitterResize(P, allowed);
    return allowed;
}

TShiftState TLTHeader::GetShiftState() const
{
    return plat::KeyboardStateToShiftState() & (plat::ssShift | plat::ssCtrl | plat::ssAlt);
}

// ---- splitters -------------------------------------------------------------------------------------

bool TLTHeader::DetermineSplitterIndex(TPoint P)
{
    TLazyTreeColumns& cols = *FColumns;
    if (cols.Count() == 0) return false;
    cols.FTrackIndex = NoColumn;
    const int tolerance = FSplitterHitTolerance;
    const int z = static_cast<int>(std::lround(tolerance * 0.6));
    const int offsetX = FOwner->EffectiveOffsetX();
    const auto& order = cols.FPositionToIndex;
    if (!RightToLeft(FOwner)) {
        int edge = FOwner->RangeX() - offsetX;
        const int fixedWidth = cols.GetVisibleFixedWidth();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            const TColumnIndex idx = *it;
            if (!cols.IsValidColumn(idx)) continue;
            TLazyTreeColumn* c = cols.Items(idx);
            if (!In(c->FOptions, coVisible)) continue;
            const bool fixed = In(c->FOptions, coFixed);
            const int e = fixed ? edge + offsetX : edge;
            if ((fixed || P.X > fixedWidth) && e - (tolerance - z) < P.X && P.X < e + z &&
                cols.CanSplitterResize(P, idx)) {
                cols.FTrackIndex = idx;
                FTrackPoint = TPoint{c->Left(), P.Y};
                return true;
            }
            edge -= c->FWidth;
        }
        return false;
    }
    int edge = -offsetX;
    const int clientWidth = FOwner->ClientWidth();
    if (FOwner->RangeX() < clientWidth) edge += clientWidth - FOwner->RangeX();
    for (TColumnIndex idx : order) {
        if (!cols.IsValidColumn(idx)) continue;
        TLazyTreeColumn* c = cols.Items(idx);
        if (!In(c->FOptions, coVisible)) continue;
        if (edge - z < P.X && P.X < edge + (tolerance - z) && cols.CanSplitterResize(P, idx)) {
            cols.FTrackIndex = idx;
            FTrackPoint = TPoint{edge + c->FWidth, P.Y};
            return true;
        }
        edge += c->FWidth;
    }
    return false;
}

bool TLTHeader::ColumnSplitterAt(TPoint P)
{
    if (!In(FOptions, hoColumnResize) || !DetermineSplitterIndex(P)) return false;
    if (InHeader(P)) return true;
    // Along the nodes only the edge between the fixed area and the scrolled columns counts.
    const TColumnIndex track = FColumns->FTrackIndex;
    if (!In(FColumns->Items(track)->FOptions, coFixed)) return false;
    const TColumnIndex next = RightToLeft(FOwner) ? FColumns->GetPreviousVisibleColumn(track)
                                                  : FColumns->GetNextVisibleColumn(track);
    if (next < 0 || In(FColumns->Items(next)->FOptions, coFixed)) return false;
    return P.Y <= static_cast<int>(FOwner->RangeY());
}

// ---- hover, press and clicks -------------------------------------------------------------------------

bool TLazyTreeColumns::AdjustColumnIndex(TPoint P, TColumnIndex& Index)
{
    const TColumnIndex c = ColumnFromPosition(TPoint{P.X, P.Y + FHeader->Height()}, true);
    if (c == Index) return false;
    if (Index >= 0 && IsValidColumn(Index)) FHeader->Invalidate(Items(Index));
    Index = c;
    if (Index >= 0) FHeader->Invalidate(Items(Index));
    return true;
}

TColumnIndex TLazyTreeColumns::AdjustDownColumn(TPoint P)
{
    const TPoint hp{P.X, P.Y + FHeader->Height()};
    const TColumnIndex i = ColumnFromPosition(hp, true);
    if (i >= 0 && i != FDownIndex && In(Items(i)->FOptions, coAllowClick) && In(Items(i)->FOptions, coEnabled)) {
        if (FDownIndex >= 0 && IsValidColumn(FDownIndex)) FHeader->Invalidate(Items(FDownIndex));
        FDownIndex = i;
        const TLazyTreeColumn* c = Items(i);
        const int frame = Tree()->HeaderFrameWidth();
        FCheckBoxHit = c->FHasImage && c->FCheckBox && c->FImageRect.Contains(TPoint{hp.X + frame, hp.Y + frame});
        FHeader->Invalidate(Items(i));
    }
    return i;
}

void TLazyTreeColumns::HandleClick(TPoint P, plat::TMouseButton Button, bool Force, bool DblClick)
{
    TBaseLazyTree* tree = Tree();
    if (Designing(tree)) return;
    const TPoint client = P;
    P.Y += FHeader->Height();
    const TColumnIndex i = ColumnFromPosition(P, true);
    TLTHeaderHitInfo hit;
    hit.X = P.X;
    hit.Y = P.Y;
    hit.Button = Button;
    hit.Shift = FHeader->GetShiftState() | (DblClick ? TShiftState(plat::ssDouble) : TShiftState(0));
    if (i >= 0 && In(Items(i)->FOptions, coAllowClick) && (Force || i == FDownIndex)) {
        FClickIndex = i;
        hit.Column = i;
        hit.HitPosition = HhiBit(hhiOnColumn);
        TLazyTreeColumn* c = Items(i);
        // The glyph rectangle is in window coordinates.
        const int frame = tree->HeaderFrameWidth();
        if (c->FHasImage && c->FImageRect.Contains(TPoint{P.X + frame, P.Y + frame})) {
            hit.HitPosition |= HhiBit(hhiOnIcon);
            if (c->FCheckBox) {
                if (Button == plat::mbLeft) tree->UpdateColumnCheckState(c);
                hit.HitPosition |= HhiBit(hhiOnCheckbox);
            }
        }
    } else {
        FClickIndex = NoColumn;
        hit.Column = NoColumn;
        hit.HitPosition = HhiBit(hhiNoWhere);
    }
    if (DblClick) {
        tree->DoHeaderDblClick(hit);
    } else {
        if (In(FHeader->Options(), hoHeaderClickAutoSort) && Button == plat::mbLeft &&
            !(hit.HitPosition & HhiBit(hhiOnCheckbox)) && hit.Column >= 0) {
            if (FHeader->SortColumn == hit.Column) {
                FHeader->SetSortDirection(FHeader->SortDirection == sdAscending ? sdDescending : sdAscending);
            } else {
                const TSortDirection direction = Items(hit.Column)->FDefaultSortDirection;
                FHeader->SetSortColumn(hit.Column);
                FHeader->SetSortDirection(direction);
            }
        }
        if (Button == plat::mbRight && In(FHeader->Options(), hoAutoColumnPopupMenu)) {
            delete FColumnPopupMenu;
            FColumnPopupMenu = nullptr;
            auto* menu = new TLTHeaderPopupMenu(tree);
            FColumnPopupMenu = menu;
            menu->OnColumnChange = [tree](TBaseLazyTree*, TColumnIndex Column, bool Visible) {
                if (tree->OnColumnVisibilityChanged) tree->OnColumnVisibilityChanged(tree, Column, Visible);
            };
            menu->SetPopupComponent(tree);
            if (In(FHeader->Options(), hoDblClickResize) && tree->RootNodeCount() > 0)
                menu->Options |= static_cast<TLTHeaderPopupOptions>(1u << poResizeToFitItem);
            const TPoint s = tree->ClientToScreen(client);
            menu->Popup(s.X, s.Y);
        }
        tree->DoHeaderClick(hit);
    }
    if (hit.Column >= 0) FHeader->Invalidate(Items(hit.Column));
    if (FClickIndex >= 0 && FClickIndex != hit.Column) FHeader->Invalidate(Items(FClickIndex));
}

// ---- column dragging ------------------------------------------------------------------------------------

void TLTHeader::PrepareDrag(TPoint P, TPoint Start)
{
    TLazyTreeColumns& cols = *FColumns;
    cols.FDropTarget = NoColumn;
    const TPoint s = FOwner->ScreenToClient(Start);
    cols.FDragIndex = cols.ColumnFromPosition(TPoint{s.X, s.Y + FHeight}, true);
    if (!cols.IsValidColumn(cols.FDragIndex)) return;
    TLazyTreeColumn* c = cols.Items(cols.FDragIndex);
    const int rtlOffset = FOwner->ColumnsRightToLeftOffset();
    plat::TBitmap image(c->FWidth, FHeight);
    image.SetPixelFormat(plat::pf32bit);
    image.Canvas()->Brush()->SetColor(plat::clBtnFace);
    image.Canvas()->FillRect(TRect{0, 0, c->FWidth, FHeight});
    cols.PaintHeader(image.Canvas(), TRect{c->FLeft, 0, c->FLeft + c->FWidth, FHeight}, TPoint{-rtlOffset, 0},
                     rtlOffset);
    TPoint at = FOwner->ClientToScreen(TPoint{c->Left() + rtlOffset, 0});
    at.Y -= FHeight;
    if (!FDragImage) FDragImage = std::make_unique<TLTDragImage>(FOwner);
    FDragImage->SetMoveRestriction(In(FOptions, hoRestrictDrag) ? dmrHorizontalOnly : dmrNone);
    FDragImage->PrepareDrag(&image, at, P);
    FDragImage->ShowDragImage();
}

void TLTHeader::DragTo(TPoint P)
{
    TLazyTreeColumns& cols = *FColumns;
    TPoint client = FOwner->ScreenToClient(P);
    client.Y += FHeight;
    const TColumnIndex c = cols.ColumnFromPosition(client, true);
    bool repaint = c != InvalidColumn && c != cols.FDropTarget;
    if (c >= 0) {
        int left, right;
        cols.GetColumnBounds(c, left, right);
        // Both sides in client coordinates: the point's half of the column decides.
        const bool before = client.X < (left + right) / 2;
        if (before != cols.FDropBefore) {
            cols.FDropBefore = before;
            repaint = true;
        }
    }
    if (repaint) {
        if (cols.FDropTarget >= 0 && cols.IsValidColumn(cols.FDropTarget)) {
            const TColumnIndex old = cols.FDropTarget;
            cols.FDropTarget = NoColumn;
            Invalidate(cols.Items(old));
        }
        if (c >= 0 && c != cols.FDropTarget) {
            cols.FDropTarget = c;
            Invalidate(cols.Items(c));
        }
    }
    if (FDragImage) FDragImage->DragTo(P, repaint);
}

// ---- messages ---------------------------------------------------------------------------------------------

TPoint TLTHeader::MessageClientPoint(const TMessage& Message) const
{
    const TPoint p = plat::PointFromLParam(Message.LParam);
    return IsNonClientMouse(Message.Msg) ? FOwner->ScreenToClient(p) : p;
}

bool TLTHeader::LeftButtonDown(TMessage& Message, bool NonClient)
{
    CancelApplicationHint();
    const bool designing = Designing(FOwner);
    if (!designing) FOwner->StopNodeAreaTimers(true);
    const TPoint p = MessageClientPoint(Message);
    if (NonClient) FDragStart = plat::PointFromLParam(Message.LParam);
    const TShiftState shift = GetShiftState();
    const bool inHeader = InHeader(p);
    const bool h = InHeaderSplitterArea(p) && (designing || CanSplitterResize(p));
    const bool v = !h && ColumnSplitterAt(p);
    if (h || v) {
        FTrackStart = p;
        FColumns->FHoverIndex = NoColumn;
        if (h) {
            if (!designing) DoBeforeHeightTracking(shift);
            FStates |= HsBit(hsHeightTrackPending);
        } else {
            if (!designing) DoBeforeColumnWidthTracking(FColumns->FTrackIndex, shift);
            FStates |= HsBit(hsColumnWidthTrackPending);
        }
        plat::SetCapture(FOwner->Handle());
        Message.Result = 0;
        return true;
    }
    if (inHeader) {
        const TColumnIndex i = FColumns->AdjustDownColumn(p);
        if ((designing && i > NoColumn) ||
            (In(FOptions, hoDrag) && i >= 0 && In(FColumns->Items(i)->FOptions, coDraggable))) {
            FStates |= HsBit(hsDragPending);
            plat::SetCapture(FOwner->Handle());
            Message.Result = 0;
            return true;
        }
        if (!designing) FOwner->DoHeaderMouseDown(plat::mbLeft, shift, p.X, p.Y + FHeight);
    }
    return false;
}

bool TLTHeader::LeftButtonUp(TMessage& Message, bool NonClient)
{
    CancelApplicationHint();
    TLazyTreeColumns& cols = *FColumns;
    const bool hadState = FStates != 0;
    bool handled = false;
    if (hadState) {
        plat::ReleaseCapture();
        if (HasState(hsDragging)) {
            const TPoint raw = plat::PointFromLParam(Message.LParam);
            const TPoint d = NonClient ? raw : FOwner->ClientToScreen(raw);
            TRect w;
            plat::GetWindowRect(FOwner->Handle(), w);
            if (FDragImage) FDragImage->EndDrag();
            const TColumnIndex drag = cols.FDragIndex;
            const TColumnIndex target = cols.FDropTarget;
            if (cols.IsValidColumn(drag) && cols.IsValidColumn(target) && target != drag && w.Contains(d)) {
                const int from = static_cast<int>(cols.Items(drag)->FPosition);
                const int to = static_cast<int>(cols.Items(target)->FPosition);
                int position;
                if (cols.FDropBefore) position = from < to ? std::max(to - 1, 0) : to;
                else position = from < to ? to : to + 1;
                cols.Items(drag)->SetPosition(static_cast<TColumnPosition>(position));
                FOwner->DoHeaderDragged(drag, from);
            } else if (cols.IsValidColumn(drag)) {
                FOwner->DoHeaderDraggedOut(drag, d);
            }
            cols.FDropTarget = NoColumn;
            cols.FDragIndex = NoColumn;
            Invalidate(nullptr);
        }
        handled = true;
        Message.Result = 0;
    }
    const TPoint p = MessageClientPoint(Message);
    if (NonClient) {
        cols.HandleClick(p, plat::mbLeft, false, false);
        FOwner->DoHeaderMouseUp(plat::mbLeft, GetShiftState(), p.X, p.Y + FHeight);
    } else {
        if (cols.FDownIndex >= 0) cols.HandleClick(p, plat::mbLeft, false, false);
        // Header coordinates, as every header mouse event reports them.
        if (hadState) FOwner->DoHeaderMouseUp(plat::mbLeft, KeysToShift(Message.WParam), p.X, p.Y + FHeight);
    }
    if (cols.FTrackIndex >= 0) {
        if (HasState(hsColumnWidthTracking)) DoAfterColumnWidthTracking(cols.FTrackIndex);
        if (cols.IsValidColumn(cols.FTrackIndex)) Invalidate(cols.Items(cols.FTrackIndex));
        cols.FTrackIndex = NoColumn;
    }
    if (cols.FDownIndex >= 0) {
        if (cols.IsValidColumn(cols.FDownIndex)) Invalidate(cols.Items(cols.FDownIndex));
        cols.FDownIndex = NoColumn;
    }
    if (HasState(hsHeightTracking)) DoAfterHeightTracking();
    FStates &= ~(HsBit(hsDragging) | HsBit(hsDragPending) | HsBit(hsColumnWidthTracking) |
                 HsBit(hsColumnWidthTrackPending) | HsBit(hsHeightTracking) | HsBit(hsHeightTrackPending));
    return handled;
}

bool TLTHeader::HandleHeaderMouseMove(TMessage& Message)
{
    TLazyTreeColumns& cols = *FColumns;
    const TPoint p = plat::PointFromLParam(Message.LParam);
    const TShiftState shift = GetShiftState();
    const bool handle = FOwner->HandleAllocated();
    if (HasState(hsColumnWidthTrackPending)) {
        if (handle) plat::KillTimer(FOwner->Handle(), HoverTimer);
        FStates = (FStates & ~HsBit(hsColumnWidthTrackPending)) | HsBit(hsColumnWidthTracking);
    } else if (HasState(hsHeightTrackPending)) {
        if (handle) plat::KillTimer(FOwner->Handle(), HoverTimer);
        FStates = (FStates & ~HsBit(hsHeightTrackPending)) | HsBit(hsHeightTracking);
    } else if (HasState(hsColumnWidthTracking)) {
        const TColumnIndex track = cols.FTrackIndex;
        if (!cols.IsValidColumn(track)) return true;
        if (DoColumnWidthTracking(track, shift, FTrackPoint, p)) {
            TLazyTreeColumn* c = cols.Items(track);
            int w;
            TColumnIndex n;
            if (!RightToLeft(FOwner)) {
                w = p.X - FTrackPoint.X;
                n = cols.GetNextVisibleColumn(track);
            } else {
                w = FTrackPoint.X - p.X;
                n = cols.GetPreviousVisibleColumn(track);
            }
            if (In(FOptions, hoAutoResize) && track == FAutoSizeIndex && n >= 0 &&
                In(cols.Items(n)->FOptions, coResizable) && c->FMinWidth < w && w < c->FMaxWidth) {
                TLazyTreeColumn* neighbour = cols.Items(n);
                neighbour->SetWidth(neighbour->FWidth + c->FWidth - w);
            } else {
                c->SetWidth(w);
            }
        }
    } else if (HasState(hsHeightTracking)) {
        TPoint q = p;
        if (DoHeightTracking(q, shift)) SetHeight(FHeight + q.Y);
    } else if (HasState(hsDragPending)) {
        const TPoint s = FOwner->ClientToScreen(p);
        const int threshold = FOwner->DragThreshold();
        if (!In(FOptions, hoDrag) || !FOwner->DoHeaderDragging(cols.FDownIndex) ||
            (std::abs(s.X - FDragStart.X) <= threshold && std::abs(s.Y - FDragStart.Y) <= threshold))
            return false;
        if (handle) plat::KillTimer(FOwner->Handle(), HoverTimer);
        const TColumnIndex i = cols.FDownIndex;
        cols.FDownIndex = NoColumn;
        cols.FHoverIndex = NoColumn;
        if (cols.IsValidColumn(i)) Invalidate(cols.Items(i));
        PrepareDrag(s, FDragStart);
        FStates = (FStates & ~HsBit(hsDragPending)) | HsBit(hsDragging);
    } else if (HasState(hsDragging)) {
        DragTo(FOwner->ClientToScreen(p));
    } else {
        return false;
    }
    Message.Result = 0;
    return true;
}

bool TLTHeader::DoubleClick(TMessage& Message)
{
    const TPoint p = MessageClientPoint(Message);
    const TShiftState shift = GetShiftState();
    if (In(FOptions, hoHeightDblClickResize) && InHeaderSplitterArea(p) && FDefaultHeight > 0) {
        TPoint q = p;
        if (DoHeightDblClickResize(q, shift)) SetHeight(FDefaultHeight);
        return true;
    }
    const bool left = Message.Msg == plat::WM_NCLBUTTONDBLCLK || Message.Msg == plat::WM_LBUTTONDBLCLK;
    if (left && ColumnSplitterAt(p) && In(FOptions, hoDblClickResize) && FColumns->FTrackIndex >= 0) {
        const TColumnIndex track = FColumns->FTrackIndex;
        if (DoColumnWidthDblClickResize(track, p, shift)) {
            const int position = static_cast<int>(FColumns->Items(track)->FPosition);
            AutoFitColumns(true, smaUseColumnOption, position, position);
        }
        Message.Result = 0;
        return true;
    }
    if (IsNonClientMouse(Message.Msg) && InHeader(p)) {
        plat::TMouseButton button = plat::mbLeft;
        if (Message.Msg == plat::WM_NCRBUTTONDBLCLK) button = plat::mbRight;
        else if (Message.Msg == plat::WM_NCMBUTTONDBLCLK) button = plat::mbMiddle;
        if (button == plat::mbLeft) FColumns->AdjustDownColumn(p);
        FColumns->HandleClick(p, button, true, true);
    }
    return false;
}

void TLTHeader::EndInteraction(TMessage& Message)
{
    TLazyTreeColumns& cols = *FColumns;
    if (HasState(hsDragging)) {
        plat::ReleaseCapture();
        if (FDragImage) FDragImage->EndDrag();
        FStates &= ~HsBit(hsDragging);
        cols.FDropTarget = NoColumn;
        cols.FDragIndex = NoColumn;
        Invalidate(nullptr);
        Message.Result = 0;
        return;
    }
    if (HasState(hsColumnWidthTracking) || HasState(hsHeightTracking)) {
        plat::ReleaseCapture();
        if (HasState(hsColumnWidthTracking)) DoAfterColumnWidthTracking(cols.FTrackIndex);
        else DoAfterHeightTracking();
        Message.Result = 0;
    } else if (FStates & (HsBit(hsColumnWidthTrackPending) | HsBit(hsHeightTrackPending) | HsBit(hsDragPending))) {
        plat::ReleaseCapture();
    }
    FStates &= ~(HsBit(hsColumnWidthTracking) | HsBit(hsColumnWidthTrackPending) | HsBit(hsHeightTracking) |
                 HsBit(hsHeightTrackPending) | HsBit(hsDragPending));
    cols.FTrackIndex = NoColumn;
}

bool TLTHeader::HandleMessage(TMessage& Message)
{
    TLazyTreeColumns& cols = *FColumns;
    const bool designing = Designing(FOwner);
    switch (Message.Msg) {
    case plat::WM_SIZE:
        if (!FOwner->HasState(tsWindowCreating)) {
            UpdateHeaderRect();
            if (In(FOptions, hoAutoResize) && !HasState(hsAutoSizing)) cols.AdjustAutoSize(false);
            else if (!HasState(hsScaling)) RescaleHeader();
            UpdateSpringColumns();
            Invalidate(nullptr);
        }
        return false;
    case plat::CM_PARENTFONTCHANGED:
        if (FParentFont) FFont.Assign(FOwner->Font());
        return false;
    case plat::CM_PARENTBIDIMODECHANGED:
        for (int i = 0; i < cols.Count(); ++i)
            if (In(cols.Items(i)->FOptions, coParentBidiMode)) cols.Items(i)->ParentBiDiModeChanged();
        return false;
    case plat::WM_SETCURSOR: {
        if (FStates != 0) {
            Message.Result = 1;
            return true;
        }
        if (!FOwner->HandleAllocated()) return false;
        const TPoint p = FOwner->ScreenToClient(plat::GetCursorPos());
        const bool h = InHeaderSplitterArea(p) && (designing || CanSplitterResize(p));
        const bool v = ColumnSplitterAt(p);
        if (!h && !v) return false;
        plat::TCursor c = FOwner->Cursor();
        if (h && (In(FOptions, hoHeightResize) || designing)) c = VertSplitCursor;
        else if (v) c = HeaderSplitCursor;
        if (!designing) FOwner->DoGetHeaderCursor(c);
        if (c == plat::crDefault) return false;
        plat::SetCursor(c);
        Message.Result = 1;
        return true;
    }
    case plat::WM_NCMOUSEMOVE: {
        const TPoint p = MessageClientPoint(Message);
        FOwner->DoHeaderMouseMove(GetShiftState(), p.X, p.Y + FHeight);
        if (InHeader(p) && (cols.AdjustHoverColumn(p) || (cols.FDownIndex >= 0 && cols.FDownIndex != cols.FHoverIndex))) {
            if (FOwner->HandleAllocated()) {
                plat::KillTimer(FOwner->Handle(), HoverTimer);
                plat::SetTimer(FOwner->Handle(), HoverTimer, HoverInterval);
            }
            // The hint handling sees the move one header height lower, inside the client,
            // so the hint's cursor rectangle (the client) keeps it while the mouse stays.
            if (In(FOptions, hoShowHint) && plat::Application)
                plat::Application->HintMouseMessage(FOwner, FOwner->ClientToScreen(TPoint{p.X, p.Y + FHeight}));
        }
        return false;
    }
    case plat::WM_TIMER: {
        if (Message.WParam != HoverTimer) return false;
        const TPoint p = FOwner->ScreenToClient(plat::GetCursorPos());
        if (!InHeader(p) || (cols.FDownIndex >= 0 && cols.FDownIndex != cols.FHoverIndex)) {
            plat::KillTimer(FOwner->Handle(), HoverTimer);
            cols.FHoverIndex = cols.FClickIndex = cols.FDownIndex = NoColumn;
            cols.FCheckBoxHit = false;
            Invalidate(nullptr);
        }
        Message.Result = 0;
        return true;
    }
    case plat::WM_NCLBUTTONDOWN:
        return LeftButtonDown(Message, true);
    case plat::WM_LBUTTONDOWN:
        return LeftButtonDown(Message, false);
    case plat::WM_NCLBUTTONUP:
        return LeftButtonUp(Message, true);
    case plat::WM_LBUTTONUP:
        return LeftButtonUp(Message, false);
    case plat::WM_MOUSEMOVE:
        return HandleHeaderMouseMove(Message);
    case plat::WM_NCLBUTTONDBLCLK:
    case plat::WM_NCRBUTTONDBLCLK:
    case plat::WM_NCMBUTTONDBLCLK:
    case plat::WM_LBUTTONDBLCLK:
        return DoubleClick(Message);
    case plat::WM_NCRBUTTONDOWN:
    case plat::WM_NCMBUTTONDOWN: {
        const TPoint p = MessageClientPoint(Message);
        if (InHeader(p))
            FOwner->DoHeaderMouseDown(Message.Msg == plat::WM_NCRBUTTONDOWN ? plat::mbRight : plat::mbMiddle,
                                      GetShiftState(), p.X, p.Y + FHeight);
        return false;
    }
    case plat::WM_NCMBUTTONUP: {
        const TPoint p = MessageClientPoint(Message);
        if (InHeader(p)) {
            cols.HandleClick(p, plat::mbMiddle, true, false);
            FOwner->DoHeaderMouseUp(plat::mbMiddle, GetShiftState(), p.X, p.Y + FHeight);
            cols.FDownIndex = NoColumn;
            cols.FCheckBoxHit = false;
        }
        return false;
    }
    case plat::WM_NCRBUTTONUP: {
        if (!designing) CancelApplicationHint();
        const TPoint p = MessageClientPoint(Message);
        if (!InHeader(p)) return false;
        cols.HandleClick(p, plat::mbRight, true, false);
        FOwner->DoHeaderMouseUp(plat::mbRight, GetShiftState(), p.X, p.Y + FHeight);
        cols.FDownIndex = cols.FTrackIndex = NoColumn;
        cols.FCheckBoxHit = false;
        plat::TPopupMenu* menu = FPopupMenu;
        if (!menu) menu = DoGetPopupMenu(cols.ColumnFromPosition(TPoint{p.X, p.Y + FHeight}, true), p);
        if (!menu) return false;
        FOwner->KillTimerOfTree(4);
        FOwner->KillTimerOfTree(HoverTimer);
        cols.FHoverIndex = NoColumn;
        FOwner->DoStateChange(0, TreeBit(tsScrolling) | TreeBit(tsScrollPending));
        menu->SetPopupComponent(FOwner);
        const TPoint s = plat::PointFromLParam(Message.LParam);
        menu->Popup(s.X, s.Y);
        Message.Result = 0;
        return true;
    }
    case plat::WM_KEYDOWN:
        if (Message.WParam != plat::VK_ESCAPE) return false;
        if (!(FStates & (HsBit(hsDragging) | HsBit(hsDragPending) | HsBit(hsColumnWidthTracking) |
                         HsBit(hsColumnWidthTrackPending) | HsBit(hsHeightTracking) | HsBit(hsHeightTrackPending))))
            return false;
        EndInteraction(Message);
        return true;
    case plat::WM_KILLFOCUS:
        // The interaction ends; the tree still takes its own share of the focus loss.
        EndInteraction(Message);
        return false;
    default:
        return false;
    }
}

} // namespace vtree
