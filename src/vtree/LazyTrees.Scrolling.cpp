// Scrolling: the offsets with their clamping, the ranges and the window scroll bars, the
// scroll-bar messages, the wheel, bringing a node into view, top and bottom node, and the
// automatic scrolling at the edges during a rubber band and while panning, and the panning
// window with its cursors.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "LazyTrees.Assert.h"
#include "LazyTrees.BaseTree.h"
#include "LazyTrees.DragDrop.h"
#include "plat/Clock.h"
#include "LazyTrees.Header.h"
#include "plat/Forms.h"
#include "plat/Resources.h"
#include "plat/SystemInput.h"

namespace vtree {

using plat::TPoint;
using plat::TRect;

bool TBaseLazyTree::DoSetOffsetXY(TPoint Value)
{
    const int minX = std::min(0, ClientWidth() - FRangeX);
    const int minY = static_cast<int>(std::min<std::int64_t>(0, std::int64_t(ClientHeight()) - FRangeY));
    const int x = std::clamp(Value.X, minX, 0);
    const int y = std::clamp(Value.Y, minY, 0);
    int deltaX = x - FOffsetX;
    if (FBiDiMode != bdLeftToRight) deltaX = -deltaX;
    const int deltaY = y - FOffsetY;
    if (deltaX == 0 && deltaY == 0) return false;
    FOffsetX = x;
    FOffsetY = y;
    FEffectiveOffsetX = FBiDiMode != bdLeftToRight ? std::max(0, FRangeX + FOffsetX - ClientWidth()) : -FOffsetX;
    CancelShownHint();
    if (FUpdateCount == 0 && HandleAllocated() && Showing()) {
        InvalidateTree();
        if (deltaX != 0 && !HasState(tsSizing)) UpdateHorizontalScrollBar(true);
        if (deltaY != 0 && !HasState(tsSizing) && !HasState(tsThumbTracking)) UpdateVerticalScrollBar(true);
    }
    if (HandleAllocated()) {
        const TPoint p = ScreenToClient(plat::GetCursorPos());
        if (ClientRect().Contains(p)) UpdateHotNode(p.X, p.Y);
    }
    // The editor is a child window: it moves with the content it covers.
    if (HasState(tsEditing)) UpdateEditBounds();
    if (OnScroll) OnScroll(this, deltaX, deltaY);
    return true;
}

void TBaseLazyTree::SetBottomSpace(std::uint32_t Value)
{
    if (Value == FBottomSpace) return;
    FBottomSpace = Value;
    UpdateVerticalScrollBar(true);
}

void TBaseLazyTree::UpdateHorizontalRange()
{
    FRangeX = FHeader && FHeader->UseColumns() ? FHeader->Columns().TotalWidth() : VisibleContentWidth();
}

int TBaseLazyTree::RightToLeftOffset(bool ExcludeScrollBar) const
{
    const TScrollStyle bars = FScrollBarOptions->ScrollBars();
    const bool barShown = static_cast<std::int64_t>(ClientHeight()) < FRangeY && (bars == ssVertical || bars == ssBoth);
    const int bar = barShown ? plat::GetSystemMetrics(plat::SM_CXVSCROLL) : 0;
    const int headerWidth = FHeader ? FHeader->HeaderRect().Width() : 0;
    int result = bar;
    if (headerWidth >= bar + FRangeX) result = headerWidth - FRangeX;
    if (ExcludeScrollBar && barShown) result -= plat::GetSystemMetrics(plat::SM_CXVSCROLL);
    return result;
}

int TBaseLazyTree::ColumnsRightToLeftOffset() const
{
    if (FBiDiMode != bdRightToLeft || !FHeader || !FHeader->UseColumns()) return 0;
    return std::max(0, RightToLeftOffset(true));
}

int TBaseLazyTree::ScrollWidth() const
{
    return FHeader && FHeader->UseColumns() ? FHeader->Columns().GetScrollWidth() : static_cast<int>(FIndent);
}

void TBaseLazyTree::UpdateRanges()
{
    UpdateVerticalRange();
    UpdateHorizontalRange();
}

void TBaseLazyTree::DoShowScrollBar(int Bar, bool Show)
{
    plat::ShowScrollBar(Handle(), Bar, Show);
    if (OnShowScrollBar) OnShowScrollBar(this, Bar, Show);
}

void TBaseLazyTree::UpdateScrollBars(bool DoRepaint)
{
    // A tree that is not on screen has no bars, and measuring its rows would initialise them.
    if (!HandleAllocated() || !FOptions || !Showing()) return;
    UpdateVerticalScrollBar(DoRepaint);
    UpdateHorizontalScrollBar(DoRepaint);
}

void TBaseLazyTree::SettleScrollBars()
{
    // Each pass may show or hide a bar, which changes the client size the other bar was set
    // for; the client has four sizes at most (each bar shown or not), so the passes end.
    DoStateChange(TreeBit(tsSizing));
    try {
        for (int pass = 0; pass < 4; ++pass) {
            const TRect before = ClientRect();
            UpdateScrollBars(true);
            if (ClientRect() == before) break;
        }
    } catch (...) {
        DoStateChange(0, TreeBit(tsSizing));
        throw;
    }
    DoStateChange(0, TreeBit(tsSizing));
}

void TBaseLazyTree::UpdateVerticalScrollBar(bool DoRepaint)
{
    UpdateVerticalRange();
    if (HasState(tsUpdating) || FUpdateCount > 0 || !HandleAllocated() || !Showing() || !FScrollBarOptions) return;
    const TScrollStyle bars = FScrollBarOptions->ScrollBars();
    if (bars != ssVertical && bars != ssBoth) {
        DoShowScrollBar(plat::SB_VERT, false);
        DoSetOffsetXY({FOffsetX, FOffsetY});
        return;
    }
    plat::TScrollInfo info;
    const bool always = FScrollBarOptions->AlwaysVisible();
    if (std::int64_t(ClientHeight()) < FRangeY || always) {
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS | (always ? plat::SIF_DISABLENOSCROLL : 0);
        info.nMin = 0;
        info.nMax = static_cast<int>(FRangeY);
        info.nPage = static_cast<plat::UINT>(std::max(0, ClientHeight() + 1));
        info.nPos = -FOffsetY;
        DoShowScrollBar(plat::SB_VERT, true);
        plat::SetScrollInfo(Handle(), plat::SB_VERT, info, DoRepaint);
    } else {
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS;
        plat::SetScrollInfo(Handle(), plat::SB_VERT, info, false);
        DoShowScrollBar(plat::SB_VERT, false);
    }
    DoSetOffsetXY({FOffsetX, -plat::GetScrollPos(Handle(), plat::SB_VERT)});
}

void TBaseLazyTree::UpdateHorizontalScrollBar(bool DoRepaint)
{
    // The columns' total width costs nothing and is kept current for every tree; measuring the
    // rows' content is left to trees on screen.
    const bool columns = FHeader && FHeader->UseColumns();
    if (columns) UpdateHorizontalRange();
    if (HasState(tsUpdating) || FUpdateCount > 0 || !HandleAllocated() || !Showing() || !FScrollBarOptions) return;
    if (!columns) UpdateHorizontalRange();
    FEffectiveOffsetX = FBiDiMode != bdLeftToRight ? std::max(0, FRangeX + FOffsetX - ClientWidth()) : -FOffsetX;
    const TScrollStyle bars = FScrollBarOptions->ScrollBars();
    if (bars != ssHorizontal && bars != ssBoth) {
        DoShowScrollBar(plat::SB_HORZ, false);
        DoSetOffsetXY({FOffsetX, FOffsetY});
        return;
    }
    plat::TScrollInfo info;
    const bool always = FScrollBarOptions->AlwaysVisible();
    if (ClientWidth() < FRangeX || always) {
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS | (always ? plat::SIF_DISABLENOSCROLL : 0);
        info.nMin = 0;
        info.nMax = FRangeX;
        info.nPage = static_cast<plat::UINT>(std::max(0, ClientWidth() + 1));
        info.nPos = FEffectiveOffsetX;
        DoShowScrollBar(plat::SB_HORZ, true);
        plat::SetScrollInfo(Handle(), plat::SB_HORZ, info, DoRepaint);
    } else {
        info.fMask = plat::SIF_RANGE | plat::SIF_PAGE | plat::SIF_POS;
        plat::SetScrollInfo(Handle(), plat::SB_HORZ, info, false);
        DoShowScrollBar(plat::SB_HORZ, false);
    }
    const int effective = plat::GetScrollPos(Handle(), plat::SB_HORZ);
    const int x = FBiDiMode != bdLeftToRight ? ClientWidth() + effective - FRangeX : -effective;
    DoSetOffsetXY({x, FOffsetY});
}

void TBaseLazyTree::ScrollBarMessage(plat::TMessage& Message, bool Vertical)
{
    using namespace plat;
    const int code = LoWord(Message.WParam);
    const int dir = FBiDiMode != bdLeftToRight ? -1 : 1;
    const int incX = FScrollBarOptions->HorizontalIncrement();
    const int incY = FScrollBarOptions->VerticalIncrement();
    auto trackPos = [this](int Bar) {
        TScrollInfo info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Handle(), Bar, info);
        return info.nTrackPos;
    };
    if (Vertical) {
        switch (code) {
        case SB_LINEUP: SetOffsetY(FOffsetY + incY); break;
        case SB_LINEDOWN: SetOffsetY(FOffsetY - incY); break;
        case SB_PAGEUP: SetOffsetY(FOffsetY + ClientHeight()); break;
        case SB_PAGEDOWN: SetOffsetY(FOffsetY - ClientHeight()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            DoStateChange(TreeBit(tsThumbTracking));
            SetOffsetY(-trackPos(SB_VERT));
            break;
        case SB_TOP: SetOffsetY(0); break;
        case SB_BOTTOM: SetOffsetY(-static_cast<int>(FRoot->TotalHeight)); break;
        case SB_ENDSCROLL:
            DoStateChange(0, TreeBit(tsThumbTracking));
            UpdateVerticalScrollBar(true);
            UpdateHorizontalScrollBar(true);
            break;
        default: break;
        }
    } else {
        switch (code) {
        case SB_LINELEFT: SetOffsetX(FOffsetX + dir * incX); break;
        case SB_LINERIGHT: SetOffsetX(FOffsetX - dir * incX); break;
        case SB_PAGELEFT: SetOffsetX(FOffsetX + dir * ClientWidth()); break;
        case SB_PAGERIGHT: SetOffsetX(FOffsetX - dir * ClientWidth()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            DoStateChange(TreeBit(tsThumbTracking));
            const int p = trackPos(SB_HORZ);
            SetOffsetX(FBiDiMode != bdLeftToRight ? ClientWidth() + p - FRangeX : -p);
            break;
        }
        case SB_LEFT: SetOffsetX(0); break;
        case SB_RIGHT: SetOffsetX(-FRangeX); break;
        case SB_ENDSCROLL:
            DoStateChange(0, TreeBit(tsThumbTracking));
            UpdateHorizontalScrollBar(false);
            break;
        default: break;
        }
    }
    Message.Result = 0;
}

void TBaseLazyTree::MouseWheel(plat::TShiftState Shift, int WheelDelta)
{
    using namespace plat;
    const double factor = WheelDelta / 120.0;
    const int lines = WheelScrollLines();
    if (std::int64_t(FRangeY) > ClientHeight() && !(Shift & ssShift)) {
        double amount;
        if ((Shift & ssCtrl) || lines == -1) amount = ClientHeight() * factor;
        else amount = lines * factor * static_cast<double>(FDefaultNodeHeight);
        SetOffsetY(FOffsetY + static_cast<int>(std::trunc(amount)));
    } else {
        double amount;
        // The whole-screen setting (-1 lines) scrolls by one page, as vertically: the client
        // width less the fixed columns, which do not scroll.
        const int fixed = FHeader->UseColumns() ? FHeader->Columns().GetVisibleFixedWidth() : 0;
        if ((Shift & ssCtrl) || lines == -1) amount = (ClientWidth() - fixed) * factor;
        else amount = ScrollWidth() * lines * factor;
        const int dir = FBiDiMode != bdLeftToRight ? -1 : 1;
        SetOffsetX(FOffsetX + dir * static_cast<int>(std::trunc(amount)));
    }
}

bool TBaseLazyTree::ScrollIntoView(PLazyNode Node, bool Center, bool Horizontally)
{
    if (!Node || Node == FRoot) return false;
    for (PLazyNode p = Node->Parent; p && p != FRoot; p = p->Parent)
        if (!p->Has(vsExpanded)) ToggleNode(p);
    const bool inColumn = FHeader->UseColumns() && FHeader->Columns().IsValidColumn(FFocusedColumn);
    const TRect r = GetDisplayRect(Node, inColumn ? FFocusedColumn : NoColumn,
                                   !In(FOptions->MiscOptions(), toGridExtensions));
    const int ch = ClientHeight();
    // The horizontal part brings the focused column into view.
    const auto horizontal = [&] { return Horizontally && ScrollIntoView(FFocusedColumn, Center); };
    if (r.Top < 0) {
        SetOffsetY(FOffsetY - r.Top + (Center ? ch / 2 : 0));
        horizontal();
        return true;
    }
    if (r.Bottom > ch || Center) {
        int y = FOffsetY + (Center ? ch / 2 : ch) - r.Bottom;
        const TScrollStyle bars = FScrollBarOptions->ScrollBars();
        const bool barAllowed = bars == ssHorizontal || bars == ssBoth;
        const bool barShown = barAllowed && (FScrollBarOptions->AlwaysVisible() || FRangeX > ClientWidth());
        if (!FHeader->UseColumns() && !barShown && FRangeX > ClientWidth())
            y -= plat::GetSystemMetrics(plat::SM_CYHSCROLL);
        SetOffsetY(y);
        horizontal();
        return true;
    }
    return horizontal();
}

PLazyNode TBaseLazyTree::TopNode()
{
    int top;
    return GetNodeAt(0, 0, true, top);
}

void TBaseLazyTree::SetTopNode(PLazyNode Node)
{
    if (!Node || Node == FRoot) return;
    for (PLazyNode p = Node->Parent; p && p != FRoot; p = p->Parent)
        if (!p->Has(vsExpanded)) ToggleNode(p);
    SetOffsetY(FOffsetY - GetDisplayRect(Node, NoColumn, true).Top);
}

PLazyNode TBaseLazyTree::BottomNode()
{
    int top;
    return GetNodeAt(0, ClientHeight() - 1, true, top);
}

void TBaseLazyTree::SetBottomNode(PLazyNode Node)
{
    if (!Node || Node == FRoot) return;
    for (PLazyNode p = Node->Parent; p && p != FRoot; p = p->Parent)
        if (!p->Has(vsExpanded)) ToggleNode(p);
    const TRect r = GetDisplayRect(Node, NoColumn, true);
    DoSetOffsetXY({FOffsetX, ClientHeight() + FOffsetY - r.Top - static_cast<int>(Node->NodeHeight)});
}

// ---- automatic scrolling --------------------------------------------------------------

bool TBaseLazyTree::MayAutoScroll()
{
    const bool panning = HasState(tsWheelPanning) || HasState(tsWheelScrolling);
    const bool dropTarget = FDragManager && FDragManager->IsDropTargetActive();
    return (In(FOptions->AutoOptions(), toAutoScroll) || panning) &&
           (HasState(tsDrawSelecting) || dropTarget || HasState(tsVCLDragging) || panning);
}

unsigned TBaseLazyTree::ScrollDirectionsAt(int X, int Y)
{
    unsigned result = 0;
    if (!MayAutoScroll()) return 0;
    if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) {
        if (X > FLastClickPos.X + 8) result |= sdRight;
        if (X < FLastClickPos.X - 8) result |= sdLeft;
        if (Y < FLastClickPos.Y - 8) result |= sdUp;
        if (Y > FLastClickPos.Y + 8) result |= sdDown;
        return result;
    }
    const int zone = static_cast<int>(FDefaultNodeHeight);
    if (X < zone && FEffectiveOffsetX != 0) result |= sdLeft;
    if (ClientWidth() + FEffectiveOffsetX < FRangeX && X > ClientWidth() - zone) result |= sdRight;
    if (Y < zone && FOffsetY != 0) result |= sdUp;
    if (std::int64_t(ClientHeight()) - FOffsetY < FRangeY && Y > ClientHeight() - zone) result |= sdDown;
    // A drag over the tree scrolls only after AutoScrollDelay; the delay starts anew when a
    // drag enters the tree.
    const bool dropTarget = FDragManager && FDragManager->IsDropTargetActive();
    if (result != 0 && (dropTarget || HasState(tsVCLDragging))) {
        if (FDragScrollStart == 0) FDragScrollStart = plat::GetTickCount();
        if (plat::TicksSince(FDragScrollStart) < FAutoScrollDelay) return 0;
    }
    return result;
}

