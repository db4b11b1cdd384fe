#include "plat/Forms.h"
#include "plat/StdCtrls.h"

#include <algorithm>
#include <unordered_set>

#include "StdCommon.h"
#include "plat/Classes.h"
#include "plat/ComboBoxOptions.h"

namespace plat {

using namespace std_detail;

namespace {

// Boxes whose list opens right-aligned; a box leaves the set when it is destroyed. The set
// outlives every box, those freed during the program's exit included.
std::unordered_set<const TCustomComboBox*>& Right_Aligned_Boxes()
{
    static auto* boxes = new std::unordered_set<const TCustomComboBox*>;
    return *boxes;
}

// The edit part of an editable combo box: its dialog keys belong to the combo while the
// list is open, and its keys run the combo's key events.
class TComboEdit : public TCustomEdit {
public:
    explicit TComboEdit(TCustomComboBox* Combo) : TCustomEdit(Combo), combo_(Combo)
    {
        SetBorderStyle(bsNone);
        SetTabStop(false);
    }
    String ClassName() const override { return u"TEdit"; }

    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_WANTSPECIALKEY) {
            Message.Result = combo_->Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam);
            return;
        }
        TCustomEdit::WndProc(Message);
    }

private:
    TCustomComboBox* combo_;
};

constexpr int ButtonWidth = 17;

// An editable combo box builds its edit when it first needs one: once it stands on a parent,
// or when its text, selection or focus is used. A combo box given another style before that
// (a drop-down list, as most are) never builds an edit it would throw away.
void EnsureEdit(TCustomComboBox* Combo)
{
    if (Combo->EditControl() || (Combo->Style() != csDropDown && Combo->Style() != csSimple) ||
        Combo->HasState(csDestroying))
        return;
    Combo->SetStyle(Combo->Style());
    if (TCustomEdit* e = Combo->EditControl())
        e->SetEnabled(Combo->Enabled());
}

} // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), items_(std::make_unique<TStringList>())
{
    // The open list holds the mouse, not the box.
    SetControlStyle((ControlStyle() & ~csClickEvents & ~csDoubleClicks & ~csCaptureMouse) | csFixedHeight);
    SetTabStop(true);
    SetColor(clWindow);
    items_->OnChange = [this](TObject*) { ItemsChanged(); };
    RecreateWnd();
    style_ = csDropDown;  // its edit comes when first needed (EnsureEdit)
    SetBounds(0, 0, 145, EditHeight() + 6);
}

TCustomComboBox::~TCustomComboBox()
{
    items_->OnChange = nullptr;
    Right_Aligned_Boxes().erase(this);
}

void SetDropDownRightAligned(TCustomComboBox* Box, bool Value)
{
    if (Value)
        Right_Aligned_Boxes().insert(Box);
    else
        Right_Aligned_Boxes().erase(Box);
}

bool DropDownRightAligned(const TCustomComboBox* Box) { return Right_Aligned_Boxes().count(Box) != 0; }

TStringList* TCustomComboBox::Items() const { return items_.get(); }

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

int TCustomComboBox::ItemHeight() const
{
    return std::max(1, MeasureCanvas(Font())->TextHeight(u"Wg"));
}

int TCustomComboBox::EditHeight() const
{
    return editHeight_ > 0 ? editHeight_ : FontPixels(Font()) + 5;
}

void TCustomComboBox::SetEditHeight(int Value)
{
    editHeight_ = std::max(0, Value);
    SetBounds(Left(), Top(), Width(), EditHeight() + 6);
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // The box's height follows its edit portion, as the platform's combo box does.
    (void)AHeight;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, EditHeight() + 6);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    const String text = GetText();
    style_ = Value;
    if (Value == csDropDown || Value == csSimple) {
        if (!edit_) {
            edit_ = new TComboEdit(this);
            edit_->SetParent(this);
            edit_->OnChange = [this](TObject*) {
                if (editing_)
                    return;
                Notify(CBN_EDITCHANGE);
                Change();
            };
            edit_->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); };
            edit_->OnKeyPress = [this](TObject*, char16_t& Key) { KeyPress(Key); };
            edit_->OnKeyUp = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { KeyUp(Key, Shift); };
            edit_->SetMaxLength(maxLength_);
            edit_->SetCharCase(charCase_);
            edit_->SetColor(Color());
        }
        editing_ = true;
        edit_->SetText(text);
        editing_ = false;
        LayoutEdit();
    } else if (edit_) {
        TCustomEdit* e = edit_;
        edit_ = nullptr;
        delete e;
    }
    Invalidate();
}

