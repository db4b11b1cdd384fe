// TControl and TGraphicControl: geometry, alignment requests, anchors, font/colour
// inheritance and the framework's mouse message handling.
#include <QtGlobal>

#include <algorithm>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "gfx/GfxNative.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

ui::PopupMenuHandler g_popupHandler = nullptr;

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(static_cast<int>(VK_MENU)) < 0) s |= ssAlt;
    return s;
}

} // namespace

void ui::SetPopupMenuHandler(PopupMenuHandler handler) { g_popupHandler = handler; }
ui::PopupMenuHandler ui::GetPopupMenuHandler() { return g_popupHandler; }

void UiAccess::SetBoundsRaw(TControl* c, int l, int t, int w, int h)
{
    c->left_ = l;
    c->top_ = t;
    c->width_ = w;
    c->height_ = h;
}

// ---- TControl ------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>())
{
    // Controls act on removals only (a popup menu, a focus control, images going away).
    SetHearsInsertions(false);
    font_->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl()
{
    ui::ForgetControl(this);
    if (GetCaptureControl() == this) SetCaptureControl(nullptr);
    if (parent_) parent_->RemoveControl(this);
    parent_ = nullptr;
    font_->OnChange = nullptr;
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == parent_) return;
    if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    const bool resized = AWidth != width_ || AHeight != height_;
    const bool moved = ALeft != left_ || ATop != top_;
    if (parent_ && !dynamic_cast<TWinControl*>(this) && Visible()) parent_->InvalidateRect(nullptr);
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (!IsAligning()) UpdateAnchorRules();
    BoundsChanged();
    if (parent_ && align_ != alNone && !IsAligning()) RequestAlign();
    if (auto* w = dynamic_cast<TWinControl*>(this)) {
        // As the window system reports a changed window: position record, then size and move.
        TWindowPos wp{w->Handle(), 0, left_, top_, width_, height_, (moved ? 0u : SWP_NOMOVE) | (resized ? 0u : SWP_NOSIZE)};
        const HWND h = w->Handle();
        Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
        if (!IsWindow(h)) return;
        if (moved) {
            // Each origin walks the parent chain: taken once each.
            const TPoint origin = ClientOrigin();
            const TPoint parentOrigin = parent_ ? parent_->ClientOrigin() : TPoint{0, 0};
            Perform(WM_MOVE, 0, MakeLParam(origin.X - parentOrigin.X, origin.Y - parentOrigin.Y));
        }
        if (!IsWindow(h)) return;
    }
    if (resized) {
        Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
    }
}

