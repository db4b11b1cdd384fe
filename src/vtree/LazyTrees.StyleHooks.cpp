#include "LazyTrees.StyleHooks.h"

#include <algorithm>
#include <cmath>

#include "plat/Controls.h"
#include "plat/Graphics.h"

namespace vtree {

using namespace plat;

namespace {

bool Contains(const TRect& R, TPoint P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

TRect Offset(TRect R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

// Normal <-> Hot by whether the point lies in the rectangle; only those two states change.
bool TrackHot(TThemedScrollBar& State, TThemedScrollBar Normal, const TRect& R, TPoint P)
{
    const TThemedScrollBar hot = TThemedScrollBar(Normal + 1);
    if (Contains(R, P) && State == Normal) {
        State = hot;
        return true;
    }
    if (!Contains(R, P) && State == hot) {
        State = Normal;
        return true;
    }
    return false;
}

} // namespace

void TVclStyleScrollBarsHook::TVclStyleScrollBarWindow::Paint(TCanvas* Canvas)
{
    if (!FScrollBarWindowOwner) return;
    if (FScrollBarVertical) {
        const TRect& r = FScrollBarWindowOwner->FVertScrollBarRect;
        SetCanvasOrigin(Canvas, r.Left, r.Top);
        FScrollBarWindowOwner->PaintVertScrollBar(Canvas);
    } else {
        const TRect& r = FScrollBarWindowOwner->FHorzScrollBarRect;
        SetCanvasOrigin(Canvas, r.Left, r.Top);
        FScrollBarWindowOwner->PaintHorzScrollBar(Canvas);
    }
    SetCanvasOrigin(Canvas, 0, 0);
}

TVclStyleScrollBarsHook::TVclStyleScrollBarsHook(TBaseLazyTree* Tree, TLTScrollBarStyle* Style)
    : FTree(Tree), FStyle(Style)
{
    FVertScrollBarWindow.FScrollBarWindowOwner = this;
    FVertScrollBarWindow.FScrollBarVertical = true;
    FHorzScrollBarWindow.FScrollBarWindowOwner = this;
}

TVclStyleScrollBarsHook::~TVclStyleScrollBarsHook()
{
    FVertScrollBarWindow.FScrollBarWindowOwner = nullptr;
    FHorzScrollBarWindow.FScrollBarWindowOwner = nullptr;
}

bool TVclStyleScrollBarsHook::HasBorder() const { return FTree->BorderStyle() == bsSingle; }
bool TVclStyleScrollBarsHook::HasClientEdge() const { return FTree->Ctl3D(); }

int TVclStyleScrollBarsHook::BorderOffset() const
{
    if (!HasBorder()) return 0;
    return HasClientEdge() ? 2 : 1;
}

bool TVclStyleScrollBarsHook::InHeader(TPoint ClientPoint) const { return FTree->Header().InHeader(ClientPoint); }

TPoint TVclStyleScrollBarsHook::NonClientPoint(const TMessage& Message) const
{
    return FTree->ScreenToClient(PointFromLParam(Message.LParam));
}

void TVclStyleScrollBarsHook::CallDefaultProc(TMessage& Message)
{
    Message.Result = FTree->Perform(Message.Msg, Message.WParam, Message.LParam);
}

void TVclStyleScrollBarsHook::PostScrollMessage(UINT Msg, WPARAM WParam)
{
    PostMessage(FTree->Handle(), Msg, WParam, 0);
}

void TVclStyleScrollBarsHook::ComputeScrollBarRects()
{
    int edgeX = 0, edgeY = 0;
    if (HasBorder() && HasClientEdge()) {
        edgeX = GetSystemMetrics(SM_CXEDGE);
        edgeY = GetSystemMetrics(SM_CYEDGE);
    }
    auto compute = [&](bool Vertical) {
        TScrollBarInfo info;
        TVclStyleScrollBarWindow& window = Vertical ? FVertScrollBarWindow : FHorzScrollBarWindow;
        if (!GetScrollBarInfo(FTree->Handle(), Vertical ? OBJID_VSCROLL : OBJID_HSCROLL, info)) {
            window.FScrollBarVisible = false;
            return;
        }
        window.FScrollBarVisible = (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0;
        window.FScrollBarEnabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
        if (!window.FScrollBarVisible) return;
        const TPoint tl = FTree->ScreenToClient({info.rcScrollBar.Left, info.rcScrollBar.Top});
        const TRect r = Offset(Rect(tl.X, tl.Y, tl.X + info.rcScrollBar.Width(), tl.Y + info.rcScrollBar.Height()),
                               edgeX, edgeY);
        const int s = info.dxyLineButton;
        if (Vertical) {
            FVertScrollBarRect = r;
            FVertScrollBarUpButtonRect = Rect(r.Left, r.Top, r.Right, r.Top + s);
            FVertScrollBarDownButtonRect = Rect(r.Left, r.Bottom - s, r.Right, r.Bottom);
            FVertScrollBarSliderTrackRect = Rect(r.Left, r.Top + s, r.Right, r.Bottom - s);
        } else {
            FHorzScrollBarRect = r;
            FHorzScrollBarUpButtonRect = Rect(r.Left, r.Top, r.Left + s, r.Bottom);
            FHorzScrollBarDownButtonRect = Rect(r.Right - s, r.Top, r.Right, r.Bottom);
            FHorzScrollBarSliderTrackRect = Rect(r.Left + s, r.Top, r.Right - s, r.Bottom);
        }
    };
    compute(true);
    compute(false);
}

TRect TVclStyleScrollBarsHook::VertThumbRect() const
{
    const TVclStyleScrollBarWindow& w = FVertScrollBarWindow;
    TScrollBarInfo info;
    if (!w.FScrollBarVisible || !w.FScrollBarEnabled || !GetScrollBarInfo(FTree->Handle(), OBJID_VSCROLL, info))
        return {};
    const TPoint tl = FTree->ScreenToClient({info.rcScrollBar.Left, info.rcScrollBar.Top});
    const int o = BorderOffset();
    return Offset(Rect(tl.X, tl.Y + info.xyThumbTop, tl.X + info.rcScrollBar.Width(), tl.Y + info.xyThumbBottom), o, o);
}

TRect TVclStyleScrollBarsHook::HorzThumbRect() const
{
    const TVclStyleScrollBarWindow& w = FHorzScrollBarWindow;
    TScrollBarInfo info;
    if (!w.FScrollBarVisible || !w.FScrollBarEnabled || !GetScrollBarInfo(FTree->Handle(), OBJID_HSCROLL, info))
        return {};
    const TPoint tl = FTree->ScreenToClient({info.rcScrollBar.Left, info.rcScrollBar.Top});
    const int o = BorderOffset();
    return Offset(Rect(tl.X + info.xyThumbTop, tl.Y, tl.X + info.xyThumbBottom, tl.Y + info.rcScrollBar.Height()), o, o);
}

void TVclStyleScrollBarsHook::PlaceScrollBarWindows()
{
    const int a = In(FTree->Header().Options(), hoVisible) ? FTree->Header().Height() : 0;
    const int bw = FTree->BorderWidth();
    const int edgeX = GetSystemMetrics(SM_CXEDGE), edgeY = GetSystemMetrics(SM_CYEDGE);
    TVclStyleScrollBarWindow& v = FVertScrollBarWindow;
    if (v.FScrollBarVisible) {
        TRect r = FVertScrollBarRect;
        if (FTree->BiDiMode() == bdRightToLeft) {
            r = Offset(r, -r.Left, 0);
            if (HasBorder()) r = Offset(r, edgeX, 0);
        }
        const int b = HasBorder() ? 2 * edgeY : 0;
        const int left = FTree->Left() + r.Left + bw, top = FTree->Top() + r.Top + a + bw;
        v.Bounds = Rect(left, top, left + r.Width(), top + FTree->Height() - a - b - bw);
        v.Shown = true;
    } else {
        v.Shown = false;
    }
    TVclStyleScrollBarWindow& h = FHorzScrollBarWindow;
    if (h.FScrollBarVisible) {
        TRect r = FHorzScrollBarRect;
        if (FTree->BiDiMode() == bdRightToLeft) r = Offset(r, FVertScrollBarRect.Width(), 0);
        const int left = FTree->Left() + r.Left + bw, top = FTree->Top() + r.Top + a + bw;
        h.Bounds = Rect(left, top, left + r.Width(), top + r.Height());
        h.Shown = true;
    } else {
        h.Shown = false;
    }
}

void TVclStyleScrollBarsHook::RepaintScrollBarWindows() { ++FRepaintCount; }

void TVclStyleScrollBarsHook::PaintBar(TCanvas* Canvas, bool Vertical)
{
    const TVclStyleScrollBarWindow& w = Vertical ? FVertScrollBarWindow : FHorzScrollBarWindow;
    if (!w.FScrollBarVisible || !FStyle || !FStyle->Available()) return;
    const TRect bar = Vertical ? FVertScrollBarRect : FHorzScrollBarRect;
    const int width = bar.Width();
    const int height = Vertical && w.Shown ? w.Bounds.Height() : bar.Height();
    if (width <= 0 || height <= 0) return;
    TBitmap bitmap(width, height);
    TCanvas* c = bitmap.Canvas();
    // Elements are drawn in the bar's own coordinates.
    SetCanvasOrigin(c, bar.Left, bar.Top);
    const TRect up = Vertical ? FVertScrollBarUpButtonRect : FHorzScrollBarUpButtonRect;
    const TRect down = Vertical ? FVertScrollBarDownButtonRect : FHorzScrollBarDownButtonRect;
    const TRect track = Vertical ? Rect(bar.Left, up.Bottom, bar.Right, down.Top) : Rect(up.Right, bar.Top, down.Left, bar.Bottom);
    if (Vertical) {
        FStyle->DrawElement(c, tsUpperTrackVertNormal, Rect(bar.Left, bar.Top, bar.Left + width, bar.Top + height));
        FStyle->DrawElement(c, tsUpperTrackVertNormal, track);
    } else {
        FStyle->DrawElement(c, tsUpperTrackHorzNormal, track);
    }
    if (w.FScrollBarEnabled)
        FStyle->DrawElement(c, Vertical ? FVertScrollBarSliderState : FHorzScrollBarSliderState,
                            Vertical ? VertThumbRect() : HorzThumbRect());
    const bool enabled = w.FScrollBarEnabled;
    FStyle->DrawElement(c, enabled ? (Vertical ? FVertScrollBarUpButtonState : FHorzScrollBarUpButtonState)
                                   : (Vertical ? tsArrowBtnUpDisabled : tsArrowBtnLeftDisabled),
                        up);
    FStyle->DrawElement(c, enabled ? (Vertical ? FVertScrollBarDownButtonState : FHorzScrollBarDownButtonState)
                                   : (Vertical ? tsArrowBtnDownDisabled : tsArrowBtnRightDisabled),
                        down);
    SetCanvasOrigin(c, 0, 0);
    const int copyHeight = Vertical ? height - FTree->BorderWidth() : height;
    Canvas->CopyRect(Rect(bar.Left, bar.Top, bar.Left + width, bar.Top + copyHeight), c, Rect(0, 0, width, copyHeight));
}

void TVclStyleScrollBarsHook::PaintVertScrollBar(TCanvas* Canvas) { PaintBar(Canvas, true); }
void TVclStyleScrollBarsHook::PaintHorzScrollBar(TCanvas* Canvas) { PaintBar(Canvas, false); }

void TVclStyleScrollBarsHook::MouseLeave()
{
    for (TThemedScrollBar* s : {&FVertScrollBarSliderState, &FVertScrollBarUpButtonState, &FVertScrollBarDownButtonState,
                                &FHorzScrollBarSliderState, &FHorzScrollBarUpButtonState, &FHorzScrollBarDownButtonState}) {
        switch (*s) {
        case tsArrowBtnUpHot: case tsArrowBtnDownHot: case tsArrowBtnLeftHot: case tsArrowBtnRightHot:
        case tsThumbBtnHorzHot: case tsThumbBtnVertHot:
            *s = TThemedScrollBar(*s - 1);
            break;
        default: break;
        }
    }
    RepaintScrollBarWindows();
}

void TVclStyleScrollBarsHook::ThumbMove(bool Vertical, TPoint Pointer)
{
    TScrollInfo si;
    si.fMask = SIF_ALL;
    const int bar = Vertical ? SB_VERT : SB_HORZ;
    GetScrollInfo(FTree->Handle(), bar, si);
    if (si.nPos != static_cast<int>(std::lround(FScrollPos))) FScrollPos = float(si.nPos);
    const int now = Vertical ? Pointer.Y : Pointer.X;
    const int track = Vertical ? FVertScrollBarSliderTrackRect.Height() : FHorzScrollBarSliderTrackRect.Width();
    if (track > 0) FScrollPos += float(now - FPrevScrollPos) / float(track) * float(si.nMax - si.nMin);
    FScrollPos = std::clamp(FScrollPos, float(si.nMin), float(si.nMax));
    if (si.nPage != 0) {
        const int last = si.nMax - int(si.nPage) + 1;
        if (std::lround(FScrollPos) > last) FScrollPos = float(last);
    }
    FPrevScrollPos = now;
    const int pos = static_cast<int>(std::lround(FScrollPos));
    TScrollInfo set;
    set.fMask = SIF_POS;
    set.nPos = pos;
    SetScrollInfo(FTree->Handle(), bar, set, false);
    // The message carries 16 bits of position: larger positions are reported as 32767.
    PostScrollMessage(Vertical ? WM_VSCROLL : WM_HSCROLL, MakeWParam(SB_THUMBPOSITION, std::min(pos, 32767)));
    RepaintScrollBarWindows();
}

bool TVclStyleScrollBarsHook::HandleMessage(TMessage& Message)
{
    const bool creating = FTree->HasState(tsWindowCreating);
    TVclStyleScrollBarWindow& v = FVertScrollBarWindow;
    TVclStyleScrollBarWindow& h = FHorzScrollBarWindow;
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return true;
    case WM_NCPAINT:
        if (!creating) return false;
        ComputeScrollBarRects();
        PlaceScrollBarWindows();
        return true;
    case WM_SIZE:
        CallDefaultProc(Message);
        ComputeScrollBarRects();
        PlaceScrollBarWindows();
        RepaintScrollBarWindows();
        return true;
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        CallDefaultProc(Message);
        if (!creating) {
            ComputeScrollBarRects();
            PlaceScrollBarWindows();
            RepaintScrollBarWindows();
        }
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_MOUSEWHEEL:
        CallDefaultProc(Message);
        RepaintScrollBarWindows();
        return true;
    case WM_CAPTURECHANGED: {
        bool changed = false;
        auto release = [&](TThemedScrollBar& s, TThemedScrollBar Normal) {
            if (s == TThemedScrollBar(Normal + 2)) {
                s = Normal;
                changed = true;
            }
        };
        if (v.FScrollBarVisible && v.FScrollBarEnabled) {
            release(FVertScrollBarUpButtonState, tsArrowBtnUpNormal);
            release(FVertScrollBarDownButtonState, tsArrowBtnDownNormal);
        }
        if (h.FScrollBarVisible && h.FScrollBarEnabled) {
            release(FHorzScrollBarUpButtonState, tsArrowBtnLeftNormal);
            release(FHorzScrollBarDownButtonState, tsArrowBtnRightNormal);
        }
        if (changed) RepaintScrollBarWindows();
        CallDefaultProc(Message);
        return true;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        const TPoint client = NonClientPoint(Message);
        if (InHeader(client)) return false;
        const TPoint p{client.X + BorderOffset(), client.Y + BorderOffset()};
        const TPoint screen = PointFromLParam(Message.LParam);
        auto grab = [&](bool Vertical) {
            TScrollInfo si;
            si.fMask = SIF_ALL;
            GetScrollInfo(FTree->Handle(), Vertical ? SB_VERT : SB_HORZ, si);
            FLeftMouseButtonDown = true;
            FScrollPos = float(si.nPos);
            FPrevScrollPos = Vertical ? screen.Y : screen.X;
            (Vertical ? FVertScrollBarSliderState : FHorzScrollBarSliderState) =
                Vertical ? tsThumbBtnVertPressed : tsThumbBtnHorzPressed;
            RepaintScrollBarWindows();
            SetCapture(FTree->Handle());
        };
        if (v.FScrollBarVisible) {
            if (Contains(VertThumbRect(), p)) {
                grab(true);
                return true;
            }
            if (v.FScrollBarEnabled) {
                if (Contains(FVertScrollBarUpButtonRect, p)) FVertScrollBarUpButtonState = tsArrowBtnUpPressed;
                if (Contains(FVertScrollBarDownButtonRect, p)) FVertScrollBarDownButtonState = tsArrowBtnDownPressed;
            }
        }
        if (h.FScrollBarVisible) {
            if (Contains(HorzThumbRect(), p)) {
                grab(false);
                return true;
            }
            if (h.FScrollBarEnabled) {
                if (Contains(FHorzScrollBarUpButtonRect, p)) FHorzScrollBarUpButtonState = tsArrowBtnLeftPressed;
                if (Contains(FHorzScrollBarDownButtonRect, p)) FHorzScrollBarDownButtonState = tsArrowBtnRightPressed;
            }
        }
        FLeftMouseButtonDown = true;
        RepaintScrollBarWindows();
        return false;
    }
    case WM_NCMOUSEMOVE: {
        const TPoint client = NonClientPoint(Message);
        if (InHeader(client)) {
            CallDefaultProc(Message);
            RepaintScrollBarWindows();
            return true;
        }
        const TPoint p{client.X + BorderOffset(), client.Y + BorderOffset()};
        bool changed = false;
        if (v.FScrollBarEnabled) {
            changed |= TrackHot(FVertScrollBarSliderState, tsThumbBtnVertNormal, VertThumbRect(), p);
            changed |= TrackHot(FVertScrollBarUpButtonState, tsArrowBtnUpNormal, FVertScrollBarUpButtonRect, p);
            changed |= TrackHot(FVertScrollBarDownButtonState, tsArrowBtnDownNormal, FVertScrollBarDownButtonRect, p);
        }
        if (h.FScrollBarEnabled) {
            changed |= TrackHot(FHorzScrollBarSliderState, tsThumbBtnHorzNormal, HorzThumbRect(), p);
            changed |= TrackHot(FHorzScrollBarUpButtonState, tsArrowBtnLeftNormal, FHorzScrollBarUpButtonRect, p);
            changed |= TrackHot(FHorzScrollBarDownButtonState, tsArrowBtnRightNormal, FHorzScrollBarDownButtonRect, p);
        }
        if (changed) RepaintScrollBarWindows();
        return true;
    }
    case WM_MOUSEMOVE: {
        const TPoint screen = FTree->ClientToScreen(PointFromLParam(Message.LParam));
        if (FVertScrollBarSliderState == tsThumbBtnVertPressed) {
            ThumbMove(true, screen);
            return true;
        }
        if (FHorzScrollBarSliderState == tsThumbBtnHorzPressed) {
            ThumbMove(false, screen);
            return true;
        }
        struct Hot {
            TThemedScrollBar* State;
            TThemedScrollBar Normal;
        };
        for (Hot k : {Hot{&FHorzScrollBarSliderState, tsThumbBtnHorzNormal}, Hot{&FVertScrollBarSliderState, tsThumbBtnVertNormal},
                      Hot{&FHorzScrollBarUpButtonState, tsArrowBtnLeftNormal}, Hot{&FHorzScrollBarDownButtonState, tsArrowBtnRightNormal},
                      Hot{&FVertScrollBarUpButtonState, tsArrowBtnUpNormal}, Hot{&FVertScrollBarDownButtonState, tsArrowBtnDownNormal}}) {
            if (*k.State == TThemedScrollBar(k.Normal + 1)) {
                *k.State = k.Normal;
                RepaintScrollBarWindows();
                break;
            }
        }
        CallDefaultProc(Message);
        if (FLeftMouseButtonDown) RepaintScrollBarWindows();
        return true;
    }
    case WM_LBUTTONUP: {
        if (InHeader(PointFromLParam(Message.LParam))) return false;
        auto end = [&](bool Vertical) {
            TThemedScrollBar& thumb = Vertical ? FVertScrollBarSliderState : FHorzScrollBarSliderState;
            if (thumb != (Vertical ? tsThumbBtnVertPressed : tsThumbBtnHorzPressed)) {
                TThemedScrollBar& up = Vertical ? FVertScrollBarUpButtonState : FHorzScrollBarUpButtonState;
                TThemedScrollBar& down = Vertical ? FVertScrollBarDownButtonState : FHorzScrollBarDownButtonState;
                if (up == (Vertical ? tsArrowBtnUpPressed : tsArrowBtnLeftPressed)) up = TThemedScrollBar(up - 2);
                if (down == (Vertical ? tsArrowBtnDownPressed : tsArrowBtnRightPressed)) down = TThemedScrollBar(down - 2);
                return false;
            }
            PostScrollMessage(Vertical ? WM_VSCROLL : WM_HSCROLL, MakeWParam(SB_ENDSCROLL, 0));
            FLeftMouseButtonDown = false;
            thumb = Vertical ? tsThumbBtnVertNormal : tsThumbBtnHorzNormal;
            RepaintScrollBarWindows();
            ReleaseCapture();
            return true;
        };
        if (v.FScrollBarVisible && end(true)) return true;
        if (h.FScrollBarVisible && end(false)) return true;
        RepaintScrollBarWindows();
        FLeftMouseButtonDown = false;
        return false;
    }
    case WM_NCLBUTTONUP: {
        const TPoint client = NonClientPoint(Message);
        const bool header = InHeader(client);
        const TPoint p{client.X + BorderOffset(), client.Y + BorderOffset()};
        if (!header) {
            auto release = [&](bool Vertical) {
                TThemedScrollBar& thumb = Vertical ? FVertScrollBarSliderState : FHorzScrollBarSliderState;
                const TThemedScrollBar normal = Vertical ? tsThumbBtnVertNormal : tsThumbBtnHorzNormal;
                if (thumb == TThemedScrollBar(normal + 2)) {
                    thumb = normal;
                    FLeftMouseButtonDown = false;
                    RepaintScrollBarWindows();
                    return true;
                }
                auto arrow = [&](TThemedScrollBar& s, TThemedScrollBar Normal, const TRect& R) {
                    s = Contains(R, p) ? TThemedScrollBar(Normal + 1) : Normal;
                };
                if (Vertical) {
                    arrow(FVertScrollBarUpButtonState, tsArrowBtnUpNormal, FVertScrollBarUpButtonRect);
                    arrow(FVertScrollBarDownButtonState, tsArrowBtnDownNormal, FVertScrollBarDownButtonRect);
                } else {
                    arrow(FHorzScrollBarUpButtonState, tsArrowBtnLeftNormal, FHorzScrollBarUpButtonRect);
                    arrow(FHorzScrollBarDownButtonState, tsArrowBtnRightNormal, FHorzScrollBarDownButtonRect);
                }
                return false;
            };
            if (v.FScrollBarVisible && v.FScrollBarEnabled && release(true)) return true;
            if (h.FScrollBarVisible && h.FScrollBarEnabled && release(false)) return true;
        }
        CallDefaultProc(Message);
        if ((!header && h.FScrollBarVisible) || v.FScrollBarVisible) RepaintScrollBarWindows();
        return true;
    }
    case WM_STYLESCROLLBARSCHANGED:
        ComputeScrollBarRects();
        RepaintScrollBarWindows();
        return true;
    default:
        return false;
    }
}

bool RegisterStyleHooks()
{
    // The style engine attaches hooks only while a custom style runs, and the layer has no
    // style engine: CustomStyleActive() is always false, so no tree gets a hook.
    return false;
}

} // namespace vtree
