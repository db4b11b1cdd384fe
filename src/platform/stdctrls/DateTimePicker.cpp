#include "plat/DateTimePicker.h"

#include <algorithm>
#include <cmath>

#include "plat/Graphics.h"
#include "plat/Messages.h"

namespace plat {

namespace {

bool IsFormatLetter(char16_t c)
{
    switch (c) {
    case u'd': case u'D': case u'm': case u'M': case u'y': case u'Y': case u'h': case u'H':
    case u'n': case u'N': case u's': case u'S':
        return true;
    default:
        return false;
    }
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

} // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 186, 21);
    value_ = plat::Now();
    Parse();
}

String TDateTimePicker::EffectiveFormat() const
{
    if (!format_.empty())
        return format_;
    return kind_ == dtkTime ? FormatSettings.LongTimeFormat : FormatSettings.ShortDateFormat;
}

// Splits the format into runs of one format letter (fields and names) and literal text;
// quoted text is literal.
void TDateTimePicker::Parse()
{
    pieces_.clear();
    fields_.clear();
    const String f = EffectiveFormat();
    bool afterHour = false;
    size_t i = 0;
    while (i < f.size()) {
        const char16_t c = f[i];
        if (c == u'"' || c == u'\'') {
            size_t j = f.find(c, i + 1);
            if (j == String::npos)
                j = f.size();
            pieces_.push_back({f.substr(i, std::min(j + 1, f.size()) - i), false, fkDay, 0});
            i = std::min(j + 1, f.size());
            continue;
        }
        if (!IsFormatLetter(c)) {
            size_t j = i;
            while (j < f.size() && !IsFormatLetter(f[j]) && f[j] != u'"' && f[j] != u'\'')
                ++j;
            // Literal characters are quoted so that FormatDateTime shows them unchanged
            // (the layer's "/" and ":" stand for the locale's separators there too).
            const String lit = f.substr(i, j - i);
            String quoted;
            for (char16_t ch : lit) {
                if (ch == u'/' )
                    quoted += FormatSettings.DateSeparator;
                else if (ch == u':')
                    quoted += FormatSettings.TimeSeparator;
                else
                    quoted += ch;
            }
            pieces_.push_back({u"\"" + quoted + u"\"", false, fkDay, 0});
            i = j;
            continue;
        }
        size_t j = i;
        while (j < f.size() && Lower(f[j]) == Lower(c))
            ++j;
        const int n = static_cast<int>(j - i);
        String run = f.substr(i, j - i);
        for (char16_t& ch : run)
            ch = Lower(ch);
        Piece p{run, true, fkDay, 2};
        switch (Lower(c)) {
        case u'd':
            if (n >= 3)
                p.field = false;  // a day name follows the date
            p.kind = fkDay;
            break;
        case u'm':
            if (afterHour && n <= 2) {
                p.kind = fkMinute;
                p.format = n == 1 ? u"n" : u"nn";
            } else {
                p.kind = fkMonth;
            }
            break;
        case u'y':
            p.kind = fkYear;
            p.digits = n >= 3 ? 4 : 2;
            p.format = n >= 3 ? u"yyyy" : u"yy";
            break;
        case u'h': p.kind = fkHour; break;
        case u'n': p.kind = fkMinute; break;
        case u's': p.kind = fkSecond; break;
        default: break;
        }
        afterHour = Lower(c) == u'h';
        if (p.field)
            fields_.push_back(static_cast<int>(pieces_.size()));
        pieces_.push_back(p);
        i = j;
    }
    field_ = std::clamp(field_, 0, std::max(0, FieldCount() - 1));
    typed_.clear();
}

String TDateTimePicker::GetText() const
{
    String out;
    for (const Piece& p : pieces_)
        out += FormatDateTime(p.format, value_);
    return out;
}

const TDateTimePicker::Piece* TDateTimePicker::FieldPiece(int Index) const
{
    if (Index < 0 || Index >= FieldCount())
        return nullptr;
    return &pieces_[static_cast<size_t>(fields_[static_cast<size_t>(Index)])];
}

TDateTime TDateTimePicker::Bounded(TDateTime Value) const
{
    if (minDate_ != 0 && Value < minDate_)
        Value = minDate_;
    if (maxDate_ != 0 && Value > maxDate_)
        Value = maxDate_;
    return Value;
}

void TDateTimePicker::SetDateTime(TDateTime Value)
{
    Value = Bounded(Value);
    if (Value == value_)
        return;
    value_ = Value;
    Invalidate();
    Change();
}

TDateTime TDateTimePicker::Date() const { return DateOf(value_); }

void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(ComposeDateTime(Value, TimeOf(value_))); }

