// The paint pass: every visible row is drawn into a row bitmap (or straight onto the target
// with poUnbuffered) and copied to the target, then the area below the last row is filled.
// Rows outside the window are never touched, so the cost follows the window, not the tree.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <memory>
#include <utility>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Colors.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.Utils.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"

namespace vtree {

using namespace plat;

void SetCanvasOrigin(TCanvas* Canvas, int X, int Y)
{
    // Logical (X, Y) lands on device (0, 0); the layer's canvases have no mapping mode, so
    // logical and device units are the same.
    Canvas->SetWindowOrg(0, 0);
    Canvas->SetWindowOrg(X, Y);
}

void OffsetRect(TRect& R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B)
{
    Dest = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
    if (Dest.IsEmpty()) {
        Dest = {};
        return false;
    }
    return true;
}

int RoundHalfEven(double Value)
{
    return static_cast<int>(std::nearbyint(Value));
}

bool TBaseLazyTree::IsMouseSelecting() const
{
    return HasState(tsDrawSelPending) || HasState(tsDrawSelecting);
}

void TBaseLazyTree::DoBeforePaint(TCanvas* Canvas)
{
    if (OnBeforePaint)
        OnBeforePaint(this, Canvas);
}

void TBaseLazyTree::DoAfterPaint(TCanvas* Canvas)
{
    if (OnAfterPaint)
        OnAfterPaint(this, Canvas);
}

bool TBaseLazyTree::DoBeforeItemPaint(TCanvas* Canvas, PLazyNode Node, const TRect& ItemRect)
{
    bool customDraw = false;
    if (OnBeforeItemPaint)
        OnBeforeItemPaint(this, Canvas, Node, ItemRect, customDraw);
    return customDraw;
}

void TBaseLazyTree::DoAfterItemPaint(TCanvas* Canvas, PLazyNode Node, const TRect& ItemRect)
{
    if (OnAfterItemPaint)
        OnAfterItemPaint(this, Canvas, Node, ItemRect);
}

void TBaseLazyTree::DoBeforeItemErase(TCanvas* Canvas, PLazyNode Node, const TRect& ItemRect, TColor& Color,
                                      TItemEraseAction& EraseAction)
{
    if (OnBeforeItemErase)
        OnBeforeItemErase(this, Canvas, Node, ItemRect, Color, EraseAction);
}

void TBaseLazyTree::DoAfterItemErase(TCanvas* Canvas, PLazyNode Node, const TRect& ItemRect)
{
    if (OnAfterItemErase)
        OnAfterItemErase(this, Canvas, Node, ItemRect);
}

void TBaseLazyTree::DoBeforeCellPaint(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                      TLTCellPaintMode CellPaintMode, const TRect& CellRect, TRect& ContentRect)
{
    if (!OnBeforeCellPaint)
        return;
    if (CellPaintMode == cpmGetContentMargin) {
        // Whatever a handler paints while only being asked for margins never reaches the
        // screen: redrawing is off around it (the window keeps its pending update area).
        SuspendRedraw(true);
        Canvas->SetFont(Font());
        struct Resume {
            TBaseLazyTree* T;
            ~Resume() { T->SuspendRedraw(false); }
        } resume{this};
        OnBeforeCellPaint(this, Canvas, Node, Column, CellPaintMode, CellRect, ContentRect);
        return;
    }
    Canvas->SetFont(Font());
    OnBeforeCellPaint(this, Canvas, Node, Column, CellPaintMode, CellRect, ContentRect);
}

void TBaseLazyTree::DoAfterCellPaint(TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const TRect& CellRect)
{
    if (OnAfterCellPaint)
        OnAfterCellPaint(this, Canvas, Node, Column, CellRect);
}

bool TBaseLazyTree::DoPaintBackground(TCanvas* Canvas, const TRect& R)
{
    bool handled = false;
    if (OnPaintBackground)
        OnPaintBackground(this, Canvas, R, handled);
    return handled;
}

void TBaseLazyTree::SuspendRedraw(bool Suspend)
{
    if (Visible() && HandleAllocated() && UpdateCount() == 0)
        SendMessage(Handle(), WM_SETREDRAW, Suspend ? 0 : 1, 0);
}

TPoint TBaseLazyTree::GetCellContentMargin(PLazyNode Node, TColumnIndex Column,
                                           TLTCellContentMarginType CellContentMarginType, TCanvas* Canvas)
{
    if (!OnBeforeCellPaint)
        return {0, 0};
    if (!Canvas)
        Canvas = this->Canvas();
    const TRect R = GetDisplayRect(Node, Column, true);
    TRect content = R;
    DoBeforeCellPaint(Canvas, Node, Column, cpmGetContentMargin, R, content);
    switch (CellContentMarginType) {
    case ccmtAllSides:
        return {R.Width() - content.Width(), R.Height() - content.Height()};
    case ccmtTopLeftOnly:
        return {content.Left - R.Left, content.Top - R.Top};
    case ccmtBottomRightOnly:
        return {R.Right - content.Right, R.Bottom - content.Bottom};
    }
    return {0, 0};
}

void TBaseLazyTree::SetBackgroundOffset(int Index, int Value)
{
    int& field = Index == 0 ? FBackgroundOffsetX : FBackgroundOffsetY;
    if (field == Value)
        return;
    field = Value;
    InvalidateTree();
}

// ---- font change hook

void TBaseLazyTree::HookCanvasFontChange(TCanvas* Canvas)
{
    TFont* font = Canvas->Font();
    // The hook is in place already (or there is nothing to displace while nothing is held).
    if (FFontHooked)
        return;
    FOldFontChange = font->OnChange;
    font->OnChange = [this](TObject* Sender) { PaintFontChanged(Sender); };
    FFontHooked = true;
}

void TBaseLazyTree::UnhookCanvasFontChange(TCanvas* Canvas)
{
    if (!FFontHooked)
        return;
    Canvas->Font()->OnChange = FOldFontChange;
    FOldFontChange = nullptr;
    FFontHooked = false;
}

void TBaseLazyTree::PaintFontChanged(TObject* Sender)
{
    FFontChanged = true;
    if (FOldFontChange)
        FOldFontChange(Sender);
}

// ---- background pictures

void TBaseLazyTree::PaintBackgroundStatic(TBitmap* Picture, TCanvas* Canvas, const TRect& Area, TPoint Offset)
{
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(Area);
    // A picture without pixels has nothing to place.
    if (!Picture || Picture->Width() <= 0 || Picture->Height() <= 0)
        return;
    const TRect picRect = Bounds(FBackgroundOffsetX, FBackgroundOffsetY, Picture->Width(), Picture->Height());
    TRect areaRect = Area;
    OffsetRect(areaRect, Offset.X, Offset.Y);
    TRect drawRect;
    if (!IntersectRect(drawRect, picRect, areaRect))
        return;
    const int sx = drawRect.Left - picRect.Left, sy = drawRect.Top - picRect.Top;
    const int dx = drawRect.Left - Offset.X, dy = drawRect.Top - Offset.Y;
    if (Picture->Transparent()) {
        // The mask: black where the picture shows, white at its transparent colour.
        TBitmap mask(Picture->Width(), Picture->Height());
        const TColor key = ColorToRGB(Picture->TransparentColor());
        for (int y = 0; y < Picture->Height(); ++y)
            for (int x = 0; x < Picture->Width(); ++x)
                mask.Canvas()->SetPixels(x, y, Picture->Canvas()->Pixels(x, y) == key ? clWhite : clBlack);
        MaskedCopy(Canvas, dx, dy, drawRect.Width(), drawRect.Height(), Picture->Canvas(), sx, sy, mask.Canvas(), sx,
                   sy);
    } else {
        BitBlt(Canvas, dx, dy, drawRect.Width(), drawRect.Height(), Picture->Canvas(), sx, sy, SRCCOPY);
    }
}

void TBaseLazyTree::PaintBackgroundTiled(TBitmap* Picture, TCanvas* Canvas, const TRect& Area, TPoint Offset)
{
    // A picture without pixels cannot be tiled (the modulus would divide by zero): the
    // area gets the colour instead.
    if (!Picture || Picture->Width() <= 0 || Picture->Height() <= 0) {
        Canvas->Brush()->SetColor(Color());
        Canvas->FillRect(Area);
        return;
    }
    const int pw = Picture->Width(), ph = Picture->Height();
    auto mod = [](int a, int m) { return ((a % m) + m) % m; };
    int deltaY = mod(Area.Top + Offset.Y + FBackgroundOffsetY, ph);
    int y = Area.Top;
    while (y < Area.Bottom) {
        const int bandHeight = std::min(Area.Bottom - y, ph - deltaY);
        int deltaX = mod(Area.Left + Offset.X + FBackgroundOffsetX, pw);
        int x = Area.Left;
        while (x < Area.Right) {
            const int w = std::min(Area.Right - x, pw - deltaX);
            BitBlt(Canvas, x, y, w, bandHeight, Picture->Canvas(), deltaX, deltaY, SRCCOPY);
            x += pw - deltaX;
            deltaX = 0;
        }
        y += ph - deltaY;
        deltaY = 0;
    }
}

bool TBaseLazyTree::UsableBackground() const
{
    return FBackground && FBackground->HasGraphic();
}

// ---- rows

void TBaseLazyTree::EraseNodeRow(TLTPaintInfo& PaintInfo, bool UseBackground, TRect R, bool OffsetToRow)
{
    TColor color = FColors->BackGroundColor();
    TItemEraseAction action = eaDefault;
    TPoint offset{0, 0};
    if (OffsetToRow) {
        offset = {-FEffectiveOffsetX, R.Top};
        OffsetRect(R, 0, -R.Top);
    }
    TCanvas* canvas = PaintInfo.Canvas;
    DoBeforeItemErase(canvas, PaintInfo.Node, R, color, action);
    const TLTPaintOptions paintOptions = TreeOptions().PaintOptions();
    const TLTSelectionOptions selectionOptions = TreeOptions().SelectionOptions();
    switch (action) {
    case eaColor:
        canvas->Brush()->SetColor(color);
        canvas->FillRect(R);
        break;
    case eaNone:
        break;
    case eaDefault:
        if (UseBackground) {
            if (In(paintOptions, toStaticBackground))
                PaintBackgroundStatic(FBackground->Bitmap(), canvas, R, offset);
            else
                PaintBackgroundTiled(FBackground->Bitmap(), canvas, R, offset);
        } else if (!HasPaint(PaintInfo.PaintOptions, poDrawSelection) || !In(selectionOptions, toFullRowSelect) ||
                   !PaintInfo.Node->Has(vsSelected) || In(paintOptions, toUseBlendedSelection) ||
                   HasState(tsUseExplorerTheme)) {
            canvas->Brush()->SetColor(color);
            canvas->FillRect(R);
        } else {
            if (In(paintOptions, toShowHorzGridLines)) {
                canvas->Brush()->SetColor(color);
                canvas->FillRect({R.Left, R.Bottom - 1, R.Right, R.Bottom});
                --R.Bottom;
            }
            const bool focusedLook = Focused() || In(paintOptions, toPopupMode);
            canvas->Brush()->SetColor(focusedLook ? FColors->FocusedSelectionColor()
                                                  : FColors->UnfocusedSelectionColor());
            canvas->Pen()->SetColor(focusedLook ? FColors->FocusedSelectionBorderColor()
                                                : FColors->UnfocusedSelectionBorderColor());
            canvas->RoundRect(R, FSelectionCurveRadius, FSelectionCurveRadius);
        }
        break;
    }
    DoAfterItemErase(canvas, PaintInfo.Node, R);
}

void TBaseLazyTree::BlendSelectionArea(const TLTPaintInfo& PaintInfo, const TRect& InnerRect, int WindowOrgX,
                                       int MaxWidth, TColor Color)
{
    if (!FPaintBitmap)
        return;
    TRect R = InnerRect;
    OffsetRect(R, -WindowOrgX, 0);
    R.Left = std::max(R.Left, 0);
    R.Right = std::min(R.Right, MaxWidth);
    (void)PaintInfo;
    AlphaBlendArea(nullptr, FPaintBitmap, R, {0, 0}, amMasterColor, FSelectionBlendFactor, ColorToRGB(Color));
}

void TBaseLazyTree::PaintCellHighlight(TLTPaintInfo& PaintInfo, int WindowOrgX, int MaxWidth)
{
    TCanvas* canvas = PaintInfo.Canvas;
    const TLTPaintOptions paintOptions = TreeOptions().PaintOptions();
    const TLTSelectionOptions selectionOptions = TreeOptions().SelectionOptions();
    const TLTMiscOptions miscOptions = TreeOptions().MiscOptions();
    const bool fullRow = In(selectionOptions, toFullRowSelect);
    const bool gridExtensions = In(miscOptions, toGridExtensions);
    const bool explorer = HasState(tsUseExplorerTheme);
    TRect fullRect{0, PaintInfo.CellRect.Top, FRangeX, PaintInfo.CellRect.Bottom};
    if (!Header().UseColumns() && fullRow)
        fullRect.Right = std::max(fullRect.Right, ClientWidth());
    if (In(paintOptions, toShowVertGridLines))
        --fullRect.Right;

    // Column colours come with header columns; a tree without them has none to fill.
    if (HasPaint(PaintInfo.PaintOptions, poColumnColor) && Header().Columns().IsValidColumn(PaintInfo.Column)) {
        canvas->Brush()->SetColor(Header().Columns()[PaintInfo.Column]->Color());
        canvas->FillRect(PaintInfo.CellRect);
    }
    DoBeforeCellPaint(canvas, PaintInfo.Node, PaintInfo.Column, cpmPaint, PaintInfo.CellRect, PaintInfo.ContentRect);

    TRect inner = PaintInfo.ContentRect;
    if (!gridExtensions) {
        const int w = inner.Width();
        switch (PaintInfo.Alignment) {
        case taLeftJustify:
            if (inner.Left + PaintInfo.NodeWidth < inner.Right)
                inner.Right = inner.Left + PaintInfo.NodeWidth;
            break;
        case taRightJustify:
            if (PaintInfo.NodeWidth < w)
                inner.Left = inner.Right - PaintInfo.NodeWidth;
            break;
        case taCenter:
            if (PaintInfo.NodeWidth < w) {
                inner.Left = (inner.Left + inner.Right - PaintInfo.NodeWidth) / 2;
                inner.Right = inner.Left + PaintInfo.NodeWidth;
            }
            break;
        }
    }

    const bool focusedLook = Focused() || In(paintOptions, toPopupMode);
    auto drawHighlight = [&](const TRect& R, TColor fill, TColor border) {
        if (R.IsEmpty())
            return;
        if (CpuHasMmx && In(paintOptions, toUseBlendedSelection)) {
            BlendSelectionArea(PaintInfo, R, WindowOrgX, MaxWidth, fill);
        } else {
            canvas->Brush()->SetColor(fill);
            canvas->Pen()->SetColor(border);
            canvas->RoundRect(R, FSelectionCurveRadius, FSelectionCurveRadius);
        }
    };
    if ((PaintInfo.Column == FFocusedColumn || fullRow) && HasPaint(PaintInfo.PaintOptions, poDrawSelection)) {
        if (PaintInfo.Node == FDropTargetNode) {
            if (FLastDropMode == dmOnNode || PaintInfo.Node->Has(vsSelected)) {
                if (gridExtensions || fullRow)
                    inner = PaintInfo.CellRect;
                drawHighlight(inner, FColors->DropTargetColor(), FColors->DropTargetBorderColor());
            } else {
                canvas->Brush()->SetStyle(bsClear);
            }
        } else if (PaintInfo.Node->Has(vsSelected)) {
            if (gridExtensions || fullRow)
                inner = PaintInfo.CellRect;
            drawHighlight(inner, focusedLook ? FColors->FocusedSelectionColor() : FColors->UnfocusedSelectionColor(),
                          focusedLook ? FColors->FocusedSelectionBorderColor()
                                      : FColors->UnfocusedSelectionBorderColor());
        }
    }

    if ((PaintInfo.Column == FFocusedColumn || fullRow) && HasPaint(PaintInfo.PaintOptions, poDrawFocusRect) &&
        focusedLook && PaintInfo.Node == FFocusedNode &&
        (PaintInfo.Column == FFocusedColumn ||
         ((!In(selectionOptions, toExtendedFocus) || SystemIsVistaOrLater) && fullRow && explorer))) {
        const TColor oldText = canvas->SetTextColor(clWhite);
        const TColor oldBack = canvas->SetBkColor(clBlack);
        TRect focusRect = inner;
        if (!In(selectionOptions, toExtendedFocus) && fullRow && explorer)
            focusRect = fullRect;
        else if (gridExtensions)
            focusRect = PaintInfo.CellRect;
        canvas->DrawFocusRect(focusRect);
        canvas->SetTextColor(oldText);
        canvas->SetBkColor(oldBack);
    }
}

void TBaseLazyTree::PaintRubberBand(TCanvas* Target, int WindowOrgX, TRect TargetRect, const TRect& SelectionRect)
{
    const bool blended = (FDrawSelectionMode == smBlendedRectangle || HasState(tsUseThemes)) && CpuHasMmx;
    if (blended && FPaintBitmap) {
        OffsetRect(TargetRect, WindowOrgX, 0);
        const TRect ordered = NormalizeRectCorners(SelectionRect);
        TRect R;
        if (!IntersectRect(R, ordered, TargetRect))
            return;
        OffsetRect(R, -WindowOrgX, 0);
        AlphaBlendArea(nullptr, FPaintBitmap, R, {0, 0}, amMasterColor, FSelectionBlendFactor,
                       ColorToRGB(FColors->SelectionRectangleBlendColor()));
        Target->Brush()->SetColor(FColors->SelectionRectangleBorderColor());
        Target->FrameRect(SelectionRect);
        return;
    }
    const TColor oldText = Target->SetTextColor(clWhite);
    const TColor oldBack = Target->SetBkColor(clBlack);
    Target->DrawFocusRect(SelectionRect);
    Target->SetTextColor(oldText);
    Target->SetBkColor(oldBack);
}

// ---- the pass

// What one pass of PaintTree shares between its rows, its cells and the area below.
struct TLTPaintPass {
    TCanvas* TargetCanvas = nullptr;
    TCanvas* Canvas = nullptr;
    TBitmap* Bitmap = nullptr;  // the row bitmap; null when unbuffered
    TRect Window;
    TPoint Target;
    TRect TargetRect;
    int Width = 0;
    int MaximumBottom = 0;
    TLTInternalPaintOptions PaintOptions = 0;  // as the caller asked
    TLTInternalPaintOptions BaseOptions = 0;   // selection and focus rules applied
    bool UseBackground = false;
    bool ShowImages = false;
    bool ShowStateImages = false;
    bool ShowCheckImages = false;
    bool ShowRubberBand = false;
    TRect SelectionRect;
    int ButtonX = 0;
    TLineImage LineImage;
    TColumnIndex FirstColumn = InvalidColumn;  // the first column a row painted
};

void TBaseLazyTree::PaintTree(TCanvas* TargetCanvas, const TRect& Window, TPoint Target,
                              TLTInternalPaintOptions PaintOptions, TPixelFormat PixelFormat)
{
    if (HasState(tsPainting))
        return;
    DoStateChange(TreeBit(tsPainting));
    // Whatever leaves the pass, it leaves tsPainting and restores what it borrowed.
    struct PassGuard {
        TBaseLazyTree* T;
        TCanvas* Target;
        int SavedDC = 0;
        std::unique_ptr<TBitmap> Bitmap;
        ~PassGuard()
        {
            T->FPaintBitmap = nullptr;
            if (SavedDC)
                Target->RestoreDC(SavedDC);
            T->DoStateChange(0, TreeBit(tsPainting));
        }
    } guard{this, TargetCanvas, 0, nullptr};

    DoBeforePaint(TargetCanvas);
    TLTPaintPass P;
    P.TargetCanvas = TargetCanvas;
    P.Window = Window;
    P.Target = Target;
    P.PaintOptions = PaintOptions;
    P.Width = Window.Right - Window.Left;
    const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
    if (HasPaint(PaintOptions, poUnbuffered)) {
        guard.SavedDC = TargetCanvas->SaveDC();
        P.Canvas = TargetCanvas;
    } else {
        guard.Bitmap = std::make_unique<TBitmap>();
        const bool wants32 = CpuHasMmx && (FDrawSelectionMode == smBlendedRectangle || HasState(tsUseThemes) ||
                                           In(treePaint, toUseBlendedSelection));
        guard.Bitmap->SetPixelFormat(wants32 ? pf32bit : PixelFormat);
        P.Bitmap = guard.Bitmap.get();
        P.Canvas = P.Bitmap->Canvas();
        FPaintBitmap = P.Bitmap;
    }
    P.SelectionRect = NormalizeRectCorners(FNewSelRect);
    P.ShowRubberBand = IsMouseSelecting() && !P.SelectionRect.IsEmpty() && GetKeyState(VK_LBUTTON) < 0;
    P.UseBackground = In(treePaint, toShowBackground) && HasPaint(PaintOptions, poBackground) && UsableBackground();
    P.ShowImages = FImages != nullptr;
    P.ShowStateImages = FStateImages != nullptr;
    P.ShowCheckImages = FCheckImages != nullptr && In(TreeOptions().MiscOptions(), toCheckSupport);
    P.BaseOptions = TLTInternalPaintOptions(PaintOptions & ~PaintBit(poDrawSelection));
    if (!In(treePaint, toAlwaysHideSelection) && (Focused() || !In(treePaint, toHideSelection)))
        P.BaseOptions = TLTInternalPaintOptions(P.BaseOptions | (PaintOptions & PaintBit(poDrawSelection)));
    if (In(treePaint, toHideFocusRect))
        P.BaseOptions = TLTInternalPaintOptions(P.BaseOptions & ~PaintBit(poDrawFocusRect));

    int NodeTop = 0;
    PLazyNode Node = GetNodeAt(0, Window.Top, false, NodeTop);
    if (!Node)
        NodeTop = Window.Top;
    if (P.ShowRubberBand)
        OffsetRect(P.SelectionRect, 0, -NodeTop);
    P.TargetRect = {Target.X, Target.Y + NodeTop - Window.Top, Target.X + P.Width, Target.Y + NodeTop - Window.Top};
    TargetCanvas->SetFont(Font());
    P.MaximumBottom = Target.Y + Window.Bottom - Window.Top;
    P.ButtonX = RoundHalfEven((static_cast<int>(Indent()) - FPlusBM->Width()) / 2.0) + 1;

    while (Node) {
        PaintRow(P, Node, NodeTop);
        P.TargetRect.Top += Node->NodeHeight;
        if (P.TargetRect.Top >= P.MaximumBottom)
            break;
        if (P.ShowRubberBand)
            OffsetRect(P.SelectionRect, 0, -static_cast<int>(Node->NodeHeight));
        Node = GetNextVisible(Node, true);
    }
    if (P.TargetRect.Top < P.MaximumBottom)
        PaintAreaBelow(P);

    if (IsEmpty() && !FEmptyListMessage.empty()) {
        TargetCanvas->SetFont(Font());
        TargetCanvas->Font()->SetColor(clGrayText);
        TargetCanvas->SetBkMode(TRANSPARENT);
        TRect R{OffsetX() + 2, 2, OffsetX() + this->Width(), this->Height() - 2};
        TargetCanvas->DrawText(FEmptyListMessage, R, DT_LEFT | DT_NOCLIP | DT_WORDBREAK);
    }
    DoAfterPaint(TargetCanvas);
}

void TBaseLazyTree::PaintRow(TLTPaintPass& P, PLazyNode Node, int& NodeTop)
{
    const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
    TCanvas* canvas = P.Canvas;
    int SelectLevel = BuildLineImage(Node, P.LineImage);
    const int IndentSize = static_cast<int>(P.LineImage.size());
    if (!In(treePaint, toFixedIndent))
        P.ButtonX = RoundHalfEven((static_cast<int>(Indent()) - FPlusBM->Width()) / 2.0) +
                    (IndentSize - 1) * static_cast<int>(Indent()) + 1;
    if (!Node->Has(vsInitialized))
        InitializeNode(Node);
    if (Node->Has(vsSelected) && !In(treePaint, toChildrenAbove))
        ++SelectLevel;
    MeasureItemHeight(canvas, Node);
    const int NodeHeight = Node->NodeHeight;
    TLTPaintInfo PaintInfo{};
    PaintInfo.Canvas = canvas;
    PaintInfo.BrushOrigin = {P.Window.Left & 1, NodeTop & 1};
    NodeTop += NodeHeight;
    P.TargetRect.Bottom = P.TargetRect.Top + NodeHeight;
    if (SelectLevel == 0 && HasPaint(P.PaintOptions, poSelectedOnly))
        return;
    if (!P.Bitmap) {
        SetCanvasOrigin(canvas, P.Window.Left - P.Target.X, -P.TargetRect.Top);
        ClipCanvasToRect(canvas, {0, 0, P.TargetRect.Width(), std::min(NodeHeight, P.MaximumBottom - P.TargetRect.Top)});
    } else {
        if (P.Bitmap->Height() != NodeHeight || P.Bitmap->Width() != P.Width) {
            // Fresh pixels for a new height.
            P.Bitmap->SetSize(0, 0);
            P.Bitmap->SetSize(P.Width, NodeHeight);
        }
        SetCanvasOrigin(canvas, P.Window.Left, 0);
    }
    canvas->SetBrushOrg(PaintInfo.BrushOrigin.X, PaintInfo.BrushOrigin.Y);
    const TRect ItemRect{0, 0, std::max(ClientWidth(), FRangeX), NodeHeight};
    int VAlign = 0, ButtonY = 0;
    ComputeNodeVAlign(Node, VAlign, ButtonY);
    PaintInfo.Node = Node;
    if (!DoBeforeItemPaint(canvas, Node, ItemRect)) {
        PaintInfo.PaintOptions = P.BaseOptions;
        EraseNodeRow(PaintInfo, P.UseBackground, {P.Window.Left, P.TargetRect.Top, P.Window.Right, P.TargetRect.Bottom},
                     true);
        PaintRowCells(P, PaintInfo, ItemRect, IndentSize, VAlign, ButtonY);
        DoAfterItemPaint(canvas, Node, ItemRect);
        if (Node == FDropTargetNode && In(treePaint, toShowDropmark) && HasPaint(P.PaintOptions, poDrawDropMark))
            DrawDropMark(canvas, Node, ItemRect);
    }
    if (P.ShowRubberBand)
        PaintRubberBand(canvas, P.Window.Left, {0, 0, P.Width, NodeHeight}, P.SelectionRect);
    if (!P.Bitmap)
        canvas->SelectClipRgn(nullptr);
    else
        BitBlt(P.TargetCanvas, P.TargetRect.Left, P.TargetRect.Top, P.Bitmap->Width(), P.Bitmap->Height(), canvas,
               P.Window.Left, 0, SRCCOPY);
}

void TBaseLazyTree::PaintRowCells(TLTPaintPass& P, TLTPaintInfo& PaintInfo, const TRect& ItemRect, int IndentSize,
                                  int VAlign, int ButtonY)
{
    PLazyNode Node = PaintInfo.Node;
    TLazyTreeColumns& cols = FHeader->Columns();
    const bool UseColumns = FHeader->UseColumns();
    PaintInfo.CellRect = ItemRect;
    PaintInfo.Column = NoColumn;
    PaintInfo.Position = 0;
    if (UseColumns) {
        PaintInfo.Column = cols.GetFirstVisibleColumn();
        if (PaintInfo.Column != InvalidColumn) {
            PaintInfo.Position = cols[PaintInfo.Column]->Position();
            PaintInfo.CellRect.Right = PaintInfo.CellRect.Left + cols[PaintInfo.Column]->Width();
        }
    }
    while ((PaintInfo.Column != InvalidColumn || !UseColumns) && PaintInfo.CellRect.Left < P.Window.Right) {
        const TLazyTreeColumn* col = nullptr;
        if (UseColumns) {
            PaintInfo.Column = cols.PositionToIndex()[PaintInfo.Position];
            col = cols[PaintInfo.Column];
            if (P.FirstColumn == InvalidColumn)
                P.FirstColumn = PaintInfo.Column;
            PaintInfo.BidiMode = col->BiDiMode();
            PaintInfo.Alignment = col->Alignment();
        } else {
            PaintInfo.Column = NoColumn;
            PaintInfo.BidiMode = FBiDiMode;
            PaintInfo.Alignment = FAlignment;
        }
        auto& opts = PaintInfo.PaintOptions;
        opts = P.BaseOptions;
        if (HasState(tsEditing) && Node == FFocusedNode && (PaintInfo.Column == FEditColumn || !UseColumns))
            opts = TLTInternalPaintOptions(opts & ~PaintBit(poDrawSelection));
        if (!UseColumns || In(col->Options(), coParentColor) ||
            (Node->Has(vsSelected) && In(TreeOptions().SelectionOptions(), toFullRowSelect) && HasPaint(opts, poDrawSelection)))
            opts = TLTInternalPaintOptions(opts & ~PaintBit(poColumnColor));
        const bool IsMainColumn = PaintInfo.Column == FHeader->MainColumn;
        if (PaintInfo.BidiMode != bdLeftToRight) {
            if (PaintInfo.Alignment == taLeftJustify)
                PaintInfo.Alignment = taRightJustify;
            else if (PaintInfo.Alignment == taRightJustify)
                PaintInfo.Alignment = taLeftJustify;
        }
        TColumnIndex NextColumn = InvalidColumn;
        if ((UseColumns && !In(col->Options(), coVisible)) || (HasPaint(P.PaintOptions, poMainOnly) && !IsMainColumn)) {
            NextColumn = cols.GetNextVisibleColumn(PaintInfo.Column);
        } else {
            SpanCellRect(PaintInfo, NextColumn);
            if (PaintInfo.CellRect.Right > P.Window.Left)
                PaintCell(PaintInfo, P.Window, P.TargetRect, P.MaximumBottom, IsMainColumn, P.ShowCheckImages,
                          P.ShowStateImages, P.ShowImages, IndentSize, P.LineImage, VAlign, P.ButtonX, ButtonY);
        }
        if (!UseColumns)
            break;
        P.Canvas->SelectClipRgn(nullptr);
        if (!P.Bitmap)
            ClipCanvasToRect(P.Canvas, {0, 0, P.TargetRect.Width(),
                                        std::min(static_cast<int>(Node->NodeHeight), P.MaximumBottom - P.TargetRect.Top)});
        if (PaintInfo.CellRect.Left >= P.Window.Right || NextColumn == InvalidColumn)
            break;
        PaintInfo.Position = cols[NextColumn]->Position();
        if (In(cols[NextColumn]->Options(), coVisible)) {
            cols[NextColumn]->GetAbsoluteBounds(PaintInfo.CellRect.Left, PaintInfo.CellRect.Right);
            PaintInfo.CellRect.Bottom = Node->NodeHeight;
            PaintInfo.ContentRect.Bottom = Node->NodeHeight;
        }
    }
}

void TBaseLazyTree::SpanCellRect(TLTPaintInfo& PaintInfo, TColumnIndex& NextNonEmpty)
{
    NextNonEmpty = FHeader->Columns().GetNextVisibleColumn(PaintInfo.Column);
}

void TBaseLazyTree::PaintAreaBelow(TLTPaintPass& P)
{
    TCanvas* canvas = P.Canvas;
    const TPoint below{P.TargetRect.Left, P.TargetRect.Top};
    const TRect area{0, 0, P.Width, P.MaximumBottom - below.Y};
    if (P.Bitmap) {
        P.Bitmap->SetSize(0, 0);
        P.Bitmap->SetPixelFormat(pf32bit);
        P.Bitmap->SetSize(area.Width(), area.Height());
    } else {
        SetCanvasOrigin(canvas, -below.X, -below.Y);
        canvas->SelectClipRgn(nullptr);
        ClipCanvasToRect(canvas, area);
    }
    if (!DoPaintBackground(canvas, area)) {
        const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
        if (P.UseBackground) {
            SetCanvasOrigin(canvas, 0, 0);
            if (!P.Bitmap)
                SetCanvasOrigin(canvas, -below.X, -below.Y);
            if (In(treePaint, toStaticBackground))
                PaintBackgroundStatic(FBackground->Bitmap(), canvas, area, below);
            else
                PaintBackgroundTiled(FBackground->Bitmap(), canvas, area, below);
        } else if (FHeader->UseColumns()) {
            SetCanvasOrigin(canvas, P.Bitmap ? below.X : 0, P.Bitmap ? 0 : -below.Y);
            PaintColumnStrips(P, area, below);
        } else {
            if (P.Bitmap)
                SetCanvasOrigin(canvas, 0, 0);
            canvas->Brush()->SetColor(FColors->BackGroundColor());
            canvas->FillRect(area);
        }
    }
    if (P.Bitmap)
        SetCanvasOrigin(canvas, 0, 0);
    if (P.ShowRubberBand) {
        TRect R = NormalizeRectCorners(FNewSelRect);
        OffsetRect(R, -P.Window.Left, FOffsetY - below.Y);
        canvas->SetBrushOrg(0, below.X & 1);
        PaintRubberBand(canvas, 0, area, R);
    }
    if (P.Bitmap)
        BitBlt(P.TargetCanvas, below.X, below.Y, P.Bitmap->Width(), P.Bitmap->Height(), canvas, 0, 0, SRCCOPY);
}

// Below the last row each visible column keeps its colour (and its vertical grid line with
// toFullVertGridLines), in client coordinates; the rest is background.
void TBaseLazyTree::PaintColumnStrips(TLTPaintPass& P, const TRect& Area, TPoint Below)
{
    TCanvas* canvas = P.Canvas;
    TLazyTreeColumns& cols = FHeader->Columns();
    const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
    const bool fullGrid = HasPaint(P.PaintOptions, poGridLines) && In(treePaint, toFullVertGridLines) &&
                          In(treePaint, toShowVertGridLines);
    const bool autoResize = In(FHeader->Options(), hoAutoResize);
    TColumnIndex column = P.FirstColumn;
    if (column == InvalidColumn) {
        for (column = cols.GetFirstVisibleColumn(); column != InvalidColumn; column = cols.GetNextVisibleColumn(column)) {
            int l, r;
            cols.GetColumnBounds(column, l, r);
            if (r > 0) break;
        }
    }
    const int right = Area.Right + Below.X;
    int previousRight = Below.X - 1;
    TRect cell{Below.X, 0, Below.X, Area.Bottom};
    canvas->Font()->SetColor(FColors->GridLineColor());
    for (; column != InvalidColumn && previousRight < right; column = cols.GetNextVisibleColumn(column)) {
        int l, r;
        cols.GetColumnBounds(column, l, r);
        if (r < previousRight) continue;
        cell.Left = previousRight;
        cell.Right = r;
        previousRight = r;
        if (fullGrid && (!autoResize || column < cols.Count() - 1)) {
            TLTPaintInfo line{};
            line.Canvas = canvas;
            DottedVertLine(line, cell.Top, cell.Bottom, cell.Right - 1);
            --cell.Right;
        }
        const TLazyTreeColumn* c = cols[column];
        canvas->Brush()->SetColor(In(c->Options(), coParentColor) ? FColors->BackGroundColor() : c->Color());
        canvas->FillRect(cell);
    }
    if (cell.Right < right) {
        cell.Left = cell.Right + (fullGrid && !autoResize ? 1 : 0);
        cell.Right = right;
        canvas->Brush()->SetColor(FColors->BackGroundColor());
        canvas->FillRect(cell);
    }
    SetCanvasOrigin(canvas, 0, 0);
}

void TBaseLazyTree::PaintCell(TLTPaintInfo& PaintInfo, const TRect& Window, const TRect& TargetRect,
                              int MaximumBottom, bool IsMainColumn, bool ShowCheckImages, bool ShowStateImages,
                              bool ShowImages, int IndentSize, const TLineImage& LineImage, int VAlign, int ButtonX,
                              int ButtonY)
{
    TCanvas* canvas = PaintInfo.Canvas;
    PLazyNode Node = PaintInfo.Node;
    const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
    const TLTAutoOptions treeAuto = TreeOptions().AutoOptions();

    PaintInfo.NodeWidth = DoGetNodeWidth(Node, PaintInfo.Column, canvas);
    PaintInfo.ContentRect = PaintInfo.CellRect;
    if (PaintInfo.BidiMode == bdLeftToRight)
        PaintInfo.ContentRect.Left += FMargin;
    else
        PaintInfo.ContentRect.Right -= FMargin;

    TLTImageSlot& check = PaintInfo.ImageInfo[imgCheck];
    check = TLTImageSlot{};
    if (IsMainColumn && ShowCheckImages) {
        check.ImageIndex = CheckImageIndex(Node, ctNone, csUncheckedNormal, true);
        if (check.ImageIndex >= 0) {
            PlaceImage(FCheckImages, PaintInfo.BidiMode, VAlign, PaintInfo.ContentRect, check);
            check.Ghosted = false;
        } else {
            check.ImageIndex = -1;
        }
    }
    TLTImageSlot& state = PaintInfo.ImageInfo[imgState];
    state = TLTImageSlot{};
    if (ShowStateImages) {
        QueryImageIndex(PaintInfo, ikState, imgState, FStateImages);
        if (state.ImageIndex >= 0)
            PlaceImage(FStateImages, PaintInfo.BidiMode, VAlign, PaintInfo.ContentRect, state);
    }
    TLTImageSlot& normal = PaintInfo.ImageInfo[imgNormal];
    normal = TLTImageSlot{};
    if (ShowImages) {
        QueryImageIndex(PaintInfo, Node->Has(vsSelected) ? ikSelected : ikNormal, imgNormal, FImages);
        if (normal.ImageIndex >= 0)
            PlaceImage(normal.ImageList, PaintInfo.BidiMode, VAlign, PaintInfo.ContentRect, normal);
    }
    const int Levels = In(treePaint, toFixedIndent) ? 1 : IndentSize;
    if (IsMainColumn)
        ShiftByIndent(PaintInfo, Levels);
    if (FHeader->UseColumns())
        ClipCellToWindow(PaintInfo, Window, TargetRect, MaximumBottom);

    if (HasPaint(PaintInfo.PaintOptions, poGridLines) && In(treePaint, toShowHorzGridLines)) {
        canvas->Font()->SetColor(FColors->GridLineColor());
        const int bottom = PaintInfo.CellRect.Bottom - 1;
        if (IsMainColumn && FLineMode == lmBands) {
            const int indentWidth = static_cast<int>(Indent()) * Levels;
            if (PaintInfo.BidiMode == bdLeftToRight)
                DottedHorzLine(PaintInfo, PaintInfo.CellRect.Left + indentWidth, PaintInfo.CellRect.Right - 1, bottom);
            else
                DottedHorzLine(PaintInfo, PaintInfo.CellRect.Left, PaintInfo.CellRect.Right - indentWidth - 1, bottom);
        } else {
            DottedHorzLine(PaintInfo, PaintInfo.CellRect.Left, PaintInfo.CellRect.Right, bottom);
        }
        --PaintInfo.CellRect.Bottom;
        --PaintInfo.ContentRect.Bottom;
    }

    if (FHeader->UseColumns())
        PaintVertGridLine(PaintInfo);
    PaintCellHighlight(PaintInfo, Window.Left, Window.Width());

    if (IsMainColumn) {
        if (In(treePaint, toShowTreeLines) && (!In(treePaint, toHideTreeLinesIfThemed) || !HasState(tsUseThemes)))
            PaintTreeLineLevels(PaintInfo, VAlign, IndentSize, LineImage);
        if (In(treePaint, toShowButtons) && Node->Has(vsHasChildren) &&
            (!Node->Has(vsAllChildrenHidden) || !In(treeAuto, toAutoHideButtons)))
            PaintExpandButton(canvas, Node, PaintInfo.Column, PaintInfo.CellRect, ButtonX, ButtonY, PaintInfo.BidiMode);
        if (check.ImageIndex >= 0)
            PaintCheckControl(canvas, check, Node->Has(vsSelected));
    }
    if (state.ImageIndex >= 0)
        PaintNodeImage(PaintInfo, imgState, false);
    if (normal.ImageIndex >= 0)
        PaintNodeImage(PaintInfo, imgNormal, true);
    // The editor covers the edited cell.
    if (!(HasState(tsEditing) && Node == FFocusedNode && (PaintInfo.Column == FEditColumn || !FHeader->UseColumns())))
        PaintNodeContent(PaintInfo);
    DoAfterCellPaint(canvas, Node, PaintInfo.Column, PaintInfo.CellRect);
}

void TBaseLazyTree::ClipCellToWindow(TLTPaintInfo& PaintInfo, const TRect& Window, const TRect& TargetRect,
                                     int MaximumBottom)
{
    TRect clip = PaintInfo.CellRect;
    if (!FPaintBitmap) {
        // Unbuffered: the row's canvas origin puts the row top at 0; the parts of the cell
        // outside the window (left, right, below the last target row) are cut off.
        clip.Left = std::max(clip.Left, Window.Left);
        clip.Right = std::min(clip.Right, Window.Right);
        clip.Bottom -= std::max(0, TargetRect.Bottom - MaximumBottom);
    }
    ClipCanvasToRect(PaintInfo.Canvas, clip);
}

void TBaseLazyTree::PaintVertGridLine(TLTPaintInfo& PaintInfo)
{
    const TLTPaintOptions treePaint = TreeOptions().PaintOptions();
    if (!HasPaint(PaintInfo.PaintOptions, poGridLines) || !In(treePaint, toShowVertGridLines))
        return;
    TLazyTreeColumns& cols = FHeader->Columns();
    const TLazyTreeColumn* col = cols[PaintInfo.Column];
    if (In(FHeader->Options(), hoAutoResize) && static_cast<int>(PaintInfo.Position) + 1 == cols.Count())
        return;
    // The client's right edge is the tree's border: no line there, unless the column is fixed.
    int l, r;
    cols.GetColumnBounds(PaintInfo.Column, l, r);
    if (r == ClientWidth() && !In(col->Options(), coFixed))
        return;
    if (PaintInfo.BidiMode == bdLeftToRight || !CellIsEmpty(PaintInfo.Node, PaintInfo.Column)) {
        PaintInfo.Canvas->Font()->SetColor(FColors->GridLineColor());
        const bool selectedBackground =
            HasPaint(PaintInfo.PaintOptions, poDrawSelection) && In(TreeOptions().SelectionOptions(), toFullRowSelect) &&
            PaintInfo.Node->Has(vsSelected) && !In(treePaint, toUseBlendedSelection) && !HasState(tsUseExplorerTheme);
        DottedVertLine(PaintInfo, PaintInfo.CellRect.Top, PaintInfo.CellRect.Bottom, PaintInfo.CellRect.Right - 1,
                       selectedBackground);
    }
    --PaintInfo.CellRect.Right;
    --PaintInfo.ContentRect.Right;
}

void TBaseLazyTree::DrawDropMark(TCanvas* Canvas, PLazyNode Node, const TRect& R)
{
    (void)Node;
    if (FLastDropMode != dmAbove && FLastDropMode != dmBelow)
        return;
    const TPenStyle oldStyle = Canvas->Pen()->Style();
    const TColor oldColor = Canvas->Brush()->Color();
    Canvas->Pen()->SetStyle(psClear);
    Canvas->Brush()->SetColor(FColors->DropMarkColor());
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    if (FLastDropMode == dmAbove)
        Canvas->Polygon({{L + 2, T}, {Rt - 2, T}, {Rt - 2, T + 6}, {Rt - 6, T + 2}, {L + 6, T + 2}, {L + 2, T + 6}});
    else
        Canvas->Polygon({{L + 2, B - 1}, {Rt - 2, B - 1}, {Rt - 2, B - 8}, {Rt - 7, B - 3}, {L + 7, B - 3}, {L + 2, B - 8}});
    Canvas->Pen()->SetStyle(oldStyle);
    Canvas->Brush()->SetColor(oldColor);
}

TRect TBaseLazyTree::GetTreeRect() const
{
    // The tree's extent is never smaller than its client area: a short tree shows (and
    // prints) its whole window.
    return {0, 0, std::max(FRangeX, ClientWidth()),
            static_cast<int>(std::max<std::int64_t>(RangeY(), ClientHeight()))};
}

} // namespace vtree

