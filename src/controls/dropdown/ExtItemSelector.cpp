#include "ExtItemSelector.h"

#include <algorithm>

#include "DropDownDraw.h"
#include "EsgHTMLE.h"
#include "ExtDraw.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
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

// ---- TCustomItemSelector ------------------------------------------------------------------

namespace {

TExtCustomItemSelector* SelectorOwner(plat::TComponent* AOwner) {
    auto* o = dynamic_cast<TExtCustomItemSelector*>(AOwner);
    if (!o) throw plat::Exception(u"Invalid parent");
    return o;
}

bool IsSet(TColor C) { return C != plat::clNone; }

} // namespace

TCustomItemSelector::TCustomItemSelector(plat::TComponent* AOwner)
    : plat::TCustomControl(SelectorOwner(AOwner)), owner_(static_cast<TExtCustomItemSelector*>(AOwner)) {
    SetParentColor(true);
}

int TCustomItemSelector::ItemCount() const { return owner_->Items()->Count(); }

bool TCustomItemSelector::ItemEnabled(int Index) const {
    return Index < 0 || Index >= ItemCount() || owner_->Items()->GetItem(Index)->Enabled();
}

void TCustomItemSelector::GetItemsRect(plat::TRect& R) {
    R = ClientRect();
    R = plat::Rect(R.Left + metrics_.OffSetX, R.Top + metrics_.OffSetY, R.Right - metrics_.OffSetX, R.Bottom - metrics_.OffSetY);
}

void TCustomItemSelector::GetItemSize(plat::TSize& Size) {
    if (owner_->OnItemSize) {
        owner_->OnItemSize(this, Size);
        return;
    }
    int w = 0, h = 0;
    if (owner_->SelectorType() == stColor) {
        w = owner_->ColorBoxWidth();
        h = owner_->ColorBoxHeight();
    }
    // Captions are measured on a canvas of their own: the panel's window may have no visible
    // part (and so no surface) while it is laid out.
    plat::TBitmap measure(1, 1);
    plat::TCanvas* c = measure.Canvas();
    c->Font()->Assign(owner_->ItemAppearance()->Font());
    int cw = 0, ch = 0;
    const TSelectorItems* items = owner_->Items();
    plat::TCustomImageList* images = owner_->Images();
    for (int i = 0; i < items->Count(); ++i) {
        const TSelectorItem* it = items->GetItem(i);
        if (owner_->SelectorType() == stImage) {
            if (it->Image()->HasGraphic()) {
                w = std::max(w, it->Image()->Width());
                h = std::max(h, it->Image()->Height());
            } else if (images && it->ImageIndex() >= 0) {
                w = std::max(w, images->Width());
                h = std::max(h, images->Height());
            }
        }
        const plat::TSize cs = DrawItemMarkup(c, it->Caption(), plat::Rect(0, 0, 1000, 500), false, images);
        cw = std::max(cw, cs.cx);
        ch = std::max(ch, cs.cy);
    }
    Size = SelectorItemSize(owner_->ItemLayout(), {w, h}, {cw, ch}, metrics_);
}

void TCustomItemSelector::UpdateLayout() {
    TSelectorItems* items = owner_->Items();
    if (items->Count() == 0) {
        SetBounds(Left(), Top(), 100, 50);
        return;
    }
    FItemHot = -1;
    plat::TSize size{0, 0};
    GetItemSize(size);
    plat::TRect area;
    GetItemsRect(area);
    plat::TSize panel;
    const std::vector<plat::TRect> rects = LayoutSelectorItems(items->Count(), owner_->Columns(), size, metrics_, panel);
    for (int i = 0; i < items->Count(); ++i)
        items->GetItem(i)->FRect = plat::Rect(rects[i].Left - metrics_.OffSetX + area.Left, rects[i].Top - metrics_.OffSetY + area.Top,
                                              rects[i].Right - metrics_.OffSetX + area.Left,
                                              rects[i].Bottom - metrics_.OffSetY + area.Top);
    SetBounds(Left(), Top(), panel.cx, panel.cy);
    Invalidate();
}

