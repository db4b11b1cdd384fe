#include "UJ1939Rules.h"

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

namespace j1939rules {

namespace {

const TRule_Attribute Receive_Attributes[] = {
    {u"DP", R_DP, u""},          {u"PGN", R_PGN, u""},           {u"SA", R_SA, u""},
    {u"TP", R_TP, u"N"},         {u"TP_Start", R_Start, u""},    {u"TP_NByte", R_NByte, u""},
    {u"Delete", R_Delete, u"N"}, {u"OnRequest", R_OnRequest, u"N"}, {u"OnReq_Time", R_Time, u"1000"},
    {u"Mnemonic", R_Mnemonic, u""},
};
// Written in this order; read through Read_Transmit's own steps.
const TRule_Attribute Transmit_Attributes[] = {
    {u"Priority", T_Priority, u""},   {u"DP", T_DP, u""},             {u"PGN", T_PGN, u""},
    {u"SA", T_SA, u""},               {u"TP_NByte", T_NByte, u""},    {u"On_Request", T_Request, u"N"},
    {u"On_Data_Change", T_Change, u"N"}, {u"On_Timer", T_Timer, u"N"}, {u"SendTimer", T_SendTimer, u""},
    {u"Mnemonic", T_Mnemonic, u""},
};

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

String Row_Error(int r, int prefix, int text) { return Lang(prefix) + IntToStr(r) + Lang(text); }

} // namespace

void Read_Receive(const String& file, TRule_Rows& rows, TRule_Load& load)
{
    rows = Empty_Rule_Rows(Rows, R_Cols);
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    Read_Rule_Rows(doc.DocumentElement(), u"", Receive_Attributes, rows, load);
}

void Read_Transmit(const String& file, TRule_Rows& rows, TRule_Load& load)
{
    rows = Empty_Rule_Rows(Rows, T_Cols);
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    const IXMLNode root = doc.DocumentElement();
    std::vector<TRule_Attribute> plain;
    for (const TRule_Attribute& a : Transmit_Attributes)
        if (a.Col != T_Request && a.Col != T_Change && a.Col != T_Timer) plain.push_back(a);
    const int read = Read_Rule_Rows(root, u"", plain, rows, load);
    int p = 0;
    for (IXMLNode child = root.ChildNodes().First(); child && p < read; child = child.NextSibling()) {
        if (child.NodeType() != ntElement) continue;
        auto& row = rows[static_cast<std::size_t>(p++)];
        if (row[T_NByte].empty()) row[T_NByte] = u"8";
        row[T_Request] = row[T_Change] = row[T_Timer] = u"N";
        const TXMLValue type = child.Attributes(u"T_Type");
        if (!type.IsNull()) {
            // An older file: one send event by name.
            const String t = UpperCase(type.AsString());
            if (t == u"ON DATA CHANGE") row[T_Change] = u"Y";
            if (t == u"ON TIMER") row[T_Timer] = u"Y";
            continue;
        }
        for (const auto& [name, col] : {std::pair{u"On_Request", T_Request}, std::pair{u"On_Data_Change", T_Change},
                                        std::pair{u"On_Timer", T_Timer}}) {
            TXMLValue v = child.Attributes(name);
            if (!v.IsNull()) row[static_cast<std::size_t>(col)] = std::move(v).AsString();
        }
    }
}

String Check_Receive(const TRule_Rows& rows, int num_byte_in)
{
    const int n = Rule_Row_Count(rows, R_PGN);
    std::int64_t total = 0;
    for (int i = 0; i < n; ++i) {
        const auto& row = rows[static_cast<std::size_t>(i)];
        const int r = i + 1;
        if (Trim(row[R_DP]).empty()) return Row_Error(r, 2635, 2636);
        if (!In(Cell_Number(row[R_PGN]), 0, 0xFFFF)) return Row_Error(r, 2635, 2637);
        if (!In(Cell_Number(row[R_SA]), 0, 255)) return Row_Error(r, 2635, 2638);
        const std::int64_t start = Cell_Number(row[R_Start]);
        const std::int64_t count = Cell_Number(row[R_NByte]);
        if (row[R_TP] == u"Y") {
            if (!In(start, 0, 1785)) return Row_Error(r, 2635, 2639);
            if (count < 0 || start + count > 1785) return Row_Error(r, 2635, 2640);
            total += count;
        } else {
            const bool no_start = Trim(row[R_Start]).empty(), no_count = Trim(row[R_NByte]).empty();
            if (no_start != no_count) return Row_Error(r, 2635, 2641);
            if (!no_start) {
                if (!In(start, 1, 8)) return Row_Error(r, 2635, 2642);
                if (!In(count, 1, 8)) return Row_Error(r, 2635, 2643);
                if (start + count > 8) return Row_Error(r, 2635, 2644);
                total += count;
            }
        }
        if (total > num_byte_in) return Lang(2645) + IntToStr(num_byte_in);
        if (row[R_OnRequest] == u"Y" && !In(Cell_Number(row[R_Time]), 0, 10000000)) return Row_Error(r, 2635, 2646);
    }
    return {};
}

String Check_Transmit(const TRule_Rows& rows, int num_byte_out)
{
    const int n = Rule_Row_Count(rows, T_PGN);
    std::int64_t total = 0;
    for (int i = 0; i < n; ++i) {
        const auto& row = rows[static_cast<std::size_t>(i)];
        const int r = i + 1;
        if (!In(Cell_Number(row[T_Priority]), 0, 7)) return Row_Error(r, 2735, 2736);
        if (Trim(row[T_DP]).empty()) return Row_Error(r, 2735, 2737);
        if (!In(Cell_Number(row[T_PGN]), 0, 0x1FFFF)) return Row_Error(r, 2735, 2738);
        if (!In(Cell_Number(row[T_SA]), 0, 255)) return Row_Error(r, 2735, 2739);
        const std::int64_t count = Cell_Number(row[T_NByte]);
        if (!In(count, 0, num_byte_out)) return Row_Error(r, 2735, 2740) + IntToStr(num_byte_out);
        total += count;
        if (total > num_byte_out) return Lang(2741) + IntToStr(num_byte_out);
        if (row[T_Timer] == u"Y" && !In(Cell_Number(row[T_SendTimer]), 1, 65535)) return Row_Error(r, 2735, 2742);
    }
    return {};
}

void Fill_Receive(TXMLDocument& doc, const TRule_Rows& rows)
{
    IXMLNode root = New_Rule_Document(doc, u"Receive_J1939", Version);
    Write_Rule_Rows(root, u"row", Receive_Attributes, rows, Rule_Row_Count(rows, R_PGN));
}

void Fill_Transmit(TXMLDocument& doc, const TRule_Rows& rows)
{
    IXMLNode root = New_Rule_Document(doc, u"Transmit_J1939", Version);
    Write_Rule_Rows(root, u"row", Transmit_Attributes, rows, Rule_Row_Count(rows, T_PGN));
}

} // namespace j1939rules
