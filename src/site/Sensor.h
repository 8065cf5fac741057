#pragma once
// A sensor input of a unit; its Subtype indexes the sensor type table, and
// type SENS08 makes it a trip input.
#include "site/Dev.h"

namespace Quorvel1 {

class TSensor : public TIODev {
public:
    TSensor() { Subtype = 2; }

    std::int16_t Convert(std::uint16_t raw) const override;
    int ValueExponent() const override;
    char UnitsChar() const override;
    bool IsKind() const override { return Subtype == TripInputType; }
    std::uint8_t DevType() const override { return IsKind() ? DevTripInput : DevSensor; }
    TConverter Converter(int flag) const override;
    QString MakeName() const override;
    void SetKind(std::uint8_t typeByte) override;
    int FirstSubtype() const override { return 1; }
    int LastSubtype() const override { return SensorTypeCount - 1; }
    QString SubtypeName() const override;
};

} // namespace Quorvel1
