#include "plat/IniFiles.h"

#include <optional>
#include <vector>

#include "plat/Files.h"
#include "plat/SysUtils.h"

namespace plat {

namespace {

struct IniText {
    std::vector<String> lines;
    TTextEncoding encoding = TTextEncoding::Utf8;
};

IniText Load(const String& file)
{
    IniText t;
    String text;
    if (ReadTextFile(file, text, &t.encoding))
        t.lines = SplitLines(text);
    return t;
}

void Save(const String& file, const IniText& t)
{
    if (!WriteTextFile(file, t.lines, t.encoding))
        throw EIniFileException(u"Unable to write to " + file);
}

// "[Name]" gives Name.
std::optional<String> SectionName(const String& line)
{
    const String s = Trim(line);
    if (s.size() >= 2 && s.front() == u'[') {
        const auto close = s.find(u']');
        if (close != String::npos)
            return Trim(StringView(s).substr(1, close - 1));
    }
    return std::nullopt;
}

bool IsComment(const String& line)
{
    const String s = TrimLeft(line);
    return s.empty() || s[0] == u';' || s[0] == u'#';
}

// Key of a "key=value" line, or nothing.
std::optional<String> KeyOf(const String& line)
{
    if (IsComment(line))
        return std::nullopt;
    const auto eq = line.find(u'=');
    if (eq == String::npos)
        return std::nullopt;
    return Trim(StringView(line).substr(0, eq));
}

String ValueOf(const String& line)
{
    String v = Trim(StringView(line).substr(line.find(u'=') + 1));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// [first, last) line range of a section's body; first == npos when the section is missing.
struct Range {
    std::size_t header = String::npos;
    std::size_t first = 0;
    std::size_t last = 0;
};

Range FindSection(const std::vector<String>& lines, StringView section)
{
    Range r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name)
            continue;
        if (r.header != String::npos) {
            r.last = i;
            return r;
        }
        if (SameText(*name, section)) {
            r.header = i;
            r.first = i + 1;
        }
    }
    r.last = lines.size();
    return r;
}

std::optional<std::size_t> FindKey(const std::vector<String>& lines, const Range& r, StringView ident)
{
    if (r.header == String::npos)
        return std::nullopt;
    for (std::size_t i = r.first; i < r.last; ++i) {
        const auto key = KeyOf(lines[i]);
        if (key && SameText(*key, ident))
            return i;
    }
    return std::nullopt;
}


std::optional<String> GetValue(const IniText& t, StringView Section, StringView Ident)
{
    const auto at = FindKey(t.lines, FindSection(t.lines, Section), Ident);
    if (!at)
        return std::nullopt;
    return ValueOf(t.lines[*at]);
}

void SetValue(IniText& t, StringView Section, StringView Ident, const String& Value)
{
    const Range r = FindSection(t.lines, Section);
    if (const auto at = FindKey(t.lines, r, Ident)) {
        const String& line = t.lines[*at];
        t.lines[*at] = line.substr(0, line.find(u'=') + 1) + Value;
    } else if (r.header == String::npos) {
        if (!t.lines.empty() && !Trim(t.lines.back()).empty())
            t.lines.emplace_back();
        t.lines.push_back(u"[" + String(Section) + u"]");
        t.lines.push_back(String(Ident) + u"=" + Value);
    } else {
        // After the section's last entry, before the blank lines that separate it.
        std::size_t pos = r.last;
        while (pos > r.first && Trim(t.lines[pos - 1]).empty())
            --pos;
        t.lines.insert(t.lines.begin() + static_cast<std::ptrdiff_t>(pos), String(Ident) + u"=" + Value);
    }
}

} // namespace

String TIniFile::ReadString(StringView Section, StringView Ident, const String& Default) const
{
    return GetValue(Load(fileName_), Section, Ident).value_or(Default);
}

void TIniFile::WriteString(StringView Section, StringView Ident, const String& Value)
{
    IniText t = Load(fileName_);
    SetValue(t, Section, Ident, Value);
    Save(fileName_, t);
}

