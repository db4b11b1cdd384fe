#include "USet_SDO_Client_Access.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "USDORules.h"

using namespace grid;
using namespace sdorules;

TFSet_SDO_Client_Access* FSet_SDO_Client_Access = nullptr;

namespace {

constexpr plat::TColor Id = 0xFEFAE0, Time = 0xA8FFA8, Add = 0xF4D6FC;

TRule_Table Read_Table()
{
    TRule_Table t;
    t.Columns = {
        {2416, u"N", edNormal, 40},
        {2417, u"ID Device", edNormal, 60, 2439, Id},
        {2418, u"Index", edNormal, 55, 2440, Id},
        {2419, u"SubIndex", edNormal, 60, 2441, Id},
        {2420, u"N Byte", edNormal, 45, 2442, Id},
        {2421, u"Poll Time", edNormal, 60, 2443, Time},
        {2422, u"Add Byte1", edNormal, 70, 2444, Add},
        {2423, u"Add Byte2", edNormal, 70, 2445, Add},
        {2424, u"Add Byte3", edNormal, 70, 2446, Add},
        {2425, u"Add Byte4", edNormal, 70, 2447, Add},
        {2426, u"Mnemonic", edNormal, 163, 2448, plat::clWhite},
    };
    t.Page_Text = 2414;
    t.Page_Design = u"SDO Read";
    t.Delete_Question = 2479;
    return t;
}

TRule_Table Write_Table()
{
    TRule_Table t;
    t.Columns = {
        {2427, u"N", edNormal, 40},
        {2428, u"ID Device", edNormal, 60, 2449, Id},
        {2429, u"Index", edNormal, 55, 2450, Id},
        {2430, u"SubIndex", edNormal, 60, 2451, Id},
        {2431, u"N Byte", edNormal, 45, 2452, Id},
        {2432, u"Poll Time", edNormal, 60, 2453, Time},
        {2433, u"On Change", edDataCheckBox, 68, 2454, Time, true},
        {2434, u"Add Byte1", edNormal, 70, 2455, Add},
        {2435, u"Add Byte2", edNormal, 70, 2456, Add},
        {2436, u"Add Byte3", edNormal, 70, 2457, Add},
        {2437, u"Add Byte4", edNormal, 70, 2458, Add},
        {2438, u"Mnemonic", edNormal, 95, 2459, plat::clWhite},
    };
    t.Page_Text = 2415;
    t.Page_Design = u"SDO Write";
    t.Delete_Question = 2479;
    return t;
}

} // namespace

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(plat::TComponent* owner)
    : TSDOEditorForm(owner, u"Set SDO Client", {2400, 2401, 2402, 2403, 2408, 2409},
                     {2404, 2405, 2406, 2407, 2410, 2411, 2412, 2413}, 798, Read_Table(), Write_Table(), Client_Rows)
{
    FSet_SDO_Client_Access = this;
    Set_Lang();
}

TFSet_SDO_Client_Access::~TFSet_SDO_Client_Access()
{
    if (FSet_SDO_Client_Access == this) FSet_SDO_Client_Access = nullptr;
}

const plat::String& TFSet_SDO_Client_Access::File() const { return File_SDO_Client_CANopen; }

void TFSet_SDO_Client_Access::Read(TRule_Rows& read, TRule_Rows& write, TRule_Load& load) const
{
    Read_Client(File(), read, write, load);
}

plat::String TFSet_SDO_Client_Access::Check(const TRule_Rows& read, const TRule_Rows& write) const
{
    return Check_Client(read, write, PROFINET_NByte_IN, PROFINET_NByte_OUT);
}

void TFSet_SDO_Client_Access::Fill(const TRule_Rows& read, const TRule_Rows& write) { Fill_Client(*XML1, read, write); }
