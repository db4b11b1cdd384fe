// Pages, tabs and activation of TExtPageControl: tab texts, the mapping between pages and
// tabs when some are hidden, activation when the active tab is hidden, disabled or closed,
// Ctrl+Tab cycling, the change checks and the close box.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtPageControl.h"
#include "plat/Exception.h"
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "TestSupport.h"

using namespace controls;
using namespace plat;
namespace pt = plat::testing;

namespace {

std::string Utf8(const String& s) { return std::string(s.begin(), s.end()); }

class ExtPageControlTest : public pt::UiTest {
public:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(420, 260);
        pc = new TExtPageControl(form.get());
        pc->SetParent(form.get());
        pc->SetBounds(10, 10, 400, 240);
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }

    // Pages named after their captions ("A", "B" ...); the caption carries two trailing
    // blanks so the tab text is the name.
    std::vector<TExtTabSheet*> AddPages(const char* names)
    {
        std::vector<TExtTabSheet*> out;
        for (const char* p = names; *p; ++p) {
            auto* s = new TExtTabSheet(form.get());
            const String name(1, static_cast<char16_t>(*p));
            s->SetName(name);
            s->SetCaption(name + u"  ");
            s->SetExtPageControl(pc);
            out.push_back(s);
        }
        return out;
    }

    TExtTabSheet* Page(char name) const
    {
        return dynamic_cast<TExtTabSheet*>(form->FindComponent(String(1, static_cast<char16_t>(name))));
    }

    std::string ActiveName() const { return pc->ActivePage() ? Utf8(pc->ActivePage()->Name()) : "-"; }

    // Centre of a page's tab.
    TPoint TabCentre(int pageIndex) const
    {
        const TRect r = pc->PageTabRect(pageIndex);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    void ClickTab(int pageIndex)
    {
        const TPoint p = TabCentre(pageIndex);
        pt::Click(pc, p.X, p.Y);
        pt::ProcessEvents();
    }

    std::unique_ptr<TForm> form;
    TExtPageControl* pc = nullptr;
};

TEST_F(ExtPageControlTest, TabTextFollowsCaptionAndCloseBox)
{
    struct Case {
        String caption;
        bool showClose;
        String tabText;
    };
    const Case cases[] = {
        {u"Nodes     ", false, u"Nodes   "},
        {u"Nodes     ", true, u"Nodes      "},
        {u"X", false, u""},
        {u"", false, u""},
        {u"Ab", true, u"Ab "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.caption) + (c.showClose ? " with close box" : ""));
        auto* s = new TExtTabSheet(form.get());
        s->SetExtPageControl(pc);
        s->SetShowClose(c.showClose);
        s->SetCaption(c.caption);
        EXPECT_EQ(s->TabCaption(), c.tabText);
        EXPECT_EQ(pc->TabText(s->TabIndex()), c.tabText);
        EXPECT_EQ(s->Caption(), c.caption);
        // Switching the close box re-derives the text from the full caption.
        s->SetShowClose(!c.showClose);
        s->SetShowClose(c.showClose);
        EXPECT_EQ(pc->TabText(s->TabIndex()), c.tabText);
        delete s;
    }
}

TEST_F(ExtPageControlTest, HiddenPagesShiftTabIndexesAndPositions)
{
    auto p = AddPages("ABC");
    p[0]->SetTabVisible(false);
    EXPECT_EQ(p[0]->TabIndex(), -1);
    EXPECT_EQ(p[1]->TabIndex(), 0);
    EXPECT_EQ(p[2]->TabIndex(), 1);
    EXPECT_EQ(pc->TabCount(), 2);
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->PageTabRect(2), pc->TabRect(1));
    const TRect second = pc->TabRect(1);
    EXPECT_EQ(pc->PageAtPos(second.Left + 3, second.Top + 3), 2);
    EXPECT_EQ(pc->PageAtPos(-5, -5), -1);
    EXPECT_EQ(pc->TabObject(0), p[1]);
    // Showing it again puts the tab back in page order.
    p[0]->SetTabVisible(true);
    EXPECT_EQ(pc->TabObject(0), p[0]);
    EXPECT_EQ(p[2]->TabIndex(), 2);
}