void TCustomItemSelector::GetItemRect(int Index, plat::TRect& R) const {
    if (Index < 0 || Index >= ItemCount()) {
        R = plat::TRect{-1, -1, -1, -1};
        return;
    }
    R = owner_->Items()->GetItem(Index)->FRect;
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
    const TSelectorItems* items = owner_->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const plat::TRect& r = items->GetItem(i)->FRect;
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) return i;
    }
    return -1;
}

void TCustomItemSelector::InvalidateItem(int Index) {
    plat::TRect r;
    GetItemRect(Index, r);
    if (r.Left == -1 && r.Top == -1 && r.Right == -1 && r.Bottom == -1) return;
    InvalidateRect(&r, true);
}

void TCustomItemSelector::DrawItem(int Index, plat::TCanvas* Canvas) {
    if (!Canvas || Index < 0 || Index >= ItemCount()) return;
    const TSelectorItem* it = owner_->Items()->GetItem(Index);
    const plat::TRect R = it->FRect;
    if (R.Left == -1 && R.Top == -1 && R.Right == -1 && R.Bottom == -1) return;
    const TItemAppearance* a = owner_->ItemAppearance();
    const bool selected = Index == FItemIndex;
    const bool hot = !selected && Index == FItemHot;
    const TColor panelColor = Color();

    // Background: the panel colour, or the hot or selected face.
    if (!hot && !selected) {
        grid::FillRectColor(Canvas, R, panelColor);
    } else {
        TColor c1 = hot ? a->ColorHot : a->ColorSelected;
        TColor c2 = hot ? a->ColorHotTo : a->ColorSelectedTo;
        TColor m1 = hot ? a->ColorMirrorHot : a->ColorMirrorSelected;
        TColor m2 = hot ? a->ColorMirrorHotTo : a->ColorMirrorSelectedTo;
        TColor border = a->BorderColor, top = a->BorderColorTop, bottom = a->BorderColorBottom, edge = a->EdgeColor;
        const TColor own = hot ? a->BorderColorHot : a->BorderColorSelected;
        if (IsSet(own)) {
            border = own;
            top = bottom = edge = plat::clNone;
        }
        if (!IsSet(top)) {
            DrawButtonBackground(Canvas, R, c1, gdVertical, 1, border, c2);
        } else {
            grid::DrawBevelFrame(Canvas, c1, c2, 0, R, panelColor, edge, border, bottom, top, m2, m1);
        }
    }

    if (owner_->OnDrawItem) {
        owner_->OnDrawItem(this, Canvas, R, Index);
        return;
    }

    // Image size: the colour box, the picture, or the image list's image.
    plat::TCustomImageList* images = owner_->Images();
    const bool colorBox = owner_->SelectorType() == stColor;
    const bool picture = !colorBox && it->Image()->HasGraphic();
    const bool listImage = !colorBox && !picture && images && it->ImageIndex() >= 0;
    int w = 0, h = 0;
    if (colorBox) {
        w = owner_->ColorBoxWidth();
        h = owner_->ColorBoxHeight();
    } else if (picture) {
        w = it->Image()->Width();
        h = it->Image()->Height();
    } else if (listImage) {
        w = images->Width();
        h = images->Height();
    }
    const plat::TRect content = plat::Rect(R.Left + metrics_.ItemOffSetX, R.Top + metrics_.ItemOffSetY,
                                           R.Right - metrics_.ItemOffSetX, R.Bottom - metrics_.ItemOffSetY);
    plat::TRect cap = content;
    Canvas->Font()->Assign(a->Font());
    if (hot) Canvas->Font()->SetColor(a->ColorHotText);
    if (selected) Canvas->Font()->SetColor(a->ColorSelectedText);
    Canvas->Brush()->SetStyle(plat::bsClear);

    const String& caption = it->Caption();
    auto drawImage = [&](int x, int y) {
        if (colorBox) {
            Canvas->Brush()->SetStyle(plat::bsSolid);
            Canvas->Pen()->SetColor(plat::clBlack);
            Canvas->Brush()->SetColor(it->Color());
            Canvas->Rectangle(plat::Rect(x, y, x + w, y + h));
            Canvas->Brush()->SetStyle(plat::bsClear);
        } else if (picture) {
            Canvas->Draw(x, y, it->Image()->Graphic());
        } else if (listImage) {
            images->Draw(Canvas, x, y, it->ImageIndex(), it->Enabled());
        }
    };
    auto centreCaption = [&] {
        const plat::TSize cs = DrawItemMarkup(Canvas, caption, cap, false, images);
        if (cap.Height() > cs.cy) cap.Top += (cap.Height() - cs.cy) / 2;
    };
    const int vCentre = content.Top + (content.Height() - h) / 2;
    switch (owner_->ItemLayout()) {
    case ilCaptionLeft: {
        int imageLeft = cap.Left;
        if (!caption.empty()) {
            cap.Right -= w;
            const plat::TSize cs = DrawItemMarkup(Canvas, caption, cap, false, images);
            if (cap.Height() > cs.cy) cap.Top += (cap.Height() - cs.cy) / 2;
            DrawItemMarkup(Canvas, caption, cap, true, images);
            imageLeft = cap.Left + cs.cx + metrics_.CaptionGap;
        }
        drawImage(imageLeft, colorBox ? content.Top : vCentre);
        break;
    }
    case ilCaptionRight: {
        if (colorBox || picture || listImage) {
            drawImage(content.Left, colorBox ? content.Top : vCentre);
            cap.Left = content.Left + w + metrics_.CaptionGap;
        }
        if (!caption.empty()) {
            centreCaption();
            DrawItemMarkup(Canvas, caption, cap, true, images);
        }
        break;
    }
    case ilCaptionTop: {
        int imageTop = vCentre;
        if (!caption.empty()) {
            cap.Bottom -= h;
            const plat::TSize cs = DrawItemMarkup(Canvas, caption, cap, true, images);
            imageTop = cap.Top + cs.cy + metrics_.CaptionGap;
        }
        drawImage(content.Left + (content.Width() - w) / 2, imageTop);
        break;
    }
    case ilCaptionBottom: {
        const int imageTop = caption.empty() ? vCentre : content.Top;
        drawImage(content.Left + (content.Width() - w) / 2, imageTop);
        if (colorBox || picture || listImage) cap.Top = imageTop + h + metrics_.CaptionGap;
        if (!caption.empty()) DrawItemMarkup(Canvas, caption, cap, true, images);
        break;
    }
    }
}

