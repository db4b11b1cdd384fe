#pragma once
// The top-level windows that follow the pointer while the grid moves a column or row: the
// floating header caption and a picture of the moved cells. Neither takes the activation nor
// the mouse.
#include "ExtGrid.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"

namespace grid {

// The header caption of the moved column or row on the fixed-cell background; plain text is
// centred on one line with an ellipsis, a caption holding "</" is drawn as markup.
class THeaderDragButton : public plat::TCustomControl {
public:
    explicit THeaderDragButton(TExtStringGrid* Grid);
    String ClassName() const override { return u"THeaderDragButton"; }
    // Shows the button at Bounds (screen coordinates) without taking the activation.
    void ShowAt(const plat::TRect& Bounds);
    // The fixed cell (display column, row) whose face the button takes.
    void SetFaceCell(int ACol, int ARow);
    void HideButton();

protected:
    void Paint() override;

private:
    TExtStringGrid* grid_;
    int faceCol_ = 0, faceRow_ = 0;
};

// A picture shown at 192 of 255 opacity in a window that takes no input and never the
// activation.
class TNoActiveForm : public plat::TCustomControl {
public:
    explicit TNoActiveForm(plat::TComponent* AOwner);
    String ClassName() const override { return u"TNoActiveForm"; }
    static constexpr std::uint8_t Alpha = 192;
    // The picture (24 or 32 bit); the window takes its size.
    void SetPicture(const plat::TBitmap& Picture);
    const plat::TBitmap& Picture() const { return picture_; }
    // Shows the window with its top-left corner at Screen.
    void ShowAt(plat::TPoint Screen);
    void HidePicture();

protected:
    void Paint() override;

private:
    plat::TBitmap picture_;
};

} // namespace grid
