#pragma once
// The 8-byte LAN message as the interface unit and the units handle it. In
// the interface unit's message buffer:
//
//   byte 0    written by the PC: 0 while writing, 0xFF = send now; set to 0
//             by the interface unit when it takes the message; the source
//             (replying unit) once a reply has arrived
//   byte 1    destination 0..30; in a reply the interface unit's own address
//   byte 2    kind (high nibble) and sub-code (low nibble)
//   byte 3    code
//   bytes 4..7  data bytes 0..3, words little-endian
#include <array>
#include <cstddef>
#include <cstdint>

namespace SiteSim {

using SimLanMessage = std::array<uint8_t, 8>;
using SimLanData = std::array<uint8_t, 4>;

namespace SimLanWire {

constexpr std::size_t Control = 0;
constexpr std::size_t Destination = 1;
constexpr std::size_t Command = 2;
constexpr std::size_t Code = 3;
constexpr std::size_t Data = 4;

constexpr uint8_t SendNow = 0xFF;
constexpr uint8_t Taken = 0x00;
constexpr uint8_t AddressMask = 0x1F;

constexpr uint8_t KindReply = 0x3;
constexpr uint8_t KindRead = 0x4;
constexpr uint8_t KindCommand = 0x6;
constexpr uint8_t KindWrite = 0x7;

// Requests of kind 4 (reads) and 7 (writes), sub-code 0.
constexpr uint8_t CodeRamByte = 1;
constexpr uint8_t CodeRamWord = 2;
constexpr uint8_t CodeEeByte = 3;
constexpr uint8_t CodeEeWord = 4;
constexpr uint8_t CodeIdentify = 7;       // data 0..1: the application identifier
constexpr uint8_t CodeAlarmWord = 9;      // data 0..1
constexpr uint8_t CodeScaleWord = 11;     // data 0..1
constexpr uint8_t CodeIdentityBytes = 13; // d0 airspaces, d1 rooms, d2, d3

// Requests of kind 4 with sub-code i, the airspace 1..15.
constexpr uint8_t CodeAirspaceValues = 0x80;   // data 0..1 actual, 2..3 set
constexpr uint8_t CodeAirspaceMinVent = 0x83;  // data 0: min-vent %
constexpr uint8_t CodeAirspaceExtremes = 0x85; // data 0..1 max, 2..3 min

// Commands (kind 6).
constexpr uint8_t CommandReset = 2;         // data 0..1 must be ResetKey
constexpr uint8_t CommandClearAlarms = 9;   // destination 0: every unit
constexpr uint8_t CommandClearMaxMins = 17; // destination 0: every unit
constexpr uint16_t ResetKey = 0x0018;

constexpr uint16_t AlarmSystemReset = 0x8000;

inline uint8_t KindOf(const SimLanMessage& message)
{
    return uint8_t(message[Command] >> 4);
}

inline uint8_t SubCodeOf(const SimLanMessage& message)
{
    return uint8_t(message[Command] & 0x0F);
}

inline uint16_t WordOf(const SimLanData& data, std::size_t first)
{
    return uint16_t(data[first] | data[first + 1] << 8);
}

inline void PutWord(SimLanData& data, std::size_t first, uint16_t value)
{
    data[first] = uint8_t(value);
    data[first + 1] = uint8_t(value >> 8);
}

inline SimLanData DataOf(const SimLanMessage& message)
{
    return {message[Data], message[Data + 1], message[Data + 2], message[Data + 3]};
}

} // namespace SimLanWire

} // namespace SiteSim
