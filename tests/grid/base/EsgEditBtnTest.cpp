#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ESGEdit.h"
#include "plat/Classes.h"
#include "plat/Forms.h"
#include "plat/Graphics.h"
#include "plat/Messages.h"
#include "plat/Testing.h"

using namespace grid;
namespace pt = plat::testing;
using plat::String;

namespace {

// A shown form with a unit edit (kg, g) at (20, 20), 140 by 24, and a plain edit to leave to.
struct EditBtnFixture : pt::UiTest {
    void SetUp() override
    {
        pt::UiTest::SetUp();
        form = std::make_unique<plat::TForm>(nullptr);
        form->SetBounds(0, 0, 300, 160);
        edit = new TEsgUnitEditBtn(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(20, 20, 140, 24);
        edit->SetTabStop(true);
        plat::TStringList units;
        units.Add(u"kg");
        units.Add(u"g");
        edit->SetUnits(&units);
        edit->OnClickBtn = [this](plat::TObject*) { ++clicks; };
        edit->OnUnitChanged = [this](plat::TObject*, const String& U) { changes.push_back(U); };
        other = new plat::TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(20, 100, 60, 22);
        other->SetTabStop(true);
        form->Show();
        edit->SetFocus();
        pt::ProcessEvents();
    }
    void TearDown() override
    {
        pt::MoveAway();
        form.reset();
        pt::UiTest::TearDown();
    }
    std::unique_ptr<plat::TForm> form;
    TEsgUnitEditBtn* edit = nullptr;
    plat::TEdit* other = nullptr;
    int clicks = 0;
    std::vector<String> changes;
};

TEST_F(EditBtnFixture, Defaults)
{
    plat::TForm f(nullptr);
    auto* plain = new TEsgEditBtn(&f);
    EXPECT_EQ(plain->Text(), u"0");
    EXPECT_FALSE(plain->RightAlign());
    EXPECT_TRUE(plain->EditorEnabled());
    EXPECT_EQ(plain->Button()->ButtonColor, clNotSet);
    EXPECT_EQ(plain->ButtonCaption(), u"");
    EXPECT_EQ(edit->UnitSpace(), 20);
    EXPECT_TRUE(edit->RightAlign());
}

TEST_F(EditBtnFixture, TextAndUnitSplitsOnTheFirstUnitAtTheEnd)
{
    struct Case {
        const char16_t* value;
        const char16_t* text;
        const char16_t* unit;
    } cases[] = {
        {u"5kg", u"5", u"kg"},
        {u"5g", u"5", u"g"},
        {u"5", u"5", u"g"},            // no unit: nothing changes
        {u"12.5kg", u"12.5", u"kg"},
        {u"kg5", u"12.5", u"kg"},      // a unit not at the end does not split
        {u"2kgkg", u"12.5", u"kg"},    // first occurrence is not at the end
    };
    for (const auto& c : cases) {
        edit->SetTextAndUnit(c.value);
        EXPECT_EQ(edit->Text(), c.text) << plat::StringToUtf8(c.value);
        EXPECT_EQ(edit->UnitID(), c.unit) << plat::StringToUtf8(c.value);
        EXPECT_EQ(edit->TextAndUnit(), String(c.text) + c.unit);
    }
}

TEST_F(EditBtnFixture, UnitMenuPicksAndReportsChanges)
{
    edit->SetUnitID(u"kg");
    responder().AnswerPopup(1);  // "g"
    pt::Click(edit->Button()->Button(), 5, 5);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_EQ(responder().Popups()[0].Request.Items, (std::vector<String>{u"kg", u"g"}));
    EXPECT_EQ(edit->UnitID(), u"g");
    EXPECT_EQ(changes, std::vector<String>{u"g"});
    // Choosing the unit already set reports nothing.
    responder().AnswerPopup(1);
    pt::Click(edit->Button()->Button(), 5, 5);
    EXPECT_EQ(changes.size(), 1u);
    // Dismissed: nothing.
    responder().AnswerPopup(-1);
    pt::Click(edit->Button()->Button(), 5, 5);
    EXPECT_EQ(edit->UnitID(), u"g");
    EXPECT_EQ(clicks, 3);
    // The edit's own change notification is not a menu choice.
    edit->Perform(plat::WM_COMMAND, plat::MakeWParam(1, 768), 0);
    EXPECT_EQ(edit->UnitID(), u"g");
}

TEST_F(EditBtnFixture, EmptyUnitListOpensEmptyMenu)
{
    plat::TStringList none;
    edit->Units()->Clear();
    responder().AnswerPopup(-1);
    edit->ClickBtn();
    ASSERT_EQ(responder().Popups().size(), 1u);
    EXPECT_TRUE(responder().Popups()[0].Request.Items.empty());
    edit->SetUnits(nullptr);  // none given: no change
    EXPECT_EQ(edit->Units()->Count(), 0);
}

TEST_F(EditBtnFixture, F4OpensTheButtonActionUnlessCtrlOrAlt)
{
    struct Case {
        plat::TShiftState shift;
        int clicks;
    } cases[] = {{0, 1}, {plat::ssCtrl, 0}, {plat::ssAlt, 0}, {plat::ssShift, 1}};
    for (const auto& c : cases) {
        clicks = 0;
        if (c.clicks) responder().AnswerPopup(-1);  // the unit menu follows the action
        pt::Key(plat::VK_F4, c.shift);
        EXPECT_EQ(clicks, c.clicks) << c.shift;
    }
}

TEST_F(EditBtnFixture, TypingDisabledDropsCharacters)
{
    edit->SetText(u"1");
    edit->SetSelStart(1);
    pt::Type(u"2");
    EXPECT_EQ(edit->Text(), u"12");
    edit->SetEditorEnabled(false);
    pt::Type(u"3");
    EXPECT_EQ(edit->Text(), u"12");
}

TEST_F(EditBtnFixture, ButtonSitsAtTheRightEdgeAndFocusReturns)
{
    auto* b = edit->Button();
    // 3-D look: x = width + n - button width - 5, height + n - 5; n = 4 without a border.
    struct Case {
        plat::TBorderStyle border;
        int n;
    } cases[] = {{plat::bsNone, 4}, {plat::bsSingle, 0}};
    for (const auto& c : cases) {
        edit->SetBorderStyle(c.border);
        edit->SetBounds(20, 20, 140, 24);
        EXPECT_EQ(b->Left(), 140 + c.n - b->Width() - 5) << c.n;
        EXPECT_EQ(b->Top(), 0);
        EXPECT_EQ(b->Height(), 24 + c.n - 5) << c.n;
    }
    edit->SetBorderStyle(plat::bsNone);
    edit->SetBounds(20, 20, 140, 24);
    EXPECT_EQ(b->Button()->BoundsRect(), plat::Bounds(0, 0, b->Width(), b->Height()));
    edit->SetButtonWidth(30);
    EXPECT_EQ(b->Width(), 30);
    EXPECT_EQ(b->Left(), 140 + 4 - 30 - 5);
    // Text area leaves room for the unit and the button.
    EXPECT_EQ(edit->EditRect().Right, edit->ClientWidth() - (30 + 20 + 5) - 3);
    edit->SetUnitSpace(0);
    EXPECT_EQ(edit->EditRect().Right, edit->ClientWidth() - (30 + 5));

    other->SetFocus();
    responder().AnswerPopup(-1);
    pt::Click(b->Button(), 3, 3);
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditBtnFixture, ButtonPainting)
{
    auto* b = edit->Button();
    edit->SetButtonCaption(u"...");
    edit->SetUnitID(u"kg");
    pt::ProcessEvents();
    pt::SaveGrab(edit, u"editbtn_plain.png");
    {
        // The unit shows in its space left of the button, and moves away when set to none.
        auto inkIn = [&](int X0, int X1) {
            auto g = pt::Grab(edit);
            int ink = 0;
            for (int x = X0; x < X1; ++x)
                for (int y = 2; y < edit->ClientHeight() - 2; ++y)
                    if (pt::PixelOf(*g, x, y) != plat::ColorToRGB(edit->Color())) ++ink;
            return ink;
        };
        int right = edit->ClientWidth() - (b->Width() + 3);
        EXPECT_GT(inkIn(right - 20, right), 0);
        edit->SetUnitID(u"");
        pt::ProcessEvents();
        EXPECT_EQ(inkIn(right - 20, right), 0);
        edit->SetUnitID(u"kg");
        pt::ProcessEvents();
    }
    b->ButtonColor = plat::clAqua;
    b->ButtonColorHot = plat::clYellow;
    b->ButtonColorDown = plat::clRed;
    b->Button()->Invalidate();
    pt::ProcessEvents();
    auto g = pt::Grab(b->Button());
    EXPECT_EQ(pt::PixelOf(*g, 1, 1), plat::ColorToRGB(plat::clAqua));
    EXPECT_TRUE(b->Button()->Flat());
    pt::Move(b->Button(), 2, 2);
    pt::ProcessEvents();
    g = pt::Grab(b->Button());
    EXPECT_EQ(pt::PixelOf(*g, 1, 1), plat::ColorToRGB(plat::clYellow));
    pt::Press(b->Button(), 2, 2);
    pt::ProcessEvents();
    g = pt::Grab(b->Button());
    EXPECT_EQ(pt::PixelOf(*g, 1, 1), plat::ColorToRGB(plat::clRed));
    pt::SaveGrab(edit, u"editbtn_coloured.png");
    responder().AnswerPopup(-1);
    pt::Release(b->Button(), 2, 2);
    EXPECT_EQ(clicks, 1);
}

} // namespace
