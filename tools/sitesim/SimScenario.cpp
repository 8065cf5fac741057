// Scenario file format: one directive per line, words separated by blanks;
// '#' starts a comment; blank lines are ignored. Numbers are decimal or
// hexadecimal with a 0x prefix. Every line changes the built-in default site:
//
//   descriptors COUNT [ALARMS LINK LOGGER]
//       the descriptor table at RAM 0x2FF8: the count of slots in use and,
//       optionally, the three slot addresses (alarm table, link descriptor,
//       logger header)
//   link VERSION MAXWRITE MAXREAD LANBUFFER
//       the link descriptor, written at the address in the LINK slot
//   identity WORD        the identity word, EE word 0 (0 makes connect fail)
//   type WORD            the interface unit's type word at RAM 0x7FFE
//   ram|ee ADDRESS bytes B [B ...]      bytes from ADDRESS on
//   ram|ee ADDRESS words W [W ...]      little-endian words from ADDRESS on
//   ram|ee ADDRESS hex HEXDIGITS        bytes as a hex string ("0102AABB")
//   ram|ee ADDRESS repeat COUNT B       COUNT copies of the byte B
//   logger WHAT [ARGUMENTS]             the data logger (SimLoggerSettings.cpp
//                                       lists its lines)
//   lan WHAT VALUE                      the LAN buffer's timing and address
//   unit N ...                          a unit on the LAN (SimLanSettings.cpp
//                                       lists the lan and unit lines)
//   modem WHAT VALUE                    the modem of --modem (SimModemSettings.h
//                                       lists its lines)
//
// Addresses wrap at the top of the 64 KiB space. An unknown directive, a
// missing or extra argument or a number out of range is an error that names
// the line. New directives (units on the LAN, the logger, the modem) are
// added to the table in parseLine.
#include "SimScenario.h"

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace SiteSim {

namespace {

using Words = ScenarioWords;

void requireCount(const Words& words, std::size_t least, std::size_t most, int line)
{
    const std::size_t arguments = words.size() - 1;
    if (arguments < least || arguments > most)
        throw ScenarioError(line, words[0] + ": wrong number of arguments");
}

std::vector<uint8_t> parseHex(const std::string& digits, int line)
{
    if (digits.size() % 2 != 0)
        throw ScenarioError(line, "odd number of hex digits: " + digits);
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(ScenarioByte("0x" + digits.substr(i, 2), line));
    return bytes;
}

std::vector<uint8_t> parseFillBytes(const Words& words, int line)
{
    const std::string& kind = words[2];
    std::vector<uint8_t> bytes;
    if (kind == "bytes") {
        for (std::size_t i = 3; i < words.size(); ++i)
            bytes.push_back(ScenarioByte(words[i], line));
    } else if (kind == "words") {
        for (std::size_t i = 3; i < words.size(); ++i) {
            const uint16_t value = ScenarioWord(words[i], line);
            bytes.push_back(uint8_t(value));
            bytes.push_back(uint8_t(value >> 8));
        }
    } else if (kind == "hex") {
        requireCount(words, 3, 3, line);
        bytes = parseHex(words[3], line);
    } else if (kind == "repeat") {
        requireCount(words, 4, 4, line);
        bytes.assign(std::size_t(ScenarioNumber(words[3], 0, 0x10000, line)), ScenarioByte(words[4], line));
    } else {
        throw ScenarioError(line, "unknown memory fill: " + kind);
    }
    if (bytes.empty())
        throw ScenarioError(line, words[0] + ": no bytes given");
    return bytes;
}

void parseFill(SimScenario& scenario, const Words& words, int line)
{
    scenario.Fills.push_back(ParseMemoryFill(words, line));
}

void parseDescriptors(SimScenario& scenario, const Words& words, int line)
{
    if (words.size() != 2 && words.size() != 5)
        throw ScenarioError(line, "descriptors: give the count, or the count and three slot addresses");
    scenario.DescriptorCount = ScenarioWord(words[1], line);
    for (std::size_t slot = 0; words.size() == 5 && slot < 3; ++slot)
        scenario.Slots[slot] = ScenarioWord(words[2 + slot], line);
}

void parseLink(SimScenario& scenario, const Words& words, int line)
{
    requireCount(words, 4, 4, line);
    scenario.Link.Version = ScenarioWord(words[1], line);
    scenario.Link.MaxWriteBlock = ScenarioWord(words[2], line);
    scenario.Link.MaxReadBlock = ScenarioWord(words[3], line);
    scenario.Link.LanBufferAddress = ScenarioWord(words[4], line);
}

void parseIdentity(SimScenario& scenario, const Words& words, int line)
{
    requireCount(words, 1, 1, line);
    scenario.IdentityWord = ScenarioWord(words[1], line);
}

void parseType(SimScenario& scenario, const Words& words, int line)
{
    requireCount(words, 1, 1, line);
    scenario.TypeWord = ScenarioWord(words[1], line);
}

void parseLogger(SimScenario& scenario, const Words& words, int line)
{
    ParseLoggerDirective(scenario.Logger, words, line);
}

void parseLan(SimScenario& scenario, const Words& words, int line)
{
    ParseLanDirective(scenario.Lan, words, line);
}

void parseUnit(SimScenario& scenario, const Words& words, int line)
{
    ParseUnitDirective(scenario.Lan, words, line);
}

void parseModem(SimScenario& scenario, const Words& words, int line)
{
    ParseModemDirective(scenario.Modem, words, line);
}

void parseLine(SimScenario& scenario, const Words& words, int line)
{
    using Parser = std::function<void(SimScenario&, const Words&, int)>;
    static const std::map<std::string, Parser> directives{
        {"descriptors", parseDescriptors},
        {"link", parseLink},
        {"identity", parseIdentity},
        {"type", parseType},
        {"ram", parseFill},
        {"ee", parseFill},
        {"logger", parseLogger},
        {"lan", parseLan},
        {"unit", parseUnit},
        {"modem", parseModem},
    };
    const auto directive = directives.find(words[0]);
    if (directive == directives.end())
        throw ScenarioError(line, "unknown directive: " + words[0]);
    directive->second(scenario, words, line);
}

} // namespace

SimMemoryFill ParseMemoryFill(const std::vector<std::string>& words, int line)
{
    if (words.size() < 3)
        throw ScenarioError(line, words[0] + ": wrong number of arguments");
    SimMemoryFill fill;
    fill.Space = words[0] == "ee" ? SimMemory::Space::Ee : SimMemory::Space::Ram;
    fill.Address = ScenarioWord(words[1], line);
    fill.Bytes = parseFillBytes(words, line);
    return fill;
}

void ApplyMemoryFill(SimMemory& memory, const SimMemoryFill& fill)
{
    for (std::size_t i = 0; i < fill.Bytes.size(); ++i)
        memory.SetByte(fill.Space, uint16_t(fill.Address + i), fill.Bytes[i]);
}

SimScenario SimScenario::Parse(std::string_view text)
{
    SimScenario scenario;
    std::istringstream stream{std::string(text)};
    int lineNumber = 0;
    for (std::string line; std::getline(stream, line);) {
        ++lineNumber;
        const Words words = SplitWords(line);
        if (!words.empty())
            parseLine(scenario, words, lineNumber);
    }
    return scenario;
}

SimScenario SimScenario::Load(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw ScenarioError(0, "cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str());
}

void SimScenario::Apply(SimMemory& memory) const
{
    using Space = SimMemory::Space;
    for (std::size_t slot = 0; slot < Slots.size(); ++slot)
        memory.SetWord(Space::Ram, uint16_t(DescriptorTableAddress + 2 * slot), Slots[slot]);
    memory.SetWord(Space::Ram, DescriptorCountAddress, DescriptorCount);
    if (const uint16_t at = Slots[LinkSlot]; at != 0) {
        memory.SetWord(Space::Ram, at, Link.Version);
        memory.SetWord(Space::Ram, uint16_t(at + 2), Link.MaxWriteBlock);
        memory.SetWord(Space::Ram, uint16_t(at + 4), Link.MaxReadBlock);
        memory.SetWord(Space::Ram, uint16_t(at + 6), Link.LanBufferAddress);
    }
    memory.SetWord(Space::Ee, IdentityWordAddress, IdentityWord);
    memory.SetWord(Space::Ram, TypeWordAddress, TypeWord);
    for (const SimMemoryFill& fill : Fills)
        ApplyMemoryFill(memory, fill);
}

} // namespace SiteSim
