#pragma once
// Forms and the application object.
//
// - A form is a top-level window whose client size is its widget size (the window manager's
//   frame is outside). OnCreate runs once after construction (CreateForm, or the first Show);
//   OnShow runs before the form becomes visible.
// - ShowModal: ModalResult := 0, input to the other forms blocked, OnShow, shown, a nested loop runs
//   until ModalResult <> 0, CloseQuery/OnClose, hidden, the others reachable again, the result
//   returned. Close on a modal form gives mrCancel; the close box sends WM_CLOSE -> Close.
// - Application->Run ends when the main form (the first one created) closes; the forms
//   are then freed in reverse creation order.
// - Every entry from the windowing system is guarded: an exception shows its text in an
//   error box (HandleException) and the loop goes on.
#include <functional>
#include <map>
#include <vector>

#include "plat/Controls.h"
#include "plat/Resources.h"

namespace plat {

class TBitmap;

enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    String ClassName() const override { return u"TCustomForm"; }

    // Fires OnCreate once; CreateForm calls it after the constructor, Show/ShowModal when
    // nobody did.
    void AfterConstruction();

    // BorderStyle (TWinControl): bsSingle fixed size, bsSizeable, bsNone no frame, bsDialog.
    void SetBorderStyle(TBorderStyle Value) override;
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState Value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }
    // Window opacity (top-level only; ignored offscreen).
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool Value);
    int AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int Value);

    // The focused control of this form (null when none).
    TWinControl* ActiveControl() const { return activeControl_; }
    // Focuses the control when the form is showing; otherwise remembered for the next show.
    void SetActiveControl(TWinControl* Control);
    void FocusControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);
    bool Active() const;

    // The owner window of a top-level form: kept above it, and the next step of the parent
    // walk (OwnerWindowOf) after the form. Null: none.
    TCustomForm* PopupParent() const { return popupParent_; }
    void SetPopupParent(TCustomForm* Value);
    // Size limits the form keeps against SetBounds and the user's sizing (0: none).
    void SetMinimumSize(int AWidth, int AHeight);
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value);
    bool Modal() const { return modalLevel_ > 0; }

    void Show();
    void Hide();
    TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    void Release();  // freed at the next loop turn
    void BringToFront();

    void SetVisible(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetClientWidth(int Value) override;
    void SetClientHeight(int Value) override;
    bool Showing() const override;
    bool CanFocus() const override;
    void SetFocus() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void WndProc(TMessage& Message) override;

protected:
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void CreateParams(TCreateParams& Params) override;
    int FrameWidth() const override { return 0; }

private:
    friend struct UiAccess;
    void SetFocusedControl(TWinControl* Control);
    void ApplyWindowFlags();
    void ShowWindowNow(bool Value);
    void CenterOnScreen();

    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool alphaBlend_ = false;
    int alphaBlendValue_ = 255;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    int modalLevel_ = 0;
    bool created_ = false;
    bool shownOnce_ = false;
    TCustomForm* popupParent_ = nullptr;
    int minWidth_ = 0, minHeight_ = 0;
    // The user's size drag when the window system offers none (under mouse capture).
    bool sizeDragging_ = false;
    TPoint sizeDragStart_{};
    TRect sizeDragBounds_{};
};

// The next window of a parent walk: the parent control, or for a top-level form its owner
// window (PopupParent). Null at the end.
TWinControl* OwnerWindowOf(const TWinControl* Control);

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
    String ClassName() const override { return u"TForm"; }
};

// ---- hints ----------------------------------------------------------------------------
// A hint shows when the mouse rests HintPause ms on a control whose ShowHint is set; the
// control (or the first parent with ShowHint) gets CM_HINTSHOW with a THintInfo in LParam and
// may change it or answer non-zero to show nothing. The hint hides after HintHidePause, on
// leaving the control and on a press.

class THintWindow;
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass;
    TPoint HintPos;          // screen point of the hint's top-left corner
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;        // client coordinates of HintControl; leaving it hides the hint
    TPoint CursorPos;        // client coordinates of HintControl
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    String HintStr;
    void* HintData = nullptr;
};