namespace vtree {

using namespace plat;

// ---- set-up, window painting, display rectangles

void TBaseLazyTree::InitView()
{
    FColors = std::make_unique<TLTColors>(this);
    FBackground = std::make_unique<TPicture>();
    FPlusBM = std::make_unique<TBitmap>();
    FHotPlusBM = std::make_unique<TBitmap>();
    FSelectedHotPlusBM = std::make_unique<TBitmap>();
    FMinusBM = std::make_unique<TBitmap>();
    FHotMinusBM = std::make_unique<TBitmap>();
    FSelectedHotMinusBM = std::make_unique<TBitmap>();
    ApplyCheckImageKind();
    // The pictures exist from the start, so a tree paints into any canvas before its
    // window is made; the window's creation rebuilds them in its final colours.
    RebuildPaintResources(true, true);
}

void TBaseLazyTree::RefreshVclStyleFlag()
{
    FVclStyleEnabled = CustomStyleActive();
}

void TBaseLazyTree::SetStyleElements(TLTStyleElements Value)
{
    if (Value == FStyleElements)
        return;
    FStyleElements = Value;
    InvalidateTree();
}

void TBaseLazyTree::CreateWnd()
{
    TCustomControl::CreateWnd();
    RefreshVclStyleFlag();
    // The looks are decided anew with every window.
    const bool themes = ThemeServicesEnabled() && In(TreeOptions().PaintOptions(), toThemeAware);
    const bool explorer = themes && In(TreeOptions().PaintOptions(), toUseExplorerTheme) && SystemIsVistaOrLater;
    DoStateChange((themes ? TreeBit(tsUseThemes) : 0) | (explorer ? TreeBit(tsUseExplorerTheme) : 0),
                  (themes ? 0 : TreeBit(tsUseThemes)) | (explorer ? 0 : TreeBit(tsUseExplorerTheme)));
    FitDefaultHeightToFont();
    RebuildPaintResources(true, true);
    UpdateDropTargetRegistration();
}

void TBaseLazyTree::Paint()
{
    TCanvas* canvas = Canvas();
    const TRect update = canvas->ClipRect();
    if (update.IsEmpty())
        return;
    const TLTInternalPaintOptions options =
        PaintSet({poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines});
    // The fixed columns are painted without horizontal scrolling, the rest in full client height.
    const int fixedWidth = FHeader->UseColumns() ? FHeader->Columns().GetVisibleFixedWidth() : 0;
    // In right-to-left alignment the columns end at the right edge: the tree's x runs
    // RTLOffset pixels behind the client's.
    const int rtlOffset = ColumnsRightToLeftOffset();
    TRect window = update;
    TPoint target{update.Left, update.Top};
    if (fixedWidth != 0) {
        const TRect client = ClientRect();
        TRect fixed{client.Left, client.Top, fixedWidth, client.Bottom};
        OffsetRect(fixed, -rtlOffset, -OffsetY());
        PaintTree(canvas, fixed, client.TopLeft(), options, pfDevice);
        if (client.Width() <= fixedWidth)
            return;
        window = {fixedWidth, client.Top, client.Right, client.Bottom};
        target = {fixedWidth, client.Top};
    }
    OffsetRect(window, FEffectiveOffsetX - rtlOffset, -OffsetY());
    PaintTree(canvas, window, target, options, pfDevice);
}

void TBaseLazyTree::RedrawFrame()
{
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_NOCHILDREN);
}

