// The fieldbus windows as start-up and the language change need them: their size, frame
// and a title that follows the first text of their block once a language provides it.
#include "UDMXDefVal.h"
#include "UDNet.h"
#include "UDefOffset.h"
#include "UProfinetFileName.h"
#include "UReceiveCAN.h"
#include "UReceiveJ1939.h"
#include "UReceiveNMEA.h"
#include "USet_PDO_Access.h"
#include "USet_SDO_Client_Access.h"
#include "USet_SDO_Server_Access.h"
#include "UTransmitCAN.h"
#include "UTransmitJ1939.h"
#include "UTransmitNMEA.h"
#include "../settings/WindowChecks.h"

using namespace windowcheck;

namespace {

using FieldbusWindowsTest = WindowTest;

template <class T>
std::function<TDialogForm*()> Make()
{
    return [] { return new T(nullptr); };
}

TEST_F(FieldbusWindowsTest, CreatedWithTheirSizeAndTexts)
{
    const TWindow_Case cases[] = {
        {"TFDMXDefVal", Make<TFDMXDefVal>(), 956, 337, 3700, u"DMX Default Values"},
        {"TFDNet", Make<TFDNet>(), 956, 337, 2800, u"DeviceNet Network"},
        {"TFDefOffset", Make<TFDefOffset>(), 956, 337, 2900, u"DeviceNet Offsets"},
        {"TFProfinetFileName", Make<TFProfinetFileName>(), 377, 162, 3400, u"PROFINET File Name"},
        {"TFReceiveCAN", Make<TFReceiveCAN>(), 1010, 337, 2100, u"Receive Frames"},
        {"TFReceiveJ1939", Make<TFReceiveJ1939>(), 876, 337, 2600, u"Set the J1939 Receive Frames Rules"},
        {"TFReceiveNMEA", Make<TFReceiveNMEA>(), 956, 337, 3500, u"NMEA 2000 Receive Frames"},
        {"TFSet_PDO_Access", Make<TFSet_PDO_Access>(), 798, 337, 2300, u"Set PDO Access"},
        {"TFSet_SDO_Client_Access", Make<TFSet_SDO_Client_Access>(), 798, 337, 2400, u"Set SDO Client"},
        {"TFSet_SDO_Server_Access", Make<TFSet_SDO_Server_Access>(), 749, 337, 2500, u"Set SDO Server"},
        {"TFTransmitCAN", Make<TFTransmitCAN>(), 1100, 337, 2200, u"Send Frames"},
        {"TFTransmitJ1939", Make<TFTransmitJ1939>(), 800, 337, 2700, u"Set the J1939 Send Frames Rules"},
        {"TFTransmitNMEA", Make<TFTransmitNMEA>(), 956, 337, 3600, u"NMEA 2000 Send Frames"},
    };
    for (const TWindow_Case& c : cases) Check_Window(c);
}

TEST_F(FieldbusWindowsTest, ProfinetFileNameStartsEmpty)
{
    TFProfinetFileName w(nullptr);
    EXPECT_TRUE(w.Name_File_XML.empty());
    EXPECT_EQ(FProfinetFileName, &w);
}

} // namespace