// A top-level, never activated window that paints the hint text on the hint colour.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    String ClassName() const override { return u"THintWindow"; }
    // Size needed for the text (origin 0, 0).
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    // Shows the hint in Rect (screen coordinates).
    virtual void ActivateHint(TRect Rect, const String& AHint);
    virtual void ActivateHintData(TRect Rect, const String& AHint, void* AData);
    // Hides the window.
    virtual void ReleaseHandle();
    bool Active() const { return active_; }

protected:
    void Paint() override;
    // Shows the window in R (screen coordinates) as it is, on top and without activating it;
    // the hint handling then sees a hint shown.
    void ShowWindowAt(const TRect& R);

private:
    bool active_ = false;
};

// The text before "|" of a hint.
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    String ClassName() const override { return u"TApplication"; }

    // Starts the windowing system: the desktop, or offscreen when QT_QPA_PLATFORM says so
    // (tests). Registers the fonts. Safe to call twice.
    void Initialize();
    bool Initialized() const;

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        T* form = new T(this);
        Reference = form;
        FormCreated(form);
    }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* Form) { mainForm_ = Form; }

    // Shows the main form and runs the loop until it closes or Terminate is called.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles the events that are waiting, then returns.
    void ProcessMessages();
    // Waits for at least one event, handles it.
    void HandleMessage();

    // Call inside a catch block: shows the exception's text in an error box (or hands it to
    // OnException) and returns.
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    TExceptionEvent OnException;

    const String& Title() const { return title_; }
    void SetTitle(const String& Value) { title_ = Value; }
    String ExeName() const;

    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value) { showHint_ = Value; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int Value) { hintPause_ = Value; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int Value) { hintHidePause_ = Value; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int Value) { hintShortPause_ = Value; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor Value) { hintColor_ = Value; }
    void CancelHint();
    void HideHint() { CancelHint(); }
    // Shows the hint of the control under the mouse now (as when the pause ran out).
    void ActivateHint(TPoint CursorPos);
    // A mouse move a control handles outside its client area (a strip of its non-client
    // area it treats as its own) handed to the hint handling as a move over Control at the
    // screen point given: the pause starts, or a shown hint stays while the point is inside
    // its cursor rectangle.
    void HintMouseMessage(TControl* Control, TPoint ScreenPos);
    THintWindowClass HintWindowClass;
    TShowHintEvent OnShowHint;
    // The hint window while a hint shows, else null.
    THintWindow* ActiveHintWindow() const;

    // MessageBox with MB_* flags; answers ID* numbers.
    int MessageBox(const String& Text, const String& Caption, UINT Flags);

    TNotifyEvent OnIdle;

    // Forms currently alive, in creation order.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int Index) const { return forms_.at(static_cast<size_t>(Index)); }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    friend struct UiAccess;
    void FormCreated(TCustomForm* Form);

    TCustomForm* mainForm_ = nullptr;
    std::vector<TCustomForm*> forms_;
    bool terminated_ = false;
    String title_;
    bool showHint_ = true;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    int hintShortPause_ = 50;
    TColor hintColor_ = clInfoBk;
};

// The application object; exists from program start (created on first use).
extern TApplication* Application;

// Screen facts and the global cursor.
class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
    String ClassName() const override { return u"TScreen"; }
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    // The work area of the monitor nearest to a screen point (the primary one when none).
    TRect MonitorWorkAreaRect(TPoint P) const;
    // The whole area of the monitor nearest to a screen point (the primary one when none).
    TRect MonitorRect(TPoint P) const;
    int PixelsPerInch() const { return 96; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    // The application's cursor table: a cursor id (the built-in negative ones included) shown
    // as a loaded cursor image wherever a control's Cursor, the screen cursor or SetCursor
    // names it; ids without an entry keep the built-in shape (the arrow for unknown ids).
    // Setting nullptr removes the entry.
    HCURSOR Cursors(TCursor Id) const;
    void SetCursors(TCursor Id, HCURSOR Handle);
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    int FormCount() const;
    TCustomForm* Forms(int Index) const;

private:
    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;
};

extern TScreen* Screen;

// What the screen shows in R (screen coordinates), copied into Target (resized to R): the
// shown forms and hint windows composed from their surfaces over the desktop colour, in
// their stacking order; on a desktop display that allows it, the real screen.
void CaptureScreen(const TRect& R, TBitmap& Target);

} // namespace plat
