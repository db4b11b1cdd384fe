// Hit testing: which node, column and part of a row lies under a client point.
#include <algorithm>

#include "LazyTrees.BaseTree.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

void TBaseLazyTree::GetHitTestInfoAt(int X, int Y, bool Relative, THitInfo& HitInfo)
{
    HitInfo.HitNode = nullptr;
    HitInfo.HitPositions = 0;
    HitInfo.HitColumn = NoColumn;
    if (X < 0) HitInfo.HitPositions |= HitBit(hiToLeft);
    else if (X > std::max(ClientWidth(), FRangeX)) HitInfo.HitPositions |= HitBit(hiToRight);
    if (Y < 0) HitInfo.HitPositions |= HitBit(hiAbove);
    else if (Y > std::max<std::int64_t>(ClientHeight(), FRangeY)) HitInfo.HitPositions |= HitBit(hiBelow);
    if (Relative) {
        // Fixed columns do not scroll: only points right of them move with the offset.
        if (X >= FHeader->Columns().GetVisibleFixedWidth()) X += FEffectiveOffsetX;
        Y -= FOffsetY;
    }
    HitInfo.HitPoint = {X, Y};
    if (HitInfo.HitPositions != 0) return;

    int nodeTop = 0;
    HitInfo.HitNode = GetNodeAt(X, Y, false, nodeTop);
    if (!HitInfo.HitNode) {
        HitInfo.HitPositions = HitBit(hiNowhere);
        return;
    }
    InitIfNeeded(HitInfo.HitNode);
    // Without header columns the row spans the wider of the client and the content; with them
    // X becomes relative to the (spanned) cell of the column under it.
    int right;
    TBiDiMode bidi = FBiDiMode;
    TAlignment alignment = FAlignment;
    if (FHeader->UseColumns()) {
        int left;
        HitInfo.HitColumn = ColumnOfCellAt(HitInfo.HitNode, X, left, right);
        if (HitInfo.HitColumn == InvalidColumn) {
            HitInfo.HitPositions = HitBit(hiNowhere);
            return;
        }
        X -= left;
        right -= left;
        bidi = FHeader->Columns()[HitInfo.HitColumn]->BiDiMode();
        alignment = FHeader->Columns()[HitInfo.HitColumn]->Alignment();
    } else {
        HitInfo.HitColumn = NoColumn;
        right = std::max(ClientWidth(), FRangeX);
    }
    HitInfo.HitPositions = HitBit(hiOnItem);
    if (In(FOptions->MiscOptions(), toNodeHeightResize)) {
        const int top = nodeTop;
        const int bottom = top + static_cast<int>(HitInfo.HitNode->NodeHeight);
        if (Y <= top + 1) HitInfo.HitPositions |= HitBit(hiUpperSplitter);
        else if (Y >= bottom - 3) HitInfo.HitPositions |= HitBit(hiLowerSplitter);
    }
    if (bidi == bdLeftToRight) ResolveHitPositionsLTR(HitInfo, X, alignment, right);
    else ResolveHitPositionsRTL(HitInfo, X, alignment, right);
}

namespace {

// The indentation of a node's row in the main column (the button's step included).
int RowIndent(const TCustomLazyTreeOptions& O, unsigned Level, int Indent)
{
    if (In(O.PaintOptions(), toFixedIndent)) return Indent;
    int r = Indent * static_cast<int>(Level);
    if (In(O.PaintOptions(), toShowRoot)) r += Indent;
    return r;
}

} // namespace

