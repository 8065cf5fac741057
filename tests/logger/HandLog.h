#pragma once
// Log files made in the tests with every value and time known: the entries
// are encoded as the logger encodes them, and the file is the one the
// download writes.
#include "logger/Log1.h"
#include "logger/LogFile.h"

#include "SimLogEncoder.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace LogTest {

using Quorvel1::TDeviceKey;

constexpr uint8_t SensorTypeByte = 0x20;
constexpr uint8_t AsmTypeByte = 0x30;
constexpr uint16_t ReaderTestConfigSize = 64;
constexpr uint32_t NewestUtc = 1'780'000'200; // 2026-05-28T20:30:00Z
constexpr uint32_t LocalAhead = 7200;         // the logger runs two hours ahead

// A log of the given devices (sensors first, then ASMs, as the logger lists
// them) whose entries leave the devices at `values`, row by row.
struct THandLog {
    std::vector<TDeviceKey> Keys;
    std::vector<std::vector<uint16_t>> Values;
    uint16_t Interval = 900;
    uint32_t NewestPC = NewestUtc;
    uint32_t NewestLocal = NewestUtc + LocalAhead;
    uint16_t BufferSize = 256;
    uint16_t StartByte = 200; // so the entries wrap round the ring
};

inline std::vector<uint8_t> LogBytes(const THandLog& hand)
{
    auto log = std::make_unique<Quorvel1::TLog1>();
    log->Header.FormatWord = 0x0100;
    log->Header.ConfigStart = 0x0400;
    std::size_t at = 15;
    for (const TDeviceKey& key : hand.Keys) {
        const int group = key.TypeByte() == AsmTypeByte ? 4 : 0;
        ++log->Status.Counts[std::size_t(group)];
        ++log->ConfigImage[std::size_t(10 + group)];
    }
    for (const TDeviceKey& key : hand.Keys) {
        log->ConfigImage[at++] = uint8_t(key.Address() & 0xFF);
        if (key.TypeByte() == AsmTypeByte)
            log->ConfigImage[at++] = uint8_t(key.Address() >> 8);
    }
    // At least the address lists: many ASMs need more than the usual size.
    const auto configSize = uint16_t(std::max<std::size_t>(ReaderTestConfigSize, at));
    log->Header.ConfigEnd = uint16_t(0x0400 + configSize - 1);
    log->ConfigSize = configSize;
    log->Status.Entries = uint16_t(hand.Values.size());
    log->Status.Interval = hand.Interval;
    log->Control.BufferSize = hand.BufferSize;
    log->Control.StartPosition = hand.StartByte;
    log->LoggedDevices = uint16_t(hand.Keys.size());
    log->BufferLength = hand.BufferSize;
    log->NewestEntryPCTime = hand.NewestPC;
    log->NewestEntryLoggerTime = hand.NewestLocal;

    const std::span<uint8_t> ring = log->BufferImage();
    SiteSim::SimRingPosition position{hand.StartByte, 0};
    std::vector<uint16_t> previous(hand.Keys.size(), 0);
    for (const auto& row : hand.Values) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            SiteSim::WriteLogCode(ring, position, SiteSim::EncodeLogChange(uint16_t(row[i] - previous[i])));
            previous[i] = row[i];
        }
    }
    log->Control.EndPosition = position.Byte;
    log->Control.EndBit = position.Bit;
    for (std::size_t i = 0; i < previous.size(); ++i)
        log->SetLastValue(int(i), previous[i]);
    return Quorvel1::SerialiseLogFile(*log);
}

} // namespace LogTest
