#include "EsgDateTimePicker.h"

#include <algorithm>

#include "plat/Controls.h"
#include "plat/Messages.h"
#include "plat/SysUtils.h"

namespace grid {

using plat::TCanvas;
using plat::TPoint;
using plat::TRect;

namespace {

void FrameIn(TCanvas* Canvas, const TRect& R, TColor Color) {
    Canvas->Brush()->SetStyle(plat::bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FrameRect(R);
}

TRect Shrunk(TRect R, int D) { return {R.Left + D, R.Top + D, R.Right - D, R.Bottom - D}; }

} // namespace

// ---- TBorderedDateTimePicker ------------------------------------------------------------------

TBorderedDateTimePicker::TBorderedDateTimePicker(plat::TComponent* AOwner) : plat::TDateTimePicker(AOwner) {
    SetDoubleBuffered(true);
}

void TBorderedDateTimePicker::LookChanged() {
    Invalidate();
    InvalidateFrame();
}

void TBorderedDateTimePicker::SetMetroStyle(bool Value) {
    if (FMetroStyle == Value) return;
    FMetroStyle = Value;
    LookChanged();
}

void TBorderedDateTimePicker::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    LookChanged();
}

void TBorderedDateTimePicker::SetFocusBorderColor(TColor Value) {
    if (FFocusBorderColor == Value) return;
    FFocusBorderColor = Value;
    LookChanged();
}

bool TBorderedDateTimePicker::LookAllowed() const {
    return FMetroStyle && !HasState(plat::csDesigning) && CustomBordersAllowed();
}

void TBorderedDateTimePicker::Paint() {
    plat::TDateTimePicker::Paint();
    if (LookAllowed() && Kind() == plat::dtkDate && DateMode() == plat::dmComboBox) PaintMetroButton(Canvas());
}

void TBorderedDateTimePicker::PaintMetroButton(TCanvas* Canvas) {
    const TRect client = ClientRect();
    const int w = client.Right, h = client.Bottom, bw = ButtonWidth();
    // The layer's own button goes under the control's brush first.
    Canvas->Brush()->SetStyle(plat::bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(TRect{w - bw - 2, 0, w, h});
    TRect r = Shrunk(TRect{w - bw + 2, 0, w, h}, 1);
    if (ButtonColor == kNoColor) {
        r.Left -= 4;
        r.Top += 1;
        r.Bottom -= 1;
        plat::DrawFrameControl(Canvas, r, plat::DFC_SCROLL, plat::DFCS_SCROLLCOMBOBOX | (Enabled() ? 0u : plat::DFCS_INACTIVE));
        return;
    }
    const bool held = FButtonHover && plat::GetKeyState(static_cast<int>(plat::VK_LBUTTON)) < 0;
    TColor face = ButtonColor;
    if (held && ButtonColorDown != kNoColor) face = ButtonColorDown;
    else if (FButtonHover && !held && ButtonColorHot != kNoColor) face = ButtonColorHot;
    r = Shrunk(r, 1);
    r.Left += 2;
    Canvas->Brush()->SetStyle(plat::bsSolid);
    Canvas->Brush()->SetColor(face);
    Canvas->FillRect(r);
    Canvas->Pen()->SetStyle(plat::psSolid);
    if (ButtonBorderColor != kNoColor) {
        Canvas->Pen()->SetColor(ButtonBorderColor);
        Canvas->MoveTo(r.Left, r.Top);
        Canvas->LineTo(r.Left, r.Bottom);
    }
    TColor arrow = ButtonTextColor;
    if (held && ButtonTextColorDown != kNoColor) arrow = ButtonTextColorDown;
    else if (FButtonHover && !held && ButtonTextColorHot != kNoColor) arrow = ButtonTextColorHot;
    if (arrow == kNoColor) arrow = plat::clBtnText;
    Canvas->Pen()->SetColor(arrow);
    Canvas->Brush()->SetColor(arrow);
    // The arrow stands centred in the face: the layer's button strip is narrower than the
    // face the arrow's fixed offsets were made for.
    const int cx = (r.Left + r.Right) / 2;
    Canvas->Polygon({TPoint{cx - 3, r.Top + 7}, TPoint{cx + 3, r.Top + 7}, TPoint{cx, r.Top + 10}});
}

void TBorderedDateTimePicker::PaintFrame() {
    const bool borders = LookAllowed() && (!Enabled() || FBorderColor != kNoColor || FFocusBorderColor != kNoColor);
    const bool outline = FlatOutlineWanted();
    if ((!borders && !outline) || !HandleAllocated()) return;
    auto canvas = plat::GetWindowCanvas(Handle());
    if (!canvas) return;
    if (borders) PaintBorders(canvas.get());
    if (outline) PaintFlatOutline(canvas.get());
}

void TBorderedDateTimePicker::PaintBorders(TCanvas* Canvas) {
    const int w = Width(), h = Height(), bw = ButtonWidth();
    const TRect r{0, 0, w, h};
    const TColor parent = Parent() ? Parent()->Color() : plat::clBtnFace;
    if (FBorderColor != kNoColor && !(FHasFocus && FFocusBorderColor != kNoColor)) {
        FrameIn(Canvas, r, FBorderColor);
    } else if (FFocusBorderColor != kNoColor) {
        if (FHasFocus) FrameIn(Canvas, r, FFocusBorderColor);
    } else if (FocusBorder && (FMouseInControl || FHasFocus)) {
        TRect e = r;
        plat::DrawEdge(Canvas, e, plat::BDR_SUNKENOUTER, plat::BF_RECT | plat::BF_ADJUST);
        FrameIn(Canvas, e, plat::clBtnFace);
        FrameIn(Canvas, Shrunk(e, 1), Color());
    } else {
        FrameIn(Canvas, r, parent);
        TRect r1 = Shrunk(r, 1);
        r1.Right -= bw;
        FrameIn(Canvas, r1, parent);
        FrameIn(Canvas, Shrunk(r, 2), Color());
    }
    if (Kind() != plat::dtkDate || DateMode() != plat::dmComboBox) return;
    // The ring around the button: raised while hot or focused (flat while the calendar is
    // open), else the face colour.
    Canvas->ExcludeClipRect(w - bw + 4, 4, w - 4, h - 4);
    TRect b = Shrunk(TRect{w - bw - 2, 0, w, h}, 2);
    if (FMouseInControl || FHasFocus) {
        TRect e = b;
        plat::DrawEdge(Canvas, e, DroppedDown() ? plat::BDR_RAISEDINNER : plat::EDGE_RAISED, plat::BF_RECT | (DroppedDown() ? plat::BF_FLAT : 0u));
    } else {
        b.Top += 1;
        b.Bottom -= 1;
        b.Right -= 1;
        Canvas->Brush()->SetStyle(plat::bsSolid);
        Canvas->Brush()->SetColor(plat::clBtnFace);
        Canvas->FillRect(b);
    }
}

void TBorderedDateTimePicker::PaintFlatOutline(TCanvas* Canvas) {
    const int w = Width(), h = Height();
    const TColor parent = Parent() ? Parent()->Color() : plat::clBtnFace;
    const bool none = BorderStyle() == plat::bsNone;
    Canvas->Pen()->SetStyle(plat::psSolid);
    Canvas->Pen()->SetColor(none || FBorderColor == kNoColor ? parent : FBorderColor);
    Canvas->MoveTo(0, h);
    Canvas->LineTo(0, 0);
    Canvas->LineTo(w - 1, 0);
    Canvas->LineTo(w - 1, h - 1);
    Canvas->LineTo(0, h - 1);
    Canvas->Pen()->SetColor(parent);
    Canvas->MoveTo(1, h - 2);
    Canvas->LineTo(1, 1);
    Canvas->LineTo(w - 1, 1);
}

void TBorderedDateTimePicker::MouseMove(plat::TShiftState Shift, int X, int Y) {
    plat::TDateTimePicker::MouseMove(Shift, X, Y);
    // X counts from the client origin; the button test counts from the window's corner.
    const int x = X + ClientAreaInWindow().Left;
    const bool over = Width() - ButtonWidth() < x && x < Width();
    if (over != FButtonHover) {
        FButtonHover = over;
        LookChanged();
    }
}

void TBorderedDateTimePicker::WndProc(plat::TMessage& Message) {
    switch (Message.Msg) {
    case plat::WM_PAINT:
    case plat::WM_NCPAINT:
        plat::TDateTimePicker::WndProc(Message);
        PaintFrame();
        return;
    case plat::CM_ENTER:
    case plat::CM_EXIT:
        plat::TDateTimePicker::WndProc(Message);
        if (!HasState(plat::csDesigning) && FHasFocus != (Message.Msg == plat::CM_ENTER)) {
            FHasFocus = Message.Msg == plat::CM_ENTER;
            LookChanged();
        }
        return;
    case plat::CM_MOUSEENTER:
    case plat::CM_MOUSELEAVE:
        plat::TDateTimePicker::WndProc(Message);
        if (Enabled()) FMouseInControl = Message.Msg == plat::CM_MOUSEENTER;
        if (Message.Msg == plat::CM_MOUSELEAVE) FButtonHover = false;
        LookChanged();
        return;
    case plat::WM_LBUTTONDOWN:
    case plat::WM_LBUTTONUP:
        // The pressed face follows the button.
        plat::TDateTimePicker::WndProc(Message);
        if (LookAllowed() && ButtonColor != kNoColor) Invalidate();
        return;
    default:
        break;
    }
    plat::TDateTimePicker::WndProc(Message);
}

// ---- TEsgDateTimePicker -----------------------------------------------------------------------

TEsgDateTimePicker::TEsgDateTimePicker(plat::TComponent* AOwner) : TBorderedDateTimePicker(AOwner) {
    SetBorderStyle(plat::bsNone);
}

String TEsgDateTimePicker::Version() const {
    const unsigned v = static_cast<unsigned>(GetVersionNr());
    return plat::IntToStr(v >> 24) + u"." + plat::IntToStr((v >> 16) & 0xFF) + u"." + plat::IntToStr((v >> 8) & 0xFF) +
           u"." + plat::IntToStr(v & 0xFF);
}

} // namespace grid
