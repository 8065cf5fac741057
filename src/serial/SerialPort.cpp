#include "serial/SerialPort.h"

#include "serial/PortName.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace Pelk {

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void raiseLinkError(int error)
{
    throw Quorvel1::Exception("Mestra link: " + systemText(error));
}

// Why the port could not be opened, in words the user can act on. A
// permission failure names the group that owns the device (usually dialout),
// since joining it is the usual remedy.
QString openFailureDetail(const QString& path, int error)
{
    QString detail = path + ": " + systemText(error);
    if (error != EACCES && error != EPERM)
        return detail;
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0)
        return detail;
    const group* owner = ::getgrgid(info.st_gid);
    const QString groupName = owner ? QString::fromLocal8Bit(owner->gr_name)
                                    : QString::number(info.st_gid);
    return detail + QString("; the user must be a member of the group '%1' that owns the device")
                        .arg(groupName);
}

struct SpeedEntry {
    uint32_t rate;
    speed_t constant;
};

constexpr SpeedEntry StandardSpeeds[] = {
    {110, B110},     {134, B134},     {150, B150},     {200, B200},   {300, B300},
    {600, B600},     {1200, B1200},   {1800, B1800},   {2400, B2400}, {4800, B4800},
    {9600, B9600},   {19200, B19200}, {38400, B38400}, {57600, B57600},
    {115200, B115200},
};

// The rate a speed constant stands for; 0 for one not in the table.
uint32_t RateOfSpeed(speed_t constant)
{
    for (const SpeedEntry& entry : StandardSpeeds) {
        if (entry.constant == constant)
            return entry.rate;
    }
    return 0;
}

// The time a byte takes on a line of `rate` baud: start bit, 8 data bits,
// stop bit. Zero when the rate is not known.
std::chrono::nanoseconds byteTimeAt(uint32_t rate)
{
    return rate == 0 ? std::chrono::nanoseconds(0) : std::chrono::nanoseconds(10'000'000'000ull / rate);
}

// The time left until `deadline`, to the nanosecond: at 9600 baud a byte
// takes 1.04 ms, and a wait rounded to whole milliseconds would hold each
// reply up by a byte.
timespec timeUntil(std::chrono::steady_clock::time_point deadline, std::chrono::steady_clock::time_point now,
                   std::chrono::nanoseconds atMost)
{
    const std::chrono::nanoseconds left =
        deadline <= now ? std::chrono::nanoseconds(0) : std::min<std::chrono::nanoseconds>(deadline - now, atMost);
    return timespec{time_t(left.count() / 1'000'000'000), long(left.count() % 1'000'000'000)};
}

bool isNotATerminal(int error)
{
    return error == ENOTTY || error == EINVAL;
}

} // namespace

ESerialOpen::ESerialOpen(QString detail)
    : Quorvel1::Exception(TSerialPort::OpenFailedText), detail_(std::move(detail))
{
}

TSerialPort::TSerialPort(int descriptor, bool owns) : descriptor_(descriptor), owns_(owns)
{
    cancelEvent_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (cancelEvent_ < 0) {
        const int error = errno;
        Close();
        throw ESerialOpen(QString("cancel event: ") + systemText(error));
    }
}

TSerialPort::~TSerialPort()
{
    Close();
    if (cancelEvent_ >= 0)
        ::close(cancelEvent_);
}

std::unique_ptr<TSerialPort> TSerialPort::Open(const QString& name, uint32_t baudRate, LineKind kind)
{
    const QString path = PortDevicePath(name);
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ESerialOpen(openFailureDetail(path, errno));
    // The lock keeps out a second opener even when it runs as root, which
    // TIOCEXCL alone does not.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        throw ESerialOpen(error == EWOULDBLOCK ? path + ": in use by another program"
                                               : openFailureDetail(path, error));
    }
    std::unique_ptr<TSerialPort> port(new TSerialPort(fd, true));
    // A device that is not a terminal fails below, with "Couldn't get comm state".
    ::ioctl(fd, TIOCEXCL);
    port->applyLineSettings(baudRate, kind);
    return port;
}

