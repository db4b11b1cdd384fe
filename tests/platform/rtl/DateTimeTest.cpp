#include <gtest/gtest.h>

#include <cmath>

#include "TestUtil.h"
#include "plat/Clock.h"
#include "plat/SysUtils.h"

namespace plat {
namespace {

using test::ThrowsWith;
using test::U8;

TEST(Dates, EncodeDecodeRoundTrip)
{
    struct Case {
        int y, m, d;
        double serial;
        int dayOfWeek;  // 1 = Sunday
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},
        {1900, 1, 1, 2, 2},
        {2000, 2, 29, 36585, 3},
        {2026, 12, 10, 46366, 5},
        {1, 1, 1, -693593, 2},
        {9999, 12, 31, 2958465, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
        int y, m, d;
        // The time of day moves away from zero: before 1899-12-30 it is subtracted.
        DecodeDate(c.serial >= 0 ? c.serial + 0.75 : c.serial - 0.75, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek);
    }
}

TEST(Dates, InvalidArgumentsRaise)
{
    EXPECT_TRUE(ThrowsWith<EConvertError>([] { EncodeDate(2023, 2, 29); }, u"Invalid argument to date encode"));
    EXPECT_TRUE(ThrowsWith<EConvertError>([] { EncodeDate(2023, 13, 1); }, u"Invalid argument to date encode"));
    EXPECT_TRUE(ThrowsWith<EConvertError>([] { EncodeTime(24, 0, 0, 0); }, u"Invalid argument to time encode"));
    EXPECT_TRUE(ThrowsWith<EConvertError>([] { EncodeTime(1, 60, 0, 0); }, u"Invalid argument to time encode"));
}

TEST(Times, DecodeRoundsOnceAcrossMidnight)
{
    int h, n, s, ms;
    DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, ms);
    EXPECT_EQ(h, 13);
    EXPECT_EQ(n, 45);
    EXPECT_EQ(s, 30);
    EXPECT_EQ(ms, 250);
    // 0.2 ms before midnight rounds into the next day: date and time agree.
    const TDateTime late = EncodeDate(2024, 2, 28) + (86400000.0 - 0.2) / 86400000.0;
    int y, mo, d;
    DecodeDate(late, y, mo, d);
    DecodeTime(late, h, n, s, ms);
    EXPECT_EQ(d, 29);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(ms, 0);
    // A value with no date behind it (NaN, far out of range) decodes as day 0, not garbage.
    for (double bad : {std::nan(""), 1e300, -1e300}) {
        DecodeDate(bad, y, mo, d);
        EXPECT_EQ(y * 10000 + mo * 100 + d, 18991230);
    }
}

TEST(DateFormatting, PicturesAndSettings)
{
    TFormatSettings fs;
    fs.DateSeparator = u'.';
    fs.TimeSeparator = u'-';
    fs.ShortDateFormat = u"dd/mm/yyyy";
    fs.LongTimeFormat = u"hh:nn:ss";
    const TDateTime t = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 3, 42);
    struct Case {
        String picture;
        String expected;
    };
    const Case cases[] = {
        {u"dd/mm/yyyy", u"07.03.2026"},
        {u"d/m/yy", u"7.3.26"},
        {u"hh:nn:ss.zzz", u"09-05-03.042"},
        {u"h:mm", u"9-05"},  // m after h is the minute
        {u"ddd dddd mmm mmmm", u"Sat Saturday Mar March"},
        {u"yyyymmdd\"T\"hhnnss", u"20260307T090503"},
        {u"hh:nn am/pm", u"09-05 am"},
        {u"c", u"07.03.2026 09-05-03"},
        {u"ddddd tt", u"07.03.2026 09-05-03"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.picture, t, fs), c.expected) << U8(c.picture);
    EXPECT_EQ(FormatDateTime(u"hh AM/PM", EncodeTime(15, 0, 0, 0), fs), u"03 PM");
    EXPECT_EQ(FormatDateTime(u"c", EncodeDate(2026, 3, 7), fs), u"07.03.2026");  // midnight: no time
}

TEST(DateFormatting, NowComesFromTheInstalledClock)
{
    FakeClock clock(0, EncodeDate(2025, 1, 31) + EncodeTime(23, 59, 59, 0));
    ScopedClock use(clock);
    const TFormatSettings saved = FormatSettings;
    FormatSettings = TFormatSettings{};
    EXPECT_EQ(DateToStr(Now()), u"31/01/2025");
    EXPECT_EQ(TimeToStr(Now()), u"23:59:59");
    clock.Advance(1000);
    EXPECT_EQ(DateTimeToStr(Now()), u"01/02/2025");
    FormatSettings = saved;
}

} // namespace
} // namespace plat
