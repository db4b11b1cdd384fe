#pragma once
// The drop-down edit family's base: a single-line edit with a drop-down button at its right
// edge that opens a borderless form (header, embedded control, footer) below or above the
// edit; the form, its header and footer bars with their buttons, and the button of the edit.
//
// - Opening: the button, F4 or Alt+Down; the form is placed below the edit (above it when it
//   would pass the primary screen's bottom with dpAuto) and kept inside the work area's right
//   edge. OnDropDown may refuse.
// - Closing: Enter, F4, Alt+Up/Down and the closing footer buttons keep the text; Esc, the
//   cancelling footer buttons and the activation of a window outside the form (with
//   CancelOnDeActivate) restore the text last given to SetText.
// - A click on the button within 250 ms of the deactivation that closed the form does not
//   reopen it; the rule holds only once a deactivation was recorded, and the elapsed time is
//   an unsigned 32-bit difference so a tick-count wrap neither blocks nor skips it.
// - A descendant creates its embedded control, hands it over with SetControl and overrides
//   the virtual hooks to take part in opening and closing.
#include <cstdint>
#include <functional>
#include <memory>

#include "DropDownDraw.h"
#include "ExtDropDownEditTypes.h"
#include "ExtDropDownStyles.h"
#include "ExtStyleIF.h"
#include "plat/Classes.h"
#include "plat/Controls.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/MaskEdit.h"
#include "plat/StdCtrls.h"
#include "plat/Timers.h"

namespace dropdown {

using plat::String;
using plat::TColor;
using plat::TObject;
using plat::TRect;

class TExtCustomDropDown;
class TDropDownForm;
class TExtButton;

enum TDropPosition { dpAuto, dpDown, dpUp };
enum TButtonAlignment { baLeft, baRight };
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
enum TButtonStyle { bsButton, bsDropDown };
enum TExtButtonStyle { tasButton, tasCheck };
enum TExtButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// The colour that stands for "not set" in every colour property of the family.
constexpr TColor clNoColor = plat::clNone;

using TDropDownEvent = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUpEvent = std::function<void(TObject* Sender, bool Cancelled)>;
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject* Sender, plat::TCanvas* ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;

// ---- TDbgList -----------------------------------------------------------------------------

// A pointer list whose indexed access raises "Index out of bounds in list read access" or
// "... write access" for an index outside the list.
class TDbgList : public plat::TList {
public:
    String ClassName() const override { return u"TDbgList"; }
    void AssignList(const plat::TList* ListA);
    void* ItemsEx(int Index) const;
    void SetItemsEx(int Index, void* Value);
};

// ---- header and footer button collections ---------------------------------------------

class THeaderButton : public plat::TCollectionItem {
public:
    explicit THeaderButton(plat::TCollection* Collection) : plat::TCollectionItem(Collection) {}
    String ClassName() const override { return u"THeaderButton"; }
    void Assign(const plat::TPersistent* Source) override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    int Width() const { return width_; }
    void SetWidth(int Value);
    int Height() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }

protected:
    void ButtonChanged();

private:
    String caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    int width_ = 0;
    int height_ = 0;
};

class TFooterButton : public THeaderButton {
public:
    explicit TFooterButton(plat::TCollection* Collection) : THeaderButton(Collection) {}
    String ClassName() const override { return u"TFooterButton"; }
    void Assign(const plat::TPersistent* Source) override;

    plat::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(plat::TModalResult Value) { modalResult_ = Value; }

private:
    plat::TModalResult modalResult_ = plat::mrNone;
};

// The buttons of a bar; OnChange is raised when an item's caption, enabled state or width
// changes (adding and removing raise nothing).
class THeaderButtons : public plat::TCollection {
public:
    explicit THeaderButtons(plat::TPersistent* AOwner);
    String ClassName() const override { return u"THeaderButtons"; }
    plat::TPersistent* Owner() const { return owner_; }
    THeaderButton* Add() { return static_cast<THeaderButton*>(plat::TCollection::Add()); }
    THeaderButton* Insert(int Index) { return static_cast<THeaderButton*>(plat::TCollection::Insert(Index)); }
    THeaderButton* Items(int Index) const { return static_cast<THeaderButton*>(plat::TCollection::Items(Index)); }
    plat::TNotifyEvent OnChange;

protected:
    THeaderButtons(plat::TPersistent* AOwner, ItemFactory Factory);
    void Update(plat::TCollectionItem* Item) override;

private:
    friend class THeaderButton;
    void ItemChanged();
    plat::TPersistent* owner_;
};

class TFooterButtons : public THeaderButtons {
public:
    explicit TFooterButtons(plat::TPersistent* AOwner);
    String ClassName() const override { return u"TFooterButtons"; }
    TFooterButton* Add() { return static_cast<TFooterButton*>(plat::TCollection::Add()); }
    TFooterButton* Insert(int Index) { return static_cast<TFooterButton*>(plat::TCollection::Insert(Index)); }
    TFooterButton* Items(int Index) const { return static_cast<TFooterButton*>(plat::TCollection::Items(Index)); }
};

