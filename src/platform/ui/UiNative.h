#pragma once
// The window layer's native side, for the platform's own targets (stdctrls, grids, testing):
// the Qt widget behind every windowed control, its surface, and the entry points through which
// Qt events enter the message pipeline. Never included from a public header.
#include <QCursor>
#include <QImage>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plat/Controls.h"
#include "plat/Forms.h"

class QKeyEvent;
class QAccessibleInterface;

namespace plat {

// One window bar of the non-client area.
struct ScrollBarState {
    bool visible = false;
    bool enabled = true;
    int nMin = 0;
    int nMax = 100;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    bool tracking = false;
    // Flat-bar properties (InitializeFlatSB): style, thickness (0 = the system's) and
    // background colour (clNone = the system's).
    int flatStyle = 0;
    int thickness = 0;
    TColor background = clNone;
};

class UiWidget;

struct NativeWindow {
    TWinControl* control = nullptr;
    UiWidget* widget = nullptr;
    // The backed part of the window: the part visible in its parents' client areas (the whole
    // window for a top-level one), non-client area included. surfaceOrigin is the window
    // position of the surface's pixel (0, 0).
    QImage surface;
    QPoint surfaceOrigin;
    QRegion dirty;           // client-area update region, window coordinates
    bool frameDirty = true;
    int redrawOff = 0;       // WM_SETREDRAW false
    bool inPaint = false;
    int clientW = -1, clientH = -1;
    bool lastShowing = false;  // Showing() as last reported with CM_SHOWINGCHANGED
    bool destroying = false;   // the control's destructor runs: no more messages to it  // client size the children were last laid out for
    QRegion paintRegion;     // update region of the paint in progress
    unsigned generation = 1;  // bumps when the surface or a graphic child's place changes
    std::unique_ptr<TCanvas> paintCanvas;  // WM_PAINT canvas of windows without their own
    ScrollBarState bars[2];  // SB_HORZ, SB_VERT
    // Scroll-bar interaction in progress.
    int barDown = -1;        // bar being pressed, -1 none
    int barPart = -1;        // SB_LINEUP ... SB_THUMBTRACK
    int thumbGrabOffset = 0;
    bool flatBars = false;   // InitializeFlatSB ran and UninitializeFlatSB did not
    // Layered window: the picture shown instead of the surface (premultiplied alpha) and
    // its constant opacity; the window region (empty = none).
    QImage layered;
    int layeredAlpha = 255;
    bool layeredComposites = true;  // the picture keeps its alpha (else opaque, shaped by the mask)
    QRegion region;
};

// The Qt widget of a windowed control. Its size is the control's window size.
class UiWidget : public QWidget {
public:
    UiWidget(NativeWindow* native, bool topLevel);
    ~UiWidget() override;
    NativeWindow* native() const { return native_; }
    void detach() { native_ = nullptr; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    NativeWindow* native_;
};

namespace ui {

// Creates the QApplication when there is none (offscreen when the environment says so).
void EnsureApplication();
// Qt asks controls for their accessible objects through WM_GETOBJECT (Accessibility.cpp).
void InstallAccessibleFactory();
// Whether the interface is a control's own object (made from its WM_GETOBJECT answer).
bool IsControlAccessible(const QAccessibleInterface* Interface);
bool InUiThread();

// Paints what is pending (frame, erase, paint, graphic children) into the surface.
void PaintPending(NativeWindow& n);
// The part of the control's window (window coordinates) visible in its parents' client areas;
// the whole window for a control without parent.
QRect VisibleWindowRect(const TWinControl* control);
// Gives the surface the visible part's place and size; when it changes the surface is new,
// wholly dirty, and canvases bound to the old one rebind. True when it changed.
bool EnsureSurface(NativeWindow& n);
// Whether the surface backs the whole window.
inline bool SurfaceIsWhole(const NativeWindow& n, const TWinControl* c)
{
    return n.surfaceOrigin.isNull() && n.surface.size() == QSize(c->Width(), c->Height());
}
// Surface painted and composed with every visible windowed descendant (hosted Qt widgets
// included), as the screen would show it.
QImage GrabWindow(TWinControl* control);

// Layered windows on displays with and without a compositing manager (LayeredWindows.cpp).
// Whether the display blends translucent top-level windows over what lies below: on X the
// owner of the _NET_WM_CM_S<screen> selection, asked each time; true on other platforms.
bool DisplayComposites();
// Replaces the display's answer (nullopt: ask the display again), for tests.
void SetDisplayCompositesAnswer(std::optional<bool> Answer);
// What a layered window paints: with a compositor the picture times the constant alpha,
// premultiplied, transparent where the picture is; without one every pixel opaque (the
// picture's colours at full strength), the shape being left to the window mask.
QImage LayeredPicture(const NativeWindow& n, bool composites);
// The window mask a layered or region-shaped window needs: the window region when one is
// set; without a compositor and without a region, the picture's non-transparent pixels;
// else none (empty).
QRegion LayeredMask(const NativeWindow& n, bool composites);
// Applies the translucency and mask the display calls for to the window's widget and
// records in layeredComposites how the picture is painted.
void ApplyLayeredShape(NativeWindow& n);

// Key pipeline entry for a key event aimed at the window that contains `receiver`.
// Returns true when the layer consumed the event. Hosted Qt widgets get keys only through
// ForwardKey, which bypasses the pipeline.
bool HandleKeyEvent(QWidget* receiver, QKeyEvent* e);
void ForwardKey(QWidget* target, QKeyEvent* e);
// Translation of Qt keys to virtual-key codes (0 when none).
int VirtualKeyOf(int qtKey, bool keypad);
int QtKeyOf(int virtualKey);
// Runs the key pipeline on the focused control of the active form, as a key press would.
void KeyDownPipeline(TWinControl* target, int vk, TShiftState shift, const String& text, bool repeat);
void KeyUpPipeline(TWinControl* target, int vk, TShiftState shift);

// Which control the layer considers focused (the active form's ActiveControl).
TWinControl* FocusedControl();
// The form receiving keys: the innermost modal form, else the active one.
TCustomForm* KeyForm();

// Key state table (GetKeyState) updates.
void SetKeyDown(int vk, bool down);
void SetShiftState(TShiftState shift);

// Mouse routing.
void MouseEvent(NativeWindow& n, UINT msg, QPoint windowPos, TShiftState shift, int wheelDelta);
void MouseLeftWindow();
TControl* MouseControl();
void CursorChanged(TControl* control);
void ApplyMouseCursor();  // the Cursor of the control under the mouse
// The pointer for a cursor id: the screen's cursor table entry, else the built-in shape.
QCursor MakeCursor(TCursor c);

// Hints (Hints.cpp): the pointer moved over `under`; a press or leaving the window cancels.
void HintMouseMove(TControl* under, TPoint screen);
void HintCancel();
void HintForget(TControl* c);
void ForgetControl(TControl* control);

// Framework control drag (ControlDrag.cpp): mouse input while a drag is pending or runs
// (true when consumed), Escape, CM_DRAG's default handling, and a control going away.
bool ControlDragMouse(UINT msg, TPoint screen);
bool ControlDragKey(int vk);
LRESULT ControlDragMessage(TControl* control, WPARAM msg, LPARAM rec);
void ControlDragForget(TControl* control);
// The deepest visible, enabled control under a screen point, topmost form first.
TControl* ControlAtScreen(TPoint screen);
// System drag sessions (DragDrop.cpp): input while an in-process session runs (true when
// consumed), and a window going away (its drop target is revoked).
bool DragSessionMouse(UINT msg, TPoint screen);
bool DragSessionKey(int vk, bool down);
void DragDropForgetWindow(HWND handle);
// A drag event of the system's drag on a window's widget, given to its registered target.
bool SystemDropEvent(TWinControl* control, QEvent* e);
// Scripted input for in-process sessions (the test kit): each DoDragDrop takes the next
// script and runs it with the session open; input it sends feeds the session.
using DragScript = std::function<void()>;
void QueueDragScript(DragScript script);
// Drops the scripts no drag took and answers how many there were.
int ClearDragScripts();

// Handle table.
// The shown top-level forms, the one taking keys first, then the newer before the older.
std::vector<TCustomForm*> ShownForms();
HWND AllocHandle(TWinControl* control);
void FreeHandle(HWND handle);

// Shows a control's popup menu at a screen point (the menu unit registers it). A right click
// without a menu goes up to the parent.
using PopupMenuHandler = void (*)(TPopupMenu* menu, TControl* control, TPoint screen);
void SetPopupMenuHandler(PopupMenuHandler handler);
PopupMenuHandler GetPopupMenuHandler();

// Sends CM_SHOWINGCHANGED to the window and its windowed descendants whose Showing changed.
void UpdateShowing(TWinControl* c);

// Call-window-procedure hooks.
bool HasHooks();
void CallHooks(HWND h, const TMessage& m);

// The window system activated the form's window.
void FormActivatedBySystem(TCustomForm* form);
// Makes the form the active window as a click on it would (the test kit's activation call).
void ActivateFormNow(TCustomForm* form);

// The fake screen geometry of the test kit: monitors as (whole area, work area), the first
// the primary one. Empty: the real screens.
struct FakeMonitorRects {
    TRect bounds;
    TRect workArea;
};
std::vector<FakeMonitorRects>& FakeMonitors();

// The responder's modal hook and the loop.
void RunLoopOnce();

// Timer scheduler: clock listener and real timer.
void InstallClockHooks();
void TimersForgetWindow(HWND handle);
void ClockAdvanced(std::uint32_t before, std::uint32_t after);
// Earliest due time at or before `limit`; false when none.
bool NextDue(std::uint32_t now, std::uint32_t limit, std::uint32_t& due);
void FireDueNow();

// Window geometry helpers.
QPoint ClientOffset(const TWinControl* control);

} // namespace ui

// Top-level popups that are not forms (LayeredWindows.cpp): shown at their bounds on top,
// without taking the activation, or hidden.
void ShowPopupWindow(TWinControl* c, bool Show);
// Window scroll bars (ScrollBars.cpp).
void PaintWindowScrollBars(TWinControl* c, TCanvas* canvas);
bool ScrollBarMouse(TWinControl* c, UINT msg, LRESULT hit, TPoint screen);
// Window rectangle of a bar (window coordinates): inside the frame, beside the client area.
TRect ScrollBarRect(const TWinControl* c, int bar);
// Thickness of a window bar: its flat-bar width, else the system's.
int ScrollBarThickness(const TWinControl* c, int bar);

// Access to the controls' private state for the layer's own code.
struct UiAccess {
    static NativeWindow& N(const TWinControl* c) { return *c->native_; }
    static std::vector<TControl*>& Children(TWinControl* c) { return c->controls_; }
    static bool& MouseInside(TControl* c) { return c->mouseInside_; }
    static void SetBoundsRaw(TControl* c, int l, int t, int w, int h);
    static TWinControl*& FocusedOf(TCustomForm* f) { return f->focusedControl_; }
    static void SetFocusedControl(TCustomForm* f, TWinControl* c) { f->SetFocusedControl(c); }
    static void KeyMessage(TWinControl* c, TMessage& m) { c->KeyMessage(m); }
    static void PaintGraphic(TGraphicControl* g) { g->Paint(); }
    static void PaintCustom(TCustomControl* c) { c->Paint(); }
    static TCanvas* CustomCanvasRaw(TCustomControl* c) { return c->canvas_.get(); }
    static TCanvas* GraphicCanvasRaw(TGraphicControl* g) { return g->canvas_.get(); }
    static unsigned& GraphicGen(TGraphicControl* g) { return g->boundGeneration_; }
    static unsigned& CustomGen(TCustomControl* c) { return c->boundGeneration_; }
    static void FormCreated(TApplication* a, TCustomForm* f) { a->FormCreated(f); }
    static int FrameWidth(const TWinControl* c) { return c->FrameWidth(); }
    // The non-client area changed (a bar's thickness): the client area is laid out again.
    static void NotifyFrameChanged(TWinControl* c)
    {
        c->native_->generation++;
        c->BoundsChanged();
    }
    static std::vector<TCustomForm*>& Forms(TApplication* a) { return a->forms_; }
};

namespace ui {
inline NativeWindow& N(const TWinControl* c) { return UiAccess::N(c); }
}

} // namespace plat
