// Node record, tree object, node life cycle, states and heights of TBaseLazyTree.
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.ClipBoard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "LazyTrees.Assert.h"
#include "LazyTrees.DragDrop.h"
#include "LazyTrees.DragImage.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.WorkerThread.h"
#include "plat/Clock.h"
#include "plat/Threads.h"

namespace vtree {

namespace {

inline void Check(bool Condition, const char16_t* Text)
{
    if (!Condition) throw EAssertionFailed(Text);
}

// Heights live in 16 bits; the totals are 32-bit. Clamping first keeps them in step.
inline std::uint16_t ClampHeight(std::int64_t Value)
{
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(Value, 0, 65535));
}

// Fires the handler only when assigned.
template <class F, class... A>
inline void Fire(const F& Handler, A&&... Args)
{
    if (Handler) Handler(std::forward<A>(Args)...);
}

// Decrements a counter on every path out of a scope.
struct CountGuard {
    std::uint32_t& Count;
    explicit CountGuard(std::uint32_t& C) : Count(C) { ++Count; }
    ~CountGuard() { --Count; }
};

} // namespace

// ---- class records -------------------------------------------------------------------

const TLazyTreeClassInfo CustomLazyDrawTreeClass{u"TCustomLazyDrawTree", &BaseLazyTreeClass};
const TLazyTreeClassInfo LazyStringTreeClass{u"TLazyStringTree", &CustomLazyStringTreeClass};

TLazyTreeClass TBaseLazyTree::ClassType() const { return &BaseLazyTreeClass; }
TLazyTreeClass TCustomLazyStringTree::ClassType() const { return &CustomLazyStringTreeClass; }
TLazyTreeClass TLazyStringTree::ClassType() const { return &LazyStringTreeClass; }

// ---- construction --------------------------------------------------------------------

TBaseLazyTree::TBaseLazyTree(plat::TComponent* AOwner) : plat::TCustomControl(AOwner)
{
    PrepareSharedResources();
    ExchangeCreated();
    FStateWindow.store(Handle(), std::memory_order_release);
    SetWidth(200);
    SetHeight(100);
    SetTabStop(true);
    FScrollBarOptions = std::make_unique<TScrollBarOptions>(this);
    FHeader = std::make_unique<TLTHeader>(this);
    CreateOptionsObject();
    if (!plat::TComponent::HasState(plat::csDesigning)) {
        AcquireWorkerThread();
        FWorkerAcquired = true;
    }
    AllocateRoot();
    InitView();
}

void TBaseLazyTree::CreateOptionsObject()
{
    FOptions.reset(CreateOptions());
}

TBaseLazyTree::~TBaseLazyTree()
{
    ExchangeDestroying();
    StopCacheValidation();
    FOptions->FMiscOptions &= ~Set<TLTMiscOptions, TLTMiscOption>({toReadOnly});
    if (FWorkerAcquired) ReleaseWorkerThread(this);
    Destroying();
    ReleaseDragAndDrop();
    // A running edit is cancelled while the tree is whole: its editor is a child window
    // that must not call back into a tree half torn down.
    if (HasState(tsEditing) || HasState(tsEditPending)) DoEditCancelled();
    FEditLink.reset();
    Clear();
    FHeader.reset();
    std::free(FRoot);
    FRoot = nullptr;
}

void TBaseLazyTree::AllocateRoot()
{
    const std::uint32_t size = NodeRecordSize + FTotalInternalDataSize;
    if (!FRoot) {
        FRoot = static_cast<PLazyNode>(std::calloc(1, size));
        if (!FRoot) throw std::bad_alloc();
        FRoot->PrevSibling = FRoot;
        FRoot->NextSibling = FRoot;
        FRoot->Parent = reinterpret_cast<PLazyNode>(this);
        FRoot->States = NodeBit(vsInitialized) | NodeBit(vsExpanded) | NodeBit(vsHasChildren) | NodeBit(vsVisible);
        FRoot->TotalCount = 1;
        FRoot->TotalHeight = FDefaultNodeHeight;
        FRoot->NodeHeight = static_cast<std::uint16_t>(FDefaultNodeHeight);
        FRoot->Align = 50;
    } else if (size > FRootBlockSize) {
        auto* grown = static_cast<PLazyNode>(std::realloc(FRoot, size));
        if (!grown) throw std::bad_alloc();
        std::memset(reinterpret_cast<std::uint8_t*>(grown) + FRootBlockSize, 0, size - FRootBlockSize);
        FRoot = grown;
        FRoot->PrevSibling = FRoot;
        FRoot->NextSibling = FRoot;
    }
    FRootBlockSize = size;
}

void TBaseLazyTree::SetTreeStates(TLazyTreeStates Value)
{
    const TLazyTreeStates old = TreeStates();
    DoStateChange(Value & ~old, old & ~Value);
}

void TBaseLazyTree::DoStateChange(TLazyTreeStates Enter, TLazyTreeStates Leave)
{
    const TLazyTreeStates old = TreeStates();
    if (OnStateChange && ((Enter & ~old) != 0 || (Leave & old) != 0)) OnStateChange(this, Enter, Leave);
    FStates.store((TreeStates() | Enter) & ~Leave, std::memory_order_release);
}

TBaseLazyTree* OwnerTreeOfNode(PLazyNode Node)
{
    Check(Node != nullptr, u"Node must not be nil.");
    while (Node->NextSibling != Node) Node = Node->Parent;
    return reinterpret_cast<TBaseLazyTree*>(Node->Parent);
}

// ---- user data -----------------------------------------------------------------------

void TBaseLazyTree::SetNodeDataSize(int Value)
{
    if (Value < -1) Value = -1;
    if (Value == FNodeDataSize) return;
    if (plat::TComponent::HasState(plat::csLoading) || plat::TComponent::HasState(plat::csDesigning)) {
        FNodeDataSize = Value;
        return;
    }
    // The blocks must be made again at the new size, also on a read-only tree; otherwise
    // user data would be written past the old, smaller blocks.
    const std::uint32_t count = FRoot->ChildCount;
    const TLTMiscOptions misc = FOptions->FMiscOptions;
    FOptions->FMiscOptions &= ~Set<TLTMiscOptions, TLTMiscOption>({toReadOnly});
    Clear();
    FNodeDataSize = Value;
    FPool.Reset(0);
    SetRootNodeCount(count);
    FOptions->FMiscOptions = misc;
}

std::uint8_t* TBaseLazyTree::GetNodeData(PLazyNode Node)
{
    WorkerPause pause(this);
    Check(FNodeDataSize > 0, u"NodeDataSize not initialized.");
    if (!Node || Node == FRoot) return nullptr;
    return Node->GetData();
}

void TBaseLazyTree::SetNodeData(PLazyNode Node, const void* UserData)
{
    WorkerPause pause(this);
    if (FNodeDataSize < static_cast<int>(sizeof(void*)))
        throw EAssertionFailed(ClassName() + u": Cannot set initial user data because there is not enough user data space allocated.");
    Node->SetData(UserData);
}

std::uint32_t TBaseLazyTree::ReserveInternalNodeArea(std::uint32_t Size)
{
    Check(FRoot == nullptr || FRoot->ChildCount == 0, u"Internal data allocation must be done before any node is created.");
    const std::uint32_t offset = NodeRecordSize + FTotalInternalDataSize;
    FTotalInternalDataSize += (Size + 3) & ~std::uint32_t(3);
    AllocateRoot();
    FPool.Reset(0);
    return offset;
}

void TBaseLazyTree::DoGetNodeDataSize(int& Size)
{
    Size = sizeof(void*);
    Fire(OnGetNodeDataSize, this, Size);
}

