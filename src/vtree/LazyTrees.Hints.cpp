// The tree's hints: the hint request (CM_HINTSHOW) by HintMode, the hint pause, and
// TLazyTreeHintWindow, which paints node texts and fades or slides in.
// - A tooltip (hmTooltip) shows only over a node text its cell or the window clips, at the
//   text's own place, so that the full text covers the clipped one.
// - FLastHintRect is the rectangle the current hint belongs to: no new hint for it until the
//   mouse leaves the tree.
#include <algorithm>

#include "LazyTrees.HintWindow.h"
#include "LazyTrees.Utils.h"
#include "plat/Messages.h"
#include "plat/SystemInput.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

namespace {

// The hint window is gone (set at program start): running animations stop, and the header's
// hints show without the pause. Cleared when the window is made and when it hides.
bool g_hintWindowDestroyed = true;

bool RectEmpty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

void OffsetRect(TRect& R, int DX, int DY)
{
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}

TAlignment Mirrored(TAlignment A)
{
    return A == taLeftJustify ? taRightJustify : A == taRightJustify ? taLeftJustify : A;
}

} // namespace

plat::THintWindow* CreateLazyTreeHintWindow(plat::TComponent* AOwner) { return new TLazyTreeHintWindow(AOwner); }

// ---- the tree's side ----------------------------------------------------------------------

void TBaseLazyTree::DoGetNodeHint(PLazyNode, TColumnIndex, String& HintText, TLTTooltipLineBreakStyle& LineBreakStyle)
{
    HintText = Hint();
    LineBreakStyle = hlbDefault;
}

void TBaseLazyTree::DoGetNodeTooltip(PLazyNode, TColumnIndex, String& HintText, TLTTooltipLineBreakStyle& LineBreakStyle)
{
    HintText = Hint();
    LineBreakStyle = hlbDefault;
}

void TBaseLazyTree::DoGetHintSize(PLazyNode Node, TColumnIndex Column, TRect& R)
{
    if (OnGetHintSize) OnGetHintSize(this, Node, Column, R);
}

void TBaseLazyTree::DoGetHintKind(PLazyNode Node, TColumnIndex Column, TLTHintKind& Kind)
{
    if (OnGetHintKind) OnGetHintKind(this, Node, Column, Kind);
    else Kind = DefaultHintKind();
}

void TBaseLazyTree::DoDrawHint(plat::TCanvas* Canvas, PLazyNode Node, const TRect& R, TColumnIndex Column)
{
    if (OnDrawHint) OnDrawHint(this, Canvas, Node, R, Column);
}

plat::THintWindowClass TBaseLazyTree::HintWindowClassRef() const { return &CreateLazyTreeHintWindow; }

THintAnimationType TBaseLazyTree::EffectiveHintAnimation() const
{
    if (FAnimationType != hatSystemDefault) return FAnimationType;
    if (!plat::TooltipAnimation()) return hatNone;
    return plat::TooltipFade() ? hatFade : hatSlide;
}

void TCustomLazyStringTree::DoGetNodeHint(PLazyNode Node, TColumnIndex Column, String& HintText,
                                          TLTTooltipLineBreakStyle& LineBreakStyle)
{
    TBaseLazyTree::DoGetNodeHint(Node, Column, HintText, LineBreakStyle);
    if (OnGetHint) OnGetHint(this, Node, Column, LineBreakStyle, HintText);
}

void TCustomLazyStringTree::DoGetNodeTooltip(PLazyNode Node, TColumnIndex Column, String& HintText,
                                             TLTTooltipLineBreakStyle& LineBreakStyle)
{
    TBaseLazyTree::DoGetNodeTooltip(Node, Column, HintText, LineBreakStyle);
    if (OnGetHint) OnGetHint(this, Node, Column, LineBreakStyle, HintText);
    else HintText = GetText(Node, Column);
}

TPoint TBaseLazyTree::HintCursorPoint() const
{
    TPoint p = ScreenToClient(plat::GetCursorPos());
    if (In(FHeader->Options(), hoVisible) && p.Y < 0 && p.Y >= -FHeader->Height()) p.Y += FHeader->Height();
    return p;
}

void TBaseLazyTree::CancelShownHint()
{
    if (!HasState(tsHint)) return;
    DoStateChange(0, TreeBit(tsHint));
    if (plat::Application) plat::Application->CancelHint();
}

