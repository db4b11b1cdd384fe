#include "plat/ExtCtrls.h"

#include <algorithm>

#include "StdCommon.h"

namespace plat {

using namespace std_detail;

namespace {

// Top/left lines in one colour, bottom/right in another, Width times inwards.
void Frame3D(TCanvas* C, TRect& R, TColor TopColor, TColor BottomColor, int Width)
{
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetWidth(1);
    for (int i = 0; i < Width && R.Width() > 0 && R.Height() > 0; ++i) {
        C->Pen()->SetColor(TopColor);
        C->MoveTo(R.Left, R.Bottom - 1);
        C->LineTo(R.Left, R.Top);
        C->LineTo(R.Right - 1, R.Top);
        C->Pen()->SetColor(BottomColor);
        C->LineTo(R.Right - 1, R.Bottom - 1);
        C->LineTo(R.Left - 1, R.Bottom - 1);
        R = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
}

void BevelColors(TBevelCut Cut, TColor& Top, TColor& Bottom)
{
    Top = Cut == bvLowered ? clBtnShadow : clBtnHighlight;
    Bottom = Cut == bvLowered ? clBtnHighlight : clBtnShadow;
}

} // namespace

// ---- TCustomPanel ------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) { bevelOuter_ = Value; Realign(); Invalidate(); }
void TCustomPanel::SetBevelInner(TBevelCut Value) { bevelInner_ = Value; Realign(); Invalidate(); }
void TCustomPanel::SetBevelWidth(int Value) { bevelWidth_ = std::max(1, Value); Realign(); Invalidate(); }
void TCustomPanel::SetBorderWidth(int Value) { borderWidth_ = std::max(0, Value); Realign(); Invalidate(); }
void TCustomPanel::SetAlignment(TAlignment Value) { alignment_ = Value; Invalidate(); }

void TCustomPanel::AlignControls(TControl* AControl, TRect& Rect)
{
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    Rect = {Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset};
    TCustomControl::AlignControls(AControl, Rect);
}

void TCustomPanel::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TColor top, bottom;
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(c, r, top, bottom, bevelWidth_);
    }
    Frame3D(c, r, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(c, r, top, bottom, bevelWidth_);
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    const String caption = Caption();
    if (caption.empty())
        return;
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (alignment_ == taCenter)
        flags |= DT_CENTER;
    else if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    c->DrawText(caption, r, flags);
}

void TCustomPanel::WndProc(TMessage& Message)
{
    if (!RepaintOnChange(this, Message, roText | roFont | roColor | roEnabled))
        TCustomControl::WndProc(Message);
}

// ---- TShape ------------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 65);
    pen_.OnChange = [this](TObject*) { Invalidate(); };
    brush_.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value)
{
    if (shape_ == Value)
        return;
    shape_ = Value;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* c = Canvas();
    c->SetPen(&pen_);
    c->SetBrush(&brush_);
    const int penWidth = pen_.Width();
    int x = penWidth / 2;
    int y = x;
    int w = Width() - penWidth + 1;
    int h = Height() - penWidth + 1;
    if (penWidth == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (shape_) {
    case stRectangle:
    case stSquare:
        c->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        c->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stEllipse:
    case stCircle:
        c->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// ---- TImage ------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::SetStretch(bool Value) { stretch_ = Value; Invalidate(); }
void TImage::SetCenter(bool Value) { center_ = Value; Invalidate(); }
void TImage::SetProportional(bool Value) { proportional_ = Value; Invalidate(); }
void TImage::SetTransparent(bool Value) { transparent_ = Value; Invalidate(); }

void TImage::SetAutoSize(bool Value)
{
    autoSize_ = Value;
    PictureChanged();
}

void TImage::PictureChanged()
{
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0)
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

TRect TImage::DestRect() const
{
    const int pw = picture_.Width();
    const int ph = picture_.Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    int w = pw;
    int h = ph;
    if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
        if (proportional_ && pw > 0 && ph > 0) {
            // Fit inside the client area keeping the aspect ratio.
            if (static_cast<long long>(cw) * ph < static_cast<long long>(ch) * pw) {
                w = cw;
                h = static_cast<int>(static_cast<long long>(ph) * cw / pw);
            } else {
                h = ch;
                w = static_cast<int>(static_cast<long long>(pw) * ch / ph);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0;
    int y = 0;
    if (center_) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return Bounds(x, y, w, h);
}

void TImage::Paint()
{
    TCanvas* c = Canvas();
    TGraphic* g = picture_.Graphic();
    if (!g || g->Empty())
        return;
    g->SetTransparent(transparent_);
    const TRect dest = DestRect();
    if (dest.Width() == g->Width() && dest.Height() == g->Height())
        c->Draw(dest.Left, dest.Top, g);
    else
        c->StretchDraw(dest, g);
}

// ---- TPaintBox ---------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    TCanvas* c = Canvas();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    if (OnPaint)
        OnPaint(this);
}

// ---- TSplitter ---------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool Value)
{
    beveled_ = Value;
    Invalidate();
}

TControl* TSplitter::FindResizeControl() const
{
    TWinControl* p = Parent();
    if (!p || Align() == alNone || Align() == alClient)
        return nullptr;
    TPoint probe;
    switch (Align()) {
    case alLeft: probe = {Left() - 1, Top()}; break;
    case alRight: probe = {Left() + Width(), Top()}; break;
    case alTop: probe = {Left(), Top() - 1}; break;
    case alBottom: probe = {Left(), Top() + Height()}; break;
    default: return nullptr;
    }
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c != this && c->Visible() && c->Align() == Align() && c->BoundsRect().Contains(probe))
            return c;
    }
    return nullptr;
}

void TSplitter::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (beveled_)
        DrawEdge(c, r, BDR_RAISEDINNER, BF_RECT);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    control_ = FindResizeControl();
    if (!control_)
        return;
    downPos_ = ClientToScreen({X, Y});
    startSize_ = (Align() == alLeft || Align() == alRight) ? control_->Width() : control_->Height();
    dragging_ = true;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_ || !control_)
        return;
    const TPoint now = ClientToScreen({X, Y});
    const int dx = now.X - downPos_.X;
    const int dy = now.Y - downPos_.Y;
    int size = startSize_;
    switch (Align()) {
    case alLeft: size += dx; break;
    case alRight: size -= dx; break;
    case alTop: size += dy; break;
    case alBottom: size -= dy; break;
    default: break;
    }
    size = std::max(size, minSize_);
    if (Align() == alLeft || Align() == alRight)
        control_->SetWidth(size);
    else
        control_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_)
        return;
    dragging_ = false;
    control_ = nullptr;
    if (OnMoved)
        OnMoved(this);
}

} // namespace plat
