// Drag and drop between windows: drop-target registration, DoDragDrop with its two drivers
// (the layer's in-process session and the system's drag through Qt), and the system's drag
// events on the layer's windows.
#include "plat/DragDrop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QObject>
#include <QPixmap>
#include <QImage>

#include <cstring>
#include <deque>
#include <memory>
#include <map>

#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "ui/MimeFormats.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

std::map<HWND, std::shared_ptr<IDropTarget>>& Targets()
{
    static std::map<HWND, std::shared_ptr<IDropTarget>> t;
    return t;
}

std::deque<ui::DragScript>& Scripts()
{
    static std::deque<ui::DragScript> s;
    return s;
}

std::uint32_t KeyState()
{
    std::uint32_t k = 0;
    if (GetKeyState(static_cast<int>(VK_LBUTTON)) < 0) k |= MK_LBUTTON;
    if (GetKeyState(static_cast<int>(VK_RBUTTON)) < 0) k |= MK_RBUTTON;
    if (GetKeyState(static_cast<int>(VK_MBUTTON)) < 0) k |= MK_MBUTTON;
    if (GetKeyState(static_cast<int>(VK_SHIFT)) < 0) k |= MK_SHIFT;
    if (GetKeyState(static_cast<int>(VK_CONTROL)) < 0) k |= MK_CONTROL;
    if (GetKeyState(static_cast<int>(VK_MENU)) < 0) k |= MK_ALT;
    return k;
}

// The window under a screen point that has a registered target: the deepest window there,
// then its parents.
HWND TargetWindowAt(TPoint screen)
{
    TControl* c = ui::ControlAtScreen(screen);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w && c) w = c->Parent();
    for (; w; w = w->Parent())
        if (Targets().count(w->Handle())) return w->Handle();
    return 0;
}

TCursor CursorForEffect(TDropEffect e)
{
    if (e & DROPEFFECT_MOVE) return crDrag;
    if (e & DROPEFFECT_COPY) return crMultiDrag;
    if (e & DROPEFFECT_LINK) return crDrag;
    return crNoDrop;
}

// ---- in-process session ------------------------------------------------------------------

struct Session {
    std::shared_ptr<IDataObject> data;
    std::shared_ptr<IDropSource> source;
    TDropEffect ok = DROPEFFECT_NONE;
    HWND target = 0;
    std::shared_ptr<IDropTarget> targetObj;
    TDropEffect last = DROPEFFECT_NONE;
    bool done = false;
    HRESULT result = DRAGDROP_S_CANCEL;
    TDropEffect effect = DROPEFFECT_NONE;

    void Step(bool escape, TPoint pt)
    {
        if (done) return;
        const std::uint32_t keys = KeyState();
        const HRESULT hr = source->QueryContinueDrag(escape, keys);
        if (hr == S_OK) {
            Over(pt, keys);
        } else if (hr == DRAGDROP_S_DROP) {
            Drop(pt, keys);
        } else {
            Cancel();
        }
    }

    void Over(TPoint pt, std::uint32_t keys)
    {
        const HWND w = TargetWindowAt(pt);
        if (w != target || !targetObj) {
            if (auto old = std::move(targetObj)) {
                target = 0;
                old->DragLeave();
            }
            target = 0;
            last = DROPEFFECT_NONE;
            if (w) {
                auto t = Targets()[w];
                TDropEffect e = ok;
                if (t && t->DragEnter(data, keys, pt, e) == S_OK) {
                    target = w;
                    targetObj = std::move(t);
                    last = e & ok;
                }
            }
        } else {
            TDropEffect e = ok;
            last = targetObj->DragOver(keys, pt, e) == S_OK ? (e & ok) : DROPEFFECT_NONE;
        }
        if (source->GiveFeedback(last) == DRAGDROP_S_USEDEFAULTCURSORS) SetCursor(CursorForEffect(last));
    }

    void Drop(TPoint pt, std::uint32_t keys)
    {
        done = true;
        auto t = std::move(targetObj);
        target = 0;
        if (t && last != DROPEFFECT_NONE) {
            TDropEffect e = ok;
            effect = t->Drop(data, keys, pt, e) == S_OK ? (e & ok) : DROPEFFECT_NONE;
            result = DRAGDROP_S_DROP;
            return;
        }
        // Released where nothing accepts: the drag ends as cancelled.
        if (t) t->DragLeave();
        result = DRAGDROP_S_CANCEL;
        effect = DROPEFFECT_NONE;
    }

