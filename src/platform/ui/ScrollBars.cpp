// Window scroll bars: part of the non-client area, painted in the classic look and driven by
// the mouse (arrows, page areas, thumb drag), reporting through WM_HSCROLL/WM_VSCROLL.
#include <algorithm>

#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/ScrollBarInfo.h"
#include "plat/Timers.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

constexpr int kBar = 17;  // bar thickness and arrow length
constexpr int kMinThumb = 8;
constexpr unsigned kRepeatDelay = 400;  // ms before a held arrow or page area repeats
constexpr unsigned kRepeatRate = 50;    // ms between repeats

TTimer* g_repeat = nullptr;
HWND g_repeatWindow = 0;

struct BarLayout {
    TRect bar;       // whole bar, window coordinates
    TRect arrow1;    // up / left
    TRect arrow2;    // down / right
    TRect thumb;     // empty when there is no thumb
    int trackStart = 0, trackLen = 0, thumbLen = 0;
    bool vertical = true;
};

int MaxPos(const ScrollBarState& s) { return s.nMax - std::max(static_cast<int>(s.nPage) - 1, 0); }

bool Scrollable(const ScrollBarState& s)
{
    if (s.nMax <= s.nMin) return false;
    return s.nPage == 0 || s.nPage <= s.nMax - s.nMin;
}

BarLayout Layout(const TWinControl* c, int bar)
{
    const NativeWindow& n = ui::N(c);
    const ScrollBarState& s = n.bars[bar];
    BarLayout l;
    l.vertical = bar == SB_VERT;
    l.bar = ScrollBarRect(c, bar);
    const int len = l.vertical ? l.bar.Height() : l.bar.Width();
    const int arrow = std::min(ScrollBarThickness(c, bar), len / 2);
    if (l.vertical) {
        l.arrow1 = Rect(l.bar.Left, l.bar.Top, l.bar.Right, l.bar.Top + arrow);
        l.arrow2 = Rect(l.bar.Left, l.bar.Bottom - arrow, l.bar.Right, l.bar.Bottom);
    } else {
        l.arrow1 = Rect(l.bar.Left, l.bar.Top, l.bar.Left + arrow, l.bar.Bottom);
        l.arrow2 = Rect(l.bar.Right - arrow, l.bar.Top, l.bar.Right, l.bar.Bottom);
    }
    l.trackStart = (l.vertical ? l.bar.Top : l.bar.Left) + arrow;
    l.trackLen = len - 2 * arrow;
    if (!s.enabled || !Scrollable(s) || l.trackLen < kMinThumb) return l;
    const int range = s.nMax - s.nMin + 1;
    l.thumbLen = s.nPage == 0 ? ScrollBarThickness(c, bar) : std::max(kMinThumb, static_cast<int>(static_cast<long long>(l.trackLen) * s.nPage / range));
    l.thumbLen = std::min(l.thumbLen, l.trackLen);
    const int maxPos = MaxPos(s);
    const int pos = s.tracking ? s.nTrackPos : s.nPos;
    const int off = maxPos > s.nMin ? static_cast<int>(static_cast<long long>(l.trackLen - l.thumbLen) * (pos - s.nMin) / (maxPos - s.nMin)) : 0;
    if (l.vertical)
        l.thumb = Rect(l.bar.Left, l.trackStart + off, l.bar.Right, l.trackStart + off + l.thumbLen);
    else
        l.thumb = Rect(l.trackStart + off, l.bar.Top, l.trackStart + off + l.thumbLen, l.bar.Bottom);
    return l;
}

