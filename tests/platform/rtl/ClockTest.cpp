#include <gtest/gtest.h>

#include <vector>

#include "plat/Clock.h"

namespace plat {
namespace {

TEST(FakeClockTest, TickCountWrapsAt32Bits)
{
    FakeClock clock(0xFFFFFF00u);
    ScopedClock use(clock);
    const std::uint32_t start = GetTickCount();
    clock.Advance(0x80);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF80u);
    clock.Advance(0x100);
    EXPECT_EQ(GetTickCount(), 0x80u);
    // Elapsed time stays right across the wrap.
    EXPECT_EQ(GetTickCount() - start, 0x180u);
    EXPECT_EQ(TicksSince(start), 0x180u);
}

TEST(FakeClockTest, SleepAdvancesAndNotifies)
{
    FakeClock clock(1000, 45000.0);
    ScopedClock use(clock);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> seen;
    clock.SetAdvanceListener([&](std::uint32_t before, std::uint32_t after) { seen.emplace_back(before, after); });
    Sleep(250);
    clock.Advance(50);
    EXPECT_EQ(GetTickCount(), 1300u);
    EXPECT_DOUBLE_EQ(Now(), 45000.0 + 300.0 / 86400000.0);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{1000, 1250}, {1250, 1300}};
    EXPECT_EQ(seen, expected);
}

TEST(FakeClockTest, ListenerMayReadTheClock)
{
    FakeClock clock(0);
    ScopedClock use(clock);
    std::uint32_t readInside = 0;
    clock.SetAdvanceListener([&](std::uint32_t, std::uint32_t) { readInside = GetTickCount(); });
    clock.Advance(10);  // would deadlock if the listener ran under the clock's lock
    EXPECT_EQ(readInside, 10u);
}

TEST(ClockSwitching, ScopedClockRestoresThePrevious)
{
    IClock* before = &CurrentClock();
    {
        FakeClock outer(5);
        ScopedClock a(outer);
        {
            FakeClock inner(7);
            ScopedClock b(inner);
            EXPECT_EQ(GetTickCount(), 7u);
        }
        EXPECT_EQ(GetTickCount(), 5u);
    }
    EXPECT_EQ(&CurrentClock(), before);
}

TEST(SystemClock, MovesForwardAndNowIsToday)
{
    const std::uint32_t t0 = GetTickCount();
    Sleep(20);
    const std::uint32_t dt = GetTickCount() - t0;
    EXPECT_GE(dt, 20u);
    EXPECT_GT(Now(), 45000.0);  // after 2023
}

} // namespace
} // namespace plat
