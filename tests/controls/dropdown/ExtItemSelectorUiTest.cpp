// The item selector on a shown form: the panel's size and item places, painting of the hot and
// selected faces, mouse selection and hot tracking, scrolling an item into view, thumb
// tracking, and a panel of 10,000 items backed and painted only where it shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "ExtItemSelector.h"
#include "TestSupport.h"
#include "plat/Forms.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

class ItemSelectorUiTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 400, 400);
        sel = new TExtCustomItemSelector(host.get());
        sel->SetParent(host.get());
        sel->SetBorderStyle(bsNone);
        sel->SetBounds(10, 10, 200, 200);
        sel->SetColor(clWhite);
        host->Show();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }
    // Count items of a fixed size (the size event), captions "Item <i>".
    void Fill(int Count, TSize Size)
    {
        sel->OnItemSize = [Size](TObject*, TSize& s) { s = Size; };
        sel->Items()->BeginUpdate();
        for (int i = 0; i < Count; ++i) sel->Items()->Add()->SetCaption(u"Item " + IntToStr(i));
        sel->Items()->EndUpdate();
        sel->UpdateSelectorPanel();
        pt::ProcessEvents();
    }
    TCustomItemSelector* panel() const { return sel->SelectorPanel(); }
    std::unique_ptr<TForm> host;
    TExtCustomItemSelector* sel = nullptr;
};

TEST_F(ItemSelectorUiTest, PanelMayOnlyBelongToASelector)
{
    EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { TCustomItemSelector p(host.get()); }, u"Invalid parent"));
    EXPECT_TRUE(testsupport::ThrowsWith<Exception>([&] { TCustomItemSelector p(nullptr); }, u"Invalid parent"));
}

TEST_F(ItemSelectorUiTest, EmptySelectorAndColumnLayout)
{
    TSize s;
    sel->GetSelectorPanelSize(s);
    EXPECT_EQ(s.cx, 100);
    EXPECT_EQ(s.cy, 50);
    EXPECT_EQ(sel->GetVisibleItemCount(), 0);
    EXPECT_FALSE(sel->LookupItem(u"I"));

    sel->SetColumns(2);
    sel->SetColumns(0);  // ignored
    EXPECT_EQ(sel->Columns(), 2);
    Fill(5, {40, 20});
    sel->GetSelectorPanelSize(s);
    EXPECT_EQ(s.cx, 2 + 80 + 2);
    EXPECT_EQ(s.cy, 2 + 60 + 2);
    TRect r;
    panel()->GetItemRect(3, r);
    EXPECT_EQ(r, Rect(42, 22, 82, 42));
    panel()->GetItemRect(5, r);
    EXPECT_EQ(r, (TRect{-1, -1, -1, -1}));
    EXPECT_EQ(panel()->ItemAtPos(45, 25), 3);
    EXPECT_EQ(panel()->ItemAtPos(1, 1), -1);
    // 200 px over 20 px items, 2 per row.
    EXPECT_EQ(sel->GetVisibleItemCount(), 20);
    // A size event answering height 0 counts no visible item (no division by zero).
    sel->OnItemSize = [](TObject*, TSize& sz) { sz = {40, 0}; };
    sel->UpdateSelectorPanel();
    EXPECT_EQ(sel->GetVisibleItemCount(), 0);
}

TEST_F(ItemSelectorUiTest, LookupTakesPlainTrimmedUpperCasedCaptions)
{
    Fill(3, {80, 20});
    sel->Items()->GetItem(0)->SetCaption(u"xyz");
    sel->Items()->GetItem(1)->SetCaption(u"  <b>ab</b>c");
    sel->Items()->GetItem(2)->SetCaption(u"abd");
    struct Case {
        const char16_t* text;
        bool found;
        int index;
    };
    const Case cases[] = {{u"AB", true, 1}, {u"ab", false, -1}, {u"XY", true, 0}, {u"Q", false, -1}};
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Case& c = cases[k];
        sel->SetItemIndex(-1);
        EXPECT_EQ(sel->LookupItem(c.text), c.found) << k;
        EXPECT_EQ(sel->ItemIndex(), c.index) << k;
    }
}