// A flat arrow: a small triangle pointing along the bar, centred in its box.
void FlatArrow(TCanvas* canvas, const TRect& r, bool vertical, bool first, TColor color)
{
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const int k = std::max(2, std::min(r.Width(), r.Height()) / 4);
    TPoint p[3];
    if (vertical) {
        const int d = first ? -1 : 1;
        p[0] = {cx - k, cy - d * k / 2};
        p[1] = {cx + k, cy - d * k / 2};
        p[2] = {cx, cy + d * (k + 1) / 2};
    } else {
        const int d = first ? -1 : 1;
        p[0] = {cx - d * k / 2, cy - k};
        p[1] = {cx - d * k / 2, cy + k};
        p[2] = {cx + d * (k + 1) / 2, cy};
    }
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
    canvas->Polygon(p);
}

void PaintBar(TWinControl* c, TCanvas* canvas, int bar)
{
    NativeWindow& n = ui::N(c);
    const ScrollBarState& s = n.bars[bar];
    const BarLayout l = Layout(c, bar);
    if (l.bar.IsEmpty()) return;
    const bool active = s.enabled && Scrollable(s);
    const int style = n.flatBars ? s.flatStyle : FSB_REGULAR_MODE;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(n.flatBars && s.background != clNone ? s.background : clScrollBar);
    canvas->FillRect(l.bar);
    auto pushed = [&](int part) { return n.barDown == bar && n.barPart == part; };
    if (style == FSB_REGULAR_MODE) {
        const unsigned inactive = active ? 0 : DFCS_INACTIVE;
        DrawFrameControl(canvas, l.arrow1, DFC_SCROLL, (l.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive | (pushed(SB_LINEUP) ? DFCS_PUSHED : 0u));
        DrawFrameControl(canvas, l.arrow2, DFC_SCROLL, (l.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive | (pushed(SB_LINEDOWN) ? DFCS_PUSHED : 0u));
        if (!l.thumb.IsEmpty()) {
            canvas->Brush()->SetColor(clBtnFace);
            canvas->FillRect(l.thumb);
            TRect t = l.thumb;
            DrawEdge(canvas, t, EDGE_RAISED, BF_RECT);
        }
        return;
    }
    // Flat: arrow boxes and thumb without 3D edges, a one-pixel shadow frame round the
    // thumb. Encarta: the arrow boxes and the thumb stand out in the button face, framed.
    const TColor glyph = active ? clBtnText : clGrayText;
    const bool encarta = style == FSB_ENCARTA_MODE;
    for (int part : {SB_LINEUP, SB_LINEDOWN}) {
        const TRect& r = part == SB_LINEUP ? l.arrow1 : l.arrow2;
        if (encarta || pushed(part)) {
            canvas->Brush()->SetColor(pushed(part) ? clBtnShadow : clBtnFace);
            canvas->FillRect(r);
            canvas->Brush()->SetColor(clBtnShadow);
            canvas->FrameRect(r);
        }
        FlatArrow(canvas, r, l.vertical, part == SB_LINEUP, glyph);
    }
    if (!l.thumb.IsEmpty()) {
        canvas->Brush()->SetColor(encarta ? clBtnFace : clBtnHighlight);
        canvas->FillRect(l.thumb);
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(l.thumb);
    }
}

int PartAt(const BarLayout& l, TPoint p)
{
    if (l.arrow1.Contains(p)) return SB_LINEUP;
    if (l.arrow2.Contains(p)) return SB_LINEDOWN;
    if (!l.thumb.IsEmpty()) {
        if (l.thumb.Contains(p)) return SB_THUMBTRACK;
        const int v = l.vertical ? p.Y : p.X;
        const int t = l.vertical ? l.thumb.Top : l.thumb.Left;
        return v < t ? SB_PAGEUP : SB_PAGEDOWN;
    }
    return -1;
}

void SendScroll(TWinControl* c, int bar, int code, int pos)
{
    c->Perform(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeWParam(code, pos), 0);
}

void RepeatTick();

void StartRepeat(TWinControl* c)
{
    if (!g_repeat) {
        g_repeat = new TTimer(nullptr);
        g_repeat->SetEnabled(false);
        g_repeat->OnTimer = [](TObject*) { RepeatTick(); };
    }
    g_repeatWindow = c->Handle();
    g_repeat->SetEnabled(false);
    g_repeat->SetInterval(kRepeatDelay);
    g_repeat->SetEnabled(true);
}

void StopRepeat()
{
    if (g_repeat) g_repeat->SetEnabled(false);
    g_repeatWindow = 0;
}

// A held arrow repeats its line step; a held page area repeats until the thumb reaches the
// pointer.
void RepeatTick()
{
    TWinControl* c = FindControl(g_repeatWindow);
    if (!c) {
        StopRepeat();
        return;
    }
    NativeWindow& n = ui::N(c);
    if (n.barDown < 0 || n.barPart == SB_THUMBTRACK) {
        StopRepeat();
        return;
    }
    g_repeat->SetInterval(kRepeatRate);
    const int bar = n.barDown;
    const BarLayout l = Layout(c, bar);
    TRect wr;
    GetWindowRect(c->Handle(), wr);
    const TPoint cur = GetCursorPos();
    const TPoint p{cur.X - wr.Left, cur.Y - wr.Top};
    const int part = PartAt(l, p);
    if (part != n.barPart) return;  // the pointer left the part: pause until it returns
    SendScroll(c, bar, part, 0);
}

void ApplyVisibility(TWinControl* c, int bar, bool visible)
{
    NativeWindow& n = ui::N(c);
    if (n.bars[bar].visible == visible) return;
    const TRect before = c->ClientRect();
    std::uint32_t style = c->WindowStyle();
    const std::uint32_t bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    style = visible ? (style | bit) : (style & ~bit);
    c->SetWindowStyle(style);
    const TRect after = c->ClientRect();
    if (!(before == after)) c->Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(after.Width(), after.Height()));
}

} // namespace

