// Selection store, check states, sorting, moving and copying of TBaseLazyTree.
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.SharedResources.h"
#include "plat/Streams.h"
#include "plat/Threads.h"

namespace vtree {

namespace {

inline void Check(bool Condition, const char16_t* Text)
{
    if (!Condition) throw EAssertionFailed(Text);
}

inline bool IsMarked(PLazyNode N) { return (reinterpret_cast<std::uintptr_t>(N) & 1u) != 0; }
inline PLazyNode Marked(PLazyNode N) { return reinterpret_cast<PLazyNode>(reinterpret_cast<std::uintptr_t>(N) | 1u); }

// Least significant digit first, 16 bits a pass, over the bits in which the addresses differ.
void SortByAddress(TNodeArray& Nodes)
{
    std::uintptr_t lo = ~std::uintptr_t(0), hi = 0;
    for (PLazyNode n : Nodes) {
        const auto v = reinterpret_cast<std::uintptr_t>(n);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    const std::uintptr_t span = hi - lo;
    TNodeArray buffer(Nodes.size());
    std::vector<std::size_t> counts(std::size_t(1) << 16);
    for (unsigned shift = 0; shift < sizeof(std::uintptr_t) * 8 && (span >> shift) != 0; shift += 16) {
        std::fill(counts.begin(), counts.end(), 0);
        for (PLazyNode n : Nodes) ++counts[((reinterpret_cast<std::uintptr_t>(n) - lo) >> shift) & 0xFFFF];
        std::size_t sum = 0;
        for (auto& c : counts) sum += std::exchange(c, sum);
        for (PLazyNode n : Nodes) buffer[counts[((reinterpret_cast<std::uintptr_t>(n) - lo) >> shift) & 0xFFFF]++] = n;
        Nodes.swap(buffer);
    }
}

} // namespace

// ---- selection -----------------------------------------------------------------------

bool TBaseLazyTree::LocateInSelection(PLazyNode Node, int& Index, int High, int Low) const
{
    if (High < 0) High = FSelectionCount - 1;
    if (Low < 0) Low = 0;
    const auto key = reinterpret_cast<std::uintptr_t>(Node);
    while (Low <= High) {
        const int mid = Low + (High - Low) / 2;
        const auto v = reinterpret_cast<std::uintptr_t>(FSelection[mid]) & ~std::uintptr_t(1);
        if (v == key) {
            Index = mid;
            return true;
        }
        if (v < key) Low = mid + 1;
        else High = mid - 1;
    }
    Index = Low;
    return false;
}

void TBaseLazyTree::MergeIntoSelection(TNodeArray Nodes, int Count, bool ForceInsert, bool& Result)
{
    WorkerPause pause(this);
    Result = false;
    if (!ForceInsert) {
        if (In(FOptions->SelectionOptions(), toLevelSelectConstraint) && FLastSelectionLevel < 0 && Count > 0)
            FLastSelectionLevel = int(GetNodeLevel(Nodes[0]));
        if (In(FOptions->SelectionOptions(), toSiblingSelectConstraint) && !FRangeAnchor && Count > 0)
            FRangeAnchor = Nodes[0];
    }
    for (int i = 0; i < Count; ++i) {
        PLazyNode n = Nodes[i];
        bool skip = n->Has(vsSelected);
        if (!ForceInsert && !skip) {
            skip = n->Has(vsDisabled) ||
                   (In(FOptions->SelectionOptions(), toLevelSelectConstraint) && int(GetNodeLevel(n)) != FLastSelectionLevel) ||
                   (In(FOptions->SelectionOptions(), toSiblingSelectConstraint) && FRangeAnchor && n->Parent != FRangeAnchor->Parent);
        }
        // A node named twice is taken once.
        if (skip) {
            Nodes[i] = Marked(n);
            continue;
        }
        n->Include(vsSelected);
        DoAddToSelection(n);
    }
    const int kept = std::max(CompactNodeArray(Nodes, Count), 0);
    if (kept == 0) return;
    Nodes.resize(kept);
    const auto byAddress = [](PLazyNode a, PLazyNode b) {
        return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
    };
    // A run that already is sorted skips the sort; a long one is sorted by its addresses'
    // digits (a few linear passes) instead of by comparisons.
    if (!std::is_sorted(Nodes.begin(), Nodes.end(), byAddress)) {
        if (Nodes.size() >= 4096) SortByAddress(Nodes);
        else std::sort(Nodes.begin(), Nodes.end(), byAddress);
    }
    // Packed entries first, then a merge of the two sorted runs (none for an empty selection).
    FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
    FSelection.resize(FSelectionCount);
    if (FSelection.empty()) {
        FSelection = std::move(Nodes);
        FSelectionCount = int(FSelection.size());
        Result = true;
        SelectionGrew();
        return;
    }
    TNodeArray merged;
    merged.reserve(FSelection.size() + Nodes.size());
    std::merge(FSelection.begin(), FSelection.end(), Nodes.begin(), Nodes.end(), std::back_inserter(merged),
               [](PLazyNode a, PLazyNode b) { return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b); });
    FSelection = std::move(merged);
    FSelectionCount = int(FSelection.size());
    Result = true;
    SelectionGrew();
}

void TBaseLazyTree::SelectionGrew()
{
    // The node toAlwaysSelectNode falls back on follows a single selected node.
    if (FSelectionCount == 1 && In(FOptions->SelectionOptions(), toAlwaysSelectNode)) ChooseNextNodeToSelect(FSelection[0]);
}

void TBaseLazyTree::AddToSelection(PLazyNode Node)
{
    if (FSelectionLocked) return;
    Check(Node != nullptr, u"Node must not be nil!");
    FSingletonNodeArray[0] = Node;
    bool added;
    MergeIntoSelection(FSingletonNodeArray, 1, false, added);
    if (added) {
        if (FSelectionCount == 1) FFocusedNode = Node;
        InvalidateNode(Node);
        NotifyChange(Node);
    }
}

void TBaseLazyTree::AddNodesToSelection(const TNodeArray& Nodes, int Count, bool ForceInsert)
{
    if (FSelectionLocked || Count <= 0) return;
    bool added;
    MergeIntoSelection(Nodes, Count, ForceInsert, added);
    if (added) {
        if (Count == 1) {
            InvalidateNode(Nodes[0]);
            NotifyChange(Nodes[0]);
        } else {
            InvalidateTree();
            NotifyChange(nullptr);
        }
    }
}

void TBaseLazyTree::AddCollectedToSelection(TNodeArray&& Nodes)
{
    if (Nodes.size() == 1) {
        AddNodesToSelection(Nodes, 1, false);
        return;
    }
    if (FSelectionLocked || Nodes.empty()) return;
    bool added;
    const int count = static_cast<int>(Nodes.size());
    MergeIntoSelection(std::move(Nodes), count, false, added);
    if (added) {
        InvalidateTree();
        NotifyChange(nullptr);
    }
}

void TBaseLazyTree::DoAddToSelection(PLazyNode Node)
{
    if (OnAddToSelection) OnAddToSelection(this, Node);
}

void TBaseLazyTree::DoRemoveFromSelection(PLazyNode Node)
{
    if (OnRemoveFromSelection) OnRemoveFromSelection(this, Node);
}

void TBaseLazyTree::RemoveFromSelection(PLazyNode Node)
{
    if (FSelectionLocked) return;
    Check(Node != nullptr, u"Node must not be nil!");
    if (!plat::InMainThread())
        throw EAssertionFailed(ClassName() + u".RemoveFromSelection() must only be called from UI thread.");
    if (!Node->Has(vsSelected)) return;
    WorkerPause pause(this);
    Node->Exclude(vsSelected);
    int index;
    if (FindInSelection(Node, index)) {
        FSelection.erase(FSelection.begin() + index);
        --FSelectionCount;
    }
    if (FSelectionCount == 0) {
        FRangeAnchor = FFocusedNode;
        FLastSelectionLevel = -1;
    }
    // The node toAlwaysSelectNode falls back on follows the last selected node (or the one
    // just left, when none remains).
    if (FSelectionCount <= 1 && In(FOptions->SelectionOptions(), toAlwaysSelectNode))
        ChooseNextNodeToSelect(FSelectionCount == 1 && !IsMarked(FSelection[0]) ? FSelection[0] : Node);
    DoRemoveFromSelection(Node);
    NotifyChange(Node);
}

bool TBaseLazyTree::FindInSelection(PLazyNode Node, int& Index) const
{
    // Marked entries keep their place, so a bisection still finds the unmarked ones.
    return LocateInSelection(Node, Index) && !IsMarked(FSelection[Index]);
}

void TBaseLazyTree::RemoveFromSelectionDeferred(PLazyNode Node)
{
    WorkerPause pause(this);
    int index;
    if (!Node->Has(vsSelected)) return;
    Node->Exclude(vsSelected);
    if (FindInSelection(Node, index)) FSelection[index] = Marked(FSelection[index]);
    DoRemoveFromSelection(Node);
    if (!HasState(tsChangePending)) DoStateChange(TreeBit(tsChangePending));
    FLastChangedNode = Node;
}

void TBaseLazyTree::ClearSelectionEx(bool Notify)
{
    if (FSelectionLocked || FSelectionCount == 0 || plat::TComponent::HasState(plat::csDestroying)) return;
    if (FUpdateCount == 0) InvalidateTree();
    DropSelection();
    if (Notify) NotifyChange(nullptr);
}

void TBaseLazyTree::DropSelection()
{
    WorkerPause pause(this);
    if (FUpdateCount > 0) {
        FSelectionCount = std::max(CompactNodeArray(FSelection, FSelectionCount), 0);
        FSelection.resize(FSelectionCount);
    }
    for (int i = FSelectionCount; i-- > 0;) {
        PLazyNode n = FSelection[i];
        if (IsMarked(n)) continue;
        n->Exclude(vsSelected);
        DoRemoveFromSelection(n);
    }
    FRangeAnchor = FFocusedNode;
    FLastSelectionLevel = -1;
    FSelection.clear();
    FSelectionCount = 0;
    DoStateChange(0, TreeBit(tsClearPending));
}

void TBaseLazyTree::SetSelected(PLazyNode Node, bool Value)
{
    if (FSelectionLocked || !Node || Node == FRoot || Node->Has(vsSelected) == Value) return;
    if (Value) {
        if (FSelectionCount == 0) FRangeAnchor = Node;
        if (!In(FOptions->SelectionOptions(), toMultiSelect)) ClearSelection();
        AddToSelection(Node);
        if (!In(FOptions->SelectionOptions(), toMultiSelect)) SetFocusedNode(Node);
        if (!FRangeAnchor) FRangeAnchor = Node;
    } else {
        RemoveFromSelection(Node);
        if (FSelectionCount == 0) {
            FRangeAnchor = FFocusedNode;
            FLastSelectionLevel = -1;
        }
    }
    InvalidateNode(Node);
}

PLazyNode TBaseLazyTree::GetFirstSelected(bool ConsiderChildrenAbove)
{
    return GetNextSelected(nullptr, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextSelected(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (FSelectionCount == 0) return nullptr;
    PLazyNode n = Node ? GetNextNoInit(Node, ConsiderChildrenAbove) : GetFirstNoInit(ConsiderChildrenAbove);
    while (n && !n->Has(vsSelected)) n = GetNextNoInit(n, ConsiderChildrenAbove);
    if (n) InitIfNeeded(n);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousSelected(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (FSelectionCount == 0) return nullptr;
    PLazyNode n = Node ? GetPreviousNoInit(Node, ConsiderChildrenAbove) : GetLastNoInit(nullptr, ConsiderChildrenAbove);
    while (n && !n->Has(vsSelected)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
    if (n) InitIfNeeded(n);
    return n;
}

TNodeArray TBaseLazyTree::GetSortedSelection(bool Resolve)
{
    TNodeArray result;
    PLazyNode n = GetFirstNoInit();
    while (n) {
        if (n->Has(vsSelected)) {
            result.push_back(n);
            if (Resolve) {
                // Skip the subtree of a taken node.
                PLazyNode next = nullptr;
                for (PLazyNode p = n; p != FRoot && !next; p = p->Parent) next = p->NextSibling;
                n = next;
                continue;
            }
        }
        n = GetNextNoInit(n);
    }
    return result;
}

void TBaseLazyTree::PushTempNode(PLazyNode Node)
{
    if (FTempNodeCount == FTempNodeCache.size())
        FTempNodeCache.resize(FTempNodeCache.size() < 100 ? 100 : FTempNodeCache.size() + FTempNodeCache.size() / 10);
    FTempNodeCache[FTempNodeCount++] = Node;
}

void TBaseLazyTree::ResetTempNodes()
{
    FTempNodeCache.clear();
    FTempNodeCount = 0;
}

// ---- check states --------------------------------------------------------------------

namespace {

bool IsDisabledState(TCheckState S) { return S >= csUncheckedDisabled; }
bool IsCheckedState(TCheckState S) { return S == csCheckedNormal || S == csCheckedPressed || S == csCheckedDisabled; }
TCheckState EnabledForm(TCheckState S)
{
    switch (S) {
    case csUncheckedDisabled: return csUncheckedNormal;
    case csCheckedDisabled: return csCheckedNormal;
    case csMixedDisabled: return csMixedNormal;
    default: return S;
    }
}
TCheckState ToggledForm(TCheckState S)
{
    switch (S) {
    case csUncheckedNormal: return csCheckedNormal;
    case csUncheckedPressed: return csCheckedPressed;
    case csCheckedNormal: return csUncheckedNormal;
    case csCheckedPressed: return csUncheckedPressed;
    case csMixedNormal: return csCheckedNormal;
    case csMixedPressed: return csCheckedPressed;
    default: return S;
    }
}
bool IsBox(std::uint8_t T) { return T == ctTriStateCheckBox || T == ctCheckBox; }

} // namespace

bool TBaseLazyTree::DoChecking(PLazyNode Node, TCheckState& NewState)
{
    if (In(FOptions->MiscOptions(), toReadOnly)) return false;
    bool allowed = true;
    if (OnChecking) OnChecking(this, Node, NewState, allowed);
    return allowed;
}

void TBaseLazyTree::DoChecked(PLazyNode Node)
{
    if (OnChecked) OnChecked(this, Node);
}

void TBaseLazyTree::CheckClick(PLazyNode Node, TCheckState NewState)
{
    if (ApplyCheckState(Node, NewState)) DoChecked(Node);
}

void TBaseLazyTree::SetCheckState(PLazyNode Node, TCheckState Value)
{
    if (Node->CheckState != Value && !Node->Has(vsDisabled) && DoChecking(Node, Value)) CheckClick(Node, Value);
}

bool TBaseLazyTree::ApplyCheckState(PLazyNode Node, TCheckState Value)
{
    WorkerPause pause(this);
    if (Node->Has(vsChecking)) return false;
    Node->Include(vsChecking);
    struct Finally {
        PLazyNode N;
        ~Finally() { N->Exclude(vsChecking); }
    } finally{Node};
    InitIfNeeded(Node);
    if (Node->CheckState == Value) return false;
    if (FCheckPropagationCount == 0) DoStateChange(TreeBit(tsCheckPropagation));
    ++FCheckPropagationCount;
    struct Count {
        TBaseLazyTree* T;
        ~Count()
        {
            if (--T->FCheckPropagationCount == 0) T->DoStateChange(0, TreeBit(tsCheckPropagation));
        }
    } count{this};
    const bool tracking = In(FOptions->AutoOptions(), toAutoTristateTracking);
    if (Node->CheckType == ctTriStateCheckBox && tracking && (Value == csUncheckedNormal || Value == csCheckedNormal) &&
        Node->ChildCount > 0) {
        for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling)
            if (IsBox(c->CheckType) && !IsDisabledState(TCheckState(c->CheckState))) SetCheckState(c, Value);
        int unchecked = 0, checked = 0, mixed = 0;
        for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) {
            if (!IsBox(c->CheckType)) continue;
            const auto s = TCheckState(c->CheckState);
            if (Value == csUncheckedNormal) {
                if (s == csUncheckedNormal || s == csUncheckedDisabled) ++unchecked;
                else if (s == csCheckedNormal || s == csCheckedDisabled) ++checked;
                else if (s == csMixedNormal) ++mixed;
            } else {
                if (s == csUncheckedNormal) ++unchecked;
                else if (s == csCheckedNormal) ++checked;
                else if (s == csMixedNormal) ++mixed;
            }
        }
        if (mixed > 0) Value = csMixedNormal;
        else if (checked > 0) Value = unchecked > 0 ? csMixedNormal : csCheckedNormal;
    }
    if (Node->CheckType == ctRadioButton && Value == csCheckedNormal) {
        for (PLazyNode s = Node->Parent->FirstChild; s; s = s->NextSibling)
            if (s->CheckType == ctRadioButton) s->CheckState = csUncheckedNormal;
        InvalidateTree();
    }
    Node->CheckState = Value;
    PLazyNode parent = Node->Parent;
    InitIfNeeded(parent);
    bool result = true;
    if (tracking && !parent->Has(vsChecking) && !parent->Has(vsDisabled) && IsBox(Node->CheckType) &&
        parent != FRoot && parent->CheckType == ctTriStateCheckBox)
        result = RecomputeParentCheckState(Node, Value);
    InvalidateNode(Node);
    return result;
}

bool TBaseLazyTree::RecomputeParentCheckState(PLazyNode Node, TCheckState NewState)
{
    PLazyNode parent = Node->Parent;
    int boxes = 0, checked = 0;
    bool mixed = false;
    for (PLazyNode c = parent->FirstChild; c; c = c->NextSibling) {
        if (!IsBox(c->CheckType)) continue;
        const auto s = c == Node ? NewState : TCheckState(c->CheckState);
        ++boxes;
        if (IsCheckedState(s)) ++checked;
        if (s == csMixedNormal) mixed = true;
    }
    TCheckState state;
    if (checked == 0 && !mixed) state = csUncheckedNormal;
    else if (checked < boxes) state = csMixedNormal;
    else state = csCheckedNormal;
    if (!DoChecking(parent, state)) return false;
    CheckClick(parent, state);
    return true;
}

void TBaseLazyTree::SetCheckType(PLazyNode Node, TCheckType Value)
{
    if (Node->CheckType == Value || In(FOptions->MiscOptions(), toReadOnly)) return;
    Node->CheckType = Value;
    if (Value != ctTriStateCheckBox && (Node->CheckState == csMixedNormal || Node->CheckState == csMixedPressed))
        Node->CheckState = csUncheckedNormal;
    if (In(FOptions->AutoOptions(), toAutoTristateTracking) && IsBox(Value) && Node->Parent != FRoot) {
        PLazyNode parent = Node->Parent;
        InitIfNeeded(parent);
        if (parent->CheckType == ctTriStateCheckBox) {
            if (parent->CheckState == csUncheckedNormal || parent->CheckState == csUncheckedDisabled)
                SetCheckState(Node, csUncheckedNormal);
            else if (parent->CheckState == csCheckedNormal || parent->CheckState == csCheckedDisabled)
                SetCheckState(Node, csCheckedNormal);
        }
    }
    InvalidateNode(Node);
}

void TBaseLazyTree::SetCheckStateForAll(TCheckState State, bool SelectedOnly, bool ExcludeDisabled)
{
    BeginUpdate();
    try {
        PLazyNode n = SelectedOnly ? GetFirstSelected() : GetFirst();
        while (n) {
            if (!ExcludeDisabled || !IsDisabledState(TCheckState(n->CheckState))) SetCheckState(n, State);
            n = SelectedOnly ? GetNextSelected(n) : GetNext(n);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::uint32_t TBaseLazyTree::CheckedCount()
{
    std::uint32_t count = 0;
    for (PLazyNode n = GetFirstChecked(csCheckedNormal); n; n = GetNextChecked(n, csCheckedNormal)) ++count;
    return count;
}

void TBaseLazyTree::ClearChecked()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        if (n->CheckState != csUncheckedNormal) SetCheckState(n, csUncheckedNormal);
}

TCheckState TBaseLazyTree::NextCheckStateFor(TCheckType Type, TCheckState State) const
{
    switch (Type) {
    case ctTriStateCheckBox:
    case ctCheckBox: return ToggledForm(State);
    case ctRadioButton: return csCheckedNormal;
    case ctButton: return csUncheckedNormal;
    default: return csMixedNormal;
    }
}

int TBaseLazyTree::CheckImageIndex(PLazyNode Node, TCheckType Type, TCheckState State, bool Enabled) const
{
    bool hot = false;
    if (Node) {
        Type = TCheckType(Node->CheckType);
        State = TCheckState(Node->CheckState);
        Enabled = !Node->Has(vsDisabled) && this->Enabled();
        hot = Node == FCurrentHotNode;
    }
    if (IsDisabledState(State)) {
        State = EnabledForm(State);
        Enabled = false;
    }
    if (Type == ctTriStateCheckBox) Type = ctCheckBox;
    if (Type == ctNone) return -1;
    // {disabled, enabled, enabled and hot} per state and kind.
    static const int Table[6][3][3] = {
        {{12, 9, 10}, {4, 1, 2}, {24, 21, 22}},   // unchecked normal
        {{12, 11, 11}, {4, 3, 3}, {24, 23, 23}},  // unchecked pressed
        {{16, 13, 14}, {8, 5, 6}, {24, 21, 22}},  // checked normal
        {{16, 15, 15}, {8, 7, 7}, {24, 23, 23}},  // checked pressed
        {{20, 17, 18}, {20, 17, 18}, {20, 17, 18}},  // mixed normal
        {{20, 19, 19}, {20, 19, 19}, {20, 19, 19}},  // mixed pressed
    };
    const int kind = Type == ctCheckBox ? 0 : Type == ctRadioButton ? 1 : 2;
    const int column = !Enabled ? 0 : hot ? 2 : 1;
    return Table[State][kind][column];
}

// ---- sorting -------------------------------------------------------------------------

int TBaseLazyTree::DoCompareNodes(PLazyNode Node1, PLazyNode Node2, TColumnIndex Column)
{
    int result = 0;
    if (OnCompareNodes) OnCompareNodes(this, Node1, Node2, Column, result);
    return result;
}

namespace {

struct MergeSorter {
    TBaseLazyTree& Tree;
    TColumnIndex Column;
    bool Ascending;
    std::function<int(PLazyNode, PLazyNode)> Compare;

    // Sorts the first N nodes of the chain at Head (linked by NextSibling); Head moves on.
    PLazyNode Sort(PLazyNode& Head, std::uint32_t N)
    {
        if (N == 1) {
            PLazyNode one = Head;
            Head = Head->NextSibling;
            one->NextSibling = nullptr;
            return one;
        }
        PLazyNode left = Sort(Head, N / 2);
        PLazyNode right = Sort(Head, (N + 1) / 2);
        return Merge(left, right);
    }

    PLazyNode Merge(PLazyNode L, PLazyNode R)
    {
        // Links are written through the node, never through a pointer to a packed field.
        PLazyNode head = nullptr, tail = nullptr;
        auto append = [&](PLazyNode N) {
            if (tail) tail->NextSibling = N;
            else head = N;
            tail = N;
        };
        while (L && R) {
            const int c = Compare(L, R);
            const bool takeRight = Ascending ? c > 0 : c < 0;
            if (takeRight) {
                PLazyNode next = R->NextSibling;
                append(R);
                R = next;
            } else {
                PLazyNode next = L->NextSibling;
                append(L);
                L = next;
            }
        }
        append(L ? L : R);
        return head;
    }
};

} // namespace

void TBaseLazyTree::Sort(PLazyNode Node, TColumnIndex Column, TSortDirection Direction, bool DoInit)
{
    StopCacheValidation();
    if (HasState(tsEditPending)) {
        KillTreeTimer(2);
        DoStateChange(0, TreeBit(tsEditPending));
    }
    if (HasState(tsEditing)) return;
    if (!Node) Node = FRoot;
    if (!Node->Has(vsHasChildren)) return;
    if (DoInit) {
        if (Node->ChildCount == 0) InitializeChildren(Node);
        ValidateChildren(Node, false);
    }
    if (Node->ChildCount > 1) {
        StartOperation(okSortNode);
        try {
            MergeSorter sorter{*this, Column, Direction == sdAscending,
                               [this, Column](PLazyNode a, PLazyNode b) {
                                   return OperationCanceled() ? 0 : DoCompareNodes(a, b, Column);
                               }};
            PLazyNode head = Node->FirstChild;
            Node->FirstChild = sorter.Sort(head, Node->ChildCount);
        } catch (...) {
            EndOperation(okSortNode);
            throw;
        }
        EndOperation(okSortNode);
        std::uint32_t index = 0;
        PLazyNode prev = nullptr;
        for (PLazyNode c = Node->FirstChild; c; c = c->NextSibling) {
            c->PrevSibling = prev;
            c->Index = index++;
            prev = c;
        }
        Node->LastChild = prev;
        MarkCacheStale();
    }
    if (FUpdateCount == 0) {
        RequestCacheValidation();
        InvalidateTree();
    }
}

void TBaseLazyTree::SortTree(TColumnIndex Column, TSortDirection Direction, bool DoInit)
{
    if (FRoot->TotalCount <= 2) return;
    ++FUpdateCount;
    struct Finally {
        TBaseLazyTree* T;
        ~Finally() { --T->FUpdateCount; }
    };
    {
        Finally finally{this};
        if (Column > InvalidColumn) {
            StartOperation(okSortTree);
            try {
                const bool autoSort = In(FOptions->AutoOptions(), toAutoSort);
                std::function<void(PLazyNode)> doSort = [&](PLazyNode N) {
                    Sort(N, Column, Direction, DoInit);
                    for (PLazyNode c = N->FirstChild; c && !OperationCanceled(); c = c->NextSibling) {
                        if (DoInit) InitIfNeeded(c);
                        if (c->Has(vsInitialized) && !(autoSort && !c->Has(vsExpanded))) doSort(c);
                    }
                };
                doSort(FRoot);
            } catch (...) {
                EndOperation(okSortTree);
                throw;
            }
            EndOperation(okSortTree);
        }
        MarkCacheStale();
    }
    if (FUpdateCount == 0) {
        RequestCacheValidation();
        InvalidateTree();
    }
}

// ---- moving and copying --------------------------------------------------------------

bool TBaseLazyTree::DoNodeMoving(PLazyNode Node, PLazyNode Target)
{
    bool allowed = true;
    if (OnNodeMoving) OnNodeMoving(this, Node, Target, allowed);
    return allowed;
}

bool TBaseLazyTree::DoNodeCopying(PLazyNode Node, PLazyNode Target)
{
    bool allowed = true;
    if (OnNodeCopying) OnNodeCopying(this, Node, Target, allowed);
    return allowed;
}

void TBaseLazyTree::DoNodeMoved(PLazyNode Node)
{
    if (OnNodeMoved) OnNodeMoved(this, Node);
}

void TBaseLazyTree::DoNodeCopied(PLazyNode Node)
{
    if (OnNodeCopied) OnNodeCopied(this, Node);
}

void TBaseLazyTree::MoveTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly)
{
    MoveTo(Source, Tree ? Tree->FRoot : nullptr, Mode, ChildrenOnly);
}

void TBaseLazyTree::MoveTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly)
{
    Check(!Source || OwnerTreeOfNode(Source) == this, u"The source tree must contain the source node.");
    const bool wanted = Target != Source || (ChildrenOnly && (Mode == amInsertBefore || Mode == amInsertAfter));
    bool moved = false;
    bool movedAway = false;
    if (wanted && Mode != amNoWhere && Source && Source != FRoot && !In(FOptions->MiscOptions(), toReadOnly)) {
        TBaseLazyTree* targetTree;
        if (!Target) {
            targetTree = this;
            Target = FRoot;
            Mode = amAddChildFirst;
        } else {
            targetTree = OwnerTreeOfNode(Target);
        }
        if (Target == targetTree->FRoot) {
            if (Mode == amInsertBefore) Mode = amAddChildFirst;
            else if (Mode == amInsertAfter) Mode = amAddChildLast;
        }
        if (Target != targetTree->FRoot) {
            targetTree->InitIfNeeded(Target);
            if (Target->Has(vsHasChildren) && Target->ChildCount == 0) targetTree->InitializeChildren(Target);
        }
        const PLazyNode reported = Target == targetTree->FRoot ? nullptr : Target;
        if (targetTree == this) {
            if (DoNodeMoving(Source, reported)) {
                if (HasAsParent(Target, Source)) RaiseTreeError(SWrongMoveError, hcTFWrongMoveError);
                StopCacheValidation();
                auto moveOne = [&](PLazyNode N, bool Reindex) {
                    UnlinkNode(N, true, Reindex, false);
                    LinkNode(N, Target, Mode, this);
                    DoNodeMoved(N);
                };
                if (!ChildrenOnly) {
                    moveOne(Source, true);
                } else if (Mode == amAddChildFirst) {
                    for (PLazyNode c = Source->LastChild; c;) {
                        PLazyNode prev = c->PrevSibling;
                        moveOne(c, false);
                        c = prev;
                    }
                } else {
                    for (PLazyNode c = Source->FirstChild; c;) {
                        PLazyNode next = c->NextSibling;
                        moveOne(c, false);
                        c = next;
                    }
                }
                moved = true;
            }
        } else if (DoNodeMoving(Source, reported)) {
            StopCacheValidation();
            targetTree->StopCacheValidation();
            plat::TMemoryStream stream;
            if (ChildrenOnly)
                for (PLazyNode c = Source->FirstChild; c; c = c->NextSibling) StoreNode(stream, c);
            else
                StoreNode(stream, Source);
            stream.SetPosition(0);
            PLazyNode last = nullptr;
            targetTree->StreamToTree(stream, Target, Mode, this, false, last);
            BeginUpdate();
            try {
                if (ChildrenOnly) DeleteChildren(Source, false);
                else DeleteNode(Source);
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            moved = movedAway = true;
        }
        if (moved && targetTree != this) targetTree->InvalidateTree();
    }
    MarkCacheStale();
    if (FUpdateCount == 0 && moved) {
        RequestCacheValidation();
        UpdateScrollBars(true);
        InvalidateTree();
    }
    // A node moved to another tree was freed here; the event gets no dangling pointer.
    NotifyStructureChange(movedAway ? nullptr : Source, crNodeMoved);
}

namespace {

// The chunk version StoreNode writes.
constexpr int StoredNodeVersion = 2;

// Numbers the children of each parent from 0, each parent once.
void RenumberChildren(const std::vector<PLazyNode>& Parents)
{
    std::unordered_set<PLazyNode> done;
    for (PLazyNode p : Parents) {
        if (!p || !done.insert(p).second) continue;
        std::uint32_t index = 0;
        for (PLazyNode c = p->FirstChild; c; c = c->NextSibling) c->Index = index++;
    }
}

} // namespace

void TBaseLazyTree::MoveTo(const TNodeArray& Nodes, PLazyNode Target, TLTNodeAttachMode Mode)
{
    if (Nodes.empty() || Mode == amNoWhere || In(FOptions->MiscOptions(), toReadOnly)) return;
    for (PLazyNode n : Nodes)
        Check(n && n != FRoot && OwnerTreeOfNode(n) == this, u"The source tree must contain the source node.");
    // The turn in which moving one node at a time would take them; each arrives beside the
    // previous one, so the moved nodes stand in the array's order either way.
    const bool backward = !(Mode == amInsertBefore || Mode == amAddChildLast);
    TBaseLazyTree* targetTree;
    if (!Target) {
        targetTree = this;
        Target = FRoot;
        Mode = amAddChildFirst;
    } else {
        targetTree = OwnerTreeOfNode(Target);
    }
    if (Target == targetTree->FRoot) {
        if (Mode == amInsertBefore) Mode = amAddChildFirst;
        else if (Mode == amInsertAfter) Mode = amAddChildLast;
    }
    if (Target != targetTree->FRoot) {
        targetTree->InitIfNeeded(Target);
        if (Target->Has(vsHasChildren) && Target->ChildCount == 0) targetTree->InitializeChildren(Target);
    }
    const PLazyNode reported = Target == targetTree->FRoot ? nullptr : Target;
    const bool sameTree = targetTree == this;

    // Asked in turn. A node cannot go next to itself or into its own subtree. Between trees a
    // node goes with its subtree, so a node below another moved node is not moved twice.
    std::unordered_set<PLazyNode> taken;
    TNodeArray moving;
    moving.reserve(Nodes.size());
    auto ask = [&](PLazyNode n) {
        if (sameTree && (n == Target || HasAsParent(Target, n))) return;
        if (!sameTree) {
            for (PLazyNode up = n->Parent; up && up != FRoot; up = up->Parent)
                if (taken.count(up)) return;
        }
        if (!DoNodeMoving(n, reported)) return;
        if (!sameTree) taken.insert(n);
        moving.push_back(n);
    };
    if (backward)
        for (auto it = Nodes.rbegin(); it != Nodes.rend(); ++it) ask(*it);
    else
        for (PLazyNode n : Nodes) ask(n);
    if (moving.empty()) return;
    // Between trees an ancestor asked after its descendant still carries it along.
    if (!sameTree && backward) {
        TNodeArray kept;
        kept.reserve(moving.size());
        for (PLazyNode n : moving) {
            bool below = false;
            for (PLazyNode up = n->Parent; up && up != FRoot && !below; up = up->Parent) below = taken.count(up) > 0;
            if (!below) kept.push_back(n);
        }
        moving.swap(kept);
    }
    // In the array's order from here on.
    TNodeArray ordered(moving);
    if (backward) std::reverse(ordered.begin(), ordered.end());

    StopCacheValidation();
    if (!sameTree) targetTree->StopCacheValidation();
    std::vector<PLazyNode> sourceParents;
    sourceParents.reserve(ordered.size());
    BeginUpdate();
    struct EndSource {
        TBaseLazyTree* T;
        ~EndSource() { T->EndUpdate(); }
    } endSource{this};
    if (sameTree) {
        // Deeper nodes leave first, so a node taken out of another moved node's subtree is
        // still counted in that subtree when it goes.
        TNodeArray leaving(ordered);
        std::vector<unsigned> level(leaving.size());
        std::vector<std::size_t> byDepth(leaving.size());
        for (std::size_t i = 0; i < leaving.size(); ++i) {
            level[i] = GetNodeLevel(leaving[i]);
            byDepth[i] = i;
        }
        std::stable_sort(byDepth.begin(), byDepth.end(), [&](std::size_t a, std::size_t b) { return level[a] > level[b]; });
        for (std::size_t i : byDepth) {
            const PLazyNode parent = leaving[i]->Parent; // a packed field: copied, not referenced
            sourceParents.push_back(parent);
            UnlinkNode(leaving[i], true, false, false);
        }
        PLazyNode previous = nullptr;
        for (PLazyNode n : ordered) {
            if (previous) LinkNode(n, previous, amInsertAfter, this, false);
            else LinkNode(n, Target, Mode, this, false);
            previous = n;
        }
        const PLazyNode targetParent = ordered.front()->Parent;
        sourceParents.push_back(targetParent);
        RenumberChildren(sourceParents);
        for (PLazyNode n : moving) DoNodeMoved(n);
        InvalidateTree();
    } else {
        plat::TMemoryStream stream;
        for (PLazyNode n : ordered) StoreNode(stream, n);
        stream.SetPosition(0);
        {
            targetTree->BeginUpdate();
            TNodeArray selected;
            struct EndTarget {
                TBaseLazyTree* T;
                TNodeArray& Selected;
                ~EndTarget()
                {
                    T->FLoadedSelection = nullptr;
                    if (!Selected.empty()) T->AddNodesToSelection(Selected, int(Selected.size()), true);
                    T->EndUpdate();
                }
            } endTarget{targetTree, selected};
            targetTree->FLoadedSelection = &selected;
            const std::int64_t size = stream.Size();
            PLazyNode previous = nullptr;
            TNodeArray arrived;
            arrived.reserve(ordered.size());
            try {
                while (stream.Position() < size) {
                    PLazyNode node = targetTree->MakeNewNode();
                    if (previous) targetTree->LinkNode(node, previous, amInsertAfter, targetTree, false);
                    else targetTree->LinkNode(node, Target, Mode, targetTree, false);
                    previous = node;
                    arrived.push_back(node);
                    targetTree->LoadNodeFromStream(stream, StoredNodeVersion, node);
                }
            } catch (...) {
                RenumberChildren({previous ? previous->Parent : nullptr});
                throw;
            }
            RenumberChildren({arrived.front()->Parent});
            if (backward)
                for (auto it = arrived.rbegin(); it != arrived.rend(); ++it) DoNodeMoved(*it);
            else
                for (PLazyNode n : arrived) DoNodeMoved(n);
        }
        for (PLazyNode n : ordered) {
            PLazyNode parent = n->Parent;
            sourceParents.push_back(parent);
            DeleteNode(n, false);
            NotifyStructureChange(nullptr, crNodeMoved);
        }
        RenumberChildren(sourceParents);
        targetTree->InvalidateTree();
    }
    MarkCacheStale();
    if (sameTree) NotifyStructureChange(ordered.back(), crNodeMoved);
}

PLazyNode TBaseLazyTree::CopyTo(PLazyNode Source, TBaseLazyTree* Tree, TLTNodeAttachMode Mode, bool ChildrenOnly)
{
    Check(Tree != nullptr, u"Tree must not be nil.");
    return CopyTo(Source, Tree->FRoot, Mode, ChildrenOnly);
}

PLazyNode TBaseLazyTree::CopyTo(PLazyNode Source, PLazyNode Target, TLTNodeAttachMode Mode, bool ChildrenOnly)
{
    Check(!Source || OwnerTreeOfNode(Source) == this, u"The source tree must contain the source node.");
    if (Mode == amNoWhere || !Source || Source == FRoot) return nullptr;
    TBaseLazyTree* targetTree;
    if (!Target) {
        targetTree = this;
        Target = FRoot;
        Mode = amAddChildFirst;
    } else {
        targetTree = OwnerTreeOfNode(Target);
    }
    if (Target == targetTree->FRoot) {
        if (Mode == amInsertBefore) Mode = amAddChildFirst;
        else if (Mode == amInsertAfter) Mode = amAddChildLast;
    }
    if (In(targetTree->FOptions->MiscOptions(), toReadOnly)) return nullptr;
    plat::TMemoryStream stream;
    if (ChildrenOnly)
        for (PLazyNode c = Source->FirstChild; c; c = c->NextSibling) StoreNode(stream, c);
    else
        StoreNode(stream, Source);
    stream.SetPosition(0);
    PLazyNode last = nullptr;
    targetTree->StreamToTree(stream, Target, Mode, this, true, last);
    targetTree->MarkCacheStale();
    if (targetTree->FUpdateCount == 0) {
        targetTree->RequestCacheValidation();
        targetTree->UpdateScrollBars(true);
        targetTree->InvalidateTree();
    }
    targetTree->NotifyStructureChange(Source, crNodeCopied);
    return ChildrenOnly ? Target : last;
}

void TBaseLazyTree::SetNodeParent(PLazyNode Node, PLazyNode Value)
{
    if (Node && Value != Node->Parent && !(Value == nullptr && Node->Parent == FRoot))
        MoveTo(Node, Value ? Value : FRoot, amAddChildLast, false);
}

} // namespace vtree
