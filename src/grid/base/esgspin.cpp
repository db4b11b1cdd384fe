#include "esgspin.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Timers.h"

namespace grid {

using namespace plat;

namespace {

// Edit-control style bits the layer keeps as plain window style.
constexpr std::uint32_t kEsCenter = 0x1, kEsRight = 0x2, kEsMultiline = 0x4;

std::function<void()>& BeepHandler()
{
    static std::function<void()> h;
    return h;
}

String Trim(const String& s)
{
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= u' ') ++b;
    while (e > b && s[e - 1] <= u' ') --e;
    return s.substr(b, e - b);
}

// Splits on a separator into numbers; false when a part is not a plain number.
bool SplitNumbers(const String& s, char16_t sep, std::vector<int>& out)
{
    out.clear();
    String part;
    auto flush = [&]() {
        int v = 0;
        if (part.empty() || !TryStrToInt(part, v) || v < 0) return false;
        out.push_back(v);
        part.clear();
        return true;
    };
    for (char16_t c : s) {
        if (c == sep) {
            if (!flush()) return false;
        } else {
            part += c;
        }
    }
    return flush();
}

// Without limits a step must not wrap around the integer range.
int SaturatedStep(int Value, long long Amount)
{
    long long v = static_cast<long long>(Value) + Amount;
    return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void SetBeepHandler(std::function<void()> Handler) { BeepHandler() = std::move(Handler); }
void SystemBeep()
{
    if (BeepHandler()) BeepHandler()();
}

bool TryTextToTime(const String& Text, TDateTime& Value)
{
    std::vector<int> n;
    if (!SplitNumbers(Trim(Text), FormatSettings.TimeSeparator, n) || n.size() > 3) return false;
    while (n.size() < 3) n.push_back(0);
    return TryEncodeTime(n[0], n[1], n[2], 0, Value);
}

bool TryTextToDate(const String& Text, TDateTime& Value)
{
    std::vector<int> n;
    if (!SplitNumbers(Trim(Text), FormatSettings.DateSeparator, n) || n.size() != 3) return false;
    // The order of day, month and year follows the short date format.
    String order;
    for (char16_t c : FormatSettings.ShortDateFormat) {
        char16_t u = (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
        if ((u == u'D' || u == u'M' || u == u'Y') && order.find(u) == String::npos) order += u;
    }
    if (order.size() != 3) order = u"DMY";
    int d = 0, m = 0, y = 0;
    for (int i = 0; i < 3; ++i) (order[i] == u'D' ? d : order[i] == u'M' ? m : y) = n[i];
    if (y < 100) y += 2000;
    return TryEncodeDate(y, m, d, Value);
}

TDateTime IncMonthClamped(TDateTime Value, int Months)
{
    int y, m, d;
    DecodeDate(Value, y, m, d);
    int total = y * 12 + (m - 1) + Months;
    y = total / 12;
    m = total % 12 + 1;
    if (total < 12 || y > 9999) return Value;  // no such year: stay
    d = std::min(d, DaysInAMonth(y, m));
    double frac = Value - std::floor(Value);
    return EncodeDate(y, m, d) + frac;
}

// ---- TExtSpeedButtonBase ----------------------------------------------------------------

TExtSpeedButtonBase::TExtSpeedButtonBase(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetControlStyle(ControlStyle() & ~csClickEvents);
}

TExtSpeedButtonBase::~TExtSpeedButtonBase() = default;

void TExtSpeedButtonBase::SetGlyph(const TBitmap* Value)
{
    if (!Value || Value->Empty()) {
        glyph_.reset();
    } else {
        glyph_ = std::make_unique<TBitmap>();
        glyph_->Assign(*Value);
    }
    Invalidate();
}

void TExtSpeedButtonBase::SetNumGlyphs(int Value)
{
    numGlyphs_ = std::max(Value, 1);
    Invalidate();
}

void TExtSpeedButtonBase::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
        hot_ = Message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
    TGraphicControl::WndProc(Message);
}

// ---- TExtTimerSpeedButton ---------------------------------------------------------------

TExtTimerSpeedButton::TExtTimerSpeedButton(TComponent* AOwner) : TExtSpeedButtonBase(AOwner) {}

TExtTimerSpeedButton::~TExtTimerSpeedButton() = default;

void TExtTimerSpeedButton::SetTimeBtnState(TTimeBtnState Value)
{
    timeBtnState_ = Value;
    Invalidate();
}

void TExtTimerSpeedButton::SetButtonDirection(TButtonDirection Value)
{
    direction_ = Value;
    Invalidate();
}

const TEsgSpinButton* TExtTimerSpeedButton::OwnerButton() const
{
    return dynamic_cast<const TEsgSpinButton*>(Parent());
}

void TExtTimerSpeedButton::RepaintParent()
{
    if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::Click()
{
    if (OnClick) OnClick(this);
}

void TExtTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtSpeedButtonBase::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    down_ = true;
    if (auto* sb = dynamic_cast<TEsgSpinButton*>(Parent())) sb->BtnPressed(this);
    if (timeBtnState_ & tbAllowTimer) {
        if (!repeatTimer_) {
            repeatTimer_ = new TTimer(this);
            repeatTimer_->SetEnabled(false);
            repeatTimer_->OnTimer = [this](TObject*) { TimerExpired(); };
        }
        repeatTimer_->SetInterval(400);
        repeatTimer_->SetEnabled(true);
    }
    RepaintParent();
}

void TExtTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtSpeedButtonBase::MouseUp(Button, Shift, X, Y);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    if (Button != mbLeft || !down_) return;
    down_ = false;
    RepaintParent();
    if (X >= 0 && Y >= 0 && X < Width() && Y < Height()) Click();
}

void TExtTimerSpeedButton::TimerExpired()
{
    repeatTimer_->SetInterval(100);
    if (down_ && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            repeatTimer_->SetEnabled(false);
            throw;
        }
    }
}

void TExtTimerSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const TEsgSpinButton* owner = OwnerButton();
    if (owner && owner->ButtonColor != clNotSet) {
        TColor col = down_ ? owner->ButtonColorDown : hot_ ? owner->ButtonColorHot : owner->ButtonColor;
        if (col == clNotSet) col = owner->ButtonColor;
        c->Brush()->SetColor(col);
        c->Pen()->SetColor(col);
        c->Rectangle(r);
        c->Brush()->SetColor(clBlack);
        c->Pen()->SetColor(clBlack);
        int x = r.Left, y = r.Top;
        switch (direction_) {
        case bdLeft: c->Polygon({TPoint{x + 5, y + 5}, TPoint{x + 3, y + 7}, TPoint{x + 5, y + 9}}); break;
        case bdRight: c->Polygon({TPoint{x + 3, y + 5}, TPoint{x + 5, y + 7}, TPoint{x + 3, y + 9}}); break;
        case bdUp: c->Polygon({TPoint{x + 4, y + 4}, TPoint{x + 8, y + 4}, TPoint{x + 6, y + 2}}); break;
        case bdDown: c->Polygon({TPoint{x + 4, y + 2}, TPoint{x + 8, y + 2}, TPoint{x + 6, y + 4}}); break;
        }
        return;
    }
    // The layer draws no themes: the themed look falls back to the classic one.
    if (direction_ == bdLeft || direction_ == bdRight) {
        unsigned state = direction_ == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (down_) state |= DFCS_PUSHED;
        if (flat_) state |= DFCS_FLAT;
        if (!Enabled()) state |= DFCS_INACTIVE;
        DrawFrameControl(c, r, DFC_SCROLL, state);
    } else {
        // A plain speed button showing its glyph.
        if (flat_) {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(r);
            if (down_ || hot_) {
                TRect e = r;
                DrawEdge(c, e, down_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            }
        } else {
            DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | (down_ ? DFCS_PUSHED : 0u));
        }
        if (glyph_) {
            int n = std::max(numGlyphs_, 1);
            int gw = glyph_->Width() / n, gh = glyph_->Height();
            // With several glyphs the second one is the disabled look.
            int index = (!Enabled() && n > 1) ? 1 : 0;
            int shift = down_ ? 1 : 0;
            int x = r.Left + (r.Width() - gw) / 2 + shift, y = r.Top + (r.Height() - gh) / 2 + shift;
            TBitmap part;
            part.SetSize(gw, gh);
            part.Canvas()->CopyRect(TRect{0, 0, gw, gh}, glyph_->Canvas(), TRect{index * gw, 0, index * gw + gw, gh});
            part.SetTransparentColor(glyph_->TransparentColor());
            part.SetTransparent(true);
            c->Draw(x, y, &part);
        }
    }
    if (timeBtnState_ & tbFocusRect) {
        TRect f = r;
        f.Left += 3; f.Top += 3; f.Right -= 3; f.Bottom -= 3;
        if (f.Right > f.Left && f.Bottom > f.Top) c->DrawFocusRect(f);
    }
}

