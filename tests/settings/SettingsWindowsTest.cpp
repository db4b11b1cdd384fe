// The settings windows as start-up and the language change need them.
#include "UMQTT_SetAccess_Eth.h"
#include "UMQTT_Set_Access.h"
#include "UMQTT_Set_Topic.h"
#include "UModbus_TCP_Master_Set_Access.h"
#include "UParGen.h"
#include "USetAccess.h"
#include "UTopicTemplate.h"
#include "WindowChecks.h"

using namespace windowcheck;

namespace {

using SettingsWindowsTest = WindowTest;

template <class T>
std::function<TDialogForm*()> Make()
{
    return [] { return new T(nullptr); };
}

TEST_F(SettingsWindowsTest, CreatedWithTheirSizeAndTexts)
{
    const TWindow_Case cases[] = {
        {"TFParGen", Make<TFParGen>(), 460, 700, 400, u"Set Communication"},
        {"TFMQTT_Set_Topic", Make<TFMQTT_Set_Topic>(), 1100, 337, 700, u"Set MQTT Topics"},
        {"TFSetAccess", Make<TFSetAccess>(), 956, 337, 1300, u"Set Modbus Access"},
        {"TFMQTT_Set_Access", Make<TFMQTT_Set_Access>(), 760, 337, 1400, u"MQTT Set Access"},
        {"TFMQTT_SetAccess_Eth", Make<TFMQTT_SetAccess_Eth>(), 760, 337, -1, u"MQTT Set Access"},
        {"TFTopicTemplate", Make<TFTopicTemplate>(), 635, 396, 1700, u"Set Topic"},
        {"TFModbus_TCP_Master_Set_Access", Make<TFModbus_TCP_Master_Set_Access>(), 1150, 337, 1500,
         u"Set Modbus TCP Master Access"},
    };
    for (const TWindow_Case& c : cases) Check_Window(c);
}

TEST_F(SettingsWindowsTest, FrameTextsOfTheGeneralParameters)
{
    TFParGen w(nullptr);
    EXPECT_EQ(w.L_SW_Desc->Caption(), u"Set Communication Setting");
    EXPECT_EQ(w.Btn_OK->Caption(), u"OK");
    EXPECT_EQ(w.Btn_OK->Hint(), u"Confirm and Save the current configuration");
    EXPECT_EQ(w.Btn_Cancel->Hint(), u"Exit and Discard the current configuration");
    EXPECT_EQ(FParGen, &w);
}

} // namespace
