// The scenario's "logger" lines; each changes the default logger:
//
//   logger none                    no logger is installed (the LOGGER slot's
//                                  header is left to memory lines)
//   logger interval SECONDS        logging interval (default 900)
//   logger buffer BYTES            ring buffer size, 0..32768 (default 16384);
//                                  the buffer ends at the top of RAM
//   logger config BYTES            configuration block size in EE, 16..8192
//                                  (default 1024, at EE 0x0400)
//   logger devices D [D ...]       the logged devices, replacing the default
//                                  list; D is TYPE:ADDRESS or, for sensors,
//                                  TYPE:ADDRESS:SENSORTYPE; TYPE is sensor,
//                                  trip, output, onoff or asm; address 0xFF
//                                  (an ASM with unit 0) is an empty entry
//   logger format WORD             the header's format word (default 0x0100)
//   logger fast MS                 time runs fast: one interval every MS ms
//   logger prefill ENTRIES         entries made before serving starts
//   logger stop-when-full          option bit 0: stop logging when full,
//                                  instead of dropping the oldest entries
//   logger frozen                  never carries out a command
//   logger clock-stopped           no time passes: no entries, a still clock
//   logger corrupt-holds N         while held, the first N holds report one
//                                  entry more than the ring holds, so a log
//                                  read then fails its check
//   logger seed N                  seed of the wandering device values
#include "SimLoggerSettings.h"

#include "ScenarioWords.h"

#include <cstdint>
#include <map>

namespace SiteSim {

namespace {

using Words = ScenarioWords;

void arguments(const Words& words, std::size_t count, int line)
{
    if (words.size() != count + 2)
        throw ScenarioError(line, "logger " + words[1] + ": wrong number of arguments");
}

SimLoggerDevice device(const std::string& word, int line)
{
    static const std::map<std::string, uint8_t> types{
        {"sensor", SimDevSensor}, {"trip", SimDevTrip}, {"output", SimDevOutput},
        {"onoff", SimDevOnOff},   {"asm", SimDevAsm},
    };
    const Words parts = SplitAt(word, ':');
    const auto type = types.find(parts[0]);
    if (type == types.end() || parts.size() < 2 || parts.size() > 3
        || (parts.size() == 3 && type->second != SimDevSensor))
        throw ScenarioError(line, "logger devices: not TYPE:ADDRESS[:SENSORTYPE]: " + word);
    SimLoggerDevice result;
    result.Type = type->second;
    result.Address = uint16_t(ScenarioNumber(parts[1], 0, type->second == SimDevAsm ? 0xFFFF : 0xFF, line));
    if (parts.size() == 3)
        result.SensorType = uint8_t(ScenarioNumber(parts[2], 0, 0xFF, line));
    return result;
}

} // namespace

void ParseLoggerDirective(SimLoggerSettings& settings, const Words& words, int line)
{
    // The settings that take one number, with its range.
    struct Numeric {
        int64_t Least;
        int64_t Most;
        void (*Set)(SimLoggerSettings&, int64_t);
    };
    static const std::map<std::string, Numeric> numbers{
        {"interval", {0, 0xFFFF, [](SimLoggerSettings& s, int64_t v) { s.Interval = uint16_t(v); }}},
        {"buffer",
         {0, SimLoggerSettings::MaxBuffer, [](SimLoggerSettings& s, int64_t v) { s.BufferSize = uint16_t(v); }}},
        {"config", {16, 8192, [](SimLoggerSettings& s, int64_t v) { s.ConfigSize = uint16_t(v); }}},
        {"format", {0, 0xFFFF, [](SimLoggerSettings& s, int64_t v) { s.FormatWord = uint16_t(v); }}},
        {"fast", {1, 3'600'000, [](SimLoggerSettings& s, int64_t v) { s.FastMs = uint32_t(v); }}},
        {"prefill", {0, 0xFFFF, [](SimLoggerSettings& s, int64_t v) { s.Prefill = uint32_t(v); }}},
        {"corrupt-holds", {0, 0xFFFF, [](SimLoggerSettings& s, int64_t v) { s.CorruptHolds = uint32_t(v); }}},
        {"seed", {0, INT64_MAX, [](SimLoggerSettings& s, int64_t v) { s.Seed = uint64_t(v); }}},
    };
    // The settings that a word alone switches.
    static const std::map<std::string, void (*)(SimLoggerSettings&)> switches{
        {"none", [](SimLoggerSettings& s) { s.Present = false; }},
        {"stop-when-full", [](SimLoggerSettings& s) { s.StopWhenFull = true; }},
        {"frozen", [](SimLoggerSettings& s) { s.Frozen = true; }},
        {"clock-stopped", [](SimLoggerSettings& s) { s.ClockStopped = true; }},
    };

    if (words.size() < 2)
        throw ScenarioError(line, "logger: what to set is missing");
    const std::string& what = words[1];
    if (const auto number = numbers.find(what); number != numbers.end()) {
        arguments(words, 1, line);
        number->second.Set(settings, ScenarioNumber(words[2], number->second.Least, number->second.Most, line));
    } else if (const auto flag = switches.find(what); flag != switches.end()) {
        arguments(words, 0, line);
        flag->second(settings);
    } else if (what == "devices") {
        settings.Devices.clear();
        for (std::size_t i = 2; i < words.size(); ++i)
            settings.Devices.push_back(device(words[i], line));
    } else {
        throw ScenarioError(line, "logger: unknown setting: " + what);
    }
}

} // namespace SiteSim
