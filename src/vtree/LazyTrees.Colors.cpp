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

TColor StyledColor(int Index, TColor Stored, const TLTStyleQuery& Style, TLTStyleElements Elements, TColor NodeFontColor)
{
    TColor c = clNone;
    switch (Index) {
    case ciDisabledColor:
        return Style.TextColor(steItemDisabled, c) ? c : Stored;
    case ciDropMarkColor:
    case ciDropTargetColor:
    case ciFocusedSelectionColor:
    case ciSelectionRectangleBlendColor:
    case ciSelectionRectangleBorderColor:
    case ciUnfocusedColor:
        return Stored == clHighlight ? Style.SystemColor(clHighlight) : Stored;
    case ciGridLineColor:
    case ciDropTargetBorderColor:
        return Style.SystemColor(clBtnFace);
    case ciTreeLineColor:
        return Style.BorderColor(steBranch);
    case ciUnfocusedSelectionColor:
    case ciUnfocusedSelectionBorderColor:
        return Stored == clBtnFace ? Style.SystemColor(clHighlight) : Stored;
    case ciBorderColor:
        return (Elements & seBorder) ? Style.SystemColor(clBtnFace) : Stored;
    case ciHotColor:
        return Style.TextColor(steItemHot, c) && c == clWindowText ? c : NodeFontColor;
    case ciFocusedSelectionBorderColor:
        return Style.FillColor(steItemSelected);
    case ciHeaderHotColor:
        return Style.TextColor(steHeaderItemNormal, c) ? c : Stored;
    case ciSelectionTextColor:
        return Style.TextColor(steItemSelected, c) && c == clWindowText ? c : NodeFontColor;
    default:
        return Stored;
    }
}

TColor StyledBackGroundColor(const TLTStyleQuery& Style, TLTStyleElements Elements, TColor Plain)
{
    return (Elements & seClient) ? Style.TreeViewColor() : Plain;
}

TColor StyledNodeFontColor(const TLTStyleQuery& Style, TLTStyleElements Elements, TColor Plain)
{
    TColor c = clNone;
    return (Elements & seFont) && Style.TextColor(steItemNormal, c) ? c : Plain;
}

TColor StyledHeaderFontColor(const TLTStyleQuery& Style, TLTStyleElements Elements, TColor Plain)
{
    TColor c = clNone;
    return (Elements & seFont) && Style.TextColor(steHeaderItemNormal, c) ? c : Plain;
}

TColor TLTColors::GetColor(int Index) const
{
    if (Index < 0 || Index >= ColorCount)
        return clNone;
    const TColor stored = FColors[static_cast<std::size_t>(Index)];
    if (FOwner && FOwner->VclStyleEnabled() && FOwner->StyleQuery())
        return StyledColor(Index, stored, *FOwner->StyleQuery(), FOwner->StyleElements(), NodeFontColor());
    return stored;
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

TColor TLTColors::BackGroundColor() const
{
    if (!FOwner)
        return clWindow;
    if (FOwner->VclStyleEnabled() && FOwner->StyleQuery())
        return StyledBackGroundColor(*FOwner->StyleQuery(), FOwner->StyleElements(), FOwner->Color());
    return FOwner->Color();
}

TColor TLTColors::NodeFontColor() const
{
    if (!FOwner)
        return clWindowText;
    if (FOwner->VclStyleEnabled() && FOwner->StyleQuery())
        return StyledNodeFontColor(*FOwner->StyleQuery(), FOwner->StyleElements(), FOwner->Font()->Color());
    return FOwner->Font()->Color();
}

TColor TLTColors::HeaderFontColor() const
{
    if (!FOwner)
        return clWindowText;
    if (FOwner->VclStyleEnabled() && FOwner->StyleQuery())
        return StyledHeaderFontColor(*FOwner->StyleQuery(), FOwner->StyleElements(), FOwner->Font()->Color());
    return FOwner->Font()->Color();
}

} // namespace vtree