std::unique_ptr<TSerialPort> TSerialPort::Adopt(int descriptor, bool owns)
{
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0)
        throw ESerialOpen(QString("adopted descriptor: ") + systemText(errno));
    std::unique_ptr<TSerialPort> port(new TSerialPort(descriptor, owns));
    // Every wait is a poll, so reads and writes must never block; the
    // original flags go back on Close when the descriptor is not ours.
    port->adoptedFlags_ = flags;
    ::fcntl(descriptor, F_SETFL, flags | O_NONBLOCK);
    termios settings {};
    if (::tcgetattr(descriptor, &settings) == 0)
        port->byteTime_ = byteTimeAt(RateOfSpeed(::cfgetispeed(&settings)));
    return port;
}

unsigned TSerialPort::SpeedConstant(uint32_t baudRate)
{
    speed_t chosen = StandardSpeeds[0].constant;
    for (const SpeedEntry& entry : StandardSpeeds) {
        if (entry.rate <= baudRate)
            chosen = entry.constant;
    }
    return chosen;
}

void TSerialPort::applyLineSettings(uint32_t baudRate, LineKind kind)
{
    termios settings {};
    if (::tcgetattr(descriptor_, &settings) != 0)
        throw Quorvel1::Exception(GetStateFailedText);
    // Fresh settings, every other option cleared: raw 8N1, receiver on, modem
    // status lines ignored, no flow control of either kind. VMIN = VTIME = 0
    // makes a read return at once; the waits are polls.
    termios fresh {};
    fresh.c_cflag = CS8 | CLOCAL | CREAD;
    if (kind == LineKind::Modem)
        fresh.c_cflag |= HUPCL;
    fresh.c_cc[VMIN] = 0;
    fresh.c_cc[VTIME] = 0;
    const speed_t speed = SpeedConstant(baudRate);
    if (::cfsetispeed(&fresh, speed) != 0 || ::cfsetospeed(&fresh, speed) != 0
        || ::tcsetattr(descriptor_, TCSANOW, &fresh) != 0)
        throw Quorvel1::Exception(SetStateFailedText);
    byteTime_ = byteTimeAt(RateOfSpeed(speed));
    setModemLines(kind);
}

void TSerialPort::setModemLines(LineKind kind)
{
    int lines = TIOCM_DTR | TIOCM_RTS;
    const unsigned long request = kind == LineKind::Modem ? TIOCMBIS : TIOCMBIC;
    // A pseudo-terminal has no modem lines; that is not a failure.
    if (::ioctl(descriptor_, request, &lines) != 0 && !isNotATerminal(errno))
        throw Quorvel1::Exception(SetStateFailedText);
}

void TSerialPort::SetTimeouts(const SerialTimeouts& timeouts)
{
    timeouts_ = timeouts;
}

void TSerialPort::SetEventPump(std::function<void()> pump)
{
    pump_ = std::move(pump);
    pumpThread_ = std::this_thread::get_id();
}

void TSerialPort::requireOpen() const
{
    if (descriptor_ < 0)
        raiseLinkError(EBADF);
}

void TSerialPort::WatchCarrier(std::function<void()> lost)
{
    int lines = 0;
    // A line without modem status lines fails here; it has only the text.
    const bool dcd = ::ioctl(descriptor_, TIOCMGET, &lines) == 0 && (lines & TIOCM_CAR) != 0;
    carrier_.emplace(dcd);
    carrierLost_ = std::move(lost);
}

void TSerialPort::requireCarrier()
{
    if (!carrier_)
        return;
    if (!carrier_->Lost() && carrier_->WatchesDcd()) {
        int lines = 0;
        if (::ioctl(descriptor_, TIOCMGET, &lines) == 0 && carrier_->LineState((lines & TIOCM_CAR) != 0))
            carrierGone();
    }
    if (carrier_->Lost())
        throw Quorvel1::Exception(CarrierLostText);
}

void TSerialPort::carrierGone()
{
    // Told once; every later transfer only raises.
    if (const std::function<void()> lost = std::exchange(carrierLost_, nullptr))
        lost();
    throw Quorvel1::Exception(CarrierLostText);
}

