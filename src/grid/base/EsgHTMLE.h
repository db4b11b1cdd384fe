#pragma once
// Text routines of the cell markup language: entity escaping, tag stripping, search-match
// highlighting and the VALUE of inline form controls (<CONTROL ID="…" VALUE="…" …>).
// Pure functions over UTF-16 texts; any input is accepted (an unclosed "<" is text).
//
// UnescapeMarkupText(EscapeMarkupText(t, u), u) == t for every text t.
#include "plat/String.h"

namespace grid {

using plat::String;
using plat::StringView;

// "&" "\"" "<" ">" become "&amp;" "&quot;" "&lt;" "&gt;"; with UseTable the accented
// letters and signs of the entity table become their named entities.
String EscapeMarkupText(StringView Text, bool UseTable);
// The inverse: each entity is decoded once, left to right.
String UnescapeMarkupText(StringView Text, bool UseTable);
// Removes every "<…>" whose "<" has a ">" after it.
String StripMarkupTags(StringView Text);
// "<BR>" and "<HR>" (any case) become CR LF, then every "<…>" is removed; an unclosed "<"
// ends the scan and the rest is kept.
String MarkupToPlainText(StringView Text);
// Wraps each occurrence of SearchText in the visible text in <TagName>…</TagName>. An empty
// search text changes nothing.
String HighlightMarkupText(StringView Text, StringView SearchText, StringView TagName, bool CaseSensitive);
// Removes every bare "<TagName>" and "</TagName>" (any case), then turns "&lt;" and "&gt;"
// back into "<" and ">".
String RemoveMarkupTag(StringView Text, StringView TagName);
bool HasMarkupControls(StringView Text);
// VALUE of the control with that ID, unescaped with the table; false when there is none.
bool GetMarkupControlValue(StringView Text, StringView ID, String& Value);
// Rewrites the VALUE attribute of the control with that ID (escaped with the table) and keeps
// every other attribute as it was; false when there is no such control.
bool SetMarkupControlValue(String& Text, StringView ID, StringView Value);

} // namespace grid
