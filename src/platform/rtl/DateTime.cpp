#include <cmath>
#include <cstdint>

#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace plat {

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Days from 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// 1899-12-30 is day 0.
const std::int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

// Whole milliseconds of a TDateTime: days and the time of day, rounded once so that the
// date and the time never disagree (23:59:59.9996 rounds into the next day).
void Split(TDateTime value, std::int64_t& days, std::int64_t& msOfDay)
{
    // Outside the years 1..9999 (and for NaN) there is no date to show.
    if (!(value >= -693594.0 && value < 2958466.0)) {
        days = 0;
        msOfDay = 0;
        return;
    }
    const double wholeDays = std::trunc(value);
    const double frac = std::fabs(value - wholeDays);
    std::int64_t ms = std::llround(frac * kMsPerDay);
    days = static_cast<std::int64_t>(wholeDays);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += value < 0 ? -1 : 1;
    }
    msOfDay = ms;
}

const char16_t* const kShortMonth[12] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                          u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
const char16_t* const kLongMonth[12] = {u"January", u"February", u"March", u"April", u"May", u"June",
                                         u"July", u"August", u"September", u"October", u"November",
                                         u"December"};
const char16_t* const kShortDay[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
const char16_t* const kLongDay[7] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday",
                                      u"Friday", u"Saturday"};

String Pad(int v, int width)
{
    String s = Int64ToStr(v);
    while (static_cast<int>(s.size()) < width)
        s.insert(s.begin(), u'0');
    return s;
}

char16_t Up(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool StartsWithNoCase(StringView s, std::size_t i, StringView what)
{
    if (i + what.size() > s.size())
        return false;
    for (std::size_t k = 0; k < what.size(); ++k)
        if (Up(s[i + k]) != Up(what[k]))
            return false;
    return true;
}

void AppendFormatted(String& out, StringView f, TDateTime value, const TFormatSettings& fs, int depth);

} // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInAMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
        return false;
    value = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                kEpochOffset);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime v;
    if (!TryEncodeDate(year, month, day, v))
        throw EConvertError(u"Invalid argument to date encode");
    return v;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    std::int64_t days, ms;
    Split(value, days, ms);
    CivilFromDays(days + kEpochOffset, year, month, day);
}

TDateTime DateOf(TDateTime value)
{
    return std::trunc(value);
}

TDateTime TimeOf(TDateTime value)
{
    return std::fabs(value - std::trunc(value));
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    const TDateTime d = std::trunc(date);
    const TDateTime t = std::fabs(time - std::trunc(time));
    return d < 0 ? d - t : d + t;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
        return false;
    value = static_cast<double>(((hour * 60 + min) * 60 + sec) * 1000 + msec) / kMsPerDay;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime v;
    if (!TryEncodeTime(hour, min, sec, msec, v))
        throw EConvertError(u"Invalid argument to time encode");
    return v;
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec)
{
    std::int64_t days, ms;
    Split(value, days, ms);
    msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    sec = static_cast<int>(ms % 60);
    ms /= 60;
    min = static_cast<int>(ms % 60);
    hour = static_cast<int>(ms / 60);
}

int DayOfWeek(TDateTime value)
{
    std::int64_t days, ms;
    Split(value, days, ms);
    // 1899-12-30 was a Saturday (7).
    const std::int64_t w = ((days + 6) % 7 + 7) % 7;
    return static_cast<int>(w) + 1;
}

TDateTime Date() { return std::floor(Now()); }
TDateTime Time()
{
    const TDateTime n = Now();
    return n - std::floor(n);
}

