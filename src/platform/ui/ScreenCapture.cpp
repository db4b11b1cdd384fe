// What the screen shows in a rectangle. Offscreen (and wherever the window system gives no
// pixels) the layer composes it from the window surfaces it painted: the shown forms from
// the bottom of the stack up, then the visible popups and tool windows (hints) above them.
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

#include "gfx/GfxNative.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ScreenCapture.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

// The shown windows of the program except Exclude, from their surfaces, over Below (the
// display's picture of R) or, without one, over the desktop colour.
QImage ComposeFromSurfaces(const TRect& R, HWND Exclude = 0, const QImage* Below = nullptr)
{
    QImage out(std::max(0, R.Width()), std::max(0, R.Height()), QImage::Format_ARGB32_Premultiplied);
    if (Below) {
        out.fill(Qt::black);
        QPainter b(&out);
        b.setCompositionMode(QPainter::CompositionMode_Source);
        b.drawImage(0, 0, *Below);
    } else {
        const TColor desktop = ColorToRGB(clBackground);
        out.fill(QColor(desktop & 0xFF, (desktop >> 8) & 0xFF, (desktop >> 16) & 0xFF));
    }
    QPainter p(&out);
    auto draw = [&](TWinControl* c) {
        TRect wr;
        if (!c->HandleAllocated() || (Exclude != 0 && c->Handle() == Exclude) || !GetWindowRect(c->Handle(), wr)) return;
        const TRect hit{std::max(wr.Left, R.Left), std::max(wr.Top, R.Top), std::min(wr.Right, R.Right),
                        std::min(wr.Bottom, R.Bottom)};
        if (hit.Width() <= 0 || hit.Height() <= 0) return;
        p.drawImage(QPoint(wr.Left - R.Left, wr.Top - R.Top), ui::GrabWindow(c));
    };
    std::vector<TCustomForm*> forms = ui::ShownForms();
    for (auto it = forms.rbegin(); it != forms.rend(); ++it) draw(*it);
    std::vector<std::pair<HWND, TWinControl*>> popups;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* uw = dynamic_cast<UiWidget*>(w);
        if (!uw || !uw->isVisible() || !uw->native() || !uw->native()->control) continue;
        TWinControl* c = uw->native()->control;
        if (dynamic_cast<TCustomForm*>(c) || !c->HandleAllocated()) continue;
        popups.emplace_back(c->Handle(), c);
    }
    std::sort(popups.begin(), popups.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [h, c] : popups) draw(c);
    return out;
}

} // namespace

void CaptureScreen(const TRect& R, TBitmap& Target)
{
    ui::EnsureApplication();
    QImage img;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (QScreen* s = QGuiApplication::primaryScreen())
            img = s->grabWindow(0, R.Left, R.Top, R.Width(), R.Height()).toImage();
    }
    if (img.isNull() || img.width() != R.Width() || img.height() != R.Height()) img = ComposeFromSurfaces(R);
    Target.SetSize(std::max(0, R.Width()), std::max(0, R.Height()));
    QImage& dst = gfx::BitmapImage(&Target);
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void CaptureScreen(const TRect& R, TBitmap& Target, HWND Exclude)
{
    if (Exclude == 0) {
        CaptureScreen(R, Target);
        return;
    }
    ui::EnsureApplication();
    QImage below;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (QScreen* s = QGuiApplication::primaryScreen())
            below = s->grabWindow(0, R.Left, R.Top, R.Width(), R.Height()).toImage();
        if (below.width() != R.Width() || below.height() != R.Height()) below = QImage();
    }
    // The display may still show the excluded window where it was: the program's own
    // windows are redrawn from their surfaces over whatever it shows.
    const QImage img = ComposeFromSurfaces(R, Exclude, below.isNull() ? nullptr : &below);
    Target.SetSize(std::max(0, R.Width()), std::max(0, R.Height()));
    QImage& dst = gfx::BitmapImage(&Target);
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, img);
}

} // namespace plat
