// TWinControl and TCustomControl: children, alignment and anchors, tab order and focus, the
// key pipeline's framework handlers, painting of the client and of graphic children.
#include <algorithm>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "gfx/GfxNative.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s = 0;
    if (GetKeyState(static_cast<int>(VK_SHIFT)) < 0) s |= ssShift;
    if (GetKeyState(static_cast<int>(VK_CONTROL)) < 0) s |= ssCtrl;
    if (keyData & KF_ALTDOWN_LPARAM) s |= ssAlt;
    return s;
}

void CollectTabOrder(const TWinControl* c, std::vector<TWinControl*>& out)
{
    for (TWinControl* w : c->GetTabOrderList()) {
        out.push_back(w);
        CollectTabOrder(w, out);
    }
}

} // namespace

void ui::UpdateShowing(TWinControl* c)
{
    NativeWindow& n = ui::N(c);
    if (n.destroying) return;
    const bool showing = c->Showing();
    const HWND h = c->Handle();
    if (showing != n.lastShowing) {
        n.lastShowing = showing;
        // A control that comes on screen is painted whole: controls skip the repaint areas of
        // changes made while nothing of them could be seen.
        if (showing) c->InvalidateFrame();
        c->Perform(CM_SHOWINGCHANGED);
        if (!IsWindow(h)) return;
    }
    for (TWinControl* w : c->GetTabOrderList()) {
        if (!IsWindow(h)) return;
        UpdateShowing(w);
    }
}

// ---- TWinControl ---------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    ui::EnsureApplication();
    native_ = std::make_unique<NativeWindow>();
    native_->control = this;
    native_->widget = new UiWidget(native_.get(), false);
    native_->widget->hide();
    handle_ = ui::AllocHandle(this);
    TCreateParams p;
    TWinControl::CreateParams(p);
    style_ = p.Style;
    exStyle_ = p.ExStyle;
}

TWinControl::~TWinControl()
{
    native_->destroying = true;
    // The framework frees the children with their parent.
    while (!controls_.empty()) delete controls_.back();
    if (TCustomForm* f = GetParentForm(this); f && f != this) f->DefocusControl(this, true);
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    ui::ForgetControl(this);
    if (Parent()) Parent()->RemoveControl(this);
    ui::TimersForgetWindow(handle_);
    ui::DragDropForgetWindow(handle_);
    ui::FreeHandle(handle_);
    handle_ = 0;
    if (native_) {
        if (native_->paintCanvas) gfx::UnbindCanvas(native_->paintCanvas.get());
        if (UiWidget* w = native_->widget) {
            w->detach();
            w->hide();
            w->setParent(nullptr);
            w->deleteLater();
            native_->widget = nullptr;
        }
    }
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount()) throw EListError(u"List index out of bounds (" + Utf8ToString(std::to_string(Index)) + u")");
    return controls_[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const
{
    while (Control && Control != this) Control = Control->Parent();
    return Control == this;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const
{
    // Later controls are above earlier ones; windowed ones above graphic ones.
    if (AllowWinControls) {
        for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
            TControl* c = *it;
            if (dynamic_cast<TWinControl*>(c) && c->Visible() && (AllowDisabled || c->Enabled()) && c->BoundsRect().Contains(Pos))
                return c;
        }
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
        if (!c->BoundsRect().Contains(Pos)) continue;
        if (c->Perform(CM_HITTEST, 0, PointToLParam({Pos.X - c->Left(), Pos.Y - c->Top()})) == 0) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    std::vector<TControl*> copy = controls_;
    for (TControl* c : copy) {
        if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
        if (const TWndMethod front = c->WindowProc())
            front(Message);
        else
            c->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::InsertControl(TControl* AControl)
{
    controls_.push_back(AControl);
    AControl->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        tabList_.push_back(w);
        w->RecreateWnd();
        w->native_->widget->setParent(native_->widget);
        w->ApplyGeometry();
        w->ApplyShowing();
        ui::UpdateShowing(w);
    } else {
        native_->generation++;
    }
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->UpdateAnchorRules();
    // A new aligned control takes its place by position; ties keep the order of insertion.
    if (AControl->Align() != alNone) AlignAll(nullptr);
    InvalidateRect(nullptr);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto it = std::find(controls_.begin(), controls_.end(), AControl);
    if (it == controls_.end()) return;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* f = GetParentForm(this)) f->DefocusControl(w, true);
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
        if (w->native_ && w->native_->widget) {
            w->native_->widget->hide();
            w->native_->widget->setParent(nullptr);
        }
    }
    controls_.erase(std::find(controls_.begin(), controls_.end(), AControl));
    AControl->parent_ = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(AControl); w && !w->native_->destroying) ui::UpdateShowing(w);
    native_->generation++;
    if (AControl->Align() != alNone) Realign();
    InvalidateRect(nullptr);
}

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign()
{
    if (alignLevel_ > 0 && --alignLevel_ == 0 && alignPending_) {
        alignPending_ = false;
        Realign();
    }
}