TDateTime TDateTimePicker::Time() const { return TimeOf(value_); }

void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(ComposeDateTime(value_, TimeOf(Value))); }

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    if (kind_ == Value)
        return;
    kind_ = Value;
    Parse();
    Invalidate();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value)
{
    dateMode_ = Value;
    Invalidate();
}

void TDateTimePicker::SetFormat(const String& Value)
{
    format_ = Value;
    Parse();
    Invalidate();
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    showCheckbox_ = Value;
    Invalidate();
}

void TDateTimePicker::SetChecked(bool Value)
{
    if (checked_ == Value)
        return;
    checked_ = Value;
    Invalidate();
    Change();
}

void TDateTimePicker::SetMinDate(TDateTime Value)
{
    minDate_ = Value;
    if (minDate_ != 0 && maxDate_ != 0 && maxDate_ < minDate_)
        maxDate_ = minDate_;
    SetDateTime(value_);
}

void TDateTimePicker::SetMaxDate(TDateTime Value)
{
    maxDate_ = Value;
    if (minDate_ != 0 && maxDate_ != 0 && minDate_ > maxDate_)
        minDate_ = maxDate_;
    SetDateTime(value_);
}

void TDateTimePicker::SetCurrentField(int Value)
{
    field_ = std::clamp(Value, 0, std::max(0, FieldCount() - 1));
    typed_.clear();
    Invalidate();
}

void TDateTimePicker::Change()
{
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TDateTimePicker::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

TCalendarPopup* TDateTimePicker::Calendar()
{
    if (!calendar_) {
        calendar_ = new TCalendarPopup(this);
        calendar_->OnCloseUp = [this](TObject*, bool) { CloseUp(); };
        calendar_->OnPick = [this](TObject*, TDateTime Day) {
            // The day picked keeps the time of day shown.
            typed_.clear();
            SetValueByUser(ComposeDateTime(Day, TimeOf(value_)));
        };
    }
    return calendar_;
}

bool TDateTimePicker::DroppedDown() const
{
    return calendar_ && calendar_->IsOpen();
}

void TDateTimePicker::SetDroppedDown(bool Value)
{
    if (Value == DroppedDown())
        return;
    if (!Value) {
        calendar_->CloseUp(false);
        return;
    }
    DropDown();
    if (kind_ != dtkDate || !Enabled())
        return;
    TCalendarPopup* c = Calendar();
    c->SetFont(Font());
    c->SetDateBounds(minDate_, maxDate_);
    c->SetDate(value_);
    if (!c->Open(TCalendarPopup::PopupWidth(), TCalendarPopup::PopupHeight()))
        CloseUp();
}

int TDateTimePicker::FieldValue(FieldKind Kind) const
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(value_, y, mo, d);
    DecodeTime(value_, h, mi, s, ms);
    switch (Kind) {
    case fkDay: return d;
    case fkMonth: return mo;
    case fkYear: return y;
    case fkHour: return h;
    case fkMinute: return mi;
    case fkSecond: return s;
    }
    return 0;
}

void TDateTimePicker::SetFieldValue(FieldKind Kind, int Value)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    DecodeDate(value_, y, mo, d);
    DecodeTime(value_, h, mi, s, ms);
    switch (Kind) {
    case fkDay: d = Value; break;
    case fkMonth: mo = Value; break;
    case fkYear: y = Value; break;
    case fkHour: h = Value; break;
    case fkMinute: mi = Value; break;
    case fkSecond: s = Value; break;
    }
    y = std::clamp(y, 1, 9999);
    mo = std::clamp(mo, 1, 12);
    // A day past the month's end (31 in a 30-day month, 29 February) takes its last day.
    d = std::clamp(d, 1, DaysInAMonth(y, mo));
    h = std::clamp(h, 0, 23);
    mi = std::clamp(mi, 0, 59);
    s = std::clamp(s, 0, 59);
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, s, 0, time))
        return;
    SetValueByUser(ComposeDateTime(date, time));
}

