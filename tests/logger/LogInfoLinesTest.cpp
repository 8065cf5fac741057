// The logger information's ten lines from a fixed snapshot and clock: the
// counts, the interval and entries, the hours until the buffer is full (past
// 16 bits too), the clocks, the link's error counts, and the phase of the
// local clock against the logger's interval timer, with none for an interval
// of 0.
#include "logger/LogInfo.h"
#include "logger/LogTime.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace Quorvel1;

namespace {

class LogInfoLinesTest : public ::testing::Test {
protected:
    LogInfoLinesTest()
    {
        QLocale::setDefault(QLocale::c());
        info.Status.Counts = {3, 1, 2, 0, 4};
        info.Status.Interval = 900;
        info.Status.NewEntries = 96;
        info.Status.Entries = 1200;
        info.Status.DataLevel = 37;
        info.Status.FullIn = 40;
        info.Status.IntervalTimer = 740;
        info.PCTime = Stamp(45999, 9, 0, 20);
        info.LoggerTime = Stamp(45999, 10, 0, 5);
    }
    ~LogInfoLinesTest() override { QLocale::setDefault(QLocale::system()); }

    static std::uint32_t Stamp(std::uint16_t day, int hour, int minute, int second)
    {
        return LoggerDateToStamp({day, std::uint8_t(hour), std::uint8_t(minute), std::uint8_t(second)});
    }
    QStringList Lines() { return LogInfoLines(info, Stamp(45999, 10, 0, 20), 2, 5); }

    TLogInfo info;
};

} // namespace

TEST_F(LogInfoLinesTest, TenLinesFromTheSnapshot)
{
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], "Sensors/Trips: 3/1,  Outputs/On-offs: 2/0,  ASMs: 4");
    EXPECT_EQ(lines[1], "Interval: 900s,  New/Entries: 96/1200,  Data-level: 37%");
    EXPECT_EQ(lines[2], "Full in: 1days 16hrs,  Total: 2days 16hrs");
    EXPECT_EQ(lines[3], "---");
    // Day 45999 from 1900 is 2025-12-10.
    EXPECT_EQ(lines[4], "PC time (local): 10 Dec 2025 10:00:20");
    EXPECT_EQ(lines[5], "PC time (GMT): 10 Dec 2025 09:00:20");
    EXPECT_EQ(lines[6], "Logger time: 10 Dec 2025 10:00:05");
    EXPECT_EQ(lines[7], "---");
    EXPECT_EQ(lines[8], "Resets: 2, ChkErrs: 5");
    EXPECT_EQ(lines[9], "Interval timer: 740secs, Clock: 20secs, Offset: 180secs");
}

TEST_F(LogInfoLinesTest, PhaseOfTheLocalClock)
{
    struct {
        std::uint16_t Interval, Timer;
        const char* Line;
    } const cases[] = {
        {900, 740, "Interval timer: 740secs, Clock: 20secs, Offset: 180secs"},
        {900, 10, "Interval timer: 10secs, Clock: 20secs, Offset: 10secs"},
        {900, 20, "Interval timer: 20secs, Clock: 20secs, Offset: 0secs"},
        {60, 905, "Interval timer: 905secs, Clock: 20secs, Offset: 15secs"}, // timer past the interval
        {0, 740, "Interval timer: 740secs, Clock: -, Offset: -"},
    };
    for (const auto& c : cases) {
        info.Status.Interval = c.Interval;
        info.Status.IntervalTimer = c.Timer;
        EXPECT_EQ(Lines()[9], c.Line) << c.Interval << " " << c.Timer;
    }
}

// 14400 s x 65535 new entries is 262140 hours, far past 16 bits.
TEST_F(LogInfoLinesTest, TotalHoursRunPastSixteenBits)
{
    info.Status.Interval = 14400;
    info.Status.NewEntries = 65535;
    info.Status.FullIn = 30;
    EXPECT_EQ(Lines()[2], "Full in: 1days 6hrs,  Total: 10923days 18hrs");
    info.Status.Interval = 0;
    EXPECT_EQ(Lines()[1], "Interval: 0s,  New/Entries: 65535/1200,  Data-level: 37%");
    EXPECT_EQ(Lines()[2], "Full in: 1days 6hrs,  Total: 1days 6hrs");
}
