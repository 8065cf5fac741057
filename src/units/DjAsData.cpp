#include "units/DjAsData.h"

#include "comms/LanMessage.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "site/SiteExt.h"
#include "units/UnitXView.h"

namespace Quorvel1 {

TDjAsData::TDjAsData(TPelkThread& runner, TSiteExt& site, TUnitXView& view)
    : TDjUnitAlarms(runner, site, nullptr, StandingPeriod), view_(view)
{
    Name = QStringLiteral("Airspace Data");
    SetActive(false);
}

void TDjAsData::Start(int unit, int airspaceCount)
{
    UnitNumber = std::uint8_t(unit < 0 || unit > 255 ? 0 : unit);
    AirspaceIndex = 0;
    AirspaceCount = std::uint8_t(airspaceCount);
    const TUnit* shown = Site().UnitByNumber(unit);
    ScaleWord = shown ? shown->Reading : NoValue;
    SetActive(true);
}

void TDjAsData::Step()
{
    if (UnitNumber == 0 || UnitNumber > LastUnitNumber) {
        SetActive(false);
        return;
    }
    ++AirspaceIndex;
    if (AirspaceIndex > AirspaceCount) {
        AirspaceIndex = 0;
        SetDone(true); // one cycle over; the job stays active
    }
    if (AirspaceIndex == 0)
        CollectUnitAlarm();
    else
        ReadAirspace();
}

void TDjAsData::ReadAirspace()
{
    Actual = Set = Max = Min = MinVent = NoValue;
    SuccessCount = 0;
    Status = QStringLiteral("Airspace %1 of Unit %2").arg(AirspaceIndex).arg(UnitNumber);
    Pelk::TMestraIF& link = Link();
    link.SelectUnit(UnitNumber, false);
    Pelk::TLanMessage message{};
    if (ScaleWord == NoValue) {
        try {
            link.LanRequest(ScaleCode, 0, message);
            ScaleWord = std::int16_t(Pelk::Lan::DataWord(message, 0));
        } catch (const Pelk::EPelkLANMsg&) {
            // A unit without a scale word keeps its temperatures in C.
        }
    }
    link.LanRequest(ActualSetCode, AirspaceIndex, message);
    Actual = std::int16_t(Pelk::Lan::DataWord(message, 0));
    Set = std::int16_t(Pelk::Lan::DataWord(message, 2));
    SuccessCount = 1;
    link.LanRequest(MaxMinCode, AirspaceIndex, message);
    Max = std::int16_t(Pelk::Lan::DataWord(message, 0));
    Min = std::int16_t(Pelk::Lan::DataWord(message, 2));
    SuccessCount = 2;
    link.LanRequest(MinVentCode, AirspaceIndex, message);
    MinVent = std::int16_t(message[Pelk::Lan::DataByte]);
    SuccessCount = 3;
}

void TDjAsData::StoreAirspace()
{
    TAs* airspace = Site().AirspaceOfUnit(UnitNumber, AirspaceIndex);
    if (!airspace)
        return;
    if (ScaleWord != NoValue && airspace->Unit)
        airspace->Unit->Reading = ScaleWord;
    if (SuccessCount >= 1) {
        airspace->Readings[TAs::ActualIndex] = Actual;
        airspace->Readings[TAs::SetIndex] = Set;
    }
    if (SuccessCount >= 2) {
        airspace->Readings[TAs::MaxIndex] = Max;
        airspace->Readings[TAs::MinIndex] = Min;
    }
    if (SuccessCount >= 3)
        airspace->Readings[TAs::MinVentIndex] = MinVent;
}

void TDjAsData::Update()
{
    if (AirspaceIndex != 0)
        StoreAirspace();
    if (!view_.IsShowing(UnitNumber)) {
        SetActive(false);
        return;
    }
    if (AirspaceIndex == 0)
        view_.RefreshAlarms();
    else
        view_.RefreshAirspace(AirspaceIndex);
}

} // namespace Quorvel1
