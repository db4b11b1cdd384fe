// The native side of windows: the Qt widget of each windowed control, the handle table,
// painting into surfaces, mouse routing with the layer's capture, the key pipeline entry,
// posted and sent messages, key state and the window functions.
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWheelEvent>

#include <array>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/SystemInput.h"
#include "plat/Graphics.h"
#include "plat/SysUtils.h"
#include "plat/Threads.h"
#include "gfx/GfxNative.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

// Every entry from Qt into the message pipeline goes through here.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (...) {
        Application->HandleException(nullptr);
    }
}

std::mutex g_tableMutex;
std::unordered_map<HWND, TWinControl*> g_table;
HWND g_nextHandle = 0x10000;

TControl* g_capture = nullptr;
TControl* g_mouseControl = nullptr;
TPoint g_cursor{0, 0};
std::array<bool, 256> g_keys{};
thread_local int g_forwarding = 0;
// The key being processed and the text it gave (for KeyCharWithoutCtrl).
int g_currentKey = 0;
String g_currentKeyText;
QThread* g_uiThread = nullptr;

constexpr QEvent::Type PostedEventType = static_cast<QEvent::Type>(QEvent::User + 0x100);
constexpr QEvent::Type SyncEventType = static_cast<QEvent::Type>(QEvent::User + 0x101);

struct Posted {
    HWND h;
    UINT msg;
    WPARAM w;
    LPARAM l;
};

// A message sent from another thread, waiting until the UI thread runs it: the sender
// blocks on `sentDone` until `done`.
struct SentRequest {
    HWND h;
    UINT msg;
    WPARAM w;
    LPARAM l;
    LRESULT result = 0;
    bool done = false;
};

class Dispatcher : public QObject {
public:
    std::mutex mutex;
    std::deque<Posted> queue;
    std::deque<std::shared_ptr<SentRequest>> sent;  // guarded by `mutex`
    std::condition_variable sentDone;

    bool event(QEvent* e) override
    {
        if (e->type() == SyncEventType) {
            Guarded([] { CheckSynchronize(0); });
            return true;
        }
        if (e->type() != PostedEventType) return QObject::event(e);
        Posted p{};
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (queue.empty()) return true;
            p = queue.front();
            queue.pop_front();
        }
        if (TWinControl* c = FindControl(p.h)) Guarded([&] { c->Perform(p.msg, p.w, p.l); });
        return true;
    }
};

Dispatcher* g_dispatcher = nullptr;

class KeyFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && obj->isWidgetType() && g_forwarding == 0) {
            return ui::HandleKeyEvent(static_cast<QWidget*>(obj), static_cast<QKeyEvent*>(e));
        }
        return false;
    }
};

TShiftState ShiftFromModifiers(Qt::KeyboardModifiers m)
{
    TShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    if (m & Qt::AltModifier) s |= ssAlt;
    return s;
}

TShiftState ShiftFromButtons(Qt::MouseButtons b)
{
    TShiftState s = 0;
    if (b & Qt::LeftButton) s |= ssLeft;
    if (b & Qt::RightButton) s |= ssRight;
    if (b & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

WPARAM ShiftToMK(TShiftState s)
{
    WPARAM k = 0;
    if (s & ssShift) k |= MK_SHIFT;
    if (s & ssCtrl) k |= MK_CONTROL;
    if (s & ssLeft) k |= MK_LBUTTON;
    if (s & ssRight) k |= MK_RBUTTON;
    if (s & ssMiddle) k |= MK_MBUTTON;
    return k;
}

UINT ButtonMessage(Qt::MouseButton b, int kind)  // kind 0 down, 1 up, 2 double
{
    UINT base = WM_LBUTTONDOWN;
    if (b == Qt::RightButton) base = WM_RBUTTONDOWN;
    if (b == Qt::MiddleButton) base = WM_MBUTTONDOWN;
    return base + static_cast<UINT>(kind);
}

// Top-left of the window (non-client area included) in screen coordinates.
TPoint WindowOrigin(const TWinControl* c)
{
    const TPoint o = c->ClientOrigin();
    const TRect a = c->ClientAreaInWindow();
    return {o.X - a.Left, o.Y - a.Top};
}

Qt::CursorShape CursorShape(TCursor c)
{
    switch (c) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

// The pointer shape over a control: its own Cursor, crDefault = the window's arrow (unless
// the screen's cursor table replaces crDefault).
void ApplyCursor(TControl* c)
{
    if (!c) return;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w) w = c->Parent();
    if (!w || !ui::N(w).widget) return;
    if (c->Cursor() == crDefault && !(Screen && Screen->Cursors(crDefault)))
        ui::N(w).widget->unsetCursor();
    else
        ui::N(w).widget->setCursor(ui::MakeCursor(c->Cursor()));
}

void SetMouseControl(TControl* c)
{
    if (g_mouseControl == c) return;
    TControl* old = g_mouseControl;
    g_mouseControl = c;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (c && g_mouseControl == c) c->Perform(CM_MOUSEENTER);
}

} // namespace

// ---- UiWidget ------------------------------------------------------------------------

UiWidget::UiWidget(NativeWindow* native, bool) : QWidget(nullptr), native_(native)
{
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAttribute(Qt::WA_NoSystemBackground, true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

UiWidget::~UiWidget() = default;

bool UiWidget::event(QEvent* e)
{
    if (!native_) {
        // The control has gone; the widget waits for deletion.
        switch (e->type()) {
        case QEvent::Paint:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Close:
            return true;
        default:
            return QWidget::event(e);
        }
    }
    if (e->type() == QEvent::WindowActivate && isWindow()) {
        if (auto* f = dynamic_cast<TCustomForm*>(native_->control)) Guarded([&] { ui::FormActivatedBySystem(f); });
    }
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove || e->type() == QEvent::DragLeave ||
        e->type() == QEvent::Drop) {
        bool handled = false;
        Guarded([&] { handled = ui::SystemDropEvent(native_->control, e); });
        if (handled) return true;
    }
    return QWidget::event(e);
}

void UiWidget::paintEvent(QPaintEvent* e)
{
    if (!native_) return;
    Guarded([&] { ui::PaintPending(*native_); });
    if (!native_) return;
    QPainter p(this);
    if (!native_->layered.isNull()) {
        // Without a compositor the picture is opaque and the window mask gives the shape.
        const bool composites = native_->layeredComposites;
        p.setCompositionMode(QPainter::CompositionMode_Source);
        if (composites) p.fillRect(e->rect(), Qt::transparent);
        else p.fillRect(e->rect(), Qt::white);
        p.drawImage(0, 0, ui::LayeredPicture(*native_, composites));
        return;
    }
    const bool transparent = native_->control && (native_->control->WindowExStyle() & WS_EX_TRANSPARENT);
    if (!transparent) p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect backed(native_->surfaceOrigin, native_->surface.size());
    const QRect shown = e->rect() & backed;
    if (!shown.isEmpty()) p.drawImage(shown, native_->surface, shown.translated(-native_->surfaceOrigin));
    // Outside the backed part the window lies outside a parent's client area: what shows
    // there is the nearest ancestor's own surface (its frame, its scroll bars).
    QRegion outside = QRegion(e->rect()) - QRegion(backed);
    QPoint at(0, 0);  // this window's origin in the ancestor's window
    for (QWidget* w = this; !outside.isEmpty() && !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
        at += w->pos();
        auto* up = dynamic_cast<UiWidget*>(w->parentWidget());
        if (!up || !up->native()) break;
        const NativeWindow& a = *up->native();
        const QRegion covered = outside & QRegion(QRect(a.surfaceOrigin, a.surface.size()).translated(-at));
        for (const QRect& r : covered) p.drawImage(r, a.surface, r.translated(at - a.surfaceOrigin));
        outside -= covered;
    }
    for (const QRect& r : outside) p.fillRect(r, Qt::transparent);
}

void UiWidget::resizeEvent(QResizeEvent*)
{
    if (!native_ || !native_->control) return;
    TWinControl* c = native_->control;
    if (!isWindow()) return;
    // A top-level window resized by the window system: the layer's size follows.
    if (width() != c->Width() || height() != c->Height()) Guarded([&] { c->SetBounds(c->Left(), c->Top(), width(), height()); });
}

void UiWidget::moveEvent(QMoveEvent*)
{
    if (!native_ || !native_->control || !isWindow()) return;
    TWinControl* c = native_->control;
    const QPoint p = pos();
    if (p.x() == c->Left() && p.y() == c->Top()) return;
    UiAccess::SetBoundsRaw(c, p.x(), p.y(), c->Width(), c->Height());
    // The window system moved the window: it hears the changed position as with SetBounds.
    TWindowPos wp{c->Handle(), 0, p.x(), p.y(), c->Width(), c->Height(), SWP_NOSIZE};
    Guarded([&] { c->Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp)); });
}

