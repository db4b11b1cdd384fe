// Typing into edits under their options, multi-line text with CR LF, heights that follow the
// font, the drop-down list's keys and outside clicks, and the splitter.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "plat/Clipbrd.h"
#include "plat/ComCtrls.h"
#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/MaskEdit.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/SystemInput.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

class Edits : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(400, 300);
        form->Font()->SetName(u"Verdana");
        form->Font()->SetHeight(-11);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }
    template <class T>
    T* Make(int left, int top, int width, int height)
    {
        T* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(left, top, width, height);
        return c;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(Edits, TypingFollowsTheEditsOptions)
{
    struct Case {
        const char* name;
        std::function<void(TEdit*)> setup;
        const char16_t* typed;
        const char16_t* text;
        int changes;
    };
    const Case cases[] = {
        {"plain", [](TEdit*) {}, u"ab\bc", u"ac", 4},
        {"length limit", [](TEdit* e) { e->SetMaxLength(3); }, u"12345", u"123", 3},
        // A stored value longer than the limit is kept whole; the user may shorten it but
        // not lengthen it.
        {"length limit keeps a longer text set by the program",
         [](TEdit* e) {
             e->SetMaxLength(3);
             e->SetText(u"abcdef");
         },
         u"x", u"abcdef", 0},
        {"length limit lets an over-long text shrink", [](TEdit* e) {
             e->SetMaxLength(3);
             e->SetText(u"abcdef");
         },
         u"\b", u"abcde", 1},
        {"read only", [](TEdit* e) { e->SetReadOnly(true); }, u"abc", u"", 0},
        {"upper case", [](TEdit* e) { e->SetCharCase(ecUpperCase); }, u"aBc", u"ABC", 3},
        {"password shows masks, keeps the text", [](TEdit* e) { e->SetPasswordChar(u'*'); }, u"pw", u"pw", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* e = Make<TEdit>(10, 10, 120, 21);
        c.setup(e);
        int changes = 0;
        e->OnChange = [&](TObject*) { ++changes; };
        e->SetFocus();
        pt::Type(c.typed);
        EXPECT_EQ(e->Text(), String(c.text));
        EXPECT_EQ(changes, c.changes);
        delete e;
    }
}

TEST_F(Edits, MultiLineTextUsesCrLf)
{
    auto* m = Make<TMemo>(10, 10, 200, 80);
    m->SetLines({u"topic/a", u"topic/b"});
    EXPECT_EQ(m->Text(), u"topic/a\r\ntopic/b\r\n");
    EXPECT_EQ(m->Lines(), (std::vector<String>{u"topic/a", u"topic/b"}));
    m->SetText(u"x");
    m->SetFocus();
    m->SetSelStart(1);
    pt::Type(u"\ry");
    EXPECT_EQ(m->Text(), u"x\r\ny");
    // Positions count CR LF as two units, as the platform's editor does.
    m->SetSelStart(3);
    m->SetSelLength(1);
    EXPECT_EQ(m->SelText(), u"y");

    // A single-line rich edit (file names, passwords) never takes a line break from Enter.
    auto* name = Make<TRichEdit>(10, 100, 200, 23);
    name->SetWantReturns(false);
    name->SetWordWrap(false);
    name->SetFocus();
    pt::Type(u"cert\r.pem");
    EXPECT_EQ(name->Text(), u"cert.pem");
}

// A multi-line field takes Enter as a line break but leaves Escape to the cancel button; an
// open drop-down list takes both.
TEST_F(Edits, EnterAndEscapeBetweenFieldsAndTheFormsButtons)
{
    auto* ok = Make<TButton>(10, 200, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = Make<TButton>(100, 200, 75, 25);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto* memo = Make<TMemo>(10, 10, 200, 80);
    auto* combo = Make<TComboBox>(10, 100, 150, 22);
    combo->Items()->Add(u"Station");
    combo->Items()->Add(u"Access Point");

    memo->SetFocus();
    pt::Type(u"a\rb");
    EXPECT_EQ(memo->Text(), u"a\r\nb");
    EXPECT_EQ(form->ModalResult(), mrNone);
    pt::Key(VK_ESCAPE);
    EXPECT_EQ(form->ModalResult(), mrCancel);

    form->SetModalResult(mrNone);
    combo->SetFocus();
    combo->SetDroppedDown(true);
    pt::Key(VK_DOWN);
    pt::Key(VK_RETURN);
    EXPECT_EQ(combo->Text(), u"Station");
    EXPECT_EQ(form->ModalResult(), mrNone);
    pt::Key(VK_RETURN);  // closed: Enter is the form's again
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(Edits, HeightsFollowTheFontAndStayAsSet)
{
    auto* e = new TEdit(form.get());
    e->SetParent(form.get());
    auto* c = new TComboBox(form.get());
    c->SetParent(form.get());
    EXPECT_EQ(e->Height(), 21);
    EXPECT_EQ(c->Height(), 22);
    e->SetBounds(10, 10, 100, 21);
    c->SetBounds(10, 40, 100, 22);
    EXPECT_EQ(e->Height(), 21);
    EXPECT_EQ(c->Height(), 22);
    c->SetHeight(40);  // a combo box keeps the height its edit portion gives
    EXPECT_EQ(c->Height(), 22);
    c->Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 20);
    EXPECT_EQ(c->Height(), 26);
    EXPECT_EQ(c->Perform(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
}

// An editable combo box has its edit once it stands on a parent or its text, selection or
// focus is used, set up as the box is then (text, enabled state, maximum length); one made a
// drop-down list before it is placed never has one.
TEST_F(Edits, ComboBoxEditComesWhenFirstNeeded)
{
    struct Case {
        const char* name;
        std::function<void(TComboBox*)> before;  // while the box has no parent
        bool placed;
        bool hasEdit;
        const char16_t* text;
    };
    const Case cases[] = {
        {"placed", [](TComboBox*) {}, true, true, u""},
        {"free text before it is placed", [](TComboBox* c) { c->SetText(u"free"); }, true, true, u"free"},
        {"an item before it is placed",
         [](TComboBox* c) {
             c->Items()->Add(u"one");
             c->Items()->Add(u"two");
             c->SetItemIndex(1);
         },
         false, true, u"two"},
        {"text of an unplaced box", [](TComboBox* c) { c->SetText(u"typed"); }, false, true, u"typed"},
        {"disabled and limited before it is placed",
         [](TComboBox* c) {
             c->SetEnabled(false);
             c->SetMaxLength(3);
         },
         true, true, u""},
        {"a list before it is placed", [](TComboBox* c) { c->SetStyle(csDropDownList); }, true, false, u""},
        {"a list with an item", [](TComboBox* c) {
             c->SetStyle(csDropDownList);
             c->Items()->Add(u"only");
             c->SetItemIndex(0);
         }, true, false, u"only"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        auto* c = new TComboBox(form.get());
        k.before(c);
        if (k.placed) {
            c->SetParent(form.get());
            c->SetBounds(10, 10, 150, 22);
        }
        ASSERT_EQ(c->EditControl() != nullptr, k.hasEdit);
        EXPECT_EQ(c->Text(), k.text);
        if (TCustomEdit* e = c->EditControl()) {
            EXPECT_EQ(e->Text(), k.text);
            EXPECT_EQ(e->Enabled(), c->Enabled());
            EXPECT_EQ(e->MaxLength(), c->MaxLength());
            EXPECT_EQ(e->Parent(), c);
        }
        delete c;
    }
    // A placed editable box takes typed text in its edit.
    auto* c = Make<TComboBox>(10, 40, 150, 22);
    c->SetFocus();
    pt::Type(u"ab");
    EXPECT_EQ(c->Text(), u"ab");
}

TEST_F(Edits, DropDownListKeysAndOutsideClicks)
{
    auto* c = Make<TComboBox>(10, 10, 150, 22);
    c->SetStyle(csDropDownList);
    for (const char16_t* s : {u"Only Ethernet Cable ", u"Ethernet Cable + Wi-Fi", u"Ethernet Cable + Mobile Connection"})
        c->Items()->Add(s);
    c->SetItemIndex(0);
    int changes = 0, closes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    c->OnCloseUp = [&](TObject*) { ++closes; };
    c->SetFocus();

    struct Step { const char* name; std::function<void()> act; bool dropped; int index; int changes; int closes; };
    const Step steps[] = {
        {"Alt+Down opens", [] { pt::Key(VK_DOWN, ssAlt); }, true, 0, 0, 0},
        {"Down moves the mark only", [] { pt::Key(VK_DOWN); }, true, 0, 0, 0},
        {"Enter picks", [] { pt::Key(VK_RETURN); }, false, 1, 1, 1},
        {"F4 opens", [] { pt::Key(VK_F4); }, true, 1, 1, 1},
        {"Escape closes without a pick", [] { pt::Key(VK_ESCAPE); }, false, 1, 1, 2},
        {"click on the box opens", [&] { pt::Click(c, 5, 5); }, true, 1, 1, 2},
        {"click elsewhere on the form closes", [&] { pt::Click(form.get(), 300, 250); }, false, 1, 1, 3},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(c->DroppedDown(), s.dropped);
        EXPECT_EQ(c->ItemIndex(), s.index);
        EXPECT_EQ(changes, s.changes);
        EXPECT_EQ(closes, s.closes);
    }
}

TEST_F(Edits, DropDownListStaysOnTheForm)
{
    struct Case { const char* name; int left, top, droppedWidth; bool below; };
    const Case cases[] = {
        {"room below", 10, 10, 0, true},
        {"no room below: above the box", 10, 260, 0, false},
        {"wider than the room to the right", 300, 10, 250, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* combo = Make<TComboBox>(c.left, c.top, 90, 22);
        combo->SetStyle(csDropDownList);
        for (int i = 0; i < 12; ++i)
            combo->Items()->Add(u"Item " + String(1, static_cast<char16_t>(u'A' + i)));
        combo->SetDroppedWidth(c.droppedWidth);
        combo->SetDroppedDown(true);
        auto* list = dynamic_cast<TCustomListBox*>(form->Controls(form->ControlCount() - 1));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->VisibleItemCount(), combo->DropDownCount());
        EXPECT_GE(list->Left(), 0);
        EXPECT_LE(list->Left() + list->Width(), form->ClientWidth());
        EXPECT_GE(list->Width(), std::max(c.droppedWidth, combo->Width()));
        if (c.below)
            EXPECT_GE(list->Top(), combo->Top() + combo->Height());
        else
            EXPECT_LE(list->Top() + list->Height(), combo->Top());
        combo->SetDroppedDown(false);
        delete combo;
    }
}

TEST_F(Edits, SplitterResizesItsNeighbourNotBelowMinSize)
{
    auto* left = Make<TPanel>(0, 0, 100, 300);
    left->SetAlign(alLeft);
    auto* splitter = new TSplitter(form.get());
    splitter->SetParent(form.get());
    splitter->SetLeft(100);
    splitter->SetMinSize(40);
    auto* rest = Make<TPanel>(0, 0, 10, 10);
    rest->SetAlign(alClient);
    ASSERT_EQ(splitter->Left(), 100);
    ASSERT_EQ(splitter->FindResizeControl(), left);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };

    pt::Press(splitter, 1, 50);
    pt::Move(splitter, 31, 50);
    EXPECT_EQ(left->Width(), 130);
    EXPECT_EQ(rest->Left(), 133);
    pt::Release(splitter, 31, 50);
    EXPECT_EQ(moved, 1);

    pt::Press(splitter, 1, 50);
    pt::Move(splitter, -200, 50);
    pt::Release(splitter, -200, 50);
    EXPECT_EQ(left->Width(), 40);
}

TEST_F(Edits, EditPortionOfAComboTakesTheBoxColour)
{
    // Set before and after the edit portion exists, and through a style change.
    auto* c = Make<TComboBox>(10, 10, 150, 22);
    c->SetStyle(csDropDownList);
    c->SetColor(0x0080C0FF);
    c->SetStyle(csDropDown);
    pt::ProcessEvents();
    auto grab = pt::Grab(c);
    const TRect a = c->ClientAreaInWindow();
    EXPECT_EQ(pt::PixelOf(*grab, a.Left + 40, a.Top + a.Height() / 2), TColor(0x0080C0FF));
    c->SetColor(0x00C0FFC0);
    pt::ProcessEvents();
    grab = pt::Grab(c);
    EXPECT_EQ(pt::PixelOf(*grab, a.Left + 40, a.Top + a.Height() / 2), TColor(0x00C0FFC0));
}

} // namespace

// An edit mask through the real key path: characters fill positions in place, literals are
// stepped over, Backspace and Delete empty positions, pastes type what fits, refused keys
// beep and change nothing, and the text reports the mask's text.
TEST_F(Edits, MaskedEditThroughTheKeyPath)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.TimeSeparator = u':';
    struct Case {
        const char* name;
        const char16_t* mask;
        const char16_t* start;  // text set by the program
        std::function<void(TMaskEdit*)> keys;
        const char16_t* edit;
        const char16_t* text;
        int beeps;
    };
    const Case cases[] = {
        {"typing fills the positions and steps over literals", u"00:00;1;_", u"",
         [](TMaskEdit* e) {
             e->SetSelStart(0);
             pt::Type(u"1234");
         },
         u"12:34", u"12:34", 0},
        {"without save-literals the text is the digits", u"000-0000;0;_", u"",
         [](TMaskEdit* e) {
             e->SetSelStart(0);
             pt::Type(u"5551234");
         },
         u"555-1234", u"5551234", 0},
        {"a refused character beeps, the text stays", u"00:00;1;_", u"12:34",
         [](TMaskEdit* e) {
             e->SetSelStart(1);
             pt::Type(u"x");
         },
         u"12:34", u"12:34", 1},
        {"typing overwrites in place", u"00:00;1;_", u"12:34",
         [](TMaskEdit* e) {
             e->SetSelStart(3);
             pt::Type(u"9");
         },
         u"12:94", u"12:94", 0},
        {"backspace and delete empty positions, literals stay", u"00:00;1;_", u"12:34",
         [](TMaskEdit* e) {
             e->SetSelStart(3);
             pt::Key(VK_DELETE);
             pt::Type(u"\b");
         },
         u"1_:_4", u"1 : 4", 0},
        {"the leading hour digit shows as a blank", u"!90:00:00;1; ", u"7:05:09", [](TMaskEdit*) {}, u" 7:05:09",
         u"7:05:09", 0},
        {"Ctrl+V types what fits, Ctrl+X empties the selection", u"00:00;1;_", u"",
         [](TMaskEdit* e) {
             Clipboard().SetAsText(u"1a2:3");
             e->SetSelStart(0);
             pt::Key('V', ssCtrl);
             e->SetSelStart(0);
             e->SetSelLength(2);
             pt::Key('X', ssCtrl);
         },
         u"__:3_", u"  :3", 0},
        {"a program's text is shown through the mask", u">LL-00", u"ab-12", [](TMaskEdit*) {}, u"AB-12", u"AB-12", 0},
    };
    int beeps = 0;
    SetBeepHandler([&](UINT) { ++beeps; });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        beeps = 0;
        auto* e = Make<TMaskEdit>(10, 10, 120, 21);
        e->SetEditMask(c.mask);
        e->SetText(c.start);
        e->SetFocus();
        c.keys(e);
        EXPECT_EQ(e->EditText(), String(c.edit));
        EXPECT_EQ(e->Text(), String(c.text));
        EXPECT_EQ(beeps, c.beeps);
        delete e;
    }
    SetBeepHandler(nullptr);
    FormatSettings = saved;
}

// Putting a mask on a filled edit shows its text through the mask; taking it off shows the
// mask's text as plain text.
TEST_F(Edits, MaskOnAndOff)
{
    auto* e = Make<TMaskEdit>(10, 10, 120, 21);
    e->SetText(u"5551234");
    e->SetEditMask(u"000-0000;1;_");
    EXPECT_EQ(e->EditText(), u"555-1234");
    EXPECT_EQ(e->Text(), u"555-1234");
    e->SetEditMask(String());
    EXPECT_FALSE(e->IsMasked());
    EXPECT_EQ(e->Text(), u"555-1234");
    EXPECT_EQ(e->EditText(), u"555-1234");
}
