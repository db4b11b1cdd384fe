// The drop-down form, its header and footer bars, their appearances and button collections.
#include <algorithm>
#include <type_traits>

#include "EsgHTMLE.h"
#include "ExtDropDown.h"
#include "plat/Clock.h"

namespace dropdown {

using namespace plat;

namespace {

bool IsSet(TColor C) { return C != clNoColor; }

} // namespace

// ---- TDbgList ---------------------------------------------------------------------------

void TDbgList::AssignList(const TList* ListA)
{
    Clear();
    if (!ListA) return;
    for (int i = 0; i < ListA->Count(); ++i) Add(ListA->Items(i));
}

void* TDbgList::ItemsEx(int Index) const
{
    if (Index < 0 || Index >= Count()) throw Exception(u"Index out of bounds in list read access");
    return Items(Index);
}

void TDbgList::SetItemsEx(int Index, void* Value)
{
    if (Index < 0 || Index >= Count()) throw Exception(u"Index out of bounds in list write access");
    SetItems(Index, Value);
}

// ---- button items and collections ---------------------------------------------------------

void THeaderButton::ButtonChanged()
{
    if (auto* c = dynamic_cast<THeaderButtons*>(Collection())) c->ItemChanged();
}

void THeaderButton::SetCaption(const String& Value)
{
    if (caption_ == Value) return;
    caption_ = Value;
    ButtonChanged();
}

void THeaderButton::SetEnabled(bool Value)
{
    if (enabled_ == Value) return;
    enabled_ = Value;
    ButtonChanged();
}

void THeaderButton::SetWidth(int Value)
{
    if (width_ == Value) return;
    width_ = Value;
    ButtonChanged();
}

void THeaderButton::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const THeaderButton*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->caption_);
    SetImageIndex(s->imageIndex_);
    SetEnabled(s->enabled_);
    SetWidth(s->width_);
    SetHeight(s->height_);
}

void TFooterButton::Assign(const TPersistent* Source)
{
    THeaderButton::Assign(Source);
    if (const auto* s = dynamic_cast<const TFooterButton*>(Source)) SetModalResult(s->modalResult_);
}

THeaderButtons::THeaderButtons(TPersistent* AOwner) : THeaderButtons(AOwner, ItemClass<THeaderButton>()) {}

THeaderButtons::THeaderButtons(TPersistent* AOwner, ItemFactory Factory) : TCollection(std::move(Factory)), owner_(AOwner)
{
}

void THeaderButtons::Update(TCollectionItem*) {}

void THeaderButtons::ItemChanged()
{
    if (OnChange) OnChange(this);
}

TFooterButtons::TFooterButtons(TPersistent* AOwner) : THeaderButtons(AOwner, ItemClass<TFooterButton>()) {}

// ---- appearances ------------------------------------------------------------------------

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : THeaderAppearance(AOwner, std::make_unique<THeaderButtons>(AOwner))
{
    font_->SetName(u"Tahoma");
}

THeaderAppearance::THeaderAppearance(TPersistent* AOwner, std::unique_ptr<THeaderButtons> Buttons)
    : owner_(AOwner), font_(std::make_unique<TFont>()), buttons_(std::move(Buttons))
{
    buttons_->OnChange = [this](TObject*) {
        if (OnButtonsChanged) OnButtonsChanged(this);
    };
}

THeaderAppearance::~THeaderAppearance() = default;

void THeaderAppearance::Changed()
{
    if (OnChange) OnChange(this);
}

void THeaderAppearance::SetVisible(bool Value)
{
    if (visible_ == Value) return;
    visible_ = Value;
    Changed();
}

void THeaderAppearance::SetFont(const TFont* Value) { font_->Assign(Value); }

void THeaderAppearance::SetButtons(const THeaderButtons* Value) { buttons_->Assign(Value); }

void THeaderAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const THeaderAppearance*>(Source);
    // Only between appearances of the same kind (header with header, footer with footer).
    if (!s || (dynamic_cast<const TFooterAppearance*>(Source) != nullptr) !=
                  (dynamic_cast<const TFooterAppearance*>(this) != nullptr))
        return;
    colorTo_ = s->colorTo_;
    color_ = s->color_;
    borderColor_ = s->borderColor_;
    caption_ = s->caption_;
    font_->Assign(s->font_.get());
    imageIndex_ = s->imageIndex_;
    borderWidth_ = s->borderWidth_;
    gradientDirection_ = s->gradientDirection_;
    height_ = s->height_;
    SetVisible(s->visible_);
    buttonAlignment_ = s->buttonAlignment_;
    buttons_->Assign(s->buttons_.get());
}

void THeaderAppearance::AssignColors(const THeaderAppearance* Source)
{
    if (!Source) return;
    colorTo_ = Source->colorTo_;
    color_ = Source->color_;
    borderColor_ = Source->borderColor_;
    font_->Assign(Source->font_.get());
    gradientDirection_ = Source->gradientDirection_;
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : THeaderAppearance(AOwner, std::make_unique<TFooterButtons>(AOwner))
{
}

void TFooterAppearance::Assign(const TPersistent* Source)
{
    const auto* s = dynamic_cast<const TFooterAppearance*>(Source);
    if (!s) return;
    THeaderAppearance::Assign(Source);
    sizeGrip_ = s->sizeGrip_;
}

// ---- the drop-down form -----------------------------------------------------------------

TDropDownForm::TDropDownForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetVisible(false);
    // No key preview: the embedded control's keys reach the drop-down through its own
    // forwarding hooks, which decide what the control keeps; a preview would hand every key
    // to the edit a second time (a memo's typing would land in the edit as well).
}

TDropDownForm::~TDropDownForm() = default;

void TDropDownForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
}

TRect TDropDownForm::ClientRect() const
{
    TRect r = TForm::ClientRect();
    const int bw = extDropDown_ ? extDropDown_->DropDownBorderWidth() : 0;
    if (bw > 0) {
        r.Left += bw;
        r.Top += bw;
        r.Right -= bw;
        r.Bottom -= bw;
    }
    return r;
}

void TDropDownForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TForm::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TDropDownForm::Resize()
{
    TForm::Resize();
    Invalidate();
}

