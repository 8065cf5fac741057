#pragma once
// A link clock whose time moves only when told: by the link's own delays, and
// by a scripted line standing for the time-out of a silent read. Tests that
// run resets and time-outs take no real time and give the same result every
// run.
#include "comms/LinkClock.h"

#include <atomic>
#include <cstdint>

namespace QuorvelTest {

class ManualClock final : public Pelk::TLinkClock {
public:
    explicit ManualClock(uint32_t start = 0) : now_(start) {}

    uint32_t Tick() override { return now_; }
    void Sleep(uint32_t ms, Pelk::TLinkWaiter&) override
    {
        now_ += ms;
        slept_ += ms;
    }

    void Advance(uint32_t ms) { now_ += ms; }
    // Milliseconds spent in the link's delays.
    uint64_t Slept() const { return slept_; }

private:
    std::atomic<uint32_t> now_;
    std::atomic<uint64_t> slept_{0};
};

} // namespace QuorvelTest
