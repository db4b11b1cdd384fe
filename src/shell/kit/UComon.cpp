#include "UComon.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "plat/Files.h"
#include "plat/Serial.h"
#include "plat/SysUtils.h"

using plat::String;
using plat::StringView;

String Program_Dir;
String Master_Dir;
String Projects_Dir;
String Language_Dir;
String Project_Name;
String Project_Dir;

String File_ParGen;
String File_MQTT_Set_Topic;
String File_M_Bus;
String File_ModbusM_SetAccess;
String File_ModbusTCPM_SetAccess;
String File_MQTT_Set_Access;
String File_CAN_Rec_Frames;
String File_CAN_Send_Frames;
String File_SDO_Server_CANopen;
String File_SDO_Client_CANopen;
String File_PDO_CANopen;
String File_DNETM_Net;
String File_DNETM_DefOff;
String File_J1939_Rec_Frames;
String File_J1939_Send_Frames;
String File_NMEA_Rec_Frames;
String File_NMEA_Send_Frames;
String File_DMX_Default_Values;
String File_KNX_SetAccess;
String File_SNMP_Trap;
String File_SNMP_Manager;
String File_BACnet_Slave_SetAccess;
String File_DALI_Access;
String File_DALI2_Access;
String File_BACnet_Master_Access;

String Program_Title;
String SW_Code;
String SW_Desc;
const char16_t* const SW_Code_Const = u"QR40518";
const char16_t* const SW_Desc_Const = u"Ruvere Zadude / ZOVE - Dudererud";
const char16_t* const SW_Code_Update_Const = u"QR40518";

String Last_IP_Address;
String Language_Name;
bool Enable_Internet = false;
bool Enable_Update = false;
bool Enable_Jump_Field_Tables = false;
bool Double_Click_Auto_Size = false;
int Update_Option = 0;
bool Update_Read_Back = false;

plat::TStringList* Row_Copy = nullptr;
std::vector<bool> Row_Copy_Check;
plat::TList* List_Slave_MBus = nullptr;
plat::TList* List_Slave_wMBus = nullptr;
plat::TStringList* SNMP_MIB_Read_List = nullptr;
plat::TStringList* SNMP_MIB_Write_List = nullptr;

void Init_Product_Identity()
{
    // The maker's name leads the title; the trailing blank belongs to the title.
    Program_Title = String(u"Varnok") + u" - Configurator QR40518 - Modbus Master / MQTT ";
    SW_Code = SW_Code_Const;
    SW_Desc = SW_Desc_Const;
}

namespace {

constexpr std::size_t npos = StringView::npos;

// A whole decimal integer with an optional sign; anything else (blanks, hex prefixes,
// empty text, more than 64 bits) gives the default.
std::int64_t Int_Def(StringView s, std::int64_t def)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == s.size())
        return def;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9')
            return def;
        const std::uint64_t digit = s[i] - u'0';
        if (value > (UINT64_MAX - digit) / 10)
            return def;
        value = value * 10 + digit;
    }
    if (!negative)
        return value > static_cast<std::uint64_t>(INT64_MAX) ? def : static_cast<std::int64_t>(value);
    if (value > static_cast<std::uint64_t>(INT64_MAX) + 1)
        return def;
    return value == static_cast<std::uint64_t>(INT64_MAX) + 1 ? INT64_MIN : -static_cast<std::int64_t>(value);
}

bool In_Range(std::int64_t v, std::int64_t lo, std::int64_t hi) { return v >= lo && v <= hi; }

// Splits at the first separator: the part before it and the whole rest after it.
// Returns false (and leaves the outputs alone) when the separator is missing.
bool Split_First(StringView s, char16_t sep, StringView& before, StringView& after)
{
    const std::size_t p = s.find(sep);
    if (p == npos)
        return false;
    before = s.substr(0, p);
    after = s.substr(p + 1);
    return true;
}

} // namespace

bool Split_IP_Address(StringView text, String& p1, String& p2, String& p3, String& p4)
{
    String rest = plat::Trim(text);
    StringView before, after;
    if (!Split_First(rest, u'.', before, after))
        return false;
    p1 = plat::Trim(before);
    rest = plat::Trim(after);
    if (!Split_First(rest, u'.', before, after))
        return false;
    p2 = plat::Trim(before);
    rest = plat::Trim(after);
    if (!Split_First(rest, u'.', before, after))
        return false;
    p3 = plat::Trim(before);
    p4 = plat::Trim(after);
    for (const String* p : {&p1, &p2, &p3, &p4})
        if (!In_Range(Int_Def(*p, 1000), 0, 255))
            return false;
    return true;
}

