// What a drop-down control needs of the layer: activation messages naming the other window,
// owner windows in the parent walk, the size drag of a borderless window with WM_SIZING, fake
// screens, clipboard keys through WndProc, character from point, drawing over an edit, the
// parent's background in a child and the track bar.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "plat/Clipbrd.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

struct Heard {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// A borderless form that records activation messages and answers the bottom-right corner as
// sizing border; WM_SIZING keeps the width a multiple of 10.
class TRecordingForm : public TForm {
public:
    explicit TRecordingForm(TComponent* AOwner) : TForm(AOwner) { SetBorderStyle(bsNone); }
    std::vector<Heard> heard;
    int sizings = 0;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_ACTIVATE || Message.Msg == WM_NCACTIVATE)
            heard.push_back({Message.Msg, Message.WParam, Message.LParam});
        if (Message.Msg == WM_NCHITTEST) {
            TForm::WndProc(Message);
            const TPoint p = ScreenToClient(TPoint{static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(Message.LParam))),
                                                   static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(Message.LParam)))});
            if (p.X > Width() - 10 && p.Y > Height() - 10) Message.Result = HTBOTTOMRIGHT;
            return;
        }
        if (Message.Msg == WM_SIZING) {
            ++sizings;
            EXPECT_EQ(Message.WParam, WMSZ_BOTTOMRIGHT);
            auto* r = reinterpret_cast<TRect*>(Message.LParam);
            r->Right = r->Left + r->Width() / 10 * 10;
        }
        TForm::WndProc(Message);
    }
};

// An edit that refuses pastes and counts the clipboard messages reaching WndProc.
class TGuardedEdit : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<UINT> clipboard;
    bool refusePaste = true;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_PASTE || Message.Msg == WM_COPY || Message.Msg == WM_CUT) {
            clipboard.push_back(Message.Msg);
            if (Message.Msg == WM_PASTE && refusePaste) return;
        }
        TEdit::WndProc(Message);
    }
};

// A child that shows its parent's background and a black dot at (0, 0).
class TSeeThrough : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        DrawParentBackground(this, Canvas());
        Canvas()->Brush()->SetColor(clBlack);
        Canvas()->FillRect(Rect(0, 0, 1, 1));
    }
};

class PopupServicesTest : public pt::UiTest {
protected:
    void TearDown() override
    {
        pt::ClearFakeScreens();
        pt::UiTest::TearDown();
    }
};

TEST_F(PopupServicesTest, ActivationTellsBothFormsTheOtherWindow)
{
    TRecordingForm a(nullptr), b(nullptr);
    a.SetBounds(0, 0, 100, 100);
    b.SetBounds(200, 0, 100, 100);
    a.Show();
    b.Show();
    pt::ActivateForm(&a);
    a.heard.clear();
    b.heard.clear();
    pt::ActivateForm(&b);
    ASSERT_EQ(a.heard.size(), 2u);
    EXPECT_EQ(a.heard[0].msg, WM_NCACTIVATE);
    EXPECT_EQ(a.heard[0].wParam, 0u);
    EXPECT_EQ(a.heard[1].msg, WM_ACTIVATE);
    EXPECT_EQ(a.heard[1].wParam, WA_INACTIVE);
    EXPECT_EQ(static_cast<HWND>(a.heard[1].lParam), b.Handle());
    ASSERT_EQ(b.heard.size(), 2u);
    EXPECT_EQ(b.heard[0].msg, WM_NCACTIVATE);
    EXPECT_EQ(b.heard[0].wParam, 1u);
    EXPECT_EQ(b.heard[1].wParam, WA_ACTIVE);
    EXPECT_EQ(static_cast<HWND>(b.heard[1].lParam), a.Handle());
    EXPECT_TRUE(b.Active());
    // Activating the active form again sends nothing.
    b.heard.clear();
    pt::ActivateForm(&b);
    EXPECT_TRUE(b.heard.empty());
}

TEST_F(PopupServicesTest, TheParentWalkContinuesThroughOwnerWindows)
{
    TForm owner(nullptr);
    TPanel* panel = new TPanel(&owner);
    panel->SetParent(&owner);
    {
        TForm popup(nullptr);
        popup.SetPopupParent(&owner);
        EXPECT_EQ(OwnerWindowOf(panel), &owner);
        EXPECT_EQ(OwnerWindowOf(&popup), &owner);
        EXPECT_EQ(OwnerWindowOf(&owner), nullptr);
    }
    // An owner that goes away is forgotten.
    TForm popup(nullptr);
    {
        TForm shortLived(nullptr);
        popup.SetPopupParent(&shortLived);
    }
    EXPECT_EQ(popup.PopupParent(), nullptr);
}

TEST_F(PopupServicesTest, TheBottomRightCornerDragsTheSizeWithSizingAndMinimum)
{
    TRecordingForm f(nullptr);
    f.SetBounds(100, 100, 120, 80);
    f.SetMinimumSize(80, 50);
    f.Show();
    pt::Press(&f, 117, 77);
    pt::Move(&f, 117 + 44, 77 + 21);
    EXPECT_GE(f.sizings, 1);
    EXPECT_EQ(f.Width(), 160);  // 164 kept to a multiple of 10 by WM_SIZING
    EXPECT_EQ(f.Height(), 101);
    pt::Move(&f, 10, 10);
    EXPECT_EQ(f.Width(), 80);
    EXPECT_EQ(f.Height(), 50);
    pt::Release(&f, 10, 10);
    pt::Move(&f, 60, 60);
    EXPECT_EQ(f.Width(), 80);  // the drag ended with the release
    // A press inside is no drag.
    pt::Press(&f, 20, 20);
    pt::Move(&f, 70, 40);
    pt::Release(&f, 70, 40);
    EXPECT_EQ(f.Width(), 80);
}