int TIniFile::ReadInteger(StringView Section, StringView Ident, int Default) const
{
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TIniFile::WriteInteger(StringView Section, StringView Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TIniFile::ReadBool(StringView Section, StringView Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(StringView Section, StringView Ident, bool Value)
{
    WriteString(Section, Ident, Value ? u"1" : u"0");
}

bool TIniFile::SectionExists(StringView Section) const
{
    const IniText t = Load(fileName_);
    return FindSection(t.lines, Section).header != String::npos;
}

bool TIniFile::ValueExists(StringView Section, StringView Ident) const
{
    const IniText t = Load(fileName_);
    return FindKey(t.lines, FindSection(t.lines, Section), Ident).has_value();
}

void TIniFile::ReadSection(StringView Section, TStrings& Idents) const
{
    const IniText t = Load(fileName_);
    const Range r = FindSection(t.lines, Section);
    Idents.BeginUpdate();
    Idents.Clear();
    if (r.header != String::npos)
        for (std::size_t i = r.first; i < r.last; ++i)
            if (const auto key = KeyOf(t.lines[i]))
                Idents.Add(*key);
    Idents.EndUpdate();
}

void TIniFile::ReadSections(TStrings& Sections) const
{
    const IniText t = Load(fileName_);
    Sections.BeginUpdate();
    Sections.Clear();
    for (const String& l : t.lines)
        if (const auto name = SectionName(l))
            Sections.Add(*name);
    Sections.EndUpdate();
}

void TIniFile::ReadSectionValues(StringView Section, TStrings& Values) const
{
    const IniText t = Load(fileName_);
    const Range r = FindSection(t.lines, Section);
    Values.BeginUpdate();
    Values.Clear();
    if (r.header != String::npos)
        for (std::size_t i = r.first; i < r.last; ++i)
            if (const auto key = KeyOf(t.lines[i]))
                Values.Add(*key + u"=" + ValueOf(t.lines[i]));
    Values.EndUpdate();
}

void TIniFile::DeleteKey(StringView Section, StringView Ident)
{
    IniText t = Load(fileName_);
    const auto at = FindKey(t.lines, FindSection(t.lines, Section), Ident);
    if (!at)
        return;
    t.lines.erase(t.lines.begin() + static_cast<std::ptrdiff_t>(*at));
    Save(fileName_, t);
}

void TIniFile::EraseSection(StringView Section)
{
    IniText t = Load(fileName_);
    const Range r = FindSection(t.lines, Section);
    if (r.header == String::npos)
        return;
    t.lines.erase(t.lines.begin() + static_cast<std::ptrdiff_t>(r.header),
                  t.lines.begin() + static_cast<std::ptrdiff_t>(r.last));
    Save(fileName_, t);
}

// ---- TMemIniFile ------------------------------------------------------------------------------

struct TMemIniFile::Impl {
    IniText text;
    bool unreadable = false;  // the file exists but could not be read: never replace it
};

TMemIniFile::TMemIniFile(String FileName) : fileName_(std::move(FileName)), impl_(std::make_unique<Impl>())
{
    String text;
    if (ReadTextFile(fileName_, text, &impl_->text.encoding))
        impl_->text.lines = SplitLines(text);
    else
        impl_->unreadable = FileExists(fileName_) || DirectoryExists(fileName_);
}

TMemIniFile::~TMemIniFile() = default;

String TMemIniFile::ReadString(StringView Section, StringView Ident, const String& Default) const
{
    return GetValue(impl_->text, Section, Ident).value_or(Default);
}

void TMemIniFile::WriteString(StringView Section, StringView Ident, const String& Value)
{
    SetValue(impl_->text, Section, Ident, Value);
}

int TMemIniFile::ReadInteger(StringView Section, StringView Ident, int Default) const
{
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TMemIniFile::WriteInteger(StringView Section, StringView Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TMemIniFile::ValueExists(StringView Section, StringView Ident) const
{
    return GetValue(impl_->text, Section, Ident).has_value();
}

void TMemIniFile::UpdateFile()
{
    if (impl_->unreadable)
        throw EIniFileException(u"Unable to write to " + fileName_);
    Save(fileName_, impl_->text);
}

} // namespace plat