// ---- header and footer appearances -----------------------------------------------------

// Looks of the drop-down form's header. Colour and text stores raise nothing; OnChange is
// raised only when Visible changes, OnButtonsChanged when the button collection reports one.
class THeaderAppearance : public plat::TPersistent {
public:
    explicit THeaderAppearance(plat::TPersistent* AOwner);
    ~THeaderAppearance() override;
    String ClassName() const override { return u"THeaderAppearance"; }
    void Assign(const plat::TPersistent* Source) override;
    // Copies only ColorTo, Color, BorderColor, Font and GradientDirection.
    void AssignColors(const THeaderAppearance* Source);
    plat::TPersistent* Owner() const { return owner_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    int Height() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value) { borderWidth_ = Value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { borderColor_ = Value; }
    TColor Color() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { colorTo_ = Value; }
    TGradientDirection GradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(TGradientDirection Value) { gradientDirection_ = Value; }
    const String& Caption() const { return caption_; }
    void SetCaption(const String& Value) { caption_ = Value; }
    plat::TFont* Font() const { return font_.get(); }
    void SetFont(const plat::TFont* Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    THeaderButtons* Buttons() const { return buttons_.get(); }
    void SetButtons(const THeaderButtons* Value);
    TButtonAlignment ButtonAlignment() const { return buttonAlignment_; }
    void SetButtonAlignment(TButtonAlignment Value) { buttonAlignment_ = Value; }

    plat::TNotifyEvent OnChange;
    plat::TNotifyEvent OnButtonsChanged;

protected:
    THeaderAppearance(plat::TPersistent* AOwner, std::unique_ptr<THeaderButtons> Buttons);
    void Changed();

private:
    plat::TPersistent* owner_;
    bool visible_ = true;
    int height_ = 22;
    int borderWidth_ = 1;
    TColor borderColor_ = 0;
    TColor color_ = 0xC0C0C0;
    TColor colorTo_ = 0xFFFFFF;
    TGradientDirection gradientDirection_ = gdVertical;
    String caption_;
    std::unique_ptr<plat::TFont> font_;
    int imageIndex_ = -1;
    std::unique_ptr<THeaderButtons> buttons_;
    TButtonAlignment buttonAlignment_ = baRight;
};

// Looks of the drop-down form's footer: the header's, a footer button collection, the
// framework's default caption font and the size grip switch.
class TFooterAppearance : public THeaderAppearance {
public:
    explicit TFooterAppearance(plat::TPersistent* AOwner);
    String ClassName() const override { return u"TFooterAppearance"; }
    void Assign(const plat::TPersistent* Source) override;

    TFooterButtons* Buttons() const { return static_cast<TFooterButtons*>(THeaderAppearance::Buttons()); }
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool Value) { sizeGrip_ = Value; }

private:
    bool sizeGrip_ = true;
};

// ---- header and footer buttons (TExtButton) ---------------------------------------------

// The colour set shared by every header and footer button of a drop-down.
class TExtButtonAppearance : public plat::TPersistent {
public:
    TExtButtonAppearance();
    ~TExtButtonAppearance() override;
    String ClassName() const override { return u"TExtButtonAppearance"; }
    void Assign(const plat::TPersistent* Source) override;

    TColor Color() const { return color_; }
    void SetColor(TColor Value) { SetColour(color_, Value); }
    TColor ColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { SetColour(colorTo_, Value); }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { SetColour(borderColor_, Value); }
    TColor ColorHot() const { return colorHot_; }
    void SetColorHot(TColor Value) { SetColour(colorHot_, Value); }
    TColor ColorHotTo() const { return colorHotTo_; }
    void SetColorHotTo(TColor Value) { SetColour(colorHotTo_, Value); }
    TColor BorderColorHot() const { return borderColorHot_; }
    void SetBorderColorHot(TColor Value) { SetColour(borderColorHot_, Value); }
    TColor ColorDown() const { return colorDown_; }
    void SetColorDown(TColor Value) { SetColour(colorDown_, Value); }
    TColor ColorDownTo() const { return colorDownTo_; }
    void SetColorDownTo(TColor Value) { SetColour(colorDownTo_, Value); }
    TColor BorderColorDown() const { return borderColorDown_; }
    void SetBorderColorDown(TColor Value) { SetColour(borderColorDown_, Value); }
    TColor ColorChecked() const { return colorChecked_; }
    void SetColorChecked(TColor Value) { SetColour(colorChecked_, Value); }
    TColor ColorCheckedTo() const { return colorCheckedTo_; }
    void SetColorCheckedTo(TColor Value) { SetColour(colorCheckedTo_, Value); }
    TColor BorderColorChecked() const { return borderColorChecked_; }
    void SetBorderColorChecked(TColor Value) { SetColour(borderColorChecked_, Value); }
    TColor ColorDisabled() const { return colorDisabled_; }
    void SetColorDisabled(TColor Value) { SetColour(colorDisabled_, Value); }
    TColor ColorDisabledTo() const { return colorDisabledTo_; }
    void SetColorDisabledTo(TColor Value) { SetColour(colorDisabledTo_, Value); }
    TColor BorderColorDisabled() const { return borderColorDisabled_; }
    void SetBorderColorDisabled(TColor Value) { SetColour(borderColorDisabled_, Value); }
    TGradientDirection Gradient() const { return gradient_; }
    void SetGradient(TGradientDirection Value);
    plat::TFont* Font() const { return font_.get(); }
    void SetFont(const plat::TFont* Value);