TEST_F(PopupServicesTest, FakeScreensGiveTheNearestMonitorsWorkArea)
{
    pt::SetFakeScreens({{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 738)},
                        {Rect(-800, 0, 0, 600), Rect(-800, 20, 0, 600)}});
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(Screen->WorkAreaRect(), Rect(0, 0, 1024, 738));
    EXPECT_EQ(Screen->MonitorWorkAreaRect(TPoint{500, 500}), Rect(0, 0, 1024, 738));
    EXPECT_EQ(Screen->MonitorWorkAreaRect(TPoint{-10, 5}), Rect(-800, 20, 0, 600));
    EXPECT_EQ(Screen->MonitorWorkAreaRect(TPoint{-2000, 300}), Rect(-800, 20, 0, 600));
    EXPECT_EQ(Screen->MonitorRect(TPoint{3000, 300}), Rect(0, 0, 1024, 768));
}

TEST_F(PopupServicesTest, ClipboardKeysReachWndProcWhichMayRefuseThem)
{
    TForm f(nullptr);
    f.SetBounds(0, 0, 200, 100);
    auto* e = new TGuardedEdit(&f);
    e->SetParent(&f);
    e->SetBounds(10, 10, 150, 21);
    f.Show();
    e->SetFocus();
    e->SetText(u"abc");
    e->SelectAll();
    Clipboard().SetAsText(u"pasted");
    pt::Key('V', ssCtrl);
    EXPECT_EQ(e->Text(), u"abc");
    pt::Key(VK_INSERT, ssShift);
    EXPECT_EQ(e->Text(), u"abc");
    pt::Key('C', ssCtrl);
    EXPECT_EQ(Clipboard().AsText(), u"abc");
    e->refusePaste = false;
    e->SelectAll();
    Clipboard().SetAsText(u"pasted");
    pt::Key('V', ssCtrl);
    EXPECT_EQ(e->Text(), u"pasted");
    e->SelectAll();
    pt::Key('X', ssCtrl);
    EXPECT_EQ(e->Text(), u"");
    EXPECT_EQ(e->clipboard, (std::vector<UINT>{WM_PASTE, WM_PASTE, WM_COPY, WM_PASTE, WM_CUT}));
}

TEST_F(PopupServicesTest, CharacterFromPointAndTheOverlay)
{
    TForm f(nullptr);
    f.SetBounds(0, 0, 200, 100);
    auto* e = new TEdit(&f);
    e->SetParent(&f);
    e->SetBounds(10, 10, 150, 21);
    e->SetText(u"abcdef");
    f.Show();
    pt::ProcessEvents();
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(e->Perform(EM_CHARFROMPOS, 0, MakeLParam(0, 5)))), 0);
    EXPECT_EQ(LoWord(static_cast<std::uintptr_t>(e->Perform(EM_CHARFROMPOS, 0, MakeLParam(140, 5)))), 6);

    TCanvas* c = e->BeginOverlay();
    ASSERT_NE(c, nullptr);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 150, 1));   // over the border
    c->FillRect(Rect(60, 8, 64, 12));  // over the text area
    e->EndOverlay();
    pt::ProcessEvents();
    auto grab = pt::Grab(e);
    EXPECT_EQ(pt::PixelOf(*grab, 5, 0), clRed);
    EXPECT_EQ(pt::PixelOf(*grab, 61, 9), clRed);
    EXPECT_NE(pt::PixelOf(*grab, 80, 9), clRed);  // transparent where nothing was drawn
    // The edit's next paint clears it.
    e->Invalidate();
    pt::ProcessEvents();
    grab = pt::Grab(e);
    EXPECT_NE(pt::PixelOf(*grab, 5, 0), clRed);
    EXPECT_NE(pt::PixelOf(*grab, 61, 9), clRed);
}

TEST_F(PopupServicesTest, AChildShowsItsParentsBackground)
{
    TForm f(nullptr);
    f.SetBounds(0, 0, 200, 100);
    auto* panel = new TPanel(&f);
    panel->SetParent(&f);
    panel->SetBounds(10, 10, 150, 60);
    panel->SetColor(0x336699);
    panel->SetBevelOuter(bvNone);
    auto* child = new TSeeThrough(panel);
    child->SetParent(panel);
    child->SetBounds(20, 20, 30, 20);
    f.Show();
    pt::ProcessEvents();
    auto grab = pt::Grab(child);
    EXPECT_EQ(pt::PixelOf(*grab, 0, 0), clBlack);
    EXPECT_EQ(pt::PixelOf(*grab, 15, 10), 0x336699);
}

TEST_F(PopupServicesTest, TrackBarClampsAndReportsEveryChange)
{
    TForm f(nullptr);
    f.SetBounds(0, 0, 200, 100);
    auto* t = new TTrackBar(&f);
    t->SetParent(&f);
    t->SetBounds(10, 10, 150, 30);
    std::vector<int> changes;
    t->OnChange = [&](TObject*) { changes.push_back(t->Position()); };
    f.Show();
    t->SetFocus();
    t->SetPosition(25);
    EXPECT_EQ(t->Position(), 10);
    t->SetPosition(-3);
    EXPECT_EQ(t->Position(), 0);
    for (int i = 0; i < 11; ++i) pt::Key(VK_DOWN);
    EXPECT_EQ(t->Position(), 10);
    pt::Key(VK_PRIOR);
    EXPECT_EQ(t->Position(), 8);
    t->SetMax(5);
    EXPECT_EQ(t->Position(), 5);
    EXPECT_EQ(changes, (std::vector<int>{10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 8, 5}));
}

} // namespace
