#include "TabControl.h"

#include <algorithm>

#include "plat/Graphics.h"
#include "plat/ImgList.h"

namespace controls {

using namespace plat;

namespace {
constexpr int StripMargin = 2;  // from the control's edge to the first row and along the row
constexpr int TextPadding = 6;  // each side of the caption
constexpr int PageInset = 4;    // from the strip's page side (and the other edges) to the page
} // namespace

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), measure_(std::make_unique<TBitmap>(1, 1))
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetTabStop(true);
    SetBounds(Left(), Top(), 289, 193);
}

TCustomTabControl::~TCustomTabControl() = default;

String TCustomTabControl::TabText(int Index) const
{
    return Index >= 0 && Index < TabCount() ? tabs_[static_cast<std::size_t>(Index)].text : String();
}

void TCustomTabControl::SetTabText(int Index, const String& Text)
{
    if (Index < 0 || Index >= TabCount()) return;
    tabs_[static_cast<std::size_t>(Index)].text = Text;
    TabsChanged();
}

TObject* TCustomTabControl::TabObject(int Index) const
{
    return Index >= 0 && Index < TabCount() ? tabs_[static_cast<std::size_t>(Index)].object : nullptr;
}

void TCustomTabControl::InsertTab(int Index, const String& Text, TObject* Object)
{
    Index = std::clamp(Index, 0, TabCount());
    tabs_.insert(tabs_.begin() + Index, Tab{Text, Object, false});
    if (tabIndex_ >= Index) ++tabIndex_;
    TabsChanged();
}

void TCustomTabControl::DeleteTab(int Index)
{
    if (Index < 0 || Index >= TabCount()) return;
    tabs_.erase(tabs_.begin() + Index);
    if (tabIndex_ == Index)
        tabIndex_ = -1;
    else if (tabIndex_ > Index)
        --tabIndex_;
    TabsChanged();
}

void TCustomTabControl::MoveTab(int From, int To)
{
    if (From < 0 || From >= TabCount() || To < 0 || To >= TabCount() || From == To) return;
    Tab t = tabs_[static_cast<std::size_t>(From)];
    tabs_.erase(tabs_.begin() + From);
    tabs_.insert(tabs_.begin() + To, t);
    if (tabIndex_ == From)
        tabIndex_ = To;
    else if (From < tabIndex_ && To >= tabIndex_)
        --tabIndex_;
    else if (From > tabIndex_ && To <= tabIndex_)
        ++tabIndex_;
    TabsChanged();
}

bool TCustomTabControl::TabHighlighted(int Index) const
{
    return Index >= 0 && Index < TabCount() && tabs_[static_cast<std::size_t>(Index)].highlighted;
}

void TCustomTabControl::SetTabIndex(int Value)
{
    if (Value < 0 || Value >= TabCount()) Value = -1;
    if (Value == tabIndex_) return;
    tabIndex_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    if (Value == tabPosition_) return;
    tabPosition_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    if (Value == multiLine_) return;
    multiLine_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetTabHeight(int Value)
{
    Value = std::max(Value, 0);
    if (Value == tabHeight_) return;
    tabHeight_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetTabWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == tabWidth_) return;
    tabWidth_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetRaggedRight(bool Value)
{
    if (Value == raggedRight_) return;
    raggedRight_ = Value;
    TabsChanged();
}

void TCustomTabControl::SetOwnerDraw(bool Value)
{
    if (Value == ownerDraw_) return;
    ownerDraw_ = Value;
    Invalidate();
}

void TCustomTabControl::SetTabImages(TCustomImageList* Value)
{
    if (Value == tabImages_) return;
    if (tabImages_) tabImages_->RemoveFreeNotification(this);
    tabImages_ = Value;
    if (tabImages_) tabImages_->FreeNotification(this);
    TabsChanged();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == tabImages_) {
        tabImages_ = nullptr;
        TabsChanged();
    }
}

void TCustomTabControl::TabsChanged()
{
    layoutValid_ = false;
    Realign();
    Invalidate();
}

void TCustomTabControl::Resize()
{
    layoutValid_ = false;
    TCustomControl::Resize();
}