void TCustomItemSelector::DrawAllItems(plat::TCanvas* Canvas) {
    for (int i = 0; i < ItemCount(); ++i) DrawItem(i, Canvas);
}

void TCustomItemSelector::Paint() {
    // Only the items meeting the update region: a panel holding thousands of items paints
    // what shows. The layout is a grid of equal items, so the rows follow from the clip.
    plat::TCanvas* c = Canvas();
    const plat::TRect clip = c->ClipRect();
    grid::FillRectColor(c, clip, Color());
    const int count = ItemCount();
    if (count == 0) return;
    const plat::TRect first = owner_->Items()->GetItem(0)->FRect;
    const int h = first.Height();
    const int cols = std::max(1, owner_->Columns());
    if (h < 1) {
        DrawAllItems(c);
        return;
    }
    const int rowFrom = std::max(0, (clip.Top - first.Top) / h);
    const int rowTo = std::max(0, (clip.Bottom - 1 - first.Top) / h);
    for (int row = rowFrom; row <= rowTo; ++row)
        for (int col = 0; col < cols; ++col) {
            const int i = row * cols + col;
            if (i >= count) return;
            const plat::TRect& r = owner_->Items()->GetItem(i)->FRect;
            if (r.Right > clip.Left && r.Left < clip.Right && r.Bottom > clip.Top && r.Top < clip.Bottom) DrawItem(i, c);
        }
}

