// Which changes fire which events, as the windows rely on: programmatic Text, Checked and
// ItemIndex, a user's pick in a drop-down list, typing in an editable combo, a key press
// handler that swallows "." and moves the focus, radio buttons, page changes, menus.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <memory>
#include <vector>

#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/Menus.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

std::string Narrow(const String& s) { return std::string(s.begin(), s.end()); }

// A parent that records the notifications its children send (WM_COMMAND codes).
class RecordingPanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<int> codes;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_COMMAND)
            codes.push_back(HiWord(Message.WParam));
        TPanel::WndProc(Message);
    }
};

class StdEvents : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 300);
        panel = new RecordingPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }

public:
    template <class T>
    T* Make(int left, int top, int width, int height)
    {
        T* c = new T(form.get());
        c->SetParent(panel);
        c->SetBounds(left, top, width, height);
        return c;
    }

    std::unique_ptr<TForm> form;
    RecordingPanel* panel = nullptr;
};

TEST_F(StdEvents, ProgrammaticChangesFireOnlyWhatTheFrameworkFires)
{
    struct Case {
        const char* name;
        std::function<void(StdEvents&, int& events)> run;
        int expectedEvents;
        std::vector<int> expectedNotifications;
    };
    const std::vector<Case> cases = {
        {"edit Text from empty", [](StdEvents& t, int& n) {
             auto* e = t.Make<TEdit>(10, 10, 100, 21);
             e->OnChange = [&n](TObject*) { ++n; };
             e->SetText(u"x");
         }, 1, {EN_CHANGE}},
        {"edit Text to the same text", [](StdEvents& t, int& n) {
             auto* e = t.Make<TEdit>(10, 10, 100, 21);
             e->SetText(u"x");
             t.panel->codes.clear();
             e->OnChange = [&n](TObject*) { ++n; };
             e->SetText(u"x");
         }, 0, {}},
        {"rich edit Text with CR LF", [](StdEvents& t, int& n) {
             auto* e = t.Make<TRichEdit>(10, 10, 100, 60);
             e->OnChange = [&n](TObject*) { ++n; };
             e->SetText(u"a\r\nb");
             EXPECT_EQ(e->Text(), u"a\r\nb");
             e->SetText(u"a\r\nb");
             e->SetText(u"a\nb");  // the same text with another line-break form
         }, 1, {EN_CHANGE}},
        {"check box Checked from false", [](StdEvents& t, int& n) {
             auto* c = t.Make<TCheckBox>(10, 10, 100, 17);
             c->OnClick = [&n](TObject*) { ++n; };
             c->SetChecked(true);
         }, 1, {}},
        {"check box Checked to the same state", [](StdEvents& t, int& n) {
             auto* c = t.Make<TCheckBox>(10, 10, 100, 17);
             c->SetChecked(true);
             c->OnClick = [&n](TObject*) { ++n; };
             c->SetChecked(true);
         }, 0, {}},
        {"combo ItemIndex", [](StdEvents& t, int& n) {
             auto* c = t.Make<TComboBox>(10, 10, 100, 22);
             c->SetStyle(csDropDownList);
             c->Items()->Add(u"a");
             c->Items()->Add(u"b");
             c->OnChange = [&n](TObject*) { ++n; };
             c->OnClick = [&n](TObject*) { ++n; };
             c->SetItemIndex(1);
             EXPECT_EQ(c->Text(), u"b");
         }, 0, {}},
        {"editable combo Text", [](StdEvents& t, int& n) {
             auto* c = t.Make<TComboBox>(10, 10, 100, 22);
             c->OnChange = [&n](TObject*) { ++n; };
             c->SetText(u"typed in code");
         }, 0, {}},
        {"list box ItemIndex", [](StdEvents& t, int& n) {
             auto* l = t.Make<TListBox>(10, 10, 100, 80);
             l->Items()->Add(u"a");
             l->Items()->Add(u"b");
             l->OnClick = [&n](TObject*) { ++n; };
             l->SetItemIndex(1);
         }, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panel->codes.clear();
        int events = 0;
        c.run(*this, events);
        EXPECT_EQ(events, c.expectedEvents);
        EXPECT_EQ(panel->codes, c.expectedNotifications);
    }
}

TEST_F(StdEvents, PickingFromTheDropDownListFiresOnChangeOnceThenClosesUp)
{
    for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
        SCOPED_TRACE(style);
        panel->codes.clear();
        auto* c = Make<TComboBox>(10, 10, 120, 22);
        c->SetStyle(style);
        for (const char16_t* s : {u"Firmware + Configuration", u"Firmware", u"Configuration"})
            c->Items()->Add(s);
        int changes = 0;
        c->OnChange = [&](TObject*) { ++changes; };
        c->SetDroppedDown(true);
        ASSERT_TRUE(c->DroppedDown());
        // The list is the newest windowed child of the form, below the box.
        auto* list = dynamic_cast<TCustomListBox*>(form->Controls(form->ControlCount() - 1));
        ASSERT_NE(list, nullptr);
        const TRect item = list->ItemRect(2);
        pt::Click(list, item.Left + 5, item.Top + 2);
        EXPECT_FALSE(c->DroppedDown());
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(c->ItemIndex(), 2);
        EXPECT_EQ(c->Text(), u"Configuration");
        const std::vector<int> expected = {CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK};
        EXPECT_EQ(panel->codes, expected);
        delete c;
    }
}

