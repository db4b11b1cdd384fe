// Focus model and the key pipeline: tab order, dialog keys to the form, accelerators,
// changeable keys, enter/exit order, focus in hidden containers.
#include "plat/Forms.h"
#include "plat/Testing.h"
#include "TestControls.h"
#include "TestSupport.h"

namespace plat {
namespace {

using namespace plat::testing;
using testctl::TBox;
using testctl::TFocusBox;
using testctl::TTestButton;

class FocusKeysTest : public UiTest {
protected:
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    TForm& Form()
    {
        if (!form) {
            form = std::make_unique<TForm>(nullptr);
            form->SetBounds(100, 100, 400, 300);
        }
        return *form;
    }
    template <class T>
    T* Add(TWinControl* parent, int top)
    {
        auto* c = new T(&Form());
        c->SetParent(parent);
        c->SetTop(top);
        return c;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(FocusKeysTest, TabFollowsTabOrderSkippingDisabledHiddenAndNonTabStops)
{
    TForm& f = Form();
    auto* a = Add<TFocusBox>(&f, 0);
    auto* hidden = Add<TFocusBox>(&f, 30);
    auto* b = Add<TFocusBox>(&f, 60);
    auto* disabled = Add<TFocusBox>(&f, 90);
    auto* noStop = Add<TFocusBox>(&f, 120);
    auto* panel = Add<TBox>(&f, 150);
    panel->SetBounds(0, 150, 200, 100);
    auto* inPanel = Add<TFocusBox>(panel, 10);
    auto* c = Add<TFocusBox>(&f, 260);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    noStop->SetTabStop(false);
    // TabOrder decides, not creation order: c before the panel.
    c->SetTabOrder(panel->TabOrder());
    f.Show();
    ASSERT_EQ(f.ActiveControl(), a);
    std::vector<TWinControl*> seen;
    for (int i = 0; i < 5; ++i) {
        Key(VK_TAB);
        seen.push_back(f.ActiveControl());
    }
    const std::vector<TWinControl*> forward = {b, c, inPanel, a, b};
    EXPECT_EQ(seen, forward);
    Key(VK_TAB, ssShift);
    EXPECT_EQ(f.ActiveControl(), a);
    Key(VK_TAB, ssShift);
    EXPECT_EQ(f.ActiveControl(), inPanel);
    EXPECT_TRUE(inPanel->Focused());
    EXPECT_FALSE(a->Focused());
}

TEST_F(FocusKeysTest, SetFocusInsideAHiddenPanelRaisesAndCanFocusIsFalse)
{
    TForm& f = Form();
    auto* panel = Add<TBox>(&f, 0);
    auto* edit = Add<TFocusBox>(panel, 0);
    f.Show();
    panel->SetVisible(false);
    EXPECT_FALSE(edit->CanFocus());
    try {
        edit->SetFocus();
        FAIL() << "SetFocus did not raise";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), u"Cannot focus a disabled or invisible window");
    }
    panel->SetVisible(true);
    EXPECT_TRUE(edit->CanFocus());
    edit->SetFocus();
    EXPECT_TRUE(edit->Focused());
    // Hiding the focused control's container moves the focus off it.
    panel->SetVisible(false);
    EXPECT_FALSE(edit->Focused());
    EXPECT_EQ(f.ActiveControl(), nullptr);
}

TEST_F(FocusKeysTest, SetFocusOnAHiddenFormRaisesButActiveControlIsKeptForTheShow)
{
    TForm& f = Form();
    Add<TFocusBox>(&f, 0);
    auto* second = Add<TFocusBox>(&f, 40);
    EXPECT_TRUE(second->CanFocus());  // the form's own visibility is not part of it
    EXPECT_TRUE(testsupport::ThrowsWith<EInvalidOperation>([&] { second->SetFocus(); },
                                                           u"Cannot focus a disabled or invisible window"));
    f.SetActiveControl(second);
    f.Show();
    EXPECT_EQ(f.ActiveControl(), second);
    EXPECT_TRUE(second->Focused());
}

TEST_F(FocusKeysTest, EnterEscapeAndDefaultCancelButtons)
{
    struct Case {
        const char* name;
        std::uint16_t key;
        TShiftState shift;
        bool focusButton;  // focus on the OK button instead of the edit
        int okClicks, cancelClicks;
        const char16_t* editGets;  // characters that reach the edit
    };
    const Case cases[] = {
        {"Enter in an edit clicks the default button", VK_RETURN, 0, false, 1, 0, u""},
        {"Escape clicks the cancel button", VK_ESCAPE, 0, false, 0, 1, u""},
        {"Escape with Shift clicks nothing and stays a key of the edit", VK_ESCAPE, ssShift, false, 0, 0, u"\x1b"},
        {"Enter on a focused button goes to that button", VK_RETURN, 0, true, 1, 0, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        TForm& f = Form();
        auto* edit = Add<TFocusBox>(&f, 0);
        auto* ok = Add<TTestButton>(&f, 40);
        auto* cancel = Add<TTestButton>(&f, 80);
        auto* other = Add<TTestButton>(&f, 120);
        ok->Default = true;
        cancel->Cancel = true;
        int okClicks = 0, cancelClicks = 0, otherClicks = 0;
        ok->OnClick = [&](TObject*) { ++okClicks; };
        cancel->OnClick = [&](TObject*) { ++cancelClicks; };
        other->OnClick = [&](TObject*) { ++otherClicks; };
        f.Show();
        if (c.focusButton)
            ok->SetFocus();
        else
            edit->SetFocus();
        Key(c.key, c.shift);
        EXPECT_EQ(okClicks, c.okClicks);
        EXPECT_EQ(cancelClicks, c.cancelClicks);
        EXPECT_EQ(otherClicks, 0);
        if (c.focusButton) {
            EXPECT_EQ(ok->KeyDownsSeen, 1);
        }
        // Keys the form took give no character.
        EXPECT_EQ(edit->Typed, c.editGets);
    }
}

TEST_F(FocusKeysTest, AcceleratorReachesTheControlCaptionedWithIt)
{
    TForm& f = Form();
    auto* edit = Add<TFocusBox>(&f, 0);
    auto* open = Add<TTestButton>(&f, 40);
    auto* save = Add<TTestButton>(&f, 80);
    open->SetCaption(u"&Open");
    save->SetCaption(u"Save && &quit");
    int opens = 0, saves = 0;
    open->OnClick = [&](TObject*) { ++opens; };
    save->OnClick = [&](TObject*) { ++saves; };
    f.Show();
    edit->SetFocus();
    Key('O', ssAlt);
    EXPECT_EQ(opens, 1);
    Key('Q', ssAlt);
    EXPECT_EQ(saves, 1);
    Key('S', ssAlt);  // "&&" is a plain "&", not an accelerator
    EXPECT_EQ(saves, 1);
    // Without Alt the character goes to a control that wants characters ...
    edit->DlgCode = DLGC_WANTCHARS;
    Key('O');
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(edit->Typed, u"o");
    // ... and serves as accelerator when the focused control does not want it.
    edit->DlgCode = 0;
    Key('O');
    EXPECT_EQ(opens, 2);
}

TEST_F(FocusKeysTest, KeyPressCanSwallowOrChangeTheCharacter)
{
    TForm& f = Form();
    auto* first = Add<TFocusBox>(&f, 0);
    auto* second = Add<TFocusBox>(&f, 40);
    first->DlgCode = DLGC_WANTCHARS;
    second->DlgCode = DLGC_WANTCHARS;
    first->OnKeyPress = [&](TObject*, char16_t& key) {
        if (key == u'.') {
            key = 0;
            if (second->CanFocus()) second->SetFocus();
        } else if (key == u'a') {
            key = u'b';
        }
    };
    f.Show();
    first->SetFocus();
    Type(u"1a.");
    EXPECT_EQ(first->Typed, u"1b");
    EXPECT_EQ(f.ActiveControl(), second);
    Type(u"2");
    EXPECT_EQ(second->Typed, u"2");

    // With the next one disabled the focus stays.
    first->SetFocus();
    second->SetEnabled(false);
    Type(u".");
    EXPECT_EQ(f.ActiveControl(), first);
    EXPECT_EQ(first->Typed, u"1b");
}

TEST_F(FocusKeysTest, KeyDownSeesShiftAndCanChangeTheKey)
{
    TForm& f = Form();
    auto* box = Add<TFocusBox>(&f, 0);
    auto* next = Add<TFocusBox>(&f, 40);
    std::vector<std::pair<std::uint16_t, TShiftState>> downs;
    box->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState shift) {
        downs.push_back({key, shift});
        if (key == VK_F2) key = 0;
    };
    int formPreview = 0;
    f.SetKeyPreview(true);
    f.OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        ++formPreview;
        if (key == VK_F3) key = 0;  // the form takes F3 before the control
    };
    f.Show();
    box->SetFocus();
    // A control that does not claim the arrows loses them to the form's navigation ...
    Key(VK_DOWN);
    EXPECT_EQ(f.ActiveControl(), next);
    EXPECT_TRUE(downs.empty());
    // ... one that claims them gets them with the shift state.
    box->SetFocus();
    box->DlgCode = DLGC_WANTARROWS;
    Key(VK_DOWN, ssShift | ssCtrl);
    Key(VK_F2);
    Key(VK_F3);
    EXPECT_EQ(f.ActiveControl(), box);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].first, VK_DOWN);
    EXPECT_EQ(downs[0].second & (ssShift | ssCtrl | ssAlt), ssShift | ssCtrl);
    EXPECT_EQ(downs[1].first, VK_F2);
    EXPECT_EQ(formPreview, 3);  // key preview: the form sees them first
}

