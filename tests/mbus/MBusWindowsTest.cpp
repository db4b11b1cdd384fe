// The M-Bus windows as start-up and the language change need them: their size, frame
// and a title that follows the first text of their block once a language provides it.
#include "UMeter_Bus.h"
#include "UNewIDNode.h"
#include "UScanDecode.h"
#include "UInsertKeyWireless.h"
#include "UScanModbusStart.h"
#include "UModbusStartAdd_SD.h"
#include "../settings/WindowChecks.h"

using namespace windowcheck;

namespace {

using MBusWindowsTest = WindowTest;

template <class T>
std::function<TDialogForm*()> Make()
{
    return [] { return new T(nullptr); };
}

TEST_F(MBusWindowsTest, CreatedWithTheirSizeAndTexts)
{
    const TWindow_Case cases[] = {
        {"TFNewIDNode", Make<TFNewIDNode>(), 265, 195, 1200, u"New Node ID"},
        {"TFScanDecode", Make<TFScanDecode>(), 956, 537, 3300, u"Scan & Decode"},
        {"TFInsertKeyWireless", Make<TFInsertKeyWireless>(), 377, 162, 3000, u"Insert Key (HEX)"},
        {"TFScanModbusStart", Make<TFScanModbusStart>(), 377, 200, 3200, u"Start Modbus Register"},
        {"TFModbusStartAdd_SD", Make<TFModbusStartAdd_SD>(), 600, 337, 3100, u"Modbus Start Address"},
    };
    for (const TWindow_Case& c : cases) Check_Window(c);
}

TEST_F(MBusWindowsTest, ScanWindowStartsWithNeutralFields)
{
    TFScanDecode w(nullptr);
    EXPECT_EQ(w.XML_Code_Dev, 0);
    EXPECT_TRUE(w.FileName_MBus.empty());
    EXPECT_EQ(w.Form_Type, 0);
    EXPECT_EQ(FScanDecode, &w);
}

} // namespace
