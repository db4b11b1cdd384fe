// The BACnet engineering units: names, their letter case, the picker's categories, and the
// picker as the user drives it.
#include <set>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "UBACnet_Eng_Unit.h"
#include "UBACnet_Units.h"
#include "UComon.h"
#include "UFormKit.h"
#include "ULanguage.h"
#include "plat/Forms.h"
#include "plat/StdCtrls.h"
#include "plat/SysUtils.h"
#include "plat/Testing.h"

using namespace plat;
namespace pt = plat::testing;

namespace {

TEST(BACnetUnits, NamesOfTheStandard)
{
    const struct {
        int unit;
        const char16_t* name;
    } cases[] = {
        {0, u"square-meters"},
        {1, u"square-feet"},
        {62, u"degrees-Celsius"},
        {63, u"degrees-Kelvin"},
        {95, u"no-units"},
        {102, u"psi-per-degree-Fahrenheit"},
        {141, u"watts-per-square-meter-degree-kelvin"},
        {153, u"newton"},
        {160, u"newton-meters"},
        {166, u"meters-per-second-per-second"},
        {181, u"degrees-Kelvin-per-hour"},
        {185, u"square-meters-per-Newton"},
        {190, u"microsiemens"},
        {207, u"per-mille"},
        {234, u"pH"},
        {236, u"minutes-per-degree-kelvin"},
        {-1, u"unknown"},
        {237, u"unknown"},
        {65535, u"unknown"},
        {-2147483647 - 1, u"unknown"},
    };
    for (const auto& c : cases) EXPECT_EQ(TFBACnet_Eng_Unit::Desc_Unit(c.unit), c.name) << c.unit;
}

TEST(BACnetUnits, EveryNameFollowsTheCaseRules)
{
    std::set<String> seen;
    for (int u = 0; u < kBACnet_Unit_Count; ++u) {
        String name = BACnet_Unit_Name(u);
        ASSERT_FALSE(name.empty()) << u;
        EXPECT_TRUE(seen.insert(name).second) << "twice: " << StringToUtf8(name);
        EXPECT_NE(name.front(), u'-');
        EXPECT_NE(name.back(), u'-');
        EXPECT_EQ(name.find(u"--"), String::npos) << u;
        // Lower-case words that must be capitalised, and the two units that keep "kelvin".
        EXPECT_EQ(name.find(u"celsius"), String::npos) << u;
        EXPECT_EQ(name.find(u"fahrenheit"), String::npos) << u;
        EXPECT_EQ(name.find(u"kelvin") != String::npos, u == 141 || u == 236) << u;
        EXPECT_EQ(name.find(u"Newton") != String::npos, u == 185) << u;
        // Apart from the capitalised words and "pH": lower-case letters, digits, hyphens.
        for (const char16_t* word : {u"Celsius", u"Fahrenheit", u"Kelvin", u"Newton"}) {
            const String w(word);
            for (std::size_t at; (at = name.find(w)) != String::npos;) name.replace(at, w.size(), LowerCase(w));
        }
        if (u == 234) name = u"ph";
        for (char16_t c : name)
            EXPECT_TRUE((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-')
                << u << ": " << StringToUtf8(BACnet_Unit_Name(u));
    }
}

TEST(BACnetUnits, TwentyThreeCategoriesCoverEveryUnitOnce)
{
    const char16_t* names[] = {u"Acceleration", u"Area",        u"Currency",    u"Electrical",      u"Energy",
                               u"Enthalpy",     u"Entropy",     u"Force",       u"Frequency",       u"Humidity",
                               u"Length",       u"Light",       u"Mass",        u"Mass Flow",       u"Power",
                               u"Pressure",     u"Temperature", u"Time",        u"Torque",          u"Velocity",
                               u"Volume",       u"Volumetric Flow", u"Other"};
    const auto categories = BACnet_Unit_Categories();
    ASSERT_EQ(categories.size(), std::size(names));
    int count[kBACnet_Unit_Count] = {};
    for (std::size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(String(categories[i].Name), names[i]);
        for (short u : categories[i].Units) {
            ASSERT_TRUE(u >= 0 && u < kBACnet_Unit_Count) << u;
            ++count[u];
        }
    }
    for (int u = 0; u < kBACnet_Unit_Count; ++u) EXPECT_EQ(count[u], 1) << u;
    // Spot checks of the list order the picker's positions depend on.
    EXPECT_EQ(categories[1].Units[2], 1);
    EXPECT_EQ(categories[22].Units[29], 207);
    EXPECT_EQ(categories[22].Units.back(), 236);
    EXPECT_EQ(categories[3].Units[15], 190);
}

class BACnetUnitPickerTest : public pt::UiTest {
protected:
    void SetUp() override
    {
        pt::UiTest::SetUp();
        Load_Default_Language();
        Init_Product_Identity();
    }
};

TEST_F(BACnetUnitPickerTest, ShowsTheCellsUnitAndPicksByCategoryAndPosition)
{
    TFBACnet_Eng_Unit form(nullptr);
    EXPECT_EQ(form.ClientWidth(), 548);
    EXPECT_EQ(form.ClientHeight(), 306);
    EXPECT_EQ(form.CB_Select_Type->Items()->Count(), 23);
    EXPECT_EQ(form.CB_Select_Type->ItemIndex(), 0);
    EXPECT_EQ(form.Btn_Cancel->Caption(), u"Cancel");
    EXPECT_EQ(form.Label1->Caption(), u"Selected BACnet Engineering Unit");
    EXPECT_EQ(form.Label4->Caption(), u"Select Unit");

    for (const auto& [text, label] : {std::pair<const char16_t*, const char16_t*>{u"62", u"-> degrees-Celsius"},
                                      {u"", u"-> unknown"},
                                      {u"abc", u"-> unknown"},
                                      {u"237", u"-> unknown"}}) {
        form.Show_Unit(text);
        EXPECT_EQ(form.E_Selected_EU->Text(), text);
        EXPECT_EQ(form.Label5->Caption(), label);
    }

    // "Other", 30th entry; then "Area", 3rd entry; OK keeps the last pick.
    form.Show_Unit(u"62");
    responder().ScriptModal<TFBACnet_Eng_Unit>([](TFBACnet_Eng_Unit& f) {
        EXPECT_EQ(f.CB_Select_Unit->Items()->Count(), 1);  // Acceleration, first entry selected
        EXPECT_EQ(f.CB_Select_Unit->ItemIndex(), 0);
        EXPECT_EQ(f.E_Selected_EU->Text(), u"62");         // showing touches neither
        EXPECT_EQ(f.Label5->Caption(), u"-> degrees-Celsius");
        f.CB_Select_Type->SetFocus();
        pt::Key(VK_END);
        EXPECT_EQ(f.CB_Select_Type->Text(), u"Other");
        f.CB_Select_Unit->SetFocus();
        for (int i = 0; i < 29; ++i) pt::Key(VK_DOWN);
        pt::Click(f.Btn_Select_Eng_Unit, 10, 10);
        EXPECT_EQ(f.E_Selected_EU->Text(), u"207");
        EXPECT_EQ(f.Label5->Caption(), u"-> per-mille");

        f.CB_Select_Type->SetFocus();
        pt::Key(VK_HOME);
        pt::Key(VK_DOWN);  // Area
        f.CB_Select_Unit->SetFocus();
        pt::Key(VK_DOWN);
        pt::Key(VK_DOWN);
        pt::Click(f.Btn_Select_Eng_Unit, 10, 10);
        EXPECT_EQ(f.E_Selected_EU->Text(), u"1");
        EXPECT_EQ(f.Label5->Caption(), u"-> square-feet");
        pt::Click(f.Btn_OK, 10, 10);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(form.E_Selected_EU->Text(), u"1");
    pt::SaveGrab(&form, u"bacnet_unit_picker.png");

    // Reopened: the category last chosen, its units listed again, the first one selected.
    form.CB_Select_Unit->SetItemIndex(3);
    responder().ScriptModal<TFBACnet_Eng_Unit>([](TFBACnet_Eng_Unit& f) {
        EXPECT_EQ(f.CB_Select_Type->Text(), u"Area");
        EXPECT_EQ(f.CB_Select_Unit->Items()->Count(), 4);
        EXPECT_EQ(f.CB_Select_Unit->Text(), u"square-meters");
        pt::Click(f.Btn_Cancel, 10, 10);
    });
    EXPECT_EQ(form.ShowModal(), mrCancel);
}

} // namespace