void TWinControl::Realign() { AlignAll(nullptr); }

void TWinControl::AlignAll(TControl* AControl)
{
    if (alignLevel_ > 0) {
        alignPending_ = true;
        return;
    }
    if (aligning_) return;
    aligning_ = true;
    try {
        TRect r = ClientRect();
        AlignControls(AControl, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    // Order among controls of one alignment: by position; the control that asked for the
    // alignment wins ties (it goes first, then each other one is placed before the first
    // entry it precedes).
    auto insertBefore = [](TControl* c1, TControl* c2, TAlign a) {
        switch (a) {
        case alTop: return c1->Top() < c2->Top();
        case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
        case alLeft: return c1->Left() < c2->Left();
        case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
        default: return false;
        }
    };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        if (AControl && AControl->Align() == a && AControl->Visible() && AControl->Parent() == this) list.push_back(AControl);
        for (TControl* c : controls_) {
            if (c->Align() != a || !c->Visible() || c == AControl) continue;
            size_t j = 0;
            while (j < list.size() && !insertBefore(c, list[j], a)) ++j;
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        for (TControl* c : list) {
            const int w = std::max(0, Rect.Width());
            const int h = std::max(0, Rect.Height());
            switch (a) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, w, c->Height());
                Rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - c->Height(), w, c->Height());
                Rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, c->Width(), h);
                Rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(Rect.Right - c->Width(), Rect.Top, c->Width(), h);
                Rect.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(Rect.Left, Rect.Top, w, h);
                break;
            default:
                break;
            }
        }
    }
}

