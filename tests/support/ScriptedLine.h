#pragma once
// A serial line that plays a script, for tests of the link: canned replies,
// silent reads (time-outs) and reads that hang until the line is cancelled,
// each given in the order the link will read them. Checkpoints in the script
// say which bytes the link must have written before the next reply is given.
// Everything written is recorded.
//
// A silent read, and any read once the script has run out, returns 0 bytes
// and moves the attached manual clock on by the read's total time-out, as a
// real port would take that long.
#include "serial/SerialLine.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace QuorvelTest {

class ManualClock;

using Bytes = std::vector<uint8_t>;

class ScriptedLine final : public Pelk::TSerialLine {
public:
    explicit ScriptedLine(ManualClock* clock = nullptr) : clock_(clock) {}

    // --- The script, in reading order.
    // The link must have written exactly `bytes` since the previous checkpoint.
    ScriptedLine& Expect(Bytes bytes);
    // Bytes the next reads deliver.
    ScriptedLine& Reply(Bytes bytes);
    // One read that times out with nothing.
    ScriptedLine& Silence(int reads = 1);
    // One read that blocks until Cancel, then returns nothing.
    ScriptedLine& Hang();

    // --- What happened.
    Bytes Written() const;
    // Every checkpoint mismatch, as readable text; empty when all matched.
    // Checkpoints left at the end of the script are compared first.
    std::vector<std::string> Mismatches();
    // True when every step of the script was used.
    bool Finished();
    int Purges() const;
    int ErrorClears() const;
    Pelk::SerialTimeouts Timeouts() const;
    // Blocks until a read is hanging (for tests that abort it from outside).
    void WaitUntilHanging();

    // --- TSerialLine.
    void SetTimeouts(const Pelk::SerialTimeouts& timeouts) override;
    std::size_t Read(uint8_t* buffer, std::size_t length) override;
    std::size_t Write(const uint8_t* buffer, std::size_t length) override;
    void Purge() override;
    void ClearErrors() override;
    void Cancel() override;
    void ClearCancel() override;

private:
    enum class Kind { Expect, Reply, Silence, Hang };
    struct Step {
        Kind kind;
        Bytes bytes;
    };

    void passCheckpoints();
    std::size_t timeOut(std::size_t length);

    ManualClock* clock_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Step> script_;
    Bytes written_;
    std::size_t checkedUpTo_ = 0;
    std::vector<std::string> mismatches_;
    Pelk::SerialTimeouts timeouts_;
    bool cancelled_ = false;
    bool hanging_ = false;
    int purges_ = 0;
    int errorClears_ = 0;
};

// One good reset, as the interface unit answers it: the 32 zeros are
// ignored, the drain finds nothing, the probe 01 02 03 is refused with a NAK.
void ScriptReset(ScriptedLine& line);

// "01 04 FB" -> bytes; for writing golden frames by hand.
Bytes Hex(const std::string& text);
std::string HexText(const Bytes& bytes);

} // namespace QuorvelTest
