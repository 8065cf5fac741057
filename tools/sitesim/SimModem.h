#pragma once
// A Hayes modem in front of the interface unit, as a pure byte engine like
// the link's: bytes from the PC go in with their arrival time, the answer
// comes out; results that come later (the dial's, the escape's OK, a far-end
// hang-up) come out of Tick once due.
//
// Command mode answers AT lines (ATZ, AT&F, ATE0/1, ATH, ATO, ATD..., and
// V, Q, X, L, M with their digit) with OK or ERROR framed by CR LF, echoing
// the command while echo is on. ATD starts a dial whose result (CONNECT,
// BUSY, NO CARRIER, NO ANSWER) follows after the set delay; any byte during
// the dial ends it with NO CARRIER. After CONNECT every byte goes to the
// interface unit's link engine, until "+++" with the guard time of silence
// before, between and after the pluses brings the modem back to command mode
// (OK) with the call kept: ATO returns to it, ATH ends it. A call the far
// end ends sends NO CARRIER and leaves the modem in command mode.
#include "SimModemSettings.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SiteSim {

class SimModem {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Bytes = std::vector<uint8_t>;
    // The interface unit: takes a byte of the call's data, returns its answer.
    using DataReceiver = std::function<Bytes(uint8_t byte, TimePoint at)>;
    enum class Mode { Command, Dialling, Data, OnlineCommand };

    SimModem(SimModemSettings settings, DataReceiver data);

    Bytes Receive(uint8_t byte, TimePoint at);
    // What has come due by `now`.
    Bytes Tick(TimePoint now);
    // When Tick next has something to do; TimePoint::max() when nothing waits.
    TimePoint NextEvent() const;
    // The far end hangs up: NO CARRIER while a call is up, else nothing.
    Bytes HangUpFarEnd();

    Mode CurrentMode() const { return mode_; }
    const std::string& DialledNumber() const { return number_; }

private:
    Bytes onCommandByte(uint8_t byte, TimePoint at);
    Bytes onDataByte(uint8_t byte, TimePoint at);
    // Runs one command line; the result to send (empty after ATD).
    std::string execute(const std::string& line, TimePoint at);
    bool executeOne(const std::string& command, std::size_t& at, TimePoint now, std::string& result);
    static Bytes framed(const std::string& text);

    SimModemSettings settings_;
    DataReceiver data_;
    Mode mode_ = Mode::Command;
    bool echo_ = true;
    std::string line_;
    std::string number_;
    TimePoint dialResultAt_ = TimePoint::max();
    TimePoint dropAt_ = TimePoint::max();
    TimePoint escapeAt_ = TimePoint::max();
    TimePoint lastDataAt_{};
    int pluses_ = 0;
};

} // namespace SiteSim
