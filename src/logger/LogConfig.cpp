#include "logger/LogConfig.h"

#include <algorithm>

namespace Quorvel1 {

namespace {

// Reads the list entry at `at`; nothing when it does not fit in `config`.
std::optional<std::uint16_t> ReadEntry(std::span<const std::uint8_t> config, std::size_t at,
                                       std::uint8_t typeByte)
{
    const std::size_t width = LogEntryWidth(typeByte);
    if (at + width > config.size())
        return std::nullopt;
    if (width == 1)
        return config[at];
    return std::uint16_t(config[at] | config[at + 1] << 8);
}

} // namespace

std::vector<TDeviceKey> LogConfigDeviceKeys(std::span<const std::uint8_t> config, std::size_t maxKeys)
{
    std::vector<TDeviceKey> keys;
    if (config.size() < LogCfgLists)
        return keys;
    std::size_t at = LogCfgLists;
    for (std::size_t group = 0; group < LogGroupCount; ++group) {
        const std::uint8_t typeByte = LogGroupTypes[group];
        for (unsigned i = 0; i < config[LogCfgCounts + group]; ++i, at += LogEntryWidth(typeByte)) {
            const std::optional<std::uint16_t> entry = ReadEntry(config, at, typeByte);
            if (!entry)
                return keys;
            if (!LogEntryIsEmpty(typeByte, *entry) && keys.size() < maxKeys)
                keys.emplace_back(typeByte, *entry);
        }
    }
    return keys;
}

std::optional<TLogConfig> TLogConfig::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < LogCfgLists)
        return std::nullopt;
    TLogConfig config;
    config.Interval = std::uint16_t(bytes[LogCfgInterval] | bytes[LogCfgInterval + 1] << 8);
    config.FileNumber = std::uint16_t(bytes[LogCfgFileNumber] | bytes[LogCfgFileNumber + 1] << 8);
    for (std::size_t i = 0; i < LogCfgUnwrittenSize; ++i)
        config.Unwritten[i] = bytes[LogCfgUnwritten + i];
    config.Options = bytes[LogCfgOptions];
    std::size_t at = LogCfgLists;
    for (std::size_t group = 0; group < LogGroupCount; ++group) {
        const std::uint8_t typeByte = LogGroupTypes[group];
        for (unsigned i = 0; i < bytes[LogCfgCounts + group]; ++i, at += LogEntryWidth(typeByte)) {
            const std::optional<std::uint16_t> entry = ReadEntry(bytes, at, typeByte);
            if (!entry)
                return std::nullopt;
            config.Entries[group].push_back(*entry);
        }
    }
    // The program's upload stops writing sensor types at the block's end.
    for (std::size_t i = 0; i < config.Entries[0].size() && at < bytes.size(); ++i)
        config.SensorTypes.push_back(bytes[at++]);
    return config;
}

std::vector<std::uint8_t> TLogConfig::Serialise() const
{
    std::vector<std::uint8_t> bytes(LogCfgLists, 0);
    bytes[LogCfgInterval] = std::uint8_t(Interval & 0xFF);
    bytes[LogCfgInterval + 1] = std::uint8_t(Interval >> 8);
    bytes[LogCfgFileNumber] = std::uint8_t(FileNumber & 0xFF);
    bytes[LogCfgFileNumber + 1] = std::uint8_t(FileNumber >> 8);
    for (std::size_t i = 0; i < LogCfgUnwrittenSize; ++i)
        bytes[LogCfgUnwritten + i] = Unwritten[i];
    bytes[LogCfgOptions] = Options;
    for (std::size_t group = 0; group < LogGroupCount; ++group) {
        // A count is one byte: a longer list is cut to what the count can say.
        const std::size_t count = std::min<std::size_t>(Entries[group].size(), 0xFF);
        bytes[LogCfgCounts + group] = std::uint8_t(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint16_t entry = Entries[group][i];
            bytes.push_back(std::uint8_t(entry & 0xFF));
            if (LogEntryWidth(LogGroupTypes[group]) == 2)
                bytes.push_back(std::uint8_t(entry >> 8));
        }
    }
    const std::size_t sensors = std::min<std::size_t>(SensorTypes.size(), bytes[LogCfgCounts]);
    bytes.insert(bytes.end(), SensorTypes.begin(), SensorTypes.begin() + std::ptrdiff_t(sensors));
    return bytes;
}

} // namespace Quorvel1
