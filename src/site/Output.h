#pragma once
// An output channel of a unit: on/off (Subtype 0, shown in percent of on
// time) or variable (Subtype 1, a percentage).
#include "site/Dev.h"

namespace Quorvel1 {

constexpr std::uint8_t OutputOnOff = 0;
constexpr std::uint8_t OutputVariable = 1;

class TOutput : public TIODev {
public:
    TOutput() { Units = '%'; }

    std::int16_t Convert(std::uint16_t raw) const override;
    int ValueExponent() const override { return 0; }
    char UnitsChar() const override { return '%'; }
    bool IsKind() const override { return Subtype == OutputOnOff; }
    std::uint8_t DevType() const override { return IsKind() ? DevOnOffOutput : DevVariableOutput; }
    TConverter Converter(int flag) const override;
    QString MakeName() const override;
    void SetKind(std::uint8_t typeByte) override;
    int FirstSubtype() const override { return OutputOnOff; }
    int LastSubtype() const override { return OutputVariable; }
    QString SubtypeName() const override;
};

} // namespace Quorvel1