    plat::TNotifyEvent OnChange;

private:
    void SetColour(TColor& Field, TColor Value);
    void Changed();

    TColor color_ = clNoColor, colorTo_ = clNoColor, borderColor_ = clNoColor;
    TColor colorHot_ = 0xF5F0E1, colorHotTo_ = 0xF9D2B2, borderColorHot_ = 0x808080;
    TColor colorDown_ = 0xF5D8CA, colorDownTo_ = 0xF9BDA0, borderColorDown_ = 0x800000;
    TColor colorChecked_ = 0xF5D8CA, colorCheckedTo_ = 0xF9BDA0, borderColorChecked_ = 0xFF0000;
    TColor colorDisabled_ = 0xF2F2F2, colorDisabledTo_ = clNoColor, borderColorDisabled_ = 0x808080;
    TGradientDirection gradient_ = gdVertical;
    std::unique_ptr<plat::TFont> font_;
};

// A light owner-drawn button of a header or footer: the parent's background behind it, a
// face and one-pixel border in the colours of its state, an image and a caption. A footer
// button with a closing modal result closes its drop-down when clicked.
class TExtButton : public plat::TCustomControl {
public:
    explicit TExtButton(plat::TComponent* AOwner);
    ~TExtButton() override;
    String ClassName() const override { return u"TExtButton"; }

    void Click() override;
    void SetDown(bool Value);
    bool Down() const { return down_; }
    // Sizes the button to its caption and image (needs an appearance).
    void AutoSize();
    void SetImages(plat::TCustomImageList* Value);
    plat::TCustomImageList* Images() const { return images_; }
    void SetExtDropDown(TExtCustomDropDown* Value) { extDropDown_ = Value; }
    TExtCustomDropDown* ExtDropDown() const { return extDropDown_; }

    TExtButtonAppearance* Appearance() const { return appearance_; }
    void SetAppearance(TExtButtonAppearance* Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    plat::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(plat::TModalResult Value) { modalResult_ = Value; }
    TExtButtonStyle Style() const { return style_; }
    void SetStyle(TExtButtonStyle Value) { style_ = Value; }
    TExtButtonState State() const { return state_; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value) { groupIndex_ = Value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value) { allowAllUp_ = Value; }
    bool Hot() const { return mouseInControl_ || hot_; }

    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void WndProc(plat::TMessage& Message) override;

protected:
    void Paint() override;
    virtual void DrawButton(plat::TCanvas* Canvas);
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void Loaded() override;

private:
    void MouseEnterNow();
    void MouseLeaveNow();
    void UnHotTimerTick(TObject* Sender);

    TExtButtonAppearance* appearance_ = nullptr;
    plat::TCustomImageList* images_ = nullptr;
    int imageIndex_ = -1;
    plat::TModalResult modalResult_ = plat::mrNone;
    TExtCustomDropDown* extDropDown_ = nullptr;
    TExtButtonStyle style_ = tasButton;
    TExtButtonState state_ = absUp;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool initialDown_ = false;
    bool mouseInControl_ = false;
    bool mouseDownInControl_ = false;
    bool dragging_ = false;
    bool hot_ = false;
    bool internalClick_ = false;
    plat::TTimer* unHotTimer_ = nullptr;
    int offSet_ = 4;
    bool grouped_ = true;
};

// ---- header and footer bars -----------------------------------------------------------

// The header bar of a drop-down form: background, border, image, markup caption and a row of
// TExtButton controls built from the drop-down's DropDownHeader.Buttons.
class TExtHeader : public plat::TCustomControl {
public:
    explicit TExtHeader(plat::TComponent* AOwner);
    ~TExtHeader() override;
    String ClassName() const override { return u"TExtHeader"; }

