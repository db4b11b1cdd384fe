// Hints: the pause after the mouse comes to rest on a control, CM_HINTSHOW, the hint window,
// and hiding after the hide pause, on leaving the control and on a press.
#include <QWidget>

#include <algorithm>

#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Timers.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

TTimer* g_pauseTimer = nullptr;
TTimer* g_hideTimer = nullptr;
THintWindow* g_window = nullptr;
TControl* g_hintControl = nullptr;   // the control whose hint shows
TControl* g_pauseControl = nullptr;  // the control the pause runs for
TRect g_cursorRect;                  // screen rectangle that keeps the hint
TControl* g_activating = nullptr;    // the control whose hint window is being shown
bool g_activatingGone = false;       // ... and it went while the window showed (an animation)

constexpr int kCursorHeight = 20;  // the hint goes below the pointer

TTimer* MakeTimer(TNotifyEvent handler)
{
    auto* t = new TTimer(nullptr);
    t->SetEnabled(false);
    t->OnTimer = std::move(handler);
    return t;
}

void EnsureTimers()
{
    if (!g_pauseTimer) {
        g_pauseTimer = MakeTimer([](TObject*) {
            g_pauseTimer->SetEnabled(false);
            if (Application) Application->ActivateHint(GetCursorPos());
        });
    }
    if (!g_hideTimer) {
        g_hideTimer = MakeTimer([](TObject*) {
            g_hideTimer->SetEnabled(false);
            if (Application) Application->CancelHint();
        });
    }
}

THintWindowClass g_windowClass;     // the class g_window was made by

// Whether two hint window classes make the same kind of window: the same function, or
// callables of the same type.
bool SameHintWindowClass(const THintWindowClass& A, const THintWindowClass& B)
{
    if (!A || !B) return !A && !B;
    if (A.target_type() != B.target_type()) return false;
    using Fn = THintWindow* (*)(TComponent*);
    if (const Fn* a = A.target<Fn>()) return *a == *B.target<Fn>();
    return true;
}

TControl* HintOwner(TControl* c)
{
    while (c && !c->ShowHint()) c = c->Parent();
    return c;
}

} // namespace

String GetShortHint(const String& Hint)
{
    const size_t bar = Hint.find(u'|');
    return bar == String::npos ? Hint : Hint.substr(0, bar);
}

String GetLongHint(const String& Hint)
{
    const size_t bar = Hint.find(u'|');
    return bar == String::npos ? Hint : Hint.substr(bar + 1);
}

