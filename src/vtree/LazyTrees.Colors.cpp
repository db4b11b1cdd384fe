#include "LazyTrees.Colors.h"

#include "LazyTrees.BaseTree.h"
#include "plat/Messages.h"

namespace vtree {

using namespace plat;

TLTColors::TLTColors(TBaseLazyTree* AOwner)
    : FOwner(AOwner),
      FColors{clBtnShadow, clHighlight, clHighlight, clHighlight, clBtnFace, clBtnShadow, clBtnFace, clBtnFace,
              clWindowText, clHighlight, clBtnFace, clHighlight, clHighlight, clHighlight, clBtnShadow,
              clHighlightText, clBtnFace}
{
}

void TLTColors::Assign(const TPersistent* Source)
{
    if (const auto* other = dynamic_cast<const TLTColors*>(Source)) {
        FColors = other->FColors;
        if (FOwner && FOwner->UpdateCount() == 0)
            FOwner->InvalidateTree();
        return;
    }
    TPersistent::Assign(Source);
}

TColor TLTColors::GetColor(int Index) const
{
    if (Index < 0 || Index >= ColorCount)
        return clNone;
    return FColors[static_cast<std::size_t>(Index)];
}

void TLTColors::SetColor(int Index, TColor Value)
{
    if (Index < 0 || Index >= ColorCount || FColors[static_cast<std::size_t>(Index)] == Value)
        return;
    FColors[static_cast<std::size_t>(Index)] = Value;
    // Colours set while loading or before the window exists only take effect at the first paint.
    if (!FOwner || (FOwner->ComponentState() & csLoading) || !FOwner->HandleAllocated())
        return;
    if (Index == ciTreeLineColor) {
        FOwner->RebuildPaintResources(true, false);
        FOwner->InvalidateTree();
    } else if (Index == ciBorderColor) {
        FOwner->RedrawFrame();
    } else {
        FOwner->InvalidateTree();
    }
}

TColor TLTColors::BackGroundColor() const { return FOwner ? FOwner->Color() : TColor(clWindow); }
TColor TLTColors::NodeFontColor() const { return FOwner ? FOwner->Font()->Color() : TColor(clWindowText); }
TColor TLTColors::HeaderFontColor() const { return FOwner ? FOwner->Font()->Color() : TColor(clWindowText); }

} // namespace vtree