void TWinControl::ParentSizeChanged(int, int)
{
    // Anchors: children keep the distances of their anchored right/bottom edges.
    const TRect pc = ClientRect();
    std::vector<TControl*> copy = controls_;
    aligning_ = true;
    try {
        for (TControl* c : copy) {
            if (c->Align() != alNone) continue;
            if (!c->anchorRulesValid_) {
                c->UpdateAnchorRules();
                continue;
            }
            int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
            const TAnchors a = c->Anchors();
            if (a & akRight) {
                if (a & akLeft)
                    w = pc.Right - c->anchorRight_ - l;
                else
                    l = pc.Right - c->anchorRight_ - w;
            }
            if (a & akBottom) {
                if (a & akTop)
                    h = pc.Bottom - c->anchorBottom_ - t;
                else
                    t = pc.Bottom - c->anchorBottom_ - h;
            }
            c->SetBounds(l, t, w, h);
        }
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
    Realign();
}

namespace {

// A move or resize changes what of the window and its windowed descendants shows inside the
// parents: a window whose backed part no longer matches repaints.
void RecheckBackedParts(TWinControl* c)
{
    NativeWindow& n = ui::N(c);
    if (!n.widget) return;
    const QRect want = ui::VisibleWindowRect(c);
    if (want != QRect(n.surfaceOrigin, n.surface.size()) && !(want.isEmpty() && n.surface.isNull())) n.widget->update();
    for (int i = 0; i < c->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(c->Controls(i)); w && w->Native()) RecheckBackedParts(w);
}

} // namespace

void TWinControl::ApplyGeometry()
{
    UiWidget* w = native_->widget;
    if (!w) return;
    if (Parent()) {
        const QPoint off = ui::ClientOffset(Parent());
        w->setGeometry(off.x() + Left(), off.y() + Top(), Width(), Height());
        RecheckBackedParts(this);
    } else if (!dynamic_cast<TCustomForm*>(this) && w->isVisible()) {
        // A shown popup window follows its bounds on the screen.
        w->setGeometry(Left(), Top(), Width(), Height());
    } else {
        w->resize(Width(), Height());
    }
}

void TWinControl::ApplyShowing()
{
    if (!Parent() && dynamic_cast<TCustomForm*>(this)) return;  // forms show through Show/Hide
    if (native_->widget) native_->widget->setVisible(Visible() && Parent() != nullptr);
}

void TWinControl::BoundsChanged()
{
    ApplyGeometry();
    const TRect cr = ClientRect();
    if (cr.Width() != native_->clientW || cr.Height() != native_->clientH) {
        const int ow = native_->clientW, oh = native_->clientH;
        native_->clientW = cr.Width();
        native_->clientH = cr.Height();
        native_->generation++;
        InvalidateFrame();
        ParentSizeChanged(ow, oh);
    }
    if (Parent()) Parent()->native_->generation++;
}

int TWinControl::TabOrder() const
{
    if (!Parent()) return -1;
    const auto& l = Parent()->tabList_;
    auto it = std::find(l.begin(), l.end(), this);
    return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!Parent()) return;
    auto& l = Parent()->tabList_;
    auto it = std::find(l.begin(), l.end(), this);
    if (it == l.end()) return;
    l.erase(it);
    Value = std::clamp(Value, 0, static_cast<int>(l.size()));
    l.insert(l.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value)
{
    if (tabStop_ == Value) return;
    tabStop_ = Value;
    Perform(CM_TABSTOPCHANGED);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const { return tabList_; }

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const
{
    std::vector<TWinControl*> list;
    CollectTabOrder(this, list);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<size_t>(i)] == CurControl) start = i;
    if (start < 0) start = GoForward ? n - 1 : 0;
    int i = start;
    do {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c->CanFocus() && (c->TabStop() || !CheckTabStop) && (c->Parent() == this || !CheckParent)) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* c = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

bool TWinControl::CanFocus() const
{
    // Visible and enabled up to the form (the form's own state is SetFocus's concern).
    TCustomForm* f = GetParentForm(this);
    if (!f) return false;
    const TControl* c = this;
    while (c && c != f) {
        if (!c->Visible() || !c->Enabled()) return false;
        c = c->Parent();
    }
    return c == f;
}

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    if (TCustomForm* f = GetParentForm(this)) f->FocusControl(this);
}

bool TWinControl::Focused() const
{
    TCustomForm* f = GetParentForm(this);
    if (!f) return false;
    TWinControl* fc = UiAccess::FocusedOf(f);
    return fc ? fc == this : f == this;
}

bool TWinControl::Showing() const { return Visible() && Parent() && Parent()->Showing(); }

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    Params.ExStyle = 0;
    if (borderStyle_ == bsSingle) {
        if (ctl3D_)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    if (tabStop_) Params.Style |= WS_TABSTOP;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
}

void TWinControl::CreateWnd() {}
void TWinControl::DestroyWnd() {}