TEST_F(ExtPageControlTest, FindNextPage)
{
    auto p = AddPages("ABCD");
    p[0]->SetTabVisible(false);
    struct Case {
        const char* what;
        TExtTabSheet* from;
        bool forward;
        bool checkVisible;
        char expected;  // 0 = none
    };
    const Case cases[] = {
        {"from none forward: first visible", nullptr, true, true, 'B'},
        {"from none backward: last visible", nullptr, false, true, 'D'},
        {"forward wraps to the first visible", p[3], true, true, 'B'},
        {"backward skips the hidden one", p[1], false, true, 'D'},
        {"hidden ones count without the check", p[3], true, false, 'A'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TExtTabSheet* r = pc->FindNextPage(c.from, c.forward, c.checkVisible);
        EXPECT_EQ(r, c.expected ? Page(c.expected) : nullptr);
    }
    for (auto* s : p) s->SetTabVisible(false);
    EXPECT_EQ(pc->FindNextPage(nullptr, true, true), nullptr);
    p[2]->SetTabVisible(true);
    EXPECT_EQ(pc->FindNextPage(p[2], true, true), p[2]);
}

TEST_F(ExtPageControlTest, ActivationWhenTheActiveTabGoesAway)
{
    struct Case {
        const char* what;
        const char* pages;
        char active;
        std::function<void(ExtPageControlTest&)> act;
        std::string expected;  // name of the active page, "-" for none
        int tabIndex;
    };
    const Case cases[] = {
        {"hidden: the tab now at its place", "ABC", 'B', [](ExtPageControlTest& t) { t.Page('B')->SetTabVisible(false); }, "C", 1},
        {"hidden last tab: the one before", "ABC", 'C', [](ExtPageControlTest& t) { t.Page('C')->SetTabVisible(false); }, "B", 1},
        {"hidden, the next is disabled: the enabled one after it", "ABCD", 'B',
         [](ExtPageControlTest& t) {
             t.Page('C')->SetTabEnable(false);
             t.Page('B')->SetTabVisible(false);
         },
         "D", 2},
        {"detached: the next page", "ABC", 'A', [](ExtPageControlTest& t) { t.Page('A')->SetExtPageControl(nullptr); }, "B", 0},
        {"destroyed: the next page", "ABC", 'C', [](ExtPageControlTest& t) { delete t.Page('C'); }, "A", 0},
        {"detaching another page keeps the active one", "ABC", 'A', [](ExtPageControlTest& t) { t.Page('B')->SetExtPageControl(nullptr); }, "A", 0},
        {"the only page detached: none", "A", 'A', [](ExtPageControlTest& t) { t.Page('A')->SetExtPageControl(nullptr); }, "-", -1},
        {"a disabled page is not activated", "ABC", 'A',
         [](ExtPageControlTest& t) {
             t.Page('B')->SetTabEnable(false);
             t.pc->SetActivePage(t.Page('B'));
         },
         "A", 0},
        {"a click on a disabled tab changes nothing", "ABC", 'A',
         [](ExtPageControlTest& t) {
             t.Page('B')->SetTabEnable(false);
             t.ClickTab(1);
         },
         "A", 0},
        {"a click on an enabled tab activates it", "ABC", 'A', [](ExtPageControlTest& t) { t.ClickTab(2); }, "C", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = pc->PageCount() - 1; i >= 0; --i) delete pc->GetPage(i);
        AddPages(c.pages);
        pc->SetActivePage(Page(c.active));
        ASSERT_EQ(ActiveName(), std::string(1, c.active));
        c.act(*this);
        pt::ProcessEvents();
        EXPECT_EQ(ActiveName(), c.expected);
        EXPECT_EQ(pc->TabIndex(), c.tabIndex);
        if (pc->ActivePage()) {
            EXPECT_TRUE(pc->ActivePage()->Visible());
            EXPECT_EQ(pc->ActivePage()->TabIndex(), pc->TabIndex());
        }
        for (auto* s : {Page('A'), Page('B'), Page('C'), Page('D')})
            if (s && s != pc->ActivePage() && s->ExtPageControl() == pc) {
                EXPECT_FALSE(s->Visible()) << Utf8(s->Name());
            }
        for (char n : std::string("ABCD"))
            if (TExtTabSheet* s = Page(n); s && s->ExtPageControl() != pc) delete s;
    }
}

TEST_F(ExtPageControlTest, RefusedChangesAndTheirErrors)
{
    auto p = AddPages("ABC");
    pc->SetActivePage(p[0]);
    // The active page cannot be disabled; the others can.
    try {
        p[0]->SetTabEnable(false);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Can not disable active tab.");
    }
    EXPECT_TRUE(p[0]->TabEnable());
    p[1]->SetTabEnable(false);
    EXPECT_FALSE(p[1]->TabEnable());

    try {
        p[2]->SetPageIndex(3);
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"3 is an invalid PageIndex value.  PageIndex must be between 0 and 2");
    }
    EXPECT_TRUE(testsupport::ThrowsWith<EListError>([&] { p[2]->SetPageIndex(-1); }, u"List index out of bounds (-1)"));
    EXPECT_EQ(p[2]->PageIndex(), 2);

    pc->SetTabStyle(tsDotNet);
    try {
        pc->SetTabSplitLine(true);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"TabSplitLine must be false when TabStyle is tsDotNet");
    }
    EXPECT_FALSE(pc->TabSplitLine());
}

