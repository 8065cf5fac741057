#include "SimPty.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace SiteSim {

SimPty OpenRawPty(int masterFlags)
{
    SimPty pty;
    const auto fail = [&pty](const std::string& what) {
        const std::string reason = std::strerror(errno);
        for (int fd : {pty.Master, pty.Slave}) {
            if (fd >= 0)
                ::close(fd);
        }
        throw std::runtime_error(what + ": " + reason);
    };
    pty.Master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | masterFlags);
    if (pty.Master < 0)
        fail("posix_openpt");
    if (::grantpt(pty.Master) != 0 || ::unlockpt(pty.Master) != 0)
        fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(pty.Master, name, sizeof name) != 0)
        fail("ptsname_r");
    pty.SlavePath = name;
    pty.Slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.Slave < 0)
        fail("open " + pty.SlavePath);
    termios raw {};
    if (::tcgetattr(pty.Slave, &raw) != 0)
        fail("tcgetattr");
    ::cfmakeraw(&raw);
    if (::tcsetattr(pty.Slave, TCSANOW, &raw) != 0)
        fail("tcsetattr");
    return pty;
}

} // namespace SiteSim
