#include "ESGEdit.h"

#include <algorithm>

#include "plat/Classes.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/UiResponder.h"

namespace grid {

using namespace plat;

namespace {
constexpr std::uint32_t kEsRight = 0x2, kEsMultiline = 0x4;
constexpr WPARAM kEditChangeCode = 768;  // the edit's own change notification (EN_CHANGE)
}

// ---- TExtSpeedButton --------------------------------------------------------------------

TExtSpeedButton::TExtSpeedButton(TComponent* AOwner) : TExtSpeedButtonBase(AOwner) {}

TExtSpeedButton::~TExtSpeedButton() = default;

void TExtSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtSpeedButtonBase::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        down_ = true;
        Invalidate();
    }
}

void TExtSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtSpeedButtonBase::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !down_) return;
    down_ = false;
    Invalidate();
    if (auto* owner = dynamic_cast<TEsgEditButton*>(Parent())) owner->ButtonReleased();
}

void TExtSpeedButton::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    const auto* owner = dynamic_cast<const TEsgEditButton*>(Parent());
    if (owner && owner->ButtonColor != clNotSet) {
        flat_ = true;
        TColor col = down_ ? owner->ButtonColorDown : hot_ ? owner->ButtonColorHot : owner->ButtonColor;
        if (col == clNotSet) col = owner->ButtonColor;
        c->Brush()->SetColor(col);
        c->FillRect(r);
    } else if (flat_) {
        // The layer draws no themes, so the themed look takes this path too.
        c->Brush()->SetColor(clBtnFace);
        DrawEdge(c, r, down_ ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r.Left += 1; r.Top += 1; r.Right -= 1; r.Bottom -= 1;
    } else {
        DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | (down_ ? DFCS_PUSHED : 0u));
    }
    int shift = down_ ? 1 : 0;
    if (glyph_ && !glyph_->Empty()) {
        int gw = glyph_->Width() / std::max(numGlyphs_, 1), gh = glyph_->Height();
        int x = gw < r.Width() ? r.Left + (r.Width() - gw) / 2 : r.Left;
        int y = gh < r.Height() ? r.Top + (r.Height() - gh) / 2 : r.Top;
        glyph_->SetTransparent(true);
        c->Draw(x + shift, y + shift, glyph_.get());
    }
    String cap = Caption();
    if (!cap.empty()) {
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        TRect tr = ClientRect();
        tr.Left += shift; tr.Top += shift; tr.Right += shift; tr.Bottom += shift;
        c->DrawText(cap, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- TEsgEditButton ---------------------------------------------------------------------

TEsgEditButton::TEsgEditButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque);
    button_ = new TExtSpeedButton(this);
    button_->SetParent(this);
    SetBounds(0, 0, 20, 25);
}

void TEsgEditButton::BoundsChanged()
{
    TCustomControl::BoundsChanged();
    if (button_ && !(ComponentState() & csLoading)) button_->SetBounds(0, 0, Width(), Height());
}

void TEsgEditButton::SetFlat(bool Value)
{
    flat_ = Value;
    button_->SetFlat(Value);
}

void TEsgEditButton::SetFocusControl(TWinControl* Value)
{
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TEsgEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TEsgEditButton::ButtonReleased()
{
    if (OnClick) OnClick(this);
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (!focusControl_ && TabStop() && CanFocus())
        SetFocus();
}

void TEsgEditButton::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

// ---- TEsgEditBtn ------------------------------------------------------------------------

TEsgEditBtn::TEsgEditBtn(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    SetControlStyle(ControlStyle() & ~csSetCaption);
    button_ = new TEsgEditButton(this);
    button_->SetBounds(0, 0, 18, 18);
    button_->SetParent(this);
    button_->SetFocusControl(this);
    button_->OnClick = [this](TObject*) { ClickBtn(); };
    SetText(u"0");
}

void TEsgEditBtn::ClickBtn()
{
    if (OnClickBtn) OnClickBtn(this);
}

void TEsgEditBtn::SetButtonWidth(int Value)
{
    buttonWidth_ = Value;
    button_->SetWidth(Value);
    Resize();
}

void TEsgEditBtn::SetRightAlign(bool Value)
{
    if (Value == rightAlign_) return;
    rightAlign_ = Value;
    RecreateWnd();
}

void TEsgEditBtn::SetIsWinXP(bool Value)
{
    isWinXP_ = Value;
    button_->Button()->SetIsWinXP(Value);
}

void TEsgEditBtn::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= kEsMultiline | WS_CLIPCHILDREN;
    if (rightAlign_) Params.Style |= kEsRight;
}

int TEsgEditBtn::MinHeight()
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(1, 1);
    TTextMetric tm{}, sys{};
    bmp->Canvas()->SetFont(Font());
    bmp->Canvas()->GetTextMetrics(tm);
    TFont sysFont;
    bmp->Canvas()->SetFont(&sysFont);
    bmp->Canvas()->GetTextMetrics(sys);
    return tm.tmHeight + std::min(tm.tmHeight, sys.tmHeight) / 4;
}

void TEsgEditBtn::SetEditRect()
{
    int lt = BorderStyle() == bsNone ? 3 : 1;
    int right = ClientWidth() - (button_->Width() + unitSize_ + 5);
    if (unitSize_ > 0) right -= 3;
    editRect_ = TRect{lt, lt, right, ClientHeight() + 1};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&editRect_));
}

void TEsgEditBtn::SetBorderStyle(TBorderStyle Value)
{
    TCustomMaskEdit::SetBorderStyle(Value);
    Resize();
}