int ScrollBarThickness(const TWinControl* c, int bar)
{
    const NativeWindow& n = ui::N(c);
    const int t = n.flatBars ? n.bars[bar].thickness : 0;
    return t > 0 ? t : kBar;
}

TRect ScrollBarRect(const TWinControl* c, int bar)
{
    const NativeWindow& n = ui::N(c);
    const int fw = UiAccess::FrameWidth(c);
    const TRect in{fw, fw, std::max(fw, c->Width() - fw), std::max(fw, c->Height() - fw)};
    const bool v = n.bars[SB_VERT].visible, h = n.bars[SB_HORZ].visible;
    const int vw = ScrollBarThickness(c, SB_VERT), hh = ScrollBarThickness(c, SB_HORZ);
    if (bar == SB_VERT) return Rect(std::max(in.Left, in.Right - vw), in.Top, in.Right, std::max(in.Top, in.Bottom - (h ? hh : 0)));
    return Rect(in.Left, std::max(in.Top, in.Bottom - hh), std::max(in.Left, in.Right - (v ? vw : 0)), in.Bottom);
}

void PaintWindowScrollBars(TWinControl* c, TCanvas* canvas)
{
    NativeWindow& n = ui::N(c);
    if (n.bars[SB_VERT].visible) PaintBar(c, canvas, SB_VERT);
    if (n.bars[SB_HORZ].visible) PaintBar(c, canvas, SB_HORZ);
    if (n.bars[SB_VERT].visible && n.bars[SB_HORZ].visible) {
        const TRect v = ScrollBarRect(c, SB_VERT), h = ScrollBarRect(c, SB_HORZ);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(v.Left, h.Top, v.Right, h.Bottom));
    }
}

