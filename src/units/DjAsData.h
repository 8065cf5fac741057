#pragma once
// The unit view's airspace job: in turn, the unit's alarm word (index 0),
// then each airspace's actual and set point, maximum and minimum and
// minimum vent, asked of the unit over the LAN. Made inactive; the view
// starts it for the unit it shows, and it stops itself once the view shows
// another unit or is hidden.
#include "units/DjUnitAlarms.h"

#include <cstdint>

namespace Quorvel1 {

class TUnitXView;

class TDjAsData : public TDjUnitAlarms {
public:
    static constexpr std::int32_t StandingPeriod = 25;
    static constexpr std::int16_t NoValue = -32767;
    static constexpr std::uint8_t ScaleCode = 11;
    static constexpr std::uint8_t ActualSetCode = 0x80;
    static constexpr std::uint8_t MaxMinCode = 0x85;
    static constexpr std::uint8_t MinVentCode = 0x83;

    TDjAsData(TPelkThread& runner, TSiteExt& site, TUnitXView& view);

    void Start(int unit, int airspaceCount);
    void Step() override;
    void Update() override;

    std::uint8_t AirspaceIndex = 0; // 0: the alarms turn
    std::uint8_t AirspaceCount = 0;
    std::int16_t Actual = NoValue;
    std::int16_t Set = NoValue;
    std::int16_t Max = NoValue;
    std::int16_t Min = NoValue;
    std::int16_t MinVent = NoValue;
    std::int16_t ScaleWord = NoValue;
    std::int32_t SuccessCount = 0;

private:
    void ReadAirspace();
    void StoreAirspace();

    TUnitXView& view_;
};

} // namespace Quorvel1
