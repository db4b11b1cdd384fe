// In-place editing of the string tree through the injector: starting, ending, cancelling,
// the editor's keys, focus loss, bounds, scrolling and freeing while an edit runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../support/TestSupport.h"
#include "InputFixture.h"
#include "LazyTrees.Assert.h"
#include "LazyTrees.StringEditLink.h"
#include "plat/StdCtrls.h"

namespace vtree::testing {
namespace {

using plat::ssCtrl;
namespace kit = plat::testing;

class EditTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(250, 10, 60, 20);
        tree->RealEditor = true;
        nodes = Roots({u"alpha", u"beta", u"gamma", u"delta"});
        Misc({toEditable});
        tree->OnNewText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, const String& T) {
            texts[N] = T;
            newTexts.push_back(T);
        };
        tree->OnEdited = [this](TBaseLazyTree*, PLazyNode N, TColumnIndex) { edited.push_back(N); };
        tree->OnEditCancelled = [this](TBaseLazyTree*, TColumnIndex) { ++cancelled; };
        tree->SetFocus();
        kit::ProcessEvents();
    }
    void Focus(PLazyNode N)
    {
        tree->ClearSelection();
        tree->SetFocusedNode(N);
        tree->SetSelected(N, true);
    }
    void Key(std::uint16_t K, plat::TShiftState S = 0)
    {
        kit::Key(K, S);
        kit::ProcessEvents();
        EXPECT_INPUT_OK(*tree, true);
    }
    TStringEditLink* Link() { return dynamic_cast<TStringEditLink*>(tree->EditLink().get()); }
    TLTEdit* Editor() { return Link() ? Link()->Edit() : nullptr; }

    plat::TEdit* other = nullptr;
    std::vector<PLazyNode> nodes;
    std::vector<String> newTexts;
    std::vector<PLazyNode> edited;
    int cancelled = 0;
};

TEST_F(EditTest, F2TypingAndEnterWriteTheNewText)
{
    Focus(nodes[1]);
    Key(plat::VK_F2);
    ASSERT_TRUE(tree->IsEditing());
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->Visible());
    EXPECT_TRUE(Editor()->Focused());
    EXPECT_EQ(Editor()->GetText(), u"beta");
    EXPECT_EQ(Editor()->SelLength(), 4) << "the whole text is selected";
    kit::Type(u"omega");
    Key(plat::VK_RETURN);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(tree->EditLink(), nullptr);
    EXPECT_EQ(newTexts, std::vector<String>{u"omega"});
    EXPECT_EQ(edited, std::vector<PLazyNode>{nodes[1]});
    EXPECT_EQ(tree->GetText(nodes[1], NoColumn), u"omega");
    EXPECT_TRUE(tree->Focused()) << "the tree takes the focus back";
}

TEST_F(EditTest, AnUnmodifiedEndFiresOnEditedButNotOnNewText)
{
    Focus(nodes[0]);
    ASSERT_TRUE(tree->EditNode(nodes[0], NoColumn));
    Key(plat::VK_RETURN);
    EXPECT_EQ(edited.size(), 1u);
    EXPECT_TRUE(newTexts.empty());
}

TEST_F(EditTest, EscapeCancelsAndKeepsTheText)
{
    Focus(nodes[2]);
    Key(plat::VK_F2);
    kit::Type(u"zz");
    Key(plat::VK_ESCAPE);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(cancelled, 1);
    EXPECT_TRUE(edited.empty());
    EXPECT_EQ(tree->GetText(nodes[2], NoColumn), u"gamma");
    EXPECT_TRUE(tree->Focused());
}

TEST_F(EditTest, ReadOnlyBlocksEveryStart)
{
    Misc({toReadOnly, toEditOnClick});
    Focus(nodes[1]);
    Key(plat::VK_F2);
    EXPECT_FALSE(tree->IsEditing());
    Click(LabelX(nodes[1]), RowY(nodes[1]));
    kit::AdvanceClock(tree->EditDelay() + 10);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_FALSE(tree->EditNode(nodes[1], NoColumn));
    EXPECT_FALSE(tree->IsEditing());
}

