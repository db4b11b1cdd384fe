#pragma once
// Controls of the window framework: TControl (geometry, visibility, font, colour, mouse),
// TGraphicControl (no window; painted and fed mouse messages by its parent), TWinControl
// (a window: children, focus, keys, timers, scroll bars, non-client frame) and
// TCustomControl (a window with a canvas and Paint).
//
// - Geometry is exact: what Left/Top/Width/Height say is what the window gets; no toolkit
//   size hint or layout ever changes it. Alignment runs top, bottom, left, right, client;
//   among controls of one alignment the current position decides (give code-built panels
//   their designed Top/Left), ties keep the order of insertion. Anchors keep the distances
//   to the parent's edges that the control had when its bounds or anchors were last set, so
//   a form's client size is set before its anchored children are placed.
// - Every message goes through WndProc (virtual) and ends in DefaultHandler; Perform calls
//   WndProc directly. Entries from the windowing system are guarded: an exception reaches
//   Application->HandleException and the loop goes on.
// - Painting: each window owns a surface image. Invalidate schedules WM_PAINT with a canvas
//   bound to the surface; a canvas used outside a paint message draws on the same surface
//   and shows at the next loop turn ("paint at once").
// - The focus model belongs to the layer: a form's ActiveControl is the focused control.
// - Handles are ids in a table, never pointers; a message posted to a window that has
//   gone is dropped.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "plat/Classes.h"
#include "plat/Messages.h"
#include "plat/Types.h"

namespace plat {

class TCanvas;
class TFont;
class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
struct NativeWindow;  // the layer's window object; defined inside the layer

// ---- small types ---------------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
constexpr TAnchors akDefault = akLeft | akTop;
constexpr TAnchors akAll = akLeft | akTop | akRight | akBottom;

enum TShiftStateFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSize = -22;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// Control style: what the framework does for the control.
enum TControlStyleFlag : unsigned {
    csAcceptsControls = 1u << 0,
    csCaptureMouse = 1u << 1,     // capture the mouse while a button is held
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,      // the framework synthesises Click from press + release
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,
    csOpaque = 1u << 6,           // paints every pixel: no background erase
    csDoubleClicks = 1u << 7,     // double clicks arrive as WM_xBUTTONDBLCLK, else as presses
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
    csNeedsBorderPaint = 1u << 17,
    csParentBackground = 1u << 18,
};
using TControlStyle = unsigned;

enum TControlStateFlag : unsigned {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,
    csCustomPaint = 1u << 8,
    csDestroyingHandle = 1u << 9,
};
using TControlState = unsigned;

// Window border; forms use all values, other controls bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

// Mouse, key and wheel events. Var parameters are references.
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, std::uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// Framework control drag: a drag of one control over others inside the program, with drag
// objects, a start threshold and the drag-over and drop events (no system drag involved).
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// The CM_DRAG notification's WParam; LParam points to a TDragRec.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
class TDragObject;
struct TDragRec {
    TPoint Pos;                    // screen point
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;    // the control the message is for
};
// One control drag. A handler of OnStartDrag may hand out its own object (it stays the
// handler's); otherwise the layer makes one that stands for the dragged control.
class TDragObject : public TObject {
public:
    String ClassName() const override { return u"TDragObject"; }
    // The dragged control (null for an object a handler made without one).
    TControl* Control = nullptr;
    // The control under the pointer that accepts or refuses, null outside every control.
    TControl* DragTarget = nullptr;
    TPoint DragPos;                // screen point of the last move
    bool Dropped = false;
    bool Cancelling = false;
    // Pointer shape over a target: the dragged control's DragCursor when accepted, else
    // crNoDrop.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    // What the events receive as Source: the dragged control for the layer's own object.
    virtual TObject* SourceObject();
};
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
// The drag in progress (pending or started), null when none.
TDragObject* DragObject();
// The pointer shape a started drag shows (crDefault when none runs).
TCursor DragCursorShown();
// Pixels the pointer must move before a non-immediate BeginDrag starts the drag.
int DragThreshold();
void SetDragThreshold(int Value);

// Window creation parameters a control may adjust in CreateParams.
struct TCreateParams {
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
};

// ---- TControl ------------------------------------------------------------------------

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    String ClassName() const override { return u"TControl"; }

