#pragma once
// TLTHeaderPopupMenu: a context menu that lists a tree's columns as checkable items.
// - The items are rebuilt on every popup, so they always show the current columns (in
//   display order, or index order with poOriginalOrder), checked when the column is visible.
// - The item of the one remaining visible column is disabled unless poAllowHideAll is set;
//   columns whose item is hidden (apHidden) still count for that rule.
// - With poResizeToFitItem the menu starts with "&Resize All Columns To Fit" and a separator.
// - Clicking a column item shows or hides that column; the item itself is not toggled.
#include <cstdint>
#include <functional>

#include "LazyTrees.Header.h"
#include "plat/Menus.h"

namespace vtree {

enum TLTHeaderPopupOption : unsigned { poOriginalOrder, poAllowHideAll, poResizeToFitItem };
using TLTHeaderPopupOptions = std::uint8_t;
enum TAddPopupItemType { apNormal, apDisabled, apHidden };

// A column item: the column's hint and image travel with it.
class TLTHeaderPopupItem : public plat::TMenuItem {
public:
    using plat::TMenuItem::TMenuItem;
    String ClassName() const override { return u"TLTHeaderPopupItem"; }
    String Hint;
    int ImageIndex = -1;
};

class TLTHeaderPopupMenu : public plat::TPopupMenu {
public:
    using plat::TPopupMenu::TPopupMenu;
    String ClassName() const override { return u"TLTHeaderPopupMenu"; }

    TLTHeaderPopupOptions Options = 0;
    std::function<void(TBaseLazyTree*, TColumnIndex, TAddPopupItemType&)> OnAddHeaderPopupItem;
    std::function<void(TBaseLazyTree*, TColumnIndex, bool Visible)> OnColumnChange;

    // Builds the items when the popup component is a tree, then shows the menu.
    void Popup(int X, int Y) override;
    // Removes every item and lists the columns of the popup component's tree.
    void BuildItems();
    // The click handler of every item.
    void MenuItemClick(plat::TObject* Sender);
    // The header's images with hoShowImages, else none.
    plat::TCustomImageList* Images() const { return FImages; }

protected:
    virtual void DoAddHeaderPopupItem(TColumnIndex Column, TAddPopupItemType& Cmd);
    virtual void DoColumnChange(TColumnIndex Column, bool Visible);

private:
    TBaseLazyTree* Tree() const;
    plat::TCustomImageList* FImages = nullptr;
};

// The name and caption of the fit item.
inline constexpr const char16_t* ResizeToFitMenuItemName = u"LT_ResizeToFitMenuItem";
inline constexpr const char16_t* ResizeToFitMenuItemCaption = u"&Resize All Columns To Fit";

} // namespace vtree
