#include "units/DjLogRdgs.h"

#include "logger/LogIF.h"
#include "units/UnitJobViews.h"

namespace Quorvel1 {

TDjLogRdgs::TDjLogRdgs(TPelkThread& runner, TLogIF& log, TUnitJobViews* views)
    : TPelkJob(runner, ReadingsPeriod), log_(log), views_(views)
{
    Name = QStringLiteral("Log Readings");
}

void TDjLogRdgs::Step()
{
    // A site without a logger (or one the model refused) has no readings:
    // asking would fail the job at every step of the whole run.
    if (!log_.IsOpen()) {
        NothingToDo();
        return;
    }
    log_.ReadReadings();
}

void TDjLogRdgs::Update()
{
    if (views_)
        views_->UpdateReadings();
}

} // namespace Quorvel1