void TControl::BoundsChanged()
{
    if (parent_) {
        ui::N(parent_).generation++;
        if (Visible()) parent_->InvalidateRect(nullptr);
    }
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(int Value) { SetWidth(Value); }
void TControl::SetClientHeight(int Value) { SetHeight(Value); }
void TControl::SetClientSize(int W, int H)
{
    SetClientWidth(W);
    SetClientHeight(H);
}

TPoint TControl::ClientOrigin() const
{
    if (!parent_) return {left_, top_};
    TPoint p = parent_->ClientOrigin();
    return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    TPoint o = ClientOrigin();
    return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    TPoint o = ClientOrigin();
    return {P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint P, TWinControl* AParent) const
{
    if (!AParent) AParent = parent_;
    const TControl* c = this;
    while (c && c != AParent) {
        P.X += c->left_;
        P.Y += c->top_;
        c = c->parent_;
    }
    if (!c) throw EInvalidOperation(u"Control is not a child of the given parent");
    return P;
}

void TControl::SetAlign(TAlign Value)
{
    if (align_ == Value) return;
    const TAlign old = align_;
    align_ = Value;
    anchors_ = akDefault;
    if (parent_ && (old != alNone || Value != alNone)) RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
    anchors_ = Value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!parent_) {
        anchorRulesValid_ = false;
        return;
    }
    const TRect pc = parent_->ClientRect();
    anchorRight_ = pc.Right - (left_ + width_);
    anchorBottom_ = pc.Bottom - (top_ + height_);
    anchorRulesValid_ = true;
}

void TControl::RequestAlign()
{
    if (parent_) parent_->AlignAll(this);
}

bool TControl::IsAligning() const { return parent_ && parent_->aligning_; }

void TControl::SetVisible(bool Value)
{
    if (visible_ == Value) return;
    visible_ = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
    if (parent_) {
        // Showing or hiding covers or uncovers only the control's own rectangle of the parent;
        // an aligned control moves its siblings, so the parent is repainted whole.
        if (align_ != alNone) {
            parent_->InvalidateRect(nullptr);
            RequestAlign();
        } else {
            const TRect r = BoundsRect();
            parent_->InvalidateRect(&r);
        }
    }
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool Value)
{
    if (enabled_ == Value) return;
    enabled_ = Value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetFont(const TFont* Value)
{
    if (Value) font_->Assign(*Value);
}

void TControl::FontChanged()
{
    if (!fontChanging_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::ApplyParentFont()
{
    if (!parent_ || !parentFont_) return;
    fontChanging_ = true;
    try {
        font_->Assign(*parent_->Font());
    } catch (...) {
        fontChanging_ = false;
        throw;
    }
    fontChanging_ = false;
}

void TControl::SetParentFont(bool Value)
{
    if (parentFont_ == Value) return;
    parentFont_ = Value;
    if (Value) ApplyParentFont();
}

void TControl::SetColor(TColor Value)
{
    parentColor_ = false;
    if (color_ == Value) return;
    color_ = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::ApplyParentColor()
{
    if (!parent_ || !parentColor_) return;
    if (color_ == parent_->Color()) return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (parentColor_ == Value) return;
    parentColor_ = Value;
    if (Value) ApplyParentColor();
}

void TControl::SetShowHint(bool Value)
{
    showHint_ = Value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value)
{
    parentShowHint_ = Value;
    if (Value && parent_) showHint_ = parent_->ShowHint();
}

void TControl::SetCursor(TCursor Value)
{
    if (cursor_ == Value) return;
    cursor_ = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetText(const String& Value)
{
    if (GetText() == Value) return;
    SetTextBuf(Value);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetTextBuf(const String& Value) { text_ = Value; }

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value)
{
    if (MouseCapture() == Value) return;
    if (Value)
        SetCaptureControl(this);
    else
        SetCaptureControl(nullptr);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
#ifndef NDEBUG
    // Controls belong to the UI thread; a worker must post or send instead.
    if (!ui::InUiThread()) qFatal("a control was used from a thread other than the UI thread");
#endif
    TMessage m{Msg, WParam, LParam, 0};
    if (windowProc_) {
        // A copy runs: the procedure may take itself away while it handles the message.
        const TWndMethod front = windowProc_;
        front(m);
    } else {
        WndProc(m);
    }
    return m.Result;
}

void TControl::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: {
        // WParam = buffer size in characters, LParam = char16_t* buffer.
        String t = GetText();
        auto* buf = reinterpret_cast<char16_t*>(Message.LParam);
        const size_t cap = static_cast<size_t>(Message.WParam);
        if (!buf || cap == 0) {
            Message.Result = 0;
            break;
        }
        const size_t n = std::min(t.size(), cap - 1);
        std::copy_n(t.data(), n, buf);
        buf[n] = 0;
        Message.Result = static_cast<LRESULT>(n);
        break;
    }
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(GetText().size());
        break;
    case WM_CONTEXTMENU:
        if (popupMenu_ && ui::GetPopupMenuHandler()) {
            ui::GetPopupMenuHandler()(popupMenu_, this, PointFromLParam(Message.LParam));
            Message.Result = 1;
        } else if (parent_) {
            Message.Result = parent_->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam);
        }
        break;
    case WM_SETTEXT: {
        auto* p = reinterpret_cast<const char16_t*>(Message.LParam);
        SetTextBuf(p ? String(p) : String());
        Message.Result = 1;
        break;
    }
    default:
        break;
    }
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == reinterpret_cast<TComponent*>(popupMenu_)) popupMenu_ = nullptr;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TControl::ChangeScale(int, int) {}

void TControl::Loaded() { TComponent::Loaded(); }

void TControl::Invalidate()
{
    if (parent_ && visible_) parent_->InvalidateRect(nullptr);
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (parent_) parent_->Update();
}

void TControl::BringToFront()
{
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this)) ui::N(w).widget->raise();
    parent_->InvalidateRect(nullptr);
}

void TControl::SendToBack()
{
    if (!parent_) return;
    auto& v = parent_->controls_;
    v.erase(std::find(v.begin(), v.end(), this));
    v.insert(v.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this)) ui::N(w).widget->lower();
    parent_->InvalidateRect(nullptr);
}