PLazyNode TBaseLazyTree::MakeNewNode()
{
    if (FNodeDataSize == -1) {
        int size = -1;
        DoGetNodeDataSize(size);
        FNodeDataSize = std::max(size, 0);
    }
    const std::uint32_t data = plat::TComponent::HasState(plat::csDesigning) ? 0 : static_cast<std::uint32_t>(FNodeDataSize);
    const std::size_t block = NodeRecordSize + FTotalInternalDataSize + data;
    if (FPool.BlockSize() != ((block + 3) & ~std::size_t(3))) {
        Check(FPool.LiveBlocks() == 0, u"Node blocks of two sizes in one tree.");
        FPool.Reset(block);
    }
    auto* node = static_cast<PLazyNode>(FPool.Allocate());
    node->TotalCount = 1;
    node->TotalHeight = FDefaultNodeHeight;
    node->NodeHeight = static_cast<std::uint16_t>(FDefaultNodeHeight);
    node->States = NodeBit(vsVisible);
    node->Align = 50;
    return node;
}

void TBaseLazyTree::Assign(const plat::TPersistent* Source)
{
    auto* src = dynamic_cast<const TBaseLazyTree*>(Source);
    if (!src || In(FOptions->MiscOptions(), toReadOnly)) {
        plat::TCustomControl::Assign(Source);
        return;
    }
    SetChangeDelay(src->FChangeDelay);
    SetCheckImageKind(src->FCheckImageKind);
    SetDefaultNodeHeight(src->FDefaultNodeHeight);
    SetIndent(src->FIndent);
    SetNodeDataSize(src->FNodeDataSize);
    FOptions->Assign(src->FOptions.get());
    SetRootNodeCount(src->RootNodeCount());
    FScrollBarOptions->Assign(src->FScrollBarOptions.get());
}

void TBaseLazyTree::SetAnimationDuration(std::uint32_t Value)
{
    FAnimationDuration = Value;
    if (Value == 0) FOptions->FAnimationOptions &= ~Set<TLTAnimationOptions, TLTAnimationOption>({toAnimatedToggle});
    else FOptions->FAnimationOptions |= Set<TLTAnimationOptions, TLTAnimationOption>({toAnimatedToggle});
}

// ---- Do dispatchers ------------------------------------------------------------------

void TBaseLazyTree::DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates)
{
    Fire(OnInitNode, this, Parent, Node, InitStates);
}

bool TBaseLazyTree::DoInitChildren(PLazyNode Node, std::uint32_t& ChildCount)
{
    if (!OnInitChildren) return false;
    OnInitChildren(this, Node, ChildCount);
    return true;
}

void TBaseLazyTree::DoResetNode(PLazyNode Node) { Fire(OnResetNode, this, Node); }
void TBaseLazyTree::DoUpdating(TLTUpdateState State) { Fire(OnUpdating, this, State); }
void TBaseLazyTree::DoStartOperation(TLTOperationKind Kind) { Fire(OnStartOperation, this, Kind); }
void TBaseLazyTree::DoEndOperation(TLTOperationKind Kind) { Fire(OnEndOperation, this, Kind); }

void TBaseLazyTree::DoFreeNode(PLazyNode Node)
{
    if (Node == FLastChangedNode) FLastChangedNode = nullptr;
    if (Node == FCurrentHotNode) FCurrentHotNode = nullptr;
    if (Node == FDropTargetNode) FDropTargetNode = nullptr;
    if (Node == FLastStructureChangeNode) FLastStructureChangeNode = nullptr;
    if (Node == FNextNodeToSelect) FNextNodeToSelect = Node->Parent;
    if (Node == FRangeAnchor) FRangeAnchor = nullptr;
    if (Node == FCheckNode) FCheckNode = nullptr;
    if (Node == FLastSearchNode) FLastSearchNode = nullptr;
    if (Node == FHeightTrackNode) FHeightTrackNode = nullptr;
    if (OnFreeNode && (Node->Has(vsInitialized) || Node->Has(vsOnFreeNodeCallRequired))) OnFreeNode(this, Node);
    FPool.Free(Node);
}

// ---- change notifications --------------------------------------------------------------

void TBaseLazyTree::KillTreeTimer(std::uintptr_t Id)
{
    if (HandleAllocated()) plat::KillTimer(Handle(), Id);
}

void TBaseLazyTree::NotifyChange(PLazyNode Node)
{
    if (HasState(tsChangePending)) KillTreeTimer(5);
    else DoStateChange(TreeBit(tsChangePending));
    FLastChangedNode = Node;
    if (FUpdateCount == 0) {
        if (FChangeDelay > 0 && HandleAllocated() && !HasState(tsSynchMode))
            plat::SetTimer(Handle(), 5, FChangeDelay);
        else
            DoChange(Node);
    }
}

void TBaseLazyTree::DoChange(PLazyNode Node)
{
    KillTreeTimer(5);
    Fire(OnChange, this, Node);
    DoStateChange(0, TreeBit(tsChangePending));
    FLastChangedNode = nullptr;
}

void TBaseLazyTree::NotifyStructureChange(PLazyNode Node, TChangeReason Reason)
{
    if (HasState(tsStructureChangePending)) KillTreeTimer(6);
    else DoStateChange(TreeBit(tsStructureChangePending));
    FLastStructureChangeNode = Node;
    if (FLastStructureChangeReason == crIgnore) FLastStructureChangeReason = Reason;
    else if (Reason != crIgnore) FLastStructureChangeReason = crAccumulated;
    if (FUpdateCount == 0) {
        if (FChangeDelay > 0 && HandleAllocated() && !HasState(tsSynchMode))
            plat::SetTimer(Handle(), 6, FChangeDelay);
        else
            DoStructureChange(Node, Reason);
    }
}

void TBaseLazyTree::DoStructureChange(PLazyNode Node, TChangeReason Reason)
{
    KillTreeTimer(6);
    Fire(OnStructureChange, this, Node, Reason);
    DoStateChange(0, TreeBit(tsStructureChangePending));
    FLastStructureChangeNode = nullptr;
    FLastStructureChangeReason = crIgnore;
}

