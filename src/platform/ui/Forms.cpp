// Forms, the application object and the screen.
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QScreen>

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/UiResponder.h"
#include "gfx/GfxNative.h"
#include "ui/UiNative.h"

namespace plat {

namespace {

std::vector<TCustomForm*> g_modalStack;
TCustomForm* g_activeForm = nullptr;
std::vector<TCustomForm*> g_allForms;  // every form alive, in creation order

// The form that has the keyboard; OnDeactivate of the old one, then OnActivate of the new.
// Both hear WM_NCACTIVATE and WM_ACTIVATE naming the other window (WA_INACTIVE for the old
// one, WA_ACTIVE for the new one), the old one first.
void SetActiveForm(TCustomForm* f)
{
    if (g_activeForm == f) return;
    TCustomForm* old = g_activeForm;
    g_activeForm = f;
    const HWND hNew = f ? f->Handle() : 0;
    const HWND hOld = old ? old->Handle() : 0;
    if (old && IsWindow(hOld)) {
        old->Perform(WM_NCACTIVATE, 0, static_cast<LPARAM>(hNew));
        if (IsWindow(hOld)) old->Perform(WM_ACTIVATE, WA_INACTIVE, static_cast<LPARAM>(hNew));
    }
    if (old && IsWindow(hOld) && old->OnDeactivate) old->OnDeactivate(old);
    if (f && g_activeForm == f && IsWindow(hNew)) {
        f->Perform(WM_NCACTIVATE, 1, static_cast<LPARAM>(hOld));
        if (g_activeForm == f && IsWindow(hNew)) f->Perform(WM_ACTIVATE, WA_ACTIVE, static_cast<LPARAM>(hOld));
    }
    if (f && g_activeForm == f && IsWindow(hNew) && f->OnActivate) f->OnActivate(f);
}
QEventLoop* g_runLoop = nullptr;

struct ModalLoop {
    TCustomForm* form;
    QEventLoop* loop;
};
std::vector<ModalLoop> g_modalLoops;

// The offscreen platform has no window stacking or activation.
bool CanActivate() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

} // namespace

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace ui {

TCustomForm* KeyForm()
{
    if (!g_modalStack.empty()) return g_modalStack.back();
    if (g_activeForm) return g_activeForm;
    return Application ? Application->MainForm() : nullptr;
}

void RunLoopOnce() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void ActivateFormNow(TCustomForm* form)
{
    if (!form || !form->Visible()) return;
    if (!g_modalStack.empty() && g_modalStack.back() != form) {
        // Under a modal form only the modal form and the windows it owns take the activation.
        bool owned = false;
        for (const TWinControl* c = form; c; c = OwnerWindowOf(c))
            if (c == g_modalStack.back()) owned = true;
        if (!owned) return;
    }
    SetActiveForm(form);
}

std::vector<FakeMonitorRects>& FakeMonitors()
{
    static std::vector<FakeMonitorRects> monitors;
    return monitors;
}

void FormActivatedBySystem(TCustomForm* form)
{
    // The window system activated a form (a click on it); under a modal form only that one counts.
    if (!g_modalStack.empty() && g_modalStack.back() != form) return;
    if (form->Visible()) SetActiveForm(form);
}

} // namespace ui

// ---- TCustomForm ---------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    TControl::SetVisible(false);
    SetBorderStyle(bsSizeable);
    SetColor(clBtnFace);
    SetParentFont(false);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-11);
    SetBounds(0, 0, 320, 240);
    g_allForms.push_back(this);
    NativeWindow& n = ui::N(this);
    ApplyWindowFlags();
    n.widget->setAttribute(Qt::WA_DeleteOnClose, false);
    n.widget->setFocusPolicy(Qt::StrongFocus);
    if (Application && AOwner == Application) {
        // CreateForm registers it.
    }
}

TCustomForm::~TCustomForm()
{
    SetComponentState(ComponentState() | csDestroying);
    if (created_ && OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            Application->HandleException(this);
        }
    }
    // Owned components go first, while the form is still whole.
    DestroyComponents();
    // Forms this one owned forget it.
    for (TCustomForm* f : g_allForms)
        if (f->popupParent_ == this) f->popupParent_ = nullptr;
    g_modalStack.erase(std::remove(g_modalStack.begin(), g_modalStack.end(), this), g_modalStack.end());
    if (g_activeForm == this) g_activeForm = nullptr;
    g_allForms.erase(std::remove(g_allForms.begin(), g_allForms.end(), this), g_allForms.end());
    for (auto& ml : g_modalLoops)
        if (ml.form == this) {
            ml.form = nullptr;
            ml.loop->quit();
        }
    if (Application) {
        auto& forms = UiAccess::Forms(Application);
        forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
        if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    }
    activeControl_ = nullptr;
    focusedControl_ = nullptr;
}