void UiWidget::closeEvent(QCloseEvent* e)
{
    e->ignore();
    if (!native_ || !native_->control) return;
    TWinControl* c = native_->control;
    Guarded([&] { c->Perform(WM_CLOSE); });
}

void UiWidget::mousePressEvent(QMouseEvent* e)
{
    if (!native_) return;
    ui::SetKeyDown(static_cast<int>(e->button() == Qt::RightButton ? VK_RBUTTON : e->button() == Qt::MiddleButton ? VK_MBUTTON : VK_LBUTTON), true);
    ui::MouseEvent(*native_, ButtonMessage(e->button(), 0), e->position().toPoint(), ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons()), 0);
}

void UiWidget::mouseReleaseEvent(QMouseEvent* e)
{
    if (!native_) return;
    ui::SetKeyDown(static_cast<int>(e->button() == Qt::RightButton ? VK_RBUTTON : e->button() == Qt::MiddleButton ? VK_MBUTTON : VK_LBUTTON), false);
    ui::MouseEvent(*native_, ButtonMessage(e->button(), 1), e->position().toPoint(), ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons()), 0);
}

void UiWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (!native_) return;
    ui::SetKeyDown(static_cast<int>(e->button() == Qt::RightButton ? VK_RBUTTON : e->button() == Qt::MiddleButton ? VK_MBUTTON : VK_LBUTTON), true);
    ui::MouseEvent(*native_, ButtonMessage(e->button(), 2), e->position().toPoint(), ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons()), 0);
}

void UiWidget::mouseMoveEvent(QMouseEvent* e)
{
    if (!native_) return;
    ui::MouseEvent(*native_, WM_MOUSEMOVE, e->position().toPoint(), ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons()), 0);
}

void UiWidget::wheelEvent(QWheelEvent* e)
{
    if (!native_) return;
    const int delta = e->angleDelta().y();
    if (delta == 0) return;
    ui::MouseEvent(*native_, WM_MOUSEWHEEL, e->position().toPoint(), ShiftFromModifiers(e->modifiers()) | ShiftFromButtons(e->buttons()), delta);
}

void UiWidget::leaveEvent(QEvent*)
{
    if (!native_ || !isWindow()) return;
    // A hint window appearing under the pointer takes no input (the pointer stays with this
    // window), but the window system reports a leave when it maps: not a leave.
    if (THintWindow* hint = Application ? Application->ActiveHintWindow() : nullptr) {
        const QPoint p = QCursor::pos();
        if (hint->BoundsRect().Contains(TPoint{p.x(), p.y()}) && rect().contains(mapFromGlobal(p))) return;
    }
    Guarded([] { ui::MouseLeftWindow(); });
}

// ---- layer internals -----------------------------------------------------------------

namespace {

// The window layer's thread is the main thread: calls workers hand over run from its loop.
void ConnectThreads()
{
    SetMainThread();
    SetWakeMainThread([] {
        if (g_dispatcher) QCoreApplication::postEvent(g_dispatcher, new QEvent(SyncEventType));
    });
}

} // namespace