TSerialPort::WaitResult TSerialPort::waitFor(short events, Clock::time_point deadline)
{
    const bool pumping = pump_ && std::this_thread::get_id() == pumpThread_;
    for (;;) {
        if (cancelled())
            return WaitResult::Cancelled;
        const auto now = Clock::now();
        if (now >= deadline)
            return WaitResult::TimedOut;
        const timespec timeout =
            timeUntil(deadline, now, pumping ? std::chrono::nanoseconds(PumpSlice) : std::chrono::hours(24));
        pollfd watched[2] = {{descriptor_, events, 0}, {cancelEvent_, POLLIN, 0}};
        const int ready = ::ppoll(watched, 2, &timeout, nullptr);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            raiseLinkError(errno);
        }
        if (watched[1].revents)
            return WaitResult::Cancelled;
        // A hang-up or error also counts as ready: the next read or write
        // then reports the system's error instead of waiting it out.
        if (watched[0].revents)
            return WaitResult::Ready;
        if (pumping)
            pump_();
    }
}

std::size_t TSerialPort::Read(uint8_t* buffer, std::size_t length)
{
    requireOpen();
    requireCarrier();
    const auto start = Clock::now();
    const auto total = start + std::chrono::milliseconds(
                                   uint64_t(timeouts_.ReadPerByte) * length + timeouts_.ReadConstant);
    const std::chrono::milliseconds interval(timeouts_.ReadInterval);
    std::size_t received = 0;
    Clock::time_point lastByte;
    bool polledReady = false;
    bool streamAwaited = false;
    while (received < length) {
        if (cancelled())
            return 0;
        const ssize_t count = ::read(descriptor_, buffer + received, length - received);
        if (count > 0) {
            if (carrier_ && carrier_->Received(buffer + received, std::size_t(count)))
                carrierGone();
            received += std::size_t(count);
            lastByte = Clock::now();
            lastByteAt_ = lastByte;
            polledReady = false;
            if (received < length && awaitRest(length - received, lastByte, total, interval) == WaitResult::Cancelled)
                return 0;
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            raiseLinkError(errno);
        // With VMIN = 0 a terminal answers 0 when nothing waits; right after
        // poll reported the port readable, 0 means the other end is gone.
        if (count == 0 && polledReady)
            raiseLinkError(EIO);
        if (received == 0 && !streamAwaited) {
            // Bytes that follow the ones just read (a reply's data after its
            // acknowledgement) are a byte time apart: one wait for them all,
            // not one for the first and another for the rest.
            streamAwaited = true;
            const WaitResult result = awaitStream(length, total);
            if (result == WaitResult::Cancelled)
                return 0;
            if (result != WaitResult::Ready)
                continue;
        }
        Clock::time_point deadline = total;
        if (received > 0 && interval.count() > 0)
            deadline = std::min(deadline, lastByte + interval);
        const WaitResult result = waitFor(POLLIN, deadline);
        if (result == WaitResult::Cancelled)
            return 0;
        if (result == WaitResult::TimedOut)
            return received;
        polledReady = true;
    }
    return received;
}

// The rest of a read is still on its way, a byte time apart at best: it
// cannot all be here before `rest` byte times from the last byte. Waking for
// each byte as it comes would cost a wake-up, a poll and a read a byte, so
// the wait lets the line's speed pass first, without watching the port for
// data, until all but the last byte can be here; the port is watched for
// that one, so a late wake-up (the last byte was read some time after it
// came) holds the read up by no more than a byte time. The wait ends early
// at the interval (the gap that ends a read is then seen as before), the
// total time-out, a cancel or a hang-up.
TSerialPort::WaitResult TSerialPort::awaitRest(std::size_t rest, Clock::time_point lastByte,
                                               Clock::time_point total, std::chrono::milliseconds interval)
{
    if (byteTime_.count() == 0 || rest < 2)
        return WaitResult::Ready;
    Clock::time_point until = std::min(total, lastByte + byteTime_ * int64_t(rest - 1));
    if (interval.count() > 0)
        until = std::min(until, lastByte + interval);
    return waitFor(0, until);
}

// A read of several bytes that starts within the time they take from the
// last byte read cannot be complete sooner than that: it waits, as for the
// rest of a read, until all but the last can be here. A read of one byte
// gains nothing from the wait, and a line quiet for longer has nothing
// streaming to wait for: both go straight to watching the port.
TSerialPort::WaitResult TSerialPort::awaitStream(std::size_t length, Clock::time_point total)
{
    if (byteTime_.count() == 0 || length < 2)
        return WaitResult::Ready;
    const Clock::time_point complete = lastByteAt_ + byteTime_ * int64_t(length - 1);
    if (complete <= Clock::now())
        return WaitResult::Ready;
    return waitFor(0, std::min(complete, total));
}

std::size_t TSerialPort::Write(const uint8_t* buffer, std::size_t length)
{
    requireOpen();
    requireCarrier();
    const auto deadline = Clock::now() + std::chrono::milliseconds(
                                             uint64_t(timeouts_.WritePerByte) * length + timeouts_.WriteConstant);
    std::size_t sent = 0;
    while (sent < length) {
        if (cancelled())
            return 0;
        const ssize_t count = ::write(descriptor_, buffer + sent, length - sent);
        if (count > 0) {
            sent += std::size_t(count);
            continue;
        }
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            raiseLinkError(errno);
        const WaitResult result = waitFor(POLLOUT, deadline);
        if (result == WaitResult::Cancelled)
            return 0;
        if (result == WaitResult::TimedOut)
            return sent;
    }
    return sent;
}

void TSerialPort::Purge()
{
    requireOpen();
    int queues = TCIOFLUSH;
    if (carrier_) {
        // The modem's "NO CARRIER" may be what waits there: received bytes
        // are read and looked at before they are thrown away.
        requireCarrier();
        uint8_t discarded[256];
        ssize_t count = 0;
        while ((count = ::read(descriptor_, discarded, sizeof discarded)) > 0 || (count < 0 && errno == EINTR)) {
            if (count > 0 && carrier_->Received(discarded, std::size_t(count)))
                carrierGone();
        }
        queues = TCOFLUSH;
    }
    // An adopted descriptor need not be a terminal; then there is nothing to purge.
    if (::tcflush(descriptor_, queues) != 0 && !isNotATerminal(errno))
        raiseLinkError(errno);
}

void TSerialPort::ClearErrors()
{
    requireOpen();
    // Linux latches no error state that blocks transfers: breaks, framing and
    // overrun errors are only counted by the driver. The one stuck state a
    // port can be left in is suspended output, so restart it.
    if (::tcflow(descriptor_, TCOON) != 0 && !isNotATerminal(errno))
        raiseLinkError(errno);
}

void TSerialPort::Cancel()
{
    std::lock_guard lock(cancelMutex_);
    cancelled_.store(true, std::memory_order_release);
    const uint64_t one = 1;
    // The event stays readable until ClearCancel drains it, so every later
    // wait ends at once too.
    [[maybe_unused]] const ssize_t written = ::write(cancelEvent_, &one, sizeof one);
}

void TSerialPort::ClearCancel()
{
    std::lock_guard lock(cancelMutex_);
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t drained = ::read(cancelEvent_, &count, sizeof count);
    cancelled_.store(false, std::memory_order_release);
}

void TSerialPort::Close()
{
    if (descriptor_ < 0)
        return;
    if (!owns_) {
        if (adoptedFlags_ >= 0)
            ::fcntl(descriptor_, F_SETFL, adoptedFlags_);
        descriptor_ = -1;
        return;
    }
    // The exclusive flag lives on the terminal, not on this descriptor; a
    // pseudo-terminal outlives our close (the simulator holds it open), so
    // clear the flag or a later reopen by a normal user is refused.
    if (adoptedFlags_ < 0)
        ::ioctl(descriptor_, TIOCNXCL);
    ::close(descriptor_);
    descriptor_ = -1;
}

} // namespace Pelk
