#pragma once
// Standard controls: label, edits, check box, radio button, list box, combo box, button.
//
// Which programmatic changes fire events follows the framework the windows were written
// for, because their handlers rely on it:
// - setting Text of an edit fires OnChange, only when the text changes;
// - setting Checked of a check box fires OnClick, only when the state changes;
// - setting ItemIndex of a list or combo box fires nothing; a user's pick fires the combo's
//   OnChange once (CBN_SELCHANGE, then CBN_CLOSEUP to the parent);
// - OnKeyPress may change a character or swallow it (Key = 0) before the editor sees it.
// Text entry (caret, selection, clipboard) is hosted from the toolkit; everything else is
// painted here with the canvas. Heights that derive from the font follow the platform:
// an edit is font pixels + 10 high (21 for an 11-px font), a combo box font pixels + 11.
#include <cstdint>
#include <memory>

#include "plat/Controls.h"

namespace plat {

class TStringList;
class TStrings;
struct HostedEdit;  // the toolkit editor behind an edit; defined inside the layer

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Where a label's text that does not fit its width is cut (one line, fixed size only).
enum TEllipsisPosition { epNone, epEndEllipsis };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// ---- TLabel ----------------------------------------------------------------------------

// Graphic control showing its caption. AutoSize fits the bounds to the text (the width too
// unless WordWrap); "&x" underlines x unless ShowAccelChar is off, and Alt+x focuses
// FocusControl. With EllipsisPosition epEndEllipsis a label of fixed size that cannot show
// its one-line caption whole ends it with "..." inside its bounds.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    String ClassName() const override { return u"TLabel"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    TEllipsisPosition EllipsisPosition() const { return ellipsis_; }
    void SetEllipsisPosition(TEllipsisPosition Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A new parent may bring another font: the size follows.
    void SetParent(TWinControl* AParent) override;

protected:
    void Paint() override;
    // DrawText flags for the caption as this label shows it.
    unsigned TextFlags() const;
    void AdjustBounds();

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TEllipsisPosition ellipsis_ = epNone;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// ---- edits -----------------------------------------------------------------------------

// A window whose client area hosts a frameless toolkit editor. Keys run the framework's
// key pipeline (KeyDown, KeyPress with a changeable key, dialog keys to the form) before
// the editor sees them. Text changes, by the user or in code, send EN_CHANGE to the parent
// (WM_COMMAND) and fire OnChange.
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;
    String ClassName() const override { return u"TEdit"; }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);  // 0 = no limit
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    char16_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char16_t Value);  // 0 = plain text
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool Value) { autoSelect_ = Value; }
    bool Modified() const;
    void SetModified(bool Value);
    void SetBorderStyle(TBorderStyle Value) override;

    // Selection, in UTF-16 units.
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    String SelText() const;
    void SetSelText(const String& Value);
    void SelectAll();
    void Clear() { SetText(String()); }
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const;
    void Undo();

    // The caret: hidden until shown again (a selection-only editor shows none).
    void HideCaret();
    void ShowCaret();
    // The character index nearest to a client point (EM_CHARFROMPOS answers it in its low word).
    int CharFromPos(TPoint P) const;
    // Drawing over the editor (its window device context): a transparent surface stacked above
    // the hosted text and the border, cleared at the editor's next paint. BeginOverlay gives its
    // canvas in window coordinates (null without a window); EndOverlay shows what was drawn.
    TCanvas* BeginOverlay();
    void EndOverlay();

    TNotifyEvent OnChange;

    String GetText() const override;
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void SetFocus() override;
    bool Focused() const override;

protected:
    // Multi-line editors (memo, rich edit) are created by their classes.
    enum class EditKind { SingleLine, Plain, Rich };
    TCustomEdit(TComponent* AOwner, EditKind Kind);
    virtual void Change();
    void SetTextBuf(const String& Value) override;
    void CreateParams(TCreateParams& Params) override;
    void BoundsChanged() override;
    void PaintWindow(TCanvas* Canvas) override;
    HostedEdit* Host() const { return host_.get(); }
    // Text as the caller sees it: CR LF line ends in multi-line editors.
    virtual String ExternalText(const String& EditorText) const { return EditorText; }
    virtual String EditorText(const String& External) const { return External; }

private:
    friend struct HostedEdit;
    void EditorChanged();  // called by the host when the editor's text changed
    void ApplyFont();

    std::unique_ptr<HostedEdit> host_;
    EditKind kind_;
    int maxLength_ = 0;
    bool readOnly_ = false;
    char16_t passwordChar_ = 0;
    TEditCharCase charCase_ = ecNormal;
    bool autoSelect_ = true;
    bool settingText_ = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// Multi-line plain text. Text and Lines use CR LF line ends.
class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    String ClassName() const override { return u"TMemo"; }

    // A copy of the lines; SetLines replaces the whole text.
    std::vector<String> Lines() const;
    void SetLines(const std::vector<String>& Value);
    int LineCount() const { return static_cast<int>(Lines().size()); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    // Off for single-line fields: Enter then goes to the form and never breaks the line.
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value) { wantReturns_ = Value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value) { wantTabs_ = Value; }

    void WndProc(TMessage& Message) override;

protected:
    TCustomMemo(TComponent* AOwner, EditKind Kind);
    // Without WantReturns, Enter never breaks the line (a single-line field stays one line).
    void KeyPress(char16_t& Key) override;
    String ExternalText(const String& EditorText) const override;
    String EditorText(const String& External) const override;

private:
    void ApplyWrap();
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};

// ---- buttons ---------------------------------------------------------------------------