namespace ui {

void EnsureApplication()
{
    if (QCoreApplication::instance()) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            qFatal("the window layer needs a QApplication; a plain GUI application was created first");
        if (!g_dispatcher) {
            g_uiThread = QThread::currentThread();
            g_dispatcher = new Dispatcher;
            ConnectThreads();
            qApp->installEventFilter(new KeyFilter);
            gfx::RegisterFonts();
            InstallAccessibleFactory();
        }
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_ENABLE_HIGHDPI_SCALING")) qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
    // Every created widget posts an event. The glib event loop answers each post with a write
    // to its wake-up descriptor, a system call per control; Qt's own loop wakes once until the
    // posted events are processed, which keeps building a window of hundreds of controls free
    // of system calls. Nothing here needs glib: the file dialogs are the layer's own.
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    static int argc = 1;
    static char arg0[] = "configurator";
    static char* argv[] = {arg0, nullptr};
    new QApplication(argc, argv);
    QApplication::setDoubleClickInterval(static_cast<int>(GetDoubleClickTime()));
    g_uiThread = QThread::currentThread();
    g_dispatcher = new Dispatcher;
    ConnectThreads();
    qApp->installEventFilter(new KeyFilter);
    gfx::RegisterFonts();
    InstallAccessibleFactory();
}

bool InUiThread() { return !g_uiThread || QThread::currentThread() == g_uiThread; }

QPoint ClientOffset(const TWinControl* control)
{
    const TRect a = control->ClientAreaInWindow();
    return {a.Left, a.Top};
}

QRect VisibleWindowRect(const TWinControl* control)
{
    QRect r(0, 0, std::max(0, control->Width()), std::max(0, control->Height()));
    QPoint at(0, 0);  // the control's window origin in the current ancestor's window
    const TWinControl* child = control;
    for (const TWinControl* p = control->Parent(); p && !r.isEmpty(); child = p, p = p->Parent()) {
        at += ClientOffset(p) + QPoint(child->Left(), child->Top());
        const TRect a = p->ClientAreaInWindow();
        r &= QRect(a.Left, a.Top, std::max(0, a.Width()), std::max(0, a.Height())).translated(-at);
    }
    return r.isEmpty() ? QRect() : r;
}

bool EnsureSurface(NativeWindow& n)
{
    TWinControl* c = n.control;
    if (!c) return false;
    const QRect want = VisibleWindowRect(c);
    if (n.surface.size() == want.size() && (want.isEmpty() || n.surfaceOrigin == want.topLeft())) return false;
    if (want.isEmpty()) {
        n.surface = QImage();
    } else {
        n.surface = QImage(want.size(), QImage::Format_ARGB32_Premultiplied);
        n.surface.fill(Qt::transparent);
    }
    n.surfaceOrigin = want.isEmpty() ? QPoint(0, 0) : want.topLeft();
    n.dirty = QRegion(0, 0, std::max(0, c->Width()), std::max(0, c->Height()));
    n.frameDirty = true;
    n.generation++;
    return true;
}

void PaintPending(NativeWindow& n)
{
    TWinControl* c = n.control;
    if (!c || !n.widget) return;
    const bool transparent = (c->WindowExStyle() & WS_EX_TRANSPARENT) != 0;
    EnsureSurface(n);
    if (n.surface.isNull()) {
        n.dirty = QRegion();
        return;
    }
    if (n.redrawOff || n.inPaint) return;
    if (n.dirty.isEmpty() && !n.frameDirty) return;
    n.inPaint = true;
    struct Reset {
        NativeWindow& n;
        ~Reset()
        {
            n.inPaint = false;
            n.paintRegion = QRegion();
            n.generation++;  // canvases rebind for drawing outside paint
        }
    } reset{n};
    const QPoint o = n.surfaceOrigin;
    const QRegion backed(QRect(o, n.surface.size()));
    if (!n.paintCanvas) n.paintCanvas = std::make_unique<TCanvas>();
    if (n.frameDirty) {
        n.frameDirty = false;
        gfx::BindCanvas(n.paintCanvas.get(), &n.surface, -o, nullptr);
        c->Perform(WM_NCPAINT, reinterpret_cast<WPARAM>(n.paintCanvas.get()), 0);
    }
    const TRect a = c->ClientAreaInWindow();
    // Only the backed part is painted; a part that becomes visible gets a new surface, wholly dirty.
    const QRegion rgn = n.dirty & QRegion(a.Left, a.Top, a.Width(), a.Height()) & backed;
    n.dirty = QRegion();
    if (rgn.isEmpty()) return;
    n.paintRegion = rgn;
    const QRegion local = rgn.translated(-o);
    if (transparent) {
        QPainter p(&n.surface);
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        for (const QRect& r : local) p.fillRect(r, Qt::transparent);
    }
    TCanvas* canvas = n.paintCanvas.get();
    if (auto* cc = dynamic_cast<TCustomControl*>(c)) canvas = UiAccess::CustomCanvasRaw(cc);
    gfx::BindCanvas(canvas, &n.surface, QPoint(a.Left, a.Top) - o, &local);
    if (!transparent) c->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas), 0);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
}

namespace {

// Draws the window as shown into `p` with its window origin at `at`: its surface, then its
// visible windowed children (hosted Qt widgets included).
void ComposeWindow(QPainter& p, NativeWindow& n, QPoint at)
{
    PaintPending(n);
    if (!n.surface.isNull()) p.drawImage(at + n.surfaceOrigin, n.surface);
    if (!n.widget) return;
    for (QObject* o : n.widget->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isHidden() || w->isWindow()) continue;
        if (auto* uw = dynamic_cast<UiWidget*>(w)) {
            if (!uw->native() || !uw->native()->control) continue;
            if (!uw->native()->layered.isNull()) {
                p.drawImage(at + w->pos(), GrabWindow(uw->native()->control));
                continue;
            }
            ComposeWindow(p, *uw->native(), at + w->pos());
        } else {
            p.drawImage(at + w->pos(), w->grab().toImage());
        }
    }
}

} // namespace

