#pragma once
// The interface unit's side of the site's LAN: its 8-byte message buffer
// and the units 1..30 behind it.
//
// The interface unit acts only when the PC writes 0xFF into byte 0 of the
// buffer (the timing test and the PC's own 8-byte write leave a 0 there).
// It takes a snapshot of the message and, after the take time, takes it:
// byte 0 becomes 0. A command (kind 6) is then carried out and not answered.
// A request (kind 4) or write (kind 7) is answered after the reply time if
// its unit is there and knows it: bytes 1..7 of the reply first, byte 0 (the
// replying unit's address) ReplySettle later, so the PC never sees a source
// before the rest of the reply. Messages to absent units, and of other
// kinds, are taken and never answered. Any write the PC makes into the
// buffer cancels a take or reply still pending, since the PC has moved on.
//
// The interface unit's alarm table (31 words, one for each unit number
// 0..30, at the alarm slot's address) is kept equal to the units' alarm
// words.
#include "SimLanFaults.h"
#include "SimLanMessage.h"
#include "SimLanSettings.h"
#include "SimMemory.h"
#include "SimTimedEvents.h"
#include "SimUnit.h"

#include <array>
#include <chrono>
#include <memory>

namespace SiteSim {

struct SimLanCounts {
    uint64_t MessagesTaken = 0;
    uint64_t Requests = 0;   // kinds 4 and 7 taken
    uint64_t Commands = 0;   // kind 6 taken
    uint64_t OtherKinds = 0; // taken and ignored
    uint64_t Replies = 0;    // replies complete in the buffer
    uint64_t Unanswered = 0; // requests taken that get no reply
    uint64_t Cancelled = 0;  // takes and replies dropped because the PC wrote the buffer
    uint64_t SilentInjected = 0;
    uint64_t WrongCodesInjected = 0;
    uint64_t SlowTakesInjected = 0;
};

class SimLan {
public:
    using TimePoint = SimTimedEvents::TimePoint;
    static constexpr std::size_t MessageLength = 8;
    static constexpr std::size_t AlarmTableWords = 31;
    static constexpr std::chrono::milliseconds ReplySettle{1};

    // `bufferAddress` 0: the interface unit has no LAN buffer; likewise
    // `alarmTableAddress` 0: no alarm table is kept.
    SimLan(SimMemory& interfaceUnit, uint16_t bufferAddress, uint16_t alarmTableAddress,
           const SimLanSettings& settings, const SimLanFaultSettings& faults, uint64_t seed,
           SimTimedEvents& events);

    // After the PC wrote the interface unit's memory.
    void OnWrite(SimMemory::Space space, uint16_t address, std::size_t length, TimePoint now);

    // The unit of that number, or nullptr when there is none.
    SimUnit* Unit(uint8_t number);
    const SimLanCounts& Counts() const { return counts_; }

private:
    struct Pending {
        SimLanMessage Message;
        uint64_t Serial;
    };

    bool touchesBuffer(uint16_t address, std::size_t length) const;
    void take(const Pending& pending, SimLanFaults::Draw faults, TimePoint due);
    void answer(const Pending& pending, SimUnit* unit, SimLanFaults::Draw faults, TimePoint due);
    void carryOut(const SimLanMessage& command);
    void postReply(const SimLanMessage& reply, uint64_t serial, TimePoint due);
    SimLanMessage snapshot() const;
    void writeAlarmTable();
    template <typename Action>
    void forUnits(uint8_t destination, Action action);

    SimMemory& memory_;
    const uint16_t buffer_;
    const uint16_t alarmTable_;
    const uint8_t interfaceAddress_;
    const std::chrono::milliseconds takeTime_;
    const std::chrono::milliseconds replyTime_;
    const std::chrono::milliseconds slowTakeTime_;
    std::array<std::unique_ptr<SimUnit>, AlarmTableWords> units_; // by number; 0 stays empty
    SimLanFaults faults_;
    SimTimedEvents& events_;
    uint64_t serial_ = 0; // one more for each write into the buffer
    SimLanCounts counts_;
};

} // namespace SiteSim
