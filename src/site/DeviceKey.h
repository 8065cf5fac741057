#pragma once
// The 4-byte key that ties a site device to its entry in the logger's device
// table: {type byte, 0, address low byte, address high byte}, compared bytewise.
#include <array>
#include <cstdint>

namespace Quorvel1 {

// Device type bytes: the high nibble is the class, the low nibble the kind.
constexpr std::uint8_t DevVariableOutput = 0x10;
constexpr std::uint8_t DevOnOffOutput = 0x11;
constexpr std::uint8_t DevSensor = 0x20;
constexpr std::uint8_t DevTripInput = 0x21;
constexpr std::uint8_t DevAsm = 0x30;

constexpr std::uint8_t DevClassOutput = 0x10;
constexpr std::uint8_t DevClassSensor = 0x20;
constexpr std::uint8_t DevClassAsm = 0x30;

constexpr std::uint8_t DevClassOf(std::uint8_t typeByte) { return typeByte & 0xF0; }

struct TDeviceKey {
    std::array<std::uint8_t, 4> Bytes{};

    constexpr TDeviceKey() = default;
    constexpr TDeviceKey(std::uint8_t typeByte, std::uint16_t address)
        : Bytes{typeByte, 0, static_cast<std::uint8_t>(address & 0xFF),
                static_cast<std::uint8_t>(address >> 8)}
    {
    }

    constexpr std::uint8_t TypeByte() const { return Bytes[0]; }
    constexpr std::uint16_t Address() const
    {
        return static_cast<std::uint16_t>(Bytes[2] | (Bytes[3] << 8));
    }

    friend constexpr bool operator==(const TDeviceKey&, const TDeviceKey&) = default;
};

} // namespace Quorvel1