    // The drop-down: its images and a copy of its appearance for this bar.
    void SetExtDropDown(TExtCustomDropDown* Value);
    TExtCustomDropDown* ExtDropDown() const { return extDropDown_; }
    THeaderAppearance* Appearance() const { return appearance_.get(); }
    plat::TCustomImageList* Images() const { return images_; }
    void SetImages(plat::TCustomImageList* Value);
    // The drop-down's own collection (not the copy's); null without a drop-down.
    virtual THeaderButtons* Buttons() const;
    // The TExtButton controls created, in collection order.
    const TDbgList& ButtonList() const { return buttonList_; }
    TExtButton* ButtonAt(int Index) const { return static_cast<TExtButton*>(buttonList_.ItemsEx(Index)); }
    // Where buttons may sit (client coordinates).
    virtual TRect ButtonArea() const;

    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void UpdateButtonPositions();
    virtual void UpdateButtons();

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    TExtHeader(plat::TComponent* AOwner, std::unique_ptr<THeaderAppearance> Appearance);
    void Paint() override;
    void Resize() override;
    // The background, border lines and inner rectangle of the bar.
    virtual void PaintFrame(plat::TCanvas* Canvas, const TRect& R);
    virtual void PaintExtras(plat::TCanvas* /*Canvas*/, const TRect& /*R*/) {}
    virtual void ButtonClicked(TObject* Sender);
    virtual void PrepareButton(TExtButton* /*Button*/, int /*Index*/) {}
    void AppearanceChanged(TObject* Sender);
    bool DropDownHasBorder() const;

    TExtCustomDropDown* extDropDown_ = nullptr;
    std::unique_ptr<THeaderAppearance> appearance_;
    plat::TCustomImageList* images_ = nullptr;
    TDbgList buttonList_;
};

// The footer bar: the header's parts with the border along the top, footer buttons with
// their modal results and, on a sizeable drop-down, the size grip at the bottom right.
class TExtFooter : public TExtHeader {
public:
    explicit TExtFooter(plat::TComponent* AOwner);
    String ClassName() const override { return u"TExtFooter"; }

    TFooterAppearance* Appearance() const { return static_cast<TFooterAppearance*>(appearance_.get()); }
    THeaderButtons* Buttons() const override;
    TRect ButtonArea() const override;
    // The grip is shown: SizeGrip set and the drop-down sizeable.
    bool GripShown() const;

protected:
    void PaintFrame(plat::TCanvas* Canvas, const TRect& R) override;
    void PaintExtras(plat::TCanvas* Canvas, const TRect& R) override;
    void ButtonClicked(TObject* Sender) override;
    void PrepareButton(TExtButton* Button, int Index) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void WndProc(plat::TMessage& Message) override;

private:
    bool InGrip(int X, int Y) const;
    void RestoreCursor();
    plat::TCursor oldCursor_ = plat::crDefault;
};

// ---- the drop-down form --------------------------------------------------------------

// The borderless, topmost form a drop-down opens. Its owner window is the drop-down's parent
// form; it closes itself when a window outside it is activated, and a sizeable form can be
// resized by its bottom-right corner.
class TDropDownForm : public plat::TForm {
public:
    explicit TDropDownForm(plat::TComponent* AOwner);
    ~TDropDownForm() override;
    String ClassName() const override { return u"TDropDownForm"; }

    TExtCustomDropDown* ExtDropDown() const { return extDropDown_; }
    void SetExtDropDown(TExtCustomDropDown* Value) { extDropDown_ = Value; }
    TExtHeader* Header() const { return header_; }
    TExtFooter* Footer() const { return footer_; }
    bool Shadow() const { return shadow_; }
    void SetShadow(bool Value) { shadow_ = Value; }
    bool Sizeable() const { return sizeable_; }
    void SetSizeable(bool Value) { sizeable_ = Value; }
    bool CancelOnDeActivate() const { return cancelOnDeActivate_; }
    void SetCancelOnDeActivate(bool Value) { cancelOnDeActivate_ = Value; }
    bool BlockActivate() const { return blockActivate_; }
    void SetBlockActivate(bool Value) { blockActivate_ = Value; }
    // Tick count of the last deactivation while visible (0: none recorded).
    std::uint32_t DeActivateTime() const { return deActivateTime_; }
    bool DeActivated() const { return deActivated_; }

    // Builds or refreshes header and footer from the drop-down.
    void InitializeAndUpdate();
    virtual void UpdateSize() {}

    TRect ClientRect() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(plat::TMessage& Message) override;

    plat::TNotifyEvent OnSizing;
    plat::TMouseWheelUpDownEvent OnFormWheelDown;
    plat::TMouseWheelUpDownEvent OnFormWheelUp;

protected:
    void CreateParams(plat::TCreateParams& Params) override;
    void PaintWindow(plat::TCanvas* Canvas) override;
    void Resize() override;

private:
    void Activation(plat::TMessage& Message);

    TExtCustomDropDown* extDropDown_ = nullptr;
    TExtHeader* header_ = nullptr;
    TExtFooter* footer_ = nullptr;
    bool shadow_ = true;
    bool sizeable_ = false;
    bool cancelOnDeActivate_ = true;
    bool blockActivate_ = false;
    std::uint32_t deActivateTime_ = 0;
    bool deActivated_ = false;
};

// ---- the drop-down button ------------------------------------------------------------

class TDropDownEditButton;

// The painted button inside TDropDownEditButton: the classic arrow, an arrow in custom
// colours, a glyph, or a flat push button.
class TExtDropDownSpeedButton : public plat::TGraphicControl {
public:
    explicit TExtDropDownSpeedButton(plat::TComponent* AOwner);
    String ClassName() const override { return u"TExtDropDownSpeedButton"; }

