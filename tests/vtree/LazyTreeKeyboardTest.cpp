// Keyboard input and the incremental search of the tree, driven through the injector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"

namespace vtree::testing {
namespace {

using plat::ssAlt;
using plat::ssCtrl;
using plat::ssShift;
using plat::TShiftState;
namespace kit = plat::testing;

// Three top-level nodes, each with three children of two children each: 30 nodes, 18 px rows.
class KeyboardTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        const char16_t* rootTexts[] = {u"r0", u"r1", u"r2"};
        for (auto t : rootTexts) {
            PLazyNode r = Add(nullptr, t);
            for (int c = 0; c < 3; ++c) {
                PLazyNode ch = Add(r, u"c");
                Add(ch, u"g");
                Add(ch, u"g");
            }
        }
        tree->FullExpand();
        for (PLazyNode n = tree->GetFirstVisible(); n; n = tree->GetNextVisible(n)) v.push_back(n);
        tree->SetFocus();
        kit::ProcessEvents();
    }
    void Key(std::uint16_t K, TShiftState S = 0)
    {
        kit::Key(K, S);
        EXPECT_INPUT_OK(*tree, true);
    }
    void Start(int Focused)
    {
        tree->ClearSelection();
        tree->SetFocusedNode(v[Focused]);
        tree->SetSelected(v[Focused], true);
        // The plain key that got there leaves the anchor at the focused node.
        kit::Key(plat::VK_CONTROL);
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> r;
        for (std::size_t i = 0; i < v.size(); ++i)
            if (v[i]->Has(vsSelected)) r.push_back(static_cast<int>(i));
        return r;
    }
    int Row(PLazyNode N)
    {
        for (std::size_t i = 0; i < v.size(); ++i)
            if (v[i] == N) return static_cast<int>(i);
        return -1;
    }
    std::vector<PLazyNode> v;
};

struct NavCase {
    const char* What;
    int From;
    std::uint16_t Key;
    TShiftState Shift;
    int Focus;
    std::vector<int> Selected;
};

TEST_F(KeyboardTest, NavigationKeysTable)
{
    Select({toMultiSelect});
    ASSERT_EQ(v.size(), 30u);
    ASSERT_EQ(tree->ClientHeight(), 200);
    using namespace plat;
    const NavCase cases[] = {
        {"Down", 0, VK_DOWN, 0, 1, {1}},
        {"Up", 2, VK_UP, 0, 1, {1}},
        {"Up at the first node", 0, VK_UP, 0, 0, {0}},
        {"Down at the last node", 29, VK_DOWN, 0, 29, {29}},
        {"Shift+Down extends from the anchor", 1, VK_DOWN, ssShift, 2, {1, 2}},
        {"Shift+Up extends upwards", 5, VK_UP, ssShift, 4, {4, 5}},
        {"Right on an expanded node enters it", 0, VK_RIGHT, 0, 1, {1}},
        {"Left on a leaf goes to the parent", 2, VK_LEFT, 0, 1, {1}},
        {"Backspace goes to the parent", 5, VK_BACK, 0, 4, {4}},
        {"Backspace on a top-level node stays", 10, VK_BACK, 0, 10, {10}},
        {"Home", 5, VK_HOME, 0, 0, {0}},
        {"End", 5, VK_END, 0, 29, {29}},
        {"Shift+End selects the range", 27, VK_END, ssShift, 29, {27, 28, 29}},
        {"Shift+Home selects the range", 2, VK_HOME, ssShift, 0, {0, 1, 2}},
        {"PageDown moves by the client height", 0, VK_NEXT, 0, 11, {11}},
        {"PageUp moves by the client height", 20, VK_PRIOR, 0, 9, {9}},
        {"Shift+PageDown selects the page", 0, VK_NEXT, ssShift, 11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"Ctrl+Down only scrolls", 3, VK_DOWN, ssCtrl, 3, {3}},
        {"Ctrl+Home only scrolls", 5, VK_HOME, ssCtrl, 5, {5}},
    };
    for (const NavCase& c : cases) {
        SCOPED_TRACE(c.What);
        tree->FullExpand();
        tree->SetOffsetY(0);
        Start(c.From);
        Key(c.Key, c.Shift);
        EXPECT_EQ(Row(tree->FocusedNode()), c.Focus);
        EXPECT_EQ(SelectedRows(), c.Selected);
    }
}