void TDropDownForm::PaintWindow(TCanvas* Canvas)
{
    TForm::PaintWindow(Canvas);
    if (!extDropDown_) return;
    const TExtCustomDropDown* d = extDropDown_;
    const int bw = d->DropDownBorderWidth();
    TRect r = Rect(0, 0, Width(), Height());
    TRect inner = r;
    if (bw > 0) {
        inner.Left += bw;
        inner.Top += bw;
        inner.Right -= bw;
        inner.Bottom -= bw;
    }
    if (IsSet(d->DropDownColor()) && IsSet(d->DropDownColorTo())) {
        DrawGradientSteps(Canvas, d->DropDownColor(), d->DropDownColorTo(), d->DropDownGradient() == gdHorizontal,
                          inner, 80);
    } else if (IsSet(d->DropDownColor())) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(d->DropDownColor());
        Canvas->FillRect(inner);
    }
    if (bw > 0) {
        r.Left += bw / 2;
        r.Top += bw / 2;
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(bw);
        Canvas->Pen()->SetColor(d->DropDownBorderColor());
        Canvas->Rectangle(r);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void TDropDownForm::InitializeAndUpdate()
{
    TExtCustomDropDown* d = extDropDown_;
    if (!d) return;
    // Each bar follows its appearance: created when it first becomes visible, kept after.
    auto update = [d, this](auto*& bar, auto* appearance, TAlign align) {
        using Bar = std::remove_reference_t<decltype(*bar)>;
        if (bar) {
            bar->SetExtDropDown(d);
            bar->CreateButtons();
            bar->SetVisible(appearance->Visible());
        } else if (appearance->Visible()) {
            bar = new Bar(this);
            bar->SetParent(this);
            bar->SetHeight(appearance->Height());
            bar->SetExtDropDown(d);
            bar->CreateButtons();
            bar->SetAlign(align);
        }
    };
    update(header_, d->DropDownHeader(), alTop);
    update(footer_, d->DropDownFooter(), alBottom);
    if (header_) {
        header_->OnDrawBackGround = d->OnDrawHeader;
        header_->OnGetText = d->OnGetHeaderText;
    }
    if (footer_) {
        footer_->OnDrawBackGround = d->OnDrawFooter;
        footer_->OnGetText = d->OnGetFooterText;
    }
}

void TDropDownForm::Activation(TMessage& Message)
{
    TForm::WndProc(Message);
    if (blockActivate_) return;
    if (Message.WParam != WA_INACTIVE) {
        // The top-level window that holds the drop-down keeps its caption active.
        if (extDropDown_) {
            TWinControl* top = extDropDown_;
            while (top->Parent()) top = top->Parent();
            if (top != extDropDown_) top->Perform(WM_NCACTIVATE, 1, 0);
        }
        return;
    }
    if (!Visible()) return;
    deActivateTime_ = GetTickCount();
    deActivated_ = true;
    // A window opened from inside the form (its parent walk reaches the form) keeps it open.
    const HWND other = static_cast<HWND>(Message.LParam);
    for (const TWinControl* c = other ? FindControl(other) : nullptr; c; c = OwnerWindowOf(c))
        if (c == this) return;
    if (extDropDown_)
        extDropDown_->DoHideDropDown(cancelOnDeActivate_);
    else
        Hide();
}

void TDropDownForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ACTIVATE:
        Activation(Message);
        return;
    case WM_NCHITTEST: {
        TForm::WndProc(Message);
        if (!sizeable_) return;
        const TPoint p = ScreenToClient(TPoint{LoWord(static_cast<std::uintptr_t>(Message.LParam)) << 16 >> 16,
                                               HiWord(static_cast<std::uintptr_t>(Message.LParam)) << 16 >> 16});
        if (p.X > Width() - 10 && p.Y > Height() - 10) Message.Result = HTBOTTOMRIGHT;
        return;
    }
    case WM_GETDLGCODE:
        TForm::WndProc(Message);
        Message.Result |= DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return;
    case WM_NCPAINT:
        // The border lies outside the client area (inset by the border width), where the
        // client painting never reaches: it is drawn with the window's frame. Without a
        // border colour (most styles) the ring takes the form's colour, never left unpainted.
        TForm::WndProc(Message);
        if (auto* c = reinterpret_cast<TCanvas*>(Message.WParam); c && extDropDown_) {
            const TExtCustomDropDown* d = extDropDown_;
            TRect r = Rect(0, 0, Width(), Height());
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(IsSet(d->DropDownBorderColor()) ? d->DropDownBorderColor()
                                 : IsSet(d->DropDownColor())     ? d->DropDownColor()
                                                                 : clBtnFace);
            for (int i = 0; i < extDropDown_->DropDownBorderWidth() && r.Width() > 0 && r.Height() > 0; ++i) {
                c->FrameRect(r);
                r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
            }
        }
        return;
    case WM_SIZING:
        TForm::WndProc(Message);
        if (OnSizing) OnSizing(this);
        return;
    case WM_MOUSEWHEEL: {
        TForm::WndProc(Message);
        const int delta = static_cast<short>(HiWord(static_cast<std::uintptr_t>(Message.WParam)));
        bool handled = false;
        if (delta < 0 && OnFormWheelDown) OnFormWheelDown(this, 0, TPoint{}, handled);
        if (delta > 0 && OnFormWheelUp) OnFormWheelUp(this, 0, TPoint{}, handled);
        return;
    }
    default:
        break;
    }
    TForm::WndProc(Message);
}

// ---- header and footer bars ----------------------------------------------------------

TExtHeader::TExtHeader(TComponent* AOwner) : TExtHeader(AOwner, std::make_unique<THeaderAppearance>(AOwner)) {}

TExtHeader::TExtHeader(TComponent* AOwner, std::unique_ptr<THeaderAppearance> Appearance)
    : TCustomControl(AOwner), appearance_(std::move(Appearance))
{
    SetControlStyle(csAcceptsControls | csClickEvents | csDoubleClicks);
    SetBorderStyle(bsNone);
    SetDoubleBuffered(true);
    appearance_->OnChange = [this](TObject* s) { AppearanceChanged(s); };
}

