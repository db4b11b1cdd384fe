#pragma once
// Popup menus. Popup(X, Y) shows the menu at a screen point and returns after the user
// chose or dismissed it; the chosen item's OnClick runs before Popup returns. In tests the
// responder chooses (by the item's caption path), so no menu ever blocks.
#include <memory>
#include <vector>

#include "plat/Classes.h"
#include "plat/Types.h"

namespace plat {

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    String ClassName() const override { return u"TMenuItem"; }

    const String& Caption() const { return caption_; }
    void SetCaption(const String& Value) { caption_ = Value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool Value) { visible_ = Value; }
    bool Default() const { return default_; }
    void SetDefault(bool Value) { default_ = Value; }
    // Checking a radio item unchecks the radio items of its group under the same parent.
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value) { radioItem_ = Value; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int Value) { groupIndex_ = Value; }
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    // "-" makes a separator.
    bool IsLine() const { return caption_ == u"-"; }

    // Sub-items; the parent item owns none of them (their Owner does) but frees its list.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int Index) const;
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    void Delete(int Index);
    void Clear();  // frees the sub-items
    int IndexOf(const TMenuItem* Item) const;
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

    // AutoCheck toggles, then OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    String caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    int groupIndex_ = 0;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    String ClassName() const override { return u"TPopupMenu"; }

    TMenuItem* Items() const { return items_.get(); }
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value) { popupComponent_ = Value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }

    // Screen coordinates. OnPopup runs first.
    virtual void Popup(int X, int Y);
    TNotifyEvent OnPopup;

    // The item a caption path names ("File|Open", accelerator "&" ignored), or null.
    TMenuItem* FindItem(StringView CaptionPath) const;

private:
    std::unique_ptr<TMenuItem> items_;
    TComponent* popupComponent_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
    bool autoPopup_ = true;
};

} // namespace plat
