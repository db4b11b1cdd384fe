#include "UReceiveJ1939.h"

#include "ExtCGrid.h"
#include "UComon.h"

using namespace grid;
using namespace j1939rules;

TFReceiveJ1939* FReceiveJ1939 = nullptr;

namespace {

TRule_Table Receive_Table()
{
    constexpr plat::TColor Id = 0xFEFAE0, Tp = 0xA8FFFF, Bytes = 0xCAFFCA, Cancel = 0xF4D6FC, Req = 0xB0D8FF;
    TRule_Table t;
    t.Columns = {
        {2614, u"N", edNormal, 40},
        {2615, u"Data Page", edComboList, 65, 2625, Id},
        {2616, u"PGN", edNormal, 85, 2626, Id},
        {2617, u"Source Address", edNormal, 95, 2627, Id},
        {2618, u"Transport Protocol", edDataCheckBox, 113, 2628, Tp, true},
        {2619, u"Start Byte", edNormal, 65, 2629, Bytes},
        {2620, u"N Byte", edNormal, 55, 2630, Bytes},
        {2621, u"Cancel Data", edDataCheckBox, 75, 2631, Cancel, true},
        {2622, u"On Request", edDataCheckBox, 75, 2632, Req, true},
        {2623, u"Time(ms)", edNormal, 65, 2633, Req},
        {2624, u"Mnemonic", edNormal, 120, 2634, plat::clWhite},
    };
    t.Delete_Question = 2647;
    return t;
}

} // namespace

TFReceiveJ1939::TFReceiveJ1939(plat::TComponent* owner)
    : TJ1939FrameForm(owner, u"Set the J1939 Receive Frames Rules", {2600, 2601, 2602, 2603, 2608, 2609},
                      {2604, 2605, 2606, 2607, 2610, 2611, 2612, 2613}, 876, Receive_Table())
{
    FReceiveJ1939 = this;
    Set_Column_Items(Table(0), R_DP, {u"0", u"1"});
    Set_Lang();
}

TFReceiveJ1939::~TFReceiveJ1939()
{
    if (FReceiveJ1939 == this) FReceiveJ1939 = nullptr;
}

const plat::String& TFReceiveJ1939::File() const { return File_J1939_Rec_Frames; }
void TFReceiveJ1939::Read(TRule_Rows& rows, TRule_Load& load) { Read_Receive(File(), rows, load); }
plat::String TFReceiveJ1939::Check(const TRule_Rows& rows) const { return Check_Receive(rows, NUM_BYTE_IN); }
void TFReceiveJ1939::Fill(const TRule_Rows& rows) { Fill_Receive(*XML1, rows); }
