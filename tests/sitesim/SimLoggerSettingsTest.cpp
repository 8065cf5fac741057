// The scenario's logger lines.
#include "SimLoggerSettings.h"
#include "ScenarioWords.h"

#include <gtest/gtest.h>

using namespace SiteSim;

namespace {

SimLoggerSettings Parsed(std::initializer_list<const char*> lines)
{
    SimLoggerSettings settings;
    int number = 0;
    for (const char* line : lines)
        ParseLoggerDirective(settings, SplitWords(line), ++number);
    return settings;
}

} // namespace

TEST(SimLoggerSettings, EachDirectiveChangesItsSetting)
{
    const SimLoggerSettings settings = Parsed({
        "logger interval 300", "logger buffer 0x800", "logger config 2100", "logger format 0x01FF",
        "logger fast 50", "logger prefill 200", "logger stop-when-full", "logger frozen",
        "logger clock-stopped", "logger seed 9", "logger corrupt-holds 2",
    });
    EXPECT_EQ(settings.Interval, 300);
    EXPECT_EQ(settings.BufferSize, 0x800);
    EXPECT_EQ(settings.ConfigSize, 2100);
    EXPECT_EQ(settings.FormatWord, 0x01FF);
    EXPECT_EQ(settings.FastMs, 50u);
    EXPECT_EQ(settings.Prefill, 200u);
    EXPECT_TRUE(settings.StopWhenFull);
    EXPECT_TRUE(settings.Frozen);
    EXPECT_TRUE(settings.ClockStopped);
    EXPECT_EQ(settings.Seed, 9u);
    EXPECT_EQ(settings.CorruptHolds, 2u);
    EXPECT_FALSE(Parsed({"logger none"}).Present);
}

TEST(SimLoggerSettings, DevicesReplaceTheDefaultList)
{
    const SimLoggerSettings settings = Parsed({"logger devices sensor:0x61:5 trip:0x63 onoff:10 asm:0x0221"});
    EXPECT_EQ(settings.Devices, (std::vector<SimLoggerDevice>{{SimDevSensor, 0x61, 5},
                                                               {SimDevTrip, 0x63, 2},
                                                               {SimDevOnOff, 10, 2},
                                                               {SimDevAsm, 0x0221, 2}}));
    EXPECT_TRUE(Parsed({"logger devices"}).Devices.empty());
}