bool TBaseLazyTree::HintMessage(plat::TMessage& Message)
{
    switch (Message.Msg) {
    case plat::WM_KILLFOCUS:
        CancelShownHint();
        return false;
    case plat::CM_MOUSELEAVE:
        // Coming back shows the hint again.
        if (Message.LParam == 0) FLastHintRect = {};
        return false;
    case plat::WM_NCDESTROY:
        if (HasState(tsInAnimation)) {
            g_hintWindowDestroyed = true;
            DoStateChange(TreeBit(tsCancelHintAnimation));
        }
        return false;
    case plat::CM_HINTSHOWPAUSE: {
        auto* pause = reinterpret_cast<int*>(Message.LParam);
        bool now = FHintMode == hmTooltip;
        if (!now && g_hintWindowDestroyed && FHeader->UseColumns() && In(FHeader->Options(), hoShowHint) &&
            In(FHeader->Options(), hoVisible) && HandleAllocated()) {
            const TPoint p = ScreenToClient(plat::GetCursorPos());
            now = p.Y < 0 && p.Y >= -FHeader->Height();
        }
        if (now && pause) *pause = 0;
        Message.Result = 0;
        return true;
    }
    case plat::CM_HINTSHOW:
        Message.Result = HintShow(*reinterpret_cast<plat::THintInfo*>(Message.LParam));
        return true;
    default: return false;
    }
}