void TCustomItemSelector::SetItemIndex(int Value) {
    if (Value >= 0 && Value < ItemCount() && !ItemEnabled(Value)) return;
    if (FItemIndex >= 0 && FItemIndex != Value) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (FItemIndex >= 0) {
        DrawItem(FItemIndex, Canvas());
        if (OnItemSelect) OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(int Index) {
    if (Index == FItemHot) return;
    if (Index >= 0 && Index < ItemCount() && !ItemEnabled(Index)) return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = Index;
    if (FItemHot >= 0) DrawItem(FItemHot, Canvas());
}

void TCustomItemSelector::SelectFirst() {
    if (ItemCount() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
    if (ItemCount() > 0) SetItemIndex(ItemCount() - 1);
}

void TCustomItemSelector::SelectNext() {
    if (ItemCount() > 0) SetItemIndex(SelectorStep(FItemIndex, ItemCount(), true));
}

void TCustomItemSelector::SelectPrevious() {
    if (ItemCount() > 0) SetItemIndex(SelectorStep(FItemIndex, ItemCount(), false));
}

void TCustomItemSelector::HotNext() {
    if (ItemCount() > 0) SetItemHot(SelectorStep(FItemHot, ItemCount(), true));
}

void TCustomItemSelector::HotPrevious() {
    if (ItemCount() > 0) SetItemHot(SelectorStep(FItemHot, ItemCount(), false));
}

bool TCustomItemSelector::LookupItem(StringView S) {
    const TSelectorItems* items = owner_->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const String plain = TextForCompare(plat::Trim(grid::MarkupToPlainText(items->GetItem(i)->Caption())), false);
        if (StringView(plain).starts_with(S)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && ItemEnabled(i)) SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(plat::TShiftState Shift, int X, int Y) {
    plat::TCustomControl::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i < 0 || !ItemEnabled(i)) {
        SetItemHot(-1);
        return;
    }
    SetItemHot(i);
    const String& hint = owner_->Items()->GetItem(i)->Hint;
    if (hint != Hint()) {
        SetHint(hint);
        if (plat::Application) plat::Application->CancelHint();
    }
}

void TCustomItemSelector::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::CM_MOUSELEAVE) SetItemHot(-1);
    plat::TCustomControl::WndProc(Message);
}

// ---- TExtCustomItemSelector ---------------------------------------------------------------

TExtCustomItemSelector::TExtCustomItemSelector(plat::TComponent* AOwner)
    : plat::TScrollBox(AOwner), items_(std::make_unique<TSelectorItems>(this)),
      appearance_(std::make_unique<TItemAppearance>()) {
    items_->OnChange = [this](plat::TObject*) { UpdateSelectorPanel(); };
    appearance_->OnChange = [](plat::TObject*) {};
    appearance_->SetColorStyle(scOffice2007);
    SetAutoScroll(true);
    panel_ = new TCustomItemSelector(this);
    panel_->SetParent(this);
    panel_->OnItemSelect = [this](plat::TObject*) {
        if (OnItemSelect) OnItemSelect(this);
    };
    UpdateSelectorPanel();
}

TExtCustomItemSelector::~TExtCustomItemSelector() {
    if (images_) images_->RemoveFreeNotification(this);
    items_->OnChange = nullptr;
    // The panel reads the items and looks until it is gone: it goes first.
    delete panel_;
    panel_ = nullptr;
}

void TExtCustomItemSelector::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
    plat::TScrollBox::Notification(AComponent, Operation);
    if (Operation == plat::opRemove && AComponent == images_) images_ = nullptr;
}

