#pragma once
// The four small blocks in the interface unit's RAM that describe and control
// the data logger: header, status, control and command. Each is parsed from
// and serialised to its exact little-endian bytes; bytes the program does not
// interpret are kept so that a block survives a round trip unchanged.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace Quorvel1 {

// Logger command codes, written to byte 5 of the command block.
constexpr std::uint8_t LogCmdRestart = 0x01;
constexpr std::uint8_t LogCmdReadClock = 0x02;
constexpr std::uint8_t LogCmdSetClock = 0x04;
constexpr std::uint8_t LogCmdHold = 0x08;
constexpr std::uint8_t LogCmdDownloaded = 0x10; // added to LogCmdHold after a download
constexpr std::uint8_t LogHoldOn = 0xFF;
constexpr std::uint8_t LogHoldOff = 0x00;

struct TLogHeader {
    static constexpr std::size_t Size = 12;
    static constexpr std::uint16_t FormatMask = 0xFF00;
    static constexpr std::uint16_t FormatVersion = 0x0100;

    std::uint16_t FormatWord = 0;
    std::uint16_t ConfigStart = 0; // EE
    std::uint16_t ConfigEnd = 0;   // EE, inclusive
    std::uint16_t StatusAddress = 0;
    std::uint16_t ControlAddress = 0;
    std::uint16_t CommandAddress = 0;

    bool FormatAccepted() const { return (FormatWord & FormatMask) == FormatVersion; }
    // end - start + 1; negative when the end lies before the start.
    int ConfigSize() const { return int(ConfigEnd) - int(ConfigStart) + 1; }

    static std::optional<TLogHeader> Parse(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, Size> Serialise() const;
};

// Offsets of the status block, for the fields written back through the link.
constexpr std::uint16_t LogStatusTimerOffset = 4;

struct TLogStatus {
    static constexpr std::size_t Size = 32;
    static constexpr std::size_t GroupCount = 5; // sensors, trips, outputs, on-offs, ASMs

    std::uint16_t ReadingsAddress = 0;
    std::uint16_t LastValuesAddress = 0;
    std::uint16_t IntervalTimer = 0; // seconds since the newest entry
    std::array<std::uint8_t, 2> Unused6{};
    std::uint16_t Entries = 0;
    std::uint16_t NewEntries = 0;
    std::uint16_t Interval = 0;
    std::uint16_t FullIn = 0; // hours
    std::uint16_t StartDay = 0; // 0: the logger reports no start time
    std::uint8_t StartHour = 0;
    std::uint8_t StartMinute = 0;
    std::uint8_t StartSecond = 0;
    std::uint8_t Unused21 = 0;
    std::array<std::uint8_t, GroupCount> Counts{};
    std::array<std::uint8_t, 2> Unused27{};
    std::uint8_t DataLevel = 0; // percent
    std::array<std::uint8_t, 2> Unused30{};

    static std::optional<TLogStatus> Parse(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, Size> Serialise() const;
};

struct TLogControl {
    static constexpr std::size_t Size = 12;

    std::uint16_t BufferAddress = 0;
    std::uint16_t BufferSize = 0;
    std::uint16_t EndPosition = 0;
    std::uint16_t StartPosition = 0;
    std::uint8_t EndBit = 0;
    std::uint8_t StartBit = 0;
    std::array<std::uint8_t, 2> Unused10{};

    static std::optional<TLogControl> Parse(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, Size> Serialise() const;
};

struct TLogCommand {
    static constexpr std::size_t Size = 6;
    static constexpr std::uint16_t CodeOffset = 5;

    std::uint16_t Day = 0;
    std::uint8_t Hour = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0; // for the hold command: the hold parameter
    std::uint8_t Code = 0;

    static std::optional<TLogCommand> Parse(std::span<const std::uint8_t> bytes);
    std::array<std::uint8_t, Size> Serialise() const;
};

} // namespace Quorvel1