void TCustomForm::AfterConstruction()
{
    if (created_) return;
    created_ = true;
    DoCreate();
}

void TCustomForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    // The window manager draws the frame of a top-level window: no layer frame.
    Params.Style &= ~(WS_CHILD | WS_BORDER);
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    Params.Style |= WS_POPUP;
}

void TCustomForm::SetBorderStyle(TBorderStyle Value)
{
    TWinControl::SetBorderStyle(Value);
    ApplyWindowFlags();
}

void TCustomForm::ApplyWindowFlags()
{
    const TBorderStyle Value = BorderStyle();
    UiWidget* w = ui::N(this).widget;
    if (!w) return;
    Qt::WindowFlags f = Qt::Window;
    switch (Value) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog:
    case bsSingle: f |= Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint; break;
    case bsToolWindow:
    case bsSizeToolWin: f = Qt::Tool; break;
    default: break;
    }
    if (Value != bsNone) {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_ & biSystemMenu) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((borderIcons_ & biMinimize) && Value != bsDialog) f |= Qt::WindowMinimizeButtonHint;
        if ((borderIcons_ & biMaximize) && Value != bsDialog) f |= Qt::WindowMaximizeButtonHint;
    }
    if (formStyle_ == fsStayOnTop) f |= Qt::WindowStaysOnTopHint;
    const bool vis = w->isVisible();
    w->setWindowFlags(f);
    if (Value == bsSingle || Value == bsDialog || Value == bsNone)
        w->setFixedSize(Width(), Height());
    else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    if (vis) w->show();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    borderIcons_ = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    formStyle_ = Value;
    ApplyWindowFlags();
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    windowState_ = Value;
    UiWidget* w = ui::N(this).widget;
    if (!w || !Visible()) return;
    if (Value == wsMaximized)
        w->showMaximized();
    else if (Value == wsMinimized)
        w->showMinimized();
    else
        w->showNormal();
}

void TCustomForm::SetAlphaBlend(bool Value)
{
    alphaBlend_ = Value;
    ui::N(this).widget->setWindowOpacity(Value ? alphaBlendValue_ / 255.0 : 1.0);
}

void TCustomForm::SetAlphaBlendValue(int Value)
{
    alphaBlendValue_ = std::clamp(Value, 0, 255);
    if (alphaBlend_) ui::N(this).widget->setWindowOpacity(alphaBlendValue_ / 255.0);
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (minWidth_ > 0) AWidth = std::max(AWidth, minWidth_);
    if (minHeight_ > 0) AHeight = std::max(AHeight, minHeight_);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    UiWidget* w = ui::N(this).widget;
    if (!w) return;
    if (BorderStyle() == bsSingle || BorderStyle() == bsDialog || BorderStyle() == bsNone) w->setFixedSize(Width(), Height());
    if (w->pos() != QPoint(Left(), Top())) w->move(Left(), Top());
    if (w->size() != QSize(Width(), Height())) w->resize(Width(), Height());
}

TRect TCustomForm::ClientRect() const { return Rect(0, 0, Width(), Height()); }

void TCustomForm::SetPopupParent(TCustomForm* Value)
{
    if (Value == this) Value = nullptr;
    popupParent_ = Value;
}

void TCustomForm::SetMinimumSize(int AWidth, int AHeight)
{
    minWidth_ = std::max(0, AWidth);
    minHeight_ = std::max(0, AHeight);
    if (Width() < minWidth_ || Height() < minHeight_) SetBounds(Left(), Top(), Width(), Height());
}

TWinControl* OwnerWindowOf(const TWinControl* Control)
{
    if (!Control) return nullptr;
    if (Control->Parent()) return Control->Parent();
    if (auto* f = dynamic_cast<const TCustomForm*>(Control)) return f->PopupParent();
    return nullptr;
}

TPoint TCustomForm::ClientOrigin() const { return {Left(), Top()}; }

