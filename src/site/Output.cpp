#include "site/Output.h"

namespace Quorvel1 {

namespace {

// An on/off state of 0..2 reads as 0..100 %.
constexpr int OnOffScale = 50;

std::int16_t OnOffPercent(std::uint16_t raw)
{
    if (static_cast<std::int16_t>(raw) < 0)
        return NoValueMarker;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(raw * OnOffScale));
}

// Logged output values mark a missing reading with 0xFFFF.
std::int16_t LoggedOutput(std::uint16_t raw)
{
    return raw == 0xFFFF ? NoValueMarker : static_cast<std::int16_t>(raw);
}

} // namespace

std::int16_t TOutput::Convert(std::uint16_t raw) const
{
    if (static_cast<std::int16_t>(raw) < 0)
        return NoValueMarker;
    return IsKind() ? OnOffPercent(raw) : static_cast<std::int16_t>(raw);
}

TConverter TOutput::Converter(int flag) const
{
    if (IsKind() && flag == 0)
        return OnOffPercent;
    return LoggedOutput;
}

QString TOutput::MakeName() const
{
    return QString::asprintf("OUTPUT%u/%u", UnitNo(), ChannelNo() + 1);
}

void TOutput::SetKind(std::uint8_t typeByte)
{
    Subtype = typeByte == DevOnOffOutput ? OutputOnOff : OutputVariable;
}

QString TOutput::SubtypeName() const
{
    return IsKind() ? QStringLiteral("ON/OFF") : QStringLiteral("VARIABLE");
}

} // namespace Quorvel1
