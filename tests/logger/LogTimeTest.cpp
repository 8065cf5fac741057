// Logger dates (days from 1900-01-01) and the model's time stamps (seconds
// from 1970-01-01), and the interval synchronisation's arithmetic.
#include "logger/LogIF.h"
#include "logger/LogTime.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

TEST(LoggerDate, Day25567IsTheStartOf1970)
{
    EXPECT_EQ(LoggerDateToStamp({25567, 0, 0, 0}), 0u);
    EXPECT_EQ(LoggerDateToStamp({25567, 1, 2, 3}), 3723u);
}

TEST(LoggerDate, ConvertsBothWays)
{
    // 2023-09-13 is day 45180 from 1900-01-01; 1694601045 is 10:30:45 UTC that day.
    EXPECT_EQ(LoggerDateToStamp({45180, 10, 30, 45}), 1694601045u);
    const TLoggerDate date = StampToLoggerDate(1694601045u);
    EXPECT_EQ(date.Day, 45180);
    EXPECT_EQ(date.Hour, 10);
    EXPECT_EQ(date.Minute, 30);
    EXPECT_EQ(date.Second, 45);
}

TEST(IntervalSynch, TimerOffTheGridIsReplaced)
{
    // 900 s at 10:00:20: phase 20, next grid point in 40 s.
    EXPECT_EQ(IntervalSynchTimer(900, 100, 10 * 3600 + 20), 860);
}

TEST(IntervalSynch, TimerWithinThirtySecondsIsLeftAlone)
{
    EXPECT_EQ(IntervalSynchTimer(900, 850, 10 * 3600 + 20), std::nullopt);
    EXPECT_EQ(IntervalSynchTimer(900, 830, 10 * 3600 + 20), std::nullopt);  // difference +30
    EXPECT_EQ(IntervalSynchTimer(900, 890, 10 * 3600 + 20), std::nullopt);  // difference -30
    EXPECT_EQ(IntervalSynchTimer(900, 829, 10 * 3600 + 20), 860);           // +31
    EXPECT_EQ(IntervalSynchTimer(900, 891, 10 * 3600 + 20), 860);           // -31
}

TEST(IntervalSynch, TimerBeyondTheIntervalIsFoldedIn)
{
    // A held logger's timer of 1750 is 850 after one more interval: in step.
    EXPECT_EQ(IntervalSynchTimer(900, 1750, 10 * 3600 + 20), std::nullopt);
}

TEST(IntervalSynch, ExactlyOnAGridPointWantsAFullInterval)
{
    // At 00:16:00 (phase 60) the next grid point is now: timer 900 - 0.
    EXPECT_EQ(IntervalSynchTimer(900, 100, 960), 900);
}