void TCustomForm::SetClientWidth(int Value) { SetBounds(Left(), Top(), Value, Height()); }

void TCustomForm::SetClientHeight(int Value) { SetBounds(Left(), Top(), Width(), Value); }

bool TCustomForm::Showing() const { return Visible(); }

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus()
{
    if (!Visible() || !Enabled()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    // Under a modal form only that one can take the keyboard.
    if (g_modalStack.empty() || g_modalStack.back() == this) SetActiveForm(this);
    // The keyboard goes to the form's active control.
    if (focusedControl_ != activeControl_) SetFocusedControl(activeControl_);
}

bool TCustomForm::Active() const { return ui::KeyForm() == this; }

void TCustomForm::SetActiveControl(TWinControl* Control)
{
    if (activeControl_ == Control && focusedControl_ == Control) return;
    if (Control && (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    if (!Visible()) {
        activeControl_ = Control;  // focused when the form shows
        return;
    }
    SetFocusedControl(Control);
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    // A form that is not active becomes active; a hidden or disabled one cannot.
    const bool wasActive = Active();
    SetActiveControl(Control);
    if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing)
{
    if (!Control) return;
    if (Removing) {
        if (Control->ContainsControl(focusedControl_)) focusedControl_ = nullptr;
        if (Control->ContainsControl(activeControl_)) activeControl_ = nullptr;
        return;
    }
    if (Control->ContainsControl(activeControl_) || Control->ContainsControl(focusedControl_)) SetFocusedControl(nullptr);
}

void TCustomForm::SetFocusedControl(TWinControl* Control)
{
    TWinControl* old = focusedControl_;
    activeControl_ = Control;
    if (old == Control) return;
    focusedControl_ = Control;
    const HWND newH = Control ? Control->Handle() : Handle();
    const HWND oldH = old ? old->Handle() : Handle();
    if (old) old->Perform(WM_KILLFOCUS, newH, 0);
    if (Control && IsWindow(newH)) Control->Perform(WM_SETFOCUS, oldH, 0);
    // Exit from the old control and the containers that do not hold the new one.
    TWinControl* c = old;
    while (c && c != this && !c->ContainsControl(Control)) {
        c->Perform(CM_EXIT);
        c = c->Parent();
    }
    // Enter the containers of the new control from the outside in, then the control.
    if (Control) {
        std::vector<TWinControl*> chain;
        for (TWinControl* p = Control; p && p != this && p != c; p = p->Parent()) chain.push_back(p);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            if (!IsWindow(newH)) break;
            (*it)->Perform(CM_ENTER);
        }
    }
    if (focusedControl_ == Control) Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    if (focusedControl_ == Control && Control && IsWindow(newH)) {
        if (UiWidget* w = ui::N(Control).widget) w->setFocus(Qt::OtherFocusReason);
    }
}

void TCustomForm::SetModalResult(TModalResult Value)
{
    modalResult_ = Value;
    if (Value != mrNone) {
        for (auto& ml : g_modalLoops)
            if (ml.form == this) ml.loop->quit();
    }
}

void TCustomForm::ShowWindowNow(bool Value)
{
    UiWidget* w = ui::N(this).widget;
    if (!w) return;
    if (Value) {
        if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter || position_ == poOwnerFormCenter)
            CenterOnScreen();
        w->move(Left(), Top());
        w->resize(Width(), Height());
        if (windowState_ == wsMaximized)
            w->showMaximized();
        else
            w->show();
        if (CanActivate()) {
            w->raise();
            w->activateWindow();
        }
    } else {
        w->hide();
    }
}

void TCustomForm::CenterOnScreen()
{
    ui::EnsureApplication();
    QRect area(0, 0, 1280, 1024);
    if (QScreen* s = QGuiApplication::primaryScreen()) area = s->availableGeometry();
    TRect r = Screen->WorkAreaRect();
    (void)r;
    const int l = area.left() + (area.width() - Width()) / 2;
    const int t = area.top() + (area.height() - Height()) / 2;
    UiAccess::SetBoundsRaw(this, l, t, Width(), Height());
}

void TCustomForm::SetVisible(bool Value)
{
    if (Value == Visible()) return;
    if (Value) {
        AfterConstruction();
        TControl::SetVisible(true);
        DoShow();
        if (!Visible()) return;
        ShowWindowNow(true);
        ui::UpdateShowing(this);
        if (!Visible()) return;
        SetActiveForm(this);
        // Focus: the remembered active control, else the first control in tab order.
        TWinControl* target = activeControl_;
        if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
        focusedControl_ = nullptr;
        if (target) SetFocusedControl(target);
    } else {
        TControl::SetVisible(false);
        ShowWindowNow(false);
        ui::UpdateShowing(this);
        DoHide();
        if (g_activeForm == this) {
            // The keyboard goes back to the innermost modal form or the newest visible one.
            TCustomForm* next = nullptr;
            for (TCustomForm* f : g_allForms)
                if (f != this && f->Visible() && f->Enabled()) next = f;
            if (!g_modalStack.empty() && g_modalStack.back() != this) next = g_modalStack.back();
            // A hidden owned form gives the keyboard back to its owner window.
            if (popupParent_ && popupParent_->Visible() && popupParent_->Enabled() &&
                (g_modalStack.empty() || g_modalStack.back() == popupParent_))
                next = popupParent_;
            SetActiveForm(next);
        }
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::BringToFront()
{
    if (UiWidget* w = ui::N(this).widget; w && Visible()) {
        if (CanActivate()) {
            w->raise();
            w->activateWindow();
        }
        SetActiveForm(this);
    }
}

bool TCustomForm::CloseQuery()
{
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TCustomForm::Close()
{
    if (modalLevel_ > 0) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == caHide || action == caMinimize)
        Hide();
    else if (action == caFree)
        Release();
}

void TCustomForm::Release() { PostMessage(Handle(), CM_RELEASE, 0, 0); }

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || modalLevel_ > 0) throw EInvalidOperation(u"Cannot make a visible window modal");
    AfterConstruction();
    if (GetCaptureControl()) SetCaptureControl(nullptr);
    const HWND self = Handle();
    modalResult_ = mrNone;
    ++modalLevel_;
    g_modalStack.push_back(this);
    // The window system keeps input away from the other forms (application-modal) without
    // disabling their controls, so nothing in them repaints greyed.
    ui::N(this).widget->setWindowModality(Qt::ApplicationModal);
    auto cleanup = [&] {
        if (!IsWindow(self)) return;
        g_modalStack.erase(std::remove(g_modalStack.begin(), g_modalStack.end(), this), g_modalStack.end());
        --modalLevel_;
        ui::N(this).widget->setWindowModality(Qt::NonModal);
    };
    try {
        Show();
        if (!IsWindow(self)) return mrCancel;
        const bool scripted = UiResponder().RunModal(*this);
        if (!IsWindow(self)) return mrCancel;
        for (;;) {
            if (!scripted && modalResult_ == mrNone) {
                QEventLoop loop;
                g_modalLoops.push_back({this, &loop});
                loop.exec();
                g_modalLoops.erase(std::remove_if(g_modalLoops.begin(), g_modalLoops.end(), [&](const ModalLoop& m) { return m.loop == &loop; }),
                                   g_modalLoops.end());
                if (!IsWindow(self)) return mrCancel;
                if (Application->Terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
            }
            if (modalResult_ == mrNone) {
                if (scripted) modalResult_ = mrCancel;  // the responder reported it
                continue;
            }
            // Closing: CloseQuery and OnClose may refuse (the form stays).
            TCloseAction action = caHide;
            if (CloseQuery()) {
                DoClose(action);
            } else {
                action = caNone;
            }
            if (action == caNone && !scripted) {
                modalResult_ = mrNone;
                continue;
            }
            if (action == caFree) Release();
            break;
        }
        const TModalResult result = modalResult_;
        Hide();
        cleanup();
        return result;
    } catch (...) {
        if (IsWindow(self)) {
            Hide();
            cleanup();
        }
        throw;
    }
}

void TCustomForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        delete this;
        return;
    case CM_TEXTCHANGED: {
        const String t = Caption();
        ui::N(this).widget->setWindowTitle(QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size())));
        break;
    }
    case CM_DIALOGKEY:
        if (GetKeyState(static_cast<int>(VK_MENU)) >= 0) {
            if (Message.WParam == VK_TAB) {
                if (GetKeyState(static_cast<int>(VK_CONTROL)) >= 0) {
                    SelectNext(activeControl_, GetKeyState(static_cast<int>(VK_SHIFT)) >= 0, true);
                    Message.Result = 1;
                    return;
                }
            } else if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT || Message.WParam == VK_UP || Message.WParam == VK_DOWN) {
                if (activeControl_ && activeControl_->Parent()) {
                    activeControl_->Parent()->SelectNext(activeControl_, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
                    Message.Result = 1;
                }
                return;
            }
        }
        break;
    case CM_MOUSEWHEEL: {
        const int delta = static_cast<std::int16_t>(HiWord(Message.WParam));
        const TShiftState shift = static_cast<TShiftState>(LoWord(Message.WParam));
        Message.Result = DoMouseWheel(shift, delta, PointFromLParam(Message.LParam)) ? 1 : 0;
        return;
    }
    case WM_SIZE:
        TWinControl::WndProc(Message);
        return;
    case WM_NCLBUTTONDOWN:
        // The bottom-right sizing border: the layer's own size drag under mouse capture. Each
        // move proposes the new window rectangle in WM_SIZING (which may change it); the
        // minimum size holds.
        if (Message.WParam == static_cast<WPARAM>(HTBOTTOMRIGHT)) {
            sizeDragging_ = true;
            sizeDragStart_ = PointFromLParam(Message.LParam);
            sizeDragBounds_ = BoundsRect();
            SetMouseCapture(true);
            return;
        }
        break;
    case WM_MOUSEMOVE:
        if (sizeDragging_) {
            const TPoint p = ClientToScreen(PointFromLParam(Message.LParam));
            TRect r = sizeDragBounds_;
            r.Right += p.X - sizeDragStart_.X;
            r.Bottom += p.Y - sizeDragStart_.Y;
            Perform(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
            SetBounds(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (sizeDragging_) {
            sizeDragging_ = false;
            SetMouseCapture(false);
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        sizeDragging_ = false;
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

// ---- TApplication --------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication() = default;

void TApplication::Initialize()
{
    ui::EnsureApplication();
    ui::InstallClockHooks();
#ifdef __GLIBC__
    // Blocks of up to 32 MB come from the heap, and freed heap memory stays with the process
    // up to 256 MB: the large working arrays that sorting and filtering big grids need on
    // every call reuse pages the process holds instead of faulting in fresh ones each time
    // (on virtual machines the first write to a fresh page costs far more than the work
    // done on it).
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

bool TApplication::Initialized() const { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void TApplication::FormCreated(TCustomForm* Form)
{
    forms_.push_back(Form);
    if (!mainForm_) mainForm_ = Form;
    Form->AfterConstruction();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        forms_.erase(std::remove(forms_.begin(), forms_.end(), AComponent), forms_.end());
        if (AComponent == mainForm_) mainForm_ = nullptr;
    }
}

void TApplication::Run()
{
    Initialize();
    terminated_ = false;
    if (mainForm_ && !mainForm_->Visible()) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    QEventLoop loop;
    g_runLoop = &loop;
    while (!terminated_ && mainForm_) loop.exec();
    g_runLoop = nullptr;
    // Forms are freed in reverse creation order.
    while (!forms_.empty()) {
        TCustomForm* f = forms_.back();
        forms_.pop_back();
        delete f;
    }
    mainForm_ = nullptr;
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (g_runLoop) g_runLoop->quit();
    for (auto& ml : g_modalLoops) ml.loop->quit();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::HandleMessage()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (OnIdle) OnIdle(this);
}

void TApplication::HandleException(TObject*)
{
    // Shows the error; an error raised while showing it is not shown again, and both are
    // logged so that neither is lost.
    const auto report = [this](const std::exception& e) {
        try {
            if (OnException)
                OnException(this, e);
            else
                ShowException(e);
        } catch (...) {
            const std::string context = std::string("error while showing the error \"") + e.what() + "\"";
            LogUnhandled(context.c_str());
        }
    };
    try {
        throw;
    } catch (const std::exception& e) {
        report(e);
    } catch (...) {
        report(Exception(u"Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& E)
{
    String text;
    if (auto* pe = dynamic_cast<const Exception*>(&E))
        text = pe->Message();
    else
        text = Utf8ToString(E.what());
    MessageDlg(text, mtError, {mbOK});
}

String TApplication::ExeName() const
{
    ui::EnsureApplication();
    const QString p = QCoreApplication::applicationFilePath();
    return String(reinterpret_cast<const char16_t*>(p.utf16()), static_cast<size_t>(p.size()));
}


int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    return plat::MessageBox(Text, Caption, Flags);
}

// ---- TScreen -------------------------------------------------------------------------

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

namespace {

// The fake monitor nearest to P (the one holding it, else the closest one).
const ui::FakeMonitorRects* NearestFakeMonitor(TPoint P)
{
    const auto& monitors = ui::FakeMonitors();
    const ui::FakeMonitorRects* best = nullptr;
    long bestDistance = -1;
    for (const auto& m : monitors) {
        const TRect& g = m.bounds;
        const long dx = P.X < g.Left ? g.Left - P.X : P.X >= g.Right ? P.X - g.Right + 1 : 0;
        const long dy = P.Y < g.Top ? g.Top - P.Y : P.Y >= g.Bottom ? P.Y - g.Bottom + 1 : 0;
        if (bestDistance < 0 || dx * dx + dy * dy < bestDistance) {
            bestDistance = dx * dx + dy * dy;
            best = &m;
        }
    }
    return best;
}

// The screen holding the point, else the one whose geometry lies closest to it, else the
// primary screen (null without any).
QScreen* ScreenNearest(TPoint P)
{
    QScreen* s = QGuiApplication::screenAt(QPoint(P.X, P.Y));
    if (!s) {
        long best = -1;
        for (QScreen* c : QGuiApplication::screens()) {
            const QRect g = c->geometry();
            const long dx = P.X < g.left() ? g.left() - P.X : P.X > g.right() ? P.X - g.right() : 0;
            const long dy = P.Y < g.top() ? g.top() - P.Y : P.Y > g.bottom() ? P.Y - g.bottom() : 0;
            if (best < 0 || dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                s = c;
            }
        }
    }
    return s ? s : QGuiApplication::primaryScreen();
}

} // namespace

TRect TScreen::MonitorWorkAreaRect(TPoint P) const
{
    if (const auto* m = NearestFakeMonitor(P)) return m->workArea;
    ui::EnsureApplication();
    QScreen* s = ScreenNearest(P);
    if (!s) return WorkAreaRect();
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect TScreen::MonitorRect(TPoint P) const
{
    if (const auto* m = NearestFakeMonitor(P)) return m->bounds;
    ui::EnsureApplication();
    QScreen* s = ScreenNearest(P);
    if (!s) return Rect(0, 0, Width(), Height());
    const QRect r = s->geometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect TScreen::WorkAreaRect() const
{
    if (!ui::FakeMonitors().empty()) return ui::FakeMonitors().front().workArea;
    ui::EnsureApplication();
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return Rect(0, 0, 1280, 1024);
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TScreen::SetCursor(TCursor Value)
{
    // One override cursor at most: the screen cursor replaces it, crDefault removes it.
    static bool overridden = false;
    cursor_ = Value;
    if (!QCoreApplication::instance()) return;
    if (Value == crDefault) {
        if (overridden) QApplication::restoreOverrideCursor();
        overridden = false;
        return;
    }
    const QCursor shape = ui::MakeCursor(Value);
    if (overridden)
        QApplication::changeOverrideCursor(shape);
    else
        QApplication::setOverrideCursor(shape);
    overridden = true;
}

HCURSOR TScreen::Cursors(TCursor Id) const
{
    const auto it = cursors_.find(Id);
    return it == cursors_.end() ? nullptr : it->second;
}

void TScreen::SetCursors(TCursor Id, HCURSOR Handle)
{
    if (Handle)
        cursors_[Id] = Handle;
    else
        cursors_.erase(Id);
    // The pointer already showing this id takes the new image.
    if (!QCoreApplication::instance()) return;
    ui::ApplyMouseCursor();
    if (cursor_ == Id && Id != crDefault) QApplication::changeOverrideCursor(ui::MakeCursor(Id));
}

TCustomForm* TScreen::ActiveForm() const { return ui::KeyForm(); }

TWinControl* TScreen::ActiveControl() const
{
    TCustomForm* f = ui::KeyForm();
    return f ? f->ActiveControl() : nullptr;
}

int TScreen::FormCount() const { return Application ? Application->FormCount() : 0; }

TCustomForm* TScreen::Forms(int Index) const { return Application->Forms(Index); }

} // namespace plat