void TBaseLazyTree::WndProc(plat::TMessage& Message)
{
    if (FHeader && FHeader->HandleNonClientMessage(Message))
        return;
    // The header sees every message first: its strip, splitters and interactions.
    if (FHeader && FHeader->HandleMessage(Message))
        return;
    // Every pixel of the client is painted by the paint pass: nothing to erase.
    if (Message.Msg == plat::WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    if (HintMessage(Message)) return;
    if (InputMessage(Message)) return;
    if (AccessibilityMessage(Message)) return;
    if (ClipboardMessage(Message)) return;
    if (DragDropMessage(Message)) return;
    if (Message.Msg == plat::WM_TIMER) {
        if (Message.WParam == 5) {
            if (HasState(tsChangePending)) DoChange(FLastChangedNode);
            else KillTreeTimer(5);
            return;
        }
        if (Message.WParam == 6) {
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
            return;
        }
        if (Message.WParam == 8) {
            // A theme change of the system: the window is made anew in the new look.
            KillTreeTimer(8);
            RecreateWnd();
            return;
        }
    }
    if (Message.Msg == WM_CHANGESTATE) {
        // Cache states as bits: 1 stop validation, 2 use cache, 4 validating, 8 validation needed.
        auto states = [](std::uintptr_t Bits) {
            TLazyTreeStates s = 0;
            const TLazyTreeState order[] = {tsStopValidation, tsUseCache, tsValidating, tsValidationNeeded};
            for (unsigned i = 0; i < 4; ++i)
                if (Bits & (1u << i)) s |= TreeBit(order[i]);
            return s;
        };
        // 1: done; 2: the change raised, and its error waits in FStateChangeError for the
        // sender (the worker), which ends its build with it. 0 means the window has gone.
        ++FStateMessagesHandled;
        try {
            DoStateChange(states(std::uintptr_t(Message.WParam)), states(std::uintptr_t(Message.LParam)));
            Message.Result = 1;
        } catch (...) {
            FStateChangeError = std::current_exception();
            Message.Result = 2;
        }
        return;
    }
    if (Message.Msg == TVM_GETNEXTITEM) {
        auto node = reinterpret_cast<PLazyNode>(Message.LParam);
        PLazyNode r = nullptr;
        const bool needsNode = Message.WParam == 1 || Message.WParam == 2 || Message.WParam == 3 ||
                               Message.WParam == 4 || Message.WParam == 6 || Message.WParam == 7;
        if (!(needsNode && !node)) {
            switch (Message.WParam) {
            case 0: r = GetFirst(); break;
            case 1: r = GetNextSibling(node); break;
            case 2: r = GetPreviousSibling(node); break;
            case 3: r = node != FRoot && node->Parent != FRoot ? node->Parent : nullptr; break;
            case 4: r = GetFirstChild(node); break;
            case 5: r = GetFirstVisible(nullptr, true); break;
            case 6: r = GetNextVisible(node, true); break;
            case 7: r = GetPreviousVisible(node, true); break;
            case 8: r = FDropTargetNode; break;
            case 9: r = FFocusedNode; break;
            case 10: r = GetLastVisible(nullptr, true); break;
            default: break;
            }
        }
        Message.Result = reinterpret_cast<plat::LRESULT>(r);
        return;
    }
    if (WindowMessage(Message)) return;
    plat::TCustomControl::WndProc(Message);
}

// ---- update mode, operations ---------------------------------------------------------

void TBaseLazyTree::BeginUpdate()
{
    if (!plat::InMainThread())
        throw EAssertionFailed(u"UI controls like " + ClassName() + u" should only be manipulated through the main thread.");
    if (!plat::TComponent::HasState(plat::csDestroying)) {
        DoUpdating(FUpdateCount == 0 ? usBegin : usUpdate);
    }
    ++FUpdateCount;
    DoStateChange(TreeBit(tsUpdating));
}

void TBaseLazyTree::EndUpdate()
{
    if (FUpdateCount > 0) --FUpdateCount;
    if (plat::TComponent::HasState(plat::csDestroying)) return;
    if (FUpdateCount == 0 && HasState(tsUpdating)) {
        StopCacheValidation();
        if (HasState(tsUpdateHiddenChildrenNeeded)) {
            RefreshAllChildrenHiddenEverywhere();
            DoStateChange(0, TreeBit(tsUpdateHiddenChildrenNeeded));
        }
        DoStateChange(0, TreeBit(tsUpdating));
        FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
        FSelection.resize(FSelectionCount);
        MarkCacheStale();
        RequestCacheValidation();
        UpdateScrollBars(true);
        struct Finally {
            TBaseLazyTree* T;
            ~Finally()
            {
                if (T->AutoSortWanted())
                    T->SortTree(T->FHeader->SortColumn, T->FHeader->SortDirection, true);
                T->InvalidateTree();
            }
        } finally{this};
        if (HasState(tsStructureChangePending))
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        if (HasState(tsChangePending)) DoChange(FLastChangedNode);
    }
    if (FUpdateCount > 0) DoUpdating(usUpdate);
    else {
        DoUpdating(usEnd);
        EnsureNodeSelected();
    }
}

void TBaseLazyTree::BeginSynch()
{
    if (!plat::TComponent::HasState(plat::csDestroying)) {
        if (FSynchUpdateCount == 0) {
            DoUpdating(usBeginSynch);
            for (std::uintptr_t id = 1; id <= 7; ++id) KillTreeTimer(id);
            DoStateChange(0, StateSet({tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending}));
            if (HasState(tsStructureChangePending))
                DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
            if (HasState(tsChangePending)) DoChange(FLastChangedNode);
        } else {
            DoUpdating(usSynch);
        }
    }
    ++FSynchUpdateCount;
    DoStateChange(TreeBit(tsSynchMode));
}

void TBaseLazyTree::EndSynch()
{
    if (FSynchUpdateCount > 0) --FSynchUpdateCount;
    if (plat::TComponent::HasState(plat::csDestroying)) return;
    if (FSynchUpdateCount > 0) DoUpdating(usSynch);
    else {
        DoStateChange(0, TreeBit(tsSynchMode));
        DoUpdating(usEndSynch);
    }
}

void TBaseLazyTree::StartOperation(TLTOperationKind Kind)
{
    ++FOperationCount;
    DoStartOperation(Kind);
    if (FOperationCount == 1) FOperationCanceled = false;
}

void TBaseLazyTree::EndOperation(TLTOperationKind Kind)
{
    Check(FOperationCount > 0, u"EndOperation must not be called when no operation in progress.");
    --FOperationCount;
    DoEndOperation(Kind);
}

void TBaseLazyTree::CancelOperation()
{
    if (FOperationCount > 0) FOperationCanceled = true;
}

// ---- totals --------------------------------------------------------------------------

void TBaseLazyTree::AdjustTotalCount(PLazyNode Node, std::int64_t Delta)
{
    if (Delta == 0) return;
    for (PLazyNode n = Node;; n = n->Parent) {
        n->TotalCount = static_cast<std::uint32_t>(n->TotalCount + Delta);
        if (n == FRoot) break;
    }
}

void TBaseLazyTree::PropagateTotalCount(PLazyNode Node, std::int64_t Value, bool Relative)
{
    if (!Relative) Value -= Node->TotalCount;
    AdjustTotalCount(Node, Value);
}

void TBaseLazyTree::PropagateTotalHeight(PLazyNode Node, std::int64_t Value, bool Relative)
{
    if (!Relative) Value -= Node->TotalHeight;
    if (Value != 0) {
        Node->TotalHeight = static_cast<std::uint32_t>(Node->TotalHeight + Value);
        for (PLazyNode n = Node; n->Has(vsVisible) && n != FRoot && n->Parent && n->Parent->Has(vsExpanded);) {
            n = n->Parent;
            n->TotalHeight = static_cast<std::uint32_t>(n->TotalHeight + Value);
        }
    }
    UpdateVerticalRange();
}

void TBaseLazyTree::UpdateVerticalRange()
{
    const std::int64_t range = std::int64_t(FRoot->TotalHeight) + FBottomSpace - FRoot->NodeHeight;
    FRangeY = static_cast<std::uint32_t>(std::max<std::int64_t>(range, 0));
}

void TBaseLazyTree::SetOffsetY(int Value)
{
    DoSetOffsetXY({FOffsetX, Value});
}

// ---- node count, linking --------------------------------------------------------------

void TBaseLazyTree::SetRootNodeCount(std::uint32_t Value)
{
    if (plat::TComponent::HasState(plat::csLoading)) {
        FRoot->ChildCount = Value;
        DoStateChange(TreeBit(tsNeedRootCountUpdate));
        return;
    }
    if (Value == FRoot->ChildCount) return;
    BeginUpdate();
    try {
        StopCacheValidation();
        SetChildCount(FRoot, Value);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseLazyTree::SetChildCount(PLazyNode Node, std::uint32_t NewChildCount)
{
    if (In(FOptions->MiscOptions(), toReadOnly)) return;
    if (!Node) Node = FRoot;
    if (NewChildCount == 0) {
        DeleteChildren(Node, false);
        return;
    }
    if (NewChildCount == Node->ChildCount) return;
    StopCacheValidation();
    if (NewChildCount > Node->ChildCount) {
        const std::uint32_t count = NewChildCount - Node->ChildCount;
        std::uint32_t index = 0;
        if (Node->LastChild) index = Node->LastChild->Index + 1;
        else Node->Include(vsHasChildren);
        Node->Exclude(vsAllChildrenHidden);
        Node->Exclude(vsHeightMeasured);
        const bool shown = Node->Has(vsExpanded) && GetFullyVisible(Node);
        PLazyNode firstNew = nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            PLazyNode child = MakeNewNode();
            if (!firstNew) firstNew = child;
            child->Index = index++;
            child->PrevSibling = Node->LastChild;
            if (Node->LastChild) Node->LastChild->NextSibling = child;
            child->Parent = Node;
            Node->LastChild = child;
            if (!Node->FirstChild) Node->FirstChild = child;
        }
        Node->ChildCount = NewChildCount;
        AdjustTotalCount(Node, count);
        // Fresh nodes are visible, unfiltered and childless: each adds its default height and
        // one row.
        if (Node->Has(vsExpanded)) PropagateTotalHeight(Node, std::int64_t(count) * FDefaultNodeHeight, true);
        if (shown) FVisibleCount += count;
        // Measuring initialises each new node, whose handlers keep the totals through the
        // regular setters.
        if (In(FOptions->MiscOptions(), toVariableNodeHeight))
            for (PLazyNode c = firstNew; c; c = c->NextSibling) GetNodeHeight(c);
        if (FUpdateCount == 0 && AutoSortWanted())
            Sort(Node, FHeader->SortColumn, FHeader->SortDirection, true);
        MarkCacheStale();
    } else {
        // Each deletion reports its own change: with a change delay they and the count change
        // below reach the handler as one accumulated change.
        for (std::uint32_t n = Node->ChildCount - NewChildCount; n > 0; --n) DeleteNode(Node->LastChild);
    }
    if (FUpdateCount == 0) {
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
    }
    NotifyStructureChange(Node == FRoot ? nullptr : Node, crChildAdded);
}

PLazyNode TBaseLazyTree::AddChild(PLazyNode Parent, const void* UserData)
{
    if (In(FOptions->MiscOptions(), toReadOnly)) return nullptr;
    CancelEditNode();
    if (!Parent) Parent = FRoot;
    InitIfNeeded(Parent);
    {
        CountGuard guard(FUpdateCount);
        SetChildCount(Parent, Parent->ChildCount + 1);
        Parent->Exclude(vsAllChildrenHidden);
    }
    PLazyNode result = Parent->LastChild;
    if (UserData) SetNodeData(result, UserData);
    MarkCacheStale();
    if (FUpdateCount == 0) {
        RequestCacheValidation();
        if (HasState(tsStructureChangePending))
            NotifyStructureChange(Parent == FRoot ? nullptr : Parent, crChildAdded);
        if (AutoSortWanted())
            Sort(Parent, FHeader->SortColumn, FHeader->SortDirection, true);
        InvalidateToBottom(Parent);
        UpdateScrollBars(true);
    }
    return result;
}

PLazyNode TBaseLazyTree::InsertNode(PLazyNode Node, TLTNodeAttachMode Mode, const void* UserData)
{
    if (Mode == amNoWhere) return nullptr;
    if (In(FOptions->MiscOptions(), toReadOnly)) return nullptr;
    CancelEditNode();
    if (!Node) Node = FRoot;
    if (Node == FRoot) {
        if (Mode == amInsertBefore) Mode = amAddChildFirst;
        else if (Mode == amInsertAfter) Mode = amAddChildLast;
    }
    StopCacheValidation();
    PLazyNode result = MakeNewNode();
    if (Mode == amAddChildFirst || Mode == amAddChildLast) InitIfNeeded(Node);
    LinkNode(result, Node, Mode, this);
    if (UserData) SetNodeData(result, UserData);
    MarkCacheStale();
    if (FUpdateCount == 0) {
        if (AutoSortWanted())
            Sort(Mode == amInsertBefore || Mode == amInsertAfter ? Node->Parent : Node,
                 FHeader->SortColumn, FHeader->SortDirection, true);
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateToBottom(Mode == amInsertBefore ? result : Node);
    }
    NotifyStructureChange(result, crNodeAdded);
    return result;
}

void TBaseLazyTree::LinkNode(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode, TBaseLazyTree* Target,
                             bool Reindex)
{
    PLazyNode parent = nullptr;
    switch (Mode) {
    case amNoWhere: return;
    case amInsertBefore: {
        parent = Destination->Parent;
        Node->PrevSibling = Destination->PrevSibling;
        Node->NextSibling = Destination;
        Destination->PrevSibling = Node;
        if (Node->PrevSibling) Node->PrevSibling->NextSibling = Node;
        else parent->FirstChild = Node;
        std::uint32_t index = Destination->Index;
        if (!Reindex) Node->Index = index;
        else
            for (PLazyNode n = Node; n; n = n->NextSibling) n->Index = index++;
        break;
    }
    case amInsertAfter: {
        parent = Destination->Parent;
        Node->PrevSibling = Destination;
        Node->NextSibling = Destination->NextSibling;
        Destination->NextSibling = Node;
        if (Node->NextSibling) Node->NextSibling->PrevSibling = Node;
        else parent->LastChild = Node;
        std::uint32_t index = Destination->Index + 1;
        if (!Reindex) Node->Index = index;
        else
            for (PLazyNode n = Node; n; n = n->NextSibling) n->Index = index++;
        break;
    }
    case amAddChildFirst: {
        parent = Destination;
        Node->PrevSibling = nullptr;
        Node->NextSibling = parent->FirstChild;
        if (parent->FirstChild) parent->FirstChild->PrevSibling = Node;
        else parent->LastChild = Node;
        parent->FirstChild = Node;
        std::uint32_t index = 0;
        if (!Reindex) Node->Index = index;
        else
            for (PLazyNode n = Node; n; n = n->NextSibling) n->Index = index++;
        break;
    }
    case amAddChildLast: {
        parent = Destination;
        Node->NextSibling = nullptr;
        Node->PrevSibling = parent->LastChild;
        Node->Index = parent->LastChild ? parent->LastChild->Index + 1 : 0;
        if (parent->LastChild) parent->LastChild->NextSibling = Node;
        else parent->FirstChild = Node;
        parent->LastChild = Node;
        break;
    }
    }
    Node->Parent = parent;
    Node->Exclude(vsChecking);
    Node->Exclude(vsCutOrCopy);
    Node->Exclude(vsDeleting);
    ++parent->ChildCount;
    parent->Include(vsHasChildren);
    Target->AdjustTotalCount(parent, Node->TotalCount);
    if (parent->Has(vsExpanded) && Node->Has(vsVisible)) Target->PropagateTotalHeight(parent, Node->TotalHeight, true);
    if (Target->GetFullyVisible(Node))
        Target->FVisibleCount += Target->VisibleDescendantCount(Node) + (Target->GetEffectivelyVisible(Node) ? 1 : 0);
    if (parent != Target->FRoot) {
        if (Target->GetEffectivelyVisible(Node)) parent->Exclude(vsAllChildrenHidden);
        else if (parent->ChildCount == 1) parent->Include(vsAllChildrenHidden);
    }
}

void TBaseLazyTree::UnlinkNode(PLazyNode Node, bool KeepFocus, bool Reindex, bool ParentClearing)
{
    Check(Node && Node != FRoot, u"Node must neither be nil nor the root node.");
    if (Node == FFocusedNode && !KeepFocus) {
        FFocusedNode = nullptr;
        DoFocusChanged(FFocusedNode, FFocusedColumn);
    }
    if (Node == FRangeAnchor) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = -1;
    }
    PLazyNode parent = Node->Parent;
    if (Node->Has(vsDeleting)) return;
    const bool wasExpanded = parent->Has(vsExpanded);
    const bool wasFullyVisible = GetFullyVisible(Node);
    const unsigned visibleRows = wasFullyVisible ? VisibleDescendantCount(Node) + (GetEffectivelyVisible(Node) ? 1 : 0) : 0;
    Node->Exclude(vsChecking);
    --parent->ChildCount;
    if (parent->ChildCount == 0) {
        parent->Exclude(vsAllChildrenHidden);
        parent->Exclude(vsHasChildren);
        if (parent != FRoot) {
            if (parent->Has(vsExpanded)) {
                // The parent loses its own expanded state; its height shrinks to its own row.
                parent->Exclude(vsExpanded);
            }
        }
    }
    AdjustTotalCount(parent, -std::int64_t(Node->TotalCount));
    if (wasExpanded && Node->Has(vsVisible)) PropagateTotalHeight(parent, -std::int64_t(Node->TotalHeight), true);
    FVisibleCount -= visibleRows;
    if (Node->PrevSibling) Node->PrevSibling->NextSibling = Node->NextSibling;
    else parent->FirstChild = Node->NextSibling;
    if (Node->NextSibling) {
        Node->NextSibling->PrevSibling = Node->PrevSibling;
        if (Reindex) {
            std::uint32_t index = Node->Index;
            for (PLazyNode n = Node->NextSibling; n; n = n->NextSibling) n->Index = index++;
        }
    } else {
        parent->LastChild = Node->PrevSibling;
    }
    if (!ParentClearing && parent != FRoot) {
        if (FUpdateCount > 0) DoStateChange(TreeBit(tsUpdateHiddenChildrenNeeded));
        else RefreshAllChildrenHidden(parent);
    }
    Node->PrevSibling = Node->NextSibling = nullptr;
}

void TBaseLazyTree::RemoveNode(PLazyNode Node, bool Reindex, bool ParentClearing)
{
    if (!Node || Node == FRoot || In(FOptions->MiscOptions(), toReadOnly)) return;
    Check(!HasState(tsIterating), u"Deleting nodes during tree iteration leads to invalid pointers.");
    PLazyNode parent = Node->Parent;
    if (!ParentClearing) NotifyStructureChange(parent == FRoot ? nullptr : parent, crChildDeleted);
    if (Node->Has(vsSelected)) {
        if (FUpdateCount > 0) RemoveFromSelectionDeferred(Node);
        else {
            const bool synch = HasState(tsSynchMode);
            DoStateChange(TreeBit(tsSynchMode));
            RemoveFromSelection(Node);
            if (!synch) DoStateChange(0, TreeBit(tsSynchMode));
        }
    }
    CancelShownHint();
    if (!ParentClearing) StopCacheValidation();
    DeleteChildren(Node, false);
    UnlinkNode(Node, false, Reindex, ParentClearing);
    DoFreeNode(Node);
    if (!ParentClearing) {
        if (parent != FRoot) RefreshAllChildrenHidden(parent);
        MarkCacheStale();
        if (FUpdateCount == 0) {
            RequestCacheValidation();
            UpdateScrollBars(true);
            // toAlwaysSelectNode: the deleted selection passes to its neighbour.
            if (FSelectionCount == 0) EnsureNodeSelected();
        }
    }
}

void TBaseLazyTree::DeleteNode(PLazyNode Node, bool Reindex)
{
    RemoveNode(Node, Reindex, false);
}

void TBaseLazyTree::DeleteChildren(PLazyNode Node, bool ResetHasChildren)
{
    if (!Node || Node->ChildCount == 0 || In(FOptions->MiscOptions(), toReadOnly)) {
        if (Node && ResetHasChildren) Node->Exclude(vsHasChildren);
        return;
    }
    Check(!HasState(tsIterating), u"Deleting nodes during tree iteration leads to invalid pointers.");
    {
        CountGuard guard(FUpdateCount);
        StopCacheValidation();
        const bool shown = Node == FRoot || (Node->Has(vsExpanded) && GetFullyVisible(Node));
        const bool deleting = Node->Has(vsDeleting);
        // Rows below this node that are shown and will go; inside a node that is itself
        // being deleted they were counted by the outermost call.
        const unsigned rows = shown && !deleting ? VisibleDescendantCount(Node) : 0;
        FVisibleCount -= rows;
        for (PLazyNode child = Node->LastChild; child;) {
            PLazyNode prev = child->PrevSibling;
            child->Include(vsDeleting);
            if (prev) prev->NextSibling = nullptr;
            RemoveNode(child, false, true);
            child = prev;
        }
        if (ResetHasChildren) Node->Exclude(vsHasChildren);
        if (Node != FRoot) Node->Exclude(vsExpanded);
        Node->ChildCount = 0;
        if (Node == FRoot) {
            FRoot->TotalHeight = FDefaultNodeHeight;
            FRoot->TotalCount = 1;
            UpdateVerticalRange();
        } else if (!deleting) {
            const std::int64_t ownHeight = GetEffectivelyFiltered(Node) ? 0 : Node->NodeHeight;
            PropagateTotalHeight(Node, ownHeight, false);
            PropagateTotalCount(Node, 1, false);
        } else {
            Node->TotalCount = 1;
        }
        Node->FirstChild = Node->LastChild = nullptr;
        Node->Exclude(vsAllChildrenHidden);
    }
    MarkCacheStale();
    if (FUpdateCount == 0) {
        FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
        FSelection.resize(FSelectionCount);
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
        if (HasState(tsChangePending)) DoChange(FLastChangedNode);
    }
    NotifyStructureChange(Node == FRoot ? nullptr : Node, crChildDeleted);
}

void TBaseLazyTree::DeleteSelectedNodes()
{
    if (FSelectionCount == 0 || In(FOptions->MiscOptions(), toReadOnly)) return;
    BeginUpdate();
    try {
        TNodeArray nodes = GetSortedSelection(true);
        for (std::size_t i = nodes.size(); i-- > 1;)
            DeleteNode(nodes[i], nodes[i]->Parent != nodes[i - 1]->Parent);
        if (!nodes.empty()) DeleteNode(nodes[0], true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TBaseLazyTree::Clear()
{
    const bool destroying = plat::TComponent::HasState(plat::csDestroying);
    if (!destroying && (FRoot->ChildCount == 0 || In(FOptions->MiscOptions(), toReadOnly))) return;
    if (destroying && FRoot->ChildCount == 0) return;
    if (destroying) {
        // No update notifications while the tree goes away.
        ++FUpdateCount;
        DropSelection();
        FFocusedNode = FCurrentHotNode = FDropTargetNode = FLastChangedNode = FRangeAnchor = FCheckNode = nullptr;
        DeleteChildren(FRoot, true);
        --FUpdateCount;
        return;
    }
    BeginUpdate();
    try {
        StopCacheValidation();
        CancelEditNode();
        DoStateChange(0, StateSet({tsCopyPending, tsCutPending}));
        ClearSelection();
        FFocusedNode = FCurrentHotNode = FDropTargetNode = FLastChangedNode = FRangeAnchor = FCheckNode = nullptr;
        DeleteChildren(FRoot, true);
        FOffsetX = FOffsetY = 0;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TBaseLazyTree::CompactNodeArray(TNodeArray& Array, int Count)
{
    if (Count == 0) return -1;
    int kept = 0;
    for (int i = 0; i < Count; ++i)
        if ((reinterpret_cast<std::uintptr_t>(Array[i]) & 1u) == 0) Array[kept++] = Array[i];
    return kept;
}

// ---- initialisation ------------------------------------------------------------------

void TBaseLazyTree::InitializeNode(PLazyNode Node)
{
    // Initialisation runs handlers and changes states the worker walks: only on the GUI
    // thread, and never while a build runs, except the one the worker waits for. A complete
    // cache in use (no build runs then) stays in use: initialising moves no row unless it
    // hides the node (below) or changes a height or an expansion, which drop it themselves.
    const bool measuring = TWorkerThread::MeasuringFor(this);
    if (!measuring && !HasState(tsUseCache)) StopCacheValidation();
    Node->Include(vsInitializing);
    struct Finally {
        PLazyNode N;
        ~Finally() { N->Exclude(vsInitializing); }
    } finally{Node};
    TLazyNodeInitStates init = Node->Has(vsInitialized) ? InitBit(ivsReInit) : 0;
    const bool wasFiltered = Node->Has(vsFiltered);
    Node->Include(vsInitialized);
    DoInitNode(Node->Parent == FRoot ? nullptr : Node->Parent, Node, init);
    if (init & InitBit(ivsDisabled)) Node->Include(vsDisabled);
    if (init & InitBit(ivsHasChildren)) Node->Include(vsHasChildren);
    if ((init & InitBit(ivsSelected)) && !Node->Has(vsSelected)) {
        FSingletonNodeArray[0] = Node;
        AddNodesToSelection(FSingletonNodeArray, 1, false);
    }
    if (init & InitBit(ivsMultiline)) {
        Node->Include(vsMultiline);
        FHasMultilineNodes = true;
    }
    if (init & InitBit(ivsFiltered)) {
        Node->Include(vsFiltered);
        if (!In(FOptions->PaintOptions(), toShowFilteredNodes) && !wasFiltered) {
            if (!measuring && HasState(tsUseCache)) {
                StopCacheValidation();
                MarkCacheStale();
            }
            PropagateTotalHeight(Node, -std::int64_t(Node->NodeHeight), true);
            if (GetFullyVisible(Node)) --FVisibleCount;
            if (Node->Parent != FRoot) {
                if (FUpdateCount > 0) DoStateChange(TreeBit(tsUpdateHiddenChildrenNeeded));
                else RefreshAllChildrenHidden(Node->Parent);
            }
            if (FUpdateCount == 0) UpdateScrollBars(true);
        }
    }
    const bool wantExpanded = (init & InitBit(ivsExpanded)) != 0;
    if (Node->Has(vsExpanded) != wantExpanded) {
        if (wantExpanded) ToggleNode(Node);
    } else if (Node->Has(vsExpanded) && Node->Has(vsHasChildren)) {
        InitializeChildren(Node);
    }
}

void TBaseLazyTree::InitializeChildren(PLazyNode Node)
{
    if (!Node || Node == FRoot || !Node->Has(vsHasChildren)) return;
    std::uint32_t count = Node->ChildCount;
    if (DoInitChildren(Node, count)) {
        SetChildCount(Node, count);
        if (count == 0) Node->Exclude(vsHasChildren);
    }
}

void TBaseLazyTree::ReinitNode(PLazyNode Node, bool Recursive)
{
    WorkerPause pause(this);
    if (Node && Node != FRoot) {
        Node->Exclude(vsChecking);
        Node->Exclude(vsCutOrCopy);
        Node->Exclude(vsDeleting);
        Node->Exclude(vsHeightMeasured);
        if (Node->Has(vsInitialized)) InitializeNode(Node);
    }
    if (Recursive) ReinitChildren(Node, true);
}

void TBaseLazyTree::ReinitChildren(PLazyNode Node, bool Recursive)
{
    PLazyNode n = ChildOf(Node);
    InitializeChildren(n);
    for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) ReinitNode(c, Recursive);
}

void TBaseLazyTree::ResetNode(PLazyNode Node)
{
    WorkerPause pause(this);
    CancelEditNode();
    if (!Node || Node == FRoot) {
        Clear();
        return;
    }
    DoResetNode(Node);
    DeleteChildren(Node, false);
    for (auto s : {vsInitialized, vsChecking, vsCutOrCopy, vsDeleting, vsHasChildren, vsHeightMeasured})
        Node->Exclude(s);
    if (Node->Has(vsExpanded)) {
        // A reset node shows no children: its collapsed height is its own row.
        Node->Exclude(vsExpanded);
    }
    InvalidateNode(Node);
}

void TBaseLazyTree::ValidateNode(PLazyNode Node, bool Recursive)
{
    if (!Node) Node = FRoot;
    else InitIfNeeded(Node);
    if (Recursive) {
        if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitializeChildren(Node);
        for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) ValidateNode(c, true);
    }
}

void TBaseLazyTree::ValidateChildren(PLazyNode Node, bool Recursive)
{
    if (!Node) Node = FRoot;
    if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitializeChildren(Node);
    for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) {
        InitIfNeeded(c);
        if (Recursive) ValidateChildren(c, true);
    }
}

void TBaseLazyTree::InitRecursive(PLazyNode Node, unsigned Levels, bool VisibleOnly)
{
    if (!Node) Node = FRoot;
    else InitIfNeeded(Node);
    if (Levels == 0 || (VisibleOnly && !Node->Has(vsExpanded))) return;
    for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) InitRecursive(c, Levels - 1, VisibleOnly);
}

std::uint32_t TBaseLazyTree::TotalCount()
{
    {
        CountGuard guard(FUpdateCount);
        ValidateNode(FRoot, true);
    }
    return FRoot->TotalCount - 1;
}

// ---- predicates ----------------------------------------------------------------------

bool TBaseLazyTree::GetEffectivelyFiltered(PLazyNode Node) const
{
    return Node && Node->Has(vsFiltered) && !In(FOptions->PaintOptions(), toShowFilteredNodes);
}

bool TBaseLazyTree::GetEffectivelyVisible(PLazyNode Node) const
{
    return Node->Has(vsVisible) && !GetEffectivelyFiltered(Node);
}

bool TBaseLazyTree::GetVisiblePath(PLazyNode Node) const
{
    Check(Node && Node != FRoot, u"Invalid parameters.");
    for (PLazyNode p = Node->Parent; p != FRoot; p = p->Parent)
        if (!p->Has(vsExpanded) || !p->Has(vsVisible)) return false;
    return true;
}

bool TBaseLazyTree::GetFullyVisible(PLazyNode Node) const
{
    Check(Node != nullptr, u"Invalid parameter.");
    return Node->Has(vsVisible) && (Node == FRoot || GetVisiblePath(Node));
}

bool TBaseLazyTree::GetVisible(PLazyNode Node)
{
    Node = ChildOf(Node);
    InitIfNeeded(Node);
    return Node->Has(vsVisible);
}

unsigned TBaseLazyTree::VisibleDescendantCount(PLazyNode Node) const
{
    if (!Node->Has(vsExpanded)) return 0;
    unsigned count = 0;
    for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling)
        if (c->Has(vsVisible)) count += VisibleDescendantCount(c) + (GetEffectivelyVisible(c) ? 1 : 0);
    return count;
}

void TBaseLazyTree::RefreshAllChildrenHidden(PLazyNode Node)
{
    bool hidden;
    if (Node->ChildCount > 0) {
        hidden = true;
        for (PLazyNode c = Node->FirstChild; c && hidden; c = c->NextSibling)
            if (GetEffectivelyVisible(c)) hidden = false;
    } else {
        hidden = !Node->Has(vsHasChildren);
    }
    if (hidden) Node->Include(vsAllChildrenHidden);
    else Node->Exclude(vsAllChildrenHidden);
}

void TBaseLazyTree::RefreshAllChildrenHiddenEverywhere()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) RefreshAllChildrenHidden(n);
}