bool ScrollBarMouse(TWinControl* c, UINT msg, LRESULT hit, TPoint screen)
{
    NativeWindow& n = ui::N(c);
    TRect wr;
    GetWindowRect(c->Handle(), wr);
    const TPoint p{screen.X - wr.Left, screen.Y - wr.Top};
    if (msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK) {
        const int bar = hit == HTVSCROLL ? SB_VERT : hit == HTHSCROLL ? SB_HORZ : -1;
        if (bar < 0 || !n.bars[bar].enabled) return false;
        const BarLayout l = Layout(c, bar);
        const int part = PartAt(l, p);
        if (part < 0) return true;
        n.barDown = bar;
        n.barPart = part;
        SetCaptureControl(c);
        if (part == SB_THUMBTRACK) {
            n.thumbGrabOffset = (l.vertical ? p.Y - l.thumb.Top : p.X - l.thumb.Left);
            n.bars[bar].tracking = true;
            n.bars[bar].nTrackPos = n.bars[bar].nPos;
        } else {
            SendScroll(c, bar, part, 0);
            if (IsWindow(c->Handle())) StartRepeat(c);
        }
        if (IsWindow(c->Handle())) c->InvalidateFrame();
        return true;
    }
    if (n.barDown < 0) return false;
    const int bar = n.barDown;
    ScrollBarState& s = n.bars[bar];
    if (msg == WM_NCMOUSEMOVE && n.barPart == SB_THUMBTRACK) {
        const BarLayout l = Layout(c, bar);
        const int span = l.trackLen - l.thumbLen;
        const int v = (l.vertical ? p.Y : p.X) - l.trackStart - n.thumbGrabOffset;
        const int maxPos = MaxPos(s);
        int pos = span > 0 ? s.nMin + static_cast<int>((static_cast<long long>(std::clamp(v, 0, span)) * (maxPos - s.nMin) + span / 2) / span) : s.nMin;
        pos = std::clamp(pos, s.nMin, std::max(s.nMin, maxPos));
        if (pos != s.nTrackPos) {
            s.nTrackPos = pos;
            SendScroll(c, bar, SB_THUMBTRACK, pos);
            c->InvalidateFrame();
        }
        return true;
    }
    if (msg == WM_NCLBUTTONUP) {
        StopRepeat();
        const int part = n.barPart;
        n.barDown = -1;
        n.barPart = -1;
        if (GetCaptureControl() == c) SetCaptureControl(nullptr);
        if (part == SB_THUMBTRACK) {
            // The window reads the final place as the track position (SIF_TRACKPOS) while it
            // handles SB_THUMBPOSITION: the drag ends after the message.
            SendScroll(c, bar, SB_THUMBPOSITION, s.nTrackPos);
            if (!IsWindow(c->Handle())) return true;
            ui::N(c).bars[bar].tracking = false;
        }
        SendScroll(c, bar, SB_ENDSCROLL, 0);
        c->InvalidateFrame();
        return true;
    }
    return true;
}

// ---- the window functions ------------------------------------------------------------

int SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw)
{
    TWinControl* c = FindControl(Handle);
    if (!c || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    ScrollBarState& s = ui::N(c).bars[Bar];
    if (Info.fMask & SIF_RANGE) {
        s.nMin = Info.nMin;
        s.nMax = Info.nMax;
    }
    if (Info.fMask & SIF_PAGE) s.nPage = static_cast<int>(std::min<UINT>(Info.nPage, static_cast<UINT>(std::max(0, s.nMax - s.nMin + 1))));
    if (Info.fMask & SIF_POS) s.nPos = Info.nPos;
    s.nPos = std::clamp(s.nPos, s.nMin, std::max(s.nMin, MaxPos(s)));
    if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
        if (Info.fMask & SIF_DISABLENOSCROLL) {
            s.enabled = Scrollable(s);
            ApplyVisibility(c, Bar, true);
        } else {
            s.enabled = true;
            ApplyVisibility(c, Bar, Scrollable(s));
        }
    }
    if (Redraw) c->InvalidateFrame();
    return s.nPos;
}