QImage GrabWindow(TWinControl* control)
{
    NativeWindow& n = N(control);
    if (!n.layered.isNull()) {
        // With a compositor as composed over a transparent desktop (the picture times the
        // constant alpha); without one the opaque picture the window paints.
        return LayeredPicture(n, n.layeredComposites);
    }
    PaintPending(n);
    const QSize sz(std::max(0, control->Width()), std::max(0, control->Height()));
    QImage img(sz.isEmpty() ? QSize(1, 1) : sz, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    if (sz.isEmpty()) return img;
    QPainter p(&img);
    ComposeWindow(p, n, QPoint(0, 0));
    return img;
}

HWND AllocHandle(TWinControl* control)
{
    std::lock_guard<std::mutex> lock(g_tableMutex);
    const HWND h = g_nextHandle++;
    g_table[h] = control;
    return h;
}

std::vector<TCustomForm*> ShownForms()
{
    std::vector<std::pair<HWND, TCustomForm*>> found;
    {
        std::lock_guard<std::mutex> lock(g_tableMutex);
        for (const auto& [h, c] : g_table)
            if (auto* f = dynamic_cast<TCustomForm*>(c); f && !f->Parent()) found.emplace_back(h, f);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TCustomForm*> out;
    TCustomForm* key = KeyForm();
    if (key) out.push_back(key);
    for (const auto& [h, f] : found)
        if (f != key && f->Showing()) out.push_back(f);
    return out;
}

void FreeHandle(HWND handle)
{
    std::lock_guard<std::mutex> lock(g_tableMutex);
    g_table.erase(handle);
}

void SetKeyDown(int vk, bool down)
{
    if (vk > 0 && vk < 256) g_keys[static_cast<size_t>(vk)] = down;
}

void SetShiftState(TShiftState shift)
{
    g_keys[VK_SHIFT] = (shift & ssShift) != 0;
    g_keys[VK_CONTROL] = (shift & ssCtrl) != 0;
    g_keys[VK_MENU] = (shift & ssAlt) != 0;
}

TControl* MouseControl() { return g_mouseControl; }

void CursorChanged(TControl* control)
{
    if (control == g_mouseControl) ApplyCursor(control);
}

void ApplyMouseCursor() { ApplyCursor(g_mouseControl); }

QCursor MakeCursor(TCursor c)
{
    const HCURSOR h = Screen ? Screen->Cursors(c) : nullptr;
    if (!h) return QCursor(CursorShape(c));
    // One QCursor per loaded image: handles live for the whole run.
    static std::unordered_map<HCURSOR, QCursor> made;
    const auto it = made.find(h);
    if (it != made.end()) return it->second;
    QImage image(h->Width, h->Height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h->Height; ++y)
        std::memcpy(image.scanLine(y), h->Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(h->Width),
                    static_cast<std::size_t>(h->Width) * 4);
    QCursor cursor(QPixmap::fromImage(image), h->HotSpot.X, h->HotSpot.Y);
    made.emplace(h, cursor);
    return cursor;
}

void ForgetControl(TControl* control)
{
    HintForget(control);
    ControlDragForget(control);
    if (g_mouseControl == control) g_mouseControl = nullptr;
    if (g_capture == control) g_capture = nullptr;
}

void MouseLeftWindow()
{
    SetMouseControl(nullptr);
    HintCancel();
}

void MouseEvent(NativeWindow& n, UINT msg, QPoint windowPos, TShiftState shift, int wheelDelta)
{
    Guarded([&] {
        TWinControl* w = n.control;
        if (!w) return;
        SetShiftState(shift);
        g_keys[VK_LBUTTON] = (shift & ssLeft) != 0 || (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK);
        TPoint origin = WindowOrigin(w);
        TPoint screen{origin.X + windowPos.x(), origin.Y + windowPos.y()};
        g_cursor = screen;
        if (msg != WM_MOUSEWHEEL && (ui::DragSessionMouse(msg, screen) || ui::ControlDragMouse(msg, screen))) return;
        if (TControl* cap = g_capture) {
            auto* capWin = dynamic_cast<TWinControl*>(cap);
            if (!capWin) capWin = cap->Parent();
            if (capWin && capWin != w) {
                w = capWin;
                origin = WindowOrigin(w);
                windowPos = QPoint(screen.X - origin.X, screen.Y - origin.Y);
            }
        }
        const WPARAM keys = ShiftToMK(shift);
        if (N(w).barDown >= 0 && msg != WM_MOUSEWHEEL) {
            ScrollBarMouse(w, msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, 0, screen);
            return;
        }
        if (msg == WM_MOUSEWHEEL) {
            w->Perform(WM_MOUSEWHEEL, MakeWParam(static_cast<int>(keys), wheelDelta), PointToLParam(screen));
            return;
        }
        const bool captured = g_capture && (g_capture == w || g_capture->Parent() == w);
        LRESULT hit = HTCLIENT;
        if (!captured) {
            hit = w->Perform(WM_NCHITTEST, 0, PointToLParam(screen));
            // A window answering HTTRANSPARENT lets the window below it have the pointer:
            // an earlier sibling under the point, else the parent.
            for (int guard = 0; hit == HTTRANSPARENT && guard < 64; ++guard) {
                TWinControl* parent = w->Parent();
                if (!parent) break;
                TWinControl* below = parent;
                bool passed = false;
                for (int i = parent->ControlCount() - 1; i >= 0; --i) {
                    TControl* c = parent->Controls(i);
                    if (c == w) {
                        passed = true;
                        continue;
                    }
                    auto* sib = dynamic_cast<TWinControl*>(c);
                    if (!passed || !sib || !sib->Visible() || !sib->Enabled()) continue;
                    TRect r;
                    GetWindowRect(sib->Handle(), r);
                    if (r.Contains(screen)) {
                        below = sib;
                        break;
                    }
                }
                w = below;
                origin = WindowOrigin(w);
                windowPos = QPoint(screen.X - origin.X, screen.Y - origin.Y);
                hit = w->Perform(WM_NCHITTEST, 0, PointToLParam(screen));
            }
        }
        const HWND h = w->Handle();
        const TRect a = w->ClientAreaInWindow();
        const TPoint client{windowPos.x() - a.Left, windowPos.y() - a.Top};
        const bool inClient = captured ? a.Contains({windowPos.x(), windowPos.y()}) : hit == HTCLIENT;
        if (captured || inClient) {
            if (msg == WM_MOUSEMOVE && !g_capture) {
                TControl* under = w->ControlAtPos(client, true);
                SetMouseControl(under ? under : w);
                if (!IsWindow(h)) return;
                w->Perform(WM_SETCURSOR, h, MakeLParam(static_cast<int>(hit), static_cast<int>(WM_MOUSEMOVE)));
                if (!IsWindow(h)) return;
                HintMouseMove(under ? under : w, screen);
            } else if (msg != WM_MOUSEMOVE) {
                HintCancel();
            }
            w->Perform(msg, keys, PointToLParam(client));
        } else {
            if (msg == WM_MOUSEMOVE && !g_capture) {
                SetMouseControl(w);
                w->Perform(WM_SETCURSOR, h, MakeLParam(static_cast<int>(hit), static_cast<int>(WM_MOUSEMOVE)));
            }
            if (msg != WM_MOUSEMOVE) HintCancel();
            if (!IsWindow(h)) return;
            w->Perform(msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PointToLParam(screen));
        }
    });
}

TCustomForm* KeyForm();

bool HandleKeyEvent(QWidget* receiver, QKeyEvent* e)
{
    // Only windows of the layer take part; other Qt windows (the desktop's own dialogs)
    // keep their keys.
    QWidget* top = receiver->window();
    auto* uw = dynamic_cast<UiWidget*>(top);
    if (!uw || !uw->native() || !uw->native()->control) return false;
    auto* form = dynamic_cast<TCustomForm*>(uw->native()->control);
    if (!form) return false;
    TWinControl* target = form->ActiveControl() ? form->ActiveControl() : form;
    const int vk = VirtualKeyOf(e->key(), (e->modifiers() & Qt::KeypadModifier) != 0);
    const TShiftState shift = ShiftFromModifiers(e->modifiers());
    Guarded([&] {
        if (e->type() == QEvent::KeyPress) {
            SetShiftState(shift);
            SetKeyDown(vk, true);
            if (ui::DragSessionKey(vk, true) || ui::ControlDragKey(vk)) return;
            if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) SetKeyDown(vk, true);
            KeyDownPipeline(target, vk, shift, String(reinterpret_cast<const char16_t*>(e->text().utf16()), static_cast<size_t>(e->text().size())), e->isAutoRepeat());
        } else {
            SetKeyDown(vk, false);
            if (ui::DragSessionKey(vk, false)) {
                SetShiftState(ShiftFromModifiers(e->modifiers()) & ~(vk == VK_SHIFT ? ssShift : vk == VK_CONTROL ? ssCtrl : vk == VK_MENU ? ssAlt : 0u));
                return;
            }
            KeyUpPipeline(target, vk, shift);
            SetShiftState(ShiftFromModifiers(e->modifiers()) & ~(vk == VK_SHIFT ? ssShift : vk == VK_CONTROL ? ssCtrl : vk == VK_MENU ? ssAlt : 0u));
        }
    });
    return true;
}

void ForwardKey(QWidget* target, QKeyEvent* e)
{
    ++g_forwarding;
    try {
        QCoreApplication::sendEvent(target, e);
    } catch (...) {
        --g_forwarding;
        throw;
    }
    --g_forwarding;
}

void KeyDownPipeline(TWinControl* target, int vk, TShiftState shift, const String& text, bool repeat)
{
    if (!target) return;
    const HWND h = target->Handle();
    const bool alt = (shift & ssAlt) != 0;
    LPARAM lp = 1;
    if (alt) lp |= KF_ALTDOWN_LPARAM;
    if (repeat) lp |= KF_REPEAT_LPARAM;
    if (vk >= static_cast<int>(VK_NUMPAD0) && vk <= static_cast<int>(VK_DIVIDE)) lp |= KF_KEYPAD_LPARAM;
    g_currentKey = vk;
    g_currentKeyText = text;
    if (vk != 0) {
        if (target->Perform(alt ? CN_SYSKEYDOWN : CN_KEYDOWN, static_cast<WPARAM>(vk), lp) != 0) return;
        if (!IsWindow(h)) return;
        target->Perform(alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), lp);
    }
    for (char16_t ch : text) {
        if (!IsWindow(h)) return;
        if (target->Perform(alt ? CN_SYSCHAR : CN_CHAR, ch, lp) != 0) continue;
        if (!IsWindow(h)) return;
        target->Perform(alt ? WM_SYSCHAR : WM_CHAR, ch, lp);
    }
}

