#pragma once
// A pseudo-terminal for the simulator and for tests that play the far end of
// a serial line: the master side, and the slave side opened and raw from the
// start (a terminal's default echo would send the program's bytes straight
// back before the program sets its own line settings).
#include <string>

namespace SiteSim {

struct SimPty {
    int Master = -1;
    int Slave = -1;
    std::string SlavePath; // what the program opens as its port
};

// Opens a pair; `masterFlags` are added to the master's O_RDWR | O_NOCTTY |
// O_CLOEXEC (O_NONBLOCK for a poll loop). Raises std::runtime_error naming
// the step that failed, with nothing left open.
SimPty OpenRawPty(int masterFlags = 0);

} // namespace SiteSim
