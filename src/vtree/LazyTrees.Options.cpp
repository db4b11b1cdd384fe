#include "LazyTrees.Options.h"

#include "LazyTrees.BaseTree.h"

namespace vtree {

TCustomLazyTreeOptions::TCustomLazyTreeOptions(TBaseLazyTree* AOwner) : FOwner(AOwner) {}

void TCustomLazyTreeOptions::SetPaintOptions(TLTPaintOptions Value)
{
    if (Value == FPaintOptions) return;
    const TLTPaintOptions old = FPaintOptions;
    TLTPaintOptions toBeSet = Value & ~old;
    if (In(toBeSet, toFixedIndent)) Value |= Set<TLTPaintOptions, TLTPaintOption>({toShowRoot});
    const TLTPaintOptions changed = Value ^ old;
    // The worker reads these flags while it walks: stop it before they change.
    FOwner->StopCacheValidation();
    FPaintOptions = Value;
    if (!FOwner->plat::TComponent::HasState(plat::csLoading) && In(changed, toShowFilteredNodes))
        FOwner->ShowFilteredNodesChanged(In(Value, toShowFilteredNodes));
    if (In(changed, toChildrenAbove)) {
        FOwner->MarkCacheStale();
        if (FOwner->UpdateCount() == 0) FOwner->RequestCacheValidation();
    }
    FOwner->InvalidateTree();
}

void TCustomLazyTreeOptions::SetAutoOptions(TLTAutoOptions Value)
{
    if (Value == FAutoOptions) return;
    const bool spanChanged = In(TLTAutoOptions(Value ^ FAutoOptions), toAutoSpanColumns);
    FAutoOptions = Value;
    if (spanChanged && FOwner->HandleAllocated()) FOwner->InvalidateTree();
}

void TCustomLazyTreeOptions::SetSelectionOptions(TLTSelectionOptions Value)
{
    if (Value == FSelectionOptions) return;
    const TLTSelectionOptions old = FSelectionOptions;
    const TLTSelectionOptions set = Value & ~old;
    FSelectionOptions = Value;
    if (In(TLTSelectionOptions(Value ^ old), toMultiSelect) || In(set, toLevelSelectConstraint) ||
        In(set, toSiblingSelectConstraint))
        FOwner->ClearSelection();
    if (!In(Value, toExtendedFocus)) FOwner->FFocusedColumn = FOwner->Header().MainColumn;
}

void TCustomLazyTreeOptions::SetMiscOptions(TLTMiscOptions Value)
{
    if (Value == FMiscOptions) return;
    const TLTMiscOptions old = FMiscOptions;
    FOwner->StopCacheValidation();
    FMiscOptions = Value;
    const bool live = !FOwner->plat::TComponent::HasState(plat::csLoading) && FOwner->HandleAllocated();
    if (live && In(TLTMiscOptions(Value ^ old), toCheckSupport)) FOwner->InvalidateTree();
    if (In(TLTMiscOptions(Value ^ old), toAcceptOLEDrop)) FOwner->UpdateDropTargetRegistration();
    if (!FOwner->plat::TComponent::HasState(plat::csDesigning) && In(TLTMiscOptions(Value & ~old), toVariableNodeHeight)) {
        FOwner->BeginUpdate();
        try {
            FOwner->ReinitNode(nullptr, true);
        } catch (...) {
            FOwner->EndUpdate();
            throw;
        }
        FOwner->EndUpdate();
    }
}

void TCustomLazyTreeOptions::AssignTo(plat::TPersistent* Dest) const
{
    if (auto* d = dynamic_cast<TCustomLazyTreeOptions*>(Dest)) {
        d->SetPaintOptions(FPaintOptions);
        d->SetAnimationOptions(FAnimationOptions);
        d->SetAutoOptions(FAutoOptions);
        d->SetSelectionOptions(FSelectionOptions);
        d->SetMiscOptions(FMiscOptions);
        return;
    }
    plat::TPersistent::AssignTo(Dest);
}

void TCustomStringTreeOptions::SetStringOptions(TLTStringOptions Value)
{
    if (Value == FStringOptions) return;
    const bool staticChanged = In(TLTStringOptions(Value ^ FStringOptions), toShowStaticText);
    FStringOptions = Value;
    if (staticChanged && Owner()->HandleAllocated()) Owner()->Invalidate();
}

void TCustomStringTreeOptions::AssignTo(plat::TPersistent* Dest) const
{
    if (auto* d = dynamic_cast<TCustomStringTreeOptions*>(Dest)) d->SetStringOptions(FStringOptions);
    TCustomLazyTreeOptions::AssignTo(Dest);
}

void TScrollBarOptions::SetAlwaysVisible(bool Value)
{
    if (Value == FAlwaysVisible) return;
    FAlwaysVisible = Value;
    FOwner->UpdateScrollBarsPublic();
}

void TScrollBarOptions::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    FOwner->UpdateScrollBarsPublic();
}

void TScrollBarOptions::Assign(const plat::TPersistent* Source)
{
    if (auto* s = dynamic_cast<const TScrollBarOptions*>(Source)) {
        SetAlwaysVisible(s->FAlwaysVisible);
        FIncrementX = s->FIncrementX;
        SetScrollBars(s->FScrollBars);
        SetScrollBarStyle(s->FScrollBarStyle);
        FIncrementY = s->FIncrementY;
        return;
    }
    plat::TPersistent::Assign(Source);
}

// ---- tree side -----------------------------------------------------------------------

void TBaseLazyTree::ShowFilteredNodesChanged(bool Shown)
{
    if (HandleAllocated()) BeginUpdate();
    StopCacheValidation();
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) {
        if (!n->Has(vsFiltered)) continue;
        if (GetFullyVisible(n)) {
            if (Shown) ++FVisibleCount;
            else --FVisibleCount;
        }
        PropagateTotalHeight(n, Shown ? std::int64_t(n->NodeHeight) : -std::int64_t(n->NodeHeight), true);
        if (n->Parent != FRoot) RefreshAllChildrenHidden(n->Parent);
    }
    MarkCacheStale();
    if (HandleAllocated()) EndUpdate();
}

} // namespace vtree
