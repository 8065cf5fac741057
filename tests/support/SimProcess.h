#pragma once
// Starts the site simulator (quorvel-sim) for a test and stops it again: the
// test gets the path of the simulator's serial port and, at the end or
// mid-run, the simulator's counts.
//
//   QuorvelTest::SimProcess sim({"--baud", "9600"}, "identity 0\n");
//   auto port = Pelk::TSerialPort::Open(sim.PortPath(), 9600);
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <map>
#include <string>

namespace QuorvelTest {

class SimProcess {
public:
    using Counts = std::map<std::string, uint64_t>;

    // The site time-out list ("ComTimeouts") of tests against the
    // simulator: short, so absent units and broken lines fail fast.
    static constexpr const char* ShortTimeouts = "2,300,100,100,300,1500";
    // Scenario lines for tests that dial the simulator's modem (--modem):
    // quick dial results and a short escape guard.
    static constexpr const char* QuickModem = "modem delay 50\nmodem guard 100\n";

    // Starts the simulator with `arguments` and, when `scenario` is not
    // empty, that scenario text (written to a file of its own). Returns once
    // the port exists; raises std::runtime_error when the simulator fails.
    explicit SimProcess(const QStringList& arguments = {}, const QString& scenario = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    QString PortPath() const { return portPath_; }
    qint64 ProcessId() const { return process_.processId(); }

    // SIGTERM and wait; returns the exit code (-1 if it had to be killed).
    // Safe to call twice.
    int Stop();

    // The counts by key (bytes_in, frames_answered, ...): the final ones
    // after Stop, otherwise fresh ones asked for with SIGUSR1.
    Counts GetCounts();

    // A file of key=value lines, as the simulator writes its counts and its
    // logger dump (--dump-logger); empty when the file cannot be read.
    static std::map<std::string, std::string> ReadKeyValues(const QString& path);

private:
    Counts readCounts() const;

    QTemporaryDir folder_;
    QProcess process_;
    QString portPath_;
    int exitCode_ = -1;
    bool stopped_ = false;
};

} // namespace QuorvelTest
