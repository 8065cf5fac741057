#include "logger/LogInfo.h"

#include "comms/MestraIF.h"
#include "logger/LogIF.h"
#include "logger/LogTime.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

namespace Quorvel1 {

namespace {

constexpr std::uint32_t SecondsPerHour = 3600;
constexpr std::uint32_t HoursPerDay = 24;
const QString Separator = QStringLiteral("---");
const QString NoPhase = QStringLiteral("-");

} // namespace

QString LogInfoTimeText(std::uint32_t stamp)
{
    const QDateTime time = QDateTime::fromSecsSinceEpoch(qint64(stamp), QTimeZone::utc());
    const QLocale locale;
    // The stamp is local calendar time already: no zone name goes with it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ')
        + locale.toString(time.time(), timeFormat.trimmed());
}

QStringList LogInfoLines(const TLogInfo& info, std::uint32_t localNow, std::int32_t resets,
                         std::int32_t checksumErrors)
{
    const TLogStatus& s = info.Status;
    const std::uint32_t interval = s.Interval;
    const std::uint32_t fullIn = s.FullIn;
    // Hours from the last download until the buffer is full, in 32 bits: a
    // long interval with many new entries runs past 16 bits of hours.
    const std::uint32_t total = fullIn + interval * s.NewEntries / SecondsPerHour;
    QString phase;
    if (interval == 0) {
        phase = QStringLiteral("Clock: %1, Offset: %1").arg(NoPhase);
    } else {
        const std::uint32_t clock = localNow % SecondsPerDay % interval;
        // The timer may run past the interval; the offset stays a phase.
        const std::uint32_t offset = (clock + interval - s.IntervalTimer % interval) % interval;
        phase = QStringLiteral("Clock: %1secs, Offset: %2secs").arg(clock).arg(offset);
    }
    return {
        QStringLiteral("Sensors/Trips: %1/%2,  Outputs/On-offs: %3/%4,  ASMs: %5")
            .arg(s.Counts[0]).arg(s.Counts[1]).arg(s.Counts[2]).arg(s.Counts[3]).arg(s.Counts[4]),
        QStringLiteral("Interval: %1s,  New/Entries: %2/%3,  Data-level: %4%")
            .arg(interval).arg(s.NewEntries).arg(s.Entries).arg(s.DataLevel),
        QStringLiteral("Full in: %1days %2hrs,  Total: %3days %4hrs")
            .arg(fullIn / HoursPerDay).arg(fullIn % HoursPerDay)
            .arg(total / HoursPerDay).arg(total % HoursPerDay),
        Separator,
        QStringLiteral("PC time (local): ") + LogInfoTimeText(localNow),
        QStringLiteral("PC time (GMT): ") + LogInfoTimeText(info.PCTime),
        QStringLiteral("Logger time: ") + LogInfoTimeText(info.LoggerTime),
        Separator,
        QStringLiteral("Resets: %1, ChkErrs: %2").arg(resets).arg(checksumErrors),
        QStringLiteral("Interval timer: %1secs, ").arg(s.IntervalTimer) + phase,
    };
}

// The snapshot leaves the model's own entry times as they were: a download
// works them out afresh, but nothing else should see the clock move here.
void TLogIF::GetInfo(TLogInfo& info)
{
    RequireOpen();
    link_.SelectUnit(0, false);
    ReadControl();
    const std::uint32_t newest = NewestEntryLoggerTime;
    info.PCTime = Time.UtcNow();
    ReadClock();
    info.LoggerTime = NewestEntryLoggerTime;
    NewestEntryLoggerTime = newest;
    info.StartTime = Status.StartDay != 0
        ? LoggerDateToStamp({Status.StartDay, Status.StartHour, Status.StartMinute, Status.StartSecond})
        : info.LoggerTime;
    info.Status = Status;
    info.Control = Control;
    info.SensorTripCount = SensorTripCount;
    info.OutputOnOffCount = OutputOnOffCount;
    info.TotalDeviceCount = TotalDeviceCount;
}

} // namespace Quorvel1