TEST_F(EditTest, AClickOnTheFocusedSelectedLabelEditsAfterTheDelay)
{
    Misc({toEditOnClick});
    Focus(nodes[1]);
    Click(LabelX(nodes[1]), RowY(nodes[1]));
    EXPECT_TRUE(tree->HasState(tsEditPending));
    kit::AdvanceClock(tree->EditDelay() - 10);
    EXPECT_FALSE(tree->IsEditing());
    kit::AdvanceClock(20);
    EXPECT_TRUE(tree->IsEditing());
    EXPECT_INPUT_OK(*tree, true);
}

TEST_F(EditTest, UpOrDownDuringTheDelayCancelsWithoutMoving)
{
    Misc({toEditOnClick});
    for (std::uint16_t k : {plat::VK_UP, plat::VK_DOWN}) {
        SCOPED_TRACE(k);
        Focus(nodes[1]);
        Click(LabelX(nodes[1]), RowY(nodes[1]));
        ASSERT_TRUE(tree->HasState(tsEditPending));
        Key(k);
        EXPECT_EQ(tree->FocusedNode(), nodes[1]);
        EXPECT_FALSE(tree->HasState(tsEditPending));
        kit::AdvanceClock(tree->EditDelay() + 10);
        EXPECT_FALSE(tree->IsEditing());
    }
}

TEST_F(EditTest, UpAndDownInsideTheEditorMoveTheCaret)
{
    Focus(nodes[0]);
    Key(plat::VK_F2);
    Key(plat::VK_HOME);
    Key(plat::VK_DOWN);
    Key(plat::VK_DOWN);
    EXPECT_EQ(Editor()->SelStart(), 2);
    Key(plat::VK_UP);
    EXPECT_EQ(Editor()->SelStart(), 1);
    EXPECT_TRUE(tree->IsEditing());
    EXPECT_EQ(tree->FocusedNode(), nodes[0]);
    Key('A', ssCtrl);
    EXPECT_EQ(Editor()->SelLength(), 5);
}

TEST_F(EditTest, FocusLossAcceptsOnlyWithAutoAccept)
{
    struct Case {
        bool AutoAccept;
        const char16_t* Text;
        int Edited, Cancelled;
    };
    const Case cases[] = {{true, u"xq", 1, 0}, {false, u"beta", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.AutoAccept);
        texts[nodes[1]] = u"beta";
        edited.clear();
        cancelled = 0;
        TLTStringOptions o = tree->TreeOptions().StringOptions();
        o = c.AutoAccept ? (o | (1u << toAutoAcceptEditChange)) : (o & ~(1u << toAutoAcceptEditChange));
        tree->TreeOptions().SetStringOptions(o);
        Focus(nodes[1]);
        Key(plat::VK_F2);
        ASSERT_TRUE(tree->IsEditing());
        kit::Type(u"xq");
        other->SetFocus();
        kit::ProcessEvents();
        EXPECT_FALSE(tree->IsEditing());
        EXPECT_EQ(tree->GetText(nodes[1], NoColumn), c.Text);
        EXPECT_EQ(int(edited.size()), c.Edited);
        EXPECT_EQ(cancelled, c.Cancelled);
        EXPECT_TRUE(other->Focused());
        tree->SetFocus();
    }
}

TEST_F(EditTest, TabMovesTheEditDownAndEndsAfterTheLastNode)
{
    Focus(nodes[2]);
    Key(plat::VK_F2);
    kit::Type(u"g2");
    Key(plat::VK_TAB);
    EXPECT_EQ(tree->GetText(nodes[2], NoColumn), u"g2");
    EXPECT_EQ(tree->FocusedNode(), nodes[3]);
    ASSERT_TRUE(tree->IsEditing());
    EXPECT_EQ(Editor()->GetText(), u"delta");
    Key(plat::VK_TAB);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(tree->FocusedNode(), nullptr);
    EXPECT_EQ(edited, (std::vector<PLazyNode>{nodes[2], nodes[3]}));
}

