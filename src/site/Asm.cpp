#include "site/Asm.h"

namespace Quorvel1 {

void TAsm::Print(QTextStream& out) const
{
    out << QString::asprintf("%3u%6u%9u%4c%-12s%5d%7c   %-3s", UnitNo(), AirspaceNo(), MessageNo(),
                             ' ', NameText().toUtf8().constData(), ValueExponent(), UnitsChar(),
                             ActiveText().toUtf8().constData());
}

QString TAsm::MakeName() const
{
    return QString::asprintf("ASM%u/%u/%u", UnitNo(), AirspaceNo(), MessageNo());
}

} // namespace Quorvel1