int TCustomTabControl::TabThickness() const
{
    if (tabHeight_ > 0) return tabHeight_;
    TCanvas* c = measure_->Canvas();
    c->SetFont(Font());
    return c->TextHeight(u"Wg") + TextPadding;
}

int TCustomTabControl::TabLength(int Index) const
{
    if (tabWidth_ > 0) return tabWidth_;
    TCanvas* c = measure_->Canvas();
    c->SetFont(Font());
    int len = c->TextWidth(tabs_[static_cast<std::size_t>(Index)].text) + 2 * TextPadding;
    return len + const_cast<TCustomTabControl*>(this)->ImageExtent(Index);
}

void TCustomTabControl::Layout() const
{
    if (layoutValid_) return;
    layoutValid_ = true;
    const int n = TabCount();
    rects_.assign(static_cast<std::size_t>(n), TRect{});
    rows_ = 0;
    if (n == 0) return;
    const bool sideways = tabPosition_ == tpLeft || tabPosition_ == tpRight;
    const int room = std::max((sideways ? Height() : Width()) - 2 * StripMargin, 1);
    const int h = TabThickness();

    std::vector<int> len(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) len[static_cast<std::size_t>(i)] = TabLength(i);

    // Rows as ranges of tabs.
    std::vector<std::pair<int, int>> rows;
    int start = 0, used = 0;
    for (int i = 0; i < n; ++i) {
        const int l = len[static_cast<std::size_t>(i)];
        if (multiLine_ && i > start && used + l > room) {
            rows.emplace_back(start, i);
            start = i;
            used = 0;
        }
        used += l;
    }
    rows.emplace_back(start, n);
    rows_ = static_cast<int>(rows.size());

    if (multiLine_ && rows_ > 1 && !raggedRight_) {
        for (auto [b, e] : rows) {
            int sum = 0;
            for (int i = b; i < e; ++i) sum += len[static_cast<std::size_t>(i)];
            int extra = room - sum;
            if (extra <= 0) continue;
            const int count = e - b;
            for (int i = b; i < e; ++i) {
                const int share = extra / count + (i - b < extra % count ? 1 : 0);
                len[static_cast<std::size_t>(i)] += share;
            }
        }
    }

    int selRow = 0;
    for (int r = 0; r < rows_; ++r)
        if (tabIndex_ >= rows[static_cast<std::size_t>(r)].first && tabIndex_ < rows[static_cast<std::size_t>(r)].second) selRow = r;

    for (int r = 0; r < rows_; ++r) {
        // Distance of the row from the page: the selected row is next to it.
        const int p = (r - selRow + rows_) % rows_;
        int across = 0;
        switch (tabPosition_) {
        case tpTop: across = StripMargin + (rows_ - 1 - p) * h; break;
        case tpLeft: across = StripMargin + (rows_ - 1 - p) * h; break;
        case tpBottom: across = Height() - StripMargin - rows_ * h + p * h; break;
        case tpRight: across = Width() - StripMargin - rows_ * h + p * h; break;
        }
        int along = StripMargin;
        for (int i = rows[static_cast<std::size_t>(r)].first; i < rows[static_cast<std::size_t>(r)].second; ++i) {
            const int l = len[static_cast<std::size_t>(i)];
            rects_[static_cast<std::size_t>(i)] =
                sideways ? Rect(across, along, across + h, along + l) : Rect(along, across, along + l, across + h);
            along += l;
        }
    }
}

int TCustomTabControl::RowCount() const
{
    Layout();
    return rows_;
}

