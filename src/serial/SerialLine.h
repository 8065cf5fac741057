#pragma once
// The seam between the link and whatever carries its bytes: a termios port
// opened by name, a descriptor adopted from a modem call, or a scripted fake
// in tests. The link sees only this interface.
#include <cstddef>
#include <cstdint>

namespace Pelk {

// Per-call time-outs, in milliseconds, as the link sets them.
struct SerialTimeouts {
    uint32_t ReadInterval = 100;   // longest gap between two received bytes
    uint32_t ReadPerByte = 10;     // read total: per byte requested ...
    uint32_t ReadConstant = 1000;  // ... plus this constant
    uint32_t WritePerByte = 10;    // write total: per byte to send ...
    uint32_t WriteConstant = 500;  // ... plus this constant
};

class TSerialLine {
public:
    virtual ~TSerialLine() = default;

    // Time-outs of every later read and write.
    virtual void SetTimeouts(const SerialTimeouts& timeouts) = 0;

    // Reads up to `length` bytes. Returns when all have arrived, when the
    // interval between bytes or the total time-out elapses, or when the line
    // is cancelled; the result is the number of bytes read (0 on time-out or
    // cancel). System errors raise Quorvel1::Exception ("Mestra link: ...").
    virtual std::size_t Read(uint8_t* buffer, std::size_t length) = 0;

    // Writes up to `length` bytes within the write time-out; returns the
    // number written (0 on time-out or cancel).
    virtual std::size_t Write(const uint8_t* buffer, std::size_t length) = 0;

    // Discards whatever waits in the receive and transmit buffers.
    virtual void Purge() = 0;

    // Clears a pending error state of the line (break, framing, overrun).
    virtual void ClearErrors() = 0;

    // Thread-safe: ends a pending Read or Write at once, and every later one
    // too, until ClearCancel. Called from the UI thread while a worker waits.
    virtual void Cancel() = 0;
    virtual void ClearCancel() = 0;
};

} // namespace Pelk