void TWinControl::RecreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    // Scroll bars shown through ShowScrollBar stay; CreateParams may add them.
    native_->bars[SB_VERT].visible = native_->bars[SB_VERT].visible || (p.Style & WS_VSCROLL);
    native_->bars[SB_HORZ].visible = native_->bars[SB_HORZ].visible || (p.Style & WS_HSCROLL);
    SetWindowStyle(p.Style);
    // Transparency set through the window style stays (the button's styles set it so).
    SetWindowExStyle(p.ExStyle | (exStyle_ & WS_EX_TRANSPARENT));
    CreateWnd();
}

void TWinControl::SetWindowStyle(std::uint32_t Value)
{
    style_ = Value;
    native_->bars[SB_VERT].visible = (Value & WS_VSCROLL) != 0;
    native_->bars[SB_HORZ].visible = (Value & WS_HSCROLL) != 0;
    native_->generation++;
    BoundsChanged();
    InvalidateFrame();
}

void TWinControl::SetWindowExStyle(std::uint32_t Value)
{
    exStyle_ = Value;
    if (UiWidget* w = native_->widget) {
        const bool transparent = (Value & WS_EX_TRANSPARENT) != 0;
        w->setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
        w->setAttribute(Qt::WA_TranslucentBackground, transparent);
        // A layered window's translucency follows the display's compositing.
        if (!native_->layered.isNull()) ui::ApplyLayeredShape(*native_);
    }
    native_->generation++;
    BoundsChanged();
    InvalidateFrame();
}

int TWinControl::FrameWidth() const
{
    int fw = 0;
    if (exStyle_ & WS_EX_CLIENTEDGE) fw += 2;
    if (style_ & WS_BORDER) fw += 1;
    return fw;
}

TRect TWinControl::ClientAreaInWindow() const
{
    // WM_NCCALCSIZE: the default takes off the frame and the visible scroll bars; controls
    // with a non-client area of their own (a header) take off more after calling it.
    TRect r{0, 0, Width(), Height()};
    TMessage m{WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r), 0};
    const_cast<TWinControl*>(this)->WndProc(m);
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

TRect TWinControl::ClientRect() const
{
    const TRect a = ClientAreaInWindow();
    return Rect(0, 0, a.Width(), a.Height());
}

TPoint TWinControl::ClientOrigin() const
{
    const TRect a = ClientAreaInWindow();
    if (!Parent()) return {Left() + a.Left, Top() + a.Top};
    const TPoint p = Parent()->ClientOrigin();
    return {p.X + Left() + a.Left, p.Y + Top() + a.Top};
}

void TWinControl::SetClientWidth(int Value)
{
    SetWidth(Value + (Width() - ClientRect().Width()));
}

void TWinControl::SetClientHeight(int Value)
{
    SetHeight(Value + (Height() - ClientRect().Height()));
}

void TWinControl::SetBorderStyle(TBorderStyle Value)
{
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
    Perform(CM_BORDERCHANGED);
}

void TWinControl::SetCtl3D(bool Value)
{
    if (ctl3D_ == Value) return;
    ctl3D_ = Value;
    RecreateWnd();
    Perform(CM_CTL3DCHANGED);
}

void TWinControl::Invalidate() { InvalidateRect(nullptr, true); }

void TWinControl::InvalidateRect(const TRect* R, bool)
{
    NativeWindow& n = *native_;
    const TRect a = ClientAreaInWindow();
    QRegion add = R ? QRegion(a.Left + R->Left, a.Top + R->Top, R->Width(), R->Height()) & QRegion(a.Left, a.Top, a.Width(), a.Height())
                    : QRegion(a.Left, a.Top, a.Width(), a.Height());
    n.dirty += add;
    if (n.redrawOff == 0 && n.widget) n.widget->update();
}

void TWinControl::InvalidateFrame()
{
    NativeWindow& n = *native_;
    n.frameDirty = true;
    n.dirty += QRegion(0, 0, Width(), Height());
    if (n.redrawOff == 0 && n.widget) n.widget->update();
}

