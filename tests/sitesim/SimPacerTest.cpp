// Wire-speed pacing of the simulator's bytes.
#include "SimPacer.h"

#include <gtest/gtest.h>

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
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pacer.OutputAt(Start), Start + i * 10ms);
}

TEST(SimPacer, ABurstDoesNotDriftFromItsStart)
{
    // At 4800 baud a byte takes 2083333.3 ns; 4800 bytes take exactly 10 s.
    SimPacer pacer(4800);
    SimPacer::TimePoint last;
    for (int i = 0; i <= 4800; ++i)
        last = pacer.OutputAt(Start);
    EXPECT_EQ(last, Start + 10s);
}

TEST(SimPacer, AfterAnIdleWireANewBurstStartsWhenTheByteIsReady)
{
    SimPacer pacer(1000);
    pacer.OutputAt(Start);
    EXPECT_EQ(pacer.OutputAt(Start + 1s), Start + 1s);
    EXPECT_EQ(pacer.OutputAt(Start + 1s), Start + 1s + 10ms);
}

TEST(SimPacer, BytesReadTogetherCountAsArrivedOneByteTimeApart)
{
    SimPacer pacer(1000);
    EXPECT_EQ(pacer.InputAt(Start), Start);
    EXPECT_EQ(pacer.InputAt(Start), Start + 10ms);
    EXPECT_EQ(pacer.InputAt(Start + 5ms), Start + 20ms);
    // Input and output are separate wires.
    EXPECT_EQ(pacer.OutputAt(Start), Start);
}
