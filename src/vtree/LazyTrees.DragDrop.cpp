// Drag and drop of trees: the drag manager, starting drags, the drop-target side, edge
// scrolling and expansion while dragging, the framework's control drag, the ready-made drop
// handling and the drop mark (see LazyTrees.DragDrop.h and the drag block of the tree).
#include "LazyTrees.DragDrop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "LazyTrees.DataObject.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Clock.h"
#include "plat/Forms.h"
#include "plat/Streams.h"

namespace vtree {

using plat::HRESULT;
using plat::TDropEffect;
using plat::TPoint;
using plat::TRect;
using plat::TShiftState;

namespace {

constexpr TDropEffect AllEffects = plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE | plat::DROPEFFECT_LINK;
constexpr TDropEffect ScrollEffect = 0x80000000u;

TShiftState ShiftOfKeyState(std::uint32_t KeyState)
{
    TShiftState s = 0;
    if (KeyState & plat::MK_SHIFT) s |= plat::ssShift;
    if (KeyState & plat::MK_CONTROL) s |= plat::ssCtrl;
    if (KeyState & plat::MK_ALT) s |= plat::ssAlt;
    return s;
}

// The modifier flags of the keyboard as the exchange's key state.
std::uint32_t KeyboardKeyState()
{
    std::uint32_t k = 0;
    if (plat::GetKeyState(plat::VK_SHIFT) < 0) k |= plat::MK_SHIFT;
    if (plat::GetKeyState(plat::VK_CONTROL) < 0) k |= plat::MK_CONTROL;
    return k;
}

} // namespace

// ---- the drag manager ----------------------------------------------------------------------

TLTDragManager::TLTDragManager(TBaseLazyTree* AOwner) : FOwner(AOwner) {}

TLTDragManager::~TLTDragManager() = default;

void TLTDragManager::ForceDragLeave()
{
    // Only a drop-target helper hears this; the layer offers none.
}

std::shared_ptr<plat::IDataObject> TLTDragManager::CurrentDataObject()
{
    if (FDataObject) return FDataObject;
    return FOwner ? FOwner->DragDataObject() : nullptr;
}

HRESULT TLTDragManager::DragEnter(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                                  TDropEffect& Effect)
{
    FDataObject = Data;
    FIsDropTarget = true;
    FDragSource = FOwner ? FOwner->TreeFromDataObject(Data.get()) : nullptr;
    if (!FOwner) return plat::E_UNEXPECTED;
    return FOwner->DropTargetEnter(KeyState, Pt, Effect);
}

HRESULT TLTDragManager::DragOver(std::uint32_t KeyState, TPoint Pt, TDropEffect& Effect)
{
    if (!FOwner) return plat::E_UNEXPECTED;
    return FOwner->DropTargetOver(FDragSource, KeyState, Effect, Pt, plat::dsDragMove);
}

HRESULT TLTDragManager::DragLeave()
{
    if (FOwner) FOwner->DropTargetLeave();
    FIsDropTarget = false;
    FDragSource = nullptr;
    FDataObject.reset();
    return plat::S_OK;
}

HRESULT TLTDragManager::Drop(const std::shared_ptr<plat::IDataObject>& Data, std::uint32_t KeyState, TPoint Pt,
                             TDropEffect& Effect)
{
    HRESULT r = plat::E_UNEXPECTED;
    if (FOwner) r = FOwner->DropTargetDrop(Data, KeyState, Pt, Effect);
    FIsDropTarget = false;
    FDragSource = nullptr;
    FDataObject.reset();
    return r;
}

HRESULT TLTDragManager::QueryContinueDrag(bool EscapePressed, std::uint32_t KeyState)
{
    const bool left = (KeyState & plat::MK_LBUTTON) != 0, right = (KeyState & plat::MK_RBUTTON) != 0;
    if (EscapePressed || (left && right)) return plat::DRAGDROP_S_CANCEL;
    if (!left && !right) return plat::DRAGDROP_S_DROP;
    return plat::S_OK;
}

HRESULT TLTDragManager::GiveFeedback(TDropEffect) { return plat::DRAGDROP_S_USEDEFAULTCURSORS; }

// ---- tree: properties and registration ----------------------------------------------------

TLTDragImage* TBaseLazyTree::DragImage()
{
    if (!FDragImage) {
        FDragImage = std::make_unique<TLTDragImage>(this);
        FDragImage->SetFade(true);
        FDragImage->SetPreBlendBias(0);
        FDragImage->SetPostBlendBias(0);
        FDragImage->SetTransparency(200);
    }
    return FDragImage.get();
}

std::shared_ptr<plat::IDataObject> TBaseLazyTree::DragDataObject()
{
    std::shared_ptr<plat::IDataObject> data = DoCreateDataObject();
    if (!data) data = std::make_shared<TLTDataObject>(this, false);
    return data;
}

std::shared_ptr<ILTDragManager> TBaseLazyTree::DoCreateDragManager()
{
    std::shared_ptr<ILTDragManager> m;
    if (OnCreateDragManager) OnCreateDragManager(this, m);
    return m;
}

std::shared_ptr<ILTDragManager> TBaseLazyTree::DragManager()
{
    if (!FDragManager) {
        FDragManager = DoCreateDragManager();
        if (!FDragManager) FDragManager = std::make_shared<TLTDragManager>(this);
    }
    return FDragManager;
}

void TBaseLazyTree::UpdateDropTargetRegistration()
{
    const bool wanted = FOptions && In(FOptions->MiscOptions(), toAcceptOLEDrop) &&
                        !plat::TComponent::HasState(plat::csDesigning) &&
                        !plat::TComponent::HasState(plat::csLoading) && HandleAllocated();
    if (wanted) {
        // A new window has no target yet; registering again is harmless.
        if (!plat::RegisteredDropTarget(Handle())) plat::RegisterDragDrop(Handle(), DragManager()->DropTarget());
        FDropTargetRegistered = true;
    } else {
        if (FDropTargetRegistered && HandleAllocated()) plat::RevokeDragDrop(Handle());
        FDropTargetRegistered = false;
    }
}

void TBaseLazyTree::Loaded()
{
    TCustomControl::Loaded();
    UpdateDropTargetRegistration();
}

void TBaseLazyTree::ReleaseDragAndDrop()
{
    if (HandleAllocated()) KillTreeTimer(1);
    if (FDropTargetRegistered && HandleAllocated()) plat::RevokeDragDrop(Handle());
    FDropTargetRegistered = false;
    if (auto* m = dynamic_cast<TLTDragManager*>(FDragManager.get())) m->DetachOwner();
    FDragManager.reset();
    FDragImage.reset();
    FDragSelection.clear();
}

// ---- starting a drag -----------------------------------------------------------------------

void TBaseLazyTree::BeginDrag(bool Immediate, int Threshold)
{
    if (FDragType == dtVCL) {
        DoStateChange(TreeBit(tsVCLDragPending));
        plat::TCustomControl::BeginDrag(Immediate, Threshold);
        return;
    }
    if (HasState(tsOLEDragging) || HasState(tsOLEDragPending)) return;
    FDragThreshold = Threshold < 0 ? plat::GetSystemMetrics(plat::SM_CXDRAG) : Threshold;
    if (Immediate) RunOleDrag(FLastClickPos);
    else DoStateChange(TreeBit(tsOLEDragPending));
}

bool TBaseLazyTree::Dragging() const
{
    return HasState(tsOLEDragging) || HasState(tsOLEDragPending) || plat::TCustomControl::Dragging();
}

void TBaseLazyTree::DoStartDrag(plat::TDragObject*& DragObject)
{
    plat::TCustomControl::DoStartDrag(DragObject);
    if (DragObject) DoStateChange(TreeBit(tsUserDragObject));
}

void TBaseLazyTree::DoEndDrag(plat::TObject* Target, int X, int Y)
{
    plat::TCustomControl::DoEndDrag(Target, X, Y);
    FinishVclDrag();
}

void TBaseLazyTree::FinishVclDrag()
{
    if (!HasState(tsOLEDragging) && !HasState(tsVCLDragging) && !HasState(tsVCLDragPending) &&
        !HasState(tsVCLDragFinished))
        return;
    DoStateChange(0, StateSet({tsUserDragObject, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished}));
    // The release the drag swallowed, handed over at once as the real one would come.
    const TPoint p = ScreenToClient(plat::GetCursorPos());
    plat::TMessage m;
    m.Msg = HasState(tsRightButtonDown) ? plat::WM_RBUTTONUP
            : HasState(tsMiddleButtonDown) ? plat::WM_MBUTTONUP
                                           : plat::WM_LBUTTONUP;
    m.WParam = 0;
    m.LParam = plat::MakeLParam(p.X, p.Y);
    WndProc(m);
}

void TBaseLazyTree::RunOleDrag(TPoint HotSpot)
{
    if (HasState(tsEditing)) CancelEditNode();
    if (FCurrentHotNode) {
        InvalidateNode(FCurrentHotNode);
        FCurrentHotNode = nullptr;
    }
    if (FFocusedNode && !FFocusedNode->Has(vsSelected)) {
        AddToSelection(FFocusedNode);
        InvalidateNode(FFocusedNode);
    }
    Update();
    FDragSelection = GetSortedSelection(true);
    DoStateChange(TreeBit(tsOLEDragging), StateSet({tsClearPending, tsOLEDragPending}));
    struct Finally {
        TBaseLazyTree* T;
        ~Finally() { T->FDragSelection.clear(); }
    } cleanup{this};
    try {
        plat::TDragObject* given = nullptr;
        DoStartDrag(given);
        std::shared_ptr<ILTDragManager> manager = DragManager();
        std::shared_ptr<plat::IDataObject> data = manager->CurrentDataObject();
        PrepareDragImage(HotSpot, data);
        FLastDropMode = dmOnNode;
        FLastDragEffect = 0;
        const TDropEffect allowed = FDragOperations ? (FDragOperations & AllEffects) : AllEffects;
        DoDragDropLoop(allowed, data, FLastDragEffect);
        manager->ForceDragLeave();
    } catch (...) {
        const TPoint p = ScreenToClient(plat::GetCursorPos());
        DoEndDrag(this, p.X, p.Y);
        if (FDragImage) FDragImage->EndDrag();
        DoStateChange(0, TreeBit(tsOLEDragging));
        throw;
    }
    const TPoint p = ScreenToClient(plat::GetCursorPos());
    DoEndDrag(this, p.X, p.Y);
    if (FDragImage) FDragImage->EndDrag();
    if (FLastDragEffect == plat::DROPEFFECT_MOVE && In(FOptions->AutoOptions(), toAutoDeleteMovedNodes))
        DeleteSelectedNodes();
    DoStateChange(0, TreeBit(tsOLEDragging));
}

void TBaseLazyTree::DoDragDropLoop(TDropEffect AllowedEffects, const std::shared_ptr<plat::IDataObject>& DataObject,
                                   TDropEffect& DragEffect)
{
    plat::DoDragDrop(DataObject, DragManager()->DropSource(), AllowedEffects, DragEffect);
}

void TBaseLazyTree::PrepareDragImage(TPoint HotSpot, const std::shared_ptr<plat::IDataObject>& DataObject)
{
    if (!DragImageWanted()) return;
    // The hot spot in tree coordinates and the area around it; what lies left of or above the
    // tree's origin is cut off and the picture painted that much further right or down.
    const int x = HotSpot.X + FEffectiveOffsetX, y = HotSpot.Y - FOffsetY;
    TRect area{x - FDragWidth / 2, y - FDragHeight / 2, x + FDragWidth / 2, y + FDragHeight / 2};
    TPoint target{0, 0};
    if (area.Left < 0) {
        target.X = -area.Left;
        area.Left = 0;
    }
    if (area.Top < 0) {
        target.Y = -area.Top;
        area.Top = 0;
    }
    const int w = FDragWidth / 2 * 2, h = FDragHeight / 2 * 2;
    if (w <= 0 || h <= 0) return;
    plat::TBitmap picture(w, h);
    picture.SetPixelFormat(plat::pf32bit);
    const plat::TColor back = FColors->BackGroundColor();
    picture.Canvas()->Brush()->SetColor(back);
    picture.Canvas()->FillRect({0, 0, w, h});
    TLTInternalPaintOptions options = PaintSet({poDrawSelection, poSelectedOnly});
    if (FDragImageKind == diMainColumnOnly) options |= PaintSet({poMainOnly});
    PaintTree(picture.Canvas(), area, target, options, plat::pf32bit);
    // The area's corner back to client and then to screen coordinates.
    const TPoint corner = ClientToScreen({x - FDragWidth / 2 - FEffectiveOffsetX, y - FDragHeight / 2 + FOffsetY});
    TLTDragImage* image = DragImage();
    image->SetColorKey(back);
    image->PrepareDrag(&picture, corner, ClientToScreen(HotSpot), DataObject.get());
}

void TBaseLazyTree::UpdateDragImageArea(TBaseLazyTree* Source, TRect R, bool Reshow, bool IncludeFrame)
{
    const TRect c = ClientRect();
    const TRect r{std::max(R.Left, c.Left), std::max(R.Top, c.Top), std::min(R.Right, c.Right),
                  std::min(R.Bottom, c.Bottom)};
    if (r.IsEmpty()) return;
    // The saved background under the source's image takes the new look of the area; the rest
    // of the area is repainted on the window.
    InvalidateRect(&r, false);
    Update();
    if (Source) Source->DragImage()->RecaptureBackground(this, r, Reshow, IncludeFrame);
}

// ---- effects, modes and scrolling ----------------------------------------------------------

TDropEffect TBaseLazyTree::ProposeDropEffect(plat::TObject* Source, TShiftState Shift, TDropEffect AllowedEffects,
                                             TPoint)
{
    auto pick = [&](TDropEffect Wanted, TDropEffect Otherwise) {
        return (AllowedEffects & Wanted) ? Wanted : Otherwise;
    };
    const TDropEffect def = Source == this ? pick(plat::DROPEFFECT_MOVE, AllowedEffects)
                                           : pick(plat::DROPEFFECT_COPY, AllowedEffects);
    const bool ctrl = (Shift & plat::ssCtrl) != 0, shift = (Shift & plat::ssShift) != 0,
               alt = (Shift & plat::ssAlt) != 0;
    if (ctrl && shift) return pick(plat::DROPEFFECT_LINK, def);
    if (ctrl) return pick(plat::DROPEFFECT_COPY, def);
    if (shift) return pick(plat::DROPEFFECT_MOVE, def);
    if (alt) return pick(plat::DROPEFFECT_LINK, def);
    return def;
}

TDropMode TBaseLazyTree::DropModeAt(TPoint Pt, THitInfo& HitInfo, const TRect& NodeRect)
{
    const bool onLabel = HitInfo.Has(hiOnItemLabel) || HitInfo.Has(hiOnNormalIcon) || HitInfo.Has(hiOnStateIcon);
    const bool fullRow = HitInfo.Has(hiOnItem) && (In(FOptions->MiscOptions(), toFullRowDrag) ||
                                                   In(FOptions->SelectionOptions(), toFullRowSelect));
    if (In(FOptions->MiscOptions(), toReportMode) && !fullRow &&
        !(onLabel && HitInfo.HitColumn == FHeader->MainColumn))
        HitInfo.HitNode = nullptr;
    if (!HitInfo.HitNode) return dmNowhere;
    if (onLabel || !In(FOptions->PaintOptions(), toShowDropmark)) return dmOnNode;
    return Pt.Y < (NodeRect.Top + NodeRect.Bottom) / 2 ? dmAbove : dmBelow;
}

// ---- the drop-target side ------------------------------------------------------------------

namespace {

TShiftState ButtonsOf(const TBaseLazyTree& T)
{
    TShiftState s = 0;
    if (T.HasState(tsLeftButtonDown)) s |= plat::ssLeft;
    if (T.HasState(tsMiddleButtonDown)) s |= plat::ssMiddle;
    if (T.HasState(tsRightButtonDown)) s |= plat::ssRight;
    return s;
}

} // namespace

bool TBaseLazyTree::DoDragOver(plat::TObject* Source, TShiftState Shift, plat::TDragState State, TPoint Pt,
                               TDropMode Mode, TDropEffect& Effect)
{
    bool accept = false;
    if (OnDragOver) OnDragOver(this, Source, Shift, State, Pt, Mode, Effect, accept);
    return accept;
}

void TBaseLazyTree::DoDragDrop(plat::TObject* Source, const std::shared_ptr<plat::IDataObject>& DataObject,
                               const std::vector<std::uint16_t>& Formats, TShiftState Shift, TPoint Pt,
                               TDropEffect& Effect, TDropMode Mode)
{
    if (OnDragDrop) OnDragDrop(this, Source, DataObject, Formats, Shift, Pt, Effect, Mode);
}

HRESULT TBaseLazyTree::DropTargetEnter(std::uint32_t KeyState, TPoint Pt, TDropEffect& Effect)
{
    try {
        FDragScrollStart = 0;
        const TShiftState shift = ShiftOfKeyState(KeyState) | ButtonsOf(*this);
        const TPoint p = ScreenToClient(Pt);
        TBaseLazyTree* source = DragManager()->CurrentDragSource();
        Effect = ProposeDropEffect(source, shift, Effect, p);
        if (DoDragOver(source, shift, plat::dsDragEnter, p, FLastDropMode, Effect)) {
            THitInfo hit;
            GetHitTestInfoAt(p.X, p.Y, true, hit);
            if (hit.HitNode) {
                FDropTargetNode = hit.HitNode;
                // A drag that enters right over a collapsed parent expands it after the
                // delay, as one that moves onto it does.
                if (In(FOptions->AutoOptions(), toAutoDropExpand) && FDropTargetNode->Has(vsHasChildren))
                    plat::SetTimer(Handle(), 1, FAutoExpandDelay);
                const bool full = In(FOptions->MiscOptions(), toFullRowDrag) ||
                                  In(FOptions->SelectionOptions(), toFullRowSelect);
                if (hit.Has(hiOnItemLabel) || (hit.Has(hiOnItem) && full)) {
                    FLastDropMode = dmOnNode;
                } else {
                    const TRect r = GetDisplayRect(hit.HitNode, FHeader->MainColumn, false);
                    FLastDropMode = p.Y < (r.Top + r.Bottom) / 2 ? dmAbove : dmBelow;
                }
            } else {
                FLastDropMode = dmNowhere;
            }
        } else {
            Effect = plat::DROPEFFECT_NONE;
        }
        if (!DragManager()->HasDropTargetHelper() && source) source->DragImage()->ShowDragImage();
        return plat::S_OK;
    } catch (...) {
        return plat::E_UNEXPECTED;
    }
}

void TBaseLazyTree::RepaintDropTarget(PLazyNode Node, bool OwnImage, TBaseLazyTree* Source)
{
    if (!Node) return;
    const TRect r = GetDisplayRect(Node, NoColumn, false);
    if (OwnImage) UpdateDragImageArea(Source, r, false, false);
    else InvalidateRect(&r, false);
}

HRESULT TBaseLazyTree::DropTargetOver(plat::TObject* Source, std::uint32_t KeyState, TDropEffect& Effect, TPoint Pt,
                                      plat::TDragState State)
{
    try {
        auto* sourceTree = dynamic_cast<TBaseLazyTree*>(Source);
        const bool ownImage = !DragManager()->HasDropTargetHelper() && sourceTree;
        const TPoint p = ScreenToClient(Pt);
        // Edge scrolling.
        const unsigned directions = ScrollDirectionsAt(p.X, p.Y);
        FScrollDirections = directions;
        int dx = 0, dy = 0;
        if (directions & sdUp) {
            dy = std::min<int>(FScrollBarOptions->VerticalIncrement(), ClientHeight());
            if (FOffsetY == 0) FScrollDirections &= ~sdUp;
        }
        if (directions & sdDown) {
            dy = -std::min<int>(FScrollBarOptions->VerticalIncrement(), ClientHeight());
            if (std::int64_t(ClientHeight()) - FOffsetY == FRangeY) FScrollDirections &= ~sdDown;
        }
        if (directions & sdLeft) {
            dx = FScrollBarOptions->HorizontalIncrement();
            if (FEffectiveOffsetX == 0) FScrollDirections &= ~sdLeft;
        }
        if (directions & sdRight) {
            dx = -FScrollBarOptions->HorizontalIncrement();
            if (ClientWidth() + FEffectiveOffsetX == FRangeX) FScrollDirections &= ~sdRight;
        }
        bool scrolled = false;
        if (directions) scrolled = DoSetOffsetXY({FOffsetX + dx, FOffsetY + dy});
        // Target node and mode.
        const TShiftState shift = ShiftOfKeyState(KeyState) | ButtonsOf(*this);
        THitInfo hit;
        GetHitTestInfoAt(p.X, p.Y, true, hit);
        const TRect nodeRect = hit.HitNode ? GetDisplayRect(hit.HitNode, NoColumn, false) : TRect{};
        const TDropMode mode = DropModeAt(p, hit, nodeRect);
        if (hit.HitNode != FDropTargetNode || mode != FLastDropMode) {
            FLastDropMode = mode;
            if (hit.HitNode == FDropTargetNode) {
                RepaintDropTarget(FDropTargetNode, ownImage, sourceTree);
            } else {
                KillTreeTimer(1);
                const PLazyNode old = FDropTargetNode;
                FDropTargetNode = hit.HitNode;
                if (FFocusedColumn < 0) FFocusedColumn = FHeader->MainColumn;
                if (old && GetVisible(old)) RepaintDropTarget(old, ownImage, sourceTree);
                RepaintDropTarget(FDropTargetNode, ownImage, sourceTree);
                if (In(FOptions->AutoOptions(), toAutoDropExpand) && FDropTargetNode &&
                    FDropTargetNode->Has(vsHasChildren))
                    plat::SetTimer(Handle(), 1, FAutoExpandDelay);
            }
        } else if (ownImage && scrolled) {
            UpdateDragImageArea(sourceTree, ClientRect(), false, false);
        }
        Update();
        if (ownImage) sourceTree->DragImage()->DragTo(Pt, false);
        Effect = ProposeDropEffect(Source, shift, Effect, p);
        if (!DoDragOver(Source, shift, State, p, FLastDropMode, Effect)) Effect = plat::DROPEFFECT_NONE;
        if (scrolled) Effect |= ScrollEffect;
        return plat::S_OK;
    } catch (...) {
        return plat::E_UNEXPECTED;
    }
}

void TBaseLazyTree::DropTargetLeave()
{
    KillTreeTimer(1);
    TBaseLazyTree* source = FDragManager ? FDragManager->CurrentDragSource() : nullptr;
    if (source && !(FDragManager && FDragManager->HasDropTargetHelper())) source->DragImage()->HideDragImage();
    if (FDropTargetNode) {
        InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    Update();
    TDropEffect effect = plat::DROPEFFECT_NONE;
    DoDragOver(nullptr, 0, plat::dsDragLeave, {0, 0}, FLastDropMode, effect);
}

HRESULT TBaseLazyTree::DropTargetDrop(const std::shared_ptr<plat::IDataObject>& DataObject, std::uint32_t KeyState,
                                      TPoint Pt, TDropEffect& Effect)
{
    KillTreeTimer(1);
    KillTreeTimer(4);
    DoStateChange(0, StateSet({tsScrolling, tsScrollPending}));
    HRESULT result = plat::S_OK;
    TBaseLazyTree* source = DragManager()->CurrentDragSource();
    try {
        result = DropTargetOver(source, KeyState, Effect, Pt, plat::dsDragMove);
        if (result != plat::S_OK || (Effect & ~ScrollEffect) == plat::DROPEFFECT_NONE) {
            result = plat::E_FAIL;
        } else {
            TShiftState shift = ShiftOfKeyState(KeyState);
            shift |= HasState(tsRightButtonDown) ? plat::ssRight
                     : HasState(tsMiddleButtonDown) ? plat::ssMiddle
                                                    : plat::ssLeft;
            const TPoint p = ScreenToClient(Pt);
            std::vector<std::uint16_t> formats;
            std::shared_ptr<plat::IEnumFormatEtc> list;
            bool listed = DataObject && DataObject->EnumFormatEtc(plat::DATADIR_GET, list) == plat::S_OK && list &&
                          list->Reset() == plat::S_OK;
            if (listed) {
                plat::TFormatEtc f;
                std::uint32_t fetched = 0;
                while (list->Next(1, &f, &fetched) == plat::S_OK && fetched == 1)
                    formats.push_back(static_cast<std::uint16_t>(f.Format));
            }
            Effect &= ~ScrollEffect;
            DoDragDrop(source, DataObject, formats, shift, p, Effect, FLastDropMode);
        }
    } catch (const std::exception& E) {
        if (plat::Application) plat::Application->ShowException(E);
        result = plat::E_UNEXPECTED;
    } catch (...) {
        result = plat::E_UNEXPECTED;
    }
    if (FDropTargetNode) {
        InvalidateNode(FDropTargetNode);
        FDropTargetNode = nullptr;
    }
    return result;
}

void TBaseLazyTree::ExpandDropTarget()
{
    KillTreeTimer(1);
    PLazyNode n = FDropTargetNode;
    if (!n || !n->Has(vsHasChildren) || n->Has(vsExpanded)) return;
    TBaseLazyTree* source = FDragManager ? FDragManager->CurrentDragSource() : nullptr;
    const bool image = source && !FDragManager->HasDropTargetHelper();
    ToggleNode(n);
    Update();
    // The saved background under the image takes the new rows from the tree itself: a screen
    // read while the window system still shows the image would take the image in too.
    if (image) UpdateDragImageArea(source, ClientRect(), true, false);
}

// ---- messages: the control drag and the expand timer --------------------------------------

bool TBaseLazyTree::DragDropMessage(plat::TMessage& Message)
{
    if (Message.Msg == plat::WM_TIMER && Message.WParam == 1) {
        ExpandDropTarget();
        return true;
    }
    if (Message.Msg != plat::CM_DRAG) return false;
    auto* rec = reinterpret_cast<plat::TDragRec*>(Message.LParam);
    if (!rec) return false;
    plat::TDragObject* object = rec->Source;
    plat::TObject* source = object;
    if (object && !HasState(tsUserDragObject) && object->Control) source = object->Control;
    const TPoint client = ScreenToClient(rec->Pos);
    switch (static_cast<plat::TDragMessage>(Message.WParam)) {
    case plat::dmDragEnter:
    case plat::dmDragLeave:
    case plat::dmDragMove: {
        plat::TDragState state = plat::dsDragMove;
        if (Message.WParam == plat::dmDragEnter) {
            DoStateChange(TreeBit(tsVCLDragging));
            state = plat::dsDragEnter;
        } else if (Message.WParam == plat::dmDragLeave) {
            // Only the tree the drag started from ends the drag (FinishVclDrag), so only it
            // remembers that the drag left it.
            DoStateChange(plat::TCustomControl::Dragging() ? TreeBit(tsVCLDragFinished) : 0, TreeBit(tsVCLDragging));
            state = plat::dsDragLeave;
        } else if (MayAutoScroll()) {
            CheckAutoScroll(client.X, client.Y);
        }
        TDropEffect effect = plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE;
        DropTargetOver(source, KeyboardKeyState(), effect, rec->Pos, state);
        FLastVCLDragTarget = FDropTargetNode;
        FVCLDragEffect = effect;
        if (Message.WParam == plat::dmDragLeave && FDropTargetNode) {
            InvalidateNode(FDropTargetNode);
            FDropTargetNode = nullptr;
        }
        Message.Result = static_cast<plat::LRESULT>(effect);
        return true;
    }
    case plat::dmDragDrop: {
        if (FDropTargetNode) InvalidateNode(FDropTargetNode);
        FDropTargetNode = FLastVCLDragTarget;
        struct Finally {
            TBaseLazyTree* T;
            ~Finally()
            {
                if (T->FDropTargetNode) {
                    T->InvalidateNode(T->FDropTargetNode);
                    T->FDropTargetNode = nullptr;
                }
            }
        } cleanup{this};
        DoDragDrop(source, nullptr, {}, ShiftOfKeyState(KeyboardKeyState()), client, FVCLDragEffect, FLastDropMode);
        Message.Result = 0;
        return true;
    }
    case plat::dmFindTarget: {
        plat::TControl* found = ControlAtPos(client, false, true);
        Message.Result = reinterpret_cast<plat::LRESULT>(found ? found : static_cast<plat::TControl*>(this));
        if (HasState(tsVCLDragPending))
            DoStateChange(TreeBit(tsVCLDragging), StateSet({tsClearPending, tsEditPending, tsVCLDragPending}));
        return true;
    }
    case plat::dmDragCancel:
        Message.Result = 0;
        return true;
    }
    return false;
}

// ---- ready-made drop handling -------------------------------------------------------------

bool TBaseLazyTree::ProcessDrop(const std::shared_ptr<plat::IDataObject>& DataObject, PLazyNode TargetNode,
                                TDropEffect& Effect, TLTNodeAttachMode Mode)
{
    if (Mode == amNoWhere) {
        Effect = plat::DROPEFFECT_NONE;
        return false;
    }
    TBaseLazyTree* source = TreeFromDataObject(DataObject.get());
    bool result = false;
    BeginUpdate();
    if (source) source->BeginUpdate();
    try {
        if ((Effect & plat::DROPEFFECT_MOVE) && source) {
            result = ProcessOLEData(source, DataObject, TargetNode, Mode, (Effect & plat::DROPEFFECT_COPY) == 0);
            // The nodes are moved already: the source must delete nothing.
            Effect = plat::DROPEFFECT_NONE;
        } else if (Effect & (plat::DROPEFFECT_COPY | plat::DROPEFFECT_MOVE)) {
            result = ProcessOLEData(source, DataObject, TargetNode, Mode, false);
        }
    } catch (...) {
        Effect = plat::DROPEFFECT_NONE;
    }
    if (source) source->EndUpdate();
    EndUpdate();
    return result;
}

} // namespace vtree