// A plain push button: Default (Enter on the form clicks it, unless another button has the
// focus: then Enter clicks that one), Cancel (Escape), ModalResult (set on the form after
// OnClick).
class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* AOwner);
    String ClassName() const override { return u"TButton"; }

    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }

    void Click() override;
    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool down_ = false;
    bool active_ = false;  // takes Enter: the default button, or the focused button
};

// Check box with the classic 13 x 13 box. A disabled box keeps its tick; Space and a click
// toggle it; the caption's accelerator focuses and toggles it.
class TCustomCheckBox : public TCustomControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    String ClassName() const override { return u"TCheckBox"; }

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // Fires OnClick when the state changes.
    void SetState(TCheckBoxState Value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
    TAlignment Alignment() const { return alignment_; }  // taRightJustify: caption right of the box
    void SetAlignment(TAlignment Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);

    void WndProc(TMessage& Message) override;

protected:
    virtual void Toggle();
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyUp(std::uint16_t& Key, TShiftState Shift) override;
    // Where the box and the caption go in the client area.
    TRect BoxRect() const;
    TRect CaptionRect() const;
    virtual unsigned GlyphState() const;

    bool pressed_ = false;
    TCheckBoxState state_ = cbUnchecked;

private:
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
    bool wordWrap_ = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// Radio button: checking one unchecks the radio buttons of the same parent. Setting
// Checked to true fires OnClick; a radio button does not count as a button for the
// default-button rule.
class TRadioButton : public TCustomCheckBox {
public:
    explicit TRadioButton(TComponent* AOwner);
    String ClassName() const override { return u"TRadioButton"; }
    void SetChecked(bool Value);
    bool Checked() const { return state_ == cbChecked; }

protected:
    void Toggle() override;
    unsigned GlyphState() const override;
};

// ---- list box --------------------------------------------------------------------------

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
enum TOwnerDrawStateFlag : unsigned { odSelected = 1, odFocused = 2, odDisabled = 4 };
using TOwnerDrawState = unsigned;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

// Items in a string list; ItemIndex -1 = no selection. A user's selection (mouse or keys)
// fires OnClick; setting ItemIndex in code fires nothing. Scrolls with the window's
// vertical scroll bar.
class TCustomListBox : public TCustomControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    String ClassName() const override { return u"TListBox"; }

    TStringList* Items() const { return items_.get(); }
    int Count() const;
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int Value);
    int TopIndex() const { return topIndex_; }
    void SetTopIndex(int Value);
    int ItemHeight() const;
    void SetItemHeight(int Value);  // 0 = from the font
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    TRect ItemRect(int Index) const;
    // Item under a client point; -1 when none (or the first item past the end when
    // Existing is false).
    int ItemAtPos(TPoint Pos, bool Existing) const;
    int VisibleItemCount() const;
    void Clear();

    TDrawItemEvent OnDrawItem;

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void CreateParams(TCreateParams& Params) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // A selection the user made: moves ItemIndex and fires OnClick.
    void UserSelect(int Index);
    void ItemsChanged();
    void UpdateScrollBar();
    void MakeVisible(int Index);

    // A drop-down list that follows the mouse without the button held and reports picks.
    bool hotTrack_ = false;
    std::function<void(int Index)> onPick_;
    std::function<void()> onCancel_;  // a press outside the drop-down list

private:
    friend class TCustomComboBox;
    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    int itemHeight_ = 0;
    mutable int fontItemHeight_ = 0;  // measured once per font
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    bool tracking_ = false;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};

// ---- combo box -------------------------------------------------------------------------

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// The layer paints the frame, the button and (csDropDownList) the selected item; the edit
// part of csDropDown is a hosted editor. The list drops below the box (above when the form
// has no room) and closes on a pick, Enter, Escape, or a click elsewhere.
// Notifications go to the parent as WM_COMMAND: CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP,
// CBN_EDITCHANGE (one per edit change by the user); CB_* requests are answered.
class TCustomComboBox : public TCustomControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    String ClassName() const override { return u"TComboBox"; }

    TStringList* Items() const;
    int ItemIndex() const { return itemIndex_; }
    // No event, no notification.
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value) { dropDownCount_ = Value; }
    bool DroppedDown() const;
    void SetDroppedDown(bool Value);
    int ItemHeight() const;
    // Height of the edit portion; the box is 6 pixels higher.
    int EditHeight() const;
    void SetEditHeight(int Value);
    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int Value) { droppedWidth_ = Value; }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    // The edit part of csDropDown (null for the other styles).
    TCustomEdit* EditControl() const { return edit_; }
    void SelectAll();
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;  // when set, a pick fires it instead of OnChange
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    String GetText() const override;
    void WndProc(TMessage& Message) override;
    void SetFocus() override;
    bool Focused() const override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    void SetTextBuf(const String& Value) override;
    void Paint() override;
    void CreateParams(TCreateParams& Params) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void KeyPress(char16_t& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void BoundsChanged() override;
    TRect ButtonRect() const;
    // A pick by the user: selection, text, notifications and events in the framework's order.
    void UserPick(int Index, bool CloseList);
    void Notify(int Code);

private:
    void ItemsChanged();
    void LayoutEdit();
    void CloseList(bool Picked);

    std::unique_ptr<TStringList> items_;
    TCustomEdit* edit_ = nullptr;
    TCustomListBox* list_ = nullptr;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int editHeight_ = 0;  // 0 = from the font
    int droppedWidth_ = 0;
    bool sorted_ = false;
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    String listText_;  // text of csDropDownList
    bool editing_ = false;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
};

} // namespace plat
