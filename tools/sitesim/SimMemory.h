#pragma once
// The two 64 KiB memory spaces of a simulated unit: RAM/ROM and EEPROM.
#include <array>
#include <cstddef>
#include <cstdint>

namespace SiteSim {

class SimMemory {
public:
    enum class Space { Ram, Ee };

    uint8_t Byte(Space space, uint16_t address) const { return bytes(space)[address]; }
    void SetByte(Space space, uint16_t address, uint8_t value) { bytes(space)[address] = value; }
    // Little-endian word; the address wraps within the 64 KiB space.
    uint16_t Word(Space space, uint16_t address) const;
    void SetWord(Space space, uint16_t address, uint16_t value);

    // Whether `length` bytes from `address` take in `target`, wrapping at
    // the top of the space as the addresses do.
    static bool Covers(uint16_t address, std::size_t length, uint16_t target)
    {
        return uint16_t(target - address) < length;
    }

private:
    std::array<uint8_t, 65536>& bytes(Space s) { return s == Space::Ram ? ram_ : ee_; }
    const std::array<uint8_t, 65536>& bytes(Space s) const { return s == Space::Ram ? ram_ : ee_; }

    std::array<uint8_t, 65536> ram_{};
    std::array<uint8_t, 65536> ee_{};
};

// The two spaces by the short names the scenario lines give them.
inline constexpr SimMemory::Space Ram = SimMemory::Space::Ram;
inline constexpr SimMemory::Space Ee = SimMemory::Space::Ee;

} // namespace SiteSim
