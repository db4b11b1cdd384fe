#pragma once
// Free routines the grid and its import/export share: text transformations, number and
// date recognition, the filter-expression matcher, colour arithmetic and the band layout of
// two-colour gradients. None keeps state. Text positions are 1-based, 0 meaning not found.
// Locale values (separators, short date format) are read from plat::FormatSettings at each
// call. Drawing routines on a canvas are in ExtDraw.h.
#include <string>
#include <vector>

#include "plat/Grids.h"
#include "plat/String.h"
#include "plat/SysUtils.h"
#include "plat/Types.h"

namespace plat { class TStrings; }

namespace grid {

using plat::String;
using plat::StringView;
using plat::TColor;
using plat::TDateTime;

// ---- character classes ----------------------------------------------------------------
bool IsDigitChar(char16_t c);
bool IsDigitOrMinus(char16_t c);
bool IsNumberChar(char16_t c);        // digit, locale thousand/decimal separator, e, E
bool IsFloatChar(char16_t c);         // digit , - . e E +
bool IsSignedNumberChar(char16_t c);  // IsNumberChar, + or -
bool IsWordSeparator(char16_t c);     // blank ' , - .

// ---- small text operations ------------------------------------------------------------
int PosInUpperText(StringView pattern, StringView text);
int FindPos(StringView sub, StringView text, int& position);
int FindCharPos(char16_t ch, StringView text, int& position);  // position written only when found
int CharPos(char16_t ch, StringView text);
int WidePos(StringView sub, StringView text);
int CountChar(char16_t ch, StringView text);
// Passes over doubled characters (doubled quotes inside a CSV field): the last position of
// the first odd-length run followed by another character, or of a run ending the text.
int FindSingleCharPos(char16_t ch, StringView text, int& position);
int CountSingleChar(char16_t ch, StringView text);
// The part before the first delimiter; text loses it and the delimiter's first character.
// Without the delimiter: empty, text unchanged.
String ExtractToken(String& text, StringView delimiter);
String ConcatListItems(const plat::TStrings& strings);
int MaxOf(int a, int b);
int MinOf(int a, int b);
// A limit of 0 or less is no limit; minimum = maximum leaves the value alone.
int ClampToLimits(int value, int minimum, int maximum);
bool CellInGridRect(const plat::TGridRect& rect, int col, int row);
void FillWithChar(String& text, char16_t ch);
String RemoveCRs(StringView text);
String CRToLF(StringView text);
int LineCount(StringView text, bool multiLine);
void ExtractFirstLine(String& text, bool keepRest, String& first);
String LineBreaksToMarkup(StringView text);
// To and from the OEM code page (437): each character becomes the character of its byte
// value; a character the code page lacks becomes "?".
void TextToOem(String& text);
void OemToText(String& text);
String CapitalizeWords(StringView text);
String FormatHexRGB(TColor color);  // "RRGGBB"
bool IsHyperlink(StringView text);
void StripUrlScheme(String& text);
// "R<row>C<col>" (any case) into (column, row).
bool ParseCellReference(StringView text, plat::TPoint& cell);
bool HasTwoDateSeparators(StringView text);

// ---- CSV, clipboard and cell-file conversions -------------------------------------------
String DoubleQuoteChars(StringView text);
String UndoubleChar(char16_t ch, StringView text);
void QuoteMultilineField(String& text);
void VerticalTabToLineBreak(String& text);
void RemoveCRFromCRLF(String& text);
void LineBreakToTilde(String& text);
void TildeToLineBreak(String& text);
String LineBreakToEscapedNewline(StringView text);
String EscapedNewlineToLineBreak(StringView text);
String EncodeControlChars(StringView text);
String DecodeControlChars(StringView text, bool allLines);
// "|\" then two characters per UTF-16 unit, high byte first.
String EncodeEscapedUnicode(StringView wide);
String DecodeEscapedUnicode(StringView text);
// The clipboard's "HTML Format": header with byte offsets, the document around the
// fragment, all as UTF-8 (declared so in the document). The offsets count bytes of the
// returned text, so non-ASCII fragments are cut where readers expect them.
std::string WrapHtmlClipboardFormat(StringView fragment);

// ---- numbers and dates ----------------------------------------------------------------
enum TNumberKind { nkInteger = 0, nkReal = 1, nkNotANumber = 2, nkExponent = 5 };
String NormalizeFloatText(StringView text);
String ExtractNumericText(StringView text);
int ClassifyNumberText(StringView text);
// Day, month and year in the order of the locale's short date format, the locale date
// separator, an optional time part with the locale time separator. Years are taken as
// written.
bool TextToDateByFormat(StringView text, TDateTime& dateTime);
// "m/d/y" and "d/m/y" with "/", "." or "-": years 0..25 are 20xx, 26..99 are 19xx, longer
// years are taken as written. EConvertError for an impossible date; 0 for a text that is
// not three numbers.
TDateTime ParseMonthDayYear(StringView text);
TDateTime ParseDayMonthYear(StringView text);
TDateTime IncDatePart(int yearDiff, int monthDiff, int dayDiff, TDateTime dateDiff, TDateTime date);

// ---- cell texts ---------------------------------------------------------------------------
enum TCellTextKind { ctPlain = 0, ctMarkup = 1, ctRtf = 2, ctFormula = 3, ctEscapedUnicode = 5 };
int DetectCellTextKind(StringView text, bool markupEnabled);
// Escapes "<" and ">" and wraps the first link that starts with prefix (upper case) in an
// anchor. False when the text holds no such link.
bool LinkifyText(StringView text, StringView prefix, String& result);

// ---- filter expressions -----------------------------------------------------------------
// Terms joined by "&" (and), "|", ";" or "^" (or), strictly left to right, groups in
// parentheses; a term is a wildcard pattern ("*", "?", "!" negates) or a comparison
// (">", ">=", "<", "<=") that compares numbers, dates or texts.
bool MatchFilterExpression(StringView expression, StringView text, bool caseSensitive);
bool MatchFilterTerm(StringView term, StringView text, bool caseSensitive);
bool MatchFilterCondition(StringView pattern, StringView value);

// ---- colours and gradients ------------------------------------------------------------
TColor HalfToneColor(TColor color);
// Each component scaled by (100 + percent) / 100 and kept within 0..255.
TColor BrightenColorPercent(TColor color, int percent);
TColor InterpolateColor(TColor fromColor, TColor toColor, int first, int step, int last);

struct TGradientBand {
    plat::TRect Rect;
    TColor Color;
    friend bool operator==(const TGradientBand&, const TGradientBand&) = default;
};
// The bands DrawGradientRect paints, in order: one rectangle of one colour when either
// colour is none, else steps + 1 bands (steps limited to the extent less one and raised to
// at least 1), the last one cut at the far edge.
std::vector<TGradientBand> GradientBands(TColor fromColor, TColor toColor, bool horizontal,
                                         plat::TRect rect, int steps);

// Cell text in a one-line record: '#' as "#35", CR as "#13", LF as "#10"; Unescape reverses
// it and leaves any other '#' as it is.
String EscapeCellText(StringView s);
String UnescapeCellText(StringView s);

// Calls f with each line of a text (lines separated by CR LF, CR or LF).
template <class F>
void ForEachLine(StringView t, F&& f) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t br = t.find_first_of(u"\r\n", start);
        f(t.substr(start, br == StringView::npos ? StringView::npos : br - start));
        if (br == StringView::npos) return;
        start = br + (t[br] == u'\r' && br + 1 < t.size() && t[br + 1] == u'\n' ? 2 : 1);
    }
}

} // namespace grid
