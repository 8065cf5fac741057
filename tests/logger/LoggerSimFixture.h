#pragma once
// The site simulator's data logger behind a real serial link, for logger
// tests that change the logger or read it over a faulty line: the
// simulator's true logger state ("--dump-logger"), every frame the link
// wrote, and a link clock whose own pauses (the reset's waits, the command
// polls) pass at once while the line's read time-outs still take real time.
#include "comms/LinkClock.h"
#include "comms/MestraIF.h"
#include "logger/Log1.h"
#include "logger/LogIF.h"
#include "serial/SerialPort.h"
#include "support/SimLinkFixture.h"
#include "support/TempFolder.h"

#include <QFile>


#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace QuorvelTest {

// Real time plus every pause the link asked for, so a reset's seconds of
// waiting cost nothing but a time-out on a dead line still ends.
class SkippingClock final : public Pelk::TLinkClock {
public:
    uint32_t Tick() override { return Pelk::MonotonicTick() + skipped_.load(); }
    void Sleep(uint32_t ms, Pelk::TLinkWaiter&) override { skipped_ += ms; }

private:
    std::atomic<uint32_t> skipped_{0};
};

// One request frame as the link sent it: command byte, address, data.
struct TSentFrame {
    uint8_t Command = 0;
    uint16_t Address = 0;
    std::vector<uint8_t> Data;
};

// The termios port to the simulator, keeping a copy of all it wrote. Cut,
// it is a pulled cable: nothing it writes reaches the simulator.
class RecordingLine final : public Pelk::TSerialLine {
public:
    explicit RecordingLine(std::unique_ptr<Pelk::TSerialPort> port) : port_(std::move(port)) {}

    void SetTimeouts(const Pelk::SerialTimeouts& timeouts) override { port_->SetTimeouts(timeouts); }
    std::size_t Read(uint8_t* buffer, std::size_t length) override { return port_->Read(buffer, length); }
    std::size_t Write(const uint8_t* buffer, std::size_t length) override
    {
        if (Cut)
            return length;
        const std::size_t written = port_->Write(buffer, length);
        std::lock_guard lock(mutex_);
        written_.insert(written_.end(), buffer, buffer + written);
        return written;
    }
    void Purge() override { port_->Purge(); }
    void ClearErrors() override { port_->ClearErrors(); }
    void Cancel() override { port_->Cancel(); }
    void ClearCancel() override { port_->ClearCancel(); }

    std::vector<uint8_t> Written() const
    {
        std::lock_guard lock(mutex_);
        return written_;
    }
    void ForgetWritten()
    {
        std::lock_guard lock(mutex_);
        written_.clear();
    }

    std::atomic<bool> Cut{false};

private:
    std::unique_ptr<Pelk::TSerialPort> port_;
    mutable std::mutex mutex_;
    std::vector<uint8_t> written_;
};

// The request frames in a stream the link wrote: 0x01, length, its
// complement, then a body of command, address and data, then a 16-bit sum.
// The reset's zeros and its deliberately broken probe are skipped.
inline std::vector<TSentFrame> FramesIn(const std::vector<uint8_t>& stream)
{
    constexpr std::size_t HeaderBytes = 3;
    constexpr std::size_t ChecksumBytes = 2;
    constexpr std::size_t AddressedBody = 3; // command and address
    std::vector<TSentFrame> frames;
    std::size_t at = 0;
    while (at + HeaderBytes <= stream.size()) {
        const uint8_t length = stream[at + 1];
        const bool frameStart = stream[at] == Pelk::TMestraIF::FrameStart && stream[at + 2] == uint8_t(length ^ 0xFF);
        if (!frameStart || length < AddressedBody || at + HeaderBytes + length + ChecksumBytes > stream.size()) {
            ++at;
            continue;
        }
        const uint8_t* body = stream.data() + at + HeaderBytes;
        frames.push_back({body[0], uint16_t(body[1] | body[2] << 8),
                          std::vector<uint8_t>(body + AddressedBody, body + length)});
        at += HeaderBytes + length + ChecksumBytes;
    }
    return frames;
}

