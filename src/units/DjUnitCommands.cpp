#include "units/DjUnitCommands.h"

#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "site/ConfigBlock.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

Pelk::TLanMessage UnitCommandMessage(std::uint8_t destination, std::uint8_t code, std::uint16_t data01,
                                     std::uint16_t data23)
{
    using namespace Pelk::Lan;
    Pelk::TLanMessage message{};
    message[DestinationByte] = destination;
    message[CommandByte] = Command(KindCommand, 0);
    message[CodeByte] = code;
    SetDataWord(message, 0, data01);
    SetDataWord(message, 2, data23);
    return message;
}

TDjUnitCommand::TDjUnitCommand(TPelkThread& runner, std::uint8_t unit, const char* namePrefix)
    : TPelkJob(runner, 0), UnitNumber(unit), link_(runner.Link())
{
    Name = QString::fromLatin1(namePrefix) + QString::number(unit);
}

void TDjUnitCommand::Step()
{
    Status = QString::fromLatin1(SendingStatus);
    if (UnitNumber <= LastUnitNumber)
        Send();
    Status = DoneStatus;
    SetDone(true);
}

void TDjUnitCommand::SendCommand(std::uint8_t destination, std::uint8_t code, std::uint16_t data01,
                                 std::uint16_t data23)
{
    Pelk::TLanMessage message = UnitCommandMessage(destination, code, data01, data23);
    link_.SendLanMessage(message);
}

TDjClrAlarms::TDjClrAlarms(TPelkThread& runner, std::uint8_t unit)
    : TDjUnitCommand(runner, unit, "Clear Alarms - Unit ")
{
}

void TDjClrAlarms::Send()
{
    SendCommand(UnitNumber, ClearAlarmsCode);
}

TDjClrTrips::TDjClrTrips(TPelkThread& runner, TSiteExt& site, std::uint8_t unit)
    : TDjUnitCommand(runner, unit, "Clear Trips - Unit "), site_(site)
{
}

void TDjClrTrips::Send()
{
    const TConfigBlock* block = site_.ConfigBlock(UnitNumber);
    const auto address = [block](const char* item) -> std::int16_t {
        return block ? block->AddressByName(QString::fromLatin1(item)) : -1;
    };
    const std::int16_t tripFlags = address(TripFlagsItem);
    const std::int16_t lowResets = address(LowPressureResetsItem);
    const std::int16_t highResets = address(HighPressureResetsItem);
    if (tripFlags < 0)
        return;

    link_.SelectUnit(UnitNumber, false);
    link_.WriteWord(0, std::uint16_t(tripFlags), true);
    // The two reset counters are bytes; side by side they are cleared in
    // one word write.
    if (lowResets >= 0 && highResets == lowResets + 1) {
        link_.WriteWord(0, std::uint16_t(lowResets), true);
    } else {
        if (lowResets >= 0)
            link_.WriteByte(0, std::uint16_t(lowResets), true);
        if (highResets >= 0)
            link_.WriteByte(0, std::uint16_t(highResets), true);
    }
    SendCommand(UnitNumber, TDjClrAlarms::ClearAlarmsCode);
}

TDjClrMaxMins::TDjClrMaxMins(TPelkThread& runner, std::uint8_t unit)
    : TDjUnitCommand(runner, unit, "Clear Max/Mins - Unit ")
{
}

void TDjClrMaxMins::Send()
{
    // Units take max/min clearing only as a broadcast to number 0.
    SendCommand(InterfaceUnitNumber, ClearMaxMinsCode);
}

TDjResetUnit::TDjResetUnit(TPelkThread& runner, std::uint8_t unit) : TDjUnitCommand(runner, unit, "Reset Unit ") {}

void TDjResetUnit::Send()
{
    SendCommand(UnitNumber, ResetCode, ResetData, 0);
}

} // namespace Quorvel1