void TBaseLazyTree::CheckAutoScroll(int X, int Y)
{
    FScrollDirections = ScrollDirectionsAt(X, Y);
    if (HasState(tsWheelPanning) || HasState(tsWheelScrolling)) return;
    const bool scrolling = HasState(tsScrollPending) || HasState(tsScrolling);
    if (FScrollDirections != 0 && !scrolling) {
        DoStateChange(TreeBit(tsScrollPending));
        plat::SetTimer(Handle(), 4, FAutoScrollDelay);
    } else if (FScrollDirections == 0 && scrolling) {
        KillTreeTimer(4);
        DoStateChange(0, StateSet({tsScrolling, tsScrollPending}));
    }
}

void TBaseLazyTree::TimerScroll()
{
    const TPoint p = ScreenToClient(plat::GetCursorPos());
    const bool inside = ClientRect().Contains(p);
    const bool panning = HasState(tsWheelPanning) || HasState(tsWheelScrolling);
    const bool band = HasState(tsDrawSelecting);
    if (!band && !inside && !panning) return;
    const int incX = FScrollBarOptions->HorizontalIncrement();
    const int incY = std::min<int>(FScrollBarOptions->VerticalIncrement(), ClientHeight());
    int dx = 0, dy = 0;
    if (FScrollDirections & sdUp) {
        dy = panning ? FLastClickPos.Y - p.Y - 8 : inside ? incY : incY * std::max(1, -p.Y);
        if (FOffsetY == 0) FScrollDirections &= ~sdUp;
    }
    if (FScrollDirections & sdDown) {
        dy = panning ? FLastClickPos.Y - p.Y + 8 : inside ? -incY : -incY * std::max(1, p.Y - ClientHeight());
        if (std::int64_t(ClientHeight()) - FOffsetY >= FRangeY) FScrollDirections &= ~sdDown;
    }
    if (FScrollDirections & sdLeft) {
        dx = panning ? FLastClickPos.X - p.X - 8 : inside ? incX : incX * std::max(1, -p.X);
        if (FEffectiveOffsetX == 0) FScrollDirections &= ~sdLeft;
    }
    if (FScrollDirections & sdRight) {
        dx = panning ? FLastClickPos.X - p.X + 8 : inside ? -incX : -incX * std::max(1, p.X - ClientWidth());
        if (ClientWidth() + FEffectiveOffsetX >= FRangeX) FScrollDirections &= ~sdRight;
    }
    if (FBiDiMode != bdLeftToRight) dx = -dx;
    if (dx != 0 || dy != 0) DoSetOffsetXY({FOffsetX + dx, FOffsetY + dy});
    if (band && UpdateRubberBand(p.X, p.Y)) {
        ApplyRubberBand();
        InvalidateTree();
    }
    if (FScrollDirections == 0 && !panning) {
        KillTreeTimer(4);
        DoStateChange(0, StateSet({tsScrolling, tsScrollPending}));
    }
}

} // namespace vtree