void TBaseLazyTree::SetIndent(std::uint32_t Value)
{
    if (Value == FIndent)
        return;
    FIndent = Value;
    if (!(ComponentState() & csLoading) && UpdateCount() == 0 && HandleAllocated()) {
        UpdateScrollBars(true);
        Invalidate();
    }
}

void TBaseLazyTree::SetCheckImageKind(TCheckImageKind Value)
{
    if (Value == FCheckImageKind)
        return;
    FCheckImageKind = Value;
    ApplyCheckImageKind();
    if (HandleAllocated() && UpdateCount() == 0 && !(ComponentState() & csLoading))
        plat::InvalidateRect(Handle(), nullptr, false);
}

TRect TBaseLazyTree::GetDisplayRect(PLazyNode Node, TColumnIndex Column, bool TextOnly, bool Unclipped)
{
    if (!Node)
        throw EAssertionFailed(u"Node must not be nil.");
    if (Node == RootNode())
        throw EAssertionFailed(u"Node must not be the hidden root node.");
    const bool mainColumnHit = Column == NoColumn || Column == Header().MainColumn;
    if (!Node->Has(vsInitialized))
        InitializeNode(Node);
    TRect result{};
    if (!GetEffectivelyVisible(Node))
        return result;
    const TLTPaintOptions po = TreeOptions().PaintOptions();
    int indent = 0;
    if (!In(po, toFixedIndent)) {
        for (PLazyNode p = Node; p != RootNode(); p = p->Parent) {
            // The hidden root counts as expanded.
            if (!p->Has(vsVisible) || (p->Parent != RootNode() && !p->Parent->Has(vsExpanded)))
                return result;
            if (mainColumnHit && p != Node)
                indent += static_cast<int>(Indent());
        }
    }
    const int top = static_cast<int>(GetDisplayTop(Node));
    result = {0, top, std::max(ClientWidth(), FRangeX), top + Node->NodeHeight};
    const bool inColumn = Column > NoColumn && FHeader->Columns().IsValidColumn(Column);
    if (inColumn) {
        // The column's bounds are already in client coordinates (scrolled unless fixed).
        FHeader->Columns().GetColumnBounds(Column, result.Left, result.Right);
        --result.Right;
    } else {
        OffsetRect(result, -FEffectiveOffsetX, 0);
    }
    OffsetRect(result, 0, OffsetY());
    if (!TextOnly)
        return result;

    int offset = FMargin + indent;
    TAlignment alignment = inColumn ? FHeader->Columns()[Column]->Alignment() : FAlignment;
    const bool rtl = (inColumn ? FHeader->Columns()[Column]->BiDiMode() : FBiDiMode) != bdLeftToRight;
    if (mainColumnHit) {
        if (In(po, toShowRoot))
            offset += static_cast<int>(Indent());
        if (In(TreeOptions().MiscOptions(), toCheckSupport) && FCheckImages && Node->CheckType != ctNone)
            offset += FCheckImages->Width() + 2;
    }
    if (FStateImages && HasNodeImage(Node, ikState, Column))
        offset += FStateImages->Width() + 2;
    if (FImages && HasNodeImage(Node, ikNormal, Column))
        offset += FImages->Width() + 2;
    if (rtl) {
        result.Right -= offset;
        if (alignment == taLeftJustify)
            alignment = taRightJustify;
        else if (alignment == taRightJustify)
            alignment = taLeftJustify;
    } else {
        result.Left += offset;
    }
    const int textWidth = DoGetNodeWidth(Node, Column, Canvas());
    const int cellHeight = result.Height();
    if (Unclipped) {
        if (result.Width() < textWidth - 1)
            alignment = rtl ? taRightJustify : taLeftJustify;
        TTextMetric tm;
        Canvas()->GetTextMetrics(tm);
        const int diff = std::min(tm.tmHeight, cellHeight) - result.Height();
        if (diff > 0) {
            result.Top -= (diff + 1) / 2;
            result.Bottom += (diff + 1) / 2;
        }
        switch (alignment) {
        case taRightJustify:
            result.Left = result.Right - textWidth;
            break;
        case taCenter:
            result.Left = (result.Left + result.Right - textWidth) / 2;
            result.Right = result.Left + textWidth;
            break;
        case taLeftJustify:
            result.Right = result.Left + textWidth - 1;
            break;
        }
    } else if (textWidth < result.Width()) {
        switch (alignment) {
        case taRightJustify:
            result.Left = result.Right - textWidth;
            break;
        case taCenter:
            result.Left = (result.Left + result.Right - textWidth) / 2;
            result.Right = result.Left + textWidth;
            break;
        case taLeftJustify:
            result.Right = result.Left + textWidth;
            break;
        }
    }
    return result;
}

} // namespace vtree