void TWinControl::Update()
{
    NativeWindow& n = *native_;
    if (n.redrawOff) return;
    ui::PaintPending(n);
    if (n.widget) n.widget->update();
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::SetParent(TWinControl* AParent) { TControl::SetParent(AParent); }

void TWinControl::SetVisible(bool Value) { TControl::SetVisible(Value); }

void TWinControl::SetEnabled(bool Value) { TControl::SetEnabled(Value); }

String TWinControl::GetText() const { return TControl::GetText(); }

void TWinControl::SetTextBuf(const String& Value) { TControl::SetTextBuf(Value); }

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift)
{
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char16_t& Key)
{
    if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    TCustomForm* f = GetParentForm(this);
    if (f && f != this && f->KeyPreview() && f->DoKeyDown(Message)) return true;
    if (!(ControlStyle() & csNoStdEvents)) {
        auto key = static_cast<std::uint16_t>(Message.WParam);
        KeyDown(key, KeyDataToShiftState(Message.LParam));
        Message.WParam = key;
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    TCustomForm* f = GetParentForm(this);
    if (f && f != this && f->KeyPreview() && f->DoKeyUp(Message)) return true;
    if (!(ControlStyle() & csNoStdEvents)) {
        auto key = static_cast<std::uint16_t>(Message.WParam);
        KeyUp(key, KeyDataToShiftState(Message.LParam));
        Message.WParam = key;
        if (key == 0) return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    TCustomForm* f = GetParentForm(this);
    if (f && f != this && f->KeyPreview() && f->DoKeyPress(Message)) return true;
    if (!(ControlStyle() & csNoStdEvents)) {
        auto ch = static_cast<char16_t>(Message.WParam);
        KeyPress(ch);
        Message.WParam = ch;
        if (ch == 0) return true;
    }
    return false;
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

void TWinControl::KeyMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        Message.Result = 1;
        LRESULT mask = 0;
        switch (Message.WParam) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        default: break;
        }
        if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
            TCustomForm* f = GetParentForm(this);
            if (f && f->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
        }
        Message.Result = 0;
        return;
    }
    case CN_KEYUP:
    case CN_SYSKEYUP:
        switch (Message.WParam) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_RETURN:
        case VK_ESCAPE:
        // The query carries the release's key data (bit 31 set), so that a control acting on
        // the query acts once per key press.
        case VK_CANCEL: Message.Result = Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam | KF_UP_LPARAM); break;
        default: break;
        }
        return;
    case CN_CHAR: {
        Message.Result = 1;
        if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
            TCustomForm* f = GetParentForm(this);
            if (f && f->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
        }
        Message.Result = 0;
        return;
    }
    case CN_SYSCHAR: {
        TCustomForm* f = GetParentForm(this);
        Message.Result = f ? f->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) : 0;
        return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(Message)) DefaultHandler(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(Message)) DefaultHandler(Message);
        return;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (!DoKeyPress(Message)) DefaultHandler(Message);
        return;
    default:
        DefaultHandler(Message);
    }
}

void TWinControl::PaintWindow(TCanvas*) {}

void TWinControl::PaintControls(TCanvas*, TControl* First)
{
    NativeWindow& n = *native_;
    const QPoint off = ui::ClientOffset(this);
    const TRect a = ClientAreaInWindow();
    const QRegion clientRgn(a.Left, a.Top, a.Width(), a.Height());
    bool started = First == nullptr;
    for (TControl* c : controls_) {
        if (!started) {
            if (c != First) continue;
            started = true;
        }
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        const QRegion bounds(off.x() + g->Left(), off.y() + g->Top(), g->Width(), g->Height());
        QRegion clip = bounds & clientRgn & n.paintRegion;
        if (clip.isEmpty()) continue;
        TCanvas* gc = UiAccess::GraphicCanvasRaw(g);
        clip.translate(-n.surfaceOrigin);
        gfx::BindCanvas(gc, &n.surface, off + QPoint(g->Left(), g->Top()) - n.surfaceOrigin, &clip);
        UiAccess::GraphicGen(g) = 0;
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(gc), 0);
    }
}

