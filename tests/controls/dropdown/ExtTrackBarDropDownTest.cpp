// The track-bar drop-down on a shown offscreen host form: the position stepped by Up and Down,
// dragged over the edit, taken from the text and from the track bar in the open form.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ExtTrackBarDropDown.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace dropdown;
using namespace plat;
namespace pt = plat::testing;

namespace {

class ExtTrackBarDropDownTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        host = std::make_unique<TForm>(nullptr);
        host->SetBounds(100, 100, 400, 300);
        dd = new TExtTrackBarDropDown(host.get());
        dd->SetParent(host.get());
        dd->SetBounds(20, 30, 120, 21);
        dd->OnTrackChange = [this](TObject*) { ++trackChanges; };
        host->Show();
        dd->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        host.reset();
        pt::UiTest::TearDown();
    }
    void Keys(std::uint16_t Key, int Times, TShiftState Shift = 0)
    {
        for (int i = 0; i < Times; ++i) pt::Key(Key, Shift);
        pt::ProcessEvents();
    }

    std::unique_ptr<TForm> host;
    TExtTrackBarDropDown* dd = nullptr;
    int trackChanges = 0;
};

TEST_F(ExtTrackBarDropDownTest, StartsAsASelectionOnlyNumericEditWithoutBars)
{
    EXPECT_FALSE(dd->EditorEnabled());
    EXPECT_TRUE(dd->DropDownEnabled());
    EXPECT_EQ(dd->EditType(), etNumeric);
    EXPECT_FALSE(dd->DropDownHeader()->Visible());
    EXPECT_FALSE(dd->DropDownFooter()->Visible());
    EXPECT_TRUE(dd->ForceShadow());
    EXPECT_EQ(dd->Min(), 0);
    EXPECT_EQ(dd->Max(), 10);
    EXPECT_EQ(dd->PageSize(), 2);
    EXPECT_EQ(dd->Frequency(), 1);
    ASSERT_NE(dd->TrackBar(), nullptr);
    EXPECT_EQ(dd->TrackBar()->Parent(), dd->DropDownForm());
    EXPECT_EQ(dd->TrackBar()->Height(), 40);
}

TEST_F(ExtTrackBarDropDownTest, UpAndDownStepByFrequencyAndStopInsideTheRange)
{
    struct Case {
        int min, max, frequency, start;
        std::uint16_t key;
        int presses, position;
    };
    const Case cases[] = {
        {0, 10, 1, 0, VK_DOWN, 11, 10},  // the eleventh press finds 11 above Max
        {0, 10, 1, 0, VK_UP, 1, 0},      // Up at Min does nothing
        {0, 10, 3, 0, VK_DOWN, 5, 9},    // 12 would pass Max: it stops at 9, not 10
        {0, 10, 3, 10, VK_UP, 5, 1},
        {-5, 5, 2, 0, VK_UP, 2, -4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        dd->SetMin(c.min);
        dd->SetMax(c.max);
        dd->SetFrequency(c.frequency);
        dd->SetPosition(c.start);
        Keys(c.key, c.presses);
        EXPECT_EQ(dd->Position(), c.position);
        EXPECT_EQ(dd->TrackBar()->Position(), c.position);
        EXPECT_EQ(dd->Text(), IntToStr(c.position));
    }
}

TEST_F(ExtTrackBarDropDownTest, EveryStepShowsThePositionAndRaisesTrackChange)
{
    Keys(VK_DOWN, 3);
    EXPECT_EQ(dd->Text(), u"3");
    EXPECT_EQ(trackChanges, 3);
    Keys(VK_DOWN, 1, ssAlt);  // Alt+Down opens instead of stepping
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Position(), 3);
}

TEST_F(ExtTrackBarDropDownTest, DraggingOverTheEditMovesOnePositionPerPageSizePixelsOfOneMove)
{
    struct Case {
        int pageSize;
        std::vector<int> moves;  // x positions after a press at 50
        int position;
    };
    const Case cases[] = {
        {2, {55}, 2},                      // 5 px in one move: 5 / 2 = 2
        {2, {51, 52, 53, 54, 55}, 0},      // five 1 px moves: nothing
        {2, {44}, -3},                     // leftwards: -6 / 2
        {3, {53, 59}, 3},                  // 3 px, then 6 px
        {0, {60, 90}, 0},                  // no step size: no movement, no fault
        {-1, {60}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pageSize);
        dd->SetMin(-10);
        dd->SetPosition(0);
        dd->SetPageSize(c.pageSize);
        pt::Press(dd, 50, 10);
        for (int x : c.moves) pt::Move(dd, x, 10);
        pt::Release(dd, c.moves.back(), 10);
        pt::ProcessEvents();
        EXPECT_EQ(dd->Position(), c.position);
        if (dd->DroppedDown()) dd->HideDropDown(false);
        pt::ProcessEvents();
    }
    // After the release, moving no longer drags.
    dd->SetPageSize(1);
    pt::Move(dd, 90, 10);
    pt::Move(dd, 20, 10);
    EXPECT_EQ(dd->Position(), 0);
}