namespace vtree {

using namespace plat;

void TBaseLazyTree::InvalidateChildren(PLazyNode Node, bool Recursive)
{
    PLazyNode run;
    if (Node) {
        if (!Node->Has(vsInitialized))
            InitializeNode(Node);
        InvalidateNode(Node);
        if (Node->Has(vsHasChildren) && Node->ChildCount == 0)
            InitializeChildren(Node);
        run = Node->FirstChild;
    } else {
        run = RootNode()->FirstChild;
    }
    for (; run; run = run->NextSibling) {
        InvalidateNode(run);
        if (Recursive)
            InvalidateChildren(run, true);
    }
}

void TBaseLazyTree::RepaintNode(PLazyNode Node)
{
    if (!Node || Node == RootNode() || !HandleAllocated())
        return;
    const TRect r = GetDisplayRect(Node, NoColumn, false);
    RedrawWindow(Handle(), &r, RDW_INVALIDATE | RDW_VALIDATE | RDW_NOERASE | RDW_NOCHILDREN | RDW_UPDATENOW);
}

int TBaseLazyTree::VisibleContentWidth()
{
    int nodeTop = 0;
    PLazyNode node = GetNodeAt(0, 0, true, nodeTop);
    if (!node)
        return FMargin;
    const bool showRoot = In(TreeOptions().PaintOptions(), toShowRoot);
    int level = static_cast<int>(GetNodeLevel(node)) + (showRoot ? 1 : 0);
    int x = level * static_cast<int>(Indent());
    if (FStateImages)
        x += FStateImages->Width() + 2;
    if (FImages)
        x += FImages->Width() + 2;
    const bool checks = In(TreeOptions().MiscOptions(), toCheckSupport) && FCheckImages;
    const int checkWidth = checks ? FCheckImages->Width() + 2 : 0;
    int widest = 0;
    int bottom = nodeTop;
    while (node) {
        if (!node->Has(vsInitialized))
            InitializeNode(node);
        const int check = checks && node->CheckType != ctNone ? checkWidth : 0;
        widest = std::max(widest, x + check + DoGetNodeWidth(node, NoColumn, nullptr) + NodeExtraWidth(node, NoColumn));
        bottom += static_cast<int>(GetNodeHeight(node));
        if (bottom > ClientHeight())
            break;
        PLazyNode next = GetNextVisible(node, true);
        if (!next)
            break;
        const int nextLevel = static_cast<int>(GetNodeLevel(next)) + (showRoot ? 1 : 0);
        x += (nextLevel - level) * static_cast<int>(Indent());
        level = nextLevel;
        node = next;
    }
    return widest + FMargin;
}

void TBaseLazyTree::FitDefaultHeightToFont()
{
    if (!In(TreeOptions().AutoOptions(), toAutoChangeScale))
        return;
    Canvas()->Font()->Assign(Font());
    const int height = Canvas()->TextHeight(u"Tg");
    if (height > 0 && DefaultNodeHeight() < static_cast<std::uint32_t>(height))
        SetDefaultNodeHeight(static_cast<std::uint32_t>(height));
}

void TBaseLazyTree::ChangeScale(int M, int D)
{
    if (M != D && D != 0 && In(TreeOptions().AutoOptions(), toAutoChangeScale)) {
        // The platform's MulDiv: a 64-bit product, rounded half away from zero.
        auto scale = [&](std::uint32_t V) {
            const std::int64_t p = std::int64_t(V) * M;
            const std::int64_t q = (std::llabs(p) + std::llabs(D) / 2) / std::llabs(D);
            return static_cast<std::uint32_t>(std::max<std::int64_t>(0, ((p < 0) != (D < 0)) ? -q : q));
        };
        SetDefaultNodeHeight(scale(DefaultNodeHeight()));
        SetIndent(scale(Indent()));
    }
    TCustomControl::ChangeScale(M, D);
}

// ---- frame

int TBaseLazyTree::FrameWidth() const
{
    int w = TCustomControl::FrameWidth() + FBorderWidth;
    if (FBevelKind != bkNone) {
        if (FBevelInner != bvNone)
            w += FBevelWidth;
        if (FBevelOuter != bvNone)
            w += FBevelWidth;
    }
    return w;
}

void TBaseLazyTree::PaintNonClientBorder(TCanvas* Canvas)
{
    if (!Canvas || (FBevelKind == bkNone && FBorderWidth == 0))
        return;
    // The area inside the system border.
    const int system = TCustomControl::FrameWidth();
    TRect r{system, system, Width() - system, Height() - system};
    const TRect frame = r;
    if (FBevelKind != bkNone) {
        unsigned edge = 0;
        if (FBevelInner == bvLowered) edge |= BDR_SUNKENINNER;
        if (FBevelInner == bvRaised) edge |= BDR_RAISEDINNER;
        if (FBevelOuter == bvLowered) edge |= BDR_SUNKENOUTER;
        if (FBevelOuter == bvRaised) edge |= BDR_RAISEDOUTER;
        unsigned flags = BF_RECT;
        if (FBevelKind == bkSoft) flags |= BF_SOFT;
        if (FBevelKind == bkFlat) flags |= BF_FLAT;
        if (!Ctl3D()) flags |= BF_MONO;
        TRect edgeRect = r;
        DrawEdge(Canvas, edgeRect, edge, flags);
        int bevel = 0;
        if (FBevelInner != bvNone) bevel += FBevelWidth;
        if (FBevelOuter != bvNone) bevel += FBevelWidth;
        r = {r.Left + bevel, r.Top + bevel, r.Right - bevel, r.Bottom - bevel};
    }
    if (FBorderWidth <= 0)
        return;
    // Only the ring between r and r shrunk by BorderWidth takes the colour.
    const int saved = Canvas->SaveDC();
    Canvas->IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
    Canvas->ExcludeClipRect(r.Left + FBorderWidth, r.Top + FBorderWidth, r.Right - FBorderWidth, r.Bottom - FBorderWidth);
    Canvas->Brush()->SetColor(FColors->BorderColor());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(frame);
    Canvas->RestoreDC(saved);
}

void TBaseLazyTree::SetBevelKind(TBevelKind Value)
{
    if (Value == FBevelKind) return;
    FBevelKind = Value;
    RecreateWnd();
}

void TBaseLazyTree::SetBevelInner(TBevelCut Value)
{
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    RecreateWnd();
}

void TBaseLazyTree::SetBevelOuter(TBevelCut Value)
{
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    RecreateWnd();
}

void TBaseLazyTree::SetBevelWidth(int Value)
{
    Value = std::max(Value, 1);
    if (Value == FBevelWidth) return;
    FBevelWidth = Value;
    RecreateWnd();
}

void TBaseLazyTree::SetBorderWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == FBorderWidth) return;
    FBorderWidth = Value;
    RecreateWnd();
}