TEST_F(StdEvents, DropDownListKeysSelectWithoutOpening)
{
    auto* c = Make<TComboBox>(10, 10, 120, 22);
    c->SetStyle(csDropDownList);
    c->Items()->Add(u"a");
    c->Items()->Add(u"b");
    c->SetItemIndex(0);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->SetFocus();
    pt::Key(VK_DOWN);
    EXPECT_EQ(c->ItemIndex(), 1);
    pt::Key(VK_DOWN);  // already the last item: nothing changes
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(StdEvents, TypingInAnEditableComboSendsOneEditChangePerKeystroke)
{
    auto* before = Make<TEdit>(10, 40, 120, 21);
    auto* c = Make<TComboBox>(10, 10, 120, 22);
    before->SetTabOrder(0);
    c->SetTabOrder(1);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    before->SetFocus();
    pt::Key(VK_TAB);  // the focus reaches the box through the tab order, then its edit
    EXPECT_TRUE(c->Focused());
    panel->codes.clear();
    pt::Type(u"ab");
    EXPECT_EQ(c->Text(), u"ab");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(panel->codes, (std::vector<int>{CBN_EDITCHANGE, CBN_EDITCHANGE}));
}

// Address fields: "." is swallowed and moves the focus to the next field when that field
// can take it.
TEST_F(StdEvents, KeyPressSwallowsTheDotAndMovesTheFocus)
{
    struct Case { const char* name; bool nextEnabled; const char16_t* first; const char16_t* second; bool focusMoved; };
    const Case cases[] = {
        {"next field enabled", true, u"192", u"168", true},
        {"next field disabled", false, u"192168", u"", false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto* e1 = Make<TEdit>(10, 10, 40, 21);
        auto* e2 = Make<TEdit>(60, 10, 40, 21);
        e2->SetEnabled(k.nextEnabled);
        int changes = 0;
        e1->OnChange = [&](TObject*) { ++changes; };
        e1->OnKeyPress = [&](TObject*, char16_t& Key) {
            if (Key == u'.') {
                if (e2->CanFocus())
                    e2->SetFocus();
                Key = 0;
            }
        };
        e1->SetFocus();
        pt::Type(u"192.168");
        EXPECT_EQ(e1->Text(), String(k.first));
        EXPECT_EQ(e2->Text(), String(k.second));
        EXPECT_EQ(e2->Focused(), k.focusMoved);
        EXPECT_EQ(changes, static_cast<int>(String(k.first).size()));
        delete e1;
        delete e2;
    }
}

TEST_F(StdEvents, KeyPressCanChangeTheCharacter)
{
    auto* e = Make<TEdit>(10, 10, 80, 21);
    e->OnKeyPress = [](TObject*, char16_t& Key) {
        if (Key >= u'a' && Key <= u'z')
            Key = static_cast<char16_t>(Key - 32);
    };
    e->SetFocus();
    pt::Type(u"ab1");
    EXPECT_EQ(e->Text(), u"AB1");
}

TEST_F(StdEvents, AcceleratorsFocusAndToggle)
{
    auto* other = Make<TEdit>(10, 100, 100, 21);
    auto* edit = Make<TEdit>(80, 10, 100, 21);
    auto* label = Make<TLabel>(10, 12, 60, 13);
    label->SetCaption(u"&Name:");
    label->SetFocusControl(edit);
    auto* check = Make<TCheckBox>(10, 40, 150, 17);
    check->SetCaption(u"Read &back");
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    other->SetFocus();

    pt::Key('N', ssAlt);
    EXPECT_TRUE(edit->Focused());
    pt::Key('B', ssAlt);
    EXPECT_TRUE(check->Focused());
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 1);
    // Without ShowAccelChar the ampersand is plain text and no key.
    label->SetShowAccelChar(false);
    other->SetFocus();
    pt::Key('N', ssAlt);
    EXPECT_TRUE(other->Focused());
}

TEST_F(StdEvents, EnterAndEscapeReachTheRightButton)
{
    struct Case {
        const char* name;
        bool focusOther;  // a second button has the focus instead of the edit
        std::uint16_t key;
        TShiftState shift;
        int okClicks, otherClicks, cancelClicks;
    };
    const Case cases[] = {
        {"Enter in an edit clicks the default button", false, VK_RETURN, 0, 1, 0, 0},
        {"Enter on a focused button clicks that one", true, VK_RETURN, 0, 0, 1, 0},
        {"Escape clicks the cancel button", false, VK_ESCAPE, 0, 0, 0, 1},
        {"Shift+Escape does nothing", false, VK_ESCAPE, ssShift, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* edit = Make<TEdit>(10, 10, 100, 21);
        auto* ok = Make<TButton>(10, 50, 75, 25);
        auto* other = Make<TButton>(90, 50, 75, 25);
        auto* cancel = Make<TButton>(170, 50, 75, 25);
        ok->SetDefault(true);
        cancel->SetCancel(true);
        int okClicks = 0, otherClicks = 0, cancelClicks = 0;
        ok->OnClick = [&](TObject*) { ++okClicks; };
        other->OnClick = [&](TObject*) { ++otherClicks; };
        cancel->OnClick = [&](TObject*) { ++cancelClicks; };
        if (c.focusOther)
            other->SetFocus();
        else
            edit->SetFocus();
        pt::Key(c.key, c.shift);
        EXPECT_EQ(okClicks, c.okClicks);
        EXPECT_EQ(otherClicks, c.otherClicks);
        EXPECT_EQ(cancelClicks, c.cancelClicks);
        EXPECT_EQ(edit->Text(), u"");
        for (TControl* x : {static_cast<TControl*>(edit), static_cast<TControl*>(ok), static_cast<TControl*>(other),
                            static_cast<TControl*>(cancel)})
            delete x;
    }
}

TEST_F(StdEvents, ListBoxAnchoredOnAllEdgesFollowsTheForm)
{
    auto* l = new TListBox(form.get());
    l->SetParent(form.get());
    l->SetBounds(8, 30, 200, 150);
    l->SetAnchors(akAll);
    form->SetClientSize(420, 310);
    EXPECT_EQ(l->Left(), 8);
    EXPECT_EQ(l->Top(), 30);
    EXPECT_EQ(l->Width(), 220);
    EXPECT_EQ(l->Height(), 160);
}

TEST_F(StdEvents, UserSelectionInAListBoxFiresOnClick)
{
    auto* l = Make<TListBox>(10, 10, 120, 100);
    for (const char16_t* s : {u"Conf_A", u"Conf_B", u"Conf_C"})
        l->Items()->Add(s);
    int clicks = 0;
    l->OnClick = [&](TObject*) { ++clicks; };
    pt::Click(l, 5, l->ItemRect(1).Top + 1);
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    pt::Key(VK_DOWN);
    EXPECT_EQ(l->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
    l->Items()->Clear();
    EXPECT_EQ(l->ItemIndex(), -1);
}

TEST_F(StdEvents, CheckBoxTogglesByMouseAndSpaceButNotWhenDisabled)
{
    auto* c = Make<TCheckBox>(10, 10, 120, 17);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    pt::Click(c, 5, 8);
    EXPECT_TRUE(c->Checked());
    pt::Key(VK_SPACE);
    EXPECT_FALSE(c->Checked());
    c->SetChecked(true);
    c->SetEnabled(false);
    pt::Click(c, 5, 8);
    EXPECT_TRUE(c->Checked());  // a disabled box keeps its tick
    EXPECT_EQ(clicks, 3);
}

TEST_F(StdEvents, RadioButtonsOfOneParentAreExclusive)
{
    auto* a = Make<TRadioButton>(10, 10, 100, 17);
    auto* b = Make<TRadioButton>(10, 30, 100, 17);
    int clicks = 0;
    a->OnClick = b->OnClick = [&](TObject*) { ++clicks; };
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(clicks, 2);  // unchecking the sibling fires nothing
    pt::Click(b, 5, 8);     // a checked radio button stays checked
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdEvents, PageChangesByTheUserAskFirstAndNotifyAfter)
{
    auto* pc = Make<TPageControl>(0, 0, 300, 200);
    TTabSheet* pages[3];
    for (int i = 0; i < 3; ++i) {
        pages[i] = new TTabSheet(form.get());
        pages[i]->SetPageControl(pc);
        pages[i]->SetCaption(i == 0 ? u"Language" : i == 1 ? u"Connection Options" : u"Software Settings");
    }
    EXPECT_EQ(pc->ActivePage(), pages[0]);  // the first page shows until another is picked
    bool allow = true;
    std::vector<std::string> log;
    pc->OnChanging = [&](TObject*, bool& Allow) { log.push_back("changing"); Allow = allow; };
    pc->OnChange = [&](TObject*) { log.push_back("change"); };

    pc->SetActivePage(pages[1]);  // in code: no event
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(pages[1]->Visible());
    EXPECT_FALSE(pages[0]->Visible());
    EXPECT_EQ(pages[1]->BoundsRect(), pc->DisplayRect());

    TRect tab = pc->TabRect(2);
    pt::Click(pc, tab.Left + 3, tab.Top + 3);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "change"}));

    allow = false;
    log.clear();
    tab = pc->TabRect(0);
    pt::Click(pc, tab.Left + 3, tab.Top + 3);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing"}));

    // A page without a tab has no tab rectangle and is skipped by Ctrl+Tab.
    allow = true;
    pages[0]->SetTabVisible(false);
    EXPECT_TRUE(pc->TabRect(0).IsEmpty());
    pc->SetFocus();
    pt::Key(VK_TAB, ssCtrl);
    EXPECT_EQ(pc->ActivePage(), pages[1]);
    // Hiding the active page's tab shows the next page that has one, without events.
    log.clear();
    pages[1]->SetTabVisible(false);
    EXPECT_EQ(pc->ActivePage(), pages[2]);
    EXPECT_TRUE(pages[2]->Visible());
    EXPECT_FALSE(pages[1]->Visible());
    EXPECT_TRUE(log.empty());
}