plat::LRESULT TBaseLazyTree::HintShow(plat::THintInfo& HintInfo)
{
    plat::LRESULT result = 1;
    bool show = false;
    TRect cursorRect = HintInfo.CursorRect;
    // Hint rectangles over the header lie one header height lower (HintCursorPoint).
    TPoint cursor = HintInfo.CursorPos;
    if (In(FHeader->Options(), hoVisible) && cursor.Y < 0 && cursor.Y >= -FHeader->Height()) cursor.Y += FHeader->Height();
    if (FLastHintRect.Contains(cursor)) return 1;

    THitInfo hit;
    GetHitTestInfoAt(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, true, hit);
    bool allowed;
    if (IsEditing()) {
        allowed = hit.HitNode != FFocusedNode;
    } else if (plat::TCustomForm* form = plat::GetParentForm(this)) {
        allowed = form->Active() || (plat::Screen && plat::Screen->ActiveForm() == form);
    } else {
        allowed = Focused();
    }
    const TLazyTreeStates busy = StateSet({tsOLEDragging, tsVCLDragging, tsDrawSelecting, tsDrawSelPending, tsScrolling});
    const TPoint real = HandleAllocated() ? ScreenToClient(plat::GetCursorPos()) : cursor;
    const bool overHeader = FHeader->UseColumns() && In(FHeader->Options(), hoShowHint) &&
                            In(FHeader->Options(), hoVisible) && real.Y < 0 && real.Y >= -FHeader->Height();
    const bool headerIdle = (FHeader->States() & ~HsBit(hsLoading)) == 0;
    if (plat::GetCapture() == 0 && ShowHint() && (TreeStates() & busy) == 0 && headerIdle && allowed) {
        result = 0;
        const bool lazyWindow = HintInfo.HintWindowClass &&
                                HintInfo.HintWindowClass.target_type() == HintWindowClassRef().target_type() &&
                                HintInfo.HintWindowClass.target<plat::THintWindow* (*)(plat::TComponent*)>() &&
                                *HintInfo.HintWindowClass.target<plat::THintWindow* (*)(plat::TComponent*)>() ==
                                    &CreateLazyTreeHintWindow;
        const bool leftDown = plat::GetKeyState(static_cast<int>(plat::VK_LBUTTON)) < 0;
        TLazyTreeColumns& columns = FHeader->Columns();
        // The hint string the application's window shows (ours paints the real text).
        if (lazyWindow) {
            HintInfo.HintStr = u" ";
        } else if (overHeader) {
            const TColumnIndex c = columns.ColumnFromPosition(TPoint{real.X, real.Y + FHeader->Height()});
            HintInfo.HintStr = columns.IsValidColumn(c) && !leftDown ? columns[c]->Hint() : String();
        } else if (FHintMode != hmDefault && hit.HitNode && hit.HitColumn >= NoColumn) {
            TLTTooltipLineBreakStyle lbs = hlbDefault;
            if (FHintMode == hmTooltip) DoGetNodeTooltip(hit.HitNode, hit.HitColumn, HintInfo.HintStr, lbs);
            else DoGetNodeHint(hit.HitNode, hit.HitColumn, HintInfo.HintStr, lbs);
        } else {
            HintInfo.HintStr = plat::GetShortHint(Hint());
        }

        FHintData = TLTHintData{};
        if (overHeader) {
            int left = 0, right = 0;
            const TColumnIndex c = columns.GetColumnAndBounds(TPoint{real.X, real.Y + FHeader->Height()}, left, right);
            // The header's moves reach the hint handling one header height lower.
            cursorRect = TRect{left, 0, right, FHeader->Height()};
            const int headerBottom = ClientToScreen(TPoint{0, 0}).Y;
            HintInfo.HintPos.Y = std::max(HintInfo.HintPos.Y, headerBottom);
            if (!columns.IsValidColumn(c) || leftDown) {
                result = 1;
            } else {
                FHintData.DefaultHint = columns[c]->Hint();
                if (FHintData.DefaultHint.empty()) result = 1;
                else show = true;
            }
        } else if (FHintMode != hmDefault && hit.HitNode && hit.HitColumn >= NoColumn) {
            PLazyNode node = hit.HitNode;
            const TColumnIndex column = hit.HitColumn;
            TLTHintKind kind = vhkText;
            DoGetHintKind(node, column, kind);
            FHintData.HintRect = {};
            if (kind == vhkOwnerDraw) {
                DoGetHintSize(node, column, FHintData.HintRect);
                show = !RectEmpty(FHintData.HintRect);
            } else {
                show = true;
            }
            if (show) {
                // The cell's horizontal extent, over the empty cells to its right with spanning.
                int cellLeft = 0, cellRight = ClientWidth();
                if (column > NoColumn && columns.IsValidColumn(column)) {
                    columns.GetColumnBounds(column, cellLeft, cellRight);
                    if (In(TreeOptions().AutoOptions(), toAutoSpanColumns)) {
                        for (TColumnIndex next = columns.GetNextVisibleColumn(column);
                             next > NoColumn && CellIsEmpty(node, next); next = columns.GetNextVisibleColumn(next)) {
                            int l = 0, r = 0;
                            columns.GetColumnBounds(next, l, r);
                            cellRight = r;
                        }
                    }
                }
                FHintData.DefaultHint.clear();
                if (FHintMode == hmTooltip) {
                    const bool multiLine = node->Has(vsMultiline);
                    TRect r = GetDisplayRect(node, column, true, !multiLine);
                    if (!multiLine) {
                        const TPoint margin = GetCellContentMargin(node, column, ccmtAllSides);
                        r.Right += margin.X;
                        r.Bottom += margin.Y;
                        const bool clipped = r.Right + margin.X > std::min(cellRight - 1, ClientWidth()) ||
                                             r.Left < std::max(cellLeft, 0) || r.Bottom + margin.Y > ClientHeight() ||
                                             r.Top < 0;
                        show = r.Contains(cursor) && cursor.X >= cellLeft && cursor.X < cellRight && clipped;
                    } else {
                        show = hit.Has(hiOnItemLabel);
                    }
                    if (show) {
                        HintInfo.HintPos = ClientToScreen(r.TopLeft());
                        cursorRect = r;
                    } else {
                        result = 1;
                    }
                } else {
                    cursorRect = GetDisplayRect(node, column, false);
                    cursorRect.Left = cellLeft;
                    cursorRect.Right = cellRight;
                    const int below = ClientToScreen(TPoint{0, cursorRect.Bottom}).Y;
                    HintInfo.HintPos.Y = std::max(below, HintInfo.HintPos.Y) + 2;
                }
            } else {
                result = 1;
            }
        } else if (FHintMode == hmHintAndDefault) {
            FHintData.DefaultHint = plat::GetShortHint(Hint());
            if (FHintData.DefaultHint.empty()) result = 1;
            else show = true;
        } else if (FHintMode == hmHint || FHintMode == hmTooltip) {
            result = 1;
        } else {
            HintInfo.HintStr = plat::GetShortHint(Hint());
        }

        if (!show || result == 1) {
            FLastHintRect = {};
        } else {
            HintInfo.HintWindowClass = HintWindowClassRef();
            HintInfo.HintStr = u" ";
            FHintData.Tree = this;
            FHintData.Column = overHeader ? NoColumn : hit.HitColumn;
            FHintData.Node = overHeader ? nullptr : hit.HitNode;
            FLastHintRect = cursorRect;
            HintInfo.CursorRect = cursorRect;
            HintInfo.HintData = &FHintData;
        }
    } else {
        FLastHintRect = {};
    }
    if (result == 1) DoStateChange(0, TreeBit(tsHint));
    else DoStateChange(TreeBit(tsHint));
    return result;
}

