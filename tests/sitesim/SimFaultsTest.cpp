// Fault injection on the bytes the simulator sends.
#include "SimFaults.h"

#include <gtest/gtest.h>

using SiteSim::SimFaults;
using SiteSim::SimFaultSettings;
using Bytes = std::vector<uint8_t>;

namespace {

const Bytes ReadAnswer{0x06, 0x11, 0x22, 0x33, 0x66, 0x00};

// Many answers through one injector, everything that came out in a row.
Bytes run(const SimFaultSettings& settings, int answers = 200)
{
    SimFaults faults(settings);
    Bytes out;
    for (int i = 0; i < answers; ++i) {
        const Bytes sent = faults.Apply(ReadAnswer);
        out.insert(out.end(), sent.begin(), sent.end());
    }
    return out;
}

SimFaultSettings noisy(uint64_t seed)
{
    SimFaultSettings settings;
    settings.Seed = seed;
    settings.CorruptRate = 0.1;
    settings.DropRate = 0.1;
    settings.NakRate = 0.1;
    return settings;
}

} // namespace

TEST(SimFaults, WithoutFaultsEveryAnswerGoesOutUnchanged)
{
    SimFaults faults(SimFaultSettings{});
    EXPECT_EQ(faults.Apply(ReadAnswer), ReadAnswer);
    EXPECT_EQ(faults.Apply({0x15}), Bytes{0x15});
}

TEST(SimFaults, TheSameSeedGivesTheSameFaults)
{
    EXPECT_EQ(run(noisy(42)), run(noisy(42)));
    EXPECT_NE(run(noisy(42)), run(noisy(43)));
}

TEST(SimFaults, FaultsHappenAboutAsOftenAsAsked)
{
    SimFaultSettings settings;
    settings.DropRate = 0.25;
    SimFaults faults(settings);
    for (int i = 0; i < 1000; ++i)
        faults.Apply(ReadAnswer);
    // 6000 bytes at 25 %: 1500 expected; the bounds are many deviations wide.
    EXPECT_GT(faults.Counts().BytesDropped, 1200u);
    EXPECT_LT(faults.Counts().BytesDropped, 1800u);
}

TEST(SimFaults, ACorruptedByteAlwaysDiffers)
{
    SimFaultSettings settings;
    settings.CorruptRate = 1;
    SimFaults faults(settings);
    const Bytes out = faults.Apply(ReadAnswer);
    ASSERT_EQ(out.size(), ReadAnswer.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        EXPECT_NE(out[i], ReadAnswer[i]) << "byte " << i;
    EXPECT_EQ(faults.Counts().BytesCorrupted, ReadAnswer.size());
}

TEST(SimFaults, AnInjectedNakReplacesTheWholeAnswer)
{
    SimFaultSettings settings;
    settings.NakRate = 1;
    SimFaults faults(settings);
    EXPECT_EQ(faults.Apply(ReadAnswer), Bytes{0x15});
    EXPECT_EQ(faults.Apply({0x06}), Bytes{0x15});
    // Only acknowledgements turn into NAKs.
    EXPECT_EQ(faults.Apply({0x15}), Bytes{0x15});
    EXPECT_EQ(faults.Counts().NaksInjected, 2u);
}

TEST(SimFaults, AStalledLineSendsNothingAfterItsLastByte)
{
    SimFaultSettings settings;
    settings.StallAfter = 4;
    SimFaults faults(settings);
    EXPECT_EQ(faults.Apply({0x15}), Bytes{0x15});
    EXPECT_EQ(faults.Apply(ReadAnswer), (Bytes{0x06, 0x11, 0x22}));
    EXPECT_EQ(faults.Apply({0x06}), Bytes{});
    EXPECT_EQ(faults.Counts().BytesStalled, 4u);
}
