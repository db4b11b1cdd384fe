// The memo drop-down on a shown offscreen host form: the edit's one-line view of the lines,
// editing in the open memo, Esc and leaving the form, AutoDrop and the keys the memo passes on.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "DropDownDraw.h"
#include "ExtMemoDropDown.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

class ExtMemoDropDownTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 400, 300);
        other = new TEdit(host.get());
        other->SetParent(host.get());
        other->SetBounds(10, 200, 100, 21);
        dd = new TExtMemoDropDown(host.get());
        dd->SetParent(host.get());
        dd->SetBounds(20, 30, 160, 21);
        dd->DropDownHeader()->SetVisible(false);
        dd->DropDownFooter()->SetVisible(false);
        host->Show();
        dd->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }
    void SetLines(std::vector<String> Lines)
    {
        TStringList l;
        for (const String& s : Lines) l.Add(s);
        dd->SetMemoText(&l);
    }
    void Open()
    {
        pt::Key(VK_F4);
        pt::ProcessEvents();
        ASSERT_TRUE(dd->DroppedDown());
        dd->Memo()->SetFocus();
        pt::ProcessEvents();
    }
    int TextWidth(const String& S)
    {
        TCanvas c;
        c.Font()->Assign(dd->Font());
        return MeasureText(&c, S).cx;
    }
    std::vector<String> MemoLines() const { return dd->MemoText()->ToVector(); }

    std::unique_ptr<TForm> host;
    TEdit* other = nullptr;
    TExtMemoDropDown* dd = nullptr;
};

TEST_F(ExtMemoDropDownTest, TheEditShowsTheFirstLineWithDotsOrAllLinesWhileTheEditorIsEnabled)
{
    dd->SetEditorEnabled(false);
    SetLines({u"line1", u"line2", u"line3"});
    EXPECT_EQ(dd->Text(), u"line1...");
    SetLines({u"only"});
    EXPECT_EQ(dd->Text(), u"only");
    SetLines({});
    EXPECT_EQ(dd->Text(), u"");
    dd->SetEditorEnabled(true);
    SetLines({u"line1", u"line2", u"line3"});
    EXPECT_EQ(dd->Text(), u"line1\r\nline2\r\nline3");
    // The edit's text is not fed back into the lines it was built from.
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"line1", u"line2", u"line3"}));
}

TEST_F(ExtMemoDropDownTest, AFirstLineWiderThanTheEditIsCutWithDotsNarrowerThanTheTextRectangle)
{
    dd->SetEditorEnabled(false);
    const String wide = u"A first line that is far too wide for a small edit of 160 pixels";
    const int room = dd->GetEditRect().Right - dd->GetEditRect().Left;
    ASSERT_GT(TextWidth(wide), room);
    for (const std::vector<String>& lines : {std::vector<String>{wide}, std::vector<String>{wide, u"second"}}) {
        SetLines(lines);
        const String t = dd->Text();
        ASSERT_GE(t.size(), 4u);
        EXPECT_EQ(t.substr(t.size() - 3), u"...");
        EXPECT_EQ(wide.substr(0, t.size() - 3), t.substr(0, t.size() - 3));
        EXPECT_LT(TextWidth(t), room);
        // One more character would not fit.
        EXPECT_GE(TextWidth(wide.substr(0, t.size() - 2) + u"..."), room);
    }
}

TEST_F(ExtMemoDropDownTest, TypingInTheEditBecomesTheLines)
{
    pt::Type(u"abc");
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"abc"}));
    dd->SetText(u"x\r\ny");
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"x", u"y"}));
}

