// The building-automation and SNMP windows as start-up and the language change need them: their size, frame
// and a title that follows the first text of their block once a language provides it.
#include "UBACnetAccess.h"
#include "UBACnetSlaveSetAccess.h"
#include "UBACnet_Eng_Unit.h"
#include "UDALI_Access.h"
#include "UImportEDEFile.h"
#include "UKNXAccess.h"
#include "USNMPManagerAccess.h"
#include "USNMP_Trap_Access.h"
#include "../settings/WindowChecks.h"

using namespace windowcheck;

namespace {

using BuildingWindowsTest = WindowTest;

template <class T>
std::function<TDialogForm*()> Make()
{
    return [] { return new T(nullptr); };
}

TEST_F(BuildingWindowsTest, CreatedWithTheirSizeAndTexts)
{
    const TWindow_Case cases[] = {
        {"TFBACnetAccess", Make<TFBACnetAccess>(), 956, 337, 4700, u"BACnet Master Access"},
        {"TFBACnetSlaveSetAccess", Make<TFBACnetSlaveSetAccess>(), 956, 337, 4300, u"BACnet Slave Access"},
        {"TFBACnet_Eng_Unit", Make<TFBACnet_Eng_Unit>(), 548, 306, 4400, u"BACnet Engineering Units"},
        {"TFDALI_Access", Make<TFDALI_Access>(), 956, 437, 4500, u"DALI Access"},
        {"TFImportEDEFile", Make<TFImportEDEFile>(), 700, 437, 4800, u"Import EDE File"},
        {"TFKNXAccess", Make<TFKNXAccess>(), 956, 337, 3800, u"KNX Access"},
        {"TFSNMPManagerAccess", Make<TFSNMPManagerAccess>(), 956, 337, 4000, u"SNMP Manager Access"},
        {"TFSNMP_Trap_Access", Make<TFSNMP_Trap_Access>(), 956, 337, 3900, u"SNMP Agent Access"},
    };
    for (const TWindow_Case& c : cases) Check_Window(c);
}

} // namespace