TEST_F(FocusKeysTest, EnterExitAndFocusChangedFollowTheFramework)
{
    TForm& f = Form();
    auto* panelA = Add<TBox>(&f, 0);
    panelA->SetBounds(0, 0, 200, 100);
    auto* a = Add<TFocusBox>(panelA, 0);
    auto* panelB = Add<TBox>(&f, 100);
    panelB->SetBounds(0, 100, 200, 100);
    auto* b = Add<TFocusBox>(panelB, 0);
    std::vector<std::string> log;
    auto track = [&](TWinControl* c, const char* name) {
        c->OnEnter = [&log, name](TObject*) { log.push_back(std::string("enter ") + name); };
        c->OnExit = [&log, name](TObject*) { log.push_back(std::string("exit ") + name); };
    };
    track(panelA, "panelA");
    track(a, "a");
    track(panelB, "panelB");
    track(b, "b");
    f.Show();
    a->SetFocus();
    log.clear();
    b->SetFocus();
    const std::vector<std::string> expected = {"exit a", "exit panelA", "enter panelB", "enter b"};
    EXPECT_EQ(log, expected);
}

class FocusWatcher : public TFocusBox {
public:
    using TFocusBox::TFocusBox;
    int focusChanged = 0;
    std::vector<UINT> focusMessages;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_FOCUSCHANGED) ++focusChanged;
        if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) focusMessages.push_back(m.Msg);
        TFocusBox::WndProc(m);
    }
};