void KeyUpPipeline(TWinControl* target, int vk, TShiftState shift)
{
    if (!target || vk == 0) return;
    const HWND h = target->Handle();
    const bool alt = (shift & ssAlt) != 0;
    const LPARAM lp = 1 | KF_REPEAT_LPARAM | KF_UP_LPARAM | (alt ? KF_ALTDOWN_LPARAM : 0);
    if (target->Perform(alt ? CN_SYSKEYUP : CN_KEYUP, static_cast<WPARAM>(vk), lp) != 0) return;
    if (!IsWindow(h)) return;
    target->Perform(alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), lp);
}

int VirtualKeyOf(int k, bool keypad)
{
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;  // same codes
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return keypad ? static_cast<int>(VK_NUMPAD0) + (k - Qt::Key_0) : k;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<int>(VK_F1) + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Asterisk: return keypad ? static_cast<int>(VK_MULTIPLY) : 0xBB;
    case Qt::Key_Plus: return keypad ? static_cast<int>(VK_ADD) : 0xBB;
    case Qt::Key_Minus: return keypad ? static_cast<int>(VK_SUBTRACT) : 0xBD;
    case Qt::Key_Slash: return keypad ? static_cast<int>(VK_DIVIDE) : 0xBF;
    case Qt::Key_Period: return keypad ? static_cast<int>(VK_DECIMAL) : 0xBE;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    default: return 0;
    }
}

