#pragma once
// What the simulated site holds at start: the interface unit's descriptor
// table, link descriptor, identity and type words, and any other memory
// contents. A scenario starts from the built-in default site; a scenario
// file states only what differs (format at the top of SimScenario.cpp).
#include "ScenarioWords.h"
#include "SimLanSettings.h"
#include "SimLoggerSettings.h"
#include "SimModemSettings.h"
#include "SimMemory.h"
#include "SimMemoryFill.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SiteSim {

struct SimLinkDescriptor {
    uint16_t Version = 0x0100;
    uint16_t MaxWriteBlock = 16;
    uint16_t MaxReadBlock = 252;
    uint16_t LanBufferAddress = 0x3080;
};

class SimScenario {
public:
    // The interface unit's RAM words the program reads at connect.
    static constexpr uint16_t DescriptorTableAddress = 0x2FF8;
    static constexpr uint16_t DescriptorCountAddress = 0x2FFE;
    static constexpr uint16_t TypeWordAddress = 0x7FFE;
    static constexpr uint16_t IdentityWordAddress = 0x0000; // in EE
    enum Slot { AlarmSlot = 0, LinkSlot = 1, LoggerSlot = 2 };

    // The built-in site: all three descriptor slots in use, a link
    // descriptor of version 1.0 with a LAN buffer, a non-zero identity.
    static SimScenario Default() { return SimScenario(); }
    // The default site changed by the lines of a scenario file; raises
    // ScenarioError on the first line it cannot use.
    static SimScenario Parse(std::string_view text);
    // Reads and parses a scenario file; raises ScenarioError (line 0 when
    // the file cannot be read).
    static SimScenario Load(const std::string& path);

    // Writes the scenario into a unit's memory: the structures first, then
    // the memory lines in file order, so a memory line can overwrite them.
    void Apply(SimMemory& memory) const;

    uint16_t DescriptorCount = 3;
    std::array<uint16_t, 3> Slots{0x3000, 0x3040, 0x3100};
    SimLinkDescriptor Link;
    uint16_t IdentityWord = 4660;
    uint16_t TypeWord = 0x0200;
    std::vector<SimMemoryFill> Fills;
    SimLoggerSettings Logger; // the data logger, installed at the LOGGER slot
    SimLanSettings Lan;       // the units on the LAN and the LAN buffer's timing
    SimModemSettings Modem;   // how the modem answers (with --modem)
};

} // namespace SiteSim
