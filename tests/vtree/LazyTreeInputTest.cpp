// Hit testing, mouse input, selection and focus of the tree, driven through the injector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputFixture.h"
#include "plat/ImgList.h"
#include "plat/Menus.h"

namespace vtree::testing {
namespace {

using plat::mbLeft;
using plat::mbMiddle;
using plat::mbRight;
using plat::ssCtrl;
using plat::ssShift;

std::string Positions(THitPositions P)
{
    static const char* names[] = {"Above", "Below", "Nowhere", "OnItem", "Button", "ButtonExact", "Checkbox",
                                  "Indent", "Label", "Left", "Right", "NormalIcon", "StateIcon", "ToLeft",
                                  "ToRight", "UpperSplitter", "LowerSplitter"};
    std::string r;
    for (unsigned i = 0; i <= hiLowerSplitter; ++i)
        if (P & (1u << i)) r += std::string(r.empty() ? "" : ",") + names[i];
    return r;
}

THitPositions Hits(std::initializer_list<THitPosition> L)
{
    THitPositions r = 0;
    for (auto p : L) r |= HitBit(p);
    return r;
}

class HitTest : public InputTest {};

TEST_F(HitTest, PositionsTable)
{
    // A (children A1 with child A1a, A2), B; A and A1 expanded.
    const auto roots = Roots({u"Alpha", u"B"});
    PLazyNode A = roots[0], B = roots[1];
    PLazyNode A1 = Add(A, u"A1"), A2 = Add(A, u"A2");
    Add(A1, u"A1a");
    tree->SetExpanded(A, true);
    tree->SetExpanded(A1, true);
    const int W = tree->ClientWidth();
    const int plus = tree->PlusBitmap().Width();
    const int textW = tree->DoGetNodeWidth(A, NoColumn, nullptr);
    const int bottomOfRows = 5 * 18;
    ASSERT_LT(bottomOfRows + 10, tree->ClientHeight());
    struct Case {
        const char* What;
        int X, Y;
        PLazyNode Node;
        THitPositions Expected;
    };
    const Case cases[] = {
        {"above and left", -5, -5, nullptr, Hits({hiToLeft, hiAbove})},
        {"below the last node, inside", 30, bottomOfRows + 5, nullptr, Hits({hiNowhere})},
        {"below the client", 30, tree->ClientHeight() + 5, nullptr, Hits({hiBelow})},
        {"right of the client", W + 5, 5, nullptr, Hits({hiToRight})},
        {"button step, not exact", 1, RowY(A), A, Hits({hiOnItem, hiOnItemButton})},
        {"exact button", 18 - plus + 1, RowY(A), A, Hits({hiOnItem, hiOnItemButton, hiOnItemButtonExact})},
        {"margin of a leaf", 19, RowY(B), B, Hits({hiOnItem})},
        {"label", TextLeft(A) + 2, RowY(A), A, Hits({hiOnItem, hiOnItemLabel})},
        {"right of the text", TextLeft(A) + textW + 2, RowY(A), A, Hits({hiOnItem, hiOnItemRight})},
        {"second level button", 18 + 3, RowY(A1), A1, Hits({hiOnItem, hiOnItemButton})},
        {"second level label", TextLeft(A2) + 1, RowY(A2), A2, Hits({hiOnItem, hiOnItemLabel})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        THitInfo hit;
        tree->GetHitTestInfoAt(c.X, c.Y, true, hit);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(c.Expected));
        EXPECT_EQ(hit.HitNode, c.Node);
        EXPECT_EQ(hit.HitColumn, NoColumn);
    }
}

TEST_F(HitTest, ButtonsWithoutShowRootAreOneLevelIn)
{
    PLazyNode A = Roots({u"A"})[0];
    PLazyNode A1 = Add(A, u"A1");
    Add(A1, u"A1a");
    tree->SetExpanded(A, true);
    Paint({}, {toShowRoot});
    const int plus = tree->PlusBitmap().Width();
    struct Case {
        const char* What;
        int X;
        THitPositions Expected;
    };
    // Level 1 without the root step: the button step is 0..18 as level 0's with it.
    const Case cases[] = {
        {"button step", 2, Hits({hiOnItem, hiOnItemButton})},
        {"exact button", 18 - plus, Hits({hiOnItem, hiOnItemButton, hiOnItemButtonExact})},
        {"label", 18 + tree->Margin() + 1, Hits({hiOnItem, hiOnItemLabel})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        THitInfo hit;
        tree->GetHitTestInfoAt(c.X, RowY(A1), true, hit);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(c.Expected));
    }
}

TEST_F(HitTest, CheckBoxStateAndNormalIcons)
{
    PLazyNode A = Roots({u"A"})[0];
    Misc({toCheckSupport});
    tree->SetCheckType(A, ctCheckBox);
    plat::TImageList states(nullptr), images(nullptr);
    states.SetWidth(16);
    states.SetHeight(16);
    images.SetWidth(20);
    images.SetHeight(16);
    tree->SetStateImages(&states);
    tree->SetImages(&images);
    tree->OnGetImageIndex = [](TBaseLazyTree*, PLazyNode, TLTImageKind K, TColumnIndex, bool&, int& I) {
        if (K == ikState || K == ikNormal) I = 0;
    };
    ASSERT_NE(tree->CheckImages(), nullptr);
    const int check = tree->CheckImages()->Width() + 2;
    const int start = TextLeft(A);
    struct Case {
        const char* What;
        int X;
        THitPositions Expected;
    };
    const Case cases[] = {
        {"check box", start + 1, Hits({hiOnItem, hiOnItemCheckbox})},
        {"state icon", start + check + 1, Hits({hiOnItem, hiOnStateIcon})},
        {"normal icon", start + check + 18 + 1, Hits({hiOnItem, hiOnNormalIcon})},
        {"label", start + check + 18 + 22 + 1, Hits({hiOnItem, hiOnItemLabel})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        THitInfo hit;
        tree->GetHitTestInfoAt(c.X, RowY(A), true, hit);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(c.Expected));
    }
    tree->SetImages(nullptr);
    tree->SetStateImages(nullptr);
}

TEST_F(HitTest, LabelLeftAndRightPerAlignment)
{
    PLazyNode A = Roots({u"Ab"})[0];
    const int W = tree->ClientWidth();
    const int start = TextLeft(A);
    const int w = tree->DoGetNodeWidth(A, NoColumn, nullptr);
    const int mid = (start + W - w) / 2;
    struct Case {
        const char* What;
        TAlignment Align;
        int X;
        THitPosition Expected;
    };
    const Case cases[] = {
        {"left: on the text", taLeftJustify, start + w - 1, hiOnItemLabel},
        {"left: right of it", taLeftJustify, start + w, hiOnItemRight},
        {"right: left of it", taRightJustify, W - w - 1, hiOnItemLeft},
        {"right: on the text", taRightJustify, W - w, hiOnItemLabel},
        {"centre: left", taCenter, mid - 1, hiOnItemLeft},
        {"centre: on it", taCenter, mid, hiOnItemLabel},
        {"centre: right", taCenter, mid + w, hiOnItemRight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        tree->SetAlignment(c.Align);
        THitInfo hit;
        tree->GetHitTestInfoAt(c.X, RowY(A), true, hit);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(Hits({hiOnItem, c.Expected})));
    }
}

TEST_F(HitTest, SplittersOnlyWithNodeHeightResize)
{
    const auto roots = Roots({u"A", u"B"});
    PLazyNode B = roots[1];
    const int top = tree->GetDisplayRect(B, NoColumn, false).Top;  // 18; the row ends at 36
    const int x = LabelX(B);
    struct Case {
        const char* What;
        bool Resize;
        int Y;
        THitPositions Expected;
    };
    const Case cases[] = {
        {"upper 2 px: top", true, top, Hits({hiOnItem, hiUpperSplitter, hiOnItemLabel})},
        {"upper 2 px: top + 1", true, top + 1, Hits({hiOnItem, hiUpperSplitter, hiOnItemLabel})},
        {"middle", true, top + 2, Hits({hiOnItem, hiOnItemLabel})},
        {"lower 3 px: bottom - 3", true, top + 18 - 3, Hits({hiOnItem, hiLowerSplitter, hiOnItemLabel})},
        {"lower 3 px: bottom - 4", true, top + 18 - 4, Hits({hiOnItem, hiOnItemLabel})},
        {"without the option", false, top, Hits({hiOnItem, hiOnItemLabel})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.Resize) Misc({toNodeHeightResize});
        else Misc({}, {toNodeHeightResize});
        THitInfo hit;
        tree->GetHitTestInfoAt(x, c.Y, true, hit);
        EXPECT_EQ(hit.HitNode, B);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(c.Expected));
    }
}

TEST_F(HitTest, RightToLeftMirror)
{
    PLazyNode A = Roots({u"Ab"})[0];
    Add(A, u"c");
    tree->SetBiDiMode(bdRightToLeft);
    const int W = tree->ClientWidth();
    const int w = tree->DoGetNodeWidth(A, NoColumn, nullptr);
    const int textRight = W - 18 - tree->Margin();
    const int plus = tree->PlusBitmap().Width();
    struct Case {
        const char* What;
        int X;
        THitPositions Expected;
    };
    const Case cases[] = {
        {"button step at the right edge", W - 2, Hits({hiOnItem, hiOnItemButton})},
        {"exact button", W - 18 + plus - 1, Hits({hiOnItem, hiOnItemButton, hiOnItemButtonExact})},
        {"label ends at the indent", textRight - 1, Hits({hiOnItem, hiOnItemLabel})},
        {"label starts W left of it", textRight - w, Hits({hiOnItem, hiOnItemLabel})},
        {"left of the text", textRight - w - 1, Hits({hiOnItem, hiOnItemLeft})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        THitInfo hit;
        tree->GetHitTestInfoAt(c.X, RowY(A), true, hit);
        EXPECT_EQ(Positions(hit.HitPositions), Positions(c.Expected));
    }
}

TEST_F(HitTest, ScrolledTreeHitsAbsolutePositions)
{
    std::vector<PLazyNode> nodes;
    for (int i = 0; i < 30; ++i) nodes.push_back(Add(nullptr, u"x"));
    tree->SetOffsetY(-36);
    THitInfo hit;
    tree->GetHitTestInfoAt(LabelX(nodes[0]), 5, true, hit);
    EXPECT_EQ(hit.HitNode, nodes[2]);
    EXPECT_EQ(hit.HitPoint.Y, 41);
}

// ---- mouse scripts

class MouseInput : public InputTest {};

TEST_F(MouseInput, ClickCheckIsAppliedOnlyWhenReleasedOverTheSameNode)
{
    const auto roots = Roots({u"A", u"B"});
    PLazyNode A = roots[0];
    Misc({toCheckSupport});
    tree->SetCheckType(A, ctCheckBox);
    int checked = 0;
    tree->OnChecked = [&](TBaseLazyTree*, PLazyNode) { ++checked; };
    const int x = TextLeft(A) + 2;
    Press(x, RowY(A));
    EXPECT_TRUE(tree->HasState(tsMouseCheckPending));
    EXPECT_EQ(tree->CheckNode(), A);
    EXPECT_EQ(tree->GetCheckState(A), csUncheckedPressed);
    Move(x, RowY(roots[1]));
    Release(x, RowY(roots[1]));
    EXPECT_EQ(tree->GetCheckState(A), csUncheckedNormal);
    EXPECT_EQ(tree->CheckNode(), nullptr);
    EXPECT_EQ(checked, 0);
    Press(x, RowY(A));
    Release(x + 1, RowY(A));
    EXPECT_EQ(tree->GetCheckState(A), csCheckedNormal);
    EXPECT_EQ(checked, 1);
}

TEST_F(MouseInput, ClickOnASelectedNodeKeepsTheMultiSelectionUntilRelease)
{
    const auto r = Roots({u"A", u"B", u"C"});
    Select({toMultiSelect});
    tree->OnDragAllowed = [](TBaseLazyTree*, PLazyNode, TColumnIndex, bool& A) { A = true; };
    tree->SelectAll(true);
    ASSERT_EQ(tree->SelectedCount(), 3);
    Press(LabelX(r[1]), RowY(r[1]));
    EXPECT_EQ(tree->SelectedCount(), 3);
    EXPECT_TRUE(tree->HasState(tsClearPending));
    Release(LabelX(r[1]), RowY(r[1]));
    EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{r[1]});
    EXPECT_EQ(tree->FocusedNode(), r[1]);
}

TEST_F(MouseInput, CtrlClickDeselectsOnReleaseWhenADragMayStart)
{
    const auto r = Roots({u"A", u"B", u"C"});
    Select({toMultiSelect});
    tree->OnDragAllowed = [](TBaseLazyTree*, PLazyNode, TColumnIndex, bool& A) { A = true; };
    Click(LabelX(r[0]), RowY(r[0]));
    Click(LabelX(r[2]), RowY(r[2]), mbLeft, ssShift);
    ASSERT_EQ(tree->SelectedCount(), 3);
    Press(LabelX(r[1]), RowY(r[1]), mbLeft, ssCtrl);
    EXPECT_TRUE(tree->Selected(r[1]));
    Release(LabelX(r[1]), RowY(r[1]), mbLeft, ssCtrl);
    EXPECT_FALSE(tree->Selected(r[1]));
    EXPECT_EQ(tree->SelectedCount(), 2);
    // Without a possible drag the toggle happens on the press.
    tree->OnDragAllowed = nullptr;
    Press(LabelX(r[1]), RowY(r[1]), mbLeft, ssCtrl);
    EXPECT_TRUE(tree->Selected(r[1]));
    Release(LabelX(r[1]), RowY(r[1]), mbLeft, ssCtrl);
    EXPECT_TRUE(tree->Selected(r[1]));
}

TEST_F(MouseInput, ClickOnTheFocusedSelectedLabelStartsEditingAfterEditDelay)
{
    const auto r = Roots({u"A", u"B"});
    Misc({toEditable});
    tree->SetEditDelay(700);
    Click(LabelX(r[0]), RowY(r[0]));
    plat::testing::AdvanceClock(2000);
    EXPECT_EQ(tree->EditsStarted, 0) << "the first click only selects";
    Click(LabelX(r[0]), RowY(r[0]));
    EXPECT_TRUE(tree->HasState(tsEditPending));
    plat::testing::AdvanceClock(699);
    EXPECT_EQ(tree->EditsStarted, 0);
    plat::testing::AdvanceClock(1);
    EXPECT_EQ(tree->EditsStarted, 1);
    EXPECT_EQ(tree->EditColumn(), NoColumn);
    // Read-only trees never arm it.
    Misc({toReadOnly});
    plat::testing::AdvanceClock(2000);
    Click(LabelX(r[0]), RowY(r[0]));
    plat::testing::AdvanceClock(2000);
    EXPECT_EQ(tree->EditsStarted, 1);
}

TEST_F(MouseInput, MiddleClickPansOnAndMiddleDragEndsOnRelease)
{
    for (int i = 0; i < 30; ++i) Add(nullptr, u"x");
    ASSERT_GT(static_cast<int>(tree->RangeY()), tree->ClientHeight());
    Press(50, 50, mbMiddle);
    EXPECT_TRUE(tree->HasState(tsWheelPanning));
    Release(50, 50, mbMiddle);
    EXPECT_TRUE(tree->HasState(tsWheelScrolling)) << "a click without moving pans on";
    // The next click ends it.
    Press(50, 50, mbLeft);
    EXPECT_FALSE(tree->HasState(tsWheelScrolling));
    EXPECT_FALSE(tree->HasState(tsWheelPanning));
    Release(50, 50, mbLeft);

    Press(50, 50, mbMiddle);
    Move(50, 90);
    EXPECT_FALSE(tree->HasState(tsWheelScrolling));
    EXPECT_TRUE(tree->HasState(tsWheelPanning));
    Release(50, 90, mbMiddle);
    EXPECT_FALSE(tree->HasState(tsWheelPanning));
    EXPECT_FALSE(tree->HasState(tsWheelScrolling));
}

TEST_F(MouseInput, RightClickShowsTheNodeMenuAskingTheParents)
{
    PLazyNode A = Roots({u"A"})[0];
    PLazyNode A1 = Add(A, u"A1");
    tree->SetExpanded(A, true);
    plat::TPopupMenu menu(nullptr);
    // The menu owns the item (a parent item owns none of its sub-items).
    auto* item = new plat::TMenuItem(&menu);
    item->SetCaption(u"Open");
    menu.Items()->Add(item);
    std::vector<PLazyNode> asked;
    tree->OnGetPopupMenu = [&](TBaseLazyTree*, PLazyNode N, TColumnIndex, plat::TPoint, bool& AskParent,
                               plat::TPopupMenu*& M) {
        asked.push_back(N);
        AskParent = true;
        if (N == A) M = &menu;
    };
    responder().AnswerPopup(-1);
    Click(LabelX(A1), RowY(A1), mbRight);
    EXPECT_EQ(asked, (std::vector<PLazyNode>{A1, A}));
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_EQ(responder().Popups()[0].Request.Items, std::vector<String>{u"Open"});
    EXPECT_EQ(menu.PopupComponent(), tree);
    EXPECT_FALSE(tree->HasState(tsPopupMenuShown));
    // A node that stops the question at itself shows nothing.
    asked.clear();
    tree->OnGetPopupMenu = [&](TBaseLazyTree*, PLazyNode N, TColumnIndex, plat::TPoint, bool& AskParent,
                               plat::TPopupMenu*&) {
        asked.push_back(N);
        AskParent = false;
    };
    Click(LabelX(A1), RowY(A1), mbRight);
    EXPECT_EQ(asked, std::vector<PLazyNode>{A1});
    EXPECT_EQ(responder().Popups().size(), 1u);
}

TEST_F(MouseInput, ButtonClickTogglesAndHotNodeFollowsTheMouse)
{
    PLazyNode A = Roots({u"A"})[0];
    PLazyNode A1 = Add(A, u"A1");
    Click(5, RowY(A));
    EXPECT_TRUE(tree->GetExpanded(A));
    Paint({toHotTrack});
    std::vector<std::pair<PLazyNode, PLazyNode>> changes;
    tree->OnHotChange = [&](TBaseLazyTree*, PLazyNode O, PLazyNode N) { changes.push_back({O, N}); };
    Move(LabelX(A1), RowY(A1));
    EXPECT_EQ(tree->HotNode(), A1);
    Move(200, RowY(A1));  // right of the text: not hot
    EXPECT_EQ(tree->HotNode(), nullptr);
    Move(LabelX(A), RowY(A));
    plat::testing::MoveAway();
    EXPECT_EQ(tree->HotNode(), nullptr);
    EXPECT_INPUT_OK(*tree);
    using P = std::pair<PLazyNode, PLazyNode>;
    EXPECT_EQ(changes, (std::vector<P>{{nullptr, A1}, {A1, nullptr}, {nullptr, A}, {A, nullptr}}));
}

TEST_F(MouseInput, CancelModeLeavesTheBandAndTheEditArming)
{
    const auto r = Roots({u"A", u"B"});
    Select({toMultiSelect});
    Press(200, RowY(r[0]));
    EXPECT_TRUE(tree->HasState(tsDrawSelPending));
    tree->Perform(plat::WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(tree->HasState(tsDrawSelPending));
    Release(200, RowY(r[0]));
}

// ---- selection and focus

class SelectionInput : public InputTest {};

TEST_F(SelectionInput, DisabledNodeIsNeverAdded)
{
    const auto r = Roots({u"A", u"B"});
    Select({toMultiSelect});
    tree->SetDisabled(r[1], true);
    Click(LabelX(r[1]), RowY(r[1]));
    EXPECT_FALSE(tree->Selected(r[1]));
    tree->SetSelected(r[1], true);
    tree->SelectAll(true);
    EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{r[0]});
    EXPECT_INPUT_OK(*tree);
}

TEST_F(SelectionInput, LevelConstraintKeepsCtrlClicksOnTheFirstLevel)
{
    PLazyNode A = Roots({u"A", u"B"})[0];
    PLazyNode A1 = Add(A, u"A1");
    tree->SetExpanded(A, true);
    Select({toMultiSelect, toLevelSelectConstraint});
    Click(LabelX(A), RowY(A));
    Click(LabelX(A1), RowY(A1), mbLeft, ssCtrl);
    EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{A});
}