    void SetUp();
    TButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(TButtonStyle Value);
    bool Etched() const { return etched_; }
    void SetEtched(bool Value);
    bool Focused() const { return focused_; }
    void SetFocused(bool Value);
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_ && !up_; }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    plat::TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const plat::TBitmap* Value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int Value) { numGlyphs_ = Value; }

    void WndProc(plat::TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

private:
    TDropDownEditButton* EditButton() const;
    TExtCustomDropDown* DropDown() const;
    void PaintArrow(plat::TCanvas* Canvas);
    void PaintButton(plat::TCanvas* Canvas);
    void PaintClassicFace(plat::TCanvas* Canvas, bool Down);

    TButtonStyle buttonStyle_ = bsDropDown;
    bool etched_ = false;
    bool focused_ = false;
    bool hot_ = false;
    bool up_ = false;
    bool pressed_ = false;
    bool flat_ = false;
    bool isWinXP_ = false;
    std::unique_ptr<plat::TBitmap> glyph_;
    int numGlyphs_ = 1;
};

// The window control at the drop-down edit's right edge that holds the speed button and
// raises OnClick on a left-button release that began on it (wherever the release happens).
class TDropDownEditButton : public plat::TWinControl {
public:
    explicit TDropDownEditButton(plat::TComponent* AOwner);
    String ClassName() const override { return u"TDropDownEditButton"; }

    TExtDropDownSpeedButton* SpeedButton() const { return button_; }
    plat::TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(const plat::TBitmap* Value) { button_->SetGlyph(Value); }
    String ButtonCaption() const { return button_->Caption(); }
    void SetButtonCaption(const String& Value) { button_->SetCaption(Value); }
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int Value) { button_->SetNumGlyphs(Value); }
    plat::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(plat::TWinControl* Value);
    int FBWidth() const { return fbWidth_; }
    void SetFBWidth(int Value) { fbWidth_ = Value; }

    TColor ButtonColor = clNoColor, ButtonColorHot = clNoColor, ButtonColorDown = clNoColor;
    TColor ButtonTextColor = clNoColor, ButtonTextColorHot = clNoColor, ButtonTextColorDown = clNoColor;
    TColor ButtonBorderColor = clNoColor;

    plat::TNotifyEvent OnClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool Value) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    void Loaded() override;

private:
    friend class TExtDropDownSpeedButton;
    void SpeedButtonReleased(plat::TMouseButton Button);
    TExtDropDownSpeedButton* button_ = nullptr;
    plat::TWinControl* focusControl_ = nullptr;
    int fbWidth_ = 16;
};

// ---- the drop-down edit ----------------------------------------------------------------

class TExtCustomDropDown : public plat::TCustomMaskEdit, public grid::IExtStyle, public grid::IExtTones {
public:
    explicit TExtCustomDropDown(plat::TComponent* AOwner);
    ~TExtCustomDropDown() override;
    String ClassName() const override { return u"TExtCustomDropDown"; }

    // -- the form ----------------------------------------------------------------------
    int DropDownWidth() const { return dropDownWidth_; }
    void SetDropDownWidth(int Value);
    int DropDownHeight() const { return dropDownHeight_; }
    void SetDropDownHeight(int Value);
    TColor DropDownColor() const { return dropDownColor_; }
    void SetDropDownColor(TColor Value) { dropDownColor_ = Value; }
    TColor DropDownColorTo() const { return dropDownColorTo_; }
    void SetDropDownColorTo(TColor Value) { dropDownColorTo_ = Value; }
    TGradientDirection DropDownGradient() const { return dropDownGradient_; }
    void SetDropDownGradient(TGradientDirection Value) { dropDownGradient_ = Value; }
    TColor DropDownBorderColor() const { return dropDownBorderColor_; }
    void SetDropDownBorderColor(TColor Value) { dropDownBorderColor_ = Value; }
    int DropDownBorderWidth() const { return dropDownBorderWidth_; }
    void SetDropDownBorderWidth(int Value) { dropDownBorderWidth_ = Value; }
    bool DropDownShadow() const { return dropDownShadow_; }
    void SetDropDownShadow(bool Value) { dropDownShadow_ = Value; }
    bool ForceShadow() const { return forceShadow_; }
    void SetForceShadow(bool Value) { forceShadow_ = Value; }
    bool DropDownSizeable() const { return dropDownSizeable_; }
    void SetDropDownSizeable(bool Value);
    TDropPosition DropPosition() const { return dropPosition_; }
    void SetDropPosition(TDropPosition Value) { dropPosition_ = Value; }
    bool DropDownEnabled() const { return dropDownEnabled_; }
    void SetDropDownEnabled(bool Value) { dropDownEnabled_ = Value; }
    TDropDownForm* DropDownForm() const { return form_; }
    bool DroppedDown() const { return droppedDown_; }
    // The form size when it was last closed (-1: none).
    int UserDropDownWidth() const { return userDropDownWidth_; }
    int UserDropDownHeight() const { return userDropDownHeight_; }