void TWinControl::PaintHandler(TMessage& Message)
{
    auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
    PaintWindow(canvas);
    PaintControls(canvas, nullptr);
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y)
{
    QImage img = ui::GrabWindow(this);
    TBitmap bmp(img.width(), img.height());
    gfx::BitmapImage(&bmp) = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Canvas->Draw(X, Y, &bmp);
}

void TWinControl::WndProc(TMessage& Message)
{
    if (ui::HasHooks()) ui::CallHooks(handle_, Message);
    const UINT msg = Message.Msg;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL) {
        // Graphic children get their mouse messages from their parent window.
        TControl* target = nullptr;
        TControl* cap = GetCaptureControl();
        TPoint p = PointFromLParam(Message.LParam);
        if (cap && cap->Parent() == this && !dynamic_cast<TWinControl*>(cap))
            target = cap;
        else if (!cap)
            target = ControlAtPos(p, false);
        if (target) {
            const TPoint q{p.X - target->Left(), p.Y - target->Top()};
            Message.Result = target->Perform(msg, Message.WParam, PointToLParam(q));
            return;
        }
    }
    switch (msg) {
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
    case CN_SYSKEYDOWN:
    case CN_SYSKEYUP:
    case CN_SYSCHAR:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        KeyMessage(Message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(Message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case WM_PAINT:
        PaintHandler(Message);
        return;
    case CM_FONTCHANGED: {
        Invalidate();
        TMessage m{CM_PARENTFONTCHANGED, 0, 0, 0};
        Broadcast(m);
        return;
    }
    case CM_COLORCHANGED: {
        Invalidate();
        TMessage m{CM_PARENTCOLORCHANGED, 0, 0, 0};
        Broadcast(m);
        return;
    }
    case CM_SHOWHINTCHANGED: {
        TMessage m{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
        Broadcast(m);
        return;
    }
    case CM_PARENTSHOWHINTCHANGED:
        TControl::WndProc(Message);
        {
            TMessage m{CM_PARENTSHOWHINTCHANGED, 0, 0, 0};
            Broadcast(m);
        }
        return;
    case CM_ENABLEDCHANGED:
        if (!Enabled()) {
            if (TCustomForm* f = GetParentForm(this); f && f != this) f->DefocusControl(this, false);
        }
        if (native_->widget) native_->widget->setEnabled(Enabled());
        Perform(WM_ENABLE, Enabled() ? 1 : 0, 0);  // as EnableWindow tells the window
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        if (!Visible()) {
            if (TCustomForm* f = GetParentForm(this); f && f != this) f->DefocusControl(this, false);
        }
        ApplyShowing();
        ui::UpdateShowing(this);
        return;
    case WM_SETREDRAW:
        if (Message.WParam) {
            if (native_->redrawOff > 0) native_->redrawOff = 0;
            if (native_->widget) native_->widget->update();
        } else {
            native_->redrawOff = 1;
        }
        return;
    case WM_CANCELMODE: {
        TControl* cap = GetCaptureControl();
        if (cap && cap != this && cap->Parent() == this) cap->Perform(WM_CANCELMODE);
        break;
    }
    default:
        break;
    }
    TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    NativeWindow& n = *native_;
    switch (Message.Msg) {
    case WM_ERASEBKGND: {
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (canvas && !(ControlStyle() & csOpaque) && Color() != clNone) {
            canvas->Brush()->SetColor(Color());
            canvas->Brush()->SetStyle(bsSolid);
            canvas->FillRect(ClientRect());
        }
        Message.Result = 1;
        return;
    }
    case WM_NCPAINT: {
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (!canvas) return;
        TRect r = Rect(0, 0, Width(), Height());
        if (exStyle_ & WS_EX_CLIENTEDGE) {
            DrawEdge(canvas, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        if (style_ & WS_BORDER) {
            canvas->Brush()->SetColor(clWindowFrame);
            canvas->FrameRect(r);
        }
        PaintWindowScrollBars(this, canvas);
        return;
    }
    case WM_NCCALCSIZE: {
        auto* r = reinterpret_cast<TRect*>(Message.LParam);
        if (!r) return;
        const int fw = FrameWidth();
        r->Left += fw;
        r->Top += fw;
        r->Right -= fw;
        r->Bottom -= fw;
        if (n.bars[SB_VERT].visible) r->Right -= ScrollBarThickness(this, SB_VERT);
        if (n.bars[SB_HORZ].visible) r->Bottom -= ScrollBarThickness(this, SB_HORZ);
        Message.Result = 0;
        return;
    }
    case WM_NCHITTEST: {
        const TPoint s = PointFromLParam(Message.LParam);
        TRect wr;
        GetWindowRect(handle_, wr);
        const TPoint p{s.X - wr.Left, s.Y - wr.Top};
        if (ClientAreaInWindow().Contains(p)) {
            Message.Result = HTCLIENT;
        } else if (n.bars[SB_VERT].visible && ScrollBarRect(this, SB_VERT).Contains(p)) {
            Message.Result = HTVSCROLL;
        } else if (n.bars[SB_HORZ].visible && ScrollBarRect(this, SB_HORZ).Contains(p)) {
            Message.Result = HTHSCROLL;
        } else {
            Message.Result = HTBORDER;
        }
        return;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP: {
        ScrollBarMouse(this, Message.Msg, static_cast<LRESULT>(Message.WParam), PointFromLParam(Message.LParam));
        return;
    }
    case WM_GETDLGCODE:
        Message.Result = 0;
        return;
    case WM_SETCURSOR:
        // The Cursor of the control under the mouse (a graphic child's or this one's).
        ui::ApplyMouseCursor();
        Message.Result = 1;
        return;
    case WM_PRINT:
    case WM_PRINTCLIENT: {
        // Renders what the window shows into the canvas in WParam (client area only for
        // WM_PRINTCLIENT), hosted widgets included.
        auto* canvas = reinterpret_cast<TCanvas*>(Message.WParam);
        if (!canvas) return;
        QImage img = ui::GrabWindow(this);
        if (Message.Msg == WM_PRINTCLIENT) {
            const TRect a = ClientAreaInWindow();
            img = img.copy(a.Left, a.Top, a.Width(), a.Height());
        }
        TBitmap bmp(std::max(1, img.width()), std::max(1, img.height()));
        gfx::BitmapImage(&bmp) = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        canvas->Draw(0, 0, &bmp);
        return;
    }
    default:
        break;
    }
    TControl::DefaultHandler(Message);
}

// ---- TCustomControl ------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>())
{
    canvas_->OnChange = [this](TObject*) {
        NativeWindow& n = ui::N(this);
        if (!n.inPaint && n.widget) n.widget->update();
    };
}

TCustomControl::~TCustomControl()
{
    if (canvas_) gfx::UnbindCanvas(canvas_.get());
}

TCanvas* TCustomControl::Canvas() const
{
    NativeWindow& n = ui::N(this);
    if (!n.inPaint) ui::EnsureSurface(n);
    if (!n.inPaint && boundGeneration_ != n.generation) {
        const TRect a = ClientAreaInWindow();
        QRegion clip = QRegion(a.Left, a.Top, a.Width(), a.Height()).translated(-n.surfaceOrigin);
        gfx::BindCanvas(canvas_.get(), &n.surface, QPoint(a.Left, a.Top) - n.surfaceOrigin, &clip);
        boundGeneration_ = n.generation;
    }
    return canvas_.get();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(TCanvas*)
{
    Paint();
}

} // namespace plat
