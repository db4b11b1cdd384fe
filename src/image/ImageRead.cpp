// Reading the configuration's files into the image records. Missing files and keys give
// defaults; the attributes every row of a table file carries are read without a guard,
// so a row lacking one stops the build with the platform's error and its text.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "USaveBincc.h"
#include "UComon.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"
#include "plat/Xml.h"

namespace image {

namespace {

using plat::IXMLNode;
using plat::String;
using plat::StringView;

plat::String Number_Text(std::uint64_t value) {
    return plat::Utf8ToString(std::to_string(value));
}

// One key of ParGen.xml: missing, present with a text, or present but unreadable (an
// element holding elements).
struct TKey {
    bool Present = false;
    bool Readable = false;
    String Text;
};

class TParGen_Keys {
public:
    explicit TParGen_Keys(IXMLNode root) : root_(root) {}

    TKey Key(StringView name) const {
        TKey key;
        if (root_.IsNull())
            return key;
        IXMLNode node = root_.ChildNodes().FindNode(name);
        if (node.IsNull())
            return key;
        key.Present = true;
        try {
            key.Text = node.Text();
            key.Readable = true;
        } catch (const plat::Exception&) {
        }
        return key;
    }

    // The key as a whole number; `absent` when the element is missing, `not_a_number`
    // when its text is not an integer.
    int Number(StringView name, int absent, int not_a_number) const {
        TKey key = Key(name);
        if (!key.Present)
            return absent;
        int value = 0;
        if (key.Readable && plat::TryStrToInt(key.Text, value))
            return value;
        return not_a_number;
    }
    int Number(StringView name, int value_if_unreadable) const {
        return Number(name, value_if_unreadable, value_if_unreadable);
    }

    String Text(StringView name) const {
        TKey key = Key(name);
        return key.Readable ? key.Text : String();
    }

    // Flags compared exactly: no trimming, no case folding.
    bool Is(StringView name, StringView value) const {
        TKey key = Key(name);
        return key.Readable && key.Text == value;
    }

