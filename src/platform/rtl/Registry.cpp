#include "plat/Registry.h"

#include <cstdlib>
#include <string>

#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace plat {

// Store file, UTF-8, one line each:
//   [Key\Path]
//   "Name"=dword:0000002A
//   "Name"="text"
// In quoted names and texts, "\" escapes "\", '"', and "n"/"r"/"t"/"0" stand for LF, CR, tab
// and NUL, so every text survives. Unknown lines are dropped when the file is rewritten.

namespace {

struct Value {
    String name;
    bool isInt = false;
    int i = 0;
    String s;
};

struct Key {
    String path;
    std::vector<Value> values;
};

struct Store {
    std::vector<Key> keys;

    Key* Find(StringView path)
    {
        for (auto& k : keys)
            if (AnsiSameText(k.path, path)) return &k;
        return nullptr;
    }
};

String Normalise(StringView key)
{
    String out;
    String part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!out.empty()) out += u'\\';
        out += part;
        part.clear();
    };
    for (char16_t c : key) {
        if (c == u'\\' || c == u'/') flush();
        else part += c;
    }
    flush();
    return out;
}

std::string Quote(StringView s)
{
    std::string out = "\"";
    for (char c : StringToUtf8(s)) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

// Reads a quoted text at pos (pointing at the opening quote); false when malformed.
bool Unquote(const std::string& line, std::size_t& pos, String& out)
{
    if (pos >= line.size() || line[pos] != '"') return false;
    std::string bytes;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            out = Utf8ToString(bytes);
            return true;
        }
        if (c == '\\') {
            if (++pos >= line.size()) return false;
            switch (line[pos]) {
            case 'n': c = '\n'; break;
            case 'r': c = '\r'; break;
            case 't': c = '\t'; break;
            case '0': c = '\0'; break;
            default: c = line[pos];
            }
        }
        bytes += c;
    }
    return false;
}

Store Load()
{
    Store st;
    std::string bytes;
    if (!ReadFileBytes(RegistryFileName(), bytes)) return st;
    Key* cur = nullptr;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const String path = Normalise(Utf8ToString(line.substr(1, line.size() - 2)));
            cur = st.Find(path);
            if (!cur) {
                st.keys.push_back({path, {}});
                cur = &st.keys.back();
            }
            continue;
        }
        if (!cur) continue;
        std::size_t pos = 0;
        Value v;
        if (!Unquote(line, pos, v.name) || pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        if (line.compare(pos, 6, "dword:") == 0) {
            const std::string hex = line.substr(pos + 6);
            if (hex.size() != 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) continue;
            v.isInt = true;
            v.i = static_cast<int>(static_cast<std::uint32_t>(std::strtoul(hex.c_str(), nullptr, 16)));
        } else if (!Unquote(line, pos, v.s) || pos != line.size()) {
            continue;
        }
        bool replaced = false;
        for (auto& old : cur->values)
            if (AnsiSameText(old.name, v.name)) { old = v; replaced = true; }
        if (!replaced) cur->values.push_back(std::move(v));
    }
    return st;
}

void Save(const Store& st, StringView name)
{
    std::string out;
    for (const auto& k : st.keys) {
        out += "[" + StringToUtf8(k.path) + "]\n";
        for (const auto& v : k.values) {
            out += Quote(v.name) + "=";
            if (v.isInt) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08X", static_cast<unsigned>(v.i));
                out += buf;
            } else {
                out += Quote(v.s);
            }
            out += "\n";
        }
        out += "\n";
    }
    const String file = RegistryFileName();
    if (!ForceDirectories(ExtractFileDir(file)) || !WriteFileAtomic(file, out))
        throw ERegistryException(u"Failed to set data for '" + String(name) + u"'");
}

bool IsBelow(StringView path, StringView key)
{
    if (path.size() < key.size()) return false;
    if (!AnsiSameText(path.substr(0, key.size()), key)) return false;
    return path.size() == key.size() || path[key.size()] == u'\\';
}

const Value* FindValue(const Key* k, StringView name)
{
    if (!k) return nullptr;
    for (const auto& v : k->values)
        if (AnsiSameText(v.name, name)) return &v;
    return nullptr;
}

} // namespace

String RegistryFileName()
{
    String base;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') {
        base = Utf8ToString(x);
    } else if (const char* h = std::getenv("HOME"); h && *h) {
        base = PathJoin(Utf8ToString(h), u".config");
    } else {
        base = u"/tmp";
    }
    return PathJoin(PathJoin(base, u"Configurator"), u"registry");
}