inline bool IsEeWrite(const TSentFrame& frame)
{
    return frame.Command == (Pelk::TMestraIF::CommandWrite | Pelk::TMestraIF::CommandEE);
}

// A log file as the program reads it back; null when it is not one valid log.
inline std::unique_ptr<Quorvel1::TLog1> LoadLog(const QString& path)
{
    QFile file(path);
    auto log = std::make_unique<Quorvel1::TLog1>();
    if (!file.open(QIODevice::ReadOnly) || !log->LoadFromFile(file))
        return nullptr;
    return log;
}

class LoggerSimFixture : public ::testing::Test, public SimLinkFixture {
protected:
    using TDump = std::map<std::string, std::string>;

    // Where a log file's parts begin (little-endian, in this order), as the
    // file layout has them.
    static constexpr int FileHeaderAt = 41;
    static constexpr int FileStatusAt = 53;
    static constexpr int FileControlAt = 84;
    static constexpr int FileLoggerTimeAt = 106;
    static constexpr int FileConfigAt = 114;

    LoggerSimFixture() : SimLinkFixture(std::make_unique<SkippingClock>())
    {
        link.SetLineFactory([this](const QString& name, uint32_t baud) -> std::unique_ptr<Pelk::TSerialLine> {
            auto line = std::make_unique<RecordingLine>(Pelk::TSerialPort::Open(name, baud));
            line_ = line.get();
            return line;
        });
    }
    // The simulator writes its last dump as it stops: before the folder goes.
    ~LoggerSimFixture() override { StopSim(); }

    // Starts the simulator with `scenario` and `arguments`, connects the link
    // and makes the logger interface, not opened yet.
    void StartUnopened(const QString& scenario, QStringList arguments = {})
    {
        arguments << "--dump-logger" << dumpDir.file("logger.txt");
        Connect(arguments, scenario);
        log = std::make_unique<Quorvel1::TLogIF>(link);
    }
    // StartUnopened, then opens the logger (which fails when the scenario
    // has none).
    void Start(const QString& scenario, const QStringList& arguments = {}, bool withLogger = true)
    {
        StartUnopened(scenario, arguments);
        ASSERT_EQ(log->Open(), withLogger);
    }
    // Ends the logger interface, the link and the simulator; Start may
    // begin anew.
    void StopSim()
    {
        log.reset();
        SimLinkFixture::StopSim();
    }

    // The simulator's logger as it is now.
    TDump Dump()
    {
        sim->GetCounts(); // the dump is written just before the counts
        return SimProcess::ReadKeyValues(dumpDir.file("logger.txt"));
    }
    static QByteArray DumpBytes(const TDump& dump, const std::string& key)
    {
        return QByteArray::fromHex(QByteArray::fromStdString(dump.at(key)));
    }
    static int Number(const TDump& dump, const std::string& key) { return std::stoi(dump.at(key)); }
    // The ring's bytes from `first` to `last`, both included, wrapping at
    // its end.
    static QByteArray RingPart(const QByteArray& ring, int first, int last)
    {
        QByteArray part;
        for (int at = first;; at = (at + 1) % int(ring.size())) {
            part.append(ring[at]);
            if (at == last)
                return part;
        }
    }

    std::vector<TSentFrame> SentFrames() const { return FramesIn(line_->Written()); }
    std::vector<TSentFrame> SentEeWrites() const
    {
        std::vector<TSentFrame> writes;
        for (const TSentFrame& frame : SentFrames()) {
            if (IsEeWrite(frame))
                writes.push_back(frame);
        }
        return writes;
    }
    void ForgetSent() { line_->ForgetWritten(); }
    // Pulls the cable out (true) or puts it back.
    void CutLine(bool cut) { line_->Cut = cut; }

    // Where downloads are saved.
    QString Folder() const { return files.path() + "/"; }
    QStringList Files() const { return files.Entries(); }

    TempFolder dumpDir;
    TempFolder files;
    std::unique_ptr<Quorvel1::TLogIF> log;

private:
    RecordingLine* line_ = nullptr; // owned by the link
};

} // namespace QuorvelTest