// ---- setters -------------------------------------------------------------------------

void TBaseLazyTree::SetVisible(PLazyNode Node, bool Value)
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    if (Node->Has(vsVisible) == Value) return;
    StopCacheValidation();
    const std::uint32_t before = FVisibleCount;
    PLazyNode parent = Node->Parent;
    if (Value) {
        Node->Include(vsVisible);
        if (parent->Has(vsExpanded)) PropagateTotalHeight(parent, Node->TotalHeight, true);
        if (GetVisiblePath(Node)) FVisibleCount += VisibleDescendantCount(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
        if (!GetEffectivelyFiltered(Node)) parent->Exclude(vsAllChildrenHidden);
    } else {
        if (parent->Has(vsExpanded)) PropagateTotalHeight(parent, -std::int64_t(Node->TotalHeight), true);
        if (GetVisiblePath(Node)) FVisibleCount -= VisibleDescendantCount(Node) + (GetEffectivelyVisible(Node) ? 1 : 0);
        Node->Exclude(vsVisible);
        if (parent != FRoot) {
            if (FUpdateCount > 0) DoStateChange(TreeBit(tsUpdateHiddenChildrenNeeded));
            else RefreshAllChildrenHidden(parent);
        }
    }
    MarkCacheStale();
    if (before != FVisibleCount && FUpdateCount == 0) {
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
    }
}

