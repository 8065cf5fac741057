#pragma once
// The site simulator with a link connected to it, for tests and benchmarks
// that drive the real serial layer end to end. The link gets the short
// time-out list unless the user says otherwise, so an absent unit or a dead
// line fails fast; a user states only what differs (the simulator's
// arguments and scenario, other time-outs, a clock of its own, a line
// factory set on `link` before connecting).
//
//   class MyTest : public ::testing::Test, public QuorvelTest::SimLinkFixture {};
//   TEST_F(MyTest, ...) { Connect({"--nak", "0.05"}, "identity 7\n"); ... }
#include "comms/LinkClock.h"
#include "comms/MestraIF.h"
#include "support/SimProcess.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace QuorvelTest {

class SimLinkFixture {
public:
    // The link runs on `clock` (the system clock when none is given).
    explicit SimLinkFixture(std::unique_ptr<Pelk::TLinkClock> clock = nullptr);
    virtual ~SimLinkFixture();
    SimLinkFixture(const SimLinkFixture&) = delete;
    SimLinkFixture& operator=(const SimLinkFixture&) = delete;

    // Starts the simulator, opens the link on its port and connects; raises
    // std::runtime_error when the link does not connect.
    void Connect(const QStringList& arguments = {}, const QString& scenario = {});

    // The steps of Connect one by one, for tests that connect another way
    // (through a modem's data port) or expect the connect to fail.
    void StartSim(const QStringList& arguments = {}, const QString& scenario = {});
    // Opens the link with `timeouts` on the simulator's port, or on `handle`
    // (a descriptor the link adopts) when it is not -1.
    void OpenLink(int handle = -1);
    // OpenLink, then connect; raises std::runtime_error when it fails.
    void ConnectLink(int handle = -1);
    // Closes the link and stops the simulator; Connect may start anew.
    void StopSim();

    // One of the simulator's counts (bytes_in, frames_answered, ...), fresh.
    uint64_t Count(const char* key);

    // The site time-out list ("ComTimeouts") the link opens with; empty for
    // the link's own defaults.
    QString timeouts = SimProcess::ShortTimeouts;

private:
    std::unique_ptr<Pelk::TLinkClock> clock_; // before the link, which uses it

public:
    std::unique_ptr<SimProcess> sim;
    Pelk::TMestraIF link;
};

} // namespace QuorvelTest