TExtHeader::~TExtHeader()
{
    appearance_->OnChange = nullptr;
}

void TExtHeader::AppearanceChanged(TObject*)
{
    SetVisible(appearance_->Visible());
    SetHeight(appearance_->Height());
}

void TExtHeader::SetExtDropDown(TExtCustomDropDown* Value)
{
    extDropDown_ = Value;
    if (!Value) return;
    SetImages(Value->Images());
    if (dynamic_cast<TExtFooter*>(this))
        appearance_->Assign(Value->DropDownFooter());
    else
        appearance_->Assign(Value->DropDownHeader());
    Invalidate();
}

void TExtHeader::SetImages(TCustomImageList* Value)
{
    images_ = Value;
    if (Value) Value->FreeNotification(this);
}

THeaderButtons* TExtHeader::Buttons() const { return extDropDown_ ? extDropDown_->DropDownHeader()->Buttons() : nullptr; }

THeaderButtons* TExtFooter::Buttons() const { return extDropDown_ ? extDropDown_->DropDownFooter()->Buttons() : nullptr; }

void TExtHeader::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

TRect TExtHeader::ButtonArea() const
{
    const TRect r = ClientRect();
    return Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
}

void TExtHeader::ClearButtons()
{
    for (int i = buttonList_.Count() - 1; i >= 0; --i) static_cast<TExtButton*>(buttonList_.Items(i))->Free();
    buttonList_.Clear();
}

void TExtHeader::CreateButtons()
{
    THeaderButtons* items = Buttons();
    if (!extDropDown_ || !items) return;
    ClearButtons();
    const TRect area = ButtonArea();
    const int a = area.Bottom - area.Top;
    for (int i = 0; i < items->Count(); ++i) {
        THeaderButton* item = items->Items(i);
        auto* b = new TExtButton(this);
        b->SetParent(this);
        b->SetAppearance(extDropDown_->ButtonAppearance());
        b->SetCaption(item->Caption());
        b->SetImages(images_);
        b->SetImageIndex(item->ImageIndex());
        b->SetEnabled(item->Enabled());
        PrepareButton(b, i);
        b->AutoSize();
        if (item->Width() > 0) b->SetWidth(item->Width());
        if (item->Height() > 0) b->SetHeight(item->Height());
        if (b->Height() > a) b->SetHeight(a);
        b->SetTag(i);
        b->OnClick = [this](TObject* s) { ButtonClicked(s); };
        buttonList_.Add(b);
    }
    UpdateButtonPositions();
}

void TExtHeader::UpdateButtonPositions()
{
    if (buttonList_.Count() == 0) return;
    const TRect area = ButtonArea();
    const bool right = appearance_->ButtonAlignment() == baRight;
    int x = right ? area.Right : area.Left;
    for (int i = 0; i < buttonList_.Count(); ++i) {
        TExtButton* b = ButtonAt(i);
        const int top = std::max(area.Top, (area.Bottom - b->Height()) / 2);
        if (right) {
            x -= b->Width();
            b->SetBounds(x, top, b->Width(), b->Height());
        } else {
            b->SetBounds(x, top, b->Width(), b->Height());
            x += b->Width();
        }
    }
}

void TExtHeader::UpdateButtons()
{
    THeaderButtons* items = Buttons();
    for (int i = 0; i < buttonList_.Count(); ++i) {
        TExtButton* b = ButtonAt(i);
        if (extDropDown_) b->SetAppearance(extDropDown_->ButtonAppearance());
        b->SetImages(images_);
        if (items && i < items->Count()) {
            b->SetCaption(items->Items(i)->Caption());
            b->SetImageIndex(items->Items(i)->ImageIndex());
            b->SetEnabled(items->Items(i)->Enabled());
        }
        b->AutoSize();
    }
    UpdateButtonPositions();
}

void TExtHeader::Resize()
{
    TCustomControl::Resize();
    UpdateButtonPositions();
}

