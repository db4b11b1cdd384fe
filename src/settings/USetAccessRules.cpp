#include "USetAccessRules.h"

#include <cstdint>

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace setaccess {

namespace {

constexpr TFile_Column kRead_Columns[] = {
    {1, u"Enable", u"Y"},      {2, u"Slave_ID", nullptr}, {3, u"Type", nullptr},     {4, u"Address", nullptr},
    {5, u"NPoint", nullptr},   {6, u"PollTime", nullptr}, {7, u"MaxError", nullptr}, {8, u"Position", nullptr},
    {9, u"Bit", nullptr},      {10, u"Swap", u"N"},       {11, u"SwapWord", u"N"},   {12, u"Index_Topic", u"", true},
    {13, u"Mnemonic", nullptr},
};

constexpr TFile_Column kWrite_Columns[] = {
    {1, u"Enable", u"Y"},       {2, u"Slave_ID", nullptr}, {3, u"Type", nullptr},      {4, u"Address", nullptr},
    {5, u"NPoint", nullptr},    {6, u"PollTime", nullptr}, {7, u"OnChange", nullptr},  {8, u"OnCMD", u"N"},
    {9, u"MaxError", nullptr},  {10, u"Position", nullptr}, {11, u"Bit", nullptr},     {12, u"Swap", u"N"},
    {13, u"SwapWord", u"N"},    {14, u"Mnemonic", nullptr},
};

const String& Cell(const std::vector<String>& cells, int col)
{
    return cells[static_cast<std::size_t>(col)];
}

String Row_Error(int row, int text, const String& limit = {})
{
    return Lang(1368) + IntToStr(row) + Lang(text) + limit;
}

bool In(std::int64_t v, std::int64_t lo, std::int64_t hi)
{
    return v >= lo && v <= hi;
}

// The columns and texts that differ between the two tables.
struct TTable_Check {
    int Slave, Type, Address, NPoint, PollTime, MaxError, Position, Bit;
    int T_Slave, T_Type, T_Address, T_NPoint, T_PollTime, T_MaxError, T_Position, T_Bit, T_Bytes;
    bool Read;
};

constexpr TTable_Check kRead = {2, 3, 4, 5, 6, 7, 8, 9, 1369, 1370, 1371, 1372, 1389, 1374, 1375, 1376, 1377, true};
constexpr TTable_Check kWrite = {2, 3, 4, 5, 6, 9, 10, 11, 1379, 1380, 1381, 1382, 1383, 1384, 1385, 1386, 1387, false};

// Message of the first failing check of one enabled row, empty when it passes.
String Check_Row(const TTable_Check& t, const std::vector<String>& cells, int row, int working_mode)
{
    if (!In(Cell_Int(Cell(cells, t.Slave)), 1, 247)) return Row_Error(row, t.T_Slave);
    if (Cell(cells, t.Type).empty()) return Row_Error(row, t.T_Type);
    const String type = UpperCase(Trim(Cell(cells, t.Type)));
    const bool bits = type == u"COIL STATUS" || (t.Read && type == u"INPUT STATUS");
    if (!In(Cell_Int(Cell(cells, t.Address)), 0, 65535)) return Row_Error(row, t.T_Address);
    const int limit = t.Read ? (bits ? 2000 : 125) : (bits ? 1968 : 123);
    const std::int64_t npoint = Cell_Int(Cell(cells, t.NPoint));
    if (!In(npoint, 1, limit)) return Row_Error(row, t.T_NPoint, IntToStr(limit));
    const int poll = Cell_Int(Cell(cells, t.PollTime));
    if (t.Read && working_mode == 0) {
        if (!In(poll, 1000, 100000000)) return Row_Error(row, 1373);
    } else if (!In(poll, t.Read ? 1 : 0, 100000000)) {
        return Row_Error(row, t.T_PollTime);
    }
    if (!In(Cell_Int(Cell(cells, t.MaxError)), 0, 100000000)) return Row_Error(row, t.T_MaxError);
    const bool positions = !t.Read || working_mode != 0;
    if (positions) {
        const std::int64_t position = Cell_Int(Cell(cells, t.Position));
        if (!In(position, 0, NByte - 1)) return Row_Error(row, t.T_Position, IntToStr(NByte - 1));
        std::int64_t last;
        if (bits) {
            if (Cell(cells, t.Bit).empty()) return Row_Error(row, t.T_Bit);
            const int bit_value = Cell_Int(Cell(cells, t.Bit));
            const std::int64_t start_bit = bit_value < 0 ? 0 : bit_value;
            last = position + (npoint + start_bit - 1) / 8;
        } else {
            last = position + 2 * npoint - 1;
        }
        if (last >= NByte) return Row_Error(row, t.T_Bytes);
    }
    if (t.Read && working_mode == 0 && Trim(Cell(cells, Col_Topic)).empty()) return Row_Error(row, 1378);
    return {};
}

String Check_Table(const TTable_Check& t, const TCellRows& rows, int working_mode)
{
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r) {
        const std::vector<String>& cells = rows[static_cast<std::size_t>(r)];
        if (Trim(Cell(cells, t.Slave)).empty()) break;
        if (Trim(Cell(cells, 1)) != u"Y") continue;
        String error = Check_Row(t, cells, r + 1, working_mode);
        if (!error.empty()) return error;
    }
    return {};
}

} // namespace

const TTable_Layout Read_Layout = {u"Modbus_Read", kRead_Columns};
const TTable_Layout Write_Layout = {u"Modbus_Write", kWrite_Columns};
const std::vector<int> Read_Check_Cols = {1, 10, 11};
const std::vector<int> Write_Check_Cols = {1, 7, 8, 12, 13};

std::vector<String> Topic_Items(const std::vector<String>& topics)
{
    std::vector<String> items;
    items.reserve(topics.size());
    for (std::size_t i = 0; i < topics.size(); ++i) items.push_back(IntToStr(static_cast<int>(i) + 1) + u" - " + topics[i]);
    return items;
}

int Get_Index_From_Topic(const std::vector<String>& items, const String& text, int picked)
{
    const int n = static_cast<int>(items.size());
    if (picked >= 0 && picked < n && items[static_cast<std::size_t>(picked)] == text) return picked;
    for (int i = 0; i < n; ++i)
        if (items[static_cast<std::size_t>(i)] == text) return i;
    return -1;
}

String Check_Rules(const TCellRows& read, const TCellRows& write, int working_mode, bool write_shown)
{
    String error = Check_Table(kRead, read, working_mode);
    if (error.empty() && write_shown) error = Check_Table(kWrite, write, working_mode);
    return error;
}

} // namespace setaccess