void TDateTimePicker::SetValueByUser(TDateTime Value)
{
    if (showCheckbox_ && !checked_) {
        checked_ = true;
        Invalidate();
    }
    SetDateTime(Value);
}

void TDateTimePicker::StepField(int Delta)
{
    const Piece* p = FieldPiece(field_);
    if (!p)
        return;
    typed_.clear();
    const int v = FieldValue(p->kind);
    int lo = 0, hi = 0;
    switch (p->kind) {
    case fkDay: {
        int y = 0, mo = 0, d = 0;
        DecodeDate(value_, y, mo, d);
        lo = 1;
        hi = DaysInAMonth(y, mo);
        break;
    }
    case fkMonth: lo = 1; hi = 12; break;
    case fkYear: SetFieldValue(fkYear, std::clamp(v + Delta, 1, 9999)); return;
    case fkHour: lo = 0; hi = 23; break;
    case fkMinute: case fkSecond: lo = 0; hi = 59; break;
    }
    const int span = hi - lo + 1;
    SetFieldValue(p->kind, lo + ((v - lo + Delta) % span + span) % span);
}

void TDateTimePicker::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (DroppedDown()) {
        // The open calendar has the keys; F4 and Alt+Up/Down close it.
        if (Key == VK_F4 || ((Shift & ssAlt) && (Key == VK_UP || Key == VK_DOWN))) {
            SetDroppedDown(false);
            Key = 0;
        } else if (calendar_->HandleKey(Key, Shift)) {
            Key = 0;
        }
        return;
    }
    switch (Key) {
    case VK_LEFT:
        SetCurrentField(field_ - 1);
        Key = 0;
        return;
    case VK_RIGHT:
        SetCurrentField(field_ + 1);
        Key = 0;
        return;
    case VK_UP:
    case VK_DOWN:
        if (Key == VK_DOWN && (Shift & ssAlt)) {
            SetDroppedDown(true);
        } else {
            StepField(Key == VK_UP ? 1 : -1);
        }
        Key = 0;
        return;
    case VK_F4:
        SetDroppedDown(true);
        Key = 0;
        return;
    case VK_HOME:
    case VK_END:
        if (const Piece* p = FieldPiece(field_)) {
            typed_.clear();
            const bool home = Key == VK_HOME;
            int hi = 59;
            switch (p->kind) {
            case fkDay: {
                int y = 0, mo = 0, d = 0;
                DecodeDate(value_, y, mo, d);
                SetFieldValue(fkDay, home ? 1 : DaysInAMonth(y, mo));
                break;
            }
            case fkMonth: SetFieldValue(fkMonth, home ? 1 : 12); break;
            case fkYear: SetFieldValue(fkYear, home ? 1 : 9999); break;
            case fkHour: hi = 23; [[fallthrough]];
            case fkMinute: case fkSecond: SetFieldValue(p->kind, home ? 0 : hi); break;
            }
        }
        Key = 0;
        return;
    default:
        break;
    }
}

bool TDateTimePicker::FieldTyped() const
{
    const Piece* p = FieldPiece(field_);
    if (!p || typed_.empty())
        return false;
    const int width = p->kind == fkYear ? p->digits : 2;
    if (static_cast<int>(typed_.size()) >= width)
        return true;
    int v = 0;
    for (char16_t c : typed_)
        v = v * 10 + (c - u'0');
    int hi = 59;
    switch (p->kind) {
    case fkDay: hi = 31; break;
    case fkMonth: hi = 12; break;
    case fkYear: return false;
    case fkHour: hi = 23; break;
    case fkMinute: case fkSecond: break;
    }
    return v * 10 > hi;
}