TEST_F(EditTest, TheEditorIsAtLeastThirtyPixelsWide)
{
    texts[nodes[0]] = u"";
    tree->InvalidateNode(nodes[0]);
    Focus(nodes[0]);
    Key(plat::VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->Width(), 30);
    // Placed by hand: widened to the right, or to the left for right-justified text.
    Link()->SetBounds(plat::TRect{-5, 0, 10, 18});
    EXPECT_EQ(Editor()->BoundsRect(), (plat::TRect{0, 0, 30, 18}));
    Link()->SetBounds(plat::TRect{100, 0, 500, 18});
    EXPECT_EQ(Editor()->BoundsRect().Right, tree->ClientWidth()) << "limited to the client";
    kit::Type(u"a much longer text than before");
    EXPECT_GT(Editor()->Width(), 100) << "the editor grows with its text";
}

// A multi-line node is edited in a word-wrapping editor as high as the node: Enter breaks
// the line, Up and Down move between lines, the editor keeps its size while typing, and
// Ctrl+Enter writes the text with its line breaks.
TEST_F(EditTest, MultiLineNodeEditsItsLines)
{
    texts[nodes[1]] = u"first line\r\nsecond";
    tree->SetMultiline(nodes[1], true);
    tree->SetNodeHeight(nodes[1], 40);
    tree->InvalidateNode(nodes[1]);
    Focus(nodes[1]);
    Key(plat::VK_F2);
    ASSERT_TRUE(tree->IsEditing());
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->Multiline());
    EXPECT_TRUE(Editor()->WordWrap());
    EXPECT_EQ(Editor()->GetText(), u"first line\r\nsecond");
    EXPECT_EQ(Editor()->Perform(plat::EM_GETLINECOUNT), 2);
    const plat::TRect cell = tree->GetDisplayRect(nodes[1], NoColumn, true, false);
    EXPECT_EQ(Editor()->Top(), cell.Top);
    EXPECT_EQ(Editor()->Height(), 40) << "as high as the node";
    // The text keeps to the node's text margins, with no offset above it.
    plat::TRect f;
    Editor()->Perform(plat::EM_GETRECT, 0, reinterpret_cast<plat::LPARAM>(&f));
    const plat::TRect client = Editor()->ClientRect();
    EXPECT_EQ(f, (plat::TRect{client.Left + tree->TextMargin(), client.Top, client.Right - tree->TextMargin(),
                             client.Bottom}));
    const plat::TRect before = Editor()->BoundsRect();

    Key(plat::VK_HOME, ssCtrl);
    EXPECT_EQ(Editor()->SelStart(), 0);
    // Down goes a line down (the editor wraps at the text's width), not one character on.
    Key(plat::VK_DOWN);
    EXPECT_GT(Editor()->SelStart(), 1);
    Key(plat::VK_UP);
    EXPECT_EQ(Editor()->SelStart(), 0);
    Key(plat::VK_END, ssCtrl);
    Key(plat::VK_RETURN);  // a line break, the edit goes on
    EXPECT_TRUE(tree->IsEditing());
    kit::Type(u"third and a long line that is wider than the editor");
    EXPECT_EQ(Editor()->BoundsRect(), before) << "a multi-line editor keeps its bounds";
    Key(plat::VK_RETURN, ssCtrl);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(newTexts, std::vector<String>{u"first line\r\nsecond\r\nthird and a long line that is wider than the editor"});
    EXPECT_TRUE(tree->Focused());

    // The next edit of a single-line node is single-line again.
    Focus(nodes[2]);
    Key(plat::VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_FALSE(Editor()->Multiline());
    kit::Type(u"one");
    Key(plat::VK_RETURN);
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(tree->GetText(nodes[2], NoColumn), u"one");
    if (std::getenv("TEST_PICTURES")) {
        Focus(nodes[1]);
        Key(plat::VK_F2);
        kit::SaveGrab(form.get(), u"tree-multiline-editor.png");
        Key(plat::VK_ESCAPE);
    }
}