    // Parent manages display; Owner manages lifetime. Setting the parent inserts the
    // control last in the parent's z-order and list.
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);

    // Geometry in the parent's client coordinates.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
    void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
    void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
    void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // Client area in client coordinates: (0, 0, ClientWidth, ClientHeight).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Right; }
    int ClientHeight() const { return ClientRect().Bottom; }
    virtual void SetClientWidth(int Value);
    virtual void SetClientHeight(int Value);
    void SetClientSize(int W, int H);
    // Screen position of the client origin.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;
    TPoint ClientToParent(TPoint P, TWinControl* AParent = nullptr) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors Value);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a showing form.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);

    // The control's font object; setting copies. Changing it clears ParentFont.
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* Value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);

    const String& Hint() const { return hint_; }
    void SetHint(const String& Value) { hint_ = Value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool Value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value) { popupMenu_ = Value; }

    // Caption and Text are one property (WM_GETTEXT/WM_SETTEXT); a change sends CM_TEXTCHANGED.
    String Caption() const { return GetText(); }
    void SetCaption(const String& Value) { SetText(Value); }
    String Text() const { return GetText(); }
    void SetText(const String& Value);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState Value) { controlState_ = Value; }

    // The mouse is captured by this control (a windowed control or a graphic control, which
    // then receives its parent's mouse messages).
    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Messages.
    virtual void WndProc(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

    // A window procedure put in front of WndProc: while one is set, every message that reaches
    // the control through Perform (the windowing system's, the framework's and broadcasts)
    // goes to it instead. It passes what it does not answer to the procedure it replaced, the
    // WindowProc() it read before setting itself; an empty one stands for WndProc. Setting
    // the replaced procedure back (or an empty one) removes it.
    using TWndMethod = std::function<void(TMessage& Message)>;
    const TWndMethod& WindowProc() const { return windowProc_; }
    void SetWindowProc(TWndMethod Value) { windowProc_ = std::move(Value); }

    // Painting.
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }

    void BringToFront();
    void SendToBack();

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    // Framework control drag. BeginDrag captures the mouse; with Immediate (or a threshold of
    // 0) the drag starts at once, otherwise once the pointer has moved more than Threshold
    // pixels (the layer's DragThreshold when negative) in X or Y from where it was; a release
    // before that ends it without a drop and the release reaches the control as usual.
    // While dragging, every move asks the control under the pointer (DragOver with
    // dsDragEnter, dsDragMove and dsDragLeave); a release drops on an accepting target
    // (DragDrop) and Escape cancels; OnEndDrag ends every drag, with the target or null.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode Value) { dragMode_ = Value; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor Value) { dragCursor_ = Value; }
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    // Accept starts true when OnDragOver is set and false otherwise; the handler decides.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);

    // Framework internals the layer and subclasses share.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void Click();
    virtual void DblClick();
    // The control's text: the window text for windowed controls, the caption otherwise.
    virtual String GetText() const { return text_; }

protected:
    virtual void SetTextBuf(const String& Value);  // stores; WM_SETTEXT ends here
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();
    virtual void ChangeScale(int M, int D);
    virtual void Loaded() override;
    // Called after the bounds changed (before Resize); windowed controls move their window.
    virtual void BoundsChanged();
    // Layer internals for the framework's own message handlers.
    void ApplyParentFont();
    void ApplyParentColor();
    void UpdateAnchorRules();
    void RequestAlign();
    bool IsAligning() const;

private:
    friend class TWinControl;
    friend struct UiAccess;
    void FontChanged();
    void MouseWheelHandler(TMessage& Message);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    TAnchors anchors_ = akDefault;
    // Distances kept by anchors: right and bottom edge to the parent's client edge, and the
    // parent client size they were taken at.
    int anchorRight_ = 0, anchorBottom_ = 0;
    bool anchorRulesValid_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool fontChanging_ = false;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    String text_;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;
    bool mouseInside_ = false;
    // Framework control drag.
    TDragMode dragMode_ = dmManual;
    TCursor dragCursor_ = crDrag;
    // The window procedure in front of WndProc (SetWindowProc); empty = none.
    TWndMethod windowProc_;
};