TEST_F(StdEvents, PopupMenuRunsTheChosenItem)
{
    TPopupMenu menu(nullptr);
    std::vector<std::string> clicked;
    for (const char16_t* caption : {u"&Copy", u"-", u"&Paste"}) {
        auto* it = new TMenuItem(&menu);
        it->SetCaption(caption);
        it->OnClick = [&clicked, it](TObject*) { clicked.push_back(Narrow(it->Caption())); };
        menu.Items()->Add(it);
    }
    responder().AnswerPopup(2);
    menu.Popup(100, 100);
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Paste"}));
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_EQ(responder().Popups()[0].Request.Items, (std::vector<String>{u"&Copy", u"-", u"&Paste"}));
    EXPECT_EQ(menu.FindItem(u"Paste"), menu.Items()->Items(2));

    // A right click on a control that has the menu pops it up for that control.
    auto* list = Make<TListBox>(10, 10, 100, 80);
    list->SetPopupMenu(&menu);
    responder().AnswerPopup(0);
    pt::Click(list, 20, 20, mbRight);
    EXPECT_EQ(clicked, (std::vector<std::string>{"&Paste", "&Copy"}));
    EXPECT_EQ(menu.PopupComponent(), list);
    list->SetPopupMenu(nullptr);
}

TEST_F(StdEvents, RightClickPopsUpTheMenuOfTheControlOrItsParent)
{
    // File|Open and File|Close (disabled) under a sub-menu, then a separator and Exit.
    TPopupMenu menu(nullptr);
    std::vector<std::string> clicked;
    auto add = [&](TMenuItem* parent, const char16_t* caption, bool enabled) {
        auto* it = new TMenuItem(&menu);
        it->SetCaption(caption);
        it->SetEnabled(enabled);
        it->OnClick = [&clicked, it](TObject*) { clicked.push_back(Narrow(it->Caption())); };
        parent->Add(it);
        return it;
    };
    TMenuItem* file = add(menu.Items(), u"&File", true);
    add(file, u"&Open", true);
    add(file, u"&Close", false);
    add(menu.Items(), u"-", true);
    add(menu.Items(), u"E&xit", true);
    int popups = 0;
    menu.OnPopup = [&](TObject*) { ++popups; };

    // The list has no menu of its own: its parent's menu comes up, for the parent.
    auto* list = Make<TListBox>(10, 10, 100, 80);
    panel->SetPopupMenu(&menu);
    struct Case {
        int answer;
        std::vector<std::string> clicks;
    };
    const Case cases[] = {
        {0, {"&Open"}},
        {1, {}},        // disabled
        {3, {"E&xit"}},
        {-1, {}},       // dismissed
    };
    for (const Case& c : cases) {
        clicked.clear();
        responder().AnswerPopup(c.answer);
        pt::Click(list, 20, 30, mbRight);
        EXPECT_EQ(clicked, c.clicks) << c.answer;
    }
    ASSERT_EQ(responder().Popups().size(), 4u);
    const PopupMenuRequest& r = responder().Popups()[0].Request;
    EXPECT_EQ(r.Items, (std::vector<String>{u"&File|&Open", u"&File|&Close", u"-", u"E&xit"}));
    EXPECT_EQ(r.Enabled, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(r.ScreenPos, list->ClientToScreen(TPoint{20, 30}));
    EXPECT_EQ(menu.PopupComponent(), panel);
    EXPECT_EQ(popups, 4);

    // A popup the test did not script fails it, like a message box, and chooses nothing.
    clicked.clear();
    EXPECT_NONFATAL_FAILURE(pt::Click(list, 20, 30, mbRight), "unscripted popup menu");
    EXPECT_TRUE(clicked.empty());
    // A menu switched off for automatic popup stays closed.
    menu.SetAutoPopup(false);
    pt::Click(list, 20, 30, mbRight);
    EXPECT_EQ(responder().Popups().size(), 5u);
    panel->SetPopupMenu(nullptr);
}

TEST_F(StdEvents, LinkLabelReportsTheLinkTarget)
{
    auto* l = Make<TLinkLabel>(10, 10, 10, 10);
    l->SetCaption(u"New version: <a href=\"http://host/Home/download/download.asp#VX40518\">download</a>");
    EXPECT_EQ(l->PlainText(), u"New version: download");
    std::vector<String> links;
    l->OnLinkClick = [&](TObject*, const String& Link, TSysLinkType) { links.push_back(Link); };
    pt::Click(l, 2, 5);  // on the plain part
    EXPECT_TRUE(links.empty());
    pt::Click(l, l->Width() - 3, 5);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0], u"http://host/Home/download/download.asp#VX40518");
}

TEST(LinkMarkup, PartsAndTargets)
{
    struct Case { const char16_t* caption; size_t parts; const char16_t* firstLink; };
    const Case cases[] = {
        {u"plain", 1, u""},
        {u"<a>text</a>", 1, u"text"},
        {u"see <A HREF='x.html'>this</A> now", 3, u"x.html"},
        {u"broken <a href=\"y\">no end", 1, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.caption));
        const auto parts = ParseLinkMarkup(c.caption);
        EXPECT_EQ(parts.size(), c.parts);
        String link;
        for (const auto& p : parts)
            if (p.isLink) {
                link = p.link;
                break;
            }
        EXPECT_EQ(link, String(c.firstLink));
    }
}

} // namespace
