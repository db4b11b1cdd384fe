#include "UModbus_TCP_Master_Rules.h"

#include <cstdint>

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace tcpmaster {

namespace {

constexpr TFile_Column kRead_Columns[] = {
    {1, u"Enable", u"Y"},      {2, u"IP_Address", nullptr}, {3, u"Port", nullptr},      {4, u"Slave_ID", nullptr},
    {5, u"Type", nullptr},     {6, u"Address", nullptr},    {7, u"NPoint", nullptr},    {8, u"PollTime", nullptr},
    {9, u"MaxError", nullptr}, {10, u"Position", nullptr},  {11, u"Bit", nullptr},      {12, u"Swap", u"N"},
    {13, u"SwapWord", u"N"},   {14, u"Index_Topic", u"", true}, {15, u"Mnemonic", nullptr},
};

constexpr TFile_Column kWrite_Columns[] = {
    {1, u"Enable", u"Y"},      {2, u"IP_Address", nullptr}, {3, u"Port", nullptr},     {4, u"Slave_ID", nullptr},
    {5, u"Type", nullptr},     {6, u"Address", nullptr},    {7, u"NPoint", nullptr},   {8, u"PollTime", nullptr},
    {9, u"OnChange", nullptr}, {10, u"OnCMD", u"N"},        {11, u"MaxError", nullptr}, {12, u"Position", nullptr},
    {13, u"Bit", nullptr},     {14, u"Swap", u"N"},         {15, u"SwapWord", u"N"},   {16, u"Mnemonic", nullptr},
};

const String& Cell(const std::vector<String>& cells, int col)
{
    return cells[static_cast<std::size_t>(col)];
}

String Row_Error(int row, int text, const String& limit = {})
{
    return Lang(1538) + IntToStr(row) + Lang(text) + limit;
}

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi)
{
    return v >= lo && v <= hi;
}

struct TTable_Check {
    int MaxError, Position, Bit;
    int T_IP, T_Port, T_Slave, T_Type, T_Address, T_NPoint, T_PollTime, T_MaxError, T_Position, T_Bit, T_Bytes;
    bool Read;
};

constexpr TTable_Check kRead = {9, 10, 11, 1539, 1540, 1541, 1542, 1543, 1544, 1545, 1546, 1547, 1548, 1549, true};
constexpr TTable_Check kWrite = {11, 12, 13, 1550, 1551, 1552, 1553, 1554, 1555, 1556, 1557, 1558, 1559, 1560, false};

String Check_Row(const TTable_Check& t, const std::vector<String>& cells, int row, int working_mode)
{
    if (Check_IP_Address(Cell(cells, 2))) return Row_Error(row, t.T_IP);
    if (!In(Cell_Int(Cell(cells, 3)), 0, 65535)) return Row_Error(row, t.T_Port);
    if (!In(Cell_Int(Cell(cells, 4)), 1, 247)) return Row_Error(row, t.T_Slave);
    if (Cell(cells, 5).empty()) return Row_Error(row, t.T_Type);
    const String type = UpperCase(Trim(Cell(cells, 5)));
    const bool bits = type == u"COIL STATUS" || (t.Read && type == u"INPUT STATUS");
    if (!In(Cell_Int(Cell(cells, 6)), 0, 65535)) return Row_Error(row, t.T_Address);
    const int limit = t.Read ? (bits ? 2000 : 125) : (bits ? 1968 : 123);
    const std::int64_t npoint = Cell_Int(Cell(cells, 7));
    if (!In(npoint, 1, limit)) return Row_Error(row, t.T_NPoint, IntToStr(limit));
    const int poll = Cell_Int(Cell(cells, 8));
    if (t.Read && working_mode == 0) {
        if (!In(poll, 1000, 100000000)) return Row_Error(row, 1599);
    } else if (!In(poll, t.Read ? 1 : 0, 100000000)) {
        return Row_Error(row, t.T_PollTime);
    }
    if (!In(Cell_Int(Cell(cells, t.MaxError)), 0, 100000000)) return Row_Error(row, t.T_MaxError);
    if (!t.Read || working_mode != 0) {
        const std::int64_t position = Cell_Int(Cell(cells, t.Position));
        if (!In(position, 0, NByte - 1)) return Row_Error(row, t.T_Position, IntToStr(NByte - 1));
        std::int64_t last;
        if (bits) {
            if (Cell(cells, t.Bit).empty()) return Row_Error(row, t.T_Bit);
            const int bit_value = Cell_Int(Cell(cells, t.Bit));
            last = position + (npoint + (bit_value < 0 ? 0 : bit_value) - 1) / 8;
        } else {
            last = position + 2 * npoint - 1;
        }
        if (last >= NByte) return Row_Error(row, t.T_Bytes);
    }
    if (t.Read && working_mode == 0 && Trim(Cell(cells, Col_Topic)).empty()) return Row_Error(row, 1598);
    return {};
}

String Check_Table(const TTable_Check& t, const TCellRows& rows, int working_mode)
{
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r) {
        const std::vector<String>& cells = rows[static_cast<std::size_t>(r)];
        if (Trim(Cell(cells, 2)).empty()) break;
        if (Trim(Cell(cells, 1)) != u"Y") continue;
        String error = Check_Row(t, cells, r + 1, working_mode);
        if (!error.empty()) return error;
    }
    return {};
}

} // namespace

const TTable_Layout Read_Layout = {u"Modbus_Read", kRead_Columns};
const TTable_Layout Write_Layout = {u"Modbus_Write", kWrite_Columns};
const std::vector<int> Read_Check_Cols = {1, 12, 13};
const std::vector<int> Write_Check_Cols = {1, 9, 10, 14, 15};

bool Check_IP_Address(const String& text)
{
    if (text.empty()) return true;
    StringView rest = text;
    String parts[4];
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = rest.find(u'.');
        if (dot == StringView::npos) continue;  // no dot left: this part is empty, the rest goes on
        parts[i] = String(rest.substr(0, dot));
        rest.remove_prefix(dot + 1);
    }
    parts[3] = String(rest);
    for (const String& p : parts)
        if (!In(Cell_Int(p), 0, 255)) return true;
    return false;
}

int Get_Index_From_Topic(const std::vector<String>& topics, const String& text)
{
    for (std::size_t i = 0; i < topics.size(); ++i)
        if (topics[i] == text) return static_cast<int>(i);
    return -1;
}

String Check_Rules(const TCellRows& read, const TCellRows& write, int working_mode, bool write_shown)
{
    String error = Check_Table(kRead, read, working_mode);
    if (error.empty() && write_shown) error = Check_Table(kWrite, write, working_mode);
    return error;
}

} // namespace tcpmaster
