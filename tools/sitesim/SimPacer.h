#pragma once
// Wire-speed pacing, as a real serial line behaves: at N baud a byte takes
// 10 bit times (start, 8 data, stop) to cross the wire, bytes follow one
// another no faster than that, and a byte counts as arrived only once its
// last bit has: the first byte of a burst arrives one byte time after it was
// sent, not at once. Input and output are separate wires (full duplex).
// Arrival times are counted from the start of a burst (start + k * byte
// time, exact integer arithmetic), so long bursts do not drift. A speed of 0
// means no pacing: bytes arrive when they are sent.
#include <chrono>
#include <cstdint>

namespace SiteSim {

class SimPacer {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit SimPacer(uint32_t baud) : baud_(baud) {}

    // When a byte the PC sent at `sentAt` has wholly arrived here.
    TimePoint InputAt(TimePoint sentAt) { return input_.Next(sentAt, baud_); }
    // When a byte ready to go at `readyAt` has wholly arrived at the PC: the
    // time to hand it over.
    TimePoint OutputAt(TimePoint readyAt) { return output_.Next(readyAt, baud_); }

private:
    // One direction of the wire: a burst's start and how many bytes it holds.
    class Direction {
    public:
        TimePoint Next(TimePoint earliest, uint32_t baud);

    private:
        TimePoint burstStart_{};
        uint64_t bytesInBurst_ = 0;
    };

    uint32_t baud_;
    Direction input_;
    Direction output_;
};

} // namespace SiteSim