bool Decode_IP_Address(StringView text, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                       std::uint8_t& b4)
{
    if (text.empty())
        return true;
    std::uint8_t* out[4] = {&b1, &b2, &b3, &b4};
    bool error = false;
    StringView rest = text;
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = rest.find(u'.');
        StringView part;
        if (i == 3)
            part = rest;
        else if (dot != npos)
            part = rest.substr(0, dot);
        const std::int64_t v = Int_Def(part, -1);
        if (In_Range(v, 0, 255)) {
            *out[i] = static_cast<std::uint8_t>(v);
        } else {
            *out[i] = 0;
            error = true;
        }
        if (dot != npos)
            rest = rest.substr(dot + 1);
    }
    return error;
}

bool Decode_IP_Port(StringView text, std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                    std::uint8_t& b4, std::uint16_t& port)
{
    b1 = b2 = b3 = b4 = 0;
    port = 0;
    StringView before, after;
    if (text.empty() || !Split_First(text, u'.', before, after))
        return false;
    const std::int64_t a = Int_Def(plat::Trim(before), -1);
    String rest = plat::Trim(after);
    if (!In_Range(a, 0, 255) || rest.find(u'.') == npos)
        return false;

    Split_First(rest, u'.', before, after);
    const std::int64_t b = Int_Def(plat::Trim(before), -1);
    rest = plat::Trim(after);
    if (!In_Range(b, 0, 255) || rest.find(u'.') == npos)
        return false;

    Split_First(rest, u'.', before, after);
    const std::int64_t c = Int_Def(plat::Trim(before), -1);
    rest = plat::Trim(after);
    if (!In_Range(c, 0, 255) || rest.find(u':') == npos)
        return false;

    Split_First(rest, u':', before, after);
    const std::int64_t d = Int_Def(plat::Trim(before), -1);
    const std::int64_t p = Int_Def(plat::Trim(after), -1);
    if (!In_Range(d, 0, 255) || !In_Range(p, 0, 65535))
        return false;

    b1 = static_cast<std::uint8_t>(a);
    b2 = static_cast<std::uint8_t>(b);
    b3 = static_cast<std::uint8_t>(c);
    b4 = static_cast<std::uint8_t>(d);
    port = static_cast<std::uint16_t>(p);
    return true;
}

int Check_KNX_Address(StringView text, bool group, bool allow_zero)
{
    auto num = [](StringView s) { return Int_Def(plat::Trim(s), -1); };
    StringView before, after;
    if (!group) {
        if (text.find(u'/') != npos)
            return 1;
        if (text.find(u'.') == npos)
            return In_Range(num(text), 1, 65535) ? 0 : 1;
        Split_First(text, u'.', before, after);
        const std::int64_t area = num(before);
        const StringView rest = after;
        // A two-part dotted text passes as it is.
        if (rest.find(u'.') == npos)
            return 0;
        Split_First(rest, u'.', before, after);
        const std::int64_t line = num(before);
        if (after.find(u'.') != npos)
            return 1;
        const std::int64_t device = num(after);
        if (!In_Range(area, 0, 15) || !In_Range(line, 0, 15) || !In_Range(device, 0, 255))
            return 1;
        if (!allow_zero && area == 0 && line == 0 && device == 0)
            return 1;
        return 0;
    }

    if (text.find(u'.') != npos)
        return 1;
    if (text.find(u'/') == npos)
        return In_Range(num(text), 1, 65535) ? 0 : 1;
    Split_First(text, u'/', before, after);
    const std::int64_t main = num(before);
    const StringView rest = after;
    if (rest.find(u'/') == npos) {
        const std::int64_t sub = num(rest);
        if (!In_Range(main, 0, 31) || !In_Range(sub, 0, 2047) || (main == 0 && sub == 0))
            return 1;
        return 0;
    }
    Split_First(rest, u'/', before, after);
    const std::int64_t middle = num(before);
    if (after.find(u'/') != npos)
        return 1;
    const std::int64_t sub = num(after);
    if (!In_Range(main, 0, 31) || !In_Range(middle, 0, 7) || !In_Range(sub, 0, 255))
        return 1;
    if (main == 0 && middle == 0 && sub == 0)
        return 1;
    return 0;
}

bool No_Dot_In_Text(StringView text) { return text.find(u'.') == npos; }

