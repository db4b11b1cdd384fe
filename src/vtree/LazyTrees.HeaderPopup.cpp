// The header's column menu: building the items and handling their clicks.
#include "LazyTrees.HeaderPopup.h"

#include "LazyTrees.BaseTree.h"

namespace vtree {

namespace {
bool Has(TLTHeaderPopupOptions S, TLTHeaderPopupOption O) { return (S >> O) & 1u; }
} // namespace

TBaseLazyTree* TLTHeaderPopupMenu::Tree() const { return dynamic_cast<TBaseLazyTree*>(PopupComponent()); }

void TLTHeaderPopupMenu::DoAddHeaderPopupItem(TColumnIndex Column, TAddPopupItemType& Cmd)
{
    Cmd = apNormal;
    if (OnAddHeaderPopupItem) OnAddHeaderPopupItem(Tree(), Column, Cmd);
}

void TLTHeaderPopupMenu::DoColumnChange(TColumnIndex Column, bool Visible)
{
    if (OnColumnChange) OnColumnChange(Tree(), Column, Visible);
}

void TLTHeaderPopupMenu::Popup(int X, int Y)
{
    if (Tree()) BuildItems();
    plat::TPopupMenu::Popup(X, Y);
}

void TLTHeaderPopupMenu::BuildItems()
{
    TBaseLazyTree* tree = Tree();
    if (!tree) return;
    Items()->Clear();
    auto click = [this](plat::TObject* Sender) { MenuItemClick(Sender); };
    if (Has(Options, poResizeToFitItem)) {
        auto* fit = new plat::TMenuItem(this);
        fit->SetCaption(ResizeToFitMenuItemCaption);
        fit->SetName(ResizeToFitMenuItemName);
        fit->OnClick = click;
        Items()->Add(fit);
        auto* line = new plat::TMenuItem(this);
        line->SetCaption(u"-");
        Items()->Add(line);
    }
    TLTHeader& header = tree->Header();
    FImages = In(header.Options(), hoShowImages) ? header.Images() : nullptr;
    TLazyTreeColumns& cols = header.Columns();
    int visible = 0;
    plat::TMenuItem* lastVisible = nullptr;
    for (int i = 0; i < cols.Count(); ++i) {
        const TColumnIndex c = Has(Options, poOriginalOrder) ? i : cols.ColumnFromPosition(static_cast<TColumnPosition>(i));
        if (!cols.IsValidColumn(c)) continue;
        const TLazyTreeColumn* col = cols.Items(c);
        const bool shown = In(col->Options(), coVisible);
        if (shown) ++visible;
        TAddPopupItemType cmd = apNormal;
        DoAddHeaderPopupItem(c, cmd);
        if (cmd == apHidden) continue;
        auto* item = new TLTHeaderPopupItem(this);
        item->SetTag(c);
        item->SetCaption(col->GetText());
        item->Hint = col->Hint();
        item->ImageIndex = col->ImageIndex();
        item->SetChecked(shown);
        item->OnClick = click;
        if (cmd == apDisabled) item->SetEnabled(false);
        else if (shown) lastVisible = item;
        Items()->Add(item);
    }
    if (visible == 1 && lastVisible && !Has(Options, poAllowHideAll)) lastVisible->SetEnabled(false);
}

void TLTHeaderPopupMenu::MenuItemClick(plat::TObject* Sender)
{
    TBaseLazyTree* tree = Tree();
    auto* item = dynamic_cast<plat::TMenuItem*>(Sender);
    if (!tree || !item) return;
    if (item->Name() == ResizeToFitMenuItemName) {
        tree->Header().AutoFitColumns(true, smaUseColumnOption, -1, -1);
        return;
    }
    TLazyTreeColumns& cols = tree->Header().Columns();
    const auto column = static_cast<TColumnIndex>(item->Tag());
    if (!cols.IsValidColumn(column)) return;
    TLazyTreeColumn* col = cols.Items(column);
    if (item->Checked()) col->SetOptions(TLTColumnOptions(col->Options() & ~ColBit(coVisible)));
    else col->SetOptions(TLTColumnOptions(col->Options() | ColBit(coVisible)));
    DoColumnChange(column, !item->Checked());
}

} // namespace vtree
