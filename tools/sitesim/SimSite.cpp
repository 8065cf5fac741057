#include "SimSite.h"

#include <algorithm>

namespace SiteSim {

namespace {

// The LAN buffer of the link descriptor, when the scenario gives one.
uint16_t lanBuffer(const SimScenario& scenario)
{
    return scenario.Slots[SimScenario::LinkSlot] != 0 ? scenario.Link.LanBufferAddress : 0;
}

// The alarm table's slot is valid only when all three slots are in use.
uint16_t alarmTable(const SimScenario& scenario)
{
    return scenario.DescriptorCount == 3 ? scenario.Slots[SimScenario::AlarmSlot] : 0;
}

} // namespace

SimSite::SimSite(SimMemory& interfaceUnit, const SimScenario& scenario, const SimLanFaultSettings& lanFaults,
                 uint64_t seed, TimePoint now, uint32_t localClock)
    : lan_(std::make_unique<SimLan>(interfaceUnit, lanBuffer(scenario), alarmTable(scenario), scenario.Lan,
                                    lanFaults, seed, events_))
{
    if (const uint16_t header = scenario.Slots[SimScenario::LoggerSlot]; scenario.Logger.Present && header != 0)
        logger_ = std::make_unique<SimLogger>(interfaceUnit, scenario.Logger, header, now, localClock);
}

void SimSite::OnWrite(SimMemory::Space space, uint16_t address, std::size_t length, TimePoint now)
{
    lan_->OnWrite(space, address, length, now);
    if (logger_)
        logger_->OnWrite(space, address, length, now);
}

SimSite::TimePoint SimSite::Tick(TimePoint now)
{
    TimePoint next = TimePoint::max();
    if (logger_) {
        logger_->Advance(now);
        next = now + logger_->TickPeriod();
    }
    events_.RunDue(now);
    if (const auto due = events_.NextDue())
        next = std::min(next, *due);
    return next;
}

} // namespace SiteSim