TEST_F(SelectionInput, ChangeDelayGivesOneChangeForThreeClicks)
{
    const auto r = Roots({u"A", u"B", u"C"});
    tree->SetChangeDelay(500);
    std::vector<PLazyNode> changes;
    tree->OnChange = [&](TBaseLazyTree*, PLazyNode N) { changes.push_back(N); };
    for (PLazyNode n : r) Click(LabelX(n), RowY(n));
    EXPECT_TRUE(changes.empty());
    plat::testing::AdvanceClock(500);
    EXPECT_EQ(changes, std::vector<PLazyNode>{r[2]});
}

TEST_F(SelectionInput, InversionThatOnlyRemovesNotifiesOnceWithNil)
{
    Roots({u"A", u"B", u"C"});
    Select({toMultiSelect});
    tree->SelectAll(false);
    std::vector<PLazyNode> changes;
    tree->OnChange = [&](TBaseLazyTree*, PLazyNode N) { changes.push_back(N); };
    tree->InvertSelection(false);
    EXPECT_EQ(tree->SelectedCount(), 0);
    EXPECT_EQ(changes, std::vector<PLazyNode>{nullptr});
    EXPECT_INPUT_OK(*tree);
}

TEST_F(SelectionInput, SortedSelectionResolvesAChildUnderItsParent)
{
    PLazyNode A = Roots({u"A"})[0];
    PLazyNode A1 = Add(A, u"A1");
    tree->SetExpanded(A, true);
    Select({toMultiSelect});
    tree->SelectAll(true);
    EXPECT_EQ(tree->GetSortedSelection(true), TNodeArray{A});
    EXPECT_EQ(tree->GetSortedSelection(false), (TNodeArray{A, A1}));
}

