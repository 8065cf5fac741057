#include "support/PtyPair.h"

#include "SimPty.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>
#include <thread>

namespace QuorvelTest {

namespace {

[[noreturn]] void fail(const char* what)
{
    throw std::runtime_error(std::string("pty pair: ") + what + ": " + std::to_string(errno));
}

} // namespace

PtyPair::PtyPair()
{
    const SiteSim::SimPty pty = SiteSim::OpenRawPty();
    master_ = pty.Master;
    slave_ = pty.Slave;
    slavePath_ = QString::fromStdString(pty.SlavePath);
}

PtyPair::~PtyPair()
{
    CloseMaster();
    if (slave_ >= 0)
        ::close(slave_);
}

void PtyPair::Send(const std::vector<uint8_t>& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t count = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (count < 0 && errno != EINTR)
            fail("write");
        if (count > 0)
            sent += std::size_t(count);
    }
}

std::vector<uint8_t> PtyPair::Receive(std::size_t count, std::chrono::milliseconds within)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + within;
    std::vector<uint8_t> bytes;
    while (bytes.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            break;
        pollfd watched {master_, POLLIN, 0};
        if (::poll(&watched, 1, int(left.count())) <= 0)
            continue;
        uint8_t chunk[256];
        const ssize_t got = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

bool PtyPair::WaitUntilQueuedAtPort(std::size_t count, std::chrono::milliseconds within)
{
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
        int queued = 0;
        if (::ioctl(slave_, FIONREAD, &queued) == 0 && std::size_t(queued) >= count)
            return true;
        // The terminal layer hands bytes over in steps; there is no event
        // for "n bytes queued", so look again shortly.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void PtyPair::CloseMaster()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

} // namespace QuorvelTest