bool GetScrollInfo(HWND Handle, int Bar, TScrollInfo& Info)
{
    TWinControl* c = FindControl(Handle);
    if (!c || (Bar != SB_HORZ && Bar != SB_VERT)) return false;
    const ScrollBarState& s = ui::N(c).bars[Bar];
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = s.nMin;
        Info.nMax = s.nMax;
    }
    if (Info.fMask & SIF_PAGE) Info.nPage = static_cast<UINT>(s.nPage);
    if (Info.fMask & SIF_POS) Info.nPos = s.nPos;
    if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = s.tracking ? s.nTrackPos : s.nPos;
    return true;
}

bool ShowScrollBar(HWND Handle, int Bar, bool Show)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    if (Bar == SB_VERT || Bar == SB_BOTH) ApplyVisibility(c, SB_VERT, Show);
    if (Bar == SB_HORZ || Bar == SB_BOTH) ApplyVisibility(c, SB_HORZ, Show);
    return true;
}

bool GetScrollBarInfo(HWND Handle, std::int32_t IdObject, TScrollBarInfo& Info)
{
    TWinControl* c = FindControl(Handle);
    if (!c || (IdObject != OBJID_VSCROLL && IdObject != OBJID_HSCROLL)) return false;
    const int bar = IdObject == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    const NativeWindow& n = ui::N(c);
    const ScrollBarState& s = n.bars[bar];
    Info = TScrollBarInfo{};
    if (!s.visible) {
        for (std::uint32_t& state : Info.rgstate) state = STATE_SYSTEM_INVISIBLE;
        return true;
    }
    const BarLayout l = Layout(c, bar);
    TRect wr;
    GetWindowRect(Handle, wr);
    Info.rcScrollBar = Rect(wr.Left + l.bar.Left, wr.Top + l.bar.Top, wr.Left + l.bar.Right, wr.Top + l.bar.Bottom);
    Info.dxyLineButton = l.vertical ? l.arrow1.Height() : l.arrow1.Width();
    const int origin = l.vertical ? l.bar.Top : l.bar.Left;
    if (!l.thumb.IsEmpty()) {
        Info.xyThumbTop = (l.vertical ? l.thumb.Top : l.thumb.Left) - origin;
        Info.xyThumbBottom = (l.vertical ? l.thumb.Bottom : l.thumb.Right) - origin;
    } else {
        Info.xyThumbTop = Info.xyThumbBottom = Info.dxyLineButton;
    }
    if (!s.enabled || !Scrollable(s))
        for (std::uint32_t& state : Info.rgstate) state = STATE_SYSTEM_UNAVAILABLE;
    if (n.barDown == bar) {
        // SB_LINEUP 0 -> 1, SB_LINEDOWN 1 -> 5, SB_PAGEUP 2 -> 2, SB_PAGEDOWN 3 -> 4, thumb -> 3.
        static constexpr int part[] = {1, 5, 2, 4, 3, 3};
        if (n.barPart >= 0 && n.barPart <= SB_THUMBTRACK) Info.rgstate[part[n.barPart]] |= STATE_SYSTEM_PRESSED;
    }
    return true;
}

bool EnableScrollBar(HWND Handle, int Bar, UINT Arrows)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    auto apply = [&](int b) { ui::N(c).bars[b].enabled = Arrows != ESB_DISABLE_BOTH; };
    if (Bar == SB_VERT || Bar == SB_BOTH) apply(SB_VERT);
    if (Bar == SB_HORZ || Bar == SB_BOTH) apply(SB_HORZ);
    c->InvalidateFrame();
    return true;
}

