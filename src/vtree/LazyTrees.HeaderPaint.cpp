// Header painting: the strip through one reused 32-bit bitmap, the fixed columns unscrolled
// beside the scrolled ones, each button clipped to its own rectangle (classic frames by header
// style, glyph or column check box, caption, sort glyph, drop mark), the button layout, and
// the plain and advanced owner-draw modes. Themes and styles stay behind the layer's answers:
// without them the classic frames are used.
#include <algorithm>

#include "LazyTrees.BaseTree.h"
#include "LazyTrees.Header.h"
#include "LazyTrees.SharedResources.h"
#include "LazyTrees.Utils.h"
#include "plat/ImgList.h"

namespace vtree {

using plat::TCanvas;
using plat::TPoint;
using plat::TRect;
using plat::TSize;

namespace {

void Move(TRect& R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

// Frame edge and flags per header style: normal, pressed, hot.
constexpr unsigned FrameEdges[3][3][2] = {
    {{plat::EDGE_RAISED, 0x380B}, {plat::EDGE_RAISED, 0x780F}, {plat::EDGE_RAISED, 0x380B}},
    {{plat::BDR_RAISEDINNER, 0x280B}, {plat::BDR_SUNKENOUTER, 0x280F}, {plat::BDR_RAISEDINNER, 0x280B}},
    {{plat::BDR_RAISEDINNER, 0x380F}, {plat::BDR_SUNKENOUTER, 0x280F}, {plat::BDR_RAISEDINNER, 0x280B}},
};

} // namespace

// ---- the tree's events ---------------------------------------------------------------------------

void TBaseLazyTree::DoHeaderDraw(TCanvas* Canvas, TLazyTreeColumn* Column, const TRect& R, bool Hover, bool Pressed,
                                 TLTDropMarkMode DropMark)
{
    if (OnHeaderDraw) OnHeaderDraw(FHeader.get(), Canvas, Column, R, Hover, Pressed, DropMark);
}

void TBaseLazyTree::DoHeaderDrawQueryElements(THeaderPaintInfo& PaintInfo, THeaderPaintElements& Elements)
{
    if (OnHeaderDrawQueryElements) OnHeaderDrawQueryElements(FHeader.get(), PaintInfo, Elements);
}

void TBaseLazyTree::DoAdvancedHeaderDraw(THeaderPaintInfo& PaintInfo, THeaderPaintElements Elements)
{
    if (OnAdvancedHeaderDraw) OnAdvancedHeaderDraw(FHeader.get(), PaintInfo, Elements);
}

void TBaseLazyTree::PaintHeaderToWindow()
{
    if (!FHeader || !In(FHeader->Options(), hoVisible) || !HandleAllocated()) return;
    std::unique_ptr<TCanvas> canvas = plat::GetWindowCanvas(Handle());
    if (canvas) FHeader->Columns().PaintHeader(canvas.get(), FHeader->HeaderRect(), -FEffectiveOffsetX);
}

// ---- layout ----------------------------------------------------------------------------------------

void TLazyTreeColumn::ComputeHeaderLayout(TCanvas* DC, const TRect& Client, bool UseHeaderGlyph, bool UseSortGlyph,
                                          TPoint& HeaderGlyphPos, TPoint& SortGlyphPos, TSize& SortGlyphSize,
                                          TRect& TextBounds, unsigned DrawFormat)
{
    TLTHeader* header = Owner()->Header();
    TBaseLazyTree* tree = Tree();
    const String text = GetText();
    const bool hasText = !text.empty();
    if (!hasText && !UseHeaderGlyph && !UseSortGlyph) return;
    const int cw = Client.Width();
    const int ch = Client.Height();
    const bool rtl = FBiDiMode != bdLeftToRight;
    TAlignment align = CaptionAlignment();
    if (rtl && align != taCenter) align = align == taLeftJustify ? taRightJustify : taLeftJustify;

    int gw = 0, gh = 0;
    if (UseHeaderGlyph) {
        if (FCheckBox) {
            if (plat::TCustomImageList* list = tree->CheckImageListOfKind(tree->CheckImageKind())) {
                gw = list->Width();
                gh = list->Height();
            }
        } else if (header->Images()) {
            gw = header->Images()->Width();
            gh = header->Images()->Height();
        }
    }
    int sw = 0, sh = 0;
    if (UseSortGlyph) {
        sw = UtilitiesList ? UtilitiesList->Width() : 16;
        sh = UtilitiesList ? UtilitiesList->Height() : 16;
    }
    SortGlyphSize = {sw, sh};
    int sortX = 0;
    const int sortY = (ch - sh) / 2;

    int tw = 0, th = 0;
    const bool wrap = In(FOptions, coWrapCaption);
    if (hasText) {
        if (wrap) {
            if (FCaptionText.empty())
                FCaptionText = WrapTextIntoLines(DC, text, Client, DrawFormat, (DrawFormat & plat::DT_RTLREADING) != 0);
            TRect r = Client;
            CalculateTextRect(DC, FCaptionText, r, DrawFormat);
            th = r.Height();
            tw = cw;
        } else {
            FCaptionText = text;
            const TSize sz = DC->TextExtent(text);
            tw = sz.cx + 2;
            th = sz.cy;
        }
    }
    TextBounds = {0, 0, tw, th};
    const int gap = hasText ? FSpacing : 0;
    int glyphX = 0, glyphY = 0, textX = 0, textY = 0;

    if (!hasText && !UseHeaderGlyph) {
        sortX = (cw - sw) / 2;
    } else {
        const bool side = FLayout == blGlyphLeft || FLayout == blGlyphRight;
        // "Glyph on the left/right" holds only when a header glyph is drawn.
        const bool glyphLeft = UseHeaderGlyph && FLayout == blGlyphLeft;
        const bool glyphRight = UseHeaderGlyph && FLayout == blGlyphRight;
        if (side || !UseHeaderGlyph) {
            glyphY = (ch - gh) / 2;
            textY = std::max((ch - th) / 2, -5);
        } else if (FLayout == blGlyphTop) {
            glyphY = (ch - gh - th - gap) / 2;
            textY = glyphY + gh + gap;
        } else {
            textY = (ch - gh - th - gap) / 2;
            glyphY = textY + th + gap;
        }
        int x;
        switch (align) {
        case taLeftJustify:
            x = FMargin;
            if (UseSortGlyph && rtl) {
                sortX = x;
                x += sw + FSpacing;
            }
            if (side) {
                if (glyphLeft) {
                    glyphX = x;
                    x += gw + FSpacing;
                }
                textX = x;
                x += tw + gap;
                if (glyphRight) {
                    glyphX = x;
                    x += gw + FSpacing;
                }
            } else {
                textX = x;
                if (UseHeaderGlyph) {
                    glyphX = std::max((cw - gw) / 2, x);
                    x = std::max(glyphX + gw + FSpacing, textX + tw + gap);
                } else {
                    x += tw + gap;
                }
            }
            if (UseSortGlyph && !rtl) sortX = x;
            break;
        case taCenter: {
            if (side) {
                x = (cw - gw - gap - tw) / 2;
                if (glyphLeft) {
                    glyphX = x;
                    x += gw + gap;
                }
                textX = x;
                if (glyphRight) glyphX = x + gap + tw;
            } else {
                glyphX = (cw - gw) / 2;
                textX = (cw - tw) / 2;
                if (UseSortGlyph) textX -= sw / 2;
            }
            const int lo = UseHeaderGlyph ? std::min(glyphX, textX) : textX;
            const int hi = UseHeaderGlyph ? std::max(glyphX + gw, textX + tw) : textX + tw;
            if (UseSortGlyph) sortX = rtl ? lo - FSpacing - sw : hi + FSpacing;
            break;
        }
        default:  // taRightJustify
            x = cw - FMargin;
            if (UseSortGlyph && !rtl) {
                x -= sw;
                sortX = x;
                x -= FSpacing;
            }
            if (side) {
                if (glyphRight) {
                    glyphX = x - gw;
                    x = glyphX - FSpacing;
                }
                textX = x - tw;
                x = textX - gap;
                if (glyphLeft) {
                    glyphX = x - gw;
                    x = glyphX - FSpacing;
                }
            } else {
                textX = x - tw;
                if (UseHeaderGlyph) {
                    glyphX = (cw - gw) / 2;
                    if (glyphX + gw + FSpacing > x) glyphX = x - gw - FSpacing;
                    x = std::min(textX - gap, glyphX - FSpacing);
                } else {
                    x = textX - gap;
                }
            }
            if (UseSortGlyph && rtl) sortX = x - sw;
            break;
        }
    }

    // Keep everything inside the margins.
    int lo = FMargin;
    int hi = cw - FMargin;
    if (UseSortGlyph) {
        if (!rtl) {
            if (sortX + sw > hi) sortX = hi - sw;
            hi = sortX - FSpacing;
        }
        sortX = std::max(sortX, lo);
        if (rtl) lo = sortX + sw + FSpacing;
        SortGlyphPos = {sortX + Client.Left, sortY + Client.Top};
    }
    if (UseHeaderGlyph) {
        if (glyphX + gw > hi) glyphX = hi - gw;
        if (FLayout == blGlyphRight) hi = glyphX - FSpacing;
        glyphX = std::max(glyphX, lo);
        if (FLayout == blGlyphLeft) lo = glyphX + gw + FSpacing;
        if (!(Index() == header->MainColumn && !FCheckBox)) glyphX -= 2;
        HeaderGlyphPos = {glyphX + Client.Left, glyphY + Client.Top};
    }
    if (hasText) {
        textX = std::max(textX, lo);
        Move(TextBounds, textX, textY);
        TextBounds.Right = std::min(TextBounds.Right, hi);
        Move(TextBounds, Client.Left, Client.Top);
        if (wrap)
            FCaptionText = WrapTextIntoLines(DC, text, TextBounds, DrawFormat, (DrawFormat & plat::DT_RTLREADING) != 0);
    }
}

// ---- captions ----------------------------------------------------------------------------------------

void TLazyTreeColumns::DrawButtonText(TCanvas* DC, String Caption, TRect Bounds, bool Enabled, bool Hot,
                                      unsigned DrawFormat, bool WrapCaption)
{
    if (!WrapCaption && DC->TextExtent(Caption).cx > Bounds.Width())
        Caption = ShortenTextWithEllipsis(DC, Caption, Bounds.Width());
    DC->SetBkMode(plat::TRANSPARENT);
    TBaseLazyTree* tree = Tree();
    if (Enabled) {
        DC->Font()->SetColor(Hot ? tree->Colors().HeaderHotColor() : tree->Colors().HeaderFontColor());
        DC->DrawText(Caption, Bounds, DrawFormat);
    } else {
        // Engraved: a light copy one pixel down and right under the shadow-coloured text.
        TRect light = Bounds;
        Move(light, 1, 1);
        DC->Font()->SetColor(plat::clBtnHighlight);
        DC->DrawText(Caption, light, DrawFormat);
        DC->Font()->SetColor(plat::clBtnShadow);
        DC->DrawText(Caption, Bounds, DrawFormat);
    }
}

// ---- the strip ---------------------------------------------------------------------------------------

void TLazyTreeColumns::PaintHeader(TCanvas* DC, const TRect& R, int HOffset)
{
    const TRect& headerRect = FHeader->HeaderRect();
    if (!FHeaderBitmap) {
        FHeaderBitmap = std::make_unique<plat::TBitmap>();
        FHeaderBitmap->SetPixelFormat(plat::pf32bit);
    }
    // Large enough for R itself too, so the final copy never reads outside the bitmap.
    FHeaderBitmap->SetSize(std::max({R.Right - R.Left, R.Right, headerRect.Right}),
                           std::max(R.Bottom, headerRect.Bottom));
    TCanvas* canvas = FHeaderBitmap->Canvas();
    const int fixed = GetVisibleFixedWidth();
    const int rtlOffset = Tree()->ColumnsRightToLeftOffset();
    auto paintFixed = [&] {
        if (fixed >= 1)
            PaintHeader(canvas, TRect{0, 0, std::min(R.Right, fixed), R.Bottom - R.Top}, TPoint{R.Left, R.Top}, rtlOffset);
    };
    if (rtlOffset == 0) paintFixed();
    PaintHeader(canvas, TRect{fixed - HOffset, 0, R.Right + fixed - HOffset, R.Bottom - R.Top},
                TPoint{R.Left + fixed, R.Top}, rtlOffset);
    if (rtlOffset != 0) paintFixed();
    DC->CopyRect(R, canvas, R);
}

void TLazyTreeColumns::PaintHeader(TCanvas* TargetCanvas, TRect R, TPoint Target, int RTLOffset)
{
    if (R.IsEmpty()) return;
    TBaseLazyTree* tree = Tree();
    const bool designing = (tree->ComponentState() & plat::csDesigning) != 0;
    const bool ownerDrawOption = In(FHeader->Options(), hoOwnerDraw) && !designing;
    const bool advanced = ownerDrawOption && tree->OnAdvancedHeaderDraw && tree->OnHeaderDrawQueryElements;
    const bool ownerDraw = ownerDrawOption && tree->OnHeaderDraw && !advanced;

    THeaderPaintInfo info;
    info.TargetCanvas = TargetCanvas;
    TargetCanvas->SetFont(&FHeader->Font());
    const unsigned(&edges)[3][2] = FrameEdges[FHeader->Style()];

    THeaderPaintElements requested = 0;
    if (advanced) {
        info.PaintRectangle = R;
        info.Column = nullptr;
        tree->DoHeaderDrawQueryElements(info, requested);
    }
    const TRect background{Target.X, Target.Y, Target.X + R.Right - R.Left, Target.Y + FHeader->Height()};
    if (requested & HpeBit(hpeBackground)) {
        info.PaintRectangle = background;
        tree->DoAdvancedHeaderDraw(info, HpeBit(hpeBackground));
    } else {
        TargetCanvas->Brush()->SetColor(FHeader->Background());
        TargetCanvas->FillRect(background);
    }

    R.Left = std::max(R.Left, 0);
    R.Top = std::max(R.Top, 0);
    // The buttons end RTLOffset pixels right of the columns' total width.
    R.Right = std::min(R.Right, TotalWidth() + std::max(RTLOffset, 0));
    R.Bottom = std::min(R.Bottom, FHeader->Height());
    const int rightBorder = Target.X + R.Right - R.Left;
    TColumnIndex run = ColumnFromPosition(TPoint{R.Left + RTLOffset, 0}, false);
    if (run < 0) return;
    TRect button{Items(run)->FLeft + Target.X + RTLOffset - R.Left, Target.Y, 0, Target.Y + R.Bottom - R.Top};
    info.ShowRightBorder = FHeader->Style() == hsThickButtons || !In(FHeader->Options(), hoAutoResize) ||
                           tree->BevelKind() == bkNone;
    while (run >= 0 && button.Left < rightBorder) {
        button.Right = button.Left + Items(run)->FWidth;
        const int saved = TargetCanvas->SaveDC();
        ClipCanvasToRect(TargetCanvas, TRect{std::max(Target.X, button.Left), Target.Y + R.Top,
                                             std::min(button.Right, rightBorder), button.Bottom});
        PaintButton(info, run, button, requested, advanced, ownerDraw, edges);
        TargetCanvas->RestoreDC(saved);
        button.Left = button.Right;
        run = GetNextVisibleColumn(run);
    }
}

void TLazyTreeColumns::PaintButton(THeaderPaintInfo& Info, TColumnIndex Index, const TRect& ButtonRect,
                                   unsigned /*StripRequested*/, bool AdvancedOwnerDraw, bool OwnerDraw,
                                   const unsigned Edges[3][2])
{
    TBaseLazyTree* tree = Tree();
    TLazyTreeColumn* column = Items(Index);
    TCanvas* canvas = Info.TargetCanvas;
    const TLTHeaderOptions hOptions = FHeader->Options();
    const TLTColumnOptions cOptions = column->FOptions;
    Info.Column = column;
    Info.IsHoverIndex = Index == FHoverIndex && In(hOptions, hoHotTrack) && In(cOptions, coEnabled);
    Info.IsDownIndex = Index == FDownIndex && !FCheckBoxHit;
    Info.DropMark = In(cOptions, coShowDropMark) && Index == FDropTarget && Index != FDragIndex
                        ? (FDropBefore ? dmmLeft : dmmRight)
                        : dmmNone;
    Info.IsEnabled = In(cOptions, coEnabled) && tree->Enabled();
    Info.ShowHeaderGlyph =
        In(hOptions, hoShowImages) && ((FHeader->Images() && column->FImageIndex > -1) || column->FCheckBox);
    Info.ShowSortGlyph = Index == FHeader->SortColumn && In(hOptions, hoShowSortGlyphs);
    const bool wrap = In(cOptions, coWrapCaption);
    Info.PaintRectangle = ButtonRect;

    if (OwnerDraw && column->FStyle == vsOwnerDraw) {
        tree->DoHeaderDraw(canvas, column, ButtonRect, Info.IsHoverIndex, Info.IsDownIndex, Info.DropMark);
        return;
    }
    THeaderPaintElements requested = 0;
    if (AdvancedOwnerDraw) tree->DoHeaderDrawQueryElements(Info, requested);

    if (requested & HpeBit(hpeBackground)) {
        tree->DoAdvancedHeaderDraw(Info, HpeBit(hpeBackground));
    } else {
        TRect frame = ButtonRect;
        const unsigned rightBit = Info.ShowRightBorder || Index != Count() - 1 ? plat::BF_RIGHT : 0;
        if (Info.IsDownIndex)
            plat::DrawEdge(canvas, frame, Edges[1][0], Edges[1][1]);
        else if (FHeader->Style() == hsPlates && Info.IsHoverIndex && In(cOptions, coAllowClick))
            plat::DrawEdge(canvas, frame, Edges[2][0], Edges[2][1] | rightBit);
        else
            plat::DrawEdge(canvas, frame, Edges[0][0], Edges[0][1] | rightBit);
    }
    Info.PaintRectangle = {ButtonRect.Left + 2, ButtonRect.Top + 2, ButtonRect.Right - 2, ButtonRect.Bottom - 2};

    unsigned drawFormat = plat::DT_NOPREFIX;
    switch (column->CaptionAlignment()) {
    case taLeftJustify: drawFormat |= plat::DT_LEFT; break;
    case taRightJustify: drawFormat |= plat::DT_RIGHT; break;
    default: drawFormat |= plat::DT_CENTER; break;
    }
    if (column->UseRightToLeftReading()) drawFormat |= plat::DT_RTLREADING;
    TSize sortSize{};
    column->ComputeHeaderLayout(canvas, Info.PaintRectangle, Info.ShowHeaderGlyph, Info.ShowSortGlyph, Info.GlyphPos,
                                Info.SortGlyphPos, sortSize, Info.TextRectangle, drawFormat);
    if (Info.IsDownIndex) {
        Move(Info.TextRectangle, 1, 1);
        Info.GlyphPos = {Info.GlyphPos.X + 1, Info.GlyphPos.Y + 1};
        Info.SortGlyphPos = {Info.SortGlyphPos.X + 1, Info.SortGlyphPos.Y + 1};
    }
    const THeaderPaintElements elements =
        requested & (HpeBit(hpeDropMark) | HpeBit(hpeHeaderGlyph) | HpeBit(hpeSortGlyph) | HpeBit(hpeText));

    column->FHasImage = false;
    if (!(elements & HpeBit(hpeHeaderGlyph)) && Info.ShowHeaderGlyph) {
        const int imagesWidth = FHeader->Images() ? FHeader->Images()->Width() : 0;
        const bool fits = !(Info.ShowSortGlyph && column->FBiDiMode == bdLeftToRight) ||
                          Info.GlyphPos.X + imagesWidth <= Info.SortGlyphPos.X;
        if (fits) {
            plat::TCustomImageList* list = nullptr;
            if (column->FCheckBox) {
                list = tree->CheckImageListOfKind(tree->CheckImageKind());
                if (!list) list = tree->CustomCheckImages();
                if (list) {
                    TLTImageSlot slot;
                    slot.ImageList = list;
                    slot.ImageIndex =
                        tree->CheckImageIndex(nullptr, column->FCheckType, column->FCheckState, Info.IsEnabled);
                    slot.PosX = Info.GlyphPos.X;
                    slot.PosY = Info.GlyphPos.Y;
                    tree->PaintCheckControlAt(canvas, slot);
                }
            } else {
                list = FHeader->Images();
                list->Draw(canvas, Info.GlyphPos.X, Info.GlyphPos.Y, column->FImageIndex, Info.IsEnabled);
            }
            if (list) {
                column->FHasImage = true;
                column->FImageRect = {Info.GlyphPos.X, Info.GlyphPos.Y, Info.GlyphPos.X + list->Width(),
                                      Info.GlyphPos.Y + list->Height()};
            }
        }
    }

    const String caption = wrap ? column->FCaptionText : column->GetText();
    const bool hot = Info.IsHoverIndex;  // no themes: the hot colour shows the hover
    if (!(elements & HpeBit(hpeText)) && !column->GetText().empty())
        DrawButtonText(canvas, caption, Info.TextRectangle, Info.IsEnabled, hot, drawFormat, wrap);

    if (!(elements & HpeBit(hpeSortGlyph)) && Info.ShowSortGlyph && UtilitiesList) {
        const int cell = FHeader->SortDirection == sdAscending ? 3 : 2;
        UtilitiesList->Draw(canvas, Info.SortGlyphPos.X, Info.SortGlyphPos.Y, cell);
    }
    if (!(elements & HpeBit(hpeDropMark)) && Info.DropMark != dmmNone && UtilitiesList) {
        const int y = (Info.PaintRectangle.Top + Info.PaintRectangle.Bottom - UtilitiesList->Height()) / 2;
        if (Info.DropMark == dmmLeft)
            UtilitiesList->Draw(canvas, Info.PaintRectangle.Left, y, 0);
        else
            UtilitiesList->Draw(canvas, Info.PaintRectangle.Right - 16, y, 1);
    }
    if (elements != 0) {
        const int saved = canvas->SaveDC();
        tree->DoAdvancedHeaderDraw(Info, elements);
        canvas->RestoreDC(saved);
    }
}

} // namespace vtree