void TEsgEditBtn::Resize()
{
    TCustomMaskEdit::Resize();
    if (!button_) return;
    int mh = MinHeight();
    if (Height() < mh) {
        SetHeight(mh);
        return;
    }
    int bw = button_->Width();
    if (Ctl3D()) {
        int n = BorderStyle() == bsNone ? 4 : 0;
        button_->SetBounds(Width() + n - bw - 5, 0, bw, Height() + n - 5);
    } else {
        button_->SetBounds(Width() - bw, 1, bw, Height() - 3);
    }
    SetEditRect();
}

void TEsgEditBtn::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    std::uint16_t k = Key;
    TCustomMaskEdit::KeyDown(Key, Shift);
    bool alt = (GetKeyState(VK_LMENU) & 0x8000) || (GetKeyState(VK_RMENU) & 0x8000) || (Shift & ssAlt);
    if (k == VK_F4 && !(Shift & ssCtrl) && !alt) ClickBtn();
}

void TEsgEditBtn::KeyPress(char16_t& Key)
{
    if (!editorEnabled_) {
        Key = 0;
        return;
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TEsgEditBtn::DoEnter()
{
    if (AutoSelect() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
    TCustomMaskEdit::DoEnter();
}

void TEsgEditBtn::WndProc(TMessage& Message)
{
    if ((Message.Msg == WM_PASTE || Message.Msg == WM_CUT) && (!editorEnabled_ || ReadOnly())) return;
    TCustomMaskEdit::WndProc(Message);
}

// ---- TEsgUnitEditBtn --------------------------------------------------------------------

TEsgUnitEditBtn::TEsgUnitEditBtn(TComponent* AOwner) : TEsgEditBtn(AOwner), units_(std::make_unique<TStringList>())
{
    unitSize_ = 20;
    SetRightAlign(true);
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

TStrings* TEsgUnitEditBtn::Units() const { return units_.get(); }

void TEsgUnitEditBtn::SetUnits(const TStrings* Value)
{
    if (!Value) return;
    units_->Clear();
    units_->AddStrings(*Value);
}

void TEsgUnitEditBtn::SetUnitID(const String& Value)
{
    unitID_ = Value;
    Invalidate();
    if (unitPane_) unitPane_->Invalidate();
}

void TEsgUnitEditBtn::SetUnitSpace(int Value)
{
    unitSize_ = Value;
    SetEditRect();
    PlaceUnitPane();
    Invalidate();
}

void TEsgUnitEditBtn::SetTextAndUnit(const String& Value)
{
    for (int i = 0; i < units_->Count(); ++i) {
        String u = units_->Strings(i);
        if (u.empty()) continue;  // an empty unit would match every value
        size_t p = Value.find(u);
        if (p != String::npos && p + u.size() == Value.size()) {
            SetText(Value.substr(0, p));
            SetUnitID(u);
            return;
        }
    }
}

void TEsgUnitEditBtn::ClickBtn()
{
    TEsgEditBtn::ClickBtn();
    PopupMenuRequest req;
    for (int i = 0; i < units_->Count(); ++i) {
        req.Items.push_back(units_->Strings(i));
        req.Enabled.push_back(true);
    }
    req.ScreenPos = ClientToScreen(TPoint{ClientWidth() - 15, ClientHeight()});
    int chosen = UiResponder().PopupMenu(req);
    if (chosen >= 0) Perform(WM_COMMAND, static_cast<WPARAM>(chosen + 1), 0);
}

void TEsgUnitEditBtn::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_COMMAND && HiWord(Message.WParam) != kEditChangeCode) {
        int id = LoWord(Message.WParam);
        if (id >= 1 && id <= units_->Count()) {
            String old = unitID_;
            SetUnitID(units_->Strings(id - 1));
            if (old != unitID_ && OnUnitChanged) OnUnitChanged(this, unitID_);
            return;
        }
    }
    TEsgEditBtn::WndProc(Message);
}

// The hosted text editor covers the whole client area, so the unit is shown by a small
// window of its own on top of it, painted like the edit.
class TUnitPane : public TCustomControl {
public:
    explicit TUnitPane(TEsgUnitEditBtn* AOwner) : TCustomControl(AOwner), edit_(AOwner)
    {
        SetControlStyle(ControlStyle() | csOpaque);
    }

protected:
    void Paint() override
    {
        TCanvas* c = Canvas();
        c->Brush()->SetColor(edit_->Color());
        c->FillRect(ClientRect());
        c->SetFont(edit_->Font());
        c->Brush()->SetStyle(bsClear);
        TRect r = ClientRect();
        c->DrawText(edit_->UnitID(), r, DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
        c->Brush()->SetStyle(bsSolid);
    }

private:
    TEsgUnitEditBtn* edit_;
};

void TEsgUnitEditBtn::PlaceUnitPane()
{
    if (!unitPane_) {
        unitPane_ = new TUnitPane(this);
        unitPane_->SetParent(this);
    }
    int right = ClientWidth() - (Button()->Width() + 3);
    unitPane_->SetBounds(right - unitSize_, 2, std::max(unitSize_, 0), std::max(ClientHeight() - 2, 0));
    unitPane_->SetVisible(unitSize_ > 0);
    unitPane_->Invalidate();
}

void TEsgUnitEditBtn::Resize()
{
    TEsgEditBtn::Resize();
    PlaceUnitPane();
}

} // namespace grid
