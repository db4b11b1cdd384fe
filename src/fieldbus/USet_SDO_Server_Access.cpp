#include "USet_SDO_Server_Access.h"

#include "ExtCGrid.h"
#include "UComon.h"
#include "USDORules.h"

using namespace grid;
using namespace sdorules;

TFSet_SDO_Server_Access* FSet_SDO_Server_Access = nullptr;

namespace {

// Both pages have the same columns: header texts from `first`, hints from `hint`.
TRule_Table Server_Table(int first, int hint, int page_text, const char16_t* page)
{
    constexpr plat::TColor Id = 0xFEFAE0, Add = 0xF4D6FC;
    TRule_Table t;
    t.Columns = {
        {first, u"N", edNormal, 40},
        {first + 1, u"Index", edNormal, 65, hint, Id},
        {first + 2, u"SubIndex", edNormal, 61, hint + 1, Id},
        {first + 3, u"N Byte", edNormal, 55, hint + 2, Id},
        {first + 4, u"Add Byte1", edNormal, 80, hint + 3, Add},
        {first + 5, u"Add Byte2", edNormal, 80, hint + 4, Add},
        {first + 6, u"Add Byte3", edNormal, 80, hint + 5, Add},
        {first + 7, u"Add Byte4", edNormal, 80, hint + 6, Add},
        {first + 8, u"Mnemonic", edNormal, 170, hint + 7, plat::clWhite},
    };
    t.Page_Text = page_text;
    t.Page_Design = page;
    t.Delete_Question = 2565;
    return t;
}

} // namespace

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(plat::TComponent* owner)
    : TSDOEditorForm(owner, u"Set SDO Server", {2500, 2501, 2502, 2503, 2508, 2509},
                     {2504, 2505, 2506, 2507, 2510, 2511, 2512, 2513}, 749,
                     Server_Table(2516, 2534, 2514, u"SDO in Read"), Server_Table(2525, 2542, 2515, u"SDO in Write"),
                     Server_Rows)
{
    FSet_SDO_Server_Access = this;
    Set_Lang();
}

TFSet_SDO_Server_Access::~TFSet_SDO_Server_Access()
{
    if (FSet_SDO_Server_Access == this) FSet_SDO_Server_Access = nullptr;
}

const plat::String& TFSet_SDO_Server_Access::File() const { return File_SDO_Server_CANopen; }

void TFSet_SDO_Server_Access::Read(TRule_Rows& read, TRule_Rows& write, TRule_Load& load) const
{
    Read_Server(File(), read, write, load);
}

plat::String TFSet_SDO_Server_Access::Check(const TRule_Rows& read, const TRule_Rows& write) const
{
    return Check_Server(read, write, PROFINET_NByte_IN, PROFINET_NByte_OUT);
}

void TFSet_SDO_Server_Access::Fill(const TRule_Rows& read, const TRule_Rows& write) { Fill_Server(*XML1, read, write); }