TEST_F(KeyboardTest, ExpandingAndCollapsingKeys)
{
    using namespace plat;
    struct Case {
        const char* What;
        bool CollapseFirst;
        std::uint16_t Key;
        TShiftState Shift;
        bool RootExpanded;
        bool ChildExpanded;
    };
    const Case cases[] = {
        {"Left on an expanded node collapses it", false, VK_LEFT, 0, false, true},
        {"Right on a collapsed node expands it", true, VK_RIGHT, 0, true, false},
        {"keypad plus expands", true, VK_ADD, 0, true, false},
        {"keypad minus collapses", false, VK_SUBTRACT, 0, false, true},
        {"keypad star expands the subtree", true, VK_MULTIPLY, 0, true, true},
        {"keypad divide collapses the subtree", false, VK_DIVIDE, 0, false, false},
        // Ctrl alone is the header's column fitting; with Shift it is the whole tree.
        {"Ctrl+keypad plus without columns", true, VK_ADD, ssCtrl, false, false},
        {"Ctrl+Shift+keypad plus expands the whole tree", true, VK_ADD, ssCtrl | ssShift, true, true},
        {"Ctrl+Shift+keypad minus collapses the whole tree", false, VK_SUBTRACT, ssCtrl | ssShift, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        tree->FullExpand();
        if (c.CollapseFirst) tree->FullCollapse();
        Start(0);
        Key(c.Key, c.Shift);
        EXPECT_EQ(tree->GetExpanded(v[0]), c.RootExpanded);
        EXPECT_EQ(tree->GetExpanded(v[1]), c.ChildExpanded);
        EXPECT_EQ(tree->FocusedNode(), v[0]);
    }
}

TEST_F(KeyboardTest, TypedPlusActsAsKeypadPlus)
{
    tree->FullCollapse();
    Start(0);
    kit::Type(u"+");
    EXPECT_INPUT_OK(*tree, true);
    EXPECT_TRUE(tree->GetExpanded(v[0]));
    kit::Type(u"-");
    EXPECT_FALSE(tree->GetExpanded(v[0]));
    EXPECT_TRUE(tree->SearchBuffer().empty());
}

TEST_F(KeyboardTest, CtrlASelectsAllVisibleOnlyWithMultiSelect)
{
    Start(3);
    Key('A', ssCtrl);
    EXPECT_EQ(tree->SelectedCount(), 1);
    Select({toMultiSelect});
    tree->FullCollapse();
    tree->SetExpanded(v[0], true);  // r0 and its three children (six grandchildren hidden)
    Start(0);
    Key('A', ssCtrl);
    EXPECT_EQ(tree->SelectedCount(), 6);
}

TEST_F(KeyboardTest, SpaceChecksOnReleaseAndAnotherKeyAbandonsIt)
{
    Misc({toCheckSupport});
    tree->SetCheckType(v[0], ctCheckBox);
    Start(0);
    kit::KeyDown(plat::VK_SPACE);
    EXPECT_TRUE(tree->HasState(tsKeyCheckPending));
    EXPECT_EQ(tree->GetCheckState(v[0]), csUncheckedPressed);
    kit::KeyUp(plat::VK_SPACE);
    EXPECT_INPUT_OK(*tree, true);
    EXPECT_EQ(tree->GetCheckState(v[0]), csCheckedNormal);
    EXPECT_EQ(tree->CheckNode(), nullptr);

    kit::KeyDown(plat::VK_SPACE);
    kit::Key(plat::VK_CONTROL);
    EXPECT_FALSE(tree->HasState(tsKeyCheckPending));
    kit::KeyUp(plat::VK_SPACE);
    EXPECT_INPUT_OK(*tree, true);
    EXPECT_EQ(tree->GetCheckState(v[0]), csCheckedNormal) << "the abandoned check changes nothing";
}

TEST_F(KeyboardTest, EscapeCancelsABandUnlessTheKeyActionVetoesIt)
{
    Select({toMultiSelect});
    tree->FullCollapse();
    for (bool veto : {true, false}) {
        SCOPED_TRACE(veto ? "vetoed" : "plain");
        std::vector<std::uint16_t> keys;
        tree->OnKeyAction = [&](TBaseLazyTree*, std::uint16_t& K, TShiftState&, bool& DoDefault) {
            keys.push_back(K);
            DoDefault = !veto;
        };
        kit::Press(tree, 150, 100);
        ASSERT_TRUE(tree->HasState(tsDrawSelPending));
        kit::Key(plat::VK_ESCAPE);
        EXPECT_EQ(tree->HasState(tsDrawSelPending), veto);
        EXPECT_EQ(keys, std::vector<std::uint16_t>{static_cast<std::uint16_t>(plat::VK_ESCAPE)});
        kit::Release(tree, 150, 100);
        EXPECT_INPUT_OK(*tree, true);
    }
}

// Key-up rows: Space applies a pending check only to the node that is still focused, a lone
// Space release does nothing, and Tab's release focuses some node when none is focused.
TEST_F(KeyboardTest, KeyUpTable)
{
    Misc({toCheckSupport});
    for (PLazyNode n : v) tree->SetCheckType(n, ctCheckBox);
    struct Case {
        const char* What;
        bool SpaceDown;
        int RefocusTo;  // -1: the focus stays; -2: no focused node
        int Selected;   // -1: none
        std::uint16_t Up;
        int Focus;
        TCheckState First, Second;
    };
    const Case cases[] = {
        {"Space released on the focused node checks it", true, -1, 0, plat::VK_SPACE, 0, csCheckedNormal,
         csUncheckedNormal},
        {"Space released after the focus moved checks nothing", true, 1, 0, plat::VK_SPACE, 1, csUncheckedNormal,
         csUncheckedNormal},
        {"a Space release without its press does nothing", false, -1, 0, plat::VK_SPACE, 0, csUncheckedNormal,
         csUncheckedNormal},
        {"Tab released without a focused node focuses the first selected", false, -2, 5, plat::VK_TAB, 5,
         csUncheckedNormal, csUncheckedNormal},
        {"Tab released without focus or selection focuses the first visible", false, -2, -1, plat::VK_TAB, 0,
         csUncheckedNormal, csUncheckedNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        for (PLazyNode n : v) tree->SetCheckState(n, csUncheckedNormal);
        Start(0);
        if (c.SpaceDown) {
            kit::KeyDown(plat::VK_SPACE);
            ASSERT_TRUE(tree->HasState(tsKeyCheckPending));
        }
        tree->ClearSelection();
        if (c.Selected >= 0) tree->SetSelected(v[c.Selected], true);
        if (c.RefocusTo == -2) tree->SetFocusedNode(nullptr);
        if (c.RefocusTo >= 0) tree->SetFocusedNode(v[c.RefocusTo]);
        kit::KeyUp(c.Up);
        EXPECT_INPUT_OK(*tree, true);
        EXPECT_FALSE(tree->HasState(tsKeyCheckPending));
        EXPECT_EQ(tree->CheckNode(), nullptr);
        EXPECT_EQ(Row(tree->FocusedNode()), c.Focus);
        EXPECT_EQ(tree->GetCheckState(v[0]), c.First);
        EXPECT_EQ(tree->GetCheckState(v[1]), c.Second);
    }
}

// Escape cancels a pending edit (the click on the focused, selected label armed the edit
// timer), unless OnKeyAction vetoes the key: then the edit starts when the timer expires.
TEST_F(KeyboardTest, EscapeCancelsAPendingEditUnlessVetoed)
{
    Misc({toEditable});
    tree->SetEditDelay(500);
    for (bool veto : {false, true}) {
        SCOPED_TRACE(veto ? "vetoed" : "plain");
        tree->EditsStarted = 0;
        tree->OnKeyAction = [&](TBaseLazyTree*, std::uint16_t&, TShiftState&, bool& DoDefault) { DoDefault = !veto; };
        Start(0);
        kit::AdvanceClock(2000);
        Click(LabelX(v[0]), RowY(v[0]));
        ASSERT_TRUE(tree->HasState(tsEditPending));
        Key(plat::VK_ESCAPE);
        EXPECT_EQ(tree->HasState(tsEditPending), veto);
        kit::AdvanceClock(2000);
        EXPECT_EQ(tree->EditsStarted, veto ? 1 : 0);
        EXPECT_EQ(tree->FocusedNode(), v[0]);
    }
}

TEST_F(KeyboardTest, F2StartsEditingOnlyWhenTheNodeMayBeEdited)
{
    Start(4);
    Key(plat::VK_F2);
    EXPECT_EQ(tree->EditsStarted, 0) << "toEditable is off";
    Misc({toEditable});
    Key(plat::VK_F2);
    EXPECT_EQ(tree->EditsStarted, 1);
    Key(plat::VK_F2, ssShift);
    EXPECT_EQ(tree->EditsStarted, 1);
    Misc({toReadOnly});
    Key(plat::VK_F2);
    EXPECT_EQ(tree->EditsStarted, 1);
}

TEST_F(KeyboardTest, F1AsksTheNodeThenItsParentsThenTheControls)
{
    Start(2);  // a grandchild
    Key(plat::VK_F1);
    EXPECT_TRUE(helpContexts.empty()) << "without the event F1 does nothing";
    std::vector<PLazyNode> asked;
    tree->OnGetHelpContext = [&](TBaseLazyTree*, PLazyNode N, TColumnIndex C, int& H) {
        asked.push_back(N);
        EXPECT_EQ(C, 0);
        if (N == v[0]) H = 77;
    };
    Key(plat::VK_F1);
    EXPECT_EQ(asked, (std::vector<PLazyNode>{v[2], v[1], v[0]}));
    EXPECT_EQ(helpContexts, std::vector<int>{77});
    // No node answers: the tree's own context.
    tree->OnGetHelpContext = [](TBaseLazyTree*, PLazyNode, TColumnIndex, int&) {};
    tree->SetHelpContext(12);
    Key(plat::VK_F1);
    EXPECT_EQ(helpContexts, (std::vector<int>{77, 12}));
}

TEST_F(KeyboardTest, DialogCodeWantsArrowsAndCharactersAndTabsOnRequest)
{
    EXPECT_EQ(tree->Perform(plat::WM_GETDLGCODE, 0, 0), 129);
    tree->SetWantTabs(true);
    EXPECT_EQ(tree->Perform(plat::WM_GETDLGCODE, 0, 0), 131);
}

// ---- incremental search

class SearchTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        tree->SetIncrementalSearch(isAll);
        tree->SetFocus();
        kit::ProcessEvents();
    }
    void Type(const char16_t* Text)
    {
        kit::Type(Text);
        EXPECT_INPUT_OK(*tree, true);
    }
};