int QtKeyOf(int vk)
{
    if (vk >= 'A' && vk <= 'Z') return vk;
    if (vk >= '0' && vk <= '9') return vk;
    if (vk >= static_cast<int>(VK_F1) && vk <= static_cast<int>(VK_F12)) return Qt::Key_F1 + (vk - static_cast<int>(VK_F1));
    if (vk >= static_cast<int>(VK_NUMPAD0) && vk <= static_cast<int>(VK_NUMPAD9)) return Qt::Key_0 + (vk - static_cast<int>(VK_NUMPAD0));
    switch (static_cast<WPARAM>(vk)) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_APPS: return Qt::Key_Menu;
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_DECIMAL: return Qt::Key_Period;
    case 0xBC: return Qt::Key_Comma;
    case 0xBD: return Qt::Key_Minus;
    case 0xBE: return Qt::Key_Period;
    case 0xBA: return Qt::Key_Semicolon;
    case 0xBB: return Qt::Key_Equal;
    case 0xBF: return Qt::Key_Slash;
    default: return 0;
    }
}

TWinControl* FocusedControl()
{
    TCustomForm* f = KeyForm();
    if (!f) return nullptr;
    return f->ActiveControl() ? f->ActiveControl() : f;
}

} // namespace ui

// ---- hooks -----------------------------------------------------------------------------

namespace {
std::vector<std::pair<int, TCallWndProcHook>> g_hooks;
int g_nextHook = 1;
}

namespace ui {
bool HasHooks() { return !g_hooks.empty(); }
void CallHooks(HWND h, const TMessage& m)
{
    const auto hooks = g_hooks;  // a hook may unhook itself
    for (const auto& [id, fn] : hooks) fn(h, m);
}
} // namespace ui

int SetCallWndProcHook(TCallWndProcHook Hook)
{
    const int id = g_nextHook++;
    g_hooks.emplace_back(id, std::move(Hook));
    return id;
}

void UnhookCallWndProcHook(int Id)
{
    g_hooks.erase(std::remove_if(g_hooks.begin(), g_hooks.end(), [&](const auto& h) { return h.first == Id; }), g_hooks.end());
}

// ---- public window functions ---------------------------------------------------------

TCustomForm* GetParentForm(const TControl* Control, bool TopForm)
{
    const TControl* c = Control;
    if (!TopForm) {
        while (c) {
            if (auto* f = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(f);
            c = c->Parent();
        }
        return nullptr;
    }
    while (c && c->Parent()) c = c->Parent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

TWinControl* FindControl(HWND Handle)
{
    if (Handle == 0) return nullptr;
    std::lock_guard<std::mutex> lock(g_tableMutex);
    auto it = g_table.find(Handle);
    return it == g_table.end() ? nullptr : it->second;
}

bool IsWindow(HWND Handle) { return FindControl(Handle) != nullptr; }

bool ThemeServicesEnabled() { return false; }
bool CustomStyleActive() { return false; }

bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (!IsWindow(Handle) || !g_dispatcher) return false;
    {
        std::lock_guard<std::mutex> lock(g_dispatcher->mutex);
        g_dispatcher->queue.push_back({Handle, Msg, WParam, LParam});
    }
    QCoreApplication::postEvent(g_dispatcher, new QEvent(PostedEventType));
    return true;
}

namespace {

// Runs a sent request on the UI thread unless it ran already (taken by PeekMessage before
// the call queue reached it), and releases its sender.
void DeliverSent(Dispatcher* D, const std::shared_ptr<SentRequest>& Request)
{
    {
        std::lock_guard<std::mutex> lock(D->mutex);
        auto it = std::find(D->sent.begin(), D->sent.end(), Request);
        if (it == D->sent.end()) return;
        D->sent.erase(it);
    }
    LRESULT result = 0;
    if (TWinControl* c = FindControl(Request->h)) Guarded([&] { result = c->Perform(Request->msg, Request->w, Request->l); });
    {
        std::lock_guard<std::mutex> lock(D->mutex);
        Request->result = result;
        Request->done = true;
    }
    D->sentDone.notify_all();
}

// Takes the first waiting sent request for Handle (0 = any) in [Min, Max] (both 0 = any).
std::shared_ptr<SentRequest> FirstSent(Dispatcher* D, HWND Handle, UINT Min, UINT Max)
{
    std::lock_guard<std::mutex> lock(D->mutex);
    for (const auto& r : D->sent) {
        if (Handle != 0 && r->h != Handle) continue;
        if ((Min != 0 || Max != 0) && (r->msg < Min || r->msg > Max)) continue;
        return r;
    }
    return nullptr;
}

} // namespace

bool PeekMessage(TMsg& Msg, HWND Handle, UINT MsgFilterMin, UINT MsgFilterMax, UINT RemoveMsg)
{
    if (!g_dispatcher) return false;
    // Messages other threads sent to this thread's windows run first, as the platform does
    // inside every look at the queue, so a UI thread waiting for a sender releases it.
    if (ui::InUiThread())
        while (auto r = FirstSent(g_dispatcher, Handle, MsgFilterMin, MsgFilterMax)) DeliverSent(g_dispatcher, r);
    std::lock_guard<std::mutex> lock(g_dispatcher->mutex);
    auto& q = g_dispatcher->queue;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (Handle != 0 && it->h != Handle) continue;
        if ((MsgFilterMin != 0 || MsgFilterMax != 0) && (it->msg < MsgFilterMin || it->msg > MsgFilterMax)) continue;
        Msg = TMsg{it->h, it->msg, it->w, it->l};
        // The queue's wake-up event for a removed message finds the next one or nothing.
        if (RemoveMsg & PM_REMOVE) q.erase(it);
        return true;
    }
    return false;
}

LRESULT DispatchMessage(const TMsg& Msg)
{
    TWinControl* c = FindControl(Msg.hwnd);
    return c ? c->Perform(Msg.message, Msg.wParam, Msg.lParam) : 0;
}

LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (ui::InUiThread()) {
        TWinControl* c = FindControl(Handle);
        return c ? c->Perform(Msg, WParam, LParam) : 0;
    }
    Dispatcher* d = g_dispatcher;
    if (!d) return 0;
    auto request = std::make_shared<SentRequest>(SentRequest{Handle, Msg, WParam, LParam});
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->sent.push_back(request);
    }
    // Delivered through the main thread's call queue, which its event loop and every wait of
    // the main thread for a worker serve (a worker sending while the UI thread waits for it
    // cannot deadlock), or earlier by a PeekMessage of the UI thread.
    TThread::Queue(nullptr, [d, request] { DeliverSent(d, request); });
    std::unique_lock<std::mutex> lock(d->mutex);
    d->sentDone.wait(lock, [&] { return request->done; });
    return request->result;
}

