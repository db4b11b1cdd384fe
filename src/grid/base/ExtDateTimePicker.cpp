#include "ExtDateTimePicker.h"

#include <algorithm>
#include <cmath>

#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"

namespace grid {

namespace {

plat::UINT ShiftFocusMessage() {
    static const plat::UINT id = plat::RegisterWindowMessage(u"DTPShiftFocus");
    return id;
}

// Hours, minutes and seconds of a value, milliseconds dropped.
plat::TDateTime WholeSeconds(plat::TDateTime Value) {
    int h = 0, m = 0, s = 0, ms = 0;
    plat::DecodeTime(Value, h, m, s, ms);
    return plat::ComposeDateTime(Value, plat::EncodeTime(h, m, s, 0));
}

} // namespace

// ---- TCustomDateTimePicker --------------------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(plat::TComponent* AOwner) : TBorderedDateTimePicker(AOwner) {
    SetBorderStyle(plat::bsNone);
    SetCtl3D(false);
    SetBorderColor(plat::clBlack);
    (void)ShiftFocusMessage();
}

void TCustomDateTimePicker::KeyPress(char16_t& Key) {
    if (!FAutoTab || Key < u'0' || Key > u'9') {
        TBorderedDateTimePicker::KeyPress(Key);
        return;
    }
    const plat::TDateTime v = DateTime();
    plat::DecodeTime(v, Fh, Fm, Fs, Fms);
    plat::DecodeDate(v, FYear, FMonth, FDay);
    TBorderedDateTimePicker::KeyPress(Key);
    if (HandleAllocated()) plat::PostMessage(Handle(), ShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::WndProc(plat::TMessage& Message) {
    if (Message.Msg == ShiftFocusMessage() && Message.Msg != 0) {
        ShiftFocus();
        Message.Result = 0;
        return;
    }
    TBorderedDateTimePicker::WndProc(Message);
}

void TCustomDateTimePicker::PostNextField() {
    if (HandleAllocated()) plat::PostMessage(Handle(), plat::WM_KEYDOWN, plat::VK_RIGHT, 0);
}

void TCustomDateTimePicker::ShiftFocus() {
    // A field moves on only when its digits are complete: a first digit that may be followed
    // by another stays in its field.
    if (Kind() != plat::dtkTime || !FieldTyped()) return;
    int h = 0, m = 0, s = 0, ms = 0;
    plat::DecodeTime(DateTime(), h, m, s, ms);
    if (h != Fh || m != Fm || s != Fs) PostNextField();
}

// ---- TEmbeddedTimePicker ----------------------------------------------------------------------

TEmbeddedTimePicker::TEmbeddedTimePicker(TExtDateTimePicker* AOwner) : TCustomDateTimePicker(AOwner), FPicker(AOwner) {
    SetKind(plat::dtkTime);
    SetBounds(0, 0, 90, 17);
    SetVisible(false);
    SetTabStop(false);
}

void TEmbeddedTimePicker::KeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    FPicker->TimePickerKeyDown(Key, Shift);
    if (Key != 0) TCustomDateTimePicker::KeyDown(Key, Shift);
}

void TEmbeddedTimePicker::Change() {
    TCustomDateTimePicker::Change();
    FPicker->TimeChanged();
}

void TEmbeddedTimePicker::DoExit() {
    TCustomDateTimePicker::DoExit();
    FPicker->TimePickerExit();
}

void TEmbeddedTimePicker::Click() {
    TCustomDateTimePicker::Click();
    FPicker->Click();
}

// ---- TExtDateTimePicker -----------------------------------------------------------------------

TExtDateTimePicker::TExtDateTimePicker(plat::TComponent* AOwner)
    : TCustomDateTimePicker(AOwner), FLabelFont(std::make_unique<plat::TFont>()) {
    SetCtl3D(true);
    SetBorderStyle(plat::bsSingle);
    SetExtKind(dkDateTime);
    FLabelFont->OnChange = [this](plat::TObject*) {
        if (FLabel) UpdateLabel();
    };
}

TExtDateTimePicker::~TExtDateTimePicker() {
    FLabelFont->OnChange = nullptr;
    // The label belongs to the component tree, which frees it.
    FLabel = nullptr;
}

// ---- caption label ----------------------------------------------------------------------------

String TExtDateTimePicker::LabelCaption() const { return FLabel ? FLabel->Caption() : String(); }

void TExtDateTimePicker::SetLabelCaption(const String& Value) {
    if (!FLabel) {
        FLabel = new plat::TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->SetFont(ParentFont() ? Font() : FLabelFont.get());
        FLabel->OnClick = [this](plat::TObject*) {
            if (OnLabelClick) OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](plat::TObject*) {
            if (OnLabelDblClick) OnLabelDblClick(this);
        };
        if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    }
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TExtDateTimePicker::SetLabelFont(const plat::TFont* Value) {
    if (Value) FLabelFont->Assign(*Value);
    if (FLabel) UpdateLabel();
}

void TExtDateTimePicker::SetLabelMargin(int Value) {
    FLabelMargin = Value;
    if (FLabel) UpdateLabel();
}

void TExtDateTimePicker::SetLabelPosition(TLabelPosition Value) {
    FLabelPosition = Value;
    if (FLabel) UpdateLabel();
}

void TExtDateTimePicker::SetLabelTransparent(bool Value) {
    FLabelTransparent = Value;
    if (FLabel) UpdateLabel();
}

void TExtDateTimePicker::SetLabelAlwaysEnabled(bool Value) {
    FLabelAlwaysEnabled = Value;
    if (!FLabel) return;
    FLabel->SetEnabled(Value || Enabled());
    UpdateLabel();
}

void TExtDateTimePicker::SetParent(plat::TWinControl* AParent) {
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel && !HasState(plat::csDestroying)) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TExtDateTimePicker::SetVisible(bool Value) {
    TCustomDateTimePicker::SetVisible(Value);
    if (FLabel) FLabel->SetVisible(Value);
}

void TExtDateTimePicker::SetEnabled(bool Value) {
    TCustomDateTimePicker::SetEnabled(Value);
    if (FLabel && !FLabelAlwaysEnabled) FLabel->SetEnabled(Value);
}

void TExtDateTimePicker::UpdateLabel() {
    if (!FLabel || !FLabel->Parent()) return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->SetFont(ParentFont() ? Font() : FLabelFont.get());
    // The caption's width as the label's font draws it.
    plat::TBitmap measure(1, 1);
    measure.Canvas()->SetFont(FLabel->Font());
    const int w = measure.Canvas()->TextWidth(FLabel->Caption());
    const int hc = Height(), wc = Width(), t = Top(), l = Left();
    const int hl = FLabel->Height(), wl = FLabel->Width();
    const int m = FLabelMargin;
    const int midTop = t + (hc - hl) / 2;
    const int midLeft = l + (wc - wl) / 2;
    int top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = midTop; left = l - w - m; break;
    case lpLeftBottom: top = t + hc - hl; left = l - w - m; break;
    case lpTopLeft: top = t - hl - m; left = l; break;
    case lpBottomLeft: top = t + hc + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = midTop; left = l - m; break;
    case lpLeftBottomLeft: top = t + hc - hl; left = l - m; break;
    case lpTopCenter: top = t - hl - m; left = midLeft; break;
    case lpBottomCenter: top = t + hc + m; left = midLeft; break;
    case lpRightTop: top = t; left = l + wc + m; break;
    case lpRightCenter: top = midTop; left = l + wc + m; break;
    case lpRighBottom: top = t + hc - hl; left = l + wc + m; break;
    }
    FLabel->SetBounds(left, top, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TExtDateTimePicker::SetExtKind(TExtDateTimeKind Value) {
    FKind = Value;
    SetKind(Value == dkTime ? plat::dtkTime : plat::dtkDate);
    if (Value == dkDateTime && !FTimePicker) {
        FTimePicker = new TEmbeddedTimePicker(this);
        FTimePicker->SetParent(this);
    }
    if (FTimePicker) {
        FTimePicker->SetAutoTab(FAutoTab);
        FTimePicker->SetDateTime(DateTime());
    }
    LayoutTimePicker();
}

void TExtDateTimePicker::SetDateTime(plat::TDateTime Value) {
    const plat::TDateTime v = WholeSeconds(Value);
    if (FTimePicker && std::abs(FTimePicker->DateTime() - v) > 1e-9) {
        FLaying = true;
        FTimePicker->SetDateTime(v);
        FLaying = false;
    }
    TCustomDateTimePicker::SetDateTime(v);
}

void TExtDateTimePicker::SetDatePart(plat::TDateTime Value) {
    SetDateTime(plat::ComposeDateTime(Value, plat::TimeOf(DateTime())));
}

plat::TDateTime TExtDateTimePicker::GetTime() const {
    return plat::TimeOf(FKind == dkDateTime && FTimePicker ? FTimePicker->DateTime() : DateTime());
}

void TExtDateTimePicker::SetTimePart(plat::TDateTime Value) {
    SetDateTime(plat::ComposeDateTime(DateTime(), Value));
}

void TExtDateTimePicker::SetTimeFormat(const String& Value) {
    FTimeFormat = Value;
    if (FTimePicker) FTimePicker->SetFormat(Value);
    if (FKind == dkTime) SetFormat(Value);
    LayoutTimePicker();
}

void TExtDateTimePicker::SetAutoTab(bool Value) {
    TCustomDateTimePicker::SetAutoTab(Value);
    if (FTimePicker) FTimePicker->SetAutoTab(Value);
}

String TExtDateTimePicker::Version() const {
    const unsigned v = static_cast<unsigned>(GetVersionNr());
    return plat::IntToStr(v >> 24) + u"." + plat::IntToStr((v >> 16) & 0xFF) + u"." + plat::IntToStr((v >> 8) & 0xFF) +
           u"." + plat::IntToStr(v & 0xFF);
}

void TExtDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    LayoutTimePicker();
    if (FLabel && !HasState(plat::csDestroying)) UpdateLabel();
}

void TExtDateTimePicker::LayoutTimePicker() {
    if (!FTimePicker) return;
    const bool show = FKind == dkDateTime;
    FTimePicker->SetColor(Color());
    FTimePicker->SetFont(Font());
    FTimePicker->SetEnabled(Enabled() && (!ShowCheckbox() || Checked()));
    FTimePicker->SetFormat(FTimeFormat);
    if (!show) {
        FTimePicker->SetVisible(false);
        return;
    }
    plat::TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    const int w = c->TextWidth(FTimePicker->Text()) + 31;
    const int x = std::max(0, Width() - w - ButtonWidth() - 2);
    FTimePicker->SetBounds(x, 1, std::min(w, Width()), std::max(1, Height() - 2));
    FTimePicker->SetVisible(true);
}

void TExtDateTimePicker::Paint() {
    TCustomDateTimePicker::Paint();
    if (FTimePicker && FKind == dkDateTime) {
        // The check box decides whether the time may be edited.
        const bool enabled = Enabled() && (!ShowCheckbox() || Checked());
        if (FTimePicker->Enabled() != enabled) FTimePicker->SetEnabled(enabled);
    }
}

void TExtDateTimePicker::Change() {
    if (FTimePicker && FKind == dkDateTime)
        FTimePicker->SetEnabled(Enabled() && (!ShowCheckbox() || Checked()));
    TCustomDateTimePicker::Change();
}

void TExtDateTimePicker::TimeChanged() {
    if (FLaying) return;
    // The embedded picker's time becomes the control's time of day.
    TCustomDateTimePicker::SetDateTime(plat::ComposeDateTime(DateTime(), FTimePicker->DateTime()));
    if (OnTimeChange) OnTimeChange(this);
}

void TExtDateTimePicker::TimePickerKeyDown(std::uint16_t& Key, plat::TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TExtDateTimePicker::ShiftFocus() {
    if (Kind() == plat::dtkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    if (!FieldTyped()) return;
    int y = 0, m = 0, d = 0;
    plat::DecodeDate(DateTime(), y, m, d);
    const bool dayChanged = d != FDay, monthChanged = m != FMonth, yearChanged = y != FYear;
    if (!dayChanged && !monthChanged && !yearChanged) return;
    const String f = Format().empty() ? String() : Format();
    bool toTime;
    if (!f.empty()) {
        const char16_t c = f.back();
        toTime = (dayChanged && (c == u'D' || c == u'd')) || (monthChanged && (c == u'M' || c == u'm')) ||
                 (yearChanged && (c == u'Y' || c == u'y'));
    } else {
        toTime = yearChanged && !dayChanged && !monthChanged;
    }
    if (!toTime) {
        PostNextField();
        return;
    }
    // The last field of the date is complete: the time follows.
    if (FTimePicker && FTimePicker->Visible() && FTimePicker->CanFocus()) {
        FTimePicker->SetCurrentField(0);
        FTimePicker->SetFocus();
    }
}

} // namespace grid
