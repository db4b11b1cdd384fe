// MQTT block of bank2.bin: the TMQTT set-up field by field (221 bytes), then its string
// pool and arrays. Offsets are assigned first and the writer then puts every string
// exactly where its offset says; both walk the same order with the same UTF-8 measure.
#include <cstring>

#include "ImageBytes.h"
#include "USaveBincc.h"

namespace image {

void Init_MQTT_Config() {
    MQTT_Config = TMQTT{};
    MQTT_Config.Connect_Data.Struct_ID = {'M', 'Q', 'T', 'C'};
    MQTT_Config.Connect_Data.MQTTVersion = 4; // MQTT 3.1.1
    MQTT_Config.Connect_Data.Will.Struct_ID = {'M', 'Q', 'T', 'W'};
}

namespace {

// Running offset in the block while offsets are handed out.
struct TOffsets {
    std::uint32_t p = MQTT_Fixed_Size;

    // A plain text: an empty one points at the shared zero byte.
    void Text(const plat::String& text, std::uint32_t& add, std::uint32_t* len = nullptr) {
        if (text.empty()) {
            add = MQTT_Empty_String;
            if (len)
                *len = 0;
            return;
        }
        std::uint32_t bytes = Utf8_Length(text);
        add = p;
        if (len)
            *len = bytes;
        p += bytes + 1;
    }