namespace {

struct IdTable {
    std::mutex m;
    std::unordered_map<String, UINT> ids;
    UINT next = 0xC000;
    UINT Get(const String& name)
    {
        std::lock_guard<std::mutex> lock(m);
        auto it = ids.find(name);
        if (it != ids.end()) return it->second;
        const UINT id = next++;
        ids.emplace(name, id);
        return id;
    }
};

} // namespace

UINT RegisterWindowMessage(const String& Name)
{
    static IdTable table;
    return table.Get(Name);
}

namespace {
IdTable& ClipboardFormats()
{
    static IdTable table;
    return table;
}
} // namespace

UINT RegisterClipboardFormat(const String& Name)
{
    return ClipboardFormats().Get(Name);
}

String GetClipboardFormatName(UINT Format)
{
    IdTable& t = ClipboardFormats();
    std::lock_guard<std::mutex> lock(t.m);
    for (const auto& [name, id] : t.ids)
        if (id == Format) return name;
    return {};
}

void SetCaptureControl(TControl* Control)
{
    TControl* old = g_capture;
    if (old == Control) return;
    g_capture = Control;
    if (old) {
        auto* w = dynamic_cast<TWinControl*>(old);
        if (!w) w = old->Parent();
        if (w && (!Control || (Control != w && Control->Parent() != w))) w->Perform(WM_CAPTURECHANGED, 0, 0);
    }
}

TControl* GetCaptureControl() { return g_capture; }

HWND SetCapture(HWND Handle)
{
    const HWND old = GetCapture();
    SetCaptureControl(FindControl(Handle));
    return old;
}

bool ReleaseCapture()
{
    SetCaptureControl(nullptr);
    return true;
}

HWND GetCapture()
{
    if (!g_capture) return 0;
    if (auto* w = dynamic_cast<TWinControl*>(g_capture)) return w->Handle();
    return g_capture->Parent() ? g_capture->Parent()->Handle() : 0;
}

HWND GetFocus()
{
    TWinControl* c = ui::FocusedControl();
    return c ? c->Handle() : 0;
}

HWND SetFocusWnd(HWND Handle)
{
    const HWND old = GetFocus();
    if (TWinControl* c = FindControl(Handle)) c->SetFocus();
    return old;
}

std::int16_t GetKeyState(int VirtKey)
{
    if (VirtKey <= 0 || VirtKey >= 256) return 0;
    return g_keys[static_cast<size_t>(VirtKey)] ? static_cast<std::int16_t>(-32768) : 0;
}

std::int16_t GetAsyncKeyState(int VirtKey) { return GetKeyState(VirtKey); }

TShiftState KeyboardStateToShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(static_cast<int>(VK_SHIFT)) < 0) s |= ssShift;
    if (GetKeyState(static_cast<int>(VK_CONTROL)) < 0) s |= ssCtrl;
    if (GetKeyState(static_cast<int>(VK_MENU)) < 0) s |= ssAlt;
    if (GetKeyState(static_cast<int>(VK_LBUTTON)) < 0) s |= ssLeft;
    if (GetKeyState(static_cast<int>(VK_RBUTTON)) < 0) s |= ssRight;
    if (GetKeyState(static_cast<int>(VK_MBUTTON)) < 0) s |= ssMiddle;
    return s;
}

TPoint GetCursorPos() { return g_cursor; }

void SetCursor(TCursor Cursor)
{
    TControl* c = g_mouseControl;
    if (!c) return;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w) w = c->Parent();
    if (!w || !ui::N(w).widget) return;
    ui::N(w).widget->setCursor(Cursor == crDefault && !(Screen && Screen->Cursors(crDefault)) ? QCursor(Qt::ArrowCursor)
                                                                                             : ui::MakeCursor(Cursor));
}

bool InvalidateRect(HWND Handle, const TRect* R, bool Erase)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    c->InvalidateRect(R, Erase);
    return true;
}

bool RedrawWindow(HWND Handle, const TRect* R, UINT Flags)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    if (Flags & RDW_INVALIDATE) c->InvalidateRect(R, !(Flags & RDW_NOERASE));
    if (Flags & RDW_FRAME) c->InvalidateFrame();
    if (Flags & RDW_VALIDATE) ui::N(c).dirty = QRegion();
    if (Flags & RDW_UPDATENOW) c->Update();
    return true;
}

bool UpdateWindow(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    c->Update();
    return true;
}

bool IsWindowVisible(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    // A top-level popup shows on its own, without a parent.
    if (!c->Parent() && !dynamic_cast<TCustomForm*>(c)) return c->Visible() && ui::N(c).widget && ui::N(c).widget->isVisible();
    return c->Showing();
}

bool IsWindowEnabled(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    return c && c->Enabled();
}

bool EnableWindow(HWND Handle, bool Enable)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    const bool was = !c->Enabled();
    c->SetEnabled(Enable);
    return was;
}

bool ShowWindow(HWND Handle, int CmdShow)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    const bool was = c->Visible();
    c->SetVisible(CmdShow != SW_HIDE);
    if (!c->Parent() && !dynamic_cast<TCustomForm*>(c)) ShowPopupWindow(c, CmdShow != SW_HIDE);
    return was;
}

std::intptr_t GetWindowLong(HWND Handle, int Index)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return 0;
    if (Index == GWL_STYLE) return static_cast<std::intptr_t>(c->WindowStyle());
    if (Index == GWL_EXSTYLE) return static_cast<std::intptr_t>(c->WindowExStyle());
    return 0;
}

std::intptr_t SetWindowLong(HWND Handle, int Index, std::intptr_t NewLong)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return 0;
    const std::intptr_t old = GetWindowLong(Handle, Index);
    if (Index == GWL_STYLE) c->SetWindowStyle(static_cast<std::uint32_t>(NewLong));
    if (Index == GWL_EXSTYLE) c->SetWindowExStyle(static_cast<std::uint32_t>(NewLong));
    return old;
}