void TBaseLazyTree::SetFiltered(PLazyNode Node, bool Value)
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    InitIfNeeded(Node);
    if (Node->Has(vsFiltered) == Value) return;
    StopCacheValidation();
    const std::uint32_t before = FVisibleCount;
    const bool show = In(FOptions->PaintOptions(), toShowFilteredNodes);
    if (Value) {
        Node->Include(vsFiltered);
        if (!show) {
            PropagateTotalHeight(Node, -std::int64_t(Node->NodeHeight), true);
            if (GetFullyVisible(Node)) --FVisibleCount;
            if (Node->Parent != FRoot) {
                if (FUpdateCount > 0) DoStateChange(TreeBit(tsUpdateHiddenChildrenNeeded));
                else RefreshAllChildrenHidden(Node->Parent);
            }
        }
    } else {
        Node->Exclude(vsFiltered);
        if (!show) {
            PropagateTotalHeight(Node, Node->NodeHeight, true);
            if (GetFullyVisible(Node)) ++FVisibleCount;
        }
        if (Node->Has(vsVisible)) Node->Parent->Exclude(vsAllChildrenHidden);
    }
    MarkCacheStale();
    if (before != FVisibleCount && FUpdateCount == 0) {
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
    }
}

void TBaseLazyTree::SetDisabled(PLazyNode Node, bool Value)
{
    WorkerPause pause(this);
    if (!Node || Node->Has(vsDisabled) == Value) return;
    if (Value) Node->Include(vsDisabled);
    else Node->Exclude(vsDisabled);
    if (FUpdateCount == 0) InvalidateNode(Node);
}

