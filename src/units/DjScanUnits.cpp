#include "units/DjScanUnits.h"

#include "base/Exception.h"
#include "comms/LanMessage.h"
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "site/SiteExt.h"
#include "site/Unit.h"
#include "units/UnitJobViews.h"

namespace Quorvel1 {

namespace {

bool IsNameCharacter(std::uint8_t c)
{
    return c >= 0x21 && c <= 0x7E;
}

} // namespace

TDjScanUnits::TDjScanUnits(TPelkThread& runner, TSiteExt& site, TUnitJobViews* views)
    : TPelkJob(runner, 0), link_(runner.Link()), site_(site), views_(views)
{
    Name = QStringLiteral("Scan Units");
    Status = QStringLiteral("Initialising");
}

void TDjScanUnits::Step()
{
    ++UnitNumber;
    if (UnitNumber > LastUnitNumber) {
        Status = DoneStatus;
        SetDone(true);
        return;
    }
    const QString number = QString::number(UnitNumber);
    Status = QStringLiteral("Scanning for Unit ") + number;

    std::unique_ptr<TUnit> unit;
    std::uint16_t processorId = 0;
    try {
        unit = ReadUnit(processorId);
    } catch (const Exception& error) {
        unit.reset();
        Status = QStringLiteral("Unit ") + number + QStringLiteral(" Error: ") + error.Message();
    } catch (const std::exception& error) {
        unit.reset();
        Status = QStringLiteral("Unit ") + number + QStringLiteral(" Error: ") + QString::fromUtf8(error.what());
    }
    if (unit) {
        site_.AddUnit(std::move(unit));
        site_.SetProcessorId(UnitNumber, processorId);
    }
    Progress = UnitNumber * 100 / LastUnitNumber;
}

std::unique_ptr<TUnit> TDjScanUnits::ReadUnit(std::uint16_t& processorId)
{
    if (!link_.SelectUnit(UnitNumber, true))
        return nullptr;
    const std::uint16_t appId = link_.UnitType;
    processorId = link_.ReadWord(ProcessorIdAddress, true);
    std::uint16_t romId = 0;
    QByteArray programName;
    if (appId >> 8 == BridgeAppHighByte) {
        programName = BridgeProgramName;
    } else {
        romId = link_.ReadWord(RomIdAddress, false);
        programName = ReadProgramName([this](std::uint16_t address) { return link_.ReadWord(address, false); });
    }
    Pelk::TLanMessage message{};
    link_.LanRequest(IdentityBytesCode, 0, message);
    const auto d = [&message](std::size_t i) { return message[Pelk::Lan::DataByte + i]; };
    auto unit = std::make_unique<TUnit>(UnitNumber, d(0), d(1), d(3), d(2), programName, appId);
    unit->RomId = romId;
    return unit;
}

QByteArray TDjScanUnits::ReadProgramName(const std::function<std::uint16_t(std::uint16_t)>& readWord)
{
    // Two characters a word, the low byte first.
    QByteArray name;
    std::uint16_t word = 0;
    for (int i = 0; i < TUnit::ProgramNameLength; ++i) {
        if (i % 2 == 0)
            word = readWord(std::uint16_t(ProgramNameAddress + i));
        const auto c = std::uint8_t(word & 0xFF);
        word = std::uint16_t(word >> 8);
        if (c == 0 || c == ' ')
            break;
        if (!IsNameCharacter(c))
            return {};
        name.append(char(c));
    }
    return name;
}

void TDjScanUnits::Update()
{
    if (views_ && UnitNumber >= FirstUnitNumber && UnitNumber <= LastUnitNumber)
        views_->UpdateUnit(UnitNumber);
    Runner().ShowProgress(*this);
}

} // namespace Quorvel1