bool SetWindowPos(HWND Handle, HWND, int X, int Y, int CX, int CY, UINT Flags)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    if (!(Flags & SWP_NOMOVE)) {
        l = X;
        t = Y;
    }
    if (!(Flags & SWP_NOSIZE)) {
        w = CX;
        h = CY;
    }
    c->SetBounds(l, t, w, h);
    if (Flags & SWP_FRAMECHANGED) c->InvalidateFrame();
    if (Flags & SWP_SHOWWINDOW) c->SetVisible(true);
    if (Flags & SWP_HIDEWINDOW) c->SetVisible(false);
    return true;
}

bool GetWindowRect(HWND Handle, TRect& R)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    const TPoint o = WindowOrigin(c);
    R = Bounds(o.X, o.Y, c->Width(), c->Height());
    return true;
}

bool GetClientRect(HWND Handle, TRect& R)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return false;
    R = c->ClientRect();
    return true;
}

std::unique_ptr<TCanvas> GetWindowCanvas(HWND Handle)
{
    TWinControl* c = FindControl(Handle);
    if (!c) return nullptr;
    NativeWindow& n = ui::N(c);
    ui::PaintPending(n);
    auto canvas = std::make_unique<TCanvas>();
    gfx::BindCanvas(canvas.get(), &n.surface, -n.surfaceOrigin, nullptr);
    QPointer<UiWidget> w = n.widget;
    canvas->OnChange = [w](TObject*) {
        if (w) w->update();
    };
    return canvas;
}

void DrawParentBackground(const TControl* Control, TCanvas* Canvas)
{
    if (!Control || !Canvas) return;
    TWinControl* p = Control->Parent();
    if (!p || !p->Native()) return;
    NativeWindow& n = *p->Native();
    ui::PaintPending(n);
    if (n.surface.isNull()) return;
    const TRect client = p->ClientAreaInWindow();
    TCanvas source;
    gfx::BindCanvas(&source, &n.surface, QPoint(client.Left, client.Top) - n.surfaceOrigin, nullptr);
    Canvas->CopyRect(Rect(0, 0, Control->Width(), Control->Height()), &source, Control->BoundsRect());
    gfx::UnbindCanvas(&source);
}

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        if (!ui::FakeMonitors().empty()) {
            const TRect& r = ui::FakeMonitors().front().bounds;
            return Index == SM_CXSCREEN ? r.Width() : r.Height();
        }
        ui::EnsureApplication();
        QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return Index == SM_CXSCREEN ? 1280 : 1024;
        return Index == SM_CXSCREEN ? s->geometry().width() : s->geometry().height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    default: return 0;
    }
}

UINT GetDoubleClickTime() { return 500; }

char16_t GetAccelChar(StringView Caption)
{
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != u'&') continue;
        if (Caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return Caption[i + 1];
    }
    return 0;
}

bool IsAccel(std::uintptr_t Key, StringView Text)
{
    const char16_t a = GetAccelChar(Text);
    if (a == 0) return false;
    auto up = [](char16_t c) -> char16_t {
        const String s = AnsiUpperCase(StringView(&c, 1));
        return s.empty() ? c : s[0];
    };
    return up(a) == up(static_cast<char16_t>(Key));
}

} // namespace plat

namespace plat {

namespace {
int g_wheelScrollLines = 3;
TBeepHandler g_beepHandler;
THelpHandler g_helpHandler;
} // namespace

void MessageBeep(UINT Type)
{
    if (g_beepHandler) {
        g_beepHandler(Type);
        return;
    }
    ui::EnsureApplication();
    QApplication::beep();
}

void SetBeepHandler(TBeepHandler Handler) { g_beepHandler = std::move(Handler); }

bool ApplicationHelpContext(int Context)
{
    if (Context == 0) return false;
    if (g_helpHandler) g_helpHandler(Context);
    return true;
}

void SetHelpHandler(THelpHandler Handler) { g_helpHandler = std::move(Handler); }
int WheelScrollLines() { return g_wheelScrollLines; }
void SetWheelScrollLines(int Value) { g_wheelScrollLines = Value; }

namespace {
bool g_tooltipAnimation = false;
bool g_tooltipFade = false;
} // namespace
bool TooltipAnimation() { return g_tooltipAnimation; }
void SetTooltipAnimation(bool Value) { g_tooltipAnimation = Value; }
bool TooltipFade() { return g_tooltipFade; }
void SetTooltipFade(bool Value) { g_tooltipFade = Value; }

char16_t KeyCharWithoutCtrl(WPARAM VirtualKey)
{
    const int vk = static_cast<int>(VirtualKey);
    if (vk == g_currentKey && !g_currentKeyText.empty() && g_currentKeyText[0] >= 32) return g_currentKeyText[0];
    const bool shift = GetKeyState(static_cast<int>(VK_SHIFT)) < 0;
    if (vk >= 'A' && vk <= 'Z') return static_cast<char16_t>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') {
        static const char16_t shifted[] = u")!@#$%^&*(";
        return shift ? shifted[vk - '0'] : static_cast<char16_t>(vk);
    }
    if (vk >= static_cast<int>(VK_NUMPAD0) && vk <= static_cast<int>(VK_NUMPAD9))
        return static_cast<char16_t>('0' + vk - static_cast<int>(VK_NUMPAD0));
    switch (static_cast<WPARAM>(vk)) {
    case VK_MULTIPLY: return u'*';
    case VK_ADD: return u'+';
    case VK_SUBTRACT: return u'-';
    case VK_DIVIDE: return u'/';
    case VK_DECIMAL: return u'.';
    case VK_SPACE: return u' ';
    case 0xBB: return shift ? u'+' : u'=';
    case 0xBD: return shift ? u'_' : u'-';
    case 0xBF: return shift ? u'?' : u'/';
    case 0xBE: return shift ? u'>' : u'.';
    case 0xBC: return shift ? u'<' : u',';
    case 0xBA: return shift ? u':' : u';';
    default: return 0;
    }
}

} // namespace plat
