// Layered top-level windows: a picture with per-pixel alpha and a constant opacity, a window
// region, and popups shown without taking the activation. A display without a compositing
// manager cannot blend a window over what lies below (its transparent pixels come out black),
// so there the window's shape is a mask and every pixel it paints is opaque.
#include <QGuiApplication>
#include <QPainter>
#include <QRegion>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef CONFIGURATOR_HAVE_XCB
#include <xcb/xcb.h>
#endif

#include "gfx/GfxNative.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

std::optional<bool> g_compositesAnswer;

#ifdef CONFIGURATOR_HAVE_XCB
// The X screen the application shows on: the number after the '.' of DISPLAY, else 0.
int XScreenNumber()
{
    const char* d = std::getenv("DISPLAY");
    if (!d) return 0;
    const char* colon = std::strrchr(d, ':');
    const char* dot = colon ? std::strchr(colon, '.') : nullptr;
    if (!dot || dot[1] < '0' || dot[1] > '9') return 0;
    return std::atoi(dot + 1);
}

// A compositing manager owns the selection _NET_WM_CM_S<screen> while it runs.
bool XCompositorRuns(xcb_connection_t* conn)
{
    const std::string name = "_NET_WM_CM_S" + std::to_string(XScreenNumber());
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(conn, xcb_intern_atom(conn, 1, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom) return false;
    const xcb_atom_t a = atom->atom;
    std::free(atom);
    if (a == XCB_ATOM_NONE) return false;  // never registered: no manager ever ran
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(conn, xcb_get_selection_owner(conn, a), nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return owned;
}
#endif

bool AskDisplay()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
#ifdef CONFIGURATOR_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection()) return XCompositorRuns(x11->connection());
#endif
    // An X display that cannot be asked: opaque painting shows right with or without a compositor.
    return false;
}

} // namespace

namespace ui {

bool DisplayComposites() { return g_compositesAnswer ? *g_compositesAnswer : AskDisplay(); }

void SetDisplayCompositesAnswer(std::optional<bool> Answer) { g_compositesAnswer = Answer; }

QImage LayeredPicture(const NativeWindow& n, bool composites)
{
    if (composites) {
        QImage img(n.layered.size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setOpacity(n.layeredAlpha / 255.0);
        p.drawImage(0, 0, n.layered);
        return img;
    }
    // Straight colours with the alpha set to full; the constant opacity needs a compositor too.
    return n.layered.convertToFormat(QImage::Format_ARGB32).convertToFormat(QImage::Format_RGB32).convertToFormat(
        QImage::Format_ARGB32_Premultiplied);
}

QRegion LayeredMask(const NativeWindow& n, bool composites)
{
    if (composites || n.layered.isNull()) return n.region;
    // Pixels the picture leaves fully transparent would paint black: they stay out of the shape.
    const QImage& img = n.layered;  // premultiplied 32-bit
    std::vector<QRect> spans;
    bool any = false, all = true;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width();) {
            if (qAlpha(row[x]) == 0) {
                all = false;
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < img.width() && qAlpha(row[x]) != 0) ++x;
            spans.emplace_back(x0, y, x - x0, 1);
            any = true;
        }
    }
    if (all) {
        // Every pixel shows: the region, or the whole picture (an empty mask would show nothing).
        return n.region.isEmpty() ? QRegion(0, 0, img.width(), img.height()) : n.region;
    }
    QRegion shown;
    if (any) shown.setRects(spans.data(), static_cast<int>(spans.size()));
    return n.region.isEmpty() ? shown : n.region.intersected(shown);
}

void ApplyLayeredShape(NativeWindow& n)
{
    UiWidget* w = n.widget;
    if (!w) return;
    // A child window is blended by its parent's painting, which needs no compositor.
    const bool composites = !w->isWindow() || DisplayComposites();
    const bool layered = !n.layered.isNull();
    n.layeredComposites = composites;
    if (layered) {
        w->setAttribute(Qt::WA_OpaquePaintEvent, !composites);
        w->setAttribute(Qt::WA_TranslucentBackground, composites);
    }
    const QRegion mask = LayeredMask(n, composites);
    if (mask.isEmpty() && n.region.isEmpty() && (composites || !layered)) w->clearMask();
    else if (mask.isEmpty()) w->setMask(QRegion(-1, -1, 1, 1));  // nothing shows: a shape outside the window
    else w->setMask(mask);
}

} // namespace ui

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
    if (ui::N(c).layered.isNull()) w->setAttribute(Qt::WA_TranslucentBackground, false);
    w->setGeometry(c->Left(), c->Top(), c->Width(), c->Height());
    ui::ApplyLayeredShape(ui::N(c));
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
        ui::ApplyLayeredShape(n);
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
    } else {
        QRegion r(Outer.Left, Outer.Top, Outer.Width(), Outer.Height());
        if (!Hole.IsEmpty()) r = r.subtracted(QRegion(Hole.Left, Hole.Top, Hole.Width(), Hole.Height()));
        n.region = r;
    }
    ui::ApplyLayeredShape(n);
    return true;
}

bool SetWindowRgn(HWND Handle, const TRegion& Region)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    NativeWindow& n = ui::N(c);
    n.region = gfx::NativeRegion(Region);
    ui::ApplyLayeredShape(n);
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
