#include "ExtPageControl.h"

#include <algorithm>

#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/ImgList.h"
#include "plat/SysUtils.h"

namespace controls {

using namespace plat;

// ---- TTabMargin ----------------------------------------------------------------------------

void TTabMargin::Assign(const TPersistent* Source)
{
    if (const auto* m = dynamic_cast<const TTabMargin*>(Source)) {
        margins_[0] = m->margins_[0];
        margins_[1] = m->margins_[1];
        margins_[2] = m->margins_[2];
    }
}

void TTabMargin::SetMargin(int Index, TMarginSize Value)
{
    if (Index < 0 || Index > 2 || margins_[Index] == Value) return;
    if (OnMarginChange) OnMarginChange(Value, margins_[Index], Index);
    margins_[Index] = Value;
}

// ---- TExtTabSheet --------------------------------------------------------------------------

TExtTabSheet::TExtTabSheet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls | csNoDesignVisible);
    SetColor(clBtnFace);
    SetAlign(alClient);
    SetVisible(false);
}

TExtTabSheet::~TExtTabSheet()
{
    if (pageControl_) pageControl_->RemovePage(this);
}

void TExtTabSheet::SetExtPageControl(TExtPageControl* Value)
{
    if (pageControl_ == Value) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(Value);
    if (Value) Value->InsertPage(this);
}

