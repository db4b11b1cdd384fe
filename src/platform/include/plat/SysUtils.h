#pragma once
// Text, number and date routines with the framework's rules.
// - Positions given to Pos/Copy/Delete/Insert are 1-based, counted in UTF-16 units.
// - Integers: decimal with an optional sign, or hexadecimal after "$" or "0x"; no blanks,
//   no overflow. Hex text may use the full unsigned width ("$FFFFFFFF" is -1 as int).
// - Floats follow a TFormatSettings (its decimal separator only; no thousands); surrounding
//   blanks are allowed, as the framework's float parser allows them.
// - TDateTime counts days since 1899-12-30; the fraction is the time of day.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

#include "plat/Exception.h"
#include "plat/String.h"

namespace plat {

// ---- case and trimming -------------------------------------------------------------
String Trim(StringView s);       // drops characters <= ' ' at both ends
String TrimLeft(StringView s);
String TrimRight(StringView s);
String UpperCase(StringView s);  // a-z only
String LowerCase(StringView s);  // A-Z only
String AnsiUpperCase(StringView s);  // every cased character of the Basic Multilingual Plane
String AnsiLowerCase(StringView s);

int CompareStr(StringView a, StringView b);       // ordinal; <0, 0, >0
int CompareText(StringView a, StringView b);      // ordinal after a-z folding
bool SameText(StringView a, StringView b);
int AnsiCompareStr(StringView a, StringView b);
int AnsiCompareText(StringView a, StringView b);  // ordinal after Unicode folding
bool AnsiSameText(StringView a, StringView b);

// ---- 1-based helpers -----------------------------------------------------------------
int Pos(StringView sub, StringView s);                     // 0 when absent or sub is empty
int PosEx(StringView sub, StringView s, int offset);       // search from offset (1-based)
String Copy(StringView s, int index, int count);           // clamps like the framework
void Delete(String& s, int index, int count);
void Insert(StringView sub, String& s, int index);
String StringOfChar(char16_t c, int count);
String QuotedStr(StringView s);                            // 'it''s'

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
String StringReplace(StringView s, StringView oldPattern, StringView newPattern,
                     TReplaceFlags flags);

// ---- locale ---------------------------------------------------------------------------
struct TFormatSettings {
    char16_t DecimalSeparator = u'.';
    char16_t ThousandSeparator = u',';
    char16_t DateSeparator = u'/';
    char16_t TimeSeparator = u':';
    char16_t ListSeparator = u',';
    String ShortDateFormat = u"dd/mm/yyyy";
    String LongDateFormat = u"dd mmmm yyyy";
    String ShortTimeFormat = u"hh:nn";
    String LongTimeFormat = u"hh:nn:ss";
    String TimeAMString = u"AM";
    String TimePMString = u"PM";
};

// The process-wide settings every routine without an explicit settings argument uses; taken
// from the user's locale at start-up (the defaults above under the C/POSIX locale).
// Tests replace it freely (it is a plain variable).
extern TFormatSettings FormatSettings;

// Settings of a named locale ("" = the environment's); the defaults for C/POSIX or a locale
// that is not installed.
TFormatSettings LocaleFormatSettings(const char* LocaleName);
// The same from the locale's data: radix and thousands characters, strftime date and time
// formats ("%d.%m.%Y", "%H:%M:%S").
TFormatSettings FormatSettingsFromLocaleData(StringView Radix, StringView Thousands, StringView DateFormat,
                                             StringView TimeFormat);

// The user profile's decimal separator ("sDecimal"), read separately from FormatSettings:
// the locale's radix character unless overridden. Override with 0 to go back to the locale.
char16_t GetProfileDecimalSeparator();
void SetProfileDecimalSeparator(char16_t overrideValue);

// ---- integers -------------------------------------------------------------------------
String Int64ToStr(std::int64_t value);
String UInt64ToStr(std::uint64_t value);
template <class T>
    requires std::is_integral_v<T>
String IntToStr(T value)
{
    if constexpr (std::is_signed_v<T>)
        return Int64ToStr(static_cast<std::int64_t>(value));
    else
        return UInt64ToStr(static_cast<std::uint64_t>(value));
}
// Upper case, at least `digits` digits; negative values in the width of their type.
String UIntToHex(std::uint64_t value, int digits);
template <class T>
    requires std::is_integral_v<T>
String IntToHex(T value, int digits)
{
    return UIntToHex(static_cast<std::make_unsigned_t<T>>(value), digits);
}

bool TryStrToInt(StringView s, int& value);
int StrToInt(StringView s);  // EConvertError "'<s>' is not a valid integer value"
int StrToIntDef(StringView s, int defaultValue);
bool TryStrToInt64(StringView s, std::int64_t& value);
std::int64_t StrToInt64(StringView s);
std::int64_t StrToInt64Def(StringView s, std::int64_t defaultValue);

// ---- floats ---------------------------------------------------------------------------
bool TryStrToFloat(StringView s, double& value);
bool TryStrToFloat(StringView s, double& value, const TFormatSettings& fs);
double StrToFloat(StringView s);  // EConvertError "'<s>' is not a valid floating point value"
double StrToFloat(StringView s, const TFormatSettings& fs);
double StrToFloatDef(StringView s, double defaultValue);
double StrToFloatDef(StringView s, double defaultValue, const TFormatSettings& fs);
// Shortest form with 15 significant digits: "0.1", "1E20", "1E-5", "-2.5".
String FloatToStr(double value);
String FloatToStr(double value, const TFormatSettings& fs);
// Pictures of "0", "#", ".", ",", "E+"/"E-", quoted literals and up to three ";" sections.
String FormatFloat(StringView format, double value);
String FormatFloat(StringView format, double value, const TFormatSettings& fs);

// ---- Format ---------------------------------------------------------------------------
// One argument of Format: integers, floats, texts and characters.
class FormatArg {
public:
    enum class Kind { Int, UInt, Float, Text, Char };
    template <class T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char16_t> &&
                 !std::is_same_v<T, char>)
    FormatArg(T v)
        : kind_(std::is_signed_v<T> ? Kind::Int : Kind::UInt)
    {
        if constexpr (std::is_signed_v<T>)
            i_ = v;
        else
            u_ = v;
    }
    FormatArg(bool v) : kind_(Kind::Int), i_(v ? 1 : 0) {}
    FormatArg(double v) : kind_(Kind::Float), d_(v) {}
    FormatArg(float v) : kind_(Kind::Float), d_(v) {}
    FormatArg(char16_t c) : kind_(Kind::Char), c_(c) {}
    FormatArg(StringView s) : kind_(Kind::Text), s_(s) {}
    FormatArg(const String& s) : kind_(Kind::Text), s_(s) {}
    FormatArg(const char16_t* s) : kind_(Kind::Text), s_(s) {}

