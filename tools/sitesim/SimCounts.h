#pragma once
// What the simulator has seen and done, written as "key=value" lines for
// tests and benchmarks.
#include "SimFaults.h"
#include "SimLinkProtocol.h"

#include <cstdint>
#include <string>

namespace SiteSim {

struct SimCounts {
    uint64_t Snapshot = 0; // goes up with every counts file written
    uint64_t BytesIn = 0;
    uint64_t BytesOut = 0;
    SimLinkCounts Link;
    SimFaultCounts Faults;

    // One "key=value" line per count: snapshot, bytes_in, bytes_out,
    // frames_answered, bad_frames, naks_sent (the engine's and injected
    // ones), resets_seen, bytes_corrupted, bytes_dropped, naks_injected,
    // bytes_stalled.
    std::string ToText() const;
};

// Replaces the file at `path` whole (temporary file and rename), so a reader
// never sees half of it. Returns false when it cannot be written.
bool WriteCountsFile(const std::string& path, const SimCounts& counts);

} // namespace SiteSim