TEST_F(SearchTest, SameLetterCyclesAndADoubleLetterExtends)
{
    const auto r = Roots({u"apple", u"berry", u"apricot"});
    tree->SetFocusedNode(r[0]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[2]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[0]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[2]);
    EXPECT_EQ(tree->SearchBuffer(), u"a");
    EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{r[2]});
    EXPECT_TRUE(beeps.empty());
}

TEST_F(SearchTest, SecondLetterExtendsWhenTheFoundNodeHasIt)
{
    const auto r = Roots({u"beta", u"aardvark", u"apple"});
    tree->SetFocusedNode(r[0]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[1]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[1]);
    EXPECT_EQ(tree->SearchBuffer(), u"aa");
}

TEST_F(SearchTest, BackspaceWithAnEmptyBufferOnlyRestartsTheTimer)
{
    const auto r = Roots({u"apple", u"berry"});
    tree->SetFocusedNode(r[0]);
    Type(u"z");
    EXPECT_EQ(beeps, std::vector<plat::UINT>{0u}) << "a failed search beeps once";
    EXPECT_TRUE(tree->SearchBuffer().empty());
    kit::AdvanceClock(600);
    kit::Key(plat::VK_BACK);
    EXPECT_EQ(tree->FocusedNode(), r[0]);
    EXPECT_EQ(beeps.size(), 1u);
    kit::AdvanceClock(600);
    EXPECT_TRUE(tree->HasState(tsIncrementalSearching)) << "the timer was restarted";
    kit::AdvanceClock(400);
    EXPECT_FALSE(tree->HasState(tsIncrementalSearching));
}

