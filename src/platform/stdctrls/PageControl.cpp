#include "plat/ComCtrls.h"
#include "plat/Forms.h"
#include "plat/ImgList.h"

#include <algorithm>

#include "StdCommon.h"
#include "StdModels.h"
#include "plat/SysUtils.h"

namespace plat {

using namespace std_detail;

namespace {

constexpr int TabPadding = 6;
constexpr int FirstTabLeft = 2;
constexpr int RowTop = 2;  // inactive tabs start 2 pixels down; the active one is raised

} // namespace

// ---- TTabSheet ---------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetParentColor(true);
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (pageControl_)
        pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
    if (pageControl_ == Value)
        return;
    if (pageControl_)
        pageControl_->RemovePage(this);
    pageControl_ = Value;
    if (Value) {
        SetParent(Value);
        Value->InsertPage(this);
    }
}

int TTabSheet::PageIndex() const
{
    if (!pageControl_)
        return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (!pageControl_)
        return;
    auto& pages = pageControl_->pages_;
    pages.erase(std::find(pages.begin(), pages.end(), this));
    Value = std::clamp(Value, 0, static_cast<int>(pages.size()));
    pages.insert(pages.begin() + Value, this);
    pageControl_->Invalidate();
}

int TTabSheet::TabIndex() const
{
    if (!pageControl_ || !tabVisible_)
        return -1;
    int k = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this)
            return k;
        if (p->tabVisible_)
            ++k;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (tabVisible_ == Value)
        return;
    tabVisible_ = Value;
    if (!pageControl_)
        return;
    // A page whose tab goes away gives its place to the next page that has one.
    if (!Value && pageControl_->ActivePage() == this) {
        if (TTabSheet* next = pageControl_->FindNextPage(this, true, true); next && next != this)
            pageControl_->SetActivePage(next);
    }
    pageControl_->Invalidate();
}

void TTabSheet::SetImageIndex(int Value)
{
    imageIndex_ = Value;
    if (pageControl_)
        pageControl_->Invalidate();
}

void TTabSheet::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
}

void TTabSheet::WndProc(TMessage& Message)
{
    TCustomControl::WndProc(Message);
    if (Message.Msg == CM_TEXTCHANGED && pageControl_)
        pageControl_->Invalidate();
}

// ---- TPageControl ------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    for (TTabSheet* p : pages_)
        p->pageControl_ = nullptr;
    pages_.clear();
}

TTabSheet* TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount())
        throw EListError(u"List index out of bounds (" + IntToStr(Index) + u")");
    return pages_[static_cast<size_t>(Index)];
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    pages_.push_back(Page);
    // The first page shows until the program chooses another.
    if (!activePage_ && Page->TabVisible())
        activePage_ = Page;
    LayoutPages();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    auto it = std::find(pages_.begin(), pages_.end(), Page);
    if (it == pages_.end())
        return;
    const bool wasActive = Page == activePage_;
    TTabSheet* next = wasActive ? FindNextPage(Page, true, true) : nullptr;
    pages_.erase(it);
    Page->pageControl_ = nullptr;
    if (wasActive) {
        activePage_ = nullptr;
        if (next && next != Page)
            SetActivePage(next);
    }
    if (!HasState(csDestroying))
        Invalidate();
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_)
        images_ = nullptr;
}

void TPageControl::SetImages(TImageList* Value)
{
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = Value;
    if (Value)
        Value->FreeNotification(this);
    Invalidate();
}

int TPageControl::ActivePageIndex() const
{
    return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? pages_[static_cast<size_t>(Value)] : nullptr);
}

int TPageControl::TabIndex() const
{
    return activePage_ ? activePage_->TabIndex() : -1;
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->pageControl_ != this)
        return;
    if (Page == activePage_)
        return;
    TTabSheet* old = activePage_;
    activePage_ = Page;
    LayoutPages();
    if (old && old->OnHide)
        old->OnHide(old);
    if (Page && Page->OnShow)
        Page->OnShow(Page);
    Invalidate();
}