void TExtCustomItemSelector::WndProc(plat::TMessage& Message) {
    if (Message.Msg == plat::WM_GETDLGCODE) {
        Message.Result = plat::DLGC_WANTARROWS | plat::DLGC_WANTALLKEYS;
        return;
    }
    if (Message.Msg == plat::WM_VSCROLL && plat::LoWord(Message.WParam) == plat::SB_THUMBTRACK) {
        // The items follow the thumb while it moves.
        plat::TScrollInfo si;
        si.fMask = plat::SIF_TRACKPOS;
        plat::GetScrollInfo(Handle(), plat::SB_VERT, si);
        VertScrollBar()->SetPosition(si.nTrackPos);
    }
    plat::TScrollBox::WndProc(Message);
}

void TExtCustomItemSelector::UpdateSelectorPanel() {
    if (!panel_) return;
    panel_->UpdateLayout();
    Realign();
}

void TExtCustomItemSelector::SetSelectorType(TSelectorType Value) {
    if (selectorType_ == Value) return;
    selectorType_ = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColumns(int Value) {
    if (Value <= 0 || columns_ == Value) return;
    columns_ = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxWidth(int Value) {
    if (colorBoxWidth_ == Value) return;
    colorBoxWidth_ = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxHeight(int Value) {
    if (colorBoxHeight_ == Value) return;
    colorBoxHeight_ = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetImages(plat::TCustomImageList* Value) {
    if (images_ == Value) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (images_) images_->FreeNotification(this);
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetItemIndex(int Value) {
    if (!panel_) return;
    panel_->SetItemIndex(Value);
    ScrollItemInView(panel_->ItemIndex());
}

void TExtCustomItemSelector::SelectFirst() {
    if (!panel_) return;
    panel_->SelectFirst();
    ScrollItemInView(panel_->ItemIndex());
}

void TExtCustomItemSelector::SelectLast() {
    if (!panel_) return;
    panel_->SelectLast();
    ScrollItemInView(panel_->ItemIndex());
}

void TExtCustomItemSelector::SelectNext() {
    if (!panel_) return;
    panel_->SelectNext();
    ScrollItemInView(panel_->ItemIndex());
}

void TExtCustomItemSelector::SelectPrevious() {
    if (!panel_) return;
    panel_->SelectPrevious();
    ScrollItemInView(panel_->ItemIndex());
}

void TExtCustomItemSelector::HotNext() {
    if (!panel_) return;
    panel_->HotNext();
    ScrollItemInView(panel_->ItemHot());
}

void TExtCustomItemSelector::HotPrevious() {
    if (!panel_) return;
    panel_->HotPrevious();
    ScrollItemInView(panel_->ItemHot());
}

bool TExtCustomItemSelector::LookupItem(StringView S) { return panel_ ? panel_->LookupItem(S) : false; }

void TExtCustomItemSelector::ScrollItemInView(int Index) {
    if (!panel_ || Index < 0 || Index >= items_->Count() || !VertScrollBar()->IsScrollBarVisible()) return;
    plat::TRect r;
    panel_->GetItemRect(Index, r);
    const int margin = VertScrollBar()->Margin();
    // Panel to client coordinates: the panel's top is where the scroll position put it.
    int top = r.Top - margin + panel_->Top();
    int bottom = r.Bottom + margin + panel_->Top();
    const int clientH = ClientHeight();
    if (top < 0) {
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + top);
    } else if (bottom > clientH) {
        if (bottom - top > clientH) bottom = top + clientH;
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + bottom - clientH);
    }
}

int TExtCustomItemSelector::GetVisibleItemCount() const {
    if (!panel_ || items_->Count() == 0) return 0;
    return SelectorVisibleItemCount(items_->Count(), Height(), HorzScrollBar()->IsScrollBarVisible(),
                                    items_->GetItem(0)->FRect.Height(), columns_);
}

void TExtCustomItemSelector::GetSelectorPanelSize(plat::TSize& Size) const {
    if (!panel_) {
        Size = {100, 50};
        return;
    }
    Size = {panel_->Width(), panel_->Height()};
}

} // namespace dropdown
