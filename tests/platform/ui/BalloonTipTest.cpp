// The balloon tooltip window and the edit's balloon tip.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "plat/BalloonTip.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

namespace plat {
namespace {

using namespace plat::testing;

class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {}
    String ClassName() const override { return u"TBox"; }
};

class BalloonTipTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(10, 10, 300, 200);
        edit = new TBox(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(20, 30, 120, 21);
        form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        HideBalloonTip();
        form.reset();
        UiTest::TearDown();
    }
    std::unique_ptr<TForm> form;
    TBox* edit = nullptr;
};

TEST_F(BalloonTipTest, ShowsTitleTextAndIconBelowTheControl) {
    struct Case {
        const char* name;
        int icon, shownIcon;
    };
    const Case cases[] = {{"none", 0, 0}, {"info", 1, 1}, {"warning", 2, 2}, {"error", 3, 3}, {"out of range", 7, 0}, {"negative", -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowBalloonTip(edit, u"Title", u"A text long enough to wrap at the balloon's width of three hundred pixels, surely.", c.icon);
        TBalloonWindow* b = ActiveBalloonTip();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(BalloonTipControl(), edit);
        EXPECT_EQ(b->Title(), u"Title");
        EXPECT_EQ(b->Icon(), c.shownIcon);
        const TPoint tip = edit->ClientToScreen(TPoint{8, edit->Height()});
        EXPECT_EQ(b->StemTip().X, tip.X);
        EXPECT_EQ(b->StemTip().Y, tip.Y);
        EXPECT_EQ(b->Top(), tip.Y);
        EXPECT_LE(b->Left(), tip.X);
        EXPECT_LE(b->Width(), b->MaxWidth + 40) << "the text wraps";
        EXPECT_GT(b->Height(), 40) << "title and at least two lines";
    }
}

TEST_F(BalloonTipTest, HidesAfterItsTimeAndWithItsControl) {
    ShowBalloonTip(edit, u"", u"text", 1, 1000);
    ASSERT_NE(ActiveBalloonTip(), nullptr);
    AdvanceClock(900);
    EXPECT_NE(ActiveBalloonTip(), nullptr);
    AdvanceClock(200);
    EXPECT_EQ(ActiveBalloonTip(), nullptr);

    ShowBalloonTip(edit, u"", u"text", 1, 0);
    AdvanceClock(60000);
    EXPECT_NE(ActiveBalloonTip(), nullptr) << "0: never hides by itself";
    delete edit;
    edit = nullptr;
    EXPECT_EQ(ActiveBalloonTip(), nullptr);
    EXPECT_EQ(BalloonTipControl(), nullptr);
    ShowBalloonTip(nullptr, u"", u"text", 1);
    EXPECT_EQ(ActiveBalloonTip(), nullptr);
}

TEST_F(BalloonTipTest, RenderOnRequest) {
    if (!std::getenv("TEST_PICTURES")) GTEST_SKIP() << "set TEST_PICTURES to a folder to get balloon.png";
    ShowBalloonTip(edit, u"Invalid entry", u"The value must be a number between 1 and 247.", 3, 0);
    ProcessEvents();
    SaveGrab(ActiveBalloonTip(), u"balloon.png");
}

} // namespace
} // namespace plat
