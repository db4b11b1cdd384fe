// Category panels in their scrolling group, labels that size themselves, masked images,
// panel bevels and shapes, check-box captions that wrap, checked with geometry and pixel
// probes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "plat/ExtCtrls.h"
#include "plat/Forms.h"
#include "plat/ImgList.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

// The group's invariant: the visible panels tile the content from its top without gaps or
// overlaps, each as wide as the group and as high as its state says, and the content height
// is their sum.
::testing::AssertionResult StackIsSound(TCategoryPanelGroup* g)
{
    std::vector<TCategoryPanel*> shown;
    for (int i = 0; i < g->PanelCount(); ++i)
        if (g->Panels(i)->Visible())
            shown.push_back(g->Panels(i));
    std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->Top() < b->Top(); });
    int y = -g->ScrollPos();
    for (TCategoryPanel* p : shown) {
        const int h = p->Collapsed() ? g->HeaderHeight() : std::max(p->FullHeight(), g->HeaderHeight());
        if (p->Top() != y)
            return ::testing::AssertionFailure() << "panel at " << p->Top() << ", expected " << y;
        if (p->Height() != h)
            return ::testing::AssertionFailure() << "panel " << p->Height() << " high, expected " << h;
        if (p->Width() != g->ClientWidth())
            return ::testing::AssertionFailure() << "panel " << p->Width() << " wide, group " << g->ClientWidth();
        if (p->Surface()->Visible() == p->Collapsed())
            return ::testing::AssertionFailure() << "surface shown on a closed panel or hidden on an open one";
        y += h;
    }
    if (y + g->ScrollPos() != g->ContentHeight())
        return ::testing::AssertionFailure() << "content " << g->ContentHeight() << ", panels " << y + g->ScrollPos();
    if (g->ScrollPos() < 0 || g->ScrollPos() > g->MaxScrollPos())
        return ::testing::AssertionFailure() << "scroll position " << g->ScrollPos() << " outside 0.." << g->MaxScrollPos();
    return ::testing::AssertionSuccess();
}

class Panels : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetClientSize(460, 700);
        group = new TCategoryPanelGroup(form.get());
        group->SetParent(form.get());
        group->SetBounds(0, 69, 460, 591);
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        pt::UiTest::TearDown();
    }
    // Panels created in one order and stacked by the window in another, as a window does:
    // visible, then the top of each is the top plus height of the one before.
    std::vector<TCategoryPanel*> Stack(const std::vector<int>& heights)
    {
        std::vector<TCategoryPanel*> made;
        for (int h : heights) {
            auto* p = group->CreatePanel(form.get());
            p->SetHeight(h);
            p->SetVisible(false);
            made.push_back(p);
        }
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            (*it)->SetVisible(true);
        for (size_t i = 0; i < made.size(); ++i)
            made[i]->SetTop(i == 0 ? 0 : made[i - 1]->Top() + made[i - 1]->Height());
        return made;
    }

    std::unique_ptr<TForm> form;
    TCategoryPanelGroup* group = nullptr;
};

TEST_F(Panels, StackedInTheWindowsOrderWithoutGaps)
{
    const auto p = Stack({67, 206, 67, 206, 317});
    const int tops[] = {0, 67, 273, 340, 546};
    for (size_t i = 0; i < p.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p[i]->Top(), tops[i]);
        EXPECT_EQ(p[i]->Width(), group->ClientWidth());
    }
    EXPECT_EQ(group->ContentHeight(), 863);
    EXPECT_GT(group->MaxScrollPos(), 0);
    EXPECT_TRUE(StackIsSound(group));
    p[2]->Hide();
    EXPECT_TRUE(StackIsSound(group));
    EXPECT_EQ(p[3]->Top(), 273);
    p[2]->Show();
    EXPECT_TRUE(StackIsSound(group));
    EXPECT_EQ(p[3]->Top(), 340);
    // Narrower group, scrolled to the end, then content shrinking below the scroll position.
    group->SetWidth(300);
    group->SetScrollPos(group->MaxScrollPos());
    EXPECT_TRUE(StackIsSound(group));
    p[4]->Collapse();
    p[3]->Collapse();
    EXPECT_TRUE(StackIsSound(group));
}

