// Balloon tooltips (see plat/BalloonTip.h).
#include "plat/BalloonTip.h"

#include <algorithm>

#include "plat/Messages.h"
#include "plat/Timers.h"

namespace plat {

namespace {

constexpr int kStem = 12;     // stem height
constexpr int kPad = 8;       // inner margin
constexpr int kIconSize = 16;

TColor IconColor(int icon) {
    switch (icon) {
    case 1: return RGB(0, 90, 200);
    case 2: return RGB(230, 170, 0);
    case 3: return RGB(210, 30, 30);
    default: return clNone;
    }
}

const char16_t* IconMark(int icon) {
    switch (icon) {
    case 1: return u"i";
    case 2: return u"!";
    case 3: return u"x";
    default: return u"";
    }
}

// The application's one edit balloon tip and what keeps it.
struct TipState : TComponent {
    TipState() : TComponent(nullptr) {}
    String ClassName() const override { return u"TBalloonTipState"; }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == control) {
            control = nullptr;
            if (window) window->Hide();
        }
        if (Operation == opRemove && AComponent == window) window = nullptr;
        if (Operation == opRemove && AComponent == timer) timer = nullptr;
    }
    TBalloonWindow* window = nullptr;
    TTimer* timer = nullptr;
    TWinControl* control = nullptr;
};

TipState& State() {
    // Lives as long as the program; the window and timer belong to the application.
    static TipState* s = new TipState;
    return *s;
}

} // namespace

TBalloonWindow::TBalloonWindow(TComponent* AOwner) : THintWindow(AOwner) {
    SetWindowStyle(WindowStyle() & ~WS_BORDER);
}

void TBalloonWindow::SetContent(const String& Title, const String& Text, int Icon) {
    title_ = Title;
    text_ = Text;
    icon_ = Icon >= 0 && Icon <= 3 ? Icon : 0;
    Invalidate();
}

TRect TBalloonWindow::TextRect(int Width) {
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    TRect r{0, 0, std::max(40, Width), 0};
    if (!text_.empty()) c->DrawText(text_, r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return r;
}

TSize TBalloonWindow::CalcBalloonSize() {
    TCanvas* c = Canvas();
    const TRect text = TextRect(MaxWidth);
    int titleW = 0, titleH = 0;
    if (!title_.empty() || icon_ != 0) {
        c->Font()->Assign(*Font());
        c->Font()->SetStyle(c->Font()->Style() + fsBold);
        TRect t{0, 0, MaxWidth, 0};
        if (!title_.empty()) c->DrawText(title_, t, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        titleW = std::min(MaxWidth, t.Width()) + (icon_ != 0 ? kIconSize + 6 : 0);
        titleH = std::max(icon_ != 0 ? kIconSize : 0, t.Height()) + 4;
    }
    // Two more pixels each way for the bubble's frame.
    const int w = std::max(titleW, text.Width()) + 2 * kPad + 2;
    const int h = titleH + text.Height() + 2 * kPad + kStem + 2;
    return {w, h};
}

void TBalloonWindow::ShowAt(TPoint Point) {
    const TSize s = CalcBalloonSize();
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    int left = Point.X - 16;
    left = std::clamp(left, 0, std::max(0, sw - s.cx));
    stemTip_ = Point;
    // ActivateHint adds its border's 2 pixels; the balloon draws its own.
    ActivateHint(TRect{left, Point.Y, left + s.cx - 2, Point.Y + s.cy - 2}, text_);
}

void TBalloonWindow::Paint() {
    TCanvas* c = Canvas();
    const TRect all = ClientRect();
    const TColor back = BackgroundColor != clNone ? BackgroundColor : clInfoBk;
    const TColor fore = TextColor != clNone ? TextColor : clInfoText;
    // The window's own colour around the bubble, then the bubble and its stem.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(back);
    c->Pen()->SetColor(clGray);
    c->FillRect(all);
    const TRect bubble{all.Left, all.Top + kStem, all.Right, all.Bottom};
    c->Rectangle(bubble);
    const TPoint origin = ClientToScreen(TPoint{0, 0});
    const int sx = std::clamp(stemTip_.X - origin.X, 2, std::max(2, all.Right - 14));
    const TPoint stem[3] = {{sx, all.Top}, {sx, bubble.Top}, {sx + 12, bubble.Top}};
    c->Polygon(std::span<const TPoint>(stem, 3));
    c->Pen()->SetColor(back);
    c->MoveTo(sx + 1, bubble.Top);
    c->LineTo(sx + 12, bubble.Top);
    c->Brush()->SetStyle(bsClear);
    int y = bubble.Top + kPad;
    int x = bubble.Left + kPad;
    if (icon_ != 0) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(IconColor(icon_));
        c->Pen()->SetColor(IconColor(icon_));
        c->Ellipse(x, y, x + kIconSize, y + kIconSize);
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(*Font());
        c->Font()->SetStyle(TFontStyles() + fsBold);
        c->Font()->SetColor(clWhite);
        TRect m{x, y, x + kIconSize, y + kIconSize};
        c->DrawText(IconMark(icon_), m, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        x += kIconSize + 6;
    }
    if (!title_.empty() || icon_ != 0) {
        c->Font()->Assign(*Font());
        c->Font()->SetStyle(c->Font()->Style() + fsBold);
        c->Font()->SetColor(fore);
        TRect t{x, y, bubble.Right - kPad, y + kIconSize + 2};
        c->DrawText(title_, t, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        TRect tm{0, 0, MaxWidth, 0};
        if (!title_.empty()) c->DrawText(title_, tm, DT_CALCRECT | DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
        y += std::max(icon_ != 0 ? kIconSize : 0, tm.Height()) + 4;
    }
    c->Font()->Assign(*Font());
    c->Font()->SetColor(fore);
    TRect r{bubble.Left + kPad, y, bubble.Right - kPad + 1, bubble.Bottom - kPad + 1};
    c->DrawText(text_, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void ShowBalloonTip(TWinControl* Control, const String& Title, const String& Text, int Icon, unsigned AutoHide) {
    TipState& s = State();
    if (!Control) return;
    if (!s.window) {
        s.window = new TBalloonWindow(Application);
        s.window->FreeNotification(&s);
        s.timer = new TTimer(Application);
        s.timer->FreeNotification(&s);
        s.timer->SetEnabled(false);
        s.timer->OnTimer = [](TObject*) { HideBalloonTip(); };
    }
    s.control = Control;
    Control->FreeNotification(&s);
    s.window->SetContent(Title, Text, Icon);
    s.window->ShowAt(Control->ClientToScreen(TPoint{8, Control->Height()}));
    if (s.timer) {
        s.timer->SetEnabled(false);
        s.timer->SetInterval(AutoHide);
        s.timer->SetEnabled(AutoHide > 0);
    }
}

void HideBalloonTip() {
    TipState& s = State();
    if (s.timer) s.timer->SetEnabled(false);
    if (s.window) s.window->Hide();
    s.control = nullptr;
}

TBalloonWindow* ActiveBalloonTip() {
    TipState& s = State();
    return s.window && s.window->Active() ? s.window : nullptr;
}

TWinControl* BalloonTipControl() { return ActiveBalloonTip() ? State().control : nullptr; }

} // namespace plat
