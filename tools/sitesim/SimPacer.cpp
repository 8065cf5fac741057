#include "SimPacer.h"

namespace SiteSim {

namespace {

constexpr uint64_t BitsPerByte = 10;

std::chrono::nanoseconds wireTime(uint64_t bytes, uint32_t baud)
{
    // Whole nanoseconds from the burst start, never accumulated per byte.
    return std::chrono::nanoseconds(bytes * BitsPerByte * 1'000'000'000ull / baud);
}

} // namespace

SimPacer::TimePoint SimPacer::Direction::Next(TimePoint earliest, uint32_t baud)
{
    if (baud == 0)
        return earliest;
    const TimePoint paced = burstStart_ + wireTime(bytesInBurst_, baud);
    if (bytesInBurst_ == 0 || earliest > paced) {
        // The wire was idle: a new burst starts now.
        burstStart_ = earliest;
        bytesInBurst_ = 1;
        return earliest;
    }
    ++bytesInBurst_;
    return paced;
}

} // namespace SiteSim