// ---- wheel panning -------------------------------------------------------------------------

namespace vtree {

namespace {

// The popup that marks the panning start point: it paints its picture at (0, 0) and is
// shaped by the picture's non-magenta pixels. It takes no input and never the activation.
class TLTPanningWindow : public plat::TCustomControl {
public:
    explicit TLTPanningWindow(const plat::TBitmap* Image) : plat::TCustomControl(nullptr), FImage(Image)
    {
        SetVisible(false);
        SetWindowStyle(plat::WS_POPUP);
        SetWindowExStyle(plat::WS_EX_TOOLWINDOW);
    }
    String ClassName() const override { return u"LTPanningWindow"; }

protected:
    void Paint() override { Canvas()->Draw(0, 0, FImage); }

private:
    const plat::TBitmap* FImage;
};

constexpr plat::TColor kPanningTransparent = 0xFF00FF;  // magenta, in either byte order

// The region of Image's pixels that are not magenta, run by run on each pixel row.
plat::TRegion RegionFromPanningImage(plat::TBitmap& Image)
{
    if (Image.Empty() || Image.Width() <= 0 || Image.Height() <= 0)
        throw EAssertionFailed(u"Invalid wheel panning image.");
    plat::TRegion region;
    plat::TCanvas* canvas = Image.Canvas();
    for (int y = 0; y < Image.Height(); ++y) {
        int x = 0;
        while (x < Image.Width()) {
            while (x < Image.Width() && canvas->Pixels(x, y) == kPanningTransparent) ++x;
            const int start = x;
            while (x < Image.Width() && canvas->Pixels(x, y) != kPanningTransparent) ++x;
            if (x > start) {
                plat::TRegion run(TRect{start, y, x, y + 1});
                plat::TRegion joined;
                joined.Combine(region, run, plat::RGN_OR);
                region = std::move(joined);
            }
        }
    }
    return region;
}

// The panning cursors, installed in the screen's cursor table on first use under ids of
// their own (the shared set-up holds 62 and 63).
plat::TCursor PanningCursorId(const char16_t* Name)
{
    static const char16_t* const kNames[] = {u"LT_MOVEALL", u"LT_MOVEEW", u"LT_MOVENS", u"LT_MOVEN",
                                             u"LT_MOVES",   u"LT_MOVEE",  u"LT_MOVEW",  u"LT_MOVENE",
                                             u"LT_MOVENW",  u"LT_MOVESE", u"LT_MOVESW"};
    constexpr plat::TCursor kFirst = 64;
    for (int i = 0; i < static_cast<int>(std::size(kNames)); ++i) {
        if (String(kNames[i]) != String(Name)) continue;
        const plat::TCursor id = kFirst + i;
        if (!plat::Screen->Cursors(id)) plat::Screen->SetCursors(id, plat::LoadCursorResource(Name));
        return id;
    }
    return plat::crDefault;
}

} // namespace

plat::TWinControl* TBaseLazyTree::PanningWindow() const { return FPanningWindow.get(); }

void TBaseLazyTree::StartPanning(TPoint P)
{
    KillTreeTimer(4);
    DoStateChange(StateSet({tsWheelPanning, tsWheelScrolling}));
    const bool wider = FRangeX > ClientWidth();
    const bool taller = static_cast<std::int64_t>(FRangeY) > ClientHeight();
    const char16_t* name = wider && taller ? u"LT_MOVEALL" : wider ? u"LT_MOVEEW" : u"LT_MOVENS";
    FPanningImage = std::make_unique<plat::TBitmap>();
    plat::LoadBitmapResource(name, *FPanningImage);
    plat::TRegion region = RegionFromPanningImage(*FPanningImage);
    auto window = std::make_unique<TLTPanningWindow>(FPanningImage.get());
    const TPoint at = ClientToScreen(P);
    window->SetBounds(at.X - 16, at.Y - 16, 32, 32);
    plat::SetWindowRgn(window->Handle(), region);
    FPanningWindow = std::move(window);
    plat::ShowWindow(FPanningWindow->Handle(), plat::SW_SHOWNOACTIVATE);
    FPanningCursor = PanningCursorId(name);
    plat::SetCursor(FPanningCursor);
    if (CanFocus()) SetFocus();
    SetMouseCapture(true);
    plat::SetTimer(Handle(), 4, 20);
}

void TBaseLazyTree::StopPanning()
{
    if (!HasState(tsWheelPanning) && !HasState(tsWheelScrolling)) return;
    KillTreeTimer(4);
    SetMouseCapture(false);
    DoStateChange(0, StateSet({tsWheelPanning, tsWheelScrolling}));
    FPanningWindow.reset();
    FPanningImage.reset();
    FPanningCursor = plat::crDefault;
    plat::SetCursor(Cursor());
}

void TBaseLazyTree::UpdatePanningCursor(int X, int Y)
{
    const bool wider = FRangeX > ClientWidth();
    const bool taller = static_cast<std::int64_t>(FRangeY) > ClientHeight();
    const int dx = X - FLastClickPos.X, dy = Y - FLastClickPos.Y;
    const char16_t* name;
    if (std::abs(dx) > 7 || std::abs(dy) > 7) {
        if (wider && taller) {
            if (dx < -8) name = dy < -8 ? u"LT_MOVENW" : dy > 8 ? u"LT_MOVESW" : u"LT_MOVEW";
            else if (dx > 8) name = dy < -8 ? u"LT_MOVENE" : dy > 8 ? u"LT_MOVESE" : u"LT_MOVEE";
            else name = dy < 0 ? u"LT_MOVEN" : u"LT_MOVES";
        } else if (wider) {
            name = dx < 0 ? u"LT_MOVEW" : u"LT_MOVEE";
        } else {
            name = dy < 0 ? u"LT_MOVEN" : u"LT_MOVES";
        }
    } else {
        name = !wider ? u"LT_MOVENS" : taller ? u"LT_MOVEALL" : u"LT_MOVEEW";
    }
    const plat::TCursor id = PanningCursorId(name);
    if (id == FPanningCursor) return;
    FPanningCursor = id;
    plat::SetCursor(id);
}

} // namespace vtree