std::unique_ptr<TBitmap> BuiltInSpinGlyph(bool Up)
{
    // A 7 by 4 arrow on a key colour.
    auto b = std::make_unique<TBitmap>();
    b->SetSize(7, 4);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(TRect{0, 0, 7, 4});
    for (int row = 0; row < 4; ++row) {
        int y = Up ? row : 3 - row;
        for (int x = 3 - row; x <= 3 + row; ++x) b->Canvas()->SetPixels(x, y, clBlack);
    }
    b->SetTransparentColor(clFuchsia);
    b->SetTransparent(true);
    return b;
}

// ---- TEsgSpinButton ---------------------------------------------------------------------

void TEsgSpinButton::SetUpGlyph(const TBitmap* Value)
{
    if (Value && !Value->Empty()) {
        up_->SetGlyph(Value);
    } else {
        up_->SetGlyph(BuiltInSpinGlyph(true).get());
        up_->SetNumGlyphs(1);
    }
}

void TEsgSpinButton::SetDownGlyph(const TBitmap* Value)
{
    if (Value && !Value->Empty()) {
        down_->SetGlyph(Value);
    } else {
        down_->SetGlyph(BuiltInSpinGlyph(false).get());
        down_->SetNumGlyphs(1);
    }
}

TEsgSpinButton::TEsgSpinButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque);
    up_ = new TExtTimerSpeedButton(this);
    up_->SetTimeBtnState(tbAllowTimer);
    up_->SetButtonDirection(bdUp);
    up_->SetParent(this);
    up_->OnClick = [this](TObject*) { BtnClicked(up_); };
    down_ = new TExtTimerSpeedButton(this);
    down_->SetTimeBtnState(tbAllowTimer);
    down_->SetButtonDirection(bdDown);
    down_->SetParent(this);
    down_->OnClick = [this](TObject*) { BtnClicked(down_); };
    focused_ = up_;
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    SetBounds(0, 0, 15, 25);
}

void TEsgSpinButton::AdjustSize(int& W, int H)
{
    if (!up_ || !down_ || (ComponentState() & csLoading)) return;
    if (direction_ == spVertical) {
        W = std::max(W, 15);
        int half = H / 2;
        up_->SetBounds(0, 0, W, half);
        down_->SetBounds(0, half - 1, W, H - half + 1);
    } else {
        W = std::max(W, 20);
        int half = W / 2;
        down_->SetBounds(0, 0, half, H);
        up_->SetBounds(half + 1, 0, half, H);
    }
}

void TEsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AdjustSize(AWidth, AHeight);
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TEsgSpinButton::Loaded()
{
    TCustomControl::Loaded();
    int w = Width();
    AdjustSize(w, Height());
    if (w != Width()) SetWidth(w);
}

void TEsgSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == direction_) return;
    direction_ = Value;
    RecreateWnd();
    if (Value == spHorizontal) {
        up_->SetButtonDirection(bdRight);
        down_->SetButtonDirection(bdLeft);
        SetWidth(20);
    } else {
        up_->SetButtonDirection(bdUp);
        down_->SetButtonDirection(bdDown);
        SetWidth(15);
    }
    int w = Width();
    AdjustSize(w, Height());
}

