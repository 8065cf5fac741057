// The timing test behind "Run Timing...": how long requests of each size take
// to be sent, acknowledged and completed, measured on the interface unit's LAN
// buffer, which can be read and written back without side effects.
#include "comms/MestraIF.h"

#include "base/Exception.h"
#include "comms/PelkTrace.h"

#include <array>

namespace Pelk {

namespace {

constexpr int WriteSizes = 8;
constexpr int WriteRepeats = 3;
constexpr int ReadSizes = 50;
constexpr uint32_t TimingPause = 100;

// Chk, Ack and Op times of one request size, in ms from the request's start.
struct TTimingRow {
    uint16_t Chk = 0;
    uint16_t Ack = 0;
    uint16_t Op = 0;
};

QString timingTable(const QString& title, const TTimingRow* rows, int count)
{
    QString text = "\n" + title + "\nBytes\tChk\tAck\tOp\n";
    for (int i = 0; i < count; ++i)
        text += QString("%1\t%2\t%3\t%4\n").arg(i + 1).arg(rows[i].Chk).arg(rows[i].Ack).arg(rows[i].Op);
    return text;
}

// Timing mode ends with the test, also when a transfer fails.
class TTimingModeScope {
public:
    explicit TTimingModeScope(bool& mode) : mode_(mode) { mode_ = true; }
    ~TTimingModeScope() { mode_ = false; }

private:
    bool& mode_;
};

} // namespace

void TMestraIF::TimeLink()
{
    // Without a LAN buffer the writes would land on address 0 of the
    // interface unit's memory.
    if (LanBufferAddress == 0)
        throw Quorvel1::Exception(NoLanBufferText);
    std::array<uint8_t, 8> message{};
    ReadMem(message.data(), LanBufferAddress, uint16_t(message.size()), false);
    message[0] = 0; // written back, a 0 control byte sends no LAN message

    TTimingModeScope timing(TimingMode);
    SetStatus("Timing Link...");
    Delay(TimingPause);

    auto measure = [this](TTimingRow& row, auto transfer) {
        const uint32_t start = Tick();
        transfer();
        const uint32_t end = Tick();
        row.Chk = uint16_t(row.Chk + (ChkTime - start));
        row.Ack = uint16_t(row.Ack + (AckTime - start));
        row.Op = uint16_t(row.Op + (end - start));
    };

    std::array<TTimingRow, WriteSizes> writes{};
    const uint32_t writeStart = Tick();
    for (int size = 1; size <= WriteSizes; ++size) {
        TTimingRow& row = writes[std::size_t(size - 1)];
        for (int i = 0; i < WriteRepeats; ++i)
            measure(row, [&] { WriteMem(message.data(), LanBufferAddress, uint16_t(size), false); });
        row = {uint16_t(row.Chk / WriteRepeats), uint16_t(row.Ack / WriteRepeats),
               uint16_t(row.Op / WriteRepeats)};
    }
    const uint32_t writeTotal = Tick() - writeStart;
    SetStatus(QString("Timing - end write: %1").arg(writeTotal));
    Delay(TimingPause);

    std::array<TTimingRow, ReadSizes> reads{};
    std::array<uint8_t, ReadSizes> readBuffer{};
    const uint32_t readStart = Tick();
    for (int size = 1; size <= ReadSizes; ++size)
        measure(reads[std::size_t(size - 1)],
                [&] { ReadMem(readBuffer.data(), LanBufferAddress, uint16_t(size), false); });
    const uint32_t readTotal = Tick() - readStart;
    SetStatus(QString("Timing - write: %1, read: %2 (%3)").arg(writeTotal).arg(readTotal).arg(writeTotal + readTotal));

    if (TraceIsOpen()) {
        TraceRaw(timingTable("Write Timings", writes.data(), WriteSizes));
        TraceRaw(timingTable("Read Timings", reads.data(), ReadSizes));
    }
}

} // namespace Pelk
