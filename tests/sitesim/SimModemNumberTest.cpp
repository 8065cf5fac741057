// The simulator's modem with the site's number set: only a dial to that
// number is answered with the scenario's result.
#include "SimModem.h"
#include "SimScenario.h"

#include <gtest/gtest.h>

#include <string>

using namespace SiteSim;
using namespace std::chrono_literals;

namespace {

using TimePoint = SimModem::TimePoint;

std::string Dial(const std::string& command, const std::string& number)
{
    SimModemSettings settings;
    settings.Delay = 200ms;
    settings.Number = number;
    SimModem modem(settings, {});
    const TimePoint start = TimePoint() + 1h;
    for (char c : command + "\r")
        modem.Receive(uint8_t(c), start);
    const SimModem::Bytes result = modem.Tick(start + 200ms);
    return std::string(result.begin(), result.end());
}

} // namespace

TEST(SimModemNumber, DialToTheSitesNumberConnects)
{
    EXPECT_EQ(Dial("ATDT9w0123 456*7", "9W0123456*7"), "\r\nCONNECT\r\n");
}

TEST(SimModemNumber, DialToAnotherNumberIsNotAnswered)
{
    EXPECT_EQ(Dial("ATDT0123456", "9W0123456*7"), "\r\nNO ANSWER\r\n");
}

TEST(SimModemNumber, WithoutANumberEveryDialConnects)
{
    EXPECT_EQ(Dial("ATDT5", ""), "\r\nCONNECT\r\n");
}

TEST(SimModemNumber, ScenarioLineSetsTheNumberInUpperCase)
{
    EXPECT_EQ(SimScenario::Parse("modem number 9w0123*7\n").Modem.Number, "9W0123*7");
    EXPECT_THROW(SimScenario::Parse("modem number\n"), ScenarioError);
}