TEST_F(Panels, GrowingCollapsingAndDisablingMoveThePanelsBelow)
{
    const auto p = Stack({67, 317, 123, 65});
    p[1]->SetHeight(429);  // the MQTT panel grows by 112
    EXPECT_TRUE(StackIsSound(group));
    EXPECT_EQ(p[2]->Top(), 67 + 429);
    EXPECT_EQ(p[3]->Top(), 67 + 429 + 123);

    p[1]->Collapse();
    EXPECT_EQ(p[1]->Height(), group->HeaderHeight());
    EXPECT_EQ(p[2]->Top(), 67 + 24);
    // A height computed while closed is the height it opens with.
    p[1]->SetHeight(317);
    EXPECT_EQ(p[1]->Height(), 24);
    p[1]->Expand();
    EXPECT_TRUE(StackIsSound(group));
    EXPECT_EQ(p[1]->Height(), 317);
    EXPECT_EQ(p[2]->Top(), 67 + 317);

    // The user opens and closes an enabled panel with a click on its header; a disabled
    // one stays as it is.
    int expands = 0;
    p[3]->OnExpand = [&](TObject*) { ++expands; };
    p[3]->Collapse();
    p[3]->SetEnabled(false);
    pt::Click(p[3], 20, 10);
    EXPECT_TRUE(p[3]->Collapsed());
    p[3]->SetEnabled(true);
    pt::Click(p[3], 20, 10);
    EXPECT_FALSE(p[3]->Collapsed());
    EXPECT_EQ(expands, 1);
}

TEST_F(Panels, ScrollsByLinesAndBringsAnOpenedPanelIntoView)
{
    const auto p = Stack({206, 206, 206, 206, 206});
    EXPECT_EQ(group->ContentHeight(), 1030);
    group->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    group->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(group->ScrollPos(), 8);
    EXPECT_EQ(p[0]->Top(), -8);
    group->Perform(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(group->ScrollPos(), 1030 - group->ClientHeight());
    group->Perform(WM_VSCROLL, SB_TOP, 0);

    p[4]->Collapse();
    group->SetScrollPos(0);
    p[4]->Expand();
    EXPECT_TRUE(StackIsSound(group));
    // The whole panel is visible at the bottom of the group.
    EXPECT_EQ(p[4]->Top() + p[4]->Height(), group->ClientHeight());

    // Dragging the thumb moves the content before the button is released.
    group->SetScrollPos(0);
    const int barX = group->ClientWidth() + 8;
    pt::Press(group, barX, 17 + 4);
    pt::Move(group, barX, 17 + 4 + 60);
    const int during = group->ScrollPos();
    EXPECT_GT(during, 60);
    EXPECT_TRUE(StackIsSound(group));
    pt::Release(group, barX, 17 + 4 + 60);
    EXPECT_EQ(group->ScrollPos(), during);

    // The wheel goes to the focused control; a field on a panel leaves it to the group,
    // which scrolls three lines per notch.
    auto* edit = new TEdit(form.get());
    edit->SetParent(p[2]->Surface());
    edit->SetBounds(10, 10, 100, 21);
    edit->SetFocus();
    group->SetScrollPos(100);
    pt::Wheel(group, -120, 10, 10);
    EXPECT_EQ(group->ScrollPos(), 124);
}

TEST_F(Panels, ChevronTurnsRedUnderTheMouse)
{
    const auto p = Stack({67});
    auto redIn = [&](const TRect& r) {
        auto grab = pt::Grab(p[0]);
        int red = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                red += pt::PixelOf(*grab, x, y) == clRed;
        return red;
    };
    const TRect chevron = p[0]->ChevronRect();
    EXPECT_EQ(redIn(chevron), 0);
    pt::Move(p[0], (chevron.Left + chevron.Right) / 2, (chevron.Top + chevron.Bottom) / 2);
    EXPECT_GT(redIn(chevron), 6);
    pt::Move(p[0], 10, 10);
    EXPECT_EQ(redIn(chevron), 0);
}

TEST_F(Panels, ControlsOfAPanelSitBelowItsHeader)
{
    const auto p = Stack({100});
    auto* edit = new TEdit(form.get());
    edit->SetParent(p[0]->Surface());
    edit->SetBounds(10, 6, 100, 21);
    const TPoint panelOrigin = p[0]->ClientToScreen({0, 0});
    const TPoint editOrigin = edit->ClientToScreen({0, 0});
    EXPECT_GE(editOrigin.Y - panelOrigin.Y, group->HeaderHeight() + 6);
    p[0]->Collapse();
    EXPECT_FALSE(edit->Showing());
}

TEST_F(Panels, LabelSizesItselfToItsCaption)
{
    auto* l = new TLabel(form.get());
    l->SetParent(form.get());
    l->SetLeft(16);
    l->SetCaption(u"Ab");
    const int w1 = l->Width();
    l->SetCaption(u"Ab Ab Ab");
    EXPECT_GT(l->Width(), w1);
    const int wide = l->Width();
    l->SetCaption(u"");
    EXPECT_GT(l->Height(), 0);  // an empty caption keeps one line
    EXPECT_EQ(l->Left(), 16);
    // A caption set before the label has its parent is measured again in the parent's font.
    auto* big = new TLabel(form.get());
    big->SetCaption(u"Ab Ab Ab");
    auto* host = new TPanel(form.get());
    host->SetParent(form.get());
    host->Font()->SetHeight(-32);
    big->SetParent(host);
    EXPECT_GT(big->Height(), 30);
    EXPECT_GT(big->Width(), wide);

    l->SetAutoSize(false);
    l->SetBounds(16, 0, 30, 13);
    l->SetCaption(u"a much longer caption");
    EXPECT_EQ(l->Width(), 30);
}

TEST_F(Panels, ImageListLeavesOutTheMaskColourExactly)
{
    TImageList list(nullptr);
    list.SetSize(4, 4);
    // Two images in one strip; magenta is the mask colour, bottom-left pixel included.
    TBitmap strip(8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            strip.Canvas()->SetPixels(x, y, (x + y) % 2 ? clFuchsia : (x < 4 ? clRed : clBlue));
    EXPECT_EQ(list.AddMasked(&strip, clDefault), 0);
    EXPECT_EQ(list.Count(), 2);
    TBitmap target(4, 4);
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect({0, 0, 4, 4});
    list.Draw(target.Canvas(), 0, 0, 1);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            EXPECT_EQ(target.Canvas()->Pixels(x, y), (x + y) % 2 ? clLime : clBlue);
        }
    }
}