void TBaseLazyTree::SetHasChildren(PLazyNode Node, bool Value)
{
    WorkerPause pause(this);
    if (!Node || In(FOptions->MiscOptions(), toReadOnly)) return;
    if (Value) Node->Include(vsHasChildren);
    else {
        Node->Exclude(vsHasChildren);
        DeleteChildren(Node, false);
    }
}

void TBaseLazyTree::SetExpanded(PLazyNode Node, bool Value)
{
    if (Node && Node != FRoot && Node->Has(vsExpanded) != Value) ToggleNode(Node);
}

void TBaseLazyTree::SetFullyVisible(PLazyNode Node, bool Value)
{
    Check(Node && Node != FRoot, u"Invalid parameter");
    SetVisible(Node, Value);
    if (Value)
        for (PLazyNode p = Node->Parent; p != FRoot; p = p->Parent) {
            if (!p->Has(vsExpanded)) ToggleNode(p);
            if (!p->Has(vsVisible)) SetVisible(p, true);
        }
}

void TBaseLazyTree::SetVisiblePath(PLazyNode Node, bool Value)
{
    Check(Node && Node != FRoot, u"Invalid parameter.");
    if (Value)
        for (PLazyNode p = Node->Parent; p != FRoot; p = p->Parent)
            if (!p->Has(vsExpanded)) ToggleNode(p);
}

