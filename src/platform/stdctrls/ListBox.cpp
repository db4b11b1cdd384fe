#include "plat/StdCtrls.h"

#include <algorithm>

#include "StdCommon.h"
#include "plat/Classes.h"
#include "plat/SysUtils.h"

namespace plat {

using namespace std_detail;

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TStringList>())
{
    // Selection is the list's own business: OnClick fires on a user's selection only.
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetTabStop(true);
    SetColor(clWindow);
    SetBorderStyle(bsSingle);
    SetBounds(0, 0, 121, 97);
    items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox()
{
    items_->OnChange = nullptr;
}

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    // A drop-down list has the thin black frame, a free-standing list the sunken edge.
    if (BorderStyle() == bsSingle && hotTrack_) {
        Params.ExStyle &= ~WS_EX_CLIENTEDGE;
        Params.Style |= WS_BORDER;
    }
}

int TCustomListBox::Count() const { return items_->Count(); }

int TCustomListBox::ItemHeight() const
{
    if (itemHeight_ > 0)
        return itemHeight_;
    if (fontItemHeight_ == 0)
        fontItemHeight_ = std::max(1, MeasureCanvas(Font())->TextHeight(u"Wg"));
    return fontItemHeight_;
}

void TCustomListBox::SetItemHeight(int Value)
{
    itemHeight_ = std::max(0, Value);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= Count())
        Value = -1;
    if (itemIndex_ == Value)
        return;
    itemIndex_ = Value;
    if (Value >= 0)
        MakeVisible(Value);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value)
{
    const int maxTop = std::max(0, Count() - VisibleItemCount());
    Value = std::clamp(Value, 0, maxTop);
    if (topIndex_ == Value)
        return;
    topIndex_ = Value;
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::SetSorted(bool Value)
{
    sorted_ = Value;
    items_->SetSorted(Value);
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    style_ = Value;
    Invalidate();
}

void TCustomListBox::Clear()
{
    items_->Clear();
}

int TCustomListBox::VisibleItemCount() const
{
    return std::max(1, ClientHeight() / ItemHeight());
}

TRect TCustomListBox::ItemRect(int Index) const
{
    const int h = ItemHeight();
    const int top = (Index - topIndex_) * h;
    return {0, top, ClientWidth(), top + h};
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const
{
    if (Pos.Y < 0 || Pos.X < 0 || Pos.X >= ClientWidth())
        return -1;
    const int index = topIndex_ + Pos.Y / ItemHeight();
    if (index < Count())
        return index;
    return Existing ? -1 : Count();
}

void TCustomListBox::ItemsChanged()
{
    if (itemIndex_ >= Count())
        itemIndex_ = -1;
    const int maxTop = std::max(0, Count() - VisibleItemCount());
    topIndex_ = std::min(topIndex_, maxTop);
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, Count() - 1);
    si.nPage = static_cast<UINT>(VisibleItemCount());
    si.nPos = topIndex_;
    const bool needed = Count() > VisibleItemCount();
    ShowScrollBar(Handle(), SB_VERT, needed);
    if (needed)
        SetScrollInfo(Handle(), SB_VERT, si, true);
}

void TCustomListBox::MakeVisible(int Index)
{
    if (Index < topIndex_)
        SetTopIndex(Index);
    else if (Index >= topIndex_ + VisibleItemCount())
        SetTopIndex(Index - VisibleItemCount() + 1);
}

void TCustomListBox::UserSelect(int Index)
{
    if (Count() == 0)
        return;
    Index = std::clamp(Index, 0, Count() - 1);
    const bool changed = Index != itemIndex_;
    SetItemIndex(Index);
    MakeVisible(Index);
    if (changed) {
        NotifyParent(this, LBN_SELCHANGE);
        Click();
    }
}

void TCustomListBox::Resize()
{
    TCustomControl::Resize();
    ItemsChanged();
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    if (style_ == lbOwnerDrawFixed && OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    const bool selected = (State & odSelected) != 0;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : Color());
    c->FillRect(Rect);
    // Paint selected the font; only its colour changes per item.
    c->Font()->SetColor(selected ? clHighlightText : (State & odDisabled) ? clGrayText : Font()->Color());
    c->Brush()->SetStyle(bsClear);
    TRect text{Rect.Left + 2, Rect.Top, Rect.Right, Rect.Bottom};
    c->DrawText(items_->At(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomListBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
    c->SetFont(Font());
    const bool focused = Focused() || hotTrack_;
    for (int i = topIndex_; i < Count(); ++i) {
        const TRect r = ItemRect(i);
        if (r.Top >= client.Bottom)
            break;
        TOwnerDrawState state = 0;
        if (i == itemIndex_)
            state |= odSelected;
        if (i == itemIndex_ && focused)
            state |= odFocused;
        if (!Enabled())
            state |= odDisabled;
        DrawItem(i, r, state);
        if ((state & odFocused) && !hotTrack_)
            c->DrawFocusRect(r);
    }
    if (Count() == 0 && Focused())
        c->DrawFocusRect(ItemRect(0));
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (hotTrack_ && !ClientRect().Contains({X, Y})) {
        if (onCancel_)
            onCancel_();
        return;
    }
    if (Button == mbLeft && Enabled()) {
        if (!hotTrack_ && CanFocus() && !Focused())
            SetFocus();
        const int index = ItemAtPos({X, Y}, true);
        if (index >= 0)
            UserSelect(index);
        tracking_ = true;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (tracking_ || hotTrack_) {
        const int index = ItemAtPos({X, Y}, true);
        if (index >= 0) {
            if (hotTrack_) {
                SetItemIndex(index);
            } else {
                UserSelect(index);
            }
        }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    tracking_ = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && onPick_) {
        const int index = ItemAtPos({X, Y}, true);
        if (index >= 0)
            onPick_(index);
    }
}

void TCustomListBox::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int page = std::max(1, VisibleItemCount() - 1);
    switch (Key) {
    case VK_UP: UserSelect(itemIndex_ < 0 ? 0 : itemIndex_ - 1); break;
    case VK_DOWN: UserSelect(itemIndex_ + 1); break;
    case VK_HOME: UserSelect(0); break;
    case VK_END: UserSelect(Count() - 1); break;
    case VK_PRIOR: UserSelect(std::max(0, itemIndex_ - page)); break;
    case VK_NEXT: UserSelect(itemIndex_ + page); break;
    default: return;
    }
    Key = 0;
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    SetTopIndex(topIndex_ - 3 * WheelDelta / 120);
    return true;
}

void TCustomListBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_CHAR: {
        // Incremental selection by the first letter, after the current item.
        const char16_t ch = static_cast<char16_t>(Message.WParam);
        TCustomControl::WndProc(Message);
        if (ch < 32 || Message.WParam == 0)
            return;
        const String key(1, ch);
        for (int k = 1; k <= Count(); ++k) {
            const int i = (std::max(itemIndex_, -1) + k) % Count();
            const String& s = items_->At(i);
            if (!s.empty() && CompareText(StringView(s).substr(0, 1), key) == 0) {
                UserSelect(i);
                break;
            }
        }
        return;
    }
    case WM_VSCROLL: {
        const int code = LoWord(Message.WParam);
        const int page = std::max(1, VisibleItemCount() - 1);
        switch (code) {
        case SB_LINEUP: SetTopIndex(topIndex_ - 1); break;
        case SB_LINEDOWN: SetTopIndex(topIndex_ + 1); break;
        case SB_PAGEUP: SetTopIndex(topIndex_ - page); break;
        case SB_PAGEDOWN: SetTopIndex(topIndex_ + page); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopIndex(HiWord(Message.WParam)); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(Count()); break;
        default: break;
        }
        Message.Result = 0;
        return;
    }
    case LB_GETCOUNT: Message.Result = Count(); return;
    case LB_GETCURSEL: Message.Result = itemIndex_; return;
    case LB_SETCURSEL: SetItemIndex(static_cast<int>(Message.WParam)); Message.Result = itemIndex_; return;
    case LB_GETTOPINDEX: Message.Result = topIndex_; return;
    case LB_SETTOPINDEX: SetTopIndex(static_cast<int>(Message.WParam)); return;
    case LB_GETITEMHEIGHT: Message.Result = ItemHeight(); return;
    case LB_SETITEMHEIGHT: SetItemHeight(static_cast<int>(Message.LParam)); return;
    case LB_RESETCONTENT: Clear(); return;
    case LB_GETTEXTLEN: {
        const int i = static_cast<int>(Message.WParam);
        Message.Result = i >= 0 && i < Count() ? static_cast<LRESULT>(items_->At(i).size()) : LB_ERR;
        return;
    }
    case LB_ITEMFROMPOINT: {
        const int i = ItemAtPos(PointFromLParam(Message.LParam), false);
        Message.Result = MakeLParam(std::max(0, std::min(i, Count() - 1)), i < 0 || i >= Count() ? 1 : 0);
        return;
    }
    case LB_GETITEMRECT: {
        const int i = static_cast<int>(Message.WParam);
        if (i < 0 || i >= Count() || Message.LParam == 0) {
            Message.Result = LB_ERR;
            return;
        }
        *reinterpret_cast<TRect*>(Message.LParam) = ItemRect(i);
        Message.Result = 1;
        return;
    }
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        if (Message.Msg == CM_FONTCHANGED) {
            fontItemHeight_ = 0;
            ItemsChanged();
        }
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
