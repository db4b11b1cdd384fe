#pragma once
// The search footer panel the grid docks at its bottom (an edit, find next, find previous and
// highlight buttons, a match-case box and a close button) and the edit that reports Enter and
// Ctrl+Enter instead of taking them.
#include "ExtObjButtons.h"
#include "plat/ExtCtrls.h"
#include "plat/StdCtrls.h"

namespace grid {

class TExtStringGrid;

class TRetEdit : public plat::TCustomEdit {
public:
    explicit TRetEdit(plat::TComponent* AOwner) : plat::TCustomEdit(AOwner) {}
    String ClassName() const override { return u"TRetEdit"; }
    plat::TNotifyEvent OnReturn, OnCtrlReturn;

protected:
    // Enter fires OnCtrlReturn with Ctrl held, else OnReturn, and goes no further.
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    // Enter and line feed reach OnKeyPress only; the edit never takes them.
    void KeyPress(char16_t& Key) override;
};

class TSearchPanel : public plat::TCustomPanel {
public:
    // AOwner must be the grid; the panel's controls are its own children.
    explicit TSearchPanel(TExtStringGrid* AOwner);
    String ClassName() const override { return u"TSearchPanel"; }

    TRetEdit* Edit() const { return FEdit; }
    TExtGridButton* ExitButton() const { return FExitButton; }
    TExtGridButton* ForwardButton() const { return FForwardButton; }
    TExtGridButton* BackwardButton() const { return FBackwardButton; }
    TExtGridButton* HiliteButton() const { return FHiliteButton; }
    TExtCheckBox* MatchCase() const { return FMatchCase; }
    // Gradient end; 0x1FFFFFFF: none (filled with Color). The setter repaints.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    static constexpr TColor NoColorTo = 0x1FFFFFFF;
    // Places the controls: edit at 25, find next at 140, find previous at 235, highlight at
    // 330, match case at 425 (330 without a visible highlight button).
    void LayoutControls();
    String FindNextCaption, FindPrevCaption, MatchCaseCaption, HighLightCaption;
    String HintFindNext, HintFindPrev, HintClose, HintHighlight;
    plat::TNotifyEvent OnForwardClick, OnBackwardClick, OnEditChange, OnExitClick, OnHighlightClick;

protected:
    void CreateWnd() override;
    void Paint() override;

private:
    // The search buttons are enabled exactly while the edit holds text.
    void EditChanged();
    TExtStringGrid* FGrid;
    TRetEdit* FEdit;
    TExtGridButton *FExitButton, *FForwardButton, *FBackwardButton, *FHiliteButton;
    TExtCheckBox* FMatchCase;
    TColor FColorTo = NoColorTo;
};

} // namespace grid