// ---- heights -------------------------------------------------------------------------

std::uint32_t TBaseLazyTree::GetNodeHeight(PLazyNode Node)
{
    if (!Node || Node == FRoot) return 0;
    if (!In(FOptions->MiscOptions(), toVariableNodeHeight) || Node->Has(vsDeleting)) return Node->NodeHeight;
    if (!plat::InMainThread()) return NodeHeightForWorker(Node);
    InitIfNeeded(Node);
    MeasureItemHeight(nullptr, Node);
    return Node->NodeHeight;
}

void TBaseLazyTree::MeasureItemHeight(plat::TCanvas* Canvas, PLazyNode Node)
{
    if (Node->Has(vsHeightMeasured)) return;
    if (!plat::InMainThread()) {
        NodeHeightForWorker(Node);
        return;
    }
    WorkerPause pause(this);
    Node->Include(vsHeightMeasured);
    if (In(FOptions->MiscOptions(), toVariableNodeHeight)) {
        int height = Node->NodeHeight;
        DoMeasureItem(Canvas, Node, height);
        SetNodeHeight(Node, static_cast<std::uint32_t>(std::max(height, 0)));
    }
}

void TBaseLazyTree::DoMeasureItem(plat::TCanvas* Canvas, PLazyNode Node, int& NodeHeight)
{
    InitIfNeeded(Node);
    Fire(OnMeasureItem, this, Canvas, Node, NodeHeight);
}

void TBaseLazyTree::SetNodeHeight(PLazyNode Node, std::uint32_t Value)
{
    if (!Node || Node == FRoot || In(FOptions->MiscOptions(), toReadOnly)) return;
    const std::uint16_t height = ClampHeight(Value);
    if (height == Node->NodeHeight) return;
    // The worker reads heights; a change from the GUI thread stops a build first, unless the
    // worker itself waits for this very measurement.
    if (!HasState(tsValidating) || !TWorkerThread::MeasuringFor(this)) StopCacheValidation();
    const std::int64_t diff = std::int64_t(height) - Node->NodeHeight;
    Node->NodeHeight = height;
    if (GetEffectivelyFiltered(Node)) return;
    PropagateTotalHeight(Node, diff, true);
    UpdateEditBounds();
    MarkCacheStale();
    if (!HasState(tsValidating) && GetFullyVisible(Node) && FUpdateCount == 0 && !HasState(tsPainting) &&
        !HasState(tsSizing)) {
        RequestCacheValidation();
        InvalidateToBottom(Node);
        UpdateScrollBars(true);
    }
}

void TBaseLazyTree::SetDefaultNodeHeight(std::uint32_t Value)
{
    if (Value == 0) Value = 18;
    Value = ClampHeight(Value);
    if (Value == FDefaultNodeHeight) return;
    StopCacheValidation();
    const std::int64_t diff = std::int64_t(Value) - FDefaultNodeHeight;
    FRoot->TotalHeight = static_cast<std::uint32_t>(FRoot->TotalHeight + diff);
    FRoot->NodeHeight = static_cast<std::uint16_t>(FRoot->NodeHeight + diff);
    FDefaultNodeHeight = Value;
    MarkCacheStale();
    UpdateVerticalRange();
    if (FUpdateCount == 0 && HandleAllocated() && !plat::TComponent::HasState(plat::csLoading)) {
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
    }
}

// ---- expand and collapse -------------------------------------------------------------

bool TBaseLazyTree::DoExpanding(PLazyNode Node)
{
    bool allowed = true;
    Fire(OnExpanding, this, Node, allowed);
    return allowed;
}

bool TBaseLazyTree::DoCollapsing(PLazyNode Node)
{
    bool allowed = true;
    Fire(OnCollapsing, this, Node, allowed);
    return allowed;
}

void TBaseLazyTree::DoExpanded(PLazyNode Node) { Fire(OnExpanded, this, Node); }
void TBaseLazyTree::DoCollapsed(PLazyNode Node) { Fire(OnCollapsed, this, Node); }

void TBaseLazyTree::ToggleNode(PLazyNode Node)
{
    Check(Node != nullptr, u"Node must not be nil.");
    if (Node->Has(vsDeleting) || Node->Has(vsToggling)) return;
    StopCacheValidation();
    const bool wasToggling = HasState(tsToggling);
    DoStateChange(TreeBit(tsToggling));
    Node->Include(vsToggling);
    struct Finally {
        TBaseLazyTree* T;
        PLazyNode N;
        bool WasToggling;
        ~Finally()
        {
            N->Exclude(vsToggling);
            if (!WasToggling) T->DoStateChange(0, TreeBit(tsToggling));
        }
    } finally{this, Node, wasToggling};
    bool toggled = false;
    if (Node->Has(vsExpanded)) {
        if (DoCollapsing(Node)) {
            toggled = true;
            if (FUpdateCount == 0 && In(FOptions->AnimationOptions(), toAnimatedToggle) && !HasState(tsCollapsing))
                AnimateToggle(Node, std::int64_t(Node->TotalHeight) - Node->NodeHeight, false);
            const unsigned rows = GetFullyVisible(Node) ? VisibleDescendantCount(Node) : 0;
            PropagateTotalHeight(Node, GetEffectivelyFiltered(Node) ? 0 : Node->NodeHeight, false);
            FVisibleCount -= rows;
            Node->Exclude(vsExpanded);
            DoCollapsed(Node);
            if (In(FOptions->AutoOptions(), toAutoFreeOnCollapse) && Node->ChildCount > 0) {
                DeleteChildren(Node, false);
                Node->Include(vsHasChildren);
            }
        }
    } else if (DoExpanding(Node)) {
        toggled = true;
        InitIfNeeded(Node);
        if (Node->Has(vsHasChildren) && Node->ChildCount == 0) InitializeChildren(Node);
        // A handler may have expanded the node meanwhile (ivsExpanded at initialisation).
        if (!Node->Has(vsExpanded)) {
            std::int64_t grow = 0;
            for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling)
                if (c->Has(vsVisible)) {
                    MeasureItemHeight(nullptr, c);
                    grow += c->TotalHeight;
                }
            if (FUpdateCount == 0 && !HasState(tsExpanding) && !HasState(tsPainting) &&
                In(FOptions->AnimationOptions(), toAnimatedToggle))
                AnimateToggle(Node, grow, true);
            if (AutoSortWanted())
                Sort(Node, FHeader->SortColumn, FHeader->SortDirection, false);
            Node->Include(vsExpanded);
            PropagateTotalHeight(Node, grow, true);
            if (GetFullyVisible(Node)) FVisibleCount += VisibleDescendantCount(Node);
            DoExpanded(Node);
        }
    }
    if (toggled) {
        MarkCacheStale();
        if (FUpdateCount == 0) {
            RequestCacheValidation();
            if (Node->ChildCount > 0) UpdateScrollBars(true);
            if (Node->ChildCount > 0) InvalidateTree();
            else InvalidateNode(Node);
        }
    }
}

