#pragma once
// Collects the units' alarm words: from the interface unit's alarm table in
// one step when it has one, otherwise one unit a step with an alarm-word
// request, a unit that does not answer getting "NETWORK FAILURE" alone.
// Standing (period > 0) it cycles over the units for the whole run; one-shot
// it ends after one cycle.
#include "jobs/PelkJob.h"

#include <cstdint>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TSiteExt;
class TUnitJobViews;

class TDjUnitAlarms : public TPelkJob {
public:
    static constexpr std::uint8_t AlarmWordCode = 9;
    static constexpr std::uint16_t NetworkFailure = 0x4000;
    // One little-endian word for each unit number 0..30.
    static constexpr std::uint16_t AlarmTableBytes = 62;

    // `views` may be null: nothing is shown then.
    TDjUnitAlarms(TPelkThread& runner, TSiteExt& site, TUnitJobViews* views, std::int32_t period);

    void Step() override;
    void Update() override;

    std::uint8_t UnitNumber = 0;
    std::uint16_t AlarmTable = 0; // interface RAM address; 0 when there is none

protected:
    // The alarm word of UnitNumber, asked of the unit itself; a unit that
    // does not answer gets NETWORK FAILURE.
    void CollectUnitAlarm();
    Pelk::TMestraIF& Link() const { return link_; }
    TSiteExt& Site() const { return site_; }

private:
    void CollectAlarmTable();

    Pelk::TMestraIF& link_;
    TSiteExt& site_;
    TUnitJobViews* views_;
};

} // namespace Quorvel1
