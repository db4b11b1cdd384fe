#pragma once
// Balloon tooltips: a top-level window that is never activated, showing an optional icon and
// bold title above a word-wrapped text, with a stem whose tip points at a screen point.
//
// - Icons: 0 none, 1 information, 2 warning, 3 error; any other number shows none.
// - The text wraps at MaxWidth pixels (300 by default); colours clNone take the system's
//   tooltip colours.
// - ShowBalloonTip is the edit control's balloon tip: one per application, its stem at the
//   control's lower left (8 pixels in); it hides on HideBalloonTip, when another tip is shown,
//   when its control is destroyed, and after AutoHide milliseconds (10000; 0 never).
#include "plat/Forms.h"

namespace plat {

class TBalloonWindow : public THintWindow {
public:
    explicit TBalloonWindow(TComponent* AOwner);
    String ClassName() const override { return u"TBalloonWindow"; }

    void SetContent(const String& Title, const String& Text, int Icon);
    const String& Title() const { return title_; }
    const String& Text() const { return text_; }
    int Icon() const { return icon_; }
    int MaxWidth = 300;
    TColor TextColor = clNone, BackgroundColor = clNone;

    // Size of the balloon for its content, stem included.
    TSize CalcBalloonSize();
    // Shows the balloon below Point (screen coordinates) with the stem's tip on it, moved
    // sideways to stay on the screen.
    void ShowAt(TPoint Point);
    void Hide() { ReleaseHandle(); }
    // Where the stem's tip points (screen coordinates) while shown.
    TPoint StemTip() const { return stemTip_; }

protected:
    void Paint() override;

private:
    TRect TextRect(int Width);
    String title_, text_;
    int icon_ = 0;
    TPoint stemTip_{};
};

void ShowBalloonTip(TWinControl* Control, const String& Title, const String& Text, int Icon, unsigned AutoHide = 10000);
void HideBalloonTip();
// The balloon tip shown for a control, or null.
TBalloonWindow* ActiveBalloonTip();
TWinControl* BalloonTipControl();

} // namespace plat