    void Cancel()
    {
        done = true;
        auto t = std::move(targetObj);
        target = 0;
        if (t) t->DragLeave();
        result = DRAGDROP_S_CANCEL;
        effect = DROPEFFECT_NONE;
    }
};

Session* g_session = nullptr;
bool g_systemDrag = false;

// The picture set for the next drag of one data object.
struct DragPicture {
    const IDataObject* data = nullptr;
    std::unique_ptr<TBitmap> picture;
    TPoint hotSpot{};
};
DragPicture g_dragPicture;

HRESULT RunSession(Session& s, ui::DragScript script)
{
    g_session = &s;
    struct Reset {
        ~Reset() { g_session = nullptr; }
    } reset;
    SetCaptureControl(nullptr);
    s.Step(false, GetCursorPos());
    if (script && !s.done) script();
    // Input that cannot come (no script, or a script that ended early) ends the session as
    // the pointer and buttons stand; a button still held cancels.
    if (!s.done) {
        if (KeyState() & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) s.Cancel();
        else s.Step(false, GetCursorPos());
        if (!s.done) s.Cancel();
    }
    SetCursor(crDefault);
    return s.result;
}

// ---- the system's drag -------------------------------------------------------------------

const char* const kSessionType = "application/x-configurator-drag-session";
std::uint64_t g_sessionCounter = 0;
std::uint64_t g_systemSessionId = 0;
std::shared_ptr<IDataObject> g_systemData;

QString SessionTag(std::uint64_t id)
{
    return QStringLiteral("%1:%2").arg(static_cast<qulonglong>(QCoreApplication::applicationPid())).arg(static_cast<qulonglong>(id));
}

// MIME data that renders from the data object when a receiver asks.
class SourceMime : public QMimeData {
public:
    SourceMime(std::shared_ptr<IDataObject> data, std::uint64_t id) : data_(std::move(data)), id_(id)
    {
        std::shared_ptr<IEnumFormatEtc> en;
        if (data_->EnumFormatEtc(DATADIR_GET, en) == S_OK && en) {
            TFormatEtc f;
            std::uint32_t got = 0;
            for (int guard = 0; guard < 256 && en->Next(1, &f, &got) == S_OK && got == 1; ++guard) {
                formats_.push_back(f.Format);
                const QString type = ui::FormatMimeType(f.Format);
                if (!types_.contains(type)) types_.append(type);
            }
        }
        types_.append(QString::fromLatin1(kSessionType));
    }

    QStringList formats() const override { return types_; }
    bool hasFormat(const QString& type) const override { return types_.contains(type); }

protected:
    QVariant retrieveData(const QString& type, QMetaType) const override
    {
        if (type == QLatin1String(kSessionType)) return SessionTag(id_).toLatin1();
        QMimeData rendered;
        for (UINT f : formats_) {
            if (ui::FormatMimeType(f) != type) continue;
            TFormatEtc fe;
            fe.Format = f;
            TStgMedium m;
            if (data_->GetData(fe, m) != S_OK) continue;
            ui::PutFormat(rendered, f, std::string(m.Global.begin(), m.Global.end()));
        }
        return rendered.data(type);
    }

private:
    std::shared_ptr<IDataObject> data_;
    std::uint64_t id_;
    std::vector<UINT> formats_;
    QStringList types_;
};