bool TExtHeader::DropDownHasBorder() const
{
    return extDropDown_ && extDropDown_->DropDownBorderWidth() > 0 && IsSet(extDropDown_->DropDownBorderColor());
}

void TExtHeader::ButtonClicked(TObject* Sender)
{
    auto* b = dynamic_cast<TExtButton*>(Sender);
    if (b && extDropDown_ && extDropDown_->OnDropDownHeaderButtonClick)
        extDropDown_->OnDropDownHeaderButtonClick(extDropDown_, static_cast<int>(b->Tag()));
}

void TExtHeader::PaintFrame(TCanvas* Canvas, const TRect& R)
{
    const THeaderAppearance* ap = appearance_.get();
    const int bw = ap->BorderWidth();
    if (!IsSet(ap->BorderColor()) || bw <= 0) return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(bw);
    Canvas->Pen()->SetColor(ap->BorderColor());
    Canvas->MoveTo(R.Left, R.Bottom - 1);
    Canvas->LineTo(R.Right, R.Bottom - 1);
    if (!DropDownHasBorder()) {
        Canvas->MoveTo(R.Left, R.Bottom - 1);
        Canvas->LineTo(R.Left, R.Top);
        Canvas->LineTo(R.Right, R.Top);
        Canvas->LineTo(R.Right, R.Bottom - 1);
    }
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(MixColors(ap->BorderColor(), clWhite, 20));
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom - bw);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TExtFooter::PaintFrame(TCanvas* Canvas, const TRect& R)
{
    const THeaderAppearance* ap = appearance_.get();
    const int bw = ap->BorderWidth();
    if (!IsSet(ap->BorderColor()) || bw <= 0) return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(bw);
    Canvas->Pen()->SetColor(ap->BorderColor());
    Canvas->MoveTo(R.Left, R.Top);
    Canvas->LineTo(R.Right, R.Top);
    if (!DropDownHasBorder()) {
        Canvas->MoveTo(R.Left, R.Top);
        Canvas->LineTo(R.Left, R.Bottom);
        Canvas->LineTo(R.Right, R.Bottom);
        Canvas->LineTo(R.Right, R.Top);
    }
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(MixColors(ap->BorderColor(), clWhite, 20));
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Rectangle(R.Left, R.Top + bw, R.Right, R.Bottom);
    Canvas->Brush()->SetStyle(bsSolid);
}

void TExtHeader::Paint()
{
    TCanvas* Canvas = this->Canvas();
    const TRect R = ClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, Canvas, R);
        return;
    }
    const THeaderAppearance* ap = appearance_.get();
    if (!IsSet(ap->ColorTo())) {
        if (IsSet(ap->Color())) {
            Canvas->Brush()->SetStyle(bsSolid);
            Canvas->Brush()->SetColor(ap->Color());
            Canvas->FillRect(R);
        }
    } else {
        DrawGradientSteps(Canvas, ap->Color(), ap->ColorTo(), ap->GradientDirection() == gdHorizontal, R, 80);
    }
    PaintFrame(Canvas, R);

    const int bw = ap->BorderWidth();
    TRect c = Rect(R.Left + bw, R.Top + bw, R.Right - bw, R.Bottom - bw);
    if (ap->ImageIndex() >= 0 && images_) {
        images_->Draw(Canvas, c.Left + 4, c.Top + (c.Height() - images_->Height()) / 2, ap->ImageIndex(), true);
        c.Left = c.Left + images_->Width() + 8;
    }
    String text = ap->Caption();
    if (OnGetText) OnGetText(this, text);
    if (!text.empty()) {
        if (buttonList_.Count() > 0) c.Right = ButtonAt(buttonList_.Count() - 1)->Left() - 2;
        Canvas->Font()->Assign(ap->Font());
        grid::TMarkupDrawInput in;
        in.Canvas = Canvas;
        in.Text = text;
        in.Rect = c;
        in.Images = images_;
        in.MeasureOnly = true;
        grid::TMarkupDrawResult out;
        grid::DrawMarkupText(in, out);
        if (out.YSize < c.Height()) c.Top += (c.Height() - out.YSize) / 2;
        in.Rect = c;
        in.MeasureOnly = false;
        Canvas->Brush()->SetStyle(bsClear);
        grid::DrawMarkupText(in, out);
        Canvas->Brush()->SetStyle(bsSolid);
    }
    PaintExtras(Canvas, R);
}

