// The update window as the main window uses it: texts by mode, set on every show and on a
// language change.
#include <gtest/gtest.h>

#include "UBoot.h"
#include "UComon.h"
#include "ULanguage.h"
#include "plat/StdCtrls.h"
#include "plat/Testing.h"

namespace pt = plat::testing;

namespace {

class UBootTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
        boot = new TFBoot(nullptr);
    }
    void TearDown() override
    {
        delete boot;
        pt::UiTest::TearDown();
    }
    TFBoot* boot = nullptr;
};

TEST_F(UBootTest, TextsFollowTheMode)
{
    struct Case {
        int form_type;
        const char16_t* caption;
        const char16_t* desc;
    };
    const Case cases[] = {
        {1, u"Update Device by Ethernet (UDP)", u"Update Device Using the Ethernet Port"},
        {0, u"Update Device by Serial", u"Update Device Using the Serial Port"},
        // Another mode leaves the texts the last one set.
        {7, u"Update Device by Serial", u"Update Device Using the Serial Port"},
    };
    EXPECT_EQ(boot->Form_Type, 0);
    EXPECT_EQ(FBoot, boot);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form_type);
        boot->Form_Type = c.form_type;
        boot->Set_Lang();
        EXPECT_EQ(boot->Caption(), c.caption);
        EXPECT_EQ(boot->L_SW_Desc->Caption(), c.desc);
        EXPECT_EQ(boot->Btn_Update->Caption(), u"Execute Update Firmware");
        EXPECT_EQ(boot->Btn_Cancel->Hint(), u"Exit without to do the Update");
    }
    EXPECT_EQ(boot->L_SW_Code->Caption(), u"QR40518");
}

TEST_F(UBootTest, ShowingSetsTheTextsOfTheCurrentMode)
{
    boot->Form_Type = 1;
    plat::String caption;
    responder().ScriptModal<TFBoot>([&](TFBoot& f) {
        caption = f.Caption();
        pt::Click(f.Btn_Cancel, 10, 10);
    });
    EXPECT_EQ(boot->ShowModal(), plat::mrCancel);
    EXPECT_EQ(caption, u"Update Device by Ethernet (UDP)");
}

} // namespace