// ---- TGraphicControl -----------------------------------------------------------------

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    String ClassName() const override { return u"TGraphicControl"; }

    // Bound to the parent's surface at this control's position, clipped to its bounds.
    TCanvas* Canvas() const;

protected:
    virtual void Paint();
    void WndProc(TMessage& Message) override;

private:
    friend struct UiAccess;
    std::unique_ptr<TCanvas> canvas_;
    mutable unsigned boundGeneration_ = 0;  // surface generation the canvas is bound to
};

// ---- TWinControl ---------------------------------------------------------------------

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    String ClassName() const override { return u"TWinControl"; }

    // The window's id in the layer's table; allocated with the control.
    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != 0; }
    void HandleNeeded() {}

    // Children in list order (which is also the z-order: later = on top among siblings of
    // the same kind; windowed children are always above graphic ones).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int Index) const;
    bool ContainsControl(const TControl* Control) const;
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
    // Sends the message to every child until one sets a non-zero Result.
    void Broadcast(TMessage& Message);
    void DisableAlign();
    void EnableAlign();
    void Realign();
    virtual void AlignControls(TControl* AControl, TRect& Rect);

    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    // Controls in tab order (only windowed children).
    std::vector<TWinControl*> GetTabOrderList() const;
    // Next control for Tab/Shift+Tab from CurControl among the descendants.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    // Focus: visible and enabled up to a showing form.
    virtual bool CanFocus() const;
    // EInvalidOperation "Cannot focus a disabled or invisible window" when it cannot.
    virtual void SetFocus();
    virtual bool Focused() const;
    bool Showing() const override;

    // Window styles as CreateParams gave them; GWL_STYLE/GWL_EXSTYLE through the functions below.
    std::uint32_t WindowStyle() const { return style_; }
    std::uint32_t WindowExStyle() const { return exStyle_; }
    void SetWindowStyle(std::uint32_t Value);
    void SetWindowExStyle(std::uint32_t Value);
    // Re-runs CreateParams and applies the styles (frame, scroll bars, transparency).
    void RecreateWnd();

    // Frame width of the non-client area (border, client edge) plus visible scroll bars.
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetClientWidth(int Value) override;
    void SetClientHeight(int Value) override;

    // Non-client rectangle of the client area inside the window (window coordinates).
    TRect ClientAreaInWindow() const;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    virtual void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }

    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    // Invalidates a client-rectangle part (null = all).
    void InvalidateRect(const TRect* R, bool Erase = true);
    void InvalidateFrame();

    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Paints this control (surface and children) into the canvas at (X, Y).
    void PaintTo(TCanvas* Canvas, int X, int Y);

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    String GetText() const override;

    NativeWindow* Native() const { return native_.get(); }

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(char16_t& Key);
    virtual bool DoKeyDown(TMessage& Message);
    virtual bool DoKeyUp(TMessage& Message);
    virtual bool DoKeyPress(TMessage& Message);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void PaintWindow(TCanvas* Canvas);
    void BoundsChanged() override;
    void SetTextBuf(const String& Value) override;
    // Painting the graphic children on the canvas the paint message carries.
    void PaintControls(TCanvas* Canvas, TControl* First);
    void PaintHandler(TMessage& Message);
    // Non-client frame width on each side (border and client edge), before scroll bars.
    virtual int FrameWidth() const;

private:
    friend class TControl;
    friend struct UiAccess;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void AlignAll(TControl* AControl);
    void ParentSizeChanged(int OldW, int OldH);
    void ApplyGeometry();
    void ApplyShowing();
    void KeyMessage(TMessage& Message);

    HWND handle_ = 0;
    std::unique_ptr<NativeWindow> native_;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;  // windowed children in tab order
    bool tabStop_ = false;
    std::uint32_t style_ = 0;
    std::uint32_t exStyle_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool ctl3D_ = true;
    bool doubleBuffered_ = false;
    int alignLevel_ = 0;
    bool alignPending_ = false;
    bool aligning_ = false;
};

// ---- TCustomControl ------------------------------------------------------------------

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    String ClassName() const override { return u"TCustomControl"; }

    // Bound to the window's surface, offset to the client origin. Inside WM_PAINT it is
    // clipped to the update region; outside it draws at once.
    TCanvas* Canvas() const;

