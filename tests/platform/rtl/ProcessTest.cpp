#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

#include "TestUtil.h"
#include "plat/Clock.h"
#include "plat/Process.h"

namespace plat {
namespace {

TEST(Programs, ParameterTextSplitting)
{
    struct Case {
        String text;
        std::vector<String> args;
    };
    const Case cases[] = {
        {u"", {}},
        {u"  a  b ", {u"a", u"b"}},
        {u"\"/path with space/job.xml\" -q", {u"/path with space/job.xml", u"-q"}},
        {u"say\"a b\"c", {u"saya bc"}},
        {u"\"with \"\"quote\"\"\"", {u"with \"quote\""}},
        {u"\"\"", {u""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitParameters(c.text), c.args) << test::U8(c.text);
}

TEST(Programs, ExitingProgramIsSeenEndedWithItsCode)
{
    String error;
    const TProcessHandle h = StartProgram(u"/bin/sh", u"-c \"exit 3\"", TShowMode::Hidden, &error);
    ASSERT_TRUE(h) << test::U8(error);
    EXPECT_TRUE(WaitForProgram(h, 10000));
    EXPECT_FALSE(IsRunning(h));
    EXPECT_FALSE(IsRunning(h));  // asking again after reaping
    EXPECT_EQ(ExitCodeOf(h), 3);
}

TEST(Programs, MissingProgramFailsAtOnce)
{
    struct Case {
        String program;
    };
    const Case cases[] = {{u"/nonexistent/program"}, {u"no-such-program-on-path-xyz"}, {u""}};
    for (const auto& c : cases) {
        String error;
        const TProcessHandle h = StartProgram(c.program, u"", TShowMode::Normal, &error);
        EXPECT_FALSE(h) << test::U8(c.program);
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(IsRunning(h));
    }
}

TEST(Programs, WaitStopsAtTheLimitAndLeavesTheProgramRunning)
{
    FakeClock clock(0xFFFFFFF0u);  // the limit is also reached across the tick wrap
    ScopedClock use(clock);
    const TProcessHandle h = StartProgram(u"/bin/sleep", u"30", TShowMode::Hidden);
    ASSERT_TRUE(h);
    EXPECT_FALSE(WaitForProgram(h, 150000));
    EXPECT_EQ(clock.GetTickCount(), 0xFFFFFFF0u + 150000u);
    EXPECT_TRUE(IsRunning(h));  // never killed by the layer
    ::kill(h.Pid, SIGKILL);     // the test cleans up after itself
    ::waitpid(h.Pid, nullptr, 0);
}

TEST(ShellOpening, HandlerRecordsInsteadOfLaunching)
{
    std::vector<String> opened;
    ShellOpenHandler previous = SetShellOpenHandler([&](const String& target) {
        opened.push_back(target);
        return true;
    });
    EXPECT_TRUE(ShellOpen(u"https://example.invalid/download"));
    EXPECT_TRUE(ShellOpen(u"/tmp/report.html"));
    SetShellOpenHandler(previous);
    EXPECT_EQ(opened, (std::vector<String>{u"https://example.invalid/download", u"/tmp/report.html"}));
}

} // namespace
} // namespace plat