// ---- TLazyTreeHintWindow ------------------------------------------------------------------

TLazyTreeHintWindow::TLazyTreeHintWindow(plat::TComponent* AOwner)
    : THintWindow(AOwner), FBackground(std::make_unique<plat::TBitmap>()),
      FDrawBuffer(std::make_unique<plat::TBitmap>()), FTarget(std::make_unique<plat::TBitmap>())
{
    for (auto* b : {FBackground.get(), FDrawBuffer.get(), FTarget.get()}) b->SetPixelFormat(plat::pf32bit);
    // A plain popup: the border is painted with the hint.
    SetWindowStyle(WindowStyle() & ~plat::WS_BORDER);
    g_hintWindowDestroyed = false;
}

TLazyTreeHintWindow::~TLazyTreeHintWindow()
{
    g_hintWindowDestroyed = true;
    if (FHintData.Tree) FHintData.Tree->RemoveFreeNotification(this);
}

void TLazyTreeHintWindow::AttachTree(TBaseLazyTree* Tree)
{
    if (FHintData.Tree == Tree) return;
    if (FHintData.Tree) FHintData.Tree->RemoveFreeNotification(this);
    FHintData.Tree = Tree;
    if (Tree) Tree->FreeNotification(this);
}

void TLazyTreeHintWindow::Notification(plat::TComponent* AComponent, plat::TOperation Operation)
{
    THintWindow::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent == FHintData.Tree) {
        // The tree goes: the hint forgets it, and a running animation stops at its next step.
        FHintData.Tree = nullptr;
        FHintData.Node = nullptr;
    }
}

