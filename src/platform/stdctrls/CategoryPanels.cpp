#include "plat/ExtCtrls.h"
#include "plat/ImgList.h"

#include <algorithm>

#include "StdCommon.h"
#include "StdModels.h"

namespace plat {

using namespace std_detail;

namespace {

constexpr int LineStep = 8;    // pixels per scroll line
constexpr int WheelLines = 3;  // the system's wheel-scroll-lines setting
constexpr int GradientBands = 16;

TColor Mix(TColor a, TColor b, int num, int den)
{
    a = ColorToRGB(a);
    b = ColorToRGB(b);
    auto ch = [&](int shift) {
        const int x = (a >> shift) & 0xFF;
        const int y = (b >> shift) & 0xFF;
        return (x + (y - x) * num / den) & 0xFF;
    };
    return RGB(ch(0), ch(8), ch(16));
}

// Two stacked chevrons pointing up (open panel) or down (closed panel), 9 x 8 pixels.
void DrawChevron(TCanvas* C, const TRect& R, bool Up, TColor Color)
{
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(Color);
    const int cx = (R.Left + R.Right) / 2;
    const int cy = (R.Top + R.Bottom) / 2;
    for (int k = 0; k < 2; ++k) {
        const int y0 = cy - 4 + k * 4;
        for (int t = 0; t < 2; ++t) {
            const int tip = Up ? y0 + t : y0 + 3 - t + 0;
            const int side = Up ? tip + 3 : tip - 3;
            C->MoveTo(cx - 4, side);
            C->LineTo(cx, tip);
            C->LineTo(cx + 5, side + (Up ? 1 : -1));
        }
    }
}

} // namespace

// ---- TCategoryPanelSurface -------------------------------------------------------------

TCategoryPanelSurface::TCategoryPanelSurface(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetParentColor(true);
}

void TCategoryPanelSurface::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

// ---- TCategoryPanel --------------------------------------------------------------------

TCategoryPanel::TCategoryPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetParentColor(true);
    surface_ = new TCategoryPanelSurface(this);
    surface_->SetParent(this);
    TCustomControl::SetBounds(0, 0, 185, fullHeight_);
    LayoutSurface();
}

TCategoryPanel::~TCategoryPanel()
{
    if (group_)
        group_->RemovePanel(this);
}

int TCategoryPanel::HeaderHeight() const
{
    return group_ ? group_->HeaderHeight() : 24;
}

void TCategoryPanel::SetPanelGroup(TCategoryPanelGroup* Value)
{
    SetParent(Value);
}

void TCategoryPanel::SetParent(TWinControl* AParent)
{
    TCustomControl::SetParent(AParent);
    auto* group = dynamic_cast<TCategoryPanelGroup*>(AParent);
    if (group == group_)
        return;
    if (group_)
        group_->RemovePanel(this);
    group_ = group;
    if (group_)
        group_->AddPanel(this);
}

void TCategoryPanel::SetVisible(bool Value)
{
    TCustomControl::SetVisible(Value);
    if (group_)
        group_->Restack();
}

void TCategoryPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!group_) {
        if (!collapsed_)
            fullHeight_ = AHeight;
        TCustomControl::SetBounds(ALeft, ATop, AWidth, collapsed_ ? HeaderHeight() : AHeight);
        return;
    }
    if (group_->restacking_) {
        TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
        return;
    }
    // The group decides the place and width; a new height is the full height (kept while
    // the panel is closed), a new top may move the panel among the others.
    const bool heightChanged = AHeight != Height();
    if (heightChanged)
        fullHeight_ = std::max(AHeight, 0);
    TCategoryPanel* moved = nullptr;
    if (ATop != Top()) {
        requestedTop_ = ATop + group_->ScrollPos();
        moved = this;
    }
    group_->Restack(moved);
}

void TCategoryPanel::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    LayoutSurface();
}

void TCategoryPanel::LayoutSurface()
{
    if (!surface_)
        return;
    const int header = HeaderHeight();
    surface_->SetBounds(0, header, ClientWidth(), std::max(0, fullHeight_ - header));
    surface_->SetVisible(!collapsed_);
}

void TCategoryPanel::SetCollapsed(bool Value)
{
    if (collapsed_ == Value)
        return;
    collapsed_ = Value;
    if (group_)
        group_->Restack();
    else
        TCustomControl::SetBounds(Left(), Top(), Width(), collapsed_ ? HeaderHeight() : fullHeight_);
    LayoutSurface();
    Invalidate();
    if (collapsed_) {
        if (OnCollapse)
            OnCollapse(this);
    } else {
        if (group_)
            group_->ScrollIntoView(this);
        if (OnExpand)
            OnExpand(this);
    }
}

void TCategoryPanel::SetCollapsedImageIndex(int Value)
{
    collapsedImage_ = Value;
    Invalidate();
}

void TCategoryPanel::SetExpandedImageIndex(int Value)
{
    expandedImage_ = Value;
    Invalidate();
}