TEST_F(ExtMemoDropDownTest, EscRestoresTheEarlierLinesAndLeavingTheFormKeepsTheTypedText)
{
    for (bool editor : {false, true}) {
        SCOPED_TRACE(editor);
        dd->SetEditorEnabled(editor);
        SetLines({u"one", u"two"});
        Open();
        EXPECT_EQ(dd->Memo()->Text(), u"one\r\ntwo");
        EXPECT_FALSE(dd->DropDownForm()->CancelOnDeActivate());
        pt::Key(VK_END, ssCtrl);
        pt::Type(u"3");
        EXPECT_EQ(dd->Memo()->Text(), u"one\r\ntwo3");
        pt::Key(VK_ESCAPE);
        pt::ProcessEvents();
        EXPECT_FALSE(dd->DroppedDown());
        EXPECT_EQ(MemoLines(), (std::vector<String>{u"one", u"two"}));
        EXPECT_EQ(dd->Text(), editor ? u"one\r\ntwo" : u"one...");
        EXPECT_TRUE(dd->Focused());
        EXPECT_EQ(dd->SelStart(), 0);
        EXPECT_EQ(dd->SelLength(), 0);

        Open();
        pt::Key(VK_END, ssCtrl);
        pt::Key(VK_RETURN);
        pt::Type(u"four");
        pt::ActivateForm(host.get());
        pt::ProcessEvents();
        EXPECT_FALSE(dd->DroppedDown());
        EXPECT_EQ(MemoLines(), (std::vector<String>{u"one", u"two", u"four"}));
        EXPECT_EQ(dd->Text(), editor ? u"one\r\ntwo\r\nfour" : u"one...");
    }
}

TEST_F(ExtMemoDropDownTest, EscRestoresTheTextLastGivenToSetTextNotTheTextTypedBeforeOpening)
{
    dd->SetText(u"given");
    pt::Type(u"x");
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"givenx"}));
    Open();
    pt::Key(VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), u"given");
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"given"}));
}

TEST_F(ExtMemoDropDownTest, TheMemoKeepsItsKeysButEscF4AndAltReachTheDropDown)
{
    SetLines({u"a"});
    Open();
    // Enter and the arrows stay in the memo.
    pt::Key(VK_END, ssCtrl);
    pt::Key(VK_DOWN);
    pt::Key(VK_RETURN);
    pt::ProcessEvents();
    EXPECT_TRUE(dd->DroppedDown());
    // F4 closes keeping, Alt+Up closes keeping.
    pt::Type(u"b");
    pt::Key(VK_F4);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"a", u"b"}));
    Open();
    pt::Key(VK_END, ssCtrl);
    pt::Type(u"c");
    pt::Key(VK_UP, ssAlt);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(MemoLines(), (std::vector<String>{u"a", u"bc"}));
}

TEST_F(ExtMemoDropDownTest, CtrlASelectsTheMemosWholeText)
{
    SetLines({u"first", u"second"});
    Open();
    dd->Memo()->SetSelStart(2);
    dd->Memo()->SetSelLength(0);
    pt::Key('A', ssCtrl);
    pt::ProcessEvents();
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Memo()->SelStart(), 0);
    EXPECT_EQ(dd->Memo()->SelText(), u"first\r\nsecond");
}

TEST_F(ExtMemoDropDownTest, AutoDropOpensOnFocusEntryButNotWhenTheFocusComesBackFromClosing)
{
    dd->SetAutoDrop(true);
    other->SetFocus();
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    pt::Click(dd, 10, 10);
    pt::ProcessEvents();
    ASSERT_TRUE(dd->DroppedDown());
    dd->Memo()->SetFocus();
    pt::ProcessEvents();
    pt::Key(VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_TRUE(dd->Focused());
    EXPECT_TRUE(dd->AutoDrop());
    // Tabbing in again opens it again.
    other->SetFocus();
    pt::ProcessEvents();
    dd->SetFocus();
    pt::ProcessEvents();
    EXPECT_TRUE(dd->DroppedDown());
}

TEST_F(ExtMemoDropDownTest, OpeningHandsTheSettingsToTheMemo)
{
    dd->SetMaxLength(40);
    dd->SetMemoScrollBars(ssVertical);
    dd->SetMemoReadOnly(true);
    int changes = 0;
    dd->OnMemoChange = [&](TObject*) { ++changes; };
    SetLines({u"x"});
    Open();
    TMemo* m = dd->Memo();
    EXPECT_EQ(dd->Control(), m);
    EXPECT_EQ(m->Parent(), dd->DropDownForm());
    EXPECT_EQ(m->BorderStyle(), bsNone);
    EXPECT_EQ(m->MaxLength(), 40);
    EXPECT_EQ(m->ScrollBars(), ssVertical);
    EXPECT_TRUE(m->ReadOnly());
    // No header or footer: 2 x border + the memo's 100 px.
    EXPECT_EQ(dd->DropDownForm()->Height(), 102);
    dd->SetMemoReadOnly(false);
    EXPECT_FALSE(m->ReadOnly());
    const int before = changes;
    pt::Type(u"y");
    EXPECT_GT(changes, before);
}

} // namespace
