#include "SimUnit.h"

namespace SiteSim {

namespace {

using namespace SimLanWire;
using Space = SimMemory::Space;

struct MemoryCode {
    Space Where;
    bool Word;
};

std::optional<MemoryCode> memoryCode(uint8_t code)
{
    switch (code) {
    case CodeRamByte:
        return MemoryCode{Space::Ram, false};
    case CodeRamWord:
        return MemoryCode{Space::Ram, true};
    case CodeEeByte:
        return MemoryCode{Space::Ee, false};
    case CodeEeWord:
        return MemoryCode{Space::Ee, true};
    default:
        return std::nullopt;
    }
}

SimLanData words(uint16_t first, uint16_t second)
{
    SimLanData data{};
    PutWord(data, 0, first);
    PutWord(data, 2, second);
    return data;
}

} // namespace

SimUnit::SimUnit(const SimUnitSettings& settings)
    : settings_(settings), memory_(std::make_unique<SimMemory>())
{
    writeIdentity();
    for (const SimMemoryFill& fill : settings_.Fills)
        ApplyMemoryFill(*memory_, fill);
}

void SimUnit::writeIdentity()
{
    memory_->SetWord(Space::Ee, SimUnitSettings::ProcessorIdAddress, settings_.ProcessorId);
    memory_->SetWord(Space::Ram, SimUnitSettings::RomIdAddress, settings_.RomId);
    memory_->SetWord(Space::Ram, SimUnitSettings::TypeWordAddress, settings_.AppId);
    // A name shorter than its 16 bytes ends with a zero byte.
    for (std::size_t i = 0; i < SimUnitSettings::NameLength; ++i) {
        const auto c = i < settings_.Name.size() ? uint8_t(settings_.Name[i]) : uint8_t(0);
        memory_->SetByte(Space::Ram, uint16_t(SimUnitSettings::NameAddress + i), c);
    }
}

std::optional<SimLanData> SimUnit::Answer(const SimLanMessage& request)
{
    const uint8_t kind = KindOf(request);
    const uint8_t subCode = SubCodeOf(request);
    const uint8_t code = request[Code];
    const SimLanData data = DataOf(request);
    if (kind == KindRead && subCode == 0)
        return answerRead(code, data);
    if (kind == KindRead)
        return answerAirspace(subCode, code);
    if (kind == KindWrite && subCode == 0)
        return answerWrite(code, data);
    return std::nullopt;
}

std::optional<SimLanData> SimUnit::answerRead(uint8_t code, const SimLanData& request) const
{
    if (const auto memory = memoryCode(code)) {
        // The address comes back beside the value: the program checks it.
        const uint16_t address = WordOf(request, 0);
        const uint16_t value = memory->Word ? memory_->Word(memory->Where, address)
                                            : memory_->Byte(memory->Where, address);
        return words(address, value);
    }
    switch (code) {
    case CodeIdentify:
        return words(settings_.AppId, 0);
    case CodeAlarmWord:
        return words(settings_.AlarmWord, 0);
    case CodeScaleWord:
        return words(settings_.ScaleWord, 0);
    case CodeIdentityBytes:
        return SimLanData{settings_.Identity};
    default:
        return std::nullopt;
    }
}

std::optional<SimLanData> SimUnit::answerWrite(uint8_t code, const SimLanData& request)
{
    const auto memory = memoryCode(code);
    if (!memory)
        return std::nullopt;
    const uint16_t address = WordOf(request, 0);
    if (memory->Word) {
        memory_->SetWord(memory->Where, address, WordOf(request, 2));
        return words(address, WordOf(request, 2));
    }
    memory_->SetByte(memory->Where, address, request[2]);
    return words(address, request[2]);
}

std::optional<SimLanData> SimUnit::answerAirspace(std::size_t index, uint8_t code) const
{
    if (index > settings_.Identity[0])
        return std::nullopt; // no such airspace: no answer
    const SimAirspace& airspace = Airspace(index);
    switch (code) {
    case CodeAirspaceValues:
        return words(uint16_t(airspace.Actual), uint16_t(airspace.Set));
    case CodeAirspaceExtremes:
        return words(uint16_t(airspace.Max), uint16_t(airspace.Min));
    case CodeAirspaceMinVent:
        return SimLanData{airspace.MinVent, 0, 0, 0};
    default:
        return std::nullopt;
    }
}

void SimUnit::ClearMaxMins()
{
    for (SimAirspace& airspace : settings_.Airspaces) {
        airspace.Max = airspace.Actual;
        airspace.Min = airspace.Actual;
    }
}

} // namespace SiteSim