int Check_OID(StringView text)
{
    if (text.size() > 61)
        return 1;
    // No digits at all cannot make an object identifier.
    if (text.empty())
        return 2;
    for (char16_t c : text)
        if (!((c >= u'0' && c <= u'9') || c == u'.'))
            return 2;
    if (text.front() == u'.')
        return 3;
    if (text.back() == u'.')
        return 4;
    if (text.find(u"..") != npos)
        return 5;
    constexpr std::int64_t kArcDefault = 4294967296LL;
    StringView rest = text;
    for (;;) {
        const std::size_t dot = rest.find(u'.');
        const StringView arc = dot == npos ? rest : rest.substr(0, dot);
        if (!In_Range(Int_Def(plat::Trim(arc), kArcDefault), 0, 4294967295LL))
            return 6;
        if (dot == npos)
            break;
        rest = rest.substr(dot + 1);
    }
    return 0;
}

int Check_SNMP_Text(StringView text, bool user)
{
    if (text.size() > 15)
        return 1;
    if (text.size() < (user ? 1u : 8u))
        return 2;
    for (char16_t c : text)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
            return 3;
    return 0;
}

int SNMP_Security_Level(StringView text)
{
    const String s = plat::Trim(plat::UpperCase(text));
    if (s == u"AUTH NOPRIV")
        return 1;
    if (s == u"AUTH PRIV")
        return 3;
    if (s.empty())
        return -1;
    return 0;
}

void APN_Auth_Type_Code(StringView text, String& code)
{
    const String s = plat::UpperCase(text);
    if (s == u"PAP")
        code = u"1";
    else if (s == u"CHAP")
        code = u"2";
    else if (s == u"PAP OR CHAP")
        code = u"3";
    else
        code = u"0";  // "NONE" and anything unknown
}

int Product_Variant(String& name1, String& name2)
{
    name1 = u"MQTT";
    name2.clear();
    return 1;
}

char16_t Get_Decimal_Separator()
{
    const char16_t c = plat::GetProfileDecimalSeparator();
    return (c == u',' || c == u'.') ? c : u',';
}

bool Text_To_Float(StringView text, char16_t separator, float& value)
{
    String s(text);
    if (separator == u'.')
        std::replace(s.begin(), s.end(), u',', u'.');
    else
        std::replace(s.begin(), s.end(), u'.', u',');
    double d = 0;
    if (!plat::TryStrToFloat(s, d, plat::FormatSettings)) {
        value = 1.0f;
        return false;
    }
    value = static_cast<float>(d);
    return true;
}

// ---- serial ports -------------------------------------------------------------------------

std::vector<String> List_COM_Ports()
{
    std::vector<String> ports;
    const std::size_t n = plat::ListSerialDevices().size();
    for (std::size_t i = 1; i <= n; ++i)
        ports.push_back(plat::IntToStr(i));
    return ports;
}

String COM_Port_Device(int number)
{
    const std::vector<std::string> devices = plat::ListSerialDevices();
    if (number < 1 || static_cast<std::size_t>(number) > devices.size())
        return {};
    return plat::Utf8ToString(devices[number - 1]);
}

void Set_COM_Port_Roots(StringView sys_class_tty, StringView dev_dir)
{
    plat::SetSerialScanRoots(plat::StringToUtf8(sys_class_tty), plat::StringToUtf8(dev_dir));
}

int Cell_Int(plat::StringView text)
{
    std::size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        neg = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return -1;
    // The magnitude a result may reach: 2^31 - 1, or 2^31 for a negative one.
    const std::uint64_t limit = neg ? 0x80000000ull : 0x7FFFFFFFull;
    std::uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return -1;
        v = v * base + d;
        if (v > limit) return -1;
    }
    return neg ? static_cast<int>(-static_cast<std::int64_t>(v)) : static_cast<int>(v);
}

bool Read_Cell_Number(plat::StringView text, std::int64_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        neg = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    // The magnitude a result may reach: 2^63 - 1, or 2^63 for a negative one.
    const std::uint64_t limit = neg ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull;
    std::uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        // v * base + d > limit, asked without overflowing.
        if (v > (limit - d) / base) return false;
        v = v * base + d;
    }
    value = neg ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    return true;
}

std::int64_t Cell_Number(plat::StringView text, std::int64_t fail)
{
    std::int64_t v = 0;
    return Read_Cell_Number(text, v) ? v : fail;
}
