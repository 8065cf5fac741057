#include "SimLan.h"

namespace SiteSim {

namespace {

using namespace SimLanWire;

} // namespace

SimLan::SimLan(SimMemory& interfaceUnit, uint16_t bufferAddress, uint16_t alarmTableAddress,
               const SimLanSettings& settings, const SimLanFaultSettings& faults, uint64_t seed,
               SimTimedEvents& events)
    : memory_(interfaceUnit), buffer_(bufferAddress), alarmTable_(alarmTableAddress),
      interfaceAddress_(settings.InterfaceAddress & AddressMask), takeTime_(settings.TakeMs),
      replyTime_(settings.ReplyMs), slowTakeTime_(settings.SlowTakeMs), faults_(faults, seed), events_(events)
{
    for (const SimUnitSettings& unit : settings.Units)
        units_[unit.Number] = std::make_unique<SimUnit>(unit);
    // Without units the table's memory is left to the scenario's memory lines.
    if (!settings.Units.empty())
        writeAlarmTable();
}

SimUnit* SimLan::Unit(uint8_t number)
{
    return number < units_.size() ? units_[number].get() : nullptr;
}

bool SimLan::touchesBuffer(uint16_t address, std::size_t length) const
{
    for (std::size_t i = 0; i < MessageLength; ++i) {
        if (SimMemory::Covers(address, length, uint16_t(buffer_ + i)))
            return true;
    }
    return false;
}

SimLanMessage SimLan::snapshot() const
{
    SimLanMessage message{};
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = memory_.Byte(Ram, uint16_t(buffer_ + i));
    return message;
}

void SimLan::OnWrite(SimMemory::Space space, uint16_t address, std::size_t length, TimePoint now)
{
    if (space != Ram || buffer_ == 0 || !touchesBuffer(address, length))
        return;
    ++serial_;
    if (!SimMemory::Covers(address, length, buffer_) || memory_.Byte(Ram, buffer_) != SendNow)
        return;
    const Pending pending{snapshot(), serial_};
    // Drawn for every message sent, so a run's faults depend only on the
    // seed and the messages.
    const SimLanFaults::Draw faults = faults_.Next();
    const SimUnit* unit = Unit(pending.Message[Destination]);
    const bool slow = faults.SlowTake || (unit && unit->SlowTake());
    if (faults.SlowTake)
        ++counts_.SlowTakesInjected;
    events_.At(now + (slow ? slowTakeTime_ : takeTime_),
               [this, pending, faults](TimePoint due) { take(pending, faults, due); });
}

void SimLan::take(const Pending& pending, SimLanFaults::Draw faults, TimePoint due)
{
    if (pending.Serial != serial_) {
        ++counts_.Cancelled;
        return;
    }
    memory_.SetByte(Ram, buffer_, Taken);
    ++counts_.MessagesTaken;
    const uint8_t kind = KindOf(pending.Message);
    if (kind == KindCommand) {
        ++counts_.Commands;
        carryOut(pending.Message);
    } else if (kind == KindRead || kind == KindWrite) {
        ++counts_.Requests;
        answer(pending, Unit(pending.Message[Destination]), faults, due);
    } else {
        ++counts_.OtherKinds;
    }
}

void SimLan::answer(const Pending& pending, SimUnit* unit, SimLanFaults::Draw faults, TimePoint due)
{
    const SimLanMessage& request = pending.Message;
    if (unit && !unit->Silent() && faults.Silent)
        ++counts_.SilentInjected;
    const std::optional<SimLanData> data =
        unit && !unit->Silent() && !faults.Silent ? unit->Answer(request) : std::nullopt;
    if (!data) {
        ++counts_.Unanswered;
        return;
    }
    SimLanMessage reply{};
    reply[Control] = request[Destination];
    reply[Destination] = interfaceAddress_;
    reply[Command] = uint8_t(KindReply << 4 | SubCodeOf(request));
    reply[Code] = request[Code];
    if (unit->WrongCode() || faults.WrongCode) {
        reply[Code] = uint8_t(request[Code] + 1);
        counts_.WrongCodesInjected += faults.WrongCode;
    }
    for (std::size_t i = 0; i < data->size(); ++i)
        reply[Data + i] = (*data)[i];
    postReply(reply, pending.Serial, due + replyTime_);
}

void SimLan::postReply(const SimLanMessage& reply, uint64_t serial, TimePoint due)
{
    events_.At(due, [this, reply, serial](TimePoint arrived) {
        if (serial != serial_) {
            ++counts_.Cancelled;
            return;
        }
        for (std::size_t i = Destination; i < reply.size(); ++i)
            memory_.SetByte(Ram, uint16_t(buffer_ + i), reply[i]);
        events_.At(arrived + ReplySettle, [this, source = reply[Control], serial](TimePoint) {
            if (serial != serial_) {
                ++counts_.Cancelled;
                return;
            }
            memory_.SetByte(Ram, buffer_, source);
            ++counts_.Replies;
        });
    });
}

template <typename Action>
void SimLan::forUnits(uint8_t destination, Action action)
{
    if (destination != 0) {
        if (SimUnit* unit = Unit(destination))
            action(*unit);
        return;
    }
    for (const auto& unit : units_) {
        if (unit)
            action(*unit);
    }
}

void SimLan::carryOut(const SimLanMessage& command)
{
    const uint8_t destination = command[Destination];
    switch (command[Code]) {
    case CommandClearAlarms:
        forUnits(destination, [](SimUnit& unit) { unit.ClearAlarms(); });
        break;
    case CommandClearMaxMins:
        forUnits(destination, [](SimUnit& unit) { unit.ClearMaxMins(); });
        break;
    case CommandReset:
        // Only with its key, and never for every unit at once.
        if (destination != 0 && WordOf(DataOf(command), 0) == ResetKey)
            forUnits(destination, [](SimUnit& unit) { unit.Reset(); });
        break;
    default:
        return;
    }
    writeAlarmTable();
}

void SimLan::writeAlarmTable()
{
    if (alarmTable_ == 0)
        return;
    for (std::size_t number = 0; number < AlarmTableWords; ++number) {
        const uint16_t word = units_[number] ? units_[number]->AlarmWord() : 0;
        memory_.SetWord(Ram, uint16_t(alarmTable_ + 2 * number), word);
    }
}

} // namespace SiteSim
