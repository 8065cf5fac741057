// The scenario's "lan" and "unit" lines; each changes the default LAN, which
// has no units:
//
//   lan address A        the interface unit's own LAN address 0..31, in the
//                        low 5 bits of byte 1 of every reply (default 0)
//   lan take MS          from the send flag to the message taken (default 2)
//   lan reply MS         from the take to the reply (default 20)
//   lan slow-take MS     the take of a slow-take unit or fault (default 250)
//
//   unit N [KEY VALUE | FLAG ...]   unit N (1..30) is on the LAN, with:
//       app W            application identifier, the identify reply
//                        (default 0x0C05)
//       proc W           processor identifier, EE word 0 (default 1000 + N)
//       rom W            ROM identifier, RAM word 0x2020 (default 0x0100)
//       name TEXT        program name at RAM 0x3000, two characters a word,
//                        low byte first; up to 16 characters, no blanks,
//                        double quotes optional (default UNITn)
//       airspaces B      d0, the airspace count 0..15 (default 1)
//       rooms B          d1, the room count (default 1)
//       d2 B   d3 B      the other identity bytes (default 0)
//       alarms W         the alarm word (default 0)
//       scale W          the scale word (default 0)
//       silent           takes its messages and never answers
//       wrong-code       answers with the request's code + 1
//       slow-take        its messages are taken after the slow-take time
//   unit N airspace I [actual V] [set V] [max V] [min V] [minvent B]
//                        airspace I (1..15), values in tenths, may be
//                        negative; airspace i starts with actual 40+i, set
//                        40, max 60+i, min 20+i, min-vent 10*i % (at most 100)
//   unit N ram|ee ADDRESS KIND ...   the unit's memory, as the interface
//                        unit's memory lines; applied after the identity
//
// Several lines may name the same unit; each changes what it names.
#include "SimLanSettings.h"

#include "ScenarioWords.h"

#include <algorithm>
#include <map>