// ---- repaint-only setters

void TBaseLazyTree::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    if (!(ComponentState() & csLoading))
        InvalidateTree();
}

void TBaseLazyTree::SetTextMargin(int Value)
{
    if (Value == FTextMargin) return;
    FTextMargin = Value;
    if (!(ComponentState() & csLoading))
        InvalidateTree();
}

void TBaseLazyTree::SetSelectionCurveRadius(int Value)
{
    if (Value == FSelectionCurveRadius) return;
    FSelectionCurveRadius = Value;
    if (HandleAllocated() && !(ComponentState() & csLoading))
        InvalidateTree();
}

void TBaseLazyTree::SetEmptyListMessage(const String& Value)
{
    if (Value == FEmptyListMessage) return;
    FEmptyListMessage = Value;
    InvalidateTree();
}

void TBaseLazyTree::SetBiDiMode(TBiDiMode Value)
{
    if (Value == FBiDiMode) return;
    FBiDiMode = Value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

// ---- window messages

bool TBaseLazyTree::WindowMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        TCustomControl::WndProc(Message);
        PaintNonClientBorder(reinterpret_cast<TCanvas*>(Message.WParam));
        return true;
    case WM_PAINT:
        // The header lives in the non-client area: it follows every client paint.
        TCustomControl::WndProc(Message);
        PaintHeaderToWindow();
        return true;
    case WM_PRINT: {
        TCustomControl::WndProc(Message);
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (canvas && In(FHeader->Options(), hoVisible) && !((Message.LParam & PRF_CHECKVISIBLE) && !Visible()))
            FHeader->Columns().PaintHeader(canvas, FHeader->HeaderRect(), -FEffectiveOffsetX);
        return true;
    }
    case WM_PRINTCLIENT: {
        // The client as the tree paints it, onto the canvas in WParam.
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (!canvas || ((Message.LParam & PRF_CHECKVISIBLE) && !Visible()))
            return true;
        TRect window = ClientRect();
        const TPoint target = window.TopLeft();
        OffsetRect(window, FEffectiveOffsetX, -OffsetY());
        PaintTree(canvas, window, target, PaintSet({poBackground, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines}),
                  pfDevice);
        return true;
    }
    case TVM_GETITEMRECT: {
        // LParam: a rectangle whose first field carries the node on entry.
        auto* r = reinterpret_cast<TRect*>(Message.LParam);
        if (!r) {
            Message.Result = 0;
            return true;
        }
        PLazyNode node;
        std::memcpy(&node, r, sizeof node);
        const bool visible = node && node != RootNode() && GetVisible(node);
        if (visible)
            *r = GetDisplayRect(node, NoColumn, Message.WParam != 0);
        Message.Result = visible ? 1 : 0;
        return true;
    }
    case CM_FONTCHANGED:
        TCustomControl::WndProc(Message);
        if (!(ComponentState() & csLoading)) {
            FitDefaultHeightToFont();
            RebuildPaintResources(true, false);
            InvalidateTree();
        }
        return true;
    case CM_COLORCHANGED:
        if (!(ComponentState() & csLoading)) {
            RebuildPaintResources(true, false);
            InvalidateTree();
        }
        return true;
    case CM_SYSCOLORCHANGE: {
        // The check strips follow the new system colours (the XP strip has none of its own).
        const std::pair<TImageList*, const char16_t*> strips[] = {
            {CheckLightList, u"LT_CHECK_LIGHT"}, {CheckDarkList, u"LT_CHECK_DARK"}, {TickLightList, u"LT_TICK_LIGHT"},
            {TickDarkList, u"LT_TICK_DARK"},     {CheckFlatList, u"LT_FLAT"},       {UtilitiesList, u"LT_UTILITIES"}};
        for (const auto& [list, name] : strips)
            if (list)
                LoadStripIntoImageList(list, name, true);
        TMessage sys = Message;
        sys.Msg = WM_SYSCOLORCHANGE;
        TCustomControl::WndProc(sys);
        Message.Result = sys.Result;
        return true;
    }
    case WM_THEMECHANGED:
        TCustomControl::WndProc(Message);
        if (ThemeServicesEnabled() && In(TreeOptions().PaintOptions(), toThemeAware))
            DoStateChange(TreeBit(tsUseThemes));
        else
            DoStateChange(0, TreeBit(tsUseThemes));
        if (!FChangingTheme && HandleAllocated())
            SetTimer(Handle(), 8, 500);
        FChangingTheme = false;
        return true;
    case CM_BORDERCHANGED:
        TCustomControl::WndProc(Message);
        if (FVclStyleEnabled && (FStyleElements & seBorder))
            RecreateWnd();
        return true;
    case CM_CTL3DCHANGED:
        TCustomControl::WndProc(Message);
        if (BorderStyle() == bsSingle)
            RecreateWnd();
        return true;
    case CM_BIDIMODECHANGED: {
        TCustomControl::WndProc(Message);
        const int offset = FBiDiMode != bdLeftToRight ? FRangeX + FOffsetX - ClientWidth() : -FOffsetX;
        FEffectiveOffsetX = std::max(offset, 0);
        InvalidateTree();
        return true;
    }
    default:
        return false;
    }
}

