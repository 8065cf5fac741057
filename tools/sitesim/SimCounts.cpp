#include "SimCounts.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace SiteSim {

std::string SimCounts::ToText() const
{
    std::ostringstream text;
    text << "snapshot=" << Snapshot << '\n'
         << "bytes_in=" << BytesIn << '\n'
         << "bytes_out=" << BytesOut << '\n'
         << "frames_answered=" << Link.FramesAnswered << '\n'
         << "bad_frames=" << Link.BadFrames << '\n'
         << "naks_sent=" << Link.NaksSent + Faults.NaksInjected << '\n'
         << "resets_seen=" << Link.ResetsSeen << '\n'
         << "bytes_corrupted=" << Faults.BytesCorrupted << '\n'
         << "bytes_dropped=" << Faults.BytesDropped << '\n'
         << "naks_injected=" << Faults.NaksInjected << '\n'
         << "bytes_stalled=" << Faults.BytesStalled << '\n';
    return text.str();
}

bool WriteCountsFile(const std::string& path, const SimCounts& counts)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << counts.ToText();
        file.flush();
        if (!file)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace SiteSim
