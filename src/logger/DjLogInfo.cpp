#include "logger/DjLogInfo.h"

#include "logger/LogIF.h"

namespace Quorvel1 {

TDjLogInfo::TDjLogInfo(TPelkThread& runner, TLogIF& log)
    : TPelkJob(runner, InfoPeriod), log_(log)
{
    Name = QStringLiteral("LogInfo");
    Status = QStringLiteral("Reading log info");
}

void TDjLogInfo::Step()
{
    log_.GetInfo(info_);
    valid_ = true;
}

void TDjLogInfo::Update()
{
    if (valid_ && view_)
        view_(info_);
}

} // namespace Quorvel1
