#include "plat/DropDownPopup.h"

#include <algorithm>
#include <cmath>

#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace plat {

// ---- TDropDownPopup --------------------------------------------------------------------------

TDropDownPopup::TDropDownPopup(TWinControl* AOwner) : TCustomControl(AOwner), owner_(AOwner)
{
    // The popup holds the mouse for the time it is open, not per press.
    SetControlStyle(ControlStyle() & ~csCaptureMouse);
    SetTabStop(false);
    SetVisible(false);
    SetColor(clWindow);
}

bool TDropDownPopup::Open(int AWidth, int AHeight)
{
    TCustomForm* form = owner_ ? GetParentForm(owner_) : nullptr;
    if (!form)
        return false;
    const TPoint below = form->ScreenToClient(owner_->ClientToScreen({0, owner_->Height()}));
    TPoint at = below;
    if (below.Y + AHeight > form->ClientHeight()) {
        const TPoint above = form->ScreenToClient(owner_->ClientToScreen({0, -AHeight}));
        if (above.Y >= 0)
            at = above;
    }
    if (at.X + AWidth > form->ClientWidth())
        at.X = std::max(0, form->ClientWidth() - AWidth);
    SetParent(form);
    SetBounds(at.X, at.Y, AWidth, AHeight);
    SetVisible(true);
    BringToFront();
    SetCapture(Handle());
    Invalidate();
    return true;
}

void TDropDownPopup::CloseUp(bool Picked)
{
    if (!IsOpen())
        return;
    SetVisible(false);
    if (GetCapture() == Handle())
        ReleaseCapture();
    if (owner_)
        owner_->Invalidate();
    if (OnCloseUp)
        OnCloseUp(this, Picked);
}

bool TDropDownPopup::HandleKey(std::uint16_t Key, TShiftState)
{
    if (Key == VK_ESCAPE) {
        CloseUp(false);
        return true;
    }
    return false;
}

void TDropDownPopup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!ClientRect().Contains({X, Y})) {
        CloseUp(false);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

// ---- TCalendarPopup --------------------------------------------------------------------------

namespace {

TDateTime AddMonths(TDateTime Day, int Months)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(Day, y, m, d);
    int index = y * 12 + (m - 1) + Months;
    index = std::clamp(index, 12, 9999 * 12 + 11);
    y = index / 12;
    m = index % 12 + 1;
    d = std::min(d, DaysInAMonth(y, m));
    return EncodeDate(y, m, d);
}

} // namespace

TCalendarPopup::TCalendarPopup(TWinControl* AOwner) : TDropDownPopup(AOwner)
{
    date_ = DateOf(Now());
}

void TCalendarPopup::SetDate(TDateTime Value)
{
    date_ = DateOf(Value);
    Invalidate();
}

void TCalendarPopup::SetDateBounds(TDateTime MinDate, TDateTime MaxDate)
{
    min_ = MinDate == 0 ? 0 : DateOf(MinDate);
    max_ = MaxDate == 0 ? 0 : DateOf(MaxDate);
    Invalidate();
}

bool TCalendarPopup::Allowed(TDateTime Day) const
{
    return (min_ == 0 || Day >= min_) && (max_ == 0 || Day <= max_) && Day >= EncodeDate(1, 1, 1) &&
           Day <= EncodeDate(9999, 12, 31);
}

TDateTime TCalendarPopup::FirstShownDay() const
{
    int y = 0, m = 0, d = 0;
    DecodeDate(date_, y, m, d);
    const TDateTime first = EncodeDate(y, m, 1);
    // DayOfWeek: 1 = Sunday; Monday begins the week.
    const int back = (DayOfWeek(first) + 5) % 7;
    return first - back;
}

TRect TCalendarPopup::DayRect(TDateTime Day) const
{
    const int index = static_cast<int>(DateOf(Day) - FirstShownDay());
    if (index < 0 || index >= 42)
        return {};
    const int x = 2 + (index % 7) * CellWidth;
    const int y = CaptionHeight + CellHeight + (index / 7) * CellHeight;
    return {x, y, x + CellWidth, y + CellHeight};
}