TEST_F(EditTest, ColumnsAndProgrammingErrors)
{
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>([&] { tree->EditNode(nullptr, NoColumn); },
                                                          u"Node must not be nil."));
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>(
        [&] { tree->EditNode(nodes[0], 0); }, u"Column must be a valid column index (-1 if no header is shown)."));
    EXPECT_TRUE(testsupport::ThrowsWith<EAssertionFailed>(
        [&] { tree->EditNode(nodes[0], -2); }, u"Column must be a valid column index (-1 if no header is shown)."));
    TLazyTreeColumn* c0 = tree->Header().Columns().Add();
    TLazyTreeColumn* c1 = tree->Header().Columns().Add();
    c0->SetOptions(TLTColumnOptions(c0->Options() & ~(1u << coEditable)));
    c1->SetOptions(TLTColumnOptions(c1->Options() | (1u << coEditable)));
    EXPECT_FALSE(tree->EditNode(nodes[0], 0));
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_TRUE(tree->EditNode(nodes[0], 1));
    EXPECT_EQ(tree->EditColumn(), 1);
}

TEST_F(EditTest, TheEditorFollowsScrollingAndAMousePressEndsTheEdit)
{
    for (int i = 0; i < 20; ++i) Add(nullptr, u"more");
    Focus(nodes[3]);
    Key(plat::VK_F2);
    ASSERT_TRUE(tree->IsEditing());
    const int top = Editor()->Top();
    tree->SetOffsetY(-18);
    EXPECT_EQ(Editor()->Top(), top - 18);
    kit::Type(u"d2");
    Click(LabelX(nodes[1]), RowY(nodes[1]));
    EXPECT_EQ(tree->GetText(nodes[3], NoColumn), u"d2") << "the press ends the edit and accepts it";
    EXPECT_FALSE(tree->IsEditing());
}

TEST_F(EditTest, FreeingTheTreeWhileEditingLeavesNothingBehind)
{
    Focus(nodes[1]);
    Key(plat::VK_F2);
    ASSERT_TRUE(tree->IsEditing());
    kit::Type(u"x");
    form.reset();
    tree = nullptr;
    kit::ProcessEvents();  // the editor's posted release finds no window
    EXPECT_EQ(cancelled, 1);
    EXPECT_TRUE(newTexts.empty());
}

// A link the application supplies is driven in the protocol's order, and its refusal to
// begin leaves no edit behind.
class RecordingLink : public ILTEditLink {
public:
    explicit RecordingLink(std::vector<std::string>& Log, bool Begin) : log(Log), begin(Begin) {}
    bool BeginEdit() override { log.push_back("begin"); return begin; }
    bool CancelEdit() override { log.push_back("cancel"); return true; }
    bool EndEdit() override { log.push_back("end"); return true; }
    bool PrepareEdit(TBaseLazyTree*, PLazyNode, TColumnIndex) override { log.push_back("prepare"); return true; }
    plat::TRect GetBounds() override { log.push_back("getbounds"); return {}; }
    void ProcessMessage(plat::TMessage&) override {}
    void SetBounds(plat::TRect) override { log.push_back("setbounds"); }
    std::vector<std::string>& log;
    bool begin;
};

TEST_F(EditTest, AnApplicationLinkIsDrivenInProtocolOrder)
{
    std::vector<std::string> log;
    bool begin = true;
    tree->OnCreateEditor = [&](TBaseLazyTree*, PLazyNode, TColumnIndex, PLTEditLink& L) {
        L = std::make_shared<RecordingLink>(log, begin);
    };
    Focus(nodes[0]);
    ASSERT_TRUE(tree->EditNode(nodes[0], NoColumn));
    EXPECT_EQ(log, (std::vector<std::string>{"prepare", "getbounds", "setbounds", "begin"}));
    EXPECT_TRUE(tree->EndEditNode());
    EXPECT_EQ(log.back(), "end");
    EXPECT_EQ(tree->EditLink(), nullptr);
    log.clear();
    begin = false;
    EXPECT_FALSE(tree->EditNode(nodes[0], NoColumn));
    EXPECT_FALSE(tree->IsEditing());
    EXPECT_EQ(tree->EditLink(), nullptr);
    EXPECT_TRUE(tree->CancelEditNode()) << "nothing runs";
}

} // namespace
} // namespace vtree::testing
