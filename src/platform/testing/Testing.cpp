// The headless kit: scripted responder, fake clock driving the timer scheduler, input
// injection through Qt events (so the layer's own event handling runs), grabs.
#include <QApplication>
#include <QCloseEvent>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QMimeData>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cstdlib>
#include <deque>

#include "plat/Clock.h"
#include "plat/DragDrop.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Process.h"
#include "plat/Testing.h"
#include "gfx/GfxNative.h"
#include "ui/UiNative.h"

namespace plat::testing {

namespace {

std::string U8(const String& s) { return StringToUtf8(s); }

FakeClock* g_clock = nullptr;

// Outside a UiTest fixture every dialog and shell open fails the test instead of blocking it.
Responder& StrictResponder()
{
    static Responder r;
    return r;
}

bool StrictShellOpen(const String& target)
{
    ADD_FAILURE() << "shell open outside a UiTest fixture: " << StringToUtf8(target);
    return false;
}
Qt::MouseButtons g_buttons;

Qt::MouseButton QtButton(TMouseButton b)
{
    switch (b) {
    case mbRight: return Qt::RightButton;
    case mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

Qt::KeyboardModifiers QtModifiers(TShiftState s)
{
    Qt::KeyboardModifiers m;
    if (s & ssShift) m |= Qt::ShiftModifier;
    if (s & ssCtrl) m |= Qt::ControlModifier;
    if (s & ssAlt) m |= Qt::AltModifier;
    return m;
}

struct Target {
    QWidget* widget = nullptr;
    QPoint pos;
    QPoint global;
};

// The widget a real pointer at that point would hit, and the point in its coordinates.
Target Locate(TControl* c, int x, int y)
{
    Target t;
    TWinControl* w = dynamic_cast<TWinControl*>(c);
    QPoint p(x, y);
    if (!w) {
        w = c->Parent();
        if (!w) {
            ADD_FAILURE() << "input to a control without a parent";
            return t;
        }
        p += QPoint(c->Left(), c->Top());
    }
    p += ui::ClientOffset(w);
    QWidget* widget = ui::N(w).widget;
    QWidget* child = widget->childAt(p);
    if (child) {
        p = child->mapFrom(widget, p);
        widget = child;
    }
    t.widget = widget;
    t.pos = p;
    const TPoint origin = w->ClientOrigin();
    const QPoint off = ui::ClientOffset(w);
    t.global = QPoint(origin.X - off.x(), origin.Y - off.y()) + (widget == ui::N(w).widget ? p : widget->mapTo(ui::N(w).widget, p));
    return t;
}

void SendMouse(QEvent::Type type, TControl* c, int x, int y, Qt::MouseButton button, TShiftState shift)
{
    Target t = Locate(c, x, y);
    if (!t.widget) return;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) g_buttons |= button;
    if (type == QEvent::MouseButtonRelease) g_buttons &= ~button;
    QMouseEvent ev(type, QPointF(t.pos), QPointF(t.pos), QPointF(t.global), button, g_buttons, QtModifiers(shift));
    QApplication::sendEvent(t.widget, &ev);
}

QString KeyText(std::uint16_t vk, TShiftState shift)
{
    if (vk >= 'A' && vk <= 'Z') {
        if (shift & ssCtrl) return QString(QChar(vk - 'A' + 1));
        return QString(QChar((shift & ssShift) ? vk : vk - 'A' + 'a'));
    }
    if (vk >= '0' && vk <= '9' && !(shift & ssCtrl)) return QString(QChar(vk));
    switch (vk) {
    case VK_SPACE: return QStringLiteral(" ");
    case VK_RETURN: return QStringLiteral("\r");
    case VK_TAB: return QStringLiteral("\t");
    case VK_ESCAPE: return QString(QChar(0x1B));
    case VK_BACK: return QString(QChar(0x08));
    case VK_MULTIPLY: return QStringLiteral("*");
    case VK_ADD: return QStringLiteral("+");
    case VK_SUBTRACT: return QStringLiteral("-");
    case VK_DIVIDE: return QStringLiteral("/");
    case VK_DECIMAL:
    case 0xBE: return QStringLiteral(".");
    default: return QString();
    }
}

QWidget* KeyWidget()
{
    TCustomForm* f = ui::KeyForm();
    if (!f) {
        ADD_FAILURE() << "key input without a form to receive it";
        return nullptr;
    }
    TWinControl* c = f->ActiveControl() ? f->ActiveControl() : f;
    return ui::N(c).widget;
}

void SendKey(QEvent::Type type, int qtKey, TShiftState shift, const QString& text, bool keypad = false)
{
    QWidget* w = KeyWidget();
    if (!w) return;
    QKeyEvent ev(type, qtKey, QtModifiers(shift) | (keypad ? Qt::KeypadModifier : Qt::NoModifier), text);
    QApplication::sendEvent(w, &ev);
}

} // namespace

// ---- Responder -------------------------------------------------------------------------

struct Responder::Impl {
    std::deque<int> messageAnswers;
    std::deque<FileDialogAnswer> fileAnswers;
    std::deque<int> popupAnswers;
    std::deque<std::function<void(TCustomForm&)>> modalScripts;
};

Responder::Responder() : impl_(std::make_unique<Impl>()) {}
Responder::~Responder() = default;

void Responder::AnswerMessageBox(int Result) { impl_->messageAnswers.push_back(Result); }

void Responder::AnswerFileDialog(const String& FileName, int FilterIndex)
{
    FileDialogAnswer a;
    a.Accepted = true;
    a.FileName = FileName;
    a.FilterIndex = FilterIndex;
    impl_->fileAnswers.push_back(a);
}

void Responder::CancelFileDialog() { impl_->fileAnswers.push_back(FileDialogAnswer{}); }

void Responder::AnswerPopup(int Index) { impl_->popupAnswers.push_back(Index); }

void Responder::ScriptModal(std::function<void(TCustomForm& Form)> Script) { impl_->modalScripts.push_back(std::move(Script)); }

std::vector<String> Responder::MessageTexts() const
{
    std::vector<String> v;
    for (const auto& m : messageBoxes_) v.push_back(m.Request.Text);
    return v;
}

int Responder::MessageBox(const MessageBoxRequest& Request)
{
    MessageBoxCall call;
    call.Request = Request;
    if (impl_->messageAnswers.empty()) {
        ADD_FAILURE() << "unscripted message box [" << U8(Request.Caption) << "]: " << U8(Request.Text);
        call.Answer = Request.Buttons.Contains(mbCancel) ? mrCancel : Request.Buttons.Contains(mbNo) ? mrNo : mrOk;
    } else {
        call.Answer = impl_->messageAnswers.front();
        impl_->messageAnswers.pop_front();
        call.Scripted = true;
    }
    messageBoxes_.push_back(call);
    return call.Answer;
}

FileDialogAnswer Responder::FileDialog(const FileDialogRequest& Request)
{
    FileDialogCall call;
    call.Request = Request;
    if (impl_->fileAnswers.empty()) {
        ADD_FAILURE() << "unscripted " << (Request.Save ? "save" : "open") << " dialog, filter " << U8(Request.Filter);
    } else {
        call.Answer = impl_->fileAnswers.front();
        impl_->fileAnswers.pop_front();
        if (call.Answer.FilterIndex <= 0) call.Answer.FilterIndex = Request.FilterIndex;
        call.Scripted = true;
    }
    fileDialogs_.push_back(call);
    return call.Answer;
}

int Responder::PopupMenu(const PopupMenuRequest& Request)
{
    PopupCall call;
    call.Request = Request;
    if (impl_->popupAnswers.empty()) {
        ADD_FAILURE() << "unscripted popup menu with " << Request.Items.size() << " items";
    } else {
        call.Answer = impl_->popupAnswers.front();
        impl_->popupAnswers.pop_front();
        call.Scripted = true;
    }
    popups_.push_back(call);
    return call.Answer;
}

bool Responder::RunModal(TCustomForm& Form)
{
    ModalCall call;
    call.FormClass = Form.ClassName();
    const HWND h = Form.Handle();
    if (impl_->modalScripts.empty()) {
        ADD_FAILURE() << "unscripted modal form " << U8(Form.ClassName());
        Form.SetModalResult(mrCancel);
        call.Result = mrCancel;
        modals_.push_back(call);
        return true;
    }
    auto script = std::move(impl_->modalScripts.front());
    impl_->modalScripts.pop_front();
    call.Scripted = true;
    try {
        script(Form);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "modal script for " << U8(call.FormClass) << " threw: " << e.what();
    }
    if (!IsWindow(h)) {
        modals_.push_back(call);
        return true;
    }
    // Watchdog: posted messages may still set the result; a script that leaves none fails
    // the test instead of hanging it.
    QElapsedTimer t;
    t.start();
    while (IsWindow(h) && Form.ModalResult() == mrNone && t.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (IsWindow(h) && Form.ModalResult() == mrNone) {
        ADD_FAILURE() << "modal form " << U8(call.FormClass) << ": the script left no modal result (watchdog)";
        Form.SetModalResult(mrCancel);
    }
    call.Result = IsWindow(h) ? Form.ModalResult() : mrCancel;
    modals_.push_back(call);
    return true;
}

void Responder::RecordShellOpen(const String& Target) { shellOpens_.push_back({Target}); }

void Responder::Verify()
{
    if (!impl_->messageAnswers.empty()) ADD_FAILURE() << impl_->messageAnswers.size() << " scripted message box answer(s) left unused";
    if (!impl_->fileAnswers.empty()) ADD_FAILURE() << impl_->fileAnswers.size() << " scripted file dialog answer(s) left unused";
    if (!impl_->popupAnswers.empty()) ADD_FAILURE() << impl_->popupAnswers.size() << " scripted popup answer(s) left unused";
    if (!impl_->modalScripts.empty()) ADD_FAILURE() << impl_->modalScripts.size() << " modal script(s) left unused";
}

// ---- fixture -------------------------------------------------------------------------

void UiTest::SetUp()
{
    Application->Initialize();
    responder_ = std::make_unique<Responder>();
    SetUiResponder(responder_.get());
    Responder* r = responder_.get();
    SetShellOpenHandler([r](const String& target) {
        r->RecordShellOpen(target);
        return true;
    });
    static FakeClock clock(0x10000);
    g_clock = &clock;
    clock.SetAdvanceListener([](std::uint32_t before, std::uint32_t after) { ui::ClockAdvanced(before, after); });
    SetClock(&clock);
    ClearAccessibilityEvents();
}

void UiTest::TearDown()
{
    ProcessEvents();
    responder_->Verify();
    if (const int left = ui::ClearDragScripts()) ADD_FAILURE() << left << " drag script(s) that no drag took";
    SetCaptureControl(nullptr);
    ui::SetShiftState(0);
    g_buttons = Qt::NoButton;
    ui::MouseLeftWindow();
    SetShellOpenHandler(StrictShellOpen);
    SetUiResponder(&StrictResponder());
    SetClock(nullptr);
    g_clock = nullptr;
    ui::FakeMonitors().clear();
    responder_.reset();
}

void InstallStrictResponders()
{
    SetUiResponder(&StrictResponder());
    SetShellOpenHandler(StrictShellOpen);
}

// ---- clock and loop --------------------------------------------------------------------

void AdvanceClock(std::uint32_t Milliseconds)
{
    if (!g_clock) {
        ADD_FAILURE() << "AdvanceClock needs the UiTest fixture (fake clock)";
        return;
    }
    const std::uint32_t target = g_clock->GetTickCount() + Milliseconds;
    for (int guard = 0; guard < 1000000; ++guard) {
        const std::uint32_t now = g_clock->GetTickCount();
        std::uint32_t due = 0;
        if (!ui::NextDue(now, target, due)) break;
        g_clock->SetTicks(due);
        ui::FireDueNow();
    }
    g_clock->SetTicks(target);
}

std::uint32_t Now() { return GetTickCount(); }

void SetTicks(std::uint32_t Ticks)
{
    if (!g_clock) {
        ADD_FAILURE() << "SetTicks needs the UiTest fixture (fake clock)";
        return;
    }
    g_clock->SetTicks(Ticks);
}

void ProcessEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// ---- input -------------------------------------------------------------------------------

void Click(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift)
{
    Press(Control, X, Y, Button, Shift);
    Release(Control, X, Y, Button, Shift);
}

void DoubleClick(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift)
{
    const HWND h = dynamic_cast<TWinControl*>(Control) ? static_cast<TWinControl*>(Control)->Handle() : Control->Parent()->Handle();
    Press(Control, X, Y, Button, Shift);
    if (!IsWindow(h)) return;
    Release(Control, X, Y, Button, Shift);
    if (!IsWindow(h)) return;
    SendMouse(QEvent::MouseButtonDblClick, Control, X, Y, QtButton(Button), Shift);
    if (!IsWindow(h)) return;
    Release(Control, X, Y, Button, Shift);
}

void Press(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift)
{
    Move(Control, X, Y, Shift);
    SendMouse(QEvent::MouseButtonPress, Control, X, Y, QtButton(Button), Shift);
}

void Release(TControl* Control, int X, int Y, TMouseButton Button, TShiftState Shift)
{
    SendMouse(QEvent::MouseButtonRelease, Control, X, Y, QtButton(Button), Shift);
}

void Move(TControl* Control, int X, int Y, TShiftState Shift)
{
    SendMouse(QEvent::MouseMove, Control, X, Y, Qt::NoButton, Shift);
}

void MoveAway() { ui::MouseLeftWindow(); }

void ScriptDrag(std::function<void()> Script)
{
    ui::QueueDragScript([Script = std::move(Script)] {
        Script();
        if (DragDropRunning()) ADD_FAILURE() << "the drag script ended with the drag still running";
    });
}

String WindowTitle(TCustomForm* Form)
{
    const QString t = ui::N(Form).widget->windowTitle();
    return String(reinterpret_cast<const char16_t*>(t.utf16()), static_cast<size_t>(t.size()));
}

void ActivateForm(TCustomForm* Form) { ui::ActivateFormNow(Form); }

void SetFakeScreens(std::vector<FakeMonitor> Monitors)
{
    auto& fake = ui::FakeMonitors();
    fake.clear();
    for (const FakeMonitor& m : Monitors) fake.push_back({m.Bounds, m.WorkArea});
}

void ClearFakeScreens() { ui::FakeMonitors().clear(); }

void CloseBox(TCustomForm* Form)
{
    QCloseEvent ev;
    QApplication::sendEvent(ui::N(Form).widget, &ev);
}

void Wheel(TControl* Control, int Delta, int X, int Y, TShiftState Shift)
{
    Target t = Locate(Control, X, Y);
    if (!t.widget) return;
    QWheelEvent ev(QPointF(t.pos), QPointF(t.global), QPoint(), QPoint(0, Delta), g_buttons, QtModifiers(Shift), Qt::NoScrollPhase, false);
    QApplication::sendEvent(t.widget, &ev);
}

// The numeric keypad's keys (digits and signs) come with the keypad modifier, as from a keyboard.
bool IsKeypadKey(std::uint16_t vk) { return vk >= VK_NUMPAD0 && vk <= VK_DIVIDE; }

void KeyDown(std::uint16_t VirtualKey, TShiftState Shift)
{
    SendKey(QEvent::KeyPress, ui::QtKeyOf(VirtualKey), Shift, KeyText(VirtualKey, Shift), IsKeypadKey(VirtualKey));
}

void KeyUp(std::uint16_t VirtualKey, TShiftState Shift)
{
    SendKey(QEvent::KeyRelease, ui::QtKeyOf(VirtualKey), Shift, QString(), IsKeypadKey(VirtualKey));
}

void Key(std::uint16_t VirtualKey, TShiftState Shift)
{
    KeyDown(VirtualKey, Shift);
    KeyUp(VirtualKey, Shift);
}

void Type(const String& Text)
{
    for (char16_t ch : Text) {
        int qtKey = 0;
        TShiftState shift = 0;
        if (ch >= u'a' && ch <= u'z')
            qtKey = ch - u'a' + 'A';
        else if (ch >= u'A' && ch <= u'Z') {
            qtKey = ch;
            shift = ssShift;
        } else if (ch == u'\r' || ch == u'\n')
            qtKey = Qt::Key_Return;
        else if (ch == u'\t')
            qtKey = Qt::Key_Tab;
        else if (ch < 0x80)
            qtKey = ch;  // Qt's key codes of ASCII punctuation and digits are the characters
        SendKey(QEvent::KeyPress, qtKey, shift, QString(QChar(ch)));
        SendKey(QEvent::KeyRelease, qtKey, shift, QString());
    }
}

// ---- pictures ----------------------------------------------------------------------------

bool ShowsCursor(TControl* Control, int X, int Y, TCursor Id)
{
    const Target t = Locate(Control, X, Y);
    if (!t.widget) return false;
    // An unset widget cursor answers its parent's, as the window system shows it.
    const QCursor shown = QApplication::overrideCursor() ? *QApplication::overrideCursor() : t.widget->cursor();
    const QCursor wanted = ui::MakeCursor(Id);
    if (wanted.shape() != Qt::BitmapCursor) return shown.shape() == wanted.shape();
    return shown.shape() == Qt::BitmapCursor && shown.pixmap().cacheKey() == wanted.pixmap().cacheKey() &&
           shown.hotSpot() == wanted.hotSpot();
}

std::unique_ptr<TBitmap> Grab(TControl* Control)
{
    QImage img;
    if (auto* w = dynamic_cast<TWinControl*>(Control)) {
        img = ui::GrabWindow(w);
    } else if (Control->Parent()) {
        const QPoint off = ui::ClientOffset(Control->Parent());
        img = ui::GrabWindow(Control->Parent()).copy(off.x() + Control->Left(), off.y() + Control->Top(), Control->Width(), Control->Height());
    }
    auto bmp = std::make_unique<TBitmap>(std::max(1, img.width()), std::max(1, img.height()));
    if (!img.isNull()) gfx::BitmapImage(bmp.get()) = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return bmp;
}

void SaveGrab(TControl* Control, const String& Path)
{
    QString p = QString::fromUtf16(Path.data(), static_cast<qsizetype>(Path.size()));
    if (!p.startsWith(u'/')) {
        const char* dir = std::getenv("TEST_PICTURES");
        if (!dir || !*dir) return;
        QDir().mkpath(QString::fromLocal8Bit(dir));
        p = QString::fromLocal8Bit(dir) + u'/' + p;
    }
    auto bmp = Grab(Control);
    if (!gfx::BitmapImage(bmp.get()).save(p, "PNG")) ADD_FAILURE() << "could not write " << U8(Path);
}

std::unique_ptr<TBitmap> GrabForms(const std::vector<TCustomForm*>& Forms)
{
    struct Placed {
        QImage image;
        QPoint at;
    };
    std::vector<Placed> placed;
    QRect bounds;
    for (TCustomForm* f : Forms) {
        if (!f || !f->Visible()) continue;
        const QImage img = ui::GrabWindow(f);
        if (img.isNull()) continue;
        // A top-level window's grab starts at its corner, which lies at (Left, Top) on screen.
        const QPoint at(f->Left(), f->Top());
        placed.push_back({img, at});
        bounds |= QRect(at, img.size());
    }
    auto bmp = std::make_unique<TBitmap>(std::max(1, bounds.width()), std::max(1, bounds.height()));
    QImage sheet(std::max(1, bounds.width()), std::max(1, bounds.height()), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        for (const Placed& pl : placed) p.drawImage(pl.at - bounds.topLeft(), pl.image);
    }
    gfx::BitmapImage(bmp.get()) = sheet;
    return bmp;
}

void SaveFormsGrab(const std::vector<TCustomForm*>& Forms, const String& Path)
{
    QString p = QString::fromUtf16(Path.data(), static_cast<qsizetype>(Path.size()));
    if (!p.startsWith(u'/')) {
        const char* dir = std::getenv("TEST_PICTURES");
        if (!dir || !*dir) return;
        QDir().mkpath(QString::fromLocal8Bit(dir));
        p = QString::fromLocal8Bit(dir) + u'/' + p;
    }
    auto bmp = GrabForms(Forms);
    if (!gfx::BitmapImage(bmp.get()).save(p, "PNG")) ADD_FAILURE() << "could not write " << U8(Path);
}

TColor PixelOf(const TBitmap& Bitmap, int X, int Y)
{
    const QImage& img = gfx::BitmapImage(&Bitmap);
    if (X < 0 || Y < 0 || X >= img.width() || Y >= img.height()) return clNone;
    const QRgb p = img.pixel(X, Y);
    return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

std::string SystemClipboardData(const char* MimeType)
{
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m ? m->data(QString::fromLatin1(MimeType)).toStdString() : std::string();
}

void SetDisplayComposites(std::optional<bool> Composites) { ui::SetDisplayCompositesAnswer(Composites); }

TRect BackedRect(TWinControl* Control)
{
    const NativeWindow& n = ui::N(Control);
    return Bounds(n.surfaceOrigin.x(), n.surfaceOrigin.y(), n.surface.width(), n.surface.height());
}

bool HasWindowMask(TWinControl* Control)
{
    const UiWidget* w = ui::N(Control).widget;
    return w && !w->mask().isEmpty();
}

bool InWindowMask(TWinControl* Control, int X, int Y)
{
    const UiWidget* w = ui::N(Control).widget;
    return w && w->mask().contains(QPoint(X, Y));
}

bool WindowTranslucent(TWinControl* Control)
{
    const UiWidget* w = ui::N(Control).widget;
    return w && w->testAttribute(Qt::WA_TranslucentBackground);
}

std::unique_ptr<TBitmap> GrabPainted(TWinControl* Control)
{
    UiWidget* w = ui::N(Control).widget;
    const QImage img = w ? w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) : QImage();
    auto bmp = std::make_unique<TBitmap>(std::max(1, img.width()), std::max(1, img.height()));
    bmp->SetPixelFormat(pf32bit);
    if (!img.isNull()) gfx::BitmapImage(bmp.get()) = img;
    return bmp;
}

} // namespace plat::testing