class ShowingWatch : public TBox {
public:
    using TBox::TBox;
    std::vector<bool> changes;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_SHOWINGCHANGED) changes.push_back(Showing());
        TBox::WndProc(m);
    }
};

TEST_F(FocusKeysTest, ShowingChangesReachWindowsInsideChangedContainers)
{
    TForm& f = Form();
    auto* panel = Add<ShowingWatch>(&f, 0);
    auto* inner = Add<ShowingWatch>(panel, 0);
    f.Show();
    panel->SetVisible(false);
    panel->SetVisible(true);
    inner->SetVisible(false);
    panel->SetVisible(false);  // inner stays not showing: no message
    f.Hide();
    EXPECT_EQ(inner->changes, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(panel->changes, (std::vector<bool>{true, false, true, false}));
}

TEST_F(FocusKeysTest, FocusChangeReachesEveryControlOfTheForm)
{
    TForm& f = Form();
    auto* panel = Add<TBox>(&f, 0);
    auto* deep = Add<FocusWatcher>(panel, 0);
    auto* other = Add<FocusWatcher>(&f, 100);
    f.Show();
    const int before = deep->focusChanged;
    other->SetFocus();
    deep->SetFocus();
    EXPECT_EQ(deep->focusChanged - before, 2);
    EXPECT_EQ(other->focusMessages, (std::vector<UINT>{WM_SETFOCUS, WM_KILLFOCUS}));
}

} // namespace
} // namespace plat
