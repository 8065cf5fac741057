#pragma once
// What the simulated data logger starts with, from the scenario's "logger"
// lines (the directives are listed in SimLoggerSettings.cpp).
#include <cstdint>
#include <string>
#include <vector>

namespace SiteSim {

// Device type bytes of the logger's configuration lists.
constexpr uint8_t SimDevSensor = 0x20;
constexpr uint8_t SimDevTrip = 0x21;
constexpr uint8_t SimDevOutput = 0x10;
constexpr uint8_t SimDevOnOff = 0x11;
constexpr uint8_t SimDevAsm = 0x30;

struct SimLoggerDevice {
    uint8_t Type = SimDevSensor;
    uint16_t Address = 0; // 0xFF (ASMs: unit bits 0) makes an empty list entry
    uint8_t SensorType = 2;

    friend bool operator==(const SimLoggerDevice&, const SimLoggerDevice&) = default;
};

struct SimLoggerSettings {
    static constexpr uint16_t MaxBuffer = 32768;

    bool Present = true;
    uint16_t FormatWord = 0x0100;
    uint16_t Interval = 900;      // seconds
    uint16_t BufferSize = 16384;  // bytes of RAM, ending at the top of RAM
    uint16_t ConfigSize = 1024;   // bytes of the configuration block in EE
    std::vector<SimLoggerDevice> Devices = {
        {SimDevSensor, 0x61, 2}, {SimDevSensor, 0x62, 5}, {SimDevTrip, 0x63, 8},
        {SimDevOutput, 0x09, 0}, {SimDevOnOff, 0x0A, 0},  {SimDevAsm, 0x0221, 0},
    };
    uint32_t FastMs = 0;  // 0: real time; else one interval every FastMs ms
    uint32_t Prefill = 0; // entries made before the simulator starts serving
    bool StopWhenFull = false;
    bool Frozen = false;       // never carries out a command
    bool ClockStopped = false; // no time passes: no entries, the clock stands
    uint32_t CorruptHolds = 0; // the first holds report one entry more than the ring holds
    uint64_t Seed = 1;         // of the wandering device values
};

class ScenarioError;

// Applies one "logger ..." line (its words, "logger" first); raises
// ScenarioError naming `line` when the line cannot be used.
void ParseLoggerDirective(SimLoggerSettings& settings, const std::vector<std::string>& words, int line);

} // namespace SiteSim
