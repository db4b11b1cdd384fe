#include "USDORules.h"

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

using namespace plat;

namespace sdorules {

namespace {

const TRule_Attribute Client_Read_Attributes[] = {
    {u"Device_ID", CR_Device},       {u"Index", CR_Index},           {u"SubIndex", CR_Sub},
    {u"NByte", CR_NByte},            {u"Poll_Time", CR_Poll},        {u"Address_B1", CR_Add1},
    {u"Address_B2", CR_Add1 + 1},    {u"Address_B3", CR_Add1 + 2},   {u"Address_B4", CR_Add1 + 3},
    {u"Mnemonic", CR_Mnemonic},
};
const TRule_Attribute Client_Write_Attributes[] = {
    {u"Device_ID", CW_Device},       {u"Index", CW_Index},           {u"SubIndex", CW_Sub},
    {u"NByte", CW_NByte},            {u"Poll_Time", CW_Poll},        {u"On_Change", CW_OnChange},
    {u"Address_B1", CW_Add1},        {u"Address_B2", CW_Add1 + 1},   {u"Address_B3", CW_Add1 + 2},
    {u"Address_B4", CW_Add1 + 3},    {u"Mnemonic", CW_Mnemonic},
};
const TRule_Attribute Server_Attributes[] = {
    {u"Index", S_Index},           {u"SubIndex", S_Sub},          {u"NByte", S_NByte},
    {u"Address_B1", S_Add1},       {u"Address_B2", S_Add1 + 1},   {u"Address_B3", S_Add1 + 2},
    {u"Address_B4", S_Add1 + 3},   {u"Mnemonic", S_Mnemonic},
};

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

// One table's columns, ranges and texts; -1 where the table has no such column.
struct TTable {
    int Device, Index, Sub, NByte, Poll, Add1;
    std::int64_t Index_Min, Index_Max, Poll_Min;
    int Prefix;  // "Error row "
    int Text;    // first check's text; the others follow in check order
};
constexpr TTable Client_Read{CR_Device, CR_Index, CR_Sub, CR_NByte, CR_Poll, CR_Add1, 0x1000, 0xFFFF, 1, 2460, 2461};
constexpr TTable Client_Write{CW_Device, CW_Index, CW_Sub, CW_NByte, CW_Poll, CW_Add1, 0x1000, 0xFFFF, 0, 2460, 2470};
constexpr TTable Server_Read{-1, S_Index, S_Sub, S_NByte, -1, S_Add1, 0x2000, 0x5FFF, 0, 2550, 2551};
constexpr TTable Server_Write{-1, S_Index, S_Sub, S_NByte, -1, S_Add1, 0x2000, 0x5FFF, 0, 2550, 2558};

String Check_Table(const TRule_Rows& rows, int nbyte, const TTable& t)
{
    const int key = t.Device >= 0 ? t.Device : t.Index;
    const int n = Rule_Row_Count(rows, key);
    for (int r = 0; r < n; ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        const auto cell = [&row](int col) { return Cell_Number(row[static_cast<std::size_t>(col)]); };
        const String prefix = Lang(t.Prefix) + IntToStr(r + 1);
        int text = t.Text;
        if (t.Device >= 0 && !In(cell(t.Device), 1, 127)) return prefix + Lang(text);
        if (t.Device >= 0) ++text;
        if (!In(cell(t.Index), t.Index_Min, t.Index_Max)) return prefix + Lang(text);
        if (!In(cell(t.Sub), 0, 255)) return prefix + Lang(text + 1);
        const std::int64_t size = cell(t.NByte);
        if (size != 1 && size != 2 && size != 4) return prefix + Lang(text + 2);
        text += 3;
        if (t.Poll >= 0) {
            if (!In(cell(t.Poll), t.Poll_Min, 100000000)) return prefix + Lang(text);
            ++text;
        }
        for (int k = 0; k < size; ++k)
            if (!In(cell(t.Add1 + k), 0, nbyte - 1)) return prefix + Lang(text + k) + IntToStr(nbyte - 1);
    }
    return {};
}

void Read(const String& file, std::span<const TRule_Attribute> read_attrs, std::span<const TRule_Attribute> write_attrs,
          TRule_Rows& read, TRule_Rows& write, TRule_Load& load)
{
    TXMLDocument doc;
    if (!Open_Rule_File(doc, file, load)) return;
    const IXMLNode root = doc.DocumentElement();
    Read_Rule_Rows(Rule_Table_Element(root, u"SDO_Read", load), u"row", read_attrs, read, load);
    Read_Rule_Rows(Rule_Table_Element(root, u"SDO_Write", load), u"row", write_attrs, write, load);
}

void Fill(TXMLDocument& doc, const char16_t* root_name, std::span<const TRule_Attribute> read_attrs,
          std::span<const TRule_Attribute> write_attrs, const TRule_Rows& read, const TRule_Rows& write, int key)
{
    IXMLNode root = New_Rule_Document(doc, root_name, Version);
    Write_Rule_Rows(root.AddChild(u"SDO_Read"), u"row", read_attrs, read, Rule_Row_Count(read, key));
    Write_Rule_Rows(root.AddChild(u"SDO_Write"), u"row", write_attrs, write, Rule_Row_Count(write, key));
}

} // namespace

void Read_Client(const String& file, TRule_Rows& read, TRule_Rows& write, TRule_Load& load)
{
    read = Empty_Rule_Rows(Client_Rows, CR_Cols);
    write = Empty_Rule_Rows(Client_Rows, CW_Cols);
    Read(file, Client_Read_Attributes, Client_Write_Attributes, read, write, load);
}

void Read_Server(const String& file, TRule_Rows& read, TRule_Rows& write, TRule_Load& load)
{
    read = Empty_Rule_Rows(Server_Rows, S_Cols);
    write = Empty_Rule_Rows(Server_Rows, S_Cols);
    Read(file, Server_Attributes, Server_Attributes, read, write, load);
}

String Check_Client(const TRule_Rows& read, const TRule_Rows& write, int nbyte_in, int nbyte_out)
{
    String error = Check_Table(read, nbyte_in, Client_Read);
    if (error.empty()) error = Check_Table(write, nbyte_out, Client_Write);
    return error;
}

String Check_Server(const TRule_Rows& read, const TRule_Rows& write, int nbyte_in, int nbyte_out)
{
    String error = Check_Table(read, nbyte_in, Server_Read);
    if (error.empty()) error = Check_Table(write, nbyte_out, Server_Write);
    return error;
}

void Fill_Client(TXMLDocument& doc, const TRule_Rows& read, const TRule_Rows& write)
{
    Fill(doc, u"SDO_Client_CANopen", Client_Read_Attributes, Client_Write_Attributes, read, write, CR_Device);
}

void Fill_Server(TXMLDocument& doc, const TRule_Rows& read, const TRule_Rows& write)
{
    Fill(doc, u"SDO_Server_CANopen", Server_Attributes, Server_Attributes, read, write, S_Index);
}

} // namespace sdorules