namespace SiteSim {

namespace {

using Words = ScenarioWords;

std::string unquoted(std::string text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

void parseName(SimUnitSettings& unit, const std::string& word, int line)
{
    std::string name = unquoted(word);
    if (name.size() > SimUnitSettings::NameLength)
        throw ScenarioError(line, "unit name longer than 16 characters: " + name);
    unit.Name = std::move(name);
}

void parseAirspace(SimUnitSettings& unit, const Words& words, int line)
{
    // unit N airspace I KEY VALUE ...
    if (words.size() < 4 || words.size() % 2 != 0)
        throw ScenarioError(line, "unit airspace: give the airspace and KEY VALUE pairs");
    const auto index = std::size_t(ScenarioNumber(words[3], 1, SimUnitSettings::MaxAirspaces, line));
    SimAirspace& airspace = unit.Airspaces[index - 1];
    for (std::size_t i = 4; i < words.size(); i += 2) {
        const std::string& key = words[i];
        const std::string& value = words[i + 1];
        const auto tenths = [&] { return int16_t(ScenarioNumber(value, -32768, 32767, line)); };
        if (key == "actual")
            airspace.Actual = tenths();
        else if (key == "set")
            airspace.Set = tenths();
        else if (key == "max")
            airspace.Max = tenths();
        else if (key == "min")
            airspace.Min = tenths();
        else if (key == "minvent")
            airspace.MinVent = ScenarioByte(value, line);
        else
            throw ScenarioError(line, "unit airspace: unknown value: " + key);
    }
}

bool parseFlag(SimUnitSettings& unit, const std::string& word)
{
    if (word == "silent")
        unit.Silent = true;
    else if (word == "wrong-code")
        unit.WrongCode = true;
    else if (word == "slow-take")
        unit.SlowTake = true;
    else
        return false;
    return true;
}

void parseValue(SimUnitSettings& unit, const std::string& key, const std::string& value, int line)
{
    using Setter = void (*)(SimUnitSettings&, const std::string& value, int line);
    static const std::map<std::string, Setter> keys{
        {"app", [](SimUnitSettings& u, const std::string& v, int l) { u.AppId = ScenarioWord(v, l); }},
        {"proc", [](SimUnitSettings& u, const std::string& v, int l) { u.ProcessorId = ScenarioWord(v, l); }},
        {"rom", [](SimUnitSettings& u, const std::string& v, int l) { u.RomId = ScenarioWord(v, l); }},
        {"name", [](SimUnitSettings& u, const std::string& v, int l) { parseName(u, v, l); }},
        {"airspaces",
         [](SimUnitSettings& u, const std::string& v, int l) {
             u.Identity[0] = uint8_t(ScenarioNumber(v, 0, SimUnitSettings::MaxAirspaces, l));
         }},
        {"rooms", [](SimUnitSettings& u, const std::string& v, int l) { u.Identity[1] = ScenarioByte(v, l); }},
        {"d2", [](SimUnitSettings& u, const std::string& v, int l) { u.Identity[2] = ScenarioByte(v, l); }},
        {"d3", [](SimUnitSettings& u, const std::string& v, int l) { u.Identity[3] = ScenarioByte(v, l); }},
        {"alarms", [](SimUnitSettings& u, const std::string& v, int l) { u.AlarmWord = ScenarioWord(v, l); }},
        {"scale", [](SimUnitSettings& u, const std::string& v, int l) { u.ScaleWord = ScenarioWord(v, l); }},
    };
    const auto found = keys.find(key);
    if (found == keys.end())
        throw ScenarioError(line, "unit: unknown value: " + key);
    found->second(unit, value, line);
}

void parseIdentity(SimUnitSettings& unit, const Words& words, int line)
{
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (parseFlag(unit, words[i]))
            continue;
        if (i + 1 >= words.size())
            throw ScenarioError(line, "unit " + words[i] + ": value missing");
        parseValue(unit, words[i], words[i + 1], line);
        ++i;
    }
}

} // namespace

SimUnitSettings::SimUnitSettings(uint8_t number)
    : Number(number), ProcessorId(uint16_t(1000 + number)), Name("UNIT" + std::to_string(number))
{
    for (std::size_t i = 0; i < Airspaces.size(); ++i) {
        const int n = int(i) + 1;
        Airspaces[i] = {int16_t(40 + n), 40, int16_t(60 + n), int16_t(20 + n), uint8_t(std::min(10 * n, 100))};
    }
}

SimUnitSettings& SimLanSettings::Unit(uint8_t number)
{
    const auto found = std::find_if(Units.begin(), Units.end(),
                                    [number](const SimUnitSettings& unit) { return unit.Number == number; });
    if (found != Units.end())
        return *found;
    return Units.emplace_back(number);
}

void ParseLanDirective(SimLanSettings& settings, const Words& words, int line)
{
    // Each setting's range and where it goes.
    struct Setting {
        int64_t Most;
        void (*Set)(SimLanSettings&, int64_t);
    };
    static const std::map<std::string, Setting> settingsByName{
        {"address", {31, [](SimLanSettings& s, int64_t v) { s.InterfaceAddress = uint8_t(v); }}},
        {"take", {60'000, [](SimLanSettings& s, int64_t v) { s.TakeMs = uint32_t(v); }}},
        {"reply", {60'000, [](SimLanSettings& s, int64_t v) { s.ReplyMs = uint32_t(v); }}},
        {"slow-take", {60'000, [](SimLanSettings& s, int64_t v) { s.SlowTakeMs = uint32_t(v); }}},
    };
    if (words.size() != 3)
        throw ScenarioError(line, "lan: give what and its value");
    const auto setting = settingsByName.find(words[1]);
    if (setting == settingsByName.end())
        throw ScenarioError(line, "lan: unknown setting: " + words[1]);
    setting->second.Set(settings, ScenarioNumber(words[2], 0, setting->second.Most, line));
}

void ParseUnitDirective(SimLanSettings& settings, const Words& words, int line)
{
    if (words.size() < 2)
        throw ScenarioError(line, "unit: the unit number is missing");
    SimUnitSettings& unit = settings.Unit(uint8_t(ScenarioNumber(words[1], 1, 30, line)));
    const std::string what = words.size() > 2 ? words[2] : std::string();
    if (what == "airspace") {
        parseAirspace(unit, words, line);
    } else if (what == "ram" || what == "ee") {
        unit.Fills.push_back(ParseMemoryFill(Words(words.begin() + 2, words.end()), line));
    } else {
        parseIdentity(unit, words, line);
    }
}

} // namespace SiteSim
