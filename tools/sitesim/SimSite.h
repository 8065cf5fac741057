#pragma once
// The whole simulated site behind the interface unit's link: the interface
// unit's memory, the units on its LAN and its data logger. The link's write
// hook and the serving loop's tick come here and go on to the parts they
// concern, so every part of the site shares one clock and one list of
// timed events.
#include "SimLan.h"
#include "SimLogger.h"
#include "SimMemory.h"
#include "SimScenario.h"
#include "SimTimedEvents.h"

#include <memory>

namespace SiteSim {

class SimSite {
public:
    using TimePoint = SimTimedEvents::TimePoint;

    // `interfaceUnit` already holds the scenario (SimScenario::Apply).
    // `localClock` is the logger's start, local seconds since 1970.
    SimSite(SimMemory& interfaceUnit, const SimScenario& scenario, const SimLanFaultSettings& lanFaults,
            uint64_t seed, TimePoint now, uint32_t localClock);

    // After the PC wrote the interface unit's memory.
    void OnWrite(SimMemory::Space space, uint16_t address, std::size_t length, TimePoint now);

    // Lets the site's time run up to `now`: the logger's clock, and the
    // timed events that have fallen due. Returns when it next has something
    // to do (TimePoint::max() for never).
    TimePoint Tick(TimePoint now);

    SimLan& Lan() { return *lan_; }
    SimLogger* Logger() { return logger_.get(); }
    SimTimedEvents& Events() { return events_; }

private:
    SimTimedEvents events_;
    std::unique_ptr<SimLan> lan_;
    std::unique_ptr<SimLogger> logger_;
};

} // namespace SiteSim