TEST_F(ExtTrackBarDropDownTest, WithTheEditorEnabledKeysAndDragLeaveThePosition)
{
    dd->SetEditorEnabled(true);
    dd->SetPosition(5);
    Keys(VK_DOWN, 2);
    Keys(VK_UP, 1);
    pt::Press(dd, 50, 10);
    pt::Move(dd, 70, 10);
    pt::Release(dd, 70, 10);
    EXPECT_EQ(dd->Position(), 5);
}

TEST_F(ExtTrackBarDropDownTest, TheTextSetsThePositionAndATextThatIsNoIntegerIsIgnored)
{
    dd->SetEditText(u"7");
    EXPECT_EQ(dd->Position(), 7);
    EXPECT_EQ(dd->TrackBar()->Position(), 7);
    for (const char16_t* t : {u"1x", u"", u"3.5", u"99999999999999"}) {
        SCOPED_TRACE(::testing::PrintToString(String(t)));
        EXPECT_NO_THROW(dd->SetEditText(t));
        EXPECT_EQ(dd->Position(), 7);
    }
    // Out of range: the track bar keeps it within its limits.
    dd->SetEditText(u"25");
    EXPECT_EQ(dd->Position(), 10);
    dd->SetPosition(-4);
    EXPECT_EQ(dd->Position(), 0);
}

TEST_F(ExtTrackBarDropDownTest, OpeningHandsTheSettingsToTheTrackBarWhichThenDrivesTheEdit)
{
    dd->SetMax(20);
    dd->SetPosition(4);
    dd->SetPageSize(5);
    dd->SetFrequency(2);
    pt::Key(VK_F4);
    pt::ProcessEvents();
    ASSERT_TRUE(dd->DroppedDown());
    TTrackBar* t = dd->TrackBar();
    EXPECT_EQ(dd->Control(), t);
    EXPECT_EQ(t->Max(), 20);
    EXPECT_EQ(t->Position(), 4);
    EXPECT_EQ(t->PageSize(), 5);
    EXPECT_EQ(t->Frequency(), 2);
    EXPECT_EQ(t->Width(), 120 - 2);  // the form's width inside its border
    EXPECT_EQ(dd->DropDownForm()->Width(), 120);
    EXPECT_FALSE(dd->DropDownForm()->CancelOnDeActivate());
    const int before = trackChanges;
    // The track bar's own keys, as the user presses them in the open form.
    t->SetFocus();
    pt::ProcessEvents();
    pt::Key(VK_NEXT);
    pt::ProcessEvents();
    EXPECT_EQ(t->Position(), 9);
    EXPECT_EQ(dd->Position(), 9);
    EXPECT_EQ(dd->Text(), u"9");
    EXPECT_EQ(trackChanges, before + 1);
    // Leaving the form keeps the position (no cancel on deactivation).
    pt::ActivateForm(host.get());
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Position(), 9);
    EXPECT_EQ(dd->Text(), u"9");
}

TEST_F(ExtTrackBarDropDownTest, EnterKeepsAndEscRestoresTheTextLastGivenToSetText)
{
    dd->SetText(u"2");
    EXPECT_EQ(dd->Position(), 2);
    pt::Key(VK_F4);
    pt::ProcessEvents();
    ASSERT_TRUE(dd->DroppedDown());
    Keys(VK_DOWN, 3);
    EXPECT_EQ(dd->Text(), u"5");
    pt::Key(VK_ESCAPE);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), u"2");
    EXPECT_EQ(dd->Position(), 2);
    pt::Key(VK_F4);
    Keys(VK_DOWN, 1);
    pt::Key(VK_RETURN);
    pt::ProcessEvents();
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Position(), 3);
    EXPECT_EQ(dd->Text(), u"3");
}

} // namespace