void TBaseLazyTree::ResolveHitPositionsLTR(THitInfo& HitInfo, int X, TAlignment Alignment, int Right)
{
    PLazyNode node = HitInfo.HitNode;
    const bool mainHit = HitInfo.HitColumn == FHeader->MainColumn || HitInfo.HitColumn == NoColumn;
    const int indentStep = static_cast<int>(FIndent);
    const int indent = mainHit ? RowIndent(*FOptions, GetNodeLevel(node), indentStep) : 0;
    if (mainHit && X < indent + FMargin) {
        if (In(FOptions->PaintOptions(), toShowButtons) && node->Has(vsHasChildren)) {
            if (X >= indent - indentStep) HitInfo.HitPositions |= HitBit(hiOnItemButton);
            if (X >= indent - FPlusBM->Width()) HitInfo.HitPositions |= HitBit(hiOnItemButtonExact);
        }
        return;
    }
    if (!mainHit && In(FOptions->MiscOptions(), toReportMode)) return;
    int imageStart = indent + FMargin;
    const bool withCheck = mainHit && In(FOptions->MiscOptions(), toCheckSupport) && FCheckImages && node->CheckType != ctNone;
    if (withCheck) imageStart += FCheckImages->Width() + 2;
    if (mainHit && X < imageStart) {
        // The splitter bits stay: a check box sits inside the row.
        HitInfo.HitPositions = (HitInfo.HitPositions & (HitBit(hiUpperSplitter) | HitBit(hiLowerSplitter))) | HitBit(hiOnItem);
        if (node->CheckType != ctNone) HitInfo.HitPositions |= HitBit(hiOnItemCheckbox);
        return;
    }
    if (FStateImages && HasNodeImage(node, ikState, HitInfo.HitColumn)) {
        imageStart += FStateImages->Width() + 2;
        if (X < imageStart) {
            HitInfo.HitPositions |= HitBit(hiOnStateIcon);
            return;
        }
    }
    if (FImages && HasNodeImage(node, ikNormal, HitInfo.HitColumn)) {
        imageStart += FImages->Width() + 2;
        if (X < imageStart) {
            HitInfo.HitPositions |= HitBit(hiOnNormalIcon);
            return;
        }
    }
    const int textWidth = DoGetNodeWidth(node, HitInfo.HitColumn, nullptr);
    if (Right - imageStart < textWidth) {
        HitInfo.HitPositions |= HitBit(hiOnItemLabel);
        return;
    }
    switch (Alignment) {
    case taLeftJustify:
        HitInfo.HitPositions |= HitBit(X >= imageStart + textWidth ? hiOnItemRight : hiOnItemLabel);
        break;
    case taRightJustify:
        HitInfo.HitPositions |= HitBit(X >= Right - textWidth ? hiOnItemLabel : hiOnItemLeft);
        break;
    case taCenter: {
        const int mid = (imageStart + Right - textWidth) / 2;
        if (X < mid) HitInfo.HitPositions |= HitBit(hiOnItemLeft);
        else if (X >= mid + textWidth) HitInfo.HitPositions |= HitBit(hiOnItemRight);
        else HitInfo.HitPositions |= HitBit(hiOnItemLabel);
        break;
    }
    }
}

void TBaseLazyTree::ResolveHitPositionsRTL(THitInfo& HitInfo, int X, TAlignment Alignment, int Right)
{
    PLazyNode node = HitInfo.HitNode;
    const bool mainHit = HitInfo.HitColumn == FHeader->MainColumn || HitInfo.HitColumn == NoColumn;
    const int indentStep = static_cast<int>(FIndent);
    const int indent = mainHit ? RowIndent(*FOptions, GetNodeLevel(node), indentStep) : 0;
    // Everything is laid out from the right edge: the indent area is right of ImageStart.
    int imageStart = Right - indent - FMargin;
    if (mainHit && X >= imageStart) {
        if (In(FOptions->PaintOptions(), toShowButtons) && node->Has(vsHasChildren)) {
            const int fromRight = Right - X;
            if (fromRight <= indent && fromRight > indent - indentStep) HitInfo.HitPositions |= HitBit(hiOnItemButton);
            if (fromRight <= indent && fromRight > indent - FPlusBM->Width()) HitInfo.HitPositions |= HitBit(hiOnItemButtonExact);
        }
        return;
    }
    if (!mainHit && In(FOptions->MiscOptions(), toReportMode)) return;
    const bool withCheck = mainHit && In(FOptions->MiscOptions(), toCheckSupport) && FCheckImages && node->CheckType != ctNone;
    if (withCheck) imageStart -= FCheckImages->Width() + 2;
    if (mainHit && X >= imageStart) {
        HitInfo.HitPositions = (HitInfo.HitPositions & (HitBit(hiUpperSplitter) | HitBit(hiLowerSplitter))) | HitBit(hiOnItem);
        if (node->CheckType != ctNone) HitInfo.HitPositions |= HitBit(hiOnItemCheckbox);
        return;
    }
    if (FStateImages && HasNodeImage(node, ikState, HitInfo.HitColumn)) {
        imageStart -= FStateImages->Width() + 2;
        if (X >= imageStart) {
            HitInfo.HitPositions |= HitBit(hiOnStateIcon);
            return;
        }
    }
    if (FImages && HasNodeImage(node, ikNormal, HitInfo.HitColumn)) {
        imageStart -= FImages->Width() + 2;
        if (X >= imageStart) {
            HitInfo.HitPositions |= HitBit(hiOnNormalIcon);
            return;
        }
    }
    const int textWidth = DoGetNodeWidth(node, HitInfo.HitColumn, nullptr);
    if (imageStart < textWidth) {
        HitInfo.HitPositions |= HitBit(hiOnItemLabel);
        return;
    }
    // The reading order mirrors the alignment: left-justified text starts at the right.
    switch (Alignment) {
    case taLeftJustify:
        HitInfo.HitPositions |= HitBit(X < imageStart - textWidth ? hiOnItemLeft : hiOnItemLabel);
        break;
    case taRightJustify:
        HitInfo.HitPositions |= HitBit(X < textWidth ? hiOnItemLabel : hiOnItemRight);
        break;
    case taCenter: {
        const int mid = (imageStart - textWidth) / 2;
        if (X < mid) HitInfo.HitPositions |= HitBit(hiOnItemLeft);
        else if (X >= mid + textWidth) HitInfo.HitPositions |= HitBit(hiOnItemRight);
        else HitInfo.HitPositions |= HitBit(hiOnItemLabel);
        break;
    }
    }
}

} // namespace vtree