void TDateTimePicker::KeyPress(char16_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == u' ' && showCheckbox_) {
        SetChecked(!checked_);
        Key = 0;
        return;
    }
    if (Key < u'0' || Key > u'9')
        return;
    const Piece* p = FieldPiece(field_);
    if (!p)
        return;
    const int width = p->kind == fkYear ? p->digits : 2;
    if (static_cast<int>(typed_.size()) >= width)
        typed_.clear();
    typed_ += Key;
    int v = 0;
    for (char16_t c : typed_)
        v = v * 10 + (c - u'0');
    if (p->kind == fkYear && p->digits == 2) {
        // Two-digit years lie in the century of the current value.
        v = FieldValue(fkYear) / 100 * 100 + v;
    }
    const String keep = typed_;
    SetFieldValue(p->kind, v);
    typed_ = keep;
    Key = 0;
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused())
        SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    const int w = ClientWidth();
    if (X >= w - ButtonWidth()) {
        if (dateMode_ == dmUpDown && kind_ == dtkDate)
            StepField(Y < ClientHeight() / 2 ? 1 : -1);
        else if (kind_ == dtkTime)
            StepField(Y < ClientHeight() / 2 ? 1 : -1);
        else
            SetDroppedDown(!DroppedDown());
        return;
    }
    int x = 2;
    if (showCheckbox_) {
        if (X < 18) {
            SetChecked(!checked_);
            return;
        }
        x = 18;
    }
    // The field under the pointer becomes current.
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    int index = -1;
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const int pw = c->TextWidth(FormatDateTime(pieces_[i].format, value_));
        if (pieces_[i].field) {
            ++index;
            if (X < x + pw) {
                SetCurrentField(index);
                return;
            }
        }
        x += pw;
    }
}

void TDateTimePicker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    // The press that opened the calendar ends here; the calendar keeps the mouse so that the
    // next press outside it closes it.
    if (DroppedDown() && GetCapture() != calendar_->Handle())
        SetCapture(calendar_->Handle());
}

void TDateTimePicker::Paint()
{
    TCanvas* c = Canvas();
    const TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Font()->Assign(*Font());
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    int x = 2;
    const int th = c->TextHeight(u"0");
    const int y = std::max(0, (r.Height() - th) / 2);
    if (showCheckbox_) {
        const TRect box(2, (r.Height() - 13) / 2, 15, (r.Height() - 13) / 2 + 13);
        DrawFrameControl(c, box, DFC_BUTTON, DFCS_BUTTONCHECK | (checked_ ? DFCS_CHECKED : 0));
        x = 18;
    }
    c->Brush()->SetStyle(bsClear);
    int index = -1;
    for (const Piece& p : pieces_) {
        const String s = FormatDateTime(p.format, value_);
        const int w = c->TextWidth(s);
        if (p.field)
            ++index;
        if (p.field && index == field_ && Focused()) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clHighlight);
            c->FillRect(TRect(x, y, x + w, y + th));
            const TColor keep = c->Font()->Color();
            c->Font()->SetColor(clHighlightText);
            c->TextOut(x, y, s);
            c->Font()->SetColor(keep);
            c->Brush()->SetStyle(bsClear);
        } else {
            c->TextOut(x, y, s);
        }
        x += w;
    }
    const TRect button(r.Right - ButtonWidth(), r.Top, r.Right, r.Bottom);
    if (dateMode_ == dmUpDown || kind_ == dtkTime) {
        const int mid = (button.Top + button.Bottom) / 2;
        DrawFrameControl(c, TRect(button.Left, button.Top, button.Right, mid), DFC_SCROLL, DFCS_SCROLLUP);
        DrawFrameControl(c, TRect(button.Left, mid, button.Right, button.Bottom), DFC_SCROLL, DFCS_SCROLLDOWN);
    } else {
        DrawFrameControl(c, button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    }
}

void TDateTimePicker::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_KILLFOCUS:
        // The calendar belongs to the focused picker.
        SetDroppedDown(false);
        typed_.clear();
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    case WM_SETFOCUS:
        typed_.clear();
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
