#include "UPDORules.h"

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

namespace pdorules {

namespace {

const TRule_Attribute Receive_Attributes[] = {
    {u"COB-ID", C_CobID},         {u"Dimension", C_Dim},        {u"Address_B1", C_Add1},
    {u"Address_B2", C_Add1 + 1},  {u"Address_B3", C_Add1 + 2},  {u"Address_B4", C_Add1 + 3},
    {u"Address_B5", C_Add1 + 4},  {u"Address_B6", C_Add1 + 5},  {u"Address_B7", C_Add1 + 6},
    {u"Address_B8", C_Add1 + 7},  {u"TimeOut", R_TimeOut},      {u"Mnemonic", R_Mnemonic},
};
const TRule_Attribute Transmit_Attributes[] = {
    {u"COB-ID", C_CobID},         {u"Dimension", C_Dim},        {u"Address_B1", C_Add1},
    {u"Address_B2", C_Add1 + 1},  {u"Address_B3", C_Add1 + 2},  {u"Address_B4", C_Add1 + 3},
    {u"Address_B5", C_Add1 + 4},  {u"Address_B6", C_Add1 + 5},  {u"Address_B7", C_Add1 + 6},
    {u"Address_B8", C_Add1 + 7},  {u"Send_Time", T_SendTime},   {u"On_Change", T_OnChange},
    {u"Mnemonic", T_Mnemonic},
};

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

// Texts of one table's checks.
struct TTexts {
    int CobID, Dim, Add1, Time;
    std::int64_t Time_Max;
    int Time_Col;
};
constexpr TTexts Receive_Texts{2369, 2370, 2371, 2379, 65535, R_TimeOut};
constexpr TTexts Transmit_Texts{2380, 2381, 2382, 2390, 100000000, T_SendTime};

String Check_Table(const TRule_Rows& rows, int nbyte, const TTexts& t)
{
    const int n = Rule_Row_Count(rows, C_CobID);
    for (int r = 0; r < n; ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        const String prefix = Lang(2368) + IntToStr(r + 1);
        if (!In(Cell_Number(row[C_CobID]), 0, 2047)) return prefix + Lang(t.CobID);
        const std::int64_t dim = Cell_Number(row[C_Dim]);
        if (!In(dim, 1, 8)) return prefix + Lang(t.Dim);
        for (int k = 0; k < dim; ++k)
            if (!In(Cell_Number(row[static_cast<std::size_t>(C_Add1 + k)]), 0, nbyte - 1))
                return prefix + Lang(t.Add1 + k) + IntToStr(nbyte - 1);
        if (!In(Cell_Number(row[static_cast<std::size_t>(t.Time_Col)]), 0, t.Time_Max)) return prefix + Lang(t.Time);
    }
    return {};
}

} // namespace

void Read_PDO(const String& file, TRule_Rows& receive, TRule_Rows& transmit, TRule_Load& load)
{
    receive = Empty_Rule_Rows(Rows, R_Cols);
    transmit = Empty_Rule_Rows(Rows, T_Cols);
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    const IXMLNode root = doc.DocumentElement();
    Read_Rule_Rows(Rule_Table_Element(root, u"Receive_PDO", load), u"row", Receive_Attributes, receive, load);
    Read_Rule_Rows(Rule_Table_Element(root, u"Transmit_PDO", load), u"row", Transmit_Attributes, transmit, load);
}

String Check_PDO(const TRule_Rows& receive, const TRule_Rows& transmit, int nbyte_in, int nbyte_out)
{
    String error = Check_Table(receive, nbyte_in, Receive_Texts);
    if (error.empty()) error = Check_Table(transmit, nbyte_out, Transmit_Texts);
    return error;
}

void Fill_PDO(TXMLDocument& doc, const TRule_Rows& receive, const TRule_Rows& transmit)
{
    IXMLNode root = New_Rule_Document(doc, u"PDO_CANopen", Version);
    Write_Rule_Rows(root.AddChild(u"Receive_PDO"), u"row", Receive_Attributes, receive,
                    Rule_Row_Count(receive, C_CobID));
    Write_Rule_Rows(root.AddChild(u"Transmit_PDO"), u"row", Transmit_Attributes, transmit,
                    Rule_Row_Count(transmit, C_CobID));
}

} // namespace pdorules
