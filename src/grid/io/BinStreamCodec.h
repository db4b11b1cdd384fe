#pragma once
// The object encoding of the binary cell stream: records ("TPF0", class name, empty object
// name, named values, two list ends) and their typed values. TWriter writes records to a
// stream; TReader parses them from memory, refusing any count that the bytes left cannot
// hold before it allocates, and TRecord answers typed field reads.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plat/Streams.h"
#include "plat/String.h"
#include "plat/Types.h"

namespace grid::io::bin {

using plat::String;
using plat::StringView;

// The longest stream or file read whole: 1 GiB.
constexpr std::int64_t kMaxBinStream = std::int64_t{1} << 30;
// The shortest cell record: signature, class name, object name, Col, Row, HasProp and the
// two list ends.
constexpr std::size_t kMinCellRecord = 4 + 12 + 1 + (4 + 2) + (4 + 2) + (8 + 1) + 2;

enum TValueTag : std::uint8_t {
    vaNull = 0x00, vaList = 0x01, vaInt8 = 0x02, vaInt16 = 0x03, vaInt32 = 0x04, vaExtended = 0x05,
    vaString = 0x06, vaIdent = 0x07, vaFalse = 0x08, vaTrue = 0x09, vaBinary = 0x0A, vaSet = 0x0B,
    vaLString = 0x0C, vaNil = 0x0D, vaWString = 0x12, vaUTF8String = 0x14
};

inline void PutU32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline std::uint32_t GetU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// 80-bit extended precision, little-endian: 64-bit significand with its integer bit, then
// sign and the exponent biased by 16383. Exact for every double; reading rounds to nearest
// even and gives infinities and NaNs their double forms.
void DoubleToExtended(double Value, std::uint8_t Out[10]);
double ExtendedToDouble(const std::uint8_t In[10]);

// The standard colour names and values; a value with two names gives the first.
const char* ColorIdent(plat::TColor Color);
bool IdentToColor(std::string_view Name, plat::TColor& Color, bool IgnoreCase = false);

// Identifiers of an enumeration, in ordinal order.
struct TIdents {
    TIdents(const char* const* Names, std::size_t Count) : names(Names), count(Count) {}
    const char* const* names;
    std::size_t count;
    int Find(std::string_view Name) const;
};

using TFieldNames = std::vector<std::string_view>;

class TWriter {
public:
    explicit TWriter(plat::TStream& Stream) : stream_(Stream) {}
    void Begin(std::string_view ClassName);
    void End();
    void Int(std::string_view Name, std::int64_t Value);
    void Bool(std::string_view Name, bool Value);
    // Left out when empty.
    void Text(std::string_view Name, StringView Value);
    void Ident(std::string_view Name, std::string_view Value);
    void Color(std::string_view Name, plat::TColor Value);
    // Left out when 0.
    void Float(std::string_view Name, double Value);
    // Left out when empty.
    void Binary(std::string_view Name, const std::string& Bytes);
    void Set(std::string_view Name, const TIdents& Members, unsigned Bits);
    // Left out when empty.
    void List(std::string_view Name, const std::vector<String>& Items);

    // The value encodings, for tests and other writers.
    static void PutShortName(std::string& s, std::string_view Name);
    static void PutInt(std::string& s, std::int64_t Value);
    static void PutText(std::string& s, StringView Value);

private:
    plat::TStream& stream_;
    std::string buf_;
};

struct TValue {
    TValueTag Tag = vaNull;
    std::int64_t Int = 0;
    double Float = 0;
    String Text;
    std::string Ident;
    std::string Bytes;
    std::vector<std::string> Members;
    std::vector<String> Items;
};

// A record read whole. Field reads of a kind the value does not have raise plat::EReadError
// "Invalid property value"; absent fields give the default (texts: empty).
class TRecord {
public:
    std::vector<std::pair<std::string, TValue>> Fields;

    bool Has(std::string_view Name) const { return Find(Name) != nullptr; }
    int Int(std::string_view Name, int Default) const;
    bool Bool(std::string_view Name, bool Default) const;
    String Text(std::string_view Name) const;
    double Float(std::string_view Name, double Default) const;
    int Enum(std::string_view Name, const TIdents& Idents, int Default) const;
    plat::TColor Color(std::string_view Name, plat::TColor Default) const;
    unsigned Set(std::string_view Name, const TIdents& Members) const;
    std::string_view Binary(std::string_view Name) const;
    std::vector<String> List(std::string_view Name) const;

private:
    const TValue* Find(std::string_view Name) const;
};

class TReader {
public:
    explicit TReader(std::string_view Bytes) : d_(Bytes) {}
    // Reads one record of the class; another class or a missing signature raises
    // "Invalid stream format", a field not in Fields "Property <name> does not exist".
    TRecord ReadRecord(std::string_view ClassName, const TFieldNames& Fields);
    std::size_t Pos() const { return pos_; }
    std::size_t Left() const { return d_.size() - pos_; }

private:
    void Need(std::size_t n) const;
    std::uint8_t Byte();
    std::string ShortName();
    void ReadValue(TValue& v, int depth);
    String ReadText(std::uint8_t tag);

    std::string_view d_;
    std::size_t pos_ = 0;
};

// The header record at the start of a cell stream (plat::EReadError when it is damaged).
struct TBinHeader {
    int ColCount = 0, RowCount = 0;
    std::int32_t ID = 0;
};
TBinHeader ReadBinHeader(std::string_view Bytes);

} // namespace grid::io::bin
