#include "EsgDateTimePicker.h"

#include "plat/SysUtils.h"

namespace grid {

TEsgDateTimePicker::TEsgDateTimePicker(plat::TComponent* AOwner) : plat::TDateTimePicker(AOwner) {
    SetBorderStyle(plat::bsNone);
}

void TEsgDateTimePicker::SetMetroStyle(bool Value) {
    if (FMetroStyle == Value) return;
    FMetroStyle = Value;
    Invalidate();
}

void TEsgDateTimePicker::SetBorderColor(TColor Value) {
    if (FBorderColor == Value) return;
    FBorderColor = Value;
    Invalidate();
}

void TEsgDateTimePicker::SetFocusBorderColor(TColor Value) {
    if (FFocusBorderColor == Value) return;
    FFocusBorderColor = Value;
    Invalidate();
}

String TEsgDateTimePicker::Version() const {
    const unsigned v = static_cast<unsigned>(GetVersionNr());
    return plat::IntToStr(v >> 24) + u"." + plat::IntToStr((v >> 16) & 0xFF) + u"." + plat::IntToStr((v >> 8) & 0xFF) +
           u"." + plat::IntToStr(v & 0xFF);
}

void TEsgDateTimePicker::Paint() {
    plat::TDateTimePicker::Paint();
    // With the metro style a set border colour (the focus border colour while focused) frames
    // the control.
    if (!FMetroStyle) return;
    TColor frame = FBorderColor;
    if (Focused() && FFocusBorderColor != kNoColor) frame = FFocusBorderColor;
    if (frame == kNoColor) return;
    plat::TCanvas* c = Canvas();
    c->Brush()->SetStyle(plat::bsClear);
    c->Pen()->SetColor(frame);
    const plat::TRect r = ClientRect();
    c->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

} // namespace grid