int TExtTabSheet::PageIndex() const
{
    if (!pageControl_) return -1;
    const auto& p = pageControl_->pages_;
    return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TExtTabSheet::SetPageIndex(int Value)
{
    if (!pageControl_) return;
    auto& p = pageControl_->pages_;
    const int last = static_cast<int>(p.size()) - 1;
    if (Value > last)
        throw EListError(IntToStr(Value) + u" is an invalid PageIndex value.  PageIndex must be between 0 and " + IntToStr(last));
    if (Value < 0) throw EListError(u"List index out of bounds (" + IntToStr(Value) + u")");
    const int oldTab = TabIndex();
    p.erase(p.begin() + PageIndex());
    p.insert(p.begin() + Value, this);
    if (tabShowing_) pageControl_->MoveTab(oldTab, TabIndex());
    pageControl_->Invalidate();
}

int TExtTabSheet::TabIndex() const
{
    if (!tabShowing_ || !pageControl_) return -1;
    int n = 0;
    for (TExtTabSheet* p : pageControl_->pages_) {
        if (p == this) return n;
        if (p->tabShowing_) ++n;
    }
    return -1;
}

void TExtTabSheet::SetCaption(const String& Value) { SetText(Value); }

void TExtTabSheet::ApplyCaption(const String& Value)
{
    if (showClose_)
        tabCaption_ = Value + u" ";
    else
        tabCaption_ = Value.size() > 2 ? Value.substr(0, Value.size() - 2) : String();
    if (pageControl_) RefreshTabText();
}

void TExtTabSheet::RefreshTabText()
{
    const int i = TabIndex();
    if (i >= 0 && pageControl_) pageControl_->SetTabText(i, pageControl_->tabBorder3D_ ? Caption() : tabCaption_);
}

void TExtTabSheet::SetTabShowing(bool Value)
{
    if (tabShowing_ == Value || !pageControl_) return;
    TExtPageControl* pc = pageControl_;
    if (Value) {
        tabShowing_ = true;
        pc->InsertTab(TabIndex(), pc->tabBorder3D_ ? Caption() : tabCaption_, this);
        pc->UpdateActivePage();
    } else {
        const int i = TabIndex();
        tabShowing_ = false;
        pc->DeleteTab(i);
        if (pc->activePage_ == this) {
            const int n = pc->TabCount();
            pc->SetTabIndex(i < n ? i : n - 1);
        }
        pc->UpdateActivePage();
    }
}

void TExtTabSheet::SetTabVisible(bool Value)
{
    if (tabVisible_ == Value) return;
    tabVisible_ = Value;
    SetTabShowing(pageControl_ && Value);
}

void TExtTabSheet::SetTabEnable(bool Value)
{
    if (tabEnable_ == Value) return;
    if (pageControl_ && !Value && pageControl_->activePage_ == this) throw Exception(u"Can not disable active tab.");
    tabEnable_ = Value;
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::SetHighlighted(bool Value)
{
    if (!HasState(csReading) && pageControl_) pageControl_->Perform(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(TabIndex()), MakeLParam(Value ? 1 : 0, 0));
    highlighted_ = Value;
}

void TExtTabSheet::SetImageIndex(int Value)
{
    imageIndex_ = Value < 0 ? -1 : Value;
    imageIndexDummy_ = Value < 0 ? 0 : Value;
    ApplyCaption(Caption());
}

void TExtTabSheet::SetShowClose(bool Value)
{
    showClose_ = Value;
    ApplyCaption(Caption());
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::SetColorTo(TColor Value)
{
    colorTo_ = Value;
    Invalidate();
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::SetTextColor(TColor Value)
{
    if (textColor_ == Value) return;
    textColor_ = Value;
    if (pageControl_) pageControl_->Invalidate();
}

// The tab shows the colour as well, so the control repaints with the page.
void TExtTabSheet::SetTabColor(TColor Value)
{
    tabColor_ = Value;
    Invalidate();
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::SetTabColorTo(TColor Value)
{
    tabColorTo_ = Value;
    Invalidate();
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::SetTabGradientDirection(TGradientDirection Value)
{
    if (tabGradientDirection_ == Value) return;
    tabGradientDirection_ = Value;
    if (pageControl_) pageControl_->Invalidate();
}

void TExtTabSheet::WndProc(TMessage& Message)
{
    TCustomControl::WndProc(Message);
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        ApplyCaption(Caption());
        if (pageControl_) pageControl_->Invalidate();
        break;
    case CM_COLORCHANGED:
        if (pageControl_) pageControl_->Invalidate();
        break;
    case CM_VISIBLECHANGED:
        // A failing handler must not stop the page change.
        try {
            if (Visible()) {
                if (OnShow) OnShow(this);
            } else if (OnHide) {
                OnHide(this);
            }
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
        break;
    default:
        break;
    }
}

void TExtTabSheet::Paint()
{
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    if (colorTo_ != clNone) TExtPageControl::DrawTabGradient(c, Color(), colorTo_, 64, ClientRect(), false);
}

// ---- TExtPageControl -----------------------------------------------------------------------

TExtPageControl::TExtPageControl(TComponent* AOwner)
    : TCustomTabControl(AOwner),
      tabMargin_(std::make_unique<TTabMargin>()),
      tabBackGround_(std::make_unique<TBitmap>()),
      tabBackGroundActive_(std::make_unique<TBitmap>()),
      activeFont_(std::make_unique<TFont>()),
      closeGlyph_(std::make_unique<TBitmap>())
{
    SetControlStyle(csOpaque | csDoubleClicks);
    SetColor(clBtnFace);
    TFont f(*Font());
    f.SetName(u"Tahoma");
    SetFont(&f);
    activeFont_->SetName(u"Tahoma");
    activeFont_->OnChange = [this](TObject*) { PadActiveTabText(activePage_); };
    tabMargin_->OnMarginChange = [this](TMarginSize n, TMarginSize o, int i) { MarginChanged(n, o, i); };
    SetOwnerDraw(true);
}

TExtPageControl::~TExtPageControl()
{
    destroying_ = true;
    for (TExtTabSheet* p : pages_) p->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TExtTabSheet* TExtPageControl::GetPage(int Index) const
{
    return Index >= 0 && Index < PageCount() ? pages_[static_cast<std::size_t>(Index)] : nullptr;
}

int TExtPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TExtPageControl::SetActivePageIndex(int Value) { SetActivePage(GetPage(Value)); }

String TExtPageControl::Version() const
{
    const std::uint32_t v = GetVersionNr();
    return IntToStr((v >> 24) & 0xFF) + u"." + IntToStr((v >> 16) & 0xFF) + u"." + IntToStr((v >> 8) & 0xFF) + u"." + IntToStr(v & 0xFF);
}

void TExtPageControl::InsertPage(TExtTabSheet* Page)
{
    pages_.push_back(Page);
    Page->pageControl_ = this;
    Page->SetTabShowing(Page->tabVisible_);
    if (Page->textColor_ == 0) Page->textColor_ = defaultTextColor_;
    if (Page->tabColor_ == clNone) Page->tabColor_ = defaultTabColor_;
    if (Page->tabColorTo_ == clNone) Page->tabColorTo_ = defaultTabColorTo_;
    Invalidate();
}

void TExtPageControl::RemovePage(TExtTabSheet* Page)
{
    const bool wasActive = Page == activePage_;
    TExtTabSheet* next = FindNextPage(Page, true, !Designing());
    if (next == Page) next = nullptr;
    // The page leaves before anything else is activated, so the control never keeps a
    // page it no longer holds.
    if (wasActive) activePage_ = nullptr;
    Page->SetTabShowing(false);
    Page->pageControl_ = nullptr;
    pages_.erase(std::remove(pages_.begin(), pages_.end(), Page), pages_.end());
    if (hoverTab_ >= PageCount()) hoverTab_ = -1;
    // While the control or its form goes away no other page is shown: the page's events
    // would reach a form that is being destroyed.
    bool dying = destroying_;
    for (const TControl* c = this; c && !dying; c = c->Parent()) dying = c->HasState(csDestroying);
    if (dying) return;
    if (wasActive) {
        // A disabled page cannot take over: the next enabled visible one does.
        TExtTabSheet* p = next;
        while (p && !p->tabEnable_ && !Designing()) {
            p = FindNextPage(p, true, true);
            if (p == next) p = nullptr;
        }
        SetActivePage(p);
    }
    Invalidate();
}

TExtTabSheet* TExtPageControl::FindNextPage(TExtTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const
{
    const int n = PageCount();
    if (n == 0) return nullptr;
    int start = static_cast<int>(std::find(pages_.begin(), pages_.end(), CurPage) - pages_.begin());
    if (start == n) start = GoForward ? n - 1 : 0;
    int i = start;
    do {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TExtTabSheet* p = pages_[static_cast<std::size_t>(i)];
        if (!CheckTabVisible || p->tabVisible_) return p;
    } while (i != start);
    return nullptr;
}

void TExtPageControl::SelectNextPage(bool GoForward)
{
    // Pages that cannot be activated are stepped over like hidden ones.
    TExtTabSheet* p = FindNextPage(activePage_, GoForward, true);
    TExtTabSheet* first = p;
    while (p && !p->tabEnable_ && !Designing()) {
        p = FindNextPage(p, GoForward, true);
        if (p == first) p = nullptr;
    }
    if (!p || p == activePage_) return;
    if (!UserCanChange(p->PageIndex())) return;
    SetTabIndex(p->TabIndex());
    Change();
}

bool TExtPageControl::UserCanChange(int ToPage)
{
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), ToPage, allow);
    return allow && TCustomTabControl::CanChange();
}

bool TExtPageControl::CanChange()
{
    // A disabled tab is never selected, so the strip and the active page stay together.
    if (TExtTabSheet* target = GetPage(changeTarget_); target && !target->tabEnable_ && !Designing()) return false;
    return UserCanChange(changeTarget_);
}

void TExtPageControl::Change()
{
    UpdateActivePage();
    TCustomTabControl::Change();
    Invalidate();
}

void TExtPageControl::UpdateActivePage()
{
    const int ti = TabIndex();
    auto* page = ti >= 0 ? dynamic_cast<TExtTabSheet*>(TabObject(ti)) : nullptr;
    SetActivePage(page);
    if (page && activePage_ != page) {
        // The tab under the selection cannot be activated: the next one that can takes over,
        // and the strip follows the page that is active.
        TExtTabSheet* p = FindNextPage(page, true, true);
        while (p && p != page && !p->tabEnable_) p = FindNextPage(p, true, true);
        if (p && p != page) SetActivePage(p);
        SetTabIndex(activePage_ ? activePage_->TabIndex() : -1);
    }
}

void TExtPageControl::ShowControl(TControl* Control)
{
    if (auto* page = dynamic_cast<TExtTabSheet*>(Control); page && page->pageControl_ == this) SetActivePage(page);
    if (auto* sheet = dynamic_cast<TExtTabSheet*>(Parent()); sheet && sheet->pageControl_) sheet->pageControl_->ShowControl(sheet);
}

void TExtPageControl::SetActivePage(TExtTabSheet* Page)
{
    if (Page && Page->pageControl_ != this) return;
    TExtTabSheet* old = activePage_;
    if (!Page) {
        SetTabIndex(-1);
        activePage_ = nullptr;
        Invalidate();
        return;
    }
    if (Page != old) ChangeActivePage(Page);
    if (Page == activePage_) SetTabIndex(Page->TabIndex());
}

void TExtPageControl::ChangeActivePage(TExtTabSheet* Page)
{
    TExtTabSheet* old = activePage_;
    if (!Designing() && !Page->tabEnable_) return;
    TCustomForm* form = GetParentForm(this);
    if (form && old && form->ActiveControl() && old->ContainsControl(form->ActiveControl())) {
        try {
            form->SetActiveControl(old);
        } catch (const Exception&) {
        }
        if (form->ActiveControl() != old) {
            SetTabIndex(old->TabIndex());
            return;
        }
    }
    Page->BringToFront();
    Page->SetVisible(true);
    if (form && old && form->ActiveControl() == old) form->SetActiveControl(Page->CanFocus() ? static_cast<TWinControl*>(Page) : this);
    if (old) old->SetVisible(false);
    activePage_ = Page;
    PadActiveTabText(old);
    PadActiveTabText(Page);
    if (form && form->ActiveControl() == Page) Page->SelectNext(nullptr, true, true);
    Invalidate();
}

void TExtPageControl::PadActiveTabText(TExtTabSheet* Page)
{
    if (tabBorder3D_ || !Page || Page->pageControl_ != this) return;
    const int ti = Page->TabIndex();
    const TFontStyles st = activeFont_->Style();
    if (Page == activePage_ && (st.Contains(fsBold) || st.Contains(fsItalic))) {
        TBitmap b(1, 1);
        TCanvas* c = b.Canvas();
        c->SetFont(activeFont_.get());
        const int wa = c->TextWidth(Page->tabCaption_);
        c->SetFont(Font());
        const int diff = wa - c->TextWidth(Page->tabCaption_);
        String pad;
        while (c->TextWidth(pad) < diff) pad += u' ';
        if (ti >= 0 && ti < TabCount()) SetTabText(ti, Page->tabCaption_ + pad);
    } else if (ti >= 0) {
        SetTabText(ti, Page->tabCaption_);
    }
}

int TExtPageControl::PageAtPos(int X, int Y) const
{
    int r = IndexOfTabAt(X, Y);
    if (r < 0) return -1;
    for (int i = 0; i < PageCount(); ++i)
        if (i <= r && !pages_[static_cast<std::size_t>(i)]->tabVisible_) ++r;
    return r;
}

TRect TExtPageControl::PageTabRect(int PageIndex) const
{
    int hidden = 0;
    for (int i = 0; i < PageIndex && i < PageCount(); ++i)
        if (!pages_[static_cast<std::size_t>(i)]->tabVisible_) ++hidden;
    return TabRect(PageIndex - hidden);
}

bool TExtPageControl::CloseButtonHit(int PageIndex, TPoint P) const
{
    const TRect r = PageTabRect(PageIndex);
    const bool pic = !tabBackGroundActive_->Empty();
    TRect box;
    if (TabPosition() == tpLeft) {
        const int x0 = r.Left + tabMargin_->LeftMargin() + (pic ? 2 : 0);
        const int y0 = r.Bottom - tabMargin_->TopMargin() + (pic ? tabOverlap_ : 0);
        box = Rect(x0 + 2, y0 - 13, x0 + 14, y0 - 2);
    } else {
        const int x0 = r.Left + tabMargin_->LeftMargin();
        const int y0 = r.Top + tabMargin_->TopMargin();
        box = Rect(x0 + 2, y0 + 2, x0 + 14, y0 + 13);
    }
    return box.Contains(P);
}

bool TExtPageControl::OpenClosedTab(const String& TabName)
{
    for (auto& [name, page] : closedTabs_) {
        if (SameText(name, TabName)) {
            page->SetExtPageControl(this);
            return true;
        }
    }
    return false;
}

void TExtPageControl::OpenAllClosedTabs()
{
    const auto list = closedTabs_;
    for (auto& entry : list) entry.second->SetExtPageControl(this);
}

bool TExtPageControl::CanShowTab(int TabIndex)
{
    TExtTabSheet* p = GetPage(TabIndex);
    return p && p->Enabled();
}

int TExtPageControl::GetImageIndex(int TabIndex)
{
    if (OnGetImageIndex) return TCustomTabControl::GetImageIndex(TabIndex);
    int visible = 0, hidden = 0;
    for (TExtTabSheet* p : pages_) {
        if (p->tabVisible_)
            ++visible;
        else
            ++hidden;
        if (visible == TabIndex + 1) break;
    }
    TExtTabSheet* p = GetPage(TabIndex + hidden);
    return p ? p->imageIndexDummy_ : -1;
}

int TExtPageControl::ImageExtent(int TabIndex)
{
    if (tabBorder3D_ || !stripUsesSpacing_) return TCustomTabControl::ImageExtent(TabIndex);
    if (GetImageIndex(TabIndex) < 0) return 0;
    const bool sideways = TabPosition() == tpLeft || TabPosition() == tpRight;
    return (sideways ? spacingHeight_ : spacingWidth_) + 3;
}

// ---- properties ----------------------------------------------------------------------------

void TExtPageControl::SetDefaultTextColor(TColor Value)
{
    for (TExtTabSheet* p : pages_)
        if (p->textColor_ == defaultTextColor_) p->textColor_ = Value;
    defaultTextColor_ = Value;
    Invalidate();
}

void TExtPageControl::SetDefaultTabColor(TColor Value)
{
    for (TExtTabSheet* p : pages_)
        if (p->tabColor_ == defaultTabColor_) p->tabColor_ = Value;
    defaultTabColor_ = Value;
    Invalidate();
}

void TExtPageControl::SetDefaultTabColorTo(TColor Value)
{
    for (TExtTabSheet* p : pages_)
        if (p->tabColorTo_ == defaultTabColorTo_) p->tabColorTo_ = Value;
    defaultTabColorTo_ = Value;
    Invalidate();
}

void TExtPageControl::SetActiveColor(TColor Value) { activeColor_ = Value; Invalidate(); }
void TExtPageControl::SetActiveColorTo(TColor Value) { activeColorTo_ = Value; Invalidate(); }
void TExtPageControl::SetTabBorderColor(TColor Value) { tabBorderColor_ = Value; Invalidate(); }
void TExtPageControl::SetTabOverlap(int Value) { tabOverlap_ = std::clamp(Value, 0, 15); Invalidate(); }

#define STORE_ON_CHANGE(field)       \
    if (field == Value) return;      \
    field = Value;                   \
    Invalidate()

void TExtPageControl::SetTabSheet3D(bool Value) { STORE_ON_CHANGE(tabSheet3D_); }
void TExtPageControl::SetTabSheetBorderColor(TColor Value) { STORE_ON_CHANGE(tabSheetBorderColor_); }
void TExtPageControl::SetTabBackGroundColor(TColor Value) { STORE_ON_CHANGE(tabBackGroundColor_); }
void TExtPageControl::SetRoundEdges(bool Value) { STORE_ON_CHANGE(roundEdges_); }
void TExtPageControl::SetTabStyle(TTabStyle Value) { STORE_ON_CHANGE(tabStyle_); }
void TExtPageControl::SetLowerActive(int Value) { STORE_ON_CHANGE(lowerActive_); }
#undef STORE_ON_CHANGE

void TExtPageControl::SetTabSplitLine(bool Value)
{
    if (Value && tabStyle_ == tsDotNet) throw Exception(u"TabSplitLine must be false when TabStyle is tsDotNet");
    if (tabSplitLine_ == Value) return;
    tabSplitLine_ = Value;
    Invalidate();
}

void TExtPageControl::SetActiveFont(const TFont* Value)
{
    if (Value) activeFont_->Assign(*Value);
    Invalidate();
}

void TExtPageControl::SetCloseGlyph(const TBitmap* Value)
{
    if (Value)
        closeGlyph_->Assign(*Value);
    else
        closeGlyph_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExtPageControl::SetTabBackGround(const TBitmap* Value)
{
    if (Value)
        tabBackGround_->Assign(*Value);
    else
        tabBackGround_ = std::make_unique<TBitmap>();
    if (Designing() && !tabBackGround_->Empty()) {
        const bool sideways = TabPosition() == tpLeft || TabPosition() == tpRight;
        SetTabHeight((sideways ? tabBackGround_->Width() : tabBackGround_->Height()) - 3);
    }
    Invalidate();
}

void TExtPageControl::SetTabBackGroundActive(const TBitmap* Value)
{
    if (Value)
        tabBackGroundActive_->Assign(*Value);
    else
        tabBackGroundActive_ = std::make_unique<TBitmap>();
    Invalidate();
}

void TExtPageControl::SetTabMargin(const TTabMargin* Value)
{
    if (Value) tabMargin_->Assign(Value);
}

void TExtPageControl::SetTabBorder3D(bool Value)
{
    if (tabBorder3D_ == Value) return;
    tabBorder3D_ = Value;
    stripUsesSpacing_ = !Value;
    SetTabImages(Value ? images_ : nullptr);
    SetOwnerDraw(!Value);
    for (int i = PageCount() - 1; i >= 0; --i) pages_[static_cast<std::size_t>(i)]->RefreshTabText();
    if (!Value) PadActiveTabText(activePage_);
    TabsChanged();
}

int TExtPageControl::ImagesWidth() const { return images_ ? images_->Width() : 0; }
int TExtPageControl::ImagesHeight() const { return images_ ? images_->Height() : 0; }

void TExtPageControl::SetImages(TCustomImageList* Value)
{
    const bool sideways = TabPosition() == tpLeft || TabPosition() == tpRight;
    if (images_) {
        images_->RemoveFreeNotification(this);
        (sideways ? spacingHeight_ : spacingWidth_) -= sideways ? ImagesHeight() : ImagesWidth();
    }
    images_ = Value;
    if (images_) {
        images_->FreeNotification(this);
        (sideways ? spacingHeight_ : spacingWidth_) += sideways ? ImagesHeight() : ImagesWidth();
    }
    if (tabBorder3D_) SetTabImages(images_);
    TabsChanged();
}

void TExtPageControl::UpdateSpacing()
{
    if (TabPosition() == tpLeft || TabPosition() == tpRight)
        spacingHeight_ = ImagesHeight() + tabMargin_->RightMargin() + tabMargin_->TopMargin();
    else
        spacingWidth_ = ImagesWidth() + tabMargin_->RightMargin() + tabMargin_->LeftMargin();
}

void TExtPageControl::SetTabPosition(TTabPosition Value)
{
    TCustomImageList* saved = images_;
    if (saved) SetImages(nullptr);
    TCustomTabControl::SetTabPosition(Value);
    if (saved) SetImages(saved);
    UpdateSpacing();
    TabsChanged();
}

void TExtPageControl::MarginChanged(TMarginSize NewValue, TMarginSize OldValue, int Index)
{
    if (propertiesLoaded_ || Designing()) {
        const bool sideways = TabPosition() == tpLeft || TabPosition() == tpRight;
        switch (Index) {
        case 0:
            if (!sideways) spacingWidth_ = ImagesWidth() + tabMargin_->RightMargin() + NewValue;
            break;
        case 1:
            if (sideways) spacingHeight_ = ImagesHeight() + tabMargin_->RightMargin() + NewValue;
            break;
        case 2:
            (sideways ? spacingHeight_ : spacingWidth_) += NewValue - OldValue;
            break;
        default:
            break;
        }
    }
    TabsChanged();
}

void TExtPageControl::Loaded()
{
    TCustomTabControl::Loaded();
    for (TExtTabSheet* p : pages_)
        Perform(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(p->TabIndex()), MakeLParam(p->highlighted_ ? 1 : 0, 0));
    UpdateSpacing();
    propertiesLoaded_ = true;
    TabsChanged();
}

void TExtPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomTabControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) {
        images_ = nullptr;
        if (tabBorder3D_) SetTabImages(nullptr);
        Invalidate();
    }
}

// ---- input ---------------------------------------------------------------------------------

void TExtPageControl::InvalidateTab(int PageIndex)
{
    if (PageIndex < 0 || PageIndex >= PageCount()) return;
    TRect r = PageTabRect(PageIndex);
    r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
    InvalidateRect(&r, true);
}

void TExtPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && !Designing() && !tabBorder3D_ && activePage_ && activePage_->showClose_ &&
        CloseButtonHit(ActivePageIndex(), {X, Y}))
        DrawCloseButtonDown(Canvas(), PageTabRect(ActivePageIndex()));
    changeTarget_ = PageAtPos(X, Y);
    TCustomTabControl::MouseDown(Button, Shift, X, Y);
}

void TExtPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || Designing() || tabBorder3D_ || !activePage_) return;
    TExtTabSheet* page = activePage_;
    if (!page->showClose_ || !CloseButtonHit(ActivePageIndex(), {X, Y})) return;
    TExtTabSheet* next = FindNextPage(page, true, true);
    bool canClose = true;
    if (page->OnCanClose) page->OnCanClose(page, canClose);
    if (!canClose) return;
    if (page->OnClose) page->OnClose(page);
    SetActivePage(next);
    if (freeOnClose_) {
        delete page;
    } else {
        closedTabs_.emplace_back(page->Name(), page);
        page->SetExtPageControl(nullptr);
    }
    hoverClosedButton_ = false;
    Invalidate();
}

void TExtPageControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomTabControl::MouseMove(Shift, X, Y);
    if (Designing() || tabHoverColor_ == clNone || tabBorder3D_) return;
    if (tabBackGround_->Empty()) {
        const int p = PageAtPos(X, Y);
        if (p != hoverTab_) {
            InvalidateTab(hoverTab_);
            hoverTab_ = p;
            InvalidateTab(p);
        }
    }
    if (activePage_ && activePage_->showClose_) {
        const bool in = CloseButtonHit(ActivePageIndex(), {X, Y});
        if (hoverClosedButton_ && !in) {
            DrawCloseButton(Canvas(), PageTabRect(ActivePageIndex()), true);
            hoverClosedButton_ = false;
        } else if (!hoverClosedButton_ && in) {
            DrawCloseButtonHot(Canvas(), PageTabRect(ActivePageIndex()));
            hoverClosedButton_ = true;
        }
    }
}

void TExtPageControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_DIALOGKEY: {
        TWinControl* focused = FindControl(GetFocus());
        if (Message.WParam == VK_TAB && (KeyboardStateToShiftState() & ssCtrl) &&
            (Focused() || (focused && ContainsControl(focused)))) {
            SelectNextPage((KeyboardStateToShiftState() & ssShift) == 0);
            Message.Result = 1;
            return;
        }
        break;
    }
    case CM_MOUSELEAVE:
        if (tabBackGround_->Empty() && hoverTab_ != -1) InvalidateTab(hoverTab_);
        hoverTab_ = -1;
        break;
    default:
        break;
    }
    TCustomTabControl::WndProc(Message);
}

void TExtPageControl::Paint()
{
    TCustomTabControl::Paint();
    if (!tabBorder3D_) DrawTabs(Canvas());
}

} // namespace controls
