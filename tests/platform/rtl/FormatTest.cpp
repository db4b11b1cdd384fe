#include <gtest/gtest.h>

#include "TestUtil.h"
#include "plat/SysUtils.h"

namespace plat {
namespace {

using test::ThrowsWith;
using test::U8;

TEST(FormatText, Specifiers)
{
    TFormatSettings comma;
    comma.DecimalSeparator = u',';
    comma.ThousandSeparator = u'.';
    const String name = u"row";
    struct Case {
        String result;
        String expected;
    };
    const Case cases[] = {
        {Format(u"%d", {42}), u"42"},
        {Format(u"%d", {-7}), u"-7"},
        {Format(u"%5d|", {42}), u"   42|"},
        {Format(u"%-5d|", {42}), u"42   |"},
        {Format(u"%05d", {-42}), u"-0042"},
        {Format(u"%.3d", {7}), u"007"},
        {Format(u"%d", {INT64_MIN}), u"-9223372036854775808"},
        {Format(u"%u", {-1}), u"4294967295"},
        {Format(u"%x", {255}), u"FF"},
        {Format(u"%X", {255}), u"FF"},
        {Format(u"%.4x", {255}), u"00FF"},
        {Format(u"%x", {-1}), u"FFFFFFFF"},
        {Format(u"%s=%s", {name, u"x"}), u"row=x"},
        {Format(u"%-6s|", {u"ab"}), u"ab    |"},
        {Format(u"%6s|", {u"ab"}), u"    ab|"},
        {Format(u"%.2s", {u"abcd"}), u"ab"},
        {Format(u"%c%c", {u'o', u'k'}), u"ok"},
        {Format(u"%.2f", {1.005}), u"1.01"},
        {Format(u"%.0f", {2.5}), u"3"},
        {Format(u"%f", {3.14159}), u"3.14"},
        {Format(u"%8.3f|", {-3.14159}), u"  -3.142|"},
        {Format(u"%.2f", {-0.001}), u"0.00"},
        {Format(u"%.1f", {5}), u"5.0"},  // an integer where a float is expected is taken as one
        {Format(u"%.2f", {1.5}, comma), u"1,50"},
        {Format(u"%n", {1234567.5}), u"1,234,567.50"},
        {Format(u"%.1n", {1234567.5}, comma), u"1.234.567,5"},
        {Format(u"%e", {1234.5}), u"1.23450000000000E+003"},
        {Format(u"%.3e", {0.00012345}), u"1.23E-004"},
        {Format(u"%g", {0.5}), u"0.5"},
        {Format(u"100%%", {}), u"100%"},
        {Format(u"%1:s %0:s %s", {u"a", u"b"}), u"b a b"},
        {Format(u"%*d", {4, 7}), u"   7"},
        {Format(u"Error row %d%s", {3, u" !!"}), u"Error row 3 !!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, c.expected) << U8(c.expected);
}

TEST(FormatText, MismatchRaises)
{
    struct Case {
        String fmt;
        std::function<String()> call;
    };
    const Case cases[] = {
        {u"%d", [] { return Format(u"%d", {1.5}); }},
        {u"%d", [] { return Format(u"%d", {u"x"}); }},
        {u"%s", [] { return Format(u"%s", {5}); }},
        {u"%d %d", [] { return Format(u"%d %d", {5}); }},
        {u"%", [] { return Format(u"%", {5}); }},
        {u"%k", [] { return Format(u"%k", {5}); }},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(ThrowsWith<EConvertError>([&] { c.call(); },
                                              u"Format '" + c.fmt + u"' invalid or incompatible with argument"))
            << U8(c.fmt);
}

} // namespace
} // namespace plat