bool TPageControl::ChangeActivePage(TTabSheet* Page)
{
    if (!Page || Page == activePage_)
        return false;
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    if (!allow)
        return false;
    SetActivePage(Page);
    if (OnChange)
        OnChange(this);
    return true;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const
{
    if (pages_.empty())
        return nullptr;
    const int n = PageCount();
    int start = CurPage ? CurPage->PageIndex() : -1;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    int i = start;
    for (int k = 0; k < n; ++k) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* p = pages_[static_cast<size_t>(i)];
        if (!CheckTabVisible || p->TabVisible())
            return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet* p = FindNextPage(activePage_, GoForward, CheckTabVisible);
    if (p && p != activePage_)
        ChangeActivePage(p);
}

int TPageControl::TabHeight() const
{
    if (tabHeight_ > 0)
        return tabHeight_;
    return MeasureCanvas(Font())->TextHeight(u"Wg") + 7;
}

void TPageControl::SetTabHeight(int Value)
{
    tabHeight_ = std::max(0, Value);
    LayoutPages();
    Invalidate();
}

TRect TPageControl::DisplayRect() const
{
    const TRect c = ClientRect();
    const int top = RowTop + TabHeight();
    return {c.Left + 4, top + 4, std::max(c.Left + 4, c.Right - 4), std::max(top + 4, c.Bottom - 4)};
}

TRect TPageControl::TabRect(int PageIndex) const
{
    if (PageIndex < 0 || PageIndex >= PageCount())
        return {};
    std::vector<int> widths;
    widths.reserve(pages_.size());
    TCanvas* m = MeasureCanvas(Font());
    for (TTabSheet* p : pages_) {
        if (!p->TabVisible()) {
            widths.push_back(-1);
            continue;
        }
        int w = m->TextWidth(p->Caption());
        if (images_ && p->ImageIndex() >= 0)
            w += images_->Width() + 3;
        widths.push_back(w);
    }
    const stdmodel::TabStripLayout l = stdmodel::LayoutTabs(widths, FirstTabLeft, TabPadding);
    const size_t i = static_cast<size_t>(PageIndex);
    if (widths[i] < 0)
        return {};
    return {l.left[i], RowTop, l.left[i] + l.width[i], RowTop + TabHeight()};
}

int TPageControl::IndexOfTabAt(int X, int Y) const
{
    for (int i = 0; i < PageCount(); ++i) {
        TRect r = TabRect(i);
        if (pages_[static_cast<size_t>(i)] == activePage_)
            r = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom};
        if (!r.IsEmpty() && r.Contains({X, Y}))
            return i;
    }
    return -1;
}

void TPageControl::LayoutPages()
{
    const TRect d = DisplayRect();
    for (TTabSheet* p : pages_) {
        p->SetBounds(d.Left, d.Top, d.Width(), d.Height());
        p->SetVisible(p == activePage_);
    }
}

void TPageControl::Resize()
{
    TCustomControl::Resize();
    LayoutPages();
}

void TPageControl::Paint()
{
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);

    // Page frame below the tab row.
    const int frameTop = RowTop + TabHeight();
    TRect frame{client.Left, frameTop, client.Right, client.Bottom};
    DrawEdge(c, frame, EDGE_RAISED, BF_RECT | BF_SOFT);

    c->SetFont(Font());
    auto drawTab = [&](int index, bool active) {
        TRect r = TabRect(index);
        if (r.IsEmpty())
            return;
        if (active)
            r = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1};
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom});
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top + 2);
        c->LineTo(r.Left + 2, r.Top);
        c->LineTo(r.Right - 2, r.Top);
        c->Pen()->SetColor(cl3DDkShadow);
        c->MoveTo(r.Right - 2, r.Top + 1);
        c->LineTo(r.Right - 1, r.Top + 2);
        c->LineTo(r.Right - 1, r.Bottom);
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(r.Right - 2, r.Top + 2);
        c->LineTo(r.Right - 2, r.Bottom);
        TTabSheet* page = pages_[static_cast<size_t>(index)];
        TRect text{r.Left + TabPadding, r.Top, r.Right - TabPadding, r.Bottom - (active ? 1 : 0)};
        if (images_ && page->ImageIndex() >= 0) {
            images_->Draw(c, text.Left - 2, text.Top + (text.Height() - images_->Height()) / 2, page->ImageIndex(), Enabled());
            text.Left += images_->Width() + 1;
        }
        c->Brush()->SetStyle(bsClear);
        c->SetFont(Font());
        if (!Enabled() || !page->Enabled())
            c->Font()->SetColor(clGrayText);
        c->DrawText(page->Caption(), text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        if (active && Focused())
            c->DrawFocusRect({r.Left + 3, r.Top + 3, r.Right - 3, r.Bottom - 2});
    };
    for (int i = 0; i < PageCount(); ++i)
        if (pages_[static_cast<size_t>(i)] != activePage_)
            drawTab(i, false);
    if (activePage_)
        drawTab(activePage_->PageIndex(), true);
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    const int index = IndexOfTabAt(X, Y);
    if (index < 0)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    ChangeActivePage(pages_[static_cast<size_t>(index)]);
}

void TPageControl::KeyDown(std::uint16_t& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_LEFT || Key == VK_UP) {
        SelectNextPage(false);
        Key = 0;
    } else if (Key == VK_RIGHT || Key == VK_DOWN) {
        SelectNextPage(true);
        Key = 0;
    }
}

void TPageControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case CM_DIALOGKEY:
        // Ctrl+Tab and Ctrl+Shift+Tab cycle the pages while the focus is inside.
        if (Message.WParam == VK_TAB && GetKeyState(static_cast<int>(VK_CONTROL)) < 0) {
            TCustomForm* form = GetParentForm(this);
            TWinControl* focus = form ? form->ActiveControl() : nullptr;
            if (focus && (focus == this || ContainsControl(focus))) {
                SelectNextPage(GetKeyState(static_cast<int>(VK_SHIFT)) >= 0);
                Message.Result = 1;
                return;
            }
        }
        break;
    case CM_DIALOGCHAR:
        for (TTabSheet* p : pages_) {
            if (p->TabVisible() && IsAccel(Message.WParam, p->Caption()) && Enabled() && Showing()) {
                ChangeActivePage(p);
                Message.Result = 1;
                return;
            }
        }
        break;
    case CM_FONTCHANGED:
        TCustomControl::WndProc(Message);
        LayoutPages();
        Invalidate();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::WndProc(Message);
}

} // namespace plat
