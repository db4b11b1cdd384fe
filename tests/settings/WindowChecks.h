#pragma once
// Checks shared by the tests of the plain dialog forms (frame and texts only): the client
// size, the header label, and a caption that follows its text (or keeps its design caption
// while the text is blank).
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

namespace windowcheck {

struct TWindow_Case {
    const char* name;
    std::function<TDialogForm*()> create;
    int width, height;
    int caption_text;         // -1: none
    const char16_t* caption;  // as created with the built-in texts
};

class WindowTest : public plat::testing::UiTest {
protected:
    void SetUp() override
    {
        plat::testing::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
    }
};

inline void Check_Window(const TWindow_Case& c)
{
    SCOPED_TRACE(c.name);
    Load_Default_Language();
    std::unique_ptr<TDialogForm> w(c.create());
    EXPECT_EQ(w->ClassName(), plat::Utf8ToString(c.name));
    EXPECT_EQ(w->ClientWidth(), c.width);
    EXPECT_EQ(w->ClientHeight(), c.height);
    EXPECT_EQ(w->L_SW_Code->Caption(), u"QR40518");
    EXPECT_EQ(w->Caption(), c.caption);
    EXPECT_EQ(w->Btn_Cancel->ModalResult(), plat::mrCancel);
    if (c.caption_text < 0) return;
    // A language that has the text: the next Set_Lang shows it, in the title and the header.
    Apply_Language_Line(u"STR" + plat::IntToStr(c.caption_text) + u" = Titel");
    w->Set_Lang();
    EXPECT_EQ(w->Caption(), u"Titel");
}

} // namespace windowcheck
