// The floating header caption and the cell picture of a row or column move.
#include "GridMoveWindows.h"

#include "EsgHTMLE.h"
#include "plat/Messages.h"

namespace grid {

THeaderDragButton::THeaderDragButton(TExtStringGrid* Grid) : plat::TCustomControl(Grid), grid_(Grid) {
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
    SetColor(plat::clBtnFace);
    SetWindowStyle(plat::WS_POPUP | plat::WS_DISABLED | plat::WS_BORDER);
    SetWindowExStyle(plat::WS_EX_TOPMOST | plat::WS_EX_TOOLWINDOW);
}

void THeaderDragButton::ShowAt(const plat::TRect& Bounds) {
    SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    if (!plat::IsWindowVisible(Handle())) plat::ShowWindow(Handle(), plat::SW_SHOWNOACTIVATE);
    Invalidate();
}

void THeaderDragButton::SetFaceCell(int ACol, int ARow) {
    faceCol_ = ACol;
    faceRow_ = ARow;
    Invalidate();
}

void THeaderDragButton::HideButton() {
    if (HandleAllocated()) plat::ShowWindow(Handle(), plat::SW_HIDE);
}

void THeaderDragButton::Paint() {
    plat::TCanvas* c = Canvas();
    const plat::TRect r = ClientRect();
    grid_->PaintFixedFace(c, faceCol_, faceRow_, r);
    c->Pen()->SetColor(plat::clBtnShadow);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Top - 1);
    c->Font()->Assign(*grid_->FixedFont());
    c->Brush()->SetStyle(plat::bsClear);
    const String caption = Caption();
    if (caption.find(u"</") != String::npos) {
        TMarkupDrawInput in;
        in.Canvas = c;
        in.Text = caption;
        in.Rect = plat::Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
        in.Images = grid_->GetGridImageList();
        in.URLColor = static_cast<TColor>(0xFF0000);
        TMarkupDrawResult out;
        DrawMarkupText(in, out);
    } else {
        plat::TRect t = r;
        c->DrawText(caption, t,
                    plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_END_ELLIPSIS |
                        plat::DT_NOPREFIX);
    }
}

TNoActiveForm::TNoActiveForm(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
    SetWindowStyle(plat::WS_POPUP | plat::WS_DISABLED);
    SetWindowExStyle(plat::WS_EX_TOPMOST | plat::WS_EX_TOOLWINDOW | plat::WS_EX_LAYERED | plat::WS_EX_TRANSPARENT);
}

void TNoActiveForm::SetPicture(const plat::TBitmap& Picture) {
    picture_.Assign(&Picture);
    picture_.SetPixelFormat(plat::pf32bit);
    // Opaque pixels: the window's constant alpha gives the blend.
    for (int y = 0; y < picture_.Height(); ++y) {
        auto* line = static_cast<std::uint8_t*>(picture_.ScanLine(y));
        for (int x = 0; x < picture_.Width(); ++x) line[x * 4 + 3] = 255;
    }
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
}

void TNoActiveForm::ShowAt(plat::TPoint Screen) {
    SetBounds(Screen.X, Screen.Y, picture_.Width(), picture_.Height());
    plat::UpdateLayeredWindow(Handle(), &picture_, Alpha);
    if (!plat::IsWindowVisible(Handle())) plat::ShowWindow(Handle(), plat::SW_SHOWNOACTIVATE);
}

void TNoActiveForm::HidePicture() {
    if (HandleAllocated()) plat::ShowWindow(Handle(), plat::SW_HIDE);
}

void TNoActiveForm::Paint() { Canvas()->Draw(0, 0, &picture_); }

} // namespace grid