TEST_F(Panels, PanelBevelsAndShapeOutlines)
{
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 40, 30);
    panel->SetColor(RGB(248, 247, 237));
    auto* shape = new TShape(form.get());
    shape->SetParent(panel);
    shape->SetBounds(10, 10, 20, 10);
    shape->Pen()->SetColor(clSilver);
    shape->Brush()->SetStyle(bsClear);
    auto grab = pt::Grab(panel);
    struct Probe { int x, y; TColor color; };
    const Probe probes[] = {
        {0, 0, ColorToRGB(clBtnHighlight)}, {39, 29, ColorToRGB(clBtnShadow)}, {5, 5, RGB(248, 247, 237)},
        {10, 10, clSilver}, {29, 19, clSilver}, {15, 15, RGB(248, 247, 237)}, {30, 15, RGB(248, 247, 237)},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(::testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(pt::PixelOf(*grab, p.x, p.y), p.color);
    }
    panel->SetBevelOuter(bvNone);
    grab = pt::Grab(panel);
    EXPECT_EQ(pt::PixelOf(*grab, 0, 0), RGB(248, 247, 237));
}

// Rows of a check box's caption area that hold ink (pixels other than the box's colour).
std::vector<int> InkRows(const TBitmap& grab, int left, int right, int height, TColor back)
{
    std::vector<int> rows;
    for (int y = 0; y < height; ++y)
        for (int x = left; x < right; ++x)
            if (pt::PixelOf(grab, x, y) != back) {
                rows.push_back(y);
                break;
            }
    return rows;
}

// A caption longer than the box: without word wrap it stays on one line and is cut at the
// box's edge; with word wrap it breaks into lines centred in the box, the last word kept.
TEST_F(Panels, CheckBoxCaptionWrapsOnlyWithWordWrap)
{
    const TColor back = RGB(248, 247, 237);
    form->SetColor(back);
    auto* check = new TCheckBox(form.get());
    check->SetParent(form.get());
    check->SetBounds(10, 10, 175, 28);
    check->SetCaption(u"Network Start at Start-up. Delay (seconds)");
    struct Case {
        bool wrap;
        int min_lines_height;  // from the first to the last inked row
        int max_lines_height;
    };
    for (const Case c : {Case{false, 6, 14}, Case{true, 20, 28}}) {
        SCOPED_TRACE(c.wrap ? "word wrap" : "one line");
        check->SetWordWrap(c.wrap);
        auto grab = pt::Grab(check);
        const std::vector<int> rows = InkRows(*grab, 17, 175, 28, back);
        ASSERT_FALSE(rows.empty());
        const int span = rows.back() - rows.front() + 1;
        EXPECT_GE(span, c.min_lines_height);
        EXPECT_LE(span, c.max_lines_height);
        // Centred: as much room above the text as below it, give or take a pixel.
        EXPECT_LE(std::abs(rows.front() - (27 - rows.back())), 2);
        // The wrapped caption keeps its last word: the measured caption ends inside the box.
        TRect calc{17, 0, 175, 0};
        TBitmap measure(4, 4);
        measure.Canvas()->SetFont(check->Font());
        measure.Canvas()->DrawText(check->Caption(), calc, DT_CALCRECT | (c.wrap ? DT_WORDBREAK : DT_SINGLELINE));
        if (c.wrap) EXPECT_LE(calc.Right, 175);
        else EXPECT_GT(calc.Right, 175) << "the one-line caption is wider than the box";
    }
}

} // namespace
