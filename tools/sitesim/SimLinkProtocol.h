#pragma once
// The interface unit's side of the link, as a pure byte engine: each byte the
// PC sends goes in with its arrival time, the bytes to send back come out.
// No I/O, no clock of its own, so it can be driven byte by byte in tests.
//
// Frame: 01 LEN ~LEN, then LEN body bytes (command, address low, address
// high, then the read count or the write data), then the 16-bit sum of the
// body, low byte first. A valid read is answered 06, the data and the data's
// 16-bit sum; a valid write is stored and answered 06. A wrong complement is
// answered 15 (NAK): that is the reset handshake "01 02 03". Every other
// malformed frame (bad checksum, unknown command, a length that does not fit
// the command) is answered NAK too, so the PC fails the block at once instead
// of waiting out its deadline. A frame broken off for longer than
// PartialFrameTimeout is dropped without an answer (the PC aborted it and is
// resetting; an answer then would be a stray byte).
#include "SimMemory.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace SiteSim {

struct SimLinkCounts {
    uint64_t FramesAnswered = 0; // valid reads and writes acknowledged
    uint64_t BadFrames = 0;      // malformed or broken-off frames
    uint64_t NaksSent = 0;       // NAK answers, the reset handshake's included
    uint64_t ResetsSeen = 0;     // frame starts with a wrong complement
};

class SimLinkProtocol {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // Called after each memory write the PC makes, so the rest of the
    // simulated site can react (a LAN message triggered, a logger command).
    using WriteHook = std::function<void(SimMemory::Space space, uint16_t address, std::size_t length)>;

    static constexpr uint8_t FrameStart = 0x01;
    static constexpr uint8_t Ack = 0x06;
    static constexpr uint8_t Nak = 0x15;
    static constexpr uint8_t CommandWrite = 0x01;
    static constexpr uint8_t CommandEe = 0x02;
    static constexpr uint8_t ReadBodyLength = 4;
    static constexpr std::chrono::milliseconds PartialFrameTimeout{300};

    explicit SimLinkProtocol(SimMemory& memory) : memory_(memory) {}

    void SetWriteHook(WriteHook hook) { writeHook_ = std::move(hook); }

    // Takes one received byte; returns the answer to send (usually nothing).
    std::vector<uint8_t> Receive(uint8_t byte, TimePoint at);

    const SimLinkCounts& Counts() const { return counts_; }

private:
    enum class State { Hunt, Length, Complement, Body, Checksum };

    std::vector<uint8_t> onHunt(uint8_t byte);
    std::vector<uint8_t> onComplement(uint8_t byte);
    std::vector<uint8_t> onFrameComplete();
    std::vector<uint8_t> answerRead(SimMemory::Space space, uint16_t address, uint8_t count);
    std::vector<uint8_t> answerWrite(SimMemory::Space space, uint16_t address);
    std::vector<uint8_t> rejectFrame();
    void startFrame();

    SimMemory& memory_;
    WriteHook writeHook_;
    SimLinkCounts counts_;
    State state_ = State::Hunt;
    TimePoint lastByteAt_{};
    uint8_t length_ = 0;
    std::vector<uint8_t> body_;
    std::vector<uint8_t> checksum_;
};

} // namespace SiteSim
