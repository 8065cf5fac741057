// Wire-speed pacing of the simulator's bytes: as on a real line, a byte
// arrives once its last bit has, one byte time after it left.
#include "SimPacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using SiteSim::SimPacer;
using namespace std::chrono_literals;

namespace {
const SimPacer::TimePoint Start = SimPacer::TimePoint{} + 1h;
}

TEST(SimPacer, WithoutASpeedBytesAreNeverHeldBack)
{
    SimPacer pacer(0);
    EXPECT_EQ(pacer.OutputAt(Start), Start);
    EXPECT_EQ(pacer.OutputAt(Start), Start);
    EXPECT_EQ(pacer.InputAt(Start), Start);
}

TEST(SimPacer, AtOneThousandBaudEachByteTakesTenMilliseconds)
{
    SimPacer pacer(1000);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(pacer.OutputAt(Start), Start + i * 10ms);
}

TEST(SimPacer, ABurstDoesNotDriftFromItsStart)
{
    // At 4800 baud a byte takes 2083333.3 ns; 4800 bytes take exactly 10 s.
    SimPacer pacer(4800);
    SimPacer::TimePoint last;
    for (int i = 0; i < 4800; ++i)
        last = pacer.OutputAt(Start);
    EXPECT_EQ(last, Start + 10s);
}

TEST(SimPacer, AfterAnIdleWireANewBurstStartsWhenTheByteIsReady)
{
    SimPacer pacer(1000);
    pacer.OutputAt(Start);
    EXPECT_EQ(pacer.OutputAt(Start + 1s), Start + 1s + 10ms);
    EXPECT_EQ(pacer.OutputAt(Start + 1s), Start + 1s + 20ms);
}

TEST(SimPacer, BytesReadTogetherCountAsArrivedOneByteTimeApart)
{
    SimPacer pacer(1000);
    EXPECT_EQ(pacer.InputAt(Start), Start + 10ms);
    EXPECT_EQ(pacer.InputAt(Start), Start + 20ms);
    EXPECT_EQ(pacer.InputAt(Start + 5ms), Start + 30ms);
    // Input and output are separate wires.
    EXPECT_EQ(pacer.OutputAt(Start), Start + 10ms);
}

namespace {

// One byte handed to the pacer: on the input wire (the PC sent it) or the
// output wire (the simulator answers), ready at Start + `readyMs`; it must
// arrive at Start + `arrivesUs`.
struct PacedByte {
    bool input;
    int readyMs;
    int arrivesUs;
};

struct PacerCase {
    std::string name;
    uint32_t baud;
    std::vector<PacedByte> bytes;
};

class SimPacerWire : public ::testing::TestWithParam<PacerCase> {};

} // namespace

TEST_P(SimPacerWire, EachByteArrivesWhenItsLastBitHas)
{
    const PacerCase& c = GetParam();
    SimPacer pacer(c.baud);
    for (std::size_t i = 0; i < c.bytes.size(); ++i) {
        const PacedByte& byte = c.bytes[i];
        const SimPacer::TimePoint ready = Start + std::chrono::milliseconds(byte.readyMs);
        const SimPacer::TimePoint arrives = byte.input ? pacer.InputAt(ready) : pacer.OutputAt(ready);
        EXPECT_EQ(arrives, Start + std::chrono::microseconds(byte.arrivesUs)) << "byte " << i;
    }
}

// A byte time is 10 ms at 1000 baud, 1 ms at 10000 baud.
INSTANTIATE_TEST_SUITE_P(
    Cases, SimPacerWire,
    ::testing::Values(
        // A 3-byte request written at once has arrived after 3 byte times; the
        // answer, ready when its last byte arrived, reaches the PC one byte
        // time later: a reply never starts before the whole request is in.
        PacerCase{"RequestThenReply", 1000,
                  {{true, 0, 10000}, {true, 0, 20000}, {true, 0, 30000}, {false, 30, 40000}, {false, 30, 50000}}},
        // Bytes written one by one, each before the last has left, queue up
        // behind it on the wire.
        PacerCase{"BytesWrittenWhileTheWireIsBusyWait", 1000, {{true, 0, 10000}, {true, 4, 20000}, {true, 15, 30000}}},
        // A byte ready the moment the wire falls idle starts a new burst.
        PacerCase{"WireIdleAtTheLastArrival", 10000, {{false, 0, 1000}, {false, 1, 2000}, {false, 5, 6000}}},
        // The two directions share nothing: a full-duplex line.
        PacerCase{"BothDirectionsAtOnce", 10000,
                  {{true, 0, 1000}, {false, 0, 1000}, {true, 0, 2000}, {false, 0, 2000}}},
        PacerCase{"NoSpeedNoDelay", 0, {{true, 7, 7000}, {true, 7, 7000}, {false, 7, 7000}}}),
    [](const ::testing::TestParamInfo<PacerCase>& info) { return info.param.name; });