TRect TLazyTreeHintWindow::CalcHintRect(int MaxWidth, const String&, void* AData)
{
    if (!AData) return {};
    TBaseLazyTree* previous = FHintData.Tree;
    FHintData = *static_cast<const TLTHintData*>(AData);
    TBaseLazyTree* tree = FHintData.Tree;
    FHintData.Tree = previous;
    AttachTree(tree);
    if (!tree) return {};
    if (FHintData.Node && !RectEmpty(FHintData.HintRect)) return FHintData.HintRect;

    TLazyTreeColumns& columns = tree->Header().Columns();
    const bool inColumn = columns.IsValidColumn(FHintData.Column);
    FHintData.BidiMode = inColumn ? columns[FHintData.Column]->BiDiMode() : tree->BiDiMode();
    FHintData.Alignment = inColumn ? columns[FHintData.Column]->Alignment() : tree->Alignment();
    if (FHintData.BidiMode != bdLeftToRight) FHintData.Alignment = Mirrored(FHintData.Alignment);

    const bool tooltip = FHintData.Node && tree->HintMode() == hmTooltip;
    plat::TCanvas* c = Canvas();
    if (tooltip) {
        plat::TFont font;
        font.Assign(*tree->Font());
        if (auto* strings = dynamic_cast<TCustomLazyStringTree*>(tree)) {
            TRect r;
            String text;
            strings->GetTextInfo(FHintData.Node, FHintData.Column, font, r, text);
        }
        c->Font()->Assign(font);
    } else {
        c->Font()->Assign(*Font());
    }
    FTextHeight = c->TextHeight(u"Tg");

    FHintData.LineBreakStyle = hlbDefault;
    if (!FHintData.DefaultHint.empty()) FHintData.HintText = FHintData.DefaultHint;
    else if (tooltip) tree->DoGetNodeTooltip(FHintData.Node, FHintData.Column, FHintData.HintText, FHintData.LineBreakStyle);
    else if (FHintData.Node) tree->DoGetNodeHint(FHintData.Node, FHintData.Column, FHintData.HintText, FHintData.LineBreakStyle);
    else FHintData.HintText = plat::GetShortHint(tree->Hint());
    if (FHintData.HintText.empty()) return {};

    TRect result;
    if (!tooltip) {
        result = TRect{0, 0, MaxWidth > 0 ? MaxWidth : 300, 0};
        c->DrawText(FHintData.HintText, result, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
        result.Bottom += 6;
        result.Right += tree->TextMargin() + FTextHeight;
    } else {
        if (FHintData.LineBreakStyle == hlbDefault)
            FHintData.LineBreakStyle = FHintData.Node->Has(vsMultiline) ? hlbForceMultiLine : hlbForceSingleLine;
        if (FHintData.LineBreakStyle == hlbForceMultiLine) {
            const TRect text = tree->GetDisplayRect(FHintData.Node, FHintData.Column, true, false);
            result = TRect{0, 0, std::max(1, text.Width()), 0};
            c->DrawText(FHintData.HintText, result, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
            result.Right += tree->TextMargin() + 1;
            if (tree->Header().UseColumns() && inColumn) {
                const int columnWidth = columns[FHintData.Column]->Width();
                const bool fits = result.Height() <= static_cast<int>(FHintData.Node->NodeHeight) + 2 &&
                                  result.Width() <= columnWidth + 2 && text.Left + result.Width() <= tree->ClientWidth() + 3 &&
                                  text.Top + result.Height() <= tree->ClientHeight() + 3;
                if (fits) return {};
            }
        } else {
            result = tree->LastHintRect();
            if (In(tree->TreeOptions().PaintOptions(), toShowHorzGridLines)) --result.Bottom;
        }
    }
    // The frame around the text; only the size counts.
    const int w = result.Width() + 2, h = result.Height() + 2;
    return TRect{-1, -1, w - 1, h - 1};
}

void TLazyTreeHintWindow::ActivateHint(TRect Rect, const String& AHint) { ActivateHintData(Rect, AHint, nullptr); }

void TLazyTreeHintWindow::ActivateHintData(TRect Rect, const String&, void*)
{
    TBaseLazyTree* tree = FHintData.Tree;
    if (RectEmpty(Rect) || !tree || !tree->HandleAllocated() || !tree->LastHintRect().Contains(tree->HintCursorPoint())) {
        if (plat::Application) plat::Application->CancelHint();
        return;
    }
    const bool wasAnimating = tree->HasState(tsInAnimation);
    if (wasAnimating) tree->DoStateChange(0, TreeBit(tsInAnimation));

    // Kept on the desktop: moved up or left to end at its edges, then down or right to start there.
    const TRect desk = plat::Screen ? plat::Screen->MonitorRect(Rect.TopLeft())
                                    : TRect{0, 0, plat::GetSystemMetrics(plat::SM_CXSCREEN), plat::GetSystemMetrics(plat::SM_CYSCREEN)};
    if (Rect.Bottom > desk.Bottom) OffsetRect(Rect, 0, desk.Bottom - Rect.Bottom);
    if (Rect.Right > desk.Right) OffsetRect(Rect, desk.Right - Rect.Right, 0);
    if (Rect.Top < desk.Top) OffsetRect(Rect, 0, desk.Top - Rect.Top);
    if (Rect.Left < desk.Left) OffsetRect(Rect, desk.Left - Rect.Left, 0);
    if (Active()) ReleaseHandle();
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());

    for (auto* b : {FBackground.get(), FDrawBuffer.get(), FTarget.get()}) b->SetSize(Rect.Width(), Rect.Height());
    tree->Update();
    plat::CaptureScreen(Rect, *FBackground);

    g_hintWindowDestroyed = false;
    ShowWindowAt(Rect);
    FRunningAnimation = tree->EffectiveHintAnimation();
    const std::uint32_t duration = tree->AnimationDuration();
    if (FRunningAnimation == hatNone || duration == 0) {
        FRunningAnimation = hatNone;
        PaintHintStep(0, 0);
        Invalidate();
    } else {
        const std::uint32_t steps = FRunningAnimation == hatFade ? 255u : static_cast<std::uint32_t>(Rect.Height());
        const std::uint32_t time = FRunningAnimation == hatFade ? 2 * duration : duration;
        tree->RunAnimation(steps, time, [this](std::uint32_t Step, int StepSize) { return AnimationCallback(Step, StepSize); });
        FRunningAnimation = hatNone;
    }
    // An outer animation, interrupted by this one, stops.
    if (wasAnimating && FHintData.Tree && !g_hintWindowDestroyed) FHintData.Tree->DoStateChange(TreeBit(tsCancelHintAnimation));
}

bool TLazyTreeHintWindow::AnimationCallback(std::uint32_t Step, int StepSize)
{
    const bool goOn = !g_hintWindowDestroyed && Active() && Visible() && FHintData.Tree &&
                      !FHintData.Tree->HasState(tsCancelHintAnimation);
    if (!goOn) return false;
    PaintHintStep(Step, StepSize);
    if (plat::Application) plat::Application->ProcessMessages();
    return true;
}

void TLazyTreeHintWindow::PaintHintStep(std::uint32_t Step, int StepSize)
{
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    if (FDrawBuffer->Width() != w || FDrawBuffer->Height() != h) FDrawBuffer->SetSize(w, h);
    TBaseLazyTree* tree = FHintData.Tree;
    if (Step == 0) {
        plat::TCanvas* b = FDrawBuffer->Canvas();
        const bool tooltip = tree && FHintData.Node && tree->HintMode() == hmTooltip;
        int textTop = 2;
        if (tooltip) {
            plat::TFont font;
            font.Assign(*tree->Font());
            if (auto* strings = dynamic_cast<TCustomLazyStringTree*>(tree)) {
                TRect r;
                String text;
                strings->GetTextInfo(FHintData.Node, FHintData.Column, font, r, text);
            }
            b->Font()->Assign(font);
            if (FHintData.LineBreakStyle == hlbForceMultiLine) {
                textTop = 1;
            } else {
                TRect calc{0, 0, w, 0};
                b->DrawText(FHintData.HintText, calc, plat::DT_CALCRECT | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
                textTop = (calc.Top + h - calc.Bottom) / 2;
            }
        } else {
            b->Font()->Assign(*Font());
        }
        TLTHintKind kind = vhkText;
        if (tree && FHintData.Node) tree->DoGetHintKind(FHintData.Node, FHintData.Column, kind);
        const TRect all{0, 0, w, h};
        if (kind == vhkOwnerDraw) {
            if (tree) tree->DoDrawHint(b, FHintData.Node, all, FHintData.Column);
        } else {
            b->Font()->SetColor(plat::clInfoText);
            b->Brush()->SetStyle(plat::bsSolid);
            b->Brush()->SetColor(plat::clInfoBk);
            b->FillRect(all);
            b->Brush()->SetColor(plat::clBlack);
            b->FrameRect(all);
            TRect r{1 + 3, textTop, w - 1, h - 1};
            b->Brush()->SetStyle(plat::bsClear);
            unsigned format = plat::DT_NOPREFIX;
            format |= FHintData.LineBreakStyle == hlbForceMultiLine ? plat::DT_WORDBREAK : plat::DT_SINGLELINE;
            if (FHintData.BidiMode == bdLeftToRight) {
                if (FHintData.Alignment == taRightJustify && FHintData.LineBreakStyle == hlbForceMultiLine) format |= plat::DT_RIGHT;
            } else {
                format |= plat::DT_RIGHT | plat::DT_RTLREADING;
            }
            b->DrawText(FHintData.HintText, r, format);
        }
    }
    plat::TCanvas* target = Canvas();
    if (StepSize == 0 || FRunningAnimation == hatNone) {
        target->Draw(0, 0, FDrawBuffer.get());
        return;
    }
    if (FRunningAnimation == hatFade) {
        FTarget->SetSize(w, h);
        FTarget->Canvas()->Draw(0, 0, FBackground.get());
        AlphaBlendArea(FDrawBuffer.get(), FTarget.get(), TRect{0, 0, w, h}, TPoint{0, 0}, amConstant,
                       static_cast<int>(std::min<std::uint32_t>(Step, 255) * 256 / 255), 0);
        target->Draw(0, 0, FTarget.get());
    } else {
        // Slide: the lower Step rows of the hint at the window's top, the background below.
        const int rows = std::clamp(static_cast<int>(Step), 0, h);
        target->Draw(0, 0, FBackground.get());
        if (rows > 0) target->CopyRect(TRect{0, 0, w, rows}, FDrawBuffer->Canvas(), TRect{0, h - rows, w, h});
    }
}

void TLazyTreeHintWindow::Paint()
{
    if (FRunningAnimation != hatNone) return;
    PaintHintStep(0, 0);
}

void TLazyTreeHintWindow::ReleaseHandle()
{
    THintWindow::ReleaseHandle();
    AttachTree(nullptr);
    FHintData = TLTHintData{};
    g_hintWindowDestroyed = false;
}

} // namespace vtree