TEST_F(SelectionInput, ShiftClickSelectsTheRangeFromTheAnchor)
{
    const auto r = Roots({u"A", u"B", u"C", u"D"});
    Select({toMultiSelect});
    Click(LabelX(r[1]), RowY(r[1]));
    Click(LabelX(r[3]), RowY(r[3]), mbLeft, ssShift);
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[1], r[2], r[3]}));
    Click(LabelX(r[0]), RowY(r[0]), mbLeft, ssShift);
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[0], r[1]})) << "the anchor stays at B";
    Click(LabelX(r[3]), RowY(r[3]), mbLeft, ssShift | ssCtrl);
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[0], r[1], r[2], r[3]}));
    EXPECT_EQ(tree->RangeAnchor(), r[1]);
}

struct BandCase {
    const char* What;
    std::vector<TLTSelectionOption> Options;
    TBiDiMode BiDi;
    int FromX, ToX;  // the band's horizontal ends, from the press to the last move
    std::vector<int> Selected;  // rows
};

class RubberBand : public InputTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(RubberBand, SelectsWhatTheBandTouches)
{
    const BandCase& c = GetParam();
    const auto r = Roots({u"a", u"b", u"c", u"d", u"e"});
    SCOPED_TRACE(c.What);
    Select({toMultiSelect});
    for (TLTSelectionOption o : c.Options) Select({o});
    tree->SetBiDiMode(c.BiDi);
    Press(c.FromX, 5);
    Move(c.ToX, 30);
    Move(c.ToX, 60);
    std::vector<PLazyNode> expected;
    for (int i : c.Selected) expected.push_back(r[i]);
    EXPECT_EQ(SelectedNodes(), expected);
    Release(c.ToX, 60);
    EXPECT_EQ(SelectedNodes(), expected);
}