void TBaseLazyTree::FullExpand(PLazyNode Node)
{
    if (FRoot->ChildCount == 0) return;
    DoStateChange(TreeBit(tsExpanding));
    StartOperation(okExpand);
    BeginUpdate();
    struct Finally {
        TBaseLazyTree* T;
        ~Finally()
        {
            T->EndOperation(okExpand);
            T->EndUpdate();
            T->DoStateChange(0, TreeBit(tsExpanding));
        }
    } finally{this};
    PLazyNode stop = nullptr;
    PLazyNode run;
    if (Node && Node != FRoot) {
        for (PLazyNode n = Node; n != FRoot && !stop; n = n->Parent) stop = n->NextSibling;
        run = Node;
        InitIfNeeded(run);
    } else {
        run = GetFirst();
    }
    while (run && run != stop && !OperationCanceled()) {
        if (!run->Has(vsExpanded)) ToggleNode(run);
        run = GetNext(run);
    }
}

void TBaseLazyTree::FullCollapse(PLazyNode Node)
{
    if (FRoot->ChildCount == 0) return;
    if (Node == FRoot) Node = nullptr;
    DoStateChange(TreeBit(tsCollapsing));
    BeginUpdate();
    struct Finally {
        TBaseLazyTree* T;
        ~Finally()
        {
            T->EndUpdate();
            T->DoStateChange(0, TreeBit(tsCollapsing));
        }
    } finally{this};
    PLazyNode run = GetLastNoInit(Node);
    while (run && run != Node) {
        if (run->Has(vsExpanded) && run->Has(vsHasChildren)) ToggleNode(run);
        run = GetPreviousNoInit(run);
    }
    if (Node && Node->Has(vsExpanded) && Node->Has(vsHasChildren)) ToggleNode(Node);
}

void TBaseLazyTree::RunAnimation(std::uint32_t Steps, std::uint32_t Duration,
                                 const std::function<bool(std::uint32_t, int)>& Callback)
{
    if (HasState(tsInAnimation) || Duration == 0) return;
    DoStateChange(TreeBit(tsInAnimation));
    // A step may process messages that free the tree: from then on nothing touches it.
    const std::weak_ptr<int> alive = FLifeToken;
    struct Finally {
        TBaseLazyTree* T;
        const std::weak_ptr<int>& Alive;
        ~Finally()
        {
            if (!Alive.expired()) T->DoStateChange(0, StateSet({tsCancelHintAnimation, tsInAnimation}));
        }
    } finally{this, alive};
    int stepSize = static_cast<int>(std::max<double>(1.0, std::nearbyint(double(Steps) / Duration)));
    std::uint32_t remainingSteps = Steps / static_cast<std::uint32_t>(stepSize);
    std::uint32_t remainingDuration = Duration;
    std::uint32_t stepNumber = 0;
    const std::uint32_t start = plat::GetTickCount();
    while (remainingSteps > 0 && remainingDuration > 0) {
        const std::uint32_t noted = plat::GetTickCount();
        if (!Callback(stepNumber, stepSize)) break;
        if (alive.expired()) return;
        const std::uint32_t perStep = remainingDuration / remainingSteps;
        while (plat::TicksSince(noted) < perStep) plat::Sleep(1);
        const std::uint32_t elapsed = plat::TicksSince(start);
        remainingDuration = elapsed >= Duration ? 0 : Duration - elapsed;
        if (elapsed > Duration) remainingSteps = 0;
        else --remainingSteps;
        while (remainingSteps > 0 && remainingDuration / remainingSteps == 0) {
            ++stepSize;
            remainingSteps = remainingDuration / static_cast<std::uint32_t>(stepSize);
        }
        stepNumber = Steps - remainingSteps;
    }
    if (alive.expired()) return;
    Callback(0, 0);
}

// ---- focus ---------------------------------------------------------------------------

void TBaseLazyTree::SetFocusedNode(PLazyNode Node)
{
    const PLazyNode before = FFocusedNode;
    ApplyFocusedNode(Node, true);
    if (FFocusedNode != before && FFocusedNode == (Node == FRoot ? nullptr : Node))
        DoFocusChanged(FFocusedNode, FFocusedColumn);
}

void TBaseLazyTree::DoFocusChanged(PLazyNode Node, TColumnIndex Column)
{
    Fire(OnFocusChanged, this, Node, Column);
    NotifyAccessibleFocusChanged();
}

// ---- derived classes -----------------------------------------------------------------

TCustomLazyStringTree::TCustomLazyStringTree(plat::TComponent* AOwner) : TBaseLazyTree(AOwner)
{
    CreateOptionsObject();
    FInternalDataOffset = ReserveInternalNodeArea(sizeof(std::uint32_t));
}

TCustomStringTreeOptions& TCustomLazyStringTree::TreeOptions() const
{
    return dynamic_cast<TCustomStringTreeOptions&>(TBaseLazyTree::TreeOptions());
}

std::uint8_t* TCustomLazyStringTree::WidthArea(PLazyNode Node) const
{
    const int data = plat::TComponent::HasState(plat::csDesigning) ? 0 : std::max(NodeDataSize(), 0);
    return reinterpret_cast<std::uint8_t*>(Node) + data + FInternalDataOffset;
}

// The area follows user data of any size, so it may sit at any byte: copied, not cast.
std::uint32_t TCustomLazyStringTree::CachedTextWidth(PLazyNode Node) const
{
    std::uint32_t v;
    std::memcpy(&v, WidthArea(Node), sizeof v);
    return v;
}

void TCustomLazyStringTree::SetCachedTextWidth(PLazyNode Node, std::uint32_t Value)
{
    std::memcpy(WidthArea(Node), &Value, sizeof Value);
}

void TCustomLazyStringTree::SetChildCount(PLazyNode Node, std::uint32_t NewChildCount)
{
    TBaseLazyTree::SetChildCount(Node, NewChildCount);
    if (Node && Node != RootNode()) SetCachedTextWidth(Node, 0);
}

void TCustomLazyStringTree::ReinitNode(PLazyNode Node, bool Recursive)
{
    TBaseLazyTree::ReinitNode(Node, Recursive);
    if (Node && Node != RootNode()) SetCachedTextWidth(Node, 0);
}

TLazyStringTree::TLazyStringTree(plat::TComponent* AOwner) : TCustomLazyStringTree(AOwner)
{
    CreateOptionsObject();
}

TStringTreeOptions& TLazyStringTree::TreeOptions() const
{
    return dynamic_cast<TStringTreeOptions&>(TBaseLazyTree::TreeOptions());
}

TLazyDrawTree::TLazyDrawTree(plat::TComponent* AOwner) : TCustomLazyDrawTree(AOwner)
{
    CreateOptionsObject();
}

} // namespace vtree
