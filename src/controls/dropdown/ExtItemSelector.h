#pragma once
// The items of the item selector (caption, picture or image-list image, colour box, hint) and
// the arithmetic of its panel: the item size from the measured content, the placement in a
// fixed number of columns, hit testing, keyboard stepping, the caption lookup and the number
// of items that fit into a height.
#include <vector>

#include "plat/Classes.h"
#include "plat/Graphics.h"
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

} // namespace dropdown
