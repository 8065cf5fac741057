#include "units/DjUnitAlarms.h"

#include "comms/LanMessage.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "jobs/PelkThread.h"
#include "site/SiteExt.h"
#include "units/UnitJobViews.h"

#include <array>

namespace Quorvel1 {

TDjUnitAlarms::TDjUnitAlarms(TPelkThread& runner, TSiteExt& site, TUnitJobViews* views, std::int32_t period)
    : TPelkJob(runner, period), link_(runner.Link()), site_(site), views_(views)
{
    Name = QStringLiteral("Unit Alarms");
}

void TDjUnitAlarms::Step()
{
    AlarmTable = link_.GetDescriptor(Pelk::TMestraIF::AlarmTableSlot);
    ++UnitNumber;
    if (UnitNumber > LastUnitNumber) {
        // One cycle over the units is over; a standing job stays active.
        SetDone(true);
        UnitNumber = FirstUnitNumber;
    }
    Status = QStringLiteral("Collecting alarms Unit ") + QString::number(UnitNumber);
    if (AlarmTable != 0)
        CollectAlarmTable();
    else
        CollectUnitAlarm();
}

void TDjUnitAlarms::CollectAlarmTable()
{
    std::array<std::uint8_t, AlarmTableBytes> table{};
    try {
        link_.ReadMem(table.data(), AlarmTable, AlarmTableBytes, false);
    } catch (const Pelk::EPelkException&) {
        return; // the words stay as they were until a later step reads the table
    }
    for (int n = InterfaceUnitNumber; n <= LastUnitNumber; ++n) {
        const auto word = std::uint16_t(table[2 * n] | table[2 * n + 1] << 8);
        site_.SetAlarmWord(n, site_.UnitByNumber(n) ? word : 0);
    }
    UnitNumber = LastUnitNumber;
    SetDone(true);
}

void TDjUnitAlarms::CollectUnitAlarm()
{
    if (!site_.UnitByNumber(UnitNumber)) {
        NothingToDo();
        return;
    }
    link_.SelectUnit(UnitNumber, false);
    Pelk::TLanMessage message{};
    try {
        link_.LanRequest(AlarmWordCode, 0, message);
        site_.SetAlarmWord(UnitNumber, Pelk::Lan::DataWord(message, 0));
    } catch (const Pelk::EPelkLANTimeout&) {
        site_.SetAlarmWord(UnitNumber, NetworkFailure);
    }
}

void TDjUnitAlarms::Update()
{
    if (UnitNumber < FirstUnitNumber || UnitNumber > LastUnitNumber)
        return;
    if (views_) {
        if (AlarmTable == 0) {
            if (site_.UnitByNumber(UnitNumber))
                views_->UpdateStatus(UnitNumber);
        } else {
            for (int n = InterfaceUnitNumber; n <= LastUnitNumber; ++n)
                views_->UpdateStatus(n);
        }
    }
    if (HasFlag(jfOneShot))
        Runner().ShowProgress(*this);
}

} // namespace Quorvel1
