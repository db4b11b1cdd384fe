#pragma once
// Text routines of the cell markup language: entity escaping, tag stripping, search-match
// highlighting and the VALUE of inline form controls (<CONTROL ID="…" VALUE="…" …>).
// Pure functions over UTF-16 texts; any input is accepted (an unclosed "<" is text).
//
// UnescapeMarkupText(EscapeMarkupText(t, u), u) == t for every text t.
#include <cstdint>
#include <span>

#include "plat/Graphics.h"
#include "plat/String.h"

namespace plat { class TCustomImageList; }

namespace grid {

using plat::String;
using plat::StringView;
using plat::TColor;

class THTMLPictureCache;
class TPictureContainer;

// One entry of the entity table: the entity as written and its character as a byte of the
// Windows-1252 code page. The last entry, "&Otilde", is stored without its semicolon.
struct TMarkupEntity {
    StringView Name;
    std::uint8_t Ansi;
};
// The 55 entries; the escape helpers use the first 51 (up to "&raquo;").
std::span<const TMarkupEntity> MarkupEntityTable();
// A Windows-1252 byte as its UTF-16 character.
char16_t AnsiToMarkupChar(std::uint8_t Ansi);

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
// Every blank becomes "&nbsp;".
String SpacesToNbsp(StringView Text);
// ID of the first control after the one with ID (the first control when ID is empty) whose
// TYPE is not BUTTON, CHECK or RADIO; empty when there is none.
String NextMarkupEditControlId(StringView Text, StringView ID);
// VALUE="FALSE" on every control of TYPE RADIO.
String ClearMarkupRadioButtons(StringView Text);
// PROP of the control with that ID, unescaped with the table; empty when absent.
String GetMarkupControlProp(StringView Text, StringView ID);
// MAXLEN of the control with that ID; 0 when absent or no number.
int GetMarkupControlMaxLen(StringView Text, StringView ID);
// Colours of <HI>; initially the system's highlight and highlight text colours.
void SetMarkupHighlightColors(TColor Background, TColor Text);
TColor MarkupHighlightColor();
TColor MarkupHighlightTextColor();

// ---- rendering

// What DrawMarkupText lays out, draws and hit-tests.
struct TMarkupDrawInput {
    plat::TCanvas* Canvas = nullptr;  // its pen, brush and font are the start state, restored on return
    StringView Text{};
    plat::TRect Rect{};
    plat::TCustomImageList* Images = nullptr;  // <IMG SRC="IDX:n">
    int XPos = -1, YPos = -1;   // point to hit-test, canvas coordinates
    int FocusLink = -1;         // zero-based link that gets a focus rectangle; -1 none
    int HoverLink = 0;          // one-based hovered link
    int ShadowOffset = 1;
    bool FindControl = false;   // report the control whose ID equals ControlID; draws nothing
    StringView ControlID{};
    bool MeasureOnly = false;
    bool Print = false;         // image-list images scaled by ResFactor
    bool Selected = false;      // FONT and link colours are not applied
    bool BlinkOn = true;
    bool HoverStyle = false;    // only the hovered link is underlined
    bool WordWrap = false;      // without it a line ends with an ellipsis
    bool Down = false;
    double ResFactor = 1.0;
    TColor URLColor = plat::clBlue;
    TColor HoverColor = plat::clNone;
    TColor HoverFontColor = plat::clNone;
    TColor ShadowColor = plat::clGray;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* Pictures = nullptr;
    bool RightToLeft = false;
};

// What it found. AnchorVal and AnchorTitle keep what the caller put there when nothing is hit.
struct TMarkupDrawResult {
    String AnchorVal;      // HREF under the point, or "ctrl" for a form control
    String StripVal;       // the text without tags; each <BR> a carriage return
    String FocusAnchor;    // HREF of link FocusLink
    String AnchorTitle;
    int XSize = 0;         // widest line
    int YSize = 0;         // total height, at least that of "gh"
    int HyperLinks = 0;
    int MouseLink = -1;    // one-based link under the point
    plat::TRect HoverRect;
    plat::TRect ControlRect;
    String ControlID, ControlValue, ControlType;
};

// Lays Text out in Rect line by line (tags of the markup language, entities, links, images,
// pictures, inline form controls), draws it unless MeasureOnly or FindControl, and tests
// the point. True when the point lies on a link's text, an image inside a link or a form
// control; the drawing pass decides, so MeasureOnly always gives false. Any text is
// accepted; FONT SIZE is held to 1..400 points; negative image indexes and shell icons
// ("SSYS:", "LSYS:") take no room and draw nothing.
bool DrawMarkupText(const TMarkupDrawInput& In, TMarkupDrawResult& Out);

} // namespace grid
