#pragma once
// A drop-down edit showing an integer position that a horizontal track bar in the drop-down
// form, the Up and Down keys and a sideways mouse drag over the edit change.
//
// - The edit is selection-only (EditorEnabled off) and numeric; header and footer are hidden.
// - Up and Down step by Frequency within Min and Max; a drag moves by one position per
//   PageSize pixels covered in a single move (no movement while PageSize is below 1).
// - A text that is not an integer (a paste, a cell text) leaves Position unchanged.
#include "ExtDropDown.h"
#include "plat/ComCtrls.h"

namespace dropdown {

class TExtTrackBarDropDown : public TExtCustomDropDown {
public:
    explicit TExtTrackBarDropDown(plat::TComponent* AOwner);
    ~TExtTrackBarDropDown() override;
    String ClassName() const override { return u"TExtTrackBarDropDown"; }

    int Min() const { return min_; }
    void SetMin(int Value);
    int Max() const { return max_; }
    void SetMax(int Value);
    int Position() const { return position_; }
    void SetPosition(int Value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int Value);
    int Frequency() const { return frequency_; }
    void SetFrequency(int Value);
    // The embedded track bar (created with the drop-down form).
    plat::TTrackBar* TrackBar() const { return trackBar_; }

    plat::TNotifyEvent OnTrackChange;

    void WndProc(plat::TMessage& Message) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void Change() override;
    void ForwardListKeyDown(plat::TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    void TrackBarChanged(plat::TObject* Sender);

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int pageSize_ = 2;
    int frequency_ = 1;
    plat::TTrackBar* trackBar_ = nullptr;
    bool mouseDrag_ = false;
    int mouseX_ = 0;
};

} // namespace dropdown
