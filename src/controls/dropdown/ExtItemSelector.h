#pragma once
// The items of the item selector (caption, picture or image-list image, colour box, hint) and
// the arithmetic of its panel: the item size from the measured content, the placement in a
// fixed number of columns, hit testing, keyboard stepping, the caption lookup and the number
// of items that fit into a height; the selector itself (a scroll box holding one panel that
// lays out, paints and hit-tests every item).
#include <functional>
#include <memory>
#include <vector>

#include "ExtDropDownStyles.h"
#include "plat/Classes.h"
#include "plat/Controls.h"
#include "plat/Graphics.h"
#include "plat/ImgList.h"
#include "plat/ScrollBox.h"
#include "plat/String.h"

namespace dropdown {

using plat::String;
using plat::StringView;

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

class TSelectorItem : public plat::TCollectionItem {
public:
    explicit TSelectorItem(plat::TCollection* Collection);
    String ClassName() const override { return u"TSelectorItem"; }
    // Caption, colour, image index, picture, enabled state and hint of another item.
    void Assign(const plat::TPersistent* Source) override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& Value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    plat::TColor Color() const { return color_; }
    void SetColor(plat::TColor Value);
    // Copied without a change notification.
    plat::TPicture* Image() { return &image_; }
    const plat::TPicture* Image() const { return &image_; }
    void SetImage(const plat::TPicture* Value) { image_.Assign(Value); }
    String Hint;
    bool Enabled() const { return enabled_; }
    // The rectangle the last layout gave the item, in panel coordinates.
    plat::TRect FRect{-1, -1, -1, -1};

private:
    String caption_;
    int imageIndex_ = -1;
    plat::TColor color_ = plat::clNone;
    plat::TPicture image_;
    bool enabled_ = true;
    friend class TSelectorItems;
};

// Raises OnChange (Sender: the collection) when an item's caption, colour or image index
// changes; adding, inserting and deleting raise nothing.
class TSelectorItems : public plat::TCollection {
public:
    explicit TSelectorItems(plat::TPersistent* AOwner);
    String ClassName() const override { return u"TSelectorItems"; }
    plat::TPersistent* GetOwner() const { return owner_; }

    TSelectorItem* Add() { return static_cast<TSelectorItem*>(plat::TCollection::Add()); }
    TSelectorItem* Insert(int Index) { return static_cast<TSelectorItem*>(plat::TCollection::Insert(Index)); }
    TSelectorItem* GetItem(int Index) const { return static_cast<TSelectorItem*>(Items(Index)); }
    void SetItem(int Index, const TSelectorItem* Value) { GetItem(Index)->Assign(Value); }

    plat::TNotifyEvent OnChange;

protected:
    void Update(plat::TCollectionItem* Item) override;

private:
    plat::TPersistent* owner_;
};

// Panel margins, inner item margins and the gap between image and caption.
struct TSelectorMetrics {
    int OffSetX = 2, OffSetY = 2;
    int ItemOffSetX = 4, ItemOffSetY = 4;
    int CaptionGap = 4;
};

// The size of every item from the largest image (w, h) and the largest caption (cw, ch, taken
// 4 wider when above 0) for the caption position.
plat::TSize SelectorItemSize(TItemLayout Layout, plat::TSize Image, plat::TSize Caption, const TSelectorMetrics& M);

// Places Count items of ItemSize in Columns per row from the panel's top-left margin; returns
// the rectangles and gives the panel size (margins on both sides; 100 x 50 without items).
std::vector<plat::TRect> LayoutSelectorItems(int Count, int Columns, plat::TSize ItemSize, const TSelectorMetrics& M,
                                             plat::TSize& PanelSize);

// The first rectangle containing the point; -1 when none.
int SelectorItemAtPos(const std::vector<plat::TRect>& Rects, int X, int Y);

// Rows that fit into Height (20 less with a horizontal scroll bar) times Columns; 0 without
// items or with an item height below 1, which no division can take.
int SelectorVisibleItemCount(int Count, int Height, bool HorzScrollBarVisible, int FirstItemHeight, int Columns);

// Stepping without wrap: 0 when nothing is selected (-1), else the next or previous index
// when there is one, else Current.
int SelectorStep(int Current, int Count, bool Forward);

// The first caption whose markup-free, trimmed, upper-cased text starts with Text (not
// converted itself); -1 when none.
int SelectorLookup(const std::vector<String>& Captions, StringView Text);

// ---- the selector -----------------------------------------------------------------------

class TExtCustomItemSelector;

using TDrawItemEvent = std::function<void(plat::TObject* Sender, plat::TCanvas* Canvas, plat::TRect R, int Index)>;
using TItemSizeEvent = std::function<void(plat::TObject* Sender, plat::TSize& ASize)>;

// The panel inside the selector: holds every item at its layout place, paints the items that
// meet the update region, tracks the hot item and selects with the mouse. Its owner must be a
// TExtCustomItemSelector ("Invalid parent" otherwise).
class TCustomItemSelector : public plat::TCustomControl {
public:
    explicit TCustomItemSelector(plat::TComponent* AOwner);
    String ClassName() const override { return u"TCustomItemSelector"; }

