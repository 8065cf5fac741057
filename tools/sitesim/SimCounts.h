#pragma once
// What the simulator has seen and done, written as "key=value" lines for
// tests and benchmarks.
#include "SimFaults.h"
#include "SimLan.h"
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
    SimLanCounts Lan;

    // One "key=value" line per count: snapshot, bytes_in, bytes_out,
    // frames_answered, bad_frames, naks_sent (the engine's and injected
    // ones), resets_seen, bytes_corrupted, bytes_dropped, naks_injected,
    // bytes_stalled, lan_taken, lan_requests, lan_commands, lan_other_kinds,
    // lan_replies, lan_unanswered, lan_cancelled, lan_silent_injected,
    // lan_wrong_codes_injected, lan_slow_takes_injected.
    std::string ToText() const;
};

// Replaces the file at `path` whole (temporary file and rename), so a reader
// never sees half of it. Returns false when it cannot be written.
bool WriteCountsFile(const std::string& path, const SimCounts& counts);

} // namespace SiteSim
