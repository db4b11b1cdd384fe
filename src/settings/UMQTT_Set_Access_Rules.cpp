#include "UMQTT_Set_Access_Rules.h"

#include <cstdint>

#include "UComon.h"
#include "UFormKit.h"
#include "plat/SysUtils.h"

using namespace plat;

namespace mqttaccess {

namespace {

constexpr TFile_Column kColumns[] = {
    {1, u"Enable", u"N"},   {2, u"Index_Topic", u"", true}, {3, u"DataType", u""}, {4, u"Dimension", u""},
    {5, u"Position", u""},  {6, u"Template", u""},          {7, u"Mnemonic", u""},
};

const String& Cell(const std::vector<String>& cells, int col)
{
    return cells[static_cast<std::size_t>(col)];
}

// Texts of one table: data type, dimension int / float / other, position, topic, sum.
struct TTable_Texts {
    int Type, Int, Float, Other, Position, Topic, Sum;
};

constexpr TTable_Texts kPub = {1447, 1448, 1449, 1450, 1451, 1131, 1111};
constexpr TTable_Texts kSub = {1452, 1453, 1454, 1455, 1456, 1132, 1112};

String Row_Error(int row, int text, const String& limit = {})
{
    return Lang(1446) + IntToStr(row) + Lang(text) + limit;
}

String Check_Table(const TTable_Texts& t, const TCellRows& rows)
{
    const int n = static_cast<int>(rows.size());
    for (int r = 0; r < n; ++r) {
        const std::vector<String>& cells = rows[static_cast<std::size_t>(r)];
        const int row = r + 1;
        if (UpperCase(Cell(cells, 1)) != u"Y") continue;
        if (Trim(Cell(cells, Col_Topic)).empty()) {
            bool filled = false;
            for (int c = 3; c < Cols; ++c) filled = filled || !Trim(Cell(cells, c)).empty();
            if (filled) return Row_Error(row, t.Topic);
            break;
        }
        const String type = UpperCase(Trim(Cell(cells, 3)));
        if (type.empty()) return Row_Error(row, t.Type);
        const std::int64_t dim = Cell_Int(Cell(cells, 4));
        if (type == u"INT") {
            if (dim != 1 && dim != 2 && dim != 4 && dim != 8) return Row_Error(row, t.Int);
        } else if (type == u"FLOAT") {
            if (dim != 4 && dim != 8) return Row_Error(row, t.Float);
        } else if (dim <= 0) {
            return Row_Error(row, t.Other);
        }
        const std::int64_t position = Cell_Int(Cell(cells, 5));
        if (position < 0 || position > Data_Size - 1) return Row_Error(row, t.Position);
        if (position + dim > Data_Size) return Row_Error(row, t.Sum, IntToStr(Data_Size));
    }
    return {};
}

} // namespace

const TTable_Layout Pub_Layout = {u"MQTT_Publish", kColumns};
const TTable_Layout Sub_Layout = {u"MQTT_Subscribe", kColumns};
const std::vector<int> Check_Cols = {1};

int Topic_from_String_to_Index(const std::vector<String>& topics, const String& text)
{
    for (std::size_t i = 0; i < topics.size(); ++i)
        if (topics[i] == text) return static_cast<int>(i);
    return -1;
}

String Topic_from_Index_to_String(const std::vector<String>& topics, int index)
{
    if (index < 0 || index >= static_cast<int>(topics.size())) return {};
    return topics[static_cast<std::size_t>(index)];
}

String Check_Rules(const TCellRows& pub, const TCellRows& sub)
{
    String error = Check_Table(kPub, pub);
    if (error.empty()) error = Check_Table(kSub, sub);
    return error;
}

} // namespace mqttaccess
