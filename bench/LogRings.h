#pragma once
// The log benchmarks' logs: full 32 KiB rings of 30 devices, as a logger
// holds them when it is downloaded, and files that downloads one after the
// other were appended to.
#include "logger/HandLog.h"

#include <cstdint>
#include <random>
#include <vector>

namespace LogBench {

inline constexpr int BenchDevices = 30;
inline constexpr uint16_t BenchRing = 32768 - 2 * BenchDevices;
inline constexpr uint32_t BenchGapBits = 8;

// A ring filled with entries of 30 ASMs wandering by small steps, as
// temperatures and levels do, until the next entry would not fit.
inline LogTest::THandLog FullRing(uint32_t newestUtc, unsigned seed)
{
    LogTest::THandLog hand;
    hand.BufferSize = BenchRing;
    hand.StartByte = 0;
    hand.NewestPC = newestUtc;
    hand.NewestLocal = newestUtc + 3600;
    for (int i = 0; i < BenchDevices; ++i)
        hand.Keys.push_back({LogTest::AsmTypeByte, uint16_t(0x0021 + 0x0200 * i)});
    std::mt19937 random(seed);
    std::vector<uint16_t> values(BenchDevices, 0); // as the log's entries start from
    uint32_t bits = 0;
    const uint32_t capacity = uint32_t(BenchRing) * 8 - BenchGapBits;
    for (;;) {
        std::vector<uint16_t> next = values;
        uint32_t entryBits = 0;
        for (int i = 0; i < BenchDevices; ++i) {
            const int step = int(random() % 7) - 3;
            next[std::size_t(i)] = uint16_t(values[std::size_t(i)] + step);
            entryBits += SiteSim::EncodeLogChange(uint16_t(step)).Length;
        }
        if (bits + entryBits > capacity || hand.Values.size() == 0xFFFF)
            break;
        bits += entryBits;
        hand.Values.push_back(next);
        values = next;
    }
    return hand;
}

// A file of `downloads` full rings, each downloaded a whole ring after the
// last, the first ending at `newestUtc`.
inline std::vector<uint8_t> MergedRings(int downloads, uint32_t newestUtc)
{
    std::vector<uint8_t> merged;
    for (int i = 0; i < downloads; ++i) {
        const LogTest::THandLog next = FullRing(newestUtc, unsigned(i + 2));
        const std::vector<uint8_t> bytes = LogTest::LogBytes(next);
        merged.insert(merged.end(), bytes.begin(), bytes.end());
        newestUtc += uint32_t(next.Values.size()) * next.Interval;
    }
    return merged;
}

} // namespace LogBench
