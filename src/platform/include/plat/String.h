#pragma once
// Texts are UTF-16 in memory: lengths, positions and "characters" count UTF-16 units.
// UTF-8 appears only at file, XML and network boundaries; AnsiString holds bytes in the
// ANSI code page of this build, Windows-1252.
#include <string>
#include <string_view>

namespace plat {

using String = std::u16string;
using StringView = std::u16string_view;
using AnsiString = std::string;

// Invalid or truncated sequences become U+FFFD.
String Utf8ToString(std::string_view bytes);
std::string StringToUtf8(StringView text);
bool IsValidUtf8(std::string_view bytes);

// Windows-1252; the five undefined bytes map to the C1 controls of the same value,
// characters without a byte become '?'.
String AnsiToString(std::string_view bytes);
AnsiString StringToAnsi(StringView text);

} // namespace plat
