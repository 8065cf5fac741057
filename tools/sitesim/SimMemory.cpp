#include "SimMemory.h"

namespace SiteSim {

uint16_t SimMemory::Word(Space space, uint16_t address) const
{
    return uint16_t(Byte(space, address) | Byte(space, uint16_t(address + 1)) << 8);
}

void SimMemory::SetWord(Space space, uint16_t address, uint16_t value)
{
    SetByte(space, address, uint8_t(value));
    SetByte(space, uint16_t(address + 1), uint8_t(value >> 8));
}

} // namespace SiteSim
