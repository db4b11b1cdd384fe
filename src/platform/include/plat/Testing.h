#pragma once
// The headless test kit (target platform_testing; tests only). Its main() starts the
// offscreen application at 96 DPI with the fonts registered and runs the GoogleTest cases.
//
// - UiTest: a fixture that installs a fresh Responder and the fake clock; TearDown fails the
//   test when a message box, file dialog, shell open, popup menu or modal form occurred that
//   the test did not script (the failure names its text).
// - Responder: scripted answers, in order, and a record of every call. Outside a UiTest a
//   strict responder is installed: every dialog and shell open fails the test, none blocks.
// - Modal scripts run inside ShowModal after OnShow; a form without a script fails the test,
//   and a script that leaves no modal result fails it (watchdog) instead of hanging.
// - Input goes through the same pipeline as real events: Click, Press, Release, Move (enter
//   and leave follow), Wheel, Key, Type. Coordinates are the control's client coordinates.
// - Grab renders a control as shown (its surface and children) into a bitmap.
#include <cstdint>
#include <functional>
#include <string>
#include <memory>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "plat/Controls.h"
#include "plat/Dialogs.h"
#include "plat/Forms.h"
#include "plat/UiResponder.h"

namespace plat {
class TBitmap;
}

namespace plat::testing {

struct MessageBoxCall {
    MessageBoxRequest Request;
    int Answer = 0;
    bool Scripted = false;
};

struct FileDialogCall {
    FileDialogRequest Request;
    FileDialogAnswer Answer;
    bool Scripted = false;
};

struct ShellOpenCall {
    String Target;
};

struct PopupCall {
    PopupMenuRequest Request;
    int Answer = -1;
    bool Scripted = false;
};

struct ModalCall {
    String FormClass;
    TModalResult Result = mrNone;
    bool Scripted = false;
};

class Responder final : public TUiResponder {
public:
    Responder();
    ~Responder() override;

    // Answers for the coming message boxes, in order (mrOk, mrYes, mrNo, mrCancel ...).
    void AnswerMessageBox(int Result);
    // Answers for the coming file dialogs: accept with a path, or cancel.
    void AnswerFileDialog(const String& FileName, int FilterIndex = 0);
    void CancelFileDialog();
    // Answer for the coming popup menu: item index, -1 = dismissed.
    void AnswerPopup(int Index);
    // Scripts for the coming modal forms, in order. The script gets the form after OnShow
    // and must leave a modal result (set it, click a button ...).
    void ScriptModal(std::function<void(TCustomForm& Form)> Script);
    template <class T>
    void ScriptModal(std::function<void(T& Form)> Script)
    {
        ScriptModal([Script](TCustomForm& f) {
            T* t = dynamic_cast<T*>(&f);
            if (!t) {
                ADD_FAILURE() << "modal script expected another form class, got " << ::testing::PrintToString(f.ClassName());
                return;
            }
            Script(*t);
        });
    }

    const std::vector<MessageBoxCall>& MessageBoxes() const { return messageBoxes_; }
    const std::vector<FileDialogCall>& FileDialogs() const { return fileDialogs_; }
    const std::vector<ShellOpenCall>& ShellOpens() const { return shellOpens_; }
    const std::vector<PopupCall>& Popups() const { return popups_; }
    const std::vector<ModalCall>& Modals() const { return modals_; }
    // Texts of the recorded message boxes, in order.
    std::vector<String> MessageTexts() const;

    // Fails the test (ADD_FAILURE) for every unscripted call and for scripted answers left
    // unused; called by UiTest::TearDown.
    void Verify();

    int MessageBox(const MessageBoxRequest& Request) override;
    FileDialogAnswer FileDialog(const FileDialogRequest& Request) override;
    int PopupMenu(const PopupMenuRequest& Request) override;
    bool RunModal(TCustomForm& Form) override;
    void RecordShellOpen(const String& Target);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<MessageBoxCall> messageBoxes_;
    std::vector<FileDialogCall> fileDialogs_;
    std::vector<ShellOpenCall> shellOpens_;
    std::vector<PopupCall> popups_;
    std::vector<ModalCall> modals_;
};

// Fixture: a fresh responder and the fake clock for every test; forms created by the test
// are the test's to free.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    Responder& responder() { return *responder_; }

private:
    std::unique_ptr<Responder> responder_;
};

// ---- clock and loop -------------------------------------------------------------------
// Advances the fake clock; due timers (TTimer and window timers) fire in time order on the
// way, each at its own due time.
void AdvanceClock(std::uint32_t Milliseconds);
std::uint32_t Now();
// Puts the fake tick counter at a value (to exercise the 32-bit wrap); timers keep their
// due times.
void SetTicks(std::uint32_t Ticks);
// Runs the pending events and posted messages (no timers: they follow the fake clock).
void ProcessEvents();

