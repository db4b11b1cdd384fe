#pragma once
// Edits with an embedded push button at the right edge, and the variant that shows and
// picks a unit of measure.
#include <functional>
#include <memory>

#include "esgspin.h"
#include "plat/Controls.h"
#include "plat/MaskEdit.h"
#include "plat/StdCtrls.h"

namespace plat {
class TBitmap;
class TStrings;
class TStringList;
}

namespace grid {

class TEsgEditButton;

class TExtSpeedButton : public TExtSpeedButtonBase {
public:
    explicit TExtSpeedButton(plat::TComponent* AOwner);
    ~TExtSpeedButton() override;
    String ClassName() const override { return u"TExtSpeedButton"; }

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
};

class TEsgEditButton : public plat::TCustomControl {
public:
    explicit TEsgEditButton(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgEditButton"; }

    TExtSpeedButton* Button() const { return button_; }
    const plat::TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(const plat::TBitmap* Value) { button_->SetGlyph(Value); }
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int Value) { button_->SetNumGlyphs(Value); }
    String ButtonCaption() const { return button_->Caption(); }
    void SetButtonCaption(const String& Value) { button_->SetCaption(Value); button_->Invalidate(); }
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    plat::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(plat::TWinControl* Value);

    TColor ButtonColorDown = clNotSet, ButtonBorderColor = clNotSet, ButtonTextColor = clNotSet,
           ButtonTextColorHot = clNotSet, ButtonColor = clNotSet, ButtonColorHot = clNotSet,
           ButtonTextColorDown = clNotSet;

    plat::TNotifyEvent OnClick;

    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

protected:
    void BoundsChanged() override;
    void Paint() override;

private:
    friend class TExtSpeedButton;
    void ButtonReleased();

    TExtSpeedButton* button_ = nullptr;
    plat::TWinControl* focusControl_ = nullptr;
    bool flat_ = false;
};

class TEsgEditBtn : public plat::TCustomMaskEdit {
public:
    explicit TEsgEditBtn(plat::TComponent* AOwner);
    String ClassName() const override { return u"TEsgEditBtn"; }

    TEsgEditButton* Button() const { return button_; }
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int Value);
    String ButtonCaption() const { return button_->ButtonCaption(); }
    void SetButtonCaption(const String& Value) { button_->SetButtonCaption(Value); }
    const plat::TBitmap* Glyph() const { return button_->Glyph(); }
    void SetGlyph(const plat::TBitmap* Value) { button_->SetGlyph(Value); }
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value) { editorEnabled_ = Value; }
    bool RightAlign() const { return rightAlign_; }
    void SetRightAlign(bool Value);
    bool IsWinXP() const { return isWinXP_; }
    void SetIsWinXP(bool Value);

    plat::TNotifyEvent OnClickBtn;

    virtual void ClickBtn();
    // The smallest height that shows the font.
    int MinHeight();
    // The text area as last applied (client coordinates).
    plat::TRect EditRect() const { return editRect_; }

    void WndProc(plat::TMessage& Message) override;
    // The frame changes the button's place and the text area.
    void SetBorderStyle(plat::TBorderStyle Value) override;

protected:
    void CreateParams(plat::TCreateParams& Params) override;
    void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    void DoEnter() override;
    void Resize() override;
    void SetEditRect();

    int unitSize_ = 0;

private:
    TEsgEditButton* button_ = nullptr;
    int buttonWidth_ = 18;
    bool editorEnabled_ = true;
    bool rightAlign_ = false;
    bool isWinXP_ = false;
    plat::TRect editRect_{};
};

using TUnitChangeEvent = std::function<void(plat::TObject* Sender, const String& NewUnit)>;

class TEsgUnitEditBtn : public TEsgEditBtn {
public:
    explicit TEsgUnitEditBtn(plat::TComponent* AOwner);
    ~TEsgUnitEditBtn() override;
    String ClassName() const override { return u"TEsgUnitEditBtn"; }

    plat::TStrings* Units() const;
    // Copies the entries; null changes nothing.
    void SetUnits(const plat::TStrings* Value);
    const String& UnitID() const { return unitID_; }
    void SetUnitID(const String& Value);
    int UnitSpace() const { return unitSize_; }
    void SetUnitSpace(int Value);
    String TextAndUnit() const { return Text() + unitID_; }
    void SetTextAndUnit(const String& Value);

    TUnitChangeEvent OnUnitChanged;

    void ClickBtn() override;
    void WndProc(plat::TMessage& Message) override;

protected:
    void Resize() override;

private:
    friend class TUnitPane;
    void PlaceUnitPane();

    std::unique_ptr<plat::TStringList> units_;
    String unitID_;
    plat::TCustomControl* unitPane_ = nullptr;  // shows UnitID above the hosted editor
};

} // namespace grid