TEST_F(ExtPageControlTest, MovingAPageMovesItsTab)
{
    auto p = AddPages("ABC");
    p[1]->SetTabVisible(false);
    p[2]->SetPageIndex(0);
    EXPECT_EQ(pc->GetPage(0), p[2]);
    EXPECT_EQ(pc->TabObject(0), p[2]);
    EXPECT_EQ(pc->TabObject(1), p[0]);
    EXPECT_EQ(pc->TabText(0), u"C");
}

TEST_F(ExtPageControlTest, CanChangeComesBeforeOnChanging)
{
    auto p = AddPages("ABC");
    pc->SetActivePage(p[0]);
    std::vector<std::string> log;
    bool allow = false;
    pc->OnCanChange = [&](TObject*, int from, int to, bool& ok) {
        log.push_back("can " + std::to_string(from) + ">" + std::to_string(to));
        ok = allow;
    };
    pc->OnChanging = [&](TObject*, bool&) { log.push_back("changing"); };
    pc->OnChange = [&](TObject*) { log.push_back("change"); };
    ClickTab(2);
    EXPECT_EQ(ActiveName(), "A");
    EXPECT_EQ(log, (std::vector<std::string>{"can 0>2"}));
    log.clear();
    allow = true;
    ClickTab(2);
    EXPECT_EQ(ActiveName(), "C");
    EXPECT_EQ(log, (std::vector<std::string>{"can 0>2", "changing", "change"}));
}