void TCustomComboBox::LayoutEdit()
{
    if (!edit_)
        return;
    const TRect c = ClientRect();
    edit_->SetBounds(1, 1, std::max(0, c.Width() - ButtonWidth - 2), std::max(0, c.Height() - 2));
}

void TCustomComboBox::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    LayoutEdit();
}

void TCustomComboBox::SetSorted(bool Value)
{
    sorted_ = Value;
    items_->SetSorted(Value);
}

void TCustomComboBox::SetMaxLength(int Value)
{
    maxLength_ = Value;
    if (edit_)
        edit_->SetMaxLength(Value);
}

void TCustomComboBox::SetCharCase(TEditCharCase Value)
{
    charCase_ = Value;
    if (edit_)
        edit_->SetCharCase(Value);
}

void TCustomComboBox::SelectAll()
{
    EnsureEdit(this);
    if (edit_)
        edit_->SelectAll();
}

void TCustomComboBox::Clear()
{
    items_->Clear();
    SetText(String());
}

void TCustomComboBox::ItemsChanged()
{
    if (itemIndex_ >= items_->Count())
        SetItemIndex(-1);
    if (list_ && list_->Visible())
        list_->Items()->Assign(items_.get());
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int Value)
{
    EnsureEdit(this);
    if (Value < -1 || Value >= items_->Count())
        Value = -1;
    itemIndex_ = Value;
    const String text = Value >= 0 ? items_->At(Value) : String();
    if (edit_) {
        editing_ = true;
        edit_->SetText(text);
        edit_->SelectAll();
        editing_ = false;
    }
    Invalidate();
}

String TCustomComboBox::GetText() const
{
    if (edit_)
        return edit_->Text();
    return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? items_->At(itemIndex_) : String();
}

void TCustomComboBox::SetTextBuf(const String& Value)
{
    EnsureEdit(this);
    if (edit_) {
        editing_ = true;
        edit_->SetText(Value);
        editing_ = false;
    } else {
        // A drop-down list can only show one of its items.
        const int index = items_->IndexOf(Value);
        if (index >= 0)
            SetItemIndex(index);
    }
    TCustomControl::SetTextBuf(Value);
    Invalidate();
}

void TCustomComboBox::Notify(int Code)
{
    NotifyParent(this, Code);
}

void TCustomComboBox::Change()
{
    Perform(CM_CHANGED, 0, 0);
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

bool TCustomComboBox::DroppedDown() const
{
    return list_ && list_->Visible();
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (Value == DroppedDown())
        return;
    if (!Value) {
        CloseList(false);
        return;
    }
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    Notify(CBN_DROPDOWN);
    DropDown();
    if (!list_) {
        list_ = new TCustomListBox(this);
        list_->hotTrack_ = true;
        // Capture is the combo's business while the list is open (taken at drop-down,
        // released at close-up), not the list's per press.
        list_->SetControlStyle(list_->ControlStyle() & ~csCaptureMouse);
        list_->SetTabStop(false);
        list_->SetVisible(false);
        list_->RecreateWnd();
        list_->onPick_ = [this](int Index) { UserPick(Index, true); };
        list_->onCancel_ = [this]() { CloseList(false); };
        // The release of the press that opened the list reaches the list, which holds the
        // mouse; the box repaints so that a button drawn as held down comes up again.
        list_->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Invalidate(); };
    }
    list_->SetFont(Font());
    list_->Items()->Assign(items_.get());
    const int rows = std::clamp(items_->Count(), 1, std::max(1, dropDownCount_));
    const int h = rows * list_->ItemHeight() + 2;
    const int w = std::max(droppedWidth_, Width());
    // Below the box, or above it when the form has no room below.
    const TPoint below = form->ScreenToClient(ClientToScreen({-2, ClientHeight() + 2}));
    TPoint at = below;
    if (below.Y + h > form->ClientHeight()) {
        const TPoint above = form->ScreenToClient(ClientToScreen({-2, -2 - h}));
        if (above.Y >= 0)
            at = above;
    }
    if (DropDownRightAligned(this))
        at.X = std::max(0, form->ScreenToClient(ClientToScreen({ClientWidth() + 2, 0})).X - w);
    // A list wider than the room to the right moves left to stay on the form.
    if (at.X + w > form->ClientWidth())
        at.X = std::max(0, form->ClientWidth() - w);
    list_->SetParent(form);
    list_->SetBounds(at.X, at.Y, w, h);
    // An editable box marks the item its text names, as the platform's list does.
    list_->SetItemIndex(edit_ ? items_->IndexOf(GetText()) : itemIndex_);
    list_->SetVisible(true);
    list_->BringToFront();
    SetCapture(list_->Handle());
    Invalidate();
}

