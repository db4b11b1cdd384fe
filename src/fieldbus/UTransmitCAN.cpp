#include "UTransmitCAN.h"

#include "ExtCGrid.h"
#include "UComon.h"

using namespace grid;

TFTransmitCAN* FTransmitCAN = nullptr;

namespace {

TRule_Table Transmit_Table()
{
    constexpr plat::TColor Id = 0xFEFAE0, Event = 0xA8FFA8, Byte = 0xF4D6FC;
    TRule_Table t;
    t.Columns = {
        {2208, u"N", edNormal, 40},
        {2209, u"Enable", edDataCheckBox, 50, 2231, 0xB0D8FF, true},
        {2210, u"CobID", edNormal, 90, 2232, Id},
        {2211, u"Type", edComboList, 90, 2233, Id},
        {2212, u"Dimension", edNormal, 70, 2234, Id},
        {2213, u"OnChange", edDataCheckBox, 65, 2235, Event, true},
        {2262, u"OnCMD", edDataCheckBox, 50, 2263, Event, true},
        {2214, u"OnTimer", edDataCheckBox, 55, 2236, Event, true},
        {2215, u"Time", edNormal, 70, 2237, Event},
    };
    static const char16_t* const bytes[] = {u"Byte1", u"Byte2", u"Byte3", u"Byte4",
                                            u"Byte5", u"Byte6", u"Byte7", u"Byte8"};
    for (int k = 0; k < 8; ++k) t.Columns.push_back({2216 + k, bytes[k], edComboList, 48, 2238 + k, Byte});
    t.Columns.push_back({2224, u"Mnemonic", edNormal, 110, 2246});
    t.Delete_Question = 2261;
    return t;
}

} // namespace

TFTransmitCAN::TFTransmitCAN(plat::TComponent* owner)
    : TCANFrameForm(owner, true, u"Send Frames", {2200, 2201, 2202, 2203, 2225, 2226},
                    {2204, 2205, 2206, 2207, 2227, 2228, 2229, 2230}, 1100, u"ACG_CAN_Transmit", Transmit_Table())
{
    FTransmitCAN = this;
    ACG_CAN_Transmit = Grid();
    Set_Lang();
}

TFTransmitCAN::~TFTransmitCAN()
{
    if (FTransmitCAN == this) FTransmitCAN = nullptr;
}

const plat::String& TFTransmitCAN::File() const { return File_CAN_Send_Frames; }

void TFTransmitCAN::Read(TRule_Rows& rows, TRule_Load& load)
{
    canrules::Read_Transmit(File(), {CAN_Type, Send_Type, Send_Time}, rows, load);
}