TEST_F(ExtPageControlTest, CtrlTabCyclesOverShowingEnabledPages)
{
    struct Case {
        const char* what;
        const char* hidden;
        const char* disabled;
        const char* keys;  // '+' Ctrl+Tab, '-' Ctrl+Shift+Tab
        const char* expected;  // active page after each key
    };
    const Case cases[] = {
        {"forward wraps", "", "", "++++", "BCDA"},
        {"backward wraps", "", "", "--", "DC"},
        {"hidden pages are skipped", "BD", "", "+++", "CAC"},
        {"disabled pages are skipped", "", "C", "++-", "BDB"},
        {"hidden and disabled", "B", "D", "++", "CA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int i = pc->PageCount() - 1; i >= 0; --i) delete pc->GetPage(i);
        AddPages("ABCD");
        pc->SetActivePage(Page('A'));
        for (const char* h = c.hidden; *h; ++h) Page(*h)->SetTabVisible(false);
        for (const char* d = c.disabled; *d; ++d) Page(*d)->SetTabEnable(false);
        pc->SetFocus();
        pt::ProcessEvents();
        std::string got;
        for (const char* k = c.keys; *k; ++k) {
            pt::Key(VK_TAB, *k == '+' ? ssCtrl : ssCtrl | ssShift);
            pt::ProcessEvents();
            got += ActiveName();
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(ExtPageControlTest, CtrlTabAsksTheChangeCheck)
{
    AddPages("AB");
    pc->SetActivePage(Page('A'));
    pc->OnCanChange = [](TObject*, int, int, bool& ok) { ok = false; };
    pc->SetFocus();
    pt::Key(VK_TAB, ssCtrl);
    pt::ProcessEvents();
    EXPECT_EQ(ActiveName(), "A");
}

TEST_F(ExtPageControlTest, SettingNoActivePageLeavesThePageShown)
{
    auto p = AddPages("AB");
    pc->SetActivePage(p[1]);
    EXPECT_FALSE(p[0]->Visible());
    pc->SetActivePage(nullptr);
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
    EXPECT_TRUE(p[1]->Visible());
    pc->SetActivePageIndex(0);
    EXPECT_EQ(pc->ActivePage(), p[0]);
    pc->SetActivePageIndex(7);
    EXPECT_EQ(pc->ActivePage(), nullptr);
}

TEST_F(ExtPageControlTest, BoldActiveFontPadsOnlyTheActiveTab)
{
    auto p = AddPages("AB");
    for (auto* s : p) s->SetCaption(u"Variables  ");
    pc->SetActivePage(p[0]);
    EXPECT_EQ(pc->TabText(0), u"Variables");
    TFont bold(*pc->ActiveFont());
    bold.SetStyle({fsBold});
    pc->SetActiveFont(&bold);
    const String padded = pc->TabText(0);
    ASSERT_GT(padded.size(), 9u);
    EXPECT_EQ(padded.substr(0, 9), u"Variables");
    EXPECT_EQ(padded.find_first_not_of(u' ', 9), String::npos);
    EXPECT_EQ(pc->TabText(1), u"Variables");
    // The padding moves with the activation.
    pc->SetActivePage(p[1]);
    EXPECT_EQ(pc->TabText(0), u"Variables");
    EXPECT_EQ(pc->TabText(1), padded);
}

TEST_F(ExtPageControlTest, VersionIsReadOnly)
{
    EXPECT_EQ(pc->Version(), u"1.4.0.0");
    pc->SetVersion(u"9.9");
    EXPECT_EQ(pc->Version(), u"1.4.0.0");
}

TEST_F(ExtPageControlTest, DefaultColoursReachPagesThatKeptTheOldDefault)
{
    auto p = AddPages("AB");
    EXPECT_EQ(p[0]->TabColor(), clBtnFace);
    p[1]->SetTabColor(0x123456);
    pc->SetDefaultTabColor(0xEDF7F8);
    EXPECT_EQ(p[0]->TabColor(), 0xEDF7F8);
    EXPECT_EQ(p[1]->TabColor(), 0x123456);
    // A page attached later inherits the default.
    auto q = AddPages("C");
    EXPECT_EQ(q[0]->TabColor(), 0xEDF7F8);
}

// ---- close box -------------------------------------------------------------------------

struct HitCase {
    const char* what;
    TTabPosition position;
    int dx, dy;  // offset from the box's base corner (see below)
    bool hit;
};

TEST_F(ExtPageControlTest, CloseBoxHitArea)
{
    // Margins move the box; its left and top edges are inside, right and bottom outside.
    pc->TabMargin()->SetLeftMargin(3);
    pc->TabMargin()->SetTopMargin(4);
    auto p = AddPages("AB");
    const HitCase cases[] = {
        {"top: first pixel", tpTop, 0, 0, true},
        {"top: last pixel", tpTop, 11, 10, true},
        {"top: right edge", tpTop, 12, 5, false},
        {"top: bottom edge", tpTop, 5, 11, false},
        {"top: left of it", tpTop, -1, 5, false},
        {"left: first pixel", tpLeft, 0, 0, true},
        {"left: last pixel", tpLeft, 11, 10, true},
        {"left: right edge", tpLeft, 12, 5, false},
        {"left: bottom edge", tpLeft, 5, 11, false},
        {"bottom: inside", tpBottom, 6, 6, true},
        {"right: inside", tpRight, 6, 6, true},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(c.what);
        pc->SetTabPosition(c.position);
        const TRect r = pc->PageTabRect(1);
        // Top-left pixel of the box.
        const TPoint corner = c.position == tpLeft ? TPoint{r.Left + 3 + 2, r.Bottom - 4 - 13}
                                                   : TPoint{r.Left + 3 + 2, r.Top + 4 + 2};
        EXPECT_EQ(pc->CloseButtonHit(1, {corner.X + c.dx, corner.Y + c.dy}), c.hit);
    }
}

TEST_F(ExtPageControlTest, ClosingAndReopeningTabs)
{
    auto p = AddPages("ABC");
    for (auto* s : p) s->SetShowClose(true);
    pc->SetActivePage(p[1]);
    std::vector<std::string> log;
    bool allowClose = false;
    p[1]->OnCanClose = [&](TObject* s, bool& ok) {
        log.push_back("can close " + Utf8(static_cast<TComponent*>(s)->Name()));
        ok = allowClose;
    };
    p[1]->OnClose = [&](TObject*) { log.push_back("close"); };

    auto clickClose = [&](int pageIndex, int dx = 5) {
        const TRect r = pc->PageTabRect(pageIndex);
        pt::Click(pc, r.Left + 2 + dx, r.Top + 2 + 5);
        pt::ProcessEvents();
    };
    clickClose(1);
    EXPECT_EQ(ActiveName(), "B");
    EXPECT_EQ(log, (std::vector<std::string>{"can close B"}));

    allowClose = true;
    clickClose(1, 20);  // beside the box: nothing
    EXPECT_EQ(ActiveName(), "B");
    clickClose(1);
    EXPECT_EQ(ActiveName(), "C");
    EXPECT_EQ(p[1]->ExtPageControl(), nullptr);
    EXPECT_EQ(pc->PageCount(), 2);
    ASSERT_EQ(pc->ClosedTabs().size(), 1u);
    EXPECT_EQ(pc->ClosedTabs()[0].first, u"B");

    // A click beside the box of an inactive tab only selects it.
    clickClose(0, 20);
    EXPECT_EQ(ActiveName(), "A");
    EXPECT_EQ(pc->PageCount(), 2);

    EXPECT_TRUE(pc->OpenClosedTab(u"b"));
    EXPECT_EQ(pc->GetPage(pc->PageCount() - 1), p[1]);
    EXPECT_FALSE(pc->OpenClosedTab(u"Z"));
}

TEST_F(ExtPageControlTest, ClosingTheOnlyVisiblePageLeavesNone)
{
    auto p = AddPages("AB");
    p[1]->SetTabVisible(false);
    p[0]->SetShowClose(true);
    pc->SetActivePage(p[0]);
    const TRect r = pc->PageTabRect(0);
    pt::Click(pc, r.Left + 7, r.Top + 7);
    pt::ProcessEvents();
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->TabIndex(), -1);
    ASSERT_EQ(pc->ClosedTabs().size(), 1u);
    // Reopened at the end, closed again: listed twice.
    ASSERT_TRUE(pc->OpenClosedTab(u"A"));
    EXPECT_EQ(pc->GetPage(1), p[0]);
    pc->SetActivePage(p[0]);
    const TRect r2 = pc->PageTabRect(1);
    pt::Click(pc, r2.Left + 7, r2.Top + 7);
    pt::ProcessEvents();
    EXPECT_EQ(pc->ClosedTabs().size(), 2u);
    EXPECT_EQ(pc->ActivePage(), nullptr);
}

TEST_F(ExtPageControlTest, FreeOnCloseDestroysThePage)
{
    auto p = AddPages("AB");
    pc->SetFreeOnClose(true);
    p[0]->SetShowClose(true);
    pc->SetActivePage(p[0]);
    bool gone = false;
    struct Watch : TComponent {
        bool* flag;
        TComponent* target;
        Watch(bool* f, TComponent* t) : flag(f), target(t) { t->FreeNotification(this); }
        void Notification(TComponent* c, TOperation op) override
        {
            TComponent::Notification(c, op);
            if (c == target && op == opRemove) *flag = true;
        }
    } watch(&gone, p[0]);
    const TRect r = pc->PageTabRect(0);
    pt::Click(pc, r.Left + 7, r.Top + 7);
    pt::ProcessEvents();
    EXPECT_TRUE(gone);
    EXPECT_EQ(pc->PageCount(), 1);
    EXPECT_EQ(ActiveName(), "B");
    EXPECT_TRUE(pc->ClosedTabs().empty());
}

TEST_F(ExtPageControlTest, MultiLineRowsKeepTheActiveRowNextToThePage)
{
    pc->SetMultiLine(true);
    pc->SetWidth(120);
    auto p = AddPages("ABCDEFGH");
    for (auto* s : p) s->SetCaption(u"Page " + s->Name() + u"  ");
    ASSERT_GT(pc->RowCount(), 1);
    pc->SetActivePage(p[0]);
    const int bottomRow = pc->TabRect(pc->TabCount() - 1).Top;
    EXPECT_GT(pc->TabRect(0).Top, bottomRow);
    pc->SetActivePage(p[7]);
    EXPECT_GT(pc->TabRect(7).Top, pc->TabRect(0).Top);
    // Every tab sits on the strip and pages start below it.
    for (int i = 0; i < pc->TabCount(); ++i) EXPECT_LE(pc->TabRect(i).Bottom, pc->DisplayRect().Top);
    EXPECT_EQ(p[7]->BoundsRect(), pc->DisplayRect());
}

struct ImageProbe : TExtPageControl {
    using TExtPageControl::GetImageIndex;
    using TExtPageControl::TExtPageControl;
};

TEST_F(ExtPageControlTest, ImageIndexOfATabSkipsHiddenPages)
{
    auto* probe = new ImageProbe(form.get());
    probe->SetParent(form.get());
    const int images[] = {5, -1, 7};
    std::vector<TExtTabSheet*> p;
    for (int img : images) {
        auto* s = new TExtTabSheet(form.get());
        s->SetExtPageControl(probe);
        s->SetImageIndex(img);
        p.push_back(s);
    }
    EXPECT_EQ(p[1]->ImageIndex(), -1);
    EXPECT_EQ(p[1]->ImageIndexDummy(), 0);
    p[0]->SetTabVisible(false);
    EXPECT_EQ(probe->GetImageIndex(0), 0);
    EXPECT_EQ(probe->GetImageIndex(1), 7);
    probe->OnGetImageIndex = [](TObject*, int tab, int& index) { index = 40 + tab; };
    EXPECT_EQ(probe->GetImageIndex(1), 41);
}

TEST_F(ExtPageControlTest, Border3DHandsTheFullCaptionToTheStrip)
{
    auto p = AddPages("AB");
    EXPECT_TRUE(pc->OwnerDraw());
    pc->SetTabBorder3D(true);
    EXPECT_FALSE(pc->OwnerDraw());
    EXPECT_EQ(pc->TabText(0), u"A  ");
    EXPECT_EQ(pc->TabText(1), u"B  ");
    pc->SetTabBorder3D(false);
    EXPECT_EQ(pc->TabText(1), u"B");
}

TEST_F(ExtPageControlTest, HighlightReachesTheStrip)
{
    auto p = AddPages("AB");
    p[1]->SetHighlighted(true);
    EXPECT_TRUE(p[1]->Highlighted());
    EXPECT_TRUE(pc->TabHighlighted(1));
    EXPECT_FALSE(pc->TabHighlighted(0));
    p[1]->SetHighlighted(false);
    EXPECT_FALSE(pc->TabHighlighted(1));
}

TEST_F(ExtPageControlTest, HoverTabFollowsTheMouseOnlyWithAHoverColour)
{
    auto p = AddPages("ABC");
    p[0]->SetTabVisible(false);
    const TRect second = pc->TabRect(1);
    pt::Move(pc, second.Left + 3, second.Top + 3);
    EXPECT_EQ(pc->HoverTab(), -1) << "no hover colour";
    pc->SetTabHoverColor(clYellow);
    pt::Move(pc, second.Left + 4, second.Top + 3);
    EXPECT_EQ(pc->HoverTab(), 2) << "a page index";
    pt::Move(pc, 200, 200);
    EXPECT_EQ(pc->HoverTab(), -1);
    pt::Move(pc, second.Left + 4, second.Top + 3);
    pt::MoveAway();
    EXPECT_EQ(pc->HoverTab(), -1);
}

TEST(TabMargin, ChangeNotificationComesBeforeTheStore)
{
    TTabMargin m;
    std::vector<std::string> log;
    m.OnMarginChange = [&](TMarginSize n, TMarginSize o, int i) {
        log.push_back(std::to_string(n) + "/" + std::to_string(o) + "/" + std::to_string(i) + " stored " +
                      std::to_string(i == 0 ? m.LeftMargin() : i == 1 ? m.TopMargin() : m.RightMargin()));
    };
    m.SetTopMargin(10);
    m.SetTopMargin(10);
    m.SetRightMargin(-20);
    m.SetLeftMargin(3);
    EXPECT_EQ(log, (std::vector<std::string>{"10/0/1 stored 0", "-20/0/2 stored 0", "3/0/0 stored 0"}));
    TTabMargin copy;
    bool told = false;
    copy.OnMarginChange = [&](TMarginSize, TMarginSize, int) { told = true; };
    copy.Assign(&m);
    EXPECT_FALSE(told);
    EXPECT_EQ(copy.TopMargin(), 10);
    EXPECT_EQ(copy.RightMargin(), -20);
    EXPECT_EQ(copy.LeftMargin(), 3);
}

TEST_F(ExtPageControlTest, ShowAndHideEventsOnActivation)
{
    auto p = AddPages("AB");
    pc->SetActivePage(p[0]);
    std::vector<std::string> log;
    for (auto* s : p) {
        s->OnShow = [&log, s](TObject*) { log.push_back("show " + std::string(1, static_cast<char>(s->Name()[0]))); };
        s->OnHide = [&log, s](TObject*) { log.push_back("hide " + std::string(1, static_cast<char>(s->Name()[0]))); };
    }
    pc->SetActivePage(p[1]);
    EXPECT_EQ(log, (std::vector<std::string>{"show B", "hide A"}));
}

TEST_F(ExtPageControlTest, ShowControlActivatesTheOuterPagesToo)
{
    auto outer = AddPages("AB");
    pc->SetActivePage(outer[0]);
    auto* inner = new TExtPageControl(form.get());
    inner->SetParent(outer[1]);
    auto* x = new TExtTabSheet(form.get());
    x->SetExtPageControl(inner);
    auto* y = new TExtTabSheet(form.get());
    y->SetExtPageControl(inner);
    inner->SetActivePage(x);
    inner->ShowControl(y);
    EXPECT_EQ(inner->ActivePage(), y);
    EXPECT_EQ(pc->ActivePage(), outer[1]);
    // A page of another control is left alone.
    pc->ShowControl(x);
    EXPECT_EQ(inner->ActivePage(), y);
}

} // namespace
