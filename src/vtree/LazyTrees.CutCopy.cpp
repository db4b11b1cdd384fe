// Copy, cut and paste of nodes through the clipboard of data objects, and the cut/copy marks.
#include <memory>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DataObject.h"
#include "LazyTrees.SharedResources.h"

namespace vtree {

void TBaseLazyTree::MarkSelectionForClipboard()
{
    if (FSelectionCount <= 0) return;
    for (PLazyNode n : GetSortedSelection(false))
        if (!n->Has(vsDisabled)) n->Include(vsCutOrCopy);
}

void TBaseLazyTree::CopyToClipboard()
{
    if (FSelectionCount <= 0) return;
    auto data = std::make_shared<TLTDataObject>(this, true);
    if (plat::OleSetClipboard(data) != plat::S_OK) return;
    MarkSelectionForClipboard();
    DoStateChange(TreeBit(tsCopyPending));
    InvalidateTree();
}

void TBaseLazyTree::CutToClipboard()
{
    if (FSelectionCount <= 0 || In(FOptions->MiscOptions(), toReadOnly)) return;
    auto data = std::make_shared<TLTDataObject>(this, true);
    if (plat::OleSetClipboard(data) != plat::S_OK) return;
    MarkSelectionForClipboard();
    DoStateChange(TreeBit(tsCutPending), TreeBit(tsCopyPending));
    InvalidateTree();
}

bool TBaseLazyTree::PasteFromClipboard()
{
    if (In(FOptions->MiscOptions(), toReadOnly)) return false;
    std::shared_ptr<plat::IDataObject> data;
    if (plat::OleGetClipboard(data) != plat::S_OK || !data) RaiseTreeError(SClipboardFailed, hcTFClipboardFailed);
    TBaseLazyTree* source = TreeFromDataObject(data.get());
    const bool result =
        ProcessOLEData(source, data, FFocusedNode, FDefaultPasteMode, source && source->HasState(tsCutPending));
    if (source) {
        if (source == this) {
            // The moved nodes are this tree's again: they leave the cut set with the state.
            if (HasState(tsCutPending)) {
                ReleaseCutCopyMarks();
            }
        } else {
            source->FinishCutOrCopy();
        }
    }
    return result;
}

void TBaseLazyTree::ReleaseCutCopyMarks()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) n->Exclude(vsCutOrCopy);
    DoStateChange(0, TreeBit(tsCopyPending) | TreeBit(tsCutPending));
    InvalidateTree();
}

void TBaseLazyTree::CancelCutOrCopy()
{
    if (HasState(tsCopyPending) || HasState(tsCutPending))
        for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) n->Exclude(vsCutOrCopy);
    DoStateChange(0, TreeBit(tsCopyPending) | TreeBit(tsCutPending));
}

void TBaseLazyTree::FinishCutOrCopy()
{
    if (!HasState(tsCutPending)) return;
    // Each marked node goes with its subtree; the walk goes on after the subtree.
    PLazyNode n = GetFirstNoInit();
    while (n) {
        if (n->Has(vsCutOrCopy)) {
            PLazyNode next = n->NextSibling;
            for (PLazyNode up = n->Parent; !next && up && up != FRoot; up = up->Parent) next = up->NextSibling;
            DeleteNode(n);
            n = next;
        } else {
            n = GetNextNoInit(n);
        }
    }
    DoStateChange(0, TreeBit(tsCutPending));
}

void TBaseLazyTree::FlushClipboard()
{
    if (!HasState(tsCopyPending) && !HasState(tsCutPending)) return;
    DoStateChange(TreeBit(tsClipboardFlushing));
    struct Leave {
        TBaseLazyTree* T;
        ~Leave() { T->DoStateChange(0, TreeBit(tsClipboardFlushing)); }
    } leave{this};
    plat::OleFlushClipboard();
    CancelCutOrCopy();
}

PLazyNode TBaseLazyTree::GetFirstCutCopy(bool ConsiderChildrenAbove)
{
    return GetNextCutCopy(nullptr, ConsiderChildrenAbove);
}

PLazyNode TBaseLazyTree::GetNextCutCopy(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (!HasState(tsCopyPending) && !HasState(tsCutPending)) return nullptr;
    PLazyNode n = !Node || Node == FRoot ? GetFirstNoInit(ConsiderChildrenAbove) : GetNextNoInit(Node, ConsiderChildrenAbove);
    while (n && !n->Has(vsCutOrCopy)) n = GetNextNoInit(n, ConsiderChildrenAbove);
    if (n) InitIfNeeded(n);
    return n;
}

PLazyNode TBaseLazyTree::GetPreviousCutCopy(PLazyNode Node, bool ConsiderChildrenAbove)
{
    if (!HasState(tsCopyPending) && !HasState(tsCutPending)) return nullptr;
    PLazyNode n = !Node || Node == FRoot ? GetLastNoInit(nullptr, ConsiderChildrenAbove)
                                         : GetPreviousNoInit(Node, ConsiderChildrenAbove);
    while (n && !n->Has(vsCutOrCopy)) n = GetPreviousNoInit(n, ConsiderChildrenAbove);
    if (n) InitIfNeeded(n);
    return n;
}

unsigned TBaseLazyTree::CutCopyCount()
{
    unsigned count = 0;
    for (PLazyNode n = GetFirstCutCopy(); n; n = GetNextCutCopy(n)) ++count;
    return count;
}

TNodeArray TBaseLazyTree::GetSortedCutCopySet(bool Resolve)
{
    TNodeArray result;
    PLazyNode n = GetFirstNoInit();
    while (n) {
        if (!n->Has(vsCutOrCopy)) {
            n = GetNextNoInit(n);
            continue;
        }
        if (result.size() == result.capacity())
            result.reserve(result.size() < 100 ? 100 : result.size() + result.size() / 10);
        result.push_back(n);
        if (Resolve) {
            // The subtree goes with the node: continue after it.
            PLazyNode next = n->NextSibling;
            for (PLazyNode up = n->Parent; !next && up && up != FRoot; up = up->Parent) next = up->NextSibling;
            n = next;
        } else {
            n = GetNextNoInit(n);
        }
    }
    result.shrink_to_fit();
    return result;
}

bool TBaseLazyTree::ClipboardMessage(plat::TMessage& Message)
{
    switch (Message.Msg) {
    case plat::WM_COPY: CopyToClipboard(); return true;
    case plat::WM_CUT: CutToClipboard(); return true;
    case plat::WM_PASTE: PasteFromClipboard(); return true;
    default: return false;
    }
}

} // namespace vtree
