// The tree's hints, driven by moving the mouse through the test kit's injector and letting
// the hint pause run out on the fake clock: tooltips over clipped texts, node hints, owner-
// drawn hints, the edited node, and the fading and sliding appearance of the hint window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "InputFixture.h"
#include "LazyTrees.HintWindow.h"
#include "plat/Graphics.h"

namespace vtree::testing {
namespace {

using plat::TPoint;
using plat::TRect;

// A hint window that records the steps of its appearance; OnStep runs after each one.
class RecordingHintWindow : public TLazyTreeHintWindow {
public:
    using TLazyTreeHintWindow::TLazyTreeHintWindow;
    struct StepRecord {
        std::uint32_t Step;
        int StepSize;
        std::uint32_t Ticks;
    };
    static inline std::vector<StepRecord> Steps;
    static inline std::function<void(RecordingHintWindow*, std::uint32_t Step, int StepSize)> OnStep;

protected:
    void PaintHintStep(std::uint32_t Step, int StepSize) override
    {
        TLazyTreeHintWindow::PaintHintStep(Step, StepSize);
        Steps.push_back({Step, StepSize, plat::testing::Now()});
        if (OnStep) OnStep(this, Step, StepSize);
    }
};

plat::THintWindow* CreateRecordingHintWindow(plat::TComponent* AOwner) { return new RecordingHintWindow(AOwner); }

class HintTree : public InputTree {
public:
    using InputTree::InputTree;
    bool Recording = false;
    plat::THintWindowClass HintWindowClassRef() const override
    {
        return Recording ? plat::THintWindowClass(&CreateRecordingHintWindow) : InputTree::HintWindowClassRef();
    }
};

class HintTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        // The fixture's tree is replaced by one whose hint window can record.
        delete tree;
        hintTree = new HintTree(form.get());
        tree = hintTree;
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 240, 200);
        tree->SetBorderStyle(plat::bsNone);
        tree->OnGetText = [this](TCustomLazyStringTree*, PLazyNode N, TColumnIndex, TVSTTextType, String& T) {
            auto it = texts.find(N);
            T = it == texts.end() ? String(u"n") : it->second;
        };
        tree->SetShowHint(true);
        tree->SetHintMode(hmTooltip);
        tree->SetHintAnimation(hatNone);
        RecordingHintWindow::Steps.clear();
        RecordingHintWindow::OnStep = nullptr;
        plat::testing::ProcessEvents();
    }
    void TearDown() override
    {
        if (plat::Application) plat::Application->CancelHint();
        RecordingHintWindow::OnStep = nullptr;
        InputTest::TearDown();
    }
    // Rests the mouse at (X, Y) until the hint pause has run out.
    void Rest(int X, int Y)
    {
        Move(X, Y);
        plat::testing::AdvanceClock(static_cast<std::uint32_t>(plat::Application->HintPause()));
    }
    TLazyTreeHintWindow* Shown() { return dynamic_cast<TLazyTreeHintWindow*>(plat::Application->ActiveHintWindow()); }
    TRect TextRect(PLazyNode N) { return tree->GetDisplayRect(N, NoColumn, true, true); }

    HintTree* hintTree = nullptr;
    const char16_t* longText = u"a text far too long for the two hundred and forty pixels of this tree";
};