void TCustomComboBox::CloseList(bool Picked)
{
    if (!DroppedDown())
        return;
    list_->SetVisible(false);
    if (GetCapture() == list_->Handle())
        ReleaseCapture();
    Invalidate();
    Notify(CBN_CLOSEUP);
    CloseUp();
    Notify(Picked ? CBN_SELENDOK : CBN_SELENDCANCEL);
}

void TCustomComboBox::UserPick(int Index, bool Close)
{
    if (Index < 0 || Index >= items_->Count())
        return;
    SetItemIndex(Index);
    Notify(CBN_SELCHANGE);
    Click();
    Select();
    if (Close)
        CloseList(true);
}

TRect TCustomComboBox::ButtonRect() const
{
    const TRect c = ClientRect();
    return {c.Right - ButtonWidth, c.Top, c.Right, c.Bottom};
}

void TCustomComboBox::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
    c->FillRect(client);
    if (!edit_) {
        TRect text{client.Left + 1, client.Top + 1, client.Right - ButtonWidth - 1, client.Bottom - 1};
        c->SetFont(Font());
        const bool focused = Focused() && !DroppedDown();
        if (focused) {
            c->Brush()->SetColor(clHighlight);
            c->FillRect(text);
            c->Font()->SetColor(clHighlightText);
        } else if (!Enabled()) {
            c->Font()->SetColor(clGrayText);
        }
        c->Brush()->SetStyle(bsClear);
        TRect t{text.Left + 2, text.Top, text.Right, text.Bottom};
        c->DrawText(GetText(), t, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (focused)
            c->DrawFocusRect(text);
    }
    unsigned state = DFCS_SCROLLCOMBOBOX;
    if (DroppedDown())
        state |= DFCS_PUSHED | DFCS_FLAT;
    if (!Enabled())
        state |= DFCS_INACTIVE;
    DrawFrameControl(c, ButtonRect(), DFC_SCROLL, state);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    if (edit_ && !ButtonRect().Contains({X, Y}))
        return;
    SetDroppedDown(!DroppedDown());
}

void TCustomComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    // The press that opened the list ends here; the list keeps the mouse so that the next
    // press outside it closes it.
    if (DroppedDown() && GetCapture() != list_->Handle())
        SetCapture(list_->Handle());
}

void TCustomComboBox::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool alt = (Shift & ssAlt) != 0;
    if (Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP))) {
        SetDroppedDown(!DroppedDown());
        Key = 0;
        return;
    }
    if (DroppedDown()) {
        switch (Key) {
        case VK_UP: list_->SetItemIndex(std::max(0, list_->ItemIndex() - 1)); break;
        case VK_DOWN: list_->SetItemIndex(std::min(items_->Count() - 1, list_->ItemIndex() + 1)); break;
        case VK_RETURN:
            if (list_->ItemIndex() >= 0)
                UserPick(list_->ItemIndex(), true);
            else
                CloseList(false);
            break;
        case VK_ESCAPE: CloseList(false); break;
        default: return;
        }
        Key = 0;
        return;
    }
    int target = -1;
    switch (Key) {
    case VK_UP: target = std::max(0, itemIndex_ - 1); break;
    case VK_DOWN: target = std::min(items_->Count() - 1, itemIndex_ + 1); break;
    case VK_HOME: target = edit_ ? -1 : 0; break;
    case VK_END: target = edit_ ? -1 : items_->Count() - 1; break;
    default: return;
    }
    if (target >= 0 && target != itemIndex_)
        UserPick(target, false);
    if (target >= 0 || !edit_)
        Key = 0;
}

