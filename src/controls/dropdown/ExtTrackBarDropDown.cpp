// The track-bar drop-down: the position kept between the edit text, the track bar, the keys
// and the mouse drag over the edit.
#include "ExtTrackBarDropDown.h"

#include "plat/SysUtils.h"

namespace dropdown {

using namespace plat;

TExtTrackBarDropDown::TExtTrackBarDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner)
{
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    DropDownHeader()->SetVisible(false);
    DropDownFooter()->SetVisible(false);
    SetForceShadow(true);
    // The base built its form before this class existed; the track bar joins it now.
    CreateDropDownForm();
}

TExtTrackBarDropDown::~TExtTrackBarDropDown()
{
    if (trackBar_) {
        TTrackBar* t = trackBar_;
        trackBar_ = nullptr;
        t->OnChange = nullptr;
        t->Free();
    }
}

void TExtTrackBarDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (trackBar_ || !DropDownForm()) return;
    trackBar_ = new TTrackBar(this);
    trackBar_->SetParent(DropDownForm());
    trackBar_->SetBounds(0, 0, trackBar_->Width(), 40);
    trackBar_->OnChange = [this](TObject* s) { TrackBarChanged(s); };
}

void TExtTrackBarDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TExtCustomDropDown::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == trackBar_) trackBar_ = nullptr;
}

// ---- properties --------------------------------------------------------------------------

void TExtTrackBarDropDown::SetMin(int Value)
{
    min_ = Value;
    if (trackBar_) {
        trackBar_->SetMin(Value);
        min_ = trackBar_->Min();
    }
}

void TExtTrackBarDropDown::SetMax(int Value)
{
    max_ = Value;
    if (trackBar_) {
        trackBar_->SetMax(Value);
        max_ = trackBar_->Max();
    }
}

void TExtTrackBarDropDown::SetPosition(int Value)
{
    position_ = Value;
    if (trackBar_) {
        trackBar_->SetPosition(Value);
        position_ = trackBar_->Position();
    }
}

void TExtTrackBarDropDown::SetPageSize(int Value)
{
    pageSize_ = Value;
    if (trackBar_) trackBar_->SetPageSize(Value);
}

void TExtTrackBarDropDown::SetFrequency(int Value)
{
    frequency_ = Value;
    if (trackBar_) trackBar_->SetFrequency(Value);
}

// ---- opening -------------------------------------------------------------------------------

void TExtTrackBarDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (!trackBar_) return;
    trackBar_->SetMin(min_);
    trackBar_->SetMax(max_);
    trackBar_->SetPosition(position_);
    trackBar_->SetPageSize(pageSize_);
    trackBar_->SetFrequency(frequency_);
    SetControl(trackBar_);
    // Attached, the bar fills the form; the form is sized from the bar's own size, which is
    // the edit's width and 40 px.
    trackBar_->SetAlign(alNone);
    trackBar_->SetBounds(0, 0, Width(), 40);
}

// ---- the position from the track bar and from the text -------------------------------------

void TExtTrackBarDropDown::TrackBarChanged(TObject*)
{
    if (!trackBar_) return;
    position_ = trackBar_->Position();
    SetEditText(IntToStr(position_));
    if (OnTrackChange) OnTrackChange(this);
}

void TExtTrackBarDropDown::Change()
{
    TExtCustomDropDown::Change();
    // A text that is no integer (a paste, a cell's text) keeps the position.
    int v = 0;
    if (TryStrToInt(GetText(), v)) SetPosition(v);
}

// ---- keys and mouse --------------------------------------------------------------------------

void TExtTrackBarDropDown::ForwardListKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    // The bar's own stepping keys stay with the bar: passed on as well, one press would move
    // the position twice (the bar's step and the edit's).
    if (!(Shift & ssAlt)) {
        switch (Key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END: return;
        default: break;
        }
    }
    TExtCustomDropDown::ForwardListKeyDown(Sender, Key, Shift);
}

void TExtTrackBarDropDown::WndProc(TMessage& Message)
{
    if (Message.Msg != WM_KEYDOWN) {
        TExtCustomDropDown::WndProc(Message);
        return;
    }
    // The base swallows every key of a selection-only edit; the step keys act on the key as
    // it was pressed.
    const auto key = static_cast<std::uint16_t>(Message.WParam);
    const bool alt = (Message.LParam & (LPARAM(1) << 29)) != 0 || (GetKeyState(VK_MENU) < 0);
    TExtCustomDropDown::WndProc(Message);
    if (EditorEnabled() || alt) return;
    if (key == VK_UP) {
        if (position_ - frequency_ >= min_) SetPosition(position_ - frequency_);
    } else if (key == VK_DOWN) {
        if (position_ + frequency_ <= max_) SetPosition(position_ + frequency_);
    }
}

void TExtTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (DropDownEnabled() && !EditorEnabled()) {
        mouseDrag_ = true;
        mouseX_ = X;
    }
}

void TExtTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtCustomDropDown::MouseMove(Shift, X, Y);
    if (!mouseDrag_) return;
    // No step size, no movement (the step would divide by it).
    if (pageSize_ < 1) return;
    const int steps = (X - mouseX_) / pageSize_;
    if (steps != 0) SetPosition(position_ + steps);
    mouseX_ = X;
}

void TExtTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    mouseDrag_ = false;
    TExtCustomDropDown::MouseUp(Button, Shift, X, Y);
}

} // namespace dropdown