TEST_F(SearchTest, BackspaceShortensTheSearchAndGoesBack)
{
    const auto r = Roots({u"ab", u"x", u"abc"});
    tree->SetFocusedNode(r[1]);
    Type(u"ab");
    EXPECT_EQ(tree->FocusedNode(), r[2]);
    kit::Key(plat::VK_BACK);
    EXPECT_INPUT_OK(*tree, true);
    EXPECT_EQ(tree->SearchBuffer(), u"a");
    EXPECT_EQ(tree->FocusedNode(), r[0]) << "backspace searches the other way";
}

TEST_F(SearchTest, AlwaysStartOverWithoutAMatchDoesNotBeep)
{
    const auto r = Roots({u"apple", u"berry"});
    tree->SetIncrementalSearchStart(ssAlwaysStartOver);
    tree->SetFocusedNode(r[1]);
    Type(u"z");
    EXPECT_TRUE(beeps.empty());
    EXPECT_EQ(tree->FocusedNode(), r[1]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[0]);
}

TEST_F(SearchTest, VisibleOnlySkipsCollapsedChildren)
{
    PLazyNode x = Roots({u"x", u"y"})[0];
    PLazyNode target = Add(x, u"target");
    struct Case {
        TLTIncrementalSearch Mode;
        PLazyNode Expected;
    };
    for (const Case& c : {Case{isVisibleOnly, x}, Case{isAll, target}}) {
        SCOPED_TRACE(c.Mode);
        tree->SetExpanded(x, false);
        tree->SetFocusedNode(x);
        tree->SetIncrementalSearch(isNone);
        tree->SetIncrementalSearch(c.Mode);
        Type(u"t");
        EXPECT_EQ(tree->FocusedNode(), c.Expected);
    }
}

