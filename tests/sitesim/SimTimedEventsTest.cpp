// The simulated site's timed events, and the site's tick that runs them.
#include "SimSite.h"
#include "SimTimedEvents.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace SiteSim;
using namespace std::chrono_literals;

namespace {

const SimTimedEvents::TimePoint Start{1h};

} // namespace

TEST(SimTimedEvents, DueEventsRunEarliestFirstAndInOrderOfAddingAtOneTime)
{
    SimTimedEvents events;
    std::string ran;
    events.At(Start + 20ms, [&](auto) { ran += 'c'; });
    events.At(Start + 10ms, [&](auto) { ran += 'a'; });
    events.At(Start + 10ms, [&](auto) { ran += 'b'; });
    events.At(Start + 30ms, [&](auto) { ran += 'd'; });

    events.RunDue(Start + 20ms);

    EXPECT_EQ(ran, "abc");
    ASSERT_TRUE(events.NextDue().has_value());
    EXPECT_EQ(*events.NextDue(), Start + 30ms);
}

TEST(SimTimedEvents, AnEventAddedForATimeAlreadyReachedRunsInTheSamePass)
{
    SimTimedEvents events;
    std::vector<SimTimedEvents::TimePoint> ran;
    events.At(Start + 10ms, [&](SimTimedEvents::TimePoint due) {
        ran.push_back(due);
        events.At(due + 1ms, [&](SimTimedEvents::TimePoint next) { ran.push_back(next); });
        events.At(due + 50ms, [&](SimTimedEvents::TimePoint next) { ran.push_back(next); });
    });

    events.RunDue(Start + 30ms);

    EXPECT_EQ(ran, (std::vector<SimTimedEvents::TimePoint>{Start + 10ms, Start + 11ms}));
    EXPECT_EQ(events.Pending(), 1u);
}

TEST(SimTimedEvents, NothingPendingHasNoNextTime)
{
    EXPECT_FALSE(SimTimedEvents().NextDue().has_value());
}

TEST(SimSite, TheTickAsksToComeBackWhenTheLanNextHasSomethingToDo)
{
    const SimScenario scenario = SimScenario::Parse("logger none\nlan take 3\nunit 5\n");
    auto memory = std::make_unique<SimMemory>();
    scenario.Apply(*memory);
    SimSite site(*memory, scenario, {}, 1, Start, 0);
    EXPECT_EQ(site.Tick(Start), SimSite::TimePoint::max());

    const uint16_t buffer = scenario.Link.LanBufferAddress;
    memory->SetByte(SimMemory::Space::Ram, buffer, 0xFF);
    site.OnWrite(SimMemory::Space::Ram, buffer, 1, Start);

    EXPECT_EQ(site.Tick(Start), Start + 3ms);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, buffer), 0xFF);
    site.Tick(Start + 3ms);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, buffer), 0x00);
}

TEST(SimSite, WithALoggerTheTickComesBackAtLeastAsOftenAsTheLoggerWants)
{
    const SimScenario scenario = SimScenario::Parse("lan take 500\nunit 5\n");
    auto memory = std::make_unique<SimMemory>();
    scenario.Apply(*memory);
    SimSite site(*memory, scenario, {}, 1, Start, 0);
    ASSERT_NE(site.Logger(), nullptr);

    const uint16_t buffer = scenario.Link.LanBufferAddress;
    memory->SetByte(SimMemory::Space::Ram, buffer, 0xFF);
    site.OnWrite(SimMemory::Space::Ram, buffer, 1, Start);

    EXPECT_EQ(site.Tick(Start), Start + site.Logger()->TickPeriod());
}
