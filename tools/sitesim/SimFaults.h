#pragma once
// Faults injected into what the simulator sends, to exercise the program's
// retries and resets: corrupted bytes, lost bytes, a NAK in place of an ACK,
// and a pulled cable (silence after a number of bytes). Every decision comes
// from one generator seeded by the user, so a run repeats exactly.
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace SiteSim {

struct SimFaultSettings {
    uint64_t Seed = 1;
    double CorruptRate = 0; // probability per byte sent
    double DropRate = 0;    // probability per byte sent
    double NakRate = 0;     // probability per acknowledgement
    std::optional<uint64_t> StallAfter; // bytes sent before the line goes dead
};

struct SimFaultCounts {
    uint64_t BytesCorrupted = 0;
    uint64_t BytesDropped = 0;
    uint64_t NaksInjected = 0;
    uint64_t BytesStalled = 0; // swallowed after the stall
};

class SimFaults {
public:
    explicit SimFaults(const SimFaultSettings& settings);

    // The bytes that actually leave for one answer of the protocol engine.
    // An answer that begins with an ACK may be replaced by a lone NAK (the
    // unit refused the request); then each byte may be lost or corrupted.
    std::vector<uint8_t> Apply(const std::vector<uint8_t>& answer);

    const SimFaultCounts& Counts() const { return counts_; }

private:
    bool happens(double rate);

    SimFaultSettings settings_;
    std::mt19937_64 random_;
    uint64_t sent_ = 0;
    SimFaultCounts counts_;
};

} // namespace SiteSim