void TCustomComboBox::KeyPress(char16_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == 0 || edit_ || Key < 32)
        return;
    // A drop-down list selects the next item starting with the typed letter.
    const String key(1, Key);
    for (int k = 1; k <= items_->Count(); ++k) {
        const int i = (std::max(itemIndex_, -1) + k) % items_->Count();
        const String& s = items_->At(i);
        if (!s.empty() && (s[0] == Key || String(1, s[0]) == key || (s[0] | 0x20) == (Key | 0x20))) {
            UserPick(i, false);
            break;
        }
    }
}

bool TCustomComboBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    return TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TCustomComboBox::SetFocus()
{
    EnsureEdit(this);
    if (edit_)
        edit_->SetFocus();
    else
        TCustomControl::SetFocus();
}

bool TCustomComboBox::Focused() const
{
    return edit_ ? edit_->Focused() : TCustomControl::Focused();
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    if (!edit_ && Parent())
        EnsureEdit(this);
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case CM_WANTSPECIALKEY:
        // Enter and Escape close an open list instead of reaching the form's buttons.
        Message.Result = DroppedDown() && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) ? 1 : 0;
        return;
    case CB_GETCURSEL: Message.Result = itemIndex_; return;
    case CB_SETCURSEL: SetItemIndex(static_cast<int>(Message.WParam)); Message.Result = itemIndex_; return;
    case CB_GETCOUNT: Message.Result = items_->Count(); return;
    case CB_GETDROPPEDSTATE: Message.Result = DroppedDown() ? 1 : 0; return;
    case CB_SHOWDROPDOWN: SetDroppedDown(Message.WParam != 0); Message.Result = 1; return;
    case CB_GETDROPPEDWIDTH: Message.Result = std::max(droppedWidth_, Width()); return;
    case CB_SETDROPPEDWIDTH: droppedWidth_ = static_cast<int>(Message.WParam); Message.Result = droppedWidth_; return;
    case CB_GETITEMHEIGHT:
        Message.Result = static_cast<int>(Message.WParam) == -1 ? EditHeight() : ItemHeight();
        return;
    case CB_SETITEMHEIGHT:
        if (static_cast<int>(Message.WParam) == -1)
            SetEditHeight(static_cast<int>(Message.LParam));
        return;
    case CB_GETLBTEXTLEN: {
        const int i = static_cast<int>(Message.WParam);
        Message.Result = i >= 0 && i < items_->Count() ? static_cast<LRESULT>(items_->At(i).size()) : CB_ERR;
        return;
    }
    case CB_GETLBTEXT: {
        // LParam points to a String that receives the item.
        const int i = static_cast<int>(Message.WParam);
        if (i < 0 || i >= items_->Count() || Message.LParam == 0) {
            Message.Result = CB_ERR;
            return;
        }
        *reinterpret_cast<String*>(Message.LParam) = items_->At(i);
        Message.Result = static_cast<LRESULT>(items_->At(i).size());
        return;
    }
    case CB_RESETCONTENT: Clear(); return;
    case WM_KILLFOCUS:
        TCustomControl::WndProc(Message);
        CloseList(false);
        Invalidate();
        return;
    case CM_FONTCHANGED:
        TCustomControl::WndProc(Message);
        if (edit_)
            edit_->SetFont(Font());
        SetBounds(Left(), Top(), Width(), Height());
        return;
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(Message);
        if (edit_)
            edit_->SetEnabled(Enabled());
        Invalidate();
        return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(Message);
        // Focus that reaches the box itself (Tab, a click on the frame) belongs to its edit.
        if (edit_ && edit_->CanFocus())
            edit_->SetFocus();
        Invalidate();
        return;
    case CM_COLORCHANGED:
        TCustomControl::WndProc(Message);
        // The edit portion is painted with the box's brush, as the platform's combo does.
        if (edit_)
            edit_->SetColor(Color());
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
