#include "plat/Menus.h"

#include <algorithm>

#include "ui/UiNative.h"
#include "plat/UiResponder.h"

namespace plat {

namespace {

String StripAccel(StringView s)
{
    String out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += s[i];
    }
    return out;
}

// Visible items depth first; sub-items are named "Parent|Child".
void Flatten(TMenuItem* Item, const String& Prefix, std::vector<TMenuItem*>& Items, PopupMenuRequest& Request)
{
    for (int i = 0; i < Item->Count(); ++i) {
        TMenuItem* it = Item->Items(i);
        if (!it->Visible())
            continue;
        const String name = Prefix.empty() ? it->Caption() : Prefix + u"|" + it->Caption();
        if (it->Count() > 0) {
            Flatten(it, name, Items, Request);
            continue;
        }
        Items.push_back(it);
        Request.Items.push_back(name);
        Request.Enabled.push_back(it->Enabled() && !it->IsLine());
    }
}

// A right click on a control with a popup menu lands here (the window layer knows menus
// only by this hook).
void ShowControlMenu(TPopupMenu* Menu, TControl* Control, TPoint Screen)
{
    if (!Menu || !Menu->AutoPopup())
        return;
    Menu->SetPopupComponent(Control);
    Menu->Popup(Screen.X, Screen.Y);
}

} // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem()
{
    for (TMenuItem* it : items_) {
        it->parent_ = nullptr;
        it->RemoveFreeNotification(this);
    }
    if (parent_) {
        TMenuItem* p = parent_;
        parent_ = nullptr;
        p->items_.erase(std::remove(p->items_.begin(), p->items_.end(), this), p->items_.end());
    }
}

TMenuItem* TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(u"List index out of bounds");
    return items_[static_cast<size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item || Item->parent_)
        throw EInvalidOperation(u"Menu inserted twice");
    Index = std::clamp(Index, 0, Count());
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* Item)
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    if (it == items_.end())
        return;
    items_.erase(it);
    Item->parent_ = nullptr;
}

void TMenuItem::Delete(int Index)
{
    Remove(Items(Index));
}

void TMenuItem::Clear()
{
    while (!items_.empty()) {
        TMenuItem* it = items_.back();
        items_.pop_back();
        it->parent_ = nullptr;
        delete it;
    }
}

int TMenuItem::IndexOf(const TMenuItem* Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::SetChecked(bool Value)
{
    if (checked_ == Value)
        return;
    checked_ = Value;
    if (Value && radioItem_ && parent_) {
        for (TMenuItem* it : parent_->items_)
            if (it != this && it->radioItem_ && it->groupIndex_ == groupIndex_)
                it->checked_ = false;
    }
}

void TMenuItem::Click()
{
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
        items_.erase(std::remove(items_.begin(), items_.end(), AComponent), items_.end());
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr))
{
    if (!ui::GetPopupMenuHandler())
        ui::SetPopupMenuHandler(&ShowControlMenu);
}

TPopupMenu::~TPopupMenu()
{
    // Items created with the menu as owner are freed by it; the root only forgets them.
    while (items_->Count() > 0)
        items_->Remove(items_->Items(items_->Count() - 1));
}

void TPopupMenu::Popup(int X, int Y)
{
    if (OnPopup)
        OnPopup(this);
    PopupMenuRequest request;
    request.ScreenPos = {X, Y};
    std::vector<TMenuItem*> items;
    Flatten(items_.get(), String(), items, request);
    if (items.empty())
        return;
    const int chosen = UiResponder().PopupMenu(request);
    if (chosen >= 0 && chosen < static_cast<int>(items.size()) && request.Enabled[static_cast<size_t>(chosen)])
        items[static_cast<size_t>(chosen)]->Click();
}

TMenuItem* TPopupMenu::FindItem(StringView CaptionPath) const
{
    TMenuItem* node = items_.get();
    size_t start = 0;
    while (node) {
        const size_t bar = CaptionPath.find(u'|', start);
        const StringView part = CaptionPath.substr(start, bar == StringView::npos ? StringView::npos : bar - start);
        TMenuItem* next = nullptr;
        for (int i = 0; i < node->Count(); ++i)
            if (StripAccel(node->Items(i)->Caption()) == StripAccel(part)) {
                next = node->Items(i);
                break;
            }
        node = next;
        if (bar == StringView::npos)
            return node;
        start = bar + 1;
    }
    return nullptr;
}

} // namespace plat
