#include "units/DjUnitTrips.h"

#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "jobs/PelkThread.h"
#include "site/ConfigBlock.h"
#include "site/SiteExt.h"

namespace Quorvel1 {

TDjUnitTrips::TDjUnitTrips(TPelkThread& runner, TSiteExt& site, std::int32_t period)
    : TPelkJob(runner, period), link_(runner.Link()), site_(site)
{
    Name = QStringLiteral("Unit Trips");
}

void TDjUnitTrips::Step()
{
    ++UnitNumber;
    if (UnitNumber > LastUnitNumber) {
        SetDone(true);
        UnitNumber = FirstUnitNumber;
    }
    Status = QStringLiteral("Collecting trips Unit ") + QString::number(UnitNumber);
    const TConfigBlock* block = site_.ConfigBlock(UnitNumber);
    const std::int16_t address = block ? block->AddressByName(QString::fromLatin1(TripFlagsItem)) : -1;
    if (address < 0) {
        NothingToDo();
        return;
    }
    std::uint16_t word = 0;
    try {
        link_.SelectUnit(UnitNumber, false);
        word = link_.ReadWord(std::uint16_t(address), true);
    } catch (const Pelk::EPelkUserBreak&) {
        throw; // a command took the link: the unit was not read, its word stands
    } catch (const Pelk::EPelkUserAbort&) {
        throw;
    } catch (const Pelk::EPelkException&) {
        word = 0; // an unreadable unit shows no trips
    }
    site_.SetTripWord(UnitNumber, word);
}

void TDjUnitTrips::Update()
{
    if (UnitNumber >= FirstUnitNumber && UnitNumber <= LastUnitNumber && HasFlag(jfOneShot))
        Runner().ShowProgress(*this);
}

} // namespace Quorvel1
