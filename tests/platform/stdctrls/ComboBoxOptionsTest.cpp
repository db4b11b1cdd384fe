// The combo box's right-aligned drop-down: a list wider than its box opens towards the left,
// its right edge on the box's right edge, and never leaves the form.
#include <gtest/gtest.h>

#include <memory>

#include "plat/ComboBoxOptions.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

// The opened list: the visible list box among the form's children.
TControl* OpenList(TForm& form)
{
    for (int i = 0; i < form.ControlCount(); ++i) {
        TControl* c = form.Controls(i);
        if (c->ClassName() == u"TListBox" && c->Visible()) return c;
    }
    return nullptr;
}

using ComboBoxOptions = pt::UiTest;

TEST_F(ComboBoxOptions, RightAlignedListLinesUpWithTheBoxAndStaysOnTheForm)
{
    TForm form(nullptr);
    form.SetClientWidth(600);
    form.SetClientHeight(400);
    TComboBox* box = new TComboBox(&form);
    box->SetParent(&form);
    box->SetStyle(csDropDownList);
    for (const char16_t* s : {u"a", u"b"}) box->Items()->Add(s);
    box->SetDroppedWidth(300);
    form.Show();
    pt::ProcessEvents();
    const struct {
        int left;
        bool rightAligned;
        int listLeft;  // -1: the box's own left edge less its frame
    } cases[] = {
        {400, true, 400 + 150 - 300},  // opens to the left
        {100, true, 0},                // would leave the form: kept on it
        {100, false, -1},              // the default: from the box's left edge
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        box->SetBounds(c.left, 20, 150, 21);
        SetDropDownRightAligned(box, c.rightAligned);
        EXPECT_EQ(DropDownRightAligned(box), c.rightAligned);
        box->SetDroppedDown(true);
        TControl* list = OpenList(form);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Width(), 300);
        if (c.listLeft >= 0)
            EXPECT_EQ(list->Left(), c.listLeft);
        else
            EXPECT_EQ(list->Left(), form.ScreenToClient(box->ClientToScreen({-2, 0})).X);
        if (c.rightAligned && c.listLeft > 0) EXPECT_EQ(list->Left() + list->Width(), c.left + 150);
        box->SetDroppedDown(false);
    }
}

} // namespace