TEST_F(SearchTest, InitializedOnlySkipsUninitialisedNodes)
{
    PLazyNode x = Roots({u"x"})[0];
    tree->SetChildCount(x, 2);
    PLazyNode child = tree->GetFirstChildNoInit(x);
    // The node record is packed: copy the sibling pointer before it becomes a map key.
    const PLazyNode sibling = child->NextSibling;
    texts[child] = u"kid";
    texts[sibling] = u"kin";
    ASSERT_FALSE(child->Has(vsInitialized));
    tree->SetFocusedNode(x);
    tree->SetIncrementalSearch(isInitializedOnly);
    Type(u"k");
    EXPECT_EQ(tree->FocusedNode(), x);
    EXPECT_FALSE(child->Has(vsInitialized));
    tree->SetIncrementalSearch(isAll);
    Type(u"k");
    EXPECT_EQ(tree->FocusedNode(), child);
}

TEST_F(SearchTest, BackwardDirection)
{
    const auto r = Roots({u"a1", u"b", u"a2", u"a3"});
    tree->SetIncrementalSearchDirection(sdBackward);
    tree->SetFocusedNode(r[1]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[0]);
    Type(u"a");
    EXPECT_EQ(tree->FocusedNode(), r[3]) << "wraps to the last node";
}

TEST_F(SearchTest, TimerEmptiesTheBufferAfterTheTimeout)
{
    const auto r = Roots({u"apple", u"avocado"});
    tree->SetFocusedNode(r[1]);
    Type(u"ap");
    EXPECT_EQ(tree->SearchBuffer(), u"ap");
    kit::AdvanceClock(999);
    EXPECT_EQ(tree->SearchBuffer(), u"ap");
    kit::AdvanceClock(1);
    EXPECT_TRUE(tree->SearchBuffer().empty());
    EXPECT_FALSE(tree->HasState(tsIncrementalSearching));
}

} // namespace
} // namespace vtree::testing
