// Layered top-level windows: a picture with per-pixel alpha and a constant opacity, a window
// region, and popups shown without taking the activation.
#include <QPainter>
#include <QRegion>

#include "gfx/GfxNative.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "ui/UiNative.h"

namespace plat {

void ShowPopupWindow(TWinControl* c, bool Show)
{
    UiWidget* w = ui::N(c).widget;
    if (!w) return;
    if (!Show) {
        w->hide();
        return;
    }
    if (!w->isWindow()) return;
    w->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowStaysOnTopHint |
                      Qt::WindowTransparentForInput);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->setAttribute(Qt::WA_TranslucentBackground, !ui::N(c).layered.isNull());
    w->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
    if (!ui::N(c).region.isEmpty()) w->setMask(ui::N(c).region);
    w->show();
}

bool UpdateLayeredWindow(HWND Handle, const TBitmap* Bitmap, std::uint8_t ConstantAlpha)
{
    TWinControl* c = FindControl(Handle);
    if (!c || !Bitmap || !(c->WindowExStyle() & WS_EX_LAYERED) || Bitmap->PixelFormat() != pf32bit) return false;
    NativeWindow& n = ui::N(c);
    n.layered = gfx::BitmapImage(Bitmap).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    n.layeredAlpha = ConstantAlpha;
    c->SetBounds(c->Left(), c->Top(), Bitmap->Width(), Bitmap->Height());
    if (n.widget) {
        n.widget->setAttribute(Qt::WA_TranslucentBackground, true);
        n.widget->update();
    }
    return true;
}

bool SetWindowRgn(HWND Handle, const TRect& Outer, const TRect& Hole)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    NativeWindow& n = ui::N(c);
    if (Outer.IsEmpty()) {
        n.region = QRegion();
        if (n.widget) n.widget->clearMask();
        return true;
    }
    QRegion r(Outer.Left, Outer.Top, Outer.Width(), Outer.Height());
    if (!Hole.IsEmpty()) r = r.subtracted(QRegion(Hole.Left, Hole.Top, Hole.Width(), Hole.Height()));
    n.region = r;
    if (n.widget) n.widget->setMask(r);
    return true;
}

bool PtInWindowRgn(HWND Handle, TPoint P)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    const NativeWindow& n = ui::N(c);
    if (n.region.isEmpty()) return P.X >= 0 && P.Y >= 0 && P.X < c->Width() && P.Y < c->Height();
    return n.region.contains(QPoint(P.X, P.Y));
}

} // namespace plat
