#include "UTransmitJ1939.h"

#include "ExtCGrid.h"
#include "UComon.h"

using namespace grid;
using namespace j1939rules;

TFTransmitJ1939* FTransmitJ1939 = nullptr;

namespace {

TRule_Table Transmit_Table()
{
    constexpr plat::TColor Id = 0xFEFAE0, Bytes = 0xA8FFFF, Event = 0xCAFFCA;
    TRule_Table t;
    t.Columns = {
        {2714, u"N", edNormal, 40},
        {2715, u"Priority", edNormal, 50, 2725, Id},
        {2716, u"Data Page", edComboList, 65, 2726, Id},
        {2717, u"PGN", edNormal, 85, 2727, Id},
        {2718, u"Source Address", edNormal, 95, 2728, Id},
        {2719, u"N Bytes", edNormal, 60, 2729, Bytes},
        {2720, u"Request", edDataCheckBox, 55, 2730, Event, true},
        {2721, u"Data Change", edDataCheckBox, 80, 2731, Event, true},
        {2722, u"On Timer", edDataCheckBox, 60, 2732, Event, true},
        {2723, u"Send Timer", edNormal, 70, 2733, Event},
        {2724, u"Mnemonic", edNormal, 115, 2734, plat::clWhite},
    };
    t.Delete_Question = 2743;
    return t;
}

} // namespace

TFTransmitJ1939::TFTransmitJ1939(plat::TComponent* owner)
    : TJ1939FrameForm(owner, u"Set the J1939 Send Frames Rules", {2700, 2701, 2702, 2703, 2708, 2709},
                      {2704, 2705, 2706, 2707, 2710, 2711, 2712, 2713}, 800, Transmit_Table())
{
    FTransmitJ1939 = this;
    Set_Column_Items(Table(0), T_DP, {u"0", u"1"});
    Set_Lang();
}

TFTransmitJ1939::~TFTransmitJ1939()
{
    if (FTransmitJ1939 == this) FTransmitJ1939 = nullptr;
}

const plat::String& TFTransmitJ1939::File() const { return File_J1939_Send_Frames; }
void TFTransmitJ1939::Read(TRule_Rows& rows, TRule_Load& load) { Read_Transmit(File(), rows, load); }
plat::String TFTransmitJ1939::Check(const TRule_Rows& rows) const { return Check_Transmit(rows, NUM_BYTE_OUT); }
void TFTransmitJ1939::Fill(const TRule_Rows& rows) { Fill_Transmit(*XML1, rows); }