TRect TCategoryPanel::HeaderRect() const
{
    return {0, 0, ClientWidth(), HeaderHeight()};
}

TRect TCategoryPanel::ChevronRect() const
{
    const TRect h = HeaderRect();
    return {h.Right - 22, h.Top, h.Right - 4, h.Bottom};
}

void TCategoryPanel::Paint()
{
    TCanvas* c = Canvas();
    const TRect header = HeaderRect();
    const TColor base = group_ ? group_->GradientBaseColor() : clWhite;
    const TColor grad = group_ ? group_->GradientColor() : clBtnFace;
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < GradientBands; ++i) {
        const int y0 = header.Top + header.Height() * i / GradientBands;
        const int y1 = header.Top + header.Height() * (i + 1) / GradientBands;
        c->Brush()->SetColor(Mix(base, grad, i, GradientBands - 1));
        c->FillRect({header.Left, y0, header.Right, y1});
    }
    c->Pen()->SetColor(Mix(grad, clBlack, 1, 4));
    c->MoveTo(header.Left, header.Bottom - 1);
    c->LineTo(header.Right, header.Bottom - 1);

    int textLeft = header.Left + 6;
    TImageList* images = group_ ? group_->Images() : nullptr;
    const int index = collapsed_ ? collapsedImage_ : expandedImage_;
    if (images && index >= 0 && index < images->Count()) {
        images->Draw(c, header.Left + 4, header.Top + (header.Height() - images->Height()) / 2, index, Enabled());
        textLeft = header.Left + 8 + images->Width();
    }
    if (group_)
        c->SetFont(group_->HeaderFont());
    else
        c->SetFont(Font());
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    c->Brush()->SetStyle(bsClear);
    const TRect chevron = ChevronRect();
    TRect text{textLeft, header.Top, chevron.Left - 2, header.Bottom - 1};
    c->DrawText(Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

    TColor chevronColor = group_ ? group_->ChevronColor() : clBlack;
    if (!Enabled())
        chevronColor = clGrayText;
    else if (chevronHot_ && group_)
        chevronColor = group_->ChevronHotColor();
    DrawChevron(c, chevron, !collapsed_, chevronColor);

    if (!collapsed_ && ClientHeight() > header.Height()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect({0, header.Bottom, ClientWidth(), ClientHeight()});
    }
}

void TCategoryPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled() && HeaderRect().Contains({X, Y}))
        SetCollapsed(!collapsed_);
}

void TCategoryPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const bool hot = Enabled() && ChevronRect().Contains({X, Y});
    if (hot != chevronHot_) {
        chevronHot_ = hot;
        Invalidate();
    }
}

void TCategoryPanel::WndProc(TMessage& Message)
{
    if (RepaintOnChange(this, Message, roText | roFont | roColor | roEnabled))
        return;
    if (Message.Msg == CM_MOUSELEAVE) {
        TCustomControl::WndProc(Message);
        if (chevronHot_) {
            chevronHot_ = false;
            Invalidate();
        }
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- TCategoryPanelGroup ---------------------------------------------------------------

TCategoryPanelGroup::TCategoryPanelGroup(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetColor(clBtnFace);
    headerFont_.SetStyle({fsBold});
    headerFont_.OnChange = [this](TObject*) {
        for (TCategoryPanel* p : panels_)
            p->Invalidate();
    };
    SetBounds(0, 0, 200, 400);
}

TCategoryPanelGroup::~TCategoryPanelGroup()
{
    for (TCategoryPanel* p : panels_)
        p->group_ = nullptr;
    panels_.clear();
}

TCategoryPanel* TCategoryPanelGroup::CreatePanel(TComponent* AOwner)
{
    auto* p = new TCategoryPanel(AOwner);
    p->SetPanelGroup(this);
    return p;
}

void TCategoryPanelGroup::AddPanel(TCategoryPanel* Panel)
{
    if (std::find(panels_.begin(), panels_.end(), Panel) != panels_.end())
        return;
    // A new panel goes below the others.
    Panel->requestedTop_ = contentHeight_;
    panels_.push_back(Panel);
    Restack(Panel);
}

void TCategoryPanelGroup::RemovePanel(TCategoryPanel* Panel)
{
    panels_.erase(std::remove(panels_.begin(), panels_.end(), Panel), panels_.end());
    if (!HasState(csDestroying))
        Restack();
}

void TCategoryPanelGroup::SetHeaderHeight(int Value)
{
    headerHeight_ = std::max(1, Value);
    for (TCategoryPanel* p : panels_)
        p->LayoutSurface();
    Restack();
}

void TCategoryPanelGroup::SetGradientBaseColor(TColor Value) { gradientBase_ = Value; Invalidate(); for (auto* p : panels_) p->Invalidate(); }
void TCategoryPanelGroup::SetGradientColor(TColor Value) { gradientColor_ = Value; for (auto* p : panels_) p->Invalidate(); }
void TCategoryPanelGroup::SetChevronColor(TColor Value) { chevronColor_ = Value; for (auto* p : panels_) p->Invalidate(); }
void TCategoryPanelGroup::SetChevronHotColor(TColor Value) { chevronHotColor_ = Value; }

void TCategoryPanelGroup::SetImages(TImageList* Value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = Value;
    if (Value)
        Value->FreeNotification(this);
    for (TCategoryPanel* p : panels_)
        p->Invalidate();
}

void TCategoryPanelGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_)
        images_ = nullptr;
}