TEST_F(ItemSelectorUiTest, ClickSelectsMoveMakesHotAndLeavingClears)
{
    Fill(4, {80, 20});
    int selects = 0;
    sel->OnItemSelect = [&](TObject* s) {
        EXPECT_EQ(s, sel);
        ++selects;
    };
    pt::Click(panel(), 10, 2 + 20 + 5);
    EXPECT_EQ(sel->ItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    pt::Move(panel(), 10, 2 + 60 + 5);
    EXPECT_EQ(sel->ItemHot(), 3);
    pt::Move(panel(), 1, 1);  // the panel's margin, no item
    EXPECT_EQ(sel->ItemHot(), -1);
    pt::Move(panel(), 10, 5);
    EXPECT_EQ(sel->ItemHot(), 0);
    pt::MoveAway();
    EXPECT_EQ(sel->ItemHot(), -1);
    // Selecting the selected item again raises the event again.
    sel->SetItemIndex(1);
    EXPECT_EQ(selects, 2);
    // Keyboard steps do not wrap.
    sel->SelectLast();
    sel->SelectNext();
    EXPECT_EQ(sel->ItemIndex(), 3);
    sel->SelectFirst();
    sel->SelectPrevious();
    EXPECT_EQ(sel->ItemIndex(), 0);
    EXPECT_EQ(sel->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTALLKEYS);
}

TEST_F(ItemSelectorUiTest, HotAndSelectedFacesAndTheOwnSelectedBorder)
{
    Fill(4, {100, 30});
    TItemAppearance* a = sel->ItemAppearance();
    sel->SetItemIndex(0);
    panel()->SetItemHot(2);
    pt::ProcessEvents();
    auto shot = pt::Grab(sel);
    pt::SaveGrab(sel, u"item_selector_faces.png");
    // Office 2007 selected face (item 0 at y 2..32, bevel bottom line at 30): outer frame in
    // BorderColor, upper line BorderColorTop, the upper half's face from ColorSelected, the
    // lower half (from y 16) from the mirror colour; an untouched item in the panel colour.
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 2), a->BorderColor);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 3), a->BorderColorTop);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 4), a->ColorSelected);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 16), a->ColorMirrorSelected);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 2 + 60 + 2), a->ColorHot);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 2 + 30 + 15), clWhite);

    // An own selected border: a plain gradient from ColorSelected in a 1-px frame of that
    // colour, without the top, bottom and edge lines.
    a->BorderColorSelected = 0x0000FF;
    sel->SetItemIndex(0);
    pt::ProcessEvents();
    shot = pt::Grab(sel);
    EXPECT_EQ(pt::PixelOf(*shot, 2, 2), 0x0000FF);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 2), 0x0000FF);
    EXPECT_EQ(pt::PixelOf(*shot, 2 + 50, 2 + 29), 0x0000FF);
    // Inside the frame the 80-band gradient runs from ColorSelected at the top to
    // ColorSelectedTo at the bottom, with no bevel lines or mirror half.
    auto near = [](TColor c, TColor want) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((c >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 12) return false;
        return true;
    };
    EXPECT_TRUE(near(pt::PixelOf(*shot, 2 + 50, 3), a->ColorSelected));
    EXPECT_TRUE(near(pt::PixelOf(*shot, 2 + 50, 30), a->ColorSelectedTo));
    EXPECT_NE(pt::PixelOf(*shot, 2 + 50, 3), a->BorderColorTop);
    EXPECT_NE(pt::PixelOf(*shot, 2 + 50, 16), a->ColorMirrorSelected);
}

