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
    // The wire is busy until the last byte of the burst has arrived.
    const TimePoint wireFree = burstStart_ + wireTime(bytesInBurst_, baud);
    if (bytesInBurst_ == 0 || earliest >= wireFree) {
        // The wire was idle: a new burst starts now.
        burstStart_ = earliest;
        bytesInBurst_ = 0;
    }
    ++bytesInBurst_;
    return burstStart_ + wireTime(bytesInBurst_, baud);
}

} // namespace SiteSim