TEST_F(HintTest, TooltipShowsOnlyOverClippedTextAtTheTextsPlace)
{
    const auto r = Roots({u"short", longText, u"tiny"});
    struct Case {
        const char* What;
        PLazyNode Node;
        int DX;            // from the text's left
        bool Shows;
    };
    const Case cases[] = {
        {"fully visible text", r[0], 5, false},
        {"text cut by the window's right edge", r[1], 5, true},
        {"right of a short text, in its row", r[2], 150, false},
        {"the clipped text, near the window's edge", r[1], 200, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        const TRect text = TextRect(c.Node);
        Rest(text.Left + c.DX, RowY(c.Node));
        TLazyTreeHintWindow* hint = Shown();
        ASSERT_EQ(hint != nullptr, c.Shows);
        if (!hint) {
            EXPECT_FALSE(tree->HasState(tsHint));
            continue;
        }
        EXPECT_TRUE(tree->HasState(tsHint));
        EXPECT_EQ(hint->HintData().HintText, texts[c.Node]);
        EXPECT_EQ(hint->HintData().Node, c.Node);
        EXPECT_EQ(hint->HintData().LineBreakStyle, hlbForceSingleLine);
        // Over the clipped text, as wide as the whole text.
        const TPoint at = tree->ClientToScreen(text.TopLeft());
        EXPECT_EQ(hint->Left(), at.X);
        EXPECT_EQ(hint->Top(), at.Y);
        EXPECT_GE(hint->Width(), text.Width());
        EXPECT_EQ(tree->LastHintRect().Left, text.Left);
    }
}

TEST_F(HintTest, TooltipOverATextCutByItsColumn)
{
    for (int i = 0; i < 2; ++i) tree->Header().Columns().Add()->SetWidth(110);
    tree->Header().SetOptions(tree->Header().Options() | HdrBit(hoVisible));
    const auto r = Roots({u"short", u"a text wider than its column"});
    plat::testing::ProcessEvents();
    for (PLazyNode n : r) {
        SCOPED_TRACE(plat::StringToUtf8(texts[n]));
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        const TRect text = tree->GetDisplayRect(n, 0, true, true);
        Rest(text.Left + 8, RowY(n));
        TLazyTreeHintWindow* hint = Shown();
        const bool clipped = n == r[1];
        ASSERT_EQ(hint != nullptr, clipped);
        if (hint) {
            EXPECT_EQ(hint->HintData().Column, 0);
            EXPECT_EQ(hint->HintData().HintText, texts[n]);
        }
    }
}

TEST_F(HintTest, MultiLineTooltipOnlyWhenTheWrappedTextDoesNotFitTheCell)
{
    for (int i = 0; i < 2; ++i) tree->Header().Columns().Add()->SetWidth(110);
    tree->Header().SetOptions(tree->Header().Options() | HdrBit(hoVisible));
    const auto r = Roots({u"two short lines", u"many words that wrap onto more lines than this node has room for"});
    for (PLazyNode n : r) {
        tree->SetMultiline(n, true);
        tree->SetNodeHeight(n, 36);
    }
    plat::testing::ProcessEvents();
    for (PLazyNode n : r) {
        SCOPED_TRACE(plat::StringToUtf8(texts[n]));
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        const TRect text = tree->GetDisplayRect(n, 0, true, false);
        Rest(text.Left + 6, text.Top + 6);
        TLazyTreeHintWindow* hint = Shown();
        const bool cut = n == r[1];
        ASSERT_EQ(hint != nullptr, cut);
        if (!hint) continue;
        EXPECT_EQ(hint->HintData().LineBreakStyle, hlbForceMultiLine);
        EXPECT_GT(hint->Height(), 36) << "all the lines";
        EXPECT_LE(hint->Width(), text.Width() + tree->TextMargin() + 1 + 2);
    }
}

TEST_F(HintTest, NoNewHintWithinTheCellUntilTheMouseLeaves)
{
    const auto r = Roots({longText});
    const TRect text = TextRect(r[0]);
    Rest(text.Left + 10, RowY(r[0]));
    ASSERT_NE(Shown(), nullptr);
    // The hint ends after the hide pause; resting in the same text brings no new one.
    plat::testing::AdvanceClock(static_cast<std::uint32_t>(plat::Application->HintHidePause()));
    EXPECT_EQ(Shown(), nullptr);
    Rest(text.Left + 30, RowY(r[0]));
    EXPECT_EQ(Shown(), nullptr);
    // Leaving the tree and coming back does.
    plat::testing::MoveAway();
    EXPECT_TRUE(tree->LastHintRect().Right <= tree->LastHintRect().Left);
    Rest(text.Left + 30, RowY(r[0]));
    EXPECT_NE(Shown(), nullptr);
}

TEST_F(HintTest, ScrollingDeletingTheNodeAndLosingTheFocusEndTheHint)
{
    std::vector<PLazyNode> nodes;
    for (int i = 0; i < 30; ++i) nodes.push_back(Add(nullptr, longText));
    auto* other = new TLazyStringTree(form.get());
    other->SetParent(form.get());
    other->SetBounds(250, 0, 60, 60);
    struct Case {
        const char* What;
        std::function<void()> Action;
    };
    const Case cases[] = {
        {"scrolled", [&] { tree->SetOffsetY(-18); }},
        {"its node deleted", [&] {
             tree->DeleteNode(nodes[1]);
             nodes.erase(nodes.begin() + 1);
         }},
        {"focus lost", [&] { other->SetFocus(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        tree->SetFocus();
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        const TRect text = TextRect(nodes[1]);
        Rest(text.Left + 10, RowY(nodes[1]));
        ASSERT_NE(Shown(), nullptr);
        ASSERT_TRUE(tree->HasState(tsHint));
        c.Action();
        EXPECT_EQ(plat::Application->ActiveHintWindow(), nullptr);
        EXPECT_FALSE(tree->HasState(tsHint));
        tree->SetOffsetY(0);
    }
}

TEST_F(HintTest, NodeHintKindsAndSizes)
{
    const auto r = Roots({u"alpha", u"beta"});
    tree->SetHintMode(hmHint);
    tree->OnGetHint = [](TCustomLazyStringTree*, PLazyNode, TColumnIndex, TLTTooltipLineBreakStyle&, String& T) {
        T = u"node hint";
    };
    struct Case {
        const char* What;
        TLTHintKind Kind;
        TRect Size;
        bool Shows;
    };
    const Case cases[] = {
        {"text", vhkText, {}, true},
        {"owner drawn without a size", vhkOwnerDraw, {}, false},
        {"owner drawn with a size", vhkOwnerDraw, {0, 0, 60, 24}, true},
    };
    int drawn = 0;
    tree->OnDrawHint = [&](TBaseLazyTree*, plat::TCanvas* C, PLazyNode, const TRect& R, TColumnIndex) {
        ++drawn;
        C->Brush()->SetColor(plat::clRed);
        C->FillRect(R);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        drawn = 0;
        tree->OnGetHintKind = [&](TBaseLazyTree*, PLazyNode, TColumnIndex, TLTHintKind& K) { K = c.Kind; };
        tree->OnGetHintSize = [&](TBaseLazyTree*, PLazyNode, TColumnIndex, TRect& R) { R = c.Size; };
        Rest(LabelX(r[1]), RowY(r[1]));
        TLazyTreeHintWindow* hint = Shown();
        ASSERT_EQ(hint != nullptr, c.Shows);
        if (!hint) continue;
        // Below the node's row; the hint keeps while the mouse stays in the row.
        EXPECT_GE(hint->Top(), tree->ClientToScreen(TPoint{0, tree->GetDisplayRect(r[1], NoColumn, false).Bottom}).Y + 2);
        EXPECT_EQ(tree->LastHintRect().Top, tree->GetDisplayRect(r[1], NoColumn, false).Top);
        if (c.Kind == vhkOwnerDraw) {
            EXPECT_EQ(hint->Width(), 60);
            EXPECT_EQ(hint->Height(), 24);
            EXPECT_GE(drawn, 1);
            EXPECT_EQ(plat::testing::PixelOf(*plat::testing::Grab(hint), 30, 12), plat::clRed);
        } else {
            EXPECT_EQ(hint->HintData().HintText, u"node hint");
        }
    }
}

TEST_F(HintTest, DefaultModesShowTheControlsHint)
{
    const auto r = Roots({u"alpha"});
    tree->SetHint(u"the tree|long help");
    struct Case {
        TLTHintMode Mode;
        int Y;                 // over the node or below every node
        bool Shows;
        bool LazyWindow;
    };
    const Case cases[] = {
        {hmDefault, 9, true, false}, {hmDefault, 150, true, false},
        {hmHintAndDefault, 150, true, true}, {hmHint, 150, false, false}, {hmTooltip, 150, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Mode << " y " << c.Y);
        tree->SetHintMode(c.Mode);
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        Rest(LabelX(r[0]), c.Y);
        plat::THintWindow* hint = plat::Application->ActiveHintWindow();
        ASSERT_EQ(hint != nullptr, c.Shows);
        if (!hint) continue;
        auto* lazy = dynamic_cast<TLazyTreeHintWindow*>(hint);
        EXPECT_EQ(lazy != nullptr, c.LazyWindow);
        if (lazy) EXPECT_EQ(lazy->HintData().HintText, u"the tree");
        else EXPECT_EQ(hint->Caption(), u"the tree");
    }
}

TEST_F(HintTest, TheEditedNodeGetsNoHintOtherNodesDo)
{
    const auto r = Roots({longText, u"another text that the tree's right edge cuts off as well"});
    tree->RealEditor = true;
    tree->TreeOptions().SetMiscOptions(tree->TreeOptions().MiscOptions() | (TLTMiscOptions(1) << toEditable));
    tree->SetFocus();
    ASSERT_TRUE(tree->EditNode(r[0], NoColumn));
    ASSERT_TRUE(tree->IsEditing());
    for (PLazyNode n : r) {
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        Rest(TextRect(n).Left + 10, RowY(n));
        EXPECT_EQ(Shown() != nullptr, n != r[0]) << plat::StringToUtf8(texts[n]);
    }
    tree->CancelEditNode();
}

TEST_F(HintTest, EffectiveAnimationFollowsTheSystemSettings)
{
    struct Case {
        THintAnimationType Type;
        bool Animation, Fade;
        THintAnimationType Effective;
    };
    const Case cases[] = {
        {hatSystemDefault, false, true, hatNone}, {hatSystemDefault, true, true, hatFade},
        {hatSystemDefault, true, false, hatSlide}, {hatFade, false, false, hatFade},
        {hatSlide, true, true, hatSlide}, {hatNone, true, true, hatNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Type << c.Animation << c.Fade);
        plat::SetTooltipAnimation(c.Animation);
        plat::SetTooltipFade(c.Fade);
        tree->SetHintAnimation(c.Type);
        EXPECT_EQ(tree->EffectiveHintAnimation(), c.Effective);
    }
    plat::SetTooltipAnimation(false);
    plat::SetTooltipFade(false);
}

TEST_F(HintTest, FadeBlendsOverWhatWasBelowIn255StepsOver400Ms)
{
    const auto r = Roots({longText});
    tree->SetColor(plat::clBlack);
    hintTree->Recording = true;
    tree->SetAnimationDuration(200);
    struct Case {
        THintAnimationType Type;
        std::uint32_t Duration;
    };
    for (const Case c : {Case{hatFade, 400}, Case{hatSlide, 200}, Case{hatSystemDefault, 0}}) {
        SCOPED_TRACE(c.Type);
        plat::testing::MoveAway();
        plat::Application->CancelHint();
        tree->SetHintAnimation(c.Type);
        RecordingHintWindow::Steps.clear();
        plat::TColor middle = plat::clNone;
        RecordingHintWindow::OnStep = [&](RecordingHintWindow* W, std::uint32_t Step, int StepSize) {
            if (StepSize > 0 && middle == plat::clNone && Step >= 127)
                middle = plat::testing::PixelOf(*plat::testing::Grab(W), W->Width() / 2, 1);
        };
        const TRect text = TextRect(r[0]);
        Move(text.Left + 10, RowY(r[0]));
        const std::uint32_t start = plat::testing::Now();
        plat::testing::AdvanceClock(1);  // tooltips show without a pause
        auto* hint = Shown();
        ASSERT_NE(hint, nullptr);
        const auto& steps = RecordingHintWindow::Steps;
        ASSERT_FALSE(steps.empty());
        const auto animated = std::count_if(steps.begin(), steps.end(), [](auto& s) { return s.StepSize > 0; });
        const std::uint32_t took = steps.back().Ticks - start - 1;
        if (c.Type == hatFade) {
            EXPECT_EQ(animated, 255);
            EXPECT_NEAR(double(took), 400.0, 2.0);
            // Halfway the info colour shows half over the black tree below it.
            ASSERT_NE(middle, plat::clNone);
            const int red = int(middle & 0xFF), blue = int((middle >> 16) & 0xFF);
            EXPECT_NEAR(red, 0xFF / 2, 12);
            EXPECT_NEAR(blue, 0xE1 / 2, 12);
        } else if (c.Type == hatSlide) {
            EXPECT_EQ(animated, hint->Height());
            EXPECT_NEAR(double(took), 200.0, 2.0);
        } else {
            EXPECT_EQ(animated, 0);  // the system's animation is off: at once
            EXPECT_EQ(took, 0u);
        }
        // Whatever the way in, the hint ends fully painted.
        const auto grab = plat::testing::Grab(hint);
        EXPECT_EQ(plat::testing::PixelOf(*grab, hint->Width() / 2, 1), plat::ColorToRGB(plat::clInfoBk));
        EXPECT_EQ(plat::testing::PixelOf(*grab, 0, 0), plat::clBlack);
    }
}

TEST_F(HintTest, ATreeFreedWhileItsHintFadesInStopsTheAnimation)
{
    const auto r = Roots({longText});
    hintTree->Recording = true;
    tree->SetHintAnimation(hatFade);
    tree->SetAnimationDuration(200);
    // A message handled during a step frees the tree (as a posted release would).
    TBaseLazyTree* doomed = tree;
    RecordingHintWindow::OnStep = [&](RecordingHintWindow* W, std::uint32_t Step, int StepSize) {
        if (StepSize > 0 && Step >= 50 && doomed) {
            EXPECT_EQ(W->HintData().Tree, doomed);
            delete doomed;
            doomed = nullptr;
            EXPECT_EQ(W->HintData().Tree, nullptr);
        }
    };
    Move(TextRect(r[0]).Left + 10, RowY(r[0]));
    tree = nullptr;  // the fixture no longer owns it once the step freed it
    hintTree = nullptr;
    plat::testing::AdvanceClock(1);
    EXPECT_EQ(doomed, nullptr);
    const auto& steps = RecordingHintWindow::Steps;
    ASSERT_FALSE(steps.empty());
    EXPECT_LT(steps.back().Step, 60u) << "no step after the tree went";
    EXPECT_EQ(plat::Application->ActiveHintWindow(), nullptr);
    plat::testing::AdvanceClock(1000);
}

TEST_F(HintTest, Pictures)
{
    const auto r = Roots({u"short", longText});
    tree->SetFocusedNode(r[1]);
    tree->SetSelected(r[1], true);
    Rest(TextRect(r[1]).Left + 20, RowY(r[1]));
    TLazyTreeHintWindow* hint = Shown();
    ASSERT_NE(hint, nullptr);
    // The tooltip lies exactly over the visible part of the text and goes on past the edge.
    const TPoint formAt = form->ClientToScreen(TPoint{0, 0});
    EXPECT_GT(hint->Left() + hint->Width(), formAt.X + tree->Width());
    plat::testing::SaveGrab(hint, u"tree-tooltip.png");
    plat::TBitmap screen;
    plat::CaptureScreen(TRect{formAt.X, formAt.Y, formAt.X + 480, formAt.Y + 120}, screen);
    EXPECT_EQ(screen.Width(), 480);
    // The hint window shows on the captured screen where it is.
    const TPoint inHint{hint->Left() - formAt.X + hint->Width() / 2, hint->Top() - formAt.Y + 1};
    EXPECT_EQ(plat::testing::PixelOf(screen, inHint.X, inHint.Y), plat::ColorToRGB(plat::clInfoBk));
    if (std::getenv("TEST_PICTURES")) screen.SaveToFile(String(u"") + plat::Utf8ToString(std::getenv("TEST_PICTURES")) + u"/tree-tooltip-screen.png");
}

} // namespace
} // namespace vtree::testing
