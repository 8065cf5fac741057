#pragma once
// Time stamps of the logger model: unsigned 32-bit seconds since 1970-01-01
// 00:00:00, for local or UTC time alike. The logger counts dates as day
// numbers from 1900-01-01 and runs on local time.
#include <cstdint>
#include <functional>

namespace Quorvel1 {

constexpr std::uint16_t LoggerDayOf1970 = 25567;
constexpr std::uint32_t SecondsPerDay = 86400;

struct TLoggerDate {
    std::uint16_t Day = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;
};

// Unsigned arithmetic throughout: a day before 1970 wraps as the logger
// model's 32-bit time stamps do.
constexpr std::uint32_t LoggerDateToStamp(const TLoggerDate& date)
{
    return (std::uint32_t(date.Day) - LoggerDayOf1970) * SecondsPerDay + std::uint32_t(date.Hour) * 3600
        + std::uint32_t(date.Minute) * 60 + date.Second;
}

constexpr TLoggerDate StampToLoggerDate(std::uint32_t stamp)
{
    const std::uint32_t second = stamp % SecondsPerDay;
    return {std::uint16_t(stamp / SecondsPerDay + LoggerDayOf1970), std::uint8_t(second / 3600),
            std::uint8_t(second / 60 % 60), std::uint8_t(second % 60)};
}

// Where the logger model takes "now" from. The system clock unless a test
// puts a fixed time in.
struct TLogTimeSource {
    std::function<std::uint32_t()> UtcNow = SystemUtcNow;
    // The local date and time counted like a UTC stamp, with no time-zone
    // correction: what the logger's own clock shows.
    std::function<std::uint32_t()> LocalNow = SystemLocalNow;

    static std::uint32_t SystemUtcNow();
    static std::uint32_t SystemLocalNow();
};

} // namespace Quorvel1