int SetScrollPos(HWND Handle, int Bar, int Pos, bool Redraw)
{
    TWinControl* c = FindControl(Handle);
    if (!c || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    const int old = ui::N(c).bars[Bar].nPos;
    TScrollInfo si;
    si.fMask = SIF_POS;
    si.nPos = Pos;
    SetScrollInfo(Handle, Bar, si, Redraw);
    return old;
}

int GetScrollPos(HWND Handle, int Bar)
{
    TWinControl* c = FindControl(Handle);
    if (!c || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    return ui::N(c).bars[Bar].nPos;
}

bool SetScrollRange(HWND Handle, int Bar, int MinPos, int MaxPos, bool Redraw)
{
    TScrollInfo si;
    si.fMask = SIF_RANGE;
    si.nMin = MinPos;
    si.nMax = MaxPos;
    return FindControl(Handle) && (SetScrollInfo(Handle, Bar, si, Redraw), true);
}

// ---- flat bars -------------------------------------------------------------------------

namespace {

// The client size may change with a bar's thickness: the window hears it as a resize.
void BarsChanged(TWinControl* c, const TRect& before, bool redraw)
{
    UiAccess::NotifyFrameChanged(c);
    const TRect after = c->ClientRect();
    if (!(before == after)) c->Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(after.Width(), after.Height()));
    if (redraw) c->InvalidateFrame();
}

} // namespace

bool InitializeFlatSB(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    ui::N(c).flatBars = true;
    return true;
}

void UninitializeFlatSB(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return;
    NativeWindow& n = ui::N(c);
    if (!n.flatBars) return;
    const TRect before = c->ClientRect();
    n.flatBars = false;
    for (ScrollBarState& b : n.bars) {
        b.flatStyle = FSB_REGULAR_MODE;
        b.thickness = 0;
        b.background = clNone;
    }
    BarsChanged(c, before, true);
}

bool FlatSB_SetScrollProp(HWND Handle, UINT Index, std::intptr_t Value, bool Redraw)
{
    TWinControl* c = FindControl(Handle);
    if (!c || !ui::N(c).flatBars) return false;
    NativeWindow& n = ui::N(c);
    const TRect before = c->ClientRect();
    switch (Index) {
    case WSB_PROP_VSTYLE: n.bars[SB_VERT].flatStyle = static_cast<int>(Value); break;
    case WSB_PROP_HSTYLE: n.bars[SB_HORZ].flatStyle = static_cast<int>(Value); break;
    case WSB_PROP_VBKGCOLOR: n.bars[SB_VERT].background = static_cast<TColor>(Value); break;
    case WSB_PROP_HBKGCOLOR: n.bars[SB_HORZ].background = static_cast<TColor>(Value); break;
    case WSB_PROP_CXVSCROLL: n.bars[SB_VERT].thickness = std::max(0, static_cast<int>(Value)); break;
    case WSB_PROP_CYHSCROLL: n.bars[SB_HORZ].thickness = std::max(0, static_cast<int>(Value)); break;
    default: return false;
    }
    BarsChanged(c, before, Redraw);
    return true;
}

bool FlatSB_GetScrollProp(HWND Handle, UINT Index, std::intptr_t* Value)
{
    TWinControl* c = FindControl(Handle);
    if (!c || !Value || !ui::N(c).flatBars) return false;
    const NativeWindow& n = ui::N(c);
    switch (Index) {
    case WSB_PROP_VSTYLE: *Value = n.bars[SB_VERT].flatStyle; return true;
    case WSB_PROP_HSTYLE: *Value = n.bars[SB_HORZ].flatStyle; return true;
    case WSB_PROP_VBKGCOLOR: *Value = static_cast<std::intptr_t>(n.bars[SB_VERT].background); return true;
    case WSB_PROP_HBKGCOLOR: *Value = static_cast<std::intptr_t>(n.bars[SB_HORZ].background); return true;
    case WSB_PROP_CXVSCROLL: *Value = ScrollBarThickness(c, SB_VERT); return true;
    case WSB_PROP_CYHSCROLL: *Value = ScrollBarThickness(c, SB_HORZ); return true;
    default: return false;
    }
}

int FlatSB_SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw) { return SetScrollInfo(Handle, Bar, Info, Redraw); }

bool FlatSB_ShowScrollBar(HWND Handle, int Bar, bool Show) { return ShowScrollBar(Handle, Bar, Show); }

} // namespace plat
