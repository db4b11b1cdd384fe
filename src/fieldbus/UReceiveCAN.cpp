#include "UReceiveCAN.h"

#include "ExtCGrid.h"
#include "UComon.h"

using namespace grid;

TFReceiveCAN* FReceiveCAN = nullptr;

namespace {

TRule_Table Receive_Table()
{
    constexpr plat::TColor Id = 0xFEFAE0, Time = 0xA8FFA8, Byte = 0xF4D6FC;
    TRule_Table t;
    t.Columns = {
        {2108, u"N", edNormal, 40},
        {2109, u"Enable", edDataCheckBox, 50, 2129, 0xB0D8FF, true},
        {2110, u"CobID", edNormal, 90, 2130, Id},
        {2111, u"Type", edComboList, 90, 2131, Id},
        {2112, u"Dimension", edNormal, 70, 2132, Id},
        {2113, u"TimeOut", edNormal, 75, 2134, Time},
    };
    static const char16_t* const bytes[] = {u"Byte1", u"Byte2", u"Byte3", u"Byte4",
                                            u"Byte5", u"Byte6", u"Byte7", u"Byte8"};
    for (int k = 0; k < 8; ++k) t.Columns.push_back({2114 + k, bytes[k], edComboList, 48, 2135 + k, Byte});
    t.Columns.push_back({2122, u"Mnemonic", edNormal, 185, 2143});
    t.Delete_Question = 2158;
    return t;
}

} // namespace

TFReceiveCAN::TFReceiveCAN(plat::TComponent* owner)
    : TCANFrameForm(owner, false, u"Receive Frames", {2100, 2101, 2102, 2103, 2123, 2124},
                    {2104, 2105, 2106, 2107, 2125, 2126, 2127, 2128}, 1010, u"ACG_CAN_Receive", Receive_Table())
{
    FReceiveCAN = this;
    ACG_CAN_Receive = Grid();
    Set_Lang();
}

TFReceiveCAN::~TFReceiveCAN()
{
    if (FReceiveCAN == this) FReceiveCAN = nullptr;
}

const plat::String& TFReceiveCAN::File() const { return File_CAN_Rec_Frames; }

void TFReceiveCAN::Read(TRule_Rows& rows, TRule_Load& load) { canrules::Read_Receive(File(), rows, load); }