int TCategoryPanelGroup::MaxScrollPos() const
{
    return stdmodel::MaxScroll(contentHeight_, ClientHeight());
}

void TCategoryPanelGroup::SetScrollPos(int Value)
{
    Value = std::clamp(Value, 0, MaxScrollPos());
    if (Value == scrollPos_)
        return;
    scrollPos_ = Value;
    Restack();
}

void TCategoryPanelGroup::ScrollIntoView(TCategoryPanel* Panel)
{
    if (!Panel || !Panel->Visible() || Panel->group_ != this)
        return;
    const int top = Panel->Top() + scrollPos_;
    SetScrollPos(stdmodel::ScrollIntoView(scrollPos_, top, Panel->Height(), ClientHeight(), contentHeight_));
}

void TCategoryPanelGroup::CollapseAll()
{
    for (TCategoryPanel* p : panels_)
        p->SetCollapsed(true);
}

void TCategoryPanelGroup::ExpandAll()
{
    for (TCategoryPanel* p : panels_)
        p->SetCollapsed(false);
}

void TCategoryPanelGroup::Restack(TCategoryPanel* Moved)
{
    if (restacking_)
        return;
    std::vector<stdmodel::PanelSlot> slots;
    slots.reserve(panels_.size());
    int moved = -1;
    for (size_t i = 0; i < panels_.size(); ++i) {
        const TCategoryPanel* p = panels_[i];
        slots.push_back({p->Visible(), p->collapsed_, p->fullHeight_, p->requestedTop_});
        if (p == Moved)
            moved = static_cast<int>(i);
    }
    const stdmodel::StackResult r = stdmodel::StackPanels(slots, headerHeight_, moved);
    contentHeight_ = r.contentHeight;
    UpdateScrollBar();
    scrollPos_ = std::clamp(scrollPos_, 0, MaxScrollPos());
    restacking_ = true;
    const int width = ClientWidth();
    for (size_t i = 0; i < panels_.size(); ++i) {
        TCategoryPanel* p = panels_[i];
        if (r.top[i] < 0)
            continue;
        // The actual place becomes the key for later moves of other panels.
        p->requestedTop_ = r.top[i];
        p->SetBounds(0, r.top[i] - scrollPos_, width, r.height[i]);
        p->LayoutSurface();
    }
    restacking_ = false;
    UpdateScrollBar();
    Invalidate();
}

void TCategoryPanelGroup::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    const bool needed = contentHeight_ > ClientHeight();
    ShowScrollBar(Handle(), SB_VERT, needed);
    if (!needed)
        return;
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, contentHeight_ - 1);
    si.nPage = static_cast<UINT>(std::max(0, ClientHeight()));
    si.nPos = scrollPos_;
    SetScrollInfo(Handle(), SB_VERT, si, true);
}

void TCategoryPanelGroup::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

void TCategoryPanelGroup::Resize()
{
    TCustomControl::Resize();
    Restack();
}

bool TCategoryPanelGroup::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    const int code = WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int i = 0; i < WheelLines; ++i) {
        Perform(WM_VSCROLL, static_cast<WPARAM>(code), 0);
        Perform(WM_VSCROLL, static_cast<WPARAM>(SB_ENDSCROLL), 0);
    }
    return true;
}

void TCategoryPanelGroup::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_VSCROLL) {
        const int code = LoWord(Message.WParam);
        switch (code) {
        case SB_LINEUP: SetScrollPos(scrollPos_ - LineStep); break;
        case SB_LINEDOWN: SetScrollPos(scrollPos_ + LineStep); break;
        case SB_PAGEUP: SetScrollPos(scrollPos_ - ClientHeight()); break;
        case SB_PAGEDOWN: SetScrollPos(scrollPos_ + ClientHeight()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The content follows the thumb while it is dragged. The message carries 16 bits
            // of position; a taller content reads the bar's 32-bit track position.
            int pos = HiWord(Message.WParam);
            TScrollInfo si;
            si.fMask = SIF_TRACKPOS;
            if (contentHeight_ > 0xFFFF && HandleAllocated() && GetScrollInfo(Handle(), SB_VERT, si))
                pos = si.nTrackPos;
            SetScrollPos(pos);
            break;
        }
        case SB_TOP: SetScrollPos(0); break;
        case SB_BOTTOM: SetScrollPos(MaxScrollPos()); break;
        default: break;
        }
        Message.Result = 0;
        return;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