    TExtCustomItemSelector* ExtItemSelector() const { return owner_; }
    int ItemIndex() const { return FItemIndex; }
    int ItemHot() const { return FItemHot; }
    // A disabled item is not selected; the old selection is repainted; the new item is drawn
    // at once and OnItemSelect raised (also when Value is the selection already).
    void SetItemIndex(int Value);
    // No event; a disabled item is not made hot.
    void SetItemHot(int Index);
    int ItemAtPos(int X, int Y) const;
    // The item's rectangle, (-1, -1, -1, -1) for an index outside the items.
    void GetItemRect(int Index, plat::TRect& R) const;
    void DrawAllItems(plat::TCanvas* Canvas);
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(StringView S);

    virtual void DrawItem(int Index, plat::TCanvas* Canvas);
    virtual void GetItemsRect(plat::TRect& R);
    virtual void GetItemSize(plat::TSize& Size);
    virtual void InvalidateItem(int Index);
    virtual void UpdateLayout();

    plat::TNotifyEvent OnItemSelect;

protected:
    void Paint() override;
    void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
    void MouseMove(plat::TShiftState Shift, int X, int Y) override;
    void WndProc(plat::TMessage& Message) override;

private:
    int ItemCount() const;
    bool ItemEnabled(int Index) const;
    TExtCustomItemSelector* owner_;
    int FItemIndex = -1;
    int FItemHot = -1;
    TSelectorMetrics metrics_;
};

// A scrolling list of items in a fixed number of columns: the outer control the drop-downs
// create. It owns the items, the looks and the panel, and scrolls the panel.
class TExtCustomItemSelector : public plat::TScrollBox {
public:
    explicit TExtCustomItemSelector(plat::TComponent* AOwner);
    ~TExtCustomItemSelector() override;
    String ClassName() const override { return u"TExtCustomItemSelector"; }

    TSelectorItems* Items() const { return items_.get(); }
    void SetItems(const TSelectorItems* Value) { items_->Assign(Value); }
    int ItemIndex() const { return panel_ ? panel_->ItemIndex() : -1; }
    void SetItemIndex(int Value);
    int ItemHot() const { return panel_ ? panel_->ItemHot() : -1; }
    TSelectorType SelectorType() const { return selectorType_; }
    void SetSelectorType(TSelectorType Value);
    TItemLayout ItemLayout() const { return itemLayout_; }
    void SetItemLayout(TItemLayout Value) { itemLayout_ = Value; }
    int Columns() const { return columns_; }
    void SetColumns(int Value);
    int ColorBoxWidth() const { return colorBoxWidth_; }
    void SetColorBoxWidth(int Value);
    int ColorBoxHeight() const { return colorBoxHeight_; }
    void SetColorBoxHeight(int Value);
    plat::TCustomImageList* Images() const { return images_; }
    void SetImages(plat::TCustomImageList* Value);
    TItemAppearance* ItemAppearance() const { return appearance_.get(); }
    void SetItemAppearance(const TItemAppearance* Value) { appearance_->Assign(*Value); }
    TCustomItemSelector* SelectorPanel() const { return panel_; }

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(StringView S);
    // Scrolls so that the item, with the vertical bar's margin above and below, shows.
    void ScrollItemInView(int Index);
    int GetVisibleItemCount() const;
    void GetSelectorPanelSize(plat::TSize& Size) const;

    plat::TNotifyEvent OnItemSelect;
    TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

protected:
    void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
    void WndProc(plat::TMessage& Message) override;

private:
    std::unique_ptr<TSelectorItems> items_;
    std::unique_ptr<TItemAppearance> appearance_;
    TCustomItemSelector* panel_ = nullptr;
    TSelectorType selectorType_ = stImage;
    TItemLayout itemLayout_ = ilCaptionRight;
    int columns_ = 1;
    int colorBoxWidth_ = 14, colorBoxHeight_ = 14;
    plat::TCustomImageList* images_ = nullptr;
};

} // namespace dropdown