// ---- THintWindow -----------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    TControl::SetVisible(false);
    SetColor(clInfoBk);
    SetParentFont(false);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-11);
    Font()->SetColor(clInfoText);
    SetWindowStyle(WindowStyle() | WS_BORDER);
    UiWidget* w = ui::N(this).widget;
    // The mouse passes through to the window below: a hint laid over the text under the
    // pointer must not take the pointer away from the control it belongs to (which would
    // end the hint at once).
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                      Qt::WindowTransparentForInput);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setAttribute(Qt::WA_TransparentForMouseEvents, true);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*)
{
    Canvas()->Font()->Assign(*Font());
    TRect r = Rect(0, 0, MaxWidth > 0 ? MaxWidth : 300, 0);
    Canvas()->DrawText(AHint, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect R, const String& AHint) { ActivateHintData(R, AHint, nullptr); }

void THintWindow::ActivateHintData(TRect R, const String& AHint, void*)
{
    SetCaption(AHint);
    // The rectangle is the text area; the border comes around it.
    R.Right += 2;
    R.Bottom += 2;
    // Kept on the screen.
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (R.Right > sw) {
        const int d = R.Right - sw;
        R.Left -= d;
        R.Right -= d;
    }
    if (R.Bottom > sh) {
        const int d = R.Bottom - sh;
        R.Top -= d;
        R.Bottom -= d;
    }
    R.Left = std::max(0, R.Left);
    R.Top = std::max(0, R.Top);
    ShowWindowAt(R);
    Invalidate();
}

void THintWindow::ShowWindowAt(const TRect& R)
{
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    TControl::SetVisible(true);
    UiWidget* w = ui::N(this).widget;
    w->move(R.Left, R.Top);
    w->resize(R.Width(), R.Height());
    w->show();
    active_ = true;
}

void THintWindow::ReleaseHandle()
{
    active_ = false;
    TControl::SetVisible(false);
    ui::N(this).widget->hide();
}

void THintWindow::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Font()->Assign(*Font());
    c->Brush()->SetStyle(bsClear);
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 1;
    c->DrawText(Caption(), r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---- the application's hint handling -----------------------------------------------------

void TApplication::ActivateHint(TPoint CursorPos)
{
    TControl* c = HintOwner(ui::MouseControl());
    if (!c || !showHint_) return;
    THintInfo hi;
    hi.HintControl = c;
    hi.HintWindowClass = HintWindowClass ? HintWindowClass : [](TComponent* o) -> THintWindow* { return new THintWindow(o); };
    hi.HintPos = {CursorPos.X, CursorPos.Y + kCursorHeight};
    hi.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    hi.HintColor = hintColor_;
    hi.CursorRect = c->ClientRect();
    hi.CursorPos = c->ScreenToClient(CursorPos);
    hi.HideTimeout = hintHidePause_;
    hi.HintStr = GetShortHint(c->Hint());
    bool canShow = c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&hi)) == 0;
    if (OnShowHint) OnShowHint(hi.HintStr, canShow, hi);
    if (!canShow || hi.HintStr.empty()) {
        CancelHint();
        return;
    }
    // A control may ask for another kind of hint window: the window is made anew then.
    if (g_window && !SameHintWindowClass(g_windowClass, hi.HintWindowClass)) {
        if (g_window->Active()) g_window->ReleaseHandle();
        THintWindow* old = g_window;
        g_window = nullptr;
        delete old;
    }
    if (!g_window) {
        g_window = hi.HintWindowClass(this);
        g_windowClass = hi.HintWindowClass;
    }
    g_window->SetColor(hi.HintColor);
    TRect r = g_window->CalcHintRect(hi.HintMaxWidth, hi.HintStr, hi.HintData);
    r = Bounds(hi.HintPos.X, hi.HintPos.Y, r.Width(), r.Height());
    g_activating = c;
    g_activatingGone = false;
    g_window->ActivateHintData(r, hi.HintStr, hi.HintData);
    g_activating = nullptr;
    // The window may decline (nothing to show), and a window that animates its appearance
    // handles messages meanwhile, which may free the control: no hint then.
    if (g_activatingGone || !g_window || !g_window->Active()) {
        CancelHint();
        return;
    }
    g_hintControl = c;
    const TPoint tl = c->ClientToScreen(hi.CursorRect.TopLeft());
    g_cursorRect = Bounds(tl.X, tl.Y, hi.CursorRect.Width(), hi.CursorRect.Height());
    EnsureTimers();
    g_hideTimer->SetEnabled(false);
    if (hi.HideTimeout > 0) {
        g_hideTimer->SetInterval(static_cast<unsigned>(hi.HideTimeout));
        g_hideTimer->SetEnabled(true);
    }
}

void TApplication::CancelHint()
{
    if (g_pauseTimer) g_pauseTimer->SetEnabled(false);
    if (g_hideTimer) g_hideTimer->SetEnabled(false);
    if (g_window && g_window->Active()) g_window->ReleaseHandle();
    g_hintControl = nullptr;
    g_pauseControl = nullptr;
}

void TApplication::HintMouseMessage(TControl* Control, TPoint ScreenPos) { ui::HintMouseMove(Control, ScreenPos); }

THintWindow* TApplication::ActiveHintWindow() const { return g_window && g_window->Active() ? g_window : nullptr; }

namespace ui {

void HintMouseMove(TControl* under, TPoint screen)
{
    if (!Application) return;
    // Moves over the hint window itself (where the window system hands it the pointer
    // despite its taking no input) leave the hint as it is.
    if (under && g_window && under == g_window) return;
    TControl* owner = HintOwner(under);
    if (g_hintControl) {
        if (owner == g_hintControl && g_cursorRect.Contains(screen)) return;
        Application->CancelHint();
    }
    if (owner == g_pauseControl && g_pauseTimer && g_pauseTimer->Enabled()) return;
    EnsureTimers();
    g_pauseTimer->SetEnabled(false);
    g_pauseControl = owner;
    if (!owner || !Application->ShowHint()) return;
    int pause = Application->HintPause();
    owner->Perform(CM_HINTSHOWPAUSE, 0, reinterpret_cast<LPARAM>(&pause));
    g_pauseTimer->SetInterval(static_cast<unsigned>(std::max(1, pause)));
    g_pauseTimer->SetEnabled(true);
}

void HintCancel()
{
    if (Application) Application->CancelHint();
}

void HintForget(TControl* c)
{
    if (c && c == g_activating) g_activatingGone = true;
    if (c == g_hintControl || c == g_pauseControl) HintCancel();
    if (c == g_window) g_window = nullptr;
}

} // namespace ui

} // namespace plat