void TControl::MouseWheelHandler(TMessage& Message)
{
    // The form hands the wheel to its focused control; what that one leaves goes up the parents.
    TCustomForm* form = GetParentForm(this);
    TControl* target = form ? (form->ActiveControl() ? static_cast<TControl*>(form->ActiveControl()) : form) : this;
    Message.Result = target->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

// The framework's message methods of TControl; what they do not handle ends in DefaultHandler.
void TControl::WndProc(TMessage& Message)
{
    UINT msg = Message.Msg;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL) {
        if (!(controlStyle_ & csDoubleClicks)) {
            if (msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK) {
                msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                Message.Msg = msg;
            }
        }
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) controlState_ |= csLButtonDown;
        if (msg == WM_LBUTTONUP) controlState_ &= ~csLButtonDown;
    }
    const TPoint pt = PointFromLParam(Message.LParam);
    const TShiftState keys = KeysToShiftState(Message.WParam);
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (dragMode_ == dmAutomatic && !Dragging()) {
            BeginDrag(false);
            return;
        }
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
        if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
        if (!(controlStyle_ & csNoStdEvents)) MouseDown(mbLeft, keys, pt.X, pt.Y);
        return;
    case WM_LBUTTONDBLCLK:
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
        if (controlStyle_ & csClickEvents) DblClick();
        if (!(controlStyle_ & csNoStdEvents)) MouseDown(mbLeft, keys | ssDouble, pt.X, pt.Y);
        return;
    case WM_LBUTTONUP:
        if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
        if (controlState_ & csClicked) {
            controlState_ &= ~csClicked;
            if (ClientRect().Contains(pt)) Click();
        }
        if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbLeft, keys, pt.X, pt.Y);
        return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        if (!(controlStyle_ & csNoStdEvents))
            MouseDown(mbRight, keys | (msg == WM_RBUTTONDBLCLK ? TShiftState(ssDouble) : 0u), pt.X, pt.Y);
        return;
    case WM_RBUTTONUP:
        if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbRight, keys, pt.X, pt.Y);
        {
            const TPoint s = ClientToScreen(pt);
            Perform(WM_CONTEXTMENU, 0, PointToLParam(s));
        }
        return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (!(controlStyle_ & csNoStdEvents))
            MouseDown(mbMiddle, keys | (msg == WM_MBUTTONDBLCLK ? TShiftState(ssDouble) : 0u), pt.X, pt.Y);
        return;
    case WM_MBUTTONUP:
        if (!(controlStyle_ & csNoStdEvents)) MouseUp(mbMiddle, keys, pt.X, pt.Y);
        return;
    case WM_MOUSEMOVE:
        if (!(controlStyle_ & csNoStdEvents)) MouseMove(keys, pt.X, pt.Y);
        return;
    case WM_MOUSEWHEEL:
        MouseWheelHandler(Message);
        return;
    case CM_MOUSEWHEEL: {
        // WParam: low word shift state, high word signed delta; LParam: screen point.
        const int delta = static_cast<std::int16_t>(HiWord(Message.WParam));
        const TShiftState shift = static_cast<TShiftState>(LoWord(Message.WParam));
        const bool handled = DoMouseWheel(shift, delta, PointFromLParam(Message.LParam));
        if (handled) {
            Message.Result = 1;
        } else if (parent_) {
            Message.Result = parent_->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
        }
        return;
    }
    case CM_MOUSEENTER:
        if (parent_) parent_->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
        if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
        if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        return;
    case CM_PARENTFONTCHANGED:
        if (parentFont_) ApplyParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_) ApplyParentColor();
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (parentShowHint_ && parent_) showHint_ = parent_->ShowHint();
        return;
    case WM_SIZE:
        Resize();
        return;
    case WM_CANCELMODE:
        if (MouseCapture()) SetMouseCapture(false);
        return;
    case CM_HITTEST:
        Message.Result = HTCLIENT;
        return;
    case CM_CURSORCHANGED:
        ui::CursorChanged(this);
        return;
    case CM_DRAG:
        Message.Result = ui::ControlDragMessage(this, Message.WParam, Message.LParam);
        return;
    default:
        break;
    }
    DefaultHandler(Message);
}

// ---- TGraphicControl ----------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), canvas_(std::make_unique<TCanvas>())
{
    canvas_->OnChange = [this](TObject*) {
        if (Parent()) {
            NativeWindow& n = ui::N(Parent());
            if (!n.inPaint && n.widget) n.widget->update();
        }
    };
}

TGraphicControl::~TGraphicControl()
{
    if (canvas_) gfx::UnbindCanvas(canvas_.get());
}

TCanvas* TGraphicControl::Canvas() const
{
    TWinControl* p = Parent();
    if (!p) return canvas_.get();
    NativeWindow& n = ui::N(p);
    if (!n.inPaint && boundGeneration_ != n.generation) {
        ui::PaintPending(n);  // make sure the surface exists at its size
        const QPoint off = ui::ClientOffset(p) + QPoint(Left(), Top());
        const TRect pc = p->ClientRect();
        QRegion clip = QRegion(off.x(), off.y(), Width(), Height()) &
                       QRegion(ui::ClientOffset(p).x(), ui::ClientOffset(p).y(), pc.Width(), pc.Height());
        clip.translate(-n.surfaceOrigin);
        gfx::BindCanvas(canvas_.get(), &n.surface, off - n.surfaceOrigin, &clip);
        boundGeneration_ = n.generation;
    }
    return canvas_.get();
}

void TGraphicControl::Paint() {}

void TGraphicControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        Paint();
        return;
    }
    TControl::WndProc(Message);
}

} // namespace plat
