#include "logger/LogTime.h"

#include <QDateTime>
#include <QTimeZone>

namespace Quorvel1 {

std::uint32_t TLogTimeSource::SystemUtcNow()
{
    return std::uint32_t(QDateTime::currentSecsSinceEpoch());
}

std::uint32_t TLogTimeSource::SystemLocalNow()
{
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    const int offset = QTimeZone::systemTimeZone().offsetFromUtc(utc);
    return std::uint32_t(utc.toSecsSinceEpoch() + offset);
}

} // namespace Quorvel1