    // -- the button --------------------------------------------------------------------
    int DropDownButtonWidth() const { return dropDownButtonWidth_; }
    void SetDropDownButtonWidth(int Value);
    const String& DropDownButtonHint() const { return dropDownButtonHint_; }
    void SetDropDownButtonHint(const String& Value);
    plat::TBitmap* DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(const plat::TBitmap* Value);
    String DropDownButtonCaption() const;
    void SetDropDownButtonCaption(const String& Value);
    TDropDownEditButton* Button() const { return button_; }

    // -- header, footer and their buttons ---------------------------------------------
    THeaderAppearance* DropDownHeader() const { return dropDownHeader_.get(); }
    void SetDropDownHeader(const THeaderAppearance* Value) { dropDownHeader_->Assign(Value); }
    TFooterAppearance* DropDownFooter() const { return dropDownFooter_.get(); }
    void SetDropDownFooter(const TFooterAppearance* Value) { dropDownFooter_->Assign(Value); }
    TExtButtonAppearance* ButtonAppearance() const { return buttonAppearance_.get(); }
    void SetButtonAppearance(const TExtButtonAppearance* Value) { buttonAppearance_->Assign(Value); }
    plat::TCustomImageList* Images() const { return images_; }
    virtual void SetImages(plat::TCustomImageList* Value);

    // -- the edit ----------------------------------------------------------------------
    bool EditorEnabled() const { return editorEnabled_; }
    virtual void SetEditorEnabled(bool Value);
    bool ReturnIsTab() const { return returnIsTab_; }
    void SetReturnIsTab(bool Value) { returnIsTab_ = Value; }
    bool DefaultHandling() const { return defaultHandling_; }
    void SetDefaultHandling(bool Value) { defaultHandling_ = Value; }
    bool CanUndo() const { return canUndo_; }
    void SetCanUndo(bool Value) { canUndo_ = Value; }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    bool Etched() const { return etched_; }
    void SetEtched(bool Value) { etched_ = Value; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value);
    TColor FocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(TColor Value);
    bool DisabledBorder() const { return disabledBorder_; }
    void SetDisabledBorder(bool Value);
    bool FocusDraw() const { return focusDraw_; }
    void SetFocusDraw(bool Value) { focusDraw_ = Value; }
    plat::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(plat::TWinControl* Value);
    TColor SelectionColor() const { return selectionColor_; }
    void SetSelectionColor(TColor Value) { selectionColor_ = Value; }
    TColor SelectionColorTo() const { return selectionColorTo_; }
    void SetSelectionColorTo(TColor Value) { selectionColorTo_ = Value; }
    TSelectionColorStyle SelectionColorStyle() const { return selectionColorStyle_; }
    String Version() const;
    bool MouseInControl() const { return mouseInControl_; }

    // -- the label ---------------------------------------------------------------------
    const String& LabelCaption() const { return labelCaption_; }
    void SetLabelCaption(const String& Value);
    TLabelPosition LabelPosition() const { return labelPosition_; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return labelMargin_; }
    void SetLabelMargin(int Value);
    plat::TFont* LabelFont() const { return labelFont_.get(); }
    void SetLabelFont(const plat::TFont* Value);
    bool LabelTransparent() const { return labelTransparent_; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return labelAlwaysEnabled_; }
    void SetLabelAlwaysEnabled(bool Value);
    plat::TLabel* EditLabel() const { return label_; }