    // Four octet keys <prefix>1..<prefix>4, each its low 8 bits.
    TIPv4 Octets(StringView prefix, const TIPv4& defaults) const {
        TIPv4 result{};
        for (int i = 0; i < 4; ++i) {
            String name(prefix);
            name += static_cast<char16_t>(u'1' + i);
            result[i] = static_cast<std::uint8_t>(Number(name, defaults[i]));
        }
        return result;
    }

private:
    IXMLNode root_;
};

// Texts of bank1.bin: one byte per character, the low 8 bits of its UTF-16 unit.
template <std::size_t N>
void Put_Narrow(std::array<std::uint8_t, N>& field, StringView text, std::size_t max_chars) {
    field.fill(0);
    std::size_t count = std::min({text.size(), max_chars, N});
    for (std::size_t i = 0; i < count; ++i)
        field[i] = static_cast<std::uint8_t>(text[i]);
}

std::uint32_t Baud_Rate(int index) {
    static constexpr std::uint32_t rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    return index >= 0 && index < 8 ? rates[index] : 9600;
}

String Mobile_Text(const TParGen_Keys& keys) {
    const String crlf = u"\r\n";
    auto auth_code = [&](StringView key) {
        TKey k = keys.Key(key);
        if (!k.Present)
            return String(u"0");
        String code;
        APN_Auth_Type_Code(k.Text, code);
        return code;
    };
    String text;
    text += u"PIN=" + keys.Text(u"GSM_GPRS_PIN") + crlf;
    text += u"APN=" + keys.Text(u"GSM_GPRS_APN") + crlf;
    text += u"AUTHTYPE=" + auth_code(u"GSM_GPRS_AUTHTYPE") + crlf;
    text += u"USERNAME=" + keys.Text(u"GSM_GPRS_USERNAME") + crlf;
    text += u"PASSWORD=" + keys.Text(u"GSM_GPRS_PASSWORD") + crlf;
    if (keys.Is(u"GSM_GPRS_ENABLE_SECOND_SIM", u"1")) {
        text += u"PIN2=" + keys.Text(u"GSM_GPRS_PIN_2") + crlf;
        text += u"APN2=" + keys.Text(u"GSM_GPRS_APN_2") + crlf;
        text += u"AUTHTYPE2=" + auth_code(u"GSM_GPRS_AUTHTYPE_2") + crlf;
        text += u"USERNAME2=" + keys.Text(u"GSM_GPRS_USERNAME_2") + crlf;
        text += u"PASSWORD2=" + keys.Text(u"GSM_GPRS_PASSWORD_2") + crlf;
        text += (keys.Is(u"GSM_GPRS_MAIN_SIM", u"SIM 2") ? u"SIM=2" : u"SIM=1") + crlf;
    }
    text += u'\0';
    return text;
}

// Loads a table file and gives its root: the first element of the document (declarations
// and comments written by other tools are skipped).
IXMLNode Load_Root(plat::TXMLDocument& doc, const String& file) {
    doc.LoadFromFile(file);
    return doc.DocumentElement();
}

// The named table element of a root; its absence stops the build.
IXMLNode Table(IXMLNode root, StringView name) {
    if (root.IsNull())
        throw plat::EXMLDocError(u"Node \"" + String(name) + u"\" not found");
    return root.ChildNodes()[name];
}

// Visits the child elements of a table in document order, whatever their names.
template <class F>
void For_Each_Row(IXMLNode table, F&& visit) {
    for (IXMLNode row = table.ChildNodes().First(); !row.IsNull(); row = row.NextSibling())
        if (row.NodeType() == plat::ntElement)
            if (!visit(row))
                return;
}

int Count_Rows(IXMLNode table) {
    int count = 0;
    For_Each_Row(table, [&](IXMLNode) { ++count; return true; });
    return count;
}

// Attributes every row carries: a missing one or one that is not a number raises
// EConvertError with the platform's text.
int Required_Number(IXMLNode row, StringView name) {
    return row.Attributes(name).AsInteger();
}
String Required_Text(IXMLNode row, StringView name) {
    return row.Attributes(name).AsString();
}

// Guarded attributes: missing or not a number gives the default.
int Guarded_Number(IXMLNode row, StringView name, int fallback) {
    plat::TXMLValue value = row.Attributes(name);
    if (value.IsNull())
        return fallback;
    int number = 0;
    return plat::TryStrToInt(value.AsString(), number) ? number : fallback;
}
std::optional<String> Guarded_Text(IXMLNode row, StringView name) {
    plat::TXMLValue value = row.Attributes(name);
    if (value.IsNull())
        return std::nullopt;
    return value.AsString();
}
bool Guarded_Upper_Is(IXMLNode row, StringView name, StringView expected) {
    std::optional<String> text = Guarded_Text(row, name);
    return text && plat::UpperCase(*text) == expected;
}

String Without_CR_LF(const String& text) {
    return Clean_CR_LF(text, false);
}

std::uint32_t Working_Mode_Code() {
    return MQTT_Config.Mode & 0xFF;
}

// ---- Modbus rules --------------------------------------------------------------------

std::uint8_t Modbus_Byte_Count(std::uint8_t function_code, std::int32_t npoint) {
    // In 64 bits, so that no NPoint of the file overflows; the division rounds down (also
    // for a negative count) and the byte keeps the value modulo 256.
    const std::int64_t n = npoint;
    if (function_code == 1 || function_code == 2) {
        std::int64_t bytes = (n + 7) / 8;
        if ((n + 7) % 8 != 0 && n + 7 < 0)
            --bytes;
        return static_cast<std::uint8_t>(bytes);
    }
    return static_cast<std::uint8_t>(2 * n);
}

std::uint8_t Operation_Code(const String& text) {
    static const struct {
        const char16_t* Text;
        std::uint8_t Code;
    } codes[] = {{u"NONE", 0},     {u": 10", 1},    {u": 100", 2},    {u": 1000", 3},    {u": 10000", 4},
                 {u"X 10", 5},     {u"X 100", 6},   {u"X 1000", 7},   {u"X 10000", 8},   {u": 256", 9},
                 {u"X 256", 10},   {u": 0.08", 11}, {u"X 0.08", 12},  {u": 0.008", 13},  {u"X 0.008", 14}};
    String upper = plat::UpperCase(text);
    for (const auto& c : codes)
        if (upper == c.Text)
            return c.Code;
    return 0;
}

// The options shared by read and write rules: conversion, sign, swaps, topic index.
void Read_Rule_Options(IXMLNode row, TModbus_Entry& e) {
    e.Conv_Flags = 0;
    std::optional<String> float_conv = Guarded_Text(row, u"Float_Conv");
    if (float_conv && plat::UpperCase(*float_conv) == u"Y") {
        e.Conv_Flags = 2;
        e.Operation = Operation_Code(Guarded_Text(row, u"Operation").value_or(u"NONE"));
        std::optional<String> endian = Guarded_Text(row, u"Endian");
        if (!endian)
            e.Conv_Flags = 0; // the conversion is only on with a known byte order
        else if (plat::UpperCase(*endian) == u"LITTLE")
            e.Conv_Flags |= 1;
    }
    if (Guarded_Upper_Is(row, u"Signed", u"Y"))
        e.Conv_Flags |= 4;
    if (Guarded_Upper_Is(row, u"Swap", u"Y"))
        e.Rule_Flags |= 4;
    if (Guarded_Upper_Is(row, u"SwapWord", u"Y"))
        e.Rule_Flags |= 8;
    e.Index_Topic = static_cast<std::uint16_t>(Guarded_Number(row, u"Index_Topic", 0));
}

bool Enabled(IXMLNode row) {
    plat::TXMLValue enable = row.Attributes(u"Enable");
    return !enable.IsNull() && enable.AsString() == u"Y";
}

TModbus_Entry& Next_Entry(std::uint32_t counter) {
    if (counter >= Modbus_Table_Entries)
        throw EImage_Limit(u"Too many enabled Modbus rules: the converter's table holds " +
                           Number_Text(Modbus_Table_Entries) + u" entries.");
    return Modbus_Table[counter];
}

} // namespace

// ---- general parameters and MQTT connection -------------------------------------------

void Read_General_Parameters(const TImage_Sources& sources) {
    if (!plat::PathEntryExists(sources.File_ParGen))
        return;
    plat::TXMLDocument doc;
    const TParGen_Keys keys(Load_Root(doc, sources.File_ParGen));
    TGeneral_Parameters& g = General_Parameters;
    TMQTT& m = MQTT_Config;
    TMQTTPacket_ConnectData& c = m.Connect_Data;

    // The working mode first: the rules and topics read later depend on it.
    int mode = keys.Number(u"Working_Mode", 0);
    if (mode == 1)
        mode = 2;
    m.Mode = static_cast<std::uint32_t>(mode) & 0xFF;
    if (keys.Is(u"MQTT_Enable_Single_Subscribe", u"1"))
        m.Mode |= 0x100;

    g.Device_Name.fill(0);
    Put_Narrow(g.Device_Name, keys.Text(u"Eth_Conn_Device_Name"), 31);
    g.DHCP_Flags = 0;
    if (keys.Is(u"Eth_Conn_DHCP_Cable", u"1"))
        g.DHCP_Flags |= 1;
    if (keys.Is(u"Eth_Conn_DHCP_WiFi", u"1"))
        g.DHCP_Flags |= 2;
    if (keys.Is(u"Eth_Conn_Enable_DNS", u"1")) {
        g.DNS_Primary = keys.Octets(u"Eth_Conn_Primary_DNS", {8, 8, 8, 8});
        g.DNS_Secondary = keys.Octets(u"Eth_Conn_Secondary_DNS", {8, 8, 4, 4});
    }

    m.Time_Poll = static_cast<std::uint32_t>(keys.Number(u"MQTT_ASync_Send_Time", 10));
    m.Server_Address = keys.Text(u"MQTT_Server_URL");
    m.Server_Port = static_cast<std::uint16_t>(keys.Number(u"MQTT_Server_Port", 1883));
    c.ClientID.CString = keys.Text(u"MQTT_Client_ID");
    c.KeepAliveInterval = static_cast<std::uint16_t>(keys.Number(u"MQTT_Keep_Alive", 0));
    c.CleanSession = static_cast<std::uint8_t>(keys.Number(u"MQTT_Clean_Session", 0));
    c.WillFlag = static_cast<std::uint8_t>(keys.Number(u"MQTT_WillFlag", 0));
    c.Will.TopicName.CString = keys.Text(u"MQTT_Will_Topic_Name");
    c.Will.WillMessage.CString = keys.Text(u"MQTT_Will_Message");
    c.Will.Retained = static_cast<std::uint8_t>(keys.Number(u"MQTT_Will_Retained", 0));
    c.Will.QoS = static_cast<std::uint8_t>(keys.Number(u"MQTT_Will_QoS", 0));
    m.onconnectFlag = static_cast<std::uint8_t>(keys.Number(u"MQTT_PublishTopicConnection", 0));
    m.onconnect.topicName.CString = keys.Text(u"MQTT_Connection_Topic_Name");
    m.onconnect.conn_message.CString = keys.Text(u"MQTT_Connection_Message");
    m.onconnect.reteined = static_cast<std::uint8_t>(keys.Number(u"MQTT_Connection_Retained", 0));
    m.onconnect.qos = 0;
    c.Username.CString = keys.Text(u"MQTT_Username");
    c.Password.CString = keys.Text(u"MQTT_Password");
    m.topic_answer_dali = TMQTTString{};

    // Ethernet: the gateway counts only when it is enabled.
    g.Eth_IP = keys.Octets(u"Ethernet_IP", {192, 168, 0, 10});
    g.Eth_Mask = keys.Octets(u"Ethernet_SM", {255, 255, 255, 0});
    TIPv4 gateway = keys.Octets(u"Ethernet_GAT", {192, 168, 0, 1});
    g.Eth_Gateway = keys.Is(u"Ethernet_EN_GAT", u"1") ? gateway : TIPv4{255, 255, 255, 255};

    // Wi-Fi addresses.
    g.WiFi_Mode = static_cast<std::uint8_t>(keys.Number(u"WiFi_Type", 0));
    g.WiFi_IP_Field = keys.Octets(u"WiFi_IP", {192, 168, 0, 100});
    g.WiFi_Mask_Field = keys.Octets(u"WiFi_SM", {255, 255, 255, 0});
    gateway = keys.Octets(u"WiFi_GAT", {192, 168, 0, 1});
    g.WiFi_Gateway_Field = keys.Is(u"WiFi_EN_Gateway", u"1") ? gateway : TIPv4{255, 255, 255, 255};
    String variant_name, variant_name2;
    if (g.WiFi_Mode == 1 && Product_Variant(variant_name, variant_name2) == 2) {
        g.WiFi2_IP_Field = keys.Octets(u"WiFi_IP2_IP", {192, 168, 0, 110});
        g.WiFi2_Mask_Field = keys.Octets(u"WiFi_IP2_SM", {255, 255, 255, 0});
        gateway = keys.Octets(u"WiFi_IP2_GAT", {192, 168, 0, 1});
        g.WiFi2_Gateway_Field = keys.Is(u"WiFi_IP2_EN_Gateway", u"1") ? gateway : TIPv4{255, 255, 255, 255};
    } else {
        g.WiFi2_IP_Field = {};
        g.WiFi2_Mask_Field = {};
        g.WiFi2_Gateway_Field = {};
    }

    // The SSID and password fields carry no closing zero when full; anything longer
    // would not fit and is refused rather than cut, since a cut password cannot work.
    const String ssid = keys.Text(u"WiFi_SSID");
    const String pwd = keys.Text(u"WiFi_PWD");
    if (ssid.size() > g.WiFi_SSID_Field.size())
        throw EImage_Limit(u"The Wi-Fi SSID is longer than 32 characters: the converter cannot store it.");
    if (pwd.size() > g.WiFi_PWD_Field.size())
        throw EImage_Limit(u"The Wi-Fi password is longer than 64 characters: the converter cannot store it.");
    Put_Narrow(g.WiFi_SSID_Field, ssid, ssid.size());
    Put_Narrow(g.WiFi_PWD_Field, pwd, pwd.size());
    if (g.WiFi_Mode == 0) {
        auto sum_keys = [&](StringView prefix, const std::array<int, 4>& defaults) {
            // Each key adds its whole number, so a value above 255 carries into the next octet.
            std::uint32_t total = 0;
            std::uint32_t weight = 1;
            for (int i = 0; i < 4; ++i) {
                String name(prefix);
                name += static_cast<char16_t>(u'1' + i);
                total += static_cast<std::uint32_t>(keys.Number(name, defaults[i])) * weight;
                weight *= 256u;
            }
            return total;
        };
        g.WiFi_Security = static_cast<std::uint8_t>(keys.Number(u"WiFi_Secure_Type", 0));
        g.WiFi_DHCP_Server = static_cast<std::uint8_t>(keys.Number(u"WiFi_EN_DHCP", 0));
        g.WiFi_DHCP_First = sum_keys(u"WiFi_DHCP_First_IP", {192, 168, 0, 200});
        g.WiFi_DHCP_Mask = sum_keys(u"WiFi_DHCP_SM", {255, 255, 255, 0});
        g.WiFi_Lease = static_cast<std::uint32_t>(keys.Number(u"WiFi_Lease_Time", 86400));
        g.WiFi_Clients = static_cast<std::uint8_t>(keys.Number(u"WiFi_Max_Client", 10, 9));
        g.WiFi_Chan = static_cast<std::uint8_t>(keys.Number(u"WiFi_Channel", 1));
        g.WiFi_Auto_Chan = g.WiFi_Chan == 0 ? 1 : 0;
    }

    // TLS and time server.
    m.TLS_Flag = static_cast<std::uint32_t>(keys.Number(u"TLS_Enable", 0));
    m.TLS_Server_Authentication = static_cast<std::uint32_t>(keys.Number(u"TLS_En_Server_Auth", 0));
    m.TLS_Server_Cert = Load_Certificate(sources.Certificates_Dir, keys.Text(u"TLS_Server_Auth_Certificate"));
    m.TLS_Client_Authentication = static_cast<std::uint32_t>(keys.Number(u"TLS_En_Client_Auth", 0));
    m.TLS_CA_Cert = Load_Certificate(sources.Certificates_Dir, keys.Text(u"TLS_Client_CA_Certificate"));
    m.TLS_Client_Cert = Load_Certificate(sources.Certificates_Dir, keys.Text(u"TLS_Client_Auth_Certificate"));
    m.TLS_Client_Key = Load_Certificate(sources.Certificates_Dir, keys.Text(u"TLS_Client_Auth_Key"));
    m.TLS_Client_Key_Password = 0;
    m.TLS_Client_Key_Pass = keys.Text(u"TLS_Client_Auth_Key_Password");
    m.NTP_Server_Address = keys.Text(u"NTP_Server_URL");
    m.NTP_Server_Poll = static_cast<std::uint32_t>(keys.Number(u"NTP_Poll_Time", 1000));

    // Modbus master line: ports 0 and 3 of the converter's serial arrays carry it.
    g.Modbus_TimeOut = static_cast<std::uint32_t>(keys.Number(u"ModbusM_TIMEOUT", 1000));
    g.Modbus_Cycle = static_cast<std::uint32_t>(keys.Number(u"ModbusM_CYCLIC", 100));
    g.Serial_RS232 = keys.Is(u"ModbusM_SERIAL", u"0") ? 1 : 0;
    const std::uint32_t baud = Baud_Rate(keys.Number(u"ModbusM_BAUDRATE", 7));
    g.Serial_Baud[0] = baud;
    g.Serial_Baud[3] = baud;
    const auto parity = static_cast<std::uint8_t>(keys.Number(u"ModbusM_PARITY", 0));
    g.Serial_Parity[0] = parity;
    g.Serial_Parity[3] = parity;
    int stop = keys.Number(u"ModbusM_STOPBITS", 0);
    const auto stop_code = static_cast<std::uint8_t>(stop == 1 ? 2 : stop);
    g.Serial_Stop_Bits[0] = stop_code;
    g.Serial_Stop_Bits[3] = stop_code;
    g.Serial_Data_Bits.fill(8);

    // Mobile connection: at most 512 bytes; a longer text is cut and then has no zero.
    const String mobile = Mobile_Text(keys);
    Put_Narrow(g.Mobile_Config, mobile, g.Mobile_Config.size());
}

namespace {

// Whether a certificate name stands for a plain file that really lies in the configuration's
// Certificates folder. A Certificates folder that is a link is not entered, and a link in it
// counts only when it resolves to a file of the same folder, so no other file of the
// machine can be reached; a pipe or device would block or never end, so only regular files
// count.
bool Certificate_File_Inside(const String& certificates_dir, const String& name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir(certificates_dir);
    if (!fs::is_directory(fs::symlink_status(dir, ec)) || ec)
        return false;
    const fs::path folder = fs::canonical(dir, ec);
    if (ec)
        return false;
    const fs::path file = fs::canonical(dir / fs::path(name), ec);
    if (ec || file.parent_path() != folder)
        return false;
    return fs::is_regular_file(fs::status(file, ec)) && !ec;
}

} // namespace

plat::String Load_Certificate(const plat::String& certificates_dir, const plat::String& name) {
    // Only bare names inside Certificates: a shared configuration must not be able to
    // pull any other file of the machine into the image.
    const bool bare = !name.empty() && name.find(u'/') == String::npos && name.find(u'\\') == String::npos &&
                      name.find(u"..") == String::npos;
    if (!bare || !Certificate_File_Inside(certificates_dir, name))
        return name;
    const String path = plat::PathJoin(certificates_dir, name);
    std::vector<String> lines;
    // The file is there: taking its name as the certificate would leave the converter
    // with a TLS set-up that fails for no visible reason.
    if (!plat::ReadTextLines(path, lines))
        throw plat::EFileError(u"The certificate file \"" + path + u"\" cannot be read.");
    String text;
    for (const String& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

plat::String Clean_CR_LF(const plat::String& text, bool allowed) {
    if (allowed)
        return text;
    String result;
    result.reserve(text.size());
    for (char16_t ch : text)
        if (ch != u'\r' && ch != u'\n')
            result += ch;
    return result;
}

std::uint32_t Data_Type_Code(const plat::String& text) {
    if (text == u"STRING")
        return 0;
    if (text == u"INT")
        return 1;
    if (text == u"FLOAT")
        return 2;
    if (text == u"BASE64")
        return 3;
    if (text == u"SINT")
        return 4;
    return 0;
}

TByte_Range Template_Byte_Range(const plat::String& text) {
    TByte_Range range;
    std::size_t at = text.find(u'@');
    if (at == String::npos)
        return range;
    StringView rest = StringView(text).substr(at + 1);
    if (rest.find(u'@') == StringView::npos)
        return range;

    int counted = 0;
    std::int64_t smallest_start = 0;
    std::int64_t largest_end = 0;
    while (!rest.empty()) {
        // "@", one ignored character, start "." count, "@". A marker without its closing
        // "@" is not a marker.
        std::size_t close = rest.find(u'@');
        if (close == StringView::npos)
            break;
        StringView body = close > 1 ? rest.substr(1, close - 1) : StringView();
        std::size_t dot = body.find(u'.');
        int start = 0;
        int count = 0;
        if (dot == StringView::npos) {
            count = plat::StrToIntDef(plat::Trim(body), 0);
        } else {
            start = plat::StrToIntDef(plat::Trim(body.substr(0, dot)), 0);
            count = plat::StrToIntDef(plat::Trim(body.substr(dot + 1)), 0);
        }
        if (count > 0) {
            if (++counted > Max_Template_Markers)
                throw EImage_Limit(u"A template holds more than " + Number_Text(Max_Template_Markers) +
                                   u" \"@\" markers: the converter cannot take it.");
            // The range covers every counted marker whole, however they overlap.
            std::int64_t end = static_cast<std::int64_t>(start) + count;
            smallest_start = counted == 1 ? start : std::min<std::int64_t>(smallest_start, start);
            largest_end = counted == 1 ? end : std::max(largest_end, end);
        }
        rest = rest.substr(close + 1);
        std::size_t next = rest.find(u'@');
        rest = next == StringView::npos ? StringView() : rest.substr(next + 1);
    }
    if (counted == 0)
        return range;
    const std::int64_t position = smallest_start / 8;
    range.Ok = true;
    range.Position = static_cast<std::uint32_t>(position);
    range.Count = static_cast<std::uint32_t>(largest_end / 8 - position + 1);
    return range;
}

// ---- MQTT topics ----------------------------------------------------------------------

void Read_MQTT_Topics(const TImage_Sources& sources) {
    TMQTT& m = MQTT_Config;
    if (plat::PathEntryExists(sources.File_MQTT_Set_Topic)) {
        plat::TXMLDocument doc;
        IXMLNode root = Load_Root(doc, sources.File_MQTT_Set_Topic);
        const std::uint32_t code = Working_Mode_Code();

        bool allow_cr_lf = false;
        if (!root.IsNull()) {
            IXMLNode options = root.ChildNodes().FindNode(u"MQTT_Options");
            if (!options.IsNull()) {
                IXMLNode allow = options.ChildNodes().FindNode(u"Option_Allow_CR_LF");
                try {
                    allow_cr_lf = !allow.IsNull() && allow.Text() == u"Y";
                } catch (const plat::Exception&) {
                    allow_cr_lf = false;
                }
            }
        }

        IXMLNode publish = Table(root, u"MQTT_Publish");
        m.Publish_Data.clear();
        m.Publish_Data.reserve(static_cast<std::size_t>(Count_Rows(publish)));
        For_Each_Row(publish, [&](IXMLNode row) {
            TMQTT_Publish_Data p;
            p.Publish_Topic.CString = Without_CR_LF(Required_Text(row, u"Topic"));
            p.Retained = plat::UpperCase(Required_Text(row, u"Retained")) == u"Y" ? 1 : 0;
            // An empty QoS cell is an ordinary editor state, not a broken file.
            p.QoS = Guarded_Number(row, u"QoS", 0);
            p.Options = 0;
            if (Guarded_Upper_Is(row, u"OnChange", u"Y"))
                p.Options |= 1;
            if (Guarded_Upper_Is(row, u"OnCMD", u"Y"))
                p.Options |= 2;
            if (Guarded_Upper_Is(row, u"OnTimer", u"Y"))
                p.Options |= 4;
            p.Timer = 0;
            if (p.Options & 4) {
                std::optional<String> time = Guarded_Text(row, u"Time");
                if (time)
                    p.Timer = static_cast<std::uint32_t>(plat::StrToIntDef(plat::Trim(*time), 0));
            }
            const String output = Guarded_Text(row, u"Template").value_or(u"$VALUE$");
            p.Output_Template = Clean_CR_LF(output, allow_cr_lf);
            p.Input_Template.clear();
            p.Source_IP_Address = 0;
            if (code == 0 || code == 3) {
                p.Type_Data = 0;
                p.Length = 0;
                p.Position = 0;
            } else {
                std::optional<String> type = Guarded_Text(row, u"DataType");
                p.Type_Data = static_cast<std::uint16_t>(type ? Data_Type_Code(plat::UpperCase(plat::Trim(*type))) : 0);
                p.Length = static_cast<std::uint16_t>(Guarded_Number(row, u"Dimension", 4));
                p.Position = static_cast<std::uint32_t>(Guarded_Number(row, u"Position", 0));
            }
            p.Description = Required_Text(row, u"Mnemonic");
            m.Publish_Data.push_back(std::move(p));
            return true;
        });

        IXMLNode subscribe = Table(root, u"MQTT_Subscribe");
        int n = Count_Rows(subscribe);
        if (code == 0)
            n = std::min(n, 1); // the synchronous mode answers one subscription only
        m.Topic_Filters.clear();
        m.Topic_Filter_QoS.clear();
        m.Subscribe_Data.clear();
        m.Topic_Filters.reserve(static_cast<std::size_t>(n));
        m.Topic_Filter_QoS.reserve(static_cast<std::size_t>(n));
        m.Subscribe_Data.reserve(static_cast<std::size_t>(n));
        int index = 0;
        For_Each_Row(subscribe, [&](IXMLNode row) {
            if (index >= n)
                return false;
            ++index;
            TMQTTString filter;
            filter.CString = Without_CR_LF(Required_Text(row, u"Topic"));
            const std::int32_t qos = Guarded_Number(row, u"QoS", 0);
            TMQTT_Subscribe_Data s;
            s.Input_Template = Guarded_Text(row, u"Template").value_or(u"$VALUE$");
            if (code != 0) {
                std::optional<String> type = Guarded_Text(row, u"DataType");
                s.Type_SubData = type ? Data_Type_Code(plat::UpperCase(plat::Trim(*type))) : 0;
                s.Length = static_cast<std::uint32_t>(Guarded_Number(row, u"Dimension", 4));
                s.Position = static_cast<std::uint32_t>(Guarded_Number(row, u"Position", 0));
                TByte_Range range;
                try {
                    range = Template_Byte_Range(s.Input_Template);
                } catch (const EImage_Limit& e) {
                    throw EImage_Limit(u"MQTT Subscribe row " + Number_Text(static_cast<std::uint64_t>(index)) +
                                       u": " + e.Message());
                }
                if (range.Ok) {
                    s.Position = range.Position;
                    s.Length = range.Count;
                }
            }
            m.Topic_Filters.push_back(std::move(filter));
            m.Topic_Filter_QoS.push_back(qos);
            m.Subscribe_Data.push_back(std::move(s));
            return true;
        });
    }
    Assign_MQTT_Offsets();
}

// ---- Modbus rules --------------------------------------------------------------------

void Read_Modbus_Rules(const TImage_Sources& sources) {
    General_Parameters.Modbus_Entries = 0;
    if (!plat::PathEntryExists(sources.File_ModbusM_SetAccess))
        return;
    plat::TXMLDocument doc;
    IXMLNode root = Load_Root(doc, sources.File_ModbusM_SetAccess);
    std::uint32_t counter = 0;

    For_Each_Row(Table(root, u"Modbus_Read"), [&](IXMLNode row) {
        if (!Enabled(row))
            return true;
        TModbus_Entry& e = Next_Entry(counter);
        e = TModbus_Entry{};
        e.Slave_ID = static_cast<std::uint8_t>(Required_Number(row, u"Slave_ID"));
        const String type = plat::UpperCase(Required_Text(row, u"Type"));
        e.Function_Code = type == u"COIL STATUS"        ? 1
                          : type == u"INPUT STATUS"     ? 2
                          : type == u"HOLDING REGISTER" ? 3
                          : type == u"INPUT REGISTER"   ? 4
                                                        : 0;
        const int npoint = Required_Number(row, u"NPoint");
        e.NPoint = static_cast<std::uint16_t>(npoint);
        e.Byte_Count = Modbus_Byte_Count(e.Function_Code, npoint);
        e.Address = static_cast<std::uint16_t>(Required_Number(row, u"Address"));
        e.Poll_Time = static_cast<std::uint32_t>(Required_Number(row, u"PollTime"));
        e.Max_Error = static_cast<std::uint32_t>(Required_Number(row, u"MaxError"));
        e.Position = static_cast<std::uint16_t>(Guarded_Number(row, u"Position", 0));
        e.Bit = static_cast<std::uint16_t>(Guarded_Number(row, u"Bit", 0));
        Read_Rule_Options(row, e);
        ++counter;
        return true;
    });

    // The synchronous mode has no write rules: its write table is not even looked at.
    if (Working_Mode_Code() != 0) {
        For_Each_Row(Table(root, u"Modbus_Write"), [&](IXMLNode row) {
            if (!Enabled(row))
                return true;
            TModbus_Entry& e = Next_Entry(counter);
            e = TModbus_Entry{};
            e.Slave_ID = static_cast<std::uint8_t>(Required_Number(row, u"Slave_ID"));
            const int npoint = Required_Number(row, u"NPoint");
            e.NPoint = static_cast<std::uint16_t>(npoint);
            const String type = plat::UpperCase(Required_Text(row, u"Type"));
            e.Function_Code = type == u"COIL STATUS"        ? (npoint == 1 ? 5 : 15)
                              : type == u"HOLDING REGISTER" ? (npoint == 1 ? 6 : 16)
                                                            : 0;
            e.Address = static_cast<std::uint16_t>(Required_Number(row, u"Address"));
            e.Poll_Time = static_cast<std::uint32_t>(Required_Number(row, u"PollTime"));
            e.Max_Error = static_cast<std::uint32_t>(Required_Number(row, u"MaxError"));
            e.Rule_Flags = plat::UpperCase(Required_Text(row, u"OnChange")) == u"Y" ? 1 : 0;
            if (Guarded_Upper_Is(row, u"OnCMD", u"Y"))
                e.Rule_Flags |= 16;
            e.Position = static_cast<std::uint16_t>(Required_Number(row, u"Position"));
            // The rule editor asks for a start bit only for bit types, so a register rule
            // has an empty one: it is no error.
            e.Bit = static_cast<std::uint16_t>(Guarded_Number(row, u"Bit", 0));
            Read_Rule_Options(row, e);
            ++counter;
            return true;
        });
    }
    General_Parameters.Modbus_Entries = counter;
}

} // namespace image