namespace {

void AppendFormatted(String& out, StringView f, TDateTime value, const TFormatSettings& fs, int depth)
{
    if (depth > 3)
        return;
    int y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    // 12-hour clock when the picture holds an am/pm specifier.
    const bool twelve =
        (f.find(u"am/pm") != StringView::npos || f.find(u"AM/PM") != StringView::npos ||
                         f.find(u"a/p") != StringView::npos || f.find(u"A/P") != StringView::npos ||
                         f.find(u"ampm") != StringView::npos || f.find(u"AMPM") != StringView::npos);
    bool lastWasHour = false;
    std::size_t i = 0;
    while (i < f.size()) {
        const char16_t c = f[i];
        const char16_t u = Up(c);
        std::size_t run = 1;
        while (i + run < f.size() && Up(f[i + run]) == u)
            ++run;
        if (c == u'\'' || c == u'"') {
            std::size_t j = i + 1;
            while (j < f.size() && f[j] != c)
                ++j;
            out.append(f.substr(i + 1, j - i - 1));
            i = j + 1;
            continue;
        }
        if (u == u'A') {
            if (StartsWithNoCase(f, i, u"am/pm")) {
                out += h < 12 ? (f[i] == u'a' ? u"am" : u"AM") : (f[i] == u'a' ? u"pm" : u"PM");
                i += 5;
                continue;
            }
            if (StartsWithNoCase(f, i, u"a/p")) {
                out += h < 12 ? (f[i] == u'a' ? u'a' : u'A') : (f[i] == u'a' ? u'p' : u'P');
                i += 3;
                continue;
            }
            if (StartsWithNoCase(f, i, u"ampm")) {
                out += h < 12 ? fs.TimeAMString : fs.TimePMString;
                i += 4;
                continue;
            }
        }
        switch (u) {
        case u'D':
            if (run == 1) out += Int64ToStr(d);
            else if (run == 2) out += Pad(d, 2);
            else if (run == 3) out += kShortDay[DayOfWeek(value) - 1];
            else if (run == 4) out += kLongDay[DayOfWeek(value) - 1];
            else if (run == 5) AppendFormatted(out, fs.ShortDateFormat, value, fs, depth + 1);
            else AppendFormatted(out, fs.LongDateFormat, value, fs, depth + 1);
            lastWasHour = false;
            break;
        case u'M':
            if (lastWasHour && run <= 2) {
                out += run == 1 ? Int64ToStr(mi) : Pad(mi, 2);
            } else if (run == 1) out += Int64ToStr(mo);
            else if (run == 2) out += Pad(mo, 2);
            else if (run == 3) out += kShortMonth[mo - 1];
            else out += kLongMonth[mo - 1];
            lastWasHour = false;
            break;
        case u'Y':
            out += run <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
            lastWasHour = false;
            break;
        case u'H': {
            int hh = h;
            if (twelve) {
                hh = h % 12;
                if (hh == 0)
                    hh = 12;
            }
            out += run == 1 ? Int64ToStr(hh) : Pad(hh, 2);
            lastWasHour = true;
            break;
        }
        case u'N':
            out += run == 1 ? Int64ToStr(mi) : Pad(mi, 2);
            lastWasHour = false;
            break;
        case u'S':
            out += run == 1 ? Int64ToStr(s) : Pad(s, 2);
            lastWasHour = false;
            break;
        case u'Z':
            out += run >= 3 ? Pad(ms, 3) : Int64ToStr(ms);
            lastWasHour = false;
            break;
        case u'T':
            AppendFormatted(out, run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value, fs, depth + 1);
            lastWasHour = false;
            break;
        case u'C':
            AppendFormatted(out, fs.ShortDateFormat, value, fs, depth + 1);
            if (h != 0 || mi != 0 || s != 0) {
                out += u' ';
                AppendFormatted(out, fs.LongTimeFormat, value, fs, depth + 1);
            }
            break;
        case u'/':
            for (std::size_t k = 0; k < run; ++k)
                out += fs.DateSeparator;
            break;
        case u':':
            for (std::size_t k = 0; k < run; ++k)
                out += fs.TimeSeparator;
            break;
        default:
            out.append(f.substr(i, run));
            break;
        }
        // Long runs of y/z/t are one token, other letters keep their run.
        i += run;
    }
}

} // namespace

String FormatDateTime(StringView format, TDateTime value) { return FormatDateTime(format, value, FormatSettings); }

String FormatDateTime(StringView format, TDateTime value, const TFormatSettings& fs)
{
    String out;
    AppendFormatted(out, format.empty() ? StringView(u"c") : format, value, fs, 0);
    return out;
}

String DateToStr(TDateTime value) { return FormatDateTime(FormatSettings.ShortDateFormat, value); }
String TimeToStr(TDateTime value) { return FormatDateTime(FormatSettings.LongTimeFormat, value); }
String DateTimeToStr(TDateTime value) { return FormatDateTime(u"c", value); }

} // namespace plat