    // -- operations ----------------------------------------------------------------------
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    void SetControl(plat::TControl* Value);
    plat::TControl* Control() const { return control_; }
    TRect GetEditRect() const { return editRect_; }
    grid::TExtStyle GetComponentStyle() const { return extStyle_; }
    // The button's click (also a left press on a selection-only edit): opens unless the form
    // is visible or was deactivated within the last 250 ms.
    void ButtonClick(TObject* Sender);
    void Assign(const plat::TPersistent* Source) override;
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void WndProc(plat::TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(plat::TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    // The framework's query whether the edit wants Esc or Enter (CM_WANTSPECIALKEY; the grid
    // also calls it directly). Esc with CanUndo and no key preview selects the whole text and
    // clears the modified state and, with DefaultHandling, is posted to the parent (down and
    // up); Enter with DefaultHandling, no key preview and a focused parent is posted to it.
    // Then the edit's own answer; an open drop-down claims Esc.
    void WantSpecialKey(plat::TMessage& Message);

    // -- events ------------------------------------------------------------------------
    plat::TNotifyEvent OnBeforeDropDown;
    TDropDownEvent OnDropDown;
    plat::TNotifyEvent OnBeforeDropUp;
    TDropUpEvent OnDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;
    plat::TNotifyEvent OnLabelClick;
    plat::TNotifyEvent OnLabelDblClick;

    // ==== edit types and value formatting ==============================================
    // The members of the edit types, their settings and the value conversions; defined in
    // ExtDropDownEditType.cpp over the rules of TDropDownEditTypes, which the settings below
    // are handed to before every use.
    TDropDownEditType EditType() const { return editType_; }
    void SetEditType(TDropDownEditType Value);
    int Precision() const { return precision_; }
    void SetPrecision(int Value);
    int LengthLimit() const { return lengthLimit_; }
    void SetLengthLimit(int Value) { lengthLimit_ = static_cast<std::int16_t>(Value); }
    bool Signed() const { return signed_; }
    void SetSigned(bool Value) { signed_ = Value; }
    const String& Prefix() const { return prefix_; }
    void SetPrefix(const String& Value);
    const String& Suffix() const { return suffix_; }
    void SetSuffix(const String& Value);
    const String& ValidChars() const { return validChars_; }
    void SetValidChars(const String& Value) { validChars_ = Value; }
    bool AutoThousandSeparator() const { return autoThousandSeparator_; }
    void SetAutoThousandSeparator(bool Value);
    bool ExcelStyleDecimalSeparator() const { return excelStyleDecimalSeparator_; }
    void SetExcelStyleDecimalSeparator(bool Value) { excelStyleDecimalSeparator_ = Value; }
    bool AllowNumericNullValue() const { return allowNumericNullValue_; }
    void SetAllowNumericNullValue(bool Value) { allowNumericNullValue_ = Value; }
    // The value: the native text without prefix and suffix.
    String GetText() const override;
    // Normalises Value for the edit type and writes prefix + value + suffix.
    virtual void SetText(const String& Value);
    // Writes the native text unchanged.
    void SetEditText(const String& Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    void SetIntValue(int Value);
    bool Modified() const;
    void SetModified(bool Value);
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardCut;
    TClipboardEvent OnClipboardPaste;

protected:
    // Edit-type steps the base's key, paste and focus handling call.
    // A typed character (the character message); true when it was consumed here.
    virtual bool EditTypeChar(plat::TMessage& Message);
    // Caret keys around prefix and suffix, Delete and Backspace checks before the default
    // key-down handling; true when the key is to be dropped.
    virtual bool EditTypeKeyDown(std::uint16_t& Key, plat::TShiftState Shift);
    // After the default key-down handling (thousand separators after Delete in etMoney).
    virtual void EditTypeAfterKeyDown(std::uint16_t Key, plat::TShiftState Shift);
    // WM_PASTE, WM_COPY, WM_CUT; true when handled here (the default handling is skipped).
    virtual bool EditTypeClipboard(plat::TMessage& Message);
    // The value normalisation on focus loss.
    virtual void EditTypeFocusLost();
    // The caret clamping after a mouse release.
    virtual void EditTypeClampCaret();
    // The native edit's change notification; false when it is to be ignored.
    virtual bool EditTypeChange();
    // The value last given to SetText.
    String oldText_;

private:
    // The edit as the edit-type rules see it.
    class TEditHost : public IEditTypeHost {
    public:
        explicit TEditHost(TExtCustomDropDown& Edit) : edit_(Edit) {}
        String EditText() const override;
        void SetEditText(StringView Text) override;
        int SelStart() const override;
        int SelLength() const override;
        void SetSel(int Start, int Length) override;
        bool EditModified() const override;
        void SetEditModified(bool Value) override;
        void DefaultChar(char16_t Key) override;
        bool EnterOrEscape(char16_t Key) override;
        void RaiseChange() override;
        bool EditorEnabled() const override;
        bool ReadOnly() const override;
        bool Loading() const override;
        int MaxLength() const override;
        void SetPasswordChar(char16_t Value) override;
        void DefaultCopy() override;
        void DefaultCut() override;
        // A character the rules left to the edit's own handling.
        bool passChar = false;

    private:
        TExtCustomDropDown& edit_;
    };
    // Hands the settings to the rules (they may have been copied in by Assign).
    TDropDownEditTypes& Rules() const;
    TEditHost editHost_{*this};
    mutable TDropDownEditTypes editTypes_{editHost_};
    bool clipboardDefault_ = false;  // a clipboard message passed on to the edit

protected:
    // ==== end of edit types ==========================================================

public:
    // ==== colour styles ================================================================
    // Defined in ExtDropDownStyles.cpp.
    void SetComponentStyle(grid::TExtStyle AStyle) override;
    void SetColorTones(const grid::TColorTones& ATones) override;
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    virtual void DrawSelectionBackground(plat::TCanvas* Canvas, TRect Rect, int Sides, TColor Background);
    // ==== end of colour styles =========================================================

protected:
    // -- virtual hooks, in their slot order ------------------------------------------------
    virtual void LabelClick(TObject* Sender);
    virtual void LabelDblClick(TObject* Sender);
    virtual std::uint32_t GetVersionNr() const { return 0x01020104; }
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void DoBeforeDropDown();
    virtual void AdjustDropDownHeight(int& /*Height*/) {}
    virtual void FocusFocusControl();
    virtual void DoShowDropDown();
    virtual void AttachControl();
    virtual void SizeDropDownForm();
    virtual void DoHideDropDown(bool Cancel);
    virtual void AfterDropUp(TObject* Sender);
    virtual void DoFormDestroyHook(TObject* /*Sender*/) {}
    virtual void FormMouseWheelDown(TObject* Sender);
    virtual void FormMouseWheelUp(TObject* Sender);
    virtual void ForwardChar(TObject* Sender, char16_t& Key);
    virtual void ForwardKeyDown(TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
    virtual void ForwardKeyUp(TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
    virtual void ForwardListKeyDown(TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
    virtual void ForwardListKeyUp(TObject* Sender, std::uint16_t& Key, plat::TShiftState Shift);
    virtual void ForwardListChar(TObject* Sender, char16_t& Key);
    virtual void DoFormSizingHook(TObject* /*Sender*/) {}
    virtual void DoWheelDownHook() {}
    virtual void DoWheelUpHook() {}
    virtual void PaintReadOnlySelection();
    virtual void UpdateEditRect();
    virtual void ResizeButton();
    virtual void DrawDropDownGradient(plat::TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Vertical,
                                      TRect R, int Steps);

    // -- framework overrides ---------------------------------------------------------------
    void Loaded() override;
    void CreateParams(plat::TCreateParams& Params) override;
    void PaintWindow(plat::TCanvas* Canvas) override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void DoEnter() override;
    void DoExit() override;
    void Change() override;

    void UpdateLabel();
    void DrawBorders();
    void AppearanceChanged(TObject* Sender);

private:
    friend class TDropDownForm;
    friend class TExtHeader;
    friend class TExtFooter;
    friend class TExtButton;

    TDropDownForm* form_ = nullptr;
    TDropDownEditButton* button_ = nullptr;
    plat::TControl* control_ = nullptr;
    plat::TLabel* label_ = nullptr;

    int dropDownWidth_ = 0;
    int dropDownHeight_ = 0;
    TColor dropDownColor_ = 0xFFFFFF;
    TColor dropDownColorTo_ = clNoColor;
    TGradientDirection dropDownGradient_ = gdHorizontal;
    TColor dropDownBorderColor_ = 0;
    int dropDownBorderWidth_ = 1;
    bool dropDownShadow_ = true;
    bool forceShadow_ = false;
    bool dropDownSizeable_ = true;
    TDropPosition dropPosition_ = dpAuto;
    int dropDownButtonWidth_ = 17;
    String dropDownButtonHint_;
    bool dropDownEnabled_ = false;
    std::unique_ptr<THeaderAppearance> dropDownHeader_;
    std::unique_ptr<TFooterAppearance> dropDownFooter_;
    std::unique_ptr<TExtButtonAppearance> buttonAppearance_;
    plat::TCustomImageList* images_ = nullptr;
    bool editorEnabled_ = true;
    bool returnIsTab_ = false;
    bool defaultHandling_ = true;
    bool canUndo_ = true;
    bool flat_ = false;
    bool etched_ = false;
    TColor borderColor_ = clNoColor;
    TColor focusBorderColor_ = clNoColor;
    bool disabledBorder_ = true;
    bool focusDraw_ = true;
    plat::TWinControl* focusControl_ = nullptr;
    TColor selectionColor_ = 0xD7FFFD;
    TColor selectionColorTo_ = 0x58D4FC;
    TSelectionColorStyle selectionColorStyle_ = scOffice2007;
    grid::TExtStyle extStyle_ = grid::tsOffice2007Luna;

    String labelCaption_;
    TLabelPosition labelPosition_ = lpLeftTop;
    int labelMargin_ = 0;
    std::unique_ptr<plat::TFont> labelFont_;
    bool labelTransparent_ = false;
    bool labelAlwaysEnabled_ = false;
    bool parentFnt_ = false;

    int userDropDownWidth_ = -1;
    int userDropDownHeight_ = -1;
    bool droppedDown_ = false;
    bool mouseInControl_ = false;
    bool buttonDown_ = false;
    bool isThemed_ = false;
    TRect editRect_{};

    // Edit-type settings (see the edit-type block above).
    TDropDownEditType editType_ = etString;
    std::int16_t precision_ = 0;
    std::int16_t lengthLimit_ = 0;
    bool signed_ = false;
    String prefix_;
    String suffix_;
    String validChars_;
    bool autoThousandSeparator_ = true;
    bool excelStyleDecimalSeparator_ = false;
    bool allowNumericNullValue_ = false;
};

// Where the label of a control at (L, T) sized Wd x H sits, for a label LW x LH whose
// measured caption width is W (divisions by 2 truncate toward zero).
plat::TPoint LabelPlacement(TLabelPosition Position, int L, int T, int Wd, int H, int LW, int LH, int W,
                            int Margin);

} // namespace dropdown
