#pragma once
// What the site's LAN starts with, from the scenario's "lan" and "unit"
// lines (the directives are listed in SimLanSettings.cpp): the interface
// unit's own LAN address, how long it takes to take a message and to bring
// a reply, and the units 1..30 with their identity, values and memory.
#include "SimMemoryFill.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace SiteSim {

// One airspace of a unit; values in tenths, 0x8001 (-32767) for no value.
struct SimAirspace {
    int16_t Actual = 0;
    int16_t Set = 0;
    int16_t Max = 0;
    int16_t Min = 0;
    uint8_t MinVent = 0; // percent
};

struct SimUnitSettings {
    // The airspace travels in the sub-code, a nibble.
    static constexpr std::size_t MaxAirspaces = 15;
    static constexpr std::size_t NameLength = 16;
    // Where the program finds a unit's identity in its memory.
    static constexpr uint16_t ProcessorIdAddress = 0x0000; // EE
    static constexpr uint16_t RomIdAddress = 0x2020;       // RAM
    static constexpr uint16_t NameAddress = 0x3000;        // RAM, two characters a word
    static constexpr uint16_t TypeWordAddress = 0x7FFE;    // RAM

    // A unit with the defaults for its number: program name "UNITn",
    // processor identifier 1000 + n, one airspace and one room.
    explicit SimUnitSettings(uint8_t number);

    uint8_t Number;
    uint16_t AppId = 0x0C05;
    uint16_t ProcessorId;
    uint16_t RomId = 0x0100;
    std::string Name;
    std::array<uint8_t, 4> Identity{1, 1, 0, 0}; // d0 airspaces, d1 rooms, d2, d3
    uint16_t AlarmWord = 0;
    uint16_t ScaleWord = 0; // above 400 the program shows degrees F
    // Airspace i (1-based) is Airspaces[i - 1]; only the first d0 answer.
    std::array<SimAirspace, MaxAirspaces> Airspaces;
    // Seeded faults that always hold for this unit.
    bool Silent = false;    // takes its messages, never answers
    bool WrongCode = false; // answers with another code
    bool SlowTake = false;  // its messages are taken only after the slow-take time
    std::vector<SimMemoryFill> Fills; // applied after the identity, in file order
};

struct SimLanSettings {
    uint8_t InterfaceAddress = 0; // low 5 bits of byte 1 of every reply
    uint32_t TakeMs = 2;          // from the send flag to the message taken
    uint32_t ReplyMs = 20;        // from the take to the reply
    uint32_t SlowTakeMs = 250;    // the take of a slow-take unit or fault
    std::vector<SimUnitSettings> Units; // one per number, in order of first mention

    // The unit of that number, added with its defaults when first named.
    SimUnitSettings& Unit(uint8_t number);
};

// Apply one "lan ..." or "unit ..." line (its words, the directive first);
// raise ScenarioError naming `line` when the line cannot be used.
void ParseLanDirective(SimLanSettings& settings, const std::vector<std::string>& words, int line);
void ParseUnitDirective(SimLanSettings& settings, const std::vector<std::string>& words, int line);

} // namespace SiteSim