// A foreign drag's data, read once when it enters.
class MimeDataObject : public IDataObject {
public:
    explicit MimeDataObject(const QMimeData& mime)
    {
        for (UINT f : ui::MimeOfferedFormats(mime)) data_[f] = ui::MimeFormatBytes(mime, f);
    }
    HRESULT GetData(const TFormatEtc& Format, TStgMedium& Medium) override
    {
        auto it = data_.find(Format.Format);
        if (it == data_.end() || !(Format.Tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        Medium.Tymed = TYMED_HGLOBAL;
        Medium.Global.assign(it->second.begin(), it->second.end());
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& Format) override
    {
        return data_.count(Format.Format) && (Format.Tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc&) override { return E_NOTIMPL; }
    HRESULT SetData(const TFormatEtc&, const TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(int Direction, std::shared_ptr<IEnumFormatEtc>& Out) override
    {
        if (Direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<TFormatEtc> list;
        for (const auto& [f, bytes] : data_) {
            TFormatEtc fe;
            fe.Format = f;
            list.push_back(fe);
        }
        Out = std::make_shared<ListEnum>(std::move(list));
        return S_OK;
    }

private:
    class ListEnum : public IEnumFormatEtc {
    public:
        explicit ListEnum(std::vector<TFormatEtc> list, std::size_t at = 0) : list_(std::move(list)), at_(at) {}
        HRESULT Next(std::uint32_t Count, TFormatEtc* Out, std::uint32_t* Fetched) override
        {
            std::uint32_t n = 0;
            while (n < Count && at_ < list_.size()) Out[n++] = list_[at_++];
            if (Fetched) *Fetched = n;
            return n == Count ? S_OK : S_FALSE;
        }
        HRESULT Skip(std::uint32_t Count) override
        {
            const std::size_t left = list_.size() - at_;
            at_ += Count < left ? Count : left;
            return Count <= left ? S_OK : S_FALSE;
        }
        HRESULT Reset() override
        {
            at_ = 0;
            return S_OK;
        }
        HRESULT Clone(std::shared_ptr<IEnumFormatEtc>& Out) override
        {
            Out = std::make_shared<ListEnum>(list_, at_);
            return S_OK;
        }

    private:
        std::vector<TFormatEtc> list_;
        std::size_t at_;
    };
    std::map<UINT, std::string> data_;
};

Qt::DropActions ToQt(TDropEffect e)
{
    Qt::DropActions a;
    if (e & DROPEFFECT_COPY) a |= Qt::CopyAction;
    if (e & DROPEFFECT_MOVE) a |= Qt::MoveAction;
    if (e & DROPEFFECT_LINK) a |= Qt::LinkAction;
    return a;
}

Qt::DropAction OneAction(TDropEffect e)
{
    if (e & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (e & DROPEFFECT_COPY) return Qt::CopyAction;
    if (e & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

TDropEffect FromQt(Qt::DropActions a)
{
    TDropEffect e = DROPEFFECT_NONE;
    if (a & Qt::CopyAction) e |= DROPEFFECT_COPY;
    if (a & Qt::MoveAction) e |= DROPEFFECT_MOVE;
    if (a & Qt::LinkAction) e |= DROPEFFECT_LINK;
    return e;
}

std::uint32_t KeysOf(Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    std::uint32_t k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    if (m & Qt::AltModifier) k |= MK_ALT;
    return k;
}

// Asks the source on every key change while the system's drag runs; Escape and a cancel
// answer end the drag.
class SystemDragWatch : public QObject {
public:
    explicit SystemDragWatch(IDropSource* source) : source_(source) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            const bool escape = e->type() == QEvent::KeyPress && k->key() == Qt::Key_Escape;
            const HRESULT hr = source_->QueryContinueDrag(escape, KeysOf(QGuiApplication::mouseButtons(), k->modifiers()));
            if (hr != S_OK && hr != DRAGDROP_S_DROP) QDrag::cancel();
        }
        return QObject::eventFilter(o, e);
    }

private:
    IDropSource* source_;
};

QWidget* DragWidget()
{
    TControl* c = GetCaptureControl();
    if (!c) c = ui::MouseControl();
    auto* w = dynamic_cast<TWinControl*>(c);
    if (!w && c) w = c->Parent();
    if (!w && Screen) w = Screen->ActiveForm();
    return w ? static_cast<QWidget*>(ui::N(w).widget) : nullptr;
}

HRESULT RunSystemDrag(const std::shared_ptr<IDataObject>& data, const std::shared_ptr<IDropSource>& source,
                      TDropEffect ok, TDropEffect& effect)
{
    QWidget* from = DragWidget();
    if (!from) return E_UNEXPECTED;
    const std::uint64_t id = ++g_sessionCounter;
    g_systemSessionId = id;
    g_systemData = data;
    g_systemDrag = true;
    struct Reset {
        ~Reset()
        {
            g_systemDrag = false;
            g_systemData.reset();
            g_systemSessionId = 0;
        }
    } reset;
    SetCaptureControl(nullptr);
    auto* drag = new QDrag(from);
    drag->setMimeData(new SourceMime(data, id));
    if (g_dragPicture.data == data.get() && g_dragPicture.picture && ui::DisplayComposites()) {
        // B, G, R, A bytes with straight alpha are the little-endian ARGB32 image.
        const TBitmap& b = *g_dragPicture.picture;
        QImage img(b.Width(), b.Height(), QImage::Format_ARGB32);
        for (int y = 0; y < b.Height(); ++y)
            std::memcpy(img.scanLine(y), b.ScanLine(y), std::size_t(4) * b.Width());
        drag->setPixmap(QPixmap::fromImage(img));
        drag->setHotSpot(QPoint(g_dragPicture.hotSpot.X, g_dragPicture.hotSpot.Y));
    }
    QObject::connect(drag, &QDrag::actionChanged,
                     [s = source.get()](Qt::DropAction a) { s->GiveFeedback(FromQt(a)); });
    SystemDragWatch watch(source.get());
    qApp->installEventFilter(&watch);
    const Qt::DropAction done = drag->exec(ToQt(ok), OneAction(ok));
    qApp->removeEventFilter(&watch);
    drag->deleteLater();
    effect = FromQt(done) & ok;
    return done == Qt::IgnoreAction || effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

bool OffscreenDisplay()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
           QGuiApplication::platformName() == QLatin1String("minimal");
}

// What one registered window's drop target makes of the system's drag.
struct SystemTargetState {
    HWND window = 0;
    std::shared_ptr<IDropTarget> target;
    std::shared_ptr<IDataObject> data;
};
SystemTargetState g_systemTarget;

} // namespace

TControl* ui::ControlAtScreen(TPoint screen)
{
    for (TCustomForm* w : ui::ShownForms()) {
        if (!w || !w->Showing() || !w->Enabled()) continue;
        TRect r;
        if (!GetWindowRect(w->Handle(), r) || !r.Contains(screen)) continue;
        TControl* at = w;
        for (;;) {
            auto* win = dynamic_cast<TWinControl*>(at);
            if (!win) break;
            TControl* child = win->ControlAtPos(win->ScreenToClient(screen), false, true);
            if (!child) break;
            at = child;
        }
        return at;
    }
    return nullptr;
}

HRESULT RegisterDragDrop(HWND Window, std::shared_ptr<IDropTarget> Target)
{
    TWinControl* w = FindControl(Window);
    if (!w) return DRAGDROP_E_INVALIDHWND;
    if (!Target) return E_INVALIDARG;
    auto& t = Targets();
    if (t.count(Window)) return DRAGDROP_E_ALREADYREGISTERED;
    t[Window] = std::move(Target);
    if (QWidget* q = static_cast<QWidget*>(ui::N(w).widget)) q->setAcceptDrops(true);
    return S_OK;
}

HRESULT RevokeDragDrop(HWND Window)
{
    auto& t = Targets();
    auto it = t.find(Window);
    if (it == t.end()) return DRAGDROP_E_NOTREGISTERED;
    t.erase(it);
    if (TWinControl* w = FindControl(Window))
        if (QWidget* q = static_cast<QWidget*>(ui::N(w).widget)) q->setAcceptDrops(false);
    ui::DragDropForgetWindow(Window);
    return S_OK;
}

std::shared_ptr<IDropTarget> RegisteredDropTarget(HWND Window)
{
    auto it = Targets().find(Window);
    return it == Targets().end() ? nullptr : it->second;
}

bool DragDropRunning() { return (g_session && !g_session->done) || g_systemDrag; }

bool SetSystemDragImage(const IDataObject* Data, const TBitmap& Picture, TPoint HotSpot)
{
    if (!Data || Picture.Width() <= 0 || Picture.Height() <= 0) return false;
    g_dragPicture.data = Data;
    g_dragPicture.picture = std::make_unique<TBitmap>(Picture.Width(), Picture.Height());
    g_dragPicture.picture->SetPixelFormat(pf32bit);
    for (int y = 0; y < Picture.Height(); ++y)
        std::memcpy(g_dragPicture.picture->ScanLine(y), Picture.ScanLine(y), std::size_t(4) * Picture.Width());
    g_dragPicture.hotSpot = HotSpot;
    // The same choice of driver as DoDragDrop makes; the system shows a translucent picture
    // only where a compositing manager blends it (else it would be an opaque box).
    return Scripts().empty() && !OffscreenDisplay() && ui::InUiThread() && ui::DisplayComposites();
}

bool SystemDragImage(const IDataObject* Data, TBitmap& Picture, TPoint& HotSpot)
{
    if (!Data || g_dragPicture.data != Data || !g_dragPicture.picture) return false;
    const TBitmap& b = *g_dragPicture.picture;
    Picture.SetSize(b.Width(), b.Height());
    for (int y = 0; y < b.Height(); ++y) std::memcpy(Picture.ScanLine(y), b.ScanLine(y), std::size_t(4) * b.Width());
    HotSpot = g_dragPicture.hotSpot;
    return true;
}

HRESULT DoDragDrop(std::shared_ptr<IDataObject> Data, std::shared_ptr<IDropSource> Source, TDropEffect OkEffects,
                   TDropEffect& Effect)
{
    Effect = DROPEFFECT_NONE;
    if (!Data || !Source) return E_INVALIDARG;
    if (g_session || g_systemDrag) return E_UNEXPECTED;
    // The picture belongs to this one drag, whichever driver runs it.
    struct ForgetPicture {
        const IDataObject* Data;
        ~ForgetPicture()
        {
            if (g_dragPicture.data == Data) g_dragPicture = DragPicture{};
        }
    } forgetPicture{Data.get()};
    ui::DragScript script;
    if (!Scripts().empty()) {
        script = std::move(Scripts().front());
        Scripts().pop_front();
    }
    if (!script && !OffscreenDisplay() && ui::InUiThread()) return RunSystemDrag(Data, Source, OkEffects, Effect);
    Session s;
    s.data = std::move(Data);
    s.source = std::move(Source);
    s.ok = OkEffects;
    const HRESULT hr = RunSession(s, std::move(script));
    Effect = s.effect;
    return hr;
}

void ui::QueueDragScript(DragScript script) { Scripts().push_back(std::move(script)); }

int ui::ClearDragScripts()
{
    const int n = static_cast<int>(Scripts().size());
    Scripts().clear();
    return n;
}

bool ui::DragSessionMouse(UINT msg, TPoint screen)
{
    if (!g_session) return false;
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP ||
        msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)
        g_session->Step(false, screen);
    return true;
}

bool ui::DragSessionKey(int vk, bool down)
{
    if (!g_session) return false;
    g_session->Step(down && vk == static_cast<int>(VK_ESCAPE), GetCursorPos());
    return true;
}

void ui::DragDropForgetWindow(HWND handle)
{
    Targets().erase(handle);
    if (g_session && g_session->target == handle) {
        // The window has gone: its target hears nothing more.
        g_session->target = 0;
        g_session->targetObj.reset();
        g_session->last = DROPEFFECT_NONE;
    }
    if (g_systemTarget.window == handle) g_systemTarget = SystemTargetState{};
}

bool ui::SystemDropEvent(TWinControl* control, QEvent* e)
{
    if (!control) return false;
    const HWND h = control->Handle();
    if (e->type() == QEvent::DragLeave) {
        if (g_systemTarget.window != h) return false;
        auto t = std::move(g_systemTarget.target);
        g_systemTarget = SystemTargetState{};
        if (t) t->DragLeave();
        return true;
    }
    auto* de = static_cast<QDropEvent*>(e);
    auto target = RegisteredDropTarget(h);
    if (!target) return false;
    const QPointF pos = de->position();
    const TPoint client{static_cast<int>(pos.x()) - ui::ClientOffset(control).x(),
                        static_cast<int>(pos.y()) - ui::ClientOffset(control).y()};
    const TPoint pt = control->ClientToScreen(client);
    const std::uint32_t keys = KeysOf(de->buttons(), de->modifiers());
    const TDropEffect ok = FromQt(de->possibleActions());
    if (e->type() == QEvent::DragEnter || g_systemTarget.window != h) {
        if (g_systemTarget.target) g_systemTarget.target->DragLeave();
        g_systemTarget = SystemTargetState{};
        std::shared_ptr<IDataObject> data;
        const QMimeData* mime = de->mimeData();
        if (mime && g_systemData && mime->data(QString::fromLatin1(kSessionType)) == SessionTag(g_systemSessionId).toLatin1())
            data = g_systemData;
        else if (mime)
            data = std::make_shared<MimeDataObject>(*mime);
        if (!data) return false;
        TDropEffect eff = ok;
        if (target->DragEnter(data, keys, pt, eff) != S_OK) {
            de->ignore();
            return true;
        }
        g_systemTarget = SystemTargetState{h, target, data};
        eff &= ok;
        de->setDropAction(OneAction(eff));
        de->accept();  // the enter is taken so that moves follow, refused ones included
        return true;
    }
    if (e->type() == QEvent::DragMove) {
        TDropEffect eff = ok;
        const bool fine = target->DragOver(keys, pt, eff) == S_OK && (eff & ok) != DROPEFFECT_NONE;
        if (fine) {
            de->setDropAction(OneAction(eff & ok));
            de->accept();
        } else {
            de->ignore();
        }
        return true;
    }
    // Drop.
    auto data = g_systemTarget.data;
    g_systemTarget = SystemTargetState{};
    TDropEffect eff = ok;
    if (data && target->Drop(data, keys, pt, eff) == S_OK && (eff & ok) != DROPEFFECT_NONE) {
        de->setDropAction(OneAction(eff & ok));
        de->accept();
    } else {
        de->ignore();
    }
    return true;
}

} // namespace plat
