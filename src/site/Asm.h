#pragma once
// An ASM value: a value a unit reports for one of its airspaces by message
// number. Address bits 0..4 are the unit, 5..8 the airspace, 9..15 the message.
#include "site/Dev.h"

namespace Quorvel1 {

class TAsm : public TDev {
public:
    TAsm() { SetAsmAddress(1, 0, 0); }

    void Print(QTextStream& out) const override;
    unsigned UnitNo() const override { return Address & 0x1F; }
    unsigned AirspaceNo() const override { return (Address >> 5) & 0x0F; }
    unsigned MessageNo() const { return Address >> 9; }
    bool IsKind() const override { return false; }
    std::uint8_t DevType() const override { return DevAsm; }
    std::int16_t NoValue() const override { return AsmNoValueMarker; }
    QString MakeName() const override;
};

} // namespace Quorvel1
