#pragma once
// Keeps the logger's current readings fresh for the log devices list: a
// standing job that reads them at every step and never ends.
#include "jobs/PelkJob.h"

#include <cstdint>

namespace Quorvel1 {

class TLogIF;
class TUnitJobViews;

class TDjLogRdgs : public TPelkJob {
public:
    static constexpr std::int32_t ReadingsPeriod = 50;

    // `views` may be null: nothing is shown then.
    TDjLogRdgs(TPelkThread& runner, TLogIF& log, TUnitJobViews* views);

    void Step() override;
    void Update() override;

private:
    TLogIF& log_;
    TUnitJobViews* views_;
};

} // namespace Quorvel1