TExtFooter::TExtFooter(TComponent* AOwner) : TExtHeader(AOwner, std::make_unique<TFooterAppearance>(AOwner))
{
    SetControlStyle(ControlStyle() | csCaptureMouse);
}

bool TExtFooter::GripShown() const
{
    return Appearance()->SizeGrip() && extDropDown_ && extDropDown_->DropDownSizeable();
}

TRect TExtFooter::ButtonArea() const
{
    const TRect r = ClientRect();
    return Rect(r.Left + 2, r.Top + 2, r.Right - (GripShown() ? 14 : 2), r.Bottom - 2);
}

void TExtFooter::PrepareButton(TExtButton* Button, int Index)
{
    Button->SetExtDropDown(extDropDown_);
    auto* items = static_cast<TFooterButtons*>(Buttons());
    if (items && Index < items->Count()) Button->SetModalResult(items->Items(Index)->ModalResult());
}

void TExtFooter::ButtonClicked(TObject* Sender)
{
    auto* b = dynamic_cast<TExtButton*>(Sender);
    if (b && extDropDown_ && extDropDown_->OnDropDownFooterButtonClick)
        extDropDown_->OnDropDownFooterButtonClick(extDropDown_, static_cast<int>(b->Tag()));
}

void TExtFooter::PaintExtras(TCanvas* Canvas, const TRect& R)
{
    if (!GripShown()) return;
    const int bw = appearance_->BorderWidth();
    const TRect g = Rect(R.Right - bw - 16, 1, R.Right - bw - 1, R.Bottom);
    const int L = g.Left, B = g.Bottom;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(clWhite);
    for (const TPoint p : {TPoint{L + 5, B - 4}, TPoint{L + 9, B - 4}, TPoint{L + 13, B - 4}, TPoint{L + 13, B - 8},
                           TPoint{L + 13, B - 12}, TPoint{L + 9, B - 8}})
        Canvas->FillRect(Rect(p.X, p.Y, p.X + 2, p.Y + 2));
    Canvas->Brush()->SetColor(appearance_->BorderColor());
    for (const TPoint p : {TPoint{L + 4, B - 5}, TPoint{L + 8, B - 5}, TPoint{L + 12, B - 5}, TPoint{L + 12, B - 9},
                           TPoint{L + 12, B - 13}, TPoint{L + 8, B - 9}})
        Canvas->FillRect(Rect(p.X, p.Y, p.X + 2, p.Y + 2));
}

bool TExtFooter::InGrip(int X, int Y) const { return X > Width() - 12 && Y > Height() - 15; }

void TExtFooter::RestoreCursor() { Screen->SetCursor(oldCursor_); }

void TExtFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && GripShown() && Parent() && InGrip(X, Y)) {
        SetMouseCapture(false);
        if (TCustomForm* f = GetParentForm(this)) {
            const TPoint p = ClientToScreen(TPoint{X, Y});
            f->Perform(WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTBOTTOMRIGHT), MakeLParam(p.X, p.Y));
        }
        return;
    }
    TExtHeader::MouseDown(Button, Shift, X, Y);
}

void TExtFooter::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtHeader::MouseMove(Shift, X, Y);
    if (GripShown() && InGrip(X, Y))
        Screen->SetCursor(crSizeNWSE);
    else
        RestoreCursor();
}

void TExtFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtHeader::MouseUp(Button, Shift, X, Y);
    RestoreCursor();
}

void TExtFooter::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_MOUSEENTER) {
        if (Screen->Cursor() != crSizeNWSE) oldCursor_ = Screen->Cursor();
    } else if (Message.Msg == CM_MOUSELEAVE) {
        RestoreCursor();
    }
    TExtHeader::WndProc(Message);
}

} // namespace dropdown