TRect TBaseLazyTree::InvalidateNode(PLazyNode Node)
{
    // A window that is not on screen has nothing to repaint; not asking for the rectangle
    // also spares a walk over the rows before the node.
    if (UpdateCount() != 0 || !HandleAllocated() || !Showing() || !Node || Node == RootNode())
        return {-1, -1, -1, -1};
    const TRect r = GetDisplayRect(Node, NoColumn, false);
    plat::InvalidateRect(Handle(), &r, false);
    return r;
}

void TBaseLazyTree::InvalidateToBottom(PLazyNode Node)
{
    if (UpdateCount() != 0 || !HandleAllocated() || !Showing())
        return;
    if (!Node || Node == RootNode()) {
        Invalidate();
        return;
    }
    if (!Node->Has(vsInitialized) || !GetEffectivelyVisible(Node))
        return;
    TRect r = GetDisplayRect(Node, NoColumn, false);
    if (r.Top >= ClientHeight())
        return;
    if (In(TreeOptions().PaintOptions(), toChildrenAbove) && Node->Has(vsExpanded))
        r.Top -= static_cast<int>(Node->NodeHeight + Node->TotalHeight);
    r.Bottom = ClientHeight();
    plat::InvalidateRect(Handle(), &r, false);
}

} // namespace vtree
