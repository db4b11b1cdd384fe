#include "plat/CheckLst.h"

#include <algorithm>

#include "plat/Classes.h"
#include "plat/Graphics.h"

namespace plat {

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
    auto listChanged = Items()->OnChange;
    Items()->OnChange = [this, listChanged](TObject* Sender) {
        if (Count() == 0)
            states_.clear();
        else if (static_cast<int>(states_.size()) > Count())
            states_.resize(static_cast<std::size_t>(Count()));
        if (listChanged)
            listChanged(Sender);
    };
}

TCheckBoxState TCheckListBox::State(int Index) const
{
    if (Index < 0 || Index >= Count() || Index >= static_cast<int>(states_.size()))
        return cbUnchecked;
    return states_[static_cast<std::size_t>(Index)];
}

void TCheckListBox::SetState(int Index, TCheckBoxState Value)
{
    if (Index < 0 || Index >= Count())
        return;
    if (static_cast<int>(states_.size()) < Count())
        states_.resize(static_cast<std::size_t>(Count()), cbUnchecked);
    if (states_[static_cast<std::size_t>(Index)] == Value)
        return;
    states_[static_cast<std::size_t>(Index)] = Value;
    Invalidate();
}

void TCheckListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect({Rect.Left, Rect.Top, Rect.Left + CheckWidth, Rect.Bottom});
    const int size = std::min(13, Rect.Height() - 2);
    const int top = Rect.Top + (Rect.Height() - size) / 2;
    const TRect box{Rect.Left + (CheckWidth - size) / 2, top, Rect.Left + (CheckWidth - size) / 2 + size, top + size};
    unsigned st = DFCS_BUTTONCHECK;
    const TCheckBoxState mark = this->State(Index);
    if (mark != cbUnchecked)
        st |= DFCS_CHECKED;
    if (mark == cbGrayed || (State & odDisabled))
        st |= DFCS_INACTIVE;
    DrawFrameControl(c, box, DFC_BUTTON, st);
    TCustomListBox::DrawItem(Index, {Rect.Left + CheckWidth, Rect.Top, Rect.Right, Rect.Bottom}, State);
}

void TCheckListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || X < 0 || X >= CheckWidth)
        return;
    const int index = ItemAtPos({X, Y}, true);
    if (index >= 0)
        ToggleByUser(index);
}

void TCheckListBox::KeyPress(char16_t& Key)
{
    TCustomListBox::KeyPress(Key);
    if (Key == u' ' && ItemIndex() >= 0) {
        ToggleByUser(ItemIndex());
        Key = 0;
    }
}

void TCheckListBox::ToggleByUser(int Index)
{
    const TCheckBoxState now = State(Index);
    TCheckBoxState next = cbUnchecked;
    if (now == cbUnchecked)
        next = cbChecked;
    else if (now == cbChecked && AllowGrayed)
        next = cbGrayed;
    SetState(Index, next);
    ClickCheck();
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

} // namespace plat
