#include "ULanguage.h"

#include "UComon.h"
#include "plat/Files.h"
#include "plat/SysUtils.h"

using plat::String;
using plat::StringView;

std::vector<String> Lang_Table;
int Lang_Max_Index = 0;

// The built-in texts, compiled from the data blocks beside this unit (ULanguageTexts.cpp).
const std::vector<String>& Builtin_Language_Table();

void Load_Default_Language()
{
    Lang_Table = Builtin_Language_Table();
    Lang_Max_Index = 5100;
}

namespace {

constexpr char16_t kPilcrow = u'\u00B6';

// A whole decimal number with an optional sign; -1 (never a slot) for anything else.
int Parse_Index(StringView s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    if (i == s.size() || s.size() - i > 9)
        return -1;
    int value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < u'0' || s[i] > u'9')
            return -1;
        value = value * 10 + (s[i] - u'0');
    }
    return negative ? -1 : value;
}

// Language names come from the settings file; one that is not a plain file name is
// treated as a language without a file.
bool Is_Plain_Name(StringView name)
{
    if (name.empty() || name == u"." || name == u"..")
        return false;
    for (char16_t c : name)
        if (c == u'/' || c == u'\\' || c < 0x20 || c == 0x7F)
            return false;
    return true;
}

// Blanks and control characters off both ends, without copying.
StringView Trim_View(StringView s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] <= u' ')
        ++b;
    while (e > b && s[e - 1] <= u' ')
        --e;
    return s.substr(b, e - b);
}

String Language_File(StringView name)
{
    return Language_Dir + u"/" + String(name) + u".lng";
}

} // namespace

void Apply_Language_Line(StringView raw)
{
    const StringView line = Trim_View(raw);
    if (line.size() < 3 || line.substr(0, 3) != u"STR")
        return;
    const std::size_t eq = line.find(u'=');
    // The index sits between "STR" and the character before "=", which language files
    // fill with a blank ("STR12 = Text") and which never belongs to the index.
    if (eq == StringView::npos || eq < 5)
        return;
    const int index = Parse_Index(Trim_View(line.substr(3, eq - 4)));
    if (index < 0 || index >= Lang_Max_Index || index >= static_cast<int>(Lang_Table.size()))
        return;

    StringView value = Trim_View(line.substr(eq + 1));
    const std::size_t remark = value.find(u"/#/");
    if (remark != StringView::npos)
        value = Trim_View(value.substr(0, remark));
    if (value.empty())
        return;
    // Pilcrows fence a text whose own blanks must survive the trimming.
    if (value.front() == kPilcrow)
        value.remove_prefix(1);
    const std::size_t pilcrow = value.find(kPilcrow);
    if (pilcrow != StringView::npos)
        value = value.substr(0, pilcrow);
    Lang_Table[index].assign(value);
}

bool Load_Language_File(StringView path)
{
    std::string bytes;
    if (!plat::ReadRegularFile(String(path), bytes, plat::kLanguageFileCap))
        return false;
    const String text = plat::DecodeText(bytes);
    StringView rest = text;
    // Lines end with CR LF, LF or CR.
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of(u"\r\n");
        Apply_Language_Line(rest.substr(0, end));
        if (end == StringView::npos)
            break;
        std::size_t next = end + 1;
        if (rest[end] == u'\r' && next < rest.size() && rest[next] == u'\n')
            ++next;
        rest = rest.substr(next);
    }
    return true;
}

void Load_Language()
{
    Load_Default_Language();
    if (Is_Plain_Name(Language_Name) && Load_Language_File(Language_File(Language_Name)))
        return;
    Language_Name = u"English";
    Load_Language_File(Language_File(Language_Name));
}
