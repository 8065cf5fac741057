#include "support/SimProcess.h"

#include <QFile>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace QuorvelTest {

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int StopTimeoutMs = 10000;
constexpr auto CountsTimeout = std::chrono::seconds(10);

} // namespace

SimProcess::SimProcess(const QStringList& arguments, const QString& scenario)
{
    QStringList all = arguments;
    all << "--counts" << folder_.filePath("counts.txt");
    if (!scenario.isEmpty()) {
        QFile file(folder_.filePath("scenario.txt"));
        if (!file.open(QIODevice::WriteOnly) || file.write(scenario.toUtf8()) < 0)
            throw std::runtime_error("SimProcess: cannot write the scenario file");
        all << "--scenario" << file.fileName();
    }
    // The simulator's complaints go straight to the test's own output.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QUORVEL_SIM_PATH, all);
    if (!process_.waitForStarted(StartTimeoutMs))
        throw std::runtime_error("SimProcess: cannot start " QUORVEL_SIM_PATH);
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(StartTimeoutMs)) {
            Stop();
            throw std::runtime_error("SimProcess: the simulator printed no port (exit code "
                                     + std::to_string(exitCode_) + ")");
        }
    }
    portPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
}

SimProcess::~SimProcess()
{
    Stop();
}

int SimProcess::Stop()
{
    if (stopped_)
        return exitCode_;
    stopped_ = true;
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(StopTimeoutMs)) {
            process_.kill();
            process_.waitForFinished(StopTimeoutMs);
            return exitCode_ = -1;
        }
    }
    exitCode_ = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    return exitCode_;
}

SimProcess::Counts SimProcess::GetCounts()
{
    if (stopped_)
        return readCounts();
    // Each counts file carries a snapshot number; wait for a newer one.
    const Counts before = readCounts();
    const uint64_t lastSnapshot = before.count("snapshot") ? before.at("snapshot") : 0;
    ::kill(pid_t(process_.processId()), SIGUSR1);
    const auto deadline = std::chrono::steady_clock::now() + CountsTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        Counts now = readCounts();
        if (now.count("snapshot") && now.at("snapshot") > lastSnapshot)
            return now;
        // The file is replaced whole by a rename; there is no event to wait on.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    throw std::runtime_error("SimProcess: the simulator wrote no counts");
}

SimProcess::Counts SimProcess::readCounts() const
{
    Counts counts;
    for (const auto& [key, value] : ReadKeyValues(folder_.filePath("counts.txt")))
        counts[key] = std::strtoull(value.c_str(), nullptr, 10);
    return counts;
}

std::map<std::string, std::string> SimProcess::ReadKeyValues(const QString& path)
{
    std::map<std::string, std::string> values;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return values;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const int equals = line.indexOf('=');
        if (equals > 0)
            values[line.left(equals).toStdString()] = line.mid(equals + 1).toStdString();
    }
    return values;
}

} // namespace QuorvelTest