void TEsgSpinButton::SetIsWinXP(bool Value)
{
    isWinXP_ = Value;
    up_->SetIsWinXP(Value);
    down_->SetIsWinXP(Value);
}

void TEsgSpinButton::SetFocusControl(TWinControl* Value)
{
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TEsgSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TEsgSpinButton::SetFocusBtn(TExtTimerSpeedButton* Btn)
{
    if (!TabStop() || !CanFocus() || Btn == focused_) return;
    focused_->SetTimeBtnState(focused_->TimeBtnState() & ~tbFocusRect);
    focused_ = Btn;
    if (Focused()) focused_->SetTimeBtnState(focused_->TimeBtnState() | tbFocusRect);
}

void TEsgSpinButton::BtnPressed(TExtTimerSpeedButton* Btn)
{
    SetFocusBtn(Btn);
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && CanFocus() && !Focused() && !focusControl_)
        SetFocus();
}

void TEsgSpinButton::BtnClicked(TExtTimerSpeedButton* Btn)
{
    if (Btn == up_ && OnUpClick) OnUpClick(this);
    if (Btn == down_ && OnDownClick) OnDownClick(this);
}

void TEsgSpinButton::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE: focused_->Click(); break;
    case VK_UP: SetFocusBtn(up_); up_->Click(); break;
    case VK_DOWN: SetFocusBtn(down_); down_->Click(); break;
    default: break;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TEsgSpinButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
        focused_->SetTimeBtnState(focused_->TimeBtnState() | tbFocusRect);
        break;
    case WM_KILLFOCUS:
        focused_->SetTimeBtnState(focused_->TimeBtnState() & ~tbFocusRect);
        break;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

void TEsgSpinButton::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

// ---- TEsgSpinEdit -----------------------------------------------------------------------

TEsgSpinEdit::TEsgSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    SetControlStyle(ControlStyle() & ~csSetCaption);
    button_ = new TEsgSpinButton(this);
    button_->SetBounds(0, 0, 15, 17);
    button_->SetVisible(true);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnUpClick = [this](TObject*) { SpinUp(); };
    button_->OnDownClick = [this](TObject*) { SpinDown(); };
    SetText(u"0");
}

