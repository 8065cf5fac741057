#pragma once
// The logging configuration block in the interface unit's EE: interval, log
// file number, options, the five device counts and address lists, and one
// sensor type byte per sensor. The walk over the lists that gives the logged
// devices in entry order lives here, bounded by the block's own size.
#include "site/DeviceKey.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Quorvel1 {

constexpr std::size_t LogConfigCapacity = 2048; // largest configuration the model holds

constexpr std::size_t LogCfgInterval = 0;
constexpr std::size_t LogCfgFileNumber = 2;
constexpr std::size_t LogCfgUnwritten = 4; // 5 bytes the program leaves as read
constexpr std::size_t LogCfgUnwrittenSize = 5;
constexpr std::size_t LogCfgOptions = 9;
constexpr std::size_t LogCfgCounts = 10; // 5 counts
constexpr std::size_t LogCfgLists = 15;

constexpr std::uint8_t LogOptStopWhenFull = 0x01;
constexpr std::uint8_t LogOptAverageSensors = 0x02;
constexpr std::uint8_t LogOptAverageOutputs = 0x04;
constexpr std::uint8_t LogOptAverageAsms = 0x08;

constexpr std::size_t LogGroupCount = 5;
// The device groups in the order of the counts, the lists and every entry.
constexpr std::array<std::uint8_t, LogGroupCount> LogGroupTypes = {
    DevSensor, DevTripInput, DevVariableOutput, DevOnOffOutput, DevAsm};

constexpr std::uint8_t LogEmptyByteEntry = 0xFF;
constexpr std::uint16_t LogAsmUnitMask = 0x1F; // an ASM entry with unit 0 is empty

// Bytes one list entry of the group takes: 2 for ASMs, 1 for the rest.
constexpr std::size_t LogEntryWidth(std::uint8_t typeByte) { return typeByte == DevAsm ? 2 : 1; }
constexpr bool LogEntryIsEmpty(std::uint8_t typeByte, std::uint16_t entry)
{
    return typeByte == DevAsm ? (entry & LogAsmUnitMask) == 0 : entry == LogEmptyByteEntry;
}

// The keys of the non-empty list entries in entry order, at most `maxKeys`.
// Entries that would lie beyond the end of `config` are not there.
std::vector<TDeviceKey> LogConfigDeviceKeys(std::span<const std::uint8_t> config, std::size_t maxKeys);

// The configuration as fields. Entries are kept as stored, empty ones too.
struct TLogConfig {
    std::uint16_t Interval = 0;
    std::uint16_t FileNumber = 0;
    std::array<std::uint8_t, LogCfgUnwrittenSize> Unwritten{};
    std::uint8_t Options = 0;
    std::array<std::vector<std::uint16_t>, LogGroupCount> Entries; // by group
    std::vector<std::uint8_t> SensorTypes; // as many as fit, at most one per sensor entry

    // Nothing when the block is too short for its counts and lists.
    static std::optional<TLogConfig> Parse(std::span<const std::uint8_t> bytes);
    std::vector<std::uint8_t> Serialise() const;
};

} // namespace Quorvel1