protected:
    virtual void Paint();
    void PaintWindow(TCanvas* Canvas) override;

private:
    friend struct UiAccess;
    std::unique_ptr<TCanvas> canvas_;
    mutable unsigned boundGeneration_ = 0;
};

// ---- window functions ----------------------------------------------------------------

// The form a control stands on (walking up parents); null when none.
TCustomForm* GetParentForm(const TControl* Control, bool TopForm = true);
// Copies what the parent window shows under Control (its painted surface, brought up to date
// first) into Canvas at (0, 0), so that a control can look transparent over its parent.
void DrawParentBackground(const TControl* Control, TCanvas* Canvas);
// The control owning a handle; null for 0 or a handle that has gone.
TWinControl* FindControl(HWND Handle);
bool IsWindow(HWND Handle);

// Queued for the window's thread; from any thread. False (and dropped) when the window is
// gone, also when it goes before delivery.
bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);
// A waiting posted message.
struct TMsg {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;
// Looks for the first waiting posted message for Handle (0 = any window) with a number in
// [MsgFilterMin, MsgFilterMax] (both 0 = any); PM_REMOVE takes it out of the queue.
// On the UI thread, messages that other threads sent (SendMessage) to a window and number
// inside the same filter run first, each releasing its waiting sender; they are not
// returned.
bool PeekMessage(TMsg& Msg, HWND Handle, UINT MsgFilterMin, UINT MsgFilterMax, UINT RemoveMsg);
// Delivers a message taken with PeekMessage (dropped when its window has gone).
LRESULT DispatchMessage(const TMsg& Msg);

// Runs the window's WndProc; from another thread it waits until the UI thread ran it (from
// its call queue or an earlier PeekMessage); 0 when the window has gone.
LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam);
// Same name, same id; ids from 0xC000.
UINT RegisterWindowMessage(const String& Name);
// Clipboard format ids by name, a table of their own with the same rule.
UINT RegisterClipboardFormat(const String& Name);
// The name registered for Format; "" for ids not registered.
String GetClipboardFormatName(UINT Format);

// Call-window-procedure hook of the UI thread: sees every message a window's WndProc gets,
// before the window. Returns an id for UnhookCallWndProcHook.
using TCallWndProcHook = std::function<void(HWND Handle, const TMessage& Message)>;
int SetCallWndProcHook(TCallWndProcHook Hook);
void UnhookCallWndProcHook(int Id);

// Window timers: one WM_TIMER per window and id at a time; setting an id again replaces it.
// Return the id (0 when the window has gone).
std::uintptr_t SetTimer(HWND Handle, std::uintptr_t IDEvent, UINT Elapse);
bool KillTimer(HWND Handle, std::uintptr_t IDEvent);

// The platform's look engine: there are no visual themes and no custom styles, so both
// queries answer false and controls paint their classic look.
bool ThemeServicesEnabled();
bool CustomStyleActive();

// Mouse capture: all mouse messages go to the capturing window until released.
HWND SetCapture(HWND Handle);
bool ReleaseCapture();
HWND GetCapture();
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

HWND GetFocus();
HWND SetFocusWnd(HWND Handle);  // SetFocus on the control behind the handle
// High bit set when the key is down (Shift, Ctrl, Alt, mouse buttons), from the layer's table.
std::int16_t GetKeyState(int VirtKey);
std::int16_t GetAsyncKeyState(int VirtKey);
TShiftState KeyboardStateToShiftState();
TPoint GetCursorPos();
// Pointer shape over the window under the mouse until the next WM_SETCURSOR (a control that
// handles WM_SETCURSOR calls it and answers non-zero).
void SetCursor(TCursor Cursor);