TEST_F(ItemSelectorUiTest, CaptionBelowAPictureStartsGapPixelsUnderIt)
{
    auto item = sel->Items()->Add();
    item->SetCaption(u"WWW");
    item->Image()->Bitmap()->SetSize(16, 32);
    item->Image()->Bitmap()->Canvas()->Brush()->SetColor(0x00FF00);
    item->Image()->Bitmap()->Canvas()->FillRect(Rect(0, 0, 16, 32));
    sel->SetItemLayout(ilCaptionBottom);
    sel->UpdateSelectorPanel();
    pt::ProcessEvents();
    TRect r;
    panel()->GetItemRect(0, r);
    auto shot = pt::Grab(sel);
    pt::SaveGrab(sel, u"item_selector_caption_bottom.png");
    const int imageTop = r.Top + 4;
    const int imageLeft = r.Left + 4 + (r.Width() - 8 - 16) / 2;
    EXPECT_EQ(pt::PixelOf(*shot, imageLeft + 8, imageTop), 0x00FF00);
    EXPECT_EQ(pt::PixelOf(*shot, imageLeft + 8, imageTop + 31), 0x00FF00);
    // Nothing in the 4-px gap; the caption's ink below it.
    bool gapInk = false, captionInk = false;
    for (int x = r.Left; x < r.Right; ++x) {
        for (int y = imageTop + 32; y < imageTop + 36; ++y) gapInk |= pt::PixelOf(*shot, x, y) != clWhite;
        for (int y = imageTop + 36; y < r.Bottom; ++y) captionInk |= pt::PixelOf(*shot, x, y) != clWhite;
    }
    EXPECT_FALSE(gapInk);
    EXPECT_TRUE(captionInk);
}

TEST_F(ItemSelectorUiTest, ScrollItemInViewKeepsTheMarginAndTheThumbMovesItemsWhileDragged)
{
    Fill(100, {150, 20});
    ASSERT_TRUE(sel->VertScrollBar()->IsScrollBarVisible());
    sel->VertScrollBar()->SetMargin(5);
    sel->SetItemIndex(50);
    TRect r;
    panel()->GetItemRect(50, r);
    EXPECT_EQ(r.Bottom + 5 + panel()->Top(), sel->ClientHeight());
    sel->SetItemIndex(10);
    panel()->GetItemRect(10, r);
    EXPECT_EQ(r.Top - 5 + panel()->Top(), 0);
    // Items shown already do not scroll.
    const int pos = sel->VertScrollBar()->Position();
    sel->SetItemIndex(12);
    EXPECT_EQ(sel->VertScrollBar()->Position(), pos);

    // Thumb drag: the panel follows each move (the selector tracks though the bar's
    // Tracking is off).
    EXPECT_FALSE(sel->VertScrollBar()->Tracking());
    const int x = sel->Width() - 8;
    TScrollInfo si;
    si.fMask = SIF_ALL;
    GetScrollInfo(sel->Handle(), SB_VERT, si);
    // On the thumb: the track runs between the two 17-px arrows.
    const int track = sel->ClientHeight() - 2 * 17;
    const int thumbY = 17 + static_cast<int>(static_cast<long long>(track) * si.nPos / (si.nMax + 1)) + 3;
    pt::Press(sel, x, thumbY);
    pt::Move(sel, x, thumbY + 50);
    const int during = sel->VertScrollBar()->Position();
    EXPECT_GT(during, pos);
    EXPECT_EQ(panel()->Top(), -during);
    pt::Release(sel, x, thumbY + 50);
}

TEST_F(ItemSelectorUiTest, TenThousandItemsAreBackedAndPaintedOnlyWhereTheyShow)
{
    int drawn = 0;
    Fill(10000, {150, 22});
    EXPECT_EQ(panel()->Height(), 2 + 10000 * 22 + 2);
    sel->OnDrawItem = [&](TObject*, TCanvas* c, TRect r, int index) {
        ++drawn;
        c->Font()->SetColor(clBlack);
        c->TextOut(r.Left + 4, r.Top + 4, u"#" + IntToStr(index));
    };
    sel->SelectLast();
    drawn = 0;
    panel()->Invalidate();
    pt::ProcessEvents();
    auto shot = pt::Grab(sel);
    pt::SaveGrab(sel, u"item_selector_last_of_10000.png");
    const TRect backed = pt::BackedRect(panel());
    EXPECT_LE(backed.Width(), sel->ClientWidth());
    EXPECT_EQ(backed.Height(), sel->ClientHeight());
    // 200 px show 10 rows (parts included): the repaint draws no more than those.
    EXPECT_GT(drawn, 0);
    EXPECT_LE(drawn, 11);
    TRect r;
    panel()->GetItemRect(9999, r);
    const int y = r.Top + panel()->Top();
    EXPECT_GE(y, 0);
    EXPECT_LE(r.Bottom + panel()->Top(), sel->ClientHeight());
    EXPECT_EQ(pt::PixelOf(*shot, 50, y), sel->ItemAppearance()->BorderColor);
}

} // namespace
