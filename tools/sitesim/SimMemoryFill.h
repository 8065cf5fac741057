#pragma once
// Bytes a scenario's memory line puts into the RAM or EE of the interface
// unit or of a unit on the LAN.
#include "SimMemory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SiteSim {

struct SimMemoryFill {
    SimMemory::Space Space = SimMemory::Space::Ram;
    uint16_t Address = 0;
    std::vector<uint8_t> Bytes;
};

// Reads the words of a memory line, "ram|ee ADDRESS KIND ARGUMENTS ..." (the
// kinds are listed at the top of SimScenario.cpp); raises ScenarioError
// naming `line` when the line cannot be used.
SimMemoryFill ParseMemoryFill(const std::vector<std::string>& words, int line);

// Writes the bytes from the fill's address on, wrapping at the top of the space.
void ApplyMemoryFill(SimMemory& memory, const SimMemoryFill& fill);

} // namespace SiteSim
