#pragma once
// The logger information: a snapshot of the logger's status and control
// blocks, its device counts and three clocks, and the ten lines the logger
// information dialog makes of it.
#include "logger/LogBlocks.h"

#include <QStringList>

#include <cstdint>

namespace Quorvel1 {

struct TLogInfo {
    TLogStatus Status;
    TLogControl Control;
    std::uint16_t SensorTripCount = 0;
    std::uint16_t OutputOnOffCount = 0;
    std::uint16_t TotalDeviceCount = 0;
    std::uint32_t PCTime = 0;     // UTC when the snapshot was taken
    std::uint32_t LoggerTime = 0; // the logger's clock
    std::uint32_t StartTime = 0;  // logging start, or the logger's clock when it reports none
};

// A time stamp as the platform's default date and time text (short date,
// long time), the stamp taken as local calendar time.
QString LogInfoTimeText(std::uint32_t stamp);

// The dialog's ten lines, with `localNow` the local time (counted like a UTC
// stamp) and the link's reset and checksum error counts. An interval of 0
// has no phase: the clock and the offset of the last line show "-".
QStringList LogInfoLines(const TLogInfo& info, std::uint32_t localNow, std::int32_t resets,
                         std::int32_t checksumErrors);

} // namespace Quorvel1