// ---- input ------------------------------------------------------------------------------
void Click(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = 0);
void DoubleClick(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = 0);
void Press(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = 0);
void Release(TControl* Control, int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = 0);
// Moves the mouse to the point; the controls left and entered get CM_MOUSELEAVE/CM_MOUSEENTER.
void Move(TControl* Control, int X, int Y, TShiftState Shift = 0);
// Leaves every control (the mouse goes off the window).
void MoveAway();
// Scripts the coming DoDragDrop: it runs in the layer's in-process session, which the input
// the script sends (Move, Release, Key ...) drives. A drag still running when the script
// ends fails the test and is cancelled; a script that no drag took fails it at TearDown.
void ScriptDrag(std::function<void()> Script);
// The window system's close box of a form (WM_CLOSE through the window).
void CloseBox(TCustomForm* Form);
// The title the window system shows for a form.
String WindowTitle(TCustomForm* Form);
// Delta in the platform's units: 120 per notch, positive = away from the user.
void Wheel(TControl* Control, int Delta, int X, int Y, TShiftState Shift = 0);
// Key down and up at the focused control (virtual-key code; characters follow for keys that
// give one, as the keyboard would: 'A' with no shift gives 'a').
void Key(std::uint16_t VirtualKey, TShiftState Shift = 0);
void KeyDown(std::uint16_t VirtualKey, TShiftState Shift = 0);
void KeyUp(std::uint16_t VirtualKey, TShiftState Shift = 0);
// Types each character at the focused control (key down, character, key up).
void Type(const String& Text);

// ---- activation and screens -------------------------------------------------------------
// Makes Form the active window as a click on it would (offscreen nothing activates by itself):
// the forms concerned hear WM_ACTIVATE and WM_NCACTIVATE naming the other window.
void ActivateForm(TCustomForm* Form);
// A monitor of the fake screen geometry: its whole area and its work area.
struct FakeMonitor {
    TRect Bounds;
    TRect WorkArea;
};
// Replaces the screen geometry the layer reports (the first monitor is the primary one: the
// screen size and SM_CXSCREEN/SM_CYSCREEN) until ClearFakeScreens or the test's end.
void SetFakeScreens(std::vector<FakeMonitor> Monitors);
void ClearFakeScreens();

// ---- pictures ---------------------------------------------------------------------------
// The control as shown: its surface, its graphic children and its windowed children.
std::unique_ptr<TBitmap> Grab(TControl* Control);
// The part of the window (window coordinates) the layer backs with a surface: what of it is
// visible in its parents' client areas, as last painted.
TRect BackedRect(TWinControl* Control);
// Whether the pointer over the point (X, Y) of the control shows the cursor of that id (the
// screen's cursor table entry, else the built-in shape), as the window system would show it.
bool ShowsCursor(TControl* Control, int X, int Y, TCursor Id);
// Writes Grab(Control) as PNG for a look by eye. A relative path is a picture asked for on
// request: it goes into the folder TEST_PICTURES names, and nothing is written while that is
// unset. An absolute path (a folder the test was given) is written as it is.
void SaveGrab(TControl* Control, const String& Path);

// The bytes the system clipboard holds under a MIME type, as another program would read
// them ("" when none).
std::string SystemClipboardData(const char* MimeType);
// 0x00BBGGRR of one pixel of a grab.
TColor PixelOf(const TBitmap& Bitmap, int X, int Y);

// ---- several windows at their screen places ------------------------------------------------
// The forms as the screen shows them: each grabbed (Grab) and drawn where it lies on the
// screen, in list order (later ones above earlier ones), into one picture just covering them
// all on a white background; hidden forms are left out. A popup form opened by a control
// appears over its host at the place the user sees it.
std::unique_ptr<TBitmap> GrabForms(const std::vector<TCustomForm*>& Forms);
// Writes GrabForms as PNG under the rules of SaveGrab (relative: only with TEST_PICTURES).
void SaveFormsGrab(const std::vector<TCustomForm*>& Forms, const String& Path);

// ---- accessibility ----------------------------------------------------------------------
// A control's accessible object as an assistive tool reads it through the window system.
struct AccessibleView {
    bool Exists = false;
    // The control's own object (its answer to WM_GETOBJECT), not the window system's default.
    bool ByControl = false;
    std::string Role;          // the window system's role name: "Client", "Tree", "TreeItem" ...
    String Name;
    String Value;
    std::uint32_t State = 0;   // TAccessibleStateBit
    TRect Location;            // screen coordinates
    int ChildCount = 0;
    // The focused object below this one, read the same way (its own Focus left empty).
    std::shared_ptr<AccessibleView> Focus;
};
AccessibleView AccessibleOf(TControl* Control);
// The accessibility events announced since the test began (or since the last clear).
struct AccessibilityEvent {
    std::uint32_t Event = 0;
    TControl* Control = nullptr;
    long ObjectId = 0;
    long ChildId = 0;
};
const std::vector<AccessibilityEvent>& AccessibilityEvents();
void ClearAccessibilityEvents();

// ---- layered windows --------------------------------------------------------------------
// Replaces the display's answer to whether a compositing manager blends translucent
// top-level windows (nullopt: the display is asked again).
void SetDisplayComposites(std::optional<bool> Composites);
// Whether the window has a mask, and whether the mask lets the point (window coordinates) show.
bool HasWindowMask(TWinControl* Control);
bool InWindowMask(TWinControl* Control, int X, int Y);
// Whether the window is blended over what lies below (translucent), as its widget is set up.
bool WindowTranslucent(TWinControl* Control);
// The window as its own paint routine paints it, alpha as painted (transparent where it
// paints nothing).
std::unique_ptr<TBitmap> GrabPainted(TWinControl* Control);

} // namespace plat::testing
