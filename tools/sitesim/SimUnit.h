#pragma once
// One controller unit on the site's LAN: its RAM and EE, identity, alarm
// and scale words and airspaces, and its answers to the LAN requests and
// commands the program sends it (codes in SimLanMessage.h).
#include "SimLanMessage.h"
#include "SimLanSettings.h"
#include "SimMemory.h"

#include <memory>
#include <optional>

namespace SiteSim {

class SimUnit {
public:
    // Identity into memory first, then the settings' memory lines.
    explicit SimUnit(const SimUnitSettings& settings);

    uint8_t Number() const { return settings_.Number; }
    bool Silent() const { return settings_.Silent; }
    bool WrongCode() const { return settings_.WrongCode; }
    bool SlowTake() const { return settings_.SlowTake; }

    // The data bytes of the reply to a request (kind 4) or write (kind 7);
    // nothing for a request the unit does not know, which it leaves
    // unanswered. A write is carried out here.
    std::optional<SimLanData> Answer(const SimLanMessage& request);

    // Commands: alarm word to 0; each airspace's max and min to its actual
    // value; a reset, which the unit reports with its SYSTEM RESET alarm.
    void ClearAlarms() { settings_.AlarmWord = 0; }
    void ClearMaxMins();
    void Reset() { settings_.AlarmWord |= SimLanWire::AlarmSystemReset; }

    uint16_t AlarmWord() const { return settings_.AlarmWord; }
    // Airspace 1..15.
    const SimAirspace& Airspace(std::size_t index) const { return settings_.Airspaces[index - 1]; }
    SimMemory& Memory() { return *memory_; }
    const SimMemory& Memory() const { return *memory_; }

private:
    std::optional<SimLanData> answerRead(uint8_t code, const SimLanData& request) const;
    std::optional<SimLanData> answerWrite(uint8_t code, const SimLanData& request);
    std::optional<SimLanData> answerAirspace(std::size_t index, uint8_t code) const;
    void writeIdentity();

    SimUnitSettings settings_;
    std::unique_ptr<SimMemory> memory_; // 128 KiB: not on the stack
};

} // namespace SiteSim
