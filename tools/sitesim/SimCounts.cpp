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
         << "bytes_stalled=" << Faults.BytesStalled << '\n'
         << "lan_taken=" << Lan.MessagesTaken << '\n'
         << "lan_requests=" << Lan.Requests << '\n'
         << "lan_commands=" << Lan.Commands << '\n'
         << "lan_other_kinds=" << Lan.OtherKinds << '\n'
         << "lan_replies=" << Lan.Replies << '\n'
         << "lan_unanswered=" << Lan.Unanswered << '\n'
         << "lan_cancelled=" << Lan.Cancelled << '\n'
         << "lan_silent_injected=" << Lan.SilentInjected << '\n'
         << "lan_wrong_codes_injected=" << Lan.WrongCodesInjected << '\n'
         << "lan_slow_takes_injected=" << Lan.SlowTakesInjected << '\n';
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
