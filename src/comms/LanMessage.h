#pragma once
// The 8-byte LAN message through which the PC reaches the units across the
// site's LAN. It lies in the interface unit's message buffer and in the
// link's and the jobs' own copies, in the same layout:
//
//   byte 0    request: 0 while being written, 0xFF = send now;
//             reply: the address of the replying unit (0 = no reply yet)
//   byte 1    request: destination unit 0..30;
//             reply: the interface unit's own LAN address in the low 5 bits
//   byte 2    kind in the high nibble, sub-code in the low nibble
//   byte 3    code
//   bytes 4..7  data bytes 0..3 (words little-endian)
#include <array>
#include <cstddef>
#include <cstdint>

namespace Pelk {

using TLanMessage = std::array<uint8_t, 8>;

namespace Lan {

constexpr std::size_t ControlByte = 0;
constexpr std::size_t DestinationByte = 1;
constexpr std::size_t CommandByte = 2;
constexpr std::size_t CodeByte = 3;
constexpr std::size_t DataByte = 4; // data byte i is message byte DataByte + i

constexpr uint8_t SendNow = 0xFF;
constexpr uint8_t AddressMask = 0x1F;

// Message kinds, the high nibble of the command byte.
constexpr uint8_t KindReply = 0x3;
constexpr uint8_t KindRead = 0x4;    // request with reply
constexpr uint8_t KindCommand = 0x6; // command, no reply
constexpr uint8_t KindWrite = 0x7;   // write with reply

// Codes of the link's own requests; with KindRead a read, with KindWrite a
// write. Data bytes 0..1 carry the address, data byte 2 (or 2..3) the value.
constexpr uint8_t CodeRamByte = 1;
constexpr uint8_t CodeRamWord = 2;
constexpr uint8_t CodeEEByte = 3;
constexpr uint8_t CodeEEWord = 4;
constexpr uint8_t CodeIdentify = 7; // reply data 0..1: the unit's type word

inline uint8_t Kind(const TLanMessage& message)
{
    return uint8_t(message[CommandByte] >> 4);
}

inline uint8_t SubCode(const TLanMessage& message)
{
    return uint8_t(message[CommandByte] & 0x0F);
}

// A sub-code wider than its nibble would change the kind; it is cut to fit.
inline uint8_t Command(uint8_t kind, uint8_t subCode)
{
    return uint8_t(kind << 4 | (subCode & 0x0F));
}

inline bool WantsReply(uint8_t kind)
{
    return kind == KindRead || kind == KindWrite;
}

inline uint16_t DataWord(const TLanMessage& message, std::size_t first)
{
    return uint16_t(message[DataByte + first] | message[DataByte + first + 1] << 8);
}

inline void SetDataWord(TLanMessage& message, std::size_t first, uint16_t value)
{
    message[DataByte + first] = uint8_t(value & 0xFF);
    message[DataByte + first + 1] = uint8_t(value >> 8);
}

// The reply comes from the unit the request went to, is a reply of the
// request's sub-code and carries the request's code.
inline bool AnswersRequest(const TLanMessage& reply, const TLanMessage& request)
{
    return reply[ControlByte] == request[DestinationByte] && Kind(reply) == KindReply
        && SubCode(reply) == SubCode(request) && reply[CodeByte] == request[CodeByte];
}

} // namespace Lan

} // namespace Pelk
