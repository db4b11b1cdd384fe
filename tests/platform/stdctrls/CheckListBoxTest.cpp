// The layer's check list box through the real event path: a click on an item's mark or Space
// advances the mark and fires OnClickCheck once; a click on the text only selects.
#include <gtest/gtest.h>

#include <memory>

#include "plat/CheckLst.h"
#include "plat/Forms.h"
#include "plat/Messages.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

class CheckListBoxTest : public pt::UiTest {
protected:
    void SetUp() override {
        pt::UiTest::SetUp();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        list = new TCheckListBox(form.get());
        list->SetParent(form.get());
        list->SetBounds(10, 10, 150, 150);
        for (const char16_t* s : {u"alpha", u"beta", u"gamma"}) list->Items()->Add(s);
        list->OnClickCheck = [this](TObject*) { ++checks; };
        form->Show();
        pt::ProcessEvents();
    }
    void TearDown() override {
        form.reset();
        pt::UiTest::TearDown();
    }
    TPoint OnMark(int i) {
        const TRect r = list->ItemRect(i);
        return {TCheckListBox::CheckWidth / 2, (r.Top + r.Bottom) / 2};
    }
    std::unique_ptr<TForm> form;
    TCheckListBox* list = nullptr;
    int checks = 0;
};

TEST_F(CheckListBoxTest, AClickOnTheMarkTogglesItAndOneOnTheTextSelects) {
    pt::Click(list, OnMark(1).X, OnMark(1).Y);
    EXPECT_TRUE(list->Checked(1));
    EXPECT_EQ(checks, 1);
    pt::Click(list, OnMark(1).X, OnMark(1).Y);
    EXPECT_FALSE(list->Checked(1));
    EXPECT_EQ(checks, 2);
    const TRect r = list->ItemRect(2);
    pt::Click(list, 60, (r.Top + r.Bottom) / 2);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_FALSE(list->Checked(2));
    EXPECT_EQ(checks, 2);
    // Space on the current item.
    pt::Key(VK_SPACE);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(checks, 3);
}

TEST_F(CheckListBoxTest, GrayedComesOnlyWithAllowGrayedAndMarksFollowTheItems) {
    struct Step {
        bool allowGrayed;
        TCheckBoxState after;
    };
    const Step steps[] = {{true, cbChecked}, {true, cbGrayed}, {true, cbUnchecked}, {false, cbChecked}, {false, cbUnchecked}};
    for (const Step& s : steps) {
        list->AllowGrayed = s.allowGrayed;
        pt::Click(list, OnMark(0).X, OnMark(0).Y);
        EXPECT_EQ(list->State(0), s.after);
    }
    list->SetChecked(2, true);
    list->SetChecked(7, true);  // no such item: nothing
    EXPECT_FALSE(list->Checked(7));
    list->Items()->Delete(2);
    EXPECT_FALSE(list->Checked(2));
    list->Items()->Add(u"delta");
    EXPECT_FALSE(list->Checked(2)) << "a new item starts unchecked";
    list->SetChecked(0, true);
    list->Items()->Clear();
    list->Items()->Add(u"again");
    EXPECT_FALSE(list->Checked(0));
}

} // namespace
