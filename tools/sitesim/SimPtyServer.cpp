#include "SimPtyServer.h"

#include "SimPty.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace SiteSim {

namespace {

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

sigset_t servedSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1})
        sigaddset(&set, signal);
    return set;
}

} // namespace

SimPtyServer::SimPtyServer(SimLinkProtocol& link, SimFaults& faults, uint32_t baud)
    : link_(link), faults_(faults), pacer_(baud)
{
    takeSignals();
    openPseudoTerminal();
}

SimPtyServer::~SimPtyServer()
{
    removeLink();
    for (int fd : {master_, slave_, signals_}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void SimPtyServer::takeSignals()
{
    // Signals arrive as readable data in the poll set, so the serving loop
    // ends or writes its counts between two bytes, never inside one.
    const sigset_t set = servedSignals();
    if (::sigprocmask(SIG_BLOCK, &set, nullptr) != 0)
        fail("sigprocmask");
    signals_ = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signals_ < 0)
        fail("signalfd");
    // A test that stops reading our stdout must not kill us mid-write.
    ::signal(SIGPIPE, SIG_IGN);
}

void SimPtyServer::openPseudoTerminal()
{
    const SimPty pty = OpenRawPty(O_NONBLOCK);
    master_ = pty.Master;
    slave_ = pty.Slave;
    portPath_ = pty.SlavePath;
}

void SimPtyServer::MakeLink(const std::string& path)
{
    struct stat existing {};
    // Replace a symlink left by an earlier run; never a real file.
    if (::lstat(path.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
        ::unlink(path.c_str());
    if (::symlink(portPath_.c_str(), path.c_str()) != 0)
        fail("symlink " + path);
    linkPath_ = path;
}

void SimPtyServer::removeLink()
{
    if (linkPath_.empty())
        return;
    // Only our own link: a later run may have put its own in the same place.
    char target[256] = {};
    const ssize_t length = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
    if (length > 0 && portPath_ == std::string(target, std::size_t(length)))
        ::unlink(linkPath_.c_str());
}

void SimPtyServer::Serve(const std::function<void()>& countsRequested)
{
    bool outputBlocked = false;
    for (;;) {
        const TimePoint now = SimPacer::Clock::now();
        if (tick_ && now >= nextTick_)
            nextTick_ = tick_(now);
        // What the PC just sent may have set something going that is due
        // sooner than the tick last asked for (a LAN message to take).
        if (handleDueInput(now) && tick_)
            nextTick_ = tick_(now);
        outputBlocked = !sendDueOutput(now);
        short masterEvents = POLLIN;
        if (outputBlocked)
            masterEvents |= POLLOUT;
        pollfd watched[2] = {{master_, masterEvents, 0}, {signals_, POLLIN, 0}};
        // Waits to the nanosecond: at 9600 baud a byte takes 1.04 ms, and
        // each must reach the PC on its own, as from a real line.
        timespec wait {};
        const bool timed = pollWait(SimPacer::Clock::now(), outputBlocked, wait);
        const int ready = ::ppoll(watched, 2, timed ? &wait : nullptr, nullptr);
        if (ready < 0 && errno != EINTR)
            fail("poll");
        if (watched[1].revents && !handleSignal(countsRequested))
            return;
        if (watched[0].revents & (POLLIN | POLLERR | POLLHUP))
            receiveAvailable();
    }
}

bool SimPtyServer::handleSignal(const std::function<void()>& countsRequested)
{
    signalfd_siginfo info {};
    while (::read(signals_, &info, sizeof info) == ssize_t(sizeof info)) {
        if (info.ssi_signo != SIGUSR1)
            return false;
        if (countsRequested)
            countsRequested();
    }
    return true;
}

void SimPtyServer::receiveAvailable()
{
    uint8_t chunk[512];
    for (;;) {
        const ssize_t count = ::read(master_, chunk, sizeof chunk);
        if (count > 0) {
            const TimePoint now = SimPacer::Clock::now();
            for (ssize_t i = 0; i < count; ++i)
                input_.push_back({chunk[i], pacer_.InputAt(now)});
            bytesIn_ += uint64_t(count);
            continue;
        }
        // EIO cannot come while we hold the slave open; anything else is
        // "nothing more now".
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno != EAGAIN)
            fail("read " + portPath_);
        return;
    }
}

bool SimPtyServer::handleDueInput(TimePoint now)
{
    bool handled = false;
    while (!input_.empty() && input_.front().at <= now) {
        handled = true;
        const TimedByte received = input_.front();
        input_.pop_front();
        const std::vector<uint8_t> answer =
            receiver_ ? receiver_(received.byte, received.at) : link_.Receive(received.byte, received.at);
        for (uint8_t byte : faults_.Apply(answer))
            output_.push_back({byte, pacer_.OutputAt(received.at)});
    }
    return handled;
}

void SimPtyServer::Send(const std::vector<uint8_t>& bytes, TimePoint at)
{
    for (uint8_t byte : bytes)
        output_.push_back({byte, pacer_.OutputAt(at)});
}

bool SimPtyServer::sendDueOutput(TimePoint now)
{
    while (!output_.empty() && output_.front().at <= now) {
        uint8_t chunk[512];
        std::size_t due = 0;
        while (due < output_.size() && due < sizeof chunk && output_[due].at <= now) {
            chunk[due] = output_[due].byte;
            ++due;
        }
        const ssize_t count = ::write(master_, chunk, due);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN)
            return false;
        if (count < 0)
            fail("write " + portPath_);
        output_.erase(output_.begin(), output_.begin() + count);
        bytesOut_ += uint64_t(count);
        if (std::size_t(count) < due)
            return false;
    }
    return true;
}

bool SimPtyServer::pollWait(TimePoint now, bool outputBlocked, timespec& wait) const
{
    TimePoint next = TimePoint::max();
    if (!input_.empty())
        next = input_.front().at;
    if (!output_.empty() && !outputBlocked)
        next = std::min(next, output_.front().at);
    if (tick_)
        next = std::min(next, nextTick_);
    if (next == TimePoint::max())
        return false;
    const auto left = next <= now ? std::chrono::nanoseconds(0)
                                  : std::min<std::chrono::nanoseconds>(next - now, std::chrono::seconds(60));
    wait.tv_sec = time_t(left.count() / 1'000'000'000);
    wait.tv_nsec = long(left.count() % 1'000'000'000);
    return true;
}

} // namespace SiteSim
