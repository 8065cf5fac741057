#include "units/gui/LBUnits.h"

namespace Quorvel1 {

TLBUnits::TLBUnits(QWidget* parent) : TLBHdr(new TLBUnitsModel, parent)
{
    setObjectName(QStringLiteral("lbUnits"));
    setAccessibleName(tr("Units"));
}

void TLBUnits::ItemDblClick(int row)
{
    if (row < 0 || row >= Units().RowCount())
        return;
    const int number = Units().UnitOfRow(row);
    if (number > 0 && showUnit_)
        showUnit_(number);
}

} // namespace Quorvel1
