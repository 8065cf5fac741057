#pragma once
// Serves the protocol engine on a pseudo-terminal. The server makes the pair
// itself and keeps a descriptor of the slave side open for its whole life, so
// the master never sees a hang-up while the program closes and reopens the
// port. Bytes go through wire-speed pacing and fault injection; SIGTERM,
// SIGINT and SIGHUP end Serve cleanly, SIGUSR1 asks for the counts.
#include "SimFaults.h"
#include "SimLinkProtocol.h"
#include "SimPacer.h"

#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace SiteSim {

class SimPtyServer {
public:
    // Takes over the termination signals and SIGUSR1 (call before any other
    // thread starts) and creates the pseudo-terminal; raises
    // std::runtime_error when it cannot.
    SimPtyServer(SimLinkProtocol& link, SimFaults& faults, uint32_t baud);
    ~SimPtyServer();
    SimPtyServer(const SimPtyServer&) = delete;
    SimPtyServer& operator=(const SimPtyServer&) = delete;

    const std::string& PortPath() const { return portPath_; }
    // A symlink at `path` to the port, removed again by the destructor.
    void MakeLink(const std::string& path);

    // The simulated site's own clock (the data logger's entries, replies
    // that come after a delay): called when serving starts, once the time it
    // last returned has come, and after received bytes were handled; returns
    // when it next wants to be called. The poll waits for that time, so
    // nothing spins.
    using TickFunction = std::function<SimPacer::TimePoint(SimPacer::TimePoint now)>;
    void SetTick(TickFunction tick) { tick_ = std::move(tick); }

    // Something in front of the link engine (the modem): takes each byte the
    // PC sends instead of the link and returns the answer.
    using Receiver = std::function<std::vector<uint8_t>(uint8_t byte, SimPacer::TimePoint at)>;
    void SetReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
    // Sends `bytes` that nothing received asked for (a modem's late result).
    void Send(const std::vector<uint8_t>& bytes, SimPacer::TimePoint at);

    // Serves until a termination signal; `countsRequested` runs on SIGUSR1.
    void Serve(const std::function<void()>& countsRequested);

    uint64_t BytesIn() const { return bytesIn_; }
    uint64_t BytesOut() const { return bytesOut_; }

private:
    using TimePoint = SimPacer::TimePoint;
    struct TimedByte {
        uint8_t byte;
        TimePoint at;
    };

    void openPseudoTerminal();
    void takeSignals();
    void removeLink();
    bool handleSignal(const std::function<void()>& countsRequested); // false: stop
    void receiveAvailable();
    bool handleDueInput(TimePoint now); // false: no byte was due
    bool sendDueOutput(TimePoint now); // false: the port's buffer is full
    // The wait until the next due byte or tick; false: wait for input only.
    bool pollWait(TimePoint now, bool outputBlocked, timespec& wait) const;

    SimLinkProtocol& link_;
    SimFaults& faults_;
    SimPacer pacer_;
    int master_ = -1;
    int slave_ = -1;
    int signals_ = -1;
    std::string portPath_;
    std::string linkPath_;
    std::deque<TimedByte> input_;
    std::deque<TimedByte> output_;
    TickFunction tick_;
    Receiver receiver_;
    TimePoint nextTick_ = TimePoint::min();
    uint64_t bytesIn_ = 0;
    uint64_t bytesOut_ = 0;
};

} // namespace SiteSim
