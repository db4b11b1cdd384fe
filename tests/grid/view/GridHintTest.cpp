// The grid's markup hint window.
#include <gtest/gtest.h>

#include <memory>

#include "GridHint.h"
#include "plat/Forms.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridHintTest : public pt::UiTest {
protected:
    void TearDown() override {
        hint.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<THTMLHintWindow> hint = std::make_unique<THTMLHintWindow>(nullptr);
};

TEST_F(GridHintTest, MarkupHintIsItsTextWidthPlus16ByHeightPlus4) {
    hint->ActivateHint({100, 100, 100, 100}, u"<B>Bold</B> text");
    pt::ProcessEvents();
    plat::TBitmap probe(10, 10);
    probe.Canvas()->Font()->Assign(*hint->Font());
    const int plain = probe.Canvas()->TextWidth(u" text");
    probe.Canvas()->Font()->SetStyle({plat::fsBold});
    const int bold = probe.Canvas()->TextWidth(u"Bold");
    EXPECT_NEAR(hint->TextWidth(), bold + plain, 1) << "\"Bold\" measured bold";
    EXPECT_EQ(hint->Width(), hint->TextWidth() + 16);
    EXPECT_EQ(hint->Height(), hint->TextHeight() + 4);
    EXPECT_EQ(hint->Left(), 100);
    EXPECT_EQ(hint->Top(), 100);
}

TEST_F(GridHintTest, KeptTwoPixelsInsideTheMonitor) {
    const plat::TRect mon = plat::Screen->MonitorRect({0, 0});
    hint->ActivateHint({mon.Right - 10, mon.Bottom - 5, mon.Right - 10, mon.Bottom - 5}, u"<B>Bold</B> text");
    pt::ProcessEvents();
    EXPECT_EQ(hint->Left() + hint->Width(), mon.Right - 2);
    EXPECT_EQ(hint->Top() + hint->Height(), mon.Bottom - 2);
    EXPECT_EQ(hint->Width(), hint->TextWidth() + 16) << "the width is kept";
}

TEST_F(GridHintTest, CalcHintRectWrapsWithinTheMaximumWidth) {
    const plat::TRect one = hint->CalcHintRect(1000, u"word", nullptr);
    const plat::TRect r = hint->CalcHintRect(100, u"a long plain text that cannot fit in one hundred pixels", nullptr);
    EXPECT_LE(r.Width(), 100);
    EXPECT_GE(r.Height(), 3 * one.Height()) << "wrapped onto several lines";
}

TEST_F(GridHintTest, UseHTMLHintsSwitchesTheApplicationsHintWindow) {
    TExtStringGrid g(nullptr);
    g.SetUseHTMLHints(true);
    ASSERT_TRUE(plat::Application->HintWindowClass);
    std::unique_ptr<plat::THintWindow> w(plat::Application->HintWindowClass(nullptr));
    EXPECT_NE(dynamic_cast<THTMLHintWindow*>(w.get()), nullptr);
    EXPECT_TRUE(g.UseHTMLHints());
    g.SetUseHTMLHints(false);
    EXPECT_FALSE(plat::Application->HintWindowClass) << "the layer's own hint window again";
}

} // namespace
