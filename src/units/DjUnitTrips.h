#pragma once
// Collects the units' trip words, one unit a step: the EE word at the
// "TRIPFLAGS" address of the unit's settings-address file. Units whose
// application has no such item are skipped. Standing (period > 0) it cycles
// over the units for the whole run; one-shot it ends after one cycle.
// A unit that cannot be read shows no trips, but a read broken off by the
// user (a new command or Cancel) leaves the unit's word as it was.
#include "jobs/PelkJob.h"

#include <cstdint>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TSiteExt;

class TDjUnitTrips : public TPelkJob {
public:
    static constexpr const char* TripFlagsItem = "TRIPFLAGS";

    TDjUnitTrips(TPelkThread& runner, TSiteExt& site, std::int32_t period);

    void Step() override;
    void Update() override;

    std::uint8_t UnitNumber = 0;

private:
    Pelk::TMestraIF& link_;
    TSiteExt& site_;
};

} // namespace Quorvel1