int TEsgSpinEdit::CheckValue(int V) const
{
    if (MinValue == MaxValue) return V;
    return std::clamp(V, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

double TEsgSpinEdit::CheckFloat(double V) const
{
    if (MinFloatValue == MaxFloatValue) return V;
    if (V <= MinFloatValue) return MinFloatValue;
    if (V >= MaxFloatValue) return MaxFloatValue;
    return V;
}

TDateTime TEsgSpinEdit::CheckDate(TDateTime V) const
{
    if (MinDateValue == MaxDateValue) return V;
    if (V < MinDateValue) return MinDateValue;
    if (V > MaxDateValue) return MaxDateValue;
    return V;
}

int TEsgSpinEdit::Value() const
{
    String t = Trim(Text());
    if (t.empty()) return 0;
    int v = 0;
    return TryStrToInt(t, v) ? v : MinValue;
}

void TEsgSpinEdit::SetValue(int V)
{
    SetText(IntToStr(CheckValue(V)));
    if (!editorEnabled_) SelectAll();
}

double TEsgSpinEdit::FloatValue() const
{
    double v = 0;
    return TryStrToFloat(Trim(Text()), v) ? v : MinValue;
}

void TEsgSpinEdit::SetFloatValue(double V)
{
    V = CheckFloat(V);
    if (precision_ > 0)
        SetText(FormatFloat(u"0." + String(static_cast<size_t>(std::min(precision_, 15)), u'0'), V, FormatSettings));
    else
        SetText(FloatToStr(V));
}

TDateTime TEsgSpinEdit::TimeValue() const
{
    TDateTime v = 0;
    return TryTextToTime(Text(), v) ? v : 0;
}

void TEsgSpinEdit::ShowTime(TDateTime V)
{
    int caret = SelStart();
    SetText(ShowSeconds ? TimeToStr(V) : FormatDateTime(u"h:nn", V));
    SetSelStart(caret);
}

void TEsgSpinEdit::SetTimeValue(TDateTime V)
{
    timeValue_ = V;
    if (ComponentState() & csLoading) return;
    ShowTime(CheckDate(V));
}

TDateTime TEsgSpinEdit::DateValue() const
{
    String t = Text();
    if (t.empty() || t == u"0") return Now();
    TDateTime v = 0;
    return TryTextToDate(t, v) ? v : MinDateValue;
}

void TEsgSpinEdit::ShowDate(TDateTime V)
{
    int caret = SelStart();
    SetText(DateToStr(V));
    SetSelStart(caret);
}

void TEsgSpinEdit::SetDateValue(TDateTime V)
{
    dateValue_ = V;
    if (ComponentState() & csLoading) return;
    ShowDate(CheckDate(V));
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType V)
{
    spinType_ = V;
    switch (V) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
    }
}

void TEsgSpinEdit::SetPrecision(int V)
{
    precision_ = V;
    if (spinType_ == sptFloat) SetFloatValue(FloatValue());
}

void TEsgSpinEdit::SetEditAlign(TEditAlign V)
{
    editAlign_ = V;
    RecreateWnd();
}

void TEsgSpinEdit::SetDirection(TSpinDirection V)
{
    direction_ = V;
    button_->SetDirection(V);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetSpinFlat(bool V)
{
    spinFlat_ = V;
    button_->UpButton()->SetFlat(V);
    button_->DownButton()->SetFlat(V);
}

void TEsgSpinEdit::SetSpinTransparent(bool V)
{
    spinTransparent_ = V;
    button_->UpButton()->SetTransparent(V);
    button_->DownButton()->SetTransparent(V);
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TEsgSpinEdit::SetIsWinXP(bool V)
{
    isWinXP_ = V;
    button_->SetIsWinXP(V);
}

void TEsgSpinEdit::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    Params.Style |= kEsMultiline | WS_CLIPCHILDREN;
    if (editAlign_ == eaRight) Params.Style |= kEsRight;
    if (editAlign_ == eaCenter) Params.Style |= kEsCenter;
}

int TEsgSpinEdit::MinHeight()
{
    TTextMetric tm{};
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(1, 1);
    bmp->Canvas()->SetFont(Font());
    bmp->Canvas()->GetTextMetrics(tm);
    TTextMetric sys{};
    TFont sysFont;
    bmp->Canvas()->SetFont(&sysFont);
    bmp->Canvas()->GetTextMetrics(sys);
    int h = tm.tmHeight + std::min(tm.tmHeight, sys.tmHeight) / 4 + 2;
    if (BorderStyle() == bsSingle) h += GetSystemMetrics(SM_CYBORDER) * 4;
    return h;
}

void TEsgSpinEdit::SetEditRect()
{
    int m = BorderStyle() == bsNone ? 3 : 0;
    TRect r{m, m, ClientWidth() - button_->Width() - m - 2, ClientHeight() + 1};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TEsgSpinEdit::SetBorderStyle(TBorderStyle Value)
{
    TCustomEdit::SetBorderStyle(Value);
    Resize();
}

void TEsgSpinEdit::Resize()
{
    TCustomEdit::Resize();
    int mh = MinHeight();
    if (Height() < mh) {
        SetHeight(mh);
    } else if (button_) {
        int bw = button_->Width();
        if (Ctl3D()) {
            int n = BorderStyle() == bsNone ? 4 : 0;
            button_->SetBounds(Width() + n - bw - 5, 0, bw, Height() + n - 5);
        } else {
            button_->SetBounds(Width() - bw, 1, bw, Height() - 3);
        }
        SetEditRect();
    }
}

void TEsgSpinEdit::Loaded()
{
    TCustomEdit::Loaded();
    if (spinType_ == sptDate) SetText(DateToStr(dateValue_));
    if (spinType_ == sptTime) SetText(ShowSeconds ? TimeToStr(timeValue_) : FormatDateTime(u"h:nn", timeValue_));
    SetSpinType(spinType_);
}

void TEsgSpinEdit::SpinUp() { StepUp(false); }
void TEsgSpinEdit::SpinDown() { StepDown(false); }

void TEsgSpinEdit::StepDate(int Sign)
{
    String fmt = FormatSettings.ShortDateFormat;
    for (auto& c : fmt)
        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    size_t pm = fmt.find(u'M'), pd = fmt.find(u'D');
    usDates_ = pm != String::npos && pd != String::npos && pm < pd;
    String t = Text();
    size_t s1 = t.find(FormatSettings.DateSeparator);
    size_t s2 = s1 == String::npos ? String::npos : t.find(FormatSettings.DateSeparator, s1 + 1);
    int p1 = s1 == String::npos ? 0 : int(s1) + 1;
    int p2 = s2 == String::npos ? 0 : int(s2) + 1;
    int caret = SelStart();
    TDateTime v = DateValue();
    enum { Day, Month, Year } unit;
    if (caret < p1) unit = usDates_ ? Month : Day;
    else if (caret < p2) unit = usDates_ ? Day : Month;
    else unit = Year;
    switch (unit) {
    case Day: v += Sign; break;
    case Month: v = IncMonthClamped(v, Sign); break;
    case Year: v = IncMonthClamped(v, 12 * Sign); break;  // 29 February falls to the 28th
    }
    SetDateValue(v);
}

void TEsgSpinEdit::StepTime(int Sign)
{
    String t = Text();
    size_t s1 = t.find(FormatSettings.TimeSeparator);
    size_t s2 = s1 == String::npos ? String::npos : t.find(FormatSettings.TimeSeparator, s1 + 1);
    int q1 = s1 == String::npos ? 0 : int(s1) + 1;
    int q2 = s2 == String::npos ? 0 : int(s2) + 1;
    int caret = SelStart();
    double amount;
    if (caret < q1) amount = IncrementHours / 24.0;
    else if (ShowSeconds && q2 > 0 && caret >= q2) amount = IncrementSeconds / 86400.0;
    else amount = IncrementMinutes / 1440.0;
    double v = TimeValue();
    if (Sign > 0) {
        v += amount;
        // Keep it within a day, like stepping down does.
        if (v >= 1) v -= 1;
    } else {
        v = v + 1 - amount;
        if (v >= 1) v -= 1;
    }
    // Round to whole seconds so repeated steps do not drift.
    v = std::round(v * 86400.0) / 86400.0;
    if (v >= 1) v -= 1;
    SetTimeValue(v);
}

void TEsgSpinEdit::StepUp(bool Page)
{
    if (ReadOnly()) {
        SystemBeep();
        return;
    }
    switch (spinType_) {
    case sptNormal: SetValue(SaturatedStep(Value(), Increment)); break;
    case sptFloat: SetFloatValue(FloatValue() + (Page ? IncrementFloatPage : IncrementFloat)); break;
    case sptDate: StepDate(1); break;
    case sptTime: StepTime(1); break;
    }
}

void TEsgSpinEdit::StepDown(bool Page)
{
    if (ReadOnly()) {
        SystemBeep();
        return;
    }
    switch (spinType_) {
    case sptNormal: SetValue(SaturatedStep(Value(), -static_cast<long long>(Increment))); break;
    case sptFloat: SetFloatValue(FloatValue() - (Page ? IncrementFloatPage : IncrementFloat)); break;
    case sptDate: StepDate(-1); break;
    case sptTime: StepTime(-1); break;
    }
}

bool TEsgSpinEdit::IsValidChar(char16_t Key)
{
    const auto& fs = FormatSettings;
    if (Key == u'\b') return editorEnabled_;
    bool ok = Key == fs.DecimalSeparator || Key == fs.ThousandSeparator || Key == fs.TimeSeparator ||
              Key == fs.DateSeparator || (Key >= u'0' && Key <= u'9') || Key == u'-' ||
              (Key < 32 && Key != u'\r');
    auto overlapRule = [&](char16_t sep, TEsgSpinType own) {
        if (Key != sep || spinType_ == own) return;
        bool shared = sep == fs.DecimalSeparator || sep == fs.ThousandSeparator || sep == u'-' || sep == u'+';
        ok = ok && shared && (spinType_ == sptNormal || spinType_ == sptFloat);
    };
    overlapRule(fs.TimeSeparator, sptTime);
    overlapRule(fs.DateSeparator, sptDate);
    String t = Text();
    int caret = SelStart();
    String sel = SelText();
    if (Key == u'-') {
        if (t.find(u'-') == String::npos) ok = ok && caret == 0;
        else ok = ok && sel.find(u'-') != String::npos && caret == 0;
    }
    if (spinType_ == sptNormal) ok = ok && ((Key >= u'0' && Key <= u'9') || Key == u'-');
    if (spinType_ == sptFloat && Key != 27 && Key != u'\r' && Key != u'\b') {
        if (Key == fs.ThousandSeparator && Key != fs.DecimalSeparator) ok = false;
        size_t f = t.find(fs.DecimalSeparator);
        if (Key == fs.DecimalSeparator && f != String::npos && sel.find(fs.DecimalSeparator) == String::npos)
            ok = false;
        if (precision_ > 0 && f != String::npos && caret >= int(f) + 1 && SelLength() == 0 &&
            int(t.size()) >= int(f) + 1 + precision_)
            ok = false;
    }
    if (spinType_ == sptTime && Key == fs.TimeSeparator &&
        std::count(t.begin(), t.end(), fs.TimeSeparator) >= 2)
        ok = false;
    if (ok && !editorEnabled_) ok = Key < 32 && Key != u'\b';
    return ok;
}

void TEsgSpinEdit::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = VK_TAB;
        // Posted into the layer's key pipeline at its start, so the form moves the focus.
        PostMessage(Handle(), CN_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !editorEnabled_) Key = 0;
    TCustomEdit::KeyDown(Key, Shift);
}

void TEsgSpinEdit::KeyPress(char16_t& Key)
{
    if (Key != 0 && !IsValidChar(Key)) {
        Key = 0;
        SystemBeep();
        return;
    }
    TCustomEdit::KeyPress(Key);
}

void TEsgSpinEdit::DoEnter()
{
    if (AutoSelect() && !(editorEnabled_ && (GetKeyState(VK_LBUTTON) & 0x8000))) SelectAll();
    TCustomEdit::DoEnter();
}

void TEsgSpinEdit::DoExit()
{
    switch (spinType_) {
    case sptNormal:
        if (CheckValue(Value()) != Value()) SetValue(Value());
        break;
    case sptFloat:
        if (CheckFloat(FloatValue()) != FloatValue()) SetFloatValue(FloatValue());
        break;
    case sptDate:
        if (CheckDate(DateValue()) != DateValue()) SetDateValue(DateValue());
        break;
    case sptTime:
        if (CheckDate(TimeValue()) != TimeValue()) SetTimeValue(TimeValue());
        break;
    }
    TCustomEdit::DoExit();
}

void TEsgSpinEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        switch (Message.WParam) {
        case VK_PRIOR: StepUp(true); Message.Result = 0; return;
        case VK_NEXT: StepDown(true); Message.Result = 0; return;
        case VK_UP: StepUp(false); Message.Result = 0; return;
        case VK_DOWN: StepDown(false); Message.Result = 0; return;
        default: break;
        }
        break;
    case WM_CHAR:
        // The keypad point (extended key bit) types the system decimal separator.
        if (ExcelStyleDecimalSeparator && Message.WParam == u'.' && (Message.LParam & (1 << 22)))
            Message.WParam = FormatSettings.DecimalSeparator;
        break;
    case WM_PASTE:
    case WM_CUT:
        if (!editorEnabled_ || ReadOnly()) return;
        break;
    default:
        break;
    }
    TCustomEdit::WndProc(Message);
}

} // namespace grid
