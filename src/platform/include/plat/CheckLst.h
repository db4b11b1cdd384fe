#pragma once
// A list box whose items each carry a check mark in front of their text. A click on the mark
// or Space on the current item advances the mark (unchecked, checked, and grayed when
// AllowGrayed) and fires OnClickCheck; a click on the text selects the item as in a list box.
#include <vector>

#include "plat/StdCtrls.h"

namespace plat {

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);
    String ClassName() const override { return u"TCheckListBox"; }

    // Marks belong to item positions; an index outside the items reads unchecked and is
    // ignored when written. Emptying the items clears every mark.
    bool Checked(int Index) const { return State(Index) == cbChecked; }
    void SetChecked(int Index, bool Value) { SetState(Index, Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State(int Index) const;
    void SetState(int Index, TCheckBoxState Value);
    bool AllowGrayed = false;
    // The width of the mark's column at the left of each item.
    static constexpr int CheckWidth = 16;
    TNotifyEvent OnClickCheck;

protected:
    void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyPress(char16_t& Key) override;
    // A mark the user changed: fires OnClickCheck.
    virtual void ClickCheck();

private:
    void ToggleByUser(int Index);
    std::vector<TCheckBoxState> states_;
};

} // namespace plat
