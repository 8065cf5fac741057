#pragma once
// The termios serial port behind the link: a device opened by name (the
// "LocalPort" setting, or the simulator's pseudo-terminal), or a descriptor
// adopted from a modem call. All waits are poll() calls on the port and on a
// cancel event, so a waiting thread uses no processor time and Cancel from
// another thread ends a wait at once.
#include "base/Exception.h"
#include "serial/CarrierWatch.h"
#include "serial/SerialLine.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace Pelk {

// The port could not be opened. The message is always "Couldn't open comm
// port" (that is what the user is shown); Detail() carries the system's
// reason, and for a permission failure the group the user must join.
class ESerialOpen : public Quorvel1::Exception {
public:
    explicit ESerialOpen(QString detail);
    const QString& Detail() const noexcept { return detail_; }

private:
    QString detail_;
};

class TSerialPort : public TSerialLine {
public:
    static constexpr const char* OpenFailedText = "Couldn't open comm port";
    static constexpr const char* GetStateFailedText = "Couldn't get comm state";
    static constexpr const char* SetStateFailedText = "Couldn't set comm state";
    // A modem call's line whose carrier is gone; like the system's own
    // errors on the port, not a link exception.
    static constexpr const char* CarrierLostText = "Mestra link: Carrier lost";
    // Waits on the thread that owns an event pump are cut into slices of at
    // most this long, with the pump run between them.
    static constexpr std::chrono::milliseconds PumpSlice{20};

    // How the line is driven: the link's line has DTR and RTS off; a modem's
    // line raises them (a modem ignores commands while DTR is low) and hangs
    // the modem up when the port closes.
    enum class LineKind { Link, Modem };

    // Opens the named device exclusively (TIOCEXCL and a lock that keeps out
    // a second opener even as root) and sets raw 8N1 at `baudRate` with no
    // flow control. A Windows name ("COM1") opens the device it stands for
    // (PortDevicePath). Raises ESerialOpen, or Quorvel1::Exception "Couldn't
    // get comm state" / "Couldn't set comm state".
    static std::unique_ptr<TSerialPort> Open(const QString& name, uint32_t baudRate,
                                             LineKind kind = LineKind::Link);

    // Takes over a descriptor that is already open (a modem call's data
    // port). Its line settings are left as they are; only the time-outs of
    // this class apply. With `owns` the descriptor is closed by Close; without
    // it the descriptor's file flags are restored and it stays open.
    static std::unique_ptr<TSerialPort> Adopt(int descriptor, bool owns);

    ~TSerialPort() override;
    TSerialPort(const TSerialPort&) = delete;
    TSerialPort& operator=(const TSerialPort&) = delete;

    // A ReadInterval of 0 means no interval limit; a total of 0 (per-byte
    // and constant both 0) makes a read or write take only what can go at once.
    void SetTimeouts(const SerialTimeouts& timeouts) override;
    std::size_t Read(uint8_t* buffer, std::size_t length) override;
    std::size_t Write(const uint8_t* buffer, std::size_t length) override;
    void Purge() override;
    void ClearErrors() override;
    void Cancel() override;
    void ClearCancel() override;

    // The line is a modem call's data port: from now on, once its carrier
    // is gone (CarrierWatch.h), every read and write raises
    // Quorvel1::Exception with CarrierLostText at once instead of waiting
    // out its time-outs, and `lost` is called once, on the thread that
    // found the loss.
    void WatchCarrier(std::function<void()> lost);

    // Releases the port; later reads and writes raise. Safe to call twice.
    void Close();
    bool IsOpen() const { return descriptor_ >= 0; }
    int Descriptor() const { return descriptor_; }

    // Keeps the calling thread's user interface alive during waits: Read and
    // Write called on this same thread run `pump` between short poll slices.
    // An empty function removes the pump.
    void SetEventPump(std::function<void()> pump);

    // The speed constant a baud rate maps to: the highest standard rate at or
    // below it, clamped to 110..115200.
    static unsigned SpeedConstant(uint32_t baudRate);

private:
    using Clock = std::chrono::steady_clock;
    enum class WaitResult { Ready, TimedOut, Cancelled };

    TSerialPort(int descriptor, bool owns);
    void applyLineSettings(uint32_t baudRate, LineKind kind);
    void setModemLines(LineKind kind);
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }
    // Waits until the port is ready for `events`, the deadline passes or the
    // line is cancelled; pumps events when called on the pump's thread.
    // With no `events`, a plain wait that still ends on a cancel or a hang-up.
    WaitResult waitFor(short events, Clock::time_point deadline);
    WaitResult awaitRest(std::size_t rest, Clock::time_point lastByte, Clock::time_point total,
                         std::chrono::milliseconds interval);
    WaitResult awaitStream(std::size_t length, Clock::time_point total);
    void requireOpen() const;
    // Raises once the carrier is gone; reads DCD where it is watched.
    void requireCarrier();
    [[noreturn]] void carrierGone();

    int descriptor_ = -1;
    bool owns_ = true;
    int adoptedFlags_ = -1; // file flags to restore on an adopted descriptor
    int cancelEvent_ = -1;  // eventfd, readable while cancelled
    std::atomic<bool> cancelled_{false};
    std::mutex cancelMutex_; // Cancel and ClearCancel keep flag and event in step
    SerialTimeouts timeouts_;
    // One byte's time on the wire at the line's speed; zero when unknown.
    std::chrono::nanoseconds byteTime_{0};
    Clock::time_point lastByteAt_{}; // when the last byte was read
    std::function<void()> pump_;
    std::thread::id pumpThread_;
    // Used only by the thread that reads and writes.
    std::optional<TCarrierWatch> carrier_;
    std::function<void()> carrierLost_;
};

} // namespace Pelk
