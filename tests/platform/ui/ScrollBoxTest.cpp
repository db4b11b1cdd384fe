// Scroll box: ranges from the children, bars that appear and move the children, thumb
// tracking, and windows far larger than their visible part backed only where they show.
#include <algorithm>

#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/ScrollBox.h"
#include "plat/Testing.h"
#include "TestControls.h"

namespace plat {
namespace {

using namespace plat::testing;

// A tall strip of 22-px rows, row r coloured by r: paints only the rows meeting the clip and
// records the painted row span.
class TRowStrip : public TCustomControl {
public:
    explicit TRowStrip(TComponent* AOwner) : TCustomControl(AOwner) {}
    static TColor RowColor(int Row) { return static_cast<TColor>(0x010203 * (Row % 80) + 0x102030); }
    int firstPainted = -1, lastPainted = -1;

protected:
    void Paint() override
    {
        const TRect clip = Canvas()->ClipRect();
        firstPainted = std::max(0, clip.Top / 22);
        lastPainted = (clip.Bottom - 1) / 22;
        for (int r = firstPainted; r <= lastPainted; ++r) {
            Canvas()->Brush()->SetColor(RowColor(r));
            Canvas()->FillRect(Rect(0, r * 22, Width(), r * 22 + 22));
        }
    }
};

class ScrollBoxTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 400);
        box = new TScrollBox(form.get());
        box->SetParent(form.get());
        box->SetBorderStyle(bsNone);
        box->SetBounds(10, 10, 150, 200);
        strip = new TRowStrip(box);
        strip->SetParent(box);
        strip->SetBounds(0, 0, 120, 10000 * 22);
        box->Realign();
        form->Show();
        ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        UiTest::TearDown();
    }
    std::unique_ptr<TForm> form;
    TScrollBox* box = nullptr;
    TRowStrip* strip = nullptr;
};

TEST_F(ScrollBoxTest, TallChildShowsTheVerticalBarOnlyAndPositionsClamp)
{
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->VertScrollBar()->Range(), 220000);
    EXPECT_EQ(box->ClientWidth(), 150 - GetSystemMetrics(SM_CXVSCROLL));
    box->VertScrollBar()->SetPosition(1000);
    EXPECT_EQ(strip->Top(), -1000);
    box->VertScrollBar()->SetPosition(-5);
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
    box->VertScrollBar()->SetPosition(1000000);
    EXPECT_EQ(box->VertScrollBar()->Position(), 220000 - 200);
    EXPECT_EQ(strip->Top(), -(220000 - 200));
    // A child that fits hides the bar and returns to position 0.
    strip->SetBounds(strip->Left(), strip->Top(), 120, 150);
    box->Realign();
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(strip->Top(), 0);
}

TEST_F(ScrollBoxTest, ChildFarTallerThanTheBoxIsBackedOnlyWhereItShowsAndPaintsOnlyThere)
{
    EXPECT_EQ(BackedRect(strip), Rect(0, 0, 120, 200));
    EXPECT_LE(strip->lastPainted, 200 / 22);
    box->VertScrollBar()->SetPosition(100000);
    ProcessEvents();
    auto shot = Grab(box);
    // Box row 0 shows strip pixel row 100000 (row 4545, 10 px into it).
    EXPECT_EQ(PixelOf(*shot, 5, 0), TRowStrip::RowColor(100000 / 22));
    EXPECT_EQ(PixelOf(*shot, 5, 199), TRowStrip::RowColor((100000 + 199) / 22));
    EXPECT_EQ(BackedRect(strip), Rect(0, 100000, 120, 100200));
    EXPECT_GE(strip->firstPainted, 100000 / 22);
    EXPECT_LE(strip->lastPainted, (100000 + 199) / 22);
    SaveGrab(box, u"scroll_box_far_down.png");
}

TEST_F(ScrollBoxTest, DrawingOutsidePaintLandsWhereTheChildShows)
{
    box->VertScrollBar()->SetPosition(5000);
    ProcessEvents();
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(10, 5010, 30, 5020));
    // Outside the shown part nothing is drawn and nothing fails.
    strip->Canvas()->FillRect(Rect(10, 10, 30, 20));
    auto shot = Grab(box);
    EXPECT_EQ(PixelOf(*shot, 15, 15), clRed);
    EXPECT_EQ(PixelOf(*shot, 35, 15), TRowStrip::RowColor(5015 / 22));
}

TEST_F(ScrollBoxTest, ThumbTracksOnlyWithTrackingAndArrowsStepByIncrement)
{
    const int x = box->Width() - 8;
    // Arrow: one increment.
    Click(box, x, box->Height() - 5);
    EXPECT_EQ(box->VertScrollBar()->Position(), box->VertScrollBar()->Increment());
    const int start = box->VertScrollBar()->Position();
    // Without tracking the content stays while the thumb moves and follows on release.
    Press(box, x, 20);
    Move(box, x, 60);
    EXPECT_EQ(box->VertScrollBar()->Position(), start);
    Release(box, x, 60);
    const int released = box->VertScrollBar()->Position();
    EXPECT_GT(released, start + 30000);  // 40 px of a 166 px track over 220,000 px
    EXPECT_EQ(strip->Top(), -released);
    // With tracking the content follows each move, beyond the 16-bit message field.
    box->VertScrollBar()->SetTracking(true);
    Press(box, x, 60);
    Move(box, x, 120);
    const int tracked = box->VertScrollBar()->Position();
    EXPECT_GT(tracked, 70000);
    EXPECT_EQ(strip->Top(), -tracked);
    Release(box, x, 120);
    EXPECT_EQ(box->VertScrollBar()->Position(), tracked);
}

TEST_F(ScrollBoxTest, ChildOverTheParentsBarsLeavesTheBarsVisible)
{
    // A wide child too: both bars; the child's corner under the bars is not backed and the
    // bars show there.
    strip->SetBounds(0, 0, 400, 10000 * 22);
    box->Realign();
    ProcessEvents();
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    const TRect backed = BackedRect(strip);
    EXPECT_EQ(backed.Width(), box->ClientWidth());
    EXPECT_EQ(backed.Height(), box->ClientHeight());
    auto shot = GrabPainted(box);
    // The horizontal bar's face (not the strip's colour) at the bottom.
    EXPECT_NE(PixelOf(*shot, 40, box->Height() - 9), TRowStrip::RowColor((box->Height() - 9) / 22));
}

} // namespace
} // namespace plat
