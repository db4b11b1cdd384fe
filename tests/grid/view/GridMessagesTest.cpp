// The grid timer, the dialog-code answer and the balloon text of a cell.
#include <gtest/gtest.h>

#include "../GridFixture.h"
#include "ExtUtil.h"
#include "plat/BalloonTip.h"
#include "plat/Messages.h"

using namespace grid;
namespace pt = plat::testing;

namespace {

class GridMessagesTest : public grid::testing::GridFixture<TExtStringGrid> {
protected:
    void SetUp() override {
        GridFixture::SetUp();
        Fill(3, 6);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        form->Show();
        pt::ProcessEvents();
    }
};

TEST_F(GridMessagesTest, TheGridTimerForgetsTheIncrementalSearchText) {
    const char16_t* names[] = {u"abc", u"abd", u"cat", u"abcx", u"car"};
    for (int r = 1; r < 6; ++r) grid->SetCells(1, r, names[r - 1]);
    grid->Navigation()->AutoGotoWhenSorted = true;
    grid->Navigation()->AutoGotoIncremental = true;
    struct Case {
        const char* name;
        unsigned wait;
        const char16_t* search;
        int row;
    };
    const Case cases[] = {
        {"a second keeps the prefix", 1000, u"abc", 1},
        {"two and a half seconds forget it", 2500, u"c", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SearchInc.clear();
        grid->SetRow(5);
        grid->SetFocus();
        pt::Type(u"ab");
        EXPECT_EQ(grid->Row(), 1);
        const int ticks = grid->TimerTicks();
        pt::AdvanceClock(c.wait);
        EXPECT_EQ(grid->TimerTicks() - ticks, static_cast<int>(c.wait / 500));
        pt::Type(u"c");
        EXPECT_EQ(grid->SearchInc, c.search);
        EXPECT_EQ(grid->Row(), c.row);
    }
}

TEST_F(GridMessagesTest, DialogCodeAsksForCharactersWithoutEditing) {
    struct Case {
        const char* name;
        bool editing, autoGoto, wantChars;
    };
    const Case cases[] = {
        {"no goEditing", false, false, true},
        {"goEditing with AutoGotoWhenSorted", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::TGridOptions o = grid->Options();
        if (c.editing) o.Include(plat::goEditing);
        else o.Exclude(plat::goEditing);
        grid->SetOptions(o);
        grid->Navigation()->AutoGotoWhenSorted = c.autoGoto;
        const auto code = grid->Perform(plat::WM_GETDLGCODE, 0, 0);
        EXPECT_EQ((code & plat::DLGC_WANTCHARS) != 0, c.wantChars);
        EXPECT_NE(code & plat::DLGC_WANTARROWS, 0) << "the framework's answer stays";
    }
}

TEST_F(GridMessagesTest, BalloonTextOfACell) {
    struct Case {
        const char* name;
        String cell;
        String text;
    };
    const String longText(3000, u'x');
    const Case cases[] = {
        {"plain", u"value", u"value"},
        {"tabs become blanks, leading breaks skipped", u"\r\n\na\tb", u"a b"},
        {"markup as plain text", u"x<B>y</B>", u"xy"},
        {"rich text as plain text", u"{\\rtf1 r\\b t}", u"rt"},
        {"encoded wide text", EncodeEscapedUnicode(u"\u041F\u0440"), u"\u041F\u0440"},
        {"3000 characters", longText, String(2045, u'x') + u"..."},
        {"2048 characters stay whole", String(2048, u'y'), String(2048, u'y')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetCells(2, 2, c.cell);
        String title, text;
        int icon = 0;
        grid->CellBalloonInfo(2, 2, title, text, icon);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(title, u" ");
        EXPECT_EQ(icon, 1);
    }
    // A balloon cell supplies its own; OnCellBalloon has the last word; long titles are cut.
    grid->AddBalloon(2, 3, u"Cell title", u"Cell text", biError);
    String title, text;
    int icon = 0;
    grid->CellBalloonInfo(2, 3, title, text, icon);
    EXPECT_EQ(title, u"Cell title");
    EXPECT_EQ(text, u"Cell text");
    EXPECT_EQ(icon, static_cast<int>(biError));
    grid->OnCellBalloon = [](plat::TObject*, int, int, String& t, String&, int& i) {
        t = String(101, u't');
        i = 2;
    };
    grid->CellBalloonInfo(2, 3, title, text, icon);
    EXPECT_EQ(title, String(97, u't') + u"...");
    EXPECT_EQ(icon, 2);
}

TEST_F(GridMessagesTest, CellBalloonShowsOnlyWhenEnabled) {
    grid->SetCells(2, 2, u"hello");
    EXPECT_FALSE(grid->ShowCellBalloon(2, 2));
    grid->Balloon().Enable = true;
    grid->Balloon().TextColor = plat::clRed;
    ASSERT_TRUE(grid->ShowCellBalloon(2, 2));
    EXPECT_EQ(grid->LastBalloonCell().X, 2);
    EXPECT_EQ(grid->LastBalloonCell().Y, 2);
}

} // namespace