    Kind kind() const { return kind_; }
    std::int64_t asInt() const { return i_; }
    std::uint64_t asUInt() const { return u_; }
    double asFloat() const { return d_; }
    char16_t asChar() const { return c_; }
    StringView asText() const { return s_; }

private:
    Kind kind_;
    std::int64_t i_ = 0;
    std::uint64_t u_ = 0;
    double d_ = 0;
    char16_t c_ = 0;
    StringView s_;
};

// %d %u %x %X %s %c %f %e %g %n %m %% with "[index:][-][0][width][.prec]"; "*" takes the width
// from the arguments. A mismatch raises EConvertError "Format '<fmt>' invalid or incompatible
// with argument".
String Format(StringView fmt, std::initializer_list<FormatArg> args);
String Format(StringView fmt, std::initializer_list<FormatArg> args, const TFormatSettings& fs);

// ---- dates and times ------------------------------------------------------------------
using TDateTime = double;

TDateTime EncodeDate(int year, int month, int day);  // EConvertError on an invalid date
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // EConvertError when out of range
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);
int DayOfWeek(TDateTime value);  // 1 = Sunday
// The whole day of a value and its time of day (a positive fraction, also before 1899, whose
// values count the time away from zero); ComposeDateTime joins the two the same way.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
TDateTime Now();                 // through the replaceable clock (plat/Clock.h)
TDateTime Date();
TDateTime Time();

// d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm c t tt "/" ":" and quoted text.
String FormatDateTime(StringView format, TDateTime value);
String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& fs);
String DateToStr(TDateTime value);      // ShortDateFormat
String TimeToStr(TDateTime value);      // LongTimeFormat
String DateTimeToStr(TDateTime value);  // date, then the time unless it is midnight

} // namespace plat