// Texts are a few pixels wide from x = 22 (left to right) or up to W - 22 (right to left).
INSTANTIATE_TEST_SUITE_P(Cases, RubberBand,
                         ::testing::Values(BandCase{"short texts, band right of them", {}, bdLeftToRight, 150, 200, {}},
                                           BandCase{"full row select crosses the rows", {toFullRowSelect}, bdLeftToRight,
                                                    150, 200, {0, 1, 2, 3}},
                                           BandCase{"band over the texts", {}, bdLeftToRight, 150, 10, {0, 1, 2, 3}},
                                           // The press selects its row (a full-row hit); the band
                                           // must touch the texts to add more.
                                           BandCase{"right to left, band left of the texts", {toFullRowSelect},
                                                    bdRightToLeft, 20, 60, {0}},
                                           BandCase{"right to left, simple draw selection", {toSimpleDrawSelection},
                                                    bdRightToLeft, 20, 60, {0, 1, 2, 3}}),
                         [](const ::testing::TestParamInfo<BandCase>& I) { return std::to_string(I.index); });

TEST_F(SelectionInput, CtrlBandTogglesNodesAsTheyAreCoveredAndUncovered)
{
    const auto r = Roots({u"a", u"b", u"c", u"d"});
    Select({toMultiSelect});
    Click(LabelX(r[1]), RowY(r[1]));
    Press(150, 5, mbLeft, ssCtrl);
    Move(10, 20, ssCtrl);
    Move(10, 45, ssCtrl);  // covers rows 0..2
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[0], r[2]}));
    Move(10, 10, ssCtrl);  // only row 0 stays covered
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[0], r[1]}));
    Release(10, 10, mbLeft, ssCtrl);
    EXPECT_EQ(SelectedNodes(), (std::vector<PLazyNode>{r[0], r[1]}));
}

