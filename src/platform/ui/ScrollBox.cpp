// Scrolling container on the window scroll bars: ranges from the children, positions that move
// the children, arrow, page and thumb messages.
#include <algorithm>

#include "plat/ScrollBox.h"

namespace plat {

// ---- TControlScrollBar ------------------------------------------------------------------

int TControlScrollBar::ClientExtent() const
{
    const TRect r = control_->ClientRect();
    return kind_ == sbVertical ? r.Height() : r.Width();
}

int TControlScrollBar::MaxPosition() const
{
    if (!visible_) return 0;
    return std::max(0, range_ - ClientExtent());
}

void TControlScrollBar::SetPosition(int Value)
{
    const int v = std::clamp(Value, 0, MaxPosition());
    const int delta = position_ - v;
    if (delta == 0) return;
    position_ = v;
    if (kind_ == sbVertical) control_->ScrollChildren(0, delta);
    else control_->ScrollChildren(delta, 0);
    control_->ApplyBar(*this);
}

void TControlScrollBar::SetRange(int Value)
{
    range_ = std::max(0, Value);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value)
{
    if (visible_ == Value) return;
    visible_ = Value;
    control_->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    const std::uint32_t bit = kind_ == sbVertical ? WS_VSCROLL : WS_HSCROLL;
    return (control_->WindowStyle() & bit) != 0;
}

// ---- TScrollingWinControl ---------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), horz_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, sbVertical))
{
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool Value)
{
    if (autoScroll_ == Value) return;
    autoScroll_ = Value;
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollChildren(int Dx, int Dy)
{
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + Dx, c->Top() + Dy, c->Width(), c->Height());
    }
    EnableAlign();
}

void TScrollingWinControl::ApplyBar(TControlScrollBar& Bar)
{
    TScrollInfo si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    const bool shown = Bar.visible_ && Bar.range_ > Bar.ClientExtent();
    si.nMax = shown ? Bar.range_ - 1 : 0;
    si.nPage = shown ? static_cast<UINT>(Bar.ClientExtent()) : 0;
    si.nPos = shown ? Bar.position_ : 0;
    SetScrollInfo(Handle(), Bar.kind_ == sbVertical ? SB_VERT : SB_HORZ, si, true);
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (updating_) return;
    updating_ = true;
    struct Reset {
        bool& f;
        ~Reset() { f = false; }
    } reset{updating_};
    if (autoScroll_) {
        // The content's extent at position 0: the children's far edges plus the scrolled-off part.
        int right = 0, bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            const TControl* c = Controls(i);
            if (!c->Visible()) continue;
            right = std::max(right, c->Left() + c->Width() + horz_->position_);
            bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
        }
        horz_->range_ = right;
        vert_->range_ = bottom;
    }
    // A bar that appears narrows the client area and may call for the other one: two rounds.
    for (int round = 0; round < 2; ++round) {
        ApplyBar(*vert_);
        ApplyBar(*horz_);
    }
    for (TControlScrollBar* b : {vert_.get(), horz_.get()}) {
        const int clamped = std::clamp(b->position_, 0, b->MaxPosition());
        if (clamped != b->position_) {
            const int delta = b->position_ - clamped;
            b->position_ = clamped;
            if (b->kind_ == sbVertical) ScrollChildren(0, delta);
            else ScrollChildren(delta, 0);
            ApplyBar(*b);
        }
    }
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

void TScrollingWinControl::Resize()
{
    UpdateScrollBars();
    TWinControl::Resize();
}

void TScrollingWinControl::ScrollMessage(TControlScrollBar& Bar, int Code)
{
    TScrollInfo si;
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), Bar.kind_ == sbVertical ? SB_VERT : SB_HORZ, si);
    const int page = Bar.ClientExtent();
    switch (Code) {
    case SB_LINEUP: Bar.SetPosition(Bar.position_ - Bar.increment_); break;
    case SB_LINEDOWN: Bar.SetPosition(Bar.position_ + Bar.increment_); break;
    case SB_PAGEUP: Bar.SetPosition(Bar.position_ - page); break;
    case SB_PAGEDOWN: Bar.SetPosition(Bar.position_ + page); break;
    case SB_THUMBPOSITION: Bar.SetPosition(si.nTrackPos); break;
    case SB_THUMBTRACK:
        if (Bar.tracking_) Bar.SetPosition(si.nTrackPos);
        break;
    case SB_TOP: Bar.SetPosition(0); break;
    case SB_BOTTOM: Bar.SetPosition(Bar.range_); break;
    default: break;
    }
}

void TScrollingWinControl::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
        // Positions come from the bar's tracking state, not the message's 16-bit field, so
        // ranges beyond 32,767 pixels scroll exactly.
        ScrollMessage(Message.Msg == WM_VSCROLL ? *vert_ : *horz_, LoWord(Message.WParam));
        Message.Result = 0;
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- TScrollBox -------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    SetBorderStyle(bsSingle);
    SetBounds(Left(), Top(), 185, 41);
}

} // namespace plat