// Painting.
bool InvalidateRect(HWND Handle, const TRect* R, bool Erase);
bool RedrawWindow(HWND Handle, const TRect* R, UINT Flags);
bool UpdateWindow(HWND Handle);
bool IsWindowVisible(HWND Handle);
bool IsWindowEnabled(HWND Handle);
bool EnableWindow(HWND Handle, bool Enable);
bool ShowWindow(HWND Handle, int CmdShow);
std::intptr_t GetWindowLong(HWND Handle, int Index);
std::intptr_t SetWindowLong(HWND Handle, int Index, std::intptr_t NewLong);
bool SetWindowPos(HWND Handle, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
bool GetWindowRect(HWND Handle, TRect& R);  // screen coordinates
bool GetClientRect(HWND Handle, TRect& R);
// A canvas on the whole window (non-client area included), for drawing over the frame.
// Owned by the caller; draws at once.
std::unique_ptr<TCanvas> GetWindowCanvas(HWND Handle);

// Layered windows. A top-level window with WS_EX_LAYERED shows the 32-bit bitmap given to
// UpdateLayeredWindow (per-pixel alpha, premultiplied) times the constant alpha, blended over
// what lies below; the window takes the bitmap's size. False for a window without the style
// or a bitmap that is not 32-bit. SetWindowRgn clips a window to Outer less Hole (window
// coordinates; an empty Outer removes the region); PtInWindowRgn tells whether a point of
// the window shows (true everywhere without a region).
// A top-level window that is not a form shows at its bounds with SW_SHOWNOACTIVATE or
// SW_SHOWNA and keeps the activation where it was.
class TBitmap;
bool UpdateLayeredWindow(HWND Handle, const TBitmap* Bitmap, std::uint8_t ConstantAlpha);
bool SetWindowRgn(HWND Handle, const TRect& Outer, const TRect& Hole);
// Clips a window to any region (window coordinates; an empty region removes the clip).
class TRegion;
bool SetWindowRgn(HWND Handle, const TRegion& Region);
bool PtInWindowRgn(HWND Handle, TPoint P);

// Window scroll bars: part of the non-client area, painted by the layer; interaction sends
// WM_HSCROLL/WM_VSCROLL with the SB_* codes.
int SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw);
bool GetScrollInfo(HWND Handle, int Bar, TScrollInfo& Info);
bool ShowScrollBar(HWND Handle, int Bar, bool Show);
bool EnableScrollBar(HWND Handle, int Bar, UINT Arrows);
int SetScrollPos(HWND Handle, int Bar, int Pos, bool Redraw);
int GetScrollPos(HWND Handle, int Bar);
bool SetScrollRange(HWND Handle, int Bar, int MinPos, int MaxPos, bool Redraw);

// Flat window bars. Between InitializeFlatSB and UninitializeFlatSB each bar of the window
// takes the WSB_PROP_* properties: its style (FSB_REGULAR_MODE, FSB_ENCARTA_MODE: flat
// buttons that stand out, FSB_FLAT_MODE: flat throughout), its background colour and its
// thickness. Outside that span the property calls do nothing and answer false.
// UninitializeFlatSB gives the bars back their regular look, colour and thickness. The
// FlatSB_ forms of the window functions act on the window's own bars.
constexpr UINT WSB_PROP_CXVSCROLL = 0x0008;
constexpr UINT WSB_PROP_CYHSCROLL = 0x0004;
constexpr UINT WSB_PROP_VBKGCOLOR = 0x0040;
constexpr UINT WSB_PROP_HBKGCOLOR = 0x0080;
constexpr UINT WSB_PROP_VSTYLE = 0x0100;
constexpr UINT WSB_PROP_HSTYLE = 0x0200;
constexpr int FSB_REGULAR_MODE = 0;
constexpr int FSB_ENCARTA_MODE = 1;
constexpr int FSB_FLAT_MODE = 2;
bool InitializeFlatSB(HWND Handle);
void UninitializeFlatSB(HWND Handle);
bool FlatSB_SetScrollProp(HWND Handle, UINT Index, std::intptr_t Value, bool Redraw);
bool FlatSB_GetScrollProp(HWND Handle, UINT Index, std::intptr_t* Value);
int FlatSB_SetScrollInfo(HWND Handle, int Bar, const TScrollInfo& Info, bool Redraw);
bool FlatSB_ShowScrollBar(HWND Handle, int Bar, bool Show);

// Layer metrics.
enum TSystemMetric { SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXDRAG = 68, SM_CYDRAG = 69 };
int GetSystemMetrics(int Index);
UINT GetDoubleClickTime();

// Menu-key accelerator helpers: the character after "&" in a caption (0 when none).
char16_t GetAccelChar(StringView Caption);
// True when Key is the accelerator of Text (case-insensitive).
bool IsAccel(std::uintptr_t Key, StringView Text);

} // namespace plat