    // A referenced string: an empty one has no address at all.
    void Ref(TMQTTString& s) {
        if (s.CString.empty()) {
            s.Address = 0;
            s.Len = 0;
            return;
        }
        std::uint32_t bytes = Utf8_Length(s.CString);
        s.Address = p;
        s.Len = static_cast<std::int32_t>(bytes);
        p += bytes + 1;
    }
};

std::uint32_t Put_Add(std::uint8_t* buffer, std::uint32_t pos, std::uint32_t base, std::uint32_t add) {
    Put_U32(buffer, pos, base + add);
    return pos + 4;
}

} // namespace

std::uint32_t Assign_MQTT_Offsets() {
    TMQTT& m = MQTT_Config;
    TMQTTPacket_ConnectData& c = m.Connect_Data;
    TOffsets o;
    o.Text(m.Server_Address, m.Server_Address_Add);
    o.Ref(c.ClientID);
    o.Ref(c.Will.TopicName);
    o.Ref(c.Will.WillMessage);
    o.Ref(c.Username);
    o.Ref(c.Password);
    o.Text(m.TLS_Server_Cert, m.TLS_Server_Cert_Add, &m.TLS_Server_Cert_Len);
    o.Text(m.TLS_Client_Cert, m.TLS_Client_Cert_Add, &m.TLS_Client_Cert_Len);
    o.Text(m.TLS_Client_Key, m.TLS_Client_Key_Add, &m.TLS_Client_Key_Len);
    o.Text(m.TLS_Client_Key_Pass, m.TLS_Client_Key_Add_Pass);
    o.Text(m.NTP_Server_Address, m.NTP_Server_Address_Add);
    o.Ref(m.onconnect.topicName);
    o.Ref(m.onconnect.conn_message);
    o.Ref(m.topic_answer_dali);
    o.Text(m.TLS_CA_Cert, m.TLS_CA_Cert_Add, &m.TLS_CA_Cert_Len);

    const std::uint32_t n = static_cast<std::uint32_t>(m.Topic_Filters.size());
    if (n > 0) {
        m.Topic_Filters_Add = o.p;
        o.p += 12 * n;
        m.Topic_Filter_Count = static_cast<std::int32_t>(n);
        for (TMQTTString& filter : m.Topic_Filters)
            o.Ref(filter);
        m.Topic_Filter_QoS_Add = o.p;
        o.p += 4 * n;
        m.Subscribe_Data_Add = o.p;
        o.p += Subscribe_Record_Size * n;
        for (TMQTT_Subscribe_Data& s : m.Subscribe_Data) {
            o.Text(s.Input_Template, s.Input_Template_Add);
            o.Text(s.Output_Template, s.Output_Template_Add);
        }
    } else {
        m.Topic_Filters_Add = 0;
        m.Topic_Filter_Count = 0;
        m.Topic_Filter_QoS_Add = 0;
        m.Subscribe_Data_Add = 0;
    }

    const std::uint32_t count = static_cast<std::uint32_t>(m.Publish_Data.size());
    if (count > 0) {
        m.Publish_Data_Add = o.p;
        o.p += Publish_Record_Size * count;
        m.Publish_Topic_Count = static_cast<std::int32_t>(count);
        for (TMQTT_Publish_Data& pub : m.Publish_Data) {
            o.Text(pub.Description, pub.Desc_Add);
            o.Ref(pub.Publish_Topic);
            o.Text(pub.Input_Template, pub.Input_Template_Add);
            o.Text(pub.Output_Template, pub.Output_Template_Add);
        }
    } else {
        m.Publish_Data_Add = 0;
        m.Publish_Topic_Count = 0;
    }
    return o.p;
}

std::uint32_t Write_MQTT_String(const TMQTTString& text, std::uint32_t base, std::uint32_t pos, std::uint8_t* buffer) {
    const std::uint32_t address = text.Address != 0 ? base + text.Address : 0;
    Put_U32(buffer, pos, address);
    Put_U32(buffer, pos + 4, static_cast<std::uint32_t>(text.Len));
    Put_U32(buffer, pos + 8, address);
    return pos + 12;
}

std::uint32_t Write_UTF8_String(plat::StringView text, std::uint32_t pos, std::uint8_t* buffer) {
    if (text.empty())
        return pos;
    pos = static_cast<std::uint32_t>(Put_Utf8(buffer, pos, text));
    buffer[pos] = 0;
    return pos + 1;
}

std::uint32_t Write_MQTT_Block(std::uint32_t base, std::uint32_t pos, std::uint8_t* buffer, std::uint32_t last_index) {
    const TMQTT& m = MQTT_Config;
    const TMQTTPacket_ConnectData& c = m.Connect_Data;
    const std::uint32_t start = pos;

    // The offsets must have been assigned for these very texts; they also give the
    // block's length, which is checked before a single byte is written.
    std::uint32_t length = Assign_MQTT_Offsets();
    if (static_cast<std::uint64_t>(pos) + length > static_cast<std::uint64_t>(last_index) + 1)
        throw EImage_Limit(u"The configuration image is too large: bank2.bin would take " +
                           plat::Utf8ToString(std::to_string(static_cast<std::uint64_t>(pos) + length)) +
                           u" bytes, the converter holds " +
                           plat::Utf8ToString(std::to_string(static_cast<std::uint64_t>(last_index) + 1)) + u".");

    Put_U32(buffer, pos + 0, m.Mode);
    Put_U32(buffer, pos + 4, m.Time_Poll);
    Put_Add(buffer, pos + 8, base, m.Server_Address_Add);
    Put_U16(buffer, pos + 12, m.Server_Port);
    std::memcpy(buffer + pos + 14, c.Struct_ID.data(), 4);
    Put_U32(buffer, pos + 18, static_cast<std::uint32_t>(c.Struct_Version));
    Put_U8(buffer, pos + 22, c.MQTTVersion);
    Write_MQTT_String(c.ClientID, base, pos + 23, buffer);
    Put_U16(buffer, pos + 35, c.KeepAliveInterval);
    Put_U8(buffer, pos + 37, c.CleanSession);
    Put_U8(buffer, pos + 38, c.WillFlag);
    std::memcpy(buffer + pos + 39, c.Will.Struct_ID.data(), 4);
    Put_U32(buffer, pos + 43, static_cast<std::uint32_t>(c.Will.Struct_Version));
    Write_MQTT_String(c.Will.TopicName, base, pos + 47, buffer);
    Write_MQTT_String(c.Will.WillMessage, base, pos + 59, buffer);
    Put_U8(buffer, pos + 71, c.Will.Retained);
    Put_U8(buffer, pos + 72, c.Will.QoS);
    Write_MQTT_String(c.Username, base, pos + 73, buffer);
    Write_MQTT_String(c.Password, base, pos + 85, buffer);
    Put_U32(buffer, pos + 97, static_cast<std::uint32_t>(m.Topic_Filter_Count));
    Put_Add(buffer, pos + 101, base, m.Topic_Filters_Add);
    Put_Add(buffer, pos + 105, base, m.Topic_Filter_QoS_Add);
    Put_Add(buffer, pos + 109, base, m.Subscribe_Data_Add);
    Put_U32(buffer, pos + 113, static_cast<std::uint32_t>(m.Publish_Topic_Count));
    Put_Add(buffer, pos + 117, base, m.Publish_Data_Add);
    Put_U32(buffer, pos + 121, m.TLS_Flag);
    Put_U32(buffer, pos + 125, m.TLS_Server_Authentication);
    Put_Add(buffer, pos + 129, base, m.TLS_Server_Cert_Add);
    Put_U32(buffer, pos + 133, m.TLS_Server_Cert_Len);
    Put_U32(buffer, pos + 137, m.TLS_Client_Authentication);
    Put_Add(buffer, pos + 141, base, m.TLS_Client_Cert_Add);
    Put_U32(buffer, pos + 145, m.TLS_Client_Cert_Len);
    Put_Add(buffer, pos + 149, base, m.TLS_Client_Key_Add);
    Put_U32(buffer, pos + 153, m.TLS_Client_Key_Len);
    Put_U32(buffer, pos + 157, m.TLS_Client_Key_Password);
    Put_Add(buffer, pos + 161, base, m.TLS_Client_Key_Add_Pass);
    Put_Add(buffer, pos + 165, base, m.NTP_Server_Address_Add);
    Put_U32(buffer, pos + 169, m.NTP_Server_Poll);
    Put_U8(buffer, pos + 173, m.onconnectFlag);
    Write_MQTT_String(m.onconnect.topicName, base, pos + 174, buffer);
    Write_MQTT_String(m.onconnect.conn_message, base, pos + 186, buffer);
    Put_U8(buffer, pos + 198, m.onconnect.reteined);
    Put_U8(buffer, pos + 199, m.onconnect.qos);
    Write_MQTT_String(m.topic_answer_dali, base, pos + 200, buffer);
    Put_Add(buffer, pos + 212, base, m.TLS_CA_Cert_Add);
    Put_U32(buffer, pos + 216, m.TLS_CA_Cert_Len);
    Put_U8(buffer, pos + 220, 0);
    pos += MQTT_Fixed_Size;

    pos = Write_UTF8_String(m.Server_Address, pos, buffer);
    pos = Write_UTF8_String(c.ClientID.CString, pos, buffer);
    pos = Write_UTF8_String(c.Will.TopicName.CString, pos, buffer);
    pos = Write_UTF8_String(c.Will.WillMessage.CString, pos, buffer);
    pos = Write_UTF8_String(c.Username.CString, pos, buffer);
    pos = Write_UTF8_String(c.Password.CString, pos, buffer);
    pos = Write_UTF8_String(m.TLS_Server_Cert, pos, buffer);
    pos = Write_UTF8_String(m.TLS_Client_Cert, pos, buffer);
    pos = Write_UTF8_String(m.TLS_Client_Key, pos, buffer);
    pos = Write_UTF8_String(m.TLS_Client_Key_Pass, pos, buffer);
    pos = Write_UTF8_String(m.NTP_Server_Address, pos, buffer);
    pos = Write_UTF8_String(m.onconnect.topicName.CString, pos, buffer);
    pos = Write_UTF8_String(m.onconnect.conn_message.CString, pos, buffer);
    pos = Write_UTF8_String(m.topic_answer_dali.CString, pos, buffer);
    pos = Write_UTF8_String(m.TLS_CA_Cert, pos, buffer);

    for (const TMQTTString& filter : m.Topic_Filters)
        pos = Write_MQTT_String(filter, base, pos, buffer);
    for (const TMQTTString& filter : m.Topic_Filters)
        pos = Write_UTF8_String(filter.CString, pos, buffer);
    for (std::int32_t qos : m.Topic_Filter_QoS) {
        Put_U32(buffer, pos, static_cast<std::uint32_t>(qos));
        pos += 4;
    }
    for (const TMQTT_Subscribe_Data& s : m.Subscribe_Data) {
        Put_U32(buffer, pos + 0, s.Position);
        Put_U32(buffer, pos + 4, s.Length);
        Put_U32(buffer, pos + 8, s.Type_SubData);
        Put_Add(buffer, pos + 12, base, s.Input_Template_Add);
        Put_Add(buffer, pos + 16, base, s.Output_Template_Add);
        Put_U32(buffer, pos + 20, s.IP_Address);
        Put_U16(buffer, pos + 24, s.Port);
        Put_U8(buffer, pos + 26, s.Proto);
        pos += Subscribe_Record_Size;
    }
    for (const TMQTT_Subscribe_Data& s : m.Subscribe_Data) {
        pos = Write_UTF8_String(s.Input_Template, pos, buffer);
        pos = Write_UTF8_String(s.Output_Template, pos, buffer);
    }
    for (const TMQTT_Publish_Data& p : m.Publish_Data) {
        Put_Add(buffer, pos + 0, base, p.Desc_Add);
        Write_MQTT_String(p.Publish_Topic, base, pos + 4, buffer);
        Put_U8(buffer, pos + 16, p.Retained);
        Put_U32(buffer, pos + 17, static_cast<std::uint32_t>(p.QoS));
        Put_Add(buffer, pos + 21, base, p.Input_Template_Add);
        Put_Add(buffer, pos + 25, base, p.Output_Template_Add);
        Put_U32(buffer, pos + 29, p.Source_IP_Address);
        Put_U32(buffer, pos + 33, p.Position);
        Put_U16(buffer, pos + 37, p.Length);
        Put_U16(buffer, pos + 39, p.Type_Data);
        Put_U32(buffer, pos + 41, p.Timer);
        Put_U32(buffer, pos + 45, p.Options);
        pos += Publish_Record_Size;
    }
    for (const TMQTT_Publish_Data& p : m.Publish_Data) {
        pos = Write_UTF8_String(p.Description, pos, buffer);
        pos = Write_UTF8_String(p.Publish_Topic.CString, pos, buffer);
        pos = Write_UTF8_String(p.Input_Template, pos, buffer);
        pos = Write_UTF8_String(p.Output_Template, pos, buffer);
    }
    // The writer and the offsets walk the same order; a mismatch would put every later
    // address off target, so it must never go unnoticed.
    if (pos - start != length)
        throw plat::Exception(u"Internal error: MQTT block length differs from its offsets");
    return pos;
}

} // namespace image
