// What a row shows in its indentation and before its content: tree lines through the 8 x 8
// pattern brush, the six expand-button bitmaps, check controls from the check image lists,
// and the normal, state and overlay images with their ghosting and blending.
#include <algorithm>
#include <cmath>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Colors.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.Utils.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/Resources.h"

namespace vtree {

using namespace plat;

int RoundHalfEven(double Value);

namespace {

constexpr std::array<std::uint8_t, 8> kDottedRows{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};

int MulDiv(int Number, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const long long p = static_cast<long long>(Number) * Numerator;
    // Rounded to nearest, halves away from zero.
    const long long q = (p >= 0) == (Denominator > 0) ? (std::llabs(p) + std::llabs(Denominator) / 2) / std::llabs(Denominator)
                                                      : -((std::llabs(p) + std::llabs(Denominator) / 2) / std::llabs(Denominator));
    return static_cast<int>(q);
}

} // namespace

// ---- resources

void TBaseLazyTree::PrepareButtonBitmap(TBitmap& B, int Size)
{
    B.SetSize(Size, Size);
    B.Canvas()->Brush()->SetColor(clFuchsia);
    B.Canvas()->FillRect({0, 0, Size, Size});
    B.SetTransparentColor(clFuchsia);
    B.SetTransparent(true);
}

void TBaseLazyTree::RebuildPaintResources(bool NeedButtons, bool NeedLines)
{
    if (NeedLines) {
        std::array<std::uint8_t, 8> rows{};
        switch (FLineStyle) {
        case lsDotted:
            rows = kDottedRows;
            break;
        case lsSolid:
            rows = {};
            break;
        case lsCustomStyle: {
            std::array<std::uint16_t, 8> bits{};
            for (std::size_t i = 0; i < 8; ++i)
                bits[i] = kDottedRows[i];
            DoGetLineStyle(bits);
            // A 1-bit bitmap 8 pixels wide keeps its pixels in the first byte of each 16-bit row.
            for (std::size_t i = 0; i < 8; ++i)
                rows[i] = static_cast<std::uint8_t>(bits[i] & 0xFF);
            break;
        }
        }
        FDottedBrush.SetPattern(rows);
    }
    if (!NeedButtons)
        return;
    TBitmap* const all[6] = {FPlusBM.get(), FHotPlusBM.get(), FSelectedHotPlusBM.get(),
                             FMinusBM.get(), FHotMinusBM.get(), FSelectedHotMinusBM.get()};
    TSize size{9, 9};
    if (OnPrepareButtonBitmaps) {
        for (TBitmap* b : all)
            PrepareButtonBitmap(*b, size.cx);
        OnPrepareButtonBitmaps(this, FPlusBM.get(), FHotPlusBM.get(), FSelectedHotPlusBM.get(), FMinusBM.get(),
                               FHotMinusBM.get(), FSelectedHotMinusBM.get(), size);
        return;
    }
    for (int k = 0; k < 2; ++k) {
        const bool plus = k == 1;
        TBitmap& B = plus ? *FPlusBM : *FMinusBM;
        PrepareButtonBitmap(B, size.cx);
        TCanvas* c = B.Canvas();
        const int w = B.Width();
        if (FButtonStyle == bsTriangle) {
            c->Brush()->SetColor(clBlack);
            c->Pen()->SetColor(clBlack);
            if (plus)
                c->Polygon({{2, 0}, {6, 4}, {2, 8}});
            else
                c->Polygon({{0, 2}, {8, 2}, {4, 6}});
        } else if (FButtonFillMode == fmShaded) {
            // The shaded pictures are fixed resources; a missing one leaves the button
            // transparent rather than showing a stale picture.
            if (LoadBitmapResource(plus ? u"LT_XPBUTTONPLUS" : u"LT_XPBUTTONMINUS", B)) {
                B.SetTransparentColor(clFuchsia);
                B.SetTransparent(true);
            }
        } else {
            switch (FButtonFillMode) {
            case fmTreeColor:
                c->Brush()->SetColor(FColors->BackGroundColor());
                break;
            case fmWindowColor:
                c->Brush()->SetColor(clWindow);
                break;
            default:
                c->Brush()->SetStyle(bsClear);
                break;
            }
            c->Pen()->SetColor(FColors->TreeLineColor());
            c->Rectangle(0, 0, w, w);
            c->Pen()->SetColor(FColors->NodeFontColor());
            c->MoveTo(2, w / 2);
            c->LineTo(w - 2, w / 2);
            if (plus) {
                c->MoveTo(w / 2, 2);
                c->LineTo(w / 2, w - 2);
            }
        }
        TBitmap& hot = plus ? *FHotPlusBM : *FHotMinusBM;
        TBitmap& selectedHot = plus ? *FSelectedHotPlusBM : *FSelectedHotMinusBM;
        hot.Assign(B);
        selectedHot.Assign(B);
    }
}

void TBaseLazyTree::DoGetLineStyle(std::array<std::uint16_t, 8>& Bits)
{
    if (OnGetLineStyle)
        OnGetLineStyle(this, Bits);
}

// ---- lines

void TBaseLazyTree::DottedHorzLine(TLTPaintInfo& PaintInfo, int Left, int Right, int Top)
{
    TCanvas* c = PaintInfo.Canvas;
    c->Brush()->SetColor(FColors->BackGroundColor());
    FillRect(c, {std::min(Left, Right), Top, std::max(Left, Right) + 1, Top + 1}, FDottedBrush);
}

void TBaseLazyTree::DottedVertLine(TLTPaintInfo& PaintInfo, int Top, int Bottom, int Left, bool UseSelectedBackground)
{
    TCanvas* c = PaintInfo.Canvas;
    if (UseSelectedBackground)
        c->Brush()->SetColor(Focused() || In(TreeOptions().PaintOptions(), toPopupMode)
                                 ? FColors->FocusedSelectionColor()
                                 : FColors->UnfocusedSelectionColor());
    else
        c->Brush()->SetColor(FColors->BackGroundColor());
    FillRect(c, {Left, std::min(Top, Bottom), Left + 1, std::max(Top, Bottom) + 1}, FDottedBrush);
}

int TBaseLazyTree::BuildLineImage(PLazyNode Node, TLineImage& LineImage)
{
    const TLTPaintOptions po = TreeOptions().PaintOptions();
    const bool showRoot = In(po, toShowRoot);
    int selectLevel = 0;
    // Ancestors below the hidden root, nearest first.
    std::size_t ancestors = 0;
    for (PLazyNode p = Node->Parent; p && p != RootNode(); p = p->Parent) {
        ++ancestors;
        if (p->Has(vsSelected))
            ++selectLevel;
    }
    const std::size_t length = ancestors + (showRoot ? 1 : 0);
    LineImage.assign(length, ltNone);
    if (In(po, toShowTreeLines) && (!In(po, toHideTreeLinesIfThemed) || !HasState(tsUseThemes)) && length > 0) {
        auto nextVisible = [this](PLazyNode N) { return GetNextVisibleSiblingNoInit(N) != nullptr; };
        auto prevVisible = [this](PLazyNode N) { return GetPreviousVisibleSiblingNoInit(N) != nullptr; };
        const bool topLevel = Node->Parent == RootNode();
        if (In(po, toChildrenAbove)) {
            // Without toShowRoot the top level has no entry: a top-level node gets nothing.
            if (!(topLevel && !showRoot)) {
                const bool earlier = prevVisible(Node);
                const bool later = !topLevel || nextVisible(Node);
                TLTLineType own;
                if (earlier)
                    own = later ? ltTopDownRight : ltTopRight;
                else
                    own = later ? ltBottomRight : ltRight;
                std::size_t index = length - 1;
                LineImage[index] = own;
                PLazyNode p = Node->Parent;
                while (index > 0 && p != RootNode()) {
                    --index;
                    LineImage[index] = prevVisible(p) ? ltTopDown : ltNone;
                    p = p->Parent;
                }
            }
        } else {
            if (!topLevel) {
                LineImage[length - 1] = nextVisible(Node) ? ltTopDownRight : ltTopRight;
                // Ancestor levels below the top-level ancestor.
                std::size_t index = length - 1;
                PLazyNode p = Node->Parent;
                while (p->Parent != RootNode()) {
                    --index;
                    LineImage[index] = nextVisible(p) ? ltTopDown : ltNone;
                    p = p->Parent;
                }
                if (showRoot)
                    LineImage[0] = nextVisible(p) ? ltTopDown : ltNone;
            } else if (showRoot) {
                const bool first = !prevVisible(Node);
                const bool last = !nextVisible(Node);
                LineImage[0] = first && last ? ltRight : last ? ltTopRight : first ? ltBottomRight : ltTopDownRight;
            }
        }
    }
    if (HasState(tsUseExplorerTheme) && Node->Has(vsHasChildren) && !LineImage.empty())
        LineImage.back() = ltNone;
    return selectLevel;
}

void TBaseLazyTree::DoBeforeDrawLineImage(PLazyNode Node, int Level, int& PosX)
{
    if (OnBeforeDrawTreeLine)
        OnBeforeDrawTreeLine(this, Node, Level, PosX);
}

void TBaseLazyTree::PaintLineSegment(TLTPaintInfo& PaintInfo, int X, int Y, int H, int VAlign, TLTLineType Style,
                                     bool Reverse)
{
    const int indent = static_cast<int>(Indent());
    const int half = RoundHalfEven(indent / 2.0);
    const int XM = X + half, YV = Y + VAlign, Bottom = Y + H;
    const int E = Reverse ? X : X + indent;
    const int XL = Reverse ? X + indent : X;
    switch (Style) {
    case ltNone:
        break;
    case ltBottomRight:
        DottedVertLine(PaintInfo, YV, Bottom, XM);
        DottedHorzLine(PaintInfo, XM, E, YV);
        break;
    case ltTopDown:
        DottedVertLine(PaintInfo, Y, Bottom, XM);
        break;
    case ltTopDownRight:
        DottedVertLine(PaintInfo, Y, Bottom, XM);
        DottedHorzLine(PaintInfo, XM, E, YV);
        break;
    case ltRight:
        DottedHorzLine(PaintInfo, XM, E, YV);
        break;
    case ltTopRight:
        DottedVertLine(PaintInfo, Y, YV, XM);
        DottedHorzLine(PaintInfo, XM, E, YV);
        break;
    case ltLeft:
        DottedVertLine(PaintInfo, Y, Bottom, XL);
        break;
    case ltLeftBottom:
        DottedVertLine(PaintInfo, Y, Bottom, XL);
        DottedHorzLine(PaintInfo, X, X + indent, Bottom);
        break;
    }
}

void TBaseLazyTree::PaintTreeLineLevels(TLTPaintInfo& PaintInfo, int VAlignment, int IndentSize,
                                        const TLineImage& LineImage)
{
    const bool rtl = PaintInfo.BidiMode != bdLeftToRight;
    const int indent = static_cast<int>(Indent());
    int X = rtl ? PaintInfo.CellRect.Right - indent : PaintInfo.CellRect.Left;
    const int step = rtl ? -indent : indent;
    const bool showRoot = In(TreeOptions().PaintOptions(), toShowRoot);
    const int nodeHeight = PaintInfo.Node->NodeHeight;
    auto drawLevels = [&](const TLineImage& image, int height) {
        for (int i = 0; i < IndentSize && i < static_cast<int>(image.size()); ++i) {
            DoBeforeDrawLineImage(PaintInfo.Node, showRoot ? i : i + 1, X);
            PaintLineSegment(PaintInfo, X, PaintInfo.CellRect.Top, height, VAlignment - 1, image[static_cast<std::size_t>(i)],
                             rtl);
            X += step;
        }
    };
    if (FLineMode == lmNormal) {
        PaintInfo.Canvas->Font()->SetColor(FColors->TreeLineColor());
        drawLevels(LineImage, nodeHeight);
        return;
    }
    if (!HasPaint(PaintInfo.PaintOptions, poGridLines))
        return;
    TLineImage bands(LineImage.size(), ltNone);
    const bool expandedWithChildren = PaintInfo.Node->Has(vsExpanded) &&
                                      GetFirstVisibleChildNoInit(PaintInfo.Node) != nullptr;
    for (int i = static_cast<int>(LineImage.size()) - 1; i >= 0; --i) {
        const std::size_t k = static_cast<std::size_t>(i);
        if (expandedWithChildren) {
            bands[k] = ltLeft;
            continue;
        }
        switch (LineImage[k]) {
        case ltNone:
        case ltTopDown:
            if (k + 1 < LineImage.size()) {
                const TLTLineType next = LineImage[k + 1];
                bands[k] = (next == ltNone || next == ltTopRight) ? bands[k + 1] : ltLeft;
            } else {
                // The node's own level has no next level to follow: it shows the band edge.
                bands[k] = ltLeft;
            }
            break;
        case ltBottomRight:
        case ltTopDownRight:
        case ltRight:
        case ltTopRight:
            bands[k] = ltLeftBottom;
            break;
        default:
            bands[k] = ltNone;
            break;
        }
    }
    PaintInfo.Canvas->Font()->SetColor(FColors->GridLineColor());
    drawLevels(bands, nodeHeight - 1);
}

void TBaseLazyTree::ComputeNodeVAlign(PLazyNode Node, int& VAlign, int& ButtonY)
{
    const int height = Node->NodeHeight;
    const int align = Node->Align;
    const int buttonHeight = FPlusBM->Height();
    switch (FNodeAlignment) {
    case naFromBottom:
        VAlign = height - align;
        break;
    case naFromTop:
        VAlign = align;
        break;
    case naProportional:
        if (FImages || FStateImages) {
            const int imageHeight = FImages ? ImageSize(Node).cy : FStateImages->Height();
            VAlign = MulDiv(height - imageHeight, align, 100) + imageHeight / 2;
        } else if (In(TreeOptions().PaintOptions(), toShowButtons)) {
            VAlign = MulDiv(height - buttonHeight, align, 100) + buttonHeight / 2;
        } else {
            VAlign = MulDiv(height, align, 100);
        }
        break;
    }
    ButtonY = VAlign - buttonHeight / 2 - (buttonHeight & 1);
}

TSize TBaseLazyTree::ImageSize(PLazyNode) const
{
    if (!FImages)
        return {0, 0};
    return {FImages->Width(), FImages->Height()};
}

void TBaseLazyTree::ShiftByIndent(TLTPaintInfo& PaintInfo, int Levels)
{
    int offset = Levels * static_cast<int>(Indent());
    if (PaintInfo.BidiMode == bdLeftToRight) {
        PaintInfo.ContentRect.Left += offset;
    } else {
        PaintInfo.ContentRect.Right -= offset;
        offset = -offset;
    }
    PaintInfo.ImageInfo[imgNormal].PosX += offset;
    PaintInfo.ImageInfo[imgState].PosX += offset;
    PaintInfo.ImageInfo[imgCheck].PosX += offset;
}

void TBaseLazyTree::PlaceImage(TCustomImageList* Images, TBiDiMode BidiMode, int VAlign, TRect& R,
                               TLTImageSlot& Slot)
{
    const int w = Images ? Images->Width() : 0, h = Images ? Images->Height() : 0;
    if (BidiMode == bdLeftToRight) {
        Slot.PosX = R.Left - 1;
        R.Left += w + 2;
    } else {
        Slot.PosX = R.Right - w;
        R.Right -= w + 2;
    }
    Slot.PosY = R.Top + VAlign - h / 2;
}

TCustomImageList* TBaseLazyTree::DoGetImageIndex(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                                                 bool& Ghosted, int& Index)
{
    if (OnGetImageIndexEx) {
        TCustomImageList* list = Kind == ikState ? FStateImages : FImages;
        OnGetImageIndexEx(this, Node, Kind, Column, Ghosted, Index, list);
        return list;
    }
    if (OnGetImageIndex)
        OnGetImageIndex(this, Node, Kind, Column, Ghosted, Index);
    return nullptr;
}

void TBaseLazyTree::QueryImageIndex(TLTPaintInfo& PaintInfo, TLTImageKind Kind, TLTImageInfoIndex SlotIndex,
                                    TCustomImageList* DefaultImages)
{
    TLTImageSlot& slot = PaintInfo.ImageInfo[SlotIndex];
    slot.ImageIndex = -1;
    slot.Ghosted = false;
    TCustomImageList* list = DoGetImageIndex(PaintInfo.Node, Kind, PaintInfo.Column, slot.Ghosted, slot.ImageIndex);
    slot.ImageList = list ? list : DefaultImages;
}

bool TBaseLazyTree::HasNodeImage(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column)
{
    if (!Node->Has(vsInitialized))
        InitializeNode(Node);
    int index = -1;
    bool ghosted = false;
    DoGetImageIndex(Node, Kind, Column, ghosted, index);
    return index >= 0;
}

// ---- buttons, check controls, images

void TBaseLazyTree::PaintExpandButton(TCanvas* Canvas, PLazyNode Node, TColumnIndex, const TRect& R, int ButtonX,
                                      int ButtonY, TBiDiMode BidiMode)
{
    const bool isHot = Node == HotNode() && FHotNodeButtonHit;
    const int x = BidiMode != bdLeftToRight ? R.Right - ButtonX - FPlusBM->Width() : R.Left + ButtonX;
    const bool selected = Node->Has(vsSelected);
    TBitmap* bm;
    if (Node->Has(vsExpanded))
        bm = isHot && selected ? FSelectedHotMinusBM.get() : isHot ? FHotMinusBM.get() : FMinusBM.get();
    else
        bm = isHot && selected ? FSelectedHotPlusBM.get() : isHot ? FHotPlusBM.get() : FPlusBM.get();
    Canvas->Draw(x, R.Top + ButtonY, bm);
}

void TBaseLazyTree::PaintCheckControl(TCanvas* Canvas, const TLTImageSlot& Slot, bool Selected)
{
    if (!FCheckImages)
        return;
    TColor fg = FCheckImages->BlendColor();
    if (Selected && !Slot.Ghosted)
        fg = Focused() || In(TreeOptions().PaintOptions(), toPopupMode) ? FColors->FocusedSelectionColor()
                                                                         : FColors->UnfocusedSelectionColor();
    FCheckImages->DrawEx(Canvas, Slot.PosX, Slot.PosY, Slot.ImageIndex, FCheckImages->BkColor(), fg, ILD_TRANSPARENT);
}

void TBaseLazyTree::PaintNodeImage(TLTPaintInfo& PaintInfo, TLTImageInfoIndex SlotIndex, bool DoOverlay)
{
    TLTImageSlot& slot = PaintInfo.ImageInfo[SlotIndex];
    if (!slot.ImageList)
        return;
    PLazyNode node = PaintInfo.Node;
    const TLTPaintOptions po = TreeOptions().PaintOptions();
    const bool cutNode = node->Has(vsCutOrCopy) && HasState(tsCutPending);
    const bool paintFocused = Focused() || In(po, toGhostedIfUnfocused);
    TLTImageSlot& overlay = PaintInfo.ImageInfo[imgOverlay];
    overlay.ImageIndex = -1;
    if (DoOverlay) {
        QueryImageIndex(PaintInfo, ikOverlay, imgOverlay, FImages);
        if (overlay.ImageIndex == slot.ImageIndex && overlay.ImageList == slot.ImageList)
            overlay.ImageIndex = -1;
    }
    const bool drawEnabled = !node->Has(vsDisabled) && Enabled();
    const bool selected = node->Has(vsSelected);
    if (!selected || cutNode || slot.Ghosted)
        slot.ImageList->SetBlendColor(Color());
    else
        slot.ImageList->SetBlendColor(paintFocused || In(po, toPopupMode) ? FColors->FocusedSelectionColor()
                                                                          : FColors->UnfocusedSelectionColor());
    unsigned style = ILD_TRANSPARENT;
    if (overlay.ImageIndex >= 0 && overlay.ImageIndex <= 14)
        style |= INDEXTOOVERLAYMASK(static_cast<unsigned>(overlay.ImageIndex + 1));
    const TLTSelectionOptions so = TreeOptions().SelectionOptions();
    if (paintFocused && In(po, toUseBlendedImages) &&
        (slot.Ghosted || (selected && !In(so, toFullRowSelect) && !In(TreeOptions().MiscOptions(), toGridExtensions)) ||
         cutNode))
        style |= ILD_BLEND50;
    if (selected && !slot.Ghosted)
        slot.ImageList->SetBlendColor(clDefault);
    const unsigned typeFlag = slot.ImageList->ImageType() == itMask ? ILD_MASK : 0u;
    DrawListImage(slot.ImageList, slot.ImageIndex, PaintInfo.Canvas, slot.PosX, slot.PosY, typeFlag | style,
                  drawEnabled);
    if (overlay.ImageIndex >= 15 && overlay.ImageList)
        DrawListImage(overlay.ImageList, overlay.ImageIndex, PaintInfo.Canvas, slot.PosX, slot.PosY,
                      (typeFlag | style) & ~ILD_BLEND50, drawEnabled);
}

TCustomImageList* TBaseLazyTree::CheckImageListOfKind(TCheckImageKind Kind) const
{
    switch (Kind) {
    case ckLightCheck: return CheckLightList;
    case ckDarkCheck: return CheckDarkList;
    case ckLightTick: return TickLightList;
    case ckDarkTick: return TickDarkList;
    case ckFlat: return CheckFlatList;
    case ckXP: return CheckXPList;
    case ckSystemFlat: return SystemDrawnFlatCheckList;
    case ckSystemDefault: return SystemDrawnCheckList;
    case ckCustom: return nullptr;
    }
    return nullptr;
}

// ---- setters

bool TBaseLazyTree::ReadyToRepaint() const
{
    return HandleAllocated() && !(ComponentState() & csLoading);
}

void TBaseLazyTree::SetButtonStyle(TLTButtonStyle Value)
{
    if (Value == FButtonStyle)
        return;
    FButtonStyle = Value;
    if (!(ComponentState() & csLoading)) {
        RebuildPaintResources(true, false);
        InvalidateTree();
    }
}

void TBaseLazyTree::SetButtonFillMode(TLTButtonFillMode Value)
{
    if (Value == FButtonFillMode)
        return;
    FButtonFillMode = Value;
    if (!(ComponentState() & csLoading)) {
        RebuildPaintResources(true, false);
        InvalidateTree();
    }
}

void TBaseLazyTree::SetLineStyle(TLTLineStyle Value)
{
    if (Value == FLineStyle)
        return;
    FLineStyle = Value;
    if (!(ComponentState() & csLoading)) {
        RebuildPaintResources(false, true);
        InvalidateTree();
    }
}

void TBaseLazyTree::SetLineMode(TLTLineMode Value)
{
    if (Value == FLineMode)
        return;
    FLineMode = Value;
    if (ReadyToRepaint())
        InvalidateTree();
}

void TBaseLazyTree::SetMargin(int Value)
{
    if (Value == FMargin)
        return;
    FMargin = Value;
    if (ReadyToRepaint())
        InvalidateTree();
}

void TBaseLazyTree::SetNodeAlignment(TLTNodeAlignment Value)
{
    if (Value == FNodeAlignment)
        return;
    FNodeAlignment = Value;
    if (ReadyToRepaint())
        InvalidateTree();
}

void TBaseLazyTree::SetVerticalAlignment(PLazyNode Node, std::uint8_t Value)
{
    Value = std::min<std::uint8_t>(Value, 100);
    if (!Node || Node->Align == Value)
        return;
    Node->Align = Value;
    if (GetFullyVisible(Node) && !GetEffectivelyFiltered(Node))
        InvalidateNode(Node);
}

void TBaseLazyTree::SetImages(TCustomImageList* Value)
{
    if (Value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    if (!(ComponentState() & csLoading))
        InvalidateTree();
}

void TBaseLazyTree::SetStateImages(TCustomImageList* Value)
{
    if (Value == FStateImages)
        return;
    if (FStateImages)
        FStateImages->RemoveFreeNotification(this);
    FStateImages = Value;
    if (FStateImages)
        FStateImages->FreeNotification(this);
    if (ReadyToRepaint())
        InvalidateTree();
}

void TBaseLazyTree::SetCustomCheckImages(TCustomImageList* Value)
{
    if (Value == FCustomCheckImages)
        return;
    if (FCustomCheckImages) {
        FCustomCheckImages->RemoveFreeNotification(this);
        if (CheckImageKind() == ckCustom)
            FCheckImages = nullptr;
    }
    FCustomCheckImages = Value;
    if (FCustomCheckImages) {
        FCustomCheckImages->FreeNotification(this);
        if (CheckImageKind() == ckCustom)
            FCheckImages = FCustomCheckImages;
    }
    if (!(ComponentState() & csLoading))
        InvalidateTree();
}

void TBaseLazyTree::ApplyCheckImageKind()
{
    TCustomImageList* list = CheckImageListOfKind(CheckImageKind());
    FCheckImages = list ? list : FCustomCheckImages;
}

void TBaseLazyTree::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    const bool destroying = (ComponentState() & csDestroying) != 0;
    if (AComponent == FImages) {
        FImages = nullptr;
        if (!destroying)
            InvalidateTree();
    } else if (AComponent == FStateImages) {
        FStateImages = nullptr;
        if (!destroying)
            InvalidateTree();
    } else if (AComponent == FCustomCheckImages) {
        FCustomCheckImages = nullptr;
        SetCheckImageKind(ckSystemDefault);
        if (!destroying)
            InvalidateTree();
    }
}

} // namespace vtree
