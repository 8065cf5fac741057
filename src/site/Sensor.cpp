#include "site/Sensor.h"

namespace Quorvel1 {

namespace {
// Used when a file holds a sensor type this program does not know.
constexpr int DefaultSensorType = 2;
} // namespace

std::int16_t TSensor::Convert(std::uint16_t raw) const
{
    const TSensorType* type = SensorType(Subtype);
    if (static_cast<std::int16_t>(raw) < 0 || !type)
        return NoValueMarker;
    return type->Converter(raw);
}

int TSensor::ValueExponent() const
{
    const TSensorType* type = SensorType(Subtype);
    return type ? -type->Decimals : 0;
}

char TSensor::UnitsChar() const
{
    const TSensorType* type = SensorType(Subtype);
    return type ? type->Units : ' ';
}

TConverter TSensor::Converter(int flag) const
{
    const TSensorType* type = SensorType(Subtype);
    return type ? type->Converter : nullptr;
}

QString TSensor::MakeName() const
{
    return QString::asprintf("SENSOR%u/%u", UnitNo(), ChannelNo() + 1);
}

void TSensor::SetKind(std::uint8_t typeByte)
{
    if (typeByte == DevTripInput)
        Subtype = TripInputType;
    else if (Subtype == TripInputType)
        Subtype = DefaultSensorType;
}

QString TSensor::SubtypeName() const
{
    const TSensorType* type = SensorType(Subtype);
    return type ? QString::fromLatin1(type->Name) : QString();
}

} // namespace Quorvel1
