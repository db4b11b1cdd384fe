#include "ExtItemSelector.h"

#include <algorithm>

#include "DropDownDraw.h"
#include "EsgHTMLE.h"
#include "plat/SysUtils.h"

namespace dropdown {

TSelectorItem::TSelectorItem(plat::TCollection* Collection) : plat::TCollectionItem(Collection) {}

void TSelectorItem::Assign(const plat::TPersistent* Source) {
    const auto* s = dynamic_cast<const TSelectorItem*>(Source);
    if (!s) {
        plat::TCollectionItem::Assign(Source);
        return;
    }
    if (s == this) return;
    caption_ = s->caption_;
    color_ = s->color_;
    imageIndex_ = s->imageIndex_;
    image_.Assign(&s->image_);
    enabled_ = s->enabled_;
    Hint = s->Hint;
}

void TSelectorItem::SetCaption(const String& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    Changed(false);
}

void TSelectorItem::SetImageIndex(int Value) {
    if (Value == imageIndex_) return;
    imageIndex_ = Value;
    Changed(false);
}

void TSelectorItem::SetColor(plat::TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed(false);
}

TSelectorItems::TSelectorItems(plat::TPersistent* AOwner)
    : plat::TCollection(plat::TCollection::ItemClass<TSelectorItem>()), owner_(AOwner) {}

void TSelectorItems::Update(plat::TCollectionItem* Item) {
    // Adding and deleting report a change of the whole collection (no item): only an item's
    // own change is told.
    if (Item && OnChange) OnChange(this);
}

plat::TSize SelectorItemSize(TItemLayout Layout, plat::TSize Image, plat::TSize Caption, const TSelectorMetrics& M) {
    int cw = Caption.cx, ch = Caption.cy;
    if (cw > 0) cw += 4;
    const int w = Image.cx, h = Image.cy;
    if (Layout == ilCaptionLeft || Layout == ilCaptionRight)
        return {2 * M.ItemOffSetX + w + ((w > 0 && cw > 0) ? M.CaptionGap : 0) + cw, std::max(ch, h) + 2 * M.ItemOffSetY};
    return {std::max(cw, w) + 2 * M.ItemOffSetX, 2 * M.ItemOffSetY + h + ((h > 0 && ch > 0) ? M.CaptionGap : 0) + ch};
}

std::vector<plat::TRect> LayoutSelectorItems(int Count, int Columns, plat::TSize ItemSize, const TSelectorMetrics& M,
                                             plat::TSize& PanelSize) {
    std::vector<plat::TRect> rects;
    if (Count <= 0) {
        PanelSize = {100, 50};
        return rects;
    }
    if (Columns < 1) Columns = 1;
    const int x0 = M.OffSetX, y0 = M.OffSetY, w = ItemSize.cx, h = ItemSize.cy;
    rects.reserve(static_cast<std::size_t>(Count));
    int x = x0, y = y0, maxX = x0, inRow = 0;
    for (int i = 0; i < Count; ++i) {
        rects.push_back({x, y, x + w, y + h});
        maxX = std::max(maxX, x);
        if (i == Count - 1) break;
        if (++inRow == Columns) {
            inRow = 0;
            x = x0;
            y += h;
        } else {
            x += w;
        }
    }
    PanelSize = {maxX + w + x0, y + h + y0};
    return rects;
}

int SelectorItemAtPos(const std::vector<plat::TRect>& Rects, int X, int Y) {
    for (std::size_t i = 0; i < Rects.size(); ++i) {
        const plat::TRect& r = Rects[i];
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return static_cast<int>(i);
    }
    return -1;
}

int SelectorVisibleItemCount(int Count, int Height, bool HorzScrollBarVisible, int FirstItemHeight, int Columns) {
    if (Count <= 0 || FirstItemHeight < 1) return 0;
    const int available = Height - (HorzScrollBarVisible ? 20 : 0);
    return available / FirstItemHeight * Columns;
}

int SelectorStep(int Current, int Count, bool Forward) {
    if (Count <= 0) return Current;
    if (Current < 0) return 0;
    const int next = Forward ? Current + 1 : Current - 1;
    return (next >= 0 && next < Count) ? next : Current;
}

int SelectorLookup(const std::vector<String>& Captions, StringView Text) {
    for (std::size_t i = 0; i < Captions.size(); ++i) {
        const String plain = TextForCompare(plat::Trim(grid::MarkupToPlainText(Captions[i])), false);
        if (StringView(plain).starts_with(Text)) return static_cast<int>(i);
    }
    return -1;
}

} // namespace dropdown