bool TRegistry::OpenKey(StringView Key, bool CanCreate)
{
    const String path = Normalise(Key);
    Store st = Load();
    bool exists = false;
    for (const auto& k : st.keys) exists = exists || IsBelow(k.path, path);
    if (!exists) {
        if (!CanCreate) return false;
        st.keys.push_back({path, {}});
        Save(st, path);
    }
    current_ = path;
    open_ = true;
    return true;
}

bool TRegistry::KeyExists(StringView Key) const
{
    Store st = Load();
    const String path = Normalise(Key);
    for (const auto& k : st.keys)
        if (IsBelow(k.path, path)) return true;
    return false;
}

bool TRegistry::DeleteKey(StringView Key)
{
    Store st = Load();
    const String path = Normalise(Key);
    const std::size_t before = st.keys.size();
    std::erase_if(st.keys, [&](const struct Key& k) { return IsBelow(k.path, path); });
    if (st.keys.size() == before) return false;
    Save(st, path);
    return true;
}

bool TRegistry::ValueExists(StringView Name) const
{
    Store st = Load();
    return open_ && FindValue(st.Find(current_), Name) != nullptr;
}

TRegDataType TRegistry::GetDataType(StringView Name) const
{
    Store st = Load();
    const Value* v = open_ ? FindValue(st.Find(current_), Name) : nullptr;
    if (!v) return rdUnknown;
    return v->isInt ? rdInteger : rdString;
}

bool TRegistry::DeleteValue(StringView Name)
{
    Store st = Load();
    struct Key* k = open_ ? st.Find(current_) : nullptr;
    if (!k) return false;
    const std::size_t before = k->values.size();
    std::erase_if(k->values, [&](const Value& v) { return AnsiSameText(v.name, Name); });
    if (k->values.size() == before) return false;
    Save(st, Name);
    return true;
}

void TRegistry::GetValueNames(TStrings& Names) const
{
    Names.Clear();
    Store st = Load();
    if (const struct Key* k = open_ ? st.Find(current_) : nullptr)
        for (const auto& v : k->values) Names.Add(v.name);
}

void TRegistry::GetKeyNames(TStrings& Names) const
{
    Names.Clear();
    Store st = Load();
    if (!open_) return;
    for (const auto& k : st.keys) {
        if (!IsBelow(k.path, current_) || k.path.size() == current_.size()) continue;
        StringView rest = StringView(k.path).substr(current_.empty() ? 0 : current_.size() + 1);
        const String first(rest.substr(0, rest.find(u'\\')));
        if (Names.IndexOf(first) < 0) Names.Add(first);
    }
}

int TRegistry::ReadInteger(StringView Name) const
{
    Store st = Load();
    const Value* v = open_ ? FindValue(st.Find(current_), Name) : nullptr;
    if (!v || !v->isInt) throw ERegistryException(u"Invalid data type for '" + String(Name) + u"'");
    return v->i;
}

String TRegistry::ReadString(StringView Name) const
{
    Store st = Load();
    const Value* v = open_ ? FindValue(st.Find(current_), Name) : nullptr;
    if (!v) return {};
    if (v->isInt) throw ERegistryException(u"Invalid data type for '" + String(Name) + u"'");
    return v->s;
}

namespace {

void Put(bool open, const String& current, StringView Name, const Value& nv)
{
    if (!open) throw ERegistryException(u"Failed to set data for '" + String(Name) + u"'");
    Store st = Load();
    Key* k = st.Find(current);
    if (!k) {
        st.keys.push_back({current, {}});
        k = &st.keys.back();
    }
    bool replaced = false;
    for (auto& v : k->values)
        if (AnsiSameText(v.name, Name)) {
            v = nv;
            v.name = String(Name);
            replaced = true;
        }
    if (!replaced) {
        k->values.push_back(nv);
        k->values.back().name = String(Name);
    }
    Save(st, Name);
}

} // namespace

void TRegistry::WriteInteger(StringView Name, int Value)
{
    struct Value v;
    v.isInt = true;
    v.i = Value;
    Put(open_, current_, Name, v);
}

void TRegistry::WriteString(StringView Name, const String& Value)
{
    struct Value v;
    v.s = Value;
    Put(open_, current_, Name, v);
}

} // namespace plat