TEST_F(SelectionInput, FocusChangingCanVetoAClick)
{
    const auto r = Roots({u"A", u"B"});
    Click(LabelX(r[0]), RowY(r[0]));
    tree->OnFocusChanging = [](TBaseLazyTree*, PLazyNode, PLazyNode, TColumnIndex, TColumnIndex, bool& A) { A = false; };
    Click(LabelX(r[1]), RowY(r[1]));
    EXPECT_EQ(tree->FocusedNode(), r[0]);
    EXPECT_FALSE(tree->Selected(r[1]));
    tree->SetFocusedNode(r[1]);
    EXPECT_EQ(tree->FocusedNode(), r[0]);
}

TEST_F(SelectionInput, FocusingAClickedNodeScrollsItIntoView)
{
    std::vector<PLazyNode> n;
    for (int i = 0; i < 30; ++i) n.push_back(Add(nullptr, u"x"));
    std::vector<PLazyNode> focus;
    tree->OnFocusChanged = [&](TBaseLazyTree*, PLazyNode N, TColumnIndex) { focus.push_back(N); };
    tree->SetFocusedNode(n[25]);
    const plat::TRect r = tree->GetDisplayRect(n[25], NoColumn, false);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Bottom, tree->ClientHeight());
    EXPECT_EQ(focus, std::vector<PLazyNode>{n[25]});
    EXPECT_INPUT_OK(*tree);
}

TEST_F(SelectionInput, AlwaysSelectNodeSelectsOnEnter)
{
    const auto r = Roots({u"A", u"B"});
    Select({toAlwaysSelectNode});
    tree->SetFocus();
    plat::testing::ProcessEvents();
    tree->Perform(plat::CM_ENTER, 0, 0);
    EXPECT_EQ(SelectedNodes(), std::vector<PLazyNode>{r[0]});
    EXPECT_EQ(tree->FocusedNode(), r[0]);
}

} // namespace
} // namespace vtree::testing
