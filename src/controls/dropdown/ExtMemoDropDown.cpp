// The memo drop-down: the lines kept in MemoText, the memo in the form, and the edit's
// one-line view of them.
#include "ExtMemoDropDown.h"

namespace dropdown {

using namespace plat;

namespace {

// Lines joined by CR LF, without a line end after the last.
String JoinLines(const TStrings& Lines)
{
    String t;
    for (int i = 0; i < Lines.Count(); ++i) {
        if (i > 0) t += u"\r\n";
        t += Lines.Strings(i);
    }
    return t;
}

} // namespace

TExtMemoDropDown::TExtMemoDropDown(TComponent* AOwner) : TExtCustomDropDown(AOwner)
{
    memoText_ = std::make_unique<TStringList>();
    memoText_->OnChange = [this](TObject*) {
        if (updating_) return;
        // Lines changed by the caller are the value Esc goes back to.
        oldText_ = JoinLines(*memoText_);
        UpdateEditText();
    };
    // The base built its form before this class existed; the memo joins it now.
    CreateDropDownForm();
}

TExtMemoDropDown::~TExtMemoDropDown()
{
    Destroying();
    memoText_->OnChange = nullptr;
    if (memo_) {
        TMemo* m = memo_;
        memo_ = nullptr;
        m->OnChange = nullptr;
        m->OnKeyDown = nullptr;
        m->Free();
    }
}

void TExtMemoDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TExtCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == memo_) memo_ = nullptr;
    if (AComponent == memoPopup_) memoPopup_ = nullptr;
}

// ---- properties --------------------------------------------------------------------------

void TExtMemoDropDown::SetMemoText(const TStrings* Value)
{
    updating_ = true;
    memoText_->Assign(Value);
    updating_ = false;
    if (memo_) memo_->SetText(JoinLines(*memoText_));
    oldText_ = JoinLines(*memoText_);
    UpdateEditText();
}

void TExtMemoDropDown::SetMemoReadOnly(bool Value)
{
    memoReadOnly_ = Value;
    if (DroppedDown() && memo_) memo_->SetReadOnly(Value);
}

void TExtMemoDropDown::SetText(const String& Value)
{
    TExtCustomDropDown::SetText(Value);
    // Closing by Esc writes the text given last; the edit then shows it as MemoText lines.
    if (cancelling_) {
        UpdateEditText();
        SetSelStart(0);
        SetSelLength(0);
    }
}

// ---- the edit text -------------------------------------------------------------------------

void TExtMemoDropDown::UpdateEditText()
{
    String t;
    if (memoText_->Count() == 0 || EditorEnabled()) {
        t = JoinLines(*memoText_);
    } else {
        const String first = memoText_->Strings(0);
        TCanvas c;
        c.Font()->Assign(Font());
        const TRect r = GetEditRect();
        const int room = r.Right - r.Left;
        if (MeasureText(&c, first).cx < room)
            t = memoText_->Count() > 1 ? first + u"..." : first;
        else
            t = TruncateTextToWidth(&c, first, room, true);
    }
    updating_ = true;
    SetEditText(t);
    updating_ = false;
}

void TExtMemoDropDown::Change()
{
    if (!updating_) {
        updating_ = true;
        memoText_->SetText(GetText());
        updating_ = false;
    }
    TExtCustomDropDown::Change();
}

// ---- the form ------------------------------------------------------------------------------

void TExtMemoDropDown::CreateDropDownForm()
{
    TExtCustomDropDown::CreateDropDownForm();
    if (memo_ || !DropDownForm()) return;
    memo_ = new TMemo(this);
    memo_->SetParent(DropDownForm());
    memo_->SetBounds(memo_->Left(), memo_->Top(), memo_->Width(), 100);
    memoWidth_ = memo_->Width();
    memo_->SetBorderStyle(bsNone);
    memo_->OnChange = [this](TObject*) {
        if (OnMemoChange) OnMemoChange(this);
    };
    memo_->OnKeyDown = [this](TObject* s, std::uint16_t& k, TShiftState sh) { MemoKeyDown(s, k, sh); };
    SetControl(memo_);
}

void TExtMemoDropDown::DoBeforeDropDown()
{
    TExtCustomDropDown::DoBeforeDropDown();
    if (DropDownForm()) DropDownForm()->SetCancelOnDeActivate(false);
    if (!memo_) return;
    // Attached, the memo fills the form; the form is sized from the memo's own size.
    memo_->SetAlign(alNone);
    memo_->SetBounds(0, 0, memoWidth_, 100);
    memo_->SetText(JoinLines(*memoText_));
    memo_->SetPopupMenu(memoPopup_);
    memo_->SetMaxLength(MaxLength());
    memo_->SetScrollBars(memoScrollBars_);
    memo_->SetReadOnly(memoReadOnly_);
}

void TExtMemoDropDown::DoHideDropDown(bool Cancel)
{
    const bool autoDrop = autoDrop_;
    autoDrop_ = false;
    if (Cancel && memo_ && DropDownForm() && DropDownForm()->Visible()) memo_->SetText(JoinLines(*memoText_));
    cancelling_ = Cancel;
    TExtCustomDropDown::DoHideDropDown(Cancel);
    cancelling_ = false;
    autoDrop_ = autoDrop;
}

void TExtMemoDropDown::AfterDropUp(TObject* Sender)
{
    TExtCustomDropDown::AfterDropUp(Sender);
    if (memo_) {
        updating_ = true;
        memoText_->SetText(memo_->Text());
        updating_ = false;
    }
    UpdateEditText();
    SetSelStart(0);
    SetSelLength(0);
}

// ---- keys and focus ------------------------------------------------------------------------

void TExtMemoDropDown::MemoKeyDown(TObject*, std::uint16_t& Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE) {
        DoHideDropDown(true);
    } else if ((Shift & ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (DroppedDown())
            DoHideDropDown(true);
        else
            DoShowDropDown();
    }
}

void TExtMemoDropDown::ForwardListKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    if ((Shift & ssCtrl) && (Key == 'A' || Key == 'a') && memo_) memo_->SelectAll();
    if ((Shift & ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TExtCustomDropDown::ForwardListKeyDown(Sender, Key, Shift);
}

void TExtMemoDropDown::ForwardListKeyUp(TObject* Sender, std::uint16_t& Key, TShiftState Shift)
{
    if ((Shift & ssAlt) || Key == VK_ESCAPE || Key == VK_F4) TExtCustomDropDown::ForwardListKeyUp(Sender, Key, Shift);
}

void TExtMemoDropDown::ForwardListChar(TObject* Sender, char16_t& Key)
{
    if (GetKeyState(VK_MENU) < 0 || Key == 27) TExtCustomDropDown::ForwardListChar(Sender, Key);
}

void TExtMemoDropDown::DoEnter()
{
    TExtCustomDropDown::DoEnter();
    if (autoDrop_) DoShowDropDown();
}

} // namespace dropdown