TRect TCustomTabControl::TabRect(int Index) const
{
    Layout();
    if (Index < 0 || Index >= TabCount()) return TRect{};
    return rects_[static_cast<std::size_t>(Index)];
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const
{
    Layout();
    for (int i = 0; i < TabCount(); ++i)
        if (rects_[static_cast<std::size_t>(i)].Contains({X, Y})) return i;
    return -1;
}

TRect TCustomTabControl::DisplayRect() const
{
    Layout();
    const int strip = StripMargin + rows_ * (rows_ > 0 ? TabThickness() : 0);
    const int w = Width(), h = Height();
    switch (tabPosition_) {
    case tpTop: return Rect(PageInset, strip + PageInset, w - PageInset, h - PageInset);
    case tpBottom: return Rect(PageInset, PageInset, w - PageInset, h - strip - PageInset);
    case tpLeft: return Rect(strip + PageInset, PageInset, w - PageInset, h - PageInset);
    case tpRight: return Rect(PageInset, PageInset, w - strip - PageInset, h - PageInset);
    }
    return TRect{};
}

void TCustomTabControl::AlignControls(TControl* AControl, TRect& Rect)
{
    Rect = DisplayRect();
    TCustomControl::AlignControls(AControl, Rect);
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

bool TCustomTabControl::CanShowTab(int) { return true; }

int TCustomTabControl::ImageExtent(int TabIndex)
{
    if (!tabImages_ || GetImageIndex(TabIndex) < 0) return 0;
    const bool sideways = tabPosition_ == tpLeft || tabPosition_ == tpRight;
    return (sideways ? tabImages_->Height() : tabImages_->Width()) + 3;
}

int TCustomTabControl::GetImageIndex(int TabIndex)
{
    int index = TabIndex;
    if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
    return index;
}

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        const int i = IndexOfTabAt(X, Y);
        if (i >= 0 && i != tabIndex_ && CanChange()) {
            tabIndex_ = i;
            TabsChanged();
            Change();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::WndProc(TMessage& Message)
{
    if (Message.Msg == TCM_HIGHLIGHTITEM) {
        const int i = static_cast<int>(Message.WParam);
        Message.Result = 0;
        if (i >= 0 && i < TabCount()) {
            tabs_[static_cast<std::size_t>(i)].highlighted = LoWord(static_cast<std::uintptr_t>(Message.LParam)) != 0;
            Invalidate();
            Message.Result = 1;
        }
        return;
    }
    TCustomControl::WndProc(Message);
}

// The platform's own look: raised tabs, the selected one two pixels larger, a raised frame.
void TCustomTabControl::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    TRect frame = DisplayRect();
    frame = Rect(frame.Left - PageInset, frame.Top - PageInset, frame.Right + PageInset, frame.Bottom + PageInset);
    DrawEdge(c, frame, EDGE_RAISED, BF_RECT);
    c->SetFont(Font());
    for (int i = TabCount() - 1; i >= 0; --i) {
        TRect r = TabRect(i);
        const bool sel = i == tabIndex_;
        if (sel) r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
        c->Brush()->SetColor(TabHighlighted(i) ? clHighlight : clBtnFace);
        c->FillRect(r);
        unsigned sides = BF_RECT;
        switch (tabPosition_) {
        case tpTop: sides &= ~BF_BOTTOM; break;
        case tpBottom: sides &= ~BF_TOP; break;
        case tpLeft: sides &= ~BF_RIGHT; break;
        case tpRight: sides &= ~BF_LEFT; break;
        }
        TRect e = r;
        DrawEdge(c, e, EDGE_RAISED, sides);
        if (ownerDraw_) {
            if (OnDrawTab) OnDrawTab(this, i, r, sel);
            continue;
        }
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(TabHighlighted(i) ? clHighlightText : clBtnText);
        const String& t = tabs_[static_cast<std::size_t>(i)].text;
        if (tabPosition_ == tpLeft || tabPosition_ == tpRight) {
            TFont f(*Font());
            f.SetOrientation(tabPosition_ == tpLeft ? -2700 : -900);
            c->SetFont(&f);
            const int th = c->TextHeight(t);
            if (tabPosition_ == tpLeft)
                c->TextOut(r.Left + (r.Width() - th) / 2, r.Bottom - TextPadding, t);
            else
                c->TextOut(r.Right - (r.Width() - th) / 2, r.Top + TextPadding, t);
            c->SetFont(Font());
        } else {
            c->TextOut(r.Left + TextPadding, r.Top + (r.Height() - c->TextHeight(t)) / 2, t);
        }
        c->Brush()->SetStyle(bsSolid);
    }
}

} // namespace controls
