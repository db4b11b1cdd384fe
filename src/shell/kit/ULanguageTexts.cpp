// The built-in English texts. Each data block texts/texts_*.inc holds {number, text} pairs;
// the build lists every block in builtin_texts_all.inc, so a new block needs no code change.
// A number given in two blocks takes the text of the later one.
#include <vector>

#include "ULanguage.h"

namespace {

struct Builtin_Text {
    int Index;
    const char16_t* Text;
};

constexpr Builtin_Text kBuiltin_Texts[] = {
#include "builtin_texts_all.inc"
};

} // namespace

const std::vector<plat::String>& Builtin_Language_Table()
{
    static const std::vector<plat::String> table = [] {
        std::vector<plat::String> t(Lang_Table_Size, plat::String(u" "));
        for (const Builtin_Text& e : kBuiltin_Texts)
            if (e.Index >= 0 && e.Index < Lang_Table_Size)
                t[e.Index] = e.Text;
        return t;
    }();
    return table;
}
