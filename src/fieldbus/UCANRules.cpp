#include "UCANRules.h"

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

namespace canrules {

namespace {

// The texts of a table's messages.
struct TCheck_Texts {
    int Prefix, CobID_A, CobID_B, Dim, Time, Byte1, Suffix, Byte2;
};
constexpr TCheck_Texts Receive_Texts{2144, 2145, 2146, 2147, 2148, 2149, 2150, 2151};
constexpr TCheck_Texts Transmit_Texts{2247, 2248, 2249, 2250, 2251, 2252, 2253, 2254};

const TRule_Attribute Receive_Attributes[] = {
    {u"Enable", R_Enable, u"Y"},       {u"COBID", R_CobID, u""},         {u"CAN_Type", R_Type, u""},
    {u"Dim", R_Dim, u""},              {u"TimeOut", R_TimeOut, u"0"},    {u"Byte1", R_Byte1, u""},
    {u"Byte2", R_Byte1 + 1, u""},      {u"Byte3", R_Byte1 + 2, u""},     {u"Byte4", R_Byte1 + 3, u""},
    {u"Byte5", R_Byte1 + 4, u""},      {u"Byte6", R_Byte1 + 5, u""},     {u"Byte7", R_Byte1 + 6, u""},
    {u"Byte8", R_Byte1 + 7, u""},      {u"Mnemonic", R_Mnemonic, u""},
};

// The transmit attributes in file order; CAN_Type, OnChange and OnTimer take their
// defaults from TTransmit_Defaults, Time is read apart (its default follows OnTimer).
TRule_Attribute Transmit_Attribute(int index, const TTransmit_Defaults& d)
{
    static const TRule_Attribute fixed[] = {
        {u"Enable", T_Enable, u"Y"},     {u"COBID", T_CobID, u""},         {u"CAN_Type", T_Type, nullptr},
        {u"Dim", T_Dim, u""},            {u"OnChange", T_OnChange, nullptr}, {u"OnCMD", T_OnCMD, u"N"},
        {u"OnTimer", T_OnTimer, nullptr}, {u"Time", T_Time, nullptr},      {u"Byte1", T_Byte1, u""},
        {u"Byte2", T_Byte1 + 1, u""},    {u"Byte3", T_Byte1 + 2, u""},     {u"Byte4", T_Byte1 + 3, u""},
        {u"Byte5", T_Byte1 + 4, u""},    {u"Byte6", T_Byte1 + 5, u""},     {u"Byte7", T_Byte1 + 6, u""},
        {u"Byte8", T_Byte1 + 7, u""},    {u"Mnemonic", T_Mnemonic, u""},
    };
    TRule_Attribute a = fixed[index];
    switch (a.Col) {
    case T_Type: a.Default = d.CAN_Type != 0 ? Type_B : Type_A; break;
    case T_OnChange: a.Default = d.Send_Type != 0 ? u"N" : u"Y"; break;
    case T_OnTimer: a.Default = d.Send_Type == 1 ? u"Y" : u"N"; break;
    default: break;
    }
    return a;
}
constexpr int Transmit_Attribute_Count = 17;

bool Is_Y(const String& cell) { return UpperCase(Trim(cell)) == u"Y"; }

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

// Row r (from 1) of a table: the first fault's message, empty when it passes.
String Check_Row(const std::vector<String>& row, int r, bool transmit, int max_byte, const TCheck_Texts& t)
{
    const int type = transmit ? T_Type : R_Type;
    const int dim_col = transmit ? T_Dim : R_Dim;
    const int byte1 = transmit ? T_Byte1 : R_Byte1;
    const String prefix = Lang(t.Prefix) + IntToStr(r);
    const std::int64_t cobid = Cell_Number(row[transmit ? T_CobID : R_CobID]);
    if (Trim(row[type]) == Type_A) {
        if (!In(cobid, 0, 2047)) return prefix + Lang(t.CobID_A);
    } else if (!In(cobid, 0, 0x1FFFFFFF)) {
        return prefix + Lang(t.CobID_B);
    }
    const std::int64_t dim = Cell_Number(row[dim_col]);
    if (!In(dim, 1, 8)) return prefix + Lang(t.Dim);
    if (!transmit) {
        if (!In(Cell_Number(row[R_TimeOut]), 0, 100000000)) return prefix + Lang(t.Time);
    } else if (Is_Y(row[T_OnTimer]) && !In(Cell_Number(row[T_Time]), 0, 100000000)) {
        return prefix + Lang(t.Time);
    }
    for (int k = 1; k <= dim; ++k) {
        const String& cell = row[static_cast<std::size_t>(byte1 + k - 1)];
        const String trimmed = Trim(cell);
        if (trimmed.empty() || trimmed == u"None") continue;
        if (!In(Cell_Number(cell), 0, max_byte - 1))
            return prefix + Lang(k == 1 ? t.Byte1 : t.Byte2 + k - 2) + IntToStr(max_byte - 1) + Lang(t.Suffix);
    }
    return {};
}

String Check(const TRule_Rows& rows, bool transmit, int max_byte)
{
    const TCheck_Texts& t = transmit ? Transmit_Texts : Receive_Texts;
    const int n = Rule_Row_Count(rows, transmit ? T_CobID : R_CobID);
    for (int r = 0; r < n; ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        if (!Is_Y(row[transmit ? T_Enable : R_Enable])) continue;
        String error = Check_Row(row, r + 1, transmit, max_byte, t);
        if (!error.empty()) return error;
    }
    return {};
}

} // namespace

TRule_Rows Cleared(int cols)
{
    TRule_Rows rows = Empty_Rule_Rows(Rows, cols);
    for (auto& row : rows) row[1] = u"Y";
    return rows;
}

void Read_Receive(const String& file, TRule_Rows& rows, TRule_Load& load)
{
    rows = Cleared(R_Cols);
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    Read_Rule_Rows(doc.DocumentElement(), u"", Receive_Attributes, rows, load);
}

void Read_Transmit(const String& file, const TTransmit_Defaults& defaults, TRule_Rows& rows, TRule_Load& load)
{
    rows = Cleared(T_Cols);
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    std::vector<TRule_Attribute> attrs;
    for (int i = 0; i < Transmit_Attribute_Count; ++i) {
        const TRule_Attribute a = Transmit_Attribute(i, defaults);
        if (a.Col != T_Time) attrs.push_back(a);
    }
    const IXMLNode root = doc.DocumentElement();
    const int read = Read_Rule_Rows(root, u"", attrs, rows, load);
    // Time: the file's text, else "Send_Time" where the row sends on its timer.
    int p = 0;
    for (IXMLNode child = root.ChildNodes().First(); child && p < read; child = child.NextSibling()) {
        if (child.NodeType() != ntElement) continue;
        auto& row = rows[static_cast<std::size_t>(p++)];
        TXMLValue v = child.Attributes(u"Time");
        if (!v.IsNull())
            row[T_Time] = std::move(v).AsString();
        else
            row[T_Time] = row[T_OnTimer] == u"Y" ? IntToStr(defaults.Send_Time) : String();
    }
}

String Check_Receive(const TRule_Rows& rows, int max_byte) { return Check(rows, false, max_byte); }

String Check_Transmit(const TRule_Rows& rows, int max_byte) { return Check(rows, true, max_byte); }

void Fill_Receive(TXMLDocument& doc, const TRule_Rows& rows)
{
    IXMLNode root = New_Rule_Document(doc, u"Receive_Frames", Version);
    Write_Rule_Rows(root, u"row", Receive_Attributes, rows, Rule_Row_Count(rows, R_CobID));
}

void Fill_Transmit(TXMLDocument& doc, const TRule_Rows& rows)
{
    std::vector<TRule_Attribute> attrs;
    for (int i = 0; i < Transmit_Attribute_Count; ++i) attrs.push_back(Transmit_Attribute(i, {}));
    IXMLNode root = New_Rule_Document(doc, u"Transmit_Frames", Version);
    Write_Rule_Rows(root, u"row", attrs, rows, Rule_Row_Count(rows, T_CobID));
}

} // namespace canrules