void TCalendarPopup::MoveTo(TDateTime Day)
{
    if (!Allowed(Day))
        return;
    SetDate(Day);
}

void TCalendarPopup::Pick(TDateTime Day)
{
    if (!Allowed(Day))
        return;
    date_ = DateOf(Day);
    CloseUp(true);
    if (OnPick)
        OnPick(this, date_);
}

bool TCalendarPopup::HandleKey(std::uint16_t Key, TShiftState Shift)
{
    int y = 0, m = 0, d = 0;
    DecodeDate(date_, y, m, d);
    switch (Key) {
    case VK_LEFT: MoveTo(date_ - 1); return true;
    case VK_RIGHT: MoveTo(date_ + 1); return true;
    case VK_UP: MoveTo(date_ - 7); return true;
    case VK_DOWN: MoveTo(date_ + 7); return true;
    case VK_PRIOR: MoveTo(AddMonths(date_, -1)); return true;
    case VK_NEXT: MoveTo(AddMonths(date_, 1)); return true;
    case VK_HOME: MoveTo(EncodeDate(y, m, 1)); return true;
    case VK_END: MoveTo(EncodeDate(y, m, DaysInAMonth(y, m))); return true;
    case VK_RETURN: Pick(date_); return true;
    default: return TDropDownPopup::HandleKey(Key, Shift);
    }
}

void TCalendarPopup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!ClientRect().Contains({X, Y}) || Button != mbLeft) {
        TDropDownPopup::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Y < CaptionHeight) {
        // The arrows at both ends of the caption change the month, keeping the day where it can.
        if (X < CellWidth)
            SetDate(AddMonths(date_, -1));
        else if (X >= ClientWidth() - CellWidth)
            SetDate(AddMonths(date_, 1));
        return;
    }
    const int row = (Y - CaptionHeight - CellHeight) / CellHeight;
    const int col = (X - 2) / CellWidth;
    if (Y < CaptionHeight + CellHeight || row < 0 || row >= 6 || col < 0 || col >= 7)
        return;
    Pick(FirstShownDay() + row * 7 + col);
}

void TCalendarPopup::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWindow);
    c->FillRect(r);
    c->Pen()->SetColor(clWindowFrame);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(r);
    c->Font()->Assign(*Font());
    // Caption: month and year between the two arrows.
    const TRect caption(1, 1, r.Right - 1, CaptionHeight);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(caption);
    DrawFrameControl(c, TRect(2, 2, CellWidth, CaptionHeight - 2), DFC_SCROLL, DFCS_SCROLLLEFT);
    DrawFrameControl(c, TRect(r.Right - CellWidth, 2, r.Right - 2, CaptionHeight - 2), DFC_SCROLL,
                     DFCS_SCROLLRIGHT);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(clBtnText);
    TRect title = caption;
    c->DrawText(FormatDateTime(u"mmmm yyyy", date_), title, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    // Weekday initials, Monday first.
    static const char16_t* const kDays[7] = {u"M", u"T", u"W", u"T", u"F", u"S", u"S"};
    c->Font()->SetColor(clGrayText);
    for (int i = 0; i < 7; ++i) {
        TRect cell(2 + i * CellWidth, CaptionHeight, 2 + (i + 1) * CellWidth, CaptionHeight + CellHeight);
        c->DrawText(kDays[i], cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    int y = 0, m = 0, d = 0;
    DecodeDate(date_, y, m, d);
    const TDateTime first = FirstShownDay();
    for (int i = 0; i < 42; ++i) {
        const TDateTime day = first + i;
        int dy = 0, dm = 0, dd = 0;
        DecodeDate(day, dy, dm, dd);
        TRect cell = DayRect(day);
        if (day == date_) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(cell);
            c->Brush()->SetStyle(bsClear);
            c->Font()->SetColor(clHighlightText);
        } else {
            c->Font()->SetColor(dm == m && Allowed(day) ? clWindowText : clGrayText);
        }
        c->DrawText(IntToStr(dd), cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
}

} // namespace plat
